// User p-y curves along a pile: interpolation along a curve and between the curves that bracket a node,
// the reaction of the deeper curve, the multipliers (along depth by the distance below the head), soil
// movement, the cap-level reaction, and curves that do not reach the pile's depth.
#include <gtest/gtest.h>

#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// Set 1: curves at X = 0, 20 and 40, each through (0, 0), (1, p1), (2, p2) with (p1, p2) = (100, 150),
// (200, 300) and (400, 600). Pile 1 on set 1, head at X = 0, 40 in 4 increments of 10: node i at
// X = 10 i, slot i + 4 of the arrays.
class PyUserPile : public PyModel {
protected:
    // The user curves of a pile work on the solvers' slot arrays; these stand in for the node arrays of
    // the soil-layer fixture.
    SlotArray y{}, Es{}, sm1{}, sm2{}, esy{}, p{};

    void SetUp() override {
        PyModel::SetUp();
        CTLIN.KUSERPY = 1;
        const double xs[] = {0.0, 20.0, 40.0}, p1[] = {100.0, 200.0, 400.0}, p2[] = {150.0, 300.0, 600.0};
        PYUSR.NPYSET = 1;
        PYUSR.PYNCRV(1) = 3;
        for (int c = 1; c <= 3; ++c) {
            PYUSR.PYX(1, c) = xs[c - 1];
            PYUSR.PYNPT(1, c) = 3;
            PYUSR.PYY(1, c, 2) = 1.0;
            PYUSR.PYP(1, c, 2) = p1[c - 1];
            PYUSR.PYY(1, c, 3) = 2.0;
            PYUSR.PYP(1, c, 3) = p2[c - 1];
        }
        build(0.0, 40.0, 4);
    }
    void build(double headX, double length, int n) {
        propertySet(1, length, n, 12.0);
        pile(1, 1, headX, 0.0);
        PILE.PYCRV(1) = 1;
        prepareNodeTables();
    }
    void run() { PYUSERPILE(1, y, Es, sm1, sm2, esy, p); }
};

TEST_F(PyUserPile, InterpolationAlongAndBetweenCurves) {
    y(5) = 1.0;   // X = 10, between the curves at 0 and 20: moduli 100 and 200
    y(6) = 1.0;   // X = 20, on the second curve
    y(7) = 0.5;   // X = 30: moduli 200 and 400 at y = 0.5
    y(8) = 4.0;   // X = 40, beyond the last point: flat at 600
    run();
    EXPECT_DOUBLE_EQ(Es(5), 150.0);
    EXPECT_DOUBLE_EQ(p(5), -200.0);  // the deeper curve's reaction
    EXPECT_DOUBLE_EQ(Es(6), 200.0);
    EXPECT_DOUBLE_EQ(p(6), -200.0);
    EXPECT_DOUBLE_EQ(Es(7), 300.0);
    EXPECT_DOUBLE_EQ(p(7), -200.0);
    EXPECT_DOUBLE_EQ(Es(8), 150.0);
    EXPECT_DOUBLE_EQ(p(8), -600.0);
    // At zero deflection the curves are read at 1e-14: the slope of their first segments, and a tiny
    // positive reaction.
    EXPECT_NEAR(Es(4), 100.0, 3.0);
    EXPECT_GT(p(4), 0.0);
    EXPECT_LT(p(4), 1e-10);
    EXPECT_EQ(Es(3), 0.0);  // slots before the head are not touched
    EXPECT_EQ(PYDRV.GSURFP(1), 0.0);
}

TEST_F(PyUserPile, PileMultipliers) {
    PILEFAC.PMUL(1) = 2.0;
    PILEFAC.YMUL(1) = 4.0;
    y(5) = -1.0;
    run();
    EXPECT_DOUBLE_EQ(Es(5), 150.0 * 2.0 / 4.0);
    EXPECT_DOUBLE_EQ(p(5), 400.0);
}

TEST_F(PyUserPile, DepthMultipliersByDistanceBelowTheHead) {
    // Head at X = 5, increments of 7: node 1 at X = 12, 7 below the head. Multipliers from (0: 1, 1) to
    // (14: 0.5, 2): at 7, pm = 0.75 and ym = 1.5 (at 12 they would differ).
    build(5.0, 28.0, 4);
    CTLIN.KRFDEP = 1;
    PILE.RFLSET(1) = 1;
    RFD.NRFD(1) = 2;
    RFD.RFDX(1, 2) = 14.0;
    RFD.RFDPM(1, 1) = 1.0;
    RFD.RFDYM(1, 1) = 1.0;
    RFD.RFDPM(1, 2) = 0.5;
    RFD.RFDYM(1, 2) = 2.0;
    y(5) = 1.0;
    run();
    // Moduli 100 and 200 times 0.75 / 1.5, interpolated at X = 12; the reaction 200 times 0.75.
    EXPECT_DOUBLE_EQ(Es(5), (200.0 - 100.0 * 8.0 / 20.0) * 0.5);
    EXPECT_DOUBLE_EQ(p(5), -150.0);
}

TEST_F(PyUserPile, SoilMovement) {
    SMOV.NSMOV = 1;
    sm1(6) = 0.3;
    sm2(6) = 0.4;  // resultant 0.5
    y(6) = 1.5;
    run();
    EXPECT_DOUBLE_EQ(Es(6), 200.0);
    EXPECT_DOUBLE_EQ(p(6), -200.0);
    EXPECT_DOUBLE_EQ(esy(6), 100.0);
    y(6) = -0.5;
    run();
    EXPECT_DOUBLE_EQ(p(6), 200.0);
}

TEST_F(PyUserPile, CapLevelReactionWithoutMultipliers) {
    // Head at X = 20: the cap level is 0.99 * 20, between the curves at 0 and 20; the cap has moved 1.
    build(20.0, 20.0, 2);
    CTLIN.CAPOPT = 1;
    PYMODE.CAPHDISP = 1.0;
    PILEFAC.PMUL(1) = 2.0;
    run();
    const double X = static_cast<double>(0.99f) * 20.0;
    EXPECT_DOUBLE_EQ(PYDRV.PCAPLV(1), 200.0 - (20.0 - X) * (200.0 - 100.0) / 20.0);
    // Without the passive-resistance cap there is no cap pass.
    CTLIN.CAPOPT = 2;
    PYDRV.PCAPLV(1) = 777.0;
    run();
    EXPECT_EQ(PYDRV.PCAPLV(1), 777.0);
}

TEST_F(PyUserPile, CurvesShorterThanThePile) {
    build(0.0, 50.0, 5);  // the tip at X = 50, below the deepest curve
    Es(9) = 777.0;
    y(8) = 1.0;
    run();
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 5);
    EXPECT_EQ(Es(9), 777.0);           // not reached
    EXPECT_DOUBLE_EQ(Es(8), 400.0);    // evaluated before the failure
    const std::string record = "\n\n  -  P-Y CURVES DO NOT EXTEND THE LENGTH OF THE PILE, PILE GROUP =     1\n";
    EXPECT_EQ(text(16), record);
    EXPECT_EQ(text(10), record);
}

}  // namespace
}  // namespace kaldo::test
