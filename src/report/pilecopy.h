// One pile's results, copied out of the shared result stores for the report writers, and the pile's
// section of the pile results file. N is the number of cap components: 6 in three dimensions, 3 in the
// plane. The pile-top row of a store holds, from column 1, the global displacements, the global
// reactions and the stress; from column 14 the local displacements and the local reactions.
#pragma once

#include <omp.h>

#include <array>
#include <cstddef>
#include <exception>

#include "model/ctlpar.h"
#include "model/input.h"
#include "model/loadinput.h"
#include "model/piles.h"
#include "model/results.h"
#include "model/runpoint.h"
#include "model/sections.h"
#include "report/report.h"
#include "services/colwrite.h"
#include "services/unitno.h"
#include "io/format.h"
#include "io/units.h"

namespace kaldo::report {

template <std::size_t N>
struct PileCopy {
    using Values = std::array<double, N>;
    int p = 0;
    Values gdisp{}, greac{}, ldisp{}, lreac{};
    double stress = 0.0;
    int c = 0;        // node count word: increments + 4
    int lscrv = 0;    // the pile's load-settlement curve (above 0: a user curve)
    double h = 0.0;   // node spacing
    AlongPileRecord nodes{};
};

template <std::size_t N>
void makeCopy(int p, const PileTopTable& top, const AlongPileTable& llp, PileCopy<N>& w) {
    constexpr int n3 = static_cast<int>(N);
    w.p = p;
    for (int i = 0; i < n3; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        w.gdisp[k] = top(p, 1 + i);
        w.greac[k] = top(p, 1 + n3 + i);
        w.ldisp[k] = top(p, 14 + i);
        w.lreac[k] = top(p, 14 + n3 + i);
    }
    w.stress = top(p, 1 + 2 * n3);
    const int set = PILE.PSETNO(p);
    int n = 0;
    w.h = 0.0;
    if (set >= 1 && set <= PSETSLOTS) {
        n = PILESET.NINC(set);
        w.h = PILESET.HINC(set);
    }
    // Never more nodes than the slots of the store hold.
    if (n > NODESLOTS - 4) n = NODESLOTS - 4;
    if (n < 0) n = 0;
    w.c = n + 4;
    w.lscrv = PILE.LSCRV(p);
    w.nodes.fill(0.0);
    for (int q = 1; q <= NLLPQTY; ++q)
        for (int k = 0; k <= n; ++k) w.nodes(k + 4, q) = llp(p, k + 4, q);
}

// Section 0: the pile results file, every value in internal units.
template <std::size_t N>
void pileResultsSection(const PileCopy<N>& w) {
    io::Unit& u = io::unit(PILERES_UNIT);
    u.line() << "* PILE GROUP *" << io::I{6, w.p};
    auto topLine = [&u, &w](const char* title, const auto& d, const auto& r) {
        u.line() << io::X{7} << title;
        WCOLBLNK(u, 5);
        for (double v : d) {
            WCOLREAL(u, 15, 8, v);
            WCOLBLNK(u, 2);
        }
        WCOLBLNK(u, 5);
        for (double v : r) {
            WCOLREAL(u, 15, 8, v);
            WCOLBLNK(u, 2);
        }
        WCOLREAL(u, 15, 8, w.stress);
        WCOLEOL(u);
    };
    topLine("* PILE TOP DISP. AND REACT. GLOBAL", w.gdisp, w.greac);
    topLine("* PILE TOP DISP. AND REACT. LOCAL", w.ldisp, w.lreac);
    u.line() << io::X{8} << "* EFFECTS FOR LATERALLY LOADED PILE *   ";
    PILEROWS(w.c, w.lscrv, CTLPAR.KAXVAR, RUNPOINT.CURCOMB, CTLIN.ANTYPE, w.h, w.nodes);
}

// Lines 1 to 4 of the pile's record on the pile result scratch file, and the pile-top tables of the
// results file: each model writes its own form.
void scratchTopLines(const PileCopy<6>& w);
void scratchTopLines(const PileCopy<3>& w);
void pileTopTables(const PileCopy<6>& w);
void pileTopTables(const PileCopy<3>& w);

// Section 1: the pile result scratch file and the output results file.
template <std::size_t N>
void resultsSection(const PileCopy<N>& w, int kind) {
    scratchTopLines(w);
    const int level = kind == 0 ? ENVCTL.ENVKPRINT : kind == 1 ? OPTENV.KPRINTLC : OPTENV.KPRINTCB;
    if (level >= 1) pileTopTables(w);
    if (level >= (kind == 2 ? 2 : 1)) {
        io::Unit& u = io::unit(RESULTS_UNIT);
        u.blankLines(2);
        u.line() << io::X{8} << "* EFFECTS FOR LATERALLY LOADED PILE *   ";
        u.blankLines(1);
        ColFlags flags;
        COLSEL(kind == 0 ? 0 : 1, w.lscrv, CTLPAR.KAXVAR, CTLIN.ANTYPE, flags);
        COLHDWR(flags, 0);
        const int step = kind == 0 ? ENVCTL.ENVNPREV : kind == 1 ? OPTENV.NPREVLC : OPTENV.NPREVCB;
        NODEWR(flags, w.c, step, CTLIN.ANTYPE, w.h, w.nodes);
    }
    PILEXTR(w.p, w.c, CTLIN.ANTYPE, w.h, w.nodes);
}

// The region of one pile: sections 0 and 1, one per thread when two are given, else one after the
// other on the calling thread (without a parallel region: on one thread it would only cost its start
// for every pile). A fault inside a section is carried out of the region and raised there.
template <std::size_t N>
void writePile(const PileCopy<N>& w, int kind, int threads) {
    std::array<std::exception_ptr, 2> fault{};
    const auto section = [&](int s) {
        try {
            if (s == 0)
                pileResultsSection(w);
            else
                resultsSection(w, kind);
        } catch (...) {
            fault[static_cast<std::size_t>(s)] = std::current_exception();
        }
    };
    if (threads > 1) {
#pragma omp parallel for num_threads(threads) schedule(static, 1)
        for (int s = 0; s <= 1; ++s) section(s);
    } else {
        for (int s = 0; s <= 1; ++s) section(s);
    }
    for (const std::exception_ptr& f : fault)
        if (f) std::rethrow_exception(f);
}

}  // namespace kaldo::report
