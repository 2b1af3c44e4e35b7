#include "app/ui/varnek_programm.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QCoreApplication>

#include "app/datensatz_lauf.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/TSimulationsdaten.h"
#include "app/ui/Tinfo.h"
#include "app/ui/gui_senke.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "costs/ui/TKalkulation.h"
#include "data/datenbank.h"
#include "data/ui/TWP_einstellungen.h"
#include "input/ui/TDetailtabelle_einlesen.h"
#include "input/ui/TEinlesefiles.h"
#include "input/ui/Twp_datensatz_suchen.h"
#include "results/ui/TAusdruck.h"
#include "results/ui/TGesamtenergie.h"
#include "sheets/ui/TDatenblatt.h"
#include "sheets/ui/Tdatenblatt_2.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "lang/textglobale.h"
#include "results/ui/TDiagramme.h"
#include "results/ui/TEinErg.h"
#include "results/ui/TGraphKalk.h"
#include "results/ui/TKennlinien.h"
#include "station/ui/TWetterstation.h"
#include "station/ui/geraetefrage.h"

namespace {
varnek_programm* g_programm = nullptr;
}

varnek_programm* programm() { return g_programm; }

bool datensatz_fuer_fenster_einlesen(const std::string& name, QWidget* eltern) {
    bool geladen = false;
    auto arbeit = [&](lauf_beobachter&) { geladen = datensatz_einlesen(name); };
    if (g_programm) {
        g_programm->ausfuehrer().fuehre_aus(arbeit, eltern);
        g_programm->hauptmenue().marken_zeigen();
    } else {
        lauf_beobachter b;
        arbeit(b);
    }
    return geladen;
}

varnek_programm::varnek_programm(const steuerlauf_optionen& geraete) {
    g_programm = this;
    senke_ = std::make_unique<gui_senke>();
    setze_meldungs_senke(senke_.get());
    ausfuehrer_ = std::make_unique<lauf_ausfuehrer>();
    // Warnings and notes of a run go to the run window's list.
    QObject::connect(senke_.get(), &gui_senke::laufmeldung, ausfuehrer_.get(), &lauf_ausfuehrer::nimm_meldung,
                     Qt::QueuedConnection);
    // The windows in the program's order (the windows of later stages join
    // this list with them).
    hauptmenue_ = std::make_unique<THauptmenue>(*ausfuehrer_);
    einlesefiles_ = std::make_unique<TEinlesefiles>(hauptmenue_.get());
    datenblatt_ = std::make_unique<TDatenblatt>(hauptmenue_.get());
    simulationsdaten_ = std::make_unique<TSimulationsdaten>(hauptmenue_.get());
    info_ = std::make_unique<Tinfo>(hauptmenue_.get());
    datenblatt_2_ = std::make_unique<Tdatenblatt_2>(hauptmenue_.get());
    gesamtenergie_ = std::make_unique<TGesamtenergie>(hauptmenue_.get());
    ausdruck_ = std::make_unique<TAusdruck>(hauptmenue_.get());
    detailtabelle_einlesen_ = std::make_unique<TDetailtabelle_einlesen>(hauptmenue_.get());
    datensatz_suchen_ = std::make_unique<Twp_datensatz_suchen>(hauptmenue_.get());
    einstellungen_ = std::make_unique<TWP_einstellungen>(hauptmenue_.get());
    graphkalk_ = std::make_unique<TGraphKalk>(hauptmenue_.get());
    ergebnisse_ = std::make_unique<TEinErg>(hauptmenue_.get());
    kalkulation_ = std::make_unique<TKalkulation>(hauptmenue_.get());
    kennlinien_ = std::make_unique<TKennlinien>(hauptmenue_.get());
    diagramme_ = std::make_unique<TDiagramme>(ausfuehrer_->monitor(), hauptmenue_.get());
    diagramme_t_ = std::make_unique<TDiagrammeT>(ausfuehrer_->monitor(), hauptmenue_.get());
    geraete_ = std::make_unique<steuergeraete>(geraete);
    geraetefrage_ = std::make_unique<geraetefrage>();
    geraete_->station().setze_rueckfrage(geraetefrage_.get());
    wetterstation_ = std::make_unique<TWetterstation>(geraete_->station(), zustand::anlage(0), hauptmenue_.get());
    // "Vollmodus" and "Testmodus" of the station window start the control run.
    QObject::connect(wetterstation_.get(), &TWetterstation::steuerlauf_gewaehlt, hauptmenue_.get(),
                     [this](const QString& messflag) { hauptmenue_->steuern_starten(messflag); });
    // The run monitors open when the run opens them; a year run's chart goes
    // to the chart window.
    QObject::connect(ausfuehrer_.get(), &lauf_ausfuehrer::zwischenergebnisse_v, diagramme_.get(),
                     [this] { diagramme_->oeffnen(); });
    QObject::connect(ausfuehrer_.get(), &lauf_ausfuehrer::zwischenergebnis_gezeigt, diagramme_.get(),
                     [this] { diagramme_->aktualisieren(); });
    QObject::connect(ausfuehrer_.get(), &lauf_ausfuehrer::zwischenergebnisse_t, diagramme_t_.get(),
                     [this] { diagramme_t_->oeffnen(); });
    QObject::connect(ausfuehrer_.get(), &lauf_ausfuehrer::lauf_beendet, diagramme_.get(), [this] {
        diagramme_->lauf_beendet();
        diagramme_t_->lauf_beendet();
    });
    QObject::connect(ausfuehrer_.get(), &lauf_ausfuehrer::graph, graphkalk_.get(),
                     [this](std::shared_ptr<const graphdata> l, std::shared_ptr<const graphdata> r) {
                         graphkalk_->zeige(*l, *r, MAXGRAPHPUNKTE, true, 1);
                     });
}

varnek_programm::~varnek_programm() {
    wetterstation_.reset();
    geraete_.reset();
    geraetefrage_.reset();
    diagramme_t_.reset();
    diagramme_.reset();
    kennlinien_.reset();
    kalkulation_.reset();
    ergebnisse_.reset();
    graphkalk_.reset();
    einstellungen_.reset();
    datensatz_suchen_.reset();
    detailtabelle_einlesen_.reset();
    ausdruck_.reset();
    gesamtenergie_.reset();
    datenblatt_2_.reset();
    info_.reset();
    simulationsdaten_.reset();
    datenblatt_.reset();
    einlesefiles_.reset();
    hauptmenue_.reset();
    if (qt_texte_) QCoreApplication::removeTranslator(qt_texte_.get());
    setze_meldungs_senke(nullptr);
    g_programm = nullptr;
}

bool varnek_programm::starte(const startoptionen& optionen, int bildschirmbreite) {
    const bool angelegt = programmstart(optionen);
    qt_sprache(sprache());
    if (bildschirmbreite < 1024) meldung(tgtext(tg::aufloesung_warnung), "M", 'W');
    for (int t : {tabledata::thaupt, tabledata::tres}) {
        tabelle& tabelle = tab(t);
        if (tabelle.ist_offen()) tabelle.erster();
    }
    hauptmenue_->beschriften();
    return angelegt;
}

void varnek_programm::qt_sprache(int s) {
    if (qt_texte_) {
        QCoreApplication::removeTranslator(qt_texte_.get());
        qt_texte_.reset();
    }
    // Numbers in fields and charts follow the language (decimal comma in
    // German); files keep their own number format, which the core writes.
    QLocale::setDefault(s == SPRACHE_DEUTSCH ? QLocale(QLocale::German, QLocale::Germany)
                                             : QLocale(QLocale::English, QLocale::UnitedKingdom));
    // English is Qt's own language; German needs its translations.
    if (s != SPRACHE_DEUTSCH) return;
    auto t = std::make_unique<QTranslator>();
    if (t->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t.get());
        qt_texte_ = std::move(t);
    }
}
