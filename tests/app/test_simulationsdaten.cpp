// What the run parameters window shows: collector units and areas of the run's
// area range, from the current `rech` row and the collector unit of the data set.

#include "app/simulationsdaten.h"
#include "input/lade_hilfen.h"
#include "lang/meldung.h"

using namespace tabledata;

class Simulationsdaten : public mit_default_datenbank {
protected:
    void SetUp() override {
        mit_default_datenbank::SetUp();
        tabelle& r = tab(trech);
        r.filter_aus();
        r.sortiere_nach_schluessel();
        r.erster();
        rech = r.text("name");
        datt& v = zustand::vdatt();
        v[tdata::flaeche_kol_unten] = 1.0;  // lower collector
        v[tdata::flaeche_kol_oben] = 2.0;  // upper collector
        v[tdata::daf] = 2.0;  // one collector unit
    }
    void TearDown() override {
        zustand::vdatt().fill(0.0);
        zustand::numchar()[ndata::anzahl_kollektoren] = "";
        mit_default_datenbank::TearDown();
    }
    // Positions `rech` on the test row after a field was changed.
    void zeile() { ASSERT_TRUE(tab(trech).suche({feldwert(rech)})); }
    std::string rech;
};

TEST_F(Simulationsdaten, FlaechenanzeigeNachEinheitenUndKollektorzahl) {
    struct fall {
        int64_t maxa, mina;
        const char* kollektoren;  // numchar[ndata::anzahl_kollektoren]
        long einheiten;
        double maximum, minimum;
    };
    // (maxa - mina) / 2 collector units, rounded half to even: 41 / 2 = 20.5
    // gives 20 and passes the limit of 20 units.
    const fall faelle[] = {
        {41, 0, "E", 20, 40.0, 0.0},   // one collector: n × upper area, minimum as stored
        {45, 4, "Z", 20, 64.0, 64.0},  // two in series: n × (lower + upper) + minimum, both
        {43, 4, "E", 20, 40.0, 4.0},   // 19.5 rounds to 20
        {10, 10, "E", 0, 0.0, 10.0},
    };
    for (const fall& f : faelle) {
        feld_zeitweise maxa(trech, {feldwert(rech)}, "maxa", feldwert(f.maxa));
        feld_zeitweise mina(trech, {feldwert(rech)}, "mina", feldwert(f.mina));
        zeile();
        zustand::numchar()[ndata::anzahl_kollektoren] = f.kollektoren;
        const auto a = zeige_flaechen();
        ASSERT_TRUE(a) << f.maxa;
        EXPECT_EQ(a->einheiten, f.einheiten) << f.maxa;
        EXPECT_DOUBLE_EQ(a->maximum, f.maximum) << f.maxa;
        EXPECT_DOUBLE_EQ(a->minimum, f.minimum) << f.maxa;
        // The run's area range becomes the stored values, without conversion.
        EXPECT_DOUBLE_EQ(zustand::lauf().maxa, static_cast<double>(f.maxa));
        EXPECT_DOUBLE_EQ(zustand::lauf().mina, static_cast<double>(f.mina));
    }
    EXPECT_TRUE(senke.dialoge.empty());
}

TEST_F(Simulationsdaten, MehrAlsZwanzigEinheitenWerdenAbgelehnt) {
    for (int64_t maxa : {42, 43, 100}) {
        feld_zeitweise m(trech, {feldwert(rech)}, "maxa", feldwert(maxa));
        feld_zeitweise n(trech, {feldwert(rech)}, "mina", feldwert(int64_t{0}));
        zeile();
        senke.dialoge.clear();
        EXPECT_THROW(zeige_flaechen(), abbruch) << maxa;
        ASSERT_EQ(senke.dialoge.size(), 1u);
        EXPECT_EQ(senke.dialoge[0].text, "Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten");
        EXPECT_EQ(senke.dialoge[0].schwere, 'T');
    }
}

TEST_F(Simulationsdaten, KollektoreinheitenGerundetUndOhneEinheitsflaecheNichts) {
    feld_zeitweise maxa(trech, {feldwert(rech)}, "maxa", feldwert(int64_t{41}));
    feld_zeitweise mina(trech, {feldwert(rech)}, "mina", feldwert(int64_t{3}));
    zeile();
    const auto k = kollektoreinheiten();
    ASSERT_TRUE(k);
    EXPECT_EQ(k->maximum, 20);  // 20.5
    EXPECT_EQ(k->minimum, 2);   // 1.5
    // Before a data set has given the unit area nothing is shown or set.
    zustand::vdatt()[tdata::daf] = 0.0;
    zustand::lauf().maxa = -1.0;
    EXPECT_FALSE(kollektoreinheiten());
    EXPECT_FALSE(zeige_flaechen());
    EXPECT_DOUBLE_EQ(zustand::lauf().maxa, -1.0);
}
