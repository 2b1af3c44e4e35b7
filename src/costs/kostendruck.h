#pragma once
// The printout of the cost parameters as label/value lines, and the layout
// of the list printer that prints such lines page by page.

#include <string>
#include <vector>

#include "costs/kalkulation.h"

// One printed line; a blank line has an empty label and value.
struct druckzeile {
    std::string label;
    std::string wert;
};

// The parameter lines of every loaded result: "Ergebnis-Name" and the file,
// with a single result also "Einlesefiles-Name" and the catalogue path, then
// the parameters (label followed by ":", value as a plain number), finally the
// cell choice; a blank line between results.
std::vector<druckzeile> kostenparameter_druckzeilen(const kalkulationsdaten& k);

// Where the list printer puts line i (printer units).
struct druckposition {
    int seite = 1;    // page, from 1
    int y = 0;        // top of the row
    int x_label = 0;  // label column
    int x_wert = 0;   // value column
};

constexpr int LISTENDRUCK_RAND = 150;    // top and bottom margin
constexpr int LISTENDRUCK_LABEL_X = 200;

// Layout of `anzahl` lines on pages of the given size with rows `zeilenhoehe`
// high (the height of the letter "T"): labels at x = 200, values at half the
// page width, rows from the top margin of 150 on; a page holds
// (hoehe - 150 - 150) / zeilenhoehe rows (at least one).
std::vector<druckposition> listendruck_layout(int anzahl, int seitenbreite, int seitenhoehe, int zeilenhoehe);

// A number as plain text: the shortest form that reads back to the same value.
std::string druckzahl(double x);
