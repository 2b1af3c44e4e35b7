#include "results/ui/TEinErg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

#include "app/datensatz_lauf.h"
#include "app/lese_steuerfile.h"
#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "results/ergebnis_einheiten.h"
#include "data/ui/TNavigator.h"
#include "data/ui/tabellen_modell.h"
#include "data/zahltext.h"
#include "input/datensatz_suchen.h"
#include "input/datensatzauswahl.h"
#include "lang/kostentexte.h"
#include "lang/meldung.h"
#include "lang/spaltentexte.h"
#include "lang/textglobale.h"
#include "results/ergebnis_csv.h"
#include "results/ergebnistexte.h"
#include "results/ergebniskatalog_fixierung.h"
#include "results/graphiktexte.h"
#include "app/uebersicht_angaben.h"
#include "results/ui/TGrafErgebnisse.h"
#include "results/ui/TGrafErgebnisse_M.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/dateidialoge.h"
#include "results/ui/ergebnistabellen_modell.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(const std::string& s) { return QString::fromStdString(s); }

namespace c {
constexpr text_paar titel{"Ergebnisse", "Results"};
constexpr text_paar mittelwerte_lesen{"Mittelwerte lesen", "Read mean values"};
constexpr text_paar zeitabhaengige_daten{"Zeitabhängige Daten", "Time-dependent data"};
constexpr text_paar suchen{"Suchen", "Search"};
constexpr text_paar fix_loeschen{"Fixierungen löschen", "Clear fixing marks"};
constexpr text_paar nicht_fixierte{"Nicht fixierte löschen", "Delete rows not fixed"};
constexpr text_paar nicht_fixierte_frage{"Alle nicht fixierten Datensätze löschen?", "Delete all rows not fixed?"};
constexpr text_paar anzahl{"Anzahl eingelesener Files:", "Number of files read:"};
constexpr text_paar kollektoreinheit{"Kollektoreinheit:", "Collector unit:"};
constexpr text_paar graphik_seite{"Graphik", "Chart"};
constexpr text_paar tabellen_seite{"Tabellen", "Tables"};
constexpr text_paar monatswerte{"Monatswerte", "Monthly values"};
constexpr text_paar jahreswerte{"Jahreswerte", "Annual values"};
constexpr text_paar monate{"Monat", "Month"};
constexpr text_paar flaechen{"Fläche", "Area"};
constexpr text_paar konstante{"Konstante Variable", "Constant variable"};
constexpr text_paar monat{"Monat", "Month"};
constexpr text_paar flaeche{"Fläche", "Area"};
constexpr text_paar wert_eingeben{"Wert eingeben:", "Enter value:"};
constexpr text_paar winkel{"Als Funktion des Winkels", "As a function of the tilt"};
constexpr text_paar graphik{"Graphik", "Chart"};
constexpr text_paar uebersicht{"Übersicht", "Overview"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar dialogtitel{"Ergebnisdatei einlesen", "Read result file"};
constexpr text_paar filter_dat{"Optimierungsdateien (*.dat)", "Optimisation files (*.dat)"};
constexpr text_paar filter_sim{"Simulationsdateien (*.sim)", "Simulation files (*.sim)"};
constexpr text_paar suchen_titel{"Ergebnisdatei suchen", "Search result file"};
constexpr text_paar suchen_text{"Name (* beliebig, leer: alle):", "Name (* any text, empty: all):"};
constexpr text_paar jahreswerte_tabelle{"Jahreswerte", "Annual values"};
constexpr text_paar vergleich{"Vergleich", "Comparison"};
constexpr text_paar zeitdaten{"Zeitabhängige Daten", "Time-dependent data"};
constexpr text_paar keine_zeile{"Bitte Ergebnisdatei im Katalog markieren", "Please mark a result file in the catalogue"};
constexpr text_paar monatsgroesse_hinweis{
    "Eine markierte Größe gibt das Monatsdiagramm; ohne Markierung zeigt \"Graphik\" die markierte Jahresgröße.",
    "A marked quantity gives the monthly chart; without a mark \"Chart\" shows the marked annual quantity."};
}  // namespace c

// Columns of the result catalogue the grid shows.
const std::vector<std::string> KATALOGSPALTEN = {"name",   "haupteingabefile", "land",        "bezirk", "ort",
                                                 "kundennummer", "pfad",       "optimierung", "lock",   "info"};

std::vector<int> markiert(const QListWidget* l) {
    std::vector<int> a;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->isSelected()) a.push_back(i + 1);
    return a;
}

// A month row of a result file is labelled with the month's name in the
// language the file was written in; the list shows it in the language now.
QString monatszeile(const std::string& zeile, int m) {
    const QString z = q(zeile).trimmed();
    const QString jetzt = q(ergebnistexte::monatsname(m)).trimmed();
    const text_paar namen[] = {{"Januar", "January"},   {"Februar", "February"}, {"März", "March"},
                               {"April", "April"},      {"Mai", "May"},          {"Juni", "June"},
                               {"Juli", "July"},        {"August", "August"},    {"September", "September"},
                               {"Oktober", "October"},  {"November", "November"}, {"Dezember", "December"}};
    const text_paar& n = namen[m - 1];
    if (z == QString::fromUtf8(n.deutsch) || z == QString::fromUtf8(n.englisch)) return jetzt;
    return z;
}

int gewaehlt(const QListWidget* l) {
    const auto a = markiert(l);
    return a.empty() ? -1 : a.front() - 1;
}

}  // namespace

TEinErg::TEinErg(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TEinErg"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* spalte = new QVBoxLayout(this);
    auto* teiler = new QSplitter(Qt::Vertical, this);
    teiler->addWidget(baue_katalog());

    auto* unten = new QWidget(teiler);
    auto* u = new QVBoxLayout(unten);
    u->setContentsMargins(0, 0, 0, 0);
    auto* zaehler = new QHBoxLayout;
    anzahl_ = new QLabel(unten);
    anzahl_->setObjectName(QStringLiteral("anzahl"));
    kollektoreinheit_ = new QLabel(unten);
    kollektoreinheit_->setObjectName(QStringLiteral("kollektoreinheit"));
    zaehler->addWidget(anzahl_);
    zaehler->addSpacing(30);
    zaehler->addWidget(kollektoreinheit_);
    zaehler->addStretch(1);
    u->addLayout(zaehler);
    seiten_ = new QTabWidget(unten);
    seiten_->setObjectName(QStringLiteral("ergebnisseiten"));
    seiten_->addTab(baue_graphikseite(), QString());
    tabellen_ = new ergebnistabellen_panel(seiten_);
    seiten_->addTab(tabellen_, QString());
    u->addWidget(seiten_, 1);
    // The comparison table follows the marks: rebuilt when the tables are shown.
    connect(seiten_, &QTabWidget::currentChanged, this, [this](int i) {
        if (seiten_->widget(i) == tabellen_) tabellen_fuellen();
    });
    teiler->addWidget(unten);
    teiler->setStretchFactor(0, 2);
    teiler->setStretchFactor(1, 3);
    teiler->setSizes({260, 560});
    spalte->addWidget(teiler, 1);

    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("schliessen"));
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);

    seiten_->setVisible(false);
    resize(1180, 860);
    beschriften();
    nach_laden();
}

TEinErg::~TEinErg() = default;

QWidget* TEinErg::baue_katalog() {
    auto* w = new QWidget(this);
    auto* reihe = new QHBoxLayout(w);
    reihe->setContentsMargins(0, 0, 0, 0);
    auto* links = new QVBoxLayout;
    navigator_ = new TNavigator(w);
    navigator_->zeige_nur({TNavigator::erster, TNavigator::vorheriger, TNavigator::naechster, TNavigator::letzter,
                           TNavigator::bearbeiten, TNavigator::speichern, TNavigator::abbrechen,
                           TNavigator::aktualisieren});
    connect(navigator_, &TNavigator::gedrueckt, this, [this](int k) { am_ereignisrand([this, k] { navigator(k); }); });
    links->addWidget(navigator_);
    katalog_ = new tabellen_modell(this);
    raster_ = new QTableView(w);
    raster_->setObjectName(QStringLiteral("katalog"));
    raster_->setModel(katalog_);
    raster_->setSelectionBehavior(QAbstractItemView::SelectRows);
    raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    raster_->verticalHeader()->setDefaultSectionSize(raster_->fontMetrics().height() + 6);
    raster_->horizontalHeader()->setStretchLastSection(true);
    links->addWidget(raster_, 1);
    reihe->addLayout(links, 1);
    connect(raster_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { memo_zeigen(); });
    connect(raster_, &QTableView::doubleClicked, this, [this] { am_ereignisrand([this] { mittelwerte_lesen(); }); });

    auto* rechts = new QVBoxLayout;
    auto knopf = [&](const char* name) {
        auto* k = new QPushButton(w);
        k->setObjectName(QString::fromLatin1(name));
        rechts->addWidget(k);
        return k;
    };
    einlesen_ = knopf("ButtonEinl");
    zeitdaten_knopf_ = knopf("Button3");
    suchen_ = knopf("Button1");
    rechts->addSpacing(10);
    fix_loeschen_ = knopf("Button5");
    nicht_fixierte_ = knopf("Button6");
    memo_ = new QPlainTextEdit(w);
    memo_->setObjectName(QStringLiteral("memo"));
    memo_->setReadOnly(true);
    memo_->setMaximumHeight(110);
    memo_->setMaximumWidth(260);
    rechts->addWidget(memo_);
    rechts->addStretch(1);
    reihe->addLayout(rechts);

    connect(einlesen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { mittelwerte_lesen(); }); });
    connect(zeitdaten_knopf_, &QPushButton::clicked, this,
            [this] { am_ereignisrand([this] { zeitabhaengige_daten(); }); });
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
    connect(fix_loeschen_, &QPushButton::clicked, this, [this] {
        am_ereignisrand([this] {
            ergebnisfixierungen_loeschen();
            katalog_lesen();
        });
    });
    connect(nicht_fixierte_, &QPushButton::clicked, this, [this] {
        if (QMessageBox::question(this, windowTitle(), q(c::nicht_fixierte_frage), QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes)
            return;
        am_ereignisrand([this] {
            nicht_fixierte_ergebnisse_loeschen();
            katalog_lesen();
        });
    });
    return w;
}

QWidget* TEinErg::baue_graphikseite() {
    auto* w = new QWidget(this);
    auto* raster = new QGridLayout(w);
    auto liste = [&](const char* name, QLabel*& l, QAbstractItemView::SelectionMode modus) {
        l = new QLabel(w);
        auto* x = new QListWidget(w);
        x->setObjectName(QString::fromLatin1(name));
        x->setSelectionMode(modus);
        return x;
    };
    monatsgroessen_ = liste("RadioGroupMonat", l_monatsgroessen_, QAbstractItemView::SingleSelection);
    jahresgroessen_ = liste("RadioGroupJahr", l_jahresgroessen_, QAbstractItemView::SingleSelection);
    monate_ = liste("ListBoxMonat", l_monate_, QAbstractItemView::MultiSelection);
    flaechen_ = liste("ListBoxFlaeche", l_flaechen_, QAbstractItemView::MultiSelection);
    monatsgroessen_->setMinimumWidth(300);
    jahresgroessen_->setMinimumWidth(300);
    // Each list under its caption, side by side.
    const std::pair<QLabel*, QListWidget*> spalten[] = {
        {l_monatsgroessen_, monatsgroessen_}, {l_jahresgroessen_, jahresgroessen_}, {l_monate_, monate_},
        {l_flaechen_, flaechen_}};
    const int dehnung[] = {3, 3, 1, 1};
    int i = 0;
    for (const auto& [l, x] : spalten) {
        auto* spalte = new QVBoxLayout;
        spalte->addWidget(l);
        spalte->addWidget(x, 1);
        raster->addLayout(spalte, 0, i);
        raster->setColumnStretch(i, dehnung[i]);
        ++i;
    }

    auto* rechts = new QVBoxLayout;
    konstante_ = new QGroupBox(w);
    auto* k = new QVBoxLayout(konstante_);
    konstant_monat_ = new QRadioButton(konstante_);
    konstant_monat_->setObjectName(QStringLiteral("KonstantMonat"));
    konstant_flaeche_ = new QRadioButton(konstante_);
    konstant_flaeche_->setObjectName(QStringLiteral("KonstantFlaeche"));
    konstant_monat_->setChecked(true);
    k->addWidget(konstant_monat_);
    k->addWidget(konstant_flaeche_);
    rechts->addWidget(konstante_);
    l_wert_ = new QLabel(w);
    flaechenfeld_ = new QLineEdit(QStringLiteral("4"), w);
    flaechenfeld_->setObjectName(QStringLiteral("EditFlaeche"));
    flaechenfeld_->setMaximumWidth(120);
    rechts->addWidget(l_wert_);
    rechts->addWidget(flaechenfeld_);
    winkel_ = new QCheckBox(w);
    winkel_->setObjectName(QStringLiteral("CheckBoxWinkel"));
    rechts->addWidget(winkel_);
    rechts->addSpacing(12);
    graphik_ = new QPushButton(w);
    graphik_->setObjectName(QStringLiteral("Button2"));
    uebersicht_ = new QPushButton(w);
    uebersicht_->setObjectName(QStringLiteral("SpeedButton1"));
    rechts->addWidget(graphik_);
    rechts->addWidget(uebersicht_);
    rechts->addStretch(1);
    raster->addLayout(rechts, 0, 4);

    // A mark in the annual list chooses the annual chart.
    connect(jahresgroessen_, &QListWidget::itemClicked, this, [this] { monatsgroessen_->clearSelection(); });
    connect(graphik_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { graphik(); }); });
    connect(uebersicht_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { uebersicht_zeigen(); }); });
    return w;
}

void TEinErg::beschriften() {
    setWindowTitle(q(c::titel));
    einlesen_->setText(q(c::mittelwerte_lesen));
    zeitdaten_knopf_->setText(q(c::zeitabhaengige_daten));
    suchen_->setText(q(c::suchen));
    fix_loeschen_->setText(q(c::fix_loeschen));
    nicht_fixierte_->setText(q(c::nicht_fixierte));
    seiten_->setTabText(0, q(c::graphik_seite));
    seiten_->setTabText(1, q(c::tabellen_seite));
    l_monatsgroessen_->setText(q(c::monatswerte));
    monatsgroessen_->setToolTip(q(c::monatsgroesse_hinweis));
    l_jahresgroessen_->setText(q(c::jahreswerte));
    l_monate_->setText(q(c::monate));
    l_flaechen_->setText(q(c::flaechen));
    konstante_->setTitle(q(c::konstante));
    konstant_monat_->setText(q(c::monat));
    konstant_flaeche_->setText(q(c::flaeche));
    l_wert_->setText(q(c::wert_eingeben));
    winkel_->setText(q(c::winkel));
    graphik_->setText(q(c::graphik));
    uebersicht_->setText(q(c::uebersicht));
    schliessen_->setText(q(c::schliessen));
    tabellen_->beschriften();
    navigator_->beschriften();
    anzahl_->setText(q(c::anzahl) + QStringLiteral(" %1").arg(vergleich_.anzahl()));
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

void TEinErg::zeige_modal() {
    aktivieren();
    exec();
}

void TEinErg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!vorbereitet_) QTimer::singleShot(0, this, [this] {
            if (!vorbereitet_ && isVisible()) aktivieren();
        });
}

void TEinErg::changeEvent(QEvent* e) {
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) beschriften();
    QDialog::changeEvent(e);
}

void TEinErg::aktivieren() {
    vorbereitet_ = true;
    katalog_lesen();
    // Quantity lists in the display order of the settings.
    const anzeige_reihenfolge& r = reihenfolge();
    const int m = gewaehlt(monatsgroessen_), j = gewaehlt(jahresgroessen_);
    monatsgroessen_->clear();
    for (const auto& [text, kurz] : r.monatlich) monatsgroessen_->addItem(q(text));
    jahresgroessen_->clear();
    for (const auto& [text, kurz] : r.jaehrlich) jahresgroessen_->addItem(q(text));
    if (monatsgroessen_->count() > 0) monatsgroessen_->item(std::max(0, m))->setSelected(true);
    if (jahresgroessen_->count() > 0) jahresgroessen_->item(std::max(0, j))->setSelected(true);
    if (vergleich_.anzahl() == 0) flaechenfeld_->setText(QStringLiteral("4"));
    // The row of the current data set's result file.
    tabelle& haupt = tab(tabledata::thaupt);
    if (haupt.ist_offen() && haupt.hat_zeile()) waehle_ergebnis(q(haupt.text("ausgabefile") + ".dat"));
    beschriften();
}

void TEinErg::katalog_lesen() {
    const QString aktuell = katalog_->wert(raster_->currentIndex().row(), "name");
    katalog_->setze(lies_zeilen(tabledata::tres), KATALOGSPALTEN);
    beschriften();
    int zeile = aktuell.isEmpty() ? 0 : katalog_->finde("name", aktuell.toStdString());
    if (zeile < 0) zeile = 0;
    if (katalog_->rowCount() > 0) raster_->selectRow(zeile);
    raster_->resizeColumnsToContents();
    memo_zeigen();
}

bool TEinErg::waehle_ergebnis(const QString& name) {
    const int zeile = katalog_->finde("name", name.toStdString());
    if (zeile < 0) return false;
    raster_->selectRow(zeile);
    return true;
}

QString TEinErg::zeile(const char* spalte) const { return katalog_->wert(raster_->currentIndex().row(), spalte); }

void TEinErg::memo_zeigen() {
    memo_->setReadOnly(true);
    memo_->setPlainText(zeile("info"));
}

void TEinErg::navigator(int knopf) {
    const int zeilen = katalog_->rowCount();
    int z = raster_->currentIndex().row();
    switch (knopf) {
    case TNavigator::erster: z = 0; break;
    case TNavigator::vorheriger: z = std::max(0, z - 1); break;
    case TNavigator::naechster: z = std::min(zeilen - 1, z + 1); break;
    case TNavigator::letzter: z = zeilen - 1; break;
    case TNavigator::bearbeiten:
        memo_->setReadOnly(false);
        memo_->setFocus();
        return;
    case TNavigator::speichern: {
        const std::string name = zeile("name").toStdString();
        if (!name.empty()) speichere_feld(tabledata::tres, "name", name, "info", memo_->toPlainText().toStdString());
        katalog_lesen();
        return;
    }
    case TNavigator::abbrechen: memo_zeigen(); return;
    case TNavigator::aktualisieren: katalog_lesen(); return;
    default: return;
    }
    if (z >= 0 && z < zeilen) raster_->selectRow(z);
}

bool TEinErg::lade_datensatz(const std::string& name) { return datensatz_fuer_fenster_einlesen(name, this); }

bool TEinErg::mittelwerte_lesen() {
    if (raster_->currentIndex().row() < 0) {
        meldung(c::keine_zeile.text(), "M", 'M');
        return false;
    }
    if (vergleich_.anzahl() >= ergebnisvergleich::MAXDATEIEN) {
        meldung(graphiktexte::maximalzahl.text() + std::to_string(ergebnisvergleich::MAXDATEIEN), "M", 'E');
        return false;
    }
    const std::string name = zeile("name").toStdString();
    const std::string pfad = zeile("pfad").toStdString();
    // The monthly mark is cleared: a new file starts at its annual chart.
    monatsgroessen_->clearSelection();
    if (!lade_datensatz(zeile("haupteingabefile").toStdString())) return false;

    std::filesystem::path start = einstellungen().ergebnisverzeichnis / name;
    std::error_code ec;
    if (!pfad.empty() && std::filesystem::is_directory(pfad, ec)) start = std::filesystem::path(pfad) / name;
    QStringList filter = {q(c::filter_dat), q(c::filter_sim)};
    if (start.extension() == ".sim") std::swap(filter[0], filter[1]);
    const auto datei = gewaehlte_datei(this, q(c::dialogtitel), q(start.string()), filter);
    if (!datei) return false;
    return lade_datei(datei->toStdString());
}

bool TEinErg::lade_datei(const std::filesystem::path& datei) {
    const uebersicht_angaben angaben = lies_uebersicht_angaben();
    if (vergleich_.lade(datei) != ergebnisvergleich::ladeergebnis::ok) return false;
    angaben_.push_back(angaben);
    nach_laden();
    return true;
}

void TEinErg::nach_laden() {
    const int n = vergleich_.anzahl();
    anzahl_->setText(q(c::anzahl) + QStringLiteral(" %1").arg(n));
    seiten_->setVisible(n > 0 || zeitdaten_.anzahl() > 0);
    monate_->clear();
    flaechen_->clear();
    kollektoreinheit_->clear();
    if (n > 0) {
        const geladene_datei& d = vergleich_.zuletzt();
        if (d.scheiben() >= 2)
            kollektoreinheit_->setText(q(c::kollektoreinheit) + QStringLiteral(" %1 ").arg(q(flaechen_text(d.flaeche[2]))) +
                                       q(einheit_anzeige(d.flaecheneinheit)));
        for (std::size_t r = 1; r < d.zeilen.size() && r <= 12; ++r) monate_->addItem(monatszeile(d.zeilen[r], int(r)));
        for (int s = 1; s <= d.scheiben(); ++s)
            flaechen_->addItem(q(flaechen_text(d.flaeche[static_cast<std::size_t>(s)]) + " " + einheit_anzeige(d.flaecheneinheit)));
        if (monate_->count() > 0) monate_->item(0)->setSelected(true);
    }
    // One file: month and area are picked from the lists and the overview is
    // open; several files: the area is entered as a number.
    const bool eine = n == 1;
    flaechen_->setEnabled(eine);
    // The overview needs one month and one area: the first of each is
    // marked, so that "Übersicht" shows something at once.
    if (eine && flaechen_->count() > 0) flaechen_->item(0)->setSelected(true);
    uebersicht_->setEnabled(eine);
    flaechenfeld_->setEnabled(n > 1);
    // The tables are built when they are shown.
    if (seiten_->currentWidget() == tabellen_) tabellen_fuellen();
}

void TEinErg::tabellen_fuellen(int auswahl) {
    std::vector<ergebnis_anzeigetabelle> t;
    for (int f = 1; f <= vergleich_.anzahl(); ++f) {
        const geladene_datei& d = vergleich_.datei(f);
        const std::string vor = std::to_string(f) + ": " + d.dateiname() + " - ";
        auto j = jahreswerte_tabelle(d);
        j.titel = vor + c::jahreswerte_tabelle.text();
        t.push_back(std::move(j));
        for (int s = 1; s <= d.scheiben(); ++s) {
            auto x = tabelle_der_scheibe(d, s);
            x.titel = vor + graphiktexte::flaeche.text() + " " + flaechen_text(d.flaeche[static_cast<std::size_t>(s)]) +
                      " " + d.flaecheneinheit;
            t.push_back(std::move(x));
        }
    }
    // The comparison of the marked monthly quantity at the area entered.
    const int m = gewaehlt(monatsgroessen_);
    const auto flaeche = lies_zahl(flaechenfeld_->text().toStdString());
    if (vergleich_.anzahl() > 1 && m >= 0 && flaeche) {
        const int groesse = reihenfolge().monatlich_groessen[static_cast<std::size_t>(m)];
        auto v = vergleichstabelle(vergleich_, groesse, *flaeche);
        if (!v.spalten.empty()) {
            v.titel = c::vergleich.text() + ": " + v.titel;
            t.push_back(std::move(v));
        }
    }
    if (zeitdaten_.anzahl() > 0) {
        const geladene_datei& d = zeitdaten_.zuletzt();
        for (int s = 1; s <= d.scheiben(); ++s) {
            auto x = tabelle_der_scheibe(d, s);
            x.titel = c::zeitdaten.text() + ": " + d.dateiname();
            t.push_back(std::move(x));
        }
    }
    const int vorher = tabellen_->auswahl()->currentIndex();
    tabellen_->setze(std::move(t), auswahl >= 0 ? auswahl : std::max(0, vorher));
}

bool TEinErg::zeitabhaengige_daten() {
    if (raster_->currentIndex().row() < 0) {
        meldung(c::keine_zeile.text(), "M", 'M');
        return false;
    }
    const std::string datensatz = zeile("haupteingabefile").toStdString();
    tabelle& haupt = tab(tabledata::thaupt);
    haupt.filter_aus();
    haupt_ordnen();
    if (!positioniere_haupt(datensatz)) {
        meldung(kostentexte::datensatz_fehlt.text() + datensatz, "M", 'E');
        return false;
    }
    const std::filesystem::path vorschlag = steuerdatei_vorschlag();
    const std::string filter = tgtext(tg::steuerdatei_filter);
    const auto datei = oeffne_datei(this, q(tgtext(tg::steuerdatei_dialogtitel)), q(vorschlag.string()),
                                    {q(filter.substr(0, filter.find('|')))});
    if (!datei) return false;
    if (!lese_steuerfile(datei->toStdString())) return false;
    zeitdaten_.leere();
    if (zeitdaten_.lade(datei->toStdString()) != ergebnisvergleich::ladeergebnis::ok) return false;
    nach_laden();
    tabellen_fuellen(tabellen_->auswahl()->count() - 1);
    seiten_->setCurrentWidget(tabellen_);
    return true;
}

bool TEinErg::waehle_monatsgroesse(int groesse) {
    monatsgroessen_->clearSelection();
    if (groesse < 0) return true;
    const auto& g = reihenfolge().monatlich_groessen;
    for (std::size_t i = 0; i < g.size() && static_cast<int>(i) < monatsgroessen_->count(); ++i) {
        if (g[i] != groesse) continue;
        monatsgroessen_->item(static_cast<int>(i))->setSelected(true);
        return true;
    }
    return false;
}

bool TEinErg::waehle_jahresgroesse(int groesse) {
    const auto& g = reihenfolge().jaehrlich_groessen;
    for (std::size_t i = 0; i < g.size() && static_cast<int>(i) < jahresgroessen_->count(); ++i) {
        if (g[i] != groesse) continue;
        jahresgroessen_->clearSelection();
        jahresgroessen_->item(static_cast<int>(i))->setSelected(true);
        monatsgroessen_->clearSelection();
        return true;
    }
    return false;
}

void TEinErg::graphik() {
    auto links = std::make_unique<graphdata>();
    auto rechts = std::make_unique<graphdata>();
    const int m = gewaehlt(monatsgroessen_);
    bool ok = false;
    if (m >= 0) {
        monatsgraphik_auswahl a;
        a.groesse = reihenfolge().monatlich_groessen[static_cast<std::size_t>(m)];
        a.art = konstant_monat_->isChecked() ? konstante_variable::monat : konstante_variable::flaeche;
        a.monate = markiert(monate_);
        a.scheiben = markiert(flaechen_);
        if (vergleich_.anzahl() > 1 && a.art == konstante_variable::flaeche) {
            const auto f = lies_zahl(flaechenfeld_->text().toStdString());
            if (!f) {
                meldung(tgtext(tg::zahl_erwartet) + c::wert_eingeben.text() + " " + flaechenfeld_->text().toStdString(),
                        "M", 'E');
                return;
            }
            a.flaeche = *f;
        }
        ok = baue_monatsgraphik(vergleich_, a, *links, *rechts);
    } else {
        const int j = gewaehlt(jahresgroessen_);
        if (j < 0) {
            meldung(graphiktexte::eintrag_markieren.text(), "M", 'M');
            return;
        }
        jahresgraphik_auswahl a;
        a.groesse = reihenfolge().jaehrlich_groessen[static_cast<std::size_t>(j)];
        a.als_funktion_des_winkels = winkel_->isChecked();
        ok = baue_jahresgraphik(vergleich_, a, *links, *rechts);
    }
    if (!ok) return;
    tabellen_fuellen();
    TGraphKalk& g = graphfenster();
    g.setze_druckkopf(zeile("name"));
    g.besetzeSeries(*links, *rechts, MAXGRAPHPUNKTE, true, 1);
}

void TEinErg::uebersicht_zeigen() {
    if (vergleich_.anzahl() != 1) return;
    const auto monate = markiert(monate_), flaechen = markiert(flaechen_);
    if (!pruefe_uebersicht_auswahl(static_cast<int>(monate.size()), static_cast<int>(flaechen.size()))) return;
    const int monat = monate.front();
    const int f = vergleich_.anzahl();
    uebersicht_flaeche().zeige([this, f, monat] {
        return baue_uebersicht_flaeche(vergleich_.datei(f), monat, angaben_[static_cast<std::size_t>(f - 1)]);
    });
}

void TEinErg::uebersicht_zeit_zeigen() {
    if (vergleich_.anzahl() < 1) return;
    const auto flaechen = markiert(flaechen_);
    if (!pruefe_uebersicht_auswahl(static_cast<int>(markiert(monate_).size()), static_cast<int>(flaechen.size())))
        return;
    const int s = flaechen.front();
    uebersicht_zeit().zeige([this, s] { return baue_uebersicht_zeit(vergleich_.datei(1), s, angaben_.front()); });
}

TGraphKalk& TEinErg::graphfenster() {
    if (programm()) return programm()->graphkalk();
    if (!eigenes_graphfenster_) eigenes_graphfenster_ = std::make_unique<TGraphKalk>(this);
    return *eigenes_graphfenster_;
}

TGrafErgebnisse& TEinErg::uebersicht_flaeche() {
    if (!uebersicht_flaeche_) {
        uebersicht_flaeche_ = new TGrafErgebnisse(this);
        connect(uebersicht_flaeche_, &TGrafErgebnisse::zeitabhaengig_gewaehlt, this,
                [this] { am_ereignisrand([this] { uebersicht_zeit_zeigen(); }); });
    }
    return *uebersicht_flaeche_;
}

TGrafErgebnisse_M& TEinErg::uebersicht_zeit() {
    if (!uebersicht_zeit_) uebersicht_zeit_ = new TGrafErgebnisse_M(this);
    return *uebersicht_zeit_;
}
