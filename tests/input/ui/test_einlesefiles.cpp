// The input-file form as a user drives it: loading a data set and running it,
// a refused combination, the batch, stopping a run, copying and filtering.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QTest>

#include <filesystem>

#include <sqlite3.h>

#include "app/simulation_run.h"
#include "app/ui/THauptmenue.h"
#include "app/ui/TSimulationsdaten.h"
#include "app/ui/lauf_ausfuehrer.h"
#include "app/ui/varnek_programm.h"
#include "data/datenbank.h"
#include "data/ui/TNavigator.h"
#include "input/ui/TEinlesefiles.h"
#include "support/ui/fensterhilfe.h"

namespace {

// The list's rows as (name, lock).
std::vector<std::pair<QString, QString>> liste(TEinlesefiles& e) {
    std::vector<std::pair<QString, QString>> r;
    auto* m = e.liste()->model();
    for (int i = 0; i < m->rowCount(); ++i) {
        QString name, lock;
        for (int c = 0; c < m->columnCount(); ++c) {
            // The stored column name is the header's tooltip.
            const QString titel = m->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString();
            if (titel == QStringLiteral("name")) name = m->index(i, c).data().toString();
            if (titel == QStringLiteral("lock")) lock = m->index(i, c).data().toString();
        }
        r.emplace_back(name, lock);
    }
    return r;
}

QString lock_von(TEinlesefiles& e, const QString& name) {
    for (const auto& [n, l] : liste(e))
        if (n == name) return l;
    return QStringLiteral("?");
}

bool marke(const char* name) {
    return programm()->hauptmenue().findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked();
}

}  // namespace

class Einlesefiles : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void datensatz_einlesen_und_simulieren_setzt_die_drei_marken_und_schreibt_dateien();
    void abgelehnte_kombination_meldet_und_laesst_die_marken();
    void serie_rechnet_bis_zum_ersten_fixierten_datensatz();
    void anhalten_bricht_die_optimierung_ab_ohne_ergebnisdatei();
    void kopie_wartet_in_den_feldern_und_wird_gespeichert();
    void suchfilter_und_aufraeumen_von_haupt();

private:
    // Gives the plant of "Braunschweig EFH" (an row ZJEG; the window keeps
    // its haupt rows) the reservoir exchanger "R" and the calculation
    // constants (rech row r45) a block length of 24 intervals, a combination
    // the check refuses.
    void braunschweig_mit_zu_langem_block();

    std::unique_ptr<antworter> a;
    std::unique_ptr<testprogramm> t;
    TEinlesefiles* e = nullptr;
};

void Einlesefiles::braunschweig_mit_zu_langem_block() {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open((t->db() / "AN.sqlite").string().c_str(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "UPDATE an SET Gegenstrom = 'R' WHERE Name = 'ZJEG'", nullptr, nullptr, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_changes(db), 1);
    sqlite3_close(db);
    // The calculation constants through the program's own cursor, which keeps its row.
    tabelle& rech = tab(tabledata::trech);
    rech.sortiere_nach_schluessel();
    QVERIFY(rech.suche({feldwert(std::string("r45"))}));
    rech.bearbeiten();
    rech.setze("maxmittemp", feldwert(int64_t{24}));
    rech.speichern();
}

void Einlesefiles::init() {
    a = std::make_unique<antworter>();
    t = std::make_unique<testprogramm>();
    a->vergiss();
    e = &t->programm->einlesefiles();
    e->oeffnen();
    e->show();
    QVERIFY(QTest::qWaitForWindowExposed(e));
}

void Einlesefiles::cleanup() {
    e->hide();
    t.reset();
    a.reset();
}

void Einlesefiles::datensatz_einlesen_und_simulieren_setzt_die_drei_marken_und_schreibt_dateien() {
    QVERIFY(e->waehle_datensatz(QStringLiteral("test_ir_D_EJEG_IAAN-D_st0")));
    QVERIFY(!e->knopf("Steuerfile")->isEnabled());
    e->knopf("DatenEinlesen")->click();
    QVERIFY2(marke("CheckBoxDE"), qPrintable(a->alle()));
    QVERIFY(e->knopf("Steuerfile")->isEnabled());

    // The output file is created on the run parameters window's third page.
    TSimulationsdaten& s = t->programm->simulationsdaten();
    s.katalog_lesen();
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    const auto sim = t->res() / "test_ausgabe_ir_D_EJEG_IAAN-D_st0.sim";
    const auto str = t->res() / "test_steuer_ir_D_EJEG_IAAN-D_st0.str";
    a->datei(sim);
    s.findChild<QPushButton*>(QStringLiteral("Simulationsfile"))->click();
    QCOMPARE(a->dateidialoge, 1);
    QVERIFY2(marke("CheckBoxAF"), qPrintable(a->alle()));
    s.hide();

    QVERIFY(!marke("CheckBoxSim"));
    t->programm->hauptmenue().aktion("StartSimulation1")->trigger();
    QVERIFY2(marke("CheckBoxDE") && marke("CheckBoxAF") && marke("CheckBoxSim"), qPrintable(a->alle()));
    QVERIFY(std::filesystem::exists(sim));
    QVERIFY(std::filesystem::exists(str));
    // The catalogue names the new file.
    s.katalog_lesen();
    bool im_katalog = false;
    auto* k = s.findChild<QTableView*>(QStringLiteral("katalog"))->model();
    for (int i = 0; i < k->rowCount(); ++i)
        im_katalog |= k->index(i, 0).data().toString() == QStringLiteral("test_ausgabe_ir_D_EJEG_IAAN-D_st0.sim");
    QVERIFY(im_katalog);

    // The control file of that simulation reads back and sets the mark.
    a->datei(str);
    e->knopf("Steuerfile")->click();
    QVERIFY(marken().steuerdatei_eingelesen);
    QVERIFY(e->statuszeile()->text().contains(QStringLiteral("test_steuer_ir_D_EJEG_IAAN-D_st0.str")));

    // "Neue Simulation" clears the three marks.
    t->programm->hauptmenue().findChild<QPushButton*>(QStringLiteral("ButtonSim"))->click();
    QVERIFY(!marke("CheckBoxDE") && !marke("CheckBoxAF") && !marke("CheckBoxSim"));
}

void Einlesefiles::abgelehnte_kombination_meldet_und_laesst_die_marken() {
    // "Braunschweig EFH" with a block too long for the reservoir exchanger,
    // which the combination check refuses.
    braunschweig_mit_zu_langem_block();
    QVERIFY(e->waehle_datensatz(QStringLiteral("Braunschweig EFH")));
    e->knopf("DatenEinlesen")->click();
    QVERIFY2(marke("CheckBoxDE"), qPrintable(a->alle()));
    TSimulationsdaten& s = t->programm->simulationsdaten();
    const auto sim = t->res() / "braunschweig.sim";
    a->datei(sim);
    s.findChild<QPushButton*>(QStringLiteral("Simulationsfile"))->click();
    QVERIFY(marke("CheckBoxAF"));
    a->vergiss();
    t->programm->hauptmenue().aktion("StartSimulation1")->trigger();
    QVERIFY2(a->gesehen(QStringLiteral("Blocklänge maxmittemp")), qPrintable(a->alle()));
    QCOMPARE(a->meldungen.back().symbol, QMessageBox::Critical);
    QVERIFY(marke("CheckBoxDE") && marke("CheckBoxAF") && !marke("CheckBoxSim"));
    QVERIFY(!std::filesystem::exists(sim));
}

void Einlesefiles::serie_rechnet_bis_zum_ersten_fixierten_datensatz() {
    // Three data sets in list order: NF, NF, F.
    const QString erster = QStringLiteral("test_EJEG_IAAN-D_st0");
    const QString zweiter = QStringLiteral("test_EJEG_IAAN-D_st0_d");
    const QString fixiert = QStringLiteral("test_EJEG_IAAN-D_st2");
    QVERIFY(e->waehle_datensatz(fixiert));
    e->findChild<QCheckBox*>(QStringLiteral("fixiert"))->setChecked(true);
    QVERIFY(e->speichern());
    QCOMPARE(lock_von(*e, fixiert), QStringLiteral("F"));
    const auto namen = liste(*e);
    int i = 0;
    while (i < static_cast<int>(namen.size()) && namen[static_cast<std::size_t>(i)].first != erster) ++i;
    QCOMPARE(namen[static_cast<std::size_t>(i + 1)].first, zweiter);
    QCOMPARE(namen[static_cast<std::size_t>(i + 2)].first, fixiert);

    QVERIFY(e->waehle_datensatz(erster));
    e->knopf("Serie")->click();
    QCOMPARE(lock_von(*e, erster), QStringLiteral("F"));
    QCOMPARE(lock_von(*e, zweiter), QStringLiteral("F"));
    QVERIFY2(e->statuszeile()->text().contains(QStringLiteral("2 Datensätze gerechnet")),
             qPrintable(e->statuszeile()->text()));
    QVERIFY(std::filesystem::exists(t->res() / "test_ausgabe_EJEG_IAAN-D_st0.dat"));
    QVERIFY(std::filesystem::exists(t->res() / "test_ausgabe_EJEG_IAAN-D_st0_d.dat"));
    QVERIFY(!std::filesystem::exists(t->res() / "test_ausgabe_EJEG_IAAN-D_st2.dat"));
    // The batch unchecks "Zwischenergebnisse" and writes to the protocol, not in boxes.
    QVERIFY(!t->programm->hauptmenue().aktion("Zwischenergebnisse1")->isChecked());
    QVERIFY2(a->meldungen.empty(), qPrintable(a->alle()));

    // Started on a fixed data set, the batch computes nothing.
    QVERIFY(e->waehle_datensatz(fixiert));
    e->knopf("Serie")->click();
    QVERIFY(e->statuszeile()->text().contains(QStringLiteral("0 Datensätze gerechnet")));

    // A run that does not complete stops the batch; its data set stays NF.
    braunschweig_mit_zu_langem_block();
    QVERIFY(e->waehle_datensatz(QStringLiteral("Braunschweig EFH")));
    e->knopf("Serie")->click();
    QCOMPARE(lock_von(*e, QStringLiteral("Braunschweig EFH")), QStringLiteral("NF"));
    QVERIFY2(e->statuszeile()->text().contains(QStringLiteral("Serie angehalten bei: Braunschweig EFH")),
             qPrintable(e->statuszeile()->text()));
    // The refusal is shown as a dialog, as every refused combination.
    QVERIFY2(a->gesehen(QStringLiteral("Blocklänge maxmittemp")), qPrintable(a->alle()));
}

void Einlesefiles::anhalten_bricht_die_optimierung_ab_ohne_ergebnisdatei() {
    lauf_ausfuehrer& l = t->programm->ausfuehrer();
    // "Anhalten" as the run begins: the run stops at its first loop point.
    auto verbindung = QObject::connect(&l, &lauf_ausfuehrer::lauf_begonnen, &l, [&l] { l.anhalten(); });
    QVERIFY(e->waehle_datensatz(QStringLiteral("EFH Potsdam 2019 stuendlich")));
    e->knopf("Optimieren")->click();
    QObject::disconnect(verbindung);
    QVERIFY2(a->gesehen(QStringLiteral("Rechnung angehalten")), qPrintable(a->alle()));
    QVERIFY(!marke("CheckBoxSim"));
    std::size_t dateien = 0;
    for (const auto& d : std::filesystem::directory_iterator(t->res()))
        if (d.path().extension() == ".dat" || d.path().extension() == ".tmp") ++dateien;
    QCOMPARE(dateien, std::size_t(0));
    QVERIFY(!l.laeuft());

    // Without the stop the same optimisation completes.
    a->vergiss();
    e->knopf("Optimieren")->click();
    QVERIFY2(marke("CheckBoxSim"), qPrintable(a->alle()));
    QVERIFY(std::filesystem::exists(t->res() / "potsdam_2019.dat"));
    QVERIFY(t->programm->hauptmenue().findChild<QProgressBar*>(QStringLiteral("ProgressBar1")));
}

void Einlesefiles::kopie_wartet_in_den_feldern_und_wird_gespeichert() {
    QVERIFY(e->waehle_datensatz(QStringLiteral("Braunschweig EFH")));
    const QString num = e->feldtext("num");
    e->knopf("Kopieren")->click();
    // The copy's name has its second-to-last character replaced; it is not
    // stored until posted.
    QCOMPARE(e->feldtext("name"), QStringLiteral("Braunschweig E*H"));
    QCOMPARE(lock_von(*e, QStringLiteral("Braunschweig E*H")), QStringLiteral("?"));
    e->navigator()->taste(TNavigator::speichern)->click();
    QCOMPARE(lock_von(*e, QStringLiteral("Braunschweig E*H")), QStringLiteral("NF"));
    QVERIFY(e->waehle_datensatz(QStringLiteral("Braunschweig E*H")));
    QCOMPARE(e->feldtext("num"), num);

    // A post that would duplicate a key is refused with the table's message
    // and the form stays on the edited data set.
    a->vergiss();
    e->setze_feld("name", QStringLiteral("Braunschweig EFH"));
    QVERIFY(!e->speichern());
    QVERIFY2(!a->meldungen.empty(), "no message for a duplicate key");
    QCOMPARE(lock_von(*e, QStringLiteral("Braunschweig E*H")), QStringLiteral("NF"));
}

void Einlesefiles::suchfilter_und_aufraeumen_von_haupt() {
    const std::size_t alle = liste(*e).size();
    QVERIFY(alle > 40);
    auto standardsaetze = [this] {
        std::size_t n = 0;
        for (const auto& [name, l] : liste(*e)) n += name.startsWith(QStringLiteral("test_"));
        return n;
    };
    const std::size_t standard = standardsaetze();
    e->suchfeld(0)->setText(QStringLiteral("test_ir%"));
    e->knopf("Anwenden")->click();
    QCOMPARE(liste(*e).size(), std::size_t(2));
    e->suchfeld(0)->clear();
    e->knopf("Anwenden")->click();
    QCOMPARE(liste(*e).size(), alle);

    // Fix two data sets, delete every one not fixed: the two stay.
    for (const char* n : {"EFH Potsdam 2019 stuendlich", "Braunschweig EFH"}) {
        QVERIFY(e->waehle_datensatz(QString::fromUtf8(n)));
        e->findChild<QCheckBox*>(QStringLiteral("fixiert"))->setChecked(true);
        QVERIFY(e->speichern());
    }
    std::size_t fixierte = 0;
    for (const auto& [n, l] : liste(*e)) fixierte += l == QStringLiteral("F");
    QVERIFY(fixierte >= 2);
    a->antworte(QMessageBox::Yes);
    e->knopf("Loeschen")->click();
    QCOMPARE(liste(*e).size(), fixierte);
    for (const auto& [n, l] : liste(*e)) QCOMPARE(l, QStringLiteral("F"));
    QCOMPARE(lock_von(*e, QStringLiteral("Braunschweig EFH")), QStringLiteral("F"));
    // With only fixed data sets, deleting deletes nothing; "Fixierungen löschen" frees them.
    a->antworte(QMessageBox::Yes);
    e->knopf("Loeschen")->click();
    QCOMPARE(liste(*e).size(), fixierte);
    e->knopf("Fixierungen")->click();
    for (const auto& [n, l] : liste(*e)) QCOMPARE(l, QStringLiteral("NF"));
    // "Addiere Default" brings the standard test data sets back (the other
    // site data sets deleted above stay deleted).
    e->knopf("AddiereDefault")->click();
    QCOMPARE(standardsaetze(), standard);
    QCOMPARE(lock_von(*e, QStringLiteral("EFH Potsdam 2019 stuendlich")), QStringLiteral("NF"));
}

QTEST_MAIN(Einlesefiles)
#include "test_einlesefiles.moc"
