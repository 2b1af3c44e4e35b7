#include "input/datensatzauswahl.h"


#include <algorithm>
#include <set>

#include "data/datenbank.h"
#include "data/zahltext.h"
#include "lang/meldung.h"
#include "lang/sprache.h"
#include "lang/textglobale.h"

using namespace tabledata;

namespace {

tabelle& haupt() { return tab(thaupt); }

std::vector<std::string> spaltennamen(tabelle& t) {
    std::vector<std::string> namen;
    for (const auto& s : t.spalten()) namen.push_back(s.name);
    return namen;
}

// Walks the view from the first row; `je_zeile` sees the cursor on each row.
template <class F>
void fuer_jede_zeile(tabelle& t, F je_zeile) {
    for (t.erster(); !t.eof(); t.naechster()) je_zeile();
}

}  // namespace

int zeilenliste::spalte(const std::string& name) const {
    for (std::size_t i = 0; i < spalten.size(); ++i)
        if (gleich_ohne_gross_klein(spalten[i], name)) return static_cast<int>(i);
    return -1;
}

zeilenliste lies_zeilen(int index) {
    zeilenliste l;
    tabelle& t = tab(index);
    if (!t.ist_offen()) return l;
    l.spalten = spaltennamen(t);
    const int64_t position = t.hat_zeile() ? t.position() : -1;
    fuer_jede_zeile(t, [&] {
        std::vector<std::string> zeile;
        zeile.reserve(l.spalten.size());
        for (int c = 0; c < t.spaltenanzahl(); ++c) zeile.push_back(als_text(t.wert(c)));
        l.zeilen.push_back(std::move(zeile));
    });
    t.erster();
    for (int64_t i = 0; i < position && !t.eof(); ++i) t.naechster();
    return l;
}

bool positioniere(int index, const std::string& spalte, const std::string& wert) {
    tabelle& t = tab(index);
    if (!t.ist_offen()) return false;
    for (t.erster(); !t.eof(); t.naechster())
        if (t.text(spalte) == wert) return true;
    return false;
}

bool positioniere_nr(int index, int64_t zeile) {
    tabelle& t = tab(index);
    if (!t.ist_offen() || zeile < 0) return false;
    t.erster();
    for (int64_t i = 0; i < zeile && !t.eof(); ++i) t.naechster();
    return !t.eof() && t.hat_zeile();
}

bool speichere_feld(int index, const std::string& schluessel, const std::string& name, const std::string& spalte,
                    const std::string& wert) {
    tabelle& t = tab_zum_schreiben(index);
    if (!positioniere(index, schluessel, name)) return false;
    t.bearbeiten();
    try {
        t.setze(spalte, wert.empty() ? feldwert{} : feldwert(wert));
        t.speichern();
    } catch (...) {
        t.abbrechen();
        throw;
    }
    return true;
}

std::string kopiere_aktuelle_zeile(int index) {
    tabelle& t = tab(index);
    if (!t.ist_offen() || !t.hat_zeile()) return {};
    std::vector<feldwert> werte;
    for (int c = 0; c < t.spaltenanzahl(); ++c) werte.push_back(t.wert(c));
    if (werte.empty()) return {};
    const std::string name = kopiename(als_text(werte.front()));
    werte.front() = feldwert(name);
    t.einfuegen();
    try {
        for (int c = 0; c < t.spaltenanzahl(); ++c) t.setze(c, werte[static_cast<std::size_t>(c)]);
        t.speichern();
    } catch (...) {
        t.abbrechen();
        throw;
    }
    return name;
}

void haupt_ordnen() {
    tabelle& h = haupt();
    if (h.ist_offen()) h.sortiere_nach_index("isortieren");
}

zeilenliste lies_haupt_liste() {
    zeilenliste l;
    tabelle& h = haupt();
    if (!h.ist_offen()) return l;
    l.spalten = spaltennamen(h);
    const std::string aktuell = h.hat_zeile() ? h.text("name") : std::string();
    fuer_jede_zeile(h, [&] {
        std::vector<std::string> zeile;
        zeile.reserve(l.spalten.size());
        for (int c = 0; c < h.spaltenanzahl(); ++c) zeile.push_back(als_text(h.wert(c)));
        l.zeilen.push_back(std::move(zeile));
    });
    if (!aktuell.empty() && !positioniere_haupt(aktuell)) h.erster();
    if (aktuell.empty()) h.erster();
    return l;
}

bool positioniere_haupt(const std::string& name) {
    tabelle& h = haupt();
    if (!h.ist_offen()) return false;
    if (h.hat_zeile() && h.text("name") == name) return true;
    for (h.erster(); !h.eof(); h.naechster())
        if (h.text("name") == name) return true;
    return false;
}

void wende_suchfilter_an(const suchfelder& f) {
    tabelle& h = haupt();
    std::vector<filterbedingung> b;
    const std::pair<const char*, const std::string*> felder[] = {
        {"name", &f.name}, {"land", &f.land}, {"bezirk", &f.bezirk}, {"ort", &f.ort}, {"kundennummer", &f.kundennummer}};
    for (const auto& [spalte, text] : felder)
        if (!text->empty()) b.push_back({spalte, " LIKE ", feldwert(*text)});
    if (b.empty()) {
        h.filter_aus();
    } else {
        h.setze_filter(std::move(b));
    }
    h.erster();
}

int64_t fixierungen_loeschen() {
    const int64_t n = haupt().setze_alle("lock", feldwert(std::string("NF")), {});
    haupt().aktualisiere();
    return n;
}

int64_t nicht_fixierte_loeschen() {
    const int64_t n = haupt().loesche_wo({{"lock", "=", feldwert(std::string("NF"))}});
    haupt().aktualisiere();
    haupt().erster();
    return n;
}

void speichere_datensatz(const std::string& name, const std::vector<std::pair<std::string, std::string>>& werte) {
    tabelle& h = haupt();
    if (!positioniere_haupt(name)) return;
    h.bearbeiten();
    try {
        for (const auto& [spalte, text] : werte) h.setze(spalte, text.empty() ? feldwert{} : feldwert(text));
        h.speichern();
    } catch (...) {
        h.abbrechen();
        throw;
    }
}

void fuege_datensatz_ein(const std::vector<std::pair<std::string, std::string>>& werte) {
    tabelle& h = haupt();
    h.einfuegen();
    try {
        h.setze("lock", feldwert(std::string("NF")));
        for (const auto& [spalte, text] : werte) h.setze(spalte, text.empty() ? feldwert{} : feldwert(text));
        h.speichern();
    } catch (...) {
        h.abbrechen();
        throw;
    }
}

void loesche_datensatz(const std::string& name) {
    if (positioniere_haupt(name)) haupt().loeschen();
}

std::string kopiename(const std::string& name) {
    // The name's second-to-last character becomes '*'; characters are
    // counted as code points, so that a German umlaut is never cut in half.
    std::vector<std::size_t> anfang;
    for (std::size_t i = 0; i < name.size(); ++i)
        if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) anfang.push_back(i);
    if (anfang.size() < 2) return "*" + name;
    const std::size_t von = anfang[anfang.size() - 2], bis = anfang.back();
    return name.substr(0, von) + "*" + name.substr(bis);
}

std::vector<std::pair<std::string, std::string>> kopie_von_datensatz(const std::string& name) {
    std::vector<std::pair<std::string, std::string>> werte;
    tabelle& h = haupt();
    if (!positioniere_haupt(name)) return werte;
    for (int c = 0; c < h.spaltenanzahl(); ++c) werte.emplace_back(h.spalte(c).name, als_text(h.wert(c)));
    if (!werte.empty()) werte.front().second = kopiename(werte.front().second);
    return werte;
}

int referenztabelle(const std::string& s) {
    if (s == "kolu" || s == "kolo") return tkol;
    if (s == "wpww" || s == "wpwe") return twp;
    if (s == "spei" || s == "zwischenspei" || s == "langspei") return tspei;
    if (s == "zubehoer") return tliste;
    for (int i = tir_ta_m; i <= tlage; ++i) {
        if (i == tkol || i == twp || i == tunter || i == tspei) continue;
        if (gleich_ohne_gross_klein(tabellenschluessel(i), s)) return i;
    }
    return -1;
}

std::vector<std::string> katalognamen(int index, const std::string& arbeitsweise) {
    std::set<std::string> namen;
    tabelle& t = tab(index);
    if (!t.ist_offen()) return {};
    const std::string erste = t.schluesselspalten().empty() ? t.spalte(0).name : t.schluesselspalten().front();
    std::vector<std::string> ordnung{erste};
    const bool nach_art = !arbeitsweise.empty() && t.spalten_index("arbeitsweise") >= 0;
    if (nach_art) ordnung.push_back("arbeitsweise");
    for (const auto& zeile : t.lies_alle(ordnung)) {
        if (nach_art && als_text(zeile[1]) != arbeitsweise) continue;
        namen.insert(als_text(zeile[0]));
    }
    return {namen.begin(), namen.end()};
}

std::vector<std::string> artikelgruppen() { return katalognamen(tliste); }

std::vector<std::string> zugeordnete_gruppen(const std::string& datensatz) {
    std::vector<std::string> r;
    tabelle& t = tab(tliste2);
    if (!t.ist_offen()) return r;
    for (const auto& zeile : t.lies_alle({"name_einlesefile", "name_liste"}))
        if (als_text(zeile[0]) == datensatz) r.push_back(als_text(zeile[1]));
    return r;
}

bool gruppe_zuordnen(const std::string& datensatz, const std::string& gruppe) {
    tabelle& t = tab_zum_schreiben(tliste2);
    if (!t.ist_offen()) return false;
    const auto vorhanden = zugeordnete_gruppen(datensatz);
    if (std::find(vorhanden.begin(), vorhanden.end(), gruppe) != vorhanden.end()) {
        meldung(tgtext(tg::gruppe_zugeordnet), "M", 'M');
        return false;
    }
    t.einfuegen();
    try {
        t.setze("name_einlesefile", feldwert(datensatz));
        t.setze("name_liste", feldwert(gruppe));
        t.speichern();
    } catch (...) {
        t.abbrechen();
        throw;
    }
    return true;
}

grenzen_und_schrittweiten lies_grenzen(const std::string& rech, const std::string& kolo) {
    grenzen_und_schrittweiten g;
    tabelle& r = tab(trech);
    tabelle& k = tab(tkol);
    if (!r.ist_offen() || !k.ist_offen()) return g;
    r.filter_aus();
    r.sortiere_nach_schluessel();
    k.filter_aus();
    k.sortiere_nach_schluessel();
    const bool r_da = r.suche({feldwert(rech)});
    const bool k_da = k.suche({feldwert(kolo)});
    if (r_da) {
        g.maxa = r.text("maxa");
        g.danzflaeche = r.text("danzflaeche");
        g.anzge = r.text("anzge");
        g.anzdeltatkol = r.text("anzdeltatkol");
    }
    if (k_da) g.flaeche = k.text("flaeche");
    g.gefunden = r_da && k_da;
    return g;
}

void speichere_grenzen(const std::string& rech, const std::string& kolo, const grenzen_und_schrittweiten& g) {
    const std::pair<const char*, const std::string*> felder[] = {{"maxa", &g.maxa},
                                                                  {"danzflaeche", &g.danzflaeche},
                                                                  {"anzge", &g.anzge},
                                                                  {"anzdeltatkol", &g.anzdeltatkol},
                                                                  {"flaeche", &g.flaeche}};
    std::vector<double> zahlen;
    for (const auto& [name, text] : felder) {
        const auto z = lies_zahl(*text);
        if (!z) meldung(tgtext(tg::zahl_erwartet) + name + ": '" + *text + "'", "M", 'T');
        zahlen.push_back(*z);
    }
    tabelle& r = tab(trech);
    tabelle& k = tab(tkol);
    r.filter_aus();
    r.sortiere_nach_schluessel();
    k.filter_aus();
    k.sortiere_nach_schluessel();
    if (r.suche({feldwert(rech)})) {
        r.bearbeiten();
        try {
            for (int i = 0; i < 4; ++i) r.setze(felder[i].first, feldwert(zahlen[static_cast<std::size_t>(i)]));
            r.speichern();
        } catch (...) {
            r.abbrechen();
            throw;
        }
    }
    if (k.suche({feldwert(kolo)})) {
        k.bearbeiten();
        try {
            k.setze("flaeche", feldwert(zahlen[4]));
            k.speichern();
        } catch (...) {
            k.abbrechen();
            throw;
        }
    }
}
