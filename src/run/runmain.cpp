// The spine of a run: the phases in their fixed order, and the completion report that always ends it.
#include <omp.h>

#include <exception>
#include <functional>

#include "driver/driver.h"
#include "echo/echo.h"
#include "input/readin.h"
#include "io/clock.h"
#include "io/units.h"
#include "model/blocks.h"
#include "model/files.h"
#include "run/run.h"
#include "services/colwrite.h"
#include "services/pending.h"
#include "services/status.h"
#include "services/timerep.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

// Runs one phase; a fault that escapes it (an engine bug, memory exhausted) becomes ST_INTERNAL with its
// text on the runtime file, so that the completion report still runs and the host gets a status.
void guarded(int& status, const std::function<void()>& phase) {
    try {
        phase();
    } catch (const NotBuilt& e) {
        reportFault(status, ST_NOTBUILT, e.what());
    } catch (const FileFault& e) {
        reportFault(status, e.code(), e.what());
    } catch (const std::exception& e) {
        // A scratch file that a failed write left short is no fault of the engine: the write is named.
        if (!writeFailureStops(status)) reportFault(status, ST_INTERNAL, std::string("internal error: ") + e.what());
    } catch (...) {
        if (!writeFailureStops(status)) reportFault(status, ST_INTERNAL, "internal error of unknown kind");
    }
}

// The summary collection file, gathered over the run, is appended to the summary report under its
// heading. Lines are copied whole with their trailing blanks cut; a blank line keeps one blank.
void assembleSummary() {
    io::Unit& coll = io::unit(SUMCOLL_UNIT);
    io::Unit& sum = io::unit(SUMMARY_UNIT);
    coll.close();
    sum.blankLines(4);
    sum.line() << io::X{17} << "*****" << io::X{5} << "SUMMARY FOR LOAD CASES AND COMBINATIONS " << io::X{5}
               << "*****";
    if (!coll.open(namesPath(REC_SUMCOLL), io::Mode::ReadCreate)) return;
    std::string text;
    while (coll.nextLine(text)) {
        size_t n = text.find_last_not_of(' ');
        n = (n == std::string::npos) ? 1 : n + 1;
        text.resize(std::max(n, text.size()), ' ');
        sum.part() << std::string_view(text).substr(0, n);
        WCOLEOL(sum);
    }
}

}  // namespace

void RUNMAIN(int& status) {
    status = ST_OK;
    io::closeAllUnits();
    resetAllBlocks();
    RUNTIME.RUNTCASE = io::wallClock();
    RUNTIME.RUNT0 = io::wallClock();
    RUNTIME.RUNTMARK = RUNTIME.RUNTPAR = RUNTIME.RUNTSER = RUNTIME.RUNTPRT = 0.0;

    io::clearWriteFailure();
    // A write that failed in a phase (a full disk) ends the run after it.
    auto go = [&status] { return status == ST_OK && !writeFailureStops(status); };

    guarded(status, [&] { SETFILES(status); });
    if (go()) guarded(status, [&] { READIN(status); });
    RUNTIME.RUNTHRMAX = omp_get_max_threads();
    RUNTIME.RUNTHRPEAK = 1;
    RUNTIME.RUNTHRPEAK2 = 1;
    if (go()) guarded(status, [&] { CONVIN(); });
    if (go()) guarded(status, [&] { ECHOIN(status); });
    if (go()) {
        const int kpyop = CTLIN.KPYOP;
        CTLIN.KPYOP = 0;
        RUNSTATE.RUNPASS = PASS_ITERATING;
        guarded(status, [&] { RUNCASES(kpyop, status); });
    }

    RUNTIME.RUNT0 = io::wallClock() - RUNTIME.RUNT0;
    guarded(status, [&] { ENDRUN(status); });
    io::closeAllUnits();
}

void ENDRUN(int& status) {
    // The reports are completed and closed before the runtime file takes the completion message, so
    // that a report the disk could not take is known before the run is called completed.
    if (status == ST_STOPPED) {
        for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::unit(u).free() << "     ";
            io::unit(u).free() << "     *** ANALYSIS STOPPED BY USER ***";
        }
    }

    assembleSummary();

    for (int u : {INPUT_UNIT, RESULTS_UNIT, ECHO_UNIT, SUMMARY_UNIT, PLOT_UNIT, CASESTAT_UNIT, PILERES_UNIT, FLEX1_UNIT, AXTORS_UNIT, ITERLOG_UNIT, LTCURVE_UNIT,
                  CURVEDATA_UNIT, CAPTRACE_UNIT, SUMCOLL_UNIT, MPHILIST_UNIT})
        io::unit(u).close();
    writeFailureStops(status);

    io::Unit& rt = io::unit(RUNTIME_UNIT);
    const long mark = rt.position();
    const bool heldBefore = !io::firstWriteFailure().any;
    rt.free() << "    ";
    for (const std::string& text : completionLines(status)) rt.free() << text;
    TIMEREP();
    rt.close();
    if (heldBefore && io::firstWriteFailure().any) {
        // The runtime file could not take the completion message: whatever of it reached the file is
        // cut off and the error takes its place, as far as the file takes it. The status goes back to
        // the host in any case.
        const bool reopened = rt.open(namesPath(REC_RUNTIME), io::Mode::Update);
        if (reopened) rt.seekTo(mark);
        writeFailureStops(status);
        if (reopened) {
            rt.free() << "    ";
            for (const std::string& text : completionLines(status)) rt.free() << text;
            rt.close();
        }
    }
}

}  // namespace kaldo
