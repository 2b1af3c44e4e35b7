// The import window as a user drives it: monthly climate-atlas values of a
// station into a weather record, and a year's EPW file as a weather record of
// its own, each checked against the file.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "input/ui/TDetailtabelle_einlesen.h"
#include "sheets/feldpruefung.h"
#include "support/ui/fensterhilfe.h"
#include "support/ui/fotos_daten.h"
#include "support/wetterjahr_dateien.h"

#include <unistd.h>

using namespace tabledata;
namespace fs = std::filesystem;

namespace {

// Field `spalte` of the weather record `name`.
double feld(const std::string& name, const std::string& spalte) {
    tabelle& w = tab(tir_ta_m);
    w.filter_aus();
    w.sortiere_nach_schluessel();
    if (!w.suche({feldwert(name)})) return NAN;
    return w.zahl(spalte);
}

std::vector<double> zahlen_der_zeile(const std::string& zeile) {
    std::vector<double> z;
    std::stringstream s(zeile);
    for (double x; s >> x;) z.push_back(x);
    return z;
}

}  // namespace

class Detailtabelle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void monatswerte_des_klimaatlas_aus_dem_fenster();
    void epw_jahr_wird_eigener_wetterdatensatz();

private:
    std::unique_ptr<antworter> a;
    std::unique_ptr<testprogramm> t;
    TDetailtabelle_einlesen* f = nullptr;
};

void Detailtabelle::init() {
    a = std::make_unique<antworter>();
    t = std::make_unique<testprogramm>();
    a->vergiss();
    f = &t->programm->detailtabelle_einlesen();
}

void Detailtabelle::cleanup() {
    f->hide();
    t.reset();
    a.reset();
}

void Detailtabelle::monatswerte_des_klimaatlas_aus_dem_fenster() {
    const fs::path atlas = t->db().parent_path() / "atlas";
    lege_klimaatlas_an(atlas);
    // The station catalogue starts from the atlas's own list.
    loesche_daten(tab(twmo));
    QVERIFY(lege_datensatz_an(tir_ta_m, {{"name", "atlas_test"}}));

    // Without a kind of details the import does not open.
    f->vorbereiten();
    QVERIFY(!f->atlas_bereit());
    QVERIFY2(a->gesehen(QStringLiteral("Fehler: Erst Zeitintervall eingeben")), qPrintable(a->alle()));

    QVERIFY(aendere_datensatz(tir_ta_m, {{"zeitintervall", "K"}}));
    a->vergiss();
    f->vorbereiten();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QVERIFY2(f->atlas_bereit(), qPrintable(a->alle()));
    QCOMPARE(f->stationen()->model()->rowCount(), 1);
    QVERIFY(f->waehle_station(QStringLiteral("10379")));
    f->waehle_aufloesung(atlas_aufloesung::monat);
    f->waehle_groesse(atlas_groesse::global);
    f->knopf("DatenEinlesen")->click();
    f->waehle_groesse(atlas_groesse::temperatur);
    f->knopf("DatenEinlesen")->click();
    QVERIFY2(a->meldungen.empty(), qPrintable(a->alle()));

    // Each month as the files hold it; the station's place and coordinates.
    std::ifstream gr(atlas / "CLIMATO" / "gr10379.txt"), tn(atlas / "CLIMATO" / "tn10379.txt"),
        tx(atlas / "CLIMATO" / "tx10379.txt");
    std::string z;
    std::vector<double> w_gr, w_tn, w_tx;
    for (auto [datei, werte] : {std::pair{&gr, &w_gr}, std::pair{&tn, &w_tn}, std::pair{&tx, &w_tx}}) {
        std::getline(*datei, z);  // the line to skip
        std::getline(*datei, z);
        *werte = zahlen_der_zeile(z);
        QCOMPARE(werte->size(), std::size_t(12));
    }
    double summe = 0.0;
    for (int m = 1; m <= 12; ++m) {
        const std::string k = std::to_string(m);
        const auto i = static_cast<std::size_t>(m - 1);
        QCOMPARE(feld("atlas_test", "ir" + k), w_gr[i]);
        QCOMPARE(feld("atlas_test", "ta" + k + "min"), w_tn[i]);
        QCOMPARE(feld("atlas_test", "ta" + k + "max"), w_tx[i]);
        summe += w_gr[i];
    }
    // The measured year 2019 at Potsdam: about 1150 kWh/qm.
    QVERIFY(summe > 1000.0 && summe < 1300.0);
    QCOMPARE(feld("atlas_test", "breite"), 52.38);
    QCOMPARE(feld("atlas_test", "laenge"), 13.06);
    QCOMPARE(QString::fromStdString(tab(tir_ta_m).text("ort")), QStringLiteral("Potsdam"));
    QCOMPARE(QString::fromStdString(tab(tir_ta_m).text("wmo")), QStringLiteral("10379"));
}

void Detailtabelle::epw_jahr_wird_eigener_wetterdatensatz() {
    const fs::path epw = fs::temp_directory_path() / ("varnek_detailtabelle_" + std::to_string(::getpid()) + ".epw");
    wetterjahr_dateien::schreibe_epw(epw);
    struct weg {
        fs::path p;
        ~weg() {
            std::error_code ec;
            fs::remove(p, ec);
        }
    } aufraeumen{epw};
    // The file's global and diffuse irradiation (Wh/qm) summed per month.
    std::map<int, double> global, diffus;
    std::map<int, int> stunden;
    {
        std::ifstream ein(epw);
        std::string z;
        for (int i = 0; i < 8; ++i) std::getline(ein, z);
        while (std::getline(ein, z)) {
            std::vector<std::string> f;
            std::stringstream s(z);
            for (std::string x; std::getline(s, x, ',');) f.push_back(x);
            const int m = std::stoi(f[1]);
            global[m] += std::stod(f[13]);
            diffus[m] += std::stod(f[15]);
            ++stunden[m];
        }
    }
    QCOMPARE(stunden[1], 744);
    QCOMPARE(stunden[7], 744);

    f->vorbereiten();
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    f->feld("wettername")->setText(QStringLiteral("potsdam_epw"));
    a->vergiss();
    a->datei(epw);
    f->knopf("Wetterdatei")->click();
    QCOMPARE(a->dateidialoge, 1);
    QVERIFY2(f->status()->text().contains(QStringLiteral("potsdam_epw")), qPrintable(f->status()->text() + a->alle()));
    for (int m : {1, 7}) {
        const std::string k = std::to_string(m);
        QVERIFY(std::abs(feld("potsdam_epw", "ir" + k) - global[m] / 1000.0) < 1e-3);
        QVERIFY(std::abs(feld("potsdam_epw", "diff" + k) - diffus[m] / 1000.0) < 1e-3);
        QCOMPARE(feld("potsdam_epw", "m" + k), static_cast<double>(stunden[m]));
    }
    QCOMPARE(feld("potsdam_epw", "breite"), 52.38);
    QCOMPARE(QString::fromStdString(tab(tir_ta_m).text("zeitintervall")), QStringLiteral("A"));
    // The record stands current for the data sheet.
    QCOMPARE(QString::fromStdString(tab(tir_ta_m).text("name")), QStringLiteral("potsdam_epw"));

    // The same name again is refused unless "ersetzen" is ticked.
    a->vergiss();
    a->datei(epw);
    f->knopf("Wetterdatei")->click();
    QVERIFY2(!a->meldungen.empty(), "a second import under the same name was not refused");
    a->vergiss();
    f->ersetzen()->setChecked(true);
    a->datei(epw);
    f->knopf("Wetterdatei")->click();
    QVERIFY2(f->status()->text().contains(QStringLiteral("8760")), qPrintable(f->status()->text() + a->alle()));
}

QTEST_MAIN(Detailtabelle)
#include "test_detailtabelle.moc"
