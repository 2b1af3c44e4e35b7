#pragma once
// The table registry: one descriptor per table, each table connected to its
// own SQLite file `<key>.sqlite` in the database directory, and the small
// operations the whole program uses on registry tables.

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/tabelle.h"
#include "data/tabellen_schema.h"

constexpr int MAX_SPALTEN = 300;  // capacity of the column lists of a descriptor

// Descriptor of one registry table.
struct db_struct {
    std::string name_db;      // registry key, also the file stem
    std::string bezeichnung;  // long label (current language)
    std::string kuerzel;      // short label, tab caption (current language)
    std::string name_pfad;    // connection line "Database=<file>"
    std::filesystem::path datei;
    std::unique_ptr<tabelle> tab = std::make_unique<tabelle>();
    std::vector<std::string> name_spalte;       // column names of the open table (<= 300)
    std::vector<std::string> titelname_spalte;  // column captions (current language)
    bool oeffnung_versucht = false;             // opened (or tried) since the directory was set
    std::string stand_bei_fehlschlag;           // file state when opening failed last
};

// A set of connections to the tables of the database directory. The program
// works with its own; a thread that computes runs of its own binds a session
// of its own (`sitzungsbindung`), so that no two threads share a table's
// cursor or connection. A new session names the files the program's names
// and opens each table on first use.
class datenbanksitzung {
public:
    datenbanksitzung();
    std::array<db_struct, ANZ_TABELLEN>& tabellen() { return tabellen_; }

private:
    std::array<db_struct, ANZ_TABELLEN> tabellen_;
};

// Binds a session to the calling thread for the binding's lifetime.
class sitzungsbindung {
public:
    explicit sitzungsbindung(datenbanksitzung& sitzung);
    ~sitzungsbindung();
    sitzungsbindung(const sitzungsbindung&) = delete;
    sitzungsbindung& operator=(const sitzungsbindung&) = delete;

private:
    datenbanksitzung* vorher_;
};

// The 46 descriptors in registry order: those of the session bound to the
// calling thread, else the program's.
std::array<db_struct, ANZ_TABELLEN>& datenbanken();
// The table of registry entry `index` (a `tabledata` value). A table that
// is not open yet is opened on first use (one attempt per directory).
// Opening never writes: a missing file or table is reported and the table
// stays closed, so that reading leaves every database file as it was.
tabelle& tab(int index);
// The table of registry entry `index` for a write the user asked for: a
// missing file or table is created first (for example the result catalogue
// of a database that has never stored a result).
tabelle& tab_zum_schreiben(int index);

// Registry index of a key, compared without regard to case; -1 if unknown.
int finde_tabelle(const std::string& schluessel);

// File of a table in a directory: `<key>.sqlite`, or an existing file whose
// name differs only in case.
std::filesystem::path tabellendatei(const std::filesystem::path& verzeichnis, const std::string& schluessel);

// Fills keys, labels and file names of the descriptors for a directory
// without opening anything.
void fuelle_registry(const std::filesystem::path& verzeichnis);

// Closes every table, points every connection to `verzeichnis` and opens all
// 46 tables without writing to them. A table that cannot be opened (file or
// table missing, foreign file) is reported and stays closed; the others
// work. A missing directory is reported once.
void SetDataBase(const std::filesystem::path& verzeichnis);
// Creates every registry table that is missing in `verzeichnis` (files,
// tables and their indexes): an empty database to fill. Closes nothing.
void lege_fehlende_tabellen_an(const std::filesystem::path& verzeichnis);
// Opens every registry table that is not yet open.
void CheckAllTables();
// Closes every registry table (end of the program, tests).
void schliesse_alle_tabellen();

// Rows in the current view, counted by walking from the first row to the end.
int64_t Zaehle_datensaetze(tabelle& t);
// Deletes every row of the current view (one transaction).
void loesche_daten(tabelle& t);
// Position of a column in the table's column order; -1 when missing.
int Finde_index(tabelle& t, const std::string& spalte);
// Value of column `position` of the current row as a number, 0 when empty.
double teste_feld(tabelle& t, int position);

// Refreshes the column-name lists of the descriptors from the open tables
// and the labels in the current language.
void Datenbanknamen();
