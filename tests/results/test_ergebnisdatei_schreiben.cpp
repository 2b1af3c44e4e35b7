#include <gtest/gtest.h>

#include <algorithm>

#include "results/ergebnisdatei_schreiben.h"
#include "results/ergebnistexte.h"
#include "support/aufzeichnende_senke.h"
#include "results/ergebnis_hilfen.h"

namespace {

class Ergebnisdatei : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        angaben.hauptname = "Müller Süd";
        angaben.ergebnisdatei = verzeichnis / "lauf.sim";
        angaben.ergebnisverzeichnis = verzeichnis;
        angaben.steuername = "steuer";
        angaben.flaecheneinheit = "qm";
        for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
    }
    void TearDown() override {
        for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
        mit_meldungen::TearDown();
    }
    // The 30-character fields of a column line (before its NUL).
    static std::vector<std::string> felder(const std::string& zeile) {
        std::vector<std::string> f;
        const std::string teil = zeile.substr(0, zeile.find('\0'));
        for (std::size_t a = 0, p; (p = teil.find(",  ", a)) != std::string::npos; a = p + 3)
            f.push_back(teil.substr(a, p - a));
        return f;
    }

    ergebnisdatei_angaben angaben;
    std::unique_ptr<datm> d = gefuellte_ergebnisse();
    parreadtab tab;
};

}  // namespace

TEST_F(Ergebnisdatei, MonatsdateiHatKopfEinmalUndJeFlaecheEinenAbschnitt) {
    schreibe_monatsergebnisse(*d, tab, 4.0, {3, 4, 1}, angaben);
    d->feld[adata::jkk][1] = 5e-9;
    schreibe_monatsergebnisse(*d, tab, 6.0, {3, 4, 2}, angaben);

    const std::string bytes = datei_bytes(angaben.ergebnisdatei);
    // Every line ends in CR LF: no LF without its CR.
    for (std::size_t p = 0; (p = bytes.find('\n', p)) != std::string::npos; ++p)
        ASSERT_EQ(bytes[p - 1], '\r') << "at byte " << p;
    const auto z = crlf_zeilen(bytes);
    ASSERT_EQ(z.size(), 2u + 2u * (4u + 12u));
    EXPECT_EQ(z[0], "M\xFCller S\xFC" "d");
    EXPECT_EQ(z[1], std::string("12,  61,  2\0", 12));
    EXPECT_EQ(std::count(z.begin(), z.end(), z[1]), 1);

    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s);
        const std::size_t a = 2 + static_cast<std::size_t>(s) * 16;
        EXPECT_EQ(z[a], std::string("Fl\xE4" "che, qm, \0", 13) + (s == 0 ? "        4.0000000000" : "        6.0000000000"));
        EXPECT_EQ(z[a + 1].rfind("Monat, Nummer, ", 0), 0u);
        const auto titel = felder(z[a + 1].substr(15));
        const auto einheiten = felder(z[a + 2]);
        const auto codes = felder(z[a + 3]);
        ASSERT_EQ(titel.size(), 61u);
        ASSERT_EQ(einheiten.size(), 61u);
        ASSERT_EQ(codes.size(), 61u);
        EXPECT_EQ(titel[0], "J\xE4hrlicher lokaler Energieverbrauch");  // longer than 30: whole
        EXPECT_EQ(titel[11], std::string(19, ' ') + "Bodenfl\xE4" "che");
        EXPECT_EQ(einheiten[adata::ztk], std::string(28, ' ') + "\xB0" "C");
        EXPECT_EQ(codes[0], std::string(27, ' ') + "jkk");
        EXPECT_EQ(codes[60], std::string(21, ' ') + "speiv_edt");
        EXPECT_EQ(z[a + 2].back(), '\0');
    }
    // Month rows: label of exactly 30 characters, number 1, then 61 values.
    const std::string& januar = z[6];
    EXPECT_EQ(januar.substr(0, 38), std::string(20, ' ') + "Januar    ,  1,  " + '\0');
    EXPECT_EQ(z[8].substr(0, 30), std::string(20, ' ') + "M\xE4rz      ");
    EXPECT_EQ(januar.substr(38, 23), "        1.2500000000,  ");
    EXPECT_EQ(januar.back(), '\0');
    EXPECT_EQ(std::count(januar.begin(), januar.end(), ','), 2 + 61);
    // Second section, January, jkk: the scientific form.
    EXPECT_EQ(z[22].substr(38, 26), " 5.00000000000000E-0009,  ");
}

TEST_F(Ergebnisdatei, EnglischeMonateTitelUndSchluessel) {
    setze_sprache(SPRACHE_ENGLISCH);
    schreibe_monatsergebnisse(*d, tab, 2.0, {1, 1, 1}, angaben);
    const auto z = crlf_zeilen(datei_bytes(angaben.ergebnisdatei));
    EXPECT_EQ(z[1], std::string("12,  61,  1\0", 12));
    EXPECT_EQ(z[2].substr(0, 10), std::string("Area, qm, \0", 10));
    EXPECT_EQ(z[3].rfind("Month, Number, ", 0), 0u);
    EXPECT_NE(z[3].find("Annual local energy consumption"), std::string::npos);
    EXPECT_EQ(z[6].substr(0, 30), std::string(20, ' ') + "January   ");
    EXPECT_EQ(z[17].substr(0, 30), std::string(20, ' ') + "December  ");
}

TEST_F(Ergebnisdatei, SteuerdateiJeIntervallMitEingabenUndLeerenCodes) {
    setze_intervalle(1, 2);
    setze_intervalle(3, 1);
    auto eingaben_daten = std::make_unique<datz3>();
    (*eingaben_daten)[zdata::ho][1][2] = 12.0;
    (*eingaben_daten)[zdata::is0][3][1] = 500.0;
    (*eingaben_daten)[zdata::ta][3][1] = 100.0;
    intervalleingaben e;
    e.pvdatz3 = eingaben_daten.get();
    e.einheit = {"h", "W/qm", "F"};
    e.umrechnen[2] = {1.8, 32.0, "F"};  // °C -> F

    schreibe_intervallergebnisse(*d, tab, 4.0, {0, 0, 1}, angaben, e);
    EXPECT_EQ(tab.name, (verzeichnis / "steuer.str").string());
    const auto z = crlf_zeilen(datei_bytes(verzeichnis / "steuer.str"));
    ASSERT_EQ(z.size(), 2u + 4u + 3u);
    EXPECT_EQ(z[1], std::string("3,  21,  1\0", 11));
    const auto einheiten = felder(z[4]);
    const auto codes = felder(z[5]);
    ASSERT_EQ(codes.size(), 21u);
    EXPECT_EQ(codes[0], std::string(29, ' ') + "M");
    EXPECT_EQ(codes[14], std::string(10, ' ') + "msp_zwischenspeicher");
    for (int c : {15, 16, 17}) EXPECT_EQ(codes[c], std::string(30, ' '));
    EXPECT_EQ(codes[20], std::string(24, ' ') + "wpaus3");
    EXPECT_EQ(einheiten[2], std::string(29, ' ') + "F");
    EXPECT_EQ(einheiten[3], std::string(28, ' ') + "u0");

    // Rows: January twice (number 2), then March once (number 1).
    EXPECT_EQ(z[6].substr(0, 38), std::string(20, ' ') + "Januar    ,  2,  " + '\0');
    EXPECT_EQ(z[7].substr(38, 23), "       12.0000000000,  ");
    EXPECT_EQ(z[8].substr(0, 38), std::string(20, ' ') + "M\xE4rz      ,  1,  " + '\0');
    const std::string maerz = z[8].substr(38);
    EXPECT_EQ(maerz.substr(0, 69),
              "        0.0000000000,  "
              "      500.0000000000,  "
              "      212.0000000000,  ");
    // First result series: month 3 interval 1 of feld3[0].
    EXPECT_EQ(maerz.substr(69, 23), "        0.0300100000,  ");
}

TEST_F(Ergebnisdatei, SchreibfehlerNenntDenPfadUndBrichtAb) {
    angaben.ergebnisdatei = verzeichnis / "fehlt" / "lauf.sim";
    EXPECT_THROW(schreibe_monatsergebnisse(*d, tab, 4.0, {1, 1, 1}, angaben), abbruch);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    // The path, then the system's reason in brackets.
    EXPECT_EQ(senke.dialoge[0].text.rfind(
                  "Fehler: Datei kann nicht geschrieben werden: " + angaben.ergebnisdatei.string() + " (", 0),
              0u)
        << senke.dialoge[0].text;
    EXPECT_FALSE(std::filesystem::exists(angaben.ergebnisdatei));
}
