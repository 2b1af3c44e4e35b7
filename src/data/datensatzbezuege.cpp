#include "data/datensatzbezuege.h"

#include "data/datenbank.h"

using namespace tabledata;

const std::vector<datensatzbezug>& datensatzbezuege() {
    static const std::vector<datensatzbezug> b = [] {
        std::vector<datensatzbezug> v;
        const tabellen_def& haupt = tabellenschema(thaupt);
        for (int i = tir_ta_m; i <= tlage; ++i) {
            if (i == tkol || i == twp || i == tunter) continue;
            for (const auto& s : haupt.spalten)
                if (gleich_ohne_gross_klein(s.name, tabellenschluessel(i))) v.push_back({s.name, i, ""});
        }
        v.push_back({"kolu", tkol, ""});
        v.push_back({"kolo", tkol, ""});
        v.push_back({"wpww", twp, "ww"});
        v.push_back({"wpwe", twp, "we"});
        v.push_back({"zwischenspei", tspei, ""});
        v.push_back({"langspei", tspei, ""});
        return v;
    }();
    return b;
}

std::vector<verweis> verweisende_datensaetze(int index, const std::vector<std::string>& schluessel) {
    std::vector<verweis> ergebnis;
    if (schluessel.empty()) return ergebnis;
    std::vector<const datensatzbezug*> spalten;
    for (const auto& b : datensatzbezuege()) {
        if (b.tabelle != index) continue;
        // A heat pump is named by name and working kind together.
        if (!b.arbeitsweise.empty() && (schluessel.size() < 2 || schluessel[1] != b.arbeitsweise)) continue;
        spalten.push_back(&b);
    }
    if (spalten.empty()) return ergebnis;
    tabelle& haupt = tab(thaupt);
    if (!haupt.ist_offen()) return ergebnis;
    const int s_name = haupt.spalten_index("name");
    std::vector<int> idx;
    for (const auto* b : spalten) idx.push_back(haupt.spalten_index(b->spalte));
    for (const auto& zeile : haupt.lies_alle({"name"})) {
        for (size_t k = 0; k < spalten.size(); ++k) {
            if (idx[k] < 0) continue;
            if (als_text(zeile[static_cast<size_t>(idx[k])]) == schluessel[0])
                ergebnis.push_back({als_text(zeile[static_cast<size_t>(s_name)]), spalten[k]->spalte});
        }
    }
    return ergebnis;
}

std::string verweisliste(const std::vector<verweis>& v) {
    std::string s;
    for (const auto& x : v) s += (s.empty() ? "" : ", ") + x.datensatz + " (" + x.spalte + ")";
    return s;
}
