#include "lang/spaltentexte.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_map>

#include "lang/sprache.h"
#include "lang/tabellentexte.h"

namespace {

// Registry indexes of the tables whose rows a `haupt` column names.
constexpr int HAUPT = 3;

std::string klein(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Captions by column name (lower case), whatever the table.
const std::unordered_map<std::string, text_paar>& captions() {
    static const std::unordered_map<std::string, text_paar> m = {
        // Keys and descriptions.
        {"name", {"Name", "Name"}},
        {"land", {"Land", "Country"}},
        {"bezirk", {"Bezirk", "Region"}},
        {"ort", {"Ort", "Location"}},
        {"kundennummer", {"Kundennummer", "Customer number"}},
        {"info", {"Info", "Info"}},
        {"lock", {"Fixiert", "Fixed"}},
        {"quelle", {"Quelle", "Source"}},
        {"datenart", {"Datenart", "Kind of data"}},
        {"nutzungsart", {"Nutzungsart", "Kind of use"}},
        {"heizungstyp", {"Heizungstyp", "Heating type"}},
        {"gebaeudetyp", {"Gebäudetyp", "Building type"}},
        {"bodenart", {"Bodenart", "Soil type"}},
        {"breite", {"Breite", "Latitude"}},
        {"länge", {"Länge", "Longitude"}},
        {"laenge", {"Länge", "Longitude"}},
        {"meßdatum", {"Messdatum", "Date of measurement"}},
        {"messdatum", {"Messdatum", "Date of measurement"}},
        {"datum der neuanlage", {"Datum der Neuanlage", "Date created"}},
        {"datumderneuanlage", {"Datum der Neuanlage", "Date created"}},
        {"anzahl der werte", {"Anzahl der Werte", "Number of values"}},
        {"anzahlderwerte", {"Anzahl der Werte", "Number of values"}},
        {"rel", {"Relativ", "Relative"}},
        {"gesamt", {"Gesamt", "Total"}},
        {"zeitintervall", {"Zeitintervall", "Time interval"}},
        {"details", {"Details", "Details"}},
        {"wmo", {"WMO-Stationsnummer", "WMO station number"}},
        {"beschreibung", {"Beschreibung", "Description"}},
        {"gruppe", {"Gruppe", "Group"}},
        {"skalieren", {"Skalieren", "Scale"}},
        {"preis", {"Preis", "Price"}},
        {"artikelnummer", {"Artikelnummer", "Article number"}},
        {"artikelname", {"Artikelname", "Article name"}},
        {"flaeche", {"Fläche", "Area"}},
        {"monat", {"Monat", "Month"}},
        {"nummer", {"Nummer", "Number"}},
        {"h", {"Dauer", "Duration"}},
        {"hm", {"Intervallmitte", "Middle of interval"}},
        {"normiert", {"Normiert", "Normalised"}},
        {"name_d", {"Name der Details", "Name of the details"}},
        // Site data sets and result catalogue.
        {"ausgabefile", {"Ausgabedatei", "Output file"}},
        {"steuer", {"Steuerdatei", "Control file"}},
        {"haupteingabefile", {"Datensatz", "Data set"}},
        {"pfad", {"Pfad", "Path"}},
        {"programm", {"Programm", "Program"}},
        {"rechendatum", {"Rechendatum", "Date computed"}},
        {"optimierung", {"Optimierung", "Optimisation"}},
        {"kolu", {"Kollektor unten", "Lower collector"}},
        {"kolo", {"Kollektor oben", "Upper collector"}},
        {"wpww", {"Zwischenwärmepumpe", "Intermediate heat pump"}},
        {"wpwe", {"Wärmepumpe", "Main heat pump"}},
        {"spei", {"Pufferspeicher", "Buffer store"}},
        {"zwischenspei", {"Zwischenspeicher", "Intermediate store"}},
        {"langspei", {"Langzeitspeicher", "Long-term store"}},
        {"zubehoer", {"Zubehör", "Accessories"}},
        {"unter_liste", {"Unterhalt", "Maintenance"}},
        {"steuerspeicher", {"Speicher-Steuerung", "Store control"}},
        // Monthly weather.
        {"theta", {"Neigung", "Tilt"}},
        {"phi", {"Azimut", "Azimuth"}},
        {"irgesamt", {"Einstrahlung im Jahr", "Irradiation of the year"}},
        {"mittlerewind", {"Mittlere Windgeschwindigkeit", "Mean wind speed"}},
        {"mittlerefeuchte", {"Mittlere relative Feuchte", "Mean relative humidity"}},
        {"ir_g", {"Globalstrahlung", "Global irradiation"}},
        {"ir_d", {"Diffusstrahlung", "Diffuse irradiation"}},
        {"is_g", {"Globalstrahlung (Intensität)", "Global irradiance"}},
        {"is_d", {"Diffusstrahlung (Intensität)", "Diffuse irradiance"}},
        {"tamin", {"Außentemperatur min.", "Outdoor temperature min."}},
        {"tamax", {"Außentemperatur max.", "Outdoor temperature max."}},
        {"ew", {"Brauchwasserenergie", "Hot-water energy"}},
        {"eh", {"Heizenergie", "Heating energy"}},
        {"tinnen", {"Innentemperatur", "Indoor temperature"}},
        {"energiepqm", {"Energie pro Fläche", "Energy per area"}},
        // Collector and circuits.
        {"breitezulaenge", {"Breite zu Länge", "Width to length"}},
        {"alpha", {"Alpha", "Alpha"}},
        {"beta", {"Beta", "Beta"}},
        {"gamma", {"Gamma", "Gamma"}},
        {"delta", {"Delta", "Delta"}},
        {"epsilon", {"Epsilon", "Epsilon"}},
        {"zeta", {"Zeta", "Zeta"}},
        {"windabhaengigert-koef", {"Windabhängiger T-Koeffizient", "Wind-dependent T coefficient"}},
        {"windabhaengigerkoef", {"Windabhängiger Koeffizient", "Wind-dependent coefficient"}},
        {"rohrdurchmesser", {"Rohrdurchmesser", "Pipe diameter"}},
        {"rohrabstand", {"Rohrabstand", "Pipe spacing"}},
        {"rohrverlegung", {"Rohrverlegung", "Pipe layout"}},
        {"maximaldruck", {"Maximaldruck", "Maximum pressure"}},
        {"relflaecheoben", {"Relative Fläche oben", "Relative area top"}},
        {"relflaecheunten", {"Relative Fläche unten", "Relative area bottom"}},
        {"hoeheventilator", {"Höhe Ventilator", "Fan height"}},
        {"maximalu_ventilator", {"Maximalspannung Ventilator", "Maximum fan voltage"}},
        {"maximalvols_ventilator", {"Maximaler Volumenstrom Ventilator", "Maximum fan volume flow"}},
        {"typadc_v", {"DAC-Typ Ventilator", "DAC type fan"}},
        {"typadc_p", {"DAC-Typ Pumpe", "DAC type pump"}},
        {"typadc_wp", {"DAC-Typ Wärmepumpe", "DAC type heat pump"}},
        {"name_wt_kollektor", {"Wärmeträger Kollektor", "Heat-transfer fluid collector"}},
        {"name_wt_wp", {"Wärmeträger Wärmepumpe", "Heat-transfer fluid heat pump"}},
        {"name_wt_speicher", {"Wärmeträger Speicher", "Heat-transfer fluid store"}},
        {"etalwt", {"Wirkungsgrad Luftwärmetauscher", "Efficiency air heat exchanger"}},
        {"volstromluft", {"Volumenstrom Luft", "Air volume flow"}},
        {"relpumpkoll", {"Relative Pumpleistung Kollektor", "Relative pump power collector"}},
        {"maximal_durchfluss", {"Maximaler Durchfluss", "Maximum flow"}},
        {"maximalspannung", {"Maximalspannung", "Maximum voltage"}},
        {"relpumpluft", {"Relative Pumpleistung Luft", "Relative pump power air"}},
        {"etagwt", {"Wirkungsgrad Gegenstromwärmetauscher", "Efficiency counter-flow heat exchanger"}},
        {"laengespeicherkol", {"Rohrlänge Speicher-Kollektor", "Pipe length store-collector"}},
        {"hoehekol", {"Höhe Kollektor", "Collector height"}},
        {"laengekolspeicher", {"Rohrlänge Kollektor-Speicher", "Pipe length collector-store"}},
        {"durchmesserag", {"Durchmesser Anschlussrohr", "Diameter of the connecting pipe"}},
        // Heat exchanger.
        {"durchmesserd3", {"Durchmesser D3", "Diameter D3"}},
        {"durchmesserd2", {"Durchmesser D2", "Diameter D2"}},
        {"durchmesserd1", {"Durchmesser D1", "Diameter D1"}},
        {"durchmesser_d2", {"Durchmesser d2", "Diameter d2"}},
        {"durchmesser_d1", {"Durchmesser d1", "Diameter d1"}},
        {"anzahl", {"Anzahl", "Number"}},
        {"austauschflaeche", {"Austauschfläche", "Exchange area"}},
        {"waermedz", {"Wärmedurchgangszahl", "Heat transfer coefficient"}},
        {"typ", {"Typ", "Type"}},
        {"metall", {"Metall", "Metal"}},
        // Heat pump.
        {"arbeitsweise", {"Arbeitsweise", "Mode of operation"}},
        {"antrieb", {"Antrieb", "Drive"}},
        {"ankoeffizient", {"Abwärmenutzungskoeffizient", "Waste-heat coefficient"}},
        {"eta", {"Gütegrad", "Efficiency"}},
        {"deltalin", {"Delta linear", "Delta linear"}},
        {"gammalin", {"Gamma linear", "Gamma linear"}},
        {"deltahyp", {"Delta hyperbolisch", "Delta hyperbolic"}},
        {"gammahyp", {"Gamma hyperbolisch", "Gamma hyperbolic"}},
        {"maximaleleistung", {"Maximale Leistung", "Maximum power"}},
        {"minq", {"Minimaler Querschnitt", "Minimum cross-section"}},
        {"maxq", {"Maximaler Querschnitt", "Maximum cross-section"}},
        {"vkv0", {"Verdichtungsverhältnis", "Compression ratio"}},
        {"v0", {"Hubvolumen", "Swept volume"}},
        {"maxdruckt", {"Maximaldruck tief", "Maximum pressure low"}},
        {"maxdruckh", {"Maximaldruck hoch", "Maximum pressure high"}},
        {"regelbereich", {"Regelbereich", "Control range"}},
        {"maximalstrom", {"Maximalstrom", "Maximum current"}},
        {"preisprokw", {"Preis pro kW", "Price per kW"}},
        {"minprimär", {"Minimale Primärtemperatur", "Minimum primary temperature"}},
        {"cexp", {"Exponent", "Exponent"}},
        {"eta_w", {"Eta W", "Eta W"}},
        {"anz_koeff", {"Anzahl Koeffizienten", "Number of coefficients"}},
        {"kaeltemittel", {"Kältemittel", "Refrigerant"}},
        // Economy, methods, constants, plant.
        {"zinssatz", {"Zinssatz", "Interest rate"}},
        {"abzahlung", {"Laufzeit", "Term"}},
        {"zeitraum", {"Zeitraum", "Period"}},
        {"art", {"Rechenart", "Calculation method"}},
        {"strahlung", {"Strahlung", "Irradiation"}},
        {"sortierung", {"Sortierung", "Sorting"}},
        {"monatstart", {"Startmonat", "Start month"}},
        {"energiebedarfintervall", {"Energiebedarf je Intervall", "Energy demand per interval"}},
        {"speicher", {"Speicher", "Store"}},
        {"diffusestrahlung", {"Diffuse Strahlung", "Diffuse irradiation"}},
        {"modelltypwp", {"Modelltyp Wärmepumpe", "Heat pump model"}},
        {"modelltypdruckabfall", {"Modelltyp Druckabfall", "Pressure drop model"}},
        {"minge", {"Minimale Geschwindigkeit", "Minimum velocity"}},
        {"maxge", {"Maximale Geschwindigkeit", "Maximum velocity"}},
        {"anzge", {"Anzahl Geschwindigkeiten", "Number of velocities"}},
        {"maxwp", {"Maximale WP-Leistung", "Maximum HP power"}},
        {"mina", {"Mindestfläche", "Minimum area"}},
        {"maxa", {"Höchstfläche", "Maximum area"}},
        {"danzflaeche", {"Flächenschritt", "Area step"}},
        {"minleistwp", {"Minimale WP-Leistung", "Minimum HP power"}},
        {"maxleistwp", {"Maximale WP-Leistung", "Maximum HP power"}},
        {"anzwp", {"Anzahl WP-Leistungen", "Number of HP powers"}},
        {"mintheta", {"Minimale Neigung", "Minimum tilt"}},
        {"maxtheta", {"Maximale Neigung", "Maximum tilt"}},
        {"anztheta", {"Anzahl Neigungen", "Number of tilts"}},
        {"minexp", {"Minimaler Exponent", "Minimum exponent"}},
        {"maxexp", {"Maximaler Exponent", "Maximum exponent"}},
        {"anzexp", {"Anzahl Exponenten", "Number of exponents"}},
        {"mindeltatkol", {"Minimale Temperaturdifferenz Kollektor", "Minimum collector temperature difference"}},
        {"maxdeltatkol", {"Maximale Temperaturdifferenz Kollektor", "Maximum collector temperature difference"}},
        {"anzdeltatkol", {"Anzahl Temperaturdifferenzen", "Number of temperature differences"}},
        {"maxmittemp", {"Blocklänge", "Block length"}},
        {"kopplungstyp", {"Kopplungstyp", "Coupling type"}},
        {"anzahlkol", {"Anzahl Kollektoren", "Number of collectors"}},
        {"ohne kopplung", {"Ohne Kopplung", "Without coupling"}},
        {"ohne_kopplung", {"Ohne Kopplung", "Without coupling"}},
        {"heizung", {"Heizung", "Heating"}},
        {"leistungwp", {"Leistung WP", "HP power"}},
        {"speicheraussent", {"Speicheraußentemperatur", "Store outside temperature"}},
        {"kaltwassertemp", {"Kaltwassertemperatur", "Cold-water temperature"}},
        {"gegenstrom", {"Gegenstrom", "Counter-flow"}},
        {"wirkungsgrad", {"Wirkungsgrad", "Efficiency"}},
        {"nachheizung", {"Nachheizung", "Backup heating"}},
        {"pumpen", {"Pumpen", "Pumps"}},
        {"etaz", {"Wirkungsgrad Zelle", "Cell efficiency"}},
        // Stores and location.
        {"spmax", {"Speichervolumen", "Store volume"}},
        {"verluste", {"Verluste", "Losses"}},
        {"spezwaerm", {"Spezifische Wärme", "Specific heat"}},
        {"rospei", {"Dichte", "Density"}},
        {"wtdaussen", {"Außendurchmesser Wärmetauscher", "Outer diameter heat exchanger"}},
        {"wtlaenge", {"Länge Wärmetauscher", "Length heat exchanger"}},
        {"preissp", {"Preis", "Price"}},
        {"kollektorflaeche", {"Kollektorfläche", "Collector area"}},
        {"solarzellenflaeche", {"Solarzellenfläche", "Solar-cell area"}},
        {"bodenflaeche", {"Bodenfläche", "Ground area"}},
        {"bodenabsorption", {"Bodenabsorption", "Ground absorption"}},
        {"reflektion", {"Reflexion", "Reflection"}},
        {"dachflaeche", {"Dachfläche", "Roof area"}},
        {"vbreitezulaenge", {"Breite zu Länge", "Width to length"}},
        {"hoehe", {"Höhe", "Height"}},
        {"breitengrad", {"Breitengrad", "Latitude"}},
        {"laengengrad", {"Längengrad", "Longitude"}},
        {"tmax", {"Höchsttemperatur", "Maximum temperature"}},
        {"tmin", {"Mindesttemperatur", "Minimum temperature"}},
        {"deltamess", {"Messdifferenz", "Measuring difference"}},
        // Subsidies, tariffs, fuels, fluids.
        {"zellef", {"Zellen pro Fläche", "Cells per area"}},
        {"zellep", {"Zellen Prozent", "Cells per cent"}},
        {"zelleverg", {"Vergütung Zellen", "Feed-in remuneration cells"}},
        {"kolf", {"Kollektor pro Fläche", "Collector per area"}},
        {"kolp", {"Kollektor Prozent", "Collector per cent"}},
        {"heizungp", {"Heizung Prozent", "Heating per cent"}},
        {"preis_energie", {"Energiepreis", "Energy price"}},
        {"brennwert", {"Brennwert", "Calorific value"}},
        {"medium", {"Medium", "Medium"}},
        {"aggregatzustand", {"Aggregatzustand", "State"}},
        {"temperatur", {"Temperatur", "Temperature"}},
        {"dichte", {"Dichte", "Density"}},
        {"cp", {"Spezifische Wärme", "Specific heat"}},
        {"lambda", {"Wärmeleitfähigkeit", "Heat conductivity"}},
        {"nue", {"Kinematische Viskosität", "Kinematic viscosity"}},
        {"ps", {"Sättigungsdruck", "Saturation pressure"}},
        {"pss", {"Sättigungsdruck (Dampf)", "Saturation pressure (vapour)"}},
        {"enthalpie", {"Enthalpie", "Enthalpy"}},
        {"spezwaermcpf", {"Spezifische Wärme flüssig", "Specific heat liquid"}},
        {"spezwaermcpg", {"Spezifische Wärme gasförmig", "Specific heat gaseous"}},
        {"gefrierpunkt", {"Gefrierpunkt", "Freezing point"}},
        {"molekulargewicht", {"Molekulargewicht", "Molecular weight"}},
        {"dynamischevisko", {"Dynamische Viskosität", "Dynamic viscosity"}},
        {"kuerzel", {"Kürzel", "Abbreviation"}},
        {"umrechnung", {"Umrechnung", "Conversion"}},
        {"physgroesse", {"Physikalische Größe", "Physical quantity"}},
        {"haupteinheit", {"Haupteinheit", "Main unit"}},
        {"skalierung", {"Skalierung", "Scaling"}},
        {"kennzeichen", {"Kennzeichen", "Code"}},
        {"ausgabe", {"Ausgabe", "Output"}},
        {"kennung", {"Kennung", "Identifier"}},
        {"unterhalt", {"Unterhalt", "Maintenance"}},
        {"name_einlesefile", {"Datensatz", "Data set"}},
        {"name_liste", {"Liste", "List"}},
        {"sprache", {"Sprache", "Language"}},
        {"leistung", {"Leistung", "Power"}},
        {"q", {"Querschnitt", "Cross-section"}},
        {"zins", {"Zins", "Interest"}},
        {"energie", {"Energie", "Energy"}},
        {"strom", {"Strom", "Current"}},
        {"spannung", {"Spannung", "Voltage"}},
        {"winkel", {"Winkel", "Angle"}},
        {"grad", {"Grad", "Degree"}},
        {"temp", {"Temperatur", "Temperature"}},
        {"t", {"Temperatur", "Temperature"}},
        {"ir", {"Einstrahlung", "Irradiation"}},
        {"wind", {"Wind", "Wind"}},
        {"feuchte", {"Feuchte", "Humidity"}},
        {"ge", {"Geschwindigkeit", "Velocity"}},
        {"wp", {"WP-Leistung", "HP power"}},
        {"mol", {"Molekulargewicht", "Molecular weight"}},
        {"durchfluss", {"Durchfluss", "Flow"}},
        {"vols", {"Volumenstrom", "Volume flow"}},
        {"druck", {"Druck", "Pressure"}},
        {"laengerohr", {"Rohrlänge", "Pipe length"}},
        {"abref", {"Absorption/Reflexion", "Absorption/reflection"}},
        {"brennstoff", {"Brennstoff", "Fuel"}},
    };
    return m;
}

// Month columns: "januar" .. "dezember" and the detail counts "m1" .. "m12".
constexpr text_paar MONATE[12] = {{"Januar", "January"}, {"Februar", "February"}, {"März", "March"},
                                  {"April", "April"},     {"Mai", "May"},           {"Juni", "June"},
                                  {"Juli", "July"},       {"August", "August"},     {"September", "September"},
                                  {"Oktober", "October"}, {"November", "November"}, {"Dezember", "December"}};

const char* const MONATSSPALTEN[12] = {"januar", "februar", "märz",      "april",   "mai",      "juni",
                                       "juli",   "august",  "september", "oktober", "november", "dezember"};

// The table a `haupt` column refers to by its own name (registry index), or -1.
int verweis_tabelle(const std::string& s) {
    static const std::unordered_map<std::string, int> v = {
        {"ir_ta_m", 4}, {"te", 5},    {"tw", 6},    {"th", 7},     {"ew_m", 8},   {"eh_m", 9},
        {"ee", 10},     {"rw", 11},   {"rh", 12},   {"ko", 13},    {"gwt", 15},   {"kalk", 17},
        {"num", 18},    {"rech", 19}, {"an", 20},   {"gas", 21},   {"preis", 22}, {"kraft", 23},
        {"zelle", 24},  {"sub", 26},  {"lage", 30},
    };
    const auto it = v.find(s);
    return it == v.end() ? -1 : it->second;
}

// "ir3" "diff3" "ta3min" "ta3max" "h3" "m3" of the monthly weather.
bool monatswetter(const std::string& s, std::string& titel) {
    static const std::pair<std::string_view, text_paar> arten[] = {
        {"ir", {"Globalstrahlung", "Global irradiation"}},
        {"diff", {"Diffusstrahlung", "Diffuse irradiation"}},
        {"ta", {"Außentemperatur", "Outdoor temperature"}},
        {"h", {"Sonnenscheindauer", "Sunshine duration"}},
        {"m", {"Intervalle", "Intervals"}},
    };
    for (const auto& [vor, text] : arten) {
        if (s.rfind(vor, 0) != 0) continue;
        std::size_t i = vor.size(), j = i;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        if (j == i || j - i > 2) continue;
        const int monat = std::stoi(s.substr(i, j - i));
        if (monat < 1 || monat > 12) continue;
        const std::string rest = s.substr(j);
        std::string zusatz;
        if (rest == "min") zusatz = " min.";
        else if (rest == "max") zusatz = " max.";
        else if (!rest.empty()) continue;
        titel = text.text() + zusatz + " " + MONATE[monat - 1].text();
        return true;
    }
    return false;
}

std::string titel_ohne_einheit(int tabelle, const std::string& s) {
    if (tabelle == HAUPT || tabelle < 0) {
        const int t = verweis_tabelle(s);
        if (t >= 0) return tabellentext_von(t).bezeichnung.text();
    }
    const auto& c = captions();
    if (const auto it = c.find(s); it != c.end()) return it->second.text();
    for (int m = 0; m < 12; ++m)
        if (s == MONATSSPALTEN[m]) return MONATE[m].text();
    std::string titel;
    if (monatswetter(s, titel)) return titel;
    return {};
}

}  // namespace

std::string spaltentitel(int tabelle, const std::string& spalte) {
    const std::string s = klein(spalte);
    std::string t = titel_ohne_einheit(tabelle, s);
    if (!t.empty()) return t;
    // Unit columns: "eineta" (unit of eta), "einheit_flaeche", "einheit zins", "einheitleistung" ...
    const text_paar einheit{"Einheit", "Unit"};
    for (std::string_view vor : {"einheit_", "einheit ", "einheit", "ein"}) {
        if (s.rfind(vor, 0) != 0 || s.size() == vor.size()) {
            if (s == vor) return einheit.text();
            continue;
        }
        std::string rest = s.substr(vor.size());
        std::string von = titel_ohne_einheit(tabelle, rest);
        if (von.empty() && !rest.empty() && rest.back() == '.') rest.pop_back();
        if (von.empty()) {
            // "einrohr" is the unit of "rohrdurchmesser", "einwaerm" of the
            // specific heats ...: the shortest captioned column it begins.
            std::size_t kuerzeste = std::string::npos;
            if (rest.size() >= 3)
                for (const auto& [name, text] : captions())
                    if (name.rfind(rest, 0) == 0 && (name.size() < kuerzeste || (name.size() == kuerzeste && text.text() < von))) {
                        kuerzeste = name.size();
                        von = text.text();
                    }
        }
        return einheit.text() + (von.empty() ? std::string(" ") + rest : " " + von);
    }
    if (s == "einheit") return einheit.text();
    return spalte;
}

std::string einheit_anzeige(const std::string& e) {
    if (sprache() != SPRACHE_ENGLISCH) return e;
    // "qm" as a unit token: not preceded or followed by a letter.
    std::string aus;
    aus.reserve(e.size() + 4);
    for (std::size_t i = 0; i < e.size();) {
        const bool anfang = i == 0 || !std::isalpha(static_cast<unsigned char>(e[i - 1]));
        const bool ende = i + 2 >= e.size() || !std::isalpha(static_cast<unsigned char>(e[i + 2]));
        if (anfang && ende && e.compare(i, 2, "qm") == 0) {
            aus += "m²";
            i += 2;
        } else {
            aus += e[i++];
        }
    }
    return aus;
}

bool ist_einheitenspalte(const std::string& spalte) {
    const std::string s = klein(spalte);
    return s.size() > 3 && s.rfind("ein", 0) == 0;
}
