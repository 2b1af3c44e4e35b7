#pragma once
// Runs of the engine from the windows.
//
// A run (loading a data set, a simulation, an optimisation, a batch) executes
// on a worker thread of its own, and the core's state (the simulation state,
// the tables, the settings) belongs to that thread while it runs. The window
// thread meanwhile only repaints and shows what the run reports through its
// observer: every observer call posts copied values (progress, area, cursor)
// to the window thread; no window reads the core's state during a run. Input
// to the windows is held back from the start of the run, and after a short
// moment the run window appears, application-modal, with its progress and the
// button "Anhalten": no window can start a second operation on the state
// while it belongs to the run. When the worker has ended (joined), the state
// belongs to the window thread again.
//
// The run never waits for the window thread except for a real question ('A'
// messages, gui_senke): its warnings and notes are collected in the run
// window's message list (and the protocol), and when there are any the run
// window stays open after the run, non-modal, to show them. Reports of
// progress are coalesced: at most one is on its way to the window thread at
// a time, however fast the run steps.
//
// "Anhalten" sets a flag that the run's observer checks at its loop points
// (every progress step, every area and power step, every step point of the
// time-step methods); there it abandons the run like a confirmed 'A'
// question: the run unwinds, its unfinished result files are discarded, and
// the window returns. Results of a batch's data sets that were completed
// before stay.

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "results/laufmonitor.h"

class QWidget;
class TLauf;
class lauf_beobachter;
struct graphdata;

class lauf_ausfuehrer : public QObject {
    Q_OBJECT
public:
    enum class ende { fertig, abgebrochen, angehalten, fehler };

    explicit lauf_ausfuehrer(QObject* eltern = nullptr);

    // Runs `arbeit` and returns when it has ended. `abgebrochen`: the run was
    // abandoned by a message (severity 'T' or a confirmed 'A'); `angehalten`:
    // by "Anhalten"; `fehler`: an unexpected exception (reported).
    // `bei_anhalten`, if given, replaces what "Anhalten" does: a control run
    // ends through its control file instead of being abandoned.
    ende fuehre_aus(const std::function<void(lauf_beobachter&)>& arbeit, QWidget* eltern = nullptr,
                    const std::function<void()>& bei_anhalten = {});

    bool laeuft() const { return laeuft_; }
    // Asks the running run to stop at its next loop point.
    void anhalten() { stopp_ = true; }
    // "Anhalten" was chosen during the last run.
    bool angehalten_gewaehlt() const { return stopp_; }
    // The check mark of the menu item "Zwischenergebnisse", read by the run.
    void setze_zwischenergebnisse(bool an) { zwischenergebnisse_ = an; }
    // A line of the run's own for the run window (window thread; kept for a
    // run window that opens later).
    void zeige_zustand(const QString& text);
    // Milliseconds after which the run window appears.
    void setze_fensterverzoegerung(int ms) { verzoegerung_ms_ = ms; }
    // Computing time of the last run in seconds (time spent waiting for the
    // answer to a question is not counted).
    double letzte_dauer() const { return dauer_s_; }
    // How the last run ended.
    ende letztes_ende() const { return ende_; }

    // A warning or note of the running run (window thread): listed in the
    // run window and kept for the end of the run.
    struct laufmeldung {
        QString text;
        QChar schwere;
    };
    void nimm_meldung(const QString& text, QChar schwere);
    const QList<laufmeldung>& meldungen() const { return meldungen_; }
    // The run window left open after the last run to show its messages
    // (nullptr when there were none or it was closed).
    TLauf* nachlauffenster() const;
    // What the run monitors show: filled by the run through its observer
    // (cleared when a run begins), read by the monitor windows.
    laufmonitor& monitor() { return monitor_; }

signals:
    void lauf_begonnen();
    void lauf_beendet();
    // Progress bar: position and maximum (the run's steps, 12 months per area step).
    void fortschritt(int wert, int maximum);
    // Collector area of the step being computed (main unit, qm).
    void flaeche(double A);
    // The window showing the data sets and the main window are repainted.
    void neu_zeichnen();
    // The run opened "Zwischenergebnisse (T)" or "(V)" for area A, showed
    // window (V) after a parameter step, or handed the chart window a year
    // run's chart (copies of the run's records).
    void zwischenergebnisse_t(double A);
    void zwischenergebnisse_v(double A);
    void zwischenergebnis_gezeigt();
    void graph(std::shared_ptr<const graphdata> links, std::shared_ptr<const graphdata> rechts);
    void zustandstext(const QString& text);
    // A message of the run was collected (also after the run for its end).
    void meldung_gesammelt(const QString& text, QChar schwere);

private:
    class beobachter;
    void sanduhr(bool an);

    laufmonitor monitor_;
    std::atomic<bool> stopp_{false};
    std::atomic<bool> zwischenergebnisse_{true};
    bool laeuft_ = false;
    bool sanduhr_ = false;
    int verzoegerung_ms_ = 400;
    double dauer_s_ = 0.0;
    ende ende_ = ende::fertig;
    QString zustand_;
    QList<laufmeldung> meldungen_;
    QPointer<TLauf> fenster_;   // the window of the running run
    QPointer<TLauf> nachlauf_;  // left open after the last run
};
