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
    powers_.resize(static_cast<std::size_t>(std::max(count, 0)));
    Extended power = 1;
    for (Extended& p : powers_)
        p = power, power *= span;
    // Each lane is read from its highest term down to the first one that counts.
    std::size_t kept = count > 0 ? 1 : 0;
    for (const Extended* a : lanes)
        for (std::size_t k = powers_.size(); k-- > kept;)
            if (!(std::fabs(a[k]) * powers_[k] <= tolerance)) { // NaN and infinities are kept
                kept = k + 1;
                break;
            }
    terms_ = kept;
    coefficients_.assign(terms_ * stride_, 0.0);
    for (std::size_t k = 0; k < terms_; ++k)
        for (std::size_t lane = 0; lane < lanes_; ++lane)
            coefficients_[k * stride_ + lane] = static_cast<double>(lanes[lane][k]);
    values_.assign(stride_, 0);
    slopes_.assign(stride_, 0);
}

namespace {

// One block of eight lanes in vectors of Vec, all held in registers: the vectors' Horner chains
// run side by side.
template <typename Vec>
[[gnu::always_inline]] inline void evaluateBlocks(const double* coefficients, std::size_t terms,
                                                  std::size_t stride, double s, double* values,
                                                  double* slopes) {
    constexpr std::size_t Width = sizeof(Vec) / sizeof(double);
    constexpr std::size_t Count = 8 / Width;
    Vec x;
    for (std::size_t i = 0; i < Width; ++i)
        x[i] = s;
    for (std::size_t block = 0; block < stride; block += 8) {
        Vec v[Count] = {}, d[Count] = {};
        for (std::size_t k = terms; k-- > 0;) {
            const double* a = coefficients + k * stride + block;
            for (std::size_t i = 0; i < Count; ++i) {
                Vec ai;
                std::memcpy(&ai, a + i * Width, sizeof ai);
                d[i] = d[i] * x + v[i];
                v[i] = v[i] * x + ai;
            }
        }
        std::memcpy(values + block, v, sizeof v);
        std::memcpy(slopes + block, d, sizeof d);
    }
}

using Pair = double __attribute__((vector_size(16)));
using Quad = double __attribute__((vector_size(32)));

void evaluatePairs(const double* coefficients, std::size_t terms, std::size_t stride, double s,
                   double* values, double* slopes) {
    evaluateBlocks<Pair>(coefficients, terms, stride, s, values, slopes);
}

// With 256-bit registers and fused multiply-adds the work halves twice; the fused rounding moves
// a point by far less than a pixel.
__attribute__((target("fma"), optimize("fp-contract=fast"))) void
evaluateQuads(const double* coefficients, std::size_t terms, std::size_t stride, double s,
              double* values, double* slopes) {
    evaluateBlocks<Quad>(coefficients, terms, stride, s, values, slopes);
}

const bool HasFma = __builtin_cpu_supports("fma");

} // namespace

void SegmentPolynomials::evaluate(double s) {
    (HasFma ? evaluateQuads : evaluatePairs)(coefficients_.data(), terms_, stride_, s,
                                             values_.data(), slopes_.data());
}
