#include "sheets/datenblatt_rechner.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/models/numerik.h"
#include "input/sonnengeometrie.h"
#include "input/wertepruefung.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "sheets/blatthilfen.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar gesamtsumme{"Bitte Gesamtsumme eingeben", "Please enter the total"};
constexpr text_paar summe_null{"Fehler: Summe der Monatswerte ist 0, relative Werte nicht möglich: ",
                               "Error: the month values add up to 0, relative values are not possible: "};
constexpr text_paar falsche_tabelle{"Fehler: Rechner gilt nicht für Tabelle ",
                                    "Error: the calculator does not apply to table "};
constexpr text_paar diffus{"Gemessene Werte diffuser Einstrahlung nur für Stundenwerte verfügbar",
                           "Measured values of diffuse irradiation are only available for hourly values"};
constexpr text_paar name_belegt{"Fehler: Datensatz mit diesem Namen existiert bereits in Tabelle ",
                                "Error: a record with this name already exists in table "};
constexpr text_paar zweipunkt{"Fehler: Die zwei Messpunkte bestimmen die Koeffizienten nicht (gleicher oder "
                              "kein Temperaturhub)",
                              "Error: the two measured points do not determine the coefficients (equal or "
                              "no temperature lift)"};
constexpr text_paar singulaer{"Fehler: Gleichungssystem der sieben Messpunkte ist singulär",
                              "Error: the equations of the seven measured points are singular"};
constexpr text_paar vorhanden{"Datensatz vorhanden", "Record exists"};
constexpr text_paar maxv{"Fehler: Zulässige Anzahl von Werten für Pumpgeschwindigkeit (MAXV) überschritten",
                         "Error: permitted number of values for pump speed (MAXV) exceeded"};
constexpr text_paar vollstaendig{"Fehler: Bitte Datensatz auf Vollständigkeit prüfen",
                                 "Error: Please check the record for completeness"};
}  // namespace txt

const char* const MONATE_KLEIN[12] = {"januar", "februar", "maerz",     "april",   "mai",      "juni",
                                      "juli",   "august",  "september", "oktober", "november", "dezember"};

bool ist_monatstabelle(int index) {
    return index == tew_m || index == teh_m || index == tee || index == tir_ta_m;
}

bool falsche_tabelle(int index) {
    if (ist_monatstabelle(index)) return false;
    meldung(txt::falsche_tabelle.text() + tabellenschema(index).sql_name, "M", 'E');
    return true;
}

std::string relspalte(int index) { return index == tee ? "Rel" : "rel"; }

double temperatur_in_c(double wert, const std::string& einheit) {
    if (einheit.empty()) return wert;
    return in_haupteinheit(wert, einheit, groesse::temperatur);
}

}  // namespace

std::array<int, 12> monatswert_spalten(int index) {
    std::array<int, 12> s{};
    s.fill(-1);
    tabelle& t = tab(index);
    if (index == tir_ta_m) {
        for (int m = 1; m <= 12; ++m) s[static_cast<size_t>(m - 1)] = t.spalten_index("ir" + std::to_string(m));
        return s;
    }
    const int januar = t.spalten_index("januar");
    if (januar < 0) return s;
    const int schritt = januar + 1 < t.spaltenanzahl() && gleich_ohne_gross_klein(t.spalte(januar + 1).name, "m1") ? 2 : 1;
    for (int m = 0; m < 12; ++m) {
        const int i = januar + schritt * m;
        s[static_cast<size_t>(m)] = i < t.spaltenanzahl() ? i : -1;
    }
    return s;
}

bool berechne_summe(int index) {
    if (falsche_tabelle(index) || !aktuelle_zeile(index)) return false;
    tabelle& t = tab(index);
    t.abbrechen();
    if (index != tir_ta_m && t.text(relspalte(index)) != "A") {
        meldung(txt::gesamtsumme.text(), "M", 'M');
        return false;
    }
    double summe = 0.0;
    for (int i : monatswert_spalten(index))
        if (i >= 0 && !ist_leer(t.wert(i))) summe += als_zahl(t.wert(i));
    schreibe_felder(t, {{index == tir_ta_m ? "irgesamt" : "gesamt", feldwert(summe)}});
    return true;
}

bool wechsle_monatswerte(int index, bool relativ) {
    if (index == tir_ta_m || falsche_tabelle(index) || !aktuelle_zeile(index)) return false;
    tabelle& t = tab(index);
    t.abbrechen();
    const auto spalten = monatswert_spalten(index);
    double summe = 0.0;
    for (int i : spalten)
        if (i >= 0) summe += als_zahl(t.wert(i));
    const double gesamt = t.zahl("gesamt");
    if (relativ && summe == 0.0) {
        meldung(txt::summe_null.text() + t.text(t.spalte(0).name), "M", 'E');
        return false;
    }
    feldliste felder;
    for (int i : spalten) {
        if (i < 0) continue;
        const double v = als_zahl(t.wert(i));
        felder.push_back({t.spalte(i).name, feldwert(runde_dezimal(relativ ? v / summe : v * gesamt, 3))});
    }
    felder.push_back({relspalte(index), feldwert(std::string(relativ ? "R" : "A"))});
    schreibe_felder(t, felder);
    return true;
}

bool heizenergie_ziel(const std::string& basis_wetter, const std::string& ziel_wetter,
                      const std::string& basis_heizung, const std::string& ziel_heizung) {
    auto mittel = [](const std::string& name, std::array<double, 12>& ta) {
        if (!positioniere_auf(tir_ta_m, name)) return false;
        tabelle& w = tab(tir_ta_m);
        const std::string einheit = w.text("einheit_temp");
        for (int m = 1; m <= 12; ++m) {
            const std::string k = std::to_string(m);
            ta[static_cast<size_t>(m - 1)] =
                (temperatur_in_c(w.zahl("ta" + k + "min"), einheit) + temperatur_in_c(w.zahl("ta" + k + "max"), einheit)) /
                2.0;
        }
        return true;
    };
    auto innen = [](const std::string& name, double& ti) {
        if (!positioniere_auf(teh_m, name)) return false;
        tabelle& h = tab(teh_m);
        ti = temperatur_in_c(h.zahl("TINNEN"), h.text("EinT"));
        return true;
    };
    std::array<double, 12> ta_basis{}, ta_ziel{};
    double ti_basis = 0.0, ti_ziel = 0.0;
    if (!mittel(basis_wetter, ta_basis) || !mittel(ziel_wetter, ta_ziel) || !innen(basis_heizung, ti_basis) ||
        !innen(ziel_heizung, ti_ziel))
        return false;
    positioniere_auf(teh_m, basis_heizung);
    tabelle& h = tab(teh_m);
    const auto spalten = monatswert_spalten(teh_m);
    std::array<double, 12> basis{};
    for (int m = 0; m < 12; ++m) basis[static_cast<size_t>(m)] = als_zahl(h.wert(spalten[static_cast<size_t>(m)]));
    feldliste felder;
    for (int m = 0; m < 12; ++m) {
        const double u = ti_ziel - ta_ziel[static_cast<size_t>(m)];
        const double v = ti_basis - ta_basis[static_cast<size_t>(m)];
        const double wert = (u > 0.0 && v > 0.0) ? runde_dezimal(u * basis[static_cast<size_t>(m)] / v, 2) : 0.0;
        felder.push_back({h.spalte(spalten[static_cast<size_t>(m)]).name, feldwert(wert)});
    }
    positioniere_auf(teh_m, ziel_heizung);
    schreibe_felder(h, felder);
    return true;
}

bool berechne_h_aus_breite() {
    if (!aktuelle_zeile(tir_ta_m)) return false;
    tabelle& w = tab(tir_ta_m);
    w.abbrechen();
    const double breite = w.zahl("breite");
    feldliste felder;
    for (int m = 1; m <= 12; ++m) {
        const auto t = sonne::tageslaenge(m, breite, tage_im_monat(m));
        felder.push_back({"h" + std::to_string(m), feldwert(runde_dezimal(t.monatsstunden, 3))});
    }
    schreibe_felder(w, felder);
    return true;
}

bool ir_in_kwh() {
    if (!aktuelle_zeile(tir_ta_m)) return false;
    tabelle& w = tab(tir_ta_m);
    w.abbrechen();
    const std::string name = w.text("name");
    const std::string neu = name + "_in_kWh";
    const std::string einheit_ir = w.text("einheit_ir"), einheit_temp = w.text("einheit_temp");
    const Einheit_struct& ir = haupteinheiten()[groesse::einstrahlung];
    const Einheit_struct& te = haupteinheiten()[groesse::temperatur];
    std::vector<feldwert> werte;
    for (int i = 0; i < w.spaltenanzahl(); ++i) werte.push_back(w.wert(i));
    auto setze = [&](const std::string& spalte, const feldwert& x) {
        werte[static_cast<size_t>(w.spalten_index(spalte))] = x;
    };
    auto ir_wert = [&](const feldwert& x, int monat) -> feldwert {
        if (ist_leer(x)) return x;
        const double v = einheit_ir.empty() ? als_zahl(x) : umrechnen(als_zahl(x), einheit_ir, "kWh/qm", ir.kennzeichen, monat);
        return runde_dezimal(v, 3);
    };
    auto ta_wert = [&](const feldwert& x) -> feldwert {
        if (ist_leer(x)) return x;
        return runde_dezimal(temperatur_in_c(als_zahl(x), einheit_temp), 3);
    };
    setze("name", feldwert(neu));
    for (int m = 1; m <= 12; ++m) {
        const std::string k = std::to_string(m);
        for (const std::string& s : {"ir" + k, "diff" + k}) setze(s, ir_wert(w.wert(s), m));
        for (const std::string& s : {"ta" + k + "min", "ta" + k + "max"}) setze(s, ta_wert(w.wert(s)));
    }
    setze("einheit_ir", feldwert(std::string("kWh/qm")));
    setze("einheit_temp", feldwert(te.haupteinheit));
    if (!ist_leer(w.wert("irgesamt"))) {
        double summe = 0.0;
        for (int m = 1; m <= 12; ++m) summe += als_zahl(werte[static_cast<size_t>(w.spalten_index("ir" + std::to_string(m)))]);
        setze("irgesamt", feldwert(runde_dezimal(summe, 3)));
    }
    w.sortiere_nach_schluessel();
    if (w.suche({feldwert(neu)})) {
        meldung(txt::name_belegt.text() + w.sql_name() + ": " + neu, "M", 'E');
        w.suche({feldwert(name)});
        return false;
    }
    w.suche({feldwert(name)});

    // Detail rows, converted as interval values (no day scaling).
    std::optional<transaktion> td;
    tabelle& d = tab(tir_ta_d);
    if (d.ist_offen() && w.text("zeitintervall") != "K") {
        const int s_name = d.spalten_index("name");
        std::vector<std::vector<feldwert>> zeilen;
        for (auto& z : d.lies_alle(d.schluesselspalten()))
            if (als_text(z[static_cast<size_t>(s_name)]) == name) zeilen.push_back(std::move(z));
        td.emplace(d);
        d.loesche_wo({{"name", "=", feldwert(neu)}});
        for (auto& z : zeilen) {
            z[static_cast<size_t>(s_name)] = feldwert(neu);
            for (const char* s : {"ir_g", "ir_d"}) {
                const int i = d.spalten_index(s);
                if (i >= 0) z[static_cast<size_t>(i)] = ir_wert(z[static_cast<size_t>(i)], 0);
            }
            for (const char* s : {"tamin", "tamax"}) {
                const int i = d.spalten_index(s);
                if (i >= 0) z[static_cast<size_t>(i)] = ta_wert(z[static_cast<size_t>(i)]);
            }
            d.einfuegen();
            for (int i = 0; i < d.spaltenanzahl(); ++i) d.setze(i, z[static_cast<size_t>(i)]);
            d.speichern();
        }
    }
    feldliste felder;
    for (int i = 0; i < w.spaltenanzahl(); ++i) felder.push_back({w.spalte(i).name, werte[static_cast<size_t>(i)]});
    fuege_zeile_ein(w, felder);
    if (td) td->bestaetigen();
    w.suche({feldwert(neu)});
    return true;
}

void erinnere_diffuse_strahlung() { meldung(txt::diffus.text(), "M", 'M'); }

std::optional<zweipunkt_ergebnis> zweipunkt_koeffizienten(double eta1, double ttief1, double thoch1, double eta2,
                                                          double ttief2, double thoch2) {
    const double th1 = thoch1 + 273.15, th2 = thoch2 + 273.15;
    const double tl1 = ttief1 + 273.15, tl2 = ttief2 + 273.15;
    const double dt1 = th1 - tl1, dt2 = th2 - tl2;
    if (dt1 == 0.0 || dt2 == 0.0 || dt1 == dt2 || th1 / dt1 == th2 / dt2) {
        meldung(txt::zweipunkt.text(), "M", 'E');
        return std::nullopt;
    }
    zweipunkt_ergebnis k;
    k.beta_l = (eta1 - eta2) / (dt1 - dt2);
    k.alpha_l = eta2 - dt2 * k.beta_l;
    k.beta_h = (eta1 - eta2) / (th1 / dt1 - th2 / dt2);
    k.alpha_h = eta2 - k.beta_h * th2 / dt2;
    return k;
}

bool uebertrage_zweipunkt(const zweipunkt_ergebnis& k) {
    if (!aktuelle_zeile(twp)) return false;
    schreibe_felder(tab(twp), {{"deltalin", feldwert(k.beta_l)},
                               {"gammalin", feldwert(k.alpha_l)},
                               {"deltahyp", feldwert(k.beta_h)},
                               {"gammahyp", feldwert(k.alpha_h)}});
    return true;
}

namespace {
std::array<double, 7> terme(double exponent, double ttief, double thoch) {
    const double dt = thoch - ttief;
    return {1.0, 1.0 / std::pow(dt, exponent), dt, ttief * dt, dt * dt, ttief * dt * dt, ttief};
}
const char* const KOEFFIZIENTEN[7] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta_w"};
}  // namespace

double wp_polynom(const sieben_koeffizienten& c, double exponent, double ttief, double thoch) {
    const auto a = terme(exponent, ttief, thoch);
    double eta = 0.0;
    for (size_t i = 0; i < 7; ++i) eta += c[i] * a[i];
    return eta;
}

std::optional<sieben_koeffizienten> sieben_parameter_fit(const std::array<wp_messpunkt, 7>& punkte,
                                                         double exponent) {
    TMatrix a = dim_matrix(7);
    TVector b = dim_vektor(7);
    for (int i = 1; i <= 7; ++i) {
        const wp_messpunkt& p = punkte[static_cast<size_t>(i - 1)];
        const auto t = terme(exponent, p.ttief, p.thoch);
        for (int j = 1; j <= 7; ++j) a[static_cast<size_t>(i)][static_cast<size_t>(j)] = t[static_cast<size_t>(j - 1)];
        b[static_cast<size_t>(i)] = p.eta;
    }
    bool endlich = true;
    for (int i = 1; i <= 7; ++i)
        for (int j = 1; j <= 7; ++j) endlich &= std::isfinite(a[static_cast<size_t>(i)][static_cast<size_t>(j)]);
    double det = 0.0;
    if (!endlich || gauss_jordan(a, b, 1, 7, det) != MAT_OK) {
        meldung(txt::singulaer.text(), "M", 'E');
        return std::nullopt;
    }
    sieben_koeffizienten c{};
    for (int i = 0; i < 7; ++i) c[static_cast<size_t>(i)] = b[static_cast<size_t>(i + 1)];
    return c;
}

std::array<double, 7> probe(const sieben_koeffizienten& c, double exponent,
                            const std::array<wp_messpunkt, 7>& punkte) {
    std::array<double, 7> eta{};
    for (size_t i = 0; i < 7; ++i) eta[i] = wp_polynom(c, exponent, punkte[i].ttief, punkte[i].thoch);
    return eta;
}

sieben_koeffizienten koeffizienten_der_zeile(double& exponent) {
    sieben_koeffizienten c{};
    exponent = 0.0;
    if (!aktuelle_zeile(twp)) return c;
    tabelle& w = tab(twp);
    for (size_t i = 0; i < 7; ++i) c[i] = w.zahl(KOEFFIZIENTEN[i]);
    exponent = w.zahl("cexp");
    return c;
}

bool uebertrage_sieben(const sieben_koeffizienten& c, double exponent) {
    if (!aktuelle_zeile(twp)) return false;
    feldliste f;
    for (size_t i = 0; i < 7; ++i) f.push_back({KOEFFIZIENTEN[i], feldwert(c[i])});
    f.push_back({"cexp", feldwert(exponent)});
    schreibe_felder(tab(twp), f);
    return true;
}

bool pruefe_speichersteuerung() {
    if (!aktuelle_zeile(tsteuer)) return false;
    tabelle& s = tab(tsteuer);
    s.abbrechen();
    feldliste f;
    for (int m = 0; m < 12; ++m) {
        const std::string lade = m == 0 ? "LadeJanuar" : std::string("lade") + MONATE_KLEIN[m];
        if (s.text(lade) == "Y") f.push_back({std::string("entnehme") + MONATE_KLEIN[m], feldwert(std::string("Y"))});
    }
    schreibe_felder(s, f);
    return true;
}

bool berechne_austauschflaeche() {
    if (!aktuelle_zeile(tgwt)) return false;
    tabelle& g = tab(tgwt);
    g.abbrechen();
    const std::string el = g.text("einheit_laenge"), ef = g.text("einheit_flaeche");
    auto laenge = [&](const char* spalte) {
        const double v = g.zahl(spalte);
        return el.empty() ? v : in_haupteinheit(v, el, groesse::laenge);
    };
    const double flaeche_qm = std::numbers::pi * laenge("durchmesser_d1") * laenge("laenge") *
                              static_cast<double>(g.ganzzahl("anzahl"));
    const Einheit_struct& ar = haupteinheiten()[groesse::flaeche];
    const double flaeche =
        ef.empty() || ef == ar.haupteinheit ? flaeche_qm : umrechnen(flaeche_qm, ar.haupteinheit, ef, ar.kennzeichen, 0);
    schreibe_felder(g, {{"austauschflaeche", feldwert(runde_dezimal(flaeche, 2))}});
    return true;
}

std::optional<double> verlust_pro_flaeche(double verlust_gesamt, double volumen) {
    if (!(volumen > 0.0) || !std::isfinite(verlust_gesamt)) return std::nullopt;
    const double oberflaeche = 3.0 * std::cbrt(2.0 * std::numbers::pi) * std::pow(volumen, 2.0 / 3.0);
    return runde_dezimal(verlust_gesamt / oberflaeche, 3);
}

bool fuege_listeneintrag_hinzu(int index, const std::vector<std::string>& schluessel) {
    tabelle& t = tab_zum_schreiben(index);
    if (!t.ist_offen() || schluessel.size() != t.schluesselspalten().size()) return false;
    t.abbrechen();
    std::vector<feldwert> k;
    for (const auto& s : schluessel) k.push_back(feldwert(s));
    t.filter_aus();
    t.sortiere_nach_schluessel();
    if (t.suche(k)) {
        meldung(txt::vorhanden.text(), "M", 'M');
        return false;
    }
    feldliste f;
    for (size_t i = 0; i < schluessel.size(); ++i) f.push_back({t.schluesselspalten()[i], k[i]});
    fuege_zeile_ein(t, f);
    t.suche(k);
    return true;
}

void pruefe_rech_vor_navigation() {
    tabelle& r = tab(trech);
    if (!r.ist_offen() || !r.hat_zeile()) return;
    if (r.ganzzahl("anzge") > MAX_VOLUMENSTROMSCHRITTE) meldung(txt::maxv.text(), "M", 'T');
}

bool pruefe_wetterdatensatz_vollstaendig() {
    if (!aktuelle_zeile(tir_ta_m)) return false;
    tabelle& w = tab(tir_ta_m);
    const bool keine_details = w.text("zeitintervall") == "K";
    for (int m = 1; m <= 12; ++m) {
        const std::string k = std::to_string(m);
        bool fehlt = false;
        if (keine_details)
            fehlt = w.ist_feld_leer("m" + k);
        else
            fehlt = w.ist_feld_leer("ir" + k) || w.ist_feld_leer("ta" + k + "min") || w.ist_feld_leer("ta" + k + "max");
        if (fehlt) {
            meldung(txt::vollstaendig.text(), "M", 'E');
            return false;
        }
    }
    return true;
}
