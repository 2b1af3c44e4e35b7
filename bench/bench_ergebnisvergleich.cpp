// The results window's figures: loading six hourly result files (control
// files of a year of hourly intervals, 8760 rows × 21 columns each) into the
// comparison store, and building the largest chart (six curves of 2000 points
// on each axis) for the chart window, with its CSV table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "engine/WP_variables.h"
#include "results/ergebnis_csv.h"
#include "results/ergebnisdatei_schreiben.h"
#include "results/ergebnisgraphik.h"
#include "results/ergebnisvergleich.h"
#include "results/graphdaten.h"
#include "results/graphkalk.h"

namespace {

constexpr int tage[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Six control files of one area each, 8760 hourly rows.
struct sechs_stundendateien {
    std::filesystem::path ordner =
        std::filesystem::temp_directory_path() / ("varnek_bench_vergleich_" + std::to_string(::getpid()));
    std::vector<std::filesystem::path> dateien;
    std::unique_ptr<datm> d = std::make_unique<datm>();

    sechs_stundendateien() {
        std::filesystem::create_directories(ordner);
        auto eingaben = std::make_unique<datz3>();
        for (int m = 1; m <= 12; ++m) {
            setze_intervalle(m, tage[m - 1] * 24);
            for (int k = 1; k <= tage[m - 1] * 24; ++k) {
                (*eingaben)[zdata::ho][m][k] = 1.0;
                (*eingaben)[zdata::is0][m][k] = (k % 24 > 6 && k % 24 < 18) ? 35.0 * (k % 24) : 0.0;
                (*eingaben)[zdata::ta][m][k] = -5.0 + m + (k % 24) * 0.37;
                for (int h = 0; h < ANZ_FELD3; ++h) d->feld3[h][m][k] = h * 12.345 + k * 0.001;
            }
        }
        for (int h = 0; h < ANZ_FELD3; ++h) d->ausgabe_einheit_3[h] = "kWh";
        for (int q = 0; q < ANZ_ADATA; ++q) {
            d->ausgabe_einheit[q] = "kWh";
            d->kennzeichen[q] = "EN";
        }
        intervalleingaben e;
        e.pvdatz3 = eingaben.get();
        for (int f = 1; f <= ergebnisvergleich::MAXDATEIEN; ++f) {
            ergebnisdatei_angaben a;
            a.hauptname = "Standort " + std::to_string(f);
            a.ergebnisverzeichnis = ordner;
            a.steuername = "stunden_" + std::to_string(f);
            a.flaecheneinheit = "qm";
            parreadtab tab;
            schreibe_intervallergebnisse(*d, tab, 4.0, {1, 1, 1}, a, e);
            dateien.push_back(steuerdateipfad(a));
        }
    }
    ~sechs_stundendateien() { std::filesystem::remove_all(ordner); }
};

const einheitenumrechner gleich = [](const std::string&, const std::string& nach, const std::string&, int) {
    return umrechnen_struct{1.0, 0.0, nach};
};

}  // namespace

static void BM_sechs_stundendateien_laden(benchmark::State& state) {
    sechs_stundendateien s;
    for (auto _ : state) {
        ergebnisvergleich v;
        for (const auto& p : s.dateien) v.lade(p, *s.d, gleich, "qm");
        if (v.anzahl() != 6 || v.datei(6).zeilenzahl(1) != 8760) state.SkipWithError("files not loaded");
        benchmark::DoNotOptimize(v.datei(6).werte.wert(8760, 21, 1));
    }
    state.counters["rows"] = 6.0 * 8760.0;
}
BENCHMARK(BM_sechs_stundendateien_laden)->Unit(benchmark::kMillisecond);

static void BM_groesste_graphik(benchmark::State& state) {
    sechs_stundendateien s;
    ergebnisvergleich v;
    for (const auto& p : s.dateien) v.lade(p, *s.d, gleich, "qm");
    auto links = std::make_unique<graphdata>();
    auto rechts = std::make_unique<graphdata>();
    graphkalk fenster;
    monatsgraphik_auswahl a;
    a.groesse = adata::zei;
    a.art = konstante_variable::flaeche;
    a.flaeche = 4.0;
    for (auto _ : state) {
        // Six curves over the rows (at most 2000 points each) and the same
        // six on the right, drawn by the chart window.
        baue_monatsgraphik(v, a, *links, *rechts);
        *rechts = *links;
        fenster.besetzeSeries(*links, *rechts, MAXGRAPHPUNKTE, true, 1);
        if (fenster.anzeige().serien.size() != 12 || fenster.anzeige().serien[11].punkte.size() != 2000)
            state.SkipWithError("chart not complete");
        benchmark::DoNotOptimize(fenster.anzeige().links.max);
    }
}
BENCHMARK(BM_groesste_graphik)->Unit(benchmark::kMillisecond);

static void BM_stundendatei_als_csv(benchmark::State& state) {
    sechs_stundendateien s;
    ergebnisvergleich v;
    v.lade(s.dateien.front(), *s.d, gleich, "qm");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = als_csv(tabelle_der_scheibe(v.datei(1), 1));
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_stundendatei_als_csv)->Unit(benchmark::kMillisecond);
