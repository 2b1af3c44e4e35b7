#include "station/ui/TWetterstation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

#include "app/programmstart.h"
#include "app/steuerlauf.h"
#include "engine/WP_variables.h"
#include "lang/sprache.h"
#include "lang/stationstexte.h"
#include "station/kontrolldatei.h"
#include "station/wetterstation.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

namespace c {
constexpr text_paar titel{"Wetterstation", "Weather station"};
constexpr text_paar sensortest{"Sensortest", "Sensor test"};
constexpr text_paar sensor{"Sensor", "Sensor"};
constexpr text_paar anzahl{"Anzahl", "Count"};
constexpr text_paar adc8{"x = 8 bit ADC - Wandler", "x = 8 bit ADC converter"};
constexpr text_paar adc10{"x = 10 bit ADC - Wandler", "x = 10 bit ADC converter"};
constexpr text_paar start{"Start", "Start"};
constexpr text_paar ergebnis{"Ergebnis", "Result"};
constexpr text_paar mittelwert{"Mittelwert", "Mean"};
constexpr text_paar streuung{"Streuung", "Spread"};
constexpr text_paar messwert{"Messwert", "Reading"};
constexpr text_paar messwert_streuung{"Streuung Messwert", "Spread of reading"};
constexpr text_paar strahlungsnormierung{"Strahlungsnormierung", "Irradiation normalisation"};
constexpr text_paar monat{"Monat", "Month"};
constexpr text_paar tag{"Tag", "Day"};
constexpr text_paar stunde{"Stunde", "Hour"};
constexpr text_paar minute{"Minute", "Minute"};
constexpr text_paar normierungskonstante{"Normierungskonstante", "Normalisation constant"};
constexpr text_paar berechnen{"Berechnen", "Compute"};
constexpr text_paar messwerte{"Messwerte", "Measurements"};
constexpr text_paar temperatur{"Temperatur", "Temperature"};
constexpr text_paar einstrahlung{"Einstrahlung", "Irradiation"};
constexpr text_paar messung_laeuft{"Messung läuft", "Measuring"};
constexpr text_paar naechste_rechnung{"Nächste Rechnung", "Next computation"};
constexpr text_paar deckungsgrad{"Deckungr. (%)", "Coverage (%)"};
constexpr text_paar abpumpdauer{"Dauer Abp. [s]", "Pump-out [s]"};
constexpr text_paar reservoirinhalt{"Zw.res.inh. [m³]", "Int. res. cont. [m³]"};
constexpr text_paar wp_aus{"WP aus", "HP off"};
constexpr text_paar nur_speicher{"Nur Speicher", "Store only"};
constexpr text_paar reservoir{"Reservoir (°C)", "Reservoir (°C)"};
constexpr text_paar intervall{"Intervall", "Interval"};
constexpr text_paar kollektorflaeche{"Kollektorfläche", "Collector area"};
constexpr text_paar vollmodus{"Vollmodus", "Full mode"};
constexpr text_paar testmodus{"Testmodus", "Test mode"};
constexpr text_paar umwaelzpumpe{"Umwälzpumpe", "Circulation pump"};
constexpr text_paar ventilator{"Ventilator", "Fan"};
constexpr text_paar zwischen_wp{"Zwischen-WP", "Intermediate HP"};
constexpr text_paar durchfluss{"Durchfluss", "Flow"};
constexpr text_paar alle_koll{"Alle Koll. (l/h)", "All coll. (l/h)"};
constexpr text_paar luft{"Luft  (m3/h)", "Air  (m3/h)"};
constexpr text_paar strom_ma{"I (mA)", "I (mA)"};
constexpr text_paar spannung_v{"U (V)", "U (V)"};
constexpr text_paar steuergroessen{"Steuergrößen", "Control values"};
constexpr text_paar dac{"DAC", "DAC"};
constexpr text_paar usb{"USB-Seriell-Adapter", "USB to serial"};
constexpr text_paar bausatz{"Bausatz-Breakout", "Breakout kit"};
constexpr text_paar com_anschluesse{"Com-Anschlüsse", "Com ports"};
constexpr text_paar wetterstation{"Wetterstation", "Weather station"};
constexpr text_paar sensoren{"Sensoren", "Sensors"};
constexpr text_paar steuer_simulation{"Steuer-Simulation", "Control simulation"};
constexpr text_paar uebernehmen{"Übernehmen", "Apply"};
constexpr text_paar quellen_null{"I-V-Quellen 0", "I-V sources 0"};
constexpr text_paar ssq_typ1{"SSQ Typ 1", "CVS type 1"};
constexpr text_paar ausgabespannung{"Ausgabespannung [V]", "Output voltage [V]"};
constexpr text_paar maximalspannung{"Maximalspannung  [V]", "Maximum voltage  [V]"};
constexpr text_paar ausgabestrom{"Ausgabestrom [mA]", "Output current [mA]"};
constexpr text_paar maximalstrom{"Maximalstrom  [mA]", "Maximum current  [mA]"};
constexpr text_paar ausgeben{"Ausgeben", "Output"};
constexpr text_paar platte{"Wärmeabgabe Platte", "Heat output of a plate"};
constexpr text_paar flaeche{"Fläche (m²)", "Area (m²)"};
constexpr text_paar t_konvektor{"T Konvektor", "T convector"};
constexpr text_paar laenge_zu_breite{"Länge zu Breite", "Length to width"};
constexpr text_paar t_luft{"T Luft", "T air"};
constexpr text_paar konvektion_w{"Konvektion (W)", "Convection (W)"};
constexpr text_paar strahlung_w{"Strahlung (W)", "Radiation (W)"};
constexpr text_paar ja{"ja", "yes"};
constexpr text_paar nein{"nein", "no"};
}  // namespace c

// The switch fields "WP aus" and "nur Speicher" hold J or N.
bool ist_schalterfeld(const std::string& name) { return name == "Edit51" || name == "Edit53"; }

// A field's text as the window shows it: J/N as yes/no in the chosen
// language, a decimal number with the language's decimal separator.
QString anzeigetext(const std::string& name, const std::string& text) {
    if (ist_schalterfeld(name)) {
        if (text == "J") return QString::fromStdString(c::ja.text());
        if (text == "N") return QString::fromStdString(c::nein.text());
    }
    QString t = QString::fromStdString(text);
    bool zahl = false;
    t.toDouble(&zahl);
    if (zahl && t.contains(QLatin1Char('.'))) t.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return t;
}

// The station's text of what a field shows (the inverse of anzeigetext).
std::string feldtext_von(const std::string& name, const QString& angezeigt) {
    if (ist_schalterfeld(name)) {
        for (const text_paar* p : {&c::ja, &c::nein})
            if (angezeigt == QString::fromUtf8(p->deutsch) || angezeigt == QString::fromUtf8(p->englisch))
                return p == &c::ja ? "J" : "N";
    }
    bool zahl = false;
    const double x = QLocale().toDouble(angezeigt, &zahl);
    (void)x;
    QString t = angezeigt;
    if (zahl && QLocale().decimalPoint() != QStringLiteral(".")) {
        t.remove(QLocale().groupSeparator());
        t.replace(QLocale().decimalPoint(), QStringLiteral("."));
    }
    return t.toStdString();
}

constexpr text_paar SENSOREN[ANZ_SENSOREN] = {
    {"WS-Sonneneinstrahlung", "WS irradiation"},
    {"WS-Schneesensor", "WS snow sensor"},
    {"WS-Feuchte", "WS humidity"},
    {"WS-Temperatur AD22100", "WS temperature AD22100"},
    {"WS-Freier Sensor 1 (Temp)", "WS free sensor 1 (temp)"},
    {"WS-Freier Sensor 2 (Temp)", "WS free sensor 2 (temp)"},
    {"WS-Freier Sensor 3 (Temp)", "WS free sensor 3 (temp)"},
    {"WS-Freier Sensor 4 (Temp)", "WS free sensor 4 (temp)"},
    {"AS-Temperatur LM235Z 1", "AS temperature LM235Z 1"},
    {"AS-Temperatur LM235Z 2", "AS temperature LM235Z 2"},
};

const char* const DAC_TYPEN[3] = {"AD7303", "AD7304", "MCP4802"};

// Which caption belongs to which field.
struct feldtext {
    const char* feld;
    const text_paar* text;
};
const feldtext FELDTEXTE[] = {
    {"Edit1", &c::anzahl},          {"Edit2", &c::mittelwert},        {"Edit3", &c::streuung},
    {"Edit15", &c::messwert},       {"Edit16", &c::messwert_streuung}, {"Edit4", &c::monat},
    {"Edit5", &c::tag},             {"Edit6", &c::stunde},            {"Edit11", &c::minute},
    {"Edit7", &c::normierungskonstante}, {"Edit8", &c::temperatur},   {"Edit9", &c::einstrahlung},
    {"Edit27", &c::naechste_rechnung}, {"Edit34", &c::deckungsgrad},  {"Edit40", &c::abpumpdauer},
    {"Edit41", &c::reservoirinhalt}, {"Edit51", &c::wp_aus},          {"Edit53", &c::nur_speicher},
    {"Edit33", &c::reservoir},      {"Edit35", &c::monat},            {"Edit36", &c::intervall},
    {"Edit42", &c::kollektorflaeche}, {"Edit30", &c::strom_ma},       {"Edit31", &c::spannung_v},
    {"Edit45", &c::strom_ma},       {"Edit46", &c::spannung_v},       {"Edit49", &c::strom_ma},
    {"Edit50", &c::spannung_v},     {"Edit32", &c::alle_koll},        {"Edit52", &c::luft},
    {"Edit37", &c::wetterstation},  {"Edit38", &c::umwaelzpumpe},     {"Edit47", &c::ventilator},
    {"Edit48", &c::sensoren},       {"Edit17", &c::ausgabespannung},  {"Edit18", &c::maximalspannung},
    {"Edit20", &c::ausgabestrom},   {"Edit19", &c::maximalstrom},     {"Edit44", &c::ausgabespannung},
    {"Edit43", &c::maximalspannung}, {"Edit21", &c::flaeche},         {"Edit22", &c::t_konvektor},
    {"Edit24", &c::laenge_zu_breite}, {"Edit25", &c::t_luft},         {"Edit23", &c::konvektion_w},
    {"Edit26", &c::strahlung_w},
};

const feldtext GRUPPENTEXTE[] = {
    {"Sensortest", &c::sensortest},     {"Ergebnis", &c::ergebnis},
    {"Strahlungsnormierung", &c::strahlungsnormierung}, {"Messwerte", &c::messwerte},
    {"Start", &c::start},               {"Umwaelzpumpe", &c::umwaelzpumpe},
    {"Ventilator", &c::ventilator},     {"ZwischenWP", &c::zwischen_wp},
    {"Durchfluss", &c::durchfluss},     {"Steuergroessen", &c::steuergroessen},
    {"DAC", &c::dac},                   {"USB", &c::usb},
    {"Com", &c::com_anschluesse},       {"SSQ", &c::ssq_typ1},
    {"Ventilatorausgabe", &c::ventilator}, {"Platte", &c::platte},
};

const feldtext KNOPFTEXTE[] = {
    {"Button1", &c::start},      {"Button2", &c::berechnen},     {"Button3", &c::ausgeben},
    {"Button4", &c::berechnen},  {"Button5", &c::vollmodus},     {"Button6", &c::uebernehmen},
    {"Button7", &c::quellen_null}, {"Button8", &c::testmodus},   {"Button10", &c::ausgeben},
};

}  // namespace

QLineEdit* TWetterstation::neues_feld(const std::string& name, bool nur_lesen) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromStdString(name));
    e->setReadOnly(nur_lesen);
    e->setMinimumWidth(70);
    felder_[name] = e;
    auto* l = new QLabel(this);
    l->setBuddy(e);
    beschriftungen_[name] = l;
    return e;
}

TWetterstation::TWetterstation(wetterstation& station, anlage& a, QWidget* eltern)
    : QDialog(eltern), station_(station), a_(a) {
    setObjectName(QStringLiteral("TWetterstation"));

    auto gruppe = [this](const std::string& name) {
        auto* g = new QGroupBox(this);
        g->setObjectName(QString::fromStdString(name));
        gruppen_[name] = g;
        return g;
    };
    auto knopf = [this](const std::string& name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromStdString(name));
        knoepfe_[name] = b;
        return b;
    };
    // Rows of label and field into a grid, `spalten` pairs a row.
    auto raster = [this](QGroupBox* g, std::initializer_list<std::pair<const char*, bool>> liste, int spalten) {
        auto* r = new QGridLayout(g);
        int k = 0;
        for (const auto& [name, nur_lesen] : liste) {
            QLineEdit* e = felder_.count(name) ? felder_[name] : neues_feld(name, nur_lesen);
            r->addWidget(beschriftungen_[name], k / spalten, 2 * (k % spalten));
            r->addWidget(e, k / spalten, 2 * (k % spalten) + 1);
            ++k;
        }
        return r;
    };

    // --- "Sensortest" ---
    QGroupBox* test = gruppe("Sensortest");
    auto* testraster = new QGridLayout(test);
    sensor_ = new QComboBox(this);
    sensor_->setObjectName(QStringLiteral("ComboBox1"));
    for (int k = 0; k < ANZ_SENSOREN; ++k) sensor_->addItem(QString());
    auto* sensortext = new QLabel(this);
    beschriftungen_["ComboBox1"] = sensortext;
    testraster->addWidget(sensortext, 0, 0);
    testraster->addWidget(sensor_, 0, 1, 1, 3);
    QLineEdit* anzahl = neues_feld("Edit1", false);
    testraster->addWidget(beschriftungen_["Edit1"], 1, 0);
    testraster->addWidget(anzahl, 1, 1);
    adc8_ = new QCheckBox(this);
    adc8_->setObjectName(QStringLiteral("CheckBox2"));
    adc10_ = new QCheckBox(this);
    adc10_->setObjectName(QStringLiteral("CheckBox3"));
    testraster->addWidget(adc8_, 2, 0, 1, 2);
    testraster->addWidget(adc10_, 2, 2, 1, 2);
    testraster->addWidget(knopf("Button1"), 1, 3);
    QGroupBox* erg = gruppe("Ergebnis");
    raster(erg, {{"Edit2", true}, {"Edit3", true}, {"Edit15", true}, {"Edit16", true}}, 2);
    testraster->addWidget(erg, 3, 0, 1, 4);

    // --- "Strahlungsnormierung" ---
    QGroupBox* norm = gruppe("Strahlungsnormierung");
    QGridLayout* normraster =
        raster(norm, {{"Edit4", false}, {"Edit5", false}, {"Edit6", false}, {"Edit11", false}, {"Edit7", true}}, 2);
    normraster->addWidget(knopf("Button2"), 2, 2, 1, 2);

    // --- "Messwerte" ---
    QGroupBox* mess = gruppe("Messwerte");
    auto* messspalte = new QGridLayout(mess);
    auto* oben = new QGridLayout;
    int zeile = 0;
    for (const auto& [wert, streu] : {std::pair{"Edit8", "Edit12"}, std::pair{"Edit9", "Edit13"}}) {
        neues_feld(wert, true);
        neues_feld(streu, true);
        oben->addWidget(beschriftungen_[wert], zeile, 0);
        oben->addWidget(felder_[wert], zeile, 1);
        oben->addWidget(new QLabel(QStringLiteral("±"), this), zeile, 2);
        oben->addWidget(felder_[streu], zeile, 3);
        ++zeile;
    }
    neues_feld("Edit27", true);
    neues_feld("Edit28", true);
    neues_feld("Edit29", true);
    oben->addWidget(beschriftungen_["Edit27"], zeile, 0);
    auto* zeitzeile = new QHBoxLayout;
    for (const char* f : {"Edit27", "Edit28", "Edit29"}) {
        felder_[f]->setMinimumWidth(40);
        zeitzeile->addWidget(felder_[f]);
    }
    oben->addLayout(zeitzeile, zeile, 1, 1, 3);
    ++zeile;
    int k = 0;
    for (const char* f : {"Edit34", "Edit40", "Edit41", "Edit33", "Edit51", "Edit53"}) {
        neues_feld(f, true);
        oben->addWidget(beschriftungen_[f], zeile + k / 2, 2 * (k % 2));
        oben->addWidget(felder_[f], zeile + k / 2, 2 * (k % 2) + 1);
        ++k;
    }
    messung_ = new QLabel(this);
    messung_->setObjectName(QStringLiteral("Label14"));
    messung_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    oben->addWidget(messung_, zeile + 3, 0, 1, 4);
    messspalte->addLayout(oben, 0, 0, 1, 2);
    QGroupBox* start = gruppe("Start");
    QGridLayout* startraster = raster(start, {{"Edit35", false}, {"Edit36", false}, {"Edit42", false}}, 1);
    auto* startknoepfe = new QHBoxLayout;
    startknoepfe->addWidget(knopf("Button5"));
    startknoepfe->addWidget(knopf("Button8"));
    startraster->addLayout(startknoepfe, 3, 0, 1, 2);
    messspalte->addWidget(start, 1, 0, 2, 1);
    QGroupBox* pumpe = gruppe("Umwaelzpumpe");
    raster(pumpe, {{"Edit30", true}, {"Edit31", true}}, 2);
    messspalte->addWidget(pumpe, 1, 1);
    QGroupBox* vent = gruppe("Ventilator");
    raster(vent, {{"Edit45", true}, {"Edit46", true}}, 2);
    messspalte->addWidget(vent, 2, 1);
    QGroupBox* zwp = gruppe("ZwischenWP");
    raster(zwp, {{"Edit49", true}, {"Edit50", true}}, 2);
    messspalte->addWidget(zwp, 3, 1);
    QGroupBox* fluss = gruppe("Durchfluss");
    raster(fluss, {{"Edit32", true}, {"Edit52", true}}, 1);
    messspalte->addWidget(fluss, 3, 0);

    // --- "Steuergrößen" ---
    QGroupBox* steuer = gruppe("Steuergroessen");
    auto* steuerraster = new QGridLayout(steuer);
    QGroupBox* dacgruppe = gruppe("DAC");
    auto* dacspalte = new QVBoxLayout(dacgruppe);
    dac_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(DAC_TYPEN[i]), this);
        r->setObjectName(QStringLiteral("RadioGroupDAC_%1").arg(i));
        dac_->addButton(r, i);
        dacspalte->addWidget(r);
    }
    dac_->button(0)->setChecked(true);
    QGroupBox* usbgruppe = gruppe("USB");
    auto* usbspalte = new QVBoxLayout(usbgruppe);
    usb_ = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(this);
        r->setObjectName(QStringLiteral("RadioGroupUSB_%1").arg(i));
        usb_->addButton(r, i);
        usbspalte->addWidget(r);
    }
    usb_->button(0)->setChecked(true);
    steuerraster->addWidget(dacgruppe, 0, 0);
    steuerraster->addWidget(usbgruppe, 1, 0);
    QGroupBox* com = gruppe("Com");
    QGridLayout* comraster = raster(com, {{"Edit37", false}, {"Edit38", false}, {"Edit47", false}, {"Edit48", false}}, 1);
    steuer_simulation_ = new QCheckBox(this);
    steuer_simulation_->setObjectName(QStringLiteral("CheckBox1"));
    comraster->addWidget(steuer_simulation_, 4, 0, 1, 2);
    comraster->addWidget(knopf("Button6"), 5, 0);
    comraster->addWidget(knopf("Button7"), 5, 1);
    steuerraster->addWidget(com, 0, 1, 2, 1);
    QGroupBox* ssq = gruppe("SSQ");
    QGridLayout* ssqraster = raster(ssq, {{"Edit17", false}, {"Edit18", true}, {"Edit20", false}, {"Edit19", true}}, 1);
    ssqraster->addWidget(knopf("Button3"), 4, 1);
    steuerraster->addWidget(ssq, 0, 2);
    QGroupBox* ventaus = gruppe("Ventilatorausgabe");
    QGridLayout* ventraster = raster(ventaus, {{"Edit44", false}, {"Edit43", true}}, 1);
    ventraster->addWidget(knopf("Button10"), 2, 1);
    steuerraster->addWidget(ventaus, 1, 2);

    // --- "Wärmeabgabe Platte" ---
    QGroupBox* platte = gruppe("Platte");
    QGridLayout* platteraster = raster(platte,
                                       {{"Edit21", false}, {"Edit22", false}, {"Edit24", false}, {"Edit25", false},
                                        {"Edit23", true}, {"Edit26", true}},
                                       2);
    platteraster->addWidget(knopf("Button4"), 3, 3);

    auto* haupt = new QGridLayout(this);
    haupt->addWidget(test, 0, 0);
    haupt->addWidget(norm, 1, 0);
    haupt->addWidget(platte, 2, 0);
    haupt->addWidget(mess, 0, 1, 3, 1);
    haupt->addWidget(steuer, 3, 0, 1, 2);

    connect(knoepfe_["Button1"], &QPushButton::clicked, this, &TWetterstation::sensortest);
    connect(knoepfe_["Button2"], &QPushButton::clicked, this, &TWetterstation::normieren);
    connect(knoepfe_["Button3"], &QPushButton::clicked, this, &TWetterstation::ssq_ausgeben);
    connect(knoepfe_["Button4"], &QPushButton::clicked, this, &TWetterstation::heizplatte);
    connect(knoepfe_["Button5"], &QPushButton::clicked, this, [this] { starte(true); });
    connect(knoepfe_["Button6"], &QPushButton::clicked, this, &TWetterstation::uebernehmen);
    connect(knoepfe_["Button7"], &QPushButton::clicked, this, &TWetterstation::quellen_null);
    connect(knoepfe_["Button8"], &QPushButton::clicked, this, [this] { starte(false); });
    connect(knoepfe_["Button10"], &QPushButton::clicked, this, &TWetterstation::ventilator_ausgeben);

    kontrolldatei_ = kontrolldatei_pfad(arbeitsverzeichnis());
    station_.zuruecksetzen(a_);
    beschriften();
    zeige_felder();
}

void TWetterstation::beschriften() {
    setWindowTitle(q(c::titel));
    for (const feldtext& f : FELDTEXTE) beschriftungen_[f.feld]->setText(q(*f.text));
    beschriftungen_["ComboBox1"]->setText(q(c::sensor));
    for (const feldtext& g : GRUPPENTEXTE) gruppen_[g.feld]->setTitle(q(*g.text));
    for (const feldtext& b : KNOPFTEXTE) knoepfe_[b.feld]->setText(q(*b.text));
    for (int k = 0; k < ANZ_SENSOREN; ++k) sensor_->setItemText(k, q(SENSOREN[k]));
    adc8_->setText(q(c::adc8));
    adc10_->setText(q(c::adc10));
    steuer_simulation_->setText(q(c::steuer_simulation));
    usb_->button(0)->setText(QStringLiteral("FT232RL"));
    usb_->button(1)->setText(q(c::bausatz));
    messung_->setText(q(c::messung_laeuft));
    // Fields that show "leer" follow the language.
    for (auto& [name, text] : station_.felder) {
        if (text == stationstexte::leer.deutsch || text == stationstexte::leer.englisch) text = stationstexte::leer.text();
    }
    zeige_felder();
}

QLineEdit* TWetterstation::feld(const std::string& name) const {
    const auto it = felder_.find(name);
    return it == felder_.end() ? nullptr : it->second;
}

void TWetterstation::zeige_felder() {
    for (auto& [name, e] : felder_) e->setText(anzeigetext(name, station_.feld(name)));
    messung_->setVisible(station_.messung_laeuft);
    steuer_simulation_->setChecked(station_.steuer_simulation);
    // The choices of the protocol's settings.
    const stationseinstellungen& s = station_.protokoll().einstellungen();
    adc8_->setChecked(s.adc_8bit);
    adc10_->setChecked(s.adc_10bit);
    for (int i = 0; i < 3; ++i)
        if (s.dac == DAC_TYPEN[i]) dac_->button(i)->setChecked(true);
    usb_->button(s.usb_adapter == USB_BAUSATZ_BREAKOUT ? 1 : 0)->setChecked(true);
}

void TWetterstation::felder_uebernehmen() {
    for (const auto& [name, e] : felder_) station_.felder[name] = feldtext_von(name, e->text());
    stationseinstellungen& s = station_.protokoll().einstellungen();
    s.adc_8bit = adc8_->isChecked();
    s.adc_10bit = adc10_->isChecked();
    s.dac = DAC_TYPEN[std::max(0, dac_->checkedId())];
    s.usb_adapter = usb_->checkedId() == 1 ? USB_BAUSATZ_BREAKOUT : USB_FT232RL;
    s.com_felder = {station_.feld("Edit37"), station_.feld("Edit38"), station_.feld("Edit47"), station_.feld("Edit48")};
    station_.steuer_simulation = steuer_simulation_->isChecked();
}

void TWetterstation::aktivieren() {
    station_.aktivieren(a_);
    zeige_felder();
}

void TWetterstation::zeige_zum_messen() {
    beschriften();
    gruppen_["Messwerte"]->setVisible(false);
    gruppen_["Sensortest"]->setVisible(true);
    gruppen_["Strahlungsnormierung"]->setVisible(true);
    adjustSize();
    station_.ausrichten();
    station_.protokoll().com_fuer_wetterstation(a_);
    station_.com_felder_zeigen();
    aktivieren();
    exec();
}

void TWetterstation::zeige_zum_steuern() {
    beschriften();
    gruppen_["Messwerte"]->setVisible(true);
    adjustSize();
    // The prepared start point and area stay; resetting the fields here
    // would start the run with area 0. The sources are the loaded plant's.
    station_.uhrzeit_felder();
    station_.quellenfelder(a_);
    zeige_felder();
    exec();
}

void TWetterstation::steuerlauf_beginnt() {
    for (const char* g : {"Messwerte", "Sensortest", "Strahlungsnormierung"}) gruppen_[g]->setVisible(true);
    knoepfe_["Button2"]->setEnabled(false);
    liveintervalle_ = 0;
}

void TWetterstation::steuerlauf_endet() {
    knoepfe_["Button2"]->setEnabled(true);
    zeige_felder();
}

void TWetterstation::zeige_kopie(const std::map<std::string, std::string>& felder, bool messung_laeuft,
                                 int liveintervalle) {
    for (const auto& [name, text] : felder) {
        if (QLineEdit* e = feld(name)) e->setText(anzeigetext(name, text));
    }
    messung_->setVisible(messung_laeuft);
    liveintervalle_ = liveintervalle;
}

bool TWetterstation::gruppe_sichtbar(const std::string& name) const {
    const auto it = gruppen_.find(name);
    return it != gruppen_.end() && it->second->isVisibleTo(this);
}

QPushButton* TWetterstation::knopf(const std::string& name) const {
    const auto it = knoepfe_.find(name);
    return it == knoepfe_.end() ? nullptr : it->second;
}

void TWetterstation::sensortest() {
    felder_uebernehmen();
    station_.sensortest(sensor_->currentIndex(), a_);
    zeige_felder();
}

void TWetterstation::normieren() {
    felder_uebernehmen();
    station_.uhrzeit_felder();
    const datum_uhrzeit t = station_.zeit().jetzt();
    const int monat = static_cast<int>(station_.zahl("Edit4"));
    const int tag = static_cast<int>(station_.zahl("Edit5"));
    const double G = klarhimmel_einstrahlung_sensor(t.jahr, monat, tag, t.stunde, t.minute, zustand::vdatt());
    station_.setze_normierungskonstante(G);
    zeige_felder();
}

void TWetterstation::ssq_ausgeben() {
    felder_uebernehmen();
    station_.ssq_ausgeben(a_);
    zeige_felder();
}

void TWetterstation::heizplatte() {
    felder_uebernehmen();
    const plattenleistung p =
        waermeabgabe_platte(station_.zahl("Edit21"), station_.zahl("Edit24"), station_.zahl("Edit22"),
                            station_.zahl("Edit25"), zustand::stoffdaten().stoffdaten_luft_record);
    station_.setze("Edit23", p.konvektion_w);
    station_.setze("Edit26", p.strahlung_w);
    zeige_felder();
}

void TWetterstation::uebernehmen() {
    felder_uebernehmen();
    station_.uebernehmen(a_);
    zeige_felder();
}

void TWetterstation::quellen_null() {
    felder_uebernehmen();
    station_.quellen_null(a_);
    zeige_felder();
}

void TWetterstation::ventilator_ausgeben() {
    felder_uebernehmen();
    station_.ventilator_ausgeben(a_);
    zeige_felder();
}

void TWetterstation::starte(bool vollmodus) {
    felder_uebernehmen();
    std::string messflag;
    if (!station_.steuerlauf_vorbereiten(vollmodus, steuer_simulation_->isChecked(), a_, zustand::date3(),
                                         kontrolldatei_, messflag)) {
        zeige_felder();
        return;
    }
    zeige_felder();
    emit steuerlauf_gewaehlt(QString::fromStdString(messflag));
}
