#pragma once
// The calculators of the data sheet `TDatenblatt`: operations that derive
// column values of the current row of a catalogue table from other columns,
// and the checks the sheet makes before it navigates or posts. Each writes
// the current row whole (one transaction) or not at all.

#include <array>
#include <optional>
#include <string>
#include <vector>

// --- monthly demand and weather records ("EW", "EH", "Daten", "IR_TA_M") ---

// Registry-column positions of the twelve month values of the current table
// (`ew_m`, `eh_m`, `ee`: from the column "januar" on, every second column
// when the detail counts m1.. are interleaved; `ir_ta_m`: ir1..ir12).
std::array<int, 12> monatswert_spalten(int tabelle);

// "Berechne Summe" / "Berechne Summe IR": with absolute month values
// (`ir_ta_m` always) the total column (`gesamt`, `irgesamt`) := the sum of
// the twelve values, empty months counting nothing; with relative values
// "Bitte Gesamtsumme eingeben" (dialog, 'M') and nothing changes. True when
// the total was written.
bool berechne_summe(int tabelle);

// Switching "Monatswerte": to relative (`relativ`), every month value :=
// round(value / sum of the twelve, 3 decimals) and `rel` := "R"; to
// absolute, every month value := round(value * `gesamt`, 3 decimals) and
// `rel` := "A". A sum of 0 cannot be divided: refused with a message,
// nothing changes. True when written.
bool wechsle_monatswerte(int tabelle, bool relativ);

// "Heizenergie Ziel": the heating demand of a target site from that of a base
// site, month by month scaled with the indoor-outdoor temperature
// difference: u = Ti(target) - Ta(target), v = Ti(base) - Ta(base),
// target value := round(u * base value / v, 2 decimals) when u > 0 and
// v > 0, else 0. Ta = (ta<m>min + ta<m>max) / 2 of each weather record, Ti =
// `TINNEN` of each heating record, both converted to the main temperature
// unit. Writes the twelve month values of the target heating record. False
// (nothing written) when a record is missing.
bool heizenergie_ziel(const std::string& basis_wetter, const std::string& ziel_wetter,
                      const std::string& basis_heizung, const std::string& ziel_heizung);

// --- weather record page ("IR_TA_M") ---

// "Is (Ir, h), h (Breite)": h<m> := round(days(m) * day length of month m at
// the record's latitude, 3 decimals) for the current `ir_ta_m` row.
bool berechne_h_aus_breite();

// "Ir in kWh": a copy of the current weather record named name + "_in_kWh"
// with its irradiation (global and diffuse) converted month by month from
// `einheit_ir` to "kWh/qm" and its temperatures to the main temperature
// unit, rounded to 3 decimals; detail rows are copied converted the same
// way. A name already taken is refused. The copy becomes current.
bool ir_in_kwh();

// Choosing "Diffuse Strahlung" on "NUM": the reminder dialog.
void erinnere_diffuse_strahlung();

// --- heat pump page ("WP") ---

// Coefficients of the two-point calculator.
struct zweipunkt_ergebnis {
    double beta_l = 0.0, alpha_l = 0.0;  // linear: eta = alpha_l + beta_l * dT
    double beta_h = 0.0, alpha_h = 0.0;  // hyperbolic: eta = alpha_h + beta_h * Thoch / dT
};
// From two measured efficiencies at source and sink temperatures (°C, taken
// +273.15 K). Nothing (with a message) when the two points do not determine
// the coefficients (equal lifts, a lift of 0).
std::optional<zweipunkt_ergebnis> zweipunkt_koeffizienten(double eta1, double ttief1, double thoch1,
                                                          double eta2, double ttief2, double thoch2);
// "Übertragen": deltalin, gammalin, deltahyp, gammahyp of the current `wp` row.
bool uebertrage_zweipunkt(const zweipunkt_ergebnis& k);

// One measured point of the seven-parameter fit.
struct wp_messpunkt {
    double eta = 0.0;
    double ttief = 0.0;  // source temperature, °C as the engine uses it
    double thoch = 0.0;  // sink temperature, °C
};
using sieben_koeffizienten = std::array<double, 7>;  // Alpha .. Eta (c1 .. c7)

// The polynomial model of the heat pump: c1 + c2/dT^c + c3 dT + c4 Ttief dT
// + c5 dT^2 + c6 Ttief dT^2 + c7 Ttief.
double wp_polynom(const sieben_koeffizienten& c, double exponent, double ttief, double thoch);
// "Berechnen": the seven coefficients through the seven points, solved by
// the Gauss-Jordan routine. Nothing (with a message) when the system is
// singular.
std::optional<sieben_koeffizienten> sieben_parameter_fit(const std::array<wp_messpunkt, 7>& punkte,
                                                         double exponent);
// "Probe": the model at the seven points.
std::array<double, 7> probe(const sieben_koeffizienten& c, double exponent,
                            const std::array<wp_messpunkt, 7>& punkte);
// "Probe DB": the coefficients and exponent of the current `wp` row.
sieben_koeffizienten koeffizienten_der_zeile(double& exponent);
// "Übertragen": alpha .. eta_w and the exponent `cexp` they were fitted with.
bool uebertrage_sieben(const sieben_koeffizienten& c, double exponent);

// --- other pages ---

// "STEUER", "Prüfen": every month whose charge flag is "Y" gets "Y" as its
// discharge flag too; the row is posted.
bool pruefe_speichersteuerung();

// "GWT", "Berechnen": the exchange area of the current `gwt` row, the tube
// surface pi * d1 * length * number (middle diameter d1), in the row's area
// unit, rounded to 2 decimals, written to `austauschflaeche`.
bool berechne_austauschflaeche();

// "SPEI", "Berechnen": loss per surface area := round(total loss / (3 (2 pi)^(1/3)
// V^(2/3)), 3 decimals), the surface of a cylinder of volume V whose height
// equals its diameter. Nothing when V <= 0.
std::optional<double> verlust_pro_flaeche(double verlust_gesamt, double volumen);

// "ZU (LISTE)", "Kopieren": adds a list row with the given key values to
// `liste` (list name, part name, article number), `liste2` (data set, list
// name) or `unter_liste` (list name, maintenance item); an existing key
// reports "Datensatz vorhanden" (dialog, 'M'). True when added.
bool fuege_listeneintrag_hinzu(int tabelle, const std::vector<std::string>& schluessel);

// --- checks of the sheet ---

// Before navigating on `rech`: `anzge` above 500 reports "Fehler: Zulässige
// Anzahl von Werten für Pumpgeschwindigkeit (MAXV) überschritten" (dialog,
// 'T', abandons the action).
void pruefe_rech_vor_navigation();
// Before posting on `ir_ta_m`: with `zeitintervall` other than "K" every
// month needs ir, ta..min and ta..max, with "K" every month its count m..;
// a gap reports "Fehler: Bitte Datensatz auf Vollständigkeit prüfen"
// (dialog, 'E'). True when complete.
bool pruefe_wetterdatensatz_vollstaendig();
