#include "data/einheiten.h"

#include <algorithm>
#include <array>
#include <vector>

#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "data/konstanten.h"
#include "lang/groessentexte.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {

// Main unit and code of every quantity, in quantity order.
constexpr std::array<std::pair<const char*, const char*>, ANZ_HAUPTEINHEITEN> HAUPTEINHEITEN{{
    {"kWh", "EN"},      {"N/qm", "DR"},      {"kJ/kg", "ENT"},     {"m", "LE"},        {"qm", "AR"},
    {"°C", "TE"},       {"V", "VT"},         {"mA", "AP"},         {"W", "PO"},        {"kg", "WE"},
    {"m3", "VO"},       {"W/(K*qm)", "ALK"}, {"W/(K2*qm)", "GAK"}, {"1/K", "DEL"},     {"-", "DEH"},
    {"J/(kg*K)", "SH"}, {"W/(mK)", "LAM"},   {"W/(K*m2)", "WZ"},   {"g/mol", "MOL"},   {"kg/(ms)", ""},
    {"m2/s", "NUE"},    {"Pa*s", "ETA"},     {"kg/m3", "DE"},      {"m3/s", "CC"},     {"m3/s", "AC"},
    {"h", "TI"},        {"W", "RCA"},        {"W/(kg/s)", "RCC"},  {"°", "AN"},        {"m/s", "VC"},
    {"kWh/qm", "IR"},   {"W/qm", "IN"},      {"EUR", "PR"},        {"-", "RA"},        {"a", "RET"},
    {"-", "NU"},        {"J/(K*m3)", "WTK"}, {"s/m", "WK"},        {"W/(K*m2)", "LO"},
}};

struct default_zeile {
    const char* kuerzel;
    int groesse;
    double beta;
    double alpha;
    const char* skalierung;
};

constexpr double KCAL = 4186.0 / konst::KWH_IN_WS;

const std::array<default_zeile, 16> DEFAULT_ZEILEN{{
    {"kWh/(qm * d)", groesse::einstrahlung, 1.0, 0.0, "T"},
    {"MJ/(qm * d)", groesse::einstrahlung, 1.0 / 3.6, 0.0, "T"},
    {"cal/(qcm * d)", groesse::einstrahlung, 10.0 * KCAL, 0.0, "T"},
    {"kcal/(qm * d)", groesse::einstrahlung, KCAL, 0.0, "T"},
    {"Wh/(qm * d)", groesse::einstrahlung, 0.001, 0.0, "T"},
    {"MJ/(qm * m)", groesse::einstrahlung, 1.0 / 3.6, 0.0, "N"},
    {"cal/(qcm * m)", groesse::einstrahlung, 10.0 * KCAL, 0.0, "N"},
    {"kcal/(qm * m)", groesse::einstrahlung, KCAL, 0.0, "N"},
    {"Wh/(qm * m)", groesse::einstrahlung, 0.001, 0.0, "N"},
    {"W/(kg/h)", groesse::rel_pumpleistung_traeger, 3600.0, 0.0, "N"},
    {"W/(kg/h)", groesse::rel_pumpleistung_luft, 3600.0, 0.0, "N"},
    {"l", groesse::volumen, 0.001, 0.0, "N"},
    {"F", groesse::temperatur, 5.0 / 9.0, -160.0 / 9.0, "N"},
    {"l/s", groesse::volumenstrom_luft, 0.001, 0.0, "N"},
    {"l/h", groesse::volumenstrom_traeger, 1.0 / 3600000.0, 0.0, "N"},
    {"%", groesse::anteil, 0.01, 0.0, "N"},
}};

// One row of the unit catalogue as the conversion needs it.
struct einheitenzeile {
    std::string kuerzel, physgroesse, haupteinheit, skalierung, kennzeichen, ausgabe;
    double alpha = 0.0, beta = 0.0;
};

struct einheiten_cache {
    uint64_t stand = 0;
    bool gueltig = false;
    std::vector<einheitenzeile> nach_nummer;      // order of the index "iname" (Nummer)
    std::vector<einheitenzeile> nach_schluessel;  // table order (Kuerzel, PhysGroesse)
};

einheiten_cache& cache() {
    static einheiten_cache c;
    return c;
}

std::vector<einheitenzeile> lies(tabelle& t, const std::vector<std::string>& ordnung) {
    std::vector<einheitenzeile> r;
    const int k = t.spalten_index("Kuerzel"), p = t.spalten_index("PhysGroesse"),
              h = t.spalten_index("Haupteinheit"), a = t.spalten_index("Alpha"), b = t.spalten_index("Beta"),
              s = t.spalten_index("Skalierung"), z = t.spalten_index("Kennzeichen"),
              u = t.spalten_index("Ausgabe");
    for (const auto& w : t.lies_alle(ordnung)) {
        einheitenzeile e;
        e.kuerzel = als_text(w[static_cast<size_t>(k)]);
        e.physgroesse = als_text(w[static_cast<size_t>(p)]);
        e.haupteinheit = als_text(w[static_cast<size_t>(h)]);
        e.alpha = als_zahl(w[static_cast<size_t>(a)]);
        e.beta = als_zahl(w[static_cast<size_t>(b)]);
        e.skalierung = als_text(w[static_cast<size_t>(s)]);
        e.kennzeichen = als_text(w[static_cast<size_t>(z)]);
        e.ausgabe = als_text(w[static_cast<size_t>(u)]);
        r.push_back(std::move(e));
    }
    return r;
}

// The unit rows, read again whenever the table has changed.
const einheiten_cache& einheitenzeilen() {
    einheiten_cache& c = cache();
    tabelle& t = tab(teinheit);
    if (!t.ist_offen()) {
        c.nach_nummer.clear();
        c.nach_schluessel.clear();
        c.gueltig = false;
        return c;
    }
    const uint64_t stand = t.aenderungsstand();
    if (c.gueltig && c.stand == stand) return c;
    auto ordnung = t.indexspalten("iname");
    if (ordnung.empty()) ordnung = {"Nummer"};
    c.nach_nummer = lies(t, ordnung);
    c.nach_schluessel = lies(t, t.schluesselspalten());
    c.stand = stand;
    c.gueltig = true;
    return c;
}

std::string ohne_endleerzeichen(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

void melde_unbekannt(const std::string& einheit) {
    meldung(text_paar{"Fehler: Einheit unbekannt, in Einheitendatenbank eintragen: ",
                      "Error: unit unknown, enter it in the unit database: "}
                    .text() +
                einheit,
            "M", 'E');
}

// Rows of one code: an empty code also matches rows without a code.
std::vector<std::vector<filterbedingung>> bedingungen_fuer_code(const std::string& code) {
    if (!code.empty()) return {{{"Kennzeichen", "=", feldwert(code)}}};
    return {{{"Kennzeichen", "=", feldwert(std::string())}}, {{"Kennzeichen", "=", feldwert()}}};
}

bool aktuelle_einheitenzeile(tabelle& t) {
    if (t.ist_offen() && t.hat_zeile()) return true;
    meldung(text_paar{"Bitte Eintrag markieren", "Pleasse mark entry"}.text(), "M", 'W');
    return false;
}

void schreibe_default_zeilen(tabelle& t) {
    const auto& h = haupteinheiten();
    int64_t nummer = 1;
    auto zeile = [&](const std::string& kuerzel, int g, double beta, double alpha, const std::string& skal,
                     const std::string& ausgabe) {
        t.einfuegen();
        t.setze("Nummer", nummer++);
        t.setze("Kuerzel", kuerzel);
        t.setze("PhysGroesse", h[static_cast<size_t>(g)].name);
        t.setze("Haupteinheit", h[static_cast<size_t>(g)].haupteinheit);
        t.setze("Alpha", alpha);
        t.setze("Beta", beta);
        t.setze("Skalierung", skal);
        t.setze("Kennzeichen", h[static_cast<size_t>(g)].kennzeichen);
        t.setze("Ausgabe", ausgabe);
        t.speichern();
    };
    for (const auto& d : DEFAULT_ZEILEN) zeile(d.kuerzel, d.groesse, d.beta, d.alpha, d.skalierung, "N");
    for (int g = 0; g < ANZ_HAUPTEINHEITEN; ++g)
        zeile(h[static_cast<size_t>(g)].haupteinheit, g, 1.0, 0.0, "N", "J");
}

}  // namespace

void definiere_haupteinheiten() {
    auto& h = haupteinheiten();
    for (int i = 0; i < ANZ_HAUPTEINHEITEN; ++i) {
        Einheit_struct& e = h[static_cast<size_t>(i)];
        e = Einheit_struct{};
        e.haupteinheit = HAUPTEINHEITEN[static_cast<size_t>(i)].first;
        e.kennzeichen = HAUPTEINHEITEN[static_cast<size_t>(i)].second;
        e.ausgabe = e.haupteinheit;
        e.name = groessenname(i).text();
    }
}

void definiere_Haupteinheiten_datenbanken() {
    auto& h = haupteinheiten();
    for (int i = 0; i < ANZ_HAUPTEINHEITEN; ++i) h[static_cast<size_t>(i)].name = groessenname(i).text();
}

void default_einheiten() {
    tabelle& t = tab(teinheit);
    if (!t.ist_offen() || !einheitenzeilen().nach_nummer.empty()) return;
    if (t.nur_lesbar()) {
        // A write-protected database keeps its empty unit table; values are
        // then used as stored.
        meldung(text_paar{"Warnung: Einheitentabelle leer und schreibgeschützt: ",
                          "Warning: unit table empty and write-protected: "}
                        .text() +
                    t.datei().string(),
                "M", 'W');
        return;
    }
    transaktion tr(t);
    schreibe_default_zeilen(t);
    tr.bestaetigen();
    t.erster();
}

umrechnen_struct umrechnungsfaktor(const std::string& von, const std::string& nach,
                                   const std::string& kennzeichen, int monat, int tage_des_monats) {
    umrechnen_struct r{1.0, 0.0, "N"};
    const std::string quelle = ohne_endleerzeichen(von);
    if (quelle.empty()) {
        // A value without a unit passes unconverted.
        melde_unbekannt(von);
        return r;
    }
    if (quelle == nach) {
        // Same unit on both sides: the map is the identity for every row.
        r.bekannt = nach;
        return r;
    }
    const auto& zeilen = einheitenzeilen().nach_nummer;
    const int tage = tage_des_monats > 0 ? tage_des_monats : (monat >= 1 && monat <= 12) ? tage_im_monat(monat) : 1;
    auto skaliert = [&](const einheitenzeile& z) {
        return (monat > 0 && z.skalierung == "T") ? z.beta * tage : z.beta;
    };

    double c = 1.0, a_q = 0.0, f = 1.0, a_z = 0.0;
    const einheitenzeile* q = nullptr;
    for (const auto& z : zeilen)
        if (z.kuerzel == quelle && z.kennzeichen == kennzeichen) {
            q = &z;
            break;
        }
    const einheitenzeile* ziel = nullptr;
    if (q) {
        c = skaliert(*q);
        a_q = q->alpha;
        bool haupteinheit_bekannt = false;
        for (const auto& e : haupteinheiten()) haupteinheit_bekannt |= e.haupteinheit == q->haupteinheit;
        if (haupteinheit_bekannt) {
            for (const auto& z : zeilen)
                if (z.kuerzel == nach && z.kennzeichen == kennzeichen) {
                    ziel = &z;
                    break;
                }
        }
    } else {
        melde_unbekannt(quelle);
    }
    if (ziel && skaliert(*ziel) == 0.0) {
        // A factor of 0 cannot be inverted; the target side stays neutral.
        meldung(
            text_paar{"Fehler: Umrechnungsfaktor 0 für Einheit: ", "Error: conversion factor 0 for unit: "}
                    .text() +
                nach,
            "M", 'E');
        ziel = nullptr;
    } else if (!ziel) {
        melde_unbekannt(nach);
    }
    if (ziel) {
        f = skaliert(*ziel);
        a_z = ziel->alpha;
        r.bekannt = ziel->kuerzel;
    }
    r.faktor = c / f;
    r.offset = (a_q - a_z) / f;
    return r;
}

double umrechnen(double wert, const std::string& von, const std::string& nach, const std::string& kennzeichen,
                 int monat, int tage) {
    const umrechnen_struct u = umrechnungsfaktor(von, nach, kennzeichen, monat, tage);
    return u.faktor * wert + u.offset;
}

double in_haupteinheit(double wert, const std::string& einheit, int g) {
    const Einheit_struct& e = haupteinheiten().at(static_cast<size_t>(g));
    return umrechnen(wert, einheit, e.haupteinheit, e.kennzeichen, 1);
}

double in_ausgabeeinheit(double wert, int g) {
    const Einheit_struct& e = haupteinheiten().at(static_cast<size_t>(g));
    return umrechnen(wert, e.haupteinheit, e.ausgabe, e.kennzeichen, 0);
}

std::string kennzeichen_von_einheit(const std::string& einheit) {
    const std::string k = ohne_endleerzeichen(einheit);
    std::string code;
    for (const auto& z : einheitenzeilen().nach_schluessel)
        if (z.kuerzel == k) code = z.kennzeichen;
    return code;
}

void lese_ausgabe_einheiten() {
    const auto& zeilen = einheitenzeilen().nach_nummer;
    for (auto& e : haupteinheiten()) {
        for (const auto& z : zeilen) {
            if (z.kennzeichen == e.kennzeichen && z.ausgabe == "J") {
                e.ausgabe = z.kuerzel;
                break;
            }
        }
    }
}

void setze_ausgabeeinheit() {
    tabelle& t = tab(teinheit);
    if (!aktuelle_einheitenzeile(t)) return;
    const std::string code = t.text("Kennzeichen");
    transaktion tr(t);
    for (const auto& b : bedingungen_fuer_code(code)) t.setze_alle("Ausgabe", std::string("N"), b);
    t.bearbeiten();
    t.setze("Ausgabe", std::string("J"));
    t.speichern();
    tr.bestaetigen();
    lese_ausgabe_einheiten();
}

void uebernehme_physgroesse(int g) {
    tabelle& t = tab(teinheit);
    if (!aktuelle_einheitenzeile(t)) return;
    const Einheit_struct& e = haupteinheiten().at(static_cast<size_t>(g));
    t.bearbeiten();
    t.setze("PhysGroesse", e.name);
    t.setze("Haupteinheit", e.haupteinheit);
    t.setze("Kennzeichen", e.kennzeichen);
    t.speichern();
}

void setze_skalierung(bool pro_tag) {
    tabelle& t = tab(teinheit);
    if (!aktuelle_einheitenzeile(t)) return;
    t.bearbeiten();
    t.setze("Skalierung", std::string(pro_tag ? "T" : "N"));
    t.speichern();
}

void uebersetze_physgroesse() {
    tabelle& t = tab(teinheit);
    if (!t.ist_offen()) return;
    // Only rows whose stored name differs are written, so that a start in
    // the language the names are already in leaves the file untouched; a
    // write-protected database keeps its names (they are shown from the
    // quantity table anyway).
    const auto& zeilen = einheitenzeilen().nach_schluessel;
    std::vector<const Einheit_struct*> geaendert;
    for (const auto& e : haupteinheiten()) {
        const bool abweichend = std::any_of(zeilen.begin(), zeilen.end(), [&](const einheitenzeile& z) {
            return z.kennzeichen == e.kennzeichen && z.physgroesse != e.name;
        });
        if (abweichend) geaendert.push_back(&e);
    }
    if (geaendert.empty() || t.nur_lesbar()) return;
    transaktion tr(t);
    for (const Einheit_struct* e : geaendert)
        for (const auto& b : bedingungen_fuer_code(e->kennzeichen))
            // Two rows of one abbreviation and code would collide in the key
            // (Kuerzel, PhysGroesse); such a duplicate keeps its old name.
            t.setze_alle("PhysGroesse", e->name, b, true);
    tr.bestaetigen();
}

void einheiten_zuruecksetzen() {
    tabelle& t = tab(teinheit);
    if (!t.ist_offen()) {
        t.erster();  // reports the closed table
        return;
    }
    t.filter_aus();
    {
        transaktion tr(t);
        t.loesche_alle();
        schreibe_default_zeilen(t);
        tr.bestaetigen();
    }
    t.erster();
    lese_ausgabe_einheiten();
}

std::string beschriftung_mit_einheit(const std::string& name, const std::string& einheit,
                                     const std::string& dritter) {
    if (dritter.empty()) return name + " [" + einheit + "]";
    return name + " [" + einheit + "/" + dritter + "]";
}
