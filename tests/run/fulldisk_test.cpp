// A disk that cannot take a run's files: a failed write of a report, scratch or runtime file ends the
// run with status 105 and never with the completion message; a scratch file that cannot be opened is
// status 104 naming it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/units.h"
#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

const char* const COMPLETED = "ANALYSIS COMPLETED";
const char* const WRITE_FAILED = "105, A REPORT OR DATA FILE CANNOT BE WRITTEN";

// The example input (four piles, two load cases) under the stem "case", with its file list; replace
// swaps the file name of one record for another path.
void prepare(const WorkDir& dir, const std::string& name = "", const std::string& path = "") {
    fs::copy_file(fs::path(KALDO_EXAMPLES_DIR) / "four-pile-group.inp", dir / "case.inp");
    dir.writeNames();
    if (name.empty()) return;
    std::string names = dir.read("Names.dat");
    names.replace(names.find("\n" + name + "\n") + 1, name.size(), path);
    dir.write("Names.dat", names);
}

// Ends any injection when the test leaves, passed or not.
struct Injection {
    Injection(const std::string& end, long long limit) { io::injectWriteFailure(end, limit); }
    ~Injection() { io::injectWriteFailure("", 0); }
};

// Each file of the run in turn takes only so many bytes, as a disk that fills up meanwhile: cut in
// the middle of a line, or taking nothing at all. The run ends with 105 and the runtime file names
// the file; nothing says the analysis completed.
TEST(FullDisk, AFailedWriteEndsTheRunWithItsStatus) {
    struct Case {
        const char* file;
        long long room;
    };
    const Case cases[] = {
        {"case.out", 3000},  {"case.out", 0},    {"case.pile", 0},  {"case.pile", 5000}, {"case.sum", 100},
        {"case.echo", 700},  {"case.cst", 10},   {"case.prs", 200}, {"case.smc", 0},     {"case.itl", 0},
        {"case.prog", 0},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        prepare(dir);
        int status;
        {
            Injection full(c.file, c.room);
            status = dir.run();
        }
        const std::string rt = dir.read("case.run");
        EXPECT_EQ(status, 105) << c.file << " " << c.room << "\n" << rt;
        EXPECT_EQ(rt.find(COMPLETED), std::string::npos) << c.file << " " << c.room << "\n" << rt;
        EXPECT_NE(rt.find(WRITE_FAILED), std::string::npos) << c.file << "\n" << rt;
        EXPECT_NE(rt.find(std::string("\"") + c.file + "\" cannot be written: No space left on device"),
                  std::string::npos)
            << c.file << "\n" << rt;
    }
}

// The runtime file itself fills up: early in the reading trace, or just inside the completion message.
// The status comes back all the same, and the completion message never stands in the file.
TEST(FullDisk, ARuntimeFileThatCannotTakeTheMessageStillGivesTheStatus) {
    long long completedAt;
    {
        WorkDir dir;
        prepare(dir);
        ASSERT_EQ(dir.run(), 0);
        const std::string rt = dir.read("case.run");
        ASSERT_NE(rt.find(COMPLETED), std::string::npos);
        completedAt = static_cast<long long>(rt.find(COMPLETED));
    }
    for (long long room : {200LL, completedAt + 8}) {
        WorkDir dir;
        prepare(dir);
        int status;
        {
            Injection full("case.run", room);
            status = dir.run();
        }
        EXPECT_EQ(status, 105) << room;
        EXPECT_EQ(dir.read("case.run").find(COMPLETED), std::string::npos) << room << "\n" << dir.read("case.run");
    }
}

// A real device that is always full: the results report written to /dev/full.
TEST(FullDisk, TheFullDeviceAsResultsReport) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    WorkDir dir;
    prepare(dir, "case.out", "/dev/full");
    EXPECT_EQ(dir.run(), 105);
    const std::string rt = dir.read("case.run");
    EXPECT_EQ(rt.find(COMPLETED), std::string::npos) << rt;
    EXPECT_NE(rt.find("\"/dev/full\" cannot be written: No space left on device"), std::string::npos) << rt;
}

// The scratch files are opened where they are used, deep in a case: one that cannot be opened ends
// the run with 104 and its name, as a report that cannot be opened does.
TEST(FullDisk, AScratchFileThatCannotBeOpenedIsNamed) {
    for (const char* scratch : {"case.prs", "case.wrn", "case.eqs", "case.sel"}) {
        WorkDir dir;
        const std::string path = std::string("no-such-folder/") + scratch;
        prepare(dir, scratch, path);
        EXPECT_EQ(dir.run(), 104) << scratch;
        const std::string rt = dir.read("case.run");
        EXPECT_NE(rt.find("104, A REPORT OR DATA FILE CANNOT BE OPENED"), std::string::npos) << scratch << "\n" << rt;
        EXPECT_NE(rt.find("\"" + path + "\""), std::string::npos) << scratch << "\n" << rt;
        EXPECT_EQ(rt.find(COMPLETED), std::string::npos) << scratch;
    }
}

}  // namespace
}  // namespace kaldo::test
