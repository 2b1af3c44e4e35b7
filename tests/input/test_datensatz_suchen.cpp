#include "input/datensatz_suchen.h"

#include <gtest/gtest.h>

#include <set>

#include "data/datenbank.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;

namespace {

class Suchen : public mit_leerer_datenbank {
protected:
    void SetUp() override {
        mit_leerer_datenbank::SetUp();
        datensatz("a", "D", "BB", "Potsdam", "1", "NF");
        datensatz("b", "D", "BB", "Potsdam", "2", "NF");
        datensatz("c", "D", "NI", "Braunschweig", "1", "NF");
        datensatz("d", "D", "NI", "Braunschweig", "1", "F");
        datensatz("e", "A", "W", "Wien", "1", "NF");
        senke.dialoge.clear();
    }
    static void datensatz(const char* name, const char* land, const char* bezirk, const char* ort, const char* k,
                          const char* lock) {
        zeile(thaupt, {{"name", std::string(name)},
                       {"land", std::string(land)},
                       {"bezirk", std::string(bezirk)},
                       {"ort", std::string(ort)},
                       {"kundennummer", std::string(k)},
                       {"lock", std::string(lock)}});
    }
    static std::set<std::string> namen() {
        std::set<std::string> r;
        tabelle& h = tab(thaupt);
        for (h.erster(); !h.eof(); h.naechster()) r.insert(h.text("name"));
        return r;
    }
    static std::map<std::string, std::string> alle(const char* wert) {
        return {{"name", wert}, {"land", wert}, {"bezirk", wert}, {"ort", wert}, {"kundennummer", wert}};
    }
};

TEST_F(Suchen, PositioniertAufDenNaechstenDatensatz) {
    EXPECT_EQ(suchspalten(thaupt), (std::vector<std::string>{"land", "bezirk", "ort", "kundennummer", "name"}));
    EXPECT_TRUE(suche_positionieren(thaupt, {{"land", "D"}, {"bezirk", "N"}}));
    EXPECT_EQ(tab(thaupt).text("name"), "c");
    EXPECT_TRUE(suche_positionieren(thaupt, {{"land", "D"}, {"bezirk", "BB"}, {"ort", "Potsdam"}, {"kundennummer", "2"}}));
    EXPECT_EQ(tab(thaupt).text("name"), "b");
    // Beyond the last row (D, NI, Braunschweig, 1, d): the last row, and false.
    EXPECT_FALSE(suche_positionieren(thaupt, {{"land", "Z"}}));
    EXPECT_EQ(tab(thaupt).text("name"), "d");
}

TEST_F(Suchen, MassenloeschenMitStern) {
    // No: nothing is deleted, the fields are not even checked.
    EXPECT_EQ(loesche_gefundene_datensaetze(thaupt, alle("*")), 0);
    ASSERT_EQ(senke.fragen.size(), 1u);
    EXPECT_EQ(senke.fragen[0], "Alle Datensätze mit den Feldwerten löschen?");
    EXPECT_EQ(namen().size(), 5u);

    senke.antwort_ja = true;
    // An empty key field: refused, nothing deleted.
    auto felder = alle("*");
    felder["ort"] = "";
    EXPECT_EQ(loesche_gefundene_datensaetze(thaupt, felder), 0);
    EXPECT_EQ(letzter_dialog(), "Fehler: Bitte Namen in Sortierfeld eingeben.");
    EXPECT_EQ(namen().size(), 5u);

    // Exact texts and "*" mixed: the two Potsdam rows of BB.
    felder = alle("*");
    felder["ort"] = "Potsdam";
    EXPECT_EQ(loesche_gefundene_datensaetze(thaupt, felder), 2);
    EXPECT_EQ(namen(), (std::set<std::string>{"c", "d", "e"}));

    // "*" everywhere: every row not fixed; the fixed one is kept and named.
    EXPECT_EQ(loesche_gefundene_datensaetze(thaupt, alle("*")), 2);
    EXPECT_EQ(namen(), (std::set<std::string>{"d"}));
    EXPECT_EQ(letzter_dialog(), "Fixierte Datensätze nicht gelöscht: d");
}

TEST_F(Suchen, FilterBindetDenText) {
    setze_suchfilter(thaupt, "ort", "B%");
    EXPECT_EQ(namen(), (std::set<std::string>{"c", "d"}));
    // A quote in the text is a character to search for, not SQL.
    setze_suchfilter(thaupt, "ort", "x' OR '1'='1");
    EXPECT_TRUE(namen().empty());
    loesche_suchfilter(thaupt);
    EXPECT_EQ(namen().size(), 5u);
    // A column the table does not have is refused.
    EXPECT_THROW(setze_suchfilter(thaupt, "ort; DROP TABLE haupt", "x"), abbruch);
}

TEST_F(Suchen, MenueUndEinheitenliste) {
    const auto& m = neuanlegen_menue();
    EXPECT_EQ(m.size(), 36u);
    std::set<int> tabellen;
    for (const auto& e : m) tabellen.insert(e.tabelle);
    EXPECT_EQ(tabellen.size(), m.size());  // every item its own table
    EXPECT_STREQ(m.front().text.deutsch, "IR_TA_M  (Mittel: Einstr., Temp.)");
    EXPECT_EQ(m.front().tabelle, tir_ta_m);
    EXPECT_EQ(m[1].tabelle, tir_ta_d);
    EXPECT_TRUE(m[1].details);
    EXPECT_EQ(m.back().tabelle, tlage);

    EXPECT_EQ(fuelle_einheiten_box("TE"), (std::vector<std::string>{"F", "°C"}));
    EXPECT_EQ(fuelle_einheiten_box("IR").size(), 10u);  // nine per-day or per-month units and kWh/qm
    // Captions in the chosen language, not the stored column names.
    EXPECT_EQ(Spalten_ueberschriften(tkalk).front(), "Name");
    EXPECT_EQ(Spalten_ueberschriften(tkalk)[1], "Zinssatz");
}

}  // namespace
