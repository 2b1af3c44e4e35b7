#include <gtest/gtest.h>

#include <cmath>

#include "engine/models/kontext_hilfen.h"
#include "engine/models/luftkollektor.h"

namespace {

constexpr int M = 1, S = 7;
constexpr double NUE = 1.0 / 65536.0;  // kinematic viscosity, exactly representable
constexpr double LAMBDA = 0.025;

// A square field of 16 m² (B = L = 4 m, characteristic length 1 m) under a
// fan duct 0.5 m high, air with constant properties.
class LuftkollektorTest : public ::testing::Test {
protected:
    senke_installiert senke;
    kontext_zustand z;
    static constexpr double A = 16.0;

    void SetUp() override {
        setze_lineare_tabelle(z.stoffe->stoffdaten_luft_record,
                              {-20.0, 1.29, 1006.0, LAMBDA, NUE, 100.0},
                              {40.0, 1.29, 1006.0, LAMBDA, NUE, 100.0});
        z.pl->oberer_kollektor.bul.wert = 1.0;
        z.pl->oberer_kollektor.RelFlaecheUnten.wert = 0.5;
        z.pl->kollektorventilator.hoeheventilator.wert = 0.5;
        z.v()[tdata::kol_oben_verlust] = -0.4;
        z.v()[tdata::kol_oben_konversion] = 0.8;
        setze_code(z.numchar, ndata::kopplungstyp, "Z");
        setze_code(z.numchar, ndata::rechenart, "V");
        z.z3()[zdata::ta][M][S] = 2.0;
        z.z3()[zdata::ho][M][S] = 1.0;
        z.d3r().mcg[M][S] = 400.0;
        z.d3r().te[M][S] = -6.0;
        z.d3r().tein[M][S] = -6.0;
        z.d3r().tf[M][S] = -6.0;
        z.d3r().tf_s[M][S] = -4.0;
    }

    double alpha(double tf_store = -6.0, bool heizung = false) {
        luftdaten ld{};
        double w = 0.0;
        return berechne_alpha_quer(z.k, 30.0, A, 2.0, tf_store, z.stoffe->stoffdaten_luft_record,
                                   heizung, M, S, ld, w);
    }
};

TEST_F(LuftkollektorTest, ErzwungeneKonvektionAbRe100000Turbulent) {
    z.k.kol.einwindtkoef = "n";
    setze_code(z.numchar, ndata::kopplungsart, "DKF");
    const double Pr = 0.72;
    for (double Re : {99999.0, 100000.0, 20000.0, 400000.0}) {
        const double w = Re * NUE;         // Lc = 1 m
        z.v()[tdata::volstrom_luft] = w * 4.0 * 0.5;  // air flow through the duct B * h
        const double nu = alpha();
        const double nu_f = Re < 100000.0
                                ? 0.664 * std::sqrt(Re) * std::cbrt(Pr)
                                : 0.037 * std::pow(Re, 0.8) * Pr /
                                      (1 + 2.443 * std::pow(Re, -0.1) * (std::pow(Pr, 2.0 / 3) - 1));
        EXPECT_NEAR(nu, 0.5 * nu_f, 1e-9 * nu_f) << Re;
        EXPECT_DOUBLE_EQ(z.d3r().v_luft[M][S], w);
        EXPECT_NEAR(z.pl->oberer_kollektor.windtkoef.wert, nu * LAMBDA / w, 1e-12);
        // The loss coefficient of the data sheet stays in force.
        EXPECT_DOUBLE_EQ(z.v()[tdata::kol_oben_verlust], -0.4);
        EXPECT_DOUBLE_EQ(z.d3r().a1_skm_oben[M][S], 4.0);
    }
    // The two correlations differ noticeably at the switch.
    z.v()[tdata::volstrom_luft] = 99999.0 * NUE * 2.0;
    const double lam = alpha();
    z.v()[tdata::volstrom_luft] = 100000.0 * NUE * 2.0;
    EXPECT_GT(std::fabs(alpha() - lam), 10.0);
}

TEST_F(LuftkollektorTest, NatuerlicheKonvektionOhneLuftbewegung) {
    z.k.kol.einalpha = "n";
    z.k.kol.einwindtkoef = "n";
    setze_code(z.numchar, ndata::kopplungsart, "DKF");  // with heating the fan does not blow here ...
    z.pl->oberer_kollektor.windtkoef.wert = 7.0;
    const double nu = alpha(-6.0, true);
    const datt& v = z.v();
    EXPECT_GT(nu, 0.0);
    // ... so the mixed number is the natural one of the swept part ...
    EXPECT_NEAR(nu, -10.0 * v[tdata::kol_unten_verlust] / LAMBDA, 1e-12);
    EXPECT_LT(v[tdata::kol_oben_verlust], v[tdata::kol_unten_verlust]);
    EXPECT_EQ(z.pl->oberer_kollektor.windtkoef.wert, 0.0);
    EXPECT_EQ(z.d3r().v_luft[M][S], 0.0);
    EXPECT_DOUBLE_EQ(z.d3r().a1_skm_oben[M][S], -10.0 * v[tdata::kol_oben_verlust]);
    // ... while the velocity model still counts the flow as driven by the fan.
    EXPECT_TRUE(ist_erzwungen(z.numchar));
    // A cooler collector (larger difference to the air) transfers more.
    EXPECT_GT(alpha(-16.0, true), nu);
}

TEST_F(LuftkollektorTest, MischkonvektionNieUnterDerNatuerlichen) {
    z.k.kol.einalpha = "n";
    z.k.kol.einwindtkoef = "n";
    setze_code(z.numchar, ndata::kopplungsart, "DKF");
    for (double w : {0.01, 0.5, 3.0}) {
        z.v()[tdata::volstrom_luft] = w * 2.0;
        const double nu = alpha();
        const double nu2 = -10.0 * z.v()[tdata::kol_unten_verlust] / LAMBDA;
        EXPECT_GE(nu, nu2) << w;
        EXPECT_GE(z.pl->oberer_kollektor.windtkoef.wert, 0.0) << w;
    }
}

TEST_F(LuftkollektorTest, OhneRechenwunschBleibenDieDatenblattwerte) {
    z.pl->oberer_kollektor.windtkoef.wert = 0.3;
    EXPECT_EQ(alpha(), 0.0);
    EXPECT_EQ(z.v()[tdata::kol_oben_verlust], -0.4);
    EXPECT_EQ(z.v()[tdata::kol_unten_verlust], 0.0);
    EXPECT_DOUBLE_EQ(z.d3r().a3_erz[M][S], 0.3);
}

TEST_F(LuftkollektorTest, OhneFeldgeometrieKeinKoeffizient) {
    z.k.kol.einalpha = "n";
    z.k.kol.einwindtkoef = "n";
    z.pl->oberer_kollektor.bul.wert = 0.0;
    EXPECT_EQ(alpha(), 0.0);
    EXPECT_EQ(z.v()[tdata::kol_oben_verlust], -0.4);
    EXPECT_TRUE(std::isfinite(z.d3r().a3_erz[M][S]));
}

TEST_F(LuftkollektorTest, LuftstromJeAnlagencode) {
    z.v()[tdata::volstrom_luft] = 1.7;
    z.v()[tdata::mittlerer_wind] = 2.0;
    struct Fall {
        const char* typ;
        double erwartet;
    };
    for (const Fall& f : {Fall{"DKF", 1.7}, Fall{"L", 400.0 / 1300.32}, Fall{"F", 400.0 / 1300.32},
                          Fall{"A", 2.0 * 4.0 * 0.5}, Fall{"K", 0.0}, Fall{"DK", 0.0}}) {
        setze_code(z.numchar, ndata::kopplungsart, f.typ);
        EXPECT_DOUBLE_EQ(fluftstrom(z.k, M, S, 4.0, 0.5), f.erwartet) << f.typ;
    }
    setze_code(z.numchar, ndata::kopplungsart, "A");
    z.v()[tdata::mittlerer_wind] = 0.0;
    EXPECT_EQ(fluftstrom(z.k, M, S, 4.0, 0.5), 0.0);
}

TEST_F(LuftkollektorTest, ZwischenwaermetauscherRegeln) {
    struct Fall {
        const char *typ, *kopplung, *zwischen, *anzahl, *methode;
        bool aktiv;
        double v14, v15;
    };
    const Fall faelle[] = {
        {"L", "Z", "K", "E", "V", true, 1.0, 1.0},
        {"A", "Z", "G", "E", "V", true, -1.0, -1.0},
        {"A", "Z", "K", "E", "A", false, 1.0, 1.0},  // analytic: never, the side effect stays
        {"DK", "E", "G", "E", "V", false, 0.0, -1.0},
        {"E", "E", "G", "E", "V", true, 0.0, -1.0},
        {"E", "E", "K", "E", "V", false, 0.0, -1.0},
        {"E", "Z", "G", "E", "V", false, -1.0, -1.0},  // no rule applies
    };
    for (const Fall& f : faelle) {
        flagchar nc{};
        setze_code(nc, ndata::kopplungsart, f.typ);
        setze_code(nc, ndata::kopplungstyp, f.kopplung);
        setze_code(nc, ndata::gegenstrom, f.zwischen);
        setze_code(nc, ndata::anzahl_kollektoren, f.anzahl);
        setze_code(nc, ndata::rechenart, f.methode);
        datt v{};
        v[tdata::eta_luftwt] = -1.0;
        v[tdata::eta_gegenstromwt] = -1.0;
        EXPECT_EQ(zwischenwaermetauscher_aktiv(nc, v), f.aktiv) << f.typ << f.kopplung << f.zwischen;
        EXPECT_EQ(v[tdata::eta_luftwt], f.v14) << f.typ << f.kopplung;
        EXPECT_EQ(v[tdata::eta_gegenstromwt], f.v15) << f.typ << f.kopplung;
    }
}

class GeschwindigkeitTest : public LuftkollektorTest {
protected:
    double tf = 0.0, el = 0.0, wind = -1.0;
    void SetUp() override {
        LuftkollektorTest::SetUp();
        z.v()[tdata::eta_gegenstromwt] = 1.0;  // the next inflow is the collector outflow of the model
        z.v()[tdata::relpump_luft] = 50.0;
        z.v()[tdata::volstrom_luft] = 1.0;
        z.pl->kollektorventilator.hoeheventilator.wert = 0.1;
        setze_code(z.numchar, ndata::kopplungsart, "F");
        z.pl->oberer_kollektor.windtkoef.wert = 2.0;
    }
    void rechne(double cop_tf_twv, double cop2, bool erzwungen = true) {
        berechne_vl(z.k, M, S, A, 1.0, cop_tf_twv, cop2, tf, el, wind, erzwungen);
    }
};

TEST_F(GeschwindigkeitTest, GeschwindigkeitJeAntrieb) {
    struct Fall {
        const char* name;
        double windtkoef, p_ventilator, wind_97, cop1, cop2;
        bool erzwungen;
        double erwartet;
    };
    const Fall faelle[] = {
        {"kaum Windabhaengigkeit", 0.01, 50.0, 0.0, 4.0, 3.0, true, 0.0},
        {"ohne Ventilatorleistung", 2.0, 0.0, 0.0, 4.0, 3.0, true, 10.0},
        {"gleiche COP", 2.0, 50.0, 0.0, 3.5, 3.5, true, 0.0},
        {"nur Wind", 2.0, 50.0, 3.0, 4.0, 3.0, false, 3.0},
    };
    for (const Fall& f : faelle) {
        z.pl->oberer_kollektor.windtkoef.wert = f.windtkoef;
        z.v()[tdata::relpump_luft] = f.p_ventilator;
        z.v()[tdata::mittlerer_wind] = f.wind_97;
        rechne(f.cop1, f.cop2, f.erzwungen);
        EXPECT_EQ(wind, f.erwartet) << f.name;
        EXPECT_EQ(z.d3r().v_luft[M][S], f.erwartet) << f.name;
        EXPECT_TRUE(std::isfinite(tf)) << f.name;
        EXPECT_GE(el, 0.0) << f.name;
    }
}

TEST_F(GeschwindigkeitTest, VentilatorGeschwindigkeitIstDerStationaerePunkt) {
    rechne(4.0, 3.0);
    ASSERT_GT(wind, 0.0);
    double x1, x2, x3, x4;
    Parameter_fuer_tf(x1, x2, x3, x4, z.k, M, S, A, -6.0);
    // Extra heat per unit velocity against the power equivalent of the fan.
    const double c = 0.1 * std::sqrt(A);
    const double P1 = 50.0 * std::pow(1.29 * c, 3);
    const double P = P1 * 4.0 * 3.0 / (3.0 - 4.0);
    const double h = 1e-6;
    const double ableitung =
        400.0 * (berechne_tf_store(x1, x2, x3, x4, wind + h) - berechne_tf_store(x1, x2, x3, x4, wind - h)) /
        (2 * h);
    EXPECT_NEAR(std::fabs(ableitung), std::fabs(3.0 * P * wind * wind), 1e-6 * std::fabs(ableitung));
    EXPECT_DOUBLE_EQ(tf, berechne_tf_store(x1, x2, x3, x4, wind));
    EXPECT_EQ(z.d3r().tf_s[M][S], tf);
    EXPECT_DOUBLE_EQ(z.d3r().volluft[M][S], wind * c);
}

TEST_F(GeschwindigkeitTest, OhneWindUndVentilatorNurKonvektion) {
    setze_code(z.numchar, ndata::kopplungsart, "A");
    rechne(4.0, 3.0, false);
    double x1, x2, x3, x4;
    Parameter_fuer_tf(x1, x2, x3, x4, z.k, M, S, A, -6.0);
    EXPECT_DOUBLE_EQ(tf, x1 / x3);
    EXPECT_EQ(wind, 0.0);
    EXPECT_EQ(z.d3r().volluft[M][S], 0.0);
    EXPECT_EQ(z.d3r().v_luft[M][S], 0.0);
    EXPECT_DOUBLE_EQ(el, 4.0 * (2.0 - (tf - 6.0) / 2.0) * 1.0 * 1.0 * A / 1000.0);
    EXPECT_GT(el, 0.0);
}

TEST_F(GeschwindigkeitTest, IterationEndetBeiNullGradUndMitWarnungOhneKonvergenz) {
    // No wind dependence, vl = 10: tf = x1 / x3 = 0 exactly (G = 0, ta = te = 0).
    z.v()[tdata::relpump_luft] = 0.0;
    z.pl->oberer_kollektor.windtkoef.wert = 0.0;
    z.z3()[zdata::ta][M][S] = 0.0;
    z.d3r().te[M][S] = 0.0;
    z.d3r().tf[M][S] = 0.0;
    rechne(4.0, 3.0);
    EXPECT_EQ(tf, 0.0);
    EXPECT_TRUE(senke.senke.texte.empty());
    // An inflow rule that overshoots (te = -3 tf + 4 tf_prev) never settles:
    // the loop gives up after its limit and says so.
    z.z3()[zdata::ta][M][S] = 2.0;
    z.d3r().te[M][S] = -6.0;
    z.d3r().tf[M][S] = -6.0;
    z.v()[tdata::eta_gegenstromwt] = 4.0;
    rechne(4.0, 3.0);
    EXPECT_TRUE(senke.senke.enthaelt("Luftgeschwindigkeit konvergiert nicht"));
}

TEST_F(LuftkollektorTest, LuftpfadNurWennDieLuftWaermerIst) {
    setze_code(z.numchar, ndata::kopplungsart, "A");
    setze_code(z.numchar, ndata::modelltyp_ww, "L");
    setze_code(z.numchar, ndata::modelltyp_we, "L");
    z.z()[zdata::twv][M] = 40.0;
    z.z()[zdata::rwv][M] = 30.0;
    double q_f = -1.0;
    const double waerme = luftpfad_intervall(z.k, M, S, A, 1.0, -6.0, q_f);
    double x1, x2, x3, x4;
    Parameter_fuer_tf(x1, x2, x3, x4, z.k, M, S, A, -6.0);
    const double tf = x1 / x3;
    EXPECT_DOUBLE_EQ(z.d3r().tf[M][S], tf);
    EXPECT_DOUBLE_EQ(z.d3r().tf_s[M][S], tf);
    EXPECT_DOUBLE_EQ(waerme, wpkonvekt(z.k, 1.0, tf, A, M, S) / 1000.0);
    EXPECT_DOUBLE_EQ(q_f, (tf + 6.0) * 400.0 / 1000.0);
    EXPECT_GT(z.d3r().copww[M][S], 0.0);
    // Air colder than the fluid: no heat, the outflow stays.
    z.z3()[zdata::ta][M][S] = -20.0;
    z.d3r().tf[M][S] = -6.0;
    EXPECT_EQ(luftpfad_intervall(z.k, M, S, A, 1.0, -6.0, q_f), 0.0);
    EXPECT_EQ(z.d3r().tf[M][S], -6.0);
}

}  // namespace
