// The pieces of the pile-cap stiffness estimation below the driver's calls (capstiff.h): the scratch
// file of the piles' equivalent stiffnesses, the pile-head stiffness rebuilt from them by condensation,
// and the prints of an accepted point.
#pragma once

#include <array>
#include <string>

#include "model/vectors.h"

namespace kaldo {

// ---- Equivalent stiffness scratch file ------------------------------------------------------------
// The springs of pile p's n + 1 nodes (head first) from the last read-back, into values(1..n + 1).
void PNODVAL(int p, double* values);

// ---- Pile-head stiffness by condensation ------------------------------------------------------------
// The beam-column element between nodes a (unknowns 1..6) and b (7..12): axial u, lateral v and w,
// twist, rotation about y, rotation about z. With axial == 1 the terms of the axial force P (positive
// softens) are added.
void BEAMK12(double ei1, double ei2, double ea, double gj, double L, double P, int axial, Mat12& K);
// The plane element: u, v and the rotation of each node (6 x 6 by columns).
void BEAMKG(double ei, double ea, double L, double P, int axial, Mat6& K);
// Static condensation of the N x N matrix A (by columns, leading dimension N) onto its last M unknowns
// into B (M x M, leading dimension M). flag 1 when a pivot is zero (B is then zero), else 0.
void CONDENS(double* A, double* B, int N, int M, int& flag);

// What the condensation of one pile met: pivots that were zero (the elements whose chain below was
// dropped) and head releases of a rotation that had no stiffness.
struct CondensNotes {
    int zeroPivots = 0;
    int lowestDropped = 0;  // the lowest element at which the chain below was dropped
    int emptyReleases = 0;
};

// The chain of n elements of length h on the node springs spring(0..n), head first, condensed onto the
// head (6 x 6 in the pile's own axes; the axial and torsional unknowns carry unit rigidities). eiz and
// eiy are the flexural rigidities of the nodes; P the axial force of the axial-load terms (axial == 1).
void condensePile(int n, double h, const double* eiz, const double* eiy, const double* spring, double P, int axial,
                  Mat6& C, CondensNotes& notes);
// The plane chain (3 x 3: axial, lateral, rotation).
void condensePile2D(int n, double h, const double* ei, const double* spring, double P, int axial, Mat3& C,
                    CondensNotes& notes);

// The head connection of rotation r (1-based) of the nd x nd head stiffness K (by columns): code 1, or 3
// with the spring s = 0, releases it (pinned head); 3 with a spring puts it in series with the rotation;
// any other code leaves K as it is. A released rotation whose stiffness is below 1e-10 of scale (one
// element's rotational stiffness) has none: its row and column become zero and nothing else changes.
void headConnection(double* K, int nd, int r, int code, double s, double scale, CondensNotes& notes);

// Head stiffness of pile p in its own axes from the springs of the last read-back (6 x 6). The trace
// lines of the pile go to trace, each ended by a new line; notes receives what the condensation met.
void PILEKCOND(int p, int axial, int& status, Mat6& K, std::string& trace, CondensNotes& notes);
// The plane twin (3 x 3 in the leading block of a 3 x 3 array).
void PHSTF2D(int p, int axial, int& status, Mat3& K, std::string& trace, CondensNotes& notes);

// ---- Prints of an accepted point ----------------------------------------------------------------------
// The target and the computed displacement of the controlled degree of freedom on the unit, when the
// case seeks target deflections; dof returns the controlled degree of freedom.
void TGTLINE(int unit, int nlev, int antype, int& dof, double computed, double target, const double* fsd);
// The point's number and level, its target line, its load and displacement at the origin.
void CAPORIGPR(int nlev, int antype, int point, double level, double computed, double target, const double* fsd,
               const Vec6& loads, const Vec6& disp);

}  // namespace kaldo
