// The code generator: turns the parsed lines into the compiled problem's variable table and
// straight-line instruction list, then evaluates every instruction once at the initial point.
#pragma once

#include "common/Extended.h"
#include "compiler/CompiledProblem.h"
#include "compiler/InstructionIndex.h"
#include "compiler/Postfix.h"

#include <cstdint>
#include <vector>

class FormulaParser;

inline constexpr const char* WrongEstimateMessage =
    "Wrongly estimated length for variables or instructions. Contact the developer";
inline constexpr const char* WrongFormulaListMessage = "The list of formulas is wrong!";

// Builds the compiled problem from the TPostfix lines of the parser's last successful
// ParseFormulas and evaluates every instruction once. NumMain, NumConst, DerivStart, IndepLine,
// IndepVar and Polynomials must be set. Returns false when the size estimate proved too small;
// the caller then shows WrongEstimateMessage. Throws OrvantaError for a parse that did not
// succeed and for an operation not allowed on its operands, EvaluationError when the once-only
// evaluation fails. The parser's TPostfix lines are released in every case.
bool CompileFormulas(TCompiledProblem& problem, FormulaParser& parser, std::int32_t termCount,
                     Extended angleFactor);

// The generator's state during one compilation: the instructions emitted so far and one value
// and constancy flag per variable, the formula lines' variables first.
class CodeGenerator {
  public:
    CodeGenerator(const TCompiledProblem& problem, std::int32_t lineCount);
    // Room for the expected numbers of variables and instructions, so nothing grows on the way.
    void reserve(std::size_t variables, std::size_t instructionCount);

    // Generates the instructions of line i.
    void Encode(const TPostfix& postfix, std::int32_t i);
    // Sets the operand class of an instruction of line i and rejects what its class does not
    // allow ("Wrong operation %s"); squares become "2".
    void ClassifyInstruction(TInstruction& instruction, std::int32_t line) const;
    // The result of the first earlier instruction computing the same value, or -1.
    std::int32_t FindSameInstruction(const TInstruction& instruction) const;
    // Rewrites the last instruction into its sequence with companion series, if it has one.
    void ExpandInstruction();
    // The variable of an operand item; a literal gets a new constant variable.
    std::int32_t operandOf(const PostfixItem& item);
    std::int32_t newVariable(bool constant, Extended value = 0);
    // Lines whose variables are functions of the solution, whatever their formula.
    bool isVariableLine(std::int32_t line) const;

    std::int32_t VarCount() const { return static_cast<std::int32_t>(values.size()) - 1; }
    std::int32_t InstrCount() const { return static_cast<std::int32_t>(instructions.size()) - 1; }

    std::vector<TInstruction> instructions;
    std::vector<Extended> values; // element 0 of each variable
    std::vector<std::uint8_t> isConstant;

  private:
    struct StackEntry {
        const PostfixItem* literal; // a number not yet given its variable, or null
        std::int32_t var;
    };
    std::int32_t resolve(const StackEntry& entry);
    void indexFrom(std::size_t position);

    std::int32_t numConst_, numMain_, derivStart_;
    InstructionIndex index_;
    std::vector<StackEntry> stack_;
};

// ActiveInstructions: every instruction whose class is not cc, in order.
void BuildActiveList(TCompiledProblem& problem);
