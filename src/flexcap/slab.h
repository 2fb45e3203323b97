// The slab program of the flexible cap: a flat shell of isoparametric quadrilaterals (4, 8 or 9 nodes)
// standing on its piles, loaded in steps of a pseudo-time and solved by equilibrium iterations with a
// frontal solver. This header is the folder's own; other folders reach the flexible cap through
// flexcap/flexcap.h alone.
//
// Axes of the slab: x and y in its plane, z along its normal. Each node has six freedoms, in this order:
// 1 x displacement, 2 y displacement (membrane), 3 z displacement, 4 rotation xz, 5 rotation yz (plate),
// 6 rotation about z (drilling). Freedom f of local node I of an element is 6(I - 1) + f; freedom f of
// node n of the mesh is 6(n - 1) + f.
#pragma once

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "io/units.h"
#include "model/vectors.h"

namespace kaldo::slab {

inline constexpr int MAXNODE = 9;              // nodes of an element
inline constexpr int MAXGP = 9;                // Gauss points of an element
inline constexpr int MAXEVAB = 6 * MAXNODE;    // freedoms of an element
inline constexpr int FRONT_MIN = 60;           // the smallest front capacity of the frontal solver

// Single-precision constants of the slab program, widened to 64 bits.
inline constexpr double TINY = 1.0000000031710769e-30;   // smaller magnitudes add nothing
inline constexpr double FLOOR = 1.000000013351432e-10;   // a norm at most this passes the test
inline constexpr double TOLSLAB = 9.999999747378752e-05;  // relative convergence tolerance

// A slab analysis that cannot go on: a failed model check, a degenerate element, a zero pivot, a
// record that cannot be read. It never leaves the slab program: SLBMAIN turns it into the run status
// and writes the message to the runtime file and the slab listing.
struct SlabStop : std::runtime_error {
    int status;
    std::vector<std::string> listing;  // lines the slab listing receives before the message
    SlabStop(int st, const std::string& what, std::vector<std::string> lines = {})
        : std::runtime_error(what), status(st), listing(std::move(lines)) {}
};

// The control block: the counts of the control record, the fields the driver fixes, the time record
// and the stepping state.
struct Control {
    int NPOIN = 0, NELEM = 0, NMATS = 0, NNODE = 0, NGAUS = 0, NVFIX = 0;
    int NNLOD = 0, NNSTI = 0, NDLOD = 0, NDSTI = 0, NCLOD = 0, NCSTI = 0, NELOD = 0, NESTI = 0, NCTSTI = 0;
    int KPILE = 0;
    int NDOFN = 6, NDIME = 2, NPROP = 3, NSTRE = 8, NTYPE = 0, NCASE = 1, NEVAB = 0;
    double DT = 0.0, TINI = 0.0, TEND = 0.0, DTMIN = 0.0;
    int MAXITER = 0;
    int FRCAP = FRONT_MIN;  // front capacity of the frontal solver, set by CHECK2
    double TCUR = 0.0, DTCUR = 0.0;
    int KSTEP = 0, ITER = 0;
    double TOLSL = TOLSLAB;
};

// Records that name a node or an element, with six values (nodal and distributed loads and stiffnesses).
struct NumberedBlock {
    std::vector<int> number;
    std::vector<Vec6> value;
    int count() const { return static_cast<int>(number.size()); }
};
// Records at a point of the plan: X and Y as read, replaced by the local coordinates (xi, eta) of the
// element that holds the point once it is located (element 0 while not found). Pile points carry no
// values.
struct PointBlock {
    std::vector<int> element;
    std::vector<std::array<double, 2>> point;
    std::vector<Vec6> value;
    int count() const { return static_cast<int>(element.size()); }
};
// Edge records: element, side 1 to 4, freedom 1 to 6, and three values (at the two corners and the
// middle of the side).
struct EdgeBlock {
    std::vector<int> element, side, dof;
    std::vector<std::array<double, 3>> value;
    int count() const { return static_cast<int>(element.size()); }
};

// The model of the slab input file.
struct Model {
    Control c;
    std::string title;
    std::vector<std::array<double, 2>> coord;       // per node (index n - 1): x, y
    std::vector<std::array<double, 3>> mprop;       // per material: Young's modulus, Poisson's ratio, thickness
    std::vector<int> fxnod;                         // restrained nodes
    std::vector<std::array<int, 6>> fxcod;          // restraint codes: 1 prescribed, 2 spring reaction
    std::vector<Vec6> fxval;                        // prescribed values (or reaction factors)
    std::vector<int> elnod;                         // NNODE per element: node (I, e) at (e - 1) NNODE + I - 1
    std::vector<int> elmat, elabel, nlabel;         // material and label per element; label per node
    NumberedBlock nlod, nsti, dlod, dsti;
    PointBlock clod, csti, piles;
    EdgeBlock elod, esti;

    int node(int I, int e) const { return elnod[static_cast<size_t>((e - 1) * c.NNODE + I - 1)]; }
    double x(int n) const { return coord[static_cast<size_t>(n - 1)][0]; }
    double y(int n) const { return coord[static_cast<size_t>(n - 1)][1]; }
};

// ---- Element library -------------------------------------------------------------------------------

// The Gauss rule with n points per direction (1 to 3), points from negative to positive.
struct Gauss {
    int n = 0;
    std::array<double, 3> pt{}, wt{};
};
Gauss SLBGAUSS(int n);

// Shape functions at one point of the parent square and their derivatives by s (ds) and t (dt).
struct Shape {
    std::array<double, MAXNODE> N{}, ds{}, dt{};
};
// Evaluates the shape functions of an n-node element (4, 8 or 9) at (s, t); other counts leave sh alone.
void SLBSHAPE(double s, double t, int n, Shape& sh);

// The Cartesian derivatives at one point of an element: dN/dx, dN/dy, the Jacobian determinant and
// the point's plan position.
struct Jacobian {
    std::array<double, MAXNODE> dx{}, dy{};
    double det = 0.0;
    double px = 0.0, py = 0.0;
};
// The node coordinates of element e.
struct ElementXY {
    int n = 0;
    std::array<double, MAXNODE> x{}, y{};
};
ElementXY elementXY(const Model& m, int e);
// The Jacobian of element e at the point of sh. A determinant of zero, below zero or not a number is an
// element of zero or negative area: SlabStop (status ST_BADVALUE) naming the element.
Jacobian JACOB2(int e, const ElementXY& xy, const Shape& sh);

// The length element ds of side 1 to 4 of an element (corners side and side + 1, the midside node
// side + 4 when mid), with the shape functions of the side evaluated as those of side 1 at (s, -1).
double sideLength(const ElementXY& xy, int side, const Shape& sh, bool mid);

// Membrane rigidity E / (1 - nu^2) [1 nu 0; nu 1 0; 0 0 (1 - nu) / 2] (3 x 3, by rows) and plate
// rigidity: bending D [same] with D = E h^3 / 12 (1 - nu^2), transverse shear E h / 2.4 (1 + nu) (5 x 5).
using Mat3 = std::array<std::array<double, 3>, 3>;
using Mat5 = std::array<std::array<double, 5>, 5>;
Mat3 SLBDMEMB(double E, double nu);
Mat5 SLBDPLAT(double E, double nu, double h);

// The element's stiffness without springs and piles, and its stress matrices: per Gauss point the
// membrane stresses from the nodes' x and y displacements (3 x 2 NNODE) and the plate resultants from
// their z displacements and rotations xz and yz (5 x 3 NNODE), and the point's plan position.
struct ElementMatrices {
    int nevab = 0, ngp = 0;
    std::vector<double> k;                                   // nevab x nevab, by columns
    std::array<std::array<double, 3 * 2 * MAXNODE>, MAXGP> memb{};   // row r, column c at r + 3 c
    std::array<std::array<double, 5 * 3 * MAXNODE>, MAXGP> plate{};  // row r, column c at r + 5 c
    std::array<std::array<double, 2>, MAXGP> gp{};
    double& K(int r, int c) { return k[static_cast<size_t>((r - 1) + (c - 1) * nevab)]; }
};
// Membrane, plate and drilling stiffness of element e. The drilling stiffness Kd is the shear modulus
// times the polar moment of the element's area about its centre, over the thickness; each node takes
// the share of it that the element's lumped area gives the node (the integral of its shape function,
// taken by magnitude and normalised, so every share is positive).
void elementMatrices(const Model& m, const Gauss& g, int e, ElementMatrices& out);

// ---- Pile heads -------------------------------------------------------------------------------------
// How the slab reaches the pile heads: the head stiffness and the head forces of pile p for a head
// displacement d in the group solution's axes. The engine's piles are the default; tests put springs in.
struct PileLink {
    virtual ~PileLink() = default;
    virtual void stiffness(int p, const Vec6& d, Mat6& K, int& status) = 0;
    virtual void forces(int p, const Vec6& d, Vec6& F, int& status) = 0;
};
PileLink& enginePiles();

// The axis exchange between slab freedoms and pile-head freedoms: slab x is the engine's Z, slab y its Y,
// the slab normal its -X. The plate rotations are slopes: xz (dw/dx) is the turn about the engine's -Y,
// yz (dw/dy) the turn about its Z. A slab vector s reaches the pile head as (-s3, s2, s1, -s6, -s4, s5).
Vec6 slabToHead(const Vec6& s);
Vec6 headToSlab(const Vec6& p);
// Ks = T K Tt for a head stiffness K (column-stored 6 x 6).
Mat6 headStiffnessToSlab(const Mat6& K);

// The movement of the slab at a point of element e, as six slab freedoms, is A ue for the element's
// freedoms ue: the displacements and the plate rotations interpolated by the shape functions, the turn
// about the normal taken from the membrane (half the curl of the in-plane displacement), so that a pile
// head twists with the slab around it. A[f][c] for slab freedom f and element freedom c.
using PointOperator = std::array<std::array<double, MAXEVAB>, 6>;
void pointOperator(const Model& m, int e, double xi, double eta, PointOperator& A);

// ---- The solution ----------------------------------------------------------------------------------

// The output files of one slab run. Any may be closed (nothing is written to it).
struct Files {
    io::Unit listing{6}, results{7}, convergence{8}, trace{9};
};

// The element work of one iteration: stiffness matrices, right-hand sides and stress matrices.
struct ElementStore {
    int nevab = 0;
    std::vector<double> k;    // nevab x nevab per element, by columns
    std::vector<double> rhs;  // nevab per element
    std::vector<ElementMatrices> stress;  // the stress matrices of each element (k unused)
    double* K(int e) { return k.data() + static_cast<size_t>(e - 1) * nevab * nevab; }
    double* R(int e) { return rhs.data() + static_cast<size_t>(e - 1) * nevab; }
    void size(const Model& m);
};

// The tangent stiffness of every element at the displacement u (6 per node) with the stiffness records
// and the pile heads, and its internal forces subtracted from the element right-hand sides (zeroed by the
// caller). Pile failures end the analysis (SlabStop with the pile's status).
void SLBELSTF(const Model& m, const Gauss& g, const std::vector<double>& u, ElementStore& store, PileLink& piles,
              Files* files);

// Adds the external loads at the time c.TCUR to the element right-hand sides.
void SLBLOADV(const Model& m, const Gauss& g, ElementStore& store);
// nodal(6 (node - 1) + f) += element(6 (I - 1) + f) over every element, node and freedom.
void SLBASSMV(const Model& m, ElementStore& store, std::vector<double>& nodal);
// Euclidean norms of the translations (freedoms 1-3) and rotations (4-6) of the first n / 6 nodes.
void SLBNORM6(const std::vector<double>& v, double& trans, double& rot, int n);

// The frontal solver: solves the system of the element matrices and right-hand sides with the
// restraints, for the increment of the displacement from the total utotal. solution receives the
// increment of every freedom an element holds (others keep their value). A prescribed freedom (code 1)
// moves to its prescribed total, and its reaction is the force that holds it there; a freedom of code 2
// is free and reports its factor times its total displacement; any other freedom reports 0 unless a
// restraint record gives it a value. The reduced equations are kept in memory. A zero pivot of a free
// freedom is SlabStop (ST_SINGULAR_STIFFNESS) after its line on the listing. Returns the largest front
// met.
int SLBFRONT(const Model& m, ElementStore& store, const std::vector<double>& utotal, std::vector<double>& solution,
             std::vector<double>& reactions, io::Unit* listing);

// Locates the points of a block in the mesh; returns the number found.
int SLBLOCPT(const Model& m, PointBlock& b);
// Where one plan point lies: element (0 when none) and local coordinates.
bool locatePoint(const Model& m, int e, double X, double Y, double& xi, double& eta);

// Reads the slab input file: title, control and time records, then the rest of the model with its echo
// on the listing, the checks and the point location. Faults are SlabStop.
void readSlab(io::LineSource& in, Model& m, Files& files);
// The checks of the control record: the numbers of the errors found (empty when none).
std::vector<int> CHECK1(const Control& c);
// The checks of the whole model; sets c.FRCAP. Writes its diagnoses and the largest front to the
// listing. Returns the number of errors found.
int CHECK2(Model& m, io::Unit* listing);

// The step report: displacements and reactions, then stresses with their extremes and the nodal
// averages on the result file.
void SLBDISPL(const Model& m, const std::vector<double>& asdis, const std::vector<double>& reactions,
              io::Unit& listing);
void SLBSTRES(const Model& m, const ElementStore& store, const std::vector<double>& asdis, Files& files);

// Evaluates every pile at the total displacement and lists its head displacement and forces.
void SLBPILEF(const Model& m, const std::vector<double>& asdis, PileLink& piles, Files& files);

// How a slab run ended.
struct Outcome {
    int status = 0;          // 0, or the status that ended it
    bool reachedEnd = false; // the analysis reached TEND
    double lastTime = 0.0;   // the last converged time (TINI when no step converged)
    int steps = 0;           // converged steps
    int iterations = 0;      // equilibrium iterations of all attempts
    int front = 0;           // largest front of the frontal solver
    std::string message;     // the fault, when status is not 0
};

// The slab program on an open model text: reads, checks, steps and reports to the files. The model is
// read from in; faults end it with their status (never beyond this call).
Outcome runSlab(io::LineSource& in, Files& files, PileLink& piles);

// The paths of the slab files of a run, derived from the input data file's path: same folder, same
// stem, extensions of their own.
struct SlabPaths {
    std::string model, keyword, listing, results, convergence, trace;
};
SlabPaths slabPaths(const std::string& inputPath);

// The slab program as the flexible-cap run starts it: the file list gslab.dat in the working folder
// names the model, keyword, listing, result and convergence files (one per line); the trace file stands
// beside the listing.
Outcome SLBMAIN(PileLink& piles);

// The model export: the plate model of the cap under the loads, written to the slab input file and the
// keyword model file named by gslab.dat. A path that cannot be written sets ST_FILEOPEN.
void FCAPWRIT(const Vec6& loads, int& status);
// Writes gslab.dat in the working folder from the run's input data file path; returns the slab paths.
SlabPaths FCAPNAMES(int& status);

}  // namespace kaldo::slab
