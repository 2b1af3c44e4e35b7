#include "results/ui/uebersichtsfenster.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "lang/sprache.h"
#include "results/ui/diagrammbild.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
constexpr text_paar schliessen{"Schließen", "Close"};

QChartView* neue_ansicht(const uebersichtsdiagramm& d, QWidget* eltern) {
    auto* chart = new QChart;
    zeichne_diagramm(*chart, d);
    auto* v = new QChartView(chart, eltern);
    v->setObjectName(q(d.name));
    v->setRenderHint(QPainter::Antialiasing);
    v->setFrameShape(QFrame::NoFrame);
    v->setMinimumSize(300, 225);
    return v;
}
}  // namespace

uebersichtsfenster::uebersichtsfenster(const char* name, QWidget* eltern) : QDialog(eltern) {
    setObjectName(QString::fromLatin1(name));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    spalte_ = new QVBoxLayout(this);
    seiten_ = new QTabWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));
    spalte_->addWidget(seiten_, 1);
    knoepfe_ = new QHBoxLayout;
    knoepfe_->addStretch(1);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("BitBtn1"));
    knoepfe_->addWidget(schliessen_);
    spalte_->addLayout(knoepfe_);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    resize(1120, 820);
}

QPushButton* uebersichtsfenster::neuer_knopf(const char* name) {
    auto* k = new QPushButton(this);
    k->setObjectName(QString::fromLatin1(name));
    knoepfe_->insertWidget(0, k);
    return k;
}

void uebersichtsfenster::beschriften() {
    setWindowTitle(q(inhalt_.titel));
    schliessen_->setText(QString::fromStdString(schliessen.text()));
}

void uebersichtsfenster::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && sprache_ != sprache() && bauen_) aufbauen();
    QDialog::changeEvent(e);
}

void uebersichtsfenster::zeige(std::function<uebersicht()> bauen) {
    bauen_ = std::move(bauen);
    aufbauen();
    show();
    raise();
}

void uebersichtsfenster::aufbauen() {
    sprache_ = sprache();
    const int seite = seiten_->currentIndex();
    inhalt_ = bauen_();
    diagramme_.clear();
    felder_.clear();
    while (seiten_->count() > 0) {
        QWidget* w = seiten_->widget(0);
        seiten_->removeTab(0);
        delete w;
    }
    for (const uebersichtsseite& s : inhalt_.seiten) {
        auto* rahmen = new QScrollArea;
        rahmen->setWidgetResizable(true);
        rahmen->setFrameShape(QFrame::NoFrame);
        auto* w = new QWidget;
        auto* spalte = new QVBoxLayout(w);
        if (!s.felder.empty()) {
            auto* zeile = new QHBoxLayout;
            for (const uebersichtsfeld& f : s.felder) {
                auto* l = new QLabel(q(f.beschriftung), w);
                auto* e = new QLineEdit(q(f.wert), w);
                e->setObjectName(q(f.name));
                e->setReadOnly(true);
                e->setAlignment(Qt::AlignRight);
                e->setMinimumWidth(90);
                e->setMaximumWidth(140);
                zeile->addWidget(l);
                zeile->addWidget(e);
                zeile->addWidget(new QLabel(q(f.einheit), w));
                zeile->addSpacing(24);
                felder_[f.name] = e;
            }
            zeile->addStretch(1);
            spalte->addLayout(zeile);
        }
        auto* raster = new QGridLayout;
        int n = 0;
        std::map<std::string, QGroupBox*> gruppen;
        for (const uebersichtsdiagramm& d : s.diagramme) {
            if (!d.sichtbar) continue;
            if (!d.gruppe.empty()) {
                QGroupBox*& g = gruppen[d.gruppe];
                if (!g) {
                    g = new QGroupBox(q(d.gruppe), w);
                    new QHBoxLayout(g);
                }
                QChartView* v = neue_ansicht(d, g);
                g->layout()->addWidget(v);
                diagramme_[d.name] = v;
                continue;
            }
            QChartView* v = neue_ansicht(d, w);
            raster->addWidget(v, n / 2, n % 2);
            diagramme_[d.name] = v;
            ++n;
        }
        spalte->addLayout(raster, 1);
        for (auto& [name, g] : gruppen) spalte->addWidget(g, 1);
        rahmen->setWidget(w);
        seiten_->addTab(rahmen, q(s.reiter));
    }
    if (seite >= 0 && seite < seiten_->count()) seiten_->setCurrentIndex(seite);
    beschriften();
}

QChartView* uebersichtsfenster::diagramm(const std::string& name) const {
    const auto it = diagramme_.find(name);
    return it == diagramme_.end() ? nullptr : it->second;
}

QLineEdit* uebersichtsfenster::feld(const std::string& name) const {
    const auto it = felder_.find(name);
    return it == felder_.end() ? nullptr : it->second;
}
