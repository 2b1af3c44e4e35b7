#include "results/ergebnistexte.h"

#include <cstddef>

namespace ergebnistexte {
namespace {

struct groesse {
    const char* code;
    text_paar titel;
};

// Indexed by adata.
const std::array<groesse, ANZ_ADATA> monatsgroessen{{
    {"jkk", {"Jährlicher lokaler Energieverbrauch", "Annual local energy consumption"}},
    {"jkk_g", {"Jährlicher Energieverbrauch mit Kraftwerk", "Annual energy consumption incl. power plant"}},
    {"degra_ww_j", {"Jährlicher Deckungsgrad Warmwasser", "Annual coverage hot water"}},
    {"pek", {"Jährlicher Energiepreis", "Annual energy price"}},
    {"flz", {"Fläche der Solarzellen (Heizung)", "Area of solar cells (heating)"}},
    {"flz_ee", {"Fläche der Solarzellen (Gesamt el.)", "Area of solar cells (total el.)"}},
    {"flz_ges_heiz", {"Fläche Koll.+Zell. (Nullenergie)", "Area coll.+cells (zero energy)"}},
    {"etawicht", {"Mittlerer Wirkungsgrad Kollektor", "Mean efficiency collector"}},
    {"jaz_ww", {"Jahresarbeitszahl Zwischen-Wärmepumpe", "Seasonal COP intermediate heat pump"}},
    {"jaz_we", {"Jahresarbeitszahl Erd-Wärmepumpe", "Seasonal COP ground heat pump"}},
    {"jok", {"Anteil Energie ohne Kopplung", "Share of energy without coupling"}},
    {"bf", {"Bodenfläche", "Ground area"}},
    {"theta", {"Kollektorneigung", "Collector tilt"}},
    {"jek", {"Monatlicher lokaler Energieverbrauch", "Monthly local energy consumption"}},
    {"jek_g", {"Monatlicher gesamter Energieverbrauch", "Monthly total energy consumption"}},
    {"degra_j", {"Jährlicher Deckungsgrad gesamt", "Annual coverage total"}},
    {"degra_m", {"Monatlicher Deckungsgrad gesamt", "Monthly coverage total"}},
    {"degra_ww_m", {"Monatlicher Deckungsgrad Warmwasser", "Monthly coverage hot water"}},
    {"eta", {"Mittlerer Kollektorwirkungsgrad", "Mean collector efficiency"}},
    {"ztk", {"Mittlere Temperatur hinter Wärmet.", "Mean temperature after heat exch."}},
    {"tf_s", {"Mittlere Temperatur hinter Kollektor", "Mean temperature after collector"}},
    {"zpk", {"Mittlere Pumpenergie Koll.fl.", "Mean pump energy coll. fluid"}},
    {"zpk_l", {"Mittlere Pumpenergie Luft", "Mean pump energy air"}},
    {"copwe", {"Mittlerer COP WE", "Mean COP WE"}},
    {"copww", {"Mittlerer COP WW", "Mean COP WW"}},
    {"er", {"Maximale Wärmeen. m. Koll. ER", "Maximum heat en. w. coll. ER"}},
    {"nh", {"En. f. Nachheizung (nh)", "En. for auxiliary heating (nh)"}},
    {"ok", {"En. f. Heizung (ok)", "En. for heating (ok)"}},
    {"esa", {"Gesammelte Sonnenenergie", "Collected solar energy"}},
    {"ls", {"Der Luft enzogene Energie", "Energy taken from the air"}},
    {"volluft", {"Gepumpte Luft", "Pumped air"}},
    {"a1_skm_oben", {"Wärmeübergangszahl a1 - freie K.", "Heat transfer coeff. a1 - free conv."}},
    {"a3_erz", {"Wärmeübergangszahl a3 - erz. K.", "Heat transfer coeff. a3 - forced conv."}},
    {"v_luft", {"Geschwindigkeit gepumpte Luft K.", "Velocity of pumped air coll."}},
    {"eg", {"Gesamte Wärmeenenergie", "Total heat energy"}},
    {"zv", {"Gepumpte Kollekt.fl.pro Koll.", "Pumped coll. fluid per coll."}},
    {"ms", {"Integrale gep. Kol.fl. pro Tag", "Integral pumped coll. fluid per day"}},
    {"zei", {"Laufzeit Kollektorpumpe", "Running time collector pump"}},
    {"tz", {"Zwischenstufentemperatur", "Intermediate stage temperature"}},
    {"lpu", {"Max. Pumpleistung Koll.fl.", "Max. pump power coll. fluid"}},
    {"lpu_l", {"Max. Pumpleistung Luft", "Max. pump power air"}},
    {"lnh", {"Max. Heizleistung (nh)", "Max. heating power (nh)"}},
    {"lok", {"Max. Heizleistung (ok)", "Max. heating power (ok)"}},
    {"vwp", {"Gepumptes Kältemittel", "Pumped refrigerant"}},
    {"ph", {"Druck ph", "Pressure ph"}},
    {"pt", {"Druck pt", "Pressure pt"}},
    {"ereif", {"Abtau-Energie Reif", "Defrosting energy"}},
    {"lges", {"Max. Heizleistung (nh + ok)", "Max. heating power (nh + ok)"}},
    {"msp_max_puffer", {"Mittlere Speichertemp. Pufferspeicher", "Mean store temp. buffer store"}},
    {"msp_next_puffer", {"Speichervol. Ende Monat Pufferspeicher", "Store vol. end of month buffer store"}},
    {"msp_max_lang", {"Mittlere Speichertemp. Langzeitspeicher", "Mean store temp. long-term store"}},
    {"msp_next_lang", {"Speichervol. Ende Monat Langzeitspeicher", "Store vol. end of month long-term store"}},
    {"preis", {"Energiepreis", "Energy price"}},
    {"teinv", {"Kollektoreingangstemperatur", "Collector inlet temperature"}},
    {"tev", {"Eingangstemperatur Luftwärmetauscher", "Inlet temperature air heat exchanger"}},
    {"lspwt", {"Minimale Länge Speicherwärmetauscher", "Minimum length store heat exchanger"}},
    {"agwt", {"Minimale Austauschfläche ZWT", "Minimum exchange area IHE"}},
    {"etagwt", {"Wirkungsgrad Gegenstromwärmetauscher", "Efficiency counter-flow heat exchanger"}},
    {"speiv_puffer", {"Speicherverluste Pufferspeicher", "Store losses buffer store"}},
    {"speiv_lang", {"Speicherverluste Langzeitspeicher", "Store losses long-term store"}},
    {"speiv_edt", {"Speichervolumen Tagesenergie", "Store volume daily energy"}},
}};

// Columns of the control file: interval length, irradiance, air temperature,
// then the 18 per-interval result series of datm.feld3.
const std::array<groesse, ANZ_STEUERSPALTEN> steuergroessen{{
    {"M", {"Intervalldauer", "Interval length"}},
    {"IS", {"Strahlungsintensität", "Radiation intensity"}},
    {"TA", {"Außentemperatur", "Air temperature"}},
    {"zei", {"Relative Laufzeit Kollektorpumpe", "Relative running time collector pump"}},
    {"lnh", {"Max. Heizleistung (nh)", "Max. heating power (nh)"}},
    {"lok", {"Max. Heizleistung (ok)", "Max. heating power (ok)"}},
    {"lpu", {"Max. Pumpleistung Koll.fl.", "Max. pump power coll. fluid"}},
    {"vwp", {"Gepumptes Kältemittel", "Pumped refrigerant"}},
    {"ph", {"Druck ph", "Pressure ph"}},
    {"pt", {"Druck pt", "Pressure pt"}},
    {"zv", {"Gepumpte Kollekt.fl.pro Koll.", "Pumped coll. fluid per coll."}},
    {"volluft", {"Gepumpte Luft", "Pumped air"}},
    {"msp_next_puffer", {"Speichervol. Ende Intervall Pufferspeicher", "Store vol. end of interval buffer store"}},
    {"msp_next_lang", {"Speichervol. Ende Intervall Langzeitspeicher", "Store vol. end of interval long-term store"}},
    {"msp_zwischenspeicher", {"Speichervol. Ende Intervall Zwischenspeicher", "Store vol. end of interval intermediate store"}},
    {"", {"Minimale Länge Speicherwärmetauscher", "Minimum length store heat exchanger"}},
    {"", {"Minimale Austauschfläche ZWT", "Minimum exchange area IHE"}},
    {"", {"Wirkungsgrad Gegenstromwärmetauscher", "Efficiency counter-flow heat exchanger"}},
    {"eqv3", {"Wärmeenergieverbrauch in Intervall", "Heat energy consumption in interval"}},
    {"teinv", {"Kollektoreingangstemperatur", "Collector inlet temperature"}},
    {"wpaus3", {"Wärmepumpe ein (1) oder aus (0)", "Heat pump on (1) or off (0)"}},
}};

const std::array<std::string, ANZ_ADATA> monatscodes = [] {
    std::array<std::string, ANZ_ADATA> a;
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = monatsgroessen[i].code;
    return a;
}();

const std::array<std::string, ANZ_STEUERSPALTEN> steuercodes = [] {
    std::array<std::string, ANZ_STEUERSPALTEN> a;
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = steuergroessen[i].code;
    return a;
}();

constexpr std::array<text_paar, 12> monate{{
    {"Januar    ", "January   "}, {"Februar   ", "February  "}, {"März      ", "March     "},
    {"April     ", "April     "}, {"Mai       ", "May       "}, {"Juni      ", "June      "},
    {"Juli      ", "July      "}, {"August    ", "August    "}, {"September ", "September "},
    {"Oktober   ", "October   "}, {"November  ", "November  "}, {"Dezember  ", "December  "},
}};

}  // namespace

const std::string& code(int q) { return monatscodes.at(static_cast<std::size_t>(q)); }
std::string titel(int q) { return monatsgroessen.at(static_cast<std::size_t>(q)).titel.text(); }
const std::string& steuer_code(int c) { return steuercodes.at(static_cast<std::size_t>(c)); }
std::string steuer_titel(int c) { return steuergroessen.at(static_cast<std::size_t>(c)).titel.text(); }
std::string monatsname(int m) { return monate.at(static_cast<std::size_t>(m - 1)).text(); }

}  // namespace ergebnistexte
