// The analyses of the pile loops allocate no memory: a pile's force and stiffness evaluations in
// nonlinear layered soil, once the thread has run one, take nothing from the heap. Every allocation of
// this test binary is counted while a counting window is open.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "group/groupmodel.h"
#include "soil/lateral/lateral.h"
#include "support/pileswitches.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

// The replacements below pair malloc with free themselves; g++ 12 cannot see that through the
// replaced operators and warns of a mismatch that is not there.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n != 0 ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return ::operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace kaldo::test {
namespace {

class PileLoop : public GroupModel {};

TEST_F(PileLoop, PileAnalysesAllocateNothing) {
    // Soft clay over sand, two piles of 40 increments with their axial and torque curves.
    propertySet(1, PL, 40, PB);
    section(1, {.EIz = PEI, .EIy = PEI});
    soil({uniform(1, -1.0, 200.0, {.gamma = 0.03, .c = 4.0, .e50 = 0.02}),
          uniform(4, 200.0, 1000.0, {.gamma = 0.04, .phi = 0.6, .k = 100.0})});
    groupPile(1, 1, 0.0, 0.0, 0.0);
    groupPile(2, 1, 0.0, 60.0, 0.0);
    axialCurve(50.0, 50.0);
    torsionCurve(4000.0, 4000.0);
    // As the load cases run: the node tables set and the piles' store of p-y constants sized.
    prepareNodeTables();
    prepareSpringConstants(PILE.NPILES + 1);
    prepareKeptDerivatives(PILE.NPILES + 1);

    const Vec6 U{0.01, 0.2, -0.1, 1e-4, 2e-4, -3e-4}, DU{1e-3, 1e-3, 1e-3, 1e-5, 1e-5, 1e-5};
    int status = 0;
    Vec6 F{};
    Mat6 K{};
    PILEFRC(1, F, U, status);  // the first evaluation on this thread may set up what it keeps
    PILESTF(1, K, U, DU, 3, 0, status);
    ASSERT_EQ(status, 0);

    // Both ways to the head stiffness (central differences and the balanced pile's, which needs the
    // pile's own Newton iteration) and both iterations of the pile.
    for (bool linearised : {false, true}) {
        const PileSwitches switches(linearised, linearised);
        PILEFRC(1, F, U, status);  // what this way keeps on the thread, set up before counting
        allocations = 0;
        counting = true;
        for (int p = 1; p <= 2; ++p) {
            PILEFRC(p, F, U, status);
            PILESTF(p, K, U, DU, 3, 0, status);
        }
        // The force vector's evaluation that keeps the balanced pile's derivatives for the stiffness.
        beginForceRound();
        for (int p = 1; p <= 2; ++p) {
            PILEFRCKEEP(p, F, U, status);
            PILESTF(p, K, U, DU, 3, 0, status);
        }
        counting = false;
        ASSERT_EQ(status, 0);
        EXPECT_EQ(allocations.load(), 0) << (linearised ? "linearised" : "central differences");
        EXPECT_NE(F[1], 0.0) << "the piles did carry load";
    }
}

}  // namespace
}  // namespace kaldo::test
