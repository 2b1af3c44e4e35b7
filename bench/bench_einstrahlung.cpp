// One call of the irradiation layout for a new collector tilt on a year of
// hourly weather rows (Potsdam 2019, 8760 rows), as an optimisation makes it
// at every tilt step; and the hourly layout generated from monthly values,
// sorted by intensity.
#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/input/wetter_hilfen.h"
#include "input/einstrahlung.h"

namespace {

struct umgebung {
    feste_umrechnung einheiten;
    std::unique_ptr<datz3> p1 = std::make_unique<datz3>();
    std::unique_ptr<datz3> p2 = std::make_unique<datz3>();
    datz vdatz{};
    flagchar nc;
    datt vdatt{};
    umgebung(const char* strahlung, const char* zeitintervall, const char* sortierung) {
        nc[ndata::sortierung] = sortierung;
        nc[ndata::diffusestrahlung] = "E";
        nc[ndata::strahlung] = strahlung;
        nc[ndata::zeitintervall] = zeitintervall;
        nc[ndata::schaltjahr] = "N";
        nc[ndata::meldungsmodus] = "S";
        vdatt[tdata::reflektion] = 0.2;
    }
};

void lauf(benchmark::State& state, const wetterdatensatz& w, umgebung& u) {
    double neigung = 0.0, jahr = 0.0;
    int marke = 0;
    for (auto _ : state) {
        neigung = neigung >= 90.0 ? 5.0 : neigung + 5.0;  // a new tilt every call
        berechne_Einstrahlungsdaten(w, u.einheiten, u.vdatz, u.nc, marke, u.vdatt, jahr, *u.p1, *u.p2, 0.0,
                                    neigung, w.breite);
        benchmark::DoNotOptimize(jahr);
        benchmark::ClobberMemory();
    }
}

void BM_stundenwerte_neue_neigung(benchmark::State& state) {
    static const wetterdatensatz w = potsdam_2019();
    umgebung u("D", "A", "N");
    lauf(state, w, u);
}
BENCHMARK(BM_stundenwerte_neue_neigung)->Unit(benchmark::kMillisecond);

void BM_monatswerte_auf_stunden(benchmark::State& state) {
    static const wetterdatensatz w = potsdam_2019_monatlich();
    umgebung u("D", "K", "D");
    lauf(state, w, u);
}
BENCHMARK(BM_monatswerte_auf_stunden)->Unit(benchmark::kMillisecond);

}  // namespace
