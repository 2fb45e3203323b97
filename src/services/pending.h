// Analysis capabilities that this version does not have yet end the run cleanly with ST_NOTBUILT and a
// message naming the routine, instead of reaching code that does not exist. The routine throws
// NotBuilt; the guard around each phase of the run turns it into the status (whatever the routine's
// own arguments are, so routines without a status word are covered too).
#pragma once

#include <stdexcept>
#include <string>

namespace kaldo {

struct NotBuilt : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void notBuilt(const char* routine, const char* what);

}  // namespace kaldo
