#include "costs/ui/TKalkulation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>

#include "app/datensatz_lauf.h"
#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "costs/kostendruck.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "data/ui/tabellen_modell.h"
#include "data/zahltext.h"
#include "input/datensatz_suchen.h"
#include "input/datensatzauswahl.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"
#include "lang/spaltentexte.h"
#include "lang/textglobale.h"
#include "results/ergebnis_csv.h"
#include "results/ergebnisgraphik.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/dateidialoge.h"
#include "results/ui/druckhilfe.h"
#include "results/ui/ergebnistabellen_modell.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(const std::string& s) { return QString::fromStdString(s); }

namespace c {
constexpr text_paar titel{"Kosten", "Costs"};
constexpr text_paar resultat_einlesen{"Resultat einlesen", "Read result"};
constexpr text_paar suchen{"Suchen", "Search"};
constexpr text_paar drucken{"Drucken", "Print"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar datenindex{"Datenindex", "Data index"};
constexpr text_paar anzahl{"Eingelesene Resultate: %1", "Results read: %1"};
constexpr text_paar parameter{"Kostenparameter", "Cost parameters"};
constexpr text_paar solarzellen_aus{"Solarzellen aus", "Solar cells off"};
constexpr text_paar solarzellen_ein{"Solarzellen ein", "Solar cells on"};
constexpr text_paar ohne_waerme{"Ohne Wärmebedarf", "Without heat demand"};
constexpr text_paar mit_waerme{"Mit Wärmebedarf", "With heat demand"};
constexpr text_paar hfn{"Heizanlage Fläche 0", "Heating plant area 0"};
constexpr text_paar flaeche{"Fläche", "Area"};
constexpr text_paar zellflaeche{"Zellfläche:", "Cell area:"};
constexpr text_paar kollektorflaeche{"Kollektorfläche (Zellfläche variieren):", "Collector area (vary cell area):"};
constexpr text_paar berechnen{"Berechnen", "Calculate"};
constexpr text_paar delta{"Berechne Delta", "Calculate delta"};
constexpr text_paar strom{"Strom ohne Heizung", "Electricity without heating"};
constexpr text_paar skalieren{"Verbrauch skalieren", "Scale consumption"};
constexpr text_paar diagramme{"Diagramme", "Charts"};
constexpr text_paar dialogtitel{"Ergebnisdatei einlesen", "Read result file"};
constexpr text_paar filter_dat{"Optimierungsdateien (*.dat)", "Optimisation files (*.dat)"};
constexpr text_paar filter_sim{"Simulationsdateien (*.sim)", "Simulation files (*.sim)"};
constexpr text_paar suchen_titel{"Ergebnisdatei suchen", "Search result file"};
constexpr text_paar suchen_text{"Name (* beliebig, leer: alle):", "Name (* any text, empty: all):"};
constexpr text_paar keine_zeile{"Bitte Ergebnisdatei im Katalog markieren", "Please mark a result file in the catalogue"};
constexpr text_paar kein_resultat{"Bitte zuerst ein Resultat einlesen", "Please read a result first"};
constexpr text_paar kosten_tabelle{"Kosten pro Jahr", "Costs per year"};
}  // namespace c

// The parameters with a value field, in the order of the window: prices,
// collectors and parts, heating plant and intermediate heat pump, loan,
// cells, subsidies, maintenance.
constexpr int FELDER[] = {
    kpar::preis_nh,        kpar::preis_ok,         kpar::preis_strom,     kpar::preis_kol_oben,
    kpar::preis_kol_unten, kpar::festkosten,       kpar::teile_thermisch, kpar::teile_pv,
    kpar::zusatz_heizung,  kpar::teile_pro_kollektor, kpar::teile_pro_zelle, kpar::preis_heizung,
    kpar::leistung_heizung, kpar::preis_pro_leistung_heizung, kpar::preis_zwp, kpar::leistung_zwp,
    kpar::preis_pro_leistung_zwp, kpar::zinssatz, kpar::laufzeit, kpar::zellpreis,
    kpar::verguetung,      kpar::zuschuss_zelle_flaeche, kpar::zuschuss_zelle, kpar::zuschuss_kol_flaeche,
    kpar::zuschuss_kol,    kpar::zuschuss_heizung, kpar::unterhalt_heizung, kpar::unterhalt_pv,
    kpar::unterhalt_thermisch, kpar::unterhalt_thermisch_flaeche, kpar::unterhalt_pv_flaeche};

const std::vector<std::string> KATALOGSPALTEN = {"name", "haupteingabefile", "land", "bezirk", "ort", "pfad",
                                                 "optimierung", "info"};

// A number as the language writes it (decimal comma in German), without
// group separators, so that reading it back gives the same value.
QString zahltext(double x) {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(x, 'g', 6);
}

// The interest rate is stored as a fraction and shown in per cent.
double anzeigewert(int k, double v) { return k == kpar::zinssatz ? v * 100.0 : v; }
double gespeicherter_wert(int k, double angezeigt) { return k == kpar::zinssatz ? angezeigt / 100.0 : angezeigt; }

}  // namespace

TKalkulation::TKalkulation(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TKalkulation"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* spalte = new QVBoxLayout(this);
    auto* teiler = new QSplitter(Qt::Vertical, this);
    teiler->addWidget(baue_katalog());
    auto* unten = new QWidget(teiler);
    auto* u = new QHBoxLayout(unten);
    u->setContentsMargins(0, 0, 0, 0);
    auto* links = new QVBoxLayout;
    auto* kopf = new QHBoxLayout;
    l_index_ = new QLabel(unten);
    index_ = new QSpinBox(unten);
    index_->setObjectName(QStringLiteral("EditIn"));
    index_->setRange(1, 1);
    dateiname_ = new QLabel(unten);
    dateiname_->setObjectName(QStringLiteral("dateiname"));
    dateiname_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    kopf->addWidget(l_index_);
    kopf->addWidget(index_);
    kopf->addSpacing(12);
    kopf->addWidget(dateiname_, 1);
    links->addLayout(kopf);
    seiten_ = new QTabWidget(unten);
    seiten_->setObjectName(QStringLiteral("seiten"));
    seiten_->addTab(baue_parameter(), QString());
    tabellen_ = new ergebnistabellen_panel(seiten_);
    seiten_->addTab(tabellen_, QString());
    links->addWidget(seiten_, 1);
    u->addLayout(links, 1);
    QWidget* steuerung = baue_steuerung();
    steuerung->setMaximumWidth(450);
    u->addWidget(steuerung);
    teiler->addWidget(unten);
    teiler->setStretchFactor(0, 1);
    teiler->setStretchFactor(1, 4);
    teiler->setSizes({170, 700});
    spalte->addWidget(teiler, 1);
    connect(index_, &QSpinBox::valueChanged, this, [this](int d) {
        if (!fuellt_) zeige_index(d);
    });
    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    schliessen_ = new QPushButton(this);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    resize(1390, 900);
    beschriften();
    schaltflaechen_zeigen();
}

TKalkulation::~TKalkulation() = default;

QWidget* TKalkulation::baue_katalog() {
    auto* w = new QWidget(this);
    auto* reihe = new QHBoxLayout(w);
    reihe->setContentsMargins(0, 0, 0, 0);
    katalog_ = new tabellen_modell(this);
    raster_ = new QTableView(w);
    raster_->setObjectName(QStringLiteral("katalog"));
    raster_->setModel(katalog_);
    raster_->setSelectionBehavior(QAbstractItemView::SelectRows);
    raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    raster_->verticalHeader()->setDefaultSectionSize(raster_->fontMetrics().height() + 6);
    raster_->horizontalHeader()->setStretchLastSection(true);
    reihe->addWidget(raster_, 1);
    auto* rechts = new QVBoxLayout;
    einlesen_ = new QPushButton(w);
    einlesen_->setObjectName(QStringLiteral("ButtonEinlesen"));
    suchen_ = new QPushButton(w);
    suchen_->setObjectName(QStringLiteral("Button2"));
    drucken_ = new QPushButton(w);
    drucken_->setObjectName(QStringLiteral("Drucken1"));
    anzahl_ = new QLabel(w);
    anzahl_->setObjectName(QStringLiteral("anzahl"));
    rechts->addWidget(einlesen_);
    rechts->addWidget(suchen_);
    rechts->addWidget(drucken_);
    rechts->addWidget(anzahl_);
    rechts->addStretch(1);
    reihe->addLayout(rechts);
    connect(einlesen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { resultat_einlesen(); }); });
    connect(raster_, &QTableView::doubleClicked, this, [this] { am_ereignisrand([this] { resultat_einlesen(); }); });
    connect(drucken_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { drucken(); }); });
    connect(suchen_, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString text =
            QInputDialog::getText(this, q(c::suchen_titel), q(c::suchen_text), QLineEdit::Normal, QString(), &ok);
        if (!ok) return;
        am_ereignisrand([&] {
            QString muster = text.trimmed();
            muster.replace(QLatin1Char('*'), QLatin1Char('%'));
            if (muster.isEmpty()) loesche_suchfilter(tabledata::tres);
            else setze_suchfilter(tabledata::tres, "name", muster.toStdString());
            katalog_lesen();
        });
    });
    return w;
}

QWidget* TKalkulation::baue_parameter() {
    parameter_ = new QWidget(this);
    auto* aussen = new QVBoxLayout(parameter_);
    auto* rahmen = new QScrollArea(parameter_);
    rahmen->setWidgetResizable(true);
    rahmen->setFrameShape(QFrame::NoFrame);
    auto* innen = new QWidget;
    auto* raster = new QGridLayout(innen);
    raster->setHorizontalSpacing(8);
    raster->setVerticalSpacing(3);
    const int n = static_cast<int>(std::size(FELDER));
    const int zeilen = (n + 1) / 2;
    for (int i = 0; i < n; ++i) {
        const int k = FELDER[i];
        const int z = i % zeilen, s = (i / zeilen) * 3;
        auto* name = new QLabel(innen);
        auto* feld = new QLineEdit(innen);
        feld->setObjectName(QStringLiteral("k%1").arg(k));
        feld->setAlignment(Qt::AlignRight);
        feld->setMinimumWidth(80);
        feld->setMaximumWidth(100);
        auto* einheit = new QLabel(innen);
        einheit->setMinimumWidth(60);
        raster->addWidget(name, z, s);
        raster->addWidget(feld, z, s + 1);
        raster->addWidget(einheit, z, s + 2);
        felder_[k] = feld;
        namen_[k] = name;
        einheiten_[k] = einheit;
        connect(feld, &QLineEdit::textEdited, this, [this, k](const QString& t) { wert_geaendert(k, t); });
    }
    raster->setColumnStretch(0, 1);
    raster->setColumnStretch(3, 1);
    rahmen->setWidget(innen);
    aussen->addWidget(rahmen, 1);
    return parameter_;
}

QWidget* TKalkulation::baue_steuerung() {
    auto* w = new QWidget(this);
    auto* spalte = new QVBoxLayout(w);
    spalte->setContentsMargins(0, 0, 0, 0);
    auto* schalter = new QHBoxLayout;
    solarzellen_ = new QPushButton(w);
    solarzellen_->setObjectName(QStringLiteral("Button1"));
    solarzellen_->setCheckable(true);
    waermebedarf_ = new QPushButton(w);
    waermebedarf_->setObjectName(QStringLiteral("Button6"));
    waermebedarf_->setCheckable(true);
    schalter->addWidget(solarzellen_);
    schalter->addWidget(waermebedarf_);
    spalte->addLayout(schalter);
    hfn_ = new QCheckBox(w);
    hfn_->setObjectName(QStringLiteral("CheckBox1"));
    spalte->addWidget(hfn_);

    flaechenmodus_ = new QGroupBox(w);
    flaechenmodus_->setObjectName(QStringLiteral("RadioGroupSF"));
    auto* modi = new QGridLayout(flaechenmodus_);
    modi_ = new QButtonGroup(this);
    for (int i = 0; i < 6; ++i) {
        auto* r = new QRadioButton(flaechenmodus_);
        r->setObjectName(QStringLiteral("modus%1").arg(i));
        modi_->addButton(r, i);
        modi->addWidget(r, i % 3, i / 3);
    }
    l_zellflaeche_ = new QLabel(flaechenmodus_);
    zellflaeche_ = new QComboBox(flaechenmodus_);
    zellflaeche_->setObjectName(QStringLiteral("ComboBox1"));
    zellflaeche_->setEditable(true);
    l_kollektorflaeche_ = new QLabel(flaechenmodus_);
    kollektorflaeche_ = new QLineEdit(QStringLiteral("0"), flaechenmodus_);
    kollektorflaeche_->setObjectName(QStringLiteral("Edit1"));
    kollektorflaeche_->setMaximumWidth(100);
    modi->addWidget(l_zellflaeche_, 3, 0);
    modi->addWidget(zellflaeche_, 3, 1);
    modi->addWidget(l_kollektorflaeche_, 4, 0);
    modi->addWidget(kollektorflaeche_, 4, 1);
    spalte->addWidget(flaechenmodus_);

    auto* rechnen = new QHBoxLayout;
    berechnen_ = new QPushButton(w);
    berechnen_->setObjectName(QStringLiteral("Button8"));
    delta_ = new QPushButton(w);
    delta_->setObjectName(QStringLiteral("Button4"));
    rechnen->addWidget(berechnen_);
    rechnen->addWidget(delta_);
    spalte->addLayout(rechnen);
    auto* strom = new QHBoxLayout;
    l_strom_ = new QLabel(w);
    strom_ = new QLineEdit(w);
    strom_->setObjectName(QStringLiteral("Edit2"));
    strom_->setMaximumWidth(110);
    skalieren_ = new QPushButton(w);
    skalieren_->setObjectName(QStringLiteral("Button7"));
    strom->addWidget(l_strom_);
    strom->addWidget(strom_);
    strom->addWidget(skalieren_);
    spalte->addLayout(strom);

    diagramme_ = new QGroupBox(w);
    auto* d = new QGridLayout(diagramme_);
    const std::pair<kostenart, const char*> arten[] = {{kostenart::kosten_jahr, "ButtonKosten"},
                                                      {kostenart::mehrkosten_jahr, "ButtonMehrK"},
                                                      {kostenart::gesamtkosten, "ButtonGesk"},
                                                      {kostenart::energie_pro_qm, "ButtonEK"},
                                                      {kostenart::zusatzinvestition, "Button3"}};
    int i = 0;
    for (const auto& [art, name] : arten) {
        auto* k = new QPushButton(diagramme_);
        k->setObjectName(QString::fromLatin1(name));
        d->addWidget(k, i / 2, i % 2);
        ++i;
        diagrammknoepfe_[art] = k;
        connect(k, &QPushButton::clicked, this, [this, a = art] { am_ereignisrand([this, a] { diagramm(a); }); });
    }
    spalte->addWidget(diagramme_);
    spalte->addStretch(1);

    connect(solarzellen_, &QPushButton::toggled, this, [this](bool an) {
        if (fuellt_) return;
        if (kosten_datenindex* d = gezeigt()) d->isolarzellen = an ? 1 : 0;
        schaltflaechen_zeigen();
        tabellen_fuellen();
    });
    connect(waermebedarf_, &QPushButton::toggled, this, [this](bool an) {
        if (fuellt_) return;
        if (kosten_datenindex* d = gezeigt()) d->iheizung = an ? 1 : 0;
        schaltflaechen_zeigen();
        tabellen_fuellen();
    });
    connect(hfn_, &QCheckBox::toggled, this, [this](bool an) {
        if (fuellt_) return;
        if (kosten_datenindex* d = gezeigt()) d->hfn = an ? 1.0 : 0.0;
        tabellen_fuellen();
    });
    connect(modi_, &QButtonGroup::idClicked, this, [this](int modus) {
        if (kosten_datenindex* d = gezeigt()) d->iradioGroupSf = modus;
        zellflaechen_box();
        tabellen_fuellen();
    });
    connect(zellflaeche_, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (fuellt_) return;
        kosten_datenindex* d = gezeigt();
        if (!d || d->iradioGroupSf != zellmodus::feste_flaeche) return;
        if (const auto z = lies_zahl(t.toStdString())) {
            d->aszf = *z;
            tabellen_fuellen();
        }
    });
    connect(kollektorflaeche_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (const auto z = lies_zahl(t.toStdString())) {
            k_.kollektorflaeche_fest = *z;
            tabellen_fuellen();
        }
    });
    // "Berechnen" and "Berechne Delta": price per power from the fields, to 2 decimals.
    auto preis_pro_leistung = [this](int preis, int leistung, int ergebnis) {
        kosten_datenindex* d = gezeigt();
        if (!d) return;
        for (int k : {preis, leistung})
            if (const auto z = lies_zahl(felder_[k]->text().toStdString())) d->vdatk[static_cast<std::size_t>(k)] = *z;
        const double x = quotient_oder_null(d->vdatk[static_cast<std::size_t>(preis)],
                                            d->vdatk[static_cast<std::size_t>(leistung)]);
        d->vdatk[static_cast<std::size_t>(ergebnis)] = std::nearbyint(x * 100.0) / 100.0;
        felder_[ergebnis]->setText(zahltext(d->vdatk[static_cast<std::size_t>(ergebnis)]));
        tabellen_fuellen();
    };
    connect(berechnen_, &QPushButton::clicked, this, [=] {
        preis_pro_leistung(kpar::preis_heizung, kpar::leistung_heizung, kpar::preis_pro_leistung_heizung);
    });
    connect(delta_, &QPushButton::clicked, this,
            [=] { preis_pro_leistung(kpar::preis_zwp, kpar::leistung_zwp, kpar::preis_pro_leistung_zwp); });
    connect(skalieren_, &QPushButton::clicked, this, [this] {
        kosten_datenindex* d = gezeigt();
        if (!d) return;
        const auto z = lies_zahl(strom_->text().toStdString());
        if (!z) {
            meldung(tgtext(tg::zahl_erwartet) + c::strom.text() + " " + strom_->text().toStdString(), "M", 'E');
            return;
        }
        skaliere_verbrauch(*d, *z);
        tabellen_fuellen();
    });
    return w;
}

void TKalkulation::beschriften() {
    setWindowTitle(q(c::titel));
    einlesen_->setText(q(c::resultat_einlesen));
    suchen_->setText(q(c::suchen));
    drucken_->setText(q(c::drucken));
    schliessen_->setText(q(c::schliessen));
    l_index_->setText(q(c::datenindex));
    anzahl_->setText(q(c::anzahl).arg(k_.index.size()));
    seiten_->setTabText(0, q(c::parameter));
    seiten_->setTabText(1, q(c::kosten_tabelle));
    for (const auto& [k, l] : namen_) {
        l->setText(q(kostenparameter_name(k)));
        einheiten_[k]->setText(k == kpar::zinssatz ? QStringLiteral("%") : q(einheit_anzeige(kostenparameter_einheit(k))));
    }
    hfn_->setText(q(c::hfn));
    flaechenmodus_->setTitle(q(c::flaeche));
    for (int i = 0; i < 6; ++i) modi_->button(i)->setText(q(kostentexte::zellflaechen_modus[i]));
    l_zellflaeche_->setText(q(c::zellflaeche));
    l_kollektorflaeche_->setText(q(c::kollektorflaeche));
    berechnen_->setText(q(c::berechnen));
    delta_->setText(q(c::delta));
    l_strom_->setText(q(c::strom));
    skalieren_->setText(q(c::skalieren));
    diagramme_->setTitle(q(c::diagramme));
    for (const auto& [art, k] : diagrammknoepfe_) k->setText(q(kostenart_name(art)));
    tabellen_->beschriften();
    schaltflaechen_zeigen();
    const auto& titel = datenbanken()[tabledata::tres].titelname_spalte;
    const auto& namen = datenbanken()[tabledata::tres].name_spalte;
    QStringList t;
    for (const auto& s : KATALOGSPALTEN) {
        QString titelname = q(s);
        for (std::size_t i = 0; i < namen.size() && i < titel.size(); ++i)
            if (gleich_ohne_gross_klein(namen[i], s)) titelname = q(titel[i]);
        t << titelname;
    }
    katalog_->setze_titel(t);
}

void TKalkulation::schaltflaechen_zeigen() {
    const kosten_datenindex* d = gezeigt();
    fuellt_ = true;
    solarzellen_->setChecked(d && d->isolarzellen == 1);
    solarzellen_->setText(q(d && d->isolarzellen == 1 ? c::solarzellen_ein : c::solarzellen_aus));
    waermebedarf_->setChecked(d && d->iheizung == 1);
    waermebedarf_->setText(q(d && d->iheizung != 1 ? c::ohne_waerme : c::mit_waerme));
    hfn_->setChecked(d && d->hfn == 1.0);
    fuellt_ = false;
    const bool da = d != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{solarzellen_, waermebedarf_, hfn_, berechnen_, delta_,
                                                       skalieren_, strom_, parameter_, drucken_, diagramme_})
        w->setEnabled(da);
    flaechenmodus_->setEnabled(da && d->isolarzellen == 1);
}

void TKalkulation::zeige_modal() {
    aktivieren();
    exec();
}

void TKalkulation::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!vorbereitet_) QTimer::singleShot(0, this, [this] {
            if (!vorbereitet_ && isVisible()) aktivieren();
        });
}

void TKalkulation::changeEvent(QEvent* e) {
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) beschriften();
    QDialog::changeEvent(e);
}

void TKalkulation::aktivieren() {
    vorbereitet_ = true;
    katalog_lesen();
    tabelle& haupt = tab(tabledata::thaupt);
    if (haupt.ist_offen() && haupt.hat_zeile()) waehle_ergebnis(q(haupt.text("ausgabefile") + ".dat"));
    beschriften();
    if (k_.index.empty()) {
        for (auto& [k, f] : felder_) f->clear();
        zellflaeche_->clear();
        kollektorflaeche_->setText(QStringLiteral("0"));
    }
}

void TKalkulation::katalog_lesen() {
    const QString aktuell = katalog_->wert(raster_->currentIndex().row(), "name");
    katalog_->setze(lies_zeilen(tabledata::tres), KATALOGSPALTEN);
    beschriften();
    int z = aktuell.isEmpty() ? 0 : katalog_->finde("name", aktuell.toStdString());
    if (z < 0) z = 0;
    if (katalog_->rowCount() > 0) raster_->selectRow(z);
    raster_->resizeColumnsToContents();
}

bool TKalkulation::waehle_ergebnis(const QString& name) {
    const int z = katalog_->finde("name", name.toStdString());
    if (z < 0) return false;
    raster_->selectRow(z);
    return true;
}

QString TKalkulation::zeile(const char* spalte) const {
    return katalog_->wert(raster_->currentIndex().row(), spalte);
}

kosten_datenindex* TKalkulation::gezeigt() {
    const int d = k_.pindexgraphik;
    if (d < 1 || d > static_cast<int>(k_.index.size())) return nullptr;
    return &k_.index[static_cast<std::size_t>(d - 1)];
}

bool TKalkulation::lade_datensatz(const std::string& name) { return datensatz_fuer_fenster_einlesen(name, this); }

bool TKalkulation::resultat_einlesen() {
    if (static_cast<int>(k_.index.size()) >= MAX_DATENINDEX) {
        meldung(kostentexte::maximalzahl.text(), "M", 'E');
        return false;
    }
    if (raster_->currentIndex().row() < 0) {
        meldung(c::keine_zeile.text(), "M", 'M');
        return false;
    }
    resultat_herkunft h;
    h.haupteingabefile = zeile("haupteingabefile").toStdString();
    h.ort = zeile("ort").toStdString();
    h.land = zeile("land").toStdString();
    h.bezirk = zeile("bezirk").toStdString();
    const std::string name = zeile("name").toStdString(), pfad = zeile("pfad").toStdString();
    h.einlesefile = (std::filesystem::path(pfad) / name).string();
    if (!lade_datensatz(h.haupteingabefile)) return false;

    std::filesystem::path start = einstellungen().ergebnisverzeichnis / name;
    std::error_code ec;
    if (!pfad.empty() && std::filesystem::is_directory(pfad, ec)) start = std::filesystem::path(pfad) / name;
    QStringList filter = {q(c::filter_dat), q(c::filter_sim)};
    if (start.extension() == ".sim") std::swap(filter[0], filter[1]);
    const auto datei = gewaehlte_datei(this, q(c::dialogtitel), q(start.string()), filter);
    if (!datei) return false;
    if (!::resultat_einlesen(k_, datei->toStdString(), h)) return false;
    const int d = static_cast<int>(k_.index.size());
    fuellt_ = true;
    index_->setRange(1, d);
    index_->setValue(d);
    fuellt_ = false;
    zeige_index(d);
    beschriften();
    return true;
}

void TKalkulation::zeige_index(int d) {
    if (d < 1 || d > static_cast<int>(k_.index.size())) return;
    k_.pindexgraphik = d;
    zeige_parameter();
    schaltflaechen_zeigen();
    tabellen_fuellen();
}

void TKalkulation::zeige_parameter() {
    const kosten_datenindex* d = gezeigt();
    fuellt_ = true;
    for (auto& [k, f] : felder_) {
        f->setStyleSheet(QString());
        f->setText(d ? zahltext(anzeigewert(k, d->vdatk[static_cast<std::size_t>(k)])) : QString());
    }
    dateiname_->setText(d ? q(d->dateiname.string()) : QString());
    strom_->setText(d ? zahltext(d->strom_ohne_heizung) : QString());
    if (d) modi_->button(d->iradioGroupSf)->setChecked(true);
    fuellt_ = false;
    zellflaechen_box();
}

void TKalkulation::zellflaechen_box() {
    const kosten_datenindex* d = gezeigt();
    fuellt_ = true;
    zellflaeche_->clear();
    if (d) {
        // Modes 1..3 list the cell areas of that mode; "Feste Fläche" is typed.
        const flaechenfeld* f = d->iradioGroupSf == zellmodus::heizung      ? &d->vdatflz3
                                : d->iradioGroupSf == zellmodus::gesamt_el   ? &d->vdatflz_ee3
                                : d->iradioGroupSf == zellmodus::nullenergie ? &d->vdatflz_ges_heiz
                                                                             : nullptr;
        if (f) {
            for (int s = 1; s <= d->anzahl_flaechen; ++s)
                zellflaeche_->addItem(QString::number(std::nearbyint((*f)[static_cast<std::size_t>(s)] * 10.0) / 10.0,
                                                      'f', 1));
        } else if (d->iradioGroupSf == zellmodus::feste_flaeche) {
            zellflaeche_->setEditText(zahltext(d->aszf));
        }
        zellflaeche_->setEnabled(d->iradioGroupSf != zellmodus::variieren && d->iradioGroupSf != zellmodus::pvt);
        kollektorflaeche_->setEnabled(d->iradioGroupSf == zellmodus::variieren);
    }
    fuellt_ = false;
}

void TKalkulation::wert_geaendert(int k, const QString& text) {
    kosten_datenindex* d = gezeigt();
    if (!d || fuellt_) return;
    const auto z = lies_zahl(text.toStdString());
    // Not a number: the old value stays, the field says so.
    felder_[k]->setStyleSheet(z ? QString() : QStringLiteral("background: #ffd0d0"));
    if (!z) return;
    auto& v = d->vdatk;
    v[static_cast<std::size_t>(k)] = gespeicherter_wert(k, *z);
    auto zeige = [&](int i) { felder_[i]->setText(zahltext(v[static_cast<std::size_t>(i)])); };
    if (k == kpar::preis_heizung || k == kpar::leistung_heizung || k == kpar::preis_pro_leistung_heizung) {
        v[kpar::preis_pro_leistung_heizung] = quotient_oder_null(v[kpar::preis_heizung], v[kpar::leistung_heizung]);
        if (k != kpar::preis_pro_leistung_heizung) zeige(kpar::preis_pro_leistung_heizung);
    }
    if (k == kpar::preis_zwp || k == kpar::leistung_zwp || k == kpar::preis_pro_leistung_zwp) {
        v[kpar::preis_pro_leistung_zwp] = quotient_oder_null(v[kpar::preis_zwp], v[kpar::leistung_zwp]);
        if (k != kpar::preis_pro_leistung_zwp) zeige(kpar::preis_pro_leistung_zwp);
    }
    tabellen_fuellen();
}

std::vector<kostenpunkt> TKalkulation::kosten(int d) { return berechne_kosten(k_, d); }

void TKalkulation::tabellen_fuellen() {
    std::vector<ergebnis_anzeigetabelle> tabellen;
    const std::string preis = haupteinheiten()[groesse::preis].ausgabe;
    const std::string flaeche = haupteinheiten()[groesse::flaeche].ausgabe;
    for (int d = 1; d <= static_cast<int>(k_.index.size()); ++d) {
        const std::vector<kostenpunkt> punkte = berechne_kosten(k_, d);
        const kosten_datenindex& di = k_.index[static_cast<std::size_t>(d - 1)];
        ergebnis_anzeigetabelle t;
        t.titel = c::datenindex.text() + " " + std::to_string(d) + ": " + di.dateiname.filename().string() + " - " +
                  c::kosten_tabelle.text();
        const bool zellen_variieren = di.iradioGroupSf == zellmodus::variieren && di.isolarzellen == 1;
        t.zeilenkopf = beschriftung_mit_einheit(
            (zellen_variieren ? kostentexte::zellflaeche : kostentexte::kollektorflaeche).text(), flaeche);
        const std::string quelle;  // the table's title names the file
        t.spalten = {{kostentexte::kollektorflaeche.text(), "flaeche", flaeche, quelle},
                     {kostentexte::zellflaeche.text(), "zellflaeche", flaeche, quelle},
                     {kostentexte::investition.text(), "investition", preis, quelle},
                     {kostentexte::annuitaet.text(), "annuitaet", preis, quelle},
                     {kostentexte::energiekosten.text(), "energiekosten", preis, quelle},
                     {kostentexte::solarertrag.text(), "solarertrag", preis, quelle},
                     {kostentexte::unterhalt.text(), "unterhalt", preis, quelle},
                     {kostentexte::kosten_jahr.text(), "kosten_jahr", preis, quelle}};
        for (const kostenpunkt& p : punkte) {
            t.zeilen.push_back(flaechen_text(p.x));
            t.werte.push_back({p.flaeche, p.zellflaeche, p.investition, p.annuitaet, p.energiekosten, p.solarertrag,
                               p.unterhalt, p.jahreskosten});
        }
        tabellen.push_back(std::move(t));
    }
    tabellen_->setze(std::move(tabellen), k_.pindexgraphik - 1);
}

bool TKalkulation::diagramm(kostenart art) {
    if (k_.index.empty()) {
        meldung(c::kein_resultat.text(), "M", 'M');
        return false;
    }
    auto links = std::make_unique<graphdata>();
    auto rechts = std::make_unique<graphdata>();
    if (!berechne_kostengraphik(k_, art, *links, *rechts)) return false;
    TGraphKalk& g = graphfenster();
    g.setze_druckkopf(zeile("name"));
    g.besetzeSeries(*links, *rechts, MAXGRAPHPUNKTE, true, 1);
    return true;
}

void TKalkulation::drucken() {
    if (k_.index.empty()) {
        meldung(c::kein_resultat.text(), "M", 'M');
        return;
    }
    if (QPrinter* d = drucker_waehlen(this)) drucke_liste(*d, kostenparameter_druckzeilen(k_), druckerschrift());
}

QLineEdit* TKalkulation::wertfeld(int k) const {
    const auto it = felder_.find(k);
    return it == felder_.end() ? nullptr : it->second;
}

QPushButton* TKalkulation::knopf(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

TGraphKalk& TKalkulation::graphfenster() {
    if (programm()) return programm()->graphkalk();
    if (!eigenes_graphfenster_) eigenes_graphfenster_ = new TGraphKalk(this);
    return *eigenes_graphfenster_;
}
