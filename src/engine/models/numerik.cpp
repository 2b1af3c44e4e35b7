#include "engine/models/numerik.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "data/konstanten.h"
#include "lang/meldung.h"

namespace {

int32_t g_mat_status = MAT_OK;

void pruefe_groesse(std::span<const double> coef, size_t grad, std::span<TComplex> z) {
    if (coef.size() < grad + 1 || z.size() < grad + 1) {
        meldung("Fehler: Zu wenige Koeffizienten oder Nullstellenplätze für Grad " +
                    std::to_string(grad),
                "S", 'T');
    }
}

void loesche(std::span<TComplex> z, int n) {
    for (int i = 1; i <= n; ++i) z[static_cast<size_t>(i)] = TComplex{};
}

}  // namespace

int32_t nullstelle_linear(double c0, double c1, double& x) {
    if (c1 == 0.0) return c0 == 0.0 ? -1 : -2;
    x = -c0 / c1;
    return 1;
}

int32_t nullstellen_quadratisch(std::span<const double> coef, std::span<TComplex> z) {
    pruefe_groesse(coef, 2, z);
    loesche(z, 2);
    const double a = coef[2], b = coef[1], c = coef[0];
    if (a == 0.0) {
        double x = 0.0;
        const int32_t n = nullstelle_linear(c, b, x);
        if (n == 1) z[1].Re = x;
        return n;
    }
    if (c == 0.0) {
        // One root is 0, the other that of a x + b = 0.
        double x = 0.0;
        const int32_t n = nullstelle_linear(b, a, x);
        z[1].Re = x;
        return n == 1 ? 2 : 1;
    }
    const double d = b * b - 4.0 * a * c;
    if (d > 0.0) {
        // The root with the larger magnitude first, the other from the product
        // of the roots: no cancellation when 4ac is small against b^2.
        const double q = b >= 0.0 ? -0.5 * (b + std::sqrt(d)) : -0.5 * (b - std::sqrt(d));
        z[1].Re = q / a;
        z[2].Re = c / q;
        return 2;
    }
    if (d == 0.0) {
        z[1].Re = z[2].Re = -b / (2.0 * a);
        return 2;
    }
    const double re = -b / (2.0 * a);
    const double im = std::sqrt(-d) * std::fabs(1.0 / (2.0 * a));
    z[1] = {re, im};
    z[2] = {re, -im};
    return 0;
}

int32_t nullstellen_kubisch(std::span<const double> coef, std::span<TComplex> z) {
    pruefe_groesse(coef, 3, z);
    // All three slots are cleared first: the quadratic fallback fills only two.
    loesche(z, 3);
    if (coef[3] == 0.0) return nullstellen_quadratisch(coef.first(3), z);
    // Normal form x^3 + a x^2 + b x + c.
    const double a = coef[2] / coef[3], b = coef[1] / coef[3], c = coef[0] / coef[3];
    const double a3 = a / 3.0;
    const double q = (a * a - 3.0 * b) / 9.0;
    const double r = (2.0 * a * a * a - 9.0 * a * b + 27.0 * c) / 54.0;
    const double q3 = q * q * q;
    if (r * r < q3) {
        // Three distinct real roots: trigonometric form.
        const double theta = std::acos(std::clamp(r / std::sqrt(q3), -1.0, 1.0));
        const double f = -2.0 * std::sqrt(q);
        const double pi2 = 2.0 * konst::PI;
        z[1].Re = f * std::cos(theta / 3.0) - a3;
        z[2].Re = f * std::cos((theta + pi2) / 3.0) - a3;
        z[3].Re = f * std::cos((theta - pi2) / 3.0) - a3;
        return 3;
    }
    // One real root and a complex pair (or a double root): Cardano.
    const double s = std::cbrt(std::fabs(r) + std::sqrt(r * r - q3));
    const double ga = r > 0.0 ? -s : s;
    const double gb = ga != 0.0 ? q / ga : 0.0;
    z[1].Re = ga + gb - a3;
    const double re = -0.5 * (ga + gb) - a3;
    const double im = 0.5 * std::sqrt(3.0) * (ga - gb);
    z[2] = {re, im};
    z[3] = {re, -im};
    return im == 0.0 ? 3 : 1;
}

double groesste_reelle_nullstelle(int n, std::span<const TComplex> z) {
    double groesste = -3.402823e38;
    for (int i = 1; i <= n; ++i) {
        const TComplex& w = z[static_cast<size_t>(i)];
        if (w.Im == 0.0 && w.Re > groesste) groesste = w.Re;
    }
    return groesste;
}

int32_t nullstellen_quartisch(std::span<const double> coef, std::span<TComplex> z) {
    pruefe_groesse(coef, 4, z);
    loesche(z, 4);
    if (coef[4] == 0.0) return nullstellen_kubisch(coef.first(4), z);
    if (coef[0] == 0.0) {
        // x = 0 is a root (slot 4); the cubic gives the others.
        return nullstellen_kubisch(coef.subspan(1, 4), z) + 1;
    }
    double a = coef[3], b = coef[2], c = coef[1], d = coef[0];
    if (coef[4] != 1.0) {
        b /= coef[4];
        c /= coef[4];
        d /= coef[4];
        a /= coef[4];
    }
    a /= 4.0;
    // Depressed quartic z^4 + p z^2 + q z + r with x = z - a.
    const double a2 = a * a;
    const double p = b - 6.0 * a2;
    const double q = a * (8.0 * a2 - 2.0 * b) + c;
    const double r = d - a * c + a2 * (b - 3.0 * a2);

    // Resolvent: its largest real root t = u^2 splits the quartic into two quadratics.
    const double h = p / 2.0;
    const double k = (h * h - r) / 4.0;
    TCompVector res{};
    double t = 0.0;
    if (q == 0.0 && k < 0.0) {
        const std::array<double, 3> rc{k, h, 1.0};
        nullstellen_quadratisch(rc, res);
        t = groesste_reelle_nullstelle(2, res);
    } else {
        const std::array<double, 4> rc{-q * q / 64.0, k, h, 1.0};
        nullstellen_kubisch(rc, res);
        t = groesste_reelle_nullstelle(3, res);
    }
    // Rounding can push a zero root slightly below 0; the resolvent of a real
    // quartic always has a root t >= 0.
    t = std::max(t, 0.0);
    const double u = std::sqrt(t);
    double S = 0.0, Q = 0.0;
    if (u != 0.0) {
        S = p + 4.0 * t;
        Q = q / (2.0 * u);
    } else {
        S = p;
        Q = std::sqrt(std::max(p * p - 4.0 * r, 0.0));
    }
    const double v = (S - Q) / 2.0, w = (S + Q) / 2.0;
    const std::array<double, 3> q1{v, 2.0 * u, 1.0};
    const std::array<double, 3> q2{w, -2.0 * u, 1.0};
    const int32_t n1 = nullstellen_quadratisch(q1, z);
    const int32_t n2 = nullstellen_quadratisch(q2, z.subspan(2));
    for (int i = 1; i <= 4; ++i) z[static_cast<size_t>(i)].Re -= a;
    return n1 + n2;
}

char quadratische_gleichung(double p, double q, double& x1, double& x2) {
    const double d = p * p / 4.0 - q;
    if (d < 0.0) return 'n';
    const double w = std::sqrt(d);
    x1 = -p / 2.0 - w;
    x2 = -p / 2.0 + w;
    return 'y';
}

double interpoliere(double x, double x1, double x2, double y1, double y2) {
    if (x2 == x1) return y1;
    return y1 + (y2 - y1) / (x2 - x1) * (x - x1);
}

void gerade_durch_zwei_punkte(double x1, double y1, double x2, double y2, double& steigung,
                              double& achsenabschnitt) {
    steigung = (y2 - y1) / (x2 - x1);
    achsenabschnitt = y1 - x1 * steigung;
}

bool im_toleranzband(double x, double y) {
    if (x == 0.0) return true;
    const double v = y / x;
    return v >= 0.99 && v <= 1.01;
}

double mittlere_eintrittstemperatur(const ::date3& d3, int m, int s) {
    return (d3.te[m][s] + d3.tf_s[m][s]) / 2.0;
}

void luftdaten_bei(const stoffdaten_luft& tabelle, double t, luftdaten& ergebnis) {
    const auto& v = tabelle.vstoffdatenluft;
    int i = 1;
    while (i < LUFT_ZEILEN && tabellenwert(v, 0, i) < t && tabellenwert(v, 0, i) != tabelle.tmax) {
        ++i;
    }
    for (int spalte = 1; spalte <= 5; ++spalte) {
        if (i == 1) {
            ergebnis[static_cast<size_t>(spalte)] = tabellenwert(v, spalte, 1);
        } else {
            ergebnis[static_cast<size_t>(spalte)] =
                interpoliere(t, tabellenwert(v, 0, i - 1), tabellenwert(v, 0, i),
                             tabellenwert(v, spalte, i - 1), tabellenwert(v, spalte, i));
        }
    }
}

luftdaten luftdaten_bei(const stoffdaten_luft& tabelle, double t) {
    luftdaten ergebnis{};
    luftdaten_bei(tabelle, t, ergebnis);
    return ergebnis;
}

double dampftafel_wert(const std::array<double, ANZ_DAMPFTAFEL>& tafel, int n, int b, int a,
                       double x, double& mittel) {
    if (n < 1 || n > LUFT_ZEILEN || a < 0 || a > 4 || b < 0 || b > 4) {
        meldung("Fehler: Dampftafel mit " + std::to_string(n) + " Zeilen nicht lesbar", "S", 'T');
        mittel = 0.0;
        return 0.0;
    }
    int pos = 1;
    while (pos < n && x > tabellenwert(tafel, b, pos)) ++pos;
    if (pos == 1) {
        // At or below the first row (or a table of one row): row 1.
        mittel = (tabellenwert(tafel, 1, 1) + tabellenwert(tafel, 2, 1)) / 2.0;
        return tabellenwert(tafel, a, 1);
    }
    const double x1 = tabellenwert(tafel, b, pos - 1), x2 = tabellenwert(tafel, b, pos);
    const double p1 = interpoliere(x, x1, x2, tabellenwert(tafel, 1, pos - 1), tabellenwert(tafel, 1, pos));
    const double p2 = interpoliere(x, x1, x2, tabellenwert(tafel, 2, pos - 1), tabellenwert(tafel, 2, pos));
    mittel = (p1 + p2) / 2.0;
    return interpoliere(x, x1, x2, tabellenwert(tafel, a, pos - 1), tabellenwert(tafel, a, pos));
}

TVector dim_vektor(int ub) { return TVector(static_cast<size_t>(ub + 1), 0.0); }

TMatrix dim_matrix(int ub) { return TMatrix(static_cast<size_t>(ub + 1), dim_vektor(ub)); }

int32_t gauss_jordan(TMatrix& a, TVector& b, int lb, int ub, double& det) {
    const auto z = [](int i) { return static_cast<size_t>(i); };
    if (lb < 0 || ub < lb || a.size() < z(ub + 1) || b.size() < z(ub + 1)) {
        meldung("Fehler: Gleichungssystem mit falschen Grenzen " + std::to_string(lb) + ".." +
                    std::to_string(ub),
                "S", 'T');
        return g_mat_status = MAT_SINGULAR;
    }
    for (int i = lb; i <= ub; ++i) {
        if (a[z(i)].size() < z(ub + 1)) {
            meldung("Fehler: Matrixzeile zu kurz", "S", 'T');
            return g_mat_status = MAT_SINGULAR;
        }
    }
    constexpr double eps = 2.220446049250313e-16;
    det = 1.0;
    TIntVector prow(z(ub + 1), 0), pcol(z(ub + 1), 0);
    TVector c = dim_vektor(ub);

    for (int k = lb; k <= ub; ++k) {
        // Full pivoting: the first largest element in row-major scan order wins.
        double pvt = a[z(k)][z(k)];
        int ik = k, jk = k;
        for (int i = k; i <= ub; ++i) {
            for (int j = k; j <= ub; ++j) {
                if (std::fabs(pvt) < std::fabs(a[z(i)][z(j)])) {
                    pvt = a[z(i)][z(j)];
                    ik = i;
                    jk = j;
                }
            }
        }
        prow[z(k)] = ik;
        pcol[z(k)] = jk;
        det *= pvt;
        if (ik != k) det = -det;
        if (jk != k) det = -det;
        if (std::fabs(pvt) < eps) return g_mat_status = MAT_SINGULAR;

        if (ik != k) {
            std::swap(a[z(ik)], a[z(k)]);
            std::swap(b[z(ik)], b[z(k)]);
        }
        if (jk != k) {
            for (int i = lb; i <= ub; ++i) std::swap(a[z(i)][z(jk)], a[z(i)][z(k)]);
        }
        for (int i = lb; i <= ub; ++i) {
            if (i != k) {
                c[z(i)] = a[z(i)][z(k)];
                a[z(i)][z(k)] = 0.0;
            }
        }
        c[z(k)] = 0.0;
        a[z(k)][z(k)] = 1.0;
        const double f = 1.0 / pvt;
        for (int j = lb; j <= ub; ++j) a[z(k)][z(j)] *= f;
        b[z(k)] *= f;
        for (int i = lb; i <= ub; ++i) {
            if (i == k) continue;
            const double ci = c[z(i)];
            for (int j = lb; j <= ub; ++j) a[z(i)][z(j)] -= ci * a[z(k)][z(j)];
            b[z(i)] -= ci * b[z(k)];
        }
    }
    // Undo the exchanges: column exchanges permute the rows of the inverse and
    // the solution, row exchanges the columns of the inverse.
    for (int k = ub; k >= lb; --k) {
        if (pcol[z(k)] != k) {
            std::swap(a[z(k)], a[z(pcol[z(k)])]);
            std::swap(b[z(k)], b[z(pcol[z(k)])]);
        }
    }
    for (int k = ub; k >= lb; --k) {
        if (prow[z(k)] != k) {
            for (int i = lb; i <= ub; ++i) std::swap(a[z(i)][z(k)], a[z(i)][z(prow[z(k)])]);
        }
    }
    return g_mat_status = MAT_OK;
}

int32_t mat_status() { return g_mat_status; }
