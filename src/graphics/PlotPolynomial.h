// A stored Taylor polynomial prepared for drawing one segment: in double precision and without
// the trailing terms that cannot move a point by a visible amount over the segment.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <vector>

class PlotPolynomial {
  public:
    // Keeps the terms a[0..k] up to the last one with |a[k]| span^k above `tolerance`.
    void prepare(const Extended* coefficients, std::int32_t count, Extended span,
                 Extended tolerance);
    double value(double s) const {
        double v = 0;
        for (auto k = a_.size(); k-- > 0;)
            v = v * s + a_[k];
        return v;
    }
    // The value and the derivative in one Horner pass.
    void valueAndSlope(double s, double& value, double& slope) const {
        double v = 0, d = 0;
        for (auto k = a_.size(); k-- > 0;) {
            d = d * s + v;
            v = v * s + a_[k];
        }
        value = v;
        slope = d;
    }

  private:
    std::vector<double> a_;
};
