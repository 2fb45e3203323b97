// The fixed-capacity tables: every index combination reaches an element of its own, the per-pile
// tables keep one pile's entries together, and the checked build refuses an index outside a range.
#include <gtest/gtest.h>

#include <set>

#include "model/arr.h"

namespace kaldo::test {
namespace {

// Small tables with ranges that do not start at 1, as the model's node slots (0..) and piles (1..) do.
using Col2 = Arr2<int, 1, 3, 0, 4>;
using Pile2 = PileArr2<int, 1, 3, 0, 4>;
using Pile3 = PileArr3<int, 1, 3, 2, 5, 1, 2>;

template <class Table, class Index>
void expectOneToOne(Table& t, Index each) {
    std::set<const int*> seen;
    each([&](auto... i) { EXPECT_TRUE(seen.insert(&t(i...)).second); });
    EXPECT_EQ(seen.size(), Table::size);
    EXPECT_EQ(*seen.begin(), &t.v[0]);
    EXPECT_EQ(*seen.rbegin(), &t.v[Table::size - 1]);
}

TEST(Tables, EveryIndexReachesItsOwnElement) {
    static Col2 c;
    static Pile2 p2;
    static Pile3 p3;
    auto each2 = [](auto f) {
        for (int i = 1; i <= 3; ++i)
            for (int j = 0; j <= 4; ++j) f(i, j);
    };
    expectOneToOne(c, each2);
    expectOneToOne(p2, each2);
    expectOneToOne(p3, [](auto f) {
        for (int i = 1; i <= 3; ++i)
            for (int j = 2; j <= 5; ++j)
                for (int k = 1; k <= 2; ++k) f(i, j, k);
    });
}

TEST(Tables, PerPileTablesKeepAPileTogether) {
    static Pile2 p2;
    static Pile3 p3;
    // Pile 2's entries are one run of memory, between pile 1's and pile 3's.
    EXPECT_EQ(&p2(2, 0), &p2(1, 4) + 1);
    EXPECT_EQ(&p2(2, 4), &p2(2, 0) + 4);
    EXPECT_EQ(&p3(2, 2, 1), &p3(1, 5, 2) + 1);
    EXPECT_EQ(&p3(2, 5, 2), &p3(2, 2, 1) + 7);
    // Within a pile the second index runs fastest, as in the column-stored tables.
    EXPECT_EQ(&p3(2, 3, 1), &p3(2, 2, 1) + 1);
    EXPECT_EQ(&p3(2, 2, 2), &p3(2, 2, 1) + 4);
}

#ifdef KALDO_CHECKED
TEST(Tables, IndexOutsideItsRangeIsRefused) {
    static Pile2 p2;
    static Pile3 p3;
    EXPECT_THROW(p2(0, 0), IndexFault);
    EXPECT_THROW(p2(4, 0), IndexFault);
    EXPECT_THROW(p2(1, 5), IndexFault);
    EXPECT_THROW(p3(1, 1, 1), IndexFault);
    EXPECT_THROW(p3(1, 2, 3), IndexFault);
    EXPECT_NO_THROW(p3(3, 5, 2));
}
#endif

}  // namespace
}  // namespace kaldo::test
