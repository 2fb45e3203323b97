#include "services/ucv.h"

#include "model/input.h"

namespace kaldo {

namespace {

bool kips() { return CTLIN.UNITS == 1 && CTLIN.KKIPS == 1; }
bool english() { return CTLIN.UNITS != 2; }
bool si() { return CTLIN.UNITS == 2; }

double times(double x, double f, int n) {
    for (int i = 0; i < n; ++i) x *= f;
    return x;
}
double over(double x, double f, int n) {
    for (int i = 0; i < n; ++i) x /= f;
    return x;
}

}  // namespace

double UCVKIPDIV(double x) { return kips() ? x / 1000.0 : x; }
double UCVKIPMUL(double x) { return kips() ? x * 1000.0 : x; }

double UCVD12(double x) { return english() ? over(x, 12.0, 1) : x; }
double UCVM12(double x) { return english() ? times(x, 12.0, 1) : x; }
double UCVM144(double x) { return english() ? times(x, 12.0, 2) : x; }
double UCVD144(double x) { return english() ? over(x, 12.0, 2) : x; }
double UCVM1728(double x) { return english() ? times(x, 12.0, 3) : x; }
double UCVD1728(double x) { return english() ? over(x, 12.0, 3) : x; }

double UCVM1E3(double x) { return si() ? times(x, 1000.0, 1) : x; }
double UCVD1E3(double x) { return si() ? over(x, 1000.0, 1) : x; }
double UCVM1E6(double x) { return si() ? times(x, 1000.0, 2) : x; }
double UCVD1E6(double x) { return si() ? over(x, 1000.0, 2) : x; }
double UCVM1E12(double x) { return si() ? times(x, 1000.0, 4) : x; }
double UCVD1E12(double x) { return si() ? over(x, 1000.0, 4) : x; }

}  // namespace kaldo
