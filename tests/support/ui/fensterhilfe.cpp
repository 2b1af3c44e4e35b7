#include "support/ui/fensterhilfe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/programmstart.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/TLauf.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "lang/meldung.h"

namespace {
// The answerers alive, so that a program started after one reports to it.
std::vector<antworter*>& antworter_liste() {
    static std::vector<antworter*> l;
    return l;
}

QMessageBox::Icon symbol_von(QChar schwere) {
    switch (schwere.toLatin1()) {
    case 'E':
    case 'T':
        return QMessageBox::Critical;
    case 'W':
        return QMessageBox::Warning;
    default:
        return QMessageBox::Information;
    }
}
}  // namespace

antworter::antworter() {
    takt_.setInterval(5);
    connect(&takt_, &QTimer::timeout, this, &antworter::pruefe);
    takt_.start();
    antworter_liste().push_back(this);
    if (programm()) hoere(programm()->ausfuehrer());
}

antworter::~antworter() {
    auto& l = antworter_liste();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
}

void antworter::hoere(lauf_ausfuehrer& a) {
    connect(&a, &lauf_ausfuehrer::meldung_gesammelt, this, [this](const QString& text, QChar schwere) {
        gesehene_meldung m;
        m.text = text;
        m.schwere = schwere;
        m.symbol = symbol_von(schwere);
        m.kasten = false;
        meldungen.push_back(m);
    });
}

void antworter::pruefe() {
    QWidget* w = QApplication::activeModalWidget();
    if (auto* lauf = qobject_cast<TLauf*>(w)) {
        if (anhalten_klicken) {
            if (auto* k = lauf->findChild<QPushButton*>(QStringLiteral("anhalten")); k && k->isEnabled()) k->click();
        }
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        if (!box->isVisible()) return;
        gesehene_meldung m;
        m.text = box->text();
        m.symbol = box->icon();
        const QVariant s = box->property("schwere");
        if (s.isValid()) m.schwere = s.toChar();
        if (QAbstractButton* ja = box->button(QMessageBox::Yes)) m.ja_text = ja->text();
        meldungen.push_back(m);
        if (box->button(QMessageBox::Yes)) {
            QMessageBox::StandardButton a = QMessageBox::No;
            if (!antworten_.empty()) {
                a = antworten_.front();
                antworten_.pop_front();
            }
            box->button(a)->click();
        } else if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->reject();
        }
        return;
    }
    if (auto* d = qobject_cast<QPrintDialog*>(w)) {
        // No printer in a test: the printout goes into the next file's PDF,
        // or the dialog is cancelled.
        if (!d->isVisible()) return;
        ++druckdialoge;
        if (dateien_.empty()) {
            d->reject();
            return;
        }
        const std::filesystem::path p = dateien_.front();
        dateien_.pop_front();
        d->printer()->setOutputFormat(QPrinter::PdfFormat);
        d->printer()->setOutputFileName(QString::fromStdString(p.string()));
        // done(), not accept(): accept() would take the dialog's own printer choice.
        d->done(QDialog::Accepted);
        return;
    }
    if (auto* d = qobject_cast<QFileDialog*>(w)) {
        if (!d->isVisible()) return;
        ++dateidialoge;
        if (dateien_.empty()) {
            d->reject();
            return;
        }
        const std::filesystem::path p = dateien_.front();
        dateien_.pop_front();
        d->selectFile(QString::fromStdString(p.string()));
        static_cast<QDialog*>(d)->accept();
        return;
    }
    // Any other modal dialog: the test drives it (wenn_modal) or, when
    // nobody does, it is rejected after a while instead of hanging the test.
    auto* d = qobject_cast<QDialog*>(w);
    if (!d || !d->isVisible()) {
        wartend_.clear();
        return;
    }
    if (wartend_ != d) {
        wartend_ = d;
        wartet_seit_.start();
        return;
    }
    if (wartet_seit_.elapsed() < geduld_ms) return;
    gesehene_meldung m;
    m.text = QStringLiteral("unbeantwortet: %1 \"%2\"").arg(QString::fromLatin1(d->metaObject()->className()),
                                                          d->windowTitle());
    meldungen.push_back(m);
    std::fprintf(stderr, "%s\n", qPrintable(m.text));
    wartend_.clear();
    d->reject();
}

QString antworter::alle() const {
    QStringList t;
    for (const auto& m : meldungen) t << QStringLiteral("[%1] %2").arg(m.schwere).arg(m.text);
    return t.join(QStringLiteral(" | "));
}

bool antworter::gesehen(const QString& teiltext) const {
    for (const auto& m : meldungen)
        if (m.text.contains(teiltext)) return true;
    return false;
}

testprogramm::testprogramm(int bildschirmbreite, const steuerlauf_optionen& geraete) {
    programm = std::make_unique<varnek_programm>(geraete);
    startoptionen o;
    o.datenbank = db();
    o.ergebnisse = res();
    for (antworter* a : antworter_liste()) a->hoere(programm->ausfuehrer());
    // A test starts no document viewer.
    programm->hauptmenue().setze_anleitung_oeffnen(false);
    angelegt = programm->starte(o, bildschirmbreite);
}

testprogramm::~testprogramm() { programm.reset(); }

std::filesystem::path testprogramm::db() const {
    return std::filesystem::path(ordner.path().toStdString()) / "db";
}

std::filesystem::path testprogramm::res() const {
    return std::filesystem::path(ordner.path().toStdString()) / "res";
}

void wenn_modal(QWidget& fenster, const std::function<void()>& f) {
    auto* warte = new QTimer(&fenster);
    warte->setInterval(5);
    QObject::connect(warte, &QTimer::timeout, &fenster, [warte, &fenster, f] {
        if (QApplication::activeModalWidget() != &fenster) return;
        warte->stop();
        warte->deleteLater();
        f();
    });
    warte->start();
}

bool warte_bis(const std::function<bool()>& bedingung, int ms) {
    QElapsedTimer t;
    t.start();
    while (!bedingung()) {
        if (t.elapsed() > ms) return false;
        QTest::qWait(5);
    }
    return true;
}

namespace {
QString& letzter_schritt() {
    static QString s;
    return s;
}
}  // namespace

void schritt(const QString& name) { letzter_schritt() = name; }

void notausgang(int sekunden, const char* programm) {
    auto* t = new QTimer(qApp);
    t->setSingleShot(true);
    QObject::connect(t, &QTimer::timeout, [programm] {
        std::fprintf(stderr, "%s: not ended, stuck after \"%s\"\n", programm, qPrintable(letzter_schritt()));
        std::fflush(stderr);
        std::_Exit(3);
    });
    t->start(sekunden * 1000);
}
