#include "services/threads.h"

#include <algorithm>

#include <omp.h>

#include "io/threadrule.h"
#include "model/runblocks.h"

namespace kaldo {

int regionThreads(int request, int piles, bool writer) {
    const int n = threadCount(request, omp_get_num_procs(), piles, writer);
    RUNTIME.RUNTHRPEAK = std::max(RUNTIME.RUNTHRPEAK, n);
    RUNTIME.RUNTHRPEAK2 = std::max(RUNTIME.RUNTHRPEAK2, n);
    // A request below 1 (or a model without piles) runs on the calling thread alone.
    return std::max(n, 1);
}

}  // namespace kaldo
