// The equivalent stiffness matrix of the whole foundation at the cap origin for an accepted point of a
// stiffness estimation: every pile's head stiffness from its equivalent springs (pilekcond.cpp), turned
// into the cap axes and moved to the origin, summed over the piles; then its prints, with the point's
// load and displacement at the origin, and the heading of the estimation.
//
// The piles run in one parallel loop. Each pile's matrix and its trace lines go to the pile's own slot,
// and after the loop the matrices are added and the trace lines written in pile order, so the matrix and
// the trace are the same whatever the number of threads.
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "capstiff/capstiff.h"
#include "capstiff/eqstiff.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "pile/pile.h"
#include "services/colwrite.h"
#include "services/threads.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

using io::I;
using io::X;

io::Unit& U(int n) { return io::unit(n); }

double& at(Mat6& m, int i, int j) { return m[static_cast<std::size_t>((i - 1) + (j - 1) * 6)]; }

// c = a b for n x n matrices by columns with leading dimension ld.
template <std::size_t S>
std::array<double, S> product(const std::array<double, S>& a, const std::array<double, S>& b, int n) {
    std::array<double, S> c{};
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            double s = 0.0;
            for (int k = 0; k < n; ++k)
                s += a[static_cast<std::size_t>(i + k * n)] * b[static_cast<std::size_t>(k + j * n)];
            c[static_cast<std::size_t>(i + j * n)] = s;
        }
    return c;
}

// One pile's share: its matrix at the origin, its trace lines and what its condensation met.
struct PileShare {
    Mat6 K{};
    std::string trace;
    CondensNotes notes;
};

void solidShare(int i, int axial, int& status, PileShare& s) {
    Mat6 TF{}, TD{}, TL{}, TG{};
    PILETRAN(i, TF, TD, TL, TG);
    Mat6 Kp{};
    PILEKCOND(i, axial, status, Kp, s.trace, s.notes);
    s.K = product(TF, product(TL, product(Kp, product(TG, TD, 6), 6), 6), 6);
    for (double& v : s.K) v *= PILE.PMULT(i);
}

void planeShare(int i, int axial, int& status, PileShare& s) {
    const double b = PILE.BATTER(i), c = std::cos(b), sn = std::sin(b);
    const double x = PILE.HEADXW(i), y = PILE.HEADYW(i);
    // The head forces moved to the origin, and the pile's axes turned into the cap's; each with its
    // transpose.
    const Mat3 T1{1.0, 0.0, -y, 0.0, 1.0, x, 0.0, 0.0, 1.0};
    const Mat3 T2{c, sn, 0.0, -sn, c, 0.0, 0.0, 0.0, 1.0};
    const Mat3 T3{1.0, 0.0, 0.0, 0.0, 1.0, 0.0, -y, x, 1.0};
    const Mat3 T4{c, -sn, 0.0, sn, c, 0.0, 0.0, 0.0, 1.0};
    Mat3 Kp{};
    PHSTF2D(i, axial, status, Kp, s.trace, s.notes);
    const Mat3 K = product(product(T1, product(product(T2, Kp, 3), T4, 3), 3), T3, 3);
    for (int jj = 1; jj <= 3; ++jj)
        for (int ii = 1; ii <= 3; ++ii) at(s.K, ii, jj) = PILE.PMULT(i) * K[static_cast<std::size_t>((ii - 1) + (jj - 1) * 3)];
}

// What the condensation of a pile met, on the runtime file and the stiffness estimation log.
void condensationNotes(int p, const CondensNotes& n) {
    for (int unit : {RUNTIME_UNIT, STIFFLOG_UNIT}) {
        io::Unit& u = U(unit);
        if (n.zeroPivots > 0)
            u.line() << X{5} << "** WARNING **  " << "PILE " << I(5, p) << ": " << I(3, n.zeroPivots)
                     << " UNRESTRAINED UNKNOWN(S) LEFT OUT OF ITS HEAD STIFFNESS, LOWEST AT ELEMENT " << I(4, n.lowestDropped);
        if (n.emptyReleases > 0)
            u.line() << X{5} << "** WARNING **  " << "PILE " << I(5, p)
                     << ": PINNED HEAD ROTATION WITHOUT STIFFNESS, RELEASED AS ZERO";
    }
}

void originLine(int unit, const char* label, const Vec6& v, int n, bool kips) {
    io::Unit& u = U(unit);
    u.part() << X{2} << label;
    for (int k = 0; k < n; ++k) WCOLREAL(u, 15, 5, kips ? UCVKIPDIV(v[static_cast<std::size_t>(k)]) : v[static_cast<std::size_t>(k)]);
    u.endLine();
}

void pileResultsLine(const Vec6& v, int n) {
    io::Unit& u = U(PILERES_UNIT);
    u.part() << X{7};
    for (int k = 0; k < n; ++k) {
        WCOLREAL(u, 18, 8, v[static_cast<std::size_t>(k)]);
        WCOLBLNK(u, 5);
    }
    u.endLine();
}

void dofLine(int unit, int n) {
    io::Unit& u = U(unit);
    u.part() << X{2} << "  DOF";
    for (int j = 1; j <= n; ++j) u.part() << I(11, j) << X{4};
    u.endLine();
}

}  // namespace

void TGTLINE(int unit, int nlev, int antype, int& dof, double computed, double target, const double* fsd) {
    if (fsd[nlev] == 0.0) return;
    dof = static_cast<int>(fsd[nlev + 1]);
    const bool plane = antype == 2;
    const char* name = "      ROTATION Z,";
    bool length = false;
    switch (dof) {
        case 1: name = "  DISPLACEMENT X,"; length = true; break;
        case 2: name = "  DISPLACEMENT Y,"; length = true; break;
        case 3:
            if (!plane) {
                name = "  DISPLACEMENT Z,";
                length = true;
            }
            break;
        case 4: name = "      ROTATION X,"; break;
        case 5: name = "      ROTATION Y,"; break;
        default: break;
    }
    io::Unit& u = U(unit);
    u.part() << X{5} << name << "  TARGET =";
    WCOLREAL(u, 13, 5, target);
    if (length) u.part() << " " << LABELS.LBLLEN;
    u.part() << " , COMPUTED =";
    WCOLREAL(u, 13, 5, computed);
    if (length) u.part() << " " << LABELS.LBLLEN;
    u.endLine();
}

void CAPORIGPR(int nlev, int antype, int point, double level, double computed, double target, const double* fsd,
               const Vec6& loads, const Vec6& disp) {
    const int n = antype == 2 ? 3 : 6;
    U(SUMMARY_UNIT).endLine();
    U(SUMMARY_UNIT).line() << X{4} << "   N:" << I(5, point) << "  FACTOR :" << io::F{10, 4, level};
    U(PILERES_UNIT).line() << X{4} << "    1" << "   N:" << I(5, point) << "  FACTOR :" << io::F{10, 4, level};
    int dof = 0;
    TGTLINE(RESULTS_UNIT, nlev, antype, dof, computed, target, fsd);
    TGTLINE(SUMMARY_UNIT, nlev, antype, dof, computed, target, fsd);
    U(PILERES_UNIT).line() << X{7} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    pileResultsLine(loads, n);
    U(PILERES_UNIT).line() << X{7} << "* DISPLACEMENT OF PILE CAP AT ORIGIN *";
    pileResultsLine(disp, n);
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        originLine(unit, " LOAD", loads, n, true);
        originLine(unit, " DISP", disp, n, false);
    }
}

void CAPTSTF(int& status, int axial, int nlev, int point, double level, Vec6& loads, Vec6& disp, Mat6& K) {
    const bool plane = CTLIN.ANTYPE == 2;
    const int n = plane ? 3 : 6;
    K.fill(0.0);
    U(CAPTRACE_UNIT).line() << X{5} << "NPILES=" << I(5, PILE.NPILES);

    const int piles = PILE.NPILES;
    std::vector<PileShare> share(static_cast<std::size_t>(std::max(piles, 0)));
    const int threads = regionThreads(CTLPAR.NTHRUSR, piles, false);
#pragma omp parallel for num_threads(threads) schedule(static)
    for (int i = 1; i <= piles; ++i) {
        PileShare& s = share[static_cast<std::size_t>(i - 1)];
        int st = status;
        if (plane)
            planeShare(i, axial, st, s);
        else
            solidShare(i, axial, st, s);
    }
    for (int i = 1; i <= piles; ++i) {
        const PileShare& s = share[static_cast<std::size_t>(i - 1)];
        for (std::size_t k = 0; k < K.size(); ++k) K[k] += s.K[k];
        std::size_t from = 0;
        while (from < s.trace.size()) {
            const std::size_t end = s.trace.find('\n', from);
            U(CAPTRACE_UNIT).line() << s.trace.substr(from, end - from);
            from = end + 1;
        }
        condensationNotes(i, s.notes);
    }

    io::Unit& log = U(STIFFLOG_UNIT);
    log.line() << X{5} << "* EQV. STIFFNESS MATRIX AT ORIGIN *";
    for (int i = 1; i <= n; ++i) {
        WCOLBLNK(log, 5);
        for (int j = 1; j <= n; ++j) WCOLREAL(log, 19, 5, at(K, i, j));
        WCOLEOL(log);
    }

    CAPORIGPR(nlev, CTLIN.ANTYPE, point, level, EQSEST.EQSDCMP, EQSEST.EQSDTGT, &RUNPOINT.FSDC(1), loads, disp);

    U(RESULTS_UNIT).endLine();
    U(RESULTS_UNIT).line() << X{10} << "* EQUIVALENT STIFFNESS MATRIX AT ORIGIN *";
    U(SUMMARY_UNIT).endLine();
    U(SUMMARY_UNIT).line() << X{10} << "* EQV. STIFFNESS MATRIX AT ORIGIN *";
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) dofLine(unit, n);
    for (int i = 1; i <= n; ++i) {
        for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::Unit& u = U(unit);
            u.part() << X{2} << I(5, i);
            for (int j = 1; j <= n; ++j) WCOLREAL(u, 15, 5, UCVKIPDIV(at(K, i, j)));
            u.endLine();
        }
    }

    io::Unit& pr = U(PILERES_UNIT);
    pr.part() << X{14};
    for (int j = 1; j <= n; ++j) {
        WCOLREAL(pr, 18, 8, at(K, j, j));
        WCOLBLNK(pr, 4);
    }
    pr.endLine();
    for (int i = 1; i <= n; ++i) {
        pr.part() << X{5} << I(5, i) << X{4};
        for (int j = 1; j <= n; ++j) {
            WCOLREAL(pr, 18, 8, at(K, i, j));
            WCOLBLNK(pr, 4);
        }
        pr.endLine();
    }
}

void CAPSTFHDR(int basis, int antype) {
    const bool plane = antype == 2;
    const int n = plane ? 3 : 6;
    const char* title = "* PILE CAP STIFFNESS ESTIMATION *";
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        U(unit).blankLines(2);
        U(unit).line() << X{5} << title;
    }
    U(PILERES_UNIT).line() << X{5} << title;
    U(RUNTIME_UNIT).endLine();
    U(RUNTIME_UNIT).line() << X{5} << title;
    U(RUNTIME_UNIT).flush();
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT})
        U(unit).line() << X{5} << (basis != 0 ? "- BASED ON TARGET DEFLECTION   " : "- BASED ON TOTAL APPLIED LOAD  ");
    U(RESULTS_UNIT).endLine();
    U(RESULTS_UNIT).line() << X{4} << "UNITS, LOAD AND DISP";

    const std::string F = LABELS.LBLRFORCE, L = LABELS.LBLLEN;
    const std::string FL = F + "-" + L, FperL = F + "/" + L, FperRad = F + "/RAD", FLperRad = F + "-" + L + "/RAD";
    auto rotation = [&](int dof) { return plane ? dof == 3 : dof >= 4; };
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = U(unit);
        {
            io::LineOut l = u.line();
            l << X{2} << " LOAD" << X{3};
            for (int d = 1; d <= n; ++d) {
                if (rotation(d))
                    l << X{4} << FL << X{5};
                else
                    l << X{6} << F << X{6};
            }
        }
        io::LineOut l = u.line();
        l << X{2} << " DISP" << X{3};
        for (int d = 1; d <= n; ++d) {
            if (rotation(d))
                l << X{6} << "RAD" << X{6};
            else
                l << X{6} << L << X{7};
        }
    }
    for (int unit : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = U(unit);
        u.endLine();
        u.line() << X{4} << "UNITS, STIFFNESS";
        dofLine(unit, n);
        for (int i = 1; i <= n; ++i) {
            io::LineOut l = u.line();
            l << X{2} << I(5, i) << X{3};
            if (!rotation(i)) {
                l << X{4} << FperL << X{9} << FperL;
                if (!plane) l << X{9} << FperL << X{9} << FperRad << X{8} << FperRad;
                l << X{plane ? 9 : 8} << FperRad;
            } else {
                l << X{6} << F << X{12} << F;
                if (!plane) l << X{12} << F << X{8} << FLperRad << X{5} << FLperRad;
                l << X{plane ? 8 : 5} << FLperRad;
            }
        }
    }
}

}  // namespace kaldo
