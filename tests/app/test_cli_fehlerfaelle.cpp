// The runner under faults: bad input refused with its reason, no false
// success, nothing lost or changed, two processes never write one file.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <fstream>
#include <map>
#include <set>

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli_hilfen.h"
#include "data/datenbank.h"
#include "results/dateisperre.h"

namespace fs = std::filesystem;

namespace {

const char* const DATENSATZ = "test_ZJEG_IAAN-N_st0";  // analytic, monthly: a fast run
const char* const SIM = "test_ausgabe_ZJEG_IAAN-N_st0.sim";
const char* const STR = "test_steuer_ZJEG_IAAN-N_st0.str";

void sql(const fs::path& datei, const std::string& anweisung) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(datei.string().c_str(), &db), SQLITE_OK);
    char* fehler = nullptr;
    const int rc = sqlite3_exec(db, anweisung.c_str(), nullptr, nullptr, &fehler);
    EXPECT_EQ(rc, SQLITE_OK) << (fehler ? fehler : "") << " " << anweisung;
    sqlite3_free(fehler);
    sqlite3_close(db);
}

int64_t anzahl(const fs::path& datei, const std::string& abfrage) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(datei.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return -1;
    sqlite3_stmt* st = nullptr;
    int64_t n = -1;
    if (sqlite3_prepare_v2(db, abfrage.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

std::string inhalt(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Every file of a folder with a hash of its bytes.
std::map<std::string, std::size_t> dateien(const fs::path& ordner) {
    std::map<std::string, std::size_t> m;
    std::error_code ec;
    for (fs::directory_iterator it(ordner, ec), ende; !ec && it != ende; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name == "Protokoll.pro" || name == "Protocol.pro") continue;
        m[name] = std::hash<std::string>{}(it->is_regular_file() ? inhalt(it->path()) : std::string("<ordner>"));
    }
    return m;
}

// Sections announced in line 2 of a result file.
int angekuendigte_abschnitte(const fs::path& datei) {
    std::istringstream s(inhalt(datei));
    std::string zeile;
    std::getline(s, zeile);
    std::getline(s, zeile);
    return std::stoi(zeile.substr(zeile.rfind(',') + 1));
}

int vorkommen(const std::string& text, const std::string& teil) {
    int n = 0;
    for (auto p = text.find(teil); p != std::string::npos; p = text.find(teil, p + 1)) ++n;
    return n;
}

}  // namespace

class CliFehlerfaelle : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0) << fehler.str();
        db = verzeichnis / "db";
        res = verzeichnis / "res";
        fs::copy(db, verzeichnis / "db_original", fs::copy_options::recursive);
    }
    void TearDown() override {
        schliesse_alle_tabellen();
        Cli::TearDown();
    }
    // Back to the default database as built.
    void datenbank_zuruecksetzen() {
        schliesse_alle_tabellen();
        fs::remove_all(db);
        fs::copy(verzeichnis / "db_original", db, fs::copy_options::recursive);
    }
    int64_t katalogzeilen() const { return anzahl(db / "RESULT.sqlite", "SELECT count(*) FROM result"); }

    fs::path db, res;
};

// Item 12.7: line 2 announces the sections the run writes; the file reads
// back whole. The catalogue stores the absolute folder and follows the file.
TEST_F(CliFehlerfaelle, AbschnittszahlUndKatalogordner) {
    struct fall {
        double mina, maxa;
        std::vector<std::string> flaechen;  // section keys as "show" prints them
    };
    const fall faelle[] = {{10, 18, {"10", "14", "18"}}, {10, 10, {"10"}}};
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.mina);
        sql(db / "RECH.sqlite", "UPDATE rech SET mina = " + std::to_string(f.mina) +
                                    ", maxa = " + std::to_string(f.maxa));
        ASSERT_EQ(rufe(mit_verzeichnissen({"simulate", DATENSATZ})), 0) << fehler.str();
        EXPECT_EQ(angekuendigte_abschnitte(res / SIM), static_cast<int>(f.flaechen.size()));
        EXPECT_EQ(angekuendigte_abschnitte(res / STR), static_cast<int>(f.flaechen.size()));
        ASSERT_EQ(rufe(mit_verzeichnissen({"show", (res / SIM).string()})), 0) << fehler.str();
        std::vector<std::string> gelesen;
        std::istringstream zeilen(aus.str());
        for (std::string z; std::getline(zeilen, z);)
            if (z.rfind("Fläche = ", 0) == 0) {
                const auto von = z.find("= ") + 2;
                gelesen.push_back(z.substr(von, z.find(' ', von) - von));
            }
        EXPECT_EQ(gelesen, f.flaechen);
    }

    // A relative result folder is stored absolute; a run into another folder
    // updates the row it re-uses.
    const auto arbeit = fs::current_path();
    fs::current_path(verzeichnis);
    ASSERT_EQ(rufe({"--db", "db", "--results", "anders", "simulate", DATENSATZ}), 0) << fehler.str();
    fs::current_path(arbeit);
    EXPECT_EQ(anzahl(db / "RESULT.sqlite", "SELECT count(*) FROM result WHERE name = '" + std::string(SIM) +
                                               "' AND pfad = '" + (verzeichnis / "anders").string() + "'"),
              1);
    EXPECT_EQ(katalogzeilen(), 1);
}

// Each case fails with its reason as the last line on stderr, exit status 1,
// and leaves no new file, no new catalogue row and the database unchanged.
TEST_F(CliFehlerfaelle, GescheiterteLaeufeNennenDenGrundUndHinterlassenNichts) {
    struct fall {
        const char* name;
        std::function<void()> aendere;
        std::string grund;  // expected start of the reason after "varnek-cli: Fehler: "
    };
    const auto haupt = [&](const std::string& setze) {
        sql(db / "HAUPT.sqlite", "UPDATE haupt SET " + setze + " WHERE name = '" + DATENSATZ + "'");
    };
    const std::vector<fall> faelle = {
        {"Verweis fehlt", [&] { haupt("kolu = 'gibt es nicht'"); }, "Datensatz existiert nicht in Datenbank: kolu"},
        {"leere Tabellendatei", [&] { std::ofstream(db / "KOL.sqlite", std::ios::trunc).flush(); },
         "Datensatz existiert nicht in Datenbank: kolo (Tabelle nicht geöffnet: " + (db / "KOL.sqlite").string()},
        {"fremde Tabellendatei",
         [&] {
             fs::remove(db / "KOL.sqlite");
             sql(db / "KOL.sqlite", "CREATE TABLE fremd (x INTEGER)");
         },
         "Datensatz existiert nicht in Datenbank: kolo (Tabelle nicht geöffnet: "},
        {"Name führt aus dem Ergebnisordner", [&] { haupt("ausgabefile = '../entkommen'"); },
         "Unzulässiger Dateiname: Tabelle haupt, Zeile " + std::string(DATENSATZ) + ", Spalte ausgabefile"},
        {"absoluter Steuerdateiname", [&] { haupt("steuer = '" + (verzeichnis / "absolut").string() + "'"); },
         "Unzulässiger Dateiname: Tabelle haupt, Zeile " + std::string(DATENSATZ) + ", Spalte steuer"},
        {"Fläche überläuft", [&] { sql(db / "RECH.sqlite", "UPDATE rech SET maxa = 1e308"); },
         "Ungültiger Wert in Tabelle rech, Zeile \"r45\", Spalte maxa: 1e+308 qm"},
        {"Mindest- über Höchstfläche", [&] { sql(db / "RECH.sqlite", "UPDATE rech SET mina = 30"); },
         "Ungültiger Bereich in Tabelle rech"},
        {"zu viele Abschnitte", [&] { sql(db / "RECH.sqlite", "UPDATE rech SET maxa = 100"); },
         "Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten"},
        {"Ergebnisdatei nicht ersetzbar", [&] { fs::create_directories(res / SIM / "belegt"); },
         "Datei kann nicht geschrieben werden: " + (res / SIM).string()},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.name);
        datenbank_zuruecksetzen();
        fs::remove_all(res);
        fs::create_directories(res);
        f.aendere();
        const auto db_vorher = dateien(db);
        const auto res_vorher = dateien(res);
        EXPECT_EQ(rufe(mit_verzeichnissen({"simulate", DATENSATZ})), 1);
        EXPECT_EQ(letzte_fehlerzeile().rfind("varnek-cli: Fehler: " + f.grund, 0), 0u) << letzte_fehlerzeile();
        EXPECT_EQ(dateien(res), res_vorher);
        EXPECT_EQ(dateien(db), db_vorher);
        EXPECT_FALSE(fs::exists(verzeichnis / "entkommen.sim"));
        EXPECT_FALSE(fs::exists(verzeichnis / "absolut.str"));
    }
}

// Item 12.11: every text follows the chosen language, the reason line too.
TEST_F(CliFehlerfaelle, NutzungsfehlerUndSprache) {
    braunschweig_mit_zu_langem_block();
    struct fall {
        std::vector<std::string> argumente;
        int status;
        std::string zeile;  // expected start of the last stderr line
    };
    const std::vector<fall> faelle = {
        {{"simulate"}, 2, "varnek-cli: Fehler: Falsche Zahl von Argumenten für simulate"},
        {{"show", "a", "b"}, 2, "varnek-cli: Fehler: Falsche Zahl von Argumenten für show"},
        {{"--gibts-nicht", "list"}, 2, "varnek-cli: Fehler: Unbekannte Option: --gibts-nicht"},
        {{"--lang", "fr", "list"}, 2, "varnek-cli: Fehler: --lang erlaubt de oder en"},
        {{"inputs", "x", "--tilt", "nan"}, 2, "varnek-cli: Fehler: --tilt braucht eine Zahl von 0 bis 90"},
        {{"inputs", "x", "--tilt", "inf"}, 2, "varnek-cli: Fehler: --tilt braucht eine Zahl von 0 bis 90"},
        {{"inputs", "x", "--tilt", "1e308"}, 2, "varnek-cli: Fehler: --tilt braucht eine Zahl von 0 bis 90"},
        {{"inputs", "x", "--azimuth", "-181"}, 2, "varnek-cli: Fehler: --azimuth braucht eine Zahl von -180 bis 180"},
        {{"simulate", "x", "--from", "y"}, 2, "varnek-cli: Fehler: Option passt nicht zum Befehl simulate: --from"},
        {{"--lock-wait", "-1", "simulate", "x"}, 2, "varnek-cli: Fehler: --lock-wait braucht eine Zahl"},
        {{"--lang", "en", "simulate"}, 2, "varnek-cli: error: wrong number of arguments for simulate"},
        {{"--lang", "en", "inputs", "x", "--tilt", "95"}, 2, "varnek-cli: error: --tilt takes a number from 0 to 90"},
        {{"gibtsnicht"}, 2, "varnek-cli: Fehler: Unbekannter Befehl: gibtsnicht"},
        {mit_verzeichnissen({"--lang", "en", "simulate", "gibt es nicht"}), 1, "varnek-cli: error: no data set named gibt es nicht"},
        {mit_verzeichnissen({"--lang", "en", "simulate", "Braunschweig EFH"}), 1,
         "varnek-cli: error: combination forbidden. Next an/num: "},
        {mit_verzeichnissen({"--lang", "en", "show", (verzeichnis / "fehlt.sim").string()}), 1,
         "varnek-cli: error: file does not exist: "},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.argumente.back());
        EXPECT_EQ(rufe(f.argumente), f.status);
        EXPECT_EQ(letzte_fehlerzeile().rfind(f.zeile, 0), 0u) << letzte_fehlerzeile();
        if (std::find(f.argumente.begin(), f.argumente.end(), "en") != f.argumente.end()) {
            EXPECT_EQ(fehler.str().find("Fehler"), std::string::npos) << fehler.str();
        }
    }
    // English from start to end of a refused run: no German text on stderr.
    EXPECT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "simulate", "Braunschweig EFH"})), 1);
    EXPECT_EQ(fehler.str().find("Fehler"), std::string::npos) << fehler.str();
}

// "show" reads only regular files: a FIFO would block the reader for ever.
TEST_F(CliFehlerfaelle, ShowLiestNurRegulaereDateien) {
    const fs::path fifo = verzeichnis / "rohr.sim";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rufe(mit_verzeichnissen({"show", fifo.string()})), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Keine reguläre Datei: " + fifo.string());
    EXPECT_EQ(rufe(mit_verzeichnissen({"show", verzeichnis.string()})), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Keine reguläre Datei: " + verzeichnis.string());
}

// A write-protected database is listed, simulated into a writable result
// folder and shown; no command changes a byte of it (in either language).
TEST_F(CliFehlerfaelle, SchreibgeschuetzteDatenbankWirdNurGelesen) {
    braunschweig_mit_zu_langem_block();
    auto vorher = dateien(db);
    const auto schuetze = [&](fs::perms p) {
        for (const auto& e : fs::directory_iterator(db)) fs::permissions(e.path(), p);
        fs::permissions(db, p | fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec);
    };
    schuetze(fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const bool wirklich_geschuetzt = ::geteuid() != 0;  // root writes anyway; the bytes still must not change
    EXPECT_EQ(rufe(mit_verzeichnissen({"list"})), 0) << fehler.str();
    EXPECT_NE(aus.str().find("Braunschweig EFH\tNF"), std::string::npos);
    EXPECT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "list"})), 0) << fehler.str();
    EXPECT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "inputs", DATENSATZ})), 0) << fehler.str();
    EXPECT_EQ(rufe(mit_verzeichnissen({"simulate", DATENSATZ})), 0) << fehler.str();
    if (wirklich_geschuetzt) {
        EXPECT_NE(fehler.str().find("Warnung: Ergebniskatalog schreibgeschützt"), std::string::npos) << fehler.str();
    }
    EXPECT_EQ(rufe(mit_verzeichnissen({"show", (res / SIM).string()})), 0) << fehler.str();
    // A failing run does not touch the database either.
    EXPECT_EQ(rufe(mit_verzeichnissen({"simulate", "Braunschweig EFH"})), 1);
    if (wirklich_geschuetzt) {
        EXPECT_EQ(rufe(mit_verzeichnissen({"batch"})), 1);
        EXPECT_EQ(letzte_fehlerzeile().rfind("varnek-cli: Fehler: Datenbank schreibgeschützt", 0), 0u);
    }
    schliesse_alle_tabellen();
    schuetze(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    auto nachher = dateien(db);
    if (!wirklich_geschuetzt) {
        // root writes a write-protected file: the catalogue row of the
        // simulation is there; nothing else may have changed.
        EXPECT_EQ(anzahl(db / "RESULT.sqlite", "SELECT count(*) FROM result"), 1);
        nachher.erase("RESULT.sqlite");
        vorher.erase("RESULT.sqlite");
    }
    EXPECT_EQ(nachher, vorher);
}

namespace {

// Runs the runner in a child process; its stdout and stderr go to files.
pid_t starte_prozess(const std::vector<std::string>& argumente, const fs::path& ausgabe, const fs::path& fehler) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    std::ofstream aus(ausgabe), err(fehler);
    std::vector<const char*> argv{"varnek-cli"};
    for (const auto& a : argumente) argv.push_back(a.c_str());
    const int status = varnek_cli(static_cast<int>(argv.size()), argv.data(), aus, err);
    aus.flush();
    err.flush();
    ::_exit(status);
}

int warte(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// Two processes on the same data set and result folder: the second waits
// (bounded) for the first, or is refused with a clear message; the file is
// always whole and reads back.
TEST_F(CliFehlerfaelle, ZweiProzesseSchreibenNieDieselbeDatei) {
    schliesse_alle_tabellen();  // no connection is carried into a child
    const auto argumente = mit_verzeichnissen({"--lock-wait", "0.2", "simulate", DATENSATZ});
    {
        // Another run holds the result file: refused after the short wait.
        auto sperre = dateisperre::belege({res / SIM}, std::chrono::milliseconds(0));
        ASSERT_TRUE(sperre);
        const auto start = std::chrono::steady_clock::now();
        const pid_t p = starte_prozess(argumente, verzeichnis / "a.out", verzeichnis / "a.err");
        EXPECT_EQ(warte(p), 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_NE(inhalt(verzeichnis / "a.err")
                      .find("varnek-cli: Fehler: Ergebnisdatei wird gerade von einem anderen Lauf geschrieben: " +
                            (res / SIM).string()),
                  std::string::npos)
            << inhalt(verzeichnis / "a.err");
        EXPECT_FALSE(fs::exists(res / SIM));
        EXPECT_EQ(katalogzeilen(), 0);
    }
    // A run killed earlier left a temporary file; the next run holding the
    // lock removes it.
    std::ofstream(res / (std::string(".") + SIM + ".abcdefgh.tmp")) << "Rest";
    // Both at once, each allowed to wait: both complete one after the other.
    const auto warten = mit_verzeichnissen({"simulate", DATENSATZ});
    const pid_t a = starte_prozess(warten, verzeichnis / "a.out", verzeichnis / "a.err");
    const pid_t b = starte_prozess(warten, verzeichnis / "b.out", verzeichnis / "b.err");
    EXPECT_EQ(warte(a), 0) << inhalt(verzeichnis / "a.err");
    EXPECT_EQ(warte(b), 0) << inhalt(verzeichnis / "b.err");
    EXPECT_EQ(rufe(mit_verzeichnissen({"show", (res / SIM).string()})), 0) << fehler.str();
    EXPECT_EQ(vorkommen(aus.str(), "Fläche = "), angekuendigte_abschnitte(res / SIM));
    std::set<std::string> namen;
    for (const auto& [name, bytes] : dateien(res)) namen.insert(name);
    EXPECT_EQ(namen, (std::set<std::string>{SIM, STR}));  // no temporary or lock file left
    EXPECT_EQ(katalogzeilen(), 1);
}

// Two batches on one database share the data sets: each is computed once,
// both end successfully.
TEST_F(CliFehlerfaelle, ZweiSerienRechnenJedenDatensatzEinmal) {
    sql(db / "HAUPT.sqlite", "UPDATE haupt SET lock = 'F' WHERE name NOT LIKE 'test_ZJEG_IAAN-N%' AND name <> "
                             "'test_ZJEG_IAAN-M_st0'");
    schliesse_alle_tabellen();
    const auto argumente = mit_verzeichnissen({"batch", "--from", "test_ZJEG_IAAN-M_st0"});
    const pid_t a = starte_prozess(argumente, verzeichnis / "a.out", verzeichnis / "a.err");
    const pid_t b = starte_prozess(argumente, verzeichnis / "b.out", verzeichnis / "b.err");
    EXPECT_EQ(warte(a), 0) << inhalt(verzeichnis / "a.err");
    EXPECT_EQ(warte(b), 0) << inhalt(verzeichnis / "b.err");
    const std::string ausgaben = inhalt(verzeichnis / "a.out") + inhalt(verzeichnis / "b.out");
    for (const char* d : {"test_ZJEG_IAAN-M_st0", "test_ZJEG_IAAN-N_st0", "test_ZJEG_IAAN-N_st2"}) {
        EXPECT_EQ(vorkommen(ausgaben, "Ergebnisdatei: " + (res / ("test_ausgabe" + std::string(d).substr(4) + ".dat")).string()),
                  1)
            << d;
    }
    EXPECT_EQ(anzahl(db / "HAUPT.sqlite", "SELECT count(*) FROM haupt WHERE lock = 'NF'"), 0);
}
