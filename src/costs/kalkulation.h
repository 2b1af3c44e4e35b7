#pragma once
// The cost calculation: up to six loaded results (data indexes), each with
// the cost parameters of its site data set, and for every collector area the
// yearly costs: annuity of the investment plus energy bills minus solar-cell
// income plus maintenance.
//
// All values are in the current output units; the monthly irradiation and
// electricity consumption of the data set are kept as loaded (main units).

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "costs/kostenparameter.h"
#include "engine/WP_variables.h"
#include "results/ergebnistabelle.h"

constexpr int MAX_DATENINDEX = 6;
constexpr int MAX_KOSTENFLAECHEN = MAXSCHEIBEN;  // sections of a result file

using flaechenfeld = std::array<double, MAX_KOSTENFLAECHEN + 1>;  // [1..20]

// Cell-area modes of the radio group "Fläche".
namespace zellmodus {
enum : int { feste_flaeche = 0, heizung = 1, gesamt_el = 2, nullenergie = 3, variieren = 4, pvt = 5 };
}

// The values of one section (collector area) of a result that the costs use.
struct kosten_scheibe {
    double flaeche = 0.0;  // section key: collector area
    // Row 1 (yearly figures and January powers).
    double jkk = 0.0, lok = 0.0, lnh = 0.0, flz = 0.0, flz_ee = 0.0, flz_ges_heiz = 0.0;
    // Months 1..12.
    monatsfeld nh{}, ok{}, zpk{}, zpk_l{}, er{}, ereif{};
};

// Where a result came from (the `result` row, or the file itself).
struct resultat_herkunft {
    std::string haupteingabefile, ort, land, bezirk;
    std::string einlesefile;  // result.pfad + result.name (printout)
};

// One loaded result: the per-index arrays of the cost window.
struct kosten_datenindex {
    std::filesystem::path dateiname;
    resultat_herkunft herkunft;

    int isolarzellen = 0;             // 1 = solar cells included
    int iheizung = 1;                 // 1 = heat demand included
    int iradioGroupSf = zellmodus::gesamt_el;
    double hfn = 0.0;                 // 1 = heating plant bought for the first area only
    double aszf = 0.0;                // fixed cell area

    kostenvektor vdatk{};
    kosten_anlagedaten anlage;        // module and collector areas in vdatt, and the plant codes
    flagchar numchar{};               // codes of the loaded data set
    monatsfeld einstrahlung{};        // vdatz_k: irradiation on the collector plane
    monatsfeld stromverbrauch{};      // vdatz_k: electricity consumption without heating
    double strom_ohne_heizung = 0.0;  // "Strom ohne Heizung" (yearly, output energy unit)
    double jahreswaermebedarf = 0.0;  // heat demand of the site per year (output energy unit)

    int anzahl_flaechen = 0;
    std::array<kosten_scheibe, MAX_KOSTENFLAECHEN + 1> scheibe{};  // [1..anzahl_flaechen]

    // Filled by BerechneEnergieAnteile and the cell-area preparation.
    flaechenfeld energie_g{}, energie_nh{}, energie_oh{}, energie_pump{}, thermische_solarenergie{};
    flaechenfeld leistung_lok{}, leistung_lnh{};
    flaechenfeld vdatflz3{}, vdatflz_ee3{}, vdatflz_ges_heiz{};
    flaechenfeld vdate3{}, vdateel3{};
};

// Everything the cost window holds.
struct kalkulationsdaten {
    std::vector<kosten_datenindex> index;  // data index d = position + 1; indexGraphik = size
    int pindexgraphik = 1;                 // data index shown ("Datenindex")
    double kollektorflaeche_fest = 0.0;    // Edit1: collector area in mode "Zellfläche variieren"
};

// Reads a result file (self-describing, values converted to the current
// output units) into the sections of `d`. False (with "Fehler: Falsches
// Datenformat" or the section-count error reported) when it cannot be read.
bool lies_kostenresultat(const std::filesystem::path& datei, kosten_datenindex& d, std::string* datensatzname = nullptr);

// Adds a result as the next data index. The caller has positioned `haupt` on
// the result's data set and loaded it (the run state holds its inputs).
// Refuses a seventh result ("Maximalzahl einzulesender Dateien: 6") and a
// file that cannot be read; returns false then and nothing is added.
bool resultat_einlesen(kalkulationsdaten& k, const std::filesystem::path& datei, const resultat_herkunft& herkunft);

// Yearly energies and heating powers per area of index d (only with heat demand).
void BerechneEnergieAnteile(kosten_datenindex& d);
// Cell areas and electricity demands per area of index d.
void bereite_zellflaechen_vor(kosten_datenindex& d);
// Electricity that the heating of section s draws over the year (the part of
// the heating energies that the heating-type conversion counts as electricity).
double heizstrom(const kosten_datenindex& d, int s);

// Scales the monthly consumption of index d to the yearly value `jahreswert`,
// keeping its monthly shape ("Verbrauch skalieren").
void skaliere_verbrauch(kosten_datenindex& d, double jahreswert);

// Annuity of investment K over n periods at interest p: K / n when
// (1 + p)^n = 1, else p K q / (q - 1) with q = (1 + p)^n.
double annuitaet(double K, double p, double n);

// Where the cell electricity of one area goes over the year.
struct solarstrom {
    double einspeisung = 0.0;       // fed into the grid
    double eigenverbrauch = 0.0;    // used for household and pumps
    double nachheizung = 0.0;       // used for the auxiliary heating
    double zukauf = 0.0;            // household consumption the cells do not cover
    double erzeugt() const { return einspeisung + eigenverbrauch + nachheizung; }
};
// Distributes the production of cell area `zellflaeche` month by month over
// consumption, pump energy, auxiliary heating and feed-in, for section s.
solarstrom verteile_solarstrom(const kosten_datenindex& d, int s, double zellflaeche);

// One point of the cost curves: the yearly costs of one area of one index.
struct kostenpunkt {
    int s = 0;                   // section of the result
    double x = 0.0;              // collector area (mode "Zellfläche variieren": cell area)
    double flaeche = 0.0;        // collector area
    double zellflaeche = 0.0;    // solar-cell area
    double investition = 0.0;    // K
    double annuitaet = 0.0;      // a
    double energiekosten = 0.0;  // energy bills (heating energies, pumps, household electricity)
    double solarertrag = 0.0;    // value of the cell electricity (feed-in, own use, auxiliary heating)
    double unterhalt = 0.0;      // maintenance per year
    double jahreskosten = 0.0;   // y = a + energiekosten - solarertrag + unterhalt
    solarstrom strom;            // cell electricity flows
};

// The cost points of index d (1-based) over its x range ("berechne_kosten"),
// with the net prices recomputed first.
std::vector<kostenpunkt> berechne_kosten(kalkulationsdaten& k, int d);
