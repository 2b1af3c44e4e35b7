#include "results/gesamtenergie.h"

#include <gtest/gtest.h>

#include "data/datenbank.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;

namespace {

class Gesamtenergie : public mit_leerer_datenbank {
protected:
    void SetUp() override {
        mit_leerer_datenbank::SetUp();
        zeile(theizwert, {{"name", std::string("Heizöl")}, {"brennwert", 10.0}, {"einheitenergie", std::string("kWh")},
                          {"einheitbrennstoff", std::string("l")}});
        zeile(theizwert, {{"name", std::string("Erdgas")}, {"brennwert", 10.3}, {"einheitenergie", std::string("kWh")},
                          {"einheitbrennstoff", std::string("m3")}});
        felder f = {{"name", std::string("eh")}, {"einheit", std::string("kWh")}, {"rel", std::string("R")},
                    {"einflaeche", std::string("qm")}, {"gesamt", 5.0}, {"flaeche", 100.0}, {"energiepqm", 12.0}};
        for (const char* m : {"januar", "februar", "märz"}) f.push_back({m, 0.25});
        f.push_back({"dezember", 0.25});
        f.push_back({"m1", 744.0});  // a detail count is not a month value
        zeile(teh_m, f);
    }
};

// The worked example: 120 qm x 15 l/qm = 1800 l, x 10 kWh/l = 18000 kWh;
// adopted, the record holds 18000 / 120 = 150 kWh per qm.
TEST_F(Gesamtenergie, RechnenUndUebernehmen) {
    EXPECT_TRUE(gesamtenergie_knopf());  // relative values: the dialog opens
    EXPECT_DOUBLE_EQ(tab(teh_m).zahl("gesamt"), 5.0);
    const auto a = gesamtenergie_oeffnen();
    EXPECT_DOUBLE_EQ(a.monatssumme, 1.0);
    EXPECT_DOUBLE_EQ(a.gesamt, 5.0);
    EXPECT_DOUBLE_EQ(a.flaeche, 100.0);
    EXPECT_DOUBLE_EQ(a.energiepqm, 12.0);
    EXPECT_EQ(a.einheit_flaeche, "qm");
    EXPECT_EQ(a.einheit_brennstoff, "l");  // nearest fuel unit at or after "kWh"
    EXPECT_DOUBLE_EQ(a.brennwert, 10.0);

    const auto e = gesamtenergie_rechnen(120.0, 15.0, a.brennwert);
    EXPECT_DOUBLE_EQ(e.verbrauch, 1800.0);
    EXPECT_DOUBLE_EQ(e.gesamt, 18000.0);
    ASSERT_TRUE(gesamtenergie_uebernehmen(e.gesamt, 120.0));
    tabelle& t = tab(teh_m);
    EXPECT_DOUBLE_EQ(t.zahl("gesamt"), 18000.0);
    EXPECT_DOUBLE_EQ(t.zahl("flaeche"), 120.0);
    EXPECT_DOUBLE_EQ(t.zahl("energiepqm"), 150.0);

    // An area of 0 is refused; the record keeps its values.
    EXPECT_FALSE(gesamtenergie_uebernehmen(9000.0, 0.0));
    EXPECT_EQ(letzter_dialog(), "Fehler: Die beheizte Fläche muss größer als 0 sein");
    EXPECT_DOUBLE_EQ(tab(teh_m).zahl("gesamt"), 18000.0);
    EXPECT_DOUBLE_EQ(tab(teh_m).zahl("energiepqm"), 150.0);
}

TEST_F(Gesamtenergie, AbsoluteWerteOhneDialog) {
    tab(teh_m).bearbeiten();
    tab(teh_m).setze("rel", std::string("A"));
    tab(teh_m).speichern();
    EXPECT_FALSE(gesamtenergie_knopf());
    EXPECT_DOUBLE_EQ(tab(teh_m).zahl("gesamt"), 1.0);
}

}  // namespace
