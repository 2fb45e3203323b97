// The axial pile-head response: a straight load-settlement curve gives its stiffness, the t-z path of a
// floating elastic pile on straight t-z lines gives the closed-form head stiffness of the bar, and
// movements beyond the ends of the curve give the warning records and counts of the group solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "model/blocks.h"
#include "pile/pilemodel.h"

namespace kaldo::test {
namespace {

// Slot contents the routine must clear.
constexpr double STALE = 7.0;

class AxialHead : public PileModel {
protected:
    void SetUp() override {
        PileModel::SetUp();
        open(25, "r.axw");
        open(20, "r.axt");
        open(27, "r.ltc");
        RUNSTATE.RUNWARNPRT = 1;
        RUNSTATE.RUNWARNBEAR = RUNSTATE.RUNWARNPULL = RUNSTATE.RUNWARNTORS = 0;
        RUNSTATE.RUNSOLVST = 0;
        PILE.NPILES = 1;
        PILE.PSETNO(1) = 1;
        PILE.AXFACT(1) = 1.0;
    }
    // User load-settlement curve 1 of pile 1: (-2, -100), (0, 0), (4, 200): 50 per unit on both sides.
    static void straightCurve() {
        PILE.LSCRV(1) = 1;
        TZCRV.TZNPT(1) = 3;
        const double w[] = {-2.0, 0.0, 4.0}, F[] = {-100.0, 0.0, 200.0};
        for (int k = 1; k <= 3; ++k) {
            TZCRV.TZW(1, k) = w[k - 1];
            TZCRV.TZF(1, k) = F[k - 1];
        }
    }
    struct Result {
        double force = 0.0;
        int status = 0;
    };
    Result head(double w) {
        axd.fill(STALE);
        axf.fill(STALE);
        Result r;
        AXIALRES(1, r.force, Vec6{w, 0.3, 0.2, 0.01, 0.0, 0.0}, axd, axf, r.status);
        return r;
    }
    bool arraysClear() const {
        for (int s = 1; s <= NODESLOTS; ++s)
            if (axd(s) != 0.0 || axf(s) != 0.0) return false;
        return true;
    }
    SlotArray axd{}, axf{};
};

TEST_F(AxialHead, StraightCurveGivesItsStiffnessAndClearsTheArrays) {
    straightCurve();
    // KAXVAR asks for the t-z path, which a user curve ignores.
    CTLPAR.KAXVAR = 1;
    const struct {
        double w, F;
    } cases[] = {{0.0, 0.0}, {1.0, 50.0}, {-1.5, -75.0}, {4.0, 200.0}, {-2.0, -100.0}, {1e-9, 5e-8}};
    for (const auto& c : cases) {
        const Result r = head(c.w);
        EXPECT_DOUBLE_EQ(r.force, c.F) << "w = " << c.w;
        EXPECT_TRUE(arraysClear()) << "w = " << c.w;
    }
    EXPECT_EQ(RUNSTATE.RUNWARNBEAR + RUNSTATE.RUNWARNPULL, 0) << "the curve's end points are inside it";
    EXPECT_EQ(text(25), "");
}

TEST_F(AxialHead, MovementsBeyondTheEndsWarnAndCount) {
    straightCurve();
    const std::string line2 = "     ** WARNING **  ";
    const struct {
        double w;
        int kaxlim;
        double F;
        int bear, pull;
        const char* text;
        const char* values;
    } cases[] = {
        {5.0, 0, 0.0, 1, 0, "APPARENT FAILURE IN BEARING    ,",
         "AX. DISP.=  0.5000E+01 >   0.4000E+01     AX. FORCE=  0.0000E+00"},
        {4.0 + 1e-12, 0, 0.0, 1, 0, "APPARENT FAILURE IN BEARING    ,",
         "AX. DISP.=  0.4000E+01 >   0.4000E+01     AX. FORCE=  0.0000E+00"},
        {-3.0, 0, 0.0, 0, 1, "APPARENT FAILURE IN PULL OUT    ",
         "AX. DISP.= -0.3000E+01 >  -0.2000E+01     AX. FORCE=  0.0000E+00"},
        {6.0, 1, 200.0, 1, 0, "REACHED MAXIMUM LOAD IN BEARING  ",
         "AX. DISP.=  0.6000E+01 >   0.4000E+01     AX. FORCE=  0.2000E+03"},
        {-3.0, 1, -100.0, 0, 1, "REACHED MAXIMUM LOAD IN PULLOUT  ",
         "AX. DISP.= -0.3000E+01 >  -0.2000E+01     AX. FORCE= -0.1000E+03"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SetUp();
        straightCurve();
        CTLIN.KAXLIM = c.kaxlim;
        PILE.NPILES = 12;
        PILE.PSETNO(12) = 1;
        PILE.LSCRV(12) = 1;
        SlotArray d{}, f{};
        double F = -1.0;
        int status = 0;
        AXIALRES(12, F, Vec6{c.w, 0, 0, 0, 0, 0}, d, f, status);
        EXPECT_EQ(F, c.F);
        EXPECT_EQ(RUNSTATE.RUNWARNBEAR.load(), c.bear);
        EXPECT_EQ(RUNSTATE.RUNWARNPULL.load(), c.pull);
        EXPECT_EQ(text(25), "\n" + line2 + c.text + "  PILE GROUP   12\n" + std::string(20, ' ') + c.values + "\n");
        // The force evaluations of the stiffness matrix write nothing and count nothing.
        RUNSTATE.RUNWARNPRT = 0;
        F = -1.0;
        AXIALRES(12, F, Vec6{c.w, 0, 0, 0, 0, 0}, d, f, status);
        EXPECT_EQ(F, c.F);
        EXPECT_EQ(RUNSTATE.RUNWARNBEAR + RUNSTATE.RUNWARNPULL, 1);
        const std::string after = text(25);
        EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 3);
        TearDown();
    }
}

TEST_F(AxialHead, WarningRecordsOfManyPilesStayWholeAndCountExactly) {
    straightCurve();
    const int piles = 40;
    PILE.NPILES = piles;
    for (int p = 1; p <= piles; ++p) {
        PILE.PSETNO(p) = 1;
        PILE.LSCRV(p) = 1;
    }
#pragma omp parallel for num_threads(4) schedule(static)
    for (int p = 1; p <= piles; ++p) {
        SlotArray d{}, f{};
        double F = 0.0;
        int status = 0;
        AXIALRES(p, F, Vec6{p % 2 ? 9.0 : -9.0, 0, 0, 0, 0, 0}, d, f, status);
    }
    EXPECT_EQ(RUNSTATE.RUNWARNBEAR.load(), piles / 2);
    EXPECT_EQ(RUNSTATE.RUNWARNPULL.load(), piles / 2);
    // The group solution copies three lines per count: every record is its three lines in order.
    const std::string out = text(25);
    std::size_t at = 0;
    for (int r = 0; r < piles; ++r) {
        ASSERT_EQ(out.compare(at, 21, "\n     ** WARNING **  "), 0) << "record " << r;
        const std::size_t l3 = out.find('\n', at + 1) + 1;
        EXPECT_EQ(out.compare(l3, 30, std::string(20, ' ') + "AX. DISP.="), 0) << "record " << r;
        at = out.find('\n', l3) + 1;
    }
    EXPECT_EQ(at, out.size());
}

// The t-z path on a floating elastic pile: a drilled shaft of length L, diameter D and rigidity AE in
// one user-strength layer (criterion 5, no friction angle) of unit side friction f and no tip
// resistance. Its side curves follow the drilled-shaft clay shape, whose first segment is straight:
// t = 0.51 f z / (0.001 D) up to z = 0.001 D. Head movements that keep every node inside it see straight
// t-z lines of slope ks = 510 f / D per unit shaft area. The bar's head stiffness is then
//   K = AE lambda tanh(lambda L),  lambda = sqrt(ks pi D / AE)
// (pi as the load-transfer rules take it, 3.1416). The wide shaft lets the movements be a few
// hundredths of an inch, large against the march's absolute settling tolerance of its segments. The
// ground-surface curves carry practically nothing and the first layer curve lies 0.1 in below them
// (some 1e-4 of the shaft's transfer missing); the march is second order in lambda h (2e-4 here) and
// the head is matched to 1e-4: 1e-3 covers all.
TEST_F(AxialHead, TzPathOfAFloatingElasticPileMatchesTheBar) {
    const double L = 400.0, D = 60.0, AE = 1.0e8, f = 0.2, pi = static_cast<double>(3.1416f);
    const int n = 50;
    const double ks = 0.51f * f / (0.001f * D);
    propertySet(1, L, n, D);
    PILESET.PTYPE(1) = 2;
    section(1, {.area = 100.0});
    SECTTAB.SECTE(1, 1, SectTab::TOP) = SECTTAB.SECTE(1, 1, SectTab::BOT) = AE / 100.0;
    pile(1, 1, 0.0, 0.0);
    vertical(1);
    soil({uniform(5, 0.0, 2000.0, {.gamma = 0.03})});
    for (int r = 1; r <= 2; ++r) SOILPRF.FMAX(r) = f;
    const double lambda = std::sqrt(ks * pi * D / AE);
    const double K = AE * lambda * std::tanh(lambda * L);
    const double headPerTip = std::cosh(lambda * L);
    // The generated curve of the set, for the solver's first estimate (5 % off).
    PILE.LSCRV(1) = -1;
    AXLSTAB.LSROWS = NLSROWS;
    for (int k = 1; k <= 9; ++k) {
        const double tip = 0.005 * k;
        AXLSTAB.LSWTIP(1, 10 + k) = tip;
        AXLSTAB.LSWHEAD(1, 10 + k) = 1.05 * headPerTip * tip;
        AXLSTAB.LSWTIP(1, 10 - k) = -tip;
        AXLSTAB.LSWHEAD(1, 10 - k) = -1.05 * headPerTip * tip;
    }
    // A generated load-settlement curve far stiffer than the bar: its force must not be the answer.
    TZCRV.TZGNPT(1) = 3;
    const double gw[] = {-1.0, 0.0, 1.0}, gf[] = {-1e9, 0.0, 1e9};
    for (int k = 1; k <= 3; ++k) {
        TZCRV.TZGW(1, k) = gw[k - 1];
        TZCRV.TZGF(1, k) = gf[k - 1];
    }
    PILE.AXFACT(1) = 2.0;
    CTLPAR.KAXVAR = 1;
    layOut(1);
    // Both movements stay below 0.001 D = 0.06 in, on the straight first segment.
    for (double w : {0.05, -0.04}) {
        SCOPED_TRACE(w);
        const Result r = head(w);
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), 0);
        EXPECT_TRUE(near(r.force, K * w, 1e-3)) << "head force before the load factor";
        EXPECT_TRUE(near(axd(4), w, 1e-4));
        EXPECT_TRUE(near(axf(4), 2.0 * K * w, 1e-3)) << "the force array carries the load factor";
        EXPECT_TRUE(near(axd(n + 4), w / headPerTip, 1e-3)) << "tip";
        EXPECT_NEAR(axf(n + 4), 0.0, 1e-9 * std::fabs(K * w)) << "a floating tip carries nothing";
        for (int s : {1, 2, 3, n + 5, NODESLOTS}) {
            EXPECT_EQ(axd(s), 0.0) << "slot " << s;
            EXPECT_EQ(axf(s), 0.0) << "slot " << s;
        }
    }
    // At rest: nothing, not even on the t-z path.
    const Result r = head(0.0);
    EXPECT_EQ(r.force, 0.0);
    EXPECT_TRUE(arraysClear());
    // The same pile off the t-z path reads its generated curve.
    CTLPAR.KAXVAR = 0;
    EXPECT_DOUBLE_EQ(head(0.05).force, 5e7);
    EXPECT_TRUE(arraysClear());
}

}  // namespace
}  // namespace kaldo::test
