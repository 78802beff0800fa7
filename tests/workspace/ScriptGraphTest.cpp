// The graph window's part of a script: what a script's graph lines give the window, what the
// window gives back to a saved script, and curves that do not fit the problem.
#include "workspace/ScriptGraph.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace {

ScriptRecord figureEightRecord() {
    ScriptRecord record;
    record.ProblemName = "figure8.ode";
    record.RadFactor = 0.25L;
    record.Curves = {{1, 2, 0, "{x1, y1}"}, {3, 4, 0, "{x2, y2}"}, {5, 6, 0, "{x3, y3}"}};
    record.ResultsLength = 1000;
    record.ValuesPerPoint = 22; // the auxiliary variables too: 13 main, 9 auxiliary
    record.GraphSteps = 200;
    record.GraphFields = {"-1.2", "1.2", "-0.6", "0.6", "", "", "2.5"};
    record.Colours = {0, 255, 16711680};
    record.Turns = ScriptTurns{0.5L, -0.25L, 0.125L};
    record.Figure = ScriptFigure{1, 2};
    return record;
}

} // namespace

TEST(ScriptGraphTest, AScriptsGraphLinesComeBackUnchangedThroughTheWindow) {
    const ScriptRecord original = figureEightRecord();
    GraphSnapshot snapshot = snapshotFromScript(original, 13);
    EXPECT_EQ(snapshot.BoundTexts[0], "-1.2");
    EXPECT_EQ(snapshot.BoundTexts[3], "0.6");
    EXPECT_EQ(snapshot.TimeText, "2.5");
    EXPECT_EQ(snapshot.TotalStepsText, "200");
    EXPECT_EQ(snapshot.Turns[2], 0.125L);
    EXPECT_EQ(snapshot.PlotFeature, 1);
    EXPECT_EQ(snapshot.FirstCurve, 2);
    EXPECT_EQ(snapshot.RadFactorText, "0.25");
    EXPECT_TRUE(snapshot.AuxVarsToo);
    EXPECT_FALSE(snapshotFromScript(original, 22).AuxVarsToo);

    ScriptRecord written = original;
    written.GraphSteps = 0;
    written.GraphFields = {};
    written.Turns.reset();
    written.Figure.reset();
    writeSnapshotToScript(snapshot, written);
    EXPECT_EQ(scriptText(written), scriptText(original));
}

TEST(ScriptGraphTest, AShortScriptGivesTheWindowItsDefaults) {
    ScriptRecord record = figureEightRecord();
    record.Turns.reset();
    record.Figure.reset();
    GraphSnapshot snapshot = snapshotFromScript(record, 13);
    EXPECT_EQ(snapshot.PlotFeature, 0);
    EXPECT_EQ(snapshot.FirstCurve, 1);
    EXPECT_EQ(snapshot.Turns, (std::array<Extended, 3>{0, 0, 0}));

    // A step count typed as nonsense is saved as no steps rather than as garbage.
    snapshot.TotalStepsText = "many";
    writeSnapshotToScript(snapshot, record);
    EXPECT_EQ(record.GraphSteps, 0);
    EXPECT_EQ(record.Figure, (ScriptFigure{0, 1}));
}

TEST(ScriptGraphTest, AScriptsCurvesMustNameVariablesOfTheProblem) {
    FakeUi ui;
    ScriptRecord record = figureEightRecord();
    auto table = curvesFromScript(record, 22, ui);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->count(), 3);
    EXPECT_EQ(table->Curves[1].X, 3);
    EXPECT_EQ(table->Curves[1].Caption, "{x2, y2}");
    EXPECT_FALSE(table->ThreeD);
    EXPECT_TRUE(ui.messages.empty());

    for (int bad : {-1, 22}) {
        record.Curves[2].Y = bad;
        EXPECT_FALSE(curvesFromScript(record, 22, ui).has_value());
        EXPECT_EQ(ui.lastMessage(),
                  "The script's curve {x3, y3} uses a variable the problem does not have");
    }
    // A 2D curve's third index is not read; a 3D one's is.
    record.Curves[2] = {5, 6, 99, "{x3, y3}"};
    EXPECT_EQ(curvesFromScript(record, 22, ui)->Curves[2].Z, 0);
    record.Dimension = 3;
    EXPECT_FALSE(curvesFromScript(record, 22, ui).has_value());
}
