#pragma once
// The run records a collector, air-path, exchanger or month-solution model
// works on, bundled so that the models take one argument instead of ten.
// The context only refers to records; it owns nothing. Callers build it from
// the process-wide state (`laufkontext_aus_zustand`) or, in tests, from
// records of their own.

#include <string>

#include "engine/WP_variables.h"

struct laufkontext {
    const flagchar& numchar;
    datt& vdatt;
    datz& vdatz;
    datz3& pvdatz3;
    ::date& d;               // month results of the run
    ::date3& d3;             // interval results
    ::anlage& pl;            // plant 0: collectors, fan, exchangers, fluids
    const laufsteuerung& lauf;
    const ::stoffdaten& stoffe;  // air table of the site
    kollektorblatt_einheiten kol;

    // Largest collector flow per unit of the run step (maximum `ge`, already
    // divided by the number of collector units).
    double g_s() const { return lauf.maxge; }
    // Collector temperature difference of variant i of the run.
    double delta_t(int i) const { return lauf.mindeltatkol + i * lauf.deltatkol_schritt; }
};

// Context over the process-wide state: numchar, vdatt, vdatz, the working
// series, date3, plant 0, the run-control values, the property tables and the
// collector sheet's model switches, with the month results `d` of the caller.
laufkontext laufkontext_aus_zustand(::date& d);

// True for the time-step methods that follow the intervals one by one:
// (numchar[ndata::zeitraum] = "I" and numchar[ndata::rechenart] = "V") or numchar[ndata::rechenart] "T" or "M".
bool ist_zeitschrittverfahren(const flagchar& numchar);
