#include "results/ergebnisschreiber.h"

#include <filesystem>
#include <system_error>

#include "lang/meldung.h"
#include "results/ergebniskatalog.h"

void ergebnisschreiber::schreibe_intervallergebnisse(const ::datm& d, double flaeche_aus, int e,
                                                     int f, int j) {
    ::schreibe_intervallergebnisse(d, steuertab_, flaeche_aus, e, f, j, angaben_, eingaben_);
}

void ergebnisschreiber::schreibe_monatsergebnisse(const ::datm& d, double flaeche_aus, int f,
                                                  int e, int j) {
    try {
        ::schreibe_monatsergebnisse(d, ergebnistab_, flaeche_aus, e, f, j, angaben_);
    } catch (const abbruch&) {
        std::error_code ec;
        if (katalog_ && !std::filesystem::exists(angaben_.ergebnisdatei, ec))
            katalog_->entferne(angaben_.ergebnisdatei.filename().string());
        throw;
    }
}
