// The thread count of the next parallel region, with the run's peak counters.
#pragma once

namespace kaldo {

// The thread-count rule (io/threadrule.h) for the next region with the processors the OpenMP runtime
// reports: raises both peak counters RUNTHRPEAK and RUNTHRPEAK2 to the count, and returns the count to
// run with (at least 1).
int regionThreads(int request, int piles, bool writer);

}  // namespace kaldo
