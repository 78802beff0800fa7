// Pictures of the figure-eight orbit read pixel by pixel.
#include "GraphFixture.h"

#include "common/NumberText.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

struct FigureEight : GraphFixture {
    FigureEight() : GraphFixture(panesOfProblem("figure8.ode")) { integrate("200"); }
    // The legend's lines are left out where curves are counted.
    QRect belowLegend(const QImage& image) const {
        const int top = 3 * model->legendLineHeight();
        return QRect(0, top, image.width(), image.height() - top);
    }
};

int curvePixels(const QImage& image) {
    int count = 0;
    for (QRgb colour : {Black, Red, Blue})
        count += countColour(image, colour);
    return count;
}

} // namespace

TEST(FigureEightPicture, ThreeCurvesInTheirColoursFromTheirStartPoints) {
    FigureEight f;
    const QImage& image = f.adjusted();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(f.model->World.zoomText(), "91%");
    ASSERT_EQ(f.state.Curves.count(), 3);
    EXPECT_EQ(f.state.Curves.Curves[2].Caption, "{x3, y3}");
    const QRect curves = f.belowLegend(image);
    for (QRgb colour : {Black, Red, Blue})
        EXPECT_GT(countColour(image, colour, curves), 100);
    // Each body starts where its polynomial at the first stored point says.
    const QRgb colours[] = {Black, Red, Blue};
    for (std::int32_t j = 0; j < 3; ++j) {
        const Curve& curve = f.state.Curves.Curves[j];
        const Pixel start = f.model->World.toPixel(f.state.Results.at(0, curve.X)[0],
                                                   f.state.Results.at(0, curve.Y)[0]);
        EXPECT_EQ(image.pixel(start.x, start.y), colours[j]) << "curve " << j + 1;
    }
}

TEST(FigureEightPicture, TheLegendWritesEachCaptionInItsCurveColour) {
    FigureEight f;
    const QImage& image = f.adjusted();
    const int line = f.model->legendLineHeight();
    const QRgb colours[] = {Black, Red, Blue};
    for (int j = 0; j < 3; ++j) {
        const QString caption = QString::fromStdString(f.state.Curves.Curves[j].Caption);
        const QRect text(1, j * line,
                         QFontMetrics(GraphModel::legendFont()).horizontalAdvance(caption), line);
        EXPECT_GT(countColour(image, colours[j], text), 10) << "line " << j + 1;
        for (QRgb other : colours) {
            if (other != colours[j]) {
                EXPECT_EQ(countColour(image, other, text), 0) << "line " << j + 1;
            }
        }
    }
    EXPECT_EQ(f.model->legendCurveAt(5, 2 * line + 1), 2);
    EXPECT_FALSE(f.model->legendCurveAt(5, 3 * line + 1)); // below the last line
    EXPECT_FALSE(f.model->legendCurveAt(101, 1));
}

TEST(FigureEightPicture, ThickCurvesCoverMoreThanThinOnes) {
    FigureEight f;
    const int thin = curvePixels(f.adjusted());
    f.model->Thick = true;
    f.model->BulletRadius = 3;
    f.model->rebuildBullets();
    f.model->replotAll(false);
    EXPECT_GT(curvePixels(f.model->Image), 2 * thin);
}

TEST(FigureEightPicture, APlayOfNoTimeDrawsTheReplotsTrailWithoutWaiting) {
    FigureEight f;
    const QImage replot = f.adjusted().copy();
    f.model->HasScreen = true;
    f.model->PlayDuration = 0;
    EXPECT_EQ(f.model->replotAll(true), ReplotEnd::Drawn);
    EXPECT_EQ(f.model->Image, replot);
    EXPECT_TRUE(f.clock.sleeps.empty());
    // The screen shows the picture and the final bullets on top of it.
    EXPECT_NE(f.model->Screen, replot);
    EXPECT_EQ(f.model->Screen.size(), replot.size());
}

TEST(FigureEightPicture, MoreDrawsWhatTheReplotDraws) {
    GraphFixture f(panesOfProblem("figure8.ode"));
    f.integrate("20");
    f.adjusted(); // the world is fitted to the first 20 steps
    std::vector<MoreStepTexts> texts;
    const RunOutcome outcome = graphMore(*f.model, *f.graph, f.ui, "30",
                                         [&](const MoreStepTexts& t) { texts.push_back(t); });
    EXPECT_EQ(outcome.End, RunEnd::Completed);
    ASSERT_EQ(texts.size(), 30u);
    EXPECT_EQ(texts.back().Total, "30 of 30 (0 splits). Total 50 (of 50)");
    EXPECT_EQ(texts.back().HowMany, "30 of 30  (0 step splits). Total: 50 ");
    EXPECT_EQ(texts.back().Radius.rfind("Heuristic conv. radius: ", 0), 0u);
    const QImage live = f.model->Image.copy();
    f.model->replotAll(false);
    EXPECT_EQ(live, f.model->Image);

    graphMore(*f.model, *f.graph, f.ui, "many");
    EXPECT_EQ(f.ui.lastMessage(), "Wrong number");
}

TEST(FigureEightPicture, PointsOutsideTheWindowAreNotDrawn) {
    FigureEight f;
    f.model->AreaWidth = f.model->AreaHeight = 300;
    const ValueReader read = [](const std::string& t) { return parseTrimmedNumber(t); };
    ASSERT_TRUE(applyBounds(*f.model, *f.graph, f.ui, {"5", "6", "5", "6", "0", "1"}, read));
    EXPECT_EQ(f.model->World.zoomText(), "100%");
    EXPECT_EQ(curvePixels(f.model->Image.copy(f.belowLegend(f.model->Image))), 0);
    // Only the right half of the orbit is in the window: the left lobe leaves no pixel.
    ASSERT_TRUE(
        applyBounds(*f.model, *f.graph, f.ui, {"0.05", "1.5", "-0.5", "0.5", "0", "1"}, read));
    const QImage& image = f.model->Image;
    EXPECT_GT(curvePixels(image.copy(f.belowLegend(image))), 100);
    EXPECT_TRUE(f.ui.messages.empty());
}
