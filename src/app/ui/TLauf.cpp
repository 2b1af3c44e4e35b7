#include "app/ui/TLauf.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/textglobale.h"

namespace {
QString q(int n) { return QString::fromStdString(tgtext(n)); }
}  // namespace

TLauf::TLauf(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TLauf"));
    setWindowModality(Qt::ApplicationModal);
    auto* spalte = new QVBoxLayout(this);
    text_ = new QLabel(this);
    flaeche_ = new QLabel(this);
    schritt_ = new QLabel(this);
    zeit_ = new QLabel(this);
    balken_ = new QProgressBar(this);
    balken_->setObjectName(QStringLiteral("laufbalken"));
    balken_->setMinimumWidth(320);
    anhalten_ = new QPushButton(this);
    anhalten_->setObjectName(QStringLiteral("anhalten"));
    spalte->addWidget(text_);
    spalte->addWidget(flaeche_);
    spalte->addWidget(schritt_);
    spalte->addWidget(balken_);
    spalte->addWidget(zeit_);
    spalte->addWidget(anhalten_, 0, Qt::AlignRight);
    connect(anhalten_, &QPushButton::clicked, this, &TLauf::anhalten);
    uhr_ = new QTimer(this);
    uhr_->setInterval(200);
    connect(uhr_, &QTimer::timeout, this, &TLauf::zeit_zeigen);
    uhr_->start();
    dauer_.start();
    beschriften();
}

void TLauf::beschriften() {
    setWindowTitle(q(tg::titel_lauf));
    text_->setText(eigener_text_.isEmpty() ? q(tg::lauf_laeuft) : eigener_text_);
    anhalten_->setText(q(tg::lauf_anhalten));
    zeige_fortschritt(wert_, maximum_);
    if (A_ >= 0.0) zeige_flaeche(A_);
    zeit_zeigen();
}

void TLauf::zeige_fortschritt(int wert, int maximum) {
    wert_ = wert;
    maximum_ = maximum;
    balken_->setRange(0, maximum > 0 ? maximum : 1);
    balken_->setValue(std::min(wert, balken_->maximum()));
    schritt_->setText(q(tg::lauf_monat).arg(wert).arg(maximum));
}

void TLauf::zeige_flaeche(double A) {
    A_ = A;
    flaeche_->setText(q(tg::lauf_flaeche).arg(A, 0, 'f', 2));
}

void TLauf::zeige_text(const QString& text) {
    eigener_text_ = text;
    text_->setText(text);
    // A run with a line of its own (a control run) counts live intervals,
    // not the month steps of the progress bar.
    schritt_->hide();
    balken_->hide();
}

void TLauf::zeit_zeigen() {
    zeit_->setText(q(tg::rechenzeit_sekunden).arg(static_cast<double>(dauer_.elapsed()) / 1000.0, 0, 'f', 1));
}

void TLauf::beenden() {
    beendet_ = true;
    uhr_->stop();
    accept();
}

void TLauf::anhalten() {
    anhalten_->setEnabled(false);
    emit anhalten_gewaehlt();
}

void TLauf::closeEvent(QCloseEvent* e) {
    if (beendet_) {
        e->accept();
        return;
    }
    e->ignore();
    anhalten();
}

void TLauf::reject() {
    if (beendet_) QDialog::reject();
    else anhalten();
}
