#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/WP_variables.h"
#include "station/simulierte_ports.h"
#include "station/wetterstation.h"
#include "support/aufzeichnende_senke.h"
#include "support/simulierte_station.h"

namespace {

class Wetterstation : public mit_meldungen, protected simulierte_station<simulierte_uhr> {
protected:
    Wetterstation() : simulierte_station({2024, 3, 5, 10, 30, 0.0}) {}
    std::unique_ptr<anlage> a = std::make_unique<anlage>();
    std::unique_ptr<datz3> reihen = std::make_unique<datz3>();
    flagchar numchar{};

    void SetUp() override {
        mit_meldungen::SetUp();
        einstellungen.adc_10bit = true;
        a->Wetterstation_com = 3;
        numchar[ndata::messmodus] = "J";
    }
};

}  // namespace

TEST(Normierung, FaelleDerSensorliste) {
    struct fall {
        int itemindex;
        double umess, sab, dmess, dsab;
    };
    const double lm_null = 1024.0 * 2.731 / 3.86;
    const fall faelle[] = {
        {0, 500.0, 2.0, 650.0, 2.6},                 // irradiation times 1.3
        {1, 40.0, 1.0, 80.0, 2.0},                   // snow times normab 2
        {2, 1024.0 * 0.958 / 5.0, 0.0, 0.0, 0.0},    // 0.958 V: 0 % humidity
        {3, 281.6, 0.0, 0.0, 0.0},                   // 1.375 V: 0 degC
        {7, 281.6 + 4.608, 0.0, 1.0, 0.0},           // free sensor: 22.5 mV per K
        {5, 281.6, 4.608, 0.0, 1.0},                 // spread through the curve
        {8, lm_null, 0.0, 0.0, 0.0},                 // LM235Z 2.731 V: 0 degC
        {9, lm_null + 1024.0 / 386.0, 0.0, 1.0, 0.0},
        {12, 7.0, 3.0, -1.0, -1.0},                  // unknown case: unchanged
    };
    for (const fall& f : faelle) {
        double dmess = -1.0, dsab = -1.0;
        normiere_messwerte_wetterstation(dmess, dsab, f.itemindex, f.umess, f.sab, 1.3, 2.0);
        EXPECT_NEAR(dmess, f.dmess, 1e-9) << "case " << f.itemindex;
        EXPECT_NEAR(dsab, f.dsab, 1e-9) << "case " << f.itemindex;
    }
}

TEST(Normierung, MittelwertUndStandardfehler) {
    const double werte[] = {2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0};
    const messwert m = mittelwert_und_streuung(werte, 8);
    EXPECT_DOUBLE_EQ(m.umess, 5.0);
    EXPECT_NEAR(m.sab, std::sqrt(32.0 / 7.0) / std::sqrt(8.0), 1e-12);
    const messwert eins = mittelwert_und_streuung(werte + 6, 1);
    EXPECT_DOUBLE_EQ(eins.umess, 7.0);
    EXPECT_DOUBLE_EQ(eins.sab, 0.0);
}

TEST_F(Wetterstation, SensortestMisstHoechstens1000MalUndNormiert) {
    simulierte_platine& ws = *ports.platine(3);
    ws.setze_wandlungsfolge({600, 600, 600, 600, 620, 620, 620, 620});  // four conversions a reading
    station.setze_text("Edit1", "2");
    station.sensortest(sensor_einstrahlung, *a);
    EXPECT_EQ(station.feld("Edit2"), "610.00");
    EXPECT_EQ(station.feld("Edit3"), "10.00");  // s = 14.14, / sqrt 2
    EXPECT_EQ(station.feld("Edit15"), "793.00");
    EXPECT_EQ(station.feld("Edit16"), "13.00");

    ws.bestuecke_adc(1);  // 8-bit readings: quick enough for a thousand
    einstellungen.adc_10bit = false;
    einstellungen.adc_8bit = true;
    station.setze_text("Edit1", "2000");
    station.sensortest(sensor_einstrahlung, *a);
    EXPECT_EQ(station.feld("Edit1"), "1000");

    a->Wetterstation_com = 100;
    station.setze_text("Edit2", "5");
    station.sensortest(sensor_einstrahlung, *a);
    EXPECT_EQ(station.feld("Edit2"), "0");
}

TEST_F(Wetterstation, MessungDerStationStehtInDerEingabereihe) {
    (*reihen)[zdata::is0][3][100] = -1.0;
    (*reihen)[zdata::ta][3][100] = -1.0;
    station.messe_ta_is(*reihen, 3, 100, *a, numchar);
    // Channel 1 irradiation 612, channel 0 temperature 330 of the board.
    EXPECT_DOUBLE_EQ((*reihen)[zdata::is0][3][100], 1.3 * 612.0);
    EXPECT_DOUBLE_EQ((*reihen)[zdata::ta][3][100], (330.0 / 1024.0 * 5.0 - 1.375) * 1000.0 / 22.5);
    EXPECT_EQ(station.feld("Edit9"), "795.60");
    EXPECT_EQ(station.feld("Edit8"), "10.50");
    EXPECT_EQ(station.feld("Edit35"), "3");
    EXPECT_EQ(station.feld("Edit36"), "100");

    // Test mode: the stored values are shown and kept.
    numchar[ndata::messmodus] = "N";
    (*reihen)[zdata::is0][3][101] = 321.0;
    station.messe_ta_is(*reihen, 3, 101, *a, numchar);
    EXPECT_DOUBLE_EQ((*reihen)[zdata::is0][3][101], 321.0);
    EXPECT_EQ(station.feld("Edit9"), "321.00");
    EXPECT_EQ(station.feld("Edit13"), "0.00");
}

TEST_F(Wetterstation, AusgefalleneStationBehaeltGespeicherteWerteUndMeldetEinmal) {
    station.im_steuerlauf = true;
    ports.platine(3)->abziehen();
    for (int j = 10; j <= 12; ++j) {
        (*reihen)[zdata::is0][6][j] = 200.0 + j;
        (*reihen)[zdata::ta][6][j] = 15.0;
        station.messe_ta_is(*reihen, 6, j, *a, numchar);
        EXPECT_DOUBLE_EQ((*reihen)[zdata::is0][6][j], 200.0 + j);
        EXPECT_DOUBLE_EQ((*reihen)[zdata::ta][6][j], 15.0);
    }
    int meldungen = 0;
    for (const auto& d : senke.dialoge) meldungen += d.text.find("Gerät antwortet nicht: Wetterstation") == 0;
    EXPECT_EQ(meldungen, 1);
    EXPECT_TRUE(station.ausgefallen('W'));

    ports.platine(3)->einstecken();
    station.messe_ta_is(*reihen, 6, 13, *a, numchar);
    EXPECT_DOUBLE_EQ((*reihen)[zdata::is0][6][13], 1.3 * 612.0);
    EXPECT_FALSE(station.ausgefallen('W'));
    EXPECT_EQ(senke.dialoge.back().text, "Gerät antwortet wieder: Wetterstation");
}

TEST_F(Wetterstation, VorbereitungAusDerUhrUndStartDesSteuerlaufs) {
    a->umwaelzpumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
    station.initialisiere_wetterstation_fuer_steuern(*a, 42.5);
    EXPECT_EQ(station.startmonat, 3);
    EXPECT_EQ(station.startintervall, 4 * 24 + 10 + 1);
    EXPECT_EQ(a->Umwaelzpumpe_com, 4);
    EXPECT_EQ(a->ventilator_com, 5);
    EXPECT_EQ(station.feld("Edit38"), "4");
    EXPECT_EQ(station.feld("Edit42"), "42.50");

    station.setze_text("Edit36", "7");
    auto d3 = std::make_unique<::date3>();
    std::string messflag;
    ASSERT_TRUE(station.steuerlauf_vorbereiten(false, false, *a, *d3, verzeichnis / "kontrolle.text", messflag));
    EXPECT_EQ(messflag, "N");
    EXPECT_TRUE(a->kein_anschluss_com);
    EXPECT_EQ(station.startintervall, 7);
    EXPECT_EQ(a->umwaelzpumpe.pumpe_steuerung, u'V');
    EXPECT_EQ(a->zwischen_waermepumpe.waermepumpe_steuerung, u'I');
    EXPECT_TRUE(d3->steuerflag);
    EXPECT_DOUBLE_EQ(d3->datetime_alt, 10 * 3600.0 + 30 * 60.0);
    EXPECT_EQ(d3->filename_kontrolle, (verzeichnis / "kontrolle.text").string());
}

TEST_F(Wetterstation, HandausgabenErreichenDiePlatinen) {
    a->umwaelzpumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
    a->zwischen_waermepumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
    a->kollektorventilator.strom_spannungs_quelle = {"MCP4802", "", 0.0, 10.0};
    station.setze_text("Edit17", "5");
    station.setze_text("Edit20", "10");
    station.setze_text("Edit44", "8");
    // The window's DAC choice counts for manual outputs; the fan's chip is an MCP4802.
    einstellungen.dac = "AD7303";
    station.ssq_ausgeben(*a);
    EXPECT_NEAR(ports.platine(4)->spannung_V(), 5.0, 10.0 / 255.0);
    EXPECT_NEAR(ports.platine(4)->strom_mA(), 10.0, 20.0 / 255.0);
    einstellungen.dac = "MCP4802";
    station.ventilator_ausgeben(*a);
    EXPECT_NEAR(ports.platine(5)->spannung_V(), 8.0, 10.0 / 255.0);
    einstellungen.dac = "AD7303";
    station.quellen_null(*a);
    EXPECT_EQ(ports.platine(4)->spannung_V(), 0.0);
    EXPECT_EQ(ports.platine(4)->strom_mA(), 0.0);
}

TEST(Heizplatte, StrahlungUndKonvektion) {
    // Radiation between a plate at 60 degC and a room at 20 degC, 1 m2.
    EXPECT_NEAR(strahlung_platte(1.0, 60.0, 20.0), 511.5689, 1e-3);
    stoffdaten_luft luft;
    // Air near 20 degC: lambda 0.0257 W/(m K), nu 15.1e-6 m2/s in columns 3 and 4.
    luft.tmin = -50.0;
    luft.tmax = 100.0;
    // The table is stored column by column, 100 rows each.
    for (std::size_t z = 0; z < 100; ++z) {
        luft.vstoffdatenluft[0 * 100 + z] = -50.0 + static_cast<double>(z) * 1.5;
        luft.vstoffdatenluft[3 * 100 + z] = 0.0257;
        luft.vstoffdatenluft[4 * 100 + z] = 15.1e-6;
    }
    const plattenleistung p = waermeabgabe_platte(1.0, 1.0, 60.0, 20.0, luft);
    // Natural convection on a heated plate: a few W/(m2 K).
    EXPECT_GT(p.alpha, 2.0);
    EXPECT_LT(p.alpha, 10.0);
    EXPECT_DOUBLE_EQ(p.konvektion_w, p.alpha * 40.0);
    EXPECT_DOUBLE_EQ(waermeabgabe_platte(1.0, 1.0, 20.0, 20.0, luft).konvektion_w, 0.0);
    EXPECT_DOUBLE_EQ(waermeabgabe_platte(0.0, 1.0, 60.0, 20.0, luft).konvektion_w, 0.0);
}
