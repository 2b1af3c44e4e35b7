#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include <sqlite3.h>

#include "cli_hilfen.h"

TEST_F(Cli, ErsterStartLegtDatenbankAnUndListetDatensaetze) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0) << fehler.str();
    EXPECT_NE(fehler.str().find("Default-Datenbank angelegt"), std::string::npos);
    const std::string liste = aus.str();
    EXPECT_EQ(std::count(liste.begin(), liste.end(), '\n'), 54);
    EXPECT_NE(liste.find("Braunschweig EFH\tNF"), std::string::npos);
    // The second start finds the database and leaves it alone.
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0);
    EXPECT_EQ(fehler.str().find("angelegt"), std::string::npos);
}

TEST_F(Cli, FehlerGebenStatusUndEineZeileGrund) {
    EXPECT_EQ(rufe({"gibtsnicht"}), 2);
    EXPECT_EQ(rufe({"--lang", "fr", "list"}), 2);
    EXPECT_EQ(rufe({"--help"}), 0);
    EXPECT_NE(aus.str().find("Aufruf: varnek-cli"), std::string::npos);
    EXPECT_EQ(rufe({"--lang", "en", "--help"}), 0);
    EXPECT_NE(aus.str().find("Usage: varnek-cli"), std::string::npos);

    const auto kaputt = verzeichnis / "kaputt.sim";
    std::ofstream(kaputt) << "keine Ergebnisdatei\n";
    EXPECT_EQ(rufe(mit_verzeichnissen({"show", kaputt.string()})), 1);
    EXPECT_EQ(letzte_fehlerzeile(), "varnek-cli: Fehler: Falsches Datenformat: " + kaputt.string() + ", Zeile 2");

    std::filesystem::create_directories(verzeichnis / "voll");
    std::ofstream(verzeichnis / "voll" / "x.txt") << "x";
    EXPECT_EQ(rufe({"init-db", (verzeichnis / "voll").string()}), 1);
}

TEST_F(Cli, SimulationSchreibtDateienDieSichWiederLesenLassen) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"simulate", "test_ir_D_EJEG_IAAN-D_st0"})), 0) << fehler.str();
    const std::string ergebnis = aus.str();
    EXPECT_NE(ergebnis.find("(jkk): "), std::string::npos) << ergebnis;
    const auto sim = verzeichnis / "res" / "test_ausgabe_ir_D_EJEG_IAAN-D_st0.sim";
    const auto str = verzeichnis / "res" / "test_steuer_ir_D_EJEG_IAAN-D_st0.str";
    EXPECT_NE(ergebnis.find("Ergebnisdatei: " + sim.string()), std::string::npos);
    EXPECT_NE(ergebnis.find("Steuerdatei: " + str.string()), std::string::npos);
    ASSERT_TRUE(std::filesystem::exists(sim));
    ASSERT_TRUE(std::filesystem::exists(str));

    // The monthly result file reads back: 12 month rows of 61 quantities per area.
    ASSERT_EQ(rufe(mit_verzeichnissen({"show", "--csv", sim.string()})), 0) << fehler.str();
    const std::string tabelle = aus.str();
    EXPECT_NE(tabelle.find("label,jkk [kWh],jkk_g [kWh]"), std::string::npos);
    EXPECT_NE(tabelle.find("Dezember"), std::string::npos);

    // A data set whose combination the check refuses ends with its reason.
    braunschweig_mit_zu_langem_block();
    EXPECT_EQ(rufe(mit_verzeichnissen({"simulate", "Braunschweig EFH"})), 1);
    EXPECT_NE(fehler.str().find("Blocklänge maxmittemp"), std::string::npos) << fehler.str();
    EXPECT_EQ(rufe(mit_verzeichnissen({"simulate", "gibt es nicht"})), 1);
}

TEST_F(Cli, SerieRechnetBisZumErstenFixiertenDatensatz) {
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((verzeichnis / "db" / "HAUPT.sqlite").string().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "UPDATE haupt SET lock = 'F' WHERE name = 'test_EJEG_IAAN-D_st2'",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    ASSERT_EQ(rufe(mit_verzeichnissen({"batch", "--from", "test_EJEG_IAAN-D_st0"})), 0) << fehler.str();
    EXPECT_NE(fehler.str().find("2 Datensätze gerechnet"), std::string::npos) << fehler.str();
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0);
    const std::string liste = aus.str();
    EXPECT_NE(liste.find("test_EJEG_IAAN-D_st0\tF"), std::string::npos);
    EXPECT_NE(liste.find("test_EJEG_IAAN-D_st0_d\tF"), std::string::npos);
    EXPECT_NE(liste.find("test_EJEG_IAAN-M_st0\tNF"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(verzeichnis / "res" / "test_ausgabe_EJEG_IAAN-D_st0_d.dat"));

    // A batch started on a fixed data set computes nothing.
    ASSERT_EQ(rufe(mit_verzeichnissen({"batch", "--from", "test_EJEG_IAAN-D_st2"})), 0);
    EXPECT_NE(fehler.str().find("0 Datensätze gerechnet"), std::string::npos);

    // A run that cannot complete stops the batch and leaves its data set unfixed.
    braunschweig_mit_zu_langem_block();
    EXPECT_EQ(rufe(mit_verzeichnissen({"batch", "--from", "Braunschweig EFH"})), 1);
    ASSERT_EQ(rufe(mit_verzeichnissen({"list"})), 0);
    EXPECT_NE(aus.str().find("Braunschweig EFH\tNF"), std::string::npos);
}

namespace {

// Yearly figure printed by "simulate" as "... (code): value unit".
double jahreswert(const std::string& ausgabe, const std::string& code) {
    const auto p = ausgabe.find("(" + code + "): ");
    if (p == std::string::npos) return -1e300;
    return std::stod(ausgabe.substr(p + code.size() + 4));
}

}  // namespace

TEST_F(Cli, AnalytischeZwischenkopplungLiefertPlausibleJahreswerte) {
    // Intermediate-reservoir coupling with monthly intervals: the collector
    // energy reaches the results, the ww pump's COP stays in its range and the
    // yearly figures are those of a small solar heat-pump plant.
    ASSERT_EQ(rufe(mit_verzeichnissen({"simulate", "test_ZJEG_IAAN-N_st0"})), 0) << fehler.str();
    const std::string ergebnis = aus.str();
    const double jaz_ww = jahreswert(ergebnis, "jaz_ww");
    const double etawicht = jahreswert(ergebnis, "etawicht");
    const double degra_j = jahreswert(ergebnis, "degra_j");
    EXPECT_GT(jaz_ww, 2.0) << ergebnis;
    EXPECT_LT(jaz_ww, 10.0) << ergebnis;
    EXPECT_GT(etawicht, 0.1) << ergebnis;
    EXPECT_LT(etawicht, 0.8) << ergebnis;
    EXPECT_GT(degra_j, 0.0) << ergebnis;
    EXPECT_LT(degra_j, 1.0) << ergebnis;
    EXPECT_EQ(fehler.str().find("Energiebilanz nicht ausgeglichen"), std::string::npos);

    const auto sim = verzeichnis / "res" / "test_ausgabe_ZJEG_IAAN-N_st0.sim";
    ASSERT_EQ(rufe(mit_verzeichnissen({"show", "--csv", sim.string()})), 0) << fehler.str();
    std::istringstream zeilen(aus.str());
    std::string zeile;
    int spalte_er = -1, spalte_copww = -1, monate = 0;
    double summe_er = 0.0;
    while (std::getline(zeilen, zeile)) {
        std::vector<std::string> felder;
        std::stringstream z(zeile);
        for (std::string f; std::getline(z, f, ',');) felder.push_back(f);
        if (!felder.empty() && felder[0] == "label") {
            for (size_t i = 0; i < felder.size(); ++i) {
                if (felder[i] == "er [kWh]") spalte_er = static_cast<int>(i);
                if (felder[i] == "copww [-]") spalte_copww = static_cast<int>(i);
            }
            continue;
        }
        if (spalte_er < 0 || felder.size() <= static_cast<size_t>(spalte_copww) ||
            felder[0].rfind("Fläche", 0) == 0) {
            continue;
        }
        ++monate;
        summe_er += std::stod(felder[static_cast<size_t>(spalte_er)]);
        EXPECT_LE(std::stod(felder[static_cast<size_t>(spalte_copww)]), 20.0) << zeile;
    }
    ASSERT_GE(spalte_copww, 0);
    EXPECT_GT(monate, 0);
    EXPECT_GT(summe_er, 0.0);
}

TEST_F(Cli, ZwischenwaermepumpeLaeuftInIhremRegelbereich) {
    // Hourly intermediate-reservoir data set with a long-term store: in some
    // hours the ww pump's electric power lies in its control range (down to
    // 30 % of its rated power), so it runs and books electricity (nh) in some
    // months of the largest area (about 95 kWh in the year).
    ASSERT_EQ(rufe(mit_verzeichnissen({"simulate", "test_ZJEG_IAAN-D_st2"})), 0) << fehler.str();
    const auto sim = verzeichnis / "res" / "test_ausgabe_ZJEG_IAAN-D_st2.sim";
    ASSERT_EQ(rufe(mit_verzeichnissen({"show", "--csv", sim.string()})), 0) << fehler.str();
    std::istringstream zeilen(aus.str());
    std::string zeile;
    int spalte_nh = -1;
    double summe_nh = 0.0;  // of the last area block
    while (std::getline(zeilen, zeile)) {
        std::vector<std::string> felder;
        std::stringstream z(zeile);
        for (std::string f; std::getline(z, f, ',');) felder.push_back(f);
        if (felder.empty()) continue;
        if (felder[0].rfind("Fläche", 0) == 0) {
            summe_nh = 0.0;
        } else if (felder[0] == "label") {
            for (size_t i = 0; i < felder.size(); ++i) {
                if (felder[i] == "nh [kWh]") spalte_nh = static_cast<int>(i);
            }
        } else if (spalte_nh >= 0 && felder.size() > static_cast<size_t>(spalte_nh)) {
            summe_nh += std::stod(felder[static_cast<size_t>(spalte_nh)]);
        }
    }
    ASSERT_GE(spalte_nh, 0);
    EXPECT_GT(summe_nh, 50.0);
}

namespace {

// Monthly columns of the last area section of a result file read back with
// "show --csv": column name (without unit) -> 12 values.
std::map<std::string, std::vector<double>> letzter_abschnitt(const std::string& csv) {
    std::map<std::string, std::vector<double>> spalten;
    std::vector<std::string> kopf;
    std::istringstream zeilen(csv);
    for (std::string zeile; std::getline(zeilen, zeile);) {
        std::vector<std::string> felder;
        std::stringstream z(zeile);
        for (std::string f; std::getline(z, f, ',');) felder.push_back(f);
        if (felder.empty()) continue;
        if (felder[0].rfind("Fläche", 0) == 0) {
            spalten.clear();
        } else if (felder[0] == "label") {
            kopf.assign(felder.begin(), felder.end());
        } else if (felder.size() == kopf.size()) {
            for (size_t i = 1; i < felder.size(); ++i) {
                spalten[kopf[i].substr(0, kopf[i].find(" ["))].push_back(std::stod(felder[i]));
            }
        }
    }
    return spalten;
}

}  // namespace

// The time-step methods on the house of the default site: the velocity
// method by months and by the year run, the temperature method, a directly
// coupled plant. Each runs to its result without a balance warning, the
// house gets its heat (about 15 750 kWh a year plus what the stores lose),
// and with intermediate coupling every month's heat is the collector heat,
// the ww pump's electricity and the we pump's heat.
TEST_F(Cli, ZeitschrittverfahrenRechnenDieDatensaetzeDerStandarddatenbank) {
    struct fall {
        const char* name;
        const char* datei;
        bool versorgung_pruefen;  // supply side by collector, ww and we pump
    };
    for (const fall& f : {fall{"Braunschweig EFH", "braunschweig.sim", true},
                          fall{"Braunschweig EFH Temperatur", "braunschweig_t.sim", true},
                          fall{"test_ZJEG_JAVN-N_st1", "test_ausgabe_ZJEG_JAVN-N_st1.sim", true},
                          fall{"test_ZJEG-C_MAVN-N-L_st0", "test_ausgabe_ZJEG-C_MAVN-N-L_st0.sim", false}}) {
        SCOPED_TRACE(f.name);
        ASSERT_EQ(rufe(mit_verzeichnissen({"simulate", f.name})), 0) << fehler.str();
        for (const char* warnung : {"Energiebilanz nicht ausgeglichen", "Inkonsistenz", "COPWE"}) {
            EXPECT_EQ(fehler.str().find(warnung), std::string::npos) << fehler.str();
        }
        const double jkk = jahreswert(aus.str(), "jkk");
        EXPECT_GT(jkk, 1000.0);
        EXPECT_LT(jkk, 5000.0);
        ASSERT_EQ(rufe(mit_verzeichnissen({"show", "--csv", (verzeichnis / "res" / f.datei).string()})), 0);
        auto w = letzter_abschnitt(aus.str());
        ASSERT_EQ(w["eg"].size(), 12u);
        double eg = 0.0;
        for (int m = 0; m < 12; ++m) {
            eg += w["eg"][m];
            if (!f.versorgung_pruefen) continue;
            const double versorgung = w["esa"][m] + w["ls"][m] + w["nh"][m] + w["ok"][m] * w["copwe"][m];
            EXPECT_NEAR(w["eg"][m], versorgung, 0.01 * w["eg"][m] + 0.5) << "Monat " << m + 1;
        }
        // The year run with the 20 m³ long-term store charges it in its charge
        // months with collector heat (about 1600 kWh more than the house takes).
        EXPECT_GT(eg, 15500.0);
        EXPECT_LT(eg, 18000.0);
    }
}
