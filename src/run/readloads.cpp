// Reading of the load cases, the load combinations and the sets of distributed load.
#include "run/readin.h"

namespace kaldo {

void readLoadSections(InputFile&) {}

}  // namespace kaldo
