#include "input/ui/TNeuanlegen.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/ui/ereignisrand.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "input/datensatz_suchen.h"
#include "sheets/ui/TDatenblatt.h"
#include "sheets/ui/Tdatenblatt_2.h"

using namespace tabledata;

namespace {
constexpr text_paar TITEL{"Neu anlegen", "Create new"};
constexpr text_paar SCHLIESSEN{"Schließen", "Close"};
QString q(const text_paar& t) { return QString::fromStdString(t.text()); }

// The groups in menu order (the group of each entry is one of them).
std::vector<const text_paar*> gruppenfolge() {
    std::vector<const text_paar*> g;
    for (const auto& e : neuanlegen_menue()) {
        bool neu = true;
        for (const text_paar* x : g) neu = neu && std::string(x->deutsch) != e.gruppe.deutsch;
        if (neu) g.push_back(&e.gruppe);
    }
    return g;
}
}  // namespace

TNeuanlegen::TNeuanlegen(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TNeuanlegen"));
    auto* spalte = new QVBoxLayout(this);
    auto* raster = new QGridLayout;
    const auto folge = gruppenfolge();
    for (std::size_t g = 0; g < folge.size(); ++g) {
        auto* box = new QGroupBox(this);
        auto* l = new QVBoxLayout(box);
        auto* liste = new QListWidget(box);
        liste->setObjectName(QStringLiteral("gruppe_%1").arg(g));
        QFont f = liste->font();
        f.setFamily(QStringLiteral("Monospace"));
        f.setStyleHint(QFont::TypeWriter);
        liste->setFont(f);
        l->addWidget(liste);
        gruppen_.push_back(box);
        listen_.push_back(liste);
        const auto& menue = neuanlegen_menue();
        for (std::size_t i = 0; i < menue.size(); ++i) {
            if (std::string(menue[i].gruppe.deutsch) != folge[g]->deutsch) continue;
            auto* item = new QListWidgetItem(liste);
            item->setData(Qt::UserRole, static_cast<int>(i));
        }
        connect(liste, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            const int i = item->data(Qt::UserRole).toInt();
            am_ereignisrand([&] { waehle(i); });
        });
        // Lists as high as their entries.
        liste->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        liste->setFixedHeight(liste->sizeHintForRow(0) * liste->count() + 2 * liste->frameWidth() + 4);
        // Mean values and system data side by side, the short groups below.
        static const int lage[5][4] = {{0, 0, 2, 1}, {0, 1, 2, 1}, {2, 0, 1, 1}, {2, 1, 1, 1}, {3, 0, 1, 1}};
        const auto& l2 = lage[std::min<std::size_t>(g, 4)];
        raster->addWidget(box, l2[0], l2[1], l2[2], l2[3], Qt::AlignTop);
    }
    raster->setRowStretch(4, 1);
    spalte->addLayout(raster, 1);
    auto* leiste = new QHBoxLayout;
    leiste->addStretch(1);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("Schliessen"));
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    leiste->addWidget(schliessen_);
    spalte->addLayout(leiste);
    beschriften();
    // As large as the lists with their captions.
    resize(std::max(sizeHint().width(), 900), sizeHint().height());
}

void TNeuanlegen::beschriften() {
    setWindowTitle(q(TITEL));
    schliessen_->setText(q(SCHLIESSEN));
    const auto folge = gruppenfolge();
    const auto& menue = neuanlegen_menue();
    for (std::size_t g = 0; g < gruppen_.size(); ++g) {
        gruppen_[g]->setTitle(q(*folge[g]));
        for (int r = 0; r < listen_[g]->count(); ++r) {
            QListWidgetItem* item = listen_[g]->item(r);
            item->setText(q(menue[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())].text));
        }
    }
}

void TNeuanlegen::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void TNeuanlegen::waehle(int eintrag) {
    const auto& menue = neuanlegen_menue();
    if (eintrag < 0 || eintrag >= static_cast<int>(menue.size()) || !programm()) return;
    const neuanlegen_eintrag& e = menue[static_cast<std::size_t>(eintrag)];
    if (e.tabelle == tluft) {
        programm()->datenblatt_2().oeffne_luft();
        programm()->datenblatt_2().exec();
        return;
    }
    if (e.details) {
        // A detail table is edited with its monthly record.
        const int monat = e.tabelle == tir_ta_d ? tir_ta_m : e.tabelle == teh_d ? teh_m : tew_m;
        const detailart art =
            e.tabelle == tir_ta_d ? detailart::wetter : e.tabelle == teh_d ? detailart::heizung : detailart::warmwasser;
        tabelle& m = tab(monat);
        if (m.ist_offen()) {
            m.filter_aus();
            m.sortiere_nach_schluessel();
            if (!m.hat_zeile()) m.erster();
        }
        programm()->datenblatt_2().zeige_modal(art);
        return;
    }
    programm()->datenblatt().zeige_modal(e.tabelle);
}
