// The host protocol: the progress file tells the host how far the run has come; the stop-request file
// lets the host stop it.
#include <string>

#include "io/listread.h"
#include "io/units.h"
#include "model/files.h"
#include "services/host.h"
#include "services/unitno.h"

namespace kaldo {

void progressMessage(std::initializer_list<std::string_view> lines) {
    io::Unit& prog = io::unit(PROGRESS_UNIT);
    if (!prog.open(namesPath(REC_PROGRESS), io::Mode::Overwrite)) return;
    for (std::string_view text : lines) {
        if (text.empty())
            prog.free();
        else
            prog.free() << text;
        if (prog.writeFailed()) break;
    }
    prog.close();
}

void progressText(std::initializer_list<std::string> lines) {
    io::Unit& prog = io::unit(PROGRESS_UNIT);
    if (!prog.open(namesPath(REC_PROGRESS), io::Mode::Overwrite)) return;
    for (const std::string& text : lines) {
        prog.line() << text;
        if (prog.writeFailed()) break;
    }
    prog.close();
}

bool stopRequested() {
    io::Unit& stop = io::unit(STOP_UNIT);
    int value = 0;
    if (!stop.open(namesPath(REC_STOP), io::Mode::ReadCreate)) return false;
    try {
        io::ListRecord rec(stop, "stop request");
        rec >> value;
    } catch (const io::InputError&) {
        value = 0;
    }
    stop.close();
    return value == 1;
}

}  // namespace kaldo
