// The engine's one exported entry point.
#include "kaldo/kaldo.h"

#include "io/units.h"
#include "run/run.h"
#include "services/status.h"

extern "C" int IKALDO(int code) {
    if (code != 8) return kaldo::ST_WRONG_CALL;
    int status = kaldo::ST_OK;
    // Nothing may escape to the host: RUNMAIN already turns faults of its phases into a status; this
    // is the last line of defence for faults outside them.
    try {
        kaldo::RUNMAIN(status);
    } catch (...) {
        if (status == kaldo::ST_OK) status = kaldo::ST_INTERNAL;
        try {
            kaldo::io::closeAllUnits();
        } catch (...) {
        }
    }
    return status;
}
