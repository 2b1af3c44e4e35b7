#include "sheets/feldpruefung.h"

#include <gtest/gtest.h>

#include "data/datenbank.h"
#include "input/lade_hilfen.h"
#include "sheets/blatt_hilfen.h"

using namespace tabledata;

namespace {

class Feldpruefung : public mit_leerer_datenbank {
protected:
    void SetUp() override {
        mit_leerer_datenbank::SetUp();
        for (const char* name : {"wetter_a", "wetter_b"})
            zeile(tir_ta_m, {{"name", std::string(name)},
                             {"ort", std::string("Potsdam")},
                             {"breite", 52.38},
                             {"einheit_ir", std::string("kWh/qm")},
                             {"einheit_temp", std::string("°C")},
                             {"zeitintervall", std::string("A")},
                             {"ir1", 19.927},
                             {"m1", int64_t{744}}});
        for (int n = 1; n <= 3; ++n)
            zeile(tir_ta_d, {{"name", std::string("wetter_a")}, {"monat", int64_t{1}}, {"nummer", int64_t{n}},
                             {"ir_g", 0.1 * n}});
        zeile(tkol, {{"name", std::string("kol_a")}, {"flaeche", 2.0}, {"einflaeche", std::string("qm")}});
        datensatz("ds_frei", "NF");
        datensatz("ds_fix", "F");
        senke.dialoge.clear();
    }
    static void datensatz(const std::string& name, const std::string& lock) {
        zeile(thaupt, {{"name", name},
                       {"land", std::string("D")},
                       {"bezirk", std::string("BB")},
                       {"ort", std::string("Potsdam")},
                       {"kundennummer", std::string("1")},
                       {"ir_ta_m", std::string("wetter_a")},
                       {"kolo", std::string("kol_a")},
                       {"kolu", std::string("kol_a")},
                       {"lock", lock}});
    }
    static std::vector<feldwert> haupt_schluessel(const std::string& name) {
        return {feldwert(name), feldwert(std::string("D")), feldwert(std::string("BB")),
                feldwert(std::string("Potsdam")), feldwert(std::string("1"))};
    }
    int anzahl_details(const std::string& name) {
        int n = 0;
        tabelle& d = tab(tir_ta_d);
        for (const auto& z : d.lies_alle(d.schluesselspalten()))
            if (als_text(z[0]) == name) ++n;
        return n;
    }
};

// Every kind of misfit is refused with table, row and column named, and the
// row keeps every value, also the valid ones given in the same change.
TEST_F(Feldpruefung, AbgelehnteAenderungLaesstZeileUnveraendert) {
    struct fall {
        std::vector<feldaenderung> aenderung;
        const char* spalte;
        const char* grund;
    };
    const std::vector<fall> faelle = {
        {{{"ort", "Berlin"}, {"breite", "abc"}}, "breite", "ist keine Zahl"},
        {{{"ort", "Berlin"}, {"breite", "95"}}, "breite", "liegt außerhalb von -90 bis 90"},
        {{{"ir1", "1e999"}}, "ir1", "ist keine Zahl"},
        {{{"m1", "2.5"}}, "m1", "ist keine ganze Zahl"},
        {{{"m1", "801"}}, "m1", "ist keine ganze Zahl im Bereich 0 bis 800"},
        {{{"einheit_ir", "kWh/qmx"}}, "einheit_ir", "ist keine Einheit der Einheitentabelle"},
        {{{"einheit_ir", "°C"}}, "einheit_ir", "ist keine Einheit der Größe Einstrahlung"},
        {{{"zeitintervall", "X"}}, "zeitintervall", "ist kein zulässiger Code; zulässig: A, D, T, K"},
        {{{"ort", std::string(21, 'x')}}, "ort", "ist zu lang; höchstens 20 Zeichen"},
        {{{"ort", "Berlin"}, {"name", " "}}, "name", "darf nicht leer sein"},
        {{{"gibtsnicht", "1"}}, "gibtsnicht", "Spalte existiert nicht"},
    };
    const auto vorher = inhalt(tir_ta_m, {feldwert(std::string("wetter_a"))});
    for (const auto& f : faelle) {
        senke.dialoge.clear();
        ASSERT_TRUE(auf(tir_ta_m, {feldwert(std::string("wetter_a"))}));
        EXPECT_FALSE(aendere_datensatz(tir_ta_m, f.aenderung)) << f.spalte;
        ASSERT_EQ(senke.dialoge.size(), 1u) << f.spalte;
        const std::string text = senke.dialoge[0].text;
        EXPECT_EQ(senke.dialoge[0].schwere, 'E');
        EXPECT_NE(text.find("Tabelle ir_ta_m, Zeile \"wetter_a\", Spalte " + std::string(f.spalte)), std::string::npos)
            << text;
        EXPECT_NE(text.find(f.grund), std::string::npos) << text;
        EXPECT_EQ(inhalt(tir_ta_m, {feldwert(std::string("wetter_a"))}), vorher) << f.spalte;
        EXPECT_EQ(tab(tir_ta_m).aktueller_modus(), tabelle::modus::ansicht);
    }
    // A key that another row holds.
    senke.dialoge.clear();
    auf(tir_ta_m, {feldwert(std::string("wetter_a"))});
    EXPECT_FALSE(aendere_datensatz(tir_ta_m, {{"ort", "Berlin"}, {"name", "wetter_b"}}));
    EXPECT_NE(letzter_dialog().find("existiert bereits in Tabelle ir_ta_m: wetter_b"), std::string::npos);
    EXPECT_EQ(inhalt(tir_ta_m, {feldwert(std::string("wetter_a"))}), vorher);

    // The valid change is written, the number read with a decimal comma.
    auf(tir_ta_m, {feldwert(std::string("wetter_a"))});
    EXPECT_TRUE(aendere_datensatz(tir_ta_m, {{"ort", "Berlin"}, {"breite", "52,5"}}));
    auf(tir_ta_m, {feldwert(std::string("wetter_a"))});
    EXPECT_EQ(tab(tir_ta_m).text("ort"), "Berlin");
    EXPECT_DOUBLE_EQ(tab(tir_ta_m).zahl("breite"), 52.5);
}

TEST_F(Feldpruefung, FixierterDatensatzNurFixierungAenderbar) {
    ASSERT_TRUE(auf(thaupt, haupt_schluessel("ds_fix")));
    const auto vorher = inhalt(thaupt, haupt_schluessel("ds_fix"));
    auf(thaupt, haupt_schluessel("ds_fix"));
    EXPECT_FALSE(aendere_datensatz(thaupt, {{"info", "neu"}}));
    EXPECT_NE(letzter_dialog().find("Datensatz ist fixiert, Änderung abgelehnt: ds_fix"), std::string::npos);
    auf(thaupt, haupt_schluessel("ds_fix"));
    EXPECT_FALSE(loesche_datensatz(thaupt));
    EXPECT_EQ(inhalt(thaupt, haupt_schluessel("ds_fix")), vorher);

    // Unfixing is the one change allowed; then the row can be edited.
    auf(thaupt, haupt_schluessel("ds_fix"));
    EXPECT_TRUE(aendere_datensatz(thaupt, {{"lock", "NF"}}));
    auf(thaupt, haupt_schluessel("ds_fix"));
    EXPECT_TRUE(aendere_datensatz(thaupt, {{"info", "neu"}}));
    auf(thaupt, haupt_schluessel("ds_fix"));
    EXPECT_EQ(tab(thaupt).text("info"), "neu");
}

TEST_F(Feldpruefung, VerweiseWerdenVorUmbenennenUndLoeschenGenannt) {
    // No: nothing happens, the question names every referring data set.
    auf(tkol, {feldwert(std::string("kol_a"))});
    EXPECT_FALSE(loesche_datensatz(tkol));
    ASSERT_EQ(senke.fragen.size(), 1u);
    EXPECT_NE(senke.fragen[0].find("ds_fix (kolu), ds_fix (kolo), ds_frei (kolu), ds_frei (kolo)"), std::string::npos)
        << senke.fragen[0];
    EXPECT_TRUE(auf(tkol, {feldwert(std::string("kol_a"))}));

    auf(tir_ta_m, {feldwert(std::string("wetter_a"))});
    EXPECT_FALSE(aendere_datensatz(tir_ta_m, {{"name", "wetter_c"}}));
    EXPECT_TRUE(auf(tir_ta_m, {feldwert(std::string("wetter_a"))}));
    EXPECT_EQ(anzahl_details("wetter_a"), 3);

    // Yes: a renamed weather record takes its detail rows along; a deleted
    // one removes them.
    senke.antwort_ja = true;
    auf(tir_ta_m, {feldwert(std::string("wetter_a"))});
    EXPECT_TRUE(aendere_datensatz(tir_ta_m, {{"name", "wetter_c"}}));
    EXPECT_EQ(anzahl_details("wetter_a"), 0);
    EXPECT_EQ(anzahl_details("wetter_c"), 3);
    auf(tir_ta_m, {feldwert(std::string("wetter_c"))});
    EXPECT_TRUE(loesche_datensatz(tir_ta_m));
    EXPECT_FALSE(auf(tir_ta_m, {feldwert(std::string("wetter_c"))}));
    EXPECT_EQ(anzahl_details("wetter_c"), 0);
}

TEST_F(Feldpruefung, NeuanlegenPrueftUndSetztNichtFixiert) {
    EXPECT_FALSE(lege_datensatz_an(thaupt, {{"name", "neu"}, {"land", "D"}}));  // bezirk, ort, kundennummer empty
    EXPECT_NE(letzter_dialog().find("darf nicht leer sein"), std::string::npos);
    EXPECT_TRUE(lege_datensatz_an(thaupt, {{"name", "neu"}, {"land", "D"}, {"bezirk", "B"}, {"ort", "O"},
                                           {"kundennummer", "7"}}));
    EXPECT_EQ(tab(thaupt).text("lock"), "NF");
    EXPECT_EQ(tab(thaupt).text("name"), "neu");
    EXPECT_FALSE(lege_datensatz_an(thaupt, {{"name", "neu"}, {"land", "D"}, {"bezirk", "B"}, {"ort", "O"},
                                            {"kundennummer", "7"}}));
    EXPECT_NE(letzter_dialog().find("existiert bereits"), std::string::npos);
    // A heat pump is keyed by name and working kind, which must be a code.
    EXPECT_FALSE(lege_datensatz_an(twp, {{"name", "wp"}, {"arbeitsweise", "xx"}}));
    EXPECT_TRUE(lege_datensatz_an(twp, {{"name", "wp"}, {"arbeitsweise", "we"}}));
    EXPECT_TRUE(lege_datensatz_an(twp, {{"name", "wp"}, {"arbeitsweise", "ww"}}));
}

TEST_F(Feldpruefung, EnglischeMeldung) {
    setze_sprache(SPRACHE_ENGLISCH);
    auf(tir_ta_m, {feldwert(std::string("wetter_a"))});
    EXPECT_FALSE(aendere_datensatz(tir_ta_m, {{"breite", "x"}}));
    EXPECT_EQ(letzter_dialog(),
              "Error: value does not fit table ir_ta_m, row \"wetter_a\", column breite: \"x\" is not a number");
}

// The checks refuse nothing the program's own default database holds.
class FeldpruefungDefault : public mit_default_datenbank {};

TEST_F(FeldpruefungDefault, JederWertDerDefaultDatenbankPasst) {
    int geprueft = 0;
    std::vector<std::string> abgelehnt;
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        tabelle& t = tab(i);
        if (!t.ist_offen() || i == tmemodb) continue;
        for (const auto& z : t.lies_alle(t.schluesselspalten())) {
            for (int s = 0; s < t.spaltenanzahl(); ++s) {
                const auto grund = pruefe_feldwert(i, t.spalte(s).name, als_text(z[static_cast<size_t>(s)]), "");
                ++geprueft;
                if (grund && abgelehnt.size() < 5) abgelehnt.push_back(*grund);
            }
        }
    }
    EXPECT_GT(geprueft, 100000);
    EXPECT_TRUE(abgelehnt.empty()) << abgelehnt.front();
}

}  // namespace
