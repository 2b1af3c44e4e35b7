// The desktop program `varnek`.

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "app/programmstart.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ui/diagramm_export.h"

namespace {

const char* const HILFE =
    "varnek - heating plants: design, simulation, optimisation, costs and control\n"
    "\n"
    "Usage: varnek [--db DIR] [--results DIR] [--lang de|en] [--simulated-devices] [--fast-clock]\n"
    "       varnek --export-chart monthly|annual --code CODE [--area A] [--size WxH]\n"
    "              --out FILE.svg|.png|.pdf [--db DIR] [--lang de|en] RESULTFILE...\n"
    "\n"
    "  --db DIR       database directory (default: <data dir>/Varnek/DataBase; created\n"
    "                 from the default database when it holds no tables)\n"
    "  --results DIR  result directory (default: <data dir>/Varnek/Results)\n"
    "  --lang de|en   language at start (default de; switched in Einstellungen/Vorgaben)\n"
    "  --simulated-devices\n"
    "                 the weather station and the control runs use a simulated installation\n"
    "                 (weather station COM3, pump board COM4, fan COM5, sensors COM6)\n"
    "                 instead of the serial ports\n"
    "  --fast-clock   control runs on a simulated clock starting now: the wait for the next\n"
    "                 measurement ends at once at the next full hour (demonstrations)\n"
    "\n"
    "  --export-chart monthly|annual\n"
    "                 writes a chart of result files without a window (Qt's offscreen\n"
    "                 platform): monthly = the quantity over the months for the area A\n"
    "                 (default: the last area of the first file), annual = its yearly\n"
    "                 value over the collector area; one curve per file, named by the\n"
    "                 file's data set, in the current output units; at most 6 files\n"
    "  --code CODE    quantity code as in the result files (eg, jkk, nh, ...)\n"
    "  --size WxH     picture size in pixels (default 1200x800; PDF at 96 dpi)\n"
    "  --out FILE     .svg, .png or .pdf\n"
    "\n"
    "The same paths can be chosen in the settings window. varnek-cli runs the same\n"
    "computations without windows.\n";

// The event loop's boundary: an operation abandoned by a message that no
// window caught ends here, and the program goes on.
class varnek_anwendung : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* empfaenger, QEvent* e) override {
        try {
            return QApplication::notify(empfaenger, e);
        } catch (const abbruch&) {
            while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
        } catch (const std::exception& f) {
            meldung(f.what(), "M", 'E');
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    // The help needs no display.
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(HILFE, stdout);
            return 0;
        }
    }
    // Charts without a window: no display needed.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--export-chart") != 0) continue;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        QStringList argumente = QApplication::arguments();
        argumente.removeFirst();
        return exportiere_diagramm(argumente, std::cerr);
    }
    varnek_anwendung app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnek"));
    startoptionen optionen;
    steuerlauf_optionen geraete;
    const QStringList argumente = QApplication::arguments();
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& a = argumente[i];
        auto wert = [&]() -> std::string {
            if (i + 1 >= argumente.size()) {
                std::fprintf(stderr, "varnek: %s braucht einen Wert / needs a value\n", qPrintable(a));
                std::exit(2);
            }
            return argumente[++i].toStdString();
        };
        if (a == QLatin1String("--db")) {
            optionen.datenbank = wert();
        } else if (a == QLatin1String("--results")) {
            optionen.ergebnisse = wert();
        } else if (a == QLatin1String("--lang")) {
            const std::string s = wert();
            if (s != "de" && s != "en") {
                std::fputs("varnek: --lang de|en\n", stderr);
                return 2;
            }
            optionen.sprache = s == "en" ? SPRACHE_ENGLISCH : SPRACHE_DEUTSCH;
        } else if (a == QLatin1String("--simulated-devices")) {
            geraete.simulierte_geraete = true;
        } else if (a == QLatin1String("--fast-clock")) {
            geraete.schnelle_uhr = true;
        } else {
            std::fprintf(stderr, "varnek: unbekannte Option / unknown option: %s (--help)\n", qPrintable(a));
            return 2;
        }
    }
    int ergebnis = 1;
    {
        varnek_programm p(geraete);
        const QScreen* schirm = QGuiApplication::primaryScreen();
        try {
            p.starte(optionen, schirm ? schirm->geometry().width() : 1024);
        } catch (const abbruch&) {
            return 1;
        }
        p.hauptmenue().show();
        ergebnis = QApplication::exec();
    }
    schliesse_alle_tabellen();
    return ergebnis;
}
