// The test support that reads a model and captures what a step writes.
#include <gtest/gtest.h>

#include "io/units.h"
#include "model/blocks.h"
#include "support/model.h"

namespace kaldo::test {
namespace {

TEST(TestSupport, ReadsAFixtureAndCapturesTheEchoFile) {
    WorkDir dir;
    ASSERT_EQ(readModel(dir, fixture("full3d.inp")), 0);
    EXPECT_EQ(PILE.NPILES, 2);
    Capture echo(dir, 32, "case.echo");
    io::unit(32).line() << "a line written by a step";
    EXPECT_EQ(echo.since(), "a line written by a step\n");
    closeModel();
}

}  // namespace
}  // namespace kaldo::test
