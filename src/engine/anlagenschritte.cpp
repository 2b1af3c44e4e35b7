#include "engine/anlagenschritte.h"

#include "engine/laufvorbereitung.h"
#include "engine/monatsaggregation.h"
#include "engine/models/laufkontext.h"
#include "engine/models/reservoir.h"
#include "engine/models/speicher.h"
#include "engine/models/waermetauscher.h"

bool nutzt_nachtluft(const flagchar& numchar) {
    return numchar[ndata::luftwaermetauscher] == "L" || numchar[ndata::kopplungsart] == "L" ||
           numchar[ndata::kopplungsart] == "F" || numchar[ndata::kopplungsart] == "E";
}

void anlagenschritte::setze_anlage_speicher_zurueck(anlage& a, double A, double T) {
    ::setze_anlage_speicher_zurueck(a, A, T);
}

void anlagenschritte::monatsinitialisierung(periodenkontext& k, int m) {
    anlage& a0 = zustand::anlage(0);
    // A year run continues each month from the variant's own previous month.
    speicher_monatsanfang(a0, m, zustand::monatstart(), k.A, k.vdatz, k.numchar, k.monatsergebnisse,
                          k.datm_variante);
    if (nutzt_nachtluft(k.numchar)) {
        laufkontext lk = laufkontext_aus_zustand(k.monatsergebnisse);
        nachtenergie_luft(lk, m, k.A, lk.delta_t(k.variantenzaehler));
    }
}

void anlagenschritte::analytischer_monatsschritt(periodenkontext& k, int m) {
    const flagchar numchar = k.numchar;  // the step works on a copy
    // Without space heating from the plant the balance adds the heating share
    // to each interval's demand: every pass over the month (each tilt and
    // power step) starts from the month's own interval demand again.
    if (numchar[ndata::heizung] == "N") {
        intervallbedarf_monat(numchar, k.vdatz, k.pvdatz3, k.d3, m, false);
    }
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

void anlagenschritte::zeitschritt_monat(periodenkontext& k, int& m) {
    ::zeitschritt_monat(k, m, kerne_);
}

void anlagenschritte::jahreskern(periodenkontext& k, int m, int g, int, double& monatswert,
                                 double& ge_wert) {
    // The year run calls the kernels directly on plant 0; the variant is the
    // period's variant counter.
    kernergebnis e;
    if (k.numchar[ndata::rechenart] == "V") {
        e = kerne_.geschwindigkeitskern(k, m, g, zustand::anlage(0));
    } else {
        int monat = m;
        e = kerne_.intervallkern(k, monat, g);
    }
    monatswert = e.monatswert;
    ge_wert = e.geschwindigkeit;
    // The variant's stores at the end of the month start its next month and
    // are the reference of that month's store balance.
    const ::date& d = k.monatsergebnisse;
    kopiere_anlage_speicher(d.arrayspeicher_mon[m], k.datm_variante.arrayspeicher_mon[m], 'N');
    k.datm_variante.feldns_puffer[m] = d.e_next_puffer[m];
    k.datm_variante.feldns_lang[m] = d.e_next_lang[m];
}

void anlagenschritte::monatssummen(periodenkontext& k, int m, double monatswert) {
    ::monatssummen(k.numchar, k.vdatz, k.monatsergebnisse, k.pvdatz3, k.vdatt, k.d3, monatswert,
                   k.ziel[m], k.aktuell, k.bester, k.datm_variante, m, k.A);
}

void anlagenschritte::beste_variante_behalten(periodenkontext&, double) {
    // The monthly totals of the year run have kept the best variant already.
}

void anlagenschritte::steuerlauf_startpunkt(bool, int&, int&) {
    // The start point of a control run comes from the station window or the
    // clock; the run's window adapter answers it.
}
