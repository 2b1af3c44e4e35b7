#pragma once
// The result writers of one run, with the argument lists the run driver uses
// (lauf_dienste::schreibe_intervallergebnisse / schreibe_monatsergebnisse):
// e = index of the first area, f = index of the last area, j = position of
// the current area (1-based). A file announces f − e + 1 sections.
//
// When writing the result file fails and the file does not exist afterwards,
// the catalogue row that lege_ausgabefile_an made for it is removed, so that
// no row points at a file that was never written; the run is still abandoned.

#include <string>
#include <utility>

#include "results/ergebnisdatei_schreiben.h"

class ergebniskatalog;

class ergebnisschreiber {
public:
    // `katalog` may be null (no catalogue to keep consistent).
    ergebnisschreiber(ergebnisdatei_angaben angaben, intervalleingaben eingaben,
                      ergebniskatalog* katalog = nullptr)
        : angaben_(std::move(angaben)), eingaben_(std::move(eingaben)), katalog_(katalog) {}

    void schreibe_intervallergebnisse(const ::datm& d, double flaeche_aus, int e, int f, int j);
    void schreibe_monatsergebnisse(const ::datm& d, double flaeche_aus, int f, int e, int j);

    const ergebnisdatei_angaben& angaben() const { return angaben_; }

private:
    ergebnisdatei_angaben angaben_;
    intervalleingaben eingaben_;
    ergebniskatalog* katalog_;
    parreadtab ergebnistab_, steuertab_;
};
