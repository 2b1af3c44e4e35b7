#include "data/stammdaten.h"

#include <string>
#include <utility>
#include <vector>

#include "data/datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

using namespace tabledata;

namespace {

void melde_fehlend(const std::string& spalte, const std::string& modus, const std::string& zusatz = {}) {
    meldung(text_paar{"Fehler: Datensatz existiert nicht in Datenbank",
                      "Error: record does not exist in database"}
                    .text() +
                ": " + spalte + zusatz,
            modus, 'E');
}

// Looks a row up by its key values (in key order, without a filter left
// from a search); reports a miss.
bool positioniere(int index, std::vector<feldwert> werte, const std::string& spalte,
                  const std::string& modus) {
    tabelle& t = tab(index);
    if (t.ist_offen()) {
        t.filter_aus();
        if (t.sortierspalten() != t.schluesselspalten()) t.sortiere_nach_schluessel();
    }
    if (!t.ist_offen()) {
        // The table file is missing, empty or foreign: say so, the row alone
        // would not tell why.
        melde_fehlend(spalte, modus,
                      text_paar{" (Tabelle nicht geöffnet: ", " (table not open: "}.text() +
                          datenbanken()[static_cast<size_t>(index)].datei.string() + ")");
        return false;
    }
    if (!t.suche(werte)) {
        melde_fehlend(spalte, modus);
        return false;
    }
    return true;
}

}  // namespace

bool SetAllMasters(const std::string& modus) {
    tabelle& haupt = tab(thaupt);
    loese_alle_master();
    if (!haupt.hat_zeile()) {
        melde_fehlend("haupt", modus);
        return false;
    }
    bool alle = true;
    // Registry entries 4..30 are named by the haupt column of their key;
    // collectors, heat pumps and maintenance items are reached otherwise.
    for (int i = tir_ta_m; i <= tlage; ++i) {
        if (i == tkol || i == twp || i == tunter) continue;
        const std::string& schluessel = tabellenschluessel(i);
        const int spalte = haupt.spalten_index(schluessel);
        if (spalte < 0) {
            melde_fehlend(schluessel, modus);
            alle = false;
            continue;
        }
        alle &= positioniere(i, {feldwert(haupt.text(schluessel))}, haupt.spalte(spalte).name, modus);
    }
    for (const char* s : {"kolu", "kolo"}) alle &= positioniere(tkol, {feldwert(haupt.text(s))}, s, modus);
    for (const auto& [s, art] : {std::pair{"wpww", "ww"}, std::pair{"wpwe", "we"}})
        alle &= positioniere(twp, {feldwert(haupt.text(s)), feldwert(std::string(art))}, s, modus);
    for (const char* s : {"zwischenspei", "langspei"})
        alle &= positioniere(tspei, {feldwert(haupt.text(s))}, s, modus);
    // Leave the tables with two references on their main row.
    if (tab(tkol).ist_offen()) tab(tkol).suche({feldwert(haupt.text("kolo"))});
    if (tab(twp).ist_offen()) tab(twp).suche({feldwert(haupt.text("wpwe")), feldwert(std::string("we"))});
    if (tab(tspei).ist_offen()) tab(tspei).suche({feldwert(haupt.text("spei"))});

    // Detail tables: the series of their monthly record.
    auto verknuepfe = [](int detail, const std::string& spalte, const std::string& wert) {
        if (!tab(detail).ist_offen()) return;
        tab(detail).setze_filter({{spalte, "=", feldwert(wert)}});
        tab(detail).erster();
    };
    if (tab(tir_ta_m).ist_offen() && tab(tir_ta_m).hat_zeile())
        verknuepfe(tir_ta_d, "name", tab(tir_ta_m).text("name"));
    if (tab(teh_m).ist_offen() && tab(teh_m).hat_zeile())
        verknuepfe(teh_d, "name", tab(teh_m).text("name_d"));
    if (tab(tew_m).ist_offen() && tab(tew_m).hat_zeile())
        verknuepfe(tew_d, "name", tab(tew_m).text("name_d"));
    verknuepfe(tliste2, "name_einlesefile", haupt.text("name"));

    // The result index on the data set's optimisation result.
    tabelle& result = tab(tres);
    if (result.ist_offen()) {
        result.sortiere_nach_index("isortieren");
        result.suche_naechsten({feldwert(haupt.text("ausgabefile") + ".dat"), feldwert(haupt.text("land")),
                                feldwert(haupt.text("bezirk")), feldwert(haupt.text("ort")),
                                feldwert(haupt.text("kundennummer"))});
    }
    return alle;
}

void loese_alle_master() {
    for (int i : {tir_ta_d, teh_d, tew_d, tliste2})
        if (tab(i).ist_offen()) tab(i).filter_aus();
}
