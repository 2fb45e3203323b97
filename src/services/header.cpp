// The header of every report: a framed version line, the names of the run's files and the date and
// time of the analysis.
#include "io/clock.h"
#include "io/units.h"
#include "model/files.h"
#include "services/header.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

const char* const PRODUCT = "Kaldo pile-group analysis, version ";

const char* const MONTHS[12] = {
    "Date:  January ", "Date:  February ", "Date:  March ",     "Date:  April ",
    "Date:  May ",     "Date:  June ",     "Date:  July ",      "Date:  August ",
    "Date:  September ", "Date:  October ", "Date:  November ", "Date:  December ",
};

void banner(io::Unit& u) {
    u.line() << io::X{5} << io::Rep{73, '='};
    u.endLine();
    u.line() << io::X{20} << PRODUCT << FILENAMES.VERSION;
    u.endLine();
    u.line() << io::X{5} << io::Rep{73, '='};
    u.blankLines(2);
}

void fileNames(io::Unit& u) {
    auto nameOf = [](int rec) {
        io::PathParts p = io::splitPath(namesPath(rec));
        return p.name + p.ext;
    };
    io::PathParts input = io::splitPath(namesPath(REC_INPUT));
    u.line() << io::X{5} << "Path to file locations      : " << input.drive << input.dir;
    u.line() << io::X{5} << "Name of input data file     : " << nameOf(REC_INPUT);
    u.line() << io::X{5} << "Name of output echo file    : " << nameOf(REC_ECHO);
    u.line() << io::X{5} << "Name of output results file : " << nameOf(REC_RESULTS);
    u.line() << io::X{5} << "Name of output summary file : " << nameOf(REC_SUMMARY);
    u.line() << io::X{5} << "Name of plot output file    : " << nameOf(REC_PLOT);
    u.line() << io::X{5} << "Name of runtime file        : " << nameOf(REC_RUNTIME);
    u.blankLines(2);
}

}  // namespace

void ANLDATE() {
    io::DateTime now = io::localDateTime();
    for (int n : {RUNTIME_UNIT, PILERES_UNIT, RESULTS_UNIT, SUMMARY_UNIT, ECHO_UNIT}) {
        io::Unit& u = io::unit(n);
        u.line() << io::X{5} << io::Rep{73, '-'};
        u.line() << io::X{26} << "Time and Date of Analysis";
        u.line() << io::X{5} << io::Rep{73, '-'};
        u.endLine();
        u.line() << io::X{15} << MONTHS[now.month - 1] << io::I(2, 2, now.day) << ", " << io::I(4, now.year)
                 << io::X{5} << "Time:  " << io::I(2, 2, now.hour) << ":" << io::I(2, 2, now.minute) << ":"
                 << io::I(2, 2, now.second);
    }
}

void reportHeader() {
    banner(io::unit(SUMMARY_UNIT));

    io::Unit& rt = io::unit(RUNTIME_UNIT);
    rt.endLine();
    rt.line() << io::X{10} << PRODUCT << FILENAMES.VERSION;
    rt.endLine();
    rt.flush();

    for (int n : {RESULTS_UNIT, PILERES_UNIT, ECHO_UNIT}) {
        banner(io::unit(n));
        fileNames(io::unit(n));
    }
    ANLDATE();
    io::unit(PILERES_UNIT).free();
}

}  // namespace kaldo
