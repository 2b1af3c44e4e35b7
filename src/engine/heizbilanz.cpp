#include "engine/heizbilanz.h"

void heizung_buchen(int m, int s, char modus, double e, double f, double g, double h, ::date& d,
                    ::date3& d3) {
    if (modus != 'N') {
        d3.nh_virtuell[m][s] += h;
        d3.ok_virtuell[m][s] += f;
        d.ok_virtuell[m] += f;
        d.nh_virtuell[m] += h;
        return;
    }
    d3.nh[m][s] += h;
    d3.ok[m][s] += f;
    d3.nh_waerme[m][s] += g;
    d3.ok_waerme[m][s] += e;
    d.ok[m] += f;
    d.nh[m] += h;
    d.eg[m] += e + g;
    d3.eg[m][s] += e + g;
}

void heizart_umrechnen(double Q, double& F, double& P, const std::string& antrieb, double a,
                       double b, double& S) {
    if (antrieb == "E") {
        F = Q;
        P = F / a;
        S += Q;
    } else if (antrieb == "W") {
        F = Q / b;
        P = F;
    }
}

void heizart_umrechnen(double Q, double& F, double& P, const std::string& quelle,
                       const std::string& antrieb, double x, double y, double z, double& S) {
    if (quelle == "G") {
        F = Q / z;
        P = F;
    } else if (quelle == "K") {
        F = Q;
        P = F / y;
        S += Q;
    } else if (quelle == "F") {
        F = Q;
        P = F / y;
    } else {
        heizart_umrechnen(Q, F, P, antrieb, y, x, S);
    }
}

double monatsenergie_auf_intervall(double E_monat, int m, int s, const flagchar& numchar,
                                   const datz& z, const datz3& p) {
    if (numchar[ndata::luftwaermetauscher] == "L") {
        return z[zdata::ho][m] != 0.0 ? E_monat * p[zdata::ho][m][s] / z[zdata::ho][m] : 0.0;
    }
    if (p[zdata::is0][m][s] > 0.0 && z[zdata::hogn][m] != 0.0) {
        return E_monat * p[zdata::ho][m][s] / z[zdata::hogn][m];
    }
    return 0.0;
}

double heizung_monatsbilanz(const flagchar& numchar, const datt& vdatt, int m, ::date& d) {
    const double eta_kw = vdatt[tdata::eta_kraftwerk], eta_gas = vdatt[tdata::eta_gas],
                 eta_we = vdatt[tdata::we_eta], eta_ww = vdatt[tdata::ww_eta];
    // The coupling letter as it stands in the run's code set now (code "K"
    // changes it interval by interval).
    const std::string& kopplung = zustand::numchar()[ndata::kopplungstyp];
    const std::string& quelle = numchar[ndata::ohne_kopplung];
    const std::string& antrieb_we = numchar[ndata::antrieb_we];
    const std::string& antrieb_ww = numchar[ndata::antrieb_ww];
    double S = 0.0;

    // Auxiliary heating.
    auto nachheizung = [&](double Q, double& F, double& P, double& summe) {
        if (kopplung == "Z") {
            heizart_umrechnen(Q, F, P, antrieb_ww, eta_kw, eta_ww, summe);
        } else if (kopplung == "E") {
            heizart_umrechnen(Q, F, P, quelle, antrieb_we, eta_we, eta_kw, eta_gas, summe);
        }
    };
    double verworfen = 0.0;
    nachheizung(d.nh[m], d.nh_lv[m], d.nh_g[m], S);
    nachheizung(d.nh_virtuell[m], d.nh_virtuell_lv[m], d.nh_virtuell_g[m], verworfen);

    // Heating without coupling.
    heizart_umrechnen(d.ok[m], d.ok_lv[m], d.ok_g[m], quelle, antrieb_we, eta_we, eta_kw, eta_gas, S);
    heizart_umrechnen(d.ok_virtuell[m], d.ok_virtuell_lv[m], d.ok_virtuell_g[m], quelle, antrieb_we,
                      eta_we, eta_kw, eta_gas, verworfen);

    // Pump and fan electricity.
    d.elp_lv[m] = d.elp[m];
    d.elp_g[m] = d.elp[m] / eta_kw;
    d.elp_l_lv[m] = d.elp_l[m];
    d.elp_l_g[m] = d.elp_l[m] / eta_kw;
    S += d.elp[m] + d.elp_l[m];

    // Defrost energy.
    heizart_umrechnen(d.ereif[m], d.ereif_lv[m], d.ereif_g[m], quelle, antrieb_we, eta_we, eta_kw,
                      eta_gas, S);
    d.flz[m] = S;

    d.ek[m] = d.nh[m] + d.ok[m] + d.elp[m] + d.elp_l[m] + d.ereif[m];
    d.ek_lv[m] = d.nh_lv[m] + d.ok_lv[m] + d.elp_lv[m] + d.elp_l_lv[m] + d.ereif_lv[m];
    d.ek_g[m] = d.nh_g[m] + d.ok_g[m] + d.elp_g[m] + d.elp_l_g[m] + d.ereif_g[m];

    d.preis[m] = d.nh_lv[m] * vdatt[tdata::preis_nachheizung] +
                 d.ok_lv[m] * vdatt[tdata::preis_ohne_kopplung] +
                 (d.elp_lv[m] + d.elp_l_lv[m]) * vdatt[tdata::preis_pumpenstrom];
    const double V = d.nh_virtuell_lv[m] * vdatt[tdata::preis_nachheizung] +
                     d.ok_virtuell_lv[m] * vdatt[tdata::preis_ohne_kopplung];

    if (numchar[ndata::optimierung] == "P") return d.preis[m] + V;
    if (numchar[ndata::optimierung] == "A") return d.ek_lv[m] + d.nh_virtuell_lv[m] + d.ok_virtuell_lv[m];
    return d.ek_g[m] + d.nh_virtuell_g[m] + d.ok_virtuell_g[m];
}
