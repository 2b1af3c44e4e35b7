#include "costs/kostenparameter.h"

#include <string_view>
#include <vector>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "input/energiebedarf.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {

const Einheit_struct& einheit(int g) { return haupteinheiten().at(static_cast<size_t>(g)); }

// A stored value in `von` in the output unit of quantity g.
double in_ausgabe(double wert, const std::string& von, int g) {
    return umrechnen(wert, von, einheit(g).ausgabe, einheit(g).kennzeichen, 0);
}

// Size of one `von` unit in the output unit of quantity g.
double faktor(const std::string& von, int g) {
    return umrechnungsfaktor(von, einheit(g).ausgabe, einheit(g).kennzeichen, 0).faktor;
}

// Price in `preiseinheit` per one `nenner` unit of quantity g, as output
// price per output unit of g.
double preis_pro(double preis, const std::string& preiseinheit, const std::string& nenner, int g) {
    return quotient_oder_null(in_ausgabe(preis, preiseinheit, groesse::preis), faktor(nenner, g));
}

// Positions table `index` on the row with the key values; a miss is noted in
// the protocol file and leaves the parameters of that row at 0.
bool positioniere(int index, const std::vector<feldwert>& schluessel, const std::string& spalte) {
    tabelle& t = tab(index);
    if (t.ist_offen()) {
        t.filter_aus();
        if (t.sortierspalten() != t.schluesselspalten()) t.sortiere_nach_schluessel();
        if (t.suche(schluessel)) return true;
    }
    std::string was = spalte;
    for (const feldwert& w : schluessel) was += " " + als_text(w);
    meldung(kostentexte::zeile_fehlt.text() + tabellenschluessel(index) + ", " + was, "S", 'W');
    return false;
}

std::string haupt_text(std::string_view spalte) { return tab(thaupt).text(spalte); }

// Rows of `index` whose column `spalte` equals `wert`, as column-ordered values.
std::vector<std::vector<feldwert>> zeilen_mit(int index, const std::string& spalte, const std::string& wert) {
    std::vector<std::vector<feldwert>> treffer;
    tabelle& t = tab(index);
    if (!t.ist_offen()) return treffer;
    const int c = t.spalten_index(spalte);
    if (c < 0) return treffer;
    for (auto& z : t.lies_alle(t.schluesselspalten())) {
        if (als_text(z[static_cast<size_t>(c)]) == wert) treffer.push_back(std::move(z));
    }
    return treffer;
}

std::string feld(tabelle& t, const std::vector<feldwert>& zeile, const std::string& spalte) {
    const int c = t.spalten_index(spalte);
    return c < 0 ? std::string() : als_text(zeile[static_cast<size_t>(c)]);
}

enum class einheitsart { keine, preis, preis_energie, preis_flaeche, preis_leistung, leistung, anteil, zeit, flaeche };

constexpr einheitsart ART[ANZ_KOSTENPARAMETER] = {
    einheitsart::preis_energie, einheitsart::preis_energie, einheitsart::preis_energie,  // parameters 0-2
    einheitsart::anteil,        einheitsart::anteil,                                    // parameters 3, 4
    einheitsart::preis_flaeche, einheitsart::preis_flaeche, einheitsart::preis_flaeche,  // parameters 5-7
    einheitsart::preis_flaeche, einheitsart::preis,         einheitsart::preis,          // parameters 8-10
    einheitsart::preis,         einheitsart::preis,         einheitsart::preis,          // parameters 11-13
    einheitsart::preis,         einheitsart::preis,         einheitsart::preis_flaeche,  // parameters 14-16
    einheitsart::preis,         einheitsart::preis_flaeche, einheitsart::preis,          // parameters 17-19
    einheitsart::preis,         einheitsart::preis_flaeche, einheitsart::preis_flaeche,  // parameters 20-22
    einheitsart::preis,         einheitsart::leistung,      einheitsart::leistung,       // parameters 23-25
    einheitsart::preis_leistung, einheitsart::preis,        einheitsart::preis_leistung, // 26-28
    einheitsart::anteil,        einheitsart::zeit,          einheitsart::preis_flaeche,  // parameters 29-31
    einheitsart::preis_flaeche, einheitsart::preis_energie, einheitsart::flaeche,        // parameters 32-34
    einheitsart::flaeche,       einheitsart::preis,         einheitsart::preis,          // parameters 35-37
    einheitsart::preis,         einheitsart::preis_flaeche, einheitsart::preis_flaeche,  // parameters 38-40
};

}  // namespace

double quotient_oder_null(double a, double b) { return b != 0.0 ? a / b : 0.0; }

std::string kostenparameter_name(int k) {
    if (k < 0 || k >= ANZ_KOSTENPARAMETER) return {};
    return kostentexte::parameter[k].text();
}

std::string kostenparameter_einheit(int k) {
    if (k < 0 || k >= ANZ_KOSTENPARAMETER) return {};
    const std::string preis = einheit(groesse::preis).ausgabe;
    switch (ART[k]) {
        case einheitsart::preis: return preis;
        case einheitsart::preis_energie: return preis + "/" + einheit(groesse::energie).ausgabe;
        case einheitsart::preis_flaeche: return preis + "/" + einheit(groesse::flaeche).ausgabe;
        case einheitsart::preis_leistung: return preis + "/" + einheit(groesse::leistung).ausgabe;
        case einheitsart::leistung: return einheit(groesse::leistung).ausgabe;
        case einheitsart::anteil: return einheit(groesse::anteil).ausgabe;
        case einheitsart::zeit: return einheit(groesse::abzahlungsdauer).ausgabe;
        case einheitsart::flaeche: return einheit(groesse::flaeche).ausgabe;
        case einheitsart::keine: break;
    }
    return {};
}

double summe_zubehoer(const std::string& gruppe, const std::string& skalieren) {
    double summe = 0.0;
    tabelle& liste2 = tab(tliste2);
    tabelle& liste = tab(tliste);
    for (const auto& z2 : zeilen_mit(tliste2, "name_einlesefile", haupt_text("zubehoer"))) {
        for (const auto& z : zeilen_mit(tliste, "name", feld(liste2, z2, "name_liste"))) {
            const std::vector<feldwert> artikel{feldwert(feld(liste, z, "artikelname")),
                                                feldwert(feld(liste, z, "artikelnummer"))};
            if (!positioniere(tzu, artikel, "zu")) continue;
            tabelle& zu = tab(tzu);
            if (zu.text("gruppe") == gruppe && zu.text("skalieren") == skalieren) {
                summe += in_ausgabe(zu.zahl("preis"), zu.text("einpreis"), groesse::preis);
            }
        }
    }
    return summe;
}

double summe_unterhalt(const std::string& gruppe, const std::string& skalieren) {
    double summe = 0.0;
    tabelle& liste = tab(tunter_liste);
    for (const auto& z : zeilen_mit(tunter_liste, "name", haupt_text("unter_liste"))) {
        if (!positioniere(tunter, {feldwert(feld(liste, z, "unterhalt"))}, "unter_liste")) continue;
        tabelle& u = tab(tunter);
        if (u.text("gruppe") != gruppe || u.text("skalieren") != skalieren) continue;
        const double preis = in_ausgabe(u.zahl("preis"), u.text("einpreis"), groesse::preis);
        summe += skalieren == "J" ? quotient_oder_null(preis, faktor(u.text("einflaeche"), groesse::flaeche))
                                  : preis;
    }
    return summe;
}

void berechne_nettopreise(kostenvektor& k) {
    using namespace kpar;
    k[netto_kol_oben] = k[preis_kol_oben] - k[zuschuss_kol_flaeche];
    k[netto_kol_unten] = k[preis_kol_unten] - k[zuschuss_kol_flaeche];
    k[netto_zellpreis] = k[zellpreis] - k[zuschuss_zelle_flaeche];
    k[netto_zusatz_heizung] = k[zusatz_heizung] - k[zuschuss_heizung];
    k[netto_teile_thermisch] = k[teile_thermisch] - k[zuschuss_kol];
    k[netto_teile_pv] = k[teile_pv] - k[zuschuss_zelle];
}

void lese_kostenparameter(const datt& vdatt_geladen, kostenvektor& k, kosten_anlagedaten& a) {
    using namespace kpar;
    k.fill(0.0);
    a.vdatt = vdatt_geladen;
    a.kopplungstyp = a.anzahl_kol = a.ohne_kopplung = a.leistung_wp = "";
    if (positioniere(tan, {feldwert(haupt_text("an"))}, "an")) {
        tabelle& an = tab(tan);
        a.kopplungstyp = an.text("Kopplungstyp");
        a.anzahl_kol = an.text("AnzahlKol");
        a.ohne_kopplung = an.text("Ohne Kopplung");
        a.leistung_wp = an.text("LeistungWP");
    }

    // Energy prices of the data set's tariffs.
    if (positioniere(tpreis, {feldwert(haupt_text("preis"))}, "preis")) {
        datt preise{};
        berechne_energiepreise(preise);
        k[preis_nh] = preise[tdata::preis_nachheizung];
        k[preis_ok] = preise[tdata::preis_ohne_kopplung];
        k[preis_strom] = preise[tdata::preis_pumpenstrom];
    }
    k[eta_zelle] = vdatt_geladen[tdata::eta_zelle];

    // Thermal parts independent of area: counter-flow exchanger and the three stores.
    if (positioniere(tgwt, {feldwert(haupt_text("gwt"))}, "gwt")) {
        k[teile_thermisch] += in_ausgabe(tab(tgwt).zahl("preis"), tab(tgwt).text("einheit_preis"), groesse::preis);
    }
    for (const char* s : {"zwischenspei", "spei", "langspei"}) {
        if (positioniere(tspei, {feldwert(haupt_text(s))}, s)) {
            k[teile_thermisch] += in_ausgabe(tab(tspei).zahl("preissp"), tab(tspei).text("einpreis"), groesse::preis);
        }
    }

    // Intermediate heat pump: only a plant with intermediate coupling has one.
    if (a.kopplungstyp != "E" &&
        positioniere(twp, {feldwert(haupt_text("wpww")), feldwert(std::string("ww"))}, "wpww")) {
        tabelle& wp = tab(twp);
        k[preis_zwp] = in_ausgabe(wp.zahl("preis"), wp.text("einpreis"), groesse::preis);
        k[leistung_zwp] = in_ausgabe(wp.zahl("maximaleleistung"), wp.text("einheitleistung"), groesse::leistung);
    }
    k[preis_pro_leistung_zwp] = quotient_oder_null(k[preis_zwp], k[leistung_zwp]);
    k[teile_thermisch] += summe_zubehoer("T", "N");

    // Heating plant: the gas boiler when the heating without coupling burns gas,
    // otherwise the main heat pump.
    if (a.ohne_kopplung == "G") {
        if (positioniere(tgas, {feldwert(haupt_text("gas"))}, "gas")) {
            tabelle& gas = tab(tgas);
            k[preis_heizung] = in_ausgabe(gas.zahl("preis"), gas.text("einpreis"), groesse::preis);
            k[leistung_heizung] = in_ausgabe(gas.zahl("maximaleleistung"), gas.text("einleistung"), groesse::leistung);
        }
    } else if (positioniere(twp, {feldwert(haupt_text("wpwe")), feldwert(std::string("we"))}, "wpwe")) {
        tabelle& wp = tab(twp);
        k[preis_heizung] = in_ausgabe(wp.zahl("preis"), wp.text("einpreis"), groesse::preis);
        k[leistung_heizung] = in_ausgabe(wp.zahl("maximaleleistung"), wp.text("einheitleistung"), groesse::leistung);
    }
    k[preis_pro_leistung_heizung] = quotient_oder_null(k[preis_heizung], k[leistung_heizung]);
    k[zusatz_heizung] += summe_zubehoer("H", "N");
    k[teile_pv] += summe_zubehoer("P", "N");

    // Loan.
    if (positioniere(tkalk, {feldwert(haupt_text("kalk"))}, "kalk")) {
        tabelle& kalk = tab(tkalk);
        k[laufzeit] = in_ausgabe(kalk.zahl("abzahlung"), kalk.text("einheit ab."), groesse::abzahlungsdauer);
        k[zinssatz] = in_ausgabe(kalk.zahl("zinssatz"), kalk.text("einheit zins"), groesse::anteil);
    }

    // Collector prices per area, lower and upper.
    auto kollektorpreis = [](const char* spalte) {
        if (!positioniere(tkol, {feldwert(haupt_text(spalte))}, spalte)) return 0.0;
        tabelle& kol = tab(tkol);
        return preis_pro(kol.zahl("preis"), kol.text("einpreis"), kol.text("einflaeche"), groesse::flaeche);
    };
    k[preis_kol_unten] = kollektorpreis("kolu");
    k[preis_kol_oben] = kollektorpreis("kolo");
    k[teile_pro_kollektor] = summe_zubehoer("T", "J");

    // Solar cells: price per area, module area; roof area as the largest cell area.
    double modul = 0.0;
    if (positioniere(tzelle, {feldwert(haupt_text("zelle"))}, "zelle")) {
        tabelle& z = tab(tzelle);
        modul = in_ausgabe(z.zahl("flaeche"), z.text("einflaeche"), groesse::flaeche);
        k[zellpreis] = quotient_oder_null(in_ausgabe(z.zahl("preis"), z.text("einpreis"), groesse::preis), modul);
    }
    if (positioniere(tlage, {feldwert(haupt_text("lage"))}, "lage")) {
        tabelle& lage = tab(tlage);
        k[dachflaeche] = in_ausgabe(lage.zahl("dachflaeche"), lage.text("eindachflaeche"), groesse::flaeche);
    }
    k[modulflaeche] = modul;
    k[teile_pro_zelle] = summe_zubehoer("P", "J");

    // Subsidies: prices in the subsidy's price unit, per-area values per its area unit.
    double verguetung_wert = 0.0;
    if (positioniere(tsub, {feldwert(haupt_text("sub"))}, "sub")) {
        tabelle& sub = tab(tsub);
        const std::string ep = sub.text("einpreis"), ef = sub.text("einflaeche");
        k[zuschuss_zelle_flaeche] = preis_pro(sub.zahl("zellef"), ep, ef, groesse::flaeche);
        k[zuschuss_zelle] = in_ausgabe(sub.zahl("zellep"), ep, groesse::preis);
        k[zuschuss_kol_flaeche] = preis_pro(sub.zahl("kolf"), ep, ef, groesse::flaeche);
        k[zuschuss_kol] = in_ausgabe(sub.zahl("kolp"), ep, groesse::preis);
        k[zuschuss_heizung] = in_ausgabe(sub.zahl("heizungp"), ep, groesse::preis);
        verguetung_wert = preis_pro(sub.zahl("zelleverg"), ep, sub.text("einenergie"), groesse::energie);
    }

    // Maintenance.
    k[unterhalt_pv_flaeche] = summe_unterhalt("P", "J");
    k[unterhalt_pv] = summe_unterhalt("P", "N");
    k[unterhalt_thermisch_flaeche] = summe_unterhalt("T", "J");
    k[unterhalt_thermisch] = summe_unterhalt("T", "N");
    k[unterhalt_heizung] = summe_unterhalt("H", "N");

    if (positioniere(tkraft, {feldwert(haupt_text("kraft"))}, "kraft")) {
        k[eta_kraftwerk] =
            in_ausgabe(tab(tkraft).zahl("wirkungsgrad"), tab(tkraft).text("einwirkungsgrad"), groesse::anteil);
    }

    // Collector areas of one unit: the lower one counts only with two collectors.
    auto kollektorflaeche = [](const char* spalte) {
        if (!positioniere(tkol, {feldwert(haupt_text(spalte))}, spalte)) return 0.0;
        return in_ausgabe(tab(tkol).zahl("flaeche"), tab(tkol).text("einflaeche"), groesse::flaeche);
    };
    a.vdatt[tdata::flaeche_kol_unten] = a.anzahl_kol == "Z" ? kollektorflaeche("kolu") : 0.0;
    a.vdatt[tdata::flaeche_kol_oben] = kollektorflaeche("kolo");
    a.vdatt[tdata::zellmodulflaeche] = modul;
    k[verguetung] = verguetung_wert;
    berechne_nettopreise(k);
}
