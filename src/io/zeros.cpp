#include "io/zeros.h"

#include <omp.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kaldo::io {

void adviseLargePages(void* p, std::size_t n) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (n >= kZeroByPages && pageSize > 0) {
        const auto page = static_cast<std::uintptr_t>(pageSize);
        const auto from = reinterpret_cast<std::uintptr_t>(p);
        const std::uintptr_t first = (from + page - 1) / page * page;
        const std::uintptr_t last = (from + n) / page * page;
        // Only advice: without large pages the pages come one by one, as zeros all the same.
        if (last > first) (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)p, (void)n;
#endif
}

void zeroRange(void* p, std::size_t n, int threads) {
    adviseLargePages(p, n);
    char* bytes = static_cast<char*>(p);
#pragma omp parallel num_threads(threads > 1 ? threads : 1)
    {
        const std::size_t parts = static_cast<std::size_t>(omp_get_num_threads());
        const std::size_t part = static_cast<std::size_t>(omp_get_thread_num());
        const std::size_t from = n / parts * part + std::min(part, n % parts);
        const std::size_t size = n / parts + (part < n % parts ? 1 : 0);
        std::memset(bytes + from, 0, size);
    }
}

}  // namespace kaldo::io
