#include "services/pending.h"

namespace kaldo {

void notBuilt(const char* routine, const char* what) {
    throw NotBuilt(std::string("analysis capability not built yet: ") + routine + " (" + what + ")");
}

}  // namespace kaldo
