#pragma once
// The default database: built from its text source (data/demo: one CSV file per
// table) into one SQLite file per table.
//
// CSV layout of data/demo/tabellen/<sql name>.csv: UTF-8, one header line with
// the table's column names in stored order, then one row per line, fields
// separated by ','. A field that contains ',', '"', a line break or leading or
// trailing blanks is enclosed in '"' with inner '"' doubled. An empty field is
// NULL; "" (two quotes) is the empty text. Numbers use '.' as decimal point.
//
// The tables are created exactly as the table registry defines them.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "data/tabellen_def.h"

// One table of the default database: its registry key (also the file stem,
// "IR_TA_M") and its definition.
struct demo_tabelle {
    std::string schluessel;
    tabellen_def def;
};

// Folder of the text source shipped with the program: <prefix>/share/varnek/demo
// of an installed program (beside <prefix>/bin), else data/demo of the source tree.
std::filesystem::path demo_quellverzeichnis();

// The table definitions of the program's table registry, in registry order.
std::vector<demo_tabelle> demo_schema();

// Builds every table of `schema` from `quelle`/tabellen/<sql name>.csv into
// `ziel`/<key>.sqlite (one transaction per table), then adds the standard test
// data sets ("Addiere Default"). A malformed line or any failure removes every
// file created so far and abandons the operation (severity 'T') with a message
// naming file and line. Files that existed before are never touched: a target
// file that already exists is an error.
void baue_default_datenbank(const std::filesystem::path& quelle, const std::filesystem::path& ziel,
                            const std::vector<demo_tabelle>& schema);

// Builds one table file `datei` from `csv`. A malformed line abandons the
// operation (severity 'T') naming file and line; the file is removed again.
void baue_demo_tabelle(const demo_tabelle& t, const std::filesystem::path& csv,
                       const std::filesystem::path& datei);

// First start: when `verzeichnis` holds no table file (*.sqlite), the default
// database is created there (the folder is created when missing) and the user
// is told so once; returns true then. An existing database is left alone.
bool lege_default_datenbank_an_falls_leer(const std::filesystem::path& verzeichnis);

// Explicit re-creation into a folder the user names: refuses (severity 'T')
// when the folder exists and is not empty.
void erzeuge_default_datenbank_in(const std::filesystem::path& verzeichnis);

// Path of a table file in a database folder: <key>.sqlite.
std::filesystem::path demo_tabellendatei(const std::filesystem::path& verzeichnis, const std::string& schluessel);
