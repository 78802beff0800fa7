#include "common/FloatFaults.h"

#include <cfenv>

void clearFloatFaults() {
    // What feclearexcept(FE_ALL_EXCEPT) does on the x87 machines the program runs on, without
    // saving and reloading the whole x87 environment (which costs more than an order of a small
    // jet): clear the x87 status flags, then the SSE ones in MXCSR.
    __asm__ volatile("fnclex");
    __builtin_ia32_ldmxcsr(__builtin_ia32_stmxcsr() & ~static_cast<unsigned>(FE_ALL_EXCEPT));
}

bool floatFaultRaised() {
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0;
}

bool invalidOrDivByZeroRaised() {
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO) != 0;
}
