#include "engine/models/reservoir.h"

#include <string>
#include <vector>

#include "data/konstanten.h"
#include "engine/models/kollektor.h"
#include "engine/models/waermepumpe.h"
#include "lang/meldung.h"

namespace {

void cop_setzen(laufkontext& k, int m, int s, double x) {
    besetze_cop(k.d, k.d3, k.vdatt, k.vdatz, k.pvdatz3, s, m, k.numchar, x, k.stoffe.kaeltemittel_record);
}

// Collector step 'n' with the interval's coefficients.
void schritt_n(laufkontext& k, const kollektor_koeff& c, int m, int s, double A) {
    kollektor_schritt(k.d3, k.pvdatz3, m, 'n', s, A, c.X4, c.X2, c.X3, c.X1);
}

// Collector energy of the interval (kWh) and its mean power (kW).
double energie(const laufkontext& k, int m, int s) { return k.d3.es[m][s] + k.d3.ls[m][s]; }

double leistung(const laufkontext& k, int m, int s) {
    const double ho = k.pvdatz3[zdata::ho][m][s];
    return ho > 0.0 ? energie(k, m, s) / ho : energie(k, m, s);
}

// Hours that turn an interval's power into its energy; 1 for an interval
// without hours, so that such an interval still counts once.
double stunden(const laufkontext& k, int m, int s) {
    const double ho = k.pvdatz3[zdata::ho][m][s];
    return ho > 0.0 ? ho : 1.0;
}

// The collector loop stays off in an interval in which the collector would
// lose heat (weak light at a high outflow temperature): nothing is collected,
// the heat pump does not run. True when the interval was switched off.
bool aus_bei_waermeverlust(laufkontext& k, int m, int s) {
    if (!(energie(k, m, s) < 0.0)) return false;
    ::date3& d3 = k.d3;
    d3.er[m][s] = 0.0;
    d3.es[m][s] = 0.0;
    d3.ls[m][s] = 0.0;
    d3.el_0[m][s] = 0.0;
    d3.etam[m][s] = 0.0;
    d3.vel[m][s] = 0.0;
    d3.wpausflag[s] = u'J';
    return true;
}

void melde_keine_konvergenz(const laufkontext& k, const char* loesung, int m) {
    meldung(
        std::string("Warnung: ") + loesung + " Monat " + std::to_string(m) + " ohne Konvergenz abgebrochen.",
        k.numchar[ndata::meldungsmodus], 'W');
}

}  // namespace

double energie_aufteilung(laufkontext& k, double P, double copww, double t_unten, double tf,
                          double twv, int m, int s) {
    ::date3& d3 = k.d3;
    d3.el_0[m][s] = 0.0;
    double r = 0.0;
    if (k.numchar[ndata::kopplungstyp] == "E") {
        if (d3.twfflag[s] == u'N' && tf != t_unten) {
            // Below the supply temperature the we pump lifts the collector's
            // flow to it; at or above it the collector heat serves as it is
            // (the ratio would drop the heat above twv).
            r = tf < twv ? P * (twv - t_unten) / (tf - t_unten) : P;
            d3.el_0[m][s] = r;
        }
        if (d3.twfflag[s] == u'J') r = P;
        return r;
    }
    if (d3.twfflag[s] != u'N') {
        d3.el_0[m][s] = 0.0;
        r = P;
    } else if (copww == 1.0) {
        // Heat pump at its lower COP limit: it covers the demand electrically.
        d3.el_0[m][s] = d3.equer_verbrauch[m][s];
        r = d3.el_0[m][s];
    } else {
        // The pump lifts the collector energy P: heat out = P + electricity
        // = COP x electricity (nothing is lifted at a COP below 1).
        d3.el_0[m][s] = strom_fuer_quellwaerme(P, copww);
        r = copww * d3.el_0[m][s];
        if (k.vdatt[tdata::wp_leistung_min] != k.vdatt[tdata::wp_leistung_max] && d3.el_0[m][s] > 0.0)
            regelbereich_anpassen(k, m, s, r);
    }
    return r;
}

void regelbereich_anpassen(laufkontext& k, int m, int s, double& ergebnis) {
    ::date3& d3 = k.d3;
    const double ho = k.pvdatz3[zdata::ho][m][s];
    if (ho <= 0.0) return;
    const double p = 1000.0 * d3.el_0[m][s] / ho;
    if (k.vdatt[tdata::wp_leistung_min] <= p && p <= k.vdatt[tdata::wp_leistung_max]) return;
    if (k.numchar[ndata::gegenstrom] != "G" && k.numchar[ndata::gegenstrom] != "I") return;
    if (ho > 1.0 && p < k.vdatt[tdata::wp_leistung_min] && k.vdatt[tdata::wp_leistung_min] > 0.0) {
        // An interval longer than an hour (a day, a month) is no running
        // period: a need below the lower limit is met by running part of the
        // interval at that limit.
        d3.zei[m][s] = (p / k.vdatt[tdata::wp_leistung_min]) * ho;
        return;
    }
    if (k.numchar[ndata::gegenstrom] == "I") {
        // The pump runs part of the interval at the lower limit.
        if (k.vdatt[tdata::wp_leistung_min] != 0.0) d3.zei[m][s] = (p / k.vdatt[tdata::wp_leistung_min]) * ho;
    } else if (k.numchar[ndata::gegenstrom] == "G") {
        d3.el_0[m][s] = 0.0;
        ergebnis = 0.0;
        d3.es[m][s] = 0.0;
        d3.ls[m][s] = 0.0;
        d3.vel[m][s] = 0.0;
        d3.wpausflag[s] = u'J';
    }
}

double durchfluss_aus_leistung(const datt& vdatt, double g_s, double A, double P, double tf,
                               double te) {
    if (A <= 0.0) return 0.0;
    if (tf == te) return g_s;
    const double nenner = (tf - te) * vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte];
    if (nenner == 0.0) return g_s;  // fluid without heat capacity
    const double g = vdatt[tdata::daf] / A * P * 1000.0 / nenner;
    return g > g_s ? g_s : g;
}

double durchfluss_aus_leistung(const laufkontext& k, double A, double P, double tf, double te) {
    return durchfluss_aus_leistung(k.vdatt, k.g_s(), A, P, tf, te);
}

void durchfluss_intervall(laufkontext& k, double A, double P, int m, int s) {
    ::date3& d3 = k.d3;
    if (P > 0.0) {
        d3.vel[m][s] = durchfluss_aus_leistung(k, A, P, d3.tf[m][s], k.pvdatz3[zdata::tein][m][s]);
        d3.zv[m][s] = d3.vel[m][s];
        d3.zei[m][s] = k.pvdatz3[zdata::ho][m][s];
    } else {
        d3.vel[m][s] = 0.0;
    }
}

double maximaldurchfluss_intervall(laufkontext& k, int m, int s, double A) {
    ::date3& d3 = k.d3;
    const datt& v = k.vdatt;
    d3.tf[m][s] = austrittstemperatur(v, d3.vel[m][s], d3.ta_s[m][s], k.pvdatz3[zdata::ta][m][s],
                                      k.pvdatz3[zdata::is0][m][s], v[tdata::kol_oben_quadratisch],
                                      v[tdata::kol_oben_konversion], v[tdata::kol_oben_verlust],
                                      v[tdata::flaeche_kol_oben]);
    const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
    cop_setzen(k, m, s, d3.tf[m][s]);
    schritt_n(k, c, m, s, A);
    if (aus_bei_waermeverlust(k, m, s)) return 0.0;
    // The split works on the interval's energy: its result is the useful
    // energy of the interval and the control range divides el_0 by the hours.
    d3.er[m][s] = energie_aufteilung(k, energie(k, m, s), d3.copww[m][s], k.vdatz[zdata::tk][m],
                                     d3.tf[m][s], k.vdatz[zdata::twv][m], m, s);
    return d3.er[m][s];
}

int zwischenreservoir_monat(laufkontext& k, int m, double A) {
    ::date3& d3 = k.d3;
    datz3& z3 = k.pvdatz3;
    const datt& v = k.vdatt;
    const int n = intervalle(m);
    const double twv = k.vdatz[zdata::twv][m], rwv = k.vdatz[zdata::rwv][m];
    const double g_s = k.g_s();
    const bool luft_wt = k.numchar[ndata::luftwaermetauscher] == "L";
    std::vector<char> gefroren(static_cast<size_t>(n) + 1, 0);
    for (int s = 1; s <= n; ++s) d3.wpausflag[s] = u'N';
    double e_summe = 0.0;
    const double r_T = (twv + konst::ABSOLUT_NULL) / (rwv + konst::ABSOLUT_NULL);
    int durchlaeufe = 0;

    if (k.numchar[ndata::luftwaermetauscher] == "N") {
        ++durchlaeufe;
        for (int s = 1; s <= n; ++s) {
            z3[zdata::tein][m][s] = z3[zdata::ta][m][s];
            d3.tein[m][s] = z3[zdata::ta][m][s];
            if (z3[zdata::is0][m][s] > 0.0) {
                if (d3.wpausflag[s] != u'N') {
                    d3.er[m][s] = 0.0;
                    d3.es[m][s] = 0.0;
                } else {
                    double e = direkte_kopplung_intervall(k, m, s, A);
                    if (aus_bei_waermeverlust(k, m, s)) e = 0.0;
                    if (d3.tf[m][s] < z3[zdata::tein][m][s]) d3.tf[m][s] = z3[zdata::tein][m][s];
                    const double ho = z3[zdata::ho][m][s];
                    durchfluss_intervall(k, A, ho > 0.0 ? d3.es[m][s] / ho : d3.es[m][s], m, s);
                    if (d3.vel[m][s] == g_s) e = maximaldurchfluss_intervall(k, m, s, A);
                    e_summe += e;
                }
            }
            d3.tf_s[m][s] = d3.tf[m][s];
        }
    }

    if ((k.vdatz[zdata::ewv][m] < e_summe || luft_wt) && A > 0.0) {
        const int grenze = n + 1 + RESERVOIR_EXTRA_DURCHLAEUFE;
        bool fertig = false;
        for (int pass = 1; pass <= grenze && !fertig; ++pass) {
            ++durchlaeufe;
            fertig = true;
            double Sa = 0.0, Sb = 0.0, Q = 0.0;
            auto nimmt_teil = [&](int s) {
                return !gefroren[static_cast<size_t>(s)] && (z3[zdata::is0][m][s] > 0.0 || luft_wt);
            };
            for (int s = 1; s <= n; ++s) {
                if (!nimmt_teil(s)) continue;
                const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
                if (c.R1 < 0.0) {
                    meldung("Warnung: Koeffizien DW < 0.", "S", 'A');
                    continue;
                }
                // The terms are collector powers; weighted with the interval's
                // hours they add up to energies comparable with the demand Q.
                const double h = stunden(k, m, s);
                Sa += h * c.X3 * A * c.R1 / c.P28;
                Sb += h * (c.X4 * A - c.X3 * c.P2c * A / c.P28);
            }
            Sa = r_T * Sa / 1000.0;
            Sb = r_T * Sb / 1000.0;
            for (int s = 1; s <= n; ++s) {
                if (!gefroren[static_cast<size_t>(s)]) Q += d3.equer_verbrauch[m][s];
            }
            // No usable interval: the common level is undefined and the
            // month keeps the results of the passes so far.
            if (Sa == 0.0) break;
            const double b = (Q - Sb) / Sa;
            for (int s = 1; s <= n; ++s) {
                if (!nimmt_teil(s)) continue;
                const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
                if (!(c.R1 > 0.0)) continue;
                d3.tf[m][s] = (b * c.R1 - c.P2c) / c.P28;
                d3.twfflag[s] = u'N';
                d3.wpausflag[s] = u'N';  // solved again: an earlier switch-off no longer holds
                if (d3.tf[m][s] > twv) {
                    d3.tf[m][s] = twv;
                    gefroren[static_cast<size_t>(s)] = 1;
                    fertig = false;
                    d3.twfflag[s] = u'J';
                }
                d3.tf_s[m][s] = d3.tf[m][s];  // the outflow temperature as limited
                if (luft_wt) {
                    d3.tein[m][s] = d3.tf[m][s] - v[tdata::daf] * (c.X4 + c.X3 * d3.tf[m][s]) /
                                                      (v[tdata::kollektorfluid_cpf] *
                                                       v[tdata::kollektorfluid_dichte] * g_s);
                } else {
                    d3.tein[m][s] = z3[zdata::ta][m][s];
                }
                z3[zdata::tein][m][s] = d3.tein[m][s];
                d3.ta_s[m][s] = d3.tein[m][s];
                cop_setzen(k, m, s, d3.tf[m][s]);
                if (d3.copww[m][s] == 1.0) {
                    gefroren[static_cast<size_t>(s)] = 1;
                    fertig = false;
                    d3.er[m][s] = 0.0;
                    d3.es[m][s] = 0.0;
                    d3.el[m][s] = 0.0;
                    d3.vel[m][s] = 0.0;
                    d3.tein[m][s] = d3.tf[m][s];
                } else if (z3[zdata::is0][m][s] > 0.0 || luft_wt) {
                    schritt_n(k, c, m, s, A);
                    // Off in this pass only: at the level of a later pass
                    // (fewer free intervals) it may gain again.
                    if (aus_bei_waermeverlust(k, m, s)) continue;
                    const double P = leistung(k, m, s);
                    d3.er[m][s] = energie_aufteilung(k, energie(k, m, s), d3.copww[m][s], rwv,
                                                     d3.tf[m][s], twv, m, s);
                    if (d3.tf[m][s] < z3[zdata::tein][m][s]) {
                        d3.tf[m][s] = z3[zdata::tein][m][s];
                        d3.tf_s[m][s] = d3.tf[m][s];
                        d3.vel[m][s] = g_s;
                    } else {
                        durchfluss_intervall(k, A, P, m, s);
                    }
                }
                if (d3.vel[m][s] > g_s) maximaldurchfluss_intervall(k, m, s, A);
            }
            if (!fertig && pass == grenze) melde_keine_konvergenz(k, "Zwischenreservoir", m);
        }
    }
    return durchlaeufe;
}

int endreservoir_monat(laufkontext& k, int m, double A) {
    ::date3& d3 = k.d3;
    datz3& z3 = k.pvdatz3;
    const int n = intervalle(m);
    const double twv = k.vdatz[zdata::twv][m];
    k.vdatz[zdata::tk][m] = k.vdatz[zdata::rwv][m];
    const double tk = k.vdatz[zdata::tk][m];
    const double ewv = k.vdatz[zdata::ewv][m];
    std::vector<char> gefroren(static_cast<size_t>(n) + 1, 0);
    auto tag = [&](int s) { return z3[zdata::is0][m][s] > 0.0; };
    for (int s = 1; s <= n; ++s) {
        if (!tag(s)) continue;
        const double te = eintrittstemperatur_intervall(k, 0, s, m, 0.0, A);
        z3[zdata::tein][m][s] = te;
        d3.tein[m][s] = te;
    }

    const int grenze = n + 1 + RESERVOIR_EXTRA_DURCHLAEUFE;
    int durchlaeufe = 0;
    bool fertig = false;
    while (!fertig && durchlaeufe < grenze) {
        ++durchlaeufe;
        fertig = true;
        double Sa = 0.0, Sb = 0.0;
        for (int s = 1; s <= n; ++s) {
            if (gefroren[static_cast<size_t>(s)] || !tag(s)) continue;
            const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
            if (!(c.R2 > 0.0)) continue;
            const double te = z3[zdata::tein][m][s];
            const double Gr = z3[zdata::ir][m][s];
            Sa += A * (c.X1 * te + c.X2) * (twv - te) * Gr / c.R2;
            Sb -= A * Gr * c.X1 * (twv - te);
        }
        // ewv + Sb = 0 leaves the common level undefined: keep what is there.
        if (ewv + Sb == 0.0) break;
        for (int s = 1; s <= n; ++s) {
            if (gefroren[static_cast<size_t>(s)] || !tag(s)) continue;
            const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
            const double te = z3[zdata::tein][m][s];
            d3.tf[m][s] = te + Sa * c.R2 / (ewv + Sb);
            d3.twfflag[s] = u'N';
            if (d3.tf[m][s] > twv) {
                d3.tf[m][s] = twv;
                d3.twfflag[s] = u'J';
            }
            if (d3.tf[m][s] < tk) {
                d3.tf[m][s] = tk;
                d3.nicht_optimieren = true;
                d3.wpausflag[s] = u'J';
            }
            d3.te[m][s] = te;
            d3.tf_s[m][s] = d3.tf[m][s];
            schritt_n(k, c, m, s, A);
            d3.er[m][s] = energie_aufteilung(k, d3.es[m][s] + d3.ls[m][s], d3.copww[m][s], te,
                                             d3.tf[m][s], twv, m, s);
            if (d3.etam[m][s] < 0.0) {
                gefroren[static_cast<size_t>(s)] = 1;
                fertig = false;
                d3.er[m][s] = 0.0;
                d3.es[m][s] = 0.0;
                d3.etam[m][s] = 0.0;
                d3.wpausflag[s] = u'J';
            }
            const double ho = z3[zdata::ho][m][s];
            durchfluss_intervall(k, A, ho > 0.0 ? d3.es[m][s] / ho : d3.es[m][s], m, s);
        }
    }
    if (!fertig) melde_keine_konvergenz(k, "Endreservoir", m);
    if (n >= 1) cop_setzen(k, m, n, d3.tf[m][n]);
    return durchlaeufe;
}

void kopplung_intervall(laufkontext& k, int m, int s, double P, double& monat) {
    ::date3& d3 = k.d3;
    cop_setzen(k, m, s, d3.tf[m][s]);
    // A heat pump that is off in the interval couples nothing; at its lower
    // COP limit the split would book the interval's whole demand as its
    // electricity.
    if (d3.wpausflag[s] == u'J') return;
    // End-reservoir coupling: the loop heats the cold water from tk toward the
    // supply temperature. An outflow at or below tk (the night overshoot of
    // the mean-temperature model, or air heat below the cold-water
    // temperature) gives the store nothing and would turn the split
    // negative: the loop is off for the interval.
    if (k.numchar[ndata::kopplungstyp] == "E" && d3.twfflag[s] == u'N' &&
        d3.tf[m][s] <= k.vdatz[zdata::tk][m]) {
        d3.es[m][s] = 0.0;
        d3.ls[m][s] = 0.0;
        d3.el_0[m][s] = 0.0;
        d3.etam[m][s] = 0.0;
        d3.vel[m][s] = 0.0;
        return;
    }
    const double e = energie_aufteilung(k, P, d3.copww[m][s], k.vdatz[zdata::tk][m], d3.tf[m][s],
                                        k.vdatz[zdata::twv][m], m, s);
    if (k.numchar[ndata::kollektorschritt_fertig] == "J") {
        d3.er[m][s] += e;
        monat += e;
    }
}
