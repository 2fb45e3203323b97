// The cap envelopes when a reported value is not a number: it never enters, not even in the first
// analysis of a series, and the values around it keep their running extremes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "group/group.h"
#include "model/blocks.h"
#include "model/results.h"

namespace kaldo::test {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(CapEnvelopeNotANumber, NeverEntersNotEvenInTheFirstAnalysisOfASeries) {
    // The stores as the series' reset leaves them (0), the first analysis with a NaN load Y (slot 2)
    // and a NaN rotation about Z (slot 12), then a second analysis with numbers everywhere.
    struct Case {
        bool plane;
        int nanLoad, nanDisp;  // slots that receive NaN in the first analysis
    };
    for (const Case c : {Case{false, 2, 12}, Case{true, 3, 9}}) {
        SCOPED_TRACE(c.plane ? "plane" : "three-dimensional");
        resetAllBlocks();
        Vec6 P{10.0, 20.0, 30.0, 40.0, 50.0, 60.0}, u{0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
        P[static_cast<std::size_t>(c.nanLoad - 1)] = NaN;
        u[static_cast<std::size_t>(c.nanDisp - 7)] = NaN;
        ENVCTL.ENVSERIES = 1;
        c.plane ? CAPENV2D(P, u) : CAPENV(P, u);
        const int used = c.plane ? 3 : 6;
        for (int k = 1; k <= 12; ++k) {
            EXPECT_FALSE(std::isnan(ENVMIN.ENVCAP(k))) << "minimum slot " << k;
            EXPECT_FALSE(std::isnan(ENVMAX.ENVCAP(k))) << "maximum slot " << k;
        }
        // The NaN slots keep the reset's 0; the others hold the first analysis' values.
        EXPECT_EQ(ENVMIN.ENVCAP(c.nanLoad), 0.0);
        EXPECT_EQ(ENVMAX.ENVCAP(c.nanDisp), 0.0);
        EXPECT_EQ(ENVMAX.ENVCAP(1), 10.0);
        EXPECT_EQ(ENVMIN.ENVCAP(7), 0.1);
        EXPECT_EQ(ENVMAX.ENVCAP(used), c.nanLoad == used ? 0.0 : 10.0 * used);

        // A later analysis widens the slots that the NaN left alone like any other.
        ENVCTL.ENVSERIES = 2;
        const Vec6 P2{-5.0, 25.0, 35.0, 45.0, 55.0, 65.0}, u2{0.05, 0.25, -0.35, 0.45, 0.55, -0.65};
        c.plane ? CAPENV2D(P2, u2) : CAPENV(P2, u2);
        EXPECT_EQ(ENVMIN.ENVCAP(1), -5.0);
        EXPECT_EQ(ENVMAX.ENVCAP(1), 10.0);
        const double later = P2[static_cast<std::size_t>(c.nanLoad - 1)];
        EXPECT_EQ(ENVMAX.ENVCAP(c.nanLoad), later);
        EXPECT_EQ(ENVMIN.ENVCAP(c.nanLoad), 0.0);
        const double laterDisp = u2[static_cast<std::size_t>(c.nanDisp - 7)];
        EXPECT_EQ(ENVMIN.ENVCAP(c.nanDisp), std::min(0.0, laterDisp));
        EXPECT_EQ(ENVMAX.ENVCAP(c.nanDisp), std::max(0.0, laterDisp));
    }
}

}  // namespace
}  // namespace kaldo::test
