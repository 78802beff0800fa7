// The program's one real type: the x87 80-bit extended real.
#pragma once

#include <limits>

using Extended = long double;

static_assert(std::numeric_limits<Extended>::digits == 64,
              "Orvanta needs the 80-bit extended real with its 64-bit significand");
static_assert(std::numeric_limits<Extended>::max_exponent == 16384,
              "Orvanta needs the 15-bit exponent of the 80-bit extended real");
