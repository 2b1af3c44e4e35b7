#pragma once
// The printout of the cost parameters as label/value lines for the shared
// list printer (results/listendrucker.h).

#include <string>
#include <vector>

#include "costs/kalkulation.h"
#include "results/listendrucker.h"

// The parameter lines of every loaded result: "Ergebnis-Name" and the file,
// with a single result also "Einlesefiles-Name" and the catalogue path, then
// the parameters (label followed by ":", value as a plain number), finally the
// cell choice; a blank line between results.
std::vector<druckzeile> kostenparameter_druckzeilen(const kalkulationsdaten& k);
