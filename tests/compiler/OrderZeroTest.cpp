#include "CompileHelpers.h"

#include "compiler/OrderZero.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The value of the constant c = expression.
Extended constantValue(const std::string& expression, Extended angleFactor = Radians) {
    return compilePanes({{"c = " + expression}, {"x = 1"}, {}, {"x' = 1"}}, angleFactor).value(0);
}

std::string constantError(const std::string& expression) {
    return compileError({{"c = " + expression}, {"x = 1"}, {}, {"x' = 1"}});
}

} // namespace

TEST(OrderZero, ArithmeticOfTheLeftPanes) {
    EXPECT_EQ(constantValue("-2^2"), -4);
    EXPECT_EQ(constantValue("2^3^2"), 512);
    EXPECT_EQ(constantValue("3!"), 6);
    EXPECT_EQ(constantValue("2.6!"), 6);
    EXPECT_EQ(constantValue("2.5!"), 2);
    EXPECT_EQ(constantValue("mCn(5, 2)"), 10);
    EXPECT_EQ(constantValue("mCn(5.5, 1)"), 5.5L);
    EXPECT_EQ(constantValue("mod(-7, 3)"), 2);
    EXPECT_EQ(constantValue("mod(7, -3)"), -2);
    EXPECT_EQ(constantValue("mod(1e20, 7)"), 2);
    EXPECT_EQ(constantValue("mod(2^70, 3)"), 1);
    EXPECT_EQ(constantValue("log(2, 8)"), 3);
    EXPECT_EQ(constantValue("(-2)^3"), -8);
    EXPECT_EQ(constantValue("0^0"), 1);
    EXPECT_EQ(constantValue("0^0.5"), 0);
    EXPECT_EQ(constantValue("abs(0-3)"), 3);
    EXPECT_EQ(constantValue("8/3"), 8.0L / 3);
    EXPECT_EQ(constantValue("1 000"), 1000);
}

TEST(OrderZero, AngleUnitAppliesToOperationsEvaluatedOnce) {
    EXPECT_NEAR(static_cast<double>(constantValue("sin(30)", Degrees)), 0.5, 1e-18);
    EXPECT_EQ(constantValue("sin(30)", Radians), std::sin(30.0L));
    EXPECT_NEAR(static_cast<double>(constantValue("arcsin(1)", Degrees)), 90, 1e-15);
    EXPECT_NEAR(static_cast<double>(constantValue("arctan(1)", Degrees)), 45, 1e-15);
    // A constant sub-expression of an ODE is in degrees, a function of a variable in radians.
    auto compiled =
        compilePanes({{}, {"x = 30", "y = 0"}, {}, {"x' = sin(x)", "y' = sin(30)"}}, Degrees);
    EXPECT_EQ(compiled.value(compiled.problem.DerivStart), std::sin(30.0L));
    EXPECT_NEAR(static_cast<double>(compiled.value(compiled.problem.DerivStart + 1)), 0.5, 1e-18);
}

TEST(OrderZero, FaultsAreSingularities) {
    EXPECT_EQ(constantError("1/0"), "Singularity! Instruction 0: operation /");
    EXPECT_EQ(constantError("(-2)^0.5"), "Singularity! Instruction 1: operation ^");
    EXPECT_EQ(constantError("0^(0-0.5)"), "Singularity! Instruction 1: operation ^");
    EXPECT_EQ(constantError("exp(100000)"), "Singularity! Instruction 0: operation exp");
    EXPECT_EQ(constantError("mod(1, 0)"), "Singularity! Instruction 0: operation mod");
    EXPECT_EQ(constantError("log(1, 5)"), "Singularity! Instruction 0: operation log");
    EXPECT_EQ(constantError("1e3000!"), "Singularity! Instruction 0: operation !");
    EXPECT_EQ(compileError({{}, {"x = ln(0)"}, {}, {"x' = 1"}}),
              "Singularity! Instruction 0: operation ln");
    EXPECT_EQ(compileError({{}, {"x = 2", "y = sqrt(0-1)"}, {}, {"x' = 1", "y' = 1"}}),
              "Singularity! Instruction 1: operation sqrt");
}

TEST(OrderZero, FailureTellsWhereAndAtWhichPoint) {
    ProblemPanes panes{{"a = 1"}, {"t = 2", "x = 1"}, {"u = x/(t-2)"}, {"t' = 1", "x' = u"}};
    TCompiledProblem problem;
    FormulaParser parser;
    try {
        compileToOrderZero(panes, problem, parser, 31, Radians);
        FAIL() << "no evaluation error";
    } catch (const EvaluationError& error) {
        EXPECT_STREQ(error.what(), "Singularity! Instruction 1: operation /");
        EXPECT_EQ(error.Position, 1);
        EXPECT_EQ(error.Line, 3);
    }
    EXPECT_EQ(evaluationFailedMessage(problem),
              "Compilation succeeded, yet evaluation failed at point t   = 2");
}

TEST(OrderZero, SpecialPointSuppliesTheValueOfASingularity) {
    ProblemPanes panes{{}, {"t = 0", "x = 1"}, {"s = sin(t)/t"}, {"t' = 1", "x' = s"}};
    TCompiledProblem problem;
    problem.SpecialValues = {1};
    problem.SpecialPoint = 0;
    FormulaParser parser;
    compileToOrderZero(panes, problem, parser, 31, Radians);
    EXPECT_EQ(problem.Coefficients[2][0], 1);
    EXPECT_EQ(problem.Coefficients[4][0], 1);

    // Away from the special point the division is an error again.
    ProblemPanes shifted{{}, {"t = 0", "x = 1"}, {"s = sin(t)/t"}, {"t' = 1", "x' = s"}};
    problem.SpecialPoint = 1;
    EXPECT_THROW(compileToOrderZero(shifted, problem, parser, 31, Radians), EvaluationError);
    // An overflow is never substituted.
    ProblemPanes overflow{{}, {"t = 0", "x = 1"}, {"s = exp(100000+t)"}, {"t' = 1", "x' = s"}};
    problem.SpecialPoint = 0;
    try {
        compileToOrderZero(overflow, problem, parser, 31, Radians);
        FAIL() << "no evaluation error";
    } catch (const EvaluationError& error) {
        EXPECT_STREQ(error.what(), "Singularity! Instruction 1: operation exp");
    }
}

TEST(OrderZero, DesignedPolynomialValue) {
    TCompiledProblem problem;
    problem.Polynomials.resize(2);
    auto& polynomial = problem.Polynomials[1];
    polynomial.IndepCoefficients = {1, 2, 3}; // 1 + 2t + 3t^2
    polynomial.LinearTerms = {{5, 1}};        // 5x
    polynomial.SquareTerms = {{2, 1}};        // 2x^2
    polynomial.ProductTerms = {{1, 0, 1}};    // t*x
    problem.IndepVar = 0;
    problem.Coefficients.layout({31, 31, 31, 1});
    problem.Coefficients[0][0] = 2; // t
    problem.Coefficients[1][0] = 3; // x
    problem.Coefficients[3][0] = 1; // the argument of polynomial
    std::vector<TInstruction> list{{ClassCV, OpPolynomial, 3, 3, 2, 0}};
    EvaluateOrderZero(problem, list, 0, Radians);
    EXPECT_EQ(problem.Coefficients[2][0], 1 + 2 * 2 + 3 * 4 + 5 * 3 + 2 * 9 + 2 * 3);

    problem.Coefficients[3][0] = 2; // no such polynomial
    problem.Coefficients[2][0] = 7;
    EXPECT_THROW(EvaluateOrderZero(problem, list, 0, Radians), EvaluationError);
    EXPECT_EQ(problem.Coefficients[2][0], 7); // a failure leaves the result alone
}
