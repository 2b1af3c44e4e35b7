// Pictures of every window of the desktop program in both languages, for
// looking at them: ui_fotos <output folder> [de|en]. The program runs on a
// fresh data folder of its own; each window is filled as a user would see it
// (a data set read, a simulation run) and saved as PNG.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "app/einstellungen_lauf.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/TLauf.h"
#include "app/ui/TSimulationsdaten.h"
#include "app/ui/Tinfo.h"
#include "app/ui/gui_senke.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/ui/TWP_einstellungen.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/sprache.h"
#include "station/simulierte_ports.h"
#include "station/steuerschritt.h"
#include "station/ui/TWetterstation.h"
#include "support/ui/fensterhilfe.h"
#include "support/ui/fotos_daten.h"

namespace {

QString g_ziel;
QString g_sprache;

void foto(QWidget* w, const QString& name) {
    QTest::qWait(50);
    schritt(name);
    const QString datei = g_ziel + QStringLiteral("/") + g_sprache + QStringLiteral("_") + name + QStringLiteral(".png");
    w->grab().save(datei);
    std::printf("%s\n", qPrintable(datei));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    notausgang(240, "ui_fotos");
    if (argc < 2) {
        std::fputs("ui_fotos <output folder> [de|en]\n", stderr);
        return 2;
    }
    g_ziel = QString::fromLocal8Bit(argv[1]);
    g_sprache = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("de");
    QDir().mkpath(g_ziel);

    antworter a;
    testprogramm t;
    varnek_programm& p = *t.programm;
    if (g_sprache == QStringLiteral("en")) {
        p.einstellungen().fuellen();
        p.einstellungen().waehle_sprache(SPRACHE_ENGLISCH);
    }

    THauptmenue& h = p.hauptmenue();
    h.show();
    if (!QTest::qWaitForWindowExposed(&h)) std::fputs("window not exposed\n", stderr);
    foto(&h, QStringLiteral("THauptmenue_start"));

    TEinlesefiles& e = p.einlesefiles();
    e.oeffnen();
    e.show();
    if (!QTest::qWaitForWindowExposed(&e)) std::fputs("window not exposed\n", stderr);
    e.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich"));
    e.knopf("DatenEinlesen")->click();
    for (int i = 0; i < e.seiten()->count(); ++i) {
        e.seiten()->setCurrentIndex(i);
        foto(&e, QStringLiteral("TEinlesefiles_%1").arg(i + 1));
    }
    e.seiten()->setCurrentIndex(0);

    TSimulationsdaten& s = p.simulationsdaten();
    s.katalog_lesen();
    s.show();
    if (!QTest::qWaitForWindowExposed(&s)) std::fputs("window not exposed\n", stderr);
    QTest::qWait(100);
    a.datei(t.res() / "potsdam_2019.sim");
    s.findChild<QPushButton*>(QStringLiteral("Simulationsfile"))->click();
    s.hide();
    h.aktion("StartSimulation1")->trigger();
    s.katalog_lesen();
    s.show();
    QTest::qWait(100);
    for (int i = 0; i < 3; ++i) {
        s.seiten()->setCurrentIndex(i);
        foto(&s, QStringLiteral("TSimulationsdaten_%1").arg(i + 1));
    }
    s.bildseiten()->setCurrentIndex(1);
    s.seiten()->setCurrentIndex(1);
    foto(&s, QStringLiteral("TSimulationsdaten_2_Z"));
    s.bildseiten()->setCurrentIndex(2);
    foto(&s, QStringLiteral("TSimulationsdaten_2_K"));
    s.hide();
    e.hide();

    h.statuspanel_zeigen();
    foto(&h, QStringLiteral("THauptmenue_status"));

    TWP_einstellungen& w = p.einstellungen();
    w.fuellen();
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) std::fputs("window not exposed\n", stderr);
    for (int i = 0; i < w.seiten()->count(); ++i) {
        w.seiten()->setCurrentIndex(i);
        foto(&w, QStringLiteral("TWP_einstellungen_%1").arg(i + 1));
    }
    w.hide();

    Tinfo& info = p.info();
    info.beschriften();
    info.show();
    if (!QTest::qWaitForWindowExposed(&info)) std::fputs("window not exposed\n", stderr);
    foto(&info, QStringLiteral("Tinfo"));
    info.hide();

    TLauf lauf(&h);
    lauf.zeige_flaeche(18.0);
    lauf.zeige_fortschritt(7, 12);
    lauf.show();
    if (!QTest::qWaitForWindowExposed(&lauf)) std::fputs("window not exposed\n", stderr);
    foto(&lauf, QStringLiteral("TLauf"));
    lauf.beenden();

    // A run with warnings: it goes through, the run window stays with its list.
    e.oeffnen();
    e.show();
    e.waehle_datensatz(QStringLiteral("test_ir_D_EJEG_IAAN-D_st0"));
    e.knopf("Optimieren")->click();
    if (TLauf* nach = p.ausfuehrer().nachlauffenster()) {
        if (!QTest::qWaitForWindowExposed(nach)) std::fputs("window not exposed\n", stderr);
        foto(nach, QStringLiteral("TLauf_Meldungen"));
        nach->close();
    } else {
        std::fputs("no run window with messages\n", stderr);
    }
    e.hide();

    // The data sheets and the windows around them.
    fotos_datenfenster(p, a, std::filesystem::path(t.ordner.path().toStdString()),
                       std::filesystem::path(g_ziel.toStdString()),
                       [](QWidget* w, const QString& name) { foto(w, name); });
    {
        // The weather station on the simulated installation after a sensor
        // test and one control step of the loaded data set.
        simulierte_uhr uhr{{2024, 6, 21, 12, 0, 0.0}};
        simulierte_ports ports{uhr};
        stecke_beispielanlage(ports);
        RSCOM port{ports, uhr};
        stationseinstellungen einstellungen;
        einstellungen.adc_10bit = true;
        geraeteprotokoll protokoll{port, einstellungen};
        wetterstation station{protokoll, uhr};
        anlage& a0 = zustand::anlage(0);
        a0.Wetterstation_com = 3;
        TWetterstation ws(station, a0, &h);
        ws.aktivieren();
        station.initialisiere_wetterstation_fuer_steuern(a0, 18.0);
        ws.zeige_felder();
        ws.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(sensor_temperatur);
        ws.sensortest();
        a0.n = 9;
        flagchar n = zustand::numchar();
        n[ndata::messmodus] = "J";
        steuerwerte x;
        x.vel = 2.0e-5;
        x.lnh = 2500.0;  // W
        x.volluft = 0.8;
        x.equer_verbrauch = 42.0;
        x.nh = 4.0;
        x.elp = 0.6;
        steuerschritt_intervall(station, x, zustand::pvdatz3(1), zustand::date3(), 6, 493, 18.0, n, zustand::vdatt(), a0);
        ws.zeige_felder();
        ws.show();
        if (!QTest::qWaitForWindowExposed(&ws)) std::fputs("window not exposed\n", stderr);
        foto(&ws, QStringLiteral("TWetterstation"));
        ws.hide();
    }

    // A message box and a question as the sink shows them.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Varnek"),
                    gui_senke::anzeigetext(g_sprache == QStringLiteral("en")
                                               ? "Error: Read data and create output file"
                                               : "Fehler: Daten einlesen und Ausgabedatei anlegen"),
                    QMessageBox::Ok, &h);
    box.show();
    if (!QTest::qWaitForWindowExposed(&box)) std::fputs("window not exposed\n", stderr);
    foto(&box, QStringLiteral("meldung"));
    box.hide();
    QMessageBox frage(QMessageBox::Question, QStringLiteral("Varnek"),
                      gui_senke::anzeigetext(g_sprache == QStringLiteral("en")
                                                 ? "Warning: COPWE < 1. #13 Terminate application?"
                                                 : "Warnung: COPWE < 1. #13 Anwendung beenden?"),
                      QMessageBox::Yes | QMessageBox::No, &h);
    frage.show();
    if (!QTest::qWaitForWindowExposed(&frage)) std::fputs("window not exposed\n", stderr);
    foto(&frage, QStringLiteral("frage"));
    frage.hide();
    std::fprintf(stderr, "messages: %s\n", qPrintable(a.alle()));
    return 0;
}
