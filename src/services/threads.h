// The thread count of the next parallel region, with the run's peak counters.
#pragma once

namespace kaldo {

// The thread-count rule (io/threadrule.h) for the next region with the processors the OpenMP runtime
// reports: raises both peak counters RUNTHRPEAK and RUNTHRPEAK2 to the count, and returns the count to
// run with (at least 1).
int regionThreads(int request, int piles, bool writer);
// The plane solution's name for the same rule: the thread count of the plane pile loop (writer 0) or of
// the plane writer's pile region (writer 1, at most two threads), with the peak counters raised.
inline int SETTHR2D(int request, int piles, int writer) { return regionThreads(request, piles, writer == 1); }

}  // namespace kaldo
