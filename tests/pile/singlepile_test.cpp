// The laterally loaded pile on nonlinear soil: the solution closes in soft clay and in sand, and the
// stored node results of the final pass hold the whole pile in equilibrium; and a straight
// moment-curvature curve answers as the elastic section of the same stiffness.
#include <gtest/gtest.h>

#include <cmath>

#include "model/blocks.h"
#include "pile/pilemodel.h"

namespace kaldo::test {
namespace {

// A pile of 600 in, diameter 12 in, EI = 5e9 lb in^2, its head at the ground surface.
constexpr double L = 600.0, B = 12.0, EI = 5e9;

class SinglePileChecks : public PileModel {
protected:
    void build(int n, int code, const LayerSpec& layer) {
        propertySet(1, L, n, B);
        section(1, {.EIz = EI, .EIy = EI});
        pile(1, 1, 0.0, -1.0);
        vertical(1);
        head(1, code, code);
        soil({layer});
        RUNSTATE.RUNPASS = 1;
        ENVCTL.ENVSERIES = 1;
    }
    static double stored(int j, int q) { return RESCUR.RESCURLLP(1, j + 3, q); }
};

TEST_F(SinglePileChecks, NonlinearSoilClosesAndTheStoredPileIsInEquilibrium) {
    // dV/dx = -p along an unloaded pile: the shear at a node less the shear at a node below it is the
    // soil reaction between them, and the head shear is the reaction of the whole pile (the tip carries
    // no shear). The stored shears come from differences of moments (second order in h), the reaction
    // integral from the trapezoid rule; at n = 100 both are well within 1 % of the head shear. The
    // head shear is the trapezoid sum of the stored reactions itself.
    const struct {
        const char* name;
        LayerSpec layer;
    } soils[] = {
        {"soft clay", uniform(1, -1.0, 1000.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01, .j = 0.5})},
        {"sand", uniform(4, -1.0, 1000.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0})},
    };
    const int n = 100;
    const double h = L / n;
    for (const auto& s : soils) {
        for (int code : {1, 2}) {
            SCOPED_TRACE(std::string(s.name) + (code == 1 ? ", free head" : ", fixed head"));
            resetAllBlocks();
            PileModel::SetUp();
            build(n, code, s.layer);
            // Deflections large enough to go well into the curves' nonlinear range.
            const HeadForces f = solve(1, {.yt = 1.0, .zt = 0.5}, Vec6{0.0, 1.0, 0.5, 0, 0, 0});
            ASSERT_EQ(f.status, 0);
            ASSERT_EQ(RUNSTATE.RUNSOLVST.load(), 0) << "closed within MAXITP";
            ASSERT_GT(f.Hy, 0.0);
            for (int plane = 0; plane < 2; ++plane) {
                const int qy = 2 + plane, qv = 12 + plane, qp = 15 + plane;
                const double H = plane == 0 ? f.Hy : f.Hz;
                double reaction = 0.0;
                for (int j = 1; j <= n + 1; ++j) reaction += (j == 1 || j == n + 1 ? 0.5 : 1.0) * stored(j, qp) * h;
                EXPECT_TRUE(near(reaction, H, 1e-12)) << "plane " << plane << ": head shear is the reaction";
                // The head shear is a forward difference of the moments: the shear half an increment
                // down, where the soil has taken h / 2 of the head reaction.
                EXPECT_NEAR(stored(1, qv), H - 0.5 * h * stored(1, qp), 0.003 * H)
                    << "plane " << plane << ": shear at the head";
                EXPECT_NEAR(stored(n + 1, qv), 0.0, 0.01 * H) << "plane " << plane << ": shear at the tip";
                for (int a : {2, 10, 30}) {
                    const int b = a + 20;
                    double between = 0.0;
                    for (int j = a; j <= b; ++j) between += (j == a || j == b ? 0.5 : 1.0) * stored(j, qp) * h;
                    EXPECT_NEAR(stored(a, qv) - stored(b, qv), between, 0.01 * H)
                        << "plane " << plane << ", nodes " << a << " to " << b;
                }
                EXPECT_EQ(stored(1, qy), plane == 0 ? 1.0 : 0.5);
            }
            // The same soil reaction of the resultant deflection in both planes: p_y / y = p_z / z. The
            // reaction is the one the last pass solved with, whose tangent springs act per plane: the
            // two ratios agree to the closure of that pass.
            for (int j = 1; j <= n + 1; j += 10) {
                if (std::fabs(stored(j, 3)) > 1e-6) {
                    EXPECT_TRUE(near(stored(j, 15) / stored(j, 2), stored(j, 16) / stored(j, 3), 1e-7)) << "node " << j;
                }
            }
        }
    }
}

TEST_F(SinglePileChecks, StraightMomentCurvatureCurveIsTheElasticSection) {
    // A moment-curvature set of one straight segment through (1, EIc): where EIc is the section's EI,
    // the pile answers as the elastic section in soft clay, free and fixed; a curve twice as stiff
    // gives a stiffer pile, so the curve is in use.
    const LayerSpec clay = uniform(1, -1.0, 1000.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01, .j = 0.5});
    auto run = [&](int code, double curveEI) {
        resetAllBlocks();
        PileModel::SetUp();
        build(50, code, clay);
        RUNSTATE.RUNPASS = 0;
        if (curveEI > 0.0) {
            CTLIN.KMPHI = 1;
            SECTTAB.SECTMPZ(1, 1) = SECTTAB.SECTMPY(1, 1) = 1;
            MPHI.MPNCRV(1) = 1;
            MPHI.MPNPT(1, 1) = 2;
            MPHI.MPPHI(1, 1, 2) = 1.0;
            MPHI.MPMOM(1, 1, 2) = curveEI;
        }
        const HeadForces f = solve(1, {.yt = 1.0, .zt = 0.5});
        EXPECT_EQ(f.status, 0);
        EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), 0);
        return f;
    };
    for (int code : {1, 2}) {
        SCOPED_TRACE(code == 1 ? "free head" : "fixed head");
        const HeadForces elastic = run(code, 0.0), curve = run(code, EI), stiffer = run(code, 2 * EI);
        EXPECT_TRUE(near(curve.Hy, elastic.Hy, 1e-9));
        EXPECT_TRUE(near(curve.Hz, elastic.Hz, 1e-9));
        if (code == 2) {
            EXPECT_TRUE(near(curve.My, elastic.My, 1e-9));
            EXPECT_TRUE(near(curve.Mz, elastic.Mz, 1e-9));
        }
        EXPECT_GT(stiffer.Hy, elastic.Hy * 1.05);
    }
}


// A pile whose head is at the ground surface: the head node stands in the soil and carries the soil of
// the half increment below it, so the pile converges on the exact answer at second order as the
// increments are refined.
class HeadAtTheGround : public PileModel {
protected:
    HeadForces run(int n, double length, double ei, int code, const LayerSpec& layer, const HeadMove& m) {
        resetAllBlocks();
        PileModel::SetUp();
        propertySet(1, length, n, B);
        section(1, {.EIz = ei, .EIy = ei});
        pile(1, 1, 0.0, 0.0);
        vertical(1);
        head(1, code, code);
        soil({layer});
        const HeadForces f = solve(1, m);
        EXPECT_EQ(f.status, 0);
        EXPECT_EQ(RUNSTATE.RUNSOLVST.load(), 0);
        return f;
    }
};

TEST_F(HeadAtTheGround, LongPileOnAnElasticSubgradeMatchesTheBeamOnAWinklerFoundation) {
    // k = 100 pci over b = 12 in: a constant modulus kb = 1200 psi; beta = (kb / 4EI)^(1/4). A long pile
    // (beta L = 9.4) with its head moved y0 = 1 in: free head H = y0 kb / (2 beta), fixed head
    // H = y0 kb / beta. The error at least quarters with each halving of the increment.
    const double kb = 1200.0, beta = std::pow(kb / (4.0 * EI), 0.25);
    const LayerSpec subgrade = uniform(12, 0.0, 1000.0, {.gamma = 0.03, .k = 100.0});
    for (int code : {1, 2}) {
        SCOPED_TRACE(code == 1 ? "free head" : "fixed head");
        const double exact = code == 1 ? kb / (2.0 * beta) : kb / beta;
        double last = 0.0;
        for (int n : {25, 50, 100}) {
            const double err = std::fabs(run(n, L, EI, code, subgrade, {.yt = 1.0}).Hy / exact - 1.0);
            if (last > 0.0) EXPECT_LT(err, 0.3 * last) << "n = " << n;
            last = err;
        }
        EXPECT_LT(last, 0.01);
    }
}

TEST_F(HeadAtTheGround, RigidShortPileInClayCarriesTheIntegralOfItsCurves) {
    // A rigid pile (EI = 1e15) 120 in long, fixed head moved 0.2 in: every node deflects 0.2 in, and the
    // head shear is the integral of the reaction over the pile. With pu = (3 + gamma x / c + J x / b) c b
    // (below 9 c b all along: at the tip 3 + 0.72 + 5) and p = 0.5 pu (y / y50)^e, y50 = 2.5 e50 b:
    //   H = 0.5 (y / y50)^e (3 c b L + (gamma b + J c) L^2 / 2),
    // e = 1/3 for soft clay and 1/4 for stiff clay without free water. The trapezoid sum of a linear pu is
    // exact, so every refinement gives it, the surface node's half increment included.
    const double Lr = 120.0, c = 5.0, gamma = 0.03, J = 0.5, y0 = 0.2, y50 = 2.5 * 0.01 * B;
    const struct {
        int code;
        double e;
    } clays[] = {{1, 1.0 / 3.0}, {3, 0.25}};
    for (const auto& clay : clays) {
        const LayerSpec layer = uniform(clay.code, 0.0, 1000.0, {.gamma = gamma, .c = c, .e50 = 0.01, .j = J});
        const double exact =
            0.5 * std::pow(y0 / y50, clay.e) * (3.0 * c * B * Lr + (gamma * B + J * c) * Lr * Lr / 2.0);
        for (int n : {10, 25, 50}) {
            SCOPED_TRACE("criterion " + std::to_string(clay.code) + ", n = " + std::to_string(n));
            EXPECT_TRUE(near(run(n, Lr, 1e15, 2, layer, {.yt = y0}).Hy, exact, 1e-4));
        }
    }
}


TEST_F(HeadAtTheGround, SandHasNoResistanceAtTheSurfaceSoItsPileIsUnchanged) {
    // Sand's ultimate resistance vanishes at zero depth: a head node on the surface takes no force, and
    // the pile answers as when its head stands a hair above the ground, where the node has no spring.
    const LayerSpec sand = uniform(4, -1.0, 1000.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0});
    auto run = [&](double ground) {
        resetAllBlocks();
        PileModel::SetUp();
        propertySet(1, L, 50, B);
        section(1, {.EIz = EI, .EIy = EI});
        pile(1, 1, 0.0, ground);
        vertical(1);
        head(1, 1, 1);
        soil({sand});
        const HeadForces f = solve(1, {.yt = 0.5});
        EXPECT_EQ(f.status, 0);
        return f.Hy;
    };
    EXPECT_TRUE(near(run(0.0), run(1e-5), 1e-6));
}

}  // namespace
}  // namespace kaldo::test
