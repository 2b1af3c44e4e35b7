#include "app/ui/TSimulationsdaten.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/datensatz_lauf.h"
#include "app/simulationsdaten.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/anlagenbild.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/qt_speicherdialog.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/ui/TNavigator.h"
#include "data/ui/auswahlgruppe.h"
#include "input/ui/Twp_datensatz_suchen.h"
#include "data/ui/tabellen_modell.h"
#include "input/datensatzauswahl.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "results/ui/TKennlinien.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

// Caption set of the run parameters window.
namespace c {
constexpr text_paar num{"NUM", "NUM"};
constexpr text_paar an{"AN", "PLANT"};
constexpr text_paar aus{"AUS", "OUTPUT"};
constexpr text_paar kollektoreinheiten{"Kollektoreinheiten: ", "Collector units: "};
constexpr text_paar flaeche{"Fläche:", "Area:"};
constexpr text_paar maximum{"Maximum", "Maximum"};
constexpr text_paar minimum{"Minimum", "Minimum"};
constexpr text_paar maximal_20{"Maximal 20", "At most 20"};
constexpr text_paar hauptausgabefile{"Hauptausgabefile anlegen", "Create main output file"};
constexpr text_paar anmerkungen{"Anmerkungen eintragen:", "Enter notes:"};
constexpr text_paar optimierungsfile{"Optimierungsfile anlegen", "Create optimisation file"};
constexpr text_paar simulationsfile{"Simulationsfile anlegen", "Create simulation file"};
constexpr text_paar kennlinien{"Kennlinien", "Characteristics"};
constexpr text_paar suchen{"Suchen", "Search"};
constexpr text_paar schliessen{"Schließen", "Close"};

constexpr text_paar zeit{"Zeit", "Time"};
constexpr text_paar intervall{"Intervall", "Interval"};
constexpr text_paar monat{"Monat ", "Month "};
constexpr text_paar jahr{"Jahr", "Year"};
constexpr text_paar berechnung{"Berechnung", "Calculation"};
constexpr text_paar geschwindigkeit{"Geschwindigkeit", "Velocity"};
constexpr text_paar analytisch{"Analytisch", "Analytic"};
constexpr text_paar sortierung{"Sortierung Intensität", "Sorting of intensity"};
constexpr text_paar absteigend{"Absteigend", "Descending"};
constexpr text_paar aufsteigend{"Aufsteigend", "Ascending"};
constexpr text_paar nicht{"Nicht", "None"};
constexpr text_paar optimierung{"Optimierung", "Optimisation"};
constexpr text_paar preis{"Preis", "Price"};
constexpr text_paar gesamtenergie{"Gesamtenergie", "Total energy"};
constexpr text_paar lokalenergie{"Lokalenergie", "Local energy"};
constexpr text_paar speicheraussent{"Außentemp.Spei.", "Outside temp. of store"};
constexpr text_paar aussentemp{"Außentemp.", "Outdoor temp."};
constexpr text_paar erdtemp{"Erdtemp.", "Ground temp."};
constexpr text_paar ruecklauftemp{"Rücklauftemp.", "Return temp."};

constexpr text_paar kopplung{"Kopplung", "Coupling"};
constexpr text_paar endreservoir{"Endreservoirkopplung", "End-reservoir coupling"};
constexpr text_paar zwischenreservoir{"Zwischenreservoirkopplung", "Intermediate-reservoir coupling"};
constexpr text_paar zk_luft{"ZK mit Luftwärmetauscher", "IC with air heat exchanger"};
constexpr text_paar heizung{"Heizung", "Heating"};
constexpr text_paar mit_sonne{"Heizung mit Sonne", "Heating with sun"};
constexpr text_paar ohne_sonne{"Heizung ohne Sonne", "Heating without sun"};
constexpr text_paar in_serie{"Kollektoren in Serie", "Collectors in series"};
constexpr text_paar einer{"1 (Nur oberer Kollektor)", "1 (upper collector only)"};
constexpr text_paar zwei{"2 (Oberer und unterer Kollektor)", "2 (upper and lower collector)"};
constexpr text_paar ohne_kopplung{"Ohne Kopplung", "Without coupling"};
constexpr text_paar luftkollektor{"Luftkollektor", "Air collector"};
constexpr text_paar erdkollektor{"Erdkollektor", "Ground collector"};
constexpr text_paar gasheizung{"Gasheizung", "Gas heating"};
constexpr text_paar elektrisch{"Elektrische Heizung", "Electric heating"};
constexpr text_paar fernwaerme{"Fernwärme", "District heating"};
constexpr text_paar typ{"Typ Zwischenkopplung", "Type of intermediate coupling"};
constexpr text_paar r_ta{"Reservoir (R) TA", "Reservoir (R) TA"};
constexpr text_paar r_c{"Reservoir C", "Reservoir C"};
constexpr text_paar r_luft_var{"R mit Luftwärmetauscher variabel", "R with air heat exchanger, variable"};
constexpr text_paar r_luft_fest{"R mit Luftwärmetauscher fest", "R with air heat exchanger, fixed"};
constexpr text_paar r_erd_luft{"R mit Erd und Luftwärmetauscher", "R with ground and air heat exchanger"};
constexpr text_paar dk{"Direkte Kopplung (DK)", "Direct coupling (DC)"};
constexpr text_paar dkf{"DK mit Ventilator fest", "DC with fixed fan"};
}  // namespace c

// Columns of the result catalogue the grid shows.
const std::vector<std::string> KATALOGSPALTEN = {"name",   "haupteingabefile", "land",        "bezirk", "ort",
                                                 "kundennummer", "pfad",       "optimierung", "lock",   "info"};

}  // namespace

TSimulationsdaten::TSimulationsdaten(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TSimulationsdaten"));
    auto* spalte = new QVBoxLayout(this);
    seiten_ = new QTabWidget(this);
    seiten_->addTab(baue_num(), QString());
    seiten_->addTab(baue_an(), QString());
    seiten_->addTab(baue_aus(), QString());
    spalte->addWidget(seiten_, 1);

    auto* leiste = new QHBoxLayout;
    kennlinien_ = new QPushButton(this);
    suchen_ = new QPushButton(this);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("schliessen"));
    leiste->addStretch(1);
    leiste->addWidget(suchen_);
    leiste->addWidget(kennlinien_);
    leiste->addSpacing(20);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    connect(kennlinien_, &QPushButton::clicked, this, [] {
        if (programm()) am_ereignisrand([] { programm()->kennlinien().exec(); });
    });
    connect(suchen_, &QPushButton::clicked, this, [this] {
        // The search window stays open beside this one; the catalogue follows it.
        Twp_datensatz_suchen& s = programm()->datensatz_suchen();
        connect(&s, &Twp_datensatz_suchen::veraendert, this, &TSimulationsdaten::katalog_lesen, Qt::UniqueConnection);
        am_ereignisrand([&] { s.zeige(tabledata::tres); });
    });
    connect(seiten_, &QTabWidget::currentChanged, this, [this] { schliessen_->setFocus(); });
    resize(820, 600);
    beschriften();
}

QWidget* TSimulationsdaten::baue_num() {
    auto* seite = new QWidget(this);
    auto* raster = new QGridLayout(seite);
    raster->setContentsMargins(30, 20, 30, 20);
    raster->setHorizontalSpacing(18);
    zeit_ = new auswahlgruppe(c::zeit, {{c::intervall, "I"}, {c::monat, "M"}, {c::jahr, "J"}}, seite);
    optimierung_ = new auswahlgruppe(c::optimierung, {{c::preis, "P"}, {c::gesamtenergie, "K"}, {c::lokalenergie, "A"}},
                                     seite);
    berechnung_ = new auswahlgruppe(c::berechnung, {{c::geschwindigkeit, "V"}, {c::analytisch, "A"}}, seite);
    sortierung_ = new auswahlgruppe(c::sortierung, {{c::absteigend, "D"}, {c::aufsteigend, "U"}, {c::nicht, "N"}},
                                    seite);
    speicheraussent_ = new auswahlgruppe(
        c::speicheraussent, {{c::aussentemp, "A"}, {c::erdtemp, "E"}, {c::ruecklauftemp, "R"}}, seite);
    raster->addWidget(zeit_, 0, 0);
    raster->addWidget(optimierung_, 0, 1);
    raster->addWidget(berechnung_, 0, 2);
    raster->addWidget(sortierung_, 1, 2);
    raster->addWidget(speicheraussent_, 1, 0, 1, 2);

    auto* werte = new QGridLayout;
    werte->setHorizontalSpacing(10);
    einheiten_label_ = new QLabel(seite);
    flaeche_label_ = new QLabel(seite);
    maximum_label_ = new QLabel(seite);
    minimum_label_ = new QLabel(seite);
    auto neues_feld = [&](const char* name) {
        auto* f = new QLineEdit(seite);
        f->setObjectName(QString::fromLatin1(name));
        f->setReadOnly(true);
        f->setMinimumWidth(80);
        f->setAlignment(Qt::AlignRight);
        return f;
    };
    edit_max_ = neues_feld("EditMax");
    edit_min_ = neues_feld("EditMin");
    edit_amax_ = neues_feld("EditAMax");
    edit_amin_ = neues_feld("EditAMin");
    werte->addWidget(minimum_label_, 0, 1, Qt::AlignHCenter);
    werte->addWidget(maximum_label_, 0, 2, Qt::AlignHCenter);
    werte->addWidget(einheiten_label_, 1, 0);
    werte->addWidget(edit_min_, 1, 1);
    werte->addWidget(edit_max_, 1, 2);
    werte->addWidget(flaeche_label_, 2, 0);
    werte->addWidget(edit_amin_, 2, 1);
    werte->addWidget(edit_amax_, 2, 2);
    werte->setColumnStretch(3, 1);
    raster->addLayout(werte, 2, 0, 1, 3);
    raster->setRowStretch(3, 1);
    for (auto* g : {zeit_, optimierung_, berechnung_, sortierung_, speicheraussent_}) g->setze_nur_lesen(true);
    return seite;
}

QWidget* TSimulationsdaten::baue_an() {
    auto* seite = new QWidget(this);
    auto* raster = new QGridLayout(seite);
    raster->setContentsMargins(20, 15, 20, 15);
    kopplung_ = new auswahlgruppe(c::kopplung, {{c::endreservoir, "E"}, {c::zwischenreservoir, "Z"}, {c::zk_luft, "L"}},
                                  seite);
    heizung_ = new auswahlgruppe(c::heizung, {{c::mit_sonne, "J"}, {c::ohne_sonne, "N"}}, seite);
    anzahlkol_ = new auswahlgruppe(c::in_serie, {{c::einer, "E"}, {c::zwei, "Z"}}, seite);
    ohne_kopplung_ = new auswahlgruppe(c::ohne_kopplung,
                                       {{c::luftkollektor, "L"},
                                        {c::erdkollektor, "E"},
                                        {c::gasheizung, "G"},
                                        {c::elektrisch, "K"},
                                        {c::fernwaerme, "F"}},
                                       seite);
    zwischenkopplung_ = new auswahlgruppe(c::typ,
                                          {{c::r_ta, "A"},
                                           {c::r_c, "K"},
                                           {c::r_luft_var, "L"},
                                           {c::r_luft_fest, "F"},
                                           {c::r_erd_luft, "E"},
                                           {c::dk, "DK"},
                                           {c::dkf, "DKF"}},
                                          seite);
    bilder_ = new QStackedWidget(seite);
    bilder_->setObjectName(QStringLiteral("bildseiten"));
    for (char art : {'E', 'Z', 'K'}) bilder_->addWidget(new anlagenbild(art, bilder_));
    bilder_->setMinimumSize(370, 190);
    raster->addWidget(bilder_, 0, 0, 1, 3);
    raster->addWidget(kopplung_, 1, 0);
    raster->addWidget(heizung_, 2, 0);
    raster->addWidget(anzahlkol_, 1, 1);
    raster->addWidget(ohne_kopplung_, 2, 1);
    raster->addWidget(zwischenkopplung_, 1, 2, 2, 1);
    raster->setRowStretch(0, 1);
    for (auto* g : {kopplung_, heizung_, anzahlkol_, ohne_kopplung_, zwischenkopplung_}) g->setze_nur_lesen(true);
    return seite;
}

QWidget* TSimulationsdaten::baue_aus() {
    auto* seite = new QWidget(this);
    auto* spalte = new QVBoxLayout(seite);
    ueberschrift_ = new QLabel(seite);
    QFont f = ueberschrift_->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    ueberschrift_->setFont(f);
    spalte->addWidget(ueberschrift_, 0, Qt::AlignHCenter);

    auto* oben = new QHBoxLayout;
    auto* links = new QVBoxLayout;
    navigator_ = new TNavigator(seite);
    navigator_->zeige_nur({TNavigator::erster, TNavigator::vorheriger, TNavigator::naechster, TNavigator::letzter,
                           TNavigator::bearbeiten, TNavigator::speichern, TNavigator::abbrechen,
                           TNavigator::aktualisieren});
    connect(navigator_, &TNavigator::gedrueckt, this,
            [this](int k) { am_ereignisrand([this, k] { navigator(k); }); });
    links->addWidget(navigator_);
    links->addStretch(1);
    auto* knoepfe = new QHBoxLayout;
    optimierungsfile_ = new QPushButton(seite);
    optimierungsfile_->setObjectName(QStringLiteral("Optimierungsfile"));
    simulationsfile_ = new QPushButton(seite);
    simulationsfile_->setObjectName(QStringLiteral("Simulationsfile"));
    knoepfe->addWidget(optimierungsfile_);
    knoepfe->addWidget(simulationsfile_);
    links->addLayout(knoepfe);
    oben->addLayout(links, 1);
    auto* rechts = new QVBoxLayout;
    anmerkungen_ = new QLabel(seite);
    memo_ = new QPlainTextEdit(seite);
    memo_->setObjectName(QStringLiteral("memo"));
    memo_->setReadOnly(true);
    memo_->setMaximumHeight(90);
    rechts->addWidget(anmerkungen_);
    rechts->addWidget(memo_);
    oben->addLayout(rechts, 1);
    spalte->addLayout(oben);

    katalog_ = new tabellen_modell(this);
    raster_ = new QTableView(seite);
    raster_->setObjectName(QStringLiteral("katalog"));
    raster_->setModel(katalog_);
    raster_->setSelectionBehavior(QAbstractItemView::SelectRows);
    raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    raster_->verticalHeader()->setDefaultSectionSize(raster_->fontMetrics().height() + 6);
    raster_->horizontalHeader()->setStretchLastSection(true);
    spalte->addWidget(raster_, 1);
    connect(raster_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { memo_zeigen(); });
    connect(optimierungsfile_, &QPushButton::clicked, this, [this] { ausgabefile_anlegen('O'); });
    connect(simulationsfile_, &QPushButton::clicked, this, [this] { ausgabefile_anlegen('S'); });
    return seite;
}

QLineEdit* TSimulationsdaten::feld(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void TSimulationsdaten::zeige_modal() {
    katalog_lesen();
    exec();
}

void TSimulationsdaten::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    vorbereitet_ = false;
    schliessen_->setFocus();
    // After the window is on the screen, so that a message of the set-up has
    // the window behind it.
    QTimer::singleShot(0, this, [this] {
        if (!vorbereitet_ && isVisible()) aktivieren();
    });
}

void TSimulationsdaten::changeEvent(QEvent* e) {
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) {
        if (!vorbereitet_) aktivieren();
        else beschriften();
    }
    QDialog::changeEvent(e);
}

void TSimulationsdaten::aktivieren() {
    vorbereitet_ = true;
    const simulationscodes codes = lies_simulationscodes();
    zeit_->setze_code(codes.zeitraum);
    berechnung_->setze_code(codes.art);
    sortierung_->setze_code(codes.sortierung);
    optimierung_->setze_code(codes.optimierung);
    kopplung_->setze_code(codes.kopplungstyp);
    heizung_->setze_code(codes.heizung);
    anzahlkol_->setze_code(codes.anzahlkol);
    ohne_kopplung_->setze_code(codes.ohne_kopplung);
    zwischenkopplung_->setze_code(codes.leistungwp);
    speicheraussent_->setze_code(codes.speicheraussent);
    if (const auto k = kollektoreinheiten()) {
        edit_max_->setText(QString::number(k->maximum));
        edit_min_->setText(QString::number(k->minimum));
    } else {
        edit_max_->clear();
        edit_min_->clear();
    }
    kopplungsbild();
    try {
        flaechen_zeigen();
    } catch (const abbruch&) {
        // The CMAXA message abandons the rest of the set-up.
        return;
    }
    beschriften();
}

void TSimulationsdaten::kopplungsbild() {
    const int i = kopplung_->index();
    if (i == 0) bilder_->setCurrentIndex(0);
    if (i == 1) bilder_->setCurrentIndex(1);
    seiten_->setCurrentIndex(2);
}

void TSimulationsdaten::flaechen_zeigen() {
    if (edit_max_->text().isEmpty()) {
        edit_amax_->clear();
        edit_amin_->clear();
        return;
    }
    const auto f = zeige_flaechen();
    if (!f) {
        edit_amax_->clear();
        edit_amin_->clear();
        return;
    }
    edit_amax_->setText(QString::number(f->maximum, 'f', 2));
    edit_amin_->setText(QString::number(f->minimum, 'f', 2));
}

void TSimulationsdaten::beschriften() {
    setWindowTitle(QString::fromStdString(tgtext(tg::titel_simulationsdaten)));
    seiten_->setTabText(0, q(c::num));
    seiten_->setTabText(1, q(c::an));
    seiten_->setTabText(2, q(c::aus));
    for (auto* g : {zeit_, berechnung_, sortierung_, optimierung_, speicheraussent_, kopplung_, heizung_, anzahlkol_,
                    ohne_kopplung_, zwischenkopplung_})
        g->beschriften();
    einheiten_label_->setText(q(c::kollektoreinheiten));
    flaeche_label_->setText(q(c::flaeche));
    maximum_label_->setText(q(c::maximum));
    minimum_label_->setText(q(c::minimum));
    edit_max_->setToolTip(q(c::maximal_20));
    edit_min_->setToolTip(q(c::maximal_20));
    ueberschrift_->setText(q(c::hauptausgabefile));
    anmerkungen_->setText(q(c::anmerkungen));
    optimierungsfile_->setText(q(c::optimierungsfile));
    simulationsfile_->setText(q(c::simulationsfile));
    kennlinien_->setText(q(c::kennlinien));
    suchen_->setText(q(c::suchen));
    schliessen_->setText(q(c::schliessen));
    navigator_->beschriften();
    // Column titles of the catalogue from the table registry.
    const auto& titel = datenbanken()[tabledata::tres].titelname_spalte;
    const auto& namen = datenbanken()[tabledata::tres].name_spalte;
    QStringList t;
    for (const auto& s : KATALOGSPALTEN) {
        QString titelname = QString::fromStdString(s);
        for (std::size_t i = 0; i < namen.size() && i < titel.size(); ++i)
            if (gleich_ohne_gross_klein(namen[i], s)) titelname = QString::fromStdString(titel[i]);
        t << titelname;
    }
    katalog_->setze_titel(t);
}

void TSimulationsdaten::katalog_lesen() {
    const QString aktuell = katalog_->wert(raster_->currentIndex().row(), "name");
    katalog_->setze(lies_zeilen(tabledata::tres), KATALOGSPALTEN);
    beschriften();
    int zeile = aktuell.isEmpty() ? 0 : katalog_->finde("name", aktuell.toStdString());
    if (zeile < 0) zeile = 0;
    if (katalog_->rowCount() > 0) raster_->selectRow(zeile);
    raster_->resizeColumnsToContents();
    memo_zeigen();
}

void TSimulationsdaten::memo_zeigen() {
    memo_->setReadOnly(true);
    memo_->setPlainText(katalog_->wert(raster_->currentIndex().row(), "info"));
}

void TSimulationsdaten::ausgabefile_anlegen(char optimierung) {
    qt_speicherdialog dialog(this);
    try {
        ausgabefile_waehlen(optimierung, &dialog);
    } catch (const abbruch&) {
    }
    if (programm()) programm()->hauptmenue().marken_zeigen();
}

void TSimulationsdaten::navigator(int knopf) {
    const int zeilen = katalog_->rowCount();
    int zeile = raster_->currentIndex().row();
    switch (knopf) {
    case TNavigator::erster:
        zeile = 0;
        break;
    case TNavigator::vorheriger:
        zeile = std::max(0, zeile - 1);
        break;
    case TNavigator::naechster:
        zeile = std::min(zeilen - 1, zeile + 1);
        break;
    case TNavigator::letzter:
        zeile = zeilen - 1;
        break;
    case TNavigator::bearbeiten:
        memo_->setReadOnly(false);
        memo_->setFocus();
        return;
    case TNavigator::speichern: {
        const std::string name = katalog_->wert(zeile, "name").toStdString();
        try {
            if (!name.empty()) speichere_feld(tabledata::tres, "name", name, "info", memo_->toPlainText().toStdString());
        } catch (const abbruch&) {
        }
        katalog_lesen();
        return;
    }
    case TNavigator::abbrechen:
        memo_zeigen();
        return;
    case TNavigator::aktualisieren:
        katalog_lesen();
        return;
    default:
        return;
    }
    if (zeile >= 0 && zeile < zeilen) raster_->selectRow(zeile);
}
