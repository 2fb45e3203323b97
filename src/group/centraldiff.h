// The derivative of a force vector of the cap with respect to the cap displacement by central
// differences, shared by the stiffness terms of the group solution that have no closed form.
#pragma once

#include <cstddef>

#include "model/vectors.h"

namespace kaldo::group {

// K(i, j) = (F_i(U + s_j e_j) - F_i(U - s_j e_j)) / (2 s_j), s_j = h for the translations and hr for the
// rotations. forces(F, U') fills F at U'; the twelve displaced states are taken one component at a
// time, the forward ones first (U + h e1, ..., U + hr e6, then U - h e1, ..., U - hr e6).
template <class Forces>
void centralDifferences(Mat6& K, const Vec6& U, double h, double hr, Forces forces) {
    Vec6 plus[6]{}, minus[6]{};
    for (int sign : {1, -1}) {
        for (std::size_t j = 0; j < 6; ++j) {
            Vec6 Uj = U;
            Uj[j] += sign * (j < 3 ? h : hr);
            forces(sign > 0 ? plus[j] : minus[j], Uj);
        }
    }
    for (std::size_t j = 0; j < 6; ++j) {
        const double s = j < 3 ? h : hr;
        for (std::size_t i = 0; i < 6; ++i) K[i + j * 6] = 0.5 * (plus[j][i] - minus[j][i]) / s;
    }
}

}  // namespace kaldo::group
