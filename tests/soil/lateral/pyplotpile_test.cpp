// p-y records of the curve data file: nodal springs from the half increments above and below each node,
// the records of nodes above the ground surface, two criteria meeting at a node on the shorter
// deflection list, the user deflection list, the diameter at each increment, and the unformatted form.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "soil/pymodel.h"
#include "support/crvrecords.h"

namespace kaldo::test {
namespace {

// One point record: its number, deflection and reaction.
struct Point {
    int n;
    double y, p;
};

// One node of the records: its number and X, the curve record (soil flag, point count, type word) and
// its points.
struct NodeRecord {
    int k = 0;
    double X = 0.0;
    int soil = 0, count = 0, type = 0;
    std::vector<Point> points;
};

struct PileRecords {
    int pile = 0, nodes = 0, kind = 0;
    std::vector<NodeRecord> node;
};

// Reads the p-y records of one pile back from the formatted file.
PileRecords readBack(const std::string& text) {
    std::istringstream in(text);
    PileRecords r;
    in >> r.pile >> r.nodes >> r.kind;
    for (int k = 0; k < r.nodes && in; ++k) {
        NodeRecord n;
        in >> n.k >> n.X >> n.soil >> n.count >> n.type;
        for (int i = 0; i < n.count; ++i) {
            Point pt{};
            in >> pt.n >> pt.y >> pt.p;
            n.points.push_back(pt);
        }
        r.node.push_back(n);
    }
    return r;
}

// The five deflections of the user list and the nine of its written curves.
constexpr double FIVE[] = {0.0, 0.1, 0.2, 0.5, 1.0};
constexpr double NINE[] = {-1.0, -0.5, -0.2, -0.1, 0.0, 0.1, 0.2, 0.5, 1.0};

class PyRecords : public PyModel {
protected:
    void SetUp() override {
        PyModel::SetUp();
        CTLIN.ANTYPE = 3;
    }
    // Clean blocks with the run-wide values of SetUp, for the next case of a table.
    static void fresh() {
        resetAllBlocks();
        runWideValues();
        CTLIN.ANTYPE = 3;
    }
    // The deflection list of the file (none: each criterion's default list).
    static void deflections(std::initializer_list<double> ys) {
        OPTCRV.KCRVPYL = ys.size() > 0 ? 1 : 0;
        OPTCRV.NCRVPY = static_cast<int>(ys.size());
        int i = 1;
        for (double v : ys) OPTCRV.CRVPYDEF(i++) = v;
    }
    // Writes the records of pile 1 in the curve-file listing mode the driver sets, in the given form,
    // and returns the file.
    std::string write(int increments, bool unformatted = false) {
        OPTCRV.NCRVINC = increments;
        CTLIN.KCRVBIN = unformatted ? 1 : 0;
        CTLIN.KPYOP = 1;
        PYMODE.PYFILEMODE = 1;
        const std::string name = unformatted ? "r.bin" : "r.crv";
        EXPECT_TRUE(io::unit(28).open((dir / name).string(), io::Mode::Write,
                                      unformatted ? io::Form::Unformatted : io::Form::Text));
        int status = 0;
        PYPLOTPILE(1, status);
        EXPECT_EQ(status, 0);
        io::unit(28).close();
        return dir.read(name);
    }
};

// b = 24 in, k = 100 pci, no strength cap: the curve of a half increment of h = 120 in is
// k b y h / 2 = 144000 y; where two halves meet, 288000 y. The pile (480 in, four increments of the
// file) stands with its head at X0, the ground surface g below the head; the layer reaches far down.
// The weight of each node's spring in half increments: 0 for a node whose record has no curve.
TEST_F(PyRecords, UniformElasticSubgradeSpringsAreKbTimesTheIncrement) {
    struct Case {
        const char* what;
        double X0, g;
        int halves[5];
    };
    const Case cases[] = {
        {"head at the ground surface", 0.0, 0.0, {1, 2, 2, 2, 1}},
        {"head below the ground surface", 0.0, -60.0, {1, 2, 2, 2, 1}},
        {"head 96 in above the ground: the first midpoint is in the air", 0.0, 96.0, {0, 1, 2, 2, 1}},
        {"head 200 in above the ground: two midpoints in the air", 0.0, 200.0, {0, 0, 1, 2, 1}},
        {"the whole pile above X = 0: the tip keeps its half", -600.0, 0.0, {1, 2, 2, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fresh();
        propertySet(1, 480.0, 8, 24.0);
        pile(1, 1, c.X0, c.g);
        soil({uniform(12, c.X0 - 100.0, c.X0 + 1000.0, {.k = 100.0})});
        layOut(1);
        deflections({0.0, 0.1, 0.2, 0.5, 1.0});

        const PileRecords r = readBack(write(4));
        EXPECT_EQ(r.pile, 1);
        EXPECT_EQ(r.nodes, 5);
        EXPECT_EQ(r.kind, 1);
        ASSERT_EQ(r.node.size(), 5u);
        for (int k = 1; k <= 5; ++k) {
            const NodeRecord& n = r.node[static_cast<size_t>(k - 1)];
            EXPECT_EQ(n.k, k);
            EXPECT_DOUBLE_EQ(n.X, c.X0 + (k - 1) * 120.0);
            EXPECT_EQ(n.type, 6) << "node " << k;
            const int halves = c.halves[k - 1];
            if (halves == 0) {
                EXPECT_EQ(n.soil, 0) << "node " << k;
                EXPECT_EQ(n.count, 0) << "node " << k;
                continue;
            }
            EXPECT_EQ(n.soil, 1) << "node " << k;
            ASSERT_EQ(n.count, 9) << "node " << k;
            for (int i = 0; i < 9; ++i) {
                EXPECT_EQ(n.points[static_cast<size_t>(i)].n, i + 1);
                EXPECT_DOUBLE_EQ(n.points[static_cast<size_t>(i)].y, NINE[i]) << "node " << k;
                EXPECT_TRUE(near(n.points[static_cast<size_t>(i)].p, halves * 144000.0 * NINE[i], 1e-8))
                    << "node " << k << " point " << i + 1;
            }
        }
    }
}

// Soft clay above X = 100 in, an elastic subgrade below; b = 12 in, four increments of 60 in, the
// criteria's own lists of 17 points. Clay (c = 10 psi, no unit weight, E50 = 0.01, J = 0.5): y50 =
// 2.5 E50 b = 0.3 in, pu = (3 + 0.5 x / b) c b, p = pu / 2 (y / y50)^(1/3) up to 8 y50 = 2.4 in, then pu;
// its list is 8 y50 times fractions up to 1.2, ending at 2.88 in. Elastic (k = 100 pci): p = k b y up
// to the strength c b, its list 17 steps of yu / 10 with yu = c / k, ending at 1.6 yu. Each half
// increment carries its curve times h / 2 = 30 in.
class TwoCriteria : public PyRecords {
protected:
    void build(double elasticStrength) {
        propertySet(1, 240.0, 4, 12.0);
        pile(1, 1, 0.0, 0.0);
        soil({uniform(1, 0.0, 100.0, {.c = 10.0, .e50 = 0.01}),
              uniform(12, 100.0, 1000.0, {.c = elasticStrength, .k = 100.0})});
        layOut(1);
        deflections({});
    }
    // The clay curve at depth x, times h / 2.
    static double clay(double x, double y) {
        const double pu = (3.0 + 0.5 * x / 12.0) * 10.0 * 12.0;
        if (y > 2.4 + 1e-9) return 30.0 * pu;
        return 30.0 * 0.5 * pu * std::pow(y / 0.3, s(1.0f / 3.0f));
    }
    static double elastic(double c, double y) { return 30.0 * std::min(100.0 * 12.0 * y, c * 12.0); }
    // The clay's list of deflections.
    static std::vector<double> clayList() {
        const float f[] = {0.0f, 0.00025f, 0.0025f, 0.0075f, 0.02f, 0.04f, 0.06f, 0.10f, 0.15f,
                           0.225f, 0.30f, 0.40f, 0.50f, 0.65f, 0.80f, 1.0f, 1.2f};
        std::vector<double> ys;
        for (float v : f) ys.push_back(s(v) * 2.4);
        return ys;
    }
};

// The deeper half's list ends first (yu = 1 in, list to 1.6 in < 2.88 in): node 3 takes the elastic
// list and reads the clay half between its points.
TEST_F(TwoCriteria, NodeWhereTheyMeetTakesTheShorterListOfTheLowerHalf) {
    const double c = 100.0;
    build(c);
    const PileRecords r = readBack(write(4));
    ASSERT_EQ(r.node.size(), 5u);
    const NodeRecord& n3 = r.node[2];
    EXPECT_EQ(n3.type, 6) << "the type word of the curve below the node";
    ASSERT_EQ(n3.count, 33);
    const std::vector<double> cl = clayList();
    for (int i = 1; i <= 17; ++i) {
        const double y = (i - 1) * 0.1;
        // The clay half at y, linear between the points of its list that bracket y.
        size_t j = 1;
        while (j + 1 < cl.size() && cl[j] < y) ++j;
        const double a = clay(90.0, cl[j - 1]), b = clay(90.0, cl[j]);
        const double upper = a + (b - a) * (y - cl[j - 1]) / (cl[j] - cl[j - 1]);
        const Point& pt = n3.points[static_cast<size_t>(16 + i - 1)];
        EXPECT_TRUE(near(pt.y, y, 1e-7)) << "point " << i;
        EXPECT_TRUE(near(pt.p, elastic(c, y) + upper, 1e-7)) << "point " << i;
        const Point& mirror = n3.points[static_cast<size_t>(17 - i)];
        EXPECT_EQ(mirror.y, -pt.y);
        EXPECT_EQ(mirror.p, -pt.p);
    }
    // At y = 0.1 in by hand: the clay points 0.096 and 0.144 in bracket it.
    const double at01 = 3600.0 + clay(90.0, 0.096) + (clay(90.0, 0.144) - clay(90.0, 0.096)) * (0.1 - 0.096) / 0.048;
    EXPECT_TRUE(near(n3.points[17].p, at01, 1e-6));
}

// The upper half's list ends first (yu = 4 in, list to 6.4 in > 2.88 in): node 3 keeps the clay list,
// and the elastic half, straight up to 4 in, adds exactly k b y h / 2 there.
TEST_F(TwoCriteria, NodeWhereTheyMeetTakesTheShorterListOfTheUpperHalf) {
    build(400.0);
    const PileRecords r = readBack(write(4));
    ASSERT_EQ(r.node.size(), 5u);
    const std::vector<double> cl = clayList();
    const NodeRecord& n3 = r.node[2];
    ASSERT_EQ(n3.count, 33);
    for (int i = 1; i <= 17; ++i) {
        const double y = cl[static_cast<size_t>(i - 1)];
        const Point& pt = n3.points[static_cast<size_t>(16 + i - 1)];
        EXPECT_TRUE(near(pt.y, y, 1e-7)) << "point " << i;
        EXPECT_TRUE(near(pt.p, clay(90.0, y) + 36000.0 * y, 1e-7)) << "point " << i;
    }
}

// Two clay halves on the same list add point by point; the head and the tip have one half each.
TEST_F(TwoCriteria, SameListsAddPointByPointAndTheEndsHaveOneHalf) {
    build(100.0);
    const PileRecords r = readBack(write(4));
    ASSERT_EQ(r.node.size(), 5u);
    const std::vector<double> cl = clayList();
    for (int i = 1; i <= 17; ++i) {
        const double y = cl[static_cast<size_t>(i - 1)];
        const size_t at = static_cast<size_t>(16 + i - 1);
        EXPECT_TRUE(near(r.node[0].points[at].p, clay(30.0, y), 1e-7)) << "head, point " << i;
        EXPECT_TRUE(near(r.node[1].points[at].p, clay(30.0, y) + clay(90.0, y), 1e-7)) << "node 2, point " << i;
        EXPECT_EQ(r.node[0].type, 1);
        EXPECT_EQ(r.node[1].type, 1);
    }
    // The tip: the elastic half above it alone (yu = 1 in, 17 steps of 0.1 in).
    const NodeRecord& tip = r.node[4];
    ASSERT_EQ(tip.count, 33);
    for (int i = 1; i <= 17; ++i) {
        const double y = (i - 1) * 0.1;
        EXPECT_TRUE(near(tip.points[static_cast<size_t>(16 + i - 1)].p, elastic(100.0, y), 1e-7)) << "point " << i;
    }
}

// A half increment in a layer of user curves within a layer has no generated curve: it adds nothing,
// and a node with no half that has one gets no points, whatever an earlier listing left in the curve
// record.
TEST_F(PyRecords, HalfWithoutAGeneratedCurveAddsNothing) {
    propertySet(1, 240.0, 4, 24.0);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(12, 0.0, 100.0, {.k = 100.0}), uniform(5, 100.0, 1000.0, {})});
    layOut(1);
    deflections({0.0, 1.0});
    PYPLOT.PLDEPTH = 50.0;  // as a listing of another pile might leave it
    PYPLOT.PLSOIL = 1;
    const PileRecords r = readBack(write(4));
    ASSERT_EQ(r.node.size(), 5u);
    // k b h / 2 = 100 x 24 x 30 = 72000 per inch.
    const double perHalf = 72000.0;
    const int halves[] = {1, 2, 1, 0, 0};
    for (int k = 0; k < 5; ++k) {
        const NodeRecord& n = r.node[static_cast<size_t>(k)];
        EXPECT_EQ(n.type, 6) << "node " << k + 1 << ": the type of the last generated curve";
        if (halves[k] == 0) {
            EXPECT_EQ(n.soil, 0) << "node " << k + 1;
            EXPECT_EQ(n.count, 0) << "node " << k + 1;
            continue;
        }
        ASSERT_EQ(n.count, 3) << "node " << k + 1;
        EXPECT_TRUE(near(n.points[2].p, halves[k] * perHalf)) << "node " << k + 1;
        EXPECT_TRUE(near(n.points[0].p, -halves[k] * perHalf)) << "node " << k + 1;
    }
}

// Two sections: 24 in over the upper 120 in, 12 in below. Each half increment takes the diameter of
// its own middle: k b y h / 2 is 72000 y above and 36000 y below, 108000 y at the node between.
TEST_F(PyRecords, EachHalfTakesTheDiameterAtItsMiddle) {
    propertySet(1, 240.0, 4, 24.0);
    PILESET.NSECT(1) = 2;
    SECTTAB.SECTBOT(1, 1) = 120.0;
    SECTTAB.SECTTOP(1, 2) = 120.0;
    SECTTAB.SECTBOT(1, 2) = 240.0;
    SECTTAB.SECTDIAM(1, 2, SectTab::TOP) = SECTTAB.SECTDIAM(1, 2, SectTab::BOT) = 12.0;
    setDepthSentinel(1);
    pile(1, 1, 0.0, 0.0);
    soil({uniform(12, 0.0, 1000.0, {.k = 100.0})});
    layOut(1);
    deflections({0.0, 1.0});
    const PileRecords r = readBack(write(4));
    ASSERT_EQ(r.node.size(), 5u);
    const double expected[] = {72000.0, 144000.0, 108000.0, 72000.0, 36000.0};
    for (int k = 0; k < 5; ++k) {
        ASSERT_EQ(r.node[static_cast<size_t>(k)].count, 3) << "node " << k + 1;
        EXPECT_TRUE(near(r.node[static_cast<size_t>(k)].points[2].p, expected[k])) << "node " << k + 1;
    }
}

// The unformatted records hold the items of the formatted ones, in the same order.
TEST_F(TwoCriteria, UnformattedRecordsHoldTheSameItems) {
    build(100.0);
    const std::string text = write(4);
    build(100.0);
    const std::string bytes = write(4, true);
    EXPECT_TRUE(sameItems(text, bytes));
    // One pile record, five node and five curve records, 33 points at each node.
    EXPECT_EQ(unformattedRecords(bytes).size(), 1u + 5u * (2u + 33u));
}

}  // namespace
}  // namespace kaldo::test
