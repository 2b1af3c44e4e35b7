// The window "Kennlinien" on a loaded data set: the fields of the chosen
// month and interval, and the two charts in the chart window.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/simulation_run.h"
#include "app/ui/varnek_programm.h"
#include "input/ui/TEinlesefiles.h"
#include "results/kennlinien.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/TKennlinien.h"
#include "results/ui/ergebnis_testhilfe.h"

class Kennlinienfenster : public QObject {
    Q_OBJECT
private slots:
    void zeigt_felder_und_beide_kennlinien();
};

void Kennlinienfenster::zeigt_felder_und_beide_kennlinien() {
    antworter a;
    testprogramm t;
    a.vergiss();
    TEinlesefiles& e = t.programm->einlesefiles();
    e.oeffnen();
    QVERIFY(e.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich")));
    e.daten_einlesen();
    QVERIFY2(marken().daten_eingelesen, qPrintable(a.alle()));

    TKennlinien& k = t.programm->kennlinien();
    k.show();
    QVERIFY(QTest::qWaitForWindowExposed(&k));
    // July of an hourly year: 744 intervals; interval 13 is July 1st, noon.
    k.waehle(7, 13);
    QCOMPARE(k.intervall()->count(), 744);
    const kennlinien_felder f = fuelle_kennlinien_felder(7, 13);
    QCOMPARE(k.feld("EditTa")->text(), QString::number(f.ta, 'f', 2));
    QCOMPARE(k.feld("editIs")->text(), QString::number(f.is, 'f', 2));
    QVERIFY(f.is > 0.0);

    TGraphKalk& g = t.programm->graphkalk();
    g.show();
    QVERIFY(k.cop_graphik());
    QList<QLineSeries*> l = linien(g.chart());
    QCOMPARE(l.size(), 2);
    QCOMPARE(l[0]->count(), 200);
    QVERIFY(l[1]->at(0).y() >= 1.0);
    QVERIFY(k.kollektor_graphik());
    l = linien(g.chart());
    QCOMPARE(l.size(), 2);
    QCOMPARE(l[0]->count(), 2000);
    QCOMPARE(l[1]->name(), QStringLiteral("Test Umkehrroutine"));
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    g.hide();
    k.hide();
}

QTEST_MAIN(Kennlinienfenster)
#include "test_kennlinienfenster.moc"
