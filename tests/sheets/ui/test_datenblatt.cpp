// The data sheets as a user drives them: edits that do not fit their column
// are refused with a message naming table, row and column and leave the row
// as stored; the calculators of the heat-pump and heating-energy pages; the
// detail data sheet's monthly means; "Neuanlegen" opening the sheet.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/ui/THauptmenue.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/ui/TWP_einstellungen.h"
#include "data/ui/auswahlgruppe.h"
#include "input/datensatzauswahl.h"
#include "input/ui/TNeuanlegen.h"
#include "lang/sprache.h"
#include "results/ui/TGesamtenergie.h"
#include "sheets/feldpruefung.h"
#include "sheets/ui/TDatenblatt.h"
#include "sheets/ui/Tdatenblatt_2.h"
#include "sheets/ui/blatt_modell.h"
#include "sheets/ui/blatt_raster.h"
#include "support/ui/fensterhilfe.h"

using namespace tabledata;

namespace {

// Types `text` into a cell as the grid's editor hands it over, and lets the
// sheet handle it.
void tippe(blatt_raster* r, int zeile, const char* spalte, const QString& text) {
    blatt_modell* m = r->modell();
    m->setData(m->index(zeile, m->spalte(spalte)), text, Qt::EditRole);
    QTest::qWait(20);
}

std::vector<std::string> zeile_von(blatt_raster* r, int zeile) {
    return r->modell()->zeilen().zeilen.at(static_cast<std::size_t>(zeile));
}

}  // namespace

class Datenblatt : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void abgelehnte_eingabe_laesst_die_zeile_und_nennt_tabelle_zeile_spalte();
    void zweipunktrechner_aus_dem_fenster();
    void relative_monatswerte_und_gesamtenergie();
    void detailblatt_mittelwerte_uebernehmen();
    void kopieren_mit_detailzeilen_und_zweites_mal_abgelehnt();
    void neuanlegen_oeffnet_die_seite_der_tabelle();

private:
    std::unique_ptr<antworter> a;
    std::unique_ptr<testprogramm> t;
    TDatenblatt* d = nullptr;
};

void Datenblatt::init() {
    a = std::make_unique<antworter>();
    t = std::make_unique<testprogramm>();
    a->vergiss();
    d = &t->programm->datenblatt();
}

void Datenblatt::cleanup() {
    d->hide();
    setze_sprache(SPRACHE_DEUTSCH);
    t.reset();
    a.reset();
}

void Datenblatt::abgelehnte_eingabe_laesst_die_zeile_und_nennt_tabelle_zeile_spalte() {
    d->oeffnen(twp);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    blatt_raster* r = d->raster(twp);
    const int z = r->modell()->finde({{"name", "wp0"}, {"arbeitsweise", "we"}});
    QVERIFY(z >= 0);
    r->waehle_zeile(z);
    const auto vorher = zeile_von(r, z);

    struct fall {
        const char* spalte;
        const char* text;
        const char* grund;
    };
    const fall faelle[] = {
        {"eta", "abc", "ist keine Zahl"},
        {"arbeitsweise", "xx", "kein zulässiger Code"},
        {"eindeltalin", "Furlong", "keine Einheit der Einheitentabelle"},
        {"name", "", "darf nicht leer sein"},
        {"Kaeltemittel", "R290 R290 R290 R290 R290 R290 R290 R290 R290 R290 R290", "zu lang"},
    };
    for (const fall& f : faelle) {
        a->vergiss();
        tippe(r, z, f.spalte, QString::fromUtf8(f.text));
        QVERIFY2(warte_bis([&] { return !a->meldungen.empty(); }, 5000), f.spalte);
        const QString m = a->meldungen.back().text;
        QVERIFY2(m.contains(QStringLiteral("Tabelle wp")) && m.contains(QStringLiteral("Zeile \"wp0, we\"")) &&
                     m.contains(QStringLiteral("Spalte ") + QString::fromUtf8(f.spalte)) &&
                     m.contains(QString::fromUtf8(f.grund)),
                 qPrintable(m));
        QCOMPARE(a->meldungen.back().symbol, QMessageBox::Critical);
        // The grid shows the row as stored, and the table holds it unchanged.
        const int nach = r->modell()->finde({{"name", "wp0"}, {"arbeitsweise", "we"}});
        QVERIFY(nach >= 0);
        QCOMPARE(zeile_von(r, nach), vorher);
        const zeilenliste gespeichert = lies_zeilen(twp);
        QCOMPARE(gespeichert.zeilen.at(static_cast<std::size_t>(nach)), vorher);
    }

    // A value that fits is written.
    a->vergiss();
    tippe(r, z, "eta", QStringLiteral("0,85"));
    QVERIFY2(a->meldungen.empty(), qPrintable(a->alle()));
    QCOMPARE(r->modell()->wert(r->modell()->finde({{"name", "wp0"}, {"arbeitsweise", "we"}}), "eta"),
             QStringLiteral("0.85"));

    // In English the window and the refusal speak English.
    t->programm->einstellungen().fuellen();
    t->programm->einstellungen().waehle_sprache(SPRACHE_ENGLISCH);
    d->beschriften();
    QCOMPARE(d->windowTitle(), QStringLiteral("Data sheet"));
    QCOMPARE(d->knopf("Kopieren")->text(), QStringLiteral("Copy"));
    QCOMPARE(d->gruppe("WP.arbeitsweise")->title(), QStringLiteral("Mode of operation"));
    a->vergiss();
    tippe(r, r->zeile(), "eta", QStringLiteral("x"));
    QVERIFY(warte_bis([&] { return !a->meldungen.empty(); }, 5000));
    QVERIFY2(a->meldungen.back().text.contains(QStringLiteral("table wp, row \"wp0, we\", column eta")),
             qPrintable(a->alle()));
}

void Datenblatt::zweipunktrechner_aus_dem_fenster() {
    d->oeffnen(twp);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    // The worked example: eta 5 at a lift of 30 K, eta 3 at 50 K.
    const std::pair<const char*, const char*> werte[] = {{"eta1", "5"}, {"ttief1", "10"}, {"thoch1", "40"},
                                                        {"eta2", "3"}, {"ttief2", "0"},  {"thoch2", "50"}};
    for (const auto& [f, w] : werte) d->feld(f)->setText(QString::fromLatin1(w));
    d->knopf("ZweipunktBerechnen")->click();
    QCOMPARE(d->feld("beta_l")->text().toDouble(), -0.1);
    QCOMPARE(d->feld("alpha_l")->text().toDouble(), 8.0);
    // Hyperbolic with the sink temperatures in K: 313.15/30 and 323.15/50.
    const double x1 = 313.15 / 30.0, x2 = 323.15 / 50.0, bh = 2.0 / (x1 - x2);
    QVERIFY(qAbs(d->feld("beta_h")->text().toDouble() - bh) < 1e-8);
    QVERIFY(qAbs(d->feld("alpha_h")->text().toDouble() - (3.0 - bh * x2)) < 1e-8);

    // A field that is not a number computes nothing.
    d->feld("eta1")->setText(QStringLiteral("fünf"));
    d->feld("beta_l")->setText(QStringLiteral("unverändert"));
    a->vergiss();
    d->knopf("ZweipunktBerechnen")->click();
    QVERIFY2(a->gesehen(QStringLiteral("'fünf' ist kein gültiger Gleitkommawert")), qPrintable(a->alle()));
    QCOMPARE(d->feld("beta_l")->text(), QStringLiteral("unverändert"));

    // "Übertragen" writes the shown values into the row the grid stands on.
    d->feld("eta1")->setText(QStringLiteral("5"));
    d->knopf("ZweipunktBerechnen")->click();
    blatt_raster* r = d->raster(twp);
    r->waehle_zeile(r->modell()->finde({{"name", "wp0"}, {"arbeitsweise", "ww"}}));
    d->knopf("ZweipunktUebertragen")->click();
    const int ww = r->modell()->finde({{"name", "wp0"}, {"arbeitsweise", "ww"}});
    const int we = r->modell()->finde({{"name", "wp0"}, {"arbeitsweise", "we"}});
    QCOMPARE(r->modell()->wert(ww, "deltalin").toDouble(), -0.1);
    QCOMPARE(r->modell()->wert(ww, "gammalin").toDouble(), 8.0);
    QCOMPARE(r->modell()->wert(we, "deltalin"), QStringLiteral("-0.08446"));
}

void Datenblatt::relative_monatswerte_und_gesamtenergie() {
    // A fuel with the heating value of the worked example.
    QVERIFY(lege_datensatz_an(theizwert, {{"name", "Testbrennstoff"},
                                          {"brennwert", "10"},
                                          {"einheitenergie", "kWh"},
                                          {"einheitbrennstoff", "l"}}));
    d->oeffnen(teh_m);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    blatt_raster* r = d->raster(teh_m);
    r->waehle(std::string("eh0"));
    QCOMPARE(r->wert("rel"), QStringLiteral("A"));
    QVERIFY(d->knopf("BerechneSumme_EH_M")->isEnabled());

    // "Relativ": the month values become shares of their sum.
    d->gruppe("EH_M.rel")->knopf(0)->click();
    QCOMPARE(r->wert("rel"), QStringLiteral("R"));
    QCOMPARE(r->wert("januar").toDouble(), 0.163);  // 2283.8 / 14000.1, 3 decimals
    QVERIFY(!d->knopf("BerechneSumme_EH_M")->isEnabled());

    // "Gesamtenergie" with relative values opens the dialog.
    TGesamtenergie& g = t->programm->gesamtenergie();
    bool gesehen = false;
    QTimer::singleShot(0, [&] {
        if (!warte_bis([&] { return g.isVisible(); }, 5000)) return;
        gesehen = true;
        blatt_raster* h = g.heizwerte();
        h->waehle(std::string("Testbrennstoff"));
        g.feld("Edit2")->setText(QStringLiteral("120"));
        g.feld("Edit3")->setText(QStringLiteral("15"));
        g.knopf("Button2")->click();
        g.knopf("Button1")->click();
        g.knopf("BitBtn1")->click();
    });
    d->knopf("Gesamtenergie")->click();
    QVERIFY(gesehen);
    QCOMPARE(g.feld("Edit4")->text().toDouble(), 1800.0);
    QCOMPARE(g.feld("Edit1")->text().toDouble(), 18000.0);
    QCOMPARE(r->wert("name"), QStringLiteral("eh0"));
    QCOMPARE(r->wert("gesamt").toDouble(), 18000.0);
    QCOMPARE(r->wert("flaeche").toDouble(), 120.0);
    QCOMPARE(r->wert("energiepqm").toDouble(), 150.0);

    // Back to "Absolut": shares times the new total.
    d->gruppe("EH_M.rel")->knopf(1)->click();
    QCOMPARE(r->wert("rel"), QStringLiteral("A"));
    QCOMPARE(r->wert("januar").toDouble(), 0.163 * 18000.0);
    QVERIFY(d->knopf("BerechneSumme_EH_M")->isEnabled());

    // An area of 0 is refused and the record keeps its values.
    a->vergiss();
    g.vorbereiten();
    g.feld("Edit2")->setText(QStringLiteral("0"));
    g.uebernehmen();
    QVERIFY2(a->gesehen(QStringLiteral("größer als 0")), qPrintable(a->alle()));
    r->lesen();
    QCOMPARE(r->wert("flaeche").toDouble(), 120.0);
}

void Datenblatt::detailblatt_mittelwerte_uebernehmen() {
    // The hourly weather record of the demo database, its July emptied in the
    // monthly record, then adopted from the detail rows.
    d->oeffnen(tir_ta_m);
    blatt_raster* r = d->raster(tir_ta_m);
    QVERIFY(r->waehle("ir_test_stuendlich"));
    const double ir7 = r->wert("ir7").toDouble();
    QVERIFY(r->aendern({{"ir7", "0"}, {"m7", "0"}}));
    Tdatenblatt_2& d2 = t->programm->datenblatt_2();
    d2.oeffnen(detailart::wetter);
    d2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d2));
    QCOMPARE(d2.monatsraster(detailart::wetter)->wert("name"), QStringLiteral("ir_test_stuendlich"));
    // The detail grid holds the record's rows only: 8760 hours.
    QCOMPARE(d2.detailraster(detailart::wetter)->modell()->gespeicherte_zeilen(), 8760);
    d2.monatsfeld("monat_mittel")->setValue(7);
    d2.knopf("MittelBerechnen")->click();
    QCOMPARE(d2.feld("anzahl")->text(), QStringLiteral("744"));
    QVERIFY(qAbs(d2.feld("summe_ir")->text().toDouble() - ir7) < 0.01);
    d2.knopf("MittelUebernehmen")->click();
    blatt_raster* m = d2.monatsraster(detailart::wetter);
    QVERIFY(qAbs(m->wert("ir7").toDouble() - ir7) < 0.01);
    QCOMPARE(m->wert("m7"), QStringLiteral("744"));
    d2.hide();
}

void Datenblatt::kopieren_mit_detailzeilen_und_zweites_mal_abgelehnt() {
    d->oeffnen(tir_ta_m);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    blatt_raster* r = d->raster(tir_ta_m);
    QVERIFY(r->waehle("ir_test_taeglich"));
    const auto original = zeile_von(r, r->zeile());
    const auto details_von = [](const std::string& name) {
        int n = 0;
        const zeilenliste z = lies_zeilen(tir_ta_d);
        for (const auto& zeile : z.zeilen) n += zeile[static_cast<std::size_t>(z.spalte("name"))] == name;
        return n;
    };
    const int details = details_von("ir_test_taeglich");
    QVERIFY(details > 0);

    d->knopf("Kopieren")->click();
    QVERIFY2(a->meldungen.empty(), qPrintable(a->alle()));
    // The grid stands on the copy: marked name, every other field equal,
    // the detail rows copied under the new name.
    QCOMPARE(r->wert("name"), QStringLiteral("ir_test_taegli*h"));
    auto kopie = zeile_von(r, r->zeile());
    kopie[0] = original[0];
    QCOMPARE(kopie, original);
    QCOMPARE(details_von("ir_test_taegli*h"), details);
    QCOMPARE(details_von("ir_test_taeglich"), details);

    // Copying the original again would take the same name: refused, nothing written.
    const int zeilen = r->modell()->gespeicherte_zeilen();
    QVERIFY(r->waehle("ir_test_taeglich"));
    d->knopf("Kopieren")->click();
    QVERIFY(warte_bis([&] { return !a->meldungen.empty(); }, 5000));
    QCOMPARE(a->meldungen.back().symbol, QMessageBox::Critical);
    QCOMPARE(r->modell()->gespeicherte_zeilen(), zeilen);
}

void Datenblatt::neuanlegen_oeffnet_die_seite_der_tabelle() {
    TNeuanlegen neu(&t->programm->hauptmenue());
    neu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&neu));
    // "SPEI" in the group of system data.
    QListWidgetItem* spei = nullptr;
    for (int g = 0; g < 5 && !spei; ++g)
        for (int i = 0; i < neu.liste(g)->count(); ++i)
            if (neu.liste(g)->item(i)->text().startsWith(QStringLiteral("SPEI"))) spei = neu.liste(g)->item(i);
    QVERIFY(spei);
    QString seite;
    int sichtbar = 0, zeilen = 0;
    QTimer::singleShot(0, [&] {
        if (!warte_bis([&] { return d->isVisible(); }, 5000)) return;
        for (int i = 0; i < d->seiten()->count(); ++i) sichtbar += d->seiten()->isTabVisible(i);
        seite = d->seiten()->tabText(d->seiten()->currentIndex());
        zeilen = d->raster(tspei)->modell()->gespeicherte_zeilen();
        // The store-loss calculator: 10 W/K of a 1 m³ store.
        d->feld("verlust_gesamt")->setText(QStringLiteral("10"));
        d->feld("volumen")->setText(QStringLiteral("1"));
        d->knopf("SpeiBerechnen")->click();
        d->accept();
    });
    emit neu.liste(1)->itemClicked(spei);
    QCOMPARE(seite, QStringLiteral("SPEI"));
    QCOMPARE(sichtbar, 1);
    QVERIFY(zeilen >= 2);
    // 10 / (3 (2 pi)^(1/3)), rounded to 3 decimals.
    QCOMPARE(d->feld("verlust_flaeche")->text(), QStringLiteral("1.806"));
}

QTEST_MAIN(Datenblatt)
#include "test_datenblatt.moc"
