// The equivalent stiffness scratch tables is not part of this version yet.
#include "capstiff/capstiff.h"
#include "services/pending.h"

namespace kaldo {

void EQSTIFWR() { notBuilt("EQSTIFWR", "equivalent stiffness scratch file"); }

}  // namespace kaldo
