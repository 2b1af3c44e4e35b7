#include <gtest/gtest.h>

#include "lang/meldung.h"
#include "lang/sprache.h"
#include "support/aufzeichnende_senke.h"

using Meldung = mit_meldungen;

TEST_F(Meldung, ModusUndSchwereEntscheidenUeberDialogProtokollUndAbbruch) {
    struct fall {
        std::string modus;
        char schwere;
        bool ja;               // answer to a question
        bool dialog;           // shown as a dialog
        bool frage;            // asked as Yes/No
        bool protokoll;        // written to the protocol file
        bool bricht_ab;        // throws abbruch
    };
    const fall faelle[] = {
        {"M", 'E', false, true, false, false, false},
        {"M", 'W', false, true, false, false, false},
        {"M", 'M', false, true, false, false, false},
        {"M", 'T', false, true, false, false, true},
        {"M", 'A', false, false, true, false, false},
        {"M", 'A', true, false, true, false, true},
        {"S", 'E', false, false, false, true, false},
        {"S", 'T', false, false, false, true, true},
        {"S", 'A', true, false, false, true, false},
        {"", 'W', false, false, false, true, false},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(f.modus + " " + f.schwere);
        senke = aufzeichnende_senke{};
        senke.antwort_ja = f.ja;
        leere_protokoll();
        bool abgebrochen = false;
        try {
            meldung("Text", f.modus, f.schwere);
        } catch (const abbruch&) {
            abgebrochen = true;
        }
        EXPECT_EQ(abgebrochen, f.bricht_ab);
        EXPECT_EQ(senke.dialoge.size(), f.dialog ? 1u : 0u);
        EXPECT_EQ(senke.fragen.size(), f.frage ? 1u : 0u);
        EXPECT_EQ(protokollzeilen().size(), f.protokoll ? 1u : 0u);
        EXPECT_EQ(senke.cursor_resets, f.bricht_ab ? 1 : 0);
    }
}

TEST_F(Meldung, FrageZeigtTextUndBestaetigung) {
    meldung("Warnung: COP", "M", 'A');
    ASSERT_EQ(senke.fragen.size(), 1u);
    EXPECT_EQ(senke.fragen[0], "Warnung: COP #13 Anwendung beenden?");
    setze_sprache(SPRACHE_ENGLISCH);
    meldung("Warning", "M", 'A');
    EXPECT_EQ(senke.fragen[1], "Warning #13 Terminate application?");
}

TEST_F(Meldung, ProtokolldateiJeSpracheWirdAngelegtUndFortgeschrieben) {
    meldung("eins", "S", 'W');
    meldung("zwei", "S", 'E');
    EXPECT_EQ(protokolldatei(), verzeichnis / "Protokoll.pro");
    EXPECT_EQ(protokollzeilen(), (std::vector<std::string>{"eins", "zwei"}));

    setze_sprache(SPRACHE_ENGLISCH);
    EXPECT_EQ(protokolldatei(), verzeichnis / "Protocol.pro");
    meldung("three", "S", 'M');
    EXPECT_EQ(protokollzeilen(), (std::vector<std::string>{"three"}));
    EXPECT_TRUE(std::filesystem::exists(verzeichnis / "Protokoll.pro"));

    leere_protokoll();
    EXPECT_EQ(std::filesystem::file_size(verzeichnis / "Protocol.pro"), 0u);
}

TEST_F(Meldung, AbbruchLaesstGeschriebeneZeilenStehen) {
    auto operation = [] {
        meldung("vorher", "S", 'W');
        meldung("Fehler: Abbruch", "S", 'T');
        meldung("nachher", "S", 'W');
    };
    EXPECT_THROW(operation(), abbruch);
    EXPECT_EQ(protokollzeilen(), (std::vector<std::string>{"vorher", "Fehler: Abbruch"}));
}

TEST_F(Meldung, DeutschGebauteMeldungenFolgenDerSprache) {
    // Messages the engine builds from German text and numbers: German as
    // built, English with English chosen (dialog and protocol alike).
    struct fall {
        std::string deutsch, englisch;
    };
    const fall faelle[] = {
        {"Warnung: Energiebilanz nicht ausgeglichen.", "Warning: energy balance not balanced."},
        {"Fehler: Monat 13 hat 900 Intervalle; erlaubt sind 0 bis 800",
         "Error: month 13 has 900 intervals; allowed are 0 to 800"},
        {"Warnung: Luftgeschwindigkeit konvergiert nicht (Monat 3, Intervall 17)",
         "Warning: air speed does not converge (month 3, interval 17)"},
        {"Fehler: Falscher Abwärmenutzungskoeffizient oder falsches Eta für wpfür Kraftwerk",
         "Error: wrong waste-heat coefficient or wrong eta for hp for the power station"},
        // English already, or a name that only looks like a piece: unchanged.
        {"Error: no device connection", "Error: no device connection"},
        {"Kollektor Euro C 20", "Kollektor Euro C 20"},
    };
    for (const fall& f : faelle) {
        setze_sprache(SPRACHE_DEUTSCH);
        meldung(f.deutsch, "M", 'W');
        EXPECT_EQ(senke.dialoge.back().text, f.deutsch);
        setze_sprache(SPRACHE_ENGLISCH);
        meldung(f.deutsch, "S", 'W');
        EXPECT_EQ(protokollzeilen().back(), f.englisch);
    }
}
