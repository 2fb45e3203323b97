// The file list: Names.dat binds every file of the run to its unit.
#include <string>

#include "io/units.h"
#include "model/files.h"
#include "run/run.h"
#include "services/host.h"
#include "services/status.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

struct UnitFile {
    int unit;
    int record;
    io::Mode mode;
    bool buffered;
};

// Files opened before the first progress message, in this order. The input data file is only read,
// never created; report files are emptied when opened, so that a report this run does not write never
// shows an earlier run's results as current.
const UnitFile FIRST_FILES[] = {
    {INPUT_UNIT, REC_INPUT, io::Mode::Read, false},
    {ECHO_UNIT, REC_ECHO, io::Mode::Write, false},
    {RESULTS_UNIT, REC_RESULTS, io::Mode::Write, true},
    {SUMMARY_UNIT, REC_SUMMARY, io::Mode::Write, true},
    {PLOT_UNIT, REC_PLOT, io::Mode::Write, false},
    {RUNTIME_UNIT, REC_RUNTIME, io::Mode::Write, false},
    {CASESTAT_UNIT, REC_CASESTATUS, io::Mode::Write, false},
    {PILERES_UNIT, REC_PILERES, io::Mode::Write, true},
    {AXTORS_UNIT, REC_AXTORS, io::Mode::Write, false},
    {MPHILIST_UNIT, REC_MPHILIST, io::Mode::ReadCreate, false},
};

// Files opened after it.
const UnitFile LATER_FILES[] = {
    {ITERLOG_UNIT, REC_ITERLOG, io::Mode::Write, false},
    {LTCURVE_UNIT, REC_LTCURVE, io::Mode::Write, false},
    {CAPTRACE_UNIT, REC_CAPTRACE, io::Mode::Write, false},
    {SUMCOLL_UNIT, REC_SUMCOLL, io::Mode::Write, false},
};

// Reads Names.dat from the current directory: the version text, three header lines, then one path per
// record. A missing or short list, or a path longer than a record holds, stops the run.
void readNames(int& status) {
    io::Unit& names = io::unit(NAMES_UNIT);
    if (!names.open("Names.dat", io::Mode::Read)) {
        reportFault(status, ST_NAMES, "the file list Names.dat cannot be opened in the current directory");
        return;
    }
    std::string line;
    for (int rec = 1; rec <= NAMESRECS; ++rec) {
        if (!names.nextLine(line)) {
            reportFault(status, ST_NAMES,
                        "the file list Names.dat ends at record " + std::to_string(rec - 1) + " of " +
                            std::to_string(NAMESRECS));
            break;
        }
        if (rec == 1) {
            line.resize(VERSIONLEN, ' ');
            FILENAMES.VERSION = line;
        } else if (rec >= REC_INPUT) {
            size_t end = line.find_last_not_of(' ');
            line.resize(end == std::string::npos ? 0 : end + 1);
            if (line.size() > size_t(PATHLEN)) {
                reportFault(status, ST_PATHLEN,
                            "record " + std::to_string(rec) + " of Names.dat is a path of " +
                                std::to_string(line.size()) + " characters (at most 256): " + line);
                break;
            }
            FILENAMES.RECORD(rec) = line;
        }
    }
    names.close();
}

// Opens one file of the list. When it fails and the runtime file is not open yet, the runtime file is
// opened first, so that the message lands where the host looks for it.
void openFile(const UnitFile& f, int& status) {
    const std::string& path = namesPath(f.record);
    if (io::unit(f.unit).open(path, f.mode, io::Form::Text, f.buffered)) return;
    if (!io::unit(RUNTIME_UNIT).isOpen())
        io::unit(RUNTIME_UNIT).open(namesPath(REC_RUNTIME), io::Mode::Write);
    if (f.unit == INPUT_UNIT)
        reportFault(status, ST_NOINPUT, "the input data file \"" + path + "\" cannot be opened for reading");
    else
        reportFault(status, ST_FILEOPEN,
                    "file \"" + path + "\" (record " + std::to_string(f.record) + " of Names.dat) cannot be opened");
}

}  // namespace

void SETFILES(int& status) {
    readNames(status);
    if (status != ST_OK) return;
    for (const UnitFile& f : FIRST_FILES) {
        openFile(f, status);
        if (status != ST_OK) return;
    }
    progressMessage({"- ANALYSIS STARTED", ""});
    for (const UnitFile& f : LATER_FILES) {
        openFile(f, status);
        if (status != ST_OK) return;
    }
    if (stopRequested()) status = ST_STOPPED;
}

}  // namespace kaldo
