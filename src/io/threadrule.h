// How many threads a parallel region runs with.
#pragma once

namespace kaldo {

// The thread-count rule of every parallel region: for the request 0, the processor count less 2 above 3
// processors, less 1 for 2 or 3, the count itself for 1; otherwise the request, at most the processor
// count. Then at most the pile count, and at most 2 for the writers. A negative request or a model
// without piles gives a count below 1 (the regions then run on the calling thread).
int threadCount(int request, int processors, int piles, bool writer);

}  // namespace kaldo
