// The p-y records of the curve data file are not part of this version yet.
#include "services/pending.h"
#include "soil/lateral/lateral.h"

namespace kaldo {

void PYPLOTPILE(int, int&) { notBuilt("PYPLOTPILE", "p-y curve records of the curve data file"); }

}  // namespace kaldo
