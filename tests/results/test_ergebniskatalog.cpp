#include <gtest/gtest.h>

#include <map>

#include "results/ergebnis_hilfen.h"
#include "results/ergebniskatalog.h"
#include "results/ergebnisschreiber.h"
#include "support/aufzeichnende_senke.h"

using namespace std::string_literals;

namespace {

struct katalog_im_speicher : ergebniskatalog {
    std::optional<result_zeile> finde_ergebnisdatei(const std::string& name) override {
        auto it = zeilen.find(name);
        if (it == zeilen.end()) return std::nullopt;
        return it->second;
    }
    void speichere(const result_zeile& z, bool neu) override {
        EXPECT_EQ(neu, zeilen.count(z.name) == 0);
        zeilen[z.name] = z;
        ++gespeichert;
    }
    void entferne(const std::string& name) override { zeilen.erase(name); }
    std::map<std::string, result_zeile> zeilen;
    int gespeichert = 0;
};

struct fester_dialog : speicherdialog {
    std::optional<std::filesystem::path> zeige(const speicherdialog_vorgabe& v) override {
        vorgaben.push_back(v);
        return antwort;
    }
    std::optional<std::filesystem::path> antwort;
    std::vector<speicherdialog_vorgabe> vorgaben;
};

class Ergebniskatalog : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        haupt = {"Braunschweig 1", "Braunschweig", "D", "Niedersachsen", "K17", "bs1"};
    }
    haupt_angaben haupt;
    katalog_im_speicher katalog;
    fester_dialog dialog;
    const datum tag{2024, 5, 7};
};

}  // namespace

TEST_F(Ergebniskatalog, OhneDialogNeueZeileDannWiederverwendet) {
    const auto pfad = lege_ausgabefile_an('O', 'N', haupt, verzeichnis, katalog, nullptr, tag);
    ASSERT_TRUE(pfad);
    EXPECT_EQ(*pfad, verzeichnis / "bs1.dat");
    ASSERT_EQ(katalog.zeilen.count("bs1.dat"), 1u);
    const result_zeile& z = katalog.zeilen["bs1.dat"];
    EXPECT_EQ(z.haupteingabefile, "Braunschweig 1");
    EXPECT_EQ(z.ort, "Braunschweig");
    EXPECT_EQ(z.land, "D");
    EXPECT_EQ(z.bezirk, "Niedersachsen");
    EXPECT_EQ(z.kundennummer, "K17");
    EXPECT_EQ(z.pfad, verzeichnis.string());
    EXPECT_EQ(z.optimierung, 'O');
    EXPECT_EQ(z.lock, "F");
    EXPECT_EQ(z.info, "2024 5 7");
    EXPECT_FALSE(std::filesystem::exists(verzeichnis / "bs1.dat"));  // the run writes it

    // Another data set writing to the same file re-uses the row.
    katalog.zeilen["bs1.dat"].lock = "NF";
    haupt.name = "Braunschweig 2";
    ASSERT_TRUE(lege_ausgabefile_an('O', 'N', haupt, verzeichnis, katalog, nullptr, {2025, 12, 31}));
    EXPECT_EQ(katalog.zeilen.size(), 1u);
    EXPECT_EQ(katalog.zeilen["bs1.dat"].haupteingabefile, "Braunschweig 2");
    EXPECT_EQ(katalog.zeilen["bs1.dat"].info, "2025 12 31");
    EXPECT_EQ(katalog.zeilen["bs1.dat"].lock, "NF");
    EXPECT_EQ(katalog.gespeichert, 2);
}

TEST_F(Ergebniskatalog, DialogVorgabeAuswahlUndAbbruch) {
    dialog.antwort = std::nullopt;
    EXPECT_FALSE(lege_ausgabefile_an('S', 'J', haupt, verzeichnis, katalog, &dialog, tag));
    EXPECT_TRUE(katalog.zeilen.empty());
    ASSERT_EQ(dialog.vorgaben.size(), 1u);
    EXPECT_EQ(dialog.vorgaben[0].titel, "Datei speichern unter");
    EXPECT_EQ(dialog.vorgaben[0].filter, "Simulationsdateien (*.sim)|*.sim");
    EXPECT_EQ(dialog.vorgaben[0].erweiterung, ".sim");
    EXPECT_EQ(dialog.vorgaben[0].dateiname, "bs1");
    EXPECT_EQ(dialog.vorgaben[0].verzeichnis, verzeichnis);

    dialog.antwort = verzeichnis / "anders";
    const auto pfad = lege_ausgabefile_an('S', 'J', haupt, verzeichnis, katalog, &dialog, tag);
    ASSERT_TRUE(pfad);
    EXPECT_EQ(pfad->filename(), "anders.sim");
    EXPECT_EQ(katalog.zeilen.at("anders.sim").optimierung, 'S');
}

TEST_F(Ergebniskatalog, FehlendesVerzeichnisWirdGemeldetUndNichtEingetragen) {
    const auto fehlt = verzeichnis / "fehlt";
    EXPECT_FALSE(lege_ausgabefile_an('O', 'N', haupt, fehlt, katalog, nullptr, tag));
    EXPECT_TRUE(katalog.zeilen.empty());
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Fehler: Ergebnisverzeichnis nicht beschreibbar: " + fehlt.string());
}

TEST_F(Ergebniskatalog, SchreiberOrdnetLaufargumenteZuUndRaeumtNachFehlschlagAuf) {
    const auto ordner = verzeichnis / "ergebnisse";
    std::filesystem::create_directories(ordner);
    const auto pfad = lege_ausgabefile_an('S', 'N', haupt, ordner, katalog, nullptr, tag);
    ASSERT_TRUE(pfad);
    ergebnisdatei_angaben a{haupt.name, *pfad, ordner, "bs1_steuer", "qm"};
    auto d = std::make_unique<datm>();
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
    setze_intervalle(1, 1);

    ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog);
    // The run passes (e, f, j) to the interval writer and (f, e, j) to the monthly one.
    schreiber.schreibe_intervallergebnisse(*d, 4.0, 3, 5, 1);
    schreiber.schreibe_monatsergebnisse(*d, 4.0, 5, 3, 1);
    const std::string zeile2 = "\r\n12,  61,  3"s + '\0' + "\r\n";
    EXPECT_NE(datei_bytes(*pfad).find(zeile2), std::string::npos);
    EXPECT_NE(datei_bytes(ordner / "bs1_steuer.str").find("\r\n1,  21,  3"s + '\0'), std::string::npos);
    setze_intervalle(1, 0);

    // The folder vanishes before the next run writes: the run is abandoned
    // and the row of the file that was never written is gone.
    std::filesystem::remove_all(ordner);
    EXPECT_THROW(schreiber.schreibe_monatsergebnisse(*d, 4.0, 5, 3, 1), abbruch);
    EXPECT_EQ(katalog.zeilen.count("bs1.sim"), 0u);
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find(pfad->string()), std::string::npos);
}
