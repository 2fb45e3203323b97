// Pile-cap stiffness estimation and cap flexibility are not part of this version yet.
#include "capstiff/capstiff.h"
#include "services/pending.h"

namespace kaldo {

void CAPSTFHDR(int, int) { notBuilt("CAPSTFHDR", "pile-cap stiffness estimation heading"); }
void CAPTSTF(int&, int, int, int, double, Vec6&, Vec6&, Mat6&) {
    notBuilt("CAPTSTF", "equivalent stiffness matrix at the cap origin");
}
void EQSTIFRD() { notBuilt("EQSTIFRD", "equivalent stiffness read-back"); }
void TGTFACT() { notBuilt("TGTFACT", "target-deflection load factor"); }

}  // namespace kaldo
