// The default database built from data/demo: references, test words, weather
// detail rows, property tables, units, malformed sources, first start.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "data/sqlite_datei.h"
#include "input/addiere_default.h"
#include "input/demo_datenbank.h"
#include "support/aufzeichnende_senke.h"

namespace fs = std::filesystem;

namespace {

const int TAGE_2019[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Runs a query and returns every row as text (NULL as "").
std::vector<std::vector<std::string>> abfrage(const fs::path& datei, const std::string& sql,
                                              const std::vector<std::string>& parameter = {}) {
    sqlite_datei db(datei, false);
    auto s = db.vorbereiten(sql);
    for (size_t i = 0; i < parameter.size(); ++i) s.binde(static_cast<int>(i + 1), parameter[i]);
    std::vector<std::vector<std::string>> r;
    const int spalten = s.spaltenzahl();
    while (s.schritt()) {
        std::vector<std::string> z;
        for (int i = 0; i < spalten; ++i) z.push_back(s.text(i).value_or(""));
        r.push_back(z);
    }
    return r;
}

}  // namespace

class DefaultDatenbank : public mit_meldungen {
protected:
    static void SetUpTestSuite() {
        db = fs::temp_directory_path() / ("varnek_demo_" + std::to_string(::getpid()));
        fs::remove_all(db);
        baue_default_datenbank(demo_quellverzeichnis(), db, demo_schema());
    }
    static void TearDownTestSuite() { fs::remove_all(db); }
    static fs::path datei(const std::string& key) { return demo_tabellendatei(db, key); }
    static inline fs::path db;
};

TEST_F(DefaultDatenbank, JederVerweisAllerDatensaetzeLoestSichAuf) {
    // haupt column -> (table file, extra condition); lists (zubehoer, unter_liste) have several rows
    const std::map<std::string, std::pair<std::string, std::string>> verweise = {
        {"ir_ta_m", {"IR_TA_M", ""}}, {"te", {"TE", ""}},       {"ew_m", {"EW_M", ""}},
        {"eh_m", {"EH_M", ""}},       {"ee", {"EE", ""}},       {"tw", {"TW", ""}},
        {"th", {"TH", ""}},           {"rw", {"Rw", ""}},       {"rh", {"Rh", ""}},
        {"kolu", {"KOL", ""}},        {"kolo", {"KOL", ""}},    {"gwt", {"GWT", ""}},
        {"lage", {"LAGE", ""}},       {"ko", {"KO", ""}},       {"wpww", {"WP", " AND arbeitsweise = 'ww'"}},
        {"wpwe", {"WP", " AND arbeitsweise = 'we'"}},           {"an", {"AN", ""}},
        {"num", {"NUM", ""}},         {"steuerspeicher", {"STEUERSPEICHER", ""}},
        {"gas", {"GAS", ""}},         {"preis", {"PREIS", ""}}, {"kraft", {"KRAFT", ""}},
        {"kalk", {"KALK", ""}},       {"rech", {"RECH", ""}},   {"zelle", {"ZELLE", ""}},
        {"spei", {"SPEI", ""}},       {"zwischenspei", {"SPEI", ""}}, {"langspei", {"SPEI", ""}},
        {"zubehoer", {"LISTE", ""}},  {"sub", {"SUB", ""}},     {"unter_liste", {"UNTER_LISTE", ""}}};
    std::string spalten;
    for (const auto& [s, _] : verweise) spalten += ", \"" + s + "\"";
    const auto zeilen = abfrage(datei("HAUPT"), "SELECT name" + spalten + " FROM haupt");
    ASSERT_EQ(zeilen.size(), 54u);  // the twelve site data sets and the 42 standard ones
    for (const auto& z : zeilen) {
        size_t i = 1;
        for (const auto& [spalte, ziel] : verweise) {
            const std::string& wert = z[i++];
            const std::string tabelle = abfrage(datei(ziel.first), "SELECT name FROM sqlite_master WHERE type='table'")[0][0];
            const auto treffer = abfrage(datei(ziel.first),
                                         "SELECT count(*) FROM \"" + tabelle + "\" WHERE name = ?1" + ziel.second, {wert});
            EXPECT_GE(std::stoi(treffer[0][0]), 1) << z[0] << ": " << spalte << " = " << wert;
        }
    }
    // Rows reached through the catalogue rows: fluids, saturation and property tables,
    // tariffs, maintenance items, demand details, accessory groups.
    for (const auto& ko : abfrage(datei("KO"), "SELECT name_wt_kollektor, name_wt_wp, name_wt_speicher FROM ko")) {
        for (const auto& fluid : ko)
            EXPECT_EQ(abfrage(datei("WAERME"), "SELECT count(*) FROM waerme WHERE name = ?1", {fluid})[0][0], "1") << fluid;
        for (const std::string& medium : {ko[0], ko[2]})
            EXPECT_NE(abfrage(datei("LUFT"), "SELECT count(*) FROM luft WHERE medium = ?1 AND aggregatzustand = 'l'",
                              {medium})[0][0], "0") << medium;
    }
    EXPECT_NE(abfrage(datei("LUFT"), "SELECT count(*) FROM luft WHERE medium = 'Luft' AND aggregatzustand = 'g'")[0][0], "0");
    for (const auto& w : abfrage(datei("WAERME"), "SELECT kaeltemittel FROM waerme WHERE kaeltemittel IS NOT NULL"))
        EXPECT_NE(abfrage(datei("KAELTE"), "SELECT count(*) FROM kaelte WHERE name = ?1", w)[0][0], "0") << w[0];
    for (const auto& p : abfrage(datei("PREIS"), "SELECT nachheizung, ohne_kopplung, pumpen FROM preis"))
        for (const auto& t : p) EXPECT_EQ(abfrage(datei("TARIFE"), "SELECT count(*) FROM tarife WHERE name = ?1", {t})[0][0], "1");
    for (const auto& u : abfrage(datei("UNTER_LISTE"), "SELECT unterhalt FROM unter_liste"))
        EXPECT_EQ(abfrage(datei("UNTER"), "SELECT count(*) FROM unter WHERE name = ?1", u)[0][0], "1");
    for (const auto& l : abfrage(datei("LISTE2"), "SELECT name_einlesefile, name_liste FROM liste2")) {
        EXPECT_EQ(abfrage(datei("HAUPT"), "SELECT count(*) FROM haupt WHERE name = ?1", {l[0]})[0][0], "1");
        EXPECT_NE(abfrage(datei("LISTE"), "SELECT count(*) FROM liste WHERE name = ?1", {l[1]})[0][0], "0");
    }
    // Detail rows of demand records with details: "A" one row per counted interval, "P"
    // January's 24 rows.
    for (const auto& [mtab, dkey, dtab] : {std::tuple{"eh_m", "EH_D", "eh_d"}, std::tuple{"ew_m", "EW_D", "ew_d"}}) {
        const std::string key = std::string(mtab) == "eh_m" ? "EH_M" : "EW_M";
        for (const auto& r : abfrage(datei(key), std::string("SELECT name_d, zeitintervall, m1, m2, m3, m4, m5, m6, m7, m8, "
                                                              "m9, m10, m11, m12 FROM ") + mtab +
                                                     " WHERE zeitintervall IN ('A', 'P')")) {
            for (int m = 1; m <= 12; ++m) {
                const int erwartet = r[1] == "A" ? std::stoi(r[1 + m]) : (m == 1 ? 24 : 0);
                const auto n = abfrage(datei(dkey), std::string("SELECT count(*) FROM ") + dtab + " WHERE name = ?1 AND monat = ?2",
                                       {r[0], std::to_string(m)});
                EXPECT_EQ(std::stoi(n[0][0]), erwartet) << r[0] << " Monat " << m;
            }
        }
    }
}

TEST_F(DefaultDatenbank, TestwoerterDerStandarddatensaetzeStehenGenauEinmalInKontrolle) {
    const auto zeilen = abfrage(datei("HAUPT"), "SELECT name, an, num FROM haupt WHERE name LIKE 'test\\_%' ESCAPE '\\'");
    ASSERT_EQ(zeilen.size(), 42u);
    std::set<std::string> woerter;
    for (const auto& z : zeilen) {
        const std::string wort = erzeuge_testwort(db, z[1], z[2], 'K');
        EXPECT_EQ(wort.size(), 15u + (wort.find("DK") != std::string::npos ? 1 : 0)) << wort;
        const auto k = abfrage(datei("KONTROLLE"), "SELECT an, num FROM kontrolle WHERE kennung = ?1", {wort});
        ASSERT_EQ(k.size(), 1u) << z[0];
        EXPECT_EQ(k[0], (std::vector<std::string>{z[1], z[2]}));
        woerter.insert(wort);
    }
    EXPECT_EQ(abfrage(datei("KONTROLLE"), "SELECT count(*) FROM kontrolle")[0][0], std::to_string(woerter.size()));
    // The word of the first data set, decoded by hand: an ZJEG, num MAVN-N.
    EXPECT_EQ(erzeuge_testwort(db, "ZJEG", "MAVN-N", 'K'), "ZEEJAEW" "MVANNSB4");
}

TEST_F(DefaultDatenbank, StuendlichesWetterHatJedeStundeUndDieGlobalstrahlungDerQuelle) {
    const auto m = abfrage(datei("IR_TA_M"), "SELECT zeitintervall, meßdatum, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, "
                                             "irgesamt FROM ir_ta_m WHERE name = 'ir_test_stuendlich'");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0][0], "A");
    EXPECT_EQ(m[0][1], "2019");
    double summe = 0;
    for (int monat = 1; monat <= 12; ++monat) {
        const auto r = abfrage(datei("IR_TA_D"), "SELECT count(*), sum(ir_g), min(nummer), max(nummer), min(hm), max(hm) "
                                                 "FROM ir_ta_d WHERE name = 'ir_test_stuendlich' AND monat = ?1",
                               {std::to_string(monat)});
        const int stunden = 24 * TAGE_2019[monat];
        EXPECT_EQ(std::stoi(r[0][0]), stunden) << monat;
        EXPECT_EQ(std::stoi(m[0][1 + monat]), stunden) << monat;
        EXPECT_EQ(r[0][2], "1");
        EXPECT_EQ(std::stoi(r[0][3]), stunden);
        EXPECT_DOUBLE_EQ(std::stod(r[0][4]), 0.5);
        EXPECT_DOUBLE_EQ(std::stod(r[0][5]), 23.5);
        summe += std::stod(r[0][1]);
    }
    // The source file: column 3 is the global horizontal irradiance in W/qm (= Wh/qm per hour).
    std::ifstream quelle(fs::path(VARNEK_SOURCE_DIR) / "data" / "reference" / "weather_potsdam_2019_dwd_hourly.csv");
    ASSERT_TRUE(quelle);
    std::string zeile;
    std::getline(quelle, zeile);
    double wh = 0;
    while (std::getline(quelle, zeile)) {
        std::stringstream z(zeile);
        std::string f;
        for (int i = 0; i < 3; ++i) std::getline(z, f, ',');
        wh += std::stod(f);
    }
    EXPECT_NEAR(summe, wh / 1000, 0.005);
    EXPECT_NEAR(std::stod(m[0][14]), wh / 1000, 0.005);
    EXPECT_NEAR(wh / 1000, 1146.0, 0.05);  // the figure data/reference/README.md states
}

TEST_F(DefaultDatenbank, StoffUndDampftafelnHoechstens100ZeilenAufsteigend) {
    auto pruefe = [](const fs::path& d, const std::string& sql, const std::vector<std::string>& gruppe) {
        const auto t = abfrage(d, sql, gruppe);
        EXPECT_GT(t.size(), 1u);
        EXPECT_LE(t.size(), 100u) << gruppe[0];
        for (size_t i = 1; i < t.size(); ++i) EXPECT_LT(std::stod(t[i - 1][0]), std::stod(t[i][0])) << gruppe[0];
    };
    const auto medien = abfrage(datei("LUFT"), "SELECT DISTINCT medium, aggregatzustand FROM luft");
    EXPECT_EQ(medien.size(), 3u);
    for (const auto& m : medien)
        pruefe(datei("LUFT"), "SELECT temperatur FROM luft WHERE medium = ?1 AND aggregatzustand = ?2 ORDER BY Nummer", m);
    const auto kaelte = abfrage(datei("KAELTE"), "SELECT DISTINCT name FROM kaelte");
    EXPECT_EQ(kaelte.size(), 4u);
    for (const auto& k : kaelte) pruefe(datei("KAELTE"), "SELECT temperatur FROM kaelte WHERE name = ?1 ORDER BY Nummer", k);
}

TEST_F(DefaultDatenbank, JedeEinheitStehtInDerEinheitentabelle) {
    std::set<std::string> kuerzel;
    for (const auto& z : abfrage(datei("EINHEITEN"), "SELECT Kuerzel FROM einheiten")) kuerzel.insert(z[0]);
    EXPECT_EQ(abfrage(datei("EINHEITEN"), "SELECT count(*) FROM einheiten")[0][0], "55");
    int geprueft = 0;
    for (const auto& t : demo_schema()) {
        if (t.def.sql_name == "einheiten" || t.def.sql_name == "memo") continue;
        for (const auto& s : t.def.spalten) {
            std::string klein = s.name;
            for (auto& c : klein) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (klein.rfind("ein", 0) != 0) continue;
            for (const auto& w : abfrage(datei(t.schluessel), "SELECT DISTINCT \"" + s.name + "\" FROM \"" + t.def.sql_name +
                                                                "\" WHERE \"" + s.name + "\" IS NOT NULL")) {
                EXPECT_TRUE(kuerzel.count(w[0])) << t.def.sql_name << "." << s.name << " = " << w[0];
                ++geprueft;
            }
        }
    }
    EXPECT_GT(geprueft, 100);
}

TEST_F(DefaultDatenbank, StandortwetterFolgtDemKlimamittel) {
    // Braunschweig 1991-2020: irradiation = mean irradiance x 24 h x days, and the daily
    // minimum and maximum are centred on the monthly mean temperature.
    std::ifstream quelle(fs::path(VARNEK_SOURCE_DIR) / "data" / "reference" / "climate_braunschweig_monthly.csv");
    ASSERT_TRUE(quelle);
    std::string zeile;
    std::getline(quelle, zeile);
    for (int m = 1; m <= 12; ++m) {
        ASSERT_TRUE(std::getline(quelle, zeile));
        std::vector<std::string> f;
        std::stringstream z(zeile);
        for (std::string t; std::getline(z, t, ',');) f.push_back(t);
        const std::string n = std::to_string(m);
        const auto r = abfrage(datei("IR_TA_M"), "SELECT ir" + n + ", ta" + n + "min, ta" + n + "max, diff" + n +
                                                     " FROM ir_ta_m WHERE name = 'ir_braunschweig_in_kWh'");
        ASSERT_EQ(r.size(), 1u);
        EXPECT_NEAR(std::stod(r[0][0]), std::stod(f[2]) * 24 * TAGE_2019[m] / 1000, 0.005) << m;
        EXPECT_NEAR((std::stod(r[0][1]) + std::stod(r[0][2])) / 2, std::stod(f[4]), 0.006) << m;
        EXPECT_GT(std::stod(r[0][2]) - std::stod(r[0][1]), 3.0) << m;
        EXPECT_LT(std::stod(r[0][3]), std::stod(r[0][0])) << m;
    }
}

TEST_F(DefaultDatenbank, WaermepumpenkennlinienTreffenDiePruefpunkte) {
    // EN 14511 rating points of the source unit: heat and electric power in W.
    struct punkt {
        double tt, th, heiz, el;
    };
    const punkt punkte[] = {{-5, 35, 12762, 3225}, {0, 35, 14500, 3300}, {5, 35, 16100, 3300},
                            {-5, 45, 12100, 4000}, {0, 45, 13900, 4000}, {5, 45, 15600, 4000},
                            {-5, 55, 11513, 4825}, {0, 55, 13200, 4900}, {5, 55, 14900, 4900}};
    for (const char* weise : {"we", "ww"}) {
        SCOPED_TRACE(weise);
        const auto r = abfrage(datei("WP"), "SELECT deltalin, gammalin, deltahyp, gammahyp, alpha, beta, gamma, delta, "
                                            "epsilon, zeta, eta_w, cexp FROM wp WHERE name = 'wp0' AND arbeitsweise = ?1",
                               {weise});
        ASSERT_EQ(r.size(), 1u);
        std::vector<double> c;
        for (const auto& x : r[0]) c.push_back(std::stod(x));
        for (const auto& p : punkte) {
            const double cop = p.heiz / p.el, d = p.th - p.tt;
            EXPECT_NEAR(c[0] * d + c[1], cop, 0.13) << "L " << p.tt << "/" << p.th;
            EXPECT_NEAR((p.th + 270) * c[2] / d + c[3], cop, 0.25) << "H " << p.tt << "/" << p.th;
            const double poly = c[4] + c[5] / std::pow(d, c[11]) + c[6] * d + c[7] * p.tt * d + c[8] * d * d +
                                c[9] * p.tt * d * d + c[10] * p.tt;
            EXPECT_NEAR(poly, cop, 0.06) << "4 " << p.tt << "/" << p.th;
        }
    }
}

TEST_F(DefaultDatenbank, ZweitesAddiereDefaultFuegtNichtsDoppeltEin) {
    const fs::path kopie = verzeichnis / "db";
    fs::copy(db, kopie);
    EXPECT_EQ(addiere_default(kopie), 0);
    EXPECT_EQ(abfrage(demo_tabellendatei(kopie, "HAUPT"), "SELECT count(*) FROM haupt")[0][0], "54");
    EXPECT_EQ(abfrage(demo_tabellendatei(kopie, "KONTROLLE"), "SELECT count(*) FROM kontrolle")[0][0],
              abfrage(datei("KONTROLLE"), "SELECT count(*) FROM kontrolle")[0][0]);
}

TEST(DefaultSuffix, ZerlegungNachGruppenUndZusaetzen) {
    using paare = std::vector<std::pair<std::string, std::string>>;
    struct fall {
        std::string suffix, an, num, st;
        paare aenderungen;
    };
    const fall faelle[] = {
        {"_ZJEG_MAVN-N_st0", "ZJEG", "MAVN-N", "st0", {}},
        {"_ZJEG_MAVN-N_st0-F", "ZJEG", "MAVN-N", "st0", {{"lock", "F"}}},
        {"_ZJEG_MAVN-D_st1_p", "ZJEG", "MAVN-D", "st1", {{"eh_m", "eh0_p"}, {"ew_m", "ew0_p"}, {"langspei", "lsp20m3"}}},
        {"_ZJEG_JAVN-N_st1-verl", "ZJEG", "JAVN-N", "st1", {{"langspei", "lsp20m3-verl"}}},
        {"_ZJEG-K_MAVN-N-L_st0", "ZJEG-K", "MAVN-N-L", "st0", {{"kolu", "Euro C 20 lin"}, {"kolo", "Euro C 20 lin"}}},
        {"_ZJEG_IAAN-D-E_st2", "ZJEG", "IAAN-D-E", "st2", {{"langspei", "lsp20m3"}}},
        {"_ir_D_EJEG_IAAN-D_st0", "EJEG", "IAAN-D", "st0", {{"ir_ta_m", "ir_test_stuendlich"}}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.suffix);
        const auto v = zerlege_default_suffix(f.suffix);
        EXPECT_EQ(v.an, f.an);
        EXPECT_EQ(v.num, f.num);
        EXPECT_EQ(v.steuerspeicher, f.st);
        EXPECT_EQ(v.aenderungen, f.aenderungen);
    }
    for (const char* falsch : {"ZJEG_MAVN-N_st0", "_ZJEG_MAVN-N", "_ZJEG_MAVN-N_st7", "_ZJEG_MAVN-N_st0_x"})
        EXPECT_THROW(zerlege_default_suffix(falsch), std::invalid_argument) << falsch;
    EXPECT_EQ(default_suffixe().size(), 42u);
    EXPECT_EQ(default_werte().size(), 40u);
}

// A copy of the text source in which one file is replaced.
class DemoQuelle : public mit_meldungen {
protected:
    void SetUp() override {
        mit_meldungen::SetUp();
        quelle = verzeichnis / "quelle";
        fs::create_directories(quelle);
        fs::copy(demo_quellverzeichnis() / "tabellen", quelle / "tabellen");
    }
    void ersetze_zeile(const std::string& tabelle, size_t nr, const std::string& neu) {
        const fs::path d = quelle / "tabellen" / (tabelle + ".csv");
        std::ifstream ein(d);
        std::vector<std::string> z;
        for (std::string s; std::getline(ein, s);) z.push_back(s);
        z.at(nr - 1) = neu;
        std::ofstream aus(d);
        for (const auto& s : z) aus << s << '\n';
    }
    size_t tabellendateien(const fs::path& dir) const {
        size_t n = 0;
        if (fs::exists(dir))
            for (const auto& e : fs::directory_iterator(dir)) n += e.path().extension() == ".sqlite";
        return n;
    }
    fs::path quelle;
};

TEST_F(DemoQuelle, FehlerhafteZeileBrichtAbNenntDateiUndZeileUndRaeumtAuf) {
    struct fall {
        std::string tabelle;
        size_t zeile;
        std::string inhalt, erwartet;
    };
    // "tarife" comes late in the table order, so earlier files were already built.
    const fall faelle[] = {
        {"tarife", 3, "wp_strom,Wärmepumpentarif,0.30,EUR", "tarife.csv, Zeile 3: 4 Felder statt 6"},
        {"tarife", 2, "strom,Haushaltsstrom,vierzig,EUR,kWh,", "tarife.csv, Zeile 2: Spalte preis_energie: keine Zahl"},
        {"tarife", 4, "gas,\"Erdgas,0.12,EUR,kWh,", "tarife.csv, Zeile 4: Anführungszeichen nicht geschlossen"},
        {"tarife", 1, "name,beschreibung,preis,einpreis,einenergie,info", "tarife.csv, Zeile 1: Kopfzeile"},
        {"tarife", 2, ",Haushaltsstrom,0.4,EUR,kWh,", "tarife.csv, Zeile 2: Spalte name darf nicht leer sein"},
        {"kontrolle", 1, "kennung,an", "kontrolle.csv, Zeile 1: Kopfzeile"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.erwartet);
        SetUp();
        ersetze_zeile(f.tabelle, f.zeile, f.inhalt);
        const fs::path ziel = verzeichnis / "ziel";
        EXPECT_THROW(baue_default_datenbank(quelle, ziel, demo_schema()), abbruch);
        ASSERT_FALSE(senke.dialoge.empty());
        EXPECT_NE(senke.dialoge.back().text.find(f.erwartet), std::string::npos) << senke.dialoge.back().text;
        EXPECT_EQ(senke.dialoge.back().schwere, 'T');
        EXPECT_EQ(tabellendateien(ziel), 0u);
        senke = aufzeichnende_senke{};
        fs::remove_all(quelle);
    }
}

TEST_F(DemoQuelle, ErsterStartLegtEinmalAnUndLaesstVorhandeneDatenbankUnberuehrt) {
    const fs::path ziel = verzeichnis / "DataBase";
    EXPECT_TRUE(lege_default_datenbank_an_falls_leer(ziel));
    EXPECT_EQ(tabellendateien(ziel), 46u);
    ASSERT_EQ(senke.dialoge.size(), 1u);
    EXPECT_EQ(senke.dialoge[0].schwere, 'M');

    {
        sqlite_datei db(demo_tabellendatei(ziel, "GAS"), false);
        db.ausfuehren("UPDATE gas SET wirkungsgrad = 0.5");
    }
    EXPECT_FALSE(lege_default_datenbank_an_falls_leer(ziel));
    EXPECT_EQ(senke.dialoge.size(), 1u);
    sqlite_datei db(demo_tabellendatei(ziel, "GAS"), false);
    auto s = db.vorbereiten("SELECT wirkungsgrad FROM gas");
    ASSERT_TRUE(s.schritt());
    EXPECT_DOUBLE_EQ(s.zahl(0), 0.5);

    // The explicit operation refuses a folder that holds anything.
    EXPECT_THROW(erzeuge_default_datenbank_in(ziel), abbruch);
    EXPECT_NE(senke.dialoge.back().text.find("nicht leer"), std::string::npos);
    const fs::path neu = verzeichnis / "neu";
    erzeuge_default_datenbank_in(neu);
    EXPECT_EQ(tabellendateien(neu), 46u);
}

TEST_F(DemoQuelle, QuotierungsregelUndTypenWerdenGenauUebernommen) {
    // A one-table source: quoted separators, doubled quotes, a line break inside a
    // field, the empty text versus NULL, CRLF line ends, integer limits.
    fs::create_directories(verzeichnis / "klein");
    const fs::path csv = verzeichnis / "klein" / "gas.csv";
    std::ofstream(csv, std::ios::binary) << "name,wirkungsgrad,info,n\r\n"
                                         << "\"a,b\",0.95,\"sagt \"\"hallo\"\"\",7\r\n"
                                         << "zwei,,\"\",\n"
                                         << "drei,-1.5e-3,\"zwei\nZeilen\",-2147483648\n";
    demo_tabelle tabelle;
    tabelle.schluessel = "GAS";
    tabelle.def.sql_name = "gas";
    tabelle.def.schluessel = {"name"};
    tabelle.def.spalten = {{"name", spaltentyp::text, 50, true},
                           {"wirkungsgrad", spaltentyp::real, 0, false},
                           {"info", spaltentyp::text, 255, false},
                           {"n", spaltentyp::integer, 0, false}};
    const std::vector<demo_tabelle> schema{tabelle};
    const fs::path datei = verzeichnis / "GAS.sqlite";
    baue_demo_tabelle(schema[0], csv, datei);
    const auto zeilen = abfrage(datei, "SELECT name, typeof(wirkungsgrad), wirkungsgrad, typeof(info), info, typeof(n), n "
                                       "FROM gas ORDER BY rowid");
    const std::vector<std::vector<std::string>> erwartet = {
        {"a,b", "real", "0.95", "text", "sagt \"hallo\"", "integer", "7"},
        {"zwei", "null", "", "text", "", "null", ""},
        {"drei", "real", "-0.0015", "text", "zwei\nZeilen", "integer", "-2147483648"}};
    EXPECT_EQ(zeilen, erwartet);

    // Out of range for a 32-bit column, a duplicate key (line 6: the record before spans
    // lines 4 and 5): the file is removed again.
    for (const std::string zeile : {"vier,1,x,2147483648", "drei,1,x,1"}) {
        SCOPED_TRACE(zeile);
        std::ofstream(csv, std::ios::app) << zeile << "\n";
        fs::remove(datei);
        EXPECT_THROW(baue_demo_tabelle(schema[0], csv, datei), abbruch);
        EXPECT_NE(senke.dialoge.back().text.find("gas.csv, Zeile 6"), std::string::npos) << senke.dialoge.back().text;
        EXPECT_FALSE(fs::exists(datei));
        // Leave only the valid lines for the next case.
        std::ifstream ein(csv);
        std::string alles, z;
        for (int i = 0; i < 5 && std::getline(ein, z); ++i) alles += z + "\n";
        ein.close();
        std::ofstream(csv, std::ios::binary) << alles;
    }
}

using DemoGenerator = mit_meldungen;

TEST_F(DemoGenerator, ErzeugtGenauDieEingechecktenTabellen) {
    // The committed CSV files are the generator's output from the repository's
    // reference data (its default source, data/reference).
    if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 fehlt";
    const fs::path ziel = verzeichnis / "erzeugt";
    const std::string befehl = "python3 \"" + (demo_quellverzeichnis() / "tools" / "erzeuge_demo.py").string() +
                               "\" --ziel \"" + ziel.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(befehl.c_str()), 0) << befehl;
    auto lies = [](const fs::path& d) {
        std::ifstream ein(d, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(ein)), std::istreambuf_iterator<char>());
    };
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(demo_quellverzeichnis() / "tabellen")) {
        ++n;
        EXPECT_TRUE(lies(e.path()) == lies(ziel / e.path().filename())) << e.path().filename();
    }
    EXPECT_EQ(n, 46u);
}

TEST_F(DemoQuelle, FehlermeldungFolgtDerSprache) {
    setze_sprache(SPRACHE_ENGLISCH);
    ersetze_zeile("tarife", 3, "wp_strom,Wärmepumpentarif,0.30,EUR");
    EXPECT_THROW(baue_default_datenbank(quelle, verzeichnis / "ziel", demo_schema()), abbruch);
    ASSERT_FALSE(senke.dialoge.empty());
    EXPECT_NE(senke.dialoge.back().text.find("Error: default database not created: "), std::string::npos);
    EXPECT_NE(senke.dialoge.back().text.find("tarife.csv, line 3: 4 fields instead of 6"), std::string::npos)
        << senke.dialoge.back().text;
}
