#pragma once
// Preparation of a run around the period loop (inflow temperatures, monthly
// demand with the long-term store, interval demand) and the evaluation of the
// year afterwards (yearly figures, conversion of the results to output units).

#include <functional>
#include <string>

#include "engine/WP_variables.h"

// Inflow temperature series: tein := tk of the month (end-reservoir coupling)
// or the interval's outdoor temperature.
void eintrittstemperaturen_fuellen(const flagchar& numchar, const datz& vdatz, datz3& pvdatz3);

// Monthly demand and temperatures of area step A, with the energy shifted
// into the charge months of the long-term store.
void monatsvorbereitung(const flagchar& numchar, datz& vdatz, const anlage& a0, double A);

// Demand of every interval (date3.equer_verbrauch) from the monthly demand.
void intervallbedarf(const flagchar& numchar, const datz& vdatz, const datz3& pvdatz3,
                     ::date3& d3);
// The same for month m; `melden` reports a month without hours to spread over.
void intervallbedarf_monat(const flagchar& numchar, const datz& vdatz, const datz3& pvdatz3,
                           ::date3& d3, int m, bool melden);

// Yearly figures of datm (collector ratios, ground area, weighted efficiency,
// coverage, seasonal performance, storage volume per day).
void jahresauswertung(::datm& d, const datz3& pvdatz3_2, const speicher& puffer,
                      const datz& vdatz, const datt& vdatt, const flagchar& numchar);

// Conversion between two units of a quantity: (from, to, quantity code).
using einheiten_umrechner =
    std::function<umrechnen_struct(const std::string&, const std::string&, const std::string&)>;

// Converts feld and feld3 of datm from their program units into their output units.
void ergebnisse_umrechnen(::datm& d, const einheiten_umrechner& umrechner);
