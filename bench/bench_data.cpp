// Figures of the data store: opening all 46 tables, inserting 10 000 detail
// rows in one transaction, 100 000 exact key lookups.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "data/datenbank.h"
#include "lang/meldung.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

fs::path neues_verzeichnis(const char* name) {
    std::random_device rd;
    fs::path p =
        fs::temp_directory_path() / (std::string("varnek_bench_") + name + "_" + std::to_string(rd()));
    fs::create_directories(p);
    return p;
}

void fuelle_details(tabelle& t, int monate, int intervalle) {
    transaktion tr(t);
    for (int m = 1; m <= monate; ++m)
        for (int n = 1; n <= intervalle; ++n) {
            t.einfuegen();
            t.setze("name", std::string("Potsdam 2019"));
            t.setze("monat", int64_t{m});
            t.setze("nummer", int64_t{n});
            t.setze("ir_g", 0.1 * n);
            t.setze("tamin", 5.0);
            t.setze("tamax", 5.0);
            t.setze("h", 1.0);
            t.setze("hm", n - 0.5);
            t.setze("zeitintervall", std::string("A"));
            t.speichern();
        }
    tr.bestaetigen();
}

// Opening (connecting, checking the schema of) all 46 existing table files.
void BM_Oeffne_alle_46_Tabellen(benchmark::State& state) {
    const fs::path dir = neues_verzeichnis("oeffnen");
    SetDataBase(dir);  // creates the files once
    for (auto _ : state) SetDataBase(dir);
    schliesse_alle_tabellen();
    fs::remove_all(dir);
}
BENCHMARK(BM_Oeffne_alle_46_Tabellen)->Unit(benchmark::kMillisecond);

// 10 000 weather detail rows (12 months x 834 intervals is above the month
// limit, so 10 months x 1000 intervals) in one transaction.
void BM_Fuege_10000_Detailzeilen_ein(benchmark::State& state) {
    const fs::path dir = neues_verzeichnis("einfuegen");
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(dir / "IR_TA_D.sqlite");
        tabelle t;
        t.oeffne(dir / "IR_TA_D.sqlite", tabellenschema(tir_ta_d));
        state.ResumeTiming();
        fuelle_details(t, 10, 1000);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
    fs::remove_all(dir);
}
BENCHMARK(BM_Fuege_10000_Detailzeilen_ein)->Unit(benchmark::kMillisecond);

// 100 000 exact lookups of (name, monat, nummer) in a 10 000-row table.
void BM_100000_exakte_Suchen(benchmark::State& state) {
    const fs::path dir = neues_verzeichnis("suchen");
    tabelle t;
    t.oeffne(dir / "IR_TA_D.sqlite", tabellenschema(tir_ta_d));
    fuelle_details(t, 10, 1000);
    std::mt19937 zufall(42);
    std::uniform_int_distribution<int> monat(1, 10), nummer(1, 1000);
    const feldwert name = std::string("Potsdam 2019");
    int64_t gefunden = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i)
            gefunden += t.suche({name, int64_t{monat(zufall)}, int64_t{nummer(zufall)}});
    }
    if (gefunden != static_cast<int64_t>(state.iterations()) * 100000) state.SkipWithError("lookup missed");
    state.SetItemsProcessed(state.iterations() * 100000);
    t.schliesse();
    fs::remove_all(dir);
}
BENCHMARK(BM_100000_exakte_Suchen)->Unit(benchmark::kMillisecond);

}  // namespace
