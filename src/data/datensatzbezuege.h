#pragma once
// The references of a site data set (`haupt` row) to the catalogue rows it
// names, and the reverse question: which data sets name a given row.

#include <string>
#include <vector>

// One reference column of `haupt`: the table it names and, for heat pumps,
// the working kind that completes the key.
struct datensatzbezug {
    std::string spalte;        // column of `haupt`, as stored
    int tabelle = -1;          // registry index of the named table
    std::string arbeitsweise;  // second key value (`wp` rows), else empty
};

// Every reference column of `haupt` in registry order of the named tables:
// entries 4..30 by the column of their key (except `kol`, `wp`, `unter`),
// then `kolu`, `kolo`, `wpww` ("ww"), `wpwe` ("we"), `zwischenspei`, `langspei`.
const std::vector<datensatzbezug>& datensatzbezuege();

// A data set that names a row, and the column through which it does.
struct verweis {
    std::string datensatz;  // `haupt`.`name`
    std::string spalte;
};

// The data sets whose reference columns name the row with key `schluessel`
// (key values in key order) of registry table `tabelle`; empty for tables no
// data set names. Reads `haupt` without moving its cursor.
std::vector<verweis> verweisende_datensaetze(int tabelle, const std::vector<std::string>& schluessel);

// "name (spalte), name (spalte), ..." for a message.
std::string verweisliste(const std::vector<verweis>& v);
