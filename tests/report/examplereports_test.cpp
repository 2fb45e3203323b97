// The reports of the four-pile example that examples/reports/ shows a new user are the reviewed ones
// the end-to-end case checks, so the two copies cannot drift apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

TEST(ExampleReports, AreTheReviewedReportsOfTheExampleCase) {
    const fs::path shown = fs::path(KALDO_EXAMPLES_DIR) / "reports";
    const fs::path reviewed = fs::path(KALDO_CASES_DIR) / "four-pile-group" / "expected";
    for (const char* ext : {".out", ".pile", ".sum", ".run", ".cst"}) {
        const std::string name = std::string("four-pile-group") + ext;
        EXPECT_EQ(maskVolatile(WorkDir::readPath(shown / name)), maskVolatile(WorkDir::readPath(reviewed / name)))
            << name;
    }
}

}  // namespace
}  // namespace kaldo::test
