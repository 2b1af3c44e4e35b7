#pragma once
// Site data set selection on table `haupt`: the list the input-file form
// shows, positioning on a data set, the search filter, fixation marks,
// deleting the data sets that are not fixed, editing a row's fields, the
// catalogue rows a data set can name, and article groups (`liste2`).

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The rows of a table view as text, every column in stored order.
struct zeilenliste {
    std::vector<std::string> spalten;
    std::vector<std::vector<std::string>> zeilen;
    // Position of a column (case-insensitive), -1 when missing.
    int spalte(const std::string& name) const;
};

// The rows of the current view of registry table `tabelle` (its filter and
// order), every column as text; the cursor returns to its row. Empty when the
// table is not open.
zeilenliste lies_zeilen(int tabelle);
// Moves registry table `tabelle` to the first row of its view whose column
// `spalte` has the text `wert`; false when there is none.
bool positioniere(int tabelle, const std::string& spalte, const std::string& wert);
// Moves registry table `tabelle` to row `zeile` (0-based) of its view, the
// row a grid read with `lies_zeilen` shows at that place; false when the view
// has fewer rows.
bool positioniere_nr(int tabelle, int64_t zeile);
// Writes text `wert` into column `spalte` of the row of `tabelle` whose
// column `schluessel` is `name` and posts it (the table file is created when
// missing). False when there is no such row.
bool speichere_feld(int tabelle, const std::string& schluessel, const std::string& name, const std::string& spalte,
                    const std::string& wert);
// Record copy of the current row of `tabelle`: a new row with the same
// values and the name changed as `kopiename` does, posted at once. Returns
// the new name ("" when the table has no current row).
std::string kopiere_aktuelle_zeile(int tabelle);

// Puts `haupt` in the list order (index "isortieren"); the filter stays.
void haupt_ordnen();
// The data sets of the current view of `haupt` (filter in force) in list
// order. The cursor returns to the row it stood on.
zeilenliste lies_haupt_liste();
// Moves `haupt` to the data set `name` in the current view; false when the
// view does not hold it.
bool positioniere_haupt(const std::string& name);

// Search fields of the input-file form.
struct suchfelder {
    std::string name, land, bezirk, ort, kundennummer;
};
// "Anwenden": restricts `haupt` to the rows whose column matches its field
// as a LIKE pattern ('%' any text, '_' one character), for every filled
// field together; with every field empty the filter is removed.
void wende_suchfilter_an(const suchfelder& felder);

// "Fixierungen löschen": every data set gets lock "NF". Returns the count.
int64_t fixierungen_loeschen();
// "Datensätze löschen": deletes every data set with lock "NF", also those
// the filter hides. Returns the count.
int64_t nicht_fixierte_loeschen();

// Writes `werte` (column, text) into the data set `name` and posts the row
// in one step; "" is stored as empty. A key that another row already has, or
// a value that does not fit its column, is reported by the table layer and
// abandons the operation with the row unchanged.
void speichere_datensatz(const std::string& name, const std::vector<std::pair<std::string, std::string>>& werte);
// Inserts a data set with `werte`; lock "NF" unless `werte` names one.
void fuege_datensatz_ein(const std::vector<std::pair<std::string, std::string>>& werte);
// Deletes the data set `name`.
void loesche_datensatz(const std::string& name);

// The name of a copy: the character before the last one becomes "*"
// ("abcde" -> "abc*e"); a name of one character (or none) gets "*" in front.
std::string kopiename(const std::string& name);

// Record copy: the fields of the data set `name` with the second-to-last
// character of the name replaced by '*' (a name of one character gets the
// '*' in front of it).
std::vector<std::pair<std::string, std::string>> kopie_von_datensatz(const std::string& name);


// The catalogue table a `haupt` column names a row of (`kolu` and `kolo`
// the collectors, `wpww` and `wpwe` the heat pumps, the three store columns
// the stores, `zubehoer` the accessory lists); -1 for the other columns.
int referenztabelle(const std::string& haupt_spalte);
// The row names of a catalogue table that a data set can name (first key
// column, distinct, sorted); the heat pumps of kind `arbeitsweise` only when
// given.
std::vector<std::string> katalognamen(int tabelle, const std::string& arbeitsweise = {});

// Article groups: the group names of `liste`, the groups assigned to a data
// set, and assigning one (a new `liste2` row). An existing assignment is
// reported ("Datensatz vorhanden", dialog 'M'); false then.
std::vector<std::string> artikelgruppen();
std::vector<std::string> zugeordnete_gruppen(const std::string& datensatz);
bool gruppe_zuordnen(const std::string& datensatz, const std::string& gruppe);

// Limits of the data set's run ("Grenzen und Schrittweiten"): `maxa`,
// `danzflaeche`, `anzge`, `anzdeltatkol` of its `rech` row and `flaeche` of
// its upper collector (`kolo`). Values as stored; `gefunden` false when a row
// is missing.
struct grenzen_und_schrittweiten {
    std::string maxa, danzflaeche, anzge, anzdeltatkol, flaeche;
    bool gefunden = false;
};
grenzen_und_schrittweiten lies_grenzen(const std::string& rech, const std::string& kolo);
// Stores the five values (numbers; an entry that is not one is reported with
// the field's name and nothing is written).
void speichere_grenzen(const std::string& rech, const std::string& kolo, const grenzen_und_schrittweiten& g);
