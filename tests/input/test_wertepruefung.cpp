// Value checks before a data set is loaded: impossible numbers stop the load
// with table, row, column and the allowed range, never a silent 0 or NaN.

#include <fstream>
#include <limits>

#include "app/simulation_run.h"
#include "data/sqlite_datei.h"
#include "input/wertepruefung.h"
#include "lade_hilfen.h"

using namespace tabledata;

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();

struct wertfall {
    const char* datensatz;
    int tabelle;
    std::vector<feldwert> schluessel;
    const char* spalte;
    feldwert wert;
    // Expected reason: the text after "Fehler: Ungültiger Wert in Tabelle "
    // (or the whole text when it starts with "Fehler: ").
    std::string grund;
};

feldwert t(const char* s) { return feldwert(std::string(s)); }

// Writes one field straight into the table file, as another tool would (a
// text into a number column, an infinite number into an integer column),
// and restores the old value on destruction.
class roh_zeitweise {
public:
    roh_zeitweise(int tabelle_index, std::vector<feldwert> schluessel, const std::string& spalte, const feldwert& neu)
        : index_(tabelle_index), schluessel_(std::move(schluessel)) {
        tabelle& t = tab(index_);
        datei_ = t.datei();
        wo_ = " WHERE ";
        for (size_t i = 0; i < schluessel_.size(); ++i)
            wo_ += (i ? " AND " : "") + sql_bezeichner(t.schluesselspalten()[i]) + " = ?" + std::to_string(i + 2);
        ziel_ = "UPDATE " + sql_bezeichner(t.sql_name()) + " SET " + sql_bezeichner(spalte) + " = ";
        sqlite_datei db(datei_, false);
        auto alt = db.vorbereiten("SELECT quote(" + sql_bezeichner(spalte) + ") FROM " + sql_bezeichner(t.sql_name()) +
                                  wo_.substr(0, wo_.size()));
        // The key parameters are numbered from 2; bind 1 to nothing for the lookup.
        binde_schluessel(alt, 0);
        if (!alt.schritt()) throw std::runtime_error("Testzeile fehlt: " + spalte);
        alt_ = alt.text(0).value_or("NULL");
        schreibe(db, neu);
    }
    ~roh_zeitweise() {
        sqlite_datei db(datei_, false);
        auto a = db.vorbereiten(ziel_ + alt_ + wo_);
        binde_schluessel(a, 0);
        a.schritt();
        tab(index_).aktualisiere();
    }
    roh_zeitweise(const roh_zeitweise&) = delete;
    roh_zeitweise& operator=(const roh_zeitweise&) = delete;

private:
    void schreibe(sqlite_datei& db, const feldwert& w) {
        auto a = db.vorbereiten(ziel_ + "?1" + wo_);
        if (const auto* d = std::get_if<double>(&w)) a.binde(1, *d);
        else if (const auto* i = std::get_if<int64_t>(&w)) a.binde(1, *i);
        else if (const auto* s = std::get_if<std::string>(&w)) a.binde(1, *s);
        else a.binde_null(1);
        binde_schluessel(a, 0);
        a.schritt();
        tab(index_).aktualisiere();
    }
    void binde_schluessel(sqlite_anweisung& a, int) {
        for (size_t i = 0; i < schluessel_.size(); ++i) {
            const int n = static_cast<int>(i) + 2;
            if (const auto* s = std::get_if<std::string>(&schluessel_[i])) a.binde(n, *s);
            else if (const auto* k = std::get_if<int64_t>(&schluessel_[i])) a.binde(n, *k);
        }
    }
    int index_;
    std::vector<feldwert> schluessel_;
    std::filesystem::path datei_;
    std::string wo_, ziel_, alt_;
};

const char* const EFH = "Braunschweig EFH";
const char* const STUENDLICH = "test_ir_D_EJEG_IAAN-D_st0";

}  // namespace

class Wertepruefung : public mit_default_datenbank {};

TEST_F(Wertepruefung, UngueltigeZahlenHaltenDasLadenMitTabelleZeileSpalteUndBereichAn) {
    // clang-format off
    const std::vector<wertfall> faelle = {
        // Area range of the run: overflowing, infinite, not a number, missing, reversed.
        {EFH, trech, {t("r45")}, "maxa", 1e308, "rech, Zeile \"r45\", Spalte maxa: 1e+308 qm; zulässig 0 bis 100000 qm"},
        {EFH, trech, {t("r45")}, "maxa", INF, "rech, Zeile \"r45\", Spalte maxa: inf qm; zulässig 0 bis 100000 qm"},
        {EFH, trech, {t("r45")}, "maxa", -INF, "rech, Zeile \"r45\", Spalte maxa: -inf qm; zulässig 0 bis 100000 qm"},
        {EFH, trech, {t("r45")}, "maxa", t("abc"), "rech, Zeile \"r45\", Spalte maxa: \"abc\" ist keine Zahl; zulässig 0 bis 100000 qm"},
        // NaN is stored as NULL by SQLite.
        {EFH, trech, {t("r45")}, "maxa", std::numeric_limits<double>::quiet_NaN(), "rech, Zeile \"r45\", Spalte maxa: leer; zulässig 0 bis 100000 qm"},
        {EFH, trech, {t("r45")}, "mina", 30.0, "Fehler: Ungültiger Bereich in Tabelle rech, Zeile \"r45\": mina 30 qm größer als maxa 20 qm"},
        {EFH, trech, {t("r45")}, "maxge", INF, "rech, Zeile \"r45\", Spalte maxge: inf m3/s; zulässig 1e-12 bis 1 m3/s"},
        // No collector flow at all.
        {EFH, trech, {t("r45")}, "maxge", 0.0, "rech, Zeile \"r45\", Spalte maxge: 0 m3/s; zulässig 1e-12 bis 1 m3/s"},
        {EFH, trech, {t("r45")}, "anztheta", int64_t{91}, "rech, Zeile \"r45\", Spalte anztheta: 91; zulässig ganze Zahl 0 bis 90"},
        {EFH, trech, {t("r45")}, "anzwp", int64_t{2000000000}, "rech, Zeile \"r45\", Spalte anzwp: 2e+09; zulässig ganze Zahl 0 bis 100"},
        {EFH, trech, {t("r45")}, "danzflaeche", 0.0, "rech, Zeile \"r45\", Spalte danzflaeche: 0; zulässig 0.5 bis 1000"},
        // Collector area: tiny, infinite, none; a shape that divides by zero.
        {EFH, tkol, {t("Euro C 20")}, "flaeche", 1e-300, "kol, Zeile \"Euro C 20\", Spalte flaeche: 1e-300 qm; zulässig 0.01 bis 1000 qm"},
        {EFH, tkol, {t("Euro C 20")}, "flaeche", INF, "kol, Zeile \"Euro C 20\", Spalte flaeche: inf qm; zulässig 0.01 bis 1000 qm"},
        {EFH, tkol, {t("Euro C 20")}, "flaeche", 0.0, "kol, Zeile \"Euro C 20\", Spalte flaeche: 0 qm; zulässig 0.01 bis 1000 qm"},
        {EFH, tkol, {t("Euro C 20")}, "breitezulaenge", 0.0, "kol, Zeile \"Euro C 20\", Spalte breitezulaenge: 0; zulässig 0.01 bis 100"},
        // Site geometry.
        {EFH, tlage, {t("l0")}, "breitengrad", 91.0, "lage, Zeile \"l0\", Spalte breitengrad: 91; zulässig -90 bis 90 °"},
        {EFH, tlage, {t("l0")}, "breitengrad", -91.0, "lage, Zeile \"l0\", Spalte breitengrad: -91; zulässig -90 bis 90 °"},
        {EFH, tlage, {t("l0")}, "theta", 95.0, "lage, Zeile \"l0\", Spalte theta: 95; zulässig 0 bis 90 °"},
        {EFH, tir_ta_m, {t("ir_braunschweig_in_kWh")}, "breite", 91.0, "ir_ta_m, Zeile \"ir_braunschweig_in_kWh\", Spalte breite: 91; zulässig -90 bis 90 °"},
        // Stores: negative, missing, overflowing volume (0 is the store that is not there).
        {EFH, tspei, {t("sp1m3")}, "spmax", -1.0, "spei, Zeile \"sp1m3\", Spalte spmax: -1 m3; zulässig 0 bis 1e+06 m3"},
        {EFH, tspei, {t("sp1m3")}, "spmax", feldwert(), "spei, Zeile \"sp1m3\", Spalte spmax: leer; zulässig 0 bis 1e+06 m3"},
        {EFH, tspei, {t("sp10m3")}, "spmax", 1e308, "spei, Zeile \"sp10m3\", Spalte spmax: 1e+308 m3; zulässig 0 bis 1e+06 m3"},
        // Monthly temperatures and energies; a number column holding text.
        {EFH, tte, {t("te0")}, "Januar", t("abc"), "te, Zeile \"te0\", Spalte Januar: \"abc\" ist keine Zahl; zulässig -50 bis 100 °C"},
        {EFH, tth, {t("th0")}, "märz", 1e308, "th, Zeile \"th0\", Spalte märz: 1e+308 °C; zulässig 0 bis 120 °C"},
        {EFH, tir_ta_m, {t("ir_braunschweig_in_kWh")}, "ta7max", INF, "ir_ta_m, Zeile \"ir_braunschweig_in_kWh\", Spalte ta7max: inf °C; zulässig -90 bis 60 °C"},
        {EFH, teh_m, {t("eh0")}, "februar", -5.0, "eh_m, Zeile \"eh0\", Spalte februar: -5; zulässig 0 bis 1e+09"},
        {EFH, tsteuer, {t("st0")}, "tmin", 90.0, "Fehler: Ungültiger Bereich in Tabelle steuer, Zeile \"st0\": tmin 90 °C größer als tmax 85 °C"},
        // Fluid density 0 would divide by zero; an invalid start month.
        {EFH, twaerme, {t("Propylenglykol 40%")}, "dichte", 0.0, "waerme, Zeile \"Propylenglykol 40%\", Spalte dichte: 0 kg/m3; zulässig 0.01 bis 30000 kg/m3"},
        // A fluid row that is not there: the loader would keep whatever row the table stands on.
        {EFH, tko, {t("ko0")}, "name_wt_wp", t("fehlt"), "Fehler: Datensatz nennt eine fehlende Zeile: Tabelle waerme, Zeile \"fehlt\" (genannt in Tabelle ko, Zeile \"ko0\", Spalte name_wt_wp)"},
        {EFH, tnum, {t("MAVN-N")}, "monatstart", int64_t{13}, "num, Zeile \"MAVN-N\", Spalte monatstart: 13; zulässig ganze Zahl 1 bis 12"},
        // Weather detail rows of an hourly data set.
        {STUENDLICH, tir_ta_d, {t("ir_test_stuendlich"), int64_t{6}, int64_t{12}}, "ir_g", INF,
         "ir_ta_d, Zeile \"ir_test_stuendlich, 6, 12\", Spalte ir_g: inf kWh/qm; zulässig 0 bis 1.5 kWh/qm"},
        {STUENDLICH, tir_ta_d, {t("ir_test_stuendlich"), int64_t{6}, int64_t{12}}, "tamin", 1e308,
         "ir_ta_d, Zeile \"ir_test_stuendlich, 6, 12\", Spalte tamin: 1e+308 °C; zulässig -90 bis 60 °C"},
        {STUENDLICH, tir_ta_d, {t("ir_test_stuendlich"), int64_t{6}, int64_t{12}}, "h", 0.0,
         "ir_ta_d, Zeile \"ir_test_stuendlich, 6, 12\", Spalte h: 0; zulässig 0.01 bis 744 h"},
        // The interval count of a month laid out from its detail rows: missing (the month would be
        // left out of the run) or not the number of rows.
        {STUENDLICH, tir_ta_m, {t("ir_test_stuendlich")}, "m1", feldwert(),
         "ir_ta_m, Zeile \"ir_test_stuendlich\", Spalte m1: leer; zulässig ganze Zahl 1 bis 800"},
        {STUENDLICH, tir_ta_m, {t("ir_test_stuendlich")}, "m2", int64_t{24},
         "ir_ta_m, Zeile \"ir_test_stuendlich\", Spalte m2: 24; Zeilen in ir_ta_d für Monat 2: 672"},
    };
    // clang-format on
    for (const wertfall& f : faelle) {
        SCOPED_TRACE(std::string(f.spalte) + " = " + als_text(f.wert));
        roh_zeitweise geaendert(f.tabelle, f.schluessel, f.spalte, f.wert);
        leere_protokoll();
        bool dbflag = false;
        EXPECT_THROW(lade(f.datensatz, dbflag), abbruch);
        EXPECT_FALSE(marken().daten_eingelesen);
        const auto zeilen = protokollzeilen();
        ASSERT_FALSE(zeilen.empty());
        const std::string erwartet =
            f.grund.rfind("Fehler: ", 0) == 0 ? f.grund : "Fehler: Ungültiger Wert in Tabelle " + f.grund;
        EXPECT_EQ(zeilen.back(), erwartet);
    }
    // Every change was undone: the data set loads again.
    EXPECT_TRUE(lade(EFH));
}

TEST_F(Wertepruefung, GueltigeGrenzfaelleLadenUndEnglischeMeldung) {
    {
        // The store that is not there, no monthly diffuse values (computed),
        // an empty gas heat capacity of a liquid: valid.
        roh_zeitweise speicher(tspei, {t("sp1m3")}, "spmax", 0.0);
        roh_zeitweise diffus(tir_ta_m, {t("ir_braunschweig_in_kWh")}, "diff3", feldwert());
        leere_protokoll();
        EXPECT_TRUE(lade(EFH));
        for (const auto& z : protokollzeilen()) EXPECT_EQ(z.rfind("Fehler: ", 0), std::string::npos) << z;
    }
    {
        setze_sprache(SPRACHE_ENGLISCH);
        roh_zeitweise flaeche(tkol, {t("Euro C 20")}, "flaeche", INF);
        leere_protokoll();
        bool dbflag = false;
        EXPECT_THROW(lade(EFH, dbflag), abbruch);
        setze_sprache(SPRACHE_DEUTSCH);
        // The English run writes the English protocol file.
        std::ifstream f(verzeichnis / "Protocol.pro", std::ios::binary);
        std::string letzte, zeile;
        while (std::getline(f, zeile)) letzte = zeile;
        EXPECT_EQ(letzte, "Error: invalid value in table kol, row \"Euro C 20\", column flaeche: inf qm; "
                          "allowed 0.01 to 1000 qm\r");
    }
}
