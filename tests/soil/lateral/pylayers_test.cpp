// p-y springs along a pile: the layer dispatch, nodes above the ground surface, the p- and
// y-multipliers of the pile and along depth, soil movement, the listing into the curve record, and a
// criterion that this version does not have.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>
#include <string>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// The soft clay of the soft clay tests: at node 3 (x = 48 in) pu = 317.28 lb/in and y50 = 0.3 in, so at
// y = 0.3 the curve gives pc = 158.64 and the secant 528.8.
class PyLayers : public PyModel {
protected:
    static constexpr double PC = 158.64, ES = 528.8;
    static constexpr SoilRow CLAY{.gamma = 0.03, .c = 5.0, .e50 = 0.01};

    void build(double headX = 0.0, double ground = 0.0) {
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, headX, ground);
        soil({uniform(1, 0.0, 600.0, CLAY)});
        layOut(1);
    }
};

TEST_F(PyLayers, PileMultipliersScaleTheReactionAndDivideTheModulus) {
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    const Spring sp = at(1, 3, 0.3);
    EXPECT_TRUE(near(sp.p, -0.5 * PC));
    EXPECT_TRUE(near(sp.Es, 0.5 * PC / 0.3 / 2.0));
}

TEST_F(PyLayers, DepthMultipliers) {
    // Set 1: (X = 24, pm 0.5, ym 2) to (X = 72, pm 1, ym 1).
    build();
    CTLIN.KRFDEP = 1;
    PILE.RFLSET(1) = 1;
    RFD.NRFD(1) = 2;
    RFD.RFDX(1, 1) = 24.0;
    RFD.RFDPM(1, 1) = 0.5;
    RFD.RFDYM(1, 1) = 2.0;
    RFD.RFDX(1, 2) = 72.0;
    RFD.RFDPM(1, 2) = 1.0;
    RFD.RFDYM(1, 2) = 1.0;
    // Node 3 (X = 48) halfway: pm = 0.75, ym = 1.5.
    Spring sp = at(1, 3, 0.3);
    EXPECT_TRUE(near(sp.p, -0.75 * PC));
    EXPECT_TRUE(near(sp.Es, ES * 0.75 / 1.5));
    // Node 5 (X = 96) below the last point: no multiplier. pu(96) = (4 + 3 + 0.576) * 60 = 454.56.
    sp = at(1, 5, 0.3);
    EXPECT_TRUE(near(sp.p, -0.5 * 454.56));
    // At zero deflection the initial modulus stands without any multiplier.
    const double E0 = 0.5 * 317.28 * std::pow(0.3 / 1e-14, static_cast<double>(2.0f / 3.0f)) / 0.3;
    EXPECT_TRUE(near(at(1, 3, 0.0).Es, E0));

    struct Case {
        double x, pm, ym;
    };
    const Case cases[] = {{23.0, 1, 1}, {24.0, 0.5, 2}, {36.0, 0.625, 1.75}, {72.0, 1, 1}, {73.0, 1, 1}};
    for (const Case& c : cases) {
        int set = -1;
        double pm = 0, ym = 0;
        PYMULT(1, set, c.x, pm, ym);
        EXPECT_EQ(set, 1);
        EXPECT_DOUBLE_EQ(pm, c.pm) << "x = " << c.x;
        EXPECT_DOUBLE_EQ(ym, c.ym) << "x = " << c.x;
    }
    PILE.RFLSET(1) = 0;
    int set = -1;
    double pm = 0, ym = 0;
    PYMULT(1, set, 48.0, pm, ym);
    EXPECT_EQ(set, 0);
    EXPECT_EQ(pm, 1.0);
    EXPECT_EQ(ym, 1.0);
}

TEST_F(PyLayers, SoilMovementShiftsTheDeflection) {
    build();
    SMOV.NSMOV = 1;
    sm1(3) = 0.3;
    sm2(3) = 0.4;  // resultant movement 0.5
    Spring sp = at(1, 3, 0.8);  // 0.3 ahead of the soil
    EXPECT_TRUE(near(sp.Es, ES));
    EXPECT_TRUE(near(sp.p, -PC));
    EXPECT_TRUE(near(esy(3), ES * 0.5));
    sp = at(1, 3, 0.2);  // 0.3 behind the soil: the reaction pushes forward
    EXPECT_TRUE(near(sp.Es, ES));
    EXPECT_TRUE(near(sp.p, PC));
    // Moving with the soil: the initial modulus, no reaction.
    sp = at(1, 3, 0.5);
    EXPECT_GT(sp.Es, 1e10);
    EXPECT_EQ(sp.p, 0.0);
}

TEST_F(PyLayers, NodesAboveTheGroundSurface) {
    // Head 48 in above the ground (X = -48); nodes 1 and 2 (X = -48, -24) are not in the soil; node 3
    // (X = 0) stands on the surface and takes the curve of zero depth: pu = 3 c b = 180, at y = y50
    // p = 90 and Es = 90 / 0.3.
    build(-48.0, 48.0);
    for (int j = 1; j <= 11; ++j) {
        Es(j) = 777.0;
        p(j) = 777.0;
        y(j) = 0.3;
    }
    ASSERT_EQ(evaluate(1), 0);
    for (int j = 1; j <= 2; ++j) {
        EXPECT_EQ(Es(j), 0.0) << j;
        EXPECT_EQ(p(j), 777.0) << j;
    }
    EXPECT_TRUE(near(p(3), -90.0));
    EXPECT_TRUE(near(Es(3), 300.0));
    EXPECT_TRUE(near(p(5), -PC));  // node 5 at x = 48
    EXPECT_EQ(PYDRV.GSURFP(1), 48.0);

    // Head below the ground surface: every node in the soil; GSURFP is negative.
    build(24.0, -24.0);
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYDRV.GSURFP(1), -24.0);
    EXPECT_GT(Es(1), 0.0);
}

// The slopes read in the same walk leave the moduli, reactions and ground of a plain reading as they
// are; nodes above the ground have no slope; clay over sand, head above the ground.
TEST_F(PyLayers, SlopesInOneWalkLeaveThePlainReading) {
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, -48.0, 48.0);
    soil({uniform(1, 0.0, 96.0, CLAY), uniform(4, 96.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = 90.0})});
    layOut(1);
    NodeArray dEs{};
    for (int j = 1; j <= 11; ++j) {
        y(j) = 0.05 * j;
        dEs(j) = 777.0;
    }
    int status = 0;
    PYLAYERSSLOPE(1, status, 1, y, Es, sm1, sm2, esy, p, dEs);
    ASSERT_EQ(status, 0);
    const NodeArray first = Es, reaction = p;
    const double ground = PYDRV.GSURFP(1);
    ASSERT_EQ(evaluate(1), 0);
    for (int j = 1; j <= 11; ++j) {
        EXPECT_EQ(first(j), Es(j)) << j;
        EXPECT_EQ(reaction(j), p(j)) << j;
    }
    EXPECT_EQ(dEs(1), 0.0);
    EXPECT_EQ(dEs(2), 0.0);
    // Soft clay's secant falls as y^(-2/3) below 3 y50 (y = 0.25 at node 5, y50 = 0.3).
    EXPECT_TRUE(near(dEs(5), -2.0 / 3.0 * Es(5) / y(5), 1e-6));
    EXPECT_EQ(PYDRV.GSURFP(1), ground);
}

// Each criterion's slope of the secant modulus against a fine central difference of the moduli its own
// curve gives, at deflections on every piece of the curves (away from their kinks), at every node of a
// pile whose head is at the ground surface (x = 0 to 240 in, b = 12 in). Criteria without a closed form
// give the difference quotient of a second reading 1e-4 further out (a coarser agreement).
TEST_F(PyLayers, SlopeOfEachCriterionIsTheDerivativeOfItsSecant) {
    struct Case {
        const char* name;
        int code, kstatic;
        SoilRow row;
        double ys[6];
        double tol;
    };
    const SoilRow clay{.gamma = 0.03, .c = 5.0, .e50 = 0.01};     // y50 = 0.3
    const SoilRow stiff{.gamma = 0.03, .c = 10.0, .e50 = 0.005};  // y50 = 0.15
    const SoilRow sand{.gamma = 0.04, .phi = PHI30, .k = 100.0};  // ym = 0.2, yu = 0.45
    const Case cases[] = {
        {"soft clay, static", 1, 1, clay, {1e-6, 0.05, 0.5, 1.5, 3.0, 0.0}, 1e-6},
        {"soft clay, cyclic", 1, 0, clay, {1e-6, 0.05, 0.5, 1.5, 3.0, 6.0}, 1e-6},
        {"soft clay with J", 13, 0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01, .j = 0.25}, {0.05, 0.5, 1.5, 6.0}, 1e-6},
        {"modified soft clay", 14, 1, {.gamma = 0.03, .c = 5.0, .e50 = 0.01, .k = 30.0},
         {1e-4, 0.003, 0.05, 0.5, 1.5, 3.0}, 1e-6},
        {"sand, static", 4, 1, sand, {1e-4, 0.01, 0.1, 0.3, 1.0, 0.0}, 1e-6},
        {"sand, cyclic", 4, 0, sand, {1e-4, 0.01, 0.1, 0.3, 1.0, 0.0}, 1e-6},
        {"API sand", 8, 1, sand, {1e-4, 0.01, 0.1, 0.3, 1.0, 3.0}, 1e-6},
        {"stiff clay, static", 3, 1, stiff, {1e-6, 0.05, 0.5, 1.5, 3.0, 0.0}, 1e-6},
        {"stiff clay, cyclic", 3, 0, stiff, {1e-6, 0.05, 0.5, 1.5, 3.0, 0.0}, 1e-6},
        {"stiff clay with k", 10, 1, {.gamma = 0.03, .c = 10.0, .e50 = 0.005, .k = 500.0},
         {1e-4, 0.01, 0.05, 0.5, 3.0, 0.0}, 1e-6},
        {"silt (second reading)", 7, 1, {.gamma = 0.04, .c = 2.0, .phi = PHI30, .k = 100.0},
         {1e-4, 0.1, 0.3, 1.0, 0.0, 0.0}, 1e-3},
    };
    constexpr double H = 1e-6;  // relative step of the central difference
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prepareSpringConstants(0);  // every case computes its constants afresh
        CTLPAR.KSTATIC = c.kstatic;
        CTLPAR.NCYCLES = 10.0;
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(c.code, 0.0, 600.0, c.row)});
        layOut(1);
        int checked = 0;
        for (double yv : c.ys) {
            if (yv == 0.0) continue;
            NodeArray dEs{}, lo{}, hi{}, e3{}, p3{};
            for (int j = 1; j <= 11; ++j) y(j) = yv;
            int status = 0;
            PYLAYERSSLOPE(1, status, 1, y, Es, sm1, sm2, esy, p, dEs);
            ASSERT_EQ(status, 0);
            const NodeArray at = Es;
            for (int j = 1; j <= 11; ++j) y(j) = yv * (1.0 - H);
            PYLAYERS(1, status, 1, 1, y, lo, sm1, sm2, e3, p3);
            for (int j = 1; j <= 11; ++j) y(j) = yv * (1.0 + H);
            PYLAYERS(1, status, 1, 1, y, hi, sm1, sm2, e3, p3);
            ASSERT_EQ(status, 0);
            for (int j = 2; j <= 11; ++j) {
                const double cd = (hi(j) - lo(j)) / (2.0 * H * yv);
                // On the scale of Es / y, the slope of a secant that falls like 1 / y.
                EXPECT_NEAR(dEs(j), cd, c.tol * (std::fabs(cd) + at(j) / yv)) << "node " << j << ", y = " << yv;
                if (dEs(j) != 0.0) ++checked;
            }
        }
        EXPECT_GT(checked, 0) << "some slopes are not 0";
    }
}

TEST_F(PyLayers, TipAloneInALayerIsLeftToTheLayerAbove) {
    // Layer 1 ends at the tip (X = 240), layer 2 (a very stiff elastic subgrade without strength, so that
    // the strength at the boundary stays the clay's) begins there.
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 240.0, CLAY), uniform(12, 240.0, 600.0, {.gamma = 0.03, .k = 1e6})});
    layOut(1);
    ASSERT_EQ(PYDRV.LNFIRST(1, 2), 11);
    ASSERT_EQ(PYDRV.LNLAST(1, 2), 11);
    // The tip's spring is the soft clay's at x = 240: pu = 9 * 5 * 12 = 540, at y = y50: 270.
    EXPECT_TRUE(near(at(1, 11, 0.3).p, -270.0));
}

TEST_F(PyLayers, CurveRecordForTheCurveDataFile) {
    build();
    PILEFAC.PMUL(1) = 0.5;
    PILEFAC.YMUL(1) = 2.0;
    CTLIN.KPYOP = 1;
    PYMODE.PYPRTMODE = 1;
    PYMODE.PYFILEMODE = 1;
    PYMODE.NPYPT = 2;
    OPTCRV.CRVPYDEF(1) = 0.3;
    OPTCRV.CRVPYDEF(2) = 3.0;
    // Node 3 alone, as the curve-file writer places it.
    PYDRV.LNFIRST(1, 1) = PYDRV.LNLAST(1, 1) = 3;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(PYPLOT.PLTYPE, 1);
    EXPECT_EQ(PYPLOT.PLSOIL, 1);
    EXPECT_EQ(PYPLOT.PLDEPTH, 48.0);
    // Listed as (y YMUL, PMUL p).
    EXPECT_TRUE(near(PYPLOT.PLY(1), 0.6));
    EXPECT_TRUE(near(PYPLOT.PLP(1), 0.5 * PC));
    EXPECT_TRUE(near(PYPLOT.PLY(2), 6.0));
    EXPECT_TRUE(near(PYPLOT.PLP(2), 0.5 * 317.28));
    EXPECT_EQ(text(32), "");  // nothing on the echo report in file mode

    // A negative count lists nothing and computes no reaction.
    PYMODE.NPYPT = -1;
    p(3) = 777.0;
    ASSERT_EQ(evaluate(1), 0);
    EXPECT_EQ(p(3), 777.0);
}

TEST_F(PyLayers, ProfileFailureStopsTheLayerAndSkipsTheGroundPass) {
    // The strength profile ends at X = 100 while the layer and the pile go deeper. Nodes 1 and 2 lie
    // above the ground surface and in no layer: only the final pass, skipped on failure, would clear
    // their modulus.
    build(-48.0, 48.0);
    SOILPRF.XP(2) = 100.0;
    Es(1) = 777.0;
    EXPECT_EQ(evaluate(1), 23);
    EXPECT_EQ(Es(1), 777.0);
    EXPECT_NE(text(16).find("**** WARNING ****"), std::string::npos);
}


// The constants each node keeps while the analysis runs. Soft clay over sand (the sand below takes its
// wedge from the equivalent depth of its top), two piles of different diameter; every spring of the
// kept constants must be the one a fresh computation gives, bit for bit, whatever was kept before:
// another deflection, another pile, cyclic loading, the cap width in place of the diameter, a new model.
class KeptSprings : public PyModel {
protected:
    void build() {
        propertySet(1, 240.0, 10, 12.0);
        propertySet(2, 240.0, 10, 24.0);
        pile(1, 1, 0.0, 0.0);
        pile(2, 2, 0.0, 0.0);
        soil({uniform(1, 0.0, 72.0, {.gamma = 0.03, .c = 5.0, .e50 = 0.01}),
              uniform(4, 72.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0})});
        layOut(1);
        layOut(2);
        CAPIN.CAPWZ = 48.0;
    }
    // Es and p of every node of pile i at deflections growing from tiny to past the ultimate resistance.
    std::vector<double> springs(int i, double scale) {
        std::vector<double> out;
        for (int j = 1; j <= 11; ++j) y(j) = scale * (j == 1 ? 1e-16 : 0.01 * j * j);
        EXPECT_EQ(evaluate(i), 0);
        for (int j = 1; j <= 11; ++j) {
            out.push_back(Es(j));
            out.push_back(p(j));
        }
        out.push_back(PYDRV.PUINT(i, 1));
        out.push_back(PYDRV.PUINT(i, 2));
        return out;
    }
    // The same with nothing kept (a store of no piles), then kept (sized to the model), twice.
    void expectKeptEqualsFresh(int i, double scale, const char* what) {
        prepareSpringConstants(0);
        const std::vector<double> fresh = springs(i, scale);
        prepareSpringConstants(PILE.NPILES + 1);
        for (int round = 0; round < 2; ++round) {
            const std::vector<double> kept = springs(i, scale);
            ASSERT_EQ(kept.size(), fresh.size());
            for (std::size_t k = 0; k < kept.size(); ++k)
                EXPECT_EQ(std::bit_cast<std::uint64_t>(kept[k]), std::bit_cast<std::uint64_t>(fresh[k]))
                    << what << ", pile " << i << ", value " << k << ": " << kept[k] << " vs " << fresh[k];
        }
    }
};

TEST_F(KeptSprings, GiveTheCurvesOfAFreshComputation) {
    build();
    prepareSpringConstants(PILE.NPILES + 1);
    // Kept with other deflections and for the other pile first: only the deflection-free part is kept.
    springs(1, 3.0);
    springs(2, 0.5);
    expectKeptEqualsFresh(1, 1.0, "static");
    expectKeptEqualsFresh(2, 1.0, "second pile");
    // Cyclic loading changes the sand's factors and the clay's curve.
    prepareSpringConstants(PILE.NPILES + 1);
    springs(1, 1.0);
    CTLPAR.KSTATIC = 0;
    expectKeptEqualsFresh(1, 1.0, "cyclic");
    // The cap width in place of the diameter.
    springs(1, 1.0);
    PYMODE.CAPPYFLAG = 1;
    expectKeptEqualsFresh(1, 1.0, "cap width");
    PYMODE.CAPPYFLAG = 0;
}

TEST_F(KeptSprings, ANewModelKeepsNothingOfTheOldOne) {
    build();
    prepareSpringConstants(PILE.NPILES + 1);
    const std::vector<double> before = springs(1, 1.0);
    // The same piles in a stiffer clay after a reset of every block: the store of the old model is
    // left alone even before it is sized again.
    resetAllBlocks();
    runWideValues();
    propertySet(1, 240.0, 10, 12.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(1, 0.0, 72.0, {.gamma = 0.03, .c = 10.0, .e50 = 0.01}),
          uniform(4, 72.0, 600.0, {.gamma = 0.04, .phi = PHI30, .k = 100.0})});
    int status = 0;
    NODE(1, status);
    ASSERT_EQ(status, 0);
    const std::vector<double> after = springs(1, 1.0);
    // The clay's nodes below the surface resist more (the reaction at node 2 is negative in both).
    EXPECT_LT(after[3], before[3]);
    expectKeptEqualsFresh(1, 1.0, "new model");
}

}  // namespace
}  // namespace kaldo::test
