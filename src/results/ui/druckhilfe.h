#pragma once
// Printing from the result and cost windows: the program's printer after its
// print dialog (a PDF file when the system has no printer), and the shared
// list printer's lines drawn on the page.

#include <QFont>

#include <vector>

#include "results/listendrucker.h"

class QPrinter;
class QWidget;

// The program's printer after the print dialog; with PDF output and no file
// chosen yet a save dialog asks for the file. Null when cancelled.
QPrinter* drucker_waehlen(QWidget* eltern);

// The printer font chosen in the main window ("Druckerfonts"), or the
// window's font at 10 points without a main window.
QFont druckerschrift();

// Prints the label/value lines on `drucker` in the layout of the shared list
// printer (labels at x = 200, values at half the page width, rows the height
// of "T" apart below a top margin of 150; a new page when a page is full).
// False when the printer could not be opened.
bool drucke_liste(QPrinter& drucker, const std::vector<druckzeile>& zeilen, const QFont& schrift);
