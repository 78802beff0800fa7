// The engine's fast jets against the checked jet (80-bit values, list order), bit for bit.
#pragma once

#include "compiler/CompiledProblem.h"
#include "engine/EngineState.h"
#include "engine/TaylorEngine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>

// The 80 bits of the value (not the padding), so that -0 differs from +0.
inline bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// The jet on `problem` against the checked jet (80-bit values, list order) on a copy, every
// coefficient of the first `arrays` arrays (all by default) bit for bit. Returns whether the jet
// went back to 80-bit values.
inline bool expectPlainBits(TCompiledProblem& problem, EngineState& engine,
                            std::int32_t arrays = -1) {
    TCompiledProblem plain = problem;
    const std::uint64_t before = engine.UnsplitJets;
    ComputeCoefficients(problem, engine);
    const bool fellBack = engine.UnsplitJets != before;
    ComputeCoefficientsChecked(plain, engine);
    if (arrays < 0)
        arrays = problem.Coefficients.count();
    for (std::int32_t v = 0; v < arrays; ++v)
        for (std::int32_t k = 0; k < problem.Coefficients.length(v); ++k)
            if (!sameBits(problem.Coefficients[v][k], plain.Coefficients[v][k])) {
                ADD_FAILURE() << std::setprecision(21) << "variable " << v << " order " << k << ": "
                              << problem.Coefficients[v][k] << " against "
                              << plain.Coefficients[v][k];
                return fellBack;
            }
    return fellBack;
}

// Moves every main variable along its series by h, as a plain step does.
inline void advance(TCompiledProblem& problem, Extended h, std::int32_t termCount) {
    for (std::int32_t i = 0; i < problem.NumMain; ++i) {
        Extended* x = problem.Coefficients[problem.NumConst + i];
        Extended sum = x[termCount - 1];
        for (std::int32_t k = termCount - 2; k >= 0; --k)
            sum = sum * h + x[k];
        x[0] = sum;
    }
}
