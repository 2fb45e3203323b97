// End to end: real input files through the kaldo host, reports compared with the expected ones with
// the date, time and processor lines masked.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

struct HostRun {
    int exit;
    std::string out;
};

HostRun runHost(const WorkDir& dir, const std::string& args) {
    std::string cmd = std::string("cd '") + dir.path().string() + "' && '" + KALDO_HOST_PATH + "' " + args +
                      " > host.txt 2>&1";
    int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, dir.read("host.txt")};
}

// Each folder of tests/cases holds one input file (and, for a flexible-cap run, its plate model) and the
// reports expected from it.
TEST(EndToEnd, CaseReportsMatchTheExpectedOnes) {
    for (const auto& entry : fs::directory_iterator(KALDO_CASES_DIR)) {
        if (!entry.is_directory()) continue;
        const std::string name = entry.path().filename().string();
        WorkDir dir;
        fs::copy_file(entry.path() / (name + ".inp"), dir / (name + ".inp"));
        // A flexible-cap run reads its plate model from beside the input.
        if (fs::exists(entry.path() / (name + ".slab"))) fs::copy_file(entry.path() / (name + ".slab"), dir / (name + ".slab"));
        HostRun r = runHost(dir, name + ".inp");
        int expectedStatus = 0;
        if (fs::exists(entry.path() / "status")) expectedStatus = std::stoi(WorkDir::readPath(entry.path() / "status"));
        EXPECT_EQ(r.exit, expectedStatus) << name << "\n" << r.out;
        int compared = 0;
        for (const auto& f : fs::directory_iterator(entry.path() / "expected")) {
            const std::string report = f.path().filename().string();
            EXPECT_EQ(maskVolatile(dir.read(report)), maskVolatile(WorkDir::readPath(f.path())))
                << name << ": " << report;
            ++compared;
        }
        EXPECT_GT(compared, 0) << name;
    }
}

// The example runs to completion: its two load cases are solved and their envelopes written.
TEST(Host, ExampleRunsToCompletion) {
    WorkDir dir;
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "four-pile-group.inp");
    HostRun r = runHost(dir, "four-pile-group.inp");
    EXPECT_EQ(r.exit, 0) << r.out;
    // The host shows the progress file's messages as they change; the last one is always shown.
    EXPECT_NE(r.out.find("- ANALYSIS FOR LOAD CASE   2/  2 FINISHED"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Analysis completed."), std::string::npos) << r.out;
    EXPECT_NE(dir.read("four-pile-group.run").find("     ANALYSIS COMPLETED\n"), std::string::npos);
    EXPECT_EQ(dir.read("four-pile-group.stop"), "0\n");
    std::string names = dir.read("Names.dat");
    EXPECT_EQ(names.substr(0, 13), "0.1.0       \n");
    EXPECT_NE(names.find("\nfour-pile-group.inp\nfour-pile-group.echo\nfour-pile-group.out\n"), std::string::npos)
        << names;
}

TEST(Host, RunsTheInputOfAnotherFolder) {
    WorkDir dir;
    fs::create_directories(dir / "jobs");
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "jobs/cap.inp");
    HostRun r = runHost(dir, "jobs/cap.inp");
    EXPECT_EQ(r.exit, 0) << r.out;
    EXPECT_TRUE(dir.exists("jobs/Names.dat"));
    EXPECT_TRUE(dir.exists("jobs/cap.out"));
    EXPECT_FALSE(dir.exists("Names.dat"));
}

TEST(Host, RefusesWhatItCannotRun) {
    struct Case {
        const char* args;
        int exit;
        const char* says;
    };
    const Case cases[] = {
        {"missing.inp", 103, "cannot read the input file"},
        {"", 2, "usage: kaldo INPUT_FILE"},
        {"a.inp b.inp", 2, "usage: kaldo INPUT_FILE"},
        {"job.out", 2, "is one of the names of the reports"},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        dir.write("job.out", "an input file that a report name would overwrite\n");
        HostRun r = runHost(dir, c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_FALSE(dir.exists("missing.inp"));
        EXPECT_EQ(dir.read("job.out"), "an input file that a report name would overwrite\n");
    }
}

TEST(Host, HelpExplainsTheFilesAndStatus) {
    WorkDir dir;
    HostRun r = runHost(dir, "--help");
    EXPECT_EQ(r.exit, 0);
    for (const char* piece : {"Names.dat", "STEM.run", "STEM.stop", "Ctrl-C", "status 4"})
        EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << r.out;
}

}  // namespace
}  // namespace kaldo::test
