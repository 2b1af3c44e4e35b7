#pragma once
// Turning a month of interval results into monthly values.

#include <array>

#include "engine/WP_variables.h"

// Accumulator of the interval balance: demand, change of stored energy,
// losses and heat delivered, summed over the intervals of a month.
struct bilanzsummen {
    double bedarf = 0.0;
    double gespeichert = 0.0;
    double verluste = 0.0;
    double geliefert = 0.0;
};

// Clears the month's sums before its intervals are computed; returns the
// three cleared cells of the caller.
std::array<double, 3> monatsstart_summen(anlage& a, int m, ::date& d, ::date3& d3,
                                         bilanzsummen& summen);

// Sums (energies) and hour-weighted daylight means of month m into `date`.
void intervalle_zu_monat(::date& d, const ::date3& d3, const datz& vdatz, int m, double A,
                         const datz3& pvdatz3);

// Hour-weighted mean velocity of the daylight intervals of month m.
void mittlere_geschwindigkeit(::date& d, const ::date3& d3, const datz& vdatz, int m,
                              const datz3& pvdatz3);

// Clears the results of interval s before it is computed (again); returns the
// four cells 0, 1, 0, 1.
std::array<double, 4> intervall_zuruecksetzen(int m, int s, const flagchar& numchar, double A,
                                              ::date3& d3, const datz3& pvdatz3);

// Copies month m of `date` and its intervals into the run result `datm`;
// `datm`.`ir` receives the month's irradiation on the collector plane, the
// weight of the yearly mean collector efficiency.
void monat_in_laufergebnis(const ::date& d, const ::date3& d3, const datz& vdatz,
                           const datz3& pvdatz3, ::datm& r, int m, double A);

// Month wrap-up of the analytic step: balances every interval, keeps the
// plant's state of the month, closes the stores and the month's pump energy,
// and returns the month's objective value.
double monatsabschluss(flagchar numchar, ::datm& r, datz& vdatz, int modus, int m, double A,
                       anlage& a, const datt& vdatt, ::date3& d3, ::date& d, const datz3& pvdatz3);

// Monthly totals: when the current cell is not worse than the best (or the
// month delivered more than planned in month mode), the month is accumulated,
// its powers evaluated and copied into the run result; best := current and
// the objective cell := v.
void monatssummen(const flagchar& numchar, const datz& vdatz, ::date& d, const datz3& pvdatz3,
                  const datt& vdatt, ::date3& d3, double v, double& ziel, double& aktuell,
                  double& bester, ::datm& r, int m, double A);
