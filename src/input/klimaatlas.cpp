#include "input/klimaatlas.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "data/zahltext.h"
#include "input/sonnengeometrie.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebnisdatei_lesen.h"

namespace fs = std::filesystem;
using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar zeitintervall{"Fehler: Erst Zeitintervall eingeben", "Error: Enter the time interval first"};
constexpr text_paar diffus{"Fehler: Keine Monatswerte für diffuse Einstrahlung",
                           "Error: No monthly values for diffuse irradiation"};
constexpr text_paar stationsliste{"Fehler: Stationsliste kann nicht gelesen werden: ",
                                  "Error: station list cannot be read: "};
constexpr text_paar kein_datensatz{"Fehler: Kein aktueller Datensatz in Tabelle ir_ta_m",
                                   "Error: no current record in table ir_ta_m"};
constexpr text_paar jahr_fehlt{"Fehler: Jahr nicht in der Datei: ", "Error: year not in the file: "};
constexpr text_paar zu_viele_spalten{"Fehler: Zu viele Spalten in der Beschreibung der Klimadaten: ",
                                     "Error: too many columns in the description of the climate data: "};
constexpr text_paar station_fehlt{"Fehler: Station nicht in der Stationsliste: ", "Error: station not in the station list: "};
}  // namespace txt

constexpr int BREITEN[8] = {5, 40, 7, 8, 5, 6, 5, 5};
// Far above any station list or series file; a larger file is not read.
constexpr std::uintmax_t MAX_DATEIGROESSE = 256u << 20;
constexpr int ANZ_STATIONSSPALTEN = 32;
constexpr size_t FELDPUFFER = 40;

std::string trimmen(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// Latin-1 bytes of older files as UTF-8; valid UTF-8 stays.
std::string als_utf8(const std::string& s) {
    bool ascii = std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return s;
    bool gueltig = true;
    for (size_t i = 0; i < s.size() && gueltig;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        if (c >= 0x80) n = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 99;
        if (n == 99) gueltig = false;
        for (size_t k = 1; k <= n && gueltig; ++k)
            gueltig = i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        i += n + 1;
    }
    if (gueltig) return s;
    std::string r;
    for (unsigned char c : s) {
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

// At most n characters of a UTF-8 text.
std::string kuerzen(const std::string& s, size_t n) {
    size_t zeichen = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (zeichen == n) return s.substr(0, i);
            ++zeichen;
        }
    }
    return s;
}

const klimadaten_beschreibung& beschreibung(atlas_aufloesung a) {
    const einstellungen_daten& e = einstellungen();
    return a == atlas_aufloesung::monat ? e.monatsmittel : a == atlas_aufloesung::tag ? e.tagesmittel : e.stundenmittel;
}

bool ist_schaltjahr(int jahr) { return jahr % 4 == 0; }

int tage(int monat, bool schaltjahr) {
    static constexpr int t[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return monat == 2 && schaltjahr ? 29 : t[monat];
}

// The data lines of a file after the lines to skip.
std::optional<std::vector<std::string>> datenzeilen(const fs::path& datei, int ueberlesen) {
    std::error_code ec;
    if (!fs::is_regular_file(datei, ec) || fs::file_size(datei, ec) > MAX_DATEIGROESSE) return std::nullopt;
    std::ifstream ein(datei, std::ios::binary);
    if (!ein) return std::nullopt;
    std::vector<std::string> z;
    std::string zeile;
    for (int i = 0; std::getline(ein, zeile); ++i)
        if (i >= ueberlesen) z.push_back(zeile);
    return z;
}

std::optional<int> erste_zahl(const std::string& zeile) {
    std::istringstream s(zeile);
    std::string w;
    if (!(s >> w)) return std::nullopt;
    if (const auto c = w.find(','); c != std::string::npos) w.erase(c);
    return lies_ganzzahl(w);
}

// One series of one year read through the table reader: rows x (leading
// numbers + values). Empty on failure (reported by the reader).
struct block {
    int zeilen = 0, spalten = 0;
    dat3d werte;
};

std::optional<block> lies_block(atlas_aufloesung a, const fs::path& datei, int jahr) {
    const klimadaten_beschreibung& d = beschreibung(a);
    TSDaten b;
    b.lscheibe = 1;
    if (a == atlas_aufloesung::monat) {
        b.azeile = d.zeilen_ueberlesen;
        b.bspalte = 0;
        b.nzeile = d.zeilen;
        b.mspalte = d.spalten_ueberlesen + d.spalten;
    } else {
        // The block of the chosen year: the lines before it are skipped.
        const auto z = datenzeilen(datei, d.zeilen_ueberlesen);
        int vorher = -1, anzahl = 0;
        if (z) {
            for (size_t i = 0; i < z->size(); ++i) {
                if (erste_zahl((*z)[i]) != jahr) continue;
                if (vorher < 0) vorher = static_cast<int>(i);
                ++anzahl;
            }
        }
        if (z && vorher < 0) {
            meldung(txt::jahr_fehlt.text() + std::to_string(jahr) + ", " + datei.string(), "M", 'E');
            return std::nullopt;
        }
        b.azeile = d.zeilen_ueberlesen + std::max(vorher, 0);
        b.bspalte = 0;
        b.nzeile = anzahl;
        b.mspalte = d.spalten_ueberlesen + d.spalten;
    }
    if (b.mspalte > MAXSPALTEN) {
        meldung(txt::zu_viele_spalten.text() + std::to_string(b.mspalte), "M", 'E');
        return std::nullopt;
    }
    parreadtab tab;
    tab.name = datei.string();
    block ergebnis;
    bool ok = true;
    lese_tabelle(ergebnis.werte, tab, b, ok, 'r');
    if (!ok || ergebnis.werte.scheiben() < 1) return std::nullopt;
    ergebnis.zeilen = ergebnis.werte.zeilen(1);
    ergebnis.spalten = ergebnis.werte.spalten();
    return ergebnis;
}

// Values of one series: month -> number -> value (monthly files: number 0).
using reihe = std::map<int, std::map<int, double>>;

std::optional<reihe> lies_reihe(atlas_aufloesung a, const fs::path& datei, int jahr, double faktor) {
    const auto b = lies_block(a, datei, jahr);
    if (!b) return std::nullopt;
    const int vorn = beschreibung(a).spalten_ueberlesen;
    const bool schalt = ist_schaltjahr(jahr);
    reihe r;
    auto wert = [&](int zeile, int spalte) { return b->werte.wert(zeile, vorn + spalte, 1) * faktor; };
    if (a == atlas_aufloesung::monat) {
        for (int m = 1; m <= 12 && vorn + m <= b->spalten; ++m) r[m][0] = wert(1, m);
    } else if (a == atlas_aufloesung::tag) {
        // Line r is month r; day columns beyond the month's length are left.
        for (int m = 1; m <= 12 && m <= b->zeilen; ++m)
            for (int d = 1; d <= tage(m, schalt) && vorn + d <= b->spalten; ++d) r[m][d] = wert(m, d);
    } else {
        // Line k is day k of the year, 365 days plus the leap day.
        int monat = 1, tag = 1;
        for (int k = 1; k <= b->zeilen && monat <= 12; ++k) {
            for (int j = 1; j <= 24 && vorn + j <= b->spalten; ++j) r[monat][(tag - 1) * 24 + j] = wert(k, j);
            if (++tag > tage(monat, schalt)) {
                tag = 1;
                ++monat;
            }
        }
    }
    return r;
}

std::string praefix(atlas_groesse g, bool maximum) {
    switch (g) {
        case atlas_groesse::global:
            return "gr";
        case atlas_groesse::diffus:
            return "dr";
        default:
            return maximum ? "tx" : "tn";
    }
}

}  // namespace

std::vector<std::string> zerlege_stationszeile(const std::string& zeile) {
    std::vector<std::string> f;
    size_t pos = 0;
    for (int i = 0; i < ANZ_STATIONSSPALTEN; ++i) {
        const size_t breite = static_cast<size_t>(i < 8 ? BREITEN[i] : 2);
        std::string feld = pos < zeile.size() ? zeile.substr(pos, breite) : std::string();
        pos += breite;
        feld = trimmen(feld);
        if (feld.size() > FELDPUFFER) feld.resize(FELDPUFFER);
        f.push_back(als_utf8(feld));
    }
    return f;
}

int lies_stationsliste(const fs::path& datei) {
    std::error_code ec;
    std::ifstream ein;
    if (fs::is_regular_file(datei, ec) && fs::file_size(datei, ec) <= MAX_DATEIGROESSE)
        ein.open(datei, std::ios::binary);
    if (!ein) {
        meldung(txt::stationsliste.text() + datei.string(), "M", 'E');
        return -1;
    }
    tabelle& w = tab_zum_schreiben(twmo);
    if (!w.ist_offen()) return -1;
    w.abbrechen();
    std::map<std::string, bool> vorhanden;
    const int s_wmo = w.spalten_index("wmo");
    for (const auto& z : w.lies_alle({"wmo"})) vorhanden[als_text(z[static_cast<size_t>(s_wmo)])] = true;
    int neu = 0;
    transaktion t(w);
    std::string zeile;
    while (std::getline(ein, zeile)) {
        if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
        const auto f = zerlege_stationszeile(zeile);
        if (f[0].empty() || vorhanden.count(f[0])) continue;
        w.einfuegen();
        for (int i = 0; i < ANZ_STATIONSSPALTEN && i < w.spaltenanzahl(); ++i)
            w.setze(i, f[static_cast<size_t>(i)].empty() ? feldwert() : feldwert(f[static_cast<size_t>(i)]));
        w.speichern();
        vorhanden[f[0]] = true;
        ++neu;
    }
    t.bestaetigen();
    w.aktualisiere();
    return neu;
}

importvorbereitung vor_aufruf() {
    importvorbereitung v;
    tabelle& wetter = tab(tir_ta_m);
    if (!wetter.ist_offen() || !wetter.hat_zeile()) {
        meldung(txt::kein_datensatz.text(), "M", 'E');
        return v;
    }
    const std::string zi = wetter.text("zeitintervall");
    if (zi.empty()) {
        meldung(txt::zeitintervall.text(), "M", 'E');
        return v;
    }
    if (zi == "D") {
        meldung(txt::diffus.text(), "M", 'E');
        return v;
    }
    lies_stationsliste(einstellungen().stationsliste.pfad);
    const feldwert eins(std::string("1"));
    if (zi == "K") {
        v.aufloesungen = {atlas_aufloesung::monat};
        v.stationsfilter = {{"mon_taegl_globale_einst", "=", eins},
                            {"mon_taegl_temperaturmax", "=", eins},
                            {"mon_taegl_temperaturmin", "=", eins}};
    } else if (zi == "T") {
        v.aufloesungen = {atlas_aufloesung::tag, atlas_aufloesung::monat};
        v.stationsfilter = {{"t_globale_einstrahlung_", "=", eins},
                            {"t_temperaturmaximum", "=", eins},
                            {"t_temperaturminimum", "=", eins}};
    } else {
        v.aufloesungen = {atlas_aufloesung::stunde, atlas_aufloesung::monat};
        v.stationsfilter = {{"s_globale_einstrahlung", "=", eins}};
    }
    tabelle& w = tab(twmo);
    if (w.ist_offen()) {
        w.setze_filter(v.stationsfilter);
        w.erster();
    }
    v.ok = true;
    return v;
}

fs::path atlasdatei(atlas_aufloesung a, const std::string& p, const std::string& station) {
    return beschreibung(a).pfad / (p + station + ".txt");
}

std::vector<int> jahre_ermitteln(const fs::path& datei, atlas_aufloesung a) {
    std::vector<int> jahre;
    const auto z = datenzeilen(datei, beschreibung(a).zeilen_ueberlesen);
    if (!z) {
        meldung(text_paar{"Fehler: Falsches Datenformat", "Error: Wrong data format"}.text() + ": " + datei.string(),
                "M", 'E');
        return jahre;
    }
    for (const auto& zeile : *z)
        if (const auto j = erste_zahl(zeile); j && std::find(jahre.begin(), jahre.end(), *j) == jahre.end())
            jahre.push_back(*j);
    return jahre;
}

char teste_schaltjahr(int jahr) {
    const bool schalt = ist_schaltjahr(jahr);
    einstellungen().monatstage[2] = schalt ? 29 : 28;
    return schalt ? 'Y' : 'N';
}

bool daten_einlesen(atlas_aufloesung a, atlas_groesse g, const std::string& station, int jahr, double norm_ir,
                    double norm_ta) {
    tabelle& wetter = tab(tir_ta_m);
    if (!wetter.ist_offen() || !wetter.hat_zeile()) {
        meldung(txt::kein_datensatz.text(), "M", 'E');
        return false;
    }
    wetter.abbrechen();
    const std::string name = wetter.text("name");
    const std::string zeitintervall = wetter.text("zeitintervall");

    // The station's row of the catalogue.
    tabelle& w = tab(twmo);
    std::vector<feldwert> stationszeile;
    if (w.ist_offen()) {
        const int s = w.spalten_index("wmo");
        for (auto& z : w.lies_alle({"wmo"}))
            if (als_text(z[static_cast<size_t>(s)]) == station) stationszeile = std::move(z);
    }
    if (stationszeile.empty()) {
        meldung(txt::station_fehlt.text() + station, "M", 'E');
        return false;
    }
    auto stationsfeld = [&](const char* spalte) {
        return als_text(stationszeile[static_cast<size_t>(w.spalten_index(spalte))]);
    };
    const double breite = lies_zahl(stationsfeld("breite")).value_or(0.0) / 100.0;
    const double laenge = lies_zahl(stationsfeld("laenge")).value_or(0.0) / 100.0;

    // Read everything first: a file that cannot be read writes nothing.
    const bool temperatur = g == atlas_groesse::temperatur;
    const double faktor = temperatur ? norm_ta : norm_ir;
    const auto erste = lies_reihe(a, atlasdatei(a, praefix(g, false), station), jahr, faktor);
    if (!erste) return false;
    std::optional<reihe> zweite;
    if (temperatur) {
        zweite = lies_reihe(a, atlasdatei(a, praefix(g, true), station), jahr, faktor);
        if (!zweite) return false;
    }

    std::vector<std::pair<std::string, feldwert>> monatsfelder = {
        {"ort", feldwert(kuerzen(stationsfeld("name"), 20))},
        {"wmo", feldwert(station)},
        {"land", feldwert(kuerzen(stationsfeld("land"), 20))},
        {"breite", feldwert(breite)},
        {"laenge", feldwert(laenge)}};
    if (a == atlas_aufloesung::monat) {
        for (int m = 1; m <= 12; ++m) {
            const std::string k = std::to_string(m);
            auto wert = [&](const reihe& r) {
                const auto it = r.find(m);
                return it == r.end() ? feldwert() : feldwert(it->second.at(0));
            };
            if (g == atlas_groesse::global) monatsfelder.push_back({"ir" + k, wert(*erste)});
            if (g == atlas_groesse::diffus) monatsfelder.push_back({"diff" + k, wert(*erste)});
            if (temperatur) {
                monatsfelder.push_back({"ta" + k + "min", wert(*erste)});
                monatsfelder.push_back({"ta" + k + "max", wert(*zweite)});
            }
        }
    } else {
        tabelle& d = tab_zum_schreiben(tir_ta_d);
        if (!d.ist_offen()) return false;
        d.abbrechen();
        // Rows of the record already there: month -> numbers.
        std::map<int, std::map<int, bool>> da;
        const int s_name = d.spalten_index("name"), s_monat = d.spalten_index("monat"), s_nr = d.spalten_index("nummer");
        for (const auto& z : d.lies_alle(d.schluesselspalten()))
            if (als_text(z[static_cast<size_t>(s_name)]) == name)
                da[static_cast<int>(als_zahl(z[static_cast<size_t>(s_monat)]))]
                  [static_cast<int>(als_zahl(z[static_cast<size_t>(s_nr)]))] = true;
        const bool stuendlich = a == atlas_aufloesung::stunde;
        const char* spalte = g == atlas_groesse::global ? "ir_g" : g == atlas_groesse::diffus ? "ir_d" : "tamin";
        transaktion t(d);
        for (const auto& [m, werte] : *erste) {
            const double tageslaenge = runde_dezimal(sonne::tageslaenge(m, breite, tage(m, ist_schaltjahr(jahr))).stunden, 3);
            for (const auto& [nr, x] : werte) {
                std::vector<std::pair<const char*, feldwert>> f;
                f.reserve(4);
                f.emplace_back(spalte, feldwert(x));
                if (temperatur) f.push_back({"tamax", feldwert(zweite->at(m).at(nr))});
                f.push_back({"h", feldwert(stuendlich ? 1.0 : tageslaenge)});
                f.push_back({"hm", feldwert(stuendlich ? static_cast<double>((nr - 1) % 24 + 1) : 12.0)});
                const std::vector<filterbedingung> schluessel = {{"name", "=", feldwert(name)},
                                                                 {"monat", "=", feldwert(int64_t{m})},
                                                                 {"nummer", "=", feldwert(int64_t{nr})}};
                if (da[m].count(nr)) {
                    for (const auto& [s, v] : f) d.setze_alle(s, v, schluessel);
                } else {
                    d.einfuegen();
                    d.setze("name", feldwert(name));
                    d.setze("monat", feldwert(int64_t{m}));
                    d.setze("nummer", feldwert(int64_t{nr}));
                    for (const auto& [s, v] : f) d.setze(s, v);
                    d.setze("zeitintervall", feldwert(zeitintervall));
                    d.speichern();
                    da[m][nr] = true;
                }
            }
        }
        for (int m = 1; m <= 12; ++m)
            monatsfelder.push_back({"m" + std::to_string(m), feldwert(static_cast<int64_t>(da[m].size()))});
        try {
            transaktion tw(wetter);
            wetter.bearbeiten();
            for (const auto& [s, v] : monatsfelder) wetter.setze(s, v);
            wetter.speichern();
            tw.bestaetigen();
        } catch (...) {
            wetter.abbrechen();
            throw;
        }
        t.bestaetigen();
        d.aktualisiere();
        teste_schaltjahr(jahr);
        return true;
    }
    try {
        transaktion tw(wetter);
        wetter.bearbeiten();
        for (const auto& [s, v] : monatsfelder) wetter.setze(s, v);
        wetter.speichern();
        tw.bestaetigen();
    } catch (...) {
        wetter.abbrechen();
        throw;
    }
    return true;
}
