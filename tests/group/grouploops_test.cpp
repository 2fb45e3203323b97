// The group force vector and stiffness: two identical piles set symmetrically about the cap origin
// against the hand sums of their head forces and stiffnesses, bit-identical sums for 1, 2 and 4 threads,
// a failing pile, a fault thrown inside the loop, the booking of region times, and the thread-count rule.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "group/groupmodel.h"
#include "pile/pile.h"
#include "support/pileswitches.h"
#include "model/ctlpar.h"
#include "model/runblocks.h"
#include "services/status.h"

namespace kaldo::test {
namespace {

class GroupLoops : public GroupModel {
protected:
    void SetUp() override {
        GroupModel::SetUp();
        elasticGround(40);
        axialCurve(50.0, 50.0);
        torsionCurve(4000.0, 4000.0);
        prepareNodeTables();
    }
    // Two fixed-head vertical piles at Y = +-30 in.
    void pair() {
        groupPile(1, 1, 0.0, 30.0, 0.0);
        groupPile(2, 1, 0.0, -30.0, 0.0);
    }
    // Seven piles of different places, orientations and head codes.
    void spread() {
        for (int i = 1; i <= 7; ++i) {
            groupPile(i, 1, 0.0, 20.0 * (i - 4), 15.0 * (i % 3), 1 + i % 2);
            PILE.ALPHA(i) = 0.3 * i;
            PILE.BETA(i) = 1.5707963267948966 - 0.05 * (i % 4);
            PILE.THETA(i) = -0.1 * i;
        }
    }
    Vec6 single(int p, const Vec6& head) {
        int status = 0;
        Vec6 F{};
        PILEFRC(p, F, head, status);
        EXPECT_EQ(status, 0);
        return F;
    }
};

TEST_F(GroupLoops, TwoSymmetricPilesAddUpByHand) {
    pair();
    // A cap translation moves both heads alike: twice one pile's forces, and the moments of the two
    // about the origin (Y +-30 times the axial and Z forces) cancel.
    const Vec6 move{0.01, 0.1, -0.05, 0.0, 0.0, 0.0};
    const Vec6 one = single(1, move);
    int status = 0;
    Vec6 F{};
    F.fill(7.0);
    FVEC(F, move, status);
    ASSERT_EQ(status, 0);
    for (std::size_t c = 0; c < 6; ++c) EXPECT_NEAR(F[c], 2.0 * one[c], 1e-12 * std::fabs(one[5])) << c + 1;
    EXPECT_TRUE(near(F[0], -2.0 * 50.0 * move[0], 1e-12));

    // A cap rotation th about Z lifts the head at Y = +30 by 30 th and pushes the other down by as much:
    // axial forces -+50 x 30 th, whose moment about Z is -2 x 900 x 50 th; with each head turned by th as
    // well, the group adds the two piles' own moments.
    const double th = 1e-4;
    FVEC(F, {0.0, 0.0, 0.0, 0.0, 0.0, th}, status);
    ASSERT_EQ(status, 0);
    const Vec6 up = single(1, {-30.0 * th, 0.0, 0.0, 0.0, 0.0, th});
    const Vec6 down = single(2, {30.0 * th, 0.0, 0.0, 0.0, 0.0, th});
    EXPECT_TRUE(near(up[0], 50.0 * 30.0 * th, 1e-12));
    EXPECT_NEAR(F[0], 0.0, 1e-12);
    EXPECT_TRUE(near(F[1], up[1] + down[1], 1e-12));
    EXPECT_TRUE(near(F[5], -2.0 * 900.0 * 50.0 * th + up[5] + down[5], 1e-12));

    // Stiffness: K11 twice the axial slope; K66 and K44 add the piles' own rotational stiffness to the
    // lever arm 30 times their axial (K66) and lateral Z (K44) stiffness; the translation-rotation terms
    // that the lever arms create cancel between the two piles.
    const Vec6 U{0.01, 0.02, 0.0, 0.0, 0.0, 0.0}, DU{1, 0, 0, 1, 0, 0};
    int s1 = 0;
    Mat6 Kp{}, K{};
    PILESTF(1, Kp, U, DU, 5, 0, s1);
    K.fill(7.0);
    STIFF(K, U, DU, 5, 0, status);
    ASSERT_EQ(status + s1, 0);
    EXPECT_TRUE(near(el(K, 1, 1), -100.0, 1e-8));
    EXPECT_TRUE(near(el(K, 2, 2), 2.0 * el(Kp, 2, 2), 1e-9));
    EXPECT_TRUE(near(el(K, 6, 6), 2.0 * el(Kp, 6, 6) - 2.0 * 900.0 * 50.0, 1e-6));
    EXPECT_TRUE(near(el(K, 4, 4), 2.0 * el(Kp, 4, 4) + 2.0 * 900.0 * el(Kp, 3, 3), 1e-6));
    EXPECT_TRUE(near(el(K, 2, 6), 2.0 * el(Kp, 2, 6), 1e-6));
    EXPECT_NEAR(el(K, 1, 6), 0.0, 1e-6 * 50.0 * 30.0);
    // The other way round only each pile's own P-delta term remains: the axial force bends the
    // laterally displaced piles alike.
    EXPECT_NEAR(el(K, 6, 1), 2.0 * el(Kp, 6, 1), 1e-9 * 50.0 * 30.0);
    EXPECT_NEAR(el(K, 3, 4), 0.0, 1e-6 * std::fabs(el(Kp, 3, 3)) * 30.0);
}

TEST_F(GroupLoops, SumsAreTheSameBitForBitOnAnyThreadCount) {
    spread();
    const Vec6 U{0.01, 0.05, -0.03, 2e-4, -1e-4, 3e-4}, DU{1e-3, 0, 0, 1e-5, 0, 0};
    Vec6 F1{};
    Mat6 K1{};
    for (int threads : {1, 2, 4}) {
        SCOPED_TRACE(threads);
        CTLPAR.NTHRUSR = threads;
        int status = 0;
        Vec6 F{};
        Mat6 K{};
        FVEC(F, U, status);
        STIFF(K, U, DU, 3, 0, status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(RUNTIME.RUNTHRPEAK, threads);
        EXPECT_EQ(RUNTIME.RUNTHRPEAK2, threads);
        if (threads == 1) {
            F1 = F;
            K1 = K;
            continue;
        }
        for (std::size_t c = 0; c < 6; ++c) EXPECT_EQ(F[c], F1[c]) << "F " << c + 1;
        for (std::size_t c = 0; c < 36; ++c) EXPECT_EQ(K[c], K1[c]) << "K slot " << c;
    }
    // A later region with fewer threads leaves the peaks alone.
    CTLPAR.NTHRUSR = 2;
    int status = 0;
    Vec6 F{};
    FVEC(F, U, status);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK, 4);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK2, 4);
}

TEST_F(GroupLoops, FailingPileAddsNoForceButItsStatus) {
    // Pile 2 is longer than the soil is deep (set 2: 1200 in).
    pair();
    propertySet(2, 1200.0, 40, PB);
    section(2, {.EIz = PEI, .EIy = PEI});
    PILE.PSETNO(2) = 2;
    prepareNodeTables();
    CTLPAR.NTHRUSR = 2;
    const Vec6 move{0.01, 0.1, -0.05, 0.0, 0.0, 0.0};
    const Vec6 one = single(1, move);
    int status = 0;
    Vec6 F{};
    FVEC(F, move, status);
    EXPECT_EQ(status, 3);
    // Pile 1 alone, moved to the origin from Y = 30: moments + r x f.
    const Vec6 alone{one[0], one[1], one[2], one[3] + 30.0 * one[2], one[4], one[5] - 30.0 * one[0]};
    for (std::size_t c = 0; c < 6; ++c) EXPECT_NEAR(F[c], alone[c], 1e-12 * std::fabs(alone[3])) << c + 1;
    status = 0;
    Mat6 K{}, Kp{};
    int s1 = 0;
    PILESTF(1, Kp, move, {1, 0, 0, 1, 0, 0}, 5, 0, s1);
    STIFF(K, move, {1, 0, 0, 1, 0, 0}, 5, 0, status);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(el(K, 2, 2), el(Kp, 2, 2)) << "the failed pile's zero matrix is added";

    // A status already set on entry: no pile adds anything and the code stays.
    status = 9;
    FVEC(F, move, status);
    EXPECT_EQ(status, 9);
    EXPECT_EQ(F, Vec6{});
}

#ifdef KALDO_CHECKED
TEST_F(GroupLoops, FaultInsideThePileLoopBecomesTheStatus) {
    // A property set number outside its table throws in the node set-up of pile 2, on a loop thread;
    // the region still ends normally, and the run status says what happened.
    pair();
    PILE.PSETNO(2) = 100000;
    CTLPAR.NTHRUSR = 2;
    int status = 0;
    Vec6 F{};
    FVEC(F, {0.01, 0.0, 0.0, 0.0, 0.0, 0.0}, status);
    EXPECT_EQ(status, ST_INTERNAL);
    EXPECT_NE(text(10).find("pile 2"), std::string::npos) << text(10);
    status = 0;
    Mat6 K{};
    STIFF(K, {}, {}, 1, 0, status);
    EXPECT_EQ(status, ST_INTERNAL);
}
#endif

// While the iteration expects a stiffness, the force vector's loop forms each pile's matrix, and STIFF at
// the same displacement with the same steps sums those without a loop of its own: the loop's matrix bit
// for bit. Asked at another displacement or with other steps, STIFF runs its loop.
TEST_F(GroupLoops, StiffnessFormedWithTheForcesIsTheLoopsOwn) {
    spread();
    const PileSwitches newton(true, true);
    prepareKeptDerivatives(PILE.NPILES + 1);
    CTLPAR.NTHRUSR = 4;
    const Vec6 U{0.01, 0.05, -0.03, 2e-4, -1e-4, 3e-4}, DU{1e-3, 0, 0, 1e-5, 0, 0};
    struct Ask {
        const char* name;
        Vec6 U, DU;
        int IT, MODE;
        bool kept;
    };
    const Ask asks[] = {
        {"the same displacement and steps", U, DU, 3, 0, true},
        {"another displacement", {0.01, 0.06, -0.03, 2e-4, -1e-4, 3e-4}, DU, 3, 0, false},
        {"another increment", U, {1e-9, 0, 0, 0, 0, 0}, 3, 0, false},
        {"another iteration", U, DU, 1, 0, false},
        {"fixed steps", U, DU, 3, 1, false},
    };
    for (const Ask& a : asks) {
        SCOPED_TRACE(a.name);
        int status = 0;
        Vec6 F{};
        Mat6 own{}, K{};
        FVEC(F, a.U, status);
        STIFF(own, a.U, a.DU, a.IT, a.MODE, status);
        expectStiffness(U, DU, 3, 0);
        FVEC(F, U, status);
        noStiffnessExpected();
        RUNTIME.RUNTHRPEAK2 = 0;
        STIFF(K, a.U, a.DU, a.IT, a.MODE, status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(RUNTIME.RUNTHRPEAK2 == 0, a.kept) << "a pile loop ran: " << RUNTIME.RUNTHRPEAK2;
        for (std::size_t c = 0; c < 36; ++c) EXPECT_EQ(K[c], own[c]) << "K slot " << c;
    }
}

// The head curves read to form a stiffness in the force vector's loop warn of nothing: heads at the
// last point of the load-settlement curve, whose difference steps reach past it, count no bearing
// warning, as the force evaluation itself does not.
TEST_F(GroupLoops, StiffnessInTheForceLoopAddsNoCurveWarning) {
    pair();
    const PileSwitches newton(true, true);
    prepareKeptDerivatives(PILE.NPILES + 1);
    const Vec6 U{4.0, 0.01, 0.0, 0.0, 0.0, 0.0};
    int status = 0;
    Vec6 F{};
    RUNSTATE.RUNWARNPRT = 1;
    RUNSTATE.RUNWARNBEAR = 0;
    expectStiffness(U, {1e-3, 0, 0, 0, 0, 0}, 3, 0);
    FVEC(F, U, status);
    noStiffnessExpected();
    RUNSTATE.RUNWARNPRT = 0;
    ASSERT_EQ(status, 0);
    EXPECT_EQ(RUNSTATE.RUNWARNBEAR.load(), 0);
    Mat6 K{};
    RUNTIME.RUNTHRPEAK2 = 0;
    STIFF(K, U, {1e-3, 0, 0, 0, 0, 0}, 3, 0, status);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK2, 0) << "the kept matrices were not taken";
}

TEST_F(GroupLoops, RegionTimesAndAModelWithoutPiles) {
    pair();
    const Vec6 U{0.01, 0.01, 0.0, 0.0, 0.0, 0.0};
    int status = 0;
    Vec6 F{};
    Mat6 K{};
    // Iterating: both loops count as parallel time.
    FVEC(F, U, status);
    STIFF(K, U, {}, 1, 0, status);
    EXPECT_GT(RUNTIME.RUNTPAR, 0.0);
    EXPECT_EQ(RUNTIME.RUNTPRT, 0.0);
    // In the results pass the stiffness counts as print time, the force vector still as parallel time.
    RUNSTATE.RUNPASS = 1;
    double par = RUNTIME.RUNTPAR;
    STIFF(K, U, {}, 1, 0, status);
    EXPECT_EQ(RUNTIME.RUNTPAR, par);
    EXPECT_GT(RUNTIME.RUNTPRT, 0.0);
    const double prt = RUNTIME.RUNTPRT;
    FVEC(F, U, status);
    EXPECT_GT(RUNTIME.RUNTPAR, par);
    EXPECT_EQ(RUNTIME.RUNTPRT, prt);
    ASSERT_EQ(status, 0);

    PILE.NPILES = 0;
    F.fill(7.0);
    K.fill(7.0);
    FVEC(F, U, status);
    STIFF(K, U, {}, 1, 0, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(F, Vec6{});
    EXPECT_EQ(K, Mat6{});
}

}  // namespace
}  // namespace kaldo::test
