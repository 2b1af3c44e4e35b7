#pragma once
// What the run parameters window shows before a run: the calculation codes
// of the current `num` row, the plant codes of the current `an` row, the
// collector units of the area range and the areas they give. Showing the
// area sets the run's area range from the current `rech` row.

#include <optional>
#include <string>

struct simulationscodes {
    // `num`: Zeitraum (I, M, J), Art (V, A), Sortierung (D, U, N), Optimierung (P, K, A).
    std::string zeitraum, art, sortierung, optimierung;
    // `an`: Kopplungstyp (E, Z, L), Heizung (J, N), AnzahlKol (E, Z), Ohne Kopplung
    // (L, E, G, K, F), LeistungWP (A, K, L, F, E, DK, DKF), Speicheraussent (A, E, R).
    std::string kopplungstyp, heizung, anzahlkol, ohne_kopplung, leistungwp, speicheraussent;
};
// The codes of the rows `num` and `an` stand on (empty when a table is not open
// or has no row).
simulationscodes lies_simulationscodes();

// Collector units of the area range: `rech`.`maxa` and `rech`.`mina` each
// divided by the area of one collector unit (`vdatt`[77]) and rounded to an
// integer (ties to even). Nothing when `rech` has no row or the unit area is
// not positive (no data set read yet).
struct kollektoreinheiten_anzeige {
    long maximum = 0, minimum = 0;
};
std::optional<kollektoreinheiten_anzeige> kollektoreinheiten();

// Area display: the run's maximum and minimum area become `rech`.`maxa` and
// `rech`.`mina` as stored; n := (maximum − minimum) / `vdatt`[77] rounded
// (ties to even). More than 20 units: "Fehler: Zulässige Anzahl von Werten
// für Kollektoren (CMAXA) überschritten" (dialog) abandons the operation.
// Two collectors in series (`numchar`[11] "Z"): both areas are
// n × (`vdatt`[75] + `vdatt`[76]) + minimum; otherwise the maximum is
// n × `vdatt`[76] and the minimum the minimum area. Nothing when `rech` has
// no row or the unit area is not positive.
struct flaechenanzeige {
    double maximum = 0.0, minimum = 0.0;
    long einheiten = 0;  // n
};
std::optional<flaechenanzeige> zeige_flaechen();
