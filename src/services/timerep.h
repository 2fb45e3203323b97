// Execution times on the runtime file.
#pragma once

namespace kaldo {

// Execution time of the run and the processor line, on the runtime file.
void TIMEREP();
// Execution time of the case that finished last, its processor line and its serial, parallel and
// print times, on the runtime file; sets the serial time.
void TIMEREP2();

}  // namespace kaldo
