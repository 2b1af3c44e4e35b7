#pragma once
// The catalogue of result files (table `result`): creating or re-using the
// row of a run's result file before the run (`lege_ausgabefile_an`).
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
};

// One row of table `result` as far as this module writes it. The columns
// breite, länge, programm and rechendatum are not written.
struct result_zeile {
    std::string name;  // file name with extension (index "iname")
    std::string ort, land, bezirk, kundennummer;
    std::string haupteingabefile;  // name of the site data set
    std::string pfad;              // folder of the result file
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

// Creates or re-uses the catalogue row of the run's result file and returns
// its path; the caller marks "output file created" and hands the path to the
// writers. dialogflag 'J' asks `dialog` for the path (cancel: nothing changes,
// no result); otherwise the path is results folder / (ausgabefile +
// extension of the run kind). A folder that is missing or not writable is
// reported with its path ('E') and leaves the catalogue unchanged.
std::optional<std::filesystem::path> lege_ausgabefile_an(
    char optimierung, char dialogflag, const haupt_angaben& haupt,
    const std::filesystem::path& ergebnisverzeichnis, ergebniskatalog& katalog,
    speicherdialog* dialog, const datum& heute = heutiges_datum());
