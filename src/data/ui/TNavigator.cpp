#include "data/ui/TNavigator.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "lang/textglobale.h"

TNavigator::TNavigator(QWidget* eltern) : QWidget(eltern) {
    static const char* const zeichen[ANZAHL] = {"|◀", "◀", "▶", "▶|", "+", "−", "✎", "✔", "✘", "⟳"};
    auto* reihe = new QHBoxLayout(this);
    reihe->setContentsMargins(0, 0, 0, 0);
    reihe->setSpacing(1);
    for (int i = 0; i < ANZAHL; ++i) {
        auto* t = new QToolButton(this);
        t->setText(QString::fromUtf8(zeichen[i]));
        t->setObjectName(QStringLiteral("navigator_%1").arg(i));
        t->setAutoRaise(false);
        t->setMinimumWidth(28);
        connect(t, &QToolButton::clicked, this, [this, i] { emit gedrueckt(i); });
        reihe->addWidget(t);
        tasten_[static_cast<std::size_t>(i)] = t;
    }
    reihe->addStretch(1);
    beschriften();
}

void TNavigator::beschriften() {
    static const int hinweise[ANZAHL] = {tg::nav_erster,   tg::nav_vorheriger, tg::nav_naechster,
                                         tg::nav_letzter,  tg::nav_einfuegen,  tg::nav_loeschen,
                                         tg::nav_bearbeiten, tg::nav_speichern, tg::nav_abbrechen,
                                         tg::nav_aktualisieren};
    for (int i = 0; i < ANZAHL; ++i)
        tasten_[static_cast<std::size_t>(i)]->setToolTip(QString::fromStdString(tgtext(hinweise[i])));
}

void TNavigator::zeige_nur(std::initializer_list<knopf> sichtbar) {
    for (auto* t : tasten_) t->setVisible(false);
    for (knopf k : sichtbar) tasten_[static_cast<std::size_t>(k)]->setVisible(true);
}
