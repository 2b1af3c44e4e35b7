#include <sqlite3.h>

#include <fstream>
#include <map>
#include <iterator>

#include "data/datenbank.h"
#include "data/stammdaten.h"
#include "testhilfe.h"

using namespace tabledata;

namespace {

struct spalte_ist {
    std::string name, typ;
    bool notnull;
    int pk;
};

// Reads the columns of a table straight from its file.
std::vector<spalte_ist> spalten_der_datei(const std::filesystem::path& datei, const std::string& tabelle) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(datei.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, tabelle.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<spalte_ist> r;
    while (sqlite3_step(st) == SQLITE_ROW)
        r.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                     reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                     sqlite3_column_int(st, 2) != 0, sqlite3_column_int(st, 3)});
    sqlite3_finalize(st);
    sqlite3_close(db);
    return r;
}

class Datenbank : public temp_verzeichnis_test {
protected:
    void TearDown() override {
        schliesse_alle_tabellen();
        temp_verzeichnis_test::TearDown();
    }
};

// Expected layout: column count, key columns, and probes "position name type"
// that pin the stored order (several readers address columns by position).
struct schema_fall {
    int index;
    const char* datei;
    const char* tabelle;
    int spalten;
    std::vector<std::string> schluessel;
    std::vector<std::tuple<int, std::string, std::string, bool>> proben;
};

TEST_F(Datenbank, JedeTabelleHatIhreDateiUndIhrSchema) {
    lege_fehlende_tabellen_an(dir);
    SetDataBase(dir);
    EXPECT_TRUE(senke.texte.empty());
    for (int i = 0; i < ANZ_TABELLEN; ++i) {
        EXPECT_TRUE(tab(i).ist_offen()) << i;
        EXPECT_TRUE(std::filesystem::exists(dir / (tabellenschluessel(i) + ".sqlite"))) << i;
        EXPECT_EQ(datenbanken()[i].name_pfad,
                  "Database=" + (dir / (tabellenschluessel(i) + ".sqlite")).string());
    }
    // clang-format off
    const std::vector<schema_fall> faelle = {
        {tir_ta_d, "IR_TA_D", "ir_ta_d", 12, {"name", "monat", "nummer"},
         {{0, "name", "VARCHAR(50)", true}, {1, "monat", "INTEGER", true}, {11, "zeitintervall", "VARCHAR(2)", false}}},
        {tew_d, "EW_D", "ew_d", 9, {"name", "monat", "nummer"}, {{3, "ew", "REAL", false}, {8, "normiert", "VARCHAR(2)", false}}},
        {teh_d, "EH_D", "eh_d", 9, {"name", "monat", "nummer"}, {{0, "name", "VARCHAR(255)", true}}},
        {thaupt, "HAUPT", "haupt", 40, {"name", "land", "bezirk", "ort", "kundennummer"},
         {{7, "ir_ta_m", "VARCHAR(50)", false}, {16, "kolu", "VARCHAR(50)", false}, {25, "steuerspeicher", "VARCHAR(50)", false},
          {37, "unter_liste", "VARCHAR(50)", false}, {38, "lock", "VARCHAR(50)", false}, {39, "info", "VARCHAR(255)", false}}},
        {tir_ta_m, "IR_TA_M", "ir_ta_m", 91, {"name"},
         {{10, "meßdatum", "NUMERIC(20,0)", false}, {12, "ir1", "REAL", false}, {17, "m1", "BIGINT", false},
          {18, "ir2", "REAL", false}, {83, "m12", "BIGINT", false}, {84, "zeitintervall", "VARCHAR(2)", false}, {90, "info", "VARCHAR(255)", false}}},
        {tte, "TE", "te", 25, {"name"}, {{7, "bodenart", "VARCHAR(20)", false}, {12, "Januar", "REAL", false}, {13, "Februar", "REAL", false}, {24, "Info", "VARCHAR(255)", false}}},
        {ttw, "TW", "tw", 25, {"name"}, {{12, "Januar", "REAL", false}, {13, "februar", "REAL", false}, {14, "märz", "REAL", false}, {24, "info", "VARCHAR(255)", false}}},
        {tth, "TH", "th", 25, {"name"}, {{7, "heizungstyp", "REAL", false}, {23, "dezember", "REAL", false}}},
        {tew_m, "EW_M", "ew_m", 45, {"name"},
         {{4, "land", "VARCHAR(5)", false}, {14, "puffer1", "VARCHAR(2)", false}, {18, "Januar", "REAL", false}, {19, "m1", "REAL", false},
          {20, "februar", "REAL", false}, {42, "zeitintervall", "VARCHAR(2)", false}}},
        {teh_m, "EH_M", "eh_m", 47, {"name"},
         {{17, "anzahlderwerte", "INTEGER", false}, {18, "januar", "REAL", false}, {41, "m12", "REAL", false}, {45, "TINNEN", "REAL", false}, {46, "EinT", "VARCHAR(10)", false}}},
        {tee, "EE", "ee", 27, {"Name"}, {{0, "Name", "VARCHAR(50)", true}, {12, "Anzahl der Werte", "INTEGER", false}, {13, "januar", "REAL", false}, {25, "gesamt", "REAL", false}}},
        {trw, "Rw", "rw", 25, {"name"}, {{7, "heizungstyp", "REAL", false}}},
        {trh, "Rh", "rh", 25, {"name"}, {{10, "datum der neuanlage", "VARCHAR(23)", false}}},
        {tko, "KO", "ko", 27, {"name"}, {{13, "typadc_p", "VARCHAR(10)", false}, {26, "info", "VARCHAR(255)", false}}},
        {tkol, "KOL", "kol", 33, {"name"}, {{10, "windabhaengigert-koef", "REAL", false}, {18, "rohrverlegung", "VARCHAR(20)", false}, {29, "typadc_v", "VARCHAR(20)", false}}},
        {tgwt, "GWT", "gwt", 18, {"name"}, {{7, "anzahl", "INTEGER", false}, {13, "typ", "VARCHAR(2)", false}}},
        {twp, "WP", "wp", 45, {"name", "arbeitsweise"},
         {{1, "arbeitsweise", "VARCHAR(12)", true}, {33, "MinPrimär", "REAL", false}, {43, "anz_koeff", "REAL", false}, {44, "Kaeltemittel", "VARCHAR(50)", false}}},
        {tkalk, "KALK", "kalk", 6, {"name"}, {{2, "einheit zins", "VARCHAR(20)", false}, {4, "einheit ab.", "VARCHAR(20)", false}}},
        {tnum, "NUM", "num", 13, {"name"}, {{6, "monatstart", "INTEGER", false}, {11, "modelltypdruckabfall", "VARCHAR(5)", false}}},
        {trech, "RECH", "rech", 27, {"name"}, {{7, "mina", "INTEGER", false}, {20, "anzexp", "BIGINT", false}, {24, "einheittemp", "TEXT", false}}},
        {tabledata::tan, "AN", "an", 10, {"Name"}, {{3, "Ohne Kopplung", "VARCHAR(5)", false}, {5, "LeistungWP", "VARCHAR(3)", false}}},
        {tgas, "GAS", "gas", 8, {"name"}, {}},
        {tpreis, "PREIS", "preis", 5, {"name"}, {{3, "pumpen", "VARCHAR(10)", false}}},
        {tkraft, "KRAFT", "kraft", 4, {"name"}, {}},
        {tzelle, "ZELLE", "zelle", 8, {"name"}, {}},
        {tspei, "SPEI", "spei", 17, {"name"}, {{9, "wtdaussen", "REAL", false}}},
        {tsub, "SUB", "sub", 11, {"name"}, {}},
        {tunter, "UNTER", "unter", 8, {"name"}, {}},
        {tunter_liste, "UNTER_LISTE", "unter_liste", 3, {"name", "unterhalt"}, {{1, "unterhalt", "VARCHAR(50)", true}}},
        {tsteuer, "STEUERSPEICHER", "steuer", 32, {"name"},
         {{1, "LadeJanuar", "VARCHAR(1)", false}, {2, "entnehmejanuar", "VARCHAR(1)", false}, {5, "lademaerz", "VARCHAR(1)", false},
          {24, "entnehmedezember", "VARCHAR(1)", false}, {30, "maxmittemp", "INTEGER", false}, {31, "info", "TEXT", false}}},
        {tlage, "LAGE", "lage", 21, {"name"}, {{3, "einheitwinkel", "VARCHAR(10)", false}}},
        {tzu, "ZU", "zu", 7, {"name", "artikelnummer"}, {{2, "gruppe", "VARCHAR(1)", false}}},
        {tliste, "LISTE", "liste", 4, {"name", "artikelname", "artikelnummer"}, {}},
        {tliste2, "LISTE2", "liste2", 3, {"name_einlesefile", "name_liste"}, {}},
        {theizwert, "HEIZWERT", "heizwert", 4, {"name"}, {}},
        {ttarif, "TARIFE", "tarife", 6, {"name"}, {}},
        {tluft, "LUFT", "luft", 17, {"medium", "aggregatzustand", "temperatur"}, {{0, "Nummer", "BIGINT", false}, {3, "temperatur", "REAL", true}}},
        {tkaelte, "KAELTE", "kaelte", 9, {"name", "temperatur"}, {{0, "Nummer", "INTEGER", false}, {1, "name", "VARCHAR(20)", true}}},
        {twaerme, "WAERME", "waerme", 14, {"name"}, {{10, "kaeltemittel", "VARCHAR(20)", false}}},
        {tcur, "CURR", "curr", 3, {"name"}, {}},
        {teinheit, "EINHEITEN", "einheiten", 9, {"Kuerzel", "PhysGroesse"},
         {{0, "Nummer", "BIGINT", false}, {1, "Kuerzel", "VARCHAR(50)", false}, {7, "Kennzeichen", "VARCHAR(3)", false}, {8, "Ausgabe", "VARCHAR(2)", false}}},
        {trespfad, "ResPFAD", "respfad", 21, {"name"}, {{0, "name", "VARCHAR(100)", true}, {20, "norm_ta", "REAL", false}}},
        {tres, "RESULT", "result", 14, {"name", "land", "bezirk", "ort", "kundennummer"}, {{0, "name", "VARCHAR(60)", true}, {1, "land", "VARCHAR(10)", true}}},
        {tmemodb, "MEMO", "memo", 47, {"sprache"}, {{1, "IR_TA_D", "TEXT", false}, {46, "WMO", "TEXT", false}}},
        {tkontrolle, "KONTROLLE", "kontrolle", 3, {"kennung"}, {}},
        {twmo, "WMO", "wmo", 32, {"wmo"}, {{2, "breite", "VARCHAR(7)", false}, {31, "biomassen_zone", "VARCHAR(2)", false}}},
    };
    // clang-format on
    ASSERT_EQ(faelle.size(), static_cast<size_t>(ANZ_TABELLEN));
    for (size_t f = 0; f < faelle.size(); ++f) {
        const auto& fall = faelle[f];
        SCOPED_TRACE(fall.datei);
        EXPECT_EQ(fall.index, static_cast<int>(f));
        EXPECT_EQ(tabellenschluessel(fall.index), fall.datei);
        const auto ist = spalten_der_datei(dir / (std::string(fall.datei) + ".sqlite"), fall.tabelle);
        ASSERT_EQ(static_cast<int>(ist.size()), fall.spalten);
        std::map<int, std::string> pk;
        for (const auto& s : ist)
            if (s.pk) pk[s.pk] = s.name;
        std::vector<std::string> schluessel;
        for (auto& [n, s] : pk) schluessel.push_back(s);
        EXPECT_EQ(schluessel, fall.schluessel);
        for (const auto& [pos, name, typ, notnull] : fall.proben) {
            EXPECT_EQ(ist[pos].name, name) << pos;
            EXPECT_EQ(ist[pos].typ, typ) << name;
            EXPECT_EQ(ist[pos].notnull, notnull) << name;
        }
        // The table class reports the same order.
        EXPECT_EQ(Finde_index(tab(fall.index), ist.back().name), fall.spalten - 1);
    }
    // Named indexes are stored in the files.
    EXPECT_EQ(tab(tir_ta_d).indexspalten("iprim"), (std::vector<std::string>{"name", "monat", "nummer"}));
    EXPECT_EQ(tab(twmo).indexspalten("iBreite_Laenge"), (std::vector<std::string>{"breite", "laenge"}));
    for (auto [i, ix] : {std::pair{thaupt, "isortieren"},
                         {tres, "isortieren"},
                         {teinheit, "iname"},
                         {tluft, "iname"},
                         {tzu, "iTyp"},
                         {theizwert, "iEinheitBrennstoff"},
                         {twmo, "iLand_Ort"}})
        EXPECT_FALSE(tab(i).indexspalten(ix).empty()) << ix;
}

TEST_F(Datenbank, SchluesselOhneGrossKleinUndFremdeDatei) {
    EXPECT_EQ(finde_tabelle("steuerspeicher"), tsteuer);
    EXPECT_EQ(finde_tabelle("rw"), trw);
    EXPECT_EQ(finde_tabelle("respfad"), trespfad);
    EXPECT_EQ(finde_tabelle("gibtsnicht"), -1);

    // An existing file whose name differs in case is used, not duplicated;
    // a foreign file, an empty file and a database without the table are
    // reported by name and stay byte for byte as they were: opening the
    // database never writes.
    {
        tabelle rw;
        ASSERT_TRUE(rw.oeffne(dir / "rw.sqlite", tabellenschema(trw)));
        rw.einfuegen();
        rw.setze("name", std::string("Rücklauf 30"));
        rw.speichern();
    }
    std::ofstream(dir / "KOL.sqlite") << "kein SQLite";
    std::ofstream(dir / "SPEI.sqlite").flush();
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((dir / "WP.sqlite").string().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE anders (x INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    // A data-set table whose file lacks the named index of its list order.
    {
        tabelle h;
        ASSERT_TRUE(h.oeffne(dir / "HAUPT.sqlite", tabellenschema(thaupt)));
    }
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((dir / "HAUPT.sqlite").string().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "DROP INDEX isortieren", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    auto inhalt = [&] {
        std::map<std::string, std::string> m;
        for (const auto& e : std::filesystem::directory_iterator(dir)) {
            if (e.path().extension() != ".sqlite") continue;
            std::ifstream f(e.path(), std::ios::binary);
            m[e.path().filename().string()] = std::string(std::istreambuf_iterator<char>(f), {});
        }
        return m;
    };
    const auto vorher = inhalt();
    SetDataBase(dir);
    CheckAllTables();
    EXPECT_EQ(Zaehle_datensaetze(tab(trw)), 1);
    // The order of the missing index is still available, without creating it.
    tab(thaupt).sortiere_nach_index("isortieren");
    EXPECT_EQ(tab(thaupt).sortierspalten(), (std::vector<std::string>{"land", "bezirk", "ort", "kundennummer", "name"}));
    EXPECT_EQ(inhalt(), vorher);  // no file created, none changed
    for (int i : {tkol, tspei, twp, tcur}) EXPECT_FALSE(tab(i).ist_offen()) << i;
    for (const char* datei : {"KOL.sqlite", "SPEI.sqlite", "WP.sqlite"})
        EXPECT_TRUE(senke.enthaelt((dir / datei).string())) << datei;
    // CheckAllTables right after does not report the unchanged files again.
    const auto meldungen = senke.texte.size();
    CheckAllTables();
    EXPECT_EQ(senke.texte.size(), meldungen);

    // Once the file is replaced, CheckAllTables opens what is missing.
    std::filesystem::remove(dir / "KOL.sqlite");
    {
        tabelle kol;
        ASSERT_TRUE(kol.oeffne(dir / "KOL.sqlite", tabellenschema(tkol)));
    }
    CheckAllTables();
    EXPECT_TRUE(tab(tkol).ist_offen());
    // A write the user asked for creates the table it needs.
    EXPECT_FALSE(tab(tres).ist_offen());
    EXPECT_TRUE(tab_zum_schreiben(tres).ist_offen());
    EXPECT_TRUE(std::filesystem::exists(dir / "RESULT.sqlite"));

    // A missing database directory is reported once; the tables are closed.
    senke.texte.clear();
    SetDataBase(dir / "fehlt");
    EXPECT_EQ(senke.texte.size(), 1u);
    EXPECT_FALSE(tab(thaupt).ist_offen());
}

TEST_F(Datenbank, OeffnenBeiErsterBenutzungUndFreieBeschreibungsspalten) {
    // An installation's description table with only some per-table columns.
    {
        tabellen_def memo{"memo",
                          {{"sprache", spaltentyp::text, 20, true}, {"HAUPT", spaltentyp::memo, 0, false}},
                          {"sprache"},
                          {}};
        tabelle m;
        ASSERT_TRUE(m.oeffne(dir / "MEMO.sqlite", memo));
    }
    lege_fehlende_tabellen_an(dir);
    fuelle_registry(dir);
    EXPECT_FALSE(datenbanken()[tcur].tab->ist_offen());
    EXPECT_EQ(Zaehle_datensaetze(tab(tcur)), 0);  // opened on first use
    EXPECT_TRUE(tab(tmemodb).ist_offen());
    EXPECT_EQ(tab(tmemodb).spaltenanzahl(), 2);
    EXPECT_TRUE(senke.texte.empty());
}

TEST_F(Datenbank, ZaehlenLoeschenFeldtest) {
    lege_fehlende_tabellen_an(dir);
    SetDataBase(dir);
    tabelle& t = tab(tcur);
    for (auto [name, f] : {std::pair{"EUR", 1.0}, {"USD", 0.92}, {"CHF", 1.05}}) {
        t.einfuegen();
        t.setze("name", std::string(name));
        t.setze("umrechnung", f);
        t.speichern();
    }
    t.einfuegen();
    t.setze("name", std::string("XXX"));
    t.speichern();
    EXPECT_EQ(Zaehle_datensaetze(t), 4);
    const int u = Finde_index(t, "Umrechnung");
    EXPECT_EQ(u, 2);
    t.erster();
    EXPECT_DOUBLE_EQ(teste_feld(t, u), 1.05);
    t.letzter();
    EXPECT_DOUBLE_EQ(teste_feld(t, u), 0.0);  // empty field
    t.setze_filter({{"name", "LIKE", std::string("%U%")}});
    loesche_daten(t);
    t.filter_aus();
    EXPECT_EQ(Zaehle_datensaetze(t), 2);
    loesche_daten(t);
    EXPECT_EQ(Zaehle_datensaetze(t), 0);
}

// A site data set whose every reference exists, in a fresh database.
class Stammdaten : public Datenbank {
protected:
    void SetUp() override {
        Datenbank::SetUp();
        lege_fehlende_tabellen_an(dir);
        SetDataBase(dir);
        for (int i = tir_ta_m; i <= tlage; ++i) {
            if (i == tkol || i == twp || i == tunter) continue;
            std::vector<std::pair<std::string, std::string>> felder = {
                {tabellenschema(i).schluessel[0], "R_" + tabellenschluessel(i)}};
            if (i == tunter_liste) felder.emplace_back("unterhalt", "Pumpe");
            lege_an(i, felder);
        }
        lege_an(tkol, {{"name", "Kol unten"}});
        lege_an(tkol, {{"name", "Kol oben"}});
        lege_an(twp, {{"name", "WP1"}, {"arbeitsweise", "ww"}});
        lege_an(twp, {{"name", "WP1"}, {"arbeitsweise", "we"}});
        lege_an(tspei, {{"name", "Zwischen"}});
        lege_an(tspei, {{"name", "Lang"}});
        lege_an(tir_ta_d, {{"name", "R_IR_TA_M"}, {"monat", "1"}, {"nummer", "1"}});
        lege_an(tir_ta_d, {{"name", "Andere"}, {"monat", "1"}, {"nummer", "1"}});

        tabelle& h = tab(thaupt);
        h.einfuegen();
        for (const char* k : {"name", "land", "bezirk", "ort", "kundennummer"}) h.setze(k, std::string("H"));
        for (int i = tir_ta_m; i <= tlage; ++i) {
            if (i == tkol || i == twp || i == tunter) continue;
            h.setze(tabellenschluessel(i), "R_" + tabellenschluessel(i));
        }
        h.setze("kolu", std::string("Kol unten"));
        h.setze("kolo", std::string("Kol oben"));
        h.setze("wpww", std::string("WP1"));
        h.setze("wpwe", std::string("WP1"));
        h.setze("zwischenspei", std::string("Zwischen"));
        h.setze("langspei", std::string("Lang"));
        h.speichern();
    }
    void lege_an(int i, std::vector<std::pair<std::string, std::string>> felder) {
        tabelle& t = tab(i);
        t.einfuegen();
        for (auto& [s, w] : felder) t.setze(s, w);
        t.speichern();
    }
};

TEST_F(Stammdaten, AlleVerweiseGefunden) {
    // A filter left from a search does not hide the data set's rows.
    tab(tgas).setze_filter({{"name", "=", std::string("anders")}});
    ASSERT_TRUE(SetAllMasters());
    EXPECT_EQ(tab(tgas).text("name"), "R_GAS");
    EXPECT_TRUE(senke.texte.empty());
    EXPECT_EQ(tab(tsteuer).text("name"), "R_STEUERSPEICHER");
    EXPECT_EQ(tab(trw).text("name"), "R_Rw");
    EXPECT_EQ(tab(tkol).text("name"), "Kol oben");
    EXPECT_EQ(tab(twp).text("arbeitsweise"), "we");
    EXPECT_EQ(tab(tspei).text("name"), "R_SPEI");
    EXPECT_EQ(Zaehle_datensaetze(tab(tir_ta_d)), 1);  // only the weather record's details
    loese_alle_master();
    EXPECT_EQ(Zaehle_datensaetze(tab(tir_ta_d)), 2);
}

TEST_F(Stammdaten, FehlenderVerweisWirdMitSpalteGemeldet) {
    struct fall {
        std::string spalte, wert, meldung;
    };
    const std::vector<fall> faelle = {
        {"steuerspeicher", "fehlt", "Fehler: Datensatz existiert nicht in Datenbank: steuerspeicher"},
        {"kolu", "Kol mitte", "Fehler: Datensatz existiert nicht in Datenbank: kolu"},
        {"wpww", "WP2", "Fehler: Datensatz existiert nicht in Datenbank: wpww"},
        {"gwt", "", "Fehler: Datensatz existiert nicht in Datenbank: gwt"},  // empty reference
    };
    for (const auto& f : faelle) {
        tabelle& h = tab(thaupt);
        h.erster();
        const std::string alt = h.text(f.spalte);
        h.bearbeiten();
        h.setze(f.spalte, f.wert);
        h.speichern();
        senke.texte.clear();
        EXPECT_FALSE(SetAllMasters()) << f.spalte;
        EXPECT_EQ(senke.texte, std::vector<std::string>{f.meldung});
        h.bearbeiten();
        h.setze(f.spalte, alt);
        h.speichern();
    }
    // An empty reference is found when the table holds a row with an empty name.
    tabelle& h = tab(thaupt);
    h.bearbeiten();
    h.setze("gwt", std::string(""));
    h.speichern();
    lege_an(tgwt, {{"name", ""}});
    senke.texte.clear();
    EXPECT_TRUE(SetAllMasters());

    // A table that cannot be opened counts as missing; the others are positioned.
    tab(tlage).schliesse();
    std::filesystem::remove(dir / "LAGE.sqlite");
    std::ofstream(dir / "LAGE.sqlite") << "kein SQLite";
    datenbanken()[tlage].oeffnung_versucht = false;
    senke.texte.clear();
    EXPECT_FALSE(SetAllMasters());
    EXPECT_TRUE(senke.enthaelt("Fehler: Datensatz existiert nicht in Datenbank: lage"));
    EXPECT_EQ(tab(tspei).text("name"), "R_SPEI");
}

}  // namespace
