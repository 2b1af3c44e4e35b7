#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/models/modell_hilfen.h"
#include "engine/models/numerik.h"
#include "engine/models/waermepumpe.h"

namespace {

class CopTest : public ::testing::Test {
protected:
    senke_installiert s;
    modell_zustand z;
    double roh = -1.0;

    double cop(char pumpe, double tt, double th, int m = 1, int si = 1) {
        return berechne_cop(*z.vdatt, *z.vdatz, pumpe, tt, th, z.numchar, roh, *z.d3, m, si,
                            zustand::stoffdaten().kaeltemittel_record);
    }
    // Writes a small vapour table into the process-wide heat-pump fluid:
    // T = -20..60 in steps of 10; pressures rising, enthalpy linear.
    static void dampftafel() {
        kaeltemittel& k = zustand::stoffdaten().kaeltemittel_record;
        k.vdampftafeldata.fill(0.0);
        k.imaxdampf = 9;
        for (int r = 1; r <= 9; ++r) {
            const double t = -30.0 + 10.0 * r;
            k.vdampftafeldata[static_cast<size_t>(r - 1)] = t;
            k.vdampftafeldata[static_cast<size_t>(100 + r - 1)] = 1.0 + 0.5 * r;  // ps
            k.vdampftafeldata[static_cast<size_t>(200 + r - 1)] = 1.5 + 0.5 * r;  // pss
            k.vdampftafeldata[static_cast<size_t>(400 + r - 1)] = 200.0 - t;      // enthalpy difference
        }
    }
};

}  // namespace

TEST_F(CopTest, KeinHubGibtObergrenzeFuerJedesModell) {
    for (const char* modell : {"L", "H", "A", "4", "X"}) {
        for (char pumpe : {'E', 'W'}) {
            z.numchar[pumpe == 'E' ? ndata::modelltyp_we : ndata::modelltyp_ww] = modell;
            EXPECT_EQ(cop(pumpe, 40.0, 30.0), 20.0) << modell << pumpe;
            EXPECT_EQ(roh, 20.0);
            EXPECT_EQ(cop(pumpe, 30.0, 30.0), 20.0) << "th = tt " << modell << pumpe;
        }
    }
}

TEST_F(CopTest, LinearMitUnterUndObergrenze) {
    z.numchar[ndata::modelltyp_we] = "L";
    (*z.vdatt)[tdata::we_c1] = 0.0;
    (*z.vdatt)[tdata::we_c2] = 0.5;
    EXPECT_EQ(cop('E', 10, 30), 1.0);
    EXPECT_EQ(roh, 1.0);
    (*z.vdatt)[tdata::we_c2] = 25.0;
    EXPECT_EQ(cop('E', 10, 30), 20.0);
    EXPECT_EQ(roh, 25.0);
    (*z.vdatt)[tdata::we_c1] = 0.1;
    (*z.vdatt)[tdata::we_c2] = 2.0;
    EXPECT_DOUBLE_EQ(cop('E', 10, 30), 4.0);
    // The ww pump reads its own slots.
    z.numchar[ndata::modelltyp_ww] = "L";
    (*z.vdatt)[tdata::ww_c1] = 0.2;
    (*z.vdatt)[tdata::ww_c2] = 1.0;
    EXPECT_DOUBLE_EQ(cop('W', 10, 30), 5.0);
}

TEST_F(CopTest, HyperbolischMitKonstante270) {
    z.numchar[ndata::modelltyp_we] = "H";
    (*z.vdatt)[tdata::we_c1] = 0.5;
    (*z.vdatt)[tdata::we_c2] = 0.0;
    EXPECT_NEAR(cop('E', 5, 35), 5.0833, 1e-4);
    EXPECT_DOUBLE_EQ(roh, 305.0 * 0.5 / 30.0);
}

TEST_F(CopTest, PolynomOhneUntergrenze) {
    z.numchar[ndata::modelltyp_we] = "4";
    EXPECT_EQ(cop('E', 10, 50), 0.0);
    (*z.vdatt)[tdata::we_c1] = 3.0;
    EXPECT_EQ(cop('E', 10, 50), 3.0);
    // Every term: c1 + c2/d^c + c3 d + c4 tt d + c5 d^2 + c6 tt d^2 + c7 tt.
    for (int i = 1; i <= 7; ++i) (*z.vdatt)[static_cast<size_t>(tdata::we_c1 + i - 1)] = 0.001 * i;
    (*z.vdatt)[tdata::we_exponent] = 1.0;
    const double d = 40, tt = 10;
    const double erwartet = 0.001 + 0.002 / d + 0.003 * d + 0.004 * tt * d + 0.005 * d * d +
                            0.006 * tt * d * d + 0.007 * tt;
    EXPECT_NEAR(cop('E', tt, 50), std::min(erwartet, 20.0), 1e-12);
    EXPECT_NEAR(roh, erwartet, 1e-12);
    // The ww pump: c1..c4 from its own slots, its own exponent, no c5..c7.
    z.numchar[ndata::modelltyp_ww] = "4";
    (*z.vdatt)[tdata::ww_c1] = 1.0;
    (*z.vdatt)[tdata::ww_c2] = 8.0;
    (*z.vdatt)[tdata::ww_c3] = 0.01;
    (*z.vdatt)[tdata::ww_c4] = 0.001;
    (*z.vdatt)[tdata::ww_exponent] = 2.0;
    EXPECT_NEAR(cop('W', 10, 30), 1.0 + 8.0 / 400.0 + 0.01 * 20 + 0.001 * 10 * 20, 1e-12);
}

TEST_F(CopTest, ZusatzheizungOhneWaermepumpeHatCopEins) {
    z.numchar[ndata::modelltyp_we] = "L";
    (*z.vdatt)[tdata::we_c1] = 1.0;
    z.numchar[ndata::ohne_kopplung] = "G";
    EXPECT_EQ(cop('E', 40, 10), 1.0);
    EXPECT_EQ(cop('E', 10, 60), 1.0);
    EXPECT_EQ(roh, 1.0);
    // The ww pump is not affected.
    z.numchar[ndata::modelltyp_ww] = "L";
    (*z.vdatt)[tdata::ww_c1] = 0.1;
    EXPECT_DOUBLE_EQ(cop('W', 10, 60), 5.0);
}

TEST(CopFaktoren, DatenblattTerme) {
    EXPECT_DOUBLE_EQ(berechne_faktor_5(50, 10), 1600.0);
    EXPECT_DOUBLE_EQ(berechne_faktor_2(50, 10, 1), 0.025);
    EXPECT_DOUBLE_EQ(berechne_faktor_6(50, 10), 16000.0);
    EXPECT_DOUBLE_EQ(berechne_faktor_3(50, 10), 40.0);
    EXPECT_DOUBLE_EQ(berechne_faktor_4(50, 10), 400.0);
    EXPECT_DOUBLE_EQ(berechne_faktor_7(50, 10), 10.0);
    EXPECT_DOUBLE_EQ(berechne_eta6(1, 2, 3, 4, 5, 6, 7, 1, 1, 1, 1, 1, 1), 28.0);
}

TEST_F(CopTest, AnalytischesModellAusDampftafel) {
    dampftafel();
    z.numchar[ndata::modelltyp_we] = "A";
    auto& v = *z.vdatt;
    v[tdata::we_vkv0_kehrwert] = 3.0;  // volume ratio
    v[tdata::wpfluid_cvg] = 40000;     // Cv J/(kmol K)
    v[tdata::wpfluid_mol] = 100;       // M kg/kmol
    (*z.vdatz)[zdata::twv][1] = 40.0;
    const double tt = 0.0, th = 45.0;
    // Values of the small table at 0 and 45 °C.
    const double p_low = (2.5 + 3.0) / 2.0, p_high = (4.75 + 5.25) / 2.0, h_high = 155.0;
    const double c = 400.0, kappa = (40000 + 8314.3) / 40000, r = std::pow(1.0 / 3.0, kappa);
    const double erwartet = 1000.0 * h_high * (1.0 - r * p_high / p_low) / (c * 45.0);
    EXPECT_NEAR(cop('E', tt, th), std::clamp(erwartet, 1.0, 20.0), 1e-9);
    EXPECT_NEAR(roh, std::max(erwartet, 1.0), 1e-9);
}

TEST_F(CopTest, AnalytischMeldetZuKleineKompressionstemperaturImProtokoll) {
    dampftafel();
    const auto verzeichnis = std::filesystem::temp_directory_path() / "varnek_cop_test";
    std::filesystem::create_directories(verzeichnis);
    setze_protokollverzeichnis(verzeichnis);
    leere_protokoll();
    z.numchar[ndata::modelltyp_we] = "A";
    (*z.vdatt)[tdata::we_vkv0_kehrwert] = 3.0;
    (*z.vdatt)[tdata::wpfluid_cvg] = 40000;
    (*z.vdatt)[tdata::wpfluid_mol] = 100;
    (*z.vdatz)[zdata::twv][1] = 50.0;
    cop('E', 0.0, 45.0);  // sink below the hot-water temperature
    std::ifstream f(protokolldatei(), std::ios::binary);
    std::stringstream inhalt;
    inhalt << f.rdbuf();
    EXPECT_NE(inhalt.str().find("Fehler: Kompressionstemperatur zu klein"), std::string::npos);
    EXPECT_TRUE(s.senke.texte.empty());  // protocol only, no dialog
}

TEST_F(CopTest, AnalytischOhneStoffwerteMeldetUndGibtEins) {
    dampftafel();
    z.numchar[ndata::modelltyp_we] = "A";
    EXPECT_EQ(cop('E', 0.0, 45.0), 1.0);
    EXPECT_TRUE(s.senke.enthaelt("Kältemitteldaten unvollständig"));
}

TEST_F(CopTest, KaeltemittelzustandDerWwPumpe) {
    dampftafel();
    z.numchar[ndata::modelltyp_ww] = "L";
    z.numchar[ndata::kopplungstyp] = "Z";
    (*z.vdatt)[tdata::wpfluid_dichte] = 2.0;
    auto& d3 = *z.d3;
    d3.q_gesamt[3][7] = 1.0;
    d3.tf[3][7] = 30.0;
    d3.tein[3][7] = 20.0;
    d3.mcg[3][7] = 500.0;
    cop('W', 10.0, 40.0, 3, 7);
    EXPECT_DOUBLE_EQ(d3.ph[3][7], (4.5 + 5.0) / 2.0);  // mean pressure at 40 °C
    EXPECT_DOUBLE_EQ(d3.pt[3][7], (3.0 + 3.5) / 2.0);  // at 10 °C
    EXPECT_DOUBLE_EQ(d3.enthalpie[3][7], 190.0);
    EXPECT_DOUBLE_EQ(d3.vwp[3][7], 10.0 * 500.0 / (1000.0 * 190.0 * 2.0));
    // Not with end-reservoir coupling, not for the we pump.
    d3.ph[3][7] = -1;
    z.numchar[ndata::kopplungstyp] = "E";
    cop('W', 10.0, 40.0, 3, 7);
    EXPECT_EQ(d3.ph[3][7], -1.0);
}

TEST_F(CopTest, TemperaturwahlNachKopplung) {
    // Model "L" with c1 = 1, c2 = 0 gives COP = th - tt (when in 1..20).
    z.numchar[ndata::modelltyp_we] = z.numchar[ndata::modelltyp_ww] = "L";
    (*z.vdatt)[tdata::we_c1] = (*z.vdatt)[tdata::ww_c1] = 1.0;
    auto& mz = *z.vdatz;
    auto& p3 = *z.pvdatz3;
    mz[zdata::twv][2] = 45.0;
    mz[zdata::rwv][2] = 25.0;
    mz[zdata::ta][2] = 30.0;
    mz[zdata::te][2] = 33.0;
    p3[zdata::tein][2][4] = 22.0;
    p3[zdata::ta][2][4] = 40.0;
    struct fall {
        const char* kopplung;
        const char* wt;
        const char* quelle;
        const char* strahlung;
        char pumpe;
        double erwartet;
    } faelle[] = {
        {"E", "K", "L", "N", 'W', 45.0 - 28.0},                 // tt = x, th = twv
        {"Z", "K", "L", "N", 'W', 35.0 - (28.0 + 22.0) / 2.0},  // means
        {"Z", "G", "L", "N", 'W', 35.0 - 22.0},                 // counter-flow: tt = tein
        {"Z", "K", "L", "N", 'E', 45.0 - 30.0},                 // air: monthly ta
        {"Z", "K", "L", "D", 'E', 45.0 - 40.0},                 // air, hourly: interval ta
        {"E", "K", "E", "N", 'E', 45.0 - 33.0},                 // ground: te
        {"E", "K", "K", "N", 'E', 1.0},                         // electric heating: COP 1
        {"Z", "K", "F", "N", 'E', 1.0},                         // district heating: COP 1
    };
    for (const fall& f : faelle) {
        z.numchar[ndata::kopplungstyp] = f.kopplung;
        z.numchar[ndata::gegenstrom] = f.wt;
        z.numchar[ndata::ohne_kopplung] = f.quelle;
        z.numchar[ndata::strahlung] = f.strahlung;
        double r = 0;
        EXPECT_DOUBLE_EQ(berechne_wp_temperaturen(*z.d, mz, *z.vdatt, p3, *z.d3, r, 4, 2, z.numchar, f.pumpe,
                                                  28.0, zustand::stoffdaten().kaeltemittel_record),
                         f.erwartet)
            << f.kopplung << f.wt << f.quelle << f.strahlung << f.pumpe;
    }
}

TEST_F(CopTest, BesetzeCopSchreibtBeidePumpenUndWarntUnterEins) {
    z.numchar[ndata::kopplungstyp] = "E";
    z.numchar[ndata::ohne_kopplung] = "E";
    z.numchar[ndata::modelltyp_we] = "4";
    z.numchar[ndata::modelltyp_ww] = "L";
    (*z.vdatt)[tdata::we_c1] = 0.5;  // we pump: constant 0.5
    (*z.vdatt)[tdata::ww_c1] = 1.0;
    (*z.vdatt)[tdata::ww_c2] = 30.0;  // ww: raw 30 + 20
    (*z.vdatz)[zdata::twv][5] = 50.0;
    (*z.vdatz)[zdata::te][5] = 8.0;
    besetze_cop(*z.d, *z.d3, *z.vdatt, *z.vdatz, *z.pvdatz3, 9, 5, z.numchar, 30.0,
                zustand::stoffdaten().kaeltemittel_record);
    EXPECT_EQ(z.d->copwe[5], 0.5);
    EXPECT_EQ(z.d->copwelok[5], 0.5);
    EXPECT_EQ(z.d3->copww[5][9], 20.0);
    EXPECT_EQ(z.d3->copwwlok[5][9], 50.0);
    EXPECT_TRUE(s.senke.enthaelt("Warnung: COPWE < 1."));
    // Abandoning at the question ends the operation.
    s.senke.abbrechen = true;
    EXPECT_THROW(besetze_cop(*z.d, *z.d3, *z.vdatt, *z.vdatz, *z.pvdatz3, 9, 5, z.numchar, 30.0,
                             zustand::stoffdaten().kaeltemittel_record),
                 abbruch);
}

TEST_F(CopTest, KaeltemittelIntervallReservoirUndDirektkopplung) {
    dampftafel();
    auto& v = *z.vdatt;
    v[tdata::wpfluid_cpf] = 1500;     // cpf
    v[tdata::wpfluid_cvg] = 40000;    // Cv
    v[tdata::wpfluid_dichte] = 1.25;  // rho
    v[tdata::wpfluid_mol] = 100;      // M
    v[tdata::daf] = 2.0;              // area of one unit
    (*z.vdatz)[zdata::twv][1] = 40.0;
    auto& d3 = *z.d3;
    auto& p3 = *z.pvdatz3;
    anlage pl;
    pl.zwischen_waermepumpe.pmaxt.wert = 100.0;
    // Collector models of directly coupled plants: inflow ta + dT of the
    // variant, efficiency eta0 (no electric share), no air movement.
    laufsteuerung lauf{};
    lauf.mindeltatkol = -10.0;
    lauf.deltatkol_schritt = 2.0;
    const auto stoffe = std::make_unique<stoffdaten>();
    stoffe->kaeltemittel_record = zustand::stoffdaten().kaeltemittel_record;  // the table written above
    laufkontext kol{z.numchar, v, *z.vdatz, p3, *z.d, d3, pl, lauf, *stoffe, {}};
    v[tdata::kol_oben_konversion] = 0.4;
    p3[zdata::ta][1][1] = 9.0;
    p3[zdata::tein][1][1] = 99.0;
    z.numchar[ndata::kopplungstyp] = "Z";
    z.numchar[ndata::kopplungsart] = "A";
    p3[zdata::tt][1][1] = 10.0;
    d3.es[1][1] = 3.0;
    d3.ls[1][1] = 1.0;
    d3.tf[1][1] = 20.0;
    kaeltemittel_vorgaben vg;
    vg.faktor_c = 2.0;

    // Reference values from the formulas with the table values at 10 and 40 °C.
    auto alpha_bei = [&](double te, double he, double pe) {
        const double cv = 400.0, pw = (4.5 + 5.0) / 2.0;
        const double D = (1500 - cv + 8341.1625 / 100) * te + 1000 * he - pe / 1.25;
        const double N = 1000 * he + (8341.1625 / 100 + cv) * te - 1500 * 40 - pw / 1.25;
        return N / D;
    };
    const double a1 = alpha_bei(10.0, 190.0, 3.25);
    const double m1 = kaeltemittel_intervall(1, 1, 10.0, vg, pl, z.numchar, v, *z.vdatz, p3, d3, kol);
    EXPECT_NEAR(d3.alpha[1][1], a1, 1e-12);
    EXPECT_EQ(d3.enthalpie[1][1], 190.0);
    ASSERT_GT(a1, 0.0);
    EXPECT_NEAR(m1, 4.0 / ((20.0 - 10.0) * 1500 + 2.0 * a1 * 190.0), 1e-15);
    EXPECT_EQ(p3[zdata::tein][1][1], 99.0);  // the collector models did not run

    // Direct coupling: inflow from the collector model, efficiency and heat
    // from the air path, velocity per unit.
    z.numchar[ndata::kopplungsart] = "DK";
    d3.volluft[1][1] = 7.0;
    vg.t_ein = 7.0;
    vg.schritt = 3;
    vg.einstrahlung = 0.5;
    const double m2 = kaeltemittel_intervall(1, 1, 10.0, vg, pl, z.numchar, v, *z.vdatz, p3, d3, kol);
    EXPECT_EQ(p3[zdata::tein][1][1], 5.0);
    EXPECT_EQ(d3.etam[1][1], 0.4);
    EXPECT_DOUBLE_EQ(d3.es[1][1], 10.0 * 0.4 * 0.5);
    const double a2 = alpha_bei(5.0, 195.0, 3.0);
    EXPECT_NEAR(m2, (2.0 + 1.0) / (a2 * 195.0 * 2.0), 1e-15);
    EXPECT_NEAR(d3.vel[1][1], m2 / 1.25 / 5.0, 1e-15);
    EXPECT_EQ(d3.volluft[1][1], 0.0);  // the air path ran: no wind, no fan

    // Pressure limit below the evaporation pressure: evaporate where the
    // liquid pressure reaches the limit (ps = 2.25 at -5 °C).
    pl.zwischen_waermepumpe.pmaxt.wert = 2.25;
    kaeltemittel_intervall(1, 1, 10.0, vg, pl, z.numchar, v, *z.vdatz, p3, d3, kol);
    EXPECT_DOUBLE_EQ(p3[zdata::tein][1][1], -5.0);
    EXPECT_DOUBLE_EQ(d3.enthalpie[1][1], 205.0);

    // End-reservoir coupling or no area: nothing computed.
    z.numchar[ndata::kopplungstyp] = "E";
    EXPECT_EQ(kaeltemittel_intervall(1, 1, 10.0, vg, pl, z.numchar, v, *z.vdatz, p3, d3, kol), 0.0);
    z.numchar[ndata::kopplungstyp] = "Z";
    EXPECT_EQ(kaeltemittel_intervall(1, 1, 0.0, vg, pl, z.numchar, v, *z.vdatz, p3, d3, kol), 0.0);
}
