// The pieces of the stiffness estimation below the driver: the beam-column element and the condensation
// of a pile onto its head, the head connection, the target-deflection interpolation and its test, and
// the equivalent stiffness scratch file written and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "capstiff/capstiff.h"
#include "capstiff/eqstiff.h"
#include "io/units.h"
#include "model/blocks.h"
#include "services/status.h"
#include "services/unitno.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

double k12(const Mat12& K, int i, int j) { return K[static_cast<std::size_t>((i - 1) + (j - 1) * 12)]; }
double k6(const Mat6& K, int i, int j) { return K[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]; }
double k3(const Mat3& K, int i, int j) { return K[static_cast<std::size_t>((i - 1) + (j - 1) * 3)]; }

// The element is symmetric, and without the axial-load flag it does not depend on P.
TEST(BeamElement, SymmetricAndIndependentOfTheAxialForceWithoutTheFlag) {
    Mat12 a{}, b{};
    BEAMK12(3.0e4, 2.0e4, 5.0, 7.0, 2.0, 0.0, 0, a);
    BEAMK12(3.0e4, 2.0e4, 5.0, 7.0, 2.0, 900.0, 0, b);
    EXPECT_EQ(a, b);
    for (int i = 1; i <= 12; ++i)
        for (int j = 1; j <= 12; ++j) EXPECT_EQ(k12(a, i, j), k12(a, j, i)) << i << "," << j;
    EXPECT_DOUBLE_EQ(k12(a, 2, 2), 12 * 3.0e4 / 8.0);
    EXPECT_DOUBLE_EQ(k12(a, 6, 12), 2 * 3.0e4 / 2.0);
}

// A bar turned rigidly through a small angle theta under a compression P is held by the compression
// itself, turned with the bar: at each end a force P theta across the axis (pushing node a back
// towards the old axis, node b the other way) and no end moment. Node a lies below node b, so with v
// along y and the pile axis x downward, a rigid turn theta about z moves b by -L theta relative to a.
// (A translational term P / L in place of 6 P / 5 L would leave 0.8 P theta.)
TEST(BeamElement, AxialForceTermsBalanceARigidTurn) {
    const double L = 2.0, P = 1000.0, theta = 1e-3;
    Mat12 K{};
    BEAMK12(0.0, 0.0, 0.0, 0.0, L, P, 1, K);
    std::array<double, 12> u{};
    u[5] = theta;          // rotation about z of node a
    u[11] = theta;         // and of node b
    u[7] = -L * theta;     // v of node b
    std::array<double, 12> f{};
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j) f[static_cast<std::size_t>(i)] += k12(K, i + 1, j + 1) * u[static_cast<std::size_t>(j)];
    EXPECT_NEAR(f[1], -P * theta, 1e-9);
    EXPECT_NEAR(f[7], P * theta, 1e-9);
    EXPECT_NEAR(f[5], 0.0, 1e-9);
    EXPECT_NEAR(f[11], 0.0, 1e-9);
}

TEST(Condensation, SchurComplementAndAZeroPivotLeftOut) {
    // [[4, 2], [2, 3]] onto the last unknown: 3 - 2 * 2 / 4.
    double A[4] = {4.0, 2.0, 2.0, 3.0};
    double B[1] = {0.0};
    int flag = -1;
    CONDENS(A, B, 2, 1, flag);
    EXPECT_EQ(flag, 0);
    EXPECT_DOUBLE_EQ(B[0], 2.0);
    // An unknown with nothing on its row and column: left out, the rest condenses as if it were absent.
    double C[9] = {0.0, 0.0, 0.0, 0.0, 4.0, 2.0, 0.0, 2.0, 3.0};
    CONDENS(C, B, 3, 1, flag);
    EXPECT_EQ(flag, 1);
    EXPECT_DOUBLE_EQ(B[0], 2.0);
}

struct Chain {
    int n;
    double h;
    std::vector<double> ei, spring;
};

Chain uniformChain(int n, double h, double ei, double es) {
    Chain c{n, h, std::vector<double>(static_cast<std::size_t>(n + 1), ei), std::vector<double>(static_cast<std::size_t>(n + 1), es * h)};
    c.spring.front() *= 0.5;
    c.spring.back() *= 0.5;
    return c;
}

Mat6 condensed(const Chain& c, CondensNotes& notes, double P = 0.0, int axial = 0) {
    Mat6 K{};
    condensePile(c.n, c.h, c.ei.data(), c.ei.data(), c.spring.data(), P, axial, K, notes);
    return K;
}

// A long pile on uniform springs Es per length: the head of a beam on an elastic foundation, with
// beta = (Es / 4 EI)^(1/4): lateral 4 EI beta^3, coupling 2 EI beta^2 (about z; opposite about y, whose
// rotation turns w the other way), rotation 2 EI beta. The lumped springs and the elements differ from
// the continuous beam by terms of order (beta h)^2, here 0.45 %.
TEST(Condensation, LongPileOnSpringsGivesTheBeamOnElasticFoundationHead) {
    const double ei = 2.0e5, es = 1.0e4, h = 0.2;
    const Chain c = uniformChain(100, h, ei, es);
    CondensNotes notes;
    const Mat6 K = condensed(c, notes);
    const double beta = std::pow(es / (4 * ei), 0.25);
    const double tol = std::pow(beta * h, 2);
    EXPECT_NEAR(k6(K, 2, 2), 4 * ei * std::pow(beta, 3), tol * 4 * ei * std::pow(beta, 3));
    EXPECT_NEAR(k6(K, 3, 3), 4 * ei * std::pow(beta, 3), tol * 4 * ei * std::pow(beta, 3));
    EXPECT_NEAR(k6(K, 2, 6), 2 * ei * beta * beta, tol * 2 * ei * beta * beta);
    EXPECT_NEAR(k6(K, 3, 5), -2 * ei * beta * beta, tol * 2 * ei * beta * beta);
    EXPECT_NEAR(k6(K, 6, 6), 2 * ei * beta, tol * 2 * ei * beta);
    EXPECT_NEAR(k6(K, 5, 5), 2 * ei * beta, tol * 2 * ei * beta);
    EXPECT_EQ(notes.zeroPivots, 0);

    // The plane chain is the same pile restricted to u, v and the rotation.
    Mat3 K2{};
    condensePile2D(c.n, c.h, c.ei.data(), c.spring.data(), 0.0, 0, K2, notes);
    EXPECT_NEAR(k3(K2, 2, 2), k6(K, 2, 2), 1e-9 * k6(K, 2, 2));
    EXPECT_NEAR(k3(K2, 2, 3), k6(K, 2, 6), 1e-9 * k6(K, 6, 6));
    EXPECT_NEAR(k3(K2, 3, 3), k6(K, 6, 6), 1e-9 * k6(K, 6, 6));
}

// Without springs the pile floats: nothing resists a lateral movement of its head. With a spring on the
// head node alone, the head takes exactly that spring and the pile turns freely below it.
TEST(Condensation, NoSpringsAndAHeadSpringOnly) {
    Chain c = uniformChain(20, 0.5, 3.0e4, 0.0);
    CondensNotes notes;
    Mat6 K = condensed(c, notes);
    const double scale = 12 * 3.0e4 / std::pow(0.5, 3);
    for (int i : {2, 3, 5, 6})
        for (int j : {2, 3, 5, 6}) EXPECT_NEAR(k6(K, i, j), 0.0, 1e-8 * scale) << i << "," << j;
    c.spring.front() = 250.0;
    K = condensed(c, notes);
    EXPECT_NEAR(k6(K, 2, 2), 250.0, 1e-8 * scale);
    EXPECT_NEAR(k6(K, 3, 3), 250.0, 1e-8 * scale);
    EXPECT_NEAR(k6(K, 6, 6), 0.0, 1e-8 * scale);
    EXPECT_EQ(notes.zeroPivots, 0);
}

// A tip element without bending stiffness and without a tip spring leaves the tip's lateral unknowns
// unrestrained: they alone are left out. The head stiffness is then that of the pile above, the spring
// of the node above that element included.
TEST(Condensation, AnUnrestrainedTipIsLeftOutAndTheRestKept) {
    Chain c = uniformChain(10, 0.5, 3.0e4, 2000.0);
    c.ei[10] = 0.0;
    c.ei[9] = 0.0;  // the last element's mean rigidity is 0
    c.spring[10] = 0.0;
    CondensNotes notes;
    const Mat6 K = condensed(c, notes);
    EXPECT_EQ(notes.zeroPivots, 4);  // v, w and the two rotations of the tip
    EXPECT_EQ(notes.lowestDropped, 10);

    // The same pile cut above that element: nine elements, node 9 keeps its spring of a full increment.
    Chain top = uniformChain(9, 0.5, 3.0e4, 2000.0);
    top.spring[9] = 2000.0 * 0.5;
    top.ei[9] = 0.0;  // node 9's own rigidity enters the mean of element 9 as before
    CondensNotes none;
    const Mat6 T = condensed(top, none);
    for (int i = 2; i <= 6; ++i)
        for (int j = 2; j <= 6; ++j)
            if (i != 4 && j != 4) EXPECT_NEAR(k6(K, i, j), k6(T, i, j), 1e-9 * std::fabs(k6(T, 6, 6))) << i << "," << j;
    EXPECT_GT(k6(K, 2, 2), 0.0);
}

// The head connections: pinned releases the rotation, a spring of 0 is pinned, a spring puts the
// rotation in series, other codes leave the matrix. A rotation without stiffness released: its row and
// column become zero and the rest stays.
TEST(HeadConnection, PinnedSpringFixedAndARotationWithoutStiffness) {
    const Mat3 K0{300.0, 0.0, 0.0, 0.0, 40.0, 60.0, 0.0, 60.0, 200.0};
    struct Case {
        int code;
        double spring;
        double k22, k23, k33;
    };
    const Case cases[] = {
        {1, 0.0, 40.0 - 60.0 * 60.0 / 200.0, 0.0, 0.0},
        {3, 0.0, 40.0 - 60.0 * 60.0 / 200.0, 0.0, 0.0},
        {3, 100.0, 40.0 - 60.0 * 60.0 / 300.0, 60.0 - 60.0 * 200.0 / 300.0, 200.0 - 200.0 * 200.0 / 300.0},
        {2, 0.0, 40.0, 60.0, 200.0},
        {0, 0.0, 40.0, 60.0, 200.0},
    };
    for (const Case& c : cases) {
        Mat3 K = K0;
        CondensNotes notes;
        headConnection(K.data(), 3, 3, c.code, c.spring, 1000.0, notes);
        EXPECT_NEAR(k3(K, 2, 2), c.k22, 1e-12) << c.code << " " << c.spring;
        EXPECT_NEAR(k3(K, 2, 3), c.k23, 1e-12) << c.code << " " << c.spring;
        EXPECT_NEAR(k3(K, 3, 2), c.k23, 1e-12) << c.code << " " << c.spring;
        EXPECT_NEAR(k3(K, 3, 3), c.k33, 1e-12) << c.code << " " << c.spring;
        EXPECT_EQ(k3(K, 1, 1), 300.0);
        EXPECT_EQ(notes.emptyReleases, 0);
    }
    Mat3 K{300.0, 0.0, 0.0, 0.0, 40.0, 0.0, 0.0, 0.0, 0.0};
    CondensNotes notes;
    headConnection(K.data(), 3, 3, 1, 0.0, 1000.0, notes);
    EXPECT_EQ(notes.emptyReleases, 1);
    EXPECT_EQ(k3(K, 2, 2), 40.0);
    EXPECT_EQ(k3(K, 1, 1), 300.0);
    for (double v : K) EXPECT_TRUE(std::isfinite(v));
}

// The interpolation of the next load factor from the history of (displacement, factor) pairs.
TEST(TargetFactor, InterpolatesExtrapolatesAndSortsInTheNewestPair) {
    struct Case {
        std::vector<std::pair<double, double>> history;  // (displacement, factor), oldest first
        double target, factor;
    };
    const Case cases[] = {
        {{}, 5.0, 0.0},
        {{{0.3, 0.7}}, 5.0, 1.0},
        {{{0.0, 0.0}, {2.0, 1.0}}, 1.0, 0.5},
        {{{0.0, 0.0}, {2.0, 1.0}}, 3.0, 1.5},
        {{{0.0, 0.0}, {2.0, 1.0}}, -1.0, -0.5},
        // The newest pair has the smallest factor: it moves to the front, and (1, 0.5), (2, 1) bracket 1.5.
        {{{1.0, 0.5}, {2.0, 1.0}, {0.0, 0.0}}, 1.5, 0.75},
    };
    for (const Case& c : cases) {
        EQSEST = EqsEst{};
        EQSEST.EQSNH = static_cast<int>(c.history.size());
        for (int k = 1; k <= EQSEST.EQSNH; ++k) {
            EQSEST.EQSHD(k) = c.history[static_cast<std::size_t>(k - 1)].first;
            EQSEST.EQSHF(k) = c.history[static_cast<std::size_t>(k - 1)].second;
        }
        EQSEST.EQSDTGT = c.target;
        TGTFACT();
        EXPECT_DOUBLE_EQ(EQSEST.EQSFAC, c.factor) << c.target << " after " << c.history.size() << " pairs";
        EXPECT_EQ(EQSEST.EQSFLAT, 0);
    }
    EXPECT_DOUBLE_EQ(EQSEST.EQSHF(1), 0.0);
    EXPECT_DOUBLE_EQ(EQSEST.EQSHF(2), 0.5);
    EXPECT_DOUBLE_EQ(EQSEST.EQSHF(3), 1.0);
}

// Two bracketing pairs at one displacement: no slope, no division; the newest factor is kept and the
// driver is told to stop there.
TEST(TargetFactor, BracketingPairsAtOneDisplacementKeepTheNewestFactor) {
    EQSEST = EqsEst{};
    EQSEST.EQSNH = 2;
    EQSEST.EQSHD(1) = 0.0;
    EQSEST.EQSHF(1) = 0.0;
    EQSEST.EQSHD(2) = 0.0;
    EQSEST.EQSHF(2) = 1.0;
    EQSEST.EQSDTGT = 0.01;
    TGTFACT();
    EXPECT_EQ(EQSEST.EQSFLAT, 1);
    EXPECT_DOUBLE_EQ(EQSEST.EQSFAC, 1.0);
}

// The test of a solution against its target: within the tolerance the point is accepted, outside it
// goes on, the last solution is kept whatever its error, and a target of zero is kept with a warning.
TEST(TargetTest, ToleranceLastSolutionAndAZeroTarget) {
    WorkDir dir;
    ASSERT_TRUE(io::unit(RUNTIME_UNIT).open((dir / "rt.txt").string(), io::Mode::Write));
    struct Case {
        int state;
        double target, computed;
        bool missed;
        int after;
    };
    const Case cases[] = {
        {EST_TEST, 0.010, 0.01005, false, EST_ACCEPTED},  // 0.5 % within 1 %
        {EST_TEST, 0.010, 0.0102, true, EST_TEST},        // 2 % outside
        {EST_LAST, 0.010, 0.0102, false, EST_LAST},
        {EST_LEVEL, 0.0, 0.0102, false, EST_ACCEPTED},
        {EST_TEST, 0.0, 0.0003, false, EST_ACCEPTED},
        {EST_LAST, 0.0, 0.0003, false, EST_LAST},
    };
    for (const Case& c : cases) {
        EQSEST = EqsEst{};
        EQSEST.EQSSTATE = c.state;
        EQSEST.EQSDTGT = c.target;
        EQSEST.EQSTOL = 1.0;
        EXPECT_EQ(targetMissed(c.computed), c.missed) << c.state << " " << c.target;
        EXPECT_EQ(EQSEST.EQSSTATE, c.after) << c.state << " " << c.target;
        EXPECT_DOUBLE_EQ(EQSEST.EQSDCMP, c.computed);
    }
    io::unit(RUNTIME_UNIT).close();
    const std::string rt = dir.read("rt.txt");
    EXPECT_NE(rt.find("ERROR(%):      2.0000"), std::string::npos) << rt;
    EXPECT_NE(rt.find(" MAX. ITER. REACHED, "), std::string::npos) << rt;
    EXPECT_NE(rt.find("TARGET DEFLECTION IS ZERO, ITS ERROR CANNOT BE MEASURED: THE SOLUTION IS KEPT"),
              std::string::npos)
        << rt;
    EXPECT_EQ(rt.find("NaN"), std::string::npos) << rt;
    EXPECT_EQ(rt.find("Inf"), std::string::npos) << rt;
}

// The scratch file as the group solution writes it, read back: the head values, and each node's
// lateral secant stiffness times its tributary length (half an increment at the head and the tip); in
// three dimensions the stiffer of the two planes.
class Scratch : public ::testing::Test {
protected:
    void SetUp() override {
        resetAllBlocks();
        PILE.NPILES = 2;
        PILE.PSETNO(1) = 1;
        PILE.PSETNO(2) = 2;
        PILESET.NINC(1) = 3;
        PILESET.NINC(2) = 1;
        for (int p = 1; p <= 2; ++p) {
            const int n = PILESET.NINC(p);
            const double h = 2.5 * p;
            EQSSOL(1, p) = 100.0 * p;
            EQSSOL(2, p) = 1.0e5 * p;
            EQSSOL(3, p) = plane() ? h : 3.0e3 * p;
            EQSSOL(4, p) = h;
            for (int s = 4; s <= n + 4; ++s) {
                EQSSOL(4 + s, p) = (s - 4) * h;
                EQSSOL(111 + s, p) = 10.0 * s + p;
                EQSSOL(218 + s, p) = s == 5 ? 1.0e3 : 1.0;
            }
        }
    }
    virtual bool plane() const { return false; }
    void write() {
        io::Unit& u = io::unit(EQSTIFF_UNIT);
        ASSERT_TRUE(u.open((dir / "eqs.txt").string(), io::Mode::Write));
        u.line() << "LOAD CASE : " << io::I(5, 1);
        u.line() << "     * EQV. STIFFNESS MATRIX AT ORIGIN *";
        for (int i = 0; i < (plane() ? 3 : 6); ++i) u.line() << "     1.0 2.0 3.0";
        if (plane())
            EQSTF2D();
        else
            EQSTIFWR();
        u.close();
        ASSERT_TRUE(u.open((dir / "eqs.txt").string(), io::Mode::Read));
    }
    WorkDir dir;
};

TEST_F(Scratch, ThreeDimensionalTablesReadBack) {
    CTLIN.ANTYPE = 3;
    write();
    EQSTIFRD();
    EXPECT_FALSE(io::unit(EQSTIFF_UNIT).isOpen());
    EXPECT_DOUBLE_EQ(EQSRD.EQSPHEAD(2), 200.0);
    EXPECT_DOUBLE_EQ(EQSRD.EQSKAX(2), 2.0e5);
    EXPECT_DOUBLE_EQ(EQSRD.EQSKT(1), 3.0e3);
    // Pile 1: h = 2.5, nodes at slots 4..7; node slot 5 is stiffer in z.
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(1, 1), 41.0 * 1.25);
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(2, 1), 1.0e3 * 2.5);
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(3, 1), 61.0 * 2.5);
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(4, 1), 71.0 * 1.25);
    // Pile 2: one increment of 5.0, two nodes of half an increment each.
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(1, 2), 42.0 * 2.5);
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(2, 2), 1.0e3 * 2.5);
    double values[4] = {};
    PNODVAL(1, values);
    EXPECT_DOUBLE_EQ(values[3], 71.0 * 1.25);
}

class PlaneScratch : public Scratch {
    bool plane() const override { return true; }
};

TEST_F(PlaneScratch, PlaneTablesReadBack) {
    CTLIN.ANTYPE = 2;
    write();
    EQSTIFRD();
    EXPECT_DOUBLE_EQ(EQSRD.EQSKAX(1), 1.0e5);
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(2, 1), 51.0 * 2.5);  // the y value: the plane has no other
    EXPECT_DOUBLE_EQ(EQSRD.EQSSPRING(2, 2), 52.0 * 2.5);
}

// A scratch file that does not hold what was written ends the run with its own status.
TEST_F(Scratch, AShortOrDamagedFileEndsTheRun) {
    CTLIN.ANTYPE = 3;
    write();
    io::unit(EQSTIFF_UNIT).close();
    std::string text = dir.read("eqs.txt");
    for (const std::string& damaged : {text.substr(0, text.size() / 2), text.substr(0, text.rfind("*")) + "* x\n 1.0 abc 2.0\n"}) {
        dir.write("eqs.txt", damaged);
        ASSERT_TRUE(io::unit(EQSTIFF_UNIT).open((dir / "eqs.txt").string(), io::Mode::Read));
        try {
            EQSTIFRD();
            ADD_FAILURE() << "read past what was written";
        } catch (const FileFault& f) {
            EXPECT_EQ(f.code(), ST_SCRATCHREAD);
            EXPECT_NE(std::string(f.what()).find("equivalent stiffness scratch file"), std::string::npos);
        }
        io::unit(EQSTIFF_UNIT).close();
    }
}

}  // namespace
}  // namespace kaldo::test
