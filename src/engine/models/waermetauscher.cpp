#include "engine/models/waermetauscher.h"

#include <cmath>

#include "data/konstanten.h"
#include "engine/models/kollektor.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "engine/models/waermepumpe.h"

namespace {

constexpr double EIS_DICHTE = 916.7;         // kg/m³
constexpr double ABTAU_KWH_PRO_KG = 0.0925;  // defrost energy per kg of ice
const double LN_ZEHNTEL = -std::log(1.0 - 0.9);

}  // namespace

double alpha_ringspalt(const laufkontext& k, int m, int s, double A) {
    const gegenstrom_waermetauscher& wt = k.pl.gegenstromwt;
    if (k.numchar[ndata::gegenstrom] != "G") return wt.alpha.wert;
    const luftdaten f =
        luftdaten_bei(k.pl.kaeltemittel_kollektoren.stoffdaten_fluid_record,
                      k.pvdatz3[zdata::tt][m][s]);
    const double rho = f[1], cp = f[2], lambda = f[3], nue = f[4];
    const double D2 = wt.rohr_aussen_D2.wert, D1 = wt.rohr_innen_D1.wert;
    const double S = konst::PI * (D2 * D2 - D1 * D1) / 4.0;
    const double d = D2 - D1;
    // Without an annulus or fluid properties there is no coefficient.
    if (S <= 0.0 || d <= 0.0 || lambda <= 0.0 || nue <= 0.0) return 0.0;
    const double Pr = nue * rho * cp / lambda;
    const double v = verhaeltnis_oder_eins(A, k.vdatt[tdata::daf]) * k.d3.vel[m][s] / S;
    const double Re = Reynold(v, d, nue);
    double Nu = 3.66;
    if (Re > 2320.0) {
        const double xi = std::pow(1.8 * std::log10(Re) - 1.5, -2.0);
        Nu = (xi / 8.0) * Re * Pr / (1.0 + 12.7 * std::sqrt(xi / 8.0) * (std::pow(Pr, 2.0 / 3.0) - 1.0));
    }
    return Nu * lambda / d;
}

void waermetauscher_wirkungsgrad(laufkontext& k, int m, int s, double A) {
    const gegenstrom_waermetauscher& wt = k.pl.gegenstromwt;
    const double flaeche = (k.numchar[ndata::kopplungstyp] == "Z" && k.numchar[ndata::gegenstrom] == "G")
                               ? wt.austauschflaeche.wert
                               : k.pl.zwischenspeicher.austauschflaeche.wert;
    const kaeltemittel& fl = k.pl.kaeltemittel_kollektoren;
    const double C = k.d3.vel[m][s] * fl.dichte.wert * fl.spezifische_waerme_cpf.wert;
    const double U = wt.typ == "PW" ? wt.alpha.wert : alpha_ringspalt(k, m, s, A);
    const double NTU = C > 0.0 ? U * flaeche / C : 0.0;
    const bool gilt = (k.numchar[ndata::kopplungstyp] == "Z" &&
                       (k.numchar[ndata::gegenstrom] == "G" || k.numchar[ndata::gegenstrom] == "R")) ||
                      k.numchar[ndata::kopplungstyp] == "E";
    if (!gilt) return;
    k.d3.etagwt[m][s] = 1.0 - std::exp(-NTU);
    k.d3.agwt[m][s] = U > 0.0 ? LN_ZEHNTEL * C / U : 0.0;
}

double wasserdampfdichte(double t, double M, double p) {
    return p * M / ((t + konst::ABSOLUT_NULL) * konst::GASKONSTANTE_DAMPF);
}

void vereisung(const datt& vdatt, const stoffdaten_luft& luft, double stunden, double t1,
               double t2, double t_luft, double Q, double flaeche, double& summe) {
    if (!(t1 < 0.0)) return;
    double F_e = flaeche, t_m = t1;
    if (t1 < t2 && t2 > 0.0) {
        F_e = flaeche * t1 / (t1 - t2);
        t_m = t1 / 2.0;
    } else if (t1 < t2) {
        t_m = (t1 + t2) / 2.0;
    }
    const luftdaten ls = luftdaten_bei(luft, t_m);
    const luftdaten la = luftdaten_bei(luft, t_luft);
    const double p_v = vdatt[tdata::mittlere_feuchte] * la[5];
    if (!(ls[5] < p_v)) return;  // air too dry: no frost
    const double M = vdatt[tdata::wpfluid_mol];
    const double x_a = wasserdampfdichte(t_luft, M, p_v);
    const double x_s = wasserdampfdichte(t_m, M, ls[5]);
    const double H_a = (la[1] * la[2] + 4218.0 * x_a) * (t_luft + konst::ABSOLUT_NULL);
    const double H_s = (ls[1] * ls[2] + 4218.0 * x_s) * (t_m + konst::ABSOLUT_NULL);
    const double nenner = H_a - H_s + 2853000.0 * (x_a - x_s);
    if (nenner == 0.0) return;
    const double V = Q / nenner;
    const double eis = (x_a - x_s) * V;
    const double d = F_e > 0.0 ? eis * stunden * konst::SEKUNDEN_PRO_STUNDE / (F_e * EIS_DICHTE) : 0.0;
    summe += d * F_e * EIS_DICHTE * ABTAU_KWH_PRO_KG;
}

void nachtenergie_luft(laufkontext& k, int m, double A, double delta_t) {
    const datz& z = k.vdatz;
    ::date& d = k.d;
    datt& v = k.vdatt;
    double roh = 0.0;
    const double twv = z[zdata::twv][m];
    const double cop_n = berechne_cop(v, z, 'W', z[zdata::mtn][m], twv, k.numchar, roh, k.d3, m, 0,
                                      k.stoffe.kaeltemittel_record);
    const std::string& typ = k.numchar[ndata::kopplungsart];
    const double gdn = z[zdata::gdn][m], gdt = z[zdata::gdt][m];
    if (typ == "L" || typ == "F" || typ == "E") {
        d.espeicher_luft[m] = A * 10.0 * v[tdata::kol_oben_verlust] * delta_t * gdn / 1000.0;
        d.espeicher_luft_quot[m] = 1.0 / cop_n;
    } else {
        d.espeicher_luft[m] = v[tdata::ww_leistung] * cop_n * gdn / 1000.0;
        d.espeicher_luft_quot[m] = 1.0 / cop_n;
        if (A == 0.0) {
            const double cop_d = berechne_cop(v, z, 'W', z[zdata::ta][m], twv, k.numchar, roh, k.d3, m, 0,
                                              k.stoffe.kaeltemittel_record);
            d.espeicher_luft[m] += v[tdata::ww_leistung] * cop_d * gdt / 1000.0;
            if (gdn + gdt > 0.0) {
                d.espeicher_luft_quot[m] = 1.0 / ((gdn * cop_n + gdt * cop_d) / (gdn + gdt));
            }
        }
    }
    // Icing over the night hours: the surface runs delta_t from the mean
    // night temperature and takes the night energy from the air.
    if (gdn > 0.0) {
        const double t_flaeche = z[zdata::mtn][m] + delta_t;
        vereisung(v, k.stoffe.stoffdaten_luft_record, gdn, t_flaeche, t_flaeche, z[zdata::mtn][m],
                  1000.0 * d.espeicher_luft[m] / gdn, A, d.ereif_nacht[m]);
    }
}

void speicher_wt_laenge(const datz& vdatz, const datz3& pvdatz3, const speicher& puffer,
                        ::date3& d3, int m, int s) {
    const double dt = vdatz[zdata::twv][m] - vdatz[zdata::rwv][m];
    const double ho = pvdatz3[zdata::ho][m][s];
    const double nenner = puffer.alpha.wert * konst::PI * puffer.rohr_aussen.wert;
    // No temperature spread, no duration or no pipe: no length can be given.
    if (dt == 0.0 || ho == 0.0 || nenner == 0.0) {
        d3.lspwt[m][s] = 0.0;
        return;
    }
    const double C = 1000.0 * d3.er[m][s] / (dt * ho);
    d3.lspwt[m][s] = LN_ZEHNTEL * C / nenner;
}

void speicher_wt_laenge(laufkontext& k, int m, int s) {
    speicher_wt_laenge(k.vdatz, k.pvdatz3, k.pl.pufferspeicher, k.d3, m, s);
}

double kleinster_kapazitaetsstrom(::date3& d3, int m, int s, const flagchar& numchar,
                                  const datt& vdatt) {
    (void)vdatt;
    const std::string& typ = numchar[ndata::kopplungsart];
    if (typ == "L" || typ == "F" || typ == "E") {
        d3.mcl = d3.volluft[m][s] * 1.29 * 1008.0;
        return d3.mcl > d3.mcg[m][s] ? d3.mcg[m][s] : d3.mcl;
    }
    d3.mcl = 0.0;
    return d3.mcg[m][s];
}

void zwischenwaermetauscher_intervall(laufkontext& k, double& X, double& T, double& r,
                                      double t_quelle, double A, double G, double ta, int s,
                                      int m) {
    datt& v = k.vdatt;
    ::date3& d3 = k.d3;
    const flagchar& nc = k.numchar;
    const double C = d3.mcg[m][s];
    if ((nc[ndata::kopplungsart] == "L" || nc[ndata::kopplungsart] == "F") &&
        nc[ndata::kopplungstyp] != "E") {
        if (t_quelle < ta && !(G == 0.0 && nc[ndata::luftwaermetauscher] == "N")) {
            d3.volluft[m][s] = fluftstrom(k, m, s, 0.0, 0.0);
        } else {
            d3.volluft[m][s] = 0.0;
        }
        d3.minmc = kleinster_kapazitaetsstrom(d3, m, s, nc, v);
        r = C > 0.0 ? d3.minmc / C : 1.0;
        d3.ta_s[m][s] = nc[ndata::kopplungsart] == "F" ? t_quelle : ta;
    } else {
        d3.volluft[m][s] = 0.0;
        d3.minmc = 0.0;
        r = 0.0;
        v[tdata::eta_luftwt] = 0.0;
        d3.minmc = kleinster_kapazitaetsstrom(d3, m, s, nc, v);
    }
    auto austritt = [&] {
        return austrittstemperatur(v, d3.vel[m][s], d3.ta_s[m][s], ta, G, v[tdata::kol_oben_quadratisch],
                                   v[tdata::kol_oben_konversion], v[tdata::kol_oben_verlust],
                                   v[tdata::flaeche_kol_oben]);
    };
    if (nc[ndata::gegenstrom] != "G" && nc[ndata::gegenstrom] != "R") {
        d3.etagwt[m][s] = 1.0;
        d3.tf_s[m][s] = austritt();
        d3.tf[m][s] = d3.tf_s[m][s];
        T = d3.ta_s[m][s];
        d3.te[m][s] = t_quelle;
        return;
    }
    waermetauscher_wirkungsgrad(k, m, s, A);
    const double eps = d3.etagwt[m][s];
    v[tdata::eta_gegenstromwt] = eps;
    const double kf = v[tdata::feld_verlust], ef = v[tdata::feld_konversion], eL = v[tdata::eta_luftwt];
    const double mm = d3.minmc;
    const double nenner = (1.0 - eps) * C + (eps - 1.0) * eL * mm + 10.0 * kf * A - C;
    if (C > 0.0 && nenner != 0.0) {
        X = (A * (G * ef - 10.0 * kf * ta) * (eps - 1.0) + eL * mm * ta * (eps - 1.0) -
             eps * t_quelle * (C - 10.0 * kf * A)) /
            nenner;
    } else {
        X = t_quelle;
    }
    T = eL * r * (ta - X) + X;
    d3.ta_s[m][s] = T;
    d3.te[m][s] = X;
    if (eps < 1.0) {
        d3.tf_s[m][s] = (X - eps * t_quelle) / (1.0 - eps);
        if (nc[ndata::gegenstrom] == "G" && nc[ndata::kopplungstyp] != "E") {
            d3.tf[m][s] = t_quelle;
        } else {
            d3.tf[m][s] = d3.tf_s[m][s] - d3.te[m][s] + t_quelle;
        }
    } else {
        d3.tf_s[m][s] = austritt();
        d3.tf[m][s] = d3.tf_s[m][s];
    }
}
