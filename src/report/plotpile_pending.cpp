// The pile geometry records of the curve data file are not part of this version yet.
#include "report/report.h"
#include "run/pending.h"

namespace kaldo {

void PLOTPILE(int, int&) { notBuilt("PLOTPILE", "pile geometry records of the curve data file"); }

}  // namespace kaldo
