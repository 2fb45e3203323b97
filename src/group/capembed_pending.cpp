// The embedded pile cap resistance is not part of this version yet.
#include "group/group.h"
#include "services/pending.h"

namespace kaldo {

void CAPPASS(std::array<double, 6>&, const std::array<double, 6>&, int&) {
    notBuilt("CAPPASS", "embedded cap passive resistance");
}
void CAPPSTF(std::array<double, 36>&, const std::array<double, 6>&, const std::array<double, 6>&, int, int, int&) {
    notBuilt("CAPPSTF", "embedded cap passive resistance stiffness");
}
void CAPSPRF(std::array<double, 6>&, const std::array<double, 6>&, int&) {
    notBuilt("CAPSPRF", "embedded cap equivalent lateral spring");
}
void CAPSPRK(std::array<double, 36>&, const std::array<double, 6>&, const std::array<double, 6>&, int, int) {
    notBuilt("CAPSPRK", "embedded cap equivalent lateral spring stiffness");
}

}  // namespace kaldo
