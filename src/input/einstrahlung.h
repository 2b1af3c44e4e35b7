#pragma once
// Irradiation and outdoor temperature on the collector plane, laid out on the
// interval grid of the run: the per-interval series of the first pvdatz3, the
// interval counts n[m] and the monthly values of vdatz, from the site's
// weather record (monthly, daily or hourly values).
//
// The computation works on a plain copy of the weather record
// (`wetterdatensatz`) and a unit-conversion lookup (`einheiten_umrechnung`),
// so it does not depend on the database layer.

#include <array>
#include <string>
#include <vector>

#include "data/einheit_struct.h"
#include "engine/WP_variables.h"

// Unit conversions of the weather record: main value = faktor * value + offset.
class einheiten_umrechnung {
public:
    virtual ~einheiten_umrechnung() = default;
    // Irradiation unit -> "kWh/qm" (quantity "IR"). A monthly value of month
    // m (1..12) in a per-day unit is scaled by `tage`, the days of that month
    // in the record's year; month 0 converts a value of one day or one
    // interval (a detail row), which is never scaled.
    virtual umrechnen_struct einstrahlung(const std::string& einheit, int monat, int tage) const = 0;
    // Temperature unit -> the main temperature unit (quantity "TE").
    virtual umrechnen_struct temperatur(const std::string& einheit, int monat) const = 0;
};

// Clearness index and diffuse fraction of each month, as last computed.
struct diffus_kennwerte {
    monatsfeld kt{};         // clearness index H / H0
    monatsfeld anteil{};     // diffuse fraction D / H
    monatsfeld komplement{}; // 1 - D / H
};

// Diffuse irradiation of global irradiation H (daily sum, or monthly sum when
// `monatssumme` is 1.0) of month m at latitude `breite` with sunset hour angle
// omega_s (degrees), by the correlation that fits the data (numchar strahlung, zeitintervall).
// Stores the month's clearness index and diffuse fraction in `kennwerte`.
// When H or the result is negative, the clearness-index warning is given once
// per `warnung_gegeben` (and only in message mode "M").
double berechne_diffusanteil(int monat, double H, double breite, double omega_s,
                             double monatssumme, const flagchar& numchar,
                             diffus_kennwerte& kennwerte, bool& warnung_gegeben);

// The whole layout for one collector plane (tilt theta_s, azimuth phi_g,
// degrees; azimuth 0 faces the equator, +90 west, see sonne::berechne_costheta)
// at latitude `breite`: writes the first series `pvdatz3`
// (is0, ir, diff, ref, ta, ho), n[m] (setze_intervalle), the monthly values
// of vdatz (is0, ir, diff, ref, ta, tamin, tamax, ho, hogn, tg, mtn, gdn, gdt),
// numchar[ndata::strahlungsherkunft], and the second series `pvdatz3_2` (hourly detail path: the
// values as read; horizontal plane: a copy of the first). `vdatt`[tdata::reflektion] is the
// ground reflection. The annual irradiation on the plane is set to the sum of
// vdatz[ir]. `abbruchmarke` is 1 on return, 0 when the measuring tilt of the
// record does not fit the plane (nothing computed; the run stops).
// More than 800 intervals in a month, or a detail row missing, abandon the
// operation (abbruch).
void berechne_Einstrahlungsdaten(const wetterdatensatz& wetter, const einheiten_umrechnung& einheiten,
                                 datz& vdatz, flagchar& numchar, int& abbruchmarke,
                                 const datt& vdatt, double& jahreseinstrahlung, datz3& pvdatz3,
                                 datz3& pvdatz3_2, double phi_g, double theta_s, double breite,
                                 diffus_kennwerte* kennwerte = nullptr);

// Sorts the intervals 1..n of month m by is0 (sortierung "D" descending,
// "U" ascending, otherwise unchanged), moving the series is0..ho along.
// Equal intensities keep their order.
void sortiere_intervalle(datz3& pvdatz3, int monat, int n, const std::string& sortierung);

// Rotates the 24 hours of the fictitious mean day of every month so that the
// first interval is the hour 12:00-13:00 (series is0, ir, diff, ref, ta).
void verschiebe_daten(datz3& pvdatz3);

// The irradiation entry bound to one weather record, in the form the run
// driver calls it; the second series is the one of the series state.
class einstrahlungsrechner {
public:
    einstrahlungsrechner(const wetterdatensatz& wetter, const einheiten_umrechnung& einheiten)
        : wetter_(wetter), einheiten_(einheiten) {}
    // Returns the abort mark (1 computed, 0 the tilts do not fit).
    int operator()(double breite, double theta_s, double phi_g, datz& vdatz, flagchar& numchar,
                   datz3& pvdatz3, const datt& vdatt);
    double jahreseinstrahlung() const { return jahreseinstrahlung_; }

private:
    const wetterdatensatz& wetter_;
    const einheiten_umrechnung& einheiten_;
    double jahreseinstrahlung_ = 0.0;
};
