#pragma once
// Operations on the chart data records of the chart window.

#include "engine/WP_variables.h"

// Sets x and y of all 2000 points of all six curves of both records to 0.
void setzenull(graphdata& links, graphdata& rechts);
// Recomputes ymin and ymax of every curve over its anzp points.
void berechne_y_bereich(graphdata& g);
