#include "integrator/RateRank.h"

#include <algorithm>
#include <limits>

namespace {

// Arrays up to this length are counted, longer ones sorted by insertion.
constexpr std::int32_t CountedRates = 64;

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

} // namespace

void rankLargestRates(float* rate, std::int32_t n, std::int32_t top, RateRanking how) {
    if (how == RateRanking::Counting && n <= CountedRates)
        countPlaces(rate, n, top);
    else
        insertLargest(rate, n, top);
}
