// The transfer matrices of one pile: the rotation of a vertical and of a battered pile against rotations
// built by hand, orthogonality in any orientation, and the transfer of a cap displacement to the head and
// of a head force to the cap origin as the cross products of rigid-body motion.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/blocks.h"
#include "pile/pile.h"

namespace kaldo::test {
namespace {

using M6 = std::array<double, 36>;
using V6 = std::array<double, 6>;

double el(const M6& m, int i, int j) { return m[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]; }

struct Transfer {
    M6 TF{}, TD{}, TL{}, TG{};
};

class PileTransfer : public ::testing::Test {
protected:
    void SetUp() override { resetAllBlocks(); }
    void TearDown() override { resetAllBlocks(); }

    static Transfer of(int p) {
        Transfer t;
        // Stale contents: every element must be written.
        for (M6* m : {&t.TF, &t.TD, &t.TL, &t.TG}) m->fill(7.0);
        PILETRAN(p, t.TF, t.TD, t.TL, t.TG);
        return t;
    }
    static void orient(int p, double alpha, double beta, double theta) {
        PILE.ALPHA(p) = alpha;
        PILE.BETA(p) = beta;
        PILE.THETA(p) = theta;
    }
    // TL holds R (given by rows) in both diagonal blocks, TG its transpose, zeros elsewhere.
    static void expectRotation(const Transfer& t, const double R[3][3]) {
        for (int i = 1; i <= 6; ++i)
            for (int j = 1; j <= 6; ++j) {
                const bool block = (i <= 3) == (j <= 3);
                const double r = block ? R[(i - 1) % 3][(j - 1) % 3] : 0.0;
                EXPECT_NEAR(el(t.TL, i, j), r, 1e-15) << "TL(" << i << ", " << j << ")";
                EXPECT_EQ(el(t.TG, j, i), el(t.TL, i, j)) << "TG(" << j << ", " << i << ")";
            }
    }
};

TEST_F(PileTransfer, VerticalPileTurnsAboutItsAxisOnly) {
    // BETA = pi/2 puts axis 1 on global X; ALPHA + THETA turn axes 2 and 3 about it.
    const double half = std::numbers::pi / 2;
    for (double a : {0.0, 0.4}) {
        for (double th : {0.0, -0.25}) {
            SCOPED_TRACE(testing::Message() << "alpha " << a << " theta " << th);
            orient(1, a, half, th);
            const double c = std::cos(a + th), s = std::sin(a + th);
            const double R[3][3] = {{1, 0, 0}, {0, c, -s}, {0, s, c}};
            expectRotation(of(1), R);
        }
    }
}

TEST_F(PileTransfer, PileBatteredInTheVerticalXYPlane) {
    // BETA = pi/2 - b with ALPHA = THETA = 0: the pile leans by b from the vertical towards +Y, a turn
    // about global Z. Its axis 1 runs (cos b, sin b, 0), axis 2 (-sin b, cos b, 0), axis 3 stays on Z.
    const double b = 0.3;
    orient(2, 0.0, std::numbers::pi / 2 - b, 0.0);
    const double R[3][3] = {{std::cos(b), -std::sin(b), 0}, {std::sin(b), std::cos(b), 0}, {0, 0, 1}};
    expectRotation(of(2), R);
}

TEST_F(PileTransfer, AnyOrientationIsAProperRotationWithAxisOneAlongThePile) {
    const struct {
        double a, b, t;
    } cases[] = {{0.3, 1.2, 0.7}, {-2.0, 0.4, 1.9}, {3.0, -1.1, -0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " " << c.b << " " << c.t);
        orient(1, c.a, c.b, c.t);
        const Transfer t = of(1);
        // R^T R = I.
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) {
                double s = 0.0;
                for (int k = 1; k <= 3; ++k) s += el(t.TL, k, i) * el(t.TL, k, j);
                EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-15);
            }
        // Right-handed: axis 1 x axis 2 = axis 3.
        auto col = [&](int j, int i) { return el(t.TL, i, j); };
        EXPECT_NEAR(col(1, 2) * col(2, 3) - col(1, 3) * col(2, 2), col(3, 1), 1e-15);
        EXPECT_NEAR(col(1, 3) * col(2, 1) - col(1, 1) * col(2, 3), col(3, 2), 1e-15);
        EXPECT_NEAR(col(1, 1) * col(2, 2) - col(1, 2) * col(2, 1), col(3, 3), 1e-15);
        // The pile axis: inclined by pi/2 - BETA from the vertical, towards the azimuth ALPHA.
        EXPECT_NEAR(col(1, 1), std::sin(c.b), 1e-15);
        EXPECT_NEAR(col(1, 2), std::cos(c.a) * std::cos(c.b), 1e-15);
        EXPECT_NEAR(col(1, 3), std::sin(c.a) * std::cos(c.b), 1e-15);
    }
}

TEST_F(PileTransfer, CapMotionReachesTheHeadAsARigidBody) {
    // Head at r = (x, y, z) from the cap origin. A cap movement (u, w) gives the head u + w x r and the
    // same rotation; a head force f with moment m gives at the origin f and m + r x f. The two transfers
    // are each other's transpose, so the work of the head forces is the work at the origin.
    const double x = 2.0, y = -30.0, z = 45.0;
    PILE.HEADX(3) = x;
    PILE.HEADY(3) = y;
    PILE.HEADZ(3) = z;
    orient(3, 0.2, 1.0, 0.3);
    const Transfer t = of(3);
    const V6 U{0.1, -0.2, 0.3, 0.004, -0.005, 0.006};
    const V6 head{U[0] + U[4] * z - U[5] * y, U[1] + U[5] * x - U[3] * z, U[2] + U[3] * y - U[4] * x,
                  U[3], U[4], U[5]};
    const V6 f{10.0, -20.0, 30.0, 400.0, -500.0, 600.0};
    const V6 origin{f[0], f[1], f[2], f[3] + y * f[2] - z * f[1], f[4] + z * f[0] - x * f[2],
                    f[5] + x * f[1] - y * f[0]};
    for (int i = 1; i <= 6; ++i) {
        double h = 0.0, o = 0.0;
        for (int j = 1; j <= 6; ++j) {
            h += el(t.TD, i, j) * U[static_cast<std::size_t>(j - 1)];
            o += el(t.TF, i, j) * f[static_cast<std::size_t>(j - 1)];
            EXPECT_EQ(el(t.TF, i, j), el(t.TD, j, i));
        }
        EXPECT_NEAR(h, head[static_cast<std::size_t>(i - 1)], 1e-14) << "head component " << i;
        EXPECT_NEAR(o, origin[static_cast<std::size_t>(i - 1)], 1e-11) << "origin component " << i;
    }
    // The transfers do not depend on the pile's orientation.
    orient(3, 0.0, 0.0, 0.0);
    const Transfer u = of(3);
    EXPECT_EQ(u.TD, t.TD);
    EXPECT_EQ(u.TF, t.TF);
}

}  // namespace
}  // namespace kaldo::test
