// Floating-point fault check: arithmetic runs without traps, and the sticky flags tell afterwards
// whether an invalid operation, a division by zero or an overflow happened.
#pragma once

void clearFloatFaults();
bool floatFaultRaised(); // invalid, division by zero or overflow since the last clear
bool invalidOrDivByZeroRaised();
