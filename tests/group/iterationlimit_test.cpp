// The largest iteration limit an input can give: a case whose piles fail marks its step as past the
// limit without overflowing it, and ends as with any other limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/workdir.h"

namespace fs = std::filesystem;

namespace kaldo::test {
namespace {

TEST(IterationLimit, LargestLimitOfTheCapDoesNotOverflow) {
    WorkDir dir;
    std::string text = WorkDir::readPath(fs::path(KALDO_CASES_DIR) / "axial-tz-giveup/axial-tz-giveup.inp");
    // The second case, whose axial solution gives up on its piles, with the cap's limit at 2^31 - 1.
    const std::string record = "0 0 1 1 1 10 100\n";
    const size_t first = text.find(record);
    const size_t second = text.find(record, first + 1);
    ASSERT_NE(second, std::string::npos);
    text.replace(second, record.size(), "0 0 1 1 1 2147483647 100\n");
    dir.write("case.inp", text);
    dir.writeNames();
    const int status = dir.run();
    // The reader may refuse so large a limit; when it takes it, the case fails on its piles as before.
    ASSERT_TRUE(status == 0 || status == 115) << status << "\n" << dir.read("case.run");
    if (status == 0) {
        EXPECT_NE(dir.read("case.cst").find("6 NO CONVERGENCE ON PILES"), std::string::npos);
    }
}

}  // namespace
}  // namespace kaldo::test
