#include <fstream>
#include <iterator>

#include "data/tabelle.h"
#include "data/tabellen_schema.h"
#include "testhilfe.h"

using namespace tabledata;

namespace {

class Tabelle : public temp_verzeichnis_test {
protected:
    // Weather detail rows: key name, monat, nummer.
    void SetUp() override {
        temp_verzeichnis_test::SetUp();
        ASSERT_TRUE(t.oeffne(dir / "IR_TA_D.sqlite", tabellenschema(tir_ta_d)));
    }
    void zeile(const std::string& name, int monat, int nummer, double ir) {
        t.einfuegen();
        t.setze("name", name);
        t.setze("monat", int64_t{monat});
        t.setze("nummer", int64_t{nummer});
        t.setze("ir_g", ir);
        t.speichern();
    }
    std::vector<std::string> namen_in_reihenfolge() {
        std::vector<std::string> r;
        for (t.erster(); !t.eof(); t.naechster())
            r.push_back(t.text("name") + "/" + t.text("monat") + "/" + t.text("nummer"));
        return r;
    }
    tabelle t;
};

TEST_F(Tabelle, ZeilenErscheinenInSchluesselreihenfolge) {
    zeile("B", 1, 2, 1.0);
    zeile("A", 2, 1, 2.0);
    zeile("B", 1, 1, 3.0);
    zeile("A", 1, 10, 4.0);
    EXPECT_EQ(namen_in_reihenfolge(), (std::vector<std::string>{"A/1/10", "A/2/1", "B/1/1", "B/1/2"}));
    EXPECT_EQ(t.anzahl(), 4);
    // After a post the cursor stands on the posted row.
    zeile("A", 1, 5, 9.0);
    EXPECT_EQ(t.text("name") + t.text("nummer"), "A5");
    EXPECT_EQ(t.position(), 0);
}

TEST_F(Tabelle, ExakteUndNaechsteSuche) {
    for (int m = 1; m <= 3; ++m)
        for (int n = 1; n <= 4; ++n) zeile("W", m, n * 2, m * 100 + n);

    EXPECT_TRUE(t.suche({std::string("W"), int64_t{2}, int64_t{6}}));
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 203);
    // Text values are compared in the column's type ("2" finds monat 2).
    EXPECT_TRUE(t.suche({std::string("W"), std::string("3"), std::string("8")}));
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 304);
    // A miss leaves the cursor where it was.
    EXPECT_FALSE(t.suche({std::string("W"), int64_t{2}, int64_t{5}}));
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 304);
    // Partial key: first row of the month.
    EXPECT_TRUE(t.suche({std::string("W"), int64_t{2}}));
    EXPECT_EQ(t.ganzzahl("nummer"), 2);

    // Nearest: first row >= the key; past the end: last row, false.
    EXPECT_TRUE(t.suche_naechsten({std::string("W"), int64_t{2}, int64_t{5}}));
    EXPECT_EQ(t.ganzzahl("monat") * 100 + t.ganzzahl("nummer"), 206);
    EXPECT_TRUE(t.suche_naechsten({std::string("A")}));
    EXPECT_EQ(t.position(), 0);
    EXPECT_FALSE(t.suche_naechsten({std::string("X")}));
    EXPECT_EQ(t.position(), 11);
}

TEST_F(Tabelle, BearbeitenAbbrechenLoeschen) {
    zeile("A", 1, 1, 1.0);
    zeile("A", 1, 2, 2.0);
    zeile("A", 1, 3, 3.0);
    ASSERT_TRUE(t.suche({std::string("A"), int64_t{1}, int64_t{2}}));
    t.bearbeiten();
    t.setze("ir_g", std::string("7,5"));  // decimal comma accepted in a number column
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 7.5);
    t.abbrechen();
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 2.0);
    // Navigation drops an unsaved edit.
    t.bearbeiten();
    t.setze("ir_g", 99.0);
    t.naechster();
    t.vorheriger();
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 2.0);

    t.loeschen();  // the next row becomes current
    EXPECT_EQ(t.ganzzahl("nummer"), 3);
    t.loeschen();  // the last row: the one before becomes current
    EXPECT_EQ(t.ganzzahl("nummer"), 1);
    EXPECT_EQ(t.anzahl(), 1);
}

TEST_F(Tabelle, UngueltigeSchreibvorgaengeBleibenOhneWirkung) {
    zeile("A", 1, 1, 1.0);
    // Duplicate key: reported, abandoned, nothing stored.
    EXPECT_THROW(zeile("A", 1, 1, 5.0), abbruch);
    EXPECT_TRUE(senke.enthaelt("existiert bereits"));
    t.abbrechen();
    EXPECT_EQ(t.anzahl(), 1);
    // NOT NULL column left empty.
    t.einfuegen();
    t.setze("name", std::string("B"));
    t.setze("monat", int64_t{1});
    EXPECT_THROW(t.speichern(), abbruch);
    EXPECT_TRUE(senke.enthaelt("nummer"));
    t.abbrechen();
    // Not a number for a number column, unknown column.
    t.einfuegen();
    EXPECT_THROW(t.setze("ir_g", std::string("viel")), abbruch);
    EXPECT_THROW(t.setze("gibtsnicht", 1.0), abbruch);
    t.abbrechen();
    EXPECT_EQ(t.anzahl(), 1);
    EXPECT_DOUBLE_EQ(t.zahl("ir_g"), 1.0);
}

TEST_F(Tabelle, FilterBindetDenTextUndPrueftDieSpalte) {
    for (const char* n : {"O'Brien", "x' OR '1'='1", "Obelix", "Brienz"}) zeile(n, 1, 1, 0.0);
    struct fall {
        std::string vergleich, text;
        std::vector<std::string> erwartet;
    };
    const std::vector<fall> faelle = {
        {"=", "O'Brien", {"O'Brien/1/1"}},
        {" LIKE ", "x' OR '1'='1", {"x' OR '1'='1/1/1"}},
        {"=", "x' OR '1'='1", {"x' OR '1'='1/1/1"}},
        {" LIKE ", "o%", {"O'Brien/1/1", "Obelix/1/1"}},
        {"=", "' OR 1=1 --", {}},
    };
    for (const auto& f : faelle) {
        t.setze_filter({{"name", f.vergleich, f.text}});
        EXPECT_EQ(namen_in_reihenfolge(), f.erwartet) << f.vergleich << f.text;
    }
    t.filter_aus();
    EXPECT_EQ(t.anzahl(), 4);
    EXPECT_THROW(t.setze_filter({{"name) OR (1", "=", std::string("x")}}), abbruch);
    EXPECT_THROW(t.setze_filter({{"name", "<>", std::string("x")}}), abbruch);
    // Lookups respect the filter.
    t.setze_filter({{"name", "LIKE", std::string("O%")}});
    EXPECT_FALSE(t.suche({std::string("Brienz")}));
    EXPECT_TRUE(t.suche({std::string("Obelix")}));
}

TEST_F(Tabelle, AbgebrocheneTransaktionLaesstTabelleUnveraendert) {
    zeile("A", 1, 1, 1.0);
    try {
        transaktion tr(t);
        zeile("A", 1, 2, 2.0);
        zeile("A", 1, 3, 3.0);
        zeile("A", 1, 1, 4.0);  // duplicate: abandons
        tr.bestaetigen();
    } catch (const abbruch&) {
    }
    t.abbrechen();
    EXPECT_EQ(namen_in_reihenfolge(), (std::vector<std::string>{"A/1/1"}));
    {
        transaktion tr(t);
        zeile("A", 1, 2, 2.0);
        tr.bestaetigen();
    }
    EXPECT_EQ(t.anzahl(), 2);
    t.loesche_alle();
    EXPECT_TRUE(t.ist_leer());
}

// A transaction that is rolled back leaves the file byte for byte as it was
// (not even the change counter of its header moves); a nested one rolls
// back only itself.
TEST_F(Tabelle, VerworfeneTransaktionLaesstDieDateiByteGleich) {
    zeile("A", 1, 1, 1.0);
    auto bytes = [&] {
        std::ifstream f(dir / "IR_TA_D.sqlite", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    };
    const std::string vorher = bytes();
    {
        transaktion tr(t);
        for (int n = 2; n < 200; ++n) zeile("A", 1, n, n);
        {
            transaktion innen(t);
            zeile("B", 1, 1, 1.0);
        }
        EXPECT_EQ(t.anzahl(), 199);
    }
    EXPECT_EQ(t.anzahl(), 1);
    EXPECT_TRUE(bytes() == vorher);
}

TEST_F(Tabelle, BenannterIndexUndFremdeAenderungen) {
    tabelle w;
    ASSERT_TRUE(w.oeffne(dir / "WMO.sqlite", tabellenschema(twmo)));
    const std::vector<std::array<const char*, 3>> stationen = {
        {"10348", "Braunschweig", "DE"}, {"06240", "Amsterdam", "NL"}, {"10379", "Potsdam", "DE"}};
    for (const auto& s : stationen) {
        w.einfuegen();
        w.setze("wmo", std::string(s[0]));
        w.setze("name", std::string(s[1]));
        w.setze("land", std::string(s[2]));
        w.speichern();
    }
    w.sortiere_nach_index("iLand_Ort");
    w.erster();
    EXPECT_EQ(w.text("name"), "Braunschweig");
    EXPECT_TRUE(w.suche_naechsten({std::string("NL")}));
    EXPECT_EQ(w.text("name"), "Amsterdam");
    EXPECT_THROW(w.sortiere_nach_index("ikeiner"), abbruch);

    // A second connection deletes a row; the first sees it at the next lookup.
    tabelle zweite;
    ASSERT_TRUE(zweite.oeffne(dir / "WMO.sqlite", tabellenschema(twmo)));
    ASSERT_TRUE(zweite.suche({std::string("10379")}));
    zweite.loeschen();
    EXPECT_EQ(w.anzahl(), 2);
    // A row deleted elsewhere while it is edited here is not silently "saved".
    ASSERT_TRUE(w.suche({std::string("DE")}));
    w.bearbeiten();
    w.setze("hoehe", std::string("81"));
    ASSERT_TRUE(zweite.suche({std::string("10348")}));
    zweite.loeschen();
    EXPECT_THROW(w.speichern(), abbruch);
    EXPECT_TRUE(senke.enthaelt("inzwischen gelöscht"));
    w.abbrechen();
    EXPECT_EQ(w.anzahl(), 1);
}

TEST_F(Tabelle, FremdeDateiWirdNichtUeberschrieben) {
    const auto datei = dir / "TE.sqlite";
    const std::string inhalt = "Dies ist keine Datenbank, sondern ein Text.\n";
    std::ofstream(datei, std::ios::binary) << inhalt;
    tabelle te;
    EXPECT_FALSE(te.oeffne(datei, tabellenschema(tte)));
    EXPECT_FALSE(te.ist_offen());
    EXPECT_TRUE(senke.enthaelt(datei.string()));
    std::ifstream ein(datei, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(ein), {}), inhalt);
    EXPECT_THROW(te.erster(), abbruch);
}

TEST_F(Tabelle, FehlendeSpaltenWerdenGemeldet) {
    // An older file of the weather details without the interval columns.
    {
        tabellen_def alt = tabellenschema(tir_ta_d);
        alt.spalten.resize(5);
        tabelle a;
        ASSERT_TRUE(a.oeffne(dir / "ALT.sqlite", alt));
        a.einfuegen();
        a.setze("name", std::string("X"));
        a.setze("monat", int64_t{1});
        a.setze("nummer", int64_t{1});
        a.speichern();
    }
    tabelle b;
    EXPECT_FALSE(b.oeffne(dir / "ALT.sqlite", tabellenschema(tir_ta_d)));
    EXPECT_TRUE(senke.enthaelt("ALT.sqlite"));
    EXPECT_TRUE(senke.enthaelt("tamin"));
    // The row is still there.
    tabelle c;
    ASSERT_TRUE(c.oeffne_vorhandene(dir / "ALT.sqlite", ""));
    EXPECT_EQ(c.anzahl(), 1);
    EXPECT_EQ(c.schluesselspalten(), (std::vector<std::string>{"name", "monat", "nummer"}));
}

}  // namespace
