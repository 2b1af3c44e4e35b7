#pragma once
// The temperature kernel: interval by interval, the collector inflow
// temperature at which the collector loop just meets the interval's heat
// demand is found by bisection, for every `ge` step of the interval; the
// best step of each interval is kept.

#include "engine/zeitschritt.h"

// Most bisection rounds of one interval; reaching it is reported.
constexpr int MAX_TEMPERATURSCHRITTE = 200;

// Month-m values of the results and the stores of a plant, saved and
// restored around the attempts of an interval. The stores keep their losses
// of the month so far (eminus), which a plain store copy would clear.
void sichere_monatszustand(const ::date& d, const anlage& a, ::date& d_ziel, anlage& a_ziel, int m);

// Temperature kernel of month m on the working plant.
kernergebnis temperaturkern(periodenkontext& k, int m, anlage& arbeit);
