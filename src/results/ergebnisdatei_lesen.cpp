#include "results/ergebnisdatei_lesen.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebnistexte.h"
#include "results/tabellenleser.h"

namespace {

constexpr text_paar falsches_datenformat{"Fehler: Falsches Datenformat", "Error: Wrong data format"};
constexpr text_paar keine_datei{"Fehler: Falsches Datenformat: keine reguläre Datei: ",
                                "Error: Wrong data format: not a regular file: "};
constexpr text_paar zeile{", Zeile ", ", line "};
constexpr text_paar nicht_lesbar{"Fehler: Datei kann nicht gelesen werden: ", "Error: file cannot be read: "};
constexpr text_paar zu_gross{"Fehler: Datei ist zu groß für eine Ergebnisdatei: ", "Error: file is too large for a result file: "};
constexpr text_paar cmaxa{"Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten",
                          "Error: Permitted number of values for collectors (CMAXA) exceeded"};

struct datei_schliessen {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void lese_tabelle(dat3d& ziel, parreadtab& tab, TSDaten& beschreibung, bool& ok, char layout,
                  char werteart) {
    if (!ok) return;
    // A FIFO or a device would block the reader or never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(tab.name), ec)) {
        ok = false;
        meldung(keine_datei.text() + tab.name, "M", 'E');
        return;
    }
    leseergebnis ergebnis = leseergebnis::falsches_format;
    std::size_t fehlerzeile = 0;
    if (werteart == 'd') {
#ifdef _WIN32
        std::unique_ptr<std::FILE, datei_schliessen> datei(
            _wfopen(std::filesystem::path(tab.name).c_str(), L"rb"));
#else
        std::unique_ptr<std::FILE, datei_schliessen> datei(std::fopen(tab.name.c_str(), "rb"));
#endif
        if (datei) {
            datei_zeilenquelle quelle(datei.get());
            ergebnis = lies_tabelle(quelle, ziel, tab, beschreibung, layout, &fehlerzeile);
        }
    }
    switch (ergebnis) {
    case leseergebnis::ok:
        return;
    case leseergebnis::falsches_format:
        ok = false;
        // The file and the line, so that the damage can be found.
        meldung(falsches_datenformat.text() + ": " + tab.name +
                    (fehlerzeile > 0 ? zeile.text() + std::to_string(fehlerzeile) : std::string()),
                "M", 'E');
        return;
    case leseergebnis::zu_viele_scheiben:
        ok = false;
        meldung(cmaxa.text(), "M", 'T');
        return;
    }
}

int finde_spalte(const parreadtab& tab, std::string_view code) {
    int gefunden = 0;
    for (int32_t c = 1; c <= tab.spalt && static_cast<std::size_t>(c) < tab.feldy.size(); ++c) {
        std::string_view f = tab.feldy[static_cast<std::size_t>(c)].name_0;
        while (!f.empty() && f.back() == ' ') f.remove_suffix(1);
        if (f == code) gefunden = c;
    }
    return gefunden;
}

void rechne_codes_um(const parreadtab& tab, dat3d& werte, const ::datm& d,
                     const einheitenumrechner& umrechner) {
    for (int q = 0; q < ANZ_ADATA; ++q) {
        const int spalte = finde_spalte(tab, ergebnistexte::code(q));
        if (spalte == 0 || spalte > werte.spalten()) continue;
        const auto uq = static_cast<std::size_t>(q);
        bool bekannt = false;
        umrechnen_struct u;
        for (int32_t s = 1; s <= werte.scheiben(); ++s) {
            for (int32_t r = 1; r <= werte.zeilen(s); ++r) {
                if (!bekannt) {
                    u = umrechner(tab.feldy[static_cast<std::size_t>(spalte)].einheit,
                                  d.ausgabe_einheit[uq], d.kennzeichen[uq], r <= MAXMONAT ? r : 0);
                    bekannt = true;
                }
                double& x = werte.wert(r, spalte, s);
                x = u.faktor * x + u.offset;
            }
        }
    }
}

double flaeche_der_scheibe(const parreadtab& tab, int s, const std::string& flaecheneinheit,
                           const einheitenumrechner& umrechner) {
    const koor& schluessel = tab.feldz.at(static_cast<std::size_t>(s));
    const umrechnen_struct u = umrechner(schluessel.einheit, flaecheneinheit, "AR", 0);
    return u.faktor * schluessel.wert + u.offset;
}

std::optional<std::string> lies_und_pruefe_ergebnisdatei(const std::filesystem::path& datei, std::string& inhalt) {
    inhalt.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(datei, ec)) return keine_datei.text() + datei.string();
    // Far above any result file (MAXSCHEIBEN sections of MAXZEILEN rows).
    constexpr std::uintmax_t MAX_GROESSE = std::uintmax_t{1} << 30;
    if (std::filesystem::file_size(datei, ec) > MAX_GROESSE) return zu_gross.text() + datei.string();
    std::ifstream ein(datei, std::ios::binary);
    if (!ein) return nicht_lesbar.text() + datei.string();
    inhalt.assign(std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>());
    if (ein.bad()) return nicht_lesbar.text() + datei.string();
    text_zeilenquelle quelle(inhalt);
    dat3d werte;
    parreadtab tab;
    TSDaten beschreibung;
    std::size_t fehlerzeile = 0;
    if (lies_tabelle(quelle, werte, tab, beschreibung, 'n', &fehlerzeile) != leseergebnis::ok)
        return falsches_datenformat.text() + ": " + datei.string() + zeile.text() + std::to_string(fehlerzeile);
    return std::nullopt;
}
