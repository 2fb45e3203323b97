// Moment-curvature sets: the user sets, then the sets of the nonlinear cross sections.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct MphiTable {
};
inline MphiTable MPHI;

}  // namespace kaldo
