// Distributed loads and soil movement at the nodes: interpolation in the pile's load profile, the
// soil-movement profile resolved onto the pile's axes, measured in one frame whatever the head's X,
// scaled once by the load fraction, zero above the ground surface and outside the profile.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "pile/pilemodel.h"

namespace kaldo::test {
namespace {

constexpr double HALFPI = 1.5707963267948966;

// Piles of 40 in in 4 increments (nodes every 10 in).
class NodeLoads : public PileModel {
protected:
    void SetUp() override {
        PileModel::SetUp();
        propertySet(1, 40.0, 4, 10.0);
        section(1, {});
    }
    void placePile(int p, double headX, double ground = 0.0) {
        pile(p, 1, headX, ground);
        vertical(p);
        prepareNodeTables();
        int status = 0;
        NODE(p, status);
        ASSERT_EQ(status, 0);
    }
    // The load profile of pile p: points at depths d below the head with values vy (and 2 vy along z).
    static void loadProfile(int p, const std::vector<std::pair<double, double>>& points) {
        int m = 0;
        for (auto [d, v] : points) {
            ++m;
            WRKNODE.DLNDEPTH(m, p) = d;
            WRKNODE.DLNODEY(m, p) = v;
            WRKNODE.DLNODEZ(m, p) = 2 * v;
        }
        WRKNODE.DLNNODE(p) = m;
    }
    // Soil movement points (X, movement along Y, along Z) at the load fraction f.
    static void movement(const std::vector<std::array<double, 3>>& points, double f) {
        int m = 0;
        for (const auto& pt : points) {
            ++m;
            SMOV.SMX(m) = pt[0];
            SMOV.SMY(m) = SMOV.SMYIN(m) = pt[1];
            SMOV.SMZ(m) = SMOV.SMZIN(m) = pt[2];
        }
        SMOV.NSMOV = m;
        SMOV.SMFACT = f;
    }
    struct Moves {
        NodeArray y{}, z{};
    };
    static Moves moves(int p) {
        Moves m;
        m.y.fill(99.0);
        m.z.fill(99.0);
        SOILMOVP(p);
        NODEZERO3(p, m.y);
        NODEZERO2(p, m.z);
        SOILMOVX(p, m.y);
        SOILMOVY(p, m.z);
        return m;
    }
};

TEST_F(NodeLoads, DistributedLoadAtTheNodes) {
    // Head at X = 100: the profile is read by the distance below the head.
    placePile(1, 100.0);
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> points;
        double expected[5];  // nodes at 0, 10, 20, 30, 40 below the head
    };
    const Case cases[] = {
        {"the pile's own nodes as points", {{0, 1}, {10, 2}, {20, 3}, {30, 4}, {40, 5}}, {1, 2, 3, 4, 5}},
        {"linear between points, 0 outside", {{5, 10}, {25, 30}}, {0, 15, 25, 0, 0}},
        {"a node on a point takes its value", {{10, 7}, {30, -3}}, {0, 7, 2, -3, 0}},
        {"points closer than 1e-5 give their mean", {{0, 2}, {19.999995, 2}, {20, 8}, {40, 8}}, {2, 2, 5, 8, 8}},
        {"no points: no load", {}, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        loadProfile(1, c.points);
        NodeArray qy{}, qz{};
        DLODNODY(1, qy);
        DLODNODZ(1, qz);
        for (int j = 1; j <= 5; ++j) {
            const double e = c.expected[j - 1];
            EXPECT_NEAR(qy(j), e, 1e-12 * (1 + std::fabs(e))) << c.name << ", node " << j;
            EXPECT_NEAR(qz(j), 2 * e, 1e-12 * (1 + std::fabs(e))) << c.name << ", node " << j;
        }
    }
}

TEST_F(NodeLoads, SoilMovementScaledOnceInOneFrame) {
    // Movement along Y growing linearly with X, 0.001 per inch from X = 0 to X = 200, at the load
    // fraction 0.5. A pile with its head at X = 0 and one with its head at X = 20 see at every X the
    // same movement, 0.5 * 0.001 X, and the profile keeps the input values.
    movement({{0.0, 0.0, 0.0}, {200.0, 0.2, -0.1}}, 0.5);
    placePile(1, 0.0);
    placePile(2, 20.0);
    const Moves a = moves(1), b = moves(2);
    for (int j = 1; j <= 5; ++j) {
        const double Xa = NODES.NODEX(1, j), Xb = NODES.NODEX(2, j);
        EXPECT_NEAR(a.y(j), 0.5 * 0.001 * Xa, 1e-15) << "node " << j;
        EXPECT_NEAR(a.z(j), -0.5 * 0.0005 * Xa, 1e-15) << "node " << j;
        EXPECT_NEAR(b.y(j), 0.5 * 0.001 * Xb, 1e-15) << "node " << j;
    }
    EXPECT_EQ(b.y(1), a.y(3)) << "X = 20 on both piles";
    EXPECT_EQ(SMOV.SMY(2), 0.2);
    EXPECT_EQ(SMPROF.SMPX(2, 2), 180.0) << "points measured from the head";
    EXPECT_EQ(a.y(6), 99.0) << "past the tip node the array is not touched";
}

TEST_F(NodeLoads, SoilMovementOnlyInTheGroundAndInTheProfile) {
    struct Case {
        const char* name;
        double ground;
        std::vector<std::array<double, 3>> points;
        double expected[5];  // nodes at X = 0, 10, 20, 30, 40
    };
    const Case cases[] = {
        {"none above the ground surface", 15.0, {{-50, 1, 0}, {100, 1, 0}}, {0, 0, 1, 1, 1}},
        {"none above the first or below the last point", 0.0, {{10, 1, 0}, {30, 3, 0}}, {0, 1, 2, 3, 0}},
        {"a step: points closer than 1e-5", 0.0, {{0, 1, 0}, {19.999999, 1, 0}, {20, 3, 0}, {40, 3, 0}},
         {1, 1, 2, 3, 3}},
    };
    for (const Case& c : cases) {
        resetAllBlocks();
        SetUp();
        movement(c.points, 1.0);
        placePile(1, 0.0, c.ground);
        const Moves m = moves(1);
        for (int j = 1; j <= 5; ++j) EXPECT_NEAR(m.y(j), c.expected[j - 1], 1e-12) << c.name << ", node " << j;
    }
}

TEST_F(NodeLoads, MovementResolvedOntoThePileAxes) {
    movement({{0.0, 0.3, 0.4}, {100.0, 0.3, 0.4}}, 1.0);
    placePile(1, 0.0);
    struct Case {
        const char* name;
        double alpha, beta, theta;
        double y, z;
    };
    const Case cases[] = {
        {"vertical pile: Y and Z", 0.0, HALFPI, 0.0, 0.3, 0.4},
        {"turned a quarter in plan: local y along Z, local z along -Y", HALFPI, HALFPI, 0.0, 0.4, -0.3},
        {"twisted a quarter about its axis", 0.0, HALFPI, HALFPI, 0.4, -0.3},
        // Inclined 60 degrees from the horizontal in the X-Y plane: local y has the share sin(beta) of Y.
        {"battered in the X-Y plane", 0.0, HALFPI * 2.0 / 3.0, 0.0, 0.3 * std::sqrt(3.0) / 2.0, 0.4},
    };
    for (const Case& c : cases) {
        PILE.ALPHA(1) = c.alpha;
        PILE.BETA(1) = c.beta;
        PILE.THETA(1) = c.theta;
        const Moves m = moves(1);
        EXPECT_NEAR(m.y(3), c.y, 1e-15) << c.name;
        EXPECT_NEAR(m.z(3), c.z, 1e-15) << c.name;
    }
    // The plane: the in-plane movement's share across a pile battered by b.
    CTLIN.ANTYPE = 2;
    PILE.BATTER(1) = 0.3;
    SOILMOVP(1);
    EXPECT_NEAR(SMPROF.SMPY(1, 1), 0.3 * std::cos(0.3), 1e-15);
}

}  // namespace
}  // namespace kaldo::test
