#pragma once
// Fan law of the air-swept collector: air flow through the duct for an air
// velocity, and the fan power for an air mass flow.

#include "engine/WP_variables.h"

// Air volume flow (m³/s) for the air velocity vl through the duct of plant
// `pl` (duct height hoeheventilator times the field width sqrt(flaeche * bul)
// of the upper collector); y0 receives the air mass flow per unit velocity.
double volluft_aus_v(const anlage& pl, double& y0, double vl, double flaeche);

// Fan power vdatt[tdata::relpump_luft] * (y0 / vdatt[tdata::volstrom_luft])^3 (affinity law; nominal power at
// nominal air flow). 0 when no nominal air flow is given.
double berechne_elp_l(const ::date3& pvdate3, const datt& vdatt, double y0, int imon, int jint);
