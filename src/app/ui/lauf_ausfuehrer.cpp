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
#include "app/ui/gui_senke.h"
#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"

// The run's observer. It lives on the worker thread and hands copies of what
// it reports to the window thread (queued calls); at the loop points it ends
// the run when "Anhalten" was chosen. Progress and area are kept in atomics
// and sent as one queued call at a time: a run that steps faster than the
// window thread paints leaves no queue of reports behind.
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
        halt_pruefen();
        const double daf = zustand::vdatt()[tdata::daf];
        flaeche_ = zustand::anlage(0).n * daf;
        flaeche_neu_ = true;
        melden();
    }
    void hauptfenster_neu_zeichnen() override { melden(); }
    bool zwischenergebnisse_gewaehlt() override { return a_.zwischenergebnisse_.load(); }
    // The monitor record is filled before these calls (laufmonitor_beobachter);
    // the windows are opened by the window thread, and only while the menu
    // item "Zwischenergebnisse" is checked.
    void zwischenergebnisse_t_oeffnen(double A) override {
        if (!zwischenergebnisse_gewaehlt()) return;
        an_fenster([a = &a_, A] { emit a->zwischenergebnisse_t(A); });
    }
    void zwischenergebnisse_v_oeffnen(double A) override {
        if (!zwischenergebnisse_gewaehlt()) return;
        an_fenster([a = &a_, A] { emit a->zwischenergebnisse_v(A); });
    }
    // Every `ge` step of a time-step month: a fine-grained point to stop at.
    void schrittpunkt(int, int, double, double) override { halt_pruefen(); }
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
        wert_ = schritt_;
        max_ = maximum_;
        melden();
    }
    // One queued report at a time with the latest progress and area.
    void melden() {
        if (unterwegs_.exchange(true)) return;
        an_fenster([this] {
            unterwegs_ = false;
            if (flaeche_neu_.exchange(false)) emit a_.flaeche(flaeche_.load());
            emit a_.fortschritt(wert_.load(), max_.load());
            emit a_.neu_zeichnen();
        });
    }
    template <class F>
    void an_fenster(F f) {
        QMetaObject::invokeMethod(&a_, std::move(f), Qt::QueuedConnection);
    }

    lauf_ausfuehrer& a_;
    int maximum_ = 12;
    int schritt_ = 0;
    std::atomic<int> wert_{0}, max_{12};
    std::atomic<double> flaeche_{0.0};
    std::atomic<bool> flaeche_neu_{false};
    std::atomic<bool> unterwegs_{false};
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

TLauf* lauf_ausfuehrer::nachlauffenster() const { return nachlauf_.data(); }

void lauf_ausfuehrer::nimm_meldung(const QString& text, QChar schwere) {
    meldungen_.append({text, schwere});
    if (fenster_) fenster_->zeige_meldung(text, schwere);
    emit meldung_gesammelt(text, schwere);
}

lauf_ausfuehrer::ende lauf_ausfuehrer::fuehre_aus(const std::function<void(lauf_beobachter&)>& arbeit,
                                                  QWidget* eltern, const std::function<void()>& bei_anhalten) {
    if (laeuft_) return ende::fehler;  // never two runs on one state
    laeuft_ = true;
    stopp_ = false;
    zustand_.clear();
    meldungen_.clear();
    if (nachlauf_) nachlauf_->close();  // the messages of the run before
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
    const qint64 gewartet_vorher = gui_senke::gewartet_ms();

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

    auto neues_fenster = [&] {
        auto* f = new TLauf(eltern);
        f->setze_beginn(dauer);
        for (const laufmeldung& m : std::as_const(meldungen_)) f->zeige_meldung(m.text, m.schwere);
        return f;
    };
    if (!beendet && fenster_zeigen) {
        TLauf* fenster = neues_fenster();
        fenster_ = fenster;
        connect(this, &lauf_ausfuehrer::fortschritt, fenster, &TLauf::zeige_fortschritt);
        connect(this, &lauf_ausfuehrer::flaeche, fenster, &TLauf::zeige_flaeche);
        connect(this, &lauf_ausfuehrer::zustandstext, fenster, &TLauf::zeige_text);
        if (!zustand_.isEmpty()) fenster->zeige_text(zustand_);
        connect(fenster, &TLauf::anhalten_gewaehlt, this, [this, &bei_anhalten] {
            if (bei_anhalten) {
                bei_anhalten();
            } else {
                anhalten();
            }
        });
        QTimer ende_pruefen;
        ende_pruefen.setInterval(10);
        QObject::connect(&ende_pruefen, &QTimer::timeout, fenster, [&] {
            if (beendet) fenster->beenden();
        });
        ende_pruefen.start();
        if (!beendet) {
            // Not deleted on close while exec() runs; closing only asks the run to stop.
            fenster->exec();
        }
        ende_pruefen.stop();
        disconnect(this, nullptr, fenster, nullptr);
    }
    faden->wait();
    delete faden;
    // The queued reports of the run are shown before the run counts as ended.
    QCoreApplication::sendPostedEvents(this);
    // Computing time: the time the run waited for the answer to a question is not counted.
    const qint64 gewartet = gui_senke::gewartet_ms() - gewartet_vorher;
    dauer_s_ = static_cast<double>(std::max<qint64>(0, dauer.elapsed() - gewartet)) / 1000.0;
    sanduhr(false);
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();

    switch (a) {
    case ausgang::fertig:
        ende_ = ende::fertig;
        break;
    case ausgang::abgebrochen:
        ende_ = stopp_ ? ende::angehalten : ende::abgebrochen;
        break;
    case ausgang::fehler:
        ende_ = ende::fehler;
        break;
    }
    laeuft_ = false;
    emit lauf_beendet();

    // How the run ended, for the list and the protocol.
    if (ende_ == ende::angehalten) {
        protokolliere(tgtext(tg::lauf_angehalten));
        nimm_meldung(QString::fromStdString(tgtext(tg::lauf_angehalten)), QLatin1Char('M'));
    } else if (ende_ == ende::fehler) {
        const std::string text = tgtext(tg::lauf_fehler) + fehlertext;
        protokolliere(text);
        nimm_meldung(QString::fromStdString(text), QLatin1Char('E'));
    }

    TLauf* fenster = fenster_.data();
    fenster_.clear();
    if (meldungen_.isEmpty()) {
        delete fenster;
    } else {
        // The window stays with the run's messages; nothing waits for it.
        if (!fenster) fenster = neues_fenster();
        fenster->abschliessen(ende_ == ende::fertig       ? TLauf::ausgang::fertig
                              : ende_ == ende::angehalten ? TLauf::ausgang::angehalten
                                                          : TLauf::ausgang::abgebrochen,
                              dauer_s_);
        fenster->setWindowModality(Qt::NonModal);
        fenster->setAttribute(Qt::WA_DeleteOnClose);
        fenster->show();
        fenster->raise();
        nachlauf_ = fenster;
    }
    return ende_;
}
