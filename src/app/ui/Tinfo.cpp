#include "app/ui/Tinfo.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/textglobale.h"

namespace {
constexpr text_paar schliessen{"Schließen", "Close"};
QString q(int n) { return QString::fromStdString(tgtext(n)); }
}  // namespace

Tinfo::Tinfo(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Tinfo"));
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(55, 40, 20, 15);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setMinimumSize(240, 150);
    spalte->addWidget(text_, 1);
    auto* reihe = new QHBoxLayout;
    reihe->addStretch(1);
    schliessen_ = new QPushButton(this);
    schliessen_->setObjectName(QStringLiteral("schliessen"));
    schliessen_->setMinimumWidth(90);
    connect(schliessen_, &QPushButton::clicked, this, &QDialog::accept);
    reihe->addWidget(schliessen_);
    spalte->addLayout(reihe);
    resize(470, 300);
    beschriften();
}

void Tinfo::beschriften() {
    setWindowTitle(q(tg::titel_info));
    text_->setPlainText(q(tg::produkttitel) + QStringLiteral("\n\n") + q(tg::beta_version));
    schliessen_->setText(QString::fromStdString(schliessen.text()));
}

void Tinfo::zeige_modal() {
    beschriften();
    exec();
}

void Tinfo::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) beschriften();
    QDialog::changeEvent(e);
}

void Tinfo::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    schliessen_->setFocus();
}
