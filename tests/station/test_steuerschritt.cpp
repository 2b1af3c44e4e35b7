#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/WP_variables.h"
#include "station/simulierte_ports.h"
#include "station/steuerschritt.h"
#include "support/aufzeichnende_senke.h"
#include "support/simulierte_station.h"

namespace {

class Steuerschritt : public mit_meldungen, protected simulierte_station<schnelle_uhr> {
protected:
    Steuerschritt() : simulierte_station({2024, 7, 1, 10, 59, 59.0}) {}
    std::unique_ptr<anlage> a = std::make_unique<anlage>();
    std::unique_ptr<datz3> reihen = std::make_unique<datz3>();
    std::unique_ptr<::date3> d3 = std::make_unique<::date3>();
    flagchar numchar{};
    datt vdatt{};

    void SetUp() override {
        mit_meldungen::SetUp();
        einstellungen.adc_10bit = true;
        anlage& p = *a;
        p.Wetterstation_com = 3;
        p.n = 4;
        p.umwaelzpumpe.pumpe_steuerung = u'V';
        p.umwaelzpumpe.maximalspannung.wert = 10.0;
        p.umwaelzpumpe.maximalstrom.wert = 20.0;
        p.umwaelzpumpe.maximaldurchfluss.wert = 1e-4;  // m3/s
        p.umwaelzpumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
        p.zwischen_waermepumpe.waermepumpe_steuerung = u'I';
        p.zwischen_waermepumpe.maximalstrom.wert = 20.0;
        p.zwischen_waermepumpe.maximalspannung.wert = 10.0;
        p.zwischen_waermepumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
        p.kollektorventilator.maximalspannung.wert = 10.0;
        p.kollektorventilator.maxvolstrom.wert = 1.0;
        p.kollektorventilator.hoeheventilator.wert = 1.0;
        p.kollektorventilator.strom_spannungs_quelle = {"MCP4802", "", 0.0, 10.0};
        p.oberer_kollektor.bul.wert = 1.0;
        vdatt[tdata::ww_leistung] = 4.0;
        numchar[ndata::messmodus] = "J";
        numchar[ndata::gegenstrom] = "G";
    }
};

}  // namespace

TEST_F(Steuerschritt, VentilatorspannungMitMindestwertUndGrenze) {
    // Field 4 m2 with bul 1: width W = 2 m, so below 4 / W = 2 V the fan stays off.
    struct fall {
        double berechnet, ausgabe, luft;
    };
    // Air flow in m3/h: volluft * 3600 while the fan runs.
    const fall faelle[] = {{1.5, 0.0, 0.0}, {3.0, 4.0, 0.6 * 3600.0}, {5.0, 5.0, 1.0 * 3600.0}, {14.0, 10.0, 2.8 * 3600.0}};
    for (const fall& f : faelle) {
        steuerwerte x;
        // U = maxsp * volluft * hoehe / (maxvolstrom * W) = 10 * volluft / 2.
        x.volluft = f.berechnet * 2.0 / 10.0;
        EXPECT_DOUBLE_EQ(ausgabewert_ventilator(station, x, 4.0, *a), f.ausgabe) << f.berechnet;
        EXPECT_EQ(station.feld("Edit45"), "leer");
        EXPECT_NEAR(station.zahl("Edit52"), f.luft, 0.01) << f.berechnet;
    }
}

TEST_F(Steuerschritt, PumpeZwischenpumpeUndDeckungsgrad) {
    steuerwerte x;
    x.vel = 5e-5;  // 4 units: 2e-4 m3/s, twice the maximum flow
    EXPECT_DOUBLE_EQ(ausgabewert_umwaelzpumpe(station, x, *a), 10.0);  // voltage capped
    EXPECT_EQ(station.feld("Edit30"), "leer");
    EXPECT_EQ(station.feld("Edit32"), "720.00");
    a->umwaelzpumpe.pumpe_steuerung = u'I';
    EXPECT_DOUBLE_EQ(ausgabewert_umwaelzpumpe(station, x, *a), 40.0);  // current not capped
    EXPECT_EQ(station.feld("Edit31"), "leer");

    EXPECT_DOUBLE_EQ(ausgabewert_zwischenwaermepumpe(station, 1.0, *a, vdatt), 5.0);
    EXPECT_EQ(station.feld("Edit49"), "5.0000");
    a->zwischen_waermepumpe.waermepumpe_steuerung = u'V';
    EXPECT_DOUBLE_EQ(ausgabewert_zwischenwaermepumpe(station, 1.0, *a, vdatt), 2.5);
    EXPECT_EQ(station.feld("Edit49"), "leer");

    EXPECT_DOUBLE_EQ(berechne_deckungsgrad(station, 100.0, 10.0, 10.0, 5.0), 75.0);
    EXPECT_EQ(station.feld("Edit34"), "75.00");
    EXPECT_DOUBLE_EQ(berechne_deckungsgrad(station, 0.0, 10.0, 0.0, 0.0), 0.0);
}

TEST_F(Steuerschritt, WartenBisZurNaechstenSekundeUeberDieStunde) {
    simulierte_uhr normal{{2024, 7, 1, 10, 59, 59.0}};
    wetterstation w{protokoll, normal};
    warte_naechste_messung(w, 0.0, 1.0);
    EXPECT_EQ(w.feld("Edit27") + ":" + w.feld("Edit28") + ":" + w.feld("Edit29"), "11:0:0");
    const datum_uhrzeit t = normal.jetzt();
    EXPECT_EQ(t.stunde, 11);
    EXPECT_EQ(t.minute, 0);
    EXPECT_NEAR(t.sekunde, 0.0, 1e-6);

    // Across midnight the wait ends on the next day.
    simulierte_uhr nacht{{2024, 7, 1, 23, 59, 30.0}};
    wetterstation n{protokoll, nacht};
    warte_naechste_messung(n, 1.0, 0.0);
    EXPECT_EQ(n.feld("Edit27"), "24");
    EXPECT_EQ(nacht.jetzt().tag, 2);
    EXPECT_EQ(nacht.jetzt().minute, 0);
    EXPECT_NEAR(nacht.jetzt().sekunde, 30.0, 1e-6);

    // The fast clock ends the wait for a measurement at the next full hour.
    zeit.vorstellen(2000.0);  // 11:00:01
    warte_naechste_messung(station, 0.0, 1.0, true);
    EXPECT_EQ(zeit.jetzt().stunde, 12);
    EXPECT_EQ(zeit.jetzt().minute, 0);
}

TEST(EchteUhr, WartenAufDieMessungEndetWennDerLaufEndenSoll) {
    // A wait of an hour on the real clock: "STOP" after the second ask ends
    // it within one slice; before that the station showed its fields.
    echte_uhr u;
    simulierte_uhr zeit{};
    simulierte_ports ports{zeit};
    RSCOM port{ports, zeit};
    stationseinstellungen einstellungen;
    geraeteprotokoll protokoll{port, einstellungen};
    wetterstation w{protokoll, u};
    int fragen = 0, gezeigt = 0;
    w.warten_beenden = [&] { return ++fragen >= 2; };
    w.neu_zeichnen = [&] { ++gezeigt; };
    const double start = u.zaehler_ms();
    warte_naechste_messung(w, 60.0, 0.0, true);
    const double gewartet = u.zaehler_ms() - start;
    EXPECT_EQ(fragen, 2);
    EXPECT_EQ(gezeigt, 1);
    EXPECT_GE(gewartet, 400.0);
    EXPECT_LT(gewartet, 5000.0);
}

TEST_F(Steuerschritt, VollmodusGibtDieBerechnetenSollwerteAnDiePlatinen) {
    zeit.vorstellen(2.0 * 3600.0 * 1000.0 - 29.0 * 60.0 * 1000.0 - 59.0 * 1000.0);  // 12:30:00
    steuerwerte x;
    x.vel = 1.5e-5;     // 6e-5 m3/s: 6 V on the pump
    x.lnh = 2.2;        // 11 mA on the intermediate heat pump
    x.volluft = 1.4;    // 7 V on the fan
    x.equer_verbrauch = 50.0;
    x.nh = 5.0;
    steuerschritt_intervall(station, x, *reihen, *d3, 7, 11, 4.0, numchar, vdatt, *a);
    const simulierte_platine& pumpe = *ports.platine(4);
    const simulierte_platine& ventilator = *ports.platine(5);
    EXPECT_NEAR(pumpe.spannung_V(), station.zahl("Edit31"), 10.0 / 255.0 / 2.0);
    EXPECT_NEAR(pumpe.strom_mA(), station.zahl("Edit49"), 20.0 / 255.0 / 2.0);
    EXPECT_NEAR(ventilator.spannung_V(), station.zahl("Edit46"), 10.0 / 255.0 / 2.0);
    EXPECT_NEAR(station.zahl("Edit31"), 6.0, 1e-9);
    EXPECT_NEAR(station.zahl("Edit49"), 11.0, 1e-9);
    EXPECT_NEAR(station.zahl("Edit46"), 7.0, 1e-9);
    EXPECT_EQ(station.feld("Edit34"), "90.00");
    // The next measurement was taken after the wait: at the next full hour.
    EXPECT_EQ(zeit.jetzt().stunde, 13);
    EXPECT_EQ(zeit.jetzt().minute, 0);
    EXPECT_DOUBLE_EQ((*reihen)[zdata::is0][7][11], 1.3 * 612.0);
    EXPECT_EQ(station.feld("Edit27"), "11");
}

TEST_F(Steuerschritt, TestmodusSchreibtNichtsUndFuelltEineStundeJeIntervall) {
    numchar[ndata::messmodus] = "N";
    numchar[ndata::gegenstrom] = "R";
    a->zwischenspeicher.spmax.wert = 2.0;
    steuerwerte x;
    x.vel = 1e-4;  // 4 units * 3600 s: 1.44 m3 per hour
    x.lnh = 3.0;
    const int64_t vorher = ports.oeffnungen();
    steuerschritt_intervall(station, x, *reihen, *d3, 7, 11, 4.0, numchar, vdatt, *a);
    EXPECT_NEAR(a->zwischenspeicher.fuellstand.wert, 1.44, 1e-12);
    EXPECT_NEAR(d3->zwischenspeicher_fuellstand[7][11], 1.44, 1e-12);
    steuerschritt_intervall(station, x, *reihen, *d3, 7, 12, 4.0, numchar, vdatt, *a);
    // 2.88 >= 2: pumped out; the intermediate heat pump gets no power share of lnh.
    EXPECT_DOUBLE_EQ(a->zwischenspeicher.fuellstand.wert, 0.0);
    EXPECT_NEAR(d3->zwischenspeicher_fuellstand[7][12], 2.88, 1e-12);
    EXPECT_EQ(station.feld("Edit41"), "0");
    EXPECT_EQ(ports.oeffnungen(), vorher);
    EXPECT_EQ(ports.platine(4)->spannung_V(), 0.0);
}

TEST_F(Steuerschritt, ReservoirGenauVollWirdAbgepumptSonstZwischenpumpeAus) {
    numchar[ndata::gegenstrom] = "R";
    anlage& p = *a;
    p.zwischenspeicher.spmax.wert = 1.44;
    p.zwischenspeicher.spwspei.wert = 4186.0;
    p.zwischenspeicher.rospei.wert = 1000.0;
    d3->datetime_alt = zeit.jetzt().sekunden_des_tages() - 3600.0;  // one hour since the last fill
    steuerwerte x;
    x.vel = 1e-4;
    x.tf = 30.0;
    x.tein = 20.0;
    x.copww = 4.0;
    steuerschritt_intervall(station, x, *reihen, *d3, 7, 11, 4.0, numchar, vdatt, *a);
    // Filled exactly to spmax: pump-out time Q / cop / P_nominal.
    const double Q = 10.0 * 1.44 * 4186.0 * 1000.0;
    EXPECT_NEAR(station.zahl("Edit40"), 0.0, 0.0);  // reset after pumping out
    EXPECT_NEAR(abpumpdauer(x, p, vdatt), 0.0, 0.0);  // the reservoir is empty now
    EXPECT_DOUBLE_EQ(p.zwischenspeicher.fuellstand.wert, 0.0);
    p.zwischenspeicher.fuellstand.wert = 1.44;
    EXPECT_DOUBLE_EQ(abpumpdauer(x, p, vdatt), Q / 4.0 / 4.0);
    x.tf = 10.0;
    EXPECT_DOUBLE_EQ(abpumpdauer(x, p, vdatt), 0.0);  // negative heat: no pump-out time

    // Below spmax in full mode the intermediate heat pump is written with 0.
    p.zwischenspeicher.fuellstand.wert = 0.0;
    p.zwischenspeicher.spmax.wert = 100.0;
    station.ausgeben(15.0, 0.0, p.zwischen_waermepumpe.strom_spannungs_quelle, 'I', 'S', 'N', p);
    ASSERT_GT(ports.platine(4)->strom_mA(), 14.0);
    x.lnh = 0.0;
    steuerschritt_intervall(station, x, *reihen, *d3, 7, 12, 4.0, numchar, vdatt, *a);
    EXPECT_EQ(ports.platine(4)->strom_mA(), 0.0);
}
