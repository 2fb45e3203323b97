// Report column writers: pieces of a report line written one at a time, and the end of the line.
#pragma once

#include "io/units.h"

namespace kaldo {

// One blank and the end of the line.
void WCOLEOL(io::Unit& u);

}  // namespace kaldo
