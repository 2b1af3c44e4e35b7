// The run monitors: they open when the run opens them and they have
// something to show (not with twelve empty charts), and not at all with the
// menu item "Zwischenergebnisse" unchecked; step points a run reports on its
// worker thread appear in "Zwischenergebnisse (V)", and the charts shown
// after a parameter step are kept.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/laufmonitor_beobachter.h"
#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "input/ui/TEinlesefiles.h"
#include "results/ui/TDiagramme.h"
#include "results/ui/monatsdiagramme.h"
#include "support/ui/fensterhilfe.h"

class Laufmonitore : public QObject {
    Q_OBJECT
private slots:
    void analytische_optimierung_oeffnet_keinen_monitor();
    void monitore_oeffnen_mit_inhalt_und_menuepunkt_data();
    void monitore_oeffnen_mit_inhalt_und_menuepunkt();
    void stufenpunkte_vom_rechenfaden_erscheinen_und_bleiben();
};

void Laufmonitore::analytische_optimierung_oeffnet_keinen_monitor() {
    antworter a;
    testprogramm t;
    TEinlesefiles& e = t.programm->einlesefiles();
    e.oeffnen();
    e.show();
    QVERIFY(e.waehle_datensatz(QStringLiteral("test_ir_D_EJEG_IAAN-D_st0")));
    e.knopf("Optimieren")->click();
    QVERIFY2(marken().simulation_durchgefuehrt, qPrintable(a.alle()));
    // The run opened (T) for each area, but the analytic method reports no
    // step points: neither monitor shows twelve empty charts.
    const laufmonitor_stand s = t.programm->ausfuehrer().monitor().stand();
    QVERIFY(s.t_offen && s.t_flaeche > 0.0);
    QVERIFY(!s.v_offen);
    QVERIFY(!t.programm->diagramme_t().isVisible());
    QVERIFY(!t.programm->diagramme().isVisible());
    e.hide();
}

void Laufmonitore::monitore_oeffnen_mit_inhalt_und_menuepunkt_data() {
    QTest::addColumn<bool>("menuepunkt");
    QTest::addColumn<int>("punkte");
    QTest::addColumn<bool>("offen");
    QTest::newRow("mit Punkten") << true << 3 << true;
    QTest::newRow("ohne Punkte") << true << 0 << false;
    QTest::newRow("Menüpunkt aus") << false << 3 << false;
}

void Laufmonitore::monitore_oeffnen_mit_inhalt_und_menuepunkt() {
    QFETCH(bool, menuepunkt);
    QFETCH(int, punkte);
    QFETCH(bool, offen);
    antworter a;
    testprogramm t;
    t.programm->hauptmenue().setze_zwischenergebnisse(menuepunkt);
    lauf_ausfuehrer& x = t.programm->ausfuehrer();
    x.setze_fensterverzoegerung(0);
    // A run that opens both monitors as the time-step methods do and
    // reports step points through the observer like the month step.
    const auto ende = x.fuehre_aus([punkte](lauf_beobachter& b) {
        b.zwischenergebnisse_t_oeffnen(8.0);
        b.zwischenergebnisse_v_oeffnen(8.0);
        for (int i = 1; i <= punkte; ++i) b.schrittpunkt(4, i, 0.1 * i, 10.0 * i);
    });
    QCOMPARE(ende, lauf_ausfuehrer::ende::fertig);
    QCOMPARE(t.programm->diagramme().isVisible(), offen);
    QCOMPARE(t.programm->diagramme_t().isVisible(), offen);
    QCOMPARE(t.programm->diagramme().diagramme()->punkte(4), offen ? punkte : 0);
    // Without the menu item the record takes nothing either.
    if (!menuepunkt) QCOMPARE(x.monitor().stand().anzahl_punkte(), std::size_t(0));
    t.programm->diagramme().hide();
    t.programm->diagramme_t().hide();
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
