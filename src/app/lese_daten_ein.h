#pragma once
// Entry of loading the current site data set (the current `haupt` row):
// the test-word check, positioning the catalogue tables, the loader, and the
// main window's mark "Daten eingelesen".

#include <string>

#include "engine/WP_variables.h"

// Loads the current data set into the run state. `dbflag` receives whether
// every referenced row was found; when one is missing (reported) nothing is
// loaded and the result is false. Every value the run uses is checked first
// (pruefe_datensatzwerte): an invalid value is reported and abandons the load.
// The mark "Daten eingelesen" is cleared first and set only when the whole
// load succeeded; an abandoned load (abbruch) leaves it cleared and
// propagates. Returns true when loaded.
bool lese_daten_ein(datz3& pvdatz3_1, datz3& pvdatz3_2, bool& dbflag);
