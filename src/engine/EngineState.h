// The engine's program-wide part: the number of Taylor terms and the recurrence tables built for
// it.
#pragma once

#include "common/Extended.h"
#include "engine/ValuePair.h"

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

struct EngineState {
    // N, the number of Taylor terms = order of differentiation + 1; never below 3.
    std::int32_t TermCount = 31;
    // Triangular tables, row k = 1 .. N holding entries j = 0 .. k from index k(k+1)/2:
    // FracJK = j/k, FracKJ = 1 - j/k, FracSqrt = FracKJ/2 - FracJK.
    std::vector<Extended> FracJK, FracKJ, FracSqrt;
    // The same tables as exact pairs of doubles, read by the fast jet pass.
    std::vector<ValuePair> FracJKPairs, FracKJPairs, FracSqrtPairs;
    // Work buffer of the fast jet pass: the coefficient block as pairs, in the same order, from a
    // start that the pass chooses (see pairsApartFromBlock).
    std::vector<ValuePair> BlockPairs;
    // Jets redone on the plain 80-bit path because a coefficient did not split into a pair.
    std::uint64_t UnsplitJets = 0;
    // Jets made by the problem's machine code (see NativeJet.h).
    std::uint64_t NativeJets = 0;
    // Work buffer and window sizes of the radius estimate.
    std::vector<float> RateBuf;
    std::vector<std::pair<float, std::int32_t>> RateBounds; // (bound, array) of the candidates
    std::int16_t RateTop = 0;
    std::int16_t RateWindow = 0;
    // The instruction (position in the list being run) and its source line when the engine last
    // raised an error, so that the caller can point at the formula; -1 when none.
    std::int32_t FailedInstruction = -1;
    std::int32_t FailedLine = -1;

    EngineState();
};

constexpr std::int32_t MinTermCount = 3;
// Beyond this the recurrence tables alone would take hundreds of megabytes.
constexpr std::int32_t MaxTermCount = 2000;

inline std::size_t triangleRow(std::int32_t k) {
    return static_cast<std::size_t>(k) * static_cast<std::size_t>(k + 1) / 2;
}

// Rebuilds the tables for the current TermCount (raised to the minimum first).
void BuildRecurrenceTables(EngineState& engine);
