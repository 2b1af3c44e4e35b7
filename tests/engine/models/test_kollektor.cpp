#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "engine/models/druckabfall.h"
#include "engine/models/kollektor.h"
#include "engine/models/kontext_hilfen.h"
#include "engine/models/waermepumpe.h"

namespace {

constexpr int M = 3, S = 5;

// A single collector (k = -0.4, i.e. U = 4 W/m²K, eta0 = 0.8) on an
// intermediate-reservoir plant with linear COP models for both pumps.
class KollektorTest : public ::testing::Test {
protected:
    senke_installiert senke;
    kontext_zustand z;

    void SetUp() override {
        zwischenreservoir_anlage(z, M, "E");
        z.z()[zdata::ta][M] = 2.0;
        interval(500.0, 5.0, 5.0, 0.5);
        z.lauf.maxge = 2e-5;
    }

    void interval(double G, double ta, double te, double ir, int s = S) {
        z.z3()[zdata::is0][M][s] = G;
        z.z3()[zdata::ta][M][s] = ta;
        z.z3()[zdata::tein][M][s] = te;
        z.z3()[zdata::ir][M][s] = ir;
        z.z3()[zdata::ho][M][s] = 1.0;
    }
};

TEST_F(KollektorTest, KoeffizientenDesLinearenGesetzesUndDerCopGeraden) {
    const kollektor_koeff c = kollektor_koeffizienten(z.k, 10.0, S, M);
    EXPECT_DOUBLE_EQ(c.X1, -0.004);
    EXPECT_DOUBLE_EQ(c.X2, 0.82);
    EXPECT_DOUBLE_EQ(c.X3, -2.0);
    EXPECT_DOUBLE_EQ(c.X4, 410.0);
    EXPECT_DOUBLE_EQ(c.X5, 420.0);
    EXPECT_DOUBLE_EQ(c.P28, 0.05);
    EXPECT_DOUBLE_EQ(c.P2c, 4.25);
    EXPECT_DOUBLE_EQ(c.R1, std::sqrt(14.5));
    // The line is the linear COP model at th = (twv + rwv)/2, tt = (tf + ta)/2.
    double roh = 0.0;
    for (double tf : {5.0, 15.0, 30.0}) {
        const double cop = berechne_cop(z.v(), z.z(), 'W', (tf + 5.0) / 2.0, 40.0, z.numchar, roh, z.d3r(), M,
                                        S, zustand::stoffdaten().kaeltemittel_record);
        EXPECT_NEAR(c.P2c + c.P28 * tf, cop, 1e-12) << tf;
    }
}

TEST_F(KollektorTest, CopGeradeMitLuftwaermetauscher) {
    // With the air heat exchanger the pump's source is the mean of tf and the
    // inflow that the largest flow g_s leaves: tein = tf - A1 (X4 + X3 tf) / D.
    setze_code(z.numchar, ndata::luftwaermetauscher, "L");
    const kollektor_koeff c = kollektor_koeffizienten(z.k, 10.0, S, M);
    const double D = 3800.0 * 1030.0 * 2e-5;
    double roh = 0.0;
    for (double tf : {5.0, 15.0, 30.0}) {
        const double tein = tf - 2.0 * (c.X4 + c.X3 * tf) / D;
        const double cop = berechne_cop(z.v(), z.z(), 'W', (tf + tein) / 2.0, 40.0, z.numchar, roh, z.d3r(),
                                        M, S, zustand::stoffdaten().kaeltemittel_record);
        EXPECT_NEAR(c.P2c + c.P28 * tf, cop, 1e-12) << tf;
    }
    // No flow: the line cannot be formed and the interval is not usable.
    z.lauf.maxge = 0.0;
    EXPECT_EQ(kollektor_koeffizienten(z.k, 10.0, S, M).R1, -1.0);
}

TEST_F(KollektorTest, NachtKoeffizientenUndUnveraenderterWirkungsgrad) {
    interval(0.0, 5.0, 5.0, 0.2);
    const kollektor_koeff c = kollektor_koeffizienten(z.k, 10.0, S, M);
    EXPECT_EQ(c.X1, 1e8);
    EXPECT_EQ(c.X2, -1e8);
    z.d3r().etam[M][S] = 0.37;
    z.d3r().tf[M][S] = 8.0;
    z.d3r().tein[M][S] = 6.0;
    kollektor_schritt(z.d3r(), z.z3(), M, 'n', S, 10.0, c.X4, c.X2, c.X3, c.X1);
    EXPECT_EQ(z.d3r().etam[M][S], 0.37);
    EXPECT_DOUBLE_EQ(z.d3r().es[M][S], 10.0 * 0.37 * 0.2);
    EXPECT_EQ(z.d3r().ls[M][S], 0.0);
}

TEST_F(KollektorTest, OhneVerlustbeiwertIstDerWirkungsgradEta0) {
    z.v()[tdata::kol_oben_verlust] = 0.0;
    interval(800.0, 5.0, 5.0, 0.8);
    for (double tf : {5.0, 20.0, 60.0}) {
        z.d3r().tf[M][S] = tf;
        z.d3r().tein[M][S] = 5.0;
        const kollektor_koeff c = kollektor_koeffizienten(z.k, 10.0, S, M);
        kollektor_schritt(z.d3r(), z.z3(), M, 'n', S, 10.0, c.X4, c.X2, c.X3, c.X1);
        EXPECT_DOUBLE_EQ(z.d3r().etam[M][S], 0.8) << tf;
        EXPECT_DOUBLE_EQ(z.d3r().es[M][S], 0.8 * 10.0 * 0.8) << tf;
        // Without a loss term the level equation of the month solution has no
        // solution: R1 marks it unusable instead of dividing by zero.
        EXPECT_EQ(c.R1, -1.0);
    }
}

TEST_F(KollektorTest, KaelterAlsDieLuftNimmtDerKollektorUmgebungswaerme) {
    z.d3r().tf[M][S] = 1.0;
    z.d3r().tein[M][S] = -1.0;
    const kollektor_koeff c = kollektor_koeffizienten(z.k, 10.0, S, M);
    kollektor_schritt(z.d3r(), z.z3(), M, 'n', S, 10.0, c.X4, c.X2, c.X3, c.X1);
    EXPECT_DOUBLE_EQ(z.d3r().es[M][S], 10.0 * c.X4 / 1000.0);
    EXPECT_DOUBLE_EQ(z.d3r().ls[M][S], -10.0 * c.X3 * (5.0 - 0.0) / 1000.0);
    EXPECT_GT(z.d3r().ls[M][S], 0.0);
}

TEST_F(KollektorTest, DirekteKopplungWaehltDenStationaerenPunkt) {
    const double A = 10.0;
    const double er = direkte_kopplung_intervall(z.k, M, S, A);
    const auto& d3 = z.d3r();
    ASSERT_EQ(d3.twfflag[S], u'N');
    const double tf = d3.tf[M][S];
    EXPECT_GT(tf, 5.0);
    EXPECT_LT(tf, 50.0);
    // The chosen tf maximises eta(x) (1/c_we - 1/COP(x)).
    const kollektor_koeff c = kollektor_koeffizienten(z.k, A, S, M);
    const double c_we = z.d->copwe[M];
    EXPECT_DOUBLE_EQ(c_we, -0.1 * (50.0 - 2.0) + 7.0);
    auto f = [&](double x) { return (c.X2 + c.X1 * x) * (1.0 / c_we - 1.0 / (c.P2c + c.P28 * x)); };
    const double h = 1e-4;
    EXPECT_NEAR((f(tf + h) - f(tf - h)) / (2 * h), 0.0, 1e-8);
    EXPECT_LT((f(tf + h) - 2 * f(tf) + f(tf - h)), 0.0);  // a maximum
    EXPECT_DOUBLE_EQ(d3.copww[M][S], c.P28 * tf + c.P2c);
    // Useful energy: COP times the heat-pump electricity of the interval, and
    // (first law) the collector heat plus that electricity.
    EXPECT_DOUBLE_EQ(er, d3.copww[M][S] * d3.el_0[M][S]);
    EXPECT_NEAR(er, d3.es[M][S] + d3.ls[M][S] + d3.el_0[M][S], 1e-12);
}

TEST_F(KollektorTest, DirekteKopplungOhneReelleWurzelNimmtDieEintrittstemperatur) {
    // A ww pump whose COP rises with the lift and has no constant term:
    // eta (1/c_we - 1/COP) has no stationary point.
    z.v()[tdata::ww_c1] = 0.1;
    z.v()[tdata::ww_c2] = 0.0;
    interval(500.0, 5.0, 7.0, 0.5);
    direkte_kopplung_intervall(z.k, M, S, 10.0);
    EXPECT_EQ(z.d3r().twfflag[S], u'N');
    EXPECT_EQ(z.d3r().tf[M][S], 7.0);
}

TEST_F(KollektorTest, DirekteKopplungBegrenztAufTwv) {
    z.z()[zdata::twv][M] = 12.0;
    const double er = direkte_kopplung_intervall(z.k, M, S, 10.0);
    const auto& d3 = z.d3r();
    EXPECT_EQ(d3.twfflag[S], u'J');
    EXPECT_EQ(d3.tf[M][S], 12.0);
    EXPECT_EQ(er, d3.es[M][S]);
    EXPECT_GT(er, 0.0);
}

TEST_F(KollektorTest, WirkungsgradMitQuadratischemTermJeKollektor) {
    datt& v = z.v();
    v[tdata::kol_oben_quadratisch] = -0.002;
    v[tdata::kol_unten_verlust] = -0.3;
    v[tdata::kol_unten_konversion] = 0.7;
    v[tdata::kol_unten_quadratisch] = -0.001;
    v[tdata::feld_verlust] = -0.5;
    v[tdata::feld_konversion] = 0.75;
    // d = (30 + 40)/2 - 15 = 20, f = 10/500 = 0.02
    EXPECT_DOUBLE_EQ(wirkungsgrad(v, 'o', 500.0, 30.0, 15.0, 40.0), 0.8 - 0.4 * 20 * 0.02 - 0.002 * 400 * 0.02);
    EXPECT_DOUBLE_EQ(wirkungsgrad(v, 'u', 500.0, 30.0, 15.0, 40.0), 0.7 - 0.3 * 20 * 0.02 - 0.001 * 400 * 0.02);
    EXPECT_DOUBLE_EQ(wirkungsgrad(v, 'q', 500.0, 30.0, 15.0, 40.0), 0.75 - 0.5 * 20 * 0.02);
    EXPECT_DOUBLE_EQ(v[tdata::zehn_durch_g], 0.02);
    wirkungsgrad(v, 'q', 0.0, 30.0, 15.0, 40.0);
    EXPECT_DOUBLE_EQ(v[tdata::zehn_durch_g], 0.1);
}

TEST_F(KollektorTest, NegativerWirkungsgradSchaltetDieWaermepumpeAb) {
    z.v()[tdata::feld_verlust] = -0.4;
    z.v()[tdata::feld_konversion] = 0.8;
    double roh = 0.0;
    z.d3r().wpausflag[S] = u'N';
    // d = 60, f = 0.1: 0.8 - 0.4 * 60 * 0.1 < 0
    EXPECT_EQ(wirkungsgrad_intervall(z.k, roh, M, S, 0.0, 100.0, 60.0, 0.0, 60.0), 0.0);
    EXPECT_DOUBLE_EQ(roh, 0.8 - 2.4);
    EXPECT_EQ(z.d3r().wpausflag[S], u'J');
    EXPECT_EQ(z.d3r().eta_kleiner_null_flag[S], u'J');
    EXPECT_DOUBLE_EQ(wirkungsgrad_intervall(z.k, roh, M, S, 0.0, 100.0, 10.0, 5.0, 10.0), 0.6);
    EXPECT_EQ(z.d3r().eta_kleiner_null_flag[S], u'N');
    // Directly coupled: eta0 + b/G for a negative b.
    setze_code(z.numchar, ndata::kopplungsart, "DK");
    EXPECT_DOUBLE_EQ(wirkungsgrad_intervall(z.k, roh, M, S, -20.0, 100.0, 0, 0, 0), 0.6);
    EXPECT_DOUBLE_EQ(wirkungsgrad_intervall(z.k, roh, M, S, 20.0, 100.0, 0, 0, 0), 0.8);
}

TEST_F(KollektorTest, AustrittstemperaturErfuelltDieEnergiebilanz) {
    const datt& v = z.v();
    const double fluss = 2e-5, A = 2.0, kv = -0.4, eta0 = 0.8, te = 10.0, ta = 5.0;
    const double u = v[tdata::kollektorfluid_cpf] * v[tdata::kollektorfluid_dichte] * fluss;
    // Day, no quadratic term: u (tf - te) = A (G eta0 - U (tm - ta)).
    double tf = austrittstemperatur(v, fluss, te, ta, 600.0, 0.0, eta0, kv, A);
    EXPECT_NEAR(u * (tf - te), A * (600.0 * eta0 + 10.0 * kv * ((tf + te) / 2.0 - ta)), 1e-9);
    // Night: only the losses; a result above the air is cut to the air.
    tf = austrittstemperatur(v, fluss, 2.0, ta, 0.0, 0.0, eta0, kv, A);
    EXPECT_NEAR(u * (tf - 2.0), A * 10.0 * kv * ((tf + 2.0) / 2.0 - ta), 1e-9);
    EXPECT_LT(tf, ta);
    EXPECT_EQ(austrittstemperatur(v, fluss, 9.0, ta, 0.0, 0.0, eta0, kv, A), ta);
    // Quadratic term: the outflow satisfies the same balance with the term
    // 10 a2 d^2 of the efficiency law, and the fluid warms only where the
    // efficiency at its mean temperature is positive.
    struct fall {
        double G, ta, te, a2, eta0, kv, fluss;
    };
    for (const fall f : {fall{600.0, ta, te, -0.002, eta0, kv, fluss},
                         // Weak winter light on a warm inflow: negative efficiency.
                         fall{143.0, 2.0, 26.4, -0.016, 0.75, -0.327, 2e-5},
                         fall{143.0, 2.0, 26.4, -0.016, 0.75, -0.327, 2e-6},
                         fall{800.0, 20.0, 40.0, -0.016, 0.75, -0.327, 5e-6},
                         // Cold inflow under warm air.
                         fall{300.0, 25.0, 0.0, -0.016, 0.75, -0.327, 2e-5}}) {
        const double uf = v[tdata::kollektorfluid_cpf] * v[tdata::kollektorfluid_dichte] * f.fluss;
        const double t = austrittstemperatur(v, f.fluss, f.te, f.ta, f.G, f.a2, f.eta0, f.kv, A);
        const double d = (t + f.te) / 2.0 - f.ta;
        const double waerme = A * (f.G * f.eta0 + 10.0 * f.kv * d + 10.0 * f.a2 * d * d);
        EXPECT_NEAR(uf * (t - f.te), waerme, 1e-7 * std::abs(waerme) + 1e-9) << f.G << " " << f.te;
        EXPECT_EQ(t > f.te, waerme > 0.0) << f.G << " " << f.te;
    }
    // By hand for the first case: u = 78.28, e = 0, B = -0.01, C = 8228,
    // K = -174280, tf = sqrt(8228^2/4 + 174280) - 4114.
    tf = austrittstemperatur(v, fluss, te, ta, 600.0, -0.002, eta0, kv, A);
    EXPECT_NEAR(tf, 21.127083899599, 1e-9);
    // January, 2 m2 at 143 W/m2, 2 degC air, 26.4 degC inflow: the fluid cools.
    EXPECT_NEAR(austrittstemperatur(v, 2e-5, 26.4, 2.0, 143.0, -0.016, 0.75, -0.327, A) - 26.4,
                24.880540067157 - 26.4, 1e-9);
    // No real solution (no flow, a2 > 0: D = 40000 - 110000): the air temperature.
    EXPECT_EQ(austrittstemperatur(v, 0.0, te, ta, 600.0, 0.002, eta0, kv, A), ta);
}

struct EintrittsFall {
    const char* name;
    const char* kopplung;  // numchar[ndata::kopplungstyp]
    const char* typ;       // numchar[ndata::kopplungsart]
    const char* methode;   // numchar[ndata::rechenart]
    double gefrierpunkt;   // vdatt[tdata::kollektorfluid_gefrierpunkt]
    double erwartet;
    bool nicht_optimieren;
    char16_t wpaus;
};

void PrintTo(const EintrittsFall& f, std::ostream* os) { *os << f.name; }

class EintrittTest : public KollektorTest, public ::testing::WithParamInterface<EintrittsFall> {};

TEST_P(EintrittTest, Eintrittstemperatur) {
    const EintrittsFall& f = GetParam();
    setze_code(z.numchar, ndata::kopplungstyp, f.kopplung);
    setze_code(z.numchar, ndata::kopplungsart, f.typ);
    setze_code(z.numchar, ndata::rechenart, f.methode);
    setze_code(z.numchar, ndata::gegenstrom, "K");
    setze_code(z.numchar, ndata::anzahl_kollektoren, "Z");
    z.v()[tdata::kollektorfluid_gefrierpunkt] = f.gefrierpunkt;  // collector fluid
    z.v()[tdata::wpfluid_gefrierpunkt] = f.gefrierpunkt;         // heat-pump fluid (direct coupling)
    z.lauf.mindeltatkol = -8.0;
    z.lauf.deltatkol_schritt = 2.0;
    z.z()[zdata::tk][M] = 12.0;
    z.z()[zdata::te][M] = 9.0;
    z.d3r().wpausflag[S] = u'N';
    z.d3r().nicht_optimieren = false;
    // ta = 5, step i = 1: ta + dT_1 = -1; the caller's temperature is 3.
    const double T = eintrittstemperatur_intervall(z.k, 1, S, M, 3.0, 10.0);
    EXPECT_DOUBLE_EQ(T, f.erwartet) << f.name;
    EXPECT_EQ(z.d3r().nicht_optimieren, f.nicht_optimieren) << f.name;
    EXPECT_EQ(z.d3r().wpausflag[S], f.wpaus) << f.name;
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, EintrittTest,
    ::testing::Values(
        EintrittsFall{"Reservoir TA analytisch: ta + dT", "Z", "A", "A", -30.0, -1.0, false, u'N'},
        EintrittsFall{"Zeitschritt: Vorgabe", "Z", "DK", "T", -30.0, 3.0, false, u'N'},
        EintrittsFall{"Erdreich: max(ta, te)", "Z", "E", "A", -30.0, 9.0, false, u'N'},
        EintrittsFall{"Endreservoir: Kaltwasser", "E", "A", "A", -30.0, 12.0, false, u'N'},
        EintrittsFall{"Gefriergrenze analytisch", "Z", "A", "A", 0.0, 5.0, true, u'N'},
        EintrittsFall{"Gefriergrenze Zeitschritt", "Z", "DK", "T", 4.0, 4.0, false, u'N'},
        EintrittsFall{"ueber twv", "Z", "DK", "T", 60.0, 50.0, false, u'J'}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(KollektorTest, NennleistungsbetriebLoestDieBilanzNachDerEintrittstemperatur) {
    setze_code(z.numchar, ndata::kopplungsart, "K");
    z.v()[tdata::ww_leistung] = 800.0;
    z.pl->n = 5;
    z.z3()[zdata::tt][M][S] = 0.0;
    z.d3r().vel[M][S] = 2e-5;
    const double A = 10.0;
    const double T = eintrittstemperatur_intervall(z.k, 0, S, M, 0.0, A);
    EXPECT_EQ(z.d3r().cflag[S], u'J');
    const kollektor_koeff c = kollektor_koeffizienten(z.k, A, S, M);
    const double W = 3800.0 * 1030.0 * 2e-5 * 5;
    const double Q = 323.1 / 273.1;
    const double tfs = z.d3r().tf_s[M][S];
    // The heat the fluid brings over (tf_s - T) is what the pump takes in
    // at its nominal power: Q W (tf_s - T) = P (P2c + P28 tf_s).
    EXPECT_NEAR(Q * W * (tfs - T), 800.0 * (c.P2c + c.P28 * tfs), 1e-6);
}

TEST_F(KollektorTest, FeldkennwerteZweierKollektorenInReihe) {
    datt& v = z.v();
    v[tdata::kol_unten_verlust] = -0.3;
    v[tdata::kol_unten_konversion] = 0.7;
    v[tdata::flaeche_kol_unten] = 1.0;
    v[tdata::flaeche_kol_oben] = 1.0;
    v[tdata::daf] = 2.0;
    setze_code(z.numchar, ndata::anzahl_kollektoren, "Z");
    z.d3r().mcg[M][S] = 100.0;
    feldkennwerte_intervall(z.k, M, S, 1.0);
    EXPECT_DOUBLE_EQ(v[tdata::feld_verlust], (-0.4 - 0.3 - 10 * 0.12 / 100.0) / 2.0);
    EXPECT_DOUBLE_EQ(v[tdata::feld_konversion], (0.8 + 0.7 - 10 * 0.8 * -0.3 / 100.0) / 2.0);
    setze_code(z.numchar, ndata::anzahl_kollektoren, "E");
    feldkennwerte_intervall(z.k, M, S, 1.0);
    EXPECT_EQ(v[tdata::feld_verlust], -0.4);
    EXPECT_EQ(v[tdata::feld_konversion], 0.8);
}

TEST_F(KollektorTest, GewinneJeAnlagentyp) {
    const double A = 10.0;
    auto& d3 = z.d3r();
    d3.etam[M][S] = 0.5;
    z.v()[tdata::daf] = 2.0;
    // Ground exchanger: ls from the inflow-to-source difference with the
    // field's heat-capacity flow (5 units of 80 W/K), counted once.
    setze_code(z.numchar, ndata::kopplungsart, "E");
    z.z3()[zdata::tt][M][S] = 2.0;
    d3.vel[M][S] = 80.0 / (z.v()[tdata::kollektorfluid_cpf] * z.v()[tdata::kollektorfluid_dichte]);
    d3.mcg[M][S] = waermekapazitaetsstrom(M, S, A, z.v(), d3);
    ASSERT_NEAR(d3.mcg[M][S], 400.0, 1e-9);
    d3.minmc = d3.mcg[M][S];
    double summe = -1.0;
    kollektorgewinne_intervall(z.k, M, S, A, 0.5, summe);
    EXPECT_DOUBLE_EQ(d3.es[M][S], 10.0 * 0.5 * 0.5 * 0.5);
    EXPECT_NEAR(d3.ls[M][S], (5.0 - 2.0) * 400.0 / 1000.0 * 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(summe, d3.es[M][S] + d3.ls[M][S]);
    EXPECT_DOUBLE_EQ(z.d->es[M], d3.es[M][S]);  // analytic method books the month too
    // Directly coupled: the air path's ls plus es go to the sum, the interval keeps 0.
    setze_code(z.numchar, ndata::kopplungsart, "DK");
    d3.ls[M][S] = 0.7;
    kollektorgewinne_intervall(z.k, M, S, A, 1.0, summe);
    EXPECT_DOUBLE_EQ(summe, 0.7 + 10.0 * 0.5 * 0.5);
    EXPECT_EQ(d3.es[M][S], 0.0);
    EXPECT_EQ(d3.ls[M][S], 0.0);
}

TEST_F(KollektorTest, GewinneUeberDenLuftpfad) {
    // Collector run colder than the air at nominal power ("K"), no wind, no fan.
    const double A = 10.0;
    auto& d3 = z.d3r();
    setze_code(z.numchar, ndata::kopplungsart, "K");
    d3.te[M][S] = -6.0;
    d3.tein[M][S] = -6.0;
    d3.tf[M][S] = -4.0;
    d3.tf_s[M][S] = -4.0;
    d3.mcg[M][S] = 400.0;
    double summe = 0.0;
    kollektorgewinne_intervall(z.k, M, S, A, 1.0, summe);
    // Outflow without air movement: (x1 + 0) / x3 = 192 / 42.
    const double tf = 192.0 / 42.0;
    EXPECT_DOUBLE_EQ(d3.tf_s[M][S], tf);
    // The heat into the fluid is split into the optical gain and the rest
    // taken from the air.
    EXPECT_DOUBLE_EQ(d3.es[M][S], 0.8 * 500.0 * A / 1000.0);
    EXPECT_NEAR(summe, (tf + 6.0) * 400.0 / 1000.0, 1e-12);
    EXPECT_NEAR(d3.ls[M][S], summe - d3.es[M][S], 1e-12);
}

// The air path gives powers when air moves over the collector and the
// interval's heat without air movement; the gains it leads to are the
// energies of the interval, so they grow with its hours either way.
TEST_F(KollektorTest, LuftpfadgewinneSindEnergienDesIntervalls) {
    const double A = 10.0;
    auto& d3 = z.d3r();
    setze_code(z.numchar, ndata::kopplungsart, "K");
    auto gewinne = [&](double wind, double stunden) {
        z.v()[tdata::mittlerer_wind] = wind;
        z.z3()[zdata::ho][M][S] = stunden;
        d3.te[M][S] = d3.tein[M][S] = -6.0;
        d3.tf[M][S] = d3.tf_s[M][S] = -4.0;
        d3.mcg[M][S] = 400.0;
        double summe = 0.0;
        kollektorgewinne_intervall(z.k, M, S, A, 1.0, summe);
        return std::pair{summe, d3.es[M][S]};
    };
    for (double wind : {0.0, 1.5}) {
        SCOPED_TRACE(wind);
        const auto [eine_stunde, es_1] = gewinne(wind, 1.0);
        ASSERT_GT(eine_stunde, 0.0);
        const auto [sechs_stunden, es_6] = gewinne(wind, 6.0);
        EXPECT_NEAR(sechs_stunden, 6.0 * eine_stunde, 1e-9 * sechs_stunden);
        EXPECT_NEAR(es_6, 6.0 * es_1, 1e-12);
    }
}

TEST_F(KollektorTest, StartwerteUndAbgeschalteteWaermepumpe) {
    auto& d3 = z.d3r();
    setze_code(z.numchar, ndata::rechenart, "V");
    setze_code(z.numchar, ndata::zeitraum, "M");
    setze_code(z.numchar, ndata::kopplungsart, "DK");  // the collector model does not set the inflow
    z.z3()[zdata::tein][M][S] = 8.0;
    d3.tein[M][S] = 8.0;
    d3.wpausflag[S] = u'N';
    // No collector: the outflow is the inflow; COP and efficiency follow.
    double grenze = kollektor_startwerte_intervall(z.k, M, S, 0.0, 2e-5, 0.0, 0);
    EXPECT_EQ(grenze, 50.0);
    EXPECT_EQ(d3.tf[M][S], 8.0);
    EXPECT_EQ(d3.etam[M][S], 0.0);
    EXPECT_DOUBLE_EQ(z.v()[tdata::waermekapazitaetsstrom], 3800.0 * 1030.0 * 2e-5);
    EXPECT_GT(d3.copww[M][S], 1.0);
    // An outflow above twv switches the heat pump off.
    z.z3()[zdata::tein][M][S] = 55.0;
    kollektor_startwerte_intervall(z.k, M, S, 0.0, 2e-5, 0.0, 0);
    EXPECT_EQ(d3.wpausflag[S], u'J');
    // Heat pump off: flow and efficiency 0, outflow = inflow; a limited
    // interval keeps its values.
    d3.twfflag[S] = u'N';
    d3.vel[M][S] = 1.0;
    d3.etam[M][S] = 0.4;
    waermepumpe_aus_intervall(d3, z.z3(), M, S, 1.0);
    EXPECT_EQ(d3.vel[M][S], 0.0);
    EXPECT_EQ(d3.etam[M][S], 0.0);
    EXPECT_EQ(d3.tf_s[M][S], 55.0);
    d3.twfflag[S] = u'J';
    d3.vel[M][S] = 1.0;
    waermepumpe_aus_intervall(d3, z.z3(), M, S, 1.0);
    EXPECT_EQ(d3.vel[M][S], 1.0);
}

TEST_F(KollektorTest, KennlinienEndtemperatur) {
    setze_code(z.numchar, ndata::rechenart, "V");
    setze_code(z.numchar, ndata::kopplungsart, "DK");
    EXPECT_EQ(kennlinien_austrittstemperatur(z.k, M, S, 2e-5, 7.0, 5.0, 0.0), 7.0);
    setze_code(z.numchar, ndata::kopplungsart, "DKF");
    setze_code(z.numchar, ndata::kopplungstyp, "Z");
    setze_code(z.numchar, ndata::kopplungsart, "X");  // neither exchanger nor direct coupling
    z.d3r().nicht_optimieren = false;
    // Night with an inflow above the air: the end temperature is the air and
    // lies below the inflow, which the curve cannot use.
    const double t = kennlinien_austrittstemperatur(z.k, M, S, 2e-5, 9.0, 5.0, 0.0);
    EXPECT_EQ(t, 5.0);
    EXPECT_TRUE(z.d3r().nicht_optimieren);
}

}  // namespace
