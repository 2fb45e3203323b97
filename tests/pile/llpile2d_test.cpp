// The plane pile and the plane force vector: a long elastic pile on an elastic subgrade against the
// beam-on-elastic-foundation closed forms (free, fixed and turned heads), a fixed head that keeps the
// head slope it is given, the results pass of a battered pile, the plane axial warnings, and the plane
// force vector of a row of piles added up by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "group/group.h"
#include "model/eqssol.h"
#include "pile/pilemodel.h"
#include "model/curves.h"
#include "support/pileswitches.h"

namespace kaldo::test {
namespace {

// As the three-dimensional pile's checks: L = 640 in, b = 10 in, EI = 1e10 lb in^2, elastic subgrade
// k = 100 lb/in^3 (Es = 1000 lb/in^2 at every node), beta L = 8. Semi-infinite beam, head deflection y0:
//   free head:                       V = Es y0 / (2 beta)
//   fixed head, no rotation:         V = Es y0 / beta,  M0 = Es y0 / (2 beta^2)
//   fixed head turned by th, y0 = 0: V = Es th / (2 beta^2) (its sign against th as the plane takes it)
// Accepted error (beta h)^2 of the second-order differences, as for the three-dimensional pile.
constexpr double L = 640.0, B = 10.0, KSUB = 100.0, ES = KSUB * B, EI = 1e10;
const double BETA = std::pow(ES / (4.0 * EI), 0.25);

struct Plane2DResult {
    double V = 0.0, M = 0.0;
    int status = 0;
};

class PlanePile : public PileModel {
protected:
    void build(int p, int n, int code, double headX = 0.0) {
        propertySet(1, L, n, B);
        section(1, {.EIz = EI, .EIy = EI, .Iz = 1000.0, .area = 100.0});
        pile(p, 1, headX, -1.0);
        vertical(p);
        PILE.BATTER(p) = 0.0;
        PILE.PMULT(p) = 1.0;
        PILE.AXFACT(p) = 1.0;
        head(p, code, code);
        soil({uniform(12, headX - 1.0, headX + 1000.0, {.gamma = 0.03, .k = KSUB})});
    }
    Plane2DResult solve2D(int p, double yt, double theta, double P = 0.0, Vec3 u = {}) {
        prepareNodeTables();
        Plane2DResult r;
        NODE2D(p, r.status);
        EXPECT_EQ(r.status, 0);
        SlotArray axd{}, axf{};
        const Mat3 A = planePileMatrix(p);
        if (u == Vec3{}) u = {0.0, yt, theta};
        LLPILE2D(p, yt, theta, P, r.V, r.M, r.status, u, A, axd, axf);
        return r;
    }
};

::testing::AssertionResult within(double got, double expected, double rel, const char* what) {
    const double err = got / expected - 1.0;
    if (std::fabs(err) <= rel) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << ": " << got << " vs closed form " << expected << " (error "
                                         << err << ", accepted " << rel << ")";
}

TEST_F(PlanePile, LongElasticPileMatchesTheClosedForms) {
    const int n = 100;
    const double tol = std::pow(BETA * L / n, 2);
    const double y0 = 0.5, th = 1e-3;
    {
        SCOPED_TRACE("free head");
        build(1, n, 1);
        const Plane2DResult r = solve2D(1, y0, 0.0);
        ASSERT_EQ(r.status, 0);
        EXPECT_TRUE(within(r.V, ES * y0 / (2 * BETA), tol, "V"));
        EXPECT_NEAR(r.M, 0.0, 1e-6 * r.V * L);
    }
    {
        SCOPED_TRACE("fixed head");
        build(1, n, 2);
        const Plane2DResult r = solve2D(1, y0, 0.0);
        EXPECT_TRUE(within(r.V, ES * y0 / BETA, tol, "V"));
        EXPECT_TRUE(within(r.M, ES * y0 / (2 * BETA * BETA), tol, "M"));
    }
    {
        SCOPED_TRACE("fixed head turned without deflection");
        build(1, n, 2);
        const Plane2DResult r = solve2D(1, 0.0, th);
        // A positive rotation about Z moves the pile below the head towards +y: the soil pushes back.
        EXPECT_TRUE(within(r.V, ES * th / (2 * BETA * BETA), tol, "V"));
        EXPECT_TRUE(within(r.M, 2.0 * EI * BETA * th, tol, "M"));
    }
}

TEST_F(PlanePile, TheSameBeamColumnAsTheFirstPlaneOfTheThreeDimensionalPile) {
    // A pile of the plane and the first lateral plane of the same pile in three dimensions, the second
    // plane at rest: the same equations, so the same head forces to the last bit. The plane pile closes by
    // the secant iteration, so the three-dimensional one does here too.
    const PileSwitches secant(false, false);
    for (int code : {1, 2, 3}) {
        SCOPED_TRACE(code);
        build(1, 40, code);
        PILE.SPRZ(1) = PILE.SPRY(1) = 5e8;
        const double yt = 0.2, th = 2e-3;
        const Plane2DResult r = solve2D(1, yt, th);
        ASSERT_EQ(r.status, 0);
        const HeadForces f = solve(1, {.yt = yt, .sy = -th});
        ASSERT_EQ(f.status, 0);
        EXPECT_EQ(r.V, f.Hy);
        EXPECT_EQ(r.M, f.My);
    }
}

TEST_F(PlanePile, FixedHeadKeepsItsSlopeAndNoClosureFailsThePile) {
    build(1, 50, 2);
    RUNSTATE.RUNPASS = PASS_RESULTS;
    ENVCTL.ENVSERIES = 1;
    const double th = 3e-3;
    const Plane2DResult r = solve2D(1, 0.1, th);
    ASSERT_EQ(r.status, 0);
    const double h = L / 50;
    // The head row holds the central slope (y5 - y3) / 2h at theta; the stored nodes 1 and 2 give the
    // one-sided slope, theta + h y''/2 with the head curvature y'' = the reported moment EI y'' / EI.
    const double y1 = RESCUR.RESCURLLP(1, 4, 2), y2 = RESCUR.RESCURLLP(1, 5, 2);
    const double curvature = RESCUR.RESCURLLP(1, 4, 9) / EI;
    EXPECT_NEAR((y2 - y1) / h, th + 0.5 * h * curvature, 0.01 * th);
    RUNSTATE.RUNPASS = PASS_ITERATING;

    // No closure: the soil-modulus iteration of a nonlinear soil with one allowed solution.
    CTLPAR.MAXITP = 1;
    RUNSTATE.RUNSOLVST = SOLVER_OK;
    solve2D(1, 0.1, 0.0);
    EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), SOLVER_NO_CLOSURE);
    EXPECT_NE(text(16).find("NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    1"),
              std::string::npos);
}

TEST_F(PlanePile, ResultsPassOfABatteredPileStoresPlaneAndLocalValues) {
    build(1, 40, 1);
    const double b = 0.2;
    PILE.BATTER(1) = b;
    RUNSTATE.RUNPASS = PASS_RESULTS;
    ENVCTL.ENVSERIES = 1;
    RUNPOINT.CURCOMB = 0;
    const double u1 = 0.01, yt = 0.3, P = 5000.0;
    const Plane2DResult r = solve2D(1, yt, 0.0, P, {u1, yt, 0.0});
    ASSERT_EQ(r.status, 0);
    const double c = std::cos(b), s = std::sin(b);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 1), u1 * c - yt * s);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 2), u1 * s + yt * c);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 4), c * P - s * r.V);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 5), s * P + c * r.V);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 14), u1);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 15), yt);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 17), P);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURTOP(1, 18), r.V);
    // Head stress: no moment at a free head, the axial stress P / A.
    EXPECT_NEAR(RESCUR.RESCURTOP(1, 7), P / 100.0, 1e-9 * P);
    // Along the pile: deflection at the head, its global components, the axial force everywhere, and
    // nothing in the second plane's quantities.
    EXPECT_DOUBLE_EQ(RESCUR.RESCURLLP(1, 4, 2), yt);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURLLP(1, 4, 6), yt * c);
    EXPECT_DOUBLE_EQ(RESCUR.RESCURLLP(1, 30, 18), P);
    EXPECT_EQ(RESCUR.RESCURLLP(1, 10, 3), 0.0);
    EXPECT_EQ(RESCUR.RESCURLLP(1, 10, 24), 0.0) << "a load case reports no ratios";
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

TEST_F(PlanePile, EquivalentStiffnessPassHasNoCurveFallback) {
    build(1, 20, 1);
    RUNSTATE.RUNPASS = PASS_STIFFNESS;
    const Plane2DResult r = solve2D(1, 0.2, 0.0, 800.0, {0.0, 0.2, 0.0});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(EQSSOL(1, 1), 800.0);
    EXPECT_EQ(EQSSOL(2, 1), 0.0) << "no axial movement, no axial stiffness";
    EXPECT_DOUBLE_EQ(EQSSOL(3, 1), L / 20);
    EXPECT_DOUBLE_EQ(EQSSOL(4 + 6, 1), 2 * L / 20);
    EXPECT_NEAR(EQSSOL(111 + 10, 1), ES, 1e-9 * ES);
    RUNSTATE.RUNPASS = PASS_ITERATING;
}

TEST_F(PlanePile, ForceVectorOfARowAddsUpByHand) {
    // Two vertical piles at Y = -d and +d and a battered third at the origin, on straight axial curves
    // and a soil without stiffness: only the axial springs act, so each pile carries k w along its axis.
    const double d = 50.0, k = 2000.0;
    for (int i = 1; i <= 3; ++i) {
        build(i, 10, 1);
        PILE.HEADYW(i) = i == 1 ? -d : i == 2 ? d : 0.0;
        PILE.LSCRV(i) = 1;
        PILE.PMULT(i) = i == 3 ? 2.0 : 1.0;
    }
    PILE.BATTER(3) = 0.1;
    soil({uniform(12, -1.0, 1000.0, {.gamma = 0.03, .k = 0.0})});
    TZCRV.TZNPT(1) = 2;
    TZCRV.TZW(1, 1) = -10.0;
    TZCRV.TZF(1, 1) = -10.0 * k;
    TZCRV.TZW(1, 2) = 10.0;
    TZCRV.TZF(1, 2) = 10.0 * k;
    prepareNodeTables();
    const Vec6 U{0.01, 0.0, 1e-4, 0, 0, 0};
    Vec6 F{};
    int status = 0;
    FVEC2D(F, U, status);
    ASSERT_EQ(status, 0);
    // Pile i's axial movement: U1 cos b + U2 sin b + (x sin b - y cos b) U3.
    double FX = 0.0, FY = 0.0, MZ = 0.0;
    for (int i = 1; i <= 3; ++i) {
        const double b = PILE.BATTER(i), y = PILE.HEADYW(i);
        const double w = U[0] * std::cos(b) + U[1] * std::sin(b) - y * std::cos(b) * U[2];
        const double P = PILE.PMULT(i) * k * w;
        FX += P * std::cos(b);
        FY += P * std::sin(b);
        MZ += -y * std::cos(b) * P;
    }
    // The soil adds nothing; the lateral beam-column of the battered pile moves freely with no soil.
    EXPECT_NEAR(F[0], FX, 1e-9 * std::fabs(FX));
    EXPECT_NEAR(F[1], FY, 1e-6 * std::fabs(FX));
    EXPECT_NEAR(F[2], MZ, 1e-9 * std::fabs(MZ));
    EXPECT_EQ(F[3], 0.0);
}

}  // namespace
}  // namespace kaldo::test
