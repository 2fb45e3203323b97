// The small vectors and matrices of the cap and the pile heads, and the along-pile arrays of one pile.
//
// Six components in one order everywhere: translation X (vertical, positive downward), Y, Z, then the
// rotations about X, Y, Z; forces and moments in the same order. A plane analysis uses places 1 to 3
// (force X, force Y, moment Z) of the solver's vectors. Matrices are stored by columns: element (i, j),
// 1-based, at [(i - 1) + (j - 1) * 6].
#pragma once

#include <array>

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

using Vec6 = std::array<double, 6>;     // displacements, forces or loads at one point
using Mat6 = std::array<double, 36>;    // 6 x 6 stiffness or transformation, by columns
using Mat12 = std::array<double, 144>;  // 12 x 12 bordered system of values given at a point, by columns
using Flags6 = std::array<int, 6>;      // one integer flag per component
using Vec3 = std::array<double, 3>;     // a plane pile head: along the axis, across it, rotation
using Mat3 = std::array<double, 9>;     // 3 x 3 plane matrix, by columns: (i, j) at [(i - 1) + (j - 1) * 3]

// Values along one pile, NODESLOTS places, in one of two numberings of the pile's nodes (node j runs
// from 1 at the head to n + 1 at the tip, n = NINC of the pile's property set). The two are distinct
// types, so an array of one numbering cannot be handed where the other is expected: passing from one to
// the other is always a loop that shifts the index by 3.

// The numbering of the difference equations of the single-pile solvers: node j at slot j + 3, so the
// head is slot 4 and the tip slot n + 4; slot 3 above the head and slots n + 5 and n + 6 below the tip
// are the fictitious nodes. The beam-column planes, the bending stiffness, the axial force and movement
// of the t-z solution and the user p-y curves of a pile count this way; the along-pile result stores
// keep the same slots.
struct SlotArray : Arr<double, 1, NODESLOTS> {};

// The pile's nodes alone: node j at place j, 1 to n + 1. The p-y springs of the soil layers, the
// distributed loads and the free-field soil movement at the nodes count this way.
struct NodeArray : Arr<double, 1, NODESLOTS> {};

}  // namespace kaldo
