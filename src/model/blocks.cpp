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

// Clears a block of plain numbers whose starting state is all zeros (every block but the few with texts,
// atomics or a declared default other than 0; tests/model/blocks_test.cpp holds each block to its state at
// program start). The blocks are sized for the largest model (some 216 MB for 2500 piles), and a run
// uses only the part of its own piles, sets and cases: their whole pages are handed back to the system,
// which gives zero pages again where and when the run first writes them. A clear then costs neither the
// time to write the zeros nor the faults of pages the model never reaches, and it costs nothing on the
// first run of a process, when no page has been touched yet. The blocks live in the program's
// zero-initialised data, a private anonymous mapping, where that holds; the ends of a block that share
// a page with other data, a block smaller than a page, and any platform without it are written with
// zeros.
template <class Block>
void clearToZeros(Block& b) {
    static_assert(std::is_trivially_copyable_v<Block> && std::is_trivially_destructible_v<Block>);
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
    clearToZeros(CAPIN);
    clearToZeros(CAPFLX);
    clearToZeros(PILEFAC);
    clearToZeros(RUNCONST);
    resetBlock(RUNTIME);
    resetBlock(RUNSTATE);
    // Load cases, combinations, distributed loads.
    resetBlock(LCDEF);
    clearToZeros(LCPAR);
    clearToZeros(LCREAL);
    clearToZeros(LCOPT);
    clearToZeros(LCCNT);
    clearToZeros(LCCL);
    clearToZeros(LCDL);
    clearToZeros(FSDDAT);
    clearToZeros(LCSD);
    resetBlock(LCBDEF);
    clearToZeros(LCBPAR);
    clearToZeros(LCBREAL);
    clearToZeros(LCBCNT);
    clearToZeros(LCBLST);
    clearToZeros(OPTENV);
    clearToZeros(DLS);
    // Piles, sections, soils, curves and requests as read.
    clearToZeros(GRPIN3);
    clearToZeros(GRPIN2);
    clearToZeros(PILESETIN);
    resetBlock(SECTIN);
    clearToZeros(SOILIN);
    clearToZeros(PYPRT);
    clearToZeros(PYUSRIN);
    clearToZeros(GENLISTS);
    clearToZeros(TZUSRIN);
    clearToZeros(TQUSRIN);
    clearToZeros(MPHIIN);
    clearToZeros(MPHIGENIN);
    clearToZeros(RFD);
    clearToZeros(SMOV);
    clearToZeros(OPTCRV);
    // Working tables.
    clearToZeros(PILE);
    clearToZeros(PYUSR);
    clearToZeros(TZCRV);
    clearToZeros(TQCRV);
    clearToZeros(AXLSTAB);
    clearToZeros(PILESET);
    clearToZeros(SECTTAB);
    clearToZeros(MPHI);
    clearToZeros(SOILLAY);
    clearToZeros(SOILPRF);
    clearToZeros(CTLPAR);
    clearToZeros(WRKNODE);
    // Pile nodes, the soil bookkeeping of the p-y springs and the p-y mode words.
    clearToZeros(NODES);
    clearToZeros(PYDRV);
    clearToZeros(PYMODE);
    clearToZeros(PYPLOT);
    clearToZeros(RUNPOINT);
    clearToZeros(ENVCTL);
    clearToZeros(EQSEST);
    // Per-pile soil movement, equivalent stiffnesses, result stores and envelopes.
    clearToZeros(SMPROF);
    clearToZeros(EQSSOL);
    clearToZeros(EQSRD);
    clearToZeros(RESCUR);
    clearToZeros(ENVMIN);
    clearToZeros(ENVMAX);
    // Unit labels and column titles.
    resetBlock(LABELS);
}

}  // namespace kaldo
