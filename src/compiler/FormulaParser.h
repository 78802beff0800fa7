// The recursive-descent parser: checks every formula line and turns it into a TPostfix whose
// names are resolved to the lines that define them.
#pragma once

#include "compiler/Lexer.h"
#include "compiler/Postfix.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class FormulaParser {
  public:
    // Parses every line; false when there are none. Throws OrvantaError with the message of the
    // first error; CurrentLine and ErrorText then tell where it is.
    bool ParseFormulas(const std::vector<std::string>& lines);

    std::int32_t CurrentLine = -1; // the line being parsed, kept after an error
    std::string ErrorText;         // the text to select in the failing line (empty: the whole line)
    bool FormulasParsed = false;
    std::vector<TPostfix> Postfix; // one per line, until the code generator releases them

    std::int32_t lineCount() const { return static_cast<std::int32_t>(cleaned_.size()); }
    void releasePostfix();

  private:
    struct RawItem { // an item of PostfixOutput: an opcode, or an operand's text
        bool operation;
        std::uint16_t op;
        std::string_view text;
    };

    void StartFormula(std::int32_t i);
    void ParseExpression();
    void ParseTerm();
    void ParseFactor();
    void FinishFormula();
    TPostfix CreateForLine(std::int32_t i);

    std::string parsedText();
    [[noreturn]] void fail(const std::string& message);
    void emitOperand(std::string_view text) { output_.push_back({false, 0, text}); }
    void emitOperation(std::uint16_t op) { output_.push_back({true, op, {}}); }

    std::vector<std::string> cleaned_;                         // the lines after CleanLine
    std::unordered_map<std::string_view, std::int32_t> names_; // name -> first line defining it
    Lexer lexer_;
    int nesting_ = 0;
    std::vector<RawItem> output_;
};
