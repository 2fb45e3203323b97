// Large tables set to zero.
#pragma once

#include <cstddef>

namespace kaldo::io {

// Sets the n bytes at p to zero by writing them. The whole pages inside a range of at least
// kZeroByPages bytes are first advised as large pages (2 MB) where the system offers them, so that
// pages the program has not touched yet come in some fifty faults per hundred megabytes instead of tens
// of thousands. The pages are not handed back: a table cleared again and again (the piles' results of
// every load case) is written where it already is, instead of being faulted in afresh each time, which
// on a virtual machine costs far more than the writing. With threads above 1 the threads of a region
// write a part each, so a large table is written (and, the first time, brought in) on all of them.
void zeroRange(void* p, std::size_t n, int threads = 1);
// The advice of zeroRange alone: the whole pages inside the n bytes at p come in as large pages where
// the system offers them (ranges of at least kZeroByPages bytes); nothing is written.
void adviseLargePages(void* p, std::size_t n);
inline constexpr std::size_t kZeroByPages = std::size_t(1) << 20;

}  // namespace kaldo::io
