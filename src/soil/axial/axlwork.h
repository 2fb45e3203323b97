// Pieces shared by the routines of the axial and torsional soil resistance; not for other subsystems.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/tzset.h"
#include "soil/axial/axial.h"

namespace kaldo::axl {

// The rules' constants are single-precision numbers widened to double: sp(0.1f) is 0.10000000149011612.
constexpr double sp(float v) { return static_cast<double>(v); }

// Pi of the load-transfer rules and of the echo curves (3.1416), and of the curve data file (3.1415927).
inline constexpr double PI_AX = sp(3.1416f);
inline constexpr double PI_FILE = sp(3.1415927f);
// A user capacity below this counts as not given.
inline constexpr double TINY = sp(1e-10f);
// Convergence of the movement (or wall movement) at a segment midpoint, internal length units.
inline constexpr double MIDTOL = sp(0.0001f);
// The fixed-point repetitions of one segment stop here: a movement that still changes is reported.
inline constexpr int MAXSEGITER = 5000;

// True for a pile property set of a type the load-transfer rules know (1 driven pile, 2 drilled shaft);
// otherwise sets ST_BADVALUE with a message.
bool knownPileType(int M, int& status);

// The rules come in an inch-pound and a metric form. Generic runs compute in inches and pounds like
// English runs and take the inch-pound form throughout, so that every rule of a curve works in the same
// units (movements, stiffnesses, depths in feet and capacities alike).
inline bool metric(int units) { return units == 2; }

// Depth in feet from a length in internal units (inches, or metres in SI runs).
double feet(double length, int units);

// Maximum unit side transfer of a driven pile and of a drilled shaft for criterion code at depth z below
// the ground surface, from the average unit weight above, the friction angle (radians) and cohesion at
// the point; userF is the user's value, which criteria 5, 12 and codes above 14 keep. The driven rule
// takes z as it is (callers replace a depth of practically zero by 1.0 first); the drilled rule takes
// the depth in feet zft for its beta factor.
double drivenTmax(int code, double userF, double z, double gamma, double phi, double c, int units);
double drilledTmax(int code, double userF, double z, double zft, double gamma, double c);

// Bearing capacity factor Nq of a sand tip from its friction angle in degrees.
double bearingNq(double phiDeg);

// Fills curve a of a set whose TZX(a) and TZCODE(a) are placed: the maximum unit side transfer at
// TZX(a) (z its depth below the ground surface, zft the depth in feet of the drilled-shaft rule), the
// friction angle and the shape for pile type ptype and shape diameter D. atGround gives the curve the
// ground-surface maximum of 1e-6 before its shape is drawn.
void fillSideCurve(TzSet& set, int a, int ptype, double D, double z, double zft, bool atGround, int& status);

// The tip capacity and curve of a pile whose tip lies at xTip, zt below the ground surface, in a layer of
// criterion code: Dtip and Atip are the tip diameter and area, phiDeg the friction angle that sets the
// exponent of a driven sand tip, D the shape diameter.
void tipCurveAt(int ptype, double D, double xTip, double zt, int code, double Dtip, double Atip, double phiDeg,
                TipRule rule, QwTip& tip, int& status);

// A rigidity table read at depth d below the pile head (n entries 0 .. n - 1, two per section).
double rigidityAt(int n, const Arr<double, 0, RIGSLOTS>& dep, const Arr<double, 0, RIGSLOTS>& val, double d);

// The nine assumed tip movements of the generated curves: 0.0001 to 1.0 inch and, as the ninth, `ninth`
// inches; in metres in SI runs.
BranchPoints tipMovements(double ninth, int units);

// Node values along a pile counted up from the tip: node 1 is the tip, node NINC + 1 the head (the
// opposite order of the node arrays of the lateral analysis).
using TipUpValues = Arr<double, 1, MAXINC + 1>;

// The t-z march up a pile from an imposed tip movement: the pile's side curves, tip curve and axial
// rigidity; its increments (h along the pile, hv vertical), the x of its head and its perimeter.
struct AxialPile {
    const TzSet& set;
    const QwTip& tip;
    const AxAeTab& ae;
    int ninc;
    double h, hv, Lv, headx, perimeter;
};
// Loads P and movements W of the nodes for tip movement wt. Returns the number of segments done: ninc
// when every segment settled, fewer when the movement at a segment midpoint still changed after
// MAXSEGITER repetitions (the nodes above the last segment done are then not set).
int marchAxial(const AxialPile& pile, double wt, TipUpValues& P, TipUpValues& W);

}  // namespace kaldo::axl
