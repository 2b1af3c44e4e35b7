// The cost window: two result files loaded from the catalogue, the yearly
// costs it shows against the core's calculation of the same file, an edited
// parameter, a cost chart in the chart window, and the parameter printout.

#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QSpinBox>
#include <QTest>

#include "app/datensatz_lauf.h"
#include "app/ui/varnek_programm.h"
#include "costs/kostendruck.h"
#include "costs/ui/TKalkulation.h"
#include "data/datenbank.h"
#include "input/datensatzauswahl.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/druckhilfe.h"
#include "results/ui/ergebnis_testhilfe.h"
#include "results/ui/ergebnistabellen_modell.h"

class Kalkulationsfenster : public QObject {
    Q_OBJECT
private slots:
    void rechnet_wie_der_kern_und_zeigt_die_kosten();
};

void Kalkulationsfenster::rechnet_wie_der_kern_und_zeigt_die_kosten() {
    antworter a;
    testprogramm t;
    a.vergiss();
    const auto sim = trage_ein(t, "costs/test_ausgabe_ZJEG_IAAN-N_st0.sim");
    const auto dat = trage_ein(t, "results/test_ausgabe_EJEG_IAAN-N_st0.dat");
    TKalkulation& k = t.programm->kalkulation();
    k.show();
    QVERIFY(QTest::qWaitForWindowExposed(&k));
    k.aktivieren();
    // Files chosen in the list are read without a file dialog.
    for (const auto& p : {sim, dat}) {
        QVERIFY(k.waehle_ergebnis(QString::fromStdString(p.filename().string())));
        QVERIFY2(k.resultat_einlesen(), qPrintable(a.alle()));
    }
    QCOMPARE(a.dateidialoge, 0);
    QCOMPARE(k.daten().index.size(), std::size_t(2));
    QCOMPARE(k.datenindex()->maximum(), 2);
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));

    // The core on its own: the file's data set loaded, the file read as data index 1.
    kalkulationsdaten kern;
    QVERIFY(positioniere_haupt("test_ZJEG_IAAN-N_st0"));
    QVERIFY(datensatz_einlesen());
    QVERIFY(resultat_einlesen(kern, sim, resultat_herkunft{}));
    const std::vector<kostenpunkt> soll = berechne_kosten(kern, 1);
    QVERIFY(soll.size() >= 2);

    // The window shows index 1 with the same yearly costs per area.
    k.datenindex()->setValue(1);
    const ergebnis_anzeigetabelle* tabelle = k.tabellen()->gezeigt();
    QVERIFY(tabelle != nullptr);
    QCOMPARE(tabelle->werte.size(), soll.size());
    const std::size_t jahr = tabelle->spalten.size() - 1;
    for (std::size_t i = 0; i < soll.size(); ++i) {
        QCOMPARE(tabelle->werte[i][0], soll[i].flaeche);
        QCOMPARE(tabelle->werte[i][jahr], soll[i].jahreskosten);
    }
    QVERIFY(soll.back().jahreskosten > 0.0);

    // The interest rate in per cent, with the German decimal comma; typed
    // in per cent, kept as a fraction.
    QLineEdit* zins = k.wertfeld(kpar::zinssatz);
    const double zinssatz = k.daten().index[0].vdatk[kpar::zinssatz];
    QVERIFY(zinssatz > 0.0 && zinssatz < 1.0);
    QCOMPARE(QLocale(QLocale::German).toDouble(zins->text()), zinssatz * 100.0);
    zins->selectAll();
    QTest::keyClicks(zins, QStringLiteral("4,5"));
    QCOMPARE(k.daten().index[0].vdatk[kpar::zinssatz], 0.045);
    // Interest typed as 0: the annuity becomes investment / term.
    zins->selectAll();
    QTest::keyClicks(zins, QStringLiteral("0"));
    tabelle = k.tabellen()->gezeigt();
    const double laufzeit = k.daten().index[0].vdatk[kpar::laufzeit];
    QVERIFY(laufzeit > 0.0);
    for (const auto& zeile : tabelle->werte) QCOMPARE(zeile[3], zeile[2] / laufzeit);
    // The other index keeps its own interest.
    QVERIFY(k.daten().index[1].vdatk[kpar::zinssatz] != 0.0);

    // "Kosten/Jahr": one curve per data index on each axis; index 1's curve is
    // its yearly costs over the collector area.
    TGraphKalk& g = t.programm->graphkalk();
    g.show();
    QVERIFY(k.diagramm(kostenart::kosten_jahr));
    const QList<QLineSeries*> l = linien(g.chart());
    QCOMPARE(l.size(), 4);
    QCOMPARE(l[0]->count(), static_cast<int>(tabelle->werte.size()));
    for (int i = 0; i < l[0]->count(); ++i) {
        QCOMPARE(l[0]->at(i).x(), tabelle->werte[static_cast<std::size_t>(i)][0]);
        QCOMPARE(l[0]->at(i).y(), tabelle->werte[static_cast<std::size_t>(i)][jahr]);
    }

    // The parameter printout through the list printer, to a PDF file.
    QPrinter drucker;
    drucker.setOutputFormat(QPrinter::PdfFormat);
    const auto pdf = t.res() / "kosten.pdf";
    drucker.setOutputFileName(QString::fromStdString(pdf.string()));
    QVERIFY(drucke_liste(drucker, kostenparameter_druckzeilen(k.daten()), druckerschrift()));
    QVERIFY(std::filesystem::file_size(pdf) > 1000);
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    g.hide();
    k.hide();
}

QTEST_MAIN(Kalkulationsfenster)
#include "test_kalkulationsfenster.moc"
