// Axial and torsional soil resistance: what the other subsystems may call.
//
// The soil profile under a pile becomes side load-transfer curves (t-z: unit side transfer t against
// pile movement z) at three depths per layer, and a tip curve (q-w: tip load against tip movement).
// Marching up the pile from an assumed tip movement, adding side transfer and elastic shortening,
// gives a point of the pile's load-settlement curve; twisting the pile instead gives the
// torque-rotation curve. Values are in internal units: inch, pound, psi (English and generic runs) or
// metre, kN, kPa (SI).
//
// The curve builders and readers keep no state and write nothing shared but the status word they are
// given and whole warning records (and the fault message of a property set of unknown pile type, which
// the echo meets first), so the axial solution of the group may call them for many piles at once. The
// echo and curve-file writers run on the calling thread only.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/tzset.h"
#include "model/vectors.h"

namespace kaldo {

// ---- The five shapes of a side curve ---------------------------------------------------------------
// Each fills points 1 to 10 of curve i from its maximum unit side transfer TZTMAX(i); D is the pile
// diameter where the movements are multiples of it.
void TZSDSSAND(int i, double D, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX);  // drilled, sand
void TZSDSCLAY(int i, double D, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX);  // drilled, clay
// Driven pile in sand: hyperbolic, with the initial stiffness of the friction angle TZPHI(i); a
// maximum of practically zero is replaced by 0.001 in the set itself.
void TZSDRSAND(int i, TzPoints& TZT, TzPoints& TZZ, TzValues& TZTMAX, const TzValues& TZPHI);
void TZSDRCLAY(int i, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX);  // driven, clay
// Driven pile in user-curve (5) and elastic-subgrade (12) layers: a peak at 0.01 D, then 80 %.
void TZSPEAK01(int i, double D, TzPoints& TZT, TzPoints& TZZ, const TzValues& TZTMAX);

// ---- Building the curves of a pile -----------------------------------------------------------------
// Which of the two tip-capacity rules applies: the load-settlement curve of the input echo (Echo), or
// the axial solution of a pile and the curve data file (Group). They differ for silt (cohesion added
// or not) and for the elastic subgrade and codes above 14 (bearing rule when no user value or not).
enum class TipRule { Echo, Group };

// The side-curve set of property set M placed by pile ip (its HEADXW and GROUND): two curves at the
// ground surface (axial sets only, groundCurves = true) and three per layer, each with its maximum
// unit side transfer by pile type and criterion, its friction angle and its shape. Returns at once
// when a profile lookup sets the status; a pile type other than 1 (driven) or 2 (drilled shaft) sets
// ST_BADVALUE.
void buildSideCurves(int M, int ip, bool groundCurves, TzSet& set, int& status);
// The axial rigidity table of property set M.
void buildAxialRigidity(int M, AxAeTab& tab);
// The tip capacity and tip curve of property set M placed by pile ip, its side curves built: uplift
// takes a tip area of 0.0001 (the tip then carries practically nothing). A driven pile in a cohesive
// tip layer without E50 or without capacity sets ST_LSCURVE_NO_E50 or ST_LSCURVE_NO_COHESION with its
// warning.
void buildTipCurve(int M, int ip, bool uplift, TipRule rule, const TzSet& set, QwTip& tip, int& status);

// ---- Reading the curves ----------------------------------------------------------------------------
// Unit side transfer at x (the axis of the set's TZX) and movement z >= 0: the curve at or just below
// x, or linear in x between the two curves around it; 0 above the first curve, the last curve below
// the last one; NaN when x or z is NaN.
double sideTransfer(const TzSet& set, double x, double z);
// Unit side transfer of curve a at movement z >= 0, linear between its points (the last segment
// included), the first point's value at and before the first point, the last point's value at and
// beyond the last point; NaN for a NaN movement.
double curveTransfer(const TzSet& set, int a, double z);
// Tip load at tip movement w >= 0, linear between the points and extrapolated along the last segment;
// the first point's load at and before the first point, NaN for a NaN movement.
double tipLoad(const QwTip& tip, double w);
// Axial rigidity at depth d below the pile head, linear within the section's entry pair (the last pair
// extended below the last section).
double axialRigidity(const AxAeTab& tab, double d);

// ---- Axial force along a pile in the group solution ------------------------------------------------
// When a load case asks for the variation of axial load along the piles, the axial head routine of a
// pile on a generated load-settlement curve calls these three in order, each only while the status
// word is still 0, with working curves of its own (one set per pile evaluation, so that pile threads
// share nothing). E is the trial axial head movement, positive downward (compression).

// The side-curve set of pile ip (property set M placed by the pile's HEADXW and GROUND) with its two
// ground-surface curves, and the axial rigidity table of M. A profile lookup beyond its data sets the
// status; a property set of a pile type other than 1 or 2 writes its fault record and sets ST_BADVALUE.
// E is not used.
void AXLTZPILE(int ip, int M, double E, int& status, TzSet& set, AxAeTab& ae);
// The tip capacity and tip curve of pile ip by the group rule, from its side curves: in uplift (E < 0)
// the tip area is 0.0001, so the tip carries practically nothing. A driven pile in a cohesive tip layer
// without E50 or without capacity sets ST_LSCURVE_NO_E50 or ST_LSCURVE_NO_COHESION with its warning.
void AXLQWTIP(int ip, int M, double E, int& status, const TzSet& set, QwTip& tip);
// Movements R and forces S at the nodes of pile ip under the head movement E: the tip movement whose
// march up the pile (tip load, then side transfer and elastic shortening segment by segment) reaches
// E at the head, found from a first estimate off the property set's generated curve (AXLSTAB) by
// secant and Newton steps. Uplift is marched with positive movements and stored negated. A head
// movement beyond the generated curve gives the march of the curve's end tip movement, without
// iterating. When the head is not matched within 26 evaluations, or a segment's midpoint movement does
// not settle, the solver state RUNSOLVST is raised to SOLVER_AXIAL_FAILURE; R and S then hold the last
// complete march (or stay as the caller gave them). Slots other than 4 to NINC + 4 are not touched;
// status and count (the point count of the pile's curve) are not used.
void AXLSOLVE(int ip, int M, double E, int& status, int count, SlotArray& R, SlotArray& S, const TzSet& set,
              const AxAeTab& ae, const QwTip& tip);

// ---- Unit capacities at a depth --------------------------------------------------------------------
// Unit side friction and unit end bearing at coordinate x in a layer of the given criterion, for a
// driven pile and for a drilled shaft. The flags are 1 where the user gives no value at x and the
// results are then the estimates; with a user value they stay 0.
void AXLUNITQ(int code, double x, int& sideFlag, double& fsDriven, double& fsDrilled, int& tipFlag,
              double& qbDriven, double& qbDrilled, int& status);

// ---- Generated curves of the input echo ------------------------------------------------------------
inline constexpr int NLSPT = 9;  // points of one branch of a generated curve
using BranchPoints = Arr<double, 1, NLSPT>;

// One branch of the generated axial load-settlement curve of property set M under pile ip (branch 1
// uplift, 2 compression): nine head loads and head movements, positive in both branches, for nine
// assumed tip movements. Lists the side and tip curves and the results on the axial-torsion listing
// (unit 20) and the load along the pile on the load-transfer curve file (unit 27), and keeps the points
// in AXLSTAB. A segment whose movement does not settle within the iteration bound stops the run with
// ST_NOCONVERGE.
void AXLLSECHO(int M, int branch, int curve, int ip, int& status, int& n, BranchPoints& loads,
               BranchPoints& movements);
// The same for the torque-rotation curve (three-dimensional runs): head torques and rotations (radians),
// equal in both branches. A section without torsional rigidity is reported on the results and runtime
// files and stops the run with ST_ZEROGJ.
void TQLLSECHO(int M, int branch, int curve, int ip, int& status, int& n, BranchPoints& torques,
               BranchPoints& rotations);

// ---- Curve data file -------------------------------------------------------------------------------
// The axial and the torsional spring curves of pile p at the ends of its curve-file increments, written
// to the curve data file (unit 28) as text or unformatted records.
void AXLLSPLOT(int p, int& status);
void TQLLSPLOT(int p, int& status);

}  // namespace kaldo
