// Re-scaled pictures and their settings: scale limits, the form's texts, the first pixel format,
// the tube refusal, and the replot into a larger image with one-pixel lines.
#include "GraphFixture.h"

#include "graphics/HighResSettings.h"
#include "graphics/RescaledImage.h"

#include <gtest/gtest.h>

TEST(HighResSettings, ScaleFactorIsLimitedAndBadTextKeepsThePrevious) {
    FakeUi ui;
    EXPECT_EQ(*readScaleFactor("50", ui), 30);
    EXPECT_EQ(*readScaleFactor("0.05", ui), MinScaleFactor);
    EXPECT_EQ(*readScaleFactor(" 2.5 ", ui), 2.5L);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(readScaleFactor("2x", ui));
    EXPECT_FALSE(readScaleFactor("", ui));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Wrong scale factor", "Wrong scale factor"}));
}

TEST(HighResSettings, FirstPixelFormatFollowsTheCurveCount) {
    EXPECT_EQ(initialPixelFormat(1, false), 2);
    EXPECT_EQ(initialPixelFormat(2, false), 1);
    EXPECT_EQ(initialPixelFormat(15, false), 1);
    EXPECT_EQ(initialPixelFormat(16, false), 0);
    EXPECT_EQ(initialPixelFormat(1, true), 1);
    EXPECT_EQ(initialPixelFormat(40, true), 1);
    EXPECT_EQ(PixelFormats[0].Depth, 24);
    EXPECT_EQ(PixelFormats[3].PixelsPerKb, 8000);
}

TEST(HighResSettings, TextsGiveSizeAndMemory) {
    const HighResTexts texts = highResTexts(600, 400, 2.5L, 1, true, 4);
    EXPECT_EQ(texts.ScaleLabel, "Screen image [600×400]×");
    // 1500 x 1000 = 1,500,000 pixels, 1000 per Kb at 8 bits.
    EXPECT_EQ(texts.Result, "= Print image [1500×1000]=1500000 pxls or 1500 Kb");
    EXPECT_EQ(texts.Caption, "Setting color depth, iimage size and movie parameters");
    EXPECT_TRUE(texts.RecordEnabled);
    EXPECT_EQ(texts.IntegrationSpan, "At 30 frames/sec 4.0 seconds motion requires at least 120 "
                                     "frames 240 Kb each (in png format shorter) ");
    EXPECT_EQ(texts.FrameLabel, "Number of frames for 4.0 sec motion");

    const HighResTexts none = highResTexts(640, 480, 30, 0, false, 5);
    // 19200 x 14400 = 276,480,000 pixels; 333 pixels per Kb at 24 bits.
    EXPECT_EQ(none.Result, "= Print image [19200×14400]=276480000 pxls or 830270 Kb");
    EXPECT_EQ(none.Caption, "No Results array");
    EXPECT_FALSE(none.RecordEnabled);
    EXPECT_EQ(none.IntegrationSpan, "");
}

TEST(HighResSettings, TubesNeedTwentyFourBits) {
    FakeUi ui;
    EXPECT_TRUE(tubeDepthAllowed(true, 24, ui));
    EXPECT_TRUE(tubeDepthAllowed(false, 8, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(tubeDepthAllowed(true, 8, ui));
    EXPECT_FALSE(tubeDepthAllowed(true, 1, ui));
    EXPECT_EQ(ui.lastMessage(), "Set 24-bit colors for tubular graphics");
    EXPECT_EQ(ui.messages.size(), 2u);
}

namespace {

// The widest run of the colour along the middle row and the middle column, where the circle
// crosses them: one or two pixels for a drawn line, four for a line stretched four times.
int thickestCrossing(const QImage& image, QRgb colour) {
    int widest = 0, run = 0;
    for (int x = 0; x < image.width(); ++x) {
        run = image.pixel(x, image.height() / 2) == colour ? run + 1 : 0;
        widest = std::max(widest, run);
    }
    for (int y = 0; y < image.height(); ++y) {
        run = image.pixel(image.width() / 2, y) == colour ? run + 1 : 0;
        widest = std::max(widest, run);
    }
    return widest;
}

} // namespace

TEST(RescaledImage, ReplotsAboutSTimesLargerWithOnePixelLinesAndRestores) {
    // One circle: x = cos t, y = sin t, drawn with one curve.
    GraphFixture f(
        ProblemPanes{{}, {"x = 1", "y = 0", "t = 0"}, {}, {"x' = -y", "y' = x", "t' = 1"}});
    f.state.Curves.Curves.clear();
    f.state.Curves.append(f.graph->Names, 0, 1, 0);
    f.integrate("40");
    const QImage screen = f.adjusted(300, 300).copy();
    const QImage big = rescaledImage(*f.model, *f.graph, f.ui, 4);
    EXPECT_NEAR(big.width(), 4 * screen.width(), 4);
    EXPECT_NEAR(big.height(), 4 * screen.height(), 4);
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_LE(thickestCrossing(screen, black), 2);
    EXPECT_GE(thickestCrossing(screen, black), 1);
    EXPECT_LE(thickestCrossing(big, black), 2);
    EXPECT_GE(thickestCrossing(big, black), 1);
    EXPECT_GT(countColour(big, black), 3 * countColour(screen, black));
    // The window's picture is back, as it was.
    EXPECT_EQ(f.model->Image, screen);
    EXPECT_EQ(f.model->AreaWidth, 300);
}

TEST(RescaledImage, NeedsStoredResults) {
    GraphFixture f(panesOfProblem("figure8.ode"), 0);
    EXPECT_FALSE(rescalingPossible(*f.model, f.ui));
    EXPECT_EQ(f.ui.lastMessage(), "Image is not persistent for resizing");
    GraphFixture g(panesOfProblem("figure8.ode"));
    EXPECT_TRUE(rescalingPossible(*g.model, g.ui));
}
