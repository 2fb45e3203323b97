// The embedded pile cap resistance is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void CAPPASS(Vec6&, const Vec6&, int&) {
    notBuilt("CAPPASS", "embedded cap passive resistance");
}
void CAPPSTF(Mat6&, const Vec6&, const Vec6&, int, int, int&) {
    notBuilt("CAPPSTF", "embedded cap passive resistance stiffness");
}
void CAPSPRF(Vec6&, const Vec6&, int&) {
    notBuilt("CAPSPRF", "embedded cap equivalent lateral spring");
}
void CAPSPRK(Mat6&, const Vec6&, const Vec6&, int, int) {
    notBuilt("CAPSPRK", "embedded cap equivalent lateral spring stiffness");
}

}  // namespace kaldo
