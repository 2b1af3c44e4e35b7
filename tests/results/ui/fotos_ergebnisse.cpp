// Pictures of the result and cost windows in both languages, for looking at
// them: ui_fotos_ergebnisse <output folder> [de|en]. The program runs on a
// fresh data folder of its own with three result files of the repository's
// fixtures in its catalogue; an optimisation is photographed while it runs.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "app/datensatz_lauf.h"
#include "app/laufmonitor_beobachter.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "costs/ui/TKalkulation.h"
#include "data/datenbank.h"
#include "data/ui/TWP_einstellungen.h"
#include "input/ui/TEinlesefiles.h"
#include "lang/sprache.h"
#include "results/ui/TDiagramme.h"
#include "results/ui/TEinErg.h"
#include "results/ui/TGrafErgebnisse.h"
#include "results/ui/TGrafErgebnisse_M.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/TKennlinien.h"
#include "results/ui/ergebnis_testhilfe.h"
#include "results/ui/ergebnistabellen_modell.h"

namespace {

QString g_ziel;
QString g_sprache;

void foto(QWidget* w, const QString& name) {
    QTest::qWait(80);
    schritt(name);
    const QString datei = g_ziel + QStringLiteral("/") + g_sprache + QStringLiteral("_") + name + QStringLiteral(".png");
    w->grab().save(datei);
    std::printf("%s\n", qPrintable(datei));
}

void zeigen(QWidget& w) {
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) std::fputs("window not exposed\n", stderr);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    notausgang(240, "ui_fotos_ergebnisse");
    if (argc < 2) {
        std::fputs("ui_fotos_ergebnisse <output folder> [de|en]\n", stderr);
        return 2;
    }
    g_ziel = QString::fromLocal8Bit(argv[1]);
    g_sprache = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("de");
    QDir().mkpath(g_ziel);

    antworter a;
    testprogramm t;
    varnek_programm& p = *t.programm;
    if (g_sprache == QStringLiteral("en")) {
        p.einstellungen().fuellen();
        p.einstellungen().waehle_sprache(SPRACHE_ENGLISCH);
    }
    std::vector<std::filesystem::path> dateien;
    for (const char* d : {"results/potsdam_2019.dat", "results/test_ausgabe_EJEG_IAAN-N_st0.dat",
                          "results/test_ausgabe_ZJEG_IAAN-D_st2.dat"})
        dateien.push_back(trage_ein(t, d));

    // The results window with three files.
    TEinErg& e = p.ergebnisse();
    zeigen(e);
    e.aktivieren();
    for (const auto& d : dateien) {
        e.waehle_ergebnis(QString::fromStdString(d.filename().string()));
        e.mittelwerte_lesen();
    }
    e.waehle_monatsgroesse(adata::eg);
    e.konstant_flaeche()->setChecked(true);
    e.flaechenfeld()->setText(QStringLiteral("10"));
    foto(&e, QStringLiteral("TEinErg_drei_Dateien"));

    // The chart window: the monthly chart of eg at 10 qm, the annual chart of jkk.
    TGraphKalk& g = p.graphkalk();
    zeigen(g);
    e.graphik();
    foto(&g, QStringLiteral("TGraphKalk_monat_eg"));
    e.waehle_jahresgroesse(adata::jkk);
    e.graphik();
    foto(&g, QStringLiteral("TGraphKalk_jahr_jkk"));
    e.seiten()->setCurrentWidget(e.tabellen());
    foto(&e, QStringLiteral("TEinErg_Tabellen"));
    e.seiten()->setCurrentIndex(0);
    e.hide();

    // The overviews of one file.
    {
        TEinErg einzeln(&p.hauptmenue());
        zeigen(einzeln);
        einzeln.aktivieren();
        einzeln.waehle_ergebnis(QString::fromStdString(dateien[0].filename().string()));
        einzeln.mittelwerte_lesen();
        einzeln.monate()->clearSelection();
        einzeln.monate()->item(6)->setSelected(true);
        einzeln.flaechen()->item(2)->setSelected(true);
        einzeln.uebersicht_zeigen();
        TGrafErgebnisse& f = einzeln.uebersicht_flaeche();
        if (!QTest::qWaitForWindowExposed(&f)) std::fputs("window not exposed\n", stderr);
        for (int i = 0; i < f.seiten()->count(); ++i) {
            f.seiten()->setCurrentIndex(i);
            foto(&f, QStringLiteral("TGrafErgebnisse_%1").arg(i + 1));
        }
        einzeln.uebersicht_zeit_zeigen();
        TGrafErgebnisse_M& z = einzeln.uebersicht_zeit();
        if (!QTest::qWaitForWindowExposed(&z)) std::fputs("window not exposed\n", stderr);
        for (int i = 0; i < z.seiten()->count(); ++i) {
            z.seiten()->setCurrentIndex(i);
            foto(&z, QStringLiteral("TGrafErgebnisse_M_%1").arg(i + 1));
        }
        z.hide();
        f.hide();
        einzeln.hide();
    }

    // The characteristic curves of the hourly data set, July 1st at noon.
    TEinlesefiles& ein = p.einlesefiles();
    ein.oeffnen();
    ein.waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich"));
    ein.daten_einlesen();
    TKennlinien& k = p.kennlinien();
    zeigen(k);
    k.waehle(7, 13);
    foto(&k, QStringLiteral("TKennlinien"));
    k.cop_graphik();
    foto(&g, QStringLiteral("TGraphKalk_Kennlinie_COP"));
    k.kollektor_graphik();
    foto(&g, QStringLiteral("TGraphKalk_Kennlinie_Kollektor"));
    k.hide();
    g.hide();

    // A run monitor while an optimisation of the hourly data set runs.
    TDiagrammeT& mt = p.diagramme_t();
    bool fotografiert = false;
    QTimer blick;
    blick.setInterval(200);
    QObject::connect(&blick, &QTimer::timeout, [&] {
        if (fotografiert || !mt.isVisible() || !p.ausfuehrer().laeuft()) return;
        mt.aktualisieren();
        foto(&mt, QStringLiteral("TDiagrammeT_waehrend_Optimierung"));
        fotografiert = true;
    });
    blick.start();
    zeigen(ein);
    ein.knopf("Optimieren")->click();
    blick.stop();
    if (!fotografiert) std::fputs("monitor not photographed during the run\n", stderr);
    mt.hide();
    ein.hide();

    // Window (V) with step points reported from the run's thread the way the
    // time-step month step reports them (the engine's time-step method is not
    // part of this build; the points here are made up by this program).
    p.ausfuehrer().fuehre_aus([](lauf_beobachter& b) {
        auto* m = dynamic_cast<laufmonitor_beobachter*>(&b);
        b.zwischenergebnisse_v_oeffnen(18.0);
        // x: the inflow temperature of the step; y: the month's electric
        // energy, lowest at a month-dependent best temperature.
        for (int i = 1; i <= 12; ++i)
            for (int monat = 1; monat <= 12; ++monat) {
                const double x = 8.0 + 3.0 * i;
                const double bestes = 20.0 + 12.0 * std::cos((monat - 7) * 3.14159 / 6.0);
                const double grund = 150.0 + 450.0 * std::abs(std::cos((monat - 1) * 3.14159 / 12.0));
                m->stufenpunkt(monat, i, x, grund + 0.6 * (x - bestes) * (x - bestes));
            }
        b.zwischenergebnisse_v_zeigen();
    });
    TDiagramme& mv = p.diagramme();
    mv.aktualisieren();
    foto(&mv, QStringLiteral("TDiagramme_Testpunkte"));
    mv.hide();

    // The cost window with two results of optimisations that start at area 0
    // (the run limits of the data sets set to a minimum area of 0 qm).
    tabelle& rech = tab(tabledata::trech);
    rech.filter_aus();
    rech.sortiere_nach_schluessel();
    if (rech.suche({feldwert(std::string("r45"))})) {
        rech.bearbeiten();
        rech.setze("mina", feldwert(0.0));
        rech.speichern();
    }
    std::vector<std::filesystem::path> optimiert;
    for (const char* datensatz : {"test_ZJEG_IAAN-N_st0", "test_EJEG_IAAN-N_st0"}) {
        ein.oeffnen();
        ein.waehle_datensatz(QString::fromLatin1(datensatz));
        ein.knopf("Optimieren")->click();
        if (gewaehltes_ausgabefile()) optimiert.push_back(gewaehltes_ausgabefile()->pfad);
    }
    p.diagramme_t().hide();
    TKalkulation& kal = p.kalkulation();
    zeigen(kal);
    kal.aktivieren();
    for (const auto& d : optimiert) {
        kal.waehle_ergebnis(QString::fromStdString(d.filename().string()));
        kal.resultat_einlesen();
    }
    foto(&kal, QStringLiteral("TKalkulation_zwei_Resultate"));
    zeigen(g);
    const std::pair<kostenart, const char*> arten[] = {{kostenart::kosten_jahr, "Kosten_Jahr"},
                                                      {kostenart::mehrkosten_jahr, "Mehrkosten_Jahr"},
                                                      {kostenart::gesamtkosten, "Gesamtkosten"},
                                                      {kostenart::energie_pro_qm, "Energie_pro_qm"},
                                                      {kostenart::zusatzinvestition, "Zusatzinvestition"}};
    for (const auto& [art, name] : arten) {
        kal.diagramm(art);
        foto(&g, QStringLiteral("TGraphKalk_") + QString::fromLatin1(name));
    }
    kal.findChild<QTabWidget*>(QStringLiteral("seiten"))->setCurrentIndex(1);
    foto(&kal, QStringLiteral("TKalkulation_Kosten_pro_Jahr"));
    g.hide();
    kal.hide();
    std::fprintf(stderr, "messages: %s\n", qPrintable(a.alle()));
    return 0;
}
