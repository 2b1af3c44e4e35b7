#include <gtest/gtest.h>

#include "engine/heizbilanz.h"
#include "engine/monatsaggregation.h"
#include "support/aufzeichnende_senke.h"

class Monatsaggregation : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        setze_intervalle(5, 3);
        p = &zustand::pvdatz3(1);
        // Interval 1 is night, 2 and 3 have irradiance; ir of interval 3 is 0.
        const double ho[] = {0, 10, 4, 2}, is0[] = {0, 0, 300, 50}, ir[] = {0, 0, 2, 0};
        for (int s = 1; s <= 3; ++s) {
            (*p)[zdata::ho][5][s] = ho[s];
            (*p)[zdata::is0][5][s] = is0[s];
            (*p)[zdata::ir][5][s] = ir[s];
            d3.er[5][s] = 1.0 * s;
            d3.tf[5][s] = 10.0 * s;
            d3.ls[5][s] = 0.5;
            d3.esa[5][s] = 1.5;
            d3.vel[5][s] = s;
        }
        z[zdata::ho][5] = 16.0;
        z[zdata::hogn][5] = 6.0;
    }
    void TearDown() override {
        setze_intervalle(5, 0);
        mit_meldungen::TearDown();
    }
    datz3* p = nullptr;
    ::date3 d3{};
    ::date d;
    datz z{};
};

TEST_F(Monatsaggregation, SummenUndTageslichtMittel) {
    d.ok[5] = 3.2;
    intervalle_zu_monat(d, d3, z, 5, 2.0, *p);
    EXPECT_DOUBLE_EQ(d.er[5], 6.0);                           // sum over all intervals
    EXPECT_DOUBLE_EQ(d.tf[5], 20.0 * 4 / 6 + 30.0 * 2 / 6);  // daylight hour-weighted mean
    // Efficiency: the daylight intervals' collector heat over their
    // irradiation, (2 + 2) / (2 m² * 2 kWh/m²).
    EXPECT_DOUBLE_EQ(d.etam[5], 1.0);
    EXPECT_DOUBLE_EQ(d.vel[5], 2.0 * 4 / 6 + 3.0 * 2 / 6);
    EXPECT_DOUBLE_EQ(d.lok[5], 3.2 * 1000.0 / 16.0);

    // Without collector area every daylight interval counts with efficiency 1.
    intervalle_zu_monat(d, d3, z, 5, 0.0, *p);
    EXPECT_DOUBLE_EQ(d.etam[5], 1.0);
}

// An hour of dawn light (0.01 kWh/m²) that gives a little heat does not
// stand for the month: the month's efficiency stays the ratio of its sums
// (a mean of the hours' own ratios gave 33).
TEST_F(Monatsaggregation, WirkungsgradDesMonatsIstWaermeDurchEinstrahlung) {
    (*p)[zdata::ir][5][3] = 0.01;
    d3.esa[5][2] = 1.5;
    intervalle_zu_monat(d, d3, z, 5, 2.0, *p);
    EXPECT_DOUBLE_EQ(d.etam[5], 4.0 / (2.0 * 2.01));
    EXPECT_LT(d.etam[5], 1.0);
}

TEST_F(Monatsaggregation, MonatOhneTageslichtBleibtNullUndBehaeltGeschwindigkeit) {
    z[zdata::hogn][5] = 0.0;
    d.vel[5] = 7.0;
    d.er[5] = 9.0;
    intervalle_zu_monat(d, d3, z, 5, 2.0, *p);
    EXPECT_EQ(d.er[5], 0.0);
    EXPECT_EQ(d.etam[5], 0.0);
    EXPECT_EQ(d.tf[5], 0.0);
    EXPECT_EQ(d.vel[5], 7.0);
}

TEST_F(Monatsaggregation, IntervallZuruecksetzen) {
    flagchar n;
    n[ndata::rechenart] = "A";
    n[ndata::kopplungsart] = "K";
    d3.nh[5][2] = 4.0;
    auto zellen = intervall_zuruecksetzen(5, 2, n, 0.0, d3, *p);
    EXPECT_EQ(zellen, (std::array<double, 4>{0, 1, 0, 1}));
    EXPECT_EQ(d3.nh[5][2], 0.0);
    EXPECT_EQ(d3.vel[5][2], 2.0);  // analytic method keeps the velocity
    EXPECT_EQ(d3.zei[5][2], 4.0);
    EXPECT_EQ(d3.wpausflag[2], u'J');  // no collector loop
    n[ndata::rechenart] = "V";
    n[ndata::kopplungsart] = "L";
    intervall_zuruecksetzen(5, 2, n, 0.0, d3, *p);
    EXPECT_EQ(d3.vel[5][2], 0.0);
    EXPECT_EQ(d3.wpausflag[2], u'N');
}

TEST_F(Monatsaggregation, MonatInsLaufergebnis) {
    ::datm r;
    d.jkk = 11.0;
    d.ek_lv[5] = 3.0;
    d.nh_lv[5] = 4.0;
    d.nh[5] = 5.0;
    d.er[5] = 7.0;
    d.copww[5] = 4.5;
    z[zdata::ir][5] = 120.0;
    d.tein[5] = 12.0;
    d.e_next_lang[5] = 6.0;
    d3.zei[5][2] = 2.0;
    d3.tein[5][3] = 8.0;
    d3.wpausflag[1] = u'J';
    d3.wpausflag[2] = u'N';
    monat_in_laufergebnis(d, d3, z, *p, r, 5, 2.0);
    EXPECT_EQ(r.feld[adata::jkk][1], 11.0);
    EXPECT_EQ(r.feld[adata::jek][5], 3.0);
    EXPECT_EQ(r.feld[adata::nh][5], 4.0);
    EXPECT_EQ(r.feld[adata::teinv][5], 12.0);
    // The collector energy reaches the year evaluation (seasonal performance
    // factor, store volume), and the efficiency weight is the irradiation,
    // not the supplementary heating.
    EXPECT_EQ(r.feld[adata::er][5], 7.0);
    EXPECT_EQ(r.feld[adata::copww][5], 4.5);
    EXPECT_EQ(r.ir[5], 120.0);
    EXPECT_EQ(r.feldns_lang[5], 6.0);
    EXPECT_DOUBLE_EQ(r.feld3[0][5][2], 0.5);
    EXPECT_EQ(r.feld3[16][5][3], 8.0);
    EXPECT_EQ(r.feld3[17][5][1], 0.0);
    EXPECT_EQ(r.feld3[17][5][2], 1.0);
}

TEST(Heizbilanz, BuchungenRealUndVirtuell) {
    ::date d;
    ::date3 d3{};
    heizung_buchen(2, 3, 'N', 10.0, 4.0, 6.0, 2.0, d, d3);
    heizung_buchen(2, 3, 'J', 10.0, 1.0, 6.0, 0.5, d, d3);
    EXPECT_EQ(d3.ok[2][3], 4.0);
    EXPECT_EQ(d3.nh[2][3], 2.0);
    EXPECT_EQ(d3.ok_waerme[2][3], 10.0);
    EXPECT_EQ(d3.nh_waerme[2][3], 6.0);
    EXPECT_EQ(d.eg[2], 16.0);
    EXPECT_EQ(d3.eg[2][3], 16.0);
    EXPECT_EQ(d.ok_virtuell[2], 1.0);
    EXPECT_EQ(d3.nh_virtuell[2][3], 0.5);
    EXPECT_EQ(d.nh[2], 2.0);
}

TEST(Heizbilanz, HeizartUmrechnen) {
    struct fall {
        const char *quelle, *antrieb;
        double F, P, S;
    };
    // Q = 12, x (heat engine) = 0.8, y (power plant) = 0.4, z (boiler) = 0.9
    const fall faelle[] = {
        {"G", "E", 12.0 / 0.9, 12.0 / 0.9, 0.0}, {"K", "E", 12.0, 30.0, 12.0},
        {"F", "E", 12.0, 30.0, 0.0},             {"L", "E", 12.0, 30.0, 12.0},
        {"L", "W", 15.0, 15.0, 0.0},             {"L", "X", -1.0, -1.0, 0.0},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.quelle) + f.antrieb);
        double F = -1.0, P = -1.0, S = 0.0;
        heizart_umrechnen(12.0, F, P, f.quelle, f.antrieb, 0.8, 0.4, 0.9, S);
        EXPECT_DOUBLE_EQ(F, f.F);
        EXPECT_DOUBLE_EQ(P, f.P);
        EXPECT_DOUBLE_EQ(S, f.S);
    }
}

TEST(Heizbilanz, MonatsbilanzZielJeOptimierung) {
    flagchar n;
    n[ndata::ohne_kopplung] = "K";  // electric heating without coupling
    n[ndata::antrieb_we] = "E";
    n[ndata::antrieb_ww] = "E";
    zustand::numchar()[ndata::kopplungstyp] = "Z";
    datt v{};
    v[tdata::eta_kraftwerk] = 0.4;
    v[tdata::preis_nachheizung] = 0.30;
    v[tdata::preis_ohne_kopplung] = 0.25;
    v[tdata::preis_pumpenstrom] = 0.20;
    struct fall {
        const char* ziel;
        double erwartet;
    };
    // nh 10 (ww pump, electric), ok 4, elp 2, elp_l 1, nh_virtuell 3
    const double ek_lv = 10 + 4 + 2 + 1;
    const double preis = 10 * 0.30 + 4 * 0.25 + 3 * 0.20;
    for (const fall& f : {fall{"P", preis + 3 * 0.30}, fall{"A", ek_lv + 3},
                          fall{"K", ek_lv / 0.4 + 3 / 0.4}}) {
        ::date d;
        d.nh[6] = 10.0;
        d.ok[6] = 4.0;
        d.elp[6] = 2.0;
        d.elp_l[6] = 1.0;
        d.nh_virtuell[6] = 3.0;
        n[ndata::optimierung] = f.ziel;
        EXPECT_DOUBLE_EQ(heizung_monatsbilanz(n, v, 6, d), f.erwartet) << f.ziel;
        EXPECT_DOUBLE_EQ(d.flz[6], 17.0);  // virtual energy adds no electricity
        EXPECT_DOUBLE_EQ(d.ek[6], 17.0);
        EXPECT_DOUBLE_EQ(d.preis[6], preis);
    }
    zustand::numchar()[ndata::kopplungstyp] = "";
}

TEST_F(Monatsaggregation, MonatssummenBehaeltNurNichtSchlechtereMonate) {
    flagchar n;
    n[ndata::zeitraum] = "I";
    datt v{};
    ::datm r;
    d.ek_lv[5] = 3.0;
    double ziel = -1.0, aktuell = 5.0, bester = 4.0;
    monatssummen(n, z, d, *p, v, d3, 7.0, ziel, aktuell, bester, r, 5, 0.0);
    EXPECT_EQ(ziel, -1.0);
    EXPECT_EQ(bester, 4.0);
    EXPECT_EQ(r.feld[adata::jek][5], 0.0);

    // Month mode with more solar heat than planned is accumulated anyway.
    n[ndata::zeitraum] = "M";
    d.es[5] = 2.0;
    z[zdata::ewv][5] = 1.0;
    monatssummen(n, z, d, *p, v, d3, 7.0, ziel, aktuell, bester, r, 5, 0.0);
    EXPECT_EQ(ziel, 7.0);
    EXPECT_EQ(bester, 5.0);
    EXPECT_EQ(r.feld[adata::jek][5], 3.0);
    EXPECT_DOUBLE_EQ(d.er[5], 6.0);  // the month was accumulated from its intervals
}

TEST_F(Monatsaggregation, MonatsabschlussBilanziertAlleIntervalle) {
    flagchar n;
    n[ndata::heizung] = "J";
    n[ndata::kopplungstyp] = "E";
    n[ndata::ohne_kopplung] = "G";  // gas heating without coupling: we pump COP 1
    n[ndata::optimierung] = "A";
    n[ndata::kopplungsart] = "A";
    n[ndata::speicherfolge] = "V";
    n[ndata::meldungsmodus] = "S";
    for (int m = 1; m <= 12; ++m) zustand::lade_flag()[m] = zustand::entnehme_flag()[m] = "N";
    anlage a;
    for (speicher* sp : {&a.pufferspeicher, &a.langzeitspeicher}) {
        sp->spmax.wert = 1.0;
        sp->spwspei.wert = 4190.0;
        sp->rospei.wert = 1000.0;
    }
    datt v{};
    v[tdata::eta_gas] = 0.9;  // boiler efficiency
    v[tdata::eta_kraftwerk] = 0.4;
    ::datm r;
    for (int s = 1; s <= 3; ++s) {
        d3.equer_verbrauch[5][s] = 1.8;
        d3.er[5][s] = 0.0;
        d3.es[5][s] = 0.0;
        d3.ls[5][s] = 0.0;
    }
    z[zdata::rwv][5] = 30.0;
    z[zdata::twv][5] = 50.0;
    const double ziel = monatsabschluss(n, r, z, 0, 5, 0.0, a, v, d3, d, *p);
    // 5.4 kWh of heat from the gas boiler at 90 %.
    EXPECT_NEAR(d.eg[5], 5.4, 1e-12);
    EXPECT_NEAR(d.ok_lv[5], 6.0, 1e-12);
    EXPECT_NEAR(ziel, 6.0, 1e-12);
    EXPECT_EQ(d.elp[5], 0.0);
    EXPECT_EQ(d.arrayspeicher_mon[5].pufferspeicher.inhalt.schichten.size(), 1u);
}
