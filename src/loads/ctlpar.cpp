#include "loads/loads.h"

#include "model/ctlpar.h"
#include "model/loadinput.h"

namespace kaldo {

void CTLPARCASE(int c) {
    CtlPar& p = CTLPAR;
    p.TOLCAP = LCREAL(c, 1);
    p.TOLPIL = LCREAL(c, 2);
    p.FINC = LCREAL(c, 3);
    p.FINCMIN = LCREAL(c, 4);
    p.TOLDEFA = LCREAL(c, 6);
    p.TOLROTA = LCREAL(c, 7);
    p.RFBEND = 1.0;
    p.RFSHEAR = 1.0;
    p.NCYCLES = static_cast<double>(LCPAR(c, 5));
    p.NTHRUSR = LCPAR(c, 3);
    p.KSTATIC = LCPAR(c, 4);
    p.MAXITG = LCPAR(c, 6);
    p.MAXITP = LCPAR(c, 7);
    p.KPRINT = LCCNT(c, 4);
    p.NPREVRY = LCCNT(c, 5);
    p.KALTTOL = LCCNT(c, 6);
    p.KAXVAR = LCCNT(c, 7);
    p.KEIPREV = LCCNT(c, 37);
    p.KMODE = LCOPT(c, 2);
}

void CTLPARCOMB(int m) {
    CtlPar& p = CTLPAR;
    p.TOLCAP = LCBREAL(m, 1);
    p.TOLPIL = LCBREAL(m, 2);
    p.FINC = LCBREAL(m, 3);
    p.FINCMIN = LCBREAL(m, 4);
    p.RFBEND = LCBREAL(m, 5);
    p.RFSHEAR = LCBREAL(m, 6);
    p.TOLDEFA = LCBREAL(m, 7);
    p.TOLROTA = LCBREAL(m, 8);
    p.NCYCLES = static_cast<double>(LCBPAR(m, 5));
    p.NTHRUSR = LCBPAR(m, 3);
    p.KSTATIC = LCBPAR(m, 4);
    p.MAXITG = LCBPAR(m, 6);
    p.MAXITP = LCBPAR(m, 7);
    p.KPRINT = LCBCNT(m, 2);
    p.NPREVRY = LCBCNT(m, 3);
    p.KALTTOL = LCBCNT(m, 4);
    p.KAXVAR = LCBCNT(m, 5);
    p.KEIPREV = LCBCNT(m, 34);
    p.KMODE = 0;
}

}  // namespace kaldo
