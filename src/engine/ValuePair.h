// An 80-bit value held as two doubles whose sum it is exactly. Loading a double and adding
// another costs about half of one 80-bit load, and the loops of the fast jet pass are bound by
// their loads, so they read coefficients in this form.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <cstring>

struct ValuePair {
    double Hi, Lo;
};

// Hi is x rounded to double and Lo what is left, x - Hi. The rest is computed as -(Hi - x) so
// that a rest of zero is -0: then Hi + Lo is Hi bit for bit, the sign of a zero included.
// The pair is exact whenever x's exponent lies well inside double's range (the rest then has at
// most 11 significant bits and needs no denormal); splitsExactly tells.
// splitInto stores the halves straight from the x87 stack into place. Written in C++, the
// compiler rounds through a stack slot and moves each half through an SSE register, three times
// the instructions of the split itself.
inline void splitInto(ValuePair& pair, Extended x) {
    __asm__("fstl %0\n\t"            // Hi = x rounded to double
            "fldl %0\n\t"            // Hi, x
            "fsub %%st(1), %%st\n\t" // Hi - x, exact
            "fchs\n\t"
            "fstpl %1" // Lo, exact whenever the pair is
            : "+m"(pair.Hi), "+m"(pair.Lo)
            : "t"(x)
            : "st(7)"); // the load needs a free register: with all eight in use it gives a NaN
}

inline ValuePair splitValue(Extended x) {
    ValuePair pair;
    splitInto(pair, x);
    return pair;
}

inline Extended joinValue(const ValuePair& pair) {
    return static_cast<Extended>(pair.Hi) + static_cast<Extended>(pair.Lo);
}

// Whether the pair gives x back, read from Hi's exponent: when Hi is finite and at least 2^-1010,
// x's exponent is at least -1011, so the rest x - Hi is a multiple of 2^-1074 with at most 11
// significant bits, which a double holds. Below that only zero is taken: a tiny x rounds to a
// zero Hi too. A few values near the ends of the range that would split are refused, which only
// costs the 80-bit jet.
inline bool splitsExactly(const ValuePair& pair, Extended x) {
    std::uint64_t bits;
    std::memcpy(&bits, &pair.Hi, sizeof bits);
    constexpr unsigned smallest = 13, largest = 2046; // biased exponents of 2^-1010 and 2^1023
    const unsigned field = static_cast<unsigned>(bits >> 52) & 0x7ffu;
    return field - smallest <= largest - smallest || x == 0;
}

// The pair of -x from the pair of x: both halves change sign, except a rest of zero, which stays
// -0 as splitValue(-x) makes it.
inline ValuePair negatePair(ValuePair pair) {
    std::uint64_t hi, lo;
    std::memcpy(&hi, &pair.Hi, sizeof hi);
    std::memcpy(&lo, &pair.Lo, sizeof lo);
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    hi ^= sign;
    if ((lo & ~sign) != 0)
        lo ^= sign;
    std::memcpy(&pair.Hi, &hi, sizeof hi);
    std::memcpy(&pair.Lo, &lo, sizeof lo);
    return pair;
}
