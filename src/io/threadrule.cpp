#include "io/threadrule.h"

#include <algorithm>

namespace kaldo {

int threadCount(int request, int processors, int piles, bool writer) {
    int n = 0;
    if (request == 0) {
        // Automatic: leave room for the calling program on larger machines.
        n = processors > 3 ? processors - 2 : processors >= 2 ? processors - 1 : processors;
    } else {
        n = std::min(request, processors);
    }
    n = std::min(n, piles);
    if (writer) n = std::min(n, 2);
    return n;
}

}  // namespace kaldo
