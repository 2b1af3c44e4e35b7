// Initialising the run records and clearing a full year of interval results.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/WP_variables.h"

static void BM_laufrecords_und_intervallergebnisse(benchmark::State& state) {
    for (int m = 1; m <= MAXMONAT; ++m) setze_intervalle(m, MAXINTERVALL);
    auto monatsergebnisse = std::make_unique<::date>();
    for (auto _ : state) {
        initialisiere_laufrecords(*monatsergebnisse);
        loesche_intervallergebnisse(*monatsergebnisse);
        benchmark::DoNotOptimize(zustand::date3().er[12][800]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_laufrecords_und_intervallergebnisse)->Unit(benchmark::kMillisecond);

static void BM_zustand_erster_zugriff(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(&tv());
}
BENCHMARK(BM_zustand_erster_zugriff);
