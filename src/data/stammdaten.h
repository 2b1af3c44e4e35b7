#pragma once
// Linking the catalogue tables to the current site data set (`haupt` row).

#include <string>

// Positions every table that the current `haupt` row names on that row:
// the catalogue tables named by the `haupt` column of the same name as their
// key (compared without case), `kol` by `kolu`/`kolo`, `wp` by `wpwe` ("we")
// and `wpww` ("ww"), `spei` by `spei`, `zwischenspei` and `langspei`. The
// detail tables are restricted to the series of their monthly record and
// `liste2` to the data set; `result` is positioned on the data set's result
// file. Every missing row is reported ("Fehler: Datensatz existiert nicht in
// Datenbank: <column>", in `modus`); the result is true when all were found.
// Afterwards `kol`, `wp` and `spei` stand on `kolo`, `wpwe` and `spei`.
bool SetAllMasters(const std::string& modus = "M");

// Removes the restrictions of the detail tables again.
void loese_alle_master();
