#include "model/blocks.h"

#include <omp.h>

#include <cstring>
#include <type_traits>

#include "io/threadrule.h"

namespace kaldo {

namespace {

// Clears a block of plain numbers whose starting state is all zeros, its pages shared out among the
// threads of the automatic rule: the result stores are three quarters of the blocks' memory, and on
// the first run of a process every one of their pages is touched here for the first time.
template <class Block>
void clearWithThreads(Block& b) {
    static_assert(std::is_trivially_copyable_v<Block> && std::is_trivially_default_constructible_v<Block>);
    constexpr std::size_t CHUNK = std::size_t(1) << 20;
    char* bytes = reinterpret_cast<char*>(&b);
    const long chunks = static_cast<long>((sizeof(Block) + CHUNK - 1) / CHUNK);
    const int threads = std::max(threadCount(0, omp_get_num_procs(), static_cast<int>(chunks), false), 1);
#pragma omp parallel for num_threads(threads) schedule(static)
    for (long c = 0; c < chunks; ++c) {
        const std::size_t at = static_cast<std::size_t>(c) * CHUNK;
        std::memset(bytes + at, 0, std::min(CHUNK, sizeof(Block) - at));
    }
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
    clearWithThreads(RESCUR);
    clearWithThreads(ENVMIN);
    clearWithThreads(ENVMAX);
    // Unit labels and column titles.
    resetBlock(LABELS);
}

}  // namespace kaldo
