#pragma once
// Trace of the decisions of the month steps: what every attempt at an
// interval gave (the `ge` step, the inflow-temperature variant, the
// interval's heat and electricity and its objective value), which attempt the
// kernel kept, and the month values of the month-mode `ge` steps. A run
// records nothing unless a trace is attached; the runner's `trace` command
// prints one.
#include <memory>

#include "engine/WP_variables.h"

// The state of one interval after an attempt: collector loop, energies (kWh)
// and the mean temperatures of the stores (°C) at the interval's end.
struct spurwerte {
    double tein = 0.0, tf = 0.0, tf_s = 0.0, vel = 0.0;  // inflow, outflow (heat-pump and collector side) °C, flow m³/s
    double es = 0.0, ls = 0.0, er = 0.0, eg = 0.0;  // collector, air, coupling, heat delivered
    double elp = 0.0, nh = 0.0, ok = 0.0;           // pump, intermediate and main heat pump electricity
    double virtuell = 0.0;                          // virtual heat-pump electricity (store shortfall)
    double copww = 0.0;
    double bedarf = 0.0;                            // the interval's heat demand
    double t_puffer = 0.0, t_puffer_oben = 0.0, t_zwischen = 0.0, t_lang = 0.0;
    char16_t twf = u'N', wpaus = u'N';
};

// Reads the interval's values from the interval results and the plant.
spurwerte spurwerte_des_intervalls(const ::date3& d3, const datz3& pvdatz3, const anlage& a, int m,
                                   int s);

class entscheidungsspur {
public:
    virtual ~entscheidungsspur() = default;
    // Whether month m of the area step with area A is traced; the kernels
    // record nothing of other months.
    virtual bool verfolgt(int m, double A) const = 0;
    // One attempt at interval s of month m: `ge` step g, inflow variant v
    // (-1 when the kernel has none), the inflow temperature the attempt
    // started from and its objective value.
    virtual void versuch(int m, int s, int g, int v, double T, double wert, const spurwerte& w) = 0;
    // The kernel kept the attempt (g, v) for interval s.
    virtual void gewaehlt(int m, int s, int g, int v) = 0;
    // A month-mode `ge` step g with its month value.
    virtual void monatsschritt(int m, int g, double monatswert) = 0;
    // Month m of area A is complete; d3 holds its committed intervals.
    virtual void monat_fertig(int m, double A, const ::date3& d3, const datz3& pvdatz3) = 0;
    // Scratch month record for the objective value of a single interval.
    ::date& hilfsmonat();

private:
    std::unique_ptr<::date> hilfsmonat_;
};
