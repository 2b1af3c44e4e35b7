#pragma once
// The temperature kernel: interval by interval, the collector inflow
// temperature at which the collector loop just meets the interval's heat
// demand is found by bisection, for every `ge` step of the interval; the
// best step of each interval is kept.

#include <cmath>

#include "engine/zeitschritt.h"

// Most bisection rounds of one interval; reaching it is reported.
constexpr int MAX_TEMPERATURSCHRITTE = 200;

// Result of the temperature search of one interval.
struct temperatursuche {
    double T_mid = 0.0;        // last midpoint
    int runden = 0;            // rounds done
    bool konvergiert = false;  // two midpoints met within the tolerance
};

// Bisection between T_lo and T_hi for the temperature at which the collector
// loop delivers just the demand; the loop delivers more than the demand at
// T_lo. `versuch(T)` computes the interval at T and returns the useful
// energy, or nothing when the heat pump went off (the interval then
// collapses: T_hi := T_lo). A temperature that still gives more than the
// demand becomes the lower bound (a hotter collector yields less), one that
// gives less the upper bound. Starts from the midpoint T_lo; stops when two
// successive midpoints lie within the tolerance, at the latest after
// MAX_TEMPERATURSCHRITTE rounds.
template <class Versuch>
temperatursuche suche_temperatur(double T_lo, double T_hi, double bedarf, double toleranz,
                                 Versuch&& versuch) {
    temperatursuche e;
    e.T_mid = T_lo;
    do {
        const double T_old = e.T_mid;
        e.T_mid = (T_hi + T_lo) / 2.0;
        const auto E = versuch(e.T_mid);
        if (E) {
            if (*E > bedarf) {
                T_lo = e.T_mid;
            } else {
                T_hi = e.T_mid;
            }
        } else {
            T_hi = T_lo;
        }
        ++e.runden;
        e.konvergiert = std::fabs(e.T_mid - T_old) <= toleranz;
    } while (!e.konvergiert && e.runden < MAX_TEMPERATURSCHRITTE);
    return e;
}

// Month-m values of the results and the stores of a plant, saved and
// restored around the attempts of an interval. The stores keep their losses
// of the month so far (eminus), which a plain store copy would clear.
void sichere_monatszustand(const ::date& d, const anlage& a, ::date& d_ziel, anlage& a_ziel, int m);

// Temperature kernel of month m on the working plant.
kernergebnis temperaturkern(periodenkontext& k, int m, anlage& arbeit);
