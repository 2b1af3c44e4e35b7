#pragma once
// Characteristic curves of the loaded site data ("Kennlinien"): the COP of
// the two heat pumps over a temperature range, and the collector's end
// temperature over a range of volume flows with a check of the inverse
// routine. The curves go to the chart window as graphdata. They read the
// simulation state (site loaded, no run in progress) and leave it unchanged.

#include <vector>

#include "engine/WP_variables.h"

// The numbers 1..n of the interval list of month m (n its interval count).
std::vector<int> intervall_liste(int monat);

// The fields of the window for month m and interval j, from the run state,
// rounded to 2 decimals. Supply and return temperature are set by a run's
// preparation; before the first run they are taken from the demand the way
// that preparation takes them.
struct kennlinien_felder {
    double is = 0.0;    // "Intensität:": irradiance is0 of the interval (first series)
    double ta = 0.0;    // "Außentemperatur:": outdoor temperature of the interval
    double tein = 0.0;  // "Heiz.Rückl.Temp.:": inlet (return) temperature of the month
    double tk = 0.0;    // "Erdtemperatur:": ground temperature of the month
    double twv = 0.0;   // "Warmwassertemp.:" (T - Hoch): hot-water supply temperature of the month
};
kennlinien_felder fuelle_kennlinien_felder(int monat, int intervall);

// COP curves: 200 points x = T_low + k (T_high − T_low) / 200, k = 1..200;
// curve 1 "Transfer" the COP of the intermediate pump ('W'), curve 2
// "Nachheizung" that of the main pump ('E'), both at the high temperature
// T_high and the low temperature x for interval 1 of month m; x range 0 to
// the last x. `rechts` is left without curves.
void cop_kennlinien(double t_hoch, double t_tief, int monat, graphdata& links, graphdata& rechts);

// Collector curves for interval j of month m: 2000 flows per collector unit
// spaced evenly on a logarithmic scale from `minge` to `maxge` (main unit);
// for each the collector model gives the end temperature tf, and
// x = tf − ta. Curve 1 "Kennlinie": the flow; curve 2 "Test Umkehrroutine":
// the flow the inverse routine recovers from tf. Flows in the output unit.
// false, with a message, unless both flows are positive and finite.
bool kollektor_kennlinien(int monat, int intervall, double ta, double te, double G, double minge,
                          double maxge, graphdata& links, graphdata& rechts);

// The inverse of the collector's outflow temperature (upper collector):
// the flow per collector unit whose heat u (tf − te), u the heat-capacity
// flow vdatt[tdata::kollektorfluid_cpf] · vdatt[tdata::kollektorfluid_dichte] · flow, equals the collector's heat at the mean
// fluid temperature (tf + te) / 2: A · G · η with the quadratic efficiency
// law, at night (G ≤ 0) 10 k A ((tf + te) / 2 − ta). 0 where tf = te or the
// fluid has no heat capacity.
double durchfluss_aus_austrittstemperatur(const datt& vdatt, double tf, double te, double ta, double G);
