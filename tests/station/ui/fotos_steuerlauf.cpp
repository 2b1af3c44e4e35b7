// Pictures of a control run from the desktop on a simulated installation
// with the fast clock: the whole screen while the run computes its live
// intervals (main window, input-file form, station window, run window), the
// station window during the run and after "Anhalten". Run under a display
// (xvfb-run) for the screen picture; offscreen gives the window pictures.

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "app/ui/THauptmenue.h"
#include "app/ui/TLauf.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/ui/TWP_einstellungen.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/sprache.h"
#include "station/ui/TWetterstation.h"
#include "support/ui/fensterhilfe.h"

namespace {

QString g_ziel;
QString g_sprache;

void bild(const QPixmap& p, const QString& name) {
    schritt(name);
    const QString datei = g_ziel + QStringLiteral("/") + g_sprache + QStringLiteral("_") + name + QStringLiteral(".png");
    p.save(datei);
    std::printf("%s\n", qPrintable(datei));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    notausgang(240, "ui_fotos_steuerlauf");
    if (argc < 2) {
        std::fputs("ui_fotos_steuerlauf <output folder> [de|en]\n", stderr);
        return 2;
    }
    g_ziel = QString::fromLocal8Bit(argv[1]);
    g_sprache = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("de");
    QDir().mkpath(g_ziel);

    antworter a;
    steuerlauf_optionen g;
    g.simulierte_geraete = true;
    g.schnelle_uhr = true;
    g.uhrstart = datum_uhrzeit{2024, 6, 21, 11, 0, 0.0};
    testprogramm t(1280, g);
    varnek_programm& p = *t.programm;
    if (g_sprache == QStringLiteral("en")) {
        p.einstellungen().fuellen();
        p.einstellungen().waehle_sprache(SPRACHE_ENGLISCH);
    }
    p.ausfuehrer().setze_fensterverzoegerung(0);
    THauptmenue& h = p.hauptmenue();
    h.show();
    TEinlesefiles& e = p.einlesefiles();
    e.show();
    e.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich Intervall M"));
    TWetterstation& w = p.wetterstation();
    w.setze_kontrolldatei(t.res() / "kontrolle.text");

    wenn_modal(w, [&] {
        QTest::qWait(100);
        bild(w.grab(), QStringLiteral("TWetterstation_bereit"));
        bool fertig = false;
        QTimer wache;
        wache.setInterval(20);
        QObject::connect(&wache, &QTimer::timeout, [&] {
            auto* lauf = qobject_cast<TLauf*>(QApplication::activeModalWidget());
            if (fertig || !lauf || w.gezeigte_liveintervalle() < 3) return;
            fertig = true;
            QTest::qWait(100);
            if (QScreen* s = QGuiApplication::primaryScreen()) bild(s->grabWindow(0), QStringLiteral("steuerlauf_bildschirm"));
            bild(w.grab(), QStringLiteral("TWetterstation_steuerlauf"));
            bild(lauf->grab(), QStringLiteral("TLauf_steuerlauf"));
            QTest::mouseClick(lauf->findChild<QPushButton*>(QStringLiteral("anhalten")), Qt::LeftButton);
        });
        wache.start();
        QTest::mouseClick(w.knopf("Button5"), Qt::LeftButton);
        wache.stop();
        QTest::qWait(100);
        bild(w.grab(), QStringLiteral("TWetterstation_nach_stop"));
        w.reject();
    });
    e.wetterstation_und_steuern();
    std::printf("%s\n", qPrintable(a.alle()));
    return 0;
}
