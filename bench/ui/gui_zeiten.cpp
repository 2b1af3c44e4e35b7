// Timings of the desktop program, measured on the program's own windows:
//
//   bench_gui_zeiten start --db DIR --results DIR
//       start-up to the main window painted: prints the milliseconds from the
//       entry of main() and the messages the start-up gave (a first start on
//       an empty folder creates the database). The process ends right after.
//   bench_gui_zeiten optimierung --db DIR --results DIR [--runs N] <data set>
//       runs " Optimieren" of the input-file form N times (default 5) while a
//       small widget asks for a repaint every 5 ms, and prints the largest and
//       the mean gap between two repaints during the runs, and the run times.

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/programmstart.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/meldung.h"

namespace {

const auto g_beginn = std::chrono::steady_clock::now();

double ms_seit_beginn() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_beginn).count();
}

// Messages during a measurement go to stderr; nobody waits for a box.
class zaehlende_senke : public meldungs_senke {
public:
    void zeige(const std::string& text, char schwere) override {
        std::fprintf(stderr, "  [%c] %s\n", schwere, text.c_str());
    }
    bool frage(const std::string& text) override {
        std::fprintf(stderr, "  [A] %s -> Nein\n", text.c_str());
        return false;
    }
};

// Notes the time of each of its paint events.
class puls : public QWidget {
public:
    puls() { resize(40, 40); }
    std::vector<double> zeiten;
    bool messen = false;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), (zeiten.size() % 2) ? Qt::darkGreen : Qt::green);
        if (messen) zeiten.push_back(ms_seit_beginn());
    }
};

// Tells when `w` has been painted the first time.
class erstes_bild : public QObject {
public:
    explicit erstes_bild(QWidget* w) : w_(w) { qApp->installEventFilter(this); }
    double zeit = -1.0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (zeit < 0.0 && e->type() == QEvent::Paint && o->isWidgetType() &&
            static_cast<QWidget*>(o)->window() == w_) {
            zeit = ms_seit_beginn();
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    QWidget* w_;
};

int fehler(const char* text) {
    std::fprintf(stderr, "bench_gui_zeiten: %s\n", text);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList a = QApplication::arguments();
    if (a.size() < 2) return fehler("start|optimierung --db DIR --results DIR [--runs N] [data set]");
    const QString art = a[1];
    startoptionen optionen;
    int laeufe = 5;
    QString datensatz;
    for (qsizetype i = 2; i < a.size(); ++i) {
        if (a[i] == QLatin1String("--db") && i + 1 < a.size()) optionen.datenbank = a[++i].toStdString();
        else if (a[i] == QLatin1String("--results") && i + 1 < a.size()) optionen.ergebnisse = a[++i].toStdString();
        else if (a[i] == QLatin1String("--runs") && i + 1 < a.size()) laeufe = a[++i].toInt();
        else datensatz = a[i];
    }
    if (!optionen.datenbank || !optionen.ergebnisse) return fehler("--db and --results are needed");

    zaehlende_senke senke;
    if (art == QLatin1String("start")) {
        const double bei_main = ms_seit_beginn();
        varnek_programm p;
        setze_meldungs_senke(&senke);
        const bool angelegt = p.starte(optionen, 1280);
        erstes_bild bild(&p.hauptmenue());
        p.hauptmenue().show();
        QApplication::exec();
        std::printf("%s: main window painted %.1f ms after main() (QApplication ready at %.1f ms)\n",
                    angelegt ? "first start (database created)" : "later start", bild.zeit, bei_main);
        schliesse_alle_tabellen();
        return bild.zeit > 0.0 ? 0 : 1;
    }
    if (art != QLatin1String("optimierung") || datensatz.isEmpty()) return fehler("unknown mode or no data set");

    varnek_programm p;
    setze_meldungs_senke(&senke);
    p.starte(optionen, 1280);
    p.hauptmenue().show();
    TEinlesefiles& e = p.einlesefiles();
    e.oeffnen();
    e.show();
    if (!e.waehle_datensatz(datensatz)) return fehler("no such data set");
    puls w;
    w.show();
    QTimer takt;
    takt.setInterval(5);
    QObject::connect(&takt, &QTimer::timeout, &w, [&w] { w.update(); });
    takt.start();
    QElapsedTimer warten;
    warten.start();
    while (warten.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);

    double groesste = 0.0, summe = 0.0;
    std::size_t luecken = 0;
    std::vector<double> dauern;
    for (int l = 0; l < laeufe; ++l) {
        w.zeiten.clear();
        w.messen = true;
        e.optimieren();
        w.messen = false;
        dauern.push_back(p.ausfuehrer().letzte_dauer());
        for (std::size_t i = 1; i < w.zeiten.size(); ++i) {
            const double g = w.zeiten[i] - w.zeiten[i - 1];
            groesste = std::max(groesste, g);
            summe += g;
            ++luecken;
        }
        std::printf("run %d: %.3f s, %zu repaints\n", l + 1, dauern.back(), w.zeiten.size());
    }
    std::printf("largest gap between two repaints during the runs: %.1f ms (mean %.1f ms, timer 5 ms)\n",
                groesste, luecken ? summe / static_cast<double>(luecken) : 0.0);
    schliesse_alle_tabellen();
    return 0;
}
