#include <gtest/gtest.h>

#include <cmath>

#include "engine/periode.h"
#include "support/lauf_fixture.h"

class Periode : public mit_laufzustand {
protected:
    // One call of the period routine with the run's arguments.
    void periode(char code, double A = 4.0) {
        int zaehler = 0;
        berechne_periode(zaehler, 1, zustand::vdatz(), links, code, nullptr, bestwert,
                         zustand::date3(), monatsergebnisse, zustand::numchar(),
                         zustand::datm_allgemein(), zustand::vdatt(), zustand::pvdatz3(1), A,
                         schritte);
    }
    graphdata links;
    ::date monatsergebnisse;
    double bestwert = 0.0;
};

TEST_F(Periode, MonateLaufenAbStartmonatMitUmbruch) {
    struct fall {
        int start;
        std::vector<int> erwartet;
    };
    for (const fall& f : {fall{1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                          fall{7, {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}},
                          fall{12, {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}}) {
        schritte.monate.clear();
        zustand::monatstart() = f.start;
        periode('V');
        EXPECT_EQ(schritte.monate, f.erwartet) << "monatstart " << f.start;
    }
}

TEST_F(Periode, PfadNachRechenartUndFortschritt) {
    zustand::numchar()[ndata::rechenart] = "A";
    periode('Z');
    EXPECT_EQ(schritte.pfade, std::vector<char>(12, 'A'));
    // The analytic step advances the progress bar itself; the loop does not.
    EXPECT_EQ(schritte.fortschritte, 0);

    schritte.pfade.clear();
    zustand::numchar()[ndata::rechenart] = "T";
    periode('V');
    EXPECT_EQ(schritte.pfade, std::vector<char>(12, 'Z'));
    EXPECT_EQ(schritte.fortschritte, 12);
}

TEST_F(Periode, ErsterCodeWirdBehaltenGleicheSummeErsetztSchlechtereNicht) {
    schritte.monatswert = [](int) { return 5.0; };  // year sum 60 > 0
    periode('V');
    EXPECT_DOUBLE_EQ(bestwert, 60.0);
    EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jek][1], 5.0);
    EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jkk][7], 60.0);
    EXPECT_DOUBLE_EQ(monatsergebnisse.jkk, 60.0);

    // Same sum, other distribution: the newer result replaces the kept one.
    schritte.monatswert = [](int m) { return m == 1 ? 16.0 : 4.0; };
    periode('V');
    EXPECT_DOUBLE_EQ(bestwert, 60.0);
    EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jek][1], 16.0);

    // A worse sum leaves the kept result alone.
    schritte.monatswert = [](int) { return 6.0; };
    periode('V');
    EXPECT_DOUBLE_EQ(bestwert, 60.0);
    EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jek][1], 16.0);

    // A better one replaces it.
    schritte.monatswert = [](int) { return 1.0; };
    periode('V');
    EXPECT_DOUBLE_EQ(bestwert, 12.0);
    EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jek][1], 1.0);
}

TEST_F(Periode, StopImMaerzBeendetDieSchleife) {
    zustand::numchar()[ndata::kontrolllauf] = "J";
    zustand::numchar()[ndata::messmodus] = "N";
    schritte.steuer_monat = 1;
    schritte.steuer_intervall = 5;
    schritte.monatswert = [](int m) { return static_cast<double>(m); };
    schritte.nach_monat = [](periodenkontext& k, int m) {
        if (m == 3) k.numchar[ndata::stopp] = "J";
    };
    periode('V');
    EXPECT_EQ(schritte.monate, (std::vector<int>{1, 2, 3}));
    EXPECT_DOUBLE_EQ(bestwert, 6.0);
    EXPECT_EQ(zustand::startintervall(), 5);
    EXPECT_DOUBLE_EQ(zustand::datm_allgemein().feld[adata::jek][4], 0.0);
    zustand::numchar()[ndata::stopp] = "N";
}

TEST_F(Periode, VariantenergebnisMitSpeicherkopieUndIntervallreihen) {
    ::datm& v = zustand::datm_serie();
    ::datm& b = zustand::datm_allgemein();
    v.feld[adata::preis].fill(2.0);
    v.feld[adata::jek_g].fill(3.0);
    v.feld3[17][5][2] = 1.0;
    v.feld3[17][5][3] = 1.0;  // beyond n[5] = 2
    v.arrayspeicher_mon[5].pufferspeicher.inhalt.schichten = {{1.0, 30.0}, {2.0, 40.0}};
    v.arrayspeicher_mon[5].pufferspeicher.inhalt.estore = 7.0;
    v.arrayspeicher_mon[5].pufferspeicher.inhalt.eminus = 3.0;
    b.feld3[17][5][3] = 0.0;
    ::date d;
    kopiere_variantenergebnis(v, b, d);
    EXPECT_DOUBLE_EQ(b.feld[adata::pek][3], 24.0);
    EXPECT_DOUBLE_EQ(b.feld[adata::jkk_g][12], 36.0);
    EXPECT_DOUBLE_EQ(d.pek, 24.0);
    EXPECT_DOUBLE_EQ(d.jkk_g, 36.0);
    EXPECT_EQ(b.feld3[17][5][2], 1.0);
    EXPECT_EQ(b.feld3[17][5][3], 0.0);
    const rspeicher& kopie = b.arrayspeicher_mon[5].pufferspeicher.inhalt;
    ASSERT_EQ(kopie.schichten.size(), 2u);
    EXPECT_EQ(kopie.schichten.back().temperatur, 40.0);
    EXPECT_EQ(kopie.estore, 7.0);
    EXPECT_EQ(kopie.eminus, 0.0);
    v = ::datm{};
    b = ::datm{};
}

TEST_F(Periode, GeBereichLogarithmischUndVarianten) {
    laufsteuerung& l = zustand::lauf();
    l.anzge = 3;
    l.minge = 0.0;  // replaced by maxge / 1000
    l.maxge = 2.0;
    l.anzdeltatkol = 4;
    l.mindeltatkol = 2.0;
    l.maxdeltatkol = 10.0;
    int zaehler = 0;
    monatsfeld ziel{};
    periodenkontext k{zaehler, 1, zustand::vdatz(), links, nullptr, ziel, zustand::date3(),
                      monatsergebnisse, zustand::numchar(), zustand::datm_serie(),
                      zustand::vdatt(), zustand::pvdatz3(1), 4.0};
    monatsschleife(k, schritte);
    EXPECT_EQ(k.ge.anzahl, 3);
    EXPECT_EQ(k.ge.erster, 1);
    EXPECT_DOUBLE_EQ(k.ge.wert(1), 0.002);
    EXPECT_NEAR(k.ge.wert(3), 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(l.deltatkol_schritt, 2.0);
    EXPECT_EQ(l.anzvarianten, 0);

    // No collector loop (A = 0, reservoir TA): only the last ge step, and the
    // temperature-difference variants are in use.
    periodenkontext ohne{zaehler, 1, zustand::vdatz(), links, nullptr, ziel, zustand::date3(),
                         monatsergebnisse, zustand::numchar(), zustand::datm_serie(),
                         zustand::vdatt(), zustand::pvdatz3(1), 0.0};
    monatsschleife(ohne, schritte);
    EXPECT_EQ(ohne.ge.erster, 3);
    EXPECT_EQ(l.anzvarianten, 4);

    // Direct coupling: a single ge step.
    zustand::numchar()[ndata::kopplungsart] = "DK";
    monatsschleife(k, schritte);
    EXPECT_EQ(k.ge.anzahl, 1);
}

TEST_F(Periode, SpeicherStartenMitRuecklauftemperaturDesStartmonats) {
    zustand::vdatz()[zdata::rwv][7] = 35.0;
    zustand::monatstart() = 7;
    periode('V', 6.0);
    ASSERT_EQ(schritte.speicherresets.size(), 2u);
    EXPECT_EQ(schritte.speicherresets[0], std::make_pair(6.0, 35.0));
    EXPECT_EQ(schritte.speicherresets[1], std::make_pair(6.0, 35.0));
    zustand::vdatz()[zdata::rwv][7] = 0.0;
}

TEST_F(Periode, JahreslaufGehtGeSchritteAbwaertsUndSetztDiagrammpunkte) {
    zustand::numchar()[ndata::zeitraum] = "J";
    zustand::numchar()[ndata::rechenart] = "M";
    laufsteuerung& l = zustand::lauf();
    l.anzge = 3;
    l.minge = 1.0;
    l.maxge = 100.0;
    schritte.monatswert = [](int) { return 2.0; };
    periode('K');
    EXPECT_EQ(schritte.monate.size(), 36u);  // three ge steps, one variant each
    EXPECT_EQ(schritte.jahreswerte, (std::vector<double>{24.0, 24.0, 24.0}));
    EXPECT_EQ(schritte.fortschritte, 3);
    EXPECT_NEAR(links.x[3][1], 100.0 * 3600000.0, 1e-3);
    EXPECT_NEAR(links.x[1][1], 1.0 * 3600000.0, 1e-6);
    EXPECT_DOUBLE_EQ(links.y[2][1], 24.0);
    EXPECT_TRUE(l.referenzwert_gesetzt);
    EXPECT_DOUBLE_EQ(l.referenzwert, 24.0);
    EXPECT_DOUBLE_EQ(bestwert, 24.0);
}
