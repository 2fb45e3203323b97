// The plane group solution is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void GRPSOL2D(int, int&, int&, Vec6&, Vec6&, Vec6&, Vec6&, Vec6&, Vec6&, Flags6&) {
    notBuilt("GRPSOL2D", "plane group solution");
}

}  // namespace kaldo
