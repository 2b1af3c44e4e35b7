// The results window: three result files loaded from the catalogue side by
// side, a monthly chart of them in the chart window with the files' values,
// the tables of the files, and the two overview windows of one file.

#include <QChart>
#include <QChartView>
#include <QCategoryAxis>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScatterSeries>
#include <QTest>
#include <QValueAxis>

#include "app/ui/varnek_programm.h"
#include "results/ergebnis_csv.h"
#include "results/ui/TEinErg.h"
#include "results/ui/TGrafErgebnisse.h"
#include "results/ui/TGrafErgebnisse_M.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/ergebnistabellen_modell.h"
#include "results/ui/ergebnis_testhilfe.h"

namespace {
const char* const DATEIEN[] = {"results/potsdam_2019.dat", "results/test_ausgabe_EJEG_IAAN-N_st0.dat",
                               "results/test_ausgabe_ZJEG_IAAN-D_st2.dat"};
}

class Ergebnisfenster : public QObject {
    Q_OBJECT
private slots:
    void drei_dateien_nebeneinander_in_diagramm_und_tabellen();
    void uebersichten_einer_datei();
};

void Ergebnisfenster::drei_dateien_nebeneinander_in_diagramm_und_tabellen() {
    antworter a;
    testprogramm t;
    a.vergiss();
    std::vector<std::filesystem::path> dateien;
    for (const char* d : DATEIEN) dateien.push_back(trage_ein(t, d));
    TEinErg& e = t.programm->ergebnisse();
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.aktivieren();
    // A file chosen in the list is read at once; one that was moved away
    // since is looked for in the file dialog.
    const std::filesystem::path verschoben = t.res() / "verschoben" / dateien[2].filename();
    std::filesystem::create_directories(verschoben.parent_path());
    std::filesystem::rename(dateien[2], verschoben);
    dateien[2] = verschoben;
    for (const auto& p : dateien) {
        QVERIFY(e.waehle_ergebnis(QString::fromStdString(p.filename().string())));
        if (p == verschoben) a.datei(p);
        QVERIFY2(e.mittelwerte_lesen(), qPrintable(a.alle()));
    }
    QCOMPARE(a.dateidialoge, 1);
    QCOMPARE(e.vergleich().anzahl(), 3);
    QVERIFY(e.anzahl_label()->text().endsWith(QStringLiteral(" 3")));
    // Several files: the area is entered as a number, the overview is closed.
    QVERIFY(!e.flaechen()->isEnabled());
    QVERIFY(e.flaechenfeld()->isEnabled());
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));

    // The monthly chart of eg with the area constant at 10 qm: one curve per
    // file, the file's twelve values of that area (the files hold eg in the
    // output unit chosen now, so the values are the file's own).
    QVERIFY(e.waehle_monatsgroesse(adata::eg));
    e.konstant_flaeche()->setChecked(true);
    e.flaechenfeld()->setText(QStringLiteral("10"));
    TGraphKalk& g = t.programm->graphkalk();
    g.show();  // already shown: the chart is refreshed, not opened modally
    e.graphik();
    const QList<QLineSeries*> l = linien(g.chart());
    QCOMPARE(l.size(), 3);
    // The bottom axis names the months.
    auto* monate = qobject_cast<QCategoryAxis*>(g.chart()->axes(Qt::Horizontal).front());
    QVERIFY(monate != nullptr);
    QCOMPARE(monate->categoriesLabels().size(), 12);
    QCOMPARE(monate->categoriesLabels().front(), QLocale(QLocale::German).monthName(1, QLocale::ShortFormat));
    for (int f = 0; f < 3; ++f) {
        const rohdatei roh(dateien[static_cast<std::size_t>(f)]);
        const geladene_datei& d = e.vergleich().datei(f + 1);
        QCOMPARE(QString::fromStdString(d.spalten[static_cast<std::size_t>(d.spalte_von[adata::eg])].einheit),
                 QString::fromStdString(roh.einheit(adata::eg)));
        const int s = d.scheibe_mit_flaeche(10.0);
        QVERIFY(s > 0);
        QVERIFY(l[f]->name().contains(QString::fromStdString(dateien[static_cast<std::size_t>(f)].filename().string())));
        QCOMPARE(l[f]->count(), 12);
        for (int r = 1; r <= 12; ++r) {
            QCOMPARE(l[f]->at(r - 1).x(), double(r));
            QCOMPARE(l[f]->at(r - 1).y(), roh.wert(adata::eg, r, s));
        }
    }

    // The tables: per file its annual values and every section, and the
    // comparison of eg at 10 qm with one column per file.
    e.seiten()->setCurrentWidget(e.tabellen());
    QComboBox* auswahl = e.tabellen()->auswahl();
    int vergleich = -1;
    for (int i = 0; i < auswahl->count(); ++i)
        if (auswahl->itemText(i).startsWith(QStringLiteral("Vergleich"))) vergleich = i;
    QVERIFY(vergleich >= 0);
    auswahl->setCurrentIndex(vergleich);
    const ergebnis_anzeigetabelle* v = e.tabellen()->gezeigt();
    QVERIFY(v != nullptr);
    QCOMPARE(v->spalten.size(), std::size_t(3));
    QCOMPARE(v->werte[6][1], l[1]->at(6).y());
    // Saved as CSV: the header names the code of the quantity.
    const std::filesystem::path csv = t.res() / "vergleich.csv";
    QVERIFY(e.tabellen()->speichern(QString::fromStdString(csv.string())));
    std::ifstream ein(csv);
    std::string kopf, codes;
    std::getline(ein, kopf);
    std::getline(ein, codes);
    QCOMPARE(QString::fromStdString(codes), QStringLiteral("Code,eg,eg,eg"));
    e.hide();
    g.hide();
}

void Ergebnisfenster::uebersichten_einer_datei() {
    antworter a;
    testprogramm t;
    a.vergiss();
    const auto datei = trage_ein(t, DATEIEN[1]);
    TEinErg& e = t.programm->ergebnisse();
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.aktivieren();
    QVERIFY(e.waehle_ergebnis(QString::fromStdString(datei.filename().string())));
    QVERIFY2(e.mittelwerte_lesen(), qPrintable(a.alle()));
    QVERIFY(e.flaechen()->isEnabled());
    const rohdatei roh(datei);

    // Just loaded, the first month and area are marked: the overview opens.
    e.uebersicht_zeigen();
    TGrafErgebnisse& f = e.uebersicht_flaeche();
    QVERIFY2(f.isVisible() && a.meldungen.empty(), qPrintable(a.alle()));
    f.hide();
    // Two areas marked: the overview refuses.
    e.flaechen()->item(2)->setSelected(true);
    e.uebersicht_zeigen();
    QVERIFY(a.gesehen(QStringLiteral("Jeweils einen Eintrag markieren.")));
    QVERIFY(!f.isVisible());
    e.flaechen()->clearSelection();
    e.flaechen()->item(2)->setSelected(true);
    e.uebersicht_zeigen();
    QVERIFY(f.isVisible());
    // "Ges.El.Energie": jkk of row 1 over the area of every section.
    QChartView* jkk = f.diagramm("Chart1");
    QVERIFY(jkk != nullptr);
    const QList<QLineSeries*> l = linien(jkk->chart());
    QCOMPARE(l.size(), 1);
    QCOMPARE(l[0]->count(), e.vergleich().datei(1).scheiben());
    for (int s = 1; s <= l[0]->count(); ++s) QCOMPARE(l[0]->at(s - 1).y(), roh.wert(adata::jkk, 1, s));
    QVERIFY(f.feld("EditWe") != nullptr);
    QVERIFY(f.feld("EditWe")->text().toDouble() > 1000.0);

    // "Ergebnisse (Zeit)" for the marked area: eg month by month at month - 0.5,
    // with the site's demand as the point series "Vorgabe".
    f.findChild<QPushButton*>(QStringLiteral("Zeitabhaengig"))->click();
    TGrafErgebnisse_M& z = e.uebersicht_zeit();
    QVERIFY(z.isVisible());
    QChartView* eg = z.diagramm("Chart14");
    QVERIFY(eg != nullptr);
    const QList<QLineSeries*> sim = linien(eg->chart());
    QCOMPARE(sim.size(), 1);
    QCOMPARE(sim[0]->count(), 12);
    QCOMPARE(sim[0]->at(0).x(), 0.5);
    QCOMPARE(sim[0]->at(11).y(), roh.wert(adata::eg, 12, 3));
    QScatterSeries* vorgabe = nullptr;
    for (QAbstractSeries* s : eg->chart()->series())
        if (auto* p = qobject_cast<QScatterSeries*>(s)) vorgabe = p;
    QVERIFY(vorgabe != nullptr);
    QCOMPARE(vorgabe->count(), 12);
    for (int m = 0; m < 12; ++m) QVERIFY(vorgabe->at(m).y() > 0.0);
    QVERIFY2(a.meldungen.size() == 1, qPrintable(a.alle()));
    z.hide();
    f.hide();
    e.hide();
}

QTEST_MAIN(Ergebnisfenster)
#include "test_ergebnisfenster.moc"
