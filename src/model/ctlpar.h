// The run parameters of the load case or combination under analysis.
#pragma once

namespace kaldo {

struct CtlPar {
};
inline CtlPar CTLPAR;

}  // namespace kaldo
