#include "app/ui/THauptmenue.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

#include "app/datensatz_lauf.h"
#include "app/simulation_run.h"
#include "app/ui/Tinfo.h"
#include "app/ui/TSimulationsdaten.h"
#include "app/ui/anlagenbild.h"
#include "app/ui/ereignisrand.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/handbuch.h"
#include "app/ui/varnek_programm.h"
#include "app/steuerlauf.h"
#include "station/kontrolldatei.h"
#include "station/ui/TWetterstation.h"
#include "costs/ui/TKalkulation.h"
#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "data/stammdaten.h"
#include "data/ui/TWP_einstellungen.h"
#include "input/ui/TEinlesefiles.h"
#include "input/ui/TNeuanlegen.h"
#include "lang/meldung.h"
#include "lang/textglobale.h"
#include "results/ui/TEinErg.h"
#include "station/RSCOM.h"

namespace {

QString q(const text_paar& t) { return QString::fromStdString(t.text()); }
QString q(int n) { return QString::fromStdString(tgtext(n)); }

// Caption set of the main window.
namespace c {
constexpr text_paar daten{"&Daten", "&Data"};
constexpr text_paar neu_anlegen{"Neu anlegen", "Create new"};
constexpr text_paar haupteinlesefiles{"Haupteinlesefiles", "Main input files"};
constexpr text_paar druckerfonts{"Druckerfonts", "Printer fonts"};
constexpr text_paar drucker_einrichten{"Drucker einrichten", "Printer setup"};
constexpr text_paar ende{"Ende", "Exit"};
constexpr text_paar simulation{"&Simulation", "&Simulation"};
constexpr text_paar parameter{"Parameter", "Parameters"};
constexpr text_paar usb_test{"USB Test", "USB test"};
constexpr text_paar zwischenergebnisse{"Zwischenergebnisse", "Intermediate results"};
constexpr text_paar start_optimierung{"Start Optimierung", "Start optimisation"};
constexpr text_paar start_simulation{"Start Simulation", "Start simulation"};
constexpr text_paar kalkulation{"&Kalkulation", "&Calculation"};
constexpr text_paar kosten{"Kosten", "Costs"};
constexpr text_paar wetterstation{"Wetterstation", "Weather station"};
constexpr text_paar ergebnisse{"&Ergebnisse", "&Results"};
constexpr text_paar darstellen{"Darstellen", "Display"};
constexpr text_paar einstellungen{"E&instellungen", "Se&ttings"};
constexpr text_paar vorgaben{"Vorgaben", "Defaults"};
constexpr text_paar hilfe{"&?", "&?"};
constexpr text_paar info{"Info", "Info"};
constexpr text_paar anleitung{"Anleitung", "Manual"};
constexpr text_paar berechnung{"Berechnung", "Calculation methods"};

constexpr text_paar simulationsschritte{"Simulationsschritte", "Simulation steps"};
constexpr text_paar daten_eingelesen{"Daten eingelesen", "Data read"};
constexpr text_paar ausgabefile_angelegt{"Ausgabefile angelegt", "Output file created"};
constexpr text_paar simulation_durchgefuehrt{"Simulation durchgeführt", "Simulation completed"};
constexpr text_paar neue_simulation{"Neue Simulation", "New simulation"};
constexpr text_paar rechenzeit{"Rechenzeit", "Computing time"};

// The logo panel, line by line.
constexpr text_paar logo[] = {
    {"Kopplung", "Coupling"},
    {"von", "of"},
    {"Wärmepumpen,", "heat pumps,"},
    {"Heizungsanlagen,", "heating systems,"},
    {"Solarkollektoren", "solar collectors"},
    {"und", "and"},
    {"Solarzellen", "solar cells"},
    {"Konzeption", "Conception"},
    {"Analyse", "Analysis"},
    {"Optimierung", "Optimisation"},
    {"Steuerung", "Control"},
};
// Left indentation of the logo lines (as in the original panel).
constexpr int logo_einzug[] = {30, 70, 50, 65, 80, 150, 120, 70, 70, 70, 70};

constexpr text_paar steuerlauf_stand{"Steuerlauf: %1 Live-Intervalle, zuletzt Monat %2, Intervall %3 (%4)",
                                     "Control run: %1 live intervals, last month %2, interval %3 (%4)"};
constexpr text_paar steuerlauf_beendet{"Steuerlauf beendet nach %1 Live-Intervallen",
                                       "Control run ended after %1 live intervals"};
}  // namespace c

}  // namespace

THauptmenue::THauptmenue(lauf_ausfuehrer& ausfuehrer, QWidget* eltern)
    : QMainWindow(eltern), ausfuehrer_(ausfuehrer) {
    setObjectName(QStringLiteral("THauptmenue"));
    druckerschrift_ = font();
    druckerschrift_.setPointSize(10);
    baue_menue();

    stapel_ = new QStackedWidget(this);
    auto* start = new QWidget(stapel_);
    auto* reihe = new QHBoxLayout(start);
    reihe->setContentsMargins(40, 30, 40, 30);
    reihe->setSpacing(40);
    auto* logo = baue_logopanel();
    logo->setParent(start);
    reihe->addWidget(logo, 1);
    auto* chart = new anlagenbild('Z', start);
    chart->setObjectName(QStringLiteral("PanelChart"));
    chart->setMinimumSize(310, 200);
    chart->setMaximumHeight(320);
    reihe->addWidget(chart, 1, Qt::AlignVCenter);
    stapel_->addWidget(start);
    stapel_->addWidget(baue_statuspanel());
    setCentralWidget(stapel_);

    // The first click or mouse move over the start panels shows the status panel.
    for (QWidget* w : {static_cast<QWidget*>(start), logo, static_cast<QWidget*>(chart)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    stapel_->setMouseTracking(true);
    stapel_->installEventFilter(this);

    connect(&ausfuehrer_, &lauf_ausfuehrer::fortschritt, this, [this](int wert, int maximum) {
        fortschritt_->setRange(0, maximum > 0 ? maximum : 1);
        fortschritt_->setValue(std::min(wert, fortschritt_->maximum()));
    });
    connect(&ausfuehrer_, &lauf_ausfuehrer::neu_zeichnen, this, [this] { update(); });
    connect(&ausfuehrer_, &lauf_ausfuehrer::lauf_begonnen, this, [this] {
        statuspanel_zeigen();
        fortschritt_->setValue(0);
    });
    connect(&ausfuehrer_, &lauf_ausfuehrer::lauf_beendet, this, [this] {
        // A completed run has done all its steps.
        if (ausfuehrer_.letztes_ende() == lauf_ausfuehrer::ende::fertig) fortschritt_->setValue(fortschritt_->maximum());
        marken_zeigen();
        rechenzeit_wert_->setText(QLocale().toString(ausfuehrer_.letzte_dauer(), 'f', 2) + QStringLiteral(" s"));
    });
    resize(812, 612);
    beschriften();
}

void THauptmenue::baue_menue() {
    auto neue_aktion = [this](QMenu* m, const char* name, auto handler) {
        auto* a = m->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [handler] { am_ereignisrand(handler); });
        return a;
    };
    QMenuBar* leiste = menuBar();
    auto neues_menue = [&](const char* name) {
        QMenu* m = leiste->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* daten = neues_menue("Daten");
    neue_aktion(daten, "Neuanlegen1", [this] {
        loese_alle_master();
        // Created when it is needed.
        TNeuanlegen neu(this);
        neu.exec();
    });
    neue_aktion(daten, "Einlesen", [] {
        loese_alle_master();
        tabelle& haupt = tab(tabledata::thaupt);
        if (haupt.ist_offen()) haupt.filter_aus();
        programm()->einlesefiles().zeige_modal();
    });
    neue_aktion(daten, "Druckerfonts1", [this] {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, druckerschrift_, this);
        if (!ok) return;
        druckerschrift_ = f;
        seitenmasse_berechnen();
    });
    neue_aktion(daten, "Druckereinrichten1", [this] {
        QPageSetupDialog dialog(&drucker(), this);
        if (dialog.exec() == QDialog::Accepted) seitenmasse_berechnen();
    });
    daten->addSeparator();
    neue_aktion(daten, "Ende1", [this] { close(); });

    QMenu* sim = neues_menue("Simulation");
    neue_aktion(sim, "Start1", [] { programm()->simulationsdaten().zeige_modal(); });
    auto* usb = neue_aktion(sim, "USBTest1", [this] {
        rscom().usb_test_flag = aktion("USBTest1")->isChecked() ? 'Y' : 'N';
    });
    usb->setCheckable(true);
    auto* zwischen = neue_aktion(sim, "Zwischenergebnisse1", [this] {
        ausfuehrer_.setze_zwischenergebnisse(aktion("Zwischenergebnisse1")->isChecked());
    });
    zwischen->setCheckable(true);
    zwischen->setChecked(true);
    sim->addSeparator();
    neue_aktion(sim, "Start2", [this] { starte_lauf(true); });
    neue_aktion(sim, "StartSimulation1", [this] { starte_lauf(false); });

    QMenu* kalk = neues_menue("Kalkulation");
    neue_aktion(kalk, "JhrlicheKosten1", [] {
        loese_alle_master();
        programm()->kalkulation().zeige_modal();
    });
    neue_aktion(kalk, "Wetterstation1", [] { programm()->wetterstation().zeige_zum_messen(); });

    QMenu* erg = neues_menue("Ergebnisse");
    neue_aktion(erg, "ErgEin", [] {
        loese_alle_master();
        programm()->ergebnisse().zeige_modal();
    });

    QMenu* einst = neues_menue("Einstellungen");
    neue_aktion(einst, "Grenzen1", [] { programm()->einstellungen().vorbereiten(); });

    QMenu* hilfe = neues_menue("Hilfe");
    neue_aktion(hilfe, "Info1", [] { programm()->info().zeige_modal(); });
    neue_aktion(hilfe, "Hi1", [this] { oeffne_anleitung("Anleitung.doc", "Anleitung-Englisch.doc", ""); });
    neue_aktion(hilfe, "Berechnung1", [this] {
        oeffne_anleitung("Anleitung-Mathematik.doc", "Anleitung-Mathematik Englisch.doc", "berechnung");
    });
}

QWidget* THauptmenue::baue_logopanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelLogo"));
    auto* spalte = new QVBoxLayout(panel);
    spalte->setSpacing(2);
    titel_ = new QLabel(panel);
    QFont gross = titel_->font();
    gross.setPointSize(gross.pointSize() * 2 + 4);
    gross.setBold(true);
    titel_->setFont(gross);
    titel_->setContentsMargins(85, 0, 0, 12);
    spalte->addWidget(titel_);
    for (std::size_t i = 0; i < std::size(c::logo); ++i) {
        auto* l = new QLabel(panel);
        QFont f = l->font();
        f.setPointSize(f.pointSize() + (i < 7 ? 3 : 1));
        f.setItalic(i >= 7);
        l->setFont(f);
        if (i == 7) spalte->addSpacing(14);
        auto* zeile = new QHBoxLayout;
        zeile->addSpacing(c::logo_einzug[i]);
        zeile->addWidget(l);
        zeile->addStretch(1);
        logotexte_.push_back(l);
        spalte->addLayout(zeile);
    }
    spalte->addStretch(1);
    for (QLabel* l : logotexte_) l->setAttribute(Qt::WA_TransparentForMouseEvents);
    titel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    return panel;
}

QWidget* THauptmenue::baue_statuspanel() {
    auto* haupt = new QWidget(this);
    haupt->setObjectName(QStringLiteral("PanelHaupt"));
    auto* aussen = new QVBoxLayout(haupt);
    aussen->addStretch(1);
    auto* reihe = new QHBoxLayout;
    reihe->addStretch(1);

    panel_sim_ = new QGroupBox(haupt);
    panel_sim_->setObjectName(QStringLiteral("PanelSim"));
    auto* marken = new QVBoxLayout(panel_sim_);
    marken->setSpacing(10);
    auto neue_marke = [&](const char* name) {
        auto* m = new QCheckBox(panel_sim_);
        m->setObjectName(QString::fromLatin1(name));
        // Read-only: the marks show the run's state, the user does not set them.
        m->setAttribute(Qt::WA_TransparentForMouseEvents);
        m->setFocusPolicy(Qt::NoFocus);
        marken->addWidget(m);
        return m;
    };
    check_de_ = neue_marke("CheckBoxDE");
    check_af_ = neue_marke("CheckBoxAF");
    check_sim_ = neue_marke("CheckBoxSim");
    marken->addStretch(1);
    panel_sim_->setMinimumWidth(230);
    reihe->addWidget(panel_sim_);
    reihe->addSpacing(60);

    auto* rechts = new QVBoxLayout;
    neue_simulation_ = new QPushButton(haupt);
    neue_simulation_->setObjectName(QStringLiteral("ButtonSim"));
    connect(neue_simulation_, &QPushButton::clicked, this, [this] {
        neue_simulation();
        gewaehltes_ausgabefile().reset();
        marken_zeigen();
    });
    rechts->addWidget(neue_simulation_);
    rechts->addSpacing(12);
    auto* zeit = new QHBoxLayout;
    rechenzeit_ = new QLabel(haupt);
    rechenzeit_wert_ = new QLabel(QStringLiteral("–"), haupt);
    rechenzeit_wert_->setObjectName(QStringLiteral("Rechenzeit"));
    zeit->addWidget(rechenzeit_);
    zeit->addWidget(rechenzeit_wert_, 1);
    rechts->addLayout(zeit);
    rechts->addSpacing(12);
    fortschritt_ = new QProgressBar(haupt);
    fortschritt_->setObjectName(QStringLiteral("ProgressBar1"));
    fortschritt_->setRange(0, 12);
    fortschritt_->setValue(0);
    fortschritt_->setMinimumWidth(180);
    rechts->addWidget(fortschritt_);
    rechts->addStretch(1);
    reihe->addLayout(rechts);
    reihe->addStretch(1);
    aussen->addLayout(reihe);
    aussen->addStretch(2);
    return haupt;
}

void THauptmenue::beschriften() {
    beschriftet_in_ = sprache();
    setWindowTitle(q(tg::produkttitel));
    auto setze = [this](const char* name, const text_paar& t) {
        if (QAction* a = aktion(name)) a->setText(q(t));
    };
    auto setze_menue = [this](const char* name, const text_paar& t) {
        if (QMenu* m = menue(name)) m->setTitle(q(t));
    };
    setze_menue("Daten", c::daten);
    setze("Neuanlegen1", c::neu_anlegen);
    setze("Einlesen", c::haupteinlesefiles);
    setze("Druckerfonts1", c::druckerfonts);
    setze("Druckereinrichten1", c::drucker_einrichten);
    setze("Ende1", c::ende);
    setze_menue("Simulation", c::simulation);
    setze("Start1", c::parameter);
    setze("USBTest1", c::usb_test);
    setze("Zwischenergebnisse1", c::zwischenergebnisse);
    setze("Start2", c::start_optimierung);
    setze("StartSimulation1", c::start_simulation);
    setze_menue("Kalkulation", c::kalkulation);
    setze("JhrlicheKosten1", c::kosten);
    setze("Wetterstation1", c::wetterstation);
    setze_menue("Ergebnisse", c::ergebnisse);
    setze("ErgEin", c::darstellen);
    setze_menue("Einstellungen", c::einstellungen);
    setze("Grenzen1", c::vorgaben);
    setze_menue("Hilfe", c::hilfe);
    setze("Info1", c::info);
    setze("Hi1", c::anleitung);
    setze("Berechnung1", c::berechnung);

    panel_sim_->setTitle(q(c::simulationsschritte));
    check_de_->setText(q(c::daten_eingelesen));
    check_af_->setText(q(c::ausgabefile_angelegt));
    check_sim_->setText(q(c::simulation_durchgefuehrt));
    neue_simulation_->setText(q(c::neue_simulation));
    rechenzeit_->setText(q(c::rechenzeit) + QStringLiteral(":"));
    titel_->setText(q(tg::produkttitel));
    for (std::size_t i = 0; i < logotexte_.size(); ++i) logotexte_[i]->setText(q(c::logo[i]));
}

void THauptmenue::menuitem_activate(bool an) {
    for (const char* name : {"Simulation", "Kalkulation", "Ergebnisse", "Einstellungen"})
        if (QMenu* m = menue(name)) m->menuAction()->setEnabled(an);
}

void THauptmenue::marken_zeigen() {
    if (ausfuehrer_.laeuft()) return;
    const laufmarken& m = marken();
    check_de_->setChecked(m.daten_eingelesen);
    check_af_->setChecked(m.ausgabefile_angelegt);
    check_sim_->setChecked(m.simulation_durchgefuehrt);
}

void THauptmenue::statuspanel_zeigen() {
    if (stapel_->currentIndex() == 1) return;
    stapel_->setCurrentIndex(1);
    marken_zeigen();
    stapel_->currentWidget()->update();
}

bool THauptmenue::statuspanel_sichtbar() const { return stapel_->currentIndex() == 1; }

QAction* THauptmenue::aktion(const char* name) const { return findChild<QAction*>(QString::fromLatin1(name)); }

QMenu* THauptmenue::menue(const char* name) const { return findChild<QMenu*>(QString::fromLatin1(name)); }

bool THauptmenue::zwischenergebnisse_gewaehlt() const { return aktion("Zwischenergebnisse1")->isChecked(); }

void THauptmenue::setze_zwischenergebnisse(bool an) {
    aktion("Zwischenergebnisse1")->setChecked(an);
    ausfuehrer_.setze_zwischenergebnisse(an);
}

void THauptmenue::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        setze_zwischenergebnisse(true);
        druckerschrift_.setPointSize(10);
        beschriften();
        marken_zeigen();
    }
    QMainWindow::changeEvent(e);
}

bool THauptmenue::eventFilter(QObject* objekt, QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
        if (stapel_->currentIndex() == 0) statuspanel_zeigen();
        break;
    case QEvent::Paint:
        // Painting shows the captions of the language in force.
        if (beschriftet_in_ != sprache()) beschriften();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(objekt, e);
}

void THauptmenue::closeEvent(QCloseEvent* e) {
    if (ausfuehrer_.laeuft()) {
        ausfuehrer_.anhalten();
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

void THauptmenue::starte_lauf(bool optimierung) {
    ausfuehrer_.fuehre_aus([optimierung](lauf_beobachter& b) { rechne_geladenen_datensatz(optimierung, b); }, this);
    marken_zeigen();
}

void THauptmenue::oeffne_anleitung(const char* deutsch, const char* englisch, const char* abschnitt) {
    // A manual of the installation's own in the text folder, else the
    // guide shipped with the program.
    const bool en = sprache() == SPRACHE_ENGLISCH;
    const auto a = finde_anleitung(::einstellungen().textverzeichnis, en ? englisch : deutsch, en, abschnitt);
    if (!a) {
        meldung(tgtext(tg::handbuch_fehlt) + (handbuch_verzeichnis() / (en ? "Anleitung-Englisch.html" : "Anleitung.html")).string(),
                "M", 'E');
        return;
    }
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(a->datei.string()));
    if (!a->abschnitt.empty()) url.setFragment(QString::fromStdString(a->abschnitt));
    letzte_anleitung_ = url;
    if (!anleitung_oeffnen_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QDesktopServices::openUrl(url);
    QApplication::restoreOverrideCursor();
}

void THauptmenue::steuern_starten(const QString& messflag) {
    varnek_programm& p = *programm();
    TWetterstation& fenster = p.wetterstation();
    steuergeraete& g = p.geraete();
    wetterstation& w = g.station();
    fenster.steuerlauf_beginnt();
    // The run owns the station: the window shows copies of its fields,
    // posted where the window would repaint (after a measurement, before the
    // wait for the next one, after each live interval).
    int anzahl = 0;
    auto kopie_zeigen = [&w, &fenster, &anzahl] {
        QMetaObject::invokeMethod(
            &fenster,
            [&fenster, felder = w.felder, mess = w.messung_laeuft, n = anzahl] { fenster.zeige_kopie(felder, mess, n); },
            Qt::QueuedConnection);
    };
    w.neu_zeichnen = kopie_zeigen;
    // "Anhalten" ends the run as the control file's "STOP" does: the run
    // finishes its interval, writes its files and switches the sources off.
    const std::filesystem::path kontrolldatei = zustand::date3().filename_kontrolle;
    steuerlauf_ergebnis e;
    ausfuehrer_.fuehre_aus(
        [&](lauf_beobachter& b) {
            e = steuere_geladenen_datensatz(g, messflag.toStdString(), b, [&](const liveintervall_zeile& z) {
                ++anzahl;
                kopie_zeigen();
                const QString zeit = QString::asprintf("%02d.%02d.%04d %02d:%02d", z.zeit.tag, z.zeit.monat,
                                                       z.zeit.jahr, z.zeit.stunde, z.zeit.minute);
                QMetaObject::invokeMethod(
                    &ausfuehrer_,
                    [this, n = anzahl, m = z.monat, s = z.intervall, zeit] {
                        ausfuehrer_.zeige_zustand(q(c::steuerlauf_stand).arg(n).arg(m).arg(s).arg(zeit));
                    },
                    Qt::QueuedConnection);
            });
        },
        &fenster,
        [this, kontrolldatei] {
            if (!schreibe_kontrolldatei_stop(kontrolldatei)) ausfuehrer_.anhalten();
        });
    w.neu_zeichnen = nullptr;
    w.im_steuerlauf = false;
    fenster.steuerlauf_endet();
    marken_zeigen();
    if (e.gestoppt) meldung(q(c::steuerlauf_beendet).arg(e.liveintervalle).toStdString(), "M", 'M');
}

QPrinter& THauptmenue::drucker() {
    if (!drucker_) {
        drucker_ = std::make_unique<QPrinter>();
        // Without a printer of the system, printing goes to a PDF file.
        if (QPrinterInfo::availablePrinters().isEmpty()) drucker_->setOutputFormat(QPrinter::PdfFormat);
    }
    return *drucker_;
}

THauptmenue::~THauptmenue() = default;

void THauptmenue::seitenmasse_berechnen() {
    // Lines per page from the printer's page and the height of "T" in the
    // printer font; without a printer the page of a PDF file counts.
    QPrinter& d = drucker();
    const QRect seite = d.pageLayout().paintRectPixels(d.resolution());
    const QFontMetrics m(druckerschrift_, &d);
    const int t = std::max(1, m.boundingRect(QStringLiteral("T")).height());
    seite_.zeilen_pro_seite = (seite.height() - 300) / t;
    seite_.seitenmitte = seite.width() / 2;
    seite_.seite = 1;
}
