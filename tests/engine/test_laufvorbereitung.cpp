#include <gtest/gtest.h>

#include "engine/laufvorbereitung.h"
#include "support/aufzeichnende_senke.h"

class Laufvorbereitung : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        numchar.fill("");
        zustand::numchar().fill("");
        zustand::numchar()[ndata::meldungsmodus] = "S";
        for (int m = 1; m <= 12; ++m) {
            setze_intervalle(m, 0);
            zustand::lade_flag()[m] = "N";
            zustand::entnehme_flag()[m] = "N";
        }
        z = datz{};
        a0 = anlage{};
    }
    void TearDown() override {
        for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
        mit_meldungen::TearDown();
    }
    flagchar numchar;
    datz z{};
    anlage a0;
};

TEST_F(Laufvorbereitung, EintrittstemperaturNachKopplung) {
    setze_intervalle(3, 2);
    datz3& p = zustand::pvdatz3(1);
    p[zdata::ta][3][1] = -2.0;
    p[zdata::ta][3][2] = 4.0;
    z[zdata::tk][3] = 9.0;
    numchar[ndata::kopplungstyp] = "Z";
    eintrittstemperaturen_fuellen(numchar, z, p);
    EXPECT_EQ(p[zdata::tein][3][2], 4.0);
    numchar[ndata::kopplungstyp] = "E";
    eintrittstemperaturen_fuellen(numchar, z, p);
    EXPECT_EQ(p[zdata::tein][3][1], 9.0);
    EXPECT_EQ(p[zdata::tein][3][2], 9.0);
}

TEST_F(Laufvorbereitung, MonatsbedarfMitHeizungMischtTemperaturen) {
    using namespace zdata;
    numchar[ndata::heizung] = "J";
    numchar[ndata::kaltwassertemp] = "W";
    z[ew][1] = 100.0;
    z[eh][1] = 300.0;
    z[tw][1] = 60.0;
    z[th][1] = 40.0;
    z[rw][1] = 10.0;
    z[rh][1] = 30.0;
    z[te][1] = 8.0;
    z[th][2] = 45.0;  // month 2 without demand
    z[rh][2] = 35.0;
    z[rw][3] = 50.0;  // month 3: return above flow -> warning
    z[tw][3] = 40.0;
    numchar[ndata::heizung] = "J";
    monatsvorbereitung(numchar, z, a0, 0.0);
    EXPECT_DOUBLE_EQ(z[ewv][1], 400.0);
    EXPECT_DOUBLE_EQ(z[twv][1], 45.0);
    EXPECT_DOUBLE_EQ(z[rwv][1], 25.0);
    EXPECT_DOUBLE_EQ(z[tk][1], 25.0);  // cold water = return temperature
    EXPECT_DOUBLE_EQ(z[twv][2], 45.0);
    EXPECT_DOUBLE_EQ(z[rwv][2], 35.0);
    EXPECT_DOUBLE_EQ(z[ewv_verbrauch_0][1], 400.0);
    EXPECT_DOUBLE_EQ(z[ewv_0][1], 400.0);
    // Month 3 has no demand: flow and return come from the heating temperatures,
    // both 0, so no warning; the warning appears for hot water only.
    numchar[ndata::heizung] = "N";
    monatsvorbereitung(numchar, z, a0, 0.0);
    EXPECT_DOUBLE_EQ(z[tk][1], 8.0);
    EXPECT_EQ(protokollzeilen(),
              std::vector<std::string>{"Warnung: Vorlauftemperatur <= Rücklauftemperatur."});
}

TEST_F(Laufvorbereitung, LangzeitspeicherVerschiebtEntnahmeInLademonate) {
    using namespace zdata;
    numchar[ndata::heizung] = "N";
    numchar[ndata::kopplungstyp] = "E";
    for (int m = 1; m <= 12; ++m) {
        z[ew][m] = 100.0;
        z[tw][m] = 50.0;
        z[rw][m] = 20.0;
    }
    zustand::entnehme_flag()[1] = "Y";
    zustand::entnehme_flag()[2] = "Y";
    zustand::lade_flag()[7] = "Y";
    zustand::lade_flag()[8] = "Y";
    speicher& lang = a0.langzeitspeicher;
    lang.spwspei.wert = 4190.0;
    lang.rospei.wert = 1000.0;
    lang.spmax.wert = 10.0;  // 10 m3 over 30 K: 349.17 kWh
    monatsvorbereitung(numchar, z, a0, 4.0);
    EXPECT_DOUBLE_EQ(z[ewv][7], 200.0);  // W = 200 < capacity, split over 2 months
    EXPECT_DOUBLE_EQ(z[twv][7], 50.0);
    EXPECT_DOUBLE_EQ(z[ewv_verbrauch][7], 100.0);
    EXPECT_DOUBLE_EQ(z[ewv][1], 100.0);

    lang.spmax.wert = 1.0;  // 34.9 kWh caps the shifted energy
    monatsvorbereitung(numchar, z, a0, 4.0);
    EXPECT_NEAR(z[ewv][8], 100.0 + 4190.0 * 1000.0 * 30.0 / 3.6e6 / 2.0, 1e-9);

    // Area 0: no month counts, nothing is shifted.
    monatsvorbereitung(numchar, z, a0, 0.0);
    EXPECT_DOUBLE_EQ(z[ewv][8], 100.0);

    // No withdrawal month: charge months get the upper temperature only.
    zustand::entnehme_flag()[1] = "N";
    zustand::entnehme_flag()[2] = "N";
    numchar[ndata::kopplungstyp] = "Z";
    lang.tmax.wert = 80.0;
    monatsvorbereitung(numchar, z, a0, 4.0);
    EXPECT_DOUBLE_EQ(z[ewv][7], 100.0);
    EXPECT_DOUBLE_EQ(z[twv][7], 80.0);
}

TEST_F(Laufvorbereitung, IntervallbedarfJeVerteilart) {
    using namespace zdata;
    setze_intervalle(1, 3);
    setze_intervalle(2, 2);
    datz3& p = zustand::pvdatz3(1);
    ::date3& d3 = zustand::date3();
    const double stunden[] = {0, 10, 4, 10};
    const double einstrahlung[] = {0, 0, 100, 200};
    for (int s = 1; s <= 3; ++s) {
        p[ho][1][s] = stunden[s];
        p[is0][1][s] = einstrahlung[s];
        p[eg_d][1][s] = 7.0 * s;
    }
    z[ho][1] = 24.0;
    z[hogn][1] = 14.0;
    z[ewv_verbrauch][1] = 48.0;
    z[ewv_verbrauch][2] = 10.0;  // month 2: no hours at all

    numchar[ndata::strahlung] = "D";
    intervallbedarf(numchar, z, p, d3);
    EXPECT_EQ(d3.equer_verbrauch[1][3], 21.0);

    numchar[ndata::strahlung] = "M";
    numchar[ndata::luftwaermetauscher] = "L";
    intervallbedarf(numchar, z, p, d3);
    EXPECT_DOUBLE_EQ(d3.equer_verbrauch[1][1], 20.0);
    EXPECT_DOUBLE_EQ(d3.equer_verbrauch[1][2], 8.0);

    numchar[ndata::luftwaermetauscher] = "N";
    intervallbedarf(numchar, z, p, d3);
    EXPECT_DOUBLE_EQ(d3.equer_verbrauch[1][1], 0.0);
    EXPECT_DOUBLE_EQ(d3.equer_verbrauch[1][2], 48.0 * 4.0 / 14.0);
    EXPECT_DOUBLE_EQ(d3.equer_verbrauch[1][3], 48.0 * 10.0 / 14.0);
    EXPECT_EQ(d3.equer_verbrauch[2][1], 0.0);
    ASSERT_EQ(protokollzeilen().size(), 2u);  // month 2 reported in both spreading modes
}

TEST_F(Laufvorbereitung, JahresauswertungAmHandgerechnetenBeispiel) {
    using namespace adata;
    ::datm d;
    datz3& p2 = zustand::pvdatz3(2);
    speicher puffer;
    puffer.rospei.wert = 1000.0;
    puffer.spwspei.wert = 4000.0;
    datt v{};
    v[tdata::eta_zelle] = 10.0;  // collector area
    v[tdata::ee_gesamt] = 5.0;
    v[tdata::bodenabsorption] = 2.0;
    v[tdata::wetter_theta] = 0.0;
    setze_intervalle(1, 1);
    p2[zdata::ir][1][1] = 50.0;
    numchar[ndata::ohne_kopplung] = "E";
    for (int m = 1; m <= 12; ++m) {
        z[zdata::ir][m] = 100.0;   // G = 1200
        z[zdata::ew][m] = 100.0;
        z[zdata::eh][m] = m == 1 ? 100.0 : 0.0;
        z[zdata::tw][m] = 50.0;
        z[zdata::tk][m] = 10.0;
        d.feld[flz][m] = 60.0;     // sum 720
        d.feld[jek][m] = 50.0;
        d.feld[eg][m] = 100.0;
        d.feld[er][m] = 40.0;
        d.feld[copww][m] = 3.0;
        d.feld[copwe][m] = 2.0;
        d.feld[ok][m] = 10.0;
        d.feld[eta][m] = 0.5;
        d.ir[m] = 100.0;
        // The ww pump gives 30 kWh for 10 kWh of electricity in the first
        // half year and 40 for 10 in the second; the we pump never runs.
        d.wp_waerme_ww[m] = m <= 6 ? 30.0 : 40.0;
        d.wp_strom_ww[m] = 10.0;
    }
    jahresauswertung(d, p2, puffer, z, v, numchar);
    EXPECT_DOUBLE_EQ(d.feld[flz][1], 720.0 / (10.0 * 1200.0));
    EXPECT_DOUBLE_EQ(d.feld[flz_ee][1], 725.0 / 12000.0);
    EXPECT_DOUBLE_EQ(d.feld[flz_ges_heiz][1], (120.0 + 5.0) / 12000.0);
    EXPECT_DOUBLE_EQ(d.feld[bf][1], 12 * 10.0 / (2.0 * 50.0));
    EXPECT_DOUBLE_EQ(d.feld[etawicht][1], 0.5);
    EXPECT_DOUBLE_EQ(d.feld[degra_m][1], 0.75);
    EXPECT_DOUBLE_EQ(d.feld[degra_m][2], 0.5);
    EXPECT_DOUBLE_EQ(d.feld[degra_ww_m][1], 1.0);  // 200 * 0.75 / 100 capped
    EXPECT_DOUBLE_EQ(d.feld[degra_j][12], (0.75 + 11 * 0.5) / 12.0);
    EXPECT_DOUBLE_EQ(d.feld[degra_ww_j][3], (1.0 + 11 * 0.5) / 12.0);
    // Seasonal factors: each pump's heat over its electricity over the year
    // (not the monthly COPs 3 and 2 weighted with collector heat), 0 for a
    // pump that did not run.
    EXPECT_DOUBLE_EQ(d.feld[jaz_ww][1], 420.0 / 120.0);
    EXPECT_EQ(d.feld[jaz_we][1], 0.0);
    EXPECT_DOUBLE_EQ(d.feld[jok][1], 0.1);
    // er < ew: V = 3.6e6 * 40 / (40 K * 1000 * 4000) = 0.9 m3 in the month
    EXPECT_DOUBLE_EQ(d.feld[speiv_edt][4], 0.9 / 30.0);
    EXPECT_TRUE(senke.dialoge.empty());

    d.wp_waerme_we[2] = 200.0;
    d.wp_strom_we[2] = 50.0;
    jahresauswertung(d, p2, puffer, z, v, numchar);
    EXPECT_DOUBLE_EQ(d.feld[jaz_we][1], 4.0);

    v[tdata::eta_zelle] = 0.0;
    v[tdata::wetter_theta] = 1.0;
    jahresauswertung(d, p2, puffer, z, v, numchar);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Fehler: Division durch null");
    EXPECT_EQ(d.feld[bf][1], 0.0);
    EXPECT_EQ(protokollzeilen().size(), 1u);
}

// A month that charges the long-term store buys the heat for later months
// too: its coverage counts that heat with the house's demand and stays a
// share. A month whose electricity exceeds its heat covers nothing.
TEST_F(Laufvorbereitung, DeckungsgradMitLangzeitspeicherBleibtEinAnteil) {
    using namespace adata;
    ::datm d;
    speicher puffer;
    puffer.rospei.wert = 1000.0;
    puffer.spwspei.wert = 4000.0;
    datt v{};
    v[tdata::eta_zelle] = 10.0;
    for (int m = 1; m <= 12; ++m) {
        z[zdata::ir][m] = 100.0;
        z[zdata::ew][m] = 100.0;
        z[zdata::ewv_0][m] = z[zdata::ewv_verbrauch_0][m] = 100.0;
        d.feld[jek][m] = 25.0;
        d.feld[eg][m] = 100.0;
        d.ir[m] = 100.0;
    }
    z[zdata::ewv_0][6] = 300.0;  // June charges 200 kWh into the store
    d.feld[jek][6] = 150.0;
    d.feld[jek][7] = 120.0;      // July: more electricity than heat
    jahresauswertung(d, zustand::pvdatz3(2), puffer, z, v, numchar);
    EXPECT_DOUBLE_EQ(d.feld[degra_m][1], 0.75);
    EXPECT_DOUBLE_EQ(d.feld[degra_m][6], 0.5);
    EXPECT_DOUBLE_EQ(d.feld[degra_m][7], 0.0);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_GE(d.feld[degra_m][m], 0.0) << m;
        EXPECT_LE(d.feld[degra_m][m], 1.0) << m;
    }
}

TEST_F(Laufvorbereitung, ErgebnisseInAusgabeeinheiten) {
    ::datm d;
    setze_intervalle(2, 2);
    d.programm_einheit.fill("kWh");
    d.ausgabe_einheit.fill("kWh");
    d.ausgabe_einheit[adata::ztk] = "F";
    d.programm_einheit[adata::ztk] = "°C";
    d.ausgabe_einheit[adata::jek] = "MWh";
    d.feld[adata::ztk][2] = 100.0;
    d.feld[adata::jek][2] = 2500.0;
    d.feld[adata::er][2] = 3.0;
    d.feld3[16][2][2] = 20.0;
    d.programm_einheit_3[16] = "°C";
    d.ausgabe_einheit_3[16] = "F";
    int aufrufe = 0;
    einheiten_umrechner umrechner = [&](const std::string& von, const std::string& nach,
                                        const std::string&) {
        ++aufrufe;
        if (von == "°C" && nach == "F") return umrechnen_struct{1.8, 32.0, nach};
        if (von == "kWh" && nach == "MWh") return umrechnen_struct{0.001, 0.0, nach};
        return umrechnen_struct{1.0, 0.0, nach};
    };
    ergebnisse_umrechnen(d, umrechner);
    EXPECT_DOUBLE_EQ(d.feld[adata::ztk][2], 212.0);
    EXPECT_DOUBLE_EQ(d.feld[adata::jek][2], 2.5);
    EXPECT_DOUBLE_EQ(d.feld[adata::er][2], 3.0);
    EXPECT_DOUBLE_EQ(d.feld3[16][2][2], 68.0);
    EXPECT_EQ(aufrufe, ANZ_ADATA + ANZ_FELD3);
    EXPECT_EQ(d.umrechnen[adata::ztk].bekannt, "Y");
}
