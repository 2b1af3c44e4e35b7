#pragma once
// Month solutions of reservoir-coupled plants (analytic method): the collector
// outflow temperatures of all daylight intervals are chosen together so that
// the month's collector energy meets the month's demand (intermediate
// reservoir, coupling "Z") or the planned store energy ewv (end reservoir,
// coupling "E"). Intervals that hit a limit are frozen and the others solved
// again until a pass changes nothing. Also the shared rules: splitting the
// collector energy into heat and heat-pump electricity, the heat pump's
// control range, and the collector flow that follows from the power.

#include "engine/models/laufkontext.h"

// Useful energy of interval [m][s] from the collector energy (or power) P;
// sets el_0[m][s], the heat pump's electricity.
double energie_aufteilung(laufkontext& k, double P, double copww, double t_unten, double tf,
                          double twv, int m, int s);

// Applies the heat pump's control range vdatt[tdata::wp_leistung_min]..vdatt[tdata::wp_leistung_max] to the interval.
void regelbereich_anpassen(laufkontext& k, int m, int s, double& ergebnis);

// Collector flow per unit for power P between te and tf, at most g_s.
double durchfluss_aus_leistung(const datt& vdatt, double g_s, double A, double P, double tf,
                               double te);
double durchfluss_aus_leistung(const laufkontext& k, double A, double P, double tf, double te);

// vel, zv and zei of interval [m][s] for the power P.
void durchfluss_intervall(laufkontext& k, double A, double P, int m, int s);

// Interval at the largest flow g_s: outflow temperature, COP, gains; returns er[m][s].
double maximaldurchfluss_intervall(laufkontext& k, int m, int s, double A);

// Hard limit of passes beyond the n[m] + 1 that the freezing rule allows.
constexpr int RESERVOIR_EXTRA_DURCHLAEUFE = 1;

// Intermediate-reservoir month m; returns the number of passes over the month
// (the first pass counts as one).
int zwischenreservoir_monat(laufkontext& k, int m, double A);

// End-reservoir month m; returns the number of passes of the iteration.
int endreservoir_monat(laufkontext& k, int m, double A);

// Heat-pump coupling energy of interval [m][s] in the time-step kernels:
// adds it to er[m][s] and to `monat`.
void kopplung_intervall(laufkontext& k, int m, int s, double P, double& monat);
