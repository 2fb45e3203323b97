// Distributed loads at the pile nodes, values given at a point, and axial loads lumped at the heads.
#include <gtest/gtest.h>

#include <cmath>

#include "loads/loads.h"
#include "model/blocks.h"

namespace kaldo {
namespace {

constexpr double PI = 3.141592653589793;

// Five vertical piles of one property set: 40 long in 4 increments (nodes every 10). Set 1 is a
// triangle from 10 at depth 0 to 0 at depth 40; set 2 has a single point; set 3 ends at depth 15.
void setModel(int antype) {
    resetAllBlocks();
    CTLIN.ANTYPE = antype;
    PILE.NPILES = 5;
    PILESET.NINC(1) = 4;
    PILESET.PLEN(1) = 40.0;
    for (int p = 1; p <= 5; ++p) {
        PILE.PSETNO(p) = 1;
        PILE.BETA(p) = PI / 2;  // vertical
        PILE.HEADX(p) = 0.0;
        PILE.HEADY(p) = 10.0 * p;
    }
    DLS.NSETS = 3;
    DLS.NPTS(1) = 2;
    DLS.DLSDEP(1, 1) = 0.0, DLS.DLSVAL(1, 1) = 10.0;
    DLS.DLSDEP(1, 2) = 40.0, DLS.DLSVAL(1, 2) = 0.0;
    DLS.NPTS(2) = 1;
    DLS.DLSDEP(2, 1) = 0.0, DLS.DLSVAL(2, 1) = 99.0;
    DLS.NPTS(3) = 2;
    DLS.DLSDEP(3, 1) = 0.0, DLS.DLSVAL(3, 1) = 4.0;
    DLS.DLSDEP(3, 2) = 15.0, DLS.DLSVAL(3, 2) = 4.0;
    LCREAL(1, 5) = 1.0;
}

void addEntry(int c, int axis, int first, int last, int step, int sety, double fy, int setz = 0, double fz = 0.0) {
    const int e = ++LCCNT(c, 2);
    LCDL.DLAXIS(c, e) = axis;
    LCDL.DLPIL1(c, e) = first;
    LCDL.DLPIL2(c, e) = last;
    LCDL.DLPINC(c, e) = step;
    LCDL.DLSETY(c, e) = sety;
    LCDL.DLFACY(c, e) = fy;
    LCDL.DLSETZ(c, e) = setz;
    LCDL.DLFACZ(c, e) = fz;
}

std::vector<int> loadedPiles() {
    std::vector<int> out;
    for (int p = 1; p <= PILE.NPILES; ++p)
        if (WRKNODE.DLNNODE(p) > 0) out.push_back(p);
    return out;
}

TEST(DistributedLoad, PileRangesOfAnEntry) {
    struct Case {
        int first, last, step;
        std::vector<int> piles;
    };
    const Case cases[] = {
        {3, 0, 0, {3}},           // last 0: the first pile only
        {5, 1, 0, {1, 5}},        // step 0: last minus first
        {1, 5, 2, {1, 3, 5}},
        {2, 2, 0, {2}},
    };
    for (const Case& c : cases) {
        setModel(3);
        addEntry(1, 0, c.first, c.last, c.step, 1, 1.0);
        DLCASE(1);
        EXPECT_EQ(loadedPiles(), c.piles) << c.first << " " << c.last << " " << c.step;
    }
}

TEST(DistributedLoad, NodeValuesInterpolateTheSetsAndAdd) {
    setModel(3);
    LCREAL(1, 5) = 2.0;  // the case's scale factor
    addEntry(1, 0, 1, 0, 0, 1, 0.5, 3, 1.0);
    addEntry(1, 0, 1, 0, 0, 1, 1.0, 2, 1.0);  // same pile again; set 2 (one point) gives nothing
    DLCASE(1);
    EXPECT_EQ(WRKNODE.DLNNODE(1), 5);
    // Triangle at depths 0, 10, 20, 30, 40: 10, 7.5, 5, 2.5, 0; times (0.5 + 1.0) x scale 2.
    const double y[6] = {0, 30.0, 22.5, 15.0, 7.5, 0.0};
    // Set 3 is 4 down to depth 15 and 0 below it; times 1.0 x 2.
    const double z[6] = {0, 8.0, 8.0, 0.0, 0.0, 0.0};
    for (int l = 1; l <= 5; ++l) {
        EXPECT_DOUBLE_EQ(WRKNODE.DLNODEY(l, 1), y[l]) << "node " << l;
        EXPECT_DOUBLE_EQ(WRKNODE.DLNODEZ(l, 1), z[l]) << "node " << l;
        EXPECT_DOUBLE_EQ(WRKNODE.DLNDEPTH(l, 1), 10.0 * (l - 1));
    }
}

TEST(DistributedLoad, GlobalLoadsOnAVerticalPileAreLocalAndHaveNoAxialPart) {
    setModel(3);
    LCOPT(1, 7) = 1;
    addEntry(1, 1, 2, 0, 0, 1, 1.0, 1, 2.0);
    DLCASE(1);
    EXPECT_NEAR(WRKNODE.DLNODEY(2, 2), 7.5, 1e-12);
    EXPECT_NEAR(WRKNODE.DLNODEZ(2, 2), 15.0, 1e-12);
    EXPECT_NEAR(WRKNODE.PAXHEAD(2), 0.0, 1e-12);
    EXPECT_EQ(WRKNODE.DLAXFLAG, 1);
}

// A plane pile battered 30 degrees from the vertical: the global Y load splits into sin 60 across the
// pile and cos 60 along it; the axial part over the pile is the trapezoid sum of the triangle,
// 0.5 x 10 x 40 / 2 = 100 times cos 60.
TEST(DistributedLoad, PlaneGlobalLoadLumpsItsAxialPartAtTheHead) {
    setModel(2);
    PILE.BATTER(1) = PI / 6;
    PILE.HEADX(1) = 2.0;
    PILE.HEADY(1) = 3.0;
    LCOPT(1, 7) = 1;
    addEntry(1, 1, 1, 0, 0, 1, 1.0);
    DLCASE(1);
    EXPECT_NEAR(WRKNODE.DLNODEY(1, 1), 10.0 * std::sin(PI / 3), 1e-12);
    EXPECT_NEAR(WRKNODE.PAXHEAD(1), 200.0 * 0.5, 1e-9);

    Vec6 load{1.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    DLAXHEAD(load);
    // The head force P (sin 60, cos 60) at (2, 3): FX = 86.60, FY = 50, moment 2 x 50 - 3 x 86.60.
    EXPECT_NEAR(load[0], 1.0 + 100.0 * std::sin(PI / 3), 1e-9);
    EXPECT_NEAR(load[1], 50.0, 1e-9);
    EXPECT_NEAR(load[5], 2.0 * 50.0 - 3.0 * 100.0 * std::sin(PI / 3), 1e-9);
    EXPECT_DOUBLE_EQ(RUNCONST.PIWORD, PI);
}

TEST(DistributedLoad, LocalEntriesLumpNothingAndClearEmptiesEveryPile) {
    setModel(3);
    LCOPT(1, 7) = 1;
    addEntry(1, 0, 1, 5, 1, 1, 1.0);
    DLCASE(1);
    EXPECT_EQ(WRKNODE.DLAXFLAG, 0);
    Vec6 load{};
    DLAXHEAD(load);
    EXPECT_EQ(load, Vec6{});
    DLCLEAR();
    EXPECT_TRUE(loadedPiles().empty());
    EXPECT_EQ(WRKNODE.DLNODEY(2, 3), 0.0);
}

TEST(DistributedLoad, CombinationAddsEachTermWithItsFactor) {
    setModel(3);
    LCREAL(1, 5) = 2.0;
    addEntry(1, 0, 1, 0, 0, 1, 1.0);
    LCBCNT(1, 1) = 2;
    LCBLST.LCBCASE(1, 1) = 1, LCBLST.LCBFAC(1, 1) = 1.5;
    LCBLST.LCBCASE(1, 2) = 1, LCBLST.LCBFAC(1, 2) = 0.5;
    DLCOMB(1);
    EXPECT_DOUBLE_EQ(WRKNODE.DLNODEY(1, 1), 10.0 * 2.0 * (1.5 + 0.5));
}

// Values at a point (x 1, y 2, z 3), scale 2, input order X, Y, rot Z, Z, rot Y, rot X. Flags: X load
// given (100), Y displacement given (0.5, its load 7 dropped), rot Z both kept (flag 2: 0.01, 30),
// Z load 40, rot Y displacement 0.02, rot X load 50.
TEST(SpecifiedPoint, ThreeDimensionalValuesInTheSolversOrder) {
    resetAllBlocks();
    CTLIN.ANTYPE = 3;
    LCSD.SDFLAG(1) = 1;
    LCREAL(1, 5) = 2.0;
    const int flags[7] = {0, 1, 0, 2, 1, 0, 1};
    const double pairs[13] = {0, 9.0, 100.0, 0.5, 7.0, 0.01, 30.0, 3.0, 40.0, 0.02, 60.0, 4.0, 50.0};
    for (int k = 1; k <= 6; ++k) LCSD.KDOF(1, k) = flags[k];
    for (int k = 1; k <= 12; ++k) LCSD.SDV(1, k) = pairs[k];
    LCSD.SDLOC(1, 1) = 1.0, LCSD.SDLOC(1, 2) = 2.0, LCSD.SDLOC(1, 3) = 3.0;
    Vec6 load;
    SpecPoint pt;
    SPECDOF(1, load, pt);
    // Loads FX 100, FY 0, FZ 40, MX 50, MY 0, MZ 30; displacements uY 0.5, rZ 0.01, rY 0.02.
    EXPECT_EQ(pt.loads, (Vec6{200.0, 0.0, 80.0, 100.0, 0.0, 60.0}));
    EXPECT_EQ(pt.disps, (Vec6{0.0, 1.0, 0.0, 0.0, 0.04, 0.02}));
    EXPECT_EQ(pt.kdof, (std::array<int, 6>{1, 0, 1, 1, 0, 2}));
    EXPECT_EQ(pt.coords, (Vec6{1.0, 2.0, 3.0, 0.0, 0.0, 0.0}));
    // Origin: MX = 50 + 2*40 - 3*0 = 130; MY = 0 + 3*100 - 1*40 = 260; MZ = 30 + 1*0 - 2*100 = -170.
    EXPECT_EQ(load, (Vec6{200.0, 0.0, 80.0, 260.0, 520.0, -340.0}));
}

TEST(SpecifiedPoint, PlaneValuesAndACaseWithoutThem) {
    resetAllBlocks();
    CTLIN.ANTYPE = 2;
    LCSD.SDFLAG(1) = 1;
    LCREAL(1, 5) = 1.0;
    LCSD.KDOF(1, 1) = 1, LCSD.SDV(1, 2) = 10.0;   // X load
    LCSD.KDOF(1, 2) = 1, LCSD.SDV(1, 4) = 5.0;    // Y load
    LCSD.KDOF(1, 3) = 0, LCSD.SDV(1, 5) = 0.003;  // rotation Z given
    LCSD.SDLOC(1, 1) = 2.0, LCSD.SDLOC(1, 2) = 1.0;
    Vec6 load;
    SpecPoint pt;
    SPECDOF(1, load, pt);
    EXPECT_EQ(pt.loads, (Vec6{10.0, 5.0, 0.0, 0.0, 0.0, 0.0}));
    EXPECT_DOUBLE_EQ(pt.disps[5], 0.003);
    EXPECT_EQ(pt.kdof[5], 0);
    EXPECT_EQ(load, (Vec6{10.0, 5.0, 0.0, 0.0, 0.0, 2.0 * 5.0 - 1.0 * 10.0}));

    LCSD.SDFLAG(2) = 0;
    pt.kdof = {7, 7, 7, 7, 7, 7};
    SPECDOF(2, load, pt);
    EXPECT_EQ(load, Vec6{});
    EXPECT_EQ(pt.kdof[0], 7) << "flags are left as they were";
}

}  // namespace
}  // namespace kaldo
