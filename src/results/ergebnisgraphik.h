#pragma once
// Chart data the results window builds from the loaded result files: the
// monthly and the annual chart for the chart window "Funktion", and the fixed
// chart sets of the overview windows "Ergebnisse (Fläche)" and "Ergebnisse
// (Zeit)". Quantities are chosen by their adata index and found in the files
// by code; every value is in the output units the files were loaded in.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/WP_variables.h"
#include "results/ergebnisvergleich.h"

// A number as the charts name areas: rounded to 2 decimals, without
// trailing zeros ("4", "4.5", "12.25").
std::string flaechen_text(double x);

// "Konstante Variable" of the monthly chart.
enum class konstante_variable {
    monat,    // the month is constant: x = area of each section
    flaeche,  // the area is constant: x = month (row)
};

struct monatsgraphik_auswahl {
    int groesse = 0;                          // adata index of the monthly quantity
    konstante_variable art = konstante_variable::monat;
    std::vector<int> monate;                  // marked months (rows, 1-based)
    std::vector<int> scheiben;                // marked areas (sections, 1-based) of the one file
    double flaeche = 4.0;                     // "Wert eingeben:" (several files, area constant)
};

// Monthly chart into `links` and `rechts` (cleared first). One file: one
// curve per marked month (area on x) or per marked area (month on x), at
// least one entry marked. Several files: one curve per file, exactly one
// month marked (area on x) or the section whose area equals the number
// entered (month on x). The right axis shows tf_s − teinv for tf_s and the
// pump head for zpk. false, with the message, when the marks do not fit or
// no file holds the quantity. At most 6 curves per side.
bool baue_monatsgraphik(const ergebnisvergleich& v, const monatsgraphik_auswahl& a, graphdata& links,
                        graphdata& rechts);

struct jahresgraphik_auswahl {
    int groesse = 0;                        // adata index of the annual quantity
    bool als_funktion_des_winkels = false;  // "Als Funktion des Winkels"
};

// Annual chart (row 1 of each section): one curve per file over the area,
// x range 0 .. the last area, jkk_g on the right for jkk. As a function of
// the tilt: one curve per area over the tilt of each file; needs two files
// and the same areas in all (both refusals abandon the operation).
bool baue_jahresgraphik(const ergebnisvergleich& v, const jahresgraphik_auswahl& a, graphdata& links,
                        graphdata& rechts);

// --- Overview windows -------------------------------------------------------

struct uebersichtskurve {
    std::string name;
    bool punkte = false;  // a point series instead of a line
    std::vector<std::pair<double, double>> werte;
};

struct uebersichtsdiagramm {
    std::string name;    // "Chart1", ...
    std::string titel;   // title label: the quantity title
    std::string gruppe;  // panel inside the tab ("Jahresmaxima"), empty for none
    bool sichtbar = true;
    bool berechnet = true;  // every quantity it shows is in the file
    std::string xname, yname;
    std::vector<uebersichtskurve> kurven;
};

struct uebersichtsfeld {
    std::string name;          // "EditWe", ...
    std::string beschriftung;  // label text
    std::string wert;          // text shown
    std::string einheit;
};

struct uebersichtsseite {
    std::string reiter;
    std::vector<uebersichtsdiagramm> diagramme;
    std::vector<uebersichtsfeld> felder;
};

struct uebersicht {
    std::string titel;  // window caption
    std::vector<uebersichtsseite> seiten;
    const uebersichtsdiagramm* finde(const std::string& name) const;
};

// What the overview windows take from the database besides the file.
struct uebersicht_angaben {
    std::string kopplungstyp;            // an.Kopplungstyp of the plant
    double gesamte_waermeenergie = 0.0;  // yearly heat demand of the result's site
    std::string energieeinheit;
    double leistung_ww = 0.0, leistung_we = 0.0;  // maximaleleistung of the ww and we pumps
    std::string leistungseinheit;
    bool vorgabe_bekannt = false;
    std::array<double, 13> vorgabe{};    // [1..12] energy demand of the month, output unit of eg
};

// "Übersicht" needs exactly one month and one area marked; otherwise
// "Jeweils einen Eintrag markieren." and false.
bool pruefe_uebersicht_auswahl(int markierte_monate, int markierte_flaechen);

// "Ergebnisse (Fläche)" of file `d` (the results window passes the file
// loaded last) for month (row) `monat`: y over the area of each section.
uebersicht baue_uebersicht_flaeche(const geladene_datei& d, int monat, const uebersicht_angaben& angaben);
// "Ergebnisse (Zeit)" of file `d` (the results window passes the first
// loaded file) for section `scheibe`: one point per row at month − 0.5.
uebersicht baue_uebersicht_zeit(const geladene_datei& d, int scheibe, const uebersicht_angaben& angaben);
