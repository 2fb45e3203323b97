// Large tables set to zero without writing every page of them.
#pragma once

#include <cstddef>

namespace kaldo::io {

// Sets the n bytes at p to zero. The whole pages inside the range are handed back to the system, which
// gives zero pages again where and when they are next written, in large pages (2 MB) where the system
// offers them: a table of a hundred megabytes then comes back in some fifty faults instead of tens of
// thousands, each of which costs the writing thread a trip through the system. Only for memory of
// the program's own zero-initialised data or private anonymous mappings (where a page handed back
// reads as zeros). The ends of the range that share a page with other data, a range of less than
// kZeroByPages bytes and any platform without it are written with zeros.
void zeroRange(void* p, std::size_t n);
inline constexpr std::size_t kZeroByPages = std::size_t(1) << 20;

}  // namespace kaldo::io
