#pragma once
// Clear-sky irradiance at a clock time (cloudless-sky model of the European
// Solar Radiation Atlas) and the sun-position helpers it is built from, which
// the forecast of a control run also uses: day of the year, the Bourges
// declination series, the equation of time and the solar time of a clock
// reading.

#include "engine/WP_variables.h"

namespace klarer_himmel {

// Day of the year (1..366) of a calendar date; February has 29 days in
// years divisible by 4 and not by 100, or divisible by 400.
int tag_des_jahres(int jahr, int monat, int tag);

// Declination (radians) on day j of the year at longitude `laenge_grad`
// (degrees east), Bourges series.
double deklination_bourges(double tag, double laenge_grad);

// Equation of time (hours) on day j of the year.
double zeitgleichung(double tag);

// Solar time (hours) of a clock reading in month `monat` (1..12) on day j of
// the year at longitude `laenge_grad`: the clock is taken as the time zone of
// 15 deg east, with one hour of summer time in months 4 to 10.
double sonnenzeit(int monat, double tag, int stunde, int minute, double laenge_grad);

}  // namespace klarer_himmel

struct klarer_himmel_ergebnis {
    double B = 0.0;      // beam irradiance on the horizontal, W/m2
    double D = 0.0;      // diffuse irradiance on the horizontal, W/m2
    double omega = 0.0;  // hour angle, radians
    double delta = 0.0;  // declination, radians
};

// Clear-sky beam and diffuse irradiance on a horizontal plane at the given
// date and clock time, for the site in vdatt (breitengrad, laengengrad in
// degrees; hoehe in m). With the sun at or below the horizon
// both are 0.
klarer_himmel_ergebnis irradiation_cloudless_sky(int jahr, int monat, int tag, int stunde,
                                                 int minute, const datt& vdatt);
