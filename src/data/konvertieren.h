#pragma once
// "Konvertieren": merges the rows of a table of an earlier database into the
// table of the same kind in the current database.

#include <cstdint>
#include <filesystem>

struct konvertier_ergebnis {
    int64_t aktualisiert = 0;  // target rows updated in place
    int64_t eingefuegt = 0;    // rows inserted
    bool erfolgreich = false;
};

// Copies every row of the table in file `quelle` into the table in file
// `ziel` (the file names give the table names). A source row whose key values
// find a target row (same number of key columns) updates the same-named
// columns of that row; otherwise a new row is inserted whose columns take the
// same-named source values, and "-" (text) or 0 (numbers) where the source has
// none. All writes form one transaction: an abandoned conversion (a key
// conflict, a value that does not fit its column) leaves the target as it was.
// An empty path (a cancelled dialog) copies nothing.
konvertier_ergebnis Konvertieren(const std::filesystem::path& quelle, const std::filesystem::path& ziel);
