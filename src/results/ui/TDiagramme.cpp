#include "results/ui/TDiagramme.h"

#include <QComboBox>
#include <QEvent>
#include <QHideEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "lang/sprache.h"
#include "lang/textglobale.h"
#include "results/ergebnistexte.h"
#include "results/graphiktexte.h"
#include "results/ui/monatsdiagramme.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(const std::string& s) { return QString::fromStdString(s); }

namespace c {
constexpr text_paar flaeche{"Fläche: %1 qm", "Area: %1 m²"};
constexpr text_paar stand{"Stand:", "State:"};
constexpr text_paar laufend{"Laufende Rechnung", "Current run"};
constexpr text_paar schritt{"Parameterschritt %1: %2 qm", "Parameter step %1: %2 m²"};
constexpr text_paar punkte{"Stufenpunkte: %1", "Step points: %1"};
constexpr text_paar keine_punkte{"Stufenpunkte: keine (nur die Zeitschrittverfahren V, T und M liefern welche)",
                                 "Step points: none (only the time-step methods V, T and M report them)"};
}  // namespace c

// Four looks a second: the eye follows the curves, and the window thread
// stays free for the run window and the user.
constexpr int TAKT_MS = 250;

QString flaechentext(double A) { return q(c::flaeche).arg(QString::number(A, 'f', 2)); }

// Something for window (V): a step point, or a kept month-run result.
bool v_hat_inhalt(const laufmonitor_stand& s) {
    if (s.v_offen && s.anzahl_punkte() > 0) return true;
    for (const auto& z : s.zwischenergebnisse)
        if (z->jahreslauf.empty()) return true;
    return false;
}

// Month name without the blanks that pad it in files.
std::string ergebnis_monatsname(int m) {
    std::string s = ergebnistexte::monatsname(m);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

QLabel* fette_zeile(QWidget* eltern, const char* name) {
    auto* l = new QLabel(eltern);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

}  // namespace

TDiagramme::TDiagramme(laufmonitor& monitor, QWidget* eltern) : QDialog(eltern), monitor_(monitor) {
    setObjectName(QStringLiteral("TDiagramme"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* spalte = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    beschriftung_ = fette_zeile(this, "Label1");
    flaeche_ = fette_zeile(this, "LabelF");
    l_auswahl_ = new QLabel(this);
    auswahl_ = new QComboBox(this);
    auswahl_->setObjectName(QStringLiteral("zwischenergebnisse"));
    auswahl_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    kopf->addWidget(beschriftung_);
    kopf->addSpacing(20);
    kopf->addWidget(flaeche_);
    kopf->addStretch(1);
    kopf->addWidget(l_auswahl_);
    kopf->addWidget(auswahl_);
    spalte->addLayout(kopf);
    diagramme_ = new monatsdiagramme(this);
    spalte->addWidget(diagramme_, 1);
    takt_ = new QTimer(this);
    takt_->setInterval(TAKT_MS);
    connect(takt_, &QTimer::timeout, this, &TDiagramme::aktualisieren);
    connect(auswahl_, &QComboBox::currentIndexChanged, this, [this] { zeichnen(); });
    resize(1080, 720);
    beschriften();
}

void TDiagramme::beschriften() {
    setWindowTitle(q(graphiktexte::zwischenergebnisse_v));
    l_auswahl_->setText(q(c::stand));
    gesehen_ = UINT64_MAX;
}

void TDiagramme::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        beschriften();
        aktualisieren();
    }
    QDialog::changeEvent(e);
}

void TDiagramme::hideEvent(QHideEvent* e) {
    // Closed by the user: it stays closed for the rest of the run.
    if (!e->spontaneous()) angefordert_ = false;
    takt_->stop();
    QDialog::hideEvent(e);
}

void TDiagramme::oeffnen() {
    angefordert_ = !isVisible();
    beschriften();
    takt_->start();
    aktualisieren();
    if (isVisible()) raise();
}

void TDiagramme::lauf_beendet() {
    aktualisieren();
    angefordert_ = false;
    takt_->stop();
}

void TDiagramme::aktualisieren() {
    const uint64_t v = monitor_.version();
    if (v == gesehen_) return;
    gesehen_ = v;
    stand_ = monitor_.stand();
    if (!isVisible()) {
        if (!angefordert_ || !v_hat_inhalt(stand_)) return;
        angefordert_ = false;
        show();
        raise();
        takt_->start();
    }
    // The choice: the running state, then every parameter step kept
    // (rebuilt only when a step was added).
    if (gelistet_ != stand_.parameterschritte || auswahl_->count() == 0) {
        gelistet_ = stand_.parameterschritte;
        const QVariant gewaehlt = auswahl_->currentData();
        const QSignalBlocker sperre(auswahl_);
        auswahl_->clear();
        auswahl_->addItem(q(c::laufend), 0);
        for (const auto& z : stand_.zwischenergebnisse) {
            if (!z->jahreslauf.empty()) continue;
            auswahl_->addItem(q(c::schritt).arg(z->nummer).arg(QString::number(z->flaeche, 'f', 2)), z->nummer);
        }
        const int i = gewaehlt.isValid() ? auswahl_->findData(gewaehlt) : 0;
        auswahl_->setCurrentIndex(i >= 0 ? i : 0);
    }
    zeichnen();
}

void TDiagramme::zeichnen() {
    const QString x_name = q(stand_.v_x_achse);
    beschriftung_->setText(q(stand_.v_beschriftung));
    const int k = auswahl_->currentData().toInt();
    if (k > 0) {
        for (const auto& z : stand_.zwischenergebnisse) {
            if (z->nummer != k) continue;
            flaeche_->setText(flaechentext(z->flaeche));
            diagramme_->zeige(z->monate, x_name);
            return;
        }
    }
    flaeche_->setText(stand_.v_offen ? flaechentext(stand_.v_flaeche) : QString());
    diagramme_->zeige(stand_.v_monate, x_name);
}

TDiagrammeT::TDiagrammeT(laufmonitor& monitor, QWidget* eltern) : QDialog(eltern), monitor_(monitor) {
    setObjectName(QStringLiteral("TDiagrammeT"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto* spalte = new QVBoxLayout(this);
    auto* kopf = new QHBoxLayout;
    beschriftung_ = fette_zeile(this, "Label2");
    flaeche_ = fette_zeile(this, "LabelF");
    punkte_ = new QLabel(this);
    punkte_->setObjectName(QStringLiteral("punkte"));
    kopf->addWidget(beschriftung_);
    kopf->addSpacing(20);
    kopf->addWidget(flaeche_);
    kopf->addStretch(1);
    kopf->addWidget(punkte_);
    spalte->addLayout(kopf);
    diagramme_ = new monatsdiagramme(this);
    spalte->addWidget(diagramme_, 1);
    takt_ = new QTimer(this);
    takt_->setInterval(TAKT_MS);
    connect(takt_, &QTimer::timeout, this, &TDiagrammeT::aktualisieren);
    resize(1080, 720);
    beschriften();
}

void TDiagrammeT::beschriften() {
    setWindowTitle(q(graphiktexte::zwischenergebnisse_t));
    gesehen_ = UINT64_MAX;
}

void TDiagrammeT::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        beschriften();
        aktualisieren();
    }
    QDialog::changeEvent(e);
}

void TDiagrammeT::hideEvent(QHideEvent* e) {
    if (!e->spontaneous()) angefordert_ = false;
    takt_->stop();
    QDialog::hideEvent(e);
}

void TDiagrammeT::oeffnen() {
    angefordert_ = !isVisible();
    beschriften();
    takt_->start();
    aktualisieren();
    if (isVisible()) raise();
}

void TDiagrammeT::lauf_beendet() {
    aktualisieren();
    angefordert_ = false;
    takt_->stop();
}

void TDiagrammeT::aktualisieren() {
    const uint64_t v = monitor_.version();
    if (v == gesehen_) return;
    gesehen_ = v;
    const laufmonitor_stand s = monitor_.stand();
    // The window shows the step points; without any it stays closed.
    if (!isVisible()) {
        if (!angefordert_ || !s.v_offen || s.anzahl_punkte() == 0) return;
        angefordert_ = false;
        show();
        raise();
        takt_->start();
    }
    const QString text = q(s.t_beschriftung);
    beschriftung_->setText(text);
    flaeche_->setText(s.t_offen ? flaechentext(s.t_flaeche) : QString());
    // "Elektrische Energie [kWh] - Stufentemperatur [°C]": y, then x.
    const qsizetype trenner = text.indexOf(QStringLiteral(" - "));
    const QString x_name = trenner < 0 ? QString() : text.mid(trenner + 3);
    for (int m = 1; m <= MAXMONAT; ++m) diagramme_->setze_x_maximum(m, s.t_x_max[static_cast<std::size_t>(m)]);
    // The step points the run reports (the same record as window (V)).
    std::array<monitor_monat, MAXMONAT + 1> monate = s.v_monate;
    if (!s.v_offen)
        for (int m = 1; m <= MAXMONAT; ++m) {
            monate[static_cast<std::size_t>(m)].titel = ergebnis_monatsname(m);
            monate[static_cast<std::size_t>(m)].punkte.clear();
        }
    diagramme_->zeige(monate, x_name);
    const std::size_t n = s.v_offen ? s.anzahl_punkte() : 0;
    punkte_->setText(n > 0 ? q(c::punkte).arg(n) : q(c::keine_punkte));
}
