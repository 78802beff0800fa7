// Drawing needs a fraction of a pixel, not 80 bits: the series converge geometrically inside a
// step, so the terms whose contribution over the whole segment stays below a small part of a
// pixel are left out, and the rest is evaluated in double for all curves at once.
#include "graphics/SegmentPolynomials.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void SegmentPolynomials::prepare(const std::vector<const Extended*>& lanes, std::int32_t count,
                                 Extended span, Extended tolerance) {
    lanes_ = lanes.size();
    // Lanes go in blocks of a fixed width so that a block's sums stay in registers.
    stride_ = (lanes_ + Block - 1) / Block * Block;
    std::size_t kept = count > 0 ? 1 : 0;
    for (const Extended* a : lanes) {
        Extended power = 1;
        for (std::int32_t k = 0; k < count; ++k, power *= span)
            if (!(std::fabs(a[k]) * power <= tolerance)) // NaN and infinities are kept
                kept = std::max(kept, static_cast<std::size_t>(k) + 1);
    }
    terms_ = kept;
    coefficients_.assign(terms_ * stride_, 0.0);
    for (std::size_t k = 0; k < terms_; ++k)
        for (std::size_t lane = 0; lane < lanes_; ++lane)
            coefficients_[k * stride_ + lane] = static_cast<double>(lanes[lane][k]);
    values_.assign(stride_, 0);
    slopes_.assign(stride_, 0);
}

// Eight lanes as four pairs held in registers: the pairs' Horner chains run side by side.
void SegmentPolynomials::evaluate(double s) {
    using Pair = double __attribute__((vector_size(16)));
    const Pair x = {s, s};
    for (std::size_t block = 0; block < stride_; block += Block) {
        Pair v0{}, v1{}, v2{}, v3{}, d0{}, d1{}, d2{}, d3{};
        for (std::size_t k = terms_; k-- > 0;) {
            const double* a = coefficients_.data() + k * stride_ + block;
            Pair a0, a1, a2, a3;
            std::memcpy(&a0, a, sizeof a0);
            std::memcpy(&a1, a + 2, sizeof a1);
            std::memcpy(&a2, a + 4, sizeof a2);
            std::memcpy(&a3, a + 6, sizeof a3);
            d0 = d0 * x + v0, v0 = v0 * x + a0;
            d1 = d1 * x + v1, v1 = v1 * x + a1;
            d2 = d2 * x + v2, v2 = v2 * x + a2;
            d3 = d3 * x + v3, v3 = v3 * x + a3;
        }
        double* value = values_.data() + block;
        double* slope = slopes_.data() + block;
        std::memcpy(value, &v0, sizeof v0), std::memcpy(value + 2, &v1, sizeof v1);
        std::memcpy(value + 4, &v2, sizeof v2), std::memcpy(value + 6, &v3, sizeof v3);
        std::memcpy(slope, &d0, sizeof d0), std::memcpy(slope + 2, &d1, sizeof d1);
        std::memcpy(slope + 4, &d2, sizeof d2), std::memcpy(slope + 6, &d3, sizeof d3);
    }
}
