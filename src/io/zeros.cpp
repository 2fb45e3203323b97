#include "io/zeros.h"

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

void zeroRange(void* p, std::size_t n) {
    adviseLargePages(p, n);
    std::memset(p, 0, n);
}

}  // namespace kaldo::io
