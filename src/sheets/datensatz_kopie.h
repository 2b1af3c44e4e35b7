#pragma once
// Record copy of the data sheets ("Kopieren"): a new row with the values of
// the current row and a marked name.

#include <string>

#include "input/datensatzauswahl.h"  // kopiename


// Copies the current row of registry table `tabelle`: a new row is inserted
// with every field of the current row in field order, its first field (the
// name) marked by `kopiename`, and left in insert state for the user to
// complete and post. A copied site data set starts not fixed (`lock` "NF").
// False (nothing started) when there is no current row.
bool datensatz_kopieren(int tabelle);

// Copies the current row as a finished new row named `neuer_name` (empty:
// `kopiename`) together with the rows that belong to it by its name: the
// detail rows of a weather record (`ir_ta_d`), the accessory groups of a
// site data set (`liste2`). A site data set's references to catalogue rows
// are fields of its row and are copied with it; a demand record keeps its
// detail series (`name_d`), which copies share. A name already taken is
// refused (dialog, 'E'); the copy is written whole or not at all. The new
// row becomes current. True when written.
bool kopiere_datensatz_mit_bezuegen(int tabelle, const std::string& neuer_name = {});
