#include "CompileHelpers.h"

#include "common/OrvantaError.h"
#include "compiler/CodeGenerator.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using Texts = std::vector<std::string>;

// One ODE x' = rightSide over constants a = 2, b = 3 and main variables x = 0.5, y = 2, t = 0;
// the variables it generates are numbered from 8.
CompiledPanes compileOde(const std::string& rightSide) {
    return compilePanes({{"a = 2", "b = 3"},
                         {"x = 0.5", "y = 2", "t = 0"},
                         {},
                         {"x' = " + rightSide, "y' = 0", "t' = 1"}});
}

int countOp(const TCompiledProblem& problem, std::uint16_t op) {
    int count = 0;
    for (const auto& instruction : problem.Instructions)
        count += instruction.Op == op ? 1 : 0;
    return count;
}

} // namespace

TEST(CodeGenerator, WorkedExample) {
    auto compiled = compilePanes({{"a = 2"}, {"x = 1"}, {}, {"x' = a*sin(x)^2"}});
    const auto& problem = compiled.problem;
    EXPECT_EQ(compiled.texts(), Texts({"(vc)  [4] = sin(x){[5]}", "(vc)  [5] = cos(x){[4]}",
                                       "(vc)  [7] = [4]^2", "(cv)  x' = a * [7]"}));
    ASSERT_EQ(problem.Instructions.size(), 4u);
    const TInstruction& square = problem.Instructions[2];
    EXPECT_EQ(square.Op, OpSquare);
    EXPECT_EQ(square.Op1, 4);
    EXPECT_EQ(square.Op2, 6);
    EXPECT_EQ(square.Res, 7);
    EXPECT_EQ(square.Line, 2);
    EXPECT_EQ(problem.ActiveInstructions.size(), 4u);
    EXPECT_EQ(problem.Coefficients.count(), 8);
    EXPECT_TRUE(problem.IsConstant[3] && problem.IsConstant[6] && problem.IsConstant[0]);
    EXPECT_FALSE(problem.IsConstant[4] || problem.IsConstant[5] || problem.IsConstant[7]);
    EXPECT_EQ(compiled.value(6), 2);
    // Constants keep one coefficient, every other variable one per Taylor term.
    EXPECT_EQ(problem.Coefficients.length(0), 1);
    EXPECT_EQ(problem.Coefficients.length(7), 31);
    EXPECT_EQ(problem.StepTable.size(), 1u);
    EXPECT_EQ(problem.StepTable[0].size(), 31u);
    // The order-0 values at the initial point.
    EXPECT_EQ(compiled.value(4), std::sin(1.0L));
    EXPECT_EQ(compiled.value(5), std::cos(1.0L));
    EXPECT_EQ(compiled.value(2), 2 * std::sin(1.0L) * std::sin(1.0L));
}

TEST(CodeGenerator, NumbersAndCopies) {
    auto literal = compileOde("2");
    EXPECT_TRUE(literal.texts().empty());
    EXPECT_EQ(literal.value(literal.problem.DerivStart), 2);

    auto copy = compileOde("y");
    EXPECT_EQ(copy.texts(), Texts({"(vv)  x' = y"}));
    EXPECT_EQ(copy.problem.ActiveInstructions.size(), 1u);

    auto constantCopy = compileOde("a");
    EXPECT_EQ(constantCopy.texts(), Texts({"(cc)  x' = a"}));
    EXPECT_TRUE(constantCopy.problem.ActiveInstructions.empty());
    EXPECT_EQ(constantCopy.value(constantCopy.problem.DerivStart), 2);
}

TEST(CodeGenerator, ReusesEqualInstructions) {
    // The cos reuses the companion of the sin.
    auto trig = compileOde("sin(x)+cos(x)");
    EXPECT_EQ(countOp(trig.problem, OpSin), 1);
    EXPECT_EQ(countOp(trig.problem, OpCos), 1);
    EXPECT_EQ(trig.texts().back(), "(vv)  x' = [9] + [10]");
    // "+" and "*" match with their operands in either order.
    auto sum = compileOde("(x+y)*(y+x)");
    EXPECT_EQ(sum.texts(), Texts({"(vv)  [8] = x + y", "(vc)  x' = [8]^2"}));
    // Every literal has its own variable, so x+1 is computed twice.
    auto literals = compileOde("(x+1)*(x+1)");
    EXPECT_EQ(countOp(literals.problem, OpAdd), 2);
    // A whole right side found earlier becomes a copy of it.
    auto repeated = compilePanes({{}, {"x = 1", "y = 2"}, {"u = x*y"}, {"x' = y*x", "y' = u"}});
    EXPECT_EQ(repeated.texts(), Texts({"(vv)  u = x * y", "(vv)  x' = u", "(vv)  y' = u"}));
}

TEST(CodeGenerator, SquaresAndPowers) {
    EXPECT_EQ(compileOde("x*x").texts(), Texts({"(vc)  x' = x^2"}));
    EXPECT_EQ(compileOde("x^2").texts(), Texts({"(vc)  x' = x^2"}));
    EXPECT_EQ(compileOde("x^3").texts(), Texts({"(vc)  x' = x ^ [8]"}));
    EXPECT_EQ(compileOde("2^x").texts(),
              Texts({"(cc)  [9] = ln([8])", "(cv)  [10] = [9] * x", "(vc)  x' = exp([10])"}));
    EXPECT_EQ(compileOde("x^y").texts(),
              Texts({"(vc)  [8] = ln(x)", "(vv)  [9] = [8] * y", "(vc)  x' = exp([9])"}));
}

TEST(CodeGenerator, CompanionSequences) {
    EXPECT_EQ(compileOde("tan(x)").texts(),
              Texts({"(vc)  x' = tan(x){[9]}", "(vc)  [9] = 1 + x'^2"}));
    EXPECT_EQ(
        compileOde("arcsin(x)").texts(),
        Texts({"(vc)  [9] = 1 - x^2", "(vc)  [10] = sqrt([9])", "(vc)  x' = arcsin(x){[10]}"}));
    EXPECT_EQ(compileOde("arctan(x)").texts(),
              Texts({"(vc)  [9] = 1 + x^2", "(vc)  x' = arctan(x){[9]}"}));
    EXPECT_EQ(compileOde("log(a,x)").texts(),
              Texts({"(vc)  [9] = ln(x)", "(cc)  [8] = ln(a)", "(vc)  x' = [9] / [8]"}));
    EXPECT_EQ(compileOde("log(x,a)").texts(),
              Texts({"(cc)  [9] = ln(a)", "(vc)  [8] = ln(x)", "(cv)  x' = [9] / [8]"}));
    EXPECT_EQ(compileOde("log(x,y)").texts(),
              Texts({"(vc)  [9] = ln(y)", "(vc)  [8] = ln(x)", "(vv)  x' = [9] / [8]"}));
    auto logValue = compileOde("log(a,y+6)");
    EXPECT_NEAR(static_cast<double>(logValue.value(logValue.problem.DerivStart)), 3, 1e-15);
}

TEST(CodeGenerator, OperationsThatNeedConstants) {
    EXPECT_EQ(compileError({{}, {"x = 1"}, {}, {"x' = mod(x,2)"}}), "Wrong operation mod");
    EXPECT_EQ(compileError({{}, {"x = 1"}, {}, {"x' = x!"}}), "Wrong operation !");
    EXPECT_EQ(compileError({{}, {"x = 1"}, {}, {"x' = abs(x)"}}), "Wrong operation Abs");
    EXPECT_EQ(compileError({{"c = 1"}, {"x = 1"}, {}, {"x' = mCn(c,x)"}}), "Wrong operation mCn");
    EXPECT_EQ(compileError({{"p = polynomial(0)"}, {"x = 1"}, {}, {"x' = 1"}}),
              "Wrong operation polynomial");
    auto folded = compileOde("mod(7,2)");
    EXPECT_EQ(folded.value(folded.problem.DerivStart), 1);
    EXPECT_TRUE(folded.problem.ActiveInstructions.empty());
}

TEST(CodeGenerator, ConstantDefinedByAnotherConstantStaysConstant) {
    auto compiled = compilePanes({{"a = 2", "b = a"}, {"x = 1"}, {}, {"x' = mod(b,3)*x"}});
    EXPECT_TRUE(compiled.problem.IsConstant[1]);
    EXPECT_EQ(compiled.value(compiled.problem.DerivStart), 2);
    // Initial values are functions of the solution even when written as a constant's name.
    auto initial = compilePanes({{"a = 2"}, {"x = a"}, {}, {"x' = x"}});
    EXPECT_FALSE(initial.problem.IsConstant[1]);
    EXPECT_EQ(initial.texts().back(), "(vv)  x' = x");
}

TEST(CodeGenerator, RefusesToRunWithoutASuccessfulParse) {
    TCompiledProblem problem;
    FormulaParser parser;
    EXPECT_THROW(
        {
            try {
                CompileFormulas(problem, parser, 31, Radians);
            } catch (const OrvantaError& error) {
                EXPECT_STREQ(error.what(), "The list of formulas is wrong!");
                throw;
            }
        },
        OrvantaError);
}

// The stack-based generator and a literal transcription of the item-list algorithm (scan for the
// first operation, erase its operands, insert the result in their place, scan the instruction
// list from the front for an equal one) must produce the same instructions and variables.
namespace {

bool naiveMatch(const TInstruction& earlier, const TInstruction& wanted) {
    if (earlier.OperandClass != wanted.OperandClass || earlier.Op != wanted.Op)
        return false;
    switch (wanted.Op) {
    case OpCos:
    case OpSin:
    case OpTan:
    case OpArccos:
    case OpArcsin:
    case OpArctan:
    case OpExp:
    case OpLn:
    case OpSqrt:
        return earlier.Op1 == wanted.Op1;
    case OpMul:
    case OpAdd:
        return (earlier.Op1 == wanted.Op1 && earlier.Op2 == wanted.Op2) ||
               (earlier.Op1 == wanted.Op2 && earlier.Op2 == wanted.Op1);
    case OpCopy:
        return false;
    default:
        return earlier.Op1 == wanted.Op1 && earlier.Op2 == wanted.Op2;
    }
}

void naiveEncode(CodeGenerator& generator, TPostfix postfix, std::int32_t i) {
    auto& items = postfix.Items;
    if (items.size() == 1) {
        generator.Encode(postfix, i); // no list work for a single operand
        return;
    }
    while (items.size() >= 3) {
        int p = postfix.FirstOperation();
        TInstruction instruction;
        instruction.Line = i;
        instruction.Op = items[p].op;
        items.erase(items.begin() + p);
        instruction.Op2 = generator.operandOf(items[p - 1]);
        items.erase(items.begin() + p - 1);
        instruction.Op1 = generator.operandOf(items[p - 2]);
        items.erase(items.begin() + p - 2);
        generator.ClassifyInstruction(instruction, i);
        std::int32_t same = -1;
        for (const auto& earlier : generator.instructions)
            if (naiveMatch(earlier, instruction)) {
                same = earlier.Res;
                break;
            }
        std::size_t position = generator.instructions.size();
        PostfixItem result;
        result.kind = PostfixItem::Kind::Result;
        if (items.empty()) {
            instruction.Res = i;
            generator.instructions.push_back(instruction);
            if (same < 0) {
                generator.ExpandInstruction();
            } else {
                generator.instructions.back().Op = OpCopy;
                generator.instructions.back().Op1 = generator.instructions.back().Op2 = same;
            }
            const auto& first = generator.instructions[position];
            generator.isConstant[i] = !generator.isVariableLine(i) &&
                                      generator.isConstant[first.Op1] &&
                                      generator.isConstant[first.Op2] && first.Op != OpPolynomial;
        } else if (same < 0) {
            bool constant = generator.isConstant[instruction.Op1] &&
                            generator.isConstant[instruction.Op2] && instruction.Op != OpPolynomial;
            instruction.Res = generator.newVariable(constant);
            generator.instructions.push_back(instruction);
            result.index = instruction.Res;
            items.insert(items.begin() + p - 2, result);
            generator.ExpandInstruction();
        } else {
            result.index = same;
            items.insert(items.begin() + p - 2, result);
        }
    }
}

class RandomFormulas {
  public:
    explicit RandomFormulas(unsigned seed) : random_(seed) {}

    std::string expression(const std::vector<std::string>& names, int depth) {
        int choice = pick(depth <= 0 ? 3 : 14);
        switch (choice) {
        case 0:
        case 1:
            return names[pick(static_cast<int>(names.size()))];
        case 2:
            return std::vector<std::string>{"0", "1", "2", "2.5", "3"}[pick(5)];
        case 3:
            return expression(names, depth - 1) + "+" + expression(names, depth - 1);
        case 4:
            return expression(names, depth - 1) + "*" + expression(names, depth - 1);
        case 5:
            return "(" + expression(names, depth - 1) + "-" + expression(names, depth - 1) + ")";
        case 6:
            return expression(names, depth - 1) + "/(" + expression(names, depth - 1) + ")";
        case 7:
            return "(" + expression(names, depth - 1) + ")^" +
                   std::vector<std::string>{"2", "3", "0.5",
                                            names[pick(static_cast<int>(names.size()))]}[pick(4)];
        case 8:
            return std::vector<std::string>{"sin", "cos",    "tan",    "exp",   "sqrt",
                                            "ln",  "arctan", "arcsin", "arccos"}[pick(9)] +
                   "(" + expression(names, depth - 1) + ")";
        case 9:
            return "log(" + expression(names, depth - 1) + "," + expression(names, depth - 1) + ")";
        case 10:
            return "(-" + expression(names, depth - 1) + ")";
        case 11:
            return "(" + expression(names, depth - 1) + ")*(" + expression(names, depth - 1) + ")";
        default: {
            // Sums and products of two names, so that the same pair comes back in either order.
            std::string first = names[pick(static_cast<int>(names.size()))];
            std::string second = names[pick(static_cast<int>(names.size()))];
            return "(" + first + (pick(2) ? "+" : "*") + second + ")";
        }
        }
    }

  private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    std::mt19937 random_;
};

} // namespace

TEST(CodeGenerator, StackFormulationMatchesTheItemListAlgorithm) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        RandomFormulas random(seed);
        std::vector<std::string> names = {"a", "b"};
        std::vector<std::string> lines = {"a = 2", "b = a*3"};
        TCompiledProblem problem;
        problem.NumConst = 2;
        problem.NumMain = 2;
        for (std::string name : {"x", "y"}) {
            lines.push_back(name + " = " + random.expression(names, 2));
            names.push_back(name);
        }
        for (std::string name : {"u", "v"}) {
            lines.push_back(name + " = " + random.expression(names, 3));
            names.push_back(name);
        }
        problem.DerivStart = static_cast<std::int32_t>(lines.size());
        for (std::string name : {"x", "y"}) {
            lines.push_back(name + "Deriv = " + random.expression(names, 4));
            names.push_back(name + "deriv");
        }
        FormulaParser parser;
        ASSERT_TRUE(parser.ParseFormulas(lines));
        CodeGenerator fast(problem, parser.lineCount());
        CodeGenerator naive(problem, parser.lineCount());
        std::string fastError, naiveError;
        try {
            for (std::int32_t i = 0; i < parser.lineCount(); ++i)
                fast.Encode(parser.Postfix[i], i);
        } catch (const OrvantaError& error) {
            fastError = error.what();
        }
        try {
            for (std::int32_t i = 0; i < parser.lineCount(); ++i)
                naiveEncode(naive, parser.Postfix[i], i);
        } catch (const OrvantaError& error) {
            naiveError = error.what();
        }
        ASSERT_EQ(fastError, naiveError) << "seed " << seed;
        if (!fastError.empty())
            continue;
        ++compared;
        ASSERT_EQ(fast.instructions.size(), naive.instructions.size()) << "seed " << seed;
        for (std::size_t k = 0; k < fast.instructions.size(); ++k) {
            const auto& f = fast.instructions[k];
            const auto& n = naive.instructions[k];
            ASSERT_TRUE(f.OperandClass == n.OperandClass && f.Op == n.Op && f.Op1 == n.Op1 &&
                        f.Op2 == n.Op2 && f.Res == n.Res && f.Line == n.Line)
                << "seed " << seed << " instruction " << k;
        }
        ASSERT_EQ(fast.values, naive.values) << "seed " << seed;
        ASSERT_EQ(fast.isConstant, naive.isConstant) << "seed " << seed;
    }
    EXPECT_GT(compared, 150);
}
