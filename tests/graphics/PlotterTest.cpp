// The segment plotter over hand-made polynomials: sub-steps, the window's edges, grid, bullets,
// pacing and the bullet clock.
#include "GraphFixture.h"

#include <gtest/gtest.h>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

// Two variables x(s) = x0 + vx s, y(s) = y0 + vy s with three terms each.
struct Line {
    std::vector<Extended> data;
    Line(Extended x0, Extended vx, Extended y0, Extended vy) : data{x0, vx, 0, y0, vy, 0} {}
    SeriesSet series() const { return {data.data(), 2, 3}; }
};

struct PlotterFixture {
    WorkspaceState state;
    FakeClock clock;
    GraphModel model{state, clock};

    // The unit square in a 100 x 100 image, one curve {x, y}, no grid.
    PlotterFixture() {
        state.Curves.append({"x", "y"}, 0, 1);
        model.ShowGrid = false;
        model.World.Current = {0, 1, 0, 1};
        model.World.commit(false);
        model.AreaWidth = model.AreaHeight = 100;
        model.layout();
    }
    std::int64_t pointsFor(const Line& line, Extended t1 = 1) {
        model.PointsPlotted = 0;
        model.plotSegment(line.series(), 0, t1, CurveSubStepLimit, false);
        return model.PointsPlotted;
    }
};

} // namespace

TEST(SegmentPlotter, ASegmentOutsideTheWindowIsOneSubStepAndDrawsNothing) {
    PlotterFixture f;
    EXPECT_EQ(f.pointsFor(Line(2, 1, 2, 1)), 1);
    EXPECT_EQ(countColour(f.model.Image, Black), 0);
    EXPECT_EQ(f.pointsFor(Line(0.5L, 0, 0.5L, 0), 0), 1); // an empty segment
}

TEST(SegmentPlotter, AFasterCurveGetsMorePointsAboutOnePixelApart) {
    PlotterFixture f;
    const auto slow = f.pointsFor(Line(0, 0.2L, 0.5L, 0));
    const auto fast = f.pointsFor(Line(0, 0.8L, 0.5L, 0));
    EXPECT_NEAR(slow, 21, 1); // 20 pixels of 0.01
    EXPECT_NEAR(fast, 81, 1);
    // A backward segment is drawn the same way.
    EXPECT_NEAR(f.pointsFor(Line(0.9L, 0.8L, 0.5L, 0), -1), 81, 1);
    // The floor: a curve far too fast for the density takes H / 100000 steps.
    f.model.World.DensityStep = 1e-12L;
    EXPECT_NEAR(f.pointsFor(Line(0, 0.5L, 0.5L, 0)), CurveSubStepLimit, 1);
}

TEST(SegmentPlotter, TheRightEdgeDoesNotWrapIntoTheNextRow) {
    PlotterFixture f;
    f.pointsFor(Line(0, 1, 0.5L, 0)); // x reaches 1, pixel column 100 of a 100-wide image
    const QImage& image = f.model.Image;
    EXPECT_EQ(countColour(image, Black), 100);
    EXPECT_EQ(image.pixel(0, 51), White);
    EXPECT_EQ(image.pixel(99, 50), Black);
}

TEST(SegmentPlotter, FirstCurveToPlotLeavesEarlierCurvesWithoutTrails) {
    PlotterFixture f;
    f.state.Curves.append({"x", "y"}, 1, 0);
    f.model.FirstCurve = 2;
    f.pointsFor(Line(0, 1, 0.25L, 0));
    // Only the swapped curve {y, x}: a vertical line at x = 0.25.
    EXPECT_EQ(f.model.Image.pixel(25, 50), qRgb(255, 0, 0));
    EXPECT_EQ(f.model.Image.pixel(50, 75), White);
}

TEST(Grid, SilverLinesAtTheCellBorders) {
    PlotterFixture f;
    QImage image(101, 51, QImage::Format_RGB32);
    image.fill(Qt::white);
    f.model.drawGrid(image);
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    for (int x : {11, 21, 51, 91})
        EXPECT_EQ(image.pixel(x, 2), silver) << x;
    for (int y : {6, 11, 26, 46})
        EXPECT_EQ(image.pixel(3, y), silver) << y;
    EXPECT_EQ(image.pixel(10, 2), White);
    EXPECT_EQ(image.pixel(3, 5), White);
    EXPECT_EQ(countColour(image, silver), 9 * 51 + 9 * 100 - 81);
}

TEST(PaletteAndBullets, CyclicListsAndFilledCircles) {
    Palette palette;
    EXPECT_EQ(palette.colour(0), 0x000000u);
    EXPECT_EQ(palette.colour(1), 0x0000FFu);
    EXPECT_EQ(palette.rgb(1), qRgb(255, 0, 0));
    EXPECT_EQ(palette.rgb(5), qRgb(0, 0, 128));
    EXPECT_EQ(palette.colour(7), 0x000000u);
    palette.fillTube();
    EXPECT_EQ(palette.colour(0), 0x0000FFu);
    EXPECT_EQ(palette.colour(6), 0x0000FFu);
    EXPECT_EQ(palette.colour(5), 0x000080u);

    const std::vector<Bullet> bullets = buildBullets(Palette(), 3, true);
    ASSERT_EQ(bullets.size(), static_cast<std::size_t>(MaxCurves));
    const QImage& red = bullets[1].Image;
    EXPECT_EQ(red.size(), QSize(6, 6));
    EXPECT_EQ(red.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(red.pixel(0, 0), White);
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::black);
    drawBullet(target, bullets[1], -2, -2); // transparent corners, clipped at the edges
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(3, 3), Black);
}

TEST(Pacing, TheMillisecondTimerSleepsTheSpanShareOfTheDuration) {
    FakeClock clock;
    Pacer pacer(clock);
    pacer.start();
    EXPECT_TRUE(pacer.wait(1, 4, 2.0, PlayTimer::Millisecond));
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_DOUBLE_EQ(clock.sleeps[0], 0.5);
    clock.time += 0.7; // drawing took longer than its share: no wait
    EXPECT_TRUE(pacer.wait(2, 4, 2.0, PlayTimer::Millisecond));
    EXPECT_EQ(clock.sleeps.size(), 1u);
    EXPECT_TRUE(pacer.wait(4, 4, 2.0, PlayTimer::Millisecond));
    EXPECT_NEAR(clock.time - 100, 2.0, 1e-3); // reading the start count took a tick
    EXPECT_TRUE(pacer.wait(4, 0, 2.0, PlayTimer::Millisecond)); // nothing to pace
}

TEST(Pacing, TheMicrosecondTimerBusyWaitsAndReportsAFailedCounter) {
    FakeClock clock;
    Pacer pacer(clock);
    pacer.start();
    EXPECT_TRUE(pacer.wait(3, 4, 1.0, PlayTimer::Microsecond));
    EXPECT_NEAR(clock.time - 100, 0.75, 2e-4);
    EXPECT_TRUE(clock.sleeps.empty());
    clock.counterWorks = false;
    EXPECT_FALSE(pacer.wait(4, 4, 1.0, PlayTimer::Microsecond));
}

TEST(Pacing, AReplotTakesTheDurationAndMovesBulletsAtMostAHundredTimesASecond) {
    GraphFixture f(panesOfProblem("figure8.ode"));
    f.integrate("200");
    f.adjusted();
    f.model->HasScreen = true;
    f.model->PlayDuration = 2;
    const double start = f.clock.time;
    f.model->replotAll(true);
    EXPECT_NEAR(f.clock.time - start, 2.0, 0.002);
    EXPECT_LE(f.model->BulletPlots, 201);
    EXPECT_GE(f.model->BulletPlots, 150);
    EXPECT_GT(f.model->PointsPlotted, 1000);
    EXPECT_EQ(f.model->PlayTicks.size(), 200u);
    EXPECT_EQ(f.model->PlayTicks.back(), f.model->Image.width());
    EXPECT_EQ(f.model->PlayPosition, 0); // the end wraps to the start
}
