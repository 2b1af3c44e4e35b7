// Figures of the interval kernel on the hourly data sets of the default
// database ("EFH Potsdam 2019 stuendlich Intervall M": intermediate coupling,
// counter-flow exchanger, measured hourly weather; "... Reservoir": the 10 m³
// intermediate reservoir as exchanger, blocks of `maxmittemp` hours),
// prepared as a run prepares the area step of 18 qm, over July (744
// intervals):
//  - art "M" in month mode: one `ge` step per interval, the temperature
//    variants of every block (0..anzdeltatkol);
//  - art "V" in interval mode: every interval tries all `ge` steps of the
//    range for every variant.
// Items are interval-steps: one interval computed for one variant and one
// `ge` step, as the kernel counts them, snapshot copies included.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "app/lese_daten_ein.h"
#include "app/simulation_run.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/intervallkern.h"
#include "engine/laufvorbereitung.h"
#include "engine/models/speicher.h"
#include "input/demo_datenbank.h"
#include "lang/meldung.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

constexpr int MONAT = 7;
constexpr double FLAECHE = 18.0;

// One data set loaded and prepared for its first area step of 18 qm.
struct vorbereiteter_lauf {
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    monatsfeld ziel{};
    int zaehler = 0;
    std::unique_ptr<periodenkontext> k;
    bool ok = false;

    explicit vorbereiteter_lauf(const std::string& name) {
        std::random_device rd;
        const fs::path db = fs::temp_directory_path() / ("varnek_bench_ik_" + std::to_string(rd()));
        setze_protokollverzeichnis(fs::temp_directory_path());
        erzeuge_default_datenbank_in(db);
        DefaultEinstellungen();
        definiere_haupteinheiten();
        SetDataBase(db);
        lese_ausgabe_einheiten();
        tabelle& h = tab(thaupt);
        h.sortiere_nach_index("iname");
        const bool gefunden = h.suche({feldwert(name)});
        flagchar& nc = zustand::numchar();
        nc[ndata::meldungsmodus] = "S";
        nc[ndata::einstrahlung_berechnen] = "J";
        bool dbflag = false;
        const bool gelesen = gefunden && lese_daten_ein(Tvg().pvdatz3[0], Tvg().pvdatz3[1], dbflag);
        schliesse_alle_tabellen();
        fs::remove_all(db);
        if (!gelesen) return;

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
        zustand::monatstart() = MONAT;
        k = std::make_unique<periodenkontext>(periodenkontext{
            zaehler, 1, z, *links, nullptr, ziel, zustand::date3(), *d, nc, zustand::datm_serie(), v, p,
            FLAECHE});
        bereite_variantenbereich_vor(nc, l);
        k->ge = bereite_ge_bereich_vor(nc, l, FLAECHE);
        ok = intervalle(MONAT) > 0;
    }
};

// The state is process-wide: the data set last prepared is the one loaded.
vorbereiteter_lauf& lauf(const std::string& name) {
    static std::string geladen;
    static std::unique_ptr<vorbereiteter_lauf> l;
    if (geladen != name) {
        l = std::make_unique<vorbereiteter_lauf>(name);
        geladen = name;
    }
    return *l;
}

const char* const DATENSATZ[] = {"EFH Potsdam 2019 stuendlich Intervall M",
                                 "EFH Potsdam 2019 stuendlich Intervall M Reservoir"};

// Interval kernel over July; `zeitraum` "M" computes the month's `ge` step
// 50, "I" tries the whole `ge` range in every interval (as art "V" in
// interval mode).
void miss_monat(benchmark::State& state, const char* zeitraum) {
    vorbereiteter_lauf& l = lauf(DATENSATZ[state.range(0)]);
    if (!l.ok) {
        state.SkipWithError("data set not loaded");
        return;
    }
    flagchar& nc = zustand::numchar();
    const std::string zeitraum_vorher = nc[ndata::zeitraum];
    nc[ndata::zeitraum] = zeitraum;
    laufsteuerung& lk = zustand::lauf();
    const int varianten = FLAECHE > 0.0 ? lk.anzdeltatkol + 1 : 1;
    long schritte = 0;
    for (auto _ : state) {
        for (int i : {0, 1}) setze_anlage_speicher_zurueck(zustand::anlage(i), FLAECHE, 30.0);
        monatsbeginn(zustand::anlage(0), *l.d, MONAT);
        int m = MONAT;
        const kernergebnis e = intervallkern(*l.k, m, 50, headless_steuerpunkte());
        schritte += e.intervallschritte;
        benchmark::DoNotOptimize(e);
    }
    nc[ndata::zeitraum] = zeitraum_vorher;
    // The interval-steps the kernel computed (an interval whose outflow
    // reached its limit tries no further `ge` steps).
    state.SetItemsProcessed(schritte);
    state.counters["intervalle"] = intervalle(MONAT);
    state.counters["varianten"] = varianten;
    state.counters["schritte_je_monat"] = static_cast<double>(schritte) / static_cast<double>(state.iterations());
    state.SetLabel(DATENSATZ[state.range(0)]);
}

void BM_intervallkern_monatsmodus(benchmark::State& state) { miss_monat(state, "M"); }
BENCHMARK(BM_intervallkern_monatsmodus)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_intervallkern_intervallmodus(benchmark::State& state) { miss_monat(state, "I"); }
BENCHMARK(BM_intervallkern_intervallmodus)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The snapshot copy alone: month-m results and the two stores of plant 0
// into a slot and back, as one `ge` attempt restores and one kept step saves.
void BM_schnappschuss(benchmark::State& state) {
    vorbereiteter_lauf& l = lauf(DATENSATZ[0]);
    if (!l.ok) {
        state.SkipWithError("data set not loaded");
        return;
    }
    const kernslots sl = kernslots_des_zustands();
    const schnappschuss arbeit{*l.d, zustand::anlage(0)};
    for (auto _ : state) {
        kopiere_slot(arbeit, sl.bester_schritt, MONAT);
        kopiere_slot(sl.bester_schritt, arbeit, MONAT);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_schnappschuss);

}  // namespace
