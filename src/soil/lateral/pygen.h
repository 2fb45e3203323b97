// The shared skeleton of the p-y generators and the interface each soil criterion fills (see the
// pattern at the top of lateral.h). Internal to the lateral soil routines.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "model/runblocks.h"
#include "services/status.h"
#include "soil/lateral/lateral.h"

namespace kaldo::py {

// What a call is for: the springs of a pile (the analysis), the points of one curve on the echo
// report, or the curve record of the curve data file.
enum class Mode { Evaluate, Report, File };

// The depth tolerance of the generators: a node less than this below the ground surface is above it
// (single precision 1e-6).
inline constexpr double DEPTH_TOL = static_cast<double>(1e-6f);

// The widened single-precision value of a decimal constant of the curve formulas.
constexpr double s(float v) { return static_cast<double>(v); }

// One generator call: the contract's arguments and what the skeleton derives from the run-wide words.
struct Call {
    int pset;   // property set of the pile (section lookups)
    int layer;  // the layer being walked
    int pile;   // the pile, or the cap pseudo-pile NPILES + 1
    int fidx;   // the PILEFAC row whose PMUL and YMUL apply (the pile itself in evaluation mode)
    int& status;
    const NodeArray& y;
    NodeArray& Es;
    const NodeArray& smov1;
    const NodeArray& smov2;
    NodeArray& esy;
    NodeArray& p;
    Mode mode = Mode::Evaluate;
    int kpyop = 0;  // the p-y print switch as the driver left it: 0 while the load cases run
    int first = 0;  // first and last node of the pile in the layer
    int last = 0;
};

// The node being evaluated, as the skeleton has placed it.
struct Node {
    int j = 0;             // node number, 1 at the pile head
    bool capPass = false;  // the cap pass (the head node evaluated for the embedded cap)
    bool first = false;    // the layer's first node
    bool last = false;     // the layer's last node
    double X = 0.0;        // vertical coordinate of the node
    double x = 0.0;        // depth below the ground surface
    double xe = 0.0;       // depth of the wedge geometry (the equivalent depth rule below layer 1)
    double b = 0.0;        // pile diameter (or cap width)
    double ys = 0.0;       // resultant free-field soil movement at the node
};

// The multipliers of the node's curve: PMUL and YMUL of the PILEFAC row in effect and, when a set of
// multipliers along depth applies, its pmd and ymd at the node.
struct Scale {
    double pmul = 1.0, ymul = 1.0;
    bool depth = false;
    double pmd = 1.0, ymd = 1.0;
};

// One evaluated point of the curve.
struct Spring {
    double pc = 0.0;        // the curve's own value (not negative, no multiplier)
    double pprime = 0.0;    // PMUL * pc
    double Es = 0.0;        // secant modulus handed to the solver
    bool small = false;     // evaluated by the small-deflection rule (initial modulus)
    bool capValue = true;   // PCAPLV takes pc on the cap pass of an embedded cap with passive resistance
};

// A soil criterion as the skeleton sees it. One object lives for one generator call, on the stack of
// the calling thread, so the running values of a layer walk (averages, previous node's resistance,
// curve constants of the node) are plain members. The defaults are the common rules; a criterion
// overrides what its own rules change.
class Criterion {
public:
    explicit Criterion(int typeWord) : type_(typeWord) {}
    virtual ~Criterion() = default;
    Criterion(const Criterion&) = delete;
    Criterion& operator=(const Criterion&) = delete;

    // Curve-type word of the curve record.
    int typeWord() const { return type_; }

    // ---- Shape of the node walk
    // The cap pass over the head node for an embedded cap.
    virtual bool hasCapPass() const { return true; }
    // In the listing modes with a passive-resistance cap the pile pass skips the nodes of the cap zone.
    virtual bool hasCapZoneRule() const { return true; }
    // The cap width replaces the section diameter on the cap pass and for the cap's own segments.
    virtual bool takesCapWidth() const { return true; }
    // Below the first layer the wedge depth follows the layer's equivalent depth.
    virtual bool usesEquivalentDepth() const { return true; }
    // The criterion lists curves (report and file modes); one that serves the analysis only does
    // nothing at all in the listing modes.
    virtual bool lists() const { return true; }

    // ---- Per node, in the order the skeleton calls them
    // Soil values at the node (profile lookups, defaults). False when a lookup set the status: the
    // generator returns at once.
    virtual bool lookups(const Call& call, const Node& node) = 0;
    // The criterion's own test that the layer's equivalent depth is the true depth of its top, at the
    // first node of a layer below the first.
    virtual bool crossesAtTop(const Call&, const Node&) const { return false; }
    // Otherwise the equivalent depth from the resistance of the layers above (PYEQDEPTH with the
    // criterion's arguments); false when no finite depth was stored.
    virtual bool equivalentDepth(const Call&, const Node&) const { return false; }
    // Ultimate resistance and curve constants at the node.
    virtual void constants(const Call& call, const Node& node) = 0;
    // Adds the node's share of the layer's integrated ultimate resistance to S (the running sum the
    // skeleton resets at the layer's first node and stores in PUINT after this call).
    virtual void integrate(const Call& call, const Node& node, double& S) = 0;
    // Report mode: the criterion's heading of the node, before its points.
    virtual void heading(const Call&, const Node&) const {}
    // Report and file modes, after the heading: records a criterion writes before the points of a
    // listed node whatever the listing is for (such as its X on the plot output file while KPYOP is 1).
    virtual void beforePoints(const Call&, const Node&) const {}
    // Deflection i (1..17) of the default list of points.
    virtual double defaultPoint(int i) const = 0;

    // ---- The curve at the node
    // The curve value p_c at deflection y >= 0.
    virtual double curve(double y) const = 0;
    // The initial modulus E0 that replaces the secant below YMIN, when the criterion has one.
    virtual bool initialModulus(double&) const { return false; }
    // The curve value that goes with E0 below YMIN.
    virtual double smallValue(double y, double E0) const { return E0 * y; }
    // The point at deflection y: the curve value, the reaction with PMUL and the secant modulus.
    virtual Spring spring(double y, const Scale& m) const;
    // The slope dp/dy of curve() at y > 0, where pc = curve(y), on the loading side (from above at a
    // kink), for a criterion that has it in closed form and hands its secant over by spring()'s common
    // rule; false otherwise (the skeleton then reads the curve a second time, a little further out).
    virtual bool curveSlope(double, double, double&) const { return false; }
    // The slope dEs/dy of the secant modulus of the point sp = spring(y, m): 0 below the smallest
    // deflection (the initial modulus stands), otherwise from curveSlope(). False when the criterion
    // has no closed form.
    bool secantSlope(double y, const Scale& m, const Spring& sp, double& dEs) const;

    // ---- Keeping a node's constants between calls
    // The number of values that hold everything curve(), initialModulus(), smallValue(), spring() and
    // integrate() read at a node once constants() has run, for a criterion whose lookups, constants and
    // integration carry no running value from one node of the layer walk to the next; 0 otherwise. The
    // skeleton keeps them per pile and node while the analysis runs, and at the next call with the
    // same node, section and soil hands them back instead of redoing the lookups and the constants.
    virtual int keptValues() const { return 0; }
    virtual void keepTo(double*) const {}
    virtual void takeFrom(const double*) {}

    // ---- Listing (report and file modes)
    // The listed point (yl, pl) of a point evaluated at y, in report or file mode.
    virtual void listedPoint(const Node& node, Mode mode, double y, const Spring& sp, const Scale& m, double& yl,
                             double& pl) const;
    // Report mode: the lines of listed point i on the echo report and the plot output file.
    virtual void pointLines(const Node& node, int i, double y, double yl, double pl, const Spring& sp) const;
    // The plot output record of a listed point.
    virtual void plotRecord(double yl, double pl) const;

private:
    int type_;
};

// The common rule of Criterion::spring for criterion c: below the smallest deflection the initial
// modulus stands (without any multiplier), above it the secant PMUL p / y / YMUL (pmd / ymd along depth).
// A criterion class that is final and takes this rule overrides spring() with it: its curve and initial
// modulus are then called directly, not through the virtual table at every point.
template <class C>
Spring commonSpring(const C& c, double y, const Scale& m) {
    Spring sp;
    double E0 = 0.0;
    if (c.initialModulus(E0) && y < RUNCONST.YMIN) {
        sp.small = true;
        sp.pc = c.smallValue(y, E0);
        sp.pprime = m.pmul * sp.pc;
        sp.Es = E0;
        return sp;
    }
    sp.pc = c.curve(y);
    sp.pprime = m.pmul * sp.pc;
    sp.Es = sp.pprime / y / m.ymul;
    if (m.depth) sp.Es = sp.Es * m.pmd / m.ymd;
    return sp;
}

// The listing rule of the API sand and silt criteria: the node's X goes to the plot output file whenever
// the print switch is 1 (the curve data file included), the curve data file takes the curve itself
// without the multipliers, and the plot records are (2X, 1PE15.8, 2X, 1PE15.8).
class UnscaledFileCriterion : public Criterion {
public:
    using Criterion::Criterion;
    void beforePoints(const Call& call, const Node& node) const override;
    void listedPoint(const Node& node, Mode mode, double y, const Spring& sp, const Scale& m, double& yl,
                     double& pl) const override;
    void plotRecord(double yl, double pl) const override;
};

// The most values a criterion keeps per node (keptValues()).
inline constexpr int KEPT_VALUES = 16;

// Packing a criterion's kept values: each listed member in turn to or from the array (a flag or a
// code as the double of the same value, which holds it exactly).
template <class... T>
void keepValues(double* v, const T&... members) {
    int i = 0;
    ((v[i++] = static_cast<double>(members)), ...);
}
template <class... T>
void takeValues(const double* v, T&... members) {
    int i = 0;
    ((members = static_cast<T>(v[i++])), ...);
}

// Walks the nodes of one layer of one pile by the common skeleton with the given criterion: the body of
// every generator (the arguments are the generator's own).
void generate(Criterion& crit, int pset, int layer, int& status, int pile, int fidx, const NodeArray& y,
              NodeArray& Es, const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p);

// Helpers the criteria share.
// The length of the increment below node j of the call's pile (0 at and below the tip).
double incrementBelow(const Call& call, int j);
// The layer table of pile J for listing one curve at X (the pile's first node moved there): the first
// of the given layers whose bottom lies below X holds node 1 alone; the layers above it hold no node,
// the layers below end at node 1 without holding one, and so does the last layer.
void listingNode(int J, double X, int layers);
// Report headings: the node's X as one list-directed record on the plot output file, and the
// equivalent-depth line of the echo report.
void plotNodeX(double X);
void eqDepthLine(double xe);

// The wedge geometry of the sand criteria (sand, API sand, silt) for the friction angle phi (radians):
// alpha = phi / 2, beta = 45 degrees + phi / 2, the active coefficient Ka = tan^2(45 degrees - phi / 2),
// tan beta and T = tan^2 beta.
struct SandWedge {
    double alpha, beta, Ka, tb, T;
};
// Every evaluation of a node's spring asks again for the wedge of the node's same phi: a thread keeps
// its recent wedges by the bits of phi (the wedge is a function of phi alone) and hands them back.
class WedgeCache {
public:
    SandWedge get(double phi) {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(phi);
        Kept& k = kept_[(bits * 0x9E3779B97F4A7C15ull) >> 56];
        if (k.valid && k.phi == bits) return k.w;
        constexpr double PI = 3.141592653589793;
        const double ta = std::tan(PI / 4.0 - phi / 2.0);
        const double beta = PI / 4.0 + phi / 2.0;
        const double tb = std::tan(beta);
        const SandWedge w{phi / 2.0, beta, ta * ta, tb, tb * tb};
        k = Kept{true, bits, w};
        return w;
    }

private:
    struct Kept {
        bool valid = false;
        std::uint64_t phi = 0;
        SandWedge w{};
    };
    Kept kept_[256];
};

// The calling thread's own wedge cache. A criterion fetches it once per generator call: reaching a
// thread's own storage from this library costs a call each time.
WedgeCache& threadWedges();

// The depth-to-diameter ratios of the sand factor tables and the factor A of sand under static and
// cyclic loading (single precision), shared by the sand and silt criteria and the equivalent depth.
inline constexpr double SAND_XB[10] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
inline constexpr double SAND_A_STATIC[10] = {s(2.83f), s(2.48f), s(2.11f), s(1.76f), s(1.48f),
                                             s(1.23f), s(1.06f), s(0.90f), s(0.88f), s(0.88f)};
inline constexpr double SAND_A_CYCLIC[10] = {s(0.75f), s(0.93f), s(1.07f), s(1.11f), s(1.03f),
                                             s(0.98f), s(0.94f), s(0.90f), s(0.88f), s(0.88f)};
// The factor B of sand (the reaction at b / 60 over the resistance), static and cyclic.
inline constexpr double SAND_B_STATIC[10] = {s(2.14f), s(1.83f), s(1.54f), s(1.27f), s(1.05f),
                                             s(0.86f), s(0.71f), s(0.53f), s(0.50f), s(0.50f)};
inline constexpr double SAND_B_CYCLIC[10] = {s(0.53f), s(0.72f), s(0.83f), s(0.86f), s(0.82f),
                                             s(0.77f), s(0.70f), s(0.55f), s(0.55f), s(0.55f)};

// What the sand criteria (sand, API sand, silt) share: the soil values at the node, the wedge of its
// friction angle, the test at a layer's top and the equivalent depth, which both compare the wedge
// resistance with the flow resistance. Base is the criterion class a member derives from, k0 its earth
// pressure at rest. wedge() and flow() are the sand criterion's resistances; API sand has its own.
template <class Base>
class SandFamily : public Base {
public:
    SandFamily(int typeWord, double k0) : Base(typeWord), k0_(k0) {}

    // Where the wedge resistance at the layer top, measured from the true depth, already exceeds the
    // flow resistance, the layers above do not matter.
    bool crossesAtTop(const Call&, const Node& node) const override {
        return wedge(node.x, node.x, node.b) > flow(node.x, node.b);
    }
    bool equivalentDepth(const Call& call, const Node& node) const override {
        return PYEQDEPTH(call.pile, call.layer, call.pset, node.b, c_, 0.0, gamma_, phi_, alpha_, beta_, k0_, Ka_, T_,
                         node.x, 0.0, SAND_XB);
    }

protected:
    // The unit weight, the strength (when the criterion uses one) and the friction angle at the node,
    // looked up in this order; false when a lookup set the status.
    bool soilValues(const Call& call, const Node& node, bool withStrength) {
        gamma_ = PRFGAMAV(node.X, call.status);
        if (call.status != ST_OK) return false;
        if (withStrength) {
            c_ = PRFCAT(node.X, call.status);
            if (call.status != ST_OK) return false;
        }
        phi_ = PRFPHIAT(node.X, call.status);
        return call.status == ST_OK;
    }
    // The wedge angles of phi, from this thread's recent wedges.
    void takeWedge() {
        const SandWedge w = wedges_.get(phi_);
        alpha_ = w.alpha, beta_ = w.beta, Ka_ = w.Ka, tb_ = w.tb, T_ = w.T;
    }
    // Wedge resistance: overburden on the true depth x, wedge geometry on the depth xe.
    virtual double wedge(double x, double xe, double b) const {
        const double tp = std::tan(phi_), ta = std::tan(alpha_), sb = std::sin(beta_);
        const double tbp = std::tan(beta_ - phi_);
        return gamma_ * x *
               (k0_ * xe * tp * sb / (tbp * std::cos(alpha_)) + tb_ / tbp * (b + xe * tb_ * ta) +
                k0_ * xe * tb_ * (tp * sb - ta) - Ka_ * b);
    }
    // Flow resistance of the sand flowing round the pile at depth.
    virtual double flow(double x, double b) const {
        const double t4 = T_ * T_;
        return Ka_ * b * gamma_ * x * (t4 * t4 - 1.0) + k0_ * b * gamma_ * x * std::tan(phi_) * t4;
    }

    WedgeCache& wedges_ = threadWedges();  // this thread's recent wedges
    const double k0_;
    double gamma_ = 0.0, c_ = 0.0, phi_ = 0.0, k_ = 0.0;                // soil values at the node
    double alpha_ = 0.0, beta_ = 0.0, Ka_ = 0.0, tb_ = 0.0, T_ = 0.0;  // wedge angles, Ka, tan beta, tan^2 beta
};

// The text that names criterion code 1..14 after "P-Y CURVE COMPUTED USING " (code 5, user curves
// within a layer, has a line of its own); empty for code 5 and the codes outside 1..14.
const char* criterionText(int code);

// Points of curve j of user p-y curve set s that count (at most a curve record's capacity).
int userCurvePoints(int s, int j);
// The reaction of curve j of user p-y curve set s at deflection y: linear between the points that
// bracket y (the first segment below its second point), flat beyond its last point.
double userCurveReaction(int s, int j, double y);

}  // namespace kaldo::py
