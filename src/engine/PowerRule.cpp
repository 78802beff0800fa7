#include "engine/PowerRule.h"

#include <cmath>
#include <cstdint>

Extended PowerValue(Extended x, Extended y) {
    if (y == std::floor(y) && std::fabs(y) <= 2147483647.0L) {
        std::uint32_t n = static_cast<std::uint32_t>(std::fabs(y));
        Extended result = 1;
        Extended square = x;
        while (n != 0) {
            if (n & 1u)
                result *= square;
            n >>= 1;
            // Squaring past the last bit could overflow for nothing.
            if (n != 0)
                square *= square;
        }
        return y < 0 ? 1 / result : result;
    }
    if (x == 0)
        return 0;
    return std::exp(y * std::log(x));
}
