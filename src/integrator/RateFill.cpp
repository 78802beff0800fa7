#include "integrator/RateFill.h"

#include "integrator/StepControl.h"
#include "integrator/WideRates.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace {

// The binary exponent e of a = m 2^e with 0.5 <= |m| < 1, as frexp gives it. A normal 80-bit
// value (integer bit set, exponent field neither 0 nor all ones) carries it in its top 16 bits;
// zero gives nothing (no rate); denormals, infinities and NaNs go through frexp itself.
inline bool binaryExponent(const Extended& a, std::int32_t& exponent) {
    std::uint64_t significand;
    std::uint16_t signAndExponent;
    std::memcpy(&significand, &a, sizeof significand);
    std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&a) + sizeof significand,
                sizeof signAndExponent);
    const std::int32_t field = signAndExponent & 0x7fff;
    if (field != 0 && field != 0x7fff && (significand >> 63) != 0) {
        exponent = field - 16382;
        return true;
    }
    if ((field == 0 && significand == 0) || a == 0)
        return false;
    int e = 0;
    std::frexp(a, &e);
    exponent = e;
    return true;
}

// The rate of one coefficient: e/i, or the sentinel (its numerator is the sentinel times i,
// exact below 2^24, so that the quotient is the sentinel).
inline float rateOf(const Extended& a, std::int32_t i) {
    std::int32_t exponent = 0;
    const float numerator = binaryExponent(a, exponent) ? static_cast<float>(exponent)
                                                        : RateSentinel * static_cast<float>(i);
    return numerator / static_cast<float>(i);
}

// The rates of a[i .. i+3] four at a time, as rateOf gives them for normal values and zeros;
// `unusual` gets all ones in the lane of any other value. Each 80-bit value lies in 16 bytes:
// the significand in the low 8, the sign and exponent field in the next 2 (the rest is padding).
inline __m128 fourRates(const Extended* a, std::int32_t i, __m128i& unusual) {
    const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 1));
    const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 2));
    const __m128i v3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 3));
    auto pick = [](__m128i x, __m128i y, int lanes) {
        return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(x), _mm_castsi128_ps(y), lanes));
    };
    const __m128i low01 = _mm_unpacklo_epi64(v0, v1), low23 = _mm_unpacklo_epi64(v2, v3);
    const __m128i high01 = _mm_unpackhi_epi64(v0, v1), high23 = _mm_unpackhi_epi64(v2, v3);
    const __m128i field =
        _mm_and_si128(pick(high01, high23, _MM_SHUFFLE(2, 0, 2, 0)), _mm_set1_epi32(0x7fff));
    const __m128i significandTop = pick(low01, low23, _MM_SHUFFLE(3, 1, 3, 1));
    const __m128i significandLow = pick(low01, low23, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128i zeroField = _mm_cmpeq_epi32(field, _mm_setzero_si128());
    const __m128i normal =
        _mm_andnot_si128(_mm_or_si128(zeroField, _mm_cmpeq_epi32(field, _mm_set1_epi32(0x7fff))),
                         _mm_srai_epi32(significandTop, 31));
    const __m128i zero =
        _mm_and_si128(zeroField, _mm_cmpeq_epi32(_mm_or_si128(significandTop, significandLow),
                                                 _mm_setzero_si128()));
    unusual =
        _mm_or_si128(unusual, _mm_andnot_si128(_mm_or_si128(normal, zero), _mm_set1_epi32(-1)));
    const __m128 order =
        _mm_cvtepi32_ps(_mm_add_epi32(_mm_set1_epi32(i), _mm_set_epi32(3, 2, 1, 0)));
    const __m128 exponent = _mm_cvtepi32_ps(_mm_sub_epi32(field, _mm_set1_epi32(16382)));
    const __m128 sentinel = _mm_mul_ps(_mm_set1_ps(RateSentinel), order);
    const __m128 numerator = _mm_or_ps(_mm_and_ps(_mm_castsi128_ps(normal), exponent),
                                       _mm_andnot_ps(_mm_castsi128_ps(normal), sentinel));
    return _mm_div_ps(numerator, order);
}

} // namespace

// The quotient is formed in single precision: |e| < 2^15 and i < 2^11, so e/i lies at least
// 2^-36 of itself away from any midpoint between two floats unless it is one, and the float
// division rounds to the same float as an extended division rounded to single would.
float fillRates(const EngineState& engine, const Extended* a, float* rate) {
    if (wideRatesFit(engine))
        if (const auto bound = wideFillRates(engine, a, rate))
            return *bound;
    return fillFourAtATime(engine, a, rate);
}

float fillFourAtATime(const EngineState& engine, const Extended* a, float* rate) {
    const std::int32_t n = engine.TermCount;
    rate[0] = RateSentinel;
    // Four coefficients at a time while four are left, the last ones one by one; an array with
    // a value that is neither normal nor zero is read again one by one.
    __m128i unusual = _mm_setzero_si128();
    std::int32_t i = 1;
    for (; i + 4 <= n; i += 4)
        _mm_storeu_ps(rate + i, fourRates(a, i, unusual));
    for (; i < n; ++i)
        rate[i] = rateOf(a[i], i);
    if (_mm_movemask_epi8(unusual) != 0)
        for (std::int32_t j = 1; j < n; ++j)
            rate[j] = rateOf(a[j], j);
    // The two largest rates, without branches, in four lanes: the second largest of all is the
    // larger of the lanes' second largest and the second largest of their largest.
    __m128 first = _mm_set1_ps(RateSentinel), second = first;
    for (i = 1; i + 4 <= n; i += 4) {
        const __m128 r = _mm_loadu_ps(rate + i);
        second = _mm_max_ps(second, _mm_min_ps(first, r));
        first = _mm_max_ps(first, r);
    }
    alignas(16) float firsts[4], seconds[4];
    _mm_store_ps(firsts, first);
    _mm_store_ps(seconds, second);
    float top = RateSentinel, next = RateSentinel;
    auto take = [&](float r) {
        next = std::max(next, std::min(top, r));
        top = std::max(top, r);
    };
    for (std::int32_t l = 0; l < 4; ++l) {
        take(firsts[l]);
        next = std::max(next, seconds[l]);
    }
    for (; i < n; ++i)
        take(rate[i]);
    return clusterBound(engine, next);
}
