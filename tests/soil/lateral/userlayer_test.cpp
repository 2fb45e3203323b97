// User p-y curves within a layer (code 5): interpolation along the curves and between the two that
// bracket a node, the reaction of the deeper curve, the multipliers, the integrated resistance, nodes
// below the deepest curve (the deepest curve stands in, RUNSOLVST 5), a pile without a curve set, the
// cap-level reaction and no listing.
#include <gtest/gtest.h>

#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// Set 1: curves at X = 0, 20, 40 and 60, each through (0, 0), (1, p1), (2, p2) with (p1, p2) = (100, 150),
// (200, 300), (400, 600) and (800, 1200). Pile 1 names the set as -1 (by its absolute value, within the
// layers); 40 in in 4 increments of 10 in, head at the ground surface X = 0, so node j lies at
// X = 10 (j - 1). One layer of user curves.
class UserLayer : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        CTLIN.KUSERPY = 1;
        const double xs[] = {0.0, 20.0, 40.0, 60.0}, p1[] = {100.0, 200.0, 400.0, 800.0},
                     p2[] = {150.0, 300.0, 600.0, 1200.0};
        PYUSR.NPYSET = 1;
        PYUSR.PYNCRV(1) = 4;
        for (int c = 1; c <= 4; ++c) {
            PYUSR.PYX(1, c) = xs[c - 1];
            PYUSR.PYNPT(1, c) = 3;
            PYUSR.PYY(1, c, 2) = 1.0;
            PYUSR.PYP(1, c, 2) = p1[c - 1];
            PYUSR.PYY(1, c, 3) = 2.0;
            PYUSR.PYP(1, c, 3) = p2[c - 1];
        }
        build(0.0, 0.0);
    }
    void build(double headX, double ground) {
        propertySet(1, 40.0, 4, 12.0);
        pile(1, 1, headX, ground);
        PILE.PYCRV(1) = -1;
        soil({uniform(5, 0.0, 100.0, {.gamma = 0.03})});
        layOut(1);
    }
};

TEST_F(UserLayer, InterpolationBetweenTheBracketingCurves) {
    y(2) = 1.0;  // X = 10, between the curves at 0 and 20: secants 100 and 200
    y(3) = 1.0;  // X = 20, on the second curve alone
    y(4) = 0.5;  // X = 30: secants 200 and 400 at y = 0.5
    y(5) = 4.0;  // X = 40, beyond the last point: flat at 600
    ASSERT_EQ(evaluate(1), 0);
    const double EsExp[] = {150.0, 200.0, 300.0, 150.0}, pExp[] = {-200.0, -200.0, -200.0, -600.0};
    for (int j = 2; j <= 5; ++j) {
        EXPECT_DOUBLE_EQ(Es(j), EsExp[j - 2]) << "node " << j;
        EXPECT_DOUBLE_EQ(p(j), pExp[j - 2]) << "node " << j;  // the deeper curve's reaction
    }
    EXPECT_DOUBLE_EQ(Es(1), 100.0);  // on the ground surface: the first curve's initial slope
    // The last points' reactions interpolated in depth like the moduli (225, 300, 450, 600), over the
    // increment of 10 in.
    EXPECT_DOUBLE_EQ(PYDRV.PUINT(1, 1), 10.0 * (225.0 + 300.0 + 450.0 + 600.0));
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 0);
}

TEST_F(UserLayer, MultipliersAndZeroDeflection) {
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    y(2) = 1.0;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_DOUBLE_EQ(Es(2), 0.5 * 150.0 / 2.0);
    EXPECT_DOUBLE_EQ(p(2), -0.5 * 200.0);
    // At zero deflection the curves are read at 1e-14: the slopes of their first segments, and a tiny
    // positive reaction.
    y(2) = 0.0;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_NEAR(Es(2), 0.5 * 150.0 / 2.0, 1e-9);
    EXPECT_GT(p(2), 0.0);
}

TEST_F(UserLayer, NodesBelowTheDeepestCurveTakeIt) {
    // The set ends with its curve at X = 20 (the slot after it still holds the old third curve): nodes 4
    // and 5 take the curve at 20 alone, and the solver is told that the curves are too short.
    PYUSR.PYNCRV(1) = 2;
    y(4) = 1.0;
    y(5) = 2.0;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_DOUBLE_EQ(Es(4), 200.0);
    EXPECT_DOUBLE_EQ(p(4), -200.0);
    EXPECT_DOUBLE_EQ(Es(5), 150.0);
    EXPECT_DOUBLE_EQ(p(5), -300.0);
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 5);
    EXPECT_DOUBLE_EQ(PYDRV.PUINT(1, 1), 10.0 * (225.0 + 300.0 + 300.0 + 300.0));
    // One record per call, on the echo report.
    const std::string record = "\n\n     P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE\n";
    EXPECT_EQ(text(32), record);
    RUNSTATE.RUNSOLVST = 0;
}

TEST_F(UserLayer, PileWithoutACurveSetStopsTheRun) {
    PILE.PYCRV(1) = 0;
    y(3) = 1.0;
    EXPECT_EQ(evaluate(1), 115);
    EXPECT_NE(text(10).find("BUT PILE     1 HAS NO USER P-Y CURVE SET (   0)."), std::string::npos) << text(10);
}

TEST_F(UserLayer, CapLevelReactionFromTheCurves) {
    // Head 20 in below the ground surface (X = 20) under a passive-resistance cap, the cap displaced
    // 1 in: the curves at 0 and 20 give 100 and 200 at y = 1, read at X = 0.99 * 20 = 19.8 without any
    // multiplier: 200 - 100 * 0.2 / 20 = 199. The head node itself then takes its own spring.
    build(20.0, -20.0);
    CTLIN.CAPOPT = 1;
    CAPIN.CAPTX = 10.0;
    CAPIN.CAPWZ = 60.0;
    PYMODE.CAPHDISP = 1.0;
    PILEFAC.PMUL(1) = 0.5;
    y(1) = 1.0;
    ASSERT_EQ(evaluate(1), 0);
    const double X = static_cast<double>(0.99f) * 20.0;
    EXPECT_DOUBLE_EQ(PYDRV.PCAPLV(1), 200.0 - 100.0 * (20.0 - X) / 20.0);
    EXPECT_DOUBLE_EQ(Es(1), 0.5 * 200.0);
    EXPECT_DOUBLE_EQ(p(1), -0.5 * 200.0);
}

TEST_F(UserLayer, ListsNothing) {
    CTLIN.KPYOP = 1;
    PYMODE.PYPRTMODE = 1;
    PYMODE.NPYPT = 0;
    PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    p(3) = 55.0;
    for (int fileMode : {0, 1}) {
        PYMODE.PYFILEMODE = fileMode;
        ASSERT_EQ(evaluate(1), 0);
    }
    EXPECT_EQ(p(3), 55.0);
    EXPECT_EQ(PYPLOT.PLTYPE, 0);
    EXPECT_EQ(text(32), "");
    EXPECT_EQ(text(17), "");
}

}  // namespace
}  // namespace kaldo::test
