// Small dense linear algebra: the in-place Gauss-Jordan inverse against a 3 x 3 inverted by hand, in the
// leading block of a larger array, singular matrices, pivoting by exchanges, a 12 x 12 system, the
// refusal of shapes that do not fit; the 6 x 6 products worked out by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "services/linalg.h"

namespace kaldo::test {
namespace {

// Column storage with leading dimension np: element (i, j) at (i - 1) + (j - 1) np.
double& at(std::vector<double>& a, int np, int i, int j) {
    return a[static_cast<std::size_t>((i - 1) + (j - 1) * np)];
}

TEST(LinearAlgebra, InverseOfAThreeByThreeByHand) {
    // A = [4 7 2; 3 6 1; 2 5 3], det A = 9, A^-1 = adj(A) / 9 = [13 -11 -5; -7 8 2; 3 -6 3] / 9.
    // Held in the leading block of a 5 x 3 array whose rows 4 and 5 must stay as they are.
    const int np = 5;
    const double A[3][3] = {{4, 7, 2}, {3, 6, 1}, {2, 5, 3}};
    const double inv[3][3] = {{13, -11, -5}, {-7, 8, 2}, {3, -6, 3}};
    for (auto inverse : {GJINV, GJINV2, GJINV3}) {
        std::vector<double> a(static_cast<std::size_t>(np * 3), -99.0);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) at(a, np, i, j) = A[i - 1][j - 1];
        int flag = -1;
        inverse(a, 3, np, flag);
        EXPECT_EQ(flag, 0);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j)
                EXPECT_NEAR(at(a, np, i, j), inv[i - 1][j - 1] / 9.0, 1e-14) << "(" << i << ", " << j << ")";
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(at(a, np, 4, j), -99.0);
            EXPECT_EQ(at(a, np, 5, j), -99.0);
        }
    }
}

TEST(LinearAlgebra, SingularMatricesAreFlagged) {
    struct Case {
        const char* name;
        std::vector<double> a;  // 3 x 3 by columns
    };
    const Case cases[] = {
        {"dependent rows", {1, 2, 1, 2, 4, 0, 3, 6, 1}},
        {"a zero row", {1, 0, 3, 2, 0, 5, 4, 0, 6}},
        {"a zero column", {0, 0, 0, 1, 2, 3, 4, 5, 7}},
        {"all zeros", std::vector<double>(9, 0.0)},
    };
    for (const Case& c : cases) {
        std::vector<double> a = c.a;
        int flag = 0;
        GJINV(a, 3, 3, flag);
        EXPECT_EQ(flag, 1) << c.name;
        for (double v : a) EXPECT_TRUE(std::isfinite(v)) << c.name << ": no division by zero";
    }
}

// The singularity test looks past the units of translations and rotations: a cap stiffness of 1e3 kip per
// inch beside rotational terms of 1e8 kip-in per radian is sound, while one whose vertical term has
// dwindled to round-off beside the lateral ones (all piles past their axial capacity) is singular although
// no entry is zero.
TEST(LinearAlgebra, NearlySingularIsJudgedWhateverTheUnits) {
    // A fixed-head pile on an elastic foundation: lateral 4 b^3 EI, rocking 2 b EI, coupling -2 b^2 EI,
    // with b = 0.01 per in and EI = 1e10 kip-in^2; the vertical term 1e3 kip/in; twist 1e-2 of rocking.
    const double b = 0.01, EI = 1e10;
    const double kl = 4 * b * b * b * EI, km = 2 * b * EI, kc = -2 * b * b * EI;
    auto group = [&](double vertical) {
        std::vector<double> k(36, 0.0);
        auto K = [&](int i, int j) -> double& { return k[static_cast<std::size_t>(i + j * 6)]; };
        K(0, 0) = vertical;
        K(1, 1) = K(2, 2) = kl;
        K(4, 4) = K(5, 5) = km;
        K(1, 5) = K(5, 1) = kc;
        K(2, 4) = K(4, 2) = -kc;
        K(3, 3) = 1e-2 * km;
        return k;
    };
    struct Case {
        const char* name;
        std::vector<double> k;
        bool singular;
    };
    std::vector<double> swapped = group(1e3);
    std::swap(swapped[1 + 1 * 6], swapped[5 + 5 * 6]);  // 2e8 lateral, 4e4 rocking: still sound
    std::vector<double> tied = group(1e3);
    // Rocking equal to coupling^2 / lateral: the sway and the rocking about z can no longer be told apart.
    tied[5 + 5 * 6] = kc * kc / kl;
    const Case cases[] = {
        {"sound, mixed units", group(1e3), false},
        {"sound, units the other way", swapped, false},
        {"sound, a vertical term of 1e-6 kip/in", group(1e-6), false},
        {"vertical row of round-off", group(-6.4e-28), true},
        {"vertical row exactly zero", group(0.0), true},
        {"sway and rocking tied", tied, true},
        {"not a number", group(std::nan("")), true},
    };
    const std::vector<int> units = {0, 0, 0, 1, 1, 1};
    for (const Case& c : cases) {
        const std::vector<double> before = c.k;
        EXPECT_EQ(nearlySingular(c.k, 6, 6, units, 1e-12), c.singular) << c.name;
        EXPECT_EQ(std::memcmp(c.k.data(), before.data(), before.size() * sizeof(double)), 0) << c.name;
    }
    // The same matrices in other units (a length unit 1/12 of the old and the rotations' terms a further
    // 5e4 times) are judged alike.
    for (const Case& c : cases) {
        std::vector<double> scaled = c.k;
        const double s[6] = {12, 12, 12, 5e4, 5e4, 5e4};
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j) scaled[static_cast<std::size_t>(i + j * 6)] *= s[i] * s[j];
        EXPECT_EQ(nearlySingular(scaled, 6, 6, units, 1e-12), c.singular) << c.name << ", other units";
    }
}

TEST(LinearAlgebra, EdgeShapes) {
    // N = 0 leaves the array alone.
    std::vector<double> a{3.0, 1.0};
    int flag = 7;
    GJINV(a, 0, 1, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(a[0], 3.0);
    // 1 x 1.
    GJINV(a, 1, 1, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_DOUBLE_EQ(a[0], 1.0 / 3.0);
    EXPECT_EQ(a[1], 1.0);
    // A permutation is inverted to its transpose: the row exchanges and the final column exchanges.
    std::vector<double> p(16, 0.0);
    const int to[4] = {3, 1, 4, 2};  // column j holds a 1 in row to[j]
    for (int j = 1; j <= 4; ++j) at(p, 4, to[j - 1], j) = 1.0;
    GJINV(p, 4, 4, flag);
    EXPECT_EQ(flag, 0);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) EXPECT_EQ(at(p, 4, i, j), to[i - 1] == j ? 1.0 : 0.0) << i << ", " << j;
    // Shapes that do not fit are refused before anything is written.
    std::vector<double> small(8, 1.0);
    EXPECT_THROW(GJINV(small, 3, 3, flag), std::length_error);
    EXPECT_THROW(GJINV(small, 2, 1, flag), std::length_error);
    std::vector<double> big(51 * 51, 0.0);
    EXPECT_THROW(GJINV(big, 51, 51, flag), std::length_error);
}

TEST(LinearAlgebra, TwelveByTwelveTimesItsInverseIsTheIdentity) {
    // The largest system of the engine, in a 12 x 12 array: a non-symmetric matrix with a strong
    // diagonal, checked by A A^-1 = I.
    const int n = 12;
    std::vector<double> a(static_cast<std::size_t>(n * n));
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) at(a, n, i, j) = i == j ? 20.0 + i : std::sin(i * 1.3 + j * 0.7);
    std::vector<double> inv = a;
    int flag = 1;
    GJINV(inv, n, n, flag);
    ASSERT_EQ(flag, 0);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            double s = 0.0;
            for (int k = 1; k <= n; ++k) s += at(a, n, i, k) * at(inv, n, k, j);
            EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-14) << i << ", " << j;
        }
}

TEST(LinearAlgebra, SixBySixProductsByHand) {
    // A(i, j) = i + 10 j. A e1 is column 1: (11, 12, ..., 16); A (1, ..., 1) is the row sums 6 i + 210;
    // A (0, 0, 0, 0, 0, 2) is twice column 6: 2 (i + 60).
    std::array<double, 36> A{};
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) A[static_cast<std::size_t>((i - 1) + 6 * (j - 1))] = i + 10.0 * j;
    std::vector<double> x{1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 2};
    std::vector<double> y(18, -1.0);
    for (auto product : {MATV6, MATV6N}) {
        product(y, A, x, 3);
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(y[static_cast<std::size_t>(i - 1)], 10.0 + i);
            EXPECT_EQ(y[static_cast<std::size_t>(5 + i)], 6.0 * i + 210.0);
            EXPECT_EQ(y[static_cast<std::size_t>(11 + i)], 2.0 * (i + 60.0));
        }
    }
    // In place: each vector is read whole before its product is written.
    std::vector<double> v(x.begin() + 6, x.begin() + 12);
    MATV6(v, A, v, 1);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(v[static_cast<std::size_t>(i - 1)], 6.0 * i + 210.0);
    // N = 0 does nothing; a list too short for N vectors is refused.
    std::vector<double> untouched(6, 5.0);
    MATV6(untouched, A, x, 0);
    EXPECT_EQ(untouched[0], 5.0);
    EXPECT_THROW(MATV6(untouched, A, x, 2), std::length_error);
}

}  // namespace
}  // namespace kaldo::test
