#include "model/blocks.h"

namespace kaldo {

void resetAllBlocks() {
    // Whatever the threads kept from the model before is of another model from now on.
    ++RUNGENERATION;
    resetBlock(FILENAMES);
    resetBlock(CTLIN);
    resetBlock(CAPIN);
    resetBlock(CAPFLX);
    resetBlock(PILEFAC);
    resetBlock(RUNCONST);
    resetBlock(RUNTIME);
    resetBlock(RUNSTATE);
    // Load cases, combinations, distributed loads.
    resetBlock(LCDEF);
    resetBlock(LCPAR);
    resetBlock(LCREAL);
    resetBlock(LCOPT);
    resetBlock(LCCNT);
    resetBlock(LCCL);
    resetBlock(LCDL);
    resetBlock(FSDDAT);
    resetBlock(LCSD);
    resetBlock(LCBDEF);
    resetBlock(LCBPAR);
    resetBlock(LCBREAL);
    resetBlock(LCBCNT);
    resetBlock(LCBLST);
    resetBlock(OPTENV);
    resetBlock(DLS);
    // Piles, sections, soils, curves and requests as read.
    resetBlock(GRPIN3);
    resetBlock(GRPIN2);
    resetBlock(PILESETIN);
    resetBlock(SECTIN);
    resetBlock(SOILIN);
    resetBlock(PYPRT);
    resetBlock(PYUSRIN);
    resetBlock(GENLISTS);
    resetBlock(TZUSRIN);
    resetBlock(TQUSRIN);
    resetBlock(MPHIIN);
    resetBlock(MPHIGENIN);
    resetBlock(RFD);
    resetBlock(SMOV);
    resetBlock(OPTCRV);
    // Working tables.
    resetBlock(PILE);
    resetBlock(PYUSR);
    resetBlock(TZCRV);
    resetBlock(TQCRV);
    resetBlock(AXLSTAB);
    resetBlock(PILESET);
    resetBlock(SECTTAB);
    resetBlock(MPHI);
    resetBlock(SOILLAY);
    resetBlock(SOILPRF);
    resetBlock(CTLPAR);
    resetBlock(WRKNODE);
    // Pile nodes, the soil bookkeeping of the p-y springs and the p-y mode words.
    resetBlock(NODES);
    resetBlock(PYDRV);
    resetBlock(PYMODE);
    resetBlock(PYPLOT);
    resetBlock(RUNPOINT);
    resetBlock(ENVCTL);
    resetBlock(EQSEST);
    // Per-pile soil movement, equivalent stiffnesses, result stores and envelopes.
    resetBlock(SMPROF);
    resetBlock(EQSSOL);
    resetBlock(RESCUR);
    resetBlock(ENVMIN);
    resetBlock(ENVMAX);
    // Unit labels and column titles.
    resetBlock(LABELS);
}

}  // namespace kaldo
