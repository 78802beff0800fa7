// The printed forms of variables and instructions, as the instruction list and the debugging
// view show them.
#pragma once

#include "compiler/CompiledProblem.h"

#include <cstdint>
#include <string>
#include <vector>

// The label of every formula line: its name (the text before the first "=", without blanks);
// on a derivative line (from derivStart on) the "Deriv" that ends the name is shown as "'".
std::vector<std::string> lineLabels(const std::vector<std::string>& formulaList,
                                    std::int32_t derivStart);
// A formula line's label, or "[v]" for a literal or intermediate variable.
std::string VariableLabel(const std::vector<std::string>& labels, std::int32_t v);
// "cc", "cv", "vc" or "vv".
std::string classLabel(std::uint8_t operandClass);
// For example "(vc)  [4] = sin(x){[5]}" or "(cv)  x' = a * [7]".
std::string InstructionText(const TInstruction& instruction,
                            const std::vector<std::string>& labels);
