#pragma once
// Total heating energy of a heating-energy record (`eh_m`) whose month
// values are relative: the yearly total `gesamt` from the heated floor area,
// the fuel consumption per area and the heating value of the fuel (table
// `heizwert`). The dialog `TGesamtenergie` shows these operations.

#include <string>

// The data sheet's button "Gesamtenergie" on the current `eh_m` row: with
// absolute month values (`rel` "A") `gesamt` := the sum of the twelve month
// values and the result is false (no dialog); otherwise nothing is written
// and the result is true (the dialog is to be shown).
bool gesamtenergie_knopf();

// What the dialog shows of the current `eh_m` row.
struct gesamtenergie_anzeige {
    double monatssumme = 0.0;  // shown when the dialog opens
    double gesamt = 0.0;       // then, on activation: total energy,
    double flaeche = 0.0;      // heated area
    double energiepqm = 0.0;   // and consumption per area
    std::string einheit_flaeche;    // `einflaeche` of the record
    std::string einheit_brennstoff; // `einheitbrennstoff` of the fuel row
    double brennwert = 0.0;         // heating value of the fuel row
};
// Fills the fields and positions `heizwert` (index "iEinheitBrennstoff") on
// the nearest row to the record's `einheit`.
gesamtenergie_anzeige gesamtenergie_oeffnen();

// "=": consumption = area x consumption per area; total = consumption x
// heating value.
struct gesamtenergie_ergebnis {
    double verbrauch = 0.0;
    double gesamt = 0.0;
};
gesamtenergie_ergebnis gesamtenergie_rechnen(double flaeche, double verbrauch_pro_flaeche, double brennwert);

// "Übernehmen": `gesamt` := total, `flaeche` := area, `energiepqm` := total /
// area, posted. An area that is not positive is refused with a message and
// nothing is written (the energy per area would be undefined).
bool gesamtenergie_uebernehmen(double gesamt, double flaeche);
