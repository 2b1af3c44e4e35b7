// The device protocol over simulated ports with the simulated clock: the
// protocol's own waits cost nothing here, so the figures are the cost of
// the exchanges themselves (line changes, port scans, chip models). The
// counter "protokoll_ms" is the time the same exchange takes on real
// hardware (the sum of its waits).
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/WP_variables.h"
#include "station/geraeteprotokoll.h"
#include "station/simulierte_ports.h"

namespace {

struct aufbau {
    simulierte_uhr zeit;
    simulierte_ports ports{zeit};
    RSCOM port{ports, zeit};
    stationseinstellungen einstellungen;
    geraeteprotokoll protokoll{port, einstellungen};
    std::unique_ptr<anlage> a = std::make_unique<anlage>();
};

}  // namespace

// One DAC word (voltage channel) to the pump board on COM4, with the port
// scan that precedes every AD7303 and MCP4802 word.
static void BM_dac_wort_schreiben(benchmark::State& state) {
    const dac_typ typen[] = {dac_typ::AD7303, dac_typ::AD7304, dac_typ::MCP4802};
    const char* namen[] = {"AD7303", "AD7304", "MCP4802"};
    aufbau x;
    stecke_beispielanlage(x.ports);
    simulierte_platine& pumpe = *x.ports.platine(4);
    pumpe.bestuecke_dac(typen[state.range(0)], 20.0, 10.0);
    ssq quelle;
    quelle.dac_typ = namen[state.range(0)];
    quelle.maximalspannung = 10.0;
    const double start = x.zeit.zaehler_ms();
    double u = 0.0;
    for (auto _ : state) {
        u = u >= 10.0 ? 0.0 : u + 0.37;
        x.protokoll.anlagensteuerung_neu(0.0, u, quelle, 'V', 'S', 'N', *x.a);
    }
    benchmark::DoNotOptimize(pumpe.spannung_V());
    state.SetLabel(namen[state.range(0)]);
    state.counters["protokoll_ms"] =
        benchmark::Counter((x.zeit.zaehler_ms() - start) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_dac_wort_schreiben)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// One 10-bit reading of the irradiation channel of the station on COM3.
static void BM_adc_10bit_lesen(benchmark::State& state) {
    aufbau x;
    stecke_beispielanlage(x.ports);
    x.protokoll.teste_schnittstelle("3");
    const double start = x.zeit.zaehler_ms();
    for (auto _ : state) benchmark::DoNotOptimize(x.protokoll.lese_ADC_10_port(10, {0, 0, 0, 1}, 0));
    state.counters["protokoll_ms"] =
        benchmark::Counter((x.zeit.zaehler_ms() - start) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_adc_10bit_lesen)->Unit(benchmark::kMicrosecond);

// Discovery of all four devices with boards on 16 ports (COM2..COM17, each
// identity four times); each device's scan opens COM2..COM100.
static void BM_suche_16_ports(benchmark::State& state) {
    aufbau x;
    const char geraete[] = {'W', 'S', 'V', 'A'};
    for (int32_t n = 2; n <= 17; ++n) x.ports.stecke(n, geraete[n % 4]);
    for (auto _ : state) {
        x.protokoll.com_fuer_wetterstation(*x.a);
        benchmark::DoNotOptimize(x.a->sensoren_com);
    }
    if (x.a->Wetterstation_com != 16 || x.a->sensoren_com != 15) state.SkipWithError("wrong ports found");
}
BENCHMARK(BM_suche_16_ports)->Unit(benchmark::kMicrosecond);
