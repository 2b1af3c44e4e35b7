#include "input/demo_datenbank.h"

#include "data/tabellen_schema.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "data/sqlite_datei.h"
#include "input/addiere_default.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace fs = std::filesystem;

namespace {

// Message text in the current language.
std::string tx(const char* deutsch, const char* englisch) { return text_paar{deutsch, englisch}.text(); }

// A malformed source: file, line and what is wrong.
struct quellfehler {
    std::string text;
};

std::string ort(const fs::path& datei, size_t zeile) {
    return datei.string() + tx(", Zeile ", ", line ") + std::to_string(zeile);
}

// Number of characters of a UTF-8 text.
size_t zeichenzahl(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// One CSV record: the fields and whether each was quoted.
struct feld {
    std::string text;
    bool quotiert = false;
};

// Splits the file text into records; `zeilen` receives the line of each record.
std::vector<std::vector<feld>> lese_csv(const fs::path& datei, std::vector<size_t>& zeilen) {
    std::ifstream ein(datei, std::ios::binary);
    if (!ein) throw quellfehler{datei.string() + tx(": Datei fehlt", ": file missing")};
    std::string inhalt((std::istreambuf_iterator<char>(ein)), std::istreambuf_iterator<char>());
    std::vector<std::vector<feld>> saetze;
    size_t zeile = 1, i = 0;
    const size_t n = inhalt.size();
    while (i < n) {
        std::vector<feld> satz;
        zeilen.push_back(zeile);
        const size_t start_zeile = zeile;
        while (true) {
            feld f;
            if (i < n && inhalt[i] == '"') {
                f.quotiert = true;
                ++i;
                while (true) {
                    if (i >= n) throw quellfehler{ort(datei, start_zeile) + tx(": Anführungszeichen nicht geschlossen", ": quote not closed")};
                    if (inhalt[i] == '"') {
                        if (i + 1 < n && inhalt[i + 1] == '"') {
                            f.text += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (inhalt[i] == '\n') ++zeile;
                    f.text += inhalt[i++];
                }
                if (i < n && inhalt[i] != ',' && inhalt[i] != '\n' && inhalt[i] != '\r')
                    throw quellfehler{ort(datei, zeile) + tx(": Text nach schließendem Anführungszeichen", ": text after closing quote")};
            } else {
                while (i < n && inhalt[i] != ',' && inhalt[i] != '\n' && inhalt[i] != '\r') {
                    if (inhalt[i] == '"')
                        throw quellfehler{ort(datei, zeile) + tx(": Anführungszeichen in ungequotetem Feld", ": quote inside an unquoted field")};
                    f.text += inhalt[i++];
                }
            }
            satz.push_back(std::move(f));
            if (i < n && inhalt[i] == ',') {
                ++i;
                continue;
            }
            if (i < n && inhalt[i] == '\r') ++i;
            if (i < n && inhalt[i] == '\n') {
                ++i;
                ++zeile;
            }
            break;
        }
        saetze.push_back(std::move(satz));
    }
    return saetze;
}

// Binds one CSV field as the value of column `s`; throws quellfehler when it
// does not fit the column.
void binde_feld(sqlite_anweisung& a, int i, const feld& f, const spalten_def& s, const std::string& wo) {
    if (f.text.empty() && !f.quotiert) {
        if (s.pflicht) throw quellfehler{wo + tx(": Spalte ", ": column ") + s.name + tx(" darf nicht leer sein", " must not be empty")};
        a.binde_null(i);
        return;
    }
    if (ist_text(s.typ)) {
        if (s.typ == spaltentyp::text && s.breite > 0 && zeichenzahl(f.text) > static_cast<size_t>(s.breite))
            throw quellfehler{wo + tx(": Spalte ", ": column ") + s.name + tx(" länger als ", " longer than ") +
                              std::to_string(s.breite) + tx(" Zeichen", " characters")};
        a.binde(i, f.text);
        return;
    }
    const char* p = f.text.c_str();
    char* ende = nullptr;
    errno = 0;
    if (s.typ == spaltentyp::real) {
        const double d = std::strtod(p, &ende);
        if (f.quotiert || ende == p || *ende != '\0' || errno != 0 || !std::isfinite(d))
            throw quellfehler{wo + tx(": Spalte ", ": column ") + s.name + tx(": keine Zahl: \"", ": not a number: \"") + f.text + "\""};
        a.binde(i, d);
    } else {
        const long long w = std::strtoll(p, &ende, 10);
        const bool bereich = s.typ != spaltentyp::integer || (w >= -2147483648LL && w <= 2147483647LL);
        if (f.quotiert || ende == p || *ende != '\0' || errno != 0 || !bereich)
            throw quellfehler{wo + tx(": Spalte ", ": column ") + s.name + tx(": keine ganze Zahl: \"", ": not an integer: \"") + f.text +
                              "\""};
        a.binde(i, static_cast<int64_t>(w));
    }
}

void baue_tabelle(const tabellen_def& t, const fs::path& csv, const fs::path& datei) {
    std::vector<size_t> zeilen;
    const auto saetze = lese_csv(csv, zeilen);
    if (saetze.empty()) throw quellfehler{ort(csv, 1) + tx(": Kopfzeile fehlt", ": header line missing")};
    const auto& kopf = saetze[0];
    bool kopf_ok = kopf.size() == t.spalten.size();
    for (size_t i = 0; kopf_ok && i < kopf.size(); ++i) kopf_ok = kopf[i].text == t.spalten[i].name;
    if (!kopf_ok) throw quellfehler{ort(csv, 1) +
                                     tx(": Kopfzeile entspricht nicht den Spalten der Tabelle ",
                                        ": header line does not match the columns of table ") +
                                     t.sql_name};

    sqlite_datei db(datei, true);
    db.ausfuehren("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    db.ausfuehren(tabellen_ddl(t));
    std::string sql = "INSERT INTO " + sql_bezeichner(t.sql_name) + " VALUES (";
    for (size_t i = 0; i < t.spalten.size(); ++i) sql += (i ? ",?" : "?");
    auto einfuegen = db.vorbereiten(sql + ")");
    db.ausfuehren("BEGIN");
    for (size_t z = 1; z < saetze.size(); ++z) {
        const std::string wo = ort(csv, zeilen[z]);
        if (saetze[z].size() != t.spalten.size())
            throw quellfehler{wo + ": " + std::to_string(saetze[z].size()) + tx(" Felder statt ", " fields instead of ") +
                              std::to_string(t.spalten.size())};
        for (size_t i = 0; i < t.spalten.size(); ++i)
            binde_feld(einfuegen, static_cast<int>(i + 1), saetze[z][i], t.spalten[i], wo);
        try {
            einfuegen.schritt();
        } catch (const sqlite_fehler& e) {
            throw quellfehler{wo + ": " + e.what()};
        }
        einfuegen.zuruecksetzen();
    }
    db.ausfuehren("COMMIT");
}

}  // namespace

fs::path demo_quellverzeichnis() {
    // An installed program keeps the text source in <prefix>/share/varnek/demo beside
    // <prefix>/bin; a build tree uses the source tree.
    std::error_code ec;
    const fs::path programm = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installiert = programm.parent_path().parent_path() / "share" / "varnek" / "demo";
        if (fs::is_directory(installiert / "tabellen", ec)) return installiert;
    }
    return fs::path(VARNEK_SOURCE_DIR) / "data" / "demo";
}

fs::path demo_tabellendatei(const fs::path& verzeichnis, const std::string& schluessel) {
    return verzeichnis / (schluessel + ".sqlite");
}

std::vector<demo_tabelle> demo_schema() {
    std::vector<demo_tabelle> r;
    for (int i = 0; i < ANZ_TABELLEN; ++i) r.push_back({tabellenschluessel(i), tabellenschema(i)});
    return r;
}

void baue_default_datenbank(const fs::path& quelle, const fs::path& ziel, const std::vector<demo_tabelle>& schema) {
    std::vector<fs::path> angelegt;
    auto aufraeumen = [&] {
        std::error_code ec;
        for (const auto& d : angelegt) fs::remove(d, ec);
    };
    std::string fehler;
    try {
        std::error_code ec;
        fs::create_directories(ziel, ec);
        for (const auto& t : schema) {
            const fs::path datei = demo_tabellendatei(ziel, t.schluessel);
            if (fs::exists(datei)) throw quellfehler{datei.string() + tx(": Tabellendatei existiert bereits", ": table file exists")};
            angelegt.push_back(datei);
            baue_tabelle(t.def, quelle / "tabellen" / (t.def.sql_name + ".csv"), datei);
        }
        addiere_default(ziel);
    } catch (const quellfehler& e) {
        fehler = e.text;
    } catch (const abbruch&) {
        aufraeumen();
        throw;
    } catch (const std::exception& e) {
        fehler = e.what();
    }
    if (!fehler.empty()) {
        aufraeumen();
        meldung(tx("Fehler: Default-Datenbank nicht angelegt: ", "Error: default database not created: ") + fehler,
                "M", 'T');
    }
}

void baue_demo_tabelle(const demo_tabelle& t, const fs::path& csv, const fs::path& datei) {
    std::string fehler;
    try {
        if (fs::exists(datei)) throw quellfehler{datei.string() + tx(": Tabellendatei existiert bereits", ": table file exists")};
        try {
            baue_tabelle(t.def, csv, datei);
        } catch (...) {
            std::error_code ec;
            fs::remove(datei, ec);
            throw;
        }
    } catch (const quellfehler& e) {
        fehler = e.text;
    } catch (const std::exception& e) {
        fehler = e.what();
    }
    if (!fehler.empty()) meldung(tx("Fehler: Tabelle nicht angelegt: ", "Error: table not created: ") + fehler, "M", 'T');
}

bool lege_default_datenbank_an_falls_leer(const fs::path& verzeichnis) {
    std::error_code ec;
    if (fs::is_directory(verzeichnis, ec)) {
        for (const auto& e : fs::directory_iterator(verzeichnis, ec))
            if (e.path().extension() == ".sqlite") return false;
    }
    const fs::path quelle = demo_quellverzeichnis();
    baue_default_datenbank(quelle, verzeichnis, demo_schema());
    meldung(tx("Default-Datenbank angelegt in ", "Default database created in ") + verzeichnis.string(), "M", 'M');
    return true;
}

void erzeuge_default_datenbank_in(const fs::path& verzeichnis) {
    std::error_code ec;
    if (fs::exists(verzeichnis, ec) && !fs::is_empty(verzeichnis, ec))
        meldung(tx("Fehler: Verzeichnis ist nicht leer: ", "Error: directory is not empty: ") + verzeichnis.string(), "M",
                'T');
    const fs::path quelle = demo_quellverzeichnis();
    baue_default_datenbank(quelle, verzeichnis, demo_schema());
}
