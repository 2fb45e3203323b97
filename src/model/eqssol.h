// The equivalent secant stiffnesses that the pile solvers leave on the equivalent-stiffness pass of a
// stiffness-estimation point, read by the writers of the equivalent stiffness scratch file.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

inline constexpr int EQSCOLS = 325;

// (value, pile), piles 1..2500 and the cap slot. Per pile:
//   1        axial force at the head
//   2        axial secant stiffness at the head
//   3        torsional secant stiffness (plane: the increment length h)
//   4        increment length h (plane: not written)
//   4 + s    depth of node slot s below the head, (s - 4) h, s = 4..n + 4
//   111 + s  lateral secant stiffness p / y of the first plane at slot s
//   218 + s  the same for the second plane (plane: not written)
// Entries a pile does not write keep their earlier values.
inline Arr2<double, 1, EQSCOLS, 1, MAXPILE + 1> EQSSOL;

// The equivalent stiffnesses of the last accepted point as read back from the scratch file, per pile:
// the head's axial force, axial and torsional secant stiffnesses, and the lateral spring of node j
// (position j + 1, j = 0 at the head): the node's secant stiffness times its tributary length.
inline constexpr int EQSNODES = 107;
struct EqsRd {
    Arr<double, 1, MAXPILE + 1> EQSPHEAD, EQSKAX, EQSKT;
    Arr2<double, 1, EQSNODES, 1, MAXPILE + 1> EQSSPRING;
};
inline EqsRd EQSRD;

}  // namespace kaldo
