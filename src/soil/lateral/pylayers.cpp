// p-y springs along a pile: the layer dispatch (PYLAYERS), the multipliers along depth (PYMULT) and the
// skeleton that every soil criterion's generator follows.
//
// In evaluation mode these routines run for every pile at every iteration on the pile loops' threads:
// they read the shared tables, write only the calling pile's node arrays and its rows of PYDRV, keep
// every running value on the stack, and do no allocation and no file work (a failing lookup's warning
// aside). Headings and point lists exist only in the listing modes, on the calling thread.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "io/zeros.h"
#include "io/format.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/ctlpar.h"
#include "model/modelinput.h"
#include "model/runblocks.h"
#include "model/nodes.h"
#include "model/pilefac.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/pymode.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/colwrite.h"
#include "services/psec.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "services/warning.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

// The slopes of the secant moduli, taken in the same walk of the nodes (PYLAYERSSLOPE): dEs/dy into
// dEs, on the calling thread only while PYLAYERSSLOPE runs.
struct SlopeRequest {
    NodeArray* dEs = nullptr;
};

SlopeRequest& slopeRequest() {
    thread_local SlopeRequest r;
    return r;
}

// The relative step of the second reading that gives the slope of a criterion without a closed form.
constexpr double SLOPE_REL = 1e-4;

}  // namespace

namespace py {

namespace {

Mode currentMode() {
    if (PYMODE.PYPRTMODE == 0) return Mode::Evaluate;
    return PYMODE.PYFILEMODE == 1 ? Mode::File : Mode::Report;
}

// The deflection of listed point i: the request's or the curve data file's list when one is given,
// otherwise the criterion's default list.
double listDeflection(const Criterion& crit, Mode mode, int i) {
    if (PYMODE.NPYPT > 0) {
        if (mode == Mode::Report) return PYPRT.PYPRTDEF(PYMODE.PYPRTREQ, i);
        return OPTCRV.CRVPYDEF(i);
    }
    return crit.defaultPoint(i);
}

// Points of the node: one in evaluation mode; in the listing modes the requested count (at most the
// 25 a list holds), 17 for the default list, none when the count is negative.
int pointCount(Mode mode) {
    if (mode == Mode::Evaluate) return 1;
    if (PYMODE.NPYPT == 0) return 17;
    if (PYMODE.NPYPT < 0) return 0;
    return PYMODE.NPYPT < MAXPYDEF ? PYMODE.NPYPT : MAXPYDEF;
}

// The equivalent depth of the top of the call's layer below the first, computed at the layer's first
// node while the load cases run and the stored value is still 0: the true depth of the layer top when
// the layer above has the same criterion or the criterion's crossing test holds, otherwise from the
// resistance of the layers above. A depth that comes out non-finite is not kept: the call then measures
// the wedge geometry from the true depth of the layer top instead (returned in substitute, true).
bool substituteTopDepth(const Criterion& crit, const Call& call, const Node& node, double& substitute) {
    const int L = call.layer;
    const int pile = call.pile;
    if (call.kpyop != 0 || PYDRV.EQDEP(pile, L) >= DEPTH_TOL) return false;
    const double trueDepth = SOILLAY.XTOP(L) - PILE.HEADXW(pile) - PILE.GROUND(pile);
    if (SOILLAY.LCRIT(L - 1) == SOILLAY.LCRIT(L) || crit.crossesAtTop(call, node)) {
        PYDRV.EQDEP(pile, L) = trueDepth;
        return false;
    }
    if (crit.equivalentDepth(call, node)) return false;
    substitute = trueDepth;
    return true;
}

}  // namespace

Spring Criterion::spring(double y, const Scale& m) const { return commonSpring(*this, y, m); }

bool Criterion::secantSlope(double y, const Scale& m, const Spring& sp, double& dEs) const {
    if (sp.small) {
        dEs = 0.0;
        return true;
    }
    double dp = 0.0;
    if (!(y > 0.0) || !curveSlope(y, sp.pc, dp)) return false;
    // Es = PMUL p / (y YMUL) (pmd / ymd): dEs/dy = (PMUL p' / YMUL (pmd / ymd) - Es) / y.
    double scaled = m.pmul * dp / m.ymul;
    if (m.depth) scaled = scaled * m.pmd / m.ymd;
    dEs = (scaled - sp.Es) / y;
    return true;
}

void Criterion::listedPoint(const Node& node, Mode, double y, const Spring& sp, const Scale& m, double& yl,
                            double& pl) const {
    if (node.capPass && CTLIN.CAPOPT == 1) {
        // The cap's own curve, as the cap sees it: no multiplier.
        yl = y;
        pl = sp.pc;
        return;
    }
    yl = y * m.ymul;
    pl = sp.pprime;
    if (m.depth) {
        yl *= m.ymd;
        pl *= m.pmd;
    }
}

void Criterion::pointLines(const Node&, int, double, double yl, double pl, const Spring&) const {
    io::Unit& echo = io::unit(ECHO_UNIT);
    WCOLBLNK(echo, 21);
    WCOLREAL(echo, 20, 5, yl);
    WCOLREAL(echo, 20, 5, UCVKIPDIV(pl));
    WCOLEOL(echo);
    plotRecord(yl, pl);
}

void Criterion::plotRecord(double yl, double pl) const {
    io::unit(PLOT_UNIT).line() << io::X{1} << io::PE{15, 8, yl} << io::X{1} << io::PE{15, 8, pl};
}

void UnscaledFileCriterion::beforePoints(const Call& call, const Node& node) const {
    if (call.kpyop == 1) plotNodeX(node.X);
}

void UnscaledFileCriterion::listedPoint(const Node& node, Mode mode, double y, const Spring& sp, const Scale& m,
                                        double& yl, double& pl) const {
    if (mode == Mode::File) {
        yl = y;
        pl = sp.pc;
        return;
    }
    Criterion::listedPoint(node, mode, y, sp, m, yl, pl);
}

void UnscaledFileCriterion::plotRecord(double yl, double pl) const {
    io::unit(PLOT_UNIT).line() << io::X{2} << io::PE{15, 8, yl} << io::X{2} << io::PE{15, 8, pl};
}

namespace {

// ---- The constants of each node kept per pile ------------------------------------------------------
// Within a run only the deflection changes from one spring evaluation of a pile to the next, yet the
// skeleton would look up the soil values, the diameter and the curve constants of every node again at
// every pass of every solve. For a criterion that can hand its constants over (keptValues() > 0) they
// are kept per pile and node with every input they came from, and reused only when all of those are the
// same bit for bit: the curve is then exactly the one a fresh computation gives. Each pile's entries
// are written by the thread that analyses the pile only.
struct KeptKey {
    unsigned generation;  // RUNGENERATION when kept; 0 never matches a run
    int layer, type, pset, kstatic, capflag;
    std::uint64_t stamp;                           // the sizing the entry belongs to
    std::uint64_t X, AX, head, ground, eqdep;      // bits of the inputs
    bool operator==(const KeptKey&) const = default;
};

// What the node's share of the layer's integrated resistance was added to: the running sum before it
// (its bits), the layer's first and last node and the first increment. With the same constants and the
// same of these, integrate() adds the same again.
struct SumKey {
    std::uint64_t before;
    int first, last;
    std::uint64_t increment;
    bool operator==(const SumKey&) const = default;
};

struct KeptNode {
    KeptKey key{};
    bool substituted = false;  // the layer top's substitute depth
    double substitute = 0.0;
    double b = 0.0, xe = 0.0;
    double v[KEPT_VALUES];
    SumKey sumKey{};       // the last integration of the node's share, from these
    double sumAfter = 0.0;  // to this running sum
};

// The entries of every pile's nodes, from calloc: a table of tens of megabytes for thousands of piles
// comes from the system as zero pages, touched only where a pile is analysed, instead of being written
// whole on one thread before the first case. Zero bytes are an entry of no sizing (stamp 0), so a new
// entry never matches; KeptNode is an aggregate of plain values, which such memory holds as it stands.
struct FreeKept {
    void operator()(KeptNode* p) const { std::free(p); }
};
static_assert(std::is_aggregate_v<KeptNode> && std::is_trivially_destructible_v<KeptNode>);
std::unique_ptr<KeptNode[], FreeKept> keptNodes;
std::size_t keptCapacity = 0;
int keptPiles = 0;
std::uint64_t keptStamp = 0;
unsigned keptGeneration = 0;

std::uint64_t bitsOf(double v) { return std::bit_cast<std::uint64_t>(v); }

// The entries of the pile's nodes (node j at j - 1), or none when the pile lies outside the sizing or
// the sizing belongs to an earlier model.
KeptNode* keptEntries(int pile) {
    if (pile < 1 || pile > keptPiles) return nullptr;
    if (keptGeneration != RUNGENERATION.load(std::memory_order_relaxed)) return nullptr;
    return &keptNodes[static_cast<std::size_t>(pile - 1) * MAXNODE];
}

// The inputs of the constants of the call's nodes that are the same for every node of the walk (the
// loading and the cap width switch, the section set, the head and the ground): keyOf completes them.
KeptKey walkKey(const Criterion& crit, const Call& call) {
    return KeptKey{keptGeneration, call.layer, crit.typeWord(), call.pset,
                   CTLPAR.KSTATIC, PYMODE.CAPPYFLAG, keptStamp, 0, 0, bitsOf(PILE.HEADXW(call.pile)),
                   bitsOf(PILE.GROUND(call.pile)), 0};
}

// The inputs of node j's constants as they stand now: the walk's, the node's depths (and its section's)
// and the equivalent depth of the layer top before this call may set it.
KeptKey keyOf(KeptKey key, const Call& call, int j) {
    key.X = bitsOf(NODES.NODEX(call.pile, j));
    key.AX = bitsOf(NODES.NODEAX(call.pile, j));
    key.eqdep = bitsOf(PYDRV.EQDEP(call.pile, call.layer));
    return key;
}

void runGenerator(Criterion& crit, Call& call) {
    const int pile = call.pile;
    const int L = call.layer;
    const Mode mode = call.mode;
    if (mode != Mode::Evaluate && !crit.lists()) return;
    const int capopt = CTLIN.CAPOPT;
    const double headX = PILE.HEADXW(pile);
    const double ground = PILE.GROUND(pile);
    const double capTop = headX - CAPIN.CAPTX;
    if (call.kpyop == 0) call.fidx = pile;

    // Node constants are kept while the analysis runs (the listings always compute them afresh).
    const bool keeping = mode == Mode::Evaluate && call.kpyop == 0 && crit.keptValues() > 0 &&
                         crit.keptValues() <= KEPT_VALUES;
    NodeArray* const slopes = mode == Mode::Evaluate ? slopeRequest().dEs : nullptr;
    const std::uint64_t increment = keeping ? bitsOf(incrementBelow(call, call.first)) : 0;
    KeptNode* const keptRow = keeping ? keptEntries(pile) : nullptr;
    const KeptKey walk = keptRow != nullptr ? walkKey(crit, call) : KeptKey{};
    // The run's switches and the pile's multipliers hold for the whole walk.
    const bool moving = SMOV.NSMOV > 0, depthMultipliers = CTLIN.KRFDEP == 1;
    const double pmul = PILEFAC.PMUL(call.fidx), ymul = PILEFAC.YMUL(call.fidx);
    double S = 0.0;  // integrated ultimate resistance of the layer so far
    // The depth of the layer top that stands in for an equivalent depth that could not be formed.
    bool substituted = false;
    double substitute = 0.0;

    for (int pass = 1; pass <= 2; ++pass) {
        const bool capPass = pass == 1;
        int from = call.first, to = call.last;
        if (capPass) {
            // The cap pass looks at the head node alone, and only when it is the layer's first node.
            if (capopt <= 0 || !crit.hasCapPass() || call.first != 1) continue;
            to = 1;
        }
        for (int j = from; j <= to; ++j) {
            Node node;
            node.j = j;
            node.capPass = capPass;
            node.first = j == call.first;
            node.last = j == call.last;
            node.X = NODES.NODEX(pile, j);

            if (node.first) {
                S = 0.0;
                PYDRV.PUINT(pile, L) = 0.0;
            }
            Scale m;
            if (depthMultipliers) {
                int set = 0;
                PYMULT(pile, set, node.X, m.pmd, m.ymd);
                m.depth = set > 0;
            }
            if (call.kpyop == 0 || call.kpyop == 1) PYDRV.GSURFP(pile) = headX + ground;
            m.pmul = pmul;
            m.ymul = ymul;

            call.Es(j) = 0.0;
            node.x = node.X - ground - headX;
            // A node within the depth tolerance of the ground surface stands on it: it takes the curve
            // of zero depth and carries the soil of the half increment below it. Only a node truly above
            // the ground has no soil.
            const bool atSurface = std::fabs(node.x) < DEPTH_TOL;
            if (atSurface) {
                node.X = ground + headX;
                node.x = 0.0;
            }
            if (mode == Mode::File) {
                PYPLOT.PLTYPE = crit.typeWord();
                PYPLOT.PLSOIL = node.x >= 0.0 ? 1 : 0;
                PYPLOT.PLDEPTH = node.x;
            }
            if (node.x < 0.0) continue;  // above the ground surface: no soil, no reaction

            // The cap zone reaches from the cap top down to the pile head. Listing a passive-resistance
            // cap, the cap pass lists the head node when it lies there and the pile pass leaves it out.
            const bool inCapZone = capTop <= node.X && node.X <= headX;
            if (mode != Mode::Evaluate) {
                if (capPass && !inCapZone) break;
                if (!capPass && capopt == 1 && crit.hasCapZoneRule() && inCapZone) continue;
            }

            // The pile's kept constants of the node, when its inputs are still the same.
            KeptNode* kept = keptRow != nullptr && !capPass && j >= 1 && j <= MAXNODE ? keptRow + (j - 1) : nullptr;
            KeptKey key;
            bool reused = false;
            if (kept != nullptr) {
                key = keyOf(walk, call, j);
                if (kept->key == key) {
                    node.b = kept->b;
                    node.xe = kept->xe;
                    if (node.first) {
                        substituted = kept->substituted;
                        substitute = kept->substitute;
                    }
                    crit.takeFrom(kept->v);
                    reused = true;
                }
            }

            if (!reused) {
                node.b = PSECDIAM(pile, call.pset, NODES.NODEAX(pile, j));
                if (crit.takesCapWidth() && ((capPass && capopt == 1) || PYMODE.CAPPYFLAG == 1)) node.b = CAPIN.CAPWZ;

                if (!crit.lookups(call, node)) return;

                node.xe = node.x;
                if (L > 1 && crit.usesEquivalentDepth()) {
                    if (node.first) substituted = substituteTopDepth(crit, call, node, substitute);
                    const double top = substituted ? substitute : PYDRV.EQDEP(pile, L);
                    node.xe = top + (node.X - SOILLAY.XTOP(L));
                }

                crit.constants(call, node);
                if (kept != nullptr) {
                    kept->key = key;
                    kept->substituted = substituted;
                    kept->substitute = substitute;
                    kept->b = node.b;
                    kept->xe = node.xe;
                    crit.keepTo(kept->v);
                }
            }
            // The surface node adds nothing to the layer's integrated resistance: there is no soil
            // above it.
            // A kept node adds what it added the last time from the same sum.
            if (kept == nullptr) {
                if (!atSurface) crit.integrate(call, node, S);
            } else if (const SumKey sumKey{bitsOf(S), call.first, call.last, increment};
                       reused && kept->sumKey == sumKey) {
                S = kept->sumAfter;
            } else {
                if (!atSurface) crit.integrate(call, node, S);
                kept->sumKey = sumKey;
                kept->sumAfter = S;
            }
            PYDRV.PUINT(pile, L) = S;

            if (moving) {
                const double a = call.smov1(j), b = call.smov2(j);
                node.ys = std::sqrt(a * a + b * b);
            }
            if (mode == Mode::Report) crit.heading(call, node);
            if (mode != Mode::Evaluate) crit.beforePoints(call, node);

            const int points = pointCount(mode);
            for (int i = 1; i <= points; ++i) {
                double y;
                if (mode == Mode::Evaluate)
                    y = moving ? std::fabs(call.y(j) - node.ys) : std::fabs(call.y(j));
                else
                    y = listDeflection(crit, mode, i);

                const Spring sp = crit.spring(y, m);
                call.Es(j) = sp.Es;
                if (slopes != nullptr) {
                    // In closed form where the criterion has one, otherwise from a second reading of
                    // the curve further out (one-sided at a kink, as the closed forms are).
                    double dEs = 0.0;
                    if (!crit.secantSlope(y, m, sp, dEs)) {
                        const double y2 = y * (1.0 + SLOPE_REL), dy = y2 - y;
                        dEs = dy > 0.0 ? (crit.spring(y2, m).Es - sp.Es) / dy : 0.0;
                    }
                    (*slopes)(j) = dEs;
                }
                if (capPass && capopt == 1 && sp.capValue) PYDRV.PCAPLV(pile) = sp.pc;
                if (mode == Mode::Evaluate && moving) call.esy(j) = sp.Es * node.ys;
                double pj = call.y(j) > node.ys ? -sp.pprime : sp.pprime;
                if (m.depth) pj *= m.pmd;
                call.p(j) = pj;
                if (mode == Mode::Evaluate) break;

                double yl = 0.0, pl = 0.0;
                crit.listedPoint(node, mode, y, sp, m, yl, pl);
                if (mode == Mode::File) {
                    PYPLOT.PLY(i) = yl;
                    PYPLOT.PLP(i) = pl;
                } else {
                    crit.pointLines(node, i, y, yl, pl, sp);
                }
            }
        }
    }
}

}  // namespace

WedgeCache& threadWedges() {
    thread_local WedgeCache cache;
    return cache;
}

void generate(Criterion& crit, int pset, int layer, int& status, int pile, int fidx, const NodeArray& y,
              NodeArray& Es, const NodeArray& smov1, const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    Call call{pset, layer, pile, fidx, status, y, Es, smov1, smov2, esy, p};
    call.mode = currentMode();
    call.kpyop = CTLIN.KPYOP;
    call.first = PYDRV.LNFIRST(pile, layer);
    call.last = PYDRV.LNLAST(pile, layer);
    runGenerator(crit, call);
}

double incrementBelow(const Call& call, int j) {
    if (j < 1 || j > PILESET.NINC(call.pset) || j >= MAXNODE) return 0.0;
    return NODES.NODEX(call.pile, j + 1) - NODES.NODEX(call.pile, j);
}

void listingNode(int J, double X, int layers) {
    int Lstar = 0;
    for (int L = 1; L <= layers; ++L)
        if (SOILLAY.XBOT(L) > X) {
            Lstar = L;
            break;
        }
    for (int L = 1; L <= layers; ++L) {
        if (Lstar == 0) {
            PYDRV.LNFIRST(J, L) = 0;
        } else if (L < Lstar) {
            PYDRV.LNFIRST(J, L) = PYDRV.LNLAST(J, L) = 0;
        } else if (L == Lstar) {
            PYDRV.LNFIRST(J, L) = PYDRV.LNLAST(J, L) = 1;
        } else {
            PYDRV.LNFIRST(J, L) = 0;
            PYDRV.LNLAST(J, L) = 1;
        }
    }
    if (layers >= 1) PYDRV.LNLAST(J, layers) = 1;
}

void plotNodeX(double X) { io::unit(PLOT_UNIT).free() << X; }

void eqDepthLine(double xe) {
    io::unit(ECHO_UNIT).line() << io::X{13} << "EQ. DEPTH =" << io::F{8, 2, UCVD12(xe)} << io::X{1}
                               << io::A{2, LABELS.LBLCOORD};
}

const char* criterionText(int code) {
    switch (code) {
        case 1: return "SOFT CLAY CRITERIA";
        case 2: return "STIFF CLAY WITH FREE WATER CRITERIA";
        case 3: return "STIFF CLAY WITHOUT FREE WATER CRITERIA";
        case 4: return "SAND CRITERIA";
        case 6: return "VUGGY LIMESTONE CRITERIA";
        case 7: return "SILT CRITERIA";
        case 8: return "API SAND CRITERIA";
        case 9: return "WEAK ROCK CRITERIA";
        case 10: return "STIFF CLAY W/O FREE WATER, WITH INITIAL K VALUE";
        case 11: return "LIQUIFIED SAND CRITERIA";
        case 12: return "ELASTIC SUBGRADE CRITERIA";
        case 13: return "SOFT CLAY WITH USER DEFINED J CRITERIA";
        case 14: return "MOD. SOFT CLAY WITH INITIAL K VALUE CRITERIA";
        default: return "";
    }
}

}  // namespace py

void prepareSpringConstants(int piles) {
    // A new stamp leaves every entry of before unmatched; only a larger model adds (cleared) entries.
    py::keptPiles = std::clamp(piles, 0, MAXPILE + 1);
    const std::size_t need = static_cast<std::size_t>(py::keptPiles) * MAXNODE;
    if (py::keptCapacity < need) {
        // The entries of before belong to an older stamp: a larger table need not keep them.
        py::keptNodes.reset(static_cast<py::KeptNode*>(std::calloc(need, sizeof(py::KeptNode))));
        py::keptCapacity = py::keptNodes ? need : 0;
        // Where a pile's nodes are first reached, the pages come in 2 MB at a time.
        if (py::keptNodes) io::adviseLargePages(py::keptNodes.get(), need * sizeof(py::KeptNode));
        // Without the memory the constants are formed afresh at every call, as for a pile outside the table.
        if (!py::keptNodes) py::keptPiles = 0;
    }
    ++py::keptStamp;
    py::keptGeneration = RUNGENERATION.load(std::memory_order_relaxed);
}

namespace {

using Generator = void (*)(int, int, int&, int, int, const NodeArray&, NodeArray&, const NodeArray&,
                           const NodeArray&, NodeArray&, NodeArray&);

// The generator of each criterion code 1 to 14 (a code outside that range is soft clay).
constexpr Generator GENERATORS[15] = {
    nullptr,
    PYSCLAY,        // 1 soft clay
    PYSTCLAYW,      // 2 stiff clay with free water
    PYSTCLAY,       // 3 stiff clay without free water
    PYSAND,         // 4 sand
    PYUSERLAY,      // 5 user curves within a layer
    PYVUGGY,        // 6 vuggy limestone
    PYSILT,         // 7 silt
    PYAPISAND,      // 8 API sand
    PYWROCK,        // 9 weak rock
    PYSTCLAYK,      // 10 stiff clay without free water with initial k
    PYLIQSAND,      // 11 liquefied sand
    PYELASTIC,      // 12 elastic subgrade
    PYSCLAYJ,       // 13 soft clay with the J of the profile
    PYSCLAYMK,      // 14 modified soft clay with initial k
};

Generator generatorOf(int code) { return code >= 1 && code <= 14 ? GENERATORS[code] : PYSCLAY; }

}  // namespace

void PYLAYERS(int pset, int& status, int pile, int fidx, const NodeArray& y, NodeArray& Es, const NodeArray& smov1,
              const NodeArray& smov2, NodeArray& esy, NodeArray& p) {
    const int n = PILESET.NINC(pset);
    const int kpyop = CTLIN.KPYOP;
    const bool groundFromHead = kpyop == 0 || kpyop == 1;
    if (groundFromHead) PYDRV.GSURFP(pile) = PILE.HEADXW(pile) + PILE.GROUND(pile);

    // Layer by layer from the top, so that the layers above a layer have built up their resistance
    // when its equivalent depth is first needed. While the load cases run, a layer that holds the tip
    // node alone is left to the layer above.
    const int layers = SOILLAY.NLAYER < LAYSLOTS ? SOILLAY.NLAYER : LAYSLOTS - 1;
    for (int L = 1; L <= layers; ++L) {
        const int f = PYDRV.LNFIRST(pile, L), l = PYDRV.LNLAST(pile, L);
        if (f == 0) continue;
        if (kpyop == 0 && f == n + 1 && l == n + 1) continue;
        generatorOf(SOILLAY.LCRIT(L))(pset, L, status, pile, fidx, y, Es, smov1, smov2, esy, p);
    }
    if (status != ST_OK) return;

    // No soil above the ground surface; afterwards GSURFP holds the distance from the head node down to
    // the ground.
    const double g = groundFromHead ? PILE.HEADXW(pile) + PILE.GROUND(pile) : PYDRV.GSURFP(pile);
    NodeArray* dEs = slopeRequest().dEs;
    for (int j = 1; j <= n + 1 && j <= MAXNODE; ++j)
        if (g - NODES.NODEX(pile, j) >= py::DEPTH_TOL) {
            Es(j) = 0.0;
            if (dEs != nullptr) (*dEs)(j) = 0.0;
        }
    PYDRV.GSURFP(pile) = g - NODES.NODEX(pile, 1);
}

void PYLAYERSSLOPE(int pset, int& status, int pile, const NodeArray& y, NodeArray& Es, const NodeArray& smov1,
                   const NodeArray& smov2, NodeArray& esy, NodeArray& p, NodeArray& dEs) {
    SlopeRequest& r = slopeRequest();
    r.dEs = &dEs;
    struct Reset {
        SlopeRequest& r;
        ~Reset() { r.dEs = nullptr; }
    } reset{r};
    PYLAYERS(pset, status, pile, pile, y, Es, smov1, smov2, esy, p);
}

void PYMULT(int pile, int& set, double x, double& pm, double& ym) {
    set = PILE.RFLSET(pile);
    pm = ym = 1.0;
    if (set < 1 || set > MAXRFSET) return;
    const int m = RFD.NRFD(set) < MAXRFPT ? RFD.NRFD(set) : MAXRFPT;
    if (m < 1 || x < RFD.RFDX(set, 1) || x > RFD.RFDX(set, m)) return;
    if (x == RFD.RFDX(set, 1)) {
        pm = RFD.RFDPM(set, 1);
        ym = RFD.RFDYM(set, 1);
        return;
    }
    if (x == RFD.RFDX(set, m)) {
        pm = RFD.RFDPM(set, m);
        ym = RFD.RFDYM(set, m);
        return;
    }
    int k = 2;
    while (k < m && x > RFD.RFDX(set, k)) ++k;
    const double t = (x - RFD.RFDX(set, k - 1)) / (RFD.RFDX(set, k) - RFD.RFDX(set, k - 1));
    pm = RFD.RFDPM(set, k - 1) + (RFD.RFDPM(set, k) - RFD.RFDPM(set, k - 1)) * t;
    ym = RFD.RFDYM(set, k - 1) + (RFD.RFDYM(set, k) - RFD.RFDYM(set, k - 1)) * t;
}

}  // namespace kaldo
