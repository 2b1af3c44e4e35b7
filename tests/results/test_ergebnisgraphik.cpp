// The results window's store and the charts built from it, on result files
// written by the runner from the default database.

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "results/ergebnisdatei_schreiben.h"
#include "results/ergebnisgraphik.h"
#include "results/graphdaten.h"
#include "results/graphkalk.h"
#include "results/vergleich_hilfen.h"
#include "support/aufzeichnende_senke.h"

using namespace std::string_literals;

namespace {

class Ergebnisgraphik : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        setzenull(*links, *rechts);
    }
    ergebnisvergleich::ladeergebnis lade(const std::string& name, const std::string& flaecheneinheit = "qm") {
        return v.lade(ergebnis_fixture(name), *ausgabe, u.funktion(), flaecheneinheit);
    }
    std::vector<std::string> dialogtexte() const {
        std::vector<std::string> t;
        for (const auto& d : senke.dialoge) t.push_back(d.text);
        return t;
    }

    std::unique_ptr<datm> ausgabe = ausgabe_wie_datei(ergebnis_fixture(POTSDAM));
    test_umrechner u;
    ergebnisvergleich v;
    std::unique_ptr<graphdata> links = std::make_unique<graphdata>();
    std::unique_ptr<graphdata> rechts = std::make_unique<graphdata>();
};

}  // namespace

TEST_F(Ergebnisgraphik, MonatsgraphikVonEgHaeltDieZwoelfWerteInAusgabeeinheiten) {
    ausgabe->ausgabe_einheit[adata::eg] = "MWh";  // the file has kWh
    ASSERT_EQ(lade(POTSDAM), ergebnisvergleich::ladeergebnis::ok);
    const rohe_datei roh(ergebnis_fixture(POTSDAM));
    ASSERT_EQ(roh.einheit(adata::eg), "kWh");

    monatsgraphik_auswahl a;
    a.groesse = adata::eg;
    a.art = konstante_variable::flaeche;
    a.scheiben = {1, 3};
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    EXPECT_EQ(links->anzbild, 2);
    EXPECT_EQ(links->bildname[1], "Fläche: 2 qm (links)");
    EXPECT_EQ(links->bildname[2], "Fläche: 10 qm (links)");
    EXPECT_EQ(links->xname, "Monat");
    EXPECT_EQ(links->yname, "Gesamte Wärmeenenergie [MWh]");
    EXPECT_EQ(links->info, "EFH Potsdam 2019 stuendlich");
    EXPECT_EQ(rechts->anzbild, 0);
    for (int i = 1; i <= 2; ++i) {
        const int s = i == 1 ? 1 : 3;
        ASSERT_EQ(links->anzp[i], 12);
        for (int m = 1; m <= 12; ++m) {
            EXPECT_EQ(links->x[m][i], m);
            EXPECT_DOUBLE_EQ(links->y[m][i], roh.wert(adata::eg, m, s) / 1000.0) << m;
        }
        EXPECT_EQ(links->xmin[i], 1.0);
        EXPECT_EQ(links->xmax[i], 12.0);
    }
    // A plausible house: some thousand kWh of heat in January, the year near 16 MWh.
    double jahr = 0.0;
    for (int m = 1; m <= 12; ++m) jahr += links->y[m][1];
    EXPECT_GT(links->y[1][1], 1.0);
    EXPECT_NEAR(jahr, 16.0, 4.0);

    // Month constant: one curve per marked month over the areas, named by the month.
    a.art = konstante_variable::monat;
    a.monate = {1, 7};
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    EXPECT_EQ(links->anzbild, 2);
    EXPECT_EQ(links->bildname[2], "Juli (links)");
    EXPECT_EQ(links->xname, "Fläche [qm]");
    ASSERT_EQ(links->anzp[1], 5);
    const double flaechen[] = {2, 6, 10, 14, 18};
    for (int s = 1; s <= 5; ++s) {
        EXPECT_EQ(links->x[s][1], flaechen[s - 1]);
        EXPECT_DOUBLE_EQ(links->y[s][1], roh.wert(adata::eg, 1, s) / 1000.0);
    }
}

TEST_F(Ergebnisgraphik, SechsDateienGebenSechsKurvenUndDieSiebteWirdAbgelehnt) {
    for (const auto& name : {POTSDAM, EJEG, ZJEG, POTSDAM, EJEG, ZJEG})
        ASSERT_EQ(lade(name), ergebnisvergleich::ladeergebnis::ok) << name;
    EXPECT_EQ(lade(EJEG), ergebnisvergleich::ladeergebnis::zu_viele);
    EXPECT_EQ(dialogtexte(), std::vector<std::string>{"Maximalzahl einzulesender Dateien: 6"});
    EXPECT_EQ(v.anzahl(), 6);

    monatsgraphik_auswahl a;
    a.groesse = adata::nh;
    a.monate = {2};
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    ASSERT_EQ(links->anzbild, 6);
    const rohe_datei ejeg(ergebnis_fixture(EJEG));
    EXPECT_EQ(kurventitel(links->bildname[5]), EJEG + " (links)");
    for (int s = 1; s <= 5; ++s) EXPECT_DOUBLE_EQ(links->y[s][5], ejeg.wert(adata::nh, 2, s));
    EXPECT_EQ(links->info, "EFH Potsdam 2019 stuendlich, test_EJEG_IAAN-N_st0, test_ZJEG_IAAN-D_st2, "
                           "EFH Potsdam 2019 stuendlich, test_EJEG_IAAN-N_st0, test_ZJEG_IAAN-D_st2");

    // Area constant with several files: the section whose area is entered.
    a.art = konstante_variable::flaeche;
    a.flaeche = 10.0;
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    ASSERT_EQ(links->anzbild, 6);
    for (int m = 1; m <= 12; ++m) EXPECT_DOUBLE_EQ(links->y[m][2], ejeg.wert(adata::nh, m, 3));
    a.flaeche = 11.0;
    EXPECT_FALSE(baue_monatsgraphik(v, a, *links, *rechts));
    EXPECT_EQ(dialogtexte().back(), "Keine geladene Datei enthält die Fläche 11");
}

TEST_F(Ergebnisgraphik, MarkierungenUndFehlendeGroessenWerdenGemeldet) {
    ASSERT_EQ(lade(POTSDAM), ergebnisvergleich::ladeergebnis::ok);
    struct fall {
        konstante_variable art;
        std::vector<int> monate, scheiben;
        bool zweite_datei;
        std::string meldung;
    };
    const std::vector<fall> faelle{
        {konstante_variable::monat, {}, {1}, false, "Bitte Eintrag markieren"},
        {konstante_variable::flaeche, {1}, {}, false, "Bitte Eintrag markieren"},
        {konstante_variable::monat, {1, 2}, {}, true, "Bitte genau einen Eintrag markieren"},
        {konstante_variable::monat, {}, {}, true, "Bitte genau einen Eintrag markieren"},
    };
    for (const fall& f : faelle) {
        if (f.zweite_datei && v.anzahl() == 1) {
            ASSERT_EQ(lade(ZJEG), ergebnisvergleich::ladeergebnis::ok);
        }
        senke.dialoge.clear();
        monatsgraphik_auswahl a;
        a.groesse = adata::eg;
        a.art = f.art;
        a.monate = f.monate;
        a.scheiben = f.scheiben;
        EXPECT_FALSE(baue_monatsgraphik(v, a, *links, *rechts)) << f.meldung;
        EXPECT_EQ(dialogtexte(), std::vector<std::string>{f.meldung});
        EXPECT_EQ(links->anzbild, 0);
    }

    // A file without the quantity's code: "Größe nicht berechnet".
    const auto p = verzeichnis / "ohne.dat";
    std::ofstream(p, std::ios::binary) << "N\r\n1,  1,  1\0\r\n"s + "Area, qm, \0"s + "2\r\nT\r\n" +
                                              "kWh,  \0\r\n"s + "xyz,  \0\r\n"s + "Jan,  1,  \0"s + "5\r\n";
    ergebnisvergleich nur;
    ASSERT_EQ(nur.lade(p, *ausgabe, u.funktion(), "qm"), ergebnisvergleich::ladeergebnis::ok);
    senke.dialoge.clear();
    monatsgraphik_auswahl a;
    a.groesse = adata::eg;
    a.monate = {1};
    EXPECT_FALSE(baue_monatsgraphik(nur, a, *links, *rechts));
    EXPECT_EQ(dialogtexte(), std::vector<std::string>{"Größe nicht berechnet"});
    jahresgraphik_auswahl j;
    j.groesse = adata::jkk;
    EXPECT_FALSE(baue_jahresgraphik(nur, j, *links, *rechts));
}

TEST_F(Ergebnisgraphik, RechteAchseZeigtTemperaturhubUndFoerderhoehe) {
    ASSERT_EQ(lade(POTSDAM), ergebnisvergleich::ladeergebnis::ok);
    const rohe_datei roh(ergebnis_fixture(POTSDAM));
    monatsgraphik_auswahl a;
    a.groesse = adata::tf_s;
    a.monate = {6};
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    ASSERT_EQ(rechts->anzbild, 1);
    EXPECT_EQ(rechts->bildname[1], "Juni - TEIN (rechts)");
    EXPECT_EQ(rechts->yname, "Mittlere Temperatur hinter Kollektor - TEIN [°C]");
    for (int s = 1; s <= 5; ++s)
        EXPECT_DOUBLE_EQ(rechts->y[s][1], roh.wert(adata::tf_s, 6, s) - roh.wert(adata::teinv, 6, s));

    a.groesse = adata::zpk;
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    ASSERT_EQ(rechts->anzbild, 1);
    EXPECT_EQ(rechts->yname, "Förderhöhe [m]");
    int geprueft = 0;
    for (int s = 1; s <= 5; ++s) {
        const double zv = roh.wert(adata::zv, 6, s);
        const double h = zv == 0.0 ? 0.0 : roh.wert(adata::zpk, 6, s) * 1000.0 * 367.0 / (zv / 1000.0 * s * 1000.0 * 30.0 * 24.0);
        EXPECT_DOUBLE_EQ(rechts->y[s][1], h) << s;
        if (zv != 0.0) ++geprueft;
    }
    EXPECT_GT(geprueft, 0);
}

TEST_F(Ergebnisgraphik, JahresgraphikUeberFlaecheUndUeberDemWinkel) {
    ASSERT_EQ(lade(POTSDAM), ergebnisvergleich::ladeergebnis::ok);
    jahresgraphik_auswahl j;
    j.groesse = adata::jkk;
    j.als_funktion_des_winkels = true;
    EXPECT_THROW(baue_jahresgraphik(v, j, *links, *rechts), abbruch);
    EXPECT_EQ(dialogtexte().back(), "Fehler: Mindestens zwei Dateien einlesen");

    ASSERT_EQ(lade(EJEG), ergebnisvergleich::ladeergebnis::ok);
    ASSERT_EQ(lade(ZJEG), ergebnisvergleich::ladeergebnis::ok);
    const rohe_datei p(ergebnis_fixture(POTSDAM)), z(ergebnis_fixture(ZJEG));

    j.als_funktion_des_winkels = false;
    ASSERT_TRUE(baue_jahresgraphik(v, j, *links, *rechts));
    ASSERT_EQ(links->anzbild, 3);
    EXPECT_EQ(links->xname, "Fläche [qm]");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(links->anzp[i], 5);
        EXPECT_EQ(links->xmin[i], 0.0);
        EXPECT_EQ(links->xmax[i], 18.0);
    }
    EXPECT_DOUBLE_EQ(links->y[4][3], z.wert(adata::jkk, 1, 4));
    ASSERT_EQ(rechts->anzbild, 3);  // jkk_g on the right
    EXPECT_DOUBLE_EQ(rechts->y[4][3], z.wert(adata::jkk_g, 1, 4));

    j.als_funktion_des_winkels = true;
    ASSERT_TRUE(baue_jahresgraphik(v, j, *links, *rechts));
    ASSERT_EQ(links->anzbild, 5);  // one curve per area
    EXPECT_EQ(links->bildname[2], "Fläche: 6 qm (links)");
    EXPECT_EQ(links->xname, "Kollektorneigung [" + p.einheit(adata::theta) + "]");
    ASSERT_EQ(links->anzp[2], 3);  // one point per file
    EXPECT_DOUBLE_EQ(links->x[1][2], p.wert(adata::theta, 1, 2));
    EXPECT_DOUBLE_EQ(links->y[3][2], z.wert(adata::jkk, 1, 2));

    // A file with other areas (here: loaded in qcm) ends the operation.
    ASSERT_EQ(lade(EJEG, "qcm"), ergebnisvergleich::ladeergebnis::ok);
    EXPECT_THROW(baue_jahresgraphik(v, j, *links, *rechts), abbruch);
    EXPECT_EQ(dialogtexte().back(), "Fehler: Flächen müssen für alle Dateien gleich sein");
}

TEST_F(Ergebnisgraphik, UebersichtFlaecheMitJahresmaximaUndFeldern) {
    ASSERT_EQ(lade(POTSDAM), ergebnisvergleich::ladeergebnis::ok);
    const rohe_datei roh(ergebnis_fixture(POTSDAM));
    uebersicht_angaben angaben;
    angaben.kopplungstyp = "E";
    angaben.leistung_ww = 5.678;
    angaben.leistung_we = 9.999;
    angaben.gesamte_waermeenergie = 15750.004;
    const uebersicht u = baue_uebersicht_flaeche(v.zuletzt(), 3, angaben);
    EXPECT_EQ(u.titel, "Ergebnisse (Fläche)");
    ASSERT_EQ(u.seiten.size(), 6u);
    EXPECT_EQ(u.seiten[0].reiter, "Ges.El.Energie");
    EXPECT_EQ(u.seiten[4].reiter, "Energieanteile");

    auto kurve = [&](const std::string& name) -> const uebersichtskurve& {
        const uebersichtsdiagramm* g = u.finde(name);
        if (!g || g->kurven.empty()) throw std::runtime_error("kein Diagramm " + name);
        return g->kurven.front();
    };
    // Row 1 over all areas; month 3 from the second area; month 3 over all areas.
    EXPECT_EQ(kurve("Chart1").werte.size(), 5u);
    EXPECT_DOUBLE_EQ(kurve("Chart1").werte[2].second, roh.wert(adata::jkk, 1, 3));
    EXPECT_EQ(kurve("Chart3").werte.size(), 4u);
    EXPECT_EQ(kurve("Chart3").werte[0].first, 6.0);
    EXPECT_DOUBLE_EQ(kurve("Chart3").werte[0].second, roh.wert(adata::eta, 3, 2));
    EXPECT_DOUBLE_EQ(kurve("Chart14").werte[4].second, roh.wert(adata::eg, 3, 5));
    EXPECT_EQ(u.finde("Chart14")->titel, "Gesamte Wärmeenenergie");
    // Yearly maxima of nh, ok and nh + ok per area.
    for (int s = 1; s <= 5; ++s) {
        double nh = 0, ok = 0, beide = 0;
        for (int m = 1; m <= 12; ++m) {
            nh = std::max(nh, roh.wert(adata::nh, m, s));
            ok = std::max(ok, roh.wert(adata::ok, m, s));
            beide = std::max(beide, roh.wert(adata::nh, m, s) + roh.wert(adata::ok, m, s));
        }
        EXPECT_DOUBLE_EQ(kurve("Chart17").werte[static_cast<std::size_t>(s - 1)].second, nh);
        EXPECT_DOUBLE_EQ(kurve("Chart18").werte[static_cast<std::size_t>(s - 1)].second, ok);
        EXPECT_DOUBLE_EQ(kurve("Chart19").werte[static_cast<std::size_t>(s - 1)].second, beide);
    }
    EXPECT_EQ(u.finde("Chart17")->gruppe, "Jahresmaxima");
    EXPECT_FALSE(u.finde("Chart8")->sichtbar);  // no intermediate pump with coupling "E"
    EXPECT_TRUE(u.finde("Chart7")->sichtbar);
    const auto& felder = u.seiten[3].felder;
    ASSERT_EQ(felder.size(), 2u);
    EXPECT_EQ(felder[0].wert, "5.67");  // truncated
    EXPECT_EQ(felder[1].wert, "9.99");
    EXPECT_EQ(u.seiten[0].felder[0].wert, "15750.00");

    angaben.kopplungstyp = "Z";
    EXPECT_TRUE(baue_uebersicht_flaeche(v.zuletzt(), 3, angaben).finde("Chart8")->sichtbar);
}

TEST_F(Ergebnisgraphik, UebersichtZeitEinPunktJeMonatMitVorgabe) {
    ASSERT_EQ(lade(EJEG), ergebnisvergleich::ladeergebnis::ok);
    const rohe_datei roh(ergebnis_fixture(EJEG));
    uebersicht_angaben angaben;
    angaben.vorgabe_bekannt = true;
    for (int m = 1; m <= 12; ++m) angaben.vorgabe[static_cast<std::size_t>(m)] = 100.0 * m;
    const uebersicht u = baue_uebersicht_zeit(v.datei(1), 4, angaben);
    EXPECT_EQ(u.titel, "Ergebnisse (Zeit)");
    EXPECT_FALSE(u.finde("Chart1")->sichtbar);
    const uebersichtsdiagramm* eg = u.finde("Chart14");
    ASSERT_EQ(eg->kurven.size(), 2u);
    EXPECT_EQ(eg->kurven[0].name, "Simulation");
    EXPECT_FALSE(eg->kurven[0].punkte);
    EXPECT_EQ(eg->kurven[1].name, "Vorgabe");
    EXPECT_TRUE(eg->kurven[1].punkte);
    ASSERT_EQ(eg->kurven[0].werte.size(), 12u);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(eg->kurven[0].werte[static_cast<std::size_t>(m - 1)].first, m - 0.5);
        EXPECT_DOUBLE_EQ(eg->kurven[0].werte[static_cast<std::size_t>(m - 1)].second, roh.wert(adata::eg, m, 4));
        EXPECT_EQ(eg->kurven[1].werte[static_cast<std::size_t>(m - 1)].second, 100.0 * m);
    }
    const auto& lges = u.finde("Chart19")->kurven.front().werte;
    EXPECT_DOUBLE_EQ(lges[6].second, roh.wert(adata::lnh, 7, 4) + roh.wert(adata::lok, 7, 4));
    EXPECT_EQ(u.seiten[0].felder[0].wert, "14");

    EXPECT_TRUE(pruefe_uebersicht_auswahl(1, 1));
    EXPECT_FALSE(pruefe_uebersicht_auswahl(2, 1));
    EXPECT_EQ(senke.dialoge.back().text, "Jeweils einen Eintrag markieren.");
    EXPECT_EQ(senke.dialoge.back().schwere, 'W');
}

TEST_F(Ergebnisgraphik, SteuerdateiWirdMitAllenZeilenGeladen) {
    auto d = gefuellte_ergebnisse();
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, m == 1 ? 24 : 2);
    ergebnisdatei_angaben angaben;
    angaben.hauptname = "Standort";
    angaben.ergebnisverzeichnis = verzeichnis;
    angaben.steuername = "steuer";
    angaben.flaecheneinheit = "qm";
    parreadtab tab;
    intervalleingaben e;
    schreibe_intervallergebnisse(*d, tab, 4.0, {1, 1, 1}, angaben, e);
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);

    ASSERT_EQ(v.lade(steuerdateipfad(angaben), *ausgabe, u.funktion(), "qm"), ergebnisvergleich::ladeergebnis::ok);
    const geladene_datei& g = v.datei(1);
    EXPECT_TRUE(g.steuerdatei);
    EXPECT_EQ(g.zeilenzahl(1), 24 + 11 * 2);
    EXPECT_EQ(g.spalten[4].titel, "Relative Laufzeit Kollektorpumpe");
    EXPECT_EQ(g.spalten[16].code, "");
    EXPECT_EQ(g.zeilen[25], "Februar");
    // Month on x: one point per row.
    monatsgraphik_auswahl a;
    a.groesse = adata::zei;
    a.art = konstante_variable::flaeche;
    a.scheiben = {1};
    ASSERT_TRUE(baue_monatsgraphik(v, a, *links, *rechts));
    EXPECT_EQ(links->anzp[1], 46);
    EXPECT_DOUBLE_EQ(links->y[25][1], d->feld3[0][2][1]);
}
