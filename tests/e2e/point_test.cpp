// End to end: load cases with displacements or loads given at a point of the cap, through the kaldo host,
// held against the statics of the rigid cap on linear piles, and run on one thread and on eight.
//
// tests/cases/point-3d and point-plane are the linear SI models of tests/e2e/linear/pinned-3x2.inp
// (pinned elastic piles on a linear subgrade, straight axial curves of 100000 kN/m through the origin):
// six piles at Y = -2, 0, 2 m and Z = -1, 1 m in three dimensions, three rows at Y = -2, 0, 2 m in the
// plane. Their reports are the expected ones of the case folders; here the numbers are checked by hand.
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

constexpr double AXIAL_K = 100000.0;  // kN/m a pile
constexpr double PRINTED = 2e-4;      // five significant digits
enum { X, Y, Z, RX, RY, RZ };

std::string caseInput(const std::string& name) {
    return WorkDir::readPath(fs::path(KALDO_CASES_DIR) / name / (name + ".inp"));
}

std::string withThreads(std::string input, int threads) {
    const std::string from = "0 0 1 1 1 100 100", to = "0 0 " + std::to_string(threads) + " 1 1 100 100";
    for (auto at = input.find(from); at != std::string::npos; at = input.find(from, at + to.size()))
        input.replace(at, from.size(), to);
    return input;
}

void expectNear(double value, double expect, double scale, const std::string& what) {
    EXPECT_NEAR(value, expect, PRINTED * scale) << what;
}

// Case 1: 10 mm settlement given at (0, 2, 1), over pile 6, nothing else loaded. A force V there puts
// (V, My = z V, Mz = -y V) at the origin; the cap settles V / 6k and tilts My / (k sum z^2) = V / 6k and
// Mz / (k sum y^2) = -V / 8k, so the point settles V / 6k + V / 6k + 2 V / 8k = 7 V / 12k = 0.01 m:
// V = 1714.29 kN, and pile 6 under the point settles exactly 0.01 m (1000 kN).
// Case 2: 600 kN along Y at (1, 0, 0) with the turn about Z given as 0.001 rad: the pinned heads share
// the force (100 kN each, a free head on the subgrade: 2 H beta / Es), the turn takes k sum y^2 x 0.001
// = 1600 kN-m at the origin, 1600 - 1 x 600 = 1000 kN-m at the point, and the point moves along Y by the
// sway plus 1 m x 0.001.
TEST(PointThreeDimensional, GivenSettlementAndGivenTurnFollowTheRigidCap) {
    WorkDir dir;
    dir.write("point-3d.inp", caseInput("point-3d"));
    HostOutcome run = runHostIn(dir, "point-3d.inp");
    ASSERT_EQ(run.exit, 0) << run.out << dir.read("point-3d.run");
    const std::vector<CaseResults> results = readResults(dir.read("point-3d.out"));
    ASSERT_EQ(results.size(), 2u);

    const CaseResults& a = results[0];
    const double V = 0.12 * AXIAL_K / 7.0, u1 = V / (6 * AXIAL_K), u5 = V / (6 * AXIAL_K), u6 = -V / (8 * AXIAL_K);
    const double capU[6] = {u1, 0, 0, 0, u5, u6}, capP[6] = {V, 0, 0, 0, V, -2 * V};
    const double pointU[6] = {0.01, 0, 0, 0, u5, u6}, pointP[6] = {V, 0, 0, 0, 0, 0};
    for (int k = 0; k < 6; ++k) {
        const std::string c = "component " + std::to_string(k + 1);
        expectNear(a.capDisp[k], capU[k], 0.01, "cap displacement " + c);
        expectNear(a.capLoad[k], capP[k], 2 * V, "cap load " + c);
        expectNear(a.pointDisp[k], pointU[k], 0.01, "point displacement " + c);
        expectNear(a.pointLoad[k], pointP[k], V, "point load " + c);
    }
    EXPECT_EQ(a.pointAt[0], 0.0);
    EXPECT_EQ(a.pointAt[1], 2.0);
    EXPECT_EQ(a.pointAt[2], 1.0);
    ASSERT_EQ(a.piles.size(), 6u);
    const double ys[6] = {-2, 0, 2, -2, 0, 2}, zs[6] = {-1, -1, -1, 1, 1, 1};
    for (int i = 0; i < 6; ++i) {
        const double axial = AXIAL_K * (u1 + zs[i] * u5 - ys[i] * u6);
        expectNear(a.piles[static_cast<size_t>(i)].localForce[X], axial, 1000.0, "pile " + std::to_string(i + 1));
    }
    expectNear(a.piles[5].localForce[X], 1000.0, 1000.0, "the pile under the point");

    const CaseResults& b = results[1];
    const double es = 20000.0 * 0.5, beta = std::pow(es / (4.0 * 2.0e8 * 1.0e-3), 0.25);
    const double sway = 2.0 * 100.0 * beta / es, fd = std::pow(beta * 0.2, 2);
    EXPECT_NEAR(b.capDisp[Y], sway, fd * sway);
    EXPECT_NEAR(b.pointDisp[Y] - b.capDisp[Y], 0.001, PRINTED * sway);
    for (int k : {X, Z, RX, RY}) EXPECT_NEAR(b.capDisp[k], 0.0, 1e-12) << k;
    expectNear(b.capDisp[RZ], 0.001, 0.001, "given turn at the origin");
    expectNear(b.pointDisp[RZ], 0.001, 0.001, "given turn at the point");
    expectNear(b.capLoad[Y], 600.0, 1600.0, "force Y");
    expectNear(b.capLoad[RZ], 1600.0, 1600.0, "moment Z at the origin");
    expectNear(b.pointLoad[Y], 600.0, 1600.0, "force Y at the point");
    expectNear(b.pointLoad[RZ], 1000.0, 1600.0, "moment Z at the point");
    for (int i = 0; i < 6; ++i)
        expectNear(b.piles[static_cast<size_t>(i)].localForce[X], -AXIAL_K * ys[i] * 0.001, 200.0,
                   "pile " + std::to_string(i + 1));
}

// The bordered solve runs on the caller's thread and the force and stiffness sums are in pile order:
// one thread and eight give the same reports, in three dimensions and in the plane.
TEST(PointThreads, ReportsDoNotDependOnTheThreadRequest) {
    for (const char* name : {"point-3d", "point-plane"}) {
        SCOPED_TRACE(name);
        WorkDir one, many;
        const std::string file = std::string(name) + ".inp";
        one.write(file, withThreads(caseInput(name), 1));
        many.write(file, withThreads(caseInput(name), 8));
        HostOutcome a = runHostIn(one, file);
        HostOutcome b = runHostIn(many, file);
        ASSERT_EQ(a.exit, 0) << a.out;
        ASSERT_EQ(b.exit, 0) << b.out;
        for (const char* ext : {".out", ".pile", ".sum", ".cst", ".itl"}) {
            const std::string report = std::string(name) + ext;
            const std::string single = maskVolatile(one.read(report));
            if (std::string(ext) == ".out") {
                EXPECT_NE(single.find("AT SPECIFIED POINT"), std::string::npos);
            }
            EXPECT_TRUE(single == maskVolatile(many.read(report))) << report << " differs between 1 and 8 threads";
        }
    }
}

}  // namespace
}  // namespace kaldo::test
