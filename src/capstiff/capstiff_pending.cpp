// Pile-cap stiffness estimation and cap flexibility are not part of this version yet.
#include "capstiff/capstiff.h"
#include "services/pending.h"

namespace kaldo {

void FLEXDOFHD(int, int, int, int, int, Vec6&, int&) {
    notBuilt("FLEXDOFHD", "cap flexibility point heading");
}
void FLEXSTIF(int, int, int, int, int, Arr<double, 1, MAXFSD>&) {
    notBuilt("FLEXSTIF", "cap stiffness from the flexibility results");
}
void FLEXTAB(int, int, int, int, int, int&) { notBuilt("FLEXTAB", "cap flexibility table"); }

}  // namespace kaldo
