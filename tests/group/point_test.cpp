// The pieces of a solution with values given at a point: the coupling limit of a first iteration, the
// constraint rows of the bordered systems against the rigid-cap displacement of the point, the transfer
// of the loads to the point against the transfer of a point load to the origin, and the markers.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "group/point.h"
#include "services/linalg.h"

namespace kaldo {
namespace {

std::size_t at(int n, int i, int j) { return static_cast<std::size_t>((i - 1) + (j - 1) * n); }

// A coupling term larger than half its row's diagonal is cut to that half, keeping its sign, in both
// places; row 1 is cut before row 2 is looked at, so 3 beside diagonals 4 and 10 becomes 2 (half of 4),
// not 5.
TEST(PointCouplingLimit, CutsToHalfTheDiagonalRowByRow) {
    Mat3 K{4.0, 3.0, 0.0, 3.0, 10.0, 0.0, 0.0, 0.0, 1.0};
    limitCoupling(K, 3);
    EXPECT_EQ(K, (Mat3{4.0, 2.0, 0.0, 2.0, 10.0, 0.0, 0.0, 0.0, 1.0}));

    // Six components: a negative term keeps its sign (-7 beside 4 becomes -2); a term cut by row 2 is
    // then held against row 5 as cut (6 beside 8 becomes 4, and row 5's half-diagonal 5 leaves it); a
    // term below both halves stays; a zero diagonal cuts its whole row to 0.
    Mat6 A{};
    auto set = [&](int i, int j, double v) { A[at(6, i, j)] = A[at(6, j, i)] = v; };
    set(1, 1, 4.0), set(2, 2, 8.0), set(3, 3, 0.0), set(4, 4, 100.0), set(5, 5, 10.0), set(6, 6, 1.0);
    set(1, 4, -7.0), set(2, 5, 6.0), set(4, 6, 0.4), set(3, 6, 0.25);
    limitCoupling(A, 6);
    EXPECT_EQ(A[at(6, 1, 4)], -2.0);
    EXPECT_EQ(A[at(6, 4, 1)], -2.0);
    EXPECT_EQ(A[at(6, 2, 5)], 4.0);
    EXPECT_EQ(A[at(6, 5, 2)], 4.0);
    EXPECT_EQ(A[at(6, 4, 6)], 0.4);
    EXPECT_EQ(A[at(6, 3, 6)], 0.0);
    EXPECT_EQ(A[at(6, 6, 3)], 0.0);
    const double diagonal[] = {4, 8, 0, 100, 10, 1};
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(A[at(6, i, i)], diagonal[i - 1]) << i;
}

// The constraint row of each component whose displacement is given is the displacement of the point
// under the rigid cap: the row times (u, 0) is what the transfer to the point gives for u. A component
// whose load is given only has 1 on its reaction's diagonal.
TEST(PointBorderedSystem, ConstraintRowsAreTheRigidCapDisplacementOfThePoint) {
    const Vec6 r{-2.0, 30.0, 45.0, 0, 0, 0};
    const Vec6 u{0.1, -0.2, 0.3, 0.004, -0.005, 0.006};
    Mat6 K{};
    for (std::size_t i = 0; i < 36; ++i) K[i] = 1.0 + static_cast<double>(i);

    Mat12 A{};
    CAPAUGK(A, K, r, Flags6{});
    Vec6 P{}, UP{}, PP{};
    int flag = -1;
    XFERPT(u, P, r, UP, PP, Vec6{}, Flags6{}, flag);
    EXPECT_EQ(flag, 1);
    for (int i = 1; i <= 6; ++i) {
        double row = 0.0;
        for (int j = 1; j <= 6; ++j) row += A[at(12, 6 + i, j)] * u[static_cast<std::size_t>(j - 1)];
        EXPECT_DOUBLE_EQ(row, UP[static_cast<std::size_t>(i - 1)]) << "component " << i;
        for (int j = 1; j <= 6; ++j) EXPECT_EQ(A[at(12, j, 6 + i)], A[at(12, 6 + i, j)]) << i << " " << j;
        for (int j = 7; j <= 12; ++j) EXPECT_EQ(A[at(12, 6 + i, j)], 0.0) << i << " " << j;
    }
    for (int j = 1; j <= 6; ++j)
        for (int i = 1; i <= 6; ++i) EXPECT_EQ(A[at(12, i, j)], K[at(6, i, j)]);
    // Hand values of two translations: X u1 + z u5 - y u6, Z u3 + y u4 - x u5.
    EXPECT_DOUBLE_EQ(UP[0], 0.1 + 45.0 * -0.005 - 30.0 * 0.006);
    EXPECT_DOUBLE_EQ(UP[2], 0.3 + 30.0 * 0.004 + 2.0 * -0.005);

    // Loads given for X and the rotation about Y: their reactions stand alone.
    const Flags6 kdof{1, 0, 0, 0, 1, 0};
    CAPAUGK(A, K, r, kdof);
    for (int c : {7, 11})
        for (int j = 1; j <= 12; ++j) {
            EXPECT_EQ(A[at(12, c, j)], j == c ? 1.0 : 0.0) << c << " " << j;
            EXPECT_EQ(A[at(12, j, c)], j == c ? 1.0 : 0.0) << c << " " << j;
        }

    // The right-hand side: the residual, then for a given displacement what the point still lacks.
    const Vec6 R{1, 2, 3, 4, 5, 6}, F{-1, -2, -3, -4, -5, -6}, USP{9.0, 0.5, 0.7, 0.01, 9.0, 0.02};
    Vec12 b{}, g{};
    CAPAUGR(b, g, R, F, USP, u, r, kdof);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(b[i], R[i]);
        EXPECT_EQ(g[i], F[i]);
        const bool given = kdof[i] == 0;
        EXPECT_EQ(g[6 + i], given ? USP[i] : 0.0) << i;
        EXPECT_DOUBLE_EQ(b[6 + i], given ? USP[i] - UP[i] : 0.0) << i;
    }
}

// The plane's rows: vertical u1 - y u3, horizontal u2 + x u3, rotation u3.
TEST(PointBorderedSystem, PlaneRowsAreTheRigidCapDisplacementOfThePoint) {
    const Vec6 r{-2.0, 30.0, 0, 0, 0, 0};
    const Vec3 u{0.1, -0.2, 0.004};
    const Mat3 K{1, 2, 3, 4, 5, 6, 7, 8, 9};
    Mat6 A{};
    MIXSYS2D(A, K, r, Flags6{});
    Vec3 P{}, UP{}, PP{};
    int flag = -1;
    TRPT2D(u, P, r, UP, PP, Vec6{}, Flags6{}, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_DOUBLE_EQ(UP[0], 0.1 - 30.0 * 0.004);
    EXPECT_DOUBLE_EQ(UP[1], -0.2 - 2.0 * 0.004);
    EXPECT_DOUBLE_EQ(UP[2], 0.004);
    for (int i = 1; i <= 3; ++i) {
        double row = 0.0;
        for (int j = 1; j <= 3; ++j) row += A[at(6, 3 + i, j)] * u[static_cast<std::size_t>(j - 1)];
        EXPECT_DOUBLE_EQ(row, UP[static_cast<std::size_t>(i - 1)]) << "component " << i;
        for (int j = 1; j <= 3; ++j) {
            EXPECT_EQ(A[at(6, j, 3 + i)], A[at(6, 3 + i, j)]);
            EXPECT_EQ(A[at(6, i, j)], K[at(3, i, j)]);
        }
    }
    MIXSYS2D(A, K, r, Flags6{1, 1, 1});
    for (int i = 4; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) EXPECT_EQ(A[at(6, i, j)], i == j ? 1.0 : 0.0);
}

// A load F at the point moves to the origin as (F, M + r x F); the transfer back to the point returns
// the point's own moment M, whatever the flags. A given load replaces the transferred one in PP, and a
// given force replaces the force at the origin too; the moments there keep the origin's values.
TEST(PointTransfer, LoadsReturnToThePointTheyCameFrom) {
    const double x = 12.0, y = -30.0, z = 45.0;
    const double F[3] = {400.0, 300.0, -200.0}, M[3] = {1000.0, -500.0, 250.0};
    const Vec6 r{x, y, z, 0, 0, 0};
    const Vec6 origin{F[0], F[1], F[2], M[0] + y * F[2] - z * F[1], M[1] + z * F[0] - x * F[2],
                      M[2] + x * F[1] - y * F[0]};
    Vec6 P = origin, UP{}, PP{};
    int flag = -1;
    XFERPT(Vec6{}, P, r, UP, PP, Vec6{}, Flags6{}, flag);
    const Vec6 atPoint{F[0], F[1], F[2], M[0], M[1], M[2]};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(PP[i], atPoint[i], 1e-9) << i;
    EXPECT_EQ(P, origin);

    const Vec6 given{1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
    P = origin;
    XFERPT(Vec6{}, P, r, UP, PP, given, Flags6{1, 0, 1, 0, 1, 0}, flag);
    EXPECT_EQ(PP[0], 1.0);
    EXPECT_EQ(PP[1], F[1]);
    EXPECT_EQ(PP[2], 3.0);
    EXPECT_NEAR(PP[3], M[0], 1e-9);
    EXPECT_EQ(PP[4], 5.0);
    EXPECT_NEAR(PP[5], M[2], 1e-9);
    EXPECT_EQ(P, (Vec6{1.0, F[1], 3.0, origin[3], origin[4], origin[5]}));

    // The plane: a load (FX, FY, MZ) at (x, y) is MZ + x FY - y FX at the origin.
    Vec3 P2{F[0], F[1], M[2] + x * F[1] - y * F[0]}, UP2{}, PP2{};
    TRPT2D(Vec3{}, P2, r, UP2, PP2, Vec6{}, Flags6{}, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_NEAR(PP2[2], M[2], 1e-9);
    TRPT2D(Vec3{}, P2, r, UP2, PP2, Vec6{7.0, 8.0, 9.0}, Flags6{0, 1, 1}, flag);
    EXPECT_EQ(PP2, (Vec3{F[0], 8.0, 9.0}));
    EXPECT_EQ(P2[1], 8.0);
}

// A point at the origin is not moved to: nothing is written.
TEST(PointTransfer, OriginIsNoPointToMoveTo) {
    Vec6 P{1, 2, 3, 4, 5, 6}, UP{7, 7, 7, 7, 7, 7}, PP{7, 7, 7, 7, 7, 7};
    int flag = -1;
    XFERPT(Vec6{1, 1, 1, 1, 1, 1}, P, Vec6{0, 0, 0, 5, 5, 5}, UP, PP, Vec6{9, 9, 9, 9, 9, 9}, Flags6{1, 1, 1, 1, 1, 1},
           flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(P, (Vec6{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(UP, (Vec6{7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(PP, (Vec6{7, 7, 7, 7, 7, 7}));
    Vec3 P2{1, 2, 3}, UP2{7, 7, 7}, PP2{7, 7, 7};
    TRPT2D(Vec3{1, 1, 1}, P2, Vec6{0, 0, 5, 5, 5, 5}, UP2, PP2, Vec6{9, 9, 9}, Flags6{1, 1, 1}, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(P2, (Vec3{1, 2, 3}));
    EXPECT_EQ(PP2, (Vec3{7, 7, 7}));
}

// A component whose displacement is given is marked in the displacement tables, the other ones in the
// load tables.
TEST(PointMarkers, DisplacementsAndLoadsMarkTheirOwnTables) {
    std::string M1, M2;
    DOFMARK(Flags6{0, 1, 1, 0, 1, 0}, M1, M2);
    EXPECT_EQ(M1, " ** * ");
    EXPECT_EQ(M2, "*  * *");
    DOFLBL2D(Flags6{1, 0, 1, 0, 0, 0}, M1, M2);
    EXPECT_EQ(M1, "* *");
    EXPECT_EQ(M2, " * ");
}

// All components given as loads: the reaction block is the identity and the bordered solve gives the
// increment of the stiffness alone, with reactions 0.
TEST(PointBorderedSystem, LoadsOnlySolveAsTheStiffnessAlone) {
    Mat6 K{};
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) K[at(6, i, j)] = i == j ? -10.0 * i : 0.5 / (i + j);
    const Vec6 R{1, -2, 3, -4, 5, -6};
    Mat12 A{};
    CAPAUGK(A, K, Vec6{3, 4, 5, 0, 0, 0}, Flags6{1, 1, 1, 1, 1, 1});
    int flag = 1;
    GJINV(A, 12, 12, flag);
    ASSERT_EQ(flag, 0);
    Vec12 b{}, g{}, x{};
    CAPAUGR(b, g, R, Vec6{}, Vec6{}, Vec6{}, Vec6{3, 4, 5, 0, 0, 0}, Flags6{1, 1, 1, 1, 1, 1});
    MATV12(x, A, b, 1);
    Mat6 Ki = K;
    GJINV2(Ki, 6, 6, flag);
    ASSERT_EQ(flag, 0);
    Vec6 du{};
    MATV6(du, Ki, R, 1);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(x[i], du[i], 1e-15) << i;
        EXPECT_EQ(x[6 + i], 0.0) << i;
    }
}

}  // namespace
}  // namespace kaldo
