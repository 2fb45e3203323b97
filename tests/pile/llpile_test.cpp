// The laterally loaded pile: a long elastic pile on an elastic subgrade against the beam-on-elastic-
// foundation closed forms in both lateral planes (free, fixed and spring-restrained heads, imposed head
// rotation), a pile whose head is not at X = 0, moment-curvature stiffness, distributed loads and soil
// movement in the equations, the failure without closure, the equivalent-stiffness and results passes,
// and piles solved on many threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "pile/pilemodel.h"

namespace kaldo::test {
namespace {

// The pile: L = 640 in, diameter 10 in, EIz = 1e10 lb in^2, in an elastic subgrade (criterion 12) of
// k = 100 lb/in^3 without strength, so Es = k b = 1000 lb/in^2 at every node. The ground surface is
// 1 in above the head, so that the head node lies in the soil too. beta = (Es / 4 EI)^(1/4) =
// 0.012574 /in, beta L = 8: the pile is long (the tip's influence is of order e^-8).
//
// Closed forms of the semi-infinite beam with the head deflection y0 given:
//   free (pinned) head:        H = Es y0 / (2 beta)                       (y0 = 2 H beta / Es)
//   fixed head, no rotation:   H = Es y0 / beta, M0 = Es y0 / (2 beta^2)  (y0 = H beta / Es, M0 = H / 2 beta)
//   fixed head at rotation th, no deflection: H = Es th / (2 beta^2), M0 = 2 EI beta th
//
// Accepted error: the central differences are second-order accurate, so the error in H and M0 is
// c (beta h)^2 with c of order one; at n = 100 (beta h = 0.080) the model gives 0.16 % in H and 0.32 %
// in M0. Each comparison accepts (beta h)^2 (0.65 %), and in addition the error must fall about four-fold
// when h halves, which shows that the agreement is the discretisation's and not a coincidence.
constexpr double L = 640.0, B = 10.0, KSUB = 100.0, ES = KSUB * B, EI = 1e10;

double betaOf(double ei) { return std::pow(ES / (4.0 * ei), 0.25); }

::testing::AssertionResult within(double got, double expected, double rel, const char* what) {
    const double err = got / expected - 1.0;
    if (std::fabs(err) <= rel) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << ": " << got << " vs closed form " << expected
                                         << " (relative error " << err << ", accepted " << rel << ")";
}

class LaterallyLoadedPile : public PileModel {
protected:
    // Pile p with its head at X = headX, n increments, EIy of the second plane, head codes.
    void build(int p, int n, double headX = 0.0, double EIy = EI, int code = 1, int codeY = 1) {
        propertySet(1, L, n, B);
        section(1, {.EIz = EI, .EIy = EIy});
        pile(p, 1, headX, -1.0);
        vertical(p);
        head(p, code, codeY);
        soil({uniform(12, headX - 1.0, headX + 1000.0, {.gamma = 0.03, .k = KSUB})});
    }
    // Stored along-pile quantity q at node j of pile p (after a results pass).
    static double stored(int p, int j, int q) { return RESCUR.RESCURLLP(p, j + 3, q); }
};

TEST_F(LaterallyLoadedPile, LongElasticPileMatchesTheClosedFormInBothPlanes) {
    // The second plane bends about the other axis with EIy = 4 EIz: its own, smaller beta.
    const double EIy = 4.0 * EI;
    const double yt = 0.5, zt = 0.3;
    struct Case {
        const char* name;
        int code;
        double Hy, Hz, My, Mz;  // closed forms
    };
    const double by = betaOf(EI), bz = betaOf(EIy);
    const Case cases[] = {
        {"free head", 1, ES * yt / (2 * by), ES * zt / (2 * bz), 0.0, 0.0},
        {"fixed head", 2, ES * yt / by, ES * zt / bz, ES * yt / (2 * by * by), ES * zt / (2 * bz * bz)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double errors[2][2] = {};
        int k = 0;
        for (int n : {50, 100}) {
            resetAllBlocks();
            PileModel::SetUp();
            build(1, n, 0.0, EIy, c.code, c.code);
            const HeadForces f = solve(1, {.yt = yt, .zt = zt});
            ASSERT_EQ(f.status, 0);
            const double tol = std::pow(bz * L / n, 2);  // the coarser plane's (beta h)^2
            EXPECT_TRUE(within(f.Hy, c.Hy, tol, "Hy")) << "n = " << n;
            EXPECT_TRUE(within(f.Hz, c.Hz, tol, "Hz")) << "n = " << n;
            errors[k][0] = f.Hy / c.Hy - 1.0;
            if (c.code == 2) {
                EXPECT_TRUE(within(f.My, c.My, tol, "My")) << "n = " << n;
                EXPECT_TRUE(within(f.Mz, c.Mz, tol, "Mz")) << "n = " << n;
                errors[k][1] = f.My / c.My - 1.0;
            } else {
                // A free head carries no moment.
                EXPECT_NEAR(f.My, 0.0, 1e-6 * c.Hy * L);
                EXPECT_NEAR(f.Mz, 0.0, 1e-6 * c.Hz * L);
            }
            ++k;
        }
        // Second order: halving h divides the error by about four.
        EXPECT_NEAR(errors[0][0] / errors[1][0], 4.0, 0.4);
        if (c.code == 2) {
            EXPECT_NEAR(errors[0][1] / errors[1][1], 4.0, 0.4);
        }
    }
}

TEST_F(LaterallyLoadedPile, FixedHeadTurnedWithoutDeflection) {
    // Head slope s: the fixed head holds (y5 - y3) / 2h = -s, a rotation th = -s of the pile axis.
    build(1, 100, 0.0, EI, 2, 2);
    const double s = 1e-3, th = -s, b = betaOf(EI), tol = std::pow(b * L / 100, 2);
    const HeadForces f = solve(1, {.sy = s, .sz = -s});
    EXPECT_TRUE(within(f.Hy, ES * th / (2 * b * b), tol, "Hy"));
    EXPECT_TRUE(within(f.My, 2 * EI * b * th, tol, "My"));
    EXPECT_TRUE(within(f.Hz, -ES * th / (2 * b * b), tol, "Hz"));
    EXPECT_TRUE(within(f.Mz, -2 * EI * b * th, tol, "Mz"));
}

TEST_F(LaterallyLoadedPile, HeadBelowTheCapOriginChangesNothing) {
    // The same pile and soil moved down by 250 in: the same forces at the head.
    build(1, 100, 0.0, EI, 2, 1);
    const HeadForces at0 = solve(1, {.yt = 0.5, .zt = 0.2});
    resetAllBlocks();
    PileModel::SetUp();
    build(1, 100, 250.0, EI, 2, 1);
    const HeadForces low = solve(1, {.yt = 0.5, .zt = 0.2});
    EXPECT_TRUE(near(low.Hy, at0.Hy, 1e-9));
    EXPECT_TRUE(near(low.My, at0.My, 1e-9));
    EXPECT_TRUE(near(low.Hz, at0.Hz, 1e-9));
}

TEST_F(LaterallyLoadedPile, RotationalSpringLiesBetweenPinnedAndFixed) {
    auto headShear = [&](int code, double spring) {
        resetAllBlocks();
        PileModel::SetUp();
        build(1, 50);
        head(1, code, code, spring, spring);
        return solve(1, {.yt = 0.5});
    };
    const HeadForces pinned = headShear(1, 0.0), fixed = headShear(2, 0.0);
    const HeadForces none = headShear(3, 0.0), soft = headShear(3, 1e9), stiff = headShear(3, 1e16);
    EXPECT_TRUE(near(none.Hy, pinned.Hy, 1e-12)) << "a spring of no stiffness is a pinned head";
    EXPECT_TRUE(near(stiff.Hy, fixed.Hy, 1e-5)) << "a very stiff spring is a fixed head";
    EXPECT_TRUE(near(stiff.My, fixed.My, 1e-5));
    EXPECT_GT(soft.Hy, pinned.Hy);
    EXPECT_LT(soft.Hy, fixed.Hy);
    EXPECT_GT(soft.My, 0.0);
    EXPECT_LT(soft.My, fixed.My);
}

TEST_F(LaterallyLoadedPile, MomentCurvatureCurvesReplaceTheSectionStiffness) {
    // The section says 5 EI, its moment-curvature set says EI (a straight line through (1, EI)): the
    // pile must answer as the elastic pile of EI, whichever deflections update the stiffness. The curves
    // replace EI at the nodes only; the fictitious slot below the tip keeps the section's 5 EI, which
    // reaches the head of this long pile only at the order e^-(beta L) = 3e-4 (a pile of 5 EI would
    // answer a third lower).
    build(1, 50);
    const HeadForces elastic = solve(1, {.yt = 0.5, .zt = 0.2});
    for (int prev : {0, 1}) {
        resetAllBlocks();
        PileModel::SetUp();
        build(1, 50);
        section(1, {.EIz = 5 * EI, .EIy = 5 * EI});
        CTLIN.KMPHI = 1;
        CTLPAR.KEIPREV = prev;
        SECTTAB.SECTMPZ(1, 1) = SECTTAB.SECTMPY(1, 1) = 1;
        MPHI.MPNCRV(1) = 1;
        MPHI.MPNPT(1, 1) = 2;
        MPHI.MPPHI(1, 1, 2) = 1.0;
        MPHI.MPMOM(1, 1, 2) = EI;
        const HeadForces f = solve(1, {.yt = 0.5, .zt = 0.2});
        EXPECT_TRUE(near(f.Hy, elastic.Hy, 1e-3)) << "KEIPREV " << prev;
        EXPECT_TRUE(near(f.Hz, elastic.Hz, 1e-3)) << "KEIPREV " << prev;
    }
}

TEST_F(LaterallyLoadedPile, DistributedLoadHoldsAFreePileAtLoadOverModulus) {
    // A uniform load w along y and 2w along z on a free pile whose head stands at w / Es (2w / Es): the
    // pile stays straight at that deflection, without moment, and reports the load it carried.
    const int n = 40;
    build(1, n);
    const double w = 50.0, h = L / n;
    WRKNODE.DLNNODE(1) = n + 1;
    for (int l = 1; l <= n + 1; ++l) {
        WRKNODE.DLNDEPTH(l, 1) = (l - 1) * h;
        WRKNODE.DLNODEY(l, 1) = w;
        WRKNODE.DLNODEZ(l, 1) = 2 * w;
    }
    RUNSTATE.RUNPASS = 1;
    ENVCTL.ENVSERIES = 1;
    const HeadForces f = solve(1, {.yt = w / ES, .zt = 2 * w / ES});
    ASSERT_EQ(f.status, 0);
    for (int j = 1; j <= n + 1; ++j) {
        EXPECT_NEAR(stored(1, j, 2), w / ES, 1e-12) << "node " << j;
        EXPECT_NEAR(stored(1, j, 3), 2 * w / ES, 1e-12) << "node " << j;
        EXPECT_NEAR(stored(1, j, 9), 0.0, 1e-3) << "node " << j;
        EXPECT_EQ(stored(1, j, 22), w);
        EXPECT_EQ(stored(1, j, 23), 2 * w);
    }
    // The head shear sums the soil reaction less the load by the trapezoid rule, both halved at head and
    // tip: the reaction Es y = w balances the load at every node, w L - w L = 0.
    EXPECT_NEAR(f.Hy, 0.0, 1e-9 * w * L);
    EXPECT_NEAR(f.Hz, 0.0, 1e-9 * w * L);
}

// Soil movement: a uniform free-field movement of 0.2 in along Y over the whole pile, at the load
// fraction 0.5: the soil moves 0.1 in.
class LaterallyLoadedPileSoilMovement : public LaterallyLoadedPile {
protected:
    void moveSoil(double headX) {
        SMOV.NSMOV = 2;
        SMOV.SMX(1) = headX - 1.0;
        SMOV.SMX(2) = headX + L + 10.0;
        SMOV.SMY(1) = SMOV.SMY(2) = SMOV.SMYIN(1) = SMOV.SMYIN(2) = 0.2;
        SMOV.SMFACT = 0.5;
        RUNSTATE.RUNPASS = 1;
        ENVCTL.ENVSERIES = 1;
    }
};

TEST_F(LaterallyLoadedPileSoilMovement, FreePileMovesWithTheSoilWithoutMoment) {
    const int n = 40;
    build(1, n);
    moveSoil(0.0);
    const HeadForces f = solve(1, {.yt = 0.1});
    ASSERT_EQ(f.status, 0);
    for (int j = 1; j <= n + 1; ++j) {
        EXPECT_NEAR(stored(1, j, 2), 0.1, 1e-12) << "node " << j;
        EXPECT_NEAR(stored(1, j, 9), 0.0, 1e-3) << "node " << j;
        EXPECT_NEAR(stored(1, j, 15), 0.0, 1e-9) << "no reaction where the pile moves with the soil";
    }
    EXPECT_NEAR(f.My, 0.0, 1e-3);
    EXPECT_NEAR(f.Hy, 0.0, 1e-9 * ES * 0.1 * L) << "nor a head shear";
}

TEST_F(LaterallyLoadedPileSoilMovement, HeldHeadScalesTheMovementOnceWhereverTheHeadIs) {
    // Head held at 0 (pinned): far down the pile the pile follows the soil, 0.1 in, and bends near the
    // head. The same pile 250 in lower, under the same profile moved with it, answers the same.
    const int n = 100;
    std::vector<double> deflection;
    for (double headX : {0.0, 250.0}) {
        resetAllBlocks();
        PileModel::SetUp();
        build(1, n, headX);
        moveSoil(headX);
        const HeadForces f = solve(1, {});
        ASSERT_EQ(f.status, 0);
        EXPECT_NEAR(stored(1, n + 1, 2), 0.1, 1e-3 * 0.1) << "head at X = " << headX;
        EXPECT_GT(std::fabs(f.Hy), 0.0);
        // y = ys (1 - exp(-beta x) cos(beta x)) near the head of the long pile: at beta x = pi / 2 the
        // pile has moved with the soil.
        const double b = betaOf(EI);
        const int j = 1 + static_cast<int>(std::lround(std::numbers::pi / 2 / b / (L / n)));
        const double x = (j - 1) * L / n;
        EXPECT_NEAR(stored(1, j, 2), 0.1 * (1 - std::exp(-b * x) * std::cos(b * x)), 0.01 * 0.1);
        for (int k = 1; k <= n + 1; ++k) deflection.push_back(stored(1, k, 2));
    }
    for (int k = 0; k <= n; ++k)
        EXPECT_TRUE(near(deflection[static_cast<std::size_t>(k)], deflection[static_cast<std::size_t>(k + n + 1)], 1e-9))
            << "node " << k + 1;
}

// A load along the whole pile that the soil answers exactly where it stands puts no force on the cap.
// Uniform soil movement (ys, zs), or a uniform distributed load (qy, qz) with the head at q / Es, on a
// pile of fixed head and zero slope in the elastic subgrade (Es the same at every node): y = ys (or
// q / Es) at every node satisfies every node equation (Es y = W), the fixed head row (y3 = y5) and both
// tip conditions (no curvature, no third difference), so the pile stays straight where it stands. The
// soil reaction equals the load at every node: the head shear, the soil reaction less the load along
// the pile, and the head moment are 0, up to the rounding of the sweep.
// The reaction summed with half weights at head and tip against the load taken whole there would leave
// -(W_head + W_tip) h / 2 = -W h: -8000 lb for the movement of 0.5 in and -800 lb for the load of
// 50 lb/in (h = 16 in), far beyond the rounding allowed here.
TEST_F(LaterallyLoadedPileSoilMovement, LoadTheSoilAnswersInPlaceGivesNoHeadForce) {
    struct Case {
        const char* name;
        double ys, zs;  // free-field movement along Y and Z (soil movement switched on when not 0)
        double qy, qz;  // distributed load per length along y and z
    };
    const Case cases[] = {
        {"soil movement along y", 0.5, 0.0, 0.0, 0.0},
        {"soil movement along y and z", 0.5, -0.3, 0.0, 0.0},
        {"distributed load along y", 0.0, 0.0, 50.0, 0.0},
        {"distributed load along y and z", 0.0, 0.0, 50.0, -20.0},
    };
    const int n = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetAllBlocks();
        PileModel::SetUp();
        build(1, n, 0.0, EI, 2, 2);
        if (c.ys != 0.0 || c.zs != 0.0) {
            moveSoil(0.0);
            SMOV.SMY(1) = SMOV.SMY(2) = SMOV.SMYIN(1) = SMOV.SMYIN(2) = c.ys;
            SMOV.SMZ(1) = SMOV.SMZ(2) = SMOV.SMZIN(1) = SMOV.SMZIN(2) = c.zs;
            SMOV.SMFACT = 1.0;
        }
        if (c.qy != 0.0 || c.qz != 0.0) {
            WRKNODE.DLNNODE(1) = n + 1;
            for (int l = 1; l <= n + 1; ++l) {
                WRKNODE.DLNDEPTH(l, 1) = (l - 1) * L / n;
                WRKNODE.DLNODEY(l, 1) = c.qy;
                WRKNODE.DLNODEZ(l, 1) = c.qz;
            }
        }
        // Where the pile stands: with the soil, or where the subgrade carries the load.
        const double y0 = c.ys + c.qy / ES, z0 = c.zs + c.qz / ES;
        const HeadForces f = solve(1, {.yt = y0, .zt = z0});
        ASSERT_EQ(f.status, 0);
        // Rounding: one ulp of a deflection is some 1e-16 of it; the shear sums 41 reactions of Es y h,
        // the moment scales EI / h^2 = 4e7 lb in on second differences of the deflection.
        const double reaction = ES * std::max(std::fabs(y0), std::fabs(z0));
        EXPECT_NEAR(f.Hy, 0.0, 1e-9 * reaction * L) << "head shear, y plane";
        EXPECT_NEAR(f.Hz, 0.0, 1e-9 * reaction * L) << "head shear, z plane";
        EXPECT_NEAR(f.My, 0.0, 1e-9 * reaction * L * L) << "head moment, y plane";
        EXPECT_NEAR(f.Mz, 0.0, 1e-9 * reaction * L * L) << "head moment, z plane";
    }
}

TEST_F(LaterallyLoadedPile, NoClosureWarnsAndRaisesTheSolverState) {
    build(1, 20);
    CTLPAR.MAXITP = 1;  // the first solution is never accepted
    HeadForces f = solve(1, {.yt = 0.5});
    EXPECT_EQ(f.status, 0);
    EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), 1);
    const std::string line =
        "     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    1\n";
    EXPECT_EQ(text(16), "\n\n" + line);
    EXPECT_EQ(text(10), "\n\n" + line);
    // A state of a higher reason stays; nothing is stored on the results pass.
    RUNSTATE.RUNSOLVST = 5;
    RUNSTATE.RUNPASS = 1;
    f = solve(1, {.yt = 0.5});
    EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), 5);
    EXPECT_EQ(stored(1, 1, 2), 0.0);
    // Three solutions close a linear pile: on the starting moduli, on the subgrade's, and the check.
    for (int limit : {2, 3}) {
        CTLPAR.MAXITP = limit;
        RUNSTATE.RUNSOLVST = 0;
        f = solve(1, {.yt = 0.5});
        EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), limit == 2 ? 1 : 0) << "MAXITP " << limit;
    }
    EXPECT_EQ(stored(1, 1, 2), 0.5);
}

TEST_F(LaterallyLoadedPile, EquivalentStiffnessPass) {
    const int n = 20;
    const double h = L / n;
    build(1, n);
    RUNSTATE.RUNPASS = 2;
    // Head moved axially and twisted: the secants of the head.
    Vec6 u{0.02, 0.5, 0.0, 0.001, 0.0, 0.0};
    solve(1, {.yt = 0.5, .P = 300.0, .T = 7.0}, u);
    EXPECT_EQ(EQSSOL(1, 1), 300.0);
    EXPECT_DOUBLE_EQ(EQSSOL(2, 1), 300.0 / 0.02);
    EXPECT_DOUBLE_EQ(EQSSOL(3, 1), 7.0 / 0.001);
    EXPECT_EQ(EQSSOL(4, 1), h);
    for (int s = 4; s <= n + 4; ++s) {
        EXPECT_DOUBLE_EQ(EQSSOL(4 + s, 1), (s - 4) * h);
        // The elastic subgrade's secant p / y is Es wherever the pile deflects; the z plane is straight
        // and takes the modulus the iteration used, the same Es, not a stiffness of zero.
        EXPECT_NEAR(EQSSOL(111 + s, 1), ES, 1e-9 * ES) << "slot " << s;
        EXPECT_NEAR(EQSSOL(218 + s, 1), ES, 1e-9 * ES) << "slot " << s;
    }
    EXPECT_EQ(EQSSOL(111 + n + 5, 1), 0.0) << "past the tip nothing is written";

    // A head that has not moved axially or twisted takes the slopes of its curves at zero.
    PILE.LSCRV(1) = 1;
    TZCRV.TZNPT(1) = 3;
    const double w[] = {-1.0, 0.0, 2.0}, F[] = {-50.0, 0.0, 300.0};
    for (int k = 1; k <= 3; ++k) {
        TZCRV.TZW(1, k) = w[k - 1];
        TZCRV.TZF(1, k) = F[k - 1];
    }
    PILE.TRCRV(1) = -2;
    TQCRV.TQGNPT(2) = 2;
    TQCRV.TQGR(2, 1) = 0.0;
    TQCRV.TQGR(2, 2) = 0.01;
    TQCRV.TQGT(2, 1) = 0.0;
    TQCRV.TQGT(2, 2) = 40.0;
    solve(1, {.yt = 0.5, .P = 300.0, .T = 7.0}, Vec6{1e-15, 0.5, 0, 0, 0, 0});
    EXPECT_EQ(EQSSOL(2, 1), 50.0) << "the segment that ends at zero";
    EXPECT_DOUBLE_EQ(EQSSOL(3, 1), 4000.0);
}

TEST_F(LaterallyLoadedPile, ResultsPassStoresThePileTopAndAlongThePile) {
    const int n = 20;
    build(1, n, 0.0, 2 * EI, 2, 1);
    section(1, {.EIz = EI, .EIy = 2 * EI, .Iz = 500.0, .Iy = 1000.0, .area = 80.0, .mcap = 2e6, .vcap = 5e4});
    RUNSTATE.RUNPASS = 1;
    ENVCTL.ENVSERIES = 1;
    const Vec6 u{0.01, 0.5, 0.3, 0.0, 0.0, 0.0};
    const HeadForces f = solve(1, {.yt = 0.5, .zt = 0.3, .P = 400.0, .T = 3.0}, u);
    ASSERT_EQ(f.status, 0);
    // Pile top, vertical pile: global and local agree. Forces (P, Hy, Hz, T, -Mz, My).
    const double FL[] = {400.0, f.Hy, f.Hz, 3.0, -f.Mz, f.My};
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(RESCUR.RESCURTOP(1, i), u[static_cast<std::size_t>(i - 1)]) << "row " << i;
        EXPECT_EQ(RESCUR.RESCURTOP(1, 13 + i), u[static_cast<std::size_t>(i - 1)]) << "row " << 13 + i;
        EXPECT_EQ(RESCUR.RESCURTOP(1, 6 + i), FL[i - 1]) << "row " << 6 + i;
        EXPECT_EQ(RESCUR.RESCURTOP(1, 19 + i), FL[i - 1]) << "row " << 19 + i;
    }
    // Head stress: bending of the fixed plane about z (the pinned plane has no head moment) plus P / A.
    const double sigma = std::fabs(f.My) * B / (2 * 500.0) + 400.0 / 80.0;
    EXPECT_TRUE(near(RESCUR.RESCURTOP(1, 13), sigma, 1e-6));
    EXPECT_EQ(RESCUR.RESCURTOP(1, 26), RESCUR.RESCURTOP(1, 13));

    EXPECT_EQ(stored(1, 1, 2), 0.5);
    EXPECT_EQ(stored(1, 1, 3), 0.3);
    EXPECT_DOUBLE_EQ(stored(1, 1, 4), std::hypot(0.5, 0.3));
    EXPECT_EQ(stored(1, 1, 6), 0.5) << "global Y of a vertical pile is local y";
    EXPECT_EQ(stored(1, 1, 7), 0.3);
    EXPECT_EQ(stored(1, 1, 9), -f.My) << "reported as EI y''";
    for (int j = 1; j <= n + 1; ++j) {
        EXPECT_EQ(stored(1, j, 1), 0.0) << "no axial displacement off the t-z path";
        EXPECT_EQ(stored(1, j, 18), 400.0);
        EXPECT_EQ(stored(1, j, 20), EI);
        EXPECT_EQ(stored(1, j, 21), 2 * EI);
        EXPECT_EQ(stored(1, j, 24), 0.0) << "a load case reports no ratios";
        EXPECT_NEAR(stored(1, j, 15), ES * stored(1, j, 2), 1e-9 * ES);
        EXPECT_NEAR(stored(1, j, 17), std::hypot(stored(1, j, 15), stored(1, j, 16)), 1e-9 * ES);
    }
    EXPECT_EQ(ENVMAX.LLP(1, 4, 2), 0.5);
    EXPECT_EQ(ENVMIN.LLP(1, 4, 2), 0.5);

    // A combination reports the demand over the capacity and the resistance factor.
    RUNPOINT.CURCOMB = 1;
    CTLPAR.RFBEND = 0.5;
    CTLPAR.RFSHEAR = 0.8;
    solve(1, {.yt = 0.5, .zt = 0.3, .P = 400.0, .T = 3.0}, u);
    const int j = 5;
    EXPECT_TRUE(near(stored(1, j, 24), stored(1, j, 11) / 2e6 / 0.5, 1e-12));
    EXPECT_TRUE(near(stored(1, j, 25), stored(1, j, 14) / 5e4 / 0.8, 1e-12));
}

TEST_F(LaterallyLoadedPile, PilesOnManyThreadsAnswerAsOnOne) {
    // Eight piles of different head movements, solved one after the other and then in a parallel loop,
    // results pass included: the same forces and stores, and the warnings of a failing pass whole.
    const int piles = 8;
    propertySet(1, L, 40, B);
    section(1, {});
    soil({uniform(12, -1.0, 1000.0, {.gamma = 0.03, .k = KSUB})});
    for (int p = 1; p <= piles; ++p) {
        pile(p, 1, 0.0, -1.0);
        vertical(p);
        head(p, 1 + p % 2, 1);
    }
    prepareNodeTables();
    RUNSTATE.RUNPASS = 1;
    ENVCTL.ENVSERIES = 1;
    auto run = [&](int p, HeadForces& f) {
        NODE(p, f.status);
        SlotArray axd{}, axf{};
        LLPILE(p, 0.1 * p, 0.0, 0.05 * p, 0.0, 0.0, 0.0, f.Hy, f.Hz, f.My, f.Mz, f.status, Vec6{}, identity6(),
               axd, axf);
    };
    std::vector<HeadForces> serial(piles + 1), parallel(piles + 1);
    for (int p = 1; p <= piles; ++p) run(p, serial[static_cast<std::size_t>(p)]);
    std::vector<double> top;
    for (int p = 1; p <= piles; ++p)
        for (int r = 1; r <= NTOPROW; ++r) top.push_back(RESCUR.RESCURTOP(p, r));
#pragma omp parallel for num_threads(4) schedule(static)
    for (int p = 1; p <= piles; ++p) run(p, parallel[static_cast<std::size_t>(p)]);
    for (int p = 1; p <= piles; ++p) {
        const auto& a = serial[static_cast<std::size_t>(p)];
        const auto& b = parallel[static_cast<std::size_t>(p)];
        EXPECT_EQ(a.Hy, b.Hy) << "pile " << p;
        EXPECT_EQ(a.Mz, b.Mz) << "pile " << p;
        for (int r = 1; r <= NTOPROW; ++r)
            EXPECT_EQ(RESCUR.RESCURTOP(p, r), top[static_cast<std::size_t>((p - 1) * NTOPROW + r - 1)]) << "pile " << p;
    }

    CTLPAR.MAXITP = 1;
#pragma omp parallel for num_threads(4) schedule(static)
    for (int p = 1; p <= piles; ++p) run(p, parallel[static_cast<std::size_t>(p)]);
    EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), 1);
    // Eight records of two empty lines and the warning line, none torn apart.
    const std::string out = text(16);
    int warnings = 0;
    for (std::size_t at = out.find("\n\n     ** WARNING **"); at != std::string::npos;
         at = out.find("\n\n     ** WARNING **", at + 1))
        ++warnings;
    EXPECT_EQ(warnings, piles);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3 * piles);
}

}  // namespace
}  // namespace kaldo::test
