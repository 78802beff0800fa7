// The powers 0.5^rate the radius estimate takes of its rates, kept for the rates met recently:
// a smooth path meets the same few hundred rates step after step (means of a few quotients of
// small integers), and each power costs a call of the library's power function.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <vector>

class HalfPowers {
  public:
    // 0.5^rate as std::pow(0.5L, rate) gives it, bit for bit.
    Extended of(float rate);

    // A chaotic path such as Lorenz's meets about one new rate in nine steps; 16,384 slots keep
    // three in four of its powers at a quarter of a megabyte.
    static constexpr std::uint32_t SlotBits = 14;
    static constexpr std::uint32_t Slots = 1u << SlotBits;

  private:
    std::vector<float> rates_;     // the rate kept in each slot (a NaN: none)
    std::vector<Extended> powers_; // its power
};
