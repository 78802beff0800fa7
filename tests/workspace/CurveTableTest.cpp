// The curve table: generator, axis choice, deletion, swaps and "Previous".
#include "workspace/CurveTable.h"
#include "compiler/CompileDriver.h"
#include "compiler/ProblemPanes.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> captions(const CurveTable& table) {
    std::vector<std::string> result;
    for (const Curve& curve : table.Curves)
        result.push_back(curve.Caption);
    return result;
}

using Names = std::vector<std::string>;

} // namespace

TEST(CurveGenerator, PairsNumberedNamesAndReportsTheModeMismatch) {
    FakeUi ui;
    CurveTable table;
    generateCurves(table, {"t", "x1", "y1", "x2", "y2", "vx1"}, ui);
    EXPECT_EQ(captions(table), (Names{"{x1, y1}", "{x2, y2}"}));
    EXPECT_EQ(table.Curves[1].X, 3);
    EXPECT_EQ(table.Curves[1].Y, 4);
    EXPECT_TRUE(ui.messages.empty());

    generateCurves(table, {"x", "y", "z"}, ui);
    EXPECT_EQ(captions(table), (Names{"{x, y}"}));
    EXPECT_EQ(ui.lastMessage(), "3D curves found but 2D button checked!");

    table.setMode(true);
    ui.messages.clear();
    generateCurves(table, {"X", "Y", "Z", "x1", "y1"}, ui);
    EXPECT_EQ(captions(table), (Names{"{X, Y, Z}"}));
    EXPECT_TRUE(ui.messages.empty());
    generateCurves(table, {"x1", "y1"}, ui);
    EXPECT_TRUE(table.Curves.empty());
    EXPECT_EQ(ui.lastMessage(), "No 3D curves found but 3D button checked!");
}

TEST(CurveGenerator, OnlyDecimalSuffixesCount) {
    FakeUi ui;
    CurveTable table;
    generateCurves(table, {"xa", "ya", "x1a", "y1a", "x0x1", "y0x1", "x07", "y07"}, ui);
    EXPECT_EQ(captions(table), (Names{"{x07, y07}"}));
}

TEST(CurveGenerator, StopsAtTheTableLimit) {
    FakeUi ui;
    Names names;
    for (int i = 0; i < 250; ++i) {
        names.push_back("x" + std::to_string(i));
        names.push_back("y" + std::to_string(i));
        names.push_back("z" + std::to_string(i));
    }
    CurveTable table;
    generateCurves(table, names, ui);
    EXPECT_EQ(table.count(), MaxCurves);
    EXPECT_EQ(table.Curves.back().Caption, "{x199, y199}");
    EXPECT_EQ(ui.messages, (Names{"Generation of curves achieved max number 200"}));
    EXPECT_FALSE(table.append(names, 0, 1));
}

TEST(CurveAxisChoice, XThenYAddsOneCurveAndClearsTheColumns) {
    FakeUi ui;
    CurveTable table;
    AxisChoice choice;
    const Names names{"t", "x", "y"};
    EXPECT_EQ(choice.mark(), "000");
    EXPECT_EQ(chooseAxis(choice, table, 0, 2, ui), AxisChoiceResult::Pending);
    EXPECT_EQ(chooseAxis(choice, table, 0, 1, ui), AxisChoiceResult::Pending); // replaces X
    EXPECT_EQ(choice.mark(), "100");
    EXPECT_EQ(chooseAxis(choice, table, 2, 0, ui), AxisChoiceResult::Pending); // no Z in 2D
    EXPECT_EQ(choice.mark(), "100");
    EXPECT_EQ(chooseAxis(choice, table, 1, 2, ui), AxisChoiceResult::Complete);
    EXPECT_EQ(choice.mark(), "110");
    takeAxisChoice(choice, table, names);
    EXPECT_EQ(captions(table), (Names{"{x, y}"}));
    EXPECT_EQ(choice.mark(), "000");

    table.setMode(true);
    chooseAxis(choice, table, 0, 0, ui);
    chooseAxis(choice, table, 1, 1, ui);
    EXPECT_EQ(chooseAxis(choice, table, 2, 2, ui), AxisChoiceResult::Complete);
    takeAxisChoice(choice, table, names);
    EXPECT_EQ(captions(table), (Names{"{t, x, y}"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(CurveAxisChoice, AFullTableRefusesWithTheMessage) {
    FakeUi ui;
    CurveTable table;
    for (int i = 0; i < MaxCurves; ++i)
        table.append({"a", "b"}, 0, 1);
    AxisChoice choice;
    EXPECT_EQ(chooseAxis(choice, table, 0, 0, ui), AxisChoiceResult::TableFull);
    EXPECT_EQ(ui.lastMessage(), "max number 200 of curves achieved. Delete excessive curves");
}

TEST(CurveTableEdits, DeletionSwapsAndColumnChecks) {
    CurveTable table;
    const Names names{"t", "x", "y", "r"};
    table.append(names, 1, 2);
    table.append(names, 0, 3);
    table.append(names, 2, 1);
    EXPECT_FALSE(table.remove(3));
    EXPECT_TRUE(table.remove(1));
    EXPECT_EQ(captions(table), (Names{"{x, y}", "{y, x}"}));
    EXPECT_FALSE(table.append(names, 1, 4)); // no such variable
    EXPECT_TRUE(table.fitsColumns(3));
    table.append(names, 3, 0);
    EXPECT_FALSE(table.fitsColumns(3));
    table.swapAxes(0, 1, names);
    EXPECT_EQ(captions(table), (Names{"{y, x}", "{x, y}", "{t, r}"}));
}

TEST(CurvePrevious, RestoresTheSavedCaptionsByName) {
    FakeUi ui;
    CurveTable table;
    table.append({"t", "x", "y"}, 1, 2);
    table.append({"t", "x", "y"}, 0, 1);
    table.savePrevious();
    // The same names at other positions after a recompile: the captions are read by name.
    EXPECT_TRUE(restorePrevious(table, {"y", "x", "t"}, ui));
    EXPECT_EQ(table.Curves[0].X, 1);
    EXPECT_EQ(table.Curves[0].Y, 0);
    EXPECT_EQ(table.Curves[1].X, 2);
    EXPECT_EQ(captions(table), (Names{"{x, y}", "{t, x}"}));

    EXPECT_FALSE(restorePrevious(table, {"t", "x"}, ui));
    EXPECT_TRUE(table.Curves.empty());
    EXPECT_EQ(ui.lastMessage(), "Previous curve selection doesn't apply");

    table.Previous = {"{x, y"}; // a damaged caption is read up to its end
    EXPECT_TRUE(restorePrevious(table, {"x", "y"}, ui));
    table.Previous = {"{x}", "garbage"};
    EXPECT_FALSE(restorePrevious(table, {"x", "y"}, ui));

    table.setMode(true); // switching modes forgets the selection
    EXPECT_TRUE(restorePrevious(table, {"t", "x", "y"}, ui));
    EXPECT_TRUE(table.Curves.empty());
}

TEST(CurveNames, MainVariablesThenAuxiliaryOnes) {
    FormulaAssembly assembly;
    assembly.MainNames = {"t", "x"};
    ProblemPanes panes;
    panes.Aux = {"r = x*x", " s2=t {comment}"};
    EXPECT_EQ(curveVariableNames(assembly, panes), (Names{"t", "x", "r", "s2"}));
}
