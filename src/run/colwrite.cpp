#include "run/colwrite.h"

namespace kaldo {

void WCOLEOL(io::Unit& u) {
    u.put(" ");
    u.endLine();
}

}  // namespace kaldo
