#pragma once
// Solar geometry of the mid-month day and the hourly distribution of daily
// irradiation and temperature, used to lay monthly or daily weather values
// out on the hour grid of a day.
//
// Angles are degrees at the interfaces unless a name says radians. The hour
// grid has 24 hours with centre hour angles -172.5, -157.5, ..., 172.5
// (hour 1 is 00:00-01:00 solar time, hour angles negative before noon).

#include <array>

namespace sonne {

constexpr int STUNDEN = 24;
constexpr double STUNDENSCHRITT = 15.0;    // hour-angle width of one hour, degrees
constexpr double ERSTER_STUNDENWINKEL = -172.5;

// Mid-month day numbers 15, 45, ..., 349 of months 1..12.
int tag_monatsmitte(int monat);

// Declination of the mid-month day of month m in degrees:
// 23.45 sin((n + 284) 360/365 deg).
double deklination(int monat);

// Sunset hour angle (degrees) for declination and latitude (degrees):
// arccos(-tan d tan phi), clamped to 0 (polar night) and 180 (polar day).
double sonnenuntergangswinkel(double deklination_grad, double breite_grad);

struct tageslaenge_ergebnis {
    double stunden = 0.0;        // day length tg0 = 2 ws / 15
    double omega_s = 0.0;        // sunset hour angle, degrees
    double monatsstunden = 0.0;  // days of the month x day length
};
// Day length of the mid-month day; `tage` is the month's day count.
tageslaenge_ergebnis tageslaenge(int monat, double breite_grad, int tage);

struct tagesstunden {
    double tg0 = 0.0;       // day length, hours
    double deltawj = STUNDENSCHRITT;
    double wj = ERSTER_STUNDENWINKEL;
    double pws = 0.0;       // sunset hour angle ws
    double mws = 0.0;       // sunrise hour angle -ws
};
tagesstunden tagesstundenparameter(double breite_grad, int monat);

struct stundenanteil_ergebnis {
    double tag = 0.0;    // sunlit fraction of the hour
    double nacht = 0.0;  // 1 - sunlit fraction
};
// Sunlit fraction of the hour centred at hour angle omega with width delta.
stundenanteil_ergebnis stundenanteil(double omega, double omega_s,
                                     double delta = STUNDENSCHRITT);

struct stundenverhaeltnis_ergebnis {
    double r_t = 0.0;  // hourly / daily global irradiation
    double r_d = 0.0;  // hourly / daily diffuse irradiation
};
// Ratios of hourly to daily irradiation (Collares-Pereira and Rabl) at hour
// angle omega for sunset hour angle omega_s, both in radians. A sunset angle
// of 0 (no daylight) gives 0.
stundenverhaeltnis_ergebnis stundenverhaeltnis(double omega_rad, double omega_s_rad);

// Eccentricity factor of the earth's orbit on day j of the year.
double exzentrizitaet(double tag);

// Extraterrestrial irradiation (kWh/m2) on a horizontal plane between hour
// angles omega2 and omega1 (degrees, omega2 < omega1) of the mid-month day.
double berechne_extraterristische_einstrahlung(int monat, double omega1, double omega2,
                                               double breite_grad);

// Cosine of the incidence angle on a plane of tilt beta and azimuth gamma,
// all arguments in radians. The azimuth is counted from the equator at every
// latitude: 0 faces south in the northern hemisphere and north in the
// southern one (at the equator itself: south); +90 deg faces west and
// -90 deg east in both. The hour angle is negative before solar noon.
double berechne_costheta(double delta, double phi, double omega, double beta, double gamma);

// Cosine of the zenith angle (radians in).
double berechne_coszenit(double delta, double phi, double omega);

// Tilt factors of a plane for one hour of the mid-month day.
struct neigungsfaktoren {
    double fbs = 0.0;    // beam on the plane / beam on the horizontal
    double fds = 0.0;    // diffuse on the plane / diffuse on the horizontal (isotropic sky)
    double fr = 0.0;     // reflected on the plane / global on the horizontal, per unit ground reflection
    double bsmax = 0.0;  // extraterrestrial beam on the plane, W/m2 averaged over the whole
                         // interval; infinite for a horizontal plane (no limit)

    // Beam on the plane (kWh/m2) for beam B (kWh/m2) on the horizontal over
    // an interval of `stunden` hours: fbs B, but no more than the
    // extraterrestrial beam on the plane over those hours.
    double direkt_auf_ebene(double B, double stunden) const;
};
// The tilt factors for the hour centred at hour angle omega (degrees) with
// the hour-angle width `breite_stunde` (degrees), on a plane of tilt beta and
// azimuth gamma (degrees; see berechne_costheta) at latitude `breite_grad`.
//
// The beam factor is the ratio of the incidence cosine on the plane (where
// positive) to the zenith cosine, both integrated over the sunlit part of the
// hour (the part between sunrise and sunset of the mid-month day); the ratio
// of the point cosines at the hour centre would break down in the hours of
// sunrise and sunset. It is 0 when the plane faces away from the sun, 1 for
// a horizontal plane, and at most 1 / sin 5 deg (the sun taken no lower than
// 5 deg).
//
// Measured beam that the mid-month geometry puts at a low sun would still be
// multiplied by up to 11.5; `bsmax` bounds the result by what the sun can
// deliver to the plane at all: the solar constant times the eccentricity
// factor of the mid-month day (at most 1.034 x 1367 = 1413 W/m2) times the
// positive incidence cosine, integrated over the sunlit part of the interval.
// Since fbs is the ratio of that integral to the zenith one, the bound holds
// exactly where the measured horizontal beam exceeds the extraterrestrial
// beam on the horizontal in the geometry of the mid-month day (a beam
// normal to the sun above the solar constant); there the plane gets the
// extraterrestrial value. A horizontal plane keeps the measured beam.
neigungsfaktoren Neigungseinfluss(int monat, double omega, double beta, double gamma,
                                  double breite_grad, double breite_stunde = STUNDENSCHRITT);

// Temperature at hour t (0..24, hours after midnight) of a day with day
// length `tageslaenge` and the day's minimum and maximum: a cosine rise from
// the minimum at sunrise to the maximum at 15:00 and a cosine fall back.
double temperaturprofil(double t, double tageslaenge, double tmin, double tmax);

// Geometry of one month on the 24-hour grid: the sunlit fraction of every
// hour and the normalisers that make the hourly shares of a day add up to 1.
struct monatsgeometrie {
    int monat = 0;
    double delta = 0.0;    // declination, degrees
    double omega_s = 0.0;  // sunset hour angle, degrees
    double tg0 = 0.0;      // day length, hours
    std::array<double, STUNDEN + 1> omega{};    // centre hour angle of hour k, [1..24]
    std::array<double, STUNDEN + 1> anteil{};   // sunlit fraction of hour k
    std::array<double, STUNDEN + 1> r_t{};      // Collares-Pereira/Rabl global ratio (0 where dark)
    std::array<double, STUNDEN + 1> r_d{};      // diffuse ratio (0 where dark)
    double n_t = 0.0;      // 1 / sum(anteil r_t); 0 when the day has no daylight
    double n_d = 0.0;      // 1 / sum(anteil r_d)

    // Share of a day's global (diffuse) irradiation that falls in hour k.
    double globalanteil(int k) const { return anteil[k] * r_t[k] * n_t; }
    double diffusanteil(int k) const { return anteil[k] * r_d[k] * n_d; }
};
monatsgeometrie berechne_monatsgeometrie(int monat, double breite_grad);

// Neigungseinfluss with the month's declination and sunset hour angle taken
// from an already computed month geometry.
neigungsfaktoren neigungsfaktoren_fuer(const monatsgeometrie& geo, double omega, double beta,
                                       double gamma, double breite_grad,
                                       double breite_stunde = STUNDENSCHRITT);

}  // namespace sonne
