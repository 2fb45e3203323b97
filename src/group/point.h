// Values given at a point of the cap: a load case may give, for each cap component, either the
// displacement of a point P off the origin or the load acting there. The group solutions then solve a
// bordered system in each iteration: the cap stiffness with one constraint row and column per component
// whose displacement is given, the constraint tying the displacement of P (the cap's translation plus its
// rotation times the offset of P) to the given value; its unknown is the reaction that holds P there.
// After the solution the cap's displacement and loads are moved from the origin to P for the reports.
//
// Flags per component (KDOF): 0 the displacement is given at P, 1 the load is given. The input accepts
// no other value.
//
// Three dimensions: components X (vertical, down), Y, Z, rotations about X, Y, Z; unknowns 1..6 of the
// bordered 12 x 12 system are the cap displacement increments, 7..12 the reactions of components 1..6.
// The plane: components X, Y, rotation about Z; a 6 x 6 system with unknowns 1..3 and reactions 4..6.
// Matrices are stored by columns.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "model/vectors.h"

namespace kaldo {

using Vec12 = std::array<double, 12>;

// Limits the coupling of the stiffness K (n x n by columns) on the first iteration of a load step, before
// the bordered system is built: row by row (i = 1..n in order), an off-diagonal term larger in size than
// half the row's diagonal is cut to that half, keeping its sign, in both symmetric places; later rows see
// the terms already cut. The first iteration is never accepted, so the cut only shapes its trial step.
void limitCoupling(std::span<double> K, int n);

// ---- Three dimensions ---------------------------------------------------------------------------
// The bordered matrix A from the 6 x 6 stiffness K, the offset r = (x, y, z) of P (RSP places 1 to 3)
// and the flags. A component whose load is given gets 1 on its reaction's diagonal (its reaction is
// decoupled and comes out 0); one whose displacement is given gets the row that makes the displacement
// of P in that component (X: u1 + z u5 - y u6, Y: u2 - z u4 + x u6, Z: u3 + y u4 - x u5, rotations
// u4..u6) and the same column.
void CAPAUGK(Mat12& A, const Mat6& K, const Vec6& RSP, const Flags6& KDOF);
// The right-hand side b and the force copy g: b(1..6) = R, g(1..6) = F; for a component whose
// displacement is given g(6+i) is the given value USP(i) and b(6+i) what P still lacks of it at the cap
// displacement u. The other places are 0.
void CAPAUGR(Vec12& b, Vec12& g, const Vec6& R, const Vec6& F, const Vec6& USP, const Vec6& u, const Vec6& RSP,
             const Flags6& KDOF);
// y = A x for the 12 x 12 matrix A and N 12-vectors held one after the other (each read whole before its
// product is written). N <= 0 does nothing.
void MATV12(std::span<double> y, const Mat12& A, std::span<const double> x, int N);
// Moves the cap displacement u and the loads P from the origin to P: UP the displacement of P, PP the
// loads there. A component whose load is given takes the given load PSPs (already at the load level) in
// PP, and a given force also replaces the force of P. FLAG 0 when P is the origin (nothing else is done),
// else 1.
void XFERPT(const Vec6& u, Vec6& P, const Vec6& RSP, Vec6& UP, Vec6& PP, const Vec6& PSPs, const Flags6& KDOF,
            int& FLAG);
// dst = -src.
void NEGV6(const Vec6& src, Vec6& dst);
// The markers of the point tables, one character per component: a component whose displacement is given
// has "*" in M2 (the displacement tables) and a blank in M1 (the load tables), the other one the reverse.
void DOFMARK(const Flags6& KDOF, std::string& M1, std::string& M2);

// ---- The plane ------------------------------------------------------------------------------------
// The bordered 6 x 6 matrix from the 3 x 3 stiffness K (offset (x, y) in RSP places 1 and 2; flags in
// KDOF places 1 to 3): vertical u1 - y u3, horizontal u2 + x u3, rotation u3.
void MIXSYS2D(Mat6& A, const Mat3& K, const Vec6& RSP, const Flags6& KDOF);
// b(1..3) = R, g(1..3) = F, and the rows of the given displacements as in CAPAUGR.
void MIXRES2D(Vec6& b, Vec6& g, const Vec3& R, const Vec3& F, const Vec6& USP, const Vec3& u, const Vec6& RSP,
              const Flags6& KDOF);
// The plane XFERPT: UP and PP of P from u and P at the origin; FLAG 0 when P is the origin.
void TRPT2D(const Vec3& u, Vec3& P, const Vec6& RSP, Vec3& UP, Vec3& PP, const Vec6& PSPs, const Flags6& KDOF,
            int& FLAG);
// The plane DOFMARK, for three components.
void DOFLBL2D(const Flags6& KDOF, std::string& M1, std::string& M2);
// dst = src, three values.
void COPY3(std::span<const double, 3> src, std::span<double, 3> dst);

// ---- Reports ---------------------------------------------------------------------------------------
// The point tables of a three-dimensional case (the point, the loads and the displacement there) to the
// results file, with the markers M1 after the load labels and M2 after the displacement labels, then to
// the summary file without markers.
void grpsolPointTables(const Vec6& RSP, const Vec6& PP, const Vec6& UP, const std::string& M1,
                       const std::string& M2);
// The same for the plane, with the markers in both files.
void grpsol2dPointTables(const Vec6& RSP, const Vec3& PP, const Vec3& UP, const std::string& M1,
                         const std::string& M2);
// Iteration log of a three-dimensional case with values at a point: the rows of the bordered matrix,
// then the vectors of the solve (the increment x, the right-hand side b, the step's and the case's
// accumulated unknowns, -(b + g) and the force copy g).
void grpsolLogBordered(const Mat12& A);
void grpsolLogPointVectors(const Vec12& x, const Vec12& b, const Vec12& dU, const Vec12& u, const Vec12& g);
// The plane's: rows of the 6 x 6 matrix, and the vectors with b + g in place of -(b + g).
void grpsol2dLogBordered(const Mat6& A);
void grpsol2dLogPointVectors(const Vec6& x, const Vec6& b, const Vec6& dU, const Vec6& u, const Vec6& g);

// The unknowns of the bordered system over a solution (N = 12 in three dimensions, 6 in the plane): the
// increment x of the last solve with its right-hand side b and force copy g, the sum of the increments
// over the current step and over the case. A failed step returns the case's sum to its value at the
// step's start; a converged one keeps its force copy, which the reports take the loads from.
template <std::size_t N>
struct BorderedUnknowns {
    std::array<double, N> x{}, b{}, g{};
    std::array<double, N> step{}, total{};
    std::array<double, N> totalAtStart{}, gConverged{};

    void startStep() { step.fill(0.0); }
    void addIncrement() {
        for (std::size_t i = 0; i < N; ++i) {
            step[i] += x[i];
            total[i] += x[i];
        }
    }
    void stepConverged() {
        totalAtStart = total;
        gConverged = g;
    }
    void stepFailed() { total = totalAtStart; }
};

}  // namespace kaldo
