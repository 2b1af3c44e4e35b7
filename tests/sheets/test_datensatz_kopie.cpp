#include "sheets/datensatz_kopie.h"

#include <gtest/gtest.h>

#include "data/datenbank.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;

namespace {

TEST(Kopiename, VorletztesZeichenWirdStern) {
    const std::pair<const char*, const char*> faelle[] = {
        {"abcde", "abc*e"}, {"ab", "*b"}, {"a", "*a"}, {"", "*"}, {"Wärme", "Wär*e"}, {"abcä", "ab*ä"}, {"aöb", "a*b"},
    };
    for (const auto& [name, kopie] : faelle) EXPECT_EQ(kopiename(name), kopie) << name;
}

class Kopie : public mit_leerer_datenbank {
protected:
    void SetUp() override {
        mit_leerer_datenbank::SetUp();
        zeile(tir_ta_m, {{"name", std::string("wetter")}, {"breite", 52.38}, {"einheit_ir", std::string("kWh/qm")},
                         {"zeitintervall", std::string("A")}, {"ir1", 19.927}, {"m1", int64_t{2}}});
        zeile(tir_ta_d, {{"name", std::string("wetter")}, {"monat", int64_t{1}}, {"nummer", int64_t{1}},
                         {"ir_g", 0.25}, {"tamin", -3.5}, {"zeitintervall", std::string("A")}});
        zeile(tir_ta_d, {{"name", std::string("wetter")}, {"monat", int64_t{1}}, {"nummer", int64_t{2}},
                         {"ir_g", 0.5}, {"tamin", -2.0}, {"zeitintervall", std::string("A")}});
        zeile(thaupt, {{"name", std::string("haus")}, {"land", std::string("D")}, {"bezirk", std::string("BB")},
                       {"ort", std::string("Potsdam")}, {"kundennummer", std::string("1")},
                       {"ir_ta_m", std::string("wetter")}, {"kolo", std::string("kol")},
                       {"wpwe", std::string("wp")}, {"an", std::string("EJEG")}, {"lock", std::string("F")},
                       {"info", std::string("Haus")}});
        zeile(tliste2, {{"name_einlesefile", std::string("haus")}, {"name_liste", std::string("solar")}});
        zeile(tliste2, {{"name_einlesefile", std::string("haus")}, {"name_liste", std::string("heizung")}});
        zeile(tliste2, {{"name_einlesefile", std::string("anderes")}, {"name_liste", std::string("solar")}});
    }
    static std::vector<std::vector<std::string>> zeilen_von(int index, const char* spalte, const std::string& wert) {
        std::vector<std::vector<std::string>> r;
        tabelle& t = tab(index);
        const int s = t.spalten_index(spalte);
        for (const auto& z : t.lies_alle(t.schluesselspalten())) {
            if (als_text(z[static_cast<size_t>(s)]) != wert) continue;
            std::vector<std::string> f;
            for (int i = 0; i < t.spaltenanzahl(); ++i)
                if (i != s) f.push_back(als_text(z[static_cast<size_t>(i)]));
            r.push_back(f);
        }
        return r;
    }
    static std::vector<feldwert> haupt(const std::string& name) {
        return {feldwert(name), feldwert(std::string("D")), feldwert(std::string("BB")),
                feldwert(std::string("Potsdam")), feldwert(std::string("1"))};
    }
};

TEST_F(Kopie, KopierenLaesstNeueZeileImEinfuegemodus) {
    ASSERT_TRUE(auf(tir_ta_m, {feldwert(std::string("wetter"))}));
    ASSERT_TRUE(datensatz_kopieren(tir_ta_m));
    tabelle& t = tab(tir_ta_m);
    EXPECT_EQ(t.aktueller_modus(), tabelle::modus::einfuegen);
    EXPECT_EQ(t.text("name"), "wett*r");
    t.speichern();
    const auto original = inhalt(tir_ta_m, {feldwert(std::string("wetter"))});
    const auto kopie = inhalt(tir_ta_m, {feldwert(std::string("wett*r"))});
    ASSERT_EQ(kopie.size(), original.size());
    EXPECT_EQ(kopie[0], "wett*r");
    for (size_t i = 1; i < kopie.size(); ++i) EXPECT_EQ(kopie[i], original[i]) << i;
}

// A site data set is copied with its references (the names of its
// catalogue rows) and its accessory groups; the copy starts not fixed.
TEST_F(Kopie, DatensatzMitBezuegen) {
    ASSERT_TRUE(auf(thaupt, haupt("haus")));
    ASSERT_TRUE(kopiere_datensatz_mit_bezuegen(thaupt, "haus 2"));
    EXPECT_EQ(tab(thaupt).text("name"), "haus 2");
    const auto original = inhalt(thaupt, haupt("haus"));
    const auto kopie = inhalt(thaupt, haupt("haus 2"));
    ASSERT_EQ(kopie.size(), original.size());
    const int lock = tab(thaupt).spalten_index("lock");
    for (size_t i = 1; i < kopie.size(); ++i) {
        if (static_cast<int>(i) == lock) continue;
        EXPECT_EQ(kopie[i], original[i]) << i;
    }
    EXPECT_EQ(original[static_cast<size_t>(lock)], "F");
    EXPECT_EQ(kopie[static_cast<size_t>(lock)], "NF");
    EXPECT_EQ(tab(thaupt).text("ir_ta_m"), "wetter");
    EXPECT_EQ(tab(thaupt).text("wpwe"), "wp");
    EXPECT_EQ(zeilen_von(tliste2, "name_einlesefile", "haus 2"), zeilen_von(tliste2, "name_einlesefile", "haus"));
    EXPECT_EQ(zeilen_von(tliste2, "name_einlesefile", "haus 2").size(), 2u);

    // The default name; a second copy under the same name is refused and
    // writes nothing.
    auf(thaupt, haupt("haus"));
    ASSERT_TRUE(kopiere_datensatz_mit_bezuegen(thaupt));
    EXPECT_TRUE(auf(thaupt, haupt("ha*s")));
    auf(thaupt, haupt("haus"));
    EXPECT_FALSE(kopiere_datensatz_mit_bezuegen(thaupt));
    EXPECT_NE(letzter_dialog().find("existiert bereits in Tabelle haupt: ha*s"), std::string::npos);
    EXPECT_EQ(zeilen_von(tliste2, "name_einlesefile", "ha*s").size(), 2u);
}

TEST_F(Kopie, WetterdatensatzMitDetailzeilen) {
    ASSERT_TRUE(auf(tir_ta_m, {feldwert(std::string("wetter"))}));
    ASSERT_TRUE(kopiere_datensatz_mit_bezuegen(tir_ta_m, "wetter 2"));
    const auto details = zeilen_von(tir_ta_d, "name", "wetter 2");
    ASSERT_EQ(details.size(), 2u);
    EXPECT_EQ(details, zeilen_von(tir_ta_d, "name", "wetter"));
    EXPECT_EQ(inhalt(tir_ta_m, {feldwert(std::string("wetter 2"))})[1],
              inhalt(tir_ta_m, {feldwert(std::string("wetter"))})[1]);
}

}  // namespace
