#include "results/datensatz_ausdruck.h"

#include <gtest/gtest.h>

#include "data/datenbank.h"
#include "input/lade_hilfen.h"

using namespace tabledata;

namespace {

// Page of 8 rows (1100 high, rows of 100): three single lines, a record of 5
// fields that still fits, a blank line that opens page 2, a record of 12
// fields that does not fit beside it and so starts page 3, running on to
// page 4.
TEST(Listendrucker, ZusammenhaltendeZeilen) {
    std::vector<druckzeile> z(3);
    for (int k = 5; k >= 1; --k) z.push_back({"f", "w", k});
    z.push_back({});
    for (int k = 12; k >= 1; --k) z.push_back({"f", "w", k});
    const auto p = listendruck_layout(z, 2000, 1100, 100);
    ASSERT_EQ(p.size(), z.size());
    const std::vector<std::pair<int, int>> erwartet = {
        {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7},  // singles, 5-field record
        {2, 0},                                                          // blank
        {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}, {3, 7},  // 12-field record ...
        {4, 0}, {4, 1}, {4, 2}, {4, 3}};                                 // ... continued
    for (size_t i = 0; i < p.size(); ++i) {
        EXPECT_EQ(p[i].seite, erwartet[i].first) << i;
        EXPECT_EQ(p[i].y, 150 + 100 * erwartet[i].second) << i;
        EXPECT_EQ(p[i].x_label, 200);
        EXPECT_EQ(p[i].x_wert, 1000);
    }
}

class Ausdruck : public mit_default_datenbank {
protected:
    void SetUp() override {
        mit_default_datenbank::SetUp();
        tabelle& h = tab(thaupt);
        h.filter_aus();
        h.sortiere_nach_schluessel();
        ASSERT_TRUE(h.suche({feldwert(std::string("Braunschweig EFH"))}));
    }
};

TEST_F(Ausdruck, NamenUndWerte) {
    const auto namen = ausdruck_namen();
    ASSERT_EQ(namen.size(), 40u);
    EXPECT_EQ(namen[0].label, "name:");
    EXPECT_EQ(namen[0].wert, "Braunschweig EFH");
    EXPECT_EQ(namen[7].label, "ir_ta_m:");
    EXPECT_EQ(namen[7].wert, "ir_braunschweig_in_kWh");
    EXPECT_EQ(namen[38].label, "lock:");
    EXPECT_EQ(namen[38].wert, "NF");

    // The same collector above and below is listed once; the two heat pumps
    // of one name are two rows (working kinds "we" and "ww").
    const auto e = ausdruck_eintraege();
    std::vector<std::string> spalten;
    for (const auto& x : e) spalten.push_back(x.spalte);
    EXPECT_EQ(spalten, (std::vector<std::string>{"ir_ta_m", "te", "ew_m", "eh_m", "th", "tw", "kolu", "wpwe", "wpww",
                                                 "spei", "zwischenspei", "langspei", "ko", "rh", "rw", "an", "num",
                                                 "kalk", "sub", "rech"}));

    // Only the weather record and the collector selected.
    std::vector<bool> auswahl(e.size(), false);
    auswahl[0] = true;
    auswahl[6] = true;
    const auto w = ausdruck_werte(auswahl);
    const int n_wetter = tab(tir_ta_m).spaltenanzahl(), n_kol = tab(tkol).spaltenanzahl();
    ASSERT_EQ(w.size(), static_cast<size_t>(n_wetter + 1 + n_kol + 1));
    EXPECT_EQ(w[0].label, "name:");
    EXPECT_EQ(w[0].wert, "ir_braunschweig_in_kWh");
    EXPECT_EQ(w[0].zusammen, n_wetter);
    EXPECT_EQ(w[12].label, "ir1:");
    EXPECT_EQ(w[12].wert, "20.53");
    EXPECT_EQ(w[static_cast<size_t>(n_wetter - 1)].zusammen, 1);
    EXPECT_EQ(w[static_cast<size_t>(n_wetter)].label, "");
    EXPECT_EQ(w[static_cast<size_t>(n_wetter + 1)].wert, "Euro C 20");

    // A record that does not exist is named as missing.
    {
        feld_zeitweise fehlend(thaupt,
                               {feldwert(std::string("Braunschweig EFH")), feldwert(std::string("D")),
                                feldwert(std::string("Niedersachsen")), feldwert(std::string("Braunschweig")),
                                feldwert(std::string("0"))},
                               "te", feldwert(std::string("gibt es nicht")));
        tab(thaupt).suche({feldwert(std::string("Braunschweig EFH"))});
        std::vector<bool> nur_te(e.size(), false);
        nur_te[1] = true;
        const auto f = ausdruck_werte(nur_te);
        ASSERT_EQ(f.size(), 2u);
        EXPECT_EQ(f[0].label, "te:");
        EXPECT_EQ(f[0].wert, "gibt es nicht - Datensatz existiert nicht in Datenbank");
    }
}

}  // namespace

namespace {

// The grid of a data sheet: the titles, then one line per row in the
// cursor's order; the cursor stays where it stood.
TEST_F(Ausdruck, TabellenGitter) {
    tabelle& n = tab(tnum);
    n.filter_aus();
    n.sortiere_nach_schluessel();
    n.erster();
    n.naechster();
    n.naechster();
    const std::string stand = n.text("name");
    const auto z = tabellen_druckzeilen(tnum, {});
    EXPECT_EQ(n.text("name"), stand);
    ASSERT_EQ(z.size(), static_cast<size_t>(n.anzahl()) + 1);
    ASSERT_GT(z.size(), 3u);
    EXPECT_EQ(z[0].label, "name");
    EXPECT_EQ(z[0].wert.rfind("zeitraum | art | optimierung | strahlung | sortierung | monatstart | ", 0), 0u);
    EXPECT_EQ(z[3].label, stand);
    EXPECT_EQ(z[3].wert.rfind(n.text("zeitraum") + " | " + n.text("art") + " | ", 0), 0u) << z[3].wert;
}

}  // namespace
