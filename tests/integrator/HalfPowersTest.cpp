// The kept powers of the radius estimate: the same bits as the library's power function whether
// a rate is met for the first time, again, or after another rate took its slot.
#include "integrator/HalfPowers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

TEST(HalfPowers, EveryPowerIsTheLibraryPower) {
    // Rates as the estimate makes them (means of five quotients of exponents by orders), more
    // of them than there are slots so that slots are taken over, each met several times; the
    // sentinel rate and rates of entire functions and of tiny radii too.
    std::mt19937 random(4096);
    std::uniform_int_distribution<int> exponent(-400, 200), order(1, 30);
    std::vector<float> rates = {-4951.0f, -4951.0f / 5, 0.0f, 16000.0f, -16000.0f};
    while (rates.size() < 3 * HalfPowers::Slots) {
        float sum = 0;
        for (int k = 0; k < 5; ++k)
            sum += static_cast<float>(exponent(random)) / static_cast<float>(order(random));
        rates.push_back(sum / 5);
    }
    HalfPowers powers;
    for (int round = 0; round < 3; ++round)
        for (std::size_t i = 0; i < rates.size(); i += static_cast<std::size_t>(1 + round)) {
            const float rate = rates[i];
            ASSERT_TRUE(sameBits(powers.of(rate), std::pow(0.5L, static_cast<Extended>(rate))))
                << "rate " << rate << ", round " << round;
        }
}

} // namespace
