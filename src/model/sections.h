// Working pile property sets and their section table.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct PileSets {
};
inline PileSets PILESET;

struct SectTab {
};
inline SectTab SECTTAB;

}  // namespace kaldo
