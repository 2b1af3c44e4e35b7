#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "cli_hilfen.h"

namespace {

// The rows of a trace printed with --csv, each as column -> text.
std::vector<std::map<std::string, std::string>> spurzeilen(const std::string& csv) {
    std::istringstream s(csv);
    std::string zeile;
    std::vector<std::string> kopf;
    std::vector<std::map<std::string, std::string>> zeilen;
    auto felder = [](const std::string& z) {
        std::vector<std::string> f;
        std::stringstream t(z);
        std::string x;
        while (std::getline(t, x, ',')) f.push_back(x);
        return f;
    };
    while (std::getline(s, zeile)) {
        if (kopf.empty()) {
            kopf = felder(zeile);
            continue;
        }
        const auto f = felder(zeile);
        std::map<std::string, std::string> z;
        for (size_t i = 0; i < kopf.size() && i < f.size(); ++i) z[kopf[i]] = f[i];
        zeilen.push_back(z);
    }
    return zeilen;
}

double zahl(const std::map<std::string, std::string>& z, const std::string& spalte) {
    return std::stod(z.at(spalte));
}

}  // namespace

// The trace of a month: one row per interval with the step kept and every
// step tried (a single simulation walks the whole flow range of 100 steps,
// it used to try only the largest); with --attempts a row per attempt, the
// kept one marked once. Nothing is stored: no result file, no catalogue row.
TEST_F(Cli, SpurZeigtJedesIntervallMitBehaltenemSchrittUndAllenVersuchen) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0);
    ASSERT_EQ(rufe(mit_verzeichnissen({"trace", "Braunschweig EFH", "--month", "4", "--area", "18", "--csv"})), 0)
        << fehler.str();
    auto zeilen = spurzeilen(aus.str());
    ASSERT_EQ(zeilen.size(), 1u);  // monthly weather: one interval
    const std::string versuche = zeilen[0].at("attempts");
    EXPECT_EQ(std::count(versuche.begin(), versuche.end(), ':'), 100) << versuche;
    EXPECT_EQ(zeilen[0].at("month"), "4");
    EXPECT_EQ(zeilen[0].at("area_m2"), "18");

    ASSERT_EQ(rufe(mit_verzeichnissen({"trace", "Braunschweig EFH", "--month", "4", "--area", "18", "--csv",
                                       "--attempts"})),
              0);
    zeilen = spurzeilen(aus.str());
    ASSERT_EQ(zeilen.size(), 100u);
    EXPECT_EQ(std::count_if(zeilen.begin(), zeilen.end(), [](const auto& z) { return z.at("kept") == "1"; }), 1);
    EXPECT_FALSE(std::filesystem::exists(verzeichnis / "res" / "braunschweig.sim"));

    // Every area when none is named, in the order the run computes them.
    ASSERT_EQ(rufe(mit_verzeichnissen({"trace", "Braunschweig EFH", "--month", "7", "--csv"})), 0);
    zeilen = spurzeilen(aus.str());
    ASSERT_GT(zeilen.size(), 2u);
    EXPECT_EQ(zeilen.front().at("area_m2"), "2");
    EXPECT_EQ(zeilen.back().at("area_m2"), "18");

    struct fall {
        std::vector<std::string> argumente;
        int status;
    };
    for (const fall& f : {fall{{"trace", "Braunschweig EFH"}, 2}, fall{{"trace", "Braunschweig EFH", "--month", "13"}, 2},
                          fall{{"trace", "Braunschweig EFH", "--month", "1.5"}, 2},
                          fall{{"trace", "gibt es nicht", "--month", "1"}, 1},
                          fall{{"trace", "Braunschweig EFH", "--month", "1", "--area", "19"}, 1}}) {
        EXPECT_EQ(rufe(mit_verzeichnissen(f.argumente)), f.status) << f.argumente.back();
        EXPECT_NE(letzte_fehlerzeile().find("varnek-cli: "), std::string::npos) << fehler.str();
    }
}

// A collector whose own outflow is hotter than the house's supply (behind the
// counter-flow exchanger of "Braunschweig EFH" in April) delivers its heat
// directly: no lift by the intermediate heat pump. The kernels judged the
// limit by the heat pump's source side and spent about 200 kWh of
// electricity lifting heat that was hot enough already.
TEST_F(Cli, SpurKollektorUeberDerVorlauftemperaturLiefertOhneWaermepumpe) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"trace", "Braunschweig EFH", "--month", "4", "--area", "18", "--csv"})), 0)
        << fehler.str();
    const auto zeilen = spurzeilen(aus.str());
    ASSERT_EQ(zeilen.size(), 1u);
    const auto& z = zeilen[0];
    EXPECT_GT(zahl(z, "tf_s_C"), 30.0);
    EXPECT_EQ(z.at("twf"), "J");
    EXPECT_EQ(zahl(z, "nh_kWh"), 0.0);
    EXPECT_GT(zahl(z, "collector_kWh"), 0.95 * zahl(z, "demand_kWh"));
}

// The intermediate reservoir of 10 m³ as exchanger: in the sunny hours of a
// May day the collector loop runs and charges it. The loop was switched off
// whenever the collector's outflow passed the supply temperature, so the
// plant collected nothing in daylight and a little from the night air.
TEST_F(Cli, SpurReservoirSammeltBeiSonne) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"trace", "EFH Potsdam 2019 stuendlich Intervall M Reservoir", "--month", "5",
                                       "--area", "18", "--csv"})),
              0)
        << fehler.str();
    double sonne = 0.0, waerme = 0.0;
    for (const auto& z : spurzeilen(aus.str())) {
        EXPECT_GE(zahl(z, "collector_kWh"), 0.0) << z.at("interval");
        EXPECT_GE(zahl(z, "nh_kWh"), 0.0) << z.at("interval");
        if (zahl(z, "is0_W_m2") > 500.0) {
            sonne += 1.0;
            waerme += zahl(z, "collector_kWh");
        }
    }
    ASSERT_GT(sonne, 50.0);
    EXPECT_GT(waerme / sonne, 1.0);  // kWh per sunny hour on 18 m²
}

// No interval of the temperature kernel takes heat out of the loop: in weak
// light on a warm loop the pump stays off (it booked slightly negative
// collector heat and with it negative heat-pump electricity).
TEST_F(Cli, SpurKeinIntervallMitNegativerKollektorwaerme) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"trace", "EFH Potsdam 2019 stuendlich Temperatur", "--month", "7", "--area",
                                       "18", "--csv"})),
              0)
        << fehler.str();
    const auto zeilen = spurzeilen(aus.str());
    ASSERT_EQ(zeilen.size(), 744u);
    for (const auto& z : zeilen) {
        EXPECT_GE(zahl(z, "collector_kWh"), 0.0) << z.at("interval");
        EXPECT_GE(zahl(z, "nh_kWh"), 0.0) << z.at("interval");
    }
}

// The analytic method solves intermediate coupling with the ww pump's linear
// COP; with the polynomial model it read the polynomial's coefficients as
// linear ones (COPs above 100) and is refused with its reason.
TEST_F(Cli, AnalytischeRechnungVerweigertDasPolynomDerZwischenwaermepumpe) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"sweep", "Braunschweig EFH", "--vary", "num.art=A", "--vary",
                                       "num.zeitraum=I", "--name", "BS analytisch"})),
              0)
        << fehler.str();
    EXPECT_EQ(rufe(mit_verzeichnissen({"simulate", "BS analytisch"})), 1);
    EXPECT_NE(fehler.str().find("lineare (oder analytische) Modell"), std::string::npos) << fehler.str();
}
