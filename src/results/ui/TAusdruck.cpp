#include "results/ui/TAusdruck.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/THauptmenue.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "results/datensatz_ausdruck.h"
#include "lang/sprache.h"
#include "results/ui/listendruck_maler.h"

namespace {
QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

namespace c {
constexpr text_paar titel{"Ausdruck", "Printout"};
constexpr text_paar datensatz{"Datensatz:", "Data set:"};
constexpr text_paar daten{"Daten", "Data"};
constexpr text_paar namen{"Namen", "Names"};
constexpr text_paar werte{"Werte", "Values"};
constexpr text_paar drucken{"Drucken", "Print"};
constexpr text_paar schliessen{"Schließen", "Close"};
}  // namespace c
}  // namespace

TAusdruck::TAusdruck(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TAusdruck"));
    auto* spalte = new QVBoxLayout(this);
    datensatz_ = new QLabel(this);
    datensatz_->setObjectName(QStringLiteral("Label1"));
    spalte->addWidget(datensatz_);
    auto* mitte = new QHBoxLayout;
    liste_ = new QListWidget(this);
    liste_->setObjectName(QStringLiteral("ListBox1"));
    liste_->setSelectionMode(QAbstractItemView::MultiSelection);
    mitte->addWidget(liste_, 1);
    daten_ = new QGroupBox(this);
    daten_->setObjectName(QStringLiteral("RadioGroup1"));
    auto* d = new QVBoxLayout(daten_);
    wahl_ = new QButtonGroup(this);
    namen_ = new QRadioButton(daten_);
    werte_ = new QRadioButton(daten_);
    wahl_->addButton(namen_, 0);
    wahl_->addButton(werte_, 1);
    namen_->setChecked(true);
    d->addWidget(namen_);
    d->addWidget(werte_);
    d->addStretch(1);
    connect(wahl_, &QButtonGroup::idClicked, this, &TAusdruck::waehle_daten);
    mitte->addWidget(daten_, 0, Qt::AlignTop);
    spalte->addLayout(mitte, 1);
    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    drucken_ = new QPushButton(this);
    drucken_->setObjectName(QStringLiteral("BitBtn2"));
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("BitBtn1"));
    leiste->addWidget(drucken_);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    connect(drucken_, &QPushButton::clicked, this, [this] { am_ereignisrand([this] { drucken(); }); });
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    resize(520, 520);
    beschriften();
}

void TAusdruck::beschriften() {
    setWindowTitle(q(c::titel));
    datensatz_->setText(q(c::datensatz) + QStringLiteral(" ") + name_);
    daten_->setTitle(q(c::daten));
    namen_->setText(q(c::namen));
    werte_->setText(q(c::werte));
    drucken_->setText(q(c::drucken));
    schliessen_->setText(q(c::schliessen));
}

void TAusdruck::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void TAusdruck::vorbereiten() {
    name_.clear();
    liste_->clear();
    am_ereignisrand([&] {
        tabelle& h = tab(tabledata::thaupt);
        if (h.ist_offen() && h.hat_zeile()) name_ = QString::fromStdString(h.text("name"));
        for (const auto& e : ausdruck_eintraege())
            liste_->addItem(QString::fromStdString(e.spalte + ": " + e.name +
                                                   (e.arbeitsweise.empty() ? "" : " (" + e.arbeitsweise + ")")));
    });
    waehle_daten(wahl_->checkedId());
    beschriften();
}

void TAusdruck::zeige_modal() {
    vorbereiten();
    exec();
}

void TAusdruck::waehle_daten(int index) {
    (index == 0 ? namen_ : werte_)->setChecked(true);
    if (index == 0) liste_->selectAll();
}

QPushButton* TAusdruck::knopf(const char* name) const { return findChild<QPushButton*>(QString::fromLatin1(name)); }

std::vector<druckzeile> TAusdruck::zeilen() const {
    std::vector<druckzeile> z;
    am_ereignisrand([&] {
        if (wahl_->checkedId() == 0) {
            z = ausdruck_namen();
            return;
        }
        std::vector<bool> auswahl;
        for (int i = 0; i < liste_->count(); ++i) auswahl.push_back(liste_->item(i)->isSelected());
        z = ausdruck_werte(auswahl);
    });
    return z;
}

bool TAusdruck::drucke_auf(QPrinter& drucker) {
    if (!programm()) return false;
    return drucke_zeilen(drucker, programm()->hauptmenue().druckerschrift(), zeilen());
}

void TAusdruck::drucken() {
    QPrinter* d = waehle_drucker(this, name_.isEmpty() ? QStringLiteral("Ausdruck") : name_);
    if (d) drucke_auf(*d);
}
