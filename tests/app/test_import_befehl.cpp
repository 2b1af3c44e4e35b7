#include <gtest/gtest.h>

#include "app/cli_hilfen.h"
#include "data/datenbank.h"

using namespace tabledata;

namespace {

const std::string AUSZUG = VARNEK_TEST_FIXTURES "/wetter/potsdam_2019_auszug";

class ImportBefehl : public Cli {
protected:
    void TearDown() override {
        schliesse_alle_tabellen();
        Cli::TearDown();
    }
};

TEST_F(ImportBefehl, WetterdateiAlsDatensatz) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"import-weather", AUSZUG + ".epw", "--name", "potsdam"})), 0) << fehler.str();
    EXPECT_EQ(aus.str(),
              "Wetterdatensatz: potsdam\nOrt: Potsdam, DEU\nBreite, Länge: 52.3800, 13.0600\nQuelle: EPW DWD 3987\n"
              "Messjahr: 2019\nStunden je Monat: 48 0 0 0 0 0 24 0 0 0 0 0\nGlobalstrahlung im Jahr: 6.8 kWh/qm\n");
    tabelle& w = tab(tir_ta_m);
    w.filter_aus();
    w.sortiere_nach_schluessel();
    ASSERT_TRUE(w.suche({feldwert(std::string("potsdam"))}));
    EXPECT_DOUBLE_EQ(w.zahl("ir1"), 1.122);

    // A second import under the name is refused with the reason; --replace replaces.
    EXPECT_EQ(rufe(mit_verzeichnissen({"import-weather", AUSZUG + ".dat", "--name", "potsdam"})), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Wetterdatensatz existiert bereits (--replace ersetzt ihn): potsdam");
    ASSERT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "import-weather", AUSZUG + ".dat", "--name", "potsdam",
                                       "--replace"})),
              0)
        << fehler.str();
    EXPECT_NE(aus.str().find("Source: DWD TRY\n"), std::string::npos);
    EXPECT_NE(aus.str().find("Place: D\n"), std::string::npos);

    EXPECT_EQ(rufe(mit_verzeichnissen({"--lang", "en", "import-weather", AUSZUG + ".txt", "--name", "x"})), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: error: weather file cannot be read: " + AUSZUG + ".txt");
}

TEST_F(ImportBefehl, FalscheBefehlszeile) {
    EXPECT_EQ(rufe(mit_verzeichnissen({"import-weather", AUSZUG + ".epw"})), 2);
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
