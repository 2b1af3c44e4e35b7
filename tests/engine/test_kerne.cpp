// The velocity and temperature kernels on a small plant over one month of
// four one-hour intervals: what an idle interval runs, where the temperature
// search starts and ends, and that the month's books close.

#include <gtest/gtest.h>

#include <memory>

#include "engine/anlagenschritte.h"
#include "engine/models/modell_hilfen.h"
#include "engine/models/speicher.h"
#include "engine/temperaturkern.h"
#include "engine/zeitschritt.h"
#include "support/lauf_fixture.h"

namespace {

constexpr int M = 4;
constexpr int N = 4;

// Month 4 with four one-hour intervals (night, 400, 600 W/m², night), an
// intermediate-reservoir plant with ground-source we pump (linear COP
// models: ww -0.1 lift + 8, we -0.1 lift + 7), one 2 qm collector unit
// (loss term -0.4, eta0 0.8), a 1 m³ buffer store, "consume first". The
// house needs 40 °C, returns 30 °C; cold water 10 °C, ground 8 °C.
class Kernmonat : public mit_laufzustand {
protected:
    void SetUp() override {
        mit_laufzustand::SetUp();
        ohne_langzeitspeicherplan();
        setze_intervalle(M, N);
        flagchar& n = zustand::numchar();
        for (auto [pos, code] : std::initializer_list<std::pair<int, const char*>>{
                 {ndata::zeitraum, "M"}, {ndata::rechenart, "V"}, {ndata::heizung, "J"},
                 {ndata::kopplungstyp, "Z"}, {ndata::luftwaermetauscher, "N"},
                 {ndata::ohne_kopplung, "E"}, {ndata::anzahl_kollektoren, "E"},
                 {ndata::modelltyp_we, "L"}, {ndata::modelltyp_ww, "L"}, {ndata::antrieb_we, "E"},
                 {ndata::antrieb_ww, "E"}, {ndata::optimierung, "A"}, {ndata::kopplungsart, "E"},
                 {ndata::gegenstrom, "K"}, {ndata::druckabfallmodell, "L"},
                 {ndata::speicherfolge, "S"}, {ndata::energiebedarfintervall, "V"},
                 {ndata::meldungsmodus, "M"}, {ndata::strahlungsherkunft, "A"}}) {
            n[static_cast<size_t>(pos)] = code;
        }
        datt& v = zustand::vdatt();
        v[tdata::kollektorfluid_cpf] = 3800.0;
        v[tdata::kollektorfluid_dichte] = 1030.0;
        v[tdata::kollektorfluid_gefrierpunkt] = -30.0;
        v[tdata::ww_c1] = -0.1;
        v[tdata::ww_c2] = 8.0;
        v[tdata::we_c1] = -0.1;
        v[tdata::we_c2] = 7.0;
        v[tdata::we_eta] = v[tdata::ww_eta] = 1.0;
        v[tdata::ww_leistung] = 2000.0;
        v[tdata::flaeche_kol_oben] = v[tdata::daf] = 2.0;
        v[tdata::kol_oben_verlust] = -0.4;
        v[tdata::kol_oben_konversion] = 0.8;
        v[tdata::eta_kraftwerk] = 0.4;
        v[tdata::wpfluid_cpf] = 1500.0;  // refrigerant: liquid heat capacity,
        v[tdata::wpfluid_cvg] = 60000.0; // molar heat capacity of the vapour,
        v[tdata::wpfluid_mol] = 72.6;    // molar mass
        datz& z = zustand::vdatz();
        z[zdata::twv][M] = 40.0;
        z[zdata::rwv][M] = 30.0;
        z[zdata::tk][M] = 10.0;
        z[zdata::te][M] = 8.0;
        z[zdata::ho][M] = 4.0;
        z[zdata::hogn][M] = 2.0;
        z[zdata::ew][M] = 1.0;
        z[zdata::eh][M] = 3.0;
        datz3& p = zustand::pvdatz3(1);
        const double G[N + 1] = {0, 0, 400, 600, 0};
        const double ta[N + 1] = {0, 4, 8, 10, 6};
        for (int s = 1; s <= N; ++s) {
            p[zdata::is0][M][s] = G[s];
            p[zdata::ir][M][s] = G[s] / 1000.0;
            p[zdata::ta][M][s] = ta[s];
            p[zdata::ho][M][s] = 1.0;
            p[zdata::tein][M][s] = ta[s];
            p[zdata::tt][M][s] = ta[s];
            zustand::date3().equer_verbrauch[M][s] = G[s] > 0.0 ? 1.5 : 0.5;
            zustand::date3().vstore_flag[M][s] = u'N';
        }
        for (int i : {0, 1}) {
            anlage& a = zustand::anlage(i);
            a.n = 1;
            for (speicher* sp : {&a.pufferspeicher, &a.langzeitspeicher}) {
                sp->spmax.wert = sp == &a.pufferspeicher ? 1.0 : 0.0;
                sp->spwspei.wert = 4190.0;
                sp->rospei.wert = 1000.0;
                sp->radius.wert = 0.4;
                sp->vspei.wert = 0.5;
                sp->tmin.wert = 10.0;
                sp->tmax.wert = 85.0;
                setze_speicher_zurueck(*sp, 1.0, 30.0);
            }
        }
        // A small vapour table of the heat-pump fluid (-20..60 °C): the COP
        // models look up the refrigerant state whenever fluid flows.
        kaeltemittel& kt = zustand::stoffdaten().kaeltemittel_record;
        kt.vdampftafeldata.fill(0.0);
        kt.imaxdampf = 9;
        for (int r = 1; r <= 9; ++r) {
            const double t = -30.0 + 10.0 * r;
            kt.vdampftafeldata[static_cast<size_t>(r - 1)] = t;
            kt.vdampftafeldata[static_cast<size_t>(100 + r - 1)] = 1.0 + 0.5 * r;
            kt.vdampftafeldata[static_cast<size_t>(200 + r - 1)] = 1.5 + 0.5 * r;
            kt.vdampftafeldata[static_cast<size_t>(400 + r - 1)] = 200.0 - t;
        }
        v[tdata::wpfluid_dichte] = 30.0;  // density of the refrigerant vapour
        laufsteuerung& l = zustand::lauf();
        l.maxge = 5e-5;
        l.minge = 5e-6;
        l.anzge = 3;
        l.mindeltatkol = 0.0;
        l.maxdeltatkol = 10.0;
        l.anzdeltatkol = 1;
        k = std::make_unique<periodenkontext>(periodenkontext{
            zaehler, 1, zustand::vdatz(), *links, nullptr, ziel, zustand::date3(), *d,
            zustand::numchar(), zustand::datm_serie(), zustand::vdatt(), zustand::pvdatz3(1), A});
        k->ge = bereite_ge_bereich_vor(zustand::numchar(), l, A);
    }
    void TearDown() override {
        zustand::lauf() = laufsteuerung{};
        mit_laufzustand::TearDown();
    }
    // The buffer store's content and losses of the working plant.
    double gespeichert() const { return zustand::anlage(1).pufferspeicher.inhalt.estore; }
    double verluste() const { return zustand::anlage(1).pufferspeicher.inhalt.eminus; }
    double bedarf() const {
        double b = 0.0;
        for (int s = 1; s <= N; ++s) b += zustand::date3().equer_verbrauch[M][s];
        return b;
    }
    bool gewarnt() const {
        for (const auto& e : senke.dialoge) {
            if (e.text.find("Warnung") != std::string::npos) return true;
        }
        return !senke.fragen.empty();
    }

    double A = 2.0;
    int zaehler = 0;
    monatsfeld ziel{};
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<periodenkontext> k;
};

}  // namespace

// Collector heat, the ww pump's electricity and the we pump's heat make the
// heat delivered, and that is the demand plus what the store took and lost.
TEST_F(Kernmonat, GeschwindigkeitskernSchliesstDieBilanzDesMonats) {
    const kernergebnis e = geschwindigkeitskern(*k, M, 3, zustand::anlage(1), 0);
    const ::date& m = *d;
    double kollektor = 0.0;
    for (int s = 1; s <= N; ++s) kollektor += zustand::date3().esa[M][s] + zustand::date3().ls[M][s];
    ASSERT_GT(kollektor, 0.5);  // the collector delivered
    ASSERT_GT(m.nh[M], 0.0);    // through the ww pump
    EXPECT_FALSE(gewarnt()) << (senke.dialoge.empty() ? "" : senke.dialoge[0].text);
    EXPECT_NEAR(m.eg[M], bedarf() + gespeichert() + verluste(), 1e-9 * m.eg[M]);
    EXPECT_NEAR(m.eg[M], kollektor + m.nh[M] + m.ok[M] * m.copwe[M], 1e-9 * m.eg[M]);
    // The month value is the month's local energy; the velocity the hour-weighted flow of the step.
    EXPECT_DOUBLE_EQ(e.monatswert, m.ek_lv[M]);
    EXPECT_NEAR(e.geschwindigkeit, zustand::lauf().maxge, 1e-15);
    // Each interval's flow is kept for the pump energy of the month.
    for (int s = 1; s <= N; ++s) EXPECT_EQ(zustand::date3().zv[M][s], zustand::date3().vel[M][s]);
}

// Without collector loop (no area, reservoir code "A") the reset marks every
// interval off: neither the collector start values nor the idle-collector
// values are computed, only coupling and balance; the we pump covers the
// demand at its COP.
TEST_F(Kernmonat, AbgeschaltetesIntervallRechnetNurKopplungUndBilanz) {
    A = 0.0;
    k->A = 0.0;
    zustand::numchar()[ndata::kopplungsart] = "A";
    ::date3& d3 = zustand::date3();
    for (int s = 1; s <= N; ++s) {
        d3.tf[M][s] = -99.0;  // start values or the idle-collector step would overwrite it
        d3.twfflag[s] = u'N';
    }
    geschwindigkeitskern(*k, M, 2, zustand::anlage(1), 0);
    for (int s = 1; s <= N; ++s) {
        EXPECT_EQ(d3.wpausflag[s], u'J');
        EXPECT_EQ(d3.tf[M][s], -99.0);
        EXPECT_DOUBLE_EQ(d3.vel[M][s], k->ge.minge);
    }
    EXPECT_NEAR(d->eg[M], bedarf(), 1e-9);
    EXPECT_NEAR(d->ok[M] * d->copwe[M], bedarf(), 1e-9);
    EXPECT_DOUBLE_EQ(d->er[M], 0.0);
}

// The temperature kernel's search: with end-reservoir coupling both bounds
// are the cold-water temperature and the search ends in its first round
// even without tolerance; a single simulation searches from and ends at its
// lower bound; the books close either way.
TEST_F(Kernmonat, TemperaturkernGrenzenUndEinzelsimulation) {
    zustand::numchar()[ndata::rechenart] = "T";
    datz& z = zustand::vdatz();
    z[zdata::twv][M] = 90.0;  // no outflow reaches it: no limiting after the search
    z[zdata::ew][M] = 0.04;   // the month's demand is the intervals' demand
    z[zdata::eh][M] = 0.0;
    struct fall {
        const char *kopplung, *laufart;
        bool am_kaltwasser;  // searched at the cold-water temperature, else at ta + mindeltatkol
    };
    ::date3& d3 = zustand::date3();
    const datz3& p = zustand::pvdatz3(1);
    for (const fall& f : {fall{"E", "N", true}, fall{"Z", "Y", false}}) {
        SCOPED_TRACE(std::string(f.kopplung) + f.laufart);
        zustand::numchar()[ndata::kopplungstyp] = f.kopplung;
        zustand::numchar()[ndata::laufart] = f.laufart;
        for (int s = 1; s <= N; ++s) d3.equer_verbrauch[M][s] = 0.01;  // the loop gives more
        for (int i : {0, 1}) setze_speicher_zurueck(zustand::anlage(i).pufferspeicher, 1.0, 30.0);
        senke.dialoge.clear();
        senke.fragen.clear();
        temperaturkern(*k, M, zustand::anlage(1));
        EXPECT_FALSE(gewarnt()) << (senke.dialoge.empty() ? "" : senke.dialoge[0].text);
        for (int s : {2, 3}) {
            const double T = f.am_kaltwasser ? z[zdata::tk][M]
                                             : p[zdata::ta][M][s] + zustand::lauf().mindeltatkol;
            EXPECT_DOUBLE_EQ(p[zdata::tt][M][s], T) << s;
            EXPECT_EQ(d3.twfflag[s], u'N') << s;
        }
        EXPECT_NEAR(d->eg[M], bedarf() + gespeichert() + verluste(), 1e-9 * d->eg[M]);
    }
}

// Only a loop that would deliver more than the interval needs is searched,
// and only then is an outflow at or above the supply temperature limited to it.
TEST_F(Kernmonat, TemperaturkernBegrenztNurNachDerSuche) {
    zustand::numchar()[ndata::rechenart] = "T";
    zustand::numchar()[ndata::kopplungstyp] = "E";
    zustand::vdatz()[zdata::twv][M] = 11.0;  // any sun lifts the outflow above it
    ::date3& d3 = zustand::date3();
    for (double bedarf_tag : {0.01, 1000.0}) {
        SCOPED_TRACE(bedarf_tag);
        for (int s : {2, 3}) d3.equer_verbrauch[M][s] = bedarf_tag;
        temperaturkern(*k, M, zustand::anlage(1));
        for (int s : {2, 3}) {
            EXPECT_GT(d3.tf_s[M][s], 11.0) << s;
            EXPECT_EQ(d3.twfflag[s], bedarf_tag < 1.0 ? u'J' : u'N') << s;
        }
    }
}

// A ww pump whose COP sits at the models' lower limit 1 cannot lift the
// collector heat: it stays off, and the we pump heats the house at its COP
// instead of the ww pump heating it electrically at COP 1.
TEST_F(Kernmonat, WwPumpeAmCopUntergrenzeBleibtAus) {
    zustand::vdatt()[tdata::ww_c2] = 0.5;  // COP = -0.1 lift + 0.5: floored at 1
    geschwindigkeitskern(*k, M, 3, zustand::anlage(1), 0);
    for (int s : {2, 3}) EXPECT_EQ(zustand::date3().wpausflag[s], u'J') << s;
    EXPECT_DOUBLE_EQ(d->nh[M], 0.0);
    EXPECT_NEAR(d->ok[M] * d->copwe[M], bedarf() + gespeichert() + verluste(), 1e-9);
}

// The stores lose heat over the nights of a month whose intervals are its
// daylight hours; when the intervals cover every hour of the month (hourly
// values) their losses are booked interval by interval already.
TEST_F(Kernmonat, NachtverlusteNurFuerNaechteAusserhalbDerIntervalle) {
    zustand::numchar()[ndata::strahlungsherkunft] = "D";
    zustand::vdatz()[zdata::tg][M] = 12.0;  // 12 h of daylight: 360 h of night in April
    datz3& p = zustand::pvdatz3(1);
    for (double stunden : {1.0, 180.0}) {  // 4 h or all 720 h of the month
        SCOPED_TRACE(stunden);
        for (int s = 1; s <= N; ++s) p[zdata::ho][M][s] = stunden;
        setze_speicher_zurueck(zustand::anlage(1).pufferspeicher, 1.0, 50.0);
        zustand::anlage(1).pufferspeicher.inhalt.eminus = 0.0;
        kernlauf r(*k, M, zustand::anlage(1));
        kern_monatsende(r);
        if (stunden < 100.0) {
            EXPECT_GT(verluste(), 0.0);
        } else {
            EXPECT_EQ(verluste(), 0.0);
        }
    }
}

// Without space heating from the plant the balance adds the heating share to
// each interval's demand. Every pass over the month (each `ge` step, each
// step of the temperature search) starts from the month's own interval
// demand: the demand does not grow with the passes.
TEST_F(Kernmonat, OhneHeizungWaechstDerBedarfNichtMitDenDurchlaeufen) {
    zustand::numchar()[ndata::heizung] = "N";
    zustand::vdatz()[zdata::ewv_verbrauch][M] = 1.0;  // hot water, spread over the sunny hours
    ::date3& d3 = zustand::date3();
    for (const char* art : {"V", "T", "A"}) {
        SCOPED_TRACE(art);
        zustand::numchar()[ndata::rechenart] = art;
        k->numchar[ndata::rechenart] = art;
        std::vector<double> bedarf_erster;
        for (int lauf = 0; lauf < 2; ++lauf) {
            setze_speicher_zurueck(zustand::anlage(1).pufferspeicher, 1.0, 30.0);
            if (std::string(art) == "V") {
                geschwindigkeitskern(*k, M, 2, zustand::anlage(1), 0);
            } else if (std::string(art) == "A") {
                // The analytic month step, as each tilt and power step runs it.
                anlagenschritte().analytischer_monatsschritt(*k, M);
            } else {
                temperaturkern(*k, M, zustand::anlage(1));
            }
            std::vector<double> bedarf(d3.equer_verbrauch[M].begin() + 1,
                                       d3.equer_verbrauch[M].begin() + 1 + N);
            if (lauf == 0) {
                bedarf_erster = bedarf;
            } else {
                EXPECT_EQ(bedarf, bedarf_erster);
            }
        }
        // Hot water 0.5 in each sunny hour, plus the heating share (3 kWh over the 2 sunny hours).
        EXPECT_NEAR(bedarf_erster[1], 0.5 + 1.5, 1e-12);
    }
}
