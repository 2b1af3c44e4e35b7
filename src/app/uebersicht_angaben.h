#pragma once
// What the overview windows "Ergebnisse (Fläche)" and "Ergebnisse (Zeit)"
// take from the database besides the result file: the plant's coupling type,
// the nominal powers of its two heat pumps, and the energy demand of the
// result's site, month by month and over the year.

#include "results/ergebnisgraphik.h"

// From the data set `haupt` stands on, loaded into the run state (the
// demand is read with the cold- and hot-water temperatures of `vdatz`).
// Powers in the output unit of power, the yearly demand in the output unit
// of energy, the monthly demand in the output unit of `eg` of the general
// state. A row the data set names that is missing leaves its values 0.
uebersicht_angaben lies_uebersicht_angaben();
