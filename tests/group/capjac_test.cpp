// The reduction-factor term of the group stiffness: three closely spaced piles on the elastic subgrade
// whose p-multipliers follow the direction of the cap's movement. The term is checked against central
// differences of the group forces taken here with steps of our own, against the chain rule through the
// multipliers (the closed-form derivative of the direction mix times the change of the forces with each
// pile's multiplier), and on a lone pile at the origin against the pile stiffness itself, which shows
// that both use the same difference steps. Afterwards the multipliers in effect are those of the cap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "group/groupmodel.h"
#include "model/ctlpar.h"
#include "model/runblocks.h"
#include "support/pileswitches.h"

namespace kaldo::test {
namespace {

class ReductionTerm : public GroupModel {
protected:
    void SetUp() override {
        GroupModel::SetUp();
        elasticGround(40);
        axialCurve(50.0, 50.0);
        torsionCurve(4000.0, 4000.0);
        CTLIN.ANTYPE = 3;
        CTLIN.KGRPRF = 1;
        // Piles of 10 in: 1 and 2 in line along Y at 3 diameters, 3 beside and between them, skewed
        // from both; fixed heads, so that the factors act on bending and shear alike.
        groupPile(1, 1, 0.0, 0.0, 0.0);
        groupPile(2, 1, 0.0, 30.0, 0.0);
        groupPile(3, 1, 0.0, 15.0, 25.0);
        PILE.NPILES = 3;
        prepareNodeTables();
    }

    Vec6 forces(const Vec6& U) {
        int status = 0;
        Vec6 F{};
        FVEC(F, U, status);
        EXPECT_EQ(status, 0);
        return F;
    }
    // The forces at U with the multipliers of U's own direction of movement.
    Vec6 followingForces(const Vec6& U, const Vec6& P, int it) {
        GRPRFDIR(U, P, it, false);
        return forces(U);
    }
    // The largest magnitude in column j (1 .. 6).
    static double columnScale(const Mat6& K, int j) {
        double m = 0.0;
        for (int i = 1; i <= 6; ++i) m = std::max(m, std::fabs(el(K, i, j)));
        return m;
    }
};

// A cap moving obliquely in plan, slightly tilted and twisted; the Newton increment is large, so that
// the term takes the full steps of 1e-7 in and 1e-12 rad.
const Vec6 kMove{0.01, 0.06, 0.05, 1e-4, -2e-4, 3e-4};
const Vec6 kLoad{1000.0, -5000.0, -3000.0, 0.0, 0.0, 0.0};
const Vec6 kIncrement{1e-3, 1e-3, 0.0, 1e-5, 0.0, 0.0};

TEST_F(ReductionTerm, MatchesCentralDifferencesOfTheFollowingForces) {
    int status = 0;
    Mat6 K{};
    CAPJAC(K, kMove, kIncrement, kLoad, 11, 0, false, status);
    ASSERT_EQ(status, 0);

    // Our own differences: steps 1000 and 10000 times longer than the term's (1e-4 in, 1e-8 rad). The
    // forces are smooth in the cap displacement away from a change of sense, so both estimate one
    // derivative; the term's tiny steps carry the rounding of the forces (and of the piles' closure),
    // some 1e-5 of the largest entry of a column, hence the tolerance.
    Mat6 D{};
    for (int j = 1; j <= 6; ++j) {
        const double s = j <= 3 ? 1e-4 : 1e-8;
        Vec6 up = kMove, down = kMove;
        up[static_cast<std::size_t>(j - 1)] += s;
        down[static_cast<std::size_t>(j - 1)] -= s;
        const Vec6 Fu = followingForces(up, kLoad, 11), Fd = followingForces(down, kLoad, 11);
        for (int i = 1; i <= 6; ++i)
            D[static_cast<std::size_t>((i - 1) + (j - 1) * 6)] =
                (Fu[static_cast<std::size_t>(i - 1)] - Fd[static_cast<std::size_t>(i - 1)]) / (2.0 * s);
    }
    for (int j = 1; j <= 6; ++j) {
        const double scale = columnScale(D, j);
        ASSERT_GT(scale, 0.0) << j;
        for (int i = 1; i <= 6; ++i)
            EXPECT_NEAR(el(K, i, j), el(D, i, j), 1e-4 * scale) << "K(" << i << ", " << j << ")";
    }
}

TEST_F(ReductionTerm, AddsTheTurningOfTheMultipliersToThePileStiffness) {
    // With the direction of movement fixed, the piles' stiffness at the multipliers of the cap.
    GRPRFDIR(kMove, kLoad, 11, false);
    const double PY[3] = {PILEFAC.PMULY(1), PILEFAC.PMULY(2), PILEFAC.PMULY(3)};
    const double PZ[3] = {PILEFAC.PMULZ(1), PILEFAC.PMULZ(2), PILEFAC.PMULZ(3)};
    const double M[3] = {PILEFAC.PMUL(1), PILEFAC.PMUL(2), PILEFAC.PMUL(3)};
    // The piles really are shadowed, and differently along Y and Z.
    for (int k = 0; k < 3; ++k) {
        EXPECT_LT(M[k], 1.0) << k + 1;
        EXPECT_GT(std::fabs(PY[k] - PZ[k]), 0.02) << k + 1;
    }
    int status = 0;
    Mat6 Ks{};
    STIFF(Ks, kMove, kIncrement, 11, 0, status);
    ASSERT_EQ(status, 0);

    // The change of the group forces with the multiplier of each pile, the others held.
    Vec6 dFdm[3]{};
    for (int k = 0; k < 3; ++k) {
        const double d = 1e-6;
        PILEFAC.PMUL(k + 1) = M[k] + d;
        const Vec6 Fu = forces(kMove);
        PILEFAC.PMUL(k + 1) = M[k] - d;
        const Vec6 Fd = forces(kMove);
        PILEFAC.PMUL(k + 1) = M[k];
        for (std::size_t i = 0; i < 6; ++i) dFdm[k][i] = (Fu[i] - Fd[i]) / (2.0 * d);
    }
    // The direction mix m^2 = (PY^2 a^2 + PZ^2 b^2) / (a^2 + b^2), a = |u2|, b = |u3| (both positive
    // here): dm/da = a b^2 (PY^2 - PZ^2) / (m (a^2 + b^2)^2), dm/db = a^2 b (PZ^2 - PY^2) / (m (a^2 + b^2)^2).
    const double a = kMove[1], b = kMove[2], r4 = (a * a + b * b) * (a * a + b * b);
    Mat6 expect = Ks;
    for (int k = 0; k < 3; ++k) {
        const double dma = a * b * b * (PY[k] * PY[k] - PZ[k] * PZ[k]) / (M[k] * r4);
        const double dmb = a * a * b * (PZ[k] * PZ[k] - PY[k] * PY[k]) / (M[k] * r4);
        for (std::size_t i = 0; i < 6; ++i) {
            expect[i + 6] += dFdm[k][i] * dma;
            expect[i + 12] += dFdm[k][i] * dmb;
        }
    }

    Mat6 K{};
    CAPJAC(K, kMove, kIncrement, kLoad, 11, 0, false, status);
    ASSERT_EQ(status, 0);
    // Columns 2 and 3: the turning term K - Ks itself against the chain rule, to 1e-4 of its largest
    // entry. The other columns turn nothing (the multipliers follow the horizontal translations only):
    // there the term is the pile stiffness, to the rounding of the tiny steps.
    Mat6 term{}, chain{};
    for (std::size_t s = 0; s < 36; ++s) {
        term[s] = K[s] - Ks[s];
        chain[s] = expect[s] - Ks[s];
    }
    for (int j = 1; j <= 6; ++j) {
        const bool turning = j == 2 || j == 3;
        const double scale = turning ? columnScale(chain, j) : columnScale(Ks, j);
        for (int i = 1; i <= 6; ++i) {
            if (turning)
                EXPECT_NEAR(el(term, i, j), el(chain, i, j), 1e-4 * scale) << "term(" << i << ", " << j << ")";
            else
                EXPECT_NEAR(el(K, i, j), el(Ks, i, j), 1e-4 * scale) << "K(" << i << ", " << j << ")";
        }
    }
    // The term is no rounding residue: the cross stiffnesses of Y and Z change by some 0.07 to 0.2 per
    // cent of the lateral stiffness (the piles' changes partly cancel: pile 1 resists less along Y than
    // along Z, pile 2 more), some 1e3 times the tolerance above.
    EXPECT_GT(std::fabs(el(term, 2, 3)), 1e-3 * std::fabs(el(Ks, 2, 2)));
    EXPECT_GT(std::fabs(el(term, 3, 2)), 5e-4 * std::fabs(el(Ks, 3, 3)));
}

TEST_F(ReductionTerm, LeavesTheMultipliersOfTheCapAtItsDisplacement) {
    // At rest along Y the forward and backward states along Y move in opposite senses, which swaps
    // the leading and trailing piles; the last state (U less the rotation step about Z) is at rest along
    // Y again, so the multipliers in effect afterwards are those of the cap at U itself.
    const Vec6 U{0.01, 0.0, 0.05, 0.0, 0.0, 0.0};
    GRPRFDIR(U, kLoad, 11, false);
    double PMUL[4]{}, PMULY[4]{}, PMULZ[4]{};
    for (int i = 1; i <= 3; ++i) {
        PMUL[i] = PILEFAC.PMUL(i);
        PMULY[i] = PILEFAC.PMULY(i);
        PMULZ[i] = PILEFAC.PMULZ(i);
    }
    // The state moved back along Y has other factors: pile 1 leads there instead of trailing.
    GRPRFDIR({0.01, -1e-7, 0.05, 0.0, 0.0, 0.0}, kLoad, 11, false);
    ASSERT_NE(PILEFAC.PMULY(1), PMULY[1]);

    int status = 0;
    Mat6 K{};
    CAPJAC(K, U, kIncrement, kLoad, 11, 0, false, status);
    ASSERT_EQ(status, 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(PILEFAC.PMUL(i), PMUL[i]) << i;
        EXPECT_EQ(PILEFAC.PMULY(i), PMULY[i]) << i;
        EXPECT_EQ(PILEFAC.PMULZ(i), PMULZ[i]) << i;
        EXPECT_EQ(PILEFAC.YMUL(i), 1.0) << i;
    }
}

TEST_F(ReductionTerm, OnALonePileAtTheOriginItIsThePileStiffnessBitForBit) {
    // One pile at the origin has no neighbour (factor 1 in every direction) and its head moves with the
    // cap, so the term differentiates the very forces that the pile stiffness does; equal bits show
    // equal steps in every branch of the step rule. The kinked axial and torsion curves make a wrong
    // step visible: across the kink at rest the differences depend on the step. The factors are the
    // kept ones (option 4) weighted along Y alone, so the multiplier is exactly 1 in every state (a mix
    // of two directions would leave it a rounding away from 1).
    PILE.NPILES = 1;
    CTLIN.KGRPRF = 4;
    CTLIN.RFMOVY = 1.0;
    CTLIN.RFMOVZ = 0.0;
    for (auto* column : {&PILEFAC.PMUL, &PILEFAC.YMUL, &PILEFAC.PMULY, &PILEFAC.YMULY, &PILEFAC.PMULZ, &PILEFAC.YMULZ})
        (*column)(1) = 1.0;
    axialCurve(50.0, 80.0);
    torsionCurve(3000.0, 5000.0);
    struct Case {
        const char* what;
        int units, it, mode;
        Vec6 U, DU;
    };
    const Case cases[] = {
        {"first iterations", 1, 2, 0, {1e-12, 0.02, -0.01, 1e-14, 0.0, 2e-4}, {1.0, 0, 0, 1.0, 0, 0}},
        {"large increment", 1, 11, 0, {0.01, 0.02, -0.01, 1e-4, 0.0, 2e-4}, {1e-3, 0, 0, 1e-6, 0, 0}},
        {"small increment", 1, 11, 0, {1e-12, 0.02, -0.01, 1e-14, 0.0, 2e-4}, {1e-6, 0, 0, 1e-10, 0, 0}},
        {"displacements at a point", 1, 11, 1, {1e-8, 0.02, -0.01, 1e-12, 0.0, 2e-4}, {1e-9, 0, 0, 0, 0, 0}},
        {"SI steps", 2, 11, 0, {1e-10, 0.02, -0.01, 1e-14, 0.0, 2e-4}, {1e-3, 0, 0, 1e-6, 0, 0}},
    };
    // The step rule belongs to the central differences: the pile's own stiffness is taken by them here.
    const PileSwitches differences(false, false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTLIN.UNITS = c.units;
        int status = 0;
        Mat6 Ks{}, K{};
        STIFF(Ks, c.U, c.DU, c.it, c.mode, status);
        CAPJAC(K, c.U, c.DU, kLoad, c.it, c.mode, false, status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(PILEFAC.PMUL(1), 1.0);
        for (std::size_t s = 0; s < 36; ++s) EXPECT_EQ(K[s], Ks[s]) << "slot " << s;
    }
}

}  // namespace
}  // namespace kaldo::test
