#include "results/ui/listendruck_maler.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

#include "app/ui/THauptmenue.h"
#include "app/ui/qt_speicherdialog.h"
#include "app/ui/varnek_programm.h"
#include "data/einstellungen.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {
constexpr text_paar PDF_TITEL{"Druck als PDF-Datei speichern", "Save the printout as a PDF file"};
constexpr text_paar PDF_FILTER{"PDF-Dateien (*.pdf)|*.pdf", "PDF files (*.pdf)|*.pdf"};
constexpr text_paar DRUCKER_FEHLER{"Fehler: Drucker kann nicht beginnen: ", "Error: the printer cannot start: "};

// Breaks values wider than `breite` into continuation lines (empty label):
// at the " | " between grid columns where it can, else at a blank, inside
// a word where it must. Lines that were to stay together on a page still do, their
// continuation lines included.
std::vector<druckzeile> umbrechen(const std::vector<druckzeile>& zeilen, const QFontMetrics& m, int breite) {
    const QString trenner = QStringLiteral(" | ");
    std::vector<std::vector<std::string>> stuecke(zeilen.size());
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        QString rest = QString::fromStdString(zeilen[i].wert);
        auto& teile = stuecke[i];
        while (m.horizontalAdvance(rest) > breite && rest.size() > 1) {
            // The longest start that fits, ended at a separator if there is one.
            qsizetype n = 1;
            while (n < rest.size() && m.horizontalAdvance(rest.left(n + 1)) <= breite) ++n;
            const qsizetype t = rest.left(n + 1).lastIndexOf(trenner);
            const qsizetype leer = rest.left(n + 1).lastIndexOf(QLatin1Char(' '));
            if (t > 0) {
                teile.push_back(rest.left(t + 2).toStdString());  // keeps "... |"
                rest = rest.mid(t + trenner.size());
            } else if (leer > 0) {
                teile.push_back(rest.left(leer).toStdString());
                rest = rest.mid(leer + 1);
            } else {
                teile.push_back(rest.left(n).toStdString());
                rest = rest.mid(n);
            }
        }
        teile.push_back(rest.toStdString());
    }
    // summe[i]: physical lines from original line i to the end.
    std::vector<int> summe(zeilen.size() + 1, 0);
    for (std::size_t i = zeilen.size(); i-- > 0;) summe[i] = summe[i + 1] + static_cast<int>(stuecke[i].size());
    std::vector<druckzeile> neu;
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const std::size_t ende = std::min(zeilen.size(), i + static_cast<std::size_t>(std::max(zeilen[i].zusammen, 1)));
        const int zusammen = summe[i] - summe[ende];
        for (std::size_t j = 0; j < stuecke[i].size(); ++j)
            neu.push_back({j == 0 ? zeilen[i].label : std::string(), stuecke[i][j], zusammen - static_cast<int>(j)});
    }
    return neu;
}

}  // namespace

QPrinter* waehle_drucker(QWidget* eltern, const QString& dokument) {
    if (!programm()) return nullptr;
    QPrinter& d = programm()->hauptmenue().drucker();
    d.setDocName(dokument);
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        d.setOutputFormat(QPrinter::NativeFormat);
        QPrintDialog dialog(&d, eltern);
        return dialog.exec() == QDialog::Accepted ? &d : nullptr;
    }
    qt_speicherdialog dialog(eltern);
    speicherdialog_vorgabe v;
    v.verzeichnis = einstellungen().ergebnisverzeichnis;
    v.titel = PDF_TITEL.text();
    v.erweiterung = ".pdf";
    v.filter = PDF_FILTER.text();
    v.dateiname = dokument.toStdString();
    const auto datei = dialog.zeige(v);
    if (!datei) return nullptr;
    d.setOutputFormat(QPrinter::PdfFormat);
    d.setOutputFileName(QString::fromStdString(datei->string()));
    return &d;
}

bool drucke_zeilen(QPrinter& drucker, const QFont& schrift, const std::vector<druckzeile>& eingabe) {
    QPainter p;
    if (!p.begin(&drucker)) {
        meldung(DRUCKER_FEHLER.text() + drucker.outputFileName().toStdString(), "M", 'E');
        return false;
    }
    p.setFont(QFont(schrift, &drucker));
    const QRect seite = drucker.pageLayout().paintRectPixels(drucker.resolution());
    const QFontMetrics m(p.font(), &drucker);
    const int hoehe = std::max(1, m.boundingRect(QStringLiteral("T")).height());
    const auto gebrochen = umbrechen(eingabe, m, std::max(seite.width() - seite.width() / 2 - LISTENDRUCK_LABEL_X / 2, 1));
    const std::vector<druckzeile>& zeilen = gebrochen;
    const auto lage = listendruck_layout(zeilen, seite.width(), seite.height(), hoehe);
    int aktuelle_seite = 1;
    for (std::size_t i = 0; i < zeilen.size() && i < lage.size(); ++i) {
        while (lage[i].seite > aktuelle_seite) {
            drucker.newPage();
            ++aktuelle_seite;
        }
        const int y = lage[i].y + m.ascent();
        p.drawText(lage[i].x_label, y, QString::fromStdString(zeilen[i].label));
        p.drawText(lage[i].x_wert, y, QString::fromStdString(zeilen[i].wert));
    }
    p.end();
    return true;
}
