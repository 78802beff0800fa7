// The graph's commands: Adjust and its messages, presets, Undo, mouse placement, menus, texts.
#include "GraphFixture.h"

#include "common/NumberText.h"
#include "graphics/GraphMenus.h"
#include "graphics/GraphTexts.h"

#include <gtest/gtest.h>

namespace {

ProblemPanes panesOf(std::vector<std::string> initial, std::vector<std::string> odes,
                     std::vector<std::string> aux = {}) {
    ProblemPanes panes;
    panes.Initial = std::move(initial);
    panes.ODEs = std::move(odes);
    panes.Aux = std::move(aux);
    return panes;
}

// A point at rest: every range but time's is empty.
ProblemPanes restingPoint() {
    return panesOf({"t = 0", "x = 1", "y = 2"}, {"t' = 1", "x' = 0", "y' = 0"});
}

using Texts = std::vector<std::string>;

} // namespace

TEST(Adjust, WidensEmptyRangesByTheLargestHalfRangeOrByOne) {
    GraphFixture still(restingPoint());
    ASSERT_EQ(still.state.Curves.count(), 1); // {x, y}
    still.adjusted();
    EXPECT_EQ(still.state.StepIndex, 10); // nothing stored: ten steps were made first
    EXPECT_EQ(still.model->World.Saved.Xmin, 0);
    EXPECT_EQ(still.model->World.Saved.Xmax, 2);
    EXPECT_EQ(still.model->World.Saved.Ymin, 1);
    EXPECT_EQ(still.model->World.Saved.Ymax, 3);
    EXPECT_EQ(still.model->World.zoomText(), "91%");
    EXPECT_EQ(still.model->World.editTexts()[0], "-0.1");
    EXPECT_EQ(still.model->World.hintTexts()[1], "2.1");

    GraphFixture timed(restingPoint());
    timed.state.Curves.Curves.clear();
    timed.state.Curves.append(timed.graph->Names, 0, 2); // {t, y}
    timed.integrate("4");
    timed.adjusted();
    const Extended span = timed.problem.CurrentIndep;
    ASSERT_GT(span, 0);
    EXPECT_EQ(timed.model->World.Saved.Xmax, span);
    // y gets t's half-range; then the aspect limit widens nothing further.
    EXPECT_DOUBLE_EQ(timed.model->World.Saved.Ymax - timed.model->World.Saved.Ymin, span);
    EXPECT_TRUE(timed.ui.messages.empty());
}

TEST(Adjust, ACircularArrayIsReadInTimeOrderOverTheHeldPoints) {
    GraphFixture f(restingPoint(), 0);
    createResults(f.state, f.problem, f.ui, "5", true, true);
    f.state.Curves.Curves.clear();
    f.state.Curves.append(f.graph->Names, 0, 1); // {t, x}
    f.integrate("12");                           // points 8 .. 12 are held, slot 12 mod 5 = 2
    const ResultsArray& results = f.state.Results;
    const auto range = dataRange(*f.model);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->Xmin, results.at(8 % 5, 0)[0]);
    EXPECT_EQ(range->Xmax, f.problem.CurrentIndep);
    // Undo cannot reach behind the oldest held point.
    EXPECT_FALSE(undoSteps(*f.model, *f.graph, 5));
    EXPECT_TRUE(undoSteps(*f.model, *f.graph, 4));
    EXPECT_EQ(f.problem.CurrentIndep, results.at(8 % 5, 0)[0]);
}

TEST(Adjust, ReportsWhatIsMissing) {
    GraphFixture noCurves(restingPoint());
    noCurves.state.Curves.Curves.clear();
    EXPECT_FALSE(adjustBounds(*noCurves.model, *noCurves.graph, noCurves.ui));

    GraphFixture noMemory(restingPoint(), 0);
    noMemory.state.AvailableMemory = [] { return std::int64_t{0}; };
    EXPECT_FALSE(adjustBounds(*noMemory.model, *noMemory.graph, noMemory.ui));
    EXPECT_EQ(noMemory.ui.lastMessage(),
              "Nothing was stored and nothing was pre-computed at opening");

    GraphFixture mainOnly(panesOf({"t = 0", "x = 1"}, {"t' = 1", "x' = r"}, {"r = x*x"}), 100,
                          false);
    mainOnly.state.Curves.append(mainOnly.graph->Names, 1, 2); // {x, r}
    EXPECT_FALSE(adjustBounds(*mainOnly.model, *mainOnly.graph, mainOnly.ui));
    EXPECT_EQ(mainOnly.ui.lastMessage(),
              "Some of the curves need Aux variables in Results Array - not yet set");
}

TEST(Adjust, WithoutAnIndependentVariableTheCurvesAreRecomputed) {
    GraphFixture circle(panesOf({"x = 1", "y = 0"}, {"x' = -y", "y' = x"}));
    ASSERT_EQ(circle.state.Curves.count(), 1);
    ASSERT_TRUE(adjustBounds(*circle.model, *circle.graph, circle.ui));
    EXPECT_EQ(circle.ui.messages, (Texts{"No playing without an ODE like t'=1"}));
    EXPECT_FALSE(playable(*circle.model, circle.problem));
    // The layout restarted and made ten steps drawn as they came.
    EXPECT_EQ(circle.state.StepIndex, 10);
    EXPECT_GT(countColour(circle.model->Image, qRgb(0, 0, 0)), 20);
}

TEST(Presets, SizesAndTimes) {
    EXPECT_EQ(sizePreset(0), (BoundTexts{"0", "1", "0", "1", "0", "1"}));
    EXPECT_EQ(sizePreset(1), (BoundTexts{"-1", "1", "-1", "1", "-1", "1"}));
    EXPECT_EQ(sizePreset(2), (BoundTexts{"-1", "1", "0", "1", "0", "1"}));
    EXPECT_EQ(sizePreset(3), (BoundTexts{"0", "1", "-1", "1", "-1", "1"}));
    EXPECT_EQ(timesPreset({"-0.5", "2", "1e-3", "x", "7", "8"}, 0.1L),
              (BoundTexts{"-0.05", "0.2", "0.0001", "x", "7", "8"}));
}

TEST(Panning, MovesTheWorldWithThePointerAtAnyZoom) {
    GraphFixture f(restingPoint());
    f.model->AreaWidth = f.model->AreaHeight = 200;
    const ValueReader read = [](const std::string& t) { return parseTrimmedNumber(t); };
    ASSERT_TRUE(applyBounds(*f.model, *f.graph, f.ui, {"0", "2", "0", "2", "0", "1"}, read));
    zoomGraph(*f.model, *f.graph, f.ui, 1.25L); // the window shows -0.25 .. 2.25
    ASSERT_EQ(f.model->Image.width(), 200);
    // A drag of 40 pixels right and 20 down: 0.5 left and 0.25 up in the world.
    const BoundTexts moved = panBounds(f.model->World, 40, 20);
    EXPECT_EQ(moved[0], "-0.75");
    EXPECT_EQ(moved[1], "1.75");
    EXPECT_EQ(moved[2], "0");
    EXPECT_EQ(moved[3], "2.5");
    ASSERT_TRUE(applyBounds(*f.model, *f.graph, f.ui, moved, read));
    EXPECT_EQ(f.model->World.zoomText(), "100%");
    EXPECT_EQ(f.model->World.Left, -0.75L);
}

TEST(Undo, TakesBackTheLastStepsFromTheStoredPoints) {
    GraphFixture f(panesOfProblem("kepler.ode"));
    f.integrate("30");
    f.adjusted();
    const std::int32_t x = 1;
    const Extended stored = f.state.Results.at(20, x)[0];
    const Extended t20 = f.state.Results.at(20, f.problem.IndepLine)[0];
    EXPECT_FALSE(undoSteps(*f.model, *f.graph, 31));
    ASSERT_TRUE(undoSteps(*f.model, *f.graph, 10));
    EXPECT_EQ(f.state.StepIndex, 20);
    EXPECT_EQ(f.problem.Coefficients[f.problem.NumConst + x][0], stored);
    EXPECT_EQ(f.problem.CurrentIndep, t20);
    // Integrating again repeats the steps taken back.
    const Extended before = f.state.Results.at(30, x)[0];
    f.integrate("10");
    EXPECT_EQ(f.state.Results.at(30, x)[0], before);
}

TEST(MousePlacement, WritesTheCellsAndDrawsBackwardThenForward) {
    GraphFixture f(panesOfProblem("kepler.ode"));
    f.adjusted();
    const auto names = f.graph->Names;
    ASSERT_GE(f.state.Curves.count(), 1);
    const Curve curve = f.state.Curves.Curves[0];
    const std::vector<PlacementCell> cells =
        placementCells(*f.graph, f.state.Curves, 0, {0.5L, -0.25L}, f.ui);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].Row, curve.X + 1);
    EXPECT_EQ(cells[0].Text, "0.5");
    EXPECT_EQ(cells[1].Text, "-0.25");

    f.model->replotAll(false);
    const int before = countColour(f.model->Image, qRgb(0, 0, 0));
    placeAndIntegrate(*f.model, *f.graph, f.ui, cells, "20");
    EXPECT_EQ(f.problem.InitialValues[curve.X], 0.5L);
    EXPECT_EQ(f.state.Results.at(0, curve.X)[0], 0.5L); // the forward run is what is stored
    EXPECT_EQ(f.state.Results.at(0, curve.Y)[0], -0.25L);
    EXPECT_EQ(f.state.StepIndex, 20);
    EXPECT_EQ(f.problem.Direction, 1);
    // Backward and forward arcs were both drawn; the stored forward part alone draws fewer.
    const int placed = countColour(f.model->Image, qRgb(0, 0, 0));
    EXPECT_GT(placed, before);
    f.model->replotAll(false);
    EXPECT_LT(countColour(f.model->Image, qRgb(0, 0, 0)), placed);
}

TEST(MousePlacement, RefusesCurvesOverAuxiliaryVariables) {
    GraphFixture f(panesOf({"t = 0", "x = 1"}, {"t' = 1", "x' = r"}, {"r = x*x"}));
    f.state.Curves.append(f.graph->Names, 1, 2);
    EXPECT_TRUE(placementCells(*f.graph, f.state.Curves, 0, {1, 1}, f.ui).empty());
    EXPECT_EQ(f.ui.lastMessage(), "Only curves over main variables may be placed");
    placeAndIntegrate(*f.model, *f.graph, f.ui, {{2, "one"}}, "1");
    EXPECT_EQ(f.ui.lastMessage(), "Wrong parameters");
}

TEST(GraphMenus, InputsAreCheckedAgainstTheirRanges) {
    GraphFixture f(restingPoint());
    f.ui.inputAnswers = {"1", "5"};
    EXPECT_FALSE(changeGrid(*f.model, f.ui));
    f.ui.inputAnswers = {"4", "21"};
    EXPECT_FALSE(changeGrid(*f.model, f.ui));
    f.ui.inputAnswers = {"4", "20"};
    EXPECT_TRUE(changeGrid(*f.model, f.ui));
    EXPECT_EQ(gridHint(*f.model), "4\u00d720");
    EXPECT_EQ(f.ui.inputPrompts[0], "Changing grid|Enter number of cells in X from 2 to 20|10");

    f.ui.inputAnswers = {"33"};
    EXPECT_TRUE(changeBulletDiameter(*f.model, f.ui));
    EXPECT_EQ(f.model->BulletRadius, 10);
    f.ui.inputAnswers = {"7"};
    changeFirstCurve(*f.model, f.ui);
    EXPECT_EQ(f.ui.lastMessage(), "It's > 1. No curves will be plotted");
    f.ui.inputAnswers = {"6"};
    EXPECT_FALSE(changeCurveDensity(*f.model, f.ui));
    EXPECT_EQ(f.ui.lastMessage(), "Outside the recommended range");
    f.ui.inputAnswers = {"0.5"};
    EXPECT_TRUE(changeCurveDensity(*f.model, f.ui));

    EXPECT_EQ(choosePlotFeature(*f.model, PlotFeature::Triangle, f.ui), PlotFeature::None);
    EXPECT_EQ(f.ui.lastMessage(), "At least 3 curves needed");
    EXPECT_EQ(f.model->FirstCurve, 1);
    choosePlotFeature(*f.model, PlotFeature::Tetrahedron, f.ui);
    EXPECT_EQ(f.ui.lastMessage(), "At least 4 curves needed");

    EXPECT_EQ(readSeconds(" 2.5 "), 2.5);
    EXPECT_FALSE(readSeconds("soon"));
    EXPECT_FALSE(playGraph(*f.model, f.ui, "soon"));
}

TEST(GraphTexts, StatusCaptionsAndDirectionSigns) {
    EXPECT_EQ(totalText(false, 0, 0), "Total 0");
    EXPECT_EQ(totalText(true, 12, 13), "12 steps of 13");
    EXPECT_EQ(moreProgressText(3, 10, 2, 45, 40), "3 of 10 (2 splits). Total 45 (of 40)");
    EXPECT_EQ(radiusText(2.5e-7L), "Heuristic conv. radius: 2.5e-7");
    EXPECT_EQ(graphCaption("Kepler", "t  ", "increases"),
              "Kepler,  independent variable t   increases");
    EXPECT_EQ(pointerCaption("K", "t", "decreases", 0.5L, -1234567),
              "K,  independent variable t decreases,  (0.5, -1.23457e+06)");
    EXPECT_EQ(secondsText(1.234), "1.23 s");

    CurveTable curves;
    const std::vector<std::string> names{"t", "x"};
    curves.append(names, 1, 0); // {x, t}: time runs up the Y axis
    EXPECT_EQ(directionSign(curves, "t  ", names, false), "\u2191\r\nt");
    EXPECT_EQ(directionSign(curves, "t  ", names, true), "t\r\n\u2193");
    curves.swapAxes(0, 1, names);
    EXPECT_EQ(directionSign(curves, "t  ", names, false), "t \u2192");
    EXPECT_EQ(directionSign(curves, "t  ", names, true), "\u2190 t");
}

TEST(AxisSwaps, CurvesAndWorldChangePlacesAndZOnlyIn3D) {
    GraphFixture f(restingPoint());
    f.adjusted();
    const Bounds before = f.model->World.Current;
    swapGraphAxes(*f.model, f.graph->Names, 0, 1);
    EXPECT_EQ(f.state.Curves.Curves[0].Caption, "{y, x}");
    EXPECT_EQ(f.model->World.Current.Xmin, before.Ymin);
    swapGraphAxes(*f.model, f.graph->Names, 0, 2);
    EXPECT_EQ(f.state.Curves.Curves[0].Caption, "{y, x}");
}
