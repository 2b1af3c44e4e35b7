// Clear-sky irradiance and the sun-position helpers of the forecast.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "input/klarer_himmel.h"

namespace {
constexpr double RAD = std::numbers::pi / 180.0;

datt potsdam() {
    datt v{};
    v[tdata::breitengrad] = 52.38;
    v[tdata::laengengrad] = 13.06;
    v[tdata::hoehe] = 81.0;
    return v;
}
}  // namespace

TEST(KlarerHimmel, TagDesJahres) {
    EXPECT_EQ(klarer_himmel::tag_des_jahres(2019, 1, 1), 1);
    EXPECT_EQ(klarer_himmel::tag_des_jahres(2019, 3, 1), 60);
    EXPECT_EQ(klarer_himmel::tag_des_jahres(2020, 3, 1), 61);
    EXPECT_EQ(klarer_himmel::tag_des_jahres(1900, 3, 1), 60);
    EXPECT_EQ(klarer_himmel::tag_des_jahres(2019, 12, 31), 365);
}

TEST(KlarerHimmel, DeklinationUndZeitgleichung) {
    // Solstices: +-23.44 deg; March equinox near day 79/80.
    EXPECT_NEAR(klarer_himmel::deklination_bourges(172, 13.06) / RAD, 23.44, 0.02);
    EXPECT_NEAR(klarer_himmel::deklination_bourges(355, 13.06) / RAD, -23.44, 0.02);
    EXPECT_NEAR(klarer_himmel::deklination_bourges(79.5, 0.0) / RAD, 0.0, 0.3);
    // Equation of time: about +16.4 min in early November, -14.2 min in mid-February.
    EXPECT_NEAR(klarer_himmel::zeitgleichung(307) * 60.0, 16.4, 0.3);
    EXPECT_NEAR(klarer_himmel::zeitgleichung(42) * 60.0, -14.2, 0.4);
    // At 15 deg east the clock is solar time up to the equation of time and
    // the summer hour.
    const double et = klarer_himmel::zeitgleichung(172);
    EXPECT_NEAR(klarer_himmel::sonnenzeit(6, 172, 13, 30, 15.0), 12.5 + et, 1e-6);
    EXPECT_NEAR(klarer_himmel::sonnenzeit(1, 15, 12, 0, 15.0), 12.0 + klarer_himmel::zeitgleichung(15), 1e-6);
    // Potsdam lies 1.94 deg west of the zone meridian: 7.8 minutes behind.
    EXPECT_NEAR(klarer_himmel::sonnenzeit(1, 15, 12, 0, 13.06) - klarer_himmel::sonnenzeit(1, 15, 12, 0, 15.0),
                -1.94 / 15.0, 1e-6);
}

TEST(KlarerHimmel, StrahlungBeiWolkenlosemHimmel) {
    const datt v = potsdam();
    // Worked from the model's formulas: Potsdam, 21 June 2019, 13:00 summer
    // time (solar time 11:51): Linke turbidity 5.29, air mass 1.13.
    const auto juni = irradiation_cloudless_sky(2019, 6, 21, 13, 0, v);
    EXPECT_NEAR(juni.B, 626.72, 0.01);
    EXPECT_NEAR(juni.D, 200.54, 0.01);
    EXPECT_NEAR(juni.omega, -0.040614, 1e-6);
    EXPECT_NEAR(juni.delta, 0.409137, 1e-6);
    // 21 December at noon: low sun, beam below diffuse.
    const auto dezember = irradiation_cloudless_sky(2019, 12, 21, 12, 0, v);
    EXPECT_NEAR(dezember.B, 76.386, 0.01);
    EXPECT_NEAR(dezember.D, 93.305, 0.01);
    // Just after sunrise (air mass above 20): small but finite.
    const auto frueh = irradiation_cloudless_sky(2019, 6, 21, 5, 0, v);
    EXPECT_NEAR(frueh.B, 0.3953, 1e-3);
    EXPECT_NEAR(frueh.D, 11.40, 0.01);
    // Night: nothing, and never NaN around the clock.
    const auto nacht = irradiation_cloudless_sky(2019, 6, 21, 1, 0, v);
    EXPECT_EQ(nacht.B, 0.0);
    EXPECT_EQ(nacht.D, 0.0);
    for (int m : {1, 6}) {
        for (int h = 0; h < 24; ++h) {
            for (int min = 0; min < 60; min += 5) {
                const auto e = irradiation_cloudless_sky(2019, m, 21, h, min, v);
                ASSERT_TRUE(std::isfinite(e.B) && std::isfinite(e.D)) << m << " " << h << ":" << min;
                ASSERT_GE(e.B, 0.0);
                ASSERT_GE(e.D, 0.0);
                ASSERT_LT(e.B + e.D, 1100.0);
            }
        }
    }
    // The turbidity depends on the distance to the equator: at the equinox
    // (sun over the equator) a site at 52.38 deg S sees the northern sky.
    datt sued = v;
    sued[tdata::breitengrad] = -52.38;
    const auto n = irradiation_cloudless_sky(2019, 3, 20, 12, 0, v);
    const auto s = irradiation_cloudless_sky(2019, 3, 20, 12, 0, sued);
    EXPECT_NEAR(s.B, n.B, 0.01 * n.B);
    EXPECT_NEAR(s.D, n.D, 0.01 * n.D);
}
