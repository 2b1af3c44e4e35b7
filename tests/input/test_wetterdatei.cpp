#include "input/wetterdatei.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "data/datenbank.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

const fs::path AUSZUG = fs::path(VARNEK_TEST_FIXTURES) / "wetter";

class Wetterdatei : public mit_leerer_datenbank {
protected:
    static double monat(const char* spalte) { return tab(tir_ta_m).zahl(spalte); }
    static int detailzeilen(const std::string& name) {
        int n = 0;
        tabelle& d = tab(tir_ta_d);
        for (const auto& z : d.lies_alle(d.schluesselspalten()))
            if (als_text(z[0]) == name) ++n;
        return n;
    }
    bool import(const fs::path& datei, const std::string& name, bool ersetzen = false) {
        const auto j = lies_wetterdatei(datei);
        return j && schreibe_wetterdatensatz(*j, name, ersetzen).has_value();
    }
    // A copy of the EPW excerpt with line `nr` (1-based) replaced, or removed
    // when `neu` is empty.
    fs::path epw_mit(int nr, const std::string& neu) {
        std::ifstream ein(AUSZUG / "potsdam_2019_auszug.epw");
        std::ostringstream aus;
        std::string z;
        for (int i = 1; std::getline(ein, z); ++i) {
            if (i == nr && neu.empty()) continue;
            aus << (i == nr ? neu : z) << '\n';
        }
        const fs::path p = verzeichnis / ("geaendert_" + std::to_string(++kopien_) + ".epw");
        std::ofstream(p) << aus.str();
        return p;
    }
    int kopien_ = 0;
};

// Monthly sums and daily-extreme means of the excerpt, computed from the file
// by hand: January 48 h, global 1122 Wh/qm, diffuse 736, daily minima 6.7 and
// -5.4 (mean 0.65), maxima 7.9 and 3.4 (mean 5.65); July 24 h, 5656 and 2690,
// 17.7 and 27.7.
TEST_F(Wetterdatei, EpwAuszug) {
    ASSERT_TRUE(import(AUSZUG / "potsdam_2019_auszug.epw", "potsdam_epw"));
    tabelle& w = tab(tir_ta_m);
    EXPECT_EQ(w.text("name"), "potsdam_epw");
    EXPECT_DOUBLE_EQ(monat("ir1"), 1.122);
    EXPECT_DOUBLE_EQ(monat("diff1"), 0.736);
    EXPECT_DOUBLE_EQ(monat("ta1min"), 0.65);
    EXPECT_DOUBLE_EQ(monat("ta1max"), 5.65);
    EXPECT_EQ(w.ganzzahl("m1"), 48);
    EXPECT_DOUBLE_EQ(monat("ir7"), 5.656);
    EXPECT_DOUBLE_EQ(monat("diff7"), 2.69);
    EXPECT_DOUBLE_EQ(monat("ta7min"), 17.7);
    EXPECT_DOUBLE_EQ(monat("ta7max"), 27.7);
    EXPECT_EQ(w.ganzzahl("m7"), 24);
    EXPECT_EQ(w.ganzzahl("m2"), 0);
    EXPECT_TRUE(w.ist_feld_leer("ir2"));
    EXPECT_DOUBLE_EQ(monat("irgesamt"), 6.778);
    EXPECT_DOUBLE_EQ(monat("h1"), 246.6);  // daylight hours of January at 52.38° N
    // Location, units and source from the file.
    EXPECT_EQ(w.text("ort"), "Potsdam");
    EXPECT_EQ(w.text("land"), "DEU");
    EXPECT_EQ(w.text("wmo"), "10379");
    EXPECT_DOUBLE_EQ(monat("breite"), 52.38);
    EXPECT_DOUBLE_EQ(monat("laenge"), 13.06);
    EXPECT_EQ(w.text("einheit_ir"), "kWh/qm");
    EXPECT_EQ(w.text("einheit_temp"), "°C");
    EXPECT_EQ(w.text("quelle"), "EPW DWD 3987");
    EXPECT_EQ(w.ganzzahl("meßdatum"), 2019);
    EXPECT_EQ(w.text("zeitintervall"), "A");
    EXPECT_NE(w.text("info").find("Quelle: Deutscher Wetterdienst"), std::string::npos);
    EXPECT_EQ(detailzeilen("potsdam_epw"), 72);
    // The months without hours are named.
    EXPECT_EQ(letzter_dialog(), "Warnung: Monate ohne Stundenwerte in potsdam_epw: 2, 3, 4, 5, 6, 8, 9, 10, 11, 12");

    // Hour 12 of 1 January: 78 Wh/qm global, 75 diffuse, 7.4 °C; the middle of
    // the hour in solar time 11.5 + (13.06 - 15) / 15 h.
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_epw")), feldwert(int64_t{1}), feldwert(int64_t{12})}));
    tabelle& d = tab(tir_ta_d);
    EXPECT_DOUBLE_EQ(d.zahl("ir_g"), 0.078);
    EXPECT_DOUBLE_EQ(d.zahl("is_g"), 78.0);
    EXPECT_DOUBLE_EQ(d.zahl("ir_d"), 0.075);
    EXPECT_DOUBLE_EQ(d.zahl("tamin"), 7.4);
    EXPECT_DOUBLE_EQ(d.zahl("tamax"), 7.4);
    EXPECT_DOUBLE_EQ(d.zahl("h"), 1.0);
    EXPECT_DOUBLE_EQ(d.zahl("hm"), 11.371);
    // Second day, hour 1: number 25.
    EXPECT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_epw")), feldwert(int64_t{1}), feldwert(int64_t{25})}));
}

// The same hours as a test reference year: B + D rounded separately give
// 1121 and 5657 Wh/qm; the location comes back from the Lambert coordinates.
TEST_F(Wetterdatei, TestreferenzjahrAuszug) {
    ASSERT_TRUE(import(AUSZUG / "potsdam_2019_auszug.dat", "potsdam_try"));
    tabelle& w = tab(tir_ta_m);
    EXPECT_DOUBLE_EQ(monat("ir1"), 1.121);
    EXPECT_DOUBLE_EQ(monat("diff1"), 0.736);
    EXPECT_DOUBLE_EQ(monat("ta1min"), 0.65);
    EXPECT_DOUBLE_EQ(monat("ta1max"), 5.65);
    EXPECT_DOUBLE_EQ(monat("ir7"), 5.657);
    EXPECT_EQ(w.ganzzahl("m7"), 24);
    EXPECT_NEAR(monat("breite"), 52.38, 1e-5);
    EXPECT_NEAR(monat("laenge"), 13.06, 1e-5);
    EXPECT_EQ(w.text("quelle"), "DWD TRY");
    EXPECT_EQ(w.text("land"), "D");
    EXPECT_TRUE(w.ist_feld_leer("meßdatum"));  // a reference year is no measured year
    EXPECT_NE(w.text("info").find("RW 4201223 HW 2845008"), std::string::npos);
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_try")), feldwert(int64_t{1}), feldwert(int64_t{12})}));
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("ir_g"), 0.078);  // B 3 + D 75
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("hm"), 11.371);   // CET like the EPW file
}

// The whole measured year as an EPW file: the monthly sums and daily-extreme
// means of the import equal those of the reference summary, which were
// computed from the hourly data independently.
TEST_F(Wetterdatei, GanzesJahrGegenReferenzsummen) {
    const fs::path ref = fs::path(VARNEK_SOURCE_DIR) / "data" / "reference";
    std::ifstream ein(ref / "weather_potsdam_2019_dwd_hourly.csv");
    ASSERT_TRUE(ein);
    const fs::path datei = verzeichnis / "potsdam_2019.epw";
    {
        std::ofstream aus(datei);
        aus << "LOCATION,Potsdam,BB,DEU,DWD 3987,10379,52.38,13.06,1.0,81.0\nDESIGN CONDITIONS,0\n"
               "TYPICAL/EXTREME PERIODS,0\nGROUND TEMPERATURES,0\nHOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0\n"
               "COMMENTS 1,Quelle: Deutscher Wetterdienst\nCOMMENTS 2,\nDATA PERIODS,1,1,Data,Tuesday, 1/ 1,12/31\n";
        std::string z;
        std::getline(ein, z);
        while (std::getline(ein, z)) {
            std::vector<std::string> f;
            std::stringstream s(z);
            for (std::string t; std::getline(s, t, ',');) f.push_back(t);
            // time_label_utc 2019-MM-DDThh:00Z: hour hh + 1 of the day (CET).
            const int m = std::stoi(f[1].substr(5, 2)), d = std::stoi(f[1].substr(8, 2)),
                      h = std::stoi(f[1].substr(11, 2)) + 1;
            aus << "2019," << m << ',' << d << ',' << h << ",60,-," << f[4] << ",99.9," << f[5]
                << ",99999,9999,9999,9999," << f[2] << ",9999," << f[3] << ",999999,999999,999999,9999," << f[7] << ','
                << f[6] << ",99,99,9999,99999,9,999999999,999,0.999,999,99,999,999,99\n";
        }
    }
    ASSERT_TRUE(import(datei, "potsdam_2019"));
    std::ifstream summe(ref / "weather_potsdam_2019_dwd_monthly_summary.csv");
    std::string z;
    std::getline(summe, z);
    int monate = 0;
    while (std::getline(summe, z)) {
        std::vector<double> f;
        std::stringstream s(z);
        for (std::string t; std::getline(s, t, ',');) f.push_back(std::stod(t));
        const std::string k = std::to_string(static_cast<int>(f[0]));
        EXPECT_NEAR(monat(("ir" + k).c_str()), f[1], 0.006) << k;
        EXPECT_NEAR(monat(("diff" + k).c_str()), f[2], 0.006) << k;
        EXPECT_NEAR(monat(("ta" + k + "min").c_str()), f[4], 0.006) << k;
        EXPECT_NEAR(monat(("ta" + k + "max").c_str()), f[5], 0.006) << k;
        ++monate;
    }
    EXPECT_EQ(monate, 12);
    EXPECT_NEAR(monat("irgesamt"), 1146.0, 0.05);  // data/reference/README.md: 1146.0 kWh/qm
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m2"), 672);
    EXPECT_EQ(detailzeilen("potsdam_2019"), 8760);
    EXPECT_NEAR(monat("mittlerefeuchte"), 73.2, 0.05);  // the yearly mean of the default record
}

TEST_F(Wetterdatei, FehlerSchreibenNichts) {
    struct fall {
        fs::path datei;
        const char* meldung;
    };
    const std::string gut =
        "2019,1,1,3,60,-,99.9,99.9,90,101240,9999,9999,9999,0,9999,0,999999,999999,999999,9999,260,6.5,10,99,9999,"
        "99999,9,999999999,999,0.999,999,99,999,999,99";
    const std::vector<fall> f = {
        {epw_mit(11, gut), "geaendert_1.epw, Zeile 11: fehlender Wert für t"},
        {epw_mit(11, "2019,1,1,2,60,-,7.7,99.9,90,101240,9999,9999,9999,0,9999,0,999999,999999,999999,9999,260,6.5,"
                     "10,99,9999,99999,9,999999999,999,0.999,999,99,999,999,99"),
         "Zeile 11: Stunde doppelt: 1.1. 2"},
        {epw_mit(11, "2019,1,1,3,60,-,7.7,99.9,90,101240,9999,9999,9999,-5,9999,0,999999,999999,999999,9999,260,6.5,"
                     "10,99,9999,99999,9,999999999,999,0.999,999,99,999,999,99"),
         "Zeile 11: unmöglicher Wert für global (-5)"},
        {epw_mit(11, "2019,1,1,3"), "Falsches Datenformat: geaendert_4.epw, Zeile 11"},
        {epw_mit(11, ""), "Lücke in den Stundenwerten: Monat 1, Tag 1, Stunde 3 fehlt"},
        {epw_mit(1, "LOCATIONX"), "EPW-Datei ohne Zeile LOCATION"},
        {epw_mit(8, "DATA PERIODS,1,4,Data,Tuesday, 1/ 1,12/31"), "Nur Stundenwerte werden eingelesen (Werte je Stunde: 4)"},
        {verzeichnis / "fehlt.epw", "Wetterdatei kann nicht gelesen werden"},
        {AUSZUG / "README.md", "Unbekanntes Format der Wetterdatei"},
    };
    for (const auto& x : f) {
        senke.dialoge.clear();
        EXPECT_FALSE(import(x.datei, "kaputt")) << x.meldung;
        EXPECT_NE(letzter_dialog().find(x.meldung), std::string::npos) << x.meldung << " / " << letzter_dialog();
        EXPECT_EQ(senke.dialoge.back().schwere, 'E');
        EXPECT_FALSE(auf(tir_ta_m, {feldwert(std::string("kaputt"))}));
        EXPECT_EQ(detailzeilen("kaputt"), 0);
    }
}

TEST_F(Wetterdatei, VorhandenerNameNurMitErsetzen) {
    ASSERT_TRUE(import(AUSZUG / "potsdam_2019_auszug.dat", "potsdam"));
    EXPECT_FALSE(import(AUSZUG / "potsdam_2019_auszug.epw", "potsdam"));
    EXPECT_EQ(letzter_dialog(), "Fehler: Wetterdatensatz existiert bereits (--replace ersetzt ihn): potsdam");
    auf(tir_ta_m, {feldwert(std::string("potsdam"))});
    EXPECT_EQ(tab(tir_ta_m).text("quelle"), "DWD TRY");
    ASSERT_TRUE(import(AUSZUG / "potsdam_2019_auszug.epw", "potsdam", true));
    auf(tir_ta_m, {feldwert(std::string("potsdam"))});
    EXPECT_EQ(tab(tir_ta_m).text("quelle"), "EPW DWD 3987");
    EXPECT_DOUBLE_EQ(monat("ir1"), 1.122);
    EXPECT_EQ(detailzeilen("potsdam"), 72);
    EXPECT_FALSE(import(AUSZUG / "potsdam_2019_auszug.epw", std::string(51, 'x')));
}

// The worked example of the Lambert conformal conic projection with two
// standard parallels in the EPSG guidance (Clarke 1866, US survey feet):
// 28°30' N, 96° W -> E 2 963 503.91 ft, N 254 759.80 ft.
TEST(Lambert, BeispielUndUmkehrung) {
    lcc_parameter p;
    const double fuss = 1200.0 / 3937.0;
    p.a = 6378206.400 / fuss;
    p.f = 1.0 / 294.97870;
    p.breite0 = 27.0 + 50.0 / 60.0;
    p.laenge0 = -99.0;
    p.breite1 = 28.0 + 23.0 / 60.0;
    p.breite2 = 30.0 + 17.0 / 60.0;
    p.x0 = 2000000.0;
    p.y0 = 0.0;
    const auto [x, y] = geographisch_nach_lcc(p, 28.5, -96.0);
    EXPECT_NEAR(x, 2963503.91, 0.02);
    EXPECT_NEAR(y, 254759.80, 0.02);
    const auto g = lcc_nach_geographisch(p, x, y);
    EXPECT_NEAR(g.breite, 28.5, 1e-9);
    EXPECT_NEAR(g.laenge, -96.0, 1e-9);
    // The origin of the European projection.
    const auto o = lcc_nach_geographisch(lcc_europa(), 4000000.0, 2800000.0);
    EXPECT_NEAR(o.breite, 52.0, 1e-12);
    EXPECT_NEAR(o.laenge, 10.0, 1e-12);
}

}  // namespace
