// Along-pile column selection, node lines and per-pile extremes, and the summary-table pieces that do
// not need a whole writer call.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "io/units.h"
#include "model/blocks.h"
#include "model/results.h"
#include "model/runpoint.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/unitlbl.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

class Rows : public ::testing::Test {
protected:
    WorkDir dir;
    AlongPileRecord t{};

    void SetUp() override {
        io::closeAllUnits();
        resetAllBlocks();
        setUnits(1, 1);
        FILENAMES.RECORD(REC_PILESCR) = (dir / "scr.txt").string();
        for (int u : {14, 16, 18, 30}) io::unit(u).open((dir / name(u)).string(), io::Mode::Write);
        io::unit(13).open((dir / "scr.txt").string(), io::Mode::Write);
        t.fill(0.0);
    }
    void TearDown() override { io::closeAllUnits(); }

    static void setUnits(int units, int kips) {
        CTLIN.UNITS = units;
        CTLIN.KKIPS = kips;
        UNITLBL(units == 2 ? -1 : 1, kips);
        COLHEAD(3);
    }
    static std::string name(int u) { return "unit" + std::to_string(u) + ".txt"; }
    std::vector<std::string> file(int u) {
        io::closeAllUnits();
        return lines(dir.read(u == 13 ? "scr.txt" : name(u)));
    }
};

using PileRows = Rows;

std::set<int> selected(const ColFlags& f) {
    std::set<int> s;
    for (int q = 1; q <= NCOLSEL; ++q)
        if (f(q) > 0) s.insert(q);
    return s;
}

std::set<int> allBut(std::set<int> off) {
    std::set<int> s;
    for (int q = 1; q <= NCOLSEL; ++q)
        if (!off.count(q)) s.insert(q);
    return s;
}

TEST_F(PileRows, ColumnSelectionFollowsTheRunAndThePile) {
    for (int q = 1; q <= NCOLSEL; ++q) {
        LCCNT(1, 11 + q) = 1;
        LCBCNT(2, 8 + q) = 1;
        OPTENV.ENVCOLSEL(q, 1) = 1;
    }
    OPTENV.ENVCOLSEL(3, 2) = 1;
    OPTENV.ENVCOLSEL(24, 2) = 1;
    struct Case {
        const char* what;
        int e, lscrv, kaxvar, antype, curcase, curcomb;
        std::set<int> expected;
    };
    const std::set<int> axial = {1, 5, 6, 7, 8, 18};
    const Case cases[] = {
        {"load case, generated curve, axial variation", 0, -1, 1, 3, 1, 0, allBut({24, 25})},
        {"load case, user curve", 0, 2, 1, 3, 1, 0, allBut({1, 5, 6, 7, 8, 18, 24, 25})},
        {"combination without axial variation", 0, -1, 0, 3, 2, 2, allBut(axial)},
        {"combination envelope, plane", 1, -1, 1, 2, 2, 2, {24}},
        {"load-case envelope, plane", 1, -1, 1, 2, 0, 0, {1, 2, 5, 6, 9, 12, 15, 18, 19, 20, 22}},
    };
    for (const Case& c : cases) {
        RUNPOINT.CURCASE = c.curcase;
        RUNPOINT.CURCOMB = c.curcomb;
        ColFlags f;
        f.fill(7);
        COLSEL(c.e, c.lscrv, c.kaxvar, c.antype, f);
        EXPECT_EQ(selected(f), c.expected) << c.what;
    }
}

TEST_F(PileRows, NodeStepChoosesThePrintedNodes) {
    // Four increments of 12 in: the nodes lie 0 to 4 ft below the head. No column: depth only.
    ColFlags none;
    none.fill(0);
    struct Case {
        int step;
        std::vector<int> feet;
    };
    for (const Case& c : {Case{0, {0}}, Case{-1, {0}}, Case{5, {0, 4}}, Case{4, {0, 4}}, Case{3, {0, 3}},
                          Case{1, {0, 1, 2, 3, 4}}}) {
        SetUp();
        NODEWR(none, 8, c.step, 3, 12.0, t);
        std::vector<std::string> expected;
        for (int ft : c.feet) expected.push_back("       " + std::to_string(ft) + ".0000");  // a blank, then F12.4
        EXPECT_EQ(file(16), expected) << "step " << c.step;
    }
    SetUp();
    NODEWR(none, 3, 1, 3, 12.0, t);  // no node count: nothing
    EXPECT_TRUE(file(16).empty());
}

TEST_F(PileRows, PileResultsRowsShowTheirOwnColumnsUnconverted) {
    t(4, 1) = 1e-60;   // head, axial displacement: prints as zero
    t(5, 9) = 2500.0;  // node 1 moment, pounds-inch, not divided on this file
    PILEROWS(5, -1, 1, 3, 3, 10.0, t);  // a combination, one increment
    PILEROWS(5, -1, 0, 0, 2, 10.0, t);  // a plane load case without axial variation
    const auto u14 = file(14);
    ASSERT_EQ(u14.size(), 6u);
    std::string all = "        25";
    for (int q = 1; q <= 25; ++q) all += "    1";
    EXPECT_EQ(u14[0], all);
    const std::string zero = "   0.0000000    ";
    EXPECT_EQ(u14[1].substr(0, 6 + 16 * 2), "      " + zero + zero);
    EXPECT_EQ(u14[2].substr(0, 22), "         10.000000    ");
    EXPECT_EQ(u14[2].substr(6 + 16 * 9, 16), "   2500.0000    ");
    // Plane case: 2, 9, 12, 15, 19, 20, 22 remain.
    EXPECT_EQ(u14[3], "        25    0    1    0    0    0    0    0    0    1    0    0    1    0    0    1    0    0    0    1    1"
                      "    0    1    0    0    0");
    EXPECT_EQ(u14[4].size(), 6u + 16 * 8);  // depth and seven values
}

// A combination whose bending resistance factor is 0 gives demand/capacity ratios that are infinite,
// or not a number where the moment is 0 too. They reach the reports as text in their fields.
TEST_F(PileRows, ValuesThatAreNotNumbersPrintAsTextInTheirFields) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    t(4, 24) = nan;
    t(4, 25) = inf;
    t(5, 24) = -inf;
    ColFlags ratios;
    ratios.fill(0);
    ratios(24) = ratios(25) = 1;
    NODEWR(ratios, 5, 1, 3, 12.0, t);  // one increment of 12 in: nodes at 0 and 1 ft
    io::Unit& u18 = io::unit(18);
    WCOLREAL(u18, 13, 4, nan);
    WCOLREAL(u18, 13, 4, -inf);
    WCOLEOL(u18);
    EXPECT_EQ(file(16), (std::vector<std::string>{"       0.0000         NaN    Infinity",
                                                  "       1.0000   -Infinity      0.0000"}));
    EXPECT_EQ(lines(dir.read(name(18))), (std::vector<std::string>{"          NaN    -Infinity "}));
}

TEST_F(PileRows, ExtremesAlongThePileInSIUnits) {
    setUnits(2, 0);
    const double shear[5] = {0.0, 10.0, 10.0, -4.0, 3.0};
    for (int k = 0; k <= 4; ++k) {
        t(k + 4, 12) = shear[k];
        t(k + 4, 1) = 5.0;  // constant along the pile
    }
    PILEXTR(7, 8, 3, 0.5, t);
    const auto u13 = file(13);
    ASSERT_EQ(u13.size(), 4u);
    auto field = [](const std::string& l, int q) { return l.substr(11 + 14 * static_cast<std::size_t>(q - 1), 14); };
    EXPECT_EQ(u13[0].substr(0, 11), "        7  ");
    EXPECT_EQ(field(u13[0], 12), "  -0.40000E+01");
    EXPECT_EQ(field(u13[1], 12), "        1.5000");  // node 3 at 1.5 m
    EXPECT_EQ(field(u13[2], 12), "   0.10000E+02");
    EXPECT_EQ(field(u13[3], 12), "        0.5000");  // the tie at node 2 keeps node 1
    EXPECT_EQ(u13[1].substr(0, 11), "     x( M) ");
    for (int line : {0, 2}) EXPECT_EQ(field(u13[line], 1), "   0.50000E+01");
    for (int line : {1, 3}) EXPECT_EQ(field(u13[line], 1), "        0.0000");
    EXPECT_EQ(u13[0].size(), 11u + 14 * 25);
}

using SummaryTablesPieces = Rows;

TEST(SummaryTablesEnvvec, FirstPileStartsAndTiesKeepTheEarlierPile) {
    ExtremeSet x;
    Arr<double, 1, NLLPQTY> v;
    v.fill(0.0);
    v(1) = 2.0;
    v(2) = -1.0;
    ENVVEC(1, 2, v, x);
    EXPECT_EQ(x.vmin(1), 2.0);
    EXPECT_EQ(x.vmax(1), 2.0);
    EXPECT_EQ(x.pmin(1), 1);
    EXPECT_EQ(x.pmax(1), 1);
    v(1) = 2.0;  // tie: pile 1 kept
    v(2) = -3.0;
    ENVVEC(2, 2, v, x);
    EXPECT_EQ(x.pmax(1), 1);
    EXPECT_EQ(x.pmin(1), 1);
    EXPECT_EQ(x.vmin(2), -3.0);
    EXPECT_EQ(x.pmin(2), 2);
    EXPECT_EQ(x.vmax(2), -1.0);
    EXPECT_EQ(x.pmax(2), 1);
}

TEST_F(SummaryTablesPieces, NoColumnSelectedLeavesPileNumbersAndLabelsOnly) {
    // One pile's record: four pile-top lines that this table skips, then the extremes of a pile with
    // one increment.
    for (int l = 1; l <= 4; ++l) io::unit(13).line() << "          1       0.10000";
    PILEXTR(1, 5, 3, 12.0, t);
    io::unit(13).close();
    ColFlags none;
    none.fill(0);
    SUMTAB(3, 1, 1, none);
    const auto u18 = file(18);
    const auto u30 = lines(dir.read(name(30)));
    EXPECT_EQ(u18, (std::vector<std::string>{"", "       * MINIMUM VALUES AND LOCATIONS *", " ", "     PILE   ", std::string(12, ' '),
                                             std::string(12, ' '), "    ******  ", "        1  ", "     x(FT) ", "",
                                             "      Min. ", "   Pile N.   "}));
    EXPECT_EQ(u30.back(), "   Pile N.   ");
    EXPECT_EQ(u30[u30.size() - 2], "      Min. ");
}

}  // namespace
}  // namespace kaldo::test
