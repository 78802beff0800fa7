// The radius estimate's two halves sixteen lanes at a time, for processors with 512-bit vectors
// and series of up to 32 terms: the rates of an array with their bound, and the mean of the
// tightest cluster of the largest, each bit for bit what the one-by-one routines give.
#pragma once

#include "engine/EngineState.h"

#include <optional>

// Whether the two serve this engine's series on this processor.
bool wideRatesFit(const EngineState& engine);

// fillRates' rates and bound; nothing when an entry is neither a normal value nor zero (rate[]
// is then left part written, and the caller reads the array one by one).
std::optional<float> wideFillRates(const EngineState& engine, const Extended* a, float* rate);

// The mean of the tightest cluster among the largest of the filled rate[0 .. TermCount-1], as
// the ranking and the cluster search through memory give it; rate[] is left as it is.
float wideClusterMean(const EngineState& engine, const float* rate);
