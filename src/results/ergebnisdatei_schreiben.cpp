#include "results/ergebnisdatei_schreiben.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/cp1252.h"
#include "results/ergebnistexte.h"
#include "results/zahlformat.h"

namespace {

constexpr text_paar nicht_schreibbar{"Fehler: Datei kann nicht geschrieben werden: ",
                                     "Error: File cannot be written: "};
constexpr text_paar cmaxa{"Fehler: Zulässige Anzahl von Werten für Kollektoren (CMAXA) überschritten",
                          "Error: Permitted number of values for collectors (CMAXA) exceeded"};

constexpr std::string_view trenner = ",  ";
constexpr std::string_view zeilenende = "\r\n";

// Text as file bytes; NUL, CR and LF would break the layout and become blanks.
std::string dateitext(std::string_view utf8) {
    std::string s = utf8_nach_cp1252(utf8);
    std::replace_if(s.begin(), s.end(), [](char c) { return c == '\0' || c == '\r' || c == '\n'; }, ' ');
    return s;
}

void rechtsbuendig_30(std::string& ziel, std::string_view utf8) {
    const std::string s = dateitext(utf8);
    if (s.size() < 30) ziel.append(30 - s.size(), ' ');
    ziel += s;
}

void spaltenzeile(std::string& z, const parreadtab& tab, std::string koor::*feld) {
    for (int32_t c = 1; c <= tab.spalt; ++c) {
        rechtsbuendig_30(z, tab.feldy[static_cast<std::size_t>(c)].*feld);
        z += trenner;
    }
    z += '\0';
    z += zeilenende;
}

int32_t anzahl_scheiben(const abschnittsfolge& a) { return a.letzter - a.erster + 1; }

koor flaechenschluessel(const ergebnisdatei_angaben& a, double flaeche_aus) {
    koor k;
    k.name = ergebnistexte::flaeche.text();
    k.einheit = a.flaecheneinheit;
    k.wert = flaeche_aus;
    return k;
}

}  // namespace

std::string formatiere_kopf(const parreadtab& tab) {
    std::string z = dateitext(tab.hauptname);
    z += zeilenende;
    z += std::to_string(tab.zeil);
    z += trenner;
    z += std::to_string(tab.spalt);
    z += trenner;
    z += std::to_string(tab.scheib);
    z += '\0';
    z += zeilenende;
    return z;
}

std::string formatiere_abschnitt(const parreadtab& tab, const koor& schluessel) {
    std::string z;
    // About 34 bytes per value and 70 per row label.
    z.reserve(static_cast<std::size_t>(tab.zeil) * (static_cast<std::size_t>(tab.spalt) * 34 + 72) +
              static_cast<std::size_t>(tab.spalt) * 100 + 256);
    // Line 3 of the format: the section key.
    z += dateitext(schluessel.name);
    z += ", ";
    z += dateitext(schluessel.einheit);
    z += ", ";
    z += '\0';
    schreibe_zahl(z, schluessel.wert, tab.stk);
    z += zeilenende;
    // Lines 4-6: column titles, units, codes.
    z += dateitext(ergebnistexte::titelanfang.text());
    spaltenzeile(z, tab, &koor::name);
    spaltenzeile(z, tab, &koor::einheit);
    spaltenzeile(z, tab, &koor::name_0);
    // Line 7 on: one line per row.
    for (int32_t r = 1; r <= tab.zeil; ++r) {
        const koor_int& x = tab.feldx[static_cast<std::size_t>(r)];
        rechtsbuendig_30(z, x.name);
        z += trenner;
        z += std::to_string(x.wert);
        z += trenner;
        z += '\0';
        for (int32_t c = 1; c <= tab.spalt; ++c) {
            schreibe_zahl(z, tab.wert(r, c), tab.stk);
            z += trenner;
        }
        z += '\0';
        z += zeilenende;
    }
    return z;
}

void schreibe_tabelle(const parreadtab& tab, const koor& schluessel, schreibmodus modus,
                      const std::string& meldepfad) {
    // Every reader refuses a file that announces more sections than this;
    // such a file is not written at all.
    if (tab.scheib < 1 || tab.scheib > MAXSCHEIBEN) {
        meldung(cmaxa.text() + ": " + std::to_string(tab.scheib) + " > " + std::to_string(MAXSCHEIBEN) +
                    " (" + (meldepfad.empty() ? tab.name : meldepfad) + ")",
                "M", 'T');
    }
    std::string inhalt;
    if (modus == schreibmodus::w) inhalt = formatiere_kopf(tab);
    inhalt += formatiere_abschnitt(tab, schluessel);

    const std::filesystem::path pfad(tab.name);
    errno = 0;
    std::ofstream datei(pfad, std::ios::binary |
                                  (modus == schreibmodus::w ? std::ios::trunc : std::ios::app));
    if (datei) {
        datei.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
        datei.close();
    }
    if (!datei) {
        // The system's reason (disk full, file too large) where the stream kept it.
        const std::string grund = errno != 0 ? std::string(" (") + std::strerror(errno) + ")" : std::string();
        meldung(nicht_schreibbar.text() + (meldepfad.empty() ? pfad.string() : meldepfad) + grund, "M", 'T');
    }
}

std::filesystem::path steuerdateipfad(const ergebnisdatei_angaben& a) {
    return a.ergebnisverzeichnis / (a.steuername + ".str");
}

void schreibe_monatsergebnisse(const ::datm& d, parreadtab& tab, double flaeche_aus,
                               const abschnittsfolge& abschnitte, const ergebnisdatei_angaben& a,
                               const std::filesystem::path& ziel) {
    tab.stg = 20;
    tab.stk = 10;
    tab.dimensioniere(MAXMONAT, ANZ_ADATA);
    for (int m = 1; m <= MAXMONAT; ++m) {
        tab.feldx[static_cast<std::size_t>(m)] = {ergebnistexte::monatsname(m), 1};
    }
    for (int q = 0; q < ANZ_ADATA; ++q) {
        koor& spalte = tab.feldy[static_cast<std::size_t>(q) + 1];
        spalte.name = ergebnistexte::titel(q);
        spalte.name_0 = ergebnistexte::code(q);
        spalte.einheit = d.ausgabe_einheit[static_cast<std::size_t>(q)];
        for (int m = 1; m <= MAXMONAT; ++m)
            tab.wert(m, q + 1) = d.feld[static_cast<std::size_t>(q)][static_cast<std::size_t>(m)];
    }
    tab.scheib = anzahl_scheiben(abschnitte);
    tab.hauptname = a.hauptname;
    tab.name = (ziel.empty() ? a.ergebnisdatei : ziel).string();
    schreibe_tabelle(tab, flaechenschluessel(a, flaeche_aus),
                     abschnitte.aktuell == 1 ? schreibmodus::w : schreibmodus::a, a.ergebnisdatei.string());
}

void schreibe_intervallergebnisse(const ::datm& d, parreadtab& tab, double flaeche_aus,
                                  const abschnittsfolge& abschnitte, const ergebnisdatei_angaben& a,
                                  const intervalleingaben& eingaben, const std::filesystem::path& ziel) {
    tab.stg = 20;
    tab.stk = 10;
    tab.name = (ziel.empty() ? steuerdateipfad(a) : ziel).string();
    tab.hauptname = a.hauptname;

    std::array<int32_t, MAXMONAT + 1> n{};
    int32_t zeilen = 0;
    for (int m = 1; m <= MAXMONAT; ++m) {
        n[static_cast<std::size_t>(m)] = std::clamp(intervalle(m), 0, MAXINTERVALL);
        zeilen += n[static_cast<std::size_t>(m)];
    }
    tab.dimensioniere(zeilen, ergebnistexte::ANZ_STEUERSPALTEN);
    for (int c = 0; c < ergebnistexte::ANZ_STEUERSPALTEN; ++c) {
        koor& spalte = tab.feldy[static_cast<std::size_t>(c) + 1];
        spalte.name = ergebnistexte::steuer_titel(c);
        spalte.name_0 = ergebnistexte::steuer_code(c);
        spalte.einheit = c < 3 ? eingaben.einheit[static_cast<std::size_t>(c)]
                               : d.ausgabe_einheit_3[static_cast<std::size_t>(c) - 3];
    }

    constexpr std::array<int, 3> eingabegroessen{zdata::ho, zdata::is0, zdata::ta};
    int32_t i = 1;
    for (int m = 1; m <= MAXMONAT; ++m) {
        const std::string monat = ergebnistexte::monatsname(m);
        const auto um = static_cast<std::size_t>(m);
        for (int k = 1; k <= n[um]; ++k, ++i) {
            const auto uk = static_cast<std::size_t>(k);
            tab.feldx[static_cast<std::size_t>(i)] = {monat, n[um]};
            for (std::size_t e = 0; e < 3; ++e) {
                const double roh = eingaben.pvdatz3
                                       ? (*eingaben.pvdatz3)[static_cast<std::size_t>(eingabegroessen[e])][um][uk]
                                       : 0.0;
                tab.wert(i, static_cast<int32_t>(e) + 1) =
                    eingaben.umrechnen[e].faktor * roh + eingaben.umrechnen[e].offset;
            }
            for (int h = 0; h < ANZ_FELD3; ++h)
                tab.wert(i, h + 4) = d.feld3[static_cast<std::size_t>(h)][um][uk];
        }
    }
    tab.scheib = anzahl_scheiben(abschnitte);
    schreibe_tabelle(tab, flaechenschluessel(a, flaeche_aus),
                     abschnitte.aktuell == 1 ? schreibmodus::w : schreibmodus::a,
                     steuerdateipfad(a).string());
}
