#pragma once
// Reading result and control files back: the table reader with its messages,
// the conversion of the values into the current output units, and the column
// search by code.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/WP_variables.h"
#include "results/ergebnistabelle.h"

// Reads the file `tab.name` into `ziel` and `tab` (see tabellenleser.h for the
// layouts). Reads only when `ok` is true on entry. A file that cannot be
// opened or is malformed is reported with "Fehler: Falsches Datenformat" and
// sets `ok` to false. More than 20 sections are reported with "Fehler:
// Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten" and
// abandon the operation (severity 'T'), after `ok` was set to false.
// (The message names the file and the line that is malformed or missing:
// "Fehler: Falsches Datenformat: <file>, Zeile <n>".)
// layout 'n' = self-describing file, any other = raw table of `beschreibung`;
// werteart 'd' = numbers (the only kind; any other sets ok to false).
void lese_tabelle(dat3d& ziel, parreadtab& tab, TSDaten& beschreibung, bool& ok,
                  char layout = 'n', char werteart = 'd');

// 1-based number of the last column whose code equals `code` (trailing blanks
// of the file's code ignored, case significant), or 0.
int finde_spalte(const parreadtab& tab, std::string_view code);

// Linear map between two unit abbreviations of one quantity code; month
// 1..12 selects the day count of per-day units, 0 none.
using einheitenumrechner = std::function<umrechnen_struct(
    const std::string& von, const std::string& nach, const std::string& kennzeichen, int monat)>;

// Converts every column of a result file just read whose code is one of the
// 61 monthly quantity codes from the unit in the file to the quantity's
// current output unit (d.ausgabe_einheit[q], quantity code d.kennzeichen[q]).
// Factor and offset are determined once per quantity, on the first row that
// needs them (the row number is passed as month, 0 beyond row 12), and
// reused for every row and section. Other columns stay as read.
void rechne_codes_um(const parreadtab& tab, dat3d& werte, const ::datm& d,
                     const einheitenumrechner& umrechner);

// Collector area of section s (1..scheib) converted from the key's unit in the
// file to `flaecheneinheit` (quantity code "AR", no day scaling).
double flaeche_der_scheibe(const parreadtab& tab, int s, const std::string& flaecheneinheit,
                           const einheitenumrechner& umrechner);

// Reads a self-describing result or control file whole into `inhalt` and
// checks it with the table reader, without messages. Returns the reason when
// it is not a regular file, cannot be read or is malformed ("Fehler: Falsches
// Datenformat: <file>, Zeile <n>"); nothing when it reads back whole.
std::optional<std::string> lies_und_pruefe_ergebnisdatei(const std::filesystem::path& datei, std::string& inhalt);
