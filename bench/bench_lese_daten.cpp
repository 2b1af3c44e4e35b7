// Figure of loading: the hourly data set of the default database (8760
// weather rows) with hourly heating and hot-water demand (2 x 8760 rows).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "app/lese_daten_ein.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "input/demo_datenbank.h"
#include "lang/meldung.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

void BM_lade_stuendlichen_datensatz(benchmark::State& state) {
    std::random_device rd;
    const fs::path db = fs::temp_directory_path() / ("varnek_bench_laden_" + std::to_string(rd()));
    setze_protokollverzeichnis(fs::temp_directory_path());
    erzeuge_default_datenbank_in(db);
    DefaultEinstellungen();
    definiere_haupteinheiten();
    SetDataBase(db);
    lese_ausgabe_einheiten();

    tabelle& h = tab(thaupt);
    h.sortiere_nach_index("iname");
    if (!h.suche({feldwert(std::string("test_ir_D_EJEG_IAAN-D_st0"))})) {
        state.SkipWithError("data set missing");
        return;
    }
    // Hourly demand as well.
    h.bearbeiten();
    h.setze("eh_m", std::string("eh0_d"));
    h.setze("ew_m", std::string("ew0_d"));
    h.speichern();

    zustand::numchar()[ndata::meldungsmodus] = "S";
    zustand::numchar()[ndata::einstrahlung_berechnen] = "J";
    bool dbflag = false;
    for (auto _ : state) {
        lese_daten_ein(Tvg().pvdatz3[0], Tvg().pvdatz3[1], dbflag);
        benchmark::DoNotOptimize(zustand::vdatz());
    }
    schliesse_alle_tabellen();
    fs::remove_all(db);
}
BENCHMARK(BM_lade_stuendlichen_datensatz)->Unit(benchmark::kMillisecond);

}  // namespace
