// The slab program from its input text: reading and refusals, the checks, the stepping with its cuts,
// and slabs on pile springs against statics and beam theory.
#include <gtest/gtest.h>

#include <cmath>

#include "flexcap/slabmesh.h"
#include "services/status.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

// The slab program run on a text, its files in a scratch folder.
struct SlabRun {
    WorkDir dir;
    slab::Outcome out;

    slab::Outcome run(const std::string& text, slab::PileLink& piles) {
        slab::Files f;
        f.listing.open((dir / "s.lst").string(), io::Mode::Write);
        f.results.open((dir / "s.res").string(), io::Mode::Write);
        f.convergence.open((dir / "s.cnv").string(), io::Mode::Write);
        f.trace.open((dir / "s.trc").string(), io::Mode::Write);
        io::StringSource in(text);
        out = slab::runSlab(in, f, piles);
        return out;
    }
    std::string listing() const { return dir.read("s.lst"); }
    std::string results() const { return dir.read("s.res"); }
    std::string convergence() const { return dir.read("s.cnv"); }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t p = 0;
    while (p < text.size()) {
        size_t e = text.find('\n', p);
        if (e == std::string::npos) e = text.size();
        out.push_back(text.substr(p, e - p));
        p = e + 1;
    }
    return out;
}

// A 2 x 1 strip of 8-node elements, 4 x 2, on four pile points at its corners, loaded at its centre.
slab::Model strip() {
    slab::Model m = rectMesh(8, 2, 1, 4.0, 2.0, 1.0e6, 0.2, 0.3);
    m.c.KPILE = 1;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {0.0, 2.0}, {4.0, 2.0}}) addPoint(m.piles, x, y);
    addPoint(m.clod, 2.0, 1.0, {0.0, 0.0, 100.0, 0.0, 0.0, 0.0});
    return m;
}

TEST(SlabInput, ASmallModelIsReadEchoedAndItsFrontCounted) {
    slab::Model m = rectMesh(8, 1, 1, 2.0, 2.0, 3.0e4, 0.2, 0.5);
    m.c.KPILE = 1;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {2.0, 0.0}, {2.0, 2.0}, {0.0, 2.0}}) addPoint(m.piles, x, y);
    addPoint(m.clod, 1.0, 1.0, {0.0, 0.0, 8.0, 0.0, 0.0, 0.0});
    SpringPiles piles;
    piles.k = {1e5, 1e5, 1e5, 1e5, 1e5, 1e5};
    SlabRun r;
    r.run(slabText(m, "ONE ELEMENT"), piles);
    ASSERT_EQ(r.out.status, 0) << r.out.message;
    const std::vector<std::string> l = lines(r.listing());
    ASSERT_GT(l.size(), 30u);
    EXPECT_EQ(l[0], "ONE ELEMENT" + std::string(61, ' '));
    EXPECT_EQ(l[1], "");
    EXPECT_EQ(l[2], "");
    EXPECT_EQ(l[3], " NPOIN =   8     NELEM =   1     NVFIX =   0     NCASE =   1     NTYPE =   0     NNODE =   8     "
                    "NDOFN =   6");
    EXPECT_EQ(l[5], " NMATS =   1     NPROP =   3     NGAUS =   2     NDIME =   2     NSTRE =   8     NEVAB =  48");
    EXPECT_EQ(l[7], " NNLOD =   0     NNSTI =   0     NDLOD =   0     NDSTI =   0     NCLOD =   1     NCSTI =   0 NCTSTI =   4");
    EXPECT_EQ(l[9], "    DT =    1.0000      TINI =    0.0000     TEND  =    1.0000     DTMIN =    0.1000     MAXITER =   10");
    EXPECT_EQ(l[12], " ELEMENT   PROPERTY      NODE NUMBERS");
    EXPECT_EQ(l[13], "       1       1       1       2       3       4       5       6       7       8");
    const std::string text = r.listing();
    EXPECT_NE(text.find("\n MAXIMUM FRONTWIDTH ENCOUNTERED =   48\n"), std::string::npos);
    EXPECT_NE(text.find("\n CONCENTRATED LOADS\n     X        Y            VALUES\n     1.0000    1.0000    0.00000E+00"),
              std::string::npos);
    // Four equal piles under a central load share it equally.
    EXPECT_TRUE(r.out.reachedEnd);
    EXPECT_EQ(r.out.steps, 1);
}

struct Refusal {
    const char* name;
    std::function<void(slab::Model&)> spoil;
    std::function<void(std::string&)> spoilText;
    int status;
    const char* message;
};

TEST(SlabInput, RecordsOutsideTheModelAreRefusedWithTheirStatusAndMessage) {
    auto replaceLine = [](std::string& t, int line, const std::string& with) {
        std::vector<std::string> l = lines(t);
        l[static_cast<size_t>(line - 1)] = with;
        t.clear();
        for (const auto& x : l) t += x + "\n";
    };
    const Refusal cases[] = {
        {"element index", {}, [&](std::string& t) { replaceLine(t, 4, "3 1 1 1 3 13 11 2 8 12 7"); }, ST_INDEX, "ELEMENT 3 OUTSIDE 1 TO 2"},
        {"node of an element", {}, [&](std::string& t) { replaceLine(t, 4, "1 1 1 1 3 13 11 2 8 12 99"); }, ST_INDEX, "NODE 99 OUTSIDE 1 TO 13"},
        {"material of an element", {}, [&](std::string& t) { replaceLine(t, 4, "1 1 2 1 3 13 11 2 8 12 7"); }, ST_INDEX, "MATERIAL 2 OUTSIDE 1 TO 1"},
        {"nodal load", [](slab::Model& m) {
             m.nlod.number = {14};
             m.nlod.value = {{}};
         }, {}, ST_INDEX, "NODE 14 OUTSIDE 1 TO 13"},
        {"edge side", [](slab::Model& m) {
             m.elod.element = {1};
             m.elod.side = {5};
             m.elod.dof = {3};
             m.elod.value = {{1, 1, 1}};
         }, {}, ST_INDEX, "SIDE 5 OUTSIDE 1 TO 4"},
        {"element of 7 nodes", {}, [&](std::string& t) { replaceLine(t, 2, "13 2 1 7 2 0 0 0 0 0 1 0 0 0 4 1"); }, ST_BADVALUE, "ELEMENTS OF 7 NODES"},
        {"zero time increment", [](slab::Model& m) { m.c.DT = 0.0; }, {}, ST_BADVALUE, "DT AND DTMIN ABOVE 0"},
        {"negative minimum increment", [](slab::Model& m) { m.c.DTMIN = -0.1; }, {}, ST_BADVALUE, "DT AND DTMIN ABOVE 0"},
        {"zero thickness", [](slab::Model& m) { m.mprop[0][2] = 0.0; }, {}, ST_BADVALUE, "0.00000E+00: IT MUST BE ABOVE 0"},
        {"load off the slab", [](slab::Model& m) { m.clod.point[0] = {5.0, 1.0}; }, {}, ST_BADVALUE, "CONCENTRATED LOAD 1 AT X =      5.0000"},
        {"pile off the slab", [](slab::Model& m) { m.piles.point[3] = {4.0, 2.5}; }, {}, ST_BADVALUE, "PILE POINT 4 AT X ="},
        {"text for a number", {}, [&](std::string& t) { replaceLine(t, 3, "1.0 0.0 1.0 x 10 0"); }, ST_MALFORMED, "SLAB INPUT FILE"},
        {"file ends early", {}, [&](std::string& t) { t = t.substr(0, t.find("\n1 1 0 0") + 1); }, ST_EARLYEND, "SLAB INPUT FILE"},
    };
    for (const Refusal& c : cases) {
        slab::Model m = strip();
        if (c.spoil) c.spoil(m);
        std::string text = slabText(m);
        if (c.spoilText) c.spoilText(text);
        SpringPiles piles;
        piles.k = {1e5, 1e5, 1e5, 1e5, 1e5, 1e5};
        SlabRun r;
        r.run(text, piles);
        EXPECT_EQ(r.out.status, c.status) << c.name << ": " << r.out.message;
        EXPECT_NE(r.out.message.find(c.message), std::string::npos) << c.name << ": " << r.out.message;
        EXPECT_NE(r.listing().find(" *** THE SLAB ANALYSIS STOPPED: " + r.out.message), std::string::npos) << c.name;
        EXPECT_EQ(piles.calls, 0) << c.name;
    }
}

TEST(SlabInput, TheChecksDiagnoseTheModelAndListTheRemainingRecords) {
    // The control record: 10 nodes per element and no Gauss points.
    {
        slab::Model m = strip();
        std::string text = slabText(m);
        text.replace(text.find("13 2 1 8 2"), 10, "13 2 1 10 0");
        SpringPiles piles;
        SlabRun r;
        r.run(text, piles);
        EXPECT_EQ(r.out.status, ST_BADVALUE);
        const std::string l = r.listing();
        EXPECT_NE(l.find("\n\n *** DIAGNOSIS BY CHECK1, ERROR  6\n\n\n *** DIAGNOSIS BY CHECK1, ERROR 10\n"), std::string::npos) << l;
        // Reading stopped after the time record: the element records follow.
        EXPECT_NE(l.find("\n\n NOW FOLLOWING A LISTING OF POST-DISASTER DATA CARDS\n\n     " + lines(text)[3] + "\n"),
                  std::string::npos)
            << l;
        EXPECT_NE(r.convergence().find(" *** DIAGNOSIS BY CHECK1, ERROR  6"), std::string::npos);
    }
    // The whole model: two nodes at one place and a node no element uses.
    {
        slab::Model m = strip();
        // A 14th node that no element uses, at the place of node 1.
        m.coord.push_back({0.0, 0.0});
        m.nlabel.push_back(14);
        m.c.NPOIN = 14;
        const std::string text = slabText(m);
        SpringPiles piles;
        SlabRun r;
        r.run(text, piles);
        EXPECT_EQ(r.out.status, ST_BADVALUE) << r.out.message;
        const std::string l = r.listing();
        EXPECT_NE(l.find("\n CHECK WHY NODE  14 NEVER APPEARS\n"), std::string::npos) << l;
        EXPECT_NE(l.find("\n *** DIAGNOSIS BY CHECK2, ERROR 13       ASSOCIATED NUMBER    1\n"), std::string::npos) << l;
        EXPECT_NE(l.find("\n *** DIAGNOSIS BY CHECK2, ERROR 18       ASSOCIATED NUMBER    1\n"), std::string::npos) << l;
        EXPECT_EQ(l.find("ERROR 19"), std::string::npos);
    }
}

// Stiff piles under a slab much stiffer than they are: the slab moves as a rigid body and each pile
// takes the share of the load that statics gives it.
TEST(SlabRun, AStiffSlabOnPileSpringsSharesTheLoadByStatics) {
    slab::Model m = strip();
    m.mprop[0][0] = 1.0e12;
    // An eccentric load: 100 down (the slab's -z) at (3, 1.5) and reactions by the lever rule in both
    // directions.
    m.clod.point[0] = {3.0, 1.5};
    m.clod.value[0] = {0.0, 0.0, -100.0, 0.0, 0.0, 0.0};
    // Translation springs only: the piles carry the load by their axial forces alone.
    SpringPiles piles;
    piles.k = {1e3, 1e3, 1e3, 0.0, 0.0, 0.0};
    SlabRun r;
    r.run(slabText(m), piles);
    ASSERT_EQ(r.out.status, 0) << r.out.message;
    // Pile reactions in the group's axes, from the listing of the final evaluation: the vertical (X,
    // downward) component on the second line of each pile.
    const std::string l = r.listing();
    const size_t at = l.find("PILE HEAD DISPLACEMENTS AND REACTIONS");
    ASSERT_NE(at, std::string::npos);
    std::vector<std::string> rows = lines(l.substr(at));
    // A rigid slab on equal springs tilts in a plane, so the pile reactions are those of a rigid cap:
    // R = P (1/4 + e_x x / sum x^2 + e_y y / sum y^2).
    const double ex = 1.0, ey = 0.5;
    const double px[4] = {-2, 2, -2, 2}, py[4] = {-1, -1, 1, 1};
    for (int p = 0; p < 4; ++p) {
        std::istringstream f(rows[static_cast<size_t>(4 + 2 * p)]);
        double F1 = 0.0;
        f >> F1;
        const double share = 100.0 * (0.25 + ex * px[p] / 16.0 + ey * py[p] / 4.0);
        EXPECT_NEAR(F1, share, 1e-4 * 100.0) << "pile " << p + 1;
    }
}

// A slender strip on two stiff piles at its ends, loaded at mid-span: it bends as a simply supported
// beam, so its centre sags below the piles by P L^3 / 48 EI plus the shear term P L / 4 kGA.
TEST(SlabRun, AFlexibleStripSagsBetweenItsPilesAsABeam) {
    const double L = 10.0, b = 1.0, h = 0.5, E = 1.0e6, P = 50.0;
    slab::Model m = rectMesh(8, 10, 1, L, b, E, 0.0, h);
    m.c.KPILE = 1;
    addPoint(m.piles, 0.0, b / 2);
    addPoint(m.piles, L, b / 2);
    addPoint(m.clod, L / 2, b / 2, {0.0, 0.0, P, 0.0, 0.0, 0.0});
    // Rigid against every movement but the turn about the strip's width (a pinned support): the slab's
    // slope along x is the turn about the group's Y, the pile head's fifth freedom.
    SpringPiles piles;
    piles.k = {1e9, 1e9, 1e9, 1e9, 0.0, 1e9};
    SlabRun r;
    r.run(slabText(m), piles);
    ASSERT_EQ(r.out.status, 0) << r.out.message;
    // The centre's z displacement from the result file (node line of the node at (5, 0.5)).
    const int centre = nodeNear(m, L / 2, b / 2);
    const std::vector<std::string> res = lines(r.results());
    double w = 0.0;
    for (const auto& line : res) {
        std::istringstream f(line);
        int n = 0;
        double ux, uy, uz;
        if ((f >> n >> ux >> uy >> uz) && n == centre && line.size() > 100) w = uz;
    }
    const double I = b * h * h * h / 12.0;
    const double kGA = E * h * b / 2.4000000953674316;
    const double expected = P * L * L * L / (48.0 * E * I) + P * L / (4.0 * kGA);
    EXPECT_NEAR(w, expected, 0.02 * expected) << "sag of the strip";
}

// Piles that soften: a step that needs more iterations than allowed is cut, and a cut below the minimum
// increment ends the analysis short of its end time, which the outcome and the files say.
struct SofteningPiles : slab::PileLink {
    double k = 1e4, d0 = 1e-3;
    void stiffness(int, const Vec6& d, Mat6& K, int&) override {
        K.fill(0.0);
        for (int i = 0; i < 6; ++i) {
            const double x = std::abs(d[static_cast<size_t>(i)]) / d0;
            K[static_cast<size_t>(i + 6 * i)] = -k / ((1 + x) * (1 + x));
        }
    }
    void forces(int, const Vec6& d, Vec6& F, int&) override {
        for (int i = 0; i < 6; ++i) {
            const double v = d[static_cast<size_t>(i)];
            F[static_cast<size_t>(i)] = -k * v / (1 + std::abs(v) / d0);
        }
    }
};

TEST(SlabRun, StepsAreCutAndAStepBelowTheMinimumEndsTheAnalysisShort) {
    slab::Model m = strip();
    m.c.DT = 0.5;
    m.c.DTMIN = 0.01;
    m.c.MAXITER = 2;
    SofteningPiles piles;
    // The piles can carry at most k d0 = 10 each: 100 on four piles exceeds what they hold.
    SlabRun r;
    r.run(slabText(m), piles);
    ASSERT_EQ(r.out.status, 0) << r.out.message;
    EXPECT_FALSE(r.out.reachedEnd);
    EXPECT_LT(r.out.lastTime, 0.4);
    const std::string c = r.convergence();
    EXPECT_NE(c.find("\nerror, REQUIRED INCREMENT LESS THAN MINIMUM SPECIFIED\n"), std::string::npos);
    EXPECT_NE(c.find("THE SLAB ANALYSIS STOPPED SHORT"), std::string::npos);
    EXPECT_NE(r.listing().find("THE SLAB ANALYSIS STOPPED SHORT"), std::string::npos);
    // The result file holds the converged steps, numbered without gaps, and ends with its end line.
    const std::vector<std::string> res = lines(r.results());
    int steps = 0;
    for (const auto& l : res)
        if (l.rfind("STEP    ", 0) == 0) {
            EXPECT_EQ(l, "STEP" + io::fmtI(8, ++steps));
        }
    EXPECT_EQ(steps, r.out.steps);
    EXPECT_EQ(res.back(), "END_STEP_DATA");
}

TEST(SlabRun, TheLastStepEndsExactlyAtTheEndTime) {
    slab::Model m = strip();
    m.c.DT = 0.3;
    SpringPiles piles;
    piles.k = {1e5, 1e5, 1e5, 1e5, 1e5, 1e5};
    SlabRun r;
    r.run(slabText(m), piles);
    ASSERT_EQ(r.out.status, 0) << r.out.message;
    EXPECT_TRUE(r.out.reachedEnd);
    EXPECT_EQ(r.out.steps, 4);
    EXPECT_EQ(r.out.lastTime, 1.0);
    const std::string l = r.listing();
    EXPECT_NE(l.find("   STEP =    4   TIME =    1.0000\n"), std::string::npos);
    // Linear piles: every step converges in its second iteration.
    EXPECT_EQ(r.out.iterations, 8);
}

TEST(SlabRun, AFirstIncrementBeyondTheEndTimeRunsNoStep) {
    slab::Model m = strip();
    m.c.DT = 1.5;
    SpringPiles piles;
    SlabRun r;
    r.run(slabText(m), piles);
    ASSERT_EQ(r.out.status, 0) << r.out.message;
    EXPECT_EQ(r.out.steps, 0);
    EXPECT_EQ(r.results(), "END_STEP_DATA\n");
    EXPECT_EQ(piles.calls, 0);
}

}  // namespace
}  // namespace kaldo::test
