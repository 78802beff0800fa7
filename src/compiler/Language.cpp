#include "compiler/Language.h"

#include "common/NumberText.h"

#include <algorithm>
#include <utility>
#include <vector>

const std::array<std::string_view, 14> FunctionNames = {
    "cos", "sin", "tan",  "arccos", "arcsin", "arctan",     "exp",
    "ln",  "log", "sqrt", "mod",    "mCn",    "polynomial", "Abs"};

const std::array<std::uint16_t, 20> OperationChars = {0,  1,  2,  3,  4,   5,   6,   7,   8,   9,
                                                      10, 11, 12, 13, '!', '*', '+', '-', '/', '^'};

bool NeedsSecondOperand(std::uint16_t opcode) {
    return opcode == 8 || opcode == 10 || opcode == 11;
}

bool isOperationChar(std::uint16_t code) {
    return code <= 13 || code == '!' || code == '*' || code == '+' || code == '-' || code == '/' ||
           code == '^';
}

std::string OpName(std::uint16_t opcode) {
    if (opcode < FunctionNames.size())
        return std::string(FunctionNames[opcode]);
    return std::string(1, static_cast<char>(opcode));
}

static char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int functionIndex(std::string_view name) {
    for (std::size_t f = 0; f < FunctionNames.size(); ++f) {
        std::string_view function = FunctionNames[f];
        if (function.size() == name.size() &&
            std::equal(function.begin(), function.end(), name.begin(),
                       [](char a, char b) { return asciiLower(a) == asciiLower(b); }))
            return static_cast<int>(f);
    }
    return -1;
}

std::string removeBlanks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            result += c;
    return result;
}

std::string removeBraceComments(std::string_view text) {
    // Braces nest: a "}" closes the latest open "{". Only the outermost closed groups are kept,
    // since each one swallows every group inside it.
    std::vector<std::size_t> open;
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{') {
            open.push_back(i);
        } else if (text[i] == '}' && !open.empty()) {
            const std::size_t start = open.back();
            open.pop_back();
            while (!groups.empty() && groups.back().first > start)
                groups.pop_back();
            groups.emplace_back(start, i);
        }
    }
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (const auto& [start, end] : groups) {
        result.append(text.substr(from, start - from));
        from = end + 1;
    }
    result.append(text.substr(from));
    return result;
}

std::string CleanLine(std::string_view line) {
    return removeBraceComments(toLower(removeBlanks(line)));
}

static bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
static bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isValidIdentifier(std::string_view text) {
    if (text.empty() || !(isAsciiLetter(text[0]) || text[0] == '_'))
        return false;
    return std::all_of(text.begin() + 1, text.end(),
                       [](char c) { return isAsciiLetter(c) || isDigit(c) || c == '_'; });
}

bool ValidOperand(std::string_view text) {
    return isValidIdentifier(text) || parseNumber(text).has_value();
}
