// The torsional pile-head response: the torque follows the pile's torque-rotation curve on each branch,
// holds nothing or the end torque beyond its ends, and reports those twists on the axial warning
// scratch file.
#include <gtest/gtest.h>

#include <string>

#include "model/blocks.h"
#include "pile/pilemodel.h"

namespace kaldo::test {
namespace {

class TorsionHead : public PileModel {
protected:
    void SetUp() override {
        PileModel::SetUp();
        open(25, "r.axw");
        RUNSTATE.RUNWARNPRT = 1;
        RUNSTATE.RUNWARNTORS = 0;
        PILE.NPILES = 3;
        // Generated curve 2 of pile 3: a softening curve, steeper in twist than in untwist,
        // (-0.02, -300), (-0.01, -200), (0, 0), (0.01, 400), (0.03, 500).
        PILE.TRCRV(3) = -2;
        TQCRV.TQGNPT(2) = 5;
        const double r[] = {-0.02, -0.01, 0.0, 0.01, 0.03}, t[] = {-300.0, -200.0, 0.0, 400.0, 500.0};
        for (int k = 1; k <= 5; ++k) {
            TQCRV.TQGR(2, k) = r[k - 1];
            TQCRV.TQGT(2, k) = t[k - 1];
        }
    }
    static double torque(double theta) {
        double T = -1.0;
        TORSRES(3, T, Vec6{0.5, 0.1, 0.2, theta, 0.3, 0.4});
        return T;
    }
};

TEST_F(TorsionHead, TorqueFollowsTheCurveOnEveryBranch) {
    const struct {
        double theta, T;
    } cases[] = {{0.0, 0.0},       {0.005, 200.0},  {0.01, 400.0},   {0.02, 450.0},  {0.03, 500.0},
                 {-0.005, -100.0}, {-0.015, -250.0}, {-0.02, -300.0}};
    for (int kaxlim : {0, 1}) {
        CTLIN.KAXLIM = kaxlim;
        for (const auto& c : cases) EXPECT_DOUBLE_EQ(torque(c.theta), c.T) << "theta " << c.theta << " KAXLIM " << kaxlim;
    }
    EXPECT_EQ(RUNSTATE.RUNWARNTORS.load(), 0);
    EXPECT_EQ(text(25), "");

    // A user curve that does not pass through zero: zero twist gives its torque there.
    PILE.TRCRV(3) = 4;
    TQCRV.TQNPT(4) = 2;
    TQCRV.TQR(4, 1) = -1.0;
    TQCRV.TQR(4, 2) = 1.0;
    TQCRV.TQT(4, 1) = 10.0;
    TQCRV.TQT(4, 2) = 30.0;
    EXPECT_DOUBLE_EQ(torque(0.0), 20.0);
}

TEST_F(TorsionHead, TwistsBeyondTheEndsWarnOnTheAxialScratchFile) {
    const struct {
        double theta;
        int kaxlim;
        double T;
        const char* text;
        const char* values;
    } cases[] = {
        {0.05, 0, 0.0, "APPARENT FAILURE IN TORSION     ", "ROTATION =  0.5000E-01 >   0.3000E-01     T. MOMENT=  0.0000E+00"},
        {-0.04, 0, 0.0, "APPARENT FAILURE IN TORSION     ", "ROTATION = -0.4000E-01 >  -0.2000E-01     T. MOMENT=  0.0000E+00"},
        {0.05, 1, 500.0, "MAXIMUM MOMENT REACHED IN TORSION ",
         "ROTATION =  0.5000E-01 >   0.3000E-01     T. MOMENT=  0.5000E+03"},
        {-0.04, 1, -300.0, "MAXIMUM MOMENT REACHED IN TORSION ",
         "ROTATION = -0.4000E-01 >  -0.2000E-01     T. MOMENT= -0.3000E+03"},
    };
    std::string expected;
    int count = 0;
    for (const auto& c : cases) {
        CTLIN.KAXLIM = c.kaxlim;
        EXPECT_EQ(torque(c.theta), c.T) << c.text << c.theta;
        expected += "\n     ** WARNING **  " + std::string(c.text) + "  PILE GROUP    3\n" + std::string(20, ' ') +
                    c.values + "\n";
        EXPECT_EQ(RUNSTATE.RUNWARNTORS.load(), ++count);
    }
    EXPECT_EQ(text(25), expected);
    EXPECT_EQ(RUNSTATE.RUNWARNBEAR + RUNSTATE.RUNWARNPULL, 0);

    // Not while the stiffness evaluations run: the torque still held, nothing written or counted.
    RUNSTATE.RUNWARNPRT = 0;
    EXPECT_EQ(torque(0.05), 500.0);
    EXPECT_EQ(text(25), expected);
    EXPECT_EQ(RUNSTATE.RUNWARNTORS.load(), count);
}

}  // namespace
}  // namespace kaldo::test
