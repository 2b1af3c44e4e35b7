// Month solutions of reservoir-coupled plants over an hourly month (744
// intervals): time per call of zwischenreservoir_monat and endreservoir_monat
// and the number of passes each needs (counter "durchlaeufe").
//
// Fixture: the measured hourly weather of 2019 at Potsdam (DWD station 3987,
// data/reference/weather_potsdam_2019_dwd_hourly.csv). The global horizontal
// irradiance stands in for the irradiance on the collector plane (the tilted
// plane is computed by the irradiance step of the input preparation, which
// the models do not need). Collector and heat pump: the values of the default
// database (collector "Euro C 20 lin": 2 m² per unit, eta0 0.75, U 4.11
// W/m²K; heat pump "wp0": linear COP -0.10412 K⁻¹ lift + 8.93838).
// Plant: 10 units (20 m²), largest flow 60 l/h per unit; heat demand of the
// intermediate plant 250 W/K below 15 °C outdoor; planned store energy of the
// end-reservoir plant 8 kWh per day. The planned energy of the intermediate
// plant is its heat demand of the month: months whose collector energy stays
// below it need one pass, sunnier months are iterated.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/models/laufkontext.h"
#include "engine/models/reservoir.h"
#include "lang/meldung.h"

namespace {

struct stunde {
    double ghi = 0.0;
    double ta = 0.0;
};

std::vector<stunde> lies_wetter() {
    std::ifstream datei(std::string(VARNEK_SOURCE_DIR) +
                        "/data/reference/weather_potsdam_2019_dwd_hourly.csv");
    std::vector<stunde> jahr;
    std::string zeile;
    std::getline(datei, zeile);  // header
    while (std::getline(datei, zeile)) {
        std::stringstream z(zeile);
        std::string feld[5];
        for (auto& f : feld) std::getline(z, f, ',');
        jahr.push_back({std::stod(feld[2]), std::stod(feld[4])});
    }
    return jahr;
}

[[gnu::noinline]] void setze_code(flagchar& nc, int pos, const std::string& wert) {
    nc[static_cast<size_t>(pos)] = wert;
}

struct monatszustand {
    std::unique_ptr<datt> vdatt = std::make_unique<datt>();
    std::unique_ptr<datz> vdatz = std::make_unique<datz>();
    std::unique_ptr<datz3> pvdatz3 = std::make_unique<datz3>();
    std::unique_ptr<::date> d = std::make_unique<::date>();
    std::unique_ptr<::date3> d3 = std::make_unique<::date3>();
    std::unique_ptr<anlage> pl = std::make_unique<anlage>();
    std::unique_ptr<stoffdaten> stoffe = std::make_unique<stoffdaten>();
    laufsteuerung lauf{};
    flagchar numchar{};
    std::unique_ptr<laufkontext> k;

    // Month m (1..12) of 2019, hour by hour; `kopplung` "Z" or "E".
    monatszustand(int m, const char* kopplung) {
        static const std::vector<stunde> jahr = lies_wetter();
        static const int tage[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        int start = 0;
        for (int i = 1; i < m; ++i) start += 24 * tage[i];
        const int n = 24 * tage[m];
        setze_intervalle(m, n);

        using namespace ndata;
        for (auto [pos, code] :
             {std::pair{int{kopplungstyp}, kopplung}, {luftwaermetauscher, "N"}, {ohne_kopplung, "L"},
              {anzahl_kollektoren, "E"}, {modelltyp_we, "L"}, {modelltyp_ww, "L"}, {kopplungsart, "A"},
              {gegenstrom, "K"}, {rechenart, "A"}, {zeitraum, "M"}, {kollektorschritt_fertig, "J"},
              {meldungsmodus, "S"}}) {
            setze_code(numchar, pos, code);
        }
        datt& v = *vdatt;
        v[tdata::kollektorfluid_cpf] = 3800.0;  // collector fluid: heat capacity, density
        v[tdata::kollektorfluid_dichte] = 1030.0;
        v[tdata::kol_oben_verlust] = -0.411;
        v[tdata::kol_oben_konversion] = 0.75;
        v[tdata::flaeche_kol_oben] = v[tdata::daf] = 2.0;
        v[tdata::ww_c1] = v[tdata::we_c1] = -0.10412;
        v[tdata::ww_c2] = v[tdata::we_c2] = 8.93838;
        v[tdata::kollektorfluid_gefrierpunkt] = -25.0;
        lauf.maxge = 60.0 / 3.6e6;
        datz& z = *vdatz;
        double ta_summe = 0.0, bedarf = 0.0;
        for (int s = 1; s <= n; ++s) {
            const stunde& h = jahr[static_cast<size_t>(start + s - 1)];
            (*pvdatz3)[zdata::is0][m][s] = h.ghi;
            (*pvdatz3)[zdata::ir][m][s] = h.ghi / 1000.0;
            (*pvdatz3)[zdata::ta][m][s] = h.ta;
            (*pvdatz3)[zdata::ho][m][s] = 1.0;
            d3->equer_verbrauch[m][s] = std::max(0.0, 15.0 - h.ta) * 0.25;
            ta_summe += h.ta;
            bedarf += d3->equer_verbrauch[m][s];
        }
        z[zdata::ta][m] = ta_summe / n;
        if (std::string(kopplung) == "Z") {
            z[zdata::twv][m] = 35.0;
            z[zdata::rwv][m] = 28.0;
            z[zdata::ewv][m] = bedarf;
        } else {
            z[zdata::twv][m] = 60.0;
            z[zdata::rwv][m] = 20.0;
            z[zdata::ewv][m] = 8.0 * tage[m];
        }
        k = std::make_unique<laufkontext>(laufkontext{numchar, v, z, *pvdatz3, *d, *d3, *pl, lauf,
                                                      *stoffe, {}});
    }
};

// One month solution over month state.range(0) of the given coupling, with
// its passes, intervals and collector energy as counters.
void miss_monatsloesung(benchmark::State& state, const char* kopplung,
                        int (*loesung)(laufkontext&, int, double)) {
    const int m = static_cast<int>(state.range(0));
    monatszustand z(m, kopplung);
    int durchlaeufe = 0;
    for (auto _ : state) {
        durchlaeufe = loesung(*z.k, m, 20.0);
        benchmark::DoNotOptimize(z.d3->er[m][intervalle(m)]);
    }
    double er = 0.0;
    for (int s = 1; s <= intervalle(m); ++s) er += z.d3->er[m][s];
    state.counters["durchlaeufe"] = durchlaeufe;
    state.counters["intervalle"] = intervalle(m);
    state.counters["er_kWh"] = er;
    setze_intervalle(m, 0);
}

void BM_ZwischenreservoirMonat(benchmark::State& state) {
    miss_monatsloesung(state, "Z", zwischenreservoir_monat);
}
BENCHMARK(BM_ZwischenreservoirMonat)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

void BM_EndreservoirMonat(benchmark::State& state) {
    miss_monatsloesung(state, "E", endreservoir_monat);
}
BENCHMARK(BM_EndreservoirMonat)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

}  // namespace
