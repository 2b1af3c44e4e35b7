// Solar geometry of the mid-month day and the hourly distribution of a day.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "input/sonnengeometrie.h"

namespace {
constexpr double RAD = std::numbers::pi / 180.0;
}

TEST(Sonnengeometrie, DeklinationAmMonatsmittag) {
    // 23.45 sin((n + 284) 360/365): n = 74, 166, 349 for March, June, December.
    EXPECT_NEAR(sonne::deklination(3), -2.819, 1e-3);
    EXPECT_NEAR(sonne::deklination(6), 23.314, 1e-3);
    EXPECT_NEAR(sonne::deklination(12), -23.335, 1e-3);
}

TEST(Sonnengeometrie, SonnenuntergangUndTageslaenge) {
    // With zero declination the day has 12 hours at every latitude.
    for (double phi : {0.0, 30.0, 52.38, 65.0, -40.0}) {
        EXPECT_NEAR(sonne::sonnenuntergangswinkel(0.0, phi), 90.0, 1e-12) << phi;
    }
    // Potsdam in mid-June: ws = arccos(-tan 23.314 tan 52.38) = 124.00 deg, 16.53 h.
    const auto t = sonne::tageslaenge(6, 52.38, 30);
    EXPECT_NEAR(t.omega_s, 124.002, 1e-3);
    EXPECT_NEAR(t.stunden, 16.5336, 1e-4);
    EXPECT_NEAR(t.monatsstunden, 30 * 16.5336, 1e-2);
    const auto p = sonne::tagesstundenparameter(52.38, 6);
    EXPECT_DOUBLE_EQ(p.pws, -p.mws);
    EXPECT_DOUBLE_EQ(p.wj, -172.5);
    EXPECT_DOUBLE_EQ(p.deltawj, 15.0);
    // Beyond the polar circle: polar night and polar day instead of NaN.
    EXPECT_DOUBLE_EQ(sonne::tageslaenge(12, 70.0, 31).stunden, 0.0);
    EXPECT_DOUBLE_EQ(sonne::tageslaenge(6, 70.0, 30).stunden, 24.0);
}

TEST(Sonnengeometrie, StundenanteilAnSonnenaufUndUntergang) {
    struct fall {
        double omega, omega_s, tag;
    };
    const fall faelle[] = {
        {90.0, 90.0, 0.5},     // hour centred on sunset
        {-90.0, 90.0, 0.5},    // hour centred on sunrise
        {82.5, 90.0, 1.0},     // last full hour
        {97.5, 90.0, 0.0},     // first dark hour
        {127.5, 124.0, 4.0 / 15.0},
        {-127.5, 124.0, 4.0 / 15.0},
        {0.0, 0.0, 0.0},       // polar night
        {0.0, 3.0, 6.0 / 15.0},  // a day shorter than the hour lies wholly inside it
        {172.5, 180.0, 1.0},   // polar day
    };
    for (const auto& f : faelle) {
        const auto a = sonne::stundenanteil(f.omega, f.omega_s);
        EXPECT_NEAR(a.tag, f.tag, 1e-12) << f.omega << " " << f.omega_s;
        EXPECT_NEAR(a.tag + a.nacht, 1.0, 1e-15);
    }
}

TEST(Sonnengeometrie, StundenverhaeltnisZurMittagsstunde) {
    // ws = 90 deg, w = 0: r_d = pi/24, a = 0.409 + 0.5016 sin 30, b = 0.6609 - 0.4767 sin 30.
    const auto r = sonne::stundenverhaeltnis(0.0, 90.0 * RAD);
    EXPECT_NEAR(r.r_d, std::numbers::pi / 24.0, 1e-12);
    EXPECT_NEAR(r.r_t, (0.409 + 0.2508 + 0.6609 - 0.23835) * std::numbers::pi / 24.0, 1e-12);
    // No daylight: no share (and no division by zero).
    const auto null = sonne::stundenverhaeltnis(0.0, 0.0);
    EXPECT_EQ(null.r_t, 0.0);
    EXPECT_EQ(null.r_d, 0.0);
}

TEST(Sonnengeometrie, StundenanteileEinesTagesErgebenEins) {
    for (double phi : {0.0, 35.0, 52.38, 60.0, 68.0}) {
        for (int m = 1; m <= 12; ++m) {
            const auto g = sonne::berechne_monatsgeometrie(m, phi);
            double st = 0.0, sd = 0.0, hell = 0.0;
            for (int k = 1; k <= 24; ++k) {
                // No hour gets a negative share, also where sunrise or sunset
                // falls in its first or last half.
                EXPECT_GE(g.globalanteil(k), 0.0) << phi << " " << m << " " << k;
                EXPECT_GE(g.diffusanteil(k), 0.0) << phi << " " << m << " " << k;
                st += g.globalanteil(k);
                sd += g.diffusanteil(k);
                hell += g.anteil[k];
            }
            if (g.tg0 > 0.0) {
                EXPECT_NEAR(st, 1.0, 1e-12) << phi << " " << m;
                EXPECT_NEAR(sd, 1.0, 1e-12) << phi << " " << m;
            }
            // The sunlit fractions of the hours add up to the day length.
            EXPECT_NEAR(hell, g.tg0, 1e-9) << phi << " " << m;
        }
    }
    // A month without daylight distributes nothing.
    const auto nacht = sonne::berechne_monatsgeometrie(12, 72.0);
    EXPECT_EQ(nacht.n_t, 0.0);
    for (int k = 1; k <= 24; ++k) EXPECT_EQ(nacht.globalanteil(k), 0.0);
}

TEST(Sonnengeometrie, ExtraterrestrischeTageseinstrahlung) {
    // Worked example: latitude 43 deg, April 15: H0 = 33.8 MJ/m2 = 9.39 kWh/m2.
    const double ws = sonne::sonnenuntergangswinkel(sonne::deklination(4), 43.0);
    EXPECT_NEAR(sonne::berechne_extraterristische_einstrahlung(4, ws, -ws, 43.0), 9.39, 0.03);
    // At the equator the morning and the afternoon carry half each.
    const double ws0 = sonne::sonnenuntergangswinkel(sonne::deklination(6), 0.0);
    EXPECT_NEAR(sonne::berechne_extraterristische_einstrahlung(6, 0.0, -ws0, 0.0),
                sonne::berechne_extraterristische_einstrahlung(6, ws0, 0.0, 0.0), 1e-12);
}

TEST(Sonnengeometrie, EinfallswinkelAufGeneigterEbene) {
    // Worked example: latitude 43, 13 February (declination -14), 10:30 solar
    // time, tilt 45, azimuth 15 deg west of south: theta = 35 deg.
    const double c = sonne::berechne_costheta(-14.0 * RAD, 43.0 * RAD, -22.5 * RAD, 45.0 * RAD, 15.0 * RAD);
    EXPECT_NEAR(std::acos(c) / RAD, 35.0, 0.2);
    // A horizontal plane sees the zenith angle.
    EXPECT_NEAR(sonne::berechne_costheta(0.3, 0.9, 0.4, 0.0, 1.0), sonne::berechne_coszenit(0.3, 0.9, 0.4),
                1e-15);
    // Azimuth 0 faces the equator in the south too: at 35 deg S in mid-June the
    // noon sun stands 35 + 23.31 deg from the zenith in the north, so a plane
    // of 30 deg facing north sees it at 28.31 deg.
    const double juni = sonne::deklination(6) * RAD;
    EXPECT_NEAR(sonne::berechne_costheta(juni, -35.0 * RAD, 0.0, 30.0 * RAD, 0.0),
                std::cos((35.0 + sonne::deklination(6) - 30.0) * RAD), 1e-12);
    // A southern site is the mirror of the northern one with the opposite
    // declination, at every hour and for every plane: east and west stay.
    for (double omega : {-100.0, -45.0, 0.0, 30.0, 75.0})
        for (double gamma : {-150.0, -90.0, -30.0, 0.0, 60.0, 90.0, 180.0})
            for (double beta : {20.0, 90.0}) {
                const double nord = sonne::berechne_costheta(juni, 35.0 * RAD, omega * RAD, beta * RAD, gamma * RAD);
                const double sued =
                    sonne::berechne_costheta(-juni, -35.0 * RAD, omega * RAD, beta * RAD, gamma * RAD);
                EXPECT_NEAR(sued, nord, 1e-12) << omega << " " << gamma << " " << beta;
            }
    // +90 deg faces west in both hemispheres: the afternoon sun (omega > 0)
    // falls on it, not on the east wall.
    for (double phi : {-35.0, 35.0}) {
        EXPECT_GT(sonne::berechne_costheta(0.0, phi * RAD, 45.0 * RAD, 90.0 * RAD, 90.0 * RAD), 0.4) << phi;
        EXPECT_LT(sonne::berechne_costheta(0.0, phi * RAD, 45.0 * RAD, 90.0 * RAD, -90.0 * RAD), -0.4) << phi;
    }
}

TEST(Sonnengeometrie, NeigungseinflussDerStunde) {
    const double phi = 52.38;
    // Horizontal: beam and diffuse unchanged, no ground reflection.
    for (int m : {1, 6}) {
        const auto g = sonne::berechne_monatsgeometrie(m, phi);
        for (int k = 1; k <= 24; ++k) {
            if (g.anteil[k] <= 0.0) continue;
            const auto f = sonne::Neigungseinfluss(m, g.omega[k], 0.0, 0.0, phi);
            EXPECT_DOUBLE_EQ(f.fbs, 1.0) << m << " " << k;
            EXPECT_DOUBLE_EQ(f.fds, 1.0);
            EXPECT_DOUBLE_EQ(f.fr, 0.0);
        }
    }
    // A plane of 40 deg facing south at the noon hour of June: the ratio of
    // the hour-integrated cosines, checked against a fine sum of point values.
    const double d = sonne::deklination(6) * RAD;
    double ebene = 0.0, zenit = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const double w = (-7.5 + 15.0 * (i + 0.5) / 1000.0) * RAD;
        ebene += sonne::berechne_costheta(d, phi * RAD, w, 40.0 * RAD, 0.0);
        zenit += sonne::berechne_coszenit(d, phi * RAD, w);
    }
    const auto f = sonne::Neigungseinfluss(6, 0.0, 40.0, 0.0, phi);
    EXPECT_NEAR(f.fbs, ebene / zenit, 1e-6);
    EXPECT_NEAR(f.fds, (1.0 + std::cos(40.0 * RAD)) / 2.0, 1e-15);
    EXPECT_NEAR(f.fr, (1.0 - std::cos(40.0 * RAD)) / 2.0, 1e-15);
    // December noon on a vertical south wall: more beam than on the horizontal.
    EXPECT_GT(sonne::Neigungseinfluss(12, 0.0, 90.0, 0.0, phi).fbs, 3.0);
    // A north-facing wall gets no beam at noon; a dark hour gets none at all.
    EXPECT_EQ(sonne::Neigungseinfluss(6, 0.0, 90.0, 180.0, phi).fbs, 0.0);
    EXPECT_EQ(sonne::Neigungseinfluss(6, 172.5, 30.0, 0.0, phi).fbs, 0.0);
    // The sunrise hour of a steep east plane stays bounded.
    const auto g6 = sonne::berechne_monatsgeometrie(6, phi);
    for (int k = 1; k <= 24; ++k) {
        const auto e = sonne::Neigungseinfluss(6, g6.omega[k], 90.0, -90.0, phi);
        EXPECT_TRUE(std::isfinite(e.fbs));
        EXPECT_LE(e.fbs, 1.0 / std::sin(5.0 * RAD) + 1e-12);
    }
}

// Beam factor and extraterrestrial beam of an hour against a fine sum over
// the hour: only the part of the hour in which the sun is up and in front of
// the plane counts.
TEST(Sonnengeometrie, NeigungseinflussUeberDenBeleuchtetenTeilDerStunde) {
    struct fall {
        const char* name;
        int monat;
        double omega, beta, gamma, phi;
    };
    const fall faelle[] = {
        {"Sonnenaufgang Ostwand", 6, -127.5, 90.0, -90.0, 52.38},
        {"Mittag Suedwand Dezember", 12, 0.0, 90.0, 0.0, 52.38},
        {"Suedostwand dreht sich weg", 3, 52.5, 90.0, -45.0, 52.38},
        {"Suedhalbkugel Nordwand Juni", 6, 7.5, 90.0, 0.0, -35.0},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.name);
        const double d = sonne::deklination(f.monat) * RAD;
        const double ws = sonne::sonnenuntergangswinkel(sonne::deklination(f.monat), f.phi);
        const int n = 200000;
        double ebene = 0.0, zenit = 0.0;
        for (int i = 0; i < n; ++i) {
            const double w = f.omega - 7.5 + 15.0 * (i + 0.5) / n;
            if (std::abs(w) >= ws) continue;
            ebene += std::max(0.0, sonne::berechne_costheta(d, f.phi * RAD, w * RAD, f.beta * RAD, f.gamma * RAD));
            zenit += sonne::berechne_coszenit(d, f.phi * RAD, w * RAD);
        }
        const auto e = sonne::Neigungseinfluss(f.monat, f.omega, f.beta, f.gamma, f.phi);
        EXPECT_NEAR(e.fbs, std::min(ebene / zenit, 1.0 / std::sin(5.0 * RAD)), 1e-4);
        const double g_on = 1367.0 * sonne::exzentrizitaet(sonne::tag_monatsmitte(f.monat));
        EXPECT_NEAR(e.bsmax, g_on * ebene / n, 1e-5 * g_on);
        EXPECT_LE(e.bsmax, g_on);
    }
    // The beam on the plane: measured beam that the geometry cannot carry at
    // a low sun is cut at the extraterrestrial beam on the plane; the
    // horizontal plane keeps its measured beam in every hour.
    const auto ost = sonne::Neigungseinfluss(6, -127.5, 90.0, -90.0, 52.38);
    ASSERT_GT(ost.fbs, 5.0);
    EXPECT_NEAR(ost.direkt_auf_ebene(0.3, 1.0), ost.bsmax / 1000.0, 1e-12);
    EXPECT_NEAR(ost.direkt_auf_ebene(0.001, 1.0), ost.fbs * 0.001, 1e-12);
    const auto horizontal = sonne::Neigungseinfluss(6, -127.5, 0.0, 0.0, 52.38);
    EXPECT_DOUBLE_EQ(horizontal.direkt_auf_ebene(0.3, 1.0), 0.3);
}

TEST(Sonnengeometrie, Temperaturprofil) {
    const double tg0 = 12.0, tmin = -2.0, tmax = 8.0;  // sunrise at 6:00
    EXPECT_NEAR(sonne::temperaturprofil(6.0, tg0, tmin, tmax), tmin, 1e-12);
    EXPECT_NEAR(sonne::temperaturprofil(15.0, tg0, tmin, tmax), tmax, 1e-12);
    // Midnight is the same from both sides, and every hour lies in [tmin, tmax].
    EXPECT_NEAR(sonne::temperaturprofil(0.0, tg0, tmin, tmax), sonne::temperaturprofil(24.0, tg0, tmin, tmax),
                1e-12);
    // 10:30 is halfway (in phase) from sunrise to 15:00: the mean temperature.
    EXPECT_NEAR(sonne::temperaturprofil(10.5, tg0, tmin, tmax), 3.0, 1e-12);
    for (double t = 0.0; t <= 24.0; t += 0.25) {
        const double T = sonne::temperaturprofil(t, tg0, tmin, tmax);
        EXPECT_GE(T, tmin - 1e-12);
        EXPECT_LE(T, tmax + 1e-12);
    }
}
