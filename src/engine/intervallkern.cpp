#include "engine/intervallkern.h"

#include <algorithm>
#include <utility>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>

#include "engine/entscheidungsspur.h"
#include "engine/heizbilanz.h"
#include "engine/models/druckabfall.h"
#include "engine/models/kollektor.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "engine/models/reservoir.h"
#include "engine/models/speicher.h"
#include "engine/models/waermepumpe.h"
#include "engine/temperaturkern.h"

kernslots kernslots_des_zustands() {
    return {{zustand::date_serie(6), zustand::anlage(3)},
            {zustand::date_serie(2), zustand::anlage(5)},
            {zustand::date_serie(1), zustand::anlage(2)},
            {zustand::date_serie(5), zustand::anlage(7)},
            {zustand::date_serie(4), zustand::anlage(6)}};
}

void kopiere_slot(const schnappschuss& von, const schnappschuss& nach, int m) {
    if (&von.d == &nach.d && &von.a == &nach.a) return;
    sichere_monatszustand(von.d, von.a, nach.d, nach.a, m);
}

int blocklaenge(const flagchar& numchar, const laufsteuerung& l) {
    return numchar[ndata::gegenstrom] == "R" ? l.maxmittemp : 1;
}

namespace {

void intervall_in_puffer(const ::date3& d3, int m, int s, blockpuffer& b, int j) {
#define VARNEK_KOPIE(name) b.werte.name[j] = d3.name[m][s];
    VARNEK_DATE3_FELDER(VARNEK_KOPIE)
#undef VARNEK_KOPIE
    b.flags[j] = {d3.twfflag[s],   d3.wpausflag[s], d3.speicherflag[s],         d3.cflag[s],
                  d3.endrflag[s],  d3.eta_kleiner_null_flag[s], d3.vstore_flag[m][s]};
}

void puffer_in_intervall(const blockpuffer& b, int j, ::date3& d3, int m, int s) {
#define VARNEK_KOPIE(name) d3.name[m][s] = b.werte.name[j];
    VARNEK_DATE3_FELDER(VARNEK_KOPIE)
#undef VARNEK_KOPIE
    const intervallflags_satz& f = b.flags[j];
    d3.twfflag[s] = f.twf;
    d3.wpausflag[s] = f.wpaus;
    d3.speicherflag[s] = f.speicher;
    d3.cflag[s] = f.c;
    d3.endrflag[s] = f.endr;
    d3.eta_kleiner_null_flag[s] = f.eta;
    d3.vstore_flag[m][s] = f.vstore;
}


// Rounds to n decimals, ties to even.
double gerundet(double x, int stellen) {
    const double f = std::pow(10.0, stellen);
    return std::nearbyint(x * f) / f;
}

// What the kernel and its interval step share over one month.
//
// A slot whose content is handed on to another role (best step -> previous
// interval, block end -> best variant, best variant -> committed) changes
// its role instead of being copied: the roles are pointers into the slots,
// and the source's old content is never read again before it is rewritten.
// The committed slot also serves as the start of every variant (it does not
// change while the variants of a block are tried). A restore is left out
// when the working state already holds the slot's content.
struct blocklauf {
    blocklauf(kernlauf& r_, steuerpunkte& s_, ::date& d, anlage& a0)
        : r(r_),
          steuerung(s_),
          slots(kernslots_des_zustands()),
          arbeit{d, a0},
          puffer{blockpuffer{zustand::date1_serie(0), {}}, blockpuffer{zustand::date1_serie(1), {}}} {}

    kernlauf& r;
    steuerpunkte& steuerung;
    kernslots slots;
    schnappschuss arbeit;          // the working state: (date, plant 0)
    std::array<blockpuffer, 2> puffer;
    blockpuffer* bester_puffer = &puffer[0];      // intervals of the best variant of the block
    blockpuffer* variantenpuffer = &puffer[1];    // intervals of the variant being tried
    const schnappschuss* festgeschrieben = &slots.festgeschrieben;
    const schnappschuss* beste_variante = &slots.beste_variante;
    const schnappschuss* vorintervall = &slots.vorintervall;
    const schnappschuss* bester_schritt = &slots.bester_schritt;
    const schnappschuss* arbeit_gleich = nullptr;  // slot whose content the working state holds
    long schritte = 0;                            // interval-steps computed
    int m = 1;
    ge_bereich ge;
    int g_erster = 1;              // `ge` steps of an interval, from g_erster down to g_letzter
    int g_letzter = 1;
    int laenge = 1;                // block length
    // Codes of the month, evaluated once.
    bool zwischen_wt = false;      // collector loop through an intermediate exchanger
    bool analytische_ww = false;   // analytic model of the ww pump
    bool zwischenkopplung = false; // intermediate coupling "Z"
    bool erzwungen = false;        // forced air flow through the collector
    // The intervals' own demand at the month start: the balance adds the
    // heating share to an interval's demand, and every attempt starts again
    // from the interval's own demand.
    intervallzeile bedarf{};

    // Saves the working state into a slot.
    void sichere(const schnappschuss* nach) {
        kopiere_slot(arbeit, *nach, m);
        arbeit_gleich = nach;
    }
    // Restores the working state from a slot.
    void stelle_her(const schnappschuss* von) {
        if (arbeit_gleich != von) {
            kopiere_slot(*von, arbeit, m);
            arbeit_gleich = von;
        }
    }
};

// Interval step: computes the intervals of a block from s on for variant v
// at inflow temperature T, each with its best `ge` step. Mode 'N' tries a
// variant (block sum and count grow, the pumped volume ends the block when
// it exceeds the intermediate store), mode 'J' is the final pass of a live
// block with the control step after every interval.
void intervallschritt(blocklauf& b, int& m, int& s, int s0, int v, double T, char modus,
                      int& anzahl, double& summe, int& gewaehlt) {
    kernlauf& r = b.r;
    periodenkontext& k = r.k;
    flagchar& nc = k.numchar;
    datt& vd = k.vdatt;
    datz3& p = k.pvdatz3;
    ::date3& d3 = k.d3;
    ::date& d = k.monatsergebnisse;
    anlage& a0 = r.anlage0;
    const double A = k.A;
    const bool zwischen_wt = b.zwischen_wt;
    const bool analytische_ww = b.analytische_ww;
    const bool zwischenkopplung = b.zwischenkopplung;
    const bool erzwungen = b.erzwungen;
    ::date& h = aktueller_lauf().hilfsmonat();

    d3.te[m][s0] = T;
    bool wiederholen = true;
    anzahl = 0;
    double gepumpt = 0.0;  // volume pumped through the collectors in this block
    d3.speicherflag[s] = u'N';
    // Without the reservoir exchanger (or with the end reservoir) there is no
    // intermediate store: the block ends after its first interval.
    if (nc[ndata::gegenstrom] != "R" || nc[ndata::kopplungstyp] == "E") {
        a0.zwischenspeicher.spmax.wert = 0.0;
    }
    const double volumen = a0.zwischenspeicher.spmax.wert;

    while (gepumpt <= volumen && s <= intervalle(m) && wiederholen && anzahl < b.laenge) {
        r.m = m;
        b.m = m;
        bool erster = true;
        bool behalten = false;  // a step of this interval has been kept
        wiederholen = false;
        double bester = 0.0;
        double volumen_bester = 0.0;
        const int j = anzahl + 1;  // element of the block buffer
        int g_zuletzt = b.g_erster;
        double wert_zuletzt = 0.0, volumen_zuletzt = 0.0;
        // Keeps the step just computed as the interval's best.
        auto behalte = [&](int g, double wert, double volumen_schritt) {
            gewaehlt = g;
            d3.zv[m][s] = d3.vel[m][s];
            d3.tein[m][s] = p[zdata::tein][m][s];
            intervall_in_puffer(d3, m, s, *b.variantenpuffer, j);
            b.variantenpuffer->schritt[j] = g;
            b.sichere(b.bester_schritt);
            bester = wert;
            volumen_bester = volumen_schritt;
            behalten = true;
        };
        for (int g = b.g_erster; g >= b.g_letzter; --g) {
            d3.wpausflag[s] = u'N';
            d3.nicht_optimieren = false;
            b.stelle_her(s == s0 ? b.festgeschrieben : b.vorintervall);
            b.arbeit_gleich = nullptr;
            ++b.schritte;
            d3.equer_verbrauch[m][s] = b.bedarf[s];
            const double x = kern_intervallstart(r, s);
            d3.ok[m][s] = 0.0;
            d3.nh[m][s] = 0.0;
            vd[tdata::zehn_durch_g] = zehn_durch(p[zdata::is0][m][s]);
            feldkennwerte_intervall(r.lk, m, s, x);

            // Flow of step g.
            d3.vel[m][s] = durchfluss_zeitschritt(m, s, g, b.ge.minge, b.ge.logschritt, A, nc, vd,
                                                  p, d3, b.steuerung.messtabelle());
            const double fluss = d3.vel[m][s];
            const double lokal = fluss * p[zdata::ho][m][s] * konst::SEKUNDEN_PRO_STUNDE;
            wiederholen = true;
            d.vel[m] += fluss;
            d3.mcg[m][s] = waermekapazitaetsstrom(m, s, A, vd, d3);
            vd[tdata::zehn_durch_g] = zehn_durch(p[zdata::is0][m][s]);
            vd[tdata::waermekapazitaetsstrom] =
                produkt3(fluss, vd[tdata::kollektorfluid_dichte], vd[tdata::kollektorfluid_cpf]);
            feldkennwerte_intervall(r.lk, m, s, x);
            nc[ndata::kollektorschritt_fertig] = "J";

            double energie = 0.0;  // collector energy of the interval
            if (d3.wpausflag[s] == u'N') {
                const double grenze = kollektor_startwerte_intervall(r.lk, m, s, A, fluss, T, v);
                // A collector whose outflow passes its limit delivers at the
                // limit (the start values keep the heat pump on for it); a heat
                // pump they switched off for another reason (inflow above the
                // supply temperature, no efficiency left) takes no collector heat.
                bool laeuft = d3.wpausflag[s] == u'N';
                // A ww pump that cannot lift (COP at or below 1; the models
                // floor it at 1) stays off instead of heating the house
                // electrically at COP 1.
                if (d3.copww[m][s] <= 1.0 && zwischenkopplung) {
                    d3.wpausflag[s] = u'J';
                    laeuft = false;
                }
                if (laeuft) {
                    // Outflow at its limit: the interval keeps the first flow that
                    // reached it. Behind an intermediate exchanger the collector's own
                    // outflow tf_s decides: tf is the heat pump's source side.
                    const double auslauf =
                        zwischen_wt ? std::max(d3.tf[m][s], d3.tf_s[m][s]) : d3.tf[m][s];
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
                    if (d3.twfflag[s] == u'J' && nc[ndata::zeitraum] == "M" && d3.tf[m][s] < grenze) {
                        d3.vel[m][s] = d3.vstore[m][s];
                        kollektor_startwerte_intervall(r.lk, m, s, A, d3.vel[m][s], T, v);
                        // At the held flow the start values may switch the heat
                        // pump off: then the interval takes no collector heat
                        // (gains computed here would be booked and never delivered).
                        laeuft = d3.wpausflag[s] == u'N';
                    }
                }
                if (laeuft) {
                    kollektorgewinne_intervall(r.lk, m, s, A, x, energie);
                    if (A > 0.0) {
                        if (r.direkt) {
                            pruefe_pumpgeschwindigkeit(m, s, A, nc, vd, p, d3);
                        } else if (!zwischen_wt) {
                            pruefe_durchfluss(m, s, A, nc, vd, p, d3, r.lk.g_s());
                        }
                    }
                    if (!r.direkt && analytische_ww) {
                        kaeltemittel_vorgaben vg;
                        vg.t_ein = 0.0;
                        vg.schritt = v;
                        vg.einstrahlung = p[zdata::ir][m][s];
                        vg.faktor_c = p[zdata::ho][m][s];
                        kaeltemittel_intervall(m, s, A, vg, a0, nc, vd, k.vdatz, p, d3, r.lk);
                    }
                } else {
                    waermepumpe_aus_intervall(d3, p, m, s, x);
                    d3.volluft[m][s] = 0.0;
                }
            }

            // Coupling of the collector energy and the interval's balance.
            kopplung_intervall(r.lk, m, s, energie, r.kopplung_monat);
            intervallbilanz bil(nc, m, s, a0, d, d3, p, k.vdatz, vd, A,
                                r.lk.stoffe.kaeltemittel_record);
            energiebilanz_intervall(bil, r.summen);
            // Nothing heated and nothing to limit: the collector loop is off.
            if (d3.nh[m][s] == 0.0 && d3.ok[m][s] == 0.0 && d3.twfflag[s] == u'N') {
                d3.vel[m][s] = 0.0;
                if (erzwungen) d3.volluft[m][s] = 0.0;
                d3.wpausflag[s] = u'J';
                d3.speicherflag[s] = u'J';
            }
            pumpe_und_ventilator_intervall(d3.vel[m][s], m, s, A, a0, nc, vd, d3);
            speicherbedarf_virtuell(bil, x);
            leistungen_intervall(m, s, A, nc, vd, p, d3);
            const double wert = intervallwert(nc, vd, m, s, d3, h);
            if (modus == 'N') {
                if (entscheidungsspur* spur = k.spur_fuer(m)) {
                    spur->versuch(m, s, g, v, T, wert, spurwerte_des_intervalls(d3, p, a0, m, s));
                }
            }

            // Keep the best step; without collector area every step is taken
            // in turn, so the last one stays.
            if (erster || A == 0.0) {
                bester = wert;
                volumen_bester = lokal;
                erster = false;
            }
            if ((wert <= bester || A == 0.0) && !d3.nicht_optimieren) behalte(g, wert, lokal);
            g_zuletzt = g;
            wert_zuletzt = wert;
            volumen_zuletzt = lokal;
            // Outflow at its limit: a smaller flow only runs hotter, so the
            // steps below are left out. Not with the reservoir as exchanger:
            // what it takes from the loop grows as the collector flow falls (in
            // April of the monthly Braunschweig plant the first step at the
            // limit books 163 kWh, a step of half the flow 1069 kWh), so the
            // search goes on.
            if (d3.twfflag[s] == u'J' && nc[ndata::gegenstrom] != "R") break;
        }
        // No step could be kept (the models marked every one as not to be
        // optimised): the interval keeps the last step computed, which the
        // working state still holds, rather than no results at all.
        if (!behalten) behalte(g_zuletzt, wert_zuletzt, volumen_zuletzt);

        if (modus == 'J') b.steuerung.steuerschritt(k, m, s, a0);
        std::swap(b.vorintervall, b.bester_schritt);
        if (modus == 'N') {
            summe += bester;
            gepumpt += volumen_bester;
        }

        // Next interval: a live pass in full measuring mode follows the clock.
        std::optional<uhrzeitintervall> uhr;
        if (modus == 'J' && nc[ndata::messmodus] == "J") uhr = b.steuerung.jetzt();
        if (uhr) {
            const bool weiter = uhr->monat != m || uhr->intervall > s;
            if (uhr->monat != m) b.bedarf = d3.equer_verbrauch[uhr->monat];
            m = uhr->monat;
            s = uhr->intervall;
            if (weiter) ++anzahl;
        } else {
            ++anzahl;
            ++s;
        }
        if (modus == 'J' && nc[ndata::kontrolllauf] == "J" &&
            b.steuerung.stopp_angefordert(nc, d3)) {
            nc[ndata::stopp] = "J";
            s = intervalle(m) + 1;
        }
    }
}

}  // namespace

kernergebnis intervallkern(periodenkontext& k, int& m, int i, steuerpunkte& steuerung) {
    anlage& a0 = zustand::anlage(0);
    kernlauf r(k, m, a0);
    flagchar& nc = k.numchar;
    datz3& p = k.pvdatz3;
    ::date3& d3 = k.d3;
    ::date& d = k.monatsergebnisse;
    const double A = k.A;
    laufsteuerung& l = zustand::lauf();

    blocklauf b(r, steuerung, d, a0);
    b.m = m;
    b.ge = k.ge;
    b.zwischen_wt = zwischenwaermetauscher_aktiv(nc, k.vdatt);
    b.analytische_ww = nc[ndata::modelltyp_ww] == "A";
    b.zwischenkopplung = nc[ndata::kopplungstyp] == "Z";
    b.erzwungen = ist_erzwungen(nc);
    kern_monatsstart(r);
    b.bedarf = d3.equer_verbrauch[m];
    b.sichere(b.festgeschrieben);

    // `ge` steps of each interval: the month's step in month and year mode;
    // in interval mode the range prepared afresh (a single simulation too:
    // the range is the collector pump's control).
    if (nc[ndata::zeitraum] == "I") {
        bereite_variantenbereich_vor(nc, l);
        b.ge = bereite_ge_bereich_vor(nc, l, A);
        b.g_erster = b.ge.anzahl;
        b.g_letzter = b.ge.erster;
    } else {
        b.g_erster = b.g_letzter = i;
    }

    // Temperature variants per block.
    const int lo = A > 0.0 ? 0 : 1;
    const int hi = A > 0.0 ? l.anzdeltatkol : 1;
    b.laenge = std::clamp(blocklaenge(nc, l), 1, MAX_BLOCKLAENGE);

    int s0 = 1;
    if (nc[ndata::kontrolllauf] == "J" && zustand::monatstart() == m) s0 = zustand::startintervall();

    while (s0 <= intervalle(m)) {
        const bool live = steuerung.ist_live(nc, m, s0, A);
        if (live) steuerung.messe_liveintervall(k, m, s0, b.laenge, a0);

        double beste_quote = 0.0;
        double bestes_T = 0.0;
        int beste_v = lo;
        int beste_anzahl = 1;
        for (int v = lo; v <= hi; ++v) {
            double summe = 0.0;
            int anzahl = 0;
            int s = s0;
            double T;
            if (nc[ndata::kopplungstyp] == "E") {
                T = k.vdatz[zdata::rwv][m];
            } else if (v < hi) {
                T = p[zdata::ta][m][s0] + l.mindeltatkol + v * l.deltatkol_schritt;
                T = std::max(T, k.vdatt[tdata::reservoirtemperatur]);
            } else {
                T = p[zdata::ta][m][s0];
            }
            p[zdata::tein][m][s] = T;
            int gewaehlt = 0;
            intervallschritt(b, m, s, s0, v, T, 'N', anzahl, summe, gewaehlt);
            const double quote = anzahl > 0 ? summe / anzahl : 0.0;
            // The first variant sets the mark; a later one replaces it when
            // it is not worse (ties go to the later variant).
            if (v == lo) beste_quote = quote;
            if (quote <= beste_quote || lo == hi) {
                std::swap(b.variantenpuffer, b.bester_puffer);
                // The state at the block's end: the best step of its last
                // interval, handed on to the previous-interval role.
                std::swap(b.vorintervall, b.beste_variante);
                beste_quote = quote;
                bestes_T = T;
                beste_v = v;
                beste_anzahl = std::max(anzahl, 1);
                d3.t_reservoir_alt = b.bester_puffer->werte.tein[1];
            }
        }

        int s = s0;
        const double T = bestes_T;
        steuerung.zeige_blocktemperatur(gerundet(T, 2));
        if (live) {
            double summe = 0.0;
            int anzahl = 0, gewaehlt = 0;
            intervallschritt(b, m, s, s0, beste_v, T, 'J', anzahl, summe, gewaehlt);
        }

        // Commit the block: its intervals from the best variant, and the
        // state at its end. The block covers the intervals the variant
        // computed (fewer than the block length when the pumped volume
        // filled the intermediate store or the month ended).
        const int n = intervalle(m);
        const int bis = std::min(s0 + beste_anzahl - 1, n);
        for (int t = s0, j = 1; t <= bis; ++t, ++j) puffer_in_intervall(*b.bester_puffer, j, d3, m, t);
        if (entscheidungsspur* spur = k.spur_fuer(m)) {
            for (int t = s0, j = 1; t <= bis; ++t, ++j) spur->gewaehlt(m, t, b.bester_puffer->schritt[j], beste_v);
        }
        if (!live) {
            // Volume pumped into the intermediate store over the block.
            for (int t = s0, j = 1; t <= bis; ++t, ++j) {
                const double vorher = t == s0 ? 0.0 : d3.zwischenspeicher_fuellstand[m][t - 1];
                d3.zwischenspeicher_fuellstand[m][t] =
                    vorher + b.bester_puffer->werte.vel[j] * konst::SEKUNDEN_PRO_STUNDE * a0.n;
            }
        }
        std::swap(b.beste_variante, b.festgeschrieben);
        s0 = bis + 1;

        // Full measuring mode: the next block starts at the present hour.
        if (nc[ndata::messmodus] == "J" && zustand::startintervall() < s0 && A > 0.0) {
            if (const auto jetzt = steuerung.jetzt()) {
                if (jetzt->monat != m) b.bedarf = d3.equer_verbrauch[jetzt->monat];
                s0 = jetzt->intervall;
                m = jetzt->monat;
                r.m = m;
                b.m = m;
            }
        }
        if (nc[ndata::kontrolllauf] == "J" && steuerung.stopp_angefordert(nc, d3)) {
            nc[ndata::stopp] = "J";
            s0 = INT_MAX;
        }
    }

    // Month end from the committed state; a stopped run leaves the stores
    // of the month unclosed.
    r.m = m;
    b.m = m;
    b.stelle_her(b.festgeschrieben);
    kernergebnis e;
    kern_monatsende(r, nc[ndata::stopp] == "N");
    // Every attempt added its flow to the month's velocity; the month keeps
    // the hour-weighted mean of the committed intervals.
    d.vel[m] = 0.0;
    intervalle_zu_monat(d, d3, k.vdatz, m, A, p);
    e.monatswert = heizung_monatsbilanz(nc, k.vdatt, m, d);
    e.geschwindigkeit = d.vel[m];
    e.intervallschritte = b.schritte;
    return e;
}
