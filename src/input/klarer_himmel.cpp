#include "input/klarer_himmel.h"

#include <algorithm>
#include <cmath>

#include "data/konstanten.h"
#include "input/sonnengeometrie.h"

namespace klarer_himmel {

namespace {
using konst::PI;
constexpr double RAD = konst::RAD_JE_GRAD;

bool schaltjahr(int jahr) { return (jahr % 4 == 0 && jahr % 100 != 0) || jahr % 400 == 0; }
}  // namespace

int tag_des_jahres(int jahr, int monat, int tag) {
    static constexpr int vorher[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int m = std::clamp(monat, 1, 12);
    return vorher[m] + tag + (m > 2 && schaltjahr(jahr) ? 1 : 0);
}

double deklination_bourges(double tag, double laenge_grad) {
    const double omega0 = 0.017202791208627;
    const double t1 = -(laenge_grad * RAD) / (2.0 * PI) - 0.5 - (92.4578 - 14.0);
    const double wt = omega0 * (tag + t1);
    return 0.0064979 + 0.405906 * std::sin(wt) + 0.0020054 * std::sin(2.0 * wt) -
           0.002988 * std::sin(3.0 * wt) - 0.0132296 * std::cos(wt) + 0.0063809 * std::cos(2.0 * wt) +
           0.0003508 * std::cos(3.0 * wt);
}

double zeitgleichung(double tag) {
    const double j = 2.0 * PI * tag / 365.25;
    return -0.128 * std::sin(j - 0.04887) - 0.165 * std::sin(2.0 * j + 0.34383);
}

double sonnenzeit(int monat, double tag, int stunde, int minute, double laenge_grad) {
    const double sommerzeit = monat >= 4 && monat <= 10 ? 1.0 : 0.0;
    return stunde + minute / 60.0 + zeitgleichung(tag) - sommerzeit +
           (laenge_grad * RAD - 0.2617994) * 12.0 / PI;
}

}  // namespace klarer_himmel

klarer_himmel_ergebnis irradiation_cloudless_sky(int jahr, int monat, int tag, int stunde,
                                                 int minute, const datt& vdatt) {
    using namespace klarer_himmel;
    const double phi = vdatt[tdata::breitengrad] * RAD;
    const double laenge = vdatt[tdata::laengengrad];
    const double z = vdatt[tdata::hoehe];

    klarer_himmel_ergebnis e;
    const int j = tag_des_jahres(jahr, monat, tag);
    e.delta = deklination_bourges(j, laenge);
    const double ts = sonnenzeit(monat, j, stunde, minute, laenge);
    e.omega = (ts - 12.0) * PI / 12.0;

    const double h0 = std::asin(std::sin(phi) * std::sin(e.delta) +
                                std::cos(phi) * std::cos(e.delta) * std::cos(e.omega));
    if (h0 <= 0.0) return e;  // night: no irradiance (the air-mass formula has no meaning there)

    const double dh = 0.061359 * (0.1594 + 1.123 * h0 + 0.065656 * h0 * h0) /
                      (1.0 + 28.9344 * h0 + 277.3971 * h0 * h0);
    const double h = h0 + dh;
    const double p_p0 = 1.0 - z / 10000.0;
    const double m = p_p0 / (std::sin(h) + 0.50572 * std::pow(h * 57.29578 + 6.07995, -1.6364));
    const double kehrwert_dr = m <= 20.0 ? 6.6296 + 1.7513 * m - 0.1202 * m * m + 0.0065 * m * m * m -
                                               0.00013 * m * m * m * m
                                         : 10.4 + 0.718 * m;
    const double delta_r = 1.0 / kehrwert_dr;
    // Linke turbidity from the distance to the equator (the same north and south).
    const double TL = 3.071 * std::abs(phi) + 22.76 - 20.2794;
    const double eps = sonne::exzentrizitaet(j);

    e.B = 1367.0 * eps * std::exp(-0.8662 * TL * m * delta_r) * std::sin(h0);

    const double Trd = -0.015843 + 0.030543 * TL + 0.0003797 * TL * TL;
    double A0 = 0.26463 - 0.061581 * TL + 0.0031408 * TL * TL;
    if (A0 * Trd < 0.0022) A0 = 0.0022 / Trd;
    const double A1 = 2.0402 + 0.018945 * TL - 0.011161 * TL * TL;
    const double A2 = -1.3025 + 0.039231 * TL + 0.0085079 * TL * TL;
    const double Fd = A0 + A1 * std::sin(h0) + A2 * std::sin(h0) * std::sin(h0);
    e.D = 1367.0 * eps * Trd * Fd;
    return e;
}
