#include "io/zeros.h"

#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kaldo::io {

void zeroRange(void* p, std::size_t n) {
    char* bytes = static_cast<char*>(p);
#if defined(__linux__)
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (n >= kZeroByPages && pageSize > 0) {
        const auto page = static_cast<std::uintptr_t>(pageSize);
        const auto from = reinterpret_cast<std::uintptr_t>(bytes);
        const std::uintptr_t first = (from + page - 1) / page * page;
        const std::uintptr_t last = (from + n) / page * page;
        void* inner = reinterpret_cast<void*>(first);
        if (last > first && madvise(inner, last - first, MADV_DONTNEED) == 0) {
#if defined(MADV_HUGEPAGE)
            // Only advice: without large pages the pages come back one by one, as zeros all the same.
            (void)madvise(inner, last - first, MADV_HUGEPAGE);
#endif
            std::memset(bytes, 0, first - from);
            std::memset(reinterpret_cast<char*>(last), 0, from + n - last);
            return;
        }
    }
#endif
    std::memset(bytes, 0, n);
}

}  // namespace kaldo::io
