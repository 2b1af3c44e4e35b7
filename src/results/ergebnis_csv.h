#pragma once
// The result tables of the results window and their CSV form: UTF-8, comma
// separated, decimal point whatever the locale, numbers written so that they
// read back exactly. Three header rows name each column's quantity, code and
// unit (a fourth names the file when the columns come from several files);
// the first column holds the row labels, headed by the table's label heading
// in the quantity row and by "Code", "Einheit" ("Datei") in the others.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "results/ergebnisvergleich.h"

struct tabellenspalte {
    std::string groesse;  // quantity title
    std::string code;
    std::string einheit;
    std::string quelle;   // file the column comes from (comparison tables), else empty
};

struct ergebnis_anzeigetabelle {
    std::string titel;                       // what the table shows (not written to the CSV)
    std::string zeilenkopf;                  // heading of the label column
    std::vector<tabellenspalte> spalten;
    std::vector<std::string> zeilen;         // row labels
    std::vector<std::vector<double>> werte;  // [row][column]
};

// Section s of file d: one row per row of the file, one column per column.
ergebnis_anzeigetabelle tabelle_der_scheibe(const geladene_datei& d, int s);

// Row 1 of every section of file d (the annual values): one row per area.
ergebnis_anzeigetabelle jahreswerte_tabelle(const geladene_datei& d);

// Monthly quantity q of every loaded file side by side, for the section
// whose area equals `flaeche`: one row per month, one column per file that
// holds the quantity and the area. Files without them give no column.
ergebnis_anzeigetabelle vergleichstabelle(const ergebnisvergleich& v, int q, double flaeche);

// A number as written to CSV: the shortest text that reads back as the same
// double, with a decimal point ("nan", "inf", "-inf" for those).
std::string csv_zahl(double x);
// A text field, quoted when it holds a comma, a quote or a line break.
std::string csv_text(const std::string& s);

void schreibe_csv(const ergebnis_anzeigetabelle& t, std::ostream& aus);
std::string als_csv(const ergebnis_anzeigetabelle& t);

// Saves the CSV to `datei`: written beside it and renamed over it, so the
// file is complete or unchanged. false with a message naming the file and
// the reason when that fails.
bool speichere_csv(const ergebnis_anzeigetabelle& t, const std::filesystem::path& datei);
