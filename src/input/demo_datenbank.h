#pragma once
// The default database: built from its text source (data/demo: schema.txt and
// one CSV file per table) into one SQLite file per table.
//
// CSV layout of data/demo/tabellen/<sql name>.csv: UTF-8, one header line with
// the table's column names in stored order, then one row per line, fields
// separated by ','. A field that contains ',', '"', a line break or leading or
// trailing blanks is enclosed in '"' with inner '"' doubled. An empty field is
// NULL; "" (two quotes) is the empty text. Numbers use '.' as decimal point.
//
// The table definitions reach the builder through `demo_tabelle` only, so the
// schema source can be swapped (today: schema.txt; later: the table registry).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct demo_spalte {
    std::string name;
    char typ = 'T';    // 'T' text, 'R' real, 'I' 32-bit, 'L' 64-bit integer, 'D' decimal, 'M' memo
    int breite = 20;   // characters of a 'T' column
    bool pflicht = false;  // NOT NULL
};

struct demo_tabelle {
    std::string schluessel;  // registry key, also the file stem ("IR_TA_M")
    std::string sql_name;    // table name inside the file ("ir_ta_m")
    std::vector<std::string> schluesselspalten;
    std::vector<demo_spalte> spalten;
    std::vector<std::pair<std::string, std::vector<std::string>>> indizes;  // named indexes
};

// Folder of the text source shipped with the program: <prefix>/share/varnek/demo
// of an installed program (beside <prefix>/bin), else data/demo of the source tree.
std::filesystem::path demo_quellverzeichnis();

// The table definitions of the program's table registry, in registry order.
std::vector<demo_tabelle> demo_schema();

// CREATE TABLE and CREATE INDEX statements of one table.
std::string erzeuge_tabellen_sql(const demo_tabelle& t);

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
