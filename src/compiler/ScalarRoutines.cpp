#include "compiler/ScalarRoutines.h"

#include <cmath>
#include <cstdint>

Extended Factorial(Extended x) {
    Extended n = std::nearbyintl(x);
    Extended result = 1;
    for (Extended i = 2; i <= n && std::isfinite(result); i += 1)
        result *= i;
    return result;
}

Extended Binomial(Extended m, Extended n) {
    if (m < n || m < 0)
        return 0;
    if (n == 0 || n == m)
        return 1;
    Extended k = std::nearbyintl(std::fmin(n, m - n));
    if (k < 2)
        return m;
    // Every factor is at least about 1 and the product grows like 2^k, so for a huge k the loop
    // ends at the overflow long before k.
    Extended result = m;
    for (Extended i = 2; i <= k && std::isfinite(result); i += 1)
        result = result * (m - i + 1) / i;
    return result;
}

Extended Modulo(Extended m, Extended n) {
    // fmod is exact for every finite pair, where m - floor(m/n)*n loses the remainder as soon as
    // the quotient needs more than 64 bits. The floored remainder takes the sign of n: a truncated
    // one of the other sign moves up by n, which is one rounding of the true value.
    const Extended r = std::fmod(m, n);
    if (r == 0)
        return 0;
    return (r < 0) != (n < 0) ? r + n : r;
}

Extended LogBase(Extended a, Extended b) {
    Extended lnB = std::log(b);
    Extended lnA = std::log(a);
    return lnB / lnA;
}

static Extended wholePower(Extended base, std::int64_t exponent) {
    std::uint64_t remaining =
        exponent < 0 ? static_cast<std::uint64_t>(-exponent) : static_cast<std::uint64_t>(exponent);
    Extended result = 1;
    while (remaining != 0) {
        if (remaining & 1)
            result *= base;
        remaining >>= 1;
        if (remaining != 0)
            base *= base;
    }
    return exponent < 0 ? 1 / result : result;
}

Extended Power(Extended x, Extended y) {
    if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0L)
        return wholePower(x, static_cast<std::int64_t>(y));
    if (x == 0) {
        // 0 to a negative power is a pole, not 0: report it as a division by zero.
        return y > 0 ? 0 : 1 / x;
    }
    return std::exp(y * std::log(x));
}
