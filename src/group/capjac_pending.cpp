// The reduction-factor stiffness term is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void CAPJAC(Mat6&, const Vec6&, const Vec6&, const Vec6&, int, int, bool, int&) {
    notBuilt("CAPJAC", "group reduction factor stiffness term");
}

}  // namespace kaldo
