#include "input/ui/TEinlesefiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
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
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/datensatz_lauf.h"
#include "app/lese_daten_ein.h"
#include "app/lese_steuerfile.h"
#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/gui_senke.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/qt_speicherdialog.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/ui/TNavigator.h"
#include "data/ui/tabellen_modell.h"
#include "input/addiere_default.h"
#include "input/datensatzauswahl.h"
#include "input/ui/Twp_datensatz_suchen.h"
#include "results/ui/TAusdruck.h"
#include "station/ui/TWetterstation.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(int n) { return QString::fromStdString(tgtext(n)); }

// Caption set of the input-file form.
namespace c {
constexpr text_paar seite_haupt{"Haupteinlesefile", "Main input file"};
constexpr text_paar seite_verbrauch{"Verbrauchsdaten", "Consumption data"};
constexpr text_paar seite_anlage{"Anlagedaten", "Plant data"};
constexpr text_paar seite_simulation{"Simulationsdaten", "Simulation data"};
constexpr text_paar seite_preise{"Preise", "Prices"};
constexpr text_paar seite_aussen{"Aussendaten", "Outdoor data"};
constexpr text_paar seite_ausgabe{"Ausgabefiles", "Output files"};
constexpr text_paar fixiert{"Datensatz fixiert", "Data set fixed"};
constexpr text_paar grenzen{"Grenzen und Schrittweiten", "Limits and step widths"};
constexpr text_paar maxa{"Höchstfläche (maxa)", "Maximum area (maxa)"};
constexpr text_paar danzflaeche{"Einheiten je Flächenschritt (danzflaeche)", "Units per area step (danzflaeche)"};
constexpr text_paar anzge{"Schritte Volumenstrom (anzge)", "Flow steps (anzge)"};
constexpr text_paar anzdeltatkol{"Temperaturdifferenz-Varianten (anzdeltatkol)",
                                 "Temperature-difference variants (anzdeltatkol)"};
constexpr text_paar flaeche{"Fläche je Kollektor (flaeche)", "Area per collector (flaeche)"};
constexpr text_paar uebernehmen{"Übernehmen", "Apply"};
constexpr text_paar suche{"Suche", "Search"};
constexpr text_paar name{"Name", "Name"};
constexpr text_paar land{"Land", "Country"};
constexpr text_paar bezirk{"Bezirk", "Region"};
constexpr text_paar ort{"Ort", "Location"};
constexpr text_paar kundennummer{"Kundennummer", "Customer number"};
constexpr text_paar anwenden{"Anwenden", "Apply"};
constexpr text_paar daten_einlesen{"Daten einlesen", "Read data"};
constexpr text_paar steuerfile_einlesen{"Steuerfile einlesen", "Read control file"};
constexpr text_paar serie_rechnen{"Serie rechnen", "Compute series"};
constexpr text_paar optimieren{" Optimieren", " Optimise"};
constexpr text_paar wetterstation{"Wetterstation und Steuern", "Weather station and control"};
constexpr text_paar kopieren{"Kopieren", "Copy"};
constexpr text_paar suchen{"Suchen", "Search"};
constexpr text_paar fixierungen_loeschen{"Fixierungen löschen", "Delete fixations"};
constexpr text_paar datensaetze_loeschen{"Datensätze löschen", "Delete data sets"};
constexpr text_paar addiere_default{"Addiere Default", "Add defaults"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar gruppen{"Zubehörgruppen", "Accessory groups"};
constexpr text_paar zuordnen{"Zuordnen", "Assign"};
constexpr text_paar drucken{"Drucken", "Print"};
}  // namespace c

const std::vector<std::string> LISTENSPALTEN = {"name", "land", "bezirk", "ort", "kundennummer", "lock", "info"};

struct seitendef {
    const text_paar* titel;
    std::vector<std::string> spalten;
    int spaltenpaare;
};
const std::vector<seitendef>& seitendefs() {
    static const std::vector<seitendef> s = {
        {&c::seite_haupt, {"name", "land", "bezirk", "ort", "kundennummer", "info"}, 1},
        {&c::seite_verbrauch, {"tw", "th", "rw", "rh", "ew_m", "eh_m", "ee"}, 1},
        {&c::seite_anlage,
         {"zubehoer", "kolo", "kolu", "zelle", "ko", "gwt", "wpww", "spei", "gas", "kraft", "wpwe", "langspei",
          "zwischenspei", "an"},
         2},
        {&c::seite_simulation, {"num", "rech", "steuerspeicher"}, 1},
        {&c::seite_preise, {"kalk", "preis", "sub", "unter_liste"}, 1},
        {&c::seite_aussen, {"ir_ta_m", "te", "lage"}, 1},
        {&c::seite_ausgabe, {"ausgabefile", "steuer"}, 1},
    };
    return s;
}

// Runs an action of the form; an abandoned one (abbruch) returns here.
template <class F>
void handlung(F f) {
    try {
        f();
    } catch (const abbruch&) {
    }
}

THauptmenue* hauptfenster() { return programm() ? &programm()->hauptmenue() : nullptr; }

}  // namespace

TEinlesefiles::TEinlesefiles(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TEinlesefiles"));
    auto* spalte = new QVBoxLayout(this);
    auto* teiler = new QSplitter(Qt::Horizontal, this);

    auto* links = new QWidget(teiler);
    auto* linksspalte = new QVBoxLayout(links);
    linksspalte->setContentsMargins(0, 0, 0, 0);
    navigator_ = new TNavigator(links);
    connect(navigator_, &TNavigator::gedrueckt, this,
            [this](int k) { am_ereignisrand([this, k] { navigator_gedrueckt(k); }); });
    linksspalte->addWidget(navigator_);
    modell_ = new tabellen_modell(this);
    liste_ = new QTableView(links);
    liste_->setObjectName(QStringLiteral("liste"));
    liste_->setModel(modell_);
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste_->setSelectionMode(QAbstractItemView::SingleSelection);
    liste_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste_->verticalHeader()->setDefaultSectionSize(liste_->fontMetrics().height() + 6);
    liste_->horizontalHeader()->setStretchLastSection(true);
    linksspalte->addWidget(liste_, 1);
    connect(liste_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& neu, const QModelIndex& alt) {
                if (laedt_) return;
                if (geaendert_ && alt.isValid() && !speichern()) {
                    // The edit could not be posted: stay on its data set.
                    laedt_ = true;
                    liste_->selectRow(alt.row());
                    laedt_ = false;
                    return;
                }
                zeige_datensatz(neu.row());
            });

    seiten_ = new QTabWidget(teiler);
    seiten_->setObjectName(QStringLiteral("seiten"));
    for (const auto& s : seitendefs()) {
        QWidget* seite = baue_seite(s.spalten, s.spaltenpaare);
        if (s.titel == &c::seite_haupt) {
            fixiert_ = new QCheckBox(seite);
            fixiert_->setObjectName(QStringLiteral("fixiert"));
            static_cast<QFormLayout*>(seite->layout())->addRow(QString(), fixiert_);
            connect(fixiert_, &QCheckBox::toggled, this, [this] { als_geaendert(); });
        }
        if (s.titel == &c::seite_simulation) {
            // The limits belong to the `rech` row this page names.
            static_cast<QFormLayout*>(seite->layout())->addRow(baue_grenzen());
        }
        if (s.titel == &c::seite_anlage) {
            gruppen_ = new QGroupBox(seite);
            auto* g = new QHBoxLayout(gruppen_);
            gruppenwahl_ = new QComboBox(gruppen_);
            gruppenwahl_->setObjectName(QStringLiteral("gruppenwahl"));
            gruppenwahl_->setMinimumContentsLength(14);
            auto* zuordnen = new QPushButton(gruppen_);
            zuordnen->setObjectName(QStringLiteral("Zuordnen"));
            knoepfe_["Zuordnen"] = zuordnen;
            connect(zuordnen, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { gruppe_zuordnen(); }); });
            gruppenliste_ = new QListWidget(gruppen_);
            gruppenliste_->setMaximumHeight(70);
            auto* links_g = new QVBoxLayout;
            links_g->addWidget(gruppenwahl_);
            links_g->addWidget(zuordnen);
            g->addLayout(links_g);
            g->addWidget(gruppenliste_, 1);
            auto* raster = static_cast<QGridLayout*>(seite->layout());
            const int zeile = raster->rowCount();
            raster->addWidget(gruppen_, zeile, 0, 1, 4);
            raster->setRowStretch(zeile + 1, 1);
            links_g->addStretch(1);
        }
        seiten_->addTab(seite, QString());
    }
    teiler->addWidget(links);
    teiler->addWidget(seiten_);
    teiler->setStretchFactor(0, 1);
    teiler->setStretchFactor(1, 1);
    teiler->setSizes({430, 830});
    spalte->addWidget(teiler, 1);
    spalte->addWidget(baue_suche());
    spalte->addWidget(baue_aktionen());
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setWordWrap(true);
    spalte->addWidget(status_);
    resize(1270, 720);
    beschriften();
}

QWidget* TEinlesefiles::baue_seite(const std::vector<std::string>& spalten, int spaltenpaare) {
    auto* seite = new QWidget(this);
    auto neues_feld = [&](const std::string& s, QWidget* eltern) {
        feldeintrag f;
        f.spalte = s;
        f.titel = new QLabel(QString::fromStdString(s), eltern);
        f.titel->setToolTip(QString::fromStdString(s));
        if (referenztabelle(s) >= 0) {
            f.auswahl = new QComboBox(eltern);
            f.auswahl->setEditable(true);
            f.auswahl->setInsertPolicy(QComboBox::NoInsert);
            f.auswahl->setMinimumContentsLength(16);
            f.auswahl->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            f.auswahl->setObjectName(QString::fromStdString(s));
            connect(f.auswahl, &QComboBox::editTextChanged, this, [this] { als_geaendert(); });
        } else {
            f.text = new QLineEdit(eltern);
            f.text->setObjectName(QString::fromStdString(s));
            connect(f.text, &QLineEdit::textChanged, this, [this] { als_geaendert(); });
        }
        felder_.push_back(f);
        return felder_.back();
    };
    if (spaltenpaare == 1) {
        auto* form = new QFormLayout(seite);
        for (const auto& s : spalten) {
            const feldeintrag& f = neues_feld(s, seite);
            form->addRow(f.titel, f.auswahl ? static_cast<QWidget*>(f.auswahl) : f.text);
        }
    } else {
        auto* raster = new QGridLayout(seite);
        const int je_spalte = (static_cast<int>(spalten.size()) + spaltenpaare - 1) / spaltenpaare;
        for (std::size_t i = 0; i < spalten.size(); ++i) {
            const feldeintrag& f = neues_feld(spalten[i], seite);
            const int zeile = static_cast<int>(i) % je_spalte, paar = static_cast<int>(i) / je_spalte;
            raster->addWidget(f.titel, zeile, 2 * paar);
            raster->addWidget(f.auswahl ? static_cast<QWidget*>(f.auswahl) : f.text, zeile, 2 * paar + 1);
        }
        raster->setColumnStretch(1, 1);
        raster->setColumnStretch(3, 1);
    }
    return seite;
}

QWidget* TEinlesefiles::baue_grenzen() {
    grenzen_ = new QGroupBox(this);
    auto* form = new QGridLayout(grenzen_);
    int zeile = 0;
    for (const char* s : {"maxa", "danzflaeche", "anzge", "anzdeltatkol", "flaeche"}) {
        auto* t = new QLabel(grenzen_);
        auto* f = new QLineEdit(grenzen_);
        f->setObjectName(QStringLiteral("grenze_") + QString::fromLatin1(s));
        f->setMaximumWidth(110);
        f->setAlignment(Qt::AlignRight);
        grenztitel_[s] = t;
        grenzfelder_[s] = f;
        form->addWidget(t, zeile, 0);
        form->addWidget(f, zeile, 1);
        ++zeile;
    }
    auto* k = new QPushButton(grenzen_);
    k->setObjectName(QStringLiteral("Grenzen"));
    knoepfe_["Grenzen"] = k;
    connect(k, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { grenzen_uebernehmen(); }); });
    form->addWidget(k, zeile, 1);
    return grenzen_;
}

QWidget* TEinlesefiles::baue_suche() {
    suche_ = new QGroupBox(this);
    auto* reihe = new QHBoxLayout(suche_);
    for (int i = 0; i < 5; ++i) {
        auto* t = new QLabel(suche_);
        auto* f = new QLineEdit(suche_);
        f->setObjectName(QStringLiteral("suche_%1").arg(i));
        f->setMinimumWidth(90);
        suchtitel_.push_back(t);
        suchfelder_.push_back(f);
        reihe->addWidget(t);
        reihe->addWidget(f, 1);
        reihe->addSpacing(6);
    }
    auto* k = new QPushButton(suche_);
    k->setObjectName(QStringLiteral("Anwenden"));
    knoepfe_["Anwenden"] = k;
    connect(k, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { anwenden(); }); });
    reihe->addWidget(k);
    return suche_;
}

QWidget* TEinlesefiles::baue_aktionen() {
    auto* feld = new QWidget(this);
    auto* raster = new QGridLayout(feld);
    raster->setContentsMargins(0, 0, 0, 0);
    struct k {
        const char* name;
        void (TEinlesefiles::*handler)();
        int zeile, spalte;
    };
    const k liste[] = {
        {"DatenEinlesen", &TEinlesefiles::daten_einlesen, 0, 0},
        {"Steuerfile", &TEinlesefiles::steuerfile_einlesen, 0, 1},
        {"Serie", &TEinlesefiles::serie_rechnen, 0, 2},
        {"Optimieren", &TEinlesefiles::optimieren, 0, 3},
        {"Wetterstation", &TEinlesefiles::wetterstation_und_steuern, 0, 4},
        {"Kopieren", &TEinlesefiles::kopieren, 1, 0},
        {"Suchen", &TEinlesefiles::suchen, 1, 1},
        {"Fixierungen", &TEinlesefiles::fixierungen_loeschen, 1, 2},
        {"Loeschen", &TEinlesefiles::datensaetze_loeschen, 1, 3},
        {"AddiereDefault", &TEinlesefiles::addiere_default, 1, 4},
        {"Drucken", &TEinlesefiles::drucken, 0, 5},
    };
    for (const auto& e : liste) {
        auto* b = new QPushButton(feld);
        b->setObjectName(QString::fromLatin1(e.name));
        knoepfe_[e.name] = b;
        connect(b, &QPushButton::clicked, this, [this, h = e.handler] { am_ereignisrand([&] { (this->*h)(); }); });
        raster->addWidget(b, e.zeile, e.spalte);
    }
    auto* schliessen = new QPushButton(feld);
    schliessen->setObjectName(QStringLiteral("Schliessen"));
    knoepfe_["Schliessen"] = schliessen;
    connect(schliessen, &QPushButton::clicked, this, [this] {
        if (geaendert_ && !speichern()) return;
        accept();
    });
    raster->addWidget(schliessen, 1, 5);
    return feld;
}

QPushButton* TEinlesefiles::knopf(const char* name) const {
    const auto it = knoepfe_.find(name);
    return it == knoepfe_.end() ? nullptr : it->second;
}

void TEinlesefiles::beschriften() {
    setWindowTitle(q(tg::titel_einlesedaten));
    for (std::size_t i = 0; i < seitendefs().size(); ++i)
        seiten_->setTabText(static_cast<int>(i), q(*seitendefs()[i].titel));
    fixiert_->setText(q(c::fixiert));
    grenzen_->setTitle(q(c::grenzen));
    grenztitel_["maxa"]->setText(q(c::maxa));
    grenztitel_["danzflaeche"]->setText(q(c::danzflaeche));
    grenztitel_["anzge"]->setText(q(c::anzge));
    grenztitel_["anzdeltatkol"]->setText(q(c::anzdeltatkol));
    grenztitel_["flaeche"]->setText(q(c::flaeche));
    knoepfe_["Grenzen"]->setText(q(c::uebernehmen));
    suche_->setTitle(q(c::suche));
    const text_paar* such[] = {&c::name, &c::land, &c::bezirk, &c::ort, &c::kundennummer};
    for (int i = 0; i < 5; ++i) suchtitel_[static_cast<std::size_t>(i)]->setText(q(*such[i]));
    knoepfe_["Anwenden"]->setText(q(c::anwenden));
    knoepfe_["DatenEinlesen"]->setText(q(c::daten_einlesen));
    knoepfe_["Steuerfile"]->setText(q(c::steuerfile_einlesen));
    knoepfe_["Serie"]->setText(q(c::serie_rechnen));
    knoepfe_["Optimieren"]->setText(q(c::optimieren));
    knoepfe_["Wetterstation"]->setText(q(c::wetterstation));
    knoepfe_["Kopieren"]->setText(q(c::kopieren));
    knoepfe_["Suchen"]->setText(q(c::suchen));
    knoepfe_["Fixierungen"]->setText(q(c::fixierungen_loeschen));
    knoepfe_["Loeschen"]->setText(q(c::datensaetze_loeschen));
    knoepfe_["AddiereDefault"]->setText(q(c::addiere_default));
    knoepfe_["Drucken"]->setText(q(c::drucken));
    knoepfe_["Schliessen"]->setText(q(c::schliessen));
    knoepfe_["Zuordnen"]->setText(q(c::zuordnen));
    gruppen_->setTitle(q(c::gruppen));
    navigator_->beschriften();
    // Column titles of `haupt` from the table registry.
    const db_struct& d = datenbanken()[tabledata::thaupt];
    auto titel = [&](const std::string& s) {
        for (std::size_t i = 0; i < d.name_spalte.size() && i < d.titelname_spalte.size(); ++i)
            if (gleich_ohne_gross_klein(d.name_spalte[i], s)) return QString::fromStdString(d.titelname_spalte[i]);
        return QString::fromStdString(s);
    };
    QStringList t;
    for (const auto& s : LISTENSPALTEN) t << titel(s);
    modell_->setze_titel(t);
    for (auto& f : felder_) f.titel->setText(titel(f.spalte));
}

void TEinlesefiles::zeige_modal() {
    oeffnen();
    exec();
}

void TEinlesefiles::oeffnen() {
    seiten_->setCurrentIndex(0);
    haupt_ordnen();
    katalognamen_lesen();
    liste_lesen();
    beschriften();
    knoepfe_["Steuerfile"]->setEnabled(false);
    vorbereitet_ = true;
}

void TEinlesefiles::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!vorbereitet_) oeffnen();
}

void TEinlesefiles::hideEvent(QHideEvent* e) {
    vorbereitet_ = false;
    QDialog::hideEvent(e);
}

void TEinlesefiles::changeEvent(QEvent* e) {
    // While a run owns the state the window only repaints.
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) beschriften();
    QDialog::changeEvent(e);
}

void TEinlesefiles::katalognamen_lesen() {
    laedt_ = true;
    for (auto& f : felder_) {
        if (!f.auswahl) continue;
        const QString text = f.auswahl->currentText();
        const std::string art = f.spalte == "wpww" ? "ww" : f.spalte == "wpwe" ? "we" : "";
        QStringList namen;
        for (const auto& n : katalognamen(referenztabelle(f.spalte), art)) namen << QString::fromStdString(n);
        f.auswahl->clear();
        f.auswahl->addItems(namen);
        f.auswahl->setEditText(text);
    }
    gruppenwahl_->clear();
    for (const auto& g : artikelgruppen()) gruppenwahl_->addItem(QString::fromStdString(g));
    laedt_ = false;
}

void TEinlesefiles::liste_lesen() {
    const std::string vorher = angezeigt_;
    laedt_ = true;
    modell_->setze(lies_haupt_liste(), LISTENSPALTEN);
    beschriften();
    liste_->resizeColumnsToContents();
    int zeile = vorher.empty() ? -1 : modell_->finde("name", vorher);
    if (zeile < 0 && modell_->rowCount() > 0) zeile = 0;
    if (zeile >= 0) liste_->selectRow(zeile);
    laedt_ = false;
    zeige_datensatz(zeile);
}

void TEinlesefiles::zeige_datensatz(int zeile) {
    laedt_ = true;
    const bool da = zeile >= 0 && zeile < modell_->rowCount();
    angezeigt_ = da ? modell_->wert(zeile, "name").toStdString() : std::string();
    for (auto& f : felder_) {
        const QString w = da ? modell_->wert(zeile, f.spalte) : QString();
        // Long texts show their beginning.
        if (f.auswahl) {
            f.auswahl->setEditText(w);
            f.auswahl->lineEdit()->setCursorPosition(0);
        } else {
            f.text->setText(w);
            f.text->setCursorPosition(0);
        }
    }
    fixiert_->setChecked(da && modell_->wert(zeile, "lock") == QStringLiteral("F"));
    geaendert_ = false;
    neu_ = false;
    laedt_ = false;
    // The limits of the data set's run and its article groups.
    grenzen_und_schrittweiten g;
    if (da) g = lies_grenzen(feldtext("rech").toStdString(), feldtext("kolo").toStdString());
    grenzfelder_["maxa"]->setText(QString::fromStdString(g.maxa));
    grenzfelder_["danzflaeche"]->setText(QString::fromStdString(g.danzflaeche));
    grenzfelder_["anzge"]->setText(QString::fromStdString(g.anzge));
    grenzfelder_["anzdeltatkol"]->setText(QString::fromStdString(g.anzdeltatkol));
    grenzfelder_["flaeche"]->setText(QString::fromStdString(g.flaeche));
    gruppen_zeigen();
    if (da) positioniere_haupt(angezeigt_);
}

void TEinlesefiles::gruppen_zeigen() {
    gruppenliste_->clear();
    if (angezeigt_.empty()) return;
    for (const auto& g : zugeordnete_gruppen(angezeigt_)) gruppenliste_->addItem(QString::fromStdString(g));
}

void TEinlesefiles::als_geaendert() {
    if (!laedt_) geaendert_ = true;
}

QString TEinlesefiles::aktueller_datensatz() const { return QString::fromStdString(angezeigt_); }

bool TEinlesefiles::waehle_datensatz(const QString& name) {
    const int zeile = modell_->finde("name", name.toStdString());
    if (zeile < 0) return false;
    liste_->selectRow(zeile);
    return angezeigt_ == name.toStdString();
}

QWidget* TEinlesefiles::feld(const std::string& spalte) const {
    for (const auto& f : felder_)
        if (f.spalte == spalte) return f.auswahl ? static_cast<QWidget*>(f.auswahl) : f.text;
    return nullptr;
}

void TEinlesefiles::setze_feld(const std::string& spalte, const QString& text) {
    for (auto& f : felder_) {
        if (f.spalte != spalte) continue;
        if (f.auswahl) f.auswahl->setEditText(text);
        else f.text->setText(text);
    }
}

QString TEinlesefiles::feldtext(const std::string& spalte) const {
    for (const auto& f : felder_)
        if (f.spalte == spalte) return f.auswahl ? f.auswahl->currentText() : f.text->text();
    return {};
}

std::vector<std::pair<std::string, std::string>> TEinlesefiles::feldwerte() const {
    std::vector<std::pair<std::string, std::string>> w;
    for (const auto& f : felder_)
        w.emplace_back(f.spalte, (f.auswahl ? f.auswahl->currentText() : f.text->text()).trimmed().toStdString());
    w.emplace_back("lock", fixiert_->isChecked() ? "F" : "NF");
    return w;
}

bool TEinlesefiles::speichern() {
    if (!geaendert_ && !neu_) return true;
    const auto werte = feldwerte();
    const std::string name = werte.front().second;
    try {
        if (neu_) fuege_datensatz_ein(werte);
        else speichere_datensatz(angezeigt_, werte);
    } catch (const abbruch&) {
        return false;
    }
    geaendert_ = false;
    neu_ = false;
    angezeigt_ = name;
    liste_lesen();
    return true;
}

void TEinlesefiles::navigator_gedrueckt(int knopf) {
    const int zeilen = modell_->rowCount();
    int zeile = liste_->currentIndex().row();
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
    case TNavigator::einfuegen:
        if (geaendert_ && !speichern()) return;
        laedt_ = true;
        for (auto& f : felder_) {
            if (f.auswahl) f.auswahl->setEditText(QString());
            else f.text->clear();
        }
        fixiert_->setChecked(false);
        laedt_ = false;
        neu_ = true;
        seiten_->setCurrentIndex(0);
        feld("name")->setFocus();
        return;
    case TNavigator::loeschen: {
        if (angezeigt_.empty()) return;
        QMessageBox frage(QMessageBox::Question, windowTitle(),
                          q(tg::datensatz_loeschen_frage) + QStringLiteral("\n") + QString::fromStdString(angezeigt_),
                          QMessageBox::Yes | QMessageBox::No, this);
        frage.setDefaultButton(QMessageBox::No);
        if (frage.exec() != QMessageBox::Yes) return;
        handlung([&] { loesche_datensatz(angezeigt_); });
        angezeigt_.clear();
        liste_lesen();
        return;
    }
    case TNavigator::bearbeiten:
        if (QWidget* f = feld("name")) f->setFocus();
        return;
    case TNavigator::speichern:
        speichern();
        return;
    case TNavigator::abbrechen:
        zeige_datensatz(modell_->finde("name", angezeigt_));
        return;
    case TNavigator::aktualisieren:
        if (geaendert_ && !speichern()) return;
        handlung([] { tab(tabledata::thaupt).aktualisiere(); });
        katalognamen_lesen();
        liste_lesen();
        return;
    default:
        return;
    }
    if (zeile >= 0 && zeile < zeilen) liste_->selectRow(zeile);
}

bool TEinlesefiles::vor_aktion() {
    if ((geaendert_ || neu_) && !speichern()) return false;
    if (angezeigt_.empty() || !positioniere_haupt(angezeigt_)) {
        meldung(tgtext(tg::eintrag_markieren), "M", 'W');
        return false;
    }
    return true;
}

void TEinlesefiles::status(const QString& text) { status_->setText(text); }

void TEinlesefiles::nach_lauf() {
    if (THauptmenue* h = hauptfenster()) h->marken_zeigen();
    handlung([this] { liste_lesen(); });
}

void TEinlesefiles::daten_einlesen() {
    if (!vor_aktion()) return;
    bool geladen = false;
    programm()->ausfuehrer().fuehre_aus([&](lauf_beobachter&) { geladen = datensatz_einlesen(); }, this);
    if (THauptmenue* h = hauptfenster()) h->menuitem_activate(true);
    if (geladen) knoepfe_["Steuerfile"]->setEnabled(true);
    nach_lauf();
}

void TEinlesefiles::steuerfile_einlesen() {
    if (!vor_aktion()) return;
    const auto datei = oeffnen_dialog(this, tgtext(tg::steuerdatei_dialogtitel), steuerdatei_vorschlag(),
                                      tgtext(tg::steuerdatei_filter));
    if (!datei) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool ok = false;
    handlung([&] { ok = lese_steuerfile(*datei); });
    QApplication::restoreOverrideCursor();
    if (ok) status(q(tg::steuerdatei_gelesen) + QString::fromStdString(datei->string()));
}

void TEinlesefiles::serie_rechnen() {
    if (!vor_aktion()) return;
    if (THauptmenue* h = hauptfenster()) h->setze_zwischenergebnisse(false);
    programm()->senke().vergiss_protokollfehler();
    serienstand s;
    programm()->ausfuehrer().fuehre_aus(
        [&](lauf_beobachter& b) { s = ::serie_rechnen(b); }, this);
    QString text = q(tg::serie_gerechnet).arg(s.gerechnet);
    if (s.uebersprungen > 0) text += q(tg::serie_uebersprungen).arg(s.uebersprungen);
    if (!s.angehalten_bei.empty()) {
        text += QStringLiteral("\n") + q(tg::serie_angehalten) + QString::fromStdString(s.angehalten_bei);
        const std::string grund = programm()->senke().letzter_protokollfehler();
        if (s.abgebrochen && programm()->ausfuehrer().angehalten_gewaehlt())
            text += QStringLiteral(" (") + q(tg::lauf_angehalten) + QStringLiteral(")");
        else if (!grund.empty())
            text += QStringLiteral(" (") + QString::fromStdString(grund) + QStringLiteral(")");
    }
    status(text);
    nach_lauf();
}

void TEinlesefiles::optimieren() {
    if (!vor_aktion()) return;
    bool fertig = false;
    programm()->ausfuehrer().fuehre_aus([&](lauf_beobachter& b) { fertig = ::optimieren(b); }, this);
    if (THauptmenue* h = hauptfenster()) h->menuitem_activate(true);
    if (fertig && gewaehltes_ausgabefile())
        status(q(tg::optimierung_fertig) + QString::fromStdString(gewaehltes_ausgabefile()->pfad.string()));
    nach_lauf();
}

void TEinlesefiles::wetterstation_und_steuern() {
    if (!vor_aktion()) return;
    bool bereit = false;
    programm()->ausfuehrer().fuehre_aus([&](lauf_beobachter&) { bereit = zum_steuern_einlesen(); }, this);
    if (THauptmenue* h = hauptfenster()) h->menuitem_activate(true);
    nach_lauf();
    if (!bereit) return;
    // The station's start point from the clock, the ports of its devices and
    // the run's area; the port search may take a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    handlung([] {
        programm()->geraete().station().initialisiere_wetterstation_fuer_steuern(zustand::anlage(0),
                                                                                 zustand::lauf().maxa);
    });
    QApplication::restoreOverrideCursor();
    programm()->wetterstation().zeige_zum_steuern();
}

void TEinlesefiles::kopieren() {
    if (angezeigt_.empty()) return;
    if ((geaendert_ || neu_) && !speichern()) return;
    std::vector<std::pair<std::string, std::string>> kopie;
    handlung([&] { kopie = kopie_von_datensatz(angezeigt_); });
    if (kopie.empty()) return;
    laedt_ = true;
    for (const auto& [spalte, wert] : kopie) {
        if (spalte == "lock") fixiert_->setChecked(wert == "F");
        else setze_feld(spalte, QString::fromStdString(wert));
    }
    laedt_ = false;
    // The copy waits in the fields for the user to complete and post it.
    neu_ = true;
    seiten_->setCurrentIndex(0);
}

void TEinlesefiles::suchen() {
    if ((geaendert_ || neu_) && !speichern()) return;
    programm()->datensatz_suchen().zeige_modal(tabledata::thaupt);
    // The list shows the view the search left (its filter) and stands on the
    // data set found.
    std::string gefunden;
    handlung([&] {
        tabelle& haupt = tab(tabledata::thaupt);
        if (haupt.ist_offen() && haupt.hat_zeile()) gefunden = haupt.text("name");
    });
    handlung([] { haupt_ordnen(); });
    liste_lesen();
    if (!gefunden.empty()) waehle_datensatz(QString::fromStdString(gefunden));
}

void TEinlesefiles::drucken() {
    if (!vor_aktion()) return;
    programm()->ausdruck().zeige_modal();
}

void TEinlesefiles::anwenden() {
    if ((geaendert_ || neu_) && !speichern()) return;
    suchfelder f;
    f.name = suchfelder_[0]->text().trimmed().toStdString();
    f.land = suchfelder_[1]->text().trimmed().toStdString();
    f.bezirk = suchfelder_[2]->text().trimmed().toStdString();
    f.ort = suchfelder_[3]->text().trimmed().toStdString();
    f.kundennummer = suchfelder_[4]->text().trimmed().toStdString();
    handlung([&] { wende_suchfilter_an(f); });
    liste_lesen();
}

void TEinlesefiles::fixierungen_loeschen() {
    if ((geaendert_ || neu_) && !speichern()) return;
    handlung([] { ::fixierungen_loeschen(); });
    liste_lesen();
}

void TEinlesefiles::datensaetze_loeschen() {
    if ((geaendert_ || neu_) && !speichern()) return;
    QMessageBox frage(QMessageBox::Question, windowTitle(), q(tg::nicht_fixierte_loeschen),
                      QMessageBox::Yes | QMessageBox::No, this);
    frage.setObjectName(QStringLiteral("frage"));
    frage.setDefaultButton(QMessageBox::No);
    if (frage.exec() != QMessageBox::Yes) return;
    handlung([] { nicht_fixierte_loeschen(); });
    angezeigt_.clear();
    liste_lesen();
}

void TEinlesefiles::addiere_default() {
    if ((geaendert_ || neu_) && !speichern()) return;
    int n = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    handlung([&] {
        n = ::addiere_default(datenbanken()[tabledata::thaupt].datei.parent_path());
        tab(tabledata::thaupt).aktualisiere();
        tab(tabledata::tkontrolle).aktualisiere();
    });
    QApplication::restoreOverrideCursor();
    status(q(tg::addiere_default_fertig) + QString::number(n));
    liste_lesen();
}

void TEinlesefiles::grenzen_uebernehmen() {
    if (angezeigt_.empty()) return;
    grenzen_und_schrittweiten g;
    g.maxa = grenzfelder_["maxa"]->text().trimmed().toStdString();
    g.danzflaeche = grenzfelder_["danzflaeche"]->text().trimmed().toStdString();
    g.anzge = grenzfelder_["anzge"]->text().trimmed().toStdString();
    g.anzdeltatkol = grenzfelder_["anzdeltatkol"]->text().trimmed().toStdString();
    g.flaeche = grenzfelder_["flaeche"]->text().trimmed().toStdString();
    handlung([&] { speichere_grenzen(feldtext("rech").toStdString(), feldtext("kolo").toStdString(), g); });
    zeige_datensatz(modell_->finde("name", angezeigt_));
}

void TEinlesefiles::gruppe_zuordnen() {
    if (angezeigt_.empty() || gruppenwahl_->currentText().isEmpty()) return;
    handlung([&] { ::gruppe_zuordnen(angezeigt_, gruppenwahl_->currentText().toStdString()); });
    gruppen_zeigen();
}
