#include "engine/models/waermepumpe.h"

#include <cmath>
#include <string>

#include "data/konstanten.h"
#include "engine/models/kollektor.h"
#include "engine/models/luftkollektor.h"
#include "engine/models/numerik.h"
#include "lang/meldung.h"

namespace {

constexpr double COP_MAX = 20.0;

// Coefficient slots of one pump in vdatt; -1 marks a coefficient the pump
// does not have (the ww pump's polynomial uses only c1..c4).
struct cop_slots {
    int c[8];        // c[1..7]
    int exponent;
    int modell;      // numchar position of the pump's model code
};

// The exponent of each pump sits where the site loader puts it.
constexpr cop_slots slots_we{{0, tdata::we_c1, tdata::we_c2, tdata::we_c3, tdata::we_c4, tdata::we_c5,
                              tdata::we_c6, tdata::we_c7},
                             tdata::we_exponent, ndata::modelltyp_we};
constexpr cop_slots slots_ww{{0, tdata::ww_c1, tdata::ww_c2, tdata::ww_c3, tdata::ww_c4, -1, -1, -1},
                             tdata::ww_exponent, ndata::modelltyp_ww};

double koeffizient(const datt& vdatt, const cop_slots& sl, int i) {
    return sl.c[i] < 0 ? 0.0 : vdatt[static_cast<size_t>(sl.c[i])];
}

void pruefe_intervall(int m, int s) {
    if (m < 0 || m > MAXMONAT || s < 0 || s > MAXINTERVALL) {
        meldung("Fehler: Monat " + std::to_string(m) + " / Intervall " + std::to_string(s) +
                    " außerhalb des Kalenders",
                "S", 'T');
    }
}

// Enthalpy difference (column 4) and mean pressure of the refrigerant at temperature t.
double enthalpie_bei(const kaeltemittel& k, double t, double& druck) {
    return dampftafel_wert(k.vdampftafeldata, k.imaxdampf, 0, 4, t, druck);
}

}  // namespace

double berechne_faktor_2(double th, double tt, double c) { return 1.0 / std::pow(th - tt, c); }
double berechne_faktor_3(double th, double tt) { return th - tt; }
double berechne_faktor_4(double th, double tt) { return tt * (th - tt); }
double berechne_faktor_5(double th, double tt) { return (th - tt) * (th - tt); }
double berechne_faktor_6(double th, double tt) { return tt * (th - tt) * (th - tt); }
double berechne_faktor_7(double /*th*/, double tt) { return tt; }
double berechne_eta6(double c1, double c2, double c3, double c4, double c5, double c6, double c7,
                     double a2, double a3, double a4, double a5, double a6, double a7) {
    return c1 + c2 * a2 + c3 * a3 + c4 * a4 + c5 * a5 + c6 * a6 + c7 * a7;
}

double berechne_cop(const datt& vdatt, const datz& pvdatz, char pumpe, double tt, double th,
                    const flagchar& numchar, double& roh, ::date3& pvdate3, int m, int s,
                    const kaeltemittel& fluid) {
    pruefe_intervall(m, s);
    const cop_slots& sl = pumpe == 'E' ? slots_we : slots_ww;
    const std::string& modell = numchar[static_cast<size_t>(sl.modell)];
    double cop = 1.0;
    if (pumpe == 'E' && numchar[ndata::ohne_kopplung] == "G") {
        // Gas heating: the heat is bought as it is used.
        roh = 1.0;
        return 1.0;
    }
    if (th <= tt) {
        // No lift (th = tt included): the COP is unbounded, so the upper limit.
        roh = COP_MAX;
        return COP_MAX;
    }
    if (pvdate3.q_gesamt[m][s] > 0.0 && numchar[ndata::kopplungstyp] != "E") {
        berechne_kaeltemittel_zustand(vdatt, pumpe, tt, th, pvdate3, m, s, fluid);
    }
    const double c1 = koeffizient(vdatt, sl, 1), c2 = koeffizient(vdatt, sl, 2);
    if (modell == "L") {
        cop = c1 * (th - tt) + c2;
    } else if (modell == "H") {
        cop = (th + 270.0) * c1 / (th - tt) + c2;
    } else if (modell == "A") {
        cop = berechne_cop_analytisch(vdatt, pvdatz, numchar, tt, th, m, fluid);
    } else if (modell == "4") {
        const double a2 = berechne_faktor_2(th, tt, vdatt[static_cast<size_t>(sl.exponent)]);
        cop = berechne_eta6(c1, c2, koeffizient(vdatt, sl, 3), koeffizient(vdatt, sl, 4),
                            koeffizient(vdatt, sl, 5), koeffizient(vdatt, sl, 6),
                            koeffizient(vdatt, sl, 7), a2, berechne_faktor_3(th, tt),
                            berechne_faktor_4(th, tt), berechne_faktor_5(th, tt),
                            berechne_faktor_6(th, tt), berechne_faktor_7(th, tt));
    }
    if ((modell == "L" || modell == "H" || modell == "A") && cop <= 1.0) cop = 1.0;
    roh = cop;
    return cop > COP_MAX ? COP_MAX : cop;
}

double berechne_wp_temperaturen(::date& pvdate, const datz& pvdatz, const datt& vdatt, const datz3& pvdatz3,
                                ::date3& pvdate3, double& roh, int s, int m, const flagchar& numchar,
                                char pumpe, double x, const kaeltemittel& fluid) {
    pruefe_intervall(m, s);
    (void)pvdate;
    const double twv = pvdatz[zdata::twv][m], rwv = pvdatz[zdata::rwv][m];
    double tt = 0.0, th = 0.0;
    if (pumpe == 'W') {
        if (numchar[ndata::kopplungstyp] == "E") {
            tt = x;
            th = twv;
        } else if (numchar[ndata::kopplungstyp] == "Z") {
            tt = numchar[ndata::gegenstrom] == "G" ? pvdatz3[zdata::tein][m][s]
                                                   : (x + pvdatz3[zdata::tein][m][s]) / 2.0;
            th = (twv + rwv) / 2.0;
        } else {
            meldung("Fehler: Unbekannte Kopplung \"" + numchar[ndata::kopplungstyp] + "\" für die Wärmepumpe",
                    numchar[ndata::meldungsmodus], 'W');
            roh = 1.0;
            return 1.0;
        }
    } else {
        if (numchar[ndata::ohne_kopplung] == "L") {
            tt = numchar[ndata::strahlung] == "D" ? pvdatz3[zdata::ta][m][s] : pvdatz[zdata::ta][m];
        } else if (numchar[ndata::ohne_kopplung] == "E") {
            tt = pvdatz[zdata::te][m];
        } else {
            // Gas, electric or district heating without coupling: no heat
            // pump lifts this heat, so it counts one to one (COP 1).
            roh = 1.0;
            return 1.0;
        }
        // The we pump heats the house: it works against the house's supply
        // temperature, also in a month that charges the long-term store.
        th = vorlauftemperatur_haus(numchar, pvdatz, m);
    }
    return berechne_cop(vdatt, pvdatz, pumpe, tt, th, numchar, roh, pvdate3, m, s, fluid);
}

void besetze_cop(::date& pvdate, ::date3& pvdate3, const datt& vdatt, const datz& pvdatz,
                 const datz3& pvdatz3, int s, int m, const flagchar& numchar, double x,
                 const kaeltemittel& fluid) {
    double roh = 0.0;
    pvdate.copwe[m] =
        berechne_wp_temperaturen(pvdate, pvdatz, vdatt, pvdatz3, pvdate3, roh, s, m, numchar, 'E', x, fluid);
    pvdate.copwelok[m] = roh;
    pvdate3.copww[m][s] =
        berechne_wp_temperaturen(pvdate, pvdatz, vdatt, pvdatz3, pvdate3, roh, s, m, numchar, 'W', x, fluid);
    pvdate3.copwwlok[m][s] = roh;
    if (pvdate.copwe[m] < 1.0 &&
        (numchar[ndata::ohne_kopplung] == "E" || numchar[ndata::ohne_kopplung] == "L")) {
        meldung("Warnung: COPWE < 1.", numchar[ndata::meldungsmodus], 'A');
    }
}

double berechne_cop_analytisch(const datt& vdatt, const datz& pvdatz, const flagchar& numchar, double tt,
                               double th, int m, const kaeltemittel& fluid) {
    const double t_low = tt + konst::ABSOLUT_NULL, t_high = th + konst::ABSOLUT_NULL;
    double p_low = 0.0, p_high = 0.0;
    enthalpie_bei(fluid, tt, p_low);
    const double h_high = enthalpie_bei(fluid, th, p_high);
    const double cv = vdatt[tdata::wpfluid_cvg], mol = vdatt[tdata::wpfluid_mol],
                 eps = vdatt[tdata::we_vkv0_kehrwert];
    if (cv <= 0.0 || mol <= 0.0 || eps <= 0.0 || p_low <= 0.0) {
        meldung("Fehler: Kältemitteldaten unvollständig (Cv, M, Verdichtungsverhältnis oder "
                "Druck nicht positiv).",
                numchar[ndata::meldungsmodus], 'W');
        return 1.0;
    }
    const double c = cv / mol;
    const double tau = t_high / t_low;
    const double arbeit = c * t_low * (tau - 1.0);
    const double kappa = (cv + konst::GASKONSTANTE) / cv;
    const double r = std::pow(1.0 / eps, kappa);
    // General cycle expression with P1 = p_high, P2 = p_low, P3 = tau,
    // P4 = T_low, P5 = T_high, P6 = h_high, P7 = c.
    const double p1 = p_high, p2 = p_low, p3 = tau, p4 = t_low, p5 = t_high, p6 = h_high, p7 = c;
    const double t = p4 * (1.0 / eps) * (1.0 - p3 * p4 / p5);
    const double r2 = p4 * p3 - p5;
    const double A = p7 * r2 + 1000.0 * p6;
    const double B = (t - r2 * r) * p7 - 1000.0 * p6 * r;
    const double C = p7 * t * r;
    const double v = p1 / p2;
    const double waerme = B * v + A - C * v * v;
    if (t_high < pvdatz[zdata::twv][m] + konst::ABSOLUT_NULL) {
        meldung("Fehler: Kompressionstemperatur zu klein", "A", 'M');
    }
    return arbeit > 0.0 ? waerme / arbeit : COP_MAX;
}

void berechne_kaeltemittel_zustand(const datt& vdatt, char pumpe, double tt, double th, ::date3& pvdate3,
                                   int m, int s, const kaeltemittel& fluid) {
    // Only the ww pump's state points are kept; the we pump's would be looked
    // up in the vapour table for nothing.
    if (pumpe != 'W') return;
    double p_high = 0.0, p_low = 0.0;
    enthalpie_bei(fluid, th, p_high);
    const double h_low = enthalpie_bei(fluid, tt, p_low);
    pvdate3.ph[m][s] = p_high;
    pvdate3.pt[m][s] = p_low;
    pvdate3.enthalpie[m][s] = h_low;
    const double nenner = 1000.0 * h_low * vdatt[tdata::wpfluid_dichte];
    pvdate3.vwp[m][s] =
        nenner != 0.0 ? (pvdate3.tf[m][s] - pvdate3.tein[m][s]) * pvdate3.mcg[m][s] / nenner : 0.0;
}

double kaeltemittel_intervall(int m, int s, double A, const kaeltemittel_vorgaben& vorgaben,
                              const anlage& pl, const flagchar& numchar, const datt& vdatt,
                              const datz& pvdatz, datz3& pvdatz3, ::date3& pvdate3,
                              laufkontext& kollektor) {
    pruefe_intervall(m, s);
    if (numchar[ndata::kopplungstyp] == "E" || A <= 0.0) return 0.0;
    const bool direkt = ist_direktkopplung(numchar);
    const double cpf = vdatt[tdata::wpfluid_cpf], cv = vdatt[tdata::wpfluid_cvg],
                 rho = vdatt[tdata::wpfluid_dichte], mol = vdatt[tdata::wpfluid_mol];
    const double twv = pvdatz[zdata::twv][m];
    const kaeltemittel& fluid = kollektor.stoffe.kaeltemittel_record;

    double t_e = 0.0;
    if (direkt) {
        t_e = eintrittstemperatur_intervall(kollektor, vorgaben.schritt, s, m, vorgaben.t_ein, A);
        pvdatz3[zdata::tein][m][s] = t_e;
    } else {
        t_e = pvdatz3[zdata::tt][m][s];
    }
    double p_w = 0.0, p_e = 0.0;
    enthalpie_bei(fluid, twv, p_w);
    double h_e = enthalpie_bei(fluid, t_e, p_e);
    if (direkt && pl.zwischen_waermepumpe.pmaxt.wert < p_e) {
        // The evaporator may not exceed its pressure limit: evaporate at the
        // temperature where the liquid pressure reaches it.
        double unbenutzt = 0.0;
        t_e = dampftafel_wert(fluid.vdampftafeldata, fluid.imaxdampf, 1, 0,
                              pl.zwischen_waermepumpe.pmaxt.wert, unbenutzt);
        pvdatz3[zdata::tein][m][s] = t_e;
        h_e = enthalpie_bei(fluid, t_e, p_e);
    }
    pvdate3.enthalpie[m][s] = h_e;
    if (direkt) {
        double tf_luft = pvdate3.tf_s[m][s];
        luftkollektor_intervall(kollektor, m, s, 1.0, A, 0.0, tf_luft);
        double roh = 0.0;
        pvdate3.etam[m][s] = wirkungsgrad_intervall(
            kollektor, roh, m, s, pvdate3.el_leistung[m][s], pvdatz3[zdata::is0][m][s],
            pvdate3.tein[m][s], pvdatz3[zdata::ta][m][s], pvdate3.tf[m][s]);
        pvdate3.es[m][s] = A * pvdate3.etam[m][s] * vorgaben.einstrahlung;
    }
    if (mol <= 0.0 || rho <= 0.0) {
        meldung("Fehler: Molmasse oder Dichte des Kältemittels nicht positiv.", numchar[ndata::meldungsmodus],
                'W');
        pvdate3.alpha[m][s] = 0.0;
        return 0.0;
    }
    const double c_v = cv / mol;
    const double D = (cpf - c_v + konst::GASKONSTANTE_DAMPF / mol) * t_e + 1000.0 * h_e - p_e / rho;
    const double N = 1000.0 * h_e + (konst::GASKONSTANTE_DAMPF / mol + c_v) * t_e - cpf * twv - p_w / rho;
    const double alpha = D != 0.0 ? N / D : 0.0;
    pvdate3.alpha[m][s] = alpha;

    double massenstrom = 0.0;
    if (alpha > 0.0) {
        const double q = pvdate3.es[m][s] + pvdate3.ls[m][s];
        const double teiler =
            direkt ? alpha * h_e * vorgaben.faktor_c
                   : (pvdate3.tf[m][s] - pvdatz3[zdata::tt][m][s]) * cpf +
                         vorgaben.faktor_c * alpha * h_e;
        if (teiler != 0.0) massenstrom = q / teiler;
    }
    if (massenstrom <= 0.0) massenstrom = 0.0;
    if (direkt) {
        const double volumenstrom = massenstrom / rho;
        pvdate3.vel[m][s] = volumenstrom / verhaeltnis_oder_eins(A, vdatt[tdata::daf]);
    }
    return massenstrom;
}

double strom_fuer_quellwaerme(double P, double cop) { return cop > 1.0 ? P / (cop - 1.0) : 0.0; }
