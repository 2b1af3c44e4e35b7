#pragma once
// The shared list printer: label/value lines laid out page by page. The cost
// printout, the data-set printout and the data sheets print through it; the
// window only draws the lines at the positions given here.

#include <string>
#include <vector>

// One printed line; a blank line has an empty label and value. `zusammen`
// is the number of lines, this one included, that are to stay together on
// one page.
struct druckzeile {
    std::string label;
    std::string wert;
    int zusammen = 1;
};

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

// The same for lines that keep together: a line whose `zusammen` lines do
// not fit on the rest of a page that already holds lines starts a new page.
// The lines of a group longer than a page start on a new page and run on
// over the following ones: a line that continues its group (its `zusammen`
// is one less than the previous line's) never breaks the page early.
std::vector<druckposition> listendruck_layout(const std::vector<druckzeile>& zeilen, int seitenbreite,
                                              int seitenhoehe, int zeilenhoehe);

// A number as plain text: the shortest form that reads back to the same value.
std::string druckzahl(double x);
