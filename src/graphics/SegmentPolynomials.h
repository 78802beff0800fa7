// The stored Taylor polynomials of one segment prepared for drawing: in double precision,
// without the trailing terms that cannot move a point visibly over the segment, and laid out
// term by term so that all curves are evaluated together.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <vector>

class SegmentPolynomials {
  public:
    // One lane per polynomial (`count` coefficients each). Terms are kept up to the last one,
    // over all lanes, with |a[k]| span^k above `tolerance`.
    void prepare(const std::vector<const Extended*>& lanes, std::int32_t count, Extended span,
                 Extended tolerance);
    // Values and derivatives of every lane at s, in one Horner pass.
    void evaluate(double s);
    double value(std::size_t lane) const { return values_[lane]; }
    double slope(std::size_t lane) const { return slopes_[lane]; }

  private:
    static constexpr std::size_t Block = 8;
    std::size_t lanes_ = 0, stride_ = 0, terms_ = 0;
    std::vector<double> coefficients_; // [term][lane], lanes padded with zeros to the stride
    std::vector<double> values_, slopes_;
    std::vector<Extended> powers_; // span^k
};
