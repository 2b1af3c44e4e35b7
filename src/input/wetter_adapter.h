#pragma once
// Fills the plain weather record of the irradiation layout from the tables
// ir_ta_m / ir_ta_d, and supplies the unit conversions of the unit table.

#include <string>

#include "input/einstrahlung.h"

// Reads the current row of ir_ta_m and its detail rows in ir_ta_d (all rows
// whose name is the record's name, in month / number order). More than 800
// detail rows in a month: "Fehler: Zulässige Anzahl von Werten pro Monat
// (MAXIR_TA) überschritten" (dialog, severity 'T').
void lese_wetterdatensatz(wetterdatensatz& w);

// Conversions through the unit table (umrechnungsfaktor): irradiation to
// "kWh/qm" (code "IR"), temperature to the main temperature unit (code "TE").
class tabellen_umrechnung : public einheiten_umrechnung {
public:
    umrechnen_struct einstrahlung(const std::string& einheit, int monat, int tage) const override;
    umrechnen_struct temperatur(const std::string& einheit, int monat) const override;
};

// The irradiation of a run step on the weather record loaded last, in the
// form of the run driver's service: writes the first series `pvdatz3` and
// the second series of the series state. False when the record's measuring
// tilt does not fit the plane (reported; nothing computed).
bool berechne_Einstrahlungsdaten_geladen(double breite, double theta_s, double phi_g, datz& vdatz,
                                         flagchar& numchar, datz3& pvdatz3, const datt& vdatt);
