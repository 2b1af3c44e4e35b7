#include "engine/models/ventilatorgesetz.h"

#include <cmath>

double volluft_aus_v(const anlage& pl, double& y0, double vl, double flaeche) {
    const double c = pl.kollektorventilator.hoeheventilator.wert *
                     std::sqrt(flaeche * pl.oberer_kollektor.bul.wert);
    y0 = 1.29 * c;
    return vl * c;
}

double berechne_elp_l(const ::date3& /*pvdate3*/, const datt& vdatt, double y0, int /*imon*/,
                      int /*jint*/) {
    // Without a nominal air flow there is no fan curve to scale.
    if (vdatt[tdata::volstrom_luft] <= 0.0) return 0.0;
    const double verhaeltnis = y0 / vdatt[tdata::volstrom_luft];
    return vdatt[tdata::relpump_luft] * verhaeltnis * verhaeltnis * verhaeltnis;
}
