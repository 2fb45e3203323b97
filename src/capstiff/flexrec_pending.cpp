// The flexibility scratch lines of a cap-flexibility point is not part of this version yet.
#include "capstiff/capstiff.h"
#include "services/pending.h"

namespace kaldo {

void FLEXREC(int, int, bool, const Vec6&, const Vec6&) {
    notBuilt("FLEXREC", "cap flexibility records");
}

}  // namespace kaldo
