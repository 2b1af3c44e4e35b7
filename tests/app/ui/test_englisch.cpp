// Every caption a user reads in English mode is English: the input form,
// the data sheets, the results and cost windows with their charts and the
// weather-station window are walked widget by widget, and each caption is
// checked against German words, the German unit "qm", the J/N marks and the
// stored column names that used to stand in for captions. Values a user
// typed or stored (names of data sets, free text) are not captions and are
// not checked; the stored column names may stay as tooltips.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QValueAxis>

#include "app/ui/THauptmenue.h"
#include "app/ui/varnek_programm.h"
#include "costs/ui/TKalkulation.h"
#include "data/datenbank.h"
#include "data/ui/TWP_einstellungen.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/sprache.h"
#include "results/ui/TEinErg.h"
#include "results/ui/TGrafErgebnisse.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/ergebnis_testhilfe.h"
#include "sheets/ui/TDatenblatt.h"
#include "sheets/ui/Tdatenblatt_2.h"
#include "station/simulierte_ports.h"
#include "station/steuerschritt.h"
#include "station/ui/TWetterstation.h"
#include "support/ui/fensterhilfe.h"

namespace {

// Words that give German away in a caption (compared without case).
const QStringList DEUTSCH = {
    "ja", "nein", "qm", "und", "oder", "der", "die", "das", "mit", "für", "von", "nicht", "keine",
    "fläche", "speicher", "datei", "daten", "wärme", "anlage", "ergebnis", "ergebnisse", "monat", "jahr",
    "einheit", "kosten", "leistung", "temperatur", "wärmepumpe", "schließen", "speichern", "drucken",
    "berechnen", "abbrechen", "januar", "dezember", "einstrahlung", "kollektorfläche", "zeile", "spalte"};
// Stored column names that stood in for captions (as stored, lower case;
// the table codes in capitals, IR_TA_M, are names in both languages).
const QStringList SPALTENNAMEN = {"haupteingabefile", "land", "bezirk", "ort", "pfad", "tw", "rh", "ew_m",
                                  "kolo", "wpww", "ir_ta_m", "eineta", "ankoeffizient", "kundennummer",
                                  "ausgabefile", "einflaeche", "maximaleleistung", "einheit"};

struct pruefer {
    QStringList fehler;

    void text(const QString& wo, const QString& t) {
        if (t.isEmpty()) return;
        static const QRegularExpression umlaut(QStringLiteral("[äöüÄÖÜß]"));
        static const QRegularExpression trenner(QStringLiteral("[^\\wäöüÄÖÜß_]+"));
        if (umlaut.match(t).hasMatch()) {
            fehler << wo + QStringLiteral(": ") + t;
            return;
        }
        for (const QString& w : t.split(trenner, Qt::SkipEmptyParts))
            if (DEUTSCH.contains(w.toLower()) || SPALTENNAMEN.contains(w)) {
                fehler << wo + QStringLiteral(": ") + t;
                return;
            }
    }

    void modell(const QString& wo, QAbstractItemModel* m) {
        if (!m) return;
        for (int c = 0; c < m->columnCount(); ++c)
            text(wo + QStringLiteral(" column %1").arg(c), m->headerData(c, Qt::Horizontal).toString());
    }

    void chart(const QString& wo, QChart* c) {
        if (!c) return;
        text(wo + QStringLiteral(" title"), QTextDocumentFragment::fromHtml(c->title()).toPlainText());
        for (QAbstractAxis* a : c->axes()) text(wo + QStringLiteral(" axis"), a->titleText());
    }

    // Every visible caption of `fenster` and its children.
    void fenster(QWidget* f) {
        const QString name = QString::fromLatin1(f->metaObject()->className());
        text(name + QStringLiteral(" window title"), f->windowTitle());
        for (QWidget* w : f->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(f)) continue;
            const QString wo = name + QStringLiteral(" ") + QString::fromLatin1(w->metaObject()->className()) +
                               QStringLiteral(" '") + w->objectName() + QStringLiteral("'");
            if (auto* l = qobject_cast<QLabel*>(w)) text(wo, l->text());
            else if (auto* b = qobject_cast<QAbstractButton*>(w)) text(wo, b->text());
            else if (auto* g = qobject_cast<QGroupBox*>(w)) text(wo, g->title());
            else if (auto* t = qobject_cast<QTabWidget*>(w)) {
                for (int i = 0; i < t->count(); ++i) text(wo + QStringLiteral(" tab"), t->tabText(i));
            } else if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
                if (qobject_cast<QHeaderView*>(w)) continue;
                modell(wo, v->model());
            } else if (auto* c = qobject_cast<QComboBox*>(w)) {
                // Choices of the program (units, kinds), not the data sets a user names.
                if (c->isEditable()) continue;
                for (int i = 0; i < c->count(); ++i) text(wo + QStringLiteral(" item"), c->itemText(i));
            } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
                // A read-only field shows what the program put there: a mark
                // like J/N must read yes/no.
                if (e->isReadOnly() && (e->text() == QLatin1String("J") || e->text() == QLatin1String("N")))
                    fehler << wo + QStringLiteral(": ") + e->text();
            } else if (auto* cv = qobject_cast<QChartView*>(w)) {
                chart(wo, cv->chart());
            }
        }
    }
    QString bericht() const { return fehler.join(QStringLiteral("\n")); }
};

void englisch(varnek_programm& p) {
    p.einstellungen().fuellen();
    p.einstellungen().waehle_sprache(SPRACHE_ENGLISCH);
    QVERIFY(sprache() == SPRACHE_ENGLISCH);
}

void zeige(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(20);
}

}  // namespace

class Englisch : public QObject {
    Q_OBJECT
private slots:
    void eingabeformular();
    void datenblaetter();
    void ergebnisse_und_kosten();
    void wetterstation();
    void cleanup() { setze_sprache(SPRACHE_DEUTSCH); }
};

void Englisch::eingabeformular() {
    antworter a;
    testprogramm t;
    englisch(*t.programm);
    TEinlesefiles& e = t.programm->einlesefiles();
    e.oeffnen();
    zeige(e);
    QVERIFY(e.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich")));
    e.knopf("DatenEinlesen")->click();
    pruefer p;
    for (int i = 0; i < e.seiten()->count(); ++i) {
        e.seiten()->setCurrentIndex(i);
        p.fenster(&e);
    }
    QVERIFY2(p.fehler.isEmpty(), qPrintable(p.bericht()));
    e.hide();
}

void Englisch::datenblaetter() {
    antworter a;
    testprogramm t;
    englisch(*t.programm);
    using namespace tabledata;
    TDatenblatt& d = t.programm->datenblatt();
    pruefer p;
    for (int tabelle : {tee, twp, tkol, tabledata::tan, tnum, tew_m, trech, teh_m, tir_ta_m, tpreis, tspei, tgwt, tte,
                        tlage, tko}) {
        d.oeffnen(tabelle);
        zeige(d);
        p.fenster(&d);
    }
    d.hide();
    Tdatenblatt_2& d2 = t.programm->datenblatt_2();
    {
        ::tabelle& w = tab(tir_ta_m);
        w.filter_aus();
        w.sortiere_nach_schluessel();
        w.suche({feldwert(std::string("ir_test_stuendlich"))});
    }
    d2.oeffnen(detailart::wetter);
    zeige(d2);
    p.fenster(&d2);
    d2.hide();
    QVERIFY2(p.fehler.isEmpty(), qPrintable(p.bericht()));
}

void Englisch::ergebnisse_und_kosten() {
    antworter a;
    testprogramm t;
    englisch(*t.programm);
    const auto dat = trage_ein(t, "results/test_ausgabe_EJEG_IAAN-N_st0.dat");
    const auto sim = trage_ein(t, "costs/test_ausgabe_ZJEG_IAAN-N_st0.sim");
    pruefer p;
    TEinErg& e = t.programm->ergebnisse();
    zeige(e);
    e.aktivieren();
    p.fenster(&e);  // the result catalogue
    QVERIFY(e.waehle_ergebnis(QString::fromStdString(dat.filename().string())));
    QVERIFY2(e.mittelwerte_lesen(), qPrintable(a.alle()));
    p.fenster(&e);
    TGraphKalk& g = t.programm->graphkalk();
    g.show();
    QVERIFY(e.waehle_monatsgroesse(adata::eg));
    e.graphik();
    p.fenster(&g);
    e.uebersicht_zeigen();
    TGrafErgebnisse& u = e.uebersicht_flaeche();
    QVERIFY(u.isVisible());
    p.fenster(&u);
    u.hide();
    e.hide();

    TKalkulation& k = t.programm->kalkulation();
    zeige(k);
    k.aktivieren();
    QVERIFY(k.waehle_ergebnis(QString::fromStdString(sim.filename().string())));
    QVERIFY2(k.resultat_einlesen(), qPrintable(a.alle()));
    p.fenster(&k);
    QVERIFY(k.diagramm(kostenart::kosten_jahr));
    p.fenster(&g);
    g.hide();
    k.hide();
    for (const gesehene_meldung& m : a.meldungen) p.text(QStringLiteral("message"), m.text);
    QVERIFY2(p.fehler.isEmpty(), qPrintable(p.bericht()));
}

void Englisch::wetterstation() {
    antworter a;
    testprogramm t;
    englisch(*t.programm);
    // The station window after a search on a simulated installation and
    // one control step (the switch fields hold their marks then).
    simulierte_uhr uhr{{2024, 6, 21, 12, 0, 0.0}};
    simulierte_ports ports{uhr};
    stecke_beispielanlage(ports);
    RSCOM port{ports, uhr};
    stationseinstellungen einstellungen;
    einstellungen.adc_10bit = true;
    geraeteprotokoll protokoll{port, einstellungen};
    ::wetterstation station{protokoll, uhr};
    anlage& a0 = zustand::anlage(0);
    a0.Wetterstation_com = 3;
    TWetterstation ws(station, a0, &t.programm->hauptmenue());
    ws.aktivieren();
    station.initialisiere_wetterstation_fuer_steuern(a0, 18.0);
    flagchar n = zustand::numchar();
    n[ndata::messmodus] = "J";
    steuerwerte x;
    x.vel = 2.0e-5;
    x.lnh = 2500.0;
    steuerschritt_intervall(station, x, zustand::pvdatz3(1), zustand::date3(), 6, 493, 18.0, n, zustand::vdatt(), a0);
    ws.zeige_felder();
    zeige(ws);
    pruefer p;
    p.fenster(&ws);
    QCOMPARE(ws.feld("Edit51")->text(), QStringLiteral("no"));
    ws.hide();
    // The program's own station searches the (absent) ports and asks in English.
    TWetterstation& w = t.programm->wetterstation();
    bool offen = false;
    wenn_modal(w, [&] {
        offen = true;
        p.fenster(&w);
        w.reject();
    });
    t.programm->hauptmenue().aktion("Wetterstation1")->trigger();
    QVERIFY(offen);
    QVERIFY2(a.gesehen(QStringLiteral("no correct device")), qPrintable(a.alle()));
    for (const gesehene_meldung& m : a.meldungen) p.text(QStringLiteral("message"), m.text);
    QVERIFY2(p.fehler.isEmpty(), qPrintable(p.bericht()));
}

QTEST_MAIN(Englisch)
#include "test_englisch.moc"
