// End to end: the plane example through the kaldo host on one thread and on many, and a plane run whose
// piles cannot close, as the host sees them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/hostrun.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The plane example with six pile rows instead of two (nonlinear clay and sand springs, generated axial
// curves) and the given thread request in both load cases.
std::string planeInput(int threads) {
    std::string input = WorkDir::readPath(fs::path(KALDO_EXAMPLES_DIR) / "plane-pile-row.inp");
    input = replaceAll(input, "0 0 0 1 1 100 100", "0 0 " + std::to_string(threads) + " 1 1 100 100");
    const std::string rows = "PILE GROUPS\n2\n";
    const auto at = input.find(rows);
    const auto end = input.find("PILE PROPERTIES");
    std::string groups = "PILE GROUPS\n6\n";
    const char* ys[] = {"-7.5", "-4.5", "-1.5", "1.5", "4.5", "7.5"};
    for (int i = 0; i < 6; ++i)
        groups += std::string("2 4 1 0 0 0 1\n0.0 10.0 1.0 1.0 1.0\n1.5 ") + ys[i] + (i == 5 ? " 10.0" : " 0.0") +
                  " 0.0\n";
    input.replace(at, end - at, groups);
    return input;
}

// The force vector of the plane is summed in pile order whatever thread analysed each pile, and the
// writer's two sections write separate files: one thread and eight give the same reports.
TEST(PlaneThreads, ReportsDoNotDependOnTheThreadRequest) {
    WorkDir one, many;
    one.write("row.inp", planeInput(1));
    many.write("row.inp", planeInput(8));
    HostOutcome a = runHostIn(one, "row.inp");
    HostOutcome b = runHostIn(many, "row.inp");
    ASSERT_EQ(a.exit, 0) << a.out << one.read("row.run");
    ASSERT_EQ(b.exit, 0) << b.out << many.read("row.run");
    EXPECT_EQ(one.read("row.cst").find("    2 SOLUTION AT"), std::string::npos);
    for (const char* report : {"row.out", "row.pile", "row.sum", "row.cst"}) {
        const std::string single = maskVolatile(one.read(report));
        EXPECT_NE(single.find("LOAD CASE ENV : 2"), std::string::npos) << report << " lacks the envelope";
        EXPECT_TRUE(single == maskVolatile(many.read(report))) << report << " differs between 1 and 8 threads";
    }
}

// Piles that never close their soil iteration: every step fails, the stepping gives up with the
// warning, and the case status line says so; the run itself completes (status 0) without results.
TEST(PlaneThreads, PilesWithoutClosureEndTheCaseWithCodeSix) {
    WorkDir dir;
    std::string input = WorkDir::readPath(fs::path(KALDO_EXAMPLES_DIR) / "plane-pile-row.inp");
    // The pile iteration limit MAXITP (the last of the run line) at 1: no pile ever closes.
    input = replaceAll(input, "0 0 0 1 1 100 100", "0 0 0 1 1 100 1");
    dir.write("row.inp", input);
    HostOutcome r = runHostIn(dir, "row.inp");
    // The engine completes (status 0); the host tells the unconverged case with exit status 5.
    EXPECT_EQ(r.exit, 5) << r.out << dir.read("row.run");
    EXPECT_NE(dir.read("row.run").find("ANALYSIS COMPLETED"), std::string::npos);
    const std::string cst = dir.read("row.cst");
    EXPECT_NE(cst.find("    6 NO CONVERGENCE ON PILES"), std::string::npos) << cst;
    EXPECT_EQ(cst.find("    1 ANALYSIS COMPLETED"), std::string::npos) << cst;
    EXPECT_NE(dir.read("row.out").find("NO CLOSURE OF A LLP"), std::string::npos);
}

}  // namespace
}  // namespace kaldo::test
