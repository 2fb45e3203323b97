// Liquefied sand (code 11): the power law in kN/m of the deflection in millimetres with its caps (150 mm,
// 15 kN/m, half the diameter) and the diameter factor, in SI and converted in English units; the secant
// at zero deflection, no cap-level value, the trapezoid sum of the layer's resistance, the default points
// and the report heading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "io/format.h"
#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// The published law at depth z (metres) below the ground surface: q(ymm) = A (B ymm)^C kN/m with
// zm = z + 1, A = 3e-7 zm^6.05, B = 2.80 zm^0.11, C = 2.85 zm^-0.41 (single-precision constants). At
// z = 1.2 m: A = 3.538e-5, B = 3.054, C = 2.063, q(150) = 10.91 < 15, q(250) = 31.28; at z = 3.0 m:
// q(150) = 28.9, so the cap 15 governs there.
struct Law {
    double A, B, C;
    explicit Law(double z) {
        const double zm = z + 1.0;
        A = s(3e-7f) * std::pow(zm, s(6.05f));
        B = s(2.80f) * std::pow(zm, s(0.11f));
        C = s(2.85f) * std::pow(zm, -s(0.41f));
    }
    double q(double ymm) const { return A * std::pow(B * ymm, C); }
    // The smaller of 150 mm and the deflection at which q reaches 15, in metres.
    double ymax() const { return std::min(150.0, std::pow(15.0 / A, 1.0 / C) / B) / 1000.0; }
};
// The diameter factor of a diameter in metres.
double Pd(double bm) { return bm < s(0.3f) ? bm / s(0.3f) : s(3.81f) * std::log(bm) + s(5.6f); }

// SI: a pile of 6 m in 10 increments of 0.6 m, b = 0.5 m, its head 0.6 m below the ground surface
// (X = -0.6), so node j lies at the depth z = 0.6 j. Liquefied sand from the ground surface.
class LiquefiedSand : public PyModel {
protected:
    void build(double b = 0.5, double bottom = 15.0) {
        si();
        propertySet(1, 6.0, 10, b);
        pile(1, 1, 0.0, -0.6);
        if (bottom < 15.0)
            soil({uniform(11, -0.6, bottom, {.gamma = 8.0, .c = 10.0}),
                  uniform(12, bottom, 15.0, {.gamma = 8.0, .c = 10.0, .k = 1000.0})});
        else
            soil({uniform(11, -0.6, 15.0, {.gamma = 8.0, .c = 10.0})});
        layOut(1);
    }
};

TEST_F(LiquefiedSand, CurveAndItsCapsInSIUnits) {
    build();
    const double pd = Pd(0.5);  // 3.81 ln 0.5 + 5.6 = 2.959
    // Node 2, z = 1.2 m: pu = Pd q(150), 150 mm governing (half the diameter is 250 mm).
    const Law z12(1.2);
    const double pu = pd * z12.q(150.0);
    struct Case {
        double y, p;
    };
    const Case shallow[] = {{0.01, pd * z12.q(10.0)}, {0.05, pd * z12.q(50.0)}, {0.15, pu}, {0.3, pu}};
    for (const Case& c : shallow) EXPECT_TRUE(near(curve(2, c.y), c.p, 1e-12)) << "z = 1.2, y = " << c.y;
    // Node 5, z = 3.0 m: the law passes 15 kN/m before 150 mm (at about 99.9 mm).
    const Law z30(3.0);
    const Case deep[] = {{0.05, pd * z30.q(50.0)}, {0.2, pd * 15.0}};
    for (const Case& c : deep) EXPECT_TRUE(near(curve(5, c.y), c.p, 1e-12)) << "z = 3.0, y = " << c.y;
    EXPECT_TRUE(near(z30.ymax(), 0.0998576, 1e-5));
}

TEST_F(LiquefiedSand, SmallDiameterCappedAtHalfItsDiameter) {
    // b = 0.2 m: Pd = 0.2 / 0.3, and the law stops growing at 100 mm.
    build(0.2);
    const Law z12(1.2);
    const double pd = 0.2 / s(0.3f);
    EXPECT_TRUE(near(curve(2, 0.05), pd * z12.q(50.0), 1e-12));
    EXPECT_TRUE(near(curve(2, 0.15), pd * z12.q(100.0), 1e-12));
}

TEST_F(LiquefiedSand, ZeroDeflectionTakesTheSecantAtTheFirstDefaultPoint) {
    // y1 = 0.0001 ymax = 0.0001 * 0.15 m at z = 1.2 m; the secant and the reaction carry the multipliers.
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    const double y1 = s(0.0001f) * 0.15;
    const double pc = Pd(0.5) * Law(1.2).q(1000.0 * y1);
    const Spring sp = at(1, 2, 0.0);
    EXPECT_TRUE(near(sp.Es, 0.5 * pc / y1 / 2.0, 1e-12));
    EXPECT_TRUE(near(sp.p, 0.5 * pc, 1e-12));
    EXPECT_GT(sp.p, 0.0);
}

TEST_F(LiquefiedSand, NoCapLevelValueAndTrapezoidResistance) {
    // Liquefied sand down to X = 2.1 m over an elastic subgrade: its nodes 1 to 4 (z = 0.6 to 2.4 m).
    build(0.5, 2.1);
    CTLIN.CAPOPT = 1;
    CAPIN.CAPTX = 0.5;
    CAPIN.CAPWZ = 3.0;
    PYDRV.PCAPLV(1) = 777.0;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.PCAPLV(1), 777.0);
    // pu at z = 0.6 j: Pd min(q(150), 15, q(250)); trapezoids of 0.6 m between the nodes, nothing at the
    // first node (no start value for a head below the ground surface), and the last node's pu over the
    // 0.3 m of the layer below it.
    double pu[5];
    for (int j = 1; j <= 4; ++j) {
        const Law law(0.6 * j);
        pu[j] = Pd(0.5) * std::min({law.q(150.0), 15.0, law.q(250.0)});
    }
    const double S = 0.6 * (0.5 * (pu[1] + pu[2]) + 0.5 * (pu[2] + pu[3]) + 0.5 * (pu[3] + pu[4])) + 0.3 * pu[4];
    EXPECT_TRUE(near(PYDRV.PUINT(1, 1), S, 1e-12));
}

// English: b = 20 in (0.508 m), head at the ground surface, node 3 at 48 in (z = 1.2192 m). Depth,
// diameter and deflection go to metres and millimetres, the law's kN/m to lb/in (times 5.7143).
class LiquefiedSandEnglish : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        propertySet(1, 240.0, 10, 20.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(11, 0.0, 600.0, {.gamma = 0.03, .c = 1.0})});
        layOut(1);
    }
    const double fE = s(5.7143f);
    const double pd = Pd(s(0.0254f) * 20.0);
    const Law law{s(0.0254f) * 48.0};

    void listing(int fileMode, int points) {
        CTLIN.KPYOP = 1;
        PYMODE.PYPRTMODE = 1;
        PYMODE.PYFILEMODE = fileMode;
        PYMODE.NPYPT = points;
        PYMODE.PYPRTREQ = 1;
        PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    }
};

TEST_F(LiquefiedSandEnglish, CurveInPoundsPerInch) {
    // y = 1 in = 25.4 mm: on the law; y = 10 in = 254 mm: past 150 mm, and half the diameter is 254 mm.
    EXPECT_TRUE(near(-at(1, 3, 1.0).p, fE * pd * law.q(s(25.4f)), 1e-12));
    const double pu = fE * pd * std::min({law.q(150.0), 15.0, law.q(s(12.7f) * 20.0)});
    EXPECT_TRUE(near(-at(1, 3, 10.0).p, pu, 1e-12));
}

TEST_F(LiquefiedSandEnglish, DefaultPointsInInches) {
    listing(1, 0);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 11);
    // Fractions 0.0001 to 1.1 of ymax, from metres to inches (times 1000 / 25.4).
    const double ymaxIn = law.ymax() * 1000.0 / s(25.4f);
    EXPECT_TRUE(near(PYPLOT.PLY(1), s(0.0001f) * ymaxIn));
    EXPECT_TRUE(near(PYPLOT.PLY(16), ymaxIn));
    EXPECT_TRUE(near(PYPLOT.PLY(17), s(1.1f) * ymaxIn));
    EXPECT_TRUE(near(PYPLOT.PLP(16), fE * pd * std::min({law.q(150.0), 15.0, law.q(1000.0 * law.ymax())}), 1e-9));
}

TEST_F(LiquefiedSandEnglish, ReportHeadingAndAListedZeroDeflection) {
    listing(0, 1);
    PYPRT.PYPRTDEF(1, 1) = 0.0;
    ASSERT_EQ(evaluate(1), 0);
    const double pu = fE * pd * std::min({law.q(150.0), 15.0, law.q(s(12.7f) * 20.0)});
    const std::string echo = "\n"
                             "         Depth below ground surface       =        4.000 FT\n"
                             "         Diameter                         =       20.000 IN\n"
                             "         Gamma Avg                        =     51.84000 LBS/FT**3\n"
                             "         Pu                               = " +
                             io::fmtF(12, 3, pu) +
                             " LBS/IN\n"
                             "                                   y, IN            p, LBS/IN\n"
                             "                              ------------       -------------\n"
                             "                                  0.00000             0.00000 \n";
    EXPECT_EQ(text(32), echo);
    EXPECT_EQ(text(17), " 48.0\n             0.00000000E+00      0.00000000E+00\n");
}

}  // namespace
}  // namespace kaldo::test
