// A small intermediate-reservoir plant over one month: the month solution
// chooses the collector temperatures, the wrap-up balances every interval.
// The energy books must close on both sides, and the heat pumps must work
// against the temperatures they really serve.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/models/kontext_hilfen.h"
#include "engine/models/reservoir.h"
#include "engine/models/speicher.h"
#include "engine/monatsaggregation.h"

namespace {

constexpr int M = 4;
constexpr double A = 10.0;

// Month 4 with six one-hour intervals (night, night, 300, 700, 450 W/m²,
// night); ww pump COP = -0.1 lift + 8, ground-source we pump COP = -0.1 lift
// + 7 at 8 °C ground; a 1 m³ water buffer store and a 2 m³ long-term store;
// "consume first". The house: 50 °C hot water (1 kWh) and 35 °C heating
// (9 kWh) per interval-month, returning at 30 °C.
class Anlagenmonat : public ::testing::Test {
protected:
    senke_installiert senke;
    kontext_zustand z;
    std::unique_ptr<::datm> r = std::make_unique<::datm>();

    void SetUp() override {
        setze_intervalle(M, 6);
        zwischenreservoir_anlage(z, M, "E");
        auto& nc = z.numchar;
        setze_code(nc, ndata::heizung, "J");
        setze_code(nc, ndata::ohne_kopplung, "E");
        setze_code(nc, ndata::antrieb_we, "E");
        setze_code(nc, ndata::antrieb_ww, "E");
        setze_code(nc, ndata::optimierung, "A");
        setze_code(nc, ndata::speicherfolge, "S");
        z.v()[tdata::kollektorfluid_gefrierpunkt] = -30.0;
        z.v()[tdata::eta_kraftwerk] = 0.4;
        z.lauf.maxge = 2e-4;
        datz& mz = z.z();
        mz[zdata::te][M] = 8.0;
        mz[zdata::tw][M] = 50.0;
        mz[zdata::th][M] = 35.0;
        mz[zdata::ew][M] = 1.0;
        mz[zdata::eh][M] = 9.0;
        mz[zdata::twv][M] = vorlauftemperatur_aus_bedarf(nc, mz, M);  // 36.5
        mz[zdata::rwv][M] = 30.0;
        mz[zdata::tk][M] = 10.0;
        mz[zdata::ewv][M] = 0.0;  // the month solution iterates
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
        for (speicher* sp : {&z.pl->pufferspeicher, &z.pl->langzeitspeicher}) {
            sp->spmax.wert = sp == &z.pl->pufferspeicher ? 1.0 : 2.0;
            sp->spwspei.wert = 4190.0;
            sp->rospei.wert = 1000.0;
            sp->radius.wert = 0.4;
            sp->vspei.wert = 0.5;
            sp->tmin.wert = 10.0;
            sp->tmax.wert = 85.0;
            setze_speicher_zurueck(*sp, 1.0, 30.0);
        }
    }
    void TearDown() override {
        setze_intervalle(M, 0);
        ohne_langzeitspeicherplan();
    }

    // Runs the month; returns demand, change of stored energy and losses.
    struct ergebnis {
        double bedarf = 0, gespeichert = 0, verluste = 0;
    };
    ergebnis rechne() {
        ergebnis e;
        for (int s = 1; s <= 6; ++s) e.bedarf += z.d3r().equer_verbrauch[M][s];
        const double vorher = z.pl->pufferspeicher.inhalt.estore + z.pl->langzeitspeicher.inhalt.estore;
        zwischenreservoir_monat(z.k, M, A);
        monatsabschluss(z.numchar, *r, z.z(), 0, M, A, *z.pl, z.v(), z.d3r(), *z.d, z.z3());
        e.gespeichert =
            z.pl->pufferspeicher.inhalt.estore + z.pl->langzeitspeicher.inhalt.estore - vorher;
        e.verluste = z.pl->pufferspeicher.inhalt.eminus + z.pl->langzeitspeicher.inhalt.eminus;
        return e;
    }
    // Heat that came in: collector heat after charging, the ww pump's
    // electricity (nh), and the we pump's heat (ok at its COP).
    double zugefuehrt() const {
        double kollektor = 0.0;
        for (int s = 1; s <= 6; ++s) kollektor += z.d3->esa[M][s] + z.d3->ls[M][s];
        return kollektor + z.d->nh[M] + z.d->ok[M] * z.d->copwe[M];
    }
};

}  // namespace

// The ww pump lifts collector heat: what it delivers is that heat plus its
// electricity, so the heat delivered in the month is the collector heat plus
// all electricity of the pumps plus the ground heat of the we pump. Both
// sides of the books close, and the ww pump's seasonal factor is its heat
// over its electricity, a COP it had in the month.
TEST_F(Anlagenmonat, ZwischenkopplungBilanziertBeideSeiten) {
    const ergebnis e = rechne();
    const ::date& d = *z.d;
    ASSERT_GT(d.nh[M], 0.0);  // the ww pump ran
    EXPECT_NEAR(d.eg[M], zugefuehrt(), 1e-9 * d.eg[M]);
    EXPECT_NEAR(d.eg[M], e.bedarf + e.gespeichert + e.verluste, 1e-9 * d.eg[M]);
    EXPECT_FALSE(senke.senke.enthaelt("Energiebilanz nicht ausgeglichen"));

    ASSERT_GT(d.wp_strom_ww[M], 0.0);
    EXPECT_NEAR(d.wp_strom_ww[M], d.nh[M], 1e-12);
    double cop_min = 1e9, cop_max = 0.0;
    for (int s = 1; s <= 6; ++s) {
        if (z.d3->nh[M][s] > 0.0) {
            cop_min = std::min(cop_min, z.d3->copww[M][s]);
            cop_max = std::max(cop_max, z.d3->copww[M][s]);
        }
    }
    const double jaz = d.wp_waerme_ww[M] / d.wp_strom_ww[M];
    EXPECT_GE(jaz, cop_min - 1e-9);
    EXPECT_LE(jaz, cop_max + 1e-9);
    // The we pump covered the rest at its COP against the house's supply.
    EXPECT_NEAR(d.copwe[M], -0.1 * (36.5 - 8.0) + 7.0, 1e-12);
    EXPECT_NEAR(d.wp_waerme_we[M] / d.wp_strom_we[M], d.copwe[M], 1e-12);
}

// A month that charges the long-term store: the collector side works up to
// the store's top temperature (twv = 85 °C), but the house is still supplied
// at 36.5 °C. The we pump heats it at the COP for that lift, not at the COP
// limit 1 that the store's top would give, and the books still close.
TEST_F(Anlagenmonat, LademonatHeiztDasHausGegenDessenVorlauf) {
    zustand::lade_flag()[M] = "Y";
    z.z()[zdata::twv][M] = 85.0;
    const ergebnis e = rechne();
    const ::date& d = *z.d;
    EXPECT_NEAR(vorlauftemperatur_haus(z.numchar, z.z(), M), 36.5, 1e-12);
    EXPECT_NEAR(d.copwe[M], -0.1 * (36.5 - 8.0) + 7.0, 1e-12);
    ASSERT_GT(d.ok[M], 0.0);
    EXPECT_NEAR(d.wp_waerme_we[M], d.ok[M] * d.copwe[M], 1e-9);
    EXPECT_NEAR(d.eg[M], zugefuehrt(), 1e-9 * d.eg[M]);
    EXPECT_NEAR(d.eg[M], e.bedarf + e.gespeichert + e.verluste, 1e-9 * d.eg[M]);
    EXPECT_GT(z.pl->langzeitspeicher.inhalt.estore, 0.0);  // the store was charged
}
