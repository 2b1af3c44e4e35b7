#include "results/ergebnisvergleich.h"

#include <algorithm>
#include <cmath>

#include "data/einheiten.h"
#include "lang/meldung.h"
#include "results/ergebnistexte.h"
#include "results/graphiktexte.h"

namespace {

std::string ohne_raender(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    const auto e = s.find_last_not_of(' ');
    return s.substr(a, e - a + 1);
}

}  // namespace

double geladene_datei::wert(int q, int r, int s) const {
    if (!hat(q) || s < 1 || s > scheiben() || r < 1 || r > zeilenzahl(s)) return 0.0;
    return werte.wert(r, spalte_von[static_cast<std::size_t>(q)], s);
}

int geladene_datei::scheibe_mit_flaeche(double f) const {
    for (int s = 1; s <= scheiben(); ++s) {
        const double a = flaeche[static_cast<std::size_t>(s)];
        if (std::abs(a - f) <= 1e-9 * std::max(1.0, std::abs(f))) return s;
    }
    return 0;
}

einheitenumrechner einheiten_umrechner() {
    return [](const std::string& von, const std::string& nach, const std::string& kennzeichen, int monat) {
        return umrechnungsfaktor(von, nach, kennzeichen, monat);
    };
}

ergebnisvergleich::ladeergebnis ergebnisvergleich::lade(const std::filesystem::path& datei) {
    return lade(datei, zustand::datm_allgemein(), einheiten_umrechner(),
                haupteinheiten()[groesse::flaeche].ausgabe);
}

std::string geladene_datei::dateiname() const { return std::filesystem::path(pfad).filename().string(); }

ergebnisvergleich::ladeergebnis ergebnisvergleich::lade(const std::filesystem::path& datei,
                                                        const ::datm& ausgabe,
                                                        const einheitenumrechner& umrechner,
                                                        const std::string& flaecheneinheit) {
    if (anzahl() >= MAXDATEIEN) {
        meldung(graphiktexte::maximalzahl.text() + std::to_string(MAXDATEIEN), "M", 'E');
        return ladeergebnis::zu_viele;
    }
    geladene_datei g;
    parreadtab tab;
    tab.name = datei.string();
    TSDaten beschreibung;
    bool ok = true;
    lese_tabelle(g.werte, tab, beschreibung, ok);
    if (!ok || g.werte.scheiben() < 1) {
        if (ok) meldung(graphiktexte::keine_flaeche_in_datei.text() + tab.name, "M", 'E');
        return ladeergebnis::fehler;
    }
    rechne_codes_um(tab, g.werte, ausgabe, umrechner);

    g.pfad = tab.name;
    g.datensatz = tab.hauptname;
    g.flaecheneinheit = flaecheneinheit;
    const int spalten = g.werte.spalten();
    g.steuerdatei = spalten == ergebnistexte::ANZ_STEUERSPALTEN && finde_spalte(tab, ergebnistexte::steuer_code(0)) == 1;

    g.flaeche.assign(static_cast<std::size_t>(g.werte.scheiben()) + 1, 0.0);
    for (int s = 1; s <= g.werte.scheiben(); ++s)
        g.flaeche[static_cast<std::size_t>(s)] = flaeche_der_scheibe(tab, s, flaecheneinheit, umrechner);

    int zeilen = 0;
    for (int s = 1; s <= g.werte.scheiben(); ++s) zeilen = std::max(zeilen, g.werte.zeilen(s));
    g.zeilen.assign(static_cast<std::size_t>(zeilen) + 1, std::string{});
    for (int r = 1; r <= zeilen; ++r) {
        g.zeilen[static_cast<std::size_t>(r)] =
            r < static_cast<int>(tab.feldx.size()) ? ohne_raender(tab.feldx[static_cast<std::size_t>(r)].name)
                                                   : std::to_string(r);
    }

    g.spalten.assign(static_cast<std::size_t>(spalten) + 1, vergleichsspalte{});
    for (int c = 1; c <= spalten; ++c) {
        const koor& k = tab.feldy[static_cast<std::size_t>(c)];
        vergleichsspalte& v = g.spalten[static_cast<std::size_t>(c)];
        v.code = ohne_raender(k.name_0);
        v.einheit = k.einheit;
        v.titel = g.steuerdatei ? ergebnistexte::steuer_titel(c - 1) : v.code;
    }
    for (int q = 0; q < ANZ_ADATA; ++q) {
        const int c = finde_spalte(tab, ergebnistexte::code(q));
        if (c < 1 || c > spalten) continue;
        g.spalte_von[static_cast<std::size_t>(q)] = c;
        vergleichsspalte& v = g.spalten[static_cast<std::size_t>(c)];
        v.einheit = ausgabe.ausgabe_einheit[static_cast<std::size_t>(q)];
        if (!g.steuerdatei) v.titel = ergebnistexte::titel(q);
    }
    dateien_.push_back(std::move(g));
    return ladeergebnis::ok;
}
