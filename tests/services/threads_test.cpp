// The thread count a parallel region runs with, and the run's peak counters it raises.
#include <gtest/gtest.h>

#include "model/runblocks.h"
#include "services/threads.h"

namespace kaldo::test {
namespace {

TEST(RegionThreads, AtLeastTheCallingThreadAndThePeaksFollow) {
    // What a region runs with: at least the calling thread.
    RUNTIME.RUNTHRPEAK = RUNTIME.RUNTHRPEAK2 = 1;
    EXPECT_EQ(regionThreads(-3, 10, false), 1);
    EXPECT_EQ(regionThreads(1, 0, false), 1);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK, 1);
    EXPECT_EQ(regionThreads(2, 10, true), 2);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK, 2);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK2, 2);
}

}  // namespace
}  // namespace kaldo::test
