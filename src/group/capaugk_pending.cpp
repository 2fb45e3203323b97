// The solution with displacements given at a point is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void CAPAUGK(std::array<double, 144>&, const std::array<double, 36>&, const std::array<double, 6>&,
             const std::array<int, 6>&) {
    notBuilt("CAPAUGK", "displacements specified at a point");
}

}  // namespace kaldo
