#include "common/NumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(result.data(), result.size() + 1, format, args);
    va_end(args);
    return result;
}

std::string cleanExponent(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool inExponent = (c == 'e' || c == 'E') && i > 0 &&
                          std::isdigit(static_cast<unsigned char>(text[i - 1]));
        if (!inExponent) {
            out += c;
            continue;
        }
        out += 'e';
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            if (text[j] == '-')
                out += '-';
            ++j;
        }
        size_t digitsStart = j;
        while (j < text.size() && text[j] == '0' && j + 1 < text.size() &&
               std::isdigit(static_cast<unsigned char>(text[j + 1])))
            ++j;
        if (j == digitsStart &&
            (j >= text.size() || !std::isdigit(static_cast<unsigned char>(text[j])))) {
            // Not an exponent after all: keep the text as it was.
            out.back() = c;
            j = i + 1;
        }
        i = j - 1;
    }
    return out;
}

// General format: fixed notation while the decimal exponent lies in [-5, digits), scientific
// otherwise; trailing zeros of the fraction dropped.
std::string formatGeneral(Extended value, int digits) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    std::string sci = formatText("%.*Le", digits - 1, value);
    size_t ePos = sci.find('e');
    int exponent = std::atoi(sci.c_str() + ePos + 1);
    std::string text;
    if (exponent >= -5 && exponent < digits) {
        text = formatText("%.*Lf", std::max(0, digits - 1 - exponent), value);
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0')
                text.pop_back();
            if (text.back() == '.')
                text.pop_back();
        }
        return text;
    }
    std::string mantissa = sci.substr(0, ePos);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    return cleanExponent(mantissa + sci.substr(ePos));
}

std::string formatDisplay(Extended value) {
    return formatGeneral(value, 18);
}

std::string formatExponent(Extended value, int digits) {
    return cleanExponent(formatText("%.*Le", digits - 1, value));
}

std::optional<Extended> parseNumber(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    size_t start = i;
    size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        size_t expDigits = 0;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
            ++j, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
        i = j;
    }
    if (i != text.size())
        return std::nullopt;
    Extended value = 0;
    auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    if (end != text.data() + text.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a number we can hold.
        std::string copy(text.substr(start));
        value = std::strtold(copy.c_str(), nullptr);
        if (std::isinf(value))
            return std::nullopt;
    }
    return negative ? -value : value;
}

std::string trim(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return std::string(text.substr(first, last - first));
}

std::optional<Extended> parseTrimmedNumber(std::string_view text) {
    return parseNumber(trim(text));
}

std::optional<long long> parseInteger(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && text[i] == '+')
        ++i;
    long long value = 0;
    auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || i == text.size())
        return std::nullopt;
    return value;
}

std::string toLower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}
