// The fault flags: raised by extended (x87) and by double and float (SSE) arithmetic alike, and
// all of them cleared by clearFloatFaults.
#include "common/FloatFaults.h"
#include "common/Extended.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <functional>
#include <limits>

namespace {

// Each operation's operands pass through volatiles so that it runs when the test does.
template <typename Real> std::vector<std::function<void()>> faultingOperations() {
    return {
        [] {
            volatile Real zero = 0;
            volatile Real result = zero / zero;
            (void)result;
        },
        [] {
            volatile Real one = 1, zero = 0;
            volatile Real result = one / zero;
            (void)result;
        },
        [] {
            volatile Real big = std::numeric_limits<Real>::max();
            volatile Real result = big * big;
            (void)result;
        },
        [] {
            volatile Real tiny = std::numeric_limits<Real>::min();
            volatile Real third = 3;
            volatile Real result = tiny / third; // underflow and inexact, not a fault
            (void)result;
        },
    };
}

template <typename Real> void expectRaisedAndCleared(const char* type) {
    const auto operations = faultingOperations<Real>();
    for (std::size_t i = 0; i < operations.size(); ++i) {
        SCOPED_TRACE(std::string(type) + " operation " + std::to_string(i));
        clearFloatFaults();
        operations[i]();
        EXPECT_EQ(floatFaultRaised(), i < 3);
        EXPECT_NE(std::fetestexcept(FE_ALL_EXCEPT), 0);
        clearFloatFaults();
        EXPECT_FALSE(floatFaultRaised());
        EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
    }
}

TEST(FloatFaults, EveryPrecisionRaisesAndClearsTheFlags) {
    expectRaisedAndCleared<Extended>("extended");
    expectRaisedAndCleared<double>("double");
    expectRaisedAndCleared<float>("float");
}

} // namespace
