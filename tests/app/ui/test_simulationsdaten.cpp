// The run parameters window after a data set was read: its codes, the
// collector units, the run's area range, and the refusal of too many units.

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include "app/ui/TSimulationsdaten.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/ui/auswahlgruppe.h"
#include "engine/WP_variables.h"
#include "input/ui/TEinlesefiles.h"
#include "support/ui/fensterhilfe.h"

class Simulationsdatenfenster : public QObject {
    Q_OBJECT
private slots:
    void zeigt_codes_und_setzt_den_flaechenbereich();
};

void Simulationsdatenfenster::zeigt_codes_und_setzt_den_flaechenbereich() {
    antworter a;
    testprogramm t;
    TEinlesefiles& e = t.programm->einlesefiles();
    e.oeffnen();
    e.show();
    QVERIFY(e.waehle_datensatz(QStringLiteral("test_ir_D_EJEG_IAAN-D_st0")));
    e.daten_einlesen();
    const double daf = zustand::vdatt()[tdata::daf];
    QVERIFY(daf > 0.0);
    tabelle& rech = tab(tabledata::trech);
    const double maxa = rech.zahl("maxa"), mina = rech.zahl("mina");
    zustand::lauf().maxa = -1.0;
    e.hide();

    TSimulationsdaten& s = t.programm->simulationsdaten();
    a.vergiss();
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    QVERIFY(warte_bis([&] { return s.seiten()->currentIndex() == 2; }, 5000));
    // Analytic ("A") in intervals ("I"); end-reservoir coupling with its picture.
    auto gewaehlt = [&](const char* titel) {
        for (auto* g : s.findChildren<auswahlgruppe*>())
            if (g->title() == QString::fromUtf8(titel)) return QString::fromStdString(g->code());
        return QStringLiteral("?");
    };
    QCOMPARE(gewaehlt("Zeit"), QStringLiteral("I"));
    QCOMPARE(gewaehlt("Berechnung"), QStringLiteral("A"));
    QCOMPARE(gewaehlt("Kopplung"), QStringLiteral("E"));
    QCOMPARE(s.bildseiten()->currentIndex(), 0);
    QCOMPARE(s.feld("EditMax")->text().toDouble(), std::nearbyint(maxa / daf));
    QCOMPARE(s.feld("EditMin")->text().toDouble(), std::nearbyint(mina / daf));
    QVERIFY(!s.feld("EditAMax")->text().isEmpty());
    // Opening the window set the run's area range.
    QCOMPARE(zustand::lauf().maxa, maxa);
    QCOMPARE(zustand::lauf().mina, mina);
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    s.hide();

    // 21 units and more are refused with a message when the window opens.
    rech.bearbeiten();
    rech.setze("maxa", feldwert(mina + 21.0 * daf));
    rech.speichern();
    s.show();
    QVERIFY(warte_bis([&] { return a.gesehen(QStringLiteral("(CMAXA)")); }, 5000));
    QCOMPARE(a.meldungen.back().symbol, QMessageBox::Critical);
    QVERIFY(s.isVisible());
    s.hide();
}

QTEST_MAIN(Simulationsdatenfenster)
#include "test_simulationsdaten.moc"
