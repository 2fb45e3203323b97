// Lateral soil resistance: what the other subsystems may call.
//
// Everything here may run on the worker threads of the parallel pile loops, one pile per call: the
// routines read the shared soil tables only, and write nothing shared but the status word they are
// given (only on failure, never cleared), whole warning records and the calling pile's own kept node
// constants (see prepareSpringConstants).
//
// How a soil criterion is built (the p-y generators of PYLAYERS):
//   Every criterion follows one skeleton, py::generate in pylayers.cpp (pygen.h declares it): the
//   cap pass and the pile pass over the layer's nodes, the depth multipliers, the ground and cap-zone
//   rules, the diameter, the equivalent depth of a lower layer, the soil movement, the evaluation of a
//   point (small-deflection modulus, p- and y-multipliers, sign of the reaction) and the listing of
//   points for the report and the curve data file. A criterion is one file, <name>.cpp, holding a class
//   derived from py::Criterion that fills its part:
//     lookups()          the soil values at the node (profile lookups, in the criterion's order;
//                        false when a lookup set the status)
//     crossesAtTop()     the crossing test that makes a lower layer's equivalent depth the true depth
//     equivalentDepth()  otherwise PYEQDEPTH with the criterion's arguments
//     constants()        ultimate resistance and curve constants at the node
//     integrate()        the node's increment of the integrated ultimate resistance (PUINT)
//     curve()            p_c(y), the curve value without multipliers
//     initialModulus()   E0 below YMIN, when the criterion has one (smallValue(): p_c that goes with it)
//     defaultPoint()     the 17 default print deflections
//     heading()          its report-mode heading of a node
//   and overrides, where its rules differ, the shape words (hasCapPass, hasCapZoneRule, takesCapWidth,
//   usesEquivalentDepth, lists), spring() (its own evaluation of a point), beforePoints(),
//   listedPoint(), pointLines() and plotRecord() (its listing). Running values of the layer walk
//   (averages, the previous node's resistance) are members of the object: it lives for one call.
//   Its generator (e.g. PYSAND) builds the object on the stack and hands it with the generator's own
//   arguments to py::generate; the generator is declared below with the others.
//   Registering it: its generator stands on the line of its code in the dispatch table of pylayers.cpp.
//   Shared pieces: incrementBelow(), plotNodeX(), eqDepthLine() and the sand factor tables SAND_XB,
//   SAND_A_STATIC, SAND_A_CYCLIC (pygen.h); PYEQDEPTH, CFTAB10, CFASTAT, CFACYC (below, eqdepth.cpp).
//   softclay.cpp and elastic.cpp are the worked examples.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"
#include "model/vectors.h"

namespace kaldo {

// ---- Soil property profiles at a coordinate ------------------------------------------------------
// x is the global vertical coordinate (positive downward, internal length units), not a depth below
// the ground surface. Within a layer a profile is linear between the layer's top and bottom rows; an
// x above the first row extends rows 1 and 2 linearly upward. Below the last row the lookups with a
// status word warn (results and runtime files), set the status and return 0; those without one
// return 0 silently.

// Average effective unit weight from the ground surface down to x (0 above the ground surface).
// Below the profile: ST_BEYOND_UNIT_WEIGHT.
double PRFGAMAV(double x, int& status);
// Average undrained cohesion from the ground surface down to x. Below the profile it warns on the
// results file only, sets no status and extends the last layer's profile linearly down to x.
double PRFCAVG(double x, int& status);
// Undrained cohesion (rock strength, stress transfer) at x; at a layer boundary the lower layer's
// value unless that is zero. Below the profile: ST_BEYOND_COHESION.
double PRFCAT(double x, int& status);
// Friction angle (radians) at x; at a layer boundary the mean of the two layers' values, or the
// nonzero one. Below the profile: ST_BEYOND_FRICTION.
double PRFPHIAT(double x, int& status);
// Subgrade modulus k, rock modulus Er, strain E50 (krm for weak rock) and the J / RQD column at x,
// with the boundary rule of PRFPHIAT; 0 below the profile.
double PRFKAT(double x);
double PRFK2AT(double x);
double PRFE50AT(double x);
double PRFCOL7(double x);
// The J / RQD lookup under the name the soft clays with J use.
double PRFCOL7B(double x);
// Subgrade modulus for the single-pile solver: k at x, or when k is practically zero a default from
// the cohesion at x (lb/in^3 bands of 500 to 4000 psf, times 271.5 in SI). 0 above the first row;
// below the profile the strength warning is written, no status is set and the lowest band is used.
double PRFKDEF(double x);
// User ultimate unit side friction, unit tip resistance and friction angle (radians) at x, linear
// within the segment that holds x; at a layer boundary the lower layer's top value. Below the
// profile: ST_BEYOND_SIDE_FRICTION, ST_BEYOND_TIP_RESISTANCE and ST_BEYOND_FRICTION_SEGMENT.
double PRFFMAX(double x, int& status);
double PRFQMAX(double x, int& status);
double PRFPHILIN(double x, int& status);

// ---- Default soil parameters --------------------------------------------------------------------
// Estimates of a subgrade modulus k or strain E50 that the input gives as zero or negative. Values in
// internal units: lb and inch (English and generic), kN and metre (SI). units is CTLIN.UNITS
// (1 English, 2 SI, 3 generic: no estimate unless said). Friction angles are in radians.

// Sand k (lb/in^3 or kN/m^3) from the friction angle and the effective unit weight, which tells
// whether the sand lies above or below the water table. k is written in English and SI runs only.
void PYKPHI(double phi, double gamma, double& k, int units);
// Soft-clay E50 by strength band (always written; 0.001 in a generic run).
void PYE50SOFT(double c, double& e50, int units);
// Stiff-clay E50 by strength band (written in English and SI runs only).
void PYE50STIFF(double c, double& e50, int units);
// Stiff-clay k by strength band; kstatic 1 static, 0 cyclic loading. Written in English and SI runs
// only, and only for kstatic 0 or 1.
void PYKCLAY(double c, double& k, int units, int kstatic);
// Silt k: the stiff-clay k of the loading (kstatic 1 static, otherwise cyclic) plus an increment by
// friction angle and water table. Written in English and SI runs only.
void PYKSILT(double gamma, double c, double phi, double& k, int units, int kstatic);

// The k of one row of a layer for the input echo. k1 (static) and k2 (cyclic) return kin itself with
// estimated = 0 when kin > 0; otherwise estimated = 1 and the criterion's defaults (clays 2, 10, 14
// and silt 7 both loadings, with twoValues = 1; sands 4, 8 the static k only; other criteria keep kin).
void DEFKLAYER(double c, double phi, double gamma, double kin, double& k1, double& k2, int units, int criterion,
               int& estimated, int& twoValues);
// The E50 of one row of a layer for the input echo: e50in itself with estimated = 0 when e50in > 0;
// otherwise estimated = 1 and the soft-clay (1, 7, 13, 14) or stiff-clay (2, 3, 10) estimate; other
// criteria keep e50in.
void DEFE50LAYER(double c, double e50in, double& e50out, int units, int criterion, int& estimated);
// The E50 estimate of the axial and torsional soil curves, by the criterion choice of DEFE50LAYER;
// e50 is left unchanged where no estimate applies.
void DEFE50AX(double c, double& e50, int criterion, int units);

// ---- Lateral soil springs along a pile ----------------------------------------------------------
// PYLAYERS and the generators take node arrays (node 1 at the head to NINC + 1 at the tip); PYUSERPILE
// takes the solvers' slot arrays (node i below the head at slot i + 4).

// Sizes the per-pile store of node constants that the p-y generators keep while the analysis runs
// (piles + 1 entries, the embedded cap's pseudo-pile last) and leaves every entry kept before unused.
// Call it before the pile loops of a run, on one thread; without it nothing is kept.
void prepareSpringConstants(int piles);

// The springs of one pile from the soil layers: for every layer that holds nodes of the pile, the
// generator of the layer's criterion gives each node's soil reaction p (signed, opposing the node's
// deflection relative to the soil) and secant modulus Es at its deflection y. Nodes above the ground
// surface get Es = 0. smov1 and smov2 are the free-field soil movement at the nodes (used while
// SMOV.NSMOV > 0), and esy receives Es times the resultant movement in evaluation mode. fidx is the
// PILEFAC row that scales a listed curve (the pile's own row is used in evaluation mode). A failing
// profile lookup or criterion sets status; the remaining layers are still walked.
void PYLAYERS(int pset, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es, const NodeArray& smov1,
              const NodeArray& smov2, NodeArray& esy, NodeArray& p);

// PYLAYERS in evaluation mode for the pile's own row, with the slope of each node's secant modulus in
// the same walk: dEs the derivative dEs/dy at the deflection y (on the loading side at a kink of the
// curve; 0 below the smallest deflection and above the ground; nodes that no layer holds keep theirs).
// A criterion without a closed form gives the difference quotient of a second reading at y (1 + 1e-4).
void PYLAYERSSLOPE(int pset, int& status, int pile, const NodeArray& y, NodeArray& Es, const NodeArray& smov1,
                   const NodeArray& smov2, NodeArray& esy, NodeArray& p, NodeArray& dEs);

// The p- and y-multipliers along depth of a pile at the vertical coordinate x: set := the pile's set
// RFLSET; pm = ym = 1 without a set or outside its points, linear between them.
void PYMULT(int pile, int& set, double x, double& pm, double& ym);

// The generators of the soil criteria, one per criterion code; each walks the nodes of one layer.
// Soft clay (code 1 and every code outside 1..14), soft clay with the J of the profile (13), modified
// soft clay with an initial modulus k (14), and the elastic subgrade (12).
void PYSCLAY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
             const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYSCLAYJ(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
              const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYSCLAYMK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYELASTIC(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
// Stiff clay with free water (code 2), sand (4), silt (7) and API sand (8). Silt stops the run on a zero
// friction angle (ST_SILT_NO_FRICTION at a node after the layer's first, ST_SILT_SLOPE_OVER_FRICTION
// otherwise) and API sand likewise at a node after the layer's first (ST_SAND_NO_FRICTION), each with a
// note on the echo report and the runtime file.
void PYSTCLAYW(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYSAND(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
            const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYSILT(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
            const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYAPISAND(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
// Stiff clay without free water (code 3) and with an initial modulus k (10), liquefied sand (11), weak
// rock (9), vuggy limestone (6) and user curves within a layer (5). Stiff clay (3) without any E50 and
// vuggy limestone without strength stop the run (ST_BADVALUE, with a warning that names the layer);
// weak rock without strength at a node after the layer's first stops it with ST_ROCK_NO_STRENGTH. User
// curves within a layer stop it (ST_BADVALUE) for a pile without a curve set, and below the deepest
// curve take that curve and raise the solver state to SOLVER_CURVES_SHORT.
void PYSTCLAY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
              const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYSTCLAYK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYLIQSAND(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYWROCK(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
             const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYVUGGY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
             const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);
void PYUSERLAY(int pset, int layer, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es,
               const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);

// The equivalent depth of the top of layer L (L >= 2) of a pile: the depth at which the layer's own
// soil, reaching up to the ground surface, would build up the integrated ultimate resistance that the
// layers above really give (PUINT of layers 1..L-1). The rule follows the layer's criterion; the
// arguments a rule does not use may hold anything: the diameter b, strength c, average strength ca,
// unit weight gamma, friction angle phi, wedge angles alpha and beta, earth pressure coefficients K0
// and Ka, T = tan^2(beta), the node's depth x, the soft-clay J and the ten depth-to-diameter ratios XB
// of the sand tables. Stores EQDEP(pile, L) and returns true when the depth is finite; a divisor that
// is zero leaves EQDEP unchanged and returns false.
bool PYEQDEPTH(int pile, int L, int pset, double b, double c, double ca, double gamma, double phi, double alpha,
               double beta, double K0, double Ka, double T, double x, double J, const double (&XB)[10]);

// Depth-factor tables at the vertical coordinate X of a pile: the section diameter b_s there, the
// ratio r = (X - GSURFP) / b_s and linear interpolation in a table (extended along its first or last
// segment). CFTAB10 takes a 10-point table against its ratios; CFASTAT and CFACYC are the static and
// cyclic factors As and Ac of stiff clay with free water.
double CFTAB10(int pile, int pset, double X, const double (&values)[10], const double (&ratios)[10]);
double CFASTAT(int pile, int pset, double X);
double CFACYC(int pile, int pset, double X);

// The springs of a pile on its own user p-y curve set (|PYCRV|): at the nodes i = 0..NINC below the
// head (slot i + 4 of the arrays) Es by interpolation between the curves that bracket the node's depth
// and p from the deeper curve. A node deeper than the set's deepest curve writes an error record and
// raises the solver state to SOLVER_CURVES_SHORT.
void PYUSERPILE(int pile, const SlotArray& y, SlotArray& Es, const SlotArray& smov1, const SlotArray& smov2,
                SlotArray& esy, SlotArray& p);

// The report of generated p-y curves (after the Table N caption on the echo report): for each print
// request either why no curve is listed, or the curve listed by PYLAYERS in report mode. Rewrites nodes
// 1 and 2 and the layer table of each listed pile; a failing profile lookup leaves its status.
void PYREPORT(int& status);
// The p-y curve records of pile p on the curve data file: at NCRVINC + 1 equally spaced nodes, the sum
// of the curves of the half increments above and below each node (listed by PYLAYERS in file mode at
// the middle of each increment, times half the increment), written symmetric about the origin.
// Rewrites nodes 1 and 2 and the layer table of the pile; a failing profile lookup leaves its status and
// the records go on.
void PYPLOTPILE(int p, int& status);

}  // namespace kaldo
