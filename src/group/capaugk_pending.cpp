// The solution with displacements given at a point is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void CAPAUGK(Mat12&, const Mat6&, const Vec6&, const Flags6&) {
    notBuilt("CAPAUGK", "displacements specified at a point");
}

}  // namespace kaldo
