// The weather-station window as an operator drives it, on a simulated
// installation: sensor test, manual outputs, the heating plate, the start of
// a control run and the language switch.

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

#include "engine/WP_variables.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "station/kontrolldatei.h"
#include "station/simulierte_ports.h"
#include "station/ui/TWetterstation.h"
#include "station/wetterstation.h"
#include "support/simulierte_station.h"

namespace {

// A station on the simulated installation (weather station COM3, pump
// board COM4, fan COM5) and its window.
struct aufbau : simulierte_station<simulierte_uhr> {
    std::unique_ptr<anlage> a = std::make_unique<anlage>();
    std::unique_ptr<TWetterstation> fenster;

    aufbau() : simulierte_station({2024, 6, 21, 12, 0, 0.0}) {
        a->Wetterstation_com = 3;
        a->umwaelzpumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
        a->zwischen_waermepumpe.strom_spannungs_quelle = {"AD7303", "", 20.0, 10.0};
        a->kollektorventilator.strom_spannungs_quelle = {"MCP4802", "", 0.0, 10.0};
        fenster = std::make_unique<TWetterstation>(station, *a);
        fenster->show();
    }
    QLineEdit* f(const char* name) { return fenster->feld(name); }
    void klick(const char* knopf) {
        auto* b = fenster->findChild<QPushButton*>(QString::fromLatin1(knopf));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

}  // namespace

class WetterstationFenster : public QObject {
    Q_OBJECT

private slots:
    void init() {
        setze_sprache(SPRACHE_DEUTSCH);
        setze_protokollverzeichnis(QDir::tempPath().toStdString());
    }

    void sensortest_misst_und_normiert_die_temperatur() {
        aufbau u;
        u.fenster->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(3);
        u.fenster->findChild<QCheckBox*>(QStringLiteral("CheckBox3"))->setChecked(true);
        u.f("Edit1")->setText(QStringLiteral("1"));
        u.klick("Button1");
        QCOMPARE(u.f("Edit2")->text(), QStringLiteral("330.00"));
        QCOMPARE(u.f("Edit3")->text(), QStringLiteral("0.00"));
        QCOMPARE(u.f("Edit15")->text(), QStringLiteral("10.50"));
    }

    void handausgaben_und_heizplatte() {
        aufbau u;
        QCOMPARE(u.f("Edit18")->text(), QStringLiteral("10.00"));  // pump source maximum
        QCOMPARE(u.f("Edit19")->text(), QStringLiteral("20.00"));
        u.f("Edit17")->setText(QStringLiteral("5"));
        u.f("Edit20")->setText(QStringLiteral("10"));
        u.klick("Button3");
        QVERIFY(std::abs(u.ports.platine(4)->spannung_V() - 5.0) < 0.05);
        QVERIFY(std::abs(u.ports.platine(4)->strom_mA() - 10.0) < 0.05);
        u.klick("Button7");
        QCOMPARE(u.ports.platine(4)->spannung_V(), 0.0);
        QCOMPARE(u.ports.platine(4)->strom_mA(), 0.0);

        u.f("Edit21")->setText(QStringLiteral("1"));
        u.f("Edit22")->setText(QStringLiteral("60"));
        u.f("Edit24")->setText(QStringLiteral("1"));
        u.f("Edit25")->setText(QStringLiteral("20"));
        u.klick("Button4");
        QCOMPARE(u.f("Edit26")->text(), QStringLiteral("511.57"));
    }

    void testmodus_schreibt_start_und_fordert_den_lauf_an() {
        aufbau u;
        QTemporaryDir ordner;
        const std::filesystem::path datei = kontrolldatei_pfad(ordner.path().toStdString());
        u.fenster->setze_kontrolldatei(datei);
        QSignalSpy angefordert(u.fenster.get(), &TWetterstation::steuerlauf_gewaehlt);
        u.f("Edit35")->setText(QStringLiteral("6"));
        u.f("Edit36")->setText(QStringLiteral("493"));
        u.klick("Button8");
        QCOMPARE(angefordert.count(), 1);
        QCOMPARE(angefordert.at(0).at(0).toString(), QStringLiteral("N"));
        QCOMPARE(QString::fromStdString(erste_zeile(datei)), QStringLiteral("START"));
        QCOMPARE(u.station.startintervall, 493);
        QVERIFY(u.a->kein_anschluss_com);
    }

    void englisch_beschriftet_gruppen_und_leere_felder() {
        aufbau u;
        u.station.felder["Edit30"] = "leer";
        setze_sprache(SPRACHE_ENGLISCH);
        u.fenster->beschriften();
        QCOMPARE(u.fenster->findChild<QGroupBox*>(QStringLiteral("Sensortest"))->title(), QStringLiteral("Sensor test"));
        QCOMPARE(u.f("Edit30")->text(), QStringLiteral("empty"));
        QCOMPARE(u.fenster->windowTitle(), QStringLiteral("Weather station"));
        setze_sprache(SPRACHE_DEUTSCH);
    }
};

QTEST_MAIN(WetterstationFenster)
#include "test_wetterstation_fenster.moc"
