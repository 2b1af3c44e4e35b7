#pragma once
// Heating bookkeeping of the interval balance: bookings of the two heating
// paths, conversion of heat into final and primary energy by heating type,
// and the monthly summary that prices the month and gives its objective.

#include "engine/WP_variables.h"

// Books heat (e, g) and final energy (f, h) of the uncoupled heating (ok) and
// the auxiliary heating (nh) of interval s; any mode other than 'N' books the
// final energies as virtual.
void heizung_buchen(int m, int s, char modus, double e, double f, double g, double h,
                    ::date& d, ::date3& d3);

// Heat Q into local final energy F and primary energy P by the drive letter
// ("E" electric: F = Q, P = F/a, S += Q; "W" heat engine: F = Q/b, P = F).
void heizart_umrechnen(double Q, double& F, double& P, const std::string& antrieb, double a,
                       double b, double& S);
// By the heat source without coupling ("G" gas, "K" electric, "F" district
// heating), otherwise by the drive letter with a = y and b = x.
void heizart_umrechnen(double Q, double& F, double& P, const std::string& quelle,
                       const std::string& antrieb, double x, double y, double z, double& S);

// Share of a monthly energy for interval s (all hours with numchar[ndata::luftwaermetauscher] = "L",
// otherwise the daylight hours, 0 at night).
double monatsenergie_auf_intervall(double E_monat, int m, int s, const flagchar& numchar,
                                   const datz& vdatz, const datz3& pvdatz3);

// Converts and prices the month's energies of `date` and returns the month's
// objective by the optimisation target numchar[ndata::optimierung].
double heizung_monatsbilanz(const flagchar& numchar, const datt& vdatt, int m, ::date& d);
