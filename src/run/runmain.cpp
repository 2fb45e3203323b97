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
    } catch (const std::exception& e) {
        reportFault(status, ST_INTERNAL, std::string("internal error: ") + e.what());
    } catch (...) {
        reportFault(status, ST_INTERNAL, "internal error of unknown kind");
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

    guarded(status, [&] { SETFILES(status); });
    if (status == ST_OK) guarded(status, [&] { READIN(status); });
    RUNTIME.RUNTHRMAX = omp_get_max_threads();
    RUNTIME.RUNTHRPEAK = 1;
    RUNTIME.RUNTHRPEAK2 = 1;
    if (status == ST_OK) guarded(status, [&] { CONVIN(); });
    if (status == ST_OK) guarded(status, [&] { ECHOIN(status); });
    if (status == ST_OK) {
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
    io::Unit& rt = io::unit(RUNTIME_UNIT);
    rt.free() << "    ";
    for (const std::string& text : completionLines(status)) rt.free() << text;
    rt.flush();
    TIMEREP();

    if (status == ST_STOPPED) {
        for (int u : {RESULTS_UNIT, SUMMARY_UNIT}) {
            io::unit(u).free() << "     ";
            io::unit(u).free() << "     *** ANALYSIS STOPPED BY USER ***";
        }
    }

    assembleSummary();

    for (int u : {INPUT_UNIT, RESULTS_UNIT, ECHO_UNIT, SUMMARY_UNIT, PLOT_UNIT, RUNTIME_UNIT, CASESTAT_UNIT, PILERES_UNIT, FLEX1_UNIT, AXTORS_UNIT, ITERLOG_UNIT, LTCURVE_UNIT,
                  CURVEDATA_UNIT, CAPTRACE_UNIT, SUMCOLL_UNIT, MPHILIST_UNIT})
        io::unit(u).close();
}

}  // namespace kaldo
