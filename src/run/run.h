// The run frame: one whole analysis from the file set-up to the completion report.
#pragma once

namespace kaldo {

// One whole analysis; always ends with ENDRUN.
void RUNMAIN(int& status);
// Completion message, execution time, summary assembly, closing of every file. Reads status only.
void ENDRUN(int& status);

// Reads the file list, opens the run's files, tells the host the analysis started and looks once for
// a stop request (ST_STOPPED).
void SETFILES(int& status);

}  // namespace kaldo
