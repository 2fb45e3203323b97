#include "loads/loads.h"

#include <iterator>

namespace kaldo {

std::string LOADTYPE(int code) {
    // Indexed by the load type code 0 to 11.
    static constexpr const char* kNames[] = {
        "Dead, DL",   "Live, LL",      "Seismic, EQ", "Impact, IM", "Wind, WN", "Water, WT",
        "Ice, IC",    "Soils, Hsl",    "Roof Live, Lr", "Rain, Rn", "Snow, Sn", "Temperature, Tm",
    };
    constexpr int kCodes = static_cast<int>(std::size(kNames));
    std::string name = (code >= 0 && code < kCodes) ? kNames[code] : "Special, Sp";
    name.resize(32, ' ');
    return name;
}

}  // namespace kaldo
