// End to end: the rigid-cap group solution on linear inputs, held against hand calculations.
//
// The inputs of tests/e2e/linear are SI runs of one elastic pile type: D = 500 mm, E = 2.0E8 kPa,
// I = 1.0E9 mm4 (Iy = 1.6E9 mm4 in single-fixed.inp), 20 m long in 100 increments, in one
// elastic-subgrade layer of k = 20000 kN/m3 without strength cap. The axial and the torque-rotation
// curves are straight lines through the origin given as user curves. Every response is then linear and
// its value follows from statics of the rigid cap or from the closed form of a long beam on an elastic
// foundation. The numbers are read from the results report (.out) that the kaldo host writes.
//
// The pile heads stand 0.5 m below the ground surface. A node at the ground surface counts as above it
// and gets no soil spring, which leaves out the soil of half an increment at the head (about 7 % of the
// head deflection here, an error of order beta h); with the head below the ground the head node carries
// its spring and the finite differences approach the beam on an elastic foundation to order (beta h)^2.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/hostrun.h"
#include "support/results.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

// Hand values of the inputs.
constexpr double AXIAL_K = 10000.0 / 0.1;    // kN/m: the axial curve passes (0.1 m, 10000 kN)
constexpr double SOIL_ES = 20000.0 * 0.5;    // kN/m2: subgrade modulus k times the diameter b
constexpr double YOUNG = 2.0e8;              // kPa
constexpr double INERTIA = 1.0e-3;           // m4 (1.0E9 mm4), about both axes
constexpr double INERTIA_Y_SINGLE = 1.6e-3;  // m4: single-fixed.inp makes Iy larger than Iz
constexpr double PILE_LENGTH = 20.0;         // m
constexpr double STEP = PILE_LENGTH / 100;   // m: the increment length of the finite differences

// The reports print forces with 5 and displacements with 5 or 6 significant digits.
constexpr double PRINTED = 2e-4;
// Components that the symmetry of a case makes zero; the solution leaves round-off of about 1e-14 kN
// and 1e-18 m.
constexpr double ZERO_FORCE = 1e-6;  // kN, kN-m
constexpr double ZERO_DISP = 1e-12;  // m, rad

enum { X, Y, Z, RX, RY, RZ };

std::vector<CaseResults> runLinear(const std::string& stem, size_t cases) {
    WorkDir dir;
    fs::copy_file(fs::path(KALDO_LINEAR_DIR) / (stem + ".inp"), dir / (stem + ".inp"));
    HostOutcome run = runHostIn(dir, stem + ".inp");
    EXPECT_EQ(run.exit, 0) << stem << "\n" << run.out << dir.read(stem + ".run");
    std::vector<CaseResults> results = readResults(dir.read(stem + ".out"));
    EXPECT_EQ(results.size(), cases) << stem;
    return results;
}

// The closed form of a long beam on an elastic foundation loaded by a head force H with a free head:
// head deflection 2 H beta / Es and head slope 2 H beta^2 / Es, beta = (Es / 4EI)^(1/4).
struct FreeHead {
    double beta, deflection, slope, tolerance;
};
FreeHead freeHead(double force, double ei) {
    double beta = std::pow(SOIL_ES / (4.0 * ei), 0.25);
    EXPECT_GT(beta * PILE_LENGTH, 4.0) << "the pile must be long for the closed form to hold";
    // The finite differences of the pile are second order: their error is of order (beta h)^2.
    return {beta, 2.0 * force * beta / SOIL_ES, 2.0 * force * beta * beta / SOIL_ES, std::pow(beta * STEP, 2)};
}

// A 2 x 2 and a 3 x 3 group of identical fixed-head piles at equal spacing under a vertical load at the
// centre: each pile takes V/n, the cap settles by V/(n k) and neither turns nor sways.
TEST(LinearGroup, SymmetricGroupsShareACentralLoadEqually) {
    struct Case {
        const char* stem;
        int piles;
        double load;  // kN
    };
    for (const Case& c : {Case{"square-2x2", 4, 4000.0}, Case{"square-3x3", 9, 9000.0}}) {
        SCOPED_TRACE(c.stem);
        std::vector<CaseResults> results = runLinear(c.stem, 1);
        if (results.empty()) continue;
        const CaseResults& r = results[0];
        const double share = c.load / c.piles;
        const double settlement = share / AXIAL_K;
        EXPECT_NEAR(r.capLoad[X], c.load, PRINTED * c.load);
        EXPECT_NEAR(r.capDisp[X], settlement, PRINTED * settlement);
        for (int k : {Y, Z, RX, RY, RZ}) EXPECT_NEAR(r.capDisp[k], 0.0, ZERO_DISP) << "cap component " << k;
        ASSERT_EQ(r.piles.size(), static_cast<size_t>(c.piles));
        for (const PileTop& p : r.piles) {
            SCOPED_TRACE("pile " + std::to_string(p.pile));
            EXPECT_NEAR(p.globalForce[X], share, PRINTED * share);
            EXPECT_NEAR(p.localForce[X], share, PRINTED * share);
            EXPECT_NEAR(p.globalDisp[X], settlement, PRINTED * settlement);
            for (int k : {Y, Z, RX, RY, RZ}) {
                EXPECT_NEAR(p.globalForce[k], 0.0, ZERO_FORCE) << "component " << k;
                EXPECT_NEAR(p.globalDisp[k], 0.0, ZERO_DISP) << "component " << k;
            }
        }
    }
}

// Six pinned-head piles at y = -2, 0, 2 m and z = -1, 1 m (pinned-3x2.inp, piles in that order).
class LinearPinnedGroup : public testing::Test {
protected:
    static void SetUpTestSuite() { results_ = new std::vector<CaseResults>(runLinear("pinned-3x2", 2)); }
    static void TearDownTestSuite() {
        delete results_;
        results_ = nullptr;
    }
    static const double PY[6], PZ[6];
    static std::vector<CaseResults>* results_;
};
const double LinearPinnedGroup::PY[6] = {-2.0, 0.0, 2.0, -2.0, 0.0, 2.0};
const double LinearPinnedGroup::PZ[6] = {-1.0, -1.0, -1.0, 1.0, 1.0, 1.0};
std::vector<CaseResults>* LinearPinnedGroup::results_ = nullptr;

// Vertical load V with moments My and Mz at the origin: the cap turns as a rigid body on equal axial
// springs, so pile i takes V/n - Mz y_i / sum y^2 + My z_i / sum z^2 (X points down: a positive moment
// about Z lifts the +Y side, one about Y pushes the +Z side down), and the cap turns by My / (k sum z^2)
// and Mz / (k sum y^2). Pinned heads carry no moment and no torque.
TEST_F(LinearPinnedGroup, AxialForcesFollowTheLeverArms) {
    ASSERT_GE(results_->size(), 1u);
    const CaseResults& r = (*results_)[0];
    const double v = 6000.0, mz = 1600.0, my = 600.0;
    double sumY2 = 0.0, sumZ2 = 0.0;
    for (int i = 0; i < 6; ++i) {
        sumY2 += PY[i] * PY[i];
        sumZ2 += PZ[i] * PZ[i];
    }
    EXPECT_NEAR(r.capLoad[RY], my, PRINTED * my);
    EXPECT_NEAR(r.capLoad[RZ], mz, PRINTED * mz);
    EXPECT_NEAR(r.capDisp[X], v / 6 / AXIAL_K, PRINTED * v / 6 / AXIAL_K);
    EXPECT_NEAR(r.capDisp[RY], my / (AXIAL_K * sumZ2), PRINTED * my / (AXIAL_K * sumZ2));
    EXPECT_NEAR(r.capDisp[RZ], mz / (AXIAL_K * sumY2), PRINTED * mz / (AXIAL_K * sumY2));
    for (int k : {Y, Z, RX}) EXPECT_NEAR(r.capDisp[k], 0.0, ZERO_DISP) << "cap component " << k;
    ASSERT_EQ(r.piles.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const PileTop& p = r.piles[i];
        SCOPED_TRACE("pile " + std::to_string(p.pile));
        const double axial = v / 6 - mz * PY[i] / sumY2 + my * PZ[i] / sumZ2;
        EXPECT_NEAR(p.localForce[X], axial, PRINTED * axial);
        EXPECT_NEAR(p.globalDisp[X], axial / AXIAL_K, PRINTED * axial / AXIAL_K);
        for (int k : {Y, Z, RX, RY, RZ}) EXPECT_NEAR(p.localForce[k], 0.0, ZERO_FORCE) << "component " << k;
    }
}

// Lateral loads Hy and Hz at the level of the pinned heads: each pile takes H/n in each direction and
// deflects as a free-head pile under that force, the cap neither settles nor turns.
TEST_F(LinearPinnedGroup, LateralLoadIsSharedEqually) {
    ASSERT_GE(results_->size(), 2u);
    const CaseResults& r = (*results_)[1];
    const double hy = 600.0 / 6, hz = 300.0 / 6;
    FreeHead alongY = freeHead(hy, YOUNG * INERTIA), alongZ = freeHead(hz, YOUNG * INERTIA);
    EXPECT_NEAR(r.capDisp[Y], alongY.deflection, alongY.tolerance * alongY.deflection);
    EXPECT_NEAR(r.capDisp[Z], alongZ.deflection, alongZ.tolerance * alongZ.deflection);
    for (int k : {X, RX, RY, RZ}) EXPECT_NEAR(r.capDisp[k], 0.0, ZERO_DISP) << "cap component " << k;
    ASSERT_EQ(r.piles.size(), 6u);
    for (const PileTop& p : r.piles) {
        SCOPED_TRACE("pile " + std::to_string(p.pile));
        EXPECT_NEAR(p.globalForce[Y], hy, PRINTED * hy);
        EXPECT_NEAR(p.globalForce[Z], hz, PRINTED * hz);
        for (int k : {X, RX, RY, RZ}) EXPECT_NEAR(p.globalForce[k], 0.0, ZERO_FORCE) << "component " << k;
    }
}

// One fixed-head pile at the origin (single-fixed.inp): a lateral load along Y, one along Z, and a
// vertical load with a torque.
class LinearSinglePile : public testing::Test {
protected:
    static void SetUpTestSuite() { results_ = new std::vector<CaseResults>(runLinear("single-fixed", 3)); }
    static void TearDownTestSuite() {
        delete results_;
        results_ = nullptr;
    }
    static std::vector<CaseResults>* results_;
};
std::vector<CaseResults>* LinearSinglePile::results_ = nullptr;

// With nothing else to hold the cap, the head moment of the fixed head must vanish, so the pile answers
// a lateral force as a free-head pile and the cap turns with the head slope. Along Y the pile bends
// about its z axis (Iz), along Z about its y axis (Iy). X points down, so a point below the head moves
// by (rotation about Z) x depth along Y and by -(rotation about Y) x depth along Z; the deflection falls
// off with depth, so a push along +Y turns the cap negatively about Z and a push along +Z positively
// about Y.
TEST_F(LinearSinglePile, UnderAFreeCapActsAsAFreeHead) {
    struct Case {
        int along, turn;
        double inertia, sign;
    };
    const double h = 100.0;
    const Case cases[] = {{Y, RZ, INERTIA, -1.0}, {Z, RY, INERTIA_Y_SINGLE, +1.0}};
    for (size_t c = 0; c < results_->size() && c < 2; ++c) {
        SCOPED_TRACE("load case " + std::to_string(c + 1));
        const Case& k = cases[c];
        const CaseResults& r = (*results_)[c];
        FreeHead f = freeHead(h, YOUNG * k.inertia);
        EXPECT_NEAR(r.capLoad[k.along], h, PRINTED * h);
        EXPECT_NEAR(r.capDisp[k.along], f.deflection, f.tolerance * f.deflection);
        EXPECT_NEAR(r.capDisp[k.turn], k.sign * f.slope, f.tolerance * f.slope);
        ASSERT_EQ(r.piles.size(), 1u);
        const PileTop& p = r.piles[0];
        EXPECT_NEAR(p.globalForce[k.along], h, PRINTED * h);
        // The head moment of the fixed head is zero against the scale H / beta of the moments along it.
        for (int m : {RY, RZ}) EXPECT_NEAR(p.localForce[m], 0.0, 1e-6 * h / f.beta) << "moment " << m;
        EXPECT_NEAR(p.globalDisp[k.turn], r.capDisp[k.turn], PRINTED * f.slope);
    }
}

// A vertical load and a torque on the pile's axis: the cap settles by V / k on the axial line and
// twists by T / kt on the torque line (10000 kN-m at 1 rad), without sway or tilt.
TEST_F(LinearSinglePile, SettlesAndTwistsOnItsStraightCurves) {
    ASSERT_GE(results_->size(), 3u);
    const CaseResults& r = (*results_)[2];
    const double v = 1000.0, t = 500.0, torsionK = 10000.0 / 1.0;
    EXPECT_NEAR(r.capDisp[X], v / AXIAL_K, PRINTED * v / AXIAL_K);
    EXPECT_NEAR(r.capDisp[RX], t / torsionK, PRINTED * t / torsionK);
    for (int k : {Y, Z, RY, RZ}) EXPECT_NEAR(r.capDisp[k], 0.0, ZERO_DISP) << "cap component " << k;
    ASSERT_EQ(r.piles.size(), 1u);
    const PileTop& p = r.piles[0];
    EXPECT_NEAR(p.localForce[X], v, PRINTED * v);
    EXPECT_NEAR(p.localForce[RX], t, PRINTED * t);
    for (int k : {Y, Z, RY, RZ}) EXPECT_NEAR(p.localForce[k], 0.0, ZERO_FORCE) << "component " << k;
}

}  // namespace
}  // namespace kaldo::test
