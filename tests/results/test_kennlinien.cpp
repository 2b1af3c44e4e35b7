// Characteristic curves on a data set of the default database, and on a
// state set by hand where COP and collector flow can be computed on paper.

#include <gtest/gtest.h>

#include <cmath>

#include "input/lade_hilfen.h"
#include "results/kennlinien.h"

namespace {

class Kennlinien : public mit_default_datenbank {
protected:
    void SetUp() override {
        mit_default_datenbank::SetUp();
        numchar_vorher = zustand::numchar();
        vdatt_vorher = zustand::vdatt();
    }
    void TearDown() override {
        zustand::numchar() = numchar_vorher;
        zustand::vdatt() = vdatt_vorher;
        mit_default_datenbank::TearDown();
    }
    // Plain collector (no direct coupling, no intermediate exchanger) and
    // linear COP models: ww pump 8 − 0.1 (th − tt), we pump 9 − 0.15 (th − tt).
    void handzustand(double a2) {
        flagchar& n = zustand::numchar();
        n.fill("");
        n[ndata::rechenart] = "A";
        n[ndata::kopplungstyp] = "Z";
        n[ndata::modelltyp_we] = "L";
        n[ndata::modelltyp_ww] = "L";
        n[ndata::kopplungsart] = "A";
        n[ndata::meldungsmodus] = "S";
        datt& v = zustand::vdatt();
        v[tdata::ww_c1] = -0.1;
        v[tdata::ww_c2] = 8.0;
        v[tdata::we_c1] = -0.15;
        v[tdata::we_c2] = 9.0;
        v[tdata::kollektorfluid_dichte] = 1000.0;
        v[tdata::kollektorfluid_cpf] = 4186.0;
        v[tdata::flaeche_kol_oben] = 2.0;
        v[tdata::kol_oben_verlust] = -3.5;
        v[tdata::kol_oben_konversion] = 0.8;
        v[tdata::kol_oben_quadratisch] = a2;
    }

    flagchar numchar_vorher;
    datt vdatt_vorher;
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    std::unique_ptr<graphdata> rechts = std::make_unique<graphdata>();
};

}  // namespace

TEST_F(Kennlinien, FelderUndIntervalllisteEinesStundendatensatzes) {
    ASSERT_TRUE(lade("EFH Potsdam 2019 stuendlich"));
    // Loading leaves the supply temperatures of an earlier run in the same
    // process; this test wants the state before any run.
    for (int m = 1; m <= 12; ++m) zustand::vdatz()[zdata::twv][m] = 0.0;
    const auto liste = intervall_liste(1);
    ASSERT_EQ(liste.size(), 744u);
    EXPECT_EQ(liste.front(), 1);
    EXPECT_EQ(liste.back(), 744);
    EXPECT_EQ(intervall_liste(2).size(), 672u);

    const kennlinien_felder f = fuelle_kennlinien_felder(7, 13);  // 13th hour of July 1st: noon
    EXPECT_DOUBLE_EQ(f.is, std::nearbyint(zustand::pvdatz3(1)[zdata::is0][7][13] * 100.0) / 100.0);
    EXPECT_DOUBLE_EQ(f.ta, std::nearbyint(zustand::pvdatz3(1)[zdata::ta][7][13] * 100.0) / 100.0);
    EXPECT_DOUBLE_EQ(f.tk, std::nearbyint(zustand::vdatz()[zdata::te][7] * 100.0) / 100.0);
    EXPECT_GT(f.is, 0.0);
    EXPECT_GT(f.ta, 5.0);
    EXPECT_LT(f.ta, 40.0);
    // Before a run the supply and return temperatures come from the demand:
    // hot water at a plausible temperature above its return.
    EXPECT_GT(f.twv, 35.0);
    EXPECT_LT(f.twv, 70.0);
    EXPECT_LT(f.tein, f.twv);

    // The site's own models give curves of plausible COPs and flows.
    cop_kennlinien(f.twv, f.tk, 7, *links, *rechts);
    ASSERT_EQ(links->anzbild, 2);
    EXPECT_EQ(rechts->anzbild, 0);
    for (int k = 1; k <= 200; ++k) {
        EXPECT_GE(links->y[k][2], 1.0);
        EXPECT_LE(links->y[k][2], 20.0);
    }
    ASSERT_TRUE(kollektor_kennlinien(7, 13, f.ta, f.tein, f.is, zustand::lauf().minge, zustand::lauf().maxge,
                                     *links, *rechts));
    EXPECT_EQ(links->anzp[1], 2000);
    for (int k = 1; k <= 2000; ++k) EXPECT_TRUE(std::isfinite(links->x[k][1]) && std::isfinite(links->y[k][2]));
    EXPECT_TRUE(senke.dialoge.empty());

    // Once a run has prepared them, the run's values are shown.
    const double rwv = zustand::vdatz()[zdata::rwv][7];
    zustand::vdatz()[zdata::twv][7] = 55.555;
    zustand::vdatz()[zdata::rwv][7] = 30.004;
    const kennlinien_felder nach_lauf = fuelle_kennlinien_felder(7, 13);
    EXPECT_DOUBLE_EQ(nach_lauf.twv, 55.56);
    EXPECT_DOUBLE_EQ(nach_lauf.tein, 30.0);
    zustand::vdatz()[zdata::twv][7] = 0.0;
    zustand::vdatz()[zdata::rwv][7] = rwv;
}

TEST_F(Kennlinien, CopKurvenVonHand) {
    ASSERT_TRUE(lade("test_ZJEG_IAAN-N_st0"));
    handzustand(0.0);
    cop_kennlinien(50.0, 10.0, 3, *links, *rechts);
    ASSERT_EQ(links->anzbild, 2);
    EXPECT_EQ(links->bildname[1], "Transfer");
    EXPECT_EQ(links->bildname[2], "Nachheizung");
    EXPECT_EQ(links->xname, "Temperaturdifferenz [°C]");
    EXPECT_EQ(links->yname, "COP");
    EXPECT_EQ(links->title, "Endtemperatur [°C]");
    EXPECT_EQ(links->anzp[1], 200);
    EXPECT_DOUBLE_EQ(links->x[1][1], 10.2);
    EXPECT_DOUBLE_EQ(links->x[100][1], 30.0);
    EXPECT_DOUBLE_EQ(links->y[100][1], 8.0 - 0.1 * 20.0);
    EXPECT_DOUBLE_EQ(links->y[100][2], 9.0 - 0.15 * 20.0);
    EXPECT_DOUBLE_EQ(links->y[200][1], 20.0);  // no lift left: the upper limit
    EXPECT_EQ(links->xmin[1], 0.0);
    EXPECT_DOUBLE_EQ(links->xmax[2], 50.0);

    // T_high = T_low: a step of 0 and 200 points at the same x.
    cop_kennlinien(40.0, 40.0, 3, *links, *rechts);
    for (int k = 1; k <= 200; ++k) EXPECT_EQ(links->x[k][1], 40.0);
    EXPECT_EQ(links->anzp[2], 200);
}

TEST_F(Kennlinien, UmkehrroutineFindetDenDurchflussWieder) {
    ASSERT_TRUE(lade("test_ZJEG_IAAN-N_st0"));
    const double vel_vorher = zustand::date3().vel[3][2];
    struct fall {
        double a2, G, ta, te, minge;
        bool kuehlt;  // negative efficiency: the fluid leaves colder at every flow
    };
    // At night the fluid warms toward the air; below u = 35 W/K the mean-
    // temperature model would overshoot ta and is cut to ta, so the night
    // case starts above that flow. With a quadratic term the outflow and its
    // inverse use the same balance, also in weak light where the efficiency
    // is negative and the fluid cools.
    for (const fall f : {fall{0.0, 800.0, 10.0, 20.0, 1e-6, false},
                         fall{0.0, 0.0, 10.0, 5.0, 1e-5, false},
                         fall{-0.01, 800.0, 10.0, 20.0, 1e-6, false},
                         fall{-0.016, 143.0, 2.0, 26.4, 1e-6, true}}) {
        handzustand(f.a2);
        ASSERT_TRUE(kollektor_kennlinien(3, 2, f.ta, f.te, f.G, f.minge, 1e-4, *links, *rechts));
        ASSERT_EQ(links->anzp[1], 2000);
        EXPECT_EQ(links->bildname[1], "Kennlinie");
        EXPECT_EQ(links->bildname[2], "Test Umkehrroutine");
        // Flows evenly spaced on a logarithmic scale from the smallest to the largest.
        EXPECT_NEAR(links->y[2000][1] / links->y[1][1], 1e-4 / f.minge, 1e-9);
        EXPECT_NEAR(links->y[1001][1] / links->y[1000][1], links->y[2][1] / links->y[1][1], 1e-12);
        double groesste_abweichung = 0.0;
        for (int k = 1; k <= 2000; ++k) {
            EXPECT_EQ(links->x[k][1], links->x[k][2]);
            groesste_abweichung =
                std::max(groesste_abweichung, std::abs(links->y[k][2] / links->y[k][1] - 1.0));
        }
        EXPECT_LT(groesste_abweichung, 1e-9) << f.G << " " << f.a2;  // the inverse recovers every flow
        // Sun heats the fluid above its inflow, the night air warms it toward ta;
        // at negative efficiency the fluid cools.
        if (f.kuehlt) {
            for (int k = 1; k <= 2000; ++k) EXPECT_LT(links->x[k][1], f.te - f.ta) << k;
        } else {
            EXPECT_GT(links->x[1][1], f.G > 0.0 ? f.te - f.ta : -5.0);
        }
    }
    // The run state is as before.
    EXPECT_EQ(zustand::date3().vel[3][2], vel_vorher);

    EXPECT_FALSE(kollektor_kennlinien(3, 2, 10.0, 20.0, 800.0, 0.0, 1e-4, *links, *rechts));
    EXPECT_EQ(senke.dialoge.back().text.rfind("Fehler: Kleinster und größter Volumenstrom", 0), 0u);
}

TEST(Umkehrroutine, EnergiebilanzVonHand) {
    // A = 2, G = 800, eta0 = 0.8, k = -3.5, a2 = 0, ta = 10, te = 20, tf = 30:
    // d = 15, eta = 0.8 − 3.5 · 15 / 80 = 0.14375, heat 2 · 800 · 0.14375 = 230 W,
    // u = 230 / 10 = 23 W/K, flow = 23 / (1000 · 4186).
    datt v{};
    v[tdata::kollektorfluid_dichte] = 1000.0;
    v[tdata::kollektorfluid_cpf] = 4186.0;
    v[tdata::flaeche_kol_oben] = 2.0;
    v[tdata::kol_oben_verlust] = -3.5;
    v[tdata::kol_oben_konversion] = 0.8;
    EXPECT_DOUBLE_EQ(durchfluss_aus_austrittstemperatur(v, 30.0, 20.0, 10.0, 800.0), 23.0 / 4186000.0);
    EXPECT_EQ(durchfluss_aus_austrittstemperatur(v, 20.0, 20.0, 10.0, 800.0), 0.0);  // no rise: no flow found
}
