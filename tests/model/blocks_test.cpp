// The reset that starts each run: every block of plain numbers comes back in its state at program start,
// whatever the run before left in it, and the reset itself touches no whole page of the blocks, so that
// a run's memory and start-up follow its own model and not the capacity of the tables.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "model/blocks.h"

namespace kaldo::test {
namespace {

// Every block of plain numbers that the reset clears, with its name for the messages.
#define KALDO_PLAIN_BLOCKS(X)                                                                                  \
    X(CAPIN) X(CAPFLX) X(PILEFAC) X(RUNCONST) X(RUNTIME) X(LCPAR) X(LCREAL) X(LCOPT) X(LCCNT) X(LCCL) X(LCDL)  \
    X(FSDDAT) X(LCSD) X(LCBPAR) X(LCBREAL) X(LCBCNT) X(LCBLST) X(OPTENV) X(DLS) X(GRPIN3) X(GRPIN2)             \
    X(PILESETIN) X(SOILIN) X(PYPRT) X(PYUSRIN) X(GENLISTS) X(TZUSRIN) X(TQUSRIN) X(MPHIIN) X(MPHIGENIN) X(RFD)  \
    X(SMOV) X(OPTCRV) X(PILE) X(PYUSR) X(TZCRV) X(TQCRV) X(AXLSTAB) X(PILESET) X(SECTTAB) X(MPHI) X(SOILLAY)    \
    X(SOILPRF) X(CTLPAR) X(WRKNODE) X(NODES) X(PYDRV) X(PYMODE) X(PYPLOT) X(RUNPOINT) X(ENVCTL) X(EQSEST)      \
    X(SMPROF) X(EQSSOL) X(EQSRD) X(RESCUR) X(ENVMIN) X(ENVMAX)

// What a run leaves: every byte of the block written, none of them zero.
template <class Block>
void scribble(Block& b) {
    static_assert(std::is_trivially_copyable_v<Block>);
    std::memset(static_cast<void*>(&b), 0x5A, sizeof(Block));
}

// The first byte where the block differs from a block of its type as the program starts (declared
// defaults, zeros elsewhere), or -1.
template <class Block>
long firstDifference(const Block& b) {
    const auto fresh = std::make_unique<Block>();
    const auto* x = reinterpret_cast<const unsigned char*>(&b);
    const auto* y = reinterpret_cast<const unsigned char*>(fresh.get());
    if (std::memcmp(x, y, sizeof(Block)) == 0) return -1;
    for (std::size_t i = 0;; ++i)
        if (x[i] != y[i]) return static_cast<long>(i);
}

TEST(BlockReset, EveryPlainBlockComesBackAsAtProgramStart) {
#define KALDO_SCRIBBLE(B) scribble(B);
    KALDO_PLAIN_BLOCKS(KALDO_SCRIBBLE)
#undef KALDO_SCRIBBLE
    resetAllBlocks();
#define KALDO_COMPARE(B)                                                                                 \
    EXPECT_EQ(firstDifference(B), -1) << #B << " (" << sizeof(B) << " bytes) differs from its starting " \
                                      << "state at the byte shown";
    KALDO_PLAIN_BLOCKS(KALDO_COMPARE)
#undef KALDO_COMPARE
    // The declared defaults other than zero are there.
    EXPECT_EQ(RUNTIME.RUNTHRPEAK, 1);
    EXPECT_EQ(RUNTIME.RUNTHRPEAK2, 1);
}

#if defined(__linux__)
// The pages lying wholly inside a block that are in memory now.
template <class Block>
std::size_t residentWholePages(const Block& b, std::size_t& whole) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto from = reinterpret_cast<std::uintptr_t>(&b);
    const std::uintptr_t first = (from + page - 1) / page * page;
    const std::uintptr_t last = (from + sizeof(Block)) / page * page;
    whole = last > first ? (last - first) / page : 0;
    if (whole == 0) return 0;
    std::vector<unsigned char> in(whole);
    if (mincore(reinterpret_cast<void*>(first), last - first, in.data()) != 0) return whole + 1;
    std::size_t n = 0;
    for (unsigned char c : in) n += c & 1;
    return n;
}
#endif

// A run of one pile must not pay for 2500: after a run that wrote every page of the tables, the reset
// hands their pages back instead of writing zeros over them, and the next run faults in only the pages
// its model writes.
TEST(BlockReset, HandsThePagesOfTheTablesBackInsteadOfWritingThem) {
#if defined(__linux__)
#define KALDO_SCRIBBLE(B) scribble(B);
    KALDO_PLAIN_BLOCKS(KALDO_SCRIBBLE)
#undef KALDO_SCRIBBLE
    std::size_t whole = 0;
    ASSERT_EQ(residentWholePages(ENVMAX, whole), whole) << "the scribbled pages should be in memory";
    ASSERT_GT(whole, 10000u);
    resetAllBlocks();
    std::size_t total = 0;
#define KALDO_RESIDENT(B)                                                                         \
    {                                                                                             \
        const std::size_t n = residentWholePages(B, whole);                                       \
        total += whole;                                                                           \
        EXPECT_EQ(n, 0u) << #B << ": " << n << " of its " << whole << " whole pages are in memory"; \
    }
    KALDO_PLAIN_BLOCKS(KALDO_RESIDENT)
#undef KALDO_RESIDENT
    // Most of the 216 MB of tables lie in whole pages.
    EXPECT_GT(total * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)), std::size_t(200) << 20);
#else
    GTEST_SKIP() << "page residency is read on Linux only";
#endif
}

#undef KALDO_PLAIN_BLOCKS

}  // namespace
}  // namespace kaldo::test
