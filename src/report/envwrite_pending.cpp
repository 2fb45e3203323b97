// The envelope reports are not part of this version yet.
#include "report/report.h"
#include "run/pending.h"

namespace kaldo {

void ENVRESET() { notBuilt("ENVRESET", "envelope reset"); }
void ENVRST2D() { notBuilt("ENVRST2D", "plane envelope reset"); }
void ENVEWR(int, int) { notBuilt("ENVEWR", "results and envelope report"); }
void ENVEWR2D(int, int) { notBuilt("ENVEWR2D", "plane results and envelope report"); }

}  // namespace kaldo
