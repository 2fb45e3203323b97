// Single-pile analysis: what the other subsystems may call.
#pragma once

#include <atomic>

#include <array>
#include <string>
#include <vector>

#include "model/arr.h"
#include "model/capacity.h"
#include "model/results.h"
#include "model/vectors.h"

namespace kaldo {

// Sets the values that the node set-up of every pile would otherwise write, once, before the pile
// loops start: the increment length HINC = PLEN / NINC of every property set, and the sentinel top
// XTOP(NLAYER + 1) = XBOT(NLAYER) below the deepest soil layer. The pile routines then only read them,
// however many pile threads run. Call it after the input echo has built the working tables and before
// the first analysis.
void prepareNodeTables();

// Lays out the finite-difference nodes of one pile in a three-dimensional run (NODEX, NODEAX from the
// head HEADX) and finds the first and last node of every soil layer (LNFIRST, LNLAST). A pile with its
// own user p-y curves gets its nodes only. A pile that reaches below the deepest layer writes its fatal
// error to the results and runtime files and sets ST_NODE; status is left alone otherwise.
void NODE(int pile, int& status);
// The plane twin of NODE: the head is HEADXW and the failure is ST_NODE2D.
void NODE2D(int pile, int& status);

// ---- Laterally loaded pile ----------------------------------------------------------------------
// The single-pile solvers work on slot arrays (head at slot 4, tip at n + 4, the fictitious nodes
// around); the distributed loads, the soil movement and the p-y springs of PYLAYERS come as node arrays
// (node j at j). model/vectors.h defines both numberings.

// The laterally loaded pile p of a three-dimensional group for a given head movement: two lateral
// planes, each a beam-column on the nonlinear soil springs of the p-y curves (the soil modulus taken at
// the resultant deflection), with bending stiffness from the sections or their moment-curvature
// curves, the axial force P (compression positive, times AXFACT), distributed loads and free-field soil
// movement.
//   yt, sy  head deflection and head slope of the first plane (local y): u(2) and -u(6)
//   zt, sz  the same for the second plane (local z): u(3) and u(5)
//   T       head torque (for the equivalent torsional stiffness)
//   Hy, Hz  head shears (out): the soil reaction less the distributed load along the pile
//   My, Mz  head moments of the two planes (out)
//   u, rot  local head displacement and the local-to-global rotation (for the stored results)
//   axdisp, axforce  axial displacement and force per slot from the axial solution, read on the t-z
//           path (KAXVAR = 1 and no user load-settlement curve) with slot s holding node s - 3, head
//           at slot 4 and tip at slot n + 4.
// The solution iterates on the soil moduli until no deflection changes by TOLPIL (never accepting the
// first solution). Without closure in MAXITP solutions it writes its warning to the results and
// runtime files, raises RUNSOLVST to SOLVER_NO_CLOSURE and returns with the head forces unset. A
// failing soil profile lookup sets status and returns. After closure, by RUNPASS: 0 returns the head
// forces; 2 also stores the equivalent stiffnesses in EQSSOL; 1 also stores the results and updates the
// envelopes. Writes nothing shared but the pile's own entries, so the pile loops may run it on any
// thread.
void LLPILE(int p, double yt, double sy, double zt, double sz, double P, double T, double& Hy, double& Hz, double& My,
            double& Mz, int& status, const Vec6& u, const Mat6& rot, const SlotArray& axdisp, const SlotArray& axforce);

// The laterally loaded pile p of a plane group for a given head movement: the beam-column of LLPILE in
// the plane's single lateral plane (bending stiffness EIz, head connection CONNZ with spring SPRZ), with
// the soil modulus taken at the signed deflection.
//   yt, theta  head deflection across the pile axis and head rotation (u[1] and u[2])
//   P          axial head force (compression positive, times AXFACT)
//   V, M       head shear and head moment (out)
//   u, A       local head displacement (along the axis, across it, rotation) and the matrix from the
//              pile's axes to the plane's, for the stored results
//   axdisp, axforce  the axial solution along the pile, as for LLPILE
// The iteration starts from the springs at a straight shape (yt at the head, none at the tip), or for a
// pile with its own user p-y curves from a modulus growing with the distance below the head. Failures,
// closure and the passes as LLPILE; on the equivalent-stiffness pass EQSSOL holds P, P / u1 (0 for no
// axial movement), h, the node depths and the lateral secant stiffnesses.
void LLPILE2D(int p, double yt, double theta, double P, double& V, double& M, int& status, const Vec3& u, const Mat3& A,
              const SlotArray& axdisp, const SlotArray& axforce);

// LLPILE, and with it the linearisation of the converged pile: D(o, k) the change of head output o (Hy,
// Hz, My, Mz) with head input k (yt, sy, zt, sz, then the axial force P along the whole pile), from the
// pile's own equations linearised at the converged deflections with every soil spring at the tangent
// of its curve, one linear solve per input on one factorisation. linear is false (D unset) when the
// pile is outside what the linearisation covers (lateralTangentCovered), when it did not close or
// failed, or when the linear system could not be solved; the head forces, the status and every side
// effect are those of LLPILE with the same arguments.
void LLPILETAN(int p, double yt, double sy, double zt, double sz, double P, double T, double& Hy, double& Hz,
               double& My, double& Mz, int& status, const Vec6& u, const Mat6& rot, const SlotArray& axdisp,
               const SlotArray& axforce, double D[4][5], bool& linear);
// True when pile p's lateral response can be linearised in the current case: p-y curves of the soil
// layers (not the pile's own user curves), no soil movement, bending stiffness of the sections (no
// moment-curvature curves) and one axial force along the whole pile (no t-z solution).
bool lateralTangentCovered(int p);

// ---- Axial and torsional pile-head response -------------------------------------------------------
// The axial head force of pile p for the local head displacement u (u[0] = w, the axial movement,
// positive downward), read from the pile's load-settlement curve (user curve LSCRV when LSCRV > 0,
// generated curve -LSCRV otherwise) by linear interpolation. A movement beyond the bearing or the
// pull-out end of the curve gives 0 (or, with KAXLIM = 1, the end's force) and, while RUNWARNPRT is 1,
// one warning record on the axial warning scratch file and one count in RUNWARNBEAR or RUNWARNPULL.
// When the case asks for the axial force along the pile (KAXVAR = 1) and the pile uses a generated
// curve, the t-z solution then gives the head force and fills axdisp and axforce at slots 4 (head) to
// n + 4 (tip), axforce already times AXFACT; the returned head force is not (the caller applies AXFACT).
// The t-z routines work on a copy of w: u is never changed. Both arrays are cleared on every call; a
// failing t-z routine leaves its code in status. Writes only its arguments, the atomic counters and
// whole warning records, so the pile loops may call it on any thread.
void AXIALRES(int p, double& force, const Vec6& u, SlotArray& axdisp, SlotArray& axforce, int& status);
// The plane twin: the same head force for the axial movement u[0] of a plane pile head; only the texts
// of its warning records differ.
void AXIAL2D(int p, double& force, const Vec3& u, SlotArray& axdisp, SlotArray& axforce, int& status);
// The head torque of pile p for the twist u[3] about the pile axis, read from its torque-rotation curve
// (TRCRV as LSCRV above) with the same treatment of twists beyond the ends (RUNWARNTORS).
void TORSRES(int p, double& torque, const Vec6& u);

// A head-response curve copied from the curve tables: n points (x by increasing value, f).
struct HeadCurve {
    int n = 0;
    std::array<double, MAXCRVPT> x{}, f{};
};
// Where a value lies on a head curve.
enum class CurveReach { Inside, BeyondLast, BeforeFirst };
struct CurveRead {
    double force = 0.0;
    CurveReach reach = CurveReach::Inside;
    double end = 0.0;  // the end abscissa passed (BeyondLast: x of the last point, BeforeFirst: of the first)
};
// Reads the curve at v: linear between the two points around it; beyond either end 0, or the end's
// force when keepEnd. A curve without points reads 0 everywhere (Inside).
CurveRead readHeadCurve(const HeadCurve& c, double v, bool keepEnd);
// The three-line record of a head warning, written whole to the axial warning scratch file (unit 25):
// an empty line; 5 blanks, "** WARNING **  ", the text, 2 blanks, "PILE GROUP", the pile in I5; 20
// blanks, moveLabel, the movement (E12.4), " > ", the curve end (E12.4), 5 blanks, forceLabel, the
// force assigned (E12.4).
void writeHeadWarning(const std::string& text, int pile, const std::string& moveLabel, double move, double end,
                      const std::string& forceLabel, double force);

// The axial stiffness of pile p's load-settlement curve at zero displacement: the slope of the segment
// that holds zero (the last segment when no point reaches it); 0 for a curve of fewer than two points
// or one outside the tables. The selector is always 1.
void AXSLOPE(int pile, int selector, double& slope);
// The same for the torque-rotation curve at zero rotation.
void TQSLOPE(int pile, int selector, double& slope);

// ---- Bending stiffness from moment-curvature curves ---------------------------------------------
// Replaces EI at slots 4 to n + 4 of pile p by the secant stiffness M / phi of the node's section at
// the node's curvature |y''| (from the deflections y), on the curves that bracket the head axial force
// P, interpolated linearly in P between them. Nodes of sections without a moment-curvature set keep
// the EI they have. EIMPHIY takes the set for bending with Iz (first plane), EIMPHIZ the one with Iy.
void EIMPHIY(int p, double P, SlotArray& EI, const SlotArray& y);
void EIMPHIZ(int p, double P, SlotArray& EI, const SlotArray& y);

// ---- Distributed loads and soil movement at the nodes -------------------------------------------
// The distributed load per length at nodes 1 to n + 1 of pile p along its local y (DLODNODY) and z
// (DLODNODZ), interpolated in the pile's load profile (WRKNODE) by the node's distance below the head;
// 0 outside the profile and for a pile without one.
void DLODNODY(int pile, NodeArray& load);
void DLODNODZ(int pile, NodeArray& load);
// The soil-movement profile of pile p (SMPROF): the points measured from the head, the input movement
// resolved onto the pile's lateral axes (three-dimensional: y and z; plane: the in-plane y).
void SOILMOVP(int pile);
// Clear nodes 1 to n + 1 of a node array of pile p (three names for the three arrays of the solvers).
void NODEZERO1(int pile, NodeArray& a);
void NODEZERO2(int pile, NodeArray& a);
void NODEZERO3(int pile, NodeArray& a);
// The free-field movement along the pile's y (SOILMOVX) and z (SOILMOVY) at nodes 1 to n + 1: the
// profile interpolated at the node's vertical distance below the head, both measured in the same frame,
// times the load fraction SMFACT of the current step. 0 above the ground surface and outside the
// profile. The profile holds the input movement unscaled: SMFACT is applied here and nowhere else.
void SOILMOVX(int pile, NodeArray& move);
void SOILMOVY(int pile, NodeArray& move);
// Sets the values that the soil-movement set-up of every pile would otherwise write (the shared pi of
// the soil routines), once, before the pile loops start.
void prepareSoilMovement();

// ---- Pile result stores and envelopes -----------------------------------------------------------
// Every stored value v goes to RESCUR; when ENVSERIES is 1 it first becomes both envelope entries, then
// it replaces the maximum when greater and the minimum when less. A value that is not a number never
// replaces an envelope entry. Each routine writes only pile p's entries.

// The pile top of a three-dimensional pile: head stress sigma, global and local head displacement and
// head force (rows 1-6, 14-19, 7-12, 20-25; sigma in rows 13 and 26).
void ENVTOP(int p, double sigma, const Vec6& UG, const Vec6& UL, const Vec6& FG, const Vec6& FL);
// The pile top of a plane pile: each value to the row its name gives, sigma to rows 7 and 20.
void PTENV2D(int p, double r1, double r2, double r3, double r14, double r15, double r16, double r4, double r5,
             double r6, double r17, double r18, double r19, double sigma);
// Packs the 25 along-pile quantities (every slot) into one record, in the order of the store.
void PACKLLP(AlongPileRecord& record, const std::array<const SlotArray*, NLLPQTY>& quantities);
// Stores slots 4 to c (c = n + 4, the tip) of every quantity of the record for pile p.
void ENVLLP(int p, int c, const AlongPileRecord& record);
// Turns the vector (x, y, z) in the local axes of pile p (x along the axis) into global axes.
void PILEROT(int p, double x, double y, double z, double& X, double& Y, double& Z);
// a := b when a > b (DMIN) or when b > a (DMAX); a value that is not a number changes nothing.
void DMIN(double& a, double b);
void DMAX(double& a, double b);

// ---- Pile-head forces and stiffness (three-dimensional) ------------------------------------------
// Six-component vectors: translations X (vertical, positive downward), Y, Z, then rotations about X, Y,
// Z (forces and moments in the same order); 6 x 6 matrices stored by columns. A pile's own axes: 1 along
// the pile, 2 and 3 across it.

// The four matrices of pile p (1 .. NPILES + 1, the last the embedded cap's pseudo-pile): TL the
// rotation from the pile's axes to global axes (the 3 x 3 rotation R on both diagonal blocks), TG its
// transpose, TD the cap-origin displacement to the head displacement (head translation = cap
// translation + cap rotation x head position) and TF, the transpose of TD, the head force to the force
// at the cap origin. Every other element is 0.
void PILETRAN(int p, Mat6& TF, Mat6& TD, Mat6& TL, Mat6& TG);

// The forces F of pile p on the cap at its head, in global axes, for the head displacement U in global
// axes: the axial, torsional and lateral analyses of the pile in the pile's own axes, times PMULT. A
// head pinned in either plane carries no torque. F is 0 when status is not 0 after the lateral analysis
// (status is the pile's status word: the routines only set it).
void PILEFRC(int p, Vec6& F, const Vec6& U, int& status);
// PILEFRC for the group's force vector: while the group iterates with the head stiffness of the balanced
// pile, the pile's lateral derivatives at U are kept too (one linear solve per head input on the
// factorised tangent system), and PILESTF at the same U before the next force round takes them instead
// of analysing the pile again. beginForceRound starts a round (before the force vector's pile loop, on
// one thread): derivatives of earlier rounds are not taken. prepareKeptDerivatives sizes the store for
// piles 1 .. piles (before the pile loops of a run, on one thread).
void PILEFRCKEEP(int p, Vec6& F, const Vec6& U, int& status);
void beginForceRound();
void prepareKeptDerivatives(int piles);
// The group iteration asks for the stiffness at the cap displacement of its next force vector, with
// its own difference steps (DU, IT, MODE as PILESTF takes them): while such a request stands, each
// pile's evaluation in PILEFRCKEEP forms its head stiffness at the cap origin from the derivatives just
// kept, and STIFF at the same cap displacement with the same steps takes the kept matrices
// (keptCapStiffness) instead of a pile loop of its own. The matrices are those STIFF's loop forms, bit
// for bit. expectStiffness and noStiffnessExpected run on one thread, outside the pile loops.
void expectStiffness(const Vec6& cap, const Vec6& DU, int IT, int MODE);
void noStiffnessExpected();
bool keptCapStiffness(int p, const Vec6& cap, const Vec6& DU, int IT, int MODE, Mat6& K);
// The bearing, pull-out and torsion warnings of the head curves, written while the force vector's pile
// loop runs (RUNWARNPRT) unless the thread has quieted them: the curves read to form a stiffness in that
// loop warn of nothing, as they do not when STIFF reads them.
bool headCurveWarnings();
class QuietHeadCurves {
public:
    QuietHeadCurves();
    ~QuietHeadCurves();
    QuietHeadCurves(const QuietHeadCurves&) = delete;
    QuietHeadCurves& operator=(const QuietHeadCurves&) = delete;
};

// The 6 x 6 head stiffness K(i, j) = dF(i)/dU(j) of pile p at the head displacement U, by central
// differences over thirteen force evaluations (U first, then U plus and minus each step). The steps are
// about 1e-7 inch of translation (smaller while the Newton increment DU is small, or fixed for MODE 1,
// a case with displacements given at a point); IT is the Newton iteration. All thirteen evaluations run
// whatever status becomes. K is not symmetrised.
void PILESTF(int p, Mat6& K, const Vec6& U, const Vec6& DU, int IT, int MODE, int& status);
// A switch of the pile analysis: its default, unless the environment variable name is "0" (off) or "1"
// (on) when it is first asked (read once per run), or the tests set it.
class EnvironmentSwitch {
public:
    EnvironmentSwitch(const char* name, bool byDefault) : name_(name), default_(byDefault) {}
    bool on();
    void set(bool on) { state_.store(on ? 1 : 0, std::memory_order_relaxed); }

private:
    const char* name_;
    bool default_;
    std::atomic<int> state_{-1};
};

// Whether PILESTF takes the stiffness of the balanced pile (LLPILETAN) where it covers the case,
// instead of central differences. On by default; the environment variable KALDO_LINEAR_HEAD_STIFFNESS=0
// turns it off for a run (the benchmarks), setHeadStiffnessByLinearisation for the tests.
bool headStiffnessByLinearisation();
void setHeadStiffnessByLinearisation(bool on);
// Whether a pile's own lateral iteration runs as Newton on the tangents of its p-y curves where it covers
// the pile (not on its own user curves, in moving soil or with moment-curvature stiffness). On by
// default; KALDO_PILE_NEWTON=0 turns it off for a run (the benchmarks), setPileNewton for the tests.
bool pileNewtonOn();
void setPileNewton(bool on);
// The difference steps h (translation) and hr (rotation) of that head stiffness, shared by every
// derivative of head forces by central differences: about 1e-7 inch of translation (1e-7 inch in metres
// for SI), single-precision constants as the solution has always used them; a ten-thousandth of that
// while the Newton increment DU is small after the second iteration, so the derivative stays local;
// fixed steps for MODE 1 (displacements given at a point).
void headDifferenceSteps(const Vec6& DU, int IT, int MODE, double& h, double& hr);

}  // namespace kaldo
