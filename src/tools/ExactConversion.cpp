// Exact conversion between extended values, their significand and exponent, and decimal text.
#include "tools/ExactConversion.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int MantissaDigits = 16;
constexpr int RefinementPasses = 30;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The texts here are built from printed numbers, so the plain reader serves; an overflow reads
// as infinity, above every value.
Extended readBack(const std::string& text) {
    return std::strtold(text.c_str(), nullptr);
}

// Lowers the last digit of a digits text by one unit, borrowing through trailing zeros.
std::string lowerLastDigit(std::string digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.')
            continue;
        if (digits[i] != '0') {
            --digits[i];
            return digits;
        }
        digits[i] = '9';
    }
    return digits;
}

// Drops the zeros that end the fraction of a digits text, and its point when nothing follows.
std::string dropTrailingZeros(std::string digits) {
    if (digits.find('.') == std::string::npos)
        return digits;
    while (digits.back() == '0')
        digits.pop_back();
    if (digits.back() == '.')
        digits.pop_back();
    return digits;
}

// The first text: 18 significant digits in general format for moderate exponents, in exponent
// format otherwise, never above the value, without trailing zeros.
std::string firstText(Extended value, int exponent) {
    std::string text;
    if (std::abs(exponent) <= 10)
        text = formatDisplay(value);
    if (text.find('.') == std::string::npos)
        text = formatExponent(value);
    std::size_t ePos = std::min(text.find('e'), text.size());
    std::string digits = text.substr(0, ePos);
    if (readBack(text) > value)
        digits = lowerLastDigit(digits);
    return dropTrailingZeros(digits) + text.substr(ePos);
}

} // namespace

ExtendedParts extendedParts(Extended value) {
    ExtendedParts parts;
    parts.negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value)) {
        parts.mantissa = std::string(MantissaDigits, '0');
        return parts;
    }
    Extended fraction = std::frexp(std::fabs(value), &parts.exponent);
    // The fraction lies in [0.5, 1): scaled by 2^64 it is the significand with its top bit set.
    auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    parts.mantissa = formatText("%016llX", static_cast<unsigned long long>(significand));
    return parts;
}

PartsReading readExtendedParts(const std::string& mantissaText, const std::string& exponentText,
                               bool negative) {
    std::string mantissa = trim(mantissaText);
    std::string exponent = trim(exponentText);
    if (mantissa.empty())
        return {std::nullopt, "Hexadecimal mantissa empty"};
    if (exponent.empty())
        return {std::nullopt, "Decimal exponent empty"};
    if (mantissa.size() > MantissaDigits)
        return {std::nullopt, "Hexadecimal mantissa must have no more than 16 digits"};
    int first = hexDigit(mantissa[0]);
    if (first >= 0 && first < 8) {
        bool zero = std::all_of(mantissa.begin(), mantissa.end(), [](char c) { return c == '0'; });
        return {std::nullopt, zero ? "" : "Mantissa's first digit must be >= 8"};
    }
    std::optional<long long> power = parseInteger(exponent);
    if (!power || *power < INT_MIN || *power > INT_MAX)
        return {std::nullopt, "Wrong exponent"};
    mantissa.resize(MantissaDigits, '0');
    std::transform(mantissa.begin(), mantissa.end(), mantissa.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    std::uint64_t significand = 0;
    for (char c : mantissa) {
        int digit = hexDigit(c);
        if (digit < 0)
            return {std::nullopt, "Wrong hexadecimal mantissa"};
        significand = significand << 4 | static_cast<std::uint64_t>(digit);
    }
    // The significand is exact in the extended type; scaling by a power of two keeps it exact
    // unless the exponent leaves the type's range (overflow, or bits lost below the normal range).
    Extended value =
        std::ldexp(std::ldexp(static_cast<Extended>(significand), -64), static_cast<int>(*power));
    ExtendedParts reached = extendedParts(value);
    if (reached.mantissa != mantissa || reached.exponent != *power)
        return {std::nullopt, "Wrong exponent"};
    return {negative ? -value : value, ""};
}

DecimalText exactDecimal(Extended signedValue) {
    const Extended value = std::fabs(signedValue);
    const std::string sign = std::signbit(signedValue) ? "-" : "";
    if (value == 0 || !std::isfinite(value))
        return {formatDisplay(signedValue), ""};
    std::string text = firstText(value, extendedParts(value).exponent);
    if (readBack(text) == value)
        return {sign + text, ""};
    std::size_t ePos = std::min(text.find('e'), text.size());
    std::string digits = text.substr(0, ePos);
    const std::string exponentPart = text.substr(ePos);
    // Each pass looks for the first digit 1..9 whose candidate reads back at or above the value
    // (the readings grow with the digit, so halving the range finds it): reading exactly ends the
    // search, otherwise the digit below it is kept (9 when every candidate reads below).
    for (int pass = 0; pass < RefinementPasses; ++pass) {
        int low = 1, high = 10;
        while (low < high) {
            int middle = (low + high) / 2;
            if (readBack(digits + static_cast<char>('0' + middle) + exponentPart) >= value)
                high = middle;
            else
                low = middle + 1;
        }
        std::string candidate = digits + static_cast<char>('0' + low) + exponentPart;
        if (low <= 9 && readBack(candidate) == value)
            return {sign + candidate, ""};
        digits += static_cast<char>('0' + low - 1);
    }
    Extended relative = (value - readBack(digits + exponentPart)) / value;
    return {sign + digits + exponentPart, "Rel. error " + formatShort(relative)};
}
