// The small vectors and matrices of the cap and the pile heads.
//
// Six components in one order everywhere: translation X (vertical, positive downward), Y, Z, then the
// rotations about X, Y, Z; forces and moments in the same order. A plane analysis uses places 1 to 3
// (force X, force Y, moment Z) of the solver's vectors. Matrices are stored by columns: element (i, j),
// 1-based, at [(i - 1) + (j - 1) * 6].
#pragma once

#include <array>

namespace kaldo {

using Vec6 = std::array<double, 6>;     // displacements, forces or loads at one point
using Mat6 = std::array<double, 36>;    // 6 x 6 stiffness or transformation, by columns
using Mat12 = std::array<double, 144>;  // 12 x 12 bordered system of values given at a point, by columns
using Flags6 = std::array<int, 6>;      // one integer flag per component

}  // namespace kaldo
