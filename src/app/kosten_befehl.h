#pragma once
// The runner command "costs": the yearly costs of up to six result files.

#include <ostream>
#include <string>
#include <vector>

#include "app/programmstart.h"

// varnek-cli costs <result file>... [--csv]: starts the program with
// `start`, loads each result file as the next data index (its site data set
// found through the result catalogue, else the data set named in the file,
// and loaded as the cost window loads it) and prints, per data index and
// collector area, investment, annuity, energy bills, solar-cell income,
// maintenance and yearly costs. Returns the exit status: 0 done, 1 a file or
// its data set could not be loaded, 2 a wrong command line (no file, more
// than six); the last line on `fehler` is the reason. An abandoned operation
// (abbruch) propagates to the caller.
int befehl_kosten(const startoptionen& start, const std::vector<std::string>& dateien, bool csv,
                  std::ostream& aus, std::ostream& fehler);
