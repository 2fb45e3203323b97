#include "model/blocks.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kaldo {

namespace {

// Clears a block of plain numbers whose starting state is all zeros. The result stores are three
// quarters of the blocks' memory (sized for the largest group), and a run uses only the part of its
// own piles: their whole pages are handed back to the system, which gives zero pages again where and
// when the run first writes them, so a clear costs neither the time to write 200 MB of zeros nor the
// faults of pages no pile reaches. The blocks live in the program's zero-initialised data, a private
// anonymous mapping, where that holds; the ends of the block that share a page with other data, and
// any platform without it, are written with zeros.
template <class Block>
void clearToZeros(Block& b) {
    static_assert(std::is_trivially_copyable_v<Block> && std::is_trivially_default_constructible_v<Block>);
    char* bytes = reinterpret_cast<char*>(&b);
    std::size_t size = sizeof(Block);
#if defined(__linux__)
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize > 0) {
        const auto page = static_cast<std::uintptr_t>(pageSize);
        const auto from = reinterpret_cast<std::uintptr_t>(bytes);
        const std::uintptr_t first = (from + page - 1) / page * page;
        const std::uintptr_t last = (from + size) / page * page;
        if (last > first && madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED) == 0) {
            std::memset(bytes, 0, first - from);
            std::memset(reinterpret_cast<char*>(last), 0, from + size - last);
            return;
        }
    }
#endif
    std::memset(bytes, 0, size);
}

}  // namespace

void resetAllBlocks() {
    // Whatever the threads kept from the model before is of another model from now on.
    ++RUNGENERATION;
    resetBlock(FILENAMES);
    resetBlock(CTLIN);
    resetBlock(CAPIN);
    resetBlock(CAPFLX);
    resetBlock(PILEFAC);
    resetBlock(RUNCONST);
    resetBlock(RUNTIME);
    resetBlock(RUNSTATE);
    // Load cases, combinations, distributed loads.
    resetBlock(LCDEF);
    resetBlock(LCPAR);
    resetBlock(LCREAL);
    resetBlock(LCOPT);
    resetBlock(LCCNT);
    resetBlock(LCCL);
    resetBlock(LCDL);
    resetBlock(FSDDAT);
    resetBlock(LCSD);
    resetBlock(LCBDEF);
    resetBlock(LCBPAR);
    resetBlock(LCBREAL);
    resetBlock(LCBCNT);
    resetBlock(LCBLST);
    resetBlock(OPTENV);
    resetBlock(DLS);
    // Piles, sections, soils, curves and requests as read.
    resetBlock(GRPIN3);
    resetBlock(GRPIN2);
    resetBlock(PILESETIN);
    resetBlock(SECTIN);
    resetBlock(SOILIN);
    resetBlock(PYPRT);
    resetBlock(PYUSRIN);
    resetBlock(GENLISTS);
    resetBlock(TZUSRIN);
    resetBlock(TQUSRIN);
    resetBlock(MPHIIN);
    resetBlock(MPHIGENIN);
    resetBlock(RFD);
    resetBlock(SMOV);
    resetBlock(OPTCRV);
    // Working tables.
    resetBlock(PILE);
    resetBlock(PYUSR);
    resetBlock(TZCRV);
    resetBlock(TQCRV);
    resetBlock(AXLSTAB);
    resetBlock(PILESET);
    resetBlock(SECTTAB);
    resetBlock(MPHI);
    resetBlock(SOILLAY);
    resetBlock(SOILPRF);
    resetBlock(CTLPAR);
    resetBlock(WRKNODE);
    // Pile nodes, the soil bookkeeping of the p-y springs and the p-y mode words.
    resetBlock(NODES);
    resetBlock(PYDRV);
    resetBlock(PYMODE);
    resetBlock(PYPLOT);
    resetBlock(RUNPOINT);
    resetBlock(ENVCTL);
    resetBlock(EQSEST);
    // Per-pile soil movement, equivalent stiffnesses, result stores and envelopes.
    resetBlock(SMPROF);
    resetBlock(EQSSOL);
    resetBlock(EQSRD);
    clearToZeros(RESCUR);
    clearToZeros(ENVMIN);
    clearToZeros(ENVMAX);
    // Unit labels and column titles.
    resetBlock(LABELS);
}

}  // namespace kaldo
