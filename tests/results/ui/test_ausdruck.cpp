// Printouts as PDF files (the test machine has no printer), read back with
// pdftotext: the field list of a site data set and the full records it refers
// to, and the grid of a data-sheet page wider than the paper.

#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "input/ui/TEinlesefiles.h"
#include "input/datensatzauswahl.h"
#include "results/ui/TAusdruck.h"
#include "sheets/ui/TDatenblatt.h"
#include "sheets/ui/blatt_modell.h"
#include "sheets/ui/blatt_raster.h"
#include "support/ui/fensterhilfe.h"

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

// The text of a PDF file, or a null string when pdftotext is missing.
QString pdf_text(const fs::path& pdf) {
    const QString programm = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (programm.isEmpty()) return {};
    QProcess p;
    p.start(programm, {QStringLiteral("-layout"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
    if (!p.waitForFinished(30000)) return {};
    // Ligatures of the font ("ﬃ") back to their letters.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

// "label: value" as printed, blanks between them collapsed.
bool zeile_da(const QString& text, const QString& label, const QString& wert) {
    for (const QString& z : text.split(QLatin1Char('\n')))
        if (z.simplified().startsWith(label + QStringLiteral(" ") + wert)) return true;
    return false;
}

}  // namespace

class Ausdruck : public QObject {
    Q_OBJECT
private slots:
    void datensatz_als_pdf_namen_und_werte();
    void breites_raster_des_datenblatts_ohne_abgeschnittene_spalten();
};

void Ausdruck::datensatz_als_pdf_namen_und_werte() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    antworter a;
    testprogramm t;
    a.vergiss();
    // The data set is chosen in the input-file form, which opens the printout.
    TEinlesefiles& e = t.programm->einlesefiles();
    e.oeffnen();
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    QVERIFY(e.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich")));
    TAusdruck& au = t.programm->ausdruck();
    const fs::path namen_pdf = t.res() / "namen.pdf", werte_pdf = t.res() / "werte.pdf";
    bool gesehen = false;
    QTimer::singleShot(0, [&] {
        if (!warte_bis([&] { return au.isVisible(); }, 5000)) return;
        gesehen = true;
        // "Namen": every reference marked, the fields of the data set printed.
        au.waehle_daten(0);
        QCOMPARE(au.liste()->selectedItems().size(), au.liste()->count());
        a.datei(namen_pdf);
        au.knopf("BitBtn2")->click();
        // "Werte": only the weather record marked.
        au.waehle_daten(1);
        au.liste()->clearSelection();
        for (int i = 0; i < au.liste()->count(); ++i)
            if (au.liste()->item(i)->text().startsWith(QStringLiteral("ir_ta_m:"))) au.liste()->item(i)->setSelected(true);
        a.datei(werte_pdf);
        au.knopf("BitBtn2")->click();
        au.knopf("BitBtn1")->click();
    });
    e.knopf("Drucken")->click();
    QVERIFY(gesehen);
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));

    const QString namen = pdf_text(namen_pdf);
    QVERIFY2(!namen.isEmpty(), "no text in the PDF of the field list");
    for (const auto& [label, wert] : std::vector<std::pair<const char*, const char*>>{
             {"name:", "EFH Potsdam 2019 stuendlich"}, {"ort:", "Potsdam"}, {"ir_ta_m:", "ir_test_stuendlich"},
             {"wpwe:", "wp0"}, {"rech:", "r45"}, {"lock:", ""}})
        QVERIFY2(zeile_da(namen, QString::fromLatin1(label), QString::fromUtf8(wert)), label);
    // Only the data set's own fields: no record's fields.
    QVERIFY(!namen.contains(QStringLiteral("einheit_ir:")));

    const QString werte = pdf_text(werte_pdf);
    QVERIFY2(!werte.isEmpty(), "no text in the PDF of the records");
    QVERIFY(zeile_da(werte, QStringLiteral("name:"), QStringLiteral("ir_test_stuendlich")));
    QVERIFY(zeile_da(werte, QStringLiteral("breite:"), QStringLiteral("52.38")));
    QVERIFY(zeile_da(werte, QStringLiteral("einheit_ir:"), QStringLiteral("kWh/qm")));
    QVERIFY(zeile_da(werte, QStringLiteral("ir7:"), QStringLiteral("160.203")));
    // The unmarked records are not printed.
    QVERIFY(!werte.contains(QStringLiteral("gammalin:")));
}

void Ausdruck::breites_raster_des_datenblatts_ohne_abgeschnittene_spalten() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    antworter a;
    testprogramm t;
    a.vergiss();
    // The heat-pump table has far more columns than a line of the page holds.
    TDatenblatt& d = t.programm->datenblatt();
    d.oeffnen(twp);
    const fs::path pdf = t.res() / "wp.pdf";
    a.datei(pdf);
    d.drucken();
    QVERIFY2(a.meldungen.empty(), qPrintable(a.alle()));
    const QString text = pdf_text(pdf);
    QVERIFY2(!text.isEmpty(), "no text in the PDF of the grid");
    // Every column title and every value of the rows is on the paper, the
    // last columns included.
    const QString woerter = text.simplified();
    const zeilenliste z = lies_zeilen(twp);
    QVERIFY(z.spalten.size() > 30);
    const auto* m = d.raster(twp)->modell();
    for (int i = 0; i < m->columnCount(); ++i) {
        const QString titel = m->headerData(i, Qt::Horizontal).toString();
        QVERIFY2(woerter.contains(titel), qPrintable(titel));
    }
    for (const auto& zeile : z.zeilen)
        for (std::size_t i = z.spalten.size() - 5; i < zeile.size(); ++i)
            QVERIFY2(woerter.contains(QString::fromStdString(zeile[i])), zeile[i].c_str());
}

QTEST_MAIN(Ausdruck)
#include "test_ausdruck.moc"
