// The plane results and envelope report is not part of this version yet.
#include "report/report.h"
#include "services/pending.h"

namespace kaldo {

void ENVEWR2D(int, int) { notBuilt("ENVEWR2D", "plane results and envelope report"); }

}  // namespace kaldo
