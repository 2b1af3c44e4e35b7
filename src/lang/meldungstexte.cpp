#include "lang/meldungstexte.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "lang/sprache.h"

namespace {

// German pieces of messages and their English. The pieces are whole
// messages or the fixed parts between the numbers and names a message
// inserts.
constexpr std::pair<std::string_view, std::string_view> STUECKE[] = {
    // Engine: balances, heat pump, store, numerics.
    {"Fehler: Volumenstrombereich (minge, maxge) muss positiv sein",
     "Error: flow range (minge, maxge) must be positive"},
    {"Warnung: COPWE = 0 oder negativ. Wird gleich eins gesetzt.", "Warning: COPWE = 0 or negative. Set to one."},
    {"fehler in equer", "error in equer"},
    {"Warnung: Negative Pumpgeschwindigkeit.", "Warning: negative pump speed."},
    {"Warnung: Energiebilanz nicht ausgeglichen.", "Warning: energy balance not balanced."},
    {" liegt nicht in ", " is not within "},
    {" Intervalle; erlaubt sind 0 bis ", " intervals; allowed are 0 to "},
    {"Fehler: Umrechnung nicht definiert", "Error: conversion not defined"},
    {"Warnung: Vorlauftemperatur <= Rücklauftemperatur.", "Warning: flow temperature <= return temperature."},
    {" hat keine Stunden; Bedarf nicht auf Intervalle verteilt.",
     " has no hours; demand not distributed to intervals."},
    {"Fehler: Division durch null", "Error: division by zero"},
    {"Warnung: Einstrahlung auf Horizontale unbekannt oder Null, keine Bodenfläche berechnet.",
     "Warning: irradiation on the horizontal unknown or zero, no ground area computed."},
    {" ohne Konvergenz abgebrochen.", " stopped without convergence."},
    {"Warnung: Koeffizien DW < 0.", "Warning: coefficient DW < 0."},
    {" außerhalb des Kalenders", " outside the calendar"},
    {"Fehler: Unbekannte Kopplung \"", "Error: unknown coupling \""},
    {"\" für die Wärmepumpe", "\" for the heat pump"},
    {"Warnung: COPWE < 1.", "Warning: COPWE < 1."},
    {"Fehler: Kältemitteldaten unvollständig (Cv, M, Verdichtungsverhältnis oder Druck nicht positiv).",
     "Error: refrigerant data incomplete (Cv, M, compression ratio or pressure not positive)."},
    {"Fehler: Kompressionstemperatur zu klein", "Error: compression temperature too small"},
    {"Fehler: Molmasse oder Dichte des Kältemittels nicht positiv.",
     "Error: molar mass or density of the refrigerant not positive."},
    {"Fehler: Zu wenige Koeffizienten oder Nullstellenplätze für Grad ",
     "Error: too few coefficients or places for roots for degree "},
    {"Fehler: Dampftafel mit ", "Error: vapour table with "},
    {" Zeilen nicht lesbar", " rows not readable"},
    {"Fehler: Gleichungssystem mit falschen Grenzen ", "Error: system of equations with wrong bounds "},
    {"Fehler: Matrixzeile zu kurz", "Error: matrix row too short"},
    {"Warnung: Luftgeschwindigkeit konvergiert nicht (Monat ", "Warning: air speed does not converge (month "},
    {"Warnung: Inkonsistenz in Berechnung der Pumpgeschwindigkeit.",
     "Warning: inconsistency in the calculation of the pump speed."},
    {"Warnung: Inkonsistenz der Leistung der Wärmepumpe.", "Warning: inconsistency of the heat pump's power."},
    {"Fehler: Unbekannte Entnahmeart '", "Error: unknown draw-off kind '"},
    {"' des Speichers.", "' of the store."},
    {"Fehler: Speicherentnahme liefert mehr Energie als benötigt.",
     "Error: the draw-off from the store supplies more energy than needed."},
    {"Warnung: Inkonsistenz des Speicherinhaltes.", "Warning: inconsistency of the store's content."},
    {"Fehler: Ein Kontrolllauf mit Rechenart \"T\" ist in dieser Version nicht verfügbar; der Kontrolllauf braucht den "
     "Intervallkern.",
     "Error: a control run with calculation method \"T\" is not available in this version; the control run needs "
     "the interval kernel."},
    // Input preparation.
    {"Fehler: Fehlende Feldkomponente: ", "Error: missing field: "},
    {"Fehler: Kein Energiewert gefunden", "Error: no energy value found"},
    {"Fehler: Zulässige Anzahl von Werten pro Monat (MAXIR_TA) überschritten",
     "Error: permitted number of values per month (MAXIR_TA) exceeded"},
    {"Fehler: Energieeinheit mit Faktor 0: ", "Error: energy unit with factor 0: "},
    {"Fehler: Detailzeile fehlt: ", "Error: detail row missing: "},
    {"Fehler: Unbekannte Auflösung der Einstrahlung (strahlung): \"",
     "Error: unknown resolution of the irradiation (strahlung): \""},
    {"Fehler: Dichte 0, kinematische Viskosität nicht berechenbar: ",
     "Error: density 0, kinematic viscosity cannot be computed: "},
    {"Fehler: Dampftafel mit mehr als 100 Zeilen: ", "Error: vapour table with more than 100 rows: "},
    {"Fehler: Datensatz existiert nicht in Datenbank: ", "Error: record does not exist in the database: "},
    {"Fehler: Stofftabelle mit mehr als 100 Zeilen: ", "Error: property table with more than 100 rows: "},
    {"Fehler: Verhältnis Breite zu Länge muss positiv sein: ", "Error: ratio of width to length must be positive: "},
    {"Fehler: Rohrdurchmesser und Rohrabstand müssen positiv sein: ",
     "Error: pipe diameter and pipe spacing must be positive: "},
    {"Fehler: Verdichtungsverhältnis vkv0 ist 0: ", "Error: compression ratio vkv0 is 0: "},
    {"Fehler: Falscher Abwärmenutzungskoeffizient oder falsches Eta für wp",
     "Error: wrong waste-heat coefficient or wrong eta for hp"},
    {"für Wärmepumpe ww", " for heat pump ww"},
    {"für Wärmepumpe we", " for heat pump we"},
    {"für Kraftwerk", " for the power station"},
    {"Fehler: Startmonat muss zwischen 1 und 12 liegen: ", "Error: start month must be between 1 and 12: "},
    {"; Januar verwendet", "; January used"},
    {"Fehler: Unbekannter Code für Kaltwassertemperatur: ", "Error: unknown code for the cold-water temperature: "},
    {"Warnung: Langzeitspeicher überflüssig, bitte Null-Speicher verwenden",
     "Warning: long-term store superfluous, please use the null store"},
    // Pieces around inserted numbers.
    {"Fehler: Monat ", "Error: month "},
    {"Warnung: Monat ", "Warning: month "},
    {" Monat ", " month "},
    {"(Monat ", "(month "},
    {", Monat ", ", month "},
    {" / Intervall ", " / interval "},
    {", Intervall ", ", interval "},
    {", Nummer ", ", number "},
    {" hat ", " has "},
    {"Fehler: ", "Error: "},
    {"Warnung: ", "Warning: "},
};

// The pieces, longest first, so that a whole message wins over its parts.
const std::vector<std::pair<std::string_view, std::string_view>>& stuecke() {
    static const auto s = [] {
        std::vector<std::pair<std::string_view, std::string_view>> v(std::begin(STUECKE), std::end(STUECKE));
        std::stable_sort(v.begin(), v.end(),
                         [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
        return v;
    }();
    return s;
}

}  // namespace

std::string meldung_in_sprache(const std::string& text) {
    if (sprache() != SPRACHE_ENGLISCH) return text;
    // Left to right: at each place the longest piece that starts there.
    std::string aus;
    aus.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool ersetzt = false;
        for (const auto& [de, en] : stuecke()) {
            if (text.compare(i, de.size(), de) == 0) {
                aus += en;
                i += de.size();
                ersetzt = true;
                break;
            }
        }
        if (!ersetzt) aus += text[i++];
    }
    return aus;
}
