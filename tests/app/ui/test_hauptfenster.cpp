// The desktop program as a user starts it: start-up, the main menu, the
// message boxes, the language switch.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QCheckBox>
#include <QFileInfo>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "app/einstellungen_lauf.h"
#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "data/einstellungen.h"
#include "app/ui/TSimulationsdaten.h"
#include "app/ui/Tinfo.h"
#include "app/ui/gui_senke.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/einheiten.h"
#include "data/ui/TWP_einstellungen.h"
#include "data/ui/tabellen_modell.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "support/ui/fensterhilfe.h"

class Hauptfenster : public QObject {
    Q_OBJECT

private slots:
    void erster_start_legt_datenbank_an_und_zeigt_das_hauptmenue();
    void spaeterer_start_legt_nichts_an_und_warnt_nur_bei_schmalem_bildschirm();
    void menuepunkte_oeffnen_ihre_fenster();
    void frage_mit_ja_bricht_ab_und_das_fenster_bleibt_benutzbar();
    void umschalten_auf_englisch_beschriftet_fenster_und_meldungen_um();
    void ausgabeeinheit_der_gewaehlten_zeile_wird_gesetzt();
};

void Hauptfenster::erster_start_legt_datenbank_an_und_zeigt_das_hauptmenue() {
    antworter a;
    testprogramm t(800);
    QVERIFY(t.angelegt);
    QVERIFY(std::filesystem::exists(t.db() / "HAUPT.sqlite"));
    QVERIFY(std::filesystem::exists(t.db() / "RESULT.sqlite"));
    // The creation is announced; a screen 800 pixels wide is warned about once.
    QVERIFY2(a.gesehen(QStringLiteral("Default-Datenbank angelegt")), qPrintable(a.alle()));
    int warnungen = 0;
    for (const auto& m : a.meldungen)
        if (m.text.contains(QStringLiteral("Bildschirmauflösung"))) {
            ++warnungen;
            QCOMPARE(m.symbol, QMessageBox::Warning);
        }
    QCOMPARE(warnungen, 1);

    THauptmenue& h = t.programm->hauptmenue();
    h.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h));
    QCOMPARE(h.windowTitle(), QStringLiteral("Varnek"));
    QStringList menues;
    for (QAction* m : h.menuBar()->actions()) menues << m->text().remove(QLatin1Char('&'));
    QCOMPARE(menues, (QStringList{"Daten", "Simulation", "Kalkulation", "Ergebnisse", "Einstellungen", "?"}));
    for (const char* item : {"Neuanlegen1", "Einlesen", "Druckerfonts1", "Druckereinrichten1", "Ende1", "Start1",
                             "USBTest1", "Zwischenergebnisse1", "Start2", "StartSimulation1", "JhrlicheKosten1",
                             "Wetterstation1", "ErgEin", "Grenzen1", "Info1", "Hi1", "Berechnung1"}) {
        QAction* a = h.aktion(item);
        QVERIFY2(a && !a->text().isEmpty(), item);
    }
    // Logo first; a mouse move over the window shows the status panel for good.
    QVERIFY(!h.statuspanel_sichtbar());
    QWidget* logo = h.findChild<QWidget*>(QStringLiteral("PanelLogo"));
    QVERIFY(logo && logo->isVisible());
    QTest::mouseClick(logo, Qt::LeftButton);
    QVERIFY(warte_bis([&] { return h.statuspanel_sichtbar(); }, 2000));
    for (const char* name : {"CheckBoxDE", "CheckBoxAF", "CheckBoxSim"}) {
        auto* c = h.findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY(c && c->isVisible());
    }
    // "Zwischenergebnisse" starts checked; toggled twice it is checked again.
    QAction* z = h.aktion("Zwischenergebnisse1");
    QVERIFY(z->isChecked());
    z->trigger();
    QVERIFY(!z->isChecked());
    z->trigger();
    QVERIFY(z->isChecked());
    // "Ende" closes the window.
    h.aktion("Ende1")->trigger();
    QVERIFY(!h.isVisible());
}

void Hauptfenster::spaeterer_start_legt_nichts_an_und_warnt_nur_bei_schmalem_bildschirm() {
    antworter a;
    const QString ordner = [] {
        testprogramm erst;
        erst.ordner.setAutoRemove(false);
        return erst.ordner.path();
    }();
    a.vergiss();
    varnek_programm p;
    startoptionen o;
    o.datenbank = std::filesystem::path(ordner.toStdString()) / "db";
    o.ergebnisse = std::filesystem::path(ordner.toStdString()) / "res";
    QVERIFY(!p.starte(o, 1280));
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    QDir(ordner).removeRecursively();
}

void Hauptfenster::menuepunkte_oeffnen_ihre_fenster() {
    antworter a;
    testprogramm t;
    THauptmenue& h = t.programm->hauptmenue();
    // "Ergebnisse" and "Jährliche Kosten" open their windows modally.
    for (const auto& [item, fenster] : {std::pair<const char*, QString>{"ErgEin", QStringLiteral("TEinErg")},
                                        std::pair<const char*, QString>{"JhrlicheKosten1", QStringLiteral("TKalkulation")}}) {
        a.vergiss();
        bool offen = false;
        QTimer::singleShot(0, [&, name = fenster] {
            QWidget* w = QApplication::activeModalWidget();
            offen = w != nullptr && w->objectName() == name && w->isVisible();
            if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
        });
        h.aktion(item)->trigger();
        QVERIFY2(offen, item);
        QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    }
    // The help menu opens the guide shipped with the program in the chosen
    // language (the calculation methods at their section); a manual of the
    // installation's own in the text folder comes first.
    a.vergiss();
    h.aktion("Hi1")->trigger();
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    QVERIFY(h.letzte_anleitung().toLocalFile().endsWith(QStringLiteral("/Anleitung.html")));
    QVERIFY(QFileInfo::exists(h.letzte_anleitung().toLocalFile()));
    h.aktion("Berechnung1")->trigger();
    QCOMPARE(h.letzte_anleitung().fragment(), QStringLiteral("berechnung"));
    setze_sprache(SPRACHE_ENGLISCH);
    h.aktion("Hi1")->trigger();
    setze_sprache(SPRACHE_DEUTSCH);
    QVERIFY(h.letzte_anleitung().toLocalFile().endsWith(QStringLiteral("/Anleitung-Englisch.html")));
    QVERIFY(QFileInfo::exists(h.letzte_anleitung().toLocalFile()));
    // (The text folder of this test's own.)
    ::einstellungen().textverzeichnis = t.db().parent_path() / "Texte";
    const std::filesystem::path eigene = ::einstellungen().textverzeichnis / "Anleitung.doc";
    std::filesystem::create_directories(eigene.parent_path());
    std::ofstream(eigene) << "eigene Anleitung";
    h.aktion("Hi1")->trigger();
    QCOMPARE(h.letzte_anleitung().toLocalFile(), QString::fromStdString(eigene.string()));
    // The run entries without data read and output file refuse with the run's message.
    a.vergiss();
    h.aktion("StartSimulation1")->trigger();
    QVERIFY2(a.gesehen(QStringLiteral("Daten einlesen und Ausgabedatei anlegen")), qPrintable(a.alle()));
}

void Hauptfenster::frage_mit_ja_bricht_ab_und_das_fenster_bleibt_benutzbar() {
    antworter a;
    testprogramm t;
    a.vergiss();
    lauf_ausfuehrer& l = t.programm->ausfuehrer();
    // A run asks from its worker thread; "Nein" goes on, "Ja" abandons.
    bool weiter = false;
    a.antworte(QMessageBox::No);
    QCOMPARE(l.fuehre_aus([&](lauf_beobachter&) {
        meldung("Warnung: COPWE < 1.", "M", 'A');
        weiter = true;
    }),
             lauf_ausfuehrer::ende::fertig);
    QVERIFY(weiter);
    QCOMPARE(a.meldungen.size(), std::size_t(1));
    QCOMPARE(a.meldungen[0].schwere, QChar('A'));
    QCOMPARE(a.meldungen[0].symbol, QMessageBox::Question);
    QCOMPARE(a.meldungen[0].text, QStringLiteral("Warnung: COPWE < 1.\nAnwendung beenden?"));
    QCOMPARE(a.meldungen[0].ja_text.remove(QLatin1Char('&')), QStringLiteral("Ja"));

    weiter = false;
    a.antworte(QMessageBox::Yes);
    QCOMPARE(l.fuehre_aus([&](lauf_beobachter&) {
        meldung("Warnung: COPWE < 1.", "M", 'A');
        weiter = true;
    }),
             lauf_ausfuehrer::ende::abgebrochen);
    QVERIFY(!weiter);
    QVERIFY(!l.laeuft());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    // The windows work on: a data set is read and its mark shown.
    TEinlesefiles& e = t.programm->einlesefiles();
    e.show();
    QVERIFY(e.waehle_datensatz(QStringLiteral("test_ir_D_EJEG_IAAN-D_st0")));
    e.daten_einlesen();
    QVERIFY(marken().daten_eingelesen);
    QVERIFY(t.programm->hauptmenue().findChild<QCheckBox*>(QStringLiteral("CheckBoxDE"))->isChecked());
    e.hide();
}

void Hauptfenster::umschalten_auf_englisch_beschriftet_fenster_und_meldungen_um() {
    antworter a;
    testprogramm t;
    TEinlesefiles& e = t.programm->einlesefiles();
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    QCOMPARE(e.windowTitle(), QStringLiteral("Einlesedaten"));
    QCOMPARE(e.knopf("Serie")->text(), QStringLiteral("Serie rechnen"));
    const std::filesystem::path protokoll_de = protokolldatei();
    QCOMPARE(QString::fromStdString(protokoll_de.filename().string()), QStringLiteral("Protokoll.pro"));

    TWP_einstellungen& s = t.programm->einstellungen();
    s.fuellen();
    s.show();
    QVERIFY(s.sprachknopf(0)->isChecked());
    s.sprachknopf(1)->click();
    QCOMPARE(sprache(), SPRACHE_ENGLISCH);
    // The settings window and the main window follow at once ...
    QCOMPARE(s.windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(t.programm->hauptmenue().aktion("StartSimulation1")->text(), QStringLiteral("Start simulation"));
    // ... the open input-file form on its next activation.
    QCOMPARE(e.knopf("Serie")->text(), QStringLiteral("Serie rechnen"));
    s.hide();
    e.activateWindow();
    QVERIFY(warte_bis([&] { return e.knopf("Serie")->text() == QStringLiteral("Compute series"); }, 5000));
    QCOMPARE(e.windowTitle(), QStringLiteral("Input data"));

    // The next message comes in English, with Qt's own buttons in English.
    a.vergiss();
    a.antworte(QMessageBox::No);
    e.knopf("Loeschen")->click();
    QVERIFY2(a.gesehen(QStringLiteral("Delete all data sets not fixed?")), qPrintable(a.alle()));
    QCOMPARE(a.meldungen.back().ja_text.remove(QLatin1Char('&')), QStringLiteral("Yes"));
    a.vergiss();
    t.programm->hauptmenue().aktion("StartSimulation1")->trigger();
    QVERIFY2(a.gesehen(QStringLiteral("Error: Read data and create output file")), qPrintable(a.alle()));
    QCOMPARE(QString::fromStdString(protokolldatei().filename().string()), QStringLiteral("Protocol.pro"));

    // Choosing the language in force rebuilds nothing; back to German.
    s.waehle_sprache(SPRACHE_ENGLISCH);
    QCOMPARE(sprache(), SPRACHE_ENGLISCH);
    s.sprachknopf(0)->click();
    QCOMPARE(sprache(), SPRACHE_DEUTSCH);
    QCOMPARE(s.windowTitle(), QStringLiteral("Einstellungen"));
    a.vergiss();
    a.antworte(QMessageBox::No);
    e.knopf("Loeschen")->click();
    QVERIFY2(a.gesehen(QStringLiteral("Alle nicht fixierten Datensätze löschen?")), qPrintable(a.alle()));
    QCOMPARE(a.meldungen.back().ja_text.remove(QLatin1Char('&')), QStringLiteral("Ja"));
    e.hide();
}

void Hauptfenster::ausgabeeinheit_der_gewaehlten_zeile_wird_gesetzt() {
    antworter a;
    testprogramm t;
    TWP_einstellungen& s = t.programm->einstellungen();
    s.fuellen();
    s.show();
    s.seiten()->setCurrentIndex(1);
    // Every row in turn whose unit is not its quantity's output unit yet: the
    // grid's row is the row the action changes.
    tabellen_modell* m = s.einheitenmodell();
    int geprueft = 0;
    for (int zeile = m->rowCount() - 1; zeile >= 0 && geprueft < 3; --zeile) {
        const std::string kuerzel = m->wert(zeile, "Kuerzel").toStdString();
        const std::string code = m->wert(zeile, "Kennzeichen").toStdString();
        const auto& h = haupteinheiten();
        const auto g = std::find_if(h.begin(), h.end(), [&](const Einheit_struct& e) { return e.kennzeichen == code; });
        if (g == h.end() || g->ausgabe == kuerzel || kuerzel.empty()) continue;
        s.einheitenraster()->selectRow(zeile);
        s.findChild<QPushButton*>(QStringLiteral("AusgabeeinheitSetzen"))->click();
        QCOMPARE(QString::fromStdString(g->ausgabe), QString::fromStdString(kuerzel));
        QCOMPARE(s.feld("ausgabeeinheit")->text(), QString::fromStdString(kuerzel));
        ++geprueft;
    }
    QCOMPARE(geprueft, 3);
    QVERIFY2(a.meldungen.size() <= 1, qPrintable(a.alle()));  // only the creation of the database
    s.hide();
}

QTEST_MAIN(Hauptfenster)
#include "test_hauptfenster.moc"
