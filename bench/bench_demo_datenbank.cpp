// Creating the full default database (46 table files and the 42 standard data
// sets) from its text source in data/demo.
#include <benchmark/benchmark.h>

#include <filesystem>

#include <unistd.h>

#include "input/demo_datenbank.h"

static void BM_default_datenbank_anlegen(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path ziel = fs::temp_directory_path() / ("varnek_bench_demo_" + std::to_string(::getpid()));
    const auto quelle = demo_quellverzeichnis();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(ziel);
        state.ResumeTiming();
        baue_default_datenbank(quelle, ziel, demo_schema());
    }
    fs::remove_all(ziel);
}
BENCHMARK(BM_default_datenbank_anlegen)->Unit(benchmark::kMillisecond);
