#include "model/blocks.h"

namespace kaldo {

void resetAllBlocks() {
    resetBlock(FILENAMES);
    resetBlock(CTLIN);
    resetBlock(CAPIN);
    resetBlock(CAPFLX);
    resetBlock(PILEFAC);
    resetBlock(RUNCONST);
    resetBlock(RUNTIME);
    resetBlock(RUNSTATE);
}

}  // namespace kaldo
