#include "integrator/WideRates.h"

#include "common/WideVectors.h"
#include "integrator/RateFill.h"
#include "integrator/RateNetwork.h"
#include "integrator/StepControl.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// The rates of entries first .. first + 15 as fillRates forms them: e/i from the binary exponent
// e of a normal entry, the sentinel for entry 0 and for zeros, -infinity for lanes at n and
// beyond (read from nowhere). `unusual` gets the lanes holding any other value.
//
// Each 80-bit entry lies in 16 bytes: dwords 0 and 1 its significand's low and high halves,
// dword 2 its sign and exponent. Two rounds of two-register permutes gather those dwords of
// sixteen entries into lanes.
[[gnu::always_inline]] __attribute__((target("avx512f"))) inline __m512
sixteenRates(const Extended* a, std::int32_t first, std::int32_t n, __mmask16& unusual) {
    const __m512i halvesOfEight =
        _mm512_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28, 1, 5, 9, 13, 17, 21, 25, 29);
    // (Only the first eight lanes of the fields are gathered on; the rest repeat them.)
    const __m512i fieldsOfEight =
        _mm512_setr_epi32(2, 6, 10, 14, 18, 22, 26, 30, 2, 6, 10, 14, 18, 22, 26, 30);
    const __m512i lowHalves =
        _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23);
    const __m512i highHalves =
        _mm512_setr_epi32(8, 9, 10, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29, 30, 31);
    __m512i quarter[4];
    for (std::int32_t q = 0; q < 4; ++q) {
        const std::int32_t entries = n - first - 4 * q;
        quarter[q] = _mm512_maskz_loadu_epi32(firstLanes(4 * entries), a + first + 4 * q);
    }
    const __m512i halves01 = _mm512_permutex2var_epi32(quarter[0], halvesOfEight, quarter[1]);
    const __m512i halves23 = _mm512_permutex2var_epi32(quarter[2], halvesOfEight, quarter[3]);
    const __m512i fields01 = _mm512_permutex2var_epi32(quarter[0], fieldsOfEight, quarter[1]);
    const __m512i fields23 = _mm512_permutex2var_epi32(quarter[2], fieldsOfEight, quarter[3]);
    const __m512i significandLow = _mm512_permutex2var_epi32(halves01, lowHalves, halves23);
    const __m512i significandTop = _mm512_permutex2var_epi32(halves01, highHalves, halves23);
    const __m512i field = _mm512_and_si512(_mm512_permutex2var_epi32(fields01, lowHalves, fields23),
                                           _mm512_set1_epi32(0x7fff));

    const __m512i order =
        _mm512_add_epi32(_mm512_set1_epi32(first),
                         _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    const __mmask16 present = _mm512_cmplt_epi32_mask(order, _mm512_set1_epi32(n));
    const __mmask16 rated = present & _mm512_cmpgt_epi32_mask(order, _mm512_setzero_si512());
    const __mmask16 zeroField = _mm512_cmpeq_epi32_mask(field, _mm512_setzero_si512());
    const __mmask16 topBit = _mm512_cmplt_epi32_mask(significandTop, _mm512_setzero_si512());
    const __mmask16 fullField = _mm512_cmpeq_epi32_mask(field, _mm512_set1_epi32(0x7fff));
    const __mmask16 normal = static_cast<__mmask16>(topBit & ~zeroField & ~fullField);
    const __m512i significand = _mm512_or_si512(significandTop, significandLow);
    const __mmask16 zero = zeroField & _mm512_testn_epi32_mask(significand, significand);
    unusual = static_cast<__mmask16>(unusual | (rated & ~(normal | zero)));

    // Lanes divide only where an entry has a rate, so no lane raises a flag; the sentinel's
    // numerator is the sentinel times i, exact, so that the quotient is the sentinel.
    const __m512 orders = _mm512_cvtepi32_ps(order);
    const __m512 exponent = _mm512_cvtepi32_ps(_mm512_sub_epi32(field, _mm512_set1_epi32(16382)));
    const __m512 numerator =
        _mm512_mask_blend_ps(normal, _mm512_mul_ps(_mm512_set1_ps(RateSentinel), orders), exponent);
    const __m512 outside =
        _mm512_mask_blend_ps(present, _mm512_set1_ps(-std::numeric_limits<float>::infinity()),
                             _mm512_set1_ps(RateSentinel));
    return _mm512_mask_div_ps(outside, rated, numerator, orders);
}

} // namespace

bool wideRatesFit(const EngineState& engine) {
    // The cluster search keeps its starts in the first register.
    return engine.TermCount <= 32 && engine.RateTop < engine.TermCount &&
           engine.RateTop - engine.RateWindow < 16 && hasWideVectors();
}

__attribute__((target("avx512f"))) std::optional<float>
wideFillRates(const EngineState& engine, const Extended* a, float* rate) {
    const std::int32_t n = engine.TermCount;
    __mmask16 unusual = 0;
    const __m512 low = sixteenRates(a, 0, n, unusual);
    const __m512 high = sixteenRates(a, 16, n, unusual);
    if (unusual != 0)
        return std::nullopt;
    _mm512_mask_storeu_ps(rate, firstLanes(n), low);
    _mm512_mask_storeu_ps(rate + 16, firstLanes(n - 16), high);
    // The second largest rate of entries 1 on, no less than the sentinel: the larger of the
    // lanes' smaller and of the lanes' larger once their largest is taken out.
    const __m512 none = _mm512_set1_ps(-std::numeric_limits<float>::infinity());
    const __m512 fromOne = _mm512_mask_blend_ps(1, low, none);
    const __m512 larger = _mm512_max_ps(fromOne, high);
    const float largest = _mm512_reduce_max_ps(larger);
    const __mmask16 atLargest = _mm512_cmpeq_ps_mask(larger, _mm512_set1_ps(largest));
    const __mmask16 oneLargest = static_cast<__mmask16>(atLargest & -atLargest);
    const float secondLargest =
        std::max(_mm512_reduce_max_ps(_mm512_max_ps(_mm512_mask_blend_ps(oneLargest, larger, none),
                                                    _mm512_min_ps(fromOne, high))),
                 RateSentinel);
    return clusterBound(engine, secondLargest);
}

__attribute__((target("avx512f"))) float wideClusterMean(const EngineState& engine,
                                                         const float* rate) {
    const std::int32_t n = engine.TermCount;
    const std::int32_t top = engine.RateTop;
    const std::int32_t window = engine.RateWindow;
    const __m512 none = _mm512_set1_ps(-std::numeric_limits<float>::infinity());
    __m512 low = _mm512_mask_loadu_ps(none, firstLanes(n), rate);
    __m512 high = _mm512_mask_loadu_ps(none, firstLanes(n - 16), rate + 16);
    sortDescending(low, high);

    // The tightest cluster of window + 1 consecutive rates, as clusterMean finds it: spread[i] =
    // rate[i] - rate[i + window]; the search runs over starts 1 .. top - window and stops at the
    // first sentinel; the first start whose spread is below spread[0] and below every earlier one
    // wins, which is the first start holding the least spread when that is below spread[0].
    const __m512i lane = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512 behind =
        _mm512_permutex2var_ps(low, _mm512_add_epi32(lane, _mm512_set1_epi32(window)), high);
    // Only the lanes that hold a start (or spread[0]) subtract: beyond them an empty lane's
    // -infinity minus -infinity would raise the invalid-operation flag the step checks.
    const __m512 spread = _mm512_maskz_sub_ps(firstLanes(top - window + 1), low, behind);
    const float firstSpread = _mm512_cvtss_f32(spread);
    const std::uint32_t sentinels =
        _mm512_cmpeq_ps_mask(low, _mm512_set1_ps(RateSentinel)) & 0xfffeu;
    const std::int32_t end =
        std::min(top - window + 1, sentinels != 0 ? __builtin_ctz(sentinels) : 16);
    const __mmask16 starts = static_cast<__mmask16>(firstLanes(end) & 0xfffeu);
    const float least = _mm512_mask_reduce_min_ps(starts, spread);
    std::int32_t start = 1;
    if (starts != 0 && least < firstSpread)
        start = __builtin_ctz(_mm512_mask_cmpeq_ps_mask(starts, spread, _mm512_set1_ps(least)));

    alignas(64) float sorted[32];
    _mm512_store_ps(sorted, low);
    _mm512_store_ps(sorted + 16, high);
    float sum = 0;
    for (std::int32_t i = start; i <= start + window; ++i)
        sum += sorted[i];
    return sum / static_cast<float>(window + 1);
}
