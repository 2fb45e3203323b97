// Large tables set to zero by handing their pages back: the range reads as zeros, the bytes around it
// keep their values, and the pages take writes again.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "io/zeros.h"

namespace kaldo::io {
namespace {

// Zero-initialised data of the test program, as the model's tables are; 4 MB and a page.
unsigned char block[(std::size_t(4) << 20) + 4096];

TEST(ZeroRange, ClearsTheRangeAndNothingElse) {
    constexpr std::size_t MB = std::size_t(1) << 20;
    struct Case {
        std::size_t from, size;
        const char* what;
    };
    const Case cases[] = {
        {0, 4 * MB, "page-aligned start, whole pages"},
        {3, 2 * MB + 5, "both ends inside a page"},
        {4093, 3 * MB, "the range starts three bytes before a page boundary"},
        {100, 1000, "below the size handed back by pages: written with zeros"},
        {10, kZeroByPages - 1, "one byte short of that size"},
        {17, 0, "an empty range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::memset(block, 0xAB, sizeof block);
        zeroRange(block + c.from, c.size);
        std::size_t wrongInside = 0, wrongOutside = 0;
        for (std::size_t i = 0; i < sizeof block; ++i) {
            const bool inside = i >= c.from && i < c.from + c.size;
            if (inside && block[i] != 0) ++wrongInside;
            if (!inside && block[i] != 0xAB) ++wrongOutside;
        }
        EXPECT_EQ(wrongInside, 0u);
        EXPECT_EQ(wrongOutside, 0u);
        // The pages come back for writing.
        if (c.size > 0) {
            block[c.from + c.size / 2] = 7;
            EXPECT_EQ(block[c.from + c.size / 2], 7);
        }
    }
}

}  // namespace
}  // namespace kaldo::io
