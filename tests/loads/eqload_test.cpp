// Equivalent loads at the cap origin.
#include <gtest/gtest.h>

#include "loads/loads.h"
#include "model/blocks.h"

namespace kaldo {
namespace {

// Case 1: a vertical load of 100 at (x 2, y 3, z 4) and a horizontal load Y of 10 at the same point,
// with own moments; scale 2. By hand: FX 100, FY 10, FZ 5; MX = 1 + 3*5 - 4*10 = -24;
// MY = 2 + 4*100 - 2*5 = 392; MZ = 3 + 2*10 - 3*100 = -277; all times 2.
void setCase1() {
    resetAllBlocks();
    LCCNT(1, 1) = 1;
    LCREAL(1, 5) = 2.0;
    const double rec[9] = {100.0, 10.0, 3.0, 5.0, 2.0, 1.0, 2.0, 3.0, 4.0};
    for (int k = 1; k <= 9; ++k) LCCL.CLOAD(1, 1, k) = rec[k - 1];
}

TEST(EquivalentLoad, ThreeDimensionalCaseAddsTheMomentOfEachForce) {
    setCase1();
    CTLIN.ANTYPE = 3;
    Vec6 v;
    EQLOADC(1, v);
    EXPECT_EQ(v, (Vec6{200.0, 20.0, 10.0, -48.0, 784.0, -554.0}));
    Vec6 v2;
    EQLOADC2(1, v2);
    EXPECT_EQ(v2, v);
}

TEST(EquivalentLoad, PlaneCaseIgnoresForceZAndMomentsXY) {
    setCase1();
    CTLIN.ANTYPE = 2;
    Vec6 v;
    EQLOADC(1, v);
    EXPECT_EQ(v, (Vec6{200.0, 20.0, 0.0, 0.0, 0.0, -554.0}));
}

TEST(EquivalentLoad, PointLoadedCaseGivesNothingAlsoInCombinations) {
    setCase1();
    CTLIN.ANTYPE = 3;
    LCCNT(2, 1) = 1;
    LCREAL(2, 5) = 1.0;
    LCCL.CLOAD(2, 1, 1) = 7.0;
    LCSD.SDFLAG(2) = 1;
    Vec6 v;
    EQLOADC(2, v);
    EXPECT_EQ(v, Vec6{});
    LCBCNT(1, 1) = 2;
    LCBLST.LCBCASE(1, 1) = 1;
    LCBLST.LCBFAC(1, 1) = 0.5;
    LCBLST.LCBCASE(1, 2) = 2;
    LCBLST.LCBFAC(1, 2) = 3.0;
    EQLOADM(1, v);
    EXPECT_EQ(v, (Vec6{100.0, 10.0, 5.0, -24.0, 392.0, -277.0}));
}

}  // namespace
}  // namespace kaldo
