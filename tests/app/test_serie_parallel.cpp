// Batches over several worker processes, split into parts and merged, and
// variants of a data set: the same files and catalogue as one sequential
// batch, every data set computed once.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/serie_teilung.h"
#include "app/variantenbefehl.h"
#include "cli_hilfen.h"
#include "data/datenbank.h"
#include "results/dateisperre.h"

namespace fs = std::filesystem;

namespace {

// Analytic runs (fast): the series the tests compute, in list order.
const std::vector<std::string> SERIE = {"test_EJEG_IAAN-D_st0", "test_EJEG_IAAN-D_st0_d", "test_EJEG_IAAN-D_st2",
                                        "test_EJEG_IAAN-M_st0", "test_EJEG_IAAN-N_st0"};
const char* const ERSTER = "test_EJEG_IAAN-D_st0";

std::string inhalt(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Result files of a folder (no protocol, catalogue, lock or temporary file)
// with their bytes.
std::map<std::string, std::string> ergebnisdateien(const fs::path& ordner) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(ordner)) {
        const std::string n = e.path().filename().string();
        if (n == "Protokoll.pro" || n == "Protocol.pro" || n.rfind("RESULT.sqlite", 0) == 0) continue;
        m[n] = inhalt(e.path());
    }
    return m;
}

std::vector<std::vector<std::string>> abfrage(const fs::path& datei, const std::string& sql) {
    std::vector<std::vector<std::string>> zeilen;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(datei.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return zeilen;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> z;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* t = sqlite3_column_text(st, c);
                z.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
            }
            zeilen.push_back(z);
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return zeilen;
}

void sql(const fs::path& datei, const std::string& anweisung) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(datei.string().c_str(), &db), SQLITE_OK);
    char* fehler = nullptr;
    EXPECT_EQ(sqlite3_exec(db, anweisung.c_str(), nullptr, nullptr, &fehler), SQLITE_OK) << (fehler ? fehler : "");
    sqlite3_free(fehler);
    sqlite3_close(db);
}

// Two different result files that read back.
const fs::path ERGEBNIS_A = fs::path(VARNEK_TEST_FIXTURES) / "results" / "test_ausgabe_EJEG_IAAN-N_st0.dat";
const fs::path ERGEBNIS_B = fs::path(VARNEK_TEST_FIXTURES) / "results" / "test_ausgabe_ZJEG_IAAN-D_st2.dat";

// Catalogue rows without the folder (name, data set, kind, lock, info).
const char* const KATALOG =
    "SELECT name, haupteingabefile, optimierung, lock, info, land, ort FROM result ORDER BY name";

int vorkommen(const std::string& text, const std::string& teil) {
    int n = 0;
    for (auto p = text.find(teil); p != std::string::npos; p = text.find(teil, p + 1)) ++n;
    return n;
}

}  // namespace

class SerieParallel : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        basis = verzeichnis / "basis";
        ASSERT_EQ(rufe({"--db", basis.string(), "list"}), 0) << fehler.str();
        schliesse_alle_tabellen();
        // Only SERIE is open for a batch from ERSTER: the row after it is fixed.
        sql(basis / "HAUPT.sqlite", "UPDATE haupt SET lock = 'F' WHERE name = 'test_EJEG_IAAN-N_st2'");
    }
    void TearDown() override {
        schliesse_alle_tabellen();
        Cli::TearDown();
    }
    // A copy of the prepared database.
    fs::path datenbank(const std::string& name) {
        schliesse_alle_tabellen();
        const fs::path d = verzeichnis / name;
        fs::copy(basis, d, fs::copy_options::recursive);
        return d;
    }
    int batch(const fs::path& db, const fs::path& res, std::vector<std::string> rest) {
        std::vector<std::string> a{"--db", db.string(), "--results", res.string(), "batch", "--from", ERSTER};
        a.insert(a.end(), rest.begin(), rest.end());
        const int rc = rufe(a);
        schliesse_alle_tabellen();
        return rc;
    }
    // The same batch by the runner program in a process of its own, as a user
    // runs it: no state of earlier runs in this test process reaches it.
    int batch_im_eigenen_prozess(const fs::path& db, const fs::path& res, std::vector<std::string> rest) {
        std::vector<std::string> a{VARNEK_CLI_PROGRAMM, "--db", db.string(), "--results", res.string(), "batch", "--from", ERSTER};
        a.insert(a.end(), rest.begin(), rest.end());
        std::vector<char*> argv;
        for (auto& x : a) argv.push_back(x.data());
        argv.push_back(nullptr);
        const fs::path log = verzeichnis / "eigener_prozess.err";
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::freopen(log.c_str(), "w", stderr);
            std::freopen("/dev/null", "w", stdout);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        int st = 0;
        ::waitpid(pid, &st, 0);
        fehler.str(inhalt(log));
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    std::set<std::string> fixiert(const fs::path& db) {
        std::set<std::string> s;
        for (const auto& z : abfrage(db / "HAUPT.sqlite", "SELECT name FROM haupt WHERE lock = 'F'")) s.insert(z[0]);
        return s;
    }
    fs::path basis;
};

// Two workers — threads of this process, again and again, or worker
// processes — write the same files, byte for byte, and the same catalogue
// rows as one process; every data set is computed exactly once and fixed.
TEST_F(SerieParallel, ZweiArbeiterSchreibenWasEinerSchreibt) {
    const fs::path db1 = datenbank("db1"), res1 = verzeichnis / "res1";
    ASSERT_EQ(batch_im_eigenen_prozess(db1, res1, {"--jobs", "1"}), 0) << fehler.str();
    const auto dateien1 = ergebnisdateien(res1);
    EXPECT_EQ(dateien1.size(), SERIE.size());
    struct fall {
        std::vector<std::string> optionen;
        int wiederholungen;
    };
    int nr = 0;
    for (const fall& f : {fall{{"--jobs", "2"}, 3}, fall{{"--jobs", "2", "--processes"}, 1}}) {
        for (int w = 0; w < f.wiederholungen; ++w) {
            SCOPED_TRACE(f.optionen.back() + " #" + std::to_string(w));
            const std::string n = std::to_string(++nr);
            const fs::path db2 = datenbank("db2_" + n), res2 = verzeichnis / ("res2_" + n);
            ASSERT_EQ(batch(db2, res2, f.optionen), 0) << fehler.str();
            const std::string ausgabe = aus.str(), meldungen = fehler.str();
            EXPECT_NE(meldungen.find("5 Datensätze gerechnet"), std::string::npos) << meldungen;
            EXPECT_TRUE(dateien1 == ergebnisdateien(res2));
            EXPECT_EQ(abfrage(db1 / "RESULT.sqlite", KATALOG), abfrage(db2 / "RESULT.sqlite", KATALOG));
            EXPECT_EQ(abfrage(db2 / "RESULT.sqlite", "SELECT DISTINCT pfad FROM result"),
                      (std::vector<std::vector<std::string>>{{fs::weakly_canonical(res2).string()}}));
            for (const auto& d : SERIE) {
                // Computed once: its name heads one output block and one progress line.
                EXPECT_EQ(vorkommen(ausgabe, d + "\n"), 1) << d;
                EXPECT_EQ(vorkommen(meldungen, ") " + d + ": gerechnet"), 1) << meldungen;
            }
            EXPECT_EQ(fixiert(db1), fixiert(db2));
            EXPECT_EQ(fixiert(db2).count("test_EJEG_IAAN-N_st0"), 1u);
        }
    }
}

// A data set whose files another process holds is not computed by the batch
// (tried again at the end, then reported as skipped) and stays unfixed.
// A series computed in one process after another data set's run (here a
// plant whose intermediate heat pump runs at constant power) writes the same
// files as the runner in a fresh process: nothing of the earlier run carries
// over into the next data set.
TEST_F(SerieParallel, EinProzessRechnetWieFrischeProzesse) {
    const fs::path db1 = datenbank("db1"), db2 = datenbank("db2");
    const fs::path res1 = verzeichnis / "res1", res2 = verzeichnis / "res2";
    ASSERT_EQ(batch_im_eigenen_prozess(db1, res1, {"--jobs", "1"}), 0) << fehler.str();
    ASSERT_EQ(rufe({"--db", db2.string(), "--results", (verzeichnis / "vorher").string(), "optimise",
                    "test_ZJEG-K_MAVN-N-L_st0"}),
              0)
        << fehler.str();
    ASSERT_EQ(batch(db2, res2, {"--jobs", "1"}), 0) << fehler.str();
    const auto dateien1 = ergebnisdateien(res1), dateien2 = ergebnisdateien(res2);
    ASSERT_EQ(dateien1.size(), SERIE.size());
    for (const auto& [name, inhalt] : dateien1) {
        ASSERT_TRUE(dateien2.count(name)) << name;
        EXPECT_TRUE(inhalt == dateien2.at(name)) << name;
    }
}

TEST_F(SerieParallel, BelegterDatensatzWirdNichtGerechnet) {
    const fs::path db = datenbank("db"), res = verzeichnis / "res";
    fs::create_directories(res);
    auto sperre = dateisperre::belege({res / "test_ausgabe_EJEG_IAAN-D_st2.dat"}, std::chrono::milliseconds(0));
    ASSERT_TRUE(sperre);
    ASSERT_EQ(batch(db, res, {"--jobs", "2"}), 0) << fehler.str();
    EXPECT_NE(fehler.str().find("4 Datensätze gerechnet, übersprungen (von einem anderen Lauf gerechnet): 1"),
              std::string::npos)
        << fehler.str();
    EXPECT_EQ(vorkommen(aus.str(), "test_EJEG_IAAN-D_st2\n"), 0);
    EXPECT_FALSE(fs::exists(res / "test_ausgabe_EJEG_IAAN-D_st2.dat"));
    EXPECT_EQ(fixiert(db).count("test_EJEG_IAAN-D_st2"), 0u);
    EXPECT_EQ(fixiert(db).count("test_EJEG_IAAN-D_st0"), 1u);
}

// A failing data set stops the series with its reason as the last line; no
// data set is handed out after it, and it stays unfixed.
TEST_F(SerieParallel, FehlerHaeltDieSerieAn) {
    const fs::path db = datenbank("db"), res = verzeichnis / "res";
    sql(db / "HAUPT.sqlite", "UPDATE haupt SET ausgabefile = '../weg' WHERE name = 'test_EJEG_IAAN-D_st0_d'");
    EXPECT_EQ(batch(db, res, {"--jobs", "2", "--lang", "en"}), 1);
    EXPECT_EQ(letzte_fehlerzeile().rfind("varnek-cli: error: ", 0), 0u) << fehler.str();
    EXPECT_NE(letzte_fehlerzeile().find("ausgabefile"), std::string::npos) << fehler.str();
    EXPECT_NE(fehler.str().find("test_EJEG_IAAN-D_st0_d: failed"), std::string::npos) << fehler.str();
    const auto f = fixiert(db);
    EXPECT_EQ(f.count("test_EJEG_IAAN-D_st0_d"), 0u);
    // At most the two data sets before the stop have been computed.
    EXPECT_EQ(f.count("test_EJEG_IAAN-M_st0") + f.count("test_EJEG_IAAN-N_st0"), 0u);
}

// Shards 1/3, 2/3, 3/3 compute every data set once, leave the database (read
// only) as it was, and merge into the files and catalogue of one batch.
TEST_F(SerieParallel, DreiTeileUndZusammenfuehrung) {
    const fs::path db1 = datenbank("db1"), db = datenbank("db");
    ASSERT_EQ(batch_im_eigenen_prozess(db1, verzeichnis / "einzeln", {"--jobs", "1"}), 0) << fehler.str();
    for (const auto& e : fs::directory_iterator(db)) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::remove);
    std::vector<std::string> teile;
    std::multiset<std::string> gerechnet;
    for (const char* t : {"1/3", "2/3", "3/3"}) {
        const fs::path res = verzeichnis / ("teil" + std::string(1, t[0]));
        ASSERT_EQ(batch(db, res, {"--shard", t, "--jobs", "2"}), 0) << fehler.str();
        for (const auto& z : abfrage(res / "RESULT.sqlite", "SELECT haupteingabefile FROM result")) gerechnet.insert(z[0]);
        teile.push_back(res.string());
    }
    EXPECT_EQ(gerechnet, std::multiset<std::string>(SERIE.begin(), SERIE.end()));
    EXPECT_EQ(fixiert(db), fixiert(basis));
    EXPECT_TRUE(abfrage(db / "RESULT.sqlite", "SELECT name FROM result").empty());

    for (const auto& e : fs::directory_iterator(db)) fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    const fs::path ziel = verzeichnis / "alle";
    std::vector<std::string> a{"--db", db.string(), "--results", ziel.string(), "merge"};
    a.insert(a.end(), teile.begin(), teile.end());
    ASSERT_EQ(rufe(a), 0) << fehler.str();
    schliesse_alle_tabellen();
    {
        const auto z = ergebnisdateien(ziel), e = ergebnisdateien(verzeichnis / "einzeln");
        EXPECT_TRUE(z == e);
        for (const auto& [n, b] : z) EXPECT_TRUE(e.count(n) && e.at(n) == b) << n;
        for (const auto& [n, b] : e) EXPECT_TRUE(z.count(n)) << n;
    }
    EXPECT_EQ(abfrage(db / "RESULT.sqlite", KATALOG), abfrage(db1 / "RESULT.sqlite", KATALOG));
    EXPECT_EQ(abfrage(db / "RESULT.sqlite", "SELECT DISTINCT pfad FROM result"),
              (std::vector<std::vector<std::string>>{{fs::weakly_canonical(ziel).string()}}));
    EXPECT_EQ(fixiert(db), fixiert(db1));
    // Merging again changes nothing.
    ASSERT_EQ(rufe(a), 0) << fehler.str();
    schliesse_alle_tabellen();
    EXPECT_EQ(abfrage(db / "RESULT.sqlite", "SELECT count(*) FROM result"),
              (std::vector<std::vector<std::string>>{{std::to_string(SERIE.size())}}));
}

TEST(Teilstuecke, JederDatensatzGenauEinmal) {
    for (int laenge : {0, 1, 5, 7}) {
        std::vector<std::string> liste;
        for (int i = 0; i < laenge; ++i) liste.push_back("d" + std::to_string(i));
        for (int n : {1, 2, 3, 8}) {
            std::multiset<std::string> alle;
            for (int k = 1; k <= n; ++k)
                for (const auto& d : waehle_teilstueck(liste, {k, n})) alle.insert(d);
            EXPECT_EQ(alle, std::multiset<std::string>(liste.begin(), liste.end())) << laenge << " " << n;
        }
    }
    for (const char* falsch : {"0/3", "4/3", "3", "/3", "1/", "a/b", "1/0", "-1/3", "1/3/5"})
        EXPECT_FALSE(lies_teilstueck(falsch)) << falsch;
    ASSERT_TRUE(lies_teilstueck("2/3"));
    EXPECT_EQ(lies_teilstueck("2/3")->k, 2);
}

// Two different files under one name, in two parts or in a part and the
// target, are refused before anything is copied or entered.
TEST_F(SerieParallel, ZusammenfuehrungVerweigertKonflikte) {
    const fs::path db = datenbank("db");
    for (const char* t : {"a", "b"}) {
        fs::create_directories(verzeichnis / t);
        sql(verzeichnis / t / "RESULT.sqlite",
            "CREATE TABLE result (name, land, bezirk, ort, kundennummer, haupteingabefile, breite, länge, programm, "
            "rechendatum, pfad, optimierung, lock, info)");
        sql(verzeichnis / t / "RESULT.sqlite",
            std::string("INSERT INTO result (name, land, bezirk, ort, kundennummer, haupteingabefile, pfad, "
                        "optimierung, lock) VALUES ('x_") + t + ".dat', 'D', 'N', 'B', '1', '" + ERSTER +
                "', '/irgendwo', 'O', 'F')");
        // Real result files (each part's .dat reads back); "gemeinsam.str"
        // differs between the parts.
        fs::copy_file(ERGEBNIS_A, verzeichnis / t / ("x_" + std::string(t) + ".dat"));
        fs::copy_file(std::string(t) == "a" ? ERGEBNIS_A : ERGEBNIS_B, verzeichnis / t / "gemeinsam.str");
    }
    const fs::path ziel = verzeichnis / "ziel";
    auto merge = [&](std::vector<std::string> teile) {
        std::vector<std::string> a{"--db", db.string(), "--results", ziel.string(), "merge"};
        a.insert(a.end(), teile.begin(), teile.end());
        const int rc = rufe(a);
        schliesse_alle_tabellen();
        return rc;
    };
    EXPECT_EQ(merge({(verzeichnis / "a").string(), (verzeichnis / "b").string()}), 1);
    EXPECT_NE(letzte_fehlerzeile().find("Zwei verschiedene Dateien unter einem Namen: "), std::string::npos)
        << fehler.str();
    EXPECT_NE(letzte_fehlerzeile().find("gemeinsam.str"), std::string::npos);
    EXPECT_TRUE(ergebnisdateien(ziel).empty());
    EXPECT_TRUE(abfrage(db / "RESULT.sqlite", "SELECT name FROM result").empty());

    // One part alone merges; the other then conflicts with the target.
    EXPECT_EQ(merge({(verzeichnis / "a").string()}), 0) << fehler.str();
    EXPECT_EQ(ergebnisdateien(ziel).size(), 2u);
    EXPECT_EQ(merge({(verzeichnis / "b").string()}), 1);
    EXPECT_NE(letzte_fehlerzeile().find((ziel / "gemeinsam.str").string()), std::string::npos) << fehler.str();
    EXPECT_FALSE(fs::exists(ziel / "x_b.dat"));
    // A folder that is no part result.
    EXPECT_EQ(merge({verzeichnis.string()}), 1);
}

// A damaged part is refused before anything is copied, naming what is
// wrong: a result file cut short or with a byte that breaks a number (the
// reader says where), a catalogue that is no database, a catalogue row for a
// data set the database does not hold. The target stays empty, the
// catalogue without rows, the data sets unfixed.
TEST_F(SerieParallel, BeschaedigterTeilWirdNichtZusammengefuehrt) {
    const fs::path db = datenbank("db");
    const std::string original = inhalt(ERGEBNIS_A);
    struct fall {
        const char* name;
        std::function<void(const fs::path&)> beschaedige;
        std::string grund;
    };
    const std::vector<fall> faelle = {
        {"halbe Datei",
         [&](const fs::path& t) { std::ofstream(t / "x.dat", std::ios::binary) << original.substr(0, original.size() / 2); },
         "Falsches Datenformat: "},
        {"gekippter Wert",
         [&](const fs::path& t) {
             std::string b = original;
             const auto p = b.find("2.0000000000");  // the area of the first section
             b[p] = 'x';
             std::ofstream(t / "x.dat", std::ios::binary) << b;
         },
         "x.dat, Zeile 3"},
        {"Katalog keine Datenbank",
         [&](const fs::path& t) { std::ofstream(t / "RESULT.sqlite", std::ios::binary) << std::string(4096, 'x'); },
         "Ergebniskatalog des Teils nicht lesbar: "},
        {"fremder Datensatz",
         [&](const fs::path& t) {
             sql(t / "RESULT.sqlite", "UPDATE result SET haupteingabefile = 'gibt es nicht'");
         },
         "Katalogzeile nennt einen Datensatz, den die Datenbank nicht hat: \"gibt es nicht\""},
    };
    const fs::path ziel = verzeichnis / "ziel";
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const fs::path teil = verzeichnis / "teil";
        fs::remove_all(teil);
        fs::create_directories(teil);
        sql(teil / "RESULT.sqlite",
            "CREATE TABLE result (name, land, bezirk, ort, kundennummer, haupteingabefile, breite, länge, programm, "
            "rechendatum, pfad, optimierung, lock, info)");
        sql(teil / "RESULT.sqlite",
            std::string("INSERT INTO result (name, land, bezirk, ort, kundennummer, haupteingabefile, pfad, "
                        "optimierung, lock) VALUES ('x.dat', 'D', 'N', 'B', '1', '") + ERSTER + "', '/irgendwo', 'O', 'F')");
        fs::copy_file(ERGEBNIS_A, teil / "x.dat");
        fs::copy_file(ERGEBNIS_B, teil / "y.str");
        f.beschaedige(teil);
        EXPECT_EQ(rufe({"--db", db.string(), "--results", ziel.string(), "merge", teil.string()}), 1);
        schliesse_alle_tabellen();
        EXPECT_NE(letzte_fehlerzeile().find(f.grund), std::string::npos) << fehler.str();
        EXPECT_TRUE(!fs::exists(ziel) || ergebnisdateien(ziel).empty());
        EXPECT_TRUE(abfrage(db / "RESULT.sqlite", "SELECT name FROM result").empty());
        EXPECT_EQ(fixiert(db), fixiert(basis));
    }
    // The part whole merges.
    const fs::path teil = verzeichnis / "teil";
    fs::copy_file(ERGEBNIS_A, teil / "x.dat", fs::copy_options::overwrite_existing);
    fs::remove(teil / "RESULT.sqlite");
    sql(teil / "RESULT.sqlite",
        "CREATE TABLE result (name, land, bezirk, ort, kundennummer, haupteingabefile, breite, länge, programm, "
        "rechendatum, pfad, optimierung, lock, info)");
    sql(teil / "RESULT.sqlite", std::string("INSERT INTO result (name, haupteingabefile, optimierung, lock) VALUES "
                                            "('x.dat', '") + ERSTER + "', 'O', 'F')");
    ASSERT_EQ(rufe({"--db", db.string(), "--results", ziel.string(), "merge", teil.string()}), 0) << fehler.str();
    schliesse_alle_tabellen();
    EXPECT_EQ(ergebnisdateien(ziel).size(), 2u);
    EXPECT_EQ(abfrage(db / "RESULT.sqlite", "SELECT name FROM result"), (std::vector<std::vector<std::string>>{{"x.dat"}}));
}

// Two varied columns of two catalogue rows give every combination, each a
// new data set naming copies of the rows with its values.
TEST_F(SerieParallel, VariantenSindDasProduktDerWerte) {
    const fs::path db = datenbank("db");
    const std::string basis_name = "Braunschweig EFH";
    auto sweep = [&](std::vector<std::string> rest) {
        std::vector<std::string> a{"--db", db.string(), "sweep", basis_name};
        a.insert(a.end(), rest.begin(), rest.end());
        const int rc = rufe(a);
        schliesse_alle_tabellen();
        return rc;
    };
    const auto anzahl_haupt = abfrage(db / "HAUPT.sqlite", "SELECT count(*) FROM haupt");
    ASSERT_EQ(sweep({"--vary", "spei.spmax=0.5,1.5", "--vary", "rech.maxa=12,14,16", "--dry-run"}), 0) << fehler.str();
    EXPECT_EQ(vorkommen(aus.str(), "\n"), 7);
    EXPECT_EQ(abfrage(db / "HAUPT.sqlite", "SELECT count(*) FROM haupt"), anzahl_haupt);

    ASSERT_EQ(sweep({"--vary", "spei.spmax=0.5,1.5", "--vary", "rech.maxa=12,14,16", "--name", "{base} v{n}"}), 0)
        << fehler.str();
    const auto basiszeile =
        abfrage(db / "HAUPT.sqlite", "SELECT spei, rech, kolo, num FROM haupt WHERE name = '" + basis_name + "'");
    ASSERT_EQ(basiszeile.size(), 1u);
    int n = 0;
    for (const char* spmax : {"0.5", "1.5"}) {
        for (const char* maxa : {"12", "14", "16"}) {
            const std::string name = basis_name + " v" + std::to_string(++n);
            SCOPED_TRACE(name);
            const auto h = abfrage(db / "HAUPT.sqlite",
                                   "SELECT spei, rech, kolo, num, lock, ausgabefile, steuer FROM haupt WHERE name = '" +
                                       name + "'");
            ASSERT_EQ(h.size(), 1u);
            EXPECT_EQ(h[0][0], name);
            EXPECT_EQ(h[0][1], name);
            EXPECT_EQ(h[0][2], basiszeile[0][2]);  // not varied: the base's row
            EXPECT_EQ(h[0][3], basiszeile[0][3]);
            EXPECT_EQ(h[0][4], "NF");
            EXPECT_EQ(h[0][5], "Braunschweig_EFH_v" + std::to_string(n));
            const auto s = abfrage(db / "SPEI.sqlite", "SELECT spmax, verluste FROM spei WHERE name = '" + name + "'");
            const auto sb = abfrage(db / "SPEI.sqlite",
                                    "SELECT spmax, verluste FROM spei WHERE name = '" + basiszeile[0][0] + "'");
            ASSERT_EQ(s.size(), 1u);
            EXPECT_DOUBLE_EQ(std::stod(s[0][0]), std::stod(spmax));
            EXPECT_EQ(s[0][1], sb[0][1]);  // the other columns copied
            const auto r = abfrage(db / "RECH.sqlite", "SELECT maxa FROM rech WHERE name = '" + name + "'");
            ASSERT_EQ(r.size(), 1u);
            EXPECT_EQ(r[0][0], maxa);
        }
    }
    // The same names again, and wrong command lines.
    EXPECT_EQ(sweep({"--vary", "spei.spmax=0.5,1.5", "--vary", "rech.maxa=12,14,16", "--name", "{base} v{n}"}), 1);
    EXPECT_NE(letzte_fehlerzeile().find("Name existiert bereits"), std::string::npos) << fehler.str();
    struct fall {
        std::vector<std::string> argumente;
        int status;
        const char* grund;
    };
    const fall faelle[] = {
        {{"--vary", "kol.flaeche=2,3"}, 2, "kolu, kolo"},
        {{"--vary", "gibtsnicht.x=1"}, 2, "Unbekannte Tabelle"},
        {{"--vary", "spei.gibtsnicht=1"}, 2, "Unbekannte Spalte"},
        {{"--vary", "spei.name=a"}, 2, "Schlüsselspalte"},
        {{"--vary", "spei.spmax"}, 2, "TABELLE.SPALTE"},
        {{"--vary", "spei.spmax=1,,2"}, 2, "leerem Wert"},
        {{"--vary", "spei.spmax=viel"}, 1, "Kein Zahlenwert"},
        {{"--name", "x"}, 2, "--vary"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.argumente[1]);
        EXPECT_EQ(sweep(f.argumente), f.status);
        EXPECT_NE(letzte_fehlerzeile().find(f.grund), std::string::npos) << fehler.str();
    }
    EXPECT_EQ(abfrage(db / "HAUPT.sqlite", "SELECT count(*) FROM haupt")[0][0],
              std::to_string(std::stoi(anzahl_haupt[0][0]) + 6));
}

// A sweep is refused whole, before anything is written, when it is too
// large, its name pattern is wrong, or a variant would only fail when it
// runs: a value out of its range, a file name outside the result folder, a
// row that does not exist. Nothing of it is kept.
TEST_F(SerieParallel, VariantenWerdenVorDemSchreibenGeprueft) {
    const fs::path db = datenbank("db");
    auto zaehle = [&](const char* datei, const char* tabelle) {
        return abfrage(db / datei, std::string("SELECT count(*) FROM ") + tabelle)[0][0];
    };
    const std::string haupt0 = zaehle("HAUPT.sqlite", "haupt"), spei0 = zaehle("SPEI.sqlite", "spei"),
                      rech0 = zaehle("RECH.sqlite", "rech");
    std::string tausend;
    for (int i = 1; i <= 1000; ++i) tausend += (i > 1 ? "," : "") + std::to_string(i);
    struct fall {
        std::vector<std::string> argumente;
        int status;
        std::string grund;
    };
    const std::vector<fall> faelle = {
        {{"--vary", "spei.spmax=" + tausend, "--vary", "rech.maxa=" + tausend, "--dry-run"}, 1,
         "sweep ergibt 1000000 Varianten, mehr als die Grenze von 10000 (--max-variants N hebt sie an)"},
        {{"--vary", "spei.spmax=1,2,3", "--max-variants", "2"}, 1, "sweep ergibt 3 Varianten, mehr als die Grenze von 2"},
        {{"--vary", "spei.spmax=1", "--max-variants", "0"}, 2, "--max-variants braucht eine ganze Zahl von 1 bis 1000000"},
        {{"--vary", "spei.spmax=1", "--name", "X {7}"}, 2,
         "Namensmuster nennt den Wert {7}, es gibt aber nur 1 --vary: \"X {7}\""},
        {{"--vary", "spei.spmax=1", "--name", "X {n"}, 2, "Namensmuster mit offener Klammer"},
        {{"--vary", "spei.spmax=1", "--name", "X {m}"}, 2, "Unbekannter Platzhalter im Namensmuster"},
        {{"--vary", "spei.spmax=1,-1"}, 1,
         "Spalte spmax: -1 m3; zulässig 0 bis 1e+06 m3 (Variante Braunschweig EFH spmax=-1; keine Variante angelegt)"},
        {{"--vary", "rech.maxge=0"}, 1, "Spalte maxge: 0 m3/s"},
        {{"--vary", "haupt.ausgabefile=../escaped"}, 1, "Spalte ausgabefile: \"../escaped\""},
        {{"--vary", "haupt.ausgabefile=/tmp/abs"}, 1, "Spalte ausgabefile: \"/tmp/abs\""},
        {{"--vary", "haupt.steuer=a/b"}, 1, "Spalte steuer: \"a/b\""},
        {{"--vary", "haupt.spei=does_not_exist"}, 1, "Datensatz existiert nicht in Datenbank: spei"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.grund);
        std::vector<std::string> a{"--db", db.string(), "sweep", "Braunschweig EFH"};
        a.insert(a.end(), f.argumente.begin(), f.argumente.end());
        EXPECT_EQ(rufe(a), f.status);
        schliesse_alle_tabellen();
        EXPECT_NE(letzte_fehlerzeile().find(f.grund), std::string::npos) << letzte_fehlerzeile();
        EXPECT_EQ(zaehle("HAUPT.sqlite", "haupt"), haupt0);
        EXPECT_EQ(zaehle("SPEI.sqlite", "spei"), spei0);
        EXPECT_EQ(zaehle("RECH.sqlite", "rech"), rech0);
    }
    // Raised, the limit lets a larger study through.
    EXPECT_EQ(rufe({"--db", db.string(), "sweep", "Braunschweig EFH", "--vary", "spei.spmax=1,2,3", "--max-variants",
                    "3", "--name", "{base} {n}"}),
              0)
        << fehler.str();
    schliesse_alle_tabellen();
    EXPECT_EQ(std::stoi(zaehle("HAUPT.sqlite", "haupt")), std::stoi(haupt0) + 3);
}

TEST_F(SerieParallel, FalscheBefehlszeilen) {
    const std::vector<std::vector<std::string>> faelle = {
        {"batch", "--jobs", "0"},      {"batch", "--jobs", "1025"},
        {"batch", "--shard", "4/3"},   {"batch", "--shard", "x"},  {"merge"},
        {"sweep", "x", "--jobs", "2"}, {"simulate", "x", "--shard", "1/2"},
    };
    for (auto f : faelle) {
        SCOPED_TRACE(f[0] + " " + (f.size() > 1 ? f[1] : ""));
        f.insert(f.begin(), {"--lang", "en", "--db", basis.string()});
        EXPECT_EQ(rufe(f), 2);
        EXPECT_EQ(letzte_fehlerzeile().rfind("varnek-cli: error: ", 0), 0u) << fehler.str();
    }
    // The value that is not a whole number is named.
    EXPECT_EQ(rufe({"--lang", "en", "batch", "--jobs", "1.5"}), 2);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: error: --jobs takes a whole number from 1 to 1024: \"1.5\" (see --help)");
}
