#include "results/ergebnisschreiber.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/dateiersatz.h"
#include "results/ergebnistexte.h"

namespace {

constexpr text_paar nicht_schreibbar{"Fehler: Datei kann nicht geschrieben werden: ",
                                     "Error: File cannot be written: "};
constexpr text_paar katalog_nicht_geschrieben{
    "Warnung: Ergebnisdatei nicht in den Ergebniskatalog eingetragen: ",
    "Warning: result file not entered in the result catalogue: "};

constexpr text_paar nicht_endlich{"Fehler: Ergebnis ist keine endliche Zahl: ",
                                  "Error: result is not a finite number: "};
constexpr text_paar monat{", Monat ", ", month "};
constexpr text_paar intervall{", Intervall ", ", interval "};

// A result that is not a finite number is a fault of the run, never a value
// to write: the run is abandoned before the section is written.
void pruefe_endlich(double wert, const std::string& code, int m, int k = 0) {
    if (std::isfinite(wert)) return;
    meldung(nicht_endlich.text() + code + monat.text() + std::to_string(m) +
                (k > 0 ? intervall.text() + std::to_string(k) : std::string()),
            "M", 'T');
}

void entferne(std::optional<std::filesystem::path>& datei) {
    if (!datei) return;
    std::error_code ec;
    std::filesystem::remove(*datei, ec);
    datei.reset();
}

}  // namespace

ergebnisschreiber::~ergebnisschreiber() { verwerfen(); }

void ergebnisschreiber::verwerfen() {
    entferne(temp_ergebnis_);
    entferne(temp_steuer_);
}

const std::filesystem::path& ergebnisschreiber::temporaer(std::optional<std::filesystem::path>& datei,
                                                          const std::filesystem::path& ziel,
                                                          int position) {
    if (position == 1 || !datei) {
        entferne(datei);
        std::string grund;
        datei = lege_temporaere_datei_an(ziel, grund);
        if (!datei) meldung(nicht_schreibbar.text() + ziel.string() + " (" + grund + ")", "M", 'T');
    }
    return *datei;
}

void ergebnisschreiber::schreibe_intervallergebnisse(const ::datm& d, double flaeche_aus,
                                                     const abschnittsfolge& abschnitte) {
    // The control file is named by the data set; that name must not lead
    // out of the result folder.
    if (!ist_einfacher_dateiname(angaben_.steuername)) {
        meldung(nicht_schreibbar.text() + steuerdateipfad(angaben_).string(), "M", 'T');
    }
    for (int h = 0; h < ANZ_FELD3; ++h) {
        const std::string& code = ergebnistexte::steuer_code(h + 3);
        const std::string name = code.empty() ? ergebnistexte::steuer_titel(h + 3) : code;
        for (int m = 1; m <= MAXMONAT; ++m)
            for (int k = 1; k <= std::clamp(intervalle(m), 0, MAXINTERVALL); ++k)
                pruefe_endlich(d.feld3[static_cast<std::size_t>(h)][static_cast<std::size_t>(m)]
                                      [static_cast<std::size_t>(k)],
                               name, m, k);
    }
    const auto& ziel = temporaer(temp_steuer_, steuerdateipfad(angaben_), abschnitte.aktuell);
    ::schreibe_intervallergebnisse(d, steuertab_, flaeche_aus, abschnitte, angaben_, eingaben_, ziel);
}

void ergebnisschreiber::schreibe_monatsergebnisse(const ::datm& d, double flaeche_aus,
                                                  const abschnittsfolge& abschnitte) {
    for (int q = 0; q < ANZ_ADATA; ++q)
        for (int m = 1; m <= MAXMONAT; ++m)
            pruefe_endlich(d.feld[static_cast<std::size_t>(q)][static_cast<std::size_t>(m)], ergebnistexte::code(q), m);
    const auto& ziel = temporaer(temp_ergebnis_, angaben_.ergebnisdatei, abschnitte.aktuell);
    ::schreibe_monatsergebnisse(d, ergebnistab_, flaeche_aus, abschnitte, angaben_, ziel);
}

bool ergebnisschreiber::abschliessen() {
    if (!temp_ergebnis_) {
        meldung(nicht_schreibbar.text() + angaben_.ergebnisdatei.string(), "M", 'E');
        verwerfen();
        return false;
    }
    std::string grund;
    bool steuer_ersetzt = false;
    if (temp_steuer_) {
        if (!ersetze_datei(*temp_steuer_, steuerdateipfad(angaben_), grund)) {
            meldung(nicht_schreibbar.text() + steuerdateipfad(angaben_).string() + " (" + grund + ")", "M", 'E');
            verwerfen();
            return false;
        }
        temp_steuer_.reset();
        steuer_ersetzt = true;
    }
    if (!ersetze_datei(*temp_ergebnis_, angaben_.ergebnisdatei, grund)) {
        meldung(nicht_schreibbar.text() + angaben_.ergebnisdatei.string() + " (" + grund + ")", "M", 'E');
        // Without its result file the new control file would be a partial
        // result of a failed run.
        if (steuer_ersetzt) {
            std::error_code ec;
            std::filesystem::remove(steuerdateipfad(angaben_), ec);
        }
        verwerfen();
        return false;
    }
    temp_ergebnis_.reset();
    if (katalog_ && eintrag_) {
        try {
            trage_ergebnisdatei_ein(eintrag_->optimierung, eintrag_->haupt, angaben_.ergebnisdatei,
                                    *katalog_, eintrag_->heute);
        } catch (const abbruch&) {
            // The database layer has reported why; the files are complete.
            meldung(katalog_nicht_geschrieben.text() + angaben_.ergebnisdatei.string(), "M", 'W');
        }
    }
    return true;
}
