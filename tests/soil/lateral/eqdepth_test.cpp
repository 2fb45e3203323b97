// Equivalent depth in layered soil: a two-layer soft clay case worked by hand through the integrated
// ultimate resistance of the upper layer, the closed-form rules at their thresholds, the value kept for
// the rest of the run, and a depth that cannot be formed (never kept; the true depth of the layer top
// stands in).
#include <gtest/gtest.h>

#include <cmath>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// The depth-to-diameter ratios of the sand tables (not read by the clay rules).
constexpr double XB[10] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};

// Pile: head at the ground surface X = 0, 240 in in 10 increments of 24 in, b = 12 in. Layer 1 (soft
// clay with J = 0.5 from the profile, code 13) from 0 to 96: c = 5 psi, gamma' = 0.03 pci; layer 2 (soft
// clay, code 1) from 96 down: c = 10 psi, gamma' = 0.03 pci. Nodes 1..4 lie in layer 1, 5..11 in layer 2.
class EquivalentDepth : public PyModel {
protected:
    void build(double c2 = 10.0, double j2 = 0.0, int code2 = 1) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(13, 0.0, 96.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01, .j = 0.5}),
              uniform(code2, 96.0, 600.0, {.gamma = 0.03, .c = c2, .e50 = 0.01, .j = j2})});
        layOut(1);
    }
};

TEST_F(EquivalentDepth, TwoLayerSoftClayByHand) {
    build();
    ASSERT_EQ(PYDRV.LNFIRST(1, 2), 5);
    ASSERT_EQ(evaluate(1), 0);

    // Layer 1 under static loading: pu(x) = (0.5 x / 12 + 3 + 0.03 x / 5) * 5 * 12 = 180 + 2.86 x; the
    // node at the ground surface adds nothing, the others h pu with h = 24:
    // F = 24 * (248.64 + 317.28 + 385.92) = 22844.16.
    const double F = 22844.16;
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), F));
    // Layer 2 at its top (x = 96): xr = 720 / (5 + 0.36) = 134.33 > 96, so no crossing; a = 2.68,
    // d = 360, Fr = (a xr + d) xr = 720 xr > F: the root of a X^2 + d X = F.
    const double root = (std::sqrt(360.0 * 360.0 + 4.0 * 2.68 * F) - 360.0) * 0.5 / 2.68;
    EXPECT_NEAR(root, 47.0066, 1e-4);
    EXPECT_TRUE(near(PYDRV.EQDEP(1, 2), root));

    // The wedge below layer 2's top measures from it: at node 6 (x = 120) x_e = root + 24, and at the
    // deflection y50 = 0.3 the reaction is pu / 2 with pu = (0.5 x_e / 12 + 3 + 0.03 * 120 / 10) * 120.
    y(6) = 0.3;
    ASSERT_EQ(evaluate(1), 0);
    const double pu = (0.5 * (root + 24.0) / 12.0 + 3.0 + 0.03 * 120.0 / 10.0) * 120.0;
    EXPECT_TRUE(near(-p(6), 0.5 * pu));
}

TEST_F(EquivalentDepth, KeptForTheRestOfTheRun) {
    build();
    ASSERT_EQ(evaluate(1), 0);
    const double first = PYDRV.EQDEP(1, 2);
    // A cyclic case afterwards, and a stronger upper layer: the stored depth stands.
    CTLPAR.KSTATIC = 0;
    SOILPRF.CU(1) = SOILPRF.CU(2) = 8.0;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), first);
    EXPECT_NE(PYDRV.PUINT(1, 1), 22844.16);
}

TEST_F(EquivalentDepth, SameCriterionOrCrossingGivesTheTrueDepth) {
    // The same code above and below: the true depth of the layer top.
    build(10.0, 0.5, 13);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 96.0);
    // A weak lower layer: xr = 6 * 1 * 12 / (0.36 + 0.5) = 83.7 < 96, the node is below its transition
    // depth.
    SetUp();
    build(1.0);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 96.0);
}

// The closed-form rules on their own, with F given through PUINT of the layers above.
class EquivalentDepthRule : public PyModel {
protected:
    double depth(int code, double F, double b, double c, double ca, double g, double J = 0.5) {
        SOILLAY.NLAYER = 3;
        SOILLAY.LCRIT(3) = code;
        PYDRV.PUINT(1, 1) = 0.25 * F;
        PYDRV.PUINT(1, 2) = 0.75 * F;
        PYDRV.EQDEP(1, 3) = -1.0;
        EXPECT_TRUE(PYEQDEPTH(1, 3, 1, b, c, ca, g, 0, 0, 0, 0, 0, 0, 100.0, J, XB));
        return PYDRV.EQDEP(1, 3);
    }
};

TEST_F(EquivalentDepthRule, SoftClayThresholdAndExtension) {
    // b = 12, c = 10, gamma = 0.03: xr = 720 / 5.36, a = 2.68, d = 360, Fr = 720 xr, pmax = 1080.
    const double xr = 720.0 / 5.36, Fr = 720.0 * xr;
    EXPECT_EQ(depth(1, 0.0, 12, 10, 0, 0.03), 0.0);  // nothing above: the ground surface
    EXPECT_TRUE(near(depth(1, Fr, 12, 10, 0, 0.03), xr, 1e-12));  // F = Fr takes the root: xr itself
    EXPECT_TRUE(near(depth(1, Fr + 2160.0, 12, 10, 0, 0.03), xr + 2.0));
    // Cyclic loading: the threshold and the deep resistance at 0.72, the root without it.
    CTLPAR.KSTATIC = 0;
    const double c72 = s(0.72f);
    EXPECT_TRUE(near(depth(1, c72 * Fr + 2160.0 * c72, 12, 10, 0, 0.03), xr + 2.0));
    const double F = 10000.0;
    const double root = (std::sqrt(360.0 * 360.0 + 4.0 * 2.68 * F) - 360.0) * 0.5 / 2.68;
    EXPECT_TRUE(near(depth(1, F, 12, 10, 0, 0.03), root));
    // Codes 13 and 14 with J = 0.5 give the same depth as code 1, and so does a code without a rule.
    CTLPAR.KSTATIC = 1;
    EXPECT_TRUE(near(depth(13, Fr + 2160.0, 12, 10, 0, 0.03, 0.5), xr + 2.0));
    EXPECT_TRUE(near(depth(14, F, 12, 10, 0, 0.03, 0.5), root));
    EXPECT_TRUE(near(depth(12, F, 12, 10, 0, 0.03), root));
}

TEST_F(EquivalentDepthRule, StiffClayWithoutFreeWater) {
    // b = 12, c = 10, ca = 4, gamma = 0.03: xr = (90 - 12) * 12 / 5.36, Fr = (2.68 xr + 360) xr; below
    // it 9 c b = 1080 per unit depth.
    const double xr = 78.0 * 12.0 / 5.36, Fr = (2.68 * xr + 360.0) * xr;
    for (int code : {3, 10}) {
        EXPECT_TRUE(near(depth(code, Fr + 1080.0, 12, 10, 4, 0.03), xr + 1.0));
        EXPECT_TRUE(near(depth(code, Fr, 12, 10, 4, 0.03), xr, 1e-12));
    }
}

TEST_F(EquivalentDepthRule, ZeroDivisorKeepsNoDepth) {
    SOILLAY.NLAYER = 2;
    SOILLAY.LCRIT(2) = 1;
    PYDRV.PUINT(1, 1) = 500.0;
    // No strength and no unit weight: the transition depth has no divisor.
    EXPECT_FALSE(PYEQDEPTH(1, 2, 1, 12.0, 0.0, 0.0, 0.0, 0, 0, 0, 0, 0, 0, 50.0, 0.5, XB));
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 0.0);
}

TEST_F(EquivalentDepth, NonFiniteDepthFallsBackToTheLayerTopAndIsNotKept) {
    // Modified soft clay below (code 14, k large enough not to matter) with J = -3/64, c = 8 psi and
    // gamma' = 1/32 pci throughout: J c + gamma' b = -0.375 + 0.375 = 0, so the transition depth is
    // infinite (no crossing) and the rule of codes 13 and 14 has no divisor. The wedge then measures
    // from the true depth of the layer top, 90: at node 5 (X = 96, the layer's first node, inside the
    // layer so that the profile gives its own J), x_e = 90 + 6 and Np = -0.046875 * 96 / 12 + 3 +
    // 0.03125 * 96 / 8 = 3, pu = 3 * 8 * 12 = 288 (from a depth of 0, x_e = 6 and pu would be larger).
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(13, 0.0, 90.0, {.gamma = 0.03125, .c = 5.0, .e50 = 0.01, .j = 0.5}),
          uniform(14, 90.0, 600.0, {.gamma = 0.03125, .c = 8.0, .e50 = 0.01, .k = 1000.0, .j = -0.046875})});
    layOut(1);
    y(5) = 0.3;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(-p(5), 0.5 * 288.0));
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 0.0);
    // Not kept: computed again at the next evaluation, with the same outcome.
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(-p(5), 0.5 * 288.0));
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 0.0);
}

// The depth-factor tables at r = x / b with b = 12 and the ground surface at X = 0.
TEST_F(EquivalentDepthRule, FactorTablesInterpolateAndExtend) {
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    PYDRV.GSURFP(1) = 0.0;
    const double as[] = {s(0.223f), s(0.46f), s(0.55f)};
    EXPECT_DOUBLE_EQ(CFASTAT(1, 1, 12.0), as[1]);
    EXPECT_DOUBLE_EQ(CFASTAT(1, 1, 18.0), 0.5 * (as[1] + as[2]));
    EXPECT_DOUBLE_EQ(CFASTAT(1, 1, -12.0), as[0] - (as[1] - as[0]));  // first segment extended up
    EXPECT_DOUBLE_EQ(CFASTAT(1, 1, 84.0), s(0.60f));                 // flat beyond r = 5
    EXPECT_DOUBLE_EQ(CFACYC(1, 1, 6.0), 0.5 * (s(0.20f) + s(0.29f)));
    EXPECT_DOUBLE_EQ(CFACYC(1, 1, 48.0), s(0.30f));
    const double A[10] = {s(2.83f), s(2.48f), s(2.11f), s(1.76f), s(1.48f),
                          s(1.23f), s(1.06f), s(0.90f), s(0.88f), s(0.88f)};
    EXPECT_DOUBLE_EQ(CFTAB10(1, 1, 9.0, A, XB), 0.5 * (A[1] + A[2]));  // r = 0.75
    EXPECT_DOUBLE_EQ(CFTAB10(1, 1, 42.0, A, XB), A[6] + 0.5 * (A[7] - A[6]));  // r = 3.5
    EXPECT_DOUBLE_EQ(CFTAB10(1, 1, 120.0, A, XB), A[9]);  // r = 10, along the flat last segment
}

TEST_F(EquivalentDepthRule, SandRuleStepsAndExtendsBelowTheCrossing) {
    // API sand (code 8) under cyclic loading, A = 0.9 (single precision) at every step: the sum over
    // the 50 steps of 0.9 gamma b^2 dx (C2 x_i / b + C1 (x_i / b)^2), x_i = i dx, is in closed form
    // 0.9 gamma b^2 dx (C2 dx / b n(n+1)/2 + C1 dx^2 / b^2 n(n+1)(2n+1)/6). Beyond it the flow
    // resistance 0.88 x C3 gamma b per unit depth.
    const double PI = 3.141592653589793;
    const double phi = PI / 6, alpha = phi / 2, beta = PI / 4 + phi / 2, K0 = 0.4;
    const double Ka = std::pow(std::tan(PI / 4 - phi / 2), 2), T = std::pow(std::tan(beta), 2);
    const double ta = std::tan(alpha), tb = std::tan(beta), tp = std::tan(phi);
    const double C1 = tb * (T * ta + K0 * (std::sin(beta) * (1 / std::cos(alpha) + 1) * tp - ta));
    const double C2 = T - Ka, C3 = T * T * (T + K0 * tp) - Ka;
    const double b = 12.0, g = 0.04, x = 200.0;
    const double xt = (C3 - C2) * b / C1, dx = xt / 50.0;
    const double sumX = 50 * 51 / 2.0, sumX2 = 50 * 51 * 101 / 6.0;  // sums of i and i^2 over the steps
    const double S = s(0.9f) * g * b * b * dx * (C2 * dx / b * sumX + C1 * dx * dx / (b * b) * sumX2);
    SOILLAY.NLAYER = 2;
    SOILLAY.LCRIT(2) = 8;
    CTLPAR.KSTATIC = 0;
    const double F = S + 1000.0;
    PYDRV.PUINT(1, 1) = F;
    ASSERT_TRUE(PYEQDEPTH(1, 2, 1, b, 0, 0, g, phi, alpha, beta, K0, Ka, T, x, 0, XB));
    EXPECT_TRUE(near(PYDRV.EQDEP(1, 2), xt + 1000.0 / (s(0.88f) * x * C3 * g * b), 1e-12));
    // Nothing above: the first step already passes F, at its top.
    PYDRV.PUINT(1, 1) = 0.0;
    ASSERT_TRUE(PYEQDEPTH(1, 2, 1, b, 0, 0, g, phi, alpha, beta, K0, Ka, T, x, 0, XB));
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 0.0);
}

}  // namespace
}  // namespace kaldo::test
