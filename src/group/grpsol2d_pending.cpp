// The plane group solution is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void GRPSOL2D(int, int&, int&, std::array<double, 6>&, std::array<double, 6>&, std::array<double, 6>&,
              std::array<double, 6>&, std::array<double, 6>&, std::array<double, 6>&, std::array<int, 6>&) {
    notBuilt("GRPSOL2D", "plane group solution");
}

}  // namespace kaldo
