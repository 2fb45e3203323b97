// The generated axial load-settlement curve of a pile property set by the t-z method: for nine assumed
// tip movements the pile is marched up from the tip, segment by segment, adding the side transfer of
// each segment and its elastic shortening, and the load and movement reached at the head are a point
// of the curve.
#include <algorithm>
#include <cmath>
#include <string>

#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/piles.h"
#include "model/sections.h"
#include "services/status.h"
#include "services/ucv.h"
#include "services/unitno.h"
#include "soil/axial/axial.h"
#include "soil/axial/axlwork.h"

namespace kaldo {

namespace axl {

namespace {
// The first eight assumed tip movements, inches.
constexpr float WT[NLSPT - 1] = {0.0001f, 0.001f, 0.005f, 0.01f, 0.05f, 0.1f, 0.5f, 1.0f};
}  // namespace

BranchPoints tipMovements(double ninth, int units) {
    BranchPoints w{};
    for (int k = 1; k < NLSPT; ++k) w(k) = sp(WT[k - 1]);
    w(NLSPT) = ninth;
    if (metric(units))
        for (int k = 1; k <= NLSPT; ++k) w(k) *= sp(0.0254f);
    return w;
}

int marchAxial(const AxialPile& pile, double wt, TipUpValues& P, TipUpValues& W) {
    P(1) = tipLoad(pile.tip, wt);
    W(1) = wt;
    const double h = pile.h;
    for (int j = 2; j <= pile.ninc + 1; ++j) {
        // The segment between nodes j - 1 and j, read at its midpoint.
        const double xm = pile.headx + pile.Lv - (j - 1.5) * pile.hv;
        const double ae = axialRigidity(pile.ae, xm - pile.headx);
        double wm = W(j - 1);
        bool settled = false;
        for (int it = 1; it <= MAXSEGITER && !settled; ++it) {
            const double F = sideTransfer(pile.set, xm, wm) * pile.perimeter * h;
            P(j) = P(j - 1) + F;
            W(j) = W(j - 1) + (P(j - 1) + 0.5 * F) * h / ae;
            // Movement of the midpoint: the lower half shortens under the mean of the loads at the
            // lower node and at the midpoint.
            const double next = W(j - 1) + (P(j - 1) + 0.5 * (P(j - 1) + P(j))) * 0.25 * h / ae;
            settled = std::fabs(next - wm) <= MIDTOL;
            wm = next;
        }
        if (!settled) return j - 2;
    }
    return pile.ninc;
}

}  // namespace axl

using namespace axl;

namespace {

std::string num(int v) { return std::to_string(v); }

// The side curves of the set on the axial-torsion listing, depths in report units (feet in English
// runs), transfers and movements internal.
void listSideCurves(io::Unit& u, const TzSet& s, int curve) {
    u.blankLines(2);
    u.line() << io::X{5} << "T-Z CURVES, PILE PROPERTY:" << io::I(3, curve);
    u.blankLines(1);
    u.line() << io::X{10} << "CURVE" << io::X{3} << "N. POINTS" << io::X{5} << "DEPTH" << io::X{11} << "T Value"
             << io::X{9} << "Z Value";
    u.line() << io::X{10 + 5 + 3 + 9 + 5} << "(" << io::A{3, LABELS.LBLLEN} << ")" << io::X{11} << "("
             << io::A{5, LABELS.LBLSTRESS} << ")" << io::X{10} << "(" << io::A{3, LABELS.LBLLEN} << ")";
    for (int a = 1; a <= s.NPTS; ++a) {
        u.line() << io::X{8} << io::I(5, a) << io::I(11, s.TZNP(a)) << io::G{16, 4, UCVD12(s.TZX(a))};
        for (int p = 1; p <= s.TZNP(a); ++p)
            u.line() << io::X{40} << io::G{17, 4, s.TZT(a, p)} << io::G{16, 4, s.TZZ(a, p)};
    }
}

void listTipCurve(io::Unit& u, const QwTip& tip, int curve) {
    u.blankLines(1);
    u.line() << io::X{5} << "Q-W CURVE, PILE PROPERTY:" << io::I(3, curve);
    u.blankLines(1);
    u.line() << io::X{9} << "Q Value" << io::X{12} << "W Value";
    u.line() << io::X{10} << "(" << io::A{3, LABELS.LBLFORCE} << ")" << io::X{14} << "(" << io::A{3, LABELS.LBLLEN}
             << ")";
    for (int p = 1; p <= QWNPTS; ++p) u.line() << io::G{18, 4, tip.QWQ(p)} << io::G{19, 4, tip.QWW(p)};
}

}  // namespace

void AXLLSECHO(int M, int branch, int curve, int ip, int& status, int& n, BranchPoints& loads,
               BranchPoints& movements) {
    const bool uplift = branch == 1;
    TzSet set{};
    buildSideCurves(M, ip, true, set, status);
    if (status != ST_OK) return;
    io::Unit& listing = io::unit(AXTORS_UNIT);
    if (uplift) listSideCurves(listing, set, curve);

    AxAeTab ae{};
    buildAxialRigidity(M, ae);
    QwTip tip{};
    buildTipCurve(M, ip, uplift, TipRule::Echo, set, tip, status);
    if (status != ST_OK) return;
    if (!uplift) listTipCurve(listing, tip, curve);

    const int units = CTLIN.UNITS;
    const int ninc = PILESET.NINC(M);
    const double L = PILESET.PLEN(M);
    const double h = L / ninc;
    const double Lv = CTLIN.KBATDEP == 1 ? L * std::cos(PILE.BATTER(ip)) : L;
    const double D = SECTTAB.SECTDIAM(M, 1, SectTab::TOP);
    const AxialPile pile{set, tip, ae, ninc, h, Lv / ninc, Lv, PILE.HEADXW(ip), PI_AX * D};
    // Uplift is computed with positive movements and written negated.
    const double sign = uplift ? -1.0 : 1.0;

    io::Unit& transfer = io::unit(LTCURVE_UNIT);
    if (uplift) {
        transfer.blankLines(1);
        transfer.line() << io::X{5} << "T-Z CURVES, PILE PROPERTY:" << io::I(5, curve);
        transfer.blankLines(1);
        transfer.free() << 9 << 1 << 9 << ninc << h;
    }

    const BranchPoints wt = tipMovements(std::max(2.0, sp(0.05f) * D), units);
    BranchPoints headP{}, headW{}, tipP{};
    TipUpValues P{}, W{};
    for (int k = 1; k <= NLSPT; ++k) {
        transfer.blankLines(1);
        transfer.line() << io::X{5} << "  N  " << "  DEPTH " << io::X{5} << "AXIAL LOAD" << io::X{11} << "MOVEMENT";
        transfer.line() << io::X{13} << io::A{3, LABELS.LBLLEN} << io::X{12} << io::A{3, LABELS.LBLFORCE} << io::X{16}
                        << io::A{3, LABELS.LBLLEN};
        const int done = marchAxial(pile, wt(k), P, W);
        // The nodes below each settled segment, then the head: node m lies L - (m - 1) h down the pile.
        const int nodes = done == ninc ? ninc + 1 : done;
        for (int m = 1; m <= nodes; ++m)
            transfer.line() << io::X{3} << io::I(5, m) << io::F{10, 3, L - (m - 1) * h} << io::X{2}
                            << io::G{15, 7, sign * P(m)} << io::X{5} << io::G{15, 7, sign * W(m)};
        if (done < ninc) {
            reportFault(status, ST_NOCONVERGE,
                        "GENERATED AXIAL CURVE " + num(curve) + ", PILE PROPERTY " + num(M) + ", BRANCH " +
                            num(branch) + ": THE MOVEMENT OF SEGMENT " + num(done + 1) +
                            " (FROM THE TIP) DID NOT SETTLE IN " + num(MAXSEGITER) + " ITERATIONS");
            return;
        }
        headP(k) = P(ninc + 1);
        headW(k) = W(ninc + 1);
        tipP(k) = P(1);
    }

    listing.blankLines(3);
    listing.line() << io::X{8} << "TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT" << io::X{5} << "TIP  LOAD";
    listing.line() << io::X{11} << io::A{3, LABELS.LBLFORCE} << io::X{13} << io::A{3, LABELS.LBLLEN} << io::X{14}
                   << io::A{3, LABELS.LBLLEN} << io::X{12} << io::A{3, LABELS.LBLFORCE};
    for (int k = 1; k <= NLSPT; ++k)
        listing.line() << io::X{5} << io::G{15, 7, sign * headP(k)} << io::G{15, 7, sign * headW(k)}
                       << io::G{15, 7, sign * wt(k)} << io::G{15, 7, sign * tipP(k)};

    // Rows 11 to 19 the compression points, rows 9 down to 1 the uplift points negated, row 10 the origin.
    AXLSTAB.LSROWS = NLSROWS;
    const int origin = (NLSROWS + 1) / 2;
    AXLSTAB.LSWHEAD(M, origin) = AXLSTAB.LSPHEAD(M, origin) = 0.0;
    AXLSTAB.LSWTIP(M, origin) = AXLSTAB.LSPTIP(M, origin) = 0.0;
    for (int k = 1; k <= NLSPT; ++k) {
        const int row = uplift ? origin - k : origin + k;
        AXLSTAB.LSWHEAD(M, row) = sign * headW(k);
        AXLSTAB.LSPHEAD(M, row) = sign * headP(k);
        AXLSTAB.LSWTIP(M, row) = sign * wt(k);
        AXLSTAB.LSPTIP(M, row) = sign * tipP(k);
    }
    n = NLSPT;
    loads = headP;
    movements = headW;
}

}  // namespace kaldo
