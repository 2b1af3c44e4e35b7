#pragma once
// Writers of result files (".sim", ".dat") and control files (".str").
//
// Layout (Windows-1252 bytes, every line ended by CR LF, NUL = byte 0,
// "(30)" = right-aligned in 30 characters, longer texts whole):
//  1. name of the site data set
//  2. zeil ",  " spalt ",  " scheib NUL
// then per section (collector area):
//  3. key name ", " key unit ", " NUL key value
//  4. "Monat, Nummer, " then per column title(30) ",  ", then NUL
//  5. per column unit(30) ",  ", then NUL
//  6. per column code(30) ",  ", then NUL
//  7. per row: label(30) ",  " number ",  " NUL, per column value ",  ", then NUL
// Numbers as in zahlformat.h. Lines 1 and 2 are written once, by mode "w".

#include <array>
#include <filesystem>
#include <string>

#include "engine/WP_variables.h"
#include "results/ergebnistabelle.h"

// The sections of a run's result and control files: the run writes the
// sections of its areas erster..letzter (line 2 announces letzter − erster + 1
// of them); `aktuell` is the one being written, 1-based (1 creates the file).
struct abschnittsfolge {
    int erster = 1;
    int letzter = 1;
    int aktuell = 1;
};

enum class schreibmodus {
    w,  // create the file (lines 1 and 2), then the section
    a,  // append the section
};

// Bytes of lines 1 and 2.
std::string formatiere_kopf(const parreadtab& tab);
// Bytes of one section (lines 3 to 7) with the section key `schluessel`
// (name, einheit, wert).
std::string formatiere_abschnitt(const parreadtab& tab, const koor& schluessel);

// Writes one section of `tab` to the file `tab.name`. A file that cannot be
// opened or written is reported with its path (`meldepfad` when given, the
// file the user knows, else `tab.name`) and abandons the operation
// ("Fehler: Datei kann nicht geschrieben werden: <path>", severity 'T').
// A file announcing more than MAXSCHEIBEN sections (or none) is refused
// before anything is written ("... (CMAXA) überschritten", 'T').
void schreibe_tabelle(const parreadtab& tab, const koor& schluessel, schreibmodus modus,
                      const std::string& meldepfad = {});

// What the writers need of the current data set and the settings.
struct ergebnisdatei_angaben {
    std::string hauptname;                      // haupt.name
    std::filesystem::path ergebnisdatei;        // the path chosen by lege_ausgabefile_an
    std::filesystem::path ergebnisverzeichnis;  // results folder
    std::string steuername;                     // haupt.steuer (control-data name)
    std::string flaecheneinheit;                // output unit of collector area
};

// The three input columns of the control file: interval length (ho), irradiance
// (is0) and air temperature (ta) of the working series, each converted from
// its main unit by `umrechnen` and labelled with `einheit` (the output units of
// time, intensity and temperature).
struct intervalleingaben {
    const datz3* pvdatz3 = nullptr;
    std::array<std::string, 3> einheit{"h", "W/qm", "°C"};
    std::array<umrechnen_struct, 3> umrechnen{};
};

// Path of the control file: results folder / (steuername + ".str").
std::filesystem::path steuerdateipfad(const ergebnisdatei_angaben& a);

// Writes section `abschnitte.aktuell` (the current area) to the result file:
// 12 month rows × 61 quantities of d.feld in the units d.ausgabe_einheit. The bytes go to `ziel` when given
// (a temporary file that replaces the result file once the run is complete),
// else to a.ergebnisdatei; messages name a.ergebnisdatei.
void schreibe_monatsergebnisse(const ::datm& d, parreadtab& tab, double flaeche_aus,
                               const abschnittsfolge& abschnitte, const ergebnisdatei_angaben& a,
                               const std::filesystem::path& ziel = {});

// Writes the section of the current area to the control file: one row per
// interval of every month (intervalle(m)), 21 columns (3 inputs and the 18
// series of d.feld3 in d.ausgabe_einheit_3). `ziel` as above, else the
// control file steuerdateipfad(a).
void schreibe_intervallergebnisse(const ::datm& d, parreadtab& tab, double flaeche_aus,
                                  const abschnittsfolge& abschnitte, const ergebnisdatei_angaben& a,
                                  const intervalleingaben& eingaben, const std::filesystem::path& ziel = {});
