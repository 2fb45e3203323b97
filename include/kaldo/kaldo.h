/* Kaldo: calculation engine for pile-group foundations.
 *
 * The host writes the file list Names.dat and the input data file in its current directory, then
 * calls IKALDO(8) in its own process. The engine reads the list, runs the whole analysis, writes its
 * reports and returns the run's status: 0 when the analysis completed, 4 when the host asked it to stop
 * through the stop-request file, any other value an error code (the runtime file names it). Any code
 * other than 8 returns 1 at once and touches nothing. */
#ifndef KALDO_KALDO_H
#define KALDO_KALDO_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KALDO_BUILDING_LIBRARY)
#define KALDO_API __attribute__((visibility("default")))
#else
#define KALDO_API
#endif

KALDO_API int IKALDO(int code);

#ifdef __cplusplus
}
#endif

#endif
