// Which arrays of the coefficient block the fast pass keeps as pairs of doubles: the ones its
// loops read. Values read once per order (a sum's terms, a copy, the division that advances a
// main variable) are loaded as 80-bit values, so the arrays only they read need no pairs.
#pragma once

#include "engine/EnginePlan.h"

#include <cstdint>
#include <unordered_set>

// Sets the PairR flags of plan's fast steps, chains, power pairs, partners and scaled groups,
// and MainPaired; returns the offsets of the arrays kept as pairs. Needs FastSteps and the main
// variables' offsets in place.
std::unordered_set<std::uint32_t> markPairedArrays(EnginePlan& plan);
