// Loading into the comparison store with the unit table of the default
// database: values come back in the output units chosen now.

#include <gtest/gtest.h>

#include "app/einstellungen_lauf.h"
#include "data/einstellungen.h"
#include "input/lade_hilfen.h"
#include "results/ergebnisvergleich.h"
#include "results/vergleich_hilfen.h"

namespace {

class Ergebnisvergleich : public mit_default_datenbank {
protected:
    void SetUp() override {
        mit_default_datenbank::SetUp();
        sprachabhaengig(zustand::datm_allgemein(), false);
        vorher = zustand::datm_allgemein().ausgabe_einheit;
    }
    void TearDown() override {
        zustand::datm_allgemein().ausgabe_einheit = vorher;
        mit_default_datenbank::TearDown();
    }
    std::array<std::string, ANZ_ADATA> vorher;
};

}  // namespace

TEST_F(Ergebnisvergleich, DateiKommtInDenJetztGewaehltenEinheitenZurueck) {
    ::datm& d = zustand::datm_allgemein();
    ASSERT_EQ(d.ausgabe_einheit[adata::eg], "kWh");
    d.ausgabe_einheit[adata::ztk] = "F";
    ergebnisvergleich v;
    ASSERT_EQ(v.lade(ergebnis_fixture(POTSDAM)), ergebnisvergleich::ladeergebnis::ok);
    EXPECT_TRUE(senke.dialoge.empty());
    const rohe_datei roh(ergebnis_fixture(POTSDAM));
    const geladene_datei& g = v.datei(1);
    EXPECT_EQ(g.datensatz, "EFH Potsdam 2019 stuendlich");
    EXPECT_EQ(g.flaecheneinheit, "qm");
    EXPECT_EQ(g.flaeche[5], 18.0);
    EXPECT_EQ(g.spalten[adata::ztk + 1].einheit, "F");
    EXPECT_EQ(g.spalten[adata::ztk + 1].titel, "Mittlere Temperatur hinter Wärmet.");
    for (int s = 1; s <= 5; ++s) {
        for (int m = 1; m <= 12; ++m) {
            EXPECT_NEAR(g.wert(adata::ztk, m, s), roh.wert(adata::ztk, m, s) * 1.8 + 32.0, 1e-9);
            EXPECT_EQ(g.wert(adata::eg, m, s), roh.wert(adata::eg, m, s));
        }
    }
}
