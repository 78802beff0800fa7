// The Horner sums of several coefficient arrays at one point, run side by side so that the
// chains of multiplications and additions of different variables overlap; each sum takes exactly
// the operations of EvalSeries, so it comes out with the same bits.
#pragma once

#include "common/Extended.h"

#include <cstdint>

namespace series_detail {

// Rows first .. first + Width - 1 at once; the sums stay in registers.
template <std::int32_t Width, typename Row, typename Take>
[[gnu::always_inline]] inline void sideBySide(std::int32_t first, std::int32_t terms, Extended s,
                                              Row& row, Take& take) {
    const Extended* a[Width];
    Extended sum[Width];
#pragma GCC unroll 4
    for (std::int32_t k = 0; k < Width; ++k) {
        a[k] = row(first + k);
        sum[k] = a[k][terms - 1];
    }
    for (std::int32_t i = terms - 2; i >= 0; --i) {
#pragma GCC unroll 4
        for (std::int32_t k = 0; k < Width; ++k)
            sum[k] = s * sum[k] + a[k][i];
    }
#pragma GCC unroll 4
    for (std::int32_t k = 0; k < Width; ++k)
        take(first + k, sum[k]);
}

} // namespace series_detail

// Calls take(k, sum) with sum = EvalSeries(row(k), terms, s) for every k < count, in order: four
// rows at a time, the last one to three together.
template <typename Row, typename Take>
void evalSeriesSideBySide(std::int32_t count, std::int32_t terms, Extended s, Row row, Take take) {
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4)
        series_detail::sideBySide<4>(k, terms, s, row, take);
    switch (count - k) {
    case 3:
        series_detail::sideBySide<3>(k, terms, s, row, take);
        break;
    case 2:
        series_detail::sideBySide<2>(k, terms, s, row, take);
        break;
    case 1:
        series_detail::sideBySide<1>(k, terms, s, row, take);
        break;
    default:
        break;
    }
}
