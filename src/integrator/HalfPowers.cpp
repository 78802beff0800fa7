#include "integrator/HalfPowers.h"

#include <cmath>
#include <cstring>
#include <limits>

Extended HalfPowers::of(float rate) {
    if (rates_.empty()) {
        rates_.assign(Slots, std::numeric_limits<float>::quiet_NaN());
        powers_.assign(Slots, 0);
    }
    std::uint32_t bits;
    std::memcpy(&bits, &rate, sizeof bits);
    // Rates differ mostly in the low bits of their significands, and by a few units in their
    // exponents: a multiplicative hash carries every bit into the top ones, which pick the slot
    // (a few hundred rates of a periodic orbit then meet no collision at all).
    const std::uint32_t slot = (bits * 0x9E3779B1u) >> (32 - SlotBits);
    if (!(rates_[slot] == rate)) {
        rates_[slot] = rate;
        powers_[slot] = std::pow(0.5L, static_cast<Extended>(rate));
    }
    return powers_[slot];
}
