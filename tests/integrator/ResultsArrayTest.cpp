#include "integrator/ResultsArray.h"
#include "integrator/IntegrationRun.h"
#include "integrator/IntegratorFixture.h"
#include "integrator/StepRoutines.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace {

ProblemPanes counter() {
    // x counts the points: x' = 1 with unit steps.
    return ProblemPanes{{}, {"t = 0", "x = 0"}, {"y = 2*x"}, {"t' = 1", "x' = 1"}};
}

void unitSteps(CompiledFixture& f, int count) {
    for (int i = 0; i < count; ++i) {
        f.problem.Step = 1;
        StepPlain(f.state, f.problem);
    }
}

TEST(Results, CircularArrayKeepsTheNewestPoints) {
    CompiledFixture f(counter());
    FakeUi ui;
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "1000", false, true).Created);
    EXPECT_EQ(f.state.Results.Vars, 2);
    unitSteps(f, 1500);
    const ResultsArray& r = f.state.Results;
    EXPECT_EQ(r.at(0, 1)[0], 1000);
    EXPECT_EQ(r.at(500, 1)[0], 1500);
    EXPECT_EQ(r.at(501, 1)[0], 501);
    EXPECT_EQ(r.at(999, 1)[0], 999);
    EXPECT_EQ(r.at(999, 1)[1], 1); // the expansion is stored, not only the value
    EXPECT_EQ(r.ResultsIndep[7], 0);
    // Leaving circular mode after wrapping is refused.
    EXPECT_TRUE(setCircular(f.state, ui, false));
    EXPECT_EQ(ui.lastMessage(), "Index of the current element exceeds the length of "
                                "Results.\r\nIn order to rid of circularity, first (save data "
                                "and) Restart");
}

TEST(Results, AuxiliaryVariablesAlsoWhenAsked) {
    CompiledFixture f(counter());
    FakeUi ui;
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "10", true, false).Created);
    EXPECT_EQ(f.state.Results.Vars, 3);
    unitSteps(f, 2);
    EXPECT_EQ(f.state.Results.at(2, 2)[0], 4);
}

TEST(Results, GrowingArrayAsksBeforeARunThatWouldOverflow) {
    CompiledFixture f(counter());
    FakeUi ui;
    f.state.AvailableMemory = [] { return std::int64_t{1} << 30; };
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "1000", false, false).Created);
    unitSteps(f, 990);
    const RunOutcome refused =
        runMore(f.state, f.problem, ui, "20", RunSettings{f.assembly.MainNames, {}, {}, {}});
    EXPECT_EQ(refused.End, RunEnd::NotStarted);
    EXPECT_EQ(ui.inputPrompts.back(),
              "Appending Results|\r\nAdd n < 1731841 to the existing 1000 |1000");
    EXPECT_EQ(ui.lastMessage(), "Either make Results circular, or add elements");
    EXPECT_EQ(f.state.StepIndex, 990);

    // Too few added: the run still does not start, so no point is overwritten.
    ui.inputAnswers.push_back("5");
    runMore(f.state, f.problem, ui, "20", RunSettings{f.assembly.MainNames, {}, {}, {}});
    EXPECT_EQ(f.state.Results.Length, 1005);
    EXPECT_EQ(f.state.StepIndex, 990);
    EXPECT_EQ(f.state.Results.at(0, 1)[0], 0);

    ui.inputAnswers.push_back("100");
    const RunOutcome ran =
        runMore(f.state, f.problem, ui, "20", RunSettings{f.assembly.MainNames, {}, {}, {}});
    EXPECT_EQ(ran.End, RunEnd::Completed);
    EXPECT_EQ(f.state.Results.Length, 1105);
    EXPECT_EQ(f.state.Results.at(0, 1)[0], 0);
    EXPECT_EQ(f.state.Results.at(10, 1)[0], 10);
}

TEST(Results, AppendingTooManyAddsTheAllowedNumber) {
    CompiledFixture f(counter());
    FakeUi ui;
    // One point is 2 x 31 x 10 = 620 bytes: 10,000 bytes hold 16 points.
    f.state.AvailableMemory = [] { return std::int64_t{10000}; };
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "2", false, false).Created);
    ui.inputAnswers.push_back("100");
    EXPECT_TRUE(AppendResults(f.state, ui));
    EXPECT_EQ(ui.messages[0], "Too big number. Only the allowed number of elements will be added");
    EXPECT_EQ(f.state.Results.Length, 2 + 15);
    ui.inputAnswers.push_back("many");
    EXPECT_TRUE(AppendResults(f.state, ui));
    EXPECT_EQ(ui.lastMessage(), "Wrong numeric value");
    EXPECT_FALSE(AppendResults(f.state, ui)); // cancelled
}

TEST(Results, AppendingNothingOrANegativeCountKeepsTheArray) {
    CompiledFixture f(counter());
    FakeUi ui;
    f.state.AvailableMemory = [] { return std::int64_t{1} << 30; };
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "3", false, false).Created);
    unitSteps(f, 2);
    for (const char* answer : {"0", "-2"}) {
        ui.inputAnswers.push_back(answer);
        EXPECT_TRUE(AppendResults(f.state, ui)) << answer;
        EXPECT_EQ(f.state.Results.Length, 3) << answer;
        EXPECT_EQ(f.state.Results.at(2, 1)[0], 2) << answer;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Results, AbsurdLengthsGetTheMemoryMessages) {
    CompiledFixture f(counter());
    FakeUi ui;
    f.state.AvailableMemory = [] { return std::int64_t{1000000}; };
    EXPECT_FALSE(createResults(f.state, f.problem, ui, "999999999999999999", false, false).Created);
    EXPECT_EQ(ui.lastMessage(),
              "The required memory 9223372036854775807 must not exceed 2147483639");
    EXPECT_FALSE(createResults(f.state, f.problem, ui, "10000", false, false).Created);
    EXPECT_EQ(ui.lastMessage(), "Required memory 6200000 exceeds available 1000000");
    EXPECT_TRUE(f.state.Results.empty());
    const ResultsCreation notANumber = createResults(f.state, f.problem, ui, "1e3", false, false);
    EXPECT_FALSE(notANumber.Created);
    EXPECT_EQ(notANumber.LengthText, "0");
    EXPECT_FALSE(createResults(f.state, f.problem, ui, "-5", false, false).Created);
    // A length of zero or less leaves no array behind, not the previous one.
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "10", false, false).Created);
    EXPECT_FALSE(createResults(f.state, f.problem, ui, "0", false, false).Created);
    EXPECT_TRUE(f.state.Results.empty());
}

TEST(Results, MemoryTextAndMeminfo) {
    CompiledFixture f(counter());
    FakeUi ui;
    f.state.AvailableMemory = [] { return std::int64_t{5000000}; };
    createResults(f.state, f.problem, ui, "1000", false, false);
    EXPECT_EQ(resultsMemoryText(f.state),
              " Total 1000 elements\n\r require 620 Kb\n\r Available 5000 Kb");
    const auto status = readMemoryStatus();
    ASSERT_TRUE(status);
    EXPECT_GT(status->Total, 0);
    EXPECT_LE(status->Available, status->Total);
}

} // namespace
