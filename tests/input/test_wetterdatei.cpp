#include "input/wetterdatei.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "data/datenbank.h"
#include "sheets/blatt_hilfen.h"
#include "support/wetterjahr_dateien.h"

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
    // The measured year as an EPW file (once per test).
    fs::path epw_jahr() {
        const fs::path p = verzeichnis / "potsdam_2019.epw";
        if (!fs::exists(p)) wetterjahr_dateien::schreibe_epw(p);
        return p;
    }
    // A copy of a file with line `nr` (1-based) replaced by the lines `neu`
    // (none: the line removed).
    fs::path mit(const fs::path& quelle, int nr, const std::vector<std::string>& neu, const char* endung = ".epw") {
        std::ifstream ein(quelle, std::ios::binary);
        std::ostringstream aus;
        std::string z;
        for (int i = 1; std::getline(ein, z); ++i) {
            if (i != nr) {
                aus << z << '\n';
                continue;
            }
            for (const auto& n : neu) aus << n << "\r\n";
        }
        const fs::path p = verzeichnis / ("geaendert_" + std::to_string(++kopien_) + endung);
        std::ofstream(p, std::ios::binary) << aus.str();
        return p;
    }
    // Line `nr` of a file.
    static std::string zeile(const fs::path& datei, int nr) {
        std::ifstream ein(datei, std::ios::binary);
        std::string z;
        for (int i = 1; i <= nr; ++i) std::getline(ein, z);
        if (!z.empty() && z.back() == '\r') z.pop_back();
        return z;
    }
    int kopien_ = 0;
};

// The excerpts are read field by field: location, source and the hours as
// the files hold them (the excerpt is no whole year and is not written).
TEST_F(Wetterdatei, AuszuegeWerdenGelesen) {
    const auto epw = lies_wetterdatei(AUSZUG / "potsdam_2019_auszug.epw");
    ASSERT_TRUE(epw);
    EXPECT_EQ(epw->format, "EPW");
    EXPECT_EQ(epw->ort, "Potsdam");
    EXPECT_EQ(epw->land, "DEU");
    EXPECT_EQ(epw->wmo, "10379");
    EXPECT_DOUBLE_EQ(epw->breite, 52.38);
    EXPECT_DOUBLE_EQ(epw->laenge, 13.06);
    EXPECT_EQ(epw->quelle, "EPW DWD 3987");
    EXPECT_EQ(epw->jahr, 2019);
    EXPECT_NE(epw->info.find("Quelle: Deutscher Wetterdienst"), std::string::npos);
    ASSERT_EQ(epw->stunden.size(), 72u);
    // Hour 12 of 1 January: 78 Wh/qm global, 75 diffuse, 7.4 °C; line 20.
    const wetterstunde& h = epw->stunden[11];
    EXPECT_EQ(h.monat, 1);
    EXPECT_EQ(h.tag, 1);
    EXPECT_EQ(h.stunde, 12);
    EXPECT_DOUBLE_EQ(h.global, 78.0);
    EXPECT_DOUBLE_EQ(h.diffus, 75.0);
    EXPECT_DOUBLE_EQ(h.temperatur, 7.4);
    EXPECT_EQ(h.zeile, 20);

    // The same hours as a test reference year: global = B + D, the location
    // back from the Lambert coordinates; a reference year is no measured year.
    const auto tr = lies_wetterdatei(AUSZUG / "potsdam_2019_auszug.dat");
    ASSERT_TRUE(tr);
    EXPECT_EQ(tr->format, "TRY");
    EXPECT_NEAR(tr->breite, 52.38, 1e-5);
    EXPECT_NEAR(tr->laenge, 13.06, 1e-5);
    EXPECT_EQ(tr->quelle, "DWD TRY");
    EXPECT_EQ(tr->land, "D");
    EXPECT_FALSE(tr->jahr);
    EXPECT_NE(tr->info.find("RW 4201223 HW 2845008"), std::string::npos);
    ASSERT_EQ(tr->stunden.size(), 72u);
    EXPECT_DOUBLE_EQ(tr->stunden[11].global, 78.0);  // B 3 + D 75
    EXPECT_DOUBLE_EQ(tr->stunden[11].diffus, 75.0);
}

// The whole measured year as an EPW file: the monthly sums and daily-extreme
// means of the import equal those of the reference summary, which were
// computed from the hourly data independently; location, units and source
// come from the file.
TEST_F(Wetterdatei, GanzesJahrGegenReferenzsummen) {
    ASSERT_TRUE(import(epw_jahr(), "potsdam_2019"));
    std::ifstream summe(fs::path(VARNEK_SOURCE_DIR) / "data" / "reference" /
                        "weather_potsdam_2019_dwd_monthly_summary.csv");
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
    tabelle& w = tab(tir_ta_m);
    EXPECT_NEAR(monat("irgesamt"), 1146.0, 0.05);  // data/reference/README.md: 1146.0 kWh/qm
    EXPECT_EQ(w.ganzzahl("m1"), 744);
    EXPECT_EQ(w.ganzzahl("m2"), 672);
    EXPECT_EQ(detailzeilen("potsdam_2019"), 8760);
    EXPECT_NEAR(monat("mittlerefeuchte"), 73.2, 0.05);  // the yearly mean of the default record
    EXPECT_DOUBLE_EQ(monat("h1"), 246.6);                // daylight hours of January at 52.38° N
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
    EXPECT_TRUE(senke.dialoge.empty()) << letzter_dialog();

    // Hour 12 of 1 January: 77.78 Wh/qm global, 75 diffuse, 7.4 °C; the middle
    // of the hour in solar time 11.5 + (13.06 - 15) / 15 h. Day 2, hour 1: number 25.
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_2019")), feldwert(int64_t{1}), feldwert(int64_t{12})}));
    tabelle& d = tab(tir_ta_d);
    EXPECT_DOUBLE_EQ(d.zahl("ir_g"), 0.07778);
    EXPECT_DOUBLE_EQ(d.zahl("is_g"), 77.78);
    EXPECT_DOUBLE_EQ(d.zahl("ir_d"), 0.075);
    EXPECT_DOUBLE_EQ(d.zahl("tamin"), 7.4);
    EXPECT_DOUBLE_EQ(d.zahl("tamax"), 7.4);
    EXPECT_DOUBLE_EQ(d.zahl("h"), 1.0);
    EXPECT_DOUBLE_EQ(d.zahl("hm"), 11.371);
    EXPECT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_2019")), feldwert(int64_t{1}), feldwert(int64_t{25})}));
    EXPECT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_2019")), feldwert(int64_t{12}), feldwert(int64_t{744})}));
}

// The same year as a test reference year, and as an EPW file with a UTF-8
// byte-order mark (as some editors save it); a year with 29 February has
// 8784 hours.
TEST_F(Wetterdatei, TestreferenzjahrBomUndSchaltjahr) {
    const fs::path tr = verzeichnis / "potsdam_2019.dat";
    wetterjahr_dateien::schreibe_try(tr);
    ASSERT_TRUE(import(tr, "potsdam_try")) << letzter_dialog();
    tabelle& w = tab(tir_ta_m);
    EXPECT_EQ(w.text("quelle"), "DWD TRY");
    EXPECT_NEAR(monat("breite"), 52.38, 1e-5);
    EXPECT_TRUE(w.ist_feld_leer("meßdatum"));
    EXPECT_EQ(detailzeilen("potsdam_try"), 8760);
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(std::string("potsdam_try")), feldwert(int64_t{1}), feldwert(int64_t{12})}));
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("ir_g"), 0.078);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("hm"), 11.371);  // CET like the EPW file

    std::ifstream ein(epw_jahr(), std::ios::binary);
    const fs::path bom = verzeichnis / "bom.epw";
    std::ofstream(bom, std::ios::binary) << "\xEF\xBB\xBF" << ein.rdbuf();
    EXPECT_TRUE(import(bom, "mit_bom")) << letzter_dialog();
    EXPECT_EQ(detailzeilen("mit_bom"), 8760);

    // 28 February (lines 1401..1424 of the file, after 8 header lines and 58
    // days) once more as 29 February.
    std::vector<std::string> schalttag;
    for (int i = 1401; i <= 1424; ++i) {
        std::string z = zeile(epw_jahr(), i);
        ASSERT_EQ(z.rfind("2019,2,28,", 0), 0u) << z;
        schalttag.push_back("2020,2,29," + z.substr(10));
    }
    std::vector<std::string> neu{zeile(epw_jahr(), 1424)};
    neu.insert(neu.end(), schalttag.begin(), schalttag.end());
    EXPECT_TRUE(import(mit(epw_jahr(), 1424, neu), "schaltjahr")) << letzter_dialog();
    EXPECT_EQ(detailzeilen("schaltjahr"), 8784);
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m2"), 696);
}

// A file that is not one whole year in order, or not readable, writes
// nothing: each case with the file and the line of the first misfit.
TEST_F(Wetterdatei, FehlerSchreibenNichts) {
    struct fall {
        fs::path datei;
        std::string meldung;
    };
    const fs::path jahr = epw_jahr();
    const std::string z11 = zeile(jahr, 11), z12 = zeile(jahr, 12);  // 1 January, hours 3 and 4
    ASSERT_EQ(z11.rfind("2019,1,1,3,", 0), 0u);
    auto ersetzt = [&](const std::string& z, int feld, const std::string& wert) {
        std::vector<std::string> f;
        std::stringstream s(z);
        for (std::string x; std::getline(s, x, ',');) f.push_back(x);
        f[static_cast<size_t>(feld)] = wert;
        std::string r;
        for (size_t i = 0; i < f.size(); ++i) r += (i ? "," : "") + f[i];
        return r;
    };
    const fs::path halb = verzeichnis / "halb.epw", halb_try = verzeichnis / "halb.dat", fifo = verzeichnis / "rohr.epw";
    wetterjahr_dateien::schreibe_epw(halb, 4008);
    wetterjahr_dateien::schreibe_try(halb_try, 4000);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<fall> f = {
        {mit(jahr, 11, {ersetzt(z11, 6, "99.9")}), "geaendert_1.epw, Zeile 11: fehlender Wert für t"},
        {mit(jahr, 11, {ersetzt(z11, 3, "2")}), "Zeile 11: Stunde doppelt: 1.1. 2"},
        {mit(jahr, 11, {ersetzt(z11, 13, "-5")}), "Zeile 11: unmöglicher Wert für global (-5)"},
        {mit(jahr, 11, {"2019,1,1,3"}), "Falsches Datenformat: geaendert_4.epw, Zeile 11"},
        {mit(jahr, 11, {}), "Lücke in den Stundenwerten: Monat 1, Tag 1, Stunde 3 fehlt (geaendert_5.epw, Zeile 11)"},
        {mit(mit(jahr, 12, {}), 11, {z12, z11}), "Stunde nicht in der Reihenfolge des Jahres: geaendert_7.epw, "
                                                 "Zeile 11: 1.1. Stunde 4 nach 1.1. Stunde 2"},
        {halb, "Wetterdatei ist kein ganzes Jahr (8760 Stunden, 8784 mit dem 29. Februar; gelesen: 4000), sie endet "
               "nach 16.6. Stunde 16 (halb.epw, Zeile 4008)"},
        {halb_try, "Wetterdatei ist kein ganzes Jahr"},
        {AUSZUG / "potsdam_2019_auszug.epw", "Lücke in den Stundenwerten: Monat 1, Tag 3, Stunde 1 fehlt"},
        {mit(jahr, 1, {"LOCATIONX"}), "EPW-Datei ohne Zeile LOCATION"},
        {mit(jahr, 8, {"DATA PERIODS,1,4,Data,Tuesday, 1/ 1,12/31"}),
         "Nur Stundenwerte werden eingelesen (Werte je Stunde: 4)"},
        {verzeichnis / "fehlt.epw", "Wetterdatei kann nicht gelesen werden"},
        {fifo, "Wetterdatei ist keine reguläre Datei: " + fifo.string()},
        {verzeichnis, "Wetterdatei ist keine reguläre Datei"},
        {AUSZUG / "README.md", "Unbekanntes Format der Wetterdatei"},
    };
    for (const auto& x : f) {
        SCOPED_TRACE(x.meldung);
        senke.dialoge.clear();
        EXPECT_FALSE(import(x.datei, "kaputt"));
        ASSERT_FALSE(senke.dialoge.empty());
        EXPECT_NE(letzter_dialog().find(x.meldung), std::string::npos) << letzter_dialog();
        EXPECT_EQ(senke.dialoge.back().schwere, 'E');
        EXPECT_FALSE(auf(tir_ta_m, {feldwert(std::string("kaputt"))}));
        EXPECT_EQ(detailzeilen("kaputt"), 0);
    }
}

// A stored record is replaced only by a whole year; a refused replacement,
// a taken name or a bad name leave it as it was.
TEST_F(Wetterdatei, ErsetzenNurDurchEinGanzesJahr) {
    const fs::path tr = verzeichnis / "potsdam_2019.dat", halb = verzeichnis / "halb.epw";
    wetterjahr_dateien::schreibe_try(tr);
    wetterjahr_dateien::schreibe_epw(halb, 4008);
    ASSERT_TRUE(import(tr, "potsdam"));
    auto unveraendert = [&] {
        ASSERT_TRUE(auf(tir_ta_m, {feldwert(std::string("potsdam"))}));
        EXPECT_EQ(tab(tir_ta_m).text("quelle"), "DWD TRY");
        EXPECT_EQ(tab(tir_ta_m).ganzzahl("m12"), 744);
        EXPECT_EQ(detailzeilen("potsdam"), 8760);
    };
    EXPECT_FALSE(import(epw_jahr(), "potsdam"));
    EXPECT_EQ(letzter_dialog(), "Fehler: Wetterdatensatz existiert bereits (--replace ersetzt ihn): potsdam");
    unveraendert();
    EXPECT_FALSE(import(halb, "potsdam", true));
    unveraendert();
    ASSERT_TRUE(import(epw_jahr(), "potsdam", true));
    ASSERT_TRUE(auf(tir_ta_m, {feldwert(std::string("potsdam"))}));
    EXPECT_EQ(tab(tir_ta_m).text("quelle"), "EPW DWD 3987");
    EXPECT_EQ(detailzeilen("potsdam"), 8760);

    const std::vector<std::pair<std::string, std::string>> namen = {
        {std::string(51, 'x'), "länger als 50 Zeichen"},
        {"  ", "leer"},
        {"zwei\nzeilen", "enthält ein Steuerzeichen: \"zwei\\nzeilen\""},
        {"tab\tulator", "enthält ein Steuerzeichen: \"tab\\tulator\""},
        {"glocke\x07", "enthält ein Steuerzeichen: \"glocke\\x07\""},
        {"c1\xC2\x85", "enthält ein Steuerzeichen"},
    };
    for (const auto& [name, grund] : namen) {
        SCOPED_TRACE(grund);
        EXPECT_FALSE(import(epw_jahr(), name));
        EXPECT_NE(letzter_dialog().find(grund), std::string::npos) << letzter_dialog();
        EXPECT_EQ(letzter_dialog().find('\n'), std::string::npos);
    }
    EXPECT_EQ(tab(tir_ta_m).anzahl(), 1);
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
