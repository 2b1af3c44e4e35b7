#pragma once
// The air-swept collector: outdoor air, moved by the wind or by the collector
// fan, flows over the absorber and heats the cold collector fluid. Mean
// heat-transfer coefficient from natural, forced and mixed convection, the
// air flow and velocity, the fluid outflow temperature as a function of the
// air velocity, and the fan velocity that balances the extra heat against
// the fan power.

#include "engine/models/laufkontext.h"
#include "engine/models/numerik.h"

constexpr double LUFT_VOL_WAERME = 1300.32;      // J/(m³ K)
constexpr double LUFT_PRANDTL = 0.72;

// Width B = sqrt(flaeche * bul) of the field; gesamt_laenge = sqrt(flaeche / bul).
double breite_Kollektorfeld(double flaeche, double bul, double& gesamt_laenge);
double Reynold(double geschwindigkeit, double durchmesser, double kin_viskositaet);

// Mixed Nusselt number of the air-swept collector of interval [m][s] for the
// tilt theta (degrees), area `flaeche`, outdoor temperature ta and the current
// outflow temperature. Sets vdatt[tdata::kol_oben_verlust], vdatt[tdata::kol_unten_verlust], windtkoef of the upper
// collector, and volluft, v_luft, a1_skm_oben, a3_erz of the interval.
// Returns 0 when neither unit column asks for a computed value.
double berechne_alpha_quer(laufkontext& k, double theta, double flaeche, double ta,
                           double tf_store, const stoffdaten_luft& lr, bool heizung, int m,
                           int s, luftdaten& vluftdaten_ta, double& w);

// Air volume flow of interval [m][s] by the plant code numchar[ndata::kopplungsart].
double fluftstrom(const laufkontext& k, int m, int s, double gesamt_breite, double hoehe);

// Convective heat of the interval (W h): U (ta - tm) * relative_dauer * ho * A.
double wpkonvekt(const laufkontext& k, double relative_dauer, double tf_kollektor, double flaeche,
                 int m, int s);

// Outflow temperature tf(v) = (x1 + x2 v) / (x3 + x4 v) of the fluid for the
// inflow te_store.
void Parameter_fuer_tf(double& x1, double& x2, double& x3, double& x4, const laufkontext& k, int m,
                       int s, double flaeche, double te_store);
double berechne_tf_store(double x1, double x2, double x3, double x4, double vl);

// Most passes of the velocity iteration before it gives up with a warning.
constexpr int MAX_GESCHWINDIGKEITSSCHRITTE = 100;

// Air velocity, outflow temperature and heat (kW) of interval [m][s].
void berechne_vl(laufkontext& k, int m, int s, double flaeche, double relative_dauer,
                 double cop_tf_twv, double cop2, double& tf_store, double& el, double& wind,
                 bool erzwungen);

// The air path of the time-step kernels: returns the heat taken from the air
// (kW); q_fluid receives the heat taken into the fluid (kW). t_start is the
// outflow temperature the passes start from.
double luftpfad_intervall(laufkontext& k, int m, int s, double A, double relative_dauer,
                          double t_start, double& q_fluid);

// One interval of the air-swept collector; returns the heat (kW).
double luftkollektor_intervall(laufkontext& k, int m, int s, double relative_dauer, double A,
                               double alpha_quer, double& tf_store);

// Whether the collector loop works through an intermediate heat exchanger;
// may set vdatt[tdata::eta_luftwt] and vdatt[tdata::eta_gegenstromwt].
bool zwischenwaermetauscher_aktiv(const flagchar& numchar, datt& vdatt);
