#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/models/kollektor.h"
#include "engine/models/kontext_hilfen.h"
#include "engine/models/reservoir.h"

namespace {

constexpr int M = 4, S = 3;

// A month of six one-hour intervals: night, night, three daylight intervals
// (300, 700 and 450 W/m²), night. Collector k = -0.4, eta0 = 0.8, A = 10 m²;
// linear COP models (ww: -0.1 lift + 8, we: -0.1 lift + 7).
class ReservoirTest : public ::testing::Test {
protected:
    senke_installiert senke;
    kontext_zustand z;
    static constexpr double A = 10.0;

    void SetUp() override {
        setze_intervalle(M, 6);
        zwischenreservoir_anlage(z, M, "Z");
        datt& v = z.v();
        v[tdata::kollektorfluid_gefrierpunkt] = -30.0;
        z.lauf.maxge = 2e-4;
        z.z()[zdata::ta][M] = 5.0;
        const double G[7] = {0, 0, 0, 300, 700, 450, 0};
        const double ta[7] = {0, 2, 2, 4, 6, 5, 3};
        for (int s = 1; s <= 6; ++s) {
            z.z3()[zdata::is0][M][s] = G[s];
            z.z3()[zdata::ir][M][s] = G[s] / 1000.0;
            z.z3()[zdata::ta][M][s] = ta[s];
            z.z3()[zdata::ho][M][s] = 1.0;
            z.d3r().equer_verbrauch[M][s] = G[s] > 0 ? 1.9 : 0.5;
        }
        z.d3r().equer_verbrauch[M][4] = 5.0;
    }
    void TearDown() override { setze_intervalle(M, 0); }
};

TEST_F(ReservoirTest, EnergieaufteilungJeKopplung) {
    auto& d3 = z.d3r();
    d3.equer_verbrauch[M][S] = 0.7;
    struct Fall {
        const char* name;
        const char* kopplung;
        char16_t twf;
        double copww, tf, erwartet, el_0;
    };
    const double el = 2.0 / (4.0 - 1.0);  // lifts P = 2: heat out 2 + el = 4 el
    const Fall faelle[] = {
        {"Endreservoir frei", "E", u'N', 4.0, 30.0, 2.0 * 40.0 / 20.0, 2.0 * 40.0 / 20.0},
        {"Endreservoir tf = T_unten", "E", u'N', 4.0, 10.0, 0.0, 0.0},
        // At or above the supply temperature the collector heat serves whole.
        {"Endreservoir tf ueber twv", "E", u'N', 4.0, 70.0, 2.0, 2.0},
        {"Endreservoir tf = twv", "E", u'N', 4.0, 50.0, 2.0, 2.0},
        {"Endreservoir begrenzt", "E", u'J', 4.0, 30.0, 2.0, 0.0},
        {"Zwischen begrenzt", "Z", u'J', 4.0, 40.0, 2.0, 0.0},
        {"Zwischen COP an der Grenze", "Z", u'N', 1.0, 40.0, 0.7, 0.7},
        {"Zwischen frei", "Z", u'N', 4.0, 40.0, 4.0 * el, el},
        {"Zwischen COP 0", "Z", u'N', 0.0, 40.0, 0.0, 0.0},
        {"Zwischen COP unter 1", "Z", u'N', 0.8, 40.0, 0.0, 0.0},
    };
    for (const Fall& f : faelle) {
        setze_code(z.numchar, ndata::kopplungstyp, f.kopplung);
        d3.twfflag[S] = f.twf;
        d3.el_0[M][S] = -1.0;
        EXPECT_DOUBLE_EQ(energie_aufteilung(z.k, 2.0, f.copww, 10.0, f.tf, 50.0, M, S), f.erwartet)
            << f.name;
        EXPECT_DOUBLE_EQ(d3.el_0[M][S], f.el_0) << f.name;
    }
}

TEST_F(ReservoirTest, RegelbereichDerWaermepumpe) {
    auto& d3 = z.d3r();
    z.v()[tdata::wp_leistung_min] = 1000.0;
    z.v()[tdata::wp_leistung_max] = 3000.0;
    z.z3()[zdata::ho][M][S] = 2.0;
    d3.twfflag[S] = u'N';
    // 0.4 kWh over 2 h: 200 W electric, a fifth of the lower limit.
    const double P_fuer = 0.4 * (4.0 - 1.0);  // el_0 = 0.4 at COP 4
    setze_code(z.numchar, ndata::gegenstrom, "I");
    d3.zei[M][S] = 2.0;
    energie_aufteilung(z.k, P_fuer, 4.0, 30.0, 30.0, 50.0, M, S);
    EXPECT_NEAR(d3.el_0[M][S], 0.4, 1e-12);
    EXPECT_NEAR(d3.zei[M][S], 0.2 * 2.0, 1e-12);
    // Counter-flow plant: an interval of two hours is no running period
    // either; the pump runs a fifth of it at the lower limit.
    setze_code(z.numchar, ndata::gegenstrom, "G");
    d3.zei[M][S] = 2.0;
    d3.wpausflag[S] = u'N';
    EXPECT_GT(energie_aufteilung(z.k, P_fuer, 4.0, 30.0, 30.0, 50.0, M, S), 0.0);
    EXPECT_NEAR(d3.zei[M][S], 0.2 * 2.0, 1e-12);
    EXPECT_EQ(d3.wpausflag[S], u'N');
    // A month-long interval (248 h) with the need of 100 W: 10 % of it.
    z.z3()[zdata::ho][M][S] = 248.0;
    energie_aufteilung(z.k, 24.8 * 3.0, 4.0, 30.0, 30.0, 50.0, M, S);
    EXPECT_NEAR(d3.el_0[M][S], 24.8, 1e-12);
    EXPECT_NEAR(d3.zei[M][S], 24.8, 1e-9);
    // An hour below the range, or more than the range at any length: off.
    for (double ho : {1.0, 248.0}) {
        SCOPED_TRACE(ho);
        z.z3()[zdata::ho][M][S] = ho;
        const double el = ho == 1.0 ? 0.2 : 248.0 * 3.5;  // 200 W, 3500 W
        d3.es[M][S] = 1.0;
        d3.vel[M][S] = 1e-5;
        d3.wpausflag[S] = u'N';
        EXPECT_EQ(energie_aufteilung(z.k, el * 3.0, 4.0, 30.0, 30.0, 50.0, M, S), 0.0);
        EXPECT_EQ(d3.el_0[M][S], 0.0);
        EXPECT_EQ(d3.es[M][S], 0.0);
        EXPECT_EQ(d3.vel[M][S], 0.0);
        EXPECT_EQ(d3.wpausflag[S], u'J');
    }
    z.z3()[zdata::ho][M][S] = 2.0;
    // Within the range nothing changes.
    d3.zei[M][S] = 2.0;
    setze_code(z.numchar, ndata::gegenstrom, "I");
    energie_aufteilung(z.k, 10.0 * P_fuer, 4.0, 30.0, 30.0, 50.0, M, S);
    EXPECT_EQ(d3.zei[M][S], 2.0);
}

TEST_F(ReservoirTest, DurchflussAusDerLeistung) {
    const double g_s = 2e-4;
    EXPECT_EQ(durchfluss_aus_leistung(z.k, 0.0, 3.0, 40.0, 10.0), 0.0);
    EXPECT_EQ(durchfluss_aus_leistung(z.k, A, 3.0, 25.0, 25.0), g_s);
    // 3 kW over 30 K on 5 units: 3000 / 5 / (30 * 3800 * 1030) m³/s per unit.
    EXPECT_DOUBLE_EQ(durchfluss_aus_leistung(z.k, A, 3.0, 40.0, 10.0),
                     2.0 / 10.0 * 3.0 * 1000.0 / (30.0 * 3800.0 * 1030.0));
    EXPECT_EQ(durchfluss_aus_leistung(z.k, A, 3000.0, 40.0, 10.0), g_s);
    auto& d3 = z.d3r();
    d3.tf[M][S] = 20.0;
    z.z3()[zdata::tein][M][S] = 20.0;
    z.z3()[zdata::ho][M][S] = 0.5;
    durchfluss_intervall(z.k, A, 1.0, M, S);
    EXPECT_EQ(d3.vel[M][S], g_s);
    EXPECT_EQ(d3.zv[M][S], g_s);
    EXPECT_EQ(d3.zei[M][S], 0.5);
    durchfluss_intervall(z.k, A, 0.0, M, S);
    EXPECT_EQ(d3.vel[M][S], 0.0);
}

TEST_F(ReservoirTest, ZwischenreservoirOhneIterationWennDieEnergieReicht) {
    z.z()[zdata::ewv][M] = 1e9;
    EXPECT_EQ(zwischenreservoir_monat(z.k, M, A), 1);
    const auto& d3 = z.d3r();
    for (int s = 1; s <= 6; ++s) {
        EXPECT_EQ(z.z3()[zdata::tein][M][s], z.z3()[zdata::ta][M][s]) << s;
        EXPECT_EQ(d3.tf_s[M][s], d3.tf[M][s]) << s;
        EXPECT_EQ(d3.wpausflag[s], u'N') << s;
        EXPECT_LE(d3.vel[M][s], 2e-4) << s;
    }
    // Each daylight interval at its own optimum, or limited to twv.
    for (int s : {3, 4, 5}) {
        EXPECT_GT(d3.er[M][s], 0.0) << s;
        EXPECT_GT(d3.tf[M][s], d3.tein[M][s]) << s;
        if (d3.twfflag[s] == u'J') {
            EXPECT_EQ(d3.tf[M][s], 50.0) << s;
        }
    }
    EXPECT_EQ(d3.twfflag[3], u'N');
    EXPECT_EQ(d3.er[M][1], 0.0);
}

TEST_F(ReservoirTest, ZwischenreservoirFriertBegrenzteIntervalleEin) {
    z.z()[zdata::ewv][M] = 0.0;
    // Pass over the month, a pass that clamps interval 4, and a quiet pass.
    EXPECT_EQ(zwischenreservoir_monat(z.k, M, A), 3);
    const auto& d3 = z.d3r();
    EXPECT_EQ(d3.twfflag[4], u'J');
    EXPECT_EQ(d3.tf[M][4], 50.0);
    EXPECT_EQ(d3.tf_s[M][4], 50.0);  // the limited temperature, not the optimum above it
    EXPECT_EQ(d3.twfflag[3], u'N');
    EXPECT_EQ(d3.twfflag[5], u'N');
    // Worked by hand: the common level without interval 4.
    EXPECT_NEAR(d3.tf[M][3], 23.23, 0.005);
    EXPECT_NEAR(d3.tf[M][5], 37.17, 0.005);
    // At that level the collector power of the free intervals, lifted to the
    // supply temperature, meets the demand of all unfrozen intervals.
    double angebot = 0.0;
    for (int s : {3, 5}) {
        const kollektor_koeff c = kollektor_koeffizienten(z.k, A, s, M);
        angebot += A * (c.X4 + c.X3 * d3.tf[M][s]);
    }
    EXPECT_NEAR(323.1 / 303.1 * angebot / 1000.0, 3 * 0.5 + 2 * 1.9, 1e-9);
    for (int s : {3, 5}) {
        EXPECT_GT(d3.er[M][s], 0.0);
        EXPECT_DOUBLE_EQ(d3.vel[M][s],
                         durchfluss_aus_leistung(z.k, A, d3.es[M][s] + d3.ls[M][s], d3.tf[M][s],
                                                 z.z3()[zdata::tein][M][s]));
    }
}

TEST_F(ReservoirTest, ZwischenreservoirRechnetMitEnergienAuchBeiLangenIntervallen) {
    // The same month once with one-hour intervals and once with ten-hour
    // intervals of the same irradiance (ten times the irradiation and the
    // demand): the common level and the outflow temperatures must not change,
    // and the useful energy grows tenfold.
    struct ergebnis {
        double tf[7], er[7];
    };
    auto rechne = [&](double stunden) {
        auto& d3 = z.d3r();
        for (int s = 1; s <= 6; ++s) {
            z.z3()[zdata::ho][M][s] = stunden;
            z.z3()[zdata::ir][M][s] = stunden * z.z3()[zdata::is0][M][s] / 1000.0;
            d3.equer_verbrauch[M][s] = stunden * (s == 4 ? 5.0 : (s == 3 || s == 5) ? 1.9 : 0.5);
            d3.tf[M][s] = 0.0;
            d3.er[M][s] = 0.0;
        }
        z.z()[zdata::ewv][M] = 0.0;
        zwischenreservoir_monat(z.k, M, A);
        ergebnis e{};
        for (int s = 1; s <= 6; ++s) {
            e.tf[s] = d3.tf[M][s];
            e.er[s] = d3.er[M][s];
        }
        return e;
    };
    const ergebnis kurz = rechne(1.0);
    const ergebnis lang = rechne(10.0);
    for (int s : {3, 4, 5}) {
        SCOPED_TRACE(s);
        EXPECT_GT(kurz.er[s], 0.0);
        EXPECT_NEAR(lang.tf[s], kurz.tf[s], 1e-9);
        EXPECT_NEAR(lang.er[s], 10.0 * kurz.er[s], 1e-9);
    }
}

// Little demand drives the common level, and so every outflow temperature,
// up to twv; in weak light (40 W/m² in interval 2) the single collector would
// lose heat at that temperature. Its loop stays off instead of booking a
// negative gain and a negative useful energy.
TEST_F(ReservoirTest, ZwischenreservoirOhneKreisWennDerKollektorVerliert) {
    setze_code(z.numchar, ndata::anzahl_kollektoren, "E");
    z.z3()[zdata::is0][M][2] = 40.0;
    z.z3()[zdata::ir][M][2] = 0.04;
    for (int s = 1; s <= 6; ++s) z.d3r().equer_verbrauch[M][s] = s == 1 || s == 6 ? 0.1 : 0.6;
    z.z()[zdata::ewv][M] = 0.0;
    zwischenreservoir_monat(z.k, M, A);
    const auto& d3 = z.d3r();
    EXPECT_EQ(d3.tf[M][2], 50.0);
    EXPECT_EQ(d3.wpausflag[2], u'J');
    EXPECT_EQ(d3.es[M][2], 0.0);
    EXPECT_EQ(d3.ls[M][2], 0.0);
    EXPECT_EQ(d3.er[M][2], 0.0);
    EXPECT_EQ(d3.vel[M][2], 0.0);
    for (int s : {3, 4, 5}) {
        EXPECT_EQ(d3.wpausflag[s], u'N') << s;
        EXPECT_GT(d3.es[M][s] + d3.ls[M][s], 0.0) << s;
        EXPECT_GT(d3.er[M][s], 0.0) << s;
    }
}

TEST_F(ReservoirTest, NegativerKoeffizientWirdProtokolliert) {
    const auto verzeichnis = std::filesystem::temp_directory_path() / "varnek_reservoir_test";
    std::filesystem::create_directories(verzeichnis);
    setze_protokollverzeichnis(verzeichnis);
    leere_protokoll();
    z.v()[tdata::ww_c2] = 0.0;  // ww pump without a constant term: P2c < 0
    for (int s : {3, 4, 5}) z.z3()[zdata::is0][M][s] = 50.0;
    z.z()[zdata::ewv][M] = -1.0;
    EXPECT_EQ(zwischenreservoir_monat(z.k, M, A), 2);  // no usable interval: stops
    std::ifstream datei(protokolldatei());
    std::stringstream inhalt;
    inhalt << datei.rdbuf();
    EXPECT_NE(inhalt.str().find("Warnung: Koeffizien DW < 0."), std::string::npos);
    std::filesystem::remove_all(verzeichnis);
}

class EndreservoirTest : public ReservoirTest {
protected:
    void SetUp() override {
        ReservoirTest::SetUp();
        setze_code(z.numchar, ndata::kopplungstyp, "E");
        z.z()[zdata::twv][M] = 60.0;
        z.z()[zdata::rwv][M] = 20.0;
        z.z3()[zdata::is0][M][3] = 60.0;  // too dull to gain anything at 20 °C
    }
};

TEST_F(EndreservoirTest, NegativerWirkungsgradWirdEingefroren) {
    z.z()[zdata::ewv][M] = 10.0;
    EXPECT_EQ(endreservoir_monat(z.k, M, A), 2);
    const auto& d3 = z.d3r();
    EXPECT_EQ(z.z()[zdata::tk][M], 20.0);
    EXPECT_EQ(d3.wpausflag[3], u'J');
    EXPECT_TRUE(d3.nicht_optimieren);  // its outflow fell below tk
    EXPECT_EQ(d3.tf[M][3], 20.0);
    EXPECT_EQ(d3.er[M][3], 0.0);
    EXPECT_EQ(d3.etam[M][3], 0.0);
    // The free intervals lie on one level: (tf - te) / R2 is common to them.
    double niveau[2];
    int i = 0;
    for (int s : {4, 5}) {
        EXPECT_EQ(z.z3()[zdata::tein][M][s], 20.0);
        EXPECT_EQ(d3.twfflag[s], u'N');
        EXPECT_GT(d3.tf[M][s], 20.0);
        EXPECT_LT(d3.tf[M][s], 60.0);
        const kollektor_koeff c = kollektor_koeffizienten(z.k, A, s, M);
        niveau[i++] = (d3.tf[M][s] - 20.0) / c.R2;
        EXPECT_GT(d3.er[M][s], 0.0);
    }
    EXPECT_NEAR(niveau[0], niveau[1], 1e-12);
}

TEST_F(EndreservoirTest, KleinerBedarfBegrenztAufTwv) {
    z.z()[zdata::ewv][M] = 0.05;
    endreservoir_monat(z.k, M, A);
    const auto& d3 = z.d3r();
    for (int s : {4, 5}) {
        EXPECT_EQ(d3.twfflag[s], u'J') << s;
        EXPECT_EQ(d3.tf[M][s], 60.0) << s;
        EXPECT_DOUBLE_EQ(d3.er[M][s], d3.es[M][s] + d3.ls[M][s]) << s;
    }
}

TEST_F(ReservoirTest, KopplungImZeitschritt) {
    auto& d3 = z.d3r();
    z.z()[zdata::tk][M] = 10.0;
    d3.tf[M][S] = 30.0;
    d3.twfflag[S] = u'N';
    d3.er[M][S] = 1.0;
    double monat = 2.0;
    kopplung_intervall(z.k, M, S, 2.0, monat);
    const double cop = d3.copww[M][S];
    ASSERT_GT(cop, 1.0);
    const double e = 2.0 + 2.0 / (cop - 1.0);  // the collector energy plus the pump's electricity
    EXPECT_NEAR(d3.er[M][S], 1.0 + e, 1e-12);
    EXPECT_NEAR(monat, 2.0 + e, 1e-12);
    setze_code(z.numchar, ndata::kollektorschritt_fertig, "N");
    kopplung_intervall(z.k, M, S, 2.0, monat);
    EXPECT_NEAR(monat, 2.0 + e, 1e-12);

    // A heat pump off in the interval couples nothing, even at its lower COP
    // limit, where the split would book the whole demand as electricity.
    setze_code(z.numchar, ndata::kollektorschritt_fertig, "J");
    d3.wpausflag[S] = u'J';
    d3.tf[M][S] = -80.0;
    d3.equer_verbrauch[M][S] = 3.0;
    kopplung_intervall(z.k, M, S, 0.0, monat);
    EXPECT_EQ(d3.copww[M][S], 1.0);
    EXPECT_NEAR(d3.er[M][S], 1.0 + e, 1e-12);
    EXPECT_NEAR(monat, 2.0 + e, 1e-12);

    // End-reservoir coupling with the outflow at or below the cold water (a
    // night overshoot to -14 degC with air heat in ls): the loop is off and
    // couples nothing, instead of a negative share lifted to twv.
    setze_code(z.numchar, ndata::kopplungstyp, "E");
    z.z()[zdata::twv][M] = 33.0;
    d3.wpausflag[S] = u'N';
    for (const double tf : {-14.3, 10.0}) {
        d3.tf[M][S] = tf;
        d3.es[M][S] = 0.2;
        d3.ls[M][S] = 1.1;
        d3.vel[M][S] = 2e-5;
        kopplung_intervall(z.k, M, S, 1.3, monat);
        EXPECT_NEAR(d3.er[M][S], 1.0 + e, 1e-12) << tf;
        EXPECT_NEAR(monat, 2.0 + e, 1e-12) << tf;
        EXPECT_EQ(d3.es[M][S] + d3.ls[M][S], 0.0) << tf;
        EXPECT_EQ(d3.vel[M][S], 0.0) << tf;
    }
    // Just above the cold water the collector heat is lifted to twv.
    d3.tf[M][S] = 12.0;
    kopplung_intervall(z.k, M, S, 1.0, monat);
    EXPECT_NEAR(d3.er[M][S], 1.0 + e + 1.0 * (33.0 - 10.0) / (12.0 - 10.0), 1e-12);
}

}  // namespace
