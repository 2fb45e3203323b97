#include "services/warning.h"

#include <mutex>

#include "io/units.h"
#include "services/unitno.h"

namespace kaldo {

namespace {

std::mutex warningLock;

void record(io::Unit& u, const std::vector<std::string>& lines) {
    u.blankLines(1);
    u.line() << io::X{29} << "**** WARNING ****";
    for (const std::string& text : lines) u.line() << io::X{5} << text;
}

}  // namespace

void writeWarning(const std::vector<std::string>& lines, WarnUnits to, const std::string& resultsLead) {
    const std::lock_guard<std::mutex> hold(warningLock);
    io::Unit& results = io::unit(RESULTS_UNIT);
    if (!resultsLead.empty()) results.line() << resultsLead;
    record(results, lines);
    if (to == WarnUnits::ResultsAndRuntime) record(io::unit(RUNTIME_UNIT), lines);
}

void writeRecordTo(std::initializer_list<int> units, const std::vector<std::string>& lines) {
    const std::lock_guard<std::mutex> hold(warningLock);
    for (int unit : units) {
        io::Unit& u = io::unit(unit);
        for (const std::string& text : lines) u.line() << text;
    }
}

void writeRecordWhole(const std::vector<std::string>& lines) { writeRecordTo({RESULTS_UNIT, RUNTIME_UNIT}, lines); }

}  // namespace kaldo
