// Cost parameters gathered from the tables of the default database, and one
// yearly total of a result of the default database computed by hand.

#include <gtest/gtest.h>

#include "costs/kalkulation.h"
#include "costs/kostenparameter.h"
#include "input/lade_hilfen.h"

namespace {

using namespace kpar;
using tabledata::thaupt;

class Kostenparameter : public mit_default_datenbank {
protected:
    // Gathers the parameters of data set `name` (the tables only; nothing loaded).
    kostenvektor sammle(const std::string& name, kosten_anlagedaten& a) {
        tabelle& h = tab(thaupt);
        h.filter_aus();
        h.sortiere_nach_index("iname");
        if (!h.suche({feldwert(name)})) throw std::runtime_error("Datensatz fehlt: " + name);
        datt v{};
        v[tdata::eta_zelle] = 0.2;
        kostenvektor k{};
        lese_kostenparameter(v, k, a);
        return k;
    }
    static std::vector<feldwert> schluessel(const std::string& name) {
        return {feldwert(name), feldwert(std::string("D")), feldwert(std::string("Niedersachsen")),
                feldwert(std::string("Braunschweig")), feldwert(std::string("1"))};
    }
};

TEST_F(Kostenparameter, AusDenTabellenDesDatensatzes) {
    kosten_anlagedaten a;
    const kostenvektor k = sammle("test_ZJEG_IAAN-N_st0", a);
    // Tariffs of price set "pwp": gas for nh, heat-pump tariff for ok, household tariff.
    EXPECT_NEAR(k[preis_nh], 0.12, 1e-12);
    EXPECT_NEAR(k[preis_ok], 0.3, 1e-12);
    EXPECT_NEAR(k[preis_strom], 0.4, 1e-12);
    EXPECT_NEAR(k[eta_zelle], 0.2, 1e-12);
    // Exchanger 400 + stores 6000 (intermediate) + 1500 (buffer) + 0 (long-term).
    EXPECT_NEAR(k[teile_thermisch], 7900.0, 1e-9);
    EXPECT_NEAR(k[netto_teile_thermisch], 7900.0, 1e-9);
    // Main heat pump "wp0"/"we" and intermediate heat pump "wp0"/"ww": 9000 EUR, 1821 W.
    EXPECT_NEAR(k[preis_heizung], 9000.0, 1e-9);
    EXPECT_NEAR(k[leistung_heizung], 1821.0, 1e-9);
    EXPECT_NEAR(k[preis_pro_leistung_heizung], 9000.0 / 1821.0, 1e-12);
    EXPECT_NEAR(k[preis_zwp], 9000.0, 1e-9);
    EXPECT_NEAR(k[leistung_zwp], 1821.0, 1e-9);
    // 3 % over 20 years: the interest comes in as a fraction.
    EXPECT_NEAR(k[zinssatz], 0.03, 1e-12);
    EXPECT_NEAR(k[laufzeit], 20.0, 1e-12);
    EXPECT_NEAR(k[preis_kol_oben], 300.0, 1e-9);  // 300 EUR per qm
    EXPECT_NEAR(k[preis_kol_unten], 300.0, 1e-9);
    EXPECT_NEAR(k[dachflaeche], 80.0, 1e-9);
    // Maintenance list "uliste0": heat pump 150 (H), solar 80 (T), both fixed.
    EXPECT_NEAR(k[unterhalt_heizung], 150.0, 1e-9);
    EXPECT_NEAR(k[unterhalt_thermisch], 80.0, 1e-9);
    EXPECT_NEAR(k[unterhalt_thermisch_flaeche], 0.0, 1e-12);
    EXPECT_NEAR(k[eta_kraftwerk], 0.5556, 1e-12);
    // Cell module "z0" has no area: no price per area instead of a division by 0.
    EXPECT_EQ(k[zellpreis], 0.0);
    // One collector ("AnzahlKol" E): the lower collector does not count.
    EXPECT_EQ(a.vdatt[tdata::flaeche_kol_unten], 0.0);
    EXPECT_NEAR(a.vdatt[tdata::flaeche_kol_oben], 2.0, 1e-12);
    EXPECT_EQ(a.kopplungstyp, "Z");
    EXPECT_EQ(a.leistung_wp, "A");
}

TEST_F(Kostenparameter, HeizanlageUndZwischenwaermepumpeNachAnlagentyp) {
    {
        // Gas heating without coupling: the boiler is the heating plant.
        feld_zeitweise gas(tabledata::tan, {feldwert(std::string("ZJEG"))}, "Ohne Kopplung",
                           feldwert(std::string("G")));
        kosten_anlagedaten a;
        const kostenvektor k = sammle("test_ZJEG_IAAN-N_st0", a);
        EXPECT_NEAR(k[preis_heizung], 6000.0, 1e-9);
        EXPECT_NEAR(k[leistung_heizung], 15000.0, 1e-9);
        EXPECT_NEAR(k[preis_pro_leistung_heizung], 0.4, 1e-12);
    }
    // End-reservoir coupling has no intermediate heat pump.
    kosten_anlagedaten a;
    const kostenvektor k = sammle("test_EJEG_IAAN-N_st0", a);
    EXPECT_EQ(k[preis_zwp], 0.0);
    EXPECT_EQ(k[leistung_zwp], 0.0);
    EXPECT_EQ(k[preis_pro_leistung_zwp], 0.0);
}

TEST_F(Kostenparameter, ZubehoerUndUnterhaltNachGruppeUndSkalierung) {
    // The accessory lists assigned under the name "Braunschweig EFH" (list
    // "ek_e_i": station 450 T fixed, expansion vessel 90 T fixed, mounting 40 T
    // per area, ground loop 25 H per area), named through haupt.zubehoer.
    feld_zeitweise zubehoer(thaupt, schluessel("test_ZJEG_IAAN-N_st0"), "zubehoer",
                            feldwert(std::string("Braunschweig EFH")));
    feld_zeitweise skaliert(tabledata::tunter, {feldwert(std::string("wartung_solar"))}, "skalieren",
                            feldwert(std::string("J")));
    kosten_anlagedaten a;
    const kostenvektor k = sammle("test_ZJEG_IAAN-N_st0", a);
    EXPECT_NEAR(summe_zubehoer("T", "N"), 540.0, 1e-9);
    EXPECT_NEAR(summe_zubehoer("T", "J"), 40.0, 1e-9);
    EXPECT_NEAR(summe_zubehoer("H", "J"), 25.0, 1e-9);
    EXPECT_EQ(summe_zubehoer("H", "N"), 0.0);
    EXPECT_EQ(summe_zubehoer("P", "N"), 0.0);
    EXPECT_NEAR(k[teile_thermisch], 7900.0 + 540.0, 1e-9);
    EXPECT_NEAR(k[teile_pro_kollektor], 40.0, 1e-9);
    // The solar maintenance now counts per area (80 EUR per qm), not as a fixed sum.
    EXPECT_NEAR(k[unterhalt_thermisch_flaeche], 80.0, 1e-9);
    EXPECT_EQ(k[unterhalt_thermisch], 0.0);
}

TEST_F(Kostenparameter, JahreskostenEinesDefaultResultatsVonHandGerechnet) {
    // Result of "test_ZJEG_IAAN-N_st0" (intermediate-reservoir coupling, one
    // collector of 2 qm per unit), first section: collector area 2 qm.
    ASSERT_TRUE(lade("test_ZJEG_IAAN-N_st0"));
    kalkulationsdaten k;
    resultat_herkunft h;
    h.haupteingabefile = "test_ZJEG_IAAN-N_st0";
    ASSERT_TRUE(resultat_einlesen(k, VARNEK_TEST_FIXTURES "/costs/test_ausgabe_ZJEG_IAAN-N_st0.sim", h));
    const kosten_datenindex& d = k.index[0];
    ASSERT_EQ(d.anzahl_flaechen, 5);
    EXPECT_NEAR(d.strom_ohne_heizung, 3500.1, 1e-9);  // ee1.gesamt
    EXPECT_NEAR(d.aszf, 26.5819, 1e-4);               // cells for all electricity at 2 qm
    const kostenpunkt p = berechne_kosten(k, 1)[0];

    // Investment:
    //   heating plant: January power lok = 1997.1785 W at 9000 EUR / 1821 W
    //     = 1997.1785 * 4.9423394 = 9870.734
    //   intermediate heat pump: lnh = 0 W                                  0
    //   thermal parts: exchanger 400 + stores 6000 + 1500 + 0           7900
    //   collectors: 2 qm / 2 qm = 1 unit of 2 qm at 300 EUR/qm           600
    //   K = 9870.734 + 7900 + 600                                  = 18370.734
    EXPECT_NEAR(p.investition, 18370.734, 0.001);
    // Annuity: q = 1.03^20 = 1.8061112; a = 0.03 * K * q / (q - 1)
    //   = 18370.734 * 0.0672157 = 1234.802
    EXPECT_NEAR(p.annuitaet, 1234.802, 0.001);
    // Energy bills:
    //   ok over the months: 495.3003 + 425.4340 + 372.9877 + 225.6097
    //     + 129.9239 + 30.2908 + 30.5993 + 29.5181 + 102.1789 + 214.7098
    //     + 330.6558 + 448.9033 = 2836.1116 kWh at 0.3 EUR/kWh  = 850.8335
    //   nh: 0 kWh                                                 0
    //   pumps: 0.3651 + 1.3634 + 5.3520 + 10.6530 + 8.9098 + 2.1183
    //     + 0.2873 = 29.0490 kWh at 0.4 EUR/kWh                  = 11.6196
    //   household: 3500.1 kWh at 0.4 EUR/kWh                      = 1400.04
    //   sum                                                       = 2262.4931
    EXPECT_NEAR(p.energiekosten, 2262.4931, 0.001);
    // No solar cells; maintenance of the heating plant 150 EUR.
    EXPECT_EQ(p.solarertrag, 0.0);
    EXPECT_NEAR(p.unterhalt, 150.0, 1e-9);
    // Yearly costs: 1234.802 + 2262.493 + 150 = 3647.295 EUR.
    EXPECT_NEAR(p.jahreskosten, 3647.295, 0.001);
}

}  // namespace
