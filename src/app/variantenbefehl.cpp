#include "app/variantenbefehl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <stdexcept>

#include "data/datenbank.h"
#include "data/datensatzbezuege.h"
#include "data/stammdaten.h"
#include "data/tabellen_schema.h"
#include "input/wertepruefung.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "results/ergebniskatalog.h"

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
constexpr text_paar muster_offen{"Namensmuster mit offener Klammer (erwartet {base}, {n}, {1}, ...): ",
                                 "name pattern with an open brace (expected {base}, {n}, {1}, ...): "};
constexpr text_paar muster_platzhalter{"Unbekannter Platzhalter im Namensmuster (erwartet {base}, {n}, {1}, ...): ",
                                       "unknown placeholder in the name pattern (expected {base}, {n}, {1}, ...): "};
constexpr text_paar muster_wert{"Namensmuster nennt den Wert ", "name pattern names value "};
constexpr text_paar muster_nur{", es gibt aber nur ", ", but there are only "};
constexpr text_paar muster_variationen{" --vary: ", " --vary: "};
constexpr text_paar zu_viele{"sweep ergibt ", "sweep gives "};
constexpr text_paar zu_viele_grenze{" Varianten, mehr als die Grenze von ", " variants, more than the limit of "};
constexpr text_paar zu_viele_hinweis{" (--max-variants N hebt sie an)", " (--max-variants N raises it)"};
constexpr text_paar nichts_angelegt{"keine Variante angelegt", "no variant created"};
constexpr text_paar variante{"Variante ", "variant "};
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

// Keeps the first error of a check, shows nothing: a sweep of many
// variants reports the one that fails, not every message on the way.
class pruefsenke : public meldungs_senke {
public:
    void zeige(const std::string& text, char schwere) override { merke(text, schwere); }
    bool frage(const std::string&) override { return false; }
    void protokolliert(const std::string& text, char schwere) override { merke(text, schwere); }
    std::string grund;

private:
    void merke(const std::string& text, char schwere) {
        if ((schwere == 'E' || schwere == 'T') && grund.empty()) grund = text;
    }
};

// Checks the data set `name` as a run loads it: every row it names is
// there, every number the run uses is in its range, the result and control
// file names are plain names. Returns the first reason, or nothing.
std::string pruefe_variante(const std::string& name) {
    tabelle& haupt = tab(tabledata::thaupt);
    if (!suche_zeile(haupt, name, "")) return txt::kein_datensatz.text() + name;
    pruefsenke senke;
    meldungs_senke& vorher = aktuelle_meldungs_senke();
    setze_meldungs_senke(&senke);
    struct zurueck {
        meldungs_senke* s;
        ~zurueck() {
            loese_alle_master();
            setze_meldungs_senke(s);
        }
    } z{&vorher};
    try {
        if (!SetAllMasters("M")) return senke.grund;
        pruefe_datensatzwerte("M");
        haupt_angaben a;
        a.name = name;
        a.ausgabefile = haupt.text("ausgabefile");
        a.steuer = haupt.text("steuer");
        if (!pruefe_dateinamen('S', a)) return senke.grund;
    } catch (const abbruch&) {
        return senke.grund.empty() ? txt::nichts_angelegt.text() : senke.grund;
    }
    return {};
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

namensmuster::namensmuster(const std::string& muster, std::size_t variationen) {
    for (std::size_t p = 0; p < muster.size();) {
        if (muster[p] != '{') {
            const std::size_t auf = muster.find('{', p);
            teile_.push_back({teil::art::text, muster.substr(p, auf == std::string::npos ? std::string::npos : auf - p), 0});
            p = auf == std::string::npos ? muster.size() : auf;
            continue;
        }
        const std::size_t zu = muster.find('}', p);
        const std::size_t naechste_auf = muster.find('{', p + 1);
        if (zu == std::string::npos || (naechste_auf != std::string::npos && naechste_auf < zu))
            throw std::invalid_argument(txt::muster_offen.text() + "\"" + muster + "\"");
        const std::string platz = muster.substr(p + 1, zu - p - 1);
        if (platz == "base") {
            teile_.push_back({teil::art::basis, {}, 0});
        } else if (platz == "n") {
            teile_.push_back({teil::art::nummer, {}, 0});
        } else if (!platz.empty() && platz.size() <= 6 && platz.find_first_not_of("0123456789") == std::string::npos) {
            const std::size_t k = std::stoul(platz);
            if (k < 1 || k > variationen)
                throw std::invalid_argument(txt::muster_wert.text() + "{" + platz + "}" + txt::muster_nur.text() +
                                            std::to_string(variationen) + txt::muster_variationen.text() + "\"" +
                                            muster + "\"");
            teile_.push_back({teil::art::wert, {}, k - 1});
        } else {
            throw std::invalid_argument(txt::muster_platzhalter.text() + "{" + platz + "} in \"" + muster + "\"");
        }
        p = zu + 1;
    }
}

std::string namensmuster::name(const std::string& basis, long long n, const std::vector<std::string>& werte) const {
    std::string r;
    for (const teil& t : teile_) {
        switch (t.was) {
            case teil::art::text: r += t.text; break;
            case teil::art::basis: r += basis; break;
            case teil::art::nummer: r += std::to_string(n); break;
            case teil::art::wert: r += werte[t.k]; break;
        }
    }
    return r;
}

variantenfolge::variantenfolge(const std::string& basis, const std::vector<variation>& v, const namensmuster& muster)
    : basis_(basis), v_(v), muster_(muster), stelle_(v.size(), 0), fertig_(v.empty()) {
    for (const auto& x : v_)
        if (x.werte.empty()) fertig_ = true;
}

bool variantenfolge::naechste(variante& x) {
    if (fertig_) return false;
    x.werte.clear();
    for (std::size_t i = 0; i < v_.size(); ++i) x.werte.push_back(v_[i].werte[stelle_[i]]);
    x.name = muster_.name(basis_, ++n_, x.werte);
    // Next combination, the last variation fastest.
    std::size_t i = v_.size();
    for (;;) {
        --i;
        if (++stelle_[i] < v_[i].werte.size()) break;
        stelle_[i] = 0;
        if (i == 0) {
            fertig_ = true;
            break;
        }
    }
    return true;
}

double anzahl_varianten(const std::vector<variation>& v) {
    double n = v.empty() ? 0.0 : 1.0;
    for (const auto& x : v) n *= static_cast<double>(x.werte.size());
    return n;
}

void befehl_sweep(const std::string& basis, const std::vector<std::string>& angaben,
                  const std::optional<std::string>& muster_angabe, bool probelauf, std::ostream& aus,
                  long long max_varianten) {
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
    const namensmuster muster(muster_angabe.value_or(standardmuster(v)), v.size());
    // Counted before anything is formed: a study beyond the limit would
    // list for minutes or fill the memory.
    const double anzahl = anzahl_varianten(v);
    if (anzahl > static_cast<double>(max_varianten)) {
        char zahl[32];
        std::snprintf(zahl, sizeof zahl, "%.15g", anzahl);
        throw std::runtime_error(txt::zu_viele.text() + zahl + txt::zu_viele_grenze.text() +
                                 std::to_string(max_varianten) + txt::zu_viele_hinweis.text());
    }
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

    // The names: each once, free in every table the variant writes. The
    // listing goes out line by line as the variants are formed.
    std::set<std::string> namen, dateinamen;
    const int name_spalte = haupt.spalten_index("name");
    aus << "name";
    for (const auto& x : v) aus << '\t' << x.tabelle << '.' << x.spalte;
    aus << '\n';
    {
        variantenfolge folge(basis, v, muster);
        for (variante x; folge.naechste(x);) {
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
            aus << x.name;
            for (const auto& w : x.werte) aus << '\t' << w;
            aus << '\n';
        }
    }
    aus.flush();
    if (probelauf) return;

    std::vector<int> schreibtabellen{tabledata::thaupt};
    for (const auto& [s, k] : kopien)
        if (std::find(schreibtabellen.begin(), schreibtabellen.end(), k.tabelle) == schreibtabellen.end())
            schreibtabellen.push_back(k.tabelle);
    for (int t : schreibtabellen) {
        tabelle& w = tab_zum_schreiben(t);
        if (!w.ist_offen() || w.nur_lesbar()) throw std::runtime_error(txt::schreibgeschuetzt.text() + w.datei().string());
    }
    // One transaction per table: the variants are written, checked and then
    // kept together, or undone together.
    std::vector<std::unique_ptr<transaktion>> transaktionen;
    for (int t : schreibtabellen) transaktionen.push_back(std::make_unique<transaktion>(tab_zum_schreiben(t)));
    {
        variantenfolge folge(basis, v, muster);
        for (variante x; folge.naechste(x);) {
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
                if (!haupt_direkt.count(datei))
                    h[static_cast<std::size_t>(haupt.spalten_index(datei))] = feldwert(dateiname(x.name));
            h[static_cast<std::size_t>(haupt.spalten_index("lock"))] = feldwert(std::string("NF"));
            fuege_ein(tab_zum_schreiben(tabledata::thaupt), h);
        }
    }
    {
        variantenfolge folge(basis, v, muster);
        for (variante x; folge.naechste(x);) {
            const std::string grund = pruefe_variante(x.name);
            if (!grund.empty()) {
                // The transactions roll back as they go out of scope.
                throw std::runtime_error(grund + " (" + txt::variante.text() + x.name + "; " +
                                         txt::nichts_angelegt.text() + ")");
            }
        }
    }
    for (auto it = transaktionen.rbegin(); it != transaktionen.rend(); ++it) (*it)->bestaetigen();
    aus.flush();
}
