// The thread-count rule of the parallel regions, against a table of machines and requests.
#include <gtest/gtest.h>

#include "io/threadrule.h"

namespace kaldo::test {
namespace {

TEST(ThreadRule, RequestProcessorsPilesAndWriters) {
    const struct {
        int request, processors, piles;
        bool writer;
        int threads;
    } cases[] = {
        // Automatic: all of one processor, one less on 2 or 3, two less above.
        {0, 1, 100, false, 1}, {0, 2, 100, false, 1}, {0, 3, 100, false, 2}, {0, 4, 100, false, 2},
        {0, 8, 100, false, 6},
        // A request: up to the processors.
        {4, 8, 100, false, 4}, {16, 8, 100, false, 8}, {1, 8, 100, false, 1},
        // Never more threads than piles.
        {0, 8, 3, false, 3}, {16, 8, 5, false, 5}, {0, 8, 0, false, 0},
        // The writers: at most two.
        {0, 8, 100, true, 2}, {16, 8, 100, true, 2}, {1, 8, 100, true, 1}, {0, 2, 100, true, 1},
        // A negative request passes through.
        {-3, 8, 100, false, -3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(threadCount(c.request, c.processors, c.piles, c.writer), c.threads)
            << "request " << c.request << ", " << c.processors << " processors, " << c.piles << " piles"
            << (c.writer ? ", writer" : "");
    }
}

}  // namespace
}  // namespace kaldo::test
