#include "integrator/ToleranceStep.h"

#include "common/NumberText.h"
#include "integrator/IndependentSum.h"
#include "integrator/StepControl.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// log2 |a| for a finite non-zero a, in double: the exponent of the extended value and the log of
// its significand, so that no value of the extended range overflows or underflows on the way.
double log2Of(Extended a) {
    int exponent = 0;
    const Extended significand = std::frexp(std::fabs(a), &exponent);
    return std::log2(static_cast<double>(significand)) + exponent;
}

// 2^x in extended; a step beyond 2^16000 counts as unlimited, so nothing overflows.
Extended powerOfTwo(double x) {
    if (x > 16000)
        return std::numeric_limits<Extended>::infinity();
    return std::ldexp(std::exp2(static_cast<Extended>(x - std::floor(x))),
                      static_cast<int>(std::floor(x)));
}

} // namespace

TailScale tailScale(const TCompiledProblem& problem, std::int32_t terms, Extended tolerance) {
    // For each of the two last terms the largest scaled coefficient over the main variables
    // gives the smallest h, so only those two take a logarithm.
    const std::int32_t orders[2] = {terms - 1, terms - 2};
    Extended largest[2] = {0, 0};
    for (std::int32_t i = 0; i < problem.NumMain; ++i) {
        if (i == problem.IndepLine)
            continue;
        const Extended* a = problem.Coefficients[problem.NumConst + i];
        // Relative where |x| > 1, absolute below.
        const Extended size = std::max<Extended>(1, std::fabs(a[0]));
        for (int j = 0; j < 2; ++j)
            largest[j] = std::max(largest[j], std::fabs(a[orders[j]]) / size);
    }
    // The tolerance seldom changes: its logarithm is kept from the last call.
    thread_local Extended lastTolerance = 0;
    thread_local double lastLog = 0;
    if (!(tolerance == lastTolerance)) {
        lastLog = log2Of(tolerance);
        lastTolerance = tolerance;
    }
    const double logTolerance = lastLog;
    double logScale = std::numeric_limits<double>::infinity();
    double logRadius = std::numeric_limits<double>::infinity();
    for (int j = 0; j < 2; ++j) {
        if (!(largest[j] > 0) || !std::isfinite(largest[j]))
            continue;
        const double logTerm = log2Of(largest[j]);
        logScale = std::min(logScale, (logTolerance - logTerm) / orders[j]);
        logRadius = std::min(logRadius, -logTerm / orders[j]);
    }
    return {powerOfTwo(logScale), powerOfTwo(logRadius)};
}

// The safety factor s on rho. Suppose the terms fall geometrically, |c_k| = M R^-k. rho makes the
// last kept term c_{N-1} h^{N-1} equal to E, so a step h = s rho leaves out the tail
//     sum over k >= N of |c_k| h^k = E s^{N-1} q / (1 - q),  q = h / R = s (E/M)^{1/(N-1)}.
// The tolerances this mode is for (1e-12 and below, M about 1 after the scaling) give q below
// 0.4 at N = 31, so q / (1 - q) <= 1 with room to spare; what the model does not cover is the
// wobble of real coefficients around the geometric fall (the reason for reading two terms) and
// the sum of the errors of many steps. The factor s^{N-1} = 1/e takes care of both at a small
// price: the leftover tail is at most E/e per step, while the steps grow only by e^{1/(N-1)}
// (3.4 % at N = 31). A factor fixed on s itself would mean a margin that falls with N.
Extended toleranceSafety(std::int32_t terms) {
    // Kept from the last call: every step asks for it with the same number of terms.
    thread_local std::int32_t lastTerms = 0;
    thread_local Extended lastSafety = 0;
    if (terms != lastTerms) {
        lastSafety = std::exp(-1.0L / static_cast<Extended>(std::max(terms - 1, 1)));
        lastTerms = terms;
    }
    return lastSafety;
}

std::optional<Extended> readStepTolerance(const std::string& text) {
    const auto tolerance = parseTrimmedNumber(text);
    if (!tolerance || !(*tolerance > 0) || !std::isfinite(*tolerance))
        return std::nullopt;
    return tolerance;
}

std::optional<std::string> changeStepTolerance(ProgramState& state, TCompiledProblem& problem,
                                               const std::string& text) {
    const auto tolerance = readStepTolerance(text);
    if (!tolerance)
        return formatShort(state.StepTolerance);
    state.StepTolerance = *tolerance;
    refreshStep(state, problem);
    return std::nullopt;
}

void toleranceAfterStep(ProgramState& state, TCompiledProblem& problem) {
    const std::int32_t terms = state.TermCount;
    const TailScale tail = tailScale(problem, terms, state.StepTolerance);
    problem.Radius = std::min<Extended>(tail.Radius, state.RadLimit);
    Extended h = std::min<Extended>(tail.Scale * toleranceSafety(terms), state.RadLimit);
    if (const Extended last = takenStep(problem); last != 0)
        h = std::min(h, MaxStepGrowth * std::fabs(last));
    problem.Step = h * problem.Direction;
}
