#pragma once
// Small helpers of the data-sheet operations: writing fields of the current
// row whole or not at all, the current row of a table as a precondition, and
// the month columns of the monthly records.

#include <string>
#include <utility>
#include <vector>

#include "data/tabelle.h"

using feldliste = std::vector<std::pair<std::string, feldwert>>;

// Edits the current row of `t`, sets the fields and posts, in one
// transaction; an abandoned write cancels the edit and rolls back.
void schreibe_felder(tabelle& t, const feldliste& felder);

// Inserts a row with the fields, in one transaction.
void fuege_zeile_ein(tabelle& t, const feldliste& felder);

// True when registry table `index` is open and stands on a row; otherwise
// "Fehler: Kein aktueller Datensatz in Tabelle ..." (dialog, 'E').
bool aktuelle_zeile(int index);

// Positions registry table `index` on the row with key `name` (the first
// key column; key order, no filter). False (with a message) when missing.
bool positioniere_auf(int index, const std::string& name);
