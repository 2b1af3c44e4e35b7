#pragma once
// The comparison store of the results window: up to six result files read
// side by side, every value in the output units chosen now, every section
// with its collector area in the current area unit. The charts and tables of
// the results window are built from it.
//
// Unlike the original store (12 rows per section) every row a file holds is
// kept, so a control file (one row per interval) can be loaded and shown as
// a table too.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/WP_variables.h"
#include "results/ergebnisdatei_lesen.h"
#include "results/ergebnistabelle.h"

// One column of a loaded file after the code conversion.
struct vergleichsspalte {
    std::string titel;    // quantity title in the interface language (or the code)
    std::string code;     // code as in the file, trailing blanks removed
    std::string einheit;  // output unit for the 61 quantities, else the file's unit
};

struct geladene_datei {
    std::string pfad;       // nameGraphik
    std::string datensatz;  // name of the site data set (line 1 of the file)
    bool steuerdatei = false;  // one row per interval (control file layout)
    std::vector<double> flaeche;             // [1..scheiben] in the current area unit; slot 0 spare
    std::string flaecheneinheit;
    std::vector<std::string> zeilen;         // row labels [1..], blanks trimmed; slot 0 spare
    std::vector<vergleichsspalte> spalten;   // [1..spalten]; slot 0 spare
    std::array<int, ANZ_ADATA> spalte_von{};  // column of monthly quantity q, 0 = not in the file
    dat3d werte;                             // converted values, all rows of every section

    int scheiben() const { return werte.scheiben(); }
    int zeilenzahl(int s) const { return werte.zeilen(s); }
    // Value of monthly quantity q in row r of section s; 0 when the file
    // lacks the quantity or the row.
    double wert(int q, int r, int s) const;
    bool hat(int q) const { return q >= 0 && q < ANZ_ADATA && spalte_von[static_cast<std::size_t>(q)] > 0; }
    // Section whose area equals `flaeche` (within rounding), or 0.
    int scheibe_mit_flaeche(double flaeche) const;
    // File name without its folder.
    std::string dateiname() const;
};

// The conversion of the unit table (units of one quantity code; per-day
// units scaled by the month's days).
einheitenumrechner einheiten_umrechner();

class ergebnisvergleich {
public:
    static constexpr int MAXDATEIEN = 6;

    enum class ladeergebnis { ok, zu_viele, fehler };

    // Reads `datei` and adds it as the next file. The seventh file is refused
    // with "Maximalzahl einzulesender Dateien: 6" before anything is read; an
    // unreadable or malformed file is reported by the reader and not counted.
    // Values of the 61 quantities are converted to `ausgabe.ausgabe_einheit`,
    // section areas to `flaecheneinheit`.
    ladeergebnis lade(const std::filesystem::path& datei, const ::datm& ausgabe,
                      const einheitenumrechner& umrechner, const std::string& flaecheneinheit);
    // The same in the units chosen now: the output units of the run results
    // (general state), the output unit of area and the unit table's conversion.
    ladeergebnis lade(const std::filesystem::path& datei);

    int anzahl() const { return static_cast<int>(dateien_.size()); }
    // File f, 1..anzahl().
    const geladene_datei& datei(int f) const { return dateien_.at(static_cast<std::size_t>(f - 1)); }
    const geladene_datei& zuletzt() const { return dateien_.back(); }
    void leere() { dateien_.clear(); }

private:
    std::vector<geladene_datei> dateien_;
};
