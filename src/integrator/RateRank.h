// The second half's first step of the radius estimate: the largest rates of an array in
// descending order, so that the cluster search can walk them.
#pragma once

#include <cstdint>

// How the largest rates are put in order. All give the same floats in the same places: equal
// rates are equal floats, so any correct ordering of the values is the same ordering.
enum class RateRanking {
    Counting, // each rate's place counted from the rates above it (up to 64 rates, else Insertion)
    Insertion // each rate moved into place among the largest so far
};

// Places the top + 1 largest of rate[0 .. n-1] in descending order at the front of rate;
// top < n. The entries behind them are left in no particular order.
void rankLargestRates(float* rate, std::int32_t n, std::int32_t top,
                      RateRanking how = RateRanking::Counting);
