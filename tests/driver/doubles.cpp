#include "driver/doubles.h"

#include "capstiff/capstiff.h"
#include "group/group.h"
#include "model/blocks.h"
#include "report/report.h"

namespace kaldo::test {

std::vector<Call> calls;
std::function<void(int& status)> onSolve;
bool flatNext = false;

void resetDoubles() {
    calls.clear();
    onSolve = nullptr;
    flatNext = false;
}

std::vector<std::string> routines() {
    std::vector<std::string> out;
    for (const Call& c : calls) out.push_back(c.routine);
    return out;
}

namespace {

Call record(const std::string& name, std::vector<double> args = {}) {
    Call c;
    c.routine = name;
    c.args = std::move(args);
    c.curcase = RUNPOINT.CURCASE;
    c.curcomb = RUNPOINT.CURCOMB;
    c.ipoint = RUNPOINT.IPOINT;
    c.iloop = RUNPOINT.ILOOP;
    c.pkind = RUNPOINT.PKIND;
    c.eqsact = EQSEST.EQSACT;
    c.eqsstate = EQSEST.EQSSTATE;
    c.eqsnh = EQSEST.EQSNH;
    c.eqsfac = EQSEST.EQSFAC;
    c.eqsdtgt = EQSEST.EQSDTGT;
    c.finc = CTLPAR.FINC;
    c.rfbend = CTLPAR.RFBEND;
    c.kmode = CTLPAR.KMODE;
    return c;
}

void solve(const char* name, int kind, int& status, std::array<double, 6>& P, std::array<double, 6>& PSP,
           std::array<double, 6>& USP, std::array<double, 6>& RSP, std::array<int, 6>& KDOF) {
    Call c = record(name, {double(kind)});
    c.P = P;
    c.PSP = PSP;
    c.USP = USP;
    c.RSP = RSP;
    c.KDOF = KDOF;
    calls.push_back(c);
    if (onSolve) onSolve(status);
}

}  // namespace
}  // namespace kaldo::test

namespace kaldo {

using test::calls;

void GRPSOL(int kind, int&, int& status, std::array<double, 6>&, std::array<double, 6>&, std::array<double, 6>& P,
            std::array<double, 6>& PSP, std::array<double, 6>& USP, std::array<double, 6>& RSP,
            std::array<int, 6>& KDOF) {
    test::solve("GRPSOL", kind, status, P, PSP, USP, RSP, KDOF);
}
void GRPSOL2D(int kind, int&, int& status, std::array<double, 6>&, std::array<double, 6>&,
              std::array<double, 6>& P, std::array<double, 6>& PSP, std::array<double, 6>& USP,
              std::array<double, 6>& RSP, std::array<int, 6>& KDOF) {
    test::solve("GRPSOL2D", kind, status, P, PSP, USP, RSP, KDOF);
}
void ENVRESET() { calls.push_back(test::record("ENVRESET")); }
void ENVRST2D() { calls.push_back(test::record("ENVRST2D")); }
void ENVEWR(int kind, int env) { calls.push_back(test::record("ENVEWR", {double(kind), double(env)})); }
void ENVEWR2D(int kind, int env) { calls.push_back(test::record("ENVEWR2D", {double(kind), double(env)})); }
void PLOTPILE(int p, int&) { calls.push_back(test::record("PLOTPILE", {double(p)})); }
void CAPSTFHDR(int basis, int antype) { calls.push_back(test::record("CAPSTFHDR", {double(basis), double(antype)})); }
void CAPTSTF(int&, int axial, int nlev, int point, double level, std::array<double, 6>&, std::array<double, 6>&,
             std::array<double, 36>&) {
    calls.push_back(test::record("CAPTSTF", {double(axial), double(nlev), double(point), level}));
}
void FLEXDOFHD(int pkind, int dof, int antype, int increments, int ndof, std::array<double, 6>& base, int& skip) {
    skip = base[dof - 1] == 0.0 ? 1 : 0;
    calls.push_back(test::record("FLEXDOFHD", {double(pkind), double(dof), double(antype), double(increments),
                                               double(ndof), double(skip)}));
}
void FLEXSTIF(int o1, int o2, int increments, int ndof, int six, Arr<double, 1, MAXFSD>&) {
    calls.push_back(test::record("FLEXSTIF", {double(o1), double(o2), double(increments), double(ndof), double(six)}));
}
void FLEXTAB(int pkind, int dof, int increments, int antype, int ndof, int& open) {
    calls.push_back(test::record("FLEXTAB", {double(pkind), double(dof), double(increments), double(antype),
                                             double(ndof), double(open)}));
}
void EQSTIFRD() { calls.push_back(test::record("EQSTIFRD")); }
void TGTFACT() {
    calls.push_back(test::record("TGTFACT"));
    EQSEST.EQSFAC = 0.75;  // the factor the interpolation would pick
    if (test::flatNext) EQSEST.EQSFLAT = 1;
    test::flatNext = false;
}

}  // namespace kaldo
