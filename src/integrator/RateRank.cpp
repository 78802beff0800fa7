#include "integrator/RateRank.h"

#include "common/WideVectors.h"

#include <algorithm>
#include <limits>

// GCC 12's 512-bit intrinsics start their results from a deliberately undefined register and then
// warn about it where they are inlined (its bug 105593).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

namespace {

// Arrays up to this length are counted, longer ones sorted by insertion.
constexpr std::int32_t CountedRates = 64;
// Arrays up to this length fit the sorting network's two registers.
constexpr std::int32_t NetworkRates = 32;

// The top + 1 largest of rate[0 .. n-1], n <= Width, in descending order at the front. Each
// rate's place is the number of rates above it plus the number of equal ones before it: a fixed
// number of comparisons without branches that run eight at a time, where insertion mispredicts a
// branch for nearly every rate.
template <std::int32_t Width>
[[gnu::always_inline]] inline void countPlacesOf(float* rate, std::int32_t n, std::int32_t top) {
    alignas(32) float source[Width];
    alignas(32) std::int32_t index[Width];
    float ranked[Width];
    std::copy_n(rate, n, source);
    std::fill(source + n, source + Width, -std::numeric_limits<float>::infinity());
    for (std::int32_t j = 0; j < Width; ++j)
        index[j] = j;
    alignas(32) std::int32_t place[Width] = {};
    for (std::int32_t j = 0; j < Width; ++j) {
        const float s = source[j];
        for (std::int32_t i = 0; i < Width; ++i)
            place[i] += (s > source[i]) | ((s == source[i]) & (j < index[i]));
    }
    for (std::int32_t i = 0; i < n; ++i)
        ranked[place[i]] = source[i];
    std::copy_n(ranked, top + 1, rate);
}

__attribute__((target_clones("avx2", "default"))) void countPlaces(float* rate, std::int32_t n,
                                                                   std::int32_t top) {
    if (n <= 32)
        countPlacesOf<32>(rate, n, top);
    else
        countPlacesOf<CountedRates>(rate, n, top);
}

// The same by insertion: the first top + 1 are sorted, then each later rate above the smallest
// kept one is moved into its place.
void insertLargest(float* rate, std::int32_t n, std::int32_t top) {
    for (std::int32_t i = 1; i < n; ++i) {
        const float r = rate[i];
        std::int32_t j = std::min(i, top + 1);
        if (j > top && r <= rate[top])
            continue;
        if (j > top)
            j = top;
        while (j > 0 && rate[j - 1] < r) {
            rate[j] = rate[j - 1];
            --j;
        }
        rate[j] = r;
    }
}

// The lanes of a comparison stage of the bitonic network that keep the larger of their pair: the
// network sorts blocks of k into alternating directions and compares entries j apart; entry g of
// a block meant to descend keeps the larger value when it is the first of its pair.
constexpr __mmask16 largerLanes(std::int32_t j, std::int32_t k, std::int32_t offset) {
    __mmask16 lanes = 0;
    for (std::int32_t lane = 0; lane < 16; ++lane) {
        const std::int32_t g = lane + offset;
        if (((g & j) == 0) == ((g & k) == 0))
            lanes = static_cast<__mmask16>(lanes | 1u << lane);
    }
    return lanes;
}

// Each lane's partner j lanes away (j < 16), by the cheapest shuffle that reaches it.
template <std::int32_t J> __attribute__((target("avx512f"))) inline __m512 partners(__m512 x) {
    if constexpr (J == 1)
        return _mm512_permute_ps(x, _MM_SHUFFLE(2, 3, 0, 1));
    else if constexpr (J == 2)
        return _mm512_permute_ps(x, _MM_SHUFFLE(1, 0, 3, 2));
    else if constexpr (J == 4)
        return _mm512_shuffle_f32x4(x, x, _MM_SHUFFLE(2, 3, 0, 1));
    else
        return _mm512_shuffle_f32x4(x, x, _MM_SHUFFLE(1, 0, 3, 2));
}

template <std::int32_t J, std::int32_t K, std::int32_t Offset>
__attribute__((target("avx512f"))) inline __m512 compareStage(__m512 x) {
    const __m512 p = partners<J>(x);
    return _mm512_mask_blend_ps(largerLanes(J, K, Offset), _mm512_min_ps(x, p),
                                _mm512_max_ps(x, p));
}

// The stages of one block size K with partners J, J/2, ..., 1 apart, on both registers.
template <std::int32_t J, std::int32_t K>
__attribute__((target("avx512f"))) inline void mergeStages(__m512& low, __m512& high) {
    low = compareStage<J, K, 0>(low);
    high = compareStage<J, K, 16>(high);
    if constexpr (J > 1)
        mergeStages<J / 2, K>(low, high);
}

// All 32 entries (the missing ones -infinity) sorted by a bitonic network in two 16-lane
// registers: 15 stages of minima, maxima and fixed shuffles, no branch on the data. Rates are
// never NaN, so the minima and maxima are exact.
__attribute__((target("avx512f"))) void sortByNetwork(float* rate, std::int32_t n,
                                                      std::int32_t top) {
    const __m512 none = _mm512_set1_ps(-std::numeric_limits<float>::infinity());
    auto firstLanes = [](std::int32_t count) {
        return static_cast<__mmask16>(count >= 16 ? 0xffffu : (1u << std::max(count, 0)) - 1u);
    };
    __m512 low = _mm512_mask_loadu_ps(none, firstLanes(n), rate);
    __m512 high = _mm512_mask_loadu_ps(none, firstLanes(n - 16), rate + 16);
    mergeStages<1, 2>(low, high);
    mergeStages<2, 4>(low, high);
    mergeStages<4, 8>(low, high);
    mergeStages<8, 16>(low, high);
    const __m512 larger = _mm512_max_ps(low, high);
    high = _mm512_min_ps(low, high);
    low = larger;
    mergeStages<8, 32>(low, high);
    _mm512_mask_storeu_ps(rate, firstLanes(top + 1), low);
    _mm512_mask_storeu_ps(rate + 16, firstLanes(top + 1 - 16), high);
}

} // namespace

void rankLargestRates(float* rate, std::int32_t n, std::int32_t top, RateRanking how) {
    if (how == RateRanking::Fastest && n <= NetworkRates && hasWideVectors())
        sortByNetwork(rate, n, top);
    else if (how != RateRanking::Insertion && n <= CountedRates)
        countPlaces(rate, n, top);
    else
        insertLargest(rate, n, top);
}

#pragma GCC diagnostic pop
