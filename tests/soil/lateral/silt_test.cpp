// Silt: the three shapes of the curve on each of their pieces, static and cyclic, English and SI units,
// the stops on a zero friction angle, the default points of each shape in the curve data file (without
// multipliers), the report heading, the equivalent depth below another layer and the integrated
// resistance, against values worked out by hand from the formulas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 240 in in 10 increments of 24 in, b = 12 in, head at the ground surface, in silt of
// gamma' = 0.04 pci, c = 2 psi, phi = 30 deg. At node 2 (x = x_e = 24 in, x / b = 2, a table point):
//   sand: pst = 74.76567300431192 < psd = 331.14 (the sand criterion's wedge with K0 = 0.4), so
//         psand = pst; A = 1.48, B = 1.05 (static), A = 1.03 (cyclic);
//   clay: Np = 0.04 * 24 / 2 + 3 + 0.5 * 24 / 12 = 4.48, pclay = 4.48 * 2 * 12 = 107.52;
//   pu = A psand = 110.65319747242368 at yu = 3 b / 80 = 0.45,
//   pm = 1.5 psand + pclay = 219.6685095064679 at ym = b / 60 = 0.2;
//   m = (pu - pm) / (yu - ym) = -436.0612, n = pm / (|m| ym) = 2.51878, C = pm / ym^(1/n) = 416.170.
class Silt : public PyModel {
protected:
    static constexpr double PU = 110.65319747242368, PM = 219.6685095064679, YU = 0.45, YM = 0.2;
    static constexpr SoilRow SILT{.gamma = 0.04, .c = 2.0, .phi = PHI30, .k = 100.0};

    void build(double k = 100.0) {
        SoilRow row = SILT;
        row.k = k;
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(7, 0.0, 600.0, row)});
        layOut(1);
    }
    struct Case {
        double y, p;
    };
    void expectCurve(int node, const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_TRUE(near(curve(node, c.y), c.p, 1e-8)) << "node " << node << " y " << c.y;
    }
    void listing(int fileMode, int points, int node) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = fileMode;
        PYMODE.NPYPT = points;
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = node;
    }
};

TEST_F(Silt, FullCurveWhenTheInitialLineMeetsTheParabola) {
    // k = 100: k x_e = 2400 meets the parabola at yk = (C / 2400)^(n / (n - 1)) = 0.0547 < ym.
    build(100.0);
    expectCurve(2, {{0.02, 48.0},                  // initial line
                    {0.1, 166.82211277343762},     // parabola C y^(1/n)
                    {YM, PM},                      // its end at ym
                    {0.3, 176.06238469285023},     // straight line pm + m (y - ym), falling to pu
                    {1.0, PU}});
}

TEST_F(Silt, InitialLineMeetsTheStraightLine) {
    // k = 20: k x_e = 480; yk = 0.789 >= ym, and the line meets the straight line at yi = (pm - ym m) /
    // (480 - m) = 0.33500 between ym and yu.
    build(20.0);
    expectCurve(2, {{0.2, 96.0}, {0.4, 480.0 * 0.3350002630916705 - 436.06124813617686 * (0.4 - 0.3350002630916705)},
                    {1.0, PU}});
    EXPECT_TRUE(near(curve(2, 0.4), 132.4562598792326, 1e-8));
}

TEST_F(Silt, InitialLineRunsIntoTheUltimateResistance) {
    // k = 5: k x_e = 120; yi = 0.552 lies beyond yu and yc = pu / 120 = 0.922 >= yu: min(120 y, pu).
    build(5.0);
    expectCurve(2, {{0.5, 60.0}, {1.0, PU}});
}

TEST_F(Silt, CyclicFactors) {
    // A = 1.03: pu = 77.00864105537822; m = -570.639, n = 1.92476, yk = 0.0393.
    build(100.0);
    CTLPAR.KSTATIC = 0;
    expectCurve(2, {{0.02, 48.0}, {0.1, 153.23884645870396}, {0.3, 162.60456212603205}, {1.0, 77.00864105537822}});
}

TEST_F(Silt, SIUnits) {
    // 6 m pile in 10 increments, b = 0.3 m, gamma' = 9 kN/m3, c = 14 kPa, k = 30000 kN/m3. Node 2 (x =
    // 0.6 m, x / b = 2): psand = 10.513922766231364, Np = 9 * 0.6 / 14 + 3 + 1 = 4.3857, pclay = 18.42,
    // pu = 15.56060589455958, pm = 34.19088414934705, yk = 0.000899 < ym = 0.005.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(7, 0.0, 15.0, {.gamma = 9.0, .c = 14.0, .phi = PHI30, .k = 30000.0})});
    layOut(1);
    expectCurve(2, {{0.0005, 9.0}, {0.002, 22.93207944090209}, {0.006, 31.210039628581054}, {0.02, 15.56060589455958}});
}

TEST_F(Silt, ZeroFrictionAngleStopsTheRun) {
    const std::string zero = "\n"
                             "       --------------------WARNING----------------------\n"
                             "       THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT\n"
                             "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n";
    const std::string slope = "\n\n"
                              "       WARNING-------The Angle of the slope can not\n"
                              "                     be greater than the internal  \n"
                              "                     friction angle of the silt.   \n"
                              "\n";
    struct Case {
        double top, ground, phi;  // top of the silt layer and the ground surface (the head is at X = 0)
        int status;
        const std::string& note;
    };
    const Case cases[] = {
        {0.0, 12.0, 0.0, 28, zero},      // head above the ground: node 2, after the layer's first node
        {-12.0, -12.0, 0.0, 29, slope},  // the layer's first node: only the test of 1 - cos^2 phi catches it
        {0.0, 0.0, 0.0, 29, slope},      // node 1 on the surface is the layer's first node in the soil
        {0.0, 0.0, 1e-6, 29, slope},     // not zero, but 1 - cos^2 phi = 1e-12 is below 1e-10
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        SetUp();
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, c.ground);
        soil({uniform(7, c.top, 600.0, {.gamma = 0.04, .c = 2.0, .phi = c.phi, .k = 100.0})});
        layOut(1);
        y(1) = y(2) = 0.1;
        EXPECT_EQ(evaluate(1), c.status);
        EXPECT_EQ(text(32), c.note);
        EXPECT_EQ(text(10), c.note);
    }
}

TEST_F(Silt, DefaultPointsOfEachShapeWithoutMultipliers) {
    // The curve data file holds the curve itself: PMUL 0.5 and YMUL 2 do not show.
    struct Case {
        double k;
        int point;
        double y, p;
    };
    const double yi = 0.3350002630916705, yc = 110.65319747242368 / 120.0;
    const double yk100 = 0.054706564243043376, yk50 = 0.1726929119619751;
    const Case cases[] = {
        // Line to line: eighths of yi (no 0.75 yi), yi twice, sixths of yu - yi, then 1.1 and 1.2 yu.
        {20.0, 7, 0.875 * yi, 480.0 * 0.875 * yi},
        {20.0, 8, yi, 480.0 * yi},
        {20.0, 9, yi, 480.0 * yi},
        {20.0, 10, yi + (YU - yi) / 6.0, 152.4423048154055},
        {20.0, 16, s(1.1f) * YU, PU},
        // Line to the ultimate resistance: twelfths of yc, then 1.05 to 1.2 yc.
        {5.0, 2, yc / 12.0, 120.0 * yc / 12.0},
        {5.0, 13, yc, PU},
        {5.0, 17, s(1.2f) * yc, PU},
        // Full curve, yk <= 0.75 ym: yk / 2, yk, tenths of ym - yk, thirds of yu - ym.
        {100.0, 2, 0.5 * yk100, 65.64787709165205},
        {100.0, 7, yk100 + 4.0 * (YM - yk100) / 10.0, 175.00797298538984},
        {100.0, 14, (YU + 2.0 * YM) / 3.0, PM + (PU - PM) / 3.0},
        // Full curve, yk > 0.75 ym (k = 50): sixths of yk, then sixths of ym - yk.
        {50.0, 2, yk50 / 6.0, 34.53858239239502},
        {50.0, 7, yk50, 207.2314943543701},
        {50.0, 8, yk50 + (YM - yk50) / 6.0, 209.38278323778914},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "k " << c.k << " point " << c.point);
        SetUp();
        build(c.k);
        PILEFAC.PMUL(1) = 0.5;
        PILEFAC.YMUL(1) = 2.0;
        listing(1, 0, 2);
        ASSERT_EQ(evaluate(1), 0);
        EXPECT_EQ(PYPLOT.PLTYPE, 7);
        EXPECT_TRUE(near(PYPLOT.PLY(c.point), c.y, 1e-8));
        EXPECT_TRUE(near(PYPLOT.PLP(c.point), c.p, 1e-8));
        EXPECT_EQ(text(17), " 24.0\n");  // the node's X while the print switch is 1
    }
}

TEST_F(Silt, ReportHeading) {
    // Node 2: x = 2 ft, b = 12 in, phi = 30.0, gamma' = 69.12 pcf, A = 1.48, B = 1.05, pclay = 107.52
    // (G10.3 "  108.    "), psand = 74.77 ("  74.8    ").
    build(100.0);
    listing(0, -1, 2);
    ASSERT_EQ(evaluate(1), 0);
    const std::string echo =
        "\n\n"
        "     DEPTH      DIAM      PHI  GAMMA AVG        A         B     Puc       Puf\n"
        "       FT        IN            LBS/FT**3                      LBS/IN    LBS/IN\n"
        "      2.00     12.00      30.0  69.1          1.48      1.05  108.      74.8    \n"
        "             EQ. DEPTH =    2.00 FT\n"
        "\n"
        "                                     Y                   P\n"
        "                                     IN                LBS/IN\n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 24.0\n");
}

TEST_F(Silt, LowerLayerMeasuresTheWedgeFromItsEquivalentDepth) {
    // Clay without strength above X = 48: equivalent depth 0. Node 4 (X = 72): x_e = 24, x = 72:
    // psand = 224.29701901293575, Np = 0.04 * 72 / 2 + 3 + 1 = 5.44, pclay = 130.56, A = 1.48:
    // pu = 331.95959241727104, pm = 467.00552851940364; yk = 0.19298 (k x_e = 2400) just below ym.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 48.0, {.gamma = 0.04}), uniform(7, 48.0, 600.0, SILT)});
    layOut(1);
    expectCurve(4, {{0.1, 240.0}, {0.3, 412.9871540785506}, {1.0, 331.95959241727104}});

    // A top below the depth where the sand's wedge passes its flow (164 in for b = 12): the true depth.
    SetUp();
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 168.0, {.gamma = 0.04}), uniform(7, 168.0, 600.0, SILT)});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.EQDEP(1, 2), 168.0);
}

TEST_F(Silt, IntegratedUltimateResistance) {
    // Silt down to X = 30 over clay; node 1 lies at the ground surface and is skipped, node 2 (X = 24) is
    // the last: 0.5 h (0 + pu) + (30 - 24) pu = 18 pu.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(7, 0.0, 30.0, SILT), uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), 18.0 * PU, 1e-8));

    // Head 24 in below the ground surface: the trapezoid 0.5 (3 c b + pu) (XBOT - XTOP) with the last
    // node's pu (x = 48: 213.86041715015645): 0.5 * (72 + 213.86) * 54.
    SetUp();
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, -24.0);
    soil({uniform(7, -24.0, 30.0, SILT), uniform(1, 30.0, 600.0, {.gamma = 0.04, .c = 5.0})});
    layOut(1);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), 7718.231263054224, 1e-8));
}

}  // namespace
}  // namespace kaldo::test
