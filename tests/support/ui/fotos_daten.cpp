#include "support/ui/fotos_daten.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <vector>

#include "app/ui/THauptmenue.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/einstellungen.h"
#include "input/ui/TDetailtabelle_einlesen.h"
#include "input/ui/TNeuanlegen.h"
#include "input/ui/Twp_datensatz_suchen.h"
#include "results/ui/TAusdruck.h"
#include "results/ui/TGesamtenergie.h"
#include "sheets/ui/TDatenblatt.h"
#include "sheets/ui/Tdatenblatt_2.h"
#include "sheets/ui/blatt_raster.h"
#include "support/ui/fensterhilfe.h"

namespace fs = std::filesystem;
using namespace tabledata;

void lege_klimaatlas_an(const fs::path& ordner) {
    for (const char* o : {"CLIMATO", "DAILY", "HOURLY", "ancillary"}) fs::create_directories(ordner / o);
    einstellungen_daten& e = einstellungen();
    e.klimadatenverzeichnis = ordner;
    e.monatsmittel.pfad = ordner / "CLIMATO";
    e.tagesmittel.pfad = ordner / "DAILY";
    e.stundenmittel.pfad = ordner / "HOURLY";
    e.stationsliste.pfad = ordner / "ancillary" / "stations.txt";
    {
        // Potsdam with its coordinates in hundredths of a degree and the
        // marks of the monthly series (global irradiation, temperatures).
        std::ofstream s(e.stationsliste.pfad);
        std::string marken(48, ' ');
        for (int i : {15, 18, 19}) marken[static_cast<std::size_t>(2 * i + 1)] = '1';
        s << "10379" << std::left << std::setw(40) << "Potsdam" << std::right << std::setw(7) << "5238"
          << std::setw(8) << "1306" << std::setw(5) << "81" << std::left << std::setw(6) << "D" << std::setw(5) << ""
          << std::setw(5) << "" << marken << "\n";
    }
    // Monthly files: global irradiation (kWh/qm), means of the daily minima
    // and maxima (°C) of the measured year 2019.
    std::ifstream ein(fs::path(VARNEK_SOURCE_DIR) / "data" / "reference" /
                      "weather_potsdam_2019_dwd_monthly_summary.csv");
    std::string z;
    std::getline(ein, z);
    std::ofstream gr(ordner / "CLIMATO" / "gr10379.txt"), tn(ordner / "CLIMATO" / "tn10379.txt"),
        tx(ordner / "CLIMATO" / "tx10379.txt");
    for (std::ofstream* o : {&gr, &tn, &tx}) *o << "Potsdam 10379, Quelle: Deutscher Wetterdienst\n";
    while (std::getline(ein, z)) {
        std::vector<std::string> f;
        std::stringstream t(z);
        for (std::string x; std::getline(t, x, ',');) f.push_back(x);
        const bool letzter = f[0] == "12";
        gr << f[1] << (letzter ? "\n" : " ");
        tn << f[4] << (letzter ? "\n" : " ");
        tx << f[5] << (letzter ? "\n" : " ");
    }
}

namespace {

void zeige(QWidget* w) {
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) std::fputs("window not exposed\n", stderr);
    QTest::qWait(30);
}

}  // namespace

void fotos_datenfenster(varnek_programm& p, antworter& a, const fs::path& ordner, const fs::path& ablage,
                        const std::function<void(QWidget*, const QString&)>& foto) {
    // "Neuanlegen".
    {
        TNeuanlegen neu(&p.hauptmenue());
        zeige(&neu);
        foto(&neu, QStringLiteral("TNeuanlegen"));
        neu.hide();
    }

    // Every page of the data sheet, on the demo rows.
    TDatenblatt& d = p.datenblatt();
    const std::pair<int, const char*> seiten[] = {
        {tee, "Daten"},   {twp, "WP"},         {tkol, "KOL"},     {tabledata::tan, "AN"}, {tnum, "NUM"},
        {tzu, "ZU"},      {tunter, "UNTER"},   {tew_m, "EW"},     {trech, "RECH"},        {teh_m, "EH"},
        {tir_ta_m, "IR_TA_M"}, {tpreis, "PREIS"}, {tsteuer, "STEUER"}, {tspei, "SPEI"},   {tmemodb, "Info"},
        {tliste, "ZU_LISTE"}, {tliste2, "ZU_HAUPTLISTE"}, {twaerme, "WA"}, {tgwt, "GWT"}, {tte, "TE"}};
    for (const auto& [t, name] : seiten) {
        d.oeffnen(t);
        if (t == twp) {
            // The two-point calculator with a worked example, the fit with
            // the coefficients of the pump.
            const char* werte[][2] = {{"eta1", "5"},  {"ttief1", "10"}, {"thoch1", "40"},
                                      {"eta2", "3"},  {"ttief2", "0"},  {"thoch2", "50"}};
            for (const auto& [f, w] : werte) d.feld(f)->setText(QString::fromLatin1(w));
            d.knopf("ZweipunktBerechnen")->click();
        }
        zeige(&d);
        foto(&d, QStringLiteral("TDatenblatt_%1").arg(QLatin1String(name)));
    }
    d.hide();

    // The detail data sheet: the hourly weather record and a heating record.
    Tdatenblatt_2& d2 = p.datenblatt_2();
    {
        tabelle& w = tab(tir_ta_m);
        w.filter_aus();
        w.sortiere_nach_schluessel();
        w.suche({feldwert(std::string("ir_test_stuendlich"))});
    }
    d2.oeffnen(detailart::wetter);
    zeige(&d2);
    QTabWidget* wz = d2.werkzeugseiten(detailart::wetter);
    d2.monatsfeld("monat_mittel")->setValue(7);
    d2.knopf("MittelBerechnen")->click();
    d2.knopf("EinstrahlungBerechnen")->click();
    d2.monatsfeld("monat_breite")->setValue(6);
    d2.knopf("Breitengrad")->click();
    for (int i = 0; i < wz->count(); ++i) {
        wz->setCurrentIndex(i);
        foto(&d2, QStringLiteral("Tdatenblatt_2_IR_TA_%1").arg(i + 1));
    }
    {
        tabelle& h = tab(teh_m);
        h.filter_aus();
        h.sortiere_nach_schluessel();
        h.suche({feldwert(std::string("eh0_d"))});
    }
    d2.oeffnen(detailart::heizung);
    d2.monatsfeld("monat_mittel_eh")->setValue(1);
    d2.knopf("MittelBerechnen_eh")->click();
    QTabWidget* hz = d2.werkzeugseiten(detailart::heizung);
    for (int i = 0; i < hz->count(); ++i) {
        hz->setCurrentIndex(i);
        foto(&d2, QStringLiteral("Tdatenblatt_2_EH_%1").arg(i + 1));
    }
    d2.oeffne_luft();
    foto(&d2, QStringLiteral("Tdatenblatt_2_LUFT"));
    d2.hide();

    // Search on the site data sets.
    Twp_datensatz_suchen& s = p.datensatz_suchen();
    s.oeffnen(thaupt);
    zeige(&s);
    s.suchfeld(1)->setText(QStringLiteral("D"));
    s.positionieren();
    foto(&s, QStringLiteral("Twp_datensatz_suchen"));
    s.hide();

    // The import window on a weather record with monthly values only.
    lege_klimaatlas_an(ordner / "atlas");
    loesche_daten(tab(twmo));
    {
        tabelle& w = tab(tir_ta_m);
        w.filter_aus();
        w.sortiere_nach_schluessel();
        w.suche({feldwert(std::string("ir_braunschweig_in_kWh"))});
    }
    TDetailtabelle_einlesen& im = p.detailtabelle_einlesen();
    im.vorbereiten();
    zeige(&im);
    im.waehle_station(QStringLiteral("10379"));
    foto(&im, QStringLiteral("TDetailtabelle_einlesen"));
    im.hide();

    // Total energy of a heating record.
    {
        tabelle& h = tab(teh_m);
        h.filter_aus();
        h.sortiere_nach_schluessel();
        h.suche({feldwert(std::string("eh0"))});
    }
    TGesamtenergie& g = p.gesamtenergie();
    g.vorbereiten();
    zeige(&g);
    g.feld("Edit2")->setText(QStringLiteral("120"));
    g.feld("Edit3")->setText(QStringLiteral("15"));
    g.knopf("Button2")->click();
    foto(&g, QStringLiteral("TGesamtenergie"));
    g.hide();

    // The printout of the first site data set.
    {
        tabelle& h = tab(thaupt);
        h.filter_aus();
        h.erster();
    }
    TAusdruck& au = p.ausdruck();
    au.vorbereiten();
    au.waehle_daten(1);
    zeige(&au);
    foto(&au, QStringLiteral("TAusdruck"));
    // Printed into a PDF file (no printer here).
    schritt(QStringLiteral("TAusdruck drucken"));
    a.datei(ablage / "ausdruck_werte.pdf");
    au.drucken();
    au.waehle_daten(0);
    a.datei(ablage / "ausdruck_namen.pdf");
    au.drucken();
    au.hide();
    // The grid of a data sheet printed.
    d.oeffnen(twp);
    schritt(QStringLiteral("Datenblatt drucken"));
    a.datei(ablage / "datenblatt_wp.pdf");
    d.drucken();
}
