// Exact conversion between an extended value and its parts: the 64-bit significand as 16
// hexadecimal digits with the binary exponent, and the decimal text that reads back as exactly
// the same bits.
#pragma once

#include "common/Extended.h"

#include <optional>
#include <string>

// |value| = 0.mantissa * 2^exponent, the mantissa read as a hexadecimal fraction whose first digit
// is 8 or more; zero and non-finite values give sixteen zeros and exponent 0.
struct ExtendedParts {
    std::string mantissa;
    int exponent = 0;
    bool negative = false;
};
ExtendedParts extendedParts(Extended value);

// The value of a mantissa and exponent typed by the user. On a refusal `value` is empty and
// `message` says why; a zero mantissa is refused with an empty message.
struct PartsReading {
    std::optional<Extended> value;
    std::string message;
};
PartsReading readExtendedParts(const std::string& mantissa, const std::string& exponent,
                               bool negative);

// The decimal text found for a value: 18 significant digits without trailing zeros, never above
// the value, then refined by up to 30 more digits until it reads back as exactly the value. Should
// none read back exactly, `text` is the closest reached below and `note` is "Rel. error <r>".
// Zero and non-finite values give their display text.
struct DecimalText {
    std::string text;
    std::string note;
};
DecimalText exactDecimal(Extended value);
