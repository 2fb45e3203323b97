// The three-dimensional results writer: the results of the load case or combination just solved, or
// the minimum or maximum envelope over the load cases or the combinations, for the cap and every pile,
// followed by the summary tables.
//
// Each pile is written by a region of two sections that run side by side: section 0 writes the pile
// results file (unit 14, internal units), section 1 the pile result scratch file (unit 13) and the
// output results file (unit 16). Both read the same private copy of the pile's results and nothing
// else that changes, and each writes only its own units, so the files are the same for one thread or
// two.
#include <omp.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

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
#include "model/vectors.h"
#include "report/pilecopy.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/status.h"
#include "services/threads.h"
#include "services/ucv.h"
#include "services/unitno.h"

namespace kaldo {

using report::makeCopy;
using report::pileResultsSection;
using report::writePile;

namespace {

// One pile's results as the two sections read them.
using PileCopy6 = report::PileCopy<6>;

std::string momentUnit() { return LABELS.LBLRFORCE + "-" + LABELS.LBLLEN; }
std::string stressUnit() { return LABELS.LBLRFORCE + "/" + LABELS.LBLLEN + "**" + "2"; }

// row(u; b; w, d; values): b blanks, each value as a report column, the end of the line.
template <std::size_t N>
void row(io::Unit& u, int blanks, int w, int d, const std::array<double, N>& values) {
    WCOLBLNK(u, blanks);
    for (double v : values) WCOLREAL(u, w, d, v);
    WCOLEOL(u);
}

std::array<double, 3> kips3(double a, double b, double c) { return {UCVKIPDIV(a), UCVKIPDIV(b), UCVKIPDIV(c)}; }

Vec6 kips6(const Vec6& v) {
    Vec6 r{};
    for (std::size_t i = 0; i < 6; ++i) r[i] = UCVKIPDIV(v[i]);
    return r;
}

}  // namespace

void envelopeHeadings(int kind, int env) {
    const bool comb = kind != 1;
    const char* n = env == 1 ? "1" : "2";
    const char* text = env == 1 ? "MINIMUM ENVELOPE" : "MAXIMUM ENVELOPE";
    const char* envTitle = comb ? "LOAD COMB. ENV : " : "LOAD CASE ENV : ";
    for (int unitNo : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        u.blankLines(3);
        u.line() << io::X{5} << envTitle << n;
        u.line() << io::X{5} << (comb ? "COMB. NAME     : " : "CASE NAME     : ") << text;
    }
    io::unit(PILERES_UNIT).line() << envTitle << n;
    io::Unit& status = io::unit(CASESTAT_UNIT);
    status.line() << envTitle << n;
    status.line() << io::X{6} << text;
    status.line() << "    1 CALCULATED AND PRINTED";
}

namespace {

// Table L of an envelope: the cap loads and displacements at the origin.
void capTable(const Arr<double, 1, NCAPENV>& cap) {
    const UnitLabels& b = LABELS;
    const std::string m = momentUnit();
    for (int unitNo : {RESULTS_UNIT, SUMMARY_UNIT}) {
        io::Unit& u = io::unit(unitNo);
        const int rb = unitNo == 16 ? 8 : 5, rw = unitNo == 16 ? 18 : 19, rd = unitNo == 16 ? 5 : 4;
        u.blankLines(3);
        u.line() << io::X{5} << "* TABLE L *   COMPUTATION ON PILE CAP";
        u.blankLines(2);
        u.line() << io::X{5} << "* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *";
        u.blankLines(2);
        u.line() << io::X{11} << "VERT. LOAD," << io::A{4, b.LBLRFORCE4} << io::X{4} << "HOR. LOAD Y,"
                 << io::A{4, b.LBLRFORCE4} << io::X{3} << "HOR. LOAD Z," << io::A{4, b.LBLRFORCE4};
        row(u, rb, rw, rd, kips3(cap(1), cap(2), cap(3)));
        u.blankLines(1);
        u.line() << io::X{10} << "MOMENT X ," << m << io::X{4} << "MOMENT Y," << m << io::X{4} << "MOMENT Z,"
                 << m;
        row(u, rb, rw, rd, kips3(cap(4), cap(5), cap(6)));
        u.blankLines(2);
        u.line() << io::X{5} << "* DISPLACEMENT OF GROUPED PILE " << "FOUNDATION AT ORIGIN *";
        u.blankLines(2);
        u.line() << io::X{10} << "  VERTICAL ," << io::A{2, b.LBLLEN} << io::X{6} << "HORIZONTAL Y,"
                 << io::A{2, b.LBLLEN} << io::X{5} << "HORIZONTAL Z," << io::A{2, b.LBLLEN};
        row(u, rb, rw, rd, std::array<double, 3>{cap(7), cap(8), cap(9)});
        u.blankLines(1);
        u.line() << io::X{10} << "ANGLE ROT. X," << "RAD" << io::X{4} << "ANGLE ROT. Y," << "RAD" << io::X{4}
                 << "ANGLE ROT. Z," << "RAD";
        row(u, rb, rw, rd, std::array<double, 3>{cap(10), cap(11), cap(12)});
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
    for (int k = 1; k <= 6; ++k) {
        WCOLREAL(pileRes, 18, 8, cap(k));
        WCOLBLNK(pileRes, 5);
    }
    WCOLEOL(pileRes);
    pileRes.line() << "* DISPLACEMENT OF PILE CAP AT ORIGIN *";
    for (int k = 7; k <= 12; ++k) {
        WCOLREAL(pileRes, 18, 8, cap(k));
        WCOLBLNK(pileRes, 5);
    }
    WCOLEOL(pileRes);
}



}  // namespace

// The model's own forms of the pile's scratch lines and pile-top tables.
namespace report {

// Lines 1 to 4 of the pile's record on the pile result scratch file.
void scratchTopLines(const PileCopy6& w) {
    io::Unit& u = io::unit(PILESCR_UNIT);
    auto displacements = [&u, &w](const Vec6& d) {
        auto line = u.line();
        line << io::X{5} << io::I{6, w.p} << io::X{6};
        for (std::size_t i = 0; i < 6; ++i) {
            line << io::PG{12, 5, d[i]};
            if (i < 5) line << io::X{2};
        }
    };
    auto reactions = [&u, &w](const Vec6& r) {
        auto line = u.line();
        line << io::X{5} << io::I{6, w.p} << io::X{6};
        for (double v : r) line << io::PG{12, 5, UCVKIPDIV(v)} << io::X{2};
        line << io::PG{12, 5, UCVKIPDIV(w.stress)};
    };
    displacements(w.gdisp);
    reactions(w.greac);
    displacements(w.ldisp);
    reactions(w.lreac);
}

// The pile-top tables of the output results file.
void pileTopTables(const PileCopy6& w) {
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
        const char* ax = global ? "XYZ" : "xyz";
        const std::string a0(1, ax[0]), a1(1, ax[1]), a2(1, ax[2]);
        if (!global) u.blankLines(1);
        u.blankLines(1);
        u.line() << io::X{7}
                 << (global ? "THE GLOBAL STRUCTURAL COORDINATE SYSTEM" : "THE PILE COORDINATE SYSTEM (LOCAL AXES)");
        u.line() << io::X{7} << dash;
        u.blankLines(2);
        u.line() << io::X{5} << " DISP. " << a0 << "," << io::A{2, b.LBLLEN} << io::X{3} << "DISP. " << a1 << ","
                 << io::A{2, b.LBLLEN} << io::X{3} << "DISP. " << a2 << "," << io::A{2, b.LBLLEN} << io::X{3}
                 << "ROT. " << a0 << ",RAD" << io::X{3} << "ROT. " << a1 << ",RAD" << io::X{3} << "ROT. " << a2
                 << ",RAD";
        row(u, 3, 13, 4, global ? w.gdisp : w.ldisp);
        u.blankLines(1);
        if (global)
            u.line() << io::X{5} << " FOR. X," << io::A{3, b.LBLRFORCE} << io::X{3} << "FOR. Y,"
                     << io::A{3, b.LBLRFORCE} << io::X{3} << "FOR. Z," << io::A{3, b.LBLRFORCE} << io::X{2}
                     << "MOM X," << m << io::X{1} << "MOM Y," << m << io::X{1} << "MOM Z," << m;
        else
            u.line() << io::X{5} << "  AXIAL," << io::A{3, b.LBLRFORCE} << io::X{3} << "LAT. y,"
                     << io::A{3, b.LBLRFORCE} << io::X{3} << "LAT. z," << io::A{3, b.LBLRFORCE} << io::X{2}
                     << "MOM x," << m << io::X{1} << "MOM y," << m << io::X{1} << "MOM z," << m;
        row(u, 3, 13, 4, kips6(global ? w.greac : w.lreac));
        u.blankLines(1);
        u.line() << io::X{5} << "STR," << s;
        row(u, 3, 13, 4, std::array<double, 1>{UCVKIPDIV(w.stress)});
    }
}

}  // namespace report

namespace {

// A report unit of the piles with a line still open, which the pile texts would continue.
bool openLines() {
    for (int n : {PILERES_UNIT, RESULTS_UNIT, PILESCR_UNIT})
        if (io::unit(n).hasOpenLine()) return true;
    return false;
}

// The piles' sections on every thread of one region: each thread takes the next pile as it comes free
// and formats it into texts of its own, and the texts go to the files in pile order, so the files hold
// the bytes that one thread writing pile after pile gives. Whichever thread finds the writing free
// after formatting a pile writes every pile that is ready in order, while the others go on formatting;
// no thread waits for a batch to end. A pile's texts wait in a ring of slots until the piles before it
// are written; a thread that would get further ahead than the ring holds writes what is ready (or
// sleeps while another thread writes) instead. A fault inside a pile's sections is raised after the
// texts of the piles before it are written, and no pile after it is written.
void writeInParallel(int kind, const PileTopTable& top, const AlongPileTable& llp, int threads) {
    const int npiles = PILE.NPILES;
    const int ring = 16 * threads;
    const std::size_t size = static_cast<std::size_t>(ring);
    std::vector<std::vector<io::Capture::Text>> texts(size);
    std::vector<std::exception_ptr> fault(size);
    // The pile whose texts are in a slot (0: none yet); written when the slot is filled.
    std::unique_ptr<std::atomic<int>[]> ready(new std::atomic<int>[size]);
    for (std::size_t k = 0; k < size; ++k) ready[k].store(0, std::memory_order_relaxed);
    std::atomic<int> next{1};      // the next pile to format
    std::atomic<int> written{0};   // piles 1..written are in the files
    std::atomic<bool> stop{false}; // a pile's fault or a failed write met: no pile after it is formatted
    std::exception_ptr failure;    // that fault or failure (set under the writing lock)
    std::mutex writing;
    std::condition_variable room;  // a pile written: a slot of the ring free

    // Writes the piles that are ready, in order, and wakes the threads waiting for a slot when any was
    // written; the caller holds the writing lock.
    auto drain = [&] {
        const int before = written.load(std::memory_order_relaxed);
        for (int p = before + 1; p <= npiles && !failure; ++p) {
            const std::size_t k = static_cast<std::size_t>(p % ring);
            if (ready[k].load(std::memory_order_acquire) != p) break;
            if (fault[k]) {
                failure = fault[k];
            } else {
                try {
                    io::replay(texts[k]);
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            if (failure) {
                stop.store(true);
                break;
            }
            texts[k].clear();
            ready[k].store(0, std::memory_order_relaxed);
            written.store(p, std::memory_order_release);
        }
        if (written.load(std::memory_order_relaxed) != before) room.notify_all();
    };

    const double t0 = omp_get_wtime();
#pragma omp parallel num_threads(threads)
    {
        // The working copy is large (one pile's whole along-pile table): one per thread, on the heap.
        std::unique_ptr<PileCopy6> w;
        try {
            w = std::make_unique<PileCopy6>();
        } catch (...) {
        }
        for (;;) {
            if (stop.load(std::memory_order_relaxed)) break;
            const int p = next.fetch_add(1);
            if (p > npiles) break;
            // Pile p's slot is free once the pile a ring before it is written: meanwhile the thread
            // writes what is ready, or sleeps until a pile is written (or a millisecond has passed:
            // the pile it waits for may have become ready while it held the lock).
            if (p - written.load(std::memory_order_acquire) > ring) {
                std::unique_lock<std::mutex> lock(writing);
                for (;;) {
                    drain();
                    if (p - written.load(std::memory_order_acquire) <= ring || stop.load()) break;
                    room.wait_for(lock, std::chrono::milliseconds(1));
                }
            }
            if (stop.load()) break;
            const std::size_t k = static_cast<std::size_t>(p % ring);
            try {
                if (!w) throw std::bad_alloc();
                io::Capture capture;
                makeCopy(p, top, llp, *w);
                pileResultsSection(*w);
                resultsSection(*w, kind);
                texts[k] = capture.finish();
            } catch (...) {
                fault[k] = std::current_exception();
            }
            ready[k].store(p, std::memory_order_release);
            std::unique_lock<std::mutex> lock(writing, std::try_to_lock);
            if (lock.owns_lock()) drain();
        }
    }
    // Piles made ready while their writer was busy with the ones before.
    drain();
    RUNTIME.RUNTPRT += omp_get_wtime() - t0;
    if (failure) std::rethrow_exception(failure);
}

}  // namespace

void ENVEWR(int kind, int env) {
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
    // Eight lines per pile, read back for the summary tables: written behind, in large pieces.
    openListedFile(PILESCR_UNIT, REC_PILESCR, io::Mode::Write, io::Form::Text, true);

    const PileTopTable& top = env <= 0 ? RESCUR.RESCURTOP : env == 1 ? ENVMIN.TOP : ENVMAX.TOP;
    const AlongPileTable& llp = env <= 0 ? RESCUR.RESCURLLP : env == 1 ? ENVMIN.LLP : ENVMAX.LLP;
    const int threads = regionThreads(CTLPAR.NTHRUSR, npiles, false);
    if (threads > 1 && !openLines()) {
        writeInParallel(kind, top, llp, threads);
    } else {
        // The working copy is large (one pile's whole along-pile table): one for the call, on the heap.
        auto w = std::make_unique<PileCopy6>();
        for (int p = 1; p <= npiles; ++p) {
            makeCopy(p, top, llp, *w);
            const double t0 = omp_get_wtime();
            writePile(*w, kind, 1);
            RUNTIME.RUNTPRT += omp_get_wtime() - t0;
        }
    }
    scratch.close();

    ColFlags flags;
    COLSEL(kind == 0 ? 0 : 1, allPiles, CTLPAR.KAXVAR, CTLIN.ANTYPE, flags);
    SUMTABS(kind == 0 ? 0 : 1, npiles, RUNPOINT.CURCOMB, allPiles, CTLIN.ANTYPE, flags);
}

}  // namespace kaldo
