#include "app/variantenbefehl.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

#include "data/datenbank.h"
#include "data/datensatzbezuege.h"
#include "data/tabellen_schema.h"
#include "lang/sprache.h"

namespace {

namespace txt {
constexpr text_paar form{"--vary braucht TABELLE.SPALTE=w1,w2,...: ", "--vary takes TABLE.COLUMN=v1,v2,...: "};
constexpr text_paar leerer_wert{"--vary mit leerem Wert: ", "--vary with an empty value: "};
constexpr text_paar unbekannte_tabelle{"Unbekannte Tabelle (weder haupt noch eine Bezugsspalte von haupt): ",
                                       "unknown table (neither haupt nor a reference column of haupt): "};
constexpr text_paar mehrdeutig{"Tabelle wird von mehreren Spalten von haupt benannt, bitte eine wählen: ",
                               "table is named by several columns of haupt, choose one: "};
constexpr text_paar unbekannte_spalte{"Unbekannte Spalte: ", "unknown column: "};
constexpr text_paar schluesselspalte{"Schlüsselspalte kann nicht variiert werden: ", "a key column cannot be varied: "};
constexpr text_paar doppelt{"Spalte doppelt variiert: ", "column varied twice: "};
constexpr text_paar keine_zahl{"Kein Zahlenwert für ", "not a number for "};
constexpr text_paar zu_lang{"Wert zu lang für ", "value too long for "};
constexpr text_paar zeichen{" Zeichen)", " characters)"};
constexpr text_paar kein_datensatz{"Kein Datensatz mit dem Namen ", "no data set named "};
constexpr text_paar keine_zeile{"Datensatz nennt eine fehlende Zeile: ", "data set names a missing row: "};
constexpr text_paar name_vorhanden{"Name existiert bereits: ", "name exists already: "};
constexpr text_paar name_doppelt{"Muster ergibt einen Namen mehrfach: ", "the pattern gives a name twice: "};
constexpr text_paar schreibgeschuetzt{"Tabelle schreibgeschützt: ", "table is write-protected: "};
constexpr text_paar angelegt{" Varianten angelegt", " variants created"};
}  // namespace txt

std::string klein(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> teile(const std::string& s, char trenner) {
    std::vector<std::string> r;
    std::size_t a = 0;
    for (;;) {
        const auto e = s.find(trenner, a);
        r.push_back(s.substr(a, e == std::string::npos ? std::string::npos : e - a));
        if (e == std::string::npos) return r;
        a = e + 1;
    }
}

// Where a variation writes: the table, and the `haupt` column naming its row
// (empty for a column of `haupt` itself).
struct ziel {
    int tabelle = -1;
    std::string bezugsspalte;
    std::string arbeitsweise;
    int spalte = -1;  // column position in the table's schema
};

ziel finde_ziel(const variation& v) {
    ziel z;
    const std::string t = klein(v.tabelle);
    if (t == "haupt") {
        z.tabelle = tabledata::thaupt;
    } else {
        std::vector<const datensatzbezug*> kandidaten;
        for (const auto& b : datensatzbezuege())
            if (klein(b.spalte) == t) kandidaten = {&b};
        if (kandidaten.empty()) {
            for (const auto& b : datensatzbezuege())
                if (klein(tabellenschluessel(b.tabelle)) == t) kandidaten.push_back(&b);
        }
        if (kandidaten.empty()) throw std::invalid_argument(txt::unbekannte_tabelle.text() + v.tabelle);
        if (kandidaten.size() > 1) {
            std::string liste;
            for (const auto* b : kandidaten) liste += (liste.empty() ? "" : ", ") + b->spalte;
            throw std::invalid_argument(txt::mehrdeutig.text() + v.tabelle + " (" + liste + ")");
        }
        z.tabelle = kandidaten.front()->tabelle;
        z.bezugsspalte = kandidaten.front()->spalte;
        z.arbeitsweise = kandidaten.front()->arbeitsweise;
    }
    const tabellen_def& def = tabellenschema(z.tabelle);
    for (std::size_t i = 0; i < def.spalten.size(); ++i)
        if (klein(def.spalten[i].name) == klein(v.spalte)) z.spalte = static_cast<int>(i);
    if (z.spalte < 0) throw std::invalid_argument(txt::unbekannte_spalte.text() + v.tabelle + "." + v.spalte);
    const std::string& name = def.spalten[static_cast<std::size_t>(z.spalte)].name;
    for (const auto& k : def.schluessel)
        if (klein(k) == klein(name)) throw std::invalid_argument(txt::schluesselspalte.text() + v.tabelle + "." + name);
    if (z.tabelle == tabledata::thaupt && klein(name) == "lock")
        throw std::invalid_argument(txt::schluesselspalte.text() + v.tabelle + "." + name);
    return z;
}

// A value fits its column: a number for a number column, not longer than a
// text column's width.
void pruefe_wert(int tabelle, int spalte, const std::string& w, const std::string& bezeichnung) {
    const spalten_def& s = tabellenschema(tabelle).spalten[static_cast<std::size_t>(spalte)];
    if (s.typ == spaltentyp::text || s.typ == spaltentyp::memo) {
        if (s.breite > 0 && static_cast<int>(w.size()) > s.breite)
            throw std::runtime_error(txt::zu_lang.text() + bezeichnung + ": \"" + w + "\" (max. " +
                                     std::to_string(s.breite) + txt::zeichen.text());
        return;
    }
    char* ende = nullptr;
    const double x = std::strtod(w.c_str(), &ende);
    if (w.empty() || *ende != '\0' || !std::isfinite(x))
        throw std::runtime_error(txt::keine_zahl.text() + bezeichnung + ": \"" + w + "\"");
}

// File names for the result and control files of a variant: the name with
// every character other than letters, digits, '.', '-' and '_' as '_'.
std::string dateiname(const std::string& name) {
    std::string r;
    for (char c : name) r += (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_') ? c : '_';
    if (r.empty() || r == "." || r == "..") r = "_" + r;
    return r;
}

// Positions `t` on the row with key (name[, arbeitsweise]).
bool suche_zeile(tabelle& t, const std::string& name, const std::string& arbeitsweise) {
    t.filter_aus();
    t.sortiere_nach_schluessel();
    std::vector<feldwert> k{feldwert(name)};
    if (!arbeitsweise.empty()) k.emplace_back(arbeitsweise);
    return t.suche(k);
}

std::vector<feldwert> zeilenwerte(tabelle& t) {
    std::vector<feldwert> w;
    for (int c = 0; c < t.spaltenanzahl(); ++c) w.push_back(t.wert(c));
    return w;
}

void fuege_ein(tabelle& t, const std::vector<feldwert>& werte) {
    t.einfuegen();
    try {
        for (int c = 0; c < t.spaltenanzahl(); ++c) t.setze(c, werte[static_cast<std::size_t>(c)]);
        t.speichern();
    } catch (...) {
        t.abbrechen();
        throw;
    }
}

}  // namespace

variation lies_variation(const std::string& text) {
    const auto gleich = text.find('=');
    const auto punkt = text.find('.');
    if (gleich == std::string::npos || punkt == std::string::npos || punkt == 0 || punkt + 1 >= gleich ||
        gleich + 1 >= text.size())
        throw std::invalid_argument(txt::form.text() + text);
    variation v{text.substr(0, punkt), text.substr(punkt + 1, gleich - punkt - 1), teile(text.substr(gleich + 1), ',')};
    for (const auto& w : v.werte)
        if (w.empty()) throw std::invalid_argument(txt::leerer_wert.text() + text);
    return v;
}

std::string standardmuster(const std::vector<variation>& v) {
    std::string m = "{base}";
    for (std::size_t i = 0; i < v.size(); ++i) m += " " + v[i].spalte + "={" + std::to_string(i + 1) + "}";
    return m;
}

std::vector<variante> bilde_varianten(const std::string& basis, const std::vector<variation>& v,
                                      const std::string& muster) {
    std::vector<variante> r;
    if (v.empty()) return r;
    std::vector<std::size_t> stelle(v.size(), 0);
    for (int n = 1;; ++n) {
        variante x;
        for (std::size_t i = 0; i < v.size(); ++i) x.werte.push_back(v[i].werte[stelle[i]]);
        for (std::size_t p = 0; p < muster.size();) {
            const auto zu = muster.find('}', p);
            if (muster[p] == '{' && zu != std::string::npos) {
                const std::string platz = muster.substr(p + 1, zu - p - 1);
                std::string ersatz = "{" + platz + "}";
                if (platz == "base") {
                    ersatz = basis;
                } else if (platz == "n") {
                    ersatz = std::to_string(n);
                } else if (!platz.empty() && platz.find_first_not_of("0123456789") == std::string::npos &&
                           platz.size() < 4) {
                    const std::size_t k = std::stoul(platz);
                    if (k >= 1 && k <= v.size()) ersatz = x.werte[k - 1];
                }
                x.name += ersatz;
                p = zu + 1;
            } else {
                x.name += muster[p++];
            }
        }
        r.push_back(std::move(x));
        // Next combination, the last variation fastest.
        std::size_t i = v.size();
        while (i > 0) {
            --i;
            if (++stelle[i] < v[i].werte.size()) break;
            stelle[i] = 0;
            if (i == 0) return r;
        }
    }
}

void befehl_sweep(const std::string& basis, const std::vector<std::string>& angaben,
                  const std::optional<std::string>& muster, bool probelauf, std::ostream& aus) {
    std::vector<variation> v;
    std::vector<ziel> ziele;
    std::set<std::pair<int, std::string>> gesehen;  // (table, haupt column) x column
    std::set<std::string> haupt_direkt, bezuege;
    for (const auto& a : angaben) {
        v.push_back(lies_variation(a));
        ziele.push_back(finde_ziel(v.back()));
        const ziel& z = ziele.back();
        const std::string schluessel = z.bezugsspalte + "." + std::to_string(z.spalte);
        if (!gesehen.insert({z.tabelle, schluessel}).second) throw std::invalid_argument(txt::doppelt.text() + a);
        const std::string spaltenname = klein(tabellenschema(z.tabelle).spalten[static_cast<std::size_t>(z.spalte)].name);
        if (z.bezugsspalte.empty()) haupt_direkt.insert(spaltenname);
        else bezuege.insert(klein(z.bezugsspalte));
    }
    for (const auto& b : bezuege)
        if (haupt_direkt.count(b)) throw std::invalid_argument(txt::doppelt.text() + "haupt." + b);
    for (std::size_t i = 0; i < v.size(); ++i)
        for (const auto& w : v[i].werte) pruefe_wert(ziele[i].tabelle, ziele[i].spalte, w, v[i].tabelle + "." + v[i].spalte);

    tabelle& haupt = tab(tabledata::thaupt);
    if (!haupt.ist_offen() || !suche_zeile(haupt, basis, "")) throw std::runtime_error(txt::kein_datensatz.text() + basis);
    const std::vector<feldwert> basiswerte = zeilenwerte(haupt);
    auto haupt_text = [&](const std::string& spalte) {
        return als_text(basiswerte[static_cast<std::size_t>(haupt.spalten_index(spalte))]);
    };

    // The catalogue rows the variants copy, one per varied reference column.
    struct kopie {
        std::string bezugsspalte, arbeitsweise;
        int tabelle;
        std::vector<feldwert> werte;
        std::vector<std::size_t> variationen;  // which variations write into it
    };
    std::map<std::string, kopie> kopien;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const ziel& z = ziele[i];
        if (z.bezugsspalte.empty()) continue;
        auto it = kopien.find(z.bezugsspalte);
        if (it == kopien.end()) {
            tabelle& t = tab(z.tabelle);
            const std::string zeile = haupt_text(z.bezugsspalte);
            if (!t.ist_offen() || !suche_zeile(t, zeile, z.arbeitsweise))
                throw std::runtime_error(txt::keine_zeile.text() + z.bezugsspalte + " = " + zeile + " (" +
                                         tabellenschluessel(z.tabelle) + ")");
            it = kopien.emplace(z.bezugsspalte, kopie{z.bezugsspalte, z.arbeitsweise, z.tabelle, zeilenwerte(t), {}}).first;
        }
        it->second.variationen.push_back(i);
    }

    const std::vector<variante> varianten = bilde_varianten(basis, v, muster.value_or(standardmuster(v)));
    std::set<std::string> namen, dateinamen;
    const int name_spalte = haupt.spalten_index("name");
    for (const auto& x : varianten) {
        if (!namen.insert(x.name).second || !dateinamen.insert(dateiname(x.name)).second)
            throw std::runtime_error(txt::name_doppelt.text() + x.name);
        pruefe_wert(tabledata::thaupt, name_spalte, x.name, "haupt.name");
        pruefe_wert(tabledata::thaupt, haupt.spalten_index("ausgabefile"), dateiname(x.name), "haupt.ausgabefile");
        if (suche_zeile(haupt, x.name, "")) throw std::runtime_error(txt::name_vorhanden.text() + "haupt: " + x.name);
        for (const auto& [spalte, k] : kopien) {
            tabelle& t = tab(k.tabelle);
            pruefe_wert(k.tabelle, 0, x.name, tabellenschluessel(k.tabelle) + "." + t.spalte(0).name);
            if (suche_zeile(t, x.name, k.arbeitsweise))
                throw std::runtime_error(txt::name_vorhanden.text() + tabellenschluessel(k.tabelle) + ": " + x.name);
        }
    }

    aus << "name";
    for (const auto& x : v) aus << '\t' << x.tabelle << '.' << x.spalte;
    aus << '\n';
    for (const auto& x : varianten) {
        aus << x.name;
        for (const auto& w : x.werte) aus << '\t' << w;
        aus << '\n';
    }
    if (probelauf) return;

    std::vector<int> schreibtabellen{tabledata::thaupt};
    for (const auto& [s, k] : kopien) schreibtabellen.push_back(k.tabelle);
    for (int t : schreibtabellen) {
        tabelle& w = tab_zum_schreiben(t);
        if (!w.ist_offen() || w.nur_lesbar()) throw std::runtime_error(txt::schreibgeschuetzt.text() + w.datei().string());
    }
    for (const auto& x : varianten) {
        std::vector<feldwert> h = basiswerte;
        for (const auto& [spalte, k] : kopien) {
            tabelle& t = tab_zum_schreiben(k.tabelle);
            std::vector<feldwert> w = k.werte;
            w[0] = feldwert(x.name);
            for (std::size_t i : k.variationen) w[static_cast<std::size_t>(ziele[i].spalte)] = feldwert(x.werte[i]);
            fuege_ein(t, w);
            h[static_cast<std::size_t>(haupt.spalten_index(spalte))] = feldwert(x.name);
        }
        for (std::size_t i = 0; i < v.size(); ++i)
            if (ziele[i].bezugsspalte.empty()) h[static_cast<std::size_t>(ziele[i].spalte)] = feldwert(x.werte[i]);
        h[static_cast<std::size_t>(name_spalte)] = feldwert(x.name);
        for (const char* datei : {"ausgabefile", "steuer"})
            if (!haupt_direkt.count(datei)) h[static_cast<std::size_t>(haupt.spalten_index(datei))] = feldwert(dateiname(x.name));
        h[static_cast<std::size_t>(haupt.spalten_index("lock"))] = feldwert(std::string("NF"));
        fuege_ein(tab_zum_schreiben(tabledata::thaupt), h);
    }
    aus.flush();
}
