#include "app/ui/gui_senke.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>

#include <atomic>

#include "lang/textglobale.h"

namespace {

std::atomic<qint64> g_gewartet_ms{0};

bool im_fensterthread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

// Runs `f` on the window thread and waits for it.
template <class F>
void auf_fensterthread(QObject* ziel, F f) {
    if (im_fensterthread()) {
        f();
    } else {
        QMetaObject::invokeMethod(ziel, f, Qt::BlockingQueuedConnection);
    }
}

QWidget* elternfenster() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

QMessageBox::Icon symbol(char schwere) {
    switch (schwere) {
    case 'E':
    case 'T':
        return QMessageBox::Critical;
    case 'W':
        return QMessageBox::Warning;
    default:
        return QMessageBox::Information;
    }
}

// The box shows the normal cursor even while a run has set the hourglass.
struct normaler_cursor {
    normaler_cursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~normaler_cursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

gui_senke::gui_senke(QObject* eltern) : QObject(eltern) {}

QString gui_senke::anzeigetext(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral(" #13 "), QStringLiteral("\n"));
}

qint64 gui_senke::gewartet_ms() { return g_gewartet_ms.load(); }

void gui_senke::zeige(const std::string& text, char schwere) {
    if (!im_fensterthread()) {
        // A run's message: into the protocol and the run window's list; the
        // run goes on.
        protokolliere(text);
        emit laufmeldung(anzeigetext(text), QChar(QLatin1Char(schwere)));
        return;
    }
    auf_fensterthread(this, [&] {
        normaler_cursor c;
        QMessageBox box(symbol(schwere), QString::fromStdString(tgtext(tg::produkttitel)), anzeigetext(text),
                        QMessageBox::Ok, elternfenster());
        box.setObjectName(QStringLiteral("meldung"));
        box.setProperty("schwere", QChar(QLatin1Char(schwere)));
        box.exec();
    });
}

bool gui_senke::frage(const std::string& frage_text) {
    bool ja = false;
    QElapsedTimer warten;
    warten.start();
    struct zaehlen {
        QElapsedTimer& t;
        bool lauf;
        ~zaehlen() {
            if (lauf) g_gewartet_ms += t.elapsed();
        }
    } z{warten, !im_fensterthread()};
    auf_fensterthread(this, [&] {
        normaler_cursor c;
        QMessageBox box(QMessageBox::Question, QString::fromStdString(tgtext(tg::produkttitel)),
                        anzeigetext(frage_text), QMessageBox::Yes | QMessageBox::No, elternfenster());
        box.setObjectName(QStringLiteral("meldung"));
        box.setProperty("schwere", QChar(QLatin1Char('A')));
        box.setDefaultButton(QMessageBox::No);
        ja = box.exec() == QMessageBox::Yes;
    });
    return ja;
}

void gui_senke::cursor_zuruecksetzen() {
    auf_fensterthread(this, [] {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    });
}

void gui_senke::protokolliert(const std::string& text, char schwere) {
    if (schwere != 'E' && schwere != 'T') return;
    std::lock_guard<std::mutex> sperre(mutex_);
    protokollfehler_ = text;
}

std::string gui_senke::letzter_protokollfehler() const {
    std::lock_guard<std::mutex> sperre(mutex_);
    return protokollfehler_;
}

void gui_senke::vergiss_protokollfehler() {
    std::lock_guard<std::mutex> sperre(mutex_);
    protokollfehler_.clear();
}
