// Lines of the flexibility scratch files.
#include "capstiff/flexscratch.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "io/format.h"
#include "model/files.h"
#include "services/status.h"

namespace kaldo {

namespace {

// A real of a scratch line. The general field writes an exponent of three digits without its letter
// (1.2345678-100), which the number itself then carries as a signed tail.
bool parseReal(const std::string& token, double& x) {
    const char* s = token.c_str();
    char* end = nullptr;
    errno = 0;
    x = std::strtod(s, &end);
    if (end == s) return false;
    if (*end == '\0') return true;
    if ((*end != '+' && *end != '-') || end[1] == '\0') return false;
    char* tail = nullptr;
    const long exponent = std::strtol(end, &tail, 10);
    if (*tail != '\0') return false;
    x = std::strtod((std::string(s, static_cast<std::size_t>(end - s)) + "E" + std::to_string(exponent)).c_str(), nullptr);
    return true;
}

[[noreturn]] void unreadable(const io::Unit& u, const std::string& why) {
    // A write that failed before (a full disk) left the file short: that failure is the one to report,
    // and the guard of the run reports it when the fault is of no code of its own.
    if (io::firstWriteFailure().any) throw std::runtime_error("flexibility scratch file short after a failed write");
    throw FileFault(ST_SCRATCHREAD, "flexibility scratch file \"" + u.path() + "\" cannot be read back: " + why);
}

}  // namespace

void writeFlexLine(io::Unit& u, int point, std::span<const double> values) {
    auto line = u.line();
    line << io::X{5} << io::I(5, point) << io::X{2};
    for (double x : values) line << io::PG{18, 8, x} << io::X{3};
}

void openFlexForReading(int unit, int record) { openListedFile(unit, record, io::Mode::Read); }

FlexLine readFlexLine(io::Unit& u, int count) {
    std::string text;
    if (!u.nextLine(text))
        unreadable(u, "it ends after line " + std::to_string(u.lineNumber()) + " while more lines are due");
    std::istringstream in(text);
    FlexLine out;
    std::string token;
    double number = 0.0;
    if (!(in >> token) || !parseReal(token, number) || number != static_cast<int>(number))
        unreadable(u, "line " + std::to_string(u.lineNumber()) + " does not start with a point number");
    out.point = static_cast<int>(number);
    for (int k = 0; k < count; ++k) {
        if (!(in >> token) || !parseReal(token, out.v[static_cast<std::size_t>(k)]))
            unreadable(u, "line " + std::to_string(u.lineNumber()) + " holds fewer than " + std::to_string(count) +
                              " values after its point number");
    }
    return out;
}

}  // namespace kaldo
