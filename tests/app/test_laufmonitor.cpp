// The run monitors fed by a run: step points per month while window (V) is
// open, one intermediate result per parameter step, the axes of window (T),
// and every observer call passed on.

#include <gtest/gtest.h>

#include "app/laufmonitor_beobachter.h"
#include "support/lauf_fixture.h"

namespace {

// The menu item "Zwischenergebnisse" is checked.
struct mit_zwischenergebnissen : beobachter_doppel {
    bool zwischenergebnisse_gewaehlt() override { return true; }
};

class Laufmonitor : public mit_laufzustand {
protected:
    void SetUp() override {
        mit_laufzustand::SetUp();
        flagchar& n = zustand::numchar();
        n[ndata::meldungsmodus] = "M";  // messages and monitors on screen
        n[ndata::laufart] = "N";  // optimisation
        for (int m = 1; m <= 12; ++m) zustand::vdatz()[zdata::twv][m] = 40.7 + m;
    }
    int starte() {
        laufumgebung u{dienste, schritte, mb};
        int bkflag = -1;
        starte_simulation(bkflag, u);
        return bkflag;
    }
    mit_zwischenergebnissen innen;
    laufmonitor monitor;
    laufmonitor_beobachter mb{monitor, innen};
};

}  // namespace

TEST_F(Laufmonitor, StufenpunkteJeMonatUndEinZwischenergebnisJeParameterschritt) {
    // The time-step month step reports one point per ge step through the
    // run observer's interface; the double stands in for it with two steps
    // per month.
    lauf_beobachter& beobachter = mb;
    schritte.nach_monat = [&](periodenkontext& k, int m) {
        beobachter.schrittpunkt(m, 2, k.A * 10.0 + m, k.ziel[m]);
        beobachter.schrittpunkt(m, 1, k.A * 10.0 + m + 0.5, 2.0 * k.ziel[m]);
    };
    schritte.monatswert = [](int m) { return 100.0 + m; };
    const uint64_t vorher = monitor.version();
    ASSERT_EQ(starte(), 1);

    const laufmonitor_stand s = monitor.stand();
    EXPECT_GT(s.version, vorher);
    // Areas 0, 4 and 8: the monitors open only with area.
    EXPECT_EQ(innen.v_fenster, 2);
    EXPECT_EQ(innen.t_fenster, 2);
    ASSERT_EQ(s.zwischenergebnisse.size(), 2u);
    EXPECT_EQ(s.zwischenergebnisse[0]->flaeche, 4.0);
    EXPECT_EQ(s.zwischenergebnisse[1]->flaeche, 8.0);
    for (const auto& z : s.zwischenergebnisse) {
        for (int m = 1; m <= 12; ++m) {
            const auto& p = z->monate[static_cast<std::size_t>(m)].punkte;
            ASSERT_EQ(p.size(), 2u) << m;  // the window opened anew for the step
            EXPECT_EQ(p[0].ge_schritt, 2);
            EXPECT_EQ(p[0].x, z->flaeche * 10.0 + m);
            EXPECT_EQ(p[0].y, 100.0 + m);
            EXPECT_EQ(p[1].y, 2.0 * (100.0 + m));
        }
    }
    EXPECT_EQ(s.zwischenergebnisse[0]->monate[1].titel, "Januar");
    EXPECT_TRUE(s.v_offen);
    EXPECT_EQ(s.v_flaeche, 8.0);
    EXPECT_EQ(s.v_beschriftung, "Elektrische Energie [kWh/M]  - Durchfluss");
    EXPECT_EQ(s.v_monate[12].titel, "Dezember");
    EXPECT_TRUE(s.t_offen);
    EXPECT_EQ(s.t_beschriftung, "Elektrische Energie [kWh] - Stufentemperatur [°C]");
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(s.t_x_max[static_cast<std::size_t>(m)], 40 + m);
}

TEST_F(Laufmonitor, TemperaturverfahrenUndJahreslauf) {
    zustand::numchar()[ndata::rechenart] = "T";
    zustand::lauf().maxa = 4.0;
    ASSERT_EQ(starte(), 1);
    EXPECT_EQ(monitor.stand().v_beschriftung, "Elektrische Energie [kWh/M]  - Temperatur [°C]");
    // Window (V) is shown only for the methods "V" and "M".
    EXPECT_TRUE(monitor.stand().zwischenergebnisse.empty());

    // A year run shows its curve in the chart window after each parameter step.
    monitor.zuruecksetzen();
    flagchar& n = zustand::numchar();
    n[ndata::zeitraum] = "J";
    n[ndata::rechenart] = "V";
    zustand::lauf().anzge = 3;
    ASSERT_EQ(starte(), 1);
    const laufmonitor_stand s = monitor.stand();
    EXPECT_EQ(innen.graphen, 1);  // passed on as well; area 0 shows nothing
    ASSERT_EQ(s.zwischenergebnisse.size(), 1u);
    ASSERT_EQ(s.zwischenergebnisse[0]->jahreslauf.size(), 1u);
    EXPECT_EQ(s.zwischenergebnisse[0]->jahreslauf[0].punkte.size(), 3u);
    EXPECT_EQ(s.zwischenergebnisse[0]->info, "4 qm");
    EXPECT_EQ(s.zwischenergebnisse[0]->flaeche, 4.0);
}

TEST(LaufmonitorOhneLauf, PunkteOhneOffenesFensterZaehlenNicht) {
    laufmonitor m;
    m.stufenpunkt(1, 1, 1.0, 1.0);
    EXPECT_EQ(m.version(), 0u);
    m.oeffne_v(2.0, "V");
    m.stufenpunkt(0, 1, 1.0, 1.0);
    m.stufenpunkt(13, 1, 1.0, 1.0);
    m.stufenpunkt(12, 7, 3.0, 4.0);
    const auto s = m.stand();
    EXPECT_EQ(s.v_monate[12].punkte.size(), 1u);
    EXPECT_EQ(s.v_monate[12].punkte[0].ge_schritt, 7);
    EXPECT_EQ(s.version, 2u);
}

TEST(LaufmonitorOhneLauf, BleibtKleinWieLangeDerLaufAuchRechnet) {
    // An hourly optimisation reports hundreds of thousands of step points
    // and hundreds of parameter steps; the record keeps a bounded, evenly
    // thinned share of them.
    laufmonitor m;
    m.oeffne_v(2.0, "V");
    const int n = 100000;
    for (int i = 1; i <= n; ++i) m.stufenpunkt(3, i, 0.001 * i, 1.0);
    auto s = m.stand();
    const auto& p = s.v_monate[3].punkte;
    ASSERT_LE(p.size(), MAX_MONITORPUNKTE);
    ASSERT_GE(p.size(), MAX_MONITORPUNKTE / 2);
    EXPECT_EQ(p.front().ge_schritt, 1);
    // Evenly spread over the run: equal gaps, reaching its last stretch.
    const int abstand = p[1].ge_schritt - p[0].ge_schritt;
    for (std::size_t i = 1; i < p.size(); ++i) EXPECT_EQ(p[i].ge_schritt - p[i - 1].ge_schritt, abstand) << i;
    EXPECT_GT(p.back().ge_schritt, n - 2 * abstand);
    EXPECT_TRUE(s.v_monate[4].punkte.empty());

    for (int k = 1; k <= 200; ++k) m.zeige_v();
    s = m.stand();
    ASSERT_EQ(s.zwischenergebnisse.size(), MAX_ZWISCHENERGEBNISSE);
    EXPECT_EQ(s.parameterschritte, 200);
    EXPECT_EQ(s.zwischenergebnisse.front()->nummer, 200 - static_cast<int>(MAX_ZWISCHENERGEBNISSE) + 1);
    EXPECT_EQ(s.zwischenergebnisse.back()->nummer, 200);
    // A window opened anew starts with an empty curve and takes every point again.
    m.oeffne_v(4.0, "V");
    m.stufenpunkt(3, 1, 0.0, 1.0);
    m.stufenpunkt(3, 2, 0.0, 1.0);
    EXPECT_EQ(m.stand().v_monate[3].punkte.size(), 2u);
}

TEST(LaufmonitorOhneLauf, OhneZwischenergebnisseNimmtDerMonitorNichts) {
    // The menu item "Zwischenergebnisse" unchecked: the calls are passed on,
    // the record stays empty.
    beobachter_doppel innen;
    laufmonitor m;
    laufmonitor_beobachter b(m, innen);
    b.zwischenergebnisse_t_oeffnen(4.0);
    b.zwischenergebnisse_v_oeffnen(4.0);
    b.schrittpunkt(1, 1, 1.0, 1.0);
    const auto s = m.stand();
    EXPECT_FALSE(s.v_offen);
    EXPECT_FALSE(s.t_offen);
    EXPECT_EQ(s.anzahl_punkte(), 0u);
    EXPECT_EQ(innen.v_fenster, 1);
    EXPECT_EQ(innen.t_fenster, 1);
}
