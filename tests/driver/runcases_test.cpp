// The analysis driver against test doubles: the order of calls and analysis points of ordinary,
// cap-flexibility and stiffness-estimation cases and of combinations, the loads handed to the group
// solution, the run parameters in effect, stops and skipped cases.
#include <gtest/gtest.h>

#include "driver/doubles.h"
#include "driver/driver.h"
#include "echo/echo.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/status.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

using V = std::vector<std::string>;

// Reads the every-section English input (two piles; case 1 with a concentrated load, case 2 loaded at
// a point, one combination of 1.2 x case 1 + 1.6 x case 2), echoes it, and readies the doubles.
class Driver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
        int status = 0;
        ECHOIN(status);
        ASSERT_EQ(status, 0);
        CTLIN.KPYOP = 0;
        CTLIN.KCRVOUT = 0;
        resetDoubles();
    }
    void TearDown() override { closeModel(); }

    int run() {
        int status = 0;
        RUNCASES(0, status);
        return status;
    }
    std::vector<Call> solves() const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.routine == "GRPSOL") out.push_back(c);
        return out;
    }

    WorkDir dir;
};

// Case 1 at the origin, by hand (inches, pounds): forces 100000, 20000, 5000 at (0, 12, 24):
// MX = 12*5000 - 24*20000 = -420000; MY = 24*100000 - 0 = 2.4e6; MZ = 0 - 12*100000 = -1.2e6.
const std::array<double, 6> kCase1{100000.0, 20000.0, 5000.0, -420000.0, 2.4e6, -1.2e6};

TEST_F(Driver, CasesThenEnvelopesThenCombinationInOrder) {
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(routines(), (V{"ENVRESET", "GRPSOL", "GRPSOL", "ENVEWR", "ENVEWR", "ENVRESET", "GRPSOL", "ENVEWR",
                             "ENVEWR"}));
    EXPECT_EQ(calls[3].args, (std::vector<double>{1, 1}));
    EXPECT_EQ(calls[4].args, (std::vector<double>{1, 2}));
    EXPECT_EQ(calls[7].args, (std::vector<double>{2, 1}));
    EXPECT_EQ(calls[8].args, (std::vector<double>{2, 2}));
    EXPECT_EQ(ENVCTL.ENVSERIES, 1);
}

TEST_F(Driver, LoadsAndRunParametersHandedToTheGroupSolution) {
    ASSERT_EQ(run(), 0);
    const std::vector<Call> s = solves();
    ASSERT_EQ(s.size(), 3u);

    // Ordinary case: kind 0, one point, its own run parameters.
    EXPECT_EQ(s[0].args[0], 0);
    EXPECT_EQ(s[0].curcase, 1);
    EXPECT_EQ(s[0].curcomb, 0);
    EXPECT_EQ(s[0].ipoint, 1);
    EXPECT_EQ(s[0].pkind, 0);
    EXPECT_EQ(s[0].P, kCase1);
    EXPECT_DOUBLE_EQ(s[0].finc, 0.1);
    EXPECT_DOUBLE_EQ(s[0].rfbend, 1.0);

    // Case 2 is loaded at a point (0, 36, 48): X load 1000, Y load 2000, rotation Z given 0.5.
    // Origin: MX = -48*2000 = -96000, MY = 48*1000 = 48000, MZ = -36*1000 = -36000.
    EXPECT_EQ(s[1].P, (std::array<double, 6>{1000.0, 2000.0, 0.0, -96000.0, 48000.0, -36000.0}));
    EXPECT_EQ(s[1].PSP, (std::array<double, 6>{1000.0, 2000.0, 0.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(s[1].USP, (std::array<double, 6>{0.0, 0.0, 0.0, 0.0, 0.0, 0.5}));
    EXPECT_EQ(s[1].KDOF, (std::array<int, 6>{1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(s[1].RSP, (std::array<double, 6>{0.0, 36.0, 48.0, 0.0, 0.0, 0.0}));
    EXPECT_DOUBLE_EQ(s[1].finc, 0.25);

    // The combination: kind 1, 1.2 x case 1 (case 2 gives nothing at the origin), no point values,
    // the combination's resistance factor.
    EXPECT_EQ(s[2].args[0], 1);
    EXPECT_EQ(s[2].curcase, 1);
    EXPECT_EQ(s[2].curcomb, 1);
    for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(s[2].P[k], 1.2 * kCase1[k]) << k;
    EXPECT_EQ(s[2].KDOF, (std::array<int, 6>{}));
    EXPECT_DOUBLE_EQ(s[2].rfbend, 0.9);
    EXPECT_EQ(s[2].kmode, 0);
}

// Cap flexibility (mode 1) with two levels: one point per degree of freedom with a load component,
// each solved at both levels, then the cap stiffness and the total load. Without force Z its degree of
// freedom is skipped.
TEST_F(Driver, CapFlexibilityCaseSolvesEachDegreeOfFreedomThenTheTotalLoad) {
    LCDEF.NLC = 1;
    LCBDEF.NCOMB = 0;
    OPTENV.ENVLC = 0;
    LCOPT(1, 2) = 1;
    LCCNT(1, 3) = 2;
    FSDDAT.FSDV(1, 1) = 0.5;
    FSDDAT.FSDV(1, 2) = 1.0;
    LCCL.CLOAD(1, 1, 4) = 0.0;  // no force Z: MX = -24*20000 = -480000
    ASSERT_EQ(run(), 0);
    V expected{"ENVRESET"};
    for (int d = 1; d <= 6; ++d) {
        expected.push_back("FLEXDOFHD");
        if (d == 3) continue;
        expected.insert(expected.end(), {"GRPSOL", "GRPSOL", "FLEXTAB"});
    }
    expected.insert(expected.end(), {"FLEXSTIF", "GRPSOL"});
    EXPECT_EQ(routines(), expected);

    const std::vector<Call> s = solves();
    ASSERT_EQ(s.size(), 11u);
    // Degree of freedom 4 (moment X) at the first level: only that component, 0.5 x -480000.
    const Call& m4 = s[4];
    EXPECT_EQ(m4.ipoint, 4);
    EXPECT_EQ(m4.iloop, 1);
    EXPECT_EQ(m4.pkind, 2);
    EXPECT_EQ(m4.P, (std::array<double, 6>{0, 0, 0, -240000.0, 0, 0}));
    // The total load last, as an ordinary analysis.
    EXPECT_EQ(s.back().ipoint, 7);
    EXPECT_EQ(s.back().pkind, 0);
    EXPECT_EQ(s.back().P, (std::array<double, 6>{100000.0, 20000.0, 0.0, -480000.0, 2.4e6, -1.2e6}));
    const Call& stif = calls[calls.size() - 2];
    EXPECT_EQ(stif.args, (std::vector<double>{0, 0, 2, 6, 6}));
}

// Stiffness estimation, long form: two levels and the control values (target deflection of Y, 5 %,
// three solutions, axial loads on). Case 2 follows in the short form: its control values must count as
// zero, not as case 1's leftovers.
TEST_F(Driver, StiffnessEstimationLongThenShortForm) {
    LCBDEF.NCOMB = 0;
    OPTENV.ENVLC = 0;
    LCOPT(1, 2) = 11;
    const double values[14] = {0.5, 1.0, 1, 2, 0, 0.4, 0, 0, 0, 0, 5.0, 3, 1, 0};
    LCCNT(1, 3) = 14;
    for (int k = 1; k <= 14; ++k) FSDDAT.FSDV(1, k) = values[k - 1];
    LCOPT(2, 2) = 11;
    LCCNT(2, 3) = 2;
    FSDDAT.FSDV(2, 1) = 0.5;
    FSDDAT.FSDV(2, 2) = 1.0;
    LCSD.SDFLAG(2) = 0;
    // The solution accepts at the second solution of each point.
    onSolve = [](int&) {
        EQSEST.EQSDCMP = 0.1 * (EQSEST.EQSNH + 1);
        if (EQSEST.EQSSTATE == 2 && EQSEST.EQSNH >= 1) EQSEST.EQSSTATE = 0;
    };
    ASSERT_EQ(run(), 0);

    std::vector<Call> hdr;
    for (const Call& c : calls)
        if (c.routine == "CAPSTFHDR") hdr.push_back(c);
    ASSERT_EQ(hdr.size(), 2u);
    EXPECT_EQ(hdr[0].args, (std::vector<double>{1, 3}));
    EXPECT_EQ(hdr[1].args, (std::vector<double>{0, 3})) << "short form: the basis counts as zero";

    // Case 1, point 1: first solution with an empty history (factor from the interpolation), then, with
    // the one recorded pair, factor 1.0; target 0.4 x 0.5 of degree of freedom 2.
    std::vector<Call> case1;
    for (const Call& c : calls)
        if (c.curcase == 1) case1.push_back(c);
    V names;
    for (const Call& c : case1) names.push_back(c.routine);
    EXPECT_EQ(names, (V{"ENVRESET", "CAPSTFHDR", "TGTFACT", "GRPSOL", "GRPSOL", "EQSTIFRD", "CAPTSTF", "GRPSOL",
                        "EQSTIFRD", "CAPTSTF", "GRPSOL"}));
    EXPECT_DOUBLE_EQ(case1[3].eqsdtgt, 0.2);
    EXPECT_EQ(case1[3].eqsact, 1);
    EXPECT_EQ(case1[3].eqsstate, 2);
    EXPECT_EQ(case1[3].eqsnh, 0);
    EXPECT_DOUBLE_EQ(case1[3].eqsfac, 0.75);
    for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(case1[3].P[k], kCase1[k] * 0.5 * 0.75) << k;
    EXPECT_EQ(case1[4].eqsnh, 1);
    EXPECT_DOUBLE_EQ(case1[4].eqsfac, 1.0);
    EXPECT_EQ(case1[4].eqsstate, 2);
    // Point 2 starts with the first pair: factor 1.0 without interpolation, accepted at once.
    EXPECT_EQ(case1[7].ipoint, 2);
    EXPECT_EQ(case1[7].eqsnh, 1);
    EXPECT_DOUBLE_EQ(case1[7].eqsfac, 1.0);
    EXPECT_EQ(case1[6].args, (std::vector<double>{1, 2, 1, 0.5}));
    // The total load last, outside the estimation.
    EXPECT_EQ(case1.back().ipoint, 3);
    EXPECT_EQ(case1.back().eqsact, 0);
    EXPECT_EQ(case1.back().P, kCase1);
}

// Two solutions that bracket the target at one displacement: the point stops iterating and keeps the
// last solution, solved once more as an accepted point (state 3, which the solution turns to 0 after its
// equivalent-stiffness pass), then its matrix.
TEST_F(Driver, TargetIterationWithoutASlopeKeepsTheLastSolution) {
    LCBDEF.NCOMB = 0;
    OPTENV.ENVLC = 0;
    LCOPT(1, 2) = 11;
    const double values[13] = {1.0, 1, 2, 0, 0.4, 0, 0, 0, 0, 1.0, 6, 0, 0};
    LCCNT(1, 3) = 13;
    for (int k = 1; k <= 13; ++k) FSDDAT.FSDV(1, k) = values[k - 1];
    LCOPT(2, 2) = 0;
    int solves = 0;
    onSolve = [&](int&) {
        ++solves;
        EQSEST.EQSDCMP = 0.0;  // the controlled displacement never moves
        if (solves == 2) flatNext = true;
        if (EQSEST.EQSSTATE == 3) EQSEST.EQSSTATE = 0;
    };
    ASSERT_EQ(run(), 0);
    std::vector<Call> case1;
    for (const Call& c : calls)
        if (c.curcase == 1) case1.push_back(c);
    V names;
    for (const Call& c : case1) names.push_back(c.routine);
    EXPECT_EQ(names, (V{"ENVRESET", "CAPSTFHDR", "TGTFACT", "GRPSOL", "GRPSOL", "TGTFACT", "GRPSOL", "EQSTIFRD",
                        "CAPTSTF", "GRPSOL"}));
    EXPECT_EQ(case1[6].eqsstate, 3) << "the kept solution is accepted as it is";
    EXPECT_EQ(case1[6].eqsact, 1);
    EXPECT_NE(dir.read("case.run").find("TWO SOLUTIONS GAVE THE SAME DISPLACEMENT"), std::string::npos);
}

// An estimation leaves nothing of its state to the ordinary case after it, even when its last point
// failed.
TEST_F(Driver, AnOrdinaryCaseAfterAnEstimationStartsWithoutItsState) {
    LCBDEF.NCOMB = 0;
    OPTENV.ENVLC = 0;
    LCOPT(1, 2) = 11;
    LCCNT(1, 3) = 1;
    FSDDAT.FSDV(1, 1) = 1.0;
    LCOPT(2, 2) = 0;
    onSolve = [](int&) {
        if (EQSEST.EQSACT == 1) EQSEST.EQSSTATE = -1;
    };
    ASSERT_EQ(run(), 0);
    const std::vector<Call> s = solves();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].eqsact, 1);
    EXPECT_EQ(s[2].curcase, 2);
    EXPECT_EQ(s[2].eqsact, 0);
    EXPECT_EQ(s[2].eqsstate, 0);
}

TEST_F(Driver, SkippedFirstCaseStillOpensTheSeries) {
    LCCNT(1, 8) = 1;
    LCBDEF.NCOMB = 0;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(routines(), (V{"ENVRESET", "GRPSOL", "ENVEWR", "ENVEWR"}));
    EXPECT_EQ(solves()[0].curcase, 2);
    closeModel();
    EXPECT_NE(dir.read("case.cst").find("     9 ANALYSIS NOT PERFORMED"), std::string::npos);
}

TEST_F(Driver, StopRequestAfterACaseEndsTheRunBeforeTheEnvelopes) {
    onSolve = [this](int&) { dir.write("case.stop", "1\n"); };
    EXPECT_EQ(run(), ST_STOPPED);
    EXPECT_EQ(routines(), (V{"ENVRESET", "GRPSOL"}));
    EXPECT_FALSE(io::unit(24).isOpen()) << "the stiffness estimation log is closed on a stop";
}

TEST_F(Driver, FailedSolutionEndsTheRunAtOnce) {
    onSolve = [](int& status) { status = 3; };
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(routines(), (V{"ENVRESET", "GRPSOL"}));
}

TEST_F(Driver, CombinationEnvelopeWithoutCombinationsIsNotWritten) {
    LCBDEF.NCOMB = 0;
    OPTENV.ENVCB = 1;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(routines(), (V{"ENVRESET", "GRPSOL", "GRPSOL", "ENVEWR", "ENVEWR"}));
    closeModel();
    EXPECT_NE(dir.read("case.run").find("NO LOAD COMBINATIONS; THE COMBINATION ENVELOPES ARE NOT WRITTEN"),
              std::string::npos);
}

TEST_F(Driver, ProgressAndCaseStatusLines) {
    ASSERT_EQ(run(), 0);
    closeModel();
    EXPECT_EQ(dir.read("case.prog"), "- ANALYSIS FOR LOAD COMB.   1/  1 FINISHED\n\n\n");
    const std::string cst = dir.read("case.cst");
    EXPECT_NE(cst.find("LOAD CASES RESULTS \nLOAD CASE :     1\n      ANALYSIS DUE TO TOTAL LOAD\n"), std::string::npos)
        << cst;
    const std::string rt = dir.read("case.run");
    EXPECT_NE(rt.find("     ANALYSIS FOR LOAD CASE   2/  2 FINISHED\n"), std::string::npos) << rt;
    EXPECT_NE(rt.find("     Serial processing :"), std::string::npos);
}

}  // namespace
}  // namespace kaldo::test
