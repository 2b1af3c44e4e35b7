#pragma once
// Safe editing of the catalogue tables: every value typed into a data sheet
// is checked against its column before anything is written (number, whole
// number, range, text width, code, unit, key), and a change is written
// whole or not at all. A refusal names table, row and column. Site data
// sets marked fixed ("F") are not changed except for their fixation mark,
// and a row that site data sets name is neither renamed nor deleted without
// saying which data sets name it.

#include <optional>
#include <string>
#include <vector>

class tabelle;

// One field as the user typed it. An empty text empties the field.
struct feldaenderung {
    std::string spalte;
    std::string text;
};

// The reason a value does not fit column `spalte` of registry table
// `tabelle`, or nothing when it fits. `zeile` names the row in the message
// (its key values). Checks: the column exists; number columns hold a finite
// number, integer columns a whole number in their range; text columns at
// most their width in characters; key and NOT NULL columns are not empty;
// code columns hold one of their codes (or nothing); unit columns hold a unit
// of the unit table, of the column's quantity where that is fixed; columns
// with a fixed range (latitude, month, interval count, ...) stay inside it.
std::optional<std::string> pruefe_feldwert(int tabelle, const std::string& spalte, const std::string& text,
                                           const std::string& zeile);

// The allowed codes of a code column, empty for other columns.
std::vector<std::string> codes_der_spalte(int tabelle, const std::string& spalte);

// Key values of the current row (or of the edit buffer) as "a, b, c".
std::string zeilenname(tabelle& t);

// Changes fields of the current row of registry table `tabelle`. Every
// value is checked first; on a refusal the reason is shown (dialog, 'E'),
// nothing is written and the result is false. Refused as well: any change of
// a fixed `haupt` row other than its `lock`; a key that another row holds.
// Renaming a row that data sets name asks first, listing them; a renamed
// weather record takes its detail rows along. The row stays current.
bool aendere_datensatz(int tabelle, const std::vector<feldaenderung>& aenderungen);

// Inserts a new row with the given fields ("Neuanlegen"), with the same
// checks; a new `haupt` row gets `lock` "NF" unless given. The new row
// becomes current. False (nothing written) on a refusal.
bool lege_datensatz_an(int tabelle, const std::vector<feldaenderung>& werte);

// Deletes the current row of registry table `tabelle`. A fixed `haupt` row
// is refused. When data sets name the row, the question lists them and only
// Yes deletes. A weather record's detail rows go with it. True when deleted.
bool loesche_datensatz(int tabelle);

// True when the current `haupt` row is fixed; says so (dialog, 'E') when
// `melden`.
bool ist_fixiert(tabelle& haupt, bool melden);
