// The bitonic network that sorts 32 rates held in two 16-lane (512-bit) registers into
// descending order: 15 stages of minima, maxima and fixed shuffles, no branch on the data. Rates
// are never NaN, so the minima and maxima are exact and the result is the sorted values
// themselves. Only for processors with 512-bit vectors (hasWideVectors).
#pragma once

#include <cstdint>

// GCC 12's 512-bit intrinsics start their results from a deliberately undefined register and then
// warn about it where they are inlined (its bug 105593).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

namespace rate_network {

// The lanes of a comparison stage that keep the larger of their pair: the network sorts blocks
// of k into alternating directions and compares entries j apart; entry g of a block meant to
// descend keeps the larger value when it is the first of its pair.
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

} // namespace rate_network

// Entries 0 .. 15 in `low`, 16 .. 31 in `high`, afterwards in descending order.
__attribute__((target("avx512f"))) inline void sortDescending(__m512& low, __m512& high) {
    using namespace rate_network;
    mergeStages<1, 2>(low, high);
    mergeStages<2, 4>(low, high);
    mergeStages<4, 8>(low, high);
    mergeStages<8, 16>(low, high);
    const __m512 larger = _mm512_max_ps(low, high);
    high = _mm512_min_ps(low, high);
    low = larger;
    mergeStages<8, 32>(low, high);
}

// The mask of the first `count` lanes of a register (none for count <= 0, all from 16 on).
inline __mmask16 firstLanes(std::int32_t count) {
    return static_cast<__mmask16>(count >= 16 ? 0xffffu : count <= 0 ? 0u : (1u << count) - 1u);
}
