#include "results/ui/listendruck_maler.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

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

bool drucke_zeilen(QPrinter& drucker, const QFont& schrift, const std::vector<druckzeile>& zeilen) {
    QPainter p;
    if (!p.begin(&drucker)) {
        meldung(DRUCKER_FEHLER.text() + drucker.outputFileName().toStdString(), "M", 'E');
        return false;
    }
    p.setFont(QFont(schrift, &drucker));
    const QRect seite = drucker.pageLayout().paintRectPixels(drucker.resolution());
    const QFontMetrics m(p.font(), &drucker);
    const int hoehe = std::max(1, m.boundingRect(QStringLiteral("T")).height());
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
