#include "sheets/datensatz_kopie.h"

#include <optional>
#include <vector>

#include "data/datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar kein_datensatz{"Fehler: Kein aktueller Datensatz in Tabelle ",
                                   "Error: no current record in table "};
constexpr text_paar name_belegt{"Fehler: Datensatz mit diesem Namen existiert bereits in Tabelle ",
                                "Error: a record with this name already exists in table "};
}  // namespace txt

bool hat_zeile(tabelle& t, int index) {
    if (t.ist_offen() && t.hat_zeile()) return true;
    meldung(txt::kein_datensatz.text() + tabellenschema(index).sql_name, "M", 'E');
    return false;
}

// Rows of `t` whose column `spalte` equals `wert`, all fields.
std::vector<std::vector<feldwert>> zeilen_mit(tabelle& t, const std::string& spalte, const std::string& wert) {
    std::vector<std::vector<feldwert>> r;
    const int s = t.spalten_index(spalte);
    if (s < 0) return r;
    for (auto& z : t.lies_alle(t.schluesselspalten()))
        if (als_text(z[static_cast<size_t>(s)]) == wert) r.push_back(std::move(z));
    return r;
}

void fuege_ein(tabelle& t, const std::vector<feldwert>& werte) {
    t.einfuegen();
    for (int i = 0; i < t.spaltenanzahl() && i < static_cast<int>(werte.size()); ++i)
        t.setze(i, werte[static_cast<size_t>(i)]);
    t.speichern();
}

}  // namespace

bool datensatz_kopieren(int index) {
    tabelle& t = tab(index);
    if (!hat_zeile(t, index)) return false;
    t.abbrechen();
    std::vector<feldwert> werte;
    for (int i = 0; i < t.spaltenanzahl(); ++i) werte.push_back(t.wert(i));
    t.einfuegen();
    for (int i = 0; i < t.spaltenanzahl(); ++i) t.setze(i, werte[static_cast<size_t>(i)]);
    t.setze(0, feldwert(kopiename(als_text(werte[0]))));
    // A new site data set has not been computed: it starts not fixed.
    if (index == thaupt) t.setze("lock", feldwert(std::string("NF")));
    return true;
}

bool kopiere_datensatz_mit_bezuegen(int index, const std::string& neuer_name) {
    tabelle& t = tab(index);
    if (!hat_zeile(t, index)) return false;
    t.abbrechen();
    std::vector<feldwert> werte;
    for (int i = 0; i < t.spaltenanzahl(); ++i) werte.push_back(t.wert(i));
    const std::string alt = als_text(werte[0]);
    const std::string neu = neuer_name.empty() ? kopiename(alt) : neuer_name;
    werte[0] = feldwert(neu);
    if (index == thaupt) werte[static_cast<size_t>(t.spalten_index("lock"))] = feldwert(std::string("NF"));

    // The name must be free under the rest of the key.
    std::vector<feldwert> schluessel;
    for (const auto& k : t.schluesselspalten()) schluessel.push_back(werte[static_cast<size_t>(t.spalten_index(k))]);
    const auto ordnung = t.sortierspalten();
    t.sortiere_nach_schluessel();
    const bool belegt = t.suche(schluessel);
    t.sortiere_nach_spalten(ordnung);
    if (belegt) {
        meldung(txt::name_belegt.text() + t.sql_name() + ": " + neu, "M", 'E');
        return false;
    }

    // Belonging rows first, in a transaction that is committed only once the
    // copied row itself is written.
    int begleiter = -1;
    const char* spalte = nullptr;
    if (index == tir_ta_m) {
        begleiter = tir_ta_d;
        spalte = "name";
    } else if (index == thaupt) {
        begleiter = tliste2;
        spalte = "name_einlesefile";
    }
    std::optional<transaktion> tb;
    if (begleiter >= 0 && tab(begleiter).ist_offen()) {
        tabelle& b = tab(begleiter);
        auto zeilen = zeilen_mit(b, spalte, alt);
        // Without copying onto rows a former copy left behind.
        tb.emplace(b);
        b.loesche_wo({{spalte, "=", feldwert(neu)}});
        const int s = b.spalten_index(spalte);
        for (auto& z : zeilen) {
            z[static_cast<size_t>(s)] = feldwert(neu);
            fuege_ein(b, z);
        }
    }
    try {
        transaktion tt(t);
        fuege_ein(t, werte);
        tt.bestaetigen();
    } catch (...) {
        t.abbrechen();
        throw;
    }
    if (tb) tb->bestaetigen();
    t.sortiere_nach_schluessel();
    t.suche(schluessel);
    t.sortiere_nach_spalten(ordnung);
    return true;
}
