#pragma once
// The chart window "Funktion" (TGraphKalk) without its window: the left and
// right chart data it was given, what it draws from them (series, axis
// captions and ranges, title lines) and its operations: quotient of two
// curves, sum of a curve, rescaling, label toggle, right curves on and off,
// first point off. The desktop window renders `anzeige()` and calls these
// operations from its buttons.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/WP_variables.h"

// Copies, per source curve, x and y of its anzp points, xmin, xmax, bildname
// and anzp, then xname, yname and anzbild (title and info stay).
void eineSeite(graphdata& ziel, const graphdata& quelle);

// The part of a curve name after its last "\" (or "/", the separator of
// paths here; the " / " between the names of a quotient curve is none).
std::string kurventitel(const std::string& bildname);

// Truncates x toward zero to n decimals. A value that lies within rounding
// noise of an n-decimal number counts as that number (2.23 stays 2.23).
double abschneiden(double x, int n);

struct kurvenanzeige {
    std::string titel;
    bool rechts = false;  // series 7..12 on the right axis
    std::vector<std::pair<double, double>> punkte;  // (x, y) as drawn
};

struct achsenbereich {
    double min = 0.0, max = 0.0;
};

// What the chart window shows.
struct diagrammanzeige {
    std::vector<kurvenanzeige> serien;  // drawn left curves, then the right ones
    std::vector<std::string> kurvenliste;  // entries of the curve list: the left curves
    std::string achse_links, achse_rechts, achse_unten;
    achsenbereich links, rechts;
    bool rechts_sichtbar = true;  // right curves and right axis labels shown
    bool labels = false;          // point labels shown
    bool gruppe_rechnen = false;  // group "Rechnen" visible
    std::string titel, info;
    // Fields of the group "Skalieren" as the window fills them.
    double edit_min = 0.0, edit_max = 0.0, edit_rmin = 0.0, edit_rmax = 0.0;
    std::string edit_faktor = "1", edit_text;
};

// Input of "Anwenden" (group "Skalieren").
struct skalierung {
    double faktor = 1.0;
    std::string faktor_text = "1";  // as typed, for the axis caption
    double min = 0.0, max = 0.0;    // left, before the factor
    double rmin = 0.0, rmax = 0.0;  // right, as entered
    std::string text;               // left axis caption
    bool faktor_in_beschriftung = false;  // answer to "Skalierungsfaktor in Achsenbeschriftung?"
};

class graphkalk {
public:
    graphkalk();

    // FormActivate: labels off, right curves on.
    void aktiviere();

    // besetzeSeries: shows the two records; imaxp is taken as at most 2000
    // and limits the points of every curve; the left curves start at point
    // pmin_links, the right ones at point 1.
    void besetzeSeries(const graphdata& links, const graphdata& rechts, int imaxp, bool rechts_sichtbar,
                       int pmin_links);

    const diagrammanzeige& anzeige() const { return anzeige_; }
    const graphdata& linksdaten() const { return *links_; }
    const graphdata& rechtsdaten() const { return *rechts_; }

    // "Quotient" and "Integral" are enabled for exactly two, resp. one,
    // selected curves of the list (1-based).
    static bool quotient_moeglich(const std::vector<int>& auswahl) { return auswahl.size() == 2; }
    static bool integral_moeglich(const std::vector<int>& auswahl) { return auswahl.size() == 1; }

    // Quotient of left curves a and b (1-based, either order): right curve 1
    // y_a / y_b, curve 2 y_b / y_a (0 where the divisor is 0), shown with the
    // left data. false with "Division nur für identische x-Werte" when the x
    // of the two curves differ at any of the 2000 point positions.
    bool quotient(int a, int b);

    // Sum of y over the anzp points of left curve i (1-based), truncated to
    // 2 decimals; text as shown in "Summe".
    double summe(int kurve) const;
    std::string summe_text(int kurve) const;

    // "Anwenden": left range factor × min .. factor × max and the left curves
    // drawn with y × factor; right range as entered; left caption := text
    // (with " * " and the factor text appended on request).
    void skaliere(const skalierung& s);

    // "Label aus" / "Label ein".
    void labels_umschalten();
    std::string label_knopf() const;
    // "Rechtsdaten aus": right curves off (caption cleared, labels off) or on.
    void rechtsdaten_umschalten();
    std::string rechts_knopf() const;
    // "Erster Punkt aus": the last data again, left curves from point 2.
    void erster_punkt_aus();

private:
    void zeichne(int pmin_links);

    std::unique_ptr<graphdata> links_, rechts_;             // rechDaten, rechtsdaten
    std::unique_ptr<graphdata> zuletzt_links_, zuletzt_rechts_;  // records last shown
    int imaxp_ = MAXGRAPHPUNKTE;
    int pmin_ = 1;
    bool rechts_sichtbar_ = true;
    diagrammanzeige anzeige_;
};
