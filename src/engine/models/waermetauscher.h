#pragma once
// Intermediate heat exchangers between the collector loop and the heat pump
// or store (counter-flow exchanger of two coaxial pipes, or the coil of the
// intermediate store): effectiveness by the NTU method with a Gnielinski
// coefficient in the annulus, and the interval step that turns a source
// temperature into the collector inflow temperature. Also the icing of cold
// surfaces in humid air and the night air energy of a month.

#include "engine/models/laufkontext.h"

// Heat-transfer coefficient on the annulus side (W/m²K) for interval [m][s].
double alpha_ringspalt(const laufkontext& k, int m, int s, double A);

// Effectiveness etagwt[m][s] and the area agwt[m][s] for 90 % effectiveness.
void waermetauscher_wirkungsgrad(laufkontext& k, int m, int s, double A);

// Vapour density (kg/m³) at partial pressure p and temperature t (°C).
double wasserdampfdichte(double t, double M, double p);

// Adds the defrost energy (kWh) of a cold surface of area `flaeche` with end
// temperatures t1, t2 over `stunden` hours, in air at t_luft from which the
// heat flow Q (W) is taken.
void vereisung(const datt& vdatt, const stoffdaten_luft& luft, double stunden, double t1,
               double t2, double t_luft, double Q, double flaeche, double& summe);

// Night air energy of month m for variant temperature difference delta_t:
// espeicher_luft[m], espeicher_luft_quot[m] and the night defrost energy
// (added to ereif_nacht[m]).
void nachtenergie_luft(laufkontext& k, int m, double A, double delta_t);

// lspwt[m][s]: exchanger pipe length of the buffer store for 90 % effectiveness.
void speicher_wt_laenge(const datz& vdatz, const datz3& pvdatz3, const speicher& puffer,
                        ::date3& d3, int m, int s);
void speicher_wt_laenge(laufkontext& k, int m, int s);

// The smaller of the fluid's and the air's heat-capacity flow (W/K); sets mcl.
double kleinster_kapazitaetsstrom(::date3& d3, int m, int s, const flagchar& numchar,
                                  const datt& vdatt);

// Intermediate-exchanger step of interval [m][s] for the source temperature
// t_quelle: T receives the collector inflow temperature, X the fluid
// temperature entering the air side, r the ratio minmc / mcg.
void zwischenwaermetauscher_intervall(laufkontext& k, double& X, double& T, double& r,
                                      double t_quelle, double A, double G, double ta, int s, int m);
