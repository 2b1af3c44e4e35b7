#include <cmath>

#include "app/einstellungen_lauf.h"
#include "data/datenbank.h"
#include "data/einheiten.h"
#include "data/einstellungen.h"
#include "engine/WP_variables.h"
#include "results/ergebnis_einheiten.h"
#include "testhilfe.h"

using namespace tabledata;

namespace {

// A fresh database started the way the program starts.
class Einheiten : public temp_verzeichnis_test {
protected:
    void SetUp() override {
        temp_verzeichnis_test::SetUp();
        setze_Pfade_und_Parameter();
        einstellungen().datenbankverzeichnis = dir;
        DefaultEinstellungen();
        definiere_haupteinheiten();
        lege_fehlende_tabellen_an(dir);
        SetDataBase(dir);
        sprachabhaengig(zustand::datm_allgemein());
        senke.texte.clear();
    }
    void TearDown() override {
        setze_sprache(SPRACHE_DEUTSCH);
        schliesse_alle_tabellen();
        temp_verzeichnis_test::TearDown();
    }
    void neue_zeile(int64_t nummer, const std::string& kuerzel, const std::string& code, double beta,
                    double alpha, const std::string& ausgabe) {
        tabelle& t = tab(teinheit);
        t.einfuegen();
        t.setze("Nummer", nummer);
        t.setze("Kuerzel", kuerzel);
        t.setze("PhysGroesse", kuerzel + "-Größe");
        t.setze("Haupteinheit", haupteinheiten()[groesse_mit_code(code)].haupteinheit);
        t.setze("Beta", beta);
        t.setze("Alpha", alpha);
        t.setze("Skalierung", std::string("N"));
        t.setze("Kennzeichen", code);
        t.setze("Ausgabe", ausgabe);
        t.speichern();
    }
    static size_t groesse_mit_code(const std::string& code) {
        for (size_t i = 0; i < haupteinheiten().size(); ++i)
            if (haupteinheiten()[i].kennzeichen == code) return i;
        return 0;
    }
};

TEST_F(Einheiten, DefaultZeilenInLeererTabelle) {
    tabelle& t = tab(teinheit);
    EXPECT_EQ(Zaehle_datensaetze(t), 55);
    t.sortiere_nach_index("iname");
    t.erster();
    EXPECT_EQ(t.ganzzahl("Nummer"), 1);
    EXPECT_EQ(t.text("Kuerzel"), "kWh/(qm * d)");
    EXPECT_EQ(t.text("Skalierung"), "T");
    EXPECT_EQ(t.text("Kennzeichen"), "IR");
    EXPECT_EQ(t.text("PhysGroesse"), "Einstrahlung");
    ASSERT_TRUE(t.suche({int64_t{13}}));
    EXPECT_EQ(t.text("Kuerzel"), "F");
    EXPECT_NEAR(t.zahl("Alpha"), -160.0 / 9.0, 1e-12);
    ASSERT_TRUE(t.suche({int64_t{17 + groesse::dyn_viskositaet}}));
    EXPECT_EQ(t.text("Kuerzel"), "Pa*s");
    EXPECT_EQ(t.text("Ausgabe"), "J");
    EXPECT_EQ(t.text("PhysGroesse"), "Dynamische Viskosität");
    // Every main unit is its quantity's first output unit.
    for (const auto& e : haupteinheiten()) EXPECT_EQ(e.ausgabe, e.haupteinheit) << e.kennzeichen;
    // A table that holds rows gets no defaults.
    default_einheiten();
    EXPECT_EQ(Zaehle_datensaetze(t), 55);
}

TEST_F(Einheiten, Umrechnungen) {
    struct fall {
        double wert;
        const char *von, *nach, *code;
        int monat;
        double erwartet;
    };
    const std::vector<fall> faelle = {
        {1, "kWh/(qm * d)", "kWh/qm", "IR", 2, 28},
        {1, "kWh/(qm * d)", "kWh/qm", "IR", 0, 1},
        {1, "kWh/(qm * d)", "kWh/qm", "IR", 1, 31},
        {1, "kWh/qm", "kWh/(qm * d)", "IR", 4, 1.0 / 30},
        {1, "kWh/(qm * d)", "MJ/(qm * d)", "IR", 2, 3.6},
        {100, "cal/(qcm * m)", "kWh/qm", "IR", 0, 100 * 41860.0 / 3600000.0},
        {212, "F", "°C", "TE", 0, 100},
        {100, "°C", "F", "TE", 0, 212},
        {-40, "F   ", "°C", "TE", 0, -40},  // trailing blanks of the source are ignored
        {3600, "l/h", "m3/s", "CC", 0, 0.001},
        {2, "l/s", "m3/s", "AC", 0, 0.002},
        {50, "%", "-", "RA", 0, 0.5},
        {1, "W/(kg/h)", "W/(kg/s)", "RCC", 0, 3600},
        {1, "W/(kg/h)", "W", "RCA", 0, 3600},
        {250, "l", "m3", "VO", 7, 0.25},
    };
    for (const auto& f : faelle) {
        EXPECT_NEAR(umrechnen(f.wert, f.von, f.nach, f.code, f.monat), f.erwartet,
                    1e-9 * std::max(1.0, std::fabs(f.erwartet)))
            << f.von << " -> " << f.nach << " month " << f.monat;
    }
    EXPECT_TRUE(senke.texte.empty());
    const umrechnen_struct u = umrechnungsfaktor("°C", "F", "TE", 0);
    EXPECT_NEAR(u.faktor, 1.8, 1e-12);
    EXPECT_NEAR(u.offset, 32.0, 1e-12);
    EXPECT_EQ(u.bekannt, "F");
    EXPECT_NEAR(in_haupteinheit(3600, "l/h", groesse::volumenstrom_traeger), 0.001, 1e-15);
    // February of a leap year, once the calendar says so.
    einstellungen().monatstage[2] = 29;
    EXPECT_DOUBLE_EQ(umrechnen(1, "kWh/(qm * d)", "kWh/qm", "IR", 2), 29);
    einstellungen().monatstage[2] = 28;
}

TEST_F(Einheiten, UnbekannteEinheitenWerdenGemeldetUndNichtUmgerechnet) {
    const std::string m = "Fehler: Einheit unbekannt, in Einheitendatenbank eintragen: ";
    // Unknown source: both sides reported, value unchanged.
    EXPECT_DOUBLE_EQ(umrechnen(7, "Elle", "m", "LE", 0), 7);
    EXPECT_EQ(senke.texte, (std::vector<std::string>{m + "Elle", m + "m"}));
    // The code must match too: "F" is no length.
    senke.texte.clear();
    EXPECT_DOUBLE_EQ(umrechnen(7, "F", "m", "LE", 0), 7);
    EXPECT_EQ(senke.texte.size(), 2u);
    // Unknown target: only the target, the source side still converts.
    senke.texte.clear();
    EXPECT_DOUBLE_EQ(umrechnen(250, "l", "Fass", "VO", 0), 0.25);
    EXPECT_EQ(senke.texte, (std::vector<std::string>{m + "Fass"}));
    // An empty unit column: reported, value used as it is.
    senke.texte.clear();
    EXPECT_DOUBLE_EQ(in_haupteinheit(5, "", groesse::laenge), 5);
    EXPECT_EQ(senke.texte, (std::vector<std::string>{m}));
    // A target row with factor 0 is not divided by.
    neue_zeile(60, "null", "LE", 0.0, 0.0, "N");
    senke.texte.clear();
    EXPECT_DOUBLE_EQ(umrechnen(5, "m", "null", "LE", 0), 5);
    EXPECT_EQ(senke.texte.size(), 1u);
}

TEST_F(Einheiten, AusgabeeinheitenUndKennzeichen) {
    // Two output rows for one code: the first in index order wins.
    neue_zeile(70, "MWh", "EN", 1000, 0, "J");
    neue_zeile(56, "GWh", "EN", 1e6, 0, "J");
    tabelle& t = tab(teinheit);
    ASSERT_TRUE(t.suche({std::string("kWh")}));
    t.bearbeiten();
    t.setze("Ausgabe", std::string("N"));
    t.speichern();
    lese_ausgabe_einheiten();
    EXPECT_EQ(haupteinheiten()[groesse::energie].ausgabe, "GWh");
    EXPECT_NEAR(in_ausgabeeinheit(2e6, groesse::energie), 2.0, 1e-12);

    // "Ausgabeeinheit setzen" on MWh: it alone carries "J" for its code.
    ASSERT_TRUE(t.suche({std::string("MWh")}));
    setze_ausgabeeinheit();
    EXPECT_EQ(haupteinheiten()[groesse::energie].ausgabe, "MWh");
    EXPECT_EQ(t.text("Kuerzel"), "MWh");
    t.setze_filter({{"Kennzeichen", "=", std::string("EN")}, {"Ausgabe", "=", std::string("J")}});
    EXPECT_EQ(Zaehle_datensaetze(t), 1);
    t.filter_aus();

    // A quantity whose rows are all gone keeps its output unit.
    t.setze_filter({{"Kennzeichen", "=", std::string("EN")}});
    loesche_daten(t);
    t.filter_aus();
    lese_ausgabe_einheiten();
    EXPECT_EQ(haupteinheiten()[groesse::energie].ausgabe, "MWh");
    datm& d = zustand::datm_allgemein();
    einheiten_default(d);
    EXPECT_EQ(haupteinheiten()[groesse::energie].ausgabe, "kWh");
    EXPECT_EQ(Zaehle_datensaetze(t), 55);

    // Code of a unit: the last row in table order.
    EXPECT_EQ(kennzeichen_von_einheit("W/(kg/h)"), "RCA");
    EXPECT_EQ(kennzeichen_von_einheit("kWh  "), "EN");
    EXPECT_EQ(kennzeichen_von_einheit("Elle"), "");
}

TEST_F(Einheiten, ZeileVervollstaendigenUndSkalierung) {
    tabelle& t = tab(teinheit);
    t.einfuegen();
    t.setze("Nummer", int64_t{80});
    t.setze("Kuerzel", std::string("bar"));
    t.setze("Beta", 1e5);
    t.speichern();
    uebernehme_physgroesse(groesse::druck);
    setze_skalierung(false);
    EXPECT_EQ(t.text("PhysGroesse"), "Druck");
    EXPECT_EQ(t.text("Haupteinheit"), "N/qm");
    EXPECT_EQ(t.text("Kennzeichen"), "DR");
    EXPECT_EQ(t.text("Skalierung"), "N");
    EXPECT_DOUBLE_EQ(umrechnen(2, "bar", "N/qm", "DR", 0), 2e5);
    setze_skalierung(true);
    EXPECT_DOUBLE_EQ(umrechnen(2, "bar", "N/qm", "DR", 2), 2e5 * 28);
}

TEST_F(Einheiten, SprachwechselUndErgebnisbeschriftungen) {
    datm& d = zustand::datm_allgemein();
    EXPECT_EQ(d.beschriftung[adata::jkk], "Jährlicher lokaler Energieverbrauch [kWh]");
    EXPECT_EQ(d.programm_einheit[adata::zv], "m3/s");
    EXPECT_EQ(d.kennzeichen[adata::theta], "AN");
    EXPECT_EQ(d.programm_einheit_3[4], "m3/s");
    EXPECT_EQ(d.ausgabe_einheit_3[16], "°C");
    ASSERT_EQ(reihenfolge().monatlich.size(), 46u);
    ASSERT_EQ(reihenfolge().jaehrlich.size(), 13u);
    EXPECT_EQ(reihenfolge().monatlich.front().second, "jek");
    EXPECT_EQ(reihenfolge().monatlich.back().second, "v_luft");
    EXPECT_EQ(reihenfolge().jaehrlich.back(),
              (std::pair<std::string, std::string>{"Jährlicher Deckungsgrad gesamt [-]", "degra_j"}));

    // Output unit of energy to MWh: the result quantities follow; zpk stays
    // in the output unit (no conversion).
    neue_zeile(70, "MWh", "EN", 1000, 0, "N");
    ASSERT_TRUE(tab(teinheit).suche({std::string("MWh")}));
    ausgabeeinheit_setzen(d);
    EXPECT_EQ(d.ausgabe_einheit[adata::er], "MWh");
    EXPECT_NEAR(d.umrechnen[adata::er].faktor, 0.001, 1e-15);
    EXPECT_EQ(d.programm_einheit[adata::zpk], "MWh");
    EXPECT_DOUBLE_EQ(d.umrechnen[adata::zpk].faktor, 1.0);
    EXPECT_EQ(d.beschriftung_3[15], "Wärmeenergieverbrauch in Intervall [MWh]");

    // A duplicate of "F" under another quantity name must not stop the switch.
    neue_zeile(71, "F", "TE", 5.0 / 9.0, -160.0 / 9.0, "N");
    EXPECT_FALSE(waehle_sprache(SPRACHE_DEUTSCH, d));  // same language: nothing rebuilt
    EXPECT_TRUE(waehle_sprache(SPRACHE_ENGLISCH, d));
    EXPECT_EQ(haupteinheiten()[groesse::temperatur].name, "Temperature");
    EXPECT_EQ(datenbanken()[tgas].kuerzel, "HEAT");
    EXPECT_EQ(d.beschriftung[adata::theta], "Collector tilt [°]");
    tabelle& t = tab(teinheit);
    ASSERT_TRUE(t.suche({std::string("F"), std::string("Temperature")}));
    EXPECT_TRUE(t.suche({std::string("F"), std::string("F-Größe")}));
    EXPECT_TRUE(waehle_sprache(SPRACHE_DEUTSCH, d));
    EXPECT_TRUE(t.suche({std::string("F"), std::string("Temperatur")}));
    EXPECT_EQ(datenbanken()[tgas].kuerzel, "HEIZ");
    EXPECT_EQ(haupteinheiten()[groesse::einstrahlung].name, "Einstrahlung");
    EXPECT_TRUE(senke.texte.empty());
}

TEST(Beschriftung, MitEinheit) {
    EXPECT_EQ(beschriftung_mit_einheit("Fläche", "qm"), "Fläche [qm]");
    EXPECT_EQ(beschriftung_mit_einheit("Preis", "EUR", "kWh"), "Preis [EUR/kWh]");
}

}  // namespace
