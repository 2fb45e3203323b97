// The reduction-factor stiffness term is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void CAPJAC(std::array<double, 36>&, const std::array<double, 6>&, const std::array<double, 6>&,
            const std::array<double, 6>&, int, int, bool, int&) {
    notBuilt("CAPJAC", "group reduction factor stiffness term");
}

}  // namespace kaldo
