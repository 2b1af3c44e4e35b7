// The chart window "Funktion": what it draws from the chart data, its
// buttons, and saving the chart as SVG, PNG and PDF; and the same charts
// without a window from `varnek --export-chart`.

#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QXmlStreamReader>

#include <memory>

#include "app/ui/gui_senke.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/ergebnis_testhilfe.h"

namespace {

// Two left curves of 30 points (x 1..30) and one right curve.
std::unique_ptr<graphdata> links_daten() {
    auto g = std::make_unique<graphdata>();
    g->anzbild = 2;
    for (int i = 1; i <= 2; ++i) {
        g->anzp[i] = 30;
        g->xmin[i] = 0.0;
        g->xmax[i] = 100.0;
        for (int k = 1; k <= 30; ++k) {
            g->x[k][i] = k;
            g->y[k][i] = i * 10.0 + k;
        }
    }
    g->bildname[1] = "Wärme & <Strom> (links)";
    g->bildname[2] = "C:\\Ergebnisse\\zweite.dat (links)";
    g->xname = "Monat";
    g->yname = "Energie [kWh]";
    g->title = "Titelzeile";
    g->info = "Infozeile";
    return g;
}

std::unique_ptr<graphdata> rechts_daten() {
    auto g = std::make_unique<graphdata>();
    g->anzbild = 1;
    g->anzp[1] = 30;
    g->xmax[1] = 100.0;
    for (int k = 1; k <= 30; ++k) {
        g->x[k][1] = k;
        g->y[k][1] = 0.5 * k;
    }
    g->bildname[1] = "Förderhöhe (rechts)";
    g->yname = "Förderhöhe [m]";
    return g;
}

// All character data of an SVG file, which must be well-formed XML whose
// root element is <svg>.
QString svg_text(const QString& datei, QString& fehler) {
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) {
        fehler = QStringLiteral("nicht lesbar");
        return {};
    }
    QXmlStreamReader x(&f);
    QString text, wurzel;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && wurzel.isEmpty()) wurzel = x.name().toString();
        if (x.isCharacters()) text += x.text();
    }
    if (x.hasError()) fehler = x.errorString();
    else if (wurzel != QLatin1String("svg")) fehler = QStringLiteral("Wurzel ") + wurzel;
    return text;
}

// The window's messages as message boxes, for the answerer.
struct mit_boxen {
    gui_senke senke;
    mit_boxen() { setze_meldungs_senke(&senke); }
    ~mit_boxen() { setze_meldungs_senke(nullptr); }
};

}  // namespace

class Diagrammfenster : public QObject {
    Q_OBJECT
private slots:
    void zeichnet_beide_achsen_und_die_knoepfe_aendern_das_bild();
    void ein_neues_diagramm_ersetzt_das_alte_ganz();
    void speichert_svg_png_und_pdf();
    void export_ohne_fenster_data();
    void export_ohne_fenster();
};

void Diagrammfenster::zeichnet_beide_achsen_und_die_knoepfe_aendern_das_bild() {
    antworter a;
    TGraphKalk g;
    g.zeige(*links_daten(), *rechts_daten(), MAXGRAPHPUNKTE, true, 1);
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QList<QLineSeries*> l = linien(g.chart());
    QCOMPARE(l.size(), 3);
    // Curve names are shown from their last "\" on.
    QCOMPARE(l[1]->name(), QStringLiteral("zweite.dat (links)"));
    QCOMPARE(l[0]->count(), 30);
    QCOMPARE(g.chart()->axes(Qt::Vertical).size(), 2);
    QCOMPARE(g.kurvenliste()->count(), 2);

    // "Erster Punkt aus": the left curves lose their first point, the right one keeps it.
    g.knopf("Button5")->click();
    l = linien(g.chart());
    QCOMPARE(l[0]->count(), 29);
    QCOMPARE(l[0]->at(0).x(), 2.0);
    QCOMPARE(l[2]->count(), 30);

    // "Rechtsdaten aus" leaves one vertical axis.
    g.knopf("Button4")->click();
    QCOMPARE(linien(g.chart()).size(), 2);
    QCOMPARE(g.chart()->axes(Qt::Vertical).size(), 1);
    g.knopf("Button4")->click();

    // "Anwenden" with factor 2: left values doubled (the question answered No).
    g.feld("EditFak")->setText(QStringLiteral("2"));
    a.antworte(QMessageBox::No);
    g.knopf("Button2")->click();
    QVERIFY(warte_bis([&] { return linien(g.chart())[0]->at(0).y() == 2.0 * 12.0; }, 5000));
    auto* links = qobject_cast<QValueAxis*>(g.chart()->axes(Qt::Vertical).front());
    QVERIFY(links != nullptr);
    QCOMPARE(links->max(), 2.0 * QLocale().toDouble(g.feld("Editmax")->text()));

    // Two curves selected: the quotient goes to the right axis.
    QVERIFY(!g.knopf("ButtonQuot")->isEnabled());
    g.kurvenliste()->item(0)->setSelected(true);
    g.kurvenliste()->item(1)->setSelected(true);
    QVERIFY(g.knopf("ButtonQuot")->isEnabled());
    g.knopf("ButtonQuot")->click();
    l = linien(g.chart());
    QCOMPARE(l.size(), 4);
    QVERIFY(l[2]->name().contains(QStringLiteral(" / ")));
    QCOMPARE(l[2]->at(0).y(), (10.0 + 1.0) / (20.0 + 1.0));
    // One curve: its sum, truncated to 2 decimals.
    g.kurvenliste()->item(0)->setSelected(true);
    g.knopf("ButtonSum")->click();
    QCOMPARE(g.summe_text(), QStringLiteral("765.00"));
    QVERIFY2(a.meldungen.size() == 1, qPrintable(a.alle()));
}

void Diagrammfenster::ein_neues_diagramm_ersetzt_das_alte_ganz() {
    antworter a;
    TGraphKalk g;
    // A monthly chart with a right axis, then (the window closed and opened
    // again, as from the results window and then the cost window) a chart
    // of one curve over the area.
    g.zeige(*links_daten(), *rechts_daten(), MAXGRAPHPUNKTE, true, 1);
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QCOMPARE(g.chart()->axes(Qt::Vertical).size(), 2);
    // The grid belongs to the left axis only.
    QVERIFY(g.chart()->axes(Qt::Vertical).front()->isGridLineVisible());
    QVERIFY(!g.chart()->axes(Qt::Vertical).back()->isGridLineVisible());
    g.hide();
    auto kosten = std::make_unique<graphdata>();
    kosten->anzbild = 1;
    kosten->anzp[1] = 5;
    kosten->xmax[1] = 50.0;
    for (int k = 1; k <= 5; ++k) {
        kosten->x[k][1] = 10.0 * k;
        kosten->y[k][1] = 5000.0 + 100.0 * k;
    }
    kosten->bildname[1] = "Kosten (links)";
    kosten->xname = "Kollektorfläche [qm]";
    kosten->yname = "Kosten/Jahr [EUR]";
    g.zeige(*kosten, graphdata{}, MAXGRAPHPUNKTE, true, 1);
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QTest::qWait(50);
    QCOMPARE(g.chart()->axes(Qt::Horizontal).size(), 1);
    QCOMPARE(g.chart()->axes(Qt::Vertical).size(), 1);
    QCOMPARE(linien(g.chart()).size(), 1);
    // What the view shows: every title once, nothing of the chart before.
    QStringList texte;
    auto* ansicht = g.findChild<QChartView*>();
    for (QGraphicsItem* i : ansicht->scene()->items())
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(i); t && t->isVisible()) texte << t->toPlainText();
    QCOMPARE(texte.count(QStringLiteral("Kosten/Jahr [EUR]")), 1);
    // The axes carry their tick labels (0 .. 6000 on the left, 10 .. 50 below).
    int zahlen = 0;
    for (const QString& t : texte) zahlen += QLocale().toDouble(t) > 0.0 || t == QStringLiteral("0");
    QVERIFY2(zahlen >= 8, qPrintable(texte.join(QStringLiteral(" | "))));
    QCOMPARE(texte.count(QStringLiteral("Kollektorfläche [qm]")), 1);
    for (const char* alt : {"Energie [kWh]", "Förderhöhe [m]", "Monat"})
        QVERIFY2(!texte.contains(QString::fromUtf8(alt)), alt);
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
}

void Diagrammfenster::speichert_svg_png_und_pdf() {
    mit_boxen boxen;
    antworter a;
    TGraphKalk g;
    g.zeige(*links_daten(), *rechts_daten(), MAXGRAPHPUNKTE, true, 1);
    QTemporaryDir ordner;
    const QString svg = ordner.filePath(QStringLiteral("bild.svg"));
    QVERIFY(g.speichere(svg, QSize(900, 600)));
    QString fehler;
    const QString text = svg_text(svg, fehler);
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
    for (const char* titel : {"Wärme & <Strom> (links)", "zweite.dat (links)", "Förderhöhe (rechts)", "Titelzeile",
                              "Energie [kWh]"})
        QVERIFY2(text.contains(QString::fromUtf8(titel)), titel);

    const QString png = ordner.filePath(QStringLiteral("bild.png"));
    QVERIFY(g.speichere(png, QSize(640, 480)));
    const QImage bild(png);
    QCOMPARE(bild.size(), QSize(640, 480));
    // Not a blank picture: the curves leave coloured pixels.
    int farbig = 0;
    for (int y = 0; y < bild.height(); y += 2)
        for (int x = 0; x < bild.width(); x += 2) {
            const QColor c = bild.pixelColor(x, y);
            if (std::abs(c.red() - c.blue()) > 60) ++farbig;
        }
    QVERIFY(farbig > 50);

    const QString pdf = ordner.filePath(QStringLiteral("bild.pdf"));
    QVERIFY(g.speichere(pdf, QSize(800, 500)));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");

    // An unknown extension or an unwritable place is reported; nothing is left.
    QVERIFY(!g.speichere(ordner.filePath(QStringLiteral("bild.wmf")), QSize(800, 500)));
    QVERIFY(!g.speichere(ordner.filePath(QStringLiteral("fehlt/bild.svg")), QSize(800, 500)));
    QCOMPARE(a.meldungen.size(), std::size_t(2));
    QVERIFY(!QFile::exists(ordner.filePath(QStringLiteral("bild.wmf"))));
}

void Diagrammfenster::export_ohne_fenster_data() {
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    const QString a = QString::fromStdString(fixture("results/test_ausgabe_EJEG_IAAN-N_st0.dat").string());
    const QString b = QString::fromStdString(fixture("results/test_ausgabe_ZJEG_IAAN-D_st2.dat").string());
    QTest::newRow("jaehrlich, zwei Dateien")
        << QStringList{QStringLiteral("annual"), QStringLiteral("--code"), QStringLiteral("jkk"), a, b} << 0
        << QStringLiteral("test_EJEG_IAAN-N_st0|test_ZJEG_IAAN-D_st2");
    QTest::newRow("monatlich, Fläche 10")
        << QStringList{QStringLiteral("monthly"), QStringLiteral("--code"), QStringLiteral("eg"),
                       QStringLiteral("--area"), QStringLiteral("10"), a}
        // The picture states its area and names the months.
        << 0 << QStringLiteral("test_EJEG_IAAN-N_st0|Fläche 10 qm|Jan|Dez");
    QTest::newRow("unbekannter Code")
        << QStringList{QStringLiteral("annual"), QStringLiteral("--code"), QStringLiteral("xyz"), a} << 1
        << QStringLiteral("xyz");
    QTest::newRow("Fläche fehlt")
        << QStringList{QStringLiteral("monthly"), QStringLiteral("--code"), QStringLiteral("eg"),
                       QStringLiteral("--area"), QStringLiteral("7"), a}
        << 1 << QStringLiteral("7");
    QTest::newRow("keine Datei") << QStringList{QStringLiteral("annual"), QStringLiteral("--code"),
                                                QStringLiteral("eg")}
                                 << 2 << QStringLiteral("Ergebnisdatei");
}

void Diagrammfenster::export_ohne_fenster() {
    QFETCH(QStringList, argumente);
    QFETCH(int, status);
    QFETCH(QString, text);
    const QString programm = QCoreApplication::applicationDirPath() + QStringLiteral("/varnek");
    if (!QFile::exists(programm)) QSKIP("varnek is not built");
    QTemporaryDir ordner;
    const QString aus = ordner.filePath(QStringLiteral("diagramm.svg"));
    QProcess p;
    // No display: the export picks the offscreen platform itself.
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.remove(QStringLiteral("QT_QPA_PLATFORM"));
    umgebung.remove(QStringLiteral("DISPLAY"));
    umgebung.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(umgebung);
    QStringList a = {QStringLiteral("--export-chart")};
    a << argumente << QStringLiteral("--out") << aus << QStringLiteral("--db") << ordner.filePath(QStringLiteral("db"))
      << QStringLiteral("--results") << ordner.filePath(QStringLiteral("res"));
    p.start(programm, a);
    QVERIFY(p.waitForFinished(120000));
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), status);
    if (status != 0) {
        QVERIFY(!QFile::exists(aus));
        QVERIFY2(fehler.contains(text), qPrintable(fehler));
        return;
    }
    QString xml_fehler;
    const QString svg = svg_text(aus, xml_fehler);
    QVERIFY2(xml_fehler.isEmpty(), qPrintable(xml_fehler));
    for (const QString& name : text.split(QLatin1Char('|'))) QVERIFY2(svg.contains(name), qPrintable(name));
    // Curves are named by their data set, not by the file's path; one curve
    // per file, so no axis marks (jkk's annual chart has no jkk_g curves).
    QVERIFY(!svg.contains(QStringLiteral("fixtures")));
    QVERIFY(!svg.contains(QStringLiteral("(rechts)")));
    QVERIFY(!svg.contains(QStringLiteral("(links)")));
}

QTEST_MAIN(Diagrammfenster)
#include "test_diagrammfenster.moc"
