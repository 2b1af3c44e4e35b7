#include "results/datensatz_ausdruck.h"

#include <algorithm>

#include "data/datenbank.h"
#include "data/datensatzbezuege.h"
#include "lang/sprache.h"

using namespace tabledata;

namespace {

constexpr text_paar FEHLT{"Datensatz existiert nicht in Datenbank", "Record does not exist in database"};

// The reference columns in print order.
const std::vector<const char*>& druckreihenfolge() {
    static const std::vector<const char*> r = {"ir_ta_m", "te",   "ew_m", "eh_m",         "th",       "tw",
                                               "kolu",    "kolo", "wpwe", "wpww",         "spei",     "zwischenspei",
                                               "langspei", "ko",  "rh",   "rw",           "an",       "num",
                                               "kalk",    "sub",  "rech"};
    return r;
}

std::string text_von(const feldwert& w) { return als_text(w); }

}  // namespace

std::vector<ausdruck_eintrag> ausdruck_eintraege() {
    std::vector<ausdruck_eintrag> e;
    tabelle& haupt = tab(thaupt);
    if (!haupt.ist_offen() || !haupt.hat_zeile()) return e;
    for (const char* spalte : druckreihenfolge()) {
        for (const auto& b : datensatzbezuege()) {
            if (!gleich_ohne_gross_klein(b.spalte, spalte)) continue;
            ausdruck_eintrag x{b.spalte, b.tabelle, haupt.text(b.spalte), b.arbeitsweise};
            const bool doppelt = std::any_of(e.begin(), e.end(), [&](const ausdruck_eintrag& y) {
                return y.tabelle == x.tabelle && y.name == x.name && y.arbeitsweise == x.arbeitsweise;
            });
            if (!doppelt) e.push_back(x);
        }
    }
    return e;
}

std::vector<druckzeile> ausdruck_namen() {
    std::vector<druckzeile> z;
    tabelle& haupt = tab(thaupt);
    if (!haupt.ist_offen() || !haupt.hat_zeile()) return z;
    for (int i = 0; i < haupt.spaltenanzahl(); ++i)
        z.push_back({haupt.spalte(i).name + ":", text_von(haupt.wert(i)), 1});
    return z;
}

std::vector<druckzeile> ausdruck_werte(const std::vector<bool>& auswahl) {
    std::vector<druckzeile> z;
    const auto eintraege = ausdruck_eintraege();
    for (size_t i = 0; i < eintraege.size(); ++i) {
        if (i >= auswahl.size() || !auswahl[i]) continue;
        const ausdruck_eintrag& e = eintraege[i];
        // Read without moving the cursor of the catalogue table.
        tabelle& t = tab(e.tabelle);
        std::vector<feldwert> zeile;
        if (t.ist_offen()) {
            const int s_name = t.spalten_index(t.schluesselspalten().front());
            const int s_art = e.arbeitsweise.empty() ? -1 : t.spalten_index("arbeitsweise");
            for (auto& r : t.lies_alle(t.schluesselspalten())) {
                if (als_text(r[static_cast<size_t>(s_name)]) != e.name) continue;
                if (s_art >= 0 && als_text(r[static_cast<size_t>(s_art)]) != e.arbeitsweise) continue;
                zeile = std::move(r);
                break;
            }
        }
        if (zeile.empty()) {
            z.push_back({e.spalte + ":", e.name + " - " + FEHLT.text(), 1});
        } else {
            const int n = t.spaltenanzahl();
            for (int k = 0; k < n; ++k)
                z.push_back({t.spalte(k).name + ":", text_von(zeile[static_cast<size_t>(k)]), n - k});
        }
        z.push_back({"", "", 1});
    }
    return z;
}

std::vector<druckzeile> tabellen_druckzeilen(int index, const std::vector<std::string>& titel) {
    std::vector<druckzeile> z;
    tabelle& t = tab(index);
    if (!t.ist_offen()) return z;
    auto verbinde = [](const std::vector<std::string>& teile) {
        std::string s;
        for (size_t i = 1; i < teile.size(); ++i) s += (i > 1 ? " | " : "") + teile[i];
        return s;
    };
    std::vector<std::string> kopf;
    for (int i = 0; i < t.spaltenanzahl(); ++i)
        kopf.push_back(static_cast<size_t>(i) < titel.size() ? titel[static_cast<size_t>(i)] : t.spalte(i).name);
    z.push_back({kopf.empty() ? "" : kopf[0], verbinde(kopf), 1});
    t.abbrechen();
    const int64_t zurueck = t.position();
    for (t.erster(); !t.eof(); t.naechster()) {
        std::vector<std::string> werte;
        for (int i = 0; i < t.spaltenanzahl(); ++i) werte.push_back(text_von(t.wert(i)));
        z.push_back({werte[0], verbinde(werte), 1});
    }
    // Back to the row the sheet stood on.
    t.erster();
    for (int64_t i = 0; i < zurueck && !t.eof(); ++i) t.naechster();
    return z;
}
