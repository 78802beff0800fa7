#include "common/NumberText.h"
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/StepRoutines.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"
#include "tools/TableFiles.h"
#include "tools/TableNodes.h"
#include "workspace/ExtendedFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// x' = x from x(0) = 1 with steps of exactly 0.5 (k = 0.5, radius limit 1): x = exp(t), or
// exp(-t) backward; the stored points lie at t = 0.5 k.
struct ExponentialRun {
    ProgramState state;
    TCompiledProblem problem;
    FakeUi ui;

    ExponentialRun(bool backward, std::int32_t steps, const std::string& length = "100",
                   bool circular = false) {
        ProblemPanes panes;
        panes.Initial = {"t = 0", "x = 1"};
        panes.Aux = {"y = 3*x"};
        panes.ODEs = {"t' = 1", "x' = x"};
        state.RadLimit = 1;
        FormulaParser parser;
        compileForIntegration(state, panes, problem, parser, false);
        setDirection(problem, backward);
        createResults(state, problem, ui, length, true, circular);
        for (std::int32_t i = 0; i < steps; ++i)
            StepPlain(state, problem);
    }
    std::int32_t column() const { return *independentColumn(state); }
    TableGrid grid(const std::string& from, const std::string& to, const std::string& step,
                   bool count) const {
        return *readTableGrid(storedRange(state, column()), from, to, step, count).Grid;
    }
};

TEST(TableNodes, NodesBetweenStoredPointsFollowTheClosedForm) {
    const ExponentialRun run(false, 6);
    const StoredRange range = storedRange(run.state, run.column());
    EXPECT_EQ(range.Oldest, 0);
    EXPECT_EQ(range.Newest, 3);
    const TableRows rows = tabulate(run.state, run.column(), run.grid("0", "3", "12", true), {1});
    ASSERT_EQ(rows.Nodes.size(), 13u);
    for (std::size_t k = 0; k < rows.Nodes.size(); ++k) {
        EXPECT_EQ(rows.Nodes[k], 0.25L * static_cast<Extended>(k));
        EXPECT_NEAR(static_cast<double>(rows.Values[0][k] / std::exp(rows.Nodes[k]) - 1), 0, 1e-17)
            << k;
    }
    // A node at a stored point takes that point's own value.
    EXPECT_EQ(rows.Values[0][2], run.state.Results.at(1, 1)[0]);
    EXPECT_EQ(rows.Values[0][12], run.state.Results.at(6, 1)[0]);
}

TEST(TableNodes, AStepSizeGivesTheFloorOfTheRangeOverIt) {
    const ExponentialRun run(false, 6);
    const TableGrid grid = run.grid("0.1", "2.9", "0.7", false);
    EXPECT_EQ(grid.Steps, 4);
    const TableRows rows = tabulate(run.state, run.column(), grid, {0, 2});
    ASSERT_EQ(rows.Nodes.size(), 5u);
    EXPECT_EQ(rows.Values[0][4], 0.1L + 4 * 0.7L);
    EXPECT_NEAR(static_cast<double>(rows.Values[1][1] / (3 * std::exp(0.8L)) - 1), 0, 1e-17);
}

TEST(TableNodes, ABackwardRunTakesADecreasingRange) {
    const ExponentialRun run(true, 4);
    const StoredRange range = storedRange(run.state, run.column());
    EXPECT_EQ(range.Newest, -2);
    const TableRows rows =
        tabulate(run.state, run.column(), run.grid("-0", "-2", "-0.25", false), {1});
    ASSERT_EQ(rows.Nodes.size(), 9u);
    EXPECT_EQ(rows.Nodes[8], -2);
    for (std::size_t k = 0; k < rows.Nodes.size(); ++k)
        EXPECT_NEAR(static_cast<double>(rows.Values[0][k] / std::exp(rows.Nodes[k]) - 1), 0, 1e-17);
    EXPECT_EQ(readTableGrid(range, "0", "-2", "0.25", false).Error, "Check the step sign");
    EXPECT_EQ(readTableGrid(range, "-2", "0", "4", true).Error, "Wrong boundaries");
}

TEST(TableNodes, RangesAndStepsThatCannotBeTabulatedAreRefused) {
    const StoredRange range{0, 3};
    EXPECT_EQ(readTableGrid(range, "-0.1", "1", "0.1", false).Error, "Wrong boundaries");
    EXPECT_EQ(readTableGrid(range, "0", "3.5", "0.1", false).Error, "Wrong boundaries");
    EXPECT_EQ(readTableGrid(range, "2", "1", "0.1", false).Error, "Wrong boundaries");
    EXPECT_EQ(readTableGrid(range, "zero", "1", "0.1", false).Error, "Wrong boundaries");
    EXPECT_EQ(readTableGrid(range, "0", "1", "-0.1", false).Error, "Check the step sign");
    EXPECT_EQ(readTableGrid(range, "0", "1", "2", false).Error, "Check the step sign");
    EXPECT_EQ(readTableGrid(range, "0", "1", "a", false).Error, "Wrong step");
    EXPECT_EQ(readTableGrid(range, "0", "1", "0", false).Error, "Wrong step");
    EXPECT_EQ(readTableGrid(range, "0", "1", "0", true).Error, "Wrong step");
    EXPECT_EQ(readTableGrid(range, "0", "1", "2.5", true).Error, "Wrong step");
    EXPECT_EQ(readTableGrid(range, "0", "1", "1e-30", false).Error,
              "Too many nodes: at most 10000000 steps");
}

TEST(TableNodes, AWrappedCircularArrayIsWalkedFromItsOldestPoint) {
    const ExponentialRun run(false, 7, "4", true);
    EXPECT_EQ(storedSlotsInOrder(run.state), (std::vector<std::int32_t>{0, 1, 2, 3}));
    const ExponentialRun wrapped(false, 9, "4", true);
    EXPECT_EQ(storedSlotsInOrder(wrapped.state), (std::vector<std::int32_t>{2, 3, 0, 1}));
    const StoredRange range = storedRange(wrapped.state, wrapped.column());
    EXPECT_EQ(range.Oldest, 3);
    EXPECT_EQ(range.Newest, 4.5);
    EXPECT_EQ(readTableGrid(range, "2.5", "4", "1", true).Error, "Wrong boundaries");
    const TableRows rows =
        tabulate(wrapped.state, wrapped.column(), wrapped.grid("3", "4.5", "3", true), {1});
    ASSERT_EQ(rows.Nodes.size(), 4u);
    EXPECT_EQ(rows.Values[0][3], wrapped.state.Results.at(1, 1)[0]);
}

TEST(TableFiles, BothBinaryKindsAndTheTextReadBack) {
    const std::vector<Extended> values{1.0L / 3, -2.5e100L};
    const std::string ext = tableFileContent(values, TableKind::Extended);
    ASSERT_EQ(ext.size(), 20u);
    EXPECT_EQ(decodeExtended(reinterpret_cast<const unsigned char*>(ext.data())), 1.0L / 3);
    EXPECT_EQ(decodeExtended(reinterpret_cast<const unsigned char*>(ext.data() + 10)), -2.5e100L);
    const std::string dbl = tableFileContent(values, TableKind::Double);
    ASSERT_EQ(dbl.size(), 16u);
    double second;
    std::memcpy(&second, dbl.data() + 8, 8);
    EXPECT_EQ(second, -2.5e100);
    EXPECT_EQ(tableFileContent(values, TableKind::Text),
              formatExponent(1.0L / 3) + "\r\n" + formatExponent(-2.5e100L) + "\r\n");
    EXPECT_EQ(proposedTableName("x", TableKind::Extended), "x.ext");
    EXPECT_EQ(proposedTableName("x", TableKind::Double), "x.dbl");
    EXPECT_EQ(proposedTableName("x", TableKind::Text), "x.txt");
    EXPECT_EQ(proposedTableName("x", TableKind::Clipboard), "Clipboard");
}

TEST(TableFiles, OneDialogForTheFirstFileThenTheSameFolder) {
    TempFolder folder;
    FakeUi ui;
    TableRows rows;
    rows.Values = {{1, 2}, {3, 4}, {5, 6}};
    // The first dialog is cancelled: that variable stays unsaved and the next one asks again.
    ui.fileAnswers = {std::nullopt, folder.path("chosen.txt")};
    ASSERT_TRUE(saveTableColumns(ui, TableKind::Text, {"t", "x", "y"},
                                 {"t.txt", "x.txt", "sub/../y.txt"}, rows));
    EXPECT_FALSE(std::filesystem::exists(folder.path("t.txt")));
    EXPECT_EQ(readBytes(folder.path("chosen.txt")), tableFileContent({3, 4}, TableKind::Text));
    EXPECT_EQ(readBytes(folder.path("y.txt")), tableFileContent({5, 6}, TableKind::Text));

    ASSERT_TRUE(saveTableColumns(ui, TableKind::Clipboard, {"t", "x", "y"},
                                 {"Clipboard", "", "Clipboard"}, rows));
    EXPECT_EQ(ui.clipboard, "t\ty\r\n" + formatExponent(1) + "\t" + formatExponent(5) + "\r\n" +
                                formatExponent(2) + "\t" + formatExponent(6) + "\r\n");

    ui.fileAnswers = {folder.path("missing/x.dbl")};
    EXPECT_FALSE(saveTableColumns(ui, TableKind::Double, {"t"}, {"t.dbl"}, rows));
    EXPECT_EQ(ui.lastMessage(), "Cannot write " + folder.path("missing/x.dbl"));
}

} // namespace
