// The host's side of a running analysis: the progress file tells the host how far the run has come, the
// stop-request file lets the host stop it.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kaldo {

// Replaces the progress file's contents by the given free-form lines. Failures are ignored: the host's
// display is never worth stopping an analysis for.
void progressMessage(std::initializer_list<std::string_view> lines);
// The same with formatted lines, written as they stand.
void progressText(std::initializer_list<std::string> lines);
// Reads the stop-request file: true when the host asks to stop (the file holds the integer 1).
bool stopRequested();

}  // namespace kaldo
