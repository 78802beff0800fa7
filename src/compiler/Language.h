// The expression language's shared tables and line rules: function names, operation characters,
// line cleaning, identifiers and operands.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Position = opcode of the function.
extern const std::array<std::string_view, 14> FunctionNames;

// log, mod and mCn take two arguments.
bool NeedsSecondOperand(std::uint16_t opcode);
// The 20 opcodes the parser emits: codes 0 to 13, then "!", "*", "+", "-", "/", "^".
extern const std::array<std::uint16_t, 20> OperationChars;
bool isOperationChar(std::uint16_t code);
// The function name for codes 0 to 13, otherwise the opcode character itself.
std::string OpName(std::uint16_t opcode);
// Position of a function name (compared without regard to case), or -1.
int functionIndex(std::string_view name);

// Removes every character with a code of 32 or less.
std::string removeBlanks(std::string_view text);
// Removes every brace comment: from a "{" to the "}" that closes it, with nested groups inside;
// a brace without a partner stays and makes the line fail to parse.
std::string removeBraceComments(std::string_view text);
// Blanks and control characters out, lower case, brace comments out.
std::string CleanLine(std::string_view line);

// A letter or "_" followed by letters, digits or "_" (ASCII letters only).
bool isValidIdentifier(std::string_view text);
// An identifier, or a text that reads completely as a number.
bool ValidOperand(std::string_view text);
