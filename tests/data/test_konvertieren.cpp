#include <fstream>

#include "data/konvertieren.h"
#include "data/tabelle.h"
#include "data/tabellen_schema.h"
#include "testhilfe.h"

using namespace tabledata;

namespace {

class Konvertieren_ : public temp_verzeichnis_test {
protected:
    void SetUp() override {
        temp_verzeichnis_test::SetUp();
        std::filesystem::create_directories(dir / "alt");
        // Current collector table with one row.
        ASSERT_TRUE(ziel.oeffne(dir / "KOL.sqlite", tabellenschema(tkol)));
        zeile(ziel, {{"name", std::string("K1")}, {"flaeche", 1.0}, {"info", std::string("bleibt")}});
        ziel.schliesse();
        // An older collector table: fewer columns, one the current one lacks.
        tabellen_def alt{"kol",
                         {{"name", spaltentyp::text, 50, true},
                          {"flaeche", spaltentyp::real, 0, false},
                          {"einflaeche", spaltentyp::text, 20, false},
                          {"altfeld", spaltentyp::text, 20, false}},
                         {"name"},
                         {}};
        ASSERT_TRUE(quelle.oeffne(dir / "alt" / "kol.db", alt));
        zeile(quelle, {{"name", std::string("K1")}, {"flaeche", 2.5}, {"einflaeche", std::string("qm")}});
        zeile(quelle, {{"name", std::string("K2")}, {"flaeche", 3.0}, {"einflaeche", std::string("")}});
        quelle.schliesse();
    }
    static void zeile(tabelle& t, std::vector<std::pair<std::string, feldwert>> felder) {
        t.einfuegen();
        for (auto& [s, w] : felder) t.setze(s, w);
        t.speichern();
    }
    tabelle quelle, ziel;
};

TEST_F(Konvertieren_, AktualisiertVorhandeneUndFuegtNeueMitDefaultsEin) {
    const auto e = Konvertieren(dir / "alt" / "kol.db", dir / "KOL.sqlite");
    EXPECT_TRUE(e.erfolgreich);
    EXPECT_EQ(e.aktualisiert, 1);
    EXPECT_EQ(e.eingefuegt, 1);
    ASSERT_TRUE(ziel.oeffne(dir / "KOL.sqlite", tabellenschema(tkol)));
    EXPECT_EQ(ziel.anzahl(), 2);
    ASSERT_TRUE(ziel.suche({std::string("K1")}));
    EXPECT_DOUBLE_EQ(ziel.zahl("flaeche"), 2.5);  // updated in place
    EXPECT_EQ(ziel.text("einflaeche"), "qm");
    EXPECT_EQ(ziel.text("info"), "bleibt");  // the source has no such column
    ASSERT_TRUE(ziel.suche({std::string("K2")}));
    EXPECT_DOUBLE_EQ(ziel.zahl("flaeche"), 3.0);
    EXPECT_EQ(ziel.text("einflaeche"), "-");  // empty in the source
    EXPECT_EQ(ziel.text("info"), "-");
    EXPECT_EQ(ziel.text("rohrverlegung"), "-");
    EXPECT_TRUE(std::holds_alternative<double>(ziel.wert("alpha")));
    EXPECT_DOUBLE_EQ(ziel.zahl("alpha"), 0.0);
}

TEST_F(Konvertieren_, AndereSchluesselanzahlFuegtAllesNeuEin) {
    // Current heat pumps are keyed by name and arbeitsweise; the old table by name only.
    ASSERT_TRUE(ziel.oeffne(dir / "WP.sqlite", tabellenschema(twp)));
    zeile(ziel, {{"name", std::string("WP1")}, {"arbeitsweise", std::string("we")}, {"eta", 0.5}});
    ziel.schliesse();
    tabellen_def alt{
        "wp", {{"name", spaltentyp::text, 50, true}, {"eta", spaltentyp::real, 0, false}}, {"name"}, {}};
    ASSERT_TRUE(quelle.oeffne(dir / "alt" / "wp.db", alt));
    zeile(quelle, {{"name", std::string("WP1")}, {"eta", 0.7}});
    quelle.schliesse();

    const auto e = Konvertieren(dir / "alt" / "wp.db", dir / "WP.sqlite");
    EXPECT_EQ(e.aktualisiert, 0);
    EXPECT_EQ(e.eingefuegt, 1);
    ASSERT_TRUE(ziel.oeffne(dir / "WP.sqlite", tabellenschema(twp)));
    ASSERT_TRUE(ziel.suche({std::string("WP1"), std::string("we")}));
    EXPECT_DOUBLE_EQ(ziel.zahl("eta"), 0.5);
    ASSERT_TRUE(ziel.suche({std::string("WP1"), std::string("-")}));
    EXPECT_DOUBLE_EQ(ziel.zahl("eta"), 0.7);
}

TEST_F(Konvertieren_, AbgebrochenLaesstZielUnveraendert) {
    // A value that does not fit its target column, after rows that would fit.
    tabellen_def alt{"kol",
                     {{"name", spaltentyp::text, 50, true}, {"flaeche", spaltentyp::text, 20, false}},
                     {"name"},
                     {}};
    ASSERT_TRUE(quelle.oeffne(dir / "alt" / "kol2.db", alt));
    zeile(quelle, {{"name", std::string("A")}, {"flaeche", std::string("4")}});
    zeile(quelle, {{"name", std::string("K1")}, {"flaeche", std::string("7")}});
    zeile(quelle, {{"name", std::string("Z")}, {"flaeche", std::string("viel")}});
    quelle.schliesse();
    EXPECT_THROW(Konvertieren(dir / "alt" / "kol2.db", dir / "KOL.sqlite"), abbruch);
    EXPECT_TRUE(senke.enthaelt("flaeche"));
    ASSERT_TRUE(ziel.oeffne(dir / "KOL.sqlite", tabellenschema(tkol)));
    EXPECT_EQ(ziel.anzahl(), 1);
    ASSERT_TRUE(ziel.suche({std::string("K1")}));
    EXPECT_DOUBLE_EQ(ziel.zahl("flaeche"), 1.0);
}

TEST_F(Konvertieren_, AbgebrochenerDialogUndFalscheQuelle) {
    EXPECT_FALSE(Konvertieren({}, dir / "KOL.sqlite").erfolgreich);
    EXPECT_FALSE(Konvertieren(dir / "KOL.sqlite", dir / "KOL.sqlite").erfolgreich);
    std::ofstream(dir / "alt" / "text.db") << "kein SQLite";
    EXPECT_FALSE(Konvertieren(dir / "alt" / "text.db", dir / "KOL.sqlite").erfolgreich);
    EXPECT_TRUE(senke.enthaelt("text.db"));
}

}  // namespace
