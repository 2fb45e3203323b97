// The header that every report starts with.
#pragma once

namespace kaldo {

// The report header written before the input is read: banners, file names, date block.
void reportHeader();
// The "Time and Date of Analysis" block on units 10, 14, 16, 18 and 32.
void ANLDATE();

}  // namespace kaldo
