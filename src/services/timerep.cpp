// Execution-time reports on the runtime file: the whole run, and each load case or combination.
#include "io/units.h"
#include "model/runblocks.h"
#include "services/timerep.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

const char* const TIMELABEL = "     Execution Time    :";
const char* const PROCLABEL = "     Number Processors :";

// The execution-time line of a duration t in seconds: milliseconds below one second, then seconds,
// minutes and hours as the duration grows. Parts are truncated, never rounded.
void executionTimeLine(double t) {
    io::Unit& rt = io::unit(RUNTIME_UNIT);
    if (t < 1.0) {
        rt.line() << TIMELABEL << io::I(5, static_cast<long long>(t * 1000.0)) << " ms";
        return;
    }
    long long s = static_cast<long long>(t);
    long long ms = static_cast<long long>((t - static_cast<double>(s)) * 1000.0);
    if (t < 60.0) {
        rt.line() << TIMELABEL << io::I(5, s) << " sec" << io::I(5, ms) << " ms";
    } else if (t < 3600.0) {
        rt.line() << TIMELABEL << io::I(5, s / 60) << " min" << io::I(5, s % 60) << " sec" << io::I(5, ms)
                  << " ms";
    } else {
        rt.line() << TIMELABEL << io::I(8, s / 3600) << " hr" << io::I(5, s / 60 - (s / 3600) * 60) << " min"
                  << io::I(5, s % 60) << " sec" << io::I(5, ms) << " ms";
    }
}

void processorLine(int used) {
    io::unit(RUNTIME_UNIT).line() << PROCLABEL << io::I(3, used) << "/" << io::I(2, RUNTIME.RUNTHRMAX);
}

}  // namespace

void TIMEREP() {
    executionTimeLine(RUNTIME.RUNT0);
    processorLine(RUNTIME.RUNTHRPEAK2);
}

void TIMEREP2() {
    double t = RUNTIME.RUNTCASE;
    executionTimeLine(t);
    processorLine(RUNTIME.RUNTHRPEAK);
    RUNTIME.RUNTSER = t - RUNTIME.RUNTPAR - RUNTIME.RUNTPRT;
    io::Unit& rt = io::unit(RUNTIME_UNIT);
    rt.line() << "     Serial processing :" << io::F{10, 3, RUNTIME.RUNTSER} << " sec";
    rt.line() << "     Paral. processing :" << io::F{10, 3, RUNTIME.RUNTPAR} << " sec";
    rt.line() << "     Print. processing :" << io::F{10, 3, RUNTIME.RUNTPRT} << " sec";
}

}  // namespace kaldo
