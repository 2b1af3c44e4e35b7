#include "engine/models/druckabfall.h"

#include <cmath>

#include "data/konstanten.h"
#include "engine/models/numerik.h"
#include "engine/models/reservoir.h"
#include "engine/models/ventilatorgesetz.h"
#include "engine/models/waermetauscher.h"
#include "lang/meldung.h"

namespace {

using konst::PI;
// Overall efficiency (hydraulic over electric power) of the circulation pump.
constexpr double PUMPENWIRKUNGSGRAD = 0.3;

double einheiten(double A, const datt& vdatt) { return verhaeltnis_oder_eins(A, vdatt[tdata::daf]); }

bool mit_messwerten(const flagchar& numchar, const steuerdaten_messtabelle* tabelle) {
    return tabelle != nullptr && numchar[ndata::kontrolllauf] == "J" && numchar[ndata::messmodus] == "J";
}

// Measured flow and outdoor temperature for interval [m][s]; false when the
// table holds nothing to read.
bool messwerte_lesen(const steuerdaten_messtabelle& tab, int m, int s, double ta, double is0,
                     double& durchfluss, double& temperatur) {
    const int n = tab.anzahl_scheiben();
    if (n < 1 || tab.anzahl_zeilen(1) < 1) return false;
    const double t = tab.intervallzeit(m, s);
    // Slices k1 <= k2 that bracket t (one slice before the first and after the last).
    int k1 = 1, k2 = 1;
    if (t >= tab.scheibenzeit(n)) {
        k1 = k2 = n;
    } else if (t > tab.scheibenzeit(1)) {
        k1 = 1;
        while (k1 + 1 < n && tab.scheibenzeit(k1 + 1) <= t) ++k1;
        k2 = k1 + 1;
    }
    if (tab.anzahl_zeilen(k1) < 1) return false;
    // Row of the first slice nearest to the interval's temperature and irradiance.
    int beste = 1;
    double abstand_min = 0.0;
    for (int r = 1; r <= tab.anzahl_zeilen(k1); ++r) {
        const messzeile z = tab.zeile(k1, r);
        const double abstand = std::hypot(z.ta - ta, z.is0 - is0);
        if (r == 1 || abstand < abstand_min) {
            beste = r;
            abstand_min = abstand;
        }
    }
    const messzeile z1 = tab.zeile(k1, beste);
    durchfluss = z1.durchfluss;
    temperatur = z1.temperatur;
    if (k2 != k1 && beste <= tab.anzahl_zeilen(k2)) {
        const messzeile z2 = tab.zeile(k2, beste);
        const double t1 = tab.scheibenzeit(k1), t2 = tab.scheibenzeit(k2);
        durchfluss = interpoliere(t, t1, t2, z1.durchfluss, z2.durchfluss);
        temperatur = interpoliere(t, t1, t2, z1.temperatur, z2.temperatur);
    }
    durchfluss = tab.durchfluss_in_haupteinheit(durchfluss);
    temperatur = tab.temperatur_in_haupteinheit(temperatur);
    return true;
}

void warne_inkonsistenz(const flagchar& numchar) {
    meldung("Warnung: Inkonsistenz in Berechnung der Pumpgeschwindigkeit.", numchar[ndata::meldungsmodus],
            'A');
}

}  // namespace

double geschwindigkeit_aus_strom(double Q, double d) { return 4.0 * Q / (PI * d * d); }

double rohr_druckbeiwert(double rho, double nue, double Q, double d, double L) {
    // A pipe without cross-section or a fluid without viscosity has no
    // defined friction; the denominator guard below would be reached with
    // infinities otherwise.
    if (d <= 0.0 || nue <= 0.0) return 0.0;
    const double v = geschwindigkeit_aus_strom(Q, d);
    const double re = v * d / nue;
    const double d5 = std::pow(d, 5.0);
    double zaehler = 0.0, nenner = 0.0;
    if (re < 2320.0) {
        zaehler = 512.0 * L * rho;
        nenner = PI * PI * re * d5;
    } else {
        zaehler = 32.0 * L * rho * 0.0079 * std::pow(re, 0.25);
        nenner = PI * PI * d5;
    }
    return nenner > 1e-20 ? zaehler / nenner : 0.0;
}

double statischer_druck(double rho, double h) { return konst::ERDBESCHLEUNIGUNG * rho * h; }

double kruemmer_beiwert(const std::string& art, double d) {
    return art == "B180_klein" ? 75.0 * d : 0.0;
}

double kollektor_druckbeiwert(const kollektor& c, const flagchar& numchar, double d, double rho,
                              double nue, double Q) {
    const double ak = c.ak.wert;
    const double rohre = c.m;
    const bool parallel = c.rohrverlegung == u'P';
    // Without absorber pipes there is nothing to flow through.
    if (ak <= 0.0 || (parallel && rohre <= 0.0)) return 0.0;
    const double bogen = kruemmer_beiwert("B180_klein", ak);
    const double q = parallel ? Q * d * d / (ak * ak * rohre) : Q * d * d / (ak * ak);
    const double laenge = ist_direktkopplung(numchar) ? c.laenge.wert / 2.0 : c.laenge.wert;
    const double g = rohr_druckbeiwert(rho, nue, q, ak, laenge);
    return parallel ? (bogen + g) / (rohre * rohre) : rohre * (bogen + g);
}

double kollektorfeld_druckbeiwert(const anlage& pl, const flagchar& numchar, double Q) {
    if (pl.n <= 0) return 0.0;  // no collector units
    const kaeltemittel& fl = pl.kaeltemittel_kollektoren;
    const double rho = fl.dichte.wert, nue = fl.nue.wert;
    const double d = pl.rohre.ag.wert;
    const double rohr = rohr_druckbeiwert(rho, nue, Q, d, 2.0 * pl.oberer_kollektor.breite.wert);
    const double bogen = kruemmer_beiwert("B180_klein", d);
    const double oben = kollektor_druckbeiwert(pl.oberer_kollektor, numchar, d, rho, nue, Q);
    const double unten = numchar[ndata::anzahl_kollektoren] == "Z"
                             ? kollektor_druckbeiwert(pl.unterer_kollektor, numchar, d, rho, nue, Q)
                             : 0.0;
    const double n = pl.n;
    return (rohr + bogen + oben + unten) / (n * n);
}

double kreis_druckabfall(const anlage& pl, const flagchar& numchar, const datt& vdatt, double Q) {
    const kaeltemittel& fl = pl.kaeltemittel_kollektoren;
    const double rho = fl.dichte.wert, nue = fl.nue.wert;
    double hoehe = pl.oberer_kollektor.hoehe.wert;
    if (numchar[ndata::anzahl_kollektoren] == "Z") hoehe += pl.unterer_kollektor.hoehe.wert;
    const double h = std::sin(konst::grad_in_rad(vdatt[tdata::theta_s])) * hoehe / 2.0 +
                     pl.rohre.hoehe_kollektor_pumpe.wert;
    const bool direkt = ist_direktkopplung(numchar);
    const double l = direkt ? pl.rohre.laenge_speicher_kollektor.wert
                            : pl.rohre.laenge_speicher_kollektor.wert +
                                  pl.rohre.laenge_kollektor_speicher.wert;
    const double qf = pl.n * Q;
    double dp = rohr_druckbeiwert(rho, nue, qf, pl.rohre.ag.wert, l) * qf * qf +
                kollektorfeld_druckbeiwert(pl, numchar, Q) * qf * qf;
    if (direkt) dp += statischer_druck(rho, h);
    return dp;
}

bool kollektorkreis_laeuft(double A, const flagchar& numchar) {
    return A > 0.0 || numchar[ndata::kopplungsart] == "L" || numchar[ndata::kopplungsart] == "E";
}

void pumpe_und_ventilator_intervall(double Q, int m, int s, double A, const anlage& pl,
                                    const flagchar& numchar, const datt& vdatt, ::date3& d3) {
    if (!(Q > 0.0)) return;
    if (d3.es[m][s] + d3.ls[m][s] == 0.0 && numchar[ndata::luftwaermetauscher] == "N") {
        d3.elp[m][s] = 0.0;
        d3.elp_l[m][s] = 0.0;
        return;
    }
    const double n_u = einheiten(A, vdatt);
    if (!ist_direktkopplung(numchar)) {
        if (numchar[ndata::druckabfallmodell] == "L") {
            d3.elp[m][s] = Q * vdatt[tdata::relpump_feld] * vdatt[tdata::kollektorfluid_dichte] / 1000.0 *
                           d3.zei[m][s] * n_u;
        } else if (numchar[ndata::druckabfallmodell] == "D") {
            // Hydraulic power of the loop (W) over the pump's efficiency, for
            // zei hours, in kWh.
            const double hydraulisch = Q * kreis_druckabfall(pl, numchar, vdatt, Q) * n_u;
            d3.elp[m][s] = hydraulisch / PUMPENWIRKUNGSGRAD * d3.zei[m][s] * konst::SEKUNDEN_PRO_STUNDE /
                           umrechnungskonstante("kWh_in_Ws");
        }
    }
    if (numchar[ndata::kopplungsart] == "L" || numchar[ndata::kopplungsart] == "F" ||
        numchar[ndata::kopplungsart] == "DKF") {
        d3.elp_l[m][s] = berechne_elp_l(d3, vdatt, d3.volluft[m][s], m, s) / 1000.0;
    }
}

void pumpenenergie_monat(int m, double A, const anlage& pl, const flagchar& numchar,
                         const datt& vdatt, ::date& d, ::date3& d3) {
    if (!kollektorkreis_laeuft(A, numchar)) return;
    const int n = intervalle(m);
    double elp = 0.0, elp_l = 0.0, ereif = 0.0;
    for (int s = 1; s <= n; ++s) {
        pumpe_und_ventilator_intervall(d3.zv[m][s], m, s, A, pl, numchar, vdatt, d3);
        elp += d3.elp[m][s];
        elp_l += d3.elp_l[m][s];
        ereif += d3.ereif[m][s];
    }
    d.elp[m] = elp;
    d.elp_l[m] = elp_l;
    d.ereif[m] = ereif + d.ereif_nacht[m];
}

void leistungen_intervall(int m, int s, double A, const flagchar& numchar, const datt& vdatt,
                          const datz3& pvdatz3, ::date3& d3) {
    d3.lpu[m][s] = d3.lpu_l[m][s] = d3.lnh[m][s] = d3.lok[m][s] = d3.lges[m][s] = 0.0;
    const double zei = d3.zei[m][s];
    if (zei > 0.0 && kollektorkreis_laeuft(A, numchar)) {
        d3.lpu[m][s] = 1000.0 * d3.elp[m][s] / zei;
        d3.lpu_l[m][s] = 1000.0 * d3.elp_l[m][s] / zei;
        const double roh = d3.copwwlok[m][s];
        const double r = roh == 1.0 ? 0.0 : (d3.copww[m][s] - 1.0) / (roh - 1.0);
        d3.lnh[m][s] = d3.cflag[s] == u'J' ? vdatt[tdata::ww_leistung] : 1000.0 * d3.nh[m][s] * r / zei;
    }
    const double ho = pvdatz3[zdata::ho][m][s];
    if (ho > 0.0) d3.lok[m][s] = 1000.0 * d3.ok[m][s] / ho;
    d3.lges[m][s] = d3.lok[m][s] + d3.lnh[m][s];
    if (numchar[ndata::kopplungsart] == "K" && d3.endrflag[s] == u'Z' && d3.lnh[m][s] != 0.0 &&
        d3.wpausflag[s] == u'N' && vdatt[tdata::ww_leistung] < 0.95 * d3.lnh[m][s]) {
        meldung("Warnung: Inkonsistenz der Leistung der Wärmepumpe.", numchar[ndata::meldungsmodus], 'A');
    }
}

void verbrauch_monat(int m, double A, double x, const flagchar& numchar, const datt& vdatt,
                     const datz& vdatz, const datz3& pvdatz3, const speicher& puffer, ::date& d,
                     ::date3& d3) {
    d.lnh[m] = d.lpu[m] = d.lpu_l[m] = d.lges[m] = d.lspwt[m] = d.agwt[m] = 0.0;
    if (x == 0.0) d.lok[m] = 0.0;
    const int n = intervalle(m);
    for (int s = 1; s <= n; ++s) {
        leistungen_intervall(m, s, A, numchar, vdatt, pvdatz3, d3);
        if (x > 0.0) speicher_wt_laenge(vdatz, pvdatz3, puffer, d3, m, s);
        const auto maximum = [&](monatsfeld& monat, const intervallfeld& intervall) {
            if (intervall[m][s] > monat[m]) monat[m] = intervall[m][s];
        };
        maximum(d.lpu, d3.lpu);
        maximum(d.lpu_l, d3.lpu_l);
        maximum(d.lnh, d3.lnh);
        maximum(d.lok, d3.lok);
        maximum(d.lges, d3.lges);
        maximum(d.lspwt, d3.lspwt);
        maximum(d.agwt, d3.agwt);
    }
}

double waermekapazitaetsstrom(int m, int s, double A, const datt& vdatt, const ::date3& d3) {
    return einheiten(A, vdatt) * vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte] *
           d3.vel[m][s];
}

double durchfluss_zeitschritt(int m, int s, int i, double g_min, double delta, double A,
                              const flagchar& numchar, datt& vdatt, datz3& pvdatz3, ::date3& d3,
                              const steuerdaten_messtabelle* messtabelle) {
    if (!kollektorkreis_laeuft(A, numchar)) return g_min;
    const double n = einheiten(A, vdatt);
    double vel = 0.0;
    double gemessen = 0.0, t_gemessen = 0.0;
    if (mit_messwerten(numchar, messtabelle) &&
        messwerte_lesen(*messtabelle, m, s, pvdatz3[zdata::ta][m][s], pvdatz3[zdata::is0][m][s],
                        gemessen, t_gemessen)) {
        vel = gemessen;
        pvdatz3[zdata::ta][m][s] = t_gemessen;
        d3.q_gesamt[m][s] = n * vel * vdatt[tdata::kollektorfluid_dichte];
    } else if (ist_direktkopplung(numchar)) {
        const double nenner = n * vdatt[tdata::wpfluid_dichte];
        vel = nenner != 0.0 ? d3.q_gesamt[m][s] / nenner : 0.0;
    } else {
        // i-th step of the logarithmic series: exp(ln g_min + (i - 1) delta).
        vel = i <= 1 ? g_min : g_min * std::exp((i - 1) * delta);
        d3.q_gesamt[m][s] = n * vel * vdatt[tdata::kollektorfluid_dichte];
    }
    d3.vel[m][s] = vel;
    d3.mcg[m][s] = waermekapazitaetsstrom(m, s, A, vdatt, d3);
    vdatt[tdata::waermekapazitaetsstrom] =
        vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte] * vel;
    return vel;
}

void pruefe_pumpgeschwindigkeit(int m, int s, double A, const flagchar& numchar,
                                const datt& vdatt, const datz3& pvdatz3, const ::date3& d3) {
    const double e_c = d3.es[m][s] + d3.ls[m][s];
    const double e_r = einheiten(A, vdatt) * d3.vel[m][s] * d3.enthalpie[m][s] *
                       vdatt[tdata::wpfluid_dichte] * d3.alpha[m][s] * pvdatz3[zdata::ho][m][s];
    if (e_r > 0.0 && d3.vel[m][s] > 0.0 && numchar[ndata::rechenart] == "V" &&
        d3.eta_kleiner_null_flag[s] == u'N' && (e_r < 0.9 * e_c || e_r > 1.1 * e_c)) {
        warne_inkonsistenz(numchar);
    }
}

void pruefe_durchfluss(int m, int s, double A, const flagchar& numchar, const datt& vdatt,
                       const datz3& pvdatz3, const ::date3& d3, double g_s) {
    const double ho = pvdatz3[zdata::ho][m][s];
    if (ho <= 0.0) return;  // an interval without duration has no power
    const double p = (d3.es[m][s] + d3.ls[m][s]) / ho;
    const double tf = d3.tf[m][s], tein = pvdatz3[zdata::tein][m][s];
    const double v = durchfluss_aus_leistung(vdatt, g_s, A, p, tf, tein);
    const double vel = d3.vel[m][s];
    if (v > 0.0 && tein != tf && vdatt[tdata::kol_unten_quadratisch] == 0.0 &&
        (v < 0.9 * vel || v > 1.1 * vel)) {
        warne_inkonsistenz(numchar);
    }
}
