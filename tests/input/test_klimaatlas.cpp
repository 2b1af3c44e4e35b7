#include "input/klimaatlas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>

#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "sheets/blatt_hilfen.h"
#include "sheets/detailblatt.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

// The measured Potsdam year 2019 (data/reference): hourly global irradiation
// (Wh/qm) and temperature, by month, day and hour 1..24 (the row labelled
// hh:00 UTC is hour hh + 1 of the day), and the monthly summary.
struct potsdam {
    std::map<int, std::map<int, std::array<double, 25>>> global, temperatur;
    std::vector<std::vector<double>> summe;  // month, ghi, dhi, mean, daily min mean, daily max mean
    potsdam() {
        const fs::path ref = fs::path(VARNEK_SOURCE_DIR) / "data" / "reference";
        std::ifstream ein(ref / "weather_potsdam_2019_dwd_hourly.csv");
        std::string z;
        std::getline(ein, z);
        while (std::getline(ein, z)) {
            std::vector<std::string> f;
            std::stringstream s(z);
            for (std::string t; std::getline(s, t, ',');) f.push_back(t);
            const int m = std::stoi(f[1].substr(5, 2)), d = std::stoi(f[1].substr(8, 2)),
                      h = std::stoi(f[1].substr(11, 2)) + 1;
            global[m][d][static_cast<size_t>(h)] = std::stod(f[2]);
            temperatur[m][d][static_cast<size_t>(h)] = std::stod(f[4]);
        }
        std::ifstream s(ref / "weather_potsdam_2019_dwd_monthly_summary.csv");
        std::getline(s, z);
        while (std::getline(s, z)) {
            std::vector<double> f;
            std::stringstream t(z);
            for (std::string x; std::getline(t, x, ',');) f.push_back(std::stod(x));
            summe.push_back(f);
        }
    }
};

const potsdam& daten() {
    static const potsdam p;
    return p;
}

class Klimaatlas : public mit_leerer_datenbank {
protected:
    void SetUp() override {
        mit_leerer_datenbank::SetUp();
        atlas = verzeichnis / "atlas";
        for (const char* o : {"CLIMATO", "DAILY", "HOURLY", "ancillary"}) fs::create_directories(atlas / o);
        einstellungen_daten& e = einstellungen();
        e.monatsmittel.pfad = atlas / "CLIMATO";
        e.tagesmittel.pfad = atlas / "DAILY";
        e.stundenmittel.pfad = atlas / "HOURLY";
        e.stationsliste.pfad = atlas / "ancillary" / "stations.txt";
        schreibe_stationsliste();
        schreibe_dateien();
        zeile(tir_ta_m, {{"name", std::string("atlas")}, {"zeitintervall", std::string("A")}});
        senke.dialoge.clear();
    }
    void TearDown() override {
        einstellungen().monatstage[2] = 28;
        mit_leerer_datenbank::TearDown();
    }

    // Potsdam with its coordinates in hundredths of a degree and the marks of
    // the series written below; Braunschweig as a line that ends after the name.
    void schreibe_stationsliste() {
        std::ofstream s(einstellungen().stationsliste.pfad);
        std::string marken(48, ' ');
        for (int i : {4, 7, 10, 11, 15, 18, 19}) marken[static_cast<size_t>(2 * i + 1)] = '1';
        s << "10379" << std::left << std::setw(40) << "Potsdam" << std::right << std::setw(7) << "5238" << std::setw(8)
          << "1306" << std::setw(5) << "81" << std::left << std::setw(6) << "D" << std::setw(5) << "" << std::setw(5)
          << "" << marken << "\n";
        s << "10348Braunschweig\n";
    }

    void schreibe_dateien() {
        const potsdam& p = daten();
        auto datei = [&](const char* ordner, const std::string& name) {
            std::ofstream o(atlas / ordner / (name + "10379.txt"));
            o << "Potsdam 10379, Quelle: Deutscher Wetterdienst\n" << std::setprecision(10);
            return o;
        };
        {
            // Monthly: global irradiation (kWh/qm), means of the daily minima and maxima.
            std::ofstream gr = datei("CLIMATO", "gr"), tn = datei("CLIMATO", "tn"), tx = datei("CLIMATO", "tx");
            for (const auto& f : p.summe) {
                gr << f[1] << (f[0] < 12 ? " " : "\n");
                tn << f[4] << (f[0] < 12 ? " " : "\n");
                tx << f[5] << (f[0] < 12 ? " " : "\n");
            }
        }
        {
            // Daily: 12 lines of 31 day sums (kWh/qm); 0 fills the days a month lacks.
            std::ofstream gr = datei("DAILY", "gr");
            for (int m = 1; m <= 12; ++m) {
                gr << 2019 << ' ' << m;
                for (int d = 1; d <= 31; ++d) {
                    double s = 0.0;
                    if (p.global.at(m).count(d))
                        for (int h = 1; h <= 24; ++h) s += p.global.at(m).at(d)[static_cast<size_t>(h)] / 1000.0;
                    gr << ' ' << s;
                }
                gr << '\n';
            }
        }
        {
            // Hourly: one line per day of 2019 (Wh/qm, °C), then a block of 2020
            // whose values are placeholders (0): only its calendar is used.
            std::ofstream gr = datei("HOURLY", "gr"), tn = datei("HOURLY", "tn"), tx = datei("HOURLY", "tx");
            for (const auto& [m, tage] : p.global) {
                for (const auto& [d, stunden] : tage) {
                    for (std::ofstream* o : {&gr, &tn, &tx}) *o << 2019 << ' ' << m << ' ' << d;
                    for (int h = 1; h <= 24; ++h) {
                        gr << ' ' << stunden[static_cast<size_t>(h)];
                        for (std::ofstream* o : {&tn, &tx}) *o << ' ' << p.temperatur.at(m).at(d)[static_cast<size_t>(h)];
                    }
                    for (std::ofstream* o : {&gr, &tn, &tx}) *o << '\n';
                }
            }
            for (int k = 0; k < 366; ++k) {
                gr << "2020 0 0";
                for (int h = 1; h <= 24; ++h) gr << " 0";
                gr << '\n';
            }
        }
    }
    static double summe_monat(int monat, const char* spalte) {
        double s = 0.0;
        tabelle& d = tab(tir_ta_d);
        for (const auto& z : d.lies_alle(d.schluesselspalten()))
            if (als_text(z[0]) == "atlas" && als_zahl(z[1]) == monat) s += als_zahl(z[static_cast<size_t>(d.spalten_index(spalte))]);
        return s;
    }
    static void zeitintervall(const char* zi) {
        auf(tir_ta_m, {feldwert(std::string("atlas"))});
        tab(tir_ta_m).bearbeiten();
        tab(tir_ta_m).setze("zeitintervall", zi[0] ? feldwert(std::string(zi)) : feldwert());
        tab(tir_ta_m).speichern();
    }
    fs::path atlas;
};

TEST_F(Klimaatlas, StationslisteUndVorbereitung) {
    const auto f = zerlege_stationszeile("10348Braunschweig");
    ASSERT_EQ(f.size(), 32u);
    EXPECT_EQ(f[0], "10348");
    EXPECT_EQ(f[1], "Braunschweig");
    for (size_t i = 2; i < 32; ++i) EXPECT_EQ(f[i], "") << i;

    zeitintervall("");
    EXPECT_FALSE(vor_aufruf().ok);
    EXPECT_EQ(letzter_dialog(), "Fehler: Erst Zeitintervall eingeben");
    zeitintervall("D");
    EXPECT_FALSE(vor_aufruf().ok);
    EXPECT_EQ(letzter_dialog(), "Fehler: Keine Monatswerte für diffuse Einstrahlung");

    // "K": monthly values; the station list is read into wmo once.
    zeitintervall("K");
    auto v = vor_aufruf();
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.aufloesungen, std::vector<atlas_aufloesung>{atlas_aufloesung::monat});
    tabelle& w = tab(twmo);
    ASSERT_EQ(w.anzahl(), 1);  // filtered: Braunschweig has no monthly series
    EXPECT_EQ(w.text("name"), "Potsdam");
    EXPECT_EQ(w.text("breite"), "5238");
    EXPECT_EQ(w.text("land"), "D");
    EXPECT_EQ(w.text("mon_taegl_temperaturmin"), "1");
    w.filter_aus();
    EXPECT_EQ(w.anzahl(), 2);
    EXPECT_EQ(lies_stationsliste(einstellungen().stationsliste.pfad), 0);

    zeitintervall("A");
    v = vor_aufruf();
    ASSERT_TRUE(v.ok);
    EXPECT_EQ(v.aufloesungen.front(), atlas_aufloesung::stunde);
    EXPECT_EQ(tab(twmo).anzahl(), 1);
    EXPECT_EQ(jahre_ermitteln(atlasdatei(atlas_aufloesung::stunde, "gr", "10379"), atlas_aufloesung::stunde),
              (std::vector<int>{2019, 2020}));
}

TEST_F(Klimaatlas, MonatswerteMitStation) {
    ASSERT_EQ(lies_stationsliste(einstellungen().stationsliste.pfad), 2);
    auf(tir_ta_m, {feldwert(std::string("atlas"))});
    ASSERT_TRUE(daten_einlesen(atlas_aufloesung::monat, atlas_groesse::global, "10379"));
    ASSERT_TRUE(daten_einlesen(atlas_aufloesung::monat, atlas_groesse::temperatur, "10379"));
    tabelle& w = tab(tir_ta_m);
    for (const auto& f : daten().summe) {
        const std::string k = std::to_string(static_cast<int>(f[0]));
        EXPECT_DOUBLE_EQ(w.zahl("ir" + k), f[1]) << k;
        EXPECT_DOUBLE_EQ(w.zahl("ta" + k + "min"), f[4]) << k;
        EXPECT_DOUBLE_EQ(w.zahl("ta" + k + "max"), f[5]) << k;
    }
    EXPECT_EQ(w.text("ort"), "Potsdam");
    EXPECT_EQ(w.text("wmo"), "10379");
    EXPECT_EQ(w.text("land"), "D");
    EXPECT_DOUBLE_EQ(w.zahl("breite"), 52.38);
    EXPECT_DOUBLE_EQ(w.zahl("laenge"), 13.06);

    // A missing maximum file: nothing of the temperature is written.
    fs::remove(atlas / "CLIMATO" / "tx10379.txt");
    w.bearbeiten();
    w.setze("ta1min", 99.0);
    w.speichern();
    EXPECT_FALSE(daten_einlesen(atlas_aufloesung::monat, atlas_groesse::temperatur, "10379"));
    EXPECT_DOUBLE_EQ(tab(tir_ta_m).zahl("ta1min"), 99.0);
}

// Daily sums and hourly values of 2019: the sums of the detail rows of each
// month equal the monthly sums of the reference summary; the means adopted
// with the detail sheet equal its daily-extreme means.
TEST_F(Klimaatlas, TagesUndStundenwerte) {
    lies_stationsliste(einstellungen().stationsliste.pfad);
    auf(tir_ta_m, {feldwert(std::string("atlas"))});
    ASSERT_TRUE(daten_einlesen(atlas_aufloesung::tag, atlas_groesse::global, "10379", 2019));
    for (const auto& f : daten().summe) EXPECT_NEAR(summe_monat(static_cast<int>(f[0]), "ir_g"), f[1], 0.006) << f[0];
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m1"), 31);
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m2"), 28);
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(std::string("atlas")), feldwert(int64_t{1}), feldwert(int64_t{31})}));
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("hm"), 12.0);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("h"), 7.955);  // January day length at 52.38° N
    EXPECT_EQ(tab(tir_ta_d).text("zeitintervall"), "A");

    // Hourly into a record of its own.
    zeile(tir_ta_m, {{"name", std::string("stunden")}, {"zeitintervall", std::string("A")}});
    ASSERT_TRUE(daten_einlesen(atlas_aufloesung::stunde, atlas_groesse::global, "10379", 2019, 0.001));
    ASSERT_TRUE(daten_einlesen(atlas_aufloesung::stunde, atlas_groesse::temperatur, "10379", 2019));
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m1"), 744);
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(std::string("stunden")), feldwert(int64_t{1}), feldwert(int64_t{37})}));
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("hm"), 13.0);  // hour 13 of 2 January
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("h"), 1.0);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("tamin"), daten().temperatur.at(1).at(2)[13]);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("tamax"), daten().temperatur.at(1).at(2)[13]);
    auf(tir_ta_m, {feldwert(std::string("stunden"))});
    ASSERT_TRUE(alle_berechnen_und_uebernehmen(detailart::wetter));
    for (const auto& f : daten().summe) {
        const std::string k = std::to_string(static_cast<int>(f[0]));
        EXPECT_NEAR(tab(tir_ta_m).zahl("ir" + k), f[1], 0.006) << k;
        EXPECT_NEAR(tab(tir_ta_m).zahl("ta" + k + "min"), f[4], 0.006) << k;
        EXPECT_NEAR(tab(tir_ta_m).zahl("ta" + k + "max"), f[5], 0.006) << k;
    }
    EXPECT_EQ(tage_im_monat(2), 28);
}

TEST_F(Klimaatlas, SchaltjahrStundenwerte) {
    lies_stationsliste(einstellungen().stationsliste.pfad);
    auf(tir_ta_m, {feldwert(std::string("atlas"))});
    EXPECT_FALSE(daten_einlesen(atlas_aufloesung::stunde, atlas_groesse::global, "10379", 2021));
    EXPECT_EQ(letzter_dialog(), "Fehler: Jahr nicht in der Datei: 2021, " +
                                    atlasdatei(atlas_aufloesung::stunde, "gr", "10379").string());
    ASSERT_TRUE(daten_einlesen(atlas_aufloesung::stunde, atlas_groesse::global, "10379", 2020));
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m2"), 29 * 24);
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m12"), 31 * 24);
    EXPECT_EQ(tage_im_monat(2), 29);  // for the rest of the program run
    EXPECT_EQ(teste_schaltjahr(2019), 'N');
    EXPECT_EQ(tage_im_monat(2), 28);
}

}  // namespace
