// Drawing needs a fraction of a pixel, not 80 bits: the polynomials of a segment are evaluated
// in double, and the terms whose contribution over the whole segment stays below a small part
// of a pixel are left out (the series converge geometrically inside the step).
#include "graphics/PlotPolynomial.h"

#include <cmath>

void PlotPolynomial::prepare(const Extended* coefficients, std::int32_t count, Extended span,
                             Extended tolerance) {
    std::int32_t kept = count > 0 ? 1 : 0;
    Extended power = 1;
    for (std::int32_t k = 0; k < count; ++k, power *= span)
        if (!(std::fabs(coefficients[k]) * power <= tolerance))
            kept = k + 1; // NaN and infinite terms are kept, so they show as they are
    a_.assign(coefficients, coefficients + kept);
}
