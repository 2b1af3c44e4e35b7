#pragma once
// Captions of the database columns in both languages, for the column titles
// of lists and data sheets and the field labels of the forms (the column
// name itself is shown as the tooltip). A column that refers to another
// table is captioned with that table's display name; a unit column
// ("ein...", "einheit...") with "Einheit"/"Unit" and the caption of the
// column whose unit it holds. A column without a caption of its own keeps
// its name.

#include <string>

// Caption of column `spalte` of the table with registry index `tabelle`
// (-1: any table) in the chosen language.
std::string spaltentitel(int tabelle, const std::string& spalte);

// A unit as the window shows it: in English "qm" reads "m²" (also within
// "N/qm", "kWh/qm" ...), as the units table names square metres.
std::string einheit_anzeige(const std::string& einheit);

// Column `spalte` holds a unit: its name begins with "ein" (einheit, EinT, eineta ...).
bool ist_einheitenspalte(const std::string& spalte);
