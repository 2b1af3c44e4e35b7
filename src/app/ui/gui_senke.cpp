#include "app/ui/gui_senke.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "lang/textglobale.h"

namespace {

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

void gui_senke::zeige(const std::string& text, char schwere) {
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
