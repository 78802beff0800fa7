// The first half of the radius estimate: the growth rate e/i of every coefficient of an array,
// read from the binary exponents, and a bound on the rate the array's cluster can give.
#pragma once

#include "engine/EngineState.h"

// Fills rate[0 .. N-1] with the rate e/i of every coefficient a[i], e its binary exponent as
// frexp gives it (the sentinel for a[0] and for zeros), and returns a bound that the mean of
// any cluster of RateWindow + 1 rates from sorted position 1 on cannot exceed.
float fillRates(const EngineState& engine, const Extended* a, float* rate);
// The same four coefficients at a time, on any processor.
float fillFourAtATime(const EngineState& engine, const Extended* a, float* rate);

// The bound on the mean of any cluster of RateWindow + 1 rates from sorted position 1 on, given
// the second largest rate. Every such cluster's rates are no larger than it; float sums and
// quotients round monotonically, so the mean of window + 1 copies of it, formed as a cluster's
// mean is formed, bounds every cluster's.
inline float clusterBound(const EngineState& engine, float secondLargest) {
    float sum = 0;
    for (std::int32_t p = 0; p <= engine.RateWindow; ++p)
        sum += secondLargest;
    return sum / static_cast<float>(engine.RateWindow + 1);
}
