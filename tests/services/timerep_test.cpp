// Execution-time lines and completion messages on the runtime file.
#include <gtest/gtest.h>

#include "io/units.h"
#include "model/blocks.h"
#include "run/run.h"
#include "services/status.h"
#include "services/timerep.h"
#include "support/workdir.h"

namespace kaldo {
namespace {

using test::WorkDir;

std::string timeLines(double total) {
    WorkDir dir;
    EXPECT_TRUE(io::unit(10).open((dir / "rt.txt").string(), io::Mode::Write));
    RUNTIME.RUNT0 = total;
    RUNTIME.RUNTHRPEAK2 = 3;
    RUNTIME.RUNTHRMAX = 8;
    TIMEREP();
    io::unit(10).close();
    return dir.read("rt.txt");
}

TEST(TimeReport, PicksMillisecondsSecondsMinutesOrHours) {
    struct Case {
        double t;
        const char* line;
    };
    const Case cases[] = {
        {0.45, "     Execution Time    :  450 ms"},
        {0.0, "     Execution Time    :    0 ms"},
        {1.0, "     Execution Time    :    1 sec    0 ms"},
        {59.25, "     Execution Time    :   59 sec  250 ms"},
        {60.0, "     Execution Time    :    1 min    0 sec    0 ms"},
        {3599.5, "     Execution Time    :   59 min   59 sec  500 ms"},
        {3600.0, "     Execution Time    :       1 hr    0 min    0 sec    0 ms"},
        {90061.125, "     Execution Time    :      25 hr    1 min    1 sec  125 ms"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(timeLines(c.t), std::string(c.line) + "\n     Number Processors :  3/ 8\n") << "t = " << c.t;
}

TEST(TimeReport, CaseTimesSplitIntoSerialParallelAndPrint) {
    WorkDir dir;
    ASSERT_TRUE(io::unit(10).open((dir / "rt.txt").string(), io::Mode::Write));
    RUNTIME.RUNTCASE = 2.5;
    RUNTIME.RUNTPAR = 1.25;
    RUNTIME.RUNTPRT = 0.125;
    RUNTIME.RUNTHRPEAK = 2;
    RUNTIME.RUNTHRMAX = 8;
    TIMEREP2();
    io::unit(10).close();
    EXPECT_DOUBLE_EQ(RUNTIME.RUNTSER, 1.125);
    EXPECT_EQ(dir.read("rt.txt"),
              "     Execution Time    :    2 sec  500 ms\n"
              "     Number Processors :  2/ 8\n"
              "     Serial processing :     1.125 sec\n"
              "     Paral. processing :     1.250 sec\n"
              "     Print. processing :     0.125 sec\n");
}

TEST(CompletionMessage, KnownAndUnknownCodes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(completionLines(0), V{"    ANALYSIS COMPLETED"});
    EXPECT_EQ(completionLines(4), V{"     *** ANALYSIS STOPPED BY USER ***"});
    EXPECT_EQ(completionLines(13),
              (V{"    * ERROR IN ANALYSIS *", "    PILE LENGTH EXTENDS BELOW THE BOTTOM",
                 "    OF THE DEEPEST LAYER, NODE2D"}));
    EXPECT_EQ(completionLines(33), (V{"    * ERROR IN ANALYSIS *", "      LS CURVE, COHESION VALUE IS ZERO"}));
    EXPECT_EQ(completionLines(12), (V{"    * ERROR IN ANALYSIS *", "    12, UNKNOWN CODE"}));
    for (int code : {5, 40, -3})
        EXPECT_EQ(completionLines(code), (V{"    * ERROR IN ANALYSIS *", "    " + std::to_string(code) + ", UNKNOWN CODE"}));
}

// The summary collection file is appended to the summary report whole, each line with its trailing
// blanks cut and one blank added.
TEST(CompletionReport, CopiesSummaryCollectionLinesWhole) {
    WorkDir dir;
    dir.writeNames();
    resetAllBlocks();
    for (int rec = 5; rec <= 27; ++rec) FILENAMES.RECORD(rec) = (dir / WorkDir::recordName("case", rec)).string();
    const std::string longLine = std::string(130, 'L') + "END";
    ASSERT_TRUE(io::unit(18).open(FILENAMES.RECORD(8), io::Mode::Write));
    ASSERT_TRUE(io::unit(10).open(FILENAMES.RECORD(10), io::Mode::Write));
    ASSERT_TRUE(io::unit(30).open(FILENAMES.RECORD(26), io::Mode::Write));
    io::unit(30).line() << "  CASE 1   " ;
    io::unit(30).line() << "        ";
    io::unit(30).line() << longLine;
    int status = 0;
    ENDRUN(status);
    EXPECT_EQ(dir.read("case.sum"),
              "\n\n\n\n" + std::string(17, ' ') + "*****     SUMMARY FOR LOAD CASES AND COMBINATIONS      *****\n" +
                  "  CASE 1 \n  \n" + longLine + " \n");
    EXPECT_FALSE(io::unit(18).isOpen());
    EXPECT_FALSE(io::unit(30).isOpen());
}

}  // namespace
}  // namespace kaldo
