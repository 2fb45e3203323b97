// Pile-head forces and stiffness: the head stiffness of a long elastic pile on an elastic subgrade
// against the closed forms of the semi-infinite beam on an elastic foundation and of straight axial and
// torsional head curves; the rotation of a battered pile's forces; the pinned head's torque; the
// difference steps; and a failing pile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "group/groupmodel.h"
#include "support/pileswitches.h"

namespace kaldo::test {
namespace {

class PileHead : public GroupModel {
protected:
    Mat6 stiffness(int p, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status) {
        prepareNodeTables();
        Mat6 K{};
        K.fill(7.0);
        PILESTF(p, K, U, DU, IT, MODE, status);
        return K;
    }
    // A pile of n increments with unequal bending stiffness in its planes, in soft clay over sand, with
    // axial and torque curves that the heads of the tests stay well within.
    void clayOverSand(int n) {
        propertySet(1, PL, n, PB);
        section(1, {.EIz = PEI, .EIy = 0.6 * PEI});
        soil({uniform(1, -1.0, 200.0, {.gamma = 0.035, .c = 4.0, .e50 = 0.02, .j = 0.5}),
              uniform(4, 200.0, 1000.0, {.gamma = 0.04, .phi = PHI30 + 0.1, .k = 90.0})});
        axialCurve(2.0e5, 3.0e5);
        torsionCurve(4.0e6, 5.0e6);
    }
    Vec6 forces(int p, const Vec6& U, int& status) {
        prepareNodeTables();
        Vec6 F{};
        F.fill(7.0);
        PILEFRC(p, F, U, status);
        return F;
    }
};

// Relative agreement within rel of the larger magnitude.
::testing::AssertionResult close(double got, double expected, double rel) {
    if (std::fabs(got - expected) <= rel * std::fabs(expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got << " vs " << expected << " (relative " << got / expected - 1.0
                                         << ", accepted " << rel << ")";
}

// The pile's own Newton iteration and the head stiffness of the balanced pile, on for one test whatever
// the defaults.
struct NewtonPiles : PileSwitches {
    NewtonPiles() : PileSwitches(true, true) {}
};

TEST_F(PileHead, LongElasticPileStiffnessMatchesTheBeamOnElasticFoundation) {
    // Fixed head. The semi-infinite beam: H = 4 EI b^3 y - 2 EI b^2 th, M = 2 EI b th - 2 EI b^2 y, so the
    // pile's reaction on the cap is -Es / b per unit translation, -2 EI b per unit rotation, and the
    // couplings Es / (2 b^2) follow the sense of the rotation: turning the cap about +Z swings the pile
    // below towards +Y, about +Y towards -Z. Axial and torsional stiffness: the slopes of the straight
    // curves, times AXFACT for the axial one. Accepted: (b h)^2 for the finite differences along the pile.
    const int n = 100;
    elasticGround(n);
    groupPile(1, 1, 0.0, 0.0, 0.0);
    axialCurve(50.0, 50.0);
    torsionCurve(4000.0, 4000.0);
    PILE.AXFACT(1) = 2.0;
    const double b = pileBeta(), tol = std::pow(b * PL / n, 2);
    const double kt = PES / b, kc = PES / (2 * b * b), kr = 2 * PEI * b;

    int status = 0;
    const Vec6 U{0.01, 0.1, -0.05, 0.001, 2e-4, -3e-4};
    const Vec6 DU{1.0, 0.0, 0.0, 1.0, 0.0, 0.0};  // large increments: full steps
    const Mat6 K = stiffness(1, U, DU, 5, 0, status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(close(el(K, 1, 1), -100.0, 1e-8));
    EXPECT_TRUE(close(el(K, 4, 4), -4000.0, 1e-6));
    EXPECT_TRUE(close(el(K, 2, 2), -kt, tol));
    EXPECT_TRUE(close(el(K, 3, 3), -kt, tol));
    EXPECT_TRUE(close(el(K, 5, 5), -kr, tol));
    EXPECT_TRUE(close(el(K, 6, 6), -kr, tol));
    EXPECT_TRUE(close(el(K, 2, 6), -kc, tol));
    EXPECT_TRUE(close(el(K, 6, 2), -kc, tol));
    EXPECT_TRUE(close(el(K, 3, 5), kc, tol));
    EXPECT_TRUE(close(el(K, 5, 3), kc, tol));
    // The two lateral planes and the torsion do not meet.
    for (auto [i, j] : {std::pair{2, 3}, {2, 5}, {3, 6}, {5, 6}, {4, 2}, {2, 4}})
        EXPECT_NEAR(el(K, i, j), 0.0, 1e-6 * kt) << i << ", " << j;

    // The forces themselves: reactions against the displacement.
    const Vec6 F = forces(1, U, status);
    EXPECT_TRUE(close(F[0], -100.0 * U[0], 1e-12));
    EXPECT_TRUE(close(F[3], -4000.0 * U[3], 1e-9));
    EXPECT_TRUE(close(F[1], -kt * U[1] - kc * U[5], tol));
}

TEST_F(PileHead, PinnedHeadTakesNeitherMomentNorTorque) {
    // Free-head semi-infinite beam: H = Es y / (2 b); the head rotation does nothing.
    const int n = 100;
    elasticGround(n);
    groupPile(1, 1, 0.0, 0.0, 0.0, 1);
    axialCurve(50.0, 50.0);
    torsionCurve(4000.0, 4000.0);
    const double b = pileBeta(), tol = std::pow(b * PL / n, 2);
    int status = 0;
    const Mat6 K = stiffness(1, {0.0, 0.1, 0.05, 0.001, 0.0, 0.0}, {1, 0, 0, 1, 0, 0}, 5, 0, status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(close(el(K, 2, 2), -PES / (2 * b), tol));
    EXPECT_TRUE(close(el(K, 3, 3), -PES / (2 * b), tol));
    // No torque on a pinned head: exactly none by differences of the forces; the balanced pile's stiffness
    // turned into the cap's axes leaves round-off of the rotation's cosines.
    for (int i = 1; i <= 6; ++i) {
        EXPECT_NEAR(el(K, i, 4), 0.0, 1e-12 * PES / b) << "no torque on a pinned head, row " << i;
        EXPECT_NEAR(el(K, 4, i), 0.0, 1e-12 * PES / b) << "column " << i;
        EXPECT_NEAR(el(K, i, 6), 0.0, 1e-9 * PES / b) << "row " << i;
    }
    // Pinned in one plane only is enough to drop the torque.
    head(1, 2, 1);
    const Vec6 F = forces(1, {0.0, 0.0, 0.0, 0.001, 0.0, 0.0}, status);
    EXPECT_EQ(F[3], 0.0);
}

TEST_F(PileHead, BatteredPileAnswersInItsOwnAxes) {
    // The battered pile of the transfer test (leaning by c towards +Y): its forces are those of the
    // vertical pile for the displacement seen in the pile's axes, turned back by the hand-built rotation.
    const int n = 40;
    elasticGround(n);
    axialCurve(50.0, 80.0);
    torsionCurve(4000.0, 4000.0);
    groupPile(1, 1, 0.0, 0.0, 0.0);
    groupPile(2, 1, 0.0, 0.0, 0.0);
    const double c = 0.3, cc = std::cos(c), sc = std::sin(c);
    PILE.BETA(2) = std::numbers::pi / 2 - c;
    const Vec6 U{0.02, -0.1, 0.07, 0.002, -4e-4, 3e-4};
    // Local = R^T U with R the turn by c about Z, the rotations likewise.
    const Vec6 UL{cc * U[0] + sc * U[1], -sc * U[0] + cc * U[1], U[2],
                     cc * U[3] + sc * U[4], -sc * U[3] + cc * U[4], U[5]};
    int s1 = 0, s2 = 0;
    const Vec6 FL = forces(1, UL, s1);
    const Vec6 F = forces(2, U, s2);
    ASSERT_EQ(s1 + s2, 0);
    const Vec6 expected{cc * FL[0] - sc * FL[1], sc * FL[0] + cc * FL[1], FL[2],
                           cc * FL[3] - sc * FL[4], sc * FL[3] + cc * FL[4], FL[5]};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_TRUE(close(F[i], expected[i], 1e-9)) << "component " << i + 1;
    // Pulled out along its axis: the pull-out slope.
    ASSERT_LT(UL[0], 0.0);
    EXPECT_TRUE(close(FL[0], -50.0 * UL[0], 1e-12));
}

TEST_F(PileHead, DifferenceStepsFollowTheIncrementAndTheMode) {
    // Kinked curves (slopes 10 and 50 either side of w = 0, torque 1000 and 5000) read at d = s / 4 above
    // the kink: the central difference of step s gives 30 + 20 d / s = 35 (3500), and any other step
    // another value. So each case shows the step that was taken.
    elasticGround(20);
    groupPile(1, 1, 0.0, 0.0, 0.0);
    axialCurve(10.0, 50.0);
    torsionCurve(1000.0, 5000.0);
    const double h0 = 1.0000000116860974e-7, h0si = 2.539999998986295e-9, small = 9.999999747378752e-5;
    const double rBig = 9.999999864239723e-12, rSmall = 9.999999640722308e-14, rNorm = 9.999999864239723e-10;
    struct Case {
        const char* name;
        bool si;
        int IT, MODE;
        Vec6 DU;
        double h, hr;
    };
    const Case cases[] = {
        {"point mode, first iteration", false, 1, 1, {0, 0, 0, 0, 0, 0}, h0, rBig},
        {"point mode, later iteration", false, 7, 1, {0, 0, 0, 0, 0, 0}, h0, rBig},
        {"first iterations, large increment", false, 2, 0, {1, 1, 1, 1, 1, 1}, h0 * small, rBig},
        {"small increments", false, 3, 0, {0, 6e-6, 0, 0, 0, 5e-10}, h0 * small, rSmall},
        {"increments exactly at the thresholds", false, 3, 0, {0, 0, 100 * h0, 0, rNorm, 0}, h0, rBig},
        {"SI, large increment", true, 4, 0, {3e-3, 4e-3, 0, 0, 0, 1e-3}, h0si, rBig},
        {"SI, first iteration", true, 1, 0, {0, 0, 0, 0, 0, 0}, h0si * small, rBig},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.si) si(); else english();
        int status = 0;
        const Mat6 K = stiffness(1, {c.h / 4, 0.1, 0.0, c.hr / 4, 0.0, 0.0}, c.DU, c.IT, c.MODE, status);
        ASSERT_EQ(status, 0);
        // The vertical pile's axis 1 is X only to cos(pi/2) = 6e-17: the lateral movement leaks a few
        // 1e-18 into the axial one, some 1e-5 of the smallest step. A step ten times off gives 30.5.
        EXPECT_TRUE(close(el(K, 1, 1), -35.0, 1e-4));
        EXPECT_TRUE(close(el(K, 4, 4), -3500.0, 1e-4));
    }
}

TEST_F(PileHead, NonlinearPileStiffnessIsTheDerivativeOfItsForces) {
    // Soft clay over sand, both lateral planes deflected well into the curves, a heavy axial load that
    // bends the pile further, a rotational spring at the head in one plane and a battered pile: the
    // head stiffness of the balanced pile must be the derivative of the head forces, here taken by
    // central differences of the forces with steps large enough to stand clear of the piles' own
    // closure tolerance (1e-10 in).
    clayOverSand(60);
    struct Case {
        const char* name;
        double beta;  // the pile's angle from the horizontal
        int codeZ, codeY;
        double springZ;
    };
    const Case cases[] = {
        {"vertical, fixed head", std::numbers::pi / 2, 2, 2, 0.0},
        {"battered, spring head in one plane", std::numbers::pi / 2 - 0.25, 3, 2, 4.0e9},
        {"vertical, pinned head", std::numbers::pi / 2, 1, 1, 0.0},
    };
    const Vec6 U{0.3, 0.9, -0.6, 2e-4, 3e-3, -4e-3};
    const NewtonPiles newton;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        groupPile(1, 1, 0.0, 0.0, 0.0);
        head(1, c.codeZ, c.codeY, c.springZ, 0.0);
        PILE.BETA(1) = c.beta;
        int status = 0;
        const Mat6 K = stiffness(1, U, {1, 1, 1, 1, 1, 1}, 5, 0, status);
        ASSERT_EQ(status, 0);
        Mat6 ref{};
        for (int j = 0; j < 6; ++j) {
            const double step = j < 3 ? 1e-4 : 1e-6;
            Vec6 up = U, down = U;
            up[static_cast<std::size_t>(j)] += step;
            down[static_cast<std::size_t>(j)] -= step;
            const Vec6 Fu = forces(1, up, status), Fd = forces(1, down, status);
            ASSERT_EQ(status, 0);
            for (int i = 0; i < 6; ++i)
                ref[static_cast<std::size_t>(i + 6 * j)] =
                    (Fu[static_cast<std::size_t>(i)] - Fd[static_cast<std::size_t>(i)]) / (2.0 * step);
        }
        double largest = 0.0;
        for (double v : ref) largest = std::max(largest, std::fabs(v));
        for (int i = 1; i <= 6; ++i)
            for (int j = 1; j <= 6; ++j) {
                // Each entry against its own size, and a term against the scale of its row and column
                // (and of the whole matrix, for the rows a pinned head leaves empty) for the entries
                // near zero.
                const double scale = std::sqrt(std::fabs(el(ref, i, i) * el(ref, j, j)));
                EXPECT_NEAR(el(K, i, j), el(ref, i, j),
                            1e-4 * std::fabs(el(ref, i, j)) + 1e-6 * scale + 1e-9 * largest)
                    << "K(" << i << ", " << j << ")";
            }
        // The lateral planes answer the soil: the lateral stiffness is well below the elastic pile's on
        // the initial moduli, and nonzero.
        EXPECT_LT(el(K, 2, 2), 0.0);
        EXPECT_LT(el(K, 3, 3), 0.0);
    }
}

// The pile's Newton iteration closes on the deflections the secant iteration closes on: the same head
// forces within what the closure tolerance leaves (1e-10 in here), for both lateral planes loaded, a
// movement along one plane, and a vertical movement alone, where every node stays near zero deflection
// and the cube-root rise of soft clay sends plain Newton passes swinging through zero.
TEST_F(PileHead, NewtonClosesWhereTheSecantIterationCloses) {
    clayOverSand(50);
    struct Case {
        const char* name;
        int codeZ, codeY;
        Vec6 U;
    };
    const Case cases[] = {
        {"both planes, fixed and spring heads", 2, 3, {0.3, 0.9, -0.6, 2e-4, 3e-3, -4e-3}},
        {"one plane, pinned head", 1, 1, {0.1, 1.5, 0.0, 0.0, 0.0, 0.0}},
        {"vertical movement alone, fixed head", 2, 2, {0.2, 0.0, 0.0, 0.0, 0.0, 0.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        groupPile(1, 1, 0.0, 0.0, 0.0);
        head(1, c.codeZ, c.codeY, 0.0, 4.0e9);
        int status = 0;
        Vec6 secant{};
        {
            const PileSwitches secantPiles(false, false);
            secant = forces(1, c.U, status);
        }
        ASSERT_EQ(status, 0);
        const NewtonPiles newtonPiles;
        const Vec6 newton = forces(1, c.U, status);
        ASSERT_EQ(status, 0);
        double largest = 0.0;
        for (double v : secant) largest = std::max(largest, std::fabs(v));
        for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(newton[i], secant[i], 1e-7 * largest) << "F(" << i + 1 << ")";
    }
}

// The force vector keeps each balanced pile's derivatives, and the stiffness at the same head
// displacement takes them: the same matrix as the pile analysed anew (which starts from the shape the
// force evaluation closed on, so the two agree to the closure's round-off); at another displacement, or
// after the next force round has begun, the pile is analysed anew.
TEST_F(PileHead, StiffnessTakesTheDerivativesTheForceVectorKept) {
    clayOverSand(50);
    groupPile(1, 1, 0.0, 0.0, 0.0);
    head(1, 2, 3, 0.0, 4.0e9);
    prepareNodeTables();
    prepareKeptDerivatives(1);
    const NewtonPiles newton;
    const Vec6 U{0.3, 0.9, -0.6, 2e-4, 3e-3, -4e-3}, V{0.3, 0.8, -0.6, 2e-4, 3e-3, -4e-3};
    const Vec6 DU{1, 1, 1, 1, 1, 1};
    int status = 0;
    Vec6 F{};
    beginForceRound();
    PILEFRCKEEP(1, F, U, status);
    const Mat6 kept = stiffness(1, U, DU, 5, 0, status);
    beginForceRound();
    const Mat6 anew = stiffness(1, U, DU, 5, 0, status);
    ASSERT_EQ(status, 0);
    double largest = 0.0;
    for (double v : anew) largest = std::max(largest, std::fabs(v));
    for (std::size_t i = 0; i < 36; ++i) EXPECT_NEAR(kept[i], anew[i], 1e-8 * largest) << "entry " << i;
    // Kept at U, asked at V: the pile at V.
    beginForceRound();
    PILEFRCKEEP(1, F, U, status);
    const Mat6 atV = stiffness(1, V, DU, 5, 0, status);
    beginForceRound();
    const Mat6 atVanew = stiffness(1, V, DU, 5, 0, status);
    EXPECT_GT(std::fabs(el(atV, 2, 2) - el(kept, 2, 2)), 1e-3 * std::fabs(el(kept, 2, 2))) << "the deflection changed K22";
    for (std::size_t i = 0; i < 36; ++i) EXPECT_NEAR(atV[i], atVanew[i], 1e-8 * largest) << "entry " << i;
}

TEST_F(PileHead, LinearisedElasticPileMatchesTheBeamOnElasticFoundation) {
    // The closed forms of the first test, through the linearised pile.
    const int n = 100;
    elasticGround(n);
    groupPile(1, 1, 0.0, 0.0, 0.0);
    axialCurve(50.0, 50.0);
    torsionCurve(4000.0, 4000.0);
    const double b = pileBeta(), tol = std::pow(b * PL / n, 2);
    const double kt = PES / b, kc = PES / (2 * b * b), kr = 2 * PEI * b;
    int status = 0;
    Mat6 K{};
    {
        const NewtonPiles newton;
        K = stiffness(1, {0.01, 0.1, -0.05, 0.001, 2e-4, -3e-4}, {1, 0, 0, 1, 0, 0}, 5, 0, status);
    }
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(close(el(K, 1, 1), -50.0, 1e-8));
    EXPECT_TRUE(close(el(K, 4, 4), -4000.0, 1e-6));
    EXPECT_TRUE(close(el(K, 2, 2), -kt, tol));
    EXPECT_TRUE(close(el(K, 3, 3), -kt, tol));
    EXPECT_TRUE(close(el(K, 5, 5), -kr, tol));
    EXPECT_TRUE(close(el(K, 6, 6), -kr, tol));
    EXPECT_TRUE(close(el(K, 2, 6), -kc, tol));
    EXPECT_TRUE(close(el(K, 3, 5), kc, tol));
}

TEST_F(PileHead, LinearisationCoversOnlyWhatItModels) {
    elasticGround(20);
    groupPile(1, 1, 0.0, 0.0, 0.0);
    axialCurve(50.0, 50.0);
    EXPECT_TRUE(lateralTangentCovered(1));
    CTLIN.KMPHI = 1;
    EXPECT_FALSE(lateralTangentCovered(1)) << "moment-curvature stiffness";
    CTLIN.KMPHI = 0;
    SMOV.NSMOV = 1;
    EXPECT_FALSE(lateralTangentCovered(1)) << "soil movement";
    SMOV.NSMOV = 0;
    CTLPAR.KAXVAR = 1;
    PILE.LSCRV(1) = -1;
    EXPECT_FALSE(lateralTangentCovered(1)) << "axial force along the pile from the t-z solution";
    PILE.LSCRV(1) = 1;
    EXPECT_TRUE(lateralTangentCovered(1)) << "a user load-settlement curve keeps one axial force";
    CTLPAR.KAXVAR = 0;
    CTLIN.KUSERPY = 1;
    PILE.PYCRV(1) = 1;
    EXPECT_FALSE(lateralTangentCovered(1)) << "the pile's own p-y curves";
}

TEST_F(PileHead, FailingPileGivesNoForcesAndKeepsItsStatus) {
    // Soil down to 300 in only: the pile's nodes reach below the deepest layer.
    propertySet(1, PL, 20, PB);
    section(1, {.EIz = PEI, .EIy = PEI});
    soil({uniform(12, -1.0, 300.0, {.gamma = 0.03, .k = PK})});
    groupPile(1, 1, 0.0, 0.0, 0.0);
    axialCurve(50.0, 50.0);
    torsionCurve(4000.0, 4000.0);
    int status = 0;
    const Vec6 F = forces(1, {0.01, 0.1, 0.0, 0.001, 0.0, 0.0}, status);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(F, Vec6{});
    status = 0;
    const Mat6 K = stiffness(1, {0.01, 0.1, 0.0, 0.001, 0.0, 0.0}, {}, 1, 0, status);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(K, Mat6{});
}

}  // namespace
}  // namespace kaldo::test
