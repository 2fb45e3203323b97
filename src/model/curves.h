// Working curve tables: user p-y curves, axial load-settlement and torque-rotation curves.
#pragma once

#include "model/arr.h"
#include "model/capacity.h"

namespace kaldo {

// User p-y curves.
struct PyUsr {
    int NPYSET = 0;  // number of sets
};
inline PyUsr PYUSR;

}  // namespace kaldo
