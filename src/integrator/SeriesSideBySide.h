// The Horner sums of several coefficient arrays at one point, run side by side so that the
// chains of multiplications and additions of different variables overlap; each sum takes exactly
// the operations of EvalSeries, so it comes out with the same bits.
#pragma once

#include "common/Extended.h"

#include <cstdint>

// Calls take(k, sum) with sum = EvalSeries(row(k), terms, s) for every k < count, in order.
template <typename Row, typename Take>
void evalSeriesSideBySide(std::int32_t count, std::int32_t terms, Extended s, Row row, Take take) {
    std::int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        const Extended *a = row(k), *b = row(k + 1), *c = row(k + 2), *d = row(k + 3);
        Extended sa = a[terms - 1], sb = b[terms - 1], sc = c[terms - 1], sd = d[terms - 1];
        for (std::int32_t i = terms - 2; i >= 0; --i) {
            sa = s * sa + a[i];
            sb = s * sb + b[i];
            sc = s * sc + c[i];
            sd = s * sd + d[i];
        }
        take(k, sa);
        take(k + 1, sb);
        take(k + 2, sc);
        take(k + 3, sd);
    }
    for (; k + 2 <= count; k += 2) {
        const Extended *a = row(k), *b = row(k + 1);
        Extended sa = a[terms - 1], sb = b[terms - 1];
        for (std::int32_t i = terms - 2; i >= 0; --i) {
            sa = s * sa + a[i];
            sb = s * sb + b[i];
        }
        take(k, sa);
        take(k + 1, sb);
    }
    if (k < count) {
        const Extended* a = row(k);
        Extended sa = a[terms - 1];
        for (std::int32_t i = terms - 2; i >= 0; --i)
            sa = s * sa + a[i];
        take(k, sa);
    }
}
