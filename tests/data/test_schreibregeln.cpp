#include "data/schreibregeln.h"
#include "data/tabelle.h"
#include "data/tabellen_schema.h"
#include "testhilfe.h"

using namespace tabledata;

namespace {

class Schreibregeln : public temp_verzeichnis_test {};

TEST_F(Schreibregeln, FixierungDerDatensaetze) {
    tabelle h;
    ASSERT_TRUE(h.oeffne(dir / "HAUPT.sqlite", tabellenschema(thaupt)));
    auto neu = [&](const std::string& name) {
        neuer_hauptdatensatz(h);
        for (const char* k : {"land", "bezirk", "ort", "kundennummer"}) h.setze(k, std::string("x"));
        h.setze("name", name);
        h.speichern();
    };
    for (const char* n : {"A", "B", "C", "D"}) neu(n);
    ASSERT_TRUE(h.suche({std::string("B")}));
    EXPECT_EQ(h.text("lock"), "NF");
    fixiere_hauptdatensatz(h);
    // A row with another mark (or none) is not "not fixed".
    ASSERT_TRUE(h.suche({std::string("D")}));
    h.bearbeiten();
    h.setze("lock", feldwert());
    h.speichern();
    // The cursor's own filter does not narrow the deletion.
    h.setze_filter({{"name", "=", std::string("A")}});
    EXPECT_EQ(loesche_nicht_fixierte_datensaetze(h), 2);
    h.filter_aus();
    std::vector<std::string> rest;
    for (h.erster(); !h.eof(); h.naechster()) rest.push_back(h.text("name") + ":" + h.text("lock"));
    EXPECT_EQ(rest, (std::vector<std::string>{"B:F", "D:"}));
}

TEST_F(Schreibregeln, DetailzeileUebernimmtZeitintervall) {
    tabelle m, d;
    ASSERT_TRUE(m.oeffne(dir / "IR_TA_M.sqlite", tabellenschema(tir_ta_m)));
    ASSERT_TRUE(d.oeffne(dir / "IR_TA_D.sqlite", tabellenschema(tir_ta_d)));
    m.einfuegen();
    m.setze("name", std::string("Potsdam"));
    m.setze("zeitintervall", std::string("A"));
    m.speichern();
    d.einfuegen();
    d.setze("name", std::string("Potsdam"));
    d.setze("monat", int64_t{1});
    d.setze("nummer", int64_t{1});
    uebernehme_zeitintervall(d, m);
    d.speichern();
    EXPECT_EQ(d.text("zeitintervall"), "A");
}

}  // namespace
