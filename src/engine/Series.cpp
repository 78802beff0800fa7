#include "engine/Series.h"

#include <algorithm>

Extended EvalSeries(const Extended* a, std::int32_t count, Extended s) {
    Extended acc = a[count - 1];
    for (std::int32_t i = count - 2; i >= 0; --i)
        acc = s * acc + a[i];
    return acc;
}

Extended EvalSeriesDeriv(const Extended* a, std::int32_t count, Extended s) {
    if (count < 2)
        return 0;
    Extended acc = static_cast<Extended>(count - 1) * a[count - 1];
    for (std::int32_t i = count - 2; i >= 1; --i)
        acc = acc * s + static_cast<Extended>(i) * a[i];
    return acc;
}

void SaveCoefficients(TCompiledProblem& problem, std::int32_t termCount) {
    for (std::int32_t i = 0; i < problem.NumMain; ++i) {
        auto& row = problem.StepTable[static_cast<std::size_t>(i)];
        row.resize(static_cast<std::size_t>(termCount));
        std::copy_n(problem.Coefficients[problem.NumConst + i], termCount, row.data());
    }
}
