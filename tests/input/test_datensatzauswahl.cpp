// Data set selection on `haupt`: record copy names, the search filter, the
// fixation marks and deleting, the limits of a data set's run.

#include "input/datensatzauswahl.h"
#include "lade_hilfen.h"
#include "lang/meldung.h"

using namespace tabledata;

namespace {
std::vector<std::string> namen() {
    std::vector<std::string> r;
    const zeilenliste l = lies_haupt_liste();
    const int c = l.spalte("name");
    for (const auto& z : l.zeilen) r.push_back(z[static_cast<std::size_t>(c)]);
    return r;
}
}  // namespace

TEST(Datensatzauswahl, KopienameErsetztDasVorletzteZeichen) {
    const std::pair<const char*, const char*> faelle[] = {
        {"abcde", "abc*e"}, {"ab", "*b"}, {"a", "*a"}, {"", "*"}, {"Größe", "Grö*e"}, {"Maß", "M*ß"}};
    for (const auto& [name, kopie] : faelle) EXPECT_EQ(kopiename(name), kopie) << name;
}

class Suchfilter : public mit_default_datenbank {
protected:
    void TearDown() override {
        wende_suchfilter_an({});
        mit_default_datenbank::TearDown();
    }
};

TEST_F(Suchfilter, FelderWirkenZusammenUndLeereFelderZeigenAlles) {
    haupt_ordnen();
    const auto alle = namen();
    ASSERT_GT(alle.size(), 40u);
    wende_suchfilter_an({"test_ir%", "", "", "", ""});
    EXPECT_EQ(namen(), (std::vector<std::string>{"test_ir_D_EJEG_IAAN-D_st0", "test_ir_T_EJEG_IAAN-T_st0"}));
    // Several fields restrict together; '_' stands for one character.
    wende_suchfilter_an({"test_EJEG_IAAN-D_st_", "D", "", "Braunschweig", ""});
    EXPECT_EQ(namen(), (std::vector<std::string>{"test_EJEG_IAAN-D_st0", "test_EJEG_IAAN-D_st2"}));
    wende_suchfilter_an({"test_EJEG_IAAN-D_st_", "D", "", "Nirgendwo", ""});
    EXPECT_TRUE(namen().empty());
    // A text with quotes is a value, never SQL.
    wende_suchfilter_an({"x' OR '1'='1", "", "", "", ""});
    EXPECT_TRUE(namen().empty());
    wende_suchfilter_an({});
    EXPECT_EQ(namen(), alle);
}

class Aufraeumen : public mit_default_datenbank {};

TEST_F(Aufraeumen, LoeschenTrifftNurNichtFixierteAuchUnterFilter) {
    haupt_ordnen();
    ASSERT_EQ(fixierungen_loeschen(), static_cast<int64_t>(namen().size()));
    speichere_datensatz("Braunschweig EFH", {{"lock", "F"}});
    // Filtered to one other data set, deleting still deletes every one not fixed.
    wende_suchfilter_an({"EFH Potsdam%", "", "", "", ""});
    EXPECT_GT(nicht_fixierte_loeschen(), 40);
    wende_suchfilter_an({});
    EXPECT_EQ(namen(), std::vector<std::string>{"Braunschweig EFH"});
    // Only fixed rows: nothing is deleted.
    EXPECT_EQ(nicht_fixierte_loeschen(), 0);
    EXPECT_EQ(namen(), std::vector<std::string>{"Braunschweig EFH"});
}

TEST_F(Aufraeumen, GrenzenMitFalscherZahlAendernNichts) {
    tabelle& h = tab(thaupt);
    h.filter_aus();
    ASSERT_TRUE(positioniere_haupt("Braunschweig EFH"));
    const std::string rech = h.text("rech"), kolo = h.text("kolo");
    const grenzen_und_schrittweiten vorher = lies_grenzen(rech, kolo);
    ASSERT_TRUE(vorher.gefunden);
    grenzen_und_schrittweiten g = vorher;
    g.maxa = "30";
    g.flaeche = "zwei";
    EXPECT_THROW(speichere_grenzen(rech, kolo, g), abbruch);
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find("flaeche"), std::string::npos);
    EXPECT_EQ(lies_grenzen(rech, kolo).maxa, vorher.maxa);
    g.flaeche = "2,5";
    speichere_grenzen(rech, kolo, g);
    EXPECT_EQ(lies_grenzen(rech, kolo).maxa, "30");
    EXPECT_EQ(lies_grenzen(rech, kolo).flaeche, "2.5");
    speichere_grenzen(rech, kolo, vorher);
}
