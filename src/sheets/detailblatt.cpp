#include "sheets/detailblatt.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "input/sonnengeometrie.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "sheets/blatthilfen.h"
#include "sheets/datenblatt_rechner.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar h_null{"Fehler: Dauer h ist 0, Intensität nicht bestimmbar",
                           "Error: duration h is 0, the intensity cannot be determined"};
constexpr text_paar keine_details{"Fehler: Keine Detailwerte für Monat ", "Error: no detail values for month "};
constexpr text_paar kein_erster_tag{"Fehler: Der erste Tag ist nicht vollständig (24 Stunden), Monat ",
                                    "Error: the first day is not complete (24 hours), month "};
}  // namespace txt

struct paar {
    int monat;    // monthly table
    int detail;   // detail table
    const char* namensspalte;  // column of the monthly record that names the series
    const char* wertspalte;    // value column of the detail rows
};

paar tabellen(detailart art) {
    switch (art) {
        case detailart::heizung:
            return {teh_m, teh_d, "name_d", "eh"};
        case detailart::warmwasser:
            return {tew_m, tew_d, "name_d", "ew"};
        default:
            return {tir_ta_m, tir_ta_d, "name", "ir_g"};
    }
}

// The detail rows of the current monthly record, month -> number -> fields.
struct detailzeilen {
    std::string name;
    std::map<int, std::map<int, std::vector<feldwert>>> monate;
    int s_name = -1, s_monat = -1, s_nummer = -1;
};

std::optional<detailzeilen> lies_details(detailart art) {
    const paar p = tabellen(art);
    if (!aktuelle_zeile(p.monat)) return std::nullopt;
    tabelle& d = tab_zum_schreiben(p.detail);
    if (!d.ist_offen()) return std::nullopt;
    detailzeilen z;
    z.name = tab(p.monat).text(p.namensspalte);
    z.s_name = d.spalten_index("name");
    z.s_monat = d.spalten_index("monat");
    z.s_nummer = d.spalten_index("nummer");
    for (auto& r : d.lies_alle(d.schluesselspalten())) {
        if (als_text(r[static_cast<size_t>(z.s_name)]) != z.name) continue;
        const int m = static_cast<int>(als_zahl(r[static_cast<size_t>(z.s_monat)]));
        const int n = static_cast<int>(als_zahl(r[static_cast<size_t>(z.s_nummer)]));
        z.monate[m][n] = std::move(r);
    }
    return z;
}

double feld(const std::vector<feldwert>& r, tabelle& d, const char* spalte) {
    const int i = d.spalten_index(spalte);
    return i < 0 ? 0.0 : als_zahl(r[static_cast<size_t>(i)]);
}

std::vector<filterbedingung> schluessel(const std::string& name, int monat, int nummer) {
    return {{"name", "=", feldwert(name)},
            {"monat", "=", feldwert(static_cast<int64_t>(monat))},
            {"nummer", "=", feldwert(static_cast<int64_t>(nummer))}};
}

// Writes fields of an existing detail row.
void aendere_detail(tabelle& d, const std::string& name, int monat, int nummer, const feldliste& felder) {
    const auto b = schluessel(name, monat, nummer);
    for (const auto& [spalte, wert] : felder) d.setze_alle(spalte, wert, b);
}

// Inserts a detail row with key and the fields.
void neues_detail(tabelle& d, const std::string& name, int monat, int nummer, const feldliste& felder) {
    d.einfuegen();
    d.setze("name", feldwert(name));
    d.setze("monat", feldwert(static_cast<int64_t>(monat)));
    d.setze("nummer", feldwert(static_cast<int64_t>(nummer)));
    for (const auto& [spalte, wert] : felder) d.setze(spalte, wert);
    d.speichern();
}

// Latitude of the weather record the detail rows belong to.
double breite_des_datensatzes(const std::string& name) {
    tabelle& w = tab(tir_ta_m);
    if (w.hat_zeile() && w.text("name") == name) return w.zahl("breite");
    positioniere_auf(tir_ta_m, name);
    return w.zahl("breite");
}

// The non-key fields of a detail row, for copying it to another number.
feldliste inhalt(tabelle& d, const std::vector<feldwert>& r) {
    feldliste f;
    for (int i = 0; i < d.spaltenanzahl(); ++i) {
        const std::string& s = d.spalte(i).name;
        if (gleich_ohne_gross_klein(s, "name") || gleich_ohne_gross_klein(s, "monat") ||
            gleich_ohne_gross_klein(s, "nummer"))
            continue;
        f.push_back({s, r[static_cast<size_t>(i)]});
    }
    return f;
}

// Copies the source rows (number -> fields) to the targets (month, number
// -> source number), making missing rows; one transaction.
void kopiere_zeilen(detailart art, const detailzeilen& z, const std::map<int, std::vector<feldwert>>& quelle,
                    const std::vector<std::tuple<int, int, int>>& ziele) {
    tabelle& d = tab(tabellen(art).detail);
    transaktion t(d);
    for (const auto& [monat, nummer, von] : ziele) {
        const auto it = quelle.find(von);
        if (it == quelle.end()) continue;
        const feldliste f = inhalt(d, it->second);
        const auto m = z.monate.find(monat);
        if (m != z.monate.end() && m->second.count(nummer))
            aendere_detail(d, z.name, monat, nummer, f);
        else
            neues_detail(d, z.name, monat, nummer, f);
    }
    t.bestaetigen();
    d.aktualisiere();
}

// The 24 rows of the first day of month m, or nothing (with a message).
std::optional<std::map<int, std::vector<feldwert>>> erster_tag_von(const detailzeilen& z, int monat) {
    std::map<int, std::vector<feldwert>> tag;
    const auto m = z.monate.find(monat);
    if (m != z.monate.end())
        for (int j = 1; j <= 24; ++j)
            if (const auto it = m->second.find(j); it != m->second.end()) tag[j] = it->second;
    if (tag.size() != 24) {
        meldung(txt::kein_erster_tag.text() + std::to_string(monat), "M", 'E');
        return std::nullopt;
    }
    return tag;
}

std::string monatsspalte(int monat, detailart art) {
    tabelle& t = tab(tabellen(art).monat);
    const int i = monatswert_spalten(tabellen(art).monat)[static_cast<size_t>(monat - 1)];
    return i < 0 ? std::string() : t.spalte(i).name;
}

}  // namespace

bool ir_aus_is() {
    if (!aktuelle_zeile(tir_ta_d)) return false;
    tabelle& d = tab(tir_ta_d);
    d.abbrechen();
    const double h = d.zahl("h");
    schreibe_felder(d, {{"ir_g", feldwert(runde_dezimal(d.zahl("is_g") * h / 1000.0, 3))},
                        {"ir_d", feldwert(runde_dezimal(d.zahl("is_d") * h / 1000.0, 3))}});
    return true;
}

bool is_aus_ir() {
    if (!aktuelle_zeile(tir_ta_d)) return false;
    tabelle& d = tab(tir_ta_d);
    d.abbrechen();
    const double h = d.zahl("h");
    if (h == 0.0) {
        meldung(txt::h_null.text(), "M", 'E');
        return false;
    }
    schreibe_felder(d, {{"is_g", feldwert(runde_dezimal(d.zahl("ir_g") * 1000.0 / h, 3))},
                        {"is_d", feldwert(runde_dezimal(d.zahl("ir_d") * 1000.0 / h, 3))}});
    return true;
}

bool h_aus_breite() {
    if (!aktuelle_zeile(tir_ta_d)) return false;
    tabelle& d = tab(tir_ta_d);
    d.abbrechen();
    const std::string name = d.text("name");
    const int monat = static_cast<int>(d.ganzzahl("monat"));
    const feldwert nummer = d.wert("nummer");
    const double breite = breite_des_datensatzes(name);
    const auto t = sonne::tageslaenge(monat, breite, tage_im_monat(monat));
    d.sortiere_nach_schluessel();
    d.suche({feldwert(name), feldwert(static_cast<int64_t>(monat)), nummer});
    schreibe_felder(d, {{"h", feldwert(runde_dezimal(t.stunden, 3))}});
    return true;
}

namespace {

int anzahl_aus(const detailzeilen& z, int monat) {
    const auto m = z.monate.find(monat);
    if (m == z.monate.end()) return 0;
    int n = 0;
    while (m->second.count(n + 1)) ++n;
    return n;
}

monatsmittel mittelwerte_aus(const detailzeilen* z, int monat, int anzahl, detailart art) {
    monatsmittel e;
    if (!z) return e;
    const auto m = z->monate.find(monat);
    if (m == z->monate.end()) return e;
    tabelle& d = tab(tabellen(art).detail);
    const char* wert = tabellen(art).wertspalte;
    const bool stundenweise = art == detailart::wetter && tab(tir_ta_m).text("zeitintervall") == "A";
    std::map<int, std::pair<double, double>> tage;  // day -> (min, max)
    double ta_h = 0.0;
    for (const auto& [nummer, r] : m->second) {
        if (nummer < 1 || nummer > anzahl) continue;
        ++e.anzahl;
        e.summe_ir += feld(r, d, wert);
        const double h = feld(r, d, "h");
        e.summe_h += h;
        if (art != detailart::wetter) continue;
        const double tmin = feld(r, d, "tamin"), tmax = feld(r, d, "tamax");
        ta_h += tmin * h;
        const int tag = stundenweise ? (nummer - 1) / 24 : nummer;
        auto [it, neu] = tage.try_emplace(tag, tmin, tmax);
        if (!neu) {
            it->second.first = std::min(it->second.first, tmin);
            it->second.second = std::max(it->second.second, tmax);
        }
    }
    if (art == detailart::wetter) {
        const double breite = tab(tir_ta_m).zahl("breite");
        const double hell = sonne::tageslaenge(monat, breite, tage_im_monat(monat)).monatsstunden;
        e.is = hell > 0.0 ? e.summe_ir / hell : 0.0;
        for (const auto& [tag, mm] : tage) {
            e.ta_min += mm.first;
            e.ta_max += mm.second;
        }
        if (!tage.empty()) {
            e.ta_min /= static_cast<double>(tage.size());
            e.ta_max /= static_cast<double>(tage.size());
        }
        e.ta = e.summe_h > 0.0 ? ta_h / e.summe_h : 0.0;
    }
    return e;
}

}  // namespace

int Berechne_Anzahl(int monat, detailart art) {
    const auto z = lies_details(art);
    return z ? anzahl_aus(*z, monat) : 0;
}

monatsmittel mittelwerte(int monat, int anzahl, detailart art) {
    const auto z = lies_details(art);
    return mittelwerte_aus(z ? &*z : nullptr, monat, anzahl, art);
}

namespace {
// Fields of the monthly record that take the means of month m; empty when
// the month has no detail rows.
feldliste uebernahme(const detailzeilen& z, int monat, detailart art) {
    const int n = anzahl_aus(z, monat);
    if (n == 0) return {};
    const monatsmittel e = mittelwerte_aus(&z, monat, n, art);
    const std::string k = std::to_string(monat);
    if (art == detailart::wetter)
        return {{"ir" + k, feldwert(e.summe_ir)},
                {"h" + k, feldwert(e.summe_h)},
                {"ta" + k + "min", feldwert(e.ta_min)},
                {"ta" + k + "max", feldwert(e.ta_max)},
                {"m" + k, feldwert(static_cast<int64_t>(n))}};
    return {{monatsspalte(monat, art), feldwert(e.summe_ir)}, {"m" + k, feldwert(static_cast<int64_t>(n))}};
}
}  // namespace

bool uebernehme_mittelwerte(int monat, detailart art) {
    const auto z = lies_details(art);
    if (!z) return false;
    const feldliste f = uebernahme(*z, monat, art);
    if (f.empty()) {
        meldung(txt::keine_details.text() + std::to_string(monat), "M", 'E');
        return false;
    }
    schreibe_felder(tab(tabellen(art).monat), f);
    return true;
}

bool alle_berechnen_und_uebernehmen(detailart art) {
    const auto z = lies_details(art);
    if (!z) return false;
    feldliste alle;
    for (int m = 1; m <= 12; ++m)
        for (auto& f : uebernahme(*z, m, art)) alle.push_back(std::move(f));
    if (alle.empty()) {
        meldung(txt::keine_details.text() + "1..12", "M", 'E');
        return false;
    }
    schreibe_felder(tab(tabellen(art).monat), alle);
    return true;
}

double gesamte_einstrahlung() {
    if (!aktuelle_zeile(tir_ta_m)) return 0.0;
    tabelle& w = tab(tir_ta_m);
    const std::string einheit = w.text("einheit_ir");
    const Einheit_struct& ir = haupteinheiten()[groesse::einstrahlung];
    double summe = 0.0;
    for (int m = 1; m <= 12; ++m) {
        const double v = w.zahl("ir" + std::to_string(m));
        summe += einheit.empty() || einheit == "kWh/qm" ? v : umrechnen(v, einheit, "kWh/qm", ir.kennzeichen, m);
    }
    return summe;
}

bool uebernehme_gesamte_einstrahlung() {
    if (!aktuelle_zeile(tir_ta_m)) return false;
    const double s = gesamte_einstrahlung();
    schreibe_felder(tab(tir_ta_m), {{"irgesamt", feldwert(s)}});
    return true;
}

bool uebernehme_gesamten_verbrauch(detailart art) {
    const int index = tabellen(art).monat;
    if (art == detailart::wetter || !aktuelle_zeile(index)) return false;
    tabelle& t = tab(index);
    double summe = 0.0;
    for (int i : monatswert_spalten(index))
        if (i >= 0) summe += als_zahl(t.wert(i));
    schreibe_felder(t, {{"gesamt", feldwert(summe)}});
    return true;
}

tagesdaten daten_aus_breitengrad(int monat) {
    tagesdaten d;
    if (!aktuelle_zeile(tir_ta_m)) return d;
    const auto t = sonne::tageslaenge(monat, tab(tir_ta_m).zahl("breite"), tage_im_monat(monat));
    d.tageslaenge = t.stunden;
    d.monatsstunden = t.monatsstunden;
    return d;
}

bool kopiere_aus_ir_ta_m() {
    if (!aktuelle_zeile(tir_ta_m)) return false;
    tabelle& w = tab(tir_ta_m);
    tabelle& d = tab_zum_schreiben(tir_ta_d);
    if (!d.ist_offen()) return false;
    const std::string name = w.text("name");
    const double breite = w.zahl("breite");
    const std::string einheit = w.text("einheit_ir");
    const Einheit_struct& ir = haupteinheiten()[groesse::einstrahlung];
    feldliste monatsfelder;
    {
        transaktion t(d);
        d.loesche_wo({{"name", "=", feldwert(name)}});
        for (int m = 1; m <= 12; ++m) {
            const std::string k = std::to_string(m);
            const double g = w.zahl("ir" + k), df = w.zahl("diff" + k);
            const double h = runde_dezimal(sonne::tageslaenge(m, breite, tage_im_monat(m)).monatsstunden, 3);
            // Mean intensity over the daylight hours, W/qm.
            auto intensitaet = [&](double x) {
                const double kwh = einheit.empty() || einheit == "kWh/qm"
                                       ? x
                                       : umrechnen(x, einheit, "kWh/qm", ir.kennzeichen, m);
                return h > 0.0 ? runde_dezimal(kwh * 1000.0 / h, 3) : 0.0;
            };
            neues_detail(d, name, m, 1,
                         {{"ir_g", feldwert(g)},
                          {"is_g", feldwert(intensitaet(g))},
                          {"ir_d", feldwert(df)},
                          {"is_d", feldwert(intensitaet(df))},
                          {"tamin", w.wert("ta" + k + "min")},
                          {"tamax", w.wert("ta" + k + "max")},
                          {"h", feldwert(h)},
                          {"hm", feldwert(12.0)},
                          {"zeitintervall", feldwert(std::string("D"))}});
            monatsfelder.push_back({"m" + k, feldwert(static_cast<int64_t>(1))});
        }
        schreibe_felder(w, monatsfelder);
        t.bestaetigen();
    }
    d.aktualisiere();
    return true;
}

long long loesche_alle_details(detailart art) {
    const paar p = tabellen(art);
    if (!aktuelle_zeile(p.monat)) return 0;
    tabelle& d = tab(p.detail);
    if (!d.ist_offen()) return 0;
    return d.loesche_wo({{"name", "=", feldwert(tab(p.monat).text(p.namensspalte))}});
}

bool normiere_monat(int monat, detailart art) {
    const auto z = lies_details(art);
    if (!z) return false;
    const auto mz = z->monate.find(monat);
    if (mz == z->monate.end()) return false;
    const paar p = tabellen(art);
    tabelle& d = tab(p.detail);
    tabelle& t = tab(p.monat);
    double s = 0.0;
    for (const auto& [n, r] : mz->second) s += feld(r, d, p.wertspalte);
    if (!(s > 0.0)) return false;
    const double v = art == detailart::wetter ? t.zahl("ir" + std::to_string(monat)) : t.zahl(monatsspalte(monat, art));
    const bool relativ = art != detailart::wetter && t.text("rel") != "A";
    transaktion tr(d);
    for (const auto& [n, r] : mz->second) {
        const double x = feld(r, d, p.wertspalte);
        feldliste f = {{p.wertspalte, feldwert(runde_dezimal(relativ ? x * 1000.0 / s : x * v / s, 4))}};
        if (art != detailart::wetter) f.push_back({"normiert", feldwert(std::string("Y"))});
        aendere_detail(d, z->name, monat, n, f);
    }
    tr.bestaetigen();
    d.aktualisiere();
    return true;
}

void normiere_alle(detailart art) {
    for (int m = 1; m <= 12; ++m) normiere_monat(m, art);
}

bool gleiche_tage(int monat, detailart art) {
    const auto z = lies_details(art);
    if (!z) return false;
    const auto tag = erster_tag_von(*z, monat);
    if (!tag) return false;
    std::vector<std::tuple<int, int, int>> ziele;
    for (int d = 2; d <= tage_im_monat(monat); ++d)
        for (int j = 1; j <= 24; ++j) ziele.emplace_back(monat, (d - 1) * 24 + j, j);
    kopiere_zeilen(art, *z, *tag, ziele);
    return true;
}

bool erster_tag(detailart art) {
    const auto z = lies_details(art);
    if (!z) return false;
    const auto tag = erster_tag_von(*z, 1);
    if (!tag) return false;
    std::vector<std::tuple<int, int, int>> ziele;
    for (int m = 1; m <= 12; ++m)
        for (int d = m == 1 ? 2 : 1; d <= tage_im_monat(m); ++d)
            for (int j = 1; j <= 24; ++j) ziele.emplace_back(m, (d - 1) * 24 + j, j);
    kopiere_zeilen(art, *z, *tag, ziele);
    return true;
}

bool gleiche_monate(detailart art) {
    const auto z = lies_details(art);
    if (!z) return false;
    const auto januar = z->monate.find(1);
    if (januar == z->monate.end() || januar->second.empty()) {
        meldung(txt::keine_details.text() + "1", "M", 'E');
        return false;
    }
    std::vector<std::tuple<int, int, int>> ziele;
    for (int m = 2; m <= 12; ++m)
        for (const auto& [n, r] : januar->second)
            if (n >= 1 && n <= 24 * tage_im_monat(m)) ziele.emplace_back(m, n, n);
    kopiere_zeilen(art, *z, januar->second, ziele);
    return true;
}

bool alle_aendern(detailart art) {
    bool alle = true;
    for (int m = 1; m <= 12; ++m) alle &= gleiche_tage(m, art);
    return alle;
}
