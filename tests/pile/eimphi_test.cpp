// Bending stiffness from moment-curvature curves: the secant M / phi on a two-curve set worked out by
// hand, at zero curvature, between points, past the last point, and between and beyond the curves'
// axial loads; sections without a set and the fictitious slots keep their EI.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pile/pilemodel.h"

namespace kaldo::test {
namespace {

// Pile of 40 in in 4 increments (h = 10, h^2 = 100). Set 1 has two curves (curvature, moment):
//   axial load   0: (0, 0), (1e-4, 1000), (3e-4, 1500)
//   axial load 100: (0, 0), (1e-4, 2000), (2e-4, 2600)
// Initial slopes 1e7 and 2e7. At phi = 2e-4: curve 1 gives M = 1000 + 1e-4 * 500 / 2e-4 = 1250, so
// 6.25e6; curve 2 gives 2600 / 2e-4 = 1.3e7. At phi = 6e-4, past both ends: 1500 / 6e-4 = 2.5e6 and
// 2600 / 6e-4 = 4.3333e6.
class MomentCurvature : public PileModel {
protected:
    static constexpr double ELASTIC = 3e9;

    void SetUp() override {
        PileModel::SetUp();
        propertySet(1, 40.0, 4, 10.0);
        section(1, {});
        pile(1, 1, 0.0, 0.0);
        layOut(1);
        SECTTAB.SECTMPZ(1, 1) = 1;  // bending with Iz follows set 1; with Iy stays elastic
        MPHI.MPNCRV(1) = 2;
        curve(1, 0.0, {{0, 0}, {1e-4, 1000}, {3e-4, 1500}});
        curve(2, 100.0, {{0, 0}, {1e-4, 2000}, {2e-4, 2600}});
    }
    static void curve(int c, double axial, std::initializer_list<std::pair<double, double>> points) {
        MPHI.MPAXL(1, c) = axial;
        int k = 0;
        for (auto [phi, m] : points) {
            ++k;
            MPHI.MPPHI(1, c, k) = phi;
            MPHI.MPMOM(1, c, k) = m;
        }
        MPHI.MPNPT(1, c) = k;
    }
    // A deflected shape of constant curvature phi, y = phi x^2 / 2, over the slots 3 to 9.
    static SlotArray bent(double phi) {
        SlotArray y{};
        for (int s = 3; s <= 9; ++s) {
            const double x = (s - 4) * 10.0;
            y(s) = 0.5 * phi * x * x;
        }
        return y;
    }
    static SlotArray elasticEI() {
        SlotArray ei{};
        ei.fill(ELASTIC);
        return ei;
    }
};

TEST_F(MomentCurvature, SecantOnTheBracketingCurves) {
    struct Case {
        const char* name;
        double P, phi, EI;
    };
    const Case cases[] = {
        {"straight pile, first curve: its initial slope", 0.0, 0.0, 1e7},
        {"between points 2 and 3", 0.0, 2e-4, 6.25e6},
        {"past the last point the moment holds", 0.0, 6e-4, 2.5e6},
        {"halfway between the curves' loads", 50.0, 2e-4, 0.5 * (6.25e6 + 1.3e7)},
        {"straight pile between the curves: their initial slopes", 50.0, 0.0, 1.5e7},
        {"a quarter of the way, plateau on both", 25.0, 6e-4, 2.5e6 + 0.25 * (2600 / 6e-4 - 2.5e6)},
        {"above the last curve's load: that curve alone", 150.0, 2e-4, 1.3e7},
        {"below the first curve's load: that curve alone", -10.0, 2e-4, 6.25e6},
        {"exactly at the last load", 100.0, 2e-4, 1.3e7},
    };
    for (const Case& c : cases) {
        SlotArray ei = elasticEI();
        EIMPHIY(1, c.P, ei, bent(c.phi));
        for (int s = 4; s <= 8; ++s) EXPECT_TRUE(near(ei(s), c.EI, 1e-12)) << c.name << ", slot " << s;
        // The fictitious slots keep what the caller put there.
        EXPECT_EQ(ei(3), ELASTIC) << c.name;
        EXPECT_EQ(ei(9), ELASTIC) << c.name;
    }
}

// Far past the ends of the curves and of their loads the end values hold; a curvature that is not a
// number gives no stiffness of the table (NaN), and an axial load that is not a number the first curve.
TEST_F(MomentCurvature, FarBeyondTheEndsAndAtNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SlotArray ei = elasticEI();
    EIMPHIY(1, 1e300, ei, bent(1.0));
    EXPECT_TRUE(near(ei(5), 2600.0 / 1.0, 1e-12)) << ei(5);
    ei = elasticEI();
    EIMPHIY(1, -1e300, ei, bent(1.0));
    EXPECT_TRUE(near(ei(5), 1500.0 / 1.0, 1e-12)) << ei(5);
    ei = elasticEI();
    EIMPHIY(1, nan, ei, bent(2e-4));
    EXPECT_TRUE(near(ei(5), 6.25e6, 1e-12)) << ei(5);
    SlotArray y = bent(2e-4);
    y(5) = nan;
    ei = elasticEI();
    EIMPHIY(1, 0.0, ei, y);
    EXPECT_TRUE(std::isnan(ei(5))) << ei(5);
    EXPECT_TRUE(near(ei(7), 6.25e6, 1e-12)) << ei(7);
}

TEST_F(MomentCurvature, SectionsWithoutASetKeepTheirStiffness) {
    // EIMPHIZ asks for the set of bending with Iy, which the section does not have.
    SlotArray ei = elasticEI();
    EIMPHIZ(1, 50.0, ei, bent(2e-4));
    for (int s = 3; s <= 9; ++s) EXPECT_EQ(ei(s), ELASTIC) << "slot " << s;
    // A curve without points keeps the node's EI as well.
    MPHI.MPNPT(1, 1) = 0;
    ei = elasticEI();
    EIMPHIY(1, 0.0, ei, bent(2e-4));
    EXPECT_EQ(ei(5), ELASTIC);
}

TEST_F(MomentCurvature, CurvatureIsTheNodesOwn) {
    // Only slot 6 (node 3) is bent: y = 0.02 there, so phi = 2 * 0.02 / 100 = 4e-4 at slot 6 and
    // 0.02 / 100 = 2e-4 at its neighbours; the others are straight.
    SlotArray y{}, ei = elasticEI();
    y(6) = -0.02;
    EIMPHIY(1, 0.0, ei, y);
    EXPECT_TRUE(near(ei(6), 1500.0 / 4e-4, 1e-12));
    EXPECT_TRUE(near(ei(5), 6.25e6, 1e-12));
    EXPECT_TRUE(near(ei(7), 6.25e6, 1e-12));
    EXPECT_TRUE(near(ei(4), 1e7, 1e-12));
    EXPECT_TRUE(near(ei(8), 1e7, 1e-12));
}

}  // namespace
}  // namespace kaldo::test
