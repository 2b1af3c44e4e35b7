#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/cli.h"
#include "support/aufzeichnende_senke.h"

class Cli : public mit_meldungen {
protected:
    int rufe(std::vector<std::string> argumente) {
        argumente.insert(argumente.begin(), "varnek-cli");
        std::vector<const char*> argv;
        for (const auto& a : argumente) argv.push_back(a.c_str());
        aus.str("");
        fehler.str("");
        return varnek_cli(static_cast<int>(argv.size()), argv.data(), aus, fehler);
    }
    std::vector<std::string> mit_verzeichnissen(std::vector<std::string> rest) {
        std::vector<std::string> a{"--db", (verzeichnis / "db").string(), "--results",
                                   (verzeichnis / "res").string()};
        a.insert(a.end(), rest.begin(), rest.end());
        return a;
    }
    std::ostringstream aus, fehler;
};

TEST_F(Cli, ErsterStartLegtDatenbankAnUndListetDatensaetze) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0) << fehler.str();
    EXPECT_NE(fehler.str().find("Default-Datenbank angelegt"), std::string::npos);
    const std::string liste = aus.str();
    EXPECT_EQ(std::count(liste.begin(), liste.end(), '\n'), 43);
    EXPECT_NE(liste.find("Braunschweig EFH\tNF"), std::string::npos);
    // The second start finds the database and leaves it alone.
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0);
    EXPECT_EQ(fehler.str().find("angelegt"), std::string::npos);
}

TEST_F(Cli, FehlerGebenStatusUndEineZeileGrund) {
    EXPECT_EQ(rufe({"gibtsnicht"}), 2);
    EXPECT_EQ(rufe({"--lang", "fr", "list"}), 2);
    EXPECT_EQ(rufe({"--help"}), 0);
    EXPECT_NE(aus.str().find("Usage: varnek-cli"), std::string::npos);

    const auto kaputt = verzeichnis / "kaputt.sim";
    std::ofstream(kaputt) << "keine Ergebnisdatei\n";
    EXPECT_EQ(rufe(mit_verzeichnissen({"show", kaputt.string()})), 1);
    const std::string f = fehler.str();
    EXPECT_NE(f.rfind("varnek-cli: Fehler: Falsches Datenformat"), std::string::npos) << f;

    std::filesystem::create_directories(verzeichnis / "voll");
    std::ofstream(verzeichnis / "voll" / "x.txt") << "x";
    EXPECT_EQ(rufe({"init-db", (verzeichnis / "voll").string()}), 1);
}
