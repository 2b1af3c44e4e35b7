// Result tables as CSV: written, read back with a parser of the test's own,
// and compared with the values of the result file.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "results/ergebnis_csv.h"
#include "results/vergleich_hilfen.h"
#include "support/aufzeichnende_senke.h"

namespace {

// RFC 4180 fields: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<std::vector<std::string>> lies_csv(const std::string& text) {
    std::vector<std::vector<std::string>> zeilen(1);
    std::string feld;
    bool in_anfuehrung = false, feld_begonnen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_anfuehrung) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                feld += '"';
                ++i;
            } else if (c == '"') {
                in_anfuehrung = false;
            } else {
                feld += c;
            }
        } else if (c == '"' && !feld_begonnen) {
            in_anfuehrung = feld_begonnen = true;
        } else if (c == ',') {
            zeilen.back().push_back(feld);
            feld.clear();
            feld_begonnen = false;
        } else if (c == '\n') {
            zeilen.back().push_back(feld);
            feld.clear();
            feld_begonnen = false;
            zeilen.emplace_back();
        } else {
            feld += c;
            feld_begonnen = true;
        }
    }
    if (zeilen.back().empty()) zeilen.pop_back();
    return zeilen;
}

double zahl(const std::string& s) {
    std::istringstream i(s);
    i.imbue(std::locale::classic());
    double x = 0.0;
    i >> x;
    EXPECT_TRUE(i.eof() && !i.fail()) << "keine Zahl: " << s;
    return x;
}

class ErgebnisCsv : public mit_meldungen {
protected:
    std::unique_ptr<datm> ausgabe = ausgabe_wie_datei(ergebnis_fixture(POTSDAM));
    test_umrechner u;
    ergebnisvergleich v;
};

}  // namespace

TEST_F(ErgebnisCsv, AbschnittstabelleKommtMitDenWertenDerDateiZurueck) {
    ASSERT_EQ(v.lade(ergebnis_fixture(POTSDAM), *ausgabe, u.funktion(), "qm"), ergebnisvergleich::ladeergebnis::ok);
    const rohe_datei roh(ergebnis_fixture(POTSDAM));
    for (int s = 1; s <= 5; ++s) {
        const auto z = lies_csv(als_csv(tabelle_der_scheibe(v.datei(1), s)));
        ASSERT_EQ(z.size(), 3u + 12u);
        for (const auto& zeile : z) ASSERT_EQ(zeile.size(), 62u);
        EXPECT_EQ(z[0][0], "Monat");
        EXPECT_EQ(z[1][0], "Code");
        EXPECT_EQ(z[2][0], "Einheit");
        EXPECT_EQ(z[0][35], "Gesamte Wärmeenenergie");
        EXPECT_EQ(z[1][35], "eg");
        EXPECT_EQ(z[2][35], "kWh");
        EXPECT_EQ(z[2][21], "°C");
        EXPECT_EQ(z[3][0], "Januar");
        EXPECT_EQ(z[14][0], "Dezember");
        for (int q = 0; q < ANZ_ADATA; ++q) {
            EXPECT_EQ(z[1][static_cast<std::size_t>(q) + 1], ergebnistexte::code(q));
            for (int m = 1; m <= 12; ++m)
                ASSERT_EQ(zahl(z[static_cast<std::size_t>(m) + 2][static_cast<std::size_t>(q) + 1]), roh.wert(q, m, s))
                    << "Abschnitt " << s << " Monat " << m << " " << ergebnistexte::code(q);
        }
    }
}

TEST_F(ErgebnisCsv, UmgerechneteWerteUndVergleichUeberDateien) {
    ausgabe->ausgabe_einheit[adata::eg] = "MWh";
    for (const auto& name : {POTSDAM, EJEG, ZJEG})
        ASSERT_EQ(v.lade(ergebnis_fixture(name), *ausgabe, u.funktion(), "qm"), ergebnisvergleich::ladeergebnis::ok);

    // Annual values of one file: one row per area, in the output unit.
    const rohe_datei potsdam(ergebnis_fixture(POTSDAM));
    const auto j = lies_csv(als_csv(jahreswerte_tabelle(v.datei(1))));
    ASSERT_EQ(j.size(), 3u + 5u);
    EXPECT_EQ(j[0][0], "Fläche [qm]");
    EXPECT_EQ(j[2][35], "MWh");
    EXPECT_EQ(j[5][0], "10");
    EXPECT_DOUBLE_EQ(zahl(j[5][35]), potsdam.wert(adata::eg, 1, 3) / 1000.0);

    // eg of the three files at 14 qm side by side, with a file row.
    const auto z = lies_csv(als_csv(vergleichstabelle(v, adata::eg, 14.0)));
    ASSERT_EQ(z.size(), 4u + 12u);
    EXPECT_EQ(z[0], (std::vector<std::string>{"Monat", "Gesamte Wärmeenenergie", "Gesamte Wärmeenenergie",
                                              "Gesamte Wärmeenenergie"}));
    EXPECT_EQ(z[1], (std::vector<std::string>{"Code", "eg", "eg", "eg"}));
    EXPECT_EQ(z[2], (std::vector<std::string>{"Einheit", "MWh", "MWh", "MWh"}));
    EXPECT_EQ(z[3], (std::vector<std::string>{"Datei", POTSDAM, EJEG, ZJEG}));
    for (int f = 1; f <= 3; ++f) {
        const rohe_datei roh(ergebnis_fixture(v.datei(f).dateiname()));
        for (int m = 1; m <= 12; ++m)
            EXPECT_EQ(zahl(z[static_cast<std::size_t>(m) + 3][static_cast<std::size_t>(f)]),
                      v.datei(f).wert(adata::eg, m, 4));
        EXPECT_DOUBLE_EQ(v.datei(f).wert(adata::eg, 5, 4), roh.wert(adata::eg, 5, 4) / 1000.0);
    }
    // An area no file holds gives a table without columns.
    EXPECT_TRUE(vergleichstabelle(v, adata::eg, 15.0).spalten.empty());
}

TEST_F(ErgebnisCsv, TexteWerdenGequotetUndZahlenUnabhaengigVomGebietsschema) {
    ergebnis_anzeigetabelle t;
    t.zeilenkopf = "Monat";
    t.spalten = {{"Energie, gesamt", "e\"g", "kWh", ""}, {"Zeile\nzwei", "x", "°C", ""}};
    t.zeilen = {"Januar, erster", "Feb"};
    t.werte = {{0.1, -2.5e-9}, {1e22, 1234567.125}};
    // A locale with decimal comma must not change the numbers.
    const char* vorher = std::setlocale(LC_NUMERIC, nullptr);
    const std::string alt = vorher ? vorher : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::string text = als_csv(t);
    std::setlocale(LC_NUMERIC, alt.c_str());

    const auto z = lies_csv(text);
    ASSERT_EQ(z.size(), 5u);
    EXPECT_EQ(z[0], (std::vector<std::string>{"Monat", "Energie, gesamt", "Zeile\nzwei"}));
    EXPECT_EQ(z[1], (std::vector<std::string>{"Code", "e\"g", "x"}));
    EXPECT_EQ(z[3][0], "Januar, erster");
    EXPECT_EQ(z[3][1], "0.1");
    EXPECT_EQ(zahl(z[3][2]), -2.5e-9);
    EXPECT_EQ(zahl(z[4][1]), 1e22);
    EXPECT_EQ(z[4][2], "1234567.125");
    EXPECT_EQ(csv_zahl(std::numeric_limits<double>::quiet_NaN()), "nan");

    setze_sprache(SPRACHE_ENGLISCH);
    EXPECT_EQ(lies_csv(als_csv(t))[2][0], "Unit");
}

TEST_F(ErgebnisCsv, SpeichernErsetztDieDateiGanzOderMeldetDenFehler) {
    ASSERT_EQ(v.lade(ergebnis_fixture(EJEG), *ausgabe, u.funktion(), "qm"), ergebnisvergleich::ladeergebnis::ok);
    const auto t = tabelle_der_scheibe(v.datei(1), 2);
    const auto ziel = verzeichnis / "tabelle.csv";
    std::ofstream(ziel) << "alt";
    ASSERT_TRUE(speichere_csv(t, ziel));
    EXPECT_EQ(datei_bytes(ziel), als_csv(t));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(verzeichnis), {}), 1);  // no temporary left

    const auto fehlt = verzeichnis / "gibt_es_nicht" / "tabelle.csv";
    EXPECT_FALSE(speichere_csv(t, fehlt));
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_NE(senke.dialoge[0].text.find("Fehler: CSV-Datei nicht gespeichert: " + fehlt.string()), std::string::npos);
}
