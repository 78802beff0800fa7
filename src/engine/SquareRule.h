// Coefficient k >= 1 of u^2, summed as the engine's tables fix it.
#pragma once

#include "common/Extended.h"

#include <cstdint>

// With g = (k-1)/2 and s = sum of u[l] u[k-l] for l = 0..g: 2s for odd k, u[k/2]^2 + 2s for even k.
// `u` is anything indexed like an array of coefficients.
template <class Coefficients> inline Extended squareRule(const Coefficients& u, std::int32_t k) {
    const std::int32_t g = (k - 1) / 2;
    Extended s = 0;
    for (std::int32_t l = 0; l <= g; ++l)
        s += u[l] * u[k - l];
    if (k % 2 != 0)
        return 2 * s;
    return u[k / 2] * u[k / 2] + 2 * s;
}
