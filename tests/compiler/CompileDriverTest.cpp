#include "CompileHelpers.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/ConstantExpression.h"
#include "compiler/OrderZero.h"
#include "support/Paths.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

std::string assemblyError(ProblemPanes panes) {
    TCompiledProblem problem;
    try {
        assembleFormulaList(panes, problem);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(ProblemSections, SortsTrimmedLinesIntoPanes) {
    Lines lines{"dropped before any header", "[Constants]", "  a = 1  ",     "",
                "[Main variables]",          "x = 1",       "[ODEs]",        "\tx' = a",
                "[Aux variables]",           "u = x",       "[Polynomials]", "whatever follows"};
    ProblemSections sections = splitProblemSections(lines);
    EXPECT_EQ(sections.Panes.Constants, Lines({"a = 1"}));
    EXPECT_EQ(sections.Panes.Initial, Lines({"x = 1"}));
    EXPECT_EQ(sections.Panes.Aux, Lines({"u = x"}));
    EXPECT_EQ(sections.Panes.ODEs, Lines({"x' = a"}));
    EXPECT_TRUE(sections.HasPolynomials);
    EXPECT_EQ(sections.PolynomialsStart, 11u);

    ProblemSections plain = splitProblemSections({"[ODEs]", "x' = 1"});
    EXPECT_FALSE(plain.HasPolynomials);
    EXPECT_EQ(plain.PolynomialsStart, 2u);
}

TEST(CompileDriver, BuildsTheFormulaList) {
    ProblemPanes panes{
        {"a = 2", "  "}, {"X = 1", "", "t = 0"}, {"u = x*a"}, {"x' = u", "", "t' = 1"}};
    TCompiledProblem problem;
    FormulaAssembly assembly = assembleFormulaList(panes, problem);
    EXPECT_EQ(panes.Constants, Lines({"a = 2"}));
    EXPECT_EQ(panes.ODEs, Lines({"x' = u", "t' = 1"}));
    EXPECT_EQ(assembly.FormulaList,
              Lines({"a = 2", "X = 1", "t = 0", "u = x*a", "xDeriv=u", "tDeriv=1"}));
    EXPECT_EQ(assembly.MainNames, Lines({"x", "t"}));
    EXPECT_EQ(problem.NumConst, 1);
    EXPECT_EQ(problem.NumMain, 2);
    EXPECT_EQ(problem.DerivStart, 4);
    EXPECT_EQ(problem.IndepLine, 1);
    EXPECT_EQ(problem.IndepVar, 2);
    EXPECT_EQ(problem.IndepName, "t");
    EXPECT_EQ(problem.InitialValues.size(), 2u);
    EXPECT_EQ(independentLabel(problem), "t  ");
}

TEST(CompileDriver, FindsTheIndependentVariable) {
    TCompiledProblem problem;
    ProblemPanes third{{}, {"x = 1", "y = 1", "t = 0"}, {}, {"x' = y", "y' = x", "t' = 1"}};
    assembleFormulaList(third, problem);
    EXPECT_EQ(problem.IndepLine, 2);
    ProblemPanes none{{}, {"x = 1"}, {}, {"x' = x"}};
    assembleFormulaList(none, problem);
    EXPECT_EQ(problem.IndepLine, -1);
    EXPECT_EQ(independentLabel(problem), "Implicit ");
    ProblemPanes firstWins{{}, {"s = 0", "t = 0"}, {}, {"s' = 1.0 {comment}", "t' = 1e0"}};
    assembleFormulaList(firstWins, problem);
    EXPECT_EQ(problem.IndepLine, 0);
    EXPECT_EQ(problem.IndepName, "s");
    ProblemPanes nested{{}, {"x = 0", "t = 0"}, {}, {"x' = 2 {not {this} one}", "t' = 1 {a{b}}"}};
    assembleFormulaList(nested, problem);
    EXPECT_EQ(problem.IndepLine, 1);
}

TEST(CompileDriver, AnOdeLineErrorNamesItsLineInThePane) {
    ProblemPanes panes{{}, {"x = 1", "y = 2"}, {}, {"x' = y", "", "y = -x"}};
    TCompiledProblem problem;
    try {
        assembleFormulaList(panes, problem);
        FAIL();
    } catch (const OdeLineError& error) {
        EXPECT_EQ(error.Line, 1) << "counted after the blank line went";
    }
}

TEST(CompileDriver, OdeLineMessages) {
    EXPECT_EQ(assemblyError({{}, {"x = 1"}, {}, {"  "}}), "No ODEs");
    EXPECT_EQ(assemblyError({{}, {"x = 1"}, {}, {"x = y"}}),
              "ODE line 0: x = y : differentiation prime ' (code 39) expected");
    EXPECT_EQ(assemblyError({{}, {"x = 1"}, {}, {"' = y"}}), "ODE line 0: ' = y : wrong left part");
    EXPECT_EQ(assemblyError({{}, {"x = 1"}, {}, {"= y"}}), "ODE line 0: = y : equation expected");
    EXPECT_EQ(assemblyError({{}, {"x = 1", "y = 1"}, {}, {"x' = y", "x' = 1"}}),
              "ODE line 1: y = 1 and x' = 1 do not match");
    EXPECT_EQ(assemblyError({{}, {"x = 1"}, {}, {"x' = y", "y' = 1"}}),
              "ODE line 1:  and y' = 1 do not match");
    EXPECT_EQ(assemblyError({{}, {"x = 1", "y = 1", "z = 1"}, {}, {"x' = y", "y' = 1"}}),
              "ODE and Initial value lists do not match");
    // Names match without regard to case, and comments do not count.
    EXPECT_EQ(assemblyError({{}, {"X = 1"}, {}, {"x' {speed} = 1"}}), "");
    // An ODE line with a prime but no "=" reaches the parser as a line without an equation.
    EXPECT_EQ(compileError({{}, {"x = 1"}, {}, {"x' {no right side}"}}), "xderiv : no equation!");
    EXPECT_EQ(compileError({{}, {"x = 1"}, {}, {"x' ="}}), "Empty right side for xderiv !");
}

TEST(CompileDriver, ParseErrorsAreLocatedInTheirPane) {
    ProblemPanes panes{{"a = 1"}, {"x = 1", "y = 2"}, {"u = x"}, {"x' = y", "y' = sin + x"}};
    TCompiledProblem problem;
    FormulaParser parser;
    EXPECT_THROW(compileToOrderZero(panes, problem, parser, 31, Radians), OrvantaError);
    EXPECT_FALSE(problem.Compiled);
    PaneLine where = paneOfLine(problem, parser.CurrentLine);
    EXPECT_EQ(where.pane, Pane::ODEs);
    EXPECT_EQ(where.line, 1);
    EXPECT_EQ(paneCaption(where.pane), "System of ODEs");
    EXPECT_EQ(parser.ErrorText, "sin+");
    TextSelection selection = errorSelection("y' = sin+ x", parser.ErrorText);
    EXPECT_EQ(selection.start, 5u);
    EXPECT_EQ(selection.length, 4u);
    // Text that is not in the line as typed selects the whole line.
    selection = errorSelection(panes.ODEs[1], parser.ErrorText);
    EXPECT_EQ(selection.start, 0u);
    EXPECT_EQ(selection.length, panes.ODEs[1].size());

    EXPECT_EQ(paneOfLine(problem, 0).pane, Pane::Constants);
    EXPECT_EQ(paneOfLine(problem, 2).pane, Pane::Initial);
    EXPECT_EQ(paneOfLine(problem, 2).line, 1);
    EXPECT_EQ(paneOfLine(problem, 3).pane, Pane::Aux);
}

TEST(CompileDriver, CompilesToTheInitialValues) {
    auto compiled = compilePanes({{"k = 3"}, {"x = k*2", "t = 0.5"}, {}, {"x' = x", "t' = 1"}});
    EXPECT_TRUE(compiled.problem.Compiled);
    EXPECT_EQ(compiled.problem.InitialValues, std::vector<Extended>({6, 0.5L}));
    EXPECT_EQ(compiled.problem.CurrentIndep, 0.5L);
}

TEST(CompileDriver, ResetKeepsTheSpecialPoint) {
    TCompiledProblem problem;
    problem.SpecialValues = {2, 3};
    problem.SpecialPoint = 1.5L;
    problem.Instructions.resize(4);
    problem.Compiled = true;
    resetCompiledState(problem);
    EXPECT_TRUE(problem.Instructions.empty());
    EXPECT_FALSE(problem.Compiled);
    EXPECT_EQ(problem.SpecialValues, std::vector<Extended>({2, 3}));
    EXPECT_EQ(problem.SpecialPoint, 1.5L);
}

TEST(ConstantExpression, ReadsNumbersAndExpressionsOverTheConstants) {
    Lines constants{"a = 2", "", "b = a*3", "a0 = 1"};
    EXPECT_EQ(EvaluateConstantExpression(constants, " 2.5 ", Radians), 2.5L);
    EXPECT_EQ(EvaluateConstantExpression(constants, "a + b + a0", Radians), 9);
    EXPECT_EQ(EvaluateConstantExpression({}, "2^10", Radians), 1024);
    EXPECT_NEAR(static_cast<double>(EvaluateConstantExpression({}, "sin(30)", Degrees)), 0.5,
                1e-18);
    EXPECT_THROW(EvaluateConstantExpression(constants, "zz", Radians), OrvantaError);
    try {
        EvaluateConstantExpression(constants, "1/(b-6)", Radians);
        FAIL();
    } catch (const OrvantaError& error) {
        EXPECT_STREQ(error.what(), "Singularity! Instruction 2: operation /");
    }
    EXPECT_THROW(EvaluateConstantExpression({}, "polynomial(0)", Radians), OrvantaError);
}

TEST(CompileDriver, CompilesTheLargestSampleProblem) {
    auto text = readWholeFile(problemPath("nbody99_2d.ode"));
    ASSERT_TRUE(text.has_value());
    ProblemPanes panes = splitProblemSections(splitLines(*text)).Panes;
    auto compiled = compilePanes(panes, Degrees);
    const auto& problem = compiled.problem;
    EXPECT_EQ(problem.NumMain, 397);
    EXPECT_EQ(problem.IndepName, "t");
    // x01 = cos(360/99 degrees) on the unit circle.
    std::int32_t x01 = problem.NumConst + 1;
    EXPECT_EQ(compiled.assembly.MainNames[1], "x01");
    EXPECT_NEAR(static_cast<double>(problem.InitialValues[1]), std::cos(2 * std::numbers::pi / 99),
                1e-15);
    EXPECT_EQ(problem.Coefficients[x01][0], problem.InitialValues[1]);
    // The ring turns at its circular speed, so every body's acceleration is Vel^2 towards the
    // centre: an independent check of the whole generated force sum.
    const Extended speed = 8.62447464872853896L;
    for (std::int32_t body = 0; body < 99; ++body) {
        auto vx = std::find(compiled.assembly.MainNames.begin(), compiled.assembly.MainNames.end(),
                            formatText("vx%02d", body + 1));
        ASSERT_NE(vx, compiled.assembly.MainNames.end());
        std::int32_t line = static_cast<std::int32_t>(vx - compiled.assembly.MainNames.begin());
        Extended ax = problem.Coefficients[problem.DerivStart + line][0];
        Extended ay = problem.Coefficients[problem.DerivStart + line + 1][0];
        Extended angle = 2 * std::numbers::pi_v<Extended> * (body + 1) / 99;
        EXPECT_NEAR(static_cast<double>(ax), static_cast<double>(-speed * speed * std::cos(angle)),
                    1e-12);
        EXPECT_NEAR(static_cast<double>(ay), static_cast<double>(-speed * speed * std::sin(angle)),
                    1e-12);
    }
}
