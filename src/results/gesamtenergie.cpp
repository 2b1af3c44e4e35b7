#include "results/gesamtenergie.h"

#include "data/datenbank.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

using namespace tabledata;

namespace {

namespace txt {
constexpr text_paar kein_datensatz{"Fehler: Kein aktueller Datensatz in Tabelle eh_m",
                                   "Error: no current record in table eh_m"};
constexpr text_paar flaeche{"Fehler: Die beheizte Fläche muss größer als 0 sein",
                            "Error: the heated area must be greater than 0"};
}  // namespace txt

bool aktuell() {
    tabelle& t = tab(teh_m);
    if (t.ist_offen() && t.hat_zeile()) return true;
    meldung(txt::kein_datensatz.text(), "M", 'E');
    return false;
}

double monatssumme(tabelle& t) {
    const int januar = t.spalten_index("januar");
    double s = 0.0;
    if (januar < 0) return s;
    // Month values and their detail counts alternate: januar, m1, februar, ...
    for (int m = 0; m < 12; ++m)
        if (januar + 2 * m < t.spaltenanzahl()) s += als_zahl(t.wert(januar + 2 * m));
    return s;
}

void schreibe(tabelle& t, const std::vector<std::pair<const char*, double>>& felder) {
    try {
        transaktion tt(t);
        t.bearbeiten();
        for (const auto& [s, w] : felder) t.setze(s, w);
        t.speichern();
        tt.bestaetigen();
    } catch (...) {
        t.abbrechen();
        throw;
    }
}

}  // namespace

bool gesamtenergie_knopf() {
    if (!aktuell()) return false;
    tabelle& t = tab(teh_m);
    t.abbrechen();
    if (t.text("rel") != "A") return true;
    schreibe(t, {{"gesamt", monatssumme(t)}});
    return false;
}

gesamtenergie_anzeige gesamtenergie_oeffnen() {
    gesamtenergie_anzeige a;
    if (!aktuell()) return a;
    tabelle& t = tab(teh_m);
    a.monatssumme = monatssumme(t);
    a.gesamt = t.zahl("gesamt");
    a.flaeche = t.zahl("flaeche");
    a.energiepqm = t.zahl("energiepqm");
    a.einheit_flaeche = t.text("einflaeche");
    tabelle& h = tab(theizwert);
    if (h.ist_offen()) {
        h.filter_aus();
        h.sortiere_nach_index("iEinheitBrennstoff");
        h.suche_naechsten({feldwert(t.text("einheit"))});
        if (h.hat_zeile()) {
            a.einheit_brennstoff = h.text("einheitbrennstoff");
            a.brennwert = h.zahl("brennwert");
        }
    }
    return a;
}

gesamtenergie_ergebnis gesamtenergie_rechnen(double flaeche, double verbrauch_pro_flaeche, double brennwert) {
    gesamtenergie_ergebnis e;
    e.verbrauch = flaeche * verbrauch_pro_flaeche;
    e.gesamt = e.verbrauch * brennwert;
    return e;
}

bool gesamtenergie_uebernehmen(double gesamt, double flaeche) {
    if (!aktuell()) return false;
    if (!(flaeche > 0.0)) {
        meldung(txt::flaeche.text(), "M", 'E');
        return false;
    }
    schreibe(tab(teh_m), {{"gesamt", gesamt}, {"flaeche", flaeche}, {"energiepqm", gesamt / flaeche}});
    return true;
}
