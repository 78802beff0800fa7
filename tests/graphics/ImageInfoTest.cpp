// The Image Info report, line by line.
#include "GraphFixture.h"

#include "graphics/ImageInfo.h"

#include <gtest/gtest.h>

namespace {

ImageInfoFacts twoCurves() {
    ImageInfoFacts facts;
    facts.ProblemCaption = "figure8";
    facts.Curves = {"{x1, y1}", "{x2, y2}"};
    facts.PlaytimeText = "0.12 s";
    facts.Width = 600;
    facts.Height = 200;
    facts.Segments = 101;
    facts.CurveDensity = 1;
    facts.PointsPlotted = 5432;
    facts.BulletPlots = 7;
    facts.DurationText = "5";
    return facts;
}

} // namespace

TEST(ImageInfo, TwoDimensionalReportWithoutFirstCurveLines) {
    const std::vector<std::string> expected = {
        "Problem: figure8\r\n",
        "MONO image\r\n",
        "List of curves:\r\n",
        "1) {x1, y1}",
        "2) {x2, y2}",
        "",
        "The shortest playtime: 0.12 s\r\n",
        "Image size: 600 × 200 = 120000 pixels\r\n",
        "Number of analytical elements (or segments): 101\r\n",
        "Curve density (distance between centers of adjacent pixels on the curve) is the size of "
        "1 pixel\r\n",
        "Number of pixels in each curve is up to 5432\r\n",
        "Number of bullet plots in each curve during playtime 0.12 s is up to 7.\r\nAt least 1 "
        "plot takes place within each of 101 segments,\r\nand consequent bullet plots happen with "
        "frequency 100 plots/s during playtime 5 s.\r\n",
        "Comment: "};
    EXPECT_EQ(imageInfoLines(twoCurves()), expected);
}

TEST(ImageInfo, FirstCurveLinesAndShapes) {
    ImageInfoFacts facts = twoCurves();
    facts.FirstCurve = 2;
    facts.Feature = PlotFeature::Triangle;
    auto lines = imageInfoLines(facts);
    ASSERT_GT(lines.size(), 7u);
    EXPECT_EQ(lines[5], "Curves are plotted beginning with curve 2 ");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "Moving triangle\r\n");
    facts.FirstCurve = 3;
    facts.Feature = PlotFeature::Axes; // no line
    lines = imageInfoLines(facts);
    EXPECT_EQ(lines[5], "No curves are plotted: only bullets");
    EXPECT_EQ(lines[7], "The shortest playtime: 0.12 s\r\n");
    facts.Feature = PlotFeature::DoublePendulum;
    EXPECT_EQ(imageInfoLines(facts)[7], "Moving double pendulum\r\n");
    facts.Feature = PlotFeature::Tetrahedron;
    EXPECT_EQ(imageInfoLines(facts)[7], "Moving tetrahedron\r\n");
}

TEST(ImageInfo, ThreeDimensionalViewsWithTubeAndTurns) {
    ImageInfoFacts facts = twoCurves();
    facts.View = ViewKind::Stereo;
    facts.Tube = true;
    facts.Alpha = 30;
    facts.Beta = -12.5;
    facts.Gamma = 0;
    auto lines = imageInfoLines(facts);
    EXPECT_EQ(lines[1], "STEREO image\r\n");
    EXPECT_EQ(lines[2], "Tubular graphic\r\n");
    EXPECT_EQ(lines[3], "α = 30°; β = -12°; γ = 0°\r\n");
    EXPECT_EQ(lines[4], "List of curves:\r\n");
    facts.View = ViewKind::AxonometricLeft;
    facts.Tube = false;
    lines = imageInfoLines(facts);
    EXPECT_EQ(lines[1], "Axonometric left image\r\n");
    EXPECT_EQ(lines[2], "α = 30°; β = -12°; γ = 0°\r\n");
    facts.View = ViewKind::AxonometricRight;
    EXPECT_EQ(imageInfoLines(facts)[1], "Axonometric right image\r\n");
}

TEST(ImageInfo, FactsOfAReplottedModel) {
    GraphFixture f(panesOfProblem("figure8.ode"), 51);
    f.state.Results.Circular = true;
    f.integrate("80");
    ASSERT_EQ(f.state.StepIndex,
              80); // a circular array of 51 holds fewer points than were computed
    f.adjusted(300, 300);
    const ImageInfoFacts facts = modelFacts(*f.model);
    EXPECT_EQ(facts.Segments, 51);
    EXPECT_EQ(facts.Width, f.model->Image.width());
    EXPECT_EQ(facts.Curves, (std::vector<std::string>{"{x1, y1}", "{x2, y2}", "{x3, y3}"}));
    EXPECT_EQ(facts.PointsPlotted, f.model->PointsPlotted);
    EXPECT_GT(facts.PointsPlotted, 0);
}
