// The beam-column on soil springs that the laterally loaded pile solvers share: one lateral plane of a
// pile, discretised by central differences on equally spaced nodes,
//     EI y'''' + Q y'' + Es y = W,
// with the head displacement given, a head row that expresses a pinned, fixed or spring-restrained
// head, and a free tip (no moment, no shear). Solved by a forward sweep that leaves every slot as
//     y_i = a_i + b_i y_(i+1) + c_i y_(i+2),
// two tip equations for the two fictitious slots below the tip, and back-substitution.
//
// Slots as in every along-pile array of the pile solvers: node j (1 at the head to n + 1 at the tip)
// at slot j + 3; slot 3 above the head and slots n + 5, n + 6 below the tip are fictitious. Internal to
// the single-pile solvers.
#pragma once

#include <initializer_list>

#include "model/ctlpar.h"
#include "model/input.h"
#include "pile/pile.h"

namespace kaldo::beamcol {

// One lateral plane of a pile: its recursion, deflections, stiffness, load and, after closure, the
// internal forces. All values per slot.
struct Plane {
    SlotArray a{}, b{}, c{};  // recursion coefficients
    SlotArray y{}, yprev{};   // deflection of this and of the previous solution
    SlotArray R{};            // bending stiffness EI
    SlotArray W{};            // load term per length: distributed load, plus Es times the soil movement
    SlotArray DL{};           // distributed load per length alone, kept for the report
    SlotArray S{}, M{}, V{};  // slope, bending moment -EI y'', shear
    SlotArray p{};            // soil reaction Es y
};

// The head rows. The head slot is held at the deflection yt; the fictitious slot above it follows from
// the connection: code 1 pinned (no moment), code 2 fixed (slope (y5 - y3) / 2h = -s), any other code a
// rotational spring of stiffness spring balancing the head moment against the rotation s. s is the
// negated head slope: the three-dimensional solver passes -u6 and u5, a plane solver minus its rotation.
void headRows(Plane& pl, int code, double yt, double s, double spring, double h);
// The head row of headRows as y3 = ay yt + as s + c3 y5 (the same three cases), for the linearised
// pile's unit head inputs.
void headRowCoefficients(int code, double R, double spring, double h, double& ay, double& as, double& c3);

// One solution for the current stiffness, axial force Q and soil moduli Es: keeps the previous
// deflections of the head to tip slots, sweeps, solves the two tip conditions and substitutes back.
void solve(Plane& pl, const SlotArray& Q, const SlotArray& Es, int n, double h);
// The same with the springs K and the load per length load in place of Es and the plane's own W (a
// Newton pass: the tangent springs and the load that goes with them).
void solve(Plane& pl, const SlotArray& Q, const SlotArray& K, const SlotArray& load, int n, double h);

// The parts of a plane's sweep coefficients that depend on its bending stiffness and axial force alone,
// formed once for the solutions of an iteration that keeps both (the pile's Newton iteration).
struct Band {
    SlotArray A{}, B{}, C{}, D{}, E{}, Q2{};
};
void band(const Plane& pl, const SlotArray& Q, int n, double h, Band& b);
// Both lateral planes of a pile in one call, each with its band, springs and load per length: the same
// solution as solve() for each plane, bit for bit; the two sweeps run interleaved (each slot waits for
// the slot before it, so two independent sweeps side by side take little longer than one). With from
// above 5 only the slots from there down are swept again: the springs and loads above it must be those
// of the planes' last solution.
void solvePair(Plane& py, const Band& by, const SlotArray& Ky, const SlotArray& Ly, Plane& pz, const Band& bz,
               const SlotArray& Kz, const SlotArray& Lz, const SlotArray& Q, int n, double h, int from = 5);

// The recursion b, c of a plane with the springs K alone (no load), keeping each slot's beta and 1 / G
// of the sweep: a solution for a load F then needs only a_i = -(A a_(i-2) + beta_i a_(i-1) - F_i h^4) g_i
// (the pile's condensation on its head solves one system for many loads). Slots 3 and 4 of b and c are
// the head rows', set by the caller.
void factorise(Plane& f, const Band& bd, const SlotArray& K, int n, double h, SlotArray& beta, SlotArray& g);

// True when no deflection of the head to tip slots has changed by tol or more since the previous
// solution (a deflection that is not a number never closes).
bool closedWithin(const Plane& pl, int n, double tol);

// After closure: slope and moment at slots 4 to n + 5, shear and soil reaction at slots 4 to n + 4.
// Returns the head shear, the soil reaction less the load along the pile by the trapezoid rule (half
// weights at head and tip for both).
double internalForces(Plane& pl, const SlotArray& Q, const SlotArray& Es, int n, double h);

// The warning of a pile whose soil-modulus iteration did not close within MAXITP solutions, to the
// results and runtime files as one record; it raises the solver state to SOLVER_NO_CLOSURE.
void warnNoClosure(int p);

// How the soil-modulus iteration of a pile ended.
enum class Closure { Closed, NoClosure, SoilFailed };

// The soil-modulus iteration that the pile solvers share, over the lateral planes of one pile (one in
// the plane, two in three dimensions): each round solves every plane with the current moduli Es, and
// the iteration stops when no deflection of any plane moved by TOLPIL since the previous round (never
// on the first solution). With moment-curvature curves (KMPHI >= 1) updateStiffness(), the solver's
// secant EI from the deflections, runs before each solution (KEIPREV >= 1, from the previous
// deflections) or after it. Between rounds newModuli() takes the secant moduli at the new deflections;
// false (a failing soil lookup) ends the iteration. After MAXITP solutions without closure the warning
// is written for pile p.
template <class UpdateStiffness, class NewModuli>
Closure iterate(int p, std::initializer_list<Plane*> planes, const SlotArray& Q, const SlotArray& Es, int n, double h,
                UpdateStiffness updateStiffness, NewModuli newModuli) {
    const bool curves = CTLIN.KMPHI >= 1;
    const bool fromPrevious = CTLPAR.KEIPREV >= 1;
    for (int it = 1;; ++it) {
        if (curves && fromPrevious) updateStiffness();
        for (Plane* pl : planes) solve(*pl, Q, Es, n, h);
        if (curves && !fromPrevious) updateStiffness();
        bool closed = it != 1;
        for (Plane* pl : planes) closed = closed && closedWithin(*pl, n, CTLPAR.TOLPIL);
        if (closed) return Closure::Closed;
        if (it >= CTLPAR.MAXITP) {
            warnNoClosure(p);
            return Closure::NoClosure;
        }
        if (!newModuli()) return Closure::SoilFailed;
    }
}

}  // namespace kaldo::beamcol
