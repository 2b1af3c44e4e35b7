#include <cstdlib>
#include <optional>

#include "app/einstellungen_lauf.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/WP_variables.h"
#include "testhilfe.h"

using namespace tabledata;

namespace {

class Einstellungen : public temp_verzeichnis_test {
protected:
    void SetUp() override {
        temp_verzeichnis_test::SetUp();
        const char* alt = std::getenv("XDG_DATA_HOME");
        xdg_alt = alt ? std::optional<std::string>(alt) : std::nullopt;
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
        // The start-up sequence.
        setze_Pfade_und_Parameter();
        DefaultEinstellungen();
        definiere_haupteinheiten();
        lege_standardverzeichnisse_an();
        lege_fehlende_tabellen_an(einstellungen().datenbankverzeichnis);
        SetDataBase(einstellungen().datenbankverzeichnis);
        sprachabhaengig(zustand::datm_allgemein());
        CheckAllTables();
        senke.texte.clear();
    }
    void TearDown() override {
        if (xdg_alt)
            setenv("XDG_DATA_HOME", xdg_alt->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        schliesse_alle_tabellen();
        temp_verzeichnis_test::TearDown();
    }
    void pfadprofil(const std::string& db, const std::string& ergebnis) {
        tabelle& t = tab(trespfad);
        t.einfuegen();
        t.setze("name", std::string("Profil"));
        t.setze("pfaddatabase", db);
        t.setze("pfadresultate", ergebnis);
        t.setze("pfadklimadaten", (dir / "Klima" / "CLIMATO").string());
        t.setze("pfadtaeglichedaten", (dir / "Klima").string());
        t.setze("pfadstuendlichedaten", (dir / "Klima").string());
        t.setze("pfadstationdaten", (dir / "Klima" / "stations.txt").string());
        t.setze("tdzeilen", int64_t{12});
        t.setze("sdspalten", int64_t{24});
        t.speichern();
    }
    std::optional<std::string> xdg_alt;
};

TEST_F(Einstellungen, StandardverzeichnisseUndKalender) {
    const auto& e = einstellungen();
    EXPECT_EQ(e.datenbankverzeichnis, dir / "Varnek" / "DataBase");
    EXPECT_EQ(e.datenbank_alt, dir / "Varnek" / "DataBase Alt");
    EXPECT_EQ(e.ergebnisverzeichnis, dir / "Varnek" / "Results");
    EXPECT_EQ(e.textverzeichnis, dir / "Varnek" / "Texte");
    EXPECT_EQ(e.tagesmittel.pfad, dir / "Varnek" / "European Radiaton Atlas 2000" / "DATA" / "DAILY");
    EXPECT_EQ(e.stundenmittel.zeilen, 365);
    EXPECT_EQ(e.tagesmittel.spalten_ueberlesen, 2);
    EXPECT_TRUE(std::filesystem::is_directory(e.datenbank_alt));
    EXPECT_TRUE(std::filesystem::exists(e.datenbankverzeichnis / "HAUPT.sqlite"));

    const std::array<int32_t, 13> anfang{0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    EXPECT_EQ(e.monatsanfang, anfang);
    EXPECT_EQ(e.monatsmitte[3], 74);
    EXPECT_EQ(e.monatstage_grafik[0], 12);
    EXPECT_EQ(e.monatstage_grafik[2], 28);
    EXPECT_EQ(e.leer40.size(), 40u);
    EXPECT_DOUBLE_EQ(e.kWh_in_Ws, 3600000.0);
    ASSERT_EQ(ergebnis_kurznamen().size(), 79u);
    EXPECT_EQ(ergebnis_kurznamen()[adata::speiv_edt], "speiv_edt");
    EXPECT_EQ(ergebnis_kurznamen()[61 + 17], "wpaus3");
}

TEST_F(Einstellungen, NumerischeParameter) {
    laufsteuerung l;
    numerische_parameter_default(l);
    EXPECT_DOUBLE_EQ(l.maxge, 5e-05);
    EXPECT_DOUBLE_EQ(l.minge, 5e-08);
    EXPECT_EQ(l.anzge, 100);
    EXPECT_DOUBLE_EQ(l.maxwp, 10000.0);
    // Shown in the output unit, 3 decimals: 0 in m3/s, 180 in l/h.
    EXPECT_DOUBLE_EQ(zeige_numerische_parameter(l).maxge, 0.0);
    tabelle& t = tab(teinheit);
    ASSERT_TRUE(t.suche({std::string("l/h")}));
    ausgabeeinheit_setzen(zustand::datm_allgemein());
    EXPECT_DOUBLE_EQ(zeige_numerische_parameter(l).maxge, 180.0);
    EXPECT_DOUBLE_EQ(zeige_numerische_parameter(l).minge, 0.18);

    // The form opens with the current `rech` row in the output unit.
    tabelle& r = tab(trech);
    r.einfuegen();
    r.setze("name", std::string("Standard"));
    r.setze("maxge", 0.002);
    r.setze("minge", 1.5e-6);
    r.setze("einge", std::string("m3/s"));
    r.setze("anzge", int64_t{50});
    r.setze("maxwp", 8.0);
    r.speichern();
    const numerische_anzeige a = zeige_rech_parameter();
    EXPECT_DOUBLE_EQ(a.maxge, 7200.0);  // 0.002 m3/s = 7200 l/h
    EXPECT_DOUBLE_EQ(a.minge, 5.4);
    EXPECT_EQ(a.anzge, 50);
    EXPECT_DOUBLE_EQ(a.maxwp, 8.0);

    // "Setzen" reads the fields in the output unit.
    setze_numerische_parameter(l, "360", "0,36", "200", "50");
    EXPECT_NEAR(l.maxge, 1e-4, 1e-18);
    EXPECT_NEAR(l.minge, 1e-7, 1e-20);
    EXPECT_EQ(l.anzge, 200);
    EXPECT_DOUBLE_EQ(l.maxwp, 50.0);
    // A bad entry sets nothing.
    EXPECT_THROW(setze_numerische_parameter(l, "1", "2", "3,5", "4"), abbruch);
    EXPECT_EQ(l.anzge, 200);
    EXPECT_NEAR(l.maxge, 1e-4, 1e-18);
    // More than 500 steps: reported, the value stays, the rest is not set.
    senke.texte.clear();
    EXPECT_THROW(setze_numerische_parameter(l, "360", "0.36", "501", "7"), abbruch);
    EXPECT_EQ(senke.texte,
              std::vector<std::string>{
                  "Fehler: Zulässige Anzahl von Werten für Pumpgeschwindigkeit (MAXV) überschritten"});
    EXPECT_EQ(l.anzge, 501);
    EXPECT_DOUBLE_EQ(l.maxwp, 50.0);
}

TEST_F(Einstellungen, PfadeAusProfil) {
    const auto neu = dir / "Neue Datenbank Ä";  // blanks and non-ASCII letters
    std::filesystem::create_directories(neu);
    pfadprofil(neu.string(), (dir / "fehlt").string());
    EXPECT_TRUE(datenbank_setzen());
    EXPECT_EQ(einstellungen().datenbankverzeichnis, neu);
    EXPECT_EQ(tab(thaupt).datei(), neu / "HAUPT.sqlite");
    EXPECT_TRUE(tab(thaupt).ist_offen());
    EXPECT_TRUE(std::filesystem::exists(neu / "WMO.sqlite"));
    EXPECT_TRUE(senke.enthaelt("Einstellungen werden bei Schliessen des Programms nicht gespeichert"));

    // The profile lives in the old directory; go back there to read it.
    SetDataBase(dir / "Varnek" / "DataBase");
    tab(trespfad).erster();
    senke.texte.clear();
    EXPECT_FALSE(ergebnispfad_setzen());
    EXPECT_EQ(einstellungen().ergebnisverzeichnis, dir / "fehlt");
    EXPECT_EQ(senke.texte.front().rfind("Warnung: Verzeichnis nicht angelegt", 0), 0u);

    std::filesystem::create_directories(dir / "Klima" / "CLIMATO");
    senke.texte.clear();
    EXPECT_FALSE(klimadaten_setzen());  // stations.txt does not exist
    EXPECT_EQ(einstellungen().tagesmittel.zeilen, 12);
    EXPECT_EQ(einstellungen().stundenmittel.spalten, 24);
    EXPECT_EQ(einstellungen().monatsmittel.pfad, dir / "Klima" / "CLIMATO");
    EXPECT_EQ(senke.texte.size(), 2u);
}

}  // namespace
