// Writing and reading back a control file of a year of hourly intervals
// (8760 rows × 21 columns), and the code conversion of a result file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "engine/WP_variables.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnisdatei_schreiben.h"

namespace {

constexpr int tage[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct stundenjahr {
    std::unique_ptr<datm> d = std::make_unique<datm>();
    std::unique_ptr<datz3> eingaben = std::make_unique<datz3>();
    ergebnisdatei_angaben angaben;

    stundenjahr() {
        angaben.hauptname = "Braunschweig";
        angaben.ergebnisverzeichnis =
            std::filesystem::temp_directory_path() / ("varnek_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(angaben.ergebnisverzeichnis);
        angaben.ergebnisdatei = angaben.ergebnisverzeichnis / "jahr.sim";
        angaben.steuername = "jahr";
        angaben.flaecheneinheit = "qm";
        for (int m = 1; m <= 12; ++m) {
            setze_intervalle(m, tage[m - 1] * 24);
            for (int k = 1; k <= tage[m - 1] * 24; ++k) {
                (*eingaben)[zdata::ho][m][k] = 1.0;
                (*eingaben)[zdata::is0][m][k] = (k % 24 > 6 && k % 24 < 18) ? 35.0 * (k % 24) : 0.0;
                (*eingaben)[zdata::ta][m][k] = -5.0 + m + (k % 24) * 0.37;
                for (int h = 0; h < ANZ_FELD3; ++h)
                    d->feld3[h][m][k] = (h % 3 == 0) ? 0.0 : h * 12.345 + k * 0.001 - (h == 5 ? 2.0 : 0.0);
            }
        }
        for (int h = 0; h < ANZ_FELD3; ++h) d->ausgabe_einheit_3[h] = "kWh";
        for (int q = 0; q < ANZ_ADATA; ++q) {
            d->ausgabe_einheit[q] = "kWh";
            d->kennzeichen[q] = "EN";
            for (int m = 1; m <= 12; ++m) d->feld[q][m] = q * 1000.5 + m;
        }
    }
    ~stundenjahr() { std::filesystem::remove_all(angaben.ergebnisverzeichnis); }
};

}  // namespace

static void BM_steuerdatei_schreiben(benchmark::State& state) {
    stundenjahr j;
    intervalleingaben e;
    e.pvdatz3 = j.eingaben.get();
    parreadtab tab;
    for (auto _ : state) {
        schreibe_intervallergebnisse(*j.d, tab, 4.0, {1, 1, 1}, j.angaben, e);
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(steuerdateipfad(j.angaben)));
}
BENCHMARK(BM_steuerdatei_schreiben)->Unit(benchmark::kMillisecond);

static void BM_steuerdatei_lesen(benchmark::State& state) {
    stundenjahr j;
    intervalleingaben e;
    e.pvdatz3 = j.eingaben.get();
    parreadtab tab;
    schreibe_intervallergebnisse(*j.d, tab, 4.0, {1, 1, 1}, j.angaben, e);
    dat3d werte;
    for (auto _ : state) {
        parreadtab gelesen;
        gelesen.name = steuerdateipfad(j.angaben).string();
        TSDaten b;
        bool ok = true;
        lese_tabelle(werte, gelesen, b, ok);
        if (!ok || werte.zeilen(1) != 8760) state.SkipWithError("control file not read back");
        benchmark::DoNotOptimize(werte.wert(8760, 21, 1));
    }
}
BENCHMARK(BM_steuerdatei_lesen)->Unit(benchmark::kMillisecond);

static void BM_ergebnisdatei_20_flaechen_lesen_und_umrechnen(benchmark::State& state) {
    stundenjahr j;
    parreadtab tab;
    for (int s = 1; s <= 20; ++s) schreibe_monatsergebnisse(*j.d, tab, 2.0 * s, {1, 20, s}, j.angaben);
    const einheitenumrechner umrechner = [](const std::string&, const std::string&, const std::string&, int) {
        return umrechnen_struct{0.001, 0.0, "MWh"};
    };
    dat3d werte;
    for (auto _ : state) {
        parreadtab gelesen;
        gelesen.name = j.angaben.ergebnisdatei.string();
        TSDaten b;
        bool ok = true;
        lese_tabelle(werte, gelesen, b, ok);
        rechne_codes_um(gelesen, werte, *j.d, umrechner);
        benchmark::DoNotOptimize(werte.wert(12, 61, 20));
    }
}
BENCHMARK(BM_ergebnisdatei_20_flaechen_lesen_und_umrechnen)->Unit(benchmark::kMillisecond);
