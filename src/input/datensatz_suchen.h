#pragma once
// The small forms around the catalogue tables, as operations: the table menu
// of "Neuanlegen", the unit lists and column titles it provides to the other
// forms, and "Datensatz suchen" (positioning, filtering and bulk deletion of
// the rows of one table).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "lang/sprache.h"

// One entry of the "Neuanlegen" menu.
struct neuanlegen_eintrag {
    text_paar gruppe;  // "Mittelwerte", "Systemdaten", ...
    text_paar text;    // item text as shown
    int tabelle;       // registry index of the table it opens
    bool details;      // a detail table: the detail data sheet opens as well
};

// The five groups of the menu with their items, in menu order.
const std::vector<neuanlegen_eintrag>& neuanlegen_menue();

// Column titles of a table in the current language ("Spalten_ueberschriften").
std::vector<std::string> Spalten_ueberschriften(int tabelle);

// The abbreviations of the unit rows of quantity code `kennzeichen`, in the
// order of the unit table ("fuelle_einheiten_box").
std::vector<std::string> fuelle_einheiten_box(const std::string& kennzeichen);

// The key fields of the search form in the order of the table's sort
// columns (for `haupt` the index "isortieren": land, bezirk, ort,
// kundennummer, name; otherwise the key).
std::vector<std::string> suchspalten(int tabelle);

// Typing in a key field: positions the table on the nearest row by its sort
// columns, using the fields up to the last one filled (column -> text).
// True when a row at or after the values exists.
bool suche_positionieren(int tabelle, const std::map<std::string, std::string>& felder);

// "Datensätze Löschen": asks "Alle Datensätze mit den Feldwerten löschen?";
// on Yes every search field must be filled ("Fehler: Bitte Namen in
// Sortierfeld eingeben.", dialog, 'E', otherwise) and every row is deleted
// whose key columns each equal the field's text or whose field is "*".
// Fixed site data sets are kept (and counted in the protocol); rows that
// other site data sets name are deleted only after a second question
// listing them. One transaction. Returns the number of rows deleted.
int64_t loesche_gefundene_datensaetze(int tabelle, const std::map<std::string, std::string>& felder);

// Filter of the search form: column + " LIKE " + the text (bound, never
// pasted into SQL); an empty text removes it ("Filter löschen").
void setze_suchfilter(int tabelle, const std::string& spalte, const std::string& text);
void loesche_suchfilter(int tabelle);
