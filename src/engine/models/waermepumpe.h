#pragma once
// Heat-pump performance: the COP of the "we" pump (selector 'E', ground or air
// source, result copwe) and of the "ww" pump (selector 'W', collector
// reservoir to store, result copww) by one of four models chosen per pump
// (numchar[ndata::modelltyp_we] / numchar[ndata::modelltyp_ww]): "L" linear, "H" hyperbolic, "A" analytic
// refrigerant cycle, "4" seven-coefficient polynomial. Also the refrigerant
// state of the ww pump and its refrigerant mass flow per interval.

#include "engine/WP_variables.h"
#include "engine/models/laufkontext.h"

// COP of pump 'E' or 'W' between source tt and sink th (°C). `roh` receives
// the COP before the upper limit of 20. Models "L", "H", "A" are kept within
// [1, 20]; "4" only below 20. th <= tt gives 20 (no lift: the upper limit).
// The we pump of a plant with gas heating without coupling (numchar[ndata::ohne_kopplung] "G")
// has COP 1. `fluid` is the heat pumps' refrigerant with its vapour table
// (the site's stoffdaten.kaeltemittel_record); the analytic model and the
// refrigerant state read it.
double berechne_cop(const datt& vdatt, const datz& pvdatz, char pumpe, double tt, double th,
                    const flagchar& numchar, double& roh, ::date3& pvdate3, int m, int s,
                    const kaeltemittel& fluid);

// Chooses tt and th of the pump from the plant codes and returns berechne_cop.
// x is the source temperature of the ww pump supplied by the caller. The we
// pump of a plant with electric or district heating without coupling
// (numchar[ndata::ohne_kopplung] "K", "F") has no source: COP 1.
double berechne_wp_temperaturen(::date& pvdate, const datz& pvdatz, const datt& vdatt, const datz3& pvdatz3,
                                ::date3& pvdate3, double& roh, int s, int m, const flagchar& numchar,
                                char pumpe, double x, const kaeltemittel& fluid);

// copwe[m], copwelok[m] (pump 'E') and copww[m][s], copwwlok[m][s] (pump 'W').
void besetze_cop(::date& pvdate, ::date3& pvdate3, const datt& vdatt, const datz& pvdatz,
                 const datz3& pvdatz3, int s, int m, const flagchar& numchar, double x,
                 const kaeltemittel& fluid);

// Terms of the polynomial model, d = th - tt.
double berechne_faktor_2(double th, double tt, double c);  // 1 / d^c
double berechne_faktor_3(double th, double tt);            // d
double berechne_faktor_4(double th, double tt);            // tt d
double berechne_faktor_5(double th, double tt);            // d^2
double berechne_faktor_6(double th, double tt);            // tt d^2
double berechne_faktor_7(double th, double tt);            // tt
double berechne_eta6(double c1, double c2, double c3, double c4, double c5, double c6, double c7,
                     double a2, double a3, double a4, double a5, double a6, double a7);

// Model "A": COP of the refrigerant cycle from the vapour table of the
// heat-pump fluid.
double berechne_cop_analytisch(const datt& vdatt, const datz& pvdatz, const flagchar& numchar, double tt,
                               double th, int m, const kaeltemittel& fluid);

// Refrigerant state points at th and tt; for the ww pump stored as ph, pt,
// enthalpie and vwp of interval [m][s].
void berechne_kaeltemittel_zustand(const datt& vdatt, char pumpe, double tt, double th, ::date3& pvdate3,
                                   int m, int s, const kaeltemittel& fluid);

// Inputs of kaeltemittel_intervall that come from the calling kernel.
struct kaeltemittel_vorgaben {
    double t_ein = 0.0;        // inflow temperature handed to the collector model
    int schritt = 0;           // step index of the calling kernel
    double einstrahlung = 0.0; // irradiation value of the interval (direct coupling)
    double faktor_c = 1.0;     // factor c of the mass-flow divisor
};

// Refrigerant mass flow of the ww pump in interval [m][s] (kg/s); writes
// enthalpie and alpha of the interval, for directly coupled plants also
// pvdatz3.tein, etam, es and vel. 0 for end-reservoir coupling or A <= 0.
// Directly coupled plants run the collector models over `kollektor`, a
// context over the same records; its property tables give the refrigerant.
double kaeltemittel_intervall(int m, int s, double A, const kaeltemittel_vorgaben& vorgaben,
                              const anlage& pl, const flagchar& numchar, const datt& vdatt,
                              const datz& pvdatz, datz3& pvdatz3, ::date3& pvdate3,
                              laufkontext& kollektor);

// Electricity a heat pump of COP `cop` takes to lift the source heat P:
// heat out = P + electricity = cop * electricity, so P / (cop - 1); 0 when
// cop <= 1 (nothing is lifted).
double strom_fuer_quellwaerme(double P, double cop);
