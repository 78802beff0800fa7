// 3D pictures read pixel by pixel: the anaglyph pair, tubes, the frame and the 3D cursor.
#include "Scene3DFixture.h"

#include <gtest/gtest.h>

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Magenta = qRgb(255, 0, 255);

// A line at y = 0, z = 0 across the box [0, 10] x [-5, 5] x [-5, 5]: its depth lies in front of
// the screen plane, so the eyes see it shifted against each other.
struct LineScene : Scene3DFixture {
    explicit LineScene(const std::string& z = "0")
        : Scene3DFixture(straightLine("0", z), "x", "y", "z") {
        integrate("40");
    }
    bool draw() { return apply({"0", "10", "-5", "5", "-5", "5"}); }
    int lineRow() const { return model->World.toPixel(0, 0).y; }
    // The first and last column of each colour on the line's row.
    std::pair<int, int> columns(QRgb colour) const {
        int first = -1, last = -1;
        for (int x = 0; x < model->Image.width(); ++x)
            if (model->Image.pixel(x, lineRow()) == colour) {
                first = first < 0 ? x : first;
                last = x;
            }
        return {first, last};
    }
};

} // namespace

TEST(StereoPicture, EyesApartArePureRedAndBlueAndOverlapIsMagenta) {
    LineScene f;
    ASSERT_TRUE(f.draw());
    ASSERT_FALSE(f.model->View.Failed);
    const auto [blueFirst, blueLast] = f.columns(Blue);
    const auto [redFirst, redLast] = f.columns(Red);
    const auto [magentaFirst, magentaLast] = f.columns(Magenta);
    ASSERT_GE(blueFirst, 0);
    ASSERT_GE(redFirst, 0);
    ASSERT_GE(magentaFirst, 0);
    // Crossed parallax: the right eye's (blue) image lies left of the left eye's (red) one.
    EXPECT_LT(blueLast, magentaFirst);
    EXPECT_GT(redFirst, magentaLast);
    // The shift is 2 a E / (a + S) with a = -5 units, in pixels.
    const View3D& v = f.model->View;
    const Extended a = v.Dmax + v.F - v.S;
    const double shift = static_cast<double>(2 * -a * v.E / (a + v.S) * f.model->World.ImageWidth /
                                             f.model->World.width());
    EXPECT_NEAR(blueLast - blueFirst + 1, shift, 1.5);
    // The background is black and nothing else is drawn on the line's row.
    EXPECT_EQ(f.model->Image.pixel(0, f.model->Image.height() - 1), Black);
    for (int x = 0; x < f.model->Image.width(); ++x) {
        const QRgb p = f.model->Image.pixel(x, f.lineRow());
        EXPECT_TRUE(p == Black || p == Red || p == Blue || p == Magenta) << x;
    }
}

TEST(StereoPicture, AxonometricDrawsOneEyeInTheCurveColourOnWhite) {
    LineScene f;
    f.model->Scene.Mode = ViewMode::LeftEye;
    ASSERT_TRUE(f.draw());
    EXPECT_EQ(f.model->Image.pixel(0, f.model->Image.height() - 1), qRgb(255, 255, 255));
    const auto [first, last] = f.columns(Black);
    ASSERT_GE(first, 0);
    // The left eye sees the start of the line where its own projection puts it.
    ProjectedPoint start{0, 0, 0};
    f.model->View.project(start);
    EXPECT_NEAR(first, f.model->World.toPixel(start.LeftX, 0).x, 1);
    EXPECT_EQ(f.columns(Red).first, -1);
}

TEST(StereoPicture, CageAndAxesAreDrawnInBothEyesColours) {
    LineScene f;
    f.model->Scene.Cage = true;
    ASSERT_TRUE(f.draw());
    int red = 0, blue = 0;
    for (int y = 0; y < f.model->Image.height(); ++y)
        for (int x = 0; x < f.model->Image.width(); ++x) {
            red += f.model->Image.pixel(x, y) == Red;
            blue += f.model->Image.pixel(x, y) == Blue;
        }
    f.model->Scene.Cage = false;
    f.model->replotAll(false);
    int redWithout = countColour(f.model->Image, Red);
    EXPECT_GT(red, redWithout + 200); // twelve dotted edges per eye
    EXPECT_GT(blue, countColour(f.model->Image, Blue) + 200);
    // The front face's corners lie where the frame was taken from.
    f.model->Scene.Cage = true;
    f.model->replotAll(false);
    const ProjectedPoint& corner = f.model->View.Cage[7]; // X, Y, Z max, right eye
    const Pixel p = f.model->World.toPixel(corner.RightX, corner.ScreenY);
    EXPECT_NE(f.model->Image.pixel(std::min(p.x, f.model->Image.width() - 1), p.y) & 0xFF, 0u);
}

TEST(TubePicture, AStraightSegmentShadesFromItsAxisToItsRim) {
    LineScene f;
    f.model->BulletRadius = 2;
    applySceneRequest(*f.model, {ViewMode::RightEye, true, false, {0, 0, 0}});
    EXPECT_EQ(f.model->BulletRadius, 5);
    EXPECT_FALSE(f.model->ShowBullets);
    ASSERT_TRUE(f.draw());
    const int row = f.lineRow();
    const int column = f.model->Image.width() / 2;
    const QImage& image = f.model->Image;
    // The tube palette starts with red; the axis is brightest, then it darkens to the rim.
    int previous = 256;
    for (int dy = 0; dy < 5; ++dy) {
        const QRgb below = image.pixel(column, row + dy), above = image.pixel(column, row - dy);
        EXPECT_EQ(qGreen(below), 0);
        EXPECT_EQ(qBlue(below), 0);
        EXPECT_LT(qRed(below), previous) << dy;
        EXPECT_EQ(qRed(below), qRed(above)) << dy;
        previous = qRed(below);
    }
    EXPECT_EQ(image.pixel(column, row + 5), qRgb(255, 255, 255));
    // z = 0 in the box -5..5: darkening 0.75.
    EXPECT_EQ(qRed(image.pixel(column, row)), 191);
}

TEST(StereoTubePicture, EachEyeWritesItsOwnChannel) {
    LineScene f;
    applySceneRequest(*f.model, {ViewMode::Stereo, true, false, {0, 0, 0}});
    ASSERT_TRUE(f.draw());
    const QImage& image = f.model->Image;
    const int row = f.lineRow();
    const QRgb both = qRgb(191, 0, 191); // z = 0 in the box -5..5: darkening 0.75
    const int middle = (f.columns(both).first + f.columns(both).second) / 2;
    ASSERT_GT(middle, 0);
    // One side of the axis is full bright in both channels; the other fades, green stays 0.
    EXPECT_EQ(image.pixel(middle, row - 2), both);
    EXPECT_LT(qRed(image.pixel(middle, row + 3)), 191);
    EXPECT_EQ(qGreen(image.pixel(middle, row + 3)), 0);
}

TEST(Cursor3D, TouchesOnlyWhenBothEyesLieOnTheCurve) {
    LineScene f;
    f.model->HasScreen = true;
    ASSERT_TRUE(f.draw());
    GraphModel& m = *f.model;
    // The cursor at the line's depth, over a point of the line: each eye's cross is on its image.
    m.View.Cursor.z = 0;
    const Pixel onLine = m.World.toPixel(5, 0);
    const CursorMove hit = moveCursor3D(m, onLine.x, onLine.y);
    EXPECT_TRUE(hit.Touches);
    EXPECT_EQ(cursorCaption("lines", "t", "increases", hit),
              "lines,  independent variable t increases,  (" +
                  formatText("%.6g", static_cast<double>(hit.x)) + ", " +
                  formatText("%.6g", static_cast<double>(hit.y)) + ", 0)");
    // A curve seen by the right eye only: the left eye's colour is taken out of the picture.
    for (int y = 0; y < m.Image.height(); ++y)
        for (int x = 0; x < m.Image.width(); ++x)
            m.Image.setPixel(x, y, m.Image.pixel(x, y) & ~Red);
    m.copyImageToScreen();
    EXPECT_FALSE(moveCursor3D(m, onLine.x, onLine.y).Touches);
    m.replotAll(false);
    // Above the line neither eye touches; the crosses are restored from the picture.
    m.View.Cursor.z = 0;
    EXPECT_FALSE(moveCursor3D(m, onLine.x, onLine.y - 20).Touches);
    moveCursor3D(m, onLine.x, onLine.y - 40);
    EXPECT_EQ(m.Screen.pixel(onLine.x, onLine.y - 20), m.Image.pixel(onLine.x, onLine.y - 20));
}
