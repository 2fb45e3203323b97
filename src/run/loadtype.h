// Names of the load types that load cases carry.
#pragma once

#include <string>

namespace kaldo {

// The 32-character name (left-aligned, blank-filled) of load type code; unknown codes are special loads.
std::string LOADTYPE(int code);

}  // namespace kaldo
