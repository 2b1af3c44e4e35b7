#include "engine/zeitschritt.h"

#include <algorithm>

#include "engine/entscheidungsspur.h"
#include "engine/heizbilanz.h"
#include "engine/intervallkern.h"
#include "engine/laufvorbereitung.h"
#include "engine/models/druckabfall.h"
#include "engine/models/kollektor.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "engine/models/reservoir.h"
#include "engine/models/speicher.h"
#include "engine/models/waermepumpe.h"
#include "engine/temperaturkern.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

// ---------------------------------------------------------------------------
// Kernel dispatch
// ---------------------------------------------------------------------------
kernergebnis monatskerne::geschwindigkeitskern(periodenkontext& k, int m, int i, anlage& arbeit) {
    return ::geschwindigkeitskern(k, m, i, arbeit, k.variantenzaehler);
}

kernergebnis monatskerne::temperaturkern(periodenkontext& k, int m, anlage& arbeit) {
    return ::temperaturkern(k, m, arbeit);
}

kernergebnis monatskerne::intervallkern(periodenkontext& k, int& m, int i) {
    return ::intervallkern(k, m, i, steuerung());
}

monatskerne& standard_monatskerne() {
    static monatskerne kerne;
    return kerne;
}

namespace {

[[noreturn]] void steuerlauf_temperatur_nicht_verfuegbar(const flagchar& numchar) {
    meldung(text_paar{"Fehler: Ein Kontrolllauf mit Rechenart \"T\" ist in dieser Version nicht "
                      "verfügbar; der Kontrolllauf braucht den Intervallkern.",
                      "Error: a control run with calculation method \"T\" is not available in "
                      "this version; the control run needs the interval kernel."}
                .text(),
            numchar[ndata::meldungsmodus], 'T');
    throw abbruch();
}

// Directly coupled plants: with a negative smallest collector temperature
// difference the month starts from the first interval's source temperature
// ta + mindeltatkol, evaluated at night (no irradiation, the month's night hours).
void quelltemperatur_monatsstart(periodenkontext& k, int m) {
    if (!ist_direktkopplung(k.numchar) || intervalle(m) < 1) return;
    const laufsteuerung& l = zustand::lauf();
    laufkontext lk = laufkontext_aus_zustand(k.monatsergebnisse);
    kaeltemittel_vorgaben v;
    v.t_ein = k.pvdatz3[zdata::ta][m][1] + l.mindeltatkol;
    v.schritt = 1;
    v.einstrahlung = 0.0;
    v.faktor_c = k.vdatz[zdata::gdn][m];
    kaeltemittel_intervall(m, 1, k.A, v, zustand::anlage(0), k.numchar, k.vdatt, k.vdatz, k.pvdatz3,
                           k.d3, lk);
}

}  // namespace

// ---------------------------------------------------------------------------
// zeitschritt_monat
// ---------------------------------------------------------------------------
void zeitschritt_monat(periodenkontext& k, int& m, monatskerne& kerne) {
    flagchar& nc = k.numchar;
    const std::string& art = nc[ndata::rechenart];
    const bool zeitschritt = ist_zeitschrittverfahren(nc);
    const bool direkt = ist_direktkopplung(nc);

    // Single-step rule: the analytic method and the interval-wise methods
    // outside month mode compute one `ge` step.
    int anzahl = k.ge.anzahl;
    int erster = k.ge.erster;
    if (art == "A" || (zeitschritt && nc[ndata::zeitraum] != "M")) anzahl = erster = 1;
    // The temperature kernel searches the `ge` steps of every interval itself
    // and does not read the month's step: every month step would compute the
    // same month, so the month is computed once.
    if (art == "T") erster = anzahl;
    // A single simulation walks the range as an optimisation does: the `ge`
    // range is the collector pump's control (the flow of each month or
    // interval), and computing only its largest step ran every plant at the
    // highest flow all year.

    if (zeitschritt && art == "T" && nc[ndata::kontrolllauf] == "J") {
        steuerlauf_temperatur_nicht_verfuegbar(nc);
    }

    // The velocity and temperature kernels work on plant 1, a copy of the
    // month's start in plant 0. The interval kernel computes on plant 0
    // itself: plant 1 keeps the month's start stores, and every further step
    // starts from them again rather than from the previous step's month end.
    const bool intervallkern = zeitschritt && art != "T";
    bool start_gesichert = false;
    auto rechne_schritt = [&](int i) {
        anlage& a0 = zustand::anlage(0);
        anlage& a1 = zustand::anlage(1);
        if (intervallkern && start_gesichert) {
            kopiere_anlage_speicher(a1, a0, 'N');
        } else {
            kopiere_anlage_speicher(a0, a1, 'N');
            start_gesichert = true;
        }
        if (zustand::lauf().mindeltatkol < 0.0 && k.A > 0.0) quelltemperatur_monatsstart(k, m);
        anlage& arbeit = intervallkern ? a0 : a1;
        monatsbeginn(arbeit, k.monatsergebnisse, m);
        if (!zeitschritt) return kerne.geschwindigkeitskern(k, m, i, arbeit);
        if (art == "T") return kerne.temperaturkern(k, m, arbeit);
        return kerne.intervallkern(k, m, i);
    };

    ::date& d = k.monatsergebnisse;
    bool erster_schritt = true;
    double wert_erster = 0.0;  // month value of the first `ge` step of the month
    double behalten = 0.0;     // best month value kept so far
    int schritt_im_ergebnis = 0;  // `ge` step whose month the variant result holds
    int zuletzt = 0;              // `ge` step computed last
    entscheidungsspur* spur = k.spur_fuer(m);
    for (int i = anzahl; i >= erster && nc[ndata::stopp] == "N"; --i) {
        const kernergebnis e = rechne_schritt(i);
        zuletzt = i;
        if (spur) spur->monatsschritt(m, i, e.monatswert);
        if (erster_schritt) wert_erster = e.monatswert;

        // Monthly totals: the first step is taken as it is, a later one when
        // it is not worse than the best so far.
        k.aktuell = e.monatswert;
        if (erster_schritt) k.bester = k.aktuell;
        ::monatssummen(nc, k.vdatz, d, k.pvdatz3, k.vdatt, k.d3, wert_erster, k.ziel[m], k.aktuell,
                       k.bester, k.datm_variante, m, k.A);
        if (k.bester == k.aktuell) schritt_im_ergebnis = i;

        double y = e.monatswert;
        if (!direkt) {
            // Keep the best step: the first one, then every step not worse.
            if (erster_schritt || e.monatswert <= behalten) {
                behalten = e.monatswert;
                intervalle_zu_monat(d, k.d3, k.vdatz, m, k.A, k.pvdatz3);
            }
            y = behalten;
        } else {
            intervalle_zu_monat(d, k.d3, k.vdatz, m, k.A, k.pvdatz3);
        }
        // Step chart of the month.
        if (k.A > 0.0 && nc[ndata::zeitraum] == "M" && nc[ndata::meldungsmodus] == "M" &&
            k.schritte != nullptr) {
            double x = direkt ? d.tein[m] : d.vel[m];
            if (!direkt && art == "V") x *= ge_skalierung();
            k.schritte->schrittpunkt(m, i, x, y);
        }
        erster_schritt = false;
    }

    // The month ends in the state of the step the variant result holds: its
    // stores start the next month. When a later step was computed after it,
    // that step is computed once more.
    if (schritt_im_ergebnis != 0 && schritt_im_ergebnis != zuletzt && nc[ndata::stopp] == "N") {
        rechne_schritt(schritt_im_ergebnis);
        intervalle_zu_monat(d, k.d3, k.vdatz, m, k.A, k.pvdatz3);
    }
    // The velocity kernel computes the whole month with one `ge` step: every
    // interval keeps the month's step.
    if (spur && !zeitschritt && zuletzt != 0) {
        const int g = schritt_im_ergebnis != 0 ? schritt_im_ergebnis : zuletzt;
        for (int s = 1; s <= intervalle(m); ++s) spur->gewaehlt(m, s, g, k.variantenzaehler);
    }
}

// ---------------------------------------------------------------------------
// Shared kernel operations
// ---------------------------------------------------------------------------
kernlauf::kernlauf(periodenkontext& k_, int m_, anlage& arbeit_)
    : k(k_),
      m(m_),
      arbeit(arbeit_),
      anlage0(zustand::anlage(0)),
      lk(laufkontext_aus_zustand(k_.monatsergebnisse)),
      direkt(ist_direktkopplung(k_.numchar)) {}

void kern_monatsstart(kernlauf& r) {
    // The collector part of every interval is done in one pass, so the
    // coupling energy is booked at once.
    r.k.numchar[ndata::kollektorschritt_fertig] = "J";
    r.k.monatsergebnisse.vel[r.m] = 0.0;
    monatsstart_summen(r.arbeit, r.m, r.k.monatsergebnisse, r.k.d3, r.summen);
    // Without space heating from the plant the balance adds each interval's
    // share of the heating demand to the interval's demand: every pass over
    // the month starts from the month's own interval demand again.
    if (r.k.numchar[ndata::heizung] == "N") {
        intervallbedarf_monat(r.k.numchar, r.k.vdatz, r.k.pvdatz3, r.k.d3, r.m, false);
    }
    r.kopplung_monat = 0.0;
}

double kern_intervallstart(kernlauf& r, int s) {
    const auto zellen = intervall_zuruecksetzen(r.m, s, r.k.numchar, r.k.A, r.k.d3, r.k.pvdatz3);
    return zellen[1];
}

void kern_intervallende(kernlauf& r, int s, double P, double Q, double x) {
    periodenkontext& k = r.k;
    const int m = r.m;
    kopplung_intervall(r.lk, m, s, P, r.kopplung_monat);
    if (k.d3.vel[m][s] == 0.0) Q = 0.0;  // the coupling switched the loop off
    intervallbilanz b(k.numchar, m, s, r.arbeit, k.monatsergebnisse, k.d3, k.pvdatz3, k.vdatz,
                      k.vdatt, k.A, r.lk.stoffe.kaeltemittel_record);
    energiebilanz_intervall(b, r.summen);
    pumpe_und_ventilator_intervall(Q, m, s, k.A, r.anlage0, k.numchar, k.vdatt, k.d3);
    speicherbedarf_virtuell(b, x);
    leistungen_intervall(m, s, k.A, k.numchar, k.vdatt, k.pvdatz3, k.d3);
}

double kern_monatsende(kernlauf& r, bool speicher_abschliessen) {
    periodenkontext& k = r.k;
    const flagchar& nc = k.numchar;
    const int m = r.m;
    ::date& d = k.monatsergebnisse;
    // The stores lose heat over the nights of the month, unless the month's
    // intervals include the night hours (hourly values): their losses are
    // booked interval by interval already.
    const int tage = tage_im_monat(m, nc);
    double stunden = 0.0;
    for (int s = 1; s <= intervalle(m); ++s) stunden += k.pvdatz3[zdata::ho][m][s];
    if (speicher_abschliessen && nc[ndata::strahlungsherkunft] == "D" && stunden < 24.0 * tage - 0.5) {
        speicher_nachtverluste(r.arbeit, m, k.vdatz, nc, tage);
    }
    kopiere_anlage_speicher(r.arbeit, d.arrayspeicher_mon[m], 'N');
    if (speicher_abschliessen) {
        speicher_monatsende(r.arbeit, m, zustand::monatstart(), d, k.vdatz, 1, nc, k.datm_variante);
    }

    // Stored-energy shortfall of a month that both charges and draws on the
    // long-term store: what the store could not give is booked as virtual
    // heating of the we pump.
    if (tv().lade_flag[m] == "Y" && tv().entnehme_flag[m] == "Y" &&
        k.vdatz[zdata::ewv][m] > d.eg[m]) {
        double copwe = d.copwe[m];
        if (copwe <= 0.0) {
            meldung("Warnung: COPWE = 0 oder negativ. Wird gleich eins gesetzt.",
                    nc[ndata::meldungsmodus], 'A');
            copwe = 1.0;
        }
        d.ok_virtuell[m] += (k.vdatz[zdata::ewv][m] - d.eg[m]) / copwe;
    }

    if (kollektorkreis_laeuft(k.A, nc)) {
        pumpenenergie_monat(m, k.A, r.anlage0, nc, k.vdatt, d, k.d3);
    } else {
        d.elp[m] = 0.0;
    }
    return heizung_monatsbilanz(nc, k.vdatt, m, d);
}

double intervallwert(const flagchar& numchar, const datt& vdatt, int m, int s, const ::date3& d3,
                     ::date& h) {
    h.nh[m] = d3.nh[m][s];
    h.ok[m] = d3.ok[m][s];
    h.nh_virtuell[m] = d3.nh_virtuell[m][s];
    h.ok_virtuell[m] = d3.ok_virtuell[m][s];
    h.elp[m] = d3.elp[m][s];
    h.elp_l[m] = d3.elp_l[m][s];
    h.ereif[m] = d3.ereif[m][s];
    return heizung_monatsbilanz(numchar, vdatt, m, h);
}

// ---------------------------------------------------------------------------
// Velocity kernel
// ---------------------------------------------------------------------------
kernergebnis geschwindigkeitskern(periodenkontext& k, int m, int i, anlage& arbeit, int variante) {
    kernlauf r(k, m, arbeit);
    flagchar& nc = k.numchar;
    datt& v = k.vdatt;
    datz3& p = k.pvdatz3;
    ::date3& d3 = k.d3;
    ::date& d = k.monatsergebnisse;
    const double A = k.A;
    const bool zwischen_wt = zwischenwaermetauscher_aktiv(nc, v);
    const bool analytische_ww = nc[ndata::modelltyp_ww] == "A";
    const bool zwischenkopplung = nc[ndata::kopplungstyp] == "Z";

    kern_monatsstart(r);
    entscheidungsspur* spur = k.spur_fuer(m);
    const int n = intervalle(m);
    for (int s = 1; s <= n; ++s) {
        const double x = kern_intervallstart(r, s);
        // Flow of the month's `ge` step.
        d3.vel[m][s] = durchfluss_zeitschritt(m, s, i, k.ge.minge, k.ge.logschritt, A, nc, v, p, d3,
                                              nullptr);
        const double fluss = d3.vel[m][s];
        d.vel[m] += d3.vel[m][s];
        d3.mcg[m][s] = waermekapazitaetsstrom(m, s, A, v, d3);
        v[tdata::zehn_durch_g] = zehn_durch(p[zdata::is0][m][s]);
        v[tdata::waermekapazitaetsstrom] =
            produkt3(fluss, v[tdata::kollektorfluid_dichte], v[tdata::kollektorfluid_cpf]);
        feldkennwerte_intervall(r.lk, m, s, x);

        double summe = 0.0;  // collector energy of the interval
        if (d3.wpausflag[s] == u'N') {
            const double grenze = kollektor_startwerte_intervall(r.lk, m, s, A, fluss, 0.0, variante);
            d3.tein[m][s] = p[zdata::tein][m][s];
            // A ww pump that cannot lift (COP at or below 1; the models floor it at 1)
            // stays off instead of heating the house electrically at COP 1.
            if (d3.copww[m][s] <= 1.0 && zwischenkopplung) d3.wpausflag[s] = u'J';
            if (d3.wpausflag[s] == u'N') {
                // Outflow at its limit: the interval keeps the first flow that
                // reached it. Behind an intermediate exchanger the collector's own
                // outflow tf_s decides: tf is the heat pump's source side.
                const double auslauf = zwischen_wt ? std::max(d3.tf[m][s], d3.tf_s[m][s]) : d3.tf[m][s];
                if (auslauf >= grenze) {
                    d3.twfflag[s] = u'J';
                    if (d3.vstore_flag[m][s] == u'N') {
                        d3.vstore[m][s] = d3.vel[m][s];
                        d3.vstore_flag[m][s] = u'Y';
                    }
                } else {
                    d3.twfflag[s] = u'N';
                }
                // At the limit the start values have set the flow that holds it.
                if (d3.twfflag[s] == u'J' && d3.tf[m][s] < grenze) {
                    d3.vel[m][s] = d3.vstore[m][s];
                    kollektor_startwerte_intervall(r.lk, m, s, A, d3.vel[m][s], 0.0, variante);
                }
                kollektorgewinne_intervall(r.lk, m, s, A, x, summe);
                if (A > 0.0) {
                    if (r.direkt) {
                        pruefe_pumpgeschwindigkeit(m, s, A, nc, v, p, d3);
                    } else if (!zwischen_wt) {
                        pruefe_durchfluss(m, s, A, nc, v, p, d3, r.lk.g_s());
                    }
                }
                if (!r.direkt && analytische_ww) {
                    kaeltemittel_vorgaben vg;
                    vg.t_ein = 0.0;
                    vg.schritt = variante;
                    vg.einstrahlung = p[zdata::ir][m][s];
                    vg.faktor_c = p[zdata::ho][m][s];
                    kaeltemittel_intervall(m, s, A, vg, r.anlage0, nc, v, k.vdatz, p, d3, r.lk);
                }
            } else {
                waermepumpe_aus_intervall(d3, p, m, s, x);
            }
        }
        kern_intervallende(r, s, summe, d3.vel[m][s], x);
        d3.zv[m][s] = d3.vel[m][s];
        if (spur) {
            spur->versuch(m, s, i, variante, p[zdata::tein][m][s],
                          intervallwert(nc, v, m, s, d3, spur->hilfsmonat()),
                          spurwerte_des_intervalls(d3, p, arbeit, m, s));
        }
    }

    kernergebnis e;
    e.monatswert = kern_monatsende(r);
    mittlere_geschwindigkeit(d, d3, k.vdatz, m, p);
    e.geschwindigkeit = d.vel[m];
    return e;
}
