#include "sheets/detailblatt.h"

#include <gtest/gtest.h>

#include <map>

#include "data/datenbank.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;

namespace {

class Detailblatt : public mit_leerer_datenbank {
protected:
    static std::string s(const char* x) { return x; }
    static void detail(int index, const std::string& name, int monat, int nummer, const felder& f) {
        felder alle = {{"name", name}, {"monat", int64_t{monat}}, {"nummer", int64_t{nummer}}};
        alle.insert(alle.end(), f.begin(), f.end());
        zeile(index, alle);
    }
    // Month -> number -> value of column `spalte` of the series `name`.
    static std::map<int, std::map<int, double>> reihe(int index, const std::string& name, const char* spalte) {
        std::map<int, std::map<int, double>> r;
        tabelle& d = tab(index);
        const int w = d.spalten_index(spalte);
        for (const auto& z : d.lies_alle(d.schluesselspalten()))
            if (als_text(z[0]) == name)
                r[static_cast<int>(als_zahl(z[1]))][static_cast<int>(als_zahl(z[2]))] = als_zahl(z[static_cast<size_t>(w)]);
        return r;
    }
    void wetter(const std::string& zeitintervall) {
        zeile(tir_ta_m, {{"name", s("w")}, {"breite", 52.27}, {"einheit_ir", s("kWh/qm")},
                         {"zeitintervall", zeitintervall}, {"ir1", 10.0}});
    }
};

TEST_F(Detailblatt, IntensitaetUndEinstrahlung) {
    wetter("A");
    // is_g 500 W/qm over 1 h: 0.5 kWh/qm.
    detail(tir_ta_d, "w", 1, 1, {{"is_g", 500.0}, {"is_d", 120.0}, {"h", 1.0}});
    ASSERT_TRUE(ir_aus_is());
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("ir_g"), 0.5);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("ir_d"), 0.12);

    detail(tir_ta_d, "w", 1, 2, {{"ir_g", 2.5}, {"ir_d", 1.0}, {"h", 7.5}});
    ASSERT_TRUE(is_aus_ir());
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("is_g"), 333.333);
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("is_d"), 133.333);

    detail(tir_ta_d, "w", 1, 3, {{"ir_g", 2.5}, {"h", 0.0}});
    EXPECT_FALSE(is_aus_ir());
    EXPECT_TRUE(tab(tir_ta_d).ist_feld_leer("is_g"));

    // h (Breite): the January day length at 52.27° N, 7.97252 h.
    ASSERT_TRUE(h_aus_breite());
    EXPECT_DOUBLE_EQ(tab(tir_ta_d).zahl("h"), 7.973);
}

// Two hourly days of January: sums, means of the daily extremes and the
// duration-weighted mean, adopted into the monthly record.
TEST_F(Detailblatt, MittelwerteUndUebernahme) {
    wetter("A");
    for (int j = 1; j <= 48; ++j) {
        const double t = j <= 24 ? (j == 5 ? -4.0 : (j == 15 ? 6.0 : 1.0)) : (j == 30 ? -2.0 : (j == 40 ? 10.0 : 3.0));
        detail(tir_ta_d, "w", 1, j, {{"ir_g", j % 24 == 12 ? 0.3 : 0.0}, {"tamin", t}, {"tamax", t}, {"h", 1.0}});
    }
    detail(tir_ta_d, "w", 1, 50, {{"ir_g", 5.0}, {"h", 1.0}});  // after a gap: not counted
    EXPECT_EQ(Berechne_Anzahl(1, detailart::wetter), 48);
    EXPECT_EQ(Berechne_Anzahl(2, detailart::wetter), 0);
    const monatsmittel e = mittelwerte(1, 48, detailart::wetter);
    EXPECT_EQ(e.anzahl, 48);
    EXPECT_DOUBLE_EQ(e.summe_ir, 0.6);
    EXPECT_DOUBLE_EQ(e.summe_h, 48.0);
    EXPECT_DOUBLE_EQ(e.ta_min, (-4.0 + -2.0) / 2.0);
    EXPECT_DOUBLE_EQ(e.ta_max, (6.0 + 10.0) / 2.0);
    EXPECT_DOUBLE_EQ(e.ta, (22.0 * 1.0 - 4.0 + 6.0 + 22.0 * 3.0 - 2.0 + 10.0) / 48.0);
    EXPECT_NEAR(e.is, 0.6 / 247.148, 1e-6);

    ASSERT_TRUE(uebernehme_mittelwerte(1, detailart::wetter));
    tabelle& w = tab(tir_ta_m);
    EXPECT_DOUBLE_EQ(w.zahl("ir1"), 0.6);
    EXPECT_DOUBLE_EQ(w.zahl("h1"), 48.0);
    EXPECT_DOUBLE_EQ(w.zahl("ta1min"), -3.0);
    EXPECT_DOUBLE_EQ(w.zahl("ta1max"), 8.0);
    EXPECT_EQ(w.ganzzahl("m1"), 48);
    // A month without details is refused and keeps its values.
    EXPECT_FALSE(uebernehme_mittelwerte(2, detailart::wetter));
    EXPECT_NE(letzter_dialog().find("Keine Detailwerte für Monat 2"), std::string::npos);

    ASSERT_TRUE(uebernehme_gesamte_einstrahlung());
    EXPECT_DOUBLE_EQ(tab(tir_ta_m).zahl("irgesamt"), 0.6);
}

// Demand: the month's sum of energies and the row count into the record,
// then the yearly total.
TEST_F(Detailblatt, BedarfUebernehmenUndGesamtverbrauch) {
    zeile(tew_m, {{"name", s("ew")}, {"name_d", s("ew_reihe")}, {"rel", s("A")}, {"Januar", 5.0}, {"juli", 7.0}});
    for (int n = 1; n <= 3; ++n) detail(tew_d, "ew_reihe", 1, n, {{"ew", 1.5 * n}, {"h", 1.0}});
    for (int n = 1; n <= 2; ++n) detail(tew_d, "ew_reihe", 3, n, {{"ew", 2.0}, {"h", 1.0}});
    ASSERT_TRUE(alle_berechnen_und_uebernehmen(detailart::warmwasser));
    tabelle& t = tab(tew_m);
    EXPECT_DOUBLE_EQ(t.zahl("Januar"), 9.0);
    EXPECT_DOUBLE_EQ(t.zahl("m1"), 3.0);
    EXPECT_DOUBLE_EQ(t.zahl("märz"), 4.0);
    EXPECT_DOUBLE_EQ(t.zahl("juli"), 7.0);  // no details: kept
    ASSERT_TRUE(uebernehme_gesamten_verbrauch(detailart::warmwasser));
    EXPECT_DOUBLE_EQ(tab(tew_m).zahl("gesamt"), 20.0);
}

TEST_F(Detailblatt, NormierenAufMonatswert) {
    wetter("A");  // ir1 = 10
    for (int n = 1; n <= 3; ++n) detail(tir_ta_d, "w", 1, n, {{"ir_g", n == 3 ? 2.0 : 1.0}});
    for (int n = 1; n <= 2; ++n) detail(tir_ta_d, "w", 2, n, {{"ir_g", 0.0}});
    EXPECT_TRUE(normiere_monat(1, detailart::wetter));
    EXPECT_EQ(reihe(tir_ta_d, "w", "ir_g")[1], (std::map<int, double>{{1, 2.5}, {2, 2.5}, {3, 5.0}}));
    // All 0: nothing changes.
    EXPECT_FALSE(normiere_monat(2, detailart::wetter));
    EXPECT_EQ(reihe(tir_ta_d, "w", "ir_g")[2], (std::map<int, double>{{1, 0.0}, {2, 0.0}}));

    // Relative demand: thousandths of the month, marked normalised.
    zeile(teh_m, {{"name", s("eh")}, {"name_d", s("eh_reihe")}, {"rel", s("R")}, {"januar", 0.2}});
    for (int n = 1; n <= 3; ++n) detail(teh_d, "eh_reihe", 1, n, {{"eh", 1.0}});
    EXPECT_TRUE(normiere_monat(1, detailart::heizung));
    const auto r = reihe(teh_d, "eh_reihe", "eh")[1];
    EXPECT_DOUBLE_EQ(r.at(1), 333.3333);
    EXPECT_NEAR(r.at(1) + r.at(2) + r.at(3), 1000.0, 1e-3);
    ASSERT_TRUE(auf(teh_d, {feldwert(s("eh_reihe")), feldwert(int64_t{1}), feldwert(int64_t{2})}));
    EXPECT_EQ(tab(teh_d).text("normiert"), "Y");

    // Absolute demand: scaled to the month value.
    zeile(tew_m, {{"name", s("ew")}, {"name_d", s("ew_reihe")}, {"rel", s("A")}, {"Januar", 90.0}});
    for (int n = 1; n <= 2; ++n) detail(tew_d, "ew_reihe", 1, n, {{"ew", n * 1.0}});
    EXPECT_TRUE(normiere_monat(1, detailart::warmwasser));
    EXPECT_EQ(reihe(tew_d, "ew_reihe", "ew")[1], (std::map<int, double>{{1, 30.0}, {2, 60.0}}));
}

TEST_F(Detailblatt, GleicheTageFuelltDenMonat) {
    zeile(teh_m, {{"name", s("eh")}, {"name_d", s("reihe")}, {"rel", s("R")}});
    for (int j = 1; j <= 24; ++j)
        detail(teh_d, "reihe", 4, j, {{"eh", 10.0 + j}, {"h", 1.0}, {"hm", j - 0.5}, {"rel", s("R")}});
    detail(teh_d, "reihe", 4, 30, {{"eh", 999.0}, {"h", 1.0}, {"hm", 5.5}});  // an old row is overwritten
    ASSERT_TRUE(gleiche_tage(4, detailart::heizung));
    const auto april = reihe(teh_d, "reihe", "eh")[4];
    ASSERT_EQ(april.size(), 720u);  // 30 days x 24 hours, rows 1..720
    EXPECT_EQ(april.begin()->first, 1);
    EXPECT_EQ(april.rbegin()->first, 720);
    for (const auto& [n, v] : april) EXPECT_DOUBLE_EQ(v, 10.0 + ((n - 1) % 24 + 1)) << n;
    ASSERT_TRUE(auf(teh_d, {feldwert(s("reihe")), feldwert(int64_t{4}), feldwert(int64_t{719})}));
    EXPECT_DOUBLE_EQ(tab(teh_d).zahl("hm"), 22.5);
    EXPECT_EQ(tab(teh_d).text("rel"), "R");

    // A month without a complete first day is refused.
    EXPECT_FALSE(gleiche_tage(5, detailart::heizung));
    EXPECT_NE(letzter_dialog().find("nicht vollständig"), std::string::npos);

    // The first day of January to the whole year: 8760 rows.
    for (int j = 1; j <= 24; ++j) detail(teh_d, "reihe", 1, j, {{"eh", 1.0 * j}, {"h", 1.0}});
    ASSERT_TRUE(erster_tag(detailart::heizung));
    size_t alle = 0;
    for (const auto& [m, z] : reihe(teh_d, "reihe", "eh")) alle += z.size();
    EXPECT_EQ(alle, 8760u);
    EXPECT_DOUBLE_EQ(reihe(teh_d, "reihe", "eh")[2][672], 24.0);

}

TEST_F(Detailblatt, KopiereAusMonatswertenUndLoeschen) {
    zeile(tir_ta_m, {{"name", s("w")}, {"breite", 52.27}, {"einheit_ir", s("kWh/qm")}, {"ir1", 20.0},
                     {"diff1", 12.0}, {"ta1min", -1.0}, {"ta1max", 4.0}});
    detail(tir_ta_d, "w", 1, 7, {{"ir_g", 1.0}});
    ASSERT_TRUE(kopiere_aus_ir_ta_m());
    const auto ir = reihe(tir_ta_d, "w", "ir_g");
    ASSERT_EQ(ir.size(), 12u);
    EXPECT_EQ(ir.at(1), (std::map<int, double>{{1, 20.0}}));
    ASSERT_TRUE(auf(tir_ta_d, {feldwert(s("w")), feldwert(int64_t{1}), feldwert(int64_t{1})}));
    tabelle& d = tab(tir_ta_d);
    EXPECT_DOUBLE_EQ(d.zahl("h"), 247.148);                        // daylight hours of January
    EXPECT_DOUBLE_EQ(d.zahl("is_g"), runde_dezimal(20000.0 / 247.148, 3));  // mean intensity, W/qm
    EXPECT_DOUBLE_EQ(d.zahl("tamax"), 4.0);
    EXPECT_EQ(d.text("zeitintervall"), "D");
    auf(tir_ta_m, {feldwert(s("w"))});
    EXPECT_EQ(tab(tir_ta_m).ganzzahl("m1"), 1);

    EXPECT_EQ(loesche_alle_details(detailart::wetter), 12);
    EXPECT_TRUE(reihe(tir_ta_d, "w", "ir_g").empty());
}

}  // namespace
