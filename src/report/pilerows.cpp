// Along-pile report rows: which of the 25 along-pile quantities a table shows, the column headings,
// the node lines of the output results and pile results files, and the per-pile extremes written to
// the pile result scratch file.
#include <cmath>
#include <string>

#include "io/format.h"
#include "io/units.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/loadinput.h"
#include "model/runpoint.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// Quantities a plane analysis never computes: the z direction, the resultants and EIy.
constexpr int kPlaneOff[] = {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23};
// Quantities of the axial response along the pile, shown only when the axial force varies and the
// pile follows a generated load-settlement curve.
constexpr int kAxialOff[] = {1, 5, 6, 7, 8, 18};

// Forces, moments, shears, soil reactions, stresses, rigidities and distributed loads: the
// quantities that the kip option divides.
bool isForceLike(int q) { return q >= 9 && q <= 23; }

void clearList(ColFlags& f, const auto& list) {
    for (int q : list) f(q) = 0;
}

// Node k of the pile sits at slot k + 4.
double nodeValue(const AlongPileRecord& t, int k, int q) { return t(k + 4, q); }

// The pile's increment count from the node count word; never beyond the slots of the table.
int increments(int c) {
    const int n = c - 4;
    return n > NODESLOTS - 4 ? NODESLOTS - 4 : n;
}

}  // namespace

void COLSEL(int e, int lscrv, int kaxvar, int antype, ColFlags& flags) {
    flags.fill(0);
    const int lccur = RUNPOINT.CURCASE;
    const int lcbcur = RUNPOINT.CURCOMB;
    if (e == 0) {
        // The case's own flags; a position outside the case tables selects nothing.
        if (lcbcur == 0) {
            if (lccur >= 1 && lccur <= MAXLC)
                for (int q = 1; q <= NCOLSEL; ++q) flags(q) = LCCNT(lccur, q + 11);
        } else if (lccur >= 1 && lccur <= MAXLCB) {
            for (int q = 1; q <= NCOLSEL; ++q) flags(q) = LCBCNT(lccur, q + 8);
        }
    } else {
        const int list = lcbcur != 0 ? 2 : 1;
        for (int q = 1; q <= NCOLSEL; ++q) flags(q) = OPTENV.ENVCOLSEL(q, list);
    }
    if (antype == 2) clearList(flags, kPlaneOff);
    if (lscrv > 0 || kaxvar == 0) clearList(flags, kAxialOff);
    if (lcbcur == 0) flags(24) = flags(25) = 0;  // demand/capacity ratios exist for combinations only
}

void COLHDWR(const ColFlags& flags, int selector) {
    io::Unit& u = io::unit(selector == 0 ? 16 : selector == 1 ? 18 : 30);
    const UnitLabels& b = LABELS;
    WCOLEOL(u);
    for (int line = 1; line <= 4; ++line) {
        if (selector == 0) {
            WCOLBLNK(u, 2);
            WCOLA10(u, line == 4 ? b.PILEHDR(1) : b.DEPHDR(line));
        } else {
            // The pile column: " PILE ", two blank cells, the underline.
            WCOLBLNK(u, 3);
            WCOLA6(u, line == 1 ? b.PILEHDR(2) : line == 4 ? b.PILEHDR(5) : b.PILEHDR(3));
        }
        for (int q = 1; q <= NCOLSEL; ++q) {
            if (flags(q) <= 0) continue;
            WCOLA10(u, line == 1   ? b.COLTTL1(q)
                       : line == 2 ? b.COLTTL2(q)
                       : line == 3 ? b.COLUNIT(q)
                                   : std::string("**********"));
        }
        WCOLEOL(u);
    }
}

void NODEWR(const ColFlags& flags, int c, int s, int antype, double h, const AlongPileRecord& t) {
    (void)antype;
    if (c < 4) return;
    io::Unit& u = io::unit(RESULTS_UNIT);
    const int n = increments(c);
    const int step = s < n ? s : n;
    for (int k = 0; k <= n;) {
        std::string line = " ";
        int pos = 2;
        WLINREAL(line, 12, 4, UCVD12(k * h), pos);
        for (int q = 1; q <= NCOLSEL; ++q) {
            if (flags(q) <= 0) continue;
            const double v = nodeValue(t, k, q);
            WLINREAL(line, 12, 4, isForceLike(q) ? UCVKIPDIV(v) : v, pos);
        }
        u.line() << line;
        if (step <= 0) break;
        k += step;
    }
}

void PILEROWS(int c, int lscrv, int kaxvar, int lcbcur, int antype, double h, const AlongPileRecord& t) {
    io::Unit& u = io::unit(PILERES_UNIT);
    ColFlags f;
    f.fill(1);
    if (antype == 2) clearList(f, kPlaneOff);
    if (lscrv > 0 || kaxvar == 0) clearList(f, kAxialOff);
    if (lcbcur != 0)
        f(25) = 1;
    else
        f(24) = f(25) = 0;

    {
        auto line = u.line();
        line << io::I{10, NCOLSEL};
        for (int q = 1; q <= NCOLSEL; ++q) line << io::I{5, f(q)};
    }
    if (c < 4) return;
    const int n = increments(c);
    for (int k = 0; k <= n; ++k) {
        auto line = u.line();
        line << io::X{6} << io::PG{16, 8, k * h};
        for (int q = 1; q <= NCOLSEL; ++q) {
            if (f(q) <= 0) continue;
            const double v = nodeValue(t, k, q);
            line << io::PG{16, 8, std::fabs(v) < 1e-50 ? 0.0 : v};
        }
    }
}

void PILEXTR(int p, int c, int antype, double h, const AlongPileRecord& t) {
    (void)antype;
    io::Unit& u = io::unit(PILESCR_UNIT);
    const int n = c < 4 ? 0 : increments(c);
    Arr<double, 1, NLLPQTY> vmin, vmax, dmin, dmax;
    for (int q = 1; q <= NLLPQTY; ++q) {
        vmin(q) = vmax(q) = nodeValue(t, 0, q);
        dmin(q) = dmax(q) = 0.0;
        for (int k = 1; k <= n; ++k) {
            const double v = nodeValue(t, k, q);
            if (v < vmin(q)) {
                vmin(q) = v;
                dmin(q) = k * h;
            }
            if (v > vmax(q)) {
                vmax(q) = v;
                dmax(q) = k * h;
            }
        }
        if (isForceLike(q)) {
            vmin(q) = UCVKIPDIV(vmin(q));
            vmax(q) = UCVKIPDIV(vmax(q));
        }
    }
    auto values = [&u, p](const Arr<double, 1, NLLPQTY>& v) {
        auto line = u.line();
        line << io::X{1} << io::I{8, p} << io::X{2};
        for (int q = 1; q <= NLLPQTY; ++q) line << io::X{2} << io::E{12, 5, v(q)};
    };
    auto depths = [&u](const Arr<double, 1, NLLPQTY>& d) {
        auto line = u.line();
        line << io::X{1} << io::X{4} << "x(" << io::A{2, LABELS.LBLCOORD} << ")" << io::X{1};
        for (int q = 1; q <= NLLPQTY; ++q) line << io::X{3} << io::F{11, 4, UCVD12(d(q))};
    };
    values(vmin);
    depths(dmin);
    values(vmax);
    depths(dmax);
}

}  // namespace kaldo
