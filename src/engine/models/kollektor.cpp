#include "engine/models/kollektor.h"

#include <algorithm>
#include <cmath>

#include "data/konstanten.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "engine/models/reservoir.h"
#include "engine/models/waermepumpe.h"
#include "engine/models/waermetauscher.h"

namespace {

double wurzel_oder_minus_eins(double radikand) {
    return radikand >= 0.0 ? std::sqrt(radikand) : -1.0;
}

void cop_setzen(laufkontext& k, int m, int s, double x) {
    besetze_cop(k.d, k.d3, k.vdatt, k.vdatz, k.pvdatz3, s, m, k.numchar, x, k.stoffe.kaeltemittel_record);
}

// Outflow temperature of the upper collector for the flow, as the kernels use it.
double austritt_oberer_kollektor(const laufkontext& k, double durchfluss, double te, double ta,
                                 double G) {
    const datt& v = k.vdatt;
    return austrittstemperatur(v, durchfluss, te, ta, G, v[tdata::kol_oben_quadratisch],
                               v[tdata::kol_oben_konversion], v[tdata::kol_oben_verlust],
                               v[tdata::flaeche_kol_oben]);
}

// The collector would leave the loop hotter than its limit (the supply
// temperature with intermediate coupling): it charges the store directly at
// the limit instead, from the store's cold end (the start values have set the
// inflow to the cold-water temperature and marked the interval 'J'), with no
// lift by the heat pump. Switching the loop off here would throw away the
// interval's best collector heat. Not for an interval whose inflow already
// lies above the supply temperature (the heat pump is off) or a plant without
// collector area.
// The pump holds the outflow at the limit: the flow is the one that carries
// the collector's heat at the efficiency of inflow te and outflow t_grenz.
bool an_der_grenze_laden(laufkontext& k, int m, int s, double A, double t_grenz) {
    ::date3& d3 = k.d3;
    datt& v = k.vdatt;
    if (A <= 0.0 || d3.twfflag[s] != u'J' || d3.wpausflag[s] != u'N') return false;
    if (ist_direktkopplung(k.numchar) || zwischenwaermetauscher_aktiv(k.numchar, v)) return false;
    const double G = k.pvdatz3[zdata::is0][m][s];
    const double ta = k.pvdatz3[zdata::ta][m][s];
    const double te = k.pvdatz3[zdata::tein][m][s];
    const double u = v[tdata::kollektorfluid_cpf] * v[tdata::kollektorfluid_dichte];
    if (!(G > 0.0) || !(t_grenz > te) || !(u > 0.0)) return false;
    const double leistung = wirkungsgrad(v, 'o', G, te, ta, t_grenz) * G * v[tdata::flaeche_kol_oben];
    if (!(leistung > 0.0)) return false;
    const double fluss = leistung / (u * (t_grenz - te));
    const double n = verhaeltnis_oder_eins(A, v[tdata::daf]);
    d3.vel[m][s] = fluss;
    d3.mcg[m][s] = n * u * fluss;
    d3.q_gesamt[m][s] = n * fluss * v[tdata::kollektorfluid_dichte];
    v[tdata::waermekapazitaetsstrom] = u * fluss;
    d3.tf[m][s] = t_grenz;
    d3.tf_s[m][s] = t_grenz;
    return true;
}

}  // namespace

kollektor_koeff kollektor_koeffizienten(const laufkontext& k, double A, int s, int m) {
    (void)A;
    const datt& v = k.vdatt;
    const double G = k.pvdatz3[zdata::is0][m][s];
    const double ta = k.pvdatz3[zdata::ta][m][s];
    const double te = k.pvdatz3[zdata::tein][m][s];
    const double kv = v[tdata::kol_oben_verlust], eta0 = v[tdata::kol_oben_konversion];
    const double twv = k.vdatz[zdata::twv][m], rwv = k.vdatz[zdata::rwv][m];
    kollektor_koeff c;
    if (G > 0.0) {
        c.X1 = 5.0 * kv / G;
        c.X2 = eta0 - 10.0 * kv * ta / G + 5.0 * kv * te / G;
    } else {
        c.X1 = 1e8;
        c.X2 = -1e8;
    }
    c.X3 = 5.0 * kv;
    c.X4 = G * eta0 - 10.0 * kv * ta + 5.0 * kv * te;
    c.X5 = G * eta0 - 10.0 * kv * ta;
    if (k.numchar[ndata::kopplungstyp] == "Z") {
        const double c1w = v[tdata::ww_c1], c2w = v[tdata::ww_c2];
        bool gebildet = true;
        if (k.numchar[ndata::luftwaermetauscher] == "L") {
            const double D = v[tdata::kollektorfluid_cpf] * v[tdata::kollektorfluid_dichte] * k.g_s();
            if (D != 0.0) {
                c.P28 = -(c1w / 2.0) * ((D - c.X3 * v[tdata::daf]) / D + 1.0);
                c.P2c = (c.X4 * v[tdata::daf] / D + twv + rwv) * c1w / 2.0 + c2w;
            } else {
                gebildet = false;  // no flow: the exchanger term has no value
            }
        } else {
            c.P28 = -c1w / 2.0;
            c.P2c = (twv + rwv - ta) * c1w / 2.0 + c2w;
        }
        c.R1 = (gebildet && c.X3 != 0.0 && c.P28 != 0.0)
                   ? wurzel_oder_minus_eins(c.P2c - c.X4 * c.P28 / c.X3)
                   : -1.0;
    }
    if (k.numchar[ndata::kopplungstyp] == "E" && G > 0.0) {
        c.R2 = c.X1 != 0.0 ? wurzel_oder_minus_eins(te * te - te * twv - (c.X2 / c.X1) * (twv - te))
                           : -1.0;
    }
    return c;
}

void kollektor_schritt(::date3& d3, const datz3& pvdatz3, int m, char variante, int s, double A,
                       double g, double h, double l, double mu) {
    const double G = pvdatz3[zdata::is0][m][s];
    const double ta = pvdatz3[zdata::ta][m][s];
    const double tf = d3.tf[m][s];
    const double tm = (tf + d3.tein[m][s]) / 2.0;
    d3.ls[m][s] = 0.0;
    d3.es[m][s] = 0.0;
    if (G > 0.0) {
        if (variante == 'a') d3.etam[m][s] = mu - h * tm;
        if (variante == 'n') d3.etam[m][s] = h + mu * tm;
    }
    if (tf >= ta) {
        d3.es[m][s] = A * d3.etam[m][s] * pvdatz3[zdata::ir][m][s];
    } else {
        // Outflow colder than the air: the collector also takes heat from it.
        d3.es[m][s] = A * g / 1000.0;
        d3.ls[m][s] = -A * l * (ta - tm) / 1000.0;
    }
}

double direkte_kopplung_intervall(laufkontext& k, int m, int s, double A) {
    ::date3& d3 = k.d3;
    const double twv = k.vdatz[zdata::twv][m];
    const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
    cop_setzen(k, m, s, d3.tf[m][s]);
    const double c_we = k.d.copwe[m];

    // Stationary point of eta(x) * (1/c_we - 1/COP(x)), COP(x) = P2c + P28 x.
    double x1 = 0.0, x2 = 0.0;
    char reell = 'n';
    const double nenner = -c.X1 * c.P28 * c.P28;
    if (c.P28 != 0.0 && nenner != 0.0) {
        const double b = 2.0 * c.P2c / c.P28;
        const double q =
            (-c.X1 * c.P2c * c.P2c - c.P28 * c.X2 * c_we + c.X1 * c.P2c * c_we) / nenner;
        reell = quadratische_gleichung(b, q, x1, x2);
    }
    if (reell == 'y') {
        if (x2 < twv) {
            d3.tf[m][s] = x2;
            d3.twfflag[s] = u'N';
        } else {
            d3.tf[m][s] = twv;
            d3.twfflag[s] = u'J';
        }
    } else {
        d3.tf[m][s] = k.pvdatz3[zdata::tein][m][s];
        d3.twfflag[s] = u'N';
    }
    const double te = k.pvdatz3[zdata::tein][m][s];
    if (d3.tf[m][s] < te) {
        const double ta = k.pvdatz3[zdata::ta][m][s];
        k.pvdatz3[zdata::tein][m][s] = ta;
        d3.tein[m][s] = ta;
        d3.tf[m][s] = ta;
    }
    if (d3.twfflag[s] == u'N') {
        const double tf = d3.tf[m][s];
        cop_setzen(k, m, s, tf);
        d3.copww[m][s] = c.P28 * tf + c.P2c;
        if (d3.copww[m][s] < 1.0) d3.copww[m][s] = 0.0;
        kollektor_schritt(d3, k.pvdatz3, m, 'n', s, A, c.X4, c.X2, c.X3, c.X1);
        d3.er[m][s] = energie_aufteilung(k, d3.es[m][s] + d3.ls[m][s], d3.copww[m][s],
                                         k.pvdatz3[zdata::tein][m][s], tf, twv, m, s);
    } else {
        d3.tf[m][s] = twv;
        kollektor_schritt(d3, k.pvdatz3, m, 'a', s, A, -c.X3, -c.X1, c.X4, c.X2);
        d3.er[m][s] = d3.es[m][s];
    }
    return d3.er[m][s];
}

double wirkungsgrad(datt& vdatt, char kollektor, double G, double t1, double ta, double t2) {
    double kv = vdatt[tdata::feld_verlust], eta0 = vdatt[tdata::feld_konversion], a2 = 0.0;
    if (kollektor == 'o') {
        kv = vdatt[tdata::kol_oben_verlust];
        eta0 = vdatt[tdata::kol_oben_konversion];
        a2 = vdatt[tdata::kol_oben_quadratisch];
    } else if (kollektor == 'u') {
        kv = vdatt[tdata::kol_unten_verlust];
        eta0 = vdatt[tdata::kol_unten_konversion];
        a2 = vdatt[tdata::kol_unten_quadratisch];
    }
    const double d = (t1 + t2) / 2.0 - ta;
    const double f = zehn_durch(G);
    vdatt[tdata::zehn_durch_g] = f;
    return eta0 + kv * d * f + a2 * d * d * f;
}

double wirkungsgrad_intervall(laufkontext& k, double& roh, int m, int s, double b, double G,
                              double t1, double ta, double t2) {
    (void)m;
    double eta = 0.0;
    if (ist_direktkopplung(k.numchar)) {
        const double eta0 = k.vdatt[tdata::kol_oben_konversion];
        eta = (b < 0.0 && G > 0.0) ? eta0 + b / G : eta0;
    } else {
        eta = wirkungsgrad(k.vdatt, 'q', G, t1, ta, t2);
    }
    roh = eta;
    if (eta < 0.0) {
        k.d3.wpausflag[s] = u'J';
        k.d3.eta_kleiner_null_flag[s] = u'J';
        return 0.0;
    }
    k.d3.eta_kleiner_null_flag[s] = u'N';
    return eta;
}

double austrittstemperatur(const datt& vdatt, double durchfluss, double te, double ta, double G,
                           double a2, double eta0, double kv, double A) {
    const double u = vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte] * durchfluss;
    if (G <= 0.0) {
        const double nenner = 5.0 * kv * A - u;
        if (nenner == 0.0) return ta;
        const double tf = (A * (10.0 * kv * ta - 5.0 * kv * te) - u * te) / nenner;
        return tf > ta ? ta : tf;
    }
    const double B = 2.5 * A * a2;
    if (a2 == 0.0 || B == 0.0) {
        const double f = zehn_durch(G);
        const double D = u - A * G * f * kv / 2.0;
        if (D == 0.0) return ta;
        return (A * G * (te * f * kv / 2.0 + eta0 - ta * f * kv) + u * te) / D;
    }
    // Energy balance of the fluid with the efficiency law of `wirkungsgrad`:
    // u (tf - te) = A (G eta0 + 10 k d + 10 a2 d^2), d = tf/2 - e, e = ta - te/2,
    // written as tf^2 + C tf + K = 0. With a2 < 0 the larger root is the one
    // on which the collector's heat grows slower than u (the stable point).
    const double e = ta - te / 2.0;
    const double C = (5.0 * A * kv - u - 10.0 * A * a2 * e) / B;
    const double K =
        (10.0 * A * a2 * e * e + u * te + A * G * eta0 - 10.0 * A * kv * ta + 5.0 * A * kv * te) / B;
    const double D = C * C / 4.0 - K;
    return D >= 0.0 ? std::sqrt(D) - C / 2.0 : ta;
}

double kollektor_startwerte_intervall(laufkontext& k, int m, int s, double A, double durchfluss,
                                      double t_vorgabe, int schritt) {
    datt& v = k.vdatt;
    ::date3& d3 = k.d3;
    const double G = k.pvdatz3[zdata::is0][m][s];
    const double ta = k.pvdatz3[zdata::ta][m][s];
    v[tdata::zehn_durch_g] = zehn_durch(G);
    v[tdata::waermekapazitaetsstrom] =
        v[tdata::kollektorfluid_cpf] * v[tdata::kollektorfluid_dichte] * durchfluss;
    double t_grenz = k.numchar[ndata::kopplungstyp] == "E" ? 100.0 : k.vdatz[zdata::twv][m];

    if (!ist_direktkopplung(k.numchar)) {
        k.pvdatz3[zdata::tein][m][s] = eintrittstemperatur_intervall(k, schritt, s, m, t_vorgabe, A);
        if (!zwischenwaermetauscher_aktiv(k.numchar, v)) {
            d3.tf_s[m][s] = austritt_oberer_kollektor(k, d3.vel[m][s], t_vorgabe, ta, G);
            d3.tf[m][s] = d3.tf_s[m][s];
        }
        if (t_grenz <= d3.tf_s[m][s]) {
            d3.twfflag[s] = u'J';
            k.pvdatz3[zdata::tein][m][s] = k.vdatz[zdata::tk][m];
        }
    }
    if (A <= 0.0) {
        d3.tf_s[m][s] = k.pvdatz3[zdata::tein][m][s];
        d3.tf[m][s] = d3.tf_s[m][s];
    } else {
        zwischenwaermetauscher_aktiv(
            k.numchar, v);  // for its effect on vdatt[tdata::eta_luftwt], vdatt[tdata::eta_gegenstromwt]
    }
    if (k.numchar[ndata::kopplungstyp] == "Z") t_grenz = k.vdatz[zdata::twv][m];
    if (d3.tf[m][s] > t_grenz) {
        if (!an_der_grenze_laden(k, m, s, A, t_grenz)) {
            d3.wpausflag[s] = u'J';
            return t_grenz;
        }
    }
    cop_setzen(k, m, s, d3.tf[m][s]);
    if (A <= 0.0 || G <= 0.0) {
        d3.etam[m][s] = 0.0;
    } else {
        const double t2 = zwischenwaermetauscher_aktiv(k.numchar, v) ? d3.tf_s[m][s] : d3.tf[m][s];
        double roh = 0.0;
        d3.etam[m][s] =
            wirkungsgrad_intervall(k, roh, m, s, d3.el_leistung[m][s], G, d3.tein[m][s], ta, t2);
    }
    return t_grenz;
}

double eintrittstemperatur_intervall(laufkontext& k, int i, int s, int m, double t_vorgabe,
                                     double A) {
    datt& v = k.vdatt;
    ::date3& d3 = k.d3;
    const flagchar& nc = k.numchar;
    const double ta = k.pvdatz3[zdata::ta][m][s];
    const double G = k.pvdatz3[zdata::is0][m][s];
    const double twv = k.vdatz[zdata::twv][m];
    const bool zeitschritt = ist_zeitschrittverfahren(nc);
    const double dt_i = k.delta_t(i);

    double T = ta;
    if (zeitschritt) {
        k.pvdatz3[zdata::tt][m][s] = t_vorgabe;
        T = t_vorgabe;
    }
    if (nc[ndata::kopplungsart] == "A" && !zeitschritt) {
        k.pvdatz3[zdata::tt][m][s] = ta + dt_i;
        T = k.pvdatz3[zdata::tt][m][s];
    }
    if (nc[ndata::kopplungstyp] == "Z") {
        if (nc[ndata::kopplungsart] == "K" && A > 0.0) {
            // Heat pump at nominal power P on the collector loop.
            d3.cflag[s] = u'J';
            const double P = v[tdata::ww_leistung];
            const double W =
                v[tdata::kollektorfluid_cpf] * v[tdata::kollektorfluid_dichte] * d3.vel[m][s] * k.pl.n;
            const kollektor_koeff c = kollektor_koeffizienten(k, A, s, m);
            const double Q = (twv + konst::ABSOLUT_NULL) / (k.pvdatz3[zdata::tt][m][s] + konst::ABSOLUT_NULL);
            const double nenner = -2.0 * c.X3 * Q * W + c.X3 * P * c.P28 + P * c.P28 * W / A;
            // Without flow or with a degenerate balance the temperature stays as it is.
            if (nenner != 0.0 && Q * W != 0.0) {
                d3.tf_s[m][s] = (c.X5 * Q * W - c.X3 * P * c.P2c - P * c.P2c * W / A) / nenner;
                T = d3.tf_s[m][s] * (1.0 - P * c.P28 / (Q * W)) - P * c.P2c / (Q * W);
            }
        } else if (zwischenwaermetauscher_aktiv(nc, v)) {
            double X = 0.0, r = 0.0;
            zwischenwaermetauscher_intervall(k, X, T, r, k.pvdatz3[zdata::tt][m][s], A, G, ta, s,
                                             m);
        }
        if (nc[ndata::kopplungsart] == "E") {
            d3.minmc = d3.mcg[m][s];
            T = std::max(ta, k.vdatz[zdata::te][m]);
            d3.ta_s[m][s] = k.vdatz[zdata::te][m];
        }
        if (ist_direktkopplung(nc) && !zeitschritt) T = ta + dt_i;
    }
    if (nc[ndata::kopplungstyp] == "E") {
        if (zwischenwaermetauscher_aktiv(nc, v)) {
            double X = 0.0, r = 0.0;
            zwischenwaermetauscher_intervall(k, X, T, r, k.vdatz[zdata::tk][m], A, G, ta, s, m);
        } else {
            T = k.vdatz[zdata::tk][m];
        }
    }
    const double F =
        ist_direktkopplung(nc) ? v[tdata::wpfluid_gefrierpunkt] : v[tdata::kollektorfluid_gefrierpunkt];
    if (nc[ndata::kopplungsart] == "K") {
        const double tfs = d3.tf_s[m][s];
        if (F > T || T > ta || tfs > twv || (tfs > ta && G == 0.0)) d3.nicht_optimieren = true;
    } else if (F > T) {
        if (zeitschritt) {
            T = F;
        } else {
            d3.nicht_optimieren = true;
            T = ta;
        }
    }
    if (T > twv) {
        d3.wpausflag[s] = u'J';
        T = twv;
    }
    return T;
}

void feldkennwerte_intervall(laufkontext& k, int m, int s, double x) {
    datt& v = k.vdatt;
    const double mcg = k.d3.mcg[m][s];
    if (k.numchar[ndata::anzahl_kollektoren] != "E" && x != 0.0 && mcg > 0.0 && v[tdata::daf] != 0.0) {
        const double ko = v[tdata::kol_oben_verlust], eo = v[tdata::kol_oben_konversion],
                     Ao = v[tdata::flaeche_kol_oben];
        const double ku = v[tdata::kol_unten_verlust], eu = v[tdata::kol_unten_konversion],
                     Au = v[tdata::flaeche_kol_unten];
        v[tdata::feld_verlust] = (ko * Ao + ku * Au - 10.0 * ku * ko * Ao * Au / mcg) / v[tdata::daf];
        v[tdata::feld_konversion] = (eo * Ao + eu * Au - 10.0 * eo * Ao * Au * ku / mcg) / v[tdata::daf];
    } else {
        v[tdata::feld_verlust] = v[tdata::kol_oben_verlust];
        v[tdata::feld_konversion] = v[tdata::kol_oben_konversion];
    }
}

void kollektorgewinne_intervall(laufkontext& k, int m, int s, double A, double x, double& summe) {
    ::date3& d3 = k.d3;
    const flagchar& nc = k.numchar;
    const std::string& typ = nc[ndata::kopplungsart];
    const double h = k.pvdatz3[zdata::ho][m][s] * x;
    const double n = verhaeltnis_oder_eins(A, k.vdatt[tdata::daf]);
    const double ir = k.pvdatz3[zdata::ir][m][s];
    const double G = k.pvdatz3[zdata::is0][m][s];

    summe = 0.0;
    double ls = 0.0;
    double es = A * d3.etam[m][s] * x * ir;
    if (A > 0.0) {
        if (typ == "E") {
            // minmc is the whole field's heat-capacity flow (mcg): no second
            // factor of the unit count.
            ls = (k.pvdatz3[zdata::tein][m][s] - k.pvdatz3[zdata::tt][m][s]) * d3.minmc / 1000.0 * h;
        }
        if (typ == "L" || typ == "F") {
            if (G <= 0.0 && nc[ndata::luftwaermetauscher] == "N") {
                ls = 0.0;
            } else if (typ == "L") {
                ls = (d3.ta_s[m][s] - d3.te[m][s]) * d3.minmc * n / 1000.0 * h;
            }
        }
        if (ist_direktkopplung(nc)) {
            ls = d3.ls[m][s];
            summe += ls + es;
            es = 0.0;
            ls = 0.0;
        }
        if (typ == "A" || typ == "K" || typ == "F") {
            const double t_aus =
                zwischenwaermetauscher_aktiv(nc, k.vdatt) ? d3.tf_s[m][s] : d3.tf[m][s];
            double q_f = 0.0;
            ls = luftpfad_intervall(k, m, s, A, x, t_aus, q_f);
            // The air path gives powers (kW) when air moves over the collector
            // (wind or fan) and the heat of the interval otherwise; the heat
            // into the fluid and the optical gain are powers. The interval's
            // gains are energies over its h hours.
            if (ist_erzwungen(nc) || k.vdatt[tdata::mittlerer_wind] > 0.0) ls *= h;
            q_f *= h;
            if (ls >= 0.0 && ir > 0.0) {
                if (mittlere_eintrittstemperatur(d3, m, s) < k.pvdatz3[zdata::ta][m][s]) {
                    es = k.vdatt[tdata::kol_oben_konversion] * G * A / 1000.0 * h;
                    ls = q_f - es;
                } else {
                    es = q_f - ls;
                }
            }
        }
    }
    summe += es + ls;
    d3.es[m][s] = es;
    d3.ls[m][s] = ls;
    if (!ist_zeitschrittverfahren(nc)) {
        k.d.es[m] += es;
        k.d.ls[m] += ls;
    }
    // Icing of the collector surface: ls is the heat of the period, handed on
    // as its mean power in W.
    if (h > 0.0) {
        vereisung(k.vdatt, k.stoffe.stoffdaten_luft_record, h, d3.tf_s[m][s],
                  k.pvdatz3[zdata::tein][m][s], k.pvdatz3[zdata::ta][m][s], 1000.0 * ls / h, A,
                  d3.ereif[m][s]);
    }
}

void waermepumpe_aus_intervall(::date3& d3, const datz3& pvdatz3, int m, int s, double x) {
    if (d3.wpausflag[s] == u'J' && d3.twfflag[s] == u'N' && x <= 1.0) {
        d3.vel[m][s] = 0.0;
        d3.tf[m][s] = pvdatz3[zdata::tein][m][s];
        d3.tf_s[m][s] = d3.tf[m][s];
        d3.etam[m][s] = 0.0;
    }
}

double kennlinien_austrittstemperatur(laufkontext& k, int m, int s, double durchfluss, double te,
                                      double ta, double G) {
    if (ist_direktkopplung(k.numchar)) return te;
    ::date3& d3 = k.d3;
    double ergebnis = 0.0, vergleich = 0.0;
    if (zwischenwaermetauscher_aktiv(k.numchar, k.vdatt)) {
        ergebnis = k.numchar[ndata::kopplungstyp] == "E" ? d3.tf_s[m][s] - d3.te[m][s] + k.vdatz[zdata::tk][m]
                                                         : k.pvdatz3[zdata::tt][m][s];
        vergleich = d3.tf_s[m][s];
    } else {
        ergebnis = austritt_oberer_kollektor(k, durchfluss, te, ta, G);
        vergleich = ergebnis;
    }
    if (te > vergleich && durchfluss > 0.0) d3.nicht_optimieren = true;
    return ergebnis;
}
