#pragma once
// Printing the lines of the shared list printer on a QPrinter: the printer
// of the program after the print dialog, or a PDF file when the system has no
// printer; the lines are drawn where `listendruck_layout` puts them.

#include <QString>

#include <vector>

#include "results/listendrucker.h"

class QFont;
class QPrinter;
class QWidget;

// The printer to print `dokument` on: with a system printer the program's
// printer after the print dialog, otherwise the program's printer writing a
// PDF file chosen in a save dialog (proposed name `dokument`.pdf in the result
// folder). nullptr when the user cancels.
QPrinter* waehle_drucker(QWidget* eltern, const QString& dokument);

// Draws the lines page by page: label at x = 200, value at half the page
// width, rows the height of "T" apart from the top margin of 150 on. A value
// wider than the rest of the page goes on under it on continuation lines,
// so no field is cut off at the page edge. False when the printer cannot be
// started (reported).
bool drucke_zeilen(QPrinter& drucker, const QFont& schrift, const std::vector<druckzeile>& zeilen);
