// The shortening of a Newton step of the cap, shared by the three-dimensional and the plane solutions.
//
// A Newton increment that leaves the cap further out of balance than the last iteration did is halved,
// up to four times, until it does better; when no shorter step does better, the full step stands as it
// was, so the iteration goes on exactly as without the search. A pile head whose soil curve starts
// vertically (a cube-root clay curve at the ground surface) has an unbounded tangent at zero deflection;
// the full Newton step then overshoots to twice the deflection on the other side, and a component without
// load (the sway of a symmetric group under vertical load) would cycle about zero for ever.
#pragma once

#include <cstddef>

namespace kaldo::group {

// How a force evaluation of the search ended: it stands, a pile failed the step, or the solution ends.
enum class Evaluation { Done, Failed, Abandoned };

// u, du and dU: the cap displacement (already moved by du), the increment and the step's total.
// size: the imbalance at u on entry; last: the imbalance of the last iteration. imbalance() measures the
// current forces; evaluate() computes the forces at u. On Done, size holds the imbalance of the step kept.
template <class V, class Imbalance, class Evaluate>
Evaluation shortenStep(V& u, V& du, V& dU, double& size, double last, Imbalance imbalance, Evaluate evaluate) {
    if (size <= last) return Evaluation::Done;
    const V full = du;
    const double fullSize = size;
    for (int halving = 0; halving < 4 && size > last; ++halving) {
        for (std::size_t i = 0; i < du.size(); ++i) {
            du[i] *= 0.5;
            u[i] -= du[i];
            dU[i] -= du[i];
        }
        const Evaluation e = evaluate();
        if (e != Evaluation::Done) return e;
        size = imbalance();
    }
    if (size > last) {
        for (std::size_t i = 0; i < du.size(); ++i) {
            u[i] += full[i] - du[i];
            dU[i] += full[i] - du[i];
        }
        du = full;
        const Evaluation e = evaluate();
        if (e != Evaluation::Done) return e;
        size = fullSize;
    }
    return Evaluation::Done;
}

}  // namespace kaldo::group
