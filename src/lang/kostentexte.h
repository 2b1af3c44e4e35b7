#pragma once
// Texts of the cost calculation in German and English: parameter labels,
// chart captions, printout words and messages.

#include "lang/sprache.h"

namespace kostentexte {

// Messages.
inline constexpr text_paar maximalzahl{"Maximalzahl einzulesender Dateien: 6", "Maximum number of files to read: 6"};
inline constexpr text_paar minimalflaeche{"Minimalfläche muss Null sein für alle Resultate",
                                          "Minimum area must be zero for all results"};
inline constexpr text_paar kein_resultat{
    "Fehler: Keine Ergebnisdatei einer Simulation oder Optimierung (Spalte fehlt: ",
    "Error: not the result file of a simulation or optimisation (column missing: "};
inline constexpr text_paar datensatz_fehlt{"Fehler: Datensatz des Resultats fehlt: ",
                                           "Error: data set of the result is missing: "};
inline constexpr text_paar zeile_fehlt{"Warnung: Kostenparameter ohne Datensatz: ",
                                       "Warning: cost parameter without record: "};

// The five chart kinds (button captions, also chart titles).
inline constexpr text_paar kosten_jahr{"Kosten/Jahr", "Costs/year"};
inline constexpr text_paar mehrkosten_jahr{"Mehrkosten/Jahr", "Extra costs/year"};
inline constexpr text_paar gesamtkosten{"Gesamtkosten", "Total costs"};
inline constexpr text_paar energie_pro_qm{"Energie pro qm", "Energy per m²"};
inline constexpr text_paar zusatzinvestition{"Zusatzinvestition", "Additional investment"};

// Right-axis and further axis captions.
inline constexpr text_paar energieverbrauch{"Gesamter Energieverbrauch", "Total energy consumption"};
inline constexpr text_paar gesamte_mehrkosten{"Gesamte Mehrkosten", "Total extra costs"};
inline constexpr text_paar preis_pro_energie{"Preis pro Energieeinheit", "Price per unit of energy"};
inline constexpr text_paar solarenergiekosten{"Solarenergiekosten pro Energieeinheit",
                                              "Solar energy costs per unit of energy"};
inline constexpr text_paar solarenergie_pro_flaeche{"Solarenergie pro Fläche (Laufzeit)",
                                                    "Solar energy per area (term)"};
inline constexpr text_paar investition_pro_energie{"Investition pro Energieeinheit",
                                                   "Investment per unit of energy"};
inline constexpr text_paar kollektorflaeche{"Kollektorfläche", "Collector area"};
inline constexpr text_paar zellflaeche{"Zellfläche", "Cell area"};
inline constexpr text_paar links{" (links)", " (left)"};
inline constexpr text_paar rechts{" (rechts)", " (right)"};

// Printout.
inline constexpr text_paar ergebnis_name{"Ergebnis-Name", "Result name"};
inline constexpr text_paar einlesefiles_name{"Einlesefiles-Name", "Input file name"};
inline constexpr text_paar keine_solarzellen{"Keine Solarzellen", "No solar cells"};
inline constexpr text_paar zellflaeche_berechnet{"Solarzellenflaeche berechnet", "Solar-cell area computed"};
inline constexpr text_paar feste_flaeche{"Feste Fläche", "Fixed area"};

// Columns of the cost table of the runner.
inline constexpr text_paar datenindex{"Datenindex", "Data index"};
inline constexpr text_paar flaeche{"Fläche", "Area"};
inline constexpr text_paar investition{"Investition", "Investment"};
inline constexpr text_paar annuitaet{"Annuität", "Annuity"};
inline constexpr text_paar energiekosten{"Energiekosten", "Energy bills"};
inline constexpr text_paar solarertrag{"Solarertrag", "Solar-cell income"};
inline constexpr text_paar unterhalt{"Unterhalt", "Maintenance"};
inline constexpr text_paar keine_datei{"costs braucht mindestens eine Ergebnisdatei",
                                       "costs needs at least one result file"};

// Cell-area modes of the radio group "Fläche" (0..5).
inline constexpr text_paar zellflaechen_modus[6] = {
    {"Feste Fläche", "Fixed area"},
    {"Fläche Heizung", "Area heating"},
    {"Fläche Gesamt el", "Area total electricity"},
    {"Fläche Nullenergie", "Area zero energy"},
    {"Zellfläche variieren", "Vary cell area"},
    {"Kollektorfläche PVT", "Collector area PVT"},
};

// Labels of the 41 cost parameters k0..k40; the parameters without an edit
// field in the window get a descriptive label for listings.
inline constexpr text_paar parameter[41] = {
    {"Preis pro Einheit Energie (nh)", "Price per unit of energy (nh)"},
    {"Preis pro Einheit Energie (ok)", "Price per unit of energy (ok)"},
    {"Preis pro Einheit Energie (Strom ohne nh)", "Price per unit of energy (electricity without nh)"},
    {"Wirkungsgrad Kraftwerk", "Power-plant efficiency"},
    {"Wirkungsgrad Solarzellen", "Solar-cell efficiency"},
    {"Preis pro Fläche, Kollektor oben", "Price per area, upper collector"},
    {"Preis pro Fläche, Kollektor unten", "Price per area, lower collector"},
    {"Nettopreis pro Fläche, Kollektor unten", "Net price per area, lower collector"},
    {"Nettopreis pro Fläche, Kollektor oben", "Net price per area, upper collector"},
    {"Sonstige Festkosten", "Other fixed costs"},
    {"Teilekosten thermisch flächenunabhängig", "Thermal parts, independent of area"},
    {"Teilekosten photovoltaisch flächenunabhängig", "Photovoltaic parts, independent of area"},
    {"Zusatzkosten Heizanlage", "Extra costs of heating plant"},
    {"Netto Teilekosten thermisch", "Net thermal parts"},
    {"Netto Teilekosten photovoltaisch", "Net photovoltaic parts"},
    {"Netto Zusatzkosten Heizanlage", "Net extra costs of heating plant"},
    {"Zuschuss pro Fläche Solarzellen", "Subsidy per area, solar cells"},
    {"Zuschuss Solarzellen pauschal", "Subsidy for solar cells, lump sum"},
    {"Zuschuss pro Fläche Kollektoren", "Subsidy per area, collectors"},
    {"Zuschuss Kollektoren pauschal", "Subsidy for collectors, lump sum"},
    {"Feuerungsheizanlage pauschal", "Fired heating plant, lump sum"},
    {"Teilekosten pro Kollektoreinheit", "Parts per collector unit"},
    {"Teilekosten pro Solarzelleneinheit", "Parts per solar-cell unit"},
    {"Preis der Heizungsanlage", "Price of heating plant"},
    {"Leistung Heizungsanlage", "Power of heating plant"},
    {"Leistung der Zwischenwärmepumpe", "Power of intermediate heat pump"},
    {"Preis pro Leistung Heizung", "Price per power, heating"},
    {"Preis der Zwischenwärmepumpe", "Price of intermediate heat pump"},
    {"Preis pro Leistung Zwischenwärmepumpe", "Price per power, intermediate heat pump"},
    {"Zinssatz", "Interest rate"},
    {"Laufzeit des Darlehens", "Term of loan"},
    {"Solarzellenpreis pro Fläche", "Solar-cell price per area"},
    {"Netto Solarzellenpreis pro Fläche", "Net solar-cell price per area"},
    {"Vergütung", "Feed-in remuneration"},
    {"Dachfläche", "Roof area"},
    {"Fläche Solarzellenmodul", "Solar-cell module area"},
    {"Unterhaltskosten Heizanlage [/Jahr]", "Maintenance of heating plant [/year]"},
    {"Unterhaltskosten photov. [/Jahr]", "Maintenance photovoltaic [/year]"},
    {"Unterhaltskosten thermisch [/Jahr]", "Maintenance thermal [/year]"},
    {"Fl. Unterhaltsk. thermisch [/(Jahr*Fläche)]", "Maintenance thermal per area [/(year*area)]"},
    {"Fl. Unterhaltskosten photov. [/(Jahr*Fläche)]", "Maintenance photovoltaic per area [/(year*area)]"},
};

}  // namespace kostentexte
