#pragma once
// Numerical routines shared by the component models: polynomial roots up to
// degree 4, the real quadratic with its flag, interpolation, the Gauss-Jordan
// solver, lookups in the air property table and the refrigerant vapour table,
// and a few small arithmetic helpers. All are stateless apart from the status
// code of the linear solver.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "data/konstanten.h"
#include "engine/WP_variables.h"

// ---------------------------------------------------------------------------
// Polynomial roots
// ---------------------------------------------------------------------------
struct TComplex {
    double Re = 0.0;
    double Im = 0.0;
};

// Roots [1..4]; slot 0 is spare so that root i is element i.
using TCompVector = std::array<TComplex, 5>;

// Root x of c1*x + c0 = 0. Count 1; -1 when every x solves it (c1 = c0 = 0);
// -2 when none does (c1 = 0, c0 != 0).
int32_t nullstelle_linear(double c0, double c1, double& x);

// Coefficients coef[0..n], coef[0] the constant term. Roots are written to
// z[1..n] (z must hold at least n + 1 elements); every root slot used is set
// to (0, 0) first. The result is the number of real roots.
int32_t nullstellen_quadratisch(std::span<const double> coef, std::span<TComplex> z);
int32_t nullstellen_kubisch(std::span<const double> coef, std::span<TComplex> z);
// Ferrari's method. Roots 1, 2 are those of z^2 + 2u z + v, roots 3, 4 those of
// z^2 - 2u z + w (each in the order of the quadratic): callers rely on it.
int32_t nullstellen_quartisch(std::span<const double> coef, std::span<TComplex> z);

// Largest real part among z[1..n] with imaginary part exactly 0;
// -3.402823e38 when there is none.
double groesste_reelle_nullstelle(int n, std::span<const TComplex> z);

// x^2 + p x + q = 0: x1 <= x2 and 'y' when real; 'n' and x1, x2 unchanged otherwise.
char quadratische_gleichung(double p, double q, double& x1, double& x2);

// ---------------------------------------------------------------------------
// Interpolation and small helpers
// ---------------------------------------------------------------------------
// Straight line through (x1, y1), (x2, y2) at x; y1 when x1 = x2. Extrapolates.
double interpoliere(double x, double x1, double x2, double y1, double y2);
void gerade_durch_zwei_punkte(double x1, double y1, double x2, double y2, double& steigung,
                              double& achsenabschnitt);
inline double in_kelvin(double t) { return t + konst::ABSOLUT_NULL; }
inline double linear_wert(double a, double b, double x) { return a * x + b; }
inline double produkt3(double a, double b, double c) { return a * b * c; }
inline double verhaeltnis_oder_eins(double x, double y) { return x > 0.0 ? x / y : 1.0; }
inline double zehn_durch(double x) { return x > 0.0 ? 10.0 / x : 0.1; }
// True when x = 0 or y / x lies within [0.99, 1.01].
bool im_toleranzband(double x, double y);
// Mean of the collector inflow and the previous air-collector outflow temperature.
double mittlere_eintrittstemperatur(const ::date3& d3, int m, int s);

// ---------------------------------------------------------------------------
// Property tables
// ---------------------------------------------------------------------------
// One row of the air table: 0 temperature, 1 density, 2 heat capacity,
// 3 heat conductivity, 4 kinematic viscosity, 5 saturation pressure of water.
using luftdaten = std::array<double, 6>;

constexpr int LUFT_ZEILEN = 100;
// Element [spalte][zeile] (zeile 1..100) of a column-wise stored table.
inline double tabellenwert(const std::array<double, ANZ_STOFFDATEN_LUFT>& t, int spalte,
                           int zeile) {
    return t[static_cast<size_t>(spalte * LUFT_ZEILEN + zeile - 1)];
}
inline double tabellenwert(const std::array<double, ANZ_DAMPFTAFEL>& t, int spalte, int zeile) {
    return t[static_cast<size_t>(spalte * LUFT_ZEILEN + zeile - 1)];
}

// Air properties at t (°C). Below the first row: row 1; above the last filled
// row (temperature tmax): extrapolated from the last two rows. Element 0 of
// `ergebnis` is left as it was.
void luftdaten_bei(const stoffdaten_luft& tabelle, double t, luftdaten& ergebnis);
luftdaten luftdaten_bei(const stoffdaten_luft& tabelle, double t);

// Value of column a at x, searched in column b of a vapour table with n rows in
// use; `mittel` receives the mean of columns 1 and 2 (the pressures) at x.
// At or below the first row the values of row 1 are taken.
double dampftafel_wert(const std::array<double, ANZ_DAMPFTAFEL>& tafel, int n, int b, int a,
                       double x, double& mittel);

// ---------------------------------------------------------------------------
// Linear systems
// ---------------------------------------------------------------------------
using TVector = std::vector<double>;
using TIntVector = std::vector<int32_t>;
using TMatrix = std::vector<TVector>;

constexpr int32_t MAT_OK = 0;
constexpr int32_t MAT_SINGULAR = -2;

// Zero-filled vector / square matrix with indices 0..ub.
TVector dim_vektor(int ub);
TMatrix dim_matrix(int ub);

// Solves A x = B over the index range lb..ub with full pivoting. On success B
// holds x, A its inverse, det the determinant, and the status is 0. A pivot
// below the machine epsilon stops at once with status -2 (A and B stay
// partly transformed). The status is also kept for `mat_status`.
int32_t gauss_jordan(TMatrix& a, TVector& b, int lb, int ub, double& det);
// Status of the last solve.
int32_t mat_status();
