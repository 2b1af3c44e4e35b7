// Throughput of the component models: store charge and discharge, COP
// models, and the quartic solver with its accuracy on random quartics.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/models/numerik.h"
#include "engine/models/speicher.h"
#include "engine/models/waermepumpe.h"

namespace {

struct keine_buchung : energiebilanz_buchungen {
    void kollektor_deckung_buchen(int, int, double) override {}
    void zusatzheizung_buchen(int, int, char, double, double) override {}
};

speicher zehn_schichten() {
    speicher sp;
    sp.spwspei.wert = 4186.0;
    sp.rospei.wert = 1000.0;
    sp.spmax.wert = 1.0;
    sp.inhalt.schichten.clear();
    for (int i = 0; i < 10; ++i) sp.inhalt.schichten.push_back(schicht{0.1, 65.0 - 5.0 * i});
    return sp;
}

// Sets one plant code (kept out of line: inlined literal assignments into the
// code array trip a false -Wrestrict warning of GCC 12 at -O3).
[[gnu::noinline]] void setze_code(flagchar& nc, int pos, const std::string& wert) {
    nc[static_cast<size_t>(pos)] = wert;
}

struct laufzustand {
    std::unique_ptr<datt> vdatt = std::make_unique<datt>();
    std::unique_ptr<datz> vdatz = std::make_unique<datz>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<::date3> d3 = std::make_unique<::date3>();
    flagchar numchar{};
};

// Copy of a 10-layer store, one charge and one direct discharge per item.
void BM_SpeicherLadenEntladen(benchmark::State& state) {
    laufzustand z;
    setze_code(z.numchar, ndata::kopplungstyp, "E");
    setze_code(z.numchar, ndata::meldungsmodus, "S");
    z.d->copwe[1] = 3.0;
    keine_buchung b;
    const speicher vorlage = zehn_schichten();
    speicher sp = vorlage;
    const kaeltemittel& fluid = zustand::stoffdaten().kaeltemittel_record;
    for (auto _ : state) {
        kopiere_speicher(vorlage, sp, 'N');
        double ueber = 0.0;
        const double geladen = lade_speicher(sp, 2.0, 50.0, ueber, 1, 1, z.numchar, b);
        const speicher_entnahme e = entlade_speicher(sp, 3.0, 25.0, 55.0, 'D', 'N', 1, 1, z.numchar, *z.vdatt,
                                                     *z.vdatz, *z.d, *z.d3, b, fluid);
        benchmark::DoNotOptimize(geladen + e.rest);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpeicherLadenEntladen);

// The copy alone, to separate it from the charge and discharge.
void BM_SpeicherKopie(benchmark::State& state) {
    const speicher vorlage = zehn_schichten();
    speicher sp = vorlage;
    for (auto _ : state) {
        kopiere_speicher(vorlage, sp, 'N');
        benchmark::DoNotOptimize(sp.inhalt.schichten.front().temperatur);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpeicherKopie);

void dampftafel_setzen() {
    kaeltemittel& k = zustand::stoffdaten().kaeltemittel_record;
    k.imaxdampf = 100;
    for (int r = 1; r <= 100; ++r) {
        const double t = -40.0 + r;
        k.vdampftafeldata[static_cast<size_t>(r - 1)] = t;
        k.vdampftafeldata[static_cast<size_t>(100 + r - 1)] = 1.0 + 0.05 * r;
        k.vdampftafeldata[static_cast<size_t>(200 + r - 1)] = 1.2 + 0.05 * r;
        k.vdampftafeldata[static_cast<size_t>(400 + r - 1)] = 250.0 - t;
    }
}

void BM_BerechneCop(benchmark::State& state) {
    static const char* const modelle[] = {"L", "H", "A", "4"};
    const char* modell = modelle[state.range(0)];
    state.SetLabel(std::string("model ") + modell);
    laufzustand z;
    setze_code(z.numchar, ndata::modelltyp_we, modell);
    setze_code(z.numchar, ndata::ohne_kopplung, "E");
    setze_code(z.numchar, ndata::kopplungstyp, "E");
    auto& v = *z.vdatt;
    v[tdata::we_c1] = 0.05;
    v[tdata::we_c2] = 1.5;
    v[tdata::we_c3] = 0.01;
    v[tdata::we_c4] = 1e-4;
    v[tdata::we_c5] = 1e-4;
    v[tdata::we_c6] = 1e-6;
    v[tdata::we_c7] = 0.01;
    v[tdata::ww_exponent] = 1.0;
    v[tdata::we_vkv0_kehrwert] = 3.0;
    v[tdata::wpfluid_cvg] = 40000.0;
    v[tdata::wpfluid_mol] = 100.0;
    dampftafel_setzen();
    std::array<double, 64> tt{}, th{};
    for (size_t i = 0; i < tt.size(); ++i) {
        tt[i] = -10.0 + 0.5 * static_cast<double>(i);
        th[i] = 35.0 + 0.3 * static_cast<double>(i);
    }
    size_t i = 0;
    double roh = 0.0;
    const kaeltemittel& fluid = zustand::stoffdaten().kaeltemittel_record;
    for (auto _ : state) {
        const double c = berechne_cop(v, *z.vdatz, 'E', tt[i], th[i], z.numchar, roh, *z.d3, 1, 1, fluid);
        benchmark::DoNotOptimize(c);
        i = (i + 1) & 63;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BerechneCop)->DenseRange(0, 3);

// Random well-conditioned quartics: four real roots in [-10, 10], each at
// least 0.5 from zero and 1 from the others, random leading coefficient.
struct quartik {
    std::array<double, 5> coef;
    std::array<double, 4> wurzeln;
};

std::vector<quartik> zufallsquartiken(size_t anzahl) {
    std::mt19937_64 gen(20261210);
    std::uniform_real_distribution<double> w(-10.0, 10.0), lead(0.5, 5.0);
    std::vector<quartik> q;
    while (q.size() < anzahl) {
        std::array<double, 4> r{w(gen), w(gen), w(gen), w(gen)};
        std::sort(r.begin(), r.end());
        bool gut = true;
        for (int k = 0; k < 4; ++k) gut = gut && std::fabs(r[k]) >= 0.5;
        for (int k = 0; k < 3; ++k) gut = gut && r[k + 1] - r[k] >= 1.0;
        if (!gut) continue;
        const double a = lead(gen);
        const double e1 = r[0] + r[1] + r[2] + r[3];
        const double e2 = r[0] * r[1] + r[0] * r[2] + r[0] * r[3] + r[1] * r[2] + r[1] * r[3] + r[2] * r[3];
        const double e3 = r[0] * r[1] * r[2] + r[0] * r[1] * r[3] + r[0] * r[2] * r[3] + r[1] * r[2] * r[3];
        const double e4 = r[0] * r[1] * r[2] * r[3];
        q.push_back({{a * e4, -a * e3, a * e2, -a * e1, a}, r});
    }
    return q;
}

void BM_Quartisch(benchmark::State& state) {
    const std::vector<quartik> q = zufallsquartiken(4096);
    // Accuracy over the whole set, outside the timed loop.
    double schlechteste = 0.0;
    int falsche_anzahl = 0;
    for (const quartik& k : q) {
        TCompVector z{};
        if (nullstellen_quartisch(k.coef, z) != 4) ++falsche_anzahl;
        std::array<double, 4> gefunden{z[1].Re, z[2].Re, z[3].Re, z[4].Re};
        std::sort(gefunden.begin(), gefunden.end());
        for (int i = 0; i < 4; ++i) {
            schlechteste = std::max(schlechteste, std::fabs(gefunden[i] - k.wurzeln[i]) / std::fabs(k.wurzeln[i]));
        }
    }
    size_t i = 0;
    for (auto _ : state) {
        TCompVector z{};
        benchmark::DoNotOptimize(nullstellen_quartisch(q[i].coef, z));
        benchmark::DoNotOptimize(z);
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["worst_rel_err"] = schlechteste;
    state.counters["wrong_count"] = falsche_anzahl;
}
BENCHMARK(BM_Quartisch);

}  // namespace
