#pragma once
// Operations of the settings form on the run state: the language and the
// output units applied to a result record `datm`, and the numeric run-control
// values of table `rech` shown and set in output units.

#include <cstdint>
#include <string>

#include "engine/WP_variables.h"

// Rebuilds everything that depends on the language: quantity names, the
// column lists of the table descriptors, the default unit rows of an empty
// unit table, the output units, the units and labels of the result
// quantities `d`, the display order and, with `namen_speichern`, the quantity
// names stored in `einheiten`. Start-up passes false: starting the program
// (in any language) leaves the database as it is; the names are stored when
// the user switches the language.
void sprachabhaengig(datm& d, bool namen_speichern = true);
// Language choice (0 German, 1 English); rebuilds only when it changed.
bool waehle_sprache(int index, datm& d);

// Numeric parameters of the settings form (run control, owned by the
// simulation state): defaults of the "Default" button, and "Setzen" from the
// texts of the form's fields in output units.
void numerische_parameter_default(laufsteuerung& l);
struct numerische_anzeige {
    double maxge = 0.0, minge = 0.0;  // output unit of the carrier volume flow, 3 decimals
    int32_t anzge = 0;
    double maxwp = 0.0;  // output unit of "no unit"
};
numerische_anzeige zeige_numerische_parameter(const laufsteuerung& l);
// The same fields filled from the current `rech` row when the form opens:
// `maxge`/`minge` from unit `einge` to the output unit, `anzge`, `maxwp`.
numerische_anzeige zeige_rech_parameter();
void setze_numerische_parameter(laufsteuerung& l, const std::string& maxge, const std::string& minge,
                                const std::string& anzge, const std::string& maxwp);

// Unit actions of the settings form that also rebuild the result labels.
void ausgabeeinheit_setzen(datm& d);
void einheiten_default(datm& d);
