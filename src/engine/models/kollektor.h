#pragma once
// The thermal collector field. Per interval the efficiency is linear in the
// mean fluid temperature: eta = X2 + X1 * tm, i.e.
//   eta = eta0 + (k / G) * (5 te - 10 ta + 5 tm)
// with k = vdatt[tdata::kol_oben_verlust] (stored with its sign) and eta0 = vdatt[tdata::kol_oben_konversion]. The ww-pump
// COP is linearised in the outflow temperature tf as COP = P2c + P28 * tf.
// From these follow the direct-coupling interval (optimal outflow temperature
// in closed form), the collector step (efficiency, solar and ambient gain),
// and the collector values the time-step kernels need.

#include "engine/models/laufkontext.h"

struct kollektor_koeff {
    double X1 = 0.0, X2 = 0.0, X3 = 0.0, X4 = 0.0, X5 = 0.0;
    double P28 = 0.0, P2c = 0.0;
    double R1 = 0.0, R2 = 0.0;  // -1 when their radicand is negative
};

// Coefficients of interval [m][s] for collector area A. At night (G <= 0)
// X1 = 1e8 and X2 = -1e8. P28, P2c and R1 only with coupling "Z", R2 only with
// coupling "E" in daylight. R1 and R2 are -1 where they cannot be formed
// (negative radicand, or a zero divisor: k = 0 or P28 = 0).
kollektor_koeff kollektor_koeffizienten(const laufkontext& k, double A, int s, int m);

// Collector step of interval [m][s]: etam (in daylight), es and ls.
// variante 'a': etam = mu - h * tm; 'n': etam = h + mu * tm; 'c' keeps etam.
void kollektor_schritt(::date3& d3, const datz3& pvdatz3, int m, char variante, int s, double A,
                       double g, double h, double l, double mu);

// Direct coupling: chooses the outflow temperature that maximises the saved
// electricity, limited to twv (twfflag 'J'); returns er[m][s].
double direkte_kopplung_intervall(laufkontext& k, int m, int s, double A);

// Efficiency with the quadratic term for the upper ('o') or lower ('u')
// collector or the field values (any other letter, no quadratic term).
// Sets vdatt[tdata::zehn_durch_g] := zehn_durch(G).
double wirkungsgrad(datt& vdatt, char kollektor, double G, double t1, double ta, double t2);

// Collector efficiency of an interval for the time-step methods; 0 (with the
// heat pump switched off and eta_kleiner_null_flag 'J') when negative. `roh`
// receives the efficiency before that cut.
double wirkungsgrad_intervall(laufkontext& k, double& roh, int m, int s, double b, double G,
                              double t1, double ta, double t2);

// Outflow temperature of one collector unit for the flow per unit `durchfluss`
// (heat-capacity flow vdatt[tdata::kollektorfluid_cpf] * vdatt[tdata::kollektorfluid_dichte] * flow), inflow te, outdoor ta,
// irradiance G, quadratic term a2, eta0, loss term k and area A.
double austrittstemperatur(const datt& vdatt, double durchfluss, double te, double ta, double G,
                           double a2, double eta0, double kv, double A);

// Collector start values of interval [m][s] in the time-step kernels for the
// flow per unit `durchfluss`, the caller's temperature T_vorgabe and its step
// index. Returns the interval's temperature limit.
double kollektor_startwerte_intervall(laufkontext& k, int m, int s, double A, double durchfluss,
                                      double t_vorgabe, int schritt);

// Collector inflow temperature of interval [m][s] (°C) for step i of the
// calling kernel and the caller's temperature T_vorgabe.
double eintrittstemperatur_intervall(laufkontext& k, int i, int s, int m, double t_vorgabe,
                                     double A);

// Loss term vdatt[tdata::feld_verlust] and conversion factor vdatt[tdata::feld_konversion] of the whole field.
void feldkennwerte_intervall(laufkontext& k, int m, int s, double x);

// Solar gain es and ambient gain ls of interval [m][s] for the share x of the
// interval in use; adds es + ls to `summe` and the icing of the interval to
// ereif[m][s].
void kollektorgewinne_intervall(laufkontext& k, int m, int s, double A, double x, double& summe);

// Collector values of an interval whose heat pump is off.
void waermepumpe_aus_intervall(::date3& d3, const datz3& pvdatz3, int m, int s, double x);

// End temperature of the collector for the flow per unit, inflow te, outdoor
// ta and irradiance G (characteristic curves).
double kennlinien_austrittstemperatur(laufkontext& k, int m, int s, double durchfluss, double te,
                                      double ta, double G);
