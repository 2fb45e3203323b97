// Every global block of the model, and the reset that starts each run from clean blocks.
#pragma once

#include "model/ctlpar.h"
#include "model/curves.h"
#include "model/eqssol.h"
#include "model/files.h"
#include "model/input.h"
#include "model/labels.h"
#include "model/loadinput.h"
#include "model/modelinput.h"
#include "model/mphi.h"
#include "model/nodes.h"
#include "model/pilefac.h"
#include "model/piles.h"
#include "model/pydrv.h"
#include "model/pymode.h"
#include "model/results.h"
#include "model/runblocks.h"
#include "model/runpoint.h"
#include "model/sections.h"
#include "model/smovpile.h"
#include "model/soils.h"
#include "model/tzset.h"
#include "model/wrknode.h"

namespace kaldo {

// Returns every block to its state at program start (numbers 0, texts empty, declared defaults).
void resetAllBlocks();

}  // namespace kaldo
