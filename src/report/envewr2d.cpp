// The plane results writer: the results of the plane load case or combination just solved, or the
// minimum or maximum envelope over the load cases or the combinations, for the cap and every pile,
// followed by the plane summary tables.
//
// As the three-dimensional writer, each pile is written by a region of two sections that run side by
// side: section 0 writes the pile results file (unit 14, internal units), section 1 the pile result
// scratch file (unit 13) and the output results file (unit 16). Both read the same private copy of the
// pile's results, and each writes only its own units, so the files are the same for one thread or two.
#include <omp.h>

#include <array>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "io/format.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/ctlpar.h"
#include "model/files.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/loadinput.h"
#include "model/piles.h"
#include "model/results.h"
#include "model/runblocks.h"
#include "model/runpoint.h"
#include "model/sections.h"
#include "report/pilecopy.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/threads.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

using report::makeCopy;
using report::pileResultsSection;
using report::writePile;

namespace {

using V3 = std::array<double, 3>;

// One plane pile's results as the two sections read them.
using PileCopy3 = report::PileCopy<3>;

std::string momentUnit() { return LABELS.LBLRFORCE + "-" + LABELS.LBLLEN; }
std::string stressUnit() { return LABELS.LBLRFORCE + "/" + LABELS.LBLLEN + "**" + "2"; }

void row(io::Unit& u, int blanks, int w, int d, const V3& values) {
    WCOLBLNK(u, blanks);
    for (double v : values) WCOLREAL(u, w, d, v);
    WCOLEOL(u);
}

V3 kips(const V3& v) { return {UCVKIPDIV(v[0]), UCVKIPDIV(v[1]), UCVKIPDIV(v[2])}; }

// Table L of an envelope: the plane cap loads and displacements at the origin.
void capTable(const Arr<double, 1, NCAPENV>& cap) {
    const UnitLabels& b = LABELS;
    for (int unitNo : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        u.blankLines(3);
        u.line() << io::X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
        u.blankLines(2);
        u.line() << io::X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
        u.blankLines(1);
        u.line() << io::X{13} << "VERT. LOAD," << io::A{4, b.LBLRFORCE4} << io::X{4} << "HORI. LOAD,"
                 << io::A{4, b.LBLRFORCE4} << io::X{4} << "MOMENT," << io::A{3, b.LBLRFORCE} << "-"
                 << io::A{2, b.LBLLEN};
        row(u, 8, 18, 5, kips({cap(1), cap(2), cap(3)}));
        u.blankLines(2);
        u.line() << io::X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT ORIGIN *";
        u.blankLines(1);
        u.line() << io::X{16} << "VERTICAL," << io::A{2, b.LBLLEN} << io::X{6} << "HORIZONTAL," << io::A{2, b.LBLLEN}
                 << io::X{4} << "ROTATION," << "RAD";
        row(u, 8, 18, 5, {cap(7), cap(8), cap(9)});
    }
}

// The Table M headings of an envelope, and the cap record of the pile results file.
void envelopeTableM(const Arr<double, 1, NCAPENV>& cap) {
    const char* tableM = "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";
    for (int unitNo : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        u.blankLines(3);
        u.line() << io::X{5} << tableM;
    }
    io::Unit& coll = io::unit(SUMCOLL_UNIT);
    coll.blankLines(1);
    coll.line() << io::X{5} << tableM;

    io::Unit& pileRes = io::unit(PILERES_UNIT);
    pileRes.line() << io::X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
    pileRes.line() << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
    for (int k : {1, 2, 3}) {
        WCOLREAL(pileRes, 18, 8, cap(k));
        WCOLBLNK(pileRes, 5);
    }
    WCOLEOL(pileRes);
    pileRes.line() << "* DISPLACEMENT OF PILE CAP AT ORIGIN *";
    for (int k : {7, 8, 9}) {
        WCOLREAL(pileRes, 18, 8, cap(k));
        WCOLBLNK(pileRes, 5);
    }
    WCOLEOL(pileRes);
}



}  // namespace

// The model's own forms of the pile's scratch lines and pile-top tables.
namespace report {

// Lines 1 to 4 of the pile's record on the pile result scratch file, plane form.
void scratchTopLines(const PileCopy3& w) {
    io::Unit& u = io::unit(PILESCR_UNIT);
    auto displacements = [&u, &w](const V3& d) {
        auto line = u.line();
        line << io::X{5} << io::I{6, w.p} << io::X{6};
        for (std::size_t i = 0; i < 3; ++i) line << io::PG{12, 5, d[i]} << io::X{2};
    };
    auto reactions = [&u, &w](const V3& r) {
        auto line = u.line();
        line << io::X{5} << io::I{6, w.p} << io::X{6};
        for (double v : r) line << io::PG{12, 5, UCVKIPDIV(v)} << io::X{2};
        line << io::PG{12, 5, UCVKIPDIV(w.stress)} << io::X{2};
    };
    displacements(w.gdisp);
    reactions(w.greac);
    displacements(w.ldisp);
    reactions(w.lreac);
}

// The pile-top tables of the output results file: one line of seven numbers per axis system.
void pileTopTables(const PileCopy3& w) {
    const UnitLabels& b = LABELS;
    const std::string m = momentUnit(), s = stressUnit();
    io::Unit& u = io::unit(RESULTS_UNIT);
    const char* dash = "---------------------------------------";
    u.blankLines(2);
    u.line() << io::X{7} << "* PILE GROUP *" << io::I{6, w.p};
    u.blankLines(2);
    u.line() << io::X{8} << "* PILE TOP DISPLACEMENTS AND REACTIONS *";
    u.blankLines(1);
    for (int frame = 0; frame < 2; ++frame) {
        const bool global = frame == 0;
        u.blankLines(global ? 1 : 2);
        u.line() << io::X{7}
                 << (global ? "THE GLOBAL STRUCTURAL COORDINATE SYSTEM" : "THE PILE COORDINATE SYSTEM (LOCAL AXES)");
        u.line() << io::X{7} << dash;
        u.blankLines(1);
        u.line() << io::X{8} << (global ? "DISP.X," : "DISP.x,") << io::A{2, b.LBLLEN} << io::X{3}
                 << (global ? "DISP.Y," : "DISP.y,") << io::A{2, b.LBLLEN} << io::X{5} << "SLOPE" << io::X{5}
                 << (global ? "FOR.X," : "AXIAL,") << io::A{3, b.LBLRFORCE} << io::X{global ? 3 : 4}
                 << (global ? "FOR.Y," : "LAT,") << io::A{3, b.LBLRFORCE} << io::X{global ? 3 : 4} << "BM," << m
                 << io::X{3} << "STRESS," << s;
        u.blankLines(1);
        const V3& d = global ? w.gdisp : w.ldisp;
        const V3 r = kips(global ? w.greac : w.lreac);
        WCOLBLNK(u, 6);
        for (double v : d) WCOLREAL(u, 12, 4, v);
        for (double v : r) WCOLREAL(u, 12, 4, v);
        WCOLBLNK(u, 4);
        WCOLREAL(u, 12, 4, UCVKIPDIV(w.stress));
        WCOLEOL(u);
    }
}

}  // namespace report

void ENVEWR2D(int kind, int env) {
    const int npiles = PILE.NPILES;
    int allPiles = 1;
    for (int p = 1; p <= npiles; ++p)
        if (PILE.LSCRV(p) < 1) {
            allPiles = -1;
            break;
        }

    if (env > 0) {
        const EnvStore& store = env == 1 ? ENVMIN : ENVMAX;
        envelopeHeadings(kind, env);
        capTable(store.ENVCAP);
        envelopeTableM(store.ENVCAP);
    }
    io::unit(PILERES_UNIT).line() << "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE";

    io::Unit& scratch = io::unit(PILESCR_UNIT);
    if (!scratch.open(namesPath(REC_PILESCR), io::Mode::Write))
        throw std::runtime_error("pile result scratch file " + namesPath(REC_PILESCR) + " cannot be opened");

    const PileTopTable& top = env <= 0 ? RESCUR.RESCURTOP : env == 1 ? ENVMIN.TOP : ENVMAX.TOP;
    const AlongPileTable& llp = env <= 0 ? RESCUR.RESCURLLP : env == 1 ? ENVMIN.LLP : ENVMAX.LLP;
    auto w = std::make_unique<PileCopy3>();
    for (int p = 1; p <= npiles; ++p) {
        makeCopy(p, top, llp, *w);
        const int threads = SETTHR2D(CTLPAR.NTHRUSR, npiles, 1);
        const double t0 = omp_get_wtime();
        writePile(*w, kind, threads);
        RUNTIME.RUNTPRT += omp_get_wtime() - t0;
    }
    scratch.close();

    ColFlags flags;
    COLSEL(kind == 0 ? 0 : 1, allPiles, CTLPAR.KAXVAR, CTLIN.ANTYPE, flags);
    PTSUM2D(kind == 0 ? 0 : 1, npiles, RUNPOINT.CURCOMB, allPiles, CTLIN.ANTYPE, flags);
}

}  // namespace kaldo
