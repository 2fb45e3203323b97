// The flexible cap: the dispatch of a load case to the model export or to the slab program, the slab
// file list, and the export of the cap's plate model.
#include <algorithm>
#include <cmath>
#include <fstream>

#include "flexcap/flexcap.h"
#include "flexcap/slab.h"
#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/files.h"
#include "model/pymode.h"
#include "services/status.h"
#include "services/unitno.h"
#include "services/warning.h"

namespace kaldo {

namespace slab {

namespace {

// The largest mesh the export writes: 100 x 100 elements of 8 nodes.
constexpr int MAXSLABELEM = 10000;
// The moment about the vertical axis below which no point loads are written.
constexpr double NOMOMENT = 1.000000013351432e-10;

std::string padded(const std::string& path) { return path.size() < 75 ? path + std::string(75 - path.size(), ' ') : path; }

}  // namespace

SlabPaths FCAPNAMES(int& status) {
    const SlabPaths p = slabPaths(namesPath(REC_INPUT));
    std::ofstream list("gslab.dat", std::ios::trunc);
    // Each path in full: a path cut to a fixed width would name another file.
    for (const std::string* s : {&p.keyword, &p.model, &p.listing, &p.results, &p.convergence}) list << padded(*s) << "\n";
    list.flush();
    if (!list) reportFault(status, ST_FILEOPEN, "the slab file list gslab.dat cannot be written");
    return p;
}

void FCAPWRIT(const Vec6& loads, int& status) {
    const SlabPaths paths = FCAPNAMES(status);
    if (status != ST_OK) return;
    const int a = CAPFLX.NDIVY, b = CAPFLX.NDIVZ;
    const double L = CAPIN.CAPLY, W = CAPIN.CAPWGIVEN, h = CAPIN.CAPTX;
    const double E = CAPFLX.MAT1, nu = CAPFLX.MAT2;
    auto refuse = [&](int code, const std::string& why) { reportFault(status, code, "FLEXIBLE CAP: " + why); };
    if (a < 1 || b < 1)
        return refuse(ST_BADVALUE, "the plate mesh needs at least one division along y and z (NDIVY = " +
                                       std::to_string(a) + ", NDIVZ = " + std::to_string(b) + ")");
    if (static_cast<long long>(a) * b > MAXSLABELEM)
        return refuse(ST_CAPACITY, "the plate mesh of " + std::to_string(a) + " x " + std::to_string(b) +
                                       " elements exceeds the capacity of " + std::to_string(MAXSLABELEM) + " elements");
    if (!(L > 0.0) || !(W > 0.0) || !(h > 0.0))
        return refuse(ST_BADVALUE, "the plate needs a cap length, width and thickness above 0");
    if (!(E > 0.0) || !(nu > -1.0 && nu < 0.5))
        return refuse(ST_BADVALUE, "the plate needs a Young's modulus above 0 and a Poisson's ratio from -1 to 0.5");

    std::ofstream sf(paths.model, std::ios::trunc), kf(paths.keyword, std::ios::trunc);
    if (!sf || !kf) return refuse(ST_FILEOPEN, "the plate model files " + paths.model + " and " + paths.keyword + " cannot be written");
    auto line = [](std::ofstream& f, const std::string& s) { f << s << "\n"; };
    auto e13 = [](std::initializer_list<double> v) {
        std::string s;
        for (double x : v) s += io::fmtE(13, 5, x);
        return s;
    };
    auto i8 = [](std::initializer_list<long long> v) {
        std::string s;
        for (long long x : v) s += io::fmtI(8, x);
        return s;
    };

    const double FX = loads[0], FY = loads[1], FZ = loads[2], MX = loads[3], MY = loads[4], MZ = loads[5];
    const bool torsion = std::abs(MX) > NOMOMENT;
    const int NL = torsion ? 9 : 1;
    const int npoin = (2 * a + 1) * (b + 1) + (a + 1) * b, nelem = a * b, nstride = 3 * a + 2;
    const int npiles = PILE.NPILES;

    line(sf, " TEST OF KALDO5_FC");
    line(kf, " KALDO5_FC");
    line(kf, " TITLE");
    line(kf, " TEST OF KALDO5_FC");
    line(sf, i8({npoin, nelem, 1, 8, 2, 0, 0, 0, 0, 0, NL, 0, 0, 0, npiles, 1}));
    // The increments in exponent form: a small minimum increment must not print as 0.
    const std::string timeRecord = e13({CTLPAR.FINC, 0.0, 1.0, CTLPAR.FINCMIN}) + io::fmtI(10, CTLPAR.MAXITG) +
                                   io::fmtE(13, 5, CTLPAR.TOLCAP);
    line(sf, timeRecord);

    line(kf, "ELEMENT_DATA");
    line(kf, "QUAD8  REDUCED_INTEGRATION");
    for (int j = 1; j <= b; ++j)
        for (int i = 1; i <= a; ++i) {
            const int e = (j - 1) * a + i;
            const int r = 1 + (j - 1) * nstride, na = r + 2 * (i - 1), nb = na + nstride, nc = r + 2 * a + i;
            const std::string nodes = i8({na, na + 2, nb + 2, nb, na + 1, nc + 1, nb + 1, nc});
            line(sf, i8({e, e, 1}) + nodes);
            line(kf, "*");
            line(kf, i8({e, 1}) + nodes);
        }
    line(kf, "END_ELEMENT_DATA");
    line(kf, "NODE_DATA");

    // The mesh spans the cap's rectangle centred at (FLXYC, FLXZC): y from FLXYC - L/2, z from FLXZC + W/2
    // down. The slab's plan axes are the engine's Z (slab x) and Y (slab y).
    const double y0 = CAPFLX.CENTY - L / 2.0, dy = L / (2.0 * a);
    const double z0 = CAPFLX.CENTZ + W / 2.0, dz = -W / (2.0 * b);
    int n = 0;
    auto node = [&](double Y, double Z) {
        ++n;
        line(sf, i8({n, n}) + io::fmtF(12, 4, Z) + io::fmtF(12, 4, Y));
        line(kf, "*");
        line(kf, io::fmtI(8, n) + io::fmtF(12, 4, 0.0) + io::fmtF(12, 4, Y) + io::fmtF(12, 4, Z));
    };
    for (int j = 1; j <= b + 1; ++j) {
        for (int q = 0; q <= 2 * a; ++q) node(y0 + q * dy, z0 + 2 * (j - 1) * dz);
        if (j <= b)
            for (int q = 0; q <= a; ++q) node(y0 + 2 * q * dy, z0 + (2 * j - 1) * dz);
    }
    line(kf, "END_NODE_DATA");
    line(kf, "MATERIAL_DATA");
    line(sf, io::fmtI(8, 1) + e13({E, nu, h}));
    line(kf, "*");
    line(kf, "    ALL");
    line(kf, e13({E, nu, h}));
    line(kf, "END_MATERIAL_DATA");
    line(kf, "CONCENTRATED_LOAD_DATA");

    // Loads: the slab input file gives a point (Z, Y) and six values in the slab's freedoms; the keyword
    // file keeps the engine's axes. The moment about the vertical axis goes to eight in-plane point loads
    // around the origin whose moment is MX.
    auto slabLoad = [&](double Y, double Z, const Vec6& engine) {
        // (+ 0.0 turns a negated zero into a plain one.)
        const Vec6 s = headToSlab(engine);
        line(sf, e13({Z, Y, s[0] + 0.0, s[1] + 0.0, s[2] + 0.0, s[3] + 0.0, s[4] + 0.0, s[5] + 0.0}));
    };
    slabLoad(0.0, 0.0, {FX, FY, FZ, 0.0, MY, MZ});
    line(kf, "*");
    line(kf, e13({0.0, 0.0, 0.0, FX, FY, FZ, 0.0, MY, MZ}));
    if (torsion) {
        const double d = std::min({h, L / 2.0, W / 2.0});
        const double F = MX / (8.0 * d), Fr = 0.7071067811865476 * F, dr = 0.7071067811865476 * d;
        const double pts[8][4] = {{d, 0, 0, F},     {0, d, -F, 0},    {-d, 0, 0, -F},   {0, -d, F, 0},
                                  {dr, dr, -Fr, Fr}, {-dr, dr, -Fr, -Fr}, {-dr, -dr, Fr, -Fr}, {dr, -dr, Fr, Fr}};
        for (const auto& p : pts) slabLoad(p[0], p[1], {0.0, p[2], p[3], 0.0, 0.0, 0.0});
        for (const auto& p : pts) {
            line(kf, "*");
            line(kf, e13({0.0, p[0], p[1], 0.0, p[2], p[3], 0.0, 0.0, 0.0}));
        }
    }
    line(kf, "END_CONCENTRATED_LOAD_DATA");
    line(kf, "TOTAL_CONCENTRATED_STIFFNESS_DATA");
    for (int p = 1; p <= npiles; ++p) {
        line(sf, e13({PILE.HEADZ(p), PILE.HEADY(p)}));
        double c1 = std::abs(std::cos(PILE.ALPHA(p))), c2 = std::abs(std::cos(PILE.BETA(p)));
        if (c1 < NOMOMENT) c1 = 0.0;
        if (c2 < NOMOMENT) c2 = 0.0;
        const double r = PILE.CONNZ(p) == 1 ? 0.0 : 1.0;
        line(kf, "*");
        line(kf, e13({PILE.HEADX(p), PILE.HEADY(p), PILE.HEADZ(p), c1, c2, 0.0, r, r, r}));
    }
    line(kf, "END_TOTAL_CONCENTRATED_STIFFNESS_DATA");
    line(kf, "TIME_STEPPING_DATA");
    line(kf, timeRecord);
    line(kf, "END_TIME_STEPPING_DATA");
    line(kf, "END_DATA");
    sf.flush();
    kf.flush();
    if (!sf || !kf) return refuse(ST_FILEOPEN, "the plate model files " + paths.model + " and " + paths.keyword + " cannot be written");
    writeRecordTo({RUNTIME_UNIT}, {"     FLEXIBLE CAP: PLATE MODEL WRITTEN TO " + paths.model,
                                   "                   KEYWORD MODEL WRITTEN TO " + paths.keyword});
}

}  // namespace slab

void FCAPRUN(Vec6& P, int& status) {
    if (CTLIN.FLXCAP == 2) {
        slab::FCAPWRIT(P, status);
        return;
    }
    {
        io::Unit& plot = io::unit(PLOT_UNIT);
        plot.free() << CTLPAR.KMODE;
        plot.free() << PILE.NPILES << 1 << CTLIN.UNITS;
    }
    for (int un : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = io::unit(un);
        u.blankLines(3);
        u.line() << io::X{17} << "*****" << io::X{5} << "COMPUTATION RESULTS" << io::X{5} << "*****";
        u.blankLines(1);
        u.blankLines(3);
        u.line() << io::X{5} << "* TABLE I *   COMPUTATION ON INDIVIDUAL PILE";
    }
    const slab::SlabPaths paths = slab::FCAPNAMES(status);
    if (status != ST_OK) return;

    // The piles are analysed for the slab on the calling thread, with their springs (not a listing).
    PYMODE.PYPRTMODE = 0;
    PYMODE.CAPPYFLAG = 0;
    const slab::Outcome out = slab::SLBMAIN(slab::enginePiles());
    SMOV.SMFACT = 1.0;
    if (out.status != ST_OK) {
        reportFault(status, out.status, "FLEXIBLE CAP: " + out.message);
        return;
    }
    const std::string files = "SLAB LISTING " + paths.listing + ", RESULTS " + paths.results;
    if (out.reachedEnd && out.steps > 0) {
        writeRecordTo({RESULTS_UNIT, RUNTIME_UNIT},
                      {"", "     FLEXIBLE CAP: THE SLAB ANALYSIS REACHED ITS END TIME IN " + std::to_string(out.steps) +
                               " STEPS", "     " + files});
    } else if (out.steps == 0 && out.reachedEnd) {
        writeWarning({"FLEXIBLE CAP: THE SLAB ANALYSIS RAN NO STEP (THE FIRST INCREMENT PASSES THE END TIME)", files});
    } else {
        writeWarning({"FLEXIBLE CAP: THE SLAB ANALYSIS STOPPED SHORT OF ITS END TIME: A STEP WAS CUT BELOW THE",
                      "MINIMUM INCREMENT; LAST CONVERGED TIME " + io::fmtF(10, 4, out.lastTime) + " AFTER " +
                          std::to_string(out.steps) + " STEPS",
                      files});
    }
}

}  // namespace kaldo
