#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "engine/models/modell_hilfen.h"
#include "engine/models/speicher.h"

namespace {

// Records every booking handed to the energy balance.
struct buchungs_rekorder : energiebilanz_buchungen {
    struct zusatz {
        int m, s;
        char modus;
        double waerme, endenergie;
    };
    std::vector<std::tuple<int, int, double>> deckung;
    std::vector<zusatz> zusaetze;
    void kollektor_deckung_buchen(int m, int s, double C) override { deckung.emplace_back(m, s, C); }
    void zusatzheizung_buchen(int m, int s, char modus, double w, double e) override {
        zusaetze.push_back({m, s, modus, w, e});
    }
};

using schichten = std::vector<std::pair<double, double>>;  // (temperature, volume)

// spwspei * rospei = 3.6e6, so a layer of V m³ over ΔT K holds V ΔT kWh.
speicher speicher_mit(const schichten& s) {
    speicher sp;
    sp.spwspei.wert = 3600.0;
    sp.rospei.wert = 1000.0;
    sp.spmax.wert = 0.0;
    sp.inhalt.schichten.clear();
    for (auto [t, v] : s) {
        sp.inhalt.schichten.push_back(schicht{v, t});
        sp.spmax.wert += v;
    }
    return sp;
}

schichten inhalt(const speicher& sp) {
    schichten r;
    for (const schicht& sc : sp.inhalt.schichten) r.emplace_back(sc.temperatur, sc.masse);
    return r;
}

class SpeicherTest : public ::testing::Test {
protected:
    senke_installiert s;
    modell_zustand z;
    buchungs_rekorder b;
    SpeicherTest() { z.numchar[ndata::kopplungstyp] = "E"; }

    double laden(speicher& sp, double e, double t, double& ueber) {
        return lade_speicher(sp, e, t, ueber, 2, 3, z.numchar, b);
    }
    speicher_entnahme entladen(speicher& sp, double e, double tb, double tm, char weg, char best = 'N') {
        return entlade_speicher(sp, e, tb, tm, weg, best, 2, 3, z.numchar, *z.vdatt, *z.vdatz, *z.d, *z.d3, b,
                                zustand::stoffdaten().kaeltemittel_record);
    }
};

}  // namespace

TEST_F(SpeicherTest, LadenAlleSchichtenWaermerSpeichertNichts) {
    speicher sp = speicher_mit({{70, 1}, {60, 1}});
    double ueber = 0;
    EXPECT_EQ(laden(sp, 15.0, 60.0, ueber), 0.0);
    EXPECT_EQ(ueber, 15.0);
    EXPECT_EQ(inhalt(sp), (schichten{{70, 1}, {60, 1}}));
    EXPECT_EQ(sp.inhalt.estore, 0.0);
}

TEST_F(SpeicherTest, LadenTeiltSchichtOderNimmtSieGanz) {
    // Half the need of 1 m³ at 20 °C up to 60 °C.
    speicher sp = speicher_mit({{20, 1}});
    double ueber = -1;
    EXPECT_DOUBLE_EQ(laden(sp, 20.0, 60.0, ueber), 20.0);
    EXPECT_EQ(ueber, 0.0);
    EXPECT_EQ(inhalt(sp), (schichten{{60, 0.5}, {20, 0.5}}));
    EXPECT_DOUBLE_EQ(sp.inhalt.estore, 20.0);

    // Exactly the need: the split branch with q = 1 leaves an empty layer
    // behind until the next sort.
    sp = speicher_mit({{20, 1}});
    laden(sp, 40.0, 60.0, ueber);
    EXPECT_EQ(inhalt(sp), (schichten{{60, 1}, {20, 0}}));
    sortiere_schichten(sp.inhalt);
    EXPECT_EQ(inhalt(sp), (schichten{{60, 1}}));

    // More than the store takes: every colder layer heated, the rest overflows.
    sp = speicher_mit({{30, 1}, {20, 2}});
    EXPECT_DOUBLE_EQ(laden(sp, 100.0, 50.0, ueber), 20.0 + 60.0);
    EXPECT_DOUBLE_EQ(ueber, 20.0);
}

TEST_F(SpeicherTest, LadenAufTemperaturDerSchichtDarueberVereinigt) {
    speicher sp = speicher_mit({{80, 1}, {60, 1}, {20, 1}, {10, 2}});
    double ueber = 0;
    laden(sp, 40.0 + 50.0, 60.0, ueber);  // 20 °C layer whole, then 1 m³ of the 10 °C layer
    EXPECT_EQ(inhalt(sp), (schichten{{80, 1}, {60, 3}, {10, 1}}));
    EXPECT_DOUBLE_EQ(sp.inhalt.estore, 90.0);
}

TEST_F(SpeicherTest, LadenBuchtBeiZwischenkopplungUeberWwPumpe) {
    speicher sp = speicher_mit({{20, 1}});
    double ueber = 0;
    laden(sp, 10.0, 60.0, ueber);
    EXPECT_TRUE(b.deckung.empty());  // end-reservoir coupling: the caller books
    z.numchar[ndata::kopplungstyp] = "Z";
    laden(sp, 10.0, 60.0, ueber);
    ASSERT_EQ(b.deckung.size(), 1u);
    EXPECT_EQ(b.deckung[0], std::make_tuple(2, 3, 10.0));
}

TEST_F(SpeicherTest, DirektentnahmeTeiltInSpeicherUndZusatzwaerme) {
    z.d->copwe[2] = 3.0;
    // Layer at 40 °C between floor 30 °C and delivery 55 °C, whole layer.
    speicher sp = speicher_mit({{40, 1}});
    sp.inhalt.estore = 10.0;
    speicher_entnahme e = entladen(sp, 100.0, 30.0, 55.0, 'D');
    EXPECT_DOUBLE_EQ(e.aus_speicher, 10.0);  // f(V, 40, 30)
    EXPECT_DOUBLE_EQ(e.zusatz, 15.0);        // f(V, 55, 40)
    EXPECT_DOUBLE_EQ(e.rest, 75.0);
    EXPECT_EQ(inhalt(sp), (schichten{{30, 1}}));
    EXPECT_DOUBLE_EQ(sp.inhalt.estore, 0.0);
    ASSERT_EQ(b.zusaetze.size(), 1u);
    EXPECT_EQ(b.zusaetze[0].modus, 'N');
    EXPECT_DOUBLE_EQ(b.zusaetze[0].waerme, 15.0);
    EXPECT_DOUBLE_EQ(b.zusaetze[0].endenergie, 5.0);  // lifted by the we pump

    // Part of the same layer: 5 of 25 kWh -> 0.2 m³ used.
    sp = speicher_mit({{40, 1}});
    e = entladen(sp, 5.0, 30.0, 55.0, 'D');
    EXPECT_DOUBLE_EQ(e.aus_speicher, 2.0);
    EXPECT_DOUBLE_EQ(e.zusatz, 3.0);
    EXPECT_NEAR(e.rest, 0.0, 1e-12);
    EXPECT_EQ(inhalt(sp), (schichten{{40, 0.8}, {30, 0.2}}));

    // A hot layer delivers from the store alone; layers at the floor are skipped.
    sp = speicher_mit({{70, 2}, {30, 1}});
    e = entladen(sp, 20.0, 30.0, 55.0, 'D');
    EXPECT_DOUBLE_EQ(e.aus_speicher, 20.0);
    EXPECT_EQ(e.zusatz, 0.0);
    EXPECT_EQ(inhalt(sp), (schichten{{70, 1.5}, {30, 1.5}}));
}

TEST_F(SpeicherTest, NurBewertenLaesstSchichtenUnveraendert) {
    z.d->copwe[2] = 2.0;
    speicher sp = speicher_mit({{60, 1}, {40, 1}});
    sp.inhalt.estore = 50.0;
    const speicher_entnahme e = entladen(sp, 100.0, 30.0, 55.0, 'D', 'J');
    EXPECT_DOUBLE_EQ(e.aus_speicher, 30.0 + 10.0);
    EXPECT_DOUBLE_EQ(e.zusatz, 15.0);
    EXPECT_EQ(inhalt(sp), (schichten{{60, 1}, {40, 1}}));
    EXPECT_EQ(sp.inhalt.estore, 50.0);
    ASSERT_EQ(b.zusaetze.size(), 1u);
    EXPECT_EQ(b.zusaetze[0].modus, 'J');  // virtual booking
}

TEST_F(SpeicherTest, EntnahmeUeberWwPumpe) {
    z.numchar[ndata::modelltyp_ww] = "L";
    (*z.vdatt)[tdata::ww_c2] = 4.0;  // COP 4 at any lift
    speicher sp = speicher_mit({{50, 1}});
    sp.tmin.wert = 10.0;
    speicher_entnahme e = entladen(sp, 100.0, 20.0, 55.0, 'W');
    // Source heat 40 kWh down to tmin; with COP 4 it yields 40 / 0.75.
    EXPECT_NEAR(e.aus_speicher, 40.0, 1e-12);
    EXPECT_NEAR(e.zusatz, 40.0 / 3.0, 1e-12);
    EXPECT_EQ(inhalt(sp), (schichten{{20, 1}}));
    ASSERT_EQ(b.zusaetze.size(), 1u);
    EXPECT_DOUBLE_EQ(b.zusaetze[0].endenergie, b.zusaetze[0].waerme);  // already electricity

    sp = speicher_mit({{50, 1}});
    sp.tmin.wert = 10.0;
    e = entladen(sp, 20.0, 20.0, 55.0, 'W');
    EXPECT_DOUBLE_EQ(e.aus_speicher, 15.0);
    EXPECT_DOUBLE_EQ(e.zusatz, 5.0);
    EXPECT_DOUBLE_EQ(sp.inhalt.first().temperatur, 20.0 + (40.0 - 15.0));

    // A pump without lift (polynomial COP 0.5): the need is met by its
    // electricity alone and the layers stay as they are.
    z.numchar[ndata::modelltyp_ww] = "4";
    (*z.vdatt)[tdata::ww_c1] = 0.5;
    (*z.vdatt)[tdata::ww_c2] = 0.0;
    sp = speicher_mit({{50, 1}});
    sp.tmin.wert = 10.0;
    e = entladen(sp, 20.0, 20.0, 55.0, 'W');
    EXPECT_EQ(e.aus_speicher, 0.0);
    EXPECT_EQ(e.zusatz, 20.0);
    EXPECT_EQ(e.rest, 0.0);
    EXPECT_EQ(inhalt(sp), (schichten{{50, 1}}));
}

TEST_F(SpeicherTest, UnbekannteEntnahmeartBrichtAb) {
    speicher sp = speicher_mit({{50, 1}});
    EXPECT_THROW(entladen(sp, 20.0, 20.0, 55.0, 'X'), abbruch);
    EXPECT_EQ(inhalt(sp), (schichten{{50, 1}}));
}

TEST_F(SpeicherTest, VerlusteNurInDenErstenZehnSchichten) {
    (*z.vdatz)[zdata::rwv][2] = 20.0;
    speicher sp = speicher_mit({});
    for (int i = 0; i < 12; ++i) sp.inhalt.schichten.push_back(schicht{0.1, 80.0 - i});
    sp.radius.wert = 0.5;
    sp.vspei.wert = 1.0;
    anlage pl;
    pl.pufferspeicher = sp;
    pl.langzeitspeicher = speicher_mit({{20, 1}});
    speicher_verluste(pl, 2, 3, 10.0, *z.vdatz, *z.d3);
    // The top ten layers cool (the lid most), the two below keep 70 and 69 °C;
    // afterwards the chain is in order again.
    const schichten nachher = inhalt(pl.pufferspeicher);
    ASSERT_EQ(nachher.size(), 12u);
    double summe = 0;
    int unveraendert = 0;
    for (int i = 0; i < 12; ++i) {
        if (i > 0) {
            EXPECT_LT(nachher[static_cast<size_t>(i)].first, nachher[static_cast<size_t>(i - 1)].first) << i;
        }
        summe += (80.0 - i - nachher[static_cast<size_t>(i)].first) * 0.1;  // kWh with this capacity
        const double t = nachher[static_cast<size_t>(i)].first;
        if (t == 70.0 || t == 69.0) ++unveraendert;
    }
    EXPECT_EQ(unveraendert, 2);
    EXPECT_LT(nachher[0].first, 80.0);
    EXPECT_NEAR(pl.pufferspeicher.inhalt.eminus, summe, 1e-9);
    EXPECT_NEAR(pl.pufferspeicher.inhalt.estore, -summe, 1e-9);
    EXPECT_NEAR(z.d3->speiver_puffer[2][3], summe, 1e-9);
    EXPECT_EQ(z.d3->speiver_lang[2][3], 0.0);  // at ambient: no loss
}

TEST_F(SpeicherTest, VerlustflaecheUndUntergrenzeUmgebung) {
    (*z.vdatz)[zdata::rwv][2] = 20.0;
    const double kreis = std::numbers::pi * 0.25;
    anlage pl;
    // One layer: sides 2V/r plus the circle once.
    pl.pufferspeicher = speicher_mit({{60, 1}});
    pl.pufferspeicher.radius.wert = 0.5;
    pl.pufferspeicher.vspei.wert = 1.0;
    // Two layers: lid on the first, bottom on the last; the second is cooled
    // to the surroundings at most.
    pl.langzeitspeicher = speicher_mit({{60, 1}, {21, 0.001}});
    pl.langzeitspeicher.radius.wert = 0.5;
    pl.langzeitspeicher.vspei.wert = 1.0;
    speicher_verluste(pl, 2, 3, 10.0, *z.vdatz, *z.d3);
    const double v1 = 40.0 * (4.0 + kreis) * 10.0 / 1000.0;
    EXPECT_NEAR(pl.pufferspeicher.inhalt.first().temperatur, 60.0 - v1, 1e-12);
    // The thin bottom layer would lose 1 x (0.004 + pi r^2) x 10 / 1000 kWh
    // but holds only 0.001 kWh above the surroundings: only that is lost.
    EXPECT_NEAR(z.d3->speiver_lang[2][3], v1 + 0.001, 1e-12);
    EXPECT_NEAR(pl.langzeitspeicher.inhalt.eminus, v1 + 0.001, 1e-12);
    EXPECT_EQ(pl.langzeitspeicher.inhalt.schichten.back().temperatur, 20.0);

    // An empty store (one layer of volume 0) has the lid but no heat to lose.
    setze_speicher_zurueck(pl.pufferspeicher, 0.0, 60.0);
    speicher_verluste(pl, 2, 3, 10.0, *z.vdatz, *z.d3);
    EXPECT_EQ(z.d3->speiver_puffer[2][3], 0.0);
    EXPECT_EQ(pl.pufferspeicher.inhalt.estore, 0.0);
}

// Losses, then a charge colder than most of the store: the cooled thin top
// layer sinks, and the charge heats only what is colder than it, so no layer
// loses heat and the content grows by exactly what was stored.
TEST_F(SpeicherTest, VerlusteDannKuehleLadungKuehltKeineSchicht) {
    (*z.vdatz)[zdata::rwv][2] = 20.0;
    anlage pl;
    pl.pufferspeicher = speicher_mit({{48, 0.002}, {47.5, 1.0}, {22, 1.0}});
    pl.pufferspeicher.radius.wert = 0.7;
    pl.pufferspeicher.vspei.wert = 0.5;
    pl.langzeitspeicher = speicher_mit({{20, 1}});
    speicher_verluste(pl, 2, 3, 3.0, *z.vdatz, *z.d3);  // the lid cools the thin layer to 20 °C
    const schichten nach_verlust = inhalt(pl.pufferspeicher);
    for (size_t i = 1; i < nach_verlust.size(); ++i) {
        EXPECT_LT(nach_verlust[i].first, nach_verlust[i - 1].first) << i;
    }
    auto waerme = [](const speicher& sp) {  // kWh above 0 °C with this capacity
        double w = 0;
        for (const schicht& sc : sp.inhalt.schichten) w += sc.masse * sc.temperatur;
        return w;
    };
    const double vorher = waerme(pl.pufferspeicher);
    const double t_oben = nach_verlust.front().first;
    double ueber = 0;
    const double gespeichert = laden(pl.pufferspeicher, 3.0, 26.0, ueber);
    EXPECT_DOUBLE_EQ(gespeichert, 3.0);
    EXPECT_NEAR(waerme(pl.pufferspeicher), vorher + gespeichert, 1e-9);
    EXPECT_GT(t_oben, 47.0);
    EXPECT_EQ(pl.pufferspeicher.inhalt.first().temperatur, t_oben);

    // A chain that is out of order (a warm layer below a colder one) is passed
    // over where it is warmer than the charge.
    speicher sp = speicher_mit({{24, 0.5}, {40, 1.0}, {20, 1.0}});
    EXPECT_DOUBLE_EQ(laden(sp, 1.0 + 3.0, 26.0, ueber), 4.0);
    EXPECT_EQ(inhalt(sp), (schichten{{26, 0.5}, {40, 1.0}, {26, 0.5}, {20, 0.5}}));
}

TEST_F(SpeicherTest, NachtverlusteNurBeiDetailwerten) {
    (*z.vdatz)[zdata::rwv][2] = 20.0;
    (*z.vdatz)[zdata::tg][2] = 10.0;
    anlage pl;
    pl.pufferspeicher = speicher_mit({{60, 1000}});
    pl.pufferspeicher.radius.wert = 1.0;
    pl.pufferspeicher.vspei.wert = 1.0;
    pl.langzeitspeicher = speicher_mit({{60, 1000}});
    z.numchar[ndata::strahlungsherkunft] = "A";
    speicher_nachtverluste(pl, 2, *z.vdatz, z.numchar, 28);
    EXPECT_EQ(pl.pufferspeicher.inhalt.eminus, 0.0);
    z.numchar[ndata::strahlungsherkunft] = "D";
    speicher_nachtverluste(pl, 2, *z.vdatz, z.numchar, 28);
    const double flaeche = 2.0 * 1000.0 + std::numbers::pi;
    EXPECT_NEAR(pl.pufferspeicher.inhalt.eminus, 40.0 * flaeche * 14.0 * 28.0 / 1000.0, 1e-9);
    EXPECT_EQ(pl.langzeitspeicher.inhalt.eminus, 0.0);  // radius 0, no surface
}

TEST(SpeicherKette, SortierenOrdnetUndVereinigt) {
    speicher sp = speicher_mit({{40, 1}, {60, 2}, {60, 1}, {0, 0}, {50, 1}, {50, 0}, {10, 3}});
    sortiere_schichten(sp.inhalt);
    EXPECT_EQ(inhalt(sp), (schichten{{60, 3}, {50, 1}, {40, 1}, {10, 3}}));
    // An empty first layer takes the temperature of what is merged into it.
    sp = speicher_mit({{5, 0}, {30, 2}});
    sortiere_schichten(sp.inhalt);
    EXPECT_EQ(inhalt(sp), (schichten{{30, 2}}));
    sp = speicher_mit({{5, 0}});
    sortiere_schichten(sp.inhalt);
    EXPECT_EQ(inhalt(sp), (schichten{{5, 0}}));
}

TEST(SpeicherKette, ZuruecksetzenUndKopieren) {
    speicher sp = speicher_mit({{60, 1}, {40, 1}});
    sp.spmax.wert = 3.0;
    sp.inhalt.estore = sp.inhalt.eminus = sp.inhalt.mtwv = 7.0;
    setze_speicher_zurueck(sp, 0.0, 12.0);
    EXPECT_EQ(inhalt(sp), (schichten{{12, 0}}));
    EXPECT_EQ(sp.inhalt.estore + sp.inhalt.eminus + sp.inhalt.mtwv, 0.0);
    setze_speicher_zurueck(sp, 1.0, 15.0);
    EXPECT_EQ(inhalt(sp), (schichten{{15, 3}}));

    anlage a, ziel;
    a.pufferspeicher = speicher_mit({{70, 1}, {30, 2}});
    a.pufferspeicher.inhalt.estore = 5.0;
    a.pufferspeicher.tmax.wert = 90.0;
    a.langzeitspeicher = speicher_mit({{50, 4}});
    a.nachtenergie = 3.5;
    ziel.pufferspeicher = speicher_mit({{1, 1}, {0.5, 1}, {0.2, 1}});
    ziel.pufferspeicher.inhalt.eminus = 9.0;
    kopiere_anlage_speicher(a, ziel, 'N');
    EXPECT_EQ(inhalt(ziel.pufferspeicher), inhalt(a.pufferspeicher));
    EXPECT_EQ(inhalt(ziel.langzeitspeicher), (schichten{{50, 4}}));
    EXPECT_EQ(ziel.pufferspeicher.inhalt.estore, 5.0);
    EXPECT_EQ(ziel.pufferspeicher.inhalt.eminus, 0.0);
    EXPECT_EQ(ziel.pufferspeicher.tmax.wert, 0.0);  // parameters only with 'Y'
    EXPECT_EQ(ziel.nachtenergie, 3.5);
    kopiere_anlage_speicher(a, ziel, 'Y');
    EXPECT_EQ(ziel.pufferspeicher.tmax.wert, 90.0);
    // Copying a plant onto itself keeps the chain and clears the losses.
    a.pufferspeicher.inhalt.eminus = 2.0;
    kopiere_anlage_speicher(a, a, 'N');
    EXPECT_EQ(inhalt(a.pufferspeicher), (schichten{{70, 1}, {30, 2}}));
    EXPECT_EQ(a.pufferspeicher.inhalt.eminus, 0.0);
}

TEST(SpeicherEnergie, AbfragenUndVolumen) {
    senke_installiert s;
    flagchar nc{};
    nc[ndata::meldungsmodus] = "M";
    speicher sp = speicher_mit({{70, 1}, {50, 2}, {20, 1}});
    EXPECT_DOUBLE_EQ(energie_ueber(sp, 40.0), 30.0 + 20.0);
    EXPECT_DOUBLE_EQ(energie_bis(sp, 50.0), 30.0);  // only the layers below the 50 °C one
    EXPECT_DOUBLE_EQ(energie_bis(sp, 60.0), 2 * 10.0 + 40.0);
    EXPECT_DOUBLE_EQ(mittlere_temperatur(sp), (70.0 + 100.0 + 20.0) / 4.0);
    sp.spmax.wert = 0.0;
    EXPECT_EQ(mittlere_temperatur(sp), 0.0);
    EXPECT_DOUBLE_EQ(volumen_fuer_energie(sp, 20.0, 60.0, 80.0, nc), 2.0);
    EXPECT_EQ(volumen_fuer_energie(sp, 20.0, 20.0, 80.0, nc), 0.0);
    EXPECT_TRUE(s.senke.texte.empty());
    EXPECT_EQ(volumen_fuer_energie(sp, 60.0, 20.0, 80.0, nc), 0.0);
    EXPECT_TRUE(s.senke.enthaelt("Warnung: Vorlauftemperatur <= Rücklauftemperatur."));
}

TEST_F(SpeicherTest, MonatsanfangSetztZurueckOderUebernimmtVormonat) {
    auto& mz = *z.vdatz;
    mz[zdata::rwv][4] = 18.0;
    zustand::monatstart() = 4;
    anlage pl;
    pl.pufferspeicher = speicher_mit({{60, 1}, {30, 1}});
    pl.pufferspeicher.spmax.wert = 5.0;
    pl.langzeitspeicher = speicher_mit({{60, 1}});
    speicher_monatsanfang(pl, 4, zustand::monatstart(), 1.0, mz, z.numchar, *z.d, *z.dm);
    EXPECT_EQ(inhalt(pl.pufferspeicher), (schichten{{18, 5}}));
    EXPECT_EQ(inhalt(pl.langzeitspeicher), (schichten{{18, 1}}));

    // Another month: the previous month's snapshot; January follows December.
    z.d->arrayspeicher_mon[12].pufferspeicher = speicher_mit({{45, 2}});
    z.dm->arrayspeicher_mon[12].pufferspeicher = speicher_mit({{55, 3}});
    z.numchar[ndata::zeitraum] = "M";
    speicher_monatsanfang(pl, 1, zustand::monatstart(), 1.0, mz, z.numchar, *z.d, *z.dm);
    EXPECT_EQ(inhalt(pl.pufferspeicher), (schichten{{45, 2}}));
    z.numchar[ndata::zeitraum] = "J";
    speicher_monatsanfang(pl, 1, zustand::monatstart(), 1.0, mz, z.numchar, *z.d, *z.dm);
    EXPECT_EQ(inhalt(pl.pufferspeicher), (schichten{{55, 3}}));
    zustand::monatstart() = 1;
}

TEST_F(SpeicherTest, MonatsendeKennwerteUndBilanzpruefung) {
    auto& mz = *z.vdatz;
    mz[zdata::rwv][6] = 20.0;
    mz[zdata::twv][6] = 60.0;
    mz[zdata::eh][6] = 70.0;
    mz[zdata::ew][6] = 20.0;
    anlage pl;
    pl.pufferspeicher = speicher_mit({{60, 1}, {40, 1}});  // spmax 2
    pl.pufferspeicher.inhalt.estore = 12.0;
    pl.pufferspeicher.inhalt.eminus = 3.0;
    pl.langzeitspeicher = speicher_mit({{50, 2}});
    pl.langzeitspeicher.tmin.wert = 10.0;
    pl.langzeitspeicher.tmax.wert = 90.0;
    pl.langzeitspeicher.inhalt.estore = 8.0;
    pl.langzeitspeicher.inhalt.eminus = 2.0;
    ::date& d = *z.d;
    d.e_next_puffer[5] = 4.0;
    d.e_next_lang[5] = 6.0;
    d.eg[6] = 100.0;

    // demand 90 + change (20 - 10) + losses 5 = 105: within 10 %.
    EXPECT_DOUBLE_EQ(speicher_monatsende(pl, 6, zustand::monatstart(), d, mz, 1, z.numchar, *z.dm), 10.0);
    EXPECT_DOUBLE_EQ(d.msp_max_puffer[6], 50.0);
    EXPECT_DOUBLE_EQ(d.msp_max_lang[6], 50.0);
    EXPECT_EQ(d.e_next_puffer[6], 12.0);
    EXPECT_EQ(d.e_next_lang[6], 8.0);
    EXPECT_DOUBLE_EQ(d.msp_next_puffer[6], (40.0 + 20.0) / 40.0);
    EXPECT_DOUBLE_EQ(d.msp_next_lang[6], 60.0 / 80.0);
    EXPECT_TRUE(s.senke.texte.empty());

    d.eg[6] = 80.0;  // 105 / 80 outside the band
    speicher_monatsende(pl, 6, zustand::monatstart(), d, mz, 1, z.numchar, *z.dm);
    EXPECT_TRUE(s.senke.enthaelt("Warnung: Inkonsistenz des Speicherinhaltes."));
    s.senke.texte.clear();
    z.numchar[ndata::kontrolllauf] = "J";  // control run: no check
    speicher_monatsende(pl, 6, zustand::monatstart(), d, mz, 1, z.numchar, *z.dm);
    z.numchar[ndata::kontrolllauf] = "N";
    speicher_monatsende(pl, 6, zustand::monatstart(), d, mz, 0, z.numchar, *z.dm);  // no check asked
    EXPECT_TRUE(s.senke.texte.empty());
    // Yearly resolution takes the previous month from the run results.
    z.numchar[ndata::zeitraum] = "J";
    z.dm->feldns_puffer[5] = 1.0;
    z.dm->feldns_lang[5] = 2.0;
    EXPECT_DOUBLE_EQ(speicher_monatsende(pl, 6, zustand::monatstart(), d, mz, 1, z.numchar, *z.dm), 17.0);

    // The start month begins with reset, empty stores: its change counts from
    // 0, not from the month before it (a previous pass over the year), in
    // either resolution.
    zustand::monatstart() = 6;
    d.eg[6] = 115.0;  // 90 + 20 + 5
    for (const char* zeitraum : {"M", "J"}) {
        z.numchar[ndata::zeitraum] = zeitraum;
        s.senke.texte.clear();
        EXPECT_DOUBLE_EQ(speicher_monatsende(pl, 6, zustand::monatstart(), d, mz, 1, z.numchar, *z.dm), 20.0) << zeitraum;
        EXPECT_TRUE(s.senke.texte.empty()) << zeitraum;
    }
    zustand::monatstart() = 1;
}
