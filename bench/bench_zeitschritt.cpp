// Figures of the time-step kernels on the hourly data set of the default
// database with the temperature method ("EFH Potsdam 2019 stuendlich
// Temperatur": intermediate coupling, counter-flow exchanger, measured
// hourly weather), prepared as a run prepares the area step of 18 qm:
//  - the velocity kernel for one `ge` step over July (744 intervals), and
//    over the first N intervals of July (how time grows with the intervals);
//  - the temperature kernel over July, which tries all 100 `ge` steps of
//    every interval.
// Items are interval-steps: one interval computed for one `ge` step.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "app/lese_daten_ein.h"
#include "app/simulation_run.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/laufvorbereitung.h"
#include "engine/models/speicher.h"
#include "engine/temperaturkern.h"
#include "engine/zeitschritt.h"
#include "input/demo_datenbank.h"
#include "lang/meldung.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

constexpr int MONAT = 7;
constexpr double FLAECHE = 18.0;

// The loaded and prepared run state, built once for all benchmarks.
struct vorbereiteter_lauf {
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    monatsfeld ziel{};
    int zaehler = 0;
    std::unique_ptr<periodenkontext> k;
    int intervalle_juli = 0;
    bool ok = false;

    vorbereiteter_lauf() {
        std::random_device rd;
        const fs::path db = fs::temp_directory_path() / ("varnek_bench_kerne_" + std::to_string(rd()));
        setze_protokollverzeichnis(fs::temp_directory_path());
        erzeuge_default_datenbank_in(db);
        DefaultEinstellungen();
        definiere_haupteinheiten();
        SetDataBase(db);
        lese_ausgabe_einheiten();
        tabelle& h = tab(thaupt);
        h.sortiere_nach_index("iname");
        if (!h.suche({feldwert(std::string("EFH Potsdam 2019 stuendlich Temperatur"))})) return;
        flagchar& nc = zustand::numchar();
        nc[ndata::meldungsmodus] = "S";
        nc[ndata::einstrahlung_berechnen] = "J";
        bool dbflag = false;
        if (!lese_daten_ein(Tvg().pvdatz3[0], Tvg().pvdatz3[1], dbflag)) return;
        schliesse_alle_tabellen();
        fs::remove_all(db);

        // An optimisation run (100 `ge` steps), its first area step of 18 qm.
        nc[ndata::laufart] = "N";
        nc[ndata::kontrolllauf] = "N";
        nc[ndata::stopp] = "N";
        datt& v = zustand::vdatt();
        datz& z = zustand::vdatz();
        datz3& p = zustand::pvdatz3(1);
        laufsteuerung& l = zustand::lauf();
        initialisiere_laufrecords(*d);
        eintrittstemperaturen_fuellen(nc, z, p);
        anlage& a0 = zustand::anlage(0);
        a0.n = static_cast<int32_t>(std::nearbyint(FLAECHE / v[tdata::daf]));
        ttief(z, p, v, nc);
        loesche_intervallergebnisse(*d);
        monatsvorbereitung(nc, z, a0, FLAECHE);
        intervallbedarf(nc, z, p, zustand::date3());
        l.maxge = 5e-5 / a0.n;
        l.minge = 5e-8 / a0.n;
        v[tdata::ww_leistung] = l.minleistwp;
        zustand::monatstart() = MONAT;  // the month starts from reset stores
        k = std::make_unique<periodenkontext>(periodenkontext{
            zaehler, 1, z, *links, nullptr, ziel, zustand::date3(), *d, nc, zustand::datm_serie(), v, p,
            FLAECHE});
        bereite_variantenbereich_vor(nc, l);
        k->ge = bereite_ge_bereich_vor(nc, l, FLAECHE);
        intervalle_juli = intervalle(MONAT);
        ok = intervalle_juli > 0;
    }

    // The working plant at the month start, as the month step sets it.
    anlage& monatsstart() {
        for (int i : {0, 1}) setze_anlage_speicher_zurueck(zustand::anlage(i), FLAECHE, 30.0);
        anlage& arbeit = zustand::anlage(1);
        monatsbeginn(arbeit, *d, MONAT);
        return arbeit;
    }
};

vorbereiteter_lauf& lauf() {
    static vorbereiteter_lauf l;
    return l;
}

void BM_geschwindigkeitskern(benchmark::State& state) {
    vorbereiteter_lauf& l = lauf();
    if (!l.ok) {
        state.SkipWithError("data set not loaded");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    setze_intervalle(MONAT, std::min(n, l.intervalle_juli));
    for (auto _ : state) {
        anlage& arbeit = l.monatsstart();
        benchmark::DoNotOptimize(geschwindigkeitskern(*l.k, MONAT, 50, arbeit, 0));
    }
    state.SetItemsProcessed(state.iterations() * intervalle(MONAT));
    setze_intervalle(MONAT, l.intervalle_juli);
}
BENCHMARK(BM_geschwindigkeitskern)->Arg(24)->Arg(96)->Arg(384)->Arg(744)->Unit(benchmark::kMicrosecond);

void BM_temperaturkern(benchmark::State& state) {
    vorbereiteter_lauf& l = lauf();
    if (!l.ok) {
        state.SkipWithError("data set not loaded");
        return;
    }
    for (auto _ : state) {
        anlage& arbeit = l.monatsstart();
        benchmark::DoNotOptimize(temperaturkern(*l.k, MONAT, arbeit));
    }
    // Every interval is computed for each `ge` step of the search range.
    state.SetItemsProcessed(state.iterations() * l.intervalle_juli * l.k->ge.anzahl);
}
BENCHMARK(BM_temperaturkern)->Unit(benchmark::kMillisecond);

}  // namespace
