// Axial and torsional soil springs of one pile for the curve data file. The pile is cut into NCRVINC
// equal segments; each station (segment end) carries half the side resistance of the segment above it
// and half of the segment below, and the tip station the tip load as well (axial springs only). A
// station's curve goes out as 19 points: the 9 nonzero points mirrored through the origin, then the 10
// points of the curve.
#include <cstdint>
#include <initializer_list>

#include "io/units.h"
#include "model/input.h"
#include "model/modelinput.h"
#include "model/piles.h"
#include "model/runblocks.h"
#include "model/sections.h"
#include "model/soils.h"
#include "services/psec.h"
#include "services/status.h"
#include "services/unitno.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"

namespace kaldo {

using namespace axl;

namespace {

// A half-segment or station spring: movement (or rotation) and force (or torque) at ten points.
struct Spring {
    double m[TZNPTS] = {};
    double f[TZNPTS] = {};
};

// The force of spring s at movement mm, linear between its first point from the second on whose
// movement is not below mm and the point before.
double springAt(const Spring& s, double mm) {
    int i = 1;
    while (i < TZNPTS - 1 && s.m[i] < mm) ++i;
    const double span = s.m[i] - s.m[i - 1];
    if (span == 0.0) return s.f[i];
    return s.f[i - 1] + (s.f[i] - s.f[i - 1]) * (mm - s.m[i - 1]) / span;
}

// The two half springs that meet at a station, added on the movements of the one that ends first (the
// lower one when both end together); the other is read at those movements.
Spring combine(const Spring& upper, const Spring& lower) {
    const bool lowerBase = lower.m[TZNPTS - 1] <= upper.m[TZNPTS - 1];
    const Spring& base = lowerBase ? lower : upper;
    const Spring& other = lowerBase ? upper : lower;
    Spring sum;
    for (int i = 0; i < TZNPTS; ++i) {
        sum.m[i] = base.m[i];
        sum.f[i] = base.f[i] + springAt(other, base.m[i]);
    }
    return sum;
}

// The records of the curve data file, as text lines or as unformatted records of the same items.
class Records {
public:
    Records() : u_(io::unit(CURVEDATA_UNIT)), binary_(CTLIN.KCRVBIN != 0) {}

    // Integers, each in 10 columns.
    void ints(std::initializer_list<int> values) {
        if (binary_) {
            io::Record r;
            for (int v : values) r << int32_t(v);
            r.writeTo(u_);
            return;
        }
        auto line = u_.line();
        for (int v : values) line << io::I(10, v);
    }
    void station(int j, double x) {
        if (binary_) {
            io::Record r;
            r << int32_t(j) << x;
            r.writeTo(u_);
            return;
        }
        u_.line() << io::I(10, j) << io::F{10, 4, x};
    }
    void point(int n, double m, double f) {
        if (binary_) {
            io::Record r;
            r << int32_t(n) << m << f;
            r.writeTo(u_);
            return;
        }
        u_.line() << io::I(10, n) << io::X{1} << io::PE{15, 8, m} << io::X{1} << io::PE{15, 8, f};
    }
    // Points 1 to 9: points 10 down to 2 of the spring negated; points 10 to 19: points 1 to 10, with the
    // tip loads added on this side only.
    void spring(const Spring& s, const double* tipAdd = nullptr) {
        for (int k = 1; k < TZNPTS; ++k) point(k, -s.m[TZNPTS - k], -s.f[TZNPTS - k]);
        for (int i = 0; i < TZNPTS; ++i) point(TZNPTS + i, s.m[i], s.f[i] + (tipAdd ? tipAdd[i] : 0.0));
    }

private:
    io::Unit& u_;
    bool binary_;
};

// The side curve of pile p at the midpoint xm of a segment, by the criterion of the layer that holds xm
// (the first whose bottom lies below it, else layer 1), every depth of the rules measured from the
// pile's ground surface.
void stationCurve(int p, int M, double xm, TzSet& one, int& status) {
    int layer = 1;
    for (int k = 1; k <= SOILLAY.NLAYER; ++k) {
        if (SOILLAY.XBOT(k) > xm) {
            layer = k;
            break;
        }
    }
    one.NPTS = 1;
    one.TZX(1) = xm;
    one.TZCODE(1) = SOILLAY.LCRIT(layer);
    const double depth = xm - PILE.GROUND(p) - PILE.HEADXW(p);
    fillSideCurve(one, 1, PILESET.PTYPE(M), SECTTAB.SECTDIAM(M, 1, SectTab::TOP), depth, feet(depth, CTLIN.UNITS),
                  false, status);
}

enum class Kind { Axial = 2, Torsional = 3 };

void plotSprings(int p, Kind kind, int& status) {
    const int M = PILE.PSETNO(p);
    const int N = OPTCRV.NCRVINC;
    const double L = PILESET.PLEN(M);
    const double hs = L / N;
    Records out;
    out.ints({p, N + 1, static_cast<int>(kind)});
    if (!knownPileType(M, status)) return;

    TzSet one{};
    QwTip tip{};
    Spring upper;
    bool upperInSoil = false;
    for (int j = 1; j <= N + 1; ++j) {
        out.station(j, PILE.HEADX(p) + (j - 1) * hs);
        const double xm = PILE.HEADX(p) + (j - 0.5) * hs;
        const bool inSoil = xm - PILE.GROUND(p) - PILE.HEADXW(p) >= sp(1e-6f);
        out.ints({inSoil ? 1 : 0, inSoil ? 2 * TZNPTS - 1 : 0});
        if (!inSoil) {
            upperInSoil = false;
            continue;
        }
        RUNCONST.PIWORD = PI_FILE;
        if (j > N) {
            // The tip station: the lower half of the last segment, and the tip load on the compression side.
            const Spring last = upperInSoil ? upper : Spring{};
            double tipAdd[TZNPTS] = {};
            if (kind == Kind::Axial)
                for (int i = 0; i < TZNPTS; ++i) tipAdd[i] = tipLoad(tip, last.m[i]);
            out.spring(last, tipAdd);
            continue;
        }
        stationCurve(p, M, xm, one, status);
        if (status != ST_OK) return;
        const double Dj = PSECDIAM(p, M, xm);
        Spring lower;
        for (int i = 0; i < TZNPTS; ++i) {
            if (kind == Kind::Axial) {
                lower.m[i] = one.TZZ(1, i + 1);
                lower.f[i] = 0.5 * PI_FILE * Dj * hs * one.TZT(1, i + 1);
            } else {
                // The wall at radius Rj moves z when the section turns z / Rj; the transfer acts at Rj.
                const double Rj = Dj / 2.0;
                lower.m[i] = one.TZZ(1, i + 1) / Rj;
                lower.f[i] = 0.5 * PI_FILE * Dj * hs * Rj * one.TZT(1, i + 1);
            }
        }
        if (kind == Kind::Axial && j == N) {
            // The tip under the pile head, in the criterion of the last segment.
            const int last = PILESET.NSECT(M);
            tipCurveAt(PILESET.PTYPE(M), SECTTAB.SECTDIAM(M, 1, SectTab::TOP), PILE.HEADX(p) + L, L - PILE.GROUND(p),
                       one.TZCODE(1), SECTTAB.SECTDIAM(M, last, SectTab::BOT), SECTTAB.SECTAREA(M, last, SectTab::BOT),
                       one.TZPHI(1), TipRule::Group, tip, status);
            if (status != ST_OK) return;
        }
        out.spring(upperInSoil ? combine(upper, lower) : lower);
        upper = lower;
        upperInSoil = true;
    }
}

}  // namespace

void AXLLSPLOT(int p, int& status) { plotSprings(p, Kind::Axial, status); }

void TQLLSPLOT(int p, int& status) { plotSprings(p, Kind::Torsional, status); }

}  // namespace kaldo
