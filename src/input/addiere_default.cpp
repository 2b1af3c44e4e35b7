#include "input/addiere_default.h"

#include "data/tabellen_def.h"

#include <optional>
#include <stdexcept>

#include "data/sqlite_datei.h"
#include "input/demo_datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {

// Message text in the current language.
std::string tx(const char* deutsch, const char* englisch) { return text_paar{deutsch, englisch}.text(); }

// Test-word columns in their order.
const char* const AN_SPALTEN[] = {"Kopplungstyp", "AnzahlKol", "Ohne Kopplung", "Heizung",
                                  "LeistungWP", "Speicheraussent", "Kaltwassertemp"};
const char* const NUM_SPALTEN[] = {"zeitraum", "art", "optimierung", "strahlung",
                                   "sortierung", "speicher", "diffusestrahlung", "modelltypwp"};

bool beginnt_mit(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

// Concatenated code columns of the row `name` of a table; false when missing.
bool lese_codes(const std::filesystem::path& datei, const std::string& tabelle, const char* const* spalten,
                size_t anzahl, const std::string& name, std::string& wort) {
    sqlite_datei db(datei, false);
    std::string sql = "SELECT ";
    for (size_t i = 0; i < anzahl; ++i) sql += (i ? ", " : "") + sql_bezeichner(spalten[i]);
    sql += " FROM " + sql_bezeichner(tabelle) + " WHERE name = ?1";  // column names ignore case
    auto s = db.vorbereiten(sql);
    s.binde(1, name);
    if (!s.schritt()) return false;
    for (size_t i = 0; i < anzahl; ++i) wort += s.text(static_cast<int>(i)).value_or("");
    return true;
}

}  // namespace

const std::vector<std::string>& default_suffixe() {
    static const std::vector<std::string> s = {
        "_ZJEG_MAVN-N_st0",      "_EJEG_MAVN-N_st0",       "_ZJEG_MAVN-D_st1_p",    "_ZJEG_MAVN-D_st0_d",
        "_ZJEG_MAVN-D_st1_d",    "_ZJEG_MAVN-D_st1",       "_ZJEG_MAVN-N_st0-F",    "_ZJEG-E_MAVN-N-L_st0",
        "_ZJEG-L_MAVN-N-L_st0",  "_ZJEG-L_MAVN-N-L_st0_2", "_ZJEG-K_MAVN-N-L_st0",  "_ZJEG_MAVN-N_st1",
        "_ZJEG_MAVN-N_st1_pass", "_ZJEG_MAVN-N_st1-verl",  "_ZJEG-C_MAVN-N-L_st0",  "_ZJEG-C_MAVN-N-L_st1",
        "_ZJEG_MAVN-D_st0",      "_ZJEG_MAVN-T_st1",       "_ZJEG_JAVN-D_st1",      "_ZJEG_JAVN-N_st1",
        "_ZJEG_JAVN-N_st1-verl", "_ZJEG_IAAN-N_st0",       "_ZJEG_IAAN-N_st2",      "_ZJEG_IAAN-D_st0",
        "_ZJEG_IAAN-D_st2",      "_ZJEG_IAAN-D-E_st2",     "_ZJEG_IAAN-M_st0",      "_ENEG_MAVN-N_st0",
        "_ENEG-E_MAVN-N_st0",    "_EJEG_MAVN-N_st1",       "_EJEG_MAVN-D_st0",      "_EJEG_MAVN-D_st1",
        "_EJEG_JAVN-D_st1",      "_EJEG_IAAN-N_st0",       "_EJEG_IAAN-N_st2",      "_EJEG_IAAN-D_st0",
        "_EJEG_IAAN-D_st0_d",    "_EJEG_IAAN-D_st2",       "_EJEG_IAAN-M_st0",      "_ir_T_EJEG_IAAN-T_st0",
        "_ir_D_EJEG_IAAN-D_st0", "_EJEG_IAAN-T_st0"};
    return s;
}

default_variante zerlege_default_suffix(const std::string& suffix) {
    default_variante v;
    v.suffix = suffix;
    std::string rest = suffix;
    auto fehler = [&] { return std::invalid_argument("Unbekannter Testdatensatz: " + suffix); };
    if (beginnt_mit(rest, "_ir_T_")) {
        v.aenderungen.push_back({"ir_ta_m", "ir_test_taeglich"});
        rest.erase(0, 5);
    } else if (beginnt_mit(rest, "_ir_D_")) {
        v.aenderungen.push_back({"ir_ta_m", "ir_test_stuendlich"});
        rest.erase(0, 5);
    }
    // "_an_num_stN..." : the groups are separated by '_' and the store group starts with "st".
    if (rest.empty() || rest[0] != '_') throw fehler();
    const auto a = rest.find('_', 1);
    if (a == std::string::npos) throw fehler();
    v.an = rest.substr(1, a - 1);
    const auto n = rest.find("_st", a + 1);
    if (n == std::string::npos) throw fehler();
    v.num = rest.substr(a + 1, n - a - 1);
    if (n + 4 > rest.size() || rest[n + 3] < '0' || rest[n + 3] > '2') throw fehler();
    v.steuerspeicher = rest.substr(n + 1, 3);
    const std::string extra = rest.substr(n + 4);
    if (v.an.empty() || v.num.empty()) throw fehler();

    std::string langspei = v.steuerspeicher == "st0" ? "" : "lsp20m3";
    if (extra == "-F") {
        v.aenderungen.push_back({"lock", "F"});
    } else if (extra == "_p" || extra == "_d") {
        v.aenderungen.push_back({"eh_m", "eh0" + extra});
        v.aenderungen.push_back({"ew_m", "ew0" + extra});
    } else if (extra == "_pass") {
        v.aenderungen.push_back({"eh_m", "eh_passiv"});
    } else if (extra == "_2") {
        v.aenderungen.push_back({"lage", "l0_2"});
    } else if (extra == "-verl") {
        langspei = "lsp20m3-verl";
    } else if (!extra.empty()) {
        throw fehler();
    }
    if (!langspei.empty()) v.aenderungen.push_back({"langspei", langspei});
    if (v.an.size() >= 2 && v.an.compare(v.an.size() - 2, 2, "-K") == 0) {
        v.aenderungen.push_back({"kolu", "Euro C 20 lin"});
        v.aenderungen.push_back({"kolo", "Euro C 20 lin"});
    }
    return v;
}

std::vector<std::pair<std::string, std::string>> default_werte() {
    // The listed defaults mapped to the columns they name. The list has no heat
    // exchanger and one store too few: gwt0 and the null long-term store sp0 fill
    // those columns; its unnamed store row is the buffer store sp1m3, and sp10m3
    // the intermediate store.
    return {{"name", "test"},
            {"land", "D"},
            {"bezirk", "Niedersachsen"},
            {"ort", "Braunschweig"},
            {"kundennummer", "1"},
            {"ausgabefile", "test_ausgabe"},
            {"steuer", "test_steuer"},
            {"ir_ta_m", "ir_braunschweig_in_kWh"},
            {"te", "te0"},
            {"ew_m", "ew0"},
            {"eh_m", "eh0"},
            {"ee", "ee1"},
            {"tw", "tw0"},
            {"th", "th0"},
            {"rw", "rw0"},
            {"rh", "rh0"},
            {"kolu", "Euro C 20"},
            {"kolo", "Euro C 20"},
            {"gwt", "gwt0"},
            {"lage", "l0"},
            {"ko", "ko0"},
            {"wpww", "wp0"},
            {"wpwe", "wp0"},
            {"an", "ZJEG"},
            {"num", "MAVN-N"},
            {"steuerspeicher", "st0"},
            {"gas", "g0"},
            {"preis", "pwp"},
            {"kraft", "k0"},
            {"kalk", "kalk0"},
            {"rech", "r45"},
            {"zelle", "z0"},
            {"spei", "sp1m3"},
            {"zwischenspei", "sp10m3"},
            {"langspei", "sp0"},
            {"zubehoer", "ek_e_i"},
            {"sub", "sub0"},
            {"unter_liste", "uliste0"},
            {"lock", "NF"},
            {"info", "default"}};
}

namespace {

// Builds the word; with `kontrolle` records it there unless present.
std::string bilde_testwort(const std::filesystem::path& db_verzeichnis, const std::string& an,
                           const std::string& num, sqlite_datei* kontrolle) {
    std::string wort;
    try {
        if (!lese_codes(demo_tabellendatei(db_verzeichnis, "AN"), "an", AN_SPALTEN, std::size(AN_SPALTEN), an, wort)) {
            meldung(tx("Fehler: Datensatz existiert nicht in Datenbank: an ", "Error: data set does not exist in database: an ") + an,
                    "M", 'T');
        }
        if (!lese_codes(demo_tabellendatei(db_verzeichnis, "NUM"), "num", NUM_SPALTEN, std::size(NUM_SPALTEN), num,
                        wort)) {
            meldung(tx("Fehler: Datensatz existiert nicht in Datenbank: num ", "Error: data set does not exist in database: num ") +
                        num,
                    "M", 'T');
        }
        if (kontrolle) {
            auto s = kontrolle->vorbereiten("INSERT OR IGNORE INTO kontrolle (kennung, an, num) VALUES (?1, ?2, ?3)");
            s.binde(1, wort);
            s.binde(2, an);
            s.binde(3, num);
            s.schritt();
        }
    } catch (const sqlite_fehler& e) {
        meldung(tx("Fehler: Testwort nicht erzeugt: ", "Error: test word not built: ") + e.what(), "M", 'T');
    }
    return wort;
}

}  // namespace

std::string erzeuge_testwort(const std::filesystem::path& db_verzeichnis, const std::string& an,
                             const std::string& num, char modus) {
    if (modus != 'I') return bilde_testwort(db_verzeichnis, an, num, nullptr);
    std::optional<sqlite_datei> kontrolle;
    try {
        kontrolle.emplace(demo_tabellendatei(db_verzeichnis, "KONTROLLE"), false);
    } catch (const sqlite_fehler& e) {
        meldung(tx("Fehler: Testwort nicht erzeugt: ", "Error: test word not built: ") + e.what(), "M", 'T');
    }
    return bilde_testwort(db_verzeichnis, an, num, &*kontrolle);
}

int addiere_default(const std::filesystem::path& db_verzeichnis) {
    const auto basis = default_werte();
    std::string sql = "INSERT INTO haupt (";
    std::string werte = ") VALUES (";
    for (size_t i = 0; i < basis.size(); ++i) {
        sql += (i ? ", " : "") + sql_bezeichner(basis[i].first);
        werte += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    sql += werte + ")";

    int eingefuegt = 0;
    try {
        // Both tables are written in one transaction each, committed at the end.
        sqlite_datei db(demo_tabellendatei(db_verzeichnis, "HAUPT"), false);
        sqlite_datei kontrolle(demo_tabellendatei(db_verzeichnis, "KONTROLLE"), false);
        auto s = db.vorbereiten(sql);
        db.ausfuehren("BEGIN");
        kontrolle.ausfuehren("BEGIN");
        for (const std::string& suffix : default_suffixe()) {
            const default_variante v = zerlege_default_suffix(suffix);
            auto zeile = basis;
            auto setze = [&](const std::string& spalte, const std::string& wert) {
                for (auto& [name, w] : zeile)
                    if (name == spalte) w = wert;
            };
            setze("name", "test" + suffix);
            setze("ausgabefile", "test_ausgabe" + suffix);
            setze("steuer", "test_steuer" + suffix);
            setze("an", v.an);
            setze("num", v.num);
            setze("steuerspeicher", v.steuerspeicher);
            for (const auto& [spalte, wert] : v.aenderungen) setze(spalte, wert);
            for (size_t i = 0; i < zeile.size(); ++i) s.binde(static_cast<int>(i + 1), zeile[i].second);
            try {
                s.schritt();
                ++eingefuegt;
            } catch (const sqlite_fehler& e) {
                if ((e.code & 0xff) != 19 /* SQLITE_CONSTRAINT */) throw;
                meldung(tx("Warnung: Datensatz existiert bereits: test", "Warning: data set exists already: test") + suffix, "S",
                        'W');
            }
            s.zuruecksetzen();
            bilde_testwort(db_verzeichnis, v.an, v.num, &kontrolle);
        }
        db.ausfuehren("COMMIT");
        kontrolle.ausfuehren("COMMIT");
    } catch (const sqlite_fehler& e) {
        meldung(tx("Fehler: Addiere Default: ", "Error: Addiere Default: ") + e.what(), "M", 'T');
    }
    return eingefuegt;
}
