#include "results/ui/druckhilfe.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "app/ui/THauptmenue.h"
#include "app/ui/varnek_programm.h"
#include "results/ui/dateidialoge.h"

namespace {
std::unique_ptr<QPrinter>& eigener_drucker() {
    static std::unique_ptr<QPrinter> d;
    return d;
}
}  // namespace

QPrinter* drucker_waehlen(QWidget* eltern) {
    QPrinter* d = nullptr;
    if (programm()) {
        d = &programm()->hauptmenue().drucker();
    } else {
        auto& e = eigener_drucker();
        if (!e) e = std::make_unique<QPrinter>();
        d = e.get();
    }
    QPrintDialog dialog(d, eltern);
    dialog.setObjectName(QStringLiteral("druckdialog"));
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    if (d->outputFormat() == QPrinter::PdfFormat && d->outputFileName().isEmpty()) {
        const auto datei = speichere_datei(eltern, QStringLiteral("PDF"), QStringLiteral("druck.pdf"),
                                           {QStringLiteral("PDF (*.pdf)")});
        if (!datei) return nullptr;
        d->setOutputFileName(*datei);
    }
    return d;
}

QFont druckerschrift() {
    if (programm()) return programm()->hauptmenue().druckerschrift();
    QFont f = QApplication::font();
    f.setPointSize(10);
    return f;
}

bool drucke_liste(QPrinter& drucker, const std::vector<druckzeile>& zeilen, const QFont& schrift) {
    QPainter p;
    if (!p.begin(&drucker)) return false;
    p.setFont(schrift);
    const QFontMetrics m(schrift, &drucker);
    const int zeilenhoehe = std::max(1, m.boundingRect(QStringLiteral("T")).height());
    const QRect seite = p.viewport();
    const auto lage = listendruck_layout(zeilen, seite.width(), seite.height(), zeilenhoehe);
    int seitennummer = 1;
    for (std::size_t i = 0; i < zeilen.size() && i < lage.size(); ++i) {
        while (lage[i].seite > seitennummer) {
            drucker.newPage();
            ++seitennummer;
        }
        const int grundlinie = lage[i].y + zeilenhoehe;
        p.drawText(lage[i].x_label, grundlinie, QString::fromStdString(zeilen[i].label));
        p.drawText(lage[i].x_wert, grundlinie, QString::fromStdString(zeilen[i].wert));
    }
    return p.end();
}
