// Working soil layers and the soil property profiles along depth.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

struct SoilLay {
};
inline SoilLay SOILLAY;

struct SoilPrf {
};
inline SoilPrf SOILPRF;

}  // namespace kaldo
