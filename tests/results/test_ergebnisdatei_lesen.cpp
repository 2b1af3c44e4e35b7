#include <gtest/gtest.h>

#include <fstream>
#include <limits>

#include "results/ergebnis_hilfen.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnisdatei_schreiben.h"
#include "results/ergebnistexte.h"
#include "results/tabellenleser.h"
#include "support/aufzeichnende_senke.h"

using namespace std::string_literals;

namespace {

class Tabellenleser : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        angaben.hauptname = "Standort";
        angaben.ergebnisdatei = verzeichnis / "lauf.sim";
        angaben.ergebnisverzeichnis = verzeichnis;
        angaben.steuername = "steuer";
        angaben.flaecheneinheit = "qm";
    }
    std::filesystem::path schreibe(const std::string& dateiname, const std::string& bytes) {
        const auto p = verzeichnis / dateiname;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    // Reads `pfad` self-describing (or raw with `b`); returns ok.
    bool lies(const std::filesystem::path& pfad, char layout = 'n') {
        gelesen = parreadtab{};
        gelesen.name = pfad.string();
        bool ok = true;
        lese_tabelle(werte, gelesen, b, ok, layout);
        return ok;
    }

    ergebnisdatei_angaben angaben;
    std::unique_ptr<datm> d = gefuellte_ergebnisse();
    parreadtab tab, gelesen;
    dat3d werte;
    TSDaten b;
};

// A valid self-describing file of one section with `spalt` columns and one row.
std::string kleine_datei(const std::string& einheit = "kWh", const std::string& code = "jkk") {
    return "Name\r\n1,  1,  1\0\r\n"s + "Fl\xE4" "che, qm, \0"s + "4.0\r\n" +
           "Monat, Nummer, Titel,  \0\r\n"s + einheit + ",  \0\r\n"s + code + ",  \0\r\n"s +
           "    Januar    ,  1,  \0   2.5,  \0\r\n"s;
}

}  // namespace

TEST_F(Tabellenleser, GeschriebeneDateiKommtInDenJetzigenAusgabeeinheitenZurueck) {
    d->ausgabe_einheit[adata::agwt] = "kWh/(qm * d)";  // inner blanks
    schreibe_monatsergebnisse(*d, tab, 4.0, {1, 2, 1}, angaben);
    d->feld[adata::jkk][2] = -1.0;
    d->feld[adata::ztk][12] = 5e-9;
    d->feld[adata::pek][3] = 1e22;  // wider than its field
    d->feld[adata::bf][4] = std::numeric_limits<double>::infinity();
    schreibe_monatsergebnisse(*d, tab, 6.0, {1, 2, 2}, angaben);

    ASSERT_TRUE(lies(angaben.ergebnisdatei));
    EXPECT_TRUE(senke.dialoge.empty());
    EXPECT_EQ(gelesen.zeil, 12);
    EXPECT_EQ(gelesen.spalt, 61);
    EXPECT_EQ(gelesen.scheib, 2);
    EXPECT_EQ(b.vzeile[1], 12);
    EXPECT_EQ(b.vzeile[2], 12);
    EXPECT_EQ(gelesen.feldz[1].einheit, "qm");
    EXPECT_EQ(gelesen.feldz[2].wert, 6.0);
    EXPECT_EQ(gelesen.feldx[3].name, std::string(20, ' ') + "März      ");
    EXPECT_EQ(gelesen.feldx[3].wert, 1);
    EXPECT_EQ(gelesen.feldy[adata::ztk + 1].einheit, "°C");
    EXPECT_EQ(gelesen.feldy[adata::agwt + 1].einheit, "kWh/(qm*d)");
    EXPECT_EQ(gelesen.feldy[61].name_0, "speiv_edt");
    EXPECT_EQ(werte.wert(2, adata::jkk + 1, 2), -1.0);
    EXPECT_EQ(werte.wert(12, adata::ztk + 1, 2), 5e-9);
    EXPECT_EQ(werte.wert(3, adata::pek + 1, 2), 1e22);
    EXPECT_EQ(werte.wert(4, adata::bf + 1, 2), std::numeric_limits<double>::infinity());
    EXPECT_EQ(werte.wert(7, adata::preis + 1, 1), static_cast<int>(adata::preis) * 100.0 + 7.25);

    // Output units chosen now: energy in MWh, temperature in F.
    auto jetzt = gefuellte_ergebnisse();
    for (int q : {adata::jkk, adata::nh, adata::eg}) jetzt->ausgabe_einheit[q] = "MWh";
    for (int q : {adata::ztk, adata::tf_s}) jetzt->ausgabe_einheit[q] = "F";
    test_umrechner u;
    rechne_codes_um(gelesen, werte, *jetzt, u.funktion());

    EXPECT_DOUBLE_EQ(werte.wert(2, adata::jkk + 1, 2), -0.001);
    EXPECT_DOUBLE_EQ(werte.wert(5, adata::nh + 1, 1), (static_cast<int>(adata::nh) * 100.0 + 5.25) / 1000.0);
    EXPECT_DOUBLE_EQ(werte.wert(1, adata::ztk + 1, 1), (static_cast<int>(adata::ztk) * 100.0 + 1.25) * 1.8 + 32.0);
    EXPECT_DOUBLE_EQ(werte.wert(12, adata::ztk + 1, 2), 5e-9 * 1.8 + 32.0);
    EXPECT_EQ(werte.wert(7, adata::preis + 1, 1), static_cast<int>(adata::preis) * 100.0 + 7.25);
    // One conversion per quantity, determined on row 1 (passed as month 1).
    EXPECT_EQ(u.aufrufe->size(), 61u);
    for (const auto& a : *u.aufrufe) EXPECT_EQ(a.monat, 1);
    // The section keys in the area unit chosen now.
    EXPECT_DOUBLE_EQ(flaeche_der_scheibe(gelesen, 2, "qcm", u.funktion()), 60000.0);
}

TEST_F(Tabellenleser, SteuerdateiMitLeerenCodesLiestZurueck) {
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, m == 2 ? 3 : 0);
    intervalleingaben e;
    schreibe_intervallergebnisse(*d, tab, 4.0, {1, 1, 1}, angaben, e);
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
    ASSERT_TRUE(lies(steuerdateipfad(angaben)));
    EXPECT_EQ(gelesen.zeil, 3);
    EXPECT_EQ(gelesen.spalt, 21);
    EXPECT_EQ(gelesen.feldy[16].name_0, "");
    EXPECT_EQ(gelesen.feldx[3].wert, 3);
    EXPECT_DOUBLE_EQ(werte.wert(3, 4 + 17, 1), 17 + 0.02 + 3e-5);
    EXPECT_EQ(finde_spalte(gelesen, "wpaus3"), 21);
}

TEST_F(Tabellenleser, SpaltensucheUndUmrechnungNehmenDieLetzteGleicheSpalte) {
    const std::string datei = "N\r\n1,  4,  1\0\r\n"s + "Area, qm, \0"s + "1\r\n" + "T\r\n" +
                              "kWh,  kWh,  kWh,  kWh,  \0\r\n"s + "jkk,  jkk  ,  JKK,  xyz,  \0\r\n"s +
                              "Januar,  1,  \0"s + "10 20 30 40\r\n";
    ASSERT_TRUE(lies(schreibe("d.sim", datei)));
    EXPECT_EQ(finde_spalte(gelesen, "jkk"), 2);
    EXPECT_EQ(finde_spalte(gelesen, "JKK"), 3);
    EXPECT_EQ(finde_spalte(gelesen, "nh"), 0);
    auto jetzt = gefuellte_ergebnisse();
    jetzt->ausgabe_einheit[adata::jkk] = "MWh";
    test_umrechner u;
    rechne_codes_um(gelesen, werte, *jetzt, u.funktion());
    EXPECT_EQ(werte.wert(1, 1, 1), 10.0);
    EXPECT_DOUBLE_EQ(werte.wert(1, 2, 1), 0.02);
    EXPECT_EQ(werte.wert(1, 3, 1), 30.0);
    EXPECT_EQ(werte.wert(1, 4, 1), 40.0);
}

TEST_F(Tabellenleser, RohesLayoutUeberliestZeilenUndZahlen) {
    // No NUL: the whole line holds values; with NUL: label, number, values.
    const std::string datei = std::string("Kopf\r\nKopf 2\r\n") + "1, 2, 3, 4\r\n" + "5 6 7 8\n" +
                              "  Tag 3,  7,  \0"s + "9, 10, 11, 12\r\n";
    b.azeile = 2;
    b.bspalte = 1;
    b.nzeile = 2;
    b.mspalte = 3;
    b.lscheibe = 2;
    b.vzeile[2] = 1;
    ASSERT_TRUE(lies(schreibe("roh.txt", datei), 'r'));
    EXPECT_EQ(werte.scheiben(), 2);
    EXPECT_EQ(werte.zeilen(1), 2);
    EXPECT_EQ(werte.zeilen(2), 1);
    EXPECT_EQ(werte.wert(1, 1, 1), 2.0);
    EXPECT_EQ(werte.wert(2, 3, 1), 8.0);
    EXPECT_EQ(werte.wert(1, 3, 2), 12.0);
    EXPECT_EQ(gelesen.feldx[1].name, "  Tag 3");
    EXPECT_EQ(gelesen.feldx[1].wert, 7);
}

TEST_F(Tabellenleser, FeldMitVierzigZeichenGehtMitEinundvierzigNicht) {
    ASSERT_TRUE(lies(schreibe("a.sim", kleine_datei(std::string(40, 'k')))));
    EXPECT_EQ(gelesen.feldy[1].einheit, std::string(40, 'k'));
    // Blanks do not count; 41 characters do.
    ASSERT_TRUE(lies(schreibe("b.sim", kleine_datei(std::string(50, ' ') + std::string(40, 'k')))));
    EXPECT_FALSE(lies(schreibe("c.sim", kleine_datei(std::string(41, 'k')))));
    EXPECT_FALSE(lies(schreibe("d.sim", kleine_datei("kWh", std::string(41, 'c')))));
    ASSERT_EQ(senke.dialoge.size(), 2u);
    EXPECT_EQ(senke.dialoge[1].text, "Fehler: Falsches Datenformat: " + (verzeichnis / "d.sim").string() + ", Zeile 6");
}

TEST_F(Tabellenleser, FehlerhafteDateienWerdenAbgelehnt) {
    const std::string gut = kleine_datei();
    const auto ersetze = [&](const std::string& alt, const std::string& neu) {
        std::string s = gut;
        s.replace(s.find(alt), alt.size(), neu);
        return s;
    };
    // The message names the file and the line that is malformed or missing.
    struct fall {
        const char* name;
        std::string inhalt;
        int zeile;
    };
    const fall faelle[] = {
        {"leer", "", 1},
        {"nur Name", "Name\r\n", 2},
        {"Zaehler keine Zahl", ersetze("1,  1,  1", "x,  1,  1"), 2},
        {"Zaehler fehlt", ersetze("1,  1,  1", "1,  1"), 2},
        {"Zeilen negativ", ersetze("1,  1,  1", "-1,  1,  1"), 2},
        {"keine Spalte", ersetze("1,  1,  1", "1,  0,  1"), 2},
        {"62 Spalten", ersetze("1,  1,  1", "1,  62,  1"), 2},
        {"zu viele Zeilen", ersetze("1,  1,  1", "9601,  1,  1"), 2},
        {"keine Scheibe", ersetze("1,  1,  1", "1,  1,  0"), 2},
        {"riesige Zahl", ersetze("1,  1,  1", "99999999999999999999999,  1,  1"), 2},
        {"Schluessel ohne NUL", ersetze("qm, \0"s, "qm, "), 3},
        {"Schluesselwert keine Zahl", ersetze("4.0\r\n", "vier\r\n"), 3},
        {"Einheit ohne Komma", ersetze("kWh,  ", "kWh  "), 5},
        {"Zeile ohne Komma im Label", ersetze("Januar    ,  1", "Januar       1"), 7},
        {"Zeilennummer keine Zahl", ersetze("Januar    ,  1", "Januar    ,  x"), 7},
        {"Wert keine Zahl", ersetze("2.5", "2.5x"), 7},
        {"Wert fehlt", ersetze("2.5", ""), 7},
        {"abgeschnitten", gut.substr(0, gut.size() - 20), 7},
        {"Zeile fehlt", gut.substr(0, gut.find("    Januar")), 7},
        {"Zeile ohne NUL", ersetze(",  \0   2.5"s, ",     2.5"), 7},
        {"Binaerdaten", "\x7f" "ELF\x02\x01\x01\0\0\0\r\n\xff\xfe\0\x01"s, 2},
        {"Zeile laenger als 1 MiB", ersetze("Name", std::string(MAXZEILENLAENGE + 1, 'x')), 1},
        {"Label ueber Grenze", ersetze("    Januar", std::string(MAXLABELLAENGE + 1, 'x')), 7},
    };
    const std::filesystem::path f = verzeichnis / "f.sim";
    for (const auto& x : faelle) {
        SCOPED_TRACE(x.name);
        senke.dialoge.clear();
        EXPECT_FALSE(lies(schreibe("f.sim", x.inhalt)));
        ASSERT_EQ(senke.dialoge.size(), 1u);
        EXPECT_EQ(senke.dialoge[0].text,
                  "Fehler: Falsches Datenformat: " + f.string() + ", Zeile " + std::to_string(x.zeile));
        EXPECT_EQ(senke.dialoge[0].schwere, 'E');
    }
    EXPECT_TRUE(lies(schreibe("g.sim", gut)));  // the base case is valid
    EXPECT_FALSE(lies(verzeichnis / "gibt_es_nicht.sim"));
}

TEST_F(Tabellenleser, EinundzwanzigScheibenBrechenMitCmaxaAb) {
    std::string datei = kleine_datei();
    datei.replace(datei.find("1,  1,  1"), 9, "1,  1,  21");
    gelesen.name = schreibe("x.sim", datei).string();
    bool ok = true;
    EXPECT_THROW(lese_tabelle(werte, gelesen, b, ok), abbruch);
    EXPECT_FALSE(ok);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text,
              "Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten");

    // 20 sections announced but the file holds one: malformed, no abandonment.
    datei.replace(datei.find("1,  1,  21"), 10, "1,  1,  20");
    EXPECT_FALSE(lies(schreibe("y.sim", datei)));
}

TEST_F(Tabellenleser, LiestNichtWennOkSchonFalschIst) {
    gelesen.name = schreibe("a.sim", kleine_datei()).string();
    bool ok = false;
    lese_tabelle(werte, gelesen, b, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(gelesen.zeil, 0);
    EXPECT_TRUE(senke.dialoge.empty());
}

TEST(Zeilenquelle, DateiUndTextLiefernDieselbenZeilen) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "Zeile " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    text += "ohne Ende";
    std::FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    datei_zeilenquelle aus_datei(f);
    text_zeilenquelle aus_text(text);
    std::string_view a, t;
    int n = 0;
    while (aus_text.naechste(t)) {
        ASSERT_TRUE(aus_datei.naechste(a));
        ASSERT_EQ(a, t);
        ++n;
    }
    EXPECT_FALSE(aus_datei.naechste(a));
    EXPECT_EQ(n, 20001);
    EXPECT_EQ(t, "ohne Ende");
    std::fclose(f);
}
