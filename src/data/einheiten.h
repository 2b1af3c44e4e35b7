#pragma once
// Units and their conversion: the 39 physical quantities with main units and
// codes, the unit catalogue `einheiten`, output units and labels.
//
// A value x in a unit row's unit is, in the quantity's main unit,
//   main = Beta * d * x + Alpha
// with d the days of the month for per-day rows (Skalierung "T"), else 1.

#include <string>

#include "data/einheit_struct.h"

// Indexes of the physical quantities in `haupteinheiten()`.
namespace groesse {
enum : int {
    energie,
    druck,
    enthalpie,
    laenge,
    flaeche,
    temperatur,
    spannung,
    strom,
    leistung,
    gewicht,
    volumen,
    lin_koeff_kollektor,
    quad_koeff_kollektor,
    lin_koeff_wp,
    hyp_koeff_wp,
    spez_waerme,
    waermeleitfaehigkeit,
    waermedurchgang,
    molekulargewicht,
    eta,
    kin_viskositaet,
    dyn_viskositaet,
    dichte,
    volumenstrom_traeger,
    volumenstrom_luft,
    zeit,
    rel_pumpleistung_luft,
    rel_pumpleistung_traeger,
    winkel,
    geschwindigkeit,
    einstrahlung,
    intensitaet,
    preis,
    anteil,
    abzahlungsdauer,
    keine_einheit,
    wind_waermedurchgang,
    wind_verlust,
    verlustleistung
};
}

// Main units and codes of the 39 quantities (start-up); output units start
// as the main units.
void definiere_haupteinheiten();
// Quantity names in the current language.
void definiere_Haupteinheiten_datenbanken();

// Fills an empty `einheiten` table with the 16 + 39 default rows (one
// transaction); a table that holds rows is left alone.
void default_einheiten();

// Linear map from unit `von` to unit `nach` of the quantity with code
// `kennzeichen`; month 1..12 scales per-day units by the month's days,
// month 0 does not. The days are `tage` when the caller knows them (the
// February of a leap-year record), else the calendar's (tage 0). An unknown
// unit is reported and its side stays neutral.
umrechnen_struct umrechnungsfaktor(const std::string& von, const std::string& nach,
                                   const std::string& kennzeichen, int monat, int tage = 0);
double umrechnen(double wert, const std::string& von, const std::string& nach, const std::string& kennzeichen,
                 int monat, int tage = 0);
// A stored value in unit `einheit` in the main unit of quantity `groesse`
// (month 1, as used when table values are loaded).
double in_haupteinheit(double wert, const std::string& einheit, int groesse);
// A value of quantity `groesse` from its main unit to its output unit.
double in_ausgabeeinheit(double wert, int groesse);

// Code of the last unit row (in table order) with this abbreviation
// (trailing blanks ignored); empty when there is none.
std::string kennzeichen_von_einheit(const std::string& einheit);

// Output unit of every quantity: the first row in "iname" order with the
// quantity's code and Ausgabe "J"; quantities without such a row keep theirs.
void lese_ausgabe_einheiten();
// Makes the current row of `einheiten` the output unit of its quantity
// ("Ausgabeeinheit setzen"): the row gets "J", the other rows of the code "N".
void setze_ausgabeeinheit();
// Completes the current unit row from quantity `groesse` ("Übernehmen").
void uebernehme_physgroesse(int groesse);
// Sets `Skalierung` of the current unit row: "T" per day, else "N".
void setze_skalierung(bool pro_tag);
// Replaces `PhysGroesse` of every row by the quantity name in the current
// language (one transaction).
void uebersetze_physgroesse();
// "Default": deletes every unit row, writes the default rows and reads the
// output units (one transaction for the rows).
void einheiten_zuruecksetzen();

// "name [unit]" or "name [unit/dritter]".
std::string beschriftung_mit_einheit(const std::string& name, const std::string& einheit,
                                     const std::string& dritter = "");
