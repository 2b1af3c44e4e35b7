#include "data/konstanten.h"
#include "input/sonnengeometrie.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sonne {

namespace {
using konst::PI;
constexpr double RAD = konst::RAD_JE_GRAD;

// Largest beam factor: the sun is taken no lower than 5 degrees above the
// horizon, which keeps measured beam near sunrise and sunset from being
// multiplied without bound on steep planes.
const double FBS_MAX = 1.0 / std::sin(5.0 * RAD);

constexpr double SOLARKONSTANTE = 1367.0;  // W/m2

// Integral of a + b cos(w) + c sin(w) over [w1, w2] (radians).
double integral(double a, double b, double c, double w1, double w2) {
    return a * (w2 - w1) + b * (std::sin(w2) - std::sin(w1)) - c * (std::cos(w2) - std::cos(w1));
}

// Integral of the positive part of a + b cos(w) + c sin(w) over [w1, w2]
// (w2 - w1 below 2 pi): the stretches where a plane faces away from the sun
// count 0, not negative.
double integral_positiv(double a, double b, double c, double w1, double w2) {
    if (w2 <= w1) return 0.0;
    // a + r cos(w - p) = 0 at w = p +- arccos(-a / r).
    const double r = std::hypot(b, c);
    std::array<double, 12> grenzen{};
    size_t n = 0;
    grenzen[n++] = w1;
    if (r > 0.0 && std::abs(a) < r) {
        const double p = std::atan2(c, b);
        const double q = std::acos(-a / r);
        for (double basis : {p + q, p - q})
            for (int k = -2; k <= 2; ++k) {
                const double w = basis + 2.0 * PI * k;
                if (w > w1 && w < w2) grenzen[n++] = w;
            }
    }
    grenzen[n++] = w2;
    std::sort(grenzen.begin(), grenzen.begin() + static_cast<std::ptrdiff_t>(n));
    double summe = 0.0;
    for (size_t i = 0; i + 1 < n; ++i) {
        const double mitte = (grenzen[i] + grenzen[i + 1]) / 2.0;
        if (a + b * std::cos(mitte) + c * std::sin(mitte) > 0.0)
            summe += integral(a, b, c, grenzen[i], grenzen[i + 1]);
    }
    return summe;
}

// cos of the azimuth as the incidence formula needs it: the formula counts
// the azimuth from south, the program from the equator, so south of the
// equator the north-south part changes sign (east and west stay).
double cos_azimut(double gamma, double phi) { return phi < 0.0 ? -std::cos(gamma) : std::cos(gamma); }
}  // namespace

int tag_monatsmitte(int monat) {
    static constexpr int tage[13] = {0, 15, 45, 74, 105, 135, 166, 196, 227, 257, 288, 318, 349};
    return tage[std::clamp(monat, 1, 12)];
}

double deklination(int monat) {
    const double n = tag_monatsmitte(monat);
    return 23.45 * std::sin((n + 284.0) * (360.0 / 365.0) * RAD);
}

double sonnenuntergangswinkel(double deklination_grad, double breite_grad) {
    const double x = -std::tan(deklination_grad * RAD) * std::tan(breite_grad * RAD);
    return std::acos(std::clamp(x, -1.0, 1.0)) / RAD;
}

tageslaenge_ergebnis tageslaenge(int monat, double breite_grad, int tage) {
    tageslaenge_ergebnis e;
    e.omega_s = sonnenuntergangswinkel(deklination(monat), breite_grad);
    e.stunden = e.omega_s * 2.0 / 15.0;
    e.monatsstunden = tage * e.stunden;
    return e;
}

tagesstunden tagesstundenparameter(double breite_grad, int monat) {
    tagesstunden t;
    const double ws = sonnenuntergangswinkel(deklination(monat), breite_grad);
    t.tg0 = ws * 2.0 / 15.0;
    t.pws = ws;
    t.mws = -ws;
    return t;
}

stundenanteil_ergebnis stundenanteil(double omega, double omega_s, double delta) {
    // The sunlit part is the overlap of the hour [f, g] with the day
    // [-ws, ws]: ws - f when the sun sets within the hour, g + ws when it
    // rises within it, the whole hour between, and also right for a day
    // shorter than one hour.
    const double g = omega + delta / 2.0;
    const double f = omega - delta / 2.0;
    const double hell = std::max(0.0, std::min(g, omega_s) - std::max(f, -omega_s));
    stundenanteil_ergebnis e;
    e.tag = hell / delta;
    e.nacht = 1.0 - e.tag;
    return e;
}

stundenverhaeltnis_ergebnis stundenverhaeltnis(double omega_rad, double omega_s_rad) {
    stundenverhaeltnis_ergebnis e;
    const double nenner = std::sin(omega_s_rad) - omega_s_rad * std::cos(omega_s_rad);
    if (nenner <= 0.0) return e;  // no daylight: no share of the day
    e.r_d = (PI / 24.0) * (std::cos(omega_rad) - std::cos(omega_s_rad)) / nenner;
    const double a = 0.409 + 0.5016 * std::sin(omega_s_rad - PI / 3.0);
    const double b = 0.6609 - 0.4767 * std::sin(omega_s_rad - PI / 3.0);
    e.r_t = (a + b * std::cos(omega_rad)) * e.r_d;
    return e;
}

double exzentrizitaet(double tag) {
    return 1.0 + 0.03344 * std::cos(2.0 * PI * tag / 365.25 - 0.048869);
}

double berechne_extraterristische_einstrahlung(int monat, double omega1, double omega2,
                                               double breite_grad) {
    const double d = deklination(monat) * RAD;
    const double phi = breite_grad * RAD;
    const double eps = exzentrizitaet(tag_monatsmitte(monat));
    return eps * SOLARKONSTANTE * 24.0 / (2.0 * PI) *
           (std::sin(phi) * std::sin(d) * (omega1 - omega2) * RAD +
            std::cos(phi) * std::cos(d) * (std::sin(omega1 * RAD) - std::sin(omega2 * RAD))) /
           1000.0;
}

double berechne_costheta(double delta, double phi, double omega, double beta, double gamma) {
    const double cg = cos_azimut(gamma, phi);
    return std::sin(delta) * std::sin(phi) * std::cos(beta) -
           std::sin(delta) * std::cos(phi) * std::sin(beta) * cg +
           std::cos(delta) * std::cos(phi) * std::cos(beta) * std::cos(omega) +
           std::cos(delta) * std::sin(phi) * std::sin(beta) * cg * std::cos(omega) +
           std::cos(delta) * std::sin(beta) * std::sin(gamma) * std::sin(omega);
}

double berechne_coszenit(double delta, double phi, double omega) {
    return std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(omega);
}

double neigungsfaktoren::direkt_auf_ebene(double B, double stunden) const {
    return std::min(fbs * B, bsmax * stunden / 1000.0);
}

namespace {
neigungsfaktoren neigung(int monat, double dgr, double ws, double omega, double beta, double gamma,
                         double breite_grad, double breite_stunde) {
    neigungsfaktoren f;
    const double b = beta * RAD;
    f.fds = (1.0 + std::cos(b)) / 2.0;
    f.fr = (1.0 - std::cos(b)) / 2.0;

    const double w1 = std::max(omega - breite_stunde / 2.0, -ws) * RAD;
    const double w2 = std::min(omega + breite_stunde / 2.0, ws) * RAD;
    const double d = dgr * RAD, phi = breite_grad * RAD, g = gamma * RAD;
    const double cg = cos_azimut(g, phi);

    // cos(theta) = a + bb cos(w) + c sin(w): the incidence cosine of
    // berechne_costheta, split by its dependence on the hour angle.
    const double a = std::sin(d) * std::sin(phi) * std::cos(b) - std::sin(d) * std::cos(phi) * std::sin(b) * cg;
    const double bb = std::cos(d) * std::cos(phi) * std::cos(b) + std::cos(d) * std::sin(phi) * std::sin(b) * cg;
    const double c = std::cos(d) * std::sin(b) * std::sin(g);

    double zenit = 0.0, ebene = 0.0;
    if (w2 > w1) {
        zenit = integral(std::sin(d) * std::sin(phi), std::cos(d) * std::cos(phi), 0.0, w1, w2);
        ebene = integral_positiv(a, bb, c, w1, w2);
    }
    if (zenit > 0.0)
        f.fbs = std::clamp(ebene / zenit, 0.0, FBS_MAX);
    else
        f.fbs = beta == 0.0 ? 1.0 : 0.0;  // a horizontal plane takes the horizontal beam as it is
    // Extraterrestrial beam on the plane, averaged over the whole interval;
    // a horizontal plane keeps its measured beam without limit.
    const double breite_rad = breite_stunde * RAD;
    if (beta == 0.0)
        f.bsmax = std::numeric_limits<double>::infinity();
    else
        f.bsmax = breite_rad > 0.0
                      ? SOLARKONSTANTE * exzentrizitaet(tag_monatsmitte(monat)) * ebene / breite_rad
                      : 0.0;
    return f;
}
}  // namespace

neigungsfaktoren Neigungseinfluss(int monat, double omega, double beta, double gamma,
                                  double breite_grad, double breite_stunde) {
    const double dgr = deklination(monat);
    return neigung(monat, dgr, sonnenuntergangswinkel(dgr, breite_grad), omega, beta, gamma, breite_grad,
                   breite_stunde);
}

neigungsfaktoren neigungsfaktoren_fuer(const monatsgeometrie& geo, double omega, double beta,
                                       double gamma, double breite_grad, double breite_stunde) {
    return neigung(geo.monat, geo.delta, geo.omega_s, omega, beta, gamma, breite_grad, breite_stunde);
}

double temperaturprofil(double t, double tageslaenge, double tmin, double tmax) {
    const double g = (24.0 - tageslaenge) / 2.0;  // sunrise
    const double l = (tmin + tmax) / 2.0;
    const double spanne = tmax - tmin;
    if (t <= g) return l - spanne / 2.0 * std::cos((g - t) * PI / (g + 9.0));
    if (t <= 15.0) return l + spanne / 2.0 * std::cos((15.0 - t) * PI / (15.0 - g));
    return l - spanne / 2.0 * std::cos((g + 24.0 - t) * PI / (g + 9.0));
}

monatsgeometrie berechne_monatsgeometrie(int monat, double breite_grad) {
    monatsgeometrie g;
    g.monat = monat;
    g.delta = deklination(monat);
    g.omega_s = sonnenuntergangswinkel(g.delta, breite_grad);
    g.tg0 = g.omega_s * 2.0 / 15.0;
    double s_t = 0.0, s_d = 0.0;
    for (int k = 1; k <= STUNDEN; ++k) {
        g.omega[k] = ERSTER_STUNDENWINKEL + STUNDENSCHRITT * (k - 1);
        g.anteil[k] = stundenanteil(g.omega[k], g.omega_s).tag;
        if (g.anteil[k] > 0.0) {
            // An hour lit for less than its half has its centre after sunset
            // (or before sunrise), where the ratios turn negative: it gets no
            // share rather than a negative one.
            const auto r = stundenverhaeltnis(g.omega[k] * RAD, g.omega_s * RAD);
            g.r_t[k] = std::max(r.r_t, 0.0);
            g.r_d[k] = std::max(r.r_d, 0.0);
            s_t += g.anteil[k] * g.r_t[k];
            s_d += g.anteil[k] * g.r_d[k];
        }
    }
    g.n_t = s_t != 0.0 ? 1.0 / s_t : 0.0;
    g.n_d = s_d != 0.0 ? 1.0 / s_d : 0.0;
    return g;
}

}  // namespace sonne
