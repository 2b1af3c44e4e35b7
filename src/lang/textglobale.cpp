#include "lang/textglobale.h"

#include <array>

namespace {

struct eintrag {
    int nummer;
    text_paar paar;
};

// In the order of the enumeration; the number of each row is checked below,
// so that a row can never stand for another global.
constexpr std::array<eintrag, tg::ANZAHL> TABELLE{{
    {tg::protokolldatei, texte::protokolldatei},
    {tg::anwendung_beenden, texte::anwendung_beenden},

    {tg::produkttitel, {"Varnek", "Varnek"}},
    {tg::titel_info, {"Info", "Info"}},
    {tg::titel_einlesedaten, {"Einlesedaten", "Input data"}},
    {tg::titel_simulationsdaten, {"Simulationsdaten", "Simulation data"}},
    {tg::titel_einstellungen, {"Einstellungen", "Settings"}},
    {tg::titel_lauf, {"Rechnung", "Computation"}},
    {tg::titel_ergebnisse_flaeche, {"Ergebnisse (Fläche)", "Results (area)"}},
    {tg::titel_ergebnisse_zeit, {"Ergebnisse (Zeit)", "Results (time)"}},
    {tg::titel_funktion, {"Funktion", "Function"}},
    {tg::titel_zwischenergebnisse_v, {"Zwischenergebnisse (V)", "Intermediate results (V)"}},

    {tg::nav_erster, {"Erster Datensatz", "First data set"}},
    {tg::nav_vorheriger, {"Vorheriger Datensatz", "Previous data set"}},
    {tg::nav_naechster, {"Nächster Datensatz", "Next data set"}},
    {tg::nav_letzter, {"Letzter Datensatz", "Last data set"}},
    {tg::nav_einfuegen, {"Datensatz einfügen", "Insert data set"}},
    {tg::nav_loeschen, {"Datensatz löschen", "Delete data set"}},
    {tg::nav_bearbeiten, {"Datensatz bearbeiten", "Edit data set"}},
    {tg::nav_speichern, {"Bearbeitung speichern", "Post edit"}},
    {tg::nav_abbrechen, {"Bearbeitung abbrechen", "Cancel edit"}},
    {tg::nav_aktualisieren, {"Daten aktualisieren", "Refresh data"}},

    {tg::aufloesung_warnung, {"Warnung: Bitte Bildschirmauflösung auf 1024x768 oder größer einstellen",
                              "Warning: Please set the screen resolution to 1024x768 or larger"}},
    {tg::beta_version, {"Beta-Version 2.0", "Beta version 2.0"}},
    {tg::handbuch_fehlt, {"Fehler: Anleitung nicht gefunden: ", "Error: manual not found: "}},
    {tg::drucker_fehlt, {"Warnung: Kein Drucker eingerichtet; gedruckt wird in eine PDF-Datei",
                         "Warning: no printer set up; printing goes to a PDF file"}},
    {tg::rechenzeit_sekunden, {"Rechenzeit: %1 s", "Computing time: %1 s"}},

    {tg::lauf_laeuft, {"Die Rechnung läuft.", "The computation is running."}},
    {tg::lauf_anhalten, {"Anhalten", "Stop"}},
    {tg::lauf_angehalten, {"Rechnung angehalten; nicht abgeschlossene Ergebnisdateien wurden verworfen.",
                           "Computation stopped; result files not completed were discarded."}},
    {tg::lauf_monat, {"Schritt %1 von %2", "Step %1 of %2"}},
    {tg::lauf_flaeche, {"Kollektorfläche %1 qm", "Collector area %1 m²"}},
    {tg::lauf_fehler, {"Fehler: Rechnung mit einem Programmfehler beendet: ",
                       "Error: computation ended with a program fault: "}},
    {tg::lauf_beendet, {"Die Rechnung ist beendet.", "The computation has ended."}},
    {tg::lauf_abgebrochen, {"Die Rechnung wurde abgebrochen.", "The computation was abandoned."}},
    {tg::lauf_meldungen, {"Meldungen des Laufs (auch im Protokoll):", "Messages of the run (also in the protocol):"}},
    {tg::lauf_schliessen, {"Schließen", "Close"}},
    {tg::datei_belegt, {"Fehler: Ergebnisdatei wird gerade von einem anderen Lauf geschrieben: ",
                        "Error: result file is being written by another run: "}},
    {tg::keine_ausgabedatei, {"Fehler: Daten einlesen und Ausgabedatei anlegen",
                              "Error: Read data and create output file"}},
    {tg::serie_gerechnet, {"Serie: %1 Datensätze gerechnet", "Batch: %1 data sets computed"}},
    {tg::serie_uebersprungen, {", %1 von einem anderen Lauf gerechnet", ", %1 computed by another run"}},
    {tg::serie_angehalten, {"Serie angehalten bei: ", "Batch stopped at: "}},
    {tg::nichts_geladen, {"Fehler: Kein Datensatz eingelesen", "Error: no data set read"}},
    {tg::optimierung_fertig, {"Optimierung abgeschlossen: ", "Optimisation completed: "}},
    {tg::simulation_fertig, {"Simulation abgeschlossen: ", "Simulation completed: "}},

    {tg::nicht_fixierte_loeschen, {"Alle nicht fixierten Datensätze löschen?", "Delete all data sets not fixed?"}},
    {tg::datensatz_loeschen_frage, {"Datensatz löschen?", "Delete data set?"}},
    {tg::addiere_default_fertig, {"Standard-Testdatensätze hinzugefügt: ", "Standard test data sets added: "}},
    {tg::steuerdatei_dialogtitel, {"Ergebnisdatei einlesen", "Read result file"}},
    {tg::steuerdatei_filter, {"Steuerdateien (*.str)|*.str", "Control files (*.str)|*.str"}},
    {tg::steuerdatei_gelesen, {"Steuerdatei eingelesen: ", "Control file read: "}},
    {tg::ungespeicherte_aenderung, {"Änderungen am Datensatz speichern?", "Save the changes to the data set?"}},
    {tg::zahl_erwartet, {"Fehler: Zahl erwartet in ", "Error: number expected in "}},
    {tg::gruppe_zugeordnet, {"Datensatz vorhanden", "Data set exists"}},

    {tg::cmaxa, {"Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten",
                 "Error: Maximum number of values for collector units (CMAXA) exceeded."}},

    {tg::nicht_gespeichert, {"Einstellungen werden bei Schliessen des Programms nicht gespeichert",
                             "Settings are not saved when the program is closed"}},
    {tg::eintrag_markieren, {"Bitte Eintrag markieren", "Pleasse mark entry"}},
    {tg::datenbank_quelle, {"Datenbank Quelle", "Database source"}},
    {tg::datenbank_ziel, {"Datenbank Ziel", "Database target"}},
    {tg::datenbank_filter, {"Datenbank(*.sqlite *.db)|*.sqlite *.db", "Database(*.sqlite *.db)|*.sqlite *.db"}},
    {tg::konvertiert, {"Konvertiert: %1 Zeilen aktualisiert, %2 Zeilen eingefügt",
                       "Converted: %1 rows updated, %2 rows inserted"}},
    {tg::alle_einheiten_loeschen, {"Alle Einheiten löschen?", "Delete all units?"}},

    {tg::such_land, {"Land", "Country"}},
    {tg::such_bezirk, {"Bezirk", "Region"}},
    {tg::such_ort, {"Ort", "Location"}},
    {tg::such_kundennummer, {"K.nr.", "C.no."}},
    {tg::such_suchen, {"Suchen", "Search"}},
    {tg::such_schliessen, {"Schließen", "Close"}},
    {tg::such_datensatz_loeschen, {"Lösche Datensatz", "Delete dataset"}},
    {tg::such_filter_loeschen, {"Filter löschen", "Delete filter"}},
    {tg::label_ein, {"Label ein", "Labels on"}},
    {tg::division_identische_x, {"Division nur für identische x-Werte", "Division only for identical x-values"}},
    {tg::leer, {"leer", "empty"}},
    {tg::strahlungsleistung, {"Strahlungsleistung", "Av. irradition power of direct sun"}},
    {tg::preis_zwischenwaermepumpe, {"Preis der Zwischenwärmepumpe", "Price of intermediate heat pump"}},
}};

constexpr bool in_reihenfolge() {
    for (int i = 0; i < tg::ANZAHL; ++i)
        if (TABELLE[static_cast<std::size_t>(i)].nummer != i) return false;
    return true;
}
static_assert(in_reihenfolge(), "the rows of the text globals follow their enumeration");

}  // namespace

const text_paar& textglobal(int n) { return TABELLE.at(static_cast<std::size_t>(n)).paar; }

std::string tgtext(int n) { return textglobal(n).text(); }
