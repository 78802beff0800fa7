// x^y at order 0: exact repeated squaring for a whole exponent, the exponential form otherwise.
#pragma once

#include "common/Extended.h"

// A whole exponent of magnitude up to 2147483647 multiplies by repeated squaring (the reciprocal
// for a negative one, so negative bases work and x^0 = 1); any other gives 0 for x = 0 and
// e^(y ln x) else, which faults for a negative base.
Extended PowerValue(Extended x, Extended y);
