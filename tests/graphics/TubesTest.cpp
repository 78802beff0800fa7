// Tube discs: the depth test, the shading across the tube and the darkening with depth.
#include "graphics/Tubes.h"

#include <gtest/gtest.h>

namespace {

struct Canvas {
    QImage image{40, 40, QImage::Format_RGB32};
    DepthBuffers depths;
    Canvas() {
        image.fill(Qt::white);
        depths.resize(40, 40);
    }
};

const TubeShading Shading{0, 10, 0, 10, true};

} // namespace

TEST(TubeShading, DarkeningStaysBetweenHalfAndOneAndDepthIsSixteenBits) {
    EXPECT_DOUBLE_EQ(Shading.factor(0), 0.5);
    EXPECT_DOUBLE_EQ(Shading.factor(10), 1);
    EXPECT_DOUBLE_EQ(Shading.factor(5), 0.75);
    // Outside Zmin..Zmax, as a turned box reaches: still within 0.5..1.
    EXPECT_DOUBLE_EQ(Shading.factor(-7), 0.5);
    EXPECT_DOUBLE_EQ(Shading.factor(14), 1);
    EXPECT_DOUBLE_EQ((TubeShading{0, 10, 0, 10, false}.factor(0)), 1);
    EXPECT_EQ(Shading.depth(0), 1); // nearer than an empty buffer
    EXPECT_EQ(Shading.depth(10), 65535);
    EXPECT_EQ(Shading.depth(5), 32768);
    EXPECT_EQ(Shading.depth(-3), 1);
    EXPECT_EQ(Shading.depth(30), 65535);
}

TEST(TubeDiscs, TheNearerDiscHidesTheFartherWhateverTheOrder) {
    const TubeDisc near{20, 20, 9, 0, 0}, far{24, 20, 2, 0, 0};
    for (bool nearFirst : {true, false}) {
        Canvas c;
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
        if (nearFirst) {
            paintTubeDisc(c.image, c.depths.eye(0), near, 6, red, Shading);
            paintTubeDisc(c.image, c.depths.eye(0), far, 6, blue, Shading);
        } else {
            paintTubeDisc(c.image, c.depths.eye(0), far, 6, blue, Shading);
            paintTubeDisc(c.image, c.depths.eye(0), near, 6, red, Shading);
        }
        // Between the centres both discs cover the pixel; the near one shows.
        const QRgb between = c.image.pixel(22, 20);
        EXPECT_GT(qRed(between), 0) << nearFirst;
        EXPECT_EQ(qBlue(between), 0) << nearFirst;
        // Only the far disc reaches x = 28.
        EXPECT_GT(qBlue(c.image.pixel(28, 20)), 0);
        EXPECT_EQ(c.depths.eye(0).Depth[20 * 40 + 22], Shading.depth(9));
        EXPECT_EQ(c.depths.eye(1).Depth[20 * 40 + 22], 0); // the other eye's buffer is untouched
    }
}

TEST(TubeDiscs, TheAxisIsBrighterThanTheRimAndTheDiscIsRound) {
    Canvas c;
    // A tube along x: the normal points along y.
    paintTubeDisc(c.image, c.depths.eye(0), {20, 20, 10, 0, 1}, 6, qRgb(200, 100, 0), Shading);
    EXPECT_EQ(c.image.pixel(20, 20), qRgb(200, 100, 0)); // f = 1, b = 1 on the axis
    EXPECT_EQ(c.image.pixel(25, 20), qRgb(200, 100, 0)); // along the axis too
    EXPECT_EQ(c.image.pixel(20, 23), qRgb(100, 50, 0));  // b = 1/2 halfway to the rim
    EXPECT_LT(qRed(c.image.pixel(20, 25)), qRed(c.image.pixel(20, 23)));
    EXPECT_EQ(c.image.pixel(20, 26), qRgb(255, 255, 255)); // round(6) is not < 6
    EXPECT_EQ(c.image.pixel(25, 25), qRgb(255, 255, 255)); // outside the circle
    // Farther discs are darker.
    Canvas dark;
    paintTubeDisc(dark.image, dark.depths.eye(0), {20, 20, 0, 0, 1}, 6, qRgb(200, 100, 0), Shading);
    EXPECT_EQ(dark.image.pixel(20, 20), qRgb(100, 50, 0));
}

TEST(TubeDiscs, StereoWritesOnlyTheEyeChannelFullBrightOnOneSide) {
    Canvas c;
    c.image.fill(Qt::black);
    const TubeDisc disc{20, 20, 10, 0, 1};
    paintStereoTubeDisc(c.image, c.depths.eye(0), disc, 6, true, Shading);
    paintStereoTubeDisc(c.image, c.depths.eye(1), disc, 6, false, Shading);
    EXPECT_EQ(c.image.pixel(20, 17), qRgb(255, 0, 255)); // offset < 0: full bright
    EXPECT_EQ(c.image.pixel(20, 20), qRgb(255, 0, 255));
    EXPECT_EQ(c.image.pixel(20, 23), qRgb(128, 0, 128)); // round(255 * 1/2)
    // Half as deep: f = 0.75, round(191.25) = 191 for the bright side.
    Canvas half;
    half.image.fill(Qt::black);
    paintStereoTubeDisc(half.image, half.depths.eye(0), {20, 20, 5, 0, 1}, 6, true, Shading);
    EXPECT_EQ(half.image.pixel(20, 18), qRgb(191, 0, 0));
}

TEST(TubeDiscs, ADiscAtTheSameCentreThatIsNoNearerChangesNothing) {
    Canvas c;
    paintTubeDisc(c.image, c.depths.eye(0), {20, 20, 5, 0, 1}, 6, qRgb(200, 0, 0), Shading);
    const QImage first = c.image.copy();
    paintTubeDisc(c.image, c.depths.eye(0), {20, 20, 5, 1, 0}, 6, qRgb(0, 200, 0), Shading);
    EXPECT_EQ(c.image, first);
    // Nearer at the same centre: painted again.
    paintTubeDisc(c.image, c.depths.eye(0), {20, 20, 6, 1, 0}, 6, qRgb(0, 200, 0), Shading);
    EXPECT_GT(qGreen(c.image.pixel(20, 20)), 0);
    // After a clear the same disc paints again.
    c.depths.clear();
    c.image.fill(Qt::white);
    paintTubeDisc(c.image, c.depths.eye(0), {20, 20, 6, 1, 0}, 6, qRgb(0, 200, 0), Shading);
    EXPECT_GT(qGreen(c.image.pixel(20, 20)), 0);
}
