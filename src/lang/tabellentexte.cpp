#include "lang/tabellentexte.h"

#include <array>

namespace {

// In registry order.
constexpr std::array<tabellentext, 46> TEXTE{{
    {{"Wetterdaten Details", "Weather data details"}, {"IR_TA_D", "IR_TA_D"}},
    {{"Brauchwasserenergie Details", "Hot water energy details"}, {"EW_D", "EW_D"}},
    {{"Heizenergie Details", "Heating energy details"}, {"EH_D", "EH_D"}},
    {{"Datensätze", "Data sets"}, {"HAUPT", "MAIN"}},
    {{"Monatliche Wetterdaten", "Monthly weather data"}, {"IR_TA_M", "IR_TA_M"}},
    {{"Erdtemperatur", "Ground temperature"}, {"TE", "TE"}},
    {{"Brauchwassertemperatur", "Hot water temperature"}, {"TW", "TW"}},
    {{"Heizungsvorlauftemperatur", "Heating flow temperature"}, {"TH", "TH"}},
    {{"Brauchwasserenergie", "Hot water energy"}, {"EW", "EW"}},
    {{"Heizenergie", "Heating energy"}, {"EH", "EH"}},
    {{"Elektrische Energie", "Electric energy"}, {"EE", "EE"}},
    {{"Rücklauftemperatur Warmwasser", "Return temperature hot water"}, {"RW", "RW"}},
    {{"Rücklauftemperatur Heizung", "Return temperature heating"}, {"RH", "RH"}},
    {{"Kreisläufe", "Circuits"}, {"KO", "CI"}},
    {{"Kollektor", "Collector"}, {"KOL", "COL"}},
    {{"Wärmetauscher", "Heat exchanger"}, {"GWT", "HX"}},
    {{"Wärmepumpe", "Heat pump"}, {"WP", "HP"}},
    {{"Wirtschaftlichkeit", "Economy"}, {"KALK", "ECON"}},
    {{"Rechenmethoden", "Calculation methods"}, {"NUM", "NUM"}},
    {{"Rechenkonstanten", "Calculation constants"}, {"RECH", "CALC"}},
    {{"Anlagestruktur", "Plant structure"}, {"AN", "PL"}},
    {{"Heizung", "Heating"}, {"HEIZ", "HEAT"}},
    {{"Energiepreis", "Energy price"}, {"PREIS", "PRICE"}},
    {{"Kraftwerk", "Power station"}, {"KRAFT", "POWER"}},
    {{"Solarzellen", "Solar cells"}, {"ZELLE", "CELL"}},
    {{"Speicher", "Store"}, {"SPEI", "STORE"}},
    {{"Subvention", "Subsidy"}, {"SUB", "SUB"}},
    {{"Unterhalt", "Maintenance"}, {"UNTER", "MAINT"}},
    {{"Unterhalt Liste", "Maintenance list"}, {"UNTER (LISTE)", "MAINT (LIST)"}},
    {{"Speicher-Steuerung", "Store control"}, {"STEUER", "CONTROL"}},
    {{"Lage", "Location"}, {"LAGE", "LOC"}},
    {{"Teile", "Parts"}, {"ZU", "PARTS"}},
    {{"Zubehör Liste", "Accessory list"}, {"ZU (LISTE)", "PARTS (LIST)"}},
    {{"Gruppe von Zubehörlisten", "Group of accessory lists"}, {"ZU (GRUPPENLISTE)", "PARTS (GROUP LIST)"}},
    {{"Heizwerte", "Heating values"}, {"HEIZWERT", "FUEL"}},
    {{"Energietarife", "Energy tariffs"}, {"TARIF", "TARIFF"}},
    {{"Stoffdaten Luft", "Properties of air"}, {"LU", "AIR"}},
    {{"Dampftafel", "Vapour table"}, {"DA", "VA"}},
    {{"Wärmeträger", "Heat transfer fluid"}, {"WA", "FL"}},
    {{"Währungen", "Currencies"}, {"CURR", "CURR"}},
    {{"Einheiten", "Units"}, {"EINHEITEN", "UNITS"}},
    {{"Pfade", "Paths"}, {"PFAD", "PATH"}},
    {{"Ergebnisse", "Results"}, {"RESULT", "RESULT"}},
    {{"Beschreibungen", "Descriptions"}, {"MEMO", "MEMO"}},
    {{"Getestete Kombinationen", "Tested combinations"}, {"KONTROLLE", "CHECK"}},
    {{"Wetterstationen", "Weather stations"}, {"WMO", "WMO"}},
}};

}  // namespace

const tabellentext& tabellentext_von(int index) { return TEXTE.at(static_cast<size_t>(index)); }
