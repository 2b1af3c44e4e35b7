#pragma once
// Charts of result files without a window, for scripted reports:
//
//   varnek --export-chart monthly|annual --code CODE [--area A] [--size WxH]
//          --out FILE.svg|.png|.pdf RESULTFILE...
//
// monthly: the quantity over the months for the section of area A (default:
// the last area of the first file); annual: its yearly value (row 1) over the
// collector area. One curve per file, named by the file's data set; values in
// the current output units. Runs on Qt's offscreen platform.

#include <QStringList>

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/programmstart.h"

struct diagrammexport_auftrag {
    enum class art { monatlich, jaehrlich } art = art::monatlich;
    std::string code;
    std::optional<double> flaeche;
    int breite = 1200, hoehe = 800;
    std::string ausgabe;
    std::vector<std::string> dateien;
};

// True when the arguments (without the program name) ask for a chart export.
bool ist_diagrammexport(const QStringList& argumente);

// Reads the export's arguments (and the start options --db, --results,
// --lang into `start`). An error sets `fehler` and gives nothing.
std::optional<diagrammexport_auftrag> lies_diagrammexport(const QStringList& argumente, startoptionen& start,
                                                          std::string& fehler);

// Starts the program without windows (settings, units, database), reads the
// files, builds the chart and writes it. Exit status: 0 written, 1 failed
// (one line on `fehler`), 2 wrong arguments. Needs a QApplication.
int exportiere_diagramm(const QStringList& argumente, std::ostream& fehler);
