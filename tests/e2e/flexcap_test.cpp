// End to end: the flexible cap. The plate model of a case is exported, run as it is, and a very stiff
// plate on the linear 2 x 2 group of tests/e2e/linear gives the rigid-cap solution of the same model.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/hostrun.h"
#include "support/results.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l)) out.push_back(l);
    return out;
}

// The 2 x 2 group of fixed-head piles at y, z = -1.5 or 1.5 m, with the control record's flexible-cap
// switch, the flexible-cap record after the cap record (mesh centre, divisions, modulus in kPa, Poisson's
// ratio) and the loads of its one load case (six loads at the origin).
std::string squareGroup(int flxcap, const std::string& plate, const std::string& loads) {
    std::string t = WorkDir::readPath(fs::path(KALDO_LINEAR_DIR) / "square-2x2.inp");
    const std::string control = "2 3 0 0 0 1 1";
    t.replace(t.find(control), control.size(), "2 3 0 " + std::to_string(flxcap) + " 0 1 1");
    const std::string cap = "4.0 4.0 1.0 0.0 0.0 0\n";
    if (flxcap > 0) t.replace(t.find(cap), cap.size(), cap + plate + "\n");
    const std::string load = "4000.0 0.0 0.0 0.0 0.0 0.0";
    t.replace(t.find(load), load.size(), loads);
    return t;
}

struct SlabPile {
    double disp[6], reaction[6];
};

// The pile-head table at the end of the slab listing.
std::vector<SlabPile> slabPiles(const std::string& listing) {
    std::vector<SlabPile> piles;
    const size_t at = listing.find("PILE HEAD DISPLACEMENTS AND REACTIONS");
    if (at == std::string::npos) return piles;
    const std::vector<std::string> l = splitLines(listing.substr(at));
    for (size_t k = 3; k + 1 < l.size(); k += 2) {
        std::istringstream d(l[k]), r(l[k + 1]);
        int n = 0;
        SlabPile p{};
        if (!(d >> n)) break;
        for (double& v : p.disp) d >> v;
        for (double& v : p.reaction) r >> v;
        piles.push_back(p);
    }
    return piles;
}

// A stiff plate (E = 2e12 kPa, 1 m thick, 4 x 4 elements over the 4 m x 4 m cap) on the four piles,
// under a vertical load, lateral loads and moments: the pile heads move and react as under the rigid
// cap. The plate bends by about 1e-6 of the pile movements, and the slab stops iterating once an
// increment is below 1e-4 of the step's movement: the linear piles close in the second iteration, so the
// two agree to the five digits the results report prints.
TEST(FlexibleCap, AStiffPlateOnLinearPilesGivesTheRigidCapSolution) {
    const std::string loads = "4000.0 150.0 -90.0 0.0 300.0 -200.0";
    const std::string plate = "0.0 0.0 4 4 2.0e12 0.2";

    WorkDir rigid;
    rigid.write("cap.inp", squareGroup(0, plate, loads));
    HostOutcome r0 = runHostIn(rigid, "cap.inp");
    ASSERT_EQ(r0.exit, 0) << r0.out << rigid.read("cap.run");
    const std::vector<CaseResults> rr = readResults(rigid.read("cap.out"));
    ASSERT_EQ(rr.size(), 1u);
    ASSERT_EQ(rr[0].piles.size(), 4u);

    WorkDir dir;
    const std::string exportInput = squareGroup(2, plate, loads);
    dir.write("cap.inp", exportInput);
    HostOutcome r1 = runHostIn(dir, "--keep-scratch cap.inp");
    ASSERT_EQ(r1.exit, 0) << r1.out << dir.read("cap.run");
    // The user's input is untouched; the model stands beside it, the file list in the run's working
    // folder (kept here), naming the slab files beside the input.
    EXPECT_EQ(dir.read("cap.inp"), exportInput);
    ASSERT_TRUE(dir.exists("cap.slab"));
    ASSERT_TRUE(dir.exists("cap.slabkw"));
    const std::vector<std::string> list = splitLines(dir.read(".kaldo-cap/gslab.dat"));
    ASSERT_EQ(list.size(), 5u);
    const char* ends[] = {"cap.slabkw", "cap.slab", "cap.slablst", "cap.slabres", "cap.slabcnv"};
    for (size_t k = 0; k < 5; ++k) {
        std::string path = list[k];
        while (!path.empty() && path.back() == ' ') path.pop_back();
        EXPECT_TRUE(path.size() >= std::string(ends[k]).size() &&
                    path.compare(path.size() - std::string(ends[k]).size(), std::string::npos, ends[k]) == 0)
            << list[k];
    }
    EXPECT_NE(dir.read("cap.run").find("FLEXIBLE CAP: PLATE MODEL WRITTEN TO"), std::string::npos);

    // The exported model runs as it is.
    const std::string runInput = squareGroup(1, plate, loads);
    dir.write("cap.inp", runInput);
    const std::string model = dir.read("cap.slab");
    HostOutcome r2 = runHostIn(dir, "cap.inp");
    ASSERT_EQ(r2.exit, 0) << r2.out << dir.read("cap.run") << dir.read("cap.slablst");
    EXPECT_EQ(dir.read("cap.inp"), runInput);
    EXPECT_EQ(dir.read("cap.slab"), model);
    EXPECT_NE(dir.read("cap.run").find("FLEXIBLE CAP: THE SLAB ANALYSIS REACHED ITS END TIME"), std::string::npos);
    const std::vector<SlabPile> sp = slabPiles(dir.read("cap.slablst"));
    ASSERT_EQ(sp.size(), 4u) << dir.read("cap.slablst");

    double fscale = 0.0, uscale = 0.0;
    for (const PileTop& p : rr[0].piles)
        for (int k = 0; k < 6; ++k) {
            fscale = std::max(fscale, std::abs(p.globalForce[static_cast<size_t>(k)]));
            uscale = std::max(uscale, std::abs(p.globalDisp[static_cast<size_t>(k)]));
        }
    for (size_t i = 0; i < 4; ++i)
        for (int k = 0; k < 6; ++k) {
            const double f = rr[0].piles[i].globalForce[static_cast<size_t>(k)];
            const double u = rr[0].piles[i].globalDisp[static_cast<size_t>(k)];
            EXPECT_NEAR(sp[i].reaction[k], f, 5e-4 * fscale) << "pile " << i + 1 << ", force component " << k + 1;
            EXPECT_NEAR(sp[i].disp[k], u, 5e-4 * uscale) << "pile " << i + 1 << ", displacement component " << k + 1;
        }
}

// A plate as flexible as a thin slab on the same piles under the central load: the piles share the
// load equally (statics of the symmetric case), and the plate sags between them: its centre, where the
// load stands, goes down further than the pile heads.
TEST(FlexibleCap, AFlexiblePlateSagsBetweenThePiles) {
    const std::string loads = "4000.0 0.0 0.0 0.0 0.0 0.0";
    const std::string plate = "0.0 0.0 8 8 2.0e6 0.2";
    WorkDir dir;
    dir.write("cap.inp", squareGroup(2, plate, loads));
    ASSERT_EQ(runHostIn(dir, "cap.inp").exit, 0) << dir.read("cap.run");
    dir.write("cap.inp", squareGroup(1, plate, loads));
    HostOutcome r = runHostIn(dir, "cap.inp");
    ASSERT_EQ(r.exit, 0) << r.out << dir.read("cap.run");
    const std::vector<SlabPile> sp = slabPiles(dir.read("cap.slablst"));
    ASSERT_EQ(sp.size(), 4u);
    for (const SlabPile& p : sp) {
        EXPECT_NEAR(p.reaction[0], 1000.0, 0.5) << "each pile takes a quarter";
        EXPECT_NEAR(p.disp[0], 1000.0 / 1.0e5, 1e-5) << "the axial spring of 1e5 kN/m";
    }
    // The centre node of the 8 x 8 mesh is node (2 * 8 + 1) * 4 + (8 + 1) * 4 + 9 = 113 (the middle of the
    // fifth corner row); its vertical displacement (slab z, upward) is the third value of its result line.
    const std::vector<std::string> res = splitLines(dir.read("cap.slabres"));
    double wc = 0.0;
    for (const std::string& l : res) {
        std::istringstream f(l);
        int n = 0;
        double ux, uy, uz;
        if ((f >> n >> ux >> uy >> uz) && n == 113 && l.size() > 100) wc = uz;
    }
    EXPECT_LT(wc, -1.2 * sp[0].disp[0]) << "the centre sags below the pile heads";
}

// Replaces the first occurrence of a text (which must be there).
std::string replaced(std::string t, const std::string& what, const std::string& with) {
    const size_t at = t.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    if (at != std::string::npos) t.replace(at, what.size(), with);
    return t;
}

// Faults of the slab model, of its solution and of the export end the run with their status and their
// message on the runtime file (and on the slab listing for the slab's own), in the engine's process: a
// later run in the same process carries on and completes.
TEST(FlexibleCap, SlabFaultsEndTheRunCleanlyAndLaterRunsCarryOn) {
    const std::string loads = "4000.0 150.0 -90.0 0.0 300.0 0.0";
    const std::string plate = "0.0 0.0 2 2 3.0e7 0.2";
    WorkDir dir;
    dir.writeNames("case");
    dir.write("case.inp", squareGroup(2, plate, loads));
    ASSERT_EQ(dir.run(), 0) << dir.read("case.run");
    const std::string model = dir.read("case.slab");
    // Element 1 as the export writes it: its corners anticlockwise, then the midsides.
    const std::string element1 = "       1       1       1       1       3      11       9";

    struct Case {
        const char* name;
        int flxcap;
        std::string plate;
        std::string model;  // empty: no slab input file
        int status;
        const char* says;
        bool listing;  // the slab listing carries the message
    };
    const Case cases[] = {
        {"no slab input file", 1, plate, "", 103, "THE SLAB INPUT FILE case.slab IS MISSING", false},
        {"piles not coupled", 1, plate,
         replaced(model, "       0       0       0       4       1\n", "       0       0       0       4       0\n"), 14,
         "ZERO PIVOT", true},
        {"clockwise element", 1, plate,
         replaced(model, element1, "       1       1       1       1       9      11       3"), 115,
         "ZERO OR NEGATIVE AREA", true},
        {"ten Gauss points", 1, plate, replaced(model, "       1       8       2", "       1       8      10"), 115,
         "FAILED ITS CHECKS", true},
        {"pile off the slab", 1, plate, replaced(model, " -0.15000E+01 -0.15000E+01\n", " -0.25000E+01 -0.15000E+01\n"),
         115, "PILE POINT 1 AT X =     -2.5000", true},
        {"export without divisions", 2, "0.0 0.0 0 2 3.0e7 0.2", model, 115, "at least one division", false},
        {"export beyond capacity", 2, "0.0 0.0 200 200 3.0e7 0.2", model, 113, "exceeds the capacity", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("case.inp", squareGroup(c.flxcap, c.plate, loads));
        fs::remove(dir / "case.slab");
        fs::remove(dir / "case.slablst");
        if (!c.model.empty()) dir.write("case.slab", c.model);
        EXPECT_EQ(dir.run(), c.status);
        const std::string runtime = dir.read("case.run");
        EXPECT_NE(runtime.find(c.says), std::string::npos) << runtime;
        if (c.listing) {
            EXPECT_NE(dir.read("case.slablst").find(c.says), std::string::npos) << dir.read("case.slablst");
        }
    }
    dir.write("case.inp", squareGroup(1, plate, loads));
    dir.write("case.slab", model);
    EXPECT_EQ(dir.run(), 0) << dir.read("case.run");
}

// The flexible-cap example runs to its end; its piles carry the dead load and the wind.
TEST(FlexibleCap, ExampleRunsToItsEnd) {
    WorkDir dir;
    for (const char* f : {"flexible-cap.inp", "flexible-cap.slab"}) fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / f, dir / f);
    HostOutcome r = runHostIn(dir, "flexible-cap.inp");
    ASSERT_EQ(r.exit, 0) << r.out << dir.read("flexible-cap.run");
    EXPECT_NE(dir.read("flexible-cap.run").find("THE SLAB ANALYSIS REACHED ITS END TIME"), std::string::npos);
    const std::vector<SlabPile> sp = slabPiles(dir.read("flexible-cap.slablst"));
    ASSERT_EQ(sp.size(), 4u);
    double fx = 0.0, fy = 0.0;
    for (const SlabPile& p : sp) {
        fx += p.reaction[0];
        fy += p.reaction[1];
    }
    // 400 kips down and 40 kips along Y, in pounds; the slab stops iterating at a relative increment of
    // 1e-4.
    EXPECT_NEAR(fx, 400000.0, 40.0);
    EXPECT_NEAR(fy, 40000.0, 4.0);
}

}  // namespace
}  // namespace kaldo::test
