// p-y records of the curve data file: the lateral soil springs of one pile as nodal force-deflection
// curves. The pile is cut into NCRVINC equal increments; each node (increment end) carries the p-y curve
// of the half increment above it and of the half increment below it, each taken at the middle of its
// increment and multiplied by half the increment length. A node's curve goes out symmetric about the
// origin: the points of the curve mirrored through the origin, then the curve itself.
//
// Runs once per pile, on the calling thread, after all analyses. To list the curve at the middle of an
// increment it moves the pile's first node there and gives that node alone to the layer that holds it,
// as the report of generated p-y curves does; the node set-up lays the pile out again before any later
// analysis of it.
#include <algorithm>
#include <cstdint>

#include "io/units.h"
#include "model/input.h"
#include "model/modelinput.h"
#include "model/nodes.h"
#include "model/piles.h"
#include "model/pymode.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/unitno.h"
#include "soil/lateral/pygen.h"

namespace kaldo {

namespace {

// The record's type word when no criterion has listed a curve for the pile yet.
constexpr int NO_TYPE = 0;

// A curve of n points: deflections and reactions (force per length times length: a nodal force).
struct Curve {
    int n = 0;
    double y[MAXPYDEF] = {};
    double p[MAXPYDEF] = {};
};

// The value of curve c at deflection v: linear between the first point from the second on whose
// deflection is not below v and the point before it; below the second point the first segment is
// extended. A curve of one point is that point's value everywhere.
double valueAt(const Curve& c, double v) {
    if (c.n < 2) return c.n == 1 ? c.p[0] : 0.0;
    int j = 1;
    while (j < c.n - 1 && !(c.y[j] >= v)) ++j;
    const double span = c.y[j] - c.y[j - 1];
    if (span == 0.0) return c.p[j];  // two points at one deflection: no slope to follow
    return c.p[j - 1] + (c.p[j] - c.p[j - 1]) * (v - c.y[j - 1]) / span;
}

// The curves of the two half increments that meet at a node, added on the deflections of the one that
// ends first (the lower one when both end together); the other is read at those deflections.
Curve combine(const Curve& upper, const Curve& lower) {
    const int last = lower.n - 1;
    const bool upperBase = last >= 0 && lower.y[last] > upper.y[last];
    const Curve& base = upperBase ? upper : lower;
    const Curve& other = upperBase ? lower : upper;
    Curve sum;
    sum.n = base.n;
    for (int i = 0; i < base.n; ++i) {
        sum.y[i] = base.y[i];
        sum.p[i] = base.p[i] + valueAt(other, base.y[i]);
    }
    return sum;
}

// The records, as text lines or as unformatted records of the same items (32-bit integers, 64-bit
// reals).
class Records {
public:
    Records() : u_(io::unit(CURVEDATA_UNIT)), binary_(CTLIN.KCRVBIN != 0) {}

    // Three integers, each in 10 columns.
    void ints(int a, int b, int c) {
        if (binary_) {
            io::Record r;
            r << int32_t(a) << int32_t(b) << int32_t(c);
            r.writeTo(u_);
            return;
        }
        u_.line() << io::I(10, a) << io::I(10, b) << io::I(10, c);
    }
    // A node: its number and its X coordinate.
    void node(int k, double x) {
        if (binary_) {
            io::Record r;
            r << int32_t(k) << x;
            r.writeTo(u_);
            return;
        }
        u_.line() << io::I(10, k) << io::F{10, 4, x};
    }
    // The 2n - 1 points of a node's curve: points n down to 2 mirrored through the origin, then points
    // 1 to n.
    void curve(const Curve& c) {
        int number = 0;
        for (int i = c.n - 1; i >= 1; --i) point(++number, -c.y[i], -c.p[i]);
        for (int i = 0; i < c.n; ++i) point(++number, c.y[i], c.p[i]);
    }

private:
    void point(int number, double y, double p) {
        if (binary_) {
            io::Record r;
            r << int32_t(number) << y << p;
            r.writeTo(u_);
            return;
        }
        u_.line() << io::I(10, number) << io::X{1} << io::PE{15, 8, y} << io::X{1} << io::PE{15, 8, p};
    }

    io::Unit& u_;
    bool binary_;
};

// The curve of the half increment around the listing point: the curve record as the layer's criterion
// filled it, each reaction times half the increment h. listed is false when no criterion listed a
// curve in the soil there (above the ground surface, or in a layer that lists no curves).
Curve halfIncrement(int n, double h, bool& listed) {
    Curve c;
    c.n = n;
    for (int i = 1; i <= n; ++i) {
        c.y[i - 1] = PYPLOT.PLY(i);
        c.p[i - 1] = PYPLOT.PLP(i) * h / 2.0;
    }
    listed = PYPLOT.PLDEPTH >= py::DEPTH_TOL;
    return c;
}

}  // namespace

void PYPLOTPILE(int J, int& status) {
    SOILLAY.NLAYER = SOILIN.NLAYIN;
    PYMODE.PYPRTMODE = 1;
    const int layers = std::clamp(SOILLAY.NLAYER, 0, LAYSLOTS - 1);
    const int N = OPTCRV.NCRVINC;
    const int pset = PILE.PSETNO(J);
    const double h = N >= 1 ? PILESET.PLEN(pset) / N : 0.0;

    Records out;
    out.ints(J, N + 1, 1);

    // Points of each curve: the file's own deflection list when it asks for one, else the criterion's
    // default list of 17 points.
    int n = 17;
    PYMODE.NPYPT = 0;
    if (OPTCRV.KCRVPYL >= 1) {
        PYMODE.NPYPT = OPTCRV.NCRVPY;
        if (OPTCRV.NCRVPY != 0) n = std::clamp(OPTCRV.NCRVPY, 1, MAXPYDEF);
    }
    PYMODE.PYPRTREQ = J;
    PYPLOT.PLTYPE = NO_TYPE;

    // Scratch node arrays: the listing reads none of their values.
    NodeArray y{}, Es{}, smov1{}, smov2{}, esy{}, p{};

    Curve upper;               // the half increment above the current node
    bool upperListed = false;  // ... and whether it has a curve
    for (int k = 1; k <= N + 1; ++k) {
        const double Xk = PILE.HEADX(J) + (k - 1) * h;
        out.node(k, Xk);

        Curve node = upper;
        bool listed = upperListed;
        upperListed = false;
        if (k <= N) {
            // The listing node at the middle of the increment below, keeping the pile's first increment
            // length behind it, at the same place along the axis for the section's diameter.
            const double Xm = Xk + h / 2.0;
            NODES.NODEX(J, 2) = Xm + (NODES.NODEX(J, 2) - NODES.NODEX(J, 1));
            NODES.NODEX(J, 1) = Xm;
            const double along = PILE.HEADXW(J) + (k - 0.5) * h;
            NODES.NODEAX(J, 2) = along + (NODES.NODEAX(J, 2) - NODES.NODEAX(J, 1));
            NODES.NODEAX(J, 1) = along;
            py::listingNode(J, Xm, layers);

            PYPLOT.PLSOIL = 0;
            PYPLOT.PLDEPTH = 0.0;
            for (int i = 1; i <= MAXPYDEF; ++i) PYPLOT.PLY(i) = PYPLOT.PLP(i) = 0.0;
            // A failing profile lookup leaves its status for the run driver; the records go on.
            PYLAYERS(pset, status, J, J, y, Es, smov1, smov2, esy, p);

            bool lowerListed = false;
            const Curve lower = halfIncrement(n, h, lowerListed);
            if (lowerListed) {
                node = listed ? combine(upper, lower) : lower;
                listed = true;
            }
            upper = lower;
            upperListed = lowerListed;
        }

        out.ints(listed ? 1 : 0, listed ? 2 * n - 1 : 0, PYPLOT.PLTYPE);
        if (listed) out.curve(node);
    }
}

}  // namespace kaldo
