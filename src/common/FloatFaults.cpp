#include "common/FloatFaults.h"

#include <cfenv>

void clearFloatFaults() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

bool floatFaultRaised() {
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0;
}

bool invalidOrDivByZeroRaised() {
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO) != 0;
}
