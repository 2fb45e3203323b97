// The plane group solution on a row of identical vertical piles on the elastic subgrade with straight
// load-settlement curves, held against hand statics of the rigid cap: a central vertical load shared
// equally, a moment carried by the lever arms, a single fixed-head pile under a cap free to turn as the
// beam on an elastic foundation with a free head, and the same row as a three-dimensional model. Then
// the failures: a singular stiffness, piles without closure, and the branches not built yet.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "group/groupmodel.h"
#include "model/blocks.h"
#include "report/report.h"
#include "services/pending.h"
#include "services/unitlbl.h"

namespace kaldo::test {
namespace {

constexpr double AXIAL_K = 50.0;  // lb/in, the slope of the straight load-settlement curve

class PlaneGroupSolution : public GroupModel {
protected:
    void SetUp() override {
        GroupModel::SetUp();
        for (int unit : {13, 14, 18, 19, 23, 26, 30}) open(unit, "u" + std::to_string(unit));
        FILENAMES.RECORD(REC_AXWARN) = (dir / "r.axw").string();
        FILENAMES.RECORD(REC_PROGRESS) = (dir / "r.prog").string();
        FILENAMES.RECORD(REC_STOP) = (dir / "r.stop").string();
        FILENAMES.RECORD(REC_PILESCR) = (dir / "r.scr").string();
        CTLIN.ANTYPE = 2;
        CTLPAR.TOLCAP = 1e-7;
        CTLPAR.FINC = 1.0;
        CTLPAR.FINCMIN = 0.01;
        CTLPAR.MAXITG = 20;
        CTLPAR.KPRINT = 0;
        RUNPOINT.CURCASE = 1;
        LCDEF.NLC = 1;
        RUNPOINT.NPOINT = RUNPOINT.IPOINT = RUNPOINT.ILOOP = 1;
        ENVCTL.ENVSERIES = 1;
        elasticGround(100);
        axialCurve(AXIAL_K, AXIAL_K);
        torsionCurve(4000.0, 4000.0);
    }
    // A row of piles at the given Y, heads coded code; in the plane (HEADYW, BATTER 0).
    void row(std::initializer_list<double> ys, int code) {
        int i = 0;
        for (double y : ys) {
            ++i;
            groupPile(i, 1, 0.0, y, 0.0, code);
            PILE.HEADYW(i) = y;
            PILE.BATTER(i) = 0.0;
        }
        PILE.NPILES = i;
        prepareNodeTables();
    }
    void solve2D(Vec6 P) {
        status = 0;
        Vec6 POUT{}, UOUT{}, PSP{}, USP{}, RSP{};
        Flags6 KDOF{};
        int work = 0;
        GRPSOL2D(0, work, status, POUT, UOUT, P, PSP, USP, RSP, KDOF);
        EXPECT_EQ(RUNSTATE.RUNPASS, 0);
    }
    // A load case with values given at a point.
    void solve2DAtPoint(Vec6 P, Vec6 PSP, Vec6 USP, Vec6 RSP, Flags6 KDOF) {
        LCSD.SDFLAG(1) = 1;
        status = 0;
        Vec6 POUT{}, UOUT{};
        int work = 0;
        GRPSOL2D(0, work, status, POUT, UOUT, P, PSP, USP, RSP, KDOF);
        EXPECT_EQ(RUNSTATE.RUNPASS, 0);
    }
    // The cap displacement as Table L writes it on the pile results file.
    Vec6 reported(int values) {
        const std::string t = text(14);
        const auto at = t.rfind("* DISPLACEMENT OF PILE CAP AT ORIGIN *");
        EXPECT_NE(at, std::string::npos);
        std::istringstream in(t.substr(at + 39));
        Vec6 u{};
        for (int k = 0; k < values; ++k) in >> u[static_cast<std::size_t>(k)];
        return u;
    }
    static double axial(int p) { return RESCUR.RESCURTOP(p, 17); }

    int status = 0;
};

TEST_F(PlaneGroupSolution, RowUnderACentralVerticalLoadSharesItEqually) {
    row({-60.0, 0.0, 60.0}, 1);
    const double V = 300.0;
    solve2D({V, 0, 0, 0, 0, 0});
    ASSERT_EQ(status, 0);
    const Vec6 u = reported(3);
    EXPECT_NEAR(u[0], V / (3 * AXIAL_K), 1e-6 * V / (3 * AXIAL_K));
    EXPECT_NEAR(u[1], 0.0, 1e-9);
    EXPECT_NEAR(u[2], 0.0, 1e-11);
    for (int p = 1; p <= 3; ++p) EXPECT_NEAR(axial(p), V / 3, 1e-5 * V) << "pile " << p;
    EXPECT_EQ(text(19), "    1 ANALYSIS COMPLETED\n");
    EXPECT_NE(text(10).find("NUMBER OF GLOBAL ITERATIONS =    2"), std::string::npos) << text(10);
    // The stiffness of the first iteration and the vectors go to the iteration log.
    EXPECT_NE(text(26).find("SS  1"), std::string::npos);
    EXPECT_NE(text(26).find("DDV  "), std::string::npos);
}

TEST_F(PlaneGroupSolution, PinnedHeadsUnderAMomentFollowTheLeverArms) {
    const double y[] = {-60.0, 0.0, 90.0};
    row({y[0], y[1], y[2]}, 1);
    const double V = 300.0, M = 4000.0;
    solve2D({V, 0, M, 0, 0, 0});
    ASSERT_EQ(status, 0);
    // The pile row's centroid lies off the origin: the hand solution of the two equations of the rigid
    // cap on axial springs, P_i = k (u - y_i theta), sum P_i = V, -sum y_i P_i = M.
    double s1 = 0.0, s2 = 0.0;
    for (double yi : y) {
        s1 += yi;
        s2 += yi * yi;
    }
    const double n = 3.0;
    // k (n u - s1 theta) = V; k (-s1 u + s2 theta) = M
    const double det = n * s2 - s1 * s1;
    const double uu = (V * s2 + M * s1) / (AXIAL_K * det);
    const double th = (n * M + s1 * V) / (AXIAL_K * det);
    const Vec6 u = reported(3);
    EXPECT_NEAR(u[0], uu, 1e-5 * std::fabs(uu));
    EXPECT_NEAR(u[2], th, 1e-5 * std::fabs(th));
    for (int p = 1; p <= 3; ++p) {
        const double expect = AXIAL_K * (uu - y[p - 1] * th);
        EXPECT_NEAR(axial(p), expect, 1e-4 * V) << "pile " << p;
    }
}

TEST_F(PlaneGroupSolution, SymmetricRowUnderAMomentGivesVOverNPlusMinusMyOverSumY2) {
    const double y[] = {-60.0, 0.0, 60.0};
    row({y[0], y[1], y[2]}, 1);
    const double V = 300.0, M = 4000.0, sumY2 = 2 * 60.0 * 60.0;
    solve2D({V, 0, M, 0, 0, 0});
    ASSERT_EQ(status, 0);
    // A positive moment about Z lifts the +Y side.
    for (int p = 1; p <= 3; ++p) EXPECT_NEAR(axial(p), V / 3 - M * y[p - 1] / sumY2, 1e-4 * V) << "pile " << p;
    EXPECT_NEAR(reported(3)[2], M / (AXIAL_K * sumY2), 1e-5 * M / (AXIAL_K * sumY2));
}

TEST_F(PlaneGroupSolution, SingleFixedHeadPileUnderACapFreeToTurnIsAFreeHead) {
    row({0.0}, 2);
    const double H = 2000.0, b = pileBeta(), tol = std::pow(b * PL / 100, 2);
    solve2D({0, H, 0, 0, 0, 0});
    ASSERT_EQ(status, 0);
    const Vec6 u = reported(3);
    EXPECT_NEAR(u[1], 2 * H * b / PES, tol * 2 * H * b / PES);
    EXPECT_NEAR(std::fabs(u[2]), 2 * H * b * b / PES, tol * 2 * H * b * b / PES);
    // The cap turns with the head: no moment is left at the head.
    EXPECT_NEAR(RESCUR.RESCURTOP(1, 19), 0.0, 1e-4 * H * PL);
    EXPECT_NEAR(RESCUR.RESCURTOP(1, 18), H, 1e-5 * H);
}

TEST_F(PlaneGroupSolution, PlaneAndThreeDimensionalModelsOfARowAgree) {
    // The same row of fixed-head piles under a load in the plane. The solutions differ only in their
    // difference steps and Newton paths; both converge to TOLCAP, so the cap displacements and pile
    // forces agree to about 1e-6 of their size.
    const double y[] = {-60.0, 0.0, 60.0};
    const Vec6 load{300.0, 1500.0, 20000.0, 0, 0, 0};
    row({y[0], y[1], y[2]}, 2);
    solve2D(load);
    ASSERT_EQ(status, 0);
    const Vec6 plane = reported(3);
    double planeAxial[3], planeShear[3], planeMoment[3];
    for (int p = 1; p <= 3; ++p) {
        planeAxial[p - 1] = RESCUR.RESCURTOP(p, 17);
        planeShear[p - 1] = RESCUR.RESCURTOP(p, 18);
        planeMoment[p - 1] = RESCUR.RESCURTOP(p, 19);
    }

    TearDown();
    SetUp();
    CTLIN.ANTYPE = 1;
    row({y[0], y[1], y[2]}, 2);
    Vec6 P{load[0], load[1], 0.0, 0.0, 0.0, load[2]}, POUT{}, UOUT{}, PSP{}, USP{}, RSP{};
    Flags6 KDOF{};
    int work = 0;
    status = 0;
    GRPSOL(0, work, status, POUT, UOUT, P, PSP, USP, RSP, KDOF);
    ASSERT_EQ(status, 0);
    const Vec6 space = reported(6);
    EXPECT_NEAR(plane[0], space[0], 1e-6 * std::fabs(space[0]));
    EXPECT_NEAR(plane[1], space[1], 1e-6 * std::fabs(space[1]));
    EXPECT_NEAR(plane[2], space[5], 1e-6 * std::fabs(space[5]));
    for (int p = 1; p <= 3; ++p) {
        SCOPED_TRACE(p);
        EXPECT_NEAR(planeAxial[p - 1], RESCUR.RESCURTOP(p, 20), 1e-6 * load[0]);
        EXPECT_NEAR(planeShear[p - 1], RESCUR.RESCURTOP(p, 21), 1e-6 * load[1]);
        EXPECT_NEAR(planeMoment[p - 1], RESCUR.RESCURTOP(p, 25), 1e-6 * load[2]);
    }
}

TEST_F(PlaneGroupSolution, SofteningPilesGiveAPartialResultAtTheLastConvergedLevel) {
    // Each pile takes 50 lb/in up to 1 in, then 5 lb/in: the row of four 200 lb/in, then 20. Total load
    // 300, steps of 0.5, one iteration past the first allowed. 0.5 (150 lb, 0.75 in) converges on the
    // steep branch; 1.0 and 0.75 cross the kink and fail; 0.625 (187.5 lb, 0.9375 in) converges; 0.75
    // fails again, and the halved 0.0625 is below the minimum of 0.1.
    TZCRV.TZNPT(1) = 5;
    const double w[] = {-2.0, -1e-6, 0.0, 1.0, 40.0}, F[] = {-100.0, -5e-5, 0.0, 50.0, 245.0};
    for (int k = 1; k <= 5; ++k) {
        TZCRV.TZW(1, k) = w[k - 1];
        TZCRV.TZF(1, k) = F[k - 1];
    }
    row({-90.0, -30.0, 30.0, 90.0}, 1);
    CTLPAR.TOLCAP = 1e-4;
    CTLPAR.FINC = 0.5;
    CTLPAR.FINCMIN = 0.1;
    CTLPAR.MAXITG = 1;
    solve2D({300.0, 0, 0, 0, 0, 0});
    EXPECT_EQ(status, 0);
    EXPECT_NEAR(reported(3)[0], 187.5 / 200.0, 1e-6);
    // The reported load is that of the last converged level.
    {
        const std::string t = text(14);
        const auto at = t.rfind("* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *");
        ASSERT_NE(at, std::string::npos);
        std::istringstream in(t.substr(at + 43));
        double load = 0.0;
        in >> load;
        EXPECT_NEAR(load, 187.5, 1e-9);
    }
    EXPECT_EQ(text(19), "    2 SOLUTION AT    62.50 % OF THE TOTAL LOAD\n");
    for (int unit : {16, 18}) {
        EXPECT_NE(text(unit).find("  RESULTS ARE FOR    62.50% OF THE TOTAL LOAD"), std::string::npos) << unit;
    }
    for (int p = 1; p <= 4; ++p) EXPECT_NEAR(axial(p), 187.5 / 4, 1e-6) << "pile " << p;
}

TEST_F(PlaneGroupSolution, SingularStiffnessEndsTheCaseWithItsCode) {
    // No axial stiffness at all: the vertical row of the stiffness is empty.
    axialCurve(0.0, 0.0);
    row({-60.0, 60.0}, 1);
    solve2D({300.0, 0, 0, 0, 0, 0});
    EXPECT_EQ(status, 0);
    EXPECT_NE(text(16).find("DETERMINANT OF STIFFNESS MATRIX IS ZERO"), std::string::npos);
    EXPECT_EQ(text(19), "    7 SINGULAR STIFFNESS MATRIX \n");
}

TEST_F(PlaneGroupSolution, PilesWithoutClosureFailTheCase) {
    row({-60.0, 60.0}, 1);
    CTLPAR.MAXITP = 1;
    solve2D({0, 500.0, 0, 0, 0, 0});
    EXPECT_EQ(status, 0);
    EXPECT_NE(text(10).find("NO CLOSURE OF A LLP"), std::string::npos);
    EXPECT_EQ(text(19), "    6 NO CONVERGENCE ON PILES   \n");
}

// ---- Values given at a point ------------------------------------------------------------------
// Two pinned piles at Y = -60 and 60 in: vertical stiffness 2 x 50 = 100 lb/in, rotation about Z
// 2 x 50 x 60^2 = 360000 lb-in/rad.

TEST_F(PlaneGroupSolution, AGivenSettlementOverOnePileLoadsThatPileAlone) {
    // 0.2 in given downward at (0, 60), over pile 2, the horizontal and rotation loads 0. A force V there
    // settles the cap by V / 100 and turns it by -60 V / 360000; the point settles V / 100 + 60^2 V /
    // 360000 = V / 50, so V = 10 lb: pile 2 takes it all and pile 1 does not move. At the origin the
    // load is (10 lb, 0, -600 lb-in).
    UNITLBL(1, 0);
    row({-60.0, 60.0}, 1);
    solve2DAtPoint({0, 0, 0, 0, 0, 0}, {}, {0.2, 0, 0, 0, 0, 0}, {0.0, 60.0, 0, 0, 0, 0}, {0, 1, 1, 0, 0, 0});
    ASSERT_EQ(status, 0);
    EXPECT_EQ(text(19), "    1 ANALYSIS COMPLETED\n");
    const Vec6 u = reported(3);
    EXPECT_NEAR(u[0], 0.1, 1e-9);
    EXPECT_NEAR(u[1], 0.0, 1e-9);
    EXPECT_NEAR(u[2], -600.0 / 360000.0, 1e-10);
    EXPECT_NEAR(axial(1), 0.0, 1e-6);
    EXPECT_NEAR(axial(2), 10.0, 1e-6);
    const std::vector<double> load = rowsAfter(text(14), "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *", 3);
    ASSERT_EQ(load.size(), 3u);
    EXPECT_NEAR(load[0], 10.0, 1e-5);
    EXPECT_NEAR(load[1], 0.0, 1e-5);
    EXPECT_NEAR(load[2], -600.0, 1e-3);
    // The point tables in both files, with markers in both: the point has moved 0.2 in down and not
    // sideways, and carries 10 lb and no moment.
    for (int unit : {16, 18}) {
        SCOPED_TRACE(unit);
        const std::vector<double> at = rowsAfter(text(unit), "* POINT OF DEFINITION DISPLACEMENT/LOADS *", 2);
        const std::vector<double> loads = rowsAfter(text(unit), "* CONCENTRATED LOAD AT SPECIFIED POINT *", 3);
        const std::vector<double> moved = rowsAfter(text(unit), "FOUNDATION AT SPECIFIED POINT *", 3);
        ASSERT_EQ(at.size(), 2u);
        ASSERT_EQ(loads.size(), 3u);
        ASSERT_EQ(moved.size(), 3u);
        EXPECT_EQ(at[0], 0.0);
        EXPECT_EQ(at[1], 5.0) << "60 in in feet";
        EXPECT_NEAR(loads[0], 10.0, 1e-4);
        EXPECT_NEAR(loads[1], 0.0, 1e-9);
        EXPECT_NEAR(loads[2], 0.0, 1e-9);
        EXPECT_NEAR(moved[0], 0.2, 1e-9);
        EXPECT_NEAR(moved[1], 0.0, 1e-9);
        EXPECT_NEAR(moved[2], -600.0 / 360000.0, 1e-8);
        const std::string t = text(unit);
        EXPECT_NE(t.find("\n             VERT. LOAD, LBS    HORI. LOAD, LBS*   MOMENT,LBS-IN*\n"), std::string::npos) << t;
        EXPECT_NE(t.find("\n                VERTICAL,IN*     HORIZONTAL,IN     ROTATION,RAD \n"), std::string::npos) << t;
    }
    // The log: the bordered rows and the six unknowns of each iteration.
    EXPECT_NE(text(26).find("\nSE  6"), std::string::npos);
    EXPECT_NE(text(26).find("\nDUV  "), std::string::npos);
}

TEST_F(PlaneGroupSolution, LoadsGivenAtAPointSolveAsTheSameLoadAtTheOrigin) {
    // Every component given as a load at (10, 30): the cap moves as under the load moved to the origin.
    const double x = 10.0, y = 30.0;
    const Vec6 PSP{300.0, 500.0, 2000.0, 0, 0, 0};
    const Vec6 origin{PSP[0], PSP[1], PSP[2] + x * PSP[1] - y * PSP[0], 0, 0, 0};
    row({-60.0, 0.0, 60.0}, 2);
    solve2D(origin);
    ASSERT_EQ(status, 0);
    const Vec6 plain = reported(3);
    TearDown();
    SetUp();
    row({-60.0, 0.0, 60.0}, 2);
    solve2DAtPoint(origin, PSP, {}, {x, y, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0});
    ASSERT_EQ(status, 0);
    const Vec6 bordered = reported(3);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(bordered[i], plain[i], 1e-7 * std::fabs(plain[i])) << i;
    const std::vector<double> loads = rowsAfter(text(16), "* CONCENTRATED LOAD AT SPECIFIED POINT *", 3);
    ASSERT_EQ(loads.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(loads[i], PSP[i], 1e-9) << i;

    // Fixed heads couple the sway and the turn by far more than half the sway stiffness (the head of a
    // long pile: 1 / (2 beta), some 40 in, of it). The first iteration solves with that coupling cut to
    // half the sway's diagonal, in both places; the second with the stiffness as it is.
    const std::string log = text(26);
    auto rowOf = [&](const std::string& label, int occurrence) {
        std::size_t at = 0;
        for (int k = 0; k < occurrence; ++k) at = log.find("\n" + label, at + 1);
        std::istringstream in(log.substr(at + 1 + label.size(), log.find('\n', at + 1) - at - 1 - label.size()));
        std::vector<double> v;
        for (double d; in >> d;) v.push_back(d);
        return v;
    };
    const std::vector<double> k2 = rowOf("SS  2", 1), k3 = rowOf("SS  3", 1);
    const std::vector<double> a2 = rowOf("SE  2", 1), a3 = rowOf("SE  3", 1);
    ASSERT_EQ(k2.size(), 3u);
    ASSERT_EQ(a2.size(), 6u);
    ASSERT_EQ(a3.size(), 6u);
    EXPECT_GT(std::fabs(k2[2]), 10.0 * k2[1]) << "the coupling of fixed heads";
    EXPECT_NEAR(a2[2], std::copysign(0.5 * a2[1], k2[2]), 1e-9 * a2[1]);
    EXPECT_EQ(a3[1], a2[2]);
    EXPECT_EQ(a3[2], k3[2]) << "the turn's diagonal stays";
    const std::vector<double> later2 = rowOf("SS  2", 2), laterA2 = rowOf("SE  2", 2);
    ASSERT_EQ(laterA2.size(), 6u);
    EXPECT_EQ(laterA2[2], later2[2]) << "no cut after the first iteration";
}

// An embedded cap with passive resistance: two fixed-head piles in soft clay whose surface lies 24 in
// above the heads, under a cap 36 in thick. The pressure is a triangle from the ground down to the heads,
// its resultant 8 in above them; it takes part of the horizontal load, the piles the rest, and the forces
// balance the load (no equilibrium warning).
TEST_F(PlaneGroupSolution, EmbeddedCapTakesItsPassiveShare) {
    soil({uniform(1, -24.0, 1000.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.02, .j = 0.5})});
    row({-60.0, 60.0}, 2);
    for (int i = 1; i <= 2; ++i) PILE.GROUND(i) = -24.0;
    CTLIN.CAPOPT = 1;
    CAPIN.CAPTX = 36.0;
    CAPIN.CAPWZ = 120.0;
    const double H = 4000.0;
    solve2D({300.0, H, 0, 0, 0, 0});
    ASSERT_EQ(status, 0);
    EXPECT_EQ(text(19), "    1 ANALYSIS COMPLETED\n");
    EXPECT_EQ(text(16).find("DO NOT BALANCE"), std::string::npos) << text(16);
    // The table on the pile results file: the cap's force and the position of its resultant.
    const std::string t = text(14);
    const auto at = t.find("* PASSIVE RESISTANCE IN PILE CAP *");
    ASSERT_NE(at, std::string::npos) << t;
    std::istringstream in(t.substr(at + 35));
    double Hs = 0.0, xp = 0.0;
    in >> Hs >> xp;
    EXPECT_GT(Hs, 0.05 * H);
    EXPECT_LT(Hs, 0.95 * H);
    EXPECT_NEAR(xp, -8.0, 1e-6);
    // The cap's share is the triangle of the mean cap-level reaction: 12 in times it.
    EXPECT_NEAR(Hs, 12.0 * PYMODE.CAPPMEAN, 1e-3 * Hs);
    // The stiffness of the first iteration holds the cap's derivative added to the piles': the cap
    // stiffens the horizontal row against a run of the same piles without it.
    auto firstK22 = [&](const std::string& log) {
        const auto at = log.find("SS  2");
        EXPECT_NE(at, std::string::npos);
        std::istringstream row(log.substr(at + 5));
        double k21 = 0.0, k22 = 0.0;
        row >> k21 >> k22;
        return k22;
    };
    const double withCap = firstK22(text(26));
    // The results and summary files carry the table too.
    EXPECT_NE(text(16).find("* PASSIVE RESISTANCE IN PILE CAP *"), std::string::npos);
    EXPECT_NE(text(18).find("HORI. LOAD,LBS      POSITION, FT      EQ. DIAM, FT"), std::string::npos) << text(18);

    open(26, "u26-without-cap");
    CTLIN.CAPOPT = 0;
    solve2D({300.0, H, 0, 0, 0, 0});
    ASSERT_EQ(status, 0);
    const double piles = firstK22(text(26));
    EXPECT_GT(piles, 0.0);
    EXPECT_GT(withCap, 1.01 * piles);
}

}  // namespace
}  // namespace kaldo::test
