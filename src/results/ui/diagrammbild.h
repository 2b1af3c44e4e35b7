#pragma once
// Qt Charts pictures of the program's chart data: what the chart window
// "Funktion" shows (diagrammanzeige) and the charts of the overview windows;
// saving such a chart as SVG, PNG or PDF at a chosen size, and printing it.

#include <QSize>
#include <QString>

class QChart;
class QPrinter;
class QValueAxis;
struct diagrammanzeige;
struct uebersichtsdiagramm;

// Fills `chart` (series and axes removed first) with the curves, axis
// captions, ranges and point labels of `a`: left curves on the left axis,
// right curves (when shown) on the right axis, both over the bottom axis.
// With `mit_titel` the title and info lines become the chart's title (the
// window shows them as labels of its own).
void zeichne_diagramm(QChart& chart, const diagrammanzeige& a, bool mit_titel);

// One chart of an overview window: its curves (lines, or points for a point
// series), axis captions and title; "Größe nicht berechnet" as subtitle when
// the file lacks a quantity.
void zeichne_diagramm(QChart& chart, const uebersichtsdiagramm& d);

// Ticks of a value axis at round numbers (1, 2, 2.5 or 5 times a power of
// ten, about five of them) inside the range lo .. hi, which stays as set.
void runde_teilung(QValueAxis* achse, double lo, double hi);
// Sets the range lo .. hi of an axis that may have shown another range
// before, with round ticks.
void setze_bereich(QValueAxis* achse, double lo, double hi);

// Picture formats, chosen by the file's extension (.svg, .png, .pdf).
enum class bildformat { svg, png, pdf, unbekannt };
bildformat bildformat_von(const QString& datei);

// Renders the chart of `a` with its title lines at `groesse` pixels (PDF:
// a page of that size at 96 dpi) into `datei`. The file is written
// completely or left as it was; false with the reason in `fehler`.
bool speichere_diagramm(const diagrammanzeige& a, const QString& datei, QSize groesse, QString* fehler = nullptr);

// Prints `ueberschrift` and the chart of `a` on one page of `drucker`: the
// heading at (200, 250), the chart from (200, 500) in printer units, 3 : 2,
// as wide as the page allows.
void drucke_diagramm(QPrinter& drucker, const diagrammanzeige& a, const QString& ueberschrift);
