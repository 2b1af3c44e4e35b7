#pragma once
// Texts of the result charts, the chart window "Funktion", the overview
// windows, the characteristic curves and the run monitors, in German and
// English.

#include "lang/sprache.h"

namespace graphiktexte {

// Messages.
inline constexpr text_paar division_x{"Division nur für identische x-Werte", "Division only for identical x-values"};
inline constexpr text_paar nicht_berechnet{"Größe nicht berechnet", "Value not calculated"};
inline constexpr text_paar eintrag_markieren{"Bitte Eintrag markieren", "Pleasse mark entry"};
inline constexpr text_paar genau_einen{"Bitte genau einen Eintrag markieren", "Pleasse mark exactly one entry"};
inline constexpr text_paar jeweils_einen{"Jeweils einen Eintrag markieren.", "Mark one entry"};
inline constexpr text_paar zwei_dateien{"Fehler: Mindestens zwei Dateien einlesen", "Error: Read at least two files"};
inline constexpr text_paar gleiche_flaechen{"Fehler: Flächen müssen für alle Dateien gleich sein",
                                            "Error: Areas must be the same for all files"};
inline constexpr text_paar maximalzahl{"Maximalzahl einzulesender Dateien: ", "Maximum number of files to read: "};
inline constexpr text_paar flaeche_fehlt{"Keine geladene Datei enthält die Fläche ",
                                         "No loaded file holds the area "};
inline constexpr text_paar volumenstrom_ungueltig{
    "Fehler: Kleinster und größter Volumenstrom müssen positiv sein: ",
    "Error: Smallest and largest volume flow must be positive: "};
inline constexpr text_paar keine_flaeche_in_datei{"Fehler: Falsches Datenformat: Datei ohne Fläche: ",
                                                  "Error: Wrong data format: file without area: "};
inline constexpr text_paar csv_nicht_gespeichert{"Fehler: CSV-Datei nicht gespeichert: ",
                                                 "Error: CSV file not saved: "};

// Chart window "Funktion".
inline constexpr text_paar funktion{"Funktion", "Function"};
inline constexpr text_paar links{" (links)", " (left)"};
inline constexpr text_paar rechts{" (rechts)", " (right)"};
inline constexpr text_paar quotient{"Quotient", "Quotient"};
inline constexpr text_paar label_ein{"Label ein", "Labels on"};
inline constexpr text_paar label_aus{"Label aus", "Labels off"};
inline constexpr text_paar rechte_linien_an{"Rechte Linien an", "Right lines on"};
inline constexpr text_paar rechte_linien_aus{"Rechte Linien aus", "Right lines off"};
inline constexpr text_paar skalierungsfrage{"Skalierungsfaktor in Achsenbeschriftung?",
                                            "Scaling factor in axis caption?"};

// Axis captions and curve names of the result charts.
inline constexpr text_paar flaeche{"Fläche", "Area"};
inline constexpr text_paar monat{"Monat", "Month"};
inline constexpr text_paar tein{" - TEIN", " - TEIN"};
inline constexpr text_paar foerderhoehe{"Förderhöhe [m]", "Pumping head [m]"};

// Overview windows.
inline constexpr text_paar ergebnisse_flaeche{"Ergebnisse (Fläche)", "Results (area)"};
inline constexpr text_paar ergebnisse_zeit{"Ergebnisse (Zeit)", "Results (time)"};
inline constexpr text_paar flaeche_qm{"Fläche [qm]", "Area [m²]"};
inline constexpr text_paar reiter_ges_el{"Ges.El.Energie", "Tot.el.energy"};
inline constexpr text_paar reiter_kollektor{"Kollektor", "Collector"};
inline constexpr text_paar reiter_energie{"Energie", "Energy"};
inline constexpr text_paar reiter_el_energie{"Elektrische Energie", "Electric energy"};
inline constexpr text_paar reiter_heizung{"Heizung/Transfer", "Heating/transfer"};
inline constexpr text_paar reiter_anteile{"Energieanteile", "Energy shares"};
inline constexpr text_paar reiter_pumpe{"Kollektorpumpe", "Collector pump"};
inline constexpr text_paar jahresmaxima{"Jahresmaxima", "Yearly maxima"};
inline constexpr text_paar gesamte_waermeenergie{"Gesamte Wärmeenergie:", "Total heat energy:"};
inline constexpr text_paar leistung_ww{"Nominale Leistung ww", "Nominal power ww"};
inline constexpr text_paar leistung_we{"Nominale Leistung we", "Nominal power we"};
inline constexpr text_paar simulation{"Simulation", "Simulation"};
inline constexpr text_paar vorgabe{"Vorgabe", "Demand"};
inline constexpr text_paar maximum_von{"Maximum: ", "Maximum: "};

// Characteristic curves.
inline constexpr text_paar transfer{"Transfer", "Intermediate"};
inline constexpr text_paar nachheizung{"Nachheizung", "Additional heating"};
inline constexpr text_paar temperaturdifferenz{"Temperaturdifferenz", "Temperature difference"};
inline constexpr text_paar cop{"COP", "COP"};
inline constexpr text_paar endtemperatur{"Endtemperatur [°C]", "End temperature [°C]"};
inline constexpr text_paar kennlinie{"Kennlinie", "Characteristic"};
inline constexpr text_paar test_umkehrroutine{"Test Umkehrroutine", "Test of inverse routine"};
inline constexpr text_paar volumenstrom{"Volumenstrom", "Volume flow"};
inline constexpr text_paar kollektor_titel{"Kollektor: Volumenstrom über Endtemperatur - Außentemperatur",
                                           "Collector: volume flow over end temperature - air temperature"};

// Run monitors.
inline constexpr text_paar zwischenergebnisse_v{"Zwischenergebnisse (V)", "Intermediate results (V)"};
inline constexpr text_paar zwischenergebnisse_t{"Zwischenergebnisse (T)", "Intermediate results (T)"};
inline constexpr text_paar elektrische_energie_monat{"Elektrische Energie [kWh/M]  - ",
                                                     "Electric energy [kWh/M]  - "};
inline constexpr text_paar temperatur{"Temperatur [°C]", "Temperature [°C]"};
inline constexpr text_paar durchfluss{"Durchfluss", "Flow"};
inline constexpr text_paar elektrische_energie_stufe{"Elektrische Energie [kWh] - Stufentemperatur [°C]",
                                                     "Electric energy [kWh] - Stage temperature [°C]"};

// Header rows of a table saved as CSV.
inline constexpr text_paar csv_code{"Code", "Code"};
inline constexpr text_paar csv_einheit{"Einheit", "Unit"};
inline constexpr text_paar csv_quelle{"Datei", "File"};

}  // namespace graphiktexte
