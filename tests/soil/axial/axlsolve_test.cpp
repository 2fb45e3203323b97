// Axial force along a pile in the group solution: the tip movement that reproduces an imposed head
// movement, against the elastic bar on linear springs and the plateau of a clay pile in closed form,
// the node slots that the lateral solver reads, and the axial failure state.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/blocks.h"
#include "services/status.h"
#include "soil/axial/axial.h"
#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

double sp(float v) { return v; }
const double PI_AX = sp(3.1416f);  // pi of the load-transfer rules

// ---- Hand-made curves ------------------------------------------------------------------------------

// One side curve over the whole pile (it sits above the head, so every depth reads it), its transfer
// from the points given; the last two points far out so that the curve never reaches them.
TzSet sideCurve(const double (&z)[TZNPTS], const double (&t)[TZNPTS]) {
    TzSet s{};
    s.NPTS = 1;
    s.TZX(1) = -1.0e6;
    s.TZNP(1) = TZNPTS;
    for (int p = 1; p <= TZNPTS; ++p) {
        s.TZZ(1, p) = z[p - 1];
        s.TZT(1, p) = t[p - 1];
    }
    return s;
}

// A straight t-z line of slope ks (unit side transfer per unit movement).
TzSet straightSide(double ks) {
    double z[TZNPTS], t[TZNPTS];
    for (int p = 0; p < TZNPTS; ++p) {
        z[p] = 1000.0 * p;
        t[p] = ks * z[p];
    }
    return sideCurve(z, t);
}

// A tip spring of stiffness Kt (0: a floating pile).
QwTip tipSpring(double Kt) {
    QwTip q{};
    for (int p = 1; p <= QWNPTS; ++p) {
        q.QWW(p) = 1000.0 * (p - 1);
        q.QWQ(p) = Kt * q.QWW(p);
    }
    return q;
}

AxAeTab constantAE(double AE, double L) {
    AxAeTab a{};
    a.NAE = 2;
    a.AEDEP(0) = 0.0;
    a.AEDEP(1) = L;
    a.AEVAL(0) = a.AEVAL(1) = AE;
    return a;
}

// The generated-curve table of property set 1: tip movements +-tip[k], head movements +-head[k]
// (k = 1..9 compression in rows 11..19, uplift negated in rows 9..1), the origin in row 10.
void generatedCurve(const double (&tip)[9], const double (&head)[9]) {
    AXLSTAB.LSROWS = NLSROWS;
    for (int k = 1; k <= 9; ++k) {
        AXLSTAB.LSWTIP(1, 10 + k) = tip[k - 1];
        AXLSTAB.LSWHEAD(1, 10 + k) = head[k - 1];
        AXLSTAB.LSWTIP(1, 10 - k) = -tip[k - 1];
        AXLSTAB.LSWHEAD(1, 10 - k) = -head[k - 1];
    }
}

// ---- The elastic bar on linear springs -------------------------------------------------------------

// A pile of length L, diameter D and rigidity AE on side springs ks (per unit area of shaft) and a tip
// spring Kt. With k = ks pi D and lambda = sqrt(k / AE), at height xi above the tip:
//   w(xi) = wt (cosh(lambda xi) + beta sinh(lambda xi)),  N(xi) = AE lambda wt (sinh + beta cosh),
// beta = Kt / (AE lambda); the head (xi = L) takes E = wt (cosh(lambda L) + beta sinh(lambda L)).
struct Bar {
    double L = 400.0, D = 12.0, AE = 1.0e7, ks = 6.0, Kt = 0.0;
    int ninc = 50;

    double lambda() const { return std::sqrt(ks * PI_AX * D / AE); }
    double beta() const { return Kt / (AE * lambda()); }
    double headPerTip() const { return std::cosh(lambda() * L) + beta() * std::sinh(lambda() * L); }
    double w(double wt, double xi) const {
        return wt * (std::cosh(lambda() * xi) + beta() * std::sinh(lambda() * xi));
    }
    double N(double wt, double xi) const {
        return AE * lambda() * wt * (std::sinh(lambda() * xi) + beta() * std::cosh(lambda() * xi));
    }
};

// Slot contents the routine must leave alone.
constexpr double UNTOUCHED = 7.0;

class AxialSolve : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        open(20, "r.axt");
        open(27, "r.ltc");
        RUNSTATE.RUNSOLVST = 0;
        R.fill(UNTOUCHED);
        S.fill(UNTOUCHED);
    }

    // Pile 1 of property set 1 for the bar, its head at x = 100 (the depths below the head matter, not
    // the coordinate); a generated curve whose head movements are 1.25 times the bar's, so that the
    // first estimate is off and the solver has to iterate.
    void placeBar(const Bar& b) {
        propertySet(1, b.L, b.ninc, b.D);
        PILESET.PTYPE(1) = 1;
        pile(1, 1, 100.0, 0.0);
        const double tip[9] = {2, 4, 6, 8, 10, 12, 14, 16, 18};
        double head[9];
        for (int k = 0; k < 9; ++k) head[k] = 1.25 * b.headPerTip() * tip[k];
        generatedCurve(tip, head);
    }

    void solve(const Bar& b, double E) {
        const TzSet set = straightSide(b.ks);
        const AxAeTab ae = constantAE(b.AE, b.L);
        const QwTip tip = tipSpring(b.Kt);
        int status = 0;
        AXLSOLVE(1, 1, E, status, 19, R, S, set, ae, tip);
        EXPECT_EQ(status, 0);
    }

    SlotArray R{}, S{};
};

// The head force of the bar against the closed form, floating and on a tip spring, pushed down and
// pulled up, from a first estimate 25 % off. The march is second order in the segment length (lambda h
// = 0.038 here: some 1e-4) and the head movement is matched to 1e-4, so 1e-3 covers both.
TEST_F(AxialSolve, ElasticBarOnLinearSpringsMatchesClosedForm) {
    struct Case {
        const char* name;
        bool tipSpring;
        double E;
    };
    const Case cases[] = {{"floating, pushed", false, 10.0},
                          {"floating, pulled", false, -10.0},
                          {"tip spring, pushed", true, 10.0},
                          {"tip spring, pulled", true, -6.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bar b;
        if (c.tipSpring) b.Kt = b.AE * b.lambda();  // beta = 1
        placeBar(b);
        R.fill(UNTOUCHED);
        S.fill(UNTOUCHED);
        solve(b, c.E);
        const double wt = c.E / b.headPerTip();
        EXPECT_TRUE(near(R(4), c.E, 1e-4));
        EXPECT_TRUE(near(S(4), b.N(wt, b.L), 1e-3));
        EXPECT_TRUE(near(R(b.ninc + 4), wt, 1e-3));
        if (c.tipSpring)
            EXPECT_TRUE(near(S(b.ninc + 4), b.Kt * wt, 1e-3));
        else
            EXPECT_EQ(S(b.ninc + 4), 0.0);
        EXPECT_EQ(RUNSTATE.RUNSOLVST, 0);
    }
}

// The lateral solver reads slot j + 3 as node j from the head, which the node set-up places at
// NODEX(j). Head, middle node and tip of the bar on its tip spring, movement and force, against the
// closed form at that node's depth below the head: with beta = 1 the bar's values grow as
// exp(lambda xi), so neighbouring nodes differ by 4 %, forty times the tolerance.
// The slots beyond the head and the tip keep what the caller put there.
TEST_F(AxialSolve, NodeSlotsHoldTheValuesOfTheLateralNodes) {
    Bar b;
    b.Kt = b.AE * b.lambda();
    placeBar(b);
    layOut(1);
    const double E = 10.0;
    solve(b, E);
    const double wt = E / b.headPerTip();
    const int n = b.ninc;
    for (int j : {1, n / 2 + 1, n + 1}) {
        const double depth = NODES.NODEX(1, j) - PILE.HEADX(1);
        const double xi = b.L - depth;  // height above the tip
        EXPECT_TRUE(near(R(j + 3), b.w(wt, xi), 1e-3)) << "node " << j << " at depth " << depth;
        EXPECT_TRUE(near(S(j + 3), b.N(wt, xi), 1e-3)) << "node " << j << " at depth " << depth;
    }
    EXPECT_DOUBLE_EQ(NODES.NODEX(1, n + 1) - PILE.HEADX(1), b.L);
    for (int slot : {1, 2, 3, n + 5, n + 6, NODESLOTS}) {
        EXPECT_EQ(R(slot), UNTOUCHED) << "slot " << slot;
        EXPECT_EQ(S(slot), UNTOUCHED) << "slot " << slot;
    }
}

// At rest the tip movement is that of the origin row, 0, and every node gets 0. Past either end of
// the generated curve the end row's tip movement is taken as it is, without iterating towards E: the
// tip moves 18 and the head the bar's 18 x (cosh + beta sinh), not E; no solver state.
TEST_F(AxialSolve, AtRestAndBeyondTheGeneratedCurve) {
    Bar b;
    placeBar(b);
    solve(b, 0.0);
    for (int slot = 4; slot <= b.ninc + 4; ++slot) {
        EXPECT_EQ(R(slot), 0.0) << slot;
        EXPECT_EQ(S(slot), 0.0) << slot;
    }
    for (double sign : {1.0, -1.0}) {
        solve(b, sign * 1000.0);
        EXPECT_EQ(R(b.ninc + 4), sign * 18.0);
        EXPECT_TRUE(near(R(4), sign * 18.0 * b.headPerTip(), 1e-3));
        EXPECT_TRUE(near(S(4), sign * b.N(18.0, b.L), 1e-3));
    }
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 0);
}

// A stiffening tip under a pile without side transfer (h / AE = 0.1): the tip load doubles its slope at
// every unit of movement (0, 1, 3, 7, 15, 31, 63, ...), so the head moves H = wt + 0.1 q(wt), with
// kinks at every unit. E = 6.8 is reached at wt = 4.5, where q = 23. The generated points around it
// lie at tip movements 1 and 8, so the first estimate (2.2) is well off and the steps have to cross
// three kinks: four evaluations.
TEST_F(AxialSolve, StiffeningTipIsFollowedAcrossItsKinks) {
    Bar b;
    b.L = 100.0;
    b.AE = 1000.0;
    b.ninc = 1;
    placeBar(b);
    QwTip tip{};
    for (int p = 1; p <= QWNPTS; ++p) {
        tip.QWW(p) = p - 1;
        tip.QWQ(p) = std::pow(2.0, p - 1) - 1.0;
    }
    const double tipRow[9] = {1, 8, 9, 10, 11, 12, 13, 14, 15};
    double headRow[9];
    for (int k = 1; k <= 9; ++k) {
        headRow[k - 1] = tipRow[k - 1] + 0.1 * tipLoad(tip, tipRow[k - 1]);
    }
    generatedCurve(tipRow, headRow);
    int status = 0;
    AXLSOLVE(1, 1, 6.8, status, 19, R, S, straightSide(0.0), constantAE(b.AE, b.L), tip);
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 0);
    EXPECT_TRUE(near(R(4), 6.8, 1e-4));
    EXPECT_TRUE(near(R(5), 4.5, 1e-4));
    EXPECT_TRUE(near(S(5), 23.0, 1e-3));
    EXPECT_EQ(S(4), S(5));
}

// Soft clay, 1000 psf, 120 pcf, E50 0.002, user side friction 5 psi, under a driven pile of 40 ft,
// 24 in, 36 in^2, E 29e6 psi in two increments of 240 in; the curves come from the soil as the group
// solution builds them, the first estimate from the generated curve of the echo. From a tip movement
// of 0.5 inch up both segments sit on the plateau of the driven clay curve (0.93 tmax, F = 0.93 x 5 x
// pi D h each) and the tip carries its capacity Q = 9 c A (reached at 8 E50 D = 0.384 inch). For a tip
// movement of 0.75 inch: loads Q, Q + F, Q + 2F from the tip up, movements 0.75, 0.75 + (Q + F/2) h/AE,
// 0.75 + (2Q + 2F) h/AE. Pulled up, the same negated with a tip area of 0.0001.
TEST_F(AxialSolve, ClayPileOnThePlateauFromItsOwnCurves) {
    propertySet(1, 480.0, 2, 24.0);
    PILESET.PTYPE(1) = 1;
    SECTTAB.SECTAREA(1, 1, SectTab::TOP) = SECTTAB.SECTAREA(1, 1, SectTab::BOT) = 36.0;
    SECTTAB.SECTE(1, 1, SectTab::TOP) = SECTTAB.SECTE(1, 1, SectTab::BOT) = 29.0e6;
    pile(1, 1, 0.0, 0.0);
    SoilRow clay;
    clay.gamma = 120.0 / 1728.0;
    clay.c = 1000.0 / 144.0;
    clay.e50 = 0.002;
    soil({uniform(1, 0.0, 600.0, clay)});
    SOILPRF.FMAX(1) = SOILPRF.FMAX(2) = 5.0;
    for (int branch : {1, 2}) {
        BranchPoints loads{}, moves{};
        int n = 0, status = 0;
        AXLLSECHO(1, branch, 1, 1, status, n, loads, moves);
        ASSERT_EQ(status, 0);
    }

    const double h = 240.0, AE = 36.0 * 29.0e6, wt = 0.75;
    const double F = sp(0.93f) * 5.0 * PI_AX * 24.0 * h;
    for (double sign : {1.0, -1.0}) {
        SCOPED_TRACE(sign > 0 ? "pushed" : "pulled");
        const double Q = 9.0 * clay.c * (sign > 0 ? 36.0 : sp(0.0001f));
        const double E = sign * (wt + h / AE * (2.0 * Q + 2.0 * F));
        TzSet set{};
        AxAeTab ae{};
        QwTip tip{};
        int status = 0;
        AXLTZPILE(1, 1, E, status, set, ae);
        ASSERT_EQ(status, 0);
        AXLQWTIP(1, 1, E, status, set, tip);
        ASSERT_EQ(status, 0);
        AXLSOLVE(1, 1, E, status, 19, R, S, set, ae, tip);
        EXPECT_EQ(status, 0);
        EXPECT_TRUE(near(R(6), sign * wt, 1e-12));
        EXPECT_TRUE(near(S(6), sign * Q, 1e-9));
        EXPECT_TRUE(near(R(5), sign * (wt + (Q + 0.5 * F) * h / AE), 1e-12));
        EXPECT_TRUE(near(S(5), sign * (Q + F), 1e-12));
        EXPECT_TRUE(near(R(4), E, 1e-12));
        EXPECT_TRUE(near(S(4), sign * (Q + 2.0 * F), 1e-12));
    }
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 0);
}

// A pile of one increment (h = 100, D = 10, AE = 1000) floating on a side curve that steps down from
// 0.03 to 0.02 at a movement of 1. From a tip movement of 0.15 the midpoint moves 0.15 + pi D h^2 /
// (8 AE) t = 0.15 + 39.27 t: 1.33 under the higher transfer, 0.94 under the lower, and so on for ever.
// The bound on the repetitions gives up on the pile: axial failure in the solver state (raised, never
// lowered), the status word left alone, the caller's arrays as they were.
TEST_F(AxialSolve, MidpointThatNeverSettlesMarksAxialFailure) {
    Bar b;
    b.L = 100.0;
    b.D = 10.0;
    b.AE = 1000.0;
    b.ninc = 1;
    placeBar(b);
    const double tipRow[9] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    const double headRow[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    generatedCurve(tipRow, headRow);
    const TzSet set = sideCurve({0.0, 0.001, 0.999, 1.0, 2.0, 3.0, 4.0, 5.0, 1000.0, 2000.0},
                                {0.0, 0.03, 0.03, 0.02, 0.02, 0.02, 0.02, 0.02, 0.02, 0.02});
    const AxAeTab ae = constantAE(b.AE, b.L);
    const QwTip tip = tipSpring(0.0);
    int status = 0;
    AXLSOLVE(1, 1, 1.5, status, 19, R, S, set, ae, tip);
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 4);
    EXPECT_EQ(status, 0);
    for (int slot = 1; slot <= NODESLOTS; ++slot) {
        EXPECT_EQ(R(slot), UNTOUCHED) << slot;
        EXPECT_EQ(S(slot), UNTOUCHED) << slot;
    }
    RUNSTATE.RUNSOLVST = 5;
    AXLSOLVE(1, 1, 1.5, status, 19, R, S, set, ae, tip);
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 5);
}

// No tip movement gives the head movement asked: a pile without side transfer (h / AE = 0.1) on a tip
// that takes nothing up to a movement of 1 and 100 beyond moves its head wt below 1 and wt + 10 above,
// never 5. After 26 evaluations the pile is given up (axial failure), and R and S hold the last march
// whole: the tip at the last estimate, between the bracket's 1 and 1.5, the head 0.1 x its load above.
TEST_F(AxialSolve, HeadMovementNeverMatchedMarksAxialFailure) {
    Bar b;
    b.L = 100.0;
    b.AE = 1000.0;
    b.ninc = 1;
    placeBar(b);
    const double tipRow[9] = {0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 4.5};
    const double headRow[9] = {0.5, 1.0, 11.5, 12.0, 12.5, 13.0, 13.5, 14.0, 14.5};
    generatedCurve(tipRow, headRow);
    QwTip tip{};
    const double w[QWNPTS] = {0.0, 1.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0};
    for (int p = 1; p <= QWNPTS; ++p) {
        tip.QWW(p) = w[p - 1];
        tip.QWQ(p) = p <= 2 ? 0.0 : 100.0;
    }
    int status = 0;
    AXLSOLVE(1, 1, 5.0, status, 19, R, S, straightSide(0.0), constantAE(b.AE, b.L), tip);
    EXPECT_EQ(RUNSTATE.RUNSOLVST, 4);
    EXPECT_EQ(status, 0);
    EXPECT_GE(R(5), 1.0);
    EXPECT_LE(R(5), 1.5);
    EXPECT_EQ(S(5), R(5) > 1.0 ? 100.0 : 0.0);
    EXPECT_EQ(S(4), S(5));
    EXPECT_DOUBLE_EQ(R(4), R(5) + 0.1 * S(5));
}

// A property set of no known pile type has no side curves: its fault goes to the results and the
// runtime files as one record, and the status says why.
TEST_F(AxialSolve, UnknownPileTypeStopsWithItsRecord) {
    Bar b;
    placeBar(b);
    PILESET.PTYPE(1) = 3;
    TzSet set{};
    AxAeTab ae{};
    int status = 0;
    AXLTZPILE(1, 1, 1.0, status, set, ae);
    EXPECT_EQ(status, ST_BADVALUE);
    EXPECT_EQ(set.NPTS, 0);
    for (int unit : {16, 10}) {
        const std::string got = text(unit);
        EXPECT_NE(got.find("    **** KALDO ERROR 115 ****\n    PILE TYPE 3 OF PILE PROPERTY SET 1 (PILE 1) IS NEITHER"),
                  std::string::npos)
            << "unit " << unit << ":\n"
            << got;
    }
}

}  // namespace
}  // namespace kaldo::test
