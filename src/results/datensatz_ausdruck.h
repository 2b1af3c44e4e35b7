#pragma once
// The printout of a site data set (`TAusdruck`) as lines for the shared list
// printer: the fields of the `haupt` row ("Namen"), or the full records the
// data set refers to ("Werte").

#include <string>
#include <vector>

#include "results/listendrucker.h"

// A record that the current data set refers to, in print order: `ir_ta_m`,
// `te`, `ew_m`, `eh_m`, `th`, `tw`, the lower and the upper collector
// (`kolu`, `kolo`), the heat pumps (`wpwe`, `wpww`), the stores (`spei`,
// `zwischenspei`, `langspei`), `ko`, `rh`, `rw`, `an`, `num`, `kalk`, `sub`,
// `rech`. A row named twice (the same collector above and below) is listed
// once.
struct ausdruck_eintrag {
    std::string spalte;  // column of `haupt` that names it
    int tabelle = -1;    // registry index
    std::string name;    // the name it is given
    std::string arbeitsweise;  // heat pumps: second key value
};
std::vector<ausdruck_eintrag> ausdruck_eintraege();

// "Namen": for each field of the current `haupt` row, in table order, the
// field name + ":" and its value as text.
std::vector<druckzeile> ausdruck_namen();

// "Werte": for each entry selected (`auswahl[i]` for `ausdruck_eintraege()[i]`;
// missing entries count as not selected) one line per field of the record,
// label = field name + ":", value = the field's value as text, kept together
// with the fields not yet printed; then an empty line. A record that does not
// exist is printed as one line saying so.
std::vector<druckzeile> ausdruck_werte(const std::vector<bool>& auswahl);

// "Drucken" of a data sheet: the grid of a table as list-printer lines, a
// header line of the column titles and one line per row of the current view
// (filter and order of the cursor): the first column as label, the other
// columns joined by " | " as value.
std::vector<druckzeile> tabellen_druckzeilen(int tabelle, const std::vector<std::string>& titel);
