// The numbers of the units the run's files are bound to.
#pragma once

namespace kaldo {

inline constexpr int RUNTIME_UNIT = 10;   // runtime file: trace, warnings, completion message, times
inline constexpr int FLEX1_UNIT = 11;     // flexibility scratch file
inline constexpr int FLEX2_UNIT = 12;     // flexibility scratch file 2
inline constexpr int PILESCR_UNIT = 13;   // pile result scratch file
inline constexpr int PILERES_UNIT = 14;   // pile results file
inline constexpr int INPUT_UNIT = 15;     // input data file
inline constexpr int RESULTS_UNIT = 16;   // output results file
inline constexpr int PLOT_UNIT = 17;      // plot output file
inline constexpr int SUMMARY_UNIT = 18;   // output summary file
inline constexpr int CASESTAT_UNIT = 19;  // case status file
inline constexpr int AXTORS_UNIT = 20;    // axial-torsion listing
inline constexpr int PROGRESS_UNIT = 21;  // progress file
inline constexpr int STOP_UNIT = 22;      // stop-request file
inline constexpr int EQSTIFF_UNIT = 23;   // equivalent stiffness scratch file
inline constexpr int STIFFLOG_UNIT = 24;  // stiffness estimation log
inline constexpr int AXWARN_UNIT = 25;    // axial warning scratch file
inline constexpr int ITERLOG_UNIT = 26;   // iteration log
inline constexpr int LTCURVE_UNIT = 27;   // load-transfer curve file
inline constexpr int CURVEDATA_UNIT = 28; // curve data file
inline constexpr int CAPTRACE_UNIT = 29;  // cap stiffness trace file
inline constexpr int SUMCOLL_UNIT = 30;   // summary collection file
inline constexpr int NAMES_UNIT = 31;     // the file list while it is read
inline constexpr int ECHO_UNIT = 32;      // output echo file
inline constexpr int MPHILIST_UNIT = 33;  // moment-curvature listing (read)

}  // namespace kaldo
