// Pile nodes and soil layers: node coordinates along the axis and in depth, the layer ranges of a pile
// for the edge cases of the walk, the fatal error of a pile below the deepest layer (status 3, plane
// 13) with its text, and the values set once before the pile loops.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "soil/pymodel.h"

namespace kaldo::test {
namespace {

// Pile 1: head at X = 0, 240 in in 10 increments of 24 in (nodes at 0, 24, ..., 240).
class PileNodes : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        propertySet(1, 240.0, 10, 12.0);
        pile(1, 1, 0.0, 0.0);
    }
    static void layers(const std::vector<std::pair<double, double>>& tops) {
        std::vector<LayerSpec> specs;
        for (auto [top, bot] : tops) specs.push_back(uniform(1, top, bot, {.gamma = 0.03, .c = 5.0}));
        soil(specs);
    }
    // (LNFIRST, LNLAST) of every layer of pile 1.
    static std::vector<std::pair<int, int>> ranges() {
        std::vector<std::pair<int, int>> r;
        for (int L = 1; L <= SOILLAY.NLAYER; ++L) r.emplace_back(PYDRV.LNFIRST(1, L), PYDRV.LNLAST(1, L));
        return r;
    }
    static int node(void (*routine)(int, int&), int status = 0) {
        prepareNodeTables();
        routine(1, status);
        return status;
    }
    using Ranges = std::vector<std::pair<int, int>>;
};

TEST_F(PileNodes, CoordinatesAndLayerRanges) {
    layers({{0, 100}, {100, 150}, {150, 400}});
    ASSERT_EQ(node(NODE), 0);
    for (int j = 1; j <= 11; ++j) {
        EXPECT_EQ(NODES.NODEX(1, j), 24.0 * (j - 1));
        EXPECT_EQ(NODES.NODEAX(1, j), 24.0 * (j - 1));
    }
    // Layer 2 starts at the first node at or below 100 (X = 120), layer 3 at X = 168; the deepest
    // layer ends at the tip.
    EXPECT_EQ(ranges(), (Ranges{{1, 5}, {6, 7}, {8, 11}}));
}

TEST_F(PileNodes, EdgeCasesOfTheWalk) {
    struct Case {
        const char* name;
        double headX;
        std::vector<std::pair<double, double>> layers;
        Ranges expected;
    };
    const std::vector<Case> cases = {
        // The head below the ground surface: layer 1 starts at the head.
        {"head below ground", 30.0, {{0, 100}, {100, 400}}, {{1, 3}, {4, 11}}},
        // Two layers thinner than an increment between the same two nodes (96 and 120): they start at
        // consecutive nodes.
        {"two thin layers", 0.0, {{0, 100}, {100, 105}, {105, 110}, {110, 400}}, {{1, 5}, {6, 6}, {7, 7}, {8, 11}}},
        // The tip exactly at the bottom of the deepest layer passes; a layer whose top is the tip holds
        // the tip alone, and the layer above, ending at the tip, takes it too.
        {"tip at the deepest bottom", 0.0, {{0, 100}, {100, 240}}, {{1, 5}, {6, 11}}},
        {"layer starting at the tip", 0.0, {{0, 240}, {240, 400}}, {{1, 11}, {11, 11}}},
        // Layers below the tip: the next one starts at the tip, later ones hold nothing.
        {"layers below the tip", 0.0, {{0, 100}, {100, 200}, {200, 300}, {300, 400}},
         {{1, 5}, {6, 9}, {10, 11}, {11, 11}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PILE.HEADX(1) = PILE.HEADXW(1) = c.headX;
        layers(c.layers);
        ASSERT_EQ(node(NODE), 0);
        EXPECT_EQ(ranges(), c.expected);
    }
}

TEST_F(PileNodes, BelowTheDeepestLayerStopsTheRun) {
    // One increment deeper than the deepest layer's bottom (264 > 240).
    propertySet(1, 264.0, 11, 12.0);
    layers({{0, 100}, {100, 240}});
    EXPECT_EQ(node(NODE), 3);
    EXPECT_EQ(node(NODE2D), 13);
    // The record on the results file and on the runtime file, once per failing routine.
    const std::string record =
        "\n\n\n     **** FATAL ERROR ****\n"
        "     THE PILE LENGTH,   0.26E+03( IN), EXTENDS BELOW THE\n"
        "     BOTTOM OF THE DEEPEST LAYER.\n";
    EXPECT_EQ(text(16), record + record);
    EXPECT_EQ(text(10), record + record);
}

TEST_F(PileNodes, SuccessLeavesTheStatusAlone) {
    layers({{0, 400}});
    EXPECT_EQ(node(NODE, 22), 22);  // another pile's failure is never cleared
    EXPECT_EQ(text(16), "");
}

TEST_F(PileNodes, BatterShortensTheDepths) {
    // 60 degrees from the vertical: vertical increments of 12 in; the pile reaches X = 120.
    PILE.BATTER(1) = std::acos(0.5);
    layers({{0, 100}, {100, 150}});
    CTLIN.KBATDEP = 0;
    EXPECT_EQ(node(NODE), 3);
    CTLIN.KBATDEP = 1;
    ASSERT_EQ(node(NODE), 0);
    EXPECT_NEAR(NODES.NODEX(1, 11), 120.0, 1e-9);
    EXPECT_EQ(NODES.NODEAX(1, 11), 240.0);
    EXPECT_EQ(ranges(), (Ranges{{1, 9}, {10, 11}}));
}

TEST_F(PileNodes, UserCurvePileIsNotStoppedNorAssigned) {
    layers({{0, 100}});
    CTLIN.KUSERPY = 1;
    PILE.PYCRV(1) = 1;
    PYDRV.LNFIRST(1, 1) = 7;
    ASSERT_EQ(node(NODE2D), 0);
    EXPECT_EQ(ranges(), (Ranges{{0, 0}}));
    EXPECT_EQ(NODES.NODEX(1, 11), 240.0);
    // Without the user-curve switch the same pile is laid out on the layers, and stops.
    CTLIN.KUSERPY = 0;
    EXPECT_EQ(node(NODE2D), 13);
}

TEST_F(PileNodes, ValuesSetOnceBeforeThePileLoops) {
    propertySet(2, 100.0, 8, 10.0);
    layers({{0, 100}, {100, 400}});
    prepareNodeTables();
    EXPECT_EQ(PILESET.HINC(1), 24.0);
    EXPECT_EQ(PILESET.HINC(2), 12.5);
    EXPECT_EQ(PILESET.HINC(3), 0.0);  // an empty set slot
    EXPECT_EQ(SOILLAY.XTOP(3), 400.0);
}

}  // namespace
}  // namespace kaldo::test
