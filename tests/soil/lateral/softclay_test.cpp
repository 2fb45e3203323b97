// Soft clay criteria: the static and cyclic curve on each of its branches, the three criterion codes, the
// small-deflection modulus and the default E50, in English and SI units, against values worked out by
// hand from the curve formulas.
#include <gtest/gtest.h>

#include <cmath>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// A pile of 20 ft (240 in) in 10 increments of 24 in, diameter 12 in, head at the ground surface X = 0,
// in one soft clay layer: c = 5 psi, gamma' = 0.03 pci, E50 = 0.01. At node 3 (x = 48 in):
//   Np = 0.5 * 48 / 12 + 3 + 0.03 * 48 / 5 = 5.288, pu = 5.288 * 5 * 12 = 317.28 lb/in,
//   y50 = 2.5 * 0.01 * 12 = 0.3 in, xr = 6 * 5 * 12 / (0.03 * 12 + 0.5 * 5) = 360 / 2.86.
// At node 7 (x = 144 in) Np = 6 + 3 + 0.864 > 9, so pu = 9 * 5 * 12 = 540 lb/in.
class SoftClay : public PyModel {
protected:
    static constexpr double PU = 317.28, Y50 = 0.3, PU_DEEP = 540.0;

    void build(int code, double j = 0.0, double k = 0.0, double e50 = 0.01) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(code, 0.0, 600.0, {.gamma = 0.03, .c = 5.0, .e50 = e50, .k = k, .j = j})});
        layOut(1);
    }
};

TEST_F(SoftClay, StaticCurveOnEveryBranch) {
    build(1);
    EXPECT_TRUE(near(curve(3, Y50), 0.5 * PU));                        // 0.5 pu (y / y50)^(1/3) at y50
    EXPECT_TRUE(near(curve(3, 3 * Y50), 0.5 * PU * std::cbrt(3.0), 1e-7));
    EXPECT_TRUE(near(curve(3, 8 * Y50), PU, 1e-7));                    // reaches pu at 8 y50
    EXPECT_TRUE(near(curve(3, 3.0), PU));                              // and stays there
    EXPECT_TRUE(near(curve(7, 3.0), PU_DEEP));                         // 9 c b below the transition
    // The reaction opposes the deflection: a negative deflection gets a positive reaction.
    const Spring neg = at(1, 3, -Y50);
    EXPECT_TRUE(near(neg.p, 0.5 * PU));
    EXPECT_TRUE(near(neg.Es, 0.5 * PU / Y50));
}

TEST_F(SoftClay, CyclicCurveOnEveryBranch) {
    build(1);
    CTLPAR.KSTATIC = 0;
    const double pc = s(0.72f) * PU;
    const double pr = pc * 48.0 / (360.0 / 2.86);  // falls linearly to pc x_e / xr at 15 y50
    EXPECT_TRUE(near(curve(3, Y50), 0.5 * PU));                        // the static form up to 3 y50
    EXPECT_TRUE(near(curve(3, 3 * Y50), 0.5 * PU * std::cbrt(3.0), 1e-7));
    EXPECT_TRUE(near(curve(3, 9 * Y50), 0.5 * (pc + pr)));             // halfway from 3 y50 to 15 y50
    EXPECT_TRUE(near(curve(3, 15 * Y50), pr));
    EXPECT_TRUE(near(curve(3, 10.0), pr));
    // Below the transition depth the cyclic curve stays at 0.72 pu.
    EXPECT_TRUE(near(curve(7, 9 * Y50), s(0.72f) * PU_DEEP));
    EXPECT_TRUE(near(curve(7, 10.0), s(0.72f) * PU_DEEP));
}

TEST_F(SoftClay, StaticCurveInSIUnits) {
    // 6 m pile in 10 increments, b = 0.3 m; c = 20 kPa, gamma' = 8 kN/m3, E50 = 0.02. At node 3
    // (x = 1.2 m): Np = 0.5 * 1.2 / 0.3 + 3 + 8 * 1.2 / 20 = 5.48, pu = 5.48 * 20 * 0.3 = 32.88 kN/m,
    // y50 = 2.5 * 0.02 * 0.3 = 0.015 m.
    si();
    propertySet(1, 6.0, 10, 0.3);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 15.0, {.gamma = 8.0, .c = 20.0, .e50 = 0.02})});
    layOut(1);
    EXPECT_TRUE(near(curve(3, 0.015), 16.44));
    EXPECT_TRUE(near(curve(3, 0.06), 0.5 * 32.88 * std::cbrt(4.0), 1e-7));
    EXPECT_TRUE(near(curve(3, 0.2), 32.88));
}

TEST_F(SoftClay, CodesOutsideTheTableActAsSoftClay) {
    for (int code : {0, 15, 99, 13}) {
        SCOPED_TRACE(code);
        SetUp();
        build(code, 0.5);  // code 13 with J = 0.5 is the same curve
        EXPECT_TRUE(near(curve(3, Y50), 0.5 * PU));
        EXPECT_TRUE(near(curve(3, 3.0), PU));
    }
}

TEST_F(SoftClay, UserJAndModifiedClayWithInitialModulus) {
    // J = 0.25: Np = 0.25 * 48 / 12 + 3 + 0.288 = 4.288, pu = 257.28.
    build(13, 0.25);
    EXPECT_TRUE(near(curve(3, Y50), 0.5 * 257.28));

    // Code 14 with k = 10 pci: the line k x_e y = 480 y caps the curve.
    SetUp();
    build(14, 0.25, 10.0);
    EXPECT_TRUE(near(curve(3, 0.03), 480.0 * 0.03));        // the line governs at small deflections
    EXPECT_TRUE(near(curve(3, Y50), 0.5 * 257.28));          // 128.64 < 480 * 0.3
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, 480.0));             // E0 = k x_e

    // k = 0: the stiff-clay default for c = 5 psi (below 1000 psf): 250 static, 100 cyclic.
    SetUp();
    build(14, 0.25, 0.0);
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, 250.0 * 48.0));
    EXPECT_TRUE(near(curve(3, 0.03), 0.5 * 257.28 * std::cbrt(0.1), 1e-7));
    CTLPAR.KSTATIC = 0;
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, 100.0 * 48.0));
}

TEST_F(SoftClay, SmallDeflectionModulusIgnoresTheMultipliers) {
    build(1);
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    const double E0 = 0.5 * PU * std::pow(Y50 / 1e-14, s(2.0f / 3.0f)) / Y50;
    const Spring sp = at(1, 3, 0.0);
    EXPECT_TRUE(near(sp.Es, E0));
    EXPECT_EQ(sp.p, 0.0);
    EXPECT_FALSE(std::signbit(sp.p));
}

TEST_F(SoftClay, MissingStrainTakesTheSoftClayDefault) {
    // c = 5 psi lies in the band 500 to 1000 psf: E50 = 0.010 (single precision).
    build(1, 0.0, 0.0, 0.0);
    const double y50 = 2.5 * s(0.010f) * 12.0;
    EXPECT_TRUE(near(curve(3, y50), 0.5 * PU));
}

}  // namespace
}  // namespace kaldo::test
