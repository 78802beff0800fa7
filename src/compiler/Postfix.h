// TPostfix: one formula line in postfix order, every name already resolved to its line.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An item of a postfix line. Its coded text (codedText) is the operation character alone, or
// "o" + "n"/"v" (constant or not) + "u"/"i" (literal or variable index) + the payload.
struct PostfixItem {
    enum class Kind : std::uint8_t { Operation, Number, Name, Result };
    Kind kind = Kind::Operation;
    bool constant = false;  // the "n" marker: numbers, and results known to be constant
    std::uint16_t op = 0;   // Operation
    std::int32_t index = 0; // Name: the defining line; Result: the variable
    Extended value = 0;     // Number
    std::string_view text;  // Number: its text as read (a view into the parser's cleaned lines)

    bool isOperand() const { return kind != Kind::Operation; }
    bool isLiteral() const { return kind == Kind::Number; }
    std::string codedText() const;
};

class TPostfix {
  public:
    std::vector<PostfixItem> Items;

    // Position of the first operation item, or -1.
    int FirstOperation() const;
    std::vector<std::string> codedItems() const;
};
