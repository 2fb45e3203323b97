// Fixed-capacity arrays indexed over an inclusive range, with the first index varying fastest.
//
// The model keeps its tables in fixed-size global blocks indexed from 1 (piles 1..2500, layers 1..20,
// nodes by slot). Arr, Arr2 and Arr3 hold such tables in place, without allocation, and are read and
// written as a(i), a(i, j), a(i, j, k). In the checked build every index is tested against its range;
// a violation throws kaldo::IndexFault naming the source line and the index, which the entry point
// turns into a status of its own instead of letting a write land outside the table.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#ifdef KALDO_CHECKED
#include <source_location>
#endif

namespace kaldo {

struct IndexFault : std::logic_error {
    using std::logic_error::logic_error;
};

#ifdef KALDO_CHECKED
[[noreturn]] void indexFault(const std::source_location& where, long index, long lo, long hi);
#define KALDO_LOC_PARAM , const std::source_location& where = std::source_location::current()
#define KALDO_CHECK(i, lo, hi) \
    if ((i) < (lo) || (i) > (hi)) indexFault(where, (i), (lo), (hi))
#else
#define KALDO_LOC_PARAM
#define KALDO_CHECK(i, lo, hi)
#endif

template <class T, int Lo, int Hi>
struct Arr {
    static_assert(Hi >= Lo);
    static constexpr int lo = Lo, hi = Hi;
    static constexpr std::size_t size = std::size_t(Hi - Lo + 1);
    T v[size];

    T& operator()(int i KALDO_LOC_PARAM) {
        KALDO_CHECK(i, Lo, Hi);
        return v[i - Lo];
    }
    const T& operator()(int i KALDO_LOC_PARAM) const {
        KALDO_CHECK(i, Lo, Hi);
        return v[i - Lo];
    }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
    T* data() { return v; }
    const T* data() const { return v; }
};

// Two indices, the first varying fastest (column storage); or, with PileFirst, stored by the first
// index: the per-pile tables that the pile loops write, indexed with the pile first but with all of one
// pile's entries together. Each thread of a pile loop analyses a block of piles; one pile's analysis
// then walks its nodes through adjacent memory instead of striding over every other pile, and threads
// share no cache lines but at the ends of their blocks.
template <class T, int Lo1, int Hi1, int Lo2, int Hi2, bool PileFirst = false>
struct Arr2 {
    static constexpr int n1 = Hi1 - Lo1 + 1, n2 = Hi2 - Lo2 + 1;
    static constexpr std::size_t size = std::size_t(n1) * n2;
    T v[size];

    static constexpr std::size_t offset(int i, int j) {
        return PileFirst ? std::size_t(i - Lo1) * n2 + (j - Lo2) : (i - Lo1) + std::size_t(j - Lo2) * n1;
    }
    T& operator()(int i, int j KALDO_LOC_PARAM) {
        KALDO_CHECK(i, Lo1, Hi1);
        KALDO_CHECK(j, Lo2, Hi2);
        return v[offset(i, j)];
    }
    const T& operator()(int i, int j KALDO_LOC_PARAM) const {
        KALDO_CHECK(i, Lo1, Hi1);
        KALDO_CHECK(j, Lo2, Hi2);
        return v[offset(i, j)];
    }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
    T* data() { return v; }
    const T* data() const { return v; }
};

// Three indices, the first varying fastest; with PileFirst stored by the first index, the rest in
// column order.
template <class T, int Lo1, int Hi1, int Lo2, int Hi2, int Lo3, int Hi3, bool PileFirst = false>
struct Arr3 {
    static constexpr int n1 = Hi1 - Lo1 + 1, n2 = Hi2 - Lo2 + 1, n3 = Hi3 - Lo3 + 1;
    static constexpr std::size_t size = std::size_t(n1) * n2 * n3;
    T v[size];

    static constexpr std::size_t offset(int i, int j, int k) {
        return PileFirst ? (std::size_t(i - Lo1) * n3 + std::size_t(k - Lo3)) * n2 + (j - Lo2)
                         : (i - Lo1) + (std::size_t(j - Lo2) + std::size_t(k - Lo3) * n2) * n1;
    }
    T& operator()(int i, int j, int k KALDO_LOC_PARAM) {
        KALDO_CHECK(i, Lo1, Hi1);
        KALDO_CHECK(j, Lo2, Hi2);
        KALDO_CHECK(k, Lo3, Hi3);
        return v[offset(i, j, k)];
    }
    const T& operator()(int i, int j, int k KALDO_LOC_PARAM) const {
        KALDO_CHECK(i, Lo1, Hi1);
        KALDO_CHECK(j, Lo2, Hi2);
        KALDO_CHECK(k, Lo3, Hi3);
        return v[offset(i, j, k)];
    }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
    T* data() { return v; }
    const T* data() const { return v; }
};

// The per-pile tables of the pile loops (pile first, stored pile by pile).
template <class T, int Lo1, int Hi1, int Lo2, int Hi2>
using PileArr2 = Arr2<T, Lo1, Hi1, Lo2, Hi2, true>;
template <class T, int Lo1, int Hi1, int Lo2, int Hi2, int Lo3, int Hi3>
using PileArr3 = Arr3<T, Lo1, Hi1, Lo2, Hi2, Lo3, Hi3, true>;

template <class T, int Lo1, int Hi1, int Lo2, int Hi2, int Lo3, int Hi3, int Lo4, int Hi4>
struct Arr4 {
    static constexpr int n1 = Hi1 - Lo1 + 1, n2 = Hi2 - Lo2 + 1, n3 = Hi3 - Lo3 + 1, n4 = Hi4 - Lo4 + 1;
    static constexpr std::size_t size = std::size_t(n1) * n2 * n3 * n4;
    T v[size];

    T& operator()(int i, int j, int k, int l KALDO_LOC_PARAM) {
        KALDO_CHECK(i, Lo1, Hi1);
        KALDO_CHECK(j, Lo2, Hi2);
        KALDO_CHECK(k, Lo3, Hi3);
        KALDO_CHECK(l, Lo4, Hi4);
        return v[(i - Lo1) + (std::size_t(j - Lo2) + (std::size_t(k - Lo3) + std::size_t(l - Lo4) * n3) * n2) * n1];
    }
    const T& operator()(int i, int j, int k, int l KALDO_LOC_PARAM) const {
        KALDO_CHECK(i, Lo1, Hi1);
        KALDO_CHECK(j, Lo2, Hi2);
        KALDO_CHECK(k, Lo3, Hi3);
        KALDO_CHECK(l, Lo4, Hi4);
        return v[(i - Lo1) + (std::size_t(j - Lo2) + (std::size_t(k - Lo3) + std::size_t(l - Lo4) * n3) * n2) * n1];
    }
    void fill(const T& x) {
        for (auto& e : v) e = x;
    }
};

// Returns a block to its state at program start: every number 0, every text empty, then the
// defaults its declaration gives. Done in place, as the blocks are far too large for the stack.
template <class Block>
void resetBlock(Block& b) {
    b.~Block();
    ::new (static_cast<void*>(&b)) Block();
}

}  // namespace kaldo
