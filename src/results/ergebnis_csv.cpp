#include "results/ergebnis_csv.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "lang/meldung.h"
#include "results/dateiersatz.h"
#include "results/ergebnisgraphik.h"
#include "results/ergebnistexte.h"
#include "results/graphiktexte.h"

namespace gt = graphiktexte;

namespace {

std::vector<tabellenspalte> spalten_von(const geladene_datei& d) {
    std::vector<tabellenspalte> s;
    for (std::size_t c = 1; c < d.spalten.size(); ++c)
        s.push_back({d.spalten[c].titel, d.spalten[c].code, d.spalten[c].einheit, {}});
    return s;
}

}  // namespace

ergebnis_anzeigetabelle tabelle_der_scheibe(const geladene_datei& d, int s) {
    ergebnis_anzeigetabelle t;
    if (s < 1 || s > d.scheiben()) return t;
    t.titel = d.datensatz + " - " + gt::flaeche.text() + ": " + flaechen_text(d.flaeche[static_cast<std::size_t>(s)]) +
              " " + d.flaecheneinheit;
    t.zeilenkopf = gt::monat.text();
    t.spalten = spalten_von(d);
    const int spalten = d.werte.spalten();
    for (int r = 1; r <= d.zeilenzahl(s); ++r) {
        t.zeilen.push_back(r < static_cast<int>(d.zeilen.size()) ? d.zeilen[static_cast<std::size_t>(r)]
                                                                : std::to_string(r));
        std::vector<double> zeile;
        zeile.reserve(static_cast<std::size_t>(spalten));
        for (int c = 1; c <= spalten; ++c) zeile.push_back(d.werte.wert(r, c, s));
        t.werte.push_back(std::move(zeile));
    }
    return t;
}

ergebnis_anzeigetabelle jahreswerte_tabelle(const geladene_datei& d) {
    ergebnis_anzeigetabelle t;
    t.titel = d.datensatz;
    t.zeilenkopf = gt::flaeche.text() + " [" + d.flaecheneinheit + "]";
    t.spalten = spalten_von(d);
    const int spalten = d.werte.spalten();
    for (int s = 1; s <= d.scheiben(); ++s) {
        if (d.zeilenzahl(s) < 1) continue;
        t.zeilen.push_back(flaechen_text(d.flaeche[static_cast<std::size_t>(s)]));
        std::vector<double> zeile;
        for (int c = 1; c <= spalten; ++c) zeile.push_back(d.werte.wert(1, c, s));
        t.werte.push_back(std::move(zeile));
    }
    return t;
}

ergebnis_anzeigetabelle vergleichstabelle(const ergebnisvergleich& v, int q, double flaeche) {
    ergebnis_anzeigetabelle t;
    t.titel = ergebnistexte::titel(q) + " - " + gt::flaeche.text() + ": " + flaechen_text(flaeche);
    t.zeilenkopf = gt::monat.text();
    std::vector<std::pair<const geladene_datei*, int>> quellen;
    int zeilen = 0;
    for (int f = 1; f <= v.anzahl(); ++f) {
        const geladene_datei& d = v.datei(f);
        const int s = d.scheibe_mit_flaeche(flaeche);
        if (s == 0 || !d.hat(q)) continue;
        quellen.emplace_back(&d, s);
        const auto& spalte = d.spalten[static_cast<std::size_t>(d.spalte_von[static_cast<std::size_t>(q)])];
        t.spalten.push_back({ergebnistexte::titel(q), spalte.code, spalte.einheit, d.dateiname()});
        zeilen = std::max(zeilen, d.zeilenzahl(s));
    }
    for (int r = 1; r <= zeilen; ++r) {
        const geladene_datei& erste = *quellen.front().first;
        t.zeilen.push_back(r < static_cast<int>(erste.zeilen.size()) ? erste.zeilen[static_cast<std::size_t>(r)]
                                                                     : std::to_string(r));
        std::vector<double> zeile;
        for (const auto& [d, s] : quellen) zeile.push_back(d->wert(q, r, s));
        t.werte.push_back(std::move(zeile));
    }
    return t;
}

std::string csv_zahl(double x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    char puffer[64];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, x);
    return std::string(puffer, r.ptr);
}

std::string csv_text(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string r = "\"";
    for (char c : s) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

void schreibe_csv(const ergebnis_anzeigetabelle& t, std::ostream& aus) {
    auto kopfzeile = [&](const std::string& erstes, auto feld) {
        aus << csv_text(erstes);
        for (const auto& s : t.spalten) aus << ',' << csv_text(feld(s));
        aus << '\n';
    };
    // Row 1: the heading of the label column, then the quantity titles.
    kopfzeile(t.zeilenkopf, [](const tabellenspalte& s) { return s.groesse; });
    kopfzeile(gt::csv_code.text(), [](const tabellenspalte& s) { return s.code; });
    kopfzeile(gt::csv_einheit.text(), [](const tabellenspalte& s) { return s.einheit; });
    bool mit_quelle = false;
    for (const auto& s : t.spalten) mit_quelle = mit_quelle || !s.quelle.empty();
    if (mit_quelle) kopfzeile(gt::csv_quelle.text(), [](const tabellenspalte& s) { return s.quelle; });
    for (std::size_t r = 0; r < t.zeilen.size(); ++r) {
        aus << csv_text(t.zeilen[r]);
        for (double x : t.werte[r]) aus << ',' << csv_zahl(x);
        aus << '\n';
    }
}

std::string als_csv(const ergebnis_anzeigetabelle& t) {
    std::ostringstream s;
    schreibe_csv(t, s);
    return s.str();
}

bool speichere_csv(const ergebnis_anzeigetabelle& t, const std::filesystem::path& datei) {
    std::string grund;
    const auto temporaer = lege_temporaere_datei_an(datei, grund);
    if (!temporaer) {
        meldung(gt::csv_nicht_gespeichert.text() + datei.string() + " (" + grund + ")", "M", 'E');
        return false;
    }
    {
        std::ofstream aus(*temporaer, std::ios::binary | std::ios::trunc);
        schreibe_csv(t, aus);
        aus.flush();
        if (!aus) grund = std::generic_category().message(EIO);
    }
    if (!grund.empty() || !ersetze_datei(*temporaer, datei, grund)) {
        std::error_code ec;
        std::filesystem::remove(*temporaer, ec);
        meldung(gt::csv_nicht_gespeichert.text() + datei.string() + " (" + grund + ")", "M", 'E');
        return false;
    }
    return true;
}
