#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/cli_hilfen.h"
#include "data/datenbank.h"
#include "support/wetterjahr_dateien.h"

using namespace tabledata;

namespace {

class ImportBefehl : public Cli {
protected:
    void TearDown() override {
        schliesse_alle_tabellen();
        Cli::TearDown();
    }
};

TEST_F(ImportBefehl, WetterdateiAlsDatensatz) {
    const std::string epw = (verzeichnis / "potsdam.epw").string(), tr = (verzeichnis / "potsdam.dat").string();
    wetterjahr_dateien::schreibe_epw(epw);
    wetterjahr_dateien::schreibe_try(tr);
    ASSERT_EQ(rufe(mit_verzeichnissen({"import-weather", epw, "--name", "potsdam"})), 0) << fehler.str();
    EXPECT_EQ(aus.str(),
              "Wetterdatensatz: potsdam\nOrt: Potsdam, DEU\nBreite, Länge: 52.3800, 13.0600\nQuelle: EPW DWD 3987\n"
              "Messjahr: 2019\nStunden je Monat: 744 672 744 720 744 720 744 744 720 744 720 744\n"
              "Globalstrahlung im Jahr: 1146.0 kWh/qm\n");

    // A second import under the name is refused with the reason; --replace replaces.
    EXPECT_EQ(rufe(mit_verzeichnissen({"import-weather", tr, "--name", "potsdam"})), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Wetterdatensatz existiert bereits (--replace ersetzt ihn): potsdam");
    ASSERT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "import-weather", tr, "--name", "potsdam", "--replace"})), 0)
        << fehler.str();
    EXPECT_NE(aus.str().find("Source: DWD TRY\n"), std::string::npos);
    EXPECT_NE(aus.str().find("Place: D\n"), std::string::npos);

    EXPECT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "import-weather", epw + ".txt", "--name", "x"})), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: error: weather file cannot be read: " + epw + ".txt");
}

// What must not replace or add a record: part of a year (with or without
// --replace), a FIFO (read, it would block for ever), a name with a line
// break. Each is refused with the reason as the last line, and the stored
// record keeps every hour.
TEST_F(ImportBefehl, NurGanzeJahreWerdenGespeichert) {
    const std::string epw = (verzeichnis / "potsdam.epw").string(), halb = (verzeichnis / "half.epw").string(),
                      halb_try = (verzeichnis / "half.dat").string(), rohr = (verzeichnis / "rohr.epw").string();
    wetterjahr_dateien::schreibe_epw(epw);
    wetterjahr_dateien::schreibe_epw(halb, 4008);
    wetterjahr_dateien::schreibe_try(halb_try, 4000);
    ASSERT_EQ(::mkfifo(rohr.c_str(), 0600), 0);
    ASSERT_EQ(rufe(mit_verzeichnissen({"import-weather", epw, "--name", "X"})), 0) << fehler.str();
    schliesse_alle_tabellen();
    struct fall {
        std::vector<std::string> argumente;
        std::string grund;
    };
    const std::vector<fall> faelle = {
        {{"import-weather", halb, "--name", "X", "--replace"},
         "varnek-cli: Fehler: Wetterdatei ist kein ganzes Jahr (8760 Stunden, 8784 mit dem 29. Februar; gelesen: "
         "4000), sie endet nach 16.6. Stunde 16 (half.epw, Zeile 4008)"},
        {{"--lang", "en", "import-weather", halb, "--name", "Y"},
         "varnek-cli: error: weather file is not a whole year (8760 hours, 8784 with 29 February; read: 4000), it "
         "ends after 16.6. hour 16 (half.epw, line 4008)"},
        {{"import-weather", halb_try, "--name", "Y"}, "gelesen: 3974), sie endet nach 15.6. Stunde 14 (half.dat, Zeile 4000)"},
        {{"import-weather", rohr, "--name", "Y"}, "varnek-cli: Fehler: Wetterdatei ist keine reguläre Datei: " + rohr},
        {{"import-weather", epw, "--name", "Y\nZ"},
         "varnek-cli: Fehler: Name des Wetterdatensatzes enthält ein Steuerzeichen: \"Y\\nZ\""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.grund);
        EXPECT_EQ(rufe(mit_verzeichnissen(f.argumente)), 1);
        EXPECT_NE(letzte_fehlerzeile().find(f.grund), std::string::npos) << fehler.str();
        schliesse_alle_tabellen();
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((verzeichnis / "db" / "IR_TA_D.sqlite").string().c_str(), &db), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name, count(*) FROM ir_ta_d WHERE name IN ('X', 'Y', 'Y\nZ') "
                                         "GROUP BY name", -1, &st, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "X");
        EXPECT_EQ(sqlite3_column_int(st, 1), 8760);
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE);
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
}

TEST_F(ImportBefehl, FalscheBefehlszeile) {
    EXPECT_EQ(rufe(mit_verzeichnissen({"import-weather", "potsdam.epw"})), 2);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: import-weather braucht --name NAME (siehe --help)");
    EXPECT_EQ(rufe({"--lang", "en", "import-weather", "--name", "x"}), 2);
    EXPECT_EQ(letzte_fehlerzeile(),
              "varnek-cli: error: wrong number of arguments for import-weather, expected: import-weather <file> "
              "--name NAME [--replace] (see --help)");
    EXPECT_EQ(rufe({"simulate", "x", "--replace"}), 2);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Option passt nicht zum Befehl simulate: --replace (siehe --help)");
    EXPECT_EQ(rufe({"import-weather", "a.epw", "--name"}), 2);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Option braucht einen Wert: --name (siehe --help)");
}

}  // namespace
