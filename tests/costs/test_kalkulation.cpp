// The yearly costs per collector area, the cell electricity, the charts and
// the printout, on small hand-made results whose figures are easy to follow.

#include <gtest/gtest.h>

#include <cmath>

#include "costs/kalkulation.h"
#include "costs/kostendruck.h"
#include "costs/kostengraphik.h"
#include "data/einheiten.h"
#include "support/aufzeichnende_senke.h"

namespace {

using namespace kpar;

// Two areas, 0 and 4 qm; a collector unit of 1 qm lower and 2 qm upper
// collector; every month 10 (area 1) or 20 (area 2) kWh auxiliary heating,
// 20 kWh heating without coupling, 1 kWh pump energy; household 100 kWh a
// month, 1200 a year.
kosten_datenindex beispiel() {
    kosten_datenindex d;
    d.dateiname = "a.dat";
    d.anzahl_flaechen = 2;
    const double flaeche[3] = {0.0, 0.0, 4.0};
    const double lok[3] = {0.0, 1000.0, 1500.0};
    const double lnh[3] = {0.0, 500.0, 400.0};
    for (int s = 1; s <= 2; ++s) {
        kosten_scheibe& k = d.scheibe[s];
        k.flaeche = flaeche[s];
        k.jkk = 1000.0 * s;
        k.lok = lok[s];
        k.lnh = lnh[s];
        for (int m = 1; m <= 12; ++m) {
            k.nh[m] = 10.0 * s;
            k.ok[m] = 20.0;
            k.zpk[m] = 1.0;
            k.er[m] = 30.0 * (s - 1);
        }
    }
    for (int m = 1; m <= 12; ++m) d.stromverbrauch[m] = 100.0;
    d.strom_ohne_heizung = 1200.0;
    d.jahreswaermebedarf = 10000.0;
    d.anlage.vdatt[tdata::flaeche_kol_unten] = 1.0;
    d.anlage.vdatt[tdata::flaeche_kol_oben] = 2.0;
    d.anlage.kopplungstyp = "Z";
    d.anlage.leistung_wp = "A";
    kostenvektor& k = d.vdatk;
    k[preis_nh] = 0.1;
    k[preis_ok] = 0.2;
    k[preis_strom] = 0.3;
    k[eta_zelle] = 0.2;
    k[preis_heizung] = 8000.0;
    k[leistung_heizung] = 2000.0;   // 4 per W
    k[preis_zwp] = 3000.0;
    k[leistung_zwp] = 1000.0;       // 3 per W
    k[zusatz_heizung] = 500.0;
    k[zuschuss_heizung] = 100.0;    // net 400
    k[teile_thermisch] = 1000.0;
    k[zuschuss_kol] = 200.0;        // net 800
    k[preis_kol_oben] = 250.0;
    k[preis_kol_unten] = 200.0;
    k[zuschuss_kol_flaeche] = 50.0; // net 200 upper, 150 lower
    k[teile_pro_kollektor] = 5.0;
    k[zinssatz] = 0.0;
    k[laufzeit] = 10.0;
    k[unterhalt_heizung] = 100.0;
    k[unterhalt_thermisch] = 40.0;
    k[unterhalt_thermisch_flaeche] = 2.0;
    return d;
}

kalkulationsdaten mit(const kosten_datenindex& d) {
    kalkulationsdaten k;
    k.index.push_back(d);
    return k;
}

class Kosten : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        definiere_haupteinheiten();
    }
};

TEST(Annuitaet, OhneZinsKDurchNSonstAnnuitaetenformel) {
    struct fall {
        double K, p, n, a;
    } faelle[] = {
        {10000.0, 0.0, 10.0, 1000.0},       // interest 0: K / N
        {10000.0, 0.03, 20.0, 672.157076},  // 0.03 * 1.03^20 / (1.03^20 - 1) = 0.0672157
        {10000.0, 0.05, 1.0, 10500.0},      // one period: capital and interest
        {10000.0, 0.0, 0.0, 0.0},           // no term: nothing to pay off
    };
    for (const fall& f : faelle) EXPECT_NEAR(annuitaet(f.K, f.p, f.n), f.a, 1e-5) << f.p << " " << f.n;
}

TEST_F(Kosten, InvestitionEnergieUndUnterhaltJeFlaeche) {
    kalkulationsdaten k = mit(beispiel());
    const auto p = berechne_kosten(k, 1);
    ASSERT_EQ(p.size(), 2u);
    // Area 0: heating plant 1000 W * 4 + intermediate heat pump 500 W * 3 +
    // net heating extras 400; no collector, and the reservoir type "A" buys no
    // thermal parts without one.
    EXPECT_NEAR(p[0].investition, 4000.0 + 1500.0 + 400.0, 1e-9);
    // Area 4: 1500 * 4 + 400 * 3 + 400 + thermal parts 800 + 4/3 units of
    // (1 qm * 150 + 2 qm * 200) + 4 qm * 5.
    const double K2 = 6000.0 + 1200.0 + 400.0 + 800.0 + 4.0 / 3.0 * 550.0 + 20.0;
    EXPECT_NEAR(p[1].investition, K2, 1e-9);
    EXPECT_NEAR(p[1].annuitaet, K2 / 10.0, 1e-9);
    // 240 kWh nh * 0.1 + 240 kWh ok * 0.2 + 12 kWh pumps * 0.3 + 1200 kWh household * 0.3.
    EXPECT_NEAR(p[1].energiekosten, 24.0 + 48.0 + 3.6 + 360.0, 1e-9);
    EXPECT_NEAR(p[1].unterhalt, 100.0, 1e-9);  // no cells: heating plant only
    EXPECT_NEAR(p[1].jahreskosten, K2 / 10.0 + 435.6 + 100.0, 1e-9);
    EXPECT_NEAR(p[0].energiekosten, 12.0 + 48.0 + 3.6 + 360.0, 1e-9);
}

TEST_F(Kosten, HeizanlageNurBeiDerErstenFlaeche) {
    kosten_datenindex d = beispiel();
    d.hfn = 1.0;
    kalkulationsdaten k = mit(d);
    const auto p = berechne_kosten(k, 1);
    // First area: the plant's full power 2000 W at 4 per W, not the 1000 W the result needed.
    EXPECT_NEAR(p[0].investition, 8000.0 + 1500.0 + 400.0, 1e-9);
    // Second area: no heating plant, and its boiler energy at the electricity price.
    EXPECT_NEAR(p[1].investition, 1200.0 + 400.0 + 800.0 + 4.0 / 3.0 * 550.0 + 20.0, 1e-9);
    EXPECT_NEAR(p[0].energiekosten, 12.0 + 240.0 * 0.2 + 3.6 + 360.0, 1e-9);
    EXPECT_NEAR(p[1].energiekosten, 24.0 + 240.0 * 0.3 + 3.6 + 360.0, 1e-9);
}

TEST_F(Kosten, OhneWaermebedarfNurFestkostenUndHaushaltsstrom) {
    kosten_datenindex d = beispiel();
    d.iheizung = 0;
    d.vdatk[festkosten] = 50.0;
    kalkulationsdaten k = mit(d);
    for (const kostenpunkt& p : berechne_kosten(k, 1)) {
        EXPECT_NEAR(p.investition, 50.0, 1e-9) << p.s;  // no heating plant, no thermal parts
        EXPECT_NEAR(p.energiekosten, 360.0, 1e-9) << p.s;  // no nh, ok or pump energy
        EXPECT_NEAR(p.unterhalt, 0.0, 1e-9) << p.s;
        EXPECT_NEAR(p.jahreskosten, 5.0 + 360.0, 1e-9) << p.s;
    }
}

TEST_F(Kosten, EinzelkollektorZaehltNurDieObereFlaeche) {
    kosten_datenindex d = beispiel();
    d.anlage.vdatt[tdata::flaeche_kol_unten] = 0.0;  // one collector of 2 qm per unit
    d.vdatk[preis_kol_unten] = 10000.0;              // must not count
    d.scheibe[2].flaeche = 6.0;
    d.isolarzellen = 1;
    d.iradioGroupSf = zellmodus::feste_flaeche;
    d.aszf = 0.0;
    kalkulationsdaten k = mit(d);
    const auto p = berechne_kosten(k, 1);
    // 3 units of the upper collector: 3 * 2 qm * 200; accessories 6 qm * 5.
    EXPECT_NEAR(p[1].investition, 6000.0 + 1200.0 + 400.0 + 800.0 + 1200.0 + 30.0, 1e-9);
    // Thermal maintenance with 3 units of 2 qm; heating plant 100.
    EXPECT_NEAR(p[1].unterhalt, 40.0 + 2.0 * 3.0 * 2.0 + 100.0, 1e-9);
}

TEST(Strombedarf, HeizstromZaehltNurElektrischeWege) {
    // Area 1 of the example: nh 120, ok 240, pumps 12 kWh a year.
    struct fall {
        const char *kopplung, *quelle, *antrieb_we, *antrieb_ww;
        double strom;
    } faelle[] = {
        {"Z", "E", "E", "E", 120.0 + 240.0 + 12.0},  // both heat pumps electric
        {"Z", "G", "E", "W", 12.0},                  // gas boiler, heat-engine ww pump
        {"E", "K", "W", "W", 120.0 + 240.0 + 12.0},  // electric heating takes nh and ok
        {"E", "E", "W", "E", 12.0},                  // heat-engine we pump
    };
    for (const fall& f : faelle) {
        kosten_datenindex d = beispiel();
        d.numchar[ndata::kopplungstyp] = f.kopplung;
        d.numchar[ndata::ohne_kopplung] = f.quelle;
        d.numchar[ndata::antrieb_we] = f.antrieb_we;
        d.numchar[ndata::antrieb_ww] = f.antrieb_ww;
        d.anlage.vdatt[tdata::eta_gas] = d.anlage.vdatt[tdata::we_eta] = d.anlage.vdatt[tdata::ww_eta] =
            d.anlage.vdatt[tdata::eta_kraftwerk] = 0.5;
        EXPECT_NEAR(heizstrom(d, 1), f.strom, 1e-9) << f.kopplung << f.quelle << f.antrieb_we << f.antrieb_ww;
        bereite_zellflaechen_vor(d);
        EXPECT_NEAR(d.vdate3[1], f.strom + 1200.0, 1e-9);
        EXPECT_NEAR(d.vdateel3[1], 1200.0, 1e-9);
    }
}

TEST(Strombedarf, VerbrauchSkalierenBehaeltDieMonatsform) {
    kosten_datenindex d = beispiel();
    d.stromverbrauch[1] = 200.0;  // 1300 a year: January twice the other months
    skaliere_verbrauch(d, 2600.0);
    EXPECT_NEAR(d.stromverbrauch[1], 400.0, 1e-9);
    EXPECT_NEAR(d.stromverbrauch[7], 200.0, 1e-9);
    EXPECT_NEAR(d.strom_ohne_heizung, 2600.0, 1e-12);
    d.stromverbrauch = monatsfeld{};
    skaliere_verbrauch(d, 1200.0);  // no shape: evenly
    EXPECT_NEAR(d.stromverbrauch[12], 100.0, 1e-9);
}

TEST(Solarstrom, ProduktionVerteiltSichMonatsweise) {
    // One month with production o, household consumption c, pump energy p and
    // auxiliary heating nh; the other months are empty.
    struct fall {
        double o, c, p, nh;
        double einspeisung, eigen, nachheizung, zukauf;
    } faelle[] = {
        {52, 50, 5, 0, 0, 52, 0, 0},      // covers the household, not the pump: no feed-in
        {40, 50, 5, 0, 0, 40, 0, 10},     // short of the household: the rest is bought
        {100, 50, 5, 60, 0, 55, 45, 0},   // surplus below the auxiliary heating goes into it
        {200, 50, 5, 20, 125, 55, 20, 0}, // what the heating does not take is fed in
    };
    for (const fall& f : faelle) {
        kosten_datenindex d = beispiel();
        d.anzahl_flaechen = 1;
        d.scheibe[1] = kosten_scheibe{};
        d.stromverbrauch = monatsfeld{};
        d.einstrahlung = monatsfeld{};
        d.vdatk[eta_zelle] = 0.2;
        d.einstrahlung[1] = f.o / (0.2 * 10.0);  // 10 qm of cells
        d.stromverbrauch[1] = f.c;
        d.scheibe[1].zpk[1] = f.p;
        d.scheibe[1].nh[1] = f.nh;
        const solarstrom s = verteile_solarstrom(d, 1, 10.0);
        EXPECT_NEAR(s.einspeisung, f.einspeisung, 1e-9) << f.o;
        EXPECT_NEAR(s.eigenverbrauch, f.eigen, 1e-9) << f.o;
        EXPECT_NEAR(s.nachheizung, f.nachheizung, 1e-9) << f.o;
        EXPECT_NEAR(s.zukauf, f.zukauf, 1e-9) << f.o;
    }
}

TEST_F(Kosten, SolarzellenErtragUndInvestition) {
    kosten_datenindex d = beispiel();
    d.isolarzellen = 1;
    d.iradioGroupSf = zellmodus::feste_flaeche;
    d.aszf = 10.0;
    d.vdatk[zellpreis] = 300.0;
    d.vdatk[zuschuss_zelle_flaeche] = 100.0;  // net 200 per qm
    d.vdatk[teile_pv] = 70.0;
    d.vdatk[zuschuss_zelle] = 20.0;           // net 50
    d.vdatk[teile_pro_zelle] = 10.0;
    d.vdatk[verguetung] = 0.08;
    d.vdatk[unterhalt_pv] = 30.0;
    d.vdatk[unterhalt_pv_flaeche] = 1.0;
    for (int m = 1; m <= 12; ++m) d.einstrahlung[m] = 60.0;  // 10 qm * 0.2 * 60 = 120 kWh a month
    kalkulationsdaten k = mit(d);
    const kostenpunkt p = berechne_kosten(k, 1)[1];
    EXPECT_NEAR(p.zellflaeche, 10.0, 1e-12);
    const double K_ohne = 6000.0 + 1200.0 + 400.0 + 800.0 + 4.0 / 3.0 * 550.0 + 20.0;
    EXPECT_NEAR(p.investition, K_ohne + 10.0 * 200.0 + 10.0 * 10.0 + 50.0, 1e-9);
    // Each month: r = 120 - 100 - 1 = 19 below nh 20: household and pump own use,
    // 19 kWh into the auxiliary heating, nothing fed in.
    EXPECT_NEAR(p.strom.eigenverbrauch, 12 * 101.0, 1e-9);
    EXPECT_NEAR(p.strom.nachheizung, 12 * 19.0, 1e-9);
    EXPECT_NEAR(p.strom.einspeisung, 0.0, 1e-9);
    EXPECT_NEAR(p.solarertrag, 0.3 * 1212.0 + 0.1 * 228.0, 1e-9);
    // Maintenance: thermal (cells on, area > 0, coupling Z), cells, heating plant.
    EXPECT_NEAR(p.unterhalt, (40.0 + 3.0 * 4.0 / 3.0 * 2.0) + (30.0 + 10.0) + 100.0, 1e-9);
    EXPECT_NEAR(p.jahreskosten, p.annuitaet + p.energiekosten - p.solarertrag + p.unterhalt, 1e-9);
}

TEST_F(Kosten, ZellflaecheVariierenSchreitetUmModule) {
    kosten_datenindex d = beispiel();
    d.isolarzellen = 1;
    d.iradioGroupSf = zellmodus::variieren;
    d.vdatk[dachflaeche] = 10.0;
    d.vdatk[modulflaeche] = 1.6;  // round(6.25) = 6 steps
    d.anlage.vdatt[tdata::zellmodulflaeche] = 1.6;
    kalkulationsdaten k = mit(d);
    k.kollektorflaeche_fest = 3.0;  // closest section: 4 qm
    const auto p = berechne_kosten(k, 1);
    ASSERT_EQ(p.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(p[static_cast<size_t>(i)].s, 2);
        EXPECT_NEAR(p[static_cast<size_t>(i)].x, 1.6 * i, 1e-12);
        EXPECT_NEAR(p[static_cast<size_t>(i)].zellflaeche, 1.6 * i, 1e-12);
    }

    // A plant without a module area cannot step: cell area 0 only.
    k.index[0].vdatk[modulflaeche] = 0.0;
    EXPECT_EQ(berechne_kosten(k, 1).size(), 1u);
}

TEST_F(Kosten, DiagrammeJeKostenart) {
    kalkulationsdaten k = mit(beispiel());
    kosten_datenindex zweite = beispiel();
    zweite.dateiname = "b.dat";
    zweite.jahreswaermebedarf = 0.0;
    k.index.push_back(zweite);
    const auto p = berechne_kosten(k, 1);
    const double y1 = p[0].jahreskosten, y2 = p[1].jahreskosten;
    graphdata l, r;

    ASSERT_TRUE(berechne_kostengraphik(k, kostenart::kosten_jahr, l, r));
    EXPECT_EQ(l.anzbild, 2);
    EXPECT_EQ(l.anzp[1], 2);
    EXPECT_EQ(l.bildname[1], "a.dat (links)");
    EXPECT_EQ(r.bildname[2], "b.dat (rechts)");
    EXPECT_NEAR(l.x[2][1], 4.0, 1e-12);
    EXPECT_NEAR(l.y[2][1], y2, 1e-9);
    EXPECT_NEAR(r.y[2][1], 2000.0, 1e-9);  // jkk of the area
    EXPECT_NEAR(l.xmax[1], 4.0, 1e-12);

    ASSERT_TRUE(berechne_kostengraphik(k, kostenart::mehrkosten_jahr, l, r));
    EXPECT_NEAR(l.y[1][1], 0.0, 1e-9);
    EXPECT_NEAR(l.y[2][1], y2 - y1, 1e-9);
    EXPECT_NEAR(r.y[2][1], 10.0 * (y2 - y1), 1e-9);

    ASSERT_TRUE(berechne_kostengraphik(k, kostenart::gesamtkosten, l, r));
    EXPECT_NEAR(l.y[2][1], 10.0 * y2, 1e-9);
    EXPECT_NEAR(r.y[2][1], y2 / 10000.0, 1e-12);
    EXPECT_EQ(r.y[2][2], 0.0);  // no heat demand: no price per unit

    ASSERT_TRUE(berechne_kostengraphik(k, kostenart::zusatzinvestition, l, r));
    EXPECT_NEAR(l.y[2][1], p[1].investition, 1e-9);
    EXPECT_NEAR(r.y[2][1], p[1].investition / (10.0 * 10000.0), 1e-12);
    EXPECT_EQ(r.y[2][2], 0.0);

    // Solar energy of area 4: 12 * (30 - 20) kWh thermal, no cells.
    ASSERT_TRUE(berechne_kostengraphik(k, kostenart::energie_pro_qm, l, r));
    EXPECT_NEAR(l.y[2][1], y2 / 120.0, 1e-9);
    EXPECT_NEAR(r.y[2][1], 10.0 * 120.0 / 4.0, 1e-9);
    EXPECT_EQ(r.y[1][1], 0.0);  // area 0 without cells: no energy per area
    EXPECT_TRUE(senke.dialoge.empty());
}

TEST_F(Kosten, DiagrammeVerlangenFlaecheNull) {
    kosten_datenindex d = beispiel();
    d.scheibe[1].flaeche = 2.0;
    kalkulationsdaten k = mit(d);
    graphdata l, r;
    EXPECT_FALSE(berechne_kostengraphik(k, kostenart::mehrkosten_jahr, l, r));
    EXPECT_FALSE(berechne_kostengraphik(k, kostenart::energie_pro_qm, l, r));
    ASSERT_EQ(senke.dialoge.size(), 2u);
    EXPECT_EQ(senke.dialoge[0].text, "Minimalfläche muss Null sein für alle Resultate");
    EXPECT_EQ(l.anzbild, 0);
    // "Kosten/Jahr" needs area 0 only when the cell area is varied.
    EXPECT_TRUE(berechne_kostengraphik(k, kostenart::kosten_jahr, l, r));
    k.index[0].iradioGroupSf = zellmodus::variieren;
    setze_sprache(SPRACHE_ENGLISCH);
    EXPECT_FALSE(berechne_kostengraphik(k, kostenart::kosten_jahr, l, r));
    EXPECT_EQ(senke.dialoge.back().text, "Minimum area must be zero for all results");
}

TEST_F(Kosten, ZuVieleResultateWerdenAbgewiesen) {
    kalkulationsdaten k;
    for (int i = 0; i < MAX_DATENINDEX; ++i) k.index.push_back(beispiel());
    EXPECT_FALSE(resultat_einlesen(k, "gibt_es_nicht.dat", {}));
    EXPECT_EQ(k.index.size(), 6u);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Maximalzahl einzulesender Dateien: 6");
}

TEST_F(Kosten, DruckzeilenUndSeitenumbruch) {
    kalkulationsdaten k = mit(beispiel());
    k.index[0].herkunft.einlesefile = "/res/a.dat";
    auto z = kostenparameter_druckzeilen(k);
    ASSERT_EQ(z.size(), 2u + 26u + 1u);
    EXPECT_EQ(z[0].label, "Ergebnis-Name:");
    EXPECT_EQ(z[0].wert, "a.dat");
    EXPECT_EQ(z[1].label, "Einlesefiles-Name:");
    EXPECT_EQ(z[2].label, "Laufzeit des Darlehens:");
    EXPECT_EQ(z[2].wert, "10");
    EXPECT_EQ(z[3].label, "Zinssatz:");
    EXPECT_EQ(z[4].label, "Preis pro Einheit Energie (Strom ohne nh):");
    EXPECT_EQ(z[4].wert, "0.3");
    EXPECT_EQ(z.back().label, "Keine Solarzellen");

    // Two results: no input-file line, a blank line between them; the cell choice last.
    k.index.push_back(beispiel());
    k.index[1].isolarzellen = 1;
    k.index[1].iradioGroupSf = zellmodus::feste_flaeche;
    k.index[1].aszf = 12.5;
    z = kostenparameter_druckzeilen(k);
    ASSERT_EQ(z.size(), 2u * (1u + 26u + 1u) + 1u);
    EXPECT_EQ(z[28].label, "");
    EXPECT_EQ(z.back().label, "Feste Fläche:");
    EXPECT_EQ(z.back().wert, "12.5");

    // Rows of 100 units on a page of 1000: (1000 - 300) / 100 = 7 rows a page.
    const auto pos = listendruck_layout(10, 2000, 1000, 100);
    ASSERT_EQ(pos.size(), 10u);
    EXPECT_EQ(pos[0].seite, 1);
    EXPECT_EQ(pos[0].y, 150);
    EXPECT_EQ(pos[6].y, 750);
    EXPECT_EQ(pos[7].seite, 2);
    EXPECT_EQ(pos[7].y, 150);
    EXPECT_EQ(pos[7].x_label, 200);
    EXPECT_EQ(pos[7].x_wert, 1000);
}

}  // namespace
