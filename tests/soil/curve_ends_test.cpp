// Curve tables read at their ends: at, before and after the first and the last point, far beyond both
// and at NaN, each lookup stays inside its table and gives the value the curve means there.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/blocks.h"
#include "pile/pile.h"
#include "soil/axial/axial.h"
#include "soil/lateral/pygen.h"

namespace kaldo::test {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double HUGE_MOVE = 1e308;

double sp(float v) { return v; }

// A reading and what it must give; NaN expected means NaN.
struct Reading {
    const char* where;
    double at;
    double want;
};

void expectReading(double got, const Reading& r) {
    if (std::isnan(r.want))
        EXPECT_TRUE(std::isnan(got)) << r.where << ": " << got;
    else
        EXPECT_DOUBLE_EQ(got, r.want) << r.where;
}

// The drilled-shaft clay shape, diameter 10, tmax 2: points from (0, 0) to (1.0, 2 x 0.835). A
// movement at or before the origin mobilises nothing; beyond the tenth point the residual transfer
// holds. Before this, a movement before the origin (or NaN) read the slot before the first point.
TEST(CurveEnds, SideCurveReadsItsOwnPointsOnly) {
    TzSet s{};
    s.NPTS = 1;
    s.TZX(1) = 0.0;
    s.TZTMAX(1) = 2.0;
    TZSDSCLAY(1, 10.0, s.TZT, s.TZZ, s.TZTMAX);
    const double z2 = sp(0.001f) * 10.0, t2 = 2.0 * sp(0.51f);
    const double z10 = sp(0.1f) * 10.0, t10 = 2.0 * sp(0.835f);
    const Reading readings[] = {
        {"far before the first point", -HUGE_MOVE, 0.0},
        {"before the first point", -0.5, 0.0},
        {"at the first point", 0.0, 0.0},
        {"just after the first point", 0.5 * z2, 0.5 * t2},
        {"at the last point", z10, t10},
        {"after the last point", 1.5 * z10, t10},
        {"far after the last point", HUGE_MOVE, t10},
        {"NaN", NaN, NaN},
    };
    for (const Reading& r : readings) expectReading(curveTransfer(s, 1, r.at), r);
    for (const Reading& r : readings) expectReading(sideTransfer(s, 0.0, r.at), r);
    // Depth along the pile: above the only curve nothing, below it that curve, NaN unknown.
    EXPECT_EQ(sideTransfer(s, -1.0, z10), 0.0);
    EXPECT_DOUBLE_EQ(sideTransfer(s, 1e308, z10), t10);
    EXPECT_TRUE(std::isnan(sideTransfer(s, NaN, z10)));
}

// A tip curve from (0, 0) over (1, 10) to (2, 15) and on, flat at 15 from its ninth point: the tip
// carries nothing at or before no movement, the last segment's value beyond the last point.
TEST(CurveEnds, TipCurveReadsItsOwnPointsOnly) {
    QwTip tip{};
    for (int j = 1; j <= QWNPTS; ++j) {
        tip.QWW(j) = j - 1.0;
        tip.QWQ(j) = j == 1 ? 0.0 : j == 2 ? 10.0 : 15.0;
    }
    const Reading readings[] = {
        {"far before the first point", -HUGE_MOVE, 0.0},
        {"before the first point", -0.5, 0.0},
        {"at the first point", 0.0, 0.0},
        {"inside the first segment", 0.25, 2.5},
        {"at the last point", 9.0, 15.0},
        {"after the last point", 12.0, 15.0},
        {"far after the last point", HUGE_MOVE, 15.0},
        {"NaN", NaN, NaN},
    };
    for (const Reading& r : readings) expectReading(tipLoad(tip, r.at), r);
}

// A head curve of three points, (-1, -5), (0, 0), (2, 8): beyond either end 0, or the end's force when
// the end is kept, with the end named; NaN gives NaN and never a point of another slot.
TEST(CurveEnds, HeadCurveNamesTheEndItPasses) {
    HeadCurve c;
    c.n = 3;
    c.x = {-1.0, 0.0, 2.0};
    c.f = {-5.0, 0.0, 8.0};
    struct Case {
        double v;
        bool keep;
        double force;
        CurveReach reach;
    };
    const Case cases[] = {
        {-HUGE_MOVE, true, -5.0, CurveReach::BeforeFirst}, {-2.0, false, 0.0, CurveReach::BeforeFirst},
        {-1.0, true, -5.0, CurveReach::Inside},            {1.0, true, 4.0, CurveReach::Inside},
        {2.0, true, 8.0, CurveReach::Inside},              {3.0, true, 8.0, CurveReach::BeyondLast},
        {HUGE_MOVE, false, 0.0, CurveReach::BeyondLast},
    };
    for (const Case& k : cases) {
        const CurveRead r = readHeadCurve(c, k.v, k.keep);
        EXPECT_DOUBLE_EQ(r.force, k.force) << k.v;
        EXPECT_EQ(r.reach, k.reach) << k.v;
    }
    EXPECT_TRUE(std::isnan(readHeadCurve(c, NaN, true).force));
}

// A user p-y curve (0, 0), (1, 100), (3, 200): the first segment extended before its first point,
// flat beyond the last; a curve of one point is flat everywhere.
TEST(CurveEnds, UserPyCurveReadsItsOwnPointsOnly) {
    resetAllBlocks();
    PYUSR.PYNPT(1, 1) = 3;
    const double y[] = {0.0, 1.0, 3.0}, p[] = {0.0, 100.0, 200.0};
    for (int k = 1; k <= 3; ++k) {
        PYUSR.PYY(1, 1, k) = y[k - 1];
        PYUSR.PYP(1, 1, k) = p[k - 1];
    }
    const Reading readings[] = {
        {"before the first point", -0.5, -50.0},
        {"at the first point", 0.0, 0.0},
        {"at the last point", 3.0, 200.0},
        {"after the last point", 4.0, 200.0},
        {"far after the last point", HUGE_MOVE, 200.0},
        {"NaN", NaN, NaN},
    };
    for (const Reading& r : readings) expectReading(py::userCurveReaction(1, 1, r.at), r);
    PYUSR.PYNPT(1, 2) = 1;
    PYUSR.PYP(1, 2, 1) = 7.0;
    EXPECT_DOUBLE_EQ(py::userCurveReaction(1, 2, -1.0), 7.0);
    EXPECT_DOUBLE_EQ(py::userCurveReaction(1, 2, 1.0), 7.0);
    resetAllBlocks();
}

}  // namespace
}  // namespace kaldo::test
