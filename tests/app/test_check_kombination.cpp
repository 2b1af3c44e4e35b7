// The plant-combination check on the reference site with changed codes.

#include "app/check_kombination.h"
#include "../input/lade_hilfen.h"

using namespace tabledata;

namespace {

const char* const VERBOTEN = "Fehler: Kombination verboten. Nächste an/num: ";
const char* const TESTWORT = "ZEEJAEWMVANNSB4";  // an ZJEG, num MAVN-N

struct kombinationsfall {
    const char* name;
    std::vector<std::pair<int, const char*>> codes;
    bool zwischenwaermetauscher;
    int bkflag;
    const char* meldung;  // expected among the dialogs (nullptr: none beyond the final one)
};

}  // namespace

class CheckKombinationTest : public mit_default_datenbank {
protected:
    void SetUp() override {
        mit_default_datenbank::SetUp();
        ASSERT_TRUE(lade("Braunschweig EFH"));
        senke.dialoge.clear();
        numchar = zustand::numchar();
        numchar[ndata::meldungsmodus] = "M";
        // The linear model of the heat pumps, as every analytic data set has.
        numchar[ndata::modelltyp_ww] = "L";
        vdatt = zustand::vdatt();
    }
    int pruefe(bool zwt = false) {
        int bkflag = -1;
        CheckKombination(vdatt, numchar, bkflag, [zwt](flagchar, datt) { return zwt; });
        return bkflag;
    }
    bool gemeldet(const std::string& text) const {
        for (const auto& d : senke.dialoge)
            if (d.text == text) return true;
        return false;
    }
    flagchar numchar;
    datt vdatt{};
};

TEST_F(CheckKombinationTest, ReferenzanlageIstErlaubt) {
    EXPECT_EQ(pruefe(), 1);
    EXPECT_TRUE(senke.dialoge.empty());
}

TEST_F(CheckKombinationTest, VerweigerungenUndWarnungen) {
    using namespace ndata;
    const std::vector<kombinationsfall> faelle = {
        {"konstante Leistung analytisch", {{kopplungsart, "K"}, {rechenart, "A"}}, false, 0, nullptr},
        {"Luftkollektor ohne Gegenstrom", {{gegenstrom, "K"}}, true, 0,
         "Fehler: Anlage hat keinen Gegenstromwärmetauscher"},
        {"Luftkollektor mit Gegenstrom", {{gegenstrom, "G"}}, true, 1, nullptr},
        {"Intervall analytisch", {{zeitraum, "I"}, {rechenart, "A"}, {kopplungsart, "L"}}, false, 0,
         "Fehler: Nur Reservoir T erlaubt"},
        {"Intervall analytisch Reservoir", {{zeitraum, "I"}, {rechenart, "A"}, {kopplungsart, "A"}}, false, 2,
         "Optimiert mit beliebig großem Speicher; Nicht optimal bei kleinen Speichern."},
        {"Monatswerte ohne Erst verbrauchen", {{speicherfolge, "V"}}, false, 2,
         "Warnung: Option Energieverbrauch \"Erst verbrauchen\" ist besser"},
        {"zwei Kollektoren mit quadratischem Verlust", {{anzahl_kollektoren, "Z"}}, true, 0,
         "Fehler: Nur ein Kollektor in Serie erlaubt"},
        {"hyperbolische Zwischenwärmepumpe", {{modelltyp_ww, "H"}, {rechenart, "A"}}, false, 0,
         "Fehler: Kein hyperbolisches Zwischenwärmepumpenmodell erlaubt"},
        {"polynomiale Zwischenwärmepumpe analytisch", {{modelltyp_ww, "4"}, {rechenart, "A"}}, false, 0,
         "Fehler: Die analytische Rechnung mit Zwischenkopplung braucht das lineare (oder analytische) Modell "
         "der Zwischenwärmepumpe, nicht das Polynom"},
        {"diffuse Monatswerte gelesen", {{diffusestrahlung, "E"}}, false, 2,
         "Warnung: Kontrolle: Monatswerte für diffuse Einstrahlung vorhanden?"},
        {"diffuse Stundenwerte gelesen", {{diffusestrahlung, "E"}, {zeitintervall, "A"}, {strahlung, "D"}}, false,
         1, nullptr},
        // A warning after a refusal does not make the combination allowed.
        {"Verweigerung bleibt trotz Warnung",
         {{zeitraum, "I"}, {rechenart, "A"}, {kopplungsart, "L"}, {speicherfolge, "V"}}, false, 0,
         "Warnung: Option Energieverbrauch \"Erst verbrauchen\" ist besser"},
    };
    const flagchar basis = numchar;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        numchar = basis;
        for (const auto& [pos, code] : f.codes) numchar[static_cast<size_t>(pos)] = code;
        senke.dialoge.clear();
        EXPECT_EQ(pruefe(f.zwischenwaermetauscher), f.bkflag);
        if (f.meldung) {
            EXPECT_TRUE(gemeldet(f.meldung));
        }
        EXPECT_EQ(gemeldet(std::string(VERBOTEN) + TESTWORT), f.bkflag == 0);
    }
}

// With the reservoir exchanger the block length of the interval kernel must
// fit its buffers of 12 intervals; other exchangers do not read it.
TEST_F(CheckKombinationTest, BlocklaengeDesReservoirtauschers) {
    struct fall {
        const char* gegenstrom;
        int maxmittemp;
        int bkflag;
    };
    const flagchar basis = numchar;
    const int32_t vorher = zustand::lauf().maxmittemp;
    for (const fall& f : {fall{"R", 24, 0}, fall{"R", 0, 0}, fall{"R", 13, 0}, fall{"R", 12, 1},
                          fall{"R", 1, 1}, fall{"G", 24, 1}}) {
        SCOPED_TRACE(std::string(f.gegenstrom) + " " + std::to_string(f.maxmittemp));
        numchar = basis;
        numchar[ndata::gegenstrom] = f.gegenstrom;
        zustand::lauf().maxmittemp = f.maxmittemp;
        senke.dialoge.clear();
        EXPECT_EQ(pruefe(), f.bkflag);
        const std::string grund =
            "Fehler: Mit Wärmetauscher \"R\" muss die Blocklänge maxmittemp (Tabelle rech) zwischen 1 und "
            "12 liegen; sie ist " + std::to_string(f.maxmittemp) + ".";
        EXPECT_EQ(gemeldet(grund), f.bkflag == 0);
    }
    zustand::lauf().maxmittemp = vorher;
}

TEST_F(CheckKombinationTest, NeigungDerWetterdatenBestimmtKollektorneigung) {
    feld_zeitweise wetter(tir_ta_m, {feldwert(std::string("ir_braunschweig_in_kWh"))}, "theta", feldwert(30.0));
    feld_zeitweise neigung(tlage, {feldwert(std::string("l0"))}, "theta", feldwert(30.0));
    {
        tab(tir_ta_m).suche({feldwert(std::string("ir_braunschweig_in_kWh"))});
        tab(tlage).suche({feldwert(std::string("l0"))});
        EXPECT_EQ(pruefe(), 1);
    }
    {
        feld_zeitweise azimut(tlage, {feldwert(std::string("l0"))}, "phi", feldwert(10.0));
        tab(tir_ta_m).suche({feldwert(std::string("ir_braunschweig_in_kWh"))});
        // No tested combination near the word: the word is still named.
        tabelle& k = tab(tkontrolle);
        transaktion tr(k);
        k.loesche_alle();
        senke.dialoge.clear();
        EXPECT_EQ(pruefe(), 0);
        EXPECT_TRUE(gemeldet("Fehler: Mögliche Kollekorneigung nur 30°"));
        EXPECT_TRUE(gemeldet(std::string(VERBOTEN) + TESTWORT));
    }
}
