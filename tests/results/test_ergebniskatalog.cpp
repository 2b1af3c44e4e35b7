#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
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
        haupt = {"Braunschweig 1", "Braunschweig", "D", "Niedersachsen", "K17", "bs1", "bs1_steuer"};
    }
    haupt_angaben haupt;
    katalog_im_speicher katalog;
    fester_dialog dialog;
    const datum tag{2024, 5, 7};
};

}  // namespace

TEST_F(Ergebniskatalog, PfadVorDemLaufZeileNachDemLaufMitAbsolutemOrdner) {
    const auto pfad = lege_ausgabefile_an('O', 'N', haupt, verzeichnis, nullptr);
    ASSERT_TRUE(pfad);
    EXPECT_EQ(*pfad, verzeichnis / "bs1.dat");
    EXPECT_TRUE(katalog.zeilen.empty());  // no row before the file exists

    trage_ergebnisdatei_ein('O', haupt, *pfad, katalog, tag);
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

    // Another data set writing the same file name into another folder,
    // given relative to the working directory: the row is re-used and names
    // the folder the file is in now, as an absolute path.
    katalog.zeilen["bs1.dat"].lock = "NF";
    haupt.name = "Braunschweig 2";
    const auto anders = verzeichnis / "anders";
    std::filesystem::create_directories(anders);
    const auto arbeit = std::filesystem::current_path();
    std::filesystem::current_path(verzeichnis);
    trage_ergebnisdatei_ein('O', haupt, std::filesystem::path("anders") / "bs1.dat", katalog, {2025, 12, 31});
    std::filesystem::current_path(arbeit);
    EXPECT_EQ(katalog.zeilen.size(), 1u);
    EXPECT_EQ(katalog.zeilen["bs1.dat"].haupteingabefile, "Braunschweig 2");
    EXPECT_EQ(katalog.zeilen["bs1.dat"].info, "2025 12 31");
    EXPECT_EQ(katalog.zeilen["bs1.dat"].lock, "NF");
    EXPECT_EQ(katalog.zeilen["bs1.dat"].pfad, anders.string());
    EXPECT_EQ(katalog.gespeichert, 2);
}

TEST_F(Ergebniskatalog, DialogVorgabeAuswahlUndAbbruch) {
    dialog.antwort = std::nullopt;
    EXPECT_FALSE(lege_ausgabefile_an('S', 'J', haupt, verzeichnis, &dialog));
    ASSERT_EQ(dialog.vorgaben.size(), 1u);
    EXPECT_EQ(dialog.vorgaben[0].titel, "Datei speichern unter");
    EXPECT_EQ(dialog.vorgaben[0].filter, "Simulationsdateien (*.sim)|*.sim");
    EXPECT_EQ(dialog.vorgaben[0].erweiterung, ".sim");
    EXPECT_EQ(dialog.vorgaben[0].dateiname, "bs1");
    EXPECT_EQ(dialog.vorgaben[0].verzeichnis, verzeichnis);

    dialog.antwort = verzeichnis / "anders";
    const auto pfad = lege_ausgabefile_an('S', 'J', haupt, verzeichnis, &dialog);
    ASSERT_TRUE(pfad);
    EXPECT_EQ(pfad->filename(), "anders.sim");
}

TEST_F(Ergebniskatalog, FehlendesVerzeichnisWirdGemeldet) {
    const auto fehlt = verzeichnis / "fehlt";
    EXPECT_FALSE(lege_ausgabefile_an('O', 'N', haupt, fehlt, nullptr));
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].text, "Fehler: Ergebnisverzeichnis nicht beschreibbar: " + fehlt.string());
}

// A name from the database must not lead out of the result folder.
TEST_F(Ergebniskatalog, DateinamenMitOrdnernWerdenAbgelehnt) {
    struct fall {
        const char* ausgabefile;
        const char* steuer;
        char art;
        const char* spalte;  // the refused column, nullptr when accepted
    };
    const fall faelle[] = {
        {"../escaped", "s", 'O', "ausgabefile"},
        {"/tmp/absolut", "s", 'O', "ausgabefile"},
        {"a\\b", "s", 'O', "ausgabefile"},
        {"..", "s", 'O', "ausgabefile"},
        {"", "s", 'O', "ausgabefile"},
        {"c:x", "s", 'O', "ausgabefile"},
        {"ok", "../steuer", 'S', "steuer"},
        {"ok", "../steuer", 'O', nullptr},  // an optimisation writes no control file
        {"a..b", "s.1", 'S', nullptr},
    };
    for (const fall& f : faelle) {
        SCOPED_TRACE(std::string(f.ausgabefile) + " / " + f.steuer);
        senke.dialoge.clear();
        haupt.ausgabefile = f.ausgabefile;
        haupt.steuer = f.steuer;
        const auto pfad = lege_ausgabefile_an(f.art, 'N', haupt, verzeichnis, nullptr);
        if (f.spalte == nullptr) {
            ASSERT_TRUE(pfad);
            EXPECT_EQ(pfad->parent_path(), verzeichnis);
            continue;
        }
        EXPECT_FALSE(pfad);
        ASSERT_EQ(senke.dialoge.size(), 1u);
        EXPECT_NE(senke.dialoge[0].text.find("Tabelle haupt, Zeile Braunschweig 1, Spalte " + std::string(f.spalte)),
                  std::string::npos)
            << senke.dialoge[0].text;
    }
    EXPECT_FALSE(std::filesystem::exists(verzeichnis.parent_path() / "escaped.dat"));
}

TEST_F(Ergebniskatalog, SchreiberLegtDateienErstBeimAbschliessenAnUndTraegtDannEin) {
    const auto ordner = verzeichnis / "ergebnisse";
    std::filesystem::create_directories(ordner);
    const auto pfad = lege_ausgabefile_an('S', 'N', haupt, ordner, nullptr);
    ASSERT_TRUE(pfad);
    ergebnisdatei_angaben a{haupt.name, *pfad, ordner, "bs1_steuer", "qm"};
    auto d = std::make_unique<datm>();
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, 0);
    setze_intervalle(1, 1);
    auto dateien = [&] {
        std::vector<std::string> n;
        for (const auto& e : std::filesystem::directory_iterator(ordner)) n.push_back(e.path().filename().string());
        std::sort(n.begin(), n.end());
        return n;
    };

    {
        ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog, katalogeintrag{'S', haupt, tag});
        // The run passes (first, last, j) to the interval writer and (last, first, j) to the monthly one.
        schreiber.schreibe_intervallergebnisse(*d, 4.0, {1, 3, 1});
        schreiber.schreibe_monatsergebnisse(*d, 4.0, {1, 3, 1});
        // Sections go to temporary files; nothing is visible or catalogued yet.
        EXPECT_FALSE(std::filesystem::exists(*pfad));
        EXPECT_FALSE(std::filesystem::exists(ordner / "bs1_steuer.str"));
        EXPECT_TRUE(katalog.zeilen.empty());
        schreiber.schreibe_intervallergebnisse(*d, 6.0, {1, 3, 2});
        schreiber.schreibe_monatsergebnisse(*d, 6.0, {1, 3, 2});
        schreiber.schreibe_intervallergebnisse(*d, 8.0, {1, 3, 3});
        schreiber.schreibe_monatsergebnisse(*d, 8.0, {1, 3, 3});
        ASSERT_TRUE(schreiber.abschliessen());
    }
    EXPECT_EQ(dateien(), (std::vector<std::string>{"bs1.sim", "bs1_steuer.str"}));
    const std::string zeile2 = "\r\n12,  61,  3"s + '\0' + "\r\n";
    EXPECT_NE(datei_bytes(*pfad).find(zeile2), std::string::npos);
    EXPECT_NE(datei_bytes(ordner / "bs1_steuer.str").find("\r\n1,  21,  3"s + '\0'), std::string::npos);
    ASSERT_EQ(katalog.zeilen.count("bs1.sim"), 1u);
    EXPECT_EQ(katalog.zeilen["bs1.sim"].pfad, ordner.string());

    // A run that is abandoned after its first sections leaves the files of
    // the earlier run as they were and no temporary file.
    const std::string vorher = datei_bytes(*pfad);
    katalog.zeilen.clear();
    {
        ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog, katalogeintrag{'S', haupt, tag});
        schreiber.schreibe_intervallergebnisse(*d, 4.0, {1, 2, 1});
        schreiber.schreibe_monatsergebnisse(*d, 4.0, {1, 2, 1});
    }
    EXPECT_EQ(dateien(), (std::vector<std::string>{"bs1.sim", "bs1_steuer.str"}));
    EXPECT_EQ(datei_bytes(*pfad), vorher);
    EXPECT_TRUE(katalog.zeilen.empty());

    // The result file cannot replace what stands in its way (a folder of
    // that name): the run fails, its new control file is removed and no
    // row is entered.
    std::filesystem::remove(*pfad);
    std::filesystem::remove(ordner / "bs1_steuer.str");
    std::filesystem::create_directories(*pfad / "inhalt");
    {
        ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog, katalogeintrag{'S', haupt, tag});
        schreiber.schreibe_intervallergebnisse(*d, 4.0, {1, 1, 1});
        schreiber.schreibe_monatsergebnisse(*d, 4.0, {1, 1, 1});
        EXPECT_FALSE(schreiber.abschliessen());
    }
    EXPECT_EQ(dateien(), (std::vector<std::string>{"bs1.sim"}));  // the folder only
    EXPECT_TRUE(katalog.zeilen.empty());
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find(pfad->string()), std::string::npos);

    // The folder vanishes before a run writes: the run is abandoned.
    std::filesystem::remove_all(ordner);
    ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog, katalogeintrag{'S', haupt, tag});
    EXPECT_THROW(schreiber.schreibe_monatsergebnisse(*d, 4.0, {1, 1, 1}), abbruch);
    EXPECT_TRUE(katalog.zeilen.empty());
    setze_intervalle(1, 0);
}

TEST_F(Ergebniskatalog, MehrAlsZwanzigAbschnitteWerdenNichtGeschrieben) {
    ergebnisdatei_angaben a{haupt.name, verzeichnis / "bs1.dat", verzeichnis, "bs1_steuer", "qm"};
    auto d = std::make_unique<datm>();
    ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog, katalogeintrag{'O', haupt, tag});
    EXPECT_THROW(schreiber.schreibe_monatsergebnisse(*d, 4.0, {1, 21, 1}), abbruch);
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find("(CMAXA)"), std::string::npos);
    schreiber.verwerfen();
    for (const auto& e : std::filesystem::directory_iterator(verzeichnis))
        EXPECT_EQ(e.path().filename(), "Protokoll.pro");
}

// A NaN or an infinity in the results is a fault of the run: the run stops
// with the quantity and month instead of writing "NAN" into a file.
TEST_F(Ergebniskatalog, NichtEndlicheErgebnisseWerdenNichtGeschrieben) {
    ergebnisdatei_angaben a{haupt.name, verzeichnis / "bs1.sim", verzeichnis, "bs1_steuer", "qm"};
    auto d = std::make_unique<datm>();
    d->feld[adata::flz_ee][3] = std::numeric_limits<double>::quiet_NaN();
    ergebnisschreiber schreiber(a, intervalleingaben{}, &katalog, katalogeintrag{'S', haupt, tag});
    EXPECT_THROW(schreiber.schreibe_monatsergebnisse(*d, 4.0, {1, 1, 1}), abbruch);
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_EQ(senke.dialoge.back().text, "Fehler: Ergebnis ist keine endliche Zahl: flz_ee, Monat 3");
    d->feld[adata::flz_ee][3] = 0.0;
    for (int m = 1; m <= 12; ++m) setze_intervalle(m, m == 2 ? 5 : 0);
    d->feld3[0][2][4] = std::numeric_limits<double>::infinity();
    EXPECT_THROW(schreiber.schreibe_intervallergebnisse(*d, 4.0, {1, 1, 1}), abbruch);
    EXPECT_EQ(senke.dialoge.back().text, "Fehler: Ergebnis ist keine endliche Zahl: zei, Monat 2, Intervall 4");
    setze_intervalle(2, 0);
    EXPECT_FALSE(schreiber.abschliessen());
    EXPECT_FALSE(std::filesystem::exists(a.ergebnisdatei));
    EXPECT_TRUE(katalog.zeilen.empty());
}
