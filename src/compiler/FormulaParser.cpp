#include "compiler/FormulaParser.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/Language.h"

namespace {
// Deeper nesting than any formula needs would only exhaust the stack.
constexpr int MaxNesting = 1000;

std::string quoted(std::string_view text) {
    return formatText("\"%.*s\"", static_cast<int>(text.size()), text.data());
}
} // namespace

bool FormulaParser::ParseFormulas(const std::vector<std::string>& lines) {
    FormulasParsed = false;
    releasePostfix();
    names_.clear();
    cleaned_.clear();
    cleaned_.reserve(lines.size());
    for (const auto& line : lines)
        cleaned_.push_back(CleanLine(line));
    if (cleaned_.empty())
        return false;
    for (std::size_t i = 0; i < cleaned_.size(); ++i) {
        std::string_view line = cleaned_[i];
        std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            names_.emplace(line.substr(0, equals), static_cast<std::int32_t>(i));
    }
    Postfix.resize(cleaned_.size());
    for (std::int32_t i = 0; i < lineCount(); ++i) {
        CurrentLine = i;
        StartFormula(i);
        lexer_.NextToken();
        ParseExpression();
        Postfix[i] = CreateForLine(i);
        FinishFormula();
    }
    FormulasParsed = true;
    return true;
}

void FormulaParser::releasePostfix() {
    Postfix.clear();
    Postfix.shrink_to_fit();
}

void FormulaParser::fail(const std::string& message) {
    throw OrvantaError(message);
}

std::string FormulaParser::parsedText() {
    ErrorText = std::string(lexer_.parsedText());
    return ErrorText;
}

void FormulaParser::StartFormula(std::int32_t i) {
    // Errors found before any text is read select the whole line.
    ErrorText.clear();
    nesting_ = 0;
    std::string_view line = cleaned_[i];
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        fail(std::string(line) + " : no equation!");
    std::string_view name = line.substr(0, equals);
    if (!isValidIdentifier(name))
        fail(formatText("Wrong name %s !", std::string(name).c_str()));
    if (names_.at(name) < i)
        fail(formatText("Attempt to redefine %s !", std::string(name).c_str()));
    lexer_.start(line.substr(equals + 1));
    output_.clear();
    if (line.size() == equals + 1)
        fail(formatText("Empty right side for %s !", std::string(name).c_str()));
}

void FormulaParser::ParseExpression() {
    if (lexer_.Token.empty())
        return;
    if (lexer_.Token != "+" && lexer_.Token != "-")
        ParseTerm();
    else
        emitOperand("0");
    while (lexer_.Token == "+" || lexer_.Token == "-") {
        std::uint16_t op = static_cast<std::uint16_t>(lexer_.Token[0]);
        lexer_.NextToken();
        ParseTerm();
        emitOperation(op);
    }
}

void FormulaParser::ParseTerm() {
    ParseFactor();
    while (lexer_.Token == "*" || lexer_.Token == "/") {
        std::uint16_t op = static_cast<std::uint16_t>(lexer_.Token[0]);
        lexer_.NextToken();
        ParseFactor();
        emitOperation(op);
    }
}

void FormulaParser::ParseFactor() {
    if (++nesting_ > MaxNesting)
        fail(parsedText() + "\n\r expression nested too deeply");
    int f = functionIndex(lexer_.Token);
    if (f >= 0) {
        lexer_.NextToken();
        if (lexer_.Token != "(")
            fail(parsedText() + "\n\r \"(\" expected but " + quoted(lexer_.Token) + " found");
    }
    if (lexer_.Token == "(") {
        lexer_.NextToken();
        ParseExpression();
        if (lexer_.Token != ")" && lexer_.Token != ",")
            fail(parsedText() + "\n\r \")\" or \",\" expected but " + quoted(lexer_.Token) +
                 " found");
        // A "," closes only the first argument of a two-argument function; everywhere else the
        // closing ")" must follow, so that (1, or mod(7,3 is not taken for a whole expression.
        auto requireClosing = [this] {
            if (lexer_.Token != ")")
                fail(parsedText() + "\n\r \")\" expected but " + quoted(lexer_.Token) + " found");
        };
        if (f >= 0) {
            auto opcode = static_cast<std::uint16_t>(f);
            if (lexer_.Token == ",") {
                if (!NeedsSecondOperand(opcode))
                    fail(parsedText() + "\n\r" + std::string(lexer_.Token) +
                         " second operand not needed");
                lexer_.NextToken();
                ParseExpression();
                requireClosing();
            } else {
                if (NeedsSecondOperand(opcode))
                    fail(parsedText() + "\n\r" + std::string(lexer_.Token) +
                         " second operand needed");
                emitOperand("0");
            }
            emitOperation(opcode);
        } else {
            requireClosing();
        }
        lexer_.NextToken();
    } else {
        if (lexer_.Token.empty())
            fail(parsedText() + "\n\r operand expected but nothing found");
        if (!ValidOperand(lexer_.Token))
            fail(parsedText() + "\n\r" + std::string(lexer_.Token) + " not a valid operand");
        emitOperand(lexer_.Token);
        lexer_.NextToken();
    }
    while (lexer_.Token == "^") {
        lexer_.NextToken();
        ParseFactor();
        emitOperation('^');
    }
    if (lexer_.Token == "!") {
        lexer_.NextToken();
        emitOperand("0");
        emitOperation('!');
    }
    --nesting_;
}

void FormulaParser::FinishFormula() {
    if (lexer_.textRemains()) {
        std::string parsed = parsedText();
        if (parsed.find(';') != std::string::npos)
            fail(parsed +
                 " looks like a multi-IVP.\n\rFirst unfold it by creating an array of IVPs");
        fail(parsed + "\n\r parsing stopped here");
    }
    if (!lexer_.Token.empty())
        fail(std::string(lexer_.Token) + "\n\r can not be parsed. The end of line reached");
}

TPostfix FormulaParser::CreateForLine(std::int32_t i) {
    TPostfix postfix;
    postfix.Items.reserve(output_.size());
    for (const RawItem& raw : output_) {
        PostfixItem item;
        if (raw.operation) {
            item.op = raw.op;
        } else if (isValidIdentifier(raw.text)) {
            ErrorText = std::string(raw.text);
            auto found = names_.find(raw.text);
            if (found == names_.end() || found->second >= i)
                fail(ErrorText + " not defined yet");
            item.kind = PostfixItem::Kind::Name;
            item.index = found->second;
        } else {
            item.kind = PostfixItem::Kind::Number;
            item.constant = true;
            item.text = raw.text;
            item.value = *parseNumber(raw.text);
        }
        postfix.Items.push_back(item);
    }
    return postfix;
}
