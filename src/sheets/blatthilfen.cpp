#include "sheets/blatthilfen.h"

#include "data/datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

void schreibe_felder(tabelle& t, const feldliste& felder) {
    try {
        transaktion tt(t);
        t.bearbeiten();
        for (const auto& [spalte, wert] : felder) t.setze(spalte, wert);
        t.speichern();
        tt.bestaetigen();
    } catch (...) {
        t.abbrechen();
        throw;
    }
}

void fuege_zeile_ein(tabelle& t, const feldliste& felder) {
    try {
        transaktion tt(t);
        t.einfuegen();
        for (const auto& [spalte, wert] : felder) t.setze(spalte, wert);
        t.speichern();
        tt.bestaetigen();
    } catch (...) {
        t.abbrechen();
        throw;
    }
}

bool aktuelle_zeile(int index) {
    tabelle& t = tab(index);
    if (t.ist_offen() && t.hat_zeile()) return true;
    meldung(text_paar{"Fehler: Kein aktueller Datensatz in Tabelle ", "Error: no current record in table "}.text() +
                tabellenschema(index).sql_name,
            "M", 'E');
    return false;
}

bool positioniere_auf(int index, const std::string& name) {
    tabelle& t = tab(index);
    if (t.ist_offen()) {
        t.filter_aus();
        t.sortiere_nach_schluessel();
        if (t.suche({feldwert(name)})) return true;
    }
    meldung(text_paar{"Fehler: Datensatz existiert nicht in Datenbank", "Error: record does not exist in database"}
                    .text() +
                ": " + tabellenschema(index).sql_name + ", " + name,
            "M", 'E');
    return false;
}
