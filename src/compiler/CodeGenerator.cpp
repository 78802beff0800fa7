#include "compiler/CodeGenerator.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/FormulaParser.h"
#include "compiler/Language.h"
#include "compiler/OrderZero.h"

#include <algorithm>
#include <span>

namespace {

// The opcodes each operand class allows.
bool allowedInClass(std::uint8_t operandClass, std::uint16_t op) {
    static constexpr std::uint16_t cc[] = {0,  1,  2,  3,   4,   5,   6,   7,   8,   9,
                                           10, 11, 13, '=', '!', '*', '+', '-', '/', '^'};
    static constexpr std::uint16_t cv[] = {8, 12, '=', '*', '+', '-', '/', '^'};
    static constexpr std::uint16_t vc[] = {0, 1,   2,   3,   4,   5,   6,   7,   8,
                                           9, '=', '1', '2', '*', '+', '-', '/', '^'};
    static constexpr std::uint16_t vv[] = {8, '=', '*', '+', '-', '/', '^'};
    static constexpr std::span<const std::uint16_t> sets[] = {cc, cv, vc, vv};
    const auto& allowed = sets[operandClass];
    return std::find(allowed.begin(), allowed.end(), op) != allowed.end();
}

bool expandsIntoThree(std::uint16_t op) {
    return op <= OpArctan || op == OpLog || op == OpPow;
}

} // namespace

CodeGenerator::CodeGenerator(const TCompiledProblem& problem, std::int32_t lineCount)
    : values(static_cast<std::size_t>(lineCount), 0.0L),
      isConstant(static_cast<std::size_t>(lineCount), 0), numConst_(problem.NumConst),
      numMain_(problem.NumMain), derivStart_(problem.DerivStart) {}

void CodeGenerator::reserve(std::size_t variables, std::size_t instructionCount) {
    values.reserve(variables);
    isConstant.reserve(variables);
    instructions.reserve(instructionCount);
    index_.reserve(instructionCount);
}

bool CodeGenerator::isVariableLine(std::int32_t line) const {
    return line >= numConst_ && line <= derivStart_ + numMain_ - 1;
}

std::int32_t CodeGenerator::newVariable(bool constant, Extended value) {
    values.push_back(value);
    isConstant.push_back(constant ? 1 : 0);
    return VarCount();
}

std::int32_t CodeGenerator::operandOf(const PostfixItem& item) {
    if (item.isLiteral())
        return newVariable(item.constant, item.value);
    return item.index;
}

std::int32_t CodeGenerator::resolve(const StackEntry& entry) {
    return entry.literal ? operandOf(*entry.literal) : entry.var;
}

void CodeGenerator::ClassifyInstruction(TInstruction& instruction, std::int32_t line) const {
    instruction.OperandClass = ClassCC;
    if (line >= numConst_ + numMain_) {
        bool firstConstant = isConstant[instruction.Op1] != 0;
        bool secondConstant = isConstant[instruction.Op2] != 0;
        if (instruction.Op == OpPolynomial)
            instruction.OperandClass = ClassCV;
        else if (firstConstant && !secondConstant)
            instruction.OperandClass = ClassCV;
        else if (!firstConstant && secondConstant)
            instruction.OperandClass = ClassVC;
        else if (!firstConstant && !secondConstant)
            instruction.OperandClass = ClassVV;
    }
    if (!allowedInClass(instruction.OperandClass, instruction.Op))
        throw OrvantaError(formatText("Wrong operation %s", OpName(instruction.Op).c_str()));
    if (instruction.OperandClass == ClassVC && instruction.Op == OpPow &&
        values[instruction.Op2] == 2.0L)
        instruction.Op = OpSquare;
    if (instruction.OperandClass == ClassVV && instruction.Op == OpMul &&
        instruction.Op1 == instruction.Op2) {
        instruction.Op = OpSquare;
        instruction.OperandClass = ClassVC;
    }
}

std::int32_t CodeGenerator::FindSameInstruction(const TInstruction& instruction) const {
    std::int32_t position = index_.find(instruction);
    return position < 0 ? -1 : instructions[static_cast<std::size_t>(position)].Res;
}

void CodeGenerator::indexFrom(std::size_t position) {
    for (; position < instructions.size(); ++position)
        index_.add(instructions[position], static_cast<std::int32_t>(position));
}

void CodeGenerator::ExpandInstruction() {
    const TInstruction original = instructions.back();
    if (original.OperandClass == ClassCC)
        return;
    const std::int32_t r = original.Res, x = original.Op1, y = original.Op2;
    auto replaceBy = [&](std::initializer_list<TInstruction> sequence) {
        instructions.pop_back();
        for (TInstruction instruction : sequence) {
            instruction.Line = original.Line;
            instructions.push_back(instruction);
        }
    };
    switch (original.Op) {
    case OpCos:
    case OpSin: {
        std::uint16_t companion = original.Op == OpCos ? OpSin : OpCos;
        std::int32_t t = newVariable(false);
        replaceBy({{ClassVC, original.Op, x, t, r, 0}, {ClassVC, companion, x, r, t, 0}});
        break;
    }
    case OpTan: {
        std::int32_t t = newVariable(false);
        replaceBy({{ClassVC, OpTan, x, t, r, 0}, {ClassVC, OpOnePlusSquare, r, r, t, 0}});
        break;
    }
    case OpArccos:
    case OpArcsin: {
        std::int32_t t1 = newVariable(false);
        std::int32_t t2 = newVariable(false);
        replaceBy({{ClassVC, OpOneMinusSquare, x, 0, t1, 0},
                   {ClassVC, OpSqrt, t1, 0, t2, 0},
                   {ClassVC, original.Op, x, t2, r, 0}});
        break;
    }
    case OpArctan: {
        std::int32_t t = newVariable(false);
        replaceBy({{ClassVC, OpOnePlusSquare, x, x, t, 0}, {ClassVC, OpArctan, x, t, r, 0}});
        break;
    }
    case OpLog: {
        // ln y / ln x, the constant logarithm evaluated once.
        bool baseConstant = original.OperandClass == ClassCV;
        bool argumentConstant = original.OperandClass == ClassVC;
        std::int32_t t1 = newVariable(baseConstant);
        std::int32_t t2 = newVariable(argumentConstant);
        std::uint8_t argumentClass = argumentConstant ? ClassCC : ClassVC;
        std::uint8_t baseClass = baseConstant ? ClassCC : ClassVC;
        std::uint8_t quotientClass = original.OperandClass == ClassVV ? ClassVV
                                     : baseConstant                   ? ClassVC
                                                                      : ClassCV;
        replaceBy({{argumentClass, OpLn, y, 0, t2, 0},
                   {baseClass, OpLn, x, 0, t1, 0},
                   {quotientClass, OpDiv, t2, t1, r, 0}});
        break;
    }
    case OpPow: {
        if (original.OperandClass == ClassVC)
            break;
        // x^y = exp(ln x * y) when the exponent varies.
        bool baseConstant = original.OperandClass == ClassCV;
        std::int32_t t1 = newVariable(baseConstant);
        std::int32_t t2 = newVariable(false);
        replaceBy({{baseConstant ? ClassCC : ClassVC, OpLn, x, 0, t1, 0},
                   {original.OperandClass, OpMul, t1, y, t2, 0},
                   {ClassVC, OpExp, t2, 0, r, 0}});
        break;
    }
    default:
        break;
    }
}

void CodeGenerator::Encode(const TPostfix& postfix, std::int32_t i) {
    const auto& items = postfix.Items;
    if (items.size() == 1) {
        const PostfixItem& item = items[0];
        // A constant defined as another constant's name stays a constant.
        bool constant =
            item.kind == PostfixItem::Kind::Name ? isConstant[item.index] != 0 : item.constant;
        isConstant[i] = !isVariableLine(i) && constant;
        if (item.kind == PostfixItem::Kind::Number) {
            values[i] = item.value;
            return;
        }
        TInstruction copy{ClassCC, OpCopy, item.index, item.index, i, i};
        ClassifyInstruction(copy, i);
        instructions.push_back(copy);
        return;
    }
    // The postfix items run through a stack: each operation takes the two operands before it
    // and leaves its result in their place. The operands' literal variables are made as each
    // operation takes them, the second operand first.
    stack_.clear();
    for (std::size_t n = 0; n < items.size(); ++n) {
        const PostfixItem& item = items[n];
        if (item.isOperand()) {
            stack_.push_back(item.isLiteral() ? StackEntry{&item, -1}
                                              : StackEntry{nullptr, item.index});
            continue;
        }
        if (stack_.size() < 2)
            throw OrvantaError(WrongFormulaListMessage);
        TInstruction instruction;
        instruction.Line = i;
        instruction.Op = item.op;
        instruction.Op2 = resolve(stack_.back());
        stack_.pop_back();
        instruction.Op1 = resolve(stack_.back());
        stack_.pop_back();
        ClassifyInstruction(instruction, i);
        std::int32_t same = FindSameInstruction(instruction);
        const std::size_t position = instructions.size();
        if (stack_.empty() && n + 1 == items.size()) {
            instruction.Res = i;
            instructions.push_back(instruction);
            if (same < 0) {
                ExpandInstruction();
            } else {
                instructions.back().Op = OpCopy;
                instructions.back().Op1 = instructions.back().Op2 = same;
            }
            const TInstruction& first = instructions[position];
            isConstant[i] = !isVariableLine(i) && isConstant[first.Op1] && isConstant[first.Op2] &&
                            first.Op != OpPolynomial;
            indexFrom(position);
        } else if (same < 0) {
            bool constant = isConstant[instruction.Op1] && isConstant[instruction.Op2] &&
                            instruction.Op != OpPolynomial;
            instruction.Res = newVariable(constant);
            instructions.push_back(instruction);
            stack_.push_back({nullptr, instruction.Res});
            ExpandInstruction();
            indexFrom(position);
        } else {
            stack_.push_back({nullptr, same});
        }
    }
    if (!stack_.empty())
        throw OrvantaError(WrongFormulaListMessage);
}

void BuildActiveList(TCompiledProblem& problem) {
    problem.ActiveInstructions.clear();
    for (const auto& instruction : problem.Instructions)
        if (instruction.OperandClass != ClassCC)
            problem.ActiveInstructions.push_back(instruction);
}

namespace {

struct SizeEstimate {
    std::size_t variables = 0;
    std::size_t instructions = 0;
};

SizeEstimate estimateSizes(const std::vector<TPostfix>& lines) {
    std::size_t literals = 0;
    std::size_t instructions = 0;
    for (const auto& line : lines)
        for (const auto& item : line.Items) {
            if (item.isOperand())
                literals += item.isLiteral() ? 1 : 0;
            else
                instructions += expandsIntoThree(item.op) ? 3 : 1;
        }
    instructions += lines.size();
    return {lines.size() + instructions + literals, instructions};
}

// Releases the parser's TPostfix lines however the compilation ends.
struct PostfixRelease {
    FormulaParser& parser;
    ~PostfixRelease() { parser.releasePostfix(); }
};

} // namespace

bool CompileFormulas(TCompiledProblem& problem, FormulaParser& parser, std::int32_t termCount,
                     Extended angleFactor) {
    PostfixRelease release{parser};
    if (!parser.FormulasParsed)
        throw OrvantaError(WrongFormulaListMessage);
    const std::int32_t lineCount = parser.lineCount();
    SizeEstimate estimate = estimateSizes(parser.Postfix);
    CodeGenerator generator(problem, lineCount);
    generator.reserve(estimate.variables + 1, estimate.instructions + 1);
    for (std::int32_t i = 0; i < lineCount; ++i) {
        generator.Encode(parser.Postfix[static_cast<std::size_t>(i)], i);
        if (static_cast<std::size_t>(generator.VarCount()) > estimate.variables ||
            generator.instructions.size() > estimate.instructions + 1)
            return false;
    }
    parser.releasePostfix();

    // The program never runs with fewer than 3 Taylor terms; fewer would leave no room for a value.
    termCount = std::max(termCount, 3);
    std::vector<std::int32_t> lengths(generator.values.size());
    for (std::size_t v = 0; v < lengths.size(); ++v)
        lengths[v] = generator.isConstant[v] ? 1 : termCount;
    problem.Coefficients.layout(lengths);
    for (std::size_t v = 0; v < lengths.size(); ++v)
        problem.Coefficients[static_cast<std::int32_t>(v)][0] = generator.values[v];
    problem.IsConstant = std::move(generator.isConstant);
    problem.Instructions = std::move(generator.instructions);
    problem.StepTable.assign(
        static_cast<std::size_t>(std::max(0, problem.DerivStart - problem.NumConst)),
        std::vector<Extended>(static_cast<std::size_t>(termCount), 0.0L));
    BuildActiveList(problem);

    const bool hasIndep = problem.IndepLine >= 0;
    problem.CurrentIndep = hasIndep ? problem.Coefficients[problem.IndepVar][0] : 0;
    for (std::size_t k = 0; k < problem.Instructions.size(); ++k) {
        EvaluateOrderZero(problem, problem.Instructions, static_cast<std::int32_t>(k), angleFactor);
        if (hasIndep && problem.Instructions[k].Line == problem.IndepVar)
            problem.CurrentIndep = problem.Coefficients[problem.IndepVar][0];
    }
    return true;
}
