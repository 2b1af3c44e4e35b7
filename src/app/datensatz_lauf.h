#pragma once
// Runs of site data sets as the windows start them, through the run driver's
// entry points: the output file chosen for the next run, a single simulation
// or optimisation of the loaded data set, the optimisation of the input-file
// form (" Optimieren") and the batch ("Serie rechnen").
//
// A run holds the locks of the files it writes (results/dateisperre.h), so a
// run from the desktop and one from the runner never write the same file.

#include <functional>
#include <optional>
#include <string>

#include "app/simulation_run.h"
#include "app/standard_laufdienste.h"
#include "app/steuerlauf.h"

// The output file chosen for the next run ("Optimierungsfile anlegen",
// "Simulationsfile anlegen"); cleared by "Neue Simulation".
std::optional<ausgabefile>& gewaehltes_ausgabefile();

// Creates the output file of the current data set (`optimierung` 'O' or
// 'S'; with a `dialog` the user chooses the path) and keeps it as the
// chosen one. False when none was created (reported, or the dialog was
// cancelled).
bool ausgabefile_waehlen(char optimierung, speicherdialog* dialog = nullptr);

// Loads the current data set ("Daten einlesen": irradiation computed, messages
// as dialogs). False when it could not be loaded (reported).
bool datensatz_einlesen();
// The same for the data set `name`: the list is unfiltered and in its order,
// the data set made current and loaded; a missing one is reported.
bool datensatz_einlesen(const std::string& name);

// "Start Simulation" (optimierung false) and "Start Optimierung" of the main
// window: runs the loaded data set into the chosen output file. The data set
// and the output file must have been prepared ("Fehler: Daten einlesen und
// Ausgabedatei anlegen" otherwise). Files another run is writing are refused
// with a message. Returns true when the run completed ("Simulation
// durchgeführt"). An abandoned run (abbruch) propagates; its files are
// discarded.
bool rechne_geladenen_datensatz(bool optimierung, lauf_beobachter& beobachter);

// " Optimieren" of the input-file form: loads the current data set, creates
// its optimisation file (".dat") and runs the optimisation. `geladen` is
// called once the data set is loaded (the window enables its run menu).
bool optimieren(lauf_beobachter& beobachter, const std::function<void()>& geladen = {});

// "Wetterstation und Steuern" of the input-file form: loads the current data
// set (messages to the protocol), refuses a data set whose method does not
// follow the clock, and creates its result file (".sim"). False when the
// data set cannot be run as a control run (reported).
bool zum_steuern_einlesen();

// The control run of the loaded data set started from the weather-station
// window: the station `g` was prepared there (`messflag` "J" full mode, "N"
// test mode); runs into the chosen output file, whose files it holds
// locked. Requires the data set and its output file as "Start Simulation"
// does.
steuerlauf_ergebnis steuere_geladenen_datensatz(steuergeraete& g, const std::string& messflag,
                                                lauf_beobachter& beobachter,
                                                const std::function<void(const liveintervall_zeile&)>& nach_liveintervall);

// Outcome of a batch.
struct serienstand {
    int gerechnet = 0;        // data sets computed and fixed
    int uebersprungen = 0;    // data sets another run was computing
    std::string angehalten_bei;  // data set whose run did not complete ("" when none)
    bool abgebrochen = false;    // that run was abandoned (stop, 'T', confirmed 'A')
};

// "Serie rechnen": every data set that is not fixed, from the current `haupt`
// row on up to the first fixed one, in list order. Each is loaded, gets its
// result file (".dat"), is run as an optimisation and is then fixed ("F").
// Messages go to the protocol file, which is emptied first. The batch stops
// at the first run that does not complete or is abandoned; that data set
// stays "NF". A data set whose files another run holds is left to that run.
// `begonnen` is called with each data set's name before it is computed.
serienstand serie_rechnen(lauf_beobachter& beobachter,
                          const std::function<void(const std::string&)>& begonnen = {});
