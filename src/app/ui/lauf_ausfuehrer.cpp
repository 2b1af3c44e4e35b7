#include "app/ui/lauf_ausfuehrer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <exception>

#include "app/laufmonitor_beobachter.h"
#include "app/simulation_run.h"
#include "app/ui/TLauf.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"

// The run's observer. It lives on the worker thread and hands copies of what
// it reports to the window thread (queued calls); at the loop points it ends
// the run when "Anhalten" was chosen.
class lauf_ausfuehrer::beobachter : public lauf_beobachter {
public:
    explicit beobachter(lauf_ausfuehrer& a) : a_(a) {}

    void sanduhr(bool an) override {
        if (an) halt_pruefen();
        an_fenster([a = &a_, an] { a->sanduhr(an); });
    }
    void fortschritt_beginnen(int maximum) override {
        maximum_ = maximum > 0 ? maximum : 12;
        schritt_ = 0;
        melde_fortschritt();
    }
    void fortschritt_auf_minimum() override {
        schritt_ = 0;
        melde_fortschritt();
    }
    void fortschritt_schritt() override {
        halt_pruefen();
        ++schritt_;
        melde_fortschritt();
    }
    void einlesefenster_neu_zeichnen() override {
        // Called once per area step: the area being computed is known now.
        const double daf = zustand::vdatt()[tdata::daf];
        const double A = zustand::anlage(0).n * daf;
        an_fenster([a = &a_, A] {
            emit a->flaeche(A);
            emit a->neu_zeichnen();
        });
    }
    void hauptfenster_neu_zeichnen() override {
        an_fenster([a = &a_] { emit a->neu_zeichnen(); });
    }
    bool zwischenergebnisse_gewaehlt() override { return a_.zwischenergebnisse_.load(); }
    // The monitor record is filled before these calls (laufmonitor_beobachter);
    // the windows are opened by the window thread.
    void zwischenergebnisse_t_oeffnen(double A) override {
        an_fenster([a = &a_, A] { emit a->zwischenergebnisse_t(A); });
    }
    void zwischenergebnisse_v_oeffnen(double A) override {
        an_fenster([a = &a_, A] { emit a->zwischenergebnisse_v(A); });
    }
    void zwischenergebnisse_v_zeigen() override {
        an_fenster([a = &a_] { emit a->zwischenergebnis_gezeigt(); });
    }
    void graph_zeigen(const graphdata& links, const graphdata& rechts) override {
        std::shared_ptr<const graphdata> l = std::make_shared<graphdata>(links);
        std::shared_ptr<const graphdata> r = std::make_shared<graphdata>(rechts);
        an_fenster([a = &a_, l, r] { emit a->graph(l, r); });
    }

private:
    void halt_pruefen() {
        if (a_.stopp_.load()) throw abbruch();
    }
    void melde_fortschritt() {
        const int wert = schritt_, maximum = maximum_;
        an_fenster([a = &a_, wert, maximum] { emit a->fortschritt(wert, maximum); });
    }
    template <class F>
    void an_fenster(F f) {
        QMetaObject::invokeMethod(&a_, std::move(f), Qt::QueuedConnection);
    }

    lauf_ausfuehrer& a_;
    int maximum_ = 12;
    int schritt_ = 0;
};

lauf_ausfuehrer::lauf_ausfuehrer(QObject* eltern) : QObject(eltern) {}

void lauf_ausfuehrer::sanduhr(bool an) {
    if (an == sanduhr_) return;
    sanduhr_ = an;
    if (an) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

void lauf_ausfuehrer::zeige_zustand(const QString& text) {
    zustand_ = text;
    emit zustandstext(text);
}

lauf_ausfuehrer::ende lauf_ausfuehrer::fuehre_aus(const std::function<void(lauf_beobachter&)>& arbeit,
                                                  QWidget* eltern, const std::function<void()>& bei_anhalten) {
    if (laeuft_) return ende::fehler;  // never two runs on one state
    laeuft_ = true;
    stopp_ = false;
    zustand_.clear();
    emit lauf_begonnen();

    enum class ausgang { fertig, abgebrochen, fehler };
    std::atomic<bool> beendet{false};
    ausgang a = ausgang::fertig;
    std::string fehlertext;
    beobachter b(*this);
    monitor_.zuruecksetzen();
    laufmonitor_beobachter mit_monitor(monitor_, b);
    QElapsedTimer dauer;
    dauer.start();

    QThread* faden = QThread::create([&] {
        try {
            arbeit(mit_monitor);
        } catch (const abbruch&) {
            a = ausgang::abgebrochen;
        } catch (const std::exception& e) {
            a = ausgang::fehler;
            fehlertext = e.what();
        } catch (...) {
            a = ausgang::fehler;
            fehlertext = "?";
        }
        beendet = true;
    });
    // The engine keeps large records on the stack of some steps.
    faden->setStackSize(64u * 1024u * 1024u);
    faden->start();

    // First a short wait without user input: most runs end here and no
    // window flickers. Paint events, timers and the run's reports go on.
    QEventLoop warten;
    QTimer takt;
    takt.setInterval(10);
    QElapsedTimer seit_start;
    seit_start.start();
    bool fenster_zeigen = false;
    QObject::connect(&takt, &QTimer::timeout, &warten, [&] {
        if (beendet) {
            warten.quit();
        } else if (seit_start.elapsed() >= verzoegerung_ms_) {
            fenster_zeigen = true;
            warten.quit();
        }
    });
    takt.start();
    warten.exec(QEventLoop::ExcludeUserInputEvents);
    takt.stop();

    if (!beendet && fenster_zeigen) {
        TLauf fenster(eltern);
        connect(this, &lauf_ausfuehrer::fortschritt, &fenster, &TLauf::zeige_fortschritt);
        connect(this, &lauf_ausfuehrer::flaeche, &fenster, &TLauf::zeige_flaeche);
        connect(this, &lauf_ausfuehrer::zustandstext, &fenster, &TLauf::zeige_text);
        if (!zustand_.isEmpty()) fenster.zeige_text(zustand_);
        connect(&fenster, &TLauf::anhalten_gewaehlt, this, [this, &bei_anhalten] {
            if (bei_anhalten) {
                bei_anhalten();
            } else {
                anhalten();
            }
        });
        QTimer ende_pruefen;
        ende_pruefen.setInterval(10);
        QObject::connect(&ende_pruefen, &QTimer::timeout, &fenster, [&] {
            if (beendet) fenster.beenden();
        });
        ende_pruefen.start();
        if (!beendet) fenster.exec();
    }
    faden->wait();
    delete faden;
    // The queued reports of the run are shown before the run counts as ended.
    QCoreApplication::sendPostedEvents(this);
    dauer_s_ = static_cast<double>(dauer.elapsed()) / 1000.0;
    sanduhr(false);
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    laeuft_ = false;
    emit lauf_beendet();

    switch (a) {
    case ausgang::fertig:
        return ende::fertig;
    case ausgang::abgebrochen:
        if (stopp_) {
            meldung(tgtext(tg::lauf_angehalten), "M", 'M');
            return ende::angehalten;
        }
        return ende::abgebrochen;
    case ausgang::fehler:
        meldung(tgtext(tg::lauf_fehler) + fehlertext, "M", 'E');
        return ende::fehler;
    }
    return ende::fehler;
}
