// The scalar routines behind the once-only evaluation of "!", mCn, mod, log and "^".
#pragma once

#include "common/Extended.h"

// x rounded to the nearest integer (ties to even); 1 below 2, otherwise 2*3*...*n. Stops at the
// first overflow, so a huge argument returns infinity at once instead of looping.
Extended Factorial(Extended x);
// m over n; m need not be whole, only the number of factors is.
Extended Binomial(Extended m, Extended n);
// The floored remainder m - floor(m/n)*n, computed exactly; it has the sign of n (or is 0).
Extended Modulo(Extended m, Extended n);
// The logarithm of b to the base a: ln b / ln a.
Extended LogBase(Extended a, Extended b);
// x^y: a whole exponent by repeated squaring (negative bases work, x^0 = 1), otherwise
// e^(y ln x), with 0^y = 0 for y > 0.
Extended Power(Extended x, Extended y);
