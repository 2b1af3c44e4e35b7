#include <gtest/gtest.h>

#include "engine/WP_variables.h"
#include "support/aufzeichnende_senke.h"

using Zustand = mit_meldungen;

TEST_F(Zustand, ZustandExistiertEinmalJeProzess) {
    EXPECT_EQ(&tv(), &tv());
    EXPECT_EQ(&Tvg(), &Tvg());
    EXPECT_EQ(&zustand::anlage(3), &tv().anlagen[3]);
    EXPECT_EQ(&zustand::pvdatz3(2), &Tvg().pvdatz3[1]);
    EXPECT_EQ(&zustand::date_serie(6), &Tvg().date_records[6]);
    EXPECT_THROW(zustand::anlage(8), abbruch);
    EXPECT_THROW(zustand::pvdatz3(0), abbruch);
}

TEST_F(Zustand, IntervallanzahlUeber800WirdAbgewiesen) {
    setze_intervalle(2, 800);
    EXPECT_EQ(intervalle(2), 800);
    EXPECT_THROW(setze_intervalle(2, 801), abbruch);
    EXPECT_EQ(intervalle(2), 800);
    EXPECT_THROW(setze_intervalle(2, -1), abbruch);
    EXPECT_THROW(setze_intervalle(13, 10), abbruch);
    setze_intervalle(2, 0);
    EXPECT_EQ(intervalle(2), 0);
}

TEST_F(Zustand, LaufrecordsHabenNachInitialisierungGenauEineSchicht) {
    ::date lokal;
    auto verlaengere = [](anlage& a) {
        a.pufferspeicher.inhalt.schichten.push_back({2.0, 40.0});
        a.langzeitspeicher.inhalt.schichten.push_back({3.0, 50.0});
        a.langzeitspeicher.inhalt.schichten.push_back({4.0, 60.0});
    };
    for (int i = 0; i < ANZ_ANLAGEN; ++i) verlaengere(zustand::anlage(i));
    zustand::anlage(0).pufferspeicher.inhalt.first() = {7.0, 33.0};
    for (int m = 1; m <= 12; ++m) {
        verlaengere(zustand::datm_allgemein().arrayspeicher_mon[m]);
        verlaengere(zustand::datm_serie().arrayspeicher_mon[m]);
        verlaengere(lokal.arrayspeicher_mon[m]);
    }
    initialisiere_laufrecords(lokal);
    for (int i : {0, 1, 2, 3, 5, 6, 7}) {
        EXPECT_EQ(zustand::anlage(i).pufferspeicher.inhalt.schichten.size(), 1u) << i;
        EXPECT_EQ(zustand::anlage(i).langzeitspeicher.inhalt.schichten.size(), 1u) << i;
    }
    // The first layer belongs to the record and keeps its values.
    EXPECT_EQ(zustand::anlage(0).pufferspeicher.inhalt.first().masse, 7.0);
    // Plant 4 is not touched by a run.
    EXPECT_EQ(zustand::anlage(4).langzeitspeicher.inhalt.schichten.size(), 3u);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(zustand::datm_allgemein().arrayspeicher_mon[m].langzeitspeicher.inhalt.schichten.size(), 1u);
        EXPECT_EQ(zustand::datm_serie().arrayspeicher_mon[m].pufferspeicher.inhalt.schichten.size(), 1u);
        EXPECT_EQ(lokal.arrayspeicher_mon[m].langzeitspeicher.inhalt.schichten.size(), 1u);
    }
    zustand::anlage(4).langzeitspeicher.inhalt.kette_zuruecksetzen();
}

TEST_F(Zustand, IntervallergebnisseWerdenNurBisNmGeloescht) {
    ::date lokal;
    setze_intervalle(1, 3);
    setze_intervalle(2, 0);
    ::date3& d3 = zustand::date3();
    for (int s = 1; s <= 5; ++s) {
        d3.er[1][s] = 1.0;
        d3.v_luft[1][s] = 1.0;
        d3.el[1][s] = 1.0;  // not among the cleared quantities
        d3.vstore_flag[1][s] = u'Y';
        d3.er[2][s] = 2.0;
    }
    lokal.ek[5] = 9.0;
    lokal.flz[5] = 9.0;  // not among the cleared month quantities
    lokal.jkk = 4.0;
    zustand::date_serie(3).ereif_nacht[7] = 1.0;
    loesche_intervallergebnisse(lokal);
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(d3.er[1][s], 0.0);
        EXPECT_EQ(d3.v_luft[1][s], 0.0);
        EXPECT_EQ(d3.el[1][s], 1.0);
        EXPECT_EQ(d3.vstore_flag[1][s], u'N');
    }
    EXPECT_EQ(d3.er[1][4], 1.0);
    EXPECT_EQ(d3.vstore_flag[1][4], u'Y');
    EXPECT_EQ(d3.er[2][1], 2.0);  // month without intervals
    EXPECT_EQ(lokal.ek[5], 0.0);
    EXPECT_EQ(lokal.flz[5], 9.0);
    EXPECT_EQ(lokal.jkk, 0.0);
    EXPECT_EQ(zustand::date_serie(3).ereif_nacht[7], 0.0);
    setze_intervalle(1, 0);
}

TEST_F(Zustand, EnergiekonstanteUndWaermestrom) {
    zustand::numchar()[ndata::meldungsmodus] = "S";
    EXPECT_EQ(umrechnungskonstante("kWh_in_Ws"), 3600000.0);
    // 4190 J/(kg K) * 1000 kg/m3 * 10 K * 0.1 m3 -> 1.16389 kWh
    EXPECT_NEAR(waermestrom_in_energie(4190.0, 1000.0, 30.0, 20.0, 0.1), 1.163888889, 1e-9);
    EXPECT_THROW(umrechnungskonstante("kWh_in_J"), abbruch);
    EXPECT_EQ(protokollzeilen(), (std::vector<std::string>{"Fehler: Umrechnung nicht definiert"}));
}

TEST(Anlagencodes, DirektkopplungUndErzwungen) {
    struct fall {
        const char* code;
        bool direkt, erzwungen;
    };
    for (const fall& f : {fall{"DK", true, false}, fall{"DKF", true, true}, fall{"F", false, true},
                          fall{"K", false, false}, fall{"dk", false, false}, fall{"", false, false}}) {
        flagchar n;
        n[ndata::kopplungsart] = f.code;
        EXPECT_EQ(ist_direktkopplung(n), f.direkt) << f.code;
        EXPECT_EQ(ist_erzwungen(n), f.erzwungen) << f.code;
    }
}
