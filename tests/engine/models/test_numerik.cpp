#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/models/numerik.h"

namespace {

std::array<double, 5> aus_nullstellen(double r1, double r2, double r3, double r4) {
    // (x - r1)(x - r2)(x - r3)(x - r4), constant term first.
    const double e1 = r1 + r2 + r3 + r4;
    const double e2 = r1 * r2 + r1 * r3 + r1 * r4 + r2 * r3 + r2 * r4 + r3 * r4;
    const double e3 = r1 * r2 * r3 + r1 * r2 * r4 + r1 * r3 * r4 + r2 * r3 * r4;
    const double e4 = r1 * r2 * r3 * r4;
    return {e4, -e3, e2, -e1, 1.0};
}

}  // namespace

TEST(Nullstellen, LinearFaelle) {
    double x = 7.0;
    EXPECT_EQ(nullstelle_linear(6.0, 2.0, x), 1);
    EXPECT_DOUBLE_EQ(x, -3.0);
    EXPECT_EQ(nullstelle_linear(0.0, 0.0, x), -1);
    EXPECT_EQ(nullstelle_linear(1.0, 0.0, x), -2);
}

TEST(Nullstellen, QuadratischeFaelle) {
    TCompVector z{};
    // Two real roots; x^2 - 3x + 2.
    EXPECT_EQ(nullstellen_quadratisch(std::array{2.0, -3.0, 1.0}, z), 2);
    EXPECT_DOUBLE_EQ(std::max(z[1].Re, z[2].Re), 2.0);
    EXPECT_DOUBLE_EQ(std::min(z[1].Re, z[2].Re), 1.0);
    // Complex pair: x^2 + 2x + 5 = 0 -> -1 +- 2i, count 0.
    EXPECT_EQ(nullstellen_quadratisch(std::array{5.0, 2.0, 1.0}, z), 0);
    EXPECT_DOUBLE_EQ(z[1].Re, -1.0);
    EXPECT_DOUBLE_EQ(z[1].Im, 2.0);
    EXPECT_DOUBLE_EQ(z[2].Im, -2.0);
    // Constant term 0: roots -b/a and 0.
    EXPECT_EQ(nullstellen_quadratisch(std::array{0.0, 4.0, 2.0}, z), 2);
    EXPECT_DOUBLE_EQ(z[1].Re, -2.0);
    EXPECT_DOUBLE_EQ(z[2].Re, 0.0);
    // Leading coefficient 0: the linear case and its count.
    EXPECT_EQ(nullstellen_quadratisch(std::array{3.0, 0.0, 0.0}, z), -2);
    // Double root.
    EXPECT_EQ(nullstellen_quadratisch(std::array{1.0, -2.0, 1.0}, z), 2);
    EXPECT_DOUBLE_EQ(z[1].Re, 1.0);
    EXPECT_DOUBLE_EQ(z[2].Re, 1.0);
}

TEST(Nullstellen, QuadratischGenauBeiKleinemProdukt) {
    // x^2 - 1e8 x + 1: roots 1e8 and 1e-8. The naive formula loses the small
    // root completely; the subtracting branch keeps both to full precision.
    TCompVector z{};
    ASSERT_EQ(nullstellen_quadratisch(std::array{1.0, -1e8, 1.0}, z), 2);
    EXPECT_NEAR(z[1].Re, 1e8, 1e-6);
    EXPECT_NEAR(z[2].Re / 1e-8, 1.0, 1e-12);
    // And the mirrored case with a positive linear coefficient.
    ASSERT_EQ(nullstellen_quadratisch(std::array{1.0, 1e8, 1.0}, z), 2);
    EXPECT_NEAR(z[2].Re / -1e-8, 1.0, 1e-12);
}

TEST(Nullstellen, KubischDreiReelleUndKomplexesPaar) {
    TCompVector z{};
    // (x-1)(x-2)(x-3) = x^3 - 6x^2 + 11x - 6.
    EXPECT_EQ(nullstellen_kubisch(std::array{-6.0, 11.0, -6.0, 1.0}, z), 3);
    EXPECT_NEAR(groesste_reelle_nullstelle(3, z), 3.0, 1e-12);
    // (x-2)(x^2+1) = x^3 - 2x^2 + x - 2: one real root.
    EXPECT_EQ(nullstellen_kubisch(std::array{-2.0, 1.0, -2.0, 1.0}, z), 1);
    EXPECT_NEAR(groesste_reelle_nullstelle(3, z), 2.0, 1e-12);
    // Double root (x-1)^2 (x+2) = x^3 - 3x + 2: the pair is real, count 3.
    EXPECT_EQ(nullstellen_kubisch(std::array{2.0, -3.0, 0.0, 1.0}, z), 3);
    EXPECT_NEAR(groesste_reelle_nullstelle(3, z), 1.0, 1e-12);
    // Leading coefficient 0 falls back to the quadratic. The array still holds
    // the root 1 of the last call in slot 3, below the new roots 1 and 2; a
    // stale real root above them must not survive either.
    z[3] = {5.0, 0.0};
    EXPECT_EQ(nullstellen_kubisch(std::array{2.0, -3.0, 1.0, 0.0}, z), 2);
    EXPECT_EQ(z[3].Re, 0.0);
    EXPECT_NEAR(groesste_reelle_nullstelle(3, z), 2.0, 1e-12);
}

TEST(Nullstellen, GroessteReelleUebergehtKomplexe) {
    TCompVector z{};
    z[1] = {5.0, 1e-300};
    z[2] = {-1.0, 0.0};
    z[3] = {2.0, 0.0};
    EXPECT_DOUBLE_EQ(groesste_reelle_nullstelle(3, z), 2.0);
    EXPECT_DOUBLE_EQ(groesste_reelle_nullstelle(1, z), -3.402823e38);
}

TEST(Nullstellen, QuartischVierReelleInFerrariReihenfolge) {
    TCompVector z{};
    const auto c = aus_nullstellen(1, 2, 3, 4);
    ASSERT_EQ(nullstellen_quartisch(c, z), 4);
    // Roots 1, 2 from z^2 + 2uz + v, roots 3, 4 from z^2 - 2uz + w.
    EXPECT_NEAR(z[1].Re, 1.0, 1e-12);
    EXPECT_NEAR(z[2].Re, 2.0, 1e-12);
    EXPECT_NEAR(z[3].Re, 4.0, 1e-12);
    EXPECT_NEAR(z[4].Re, 3.0, 1e-12);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(z[i].Im, 0.0);
}

TEST(Nullstellen, QuartischSonderfaelle) {
    TCompVector z{};
    // x^4 + 1: no real root.
    EXPECT_EQ(nullstellen_quartisch(std::array{1.0, 0.0, 0.0, 0.0, 1.0}, z), 0);
    for (int i = 1; i <= 4; ++i) EXPECT_NE(z[i].Im, 0.0);
    // Constant term 0: x (x-1)(x-2)(x-3), zero root in slot 4.
    EXPECT_EQ(nullstellen_quartisch(std::array{0.0, -6.0, 11.0, -6.0, 1.0}, z), 4);
    EXPECT_EQ(z[4].Re, 0.0);
    EXPECT_NEAR(groesste_reelle_nullstelle(4, z), 3.0, 1e-12);
    // Leading coefficient 0: the cubic.
    EXPECT_EQ(nullstellen_quartisch(std::array{-6.0, 11.0, -6.0, 1.0, 0.0}, z), 3);
    // Non-monic with a complex pair: 2 (x-1)(x+2)(x^2+1).
    // (x^2 + x - 2)(x^2 + 1) = x^4 + x^3 - x^2 + x - 2
    EXPECT_EQ(nullstellen_quartisch(std::array{-4.0, 2.0, -2.0, 2.0, 2.0}, z), 2);
    EXPECT_NEAR(groesste_reelle_nullstelle(4, z), 1.0, 1e-12);
}

TEST(QuadratischeGleichung, ReellDoppeltUndKomplex) {
    double x1 = 9, x2 = 9;
    EXPECT_EQ(quadratische_gleichung(-4.0, 4.0, x1, x2), 'y');  // p^2 = 4q
    EXPECT_DOUBLE_EQ(x1, 2.0);
    EXPECT_DOUBLE_EQ(x2, 2.0);
    EXPECT_EQ(quadratische_gleichung(0.0, -9.0, x1, x2), 'y');
    EXPECT_DOUBLE_EQ(x1, -3.0);
    EXPECT_DOUBLE_EQ(x2, 3.0);
    EXPECT_EQ(quadratische_gleichung(0.0, 1.0, x1, x2), 'n');
    EXPECT_DOUBLE_EQ(x1, -3.0);  // unchanged
}

TEST(Hilfsfunktionen, InterpolationUndKleineFormeln) {
    EXPECT_DOUBLE_EQ(interpoliere(5, 2, 2, 7, 9), 7.0);
    EXPECT_DOUBLE_EQ(interpoliere(4, 0, 2, 0, 1), 2.0);  // extrapolates
    double st = 0, ab = 0;
    gerade_durch_zwei_punkte(1, 3, 3, 7, st, ab);
    EXPECT_DOUBLE_EQ(st, 2.0);
    EXPECT_DOUBLE_EQ(ab, 1.0);
    EXPECT_DOUBLE_EQ(in_kelvin(20.0), 293.1);
    EXPECT_DOUBLE_EQ(verhaeltnis_oder_eins(0.0, 5.0), 1.0);
    EXPECT_DOUBLE_EQ(verhaeltnis_oder_eins(10.0, 5.0), 2.0);
    EXPECT_DOUBLE_EQ(zehn_durch(0.0), 0.1);
    EXPECT_DOUBLE_EQ(zehn_durch(4.0), 2.5);
    EXPECT_TRUE(im_toleranzband(0.0, 1e9));
    EXPECT_TRUE(im_toleranzband(100.0, 101.0));
    EXPECT_FALSE(im_toleranzband(100.0, 101.5));
    EXPECT_FALSE(im_toleranzband(100.0, 98.9));
}

namespace {

stoffdaten_luft luft_tabelle() {
    // Three rows at 0, 10, 20 °C; column c of row r holds 100 c + r.
    stoffdaten_luft t;
    const double temp[] = {0.0, 10.0, 20.0};
    for (int r = 1; r <= 3; ++r) {
        t.vstoffdatenluft[static_cast<size_t>(r - 1)] = temp[r - 1];
        for (int c = 1; c <= 5; ++c) t.vstoffdatenluft[static_cast<size_t>(c * 100 + r - 1)] = 100.0 * c + r;
    }
    t.tmin = 0.0;
    t.tmax = 20.0;
    return t;
}

}  // namespace

TEST(Luftdaten, UnterhalbAufZeileZwischenUndOberhalb) {
    const stoffdaten_luft t = luft_tabelle();
    luftdaten l{};
    l[0] = -99.0;
    luftdaten_bei(t, -15.0, l);  // below the first row: row 1 unchanged
    EXPECT_DOUBLE_EQ(l[0], -99.0);
    EXPECT_DOUBLE_EQ(l[1], 101.0);
    EXPECT_DOUBLE_EQ(l[5], 501.0);
    l = luftdaten_bei(t, 10.0);  // exactly on row 2
    EXPECT_DOUBLE_EQ(l[3], 302.0);
    l = luftdaten_bei(t, 15.0);
    EXPECT_DOUBLE_EQ(l[2], 202.5);
    l = luftdaten_bei(t, 30.0);  // extrapolated from the last two rows
    EXPECT_DOUBLE_EQ(l[1], 104.0);
}

TEST(Dampftafel, SucheInterpolationUndMittelDerDruecke) {
    std::array<double, ANZ_DAMPFTAFEL> d{};
    // rows: T = 0, 10, 20; ps = 1, 2, 3; pss = 3, 4, 5; h = 100, 110, 130
    const double T[] = {0, 10, 20}, ps[] = {1, 2, 3}, pss[] = {3, 4, 5}, h[] = {100, 110, 130};
    for (int r = 0; r < 3; ++r) {
        d[static_cast<size_t>(r)] = T[r];
        d[static_cast<size_t>(100 + r)] = ps[r];
        d[static_cast<size_t>(200 + r)] = pss[r];
        d[static_cast<size_t>(400 + r)] = h[r];
    }
    double mittel = 0;
    EXPECT_DOUBLE_EQ(dampftafel_wert(d, 3, 0, 4, 15.0, mittel), 120.0);
    EXPECT_DOUBLE_EQ(mittel, 3.5);
    EXPECT_DOUBLE_EQ(dampftafel_wert(d, 3, 0, 4, 10.0, mittel), 110.0);
    EXPECT_DOUBLE_EQ(mittel, 3.0);
    // Below the first row: clamped to row 1.
    EXPECT_DOUBLE_EQ(dampftafel_wert(d, 3, 0, 4, -5.0, mittel), 100.0);
    EXPECT_DOUBLE_EQ(mittel, 2.0);
    // Reverse lookup: temperature at which the liquid pressure reaches 2.5.
    EXPECT_DOUBLE_EQ(dampftafel_wert(d, 3, 1, 0, 2.5, mittel), 15.0);
}

TEST(GaussJordan, ErstesGroesstesPivotDeterminanteUndInverse) {
    TMatrix a = dim_matrix(2);
    TVector b = dim_vektor(2);
    a[1][1] = 0; a[1][2] = 1;
    a[2][1] = 1; a[2][2] = 0;
    b[1] = 2; b[2] = 3;
    double det = 0;
    EXPECT_EQ(gauss_jordan(a, b, 1, 2, det), MAT_OK);
    EXPECT_EQ(mat_status(), MAT_OK);
    EXPECT_DOUBLE_EQ(b[1], 3.0);
    EXPECT_DOUBLE_EQ(b[2], 2.0);
    EXPECT_DOUBLE_EQ(det, -1.0);
    EXPECT_DOUBLE_EQ(a[1][1], 0.0);
    EXPECT_DOUBLE_EQ(a[1][2], 1.0);
    EXPECT_DOUBLE_EQ(a[2][1], 1.0);
    EXPECT_DOUBLE_EQ(a[2][2], 0.0);
}

TEST(GaussJordan, SiebenUnbekannteMitInverse) {
    // A random-looking well-conditioned 7x7 system as the data-sheet fit uses.
    TMatrix a = dim_matrix(7), a0;
    TVector b = dim_vektor(7), x = dim_vektor(7);
    for (int i = 1; i <= 7; ++i) {
        x[i] = i - 3.5;
        for (int j = 1; j <= 7; ++j) a[i][j] = std::sin(1.3 * i + 0.7 * j * j) + (i == j ? 3.0 : 0.0);
    }
    for (int i = 1; i <= 7; ++i)
        for (int j = 1; j <= 7; ++j) b[i] += a[i][j] * x[j];
    a0 = a;
    double det = 0;
    ASSERT_EQ(gauss_jordan(a, b, 1, 7, det), MAT_OK);
    for (int i = 1; i <= 7; ++i) EXPECT_NEAR(b[i], x[i], 1e-12);
    for (int i = 1; i <= 7; ++i) {
        for (int j = 1; j <= 7; ++j) {
            double s = 0;
            for (int k = 1; k <= 7; ++k) s += a0[i][k] * a[k][j];
            EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12);
        }
    }
    EXPECT_NE(det, 0.0);
}

TEST(GaussJordan, SingulaerStopptMitStatusMinusZwei) {
    TMatrix a = dim_matrix(2);
    TVector b = dim_vektor(2);
    a[1][1] = 1; a[1][2] = 2;
    a[2][1] = 2; a[2][2] = 4;
    b[1] = 1; b[2] = 4;
    double det = 0;
    EXPECT_EQ(gauss_jordan(a, b, 1, 2, det), MAT_SINGULAR);
    EXPECT_EQ(mat_status(), MAT_SINGULAR);
    EXPECT_EQ(det, 0.0);
    // First step pivoted on a[2][2] = 4 (rows and columns exchanged) and
    // eliminated; b keeps its partly transformed values: b[1] = 4/4, b[2] = 1 - 2*1.
    EXPECT_DOUBLE_EQ(b[1], 1.0);
    EXPECT_DOUBLE_EQ(b[2], -1.0);
}
