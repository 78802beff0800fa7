// Phase portraits: the designer's fields, the node grid, the table of points, the curve rules,
// and strokes read back from the picture's pixels.
#include "GraphFixture.h"

#include "common/NumberText.h"
#include "graphics/Portrait.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// x' = y, y' = -sin x, with angles in radians.
ProblemPanes pendulum() {
    ProblemPanes panes;
    panes.Initial = {"x = 1", "y = 0"};
    panes.ODEs = {"x' = y", "y' = -sin(x)"};
    return panes;
}

PortraitTexts texts(std::string x, std::string y, std::string z, std::string limit,
                    std::string steps) {
    PortraitTexts t;
    t.NodesX = std::move(x);
    t.NodesY = std::move(y);
    t.NodesZ = std::move(z);
    t.PixelLimit = std::move(limit);
    t.StrokeSteps = std::move(steps);
    return t;
}

// The pendulum with its one curve {x, y} over [-4, 4] x [-3, 3] in a 400 x 300 picture.
struct PendulumPortrait : GraphFixture {
    PendulumPortrait() : GraphFixture(pendulum(), 101, false, true) {
        EXPECT_EQ(state.Curves.count(), 1);
        model->AreaWidth = 400;
        model->AreaHeight = 300;
        applyBounds(*model, *graph, ui, {"-4", "4", "-3", "3", "0", "1"},
                    [](const std::string& text) { return parseTrimmedNumber(text); });
    }
    QRgb strokeColour() const { return model->Colours.rgb(0); }
};

} // namespace

TEST(PortraitParams, ReadsNodesAsCellsAndStopsAtTheFirstWrongField) {
    FakeUi ui;
    PortraitParams params;
    PortraitTexts t = texts(" 20 ", "7", "3", "12", "2");
    t.Length = StrokeLength::Limited;
    t.Type = StrokeType::Linear;
    t.ShowNodes = true;
    ASSERT_TRUE(readPortraitParams(t, params, ui));
    EXPECT_EQ(params.CellsX, 21);
    EXPECT_EQ(params.CellsY, 8);
    EXPECT_EQ(params.CellsZ, 4);
    EXPECT_EQ(params.PixelLimit, 12);
    EXPECT_EQ(params.StrokeSteps, 2);
    EXPECT_EQ(params.Length, StrokeLength::Limited);
    EXPECT_EQ(params.Type, StrokeType::Linear);
    EXPECT_TRUE(params.ShowNodes);
    EXPECT_EQ(portraitTexts(params).NodesX, "20");
    EXPECT_TRUE(ui.messages.empty());

    // Y is unreadable: X is stored, nothing after Y is.
    PortraitParams partly;
    EXPECT_FALSE(readPortraitParams(texts("5", "x", "9", "99", "9"), partly, ui));
    EXPECT_EQ(ui.lastMessage(), "Wrong field parameters values");
    EXPECT_EQ(partly.CellsX, 6);
    EXPECT_EQ(partly.CellsY, 21);
    EXPECT_EQ(partly.CellsZ, 6);
    EXPECT_EQ(partly.PixelLimit, 10);
    EXPECT_EQ(partly.Length, StrokeLength::Unlimited);

    // Negative counts, a zero pixel limit, zero steps and fractions are refused as well.
    for (const PortraitTexts& wrong :
         {texts("-1", "2", "2", "5", "1"), texts("2", "2", "2", "0", "1"),
          texts("2", "2", "2", "5", "0"), texts("2.5", "2", "2", "5", "1"),
          texts("2", "2", "", "5", "1")}) {
        PortraitParams p;
        ui.messages.clear();
        EXPECT_FALSE(readPortraitParams(wrong, p, ui));
        EXPECT_EQ(ui.lastMessage(), "Wrong field parameters values");
    }
}

TEST(PortraitGrid, TwentyNodesOnTheUnitIntervalAreAtTwentyFirsts) {
    PortraitParams params;
    FakeUi ui;
    ASSERT_TRUE(readPortraitParams(texts("20", "3", "5", "10", "1"), params, ui));
    const NodeGrid grid = nodeGrid(Bounds{0, 1, -2, 2, 0, 1}, params, false);
    for (std::int32_t w = 1; w < grid.CellsX; ++w)
        EXPECT_NEAR(static_cast<double>(grid.node(w, 1, 0)[0]), w / 21.0, 1e-15) << w;
    EXPECT_EQ(grid.CellsX - 1, 20); // 1/21 .. 20/21: the box edges carry no node
    EXPECT_DOUBLE_EQ(static_cast<double>(grid.node(1, 3, 0)[1]), 1.0);
    EXPECT_EQ(grid.node(4, 2, 0)[2], 0); // one layer at z = 0 in 2D
    EXPECT_EQ(grid.firstLayer(), grid.lastLayer());

    const NodeGrid space = nodeGrid(Bounds{0, 1, 0, 1, -3, 3}, params, true);
    EXPECT_EQ(space.firstLayer(), 1); // five interior layers of six cells
    EXPECT_EQ(space.lastLayer(), 5);
    EXPECT_DOUBLE_EQ(static_cast<double>(space.node(1, 1, 1)[2]), -2.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(space.node(1, 1, 5)[2]), 2.0);

    EXPECT_EQ(grid.progressMax(), 21 * 4);
    EXPECT_EQ(grid.progress(1, 1), 1);
    EXPECT_EQ(grid.progress(2, 1), 5);
}

TEST(PortraitGrid, ThreeDAsksAboveFiveHundredCells) {
    PortraitParams params;
    FakeUi ui;
    ASSERT_TRUE(readPortraitParams(texts("20", "20", "5", "10", "1"), params, ui));
    EXPECT_TRUE(tooManyNodesFor3D(params)); // 21 * 21 * 6 = 2646
    ASSERT_TRUE(readPortraitParams(texts("4", "4", "19", "10", "1"), params, ui));
    EXPECT_FALSE(tooManyNodesFor3D(params)); // 5 * 5 * 20 = 500
    ASSERT_TRUE(readPortraitParams(texts("10000", "10000", "10000", "10", "1"), params, ui));
    EXPECT_TRUE(tooManyNodesFor3D(params)); // no overflow

    ProblemPanes panes;
    panes.Initial = {"x = 0", "y = 0", "z = 0"};
    panes.ODEs = {"x' = 1", "y' = 1", "z' = 1"};
    GraphFixture space(panes, 11, false);
    space.state.Curves.setMode(true);
    space.state.Curves.append(space.graph->Names, 0, 1, 2);
    space.integrate("3");
    space.model->AreaWidth = space.model->AreaHeight = 200;
    ASSERT_TRUE(space.model->layout());
    space.ui.confirmAnswers = {false};
    ASSERT_TRUE(readPortraitParams(texts("20", "20", "5", "10", "1"), params, ui));
    const PortraitOutcome declined =
        makePortrait(*space.model, *space.graph, space.ui, params, PortraitRequest{});
    EXPECT_EQ(declined.End, PortraitEnd::Declined);
    EXPECT_EQ(declined.Strokes, 0);
    EXPECT_EQ(space.ui.lastMessage(), "May be too many nodes for 3D: still go?");

    ASSERT_TRUE(readPortraitParams(texts("2", "2", "2", "10", "1"), params, ui));
    space.ui.messages.clear();
    const PortraitOutcome few =
        makePortrait(*space.model, *space.graph, space.ui, params, PortraitRequest{});
    EXPECT_EQ(few.End, PortraitEnd::Drawn);
    EXPECT_EQ(few.Strokes, 2 * 2 * 2);
    EXPECT_TRUE(space.ui.messages.empty());
}

TEST(PortraitTable, MixedSeparatorsParseAndBlankSeparatedLinesAreSkipped) {
    const auto point = parseTablePoint("0.5; 1, 2");
    ASSERT_TRUE(point);
    EXPECT_EQ((*point)[0], 0.5L);
    EXPECT_EQ((*point)[1], 1);
    EXPECT_EQ((*point)[2], 2);
    EXPECT_FALSE(parseTablePoint("0.5 1 2"));
    EXPECT_FALSE(parseTablePoint("0.5, 1"));
    EXPECT_FALSE(parseTablePoint("0.5, 1, 2, 3")); // the third field is "2, 3"
    EXPECT_FALSE(parseTablePoint("0.5,,1"));
    const std::vector<PortraitPoint> points = tablePoints(
        {"1\t2\t3", "", "a, b, c", " -1e-3 ; 4 ,5 ", "1;\t2;3" /* empty field */, "7 8 9"});
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1][0], -1e-3L);
    EXPECT_EQ(points[1][2], 5);

    // What a mouse stroke appends reads back.
    const std::string appended = tablePointText({-0.25L, 1.5e-7L, 0});
    EXPECT_EQ(appended, "-0.25\t 1.5e-07\t 0");
    const auto back = parseTablePoint(appended);
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(static_cast<double>((*back)[1]), 1.5e-7);
}

TEST(PortraitRules, ARefusedPortraitKeepsTheStoredRun) {
    GraphFixture two(panesOfProblem("kepler.ode"), 101);
    two.integrate("20");
    two.adjusted(300, 300);
    two.state.Curves.append(two.graph->Names, 1, 3); // a second curve
    const std::vector<Extended> stored = two.state.Results.Values;
    const QImage before = two.model->Image;
    const PortraitOutcome refused =
        makePortrait(*two.model, *two.graph, two.ui, PortraitParams{}, PortraitRequest{});
    EXPECT_EQ(refused.End, PortraitEnd::Refused);
    EXPECT_EQ(two.ui.lastMessage(),
              "Phase portraits - for one curve only! Delete all curves except one.\r\nUse "
              "\"Mouse click to place IVP\" for multi-curve plots");
    EXPECT_EQ(two.state.Results.Length, 101);
    EXPECT_EQ(two.state.StepIndex, 20);
    EXPECT_EQ(two.state.Results.Values, stored);
    EXPECT_EQ(two.model->Image, before);

    // One curve over the auxiliary r3.
    two.state.Curves.Curves.clear();
    ASSERT_EQ(two.graph->Names.back(), "r3");
    two.state.Curves.append(two.graph->Names, 1,
                            static_cast<std::int32_t>(two.graph->Names.size()) - 1);
    EXPECT_EQ(makePortrait(*two.model, *two.graph, two.ui, PortraitParams{}, PortraitRequest{}).End,
              PortraitEnd::Refused);
    EXPECT_EQ(two.ui.lastMessage(), "Only main variables allowed for the field of directions");
    EXPECT_EQ(two.state.Results.Values, stored);
    EXPECT_EQ(two.state.StepIndex, 20);
}

TEST(PortraitDrawing, ThePendulumGetsAStrokeAtEveryNode) {
    PendulumPortrait f;
    f.problem.Direction = -1; // the portrait keeps the direction it found
    f.problem.Step = -std::fabs(f.problem.Step);
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;
    PortraitRequest request;
    request.Progress = [&](std::int64_t at, std::int64_t max) { progress.emplace_back(at, max); };
    const PortraitOutcome outcome =
        makePortrait(*f.model, *f.graph, f.ui, PortraitParams{}, request);
    ASSERT_EQ(outcome.End, PortraitEnd::Drawn);
    EXPECT_EQ(outcome.Strokes, 400);
    EXPECT_TRUE(f.state.Results.empty()); // strokes are not stored
    EXPECT_EQ(f.state.StepIndex, 0);
    EXPECT_EQ(f.problem.Direction, -1);
    EXPECT_LT(f.problem.Step, 0);
    ASSERT_EQ(progress.size(), 401u);
    EXPECT_EQ(progress.front(), std::make_pair(std::int64_t{0}, std::int64_t{441}));
    EXPECT_EQ(progress.back().first, 20 + 19 * 21); // u + (w - 1) cells in Y

    const QImage& image = f.model->Image;
    const NodeGrid grid = nodeGrid(f.model->World.Current, PortraitParams{}, false);
    int missing = 0;
    for (std::int32_t w = 1; w < 21; ++w)
        for (std::int32_t u = 1; u < 21; ++u) {
            const PortraitPoint node = grid.node(w, u, 0);
            const Pixel p = f.model->World.toPixel(node[0], node[1]);
            missing += image.pixel(p.x, p.y) != f.strokeColour();
        }
    EXPECT_EQ(missing, 0);
    // Strokes have length: one step of the pendulum is several pixels at every node.
    EXPECT_GT(countColour(image, f.strokeColour()), 400 * 6);
}

TEST(PortraitDrawing, ALinearLimitedHalfStrokeIsAStraightRunOfAtMostTheLimit) {
    PendulumPortrait f;
    PortraitParams params;
    params.Type = StrokeType::Linear;
    params.Length = StrokeLength::Limited;
    params.PixelLimit = 8;
    params.StrokeSteps = 5;
    f.model->clear();
    f.model->PointsPlotted = 0;
    const PortraitPoint point{1, 1, 0};
    drawStroke(*f.model, *f.graph, params, point);
    EXPECT_LE(f.model->PointsPlotted, 2 * 8);
    EXPECT_GE(f.model->PointsPlotted, 2 * 2);

    // Every drawn pixel lies on the tangent through the point: direction (y, -sin x).
    const Pixel p = f.model->World.toPixel(1, 1);
    const Pixel ahead = f.model->World.toPixel(1 + 2.0L, 1 - 2 * std::sin(1.0L));
    const double dx = ahead.x - p.x, dy = ahead.y - p.y; // the tangent in pixels
    const double norm = std::hypot(dx, dy);
    const QImage& image = f.model->Image;
    int drawn = 0;
    double farthest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == f.strokeColour()) {
                ++drawn;
                const double ex = x - p.x, ey = y - p.y;
                farthest = std::max(farthest, std::fabs(ex * dy - ey * dx) / norm);
            }
    EXPECT_GE(drawn, 4);
    EXPECT_LE(drawn, 2 * 8);
    EXPECT_LE(farthest, 1.0);

    // Curvy and unlimited, five steps bend away from the tangent.
    PortraitParams curvy;
    curvy.StrokeSteps = 5;
    f.model->clear();
    drawStroke(*f.model, *f.graph, curvy, point);
    double bent = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == f.strokeColour())
                bent = std::max(bent, std::fabs((x - p.x) * dy - (y - p.y) * dx) / norm);
    EXPECT_GT(bent, 5.0);
}

TEST(PortraitDrawing, AMouseStrokeKeepsTheBackupAndShowsNodes) {
    PendulumPortrait f;
    PortraitParams params;
    params.ShowNodes = true;
    f.model->clear();
    PortraitRequest request;
    request.Mode = PortraitMode::Stroke;
    request.Point = {-2, 1, 0};
    const QImage before = f.model->Image;
    const PortraitOutcome outcome = makePortrait(*f.model, *f.graph, f.ui, params, request);
    EXPECT_EQ(outcome.End, PortraitEnd::Drawn);
    EXPECT_EQ(f.model->Backup, before);
    // The bullet at the point covers its neighbours too.
    const Pixel p = f.model->World.toPixel(-2, 1);
    EXPECT_EQ(f.model->Image.pixel(p.x, p.y + 1), f.strokeColour());
    EXPECT_EQ(f.model->Image.pixel(p.x - 1, p.y - 1), f.strokeColour());
    EXPECT_GT(countColour(f.model->Image, f.strokeColour()), 20);
}

TEST(PortraitDrawing, EscEndsTheGridAfterItsColumnAndKeepsWhatWasDrawn) {
    PendulumPortrait f;
    f.state.PollInterval = std::chrono::steady_clock::duration::zero();
    f.ui.onProcessEvents = [&] { f.state.Interrupt = true; };
    const PortraitOutcome outcome =
        makePortrait(*f.model, *f.graph, f.ui, PortraitParams{}, PortraitRequest{});
    EXPECT_EQ(outcome.End, PortraitEnd::Interrupted);
    EXPECT_EQ(outcome.Strokes, 1);
    EXPECT_EQ(f.ui.lastMessage(), "Interrupted!");
    EXPECT_FALSE(f.state.Busy);
    EXPECT_GT(countColour(f.model->Image, f.strokeColour()), 0);
}
