#include <gtest/gtest.h>

#include "engine/energiebilanz.h"
#include "engine/models/speicher.h"
#include "support/aufzeichnende_senke.h"

// One interval (month 4, interval 2) of a plant with a 1 m3 water buffer
// store; the we pump has COP 1 (gas heating without coupling) unless set.
class Energiebilanz : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        numchar.fill("");
        numchar[ndata::rechenart] = "V";
        numchar[ndata::heizung] = "J";
        numchar[ndata::kopplungstyp] = "E";
        numchar[ndata::ohne_kopplung] = "G";
        numchar[ndata::kopplungsart] = "A";
        numchar[ndata::speicherfolge] = "V";
        numchar[ndata::meldungsmodus] = "S";
        for (int m = 1; m <= 12; ++m) {
            zustand::lade_flag()[m] = "N";
            zustand::entnehme_flag()[m] = "N";
        }
        setze_intervalle(4, 2);
        for (speicher* sp : {&a.pufferspeicher, &a.langzeitspeicher}) {
            sp->spmax.wert = 1.0;
            sp->spwspei.wert = 4190.0;
            sp->rospei.wert = 1000.0;
            setze_speicher_zurueck(*sp, 1.0, 20.0);
        }
        z[zdata::twv][4] = 50.0;
        z[zdata::rwv][4] = 20.0;
        z[zdata::tk][4] = 10.0;
        (*p)[zdata::ho][4][2] = 1.0;
        d3.tf[4][2] = 60.0;
        d3.twfflag[2] = u'J';
        d3.wpausflag[2] = u'N';
    }
    void TearDown() override {
        setze_intervalle(4, 0);
        mit_meldungen::TearDown();
    }
    intervallbilanz bilanz() {
        return intervallbilanz(numchar, 4, 2, a, d, d3, *p, z, v, 2.0,
                               zustand::stoffdaten().kaeltemittel_record);
    }
    // Energy of 1 m3 of water over dT kelvin in kWh.
    static double kwh(double dT) { return 4190.0 * 1000.0 * dT / 3.6e6; }

    flagchar numchar;
    anlage a;
    ::date d;
    ::date3 d3{};
    datz3* p = &zustand::pvdatz3(1);
    datz z{};
    datt v{};
    bilanzsummen summen;
};

TEST_F(Energiebilanz, SpeicherNimmtAllesAnOhneSkalierung) {
    d3.es[4][2] = kwh(10.0);  // heats a third of the store from 20 to 50
    d3.er[4][2] = kwh(10.0);
    d3.ls[4][2] = 0.3;
    auto b = bilanz();
    energiebilanz_intervall(b, summen);
    EXPECT_DOUBLE_EQ(d3.er[4][2], kwh(10.0));
    EXPECT_DOUBLE_EQ(d3.ls[4][2], 0.3);
    EXPECT_DOUBLE_EQ(d3.esa[4][2], kwh(10.0));
    // The store is offered the collector heat es + ls.
    EXPECT_NEAR(a.pufferspeicher.inhalt.estore, kwh(10.0) + 0.3, 1e-9);
    EXPECT_NEAR(a.pufferspeicher.inhalt.estoremax, kwh(10.0) + 0.3, 1e-9);
    EXPECT_NEAR(d.eg[4], kwh(10.0) + 0.3, 1e-9);  // end-reservoir coupling books the stored heat
    EXPECT_DOUBLE_EQ(d3.zei[4][2], 1.0);
}

TEST_F(Energiebilanz, VollerSpeicherSkaliertKollektorenergieAufDenGespeichertenAnteil) {
    setze_speicher_zurueck(a.pufferspeicher, 1.0, 60.0);  // nothing colder than the offer
    d3.es[4][2] = 4.0;
    d3.er[4][2] = 4.0;
    d3.ls[4][2] = 2.0;
    auto b = bilanz();
    energiebilanz_intervall(b, summen);
    EXPECT_DOUBLE_EQ(d3.er[4][2], 0.0);
    EXPECT_DOUBLE_EQ(d3.es[4][2], 0.0);
    EXPECT_DOUBLE_EQ(d3.ls[4][2], 0.0);
    EXPECT_DOUBLE_EQ(d3.zei[4][2], 0.0);
}

TEST_F(Energiebilanz, EndreservoirGibtNurDieGespeicherteKollektorwaerme) {
    // End-reservoir coupling: the store is offered the collector heat es at the
    // outflow temperature 30 C; er is that heat lifted to 50 C (twice es with
    // cold water at 10 C). The 1 m3 store at 20 C takes only 10 K of it, so the
    // collector's gain shrinks to what the store took and er in proportion.
    d3.tf[4][2] = 30.0;
    d3.twfflag[2] = u'N';
    d3.es[4][2] = 20.0;
    d3.er[4][2] = 40.0;
    auto b = bilanz();
    energiebilanz_intervall(b, summen);
    const double gespeichert = a.pufferspeicher.inhalt.estore;
    ASSERT_NEAR(gespeichert, kwh(10.0), 1e-9);
    EXPECT_NEAR(d3.es[4][2], gespeichert, 1e-9);
    EXPECT_NEAR(d3.er[4][2], 2.0 * gespeichert, 1e-9);
    EXPECT_NEAR(d3.esa[4][2], gespeichert, 1e-9);
}

TEST_F(Energiebilanz, ErstVerbrauchenHaeltGewinnNachLadenFest) {
    // "Consume first": the whole collector energy goes to the demand, nothing
    // is charged, and the gain after charging is the gain; a surplus is
    // charged and the gain after charging follows the store.
    numchar[ndata::speicherfolge] = "S";
    numchar[ndata::kopplungstyp] = "Z";
    struct fall {
        double er, bedarf;
    };
    for (const fall f : {fall{3.0, 5.0}, fall{3.0, 3.0}, fall{kwh(10.0) + 2.0, 2.0}}) {
        SCOPED_TRACE(f.er);
        setze_speicher_zurueck(a.pufferspeicher, 1.0, 20.0);
        d3.es[4][2] = f.er;
        d3.er[4][2] = f.er;
        d3.esa[4][2] = -1.0;  // left over from an earlier interval
        d3.equer_verbrauch[4][2] = f.bedarf;
        auto b = bilanz();
        energiebilanz_intervall(b, summen);
        EXPECT_DOUBLE_EQ(d3.esa[4][2], f.er);
    }
}

TEST_F(Energiebilanz, UngedeckterBedarfWirdZusatzheizungOhneKopplung) {
    d3.equer_verbrauch[4][2] = 5.0;  // store at 20 C cannot deliver above 20 C
    auto b = bilanz();
    energiebilanz_intervall(b, summen);
    EXPECT_NEAR(d3.ok_waerme[4][2], 5.0, 1e-12);
    EXPECT_NEAR(d3.ok[4][2], 5.0, 1e-12);  // COP 1
    EXPECT_NEAR(d.eg[4], 5.0, 1e-12);
    EXPECT_NEAR(summen.bedarf, 5.0, 1e-12);
    EXPECT_NEAR(summen.geliefert, 5.0, 1e-12);
    EXPECT_TRUE(senke.dialoge.empty());  // covered: no "fehler in equer"
    EXPECT_TRUE(protokollzeilen().empty());  // balanced
}

TEST_F(Energiebilanz, WarmerSpeicherDecktBedarfDirekt) {
    setze_speicher_zurueck(a.pufferspeicher, 1.0, 50.0);
    a.pufferspeicher.inhalt.estore = kwh(30.0);
    d3.equer_verbrauch[4][2] = kwh(15.0);
    auto b = bilanz();
    energiebilanz_intervall(b, summen);
    EXPECT_NEAR(a.pufferspeicher.inhalt.estore, kwh(15.0), 1e-9);
    EXPECT_NEAR(d3.ok[4][2], 0.0, 1e-12);
    // Half the store is now at the return temperature: 0.5 m3 hold 15 K x 1 m3.
    EXPECT_NEAR(d3.msp_next_puffer[4][2], 0.5, 1e-9);
}

TEST_F(Energiebilanz, KopplungJeIntervallAusEndrflag) {
    numchar[ndata::kopplungsart] = "K";
    d3.endrflag[2] = u'E';
    kopplung_aus_endrflag(numchar, 2, d3);
    EXPECT_EQ(numchar[ndata::kopplungstyp], "E");
    d3.endrflag[2] = u'Z';
    kopplung_aus_endrflag(numchar, 2, d3);
    EXPECT_EQ(numchar[ndata::kopplungstyp], "Z");
    numchar[ndata::kopplungsart] = "A";
    d3.endrflag[2] = u'E';
    kopplung_aus_endrflag(numchar, 2, d3);
    EXPECT_EQ(numchar[ndata::kopplungstyp], "Z");
}

TEST_F(Energiebilanz, KollektordeckungZwischenkopplungErsterHauptsatz) {
    // The ww pump (COP 4) lifts the collector heat 3 kWh to er = 4 kWh; half of
    // it covers demand: 1.5 kWh of collector heat plus 0.5 kWh of electricity.
    numchar[ndata::kopplungstyp] = "Z";
    d3.twfflag[2] = u'N';
    d3.er[4][2] = 4.0;
    d3.es[4][2] = 2.25;
    d3.ls[4][2] = 0.75;
    d3.copww[4][2] = 4.0;
    d3.tf[4][2] = 30.0;
    auto b = bilanz();
    b.kollektor_deckung_buchen(4, 2, 2.0);
    EXPECT_DOUBLE_EQ(d3.nh[4][2], 0.5);
    EXPECT_DOUBLE_EQ(d3.nh_waerme[4][2], 2.0);
    EXPECT_DOUBLE_EQ(d.wp_waerme_ww[4], 2.0);
    EXPECT_DOUBLE_EQ(d.wp_strom_ww[4], 0.5);
    // Outflow at its limit: the covered heat costs no electricity, the pump
    // does not run.
    d3.twfflag[2] = u'J';
    b.kollektor_deckung_buchen(4, 2, 2.0);
    EXPECT_DOUBLE_EQ(d3.nh[4][2], 0.5);
    EXPECT_DOUBLE_EQ(d3.nh_waerme[4][2], 4.0);
    EXPECT_DOUBLE_EQ(d.wp_strom_ww[4], 0.5);
    // At its lower COP limit the pump heats electrically.
    d3.twfflag[2] = u'N';
    d3.copww[4][2] = 1.0;
    b.kollektor_deckung_buchen(4, 2, 2.0);
    EXPECT_DOUBLE_EQ(d3.nh[4][2], 2.5);
    EXPECT_DOUBLE_EQ(d3.nh_waerme[4][2], 6.0);
}

// A directly coupled collector feeds the ww pump's evaporator: its heat is
// in er alone (es and ls stay 0). The part C it covers is still C of heat,
// of which C / COP is the pump's electricity; the interval balance closes.
TEST_F(Energiebilanz, DirektgekoppelterKollektorDecktSeinenAnteil) {
    numchar[ndata::kopplungstyp] = "Z";
    numchar[ndata::kopplungsart] = "DK";
    numchar[ndata::speicherfolge] = "S";
    d3.twfflag[2] = u'N';
    d3.er[4][2] = 4.0;
    d3.copww[4][2] = 4.0;
    d3.tf[4][2] = 30.0;
    d3.equer_verbrauch[4][2] = 3.0;
    auto b = bilanz();
    b.kollektor_deckung_buchen(4, 2, 2.0);
    EXPECT_DOUBLE_EQ(d3.nh_waerme[4][2], 2.0);
    EXPECT_DOUBLE_EQ(d3.nh[4][2], 0.5);

    // The whole interval: 3 kWh of demand from 4 kWh of coupled heat; the
    // rest charges the store, and the books close without a warning.
    d3.nh[4][2] = d3.nh_waerme[4][2] = d3.eg[4][2] = 0.0;
    d.eg[4] = d.nh[4] = 0.0;
    numchar[ndata::meldungsmodus] = "M";
    energiebilanz_intervall(b, summen);
    EXPECT_DOUBLE_EQ(d.eg[4], 3.0 + a.pufferspeicher.inhalt.estore + a.pufferspeicher.inhalt.eminus);
    EXPECT_GT(a.pufferspeicher.inhalt.estore, 0.0);
    EXPECT_TRUE(senke.fragen.empty()) << (senke.fragen.empty() ? "" : senke.fragen[0]);
}

// With end-reservoir coupling the store is offered the collector heat at its
// outflow temperature: the solar gain and what the air-swept collector took
// from the air (a month that charges the long-term store takes all of it).
TEST_F(Energiebilanz, EndreservoirBietetSolarUndLuftwaermeAn) {
    tv().lade_flag[4] = "Y";
    d3.twfflag[2] = u'N';
    d3.es[4][2] = 2.0;
    d3.ls[4][2] = 0.5;
    d3.er[4][2] = 3.0;
    d3.tf[4][2] = 60.0;
    auto b = bilanz();
    EXPECT_DOUBLE_EQ(speicherangebot(numchar, 4, 2, d3, z), 60.0);
    EXPECT_DOUBLE_EQ(d3.espeicher[4][2], 2.5);
    energiebilanz_intervall(b, summen);
    EXPECT_NEAR(a.langzeitspeicher.inhalt.estore + a.langzeitspeicher.inhalt.eminus, 2.5, 1e-12);
    EXPECT_DOUBLE_EQ(d.eg[4], 2.5);
}

// A month that charges the long-term store at its top (85 C) with
// intermediate coupling: the ww pump delivers the interval's demand to the
// house against the house's supply (35 C) and charges the store with the rest
// of the collector heat against the store's top. Linear ww pump:
// COP = -0.1 (th - tt) + 8 with tt = (30 + 10)/2: 7.25 to the house, 4.75 to
// the store. Collector heat 3 kWh, demand 2 kWh.
TEST_F(Energiebilanz, LademonatWwPumpeHeiztDasHausGegenDessenVorlauf) {
    tv().lade_flag[4] = "Y";
    numchar[ndata::kopplungstyp] = "Z";
    numchar[ndata::modelltyp_ww] = "L";
    v[tdata::ww_c1] = -0.1;
    v[tdata::ww_c2] = 8.0;
    z[zdata::twv][4] = 85.0;
    z[zdata::tw][4] = 35.0;
    z[zdata::ew][4] = 1.0;
    z[zdata::rwv][4] = 20.0;
    (*p)[zdata::tein][4][2] = 10.0;
    d3.tf[4][2] = 30.0;
    d3.twfflag[2] = u'N';
    d3.copww[4][2] = 4.75;
    d3.es[4][2] = 3.0;
    d3.er[4][2] = 3.0 * 4.75 / 3.75;
    d3.equer_verbrauch[4][2] = 2.0;
    const double estore_vorher = a.langzeitspeicher.inhalt.estore;
    auto b = bilanz();
    energiebilanz_intervall(b, summen);
    // House: source heat 2 * 6.25 / 7.25, electricity that / 6.25; store: the
    // rest of the collector heat lifted at COP 4.75.
    const double quelle_haus = 2.0 * 6.25 / 7.25, quelle_speicher = 3.0 - quelle_haus;
    const double strom = quelle_haus / 6.25 + quelle_speicher / 3.75;
    EXPECT_NEAR(d3.nh[4][2], strom, 1e-12);
    EXPECT_NEAR(a.langzeitspeicher.inhalt.estore - estore_vorher, quelle_speicher * 4.75 / 3.75, 1e-9);
    EXPECT_NEAR(d.eg[4], 2.0 + quelle_speicher * 4.75 / 3.75, 1e-9);
    EXPECT_NEAR(d3.er[4][2], d.eg[4], 1e-9);
    // Supply side: delivered = collector heat + the pump's electricity.
    EXPECT_NEAR(d.eg[4], d3.esa[4][2] + d3.ls[4][2] + d3.nh[4][2], 1e-9);
    EXPECT_NEAR(d.wp_waerme_ww[4] / d.wp_strom_ww[4], d.eg[4] / strom, 1e-9);
    EXPECT_TRUE(senke.fragen.empty());
}

TEST_F(Energiebilanz, KollektorenergieBegrenzenNurUnterBedingungen) {
    d3.er[4][2] = 4.0;
    d3.es[4][2] = 2.0;
    d3.espeicher[4][2] = 4.0;
    d3.twfflag[2] = u'N';
    auto b = bilanz();
    int neu_aufgeteilt = 0;
    b.wp_aufteilung_neu = [&](int, int, double f) {
        ++neu_aufgeteilt;
        EXPECT_DOUBLE_EQ(f, 0.25);
    };
    v[tdata::wp_leistung_min] = 1.0;  // control range
    kollektorenergie_begrenzen(b, 1.0);
    EXPECT_DOUBLE_EQ(d3.er[4][2], 1.0);
    EXPECT_DOUBLE_EQ(d3.es[4][2], 0.5);
    EXPECT_DOUBLE_EQ(d3.espeicher[4][2], 1.0);
    EXPECT_EQ(neu_aufgeteilt, 1);
    numchar[ndata::rechenart] = "A";  // analytic method: never capped
    kollektorenergie_begrenzen(b, 0.5);
    EXPECT_DOUBLE_EQ(d3.er[4][2], 1.0);
}

TEST(IntervallbilanzToleranz, VerhaeltnisZugangZuGeliefertAnDenGrenzen) {
    struct fall {
        double zugang, geliefert;
        bool ausgeglichen;
    };
    for (const fall f : {fall{101.0, 100.0, true}, fall{99.0, 100.0, true},
                         fall{101.01, 100.0, false}, fall{99.005, 100.0, true},
                         fall{98.9, 100.0, false}, fall{100.0, 0.0, true}, fall{0.0, 100.0, true}}) {
        EXPECT_EQ(intervallbilanz_ausgeglichen(f.zugang, f.geliefert), f.ausgeglichen)
            << f.zugang << " / " << f.geliefert;
    }
}
