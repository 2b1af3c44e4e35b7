#pragma once
// The desktop program as a whole: its windows, created once at start-up in
// the program's order and kept until it ends, the message sink of the
// windows, the run executor, and the start-up sequence.

#include <memory>

#include "app/programmstart.h"
#include "app/steuerlauf.h"

class QTranslator;
class QWidget;
class TDiagramme;
class TDiagrammeT;
class TEinErg;
class TGraphKalk;
class THauptmenue;
class TKalkulation;
class TKennlinien;
class TEinlesefiles;
class TSimulationsdaten;
class Tinfo;
class TWP_einstellungen;
class TWetterstation;
class geraetefrage;
class TDatenblatt;
class Tdatenblatt_2;
class TGesamtenergie;
class TAusdruck;
class TDetailtabelle_einlesen;
class Twp_datensatz_suchen;
class gui_senke;
class lauf_ausfuehrer;

class varnek_programm {
public:
    // Creates the sink (installed for `meldung`), the executor, the devices
    // of control runs (`geraete`: the serial ports and the real clock, or a
    // simulated installation and the fast clock) and the windows. Nothing is
    // read from the database yet.
    explicit varnek_programm(const steuerlauf_optionen& geraete = {});
    ~varnek_programm();
    varnek_programm(const varnek_programm&) = delete;
    varnek_programm& operator=(const varnek_programm&) = delete;

    // The start-up sequence: settings and paths, units, the database (created
    // from the default database on first start), the language-dependent
    // texts, Qt's own texts in the language, the warning for a screen
    // narrower than 1024 pixels (`bildschirmbreite`), the table check, and
    // `haupt` and `result` on their first rows. Returns true when the default
    // database was created.
    bool starte(const startoptionen& optionen, int bildschirmbreite);

    THauptmenue& hauptmenue() { return *hauptmenue_; }
    TEinlesefiles& einlesefiles() { return *einlesefiles_; }
    TSimulationsdaten& simulationsdaten() { return *simulationsdaten_; }
    Tinfo& info() { return *info_; }
    TWP_einstellungen& einstellungen() { return *einstellungen_; }
    TGraphKalk& graphkalk() { return *graphkalk_; }
    TEinErg& ergebnisse() { return *ergebnisse_; }
    TKalkulation& kalkulation() { return *kalkulation_; }
    TKennlinien& kennlinien() { return *kennlinien_; }
    TDiagramme& diagramme() { return *diagramme_; }
    TDiagrammeT& diagramme_t() { return *diagramme_t_; }
    TDatenblatt& datenblatt() { return *datenblatt_; }
    Tdatenblatt_2& datenblatt_2() { return *datenblatt_2_; }
    TGesamtenergie& gesamtenergie() { return *gesamtenergie_; }
    TAusdruck& ausdruck() { return *ausdruck_; }
    TDetailtabelle_einlesen& detailtabelle_einlesen() { return *detailtabelle_einlesen_; }
    Twp_datensatz_suchen& datensatz_suchen() { return *datensatz_suchen_; }
    TWetterstation& wetterstation() { return *wetterstation_; }
    steuergeraete& geraete() { return *geraete_; }
    gui_senke& senke() { return *senke_; }
    lauf_ausfuehrer& ausfuehrer() { return *ausfuehrer_; }

    // Loads Qt's own texts (dialog buttons) for language `sprache`.
    void qt_sprache(int sprache);

private:
    std::unique_ptr<gui_senke> senke_;
    std::unique_ptr<lauf_ausfuehrer> ausfuehrer_;
    std::unique_ptr<QTranslator> qt_texte_;
    std::unique_ptr<geraetefrage> geraetefrage_;  // outlives the devices that ask it
    std::unique_ptr<steuergeraete> geraete_;
    std::unique_ptr<THauptmenue> hauptmenue_;
    std::unique_ptr<TEinlesefiles> einlesefiles_;
    std::unique_ptr<TSimulationsdaten> simulationsdaten_;
    std::unique_ptr<Tinfo> info_;
    std::unique_ptr<TWP_einstellungen> einstellungen_;
    std::unique_ptr<TGraphKalk> graphkalk_;
    std::unique_ptr<TEinErg> ergebnisse_;
    std::unique_ptr<TKalkulation> kalkulation_;
    std::unique_ptr<TKennlinien> kennlinien_;
    std::unique_ptr<TDiagramme> diagramme_;
    std::unique_ptr<TDiagrammeT> diagramme_t_;
    std::unique_ptr<TDatenblatt> datenblatt_;
    std::unique_ptr<Tdatenblatt_2> datenblatt_2_;
    std::unique_ptr<TGesamtenergie> gesamtenergie_;
    std::unique_ptr<TAusdruck> ausdruck_;
    std::unique_ptr<TDetailtabelle_einlesen> detailtabelle_einlesen_;
    std::unique_ptr<Twp_datensatz_suchen> datensatz_suchen_;
    std::unique_ptr<TWetterstation> wetterstation_;
};

// The running program (null before it is created); windows reach each other
// through it.
varnek_programm* programm();

// Loads the data set `name` for a window: on the run executor with the
// program's marks shown afterwards, or directly when no program runs (a
// window tested alone). False when it could not be loaded (reported).
bool datensatz_fuer_fenster_einlesen(const std::string& name, QWidget* eltern);
