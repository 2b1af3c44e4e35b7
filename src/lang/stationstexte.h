#pragma once
// Texts of the serial link and the attached devices, in both languages.

#include "lang/sprache.h"

namespace stationstexte {
// Discovery dialog (Abort, Retry, Ignore) and its answers.
inline constexpr text_paar kein_geraet{"Kein passendes Gerät an com <= ", "no correct device for com <= "};
inline constexpr text_paar abbrechen_wiederholen_ignorieren{": abbrechen, wiederholen, ignorieren?",
                                                            "abort, retry, ignore?"};
inline constexpr text_paar programm_beendet{"Gerätesuche abgebrochen", "program is terminated"};
// Window field of a device without port.
inline constexpr text_paar leer{"leer", "empty"};
// Device writes and the USB test pulse.
inline constexpr text_paar kein_com{"Kein com verfügbar", "No com available"};
inline constexpr text_paar schnittstelle_nicht_verfuegbar{"Schnittstelle nicht verfügbar", "Port not available"};

// Port problems; the port name and device path follow.
inline constexpr text_paar port_fehlt{"Schnittstelle nicht vorhanden: ", "Port does not exist: "};
inline constexpr text_paar port_keine_berechtigung{"Keine Berechtigung für die Schnittstelle: ",
                                                    "No permission to open the port: "};
inline constexpr text_paar port_gruppe{"; der Benutzer muss Mitglied der Gruppe sein: ",
                                       "; the user must be a member of the group: "};
inline constexpr text_paar port_gruppe_hinweis{" (sudo usermod -aG GRUPPE $USER, danach neu anmelden)",
                                               " (sudo usermod -aG GROUP $USER, then log in again)"};
inline constexpr text_paar port_belegt{"Schnittstelle von einem anderen Programm belegt: ",
                                       "Port is in use by another program: "};
inline constexpr text_paar port_einstellung{"Einstellungen der Schnittstelle nicht anwendbar: ",
                                            "Port settings cannot be applied: "};
inline constexpr text_paar port_verschwunden{"Schnittstelle während des Betriebs verschwunden (Adapter abgezogen?): ",
                                             "Port vanished while in use (adapter unplugged?): "};
inline constexpr text_paar port_sonstiger{"Schnittstelle nicht nutzbar: ", "Port cannot be used: "};

// Device names by identity letter.
inline constexpr text_paar wetterstation{"Wetterstation", "weather station"};
inline constexpr text_paar pumpenplatine{"Umwälzpumpe und Zwischen-WP", "circulation pump and intermediate heat pump"};
inline constexpr text_paar ventilator{"Ventilator", "fan"};
inline constexpr text_paar sensorplatine{"Sensoren", "sensors"};
inline constexpr text_paar unbekannt{"unbekannt", "unknown"};

// Device list of the runner.
inline constexpr text_paar liste_ports{"Schnittstellen:", "Ports:"};
inline constexpr text_paar liste_keine_ports{"  keine Schnittstelle mit Gerät gefunden", "  no port with a device found"};
inline constexpr text_paar liste_geraete{"Geräte:", "Devices:"};
inline constexpr text_paar liste_simuliert{"(simulierte Geräte)", "(simulated devices)"};

// Control runs.
inline constexpr text_paar geraet_antwortet_nicht{"Gerät antwortet nicht: ", "Device does not answer: "};
inline constexpr text_paar weiter_mit_gespeicherten{"; der Steuerlauf geht mit den gespeicherten Werten weiter",
                                                    "; the control run continues with the stored values"};
inline constexpr text_paar geraet_antwortet_wieder{"Gerät antwortet wieder: ", "Device answers again: "};
inline constexpr text_paar kontrolldatei_nicht_schreibbar{"Fehler: Kontrolldatei kann nicht geschrieben werden: ",
                                                          "Error: cannot write the control file: "};
inline constexpr text_paar jahreswechsel{
    "Jahreswechsel: Ein Steuerlauf rechnet ein Kalenderjahr und endet hier; die Quellen werden abgeschaltet. "
    "Für das neue Jahr den Steuerlauf neu starten.",
    "New year: a control run computes one calendar year and ends here; the sources are switched off. "
    "Start the control run again for the new year."};
inline constexpr text_paar geraete_fehlen{"Fehler: Geräte nicht gefunden (COM2 bis COM100): ",
                                          "Error: devices not found (COM2 to COM100): "};
inline constexpr text_paar geraete_fehlen_hinweis{
    "; ohne Geräte läuft ein Steuerlauf mit --simulated-devices (simulierte Geräte) oder --test-mode (ohne "
    "Messung), --control-simulation rechnet ohne sie",
    "; without devices a control run works with --simulated-devices (simulated devices) or --test-mode (no "
    "measurement), --control-simulation computes without them"};
inline constexpr text_paar geraete_fehlen_simulation{"Warnung: Geräte nicht gefunden (COM2 bis COM100): ",
                                                     "Warning: devices not found (COM2 to COM100): "};
inline constexpr text_paar steuer_simulation_ohne{"; die Steuer-Simulation rechnet ohne sie",
                                                  "; the control simulation computes without them"};
inline constexpr text_paar com_muster_leer{"--com-pattern braucht einen Pfad mit {n} oder {n-1}, z. B. /dev/ttyUSB{n-1}: ",
                                           "--com-pattern needs a path with {n} or {n-1}, e.g. /dev/ttyUSB{n-1}: "};
inline constexpr text_paar com_muster_platzhalter{
    "--com-pattern kennt nur die Platzhalter {n} und {n-1}: ",
    "--com-pattern knows only the placeholders {n} and {n-1}: "};
inline constexpr text_paar steuerlauf_braucht_intervallkern{
    "Fehler: Ein Steuerlauf braucht das Intervallverfahren (Rechenart M mit Zeitraum M oder I, oder V mit Zeitraum I); "
    "Rechenart/Zeitraum des Datensatzes: ",
    "Error: a control run needs the interval method (method M with period M or I, or V with period I); "
    "method/period of the data set: "};
}  // namespace stationstexte
