#pragma once
// The cost parameters of one loaded result (`vdatk`, 41 values in output
// units) and how they are gathered from the site data set's tables: energy
// prices and tariffs, component prices, loan, subsidies, accessories and
// maintenance lists.

#include <array>
#include <string>

#include "engine/WP_variables.h"

constexpr int ANZ_KOSTENPARAMETER = 41;
using kostenvektor = std::array<double, ANZ_KOSTENPARAMETER>;

// Named positions of `vdatk`.
namespace kpar {
enum : int {
    preis_nh = 0,                 // k0  price per energy of the auxiliary heating (nh)
    preis_ok = 1,                 // k1  price per energy of the heating without coupling (ok)
    preis_strom = 2,              // k2  price per energy of electricity without nh (pumps, household)
    eta_kraftwerk = 3,            // k3  power-plant efficiency
    eta_zelle = 4,                // k4  cell area x irradiation -> electricity
    preis_kol_oben = 5,           // k5  upper collector, price per area
    preis_kol_unten = 6,          // k6  lower collector, price per area
    netto_kol_unten = 7,          // k7  k6 - k18
    netto_kol_oben = 8,           // k8  k5 - k18
    festkosten = 9,               // k9  other fixed costs
    teile_thermisch = 10,         // k10 thermal parts independent of area (exchanger, stores, accessories)
    teile_pv = 11,                // k11 photovoltaic parts independent of area
    zusatz_heizung = 12,          // k12 extra costs of the heating plant
    netto_teile_thermisch = 13,   // k13 k10 - k19
    netto_teile_pv = 14,          // k14 k11 - k17
    netto_zusatz_heizung = 15,    // k15 k12 - k20
    zuschuss_zelle_flaeche = 16,  // k16 subsidy per cell area
    zuschuss_zelle = 17,          // k17 subsidy for cells, lump sum
    zuschuss_kol_flaeche = 18,    // k18 subsidy per collector area
    zuschuss_kol = 19,            // k19 subsidy for collectors, lump sum
    zuschuss_heizung = 20,        // k20 subsidy for a fired heating plant, lump sum
    teile_pro_kollektor = 21,     // k21 accessories per collector area
    teile_pro_zelle = 22,         // k22 accessories per cell area
    preis_heizung = 23,           // k23 price of the heating plant
    leistung_heizung = 24,        // k24 power of the heating plant
    leistung_zwp = 25,            // k25 power of the intermediate heat pump
    preis_pro_leistung_heizung = 26,  // k26 k23 / k24
    preis_zwp = 27,               // k27 price of the intermediate heat pump
    preis_pro_leistung_zwp = 28,  // k28 k27 / k25
    zinssatz = 29,                // k29 interest rate (fraction)
    laufzeit = 30,                // k30 term of the loan
    zellpreis = 31,               // k31 cell price per area
    netto_zellpreis = 32,         // k32 k31 - k16
    verguetung = 33,              // k33 feed-in remuneration per energy
    dachflaeche = 34,             // k34 largest cell area
    modulflaeche = 35,            // k35 cell area step (one module)
    unterhalt_heizung = 36,       // k36 maintenance of the heating plant per year
    unterhalt_pv = 37,            // k37 maintenance of the cells per year
    unterhalt_thermisch = 38,     // k38 thermal maintenance per year
    unterhalt_thermisch_flaeche = 39,  // k39 thermal maintenance per year and area
    unterhalt_pv_flaeche = 40,    // k40 cell maintenance per year and area
};
}  // namespace kpar

// Label of parameter k in the interface language.
std::string kostenparameter_name(int k);
// Unit of parameter k built from the current output units ("EUR/kWh",
// "EUR/qm", "W", "-", ...).
std::string kostenparameter_einheit(int k);

// What the gathering reads besides `vdatk`.
struct kosten_anlagedaten {
    datt vdatt{};                 // zellmodulflaeche and the collector areas set here; the rest as loaded
    std::string kopplungstyp;     // an.Kopplungstyp
    std::string anzahl_kol;       // an.AnzahlKol
    std::string ohne_kopplung;    // an."Ohne Kopplung"
    std::string leistung_wp;      // an.LeistungWP
};

// Fills `vdatk` and the plant data from the tables named by the current
// `haupt` row, in output units, in the order of the cost window. `vdatt`
// is the parameter vector of the loaded data set (eta_zelle gives k4).
// A referenced row that is missing leaves its parameters 0 and is noted in
// the protocol file.
void lese_kostenparameter(const datt& vdatt, kostenvektor& vdatk, kosten_anlagedaten& anlage);

// Sum of the accessories of the data set's accessory list `haupt.zubehoer`
// in group `gruppe` ("T", "P", "H") with scaling `skalieren` ("J" per area,
// "N" fixed), in the output price unit.
double summe_zubehoer(const std::string& gruppe, const std::string& skalieren);
// Sum of the maintenance items of the list `haupt.unter_liste` under the same
// rule; scaled items are per output area unit.
double summe_unterhalt(const std::string& gruppe, const std::string& skalieren);

// Prices net of subsidies: k8, k7, k32, k15, k13, k14.
void berechne_nettopreise(kostenvektor& vdatk);

// a / b, or 0 when b is 0 (a price per power of a plant without power).
double quotient_oder_null(double a, double b);
