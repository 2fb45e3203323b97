// The flexibility scratch lines of a cap-flexibility point is not part of this version yet.
#include "capstiff/capstiff.h"
#include "services/pending.h"

namespace kaldo {

void FLEXREC(int, int, bool, const std::array<double, 6>&, const std::array<double, 6>&) {
    notBuilt("FLEXREC", "cap flexibility records");
}

}  // namespace kaldo
