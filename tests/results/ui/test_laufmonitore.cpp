// The run monitors: an optimisation opens "Zwischenergebnisse (T)" with the
// area being computed; step points a run reports on its worker thread appear
// in "Zwischenergebnisse (V)", and the charts shown after a parameter step
// are kept.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/laufmonitor_beobachter.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "input/ui/TEinlesefiles.h"
#include "results/ui/TDiagramme.h"
#include "results/ui/monatsdiagramme.h"
#include "support/ui/fensterhilfe.h"

class Laufmonitore : public QObject {
    Q_OBJECT
private slots:
    void optimierung_oeffnet_den_monitor_der_stufentemperatur();
    void stufenpunkte_vom_rechenfaden_erscheinen_und_bleiben();
};

void Laufmonitore::optimierung_oeffnet_den_monitor_der_stufentemperatur() {
    antworter a;
    testprogramm t;
    TDiagrammeT& m = t.programm->diagramme_t();
    QVERIFY(!m.isVisible());
    TEinlesefiles& e = t.programm->einlesefiles();
    e.oeffnen();
    e.show();
    QVERIFY(e.waehle_datensatz(QStringLiteral("test_ir_D_EJEG_IAAN-D_st0")));
    e.knopf("Optimieren")->click();
    QVERIFY2(marken().simulation_durchgefuehrt, qPrintable(a.alle()));
    QVERIFY(m.isVisible());
    m.aktualisieren();
    const laufmonitor_stand s = t.programm->ausfuehrer().monitor().stand();
    QVERIFY(s.t_offen && s.t_flaeche > 0.0);
    QCOMPARE(m.flaeche()->text(), QStringLiteral("Fläche: %1 qm").arg(s.t_flaeche, 0, 'f', 2));
    QVERIFY(m.windowTitle().contains(QStringLiteral("(T)")));
    // The analytic method reports no step points: window (V) stays closed.
    QVERIFY(!s.v_offen);
    QVERIFY(!t.programm->diagramme().isVisible());
    m.hide();
    e.hide();
}

void Laufmonitore::stufenpunkte_vom_rechenfaden_erscheinen_und_bleiben() {
    antworter a;
    testprogramm t;
    TDiagramme& d = t.programm->diagramme();
    lauf_ausfuehrer& x = t.programm->ausfuehrer();
    x.setze_fensterverzoegerung(0);
    // A run that reports like the time-step month step: points for every
    // month and `ge` step, the window shown after the parameter step, then
    // the next area.
    const auto ende = x.fuehre_aus([](lauf_beobachter& b) {
        auto* mit_monitor = dynamic_cast<laufmonitor_beobachter*>(&b);
        if (!mit_monitor) throw std::runtime_error("kein Monitor");
        b.zwischenergebnisse_v_oeffnen(12.0);
        for (int i = 1; i <= 10; ++i)
            for (int monat = 1; monat <= 12; ++monat) mit_monitor->stufenpunkt(monat, i, 0.1 * i, 100.0 - i - monat);
        b.zwischenergebnisse_v_zeigen();
        b.zwischenergebnisse_v_oeffnen(24.0);
        for (int i = 1; i <= 5; ++i) mit_monitor->stufenpunkt(1, i, 0.1 * i, 50.0 - i);
    });
    QCOMPARE(ende, lauf_ausfuehrer::ende::fertig);
    QVERIFY(d.isVisible());
    d.aktualisieren();
    QCOMPARE(d.flaeche()->text(), QStringLiteral("Fläche: 24.00 qm"));
    QCOMPARE(d.diagramme()->punkte(1), 5);
    QCOMPARE(d.diagramme()->punkte(2), 0);
    // The parameter step shown before stays available.
    QCOMPARE(d.zwischenergebnisse()->count(), 2);
    d.zwischenergebnisse()->setCurrentIndex(1);
    QCOMPARE(d.flaeche()->text(), QStringLiteral("Fläche: 12.00 qm"));
    for (int monat = 1; monat <= 12; ++monat) QCOMPARE(d.diagramme()->punkte(monat), 10);
    QVERIFY2(a.meldungen.size() <= 1, qPrintable(a.alle()));
    d.hide();
}

QTEST_MAIN(Laufmonitore)
#include "test_laufmonitore.moc"
