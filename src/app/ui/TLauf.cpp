#include "app/ui/TLauf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/textglobale.h"

namespace {
QString q(int n) { return QString::fromStdString(tgtext(n)); }

QIcon symbol(QChar schwere) {
    QStyle* s = QApplication::style();
    switch (schwere.toLatin1()) {
    case 'E':
    case 'T':
        return s->standardIcon(QStyle::SP_MessageBoxCritical);
    case 'W':
        return s->standardIcon(QStyle::SP_MessageBoxWarning);
    default:
        return s->standardIcon(QStyle::SP_MessageBoxInformation);
    }
}
}  // namespace

TLauf::TLauf(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("TLauf"));
    setWindowModality(Qt::ApplicationModal);
    auto* spalte = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("laufzustand"));
    flaeche_ = new QLabel(this);
    schritt_ = new QLabel(this);
    zeit_ = new QLabel(this);
    zeit_->setObjectName(QStringLiteral("rechenzeit"));
    balken_ = new QProgressBar(this);
    balken_->setObjectName(QStringLiteral("laufbalken"));
    balken_->setMinimumWidth(320);
    meldungen_titel_ = new QLabel(this);
    liste_ = new QListWidget(this);
    liste_->setObjectName(QStringLiteral("laufmeldungen"));
    liste_->setWordWrap(true);
    liste_->setMinimumSize(480, 120);
    meldungen_titel_->hide();
    liste_->hide();
    anhalten_ = new QPushButton(this);
    anhalten_->setObjectName(QStringLiteral("anhalten"));
    spalte->addWidget(text_);
    spalte->addWidget(flaeche_);
    spalte->addWidget(schritt_);
    spalte->addWidget(balken_);
    spalte->addWidget(zeit_);
    spalte->addWidget(meldungen_titel_);
    spalte->addWidget(liste_, 1);
    spalte->addWidget(anhalten_, 0, Qt::AlignRight);
    connect(anhalten_, &QPushButton::clicked, this, [this] {
        if (abgeschlossen_) close();
        else anhalten();
    });
    uhr_ = new QTimer(this);
    uhr_->setInterval(200);
    connect(uhr_, &QTimer::timeout, this, &TLauf::zeit_zeigen);
    uhr_->start();
    dauer_.start();
    beschriften();
}

void TLauf::setze_beginn(const QElapsedTimer& beginn) {
    dauer_ = beginn;
    zeit_zeigen();
}

void TLauf::beschriften() {
    setWindowTitle(q(tg::titel_lauf));
    if (abgeschlossen_) {
        text_->setText(ausgang_ == ausgang::fertig     ? q(tg::lauf_beendet)
                       : ausgang_ == ausgang::angehalten ? q(tg::lauf_angehalten)
                                                         : q(tg::lauf_abgebrochen));
        anhalten_->setText(q(tg::lauf_schliessen));
    } else {
        text_->setText(eigener_text_.isEmpty() ? q(tg::lauf_laeuft) : eigener_text_);
        anhalten_->setText(q(tg::lauf_anhalten));
    }
    meldungen_titel_->setText(q(tg::lauf_meldungen));
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
    flaeche_->setText(q(tg::lauf_flaeche).arg(QLocale().toString(A, 'f', 2)));
}

void TLauf::zeige_text(const QString& text) {
    eigener_text_ = text;
    text_->setText(text);
    // A run with a line of its own (a control run) counts live intervals,
    // not the month steps of the progress bar.
    schritt_->hide();
    balken_->hide();
}

void TLauf::zeige_meldung(const QString& text, QChar schwere) {
    auto* eintrag = new QListWidgetItem(symbol(schwere), text, liste_);
    eintrag->setData(Qt::UserRole, schwere);
    meldungen_titel_->show();
    liste_->show();
    liste_->scrollToBottom();
}

void TLauf::zeit_zeigen() {
    const double s = abgeschlossen_ ? rechenzeit_s_ : static_cast<double>(dauer_.elapsed()) / 1000.0;
    zeit_->setText(q(tg::rechenzeit_sekunden).arg(QLocale().toString(s, 'f', abgeschlossen_ ? 2 : 1)));
}

void TLauf::beenden() {
    beendet_ = true;
    uhr_->stop();
    if (isVisible()) accept();
}

void TLauf::abschliessen(ausgang a, double rechenzeit_s) {
    beendet_ = true;
    abgeschlossen_ = true;
    ausgang_ = a;
    rechenzeit_s_ = rechenzeit_s;
    uhr_->stop();
    // A completed run has done all its steps.
    if (a == ausgang::fertig) wert_ = maximum_;
    anhalten_->setEnabled(true);
    beschriften();
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
