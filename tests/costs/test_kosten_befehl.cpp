// The runner command "costs" on a result of the default database.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "app/cli.h"
#include "support/aufzeichnende_senke.h"

namespace {

const std::string FIXTURE = VARNEK_TEST_FIXTURES "/costs/test_ausgabe_ZJEG_IAAN-N_st0.sim";

class KostenBefehl : public mit_meldungen {
protected:
    int rufe(std::vector<std::string> argumente) {
        std::vector<std::string> a{"varnek-cli", "--db", (verzeichnis / "db").string(), "--results",
                                   (verzeichnis / "res").string()};
        a.insert(a.end(), argumente.begin(), argumente.end());
        std::vector<const char*> argv;
        for (const auto& x : a) argv.push_back(x.c_str());
        aus.str("");
        fehler.str("");
        return varnek_cli(static_cast<int>(argv.size()), argv.data(), aus, fehler);
    }
    // The last line written to stderr.
    std::string letzte_fehlerzeile() const {
        std::string text = fehler.str();
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text.substr(text.rfind('\n') + 1);
    }
    std::ostringstream aus, fehler;
};

TEST_F(KostenBefehl, TabelleJeDatenindexUndFlaeche) {
    ASSERT_EQ(rufe({"costs", "--csv", FIXTURE, FIXTURE}), 0) << fehler.str();
    std::istringstream zeilen(aus.str());
    std::string kopf, erste;
    std::getline(zeilen, kopf);
    EXPECT_EQ(kopf, "index,file,area [qm],cell_area [qm],investment [EUR],annuity [EUR],energy_bills [EUR],"
                    "cell_income [EUR],maintenance [EUR],yearly_costs [EUR]");
    std::getline(zeilen, erste);
    // First area of the first file: the hand-computed total of the core test.
    EXPECT_EQ(erste.rfind("1," + FIXTURE + ",2,0,18370.73", 0), 0u) << erste;
    EXPECT_NE(erste.find(",3647.29"), std::string::npos) << erste;
    int anzahl = 1;
    for (std::string z; std::getline(zeilen, z);) ++anzahl;
    EXPECT_EQ(anzahl, 10);  // two files of five areas

    ASSERT_EQ(rufe({"--lang", "en", "costs", FIXTURE}), 0) << fehler.str();
    EXPECT_NE(aus.str().find("Data index 1: " + FIXTURE + " (test_ZJEG_IAAN-N_st0)"), std::string::npos);
    EXPECT_NE(aus.str().find("Interest rate = 0.03 -"), std::string::npos) << aus.str();
    EXPECT_NE(aus.str().find("Costs/year [EUR]"), std::string::npos);
}

TEST_F(KostenBefehl, FehlerMitStatusUndGrundInDerSprache) {
    EXPECT_EQ(rufe({"costs"}), 2);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: costs braucht mindestens eine Ergebnisdatei");
    const std::vector<std::string> sieben(7, FIXTURE);
    std::vector<std::string> a{"--lang", "en", "costs"};
    a.insert(a.end(), sieben.begin(), sieben.end());
    EXPECT_EQ(rufe(a), 2);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: error: Maximum number of files to read: 6");

    EXPECT_EQ(rufe({"costs", (verzeichnis / "fehlt.dat").string()}), 1);
    EXPECT_NE(letzte_fehlerzeile().find("Fehler: Falsches Datenformat"), std::string::npos) << fehler.str();

    // A result whose data set is not in the database.
    std::ifstream ein(FIXTURE, std::ios::binary);
    std::string inhalt((std::istreambuf_iterator<char>(ein)), {});
    inhalt.replace(0, inhalt.find('\r'), "weg");
    const auto fremd = verzeichnis / "fremd.sim";
    std::ofstream(fremd, std::ios::binary) << inhalt;
    EXPECT_EQ(rufe({"--lang", "en", "costs", fremd.string()}), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: error: data set of the result is missing: weg");

    // A table that reads but holds no yearly energies (a control file has
    // other columns) gives no costs; a damaged file is named with its line.
    std::ifstream ein2(FIXTURE, std::ios::binary);
    std::string steuer((std::istreambuf_iterator<char>(ein2)), {});
    for (auto p = steuer.find("   jkk,  "); p != std::string::npos; p = steuer.find("   jkk,  ", p)) steuer.replace(p, 9, "   xyz,  ");
    const auto str = verzeichnis / "steuer.str";
    std::ofstream(str, std::ios::binary) << steuer;
    EXPECT_EQ(rufe({"costs", str.string()}), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Keine Ergebnisdatei einer Simulation oder Optimierung "
                                    "(Spalte fehlt: jkk): " + str.string());
    const auto halb = verzeichnis / "halb.sim";
    std::ofstream(halb, std::ios::binary) << steuer.substr(0, 1000);
    EXPECT_EQ(rufe({"--lang", "en", "costs", halb.string()}), 1);
    EXPECT_EQ(letzte_fehlerzeile().rfind("varnek-cli: error: Wrong data format: " + halb.string() + ", line ", 0), 0u)
        << letzte_fehlerzeile();
}

}  // namespace
