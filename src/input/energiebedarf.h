#pragma once
// Energy demand (heating, hot water, electricity) and energy prices of the
// site data set: monthly energies in kWh, the per-interval demand series of
// hourly runs, and the three prices.

#include <string>

#include "engine/WP_variables.h"

// Energy of month m of the monthly demand table `tabelle_index` (teh_m,
// tew_m or tee, current row) in kWh. Relative tables (`rel` not "A") give
// the month's share of `gesamt`. Hot water and electricity given as a volume
// are turned into heat with tw / rw of the month from `vdatz`.
double lese_energie(int tabelle_index, int m, const datz& vdatz);

// A value in `einheit` whose quantity code is `kennzeichen` in kWh: energy
// units are converted, volumes become the heat of warming that much water
// from rw to tw (1000 kg/m3, 4178 J/(kg K)); other codes are converted to
// "m3" only (the unit is then reported as unknown by the conversion).
// Per-day units of month m scale with that month's days in the loaded
// weather record's year (numchar[ndata::schaltjahr]).
double ew_umgerechnet(double wert, const std::string& einheit, const std::string& kennzeichen,
                      double rw, double tw, int m);

// Fills series `serie` (zdata::eh or zdata::ew) of `pvdatz3` from the detail
// rows of the monthly table `monatstabelle` (teh_m / tew_m, current row) in
// `detailtabelle` (teh_d / tew_d), month by month, and adds every interval
// value to series eg_d. Detail mode (the monthly table's `zeitintervall`):
// "A" explicit rows, "P" January's first 24 rows as the daily pattern of the
// year scaled to each month's energy, other: the month's energy spread by
// the engine's distribution rule.
void lese_details_energieverbrauch_aus_datenbank(datz3& pvdatz3, int serie, int monatstabelle,
                                                 int detailtabelle, const flagchar& numchar,
                                                 const datz& vdatz);

// Price stored as `preis` per unit (`zaehler_einheit` / `nenner_einheit`) in
// the target units: the price converted to `zaehler_ziel` divided by one
// `nenner_einheit` converted to `nenner_ziel`.
double lese_und_rechne_quotient(const std::string& nenner_einheit, const std::string& zaehler_einheit,
                                const std::string& zaehler_code, const std::string& nenner_code,
                                const std::string& zaehler_ziel, const std::string& nenner_ziel,
                                double preis);

// vdatt[tdata::preis_nachheizung], [71], [72]: the tariffs named by `nachheizung`, `ohne_kopplung`
// and `pumpen` of the current `preis` row. The run multiplies them with
// energies in kWh and writes the sums (`preis`, `pek`) as amounts in the main
// price unit, converted to the output unit of price like every other result;
// so for the run they are in main units, EUR per kWh. `in_ausgabeeinheiten`
// gives them per output unit of energy in the output unit of price, for
// callers that multiply them with energies read back in output units.
void berechne_energiepreise(datt& vdatt, bool in_ausgabeeinheiten = false);

// eh + ew of month m in kWh, read afresh from the current demand rows. The
// cold-water temperature of the month (by the cold-water code) and the hot-
// water temperature are those loaded into `vdatz` (rw, tw).
double monatsenergie_in_haupteinheiten(const datz& vdatz, int m);
