// End to end: groups of identical pinned piles in soft clay under a rigid cap, each pile carrying the
// same lateral load, with the piles' own Newton iteration and the head stiffness of the balanced piles.
// The group's Newton path must not depend on how many piles share the load, and a group that once went
// astray (ten piles in two rows) must converge with every pile closed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/hostrun.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

// The piles' Newton iteration and the balanced piles' head stiffness, on for the host runs of a test.
struct NewtonRuns {
    NewtonRuns() {
        setenv("KALDO_PILE_NEWTON", "1", 1);
        setenv("KALDO_LINEAR_HEAD_STIFFNESS", "1", 1);
    }
    ~NewtonRuns() {
        unsetenv("KALDO_PILE_NEWTON");
        unsetenv("KALDO_LINEAR_HEAD_STIFFNESS");
    }
};

struct Head {
    double y, z;  // ft
};

// Piles of 24 in steel pipe, 60 ft, 100 increments, pinned heads, in uniform soft clay (c = 720 psf,
// E50 0.01), with straight axial and torque curves; a lateral load of 90 kips per pile along Y at the
// cap origin, in load steps of a quarter.
std::string identicalPiles(const std::vector<Head>& heads) {
    std::ostringstream f;
    f << "IDENTICAL PINNED PILES, SOFT CLAY, 90 KIPS EACH\nsecond title line\n"
      << "CONTROL RECORD\n1 3 0 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
      << "PILE CAP\n0.0 0.0 0.0 0.0 0.0 0\n"
      << "LOAD CASES\n1 0 0 0 0\n0 0 1 1 1 100 1000\n1.0E-06 1.0E-07 0.25 0.001\n"
      << "NONLINEAR SINGLE PILE\n0 0 0 0 0 0 0 0\n0 1 1.0 0 0.0 0.0 0 0 0\n0\n"
      << "0 1 0 0 0 0 0 0 1 0 0 1 0 0 1 0 0 0 0 0 0 0 0 0 0\n1\n";
    char load[96];
    std::snprintf(load, sizeof load, "0.0 %.1f 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n", 90000.0 * static_cast<double>(heads.size()));
    f << load << "0\n0\n"
      << "LOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOAD SETS\n0\n"
      << "PILE ARRANGEMENT\n" << heads.size() << "\n";
    for (const Head& h : heads) {
        char pos[96];
        std::snprintf(pos, sizeof pos, "0.0 %.1f %.1f 0.0 90.0 0.0 -1.0\n", h.y, h.z);
        f << "1 1 1 0 1 1 0 0 0 0\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n" << pos;
    }
    f << "PILE PROPERTY SETS\n1\n1 1\n100 60.0 1\n0.0 60.0 1\n"
      << "CROSS SECTIONS\n1\n1 0 0 0\nPILE24\n24.0 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
      << "0.0 452.389 20000.0 20000.0 0.0 1.0E+10 0.0 0.0 3000000.0 0.0 0\n0 0 0.0 0 0\nNONE\n"
      << "SOIL LAYERS\n1\n1 1\n-1.0 100.0\n2 10\n"
      << "43.2 720.0 0.0 0.0 0.0 0.01 0.0 0.0 0.0 0.0\n43.2 720.0 0.0 0.0 0.0 0.01 0.0 0.0 0.0 0.0\n"
      << "GENERATED AXIAL LOAD-SETTLEMENT CURVES\n0\nGENERATED TORQUE-ROTATION CURVES\n0\n"
      << "USER AXIAL LOAD-SETTLEMENT CURVES\n1\n1 3\n-10000000.0 -20.0\n0.0 0.0\n10000000.0 20.0\n"
      << "USER TORQUE-ROTATION CURVES\n1\n1 3\n-1.0E+10 -1.0\n0.0 0.0\n1.0E+10 1.0\n"
      << "MOMENT-CURVATURE CURVES OF THE CROSS SECTIONS\n0\n";
    return f.str();
}

// The iterations of each load step, from the runtime file's trace (a step's last "ITERATION k").
std::vector<int> iterationsPerStep(const std::string& runtime) {
    std::vector<int> steps;
    std::istringstream in(runtime);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("STEP ") != std::string::npos && line.find("TCUR") != std::string::npos) steps.push_back(0);
        const std::size_t at = line.find("ITERATION ");
        if (at != std::string::npos && !steps.empty()) steps.back() = std::atoi(line.c_str() + at + 10);
    }
    return steps;
}

TEST(IdenticalPiles, TenPilesInTwoRowsConvergeWithEveryPileClosed) {
    const NewtonRuns newton;
    std::vector<Head> heads;
    for (double z : {-50.0, 50.0})
        for (double y : {-200.0, -100.0, 0.0, 100.0, 200.0}) heads.push_back({y, z});
    WorkDir dir;
    dir.write("ten.inp", identicalPiles(heads));
    const HostOutcome r = runHostIn(dir, "ten.inp");
    ASSERT_EQ(r.exit, 0) << r.out << dir.read("ten.run");
    EXPECT_NE(dir.read("ten.cst").find("    1 ANALYSIS COMPLETED"), std::string::npos) << dir.read("ten.cst");
    EXPECT_EQ(dir.read("ten.out").find("NO CLOSURE"), std::string::npos);
    int total = 0;
    for (int n : iterationsPerStep(dir.read("ten.run"))) total += n;
    EXPECT_GT(total, 0);
    EXPECT_LT(total, 40);
}

// Square groups centred on the load: every pile moves with the cap alone and carries the same share, so
// the group is one pile times n, and its Newton iterations step for step must be those of the smallest
// group.
TEST(IdenticalPiles, TheGroupTakesTheSameIterationsWhateverTheNumberOfPiles) {
    const NewtonRuns newton;
    std::vector<int> first;
    for (int side : {2, 3, 4, 5}) {
        SCOPED_TRACE(side);
        std::vector<Head> heads;
        const double half = 50.0 * (side - 1);
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j) heads.push_back({100.0 * i - half, 100.0 * j - half});
        WorkDir dir;
        dir.write("g.inp", identicalPiles(heads));
        const HostOutcome r = runHostIn(dir, "g.inp");
        ASSERT_EQ(r.exit, 0) << r.out << dir.read("g.run");
        EXPECT_NE(dir.read("g.cst").find("    1 ANALYSIS COMPLETED"), std::string::npos) << dir.read("g.cst");
        const std::vector<int> steps = iterationsPerStep(dir.read("g.run"));
        ASSERT_EQ(steps.size(), 4u);
        if (first.empty())
            first = steps;
        else
            EXPECT_EQ(steps, first);
    }
}

}  // namespace
}  // namespace kaldo::test
