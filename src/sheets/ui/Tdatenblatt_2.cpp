#include "sheets/ui/Tdatenblatt_2.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/ui/auswahlgruppe.h"
#include "input/ui/TDetailtabelle_einlesen.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "sheets/ui/blatt_raster.h"

using namespace tabledata;

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

// Caption set of the detail data sheet.
namespace c {
constexpr text_paar titel{"Datenblatt 2", "Data sheet 2"};
constexpr text_paar s_ir_ta{"IR_TA", "IR_TA"};
constexpr text_paar s_eh_ew{"EH, EW", "EH, EW"};
constexpr text_paar s_luft{"LUFT", "AIR"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar zeitintervall{"Zeitintervall", "Time interval"};
constexpr text_paar absolute_werte{"Absolute Werte", "Absolute values"};
constexpr text_paar nur_dauer{"Nur Zeitdauer", "Duration only"};
constexpr text_paar tageswerte{"Mittlere Tagesw.", "Mean daily values"};
constexpr text_paar keine_details{"Keine Details", "No details"};
constexpr text_paar w_intervall{"Intervall", "Interval"};
constexpr text_paar w_monat{"Monat", "Month"};
constexpr text_paar w_jahr{"Jahr", "Year"};
constexpr text_paar w_normieren{"Normieren", "Normalise"};
constexpr text_paar w_details{"Details", "Details"};
constexpr text_paar w_detail{"Detail", "Detail"};
constexpr text_paar w_berechnen{"Berechnen", "Compute"};
constexpr text_paar aktuelle_zeile{"Markierte Detailzeile", "Marked detail row"};
constexpr text_paar ir_aus_is{"Ir (is, h)", "Ir (is, h)"};
constexpr text_paar is_aus_ir{"Is (ir,h)", "Is (ir,h)"};
constexpr text_paar h_breite{"h (Breite)", "h (latitude)"};
constexpr text_paar mittelwerte{"Mittelwerte Monat", "Monthly means"};
constexpr text_paar monat{"Monat:", "Month:"};
constexpr text_paar berechnen{"Berechnen", "Compute"};
constexpr text_paar uebernehmen{"Übernehmen", "Take over"};
constexpr text_paar alle{"Alle berechnen und übernehmen", "Compute and take over all"};
constexpr text_paar summe_ir{"Summe Ir:", "Sum Ir:"};
constexpr text_paar summe_h{"Summe h:", "Sum h:"};
constexpr text_paar is{"Is:", "Is:"};
constexpr text_paar ta_min{"Ta min:", "Ta min:"};
constexpr text_paar ta_max{"Ta max:", "Ta max:"};
constexpr text_paar ta{"Ta:", "Ta:"};
constexpr text_paar anzahl{"Intervalle:", "Intervals:"};
constexpr text_paar summe_energie{"Summe Energie:", "Sum of energy:"};
constexpr text_paar gesamte_einstrahlung{"Gesamte Einstrahlung", "Total irradiation"};
constexpr text_paar kwh_qm{"Summe (kWh/qm):", "Sum (kWh/m²):"};
constexpr text_paar breitengrad{"Daten aus Breitengrad", "Data from latitude"};
constexpr text_paar tageslaenge{"Tageslänge (h):", "Day length (h):"};
constexpr text_paar monatsstunden{"Tagstunden des Monats (h):", "Daylight hours of the month (h):"};
constexpr text_paar normieren_monat{"Normieren auf Monatswert", "Fit to the month value"};
constexpr text_paar alle_normieren{"Alle normieren", "Fit all months"};
constexpr text_paar kopiere{"Kopiere aus IR_TA_M", "Copy from IR_TA_M"};
constexpr text_paar einlesen{"Einlesen", "Import"};
constexpr text_paar alle_loeschen{"Alle löschen", "Delete all"};
constexpr text_paar alle_loeschen_frage{"Alle Detailzeilen des Datensatzes löschen?",
                                        "Delete every detail row of the record?"};
constexpr text_paar monatswert{"Monatswert", "Month value"};
constexpr text_paar relativ{"Relativ", "Relative"};
constexpr text_paar absolut{"Absolut", "Absolute"};
constexpr text_paar fuellen{"Details füllen", "Fill details"};
constexpr text_paar gleiche_tage{"Gleiche Tage", "Equal days"};
constexpr text_paar erster_tag{"Erster Tag", "First day"};
constexpr text_paar gleiche_monate{"Gleiche Monate", "Equal months"};
constexpr text_paar alle_aendern{"Alle ändern", "Change all"};
constexpr text_paar gesamter_verbrauch{"Gesamter Verbrauch", "Total consumption"};
constexpr text_paar geloescht{"Detailzeilen gelöscht: ", "Detail rows deleted: "};
}  // namespace c

std::string endung(detailart a) {
    return a == detailart::heizung ? "_eh" : a == detailart::warmwasser ? "_ew" : "";
}

QString zahltext(double x) { return QString::number(x, 'g', 8); }

}  // namespace

Tdatenblatt_2::Tdatenblatt_2(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Tdatenblatt_2"));
    auto* spalte = new QVBoxLayout(this);
    seiten_ = new QTabWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));
    seiten_->addTab(baue_paar(seiten_, detailart::wetter), QString());
    bedarf_stapel_ = new QStackedWidget(seiten_);
    bedarf_stapel_->addWidget(baue_paar(bedarf_stapel_, detailart::heizung));
    bedarf_stapel_->addWidget(baue_paar(bedarf_stapel_, detailart::warmwasser));
    seiten_->addTab(bedarf_stapel_, QString());
    luft_ = new blatt_raster(tluft, seiten_);
    seiten_->addTab(luft_, QString());
    spalte->addWidget(seiten_, 1);
    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("Schliessen"));
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    resize(1220, 800);
    beschriften();
}

QGroupBox* Tdatenblatt_2::neue_gruppe(QWidget* eltern, const text_paar& titel) {
    auto* g = new QGroupBox(eltern);
    gruppentitel_.emplace_back(g, titel);
    return g;
}

QPushButton* Tdatenblatt_2::neuer_knopf(QWidget* eltern, const std::string& name, const text_paar& titel,
                                        void (Tdatenblatt_2::*h)()) {
    auto* k = new QPushButton(eltern);
    k->setObjectName(QString::fromStdString(name));
    knoepfe_[name] = k;
    knopftitel_.emplace_back(k, titel);
    connect(k, &QPushButton::clicked, this, [this, h] { am_ereignisrand([&] { (this->*h)(); }); });
    return k;
}

QLineEdit* Tdatenblatt_2::neues_feld(QWidget* eltern, const std::string& name) {
    auto* f = new QLineEdit(eltern);
    f->setObjectName(QString::fromStdString(name));
    f->setReadOnly(true);
    f->setMinimumWidth(90);
    felder_[name] = f;
    return f;
}

QSpinBox* Tdatenblatt_2::neues_monatsfeld(QWidget* eltern, const std::string& name) {
    auto* m = new QSpinBox(eltern);
    m->setObjectName(QString::fromStdString(name));
    m->setRange(1, 12);
    monate_[name] = m;
    return m;
}

QLabel* Tdatenblatt_2::neues_label(QWidget* eltern, const text_paar& titel) {
    auto* l = new QLabel(eltern);
    labels_.emplace_back(l, titel);
    return l;
}

QWidget* Tdatenblatt_2::baue_paar(QWidget* eltern, detailart art) {
    auto* w = new QWidget(eltern);
    auto* reihe = new QHBoxLayout(w);
    auto* teiler = new QSplitter(Qt::Vertical, w);
    paar p;
    const int monat = art == detailart::wetter ? tir_ta_m : art == detailart::heizung ? teh_m : tew_m;
    const int detail = art == detailart::wetter ? tir_ta_d : art == detailart::heizung ? teh_d : tew_d;
    p.monat = new blatt_raster(monat, teiler);
    p.detail = new blatt_raster(detail, teiler);
    teiler->addWidget(p.monat);
    teiler->addWidget(p.detail);
    teiler->setStretchFactor(0, 1);
    teiler->setStretchFactor(1, 2);
    reihe->addWidget(teiler, 3);
    connect(p.monat, &blatt_raster::zeile_gewechselt, this, [this, art] { monat_gewechselt(art); });

    auto* rechts = new QVBoxLayout;
    const std::string k = tabellenschluessel(monat);
    auswahlgruppe* zi = nullptr;
    if (art == detailart::wetter) {
        zi = new auswahlgruppe(c::zeitintervall,
                               {{c::absolute_werte, "A"}, {c::nur_dauer, "D"}, {c::tageswerte, "T"}, {c::keine_details, "K"}},
                               w, 2);
    } else {
        zi = new auswahlgruppe(c::zeitintervall, {{c::absolute_werte, "A"}, {c::keine_details, "K"}}, w, 2);
    }
    zi->setObjectName(QString::fromStdString(k + ".zeitintervall"));
    gruppen_[k + ".zeitintervall"] = zi;
    connect(zi, &auswahlgruppe::gewaehlt, this, [this, art, zi] {
        am_ereignisrand([&] { paare_[art].monat->aendern({{"zeitintervall", zi->code()}}); });
    });
    rechts->addWidget(zi);
    p.werkzeuge = new QTabWidget(w);
    p.werkzeuge->setObjectName(QStringLiteral("werkzeuge"));
    if (art == detailart::wetter) {
        p.werkzeuge->insertTab(0, baue_wetterwerkzeuge(p.werkzeuge), QString());
    } else {
        auto* g = new auswahlgruppe(c::monatswert, {{c::relativ, "R"}, {c::absolut, "A"}}, w, 2);
        g->setObjectName(QString::fromStdString(k + ".rel"));
        gruppen_[k + ".rel"] = g;
        connect(g, &auswahlgruppe::gewaehlt, this, [this, art, g] {
            am_ereignisrand([&] { paare_[art].monat->aendern({{"rel", g->code()}}); });
        });
        rechts->addWidget(g);
        p.werkzeuge->insertTab(0, baue_bedarfswerkzeuge(p.werkzeuge, art), QString());
    }
    rechts->addWidget(p.werkzeuge, 1);
    reihe->addLayout(rechts, 2);
    paare_[art] = p;
    return w;
}

QWidget* Tdatenblatt_2::baue_wetterwerkzeuge(QWidget* eltern) {
    // The tool pages are built into one widget and split into tabs below.
    auto* tabs = static_cast<QTabWidget*>(eltern);
    // Interval.
    auto* intervall = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(intervall);
        auto* g = neue_gruppe(intervall, c::aktuelle_zeile);
        auto* gl = new QVBoxLayout(g);
        gl->addWidget(neuer_knopf(g, "IrAusIs", c::ir_aus_is, &Tdatenblatt_2::ir_aus_is));
        gl->addWidget(neuer_knopf(g, "IsAusIr", c::is_aus_ir, &Tdatenblatt_2::is_aus_ir));
        gl->addWidget(neuer_knopf(g, "HBreite", c::h_breite, &Tdatenblatt_2::h_aus_breite));
        l->addWidget(g);
        l->addStretch(1);
    }
    // Month.
    auto* monat = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(monat);
        auto* g = neue_gruppe(monat, c::mittelwerte);
        auto* f = new QGridLayout(g);
        f->addWidget(neues_label(g, c::monat), 0, 0);
        f->addWidget(neues_monatsfeld(g, "monat_mittel"), 0, 1);
        const std::pair<const char*, const text_paar*> zeilen[] = {
            {"summe_ir", &c::summe_ir}, {"summe_h", &c::summe_h}, {"is", &c::is},        {"ta_min", &c::ta_min},
            {"ta_max", &c::ta_max},     {"ta", &c::ta},           {"anzahl", &c::anzahl}};
        int z = 1;
        for (const auto& [name, titel] : zeilen) {
            f->addWidget(neues_label(g, *titel), z, 0);
            f->addWidget(neues_feld(g, name), z, 1);
            ++z;
        }
        f->addWidget(neuer_knopf(g, "MittelBerechnen", c::berechnen, &Tdatenblatt_2::mittelwerte_berechnen), z, 0);
        f->addWidget(neuer_knopf(g, "MittelUebernehmen", c::uebernehmen, &Tdatenblatt_2::mittelwerte_uebernehmen), z,
                     1);
        f->addWidget(neuer_knopf(g, "AlleBerechnen", c::alle, &Tdatenblatt_2::alle_berechnen), z + 1, 0, 1, 2);
        l->addWidget(g);
        l->addStretch(1);
    }
    // Year.
    auto* jahr = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(jahr);
        auto* g = neue_gruppe(jahr, c::gesamte_einstrahlung);
        auto* f = new QGridLayout(g);
        f->addWidget(neues_label(g, c::kwh_qm), 0, 0);
        f->addWidget(neues_feld(g, "irgesamt"), 0, 1);
        f->addWidget(neuer_knopf(g, "EinstrahlungBerechnen", c::berechnen, &Tdatenblatt_2::einstrahlung_berechnen), 1,
                     0);
        f->addWidget(
            neuer_knopf(g, "EinstrahlungUebernehmen", c::uebernehmen, &Tdatenblatt_2::einstrahlung_uebernehmen), 1, 1);
        l->addWidget(g);
        auto* b = neue_gruppe(jahr, c::breitengrad);
        auto* bf = new QGridLayout(b);
        bf->addWidget(neues_label(b, c::monat), 0, 0);
        bf->addWidget(neues_monatsfeld(b, "monat_breite"), 0, 1);
        bf->addWidget(neues_label(b, c::tageslaenge), 1, 0);
        bf->addWidget(neues_feld(b, "tageslaenge"), 1, 1);
        bf->addWidget(neues_label(b, c::monatsstunden), 2, 0);
        bf->addWidget(neues_feld(b, "monatsstunden"), 2, 1);
        bf->addWidget(neuer_knopf(b, "Breitengrad", c::berechnen, &Tdatenblatt_2::breitengrad), 3, 1);
        l->addWidget(b);
        l->addStretch(1);
    }
    // Fitting.
    auto* norm = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(norm);
        auto* g = neue_gruppe(norm, c::normieren_monat);
        auto* f = new QGridLayout(g);
        f->addWidget(neues_label(g, c::monat), 0, 0);
        f->addWidget(neues_monatsfeld(g, "monat_normieren"), 0, 1);
        f->addWidget(neuer_knopf(g, "Normieren", c::normieren_monat, &Tdatenblatt_2::normieren), 1, 0, 1, 2);
        f->addWidget(neuer_knopf(g, "AlleNormieren", c::alle_normieren, &Tdatenblatt_2::alle_normieren), 2, 0, 1, 2);
        l->addWidget(g);
        l->addStretch(1);
    }
    // The record's detail rows as a whole.
    auto* details = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(details);
        l->addWidget(neuer_knopf(details, "KopiereAusIrTaM", c::kopiere, &Tdatenblatt_2::kopiere_aus_ir_ta_m));
        l->addWidget(neuer_knopf(details, "Einlesen", c::einlesen, &Tdatenblatt_2::einlesen));
        l->addWidget(neuer_knopf(details, "AlleLoeschen", c::alle_loeschen, &Tdatenblatt_2::alle_loeschen));
        l->addStretch(1);
    }
    tabs->addTab(monat, QString());
    tabs->addTab(jahr, QString());
    tabs->addTab(norm, QString());
    tabs->addTab(details, QString());
    // The interval page is returned and inserted first by the caller.
    return intervall;
}

QWidget* Tdatenblatt_2::baue_bedarfswerkzeuge(QWidget* eltern, detailart art) {
    auto* tabs = static_cast<QTabWidget*>(eltern);
    const std::string e = endung(art);
    // Filling details ("Detail").
    auto* detail = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(detail);
        auto* g = neue_gruppe(detail, c::fuellen);
        auto* f = new QGridLayout(g);
        f->addWidget(neuer_knopf(g, "GleicheTage" + e, c::gleiche_tage, &Tdatenblatt_2::gleiche_tage), 0, 0);
        f->addWidget(neues_monatsfeld(g, "monat_tage" + e), 0, 1);
        f->addWidget(neuer_knopf(g, "ErsterTag" + e, c::erster_tag, &Tdatenblatt_2::erster_tag), 1, 0, 1, 2);
        f->addWidget(neuer_knopf(g, "GleicheMonate" + e, c::gleiche_monate, &Tdatenblatt_2::gleiche_monate), 2, 0, 1,
                     2);
        f->addWidget(neuer_knopf(g, "AlleAendern" + e, c::alle_aendern, &Tdatenblatt_2::alle_aendern), 3, 0, 1, 2);
        l->addWidget(g);
        auto* n = neue_gruppe(detail, c::normieren_monat);
        auto* nf = new QGridLayout(n);
        nf->addWidget(neues_label(n, c::monat), 0, 0);
        nf->addWidget(neues_monatsfeld(n, "monat_normieren" + e), 0, 1);
        nf->addWidget(neuer_knopf(n, "Normieren" + e, c::normieren_monat, &Tdatenblatt_2::normieren), 1, 0, 1, 2);
        nf->addWidget(neuer_knopf(n, "AlleNormieren" + e, c::alle_normieren, &Tdatenblatt_2::alle_normieren), 2, 0, 1,
                      2);
        l->addWidget(n);
        l->addWidget(neuer_knopf(detail, "AlleLoeschen" + e, c::alle_loeschen, &Tdatenblatt_2::alle_loeschen));
        l->addStretch(1);
    }
    // Means ("Berechnen").
    auto* rechnen = new QWidget(tabs);
    {
        auto* l = new QVBoxLayout(rechnen);
        auto* g = neue_gruppe(rechnen, c::mittelwerte);
        auto* f = new QGridLayout(g);
        f->addWidget(neues_label(g, c::monat), 0, 0);
        f->addWidget(neues_monatsfeld(g, "monat_mittel" + e), 0, 1);
        f->addWidget(neues_label(g, c::summe_energie), 1, 0);
        f->addWidget(neues_feld(g, "summe" + e), 1, 1);
        f->addWidget(neues_label(g, c::summe_h), 2, 0);
        f->addWidget(neues_feld(g, "summe_h" + e), 2, 1);
        f->addWidget(neues_label(g, c::anzahl), 3, 0);
        f->addWidget(neues_feld(g, "anzahl" + e), 3, 1);
        f->addWidget(neuer_knopf(g, "MittelBerechnen" + e, c::berechnen, &Tdatenblatt_2::mittelwerte_berechnen), 4, 0);
        f->addWidget(neuer_knopf(g, "MittelUebernehmen" + e, c::uebernehmen, &Tdatenblatt_2::mittelwerte_uebernehmen),
                     4, 1);
        f->addWidget(neuer_knopf(g, "AlleBerechnen" + e, c::alle, &Tdatenblatt_2::alle_berechnen), 5, 0, 1, 2);
        l->addWidget(g);
        l->addWidget(
            neuer_knopf(rechnen, "GesamterVerbrauch" + e, c::gesamter_verbrauch, &Tdatenblatt_2::gesamter_verbrauch));
        l->addStretch(1);
    }
    tabs->addTab(rechnen, QString());
    return detail;
}

// --- opening and captions -------------------------------------------------------

void Tdatenblatt_2::oeffnen(detailart art) {
    art_ = art;
    const paar& p = paare_[art];
    seiten_->setTabVisible(0, art == detailart::wetter);
    seiten_->setTabVisible(1, art != detailart::wetter);
    seiten_->setTabVisible(2, false);
    seiten_->setCurrentIndex(art == detailart::wetter ? 0 : 1);
    if (art != detailart::wetter) bedarf_stapel_->setCurrentIndex(art == detailart::heizung ? 0 : 1);
    am_ereignisrand([&] {
        // The monthly table stays on the record the data sheet stood on.
        ::tabelle& m = tab(p.monat->tabelle());
        if (m.ist_offen() && !m.hat_zeile()) m.erster();
    });
    p.monat->lesen();
    beschriften();
}

void Tdatenblatt_2::zeige_modal(detailart art) {
    oeffnen(art);
    exec();
}

void Tdatenblatt_2::oeffne_luft() {
    seiten_->setTabVisible(0, false);
    seiten_->setTabVisible(1, false);
    seiten_->setTabVisible(2, true);
    seiten_->setCurrentIndex(2);
    luft_->lesen();
    beschriften();
}

void Tdatenblatt_2::beschriften() {
    setWindowTitle(q(c::titel));
    seiten_->setTabText(0, q(c::s_ir_ta));
    seiten_->setTabText(1, q(c::s_eh_ew));
    seiten_->setTabText(2, q(c::s_luft));
    schliessen_->setText(q(c::schliessen));
    for (auto& [art, p] : paare_) {
        p.monat->beschriften();
        p.detail->beschriften();
        if (art == detailart::wetter) {
            const text_paar* t[] = {&c::w_intervall, &c::w_monat, &c::w_jahr, &c::w_normieren, &c::w_details};
            for (int i = 0; i < p.werkzeuge->count() && i < 5; ++i) p.werkzeuge->setTabText(i, q(*t[i]));
        } else {
            p.werkzeuge->setTabText(0, q(c::w_detail));
            p.werkzeuge->setTabText(1, q(c::w_berechnen));
        }
    }
    luft_->beschriften();
    for (auto& [g, t] : gruppentitel_) g->setTitle(q(t));
    for (auto& [l, t] : labels_) l->setText(q(t));
    for (auto& [k, t] : knopftitel_) k->setText(q(t));
    for (auto& [n, g] : gruppen_) g->beschriften();
}

void Tdatenblatt_2::changeEvent(QEvent* e) {
    const bool lauf = programm() && programm()->ausfuehrer().laeuft();
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !lauf) beschriften();
    QDialog::changeEvent(e);
}

blatt_raster* Tdatenblatt_2::monatsraster(detailart art) const {
    const auto it = paare_.find(art);
    return it == paare_.end() ? nullptr : it->second.monat;
}

blatt_raster* Tdatenblatt_2::detailraster(detailart art) const {
    const auto it = paare_.find(art);
    return it == paare_.end() ? nullptr : it->second.detail;
}

QTabWidget* Tdatenblatt_2::werkzeugseiten(detailart art) const {
    const auto it = paare_.find(art);
    return it == paare_.end() ? nullptr : it->second.werkzeuge;
}

QPushButton* Tdatenblatt_2::knopf(const char* name) const {
    const auto it = knoepfe_.find(name);
    return it == knoepfe_.end() ? nullptr : it->second;
}

QLineEdit* Tdatenblatt_2::feld(const char* name) const {
    const auto it = felder_.find(name);
    return it == felder_.end() ? nullptr : it->second;
}

QSpinBox* Tdatenblatt_2::monatsfeld(const char* name) const {
    const auto it = monate_.find(name);
    return it == monate_.end() ? nullptr : it->second;
}

auswahlgruppe* Tdatenblatt_2::gruppe(const char* name) const {
    const auto it = gruppen_.find(name);
    return it == gruppen_.end() ? nullptr : it->second;
}

std::string Tdatenblatt_2::name_fuer(detailart art) const {
    const paar& p = paare_.at(art);
    return p.monat->wert(art == detailart::wetter ? "name" : "name_d").toStdString();
}

void Tdatenblatt_2::monat_gewechselt(detailart art) {
    paar& p = paare_[art];
    const std::string k = tabellenschluessel(p.monat->tabelle());
    if (auswahlgruppe* g = gruppe((k + ".zeitintervall").c_str()))
        g->setze_code(p.monat->wert("zeitintervall").toStdString());
    if (auswahlgruppe* g = gruppe((k + ".rel").c_str())) g->setze_code(p.monat->wert("rel").toStdString());
    // The detail rows of the record the grid stands on.
    const std::string name = name_fuer(art);
    am_ereignisrand([&] { p.detail->setze_feste_filter({{"name", "=", feldwert(name)}}); });
    p.detail->lesen();
}

bool Tdatenblatt_2::monat_positioniert() {
    if (paare_[art_].monat->positionieren()) return true;
    meldung(tgtext(tg::eintrag_markieren), "M", 'W');
    return false;
}

bool Tdatenblatt_2::detail_positioniert() {
    if (paare_[art_].detail->positionieren()) return true;
    meldung(tgtext(tg::eintrag_markieren), "M", 'W');
    return false;
}

void Tdatenblatt_2::nach_werkzeug() {
    paar& p = paare_[art_];
    // Detail rows were written through other cursors: read both grids anew.
    tab(p.monat->tabelle()).aktualisiere();
    tab(p.detail->tabelle()).aktualisiere();
    p.monat->lesen();
}

// --- tools -----------------------------------------------------------------------

void Tdatenblatt_2::ir_aus_is() {
    if (!detail_positioniert()) return;
    ::ir_aus_is();
    paare_[art_].detail->lesen();
}

void Tdatenblatt_2::is_aus_ir() {
    if (!detail_positioniert()) return;
    ::is_aus_ir();
    paare_[art_].detail->lesen();
}

void Tdatenblatt_2::h_aus_breite() {
    if (!detail_positioniert()) return;
    ::h_aus_breite();
    paare_[art_].detail->lesen();
}

void Tdatenblatt_2::mittelwerte_berechnen() {
    if (!monat_positioniert()) return;
    const std::string e = endung(art_);
    const int monat = monate_["monat_mittel" + e]->value();
    const monatsmittel m = mittelwerte(monat, Berechne_Anzahl(monat, art_), art_);
    if (art_ == detailart::wetter) {
        felder_["summe_ir"]->setText(zahltext(m.summe_ir));
        felder_["summe_h"]->setText(zahltext(m.summe_h));
        felder_["is"]->setText(zahltext(m.is));
        felder_["ta_min"]->setText(zahltext(m.ta_min));
        felder_["ta_max"]->setText(zahltext(m.ta_max));
        felder_["ta"]->setText(zahltext(m.ta));
        felder_["anzahl"]->setText(QString::number(m.anzahl));
    } else {
        felder_["summe" + e]->setText(zahltext(m.summe_ir));
        felder_["summe_h" + e]->setText(zahltext(m.summe_h));
        felder_["anzahl" + e]->setText(QString::number(m.anzahl));
    }
}

void Tdatenblatt_2::mittelwerte_uebernehmen() {
    if (!monat_positioniert()) return;
    uebernehme_mittelwerte(monate_["monat_mittel" + endung(art_)]->value(), art_);
    nach_werkzeug();
}

void Tdatenblatt_2::alle_berechnen() {
    if (!monat_positioniert()) return;
    alle_berechnen_und_uebernehmen(art_);
    nach_werkzeug();
}

void Tdatenblatt_2::einstrahlung_berechnen() {
    if (!monat_positioniert()) return;
    felder_["irgesamt"]->setText(zahltext(gesamte_einstrahlung()));
}

void Tdatenblatt_2::einstrahlung_uebernehmen() {
    if (!monat_positioniert()) return;
    uebernehme_gesamte_einstrahlung();
    nach_werkzeug();
}

void Tdatenblatt_2::breitengrad() {
    if (!monat_positioniert()) return;
    const tagesdaten d = daten_aus_breitengrad(monate_["monat_breite"]->value());
    felder_["tageslaenge"]->setText(zahltext(d.tageslaenge));
    felder_["monatsstunden"]->setText(zahltext(d.monatsstunden));
}

void Tdatenblatt_2::kopiere_aus_ir_ta_m() {
    if (!monat_positioniert()) return;
    ::kopiere_aus_ir_ta_m();
    nach_werkzeug();
}

void Tdatenblatt_2::einlesen() {
    if (!monat_positioniert() || !programm()) return;
    programm()->detailtabelle_einlesen().zeige_modal();
    nach_werkzeug();
}

void Tdatenblatt_2::alle_loeschen() {
    if (!monat_positioniert()) return;
    if (!aktuelle_meldungs_senke().frage(c::alle_loeschen_frage.text() + " " + name_fuer(art_))) return;
    const long long n = loesche_alle_details(art_);
    meldung(c::geloescht.text() + std::to_string(n), "S", 'M');
    nach_werkzeug();
}

void Tdatenblatt_2::normieren() {
    if (!monat_positioniert()) return;
    normiere_monat(monate_["monat_normieren" + endung(art_)]->value(), art_);
    nach_werkzeug();
}

void Tdatenblatt_2::alle_normieren() {
    if (!monat_positioniert()) return;
    normiere_alle(art_);
    nach_werkzeug();
}

void Tdatenblatt_2::gleiche_tage() {
    if (!monat_positioniert()) return;
    ::gleiche_tage(monate_["monat_tage" + endung(art_)]->value(), art_);
    nach_werkzeug();
}

void Tdatenblatt_2::erster_tag() {
    if (!monat_positioniert()) return;
    ::erster_tag(art_);
    nach_werkzeug();
}

void Tdatenblatt_2::gleiche_monate() {
    if (!monat_positioniert()) return;
    ::gleiche_monate(art_);
    nach_werkzeug();
}

void Tdatenblatt_2::alle_aendern() {
    if (!monat_positioniert()) return;
    ::alle_aendern(art_);
    nach_werkzeug();
}

void Tdatenblatt_2::gesamter_verbrauch() {
    if (!monat_positioniert()) return;
    uebernehme_gesamten_verbrauch(art_);
    nach_werkzeug();
}
