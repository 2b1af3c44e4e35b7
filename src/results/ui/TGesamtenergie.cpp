#include "results/ui/TGesamtenergie.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/ereignisrand.h"
#include "data/datenbank.h"
#include "data/zahltext.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/gesamtenergie.h"
#include "sheets/ui/blatt_raster.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

namespace c {
constexpr text_paar titel{"Gesamtenergie berechnen", "Compute total energy"};
constexpr text_paar flaeche{"Beheizte Fläche:", "Heated area:"};
constexpr text_paar pro_flaeche{"Verbrauch pro Fläche:", "Consumption per area:"};
constexpr text_paar verbrauch{"Verbrauch:", "Consumption:"};
constexpr text_paar gesamt{"Gesamtenergie", "Total energy"};
constexpr text_paar heizwerte{"Heizwerttabelle", "Table of heating values"};
constexpr text_paar uebernehmen{"Übernehmen", "Take over"};
constexpr text_paar schliessen{"Schließen", "Close"};
constexpr text_paar zahlfehler{"' ist kein gültiger Gleitkommawert", "' is not a valid floating point value"};
}  // namespace c

std::optional<double> zahl_aus(QLineEdit* f) {
    const std::string text = f->text().trimmed().toStdString();
    if (const auto x = lies_zahl(text)) return x;
    meldung("'" + text + c::zahlfehler.text(), "M", 'E');
    return std::nullopt;
}

QString zahltext(double x) { return QString::number(x, 'g', 10); }

}  // namespace

TGesamtenergie::TGesamtenergie(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TGesamtenergie"));
    auto* spalte = new QVBoxLayout(this);
    gruppe_ = new QLabel(this);
    QFont f = gruppe_->font();
    f.setBold(true);
    gruppe_->setFont(f);
    spalte->addWidget(gruppe_);
    auto* raster = new QGridLayout;
    auto zeile = [&](int z, QLabel*& titel, QLineEdit*& feld, const char* name, QLabel*& einheit) {
        titel = new QLabel(this);
        feld = new QLineEdit(this);
        feld->setObjectName(QString::fromLatin1(name));
        feld->setAlignment(Qt::AlignRight);
        feld->setMinimumWidth(120);
        einheit = new QLabel(this);
        einheit->setObjectName(QStringLiteral("einheit_") + QString::fromLatin1(name));
        raster->addWidget(titel, z, 0);
        raster->addWidget(feld, z, 1);
        raster->addWidget(einheit, z, 2);
    };
    zeile(0, t_flaeche_, flaeche_, "Edit2", e_flaeche_);
    zeile(1, t_pro_flaeche_, pro_flaeche_, "Edit3", e_pro_flaeche_);
    zeile(2, t_verbrauch_, verbrauch_, "Edit4", e_verbrauch_);
    zeile(3, t_gesamt_, gesamt_, "Edit1", e_gesamt_);
    gleich_ = new QPushButton(QStringLiteral("="), this);
    gleich_->setObjectName(QStringLiteral("Button2"));
    raster->addWidget(gleich_, 2, 3, 2, 1);
    raster->setColumnStretch(1, 1);
    raster->setColumnMinimumWidth(2, 110);
    spalte->addLayout(raster);
    t_heizwerte_ = new QLabel(this);
    spalte->addWidget(t_heizwerte_);
    heizwerte_ = new blatt_raster(tabledata::theizwert, this);
    spalte->addWidget(heizwerte_, 1);
    connect(heizwerte_, &blatt_raster::zeile_gewechselt, this, [this] { brennstoff_zeigen(); });
    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    uebernehmen_ = new QPushButton(this);
    uebernehmen_->setObjectName(QStringLiteral("Button1"));
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("BitBtn1"));
    leiste->addWidget(uebernehmen_);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    connect(gleich_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { rechnen(); }); });
    connect(uebernehmen_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { uebernehmen(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    resize(640, 520);
    beschriften();
}

void TGesamtenergie::beschriften() {
    setWindowTitle(q(c::titel));
    gruppe_->setText(q(c::titel));
    t_flaeche_->setText(q(c::flaeche));
    t_pro_flaeche_->setText(q(c::pro_flaeche));
    t_verbrauch_->setText(q(c::verbrauch));
    t_gesamt_->setText(q(c::gesamt));
    t_heizwerte_->setText(q(c::heizwerte));
    uebernehmen_->setText(q(c::uebernehmen));
    schliessen_->setText(q(c::schliessen));
    heizwerte_->beschriften();
}

void TGesamtenergie::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void TGesamtenergie::vorbereiten() {
    gesamtenergie_anzeige a;
    am_ereignisrand([&] { a = gesamtenergie_oeffnen(); });
    flaeche_->setText(zahltext(a.flaeche));
    pro_flaeche_->setText(zahltext(a.energiepqm));
    gesamt_->setText(zahltext(a.gesamt));
    verbrauch_->clear();
    einheit_flaeche_ = QString::fromStdString(a.einheit_flaeche);
    e_flaeche_->setText(einheit_flaeche_);
    e_gesamt_->setText(QStringLiteral("kWh"));
    heizwerte_->lesen();
    brennstoff_zeigen();
    beschriften();
}

void TGesamtenergie::zeige_modal() {
    vorbereiten();
    exec();
}

void TGesamtenergie::brennstoff_zeigen() {
    // Consumption in fuel units, per area in fuel units per area unit.
    const QString b = heizwerte_->wert("einheitbrennstoff");
    e_verbrauch_->setText(b);
    e_pro_flaeche_->setText(b.isEmpty() ? QString() : b + QStringLiteral("/") + einheit_flaeche_);
}

QLineEdit* TGesamtenergie::feld(const char* name) const { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

QPushButton* TGesamtenergie::knopf(const char* name) const {
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void TGesamtenergie::rechnen() {
    const auto f = zahl_aus(flaeche_);
    if (!f) return;
    const auto p = zahl_aus(pro_flaeche_);
    if (!p) return;
    const auto brennwert = lies_zahl(heizwerte_->wert("brennwert").toStdString());
    const gesamtenergie_ergebnis e = gesamtenergie_rechnen(*f, *p, brennwert.value_or(0.0));
    verbrauch_->setText(zahltext(e.verbrauch));
    gesamt_->setText(zahltext(e.gesamt));
}

void TGesamtenergie::uebernehmen() {
    const auto g = zahl_aus(gesamt_);
    if (!g) return;
    const auto f = zahl_aus(flaeche_);
    if (!f) return;
    if (gesamtenergie_uebernehmen(*g, *f)) pro_flaeche_->setText(zahltext(*g / *f));
}
