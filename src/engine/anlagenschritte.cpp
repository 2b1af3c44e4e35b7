#include "engine/anlagenschritte.h"

#include "engine/monatsaggregation.h"
#include "engine/models/laufkontext.h"
#include "engine/models/reservoir.h"
#include "engine/models/speicher.h"
#include "engine/models/waermetauscher.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

namespace {

[[noreturn]] void zeitschritt_nicht_verfuegbar(const flagchar& numchar) {
    const bool englisch = sprache() == SPRACHE_ENGLISCH;
    meldung(englisch ? "Error: calculation method \"" + numchar[ndata::rechenart] +
                           "\" (time-step method) is not available in this version; please choose "
                           "calculation method \"A\" (analytic)."
                     : "Fehler: Rechenart \"" + numchar[ndata::rechenart] +
                           "\" (Zeitschrittverfahren) ist in dieser Version nicht verfügbar; bitte Rechenart "
                           "\"A\" (Analytisch) wählen.",
            numchar[ndata::meldungsmodus], 'T');
    throw abbruch();
}

}  // namespace

bool nutzt_nachtluft(const flagchar& numchar) {
    return numchar[ndata::luftwaermetauscher] == "L" || numchar[ndata::kopplungsart] == "L" ||
           numchar[ndata::kopplungsart] == "F" || numchar[ndata::kopplungsart] == "E";
}

void anlagenschritte::setze_anlage_speicher_zurueck(anlage& a, double A, double T) {
    ::setze_anlage_speicher_zurueck(a, A, T);
}

void anlagenschritte::monatsinitialisierung(periodenkontext& k, int m) {
    anlage& a0 = zustand::anlage(0);
    speicher_monatsanfang(a0, m, zustand::monatstart(), k.A, k.vdatz, k.numchar, k.monatsergebnisse,
                          zustand::datm_allgemein());
    if (nutzt_nachtluft(k.numchar)) {
        laufkontext lk = laufkontext_aus_zustand(k.monatsergebnisse);
        nachtenergie_luft(lk, m, k.A, lk.delta_t(k.variantenzaehler));
    }
}

void anlagenschritte::analytischer_monatsschritt(periodenkontext& k, int m) {
    const flagchar numchar = k.numchar;  // the step works on a copy
    laufkontext lk = laufkontext_aus_zustand(k.monatsergebnisse);
    if (numchar[ndata::kopplungstyp] == "Z") zwischenreservoir_monat(lk, m, k.A);
    if (numchar[ndata::kopplungstyp] == "E") endreservoir_monat(lk, m, k.A);
    monatsabschluss(numchar, k.datm_variante, k.vdatz, 1, m, k.A, zustand::anlage(0), k.vdatt,
                    k.d3, k.monatsergebnisse, k.pvdatz3);
    intervalle_zu_monat(k.monatsergebnisse, k.d3, k.vdatz, m, k.A, k.pvdatz3);
    const double ek = k.monatsergebnisse.ek[m];
    k.aktuell = ek;
    k.bester = ek;
    ::monatssummen(numchar, k.vdatz, k.monatsergebnisse, k.pvdatz3, k.vdatt, k.d3, ek, k.ziel[m],
                   k.aktuell, k.bester, k.datm_variante, m, k.A);
}

void anlagenschritte::zeitschritt_monat(periodenkontext& k, int&) {
    zeitschritt_nicht_verfuegbar(k.numchar);
}

void anlagenschritte::jahreskern(periodenkontext& k, int, int, int, double&, double&) {
    zeitschritt_nicht_verfuegbar(k.numchar);
}

void anlagenschritte::monatssummen(periodenkontext& k, int m, double monatswert) {
    ::monatssummen(k.numchar, k.vdatz, k.monatsergebnisse, k.pvdatz3, k.vdatt, k.d3, monatswert,
                   k.ziel[m], k.aktuell, k.bester, k.datm_variante, m, k.A);
}

void anlagenschritte::beste_variante_behalten(periodenkontext& k, double) {
    zeitschritt_nicht_verfuegbar(k.numchar);
}

void anlagenschritte::steuerlauf_startpunkt(bool, int&, int&) {
    // The start point of a control run comes from the station window or the
    // clock; the run's window adapter answers it.
}
