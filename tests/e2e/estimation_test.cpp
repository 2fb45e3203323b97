// End to end: the equivalent stiffness of a pile group at the cap origin on linear inputs, held against
// statics of the rigid cap and the closed form of a long beam on an elastic foundation; a battered
// pile's transform by hand; a target-deflection case; thread requests 1 and 8; the inputs a
// target-deflection case refuses.
//
// The inputs of tests/e2e/linear/estimation-*.inp use the elastic pile and soil of the other linear
// inputs (group_linear_test.cpp): D = 500 mm, EI = 2.0E5 kN-m2 about both axes, 20 m in 100 increments,
// elastic subgrade Es = k b = 10000 kN/m2 along the whole pile (heads 0.5 m below the ground), straight
// axial curve 100000 kN/m and torque curve 10000 kN-m/rad. A linear pile's secant stiffnesses are its
// stiffnesses, so the matrix at the origin is exact statics but for the discretisation of the lateral
// springs: beta = (Es / 4 EI)^(1/4) = 0.334 /m and beta h = 0.067, whose square (0.45 %) bounds the
// difference from the continuous beam.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/hostrun.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

constexpr double AXIAL_K = 1.0e5;    // kN/m
constexpr double TORSION_K = 1.0e4;  // kN-m/rad
constexpr double EI = 2.0e5;         // kN-m2
constexpr double ES = 1.0e4;         // kN/m2
constexpr double STEP = 0.2;         // m
// The matrices are read from the stiffness estimation log, printed with 5 significant digits.
constexpr double PRINTED = 1e-5;

struct Head {
    double beta, lateral, coupling, rotation, tolerance;
};
Head beamOnFoundation() {
    const double b = std::pow(ES / (4 * EI), 0.25);
    return {b, 4 * EI * b * b * b, 2 * EI * b * b, 2 * EI * b, std::pow(b * STEP, 2)};
}

std::string linearInput(const std::string& stem) { return WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / (stem + ".inp")); }

// The run's matrices in the order of its points, from the stiffness estimation log.
std::vector<std::vector<std::vector<double>>> matrices(const std::string& log, int n) {
    std::vector<std::vector<std::vector<double>>> out;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("* EQV. STIFFNESS MATRIX AT ORIGIN *") == std::string::npos) continue;
        std::vector<std::vector<double>> m;
        for (int i = 0; i < n && std::getline(in, line); ++i) {
            std::istringstream row(line);
            std::vector<double> r;
            double v;
            while (row >> v) r.push_back(v);
            EXPECT_EQ(r.size(), static_cast<std::size_t>(n)) << line;
            m.push_back(r);
        }
        out.push_back(m);
    }
    return out;
}

struct HostJob {
    WorkDir dir;
    HostOutcome host;
    std::string read(const std::string& ext) const { return dir.read("job" + ext); }
};

void run(HostJob& r, const std::string& input) {
    r.dir.write("job.inp", input);
    r.host = runHostIn(r.dir, "job.inp");
}

// Runs the linear input and returns its one matrix (n x n).
std::vector<std::vector<double>> onlyMatrix(HostJob& r, const std::string& stem, int n) {
    run(r, linearInput(stem));
    EXPECT_EQ(r.host.exit, 0) << r.host.out << r.read(".run");
    const auto K = matrices(r.read(".sel"), n);
    EXPECT_EQ(K.size(), 1u);
    return K.empty() ? std::vector<std::vector<double>>(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n))) : K[0];
}

void near(double got, double want, double rel, const std::string& what) {
    EXPECT_NEAR(got, want, rel * std::fabs(want) + 1e-6) << what;
}

// Four identical vertical piles at (Y, Z) = (+-1.5, +-1.5) m: vertical n k, lateral n times the head of a
// beam on an elastic foundation with its coupling to the rotations, torsion n (kt + k_lat r^2) and the
// overturning stiffness k sum z^2 + n k_rot.
// The terms of the 2 x 2 group's cap stiffness that hand statics and the beam on an elastic foundation
// give: axial, lateral, lateral with rotation, twist and rocking.
template <class Matrix>
void fourPilesByStatics(const Matrix& k) {
    const Head h = beamOnFoundation();
    const double n = 4, r2 = 1.5 * 1.5;
    near(k[0][0], n * AXIAL_K, PRINTED, "vertical");
    near(k[1][1], n * h.lateral, h.tolerance, "lateral Y");
    near(k[2][2], n * h.lateral, h.tolerance, "lateral Z");
    near(k[1][5], n * h.coupling, h.tolerance, "Y with rotation Z");
    near(k[3][3], n * (TORSION_K + h.lateral * 2 * r2), h.tolerance, "rotation X");
    near(k[5][5], AXIAL_K * n * r2 + n * h.rotation, h.tolerance, "rotation Z");
}

TEST(EquivalentStiffness, FourVerticalPilesMatchStatics) {
    HostJob r;
    const auto k = onlyMatrix(r, "estimation-2x2", 6);
    fourPilesByStatics(k);
    const Head h = beamOnFoundation();
    const double n = 4, r2 = 1.5 * 1.5;
    near(k[5][1], n * h.coupling, h.tolerance, "rotation Z with Y");
    near(k[2][4], -n * h.coupling, h.tolerance, "Z with rotation Y");
    near(k[4][4], AXIAL_K * n * r2 + n * h.rotation, h.tolerance, "rotation Y");
    // What symmetry makes zero.
    for (auto [i, j] : {std::pair{0, 1}, {0, 3}, {1, 2}, {1, 3}, {2, 5}, {3, 4}, {4, 5}})
        EXPECT_NEAR(k[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], 0.0, 1e-3) << i << "," << j;

    // The results, summary and pile results files show the same matrix; the pile results unconverted.
    EXPECT_NE(r.read(".out").find("* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *"), std::string::npos);
    EXPECT_NE(r.read(".sum").find("* EQV. STIFFNESS MATRIX AT ORIGIN *"), std::string::npos);
    EXPECT_NE(r.read(".pile").find("    1   N:    1  FACTOR :    1.0000"), std::string::npos);
    // The total load after the points is announced once on the runtime file.
    const std::string rt = r.read(".run");
    EXPECT_NE(rt.find("ANALYSIS DUE TO TOTAL LOAD"), std::string::npos);
    EXPECT_EQ(rt.find("ANALYSIS DUE TO TOTAL LOAD"), rt.rfind("ANALYSIS DUE TO TOTAL LOAD")) << rt;
    // The cap stiffness trace: the case, the point, the piles in order, each with its springs (the head
    // node's half increment: 10000 x 0.1).
    const std::string trace = r.read(".cpt");
    std::size_t at = 0;
    for (const char* piece : {"LOAD CASE=    1     NPOINTS=    1", "POINT=    1", "NPILES=    4", "PILE=    1     NNODES=  101",
                              " 1000.0\n", "PILE=    2", "PILE=    3", "PILE=    4"}) {
        at = trace.find(piece, at);
        ASSERT_NE(at, std::string::npos) << piece << "\n" << trace.substr(0, 400);
    }
}

// The same group with pinned heads: each head is the free head of the beam on an elastic foundation,
// 2 EI beta^3, with no coupling and no rotational stiffness of its own; a pinned head carries no
// torque either, so the group turns about X on the piles' lateral stiffness alone and about Y and Z on
// their axial stiffness alone.
TEST(EquivalentStiffness, PinnedHeadsReleaseTheirRotations) {
    std::string input = linearInput("estimation-2x2");
    const std::string fixed = "2 2 1 0 1 1 0 0 0 0";
    for (std::size_t at = input.find(fixed); at != std::string::npos; at = input.find(fixed, at))
        input.replace(at, 3, "1 1");
    HostJob r;
    run(r, input);
    ASSERT_EQ(r.host.exit, 0) << r.host.out << r.read(".run");
    const auto k = matrices(r.read(".sel"), 6).at(0);
    const Head h = beamOnFoundation();
    const double n = 4, r2 = 1.5 * 1.5, free = h.lateral / 2;
    near(k[0][0], n * AXIAL_K, PRINTED, "vertical");
    near(k[1][1], n * free, h.tolerance, "lateral Y");
    near(k[2][2], n * free, h.tolerance, "lateral Z");
    EXPECT_NEAR(k[1][5], 0.0, 1e-6 * n * h.coupling);
    EXPECT_NEAR(k[2][4], 0.0, 1e-6 * n * h.coupling);
    near(k[3][3], n * free * 2 * r2, h.tolerance, "rotation X");
    near(k[4][4], AXIAL_K * n * r2, h.tolerance, "rotation Y");
    near(k[5][5], AXIAL_K * n * r2, h.tolerance, "rotation Z");
}

// The plane twin: two rows of three piles at Y = +-1.5 m (a row's stiffness is three piles').
TEST(EquivalentStiffness, PlaneRowsMatchStatics) {
    HostJob r;
    const auto k = onlyMatrix(r, "estimation-plane-rows", 3);
    const Head h = beamOnFoundation();
    const double n = 6;
    near(k[0][0], n * AXIAL_K, PRINTED, "vertical");
    near(k[1][1], n * h.lateral, h.tolerance, "lateral");
    near(k[1][2], n * h.coupling, h.tolerance, "lateral with rotation");
    near(k[2][1], n * h.coupling, h.tolerance, "rotation with lateral");
    near(k[2][2], AXIAL_K * n * 1.5 * 1.5 + n * h.rotation, h.tolerance, "rotation");
    EXPECT_NEAR(k[0][1], 0.0, 1e-3);
    EXPECT_NEAR(k[0][2], 0.0, 1e-3);
}

// A group that does not move sideways keeps the lateral stiffness of its soil: under a purely vertical
// load no node deflects, and each takes the modulus the pile's iteration used (the elastic subgrade's
// Es), so the lateral and rocking terms are those of the laterally loaded group.
TEST(EquivalentStiffness, AGroupWithoutLateralLoadKeepsItsLateralStiffness) {
    std::string input = linearInput("estimation-2x2");
    const std::string load = "4000.0 100.0 50.0 80.0 60.0 40.0";
    ASSERT_NE(input.find(load), std::string::npos);
    input.replace(input.find(load), load.size(), "4000.0 0.0 0.0 0.0 0.0 0.0");
    HostJob r;
    run(r, input);
    ASSERT_EQ(r.host.exit, 0) << r.host.out << r.read(".run");
    const auto k = matrices(r.read(".sel"), 6).at(0);
    fourPilesByStatics(k);
    const Head h = beamOnFoundation();
    const double r2 = 1.5 * 1.5;

    // The plane rows under a vertical load alone, and under a lateral load alone on pinned heads (the
    // heads' axial stiffness is then the curve's slope where a pile has not settled).
    std::string plane = linearInput("estimation-plane-rows");
    const std::string planeLoad = "6000.0 150.0 90.0";
    ASSERT_NE(plane.find(planeLoad), std::string::npos);
    std::string vertical = plane;
    vertical.replace(vertical.find(planeLoad), planeLoad.size(), "6000.0 0.0 0.0");
    HostJob rv;
    run(rv, vertical);
    ASSERT_EQ(rv.host.exit, 0) << rv.host.out << rv.read(".run");
    const auto kv = matrices(rv.read(".sel"), 3).at(0);
    near(kv[1][1], 6 * h.lateral, h.tolerance, "plane lateral");
    near(kv[2][2], AXIAL_K * 6 * r2 + 6 * h.rotation, h.tolerance, "plane rotation");
    std::string lateral = plane;
    lateral.replace(lateral.find(planeLoad), planeLoad.size(), "0.0 150.0 0.0");
    HostJob rl;
    run(rl, lateral);
    ASSERT_EQ(rl.host.exit, 0) << rl.host.out << rl.read(".run");
    const auto kl = matrices(rl.read(".sel"), 3).at(0);
    near(kl[0][0], 6 * AXIAL_K, PRINTED, "plane vertical");
}

// One pile at the origin, vertical and then battered 10 degrees towards +Y (BETA 80): the battered
// pile's matrix is the vertical one turned by hand, K_b = T K_v T' with T turning the pile's axis
// (sin 80, cos 80, 0) and its first cross axis (-cos 80, sin 80, 0) into place, on both the forces and
// the moments. The soil is the same along both (uniform, the depths not adjusted for the batter), so the
// pile's own stiffness is the same.
TEST(EquivalentStiffness, BatteredPileIsTheVerticalOneTurned) {
    const std::string vertical = linearInput("estimation-single");
    std::string battered = vertical;
    const std::string from = "0.0 0.0 0.0 0.0 90.0 0.0 -0.5";
    ASSERT_NE(battered.find(from), std::string::npos);
    battered.replace(battered.find(from), from.size(), "0.0 0.0 0.0 0.0 80.0 0.0 -0.5");
    HostJob v, b;
    run(v, vertical);
    run(b, battered);
    ASSERT_EQ(v.host.exit, 0) << v.host.out;
    ASSERT_EQ(b.host.exit, 0) << b.host.out;
    const auto Kv = matrices(v.read(".sel"), 6).at(0);
    const auto Kb = matrices(b.read(".sel"), 6).at(0);
    const double pi = std::acos(-1.0), s = std::sin(80 * pi / 180), c = std::cos(80 * pi / 180);
    const double R[3][3] = {{s, -c, 0}, {c, s, 0}, {0, 0, 1}};
    double T[6][6] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) T[i][j] = T[i + 3][j + 3] = R[i][j];
    double scale = 0.0;
    for (const auto& row : Kv)
        for (double x : row) scale = std::max(scale, std::fabs(x));
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) {
            double want = 0.0;
            for (int p = 0; p < 6; ++p)
                for (int q = 0; q < 6; ++q) want += T[i][p] * Kv[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)] * T[j][q];
            EXPECT_NEAR(Kb[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], want, 2 * PRINTED * scale) << i << "," << j;
        }
    // By hand: the vertical stiffness of the battered pile mixes its axial and lateral stiffnesses.
    near(Kb[0][0], s * s * Kv[0][0] + c * c * Kv[1][1], 2 * PRINTED, "battered vertical");
}

// The foundation stiffness values of a long-form case with one level: basis, controlled degree of
// freedom, the six targets, tolerance, iteration count, axial switch, single-component switch.
std::string estimationValues(double level, int basis, int dof, double target, int targetSlot, double tol, int n) {
    std::ostringstream f;
    f << "13\n" << level << "\n" << basis << "\n" << dof << "\n";
    for (int k = 1; k <= 6; ++k) f << (k == targetSlot ? target : 0.0) << "\n";
    f << tol << "\n" << n << "\n0\n0\n";
    return f.str();
}

std::string withValues(std::string input, const std::string& values) {
    const std::string from = "13\n1.0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n";
    const std::size_t at = input.find(from);
    EXPECT_NE(at, std::string::npos);
    input.replace(at, from.size(), values);
    return input;
}

// A target deflection of 2 mm along Y: the first solution records the origin, the second runs at the
// full load, the third interpolates; on a linear group the third meets the target.
TEST(EquivalentStiffness, TargetDeflectionIsReachedWithinTheTolerance) {
    HostJob r;
    run(r, withValues(linearInput("estimation-2x2"), estimationValues(1.0, 1, 2, 0.002, 2, 1.0, 6)));
    ASSERT_EQ(r.host.exit, 0) << r.host.out << r.read(".run");
    const std::string rt = r.read(".run");
    // Three solutions, the last within 1 %.
    int iterations = 0;
    for (std::size_t at = rt.find("STIFFNESS ESTIMATION, ITER :"); at != std::string::npos;
         at = rt.find("STIFFNESS ESTIMATION, ITER :", at + 1))
        ++iterations;
    EXPECT_EQ(iterations, 3) << rt;
    const std::string out = r.read(".out");
    const std::size_t line = out.find("  DISPLACEMENT Y,  TARGET =");
    ASSERT_NE(line, std::string::npos) << out;
    std::istringstream in(out.substr(line));
    std::string word;
    double target = 0.0, computed = 0.0;
    while (in >> word && word != "=") {
    }
    in >> target;
    while (in >> word && word != "=") {
    }
    in >> computed;
    EXPECT_DOUBLE_EQ(target, 0.002);
    EXPECT_NEAR(computed, target, 0.01 * target);
    EXPECT_EQ(matrices(r.read(".sel"), 6).size(), 1u);
    // The case status file: a missed test, then the accepted solution.
    const std::string cst = r.read(".cst");
    EXPECT_NE(cst.find("    10 ANALYSIS COMPLETED"), std::string::npos) << cst;
}

// The plane rotation's target comes from the sixth target, the one the input echo shows for it.
TEST(EquivalentStiffness, PlaneRotationTargetIsTheOneTheEchoShows) {
    HostJob r;
    run(r, withValues(linearInput("estimation-plane-rows"), estimationValues(1.0, 1, 3, -1.0e-4, 6, 1.0, 6)));
    ASSERT_EQ(r.host.exit, 0) << r.host.out << r.read(".run");
    EXPECT_NE(r.read(".echo").find("ROTATION Z     =  -1.00000E-04"), std::string::npos) << r.read(".echo");
    EXPECT_NE(r.read(".out").find("      ROTATION Z,  TARGET = -1.00000E-04"), std::string::npos) << r.read(".out");
}

// The matrices, the trace and every report are the same with one thread and with eight, in three
// dimensions and in the plane.
TEST(EquivalentStiffness, OneAndEightThreadsGiveTheSameReports) {
    for (const char* stem : {"estimation-2x2", "estimation-plane-rows"}) {
        std::string input = linearInput(stem);
        const std::string from = "0 0 1 1 1 100 100";
        ASSERT_NE(input.find(from), std::string::npos);
        std::string eight = input;
        eight.replace(eight.find(from), from.size(), "0 0 8 1 1 100 100");
        HostJob one, many;
        run(one, input);
        run(many, eight);
        ASSERT_EQ(one.host.exit, 0) << stem;
        ASSERT_EQ(many.host.exit, 0) << stem;
        for (const char* ext : {".sel", ".cpt", ".out", ".sum", ".pile", ".cst"})
            EXPECT_TRUE(maskVolatile(one.read(ext)) == maskVolatile(many.read(ext))) << stem << ext << " differs";
    }
}

// A target-deflection case needs two solutions at least, and the basis is 0 or 1.
TEST(EquivalentStiffness, InputRefusesTargetCasesItCannotRun) {
    struct Case {
        std::string values, says;
    };
    const Case cases[] = {
        {estimationValues(1.0, 1, 2, 0.002, 2, 1.0, 1), "must be at least 2 on the target-deflection basis"},
        {estimationValues(1.0, 2, 2, 0.002, 2, 1.0, 5), "must be 0 (total load) or 1 (target deflection)"},
    };
    for (const Case& c : cases) {
        HostJob r;
        run(r, withValues(linearInput("estimation-2x2"), c.values));
        EXPECT_EQ(r.host.exit, 115) << r.host.out;
        EXPECT_NE(r.read(".run").find(c.says), std::string::npos) << r.read(".run");
    }
}

}  // namespace
}  // namespace kaldo::test
