// The weather station and control runs from the desktop as an operator uses
// them, on a simulated installation with the fast clock: the station window
// from the main menu, and a data set read for control in the input-file form,
// started in full mode and ended with "Anhalten" in the run window.

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/datensatz_lauf.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/TLauf.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "input/ui/TEinlesefiles.h"
#include "station/kontrolldatei.h"
#include "station/simulierte_platine.h"
#include "station/ui/TWetterstation.h"
#include "support/ui/fensterhilfe.h"

namespace {

steuerlauf_optionen simulierte_anlage() {
    steuerlauf_optionen g;
    g.simulierte_geraete = true;
    g.schnelle_uhr = true;
    g.uhrstart = datum_uhrzeit{2024, 6, 21, 11, 0, 0.0};
    return g;
}

}  // namespace

class SteuerlaufFenster : public QObject {
    Q_OBJECT

private slots:
    void wetterstation_aus_dem_hauptmenue_sucht_die_geraete_und_misst();
    void vollmodus_laeuft_bis_anhalten_und_schaltet_die_quellen_ab();
};

void SteuerlaufFenster::wetterstation_aus_dem_hauptmenue_sucht_die_geraete_und_misst() {
    antworter a;
    testprogramm t(1280, simulierte_anlage());
    a.vergiss();
    TWetterstation& w = t.programm->wetterstation();
    bool offen = false, gruppen = false;
    QString port, mittelwert;
    wenn_modal(w, [&] {
        offen = true;
        gruppen = !w.gruppe_sichtbar("Messwerte") && w.gruppe_sichtbar("Sensortest") &&
                  w.gruppe_sichtbar("Strahlungsnormierung");
        port = w.feld("Edit37")->text();
        // A sensor test of the irradiation sensor reads the station's board.
        w.feld("Edit1")->setText(QStringLiteral("3"));
        QTest::mouseClick(w.knopf("Button1"), Qt::LeftButton);
        mittelwert = w.feld("Edit2")->text();
        w.reject();
    });
    t.programm->hauptmenue().aktion("Wetterstation1")->trigger();
    QVERIFY(offen);
    QVERIFY(gruppen);
    // The station was found on the simulated installation's COM3.
    QCOMPARE(port, QStringLiteral("3"));
    // Shown with the German decimal comma.
    QVERIFY2(QLocale(QLocale::German).toDouble(mittelwert) > 0.0, qPrintable(mittelwert));
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
}

void SteuerlaufFenster::vollmodus_laeuft_bis_anhalten_und_schaltet_die_quellen_ab() {
    antworter a;
    testprogramm t(1280, simulierte_anlage());
    varnek_programm& p = *t.programm;
    p.ausfuehrer().setze_fensterverzoegerung(0);
    TWetterstation& w = p.wetterstation();
    const std::filesystem::path kontrolldatei = t.res() / "kontrolle.text";
    w.setze_kontrolldatei(kontrolldatei);
    TEinlesefiles& e = p.einlesefiles();
    e.show();
    QVERIFY(e.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich Intervall M")));

    QString monat, intervall;
    bool gruppen = false, berechnen_aus = false, angehalten = false, pumpe_lief = false;
    int live_beim_anhalten = 0;
    wenn_modal(w, [&] {
        // The start point comes from the clock: 21 June, 11 o'clock.
        monat = w.feld("Edit35")->text();
        intervall = w.feld("Edit36")->text();
        // Every value the pump field shows during the run (several copies of
        // the fields may arrive between two looks of the watch below).
        const auto pumpe = QObject::connect(w.feld("Edit31"), &QLineEdit::textChanged, [&](const QString& t) {
            if (p.ausfuehrer().laeuft()) pumpe_lief = pumpe_lief || QLocale(QLocale::German).toDouble(t) > 0.0;
        });
        QTimer wache;
        wache.setInterval(5);
        QObject::connect(&wache, &QTimer::timeout, [&] {
            if (w.gezeigte_liveintervalle() == 0 || angehalten) return;
            auto* lauf = qobject_cast<TLauf*>(QApplication::activeModalWidget());
            if (w.gezeigte_liveintervalle() < 3 || !lauf) return;
            gruppen = w.gruppe_sichtbar("Messwerte") && w.gruppe_sichtbar("Sensortest") &&
                      w.gruppe_sichtbar("Strahlungsnormierung");
            berechnen_aus = !w.knopf("Button2")->isEnabled();
            live_beim_anhalten = w.gezeigte_liveintervalle();
            angehalten = true;
            QTest::mouseClick(lauf->findChild<QPushButton*>(QStringLiteral("anhalten")), Qt::LeftButton);
        });
        wache.start();
        // "Vollmodus" returns when the run has ended.
        QTest::mouseClick(w.knopf("Button5"), Qt::LeftButton);
        wache.stop();
        QObject::disconnect(pumpe);
        w.reject();
    });
    e.wetterstation_und_steuern();

    QCOMPARE(monat, QStringLiteral("6"));
    QCOMPARE(intervall, QString::number(20 * 24 + 11 + 1));
    QVERIFY2(angehalten, qPrintable(a.alle()));
    QVERIFY(gruppen);
    QVERIFY(berechnen_aus);
    QVERIFY(w.knopf("Button2")->isEnabled());
    QVERIFY2(pumpe_lief, "a summer noon should move the collector loop");
    // "Anhalten" wrote STOP; the run ended through it and said so.
    QCOMPARE(erste_zeile(kontrolldatei), std::string("STOP"));
    QVERIFY2(a.gesehen(QStringLiteral("Steuerlauf beendet nach")), qPrintable(a.alle()));
    QVERIFY(w.gezeigte_liveintervalle() >= live_beim_anhalten);
    // The sources are off and the run's result file is written (a control
    // run writes no per-interval control file).
    simulierte_ports& ports = *p.geraete().simuliert();
    QCOMPARE(ports.platine(4)->strom_mA(), 0.0);
    QCOMPARE(ports.platine(4)->spannung_V(), 0.0);
    QCOMPARE(ports.platine(5)->spannung_V(), 0.0);
    QVERIFY(gewaehltes_ausgabefile());
    const std::filesystem::path ergebnis = t.res() / gewaehltes_ausgabefile()->pfad.filename();
    QVERIFY2(std::filesystem::file_size(ergebnis) > 0, ergebnis.string().c_str());
}

QTEST_MAIN(SteuerlaufFenster)
#include "test_steuerlauf_fenster.moc"
