#pragma once
// Description of a table as it is created in its database file: columns in
// stored order with type, width and NOT NULL mark, the key columns and the
// named indexes.

#include <string>
#include <vector>

enum class spaltentyp {
    text,     // T(n): string of at most n characters
    real,     // R: 64-bit float
    integer,  // I: 32-bit integer
    bigint,   // L: 64-bit integer
    dezimal,  // D: decimal with 20 digits, no fraction
    memo      // M: unbounded text
};

struct spalten_def {
    std::string name;
    spaltentyp typ = spaltentyp::text;
    int breite = 0;        // characters of a text column (0: unbounded)
    bool pflicht = false;  // NOT NULL
};

struct index_def {
    std::string name;
    std::vector<std::string> spalten;
};

struct tabellen_def {
    std::string sql_name;
    std::vector<spalten_def> spalten;
    std::vector<std::string> schluessel;  // key columns; rows are unique on them
    std::vector<index_def> indizes;       // named indexes
    // Only the key columns must exist in a file; the others are created
    // with a new table but not required (tables whose columns vary).
    bool nur_schluessel_pflicht = false;
};

// True when the type stores text (T and M columns).
inline bool ist_text(spaltentyp t) { return t == spaltentyp::text || t == spaltentyp::memo; }

// SQL type declaration of a column ("VARCHAR(50)", "REAL", ...).
std::string sql_typ(const spalten_def& spalte);
// Column type derived from a declared SQL type, the width from "(n)".
spalten_def spalte_aus_deklaration(const std::string& name, const std::string& deklaration, bool pflicht);

// CREATE TABLE (with its key) and CREATE INDEX statements of a table.
std::string tabellen_ddl(const tabellen_def& def);

// Identifier quoted for SQL ("a""b").
std::string sql_bezeichner(const std::string& name);

// ASCII case-insensitive comparison, as SQLite compares identifiers.
bool gleich_ohne_gross_klein(const std::string& a, const std::string& b);
