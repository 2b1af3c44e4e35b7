// Timings of the desktop program, measured on the program's own windows:
//
//   bench_gui_zeiten start --db DIR --results DIR
//       start-up to the main window painted: prints the milliseconds from the
//       entry of main() and the messages the start-up gave (a first start on
//       an empty folder creates the database). The process ends right after.
//   bench_gui_zeiten optimierung --db DIR --results DIR [--runs N] <data set>
//       runs " Optimieren" of the input-file form N times (default 5) with the
//       run monitors on while a small widget asks for a repaint every 5 ms and
//       a timer is due every 100 ms, and prints the largest and the mean gap
//       between two repaints during the runs, the timer's largest delay, the
//       run times, then how long one more run takes to end after "Anhalten"
//       (pressed 2 s into it) and the peak memory of the process.
//   bench_gui_zeiten ergebnisse --db DIR --results DIR [--runs N] [data set]
//       simulates the hourly data set once (default "EFH Potsdam 2019
//       stuendlich"), then N times (default 5): loads six copies of its
//       control file (8760 hourly rows each) into the results window, and
//       draws the largest chart the chart window takes (6 + 6 curves of 2000
//       points) until it is painted; prints the times.

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/datensatz_lauf.h"
#include "app/programmstart.h"
#include "data/einstellungen.h"
#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/TLauf.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "input/datensatzauswahl.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/meldung.h"
#include "results/ui/TEinErg.h"
#include "results/ui/TGraphKalk.h"

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

// Largest resident size of the process so far, in MB (0 where unknown).
double spitzenspeicher_mb() {
    std::ifstream f("/proc/self/status");
    std::string zeile;
    while (std::getline(f, zeile)) {
        if (zeile.rfind("VmHWM:", 0) != 0) continue;
        std::istringstream z(zeile.substr(6));
        double kb = 0.0;
        z >> kb;
        return kb / 1024.0;
    }
    return 0.0;
}

int fehler(const char* text) {
    std::fprintf(stderr, "bench_gui_zeiten: %s\n", text);
    return 2;
}

double mittel(const std::vector<double>& x) {
    double s = 0.0;
    for (double v : x) s += v;
    return x.empty() ? 0.0 : s / static_cast<double>(x.size());
}

// Caption of column c of a loaded file: title and unit.
std::string d_name(const geladene_datei& d, int c) {
    const auto& s = d.spalten[static_cast<std::size_t>(c)];
    return s.titel + " [" + s.einheit + "]";
}

// CPU time of the process in ms: on a shared machine the wall time mostly
// measures the other processes.
double cpu_ms() { return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC; }

// Six hourly result files in the results window, and the largest chart.
int ergebnisse_messen(varnek_programm& p, const std::string& datensatz, int laeufe) {
    tab(tabledata::thaupt).filter_aus();
    if (!positioniere_haupt(datensatz)) return fehler("no such data set");
    if (!datensatz_einlesen() || !ausgabefile_waehlen('S')) return fehler("data set not loaded");
    lauf_beobachter still;
    if (!rechne_geladenen_datensatz(false, still)) return fehler("simulation did not complete");
    std::filesystem::path steuer;
    for (const auto& d : gewaehltes_ausgabefile()->dateien(einstellungen().ergebnisverzeichnis))
        if (d.extension() == ".str") steuer = d;
    if (steuer.empty()) return fehler("no control file");
    std::vector<std::filesystem::path> kopien;
    for (int i = 1; i <= 6; ++i) {
        kopien.push_back(steuer.parent_path() / ("stunden_" + std::to_string(i) + ".str"));
        std::filesystem::copy_file(steuer, kopien.back(), std::filesystem::copy_options::overwrite_existing);
    }
    std::printf("hourly result file: %s\n", steuer.filename().string().c_str());

    std::vector<double> laden, zeichnen, laden_cpu, zeichnen_cpu;
    for (int l = 0; l < laeufe; ++l) {
        TEinErg e(&p.hauptmenue());
        e.show();
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        double c0 = cpu_ms();
        for (const auto& k : kopien)
            if (!e.lade_datei(k)) return fehler("file not loaded");
        QApplication::processEvents();
        laden.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        laden_cpu.push_back(cpu_ms() - c0);
        const int zeilen = e.vergleich().datei(6).zeilenzahl(1);

        // Six curves on each axis, 2000 points each, from the files' first two columns.
        auto links = std::make_unique<graphdata>();
        auto rechts = std::make_unique<graphdata>();
        for (int f = 1; f <= 6; ++f) {
            const geladene_datei& d = e.vergleich().datei(f);
            for (graphdata* g : {links.get(), rechts.get()}) {
                const int spalte = g == links.get() ? 4 : 5;
                g->anzp[f] = MAXGRAPHPUNKTE;
                g->xmax[f] = MAXGRAPHPUNKTE;
                g->bildname[f] = d.dateiname() + (g == links.get() ? " (links)" : " (rechts)");
                for (int k = 1; k <= MAXGRAPHPUNKTE; ++k) {
                    g->x[k][f] = k;
                    g->y[k][f] = d.werte.wert(k, spalte, 1) + f;
                }
            }
        }
        links->anzbild = rechts->anzbild = 6;
        links->xname = "Intervall";
        links->yname = d_name(e.vergleich().datei(1), 4);
        rechts->yname = d_name(e.vergleich().datei(1), 5);
        TGraphKalk g(&p.hauptmenue());
        g.show();
        QApplication::processEvents();
        t.restart();
        c0 = cpu_ms();
        g.zeige(*links, *rechts, MAXGRAPHPUNKTE, true, 1);
        g.repaint();
        const QPixmap bild = g.grab();
        zeichnen.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        zeichnen_cpu.push_back(cpu_ms() - c0);
        std::printf("run %d: six files (%d rows each) loaded in %.1f ms (CPU %.1f ms); largest chart drawn in %.1f ms "
                    "(CPU %.1f ms, %dx%d)\n",
                    l + 1, zeilen, laden.back(), laden_cpu.back(), zeichnen.back(), zeichnen_cpu.back(), bild.width(),
                    bild.height());
    }
    std::printf("mean: loading six hourly files %.1f ms (CPU %.1f ms), drawing the largest chart %.1f ms (CPU %.1f ms)\n",
                mittel(laden), mittel(laden_cpu), mittel(zeichnen), mittel(zeichnen_cpu));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList a = QApplication::arguments();
    if (a.size() < 2) return fehler("start|optimierung|ergebnisse --db DIR --results DIR [--runs N] [data set]");
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
    if (art == QLatin1String("ergebnisse")) {
        varnek_programm p;
        setze_meldungs_senke(&senke);
        p.starte(optionen, 1280);
        const int r = ergebnisse_messen(
            p, datensatz.isEmpty() ? std::string("EFH Potsdam 2019 stuendlich") : datensatz.toStdString(), laeufe);
        schliesse_alle_tabellen();
        return r;
    }
    if (art != QLatin1String("optimierung") || datensatz.isEmpty()) return fehler("unknown mode or no data set");

    varnek_programm p;
    setze_meldungs_senke(&senke);
    p.starte(optionen, 1280);
    p.hauptmenue().show();
    p.hauptmenue().setze_zwischenergebnisse(true);
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
    // A timer due every 100 ms: how late does the window thread serve it?
    QTimer wecker;
    wecker.setTimerType(Qt::PreciseTimer);
    wecker.setInterval(100);
    QElapsedTimer seit_wecker;
    qint64 verspaetung = 0;
    bool wecker_messen = false;
    QObject::connect(&wecker, &QTimer::timeout, &w, [&] {
        const qint64 v = seit_wecker.restart() - 100;
        if (wecker_messen) verspaetung = std::max(verspaetung, v);
    });
    seit_wecker.start();
    wecker.start();
    QElapsedTimer warten;
    warten.start();
    while (warten.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);

    double groesste = 0.0, summe = 0.0;
    std::size_t luecken = 0;
    std::vector<double> dauern;
    for (int l = 0; l < laeufe; ++l) {
        w.zeiten.clear();
        w.messen = wecker_messen = true;
        e.optimieren();
        w.messen = wecker_messen = false;
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
    std::printf("largest delay of a 100 ms timer during the runs: %lld ms\n", static_cast<long long>(verspaetung));

    // "Anhalten" 2 s into one more run.
    QElapsedTimer seit_klick;
    QTimer::singleShot(2000, &w, [&] {
        auto* lauf = qobject_cast<TLauf*>(QApplication::activeModalWidget());
        if (!lauf) return;
        seit_klick.start();
        lauf->findChild<QPushButton*>(QStringLiteral("anhalten"))->click();
    });
    e.optimieren();
    if (seit_klick.isValid())
        std::printf("run ended %lld ms after \"Anhalten\"\n", static_cast<long long>(seit_klick.elapsed()));
    else
        std::printf("run ended before \"Anhalten\" could be pressed\n");
    std::printf("peak resident memory of the process: %.0f MB\n", spitzenspeicher_mb());
    schliesse_alle_tabellen();
    return 0;
}
