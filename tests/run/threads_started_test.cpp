// The threads a run starts follow its thread request: a run that asks for one thread runs on the calling
// thread alone, from the reset of the tables to the last report, and starts no team of the parallel
// runtime behind it.
#include <gtest/gtest.h>

#include <omp.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "support/groupinput.h"
#include "support/workdir.h"

namespace kaldo::test {
namespace {

// The threads of this process now, as the system lists them. The parallel runtime keeps the threads of
// a team after the team's region ends, so a team started at any time during a run is still counted
// after it.
int threadsNow() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/task")) ++n;
    return n;
}

// piles vertical steel pipe piles in a row under a rigid cap, in soft clay over sand, one lateral load
// case with the given thread request.
std::string rowInput(int piles, int threads) {
    std::ostringstream f;
    f << "A row of piles\nthreads test\nCONTROL RECORD\n1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0\n"
      << "PILE CAP\n" << 6 * piles << ".0 6.0 4.0 0.0 0.0 0\n"
      << "LOAD CASES\n1 0 0 1 0\n"
      << "0 0 " << threads << " 1 1 100 100\n1.0E-5 1.0E-5 0.5 0.01\nLateral\n0 0 0 0 0 0 0 0\n"
      << "1 1 1.0 0 0.0 0.0 0 0 0\n0\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1\n"
      << 100000.0 * piles << " " << 10000.0 * piles << " 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0\n0\n"
      << "LOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOADS\n0\nPILE GROUPS\n" << piles << "\n";
    for (int p = 0; p < piles; ++p)
        f << "2 2 1 0 0 0 0 0 1 1\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 " << 6.0 * p - 3.0 * (piles - 1)
          << " 0.0 0.0 90.0 0.0 0.0\n";
    f << steelPipesInClayOverSand(20, 40);
    return f.str();
}

TEST(ThreadsStarted, AOneThreadRunStartsNoThreadAndATwoThreadRunOne) {
    const int atStart = threadsNow();
    {
        WorkDir dir;
        dir.writeNames();
        dir.write("case.inp", rowInput(4, 1));
        ASSERT_EQ(dir.run(), 0) << dir.read("case.run");
        EXPECT_EQ(threadsNow(), atStart) << "a run asking for one thread started threads";
        EXPECT_NE(dir.read("case.run").find("Number Processors :  1/"), std::string::npos) << dir.read("case.run");
    }
    // The count above sees the runtime's threads: the same run asking for two starts one more. (Only in
    // a process that had none yet: a team that an earlier test started serves this run too.)
    if (atStart != 1 || omp_get_num_procs() < 2) GTEST_SKIP() << "the team of two cannot be told apart here";
    WorkDir dir;
    dir.writeNames();
    dir.write("case.inp", rowInput(4, 2));
    ASSERT_EQ(dir.run(), 0) << dir.read("case.run");
    EXPECT_EQ(threadsNow(), atStart + 1);
}

}  // namespace
}  // namespace kaldo::test
