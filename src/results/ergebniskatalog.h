#pragma once
// The catalogue of result files (table `result`): choosing the path of a
// run's result file before the run (`lege_ausgabefile_an`) and creating or
// re-using its row once the file exists (`trage_ergebnisdatei_ein`), so that
// the catalogue never names a file that a failed run did not write.
//
// The table itself is reached through `ergebniskatalog`, which the database
// layer implements; the save dialog through `speicherdialog`, which the
// desktop shell implements (headless callers pass none and use dialog flag 'N').

#include <filesystem>
#include <optional>
#include <string>

// What the catalogue needs of the current site data set (row of `haupt`).
struct haupt_angaben {
    std::string name;
    std::string ort, land, bezirk, kundennummer;
    std::string ausgabefile;  // proposed result file name, without extension
    std::string steuer;       // control-data name: the control file is steuer + ".str"
};

// One row of table `result` as far as this module writes it. The columns
// breite, länge, programm and rechendatum are not written.
struct result_zeile {
    std::string name;  // file name with extension (index "iname")
    std::string ort, land, bezirk, kundennummer;
    std::string haupteingabefile;  // name of the site data set
    std::string pfad;              // folder of the result file (absolute)
    char optimierung = 'S';        // 'O' optimisation (.dat), 'S' simulation (.sim)
    std::string lock = "F";
    std::string info;              // date of creation: "2024 5 7"
};

class ergebniskatalog {
public:
    virtual ~ergebniskatalog() = default;
    // finde_ergebnisdatei: the row whose name equals `schreiberesultat_name`
    // (index "iname"), if there is one.
    virtual std::optional<result_zeile> finde_ergebnisdatei(const std::string& schreiberesultat_name) = 0;
    // Inserts (`neu`) or edits the row named `zeile.name` and posts it.
    virtual void speichere(const result_zeile& zeile, bool neu) = 0;
    // Deletes the row named `schreiberesultat_name`, if there is one.
    virtual void entferne(const std::string& schreiberesultat_name) = 0;
};

struct speicherdialog_vorgabe {
    std::filesystem::path verzeichnis;  // initial folder
    std::string titel;                  // "Datei speichern unter"
    std::string erweiterung;            // ".dat" or ".sim"
    std::string filter;                 // "Optimierungsdateien (*.dat)|*.dat" or ...
    std::string dateiname;              // proposed name: haupt.ausgabefile
};

class speicherdialog {
public:
    virtual ~speicherdialog() = default;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::filesystem::path> zeige(const speicherdialog_vorgabe& vorgabe) = 0;
};

struct datum {
    int jahr = 0, monat = 0, tag = 0;
};
datum heutiges_datum();

// The save-dialog settings for `optimierung` 'O' (".dat") or 'S' (".sim").
speicherdialog_vorgabe ausgabefile_vorgabe(char optimierung, const haupt_angaben& haupt,
                                           const std::filesystem::path& ergebnisverzeichnis);

// True for a plain file name: not empty, no folder separator ('/' or '\\'),
// no drive mark ':', no control character, and neither "." nor "..".
bool ist_einfacher_dateiname(const std::string& name);

// File names from the database stay inside the result folder: `ausgabefile`
// and, for a simulation ('S', which also writes the control file), `steuer`
// of the data set must be plain file names. A refused name is reported with
// table, row and column ('E'); false then.
bool pruefe_dateinamen(char optimierung, const haupt_angaben& haupt);

// Chooses the path of the run's result file; the caller marks "output file
// created" and hands the path to the writers, which enter the catalogue row
// (trage_ergebnisdatei_ein) once the file exists. dialogflag 'J' asks
// `dialog` for the path (cancel: no result); otherwise the path is results
// folder / (ausgabefile + extension of the run kind), with the names checked
// by pruefe_dateinamen. A folder that is missing or not writable is reported
// with its path ('E'); no result then.
std::optional<std::filesystem::path> lege_ausgabefile_an(char optimierung, char dialogflag,
                                                         const haupt_angaben& haupt,
                                                         const std::filesystem::path& ergebnisverzeichnis,
                                                         speicherdialog* dialog);

// Creates or re-uses the catalogue row of the result file `datei`: a new row
// carries the data set's key fields, `pfad` = the file's absolute folder,
// `optimierung` and lock "F"; an existing row (same file name) gets the data
// set's name, the folder the file is in now and the date in `info`.
void trage_ergebnisdatei_ein(char optimierung, const haupt_angaben& haupt,
                             const std::filesystem::path& datei, ergebniskatalog& katalog,
                             const datum& heute = heutiges_datum());
