#include "sheets/ui/TDatenblatt.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>

#include "app/ui/THauptmenue.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/ui/auswahlgruppe.h"
#include "data/zahltext.h"
#include "input/datensatz_suchen.h"
#include "input/datensatzauswahl.h"
#include "input/ui/TDetailtabelle_einlesen.h"
#include "input/ui/Twp_datensatz_suchen.h"
#include "lang/meldung.h"
#include "lang/spaltentexte.h"
#include "lang/tabellentexte.h"
#include "lang/textglobale.h"
#include "results/datensatz_ausdruck.h"
#include "results/gesamtenergie.h"
#include "results/ui/TGesamtenergie.h"
#include "results/ui/listendruck_maler.h"
#include "sheets/datenblatt_rechner.h"
#include "sheets/datensatz_kopie.h"
#include "sheets/detailblatt.h"
#include "sheets/ui/Tdatenblatt_2.h"
#include "sheets/ui/blatt_modell.h"
#include "sheets/ui/blatt_raster.h"

using namespace tabledata;

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

// Caption set of the data sheet.
namespace c {
constexpr text_paar titel{"Datenblatt", "Data sheet"};
constexpr text_paar kopieren{"Kopieren", "Copy"};
constexpr text_paar suchen{"Suchen", "Search"};
constexpr text_paar drucken{"Drucken", "Print"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar einheiten{"Einheiten", "Units"};
constexpr text_paar spalte{"Spalte:", "Column:"};
constexpr text_paar einheit{"Einheit:", "Unit:"};
// Pages.
constexpr text_paar s_daten{"Daten", "Data"};
constexpr text_paar s_wp{"WP", "HP"};
constexpr text_paar s_kol{"KOL", "COL"};
constexpr text_paar s_an{"AN", "PLANT"};
constexpr text_paar s_num{"NUM", "NUM"};
constexpr text_paar s_zu{"ZU", "ACC"};
constexpr text_paar s_unter{"UNTER", "MAINT"};
constexpr text_paar s_ew{"EW", "EW"};
constexpr text_paar s_rech{"RECH", "CALC"};
constexpr text_paar s_eh{"EH", "EH"};
constexpr text_paar s_ir_ta_m{"IR_TA_M", "IR_TA_M"};
constexpr text_paar s_preis{"PREIS", "PRICE"};
constexpr text_paar s_steuer{"STEUER", "CONTROL"};
constexpr text_paar s_spei{"SPEI", "STORE"};
constexpr text_paar s_info{"Info", "Info"};
constexpr text_paar s_liste{"ZU (LISTE)", "ACC (LIST)"};
constexpr text_paar s_wa{"WA", "FLUID"};
constexpr text_paar s_gwt{"GWT", "HX"};
// Monthly tables.
constexpr text_paar monatswerte{"Monatswerte", "Monthly values"};
constexpr text_paar relativ{"Relativ", "Relative"};
constexpr text_paar absolut{"Absolut", "Absolute"};
constexpr text_paar berechne_summe{"Berechne Summe", "Compute sum"};
constexpr text_paar berechne_summe_ir{"Berechne Summe IR", "Compute sum IR"};
constexpr text_paar details{"Details", "Details"};
constexpr text_paar daten_einlesen{"Daten einlesen", "Edit details"};
constexpr text_paar zeitintervall{"Zeitintervall", "Time interval"};
constexpr text_paar details_absolut{"Details mit absoluten Zeiten", "Details with absolute times"};
constexpr text_paar details_periodisch{"Details periodisch", "Periodic details"};
constexpr text_paar details_dauer{"Details mit Intervalldauer", "Details with interval duration"};
constexpr text_paar details_tag{"Mittlere Tageswerte", "Mean daily values"};
constexpr text_paar keine_details{"Keine Details", "No details"};
constexpr text_paar gesamtenergie{"Gesamtenergie", "Total energy"};
constexpr text_paar jahressumme{"Jahressumme", "Yearly total"};
constexpr text_paar heizenergie_ziel{"Heizenergie Ziel", "Heating energy of a target site"};
constexpr text_paar basis_wetter{"Wetter Basis:", "Weather, base:"};
constexpr text_paar ziel_wetter{"Wetter Ziel:", "Weather, target:"};
constexpr text_paar basis_heizung{"Heizenergie Basis:", "Heating energy, base:"};
constexpr text_paar ziel_heizung{"Heizenergie Ziel:", "Heating energy, target:"};
constexpr text_paar kopieren_pfeil{"Kopieren->", "Copy->"};
constexpr text_paar berechnen{"Berechnen", "Compute"};
// Weather record.
constexpr text_paar wetter_werkzeuge{"Einstrahlung und Temperatur", "Irradiation and temperature"};
constexpr text_paar h_aus_breite{"Is (Ir, h), h (Breite)", "Is (Ir, h), h (latitude)"};
constexpr text_paar ir_in_kwh{"Ir in kWh", "Ir in kWh"};
constexpr text_paar detailtabelle{"Detailtabelle einlesen", "Import detail table"};
// Heat pump.
constexpr text_paar arbeitsweise{"Arbeitsweise", "Mode of operation"};
constexpr text_paar wasser_wasser{"Wasser-Wasser", "Water-water"};
constexpr text_paar sole_wasser{"Sole-Wasser", "Brine-water"};
constexpr text_paar luft_wasser{"Luft-Wasser", "Air-water"};
constexpr text_paar antrieb{"Antrieb", "Drive"};
constexpr text_paar elektrisch{"Elektrisch", "Electric"};
constexpr text_paar waermekraft{"Wärmekraftmaschine", "Heat engine"};
constexpr text_paar zweipunkt{"Linear / hyperbolisch aus zwei Messpunkten", "Linear / hyperbolic from two points"};
constexpr text_paar eta{"Wirkungsgrad", "Efficiency"};
constexpr text_paar ttief{"Ttief (°C)", "Tlow (°C)"};
constexpr text_paar thoch{"Thoch (°C)", "Thigh (°C)"};
constexpr text_paar punkt{"Punkt ", "Point "};
constexpr text_paar beta_l{"Beta linear", "Beta linear"};
constexpr text_paar alpha_l{"Alpha linear", "Alpha linear"};
constexpr text_paar beta_h{"Beta hyperbolisch", "Beta hyperbolic"};
constexpr text_paar alpha_h{"Alpha hyperbolisch", "Alpha hyperbolic"};
constexpr text_paar uebertragen{"Übertragen", "Transfer"};
constexpr text_paar sieben{"Sieben Parameter", "Seven parameters"};
constexpr text_paar exponent{"Exponent c:", "Exponent c:"};
constexpr text_paar koeffizient{"Koeffizient", "Coefficient"};
constexpr text_paar probe{"Probe", "Check"};
constexpr text_paar probe_db{"Probe DB", "Check DB"};
constexpr text_paar koeffizientennamen[7] = {{"Alpha", "Alpha"},     {"Beta", "Beta"},   {"Gamma", "Gamma"},
                                             {"Delta", "Delta"},     {"Epsilon", "Epsilon"}, {"Zeta", "Zeta"},
                                             {"Eta", "Eta"}};
// NUM.
constexpr text_paar zeitraum{"Zeitraum", "Period"};
constexpr text_paar monat{"Monat", "Month"};
constexpr text_paar jahr{"Jahr", "Year"};
constexpr text_paar intervall{"Intervall", "Interval"};
constexpr text_paar art{"Berechnung", "Calculation"};
constexpr text_paar geschwindigkeit{"Geschwindigkeit", "Velocity"};
constexpr text_paar temperatur{"Temperatur", "Temperature"};
constexpr text_paar geschw_temp{"Geschwindigkeit und Temperatur", "Velocity and temperature"};
constexpr text_paar analytisch{"Analytisch", "Analytic"};
constexpr text_paar optimierung{"Optimierung", "Optimisation"};
constexpr text_paar preis{"Preis", "Price"};
constexpr text_paar lokalenergie{"Lokalenergie", "Local energy"};
constexpr text_paar sortierung{"Sortierung Intensität", "Sorting of intensity"};
constexpr text_paar absteigend{"Absteigend", "Descending"};
constexpr text_paar aufsteigend{"Aufsteigend", "Ascending"};
constexpr text_paar nicht{"Nicht", "None"};
constexpr text_paar strahlung{"Strahlung", "Irradiation"};
constexpr text_paar monatswerte_ir{"Monatswerte", "Monthly values"};
constexpr text_paar fiktiver_tag{"Fiktiver Tag des Monats", "Fictitious day of the month"};
constexpr text_paar tageswerte{"Tageswerte", "Daily values"};
constexpr text_paar stundenwerte{"Stundenwerte", "Hourly values"};
constexpr text_paar speicher{"Speicher", "Store"};
constexpr text_paar speichern_zuerst{"Erst speichern", "Store first"};
constexpr text_paar entnehmen_zuerst{"Erst entnehmen", "Take first"};
constexpr text_paar verbrauchen_zuerst{"Erst verbrauchen", "Consume first"};
constexpr text_paar diffuse{"Diffuse Strahlung", "Diffuse irradiation"};
constexpr text_paar einlesen{"Einlesen", "Read"};
constexpr text_paar modell_wp{"Modell Wärmepumpe", "Heat-pump model"};
constexpr text_paar linear{"Linear", "Linear"};
constexpr text_paar hyperbolisch{"Hyperbolisch", "Hyperbolic"};
constexpr text_paar polynom{"Polynom (n Koeffizienten)", "Polynomial (n coefficients)"};
constexpr text_paar druckabfall{"Modell Druckabfall", "Pressure-drop model"};
constexpr text_paar druckabfall_analytisch{"Druckabfall analytisch", "Pressure drop analytic"};
constexpr text_paar pumpenfit{"Pumpenleistung angepasst", "Pump power fit"};
constexpr text_paar energiebedarf{"Energiebedarf", "Energy demand"};
constexpr text_paar gespeichert{"Optimiert auf gespeicherte Energie", "Optimised for stored energy"};
constexpr text_paar verbrauch{"Optimiert auf Verbrauch", "Optimised for consumption"};
// AN.
constexpr text_paar kopplung{"Kopplung", "Coupling"};
constexpr text_paar endreservoir{"Endreservoirkopplung", "End-reservoir coupling"};
constexpr text_paar zwischenreservoir{"Zwischenreservoirkopplung", "Intermediate-reservoir coupling"};
constexpr text_paar zk_luft{"ZK mit Luftwärmetauscher", "IC with air heat exchanger"};
constexpr text_paar anzahlkol{"Kollektoren in Serie", "Collectors in series"};
constexpr text_paar einer{"1 (Nur oberer Kollektor)", "1 (upper collector only)"};
constexpr text_paar zwei{"2 (Oberer und unterer Kollektor)", "2 (upper and lower collector)"};
constexpr text_paar ohne_kopplung{"Ohne Kopplung", "Without coupling"};
constexpr text_paar luftkollektor{"Luftkollektor", "Air collector"};
constexpr text_paar erdkollektor{"Erdkollektor", "Ground collector"};
constexpr text_paar gasheizung{"Gasheizung", "Gas heating"};
constexpr text_paar elektroheizung{"Elektrische Heizung", "Electric heating"};
constexpr text_paar fernwaerme{"Fernwärme", "District heating"};
constexpr text_paar heizung{"Heizung", "Heating"};
constexpr text_paar mit_sonne{"Heizung mit Sonne", "Heating with sun"};
constexpr text_paar ohne_sonne{"Heizung ohne Sonne", "Heating without sun"};
constexpr text_paar leistung_wp{"Typ Zwischenkopplung", "Type of intermediate coupling"};
constexpr text_paar r_ta{"Reservoir (R) TA", "Reservoir (R) TA"};
constexpr text_paar r_c{"Reservoir C", "Reservoir C"};
constexpr text_paar r_luft_var{"R mit Luftwärmetauscher variabel", "R with air heat exchanger, variable"};
constexpr text_paar r_luft_fest{"R mit Ventilatorkollektor", "R with fan collector"};
constexpr text_paar r_erd_luft{"R mit Erd und Luftwärmetauscher", "R with ground and air heat exchanger"};
constexpr text_paar dk{"Direkte Kopplung (DK)", "Direct coupling (DC)"};
constexpr text_paar dkf{"DK mit Ventilator", "DC with fan"};
constexpr text_paar speicheraussent{"Außentemp. Speicher", "Outside temp. of store"};
constexpr text_paar aussentemp{"Außentemperatur", "Outdoor temperature"};
constexpr text_paar erdtemp{"Erdtemperatur", "Ground temperature"};
constexpr text_paar ruecklauftemp{"Rücklauftemperatur", "Return temperature"};
constexpr text_paar kaltwassertemp{"Kaltwassertemperatur", "Cold-water temperature"};
constexpr text_paar gegenstrom{"Wärmetauscher", "Heat exchanger"};
constexpr text_paar kein_wt{"Kein Wärmetauscher", "No heat exchanger"};
constexpr text_paar idealer_wt{"Idealer Wärmetauscher", "Ideal heat exchanger"};
constexpr text_paar reservoir{"Reservoir", "Reservoir"};
constexpr text_paar gegenstrom_wt{"Gegenstrom", "Counter-flow"};
// Other pages.
constexpr text_paar rohrverlegung{"Rohrverlegung", "Pipe layout"};
constexpr text_paar parallel{"Parallel", "Parallel"};
constexpr text_paar seriell{"Seriell", "Serial"};
constexpr text_paar gruppe{"Gruppe", "Group"};
constexpr text_paar photovoltaik{"Photovoltaik", "Photovoltaics"};
constexpr text_paar thermisch{"Thermisch", "Thermal"};
constexpr text_paar heizung_gr{"Heizung", "Heating"};
constexpr text_paar skalieren{"Skalieren", "Scaling"};
constexpr text_paar mit_flaeche{"Mit der Fläche", "With the area"};
constexpr text_paar nicht_skalieren{"Nicht skalieren", "Do not scale"};
constexpr text_paar steuer_pruefen{"Prüfen", "Check"};
constexpr text_paar steuer_hinweis{"Entnahme in jedem Lademonat", "Discharge in every charging month"};
constexpr text_paar verlust{"Speicherverluste", "Store losses"};
constexpr text_paar verlust_gesamt{"Verlust gesamt (W/K):", "Total loss (W/K):"};
constexpr text_paar volumen{"Volumen (m³):", "Volume (m³):"};
constexpr text_paar verlust_flaeche{"Verlust/Fläche (W/(K m²)):", "Loss/area (W/(K m²)):"};
constexpr text_paar uebernehmen{"Übernehmen", "Take over"};
constexpr text_paar typ{"Typ", "Type"};
constexpr text_paar rohre{"Gegenstromrohre", "Counter-flow tubes"};
constexpr text_paar platte{"Plattenwärmetauscher", "Plate heat exchanger"};
constexpr text_paar reservoir_wt{"Reservoir", "Reservoir"};
constexpr text_paar austauschflaeche{"Austauschfläche", "Exchange area"};
constexpr text_paar titel_anpassen{"Spaltenüberschriften anpassen", "Adapt column titles"};
constexpr text_paar nicht_benutzt{" (nicht benutzt)", " (not used)"};
constexpr text_paar liste{"Liste", "List"};
constexpr text_paar zu_liste{"ZU (LISTE)  Zubehör Liste", "ACC (LIST)  Accessory list"};
constexpr text_paar zu_hauptliste{"ZU (HAUPTLISTE)  Gruppe von Zubehörlisten", "ACC (MAIN LIST)  Group of lists"};
constexpr text_paar unter_liste{"UNTER (LISTE)  Unterhaltskosten Liste", "MAINT (LIST)  Maintenance list"};
constexpr text_paar in_liste_knopf{"In die Liste", "Add to the list"};
constexpr text_paar listenname{"Name in der Liste:", "Name in the list:"};
constexpr text_paar in_liste{"Markierte Zeile in die Liste", "Add the marked row to the list"};
constexpr text_paar zahlfehler{"' ist kein gültiger Gleitkommawert", "' is not a valid floating point value"};
}  // namespace c

const char* const MONATSNAMEN[12] = {"januar", "februar", "maerz",     "april",   "mai",      "juni",
                                     "juli",   "august",  "september", "oktober", "november", "dezember"};


// A number typed into a calculator field; a text that is not one is reported
// as the conversion error and the calculation does not happen.
std::optional<double> zahl_aus(QLineEdit* f) {
    const std::string text = f->text().trimmed().toStdString();
    if (const auto x = lies_zahl(text)) return x;
    meldung("'" + text + c::zahlfehler.text(), "M", 'E');
    return std::nullopt;
}

QString zahltext(double x) { return QString::number(x, 'g', 10); }

// Columns of the tool area of a page.
constexpr int WERKZEUGSPALTEN = 4;

}  // namespace

TDatenblatt::TDatenblatt(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TDatenblatt"));
    auto* spalte = new QVBoxLayout(this);
    seiten_ = new QTabWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));
    spalte->addWidget(seiten_, 1);
    auto* leiste = new QHBoxLayout;
    auto knopf = [&](const char* name, void (TDatenblatt::*h)()) {
        auto* k = new QPushButton(this);
        k->setObjectName(QString::fromLatin1(name));
        knoepfe_[name] = k;
        if (h) connect(k, &QPushButton::clicked, this, [this, h] { am_ereignisrand([&] { (this->*h)(); }); });
        leiste->addWidget(k);
        return k;
    };
    kopieren_ = knopf("Kopieren", &TDatenblatt::kopieren);
    suchen_ = knopf("Suchen", &TDatenblatt::suchen);
    drucken_ = knopf("Drucken", &TDatenblatt::drucken);
    leiste->addStretch(1);
    schliessen_ = knopf("Schliessen", nullptr);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    spalte->addLayout(leiste);
    baue_seiten();
    resize(1240, 820);
    beschriften();
}

// --- building -------------------------------------------------------------

int TDatenblatt::baue_seite(const char* name, const text_paar& titel, const std::vector<int>& tabellen,
                            const std::vector<int>& quellen) {
    seite s;
    s.titel = titel;
    s.tabellen = tabellen;
    s.widget = new QWidget(seiten_);
    s.widget->setObjectName(QString::fromLatin1(name));
    auto* spalte = new QVBoxLayout(s.widget);
    s.beschreibung = new QLabel(s.widget);
    s.beschreibung->setObjectName(QStringLiteral("beschreibung"));
    s.beschreibung->setWordWrap(true);
    s.beschreibung->setTextInteractionFlags(Qt::TextSelectableByMouse);
    spalte->addWidget(s.beschreibung);
    auto* teiler = new QSplitter(Qt::Vertical, s.widget);
    auto* raster_flaeche = new QWidget(teiler);
    auto* raster_reihe = new QHBoxLayout(raster_flaeche);
    raster_reihe->setContentsMargins(0, 0, 0, 0);
    const int index = static_cast<int>(seitenliste_.size());
    for (int t : quellen) {
        auto* r = new blatt_raster(t, raster_flaeche);
        raster_reihe->addWidget(r, 1);
        quellraster_[t] = r;
        s.raster.push_back(r);
        connect(r, &blatt_raster::zeile_gewechselt, this, [this, r] { zeile_gewechselt(r); });
    }
    for (int t : tabellen) {
        auto* r = new blatt_raster(t, raster_flaeche);
        raster_reihe->addWidget(r, 1);
        raster_[t] = r;
        seite_von_[t] = index;
        s.raster.push_back(r);
        connect(r, &blatt_raster::zeile_gewechselt, this, [this, r] { zeile_gewechselt(r); });
    }
    teiler->addWidget(raster_flaeche);
    auto* rollen = new QScrollArea(teiler);
    rollen->setWidgetResizable(true);
    rollen->setFrameShape(QFrame::NoFrame);
    s.werkzeuge = new QWidget(rollen);
    auto* w = new QGridLayout(s.werkzeuge);
    w->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < WERKZEUGSPALTEN; ++i) w->setColumnStretch(i, 1);
    rollen->setWidget(s.werkzeuge);
    teiler->addWidget(rollen);
    s.werkzeugflaeche = rollen;
    teiler->setStretchFactor(0, 1);
    teiler->setStretchFactor(1, 1);
    teiler->setSizes({400, 330});
    spalte->addWidget(teiler, 1);
    // Pages with many tools give them more room.
    const std::string n = name;
    if (n == "WP" || n == "NUM" || n == "AN") teiler->setSizes({230, 500});
    seitenliste_.push_back(s);
    seiten_->addTab(s.widget, QString());
    // The unit group where the page's table has unit columns.
    bool einheiten = false;
    for (const auto& sp : tabellenschema(tabellen.front()).spalten) einheiten = einheiten || ist_einheitenspalte(sp.name);
    if (einheiten) baue_einheitengruppe(index);
    return index;
}

void TDatenblatt::platziere(int s, QWidget* gruppe, int breite) {
    seite& x = seitenliste_[static_cast<std::size_t>(s)];
    auto* raster = static_cast<QGridLayout*>(x.werkzeuge->layout());
    constexpr int n = WERKZEUGSPALTEN;
    if (x.belegt % n + breite > n) x.belegt += n - x.belegt % n;
    raster->addWidget(gruppe, x.belegt / n, x.belegt % n, 1, breite, Qt::AlignTop);
    x.belegt += breite;
    for (int z = 0; z <= x.belegt / n; ++z) raster->setRowStretch(z, 0);
    raster->setRowStretch(x.belegt / n + 1, 1);
}

QGroupBox* TDatenblatt::neue_gruppe(QWidget* eltern, const char* name, const text_paar& titel) {
    auto* g = new QGroupBox(eltern);
    g->setObjectName(QString::fromLatin1(name));
    gruppentitel_.emplace_back(g, titel);
    return g;
}

QPushButton* TDatenblatt::neuer_knopf(QWidget* eltern, const char* name, const text_paar& titel,
                                      void (TDatenblatt::*h)()) {
    auto* k = new QPushButton(eltern);
    k->setObjectName(QString::fromLatin1(name));
    knoepfe_[name] = k;
    knopftitel_.emplace_back(k, titel);
    if (h) connect(k, &QPushButton::clicked, this, [this, h] { am_ereignisrand([&] { (this->*h)(); }); });
    return k;
}

QLineEdit* TDatenblatt::neues_feld(QWidget* eltern, const char* name, bool nur_lesen) {
    auto* f = new QLineEdit(eltern);
    f->setObjectName(QString::fromLatin1(name));
    f->setReadOnly(nur_lesen);
    f->setMinimumWidth(70);
    felder_[name] = f;
    return f;
}

auswahlgruppe* TDatenblatt::codegruppe(QWidget* eltern, const char* name, const text_paar& titel, blatt_raster* r,
                                       const char* spalte, std::vector<std::pair<text_paar, const char*>> codes,
                                       int spalten) {
    std::vector<auswahlgruppe::eintrag> e;
    for (const auto& [t, code] : codes) e.push_back({t, code});
    auto* g = new auswahlgruppe(titel, std::move(e), eltern, spalten);
    g->setObjectName(QString::fromLatin1(name));
    gruppen_[name] = g;
    bindungen_.push_back({g, r, spalte});
    const std::string s = spalte;
    connect(g, &auswahlgruppe::gewaehlt, this, [this, g, r, s] {
        am_ereignisrand([&] { r->aendern({{s, g->code()}}); });
    });
    return g;
}

void TDatenblatt::baue_einheitengruppe(int s) {
    seite& x = seitenliste_[static_cast<std::size_t>(s)];
    x.einheiten = neue_gruppe(x.werkzeuge, "Einheiten", c::einheiten);
    auto* f = new QGridLayout(x.einheiten);
    auto* t1 = new QLabel(x.einheiten);
    auto* t2 = new QLabel(x.einheiten);
    labels_.emplace_back(t1, c::spalte);
    labels_.emplace_back(t2, c::einheit);
    x.einheitenspalte = new QComboBox(x.einheiten);
    x.einheitenspalte->setObjectName(QStringLiteral("einheitenspalte"));
    x.einheit = new QComboBox(x.einheiten);
    x.einheit->setObjectName(QStringLiteral("einheit"));
    x.einheit->setMinimumContentsLength(10);
    f->addWidget(t1, 0, 0);
    f->addWidget(x.einheitenspalte, 0, 1);
    f->addWidget(t2, 1, 0);
    f->addWidget(x.einheit, 1, 1);
    f->setColumnStretch(1, 1);
    connect(x.einheitenspalte, &QComboBox::currentIndexChanged, this, [this] {
        if (!liest_) einheiten_zeigen();
    });
    connect(x.einheit, &QComboBox::activated, this, [this, s] {
        const seite& y = seitenliste_[static_cast<std::size_t>(s)];
        blatt_raster* r = eigenes_raster();
        // The items show captions and units as the language writes them;
        // their data are the stored column name and unit.
        const QString spalte = y.einheitenspalte->currentData().toString();
        if (!r || spalte.isEmpty()) return;
        am_ereignisrand([&] {
            r->aendern({{spalte.toStdString(), y.einheit->currentData().toString().toStdString()}});
        });
    });
    platziere(s, x.einheiten);
}

void TDatenblatt::baue_seiten() {
    const int daten = baue_seite("Daten", c::s_daten, {tee});
    baue_monatsseite(daten, tee);
    baue_wp_seite(baue_seite("WP", c::s_wp, {twp}));

    const int kol = baue_seite("KOL", c::s_kol, {tkol});
    platziere(kol, codegruppe(seitenliste_[kol].werkzeuge, "KOL.rohrverlegung", c::rohrverlegung, raster_[tkol],
                              "rohrverlegung", {{c::parallel, "P"}, {c::seriell, "S"}}));

    const int an = baue_seite("AN", c::s_an, {tabledata::tan});
    {
        QWidget* w = seitenliste_[an].werkzeuge;
        blatt_raster* r = raster_[tabledata::tan];
        platziere(an, codegruppe(w, "AN.Kopplungstyp", c::kopplung, r, "Kopplungstyp",
                                 {{c::endreservoir, "E"}, {c::zwischenreservoir, "Z"}, {c::zk_luft, "L"}}));
        platziere(an, codegruppe(w, "AN.AnzahlKol", c::anzahlkol, r, "AnzahlKol", {{c::einer, "E"}, {c::zwei, "Z"}}));
        platziere(an, codegruppe(w, "AN.Ohne Kopplung", c::ohne_kopplung, r, "Ohne Kopplung",
                                 {{c::luftkollektor, "L"},
                                  {c::erdkollektor, "E"},
                                  {c::gasheizung, "G"},
                                  {c::elektroheizung, "K"},
                                  {c::fernwaerme, "F"}}));
        platziere(an, codegruppe(w, "AN.Heizung", c::heizung, r, "Heizung", {{c::mit_sonne, "J"}, {c::ohne_sonne, "N"}}));
        platziere(an, codegruppe(w, "AN.LeistungWP", c::leistung_wp, r, "LeistungWP",
                                 {{c::r_ta, "A"},
                                  {c::r_c, "K"},
                                  {c::r_luft_var, "L"},
                                  {c::r_luft_fest, "F"},
                                  {c::r_erd_luft, "E"},
                                  {c::dk, "DK"},
                                  {c::dkf, "DKF"}}));
        platziere(an, codegruppe(w, "AN.Speicheraussent", c::speicheraussent, r, "Speicheraussent",
                                 {{c::aussentemp, "A"}, {c::erdtemp, "E"}, {c::ruecklauftemp, "R"}}));
        platziere(an, codegruppe(w, "AN.Kaltwassertemp", c::kaltwassertemp, r, "Kaltwassertemp",
                                 {{c::ruecklauftemp, "W"}, {c::erdtemp, "E"}}));
        platziere(an, codegruppe(w, "AN.Gegenstrom", c::gegenstrom, r, "Gegenstrom",
                                 {{c::kein_wt, "K"}, {c::idealer_wt, "I"}, {c::reservoir, "R"}, {c::gegenstrom_wt, "G"}}));
    }

    const int num = baue_seite("NUM", c::s_num, {tnum});
    {
        QWidget* w = seitenliste_[num].werkzeuge;
        blatt_raster* r = raster_[tnum];
        platziere(num, codegruppe(w, "NUM.zeitraum", c::zeitraum, r, "zeitraum",
                                  {{c::monat, "M"}, {c::jahr, "J"}, {c::intervall, "I"}}));
        platziere(num, codegruppe(w, "NUM.art", c::art, r, "art",
                                  {{c::geschwindigkeit, "V"}, {c::temperatur, "T"}, {c::geschw_temp, "M"},
                                   {c::analytisch, "A"}}));
        platziere(num, codegruppe(w, "NUM.optimierung", c::optimierung, r, "optimierung",
                                  {{c::preis, "P"}, {c::gesamtenergie, "K"}, {c::lokalenergie, "A"}}));
        platziere(num, codegruppe(w, "NUM.sortierung", c::sortierung, r, "sortierung",
                                  {{c::absteigend, "D"}, {c::aufsteigend, "U"}, {c::nicht, "N"}}));
        platziere(num, codegruppe(w, "NUM.strahlung", c::strahlung, r, "strahlung",
                                  {{c::monatswerte_ir, "N"}, {c::fiktiver_tag, "M"}, {c::tageswerte, "T"},
                                   {c::stundenwerte, "D"}}));
        platziere(num, codegruppe(w, "NUM.speicher", c::speicher, r, "speicher",
                                  {{c::speichern_zuerst, "V"}, {c::entnehmen_zuerst, "N"}, {c::verbrauchen_zuerst, "S"}}));
        auto* diffus = codegruppe(w, "NUM.diffusestrahlung", c::diffuse, r, "diffusestrahlung",
                                  {{c::berechnen, "B"}, {c::einlesen, "E"}});
        connect(diffus, &auswahlgruppe::gewaehlt, this, [diffus] {
            if (diffus->code() == "E") am_ereignisrand([] { erinnere_diffuse_strahlung(); });
        });
        platziere(num, diffus);
        platziere(num, codegruppe(w, "NUM.modelltypwp", c::modell_wp, r, "modelltypwp",
                                  {{c::linear, "L"}, {c::hyperbolisch, "H"}, {c::analytisch, "A"}, {c::polynom, "4"}}));
        platziere(num, codegruppe(w, "NUM.modelltypdruckabfall", c::druckabfall, r, "modelltypdruckabfall",
                                  {{c::druckabfall_analytisch, "D"}, {c::pumpenfit, "L"}}));
        platziere(num, codegruppe(w, "NUM.energiebedarfintervall", c::energiebedarf, r, "energiebedarfintervall",
                                  {{c::gespeichert, "S"}, {c::verbrauch, "V"}}));
    }

    for (auto [name, titel, t] : {std::tuple{"ZU", c::s_zu, tzu}, std::tuple{"UNTER", c::s_unter, tunter}}) {
        const int s = baue_seite(name, titel, {t});
        platziere(s, codegruppe(seitenliste_[s].werkzeuge, name == std::string("ZU") ? "ZU.gruppe" : "UNTER.gruppe",
                                c::gruppe, raster_[t], "gruppe",
                                {{c::photovoltaik, "P"}, {c::thermisch, "T"}, {c::heizung_gr, "H"}}));
        platziere(s, codegruppe(seitenliste_[s].werkzeuge,
                                name == std::string("ZU") ? "ZU.skalieren" : "UNTER.skalieren", c::skalieren,
                                raster_[t], "skalieren", {{c::mit_flaeche, "J"}, {c::nicht_skalieren, "N"}}));
    }

    baue_monatsseite(baue_seite("EW", c::s_ew, {tew_m}), tew_m);

    baue_seite("RECH", c::s_rech, {trech});
    raster_[trech]->setze_vor_navigation([] { pruefe_rech_vor_navigation(); });

    baue_monatsseite(baue_seite("EH", c::s_eh, {teh_m}), teh_m);
    baue_wetterseite(baue_seite("IR_TA_M", c::s_ir_ta_m, {tir_ta_m}));
    baue_seite("PREIS", c::s_preis, {tpreis, ttarif});

    const int steuer = baue_seite("STEUER", c::s_steuer, {tsteuer});
    {
        auto* g = neue_gruppe(seitenliste_[steuer].werkzeuge, "SteuerGruppe", c::steuer_hinweis);
        auto* l = new QVBoxLayout(g);
        l->addWidget(neuer_knopf(g, "SteuerPruefen", c::steuer_pruefen, &TDatenblatt::steuer_pruefen));
        platziere(steuer, g);
    }

    const int spei = baue_seite("SPEI", c::s_spei, {tspei});
    {
        auto* g = neue_gruppe(seitenliste_[spei].werkzeuge, "Verluste", c::verlust);
        auto* f = new QGridLayout(g);
        const std::pair<const char*, const text_paar*> zeilen[] = {
            {"verlust_gesamt", &c::verlust_gesamt}, {"volumen", &c::volumen}, {"verlust_flaeche", &c::verlust_flaeche}};
        int z = 0;
        for (const auto& [name, titel] : zeilen) {
            auto* l = new QLabel(g);
            labels_.emplace_back(l, *titel);
            f->addWidget(l, z, 0);
            f->addWidget(neues_feld(g, name, z == 2), z, 1);
            ++z;
        }
        f->addWidget(neuer_knopf(g, "SpeiBerechnen", c::berechnen, &TDatenblatt::spei_berechnen), z, 0);
        f->addWidget(neuer_knopf(g, "SpeiUebernehmen", c::uebernehmen, &TDatenblatt::spei_uebernehmen), z, 1);
        platziere(spei, g);
    }

    baue_seite("Info", c::s_info, {tmemodb});
    baue_listenseite(baue_seite("ZU_LISTE", c::s_liste, {tliste, tliste2, tunter_liste}, {tzu, tunter}));
    baue_seite("WA", c::s_wa, {twaerme, tkaelte});

    const int gwt = baue_seite("GWT", c::s_gwt, {tgwt});
    {
        QWidget* w = seitenliste_[gwt].werkzeuge;
        platziere(gwt, codegruppe(w, "GWT.typ", c::typ, raster_[tgwt], "typ",
                                  {{c::rohre, "GR"}, {c::platte, "PW"}, {c::reservoir_wt, "RE"}}));
        auto* g = neue_gruppe(w, "Austauschflaeche", c::austauschflaeche);
        auto* l = new QVBoxLayout(g);
        l->addWidget(neuer_knopf(g, "GwtBerechnen", c::berechnen, &TDatenblatt::gwt_berechnen));
        l->addWidget(neuer_knopf(g, "GwtTitel", c::titel_anpassen, &TDatenblatt::gwt_titel));
        platziere(gwt, g);
    }

    // A page without tools gives its whole height to the grids.
    for (const seite& x : seitenliste_)
        if (x.belegt == 0) x.werkzeugflaeche->hide();
}

void TDatenblatt::baue_monatsseite(int s, int t) {
    QWidget* w = seitenliste_[static_cast<std::size_t>(s)].werkzeuge;
    blatt_raster* r = raster_[t];
    const std::string k = tabellenschluessel(t);
    const std::string relspalte = t == tee ? "Rel" : "rel";
    // The month values switch between relative and absolute through
    // `wechsle_monatswerte`, which converts them.
    std::vector<auswahlgruppe::eintrag> e = {{c::relativ, "R"}, {c::absolut, "A"}};
    auto* g = new auswahlgruppe(c::monatswerte, e, w);
    const std::string gname = k + "." + relspalte;
    g->setObjectName(QString::fromStdString(gname));
    gruppen_[gname] = g;
    bindungen_.push_back({g, r, relspalte});
    connect(g, &auswahlgruppe::gewaehlt, this, [this, t](int i) { am_ereignisrand([&] { monatswerte_gewaehlt(t, i); }); });
    platziere(s, g);

    auto* summe = neue_gruppe(w, ("Summe_" + k).c_str(), c::jahressumme);
    auto* l = new QVBoxLayout(summe);
    l->addWidget(neuer_knopf(summe, ("BerechneSumme_" + k).c_str(), c::berechne_summe, &TDatenblatt::berechne_summe));
    if (t == teh_m) l->addWidget(neuer_knopf(summe, "Gesamtenergie", c::gesamtenergie, &TDatenblatt::gesamtenergie));
    platziere(s, summe);
    if (t == tee) return;

    platziere(s, codegruppe(w, (k + ".zeitintervall").c_str(), c::zeitintervall, r, "zeitintervall",
                            {{c::details_absolut, "A"}, {c::details_periodisch, "P"}, {c::keine_details, "K"}}));
    auto* details = neue_gruppe(w, ("Details_" + k).c_str(), c::details);
    auto* d = new QVBoxLayout(details);
    auto* ein = neuer_knopf(details, ("DetailsEinlesen_" + k).c_str(), c::daten_einlesen, nullptr);
    connect(ein, &QPushButton::clicked, this, [this, t] { am_ereignisrand([&] { monat_details(t); }); });
    d->addWidget(ein);
    platziere(s, details);

    if (t != teh_m) return;
    auto* ziel = neue_gruppe(w, "HeizenergieZiel", c::heizenergie_ziel);
    auto* z = new QGridLayout(ziel);
    const std::tuple<const char*, const text_paar*, int> zeilen[] = {
        {"basis_wetter", &c::basis_wetter, tir_ta_m},
        {"ziel_wetter", &c::ziel_wetter, tir_ta_m},
        {"basis_heizung", &c::basis_heizung, teh_m},
        {"ziel_heizung", &c::ziel_heizung, teh_m},
    };
    int zeile = 0;
    for (const auto& [name, titel, quelle] : zeilen) {
        auto* l2 = new QLabel(ziel);
        labels_.emplace_back(l2, *titel);
        auto* box = new QComboBox(ziel);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        box->setMinimumContentsLength(18);
        auswahlen_[name] = box;
        auto* k2 = neuer_knopf(ziel, (std::string("kopiere_") + name).c_str(), c::kopieren_pfeil, nullptr);
        const int q = quelle;
        connect(k2, &QPushButton::clicked, this, [this, box, q] {
            // The name of the current row of the table the field names.
            QString name;
            if (q == teh_m) {
                name = raster_[teh_m]->wert("name");
            } else {
                am_ereignisrand([&] {
                    ::tabelle& t2 = tab(q);
                    if (t2.ist_offen() && t2.hat_zeile()) name = QString::fromStdString(t2.text("name"));
                });
            }
            if (!name.isEmpty()) box->setEditText(name);
        });
        z->addWidget(l2, zeile, 0);
        z->addWidget(k2, zeile, 1);
        z->addWidget(box, zeile, 2);
        ++zeile;
    }
    z->setColumnStretch(2, 1);
    z->addWidget(neuer_knopf(ziel, "HeizenergieZielBerechnen", c::berechnen, &TDatenblatt::heizenergie_ziel), zeile, 2);
    platziere(s, ziel, 2);
}

void TDatenblatt::baue_wetterseite(int s) {
    QWidget* w = seitenliste_[static_cast<std::size_t>(s)].werkzeuge;
    platziere(s, codegruppe(w, "IR_TA_M.zeitintervall", c::zeitintervall, raster_[tir_ta_m], "zeitintervall",
                            {{c::details_absolut, "A"}, {c::details_dauer, "D"}, {c::details_tag, "T"},
                             {c::keine_details, "K"}}));
    auto* g = neue_gruppe(w, "Wetterwerkzeuge", c::wetter_werkzeuge);
    auto* l = new QVBoxLayout(g);
    l->addWidget(neuer_knopf(g, "BerechneSumme_IR_TA_M", c::berechne_summe_ir, &TDatenblatt::berechne_summe));
    l->addWidget(neuer_knopf(g, "HAusBreite", c::h_aus_breite, &TDatenblatt::h_aus_breite));
    l->addWidget(neuer_knopf(g, "IrInKWh", c::ir_in_kwh, &TDatenblatt::ir_in_kwh));
    platziere(s, g);
    auto* d = neue_gruppe(w, "Details_IR_TA_M", c::details);
    auto* dl = new QVBoxLayout(d);
    dl->addWidget(neuer_knopf(d, "DetailsEinlesen_IR_TA_M", c::daten_einlesen, &TDatenblatt::wetter_details));
    dl->addWidget(neuer_knopf(d, "Detailtabelle", c::detailtabelle, &TDatenblatt::detailtabelle_einlesen));
    platziere(s, d);
    // Before a post the record is checked for completeness.
    raster_[tir_ta_m]->setze_nach_speichern([] { pruefe_wetterdatensatz_vollstaendig(); });
}

void TDatenblatt::baue_wp_seite(int s) {
    QWidget* w = seitenliste_[static_cast<std::size_t>(s)].werkzeuge;
    blatt_raster* r = raster_[twp];
    platziere(s, codegruppe(w, "WP.arbeitsweise", c::arbeitsweise, r, "arbeitsweise",
                            {{c::wasser_wasser, "ww"}, {c::sole_wasser, "we"}, {c::luft_wasser, "wl"}}));
    platziere(s, codegruppe(w, "WP.antrieb", c::antrieb, r, "antrieb", {{c::elektrisch, "E"}, {c::waermekraft, "W"}}));

    auto* zp = neue_gruppe(w, "Zweipunkt", c::zweipunkt);
    auto* z = new QGridLayout(zp);
    const text_paar* spalten[] = {&c::eta, &c::ttief, &c::thoch};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(zp);
        labels_.emplace_back(l, *spalten[i]);
        z->addWidget(l, 0, i + 1);
    }
    for (int p = 1; p <= 2; ++p) {
        auto* l = new QLabel(zp);
        labels_.emplace_back(l, p == 1 ? text_paar{"Punkt 1", "Point 1"} : text_paar{"Punkt 2", "Point 2"});
        z->addWidget(l, p, 0);
        const std::string n = std::to_string(p);
        z->addWidget(neues_feld(zp, p == 1 ? "eta1" : "eta2"), p, 1);
        z->addWidget(neues_feld(zp, p == 1 ? "ttief1" : "ttief2"), p, 2);
        z->addWidget(neues_feld(zp, p == 1 ? "thoch1" : "thoch2"), p, 3);
    }
    const std::pair<const char*, const text_paar*> ergebnisse[] = {
        {"beta_l", &c::beta_l}, {"alpha_l", &c::alpha_l}, {"beta_h", &c::beta_h}, {"alpha_h", &c::alpha_h}};
    int zeile = 3;
    for (const auto& [name, titel] : ergebnisse) {
        auto* l = new QLabel(zp);
        labels_.emplace_back(l, *titel);
        z->addWidget(l, zeile, 0, 1, 2);
        z->addWidget(neues_feld(zp, name), zeile, 2, 1, 2);
        ++zeile;
    }
    z->addWidget(neuer_knopf(zp, "ZweipunktBerechnen", c::berechnen, &TDatenblatt::zweipunkt_berechnen), zeile, 0, 1, 2);
    z->addWidget(neuer_knopf(zp, "ZweipunktUebertragen", c::uebertragen, &TDatenblatt::zweipunkt_uebertragen), zeile, 2,
                 1, 2);
    platziere(s, zp);

    auto* sp = neue_gruppe(w, "SiebenParameter", c::sieben);
    auto* g = new QGridLayout(sp);
    const text_paar* kopf[] = {&c::eta, &c::ttief, &c::thoch, &c::koeffizient, &c::probe};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(sp);
        labels_.emplace_back(l, *kopf[i]);
        g->addWidget(l, 0, i == 3 ? 4 : (i == 4 ? 6 : i + 1), 1, i == 3 ? 2 : 1);
    }
    for (int p = 1; p <= 7; ++p) {
        auto* l = new QLabel(QString::number(p), sp);
        g->addWidget(l, p, 0);
        const std::string n = std::to_string(p);
        g->addWidget(neues_feld(sp, ("s_eta" + n).c_str()), p, 1);
        g->addWidget(neues_feld(sp, ("s_ttief" + n).c_str()), p, 2);
        g->addWidget(neues_feld(sp, ("s_thoch" + n).c_str()), p, 3);
        auto* kn = new QLabel(sp);
        labels_.emplace_back(kn, c::koeffizientennamen[p - 1]);
        g->addWidget(kn, p, 4);
        g->addWidget(neues_feld(sp, ("koef" + n).c_str()), p, 5);
        g->addWidget(neues_feld(sp, ("probe" + n).c_str(), true), p, 6);
    }
    auto* ex = new QLabel(sp);
    labels_.emplace_back(ex, c::exponent);
    g->addWidget(ex, 8, 0, 1, 2);
    g->addWidget(neues_feld(sp, "s_exponent"), 8, 2);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(neuer_knopf(sp, "SiebenBerechnen", c::berechnen, &TDatenblatt::sieben_berechnen));
    knoepfe->addWidget(neuer_knopf(sp, "SiebenProbe", c::probe, &TDatenblatt::sieben_probe));
    knoepfe->addWidget(neuer_knopf(sp, "SiebenProbeDB", c::probe_db, &TDatenblatt::sieben_probe_db));
    knoepfe->addWidget(neuer_knopf(sp, "SiebenUebertragen", c::uebertragen, &TDatenblatt::sieben_uebertragen));
    g->addLayout(knoepfe, 9, 0, 1, 7);
    platziere(s, sp, 3);
}

void TDatenblatt::baue_listenseite(int s) {
    QWidget* w = seitenliste_[static_cast<std::size_t>(s)].werkzeuge;
    auto* g = new auswahlgruppe(c::liste, {{c::zu_liste, "L"}, {c::zu_hauptliste, "H"}, {c::unter_liste, "U"}}, w);
    g->setObjectName(QStringLiteral("ListeZiel"));
    gruppen_["ListeZiel"] = g;
    connect(g, &auswahlgruppe::gewaehlt, this, [this](int i) { liste_gewaehlt(i); });
    platziere(s, g);
    auto* k = neue_gruppe(w, "ListeKopieren", c::in_liste);
    auto* f = new QGridLayout(k);
    auto* l = new QLabel(k);
    labels_.emplace_back(l, c::listenname);
    f->addWidget(l, 0, 0);
    f->addWidget(neues_feld(k, "listenname"), 0, 1);
    f->addWidget(neuer_knopf(k, "ListeKopieren", c::in_liste_knopf, &TDatenblatt::liste_kopieren), 1, 1);
    platziere(s, k);
    liste_gewaehlt(0);
}

// --- opening, captions, rows ------------------------------------------------

int TDatenblatt::seite_fuer(int t) {
    const auto it = seite_von_.find(t);
    if (it != seite_von_.end()) return it->second;
    // Tables without a page of their own get a page with grid and units.
    return baue_seite(tabellenschluessel(t).c_str(), tabellentext_von(t).kuerzel, {t});
}

void TDatenblatt::oeffnen(int t) {
    tabelle_ = t;
    const int s = seite_fuer(t);
    for (int i = 0; i < seiten_->count(); ++i) seiten_->setTabVisible(i, i == s);
    seiten_->setCurrentIndex(s);
    liest_ = true;
    const seite& x = seitenliste_[static_cast<std::size_t>(s)];
    for (blatt_raster* r : x.raster) {
        am_ereignisrand([&] {
            ::tabelle& tb = tab(r->tabelle());
            if (tb.ist_offen()) {
                tb.filter_aus();
                tb.sortiere_nach_schluessel();
                if (!tb.hat_zeile()) tb.erster();
            }
        });
        r->lesen();
    }
    liest_ = false;
    if (x.widget->objectName() == QStringLiteral("ZU_LISTE")) liste_gewaehlt(t == tliste2 ? 1 : t == tunter_liste ? 2 : 0);
    einheiten_zeigen();
    // Names for the target-site calculator.
    for (const char* name : {"basis_wetter", "ziel_wetter", "basis_heizung", "ziel_heizung"}) {
        QComboBox* box = auswahlen_.count(name) ? auswahlen_[name] : nullptr;
        if (!box || s != seite_von_[teh_m]) continue;
        const QString text = box->currentText();
        box->clear();
        const int quelle = std::string(name).find("wetter") != std::string::npos ? tir_ta_m : teh_m;
        am_ereignisrand([&] {
            for (const auto& n : katalognamen(quelle)) box->addItem(QString::fromStdString(n));
        });
        box->setEditText(text);
    }
    beschriften();
}

void TDatenblatt::zeige_modal(int t) {
    oeffnen(t);
    exec();
}

blatt_raster* TDatenblatt::raster(int t) const {
    const auto it = raster_.find(t);
    return it == raster_.end() ? nullptr : it->second;
}

QPushButton* TDatenblatt::knopf(const char* name) const {
    const auto it = knoepfe_.find(name);
    return it == knoepfe_.end() ? nullptr : it->second;
}

QLineEdit* TDatenblatt::feld(const char* name) const {
    const auto it = felder_.find(name);
    return it == felder_.end() ? nullptr : it->second;
}

QComboBox* TDatenblatt::auswahl(const char* name) const {
    const int s = seiten_->currentIndex();
    if (s >= 0 && s < static_cast<int>(seitenliste_.size())) {
        const seite& x = seitenliste_[static_cast<std::size_t>(s)];
        if (std::string(name) == "einheitenspalte") return x.einheitenspalte;
        if (std::string(name) == "einheit") return x.einheit;
    }
    const auto it = auswahlen_.find(name);
    return it == auswahlen_.end() ? nullptr : it->second;
}

auswahlgruppe* TDatenblatt::gruppe(const char* name) const {
    const auto it = gruppen_.find(name);
    return it == gruppen_.end() ? nullptr : it->second;
}

void TDatenblatt::beschriften() {
    setWindowTitle(q(c::titel));
    for (std::size_t i = 0; i < seitenliste_.size(); ++i) seiten_->setTabText(static_cast<int>(i), q(seitenliste_[i].titel));
    kopieren_->setText(q(c::kopieren));
    suchen_->setText(q(c::suchen));
    drucken_->setText(q(c::drucken));
    schliessen_->setText(q(c::schliessen));
    for (auto& [g, t] : gruppentitel_) g->setTitle(q(t));
    for (auto& [l, t] : labels_) l->setText(q(t));
    for (auto& [k, t] : knopftitel_) k->setText(q(t));
    for (auto& [name, g] : gruppen_) g->beschriften();
    for (auto& [t, r] : raster_) r->beschriften();
    beschreibung_zeigen();
}

void TDatenblatt::changeEvent(QEvent* e) {
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) beschriften();
    QDialog::changeEvent(e);
}

void TDatenblatt::beschreibung_zeigen() {
    if (tabelle_ < 0) return;
    const seite& x = seitenliste_[static_cast<std::size_t>(seite_von_[tabelle_])];
    // The description of the table in the memo table, row of the language.
    QString text;
    am_ereignisrand([&] {
        ::tabelle& m = tab(tmemodb);
        if (!m.ist_offen()) return;
        const zeilenliste z = lies_zeilen(tmemodb);
        const int s_sprache = z.spalte("sprache"), s_text = z.spalte(tabellenschluessel(tabelle_));
        if (s_sprache < 0 || s_text < 0) return;
        const char* gesucht = sprache() == SPRACHE_ENGLISCH ? "English" : "Deutsch";
        for (const auto& r : z.zeilen)
            if (r[static_cast<std::size_t>(s_sprache)] == gesucht)
                text = QString::fromStdString(r[static_cast<std::size_t>(s_text)]);
    });
    const QString kopf = QString::fromStdString(tabellentext_von(tabelle_).bezeichnung.text());
    x.beschreibung->setText(text.isEmpty() || text == kopf ? QStringLiteral("<b>%1</b>").arg(kopf.toHtmlEscaped())
                                                           : QStringLiteral("<b>%1</b> – %2")
                                                                 .arg(kopf.toHtmlEscaped(), text.toHtmlEscaped()));
}

void TDatenblatt::zeile_gewechselt(blatt_raster* r) {
    for (const auto& b : bindungen_)
        if (b.raster == r) b.gruppe->setze_code(r->wert(b.spalte).toStdString());
    // "Berechne Summe" only with absolute month values.
    for (int t : {tee, tew_m, teh_m}) {
        if (raster_[t] != r) continue;
        const std::string k = tabellenschluessel(t);
        if (QPushButton* b = knopf(("BerechneSumme_" + k).c_str()))
            b->setEnabled(r->wert(t == tee ? "Rel" : "rel") == QStringLiteral("A"));
    }
    if (r->tabelle() == tliste || r->tabelle() == tliste2 || r->tabelle() == tunter_liste) {
        if (QLineEdit* f = feld("listenname"); f && r->tabelle() == liste_ziel_ && r->zeile() >= 0)
            f->setText(r->modell()->wert(r->zeile(), tabellenschema(r->tabelle()).schluessel.front()));
    }
    if (r->tabelle() == tspei) {
        if (QLineEdit* f = feld("volumen")) f->setText(r->wert("spmax"));
    }
    if (r == eigenes_raster() && !liest_) einheiten_zeigen();
}

void TDatenblatt::einheiten_zeigen() {
    if (tabelle_ < 0) return;
    seite& x = seitenliste_[static_cast<std::size_t>(seite_von_[tabelle_])];
    blatt_raster* r = eigenes_raster();
    if (!r || !x.einheiten) return;
    liest_ = true;
    const QVariant spalte = x.einheitenspalte->currentData();
    x.einheitenspalte->clear();
    for (const auto& s : r->modell()->zeilen().spalten)
        if (ist_einheitenspalte(s)) {
            x.einheitenspalte->addItem(QString::fromStdString(spaltentitel(tabelle_, s)), QString::fromStdString(s));
            x.einheitenspalte->setItemData(x.einheitenspalte->count() - 1, QString::fromStdString(s), Qt::ToolTipRole);
        }
    const int i = spalte.isValid() ? x.einheitenspalte->findData(spalte) : 0;
    x.einheitenspalte->setCurrentIndex(i >= 0 ? i : 0);
    x.einheit->clear();
    const std::string aktuell = r->wert(x.einheitenspalte->currentData().toString().toStdString()).toStdString();
    auto neue_einheit = [&](const std::string& e) {
        x.einheit->addItem(QString::fromStdString(einheit_anzeige(e)), QString::fromStdString(e));
    };
    am_ereignisrand([&] {
        const std::string kennzeichen = aktuell.empty() ? std::string() : kennzeichen_von_einheit(aktuell);
        if (!kennzeichen.empty())
            for (const auto& e : fuelle_einheiten_box(kennzeichen)) neue_einheit(e);
    });
    if (x.einheit->findData(QString::fromStdString(aktuell)) < 0 && !aktuell.empty()) neue_einheit(aktuell);
    x.einheit->setCurrentIndex(x.einheit->findData(QString::fromStdString(aktuell)));
    liest_ = false;
}

bool TDatenblatt::positioniert(int t) {
    blatt_raster* r = raster(t);
    if (r && r->positionieren()) return true;
    meldung(tgtext(tg::eintrag_markieren), "M", 'W');
    return false;
}

void TDatenblatt::nach_aenderung(int t) {
    if (blatt_raster* r = raster(t)) r->lesen();
}

// --- the form's actions -------------------------------------------------------

void TDatenblatt::kopieren() {
    if (!positioniert(tabelle_)) return;
    // The copy is written at once under the marked name, with the rows that
    // belong to it (the detail rows of a weather record); the user renames it
    // in the grid, which carries those rows along.
    kopiere_datensatz_mit_bezuegen(tabelle_);
    tab(tabelle_).aktualisiere();
    nach_aenderung(tabelle_);
}

void TDatenblatt::suchen() {
    if (!programm()) return;
    programm()->datensatz_suchen().zeige_modal(tabelle_);
    nach_aenderung(tabelle_);
}

void TDatenblatt::drucken() {
    blatt_raster* r = eigenes_raster();
    if (!r || !programm()) return;
    std::vector<std::string> titel;
    for (int i = 0; i < r->modell()->columnCount(); ++i)
        titel.push_back(r->modell()->headerData(i, Qt::Horizontal).toString().toStdString());
    std::vector<druckzeile> zeilen;
    am_ereignisrand([&] { zeilen = tabellen_druckzeilen(tabelle_, titel); });
    QPrinter* d = waehle_drucker(this, QString::fromStdString(tabellenschluessel(tabelle_)));
    if (!d) return;
    drucke_zeilen(*d, programm()->hauptmenue().druckerschrift(), zeilen);
    r->lesen();
}

// --- calculators ----------------------------------------------------------------

void TDatenblatt::berechne_summe() {
    if (!positioniert(tabelle_)) return;
    ::berechne_summe(tabelle_);
    nach_aenderung(tabelle_);
}

void TDatenblatt::monatswerte_gewaehlt(int t, int /*index*/) {
    const std::string k = tabellenschluessel(t) + "." + (t == tee ? "Rel" : "rel");
    auswahlgruppe* g = gruppe(k.c_str());
    const bool relativ = g && g->code() == "R";
    if (positioniert(t)) ::wechsle_monatswerte(t, relativ);
    nach_aenderung(t);
}

void TDatenblatt::heizenergie_ziel() {
    auto text = [this](const char* n) { return auswahlen_[n]->currentText().trimmed().toStdString(); };
    const std::string bw = text("basis_wetter"), zw = text("ziel_wetter"), bh = text("basis_heizung"),
                      zh = text("ziel_heizung");
    ::heizenergie_ziel(bw, zw, bh, zh);
    tab(teh_m).aktualisiere();
    // The grid stands on the target record, which was written.
    if (blatt_raster* r = raster(teh_m)) {
        r->lesen();
        r->waehle(zh);
    }
}

void TDatenblatt::h_aus_breite() {
    if (!positioniert(tir_ta_m)) return;
    berechne_h_aus_breite();
    nach_aenderung(tir_ta_m);
}

void TDatenblatt::ir_in_kwh() {
    if (!positioniert(tir_ta_m)) return;
    ::ir_in_kwh();
    tab(tir_ta_m).aktualisiere();
    nach_aenderung(tir_ta_m);
}

void TDatenblatt::wetter_details() { monat_details(tir_ta_m); }

void TDatenblatt::monat_details(int t) {
    if (!positioniert(t) || !programm()) return;
    const detailart art = t == tir_ta_m ? detailart::wetter : t == teh_m ? detailart::heizung : detailart::warmwasser;
    programm()->datenblatt_2().zeige_modal(art);
    tab(t).aktualisiere();
    nach_aenderung(t);
}

void TDatenblatt::detailtabelle_einlesen() {
    if (!positioniert(tir_ta_m) || !programm()) return;
    programm()->detailtabelle_einlesen().zeige_modal();
    tab(tir_ta_m).aktualisiere();
    nach_aenderung(tir_ta_m);
}

void TDatenblatt::gesamtenergie() {
    if (!positioniert(teh_m) || !programm()) return;
    if (gesamtenergie_knopf()) programm()->gesamtenergie().zeige_modal();
    tab(teh_m).aktualisiere();
    nach_aenderung(teh_m);
}

void TDatenblatt::zweipunkt_berechnen() {
    std::array<double, 6> w{};
    const char* namen[6] = {"eta1", "ttief1", "thoch1", "eta2", "ttief2", "thoch2"};
    for (int i = 0; i < 6; ++i) {
        const auto x = zahl_aus(felder_[namen[i]]);
        if (!x) return;
        w[static_cast<std::size_t>(i)] = *x;
    }
    const auto k = zweipunkt_koeffizienten(w[0], w[1], w[2], w[3], w[4], w[5]);
    if (!k) return;
    felder_["beta_l"]->setText(zahltext(k->beta_l));
    felder_["alpha_l"]->setText(zahltext(k->alpha_l));
    felder_["beta_h"]->setText(zahltext(k->beta_h));
    felder_["alpha_h"]->setText(zahltext(k->alpha_h));
}

void TDatenblatt::zweipunkt_uebertragen() {
    zweipunkt_ergebnis k;
    double* ziele[4] = {&k.beta_l, &k.alpha_l, &k.beta_h, &k.alpha_h};
    const char* namen[4] = {"beta_l", "alpha_l", "beta_h", "alpha_h"};
    for (int i = 0; i < 4; ++i) {
        const auto x = zahl_aus(felder_[namen[i]]);
        if (!x) return;
        *ziele[i] = *x;
    }
    if (!positioniert(twp)) return;
    uebertrage_zweipunkt(k);
    nach_aenderung(twp);
}

namespace {
// The seven measured points of the fields.
std::optional<std::array<wp_messpunkt, 7>> messpunkte(std::map<std::string, QLineEdit*>& felder) {
    std::array<wp_messpunkt, 7> p{};
    for (int i = 0; i < 7; ++i) {
        const std::string n = std::to_string(i + 1);
        const auto eta = zahl_aus(felder["s_eta" + n]);
        if (!eta) return std::nullopt;
        const auto tt = zahl_aus(felder["s_ttief" + n]);
        if (!tt) return std::nullopt;
        const auto th = zahl_aus(felder["s_thoch" + n]);
        if (!th) return std::nullopt;
        p[static_cast<std::size_t>(i)] = {*eta, *tt, *th};
    }
    return p;
}
}  // namespace

void TDatenblatt::sieben_berechnen() {
    const auto p = messpunkte(felder_);
    if (!p) return;
    const auto ex = zahl_aus(felder_["s_exponent"]);
    if (!ex) return;
    const auto k = sieben_parameter_fit(*p, *ex);
    if (!k) return;
    for (int i = 0; i < 7; ++i)
        felder_["koef" + std::to_string(i + 1)]->setText(zahltext((*k)[static_cast<std::size_t>(i)]));
}

void TDatenblatt::sieben_probe() {
    const auto p = messpunkte(felder_);
    if (!p) return;
    const auto ex = zahl_aus(felder_["s_exponent"]);
    if (!ex) return;
    sieben_koeffizienten k{};
    for (int i = 0; i < 7; ++i) {
        const auto x = zahl_aus(felder_["koef" + std::to_string(i + 1)]);
        if (!x) return;
        k[static_cast<std::size_t>(i)] = *x;
    }
    const auto w = probe(k, *ex, *p);
    for (int i = 0; i < 7; ++i)
        felder_["probe" + std::to_string(i + 1)]->setText(zahltext(w[static_cast<std::size_t>(i)]));
}

void TDatenblatt::sieben_probe_db() {
    const auto p = messpunkte(felder_);
    if (!p || !positioniert(twp)) return;
    double ex = 0.0;
    const sieben_koeffizienten k = koeffizienten_der_zeile(ex);
    const auto w = probe(k, ex, *p);
    for (int i = 0; i < 7; ++i)
        felder_["probe" + std::to_string(i + 1)]->setText(zahltext(w[static_cast<std::size_t>(i)]));
}

void TDatenblatt::sieben_uebertragen() {
    sieben_koeffizienten k{};
    for (int i = 0; i < 7; ++i) {
        const auto x = zahl_aus(felder_["koef" + std::to_string(i + 1)]);
        if (!x) return;
        k[static_cast<std::size_t>(i)] = *x;
    }
    const auto ex = zahl_aus(felder_["s_exponent"]);
    if (!ex || !positioniert(twp)) return;
    uebertrage_sieben(k, *ex);
    nach_aenderung(twp);
}

void TDatenblatt::steuer_pruefen() {
    if (!positioniert(tsteuer)) return;
    pruefe_speichersteuerung();
    nach_aenderung(tsteuer);
}

void TDatenblatt::gwt_berechnen() {
    if (!positioniert(tgwt)) return;
    berechne_austauschflaeche();
    nach_aenderung(tgwt);
}

void TDatenblatt::gwt_titel() {
    blatt_raster* r = raster(tgwt);
    if (!r) return;
    r->beschriften();
    // A plate exchanger and a reservoir have no tubes: their tube columns are
    // marked as not used; the heat-transfer value is the plate's or the
    // reservoir's own.
    const QString typ = r->wert("typ");
    if (typ != QStringLiteral("PW") && typ != QStringLiteral("RE")) return;
    QStringList titel;
    for (int i = 0; i < r->modell()->columnCount(); ++i) {
        QString t = r->modell()->headerData(i, Qt::Horizontal).toString();
        const std::string s = r->modell()->spaltenname(i);
        if (s.rfind("durchmesser", 0) == 0 || s == "anzahl") t += q(c::nicht_benutzt);
        titel << t;
    }
    r->modell()->setze_titel(titel);
}

void TDatenblatt::spei_berechnen() {
    const auto v = zahl_aus(felder_["verlust_gesamt"]);
    if (!v) return;
    const auto vol = zahl_aus(felder_["volumen"]);
    if (!vol) return;
    const auto f = verlust_pro_flaeche(*v, *vol);
    felder_["verlust_flaeche"]->setText(f ? zahltext(*f) : QString());
}

void TDatenblatt::spei_uebernehmen() {
    const QString wert = felder_["verlust_flaeche"]->text().trimmed();
    if (wert.isEmpty() || !raster(tspei)) return;
    raster(tspei)->aendern({{"verluste", wert.toStdString()}, {"einverluste", "W/(K*m2)"}});
}

void TDatenblatt::liste_gewaehlt(int index) {
    // Target and source grid of the list chosen.
    index = std::clamp(index, 0, 2);
    const int ziele[3] = {tliste, tliste2, tunter_liste};
    blatt_raster* quellen[3] = {quellraster_[tzu], raster_[tliste], quellraster_[tunter]};
    liste_ziel_ = ziele[index];
    if (auswahlgruppe* g = gruppe("ListeZiel")) g->setze_code(index == 0 ? "L" : index == 1 ? "H" : "U");
    const seite& x = seitenliste_[static_cast<std::size_t>(seite_von_[tliste])];
    for (blatt_raster* r : x.raster) r->setVisible(r == raster_[liste_ziel_] || r == quellen[index]);
    // The source grid stands left of the target.
    auto* reihe = static_cast<QHBoxLayout*>(quellen[index]->parentWidget()->layout());
    reihe->removeWidget(quellen[index]);
    reihe->insertWidget(0, quellen[index], 1);
    zeile_gewechselt(raster_[liste_ziel_]);
}

void TDatenblatt::liste_kopieren() {
    const int ziel = liste_ziel_;
    blatt_raster* q_raster = ziel == tliste ? quellraster_[tzu] : ziel == tliste2 ? raster_[tliste] : quellraster_[tunter];
    const std::string name = felder_["listenname"]->text().trimmed().toStdString();
    if (name.empty() || !q_raster || q_raster->zeile() < 0) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return;
    }
    std::vector<std::string> schluessel = {name};
    if (ziel == tliste) {
        schluessel.push_back(q_raster->wert("name").toStdString());
        schluessel.push_back(q_raster->wert("artikelnummer").toStdString());
    } else {
        schluessel.push_back(q_raster->wert("name").toStdString());
    }
    fuege_listeneintrag_hinzu(ziel, schluessel);
    nach_aenderung(ziel);
}
