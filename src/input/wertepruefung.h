#pragma once
// Value checks of a site data set before it is loaded: every number the run
// uses must be a finite number in its physical range. The check reads the
// catalogue rows that the positioning of the data set (SetAllMasters) has
// found, converts each value from the unit stored beside it to its main unit
// and compares it with the allowed range; a non-number, an empty field where
// the run needs a value, an infinite or out-of-range number and a reversed
// range (minimum above maximum) are each reported with table, row, column,
// the value and the allowed range. The run is then not loaded.

#include <string>

// Limits of the step counts of a run (run-control row `rech`); the run driver
// refuses larger counts as well.
constexpr int MAX_NEIGUNGSSCHRITTE = 90;     // anztheta: tilt steps of 1° over 0..90°
constexpr int MAX_LEISTUNGSSCHRITTE = 100;   // anzwp: heat-pump power steps
constexpr int MAX_VOLUMENSTROMSCHRITTE = 500;  // anzge (MAXV of the settings form)

// Checks the rows of the positioned data set. Reports every violation (mode
// `modus`; severity 'E' for all but the last, 'T' for the last, which
// abandons the operation with that reason). Returns normally when every
// value is valid.
void pruefe_datensatzwerte(const std::string& modus);
