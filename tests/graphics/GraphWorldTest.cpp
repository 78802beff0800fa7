// The world rectangle: aspect limit, Apply's parsing and messages, zoom, layout and mapping.
#include "graphics/GraphWorld.h"
#include "common/NumberText.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace {

std::optional<Extended> readNumber(const std::string& text) {
    if (text == "pi")
        return 3.14159265358979323846L;
    return parseTrimmedNumber(text);
}

} // namespace

TEST(AspectLimiter, KeepsTheRatioBetweenAThirdAndTwoAboutTheCentre) {
    Bounds wide{0, 10, 0, 1};
    limitAspect(wide);
    EXPECT_DOUBLE_EQ(wide.Xmax - wide.Xmin, 10);
    EXPECT_DOUBLE_EQ(static_cast<double>(wide.Ymax - wide.Ymin), 10.0 / 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(wide.Ymin + wide.Ymax), 1);

    Bounds tall{0, 1, 0, 10};
    limitAspect(tall);
    EXPECT_DOUBLE_EQ(tall.Xmax - tall.Xmin, 5);
    EXPECT_DOUBLE_EQ(tall.Xmin, -2);
    EXPECT_DOUBLE_EQ(tall.Ymax - tall.Ymin, 10);

    Bounds fine{0, 2, 0, 3};
    limitAspect(fine);
    EXPECT_EQ(fine.Xmax, 2);
    EXPECT_EQ(fine.Ymax, 3);
}

TEST(BoundEdits, ShowFourDigitsAndHintEighteenWithTidyExponents) {
    EXPECT_EQ(boundEditText(0.1L), "0.1");
    EXPECT_EQ(boundEditText(123456), "1.235e5");
    EXPECT_EQ(boundEditText(-1.5e-7L), "-1.5e-7");
    EXPECT_EQ(boundEditText(2e100L), "2e100");
    EXPECT_EQ(boundHintText(0.1L), "0.1");
    EXPECT_EQ(boundHintText(1.0L / 3), "0.333333333333333333");
    EXPECT_EQ(boundHintText(-1e-20L / 3), "-3.33333333333333333e-21");
    EXPECT_EQ(tidyExponent("1E+05"), "1e5");
    EXPECT_EQ(tidyExponent("1E0005"), "1e5");
    EXPECT_EQ(tidyExponent("Heuristic conv. radius: 2.5e-07"), "Heuristic conv. radius: 2.5e-7");
}

TEST(ApplyParsing, RefusesBadTextsAndEmptyRangesWithTheMessages) {
    FakeUi ui;
    GraphWorld world;
    EXPECT_FALSE(world.parse({"0", "abc", "0", "1", "0", "1"}, false, readNumber, ui));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"\" abc \" is not a valid value", "Wrong bounderies"}));
    ui.messages.clear();
    EXPECT_FALSE(world.parse({"0", "1", "2", "2", "0", "1"}, false, readNumber, ui));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"2 >= 2", "Wrong bounderies"}));
    EXPECT_FALSE(world.BoundsValid);
    EXPECT_EQ(world.Current.Ymax, 1); // the previous world stays

    ui.messages.clear();
    // The Z pair is read only in 3D.
    EXPECT_TRUE(world.parse({"0", "pi", "0", "2", "x", "y"}, false, readNumber, ui));
    EXPECT_FALSE(world.parse({"0", "pi", "0", "2", "1", "0"}, true, readNumber, ui));
    EXPECT_EQ(ui.messages.front(), "1 >= 0");
}

TEST(Zoom, ReadsNinetyOnePercentAfterAdjustAndOutThenInRestores) {
    GraphWorld world;
    world.Current = {-1, 3, 0, 2};
    world.commit(false);
    EXPECT_TRUE(world.BoundsValid);
    EXPECT_EQ(world.zoomText(), "100%");
    const Bounds before = world.Current;
    world.zoomBy(1.25L, false);
    EXPECT_EQ(world.zoomText(), "80%");
    EXPECT_DOUBLE_EQ(world.Current.Xmin, -1.5);
    EXPECT_DOUBLE_EQ(world.Left, -1.5);
    world.zoomBy(0.8L, false);
    EXPECT_NEAR(world.Current.Xmin, before.Xmin, 1e-18);
    EXPECT_NEAR(world.Current.Ymax, before.Ymax, 1e-18);
    world.commit(false);
    world.zoomBy(1.1L, false);
    EXPECT_EQ(world.zoomText(), "91%");
}

TEST(Layout, FitsTheWorldIntoTheAreaAndMapsWithTiesToEven) {
    GraphWorld world;
    world.Current = {0, 4, 0, 2};
    world.commit(false);
    EXPECT_FALSE(world.layout(0, 100));
    EXPECT_FALSE(world.LayoutValid);
    ASSERT_TRUE(world.layout(400, 400));
    EXPECT_EQ(world.ImageWidth, 400);
    EXPECT_EQ(world.ImageHeight, 200);
    EXPECT_DOUBLE_EQ(world.PixelSize, 0.01);
    world.CurveDensity = 2;
    world.layout(100, 400);
    EXPECT_EQ(world.ImageWidth, 100);
    EXPECT_EQ(world.ImageHeight, 50);
    EXPECT_DOUBLE_EQ(world.DensityStep, 0.08);
    EXPECT_EQ(world.toPixel(0.02L, 2), (Pixel{0, 0}));  // 0.5 rounds to 0
    EXPECT_EQ(world.toPixel(0.06L, 0), (Pixel{2, 50})); // 1.5 rounds to 2
    EXPECT_EQ(world.toPixel(4, 1), (Pixel{100, 25}));
    const WorldPoint back = world.toWorld(50, 10);
    EXPECT_DOUBLE_EQ(back.x, 2);
    EXPECT_DOUBLE_EQ(back.y, 1.6);
}

TEST(AxisSwap, ExchangesBoundsAndCentres) {
    GraphWorld world;
    world.Current = {0, 4, 10, 12};
    world.commit(false);
    world.swapAxes(0, 1);
    EXPECT_EQ(world.Current.Xmin, 10);
    EXPECT_EQ(world.Saved.Ymax, 4);
    EXPECT_EQ(world.Xc, 11);
    EXPECT_EQ(world.Left, 10);
}
