// The flexible-cap analysis is not part of this version yet.
#include "flexcap/flexcap.h"
#include "services/pending.h"

namespace kaldo {

void FCAPRUN(Vec6&) { notBuilt("FCAPRUN", "flexible pile cap"); }

}  // namespace kaldo
