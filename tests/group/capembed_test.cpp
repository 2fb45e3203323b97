// The embedded pile cap's resistance.
//
// Passive resistance: the pressure diagram against its own integration by hand (Simpson's rule, exact
// for the quadratic p x of a linear pressure), for the ground between the cap top and the pile heads
// (a triangle), above the cap top (a trapezoid) and below the heads (nothing); the shares of Y and Z
// for a movement along Y alone and a diagonal one; the mean ground of piles on layer springs and on
// their own user p-y curves.
//
// Equivalent lateral spring: the cap as a pseudo-pile on an elastic subgrade whose modulus grows
// linearly with depth, k = k' x, so that the reaction per length is k' x b u for a translation u. The
// lumping gives each node half an increment at the ends and a whole one inside: the trapezoidal rule,
// exact for the force of a linear modulus. Its moment arms are the centroids of the tributary lengths;
// for the cap top at the ground that sums to k' b u (T^3 / 3 + T dx^2 / 24), so the moment exceeds the
// integral k' b u T^3 / 3 by the lumping error T dx^2 / 24 over T^3 / 3, 1 / (8 n^2) of it for n
// increments.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "group/groupmodel.h"
#include "model/ctlpar.h"
#include "services/status.h"

namespace kaldo::test {
namespace {

// The pressure on the cap's face by hand: zero at the ground surface (X = ground), growing linearly to
// Pm at the pile heads (X = heads), acting from the ground or the cap top, whichever is lower, down to
// the heads. Returns the resultant and its first moment about X = 0.
struct Hand {
    double force = 0.0, firstMoment = 0.0;
};
Hand byHand(double ground, double heads, double thickness, double Pm) {
    Hand h;
    const double depth = heads - ground;
    if (depth <= 0.0) return h;
    const double from = std::max(ground, heads - thickness), to = heads;
    auto p = [&](double X) { return Pm * (X - ground) / depth; };
    const double mid = 0.5 * (from + to), len = to - from;
    h.force = len / 6.0 * (p(from) + 4.0 * p(mid) + p(to));
    h.firstMoment = len / 6.0 * (p(from) * from + 4.0 * p(mid) * mid + p(to) * to);
    return h;
}

TEST(PassiveDiagram, AgreesWithTheIntegralOfThePressure) {
    struct Case {
        const char* name;
        double ground, heads, thickness, Pm;
    };
    const Case cases[] = {
        {"triangle: ground between the cap top and the heads", 3.0, 5.0, 3.0, 600.0},
        {"triangle: heads at the origin", -24.0, 0.0, 36.0, 150.0},
        {"trapezoid: ground above the cap top", -4.0, 1.0, 2.0, 500.0},
        {"trapezoid: heads below the origin", -30.0, 12.0, 24.0, 80.0},
        {"ground at the cap top", -36.0, 0.0, 36.0, 150.0},
    };
    for (const Case& c : cases) {
        const PassiveDiagram d = passiveDiagram(c.ground - c.heads, c.Pm, c.thickness, c.heads);
        const Hand h = byHand(c.ground, c.heads, c.thickness, c.Pm);
        ASSERT_GT(h.force, 0.0) << c.name;
        EXPECT_NEAR(d.force, h.force, 1e-9 * h.force) << c.name;
        EXPECT_NEAR(-d.moment, h.firstMoment, 1e-9 * (std::fabs(h.firstMoment) + h.force * c.thickness)) << c.name;
        EXPECT_NEAR(d.position, h.firstMoment / h.force, 1e-9 * c.thickness) << c.name;
    }
    // The two shapes by their closed forms: a triangle of height 2 (Pm e / 2, centroid e / 3 above the
    // heads), a trapezoid from 300 to 500 over 2 (f = (5 - 2) 500 / 5).
    const PassiveDiagram tri = passiveDiagram(-2.0, 600.0, 3.0, 5.0);
    EXPECT_DOUBLE_EQ(tri.force, 600.0);
    EXPECT_DOUBLE_EQ(tri.top, 0.0);
    EXPECT_NEAR(tri.position, 5.0 - 2.0 / 3.0, 1e-12);
    const PassiveDiagram trap = passiveDiagram(-5.0, 500.0, 2.0, 1.0);
    EXPECT_DOUBLE_EQ(trap.top, 300.0);
    EXPECT_DOUBLE_EQ(trap.height, 2.0);
    EXPECT_DOUBLE_EQ(trap.force, 800.0);
}

TEST(PassiveDiagram, NothingWhenTheGroundIsNotAboveTheHeads) {
    // The ground below the heads, at them, and above them by less than 1e-6: no pressure at all.
    for (double g : {3.0, 0.0, -5e-7}) {
        const PassiveDiagram d = passiveDiagram(g, 600.0, 3.0, 5.0);
        EXPECT_EQ(d.force, 0.0) << g;
        EXPECT_EQ(d.moment, 0.0) << g;
        EXPECT_EQ(d.position, 5.0) << g;
    }
    EXPECT_GT(passiveDiagram(-2e-6, 600.0, 3.0, 5.0).force, 0.0);
}

class PassiveForce : public ::testing::Test {
protected:
    void SetUp() override {
        resetAllBlocks();
        CAPIN.CAPTX = 36.0;
        PILE.NPILES = 1;
        PILE.HEADX(1) = PILE.HEADXW(1) = 12.0;
        // The ground 24 in above the heads, 150 lb/in at the heads: a triangle of 1800 lb whose centroid
        // lies 8 in above the heads, at X = 4.
        PYMODE.CAPGMEAN = -24.0;
        PYMODE.CAPPMEAN = 150.0;
    }
    void TearDown() override { resetAllBlocks(); }
    static Vec6 force(const Vec6& U) {
        Vec6 F{};
        capPassiveForce(F, U);
        return F;
    }
};

TEST_F(PassiveForce, OpposesAMovementAlongYAlone) {
    for (double uy : {0.3, -0.3}) {
        const Vec6 F = force({0.1, uy, 0.0, 0.01, 0.02, 0.03});
        EXPECT_DOUBLE_EQ(F[1], uy > 0.0 ? -1800.0 : 1800.0) << uy;
        EXPECT_EQ(F[2], 0.0);
        EXPECT_EQ(F[4], 0.0);
        EXPECT_EQ(F[0], 0.0);
        EXPECT_EQ(F[3], 0.0);
        // The moment about Z of the resultant at X = 4.
        EXPECT_NEAR(F[5], 4.0 * F[1], 1e-9 * 1800.0) << uy;
    }
}

TEST_F(PassiveForce, SharesADiagonalMovementEqually) {
    const Vec6 F = force({0.0, 0.2, -0.2, 0.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(F[1], -900.0);
    EXPECT_DOUBLE_EQ(F[2], 900.0);
    // Moment about Y of a force along Z at X: -X Fz; about Z of a force along Y: X Fy.
    EXPECT_NEAR(F[4], -4.0 * F[2], 1e-9 * 1800.0);
    EXPECT_NEAR(F[5], 4.0 * F[1], 1e-9 * 1800.0);
}

TEST_F(PassiveForce, NothingWithoutHorizontalMovement) {
    for (const Vec6& U : {Vec6{0.5, 0, 0, 0.1, 0.1, 0.1}, Vec6{0.5, 5e-15, -4e-15, 0, 0, 0}}) {
        const Vec6 F = force(U);
        for (double f : F) EXPECT_EQ(f, 0.0);
    }
}

TEST_F(PassiveForce, PilesOnUserCurvesCountTheirGroundFromTheHeadToo) {
    // Pile 1 on the layers leaves the ground measured from its head; pile 2, on its own user p-y curves
    // with its head at X = 10, leaves the ground's X. Both stand 24 in below the ground.
    PILE.NPILES = 2;
    CTLIN.KUSERPY = 1;
    PILE.PYCRV(2) = 1;
    PILE.HEADX(2) = PILE.HEADXW(2) = 10.0;
    PYDRV.GSURFP(1) = -24.0;
    PYDRV.GSURFP(2) = 10.0 - 24.0;
    PYDRV.PCAPLV(1) = 100.0;
    PYDRV.PCAPLV(2) = 200.0;
    capPassiveMeans();
    EXPECT_DOUBLE_EQ(PYMODE.CAPGMEAN, -24.0);
    EXPECT_DOUBLE_EQ(PYMODE.CAPPMEAN, 150.0);
}

// The passive resistance on real piles: the cap-level values are those the piles' own analyses leave,
// and the force agrees with the diagram of their means.
class PassiveOnPiles : public GroupModel {
protected:
    void SetUp() override {
        GroupModel::SetUp();
        // Soft clay from 24 in above the heads down to 1000 in.
        propertySet(1, PL, 40, PB);
        section(1, {.EIz = PEI, .EIy = PEI});
        soil({uniform(1, -24.0, 1000.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.02, .j = 0.5})});
        axialCurve(50.0, 50.0);
        torsionCurve(4000.0, 4000.0);
        CTLIN.ANTYPE = 3;
        CTLIN.CAPOPT = 1;
        CAPIN.CAPTX = 36.0;
        CAPIN.CAPWZ = 120.0;
        for (int i = 1; i <= 2; ++i) {
            groupPile(i, 1, 0.0, i == 1 ? -30.0 : 30.0, 0.0);
            PILE.GROUND(i) = -24.0;
        }
        PILE.NPILES = 2;
        prepareNodeTables();
    }
};

TEST_F(PassiveOnPiles, UsesTheCapLevelValuesOfThePiles) {
    int status = 0;
    Vec6 F{};
    const Vec6 U{0.0, 0.2, 0.0, 0.0, 0.0, 0.0};
    CAPPASS(F, U, status);
    ASSERT_EQ(status, 0);
    EXPECT_DOUBLE_EQ(PYMODE.CAPHDISP, 0.2);
    EXPECT_DOUBLE_EQ(PYMODE.CAPGMEAN, -24.0);
    EXPECT_GT(PYMODE.CAPPMEAN, 0.0);
    EXPECT_DOUBLE_EQ(PYMODE.CAPPMEAN, 0.5 * (PYDRV.PCAPLV(1) + PYDRV.PCAPLV(2)));
    // A triangle 24 in high with the mean cap-level reaction at the heads (X = 0).
    EXPECT_NEAR(F[1], -12.0 * PYMODE.CAPPMEAN, 1e-9 * std::fabs(F[1]));
    EXPECT_NEAR(F[5], -8.0 * F[1], 1e-9 * std::fabs(F[5]));
    // Its derivative along Y: a stiffening against the movement, the other columns of Y's force nil
    // but for the rotation about Z, which turns the pile heads too.
    Mat6 K{};
    CAPPSTF(K, U, {0, 0.01, 0, 0, 0, 0}, 1, 0, status);
    ASSERT_EQ(status, 0);
    EXPECT_LT(el(K, 2, 2), 0.0);
    EXPECT_EQ(el(K, 2, 1), 0.0);
}

// ---- The equivalent lateral spring ---------------------------------------------------------------

class CapSpring : public GroupModel {
protected:
    static constexpr double T = 36.0, B = 120.0, KSLOPE = 0.5;  // in, in, lb/in^3 per in of depth
    void SetUp() override {
        GroupModel::SetUp();
        CTLIN.ANTYPE = 3;
        CTLIN.CAPOPT = 2;
        CAPIN.KCAPSPR = 1;
        CAPIN.CAPTX = CAPIN.CAPSLEN = T;
        CAPIN.CAPWZ = B;
        // One pile whose head is the cap's underside at X = 36: the cap top at X = 0.
        propertySet(1, PL, 40, PB);
        section(1, {.EIz = PEI, .EIy = PEI});
        groupPile(1, 1, T, 0.0, 0.0);
        PILE.NPILES = 1;
        const int c = 2;
        PILE.HEADX(c) = PILE.HEADXW(c) = 0.0;
        PILE.HEADY(c) = PILE.HEADZ(c) = 0.0;
        PILE.ALPHA(c) = PILE.THETA(c) = PILE.ANGLE3(c) = 0.0;
        PILE.BETA(c) = 1.5707963267948966;
        PILE.PMULT(c) = 1.0;
    }
    // An elastic subgrade from the ground at X = g down to 1000 in, k growing by KSLOPE per inch below g.
    void groundAt(double g) {
        SoilRow top{.gamma = 0.03, .k = 0.0}, bot{.gamma = 0.03, .k = KSLOPE * (1000.0 - g)};
        soil({{12, g, 1000.0, top, bot}});
        PILE.GROUND(2) = g;
        prepareNodeTables();
    }
    Vec6 spring(const Vec6& U, int& status) {
        Vec6 F{};
        capSpringForce(F, U, status, false);
        return F;
    }
};

TEST_F(CapSpring, TranslationReactsWithTheIntegralOfTheSubgrade) {
    // Cap top at the ground: F = k' b u T^2 / 2 exactly; the moment about the top k' b u T^3 / 3 plus the
    // lumping error k' b u T dx^2 / 24.
    groundAt(0.0);
    const double u = 0.05;
    for (int n : {1, 4, 10, 100}) {
        CAPIN.INCREMENTS = n;
        int status = 0;
        const Vec6 F = spring({0.0, u, 0.0, 0.0, 0.0, 0.0}, status);
        ASSERT_EQ(status, 0) << n;
        const double dx = T / n;
        const double force = KSLOPE * B * u * T * T / 2.0;
        const double moment = KSLOPE * B * u * T * T * T / 3.0;
        const double lumping = KSLOPE * B * u * T * dx * dx / 24.0;
        EXPECT_NEAR(F[1], -force, 1e-12 * force) << n;
        EXPECT_EQ(F[2], 0.0) << n;
        EXPECT_NEAR(F[5], -(moment + lumping), 1e-12 * moment) << n;
        EXPECT_LE(std::fabs(F[5] + moment), moment / (8.0 * n * n) * (1.0 + 1e-9)) << n;
        // Along Z the same reaction, with the moment about Y of the opposite sign.
        const Vec6 G = spring({0.0, 0.0, u, 0.0, 0.0, 0.0}, status);
        EXPECT_NEAR(G[2], -force, 1e-12 * force) << n;
        EXPECT_NEAR(G[4], moment + lumping, 1e-12 * moment) << n;
    }
}

TEST_F(CapSpring, OnlyTheEmbeddedPartResists) {
    // Ground 12 in below the cap top: the reaction is the integral over the lower 24 in, exact for the
    // trapezoidal lumping with a node at the ground (n = 6, dx = 6).
    groundAt(12.0);
    CAPIN.INCREMENTS = 6;
    int status = 0;
    const double u = -0.02;
    const Vec6 F = spring({0.0, u, 0.0, 0.0, 0.0, 0.0}, status);
    ASSERT_EQ(status, 0);
    const double H = T - 12.0;
    EXPECT_NEAR(F[1], -KSLOPE * B * u * H * H / 2.0, 1e-12 * KSLOPE * B * std::fabs(u) * H * H);
}

TEST_F(CapSpring, RotationMovesTheNodesRigidly) {
    // A rotation about Z through the origin (the cap top): node j moves by x_j theta; the force is
    // k' b theta sum w x^2, the trapezoidal rule of x^2: T^3 / 3 plus its error T dx^2 / 6.
    groundAt(0.0);
    CAPIN.INCREMENTS = 10;
    int status = 0;
    const double theta = 1e-3, dx = T / 10;
    const Vec6 F = spring({0.0, 0.0, 0.0, 0.0, 0.0, theta}, status);
    ASSERT_EQ(status, 0);
    const double sum = T * T * T / 3.0 + T * dx * dx / 6.0;
    EXPECT_NEAR(F[1], -KSLOPE * B * theta * sum, 1e-9 * KSLOPE * B * theta * sum);
}

TEST_F(CapSpring, StiffnessIsTheDerivativeOfTheReaction) {
    groundAt(0.0);
    CAPIN.INCREMENTS = 8;
    Mat6 K{};
    CAPSPRK(K, {0.0, 0.05, -0.02, 0.0, 1e-4, 2e-4}, {0, 1, 1, 0, 0, 0}, 3, 0);
    // Linear springs: the translation column Y is -k' b T^2 / 2 on the force, and the listing ran once
    // per displaced state (twelve blocks).
    const double kyy = KSLOPE * B * T * T / 2.0;
    EXPECT_NEAR(el(K, 2, 2), -kyy, 1e-5 * kyy);
    EXPECT_NEAR(el(K, 3, 3), -kyy, 1e-5 * kyy);
    const std::string out = text(16);
    std::size_t blocks = 0;
    for (std::size_t at = out.find("REACTIONS CAP"); at != std::string::npos; at = out.find("REACTIONS CAP", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 12u);
}

TEST_F(CapSpring, ListingShowsEachNodeAndTheRunningSums) {
    groundAt(0.0);
    CAPIN.INCREMENTS = 2;
    int status = 0;
    Vec6 F{};
    CAPSPRF(F, {0.0, 0.1, 0.0, 0.0, 0.0, 0.0}, status);
    ASSERT_EQ(status, 0);
    // Nodes at depths 0, 18 and 36: Es = k' x b = 0, 1080, 2160; p = Es y = 0, 108, 216; weights 9, 18, 9.
    const std::string expected =
        "\n REACTIONS CAP\n"
        " 4 0.0 18.0\n DISP   0.1 0.0\n RES    0.0 0.0\n FORCE  0.0 0.0\n MOMENT 0.0 0.0\n"
        " 5 1080.0 18.0\n DISP   0.1 0.0\n RES    108.0 0.0\n FORCE  0.0 0.0\n MOMENT 0.0 0.0\n"
        " 6 2160.0 18.0\n DISP   0.1 0.0\n RES    216.0 0.0\n FORCE  1944.0 0.0\n MOMENT 34992.0 0.0\n"
        " FORCE  3888.0 0.0\n MOMENT 96228.0 0.0\n";
    EXPECT_EQ(text(16), expected);
    EXPECT_DOUBLE_EQ(F[1], -3888.0);
}

TEST_F(CapSpring, BelowTheDeepestLayerStopsTheRun) {
    SoilRow r{.gamma = 0.03, .k = 10.0};
    soil({uniform(12, 0.0, 30.0, r)});
    prepareNodeTables();
    CAPIN.INCREMENTS = 6;
    int status = 0;
    const Vec6 F = spring({0.0, 0.1, 0.0, 0.0, 0.0, 0.0}, status);
    EXPECT_EQ(status, ST_NODE);
    for (double f : F) EXPECT_EQ(f, 0.0);
    EXPECT_NE(text(16).find("THE PILE LENGTH,   0.36E+02("), std::string::npos) << text(16);
    EXPECT_NE(text(10).find("BOTTOM OF THE DEEPEST LAYER."), std::string::npos) << text(10);
}

TEST(StepAdjust, ShrinksTheStepsByTheNewtonIncrement) {
    struct Case {
        const char* name;
        Vec6 du;
        int mode, it;
        double h, hr;
    };
    const double h0 = 1e-7, r0 = 1e-13;
    const Case cases[] = {
        {"fixed steps of a case given at a point", {0, 0, 0, 0, 0, 0}, 1, 5, h0, r0},
        {"early iterations: the translation step alone", {1, 1, 1, 1, 1, 1}, 0, 2, h0 * 9.999999747378752e-5, r0},
        {"late, small increments: both", {0, 1e-6, 0, 0, 0, 1e-12}, 0, 3, h0 * 9.999999747378752e-5,
         r0 * 0.009999999776482582},
        {"late, large increments: neither", {0, 1e-3, 0, 0, 0, 1e-9}, 0, 3, h0, r0},
    };
    for (const Case& c : cases) {
        double h = h0, hr = r0;
        STEPADJ(c.du, h, hr, c.mode, c.it);
        EXPECT_EQ(h, c.h) << c.name;
        EXPECT_EQ(hr, c.hr) << c.name;
    }
}

}  // namespace
}  // namespace kaldo::test
