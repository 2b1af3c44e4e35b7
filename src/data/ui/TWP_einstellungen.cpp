#include "data/ui/TWP_einstellungen.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/einstellungen_lauf.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/qt_speicherdialog.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "data/konvertieren.h"
#include "data/ui/TNavigator.h"
#include "data/ui/auswahlgruppe.h"
#include "data/ui/tabellen_modell.h"
#include "engine/WP_variables.h"
#include "input/datensatzauswahl.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(int n) { return QString::fromStdString(tgtext(n)); }

// Caption set of the settings window.
namespace c {
constexpr text_paar seite_allgemein{"Allgemein", "General"};
constexpr text_paar seite_einheiten{"Einheiten", "Units"};
constexpr text_paar numerik{"Numerische Parameter", "Numeric parameters"};
constexpr text_paar maxge{"Maximaler Volumenstrom", "Maximum volume flow"};
constexpr text_paar minge{"Minimaler Volumenstrom", "Minimum volume flow"};
constexpr text_paar anzge{"Anzahl Schritte", "Number of steps"};
constexpr text_paar maxwp{"Maximaler Wirkungsgrad WP", "Maximum heat-pump efficiency"};
constexpr text_paar default_{"Default", "Default"};
constexpr text_paar setzen{"Setzen", "Set"};
constexpr text_paar temporaer{"Hier nur temporäre Änderungen", "Temporary changes only"};
constexpr text_paar pfade{"Pfade", "Paths"};
constexpr text_paar ergebnispfad{"Ergebnispfad", "Result path"};
constexpr text_paar datenbank{"DataBase", "Database"};
constexpr text_paar klimadaten{"Klimadaten", "Climate data"};
constexpr text_paar datenbank_setzen{"DataBase setzen", "Set database"};
constexpr text_paar ergebnispfad_setzen{"Ergebnispfad setzen", "Set result path"};
constexpr text_paar klimadaten_setzen{"Format und Pfad Klimadaten", "Format and path of climate data"};
constexpr text_paar kopieren{"Kopieren", "Copy"};
constexpr text_paar konvertieren{"Konvertieren", "Convert"};
constexpr text_paar sprache{"Sprache", "Language"};
constexpr text_paar deutsch{"Deutsch", "German"};
constexpr text_paar englisch{"Englisch", "English"};
constexpr text_paar einheiten{"Einheiten", "Units"};
constexpr text_paar physgroessen{"Physikalische Größen", "Physical quantities"};
constexpr text_paar ausgabeeinheit_setzen{"Ausgabeeinheit setzen", "Set output unit"};
constexpr text_paar uebernehmen{"Übernehmen", "Take over"};
constexpr text_paar alle_loeschen{"Alle löschen", "Delete all"};
constexpr text_paar skalierung{"Skalierung", "Scaling"};
constexpr text_paar keine_skalierung{"Keine Skalierung", "No scaling"};
constexpr text_paar pro_tag{"Einstrahlung pro Tag in Monatsintervall", "Irradiation per day in month interval"};
constexpr text_paar schliessen{"Schließen", "Close"};
}  // namespace c

const std::vector<std::string> PFADSPALTEN = {"name", "pfadresultate", "pfaddatabase", "pfadklimadaten"};

template <class F>
void handlung(F f) {
    try {
        f();
    } catch (const abbruch&) {
    }
}

QString zahltext(double x) { return QString::number(x, 'g', 10); }

}  // namespace

TWP_einstellungen::TWP_einstellungen(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TWP_einstellungen"));
    auto* spalte = new QVBoxLayout(this);
    seiten_ = new QTabWidget(this);
    seiten_->addTab(baue_allgemein(), QString());
    seiten_->addTab(baue_einheiten(), QString());
    spalte->addWidget(seiten_, 1);
    auto* unten = new QHBoxLayout;
    hinweis_ = new QLabel(this);
    unten->addWidget(hinweis_, 1);
    auto* schliessen = new QPushButton(this);
    schliessen->setObjectName(QStringLiteral("schliessen"));
    knoepfe_["schliessen"] = schliessen;
    connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
    unten->addWidget(schliessen);
    spalte->addLayout(unten);
    resize(980, 700);
    beschriften();
}

QWidget* TWP_einstellungen::baue_allgemein() {
    auto* seite = new QWidget(this);
    auto* raster = new QGridLayout(seite);

    auto neues_feld = [&](QWidget* eltern, const char* name, bool nur_lesen) {
        auto* f = new QLineEdit(eltern);
        f->setObjectName(QString::fromLatin1(name));
        f->setReadOnly(nur_lesen);
        felder_[name] = f;
        auto* t = new QLabel(eltern);
        titel_[name] = t;
        return std::pair{t, f};
    };
    auto neuer_knopf = [&](QWidget* eltern, const char* name, void (TWP_einstellungen::*h)()) {
        auto* k = new QPushButton(eltern);
        k->setObjectName(QString::fromLatin1(name));
        knoepfe_[name] = k;
        connect(k, &QPushButton::clicked, this, [this, h] { am_ereignisrand([&] { (this->*h)(); }); });
        return k;
    };

    numerik_ = new QGroupBox(seite);
    auto* n = new QGridLayout(numerik_);
    int zeile = 0;
    for (const char* name : {"maxge", "minge", "anzge", "maxwp"}) {
        auto [t, f] = neues_feld(numerik_, name, false);
        f->setAlignment(Qt::AlignRight);
        f->setMaximumWidth(140);
        n->addWidget(t, zeile, 0);
        n->addWidget(f, zeile, 1);
        auto* einheit = new QLabel(numerik_);
        titel_[std::string(name) + "_einheit"] = einheit;
        n->addWidget(einheit, zeile, 2);
        ++zeile;
    }
    auto* nk = new QHBoxLayout;
    nk->addWidget(neuer_knopf(numerik_, "Default", &TWP_einstellungen::numerik_default));
    nk->addWidget(neuer_knopf(numerik_, "Setzen", &TWP_einstellungen::numerik_setzen));
    n->addLayout(nk, zeile, 0, 1, 3);
    auto* temporaer = new QLabel(numerik_);
    titel_["temporaer"] = temporaer;
    n->addWidget(temporaer, zeile + 1, 0, 1, 3);
    raster->addWidget(numerik_, 0, 0);

    sprache_ = new QGroupBox(seite);
    auto* s = new QVBoxLayout(sprache_);
    sprachwahl_ = new QButtonGroup(this);
    deutsch_ = new QRadioButton(sprache_);
    englisch_ = new QRadioButton(sprache_);
    deutsch_->setObjectName(QStringLiteral("Deutsch"));
    englisch_->setObjectName(QStringLiteral("Englisch"));
    sprachwahl_->addButton(deutsch_, SPRACHE_DEUTSCH);
    sprachwahl_->addButton(englisch_, SPRACHE_ENGLISCH);
    s->addWidget(deutsch_);
    s->addWidget(englisch_);
    s->addStretch(1);
    connect(sprachwahl_, &QButtonGroup::idClicked, this, &TWP_einstellungen::waehle_sprache);
    raster->addWidget(sprache_, 0, 1);

    pfadgruppe_ = new QGroupBox(seite);
    auto* p = new QGridLayout(pfadgruppe_);
    zeile = 0;
    for (const char* name : {"ergebnispfad", "datenbank", "klimadaten"}) {
        auto [t, f] = neues_feld(pfadgruppe_, name, true);
        p->addWidget(t, zeile, 0);
        p->addWidget(f, zeile, 1, 1, 3);
        ++zeile;
    }
    pfad_navigator_ = new TNavigator(pfadgruppe_);
    pfad_navigator_->zeige_nur({TNavigator::erster, TNavigator::vorheriger, TNavigator::naechster,
                                TNavigator::letzter, TNavigator::aktualisieren});
    connect(pfad_navigator_, &TNavigator::gedrueckt, this, [this](int k) {
        const int zeilen = pfade_->rowCount();
        int z = pfad_raster_->currentIndex().row();
        if (k == TNavigator::erster) z = 0;
        if (k == TNavigator::vorheriger) z = std::max(0, z - 1);
        if (k == TNavigator::naechster) z = std::min(zeilen - 1, z + 1);
        if (k == TNavigator::letzter) z = zeilen - 1;
        if (k == TNavigator::aktualisieren) pfade_lesen();
        else if (z >= 0 && z < zeilen) pfad_raster_->selectRow(z);
    });
    p->addWidget(pfad_navigator_, zeile++, 0, 1, 4);
    pfade_ = new tabellen_modell(this);
    pfad_raster_ = new QTableView(pfadgruppe_);
    pfad_raster_->setObjectName(QStringLiteral("pfade"));
    pfad_raster_->setModel(pfade_);
    pfad_raster_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pfad_raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    pfad_raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pfad_raster_->horizontalHeader()->setStretchLastSection(true);
    pfad_raster_->verticalHeader()->setDefaultSectionSize(pfad_raster_->fontMetrics().height() + 6);
    const int rasterzeile = zeile;
    p->addWidget(pfad_raster_, zeile++, 0, 1, 4);
    p->addWidget(neuer_knopf(pfadgruppe_, "DataBaseSetzen", &TWP_einstellungen::datenbank_setzen), zeile, 0);
    p->addWidget(neuer_knopf(pfadgruppe_, "ErgebnispfadSetzen", &TWP_einstellungen::ergebnispfad_setzen), zeile, 1);
    p->addWidget(neuer_knopf(pfadgruppe_, "Klimadaten", &TWP_einstellungen::klimadaten_setzen), zeile, 2);
    p->addWidget(neuer_knopf(pfadgruppe_, "Kopieren", &TWP_einstellungen::pfad_kopieren), zeile, 3);
    ++zeile;
    p->addWidget(neuer_knopf(pfadgruppe_, "Konvertieren", &TWP_einstellungen::konvertieren), zeile, 0);
    p->setRowStretch(rasterzeile, 1);
    for (int spalte = 0; spalte < 4; ++spalte) p->setColumnStretch(spalte, 1);
    raster->addWidget(pfadgruppe_, 1, 0, 1, 2);
    raster->setRowStretch(1, 1);
    raster->setColumnStretch(0, 2);
    raster->setColumnStretch(1, 1);
    return seite;
}

QWidget* TWP_einstellungen::baue_einheiten() {
    auto* seite = new QWidget(this);
    auto* raster = new QGridLayout(seite);
    einheiten_gruppe_ = new QGroupBox(seite);
    auto* g = new QVBoxLayout(einheiten_gruppe_);
    einheiten_ = new tabellen_modell(this);
    einheiten_raster_ = new QTableView(einheiten_gruppe_);
    einheiten_raster_->setObjectName(QStringLiteral("einheiten"));
    einheiten_raster_->setModel(einheiten_);
    einheiten_raster_->setSelectionBehavior(QAbstractItemView::SelectRows);
    einheiten_raster_->setSelectionMode(QAbstractItemView::SingleSelection);
    einheiten_raster_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    einheiten_raster_->verticalHeader()->setDefaultSectionSize(einheiten_raster_->fontMetrics().height() + 6);
    einheiten_raster_->horizontalHeader()->setStretchLastSection(true);
    g->addWidget(einheiten_raster_);
    connect(einheiten_raster_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { einheit_gewaehlt(); });
    raster->addWidget(einheiten_gruppe_, 0, 0, 3, 1);

    auto* rechts = new QVBoxLayout;
    auto* t = new QLabel(seite);
    titel_["groessen"] = t;
    rechts->addWidget(t);
    groessen_ = new QListWidget(seite);
    groessen_->setObjectName(QStringLiteral("groessen"));
    rechts->addWidget(groessen_, 1);
    auto neuer_knopf = [&](const char* name, void (TWP_einstellungen::*h)()) {
        auto* k = new QPushButton(seite);
        k->setObjectName(QString::fromLatin1(name));
        knoepfe_[name] = k;
        connect(k, &QPushButton::clicked, this, [this, h] { am_ereignisrand([&] { (this->*h)(); }); });
        return k;
    };
    auto* ausgabe = new QHBoxLayout;
    ausgabe->addWidget(neuer_knopf("AusgabeeinheitSetzen", &TWP_einstellungen::ausgabeeinheit_setzen));
    auto* feld = new QLineEdit(seite);
    feld->setObjectName(QStringLiteral("ausgabeeinheit"));
    feld->setReadOnly(true);
    feld->setMaximumWidth(120);
    felder_["ausgabeeinheit"] = feld;
    ausgabe->addWidget(feld);
    rechts->addLayout(ausgabe);
    rechts->addWidget(neuer_knopf("Uebernehmen", &TWP_einstellungen::einheit_uebernehmen));
    auto* zwei = new QHBoxLayout;
    zwei->addWidget(neuer_knopf("AlleLoeschen", &TWP_einstellungen::einheiten_alle_loeschen));
    zwei->addWidget(neuer_knopf("EinheitenDefault", &TWP_einstellungen::einheiten_default));
    rechts->addLayout(zwei);
    skalierung_ = new auswahlgruppe(c::skalierung, {{c::keine_skalierung, "N"}, {c::pro_tag, "T"}}, seite);
    connect(skalierung_, &auswahlgruppe::gewaehlt, this, &TWP_einstellungen::skalierung_setzen);
    rechts->addWidget(skalierung_);
    raster->addLayout(rechts, 0, 1, 3, 1);
    raster->setColumnStretch(0, 3);
    raster->setColumnStretch(1, 1);
    return seite;
}

QLineEdit* TWP_einstellungen::feld(const char* name) const {
    const auto it = felder_.find(name);
    return it == felder_.end() ? nullptr : it->second;
}

QRadioButton* TWP_einstellungen::sprachknopf(int index) const { return index == 0 ? deutsch_ : englisch_; }

void TWP_einstellungen::beschriften() {
    setWindowTitle(q(tg::titel_einstellungen));
    seiten_->setTabText(0, q(c::seite_allgemein));
    seiten_->setTabText(1, q(c::seite_einheiten));
    numerik_->setTitle(q(c::numerik));
    titel_["maxge"]->setText(q(c::maxge));
    titel_["minge"]->setText(q(c::minge));
    titel_["anzge"]->setText(q(c::anzge));
    titel_["maxwp"]->setText(q(c::maxwp));
    const auto& h = haupteinheiten();
    titel_["maxge_einheit"]->setText(QString::fromStdString(h[groesse::volumenstrom_traeger].ausgabe));
    titel_["minge_einheit"]->setText(QString::fromStdString(h[groesse::volumenstrom_traeger].ausgabe));
    titel_["anzge_einheit"]->setText(QString());
    titel_["maxwp_einheit"]->setText(QString::fromStdString(h[groesse::keine_einheit].ausgabe));
    titel_["temporaer"]->setText(q(c::temporaer));
    knoepfe_["Default"]->setText(q(c::default_));
    knoepfe_["Setzen"]->setText(q(c::setzen));
    pfadgruppe_->setTitle(q(c::pfade));
    titel_["ergebnispfad"]->setText(q(c::ergebnispfad));
    titel_["datenbank"]->setText(q(c::datenbank));
    titel_["klimadaten"]->setText(q(c::klimadaten));
    knoepfe_["DataBaseSetzen"]->setText(q(c::datenbank_setzen));
    knoepfe_["ErgebnispfadSetzen"]->setText(q(c::ergebnispfad_setzen));
    knoepfe_["Klimadaten"]->setText(q(c::klimadaten_setzen));
    knoepfe_["Kopieren"]->setText(q(c::kopieren));
    knoepfe_["Konvertieren"]->setText(q(c::konvertieren));
    pfad_navigator_->beschriften();
    sprache_->setTitle(q(c::sprache));
    deutsch_->setText(q(c::deutsch));
    englisch_->setText(q(c::englisch));
    einheiten_gruppe_->setTitle(q(c::einheiten));
    titel_["groessen"]->setText(q(c::physgroessen));
    knoepfe_["AusgabeeinheitSetzen"]->setText(q(c::ausgabeeinheit_setzen));
    knoepfe_["Uebernehmen"]->setText(q(c::uebernehmen));
    knoepfe_["AlleLoeschen"]->setText(q(c::alle_loeschen));
    knoepfe_["EinheitenDefault"]->setText(q(c::default_));
    knoepfe_["schliessen"]->setText(q(c::schliessen));
    skalierung_->beschriften();
    hinweis_->setText(q(tg::nicht_gespeichert));
    // Column titles of the grids from the table registry.
    auto titelliste = [](int index, const std::vector<std::string>& spalten) {
        const db_struct& d = datenbanken()[static_cast<std::size_t>(index)];
        QStringList t;
        for (const auto& s : spalten) {
            QString name = QString::fromStdString(s);
            for (std::size_t i = 0; i < d.name_spalte.size() && i < d.titelname_spalte.size(); ++i)
                if (gleich_ohne_gross_klein(d.name_spalte[i], s)) name = QString::fromStdString(d.titelname_spalte[i]);
            t << name;
        }
        return t;
    };
    pfade_->setze_titel(titelliste(tabledata::trespfad, PFADSPALTEN));
    einheiten_->setze_titel(titelliste(tabledata::teinheit, einheiten_->zeilen().spalten));
    // The quantity names follow the language.
    const int gewaehlt = groessen_->currentRow();
    groessen_->clear();
    for (const auto& e : h) groessen_->addItem(QString::fromStdString(e.name));
    if (gewaehlt >= 0) groessen_->setCurrentRow(gewaehlt);
}

void TWP_einstellungen::vorbereiten() {
    fuellen();
    exec();
}

void TWP_einstellungen::fuellen() {
    handlung([this] {
        const numerische_anzeige a = zeige_rech_parameter();
        numerik_zeigen(a.maxge, a.minge, a.anzge, a.maxwp);
    });
    pfade_zeigen();
    sprachwahl_->button(sprache())->setChecked(true);
    handlung([] {
        tabelle& t = tab(tabledata::teinheit);
        if (t.ist_offen()) t.filter_aus();
    });
    pfade_lesen();
    einheiten_lesen();
    beschriften();
}

void TWP_einstellungen::changeEvent(QEvent* e) {
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) beschriften();
    QDialog::changeEvent(e);
}

void TWP_einstellungen::numerik_zeigen(double maxge, double minge, int anzge, double maxwp) {
    felder_["maxge"]->setText(zahltext(maxge));
    felder_["minge"]->setText(zahltext(minge));
    felder_["anzge"]->setText(QString::number(anzge));
    felder_["maxwp"]->setText(zahltext(maxwp));
}

void TWP_einstellungen::pfade_zeigen() {
    const einstellungen_daten& e = ::einstellungen();
    felder_["ergebnispfad"]->setText(QString::fromStdString(e.ergebnisverzeichnis.string()));
    felder_["datenbank"]->setText(QString::fromStdString(e.datenbankverzeichnis.string()));
    felder_["klimadaten"]->setText(QString::fromStdString(e.klimadatenverzeichnis.string()));
}

void TWP_einstellungen::pfade_lesen() {
    const int zeile = std::max(0, pfad_raster_->currentIndex().row());
    handlung([&] { pfade_->setze(lies_zeilen(tabledata::trespfad), PFADSPALTEN); });
    if (pfade_->rowCount() > 0) pfad_raster_->selectRow(std::min(zeile, pfade_->rowCount() - 1));
    pfad_raster_->resizeColumnsToContents();
}

void TWP_einstellungen::einheiten_lesen() {
    const int zeile = std::max(0, einheiten_raster_->currentIndex().row());
    handlung([&] { einheiten_->setze(lies_zeilen(tabledata::teinheit)); });
    if (einheiten_->rowCount() > 0) einheiten_raster_->selectRow(std::min(zeile, einheiten_->rowCount() - 1));
    einheiten_raster_->resizeColumnsToContents();
    einheit_gewaehlt();
}

void TWP_einstellungen::einheit_gewaehlt() {
    const int zeile = einheiten_raster_->currentIndex().row();
    skalierung_->setze_code(einheiten_->wert(zeile, "Skalierung").toStdString());
}

bool TWP_einstellungen::einheitenzeile_waehlen() {
    const int zeile = einheiten_raster_->currentIndex().row();
    bool ok = false;
    handlung([&] { ok = positioniere_nr(tabledata::teinheit, zeile); });
    if (!ok) meldung(tgtext(tg::eintrag_markieren), "M", 'W');
    return ok;
}

bool TWP_einstellungen::pfadzeile_waehlen() {
    const int zeile = pfad_raster_->currentIndex().row();
    bool ok = false;
    handlung([&] { ok = positioniere_nr(tabledata::trespfad, zeile); });
    return ok;
}

void TWP_einstellungen::waehle_sprache(int index) {
    bool geaendert = false;
    handlung([&] { geaendert = ::waehle_sprache(index, zustand::datm_allgemein()); });
    if (!geaendert) return;
    if (programm()) {
        programm()->qt_sprache(index);
        programm()->hauptmenue().beschriften();
    }
    beschriften();
    einheiten_lesen();
}

void TWP_einstellungen::numerik_default() {
    laufsteuerung& l = zustand::lauf();
    numerische_parameter_default(l);
    handlung([&] {
        const numerische_anzeige a = zeige_numerische_parameter(l);
        numerik_zeigen(a.maxge, a.minge, a.anzge, a.maxwp);
    });
}

void TWP_einstellungen::numerik_setzen() {
    handlung([this] {
        setze_numerische_parameter(zustand::lauf(), felder_["maxge"]->text().toStdString(),
                                   felder_["minge"]->text().toStdString(), felder_["anzge"]->text().toStdString(),
                                   felder_["maxwp"]->text().toStdString());
    });
}

void TWP_einstellungen::datenbank_setzen() {
    if (!pfadzeile_waehlen()) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return;
    }
    handlung([] { ::datenbank_setzen(); });
    pfade_zeigen();
    pfade_lesen();
    einheiten_lesen();
}

void TWP_einstellungen::ergebnispfad_setzen() {
    if (!pfadzeile_waehlen()) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return;
    }
    bool vorhanden = false;
    handlung([&] { vorhanden = ::ergebnispfad_setzen(); });
    // The protocol file lives beside the results.
    if (vorhanden) setze_protokollverzeichnis(::einstellungen().ergebnisverzeichnis);
    pfade_zeigen();
}

void TWP_einstellungen::klimadaten_setzen() {
    if (!pfadzeile_waehlen()) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return;
    }
    handlung([] { ::klimadaten_setzen(); });
    pfade_zeigen();
}

void TWP_einstellungen::pfad_kopieren() {
    if (!pfadzeile_waehlen()) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return;
    }
    handlung([] { kopiere_aktuelle_zeile(tabledata::trespfad); });
    pfade_lesen();
}

void TWP_einstellungen::konvertieren() {
    const einstellungen_daten& e = ::einstellungen();
    const auto quelle = oeffnen_dialog(this, tgtext(tg::datenbank_quelle), e.datenbank_alt, tgtext(tg::datenbank_filter));
    if (!quelle) return;
    const auto ziel = oeffnen_dialog(this, tgtext(tg::datenbank_ziel), e.datenbankverzeichnis,
                                     tgtext(tg::datenbank_filter));
    if (!ziel) return;
    konvertier_ergebnis r;
    handlung([&] { r = Konvertieren(*quelle, *ziel); });
    if (r.erfolgreich)
        meldung(q(tg::konvertiert).arg(r.aktualisiert).arg(r.eingefuegt).toStdString(), "M", 'M');
    einheiten_lesen();
    pfade_lesen();
}

void TWP_einstellungen::ausgabeeinheit_setzen() {
    if (!einheitenzeile_waehlen()) return;
    std::string einheit;
    handlung([&] {
        einheit = tab(tabledata::teinheit).text("Kuerzel");
        ::ausgabeeinheit_setzen(zustand::datm_allgemein());
    });
    felder_["ausgabeeinheit"]->setText(QString::fromStdString(einheit));
    einheiten_lesen();
    beschriften();
}

void TWP_einstellungen::einheit_uebernehmen() {
    const int g = groessen_->currentRow();
    if (g < 0) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return;
    }
    if (!einheitenzeile_waehlen()) return;
    handlung([&] { uebernehme_physgroesse(g); });
    einheiten_lesen();
}

void TWP_einstellungen::einheiten_alle_loeschen() {
    QMessageBox frage(QMessageBox::Question, windowTitle(), q(tg::alle_einheiten_loeschen),
                      QMessageBox::Yes | QMessageBox::No, this);
    frage.setDefaultButton(QMessageBox::No);
    if (frage.exec() != QMessageBox::Yes) return;
    handlung([] {
        tabelle& t = tab(tabledata::teinheit);
        t.filter_aus();
        loesche_daten(t);
    });
    einheiten_lesen();
}

void TWP_einstellungen::einheiten_default() {
    handlung([] { ::einheiten_default(zustand::datm_allgemein()); });
    einheiten_lesen();
    beschriften();
}

void TWP_einstellungen::skalierung_setzen(int index) {
    if (!einheitenzeile_waehlen()) return;
    handlung([&] { setze_skalierung(index == 1); });
    einheiten_lesen();
}
