// Loads of a case or combination as one force-and-moment vector at the cap origin: force X, force Y,
// force Z, moment X, moment Y, moment Z (X vertical, positive downward). A plane run fills force X,
// force Y and moment Z (place 6) only.
#pragma once

#include <array>

namespace kaldo {

using LoadVec = std::array<double, 6>;

// The concentrated loads of load case c, scaled, at the origin; zero when the case is loaded through
// values given at a point.
void EQLOADC(int c, LoadVec& load);
// The same, under the name the group reduction factors use for the direction of the load.
void EQLOADC2(int c, LoadVec& load);
// The factored concentrated loads of the cases of combination m at the origin.
void EQLOADM(int m, LoadVec& load);

}  // namespace kaldo
