#include "engine/models/luftkollektor.h"

#include <algorithm>
#include <cmath>

#include "data/konstanten.h"
#include "engine/models/ventilatorgesetz.h"
#include "engine/models/waermepumpe.h"
#include "lang/meldung.h"

namespace {

bool luft_bewegt(const laufkontext& k, bool erzwungen) {
    return erzwungen || k.vdatt[tdata::mittlerer_wind] > 0.0;
}

}  // namespace

double breite_Kollektorfeld(double flaeche, double bul, double& gesamt_laenge) {
    gesamt_laenge = std::sqrt(flaeche / bul);
    return std::sqrt(flaeche * bul);
}

double Reynold(double geschwindigkeit, double durchmesser, double kin_viskositaet) {
    return geschwindigkeit * durchmesser / kin_viskositaet;
}

double berechne_alpha_quer(laufkontext& k, double theta, double flaeche, double ta,
                           double tf_store, const stoffdaten_luft& lr, bool heizung, int m,
                           int s, luftdaten& vluftdaten_ta, double& w) {
    datt& v = k.vdatt;
    ::date3& d3 = k.d3;
    kollektor& ko = k.pl.oberer_kollektor;
    const double bul = ko.bul.wert;
    v[tdata::kol_unten_verlust] = 0.0;
    const bool nat = k.kol.einalpha == "n";
    const bool erzw_einheit = k.kol.einwindtkoef == "n";
    double nu_mix = 0.0;

    if (nat || erzw_einheit) {
        const bool erzwungen =
            (k.numchar[ndata::kopplungsart] == "DKF" && !heizung) || k.numchar[ndata::kopplungsart] == "F";
        luftdaten_bei(lr, ta, vluftdaten_ta);
        const double lambda = vluftdaten_ta[3], nue = vluftdaten_ta[4];
        double L = 0.0;
        const double B = flaeche > 0.0 && bul > 0.0 ? breite_Kollektorfeld(flaeche, bul, L) : 0.0;
        const double h = k.pl.kollektorventilator.hoeheventilator.wert;
        const double Lc = B > 0.0 ? B * L / (2.0 * (B + L)) : 0.0;
        // Without a field geometry or air properties no coefficient can be
        // formed; the data-sheet values stay in force.
        if (Lc > 0.0 && lambda > 0.0 && nue > 0.0) {
            const double th = konst::grad_in_rad(theta);
            const double Pr = LUFT_PRANDTL;
            double nu_nat = 0.0, nu2 = 0.0;
            if (nat) {
                const double tm = (d3.tein[m][s] + tf_store) / 2.0;
                const double Gr = konst::ERDBESCHLEUNIGUNG * std::fabs(tm - ta) /
                                  ((ta + konst::ABSOLUT_NULL) * nue * nue) * Lc * Lc * Lc;
                // A field tilted beyond the vertical has no upward-facing
                // surface left for this correlation.
                const double Ra_s = std::max(0.0, Gr * Pr * std::cos(th));
                const double f2 = std::pow(1.0 + std::pow(0.322 / Pr, 0.55), -20.0 / 11.0);
                const double nu1 = 0.6 * std::pow(0.348 * Ra_s, 0.2);
                nu2 = ko.RelFlaecheUnten.wert * 0.15 * std::pow(Ra_s * f2, 0.33);
                nu_nat = nu1 + nu2;
            } else {
                nu_nat = -10.0 * v[tdata::kol_oben_verlust] * Lc / lambda;
            }
            double nu_f = 0.0;
            if (luft_bewegt(k, erzwungen) && erzw_einheit) {
                const double volluft = fluftstrom(k, m, s, B, h);
                d3.volluft[m][s] = volluft;
                w = B * h > 0.0 ? volluft / (B * h) : 0.0;
                d3.v_luft[m][s] = w;
                if (w > 0.0) {
                    const double Re = Reynold(w, Lc, nue);
                    if (Re < 100000.0) {
                        nu_f = 0.664 * std::sqrt(Re) * std::cbrt(Pr);
                    } else {
                        nu_f = 0.037 * std::pow(Re, 0.8) * Pr /
                               (1.0 + 2.443 * std::pow(Re, -0.1) * (std::pow(Pr, 2.0 / 3.0) - 1.0));
                    }
                    nu_f *= ko.RelFlaecheUnten.wert;
                }
            }
            nu_mix = std::cbrt(nu2 * nu2 * nu2 + nu_f * nu_f * nu_f);
            if (nu2 > nu_mix) nu_mix = nu2;
            v[tdata::kol_oben_verlust] = -nu_nat * lambda / (10.0 * Lc);
            v[tdata::kol_unten_verlust] = -nu2 * lambda / (10.0 * Lc);
            if (luft_bewegt(k, erzwungen) && d3.v_luft[m][s] > 0.0) {
                ko.windtkoef.wert = (nu_mix - nu2) * lambda / (Lc * d3.v_luft[m][s]);
            } else {
                ko.windtkoef.wert = 0.0;
            }
        }
    }
    d3.a1_skm_oben[m][s] = -10.0 * v[tdata::kol_oben_verlust];
    d3.a3_erz[m][s] = ko.windtkoef.wert;
    return nu_mix;
}

double fluftstrom(const laufkontext& k, int m, int s, double gesamt_breite, double hoehe) {
    const std::string& typ = k.numchar[ndata::kopplungsart];
    if (typ == "DKF") return k.vdatt[tdata::volstrom_luft];
    if (typ == "L" || typ == "F") return k.d3.mcg[m][s] / LUFT_VOL_WAERME;
    if (typ == "A")
        return k.vdatt[tdata::mittlerer_wind] > 0.0 ? k.vdatt[tdata::mittlerer_wind] * gesamt_breite * hoehe
                                                    : 0.0;
    return 0.0;
}

double wpkonvekt(const laufkontext& k, double relative_dauer, double tf_kollektor, double flaeche,
                 int m, int s) {
    const double U = -10.0 * k.vdatt[tdata::kol_oben_verlust];
    return U * (k.pvdatz3[zdata::ta][m][s] - (tf_kollektor + k.d3.tein[m][s]) / 2.0) *
           relative_dauer * k.pvdatz3[zdata::ho][m][s] * flaeche;
}

void Parameter_fuer_tf(double& x1, double& x2, double& x3, double& x4, const laufkontext& k, int m,
                       int s, double flaeche, double te_store) {
    const datt& v = k.vdatt;
    const double G = k.pvdatz3[zdata::is0][m][s];
    const double ta = k.pvdatz3[zdata::ta][m][s];
    const double mcg = k.d3.mcg[m][s];
    const double kw = k.pl.oberer_kollektor.windtkoef.wert;
    const double kb = k.pl.oberer_kollektor.windkoef.wert;
    x1 = 10.0 * v[tdata::kol_oben_verlust] * (te_store / 2.0 - ta) + v[tdata::kol_oben_konversion] * G +
         te_store * mcg / flaeche;
    x2 = -kb * G - kw * (te_store / 2.0 - ta);
    x3 = mcg / flaeche - 5.0 * v[tdata::kol_oben_verlust];
    x4 = kw / 2.0;
}

double berechne_tf_store(double x1, double x2, double x3, double x4, double vl) {
    return (x1 + x2 * vl) / (x3 + x4 * vl);
}

void berechne_vl(laufkontext& k, int m, int s, double flaeche, double relative_dauer,
                 double cop_tf_twv, double cop2, double& tf_store, double& el, double& wind,
                 bool erzwungen) {
    datt& v = k.vdatt;
    ::date3& d3 = k.d3;
    const double mcg = d3.mcg[m][s];
    const double ta = k.pvdatz3[zdata::ta][m][s];
    const double G = k.pvdatz3[zdata::is0][m][s];
    double vl = 0.0;
    el = 0.0;
    if (flaeche <= 0.0) {
        // No collector: no air path.
        d3.volluft[m][s] = 0.0;
        d3.v_luft[m][s] = 0.0;
        wind = 0.0;
        return;
    }
    double te = d3.te[m][s];
    double t_vorher = d3.tf_s[m][s];
    double x1 = 0.0, x2 = 0.0, x3 = 0.0, x4 = 0.0;

    if (luft_bewegt(k, erzwungen)) {
        bool konvergiert = false;
        for (int schritt = 1; schritt <= MAX_GESCHWINDIGKEITSSCHRITTE; ++schritt) {
            Parameter_fuer_tf(x1, x2, x3, x4, k, m, s, flaeche, te);
            if (v[tdata::relpump_luft] > 0.0 && erzwungen) {
                double y0 = 0.0;
                volluft_aus_v(k.pl, y0, 0.0, flaeche);
                const double P1 = berechne_elp_l(d3, v, y0, m, s);
                // Equal COPs: the fan power would be worth nothing against
                // heat, so the fan stays off.
                const double dcop = cop2 - cop_tf_twv;
                const double P = dcop != 0.0 ? P1 * cop_tf_twv * cop2 / dcop : 0.0;
                const double K = (x2 * x3 - x1 * x4) * mcg;
                vl = 0.0;
                if (k.pl.oberer_kollektor.windtkoef.wert > 0.01 && P != 0.0 && x4 != 0.0) {
                    const double r = x3 / x4;
                    const double koeff[5] = {K / (3.0 * P * x4 * x4), 0.0, r * r, 2.0 * r, 1.0};
                    TCompVector z{};
                    nullstellen_quartisch(koeff, z);
                    for (int i = 1; i <= 4; ++i) {
                        if (z[i].Re > 0.0 && z[i].Im == 0.0) vl = z[i].Re;
                    }
                }
            } else {
                vl = 10.0;
            }
            if (v[tdata::mittlerer_wind] > 0.0 && !erzwungen) vl = v[tdata::mittlerer_wind];
            const double nenner = x3 + x4 * vl;
            tf_store = nenner != 0.0 ? berechne_tf_store(x1, x2, x3, x4, vl) : te;
            te = (1.0 - v[tdata::eta_gegenstromwt]) * tf_store + v[tdata::eta_gegenstromwt] * d3.tf[m][s];
            // Relative change against the new temperature; within 1 K of 0 °C
            // it is measured in kelvin, so that the test stays defined there.
            const double bezug = std::max(std::fabs(tf_store), 1.0);
            const double rel = std::fabs(tf_store - t_vorher) / bezug;
            t_vorher = tf_store;
            if (rel < 0.1) {
                konvergiert = true;
                break;
            }
        }
        if (!konvergiert) {
            meldung("Warnung: Luftgeschwindigkeit konvergiert nicht (Monat " + std::to_string(m) +
                        ", Intervall " + std::to_string(s) + ").",
                    k.numchar[ndata::meldungsmodus], 'W');
        }
        if (vl > 0.001) {
            d3.te[m][s] = te;
            d3.tf_s[m][s] = tf_store;
        }
        double y0 = 0.0;
        const double volluft = volluft_aus_v(k.pl, y0, vl, flaeche);
        d3.volluft[m][s] = volluft;
        d3.v_luft[m][s] = vl;
        const double q_luft = LUFT_VOL_WAERME * volluft * (tf_store - d3.te[m][s]);
        const double q_fl = (tf_store - d3.te[m][s]) * mcg;
        if (tf_store > ta && G == 0.0) tf_store = ta;
        double q = 0.0;
        if (q_fl <= q_luft) {
            q = (tf_store - d3.te[m][s]) * mcg;
        } else {
            // The fluid would take more heat than the air brings.
            q = 10.0 * (v[tdata::kol_oben_verlust] - v[tdata::kol_unten_verlust]) * flaeche *
                    ((tf_store + d3.te[m][s]) / 2.0 - ta) +
                q_luft;
        }
        el = q / 1000.0;
    } else {
        vl = 0.0;
        d3.volluft[m][s] = 0.0;
        d3.v_luft[m][s] = 0.0;
        Parameter_fuer_tf(x1, x2, x3, x4, k, m, s, flaeche, d3.te[m][s]);
        tf_store = x3 != 0.0 ? x1 / x3 : d3.te[m][s];
        el = wpkonvekt(k, relative_dauer, tf_store, flaeche, m, s) / 1000.0;
    }
    wind = vl;
    if (el < 0.0) el = 0.0;
}

double luftkollektor_intervall(laufkontext& k, int m, int s, double relative_dauer, double A,
                               double alpha_quer, double& tf_store) {
    (void)alpha_quer;
    const bool erzwungen = ist_erzwungen(k.numchar);
    double el = 0.0, wind = 0.0;
    berechne_vl(k, m, s, A, relative_dauer, k.d3.copww[m][s], k.d.copwe[m], tf_store, el, wind,
                erzwungen);
    return el;
}

double luftpfad_intervall(laufkontext& k, int m, int s, double A, double relative_dauer,
                          double t_start, double& q_fluid) {
    ::date3& d3 = k.d3;
    const int durchlaeufe = (k.kol.einalpha == "n" && k.kol.einwindtkoef == "n") ? 2 : 1;
    const double ta = k.pvdatz3[zdata::ta][m][s];
    double t_aus = t_start;
    double waerme = 0.0;
    for (int iter = 1; iter <= durchlaeufe; ++iter) {
        luftdaten ld{};
        double w = 0.0;
        const double alpha = berechne_alpha_quer(k, k.vdatt[tdata::theta_s], A, ta, t_aus,
                                                 k.stoffe.stoffdaten_luft_record, true, m, s, ld, w);
        waerme = luftkollektor_intervall(k, m, s, relative_dauer, A, alpha, t_aus);
        besetze_cop(k.d, d3, k.vdatt, k.vdatz, k.pvdatz3, s, m, k.numchar, t_aus,
                    k.stoffe.kaeltemittel_record);
    }
    double ergebnis = 0.0;
    if (ta > mittlere_eintrittstemperatur(d3, m, s)) {
        ergebnis = waerme;
        d3.tf[m][s] = t_aus;
        d3.tf_s[m][s] = t_aus;
    }
    q_fluid = (d3.tf_s[m][s] - d3.te[m][s]) * d3.mcg[m][s] / 1000.0;
    return ergebnis;
}

bool zwischenwaermetauscher_aktiv(const flagchar& numchar, datt& vdatt) {
    bool r = false;
    const std::string& typ = numchar[ndata::kopplungsart];
    if ((typ == "L" || typ == "F" || typ == "A" || typ == "K") && numchar[ndata::kopplungstyp] == "Z") {
        r = true;
        if (numchar[ndata::gegenstrom] == "K") {
            vdatt[tdata::eta_luftwt] = 1.0;
            vdatt[tdata::eta_gegenstromwt] = 1.0;
        }
    }
    if (numchar[ndata::kopplungstyp] == "E" && numchar[ndata::anzahl_kollektoren] == "E") {
        vdatt[tdata::eta_luftwt] = 0.0;
        r = numchar[ndata::gegenstrom] != "K";
    }
    if (typ == "DK" || typ == "DKF" || numchar[ndata::rechenart] == "A") r = false;
    return r;
}
