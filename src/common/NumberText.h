// Numbers as text: the display forms used everywhere and the reader of decimal numbers.
#pragma once

#include "common/Extended.h"

#include <optional>
#include <string>
#include <string_view>

// General format with up to 18 significant digits: "0.1", "123", "1.5e-7", "-2e20".
std::string formatDisplay(Extended value);
// General format with `digits` significant digits (the "%g" form has 6), same exponent form.
std::string formatGeneral(Extended value, int digits);
inline std::string formatShort(Extended value) {
    return formatGeneral(value, 6);
}
// Exponent form with 18 significant digits: "1.00000000000000000e+20" cleaned to
// "1.00000000000000000e20".
std::string formatExponent(Extended value, int digits = 18);
// Removes a "+" and leading zeros from every exponent in the text and writes the letter "e".
std::string cleanExponent(std::string text);
// printf-style formatting into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reads a text that is completely a decimal number (optional sign, digits with an optional
// point, optional exponent); anything else, hexadecimal, "inf" and "nan" included, is refused.
std::optional<Extended> parseNumber(std::string_view text);
// The same after trimming blanks and control characters at both ends.
std::optional<Extended> parseTrimmedNumber(std::string_view text);
// Reads a whole decimal integer (optional sign); refuses anything else or out of range.
std::optional<long long> parseInteger(std::string_view text);
std::string trim(std::string_view text);
std::string toLower(std::string_view text);
