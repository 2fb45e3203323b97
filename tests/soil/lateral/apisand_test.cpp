// API sand: the tanh curve on the wedge and the flow resistance, static and cyclic factor A, English and
// SI units, the initial modulus and the default k, the stop on a zero friction angle, the listing into
// the curve data file and on the echo report, the equivalent depth below another layer and the
// integrated resistance, against values worked out by hand from the criterion's formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// phi = 30 deg: alpha = 15, beta = 60 deg; tan beta = sqrt 3, tan^2 beta = 3, Ka = tan^2 30 = 1/3,
// tan phi sin beta = 1/2, K0 = 0.4:
//   C1 = sqrt3 (3 tan15 + 0.4 (0.5 (sec15 + 1) - tan15)) = 1.9117045497391574
//   C2 = 3 - 1/3 = 8/3,  C3 = 9 (3 + 0.4 / sqrt3) - 1/3 = 28.74512763574927
// With b = 12 in the wedge gives way to the flow at xt = (C3 - C2) b / C1 = 163.70 in.
constexpr double C1 = 1.9117045497391574, C2 = 8.0 / 3.0, C3 = 28.74512763574927;

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface X = 0, in API sand
// of gamma' = 0.04 pci, phi = 30 deg and k = 100 pci.
class ApiSand : public PyModel {
protected:
    static constexpr SoilRow SAND{.gamma = 0.04, .phi = PHI30, .k = 100.0};

    void build(SoilRow row = SAND) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(8, 0.0, 600.0, row)});
        layOut(1);
    }
    void listing(int fileMode, int points, int node) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = fileMode;
        PYMODE.NPYPT = points;
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = node;
    }
};

TEST_F(ApiSand, StaticCurveOnTheWedgeAndTheFlow) {
    build();
    // Node 2, x = 24: wedge pst = 0.04 * 24 * (24 C1 + 12 C2) = 74.76567282599017, A = 3 - 0.8 * 24 / 12
    // = 1.4 (0.8 single precision), pm = A pst = 104.67194017383369, yk = pm / (100 * 24).
    const double pm2 = 104.67194017383369, yk2 = pm2 / 2400.0;
    // Node 9, x = 192 > xt: flow psd = C3 * 12 * 0.04 * 192 = 2649.150962910653, A = 0.9.
    const double pm9 = s(0.9f) * C3 * 12.0 * 0.04 * 192.0;
    EXPECT_NEAR(pm9, 2384.2358, 1e-3);
    struct Case {
        int node;
        double y, p;
    };
    const Case cases[] = {
        {2, 0.5 * yk2, pm2 * std::tanh(0.5)},  // 48.37: the early, nearly straight part
        {2, yk2, pm2 * std::tanh(1.0)},        // 79.72
        {2, 3.0, pm2},                         // tanh(69) = 1: the curve has flattened at A pu
        {9, 0.1, pm9 * std::tanh(0.1 * 100.0 * 192.0 / pm9)},
        {9, 10.0, pm9},
    };
    for (const Case& c : cases) EXPECT_TRUE(near(curve(c.node, c.y), c.p)) << "node " << c.node << " y " << c.y;
}

TEST_F(ApiSand, CyclicLoadingTakesAOfPointNine) {
    build();
    CTLPAR.KSTATIC = 0;
    // Node 2: pm = 0.9 pst = 67.2891037608386 instead of 1.4 pst.
    const double pm = s(0.9f) * 74.76567282599017;
    EXPECT_TRUE(near(curve(2, pm / 2400.0), pm * std::tanh(1.0)));
    EXPECT_TRUE(near(curve(2, 3.0), pm));
}

TEST_F(ApiSand, SIUnits) {
    // 6 m pile in 10 increments, b = 0.3 m, gamma' = 9 kN/m3, k = 20000 kN/m3. Node 2, x = 0.6 m:
    // pst = 9 * 0.6 * (0.6 C1 + 0.3 C2) = 10.513922741154865 kN/m, A = 1.4, pm = 14.71949158694536,
    // yk = pm / (20000 * 0.6) = 1.2266e-3 m.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(8, 0.0, 15.0, {.gamma = 9.0, .phi = PHI30, .k = 20000.0})});
    layOut(1);
    const double pm = 14.719491586945358;
    EXPECT_TRUE(near(curve(2, pm / 12000.0), pm * std::tanh(1.0)));
    EXPECT_TRUE(near(curve(2, 0.1), pm));
}

TEST_F(ApiSand, InitialModulusAndDefaultSubgradeModulus) {
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    EXPECT_TRUE(near(at(1, 2, 0.0).Es, 100.0 * 24.0));  // k x_e, no multiplier
    // k = 0: the sand default below the water table (gamma' 0.04 <= 0.045 pci) at 30 deg:
    // ((0.0166 * 30 - 1.55262) * 30 + 58.42955) * 30 - 769.18353 = 34.5449 pci.
    SetUp();
    build({.gamma = 0.04, .phi = PHI30, .k = 0.0});
    EXPECT_TRUE(near(at(1, 2, 0.0).Es, 34.544917449355125 * 24.0));
}

TEST_F(ApiSand, ZeroFrictionAngleStopsTheRunAfterTheLayersFirstNode) {
    // Head 12 in below the ground surface: node 1 is the layer's first node and lies in the soil.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, -12.0);
    soil({uniform(8, -12.0, 600.0, {.gamma = 0.04, .phi = 0.0, .k = 100.0})});
    layOut(1);
    y(1) = y(2) = 0.1;
    EXPECT_EQ(evaluate(1), 30);
    const std::string note = "\n"
                             "       --------------------WARNING----------------------\n"
                             "       THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT\n"
                             "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n";
    EXPECT_EQ(text(10), note);
    EXPECT_EQ(text(32), note);
    // At the first node alone the zero angle passes: the sand there resists nothing.
    PYDRV.LNLAST(1, 1) = 1;
    p(1) = 777.0;
    EXPECT_EQ(evaluate(1), 0);
    EXPECT_EQ(p(1), 0.0);
}

TEST_F(ApiSand, CurveDataFileTakesTheCurveWithoutMultipliers) {
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    listing(1, 0, 2);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 8);
    // Default points at node 2 (yk = 0.04361330840576404, pm = 104.67194017383369): tenths of
    // yc = 1.8317806720733643 yk, where tanh reaches 0.95, up to 1.2 ya, ya = 4.951635837554932 yk.
    const double yk = 0.04361330840576404, pm = 104.67194017383369;
    const double yc = 1.8317806720733643 * yk, ya = 4.951635837554932 * yk;
    EXPECT_EQ(PYPLOT.PLY(1), 0.0);
    EXPECT_TRUE(near(PYPLOT.PLY(2), yc / 10.0));
    EXPECT_TRUE(near(PYPLOT.PLY(11), yc));
    EXPECT_TRUE(near(PYPLOT.PLP(11), 0.95 * pm, 1e-5));  // no p-multiplier
    EXPECT_TRUE(near(PYPLOT.PLY(13), 2.646652936935425 * yk));
    EXPECT_TRUE(near(PYPLOT.PLY(17), s(1.2f) * ya));
    EXPECT_TRUE(near(PYPLOT.PLP(17), pm * std::tanh(s(1.2f) * 4.951635837554932)));
    // The node's X goes to the plot output file while the print switch is 1.
    EXPECT_EQ(text(17), " 24.0\n");
}

TEST_F(ApiSand, ReportHeading) {
    // Node 2: x = 2 ft, b = 12 in, phi = 30.0, gamma' = 0.04 * 1728 = 69.12 pcf, A = 1.40, B column 0,
    // pst = 74.77 and psd = 331.1 lb/in (G10.3: "  74.8    " and "  331.    ").
    build();
    listing(0, -1, 2);
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo = "\n\n"
                             "     DEPTH      DIAM      PHI  GAMMA AVG        A         B     PCT       PCD\n"
                             "       FT        IN            LBS/FT**3\n"
                             "      2.00     12.00      30.0  69.1          1.40      0.00  74.8      331.    \n"
                             "             EQ. DEPTH =    2.00 FT\n"
                             "\n"
                             "                                     Y                   P\n"
                             "                                     IN                LBS/IN\n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 24.0\n");
}

TEST_F(ApiSand, LowerLayerMeasuresTheWedgeFromItsEquivalentDepth) {
    // Clay without strength above X = 48 builds up no resistance, so the sand's equivalent depth is 0:
    // at node 4 (X = 72) the wedge depth is x_e = 24 while the overburden uses x = 72.
    //   pst = 0.04 * 72 * (24 C1 + 12 C2) = 224.2970184779705, A = 3 - 0.8 * 24 / 12 = 1.4,
    //   pm = 314.0158205215011, k x_e = 2400.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 48.0, {.gamma = 0.04}), uniform(8, 48.0, 600.0, SAND)});
    layOut(1);
    const double pm = 314.0158205215011;
    EXPECT_TRUE(near(curve(4, pm / 2400.0), pm * std::tanh(1.0)));
    EXPECT_NEAR(PYDRV.EQDEP(1, 2), 0.0, 1e-12);
    EXPECT_TRUE(near(at(1, 4, 0.0).Es, 2400.0));

    // A layer top below xt = 163.7 in: the wedge there already exceeds the flow, and the equivalent depth
    // is the true depth of the top.
    SetUp();
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 192.0, {.gamma = 0.04}), uniform(8, 192.0, 600.0, SAND)});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 192.0);
}

TEST_F(ApiSand, IntegratedUltimateResistance) {
    // Sand down to X = 30 over soft clay: node 2 (X = 24) is the sand's last node. PUINT = h A pu + (30 -
    // 24) A pu with h = 24, the spacing at the layer top: 30 * 104.67194017383369.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(8, 0.0, 30.0, SAND), uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), 3140.1582052150106));

    // Head 24 in below the ground surface: the layer counts as the triangle 0.5 A pu (XBOT - XTOP) with
    // the last node's A pu: x = 48, pst = 0.04 * 48 * (48 C1 + 12 C2) = 237.62269130396072, A = 0.9,
    // so 0.5 * 213.8604165081982 * 54.
    SetUp();
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, -24.0);
    soil({uniform(8, -24.0, 30.0, SAND), uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), 5774.231245721351));
}

}  // namespace
}  // namespace kaldo::test
