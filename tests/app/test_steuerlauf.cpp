#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/cli_hilfen.h"
#include "app/lese_daten_ein.h"
#include "app/programmstart.h"
#include "app/standard_laufdienste.h"
#include "app/steuerlauf.h"
#include "data/datenbank.h"
#include "data/tabellen_schema.h"
#include "engine/WP_variables.h"
#include "station/kontrolldatei.h"
#include "support/aufzeichnende_senke.h"

namespace {

// A control run of a data set computed by the interval kernel, on the
// test's own database, with the fast clock.
class Steuerlauf : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        // A run leaves its monthly inputs (supply temperatures) in the
        // process-wide state; later tests expect them as loading leaves them.
        vdatz_vorher = std::make_unique<datz>(zustand::vdatz());
        startoptionen s;
        s.datenbank = verzeichnis / "db";
        s.ergebnisse = verzeichnis / "res";
        programmstart(s);
        tabelle& haupt = tab(tabledata::thaupt);
        haupt.filter_aus();
        bool gefunden = false;
        for (haupt.erster(); !haupt.eof() && !gefunden; haupt.naechster()) gefunden = haupt.text("name") == NAME;
        ASSERT_TRUE(gefunden);
        haupt.vorheriger();
        ASSERT_EQ(haupt.text("name"), NAME);
        zustand::numchar()[ndata::einstrahlung_berechnen] = "J";
        bool dbflag = true;
        ASSERT_TRUE(lese_daten_ein(zustand::pvdatz3(1), zustand::pvdatz3(2), dbflag) && dbflag);
        ausgabe = ausgabefile_anlegen('S', verzeichnis / "res");
        ASSERT_TRUE(ausgabe);
        o.schnelle_uhr = true;
        o.arbeitsverzeichnis = verzeichnis;
    }
    void TearDown() override {
        if (vdatz_vorher) zustand::vdatz() = *vdatz_vorher;
        mit_meldungen::TearDown();
    }
    steuerlauf_ergebnis lauf(const std::function<void(const liveintervall_zeile&)>& f) {
        return steuerlauf(*ausgabe, verzeichnis / "res", NAME, o, [&](const liveintervall_zeile& z) {
            zeilen.push_back(z);
            if (f) f(z);
        });
    }
    void stop_nach(int n) {
        if (static_cast<int>(zeilen.size()) == n) {
            ASSERT_TRUE(schreibe_kontrolldatei_stop(kontrolldatei_pfad(verzeichnis)));
        }
    }

    // Hourly weather: the intervals of a control run are hours.
    static constexpr const char* NAME = "EFH Potsdam 2019 stuendlich Intervall M";
    std::unique_ptr<datz> vdatz_vorher;
    std::optional<ausgabefile> ausgabe;
    steuerlauf_optionen o;
    std::vector<liveintervall_zeile> zeilen;
};

}  // namespace

TEST_F(Steuerlauf, TestmodusRechnetAbDemStartpunktBisStop) {
    o.testmodus = true;
    o.simulierte_geraete = true;
    o.uhrstart = datum_uhrzeit{2024, 6, 21, 12, 0, 0.0};
    o.startmonat = 6;
    o.startintervall = 100;
    const steuerlauf_ergebnis e = lauf([&](const liveintervall_zeile&) { stop_nach(3); });
    EXPECT_TRUE(e.gestoppt);
    ASSERT_EQ(zeilen.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(zeilen[k].monat, 6);
        EXPECT_EQ(zeilen[k].intervall, 100 + k);
    }
    // Test mode measures nothing: the interval keeps the stored weather.
    EXPECT_DOUBLE_EQ(zeilen[0].ta, zustand::pvdatz3(1)[zdata::ta][6][100]);
    EXPECT_EQ(zustand::numchar()[ndata::stopp], "J");
    EXPECT_EQ(erste_zeile(kontrolldatei_pfad(verzeichnis)), "STOP");
}

TEST_F(Steuerlauf, VollmodusFolgtDerUhrUeberDenMonatUndSchaltetAb) {
    o.simulierte_geraete = true;
    o.uhrstart = datum_uhrzeit{2024, 6, 30, 22, 0, 0.0};
    const steuerlauf_ergebnis e = lauf([&](const liveintervall_zeile&) { stop_nach(4); });
    EXPECT_TRUE(e.gestoppt);
    EXPECT_TRUE(e.quellen_aus);
    ASSERT_EQ(zeilen.size(), 4u);
    EXPECT_EQ(zeilen[0].monat, 6);
    EXPECT_EQ(zeilen[0].intervall, 29 * 24 + 22 + 1);
    EXPECT_EQ(zeilen[1].intervall, 29 * 24 + 23 + 1);
    EXPECT_EQ(zeilen[2].monat, 7);
    EXPECT_EQ(zeilen[2].intervall, 1);
    // The station's board measured the interval: 1.3 x 612 and AD22100 330.
    EXPECT_DOUBLE_EQ(zeilen[0].is, 1.3 * 612.0);
    EXPECT_NEAR(zeilen[0].ta, 10.5, 0.01);
}

TEST_F(Steuerlauf, VollmodusEndetMitDemJahr) {
    // A run computes one calendar year: after 31 December no interval can be
    // live again, so the run ends there (said once) instead of computing
    // January over and over without driving the plant.
    o.simulierte_geraete = true;
    o.uhrstart = datum_uhrzeit{2024, 12, 31, 22, 0, 0.0};
    const steuerlauf_ergebnis e = lauf({});
    EXPECT_TRUE(e.gestoppt);
    EXPECT_TRUE(e.quellen_aus);
    ASSERT_EQ(zeilen.size(), 2u);
    EXPECT_EQ(zeilen[0].intervall, 30 * 24 + 22 + 1);
    EXPECT_EQ(zeilen[1].intervall, 30 * 24 + 23 + 1);
    int gemeldet = 0;
    for (const auto& d : senke.dialoge) gemeldet += d.text.find("Jahreswechsel") != std::string::npos;
    EXPECT_EQ(gemeldet, 1);
    // The control file was not touched.
    EXPECT_EQ(erste_zeile(kontrolldatei_pfad(verzeichnis)), "START");
}

namespace {

// Full mode on the test's own simulated installation, so the boards can be
// read during and after the run.
class SteuerlaufMitPlatinen : public Steuerlauf {
protected:
    void SetUp() override {
        Steuerlauf::SetUp();
        stecke_beispielanlage(ports);
        o.zeit = &zeit;
        o.ports = &ports;
    }
    // Current and voltage of the pump board and voltage of the fan.
    bool alles_aus() {
        return ports.platine(4)->strom_mA() == 0.0 && ports.platine(4)->spannung_V() == 0.0 &&
               ports.platine(5)->spannung_V() == 0.0;
    }
    schnelle_uhr zeit{{2024, 6, 21, 11, 0, 0.0}};
    simulierte_ports ports{zeit};
};

double zahl_vor_einheit(const std::string& s) { return std::stod(s); }

}  // namespace

TEST_F(SteuerlaufMitPlatinen, PlatinenGebenDieBerechnetenSollwerteAus) {
    int mit_fluss = 0;
    const steuerlauf_ergebnis e = lauf([&](const liveintervall_zeile& z) {
        // Pump voltage, intermediate heat-pump current and fan voltage as
        // the boards decode them, within one DAC step.
        ASSERT_NE(z.pumpe.find(" V"), std::string::npos);
        const double u = zahl_vor_einheit(z.pumpe);
        EXPECT_NEAR(ports.platine(4)->spannung_V(), u, 10.0 / 255.0 / 2.0 + 1e-9) << z.pumpe;
        ASSERT_NE(z.zwischen_wp.find(" mA"), std::string::npos);
        EXPECT_NEAR(ports.platine(4)->strom_mA(), std::min(zahl_vor_einheit(z.zwischen_wp), 20.0),
                    20.0 / 255.0 / 2.0 + 1e-4)
            << z.zwischen_wp;
        if (z.ventilator != "-") {
            EXPECT_NEAR(ports.platine(5)->spannung_V(), zahl_vor_einheit(z.ventilator), 10.0 / 255.0 / 2.0 + 1e-9);
        }
        mit_fluss += u > 0.0;
        stop_nach(3);
    });
    EXPECT_TRUE(e.gestoppt);
    EXPECT_EQ(zeilen.size(), 3u);
    EXPECT_GT(mit_fluss, 0) << "a summer noon should move the collector loop";
    EXPECT_TRUE(alles_aus());
}

TEST_F(SteuerlaufMitPlatinen, SignalUndAbbruchSchaltenDieQuellenAb) {
    bool lief = false;
    steuerlauf_ergebnis e = lauf([&](const liveintervall_zeile&) {
        lief = lief || !alles_aus();
        if (zeilen.size() == 2) std::raise(SIGTERM);
    });
    EXPECT_TRUE(lief);
    EXPECT_TRUE(e.gestoppt);
    EXPECT_EQ(zeilen.size(), 2u);
    EXPECT_TRUE(alles_aus());
    // The control file itself does not say STOP.
    EXPECT_EQ(erste_zeile(kontrolldatei_pfad(verzeichnis)), "START");

    zeilen.clear();
    lief = false;
    EXPECT_THROW(lauf([&](const liveintervall_zeile&) {
                     lief = lief || !alles_aus();
                     if (zeilen.size() == 2) throw abbruch();
                 }),
                 abbruch);
    EXPECT_TRUE(lief);
    EXPECT_EQ(zeilen.size(), 2u);
    EXPECT_TRUE(alles_aus());
}

TEST_F(SteuerlaufMitPlatinen, SteuerSimulationMisstUndStelltOhneAufDieNaechsteStundeZuWarten) {
    // "Steuer-Simulation": full mode without the wait for the next
    // measurement. The clock stays in its hour, so the live interval is
    // computed anew with each measurement; the boards get the set values.
    o.steuer_simulation = true;
    const double start = zeit.zaehler_ms();
    bool gestellt = false;
    const steuerlauf_ergebnis e = lauf([&](const liveintervall_zeile& z) {
        gestellt = gestellt || ports.platine(4)->spannung_V() > 0.0;
        EXPECT_DOUBLE_EQ(z.is, 1.3 * 612.0);
        stop_nach(3);
    });
    EXPECT_TRUE(e.gestoppt);
    ASSERT_EQ(zeilen.size(), 3u);
    for (const liveintervall_zeile& z : zeilen) {
        EXPECT_EQ(z.monat, 6);
        EXPECT_EQ(z.intervall, 20 * 24 + 11 + 1);
    }
    EXPECT_LT(zeit.zaehler_ms() - start, 3600e3);
    EXPECT_TRUE(gestellt);
    EXPECT_TRUE(alles_aus());
}

// Full mode with devices missing: no one answers the no-device dialog, so
// the run does not start; it names the missing devices and the ways to run
// without them. "Steuer-Simulation" runs without them after one warning.
TEST_F(Steuerlauf, FehlendeGeraeteBeendenDenVollmodus) {
    schnelle_uhr zeit{{2024, 6, 21, 11, 0, 0.0}};
    simulierte_ports ports{zeit};
    ports.stecke(5, 'V');  // only the fan
    o.zeit = &zeit;
    o.ports = &ports;
    const steuerlauf_ergebnis e = lauf({});
    EXPECT_FALSE(e.gestoppt);
    EXPECT_TRUE(zeilen.empty());
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_EQ(senke.dialoge.back().text,
              "Fehler: Geräte nicht gefunden (COM2 bis COM100): Wetterstation, Umwälzpumpe und Zwischen-WP; ohne "
              "Geräte läuft ein Steuerlauf mit --simulated-devices (simulierte Geräte) oder --test-mode (ohne "
              "Messung), --control-simulation rechnet ohne sie");
    for (const auto& d : senke.dialoge) EXPECT_EQ(d.text.find("abort, retry"), std::string::npos) << d.text;
    EXPECT_FALSE(std::filesystem::exists(kontrolldatei_pfad(verzeichnis)));

    senke.dialoge.clear();
    o.steuer_simulation = true;
    const steuerlauf_ergebnis s = lauf([&](const liveintervall_zeile&) { stop_nach(2); });
    EXPECT_TRUE(s.gestoppt);
    EXPECT_EQ(zeilen.size(), 2u);
    int warnungen = 0;
    for (const auto& d : senke.dialoge) warnungen += d.text.rfind("Warnung: Geräte nicht gefunden", 0) == 0;
    EXPECT_EQ(warnungen, 1);
}

TEST_F(Steuerlauf, OhneIntervallverfahrenWirdAbgelehnt) {
    // The analytic method never reads the control file: such a run could not be stopped.
    zustand::numchar()[ndata::rechenart] = "A";
    o.testmodus = true;
    const steuerlauf_ergebnis e = lauf({});
    EXPECT_FALSE(e.gestoppt);
    EXPECT_TRUE(zeilen.empty());
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find("Intervallverfahren"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(kontrolldatei_pfad(verzeichnis)));
}


TEST_F(Cli, StopSchreibtInsArbeitsverzeichnisUndControlBrauchtDasIntervallverfahren) {
    const std::filesystem::path vorher = std::filesystem::current_path();
    std::filesystem::current_path(verzeichnis);
    const int status = rufe({"stop"});
    std::filesystem::current_path(vorher);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(erste_zeile(verzeichnis / "kontrolle.text"), "STOP");

    // Velocity by months does not follow the clock: refused with the reason.
    EXPECT_EQ(rufe(mit_verzeichnissen({"control", "Braunschweig EFH", "--test-mode"})), 1);
    EXPECT_NE(letzte_fehlerzeile().find("Intervallverfahren"), std::string::npos) << fehler.str();
    EXPECT_EQ(rufe(mit_verzeichnissen({"control", "Braunschweig EFH", "--area", "-1"})), 2);

    // Port patterns that map no port are refused as a wrong command line.
    for (const char* muster : {"", "/dev/ttyUSB0", "/dev/tty{n-99999999999999}", "/dev/tty{n}}", "{x}"}) {
        SCOPED_TRACE(muster);
        EXPECT_EQ(rufe({"--lang", "en", "devices", "--simulated", "--com-pattern", muster}), 2);
        EXPECT_NE(letzte_fehlerzeile().find("--com-pattern"), std::string::npos) << fehler.str();
        EXPECT_NE(letzte_fehlerzeile().find(std::string("\"") + muster + "\""), std::string::npos) << fehler.str();
    }
    EXPECT_EQ(rufe({"devices", "--simulated", "--com-pattern", "/dev/ttyACM{n-1}"}), 0) << fehler.str();
}
