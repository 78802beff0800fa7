#include "compiler/Lexer.h"

#include "common/NumberText.h"

static bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
static bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '.';
}

void Lexer::start(std::string_view rightSide) {
    text_ = rightSide;
    next_ = 0;
    Token = {};
}

// The end of the longest prefix at `start` that is a complete number, or `start` when there is
// none. Equivalent to trying every prefix of the run of number characters, but linear: the
// complete prefixes lie in the mantissa (any prefix holding a digit) or in the exponent (any
// prefix holding an exponent digit), and within each part a longer prefix never has a smaller
// magnitude, except that a negative exponent only shrinks it. So only overflow can reject a
// syntactically complete prefix, and it is monotone there: a binary search finds the last good
// one.
std::size_t Lexer::numberEnd(std::size_t start) const {
    std::size_t i = start;
    std::size_t firstDigitEnd = 0; // end of the shortest mantissa prefix holding a digit
    while (i < text_.size() && isDigit(text_[i]))
        ++i;
    if (i > start)
        firstDigitEnd = start + 1;
    if (i < text_.size() && text_[i] == '.') {
        ++i;
        std::size_t fractionStart = i;
        while (i < text_.size() && isDigit(text_[i]))
            ++i;
        if (firstDigitEnd == 0 && i > fractionStart)
            firstDigitEnd = fractionStart + 1;
    }
    if (firstDigitEnd == 0)
        return start;
    std::size_t mantissaEnd = i;
    auto converts = [&](std::size_t end) {
        return parseNumber(text_.substr(start, end - start)).has_value();
    };
    auto lastConverting = [&](std::size_t low, std::size_t high) -> std::size_t {
        // Prefix ends in [low, high] convert up to some end and fail after it; 0 when none does.
        if (!converts(low))
            return 0;
        while (low < high) {
            std::size_t middle = low + (high - low + 1) / 2;
            if (converts(middle))
                low = middle;
            else
                high = middle - 1;
        }
        return low;
    };
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text_.size() && (text_[j] == '+' || text_[j] == '-'))
            ++j;
        std::size_t exponentStart = j;
        while (j < text_.size() && isDigit(text_[j]))
            ++j;
        if (j > exponentStart) {
            if (converts(j))
                return j;
            // A negative exponent that overflows fails for every shorter exponent too.
            if (text_[exponentStart - 1] != '-') {
                std::size_t end = lastConverting(exponentStart + 1, j);
                if (end != 0)
                    return end;
            }
        }
    }
    std::size_t end = lastConverting(firstDigitEnd, mantissaEnd);
    return end != 0 ? end : start;
}

void Lexer::NextToken() {
    std::size_t p = next_;
    if (p >= text_.size()) {
        Token = {};
        return;
    }
    std::size_t end;
    if (isWordChar(text_[p])) {
        end = numberEnd(p);
        if (end == p) {
            end = p + 1;
            while (end < text_.size() && isWordChar(text_[end]))
                ++end;
        }
    } else {
        // A character of its own; a multi-byte UTF-8 character stays whole so that messages
        // show it as typed.
        end = p + 1;
        if (static_cast<unsigned char>(text_[p]) >= 0xC0)
            while (end < text_.size() && (static_cast<unsigned char>(text_[end]) & 0xC0) == 0x80)
                ++end;
    }
    Token = text_.substr(p, end - p);
    next_ = end;
}
