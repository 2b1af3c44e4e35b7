#include "engine/temperaturkern.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "engine/entscheidungsspur.h"
#include "engine/models/druckabfall.h"
#include "engine/models/kollektor.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "engine/models/reservoir.h"
#include "engine/models/speicher.h"
#include "engine/models/waermepumpe.h"
#include "lang/meldung.h"
#include "lang/sprache.h"

void sichere_monatszustand(const ::date& d, const anlage& a, ::date& z, anlage& za, int m) {
    using feld = monatsfeld date::*;
    static constexpr feld felder[] = {
        &date::er,          &date::nh,           &date::ok,           &date::nh_virtuell,
        &date::ok_virtuell, &date::eg,           &date::es,           &date::esa,
        &date::ls,          &date::elp,          &date::elp_l,        &date::ereif,
        &date::e_next_puffer, &date::e_next_lang, &date::speiver_puffer, &date::speiver_lang,
        &date::wp_waerme_ww, &date::wp_strom_ww, &date::wp_waerme_we, &date::wp_strom_we};
    for (feld f : felder) (z.*f)[m] = (d.*f)[m];
    // Only the contents change during a month; the store parameters stay.
    kopiere_anlage_speicher(a, za, 'N');
    za.pufferspeicher.inhalt.eminus = a.pufferspeicher.inhalt.eminus;
    za.langzeitspeicher.inhalt.eminus = a.langzeitspeicher.inhalt.eminus;
}

namespace {

// The flags of one interval, kept with the interval's results.
struct intervallflags_s {
    char16_t twf, wpaus, speicher, c, endr, eta;
    static intervallflags_s von(const ::date3& d3, int s) {
        return {d3.twfflag[s], d3.wpausflag[s], d3.speicherflag[s],
                d3.cflag[s],   d3.endrflag[s],  d3.eta_kleiner_null_flag[s]};
    }
    void nach(::date3& d3, int s) const {
        d3.twfflag[s] = twf;
        d3.wpausflag[s] = wpaus;
        d3.speicherflag[s] = speicher;
        d3.cflag[s] = c;
        d3.endrflag[s] = endr;
        d3.eta_kleiner_null_flag[s] = eta;
    }
};

void intervall_in_puffer(const ::date3& d3, int m, int s, ::date1& puffer) {
#define VARNEK_KOPIE(name) puffer.name[1] = d3.name[m][s];
    VARNEK_DATE3_FELDER(VARNEK_KOPIE)
#undef VARNEK_KOPIE
}

void puffer_in_intervall(const ::date1& puffer, ::date3& d3, int m, int s) {
#define VARNEK_KOPIE(name) d3.name[m][s] = puffer.name[1];
    VARNEK_DATE3_FELDER(VARNEK_KOPIE)
#undef VARNEK_KOPIE
}

void melde_suche_ohne_ende(const flagchar& numchar, int m, int s) {
    meldung(text_paar{"Warnung: Temperatursuche nach " , "Warning: temperature search stopped after "}.text() +
                std::to_string(MAX_TEMPERATURSCHRITTE) +
                text_paar{" Schritten beendet (Monat ", " rounds (month "}.text() + std::to_string(m) +
                text_paar{", Intervall ", ", interval "}.text() + std::to_string(s) + ").",
            numchar[ndata::meldungsmodus], 'W');
}

}  // namespace

kernergebnis temperaturkern(periodenkontext& k, int m, anlage& arbeit) {
    kernlauf r(k, m, arbeit);
    flagchar& nc = k.numchar;
    datt& v = k.vdatt;
    const datz& z = k.vdatz;
    datz3& p = k.pvdatz3;
    ::date3& d3 = k.d3;
    ::date& d = k.monatsergebnisse;
    const double A = k.A;
    laufsteuerung& l = zustand::lauf();

    kern_monatsstart(r);

    // `ge` steps of the interval search: one for directly coupled plants,
    // otherwise the range prepared afresh. A single simulation searches the
    // whole range too: the range is the plant's control, not a study.
    ge_bereich ge = k.ge;
    int g_anzahl = 1, g_erster = 1;
    if (!r.direkt) {
        bereite_variantenbereich_vor(nc, l);
        ge = bereite_ge_bereich_vor(nc, l, A);
        g_anzahl = ge.anzahl;
        g_erster = ge.erster;
    }
    const bool zwischenkopplung = nc[ndata::kopplungstyp] == "Z";
    const bool zwischen_wt = zwischenwaermetauscher_aktiv(nc, v);
    // The search stops when two midpoints lie within the temperature-difference
    // step; without variants that step is 0 and the midpoints must meet.
    const double toleranz =
        l.anzdeltatkol >= 1 ? (l.maxdeltatkol - l.mindeltatkol) / l.anzdeltatkol : 0.0;
    const double tk = z[zdata::tk][m], twv = z[zdata::twv][m];

    ::date& start = zustand::date_serie(1);
    anlage& start_anlage = zustand::anlage(2);
    ::date& bester_stand = zustand::date_serie(2);
    anlage& beste_anlage = zustand::anlage(5);
    ::date1& puffer = zustand::date1_serie(0);
    ::date& h = aktueller_lauf().hilfsmonat();

    double T_mid = 0.0;  // last midpoint of the search in this month
    entscheidungsspur* spur = k.spur_fuer(m);
    const int n = intervalle(m);
    for (int s = 1; s <= n; ++s) {
        if (!r.direkt) sichere_monatszustand(d, arbeit, start, start_anlage, m);
        const double ta = p[zdata::ta][m][s];
        const double bedarf_intervall = d3.equer_verbrauch[m][s];  // the balance may add to it
        double bester = 0.0;
        int bester_g = g_anzahl;
        intervallflags_s beste_flags{};

        for (int g = g_anzahl; g >= g_erster; --g) {
            if (!r.direkt) sichere_monatszustand(start, start_anlage, d, arbeit, m);
            d3.equer_verbrauch[m][s] = bedarf_intervall;
            const double x = kern_intervallstart(r, s);
            d3.ok[m][s] = 0.0;
            d3.nh[m][s] = 0.0;
            v[tdata::zehn_durch_g] = zehn_durch(p[zdata::is0][m][s]);
            feldkennwerte_intervall(r.lk, m, s, x);

            double summe = 0.0;  // collector energy of the interval
            // Collector at inflow temperature T: flow of step g, start values
            // and, while the heat pump runs, gains and useful energy.
            auto versuch = [&](double T, bool mit_fluss) {
                if (mit_fluss) {
                    durchfluss_zeitschritt(m, s, g, ge.minge, ge.logschritt, A, nc, v, p, d3, nullptr);
                }
                kollektor_startwerte_intervall(r.lk, m, s, A, d3.vel[m][s], T, g);
                if (d3.wpausflag[s] != u'N') return 0.0;
                kollektorgewinne_intervall(r.lk, m, s, A, x, summe);
                return energie_aufteilung(r.lk, summe, d3.copww[m][s], tk, d3.tf[m][s], twv, m, s);
            };

            if (d3.wpausflag[s] == u'N') {
                d3.twfflag[s] = u'N';
                double T_lo = zwischenkopplung ? ta + l.mindeltatkol : tk;
                double T_hi = zwischenkopplung ? ta + l.maxdeltatkol : tk;
                durchfluss_zeitschritt(m, s, g, ge.minge, ge.logschritt, A, nc, v, p, d3, nullptr);
                double E = versuch(T_lo, false);
                const double bedarf = d3.equer_verbrauch[m][s];
                if (E > bedarf) {
                    // Bisection between T_lo and T_hi for the temperature at
                    // which the loop delivers just the demand.
                    const temperatursuche t = suche_temperatur(
                        T_lo, T_hi, bedarf, toleranz,
                        [&](double T) -> std::optional<double> {
                            d3.wpausflag[s] = u'N';
                            const double E_T = versuch(T, true);
                            if (d3.wpausflag[s] != u'N') return std::nullopt;
                            return E_T;
                        });
                    T_mid = t.T_mid;
                    if (!t.konvergiert) melde_suche_ohne_ende(nc, m, s);
                    // Outflow at or above the supply temperature: the collector
                    // delivers at the limit, without a lift by the heat pump (the
                    // start values have put the interval there: inflow from the
                    // store's cold end, outflow at the limit). Behind an
                    // intermediate exchanger the collector's own outflow tf_s decides.
                    const double auslauf = zwischen_wt ? std::max(d3.tf[m][s], d3.tf_s[m][s]) : d3.tf[m][s];
                    if (d3.wpausflag[s] == u'N' && auslauf >= twv) d3.twfflag[s] = u'J';
                }
                // A ww pump that cannot lift (COP at or below 1; the models floor it at 1)
                // stays off instead of heating the house electrically at COP 1.
                if (d3.copww[m][s] <= 1.0 && zwischenkopplung) d3.wpausflag[s] = u'J';
                if (d3.wpausflag[s] == u'N') {
                    if (!r.direkt) {
                        kaeltemittel_vorgaben vg;
                        vg.t_ein = T_mid;
                        vg.schritt = g;
                        vg.einstrahlung = p[zdata::ir][m][s];
                        vg.faktor_c = p[zdata::ho][m][s];
                        kaeltemittel_intervall(m, s, A, vg, r.anlage0, nc, v, k.vdatz, p, d3, r.lk);
                    } else if (A > 0.0) {
                        pruefe_pumpgeschwindigkeit(m, s, A, nc, v, p, d3);
                    }
                }
            }
            // Heat pump off (from the start or during the search): collector values of an idle interval.
            if (d3.wpausflag[s] == u'J') waermepumpe_aus_intervall(d3, p, m, s, x);

            kern_intervallende(r, s, summe, d3.vel[m][s], x);
            const double wert = intervallwert(nc, v, m, s, d3, h);
            if (spur) spur->versuch(m, s, g, -1, p[zdata::tein][m][s], wert, spurwerte_des_intervalls(d3, p, arbeit, m, s));

            if (r.direkt) {
                d3.zv[m][s] = d3.vel[m][s];
                d3.tein[m][s] = p[zdata::tein][m][s];
                continue;
            }
            // Keep the best step; ties go to the later (smaller) step.
            if (g == g_anzahl) bester = wert;
            if (wert <= bester) {
                d3.zv[m][s] = d3.vel[m][s];
                d3.tein[m][s] = p[zdata::tein][m][s];
                intervall_in_puffer(d3, m, s, puffer);
                beste_flags = intervallflags_s::von(d3, s);
                sichere_monatszustand(d, arbeit, bester_stand, beste_anlage, m);
                bester = wert;
                bester_g = g;
            }
        }
        if (spur) spur->gewaehlt(m, s, bester_g, -1);
        if (!r.direkt) {
            puffer_in_intervall(puffer, d3, m, s);
            beste_flags.nach(d3, s);
            sichere_monatszustand(bester_stand, beste_anlage, d, arbeit, m);
        }
        d.vel[m] += d3.vel[m][s];
    }

    kernergebnis e;
    e.monatswert = kern_monatsende(r);
    // Mean flow of the kept steps over the month's intervals.
    d.vel[m] = n > 0 ? d.vel[m] / n : 0.0;
    e.geschwindigkeit = d.vel[m];
    return e;
}
