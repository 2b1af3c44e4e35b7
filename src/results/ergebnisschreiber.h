#pragma once
// The result writers of one run, with the argument lists the run driver uses
// (lauf_dienste::schreibe_intervallergebnisse / schreibe_monatsergebnisse):
// e = index of the first area, f = index of the last area, j = position of
// the current area (1-based). A file announces f − e + 1 sections.
//
// Writes cannot lie: the sections go to temporary files beside the result and
// control files; `abschliessen` moves the complete files into place and only
// then enters the catalogue row. A run that fails or is abandoned before that
// leaves no new file and no new row (the temporary files are removed), and a
// file from an earlier run stays as it was. A result that is not a finite
// number abandons the run before its section is written.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "results/ergebniskatalog.h"
#include "results/ergebnisdatei_schreiben.h"

// The catalogue row to enter once the result file exists.
struct katalogeintrag {
    char optimierung = 'S';  // 'O' optimisation (.dat), 'S' simulation (.sim)
    haupt_angaben haupt;
    datum heute = heutiges_datum();
};

class ergebnisschreiber {
public:
    // `katalog` may be null (no catalogue to keep); the row is entered only
    // with an `eintrag`.
    ergebnisschreiber(ergebnisdatei_angaben angaben, intervalleingaben eingaben,
                      ergebniskatalog* katalog = nullptr,
                      std::optional<katalogeintrag> eintrag = std::nullopt)
        : angaben_(std::move(angaben)), eingaben_(std::move(eingaben)), katalog_(katalog),
          eintrag_(std::move(eintrag)) {}
    ~ergebnisschreiber();
    ergebnisschreiber(const ergebnisschreiber&) = delete;
    ergebnisschreiber& operator=(const ergebnisschreiber&) = delete;

    void schreibe_intervallergebnisse(const ::datm& d, double flaeche_aus, const abschnittsfolge& abschnitte);
    void schreibe_monatsergebnisse(const ::datm& d, double flaeche_aus, const abschnittsfolge& abschnitte);

    // After the last section: moves the written files into place (control
    // file first, result file last) and enters the catalogue row. A file that
    // cannot be moved is reported ('E') and no new file stays; false then.
    // A catalogue that cannot be written (read-only database) is reported as
    // a warning; the files stay, true.
    bool abschliessen();
    // Drops what has been written (also done by the destructor unless
    // `abschliessen` succeeded).
    void verwerfen();

    const ergebnisdatei_angaben& angaben() const { return angaben_; }

private:
    // The temporary file of `ziel` for the section at `position`: created by
    // the first section, re-used by the following ones.
    const std::filesystem::path& temporaer(std::optional<std::filesystem::path>& datei,
                                           const std::filesystem::path& ziel, int position);

    ergebnisdatei_angaben angaben_;
    intervalleingaben eingaben_;
    ergebniskatalog* katalog_;
    std::optional<katalogeintrag> eintrag_;
    parreadtab ergebnistab_, steuertab_;
    std::optional<std::filesystem::path> temp_ergebnis_, temp_steuer_;
};
