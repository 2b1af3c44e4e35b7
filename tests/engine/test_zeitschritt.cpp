// The time-step plant step of a month: which `ge` steps run with which
// kernel, what the month keeps, where each step starts from; the
// temperature search; an interval whose collector loop is off.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/anlagenschritte.h"
#include "engine/models/speicher.h"
#include "engine/temperaturkern.h"
#include "engine/zeitschritt.h"
#include "support/lauf_fixture.h"

namespace {

constexpr int M = 3;

// Month kernels that return scripted month values per `ge` step and record
// the calls: 'V' velocity, 'T' temperature, 'I' interval kernel.
struct skript_kerne : monatskerne {
    std::map<int, double> werte;                 // month value of `ge` step i (default 1)
    std::vector<std::string> aufrufe;            // "V4", "T1", ...
    std::vector<double> start_estore;            // working plant's buffer content at each start
    std::vector<double> start_nachtenergie;
    std::function<void(periodenkontext&, int i)> bei_schritt;

    kernergebnis rechne(char kern, periodenkontext& k, int m, int i, anlage* arbeit) {
        aufrufe.push_back(std::string(1, kern) + std::to_string(i));
        if (arbeit) {
            start_estore.push_back(arbeit->pufferspeicher.inhalt.estore);
            start_nachtenergie.push_back(arbeit->nachtenergie);
            arbeit->pufferspeicher.inhalt.estore += 100.0;  // the step changes its plant
        }
        const double w = werte.count(i) ? werte[i] : 1.0;
        k.monatsergebnisse.ek_lv[m] = w;  // the month result the variant keeps
        if (bei_schritt) bei_schritt(k, i);
        return {w, 0.001 * i};
    }
    kernergebnis geschwindigkeitskern(periodenkontext& k, int m, int i, anlage& a) override {
        return rechne('V', k, m, i, &a);
    }
    kernergebnis temperaturkern(periodenkontext& k, int m, anlage& a) override {
        return rechne('T', k, m, 1, &a);
    }
    kernergebnis intervallkern(periodenkontext& k, int& m, int i) override {
        return rechne('I', k, m, i, nullptr);
    }
};

// Plant steps that record the step-chart points.
struct punkt_doppel : schritt_doppel {
    struct punkt {
        int monat, index;
        double x, y;
    };
    std::vector<punkt> punkte;
    void schrittpunkt(int monat, int index, double x, double y) override {
        punkte.push_back({monat, index, x, y});
    }
};

class Zeitschritt : public mit_laufzustand {
protected:
    void SetUp() override {
        mit_laufzustand::SetUp();
        for (int i : {0, 1}) setze_speicherketten_zurueck(zustand::anlage(i));
        k = std::make_unique<periodenkontext>(periodenkontext{
            zaehler, 1, zustand::vdatz(), *links, nullptr, ziel, zustand::date3(), *d,
            zustand::numchar(), zustand::datm_serie(), zustand::vdatt(), zustand::pvdatz3(1), 4.0});
        k->ge.anzahl = 4;
        k->ge.erster = 1;
        k->schritte = &punkte;
        loesche_laufergebnisse(zustand::datm_serie());
    }
    void setze(int pos, const std::string& code) { zustand::numchar()[static_cast<size_t>(pos)] = code; }
    void monat() {
        int m = M;
        zeitschritt_monat(*k, m, kerne);
    }

    int zaehler = 0;
    monatsfeld ziel{};
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<periodenkontext> k;
    skript_kerne kerne;
    punkt_doppel punkte;
};

}  // namespace

// The `ge` steps of the month by period, method and run kind: month mode
// walks the range downwards (a single simulation as an optimisation: the
// range is the pump's control), the interval-wise velocity method one step
// with the interval kernel, the temperature kernel (which searches its own
// steps) one pass.
TEST_F(Zeitschritt, GeSchritteUndKernNachVerfahren) {
    struct fall {
        const char *zeitraum, *art, *laufart;
        std::vector<std::string> erwartet;
    };
    const std::vector<fall> faelle = {
        {"M", "V", "N", {"V4", "V3", "V2", "V1"}},
        {"M", "V", "Y", {"V4", "V3", "V2", "V1"}},
        {"I", "V", "N", {"I1"}},
        {"M", "M", "N", {"I4", "I3", "I2", "I1"}},
        {"I", "M", "N", {"I1"}},
        {"M", "T", "N", {"T1"}},
        {"I", "T", "Y", {"T1"}},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.zeitraum) + f.art + f.laufart);
        setze(ndata::zeitraum, f.zeitraum);
        setze(ndata::rechenart, f.art);
        setze(ndata::laufart, f.laufart);
        kerne.aufrufe.clear();
        monat();
        EXPECT_EQ(kerne.aufrufe, f.erwartet);
    }
}

// The first step sets the month's objective cell even though a later step is
// better; the variant keeps the best step (ties to the later one) and the
// month ends in that step's state, so it is computed once more when it was
// not the last one. The step chart gets every step with the best value so far.
TEST_F(Zeitschritt, ErsterSchrittSetztZielwertBesterSchrittWirdBehalten) {
    setze(ndata::meldungsmodus, "M");
    kerne.werte = {{4, 10.0}, {3, 7.0}, {2, 7.0}, {1, 12.0}};
    monat();
    EXPECT_EQ(kerne.aufrufe, (std::vector<std::string>{"V4", "V3", "V2", "V1", "V2"}));
    EXPECT_DOUBLE_EQ(ziel[M], 10.0);
    EXPECT_DOUBLE_EQ(zustand::datm_serie().feld[adata::jek][M], 7.0);
    EXPECT_DOUBLE_EQ(k->bester, 7.0);
    ASSERT_EQ(punkte.punkte.size(), 4u);
    const double y[] = {10.0, 7.0, 7.0, 7.0};
    for (size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(punkte.punkte[j].monat, M);
        EXPECT_EQ(punkte.punkte[j].index, 4 - static_cast<int>(j));
        EXPECT_DOUBLE_EQ(punkte.punkte[j].y, y[j]);
    }

    // The best step computed last needs no second pass; no chart without area.
    kerne.aufrufe.clear();
    punkte.punkte.clear();
    kerne.werte = {{4, 3.0}, {3, 2.0}, {2, 2.0}, {1, 1.0}};
    k->A = 0.0;
    monat();
    EXPECT_EQ(kerne.aufrufe, (std::vector<std::string>{"V4", "V3", "V2", "V1"}));
    EXPECT_TRUE(punkte.punkte.empty());
}

// Every step starts from plant 0's stores at the month start (the month's
// night energy, no losses yet), whatever the step before did to them.
TEST_F(Zeitschritt, JederSchrittStartetVomMonatsanfang) {
    zustand::anlage(0).pufferspeicher.inhalt.estore = 7.0;
    zustand::anlage(0).pufferspeicher.inhalt.eminus = 2.0;
    d->espeicher_luft[M] = 3.0;
    monat();
    EXPECT_EQ(kerne.start_estore, std::vector<double>(4, 7.0));
    EXPECT_EQ(kerne.start_nachtenergie, std::vector<double>(4, 3.0));
    EXPECT_DOUBLE_EQ(zustand::anlage(1).pufferspeicher.inhalt.eminus, 0.0);
    EXPECT_DOUBLE_EQ(zustand::anlage(0).pufferspeicher.inhalt.estore, 7.0);
}

// A stop request during the steps skips the remaining steps of the month.
TEST_F(Zeitschritt, StoppMittenInDenGeSchritten) {
    kerne.werte = {{4, 5.0}, {3, 1.0}};
    kerne.bei_schritt = [](periodenkontext& kk, int i) {
        if (i == 3) kk.numchar[ndata::stopp] = "J";
    };
    monat();
    EXPECT_EQ(kerne.aufrufe, (std::vector<std::string>{"V4", "V3"}));
}

// The temperature search: bisection to the temperature at which the loop
// delivers the demand; equal bounds end after one round; a heat pump that
// goes off collapses the interval; a tolerance of 0 ends when the midpoints
// meet; a search that cannot converge stops at the bound and says so.
TEST(Temperatursuche, SchachtelungEndetImmer) {
    const auto linear = [](double T) -> std::optional<double> { return 100.0 - 10.0 * T; };
    struct fall {
        const char* name;
        double lo, hi, toleranz;
        std::function<std::optional<double>(double)> versuch;
        double T_erwartet, genauigkeit;
        int runden_hoechstens;
        bool konvergiert;
    };
    const std::vector<fall> faelle = {
        {"linear", 0.0, 10.0, 0.01, linear, 5.0, 0.02, 12, true},
        {"gleiche Grenzen", 4.0, 4.0, 0.0, linear, 4.0, 0.0, 1, true},
        {"Toleranz 0", 0.0, 10.0, 0.0, linear, 5.0, 1e-12, MAX_TEMPERATURSCHRITTE - 1, true},
        {"Wärmepumpe aus über 2 °C", 0.0, 10.0, 0.5,
         [](double T) -> std::optional<double> {
             if (T > 2.0) return std::nullopt;
             return 100.0 - 10.0 * T;
         },
         0.0, 0.0, 3, true},
        {"negative Toleranz", 0.0, 10.0, -1.0, linear, 5.0, 1e-12, MAX_TEMPERATURSCHRITTE, false},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.name);
        int aufrufe = 0;
        const temperatursuche t = suche_temperatur(f.lo, f.hi, 50.0, f.toleranz, [&](double T) {
            ++aufrufe;
            return f.versuch(T);
        });
        EXPECT_NEAR(t.T_mid, f.T_erwartet, f.genauigkeit);
        EXPECT_LE(t.runden, f.runden_hoechstens);
        EXPECT_EQ(aufrufe, t.runden);
        EXPECT_EQ(t.konvergiert, f.konvergiert);
    }
}

namespace {

// A velocity kernel for the year run that records the buffer store's content
// at each month start and leaves 100 g + m in it at the month end, with the
// month value of its `ge` step.
struct jahres_kerne : monatskerne {
    std::map<int, double> werte;                  // month value of `ge` step g
    std::vector<std::pair<int, double>> starts;   // (month, content at its start) of the last pass
    kernergebnis geschwindigkeitskern(periodenkontext& k, int m, int g, anlage& arbeit) override {
        if (m == zustand::monatstart()) starts.clear();
        starts.emplace_back(m, arbeit.pufferspeicher.inhalt.estore);
        arbeit.pufferspeicher.inhalt.estore = 100.0 * g + m;
        ::date& d = k.monatsergebnisse;
        kopiere_anlage_speicher(arbeit, d.arrayspeicher_mon[m], 'N');
        d.e_next_puffer[m] = arbeit.pufferspeicher.inhalt.estore;
        d.ek_lv[m] = werte[g];
        return {werte[g], 1e-5 * g};
    }
};

}  // namespace

// The year run goes through the months of each `ge` step on plant 0: every
// month continues from the end of the same pass's previous month, the start
// month from reset stores; the year with the smallest sum is the result.
TEST_F(Zeitschritt, JahreslaufFolgtDenMonatenDesEigenenDurchlaufs) {
    setze(ndata::zeitraum, "J");
    setze(ndata::rechenart, "V");
    zustand::monatstart() = 3;
    laufsteuerung& l = zustand::lauf();
    l.anzge = 3;
    l.minge = 1e-5;
    l.maxge = 3e-5;
    jahres_kerne kerne_j;
    kerne_j.werte = {{3, 3.0}, {2, 2.0}, {1, 2.5}};
    anlagenschritte schritte(kerne_j);
    double bestwert = 0.0;
    berechne_periode(zaehler, 1, zustand::vdatz(), *links, 'K', nullptr, bestwert, zustand::date3(),
                     *d, zustand::numchar(), zustand::datm_allgemein(), zustand::vdatt(),
                     zustand::pvdatz3(1), 4.0, schritte);
    // The last pass (step 1): March from reset stores, then each month from the one before.
    ASSERT_EQ(kerne_j.starts.size(), 12u);
    EXPECT_EQ(kerne_j.starts[0], std::make_pair(3, 0.0));
    for (size_t j = 1; j < 12; ++j) {
        const int m = kerne_j.starts[j].first;
        const int vorher = m == 1 ? 12 : m - 1;
        EXPECT_DOUBLE_EQ(kerne_j.starts[j].second, 100.0 + vorher) << m;
    }
    EXPECT_DOUBLE_EQ(bestwert, 24.0);
    for (int m = 1; m <= 12; ++m) EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jek][m], 2.0) << m;
    zustand::monatstart() = 1;
}
