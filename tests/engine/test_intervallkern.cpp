// The interval kernel on a small plant over one month of four one-hour
// intervals: the snapshot slots, the blocks of the reservoir exchanger, the
// temperature variants, the control points of a control run, and that the
// month's books close.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/anlagenschritte.h"
#include "engine/intervallkern.h"
#include "engine/models/modell_hilfen.h"
#include "engine/models/speicher.h"
#include "engine/zeitschritt.h"
#include "support/lauf_fixture.h"

namespace {

constexpr int M = 4;
constexpr int N = 4;

// Control points that record what the kernel asks and answer as told.
struct aufzeichnende_steuerpunkte : steuerpunkte {
    std::function<bool(int m, int s)> live = [](int, int) { return false; };
    int stopp_bei_lesung = 0;  // the n-th read of the control file says "STOP" (0: never)
    int lesungen = 0;
    std::vector<std::string> ereignisse;
    std::vector<double> temperaturen;  // inflow temperature shown per block

    bool ist_live(const flagchar&, int m, int s, double) override { return live(m, s); }
    void messe_liveintervall(periodenkontext&, int m, int s, int laenge, anlage&) override {
        ereignisse.push_back("messe " + std::to_string(m) + "/" + std::to_string(s) + " +" +
                             std::to_string(laenge));
    }
    void zeige_blocktemperatur(double T) override {
        temperaturen.push_back(T);
        ereignisse.push_back("block");
    }
    void steuerschritt(periodenkontext&, int m, int s, anlage&) override {
        ereignisse.push_back("steuer " + std::to_string(m) + "/" + std::to_string(s));
    }
    bool stopp_angefordert(const flagchar&, const ::date3&) override {
        ereignisse.push_back("lies");
        return ++lesungen == stopp_bei_lesung;
    }
    std::optional<uhrzeitintervall> jetzt() override { return std::nullopt; }
};

// Month 4 with four one-hour intervals (night, 400, 600 W/m², night), an
// intermediate-reservoir plant with ground-source we pump (linear COP
// models), one 2 qm collector unit, a 1 m³ buffer store, a 10 m³
// intermediate store, "consume first". The house needs 40 °C, returns 30 °C.
class Intervallkern : public mit_laufzustand {
protected:
    void SetUp() override {
        mit_laufzustand::SetUp();
        ohne_langzeitspeicherplan();
        setze_intervalle(M, N);
        flagchar& n = zustand::numchar();
        for (auto [pos, code] : std::initializer_list<std::pair<int, const char*>>{
                 {ndata::zeitraum, "M"}, {ndata::rechenart, "M"}, {ndata::heizung, "J"},
                 {ndata::kopplungstyp, "Z"}, {ndata::luftwaermetauscher, "N"},
                 {ndata::ohne_kopplung, "E"}, {ndata::anzahl_kollektoren, "E"},
                 {ndata::modelltyp_we, "L"}, {ndata::modelltyp_ww, "L"}, {ndata::antrieb_we, "E"},
                 {ndata::antrieb_ww, "E"}, {ndata::optimierung, "A"}, {ndata::kopplungsart, "E"},
                 {ndata::gegenstrom, "K"}, {ndata::druckabfallmodell, "L"},
                 {ndata::speicherfolge, "S"}, {ndata::energiebedarfintervall, "V"},
                 {ndata::meldungsmodus, "M"}, {ndata::strahlungsherkunft, "A"},
                 {ndata::messmodus, "N"}}) {
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
        v[tdata::wpfluid_cpf] = 1500.0;
        v[tdata::wpfluid_cvg] = 60000.0;
        v[tdata::wpfluid_mol] = 72.6;
        v[tdata::wpfluid_dichte] = 30.0;
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
        for (int s = 1; s <= N; ++s) {
            p[zdata::is0][M][s] = G[s];
            p[zdata::ir][M][s] = G[s] / 1000.0;
            p[zdata::ta][M][s] = TA[s];
            p[zdata::ho][M][s] = 1.0;
            p[zdata::tein][M][s] = TA[s];
            p[zdata::tt][M][s] = TA[s];
            zustand::date3().equer_verbrauch[M][s] = G[s] > 0.0 ? 1.5 : 0.5;
            zustand::date3().vstore_flag[M][s] = u'N';
        }
        for (int i : {0, 1}) {
            anlage& a = zustand::anlage(i);
            a.n = 1;
            a.zwischenspeicher.spmax.wert = 10.0;
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
        laufsteuerung& l = zustand::lauf();
        l.maxge = 5e-5;
        l.minge = 5e-6;
        l.anzge = 3;
        l.mindeltatkol = 0.0;
        l.maxdeltatkol = 10.0;
        l.anzdeltatkol = 0;  // one variant: the block's outdoor temperature
        l.maxmittemp = 3;
        k = std::make_unique<periodenkontext>(periodenkontext{
            zaehler, 1, zustand::vdatz(), *links, nullptr, ziel, zustand::date3(), *d,
            zustand::numchar(), zustand::datm_serie(), zustand::vdatt(), zustand::pvdatz3(1), A});
        k->ge = bereite_ge_bereich_vor(zustand::numchar(), l, A);
    }
    void TearDown() override {
        zustand::lauf() = laufsteuerung{};
        zustand::startintervall() = 1;
        mit_laufzustand::TearDown();
    }
    kernergebnis rechne(int g = 2) {
        int m = M;
        return intervallkern(*k, m, g, steuerung);
    }
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

    static constexpr double G[N + 1] = {0, 0, 400, 600, 0};
    static constexpr double TA[N + 1] = {0, 4, 8, 10, 6};
    double A = 2.0;
    int zaehler = 0;
    monatsfeld ziel{};
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<periodenkontext> k;
    aufzeichnende_steuerpunkte steuerung;
};

}  // namespace

// A slot saved and restored gives back exactly the month's results and the
// stores it saved (layer chain, content, the month's losses), and leaves the
// other months alone.
TEST_F(Intervallkern, SlotKommtBitgleichZurueck) {
    const kernslots sl = kernslots_des_zustands();
    ::date& w = *d;
    anlage& a0 = zustand::anlage(0);
    using feld = monatsfeld date::*;
    const feld felder[] = {&date::er,          &date::nh,          &date::ok,
                           &date::nh_virtuell, &date::ok_virtuell, &date::eg,
                           &date::es,          &date::esa,         &date::ls,
                           &date::elp,         &date::elp_l,       &date::ereif,
                           &date::e_next_puffer, &date::e_next_lang, &date::speiver_puffer,
                           &date::speiver_lang};
    double x = 0.1;
    for (feld f : felder) {
        (w.*f)[M] = (x += 1.37) / 3.0;
        (w.*f)[M + 1] = 5.0;
    }
    a0.pufferspeicher.inhalt.schichten = {{0.3, 55.5}, {0.5, 41.25}, {0.2, 12.0 / 7.0}};
    a0.pufferspeicher.inhalt.estore = 13.0 / 3.0;
    a0.pufferspeicher.inhalt.eminus = 0.7;
    a0.langzeitspeicher.inhalt.eminus = 0.1;
    a0.nachtenergie = 2.5;
    const ::date vorher_d = w;
    const rspeicher vorher_puffer = a0.pufferspeicher.inhalt;
    const schnappschuss arbeit{w, a0};

    kopiere_slot(arbeit, sl.vorintervall, M);
    for (feld f : felder) (w.*f)[M] = -1.0;
    a0.pufferspeicher.inhalt.schichten = {{1.0, 20.0}};
    a0.pufferspeicher.inhalt.estore = a0.pufferspeicher.inhalt.eminus = 0.0;
    a0.langzeitspeicher.inhalt.eminus = 0.0;
    a0.nachtenergie = 0.0;
    kopiere_slot(sl.vorintervall, arbeit, M);

    for (feld f : felder) {
        EXPECT_EQ((w.*f)[M], (vorher_d.*f)[M]);
        EXPECT_EQ((w.*f)[M + 1], 5.0);
    }
    const rspeicher& jetzt = a0.pufferspeicher.inhalt;
    ASSERT_EQ(jetzt.schichten.size(), vorher_puffer.schichten.size());
    auto j = jetzt.schichten.begin();
    for (const schicht& s : vorher_puffer.schichten) {
        EXPECT_EQ(j->masse, s.masse);
        EXPECT_EQ(j->temperatur, s.temperatur);
        ++j;
    }
    EXPECT_EQ(jetzt.estore, vorher_puffer.estore);
    EXPECT_EQ(jetzt.eminus, 0.7);
    EXPECT_EQ(a0.langzeitspeicher.inhalt.eminus, 0.1);
    EXPECT_EQ(a0.nachtenergie, 2.5);
}

// Collector heat, the ww pump's electricity and the we pump's heat make the
// heat delivered, and that is the demand plus what the store took and lost;
// the committed intervals keep their flow for the pump energy.
TEST_F(Intervallkern, BilanzDesMonatsSchliesst) {
    for (const char* gegenstrom : {"K", "R"}) {
        SCOPED_TRACE(gegenstrom);
        zustand::numchar()[ndata::gegenstrom] = gegenstrom;
        for (int i : {0, 1}) setze_speicher_zurueck(zustand::anlage(i).pufferspeicher, 1.0, 30.0);
        senke.dialoge.clear();
        const kernergebnis e = rechne();
        const ::date& m = *d;
        const anlage& a0 = zustand::anlage(0);
        double kollektor = 0.0;
        for (int s = 1; s <= N; ++s) kollektor += zustand::date3().esa[M][s] + zustand::date3().ls[M][s];
        ASSERT_GT(kollektor, 0.5);
        ASSERT_GT(m.nh[M], 0.0);
        EXPECT_FALSE(gewarnt()) << (senke.dialoge.empty() ? "" : senke.dialoge[0].text);
        const double gespeichert = a0.pufferspeicher.inhalt.estore;
        const double verluste = a0.pufferspeicher.inhalt.eminus;
        EXPECT_NEAR(m.eg[M], bedarf() + gespeichert + verluste, 1e-9 * m.eg[M]);
        EXPECT_NEAR(m.eg[M], kollektor + m.nh[M] + m.ok[M] * m.copwe[M], 1e-9 * m.eg[M]);
        EXPECT_DOUBLE_EQ(e.monatswert, m.ek_lv[M]);
        for (int s = 1; s <= N; ++s) EXPECT_EQ(zustand::date3().zv[M][s], zustand::date3().vel[M][s]);
    }
}

// Without space heating from the plant the balance adds the heating share to
// each interval's demand; the variants of a block compute its intervals more
// than once, and each attempt starts from the interval's own demand.
TEST_F(Intervallkern, OhneHeizungWaechstDerBedarfNichtMitDenVersuchen) {
    zustand::numchar()[ndata::heizung] = "N";
    zustand::vdatz()[zdata::ewv_verbrauch][M] = 1.0;
    zustand::lauf().anzdeltatkol = 2;
    std::vector<std::vector<double>> bedarfe;
    for (int lauf = 0; lauf < 2; ++lauf) {
        setze_speicher_zurueck(zustand::anlage(0).pufferspeicher, 1.0, 30.0);
        zustand::anlage(0).pufferspeicher.inhalt.eminus = 0.0;
        rechne();
        const auto& e = zustand::date3().equer_verbrauch[M];
        bedarfe.emplace_back(e.begin() + 1, e.begin() + 1 + N);
        const anlage& a0 = zustand::anlage(0);
        EXPECT_NEAR(d->eg[M], bedarf() + a0.pufferspeicher.inhalt.estore + a0.pufferspeicher.inhalt.eminus,
                    1e-9 * d->eg[M]);
    }
    EXPECT_EQ(bedarfe[0], bedarfe[1]);
}

// Blocks: one interval each without the reservoir exchanger (and no
// intermediate store then); with it `maxmittemp` intervals, the last block
// only up to the month's end, and the pumped volume filling the store ends
// a block early. The shown block temperature is the outdoor temperature of
// the block's first interval (the single variant).
TEST_F(Intervallkern, BloeckeNachTauscherUndZwischenspeicher) {
    struct fall {
        const char* gegenstrom;
        double zwischenspeicher;  // m³
        std::vector<double> bloecke;
    };
    for (const fall& f : {fall{"K", 10.0, {4, 8, 10, 6}}, fall{"R", 10.0, {4, 6}},
                          fall{"R", 0.0, {4, 8, 10, 6}}}) {
        SCOPED_TRACE(std::string(f.gegenstrom) + " " + std::to_string(f.zwischenspeicher));
        zustand::numchar()[ndata::gegenstrom] = f.gegenstrom;
        zustand::anlage(0).zwischenspeicher.spmax.wert = f.zwischenspeicher;
        steuerung.temperaturen.clear();
        rechne();
        EXPECT_EQ(steuerung.temperaturen, f.bloecke);
        const ::date3& d3 = zustand::date3();
        if (std::string(f.gegenstrom) == "K") {
            EXPECT_EQ(zustand::anlage(0).zwischenspeicher.spmax.wert, 0.0);
        } else if (f.zwischenspeicher > 0.0) {
            // The store fills over a block and starts empty with the next.
            const double je_intervall = 3600.0 * zustand::anlage(0).n;
            EXPECT_DOUBLE_EQ(d3.zwischenspeicher_fuellstand[M][1], d3.vel[M][1] * je_intervall);
            EXPECT_DOUBLE_EQ(d3.zwischenspeicher_fuellstand[M][3],
                             d3.zwischenspeicher_fuellstand[M][2] + d3.vel[M][3] * je_intervall);
            EXPECT_DOUBLE_EQ(d3.zwischenspeicher_fuellstand[M][4], d3.vel[M][4] * je_intervall);
        }
    }
}

// The temperature variants: with the end reservoir every variant flows in at
// the return temperature, so all give the same block; with intermediate
// coupling and three variants the kept temperature is one of ta + 0, ta + 5
// (at least the reservoir temperature) and ta.
TEST_F(Intervallkern, TemperaturvariantenDesBlocks) {
    zustand::lauf().anzdeltatkol = 2;
    zustand::numchar()[ndata::kopplungstyp] = "E";
    rechne();
    EXPECT_EQ(steuerung.temperaturen, (std::vector<double>{30, 30, 30, 30}));

    zustand::numchar()[ndata::kopplungstyp] = "Z";
    zustand::vdatt()[tdata::reservoirtemperatur] = 9.0;
    steuerung.temperaturen.clear();
    rechne();
    ASSERT_EQ(steuerung.temperaturen.size(), static_cast<size_t>(N));
    for (int s = 1; s <= N; ++s) {
        const double T = steuerung.temperaturen[static_cast<size_t>(s - 1)];
        const bool erlaubt = T == TA[s] || T == std::max(TA[s], 9.0) || T == std::max(TA[s] + 5.0, 9.0);
        EXPECT_TRUE(erlaubt) << s << ": " << T;
    }
}

// Without collector area one variant (the outdoor temperature) is tried and
// every `ge` step of an interval is taken in turn, so the last step tried,
// the smallest flow, is the one kept.
TEST_F(Intervallkern, OhneFlaecheEineVarianteUndDerLetzteGeSchritt) {
    A = 0.0;
    k->A = 0.0;
    zustand::numchar()[ndata::zeitraum] = "I";
    zustand::lauf().anzdeltatkol = 2;
    const kernergebnis e = rechne();
    EXPECT_EQ(steuerung.temperaturen, (std::vector<double>(TA + 1, TA + N + 1)));
    EXPECT_EQ(e.intervallschritte, 3 * N);  // three `ge` steps per interval, one variant
    for (int s = 1; s <= N; ++s) EXPECT_EQ(zustand::date3().zv[M][s], zustand::lauf().minge) << s;
}

// A control run: blocks before the live point are computed from the series;
// a live block is measured at its start, computed, and computed once more
// with device output after each interval; the control file is read after
// every live interval and every block. A "STOP" ends the month at once and
// leaves the stores of the month unclosed.
TEST_F(Intervallkern, SteuerlaufMisstSteuertUndHaeltAn) {
    zustand::numchar()[ndata::kontrolllauf] = "J";
    zustand::numchar()[ndata::gegenstrom] = "R";
    zustand::lauf().maxmittemp = 2;
    zustand::monatstart() = 1;  // the run started in an earlier month
    steuerung.live = [](int, int s) { return s >= 3; };
    rechne();
    EXPECT_EQ(steuerung.ereignisse,
              (std::vector<std::string>{"block", "lies", "messe 4/3 +2", "block", "steuer 4/3", "lies",
                                        "steuer 4/4", "lies", "lies"}));
    EXPECT_EQ(zustand::numchar()[ndata::stopp], "N");

    // Stopped after the first block: intervals 3 and 4 stay as they were, the
    // month's store figures are not written.
    ::date3& d3 = zustand::date3();
    for (int s = 1; s <= N; ++s) d3.zei[M][s] = -1.0;
    d->msp_max_puffer[M] = -1.0;
    steuerung = aufzeichnende_steuerpunkte{};
    steuerung.stopp_bei_lesung = 1;
    rechne();
    EXPECT_EQ(zustand::numchar()[ndata::stopp], "J");
    EXPECT_EQ(steuerung.ereignisse, (std::vector<std::string>{"block", "lies"}));
    EXPECT_EQ(d3.zei[M][1], 1.0);
    EXPECT_EQ(d3.zei[M][2], 1.0);
    EXPECT_EQ(d3.zei[M][3], -1.0);
    EXPECT_EQ(d3.zei[M][4], -1.0);
    EXPECT_EQ(d->msp_max_puffer[M], -1.0);
}

// A control run that starts in this month begins at its start interval.
TEST_F(Intervallkern, SteuerlaufBeginntAmStartintervall) {
    zustand::numchar()[ndata::kontrolllauf] = "J";
    zustand::monatstart() = M;
    zustand::startintervall() = 3;
    rechne();
    EXPECT_EQ(steuerung.temperaturen, (std::vector<double>{10, 6}));
}

// In the month step every `ge` step of the interval kernel starts from the
// month's start stores, not from the month end of the step before.
TEST_F(Intervallkern, JederGeSchrittStartetVomMonatsanfang) {
    struct zaehlende_kerne : monatskerne {
        std::vector<double> start;
        kernergebnis intervallkern(periodenkontext& k, int& m, int i) override {
            start.push_back(zustand::anlage(0).pufferspeicher.inhalt.estore);
            return monatskerne::intervallkern(k, m, i);
        }
    } kerne;
    setze_speicher_zurueck(zustand::anlage(0).pufferspeicher, 1.0, 35.0);
    int m = M;
    zeitschritt_monat(*k, m, kerne);
    ASSERT_GE(kerne.start.size(), 3u);  // the kept step may be computed once more
    EXPECT_NE(zustand::anlage(0).pufferspeicher.inhalt.estore, kerne.start[0]);
    for (double e : kerne.start) EXPECT_EQ(e, kerne.start[0]);
}
