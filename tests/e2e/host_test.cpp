// End to end: real input files through the kaldo host, reports compared with the expected ones with
// the date, time and processor lines masked.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/hostrun.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

// The environment settings of a case folder's "env" file, on one line.
std::string caseEnvironment(const fs::path& folder) {
    std::string text = WorkDir::readPath(folder / "env");
    for (char& c : text)
        if (c == '\n') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// Each folder of tests/cases holds one input file (and, for a flexible-cap run, its plate model) and the
// reports expected from it; an "env" file, when there is one, holds settings of the environment the case
// runs under (a fixture of the secant pile iteration's own failures runs with that iteration).
TEST(EndToEnd, CaseReportsMatchTheExpectedOnes) {
    for (const auto& entry : fs::directory_iterator(KALDO_CASES_DIR)) {
        if (!entry.is_directory()) continue;
        const std::string name = entry.path().filename().string();
        WorkDir dir;
        fs::copy_file(entry.path() / (name + ".inp"), dir / (name + ".inp"));
        // A flexible-cap run reads its plate model from beside the input.
        if (fs::exists(entry.path() / (name + ".slab"))) fs::copy_file(entry.path() / (name + ".slab"), dir / (name + ".slab"));
        const std::string env = fs::exists(entry.path() / "env") ? caseEnvironment(entry.path()) : "";
        HostOutcome r = runHostIn(dir, name + ".inp", env);
        // The host exits with the engine's status, or with 5 when a case did not converge fully (the
        // case folder's "exit" file says so).
        int expectedExit = 0;
        if (fs::exists(entry.path() / "status")) expectedExit = std::stoi(WorkDir::readPath(entry.path() / "status"));
        if (fs::exists(entry.path() / "exit")) expectedExit = std::stoi(WorkDir::readPath(entry.path() / "exit"));
        EXPECT_EQ(r.exit, expectedExit) << name << "\n" << r.out;
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
    HostOutcome r = runHostIn(dir, "four-pile-group.inp");
    EXPECT_EQ(r.exit, 0) << r.out;
    // The host shows the progress file's messages as they change; the last one is always shown.
    EXPECT_NE(r.out.find("- ANALYSIS FOR LOAD CASE   2/  2 FINISHED"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Analysis completed."), std::string::npos) << r.out;
    EXPECT_NE(dir.read("four-pile-group.run").find("     ANALYSIS COMPLETED\n"), std::string::npos);
    // The engine's completion message is shown.
    EXPECT_NE(r.out.find("\nANALYSIS COMPLETED\n"), std::string::npos) << r.out;
}

// The file list of a run is in its working folder, with full paths: the input and the reports beside
// the input, the host's files and the scratch files in the working folder, which --keep-scratch keeps.
TEST(Host, FileListNamesFullPathsFromTheWorkingFolder) {
    WorkDir dir;
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "four-pile-group.inp");
    HostOutcome r = runHostIn(dir, "--keep-scratch four-pile-group.inp");
    EXPECT_EQ(r.exit, 0) << r.out;
    const std::string work = ".kaldo-four-pile-group/";
    const std::string names = dir.read(work + "Names.dat");
    EXPECT_EQ(names.substr(0, 13), "0.1.0       \n");
    const std::string folder = fs::canonical(dir.path()).string() + "/";
    const std::string workFolder = folder + work;
    EXPECT_NE(names.find("\n" + folder + "four-pile-group.inp\n" + folder + "four-pile-group.echo\n" + folder +
                         "four-pile-group.out\n"),
              std::string::npos)
        << names;
    for (const char* scratch : {".prog", ".prs", ".stop", ".smc", ".mph"})
        EXPECT_NE(names.find("\n" + workFolder + "four-pile-group" + scratch + "\n"), std::string::npos)
            << scratch << "\n" << names;
    EXPECT_EQ(dir.read(work + "four-pile-group.stop"), "0\n");
    EXPECT_TRUE(dir.exists(work + "four-pile-group.prs"));
    EXPECT_FALSE(dir.exists("Names.dat"));
    EXPECT_FALSE(dir.exists("four-pile-group.prs"));
}

// After a run the folder holds the input and its reports and nothing else: no file list, no scratch
// file, no working folder. The six main reports are always there; a listing only when the run wrote
// something in it. A moment-curvature listing beside the input is read from there and kept.
TEST(Host, FolderHoldsTheInputAndItsReportsOnly) {
    WorkDir dir;
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "job.inp");
    HostOutcome r = runHostIn(dir, "job.inp");
    ASSERT_EQ(r.exit, 0) << r.out;
    const std::vector<std::string> reports = {".echo", ".out", ".sum", ".plot", ".run", ".cst", ".pile",
                                              ".axt",  ".sel", ".itl", ".ltc",  ".crv", ".cpt"};
    for (const std::string& f : dir.files()) {
        if (f == "job.inp" || f == "host.txt") continue;
        const bool report = f.rfind("job.", 0) == 0 &&
                            std::find(reports.begin(), reports.end(), f.substr(3)) != reports.end();
        EXPECT_TRUE(report) << f << " is neither the input nor a report";
        if (report) {
            EXPECT_GT(fs::file_size(dir / f), 0u) << f << " is an empty listing";
        }
    }
    for (const char* main : {".echo", ".out", ".sum", ".run", ".cst", ".pile"})
        EXPECT_TRUE(dir.exists(std::string("job") + main)) << main;

    WorkDir withListing;
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", withListing / "job.inp");
    withListing.write("job.mph", "a moment-curvature listing of the user's own\n");
    ASSERT_EQ(runHostIn(withListing, "job.inp").exit, 0);
    EXPECT_EQ(withListing.read("job.mph"), "a moment-curvature listing of the user's own\n");
    EXPECT_FALSE(withListing.exists(".kaldo-job"));
}

TEST(Host, RunsTheInputOfAnotherFolder) {
    WorkDir dir;
    fs::create_directories(dir / "jobs");
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "jobs/cap.inp");
    HostOutcome r = runHostIn(dir, "jobs/cap.inp");
    EXPECT_EQ(r.exit, 0) << r.out;
    EXPECT_TRUE(dir.exists("jobs/cap.out"));
    EXPECT_FALSE(dir.exists("jobs/Names.dat"));
    EXPECT_FALSE(dir.exists("jobs/.kaldo-cap"));
    EXPECT_FALSE(dir.exists("Names.dat"));
}

// Two inputs of one folder run at the same time: each keeps its own reports, the same as a run alone.
TEST(Host, TwoRunsInOneFolderKeepTheirReports) {
    WorkDir dir;
    for (const char* name : {"a.inp", "b.inp"})
        fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / name);
    BackgroundHost a(dir, "a.inp");
    HostOutcome b = runHostIn(dir, "b.inp");
    EXPECT_EQ(a.wait(std::chrono::seconds(300)), 0) << a.output();
    EXPECT_EQ(b.exit, 0) << b.out;
    const fs::path expected = fs::path(KALDO_CASES_DIR) / "four-pile-group/expected";
    // The reports name their files after the run's own stem.
    auto renamed = [](std::string text, const std::string& stem) {
        const std::string from = "four-pile-group.";
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + stem.size()))
            text.replace(at, from.size() - 1, stem);
        return text;
    };
    for (const std::string stem : {"a", "b"})
        for (const char* ext : {".out", ".pile", ".sum", ".cst"})
            EXPECT_EQ(maskVolatile(dir.read(stem + ext)),
                      maskVolatile(renamed(WorkDir::readPath(expected / (std::string("four-pile-group") + ext)), stem)))
                << stem << ext;
}

// Cases that fail or stop at a partial load are listed after the run with their case status lines,
// and the host exits with 5 while the engine's status is 0.
TEST(Host, CasesThatDidNotConvergeAreListed) {
    struct Case {
        const char* input;
        const char* line;
    };
    const Case cases[] = {
        {"axial-drop-partial", "LOAD CASE :     1  2 SOLUTION AT    56.25 % OF THE TOTAL LOAD"},
        {"lateral-overload-singular", "7 SINGULAR STIFFNESS MATRIX"},
        {"final-pass-closure", "6 NO CONVERGENCE ON PILES"},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        const std::string inp = std::string(c.input) + ".inp";
        const fs::path folder = fs::path(KALDO_CASES_DIR) / c.input;
        fs::copy_file(folder / inp, dir / inp);
        HostOutcome r = runHostIn(dir, inp, fs::exists(folder / "env") ? caseEnvironment(folder) : "");
        EXPECT_EQ(r.exit, 5) << c.input << "\n" << r.out;
        EXPECT_NE(r.out.find("did not converge fully"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(c.line), std::string::npos) << c.input << "\n" << r.out;
        EXPECT_EQ(r.out.find("Analysis completed.\n"), std::string::npos) << r.out;
        EXPECT_NE(dir.read(std::string(c.input) + ".run").find("ANALYSIS COMPLETED"), std::string::npos);
    }
}

// A runtime file that cannot be written (a folder stands in its place): the engine's status still
// reaches the terminal, with the engine's message on the standard error stream.
TEST(Host, ARuntimeFileThatCannotBeWrittenStillGivesTheStatus) {
    WorkDir dir;
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "job.inp");
    fs::create_directories(dir / "job.run");
    HostOutcome r = runHostIn(dir, "job.inp");
    EXPECT_EQ(r.exit, 104) << r.out;
    EXPECT_NE(r.out.find("job.run"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("holds no message"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Analysis ended with status 104"), std::string::npos) << r.out;
}

// A failed run shows the engine's message from the runtime file, not only its status.
TEST(Host, AFailedRunShowsTheEngineMessage) {
    struct Case {
        std::string from, to;
        int exit;
        std::vector<std::string> says;
    };
    const std::vector<Case> cases = {
        // The sand layer ends at 50 ft, above the tips of the 60 ft piles.
        {"15.0 80.0\n", "15.0 50.0\n", 23, {"* ERROR IN ANALYSIS *", "OF INPUT CURVE FOR COHESION"}},
        {"10.0 10.0 3.0 0.0 0.0 0\n", "10.0 1O.0 3.0 0.0 0.0 0\n", 110,
         {"**** KALDO ERROR 110 ****", "section \"PILE CAP\"", "110, MALFORMED VALUE IN THE INPUT DATA FILE"}},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        std::string text = WorkDir::readPath(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp");
        ASSERT_NE(text.find(c.from), std::string::npos) << c.from;
        text.replace(text.find(c.from), c.from.size(), c.to);
        dir.write("job.inp", text);
        HostOutcome r = runHostIn(dir, "job.inp");
        EXPECT_EQ(r.exit, c.exit) << r.out;
        for (const std::string& piece : c.says) EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << r.out;
        EXPECT_NE(r.out.find("Analysis ended with status " + std::to_string(c.exit)), std::string::npos) << r.out;
    }
}

TEST(Host, RefusesWhatItCannotRun) {
    struct Case {
        const char* args;
        int exit;
        const char* says;
    };
    const Case cases[] = {
        {"missing.inp", 103, "cannot read the input file"},
        {"", 2, "usage: kaldo [--keep-scratch] INPUT_FILE"},
        {"a.inp b.inp", 2, "usage: kaldo [--keep-scratch] INPUT_FILE"},
        {"--no-such-option job.inp", 2, "unknown option --no-such-option"},
        {"job.out", 2, "is one of the names of the reports"},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        dir.write("job.out", "an input file that a report name would overwrite\n");
        HostOutcome r = runHostIn(dir, c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_FALSE(dir.exists("missing.inp"));
        EXPECT_EQ(dir.read("job.out"), "an input file that a report name would overwrite\n");
    }
}

TEST(Host, HelpExplainsTheFilesAndStatus) {
    WorkDir dir;
    HostOutcome r = runHostIn(dir, "--help");
    EXPECT_EQ(r.exit, 0);
    for (const char* piece : {"Names.dat", "STEM.run", "STEM.stop", "Ctrl-C", "status 4", "--keep-scratch",
                              ".kaldo-STEM", "5 analysis completed, but"})
        EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << r.out;
    HostOutcome v = runHostIn(dir, "--version");
    EXPECT_EQ(v.exit, 0);
    EXPECT_EQ(v.out, "kaldo 0.1.0\n");
    EXPECT_TRUE(dir.files() == std::vector<std::string>{"host.txt"}) << "--version is no file name";
}

}  // namespace
}  // namespace kaldo::test
