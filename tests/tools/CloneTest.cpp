#include "common/OrvantaError.h"
#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "integrator/StepRoutines.h"
#include "support/FakeUi.h"
#include "tools/CloneCommand.h"
#include "tools/CloneSets.h"
#include "tools/CloneUnfold.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

CloneSource split(const Lines& initial, const Lines& constants = {}) {
    return splitSourceSets(initial, constants, 1);
}

std::string splitError(const Lines& initial) {
    try {
        split(initial);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "no error";
}

TEST(CloneSets, RegularGridsExpandBetweenTheirBoundaries) {
    EXPECT_EQ(split({"x = 0; 1; 3 nodes"}).Sets[0], (Lines{"0", "0.5", "1"}));
    EXPECT_EQ(split({"x = 7; 0 ; 1; 5 Nodes {grid}"}).Sets[0],
              (Lines{"7", "0", "0.25", "0.5", "0.75", "1"}));
    EXPECT_EQ(split({"x = 1; 2; 3;;"}).Sets[0], (Lines{"1", "2", "3"}));
    // A constant expression is a valid value; a last element with an "n" that is a value itself
    // is not a grid.
    EXPECT_EQ(split({"x = 1; 2*c; sin(c)"}, {"c = 3"}).Sets[0], (Lines{"1", "2*c", "sin(c)"}));
    EXPECT_EQ(split({"x = 2*c; 0; 1; 3 nodes"}, {"c = 3"}).Sets[0],
              (Lines{"2*c", "0", "0.5", "1"}));
    EXPECT_EQ(split({"x = 2*c; 0; 3 nodes"}, {"c = 3"}).Sets[0], (Lines{"6", "3", "0"}));
    EXPECT_EQ(split({"name with blanks = q"}).Names[0], "namewithblanks");
    EXPECT_EQ(split({"y = q"}).Sets[0], (Lines{"q"})) << "a single value is not checked here";
}

TEST(CloneSets, EachFaultNamesItsLineAndElement) {
    EXPECT_EQ(splitError({"x = 1; 1; 3 nodes"}),
              "Equation x = 1; 1; 3 nodes\r\nthe boundaries must be different");
    EXPECT_EQ(splitError({"x = 0; 3 nodes"}),
              "Equation x = 0; 3 nodes\r\nmust be at least 3 values to specify a regular grid");
    EXPECT_EQ(splitError({"x = 0; q; 3 nodes"}),
              "Equation x = 0; q; 3 nodes\r\nq is not a valid value");
    EXPECT_EQ(splitError({"x = 0; 1; nodes"}),
              "Equation x = 0; 1; nodes\r\nno value between ; and keyword \"nodes\"");
    EXPECT_EQ(splitError({"x = 0; 1; 1 nodes"}),
              "Equation x = 0; 1; 1 nodes\r\nnumber of nodes must be >= 2");
    EXPECT_EQ(splitError({"x = 0; 1; 2.5 nodes"}), "'2.5' is not a valid integer value");
    EXPECT_EQ(splitError({"x = 0; 1; 999999999 nodes"}),
              "Equation x = 0; 1; 999999999 nodes\r\nnumber of nodes must be <= 100000");
    EXPECT_EQ(splitError({"t = 0", "x = 1; q"}),
              "Equation x = 1; q\r\nq is neither valid value nor a specifier of regular grid");
    EXPECT_EQ(splitError({"x = {only a comment}"}), "Empty right side");
}

TEST(CloneSets, DiagonalRepeatsShortSetsAndTheProductTurnsTheLastLineFastest) {
    const CloneSource source = split({"x = 1; 2; 3", "y = 4; 5"});
    const CloneIndex diagonal = diagonalIndex(source);
    EXPECT_EQ(diagonal, (CloneIndex{{0, 0}, {1, 1}, {2, 1}}));
    EXPECT_EQ(productSize(source), 6);
    EXPECT_EQ(productIndex(source), (CloneIndex{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(cloneTotalText(6), "Total 6, cloned 5");
    EXPECT_EQ(vectorListText(source, diagonal), "1\t 1\t 4\r\n2\t 2\t 5\r\n3\t 3\t 5\r\n");
}

TEST(CloneUnfold, RenamingTouchesWholeIdentifiersOnly) {
    EXPECT_EQ(suffixNames("x' = -x*xx + x_2 + 2x + 1e5", {"x"}, 3),
              "x3' = -x3*xx + x3_2 + 2x + 1e5");
    EXPECT_EQ(suffixNames("a = b + a", {"a", "b"}, 12), "a12 = b12 + a12");
}

TEST(CloneUnfold, ACloneNameThatExistsStopsTheCommand) {
    EXPECT_EQ(cloneNameClash({"x", "x1", "y"}, 2), "Cloned x1 exists in the source IVP. Rename x.");
    EXPECT_EQ(cloneNameClash({"x", "x3"}, 2), std::nullopt);
    EXPECT_EQ(cloneNameClash({"x", "x01"}, 2), std::nullopt);
}

ProblemPanes pendulum() {
    ProblemPanes panes;
    panes.Constants = {"g = 9.81"};
    panes.Initial = {"t = 0", "a = 0.1; 0.2", "w = 0; 1; 3 nodes"};
    panes.Aux = {"f = -g*sin(a)"};
    panes.ODEs = {"t' = 1", "a' = w", "w' = f"};
    return panes;
}

CloneProblem compiledPendulum(ProblemPanes panes) {
    CloneProblem problem;
    problem.Panes = panes;
    return problem;
}

TEST(CloneCommand, TheExcludedIndependentVariableStandsOnceAndClonesReferToIt) {
    FakeUi ui;
    const auto panes = clonePanes(ui, compiledPendulum(pendulum()), true,
                                  [](const CloneSource& source) { return diagonalIndex(source); });
    ASSERT_TRUE(panes) << ui.lastMessage();
    EXPECT_EQ(panes->Initial, (Lines{"t = 0", "a = 0.1", "w = 0", "a1 = 0.2    {Clone 1}",
                                     "w1 = 0.5", "a2 = 0.2    {Clone 2}", "w2 = 1"}));
    EXPECT_EQ(panes->Aux, (Lines{"f = -g*sin(a)", "f1 = -g*sin(a1)    {Clone 1}",
                                 "f2 = -g*sin(a2)    {Clone 2}"}));
    EXPECT_EQ(panes->ODEs, (Lines{"t' = 1", "a' = w", "w' = f", "a1' = w1    {Clone 1}", "w1' = f1",
                                  "a2' = w2    {Clone 2}", "w2' = f2"}));
    EXPECT_EQ(panes->Constants, pendulum().Constants);
}

TEST(CloneCommand, IncludingTheIndependentVariableClonesItToo) {
    FakeUi ui;
    const auto panes = clonePanes(ui, compiledPendulum(pendulum()), false,
                                  [](const CloneSource& source) { return productIndex(source); });
    ASSERT_TRUE(panes);
    EXPECT_EQ(panes->Initial.size(), 18u);
    EXPECT_EQ(panes->Initial[3], "t1 = 0    {Clone 1}");
    EXPECT_EQ(panes->Initial[17], "w5 = 1");
    EXPECT_EQ(panes->ODEs[15], "t5' = 1    {Clone 5}");
}

TEST(CloneCommand, ChecksStopTheCommandBeforeAnyPaneChanges) {
    FakeUi ui;
    ProblemPanes panes = pendulum();
    panes.Initial[0] = "t = 0; 1";
    const auto never = [](const CloneSource&) -> std::optional<CloneIndex> {
        ADD_FAILURE() << "the shape is not asked for";
        return std::nullopt;
    };
    EXPECT_FALSE(clonePanes(ui, compiledPendulum(panes), true, never));
    EXPECT_EQ(ui.lastMessage(),
              "Equation t = 0; 1\r\nindependent variable excluded from clone yet varies");

    panes = pendulum();
    panes.Initial.push_back("a1 = 3");
    panes.ODEs.push_back("a1' = 0");
    EXPECT_FALSE(clonePanes(ui, compiledPendulum(panes), true,
                            [](const CloneSource& s) { return diagonalIndex(s); }));
    EXPECT_EQ(ui.lastMessage(), "Cloned a1 exists in the source IVP. Rename a.");

    panes = pendulum();
    panes.Aux = {"f = Polynomial(p)"};
    EXPECT_FALSE(clonePanes(ui, compiledPendulum(panes), true, never));
    EXPECT_EQ(ui.lastMessage(), "No IVP arrays allowed with Polynomial function");

    // The problem is compiled at its first vector: its own faults stop the command.
    panes = pendulum();
    panes.ODEs[2] = "w' = f +";
    EXPECT_FALSE(clonePanes(ui, compiledPendulum(panes), true, never));
    EXPECT_NE(ui.lastMessage().find("operand expected but nothing found"), std::string::npos)
        << ui.lastMessage();
}

TEST(CloneCommand, WithoutMultiValuedLinesTheNumberOfClonesIsAsked) {
    FakeUi ui;
    ProblemPanes panes;
    panes.Initial = {"t = 0", "x = 1"};
    panes.ODEs = {"t' = 1", "x' = -x"};
    const auto never = [](const CloneSource&) -> std::optional<CloneIndex> { return {}; };
    ui.inputAnswers = {std::string("two")};
    EXPECT_FALSE(clonePanes(ui, compiledPendulum(panes), true, never));
    EXPECT_EQ(ui.inputPrompts.back(), "IVP arrays|Enter number of IVP clones to add|");
    EXPECT_EQ(ui.lastMessage(), "Wrong number");

    ui.inputAnswers = {std::string(" 2 ")};
    const auto unfolded = clonePanes(ui, compiledPendulum(panes), true, never);
    ASSERT_TRUE(unfolded);
    EXPECT_EQ(unfolded->Initial,
              (Lines{"t = 0", "x = 1", "x1 = 1    {Clone 1}", "x2 = 1    {Clone 2}"}));
    EXPECT_EQ(unfolded->ODEs,
              (Lines{"t' = 1", "x' = -x", "x1' = -x1    {Clone 1}", "x2' = -x2    {Clone 2}"}));

    ui.inputAnswers = {std::string("150")};
    ui.confirmAnswers = {false};
    EXPECT_FALSE(clonePanes(ui, compiledPendulum(panes), true, never));
    EXPECT_EQ(ui.lastMessage(), "Over 100 IVPs in array! Go ahead anyway?");
}

// The unfolded array is an ordinary problem: clone k integrates exactly as the source started
// from vector k.
TEST(CloneCommand, EachCloneIntegratesAsTheSourceFromItsVector) {
    FakeUi ui;
    ProblemPanes source = pendulum();
    const auto unfolded = clonePanes(ui, compiledPendulum(source), true,
                                     [](const CloneSource& s) { return productIndex(s); });
    ASSERT_TRUE(unfolded);
    ProgramState arrayState;
    TCompiledProblem array;
    FormulaParser parser;
    ProblemPanes arrayPanes = *unfolded;
    compileForIntegration(arrayState, arrayPanes, array, parser, false);
    ASSERT_EQ(array.NumMain, 13);
    // Steps of a fixed size, so that every trajectory is evaluated at the same points.
    arrayState.RadLimit = 0.05L;
    for (int i = 0; i < 10; ++i) {
        array.Step = 0.025L;
        StepPlain(arrayState, array);
    }
    const Lines vectors[] = {{"a = 0.1", "w = 0.5"}, {"a = 0.2", "w = 1"}};
    const std::int32_t clones[] = {1, 5};
    for (int c = 0; c < 2; ++c) {
        ProblemPanes single = pendulum();
        single.Initial = {"t = 0", vectors[c][0], vectors[c][1]};
        ProgramState state;
        TCompiledProblem problem;
        FormulaParser singleParser;
        compileForIntegration(state, single, problem, singleParser, false);
        for (int i = 0; i < 10; ++i) {
            problem.Step = 0.025L;
            StepPlain(state, problem);
        }
        const std::int32_t k = clones[c];
        // The main variables are t, a, w, then a and w of every clone.
        EXPECT_EQ(array.Coefficients[array.NumConst + 2 * k + 1][0],
                  problem.Coefficients[problem.NumConst + 1][0])
            << k;
        EXPECT_EQ(array.Coefficients[array.NumConst + 2 * k + 2][0],
                  problem.Coefficients[problem.NumConst + 2][0])
            << k;
    }
}

} // namespace
