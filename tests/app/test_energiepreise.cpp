// Energy prices of a whole run in other output units: the yearly price pek
// is an amount of money, whatever the output unit of energy.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include <sqlite3.h>

#include "app/cli.h"
#include "support/aufzeichnende_senke.h"

namespace {

class Energiepreise : public mit_meldungen {
protected:
    struct wert {
        double zahl = 0.0;
        std::string einheit;
    };
    // Simulates the data set and returns the yearly values printed for pek and jkk with their units.
    std::pair<wert, wert> simuliere(const std::string& datensatz) {
        const std::string db = (verzeichnis / "db").string(), res = (verzeichnis / "res").string();
        const char* argv[] = {"varnek-cli", "--db", db.c_str(), "--results", res.c_str(), "simulate", datensatz.c_str()};
        std::ostringstream aus, fehler;
        EXPECT_EQ(varnek_cli(7, argv, aus, fehler), 0) << fehler.str();
        const std::string text = aus.str();
        auto lies = [&text](const std::string& code) {
            std::smatch m;
            if (!std::regex_search(text, m, std::regex("\\(" + code + "\\): ([-0-9.e+]+) (\\S+)"))) {
                ADD_FAILURE() << code << " fehlt in: " << text;
                return wert{};
            }
            return wert{std::stod(m[1]), m[2]};
        };
        return {lies("pek"), lies("jkk")};
    }
    void sql(const std::string& befehl) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((verzeichnis / "db" / "EINHEITEN.sqlite").string().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, befehl.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << befehl;
        sqlite3_close(db);
    }
};

}  // namespace

TEST_F(Energiepreise, JahrespreisUnabhaengigVonDerEnergieeinheit) {
    const std::string datensatz = "test_ZJEG_IAAN-N_st0";
    const auto [pek_eur, jkk_kwh] = simuliere(datensatz);
    ASSERT_EQ(pek_eur.einheit, "EUR");
    ASSERT_EQ(jkk_kwh.einheit, "kWh");
    ASSERT_GT(pek_eur.zahl, 100.0);

    // MWh for energy and ct for prices as output units.
    sql("UPDATE einheiten SET Ausgabe = 'N' WHERE Kennzeichen IN ('EN', 'PR')");
    sql("INSERT INTO einheiten (Nummer, Kuerzel, PhysGroesse, Haupteinheit, Alpha, Beta, Skalierung, Kennzeichen, "
        "Ausgabe) VALUES (900, 'MWh', 'Energie', 'kWh', 0, 1000, 'N', 'EN', 'J'), "
        "(901, 'ct', 'Preis', 'EUR', 0, 0.01, 'N', 'PR', 'J')");
    const auto [pek_ct, jkk_mwh] = simuliere(datensatz);
    EXPECT_EQ(pek_ct.einheit, "ct");
    EXPECT_EQ(jkk_mwh.einheit, "MWh");
    EXPECT_NEAR(pek_ct.zahl, 100.0 * pek_eur.zahl, 1e-5 * 100.0 * pek_eur.zahl);
    EXPECT_NEAR(jkk_mwh.zahl, jkk_kwh.zahl / 1000.0, 1e-5 * jkk_kwh.zahl / 1000.0);
}
