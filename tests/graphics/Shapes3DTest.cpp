// The moving solid bodies of the 3D view: Axes and Tetrahedron drawn from the first four curves on
// the window's copy, in both eyes' colours in stereo.
#include "Scene3DFixture.h"

#include <gtest/gtest.h>

namespace {

// A body turning about Z: vertex 1 at the origin, 2 and 3 on the unit circle, 4 on the Z axis.
ProblemPanes turningBody() {
    ProblemPanes panes;
    panes.Initial = {"t = 0",  "x1 = 0", "y1 = 0", "z1 = 0", "x2 = 1", "y2 = 0", "z2 = 0",
                     "x3 = 0", "y3 = 1", "z3 = 0", "x4 = 0", "y4 = 0", "z4 = 1"};
    panes.ODEs = {"t' = 1",    "x1' = 0",  "y1' = 0", "z1' = 0", "x2' = -y2", "y2' = x2", "z2' = 0",
                  "x3' = -y3", "y3' = x3", "z3' = 0", "x4' = 0", "y4' = 0",   "z4' = 0"};
    return panes;
}

struct Body : GraphFixture {
    Body() : GraphFixture(turningBody()) {
        state.Curves.ThreeD = true;
        generateCurves(state.Curves, graph->Names, ui);
        integrate("20");
        model->HasScreen = true;
        model->PlayDuration = 0;
        model->AreaWidth = model->AreaHeight = 400;
    }
    // The pixel of a stored variable triple at the last point, for one eye.
    Pixel lastPixel(int vertex, bool leftEye) {
        const std::int32_t slot = state.StepIndex % state.Results.Length;
        const Curve& c = state.Curves.Curves[static_cast<std::size_t>(vertex)];
        ProjectedPoint p =
            model->View.rotated(state.Results.at(slot, c.X)[0], state.Results.at(slot, c.Y)[0],
                                state.Results.at(slot, c.Z)[0]);
        model->View.project(p);
        return model->World.toPixel(leftEye ? p.LeftX : p.RightX, p.ScreenY);
    }
    // The colour bits around the middle of the edge between two vertices on the screen copy
    // (OR for stereo, AND for black on white), within a pixel of the rasterised line.
    QRgb edgeMiddle(int from, int to, bool leftEye, bool stereo) {
        const Pixel a = lastPixel(from, leftEye), b = lastPixel(to, leftEye);
        QRgb bits = stereo ? 0 : 0xFFFFFF;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QRgb p = model->Screen.pixel((a.x + b.x) / 2 + dx, (a.y + b.y) / 2 + dy);
                bits = stereo ? bits | (p & 0xFFFFFF) : bits & p;
            }
        return bits;
    }
};

} // namespace

TEST(Shapes3D, AxesJoinTheFirstVertexToTheOthersInBothEyes) {
    Body f;
    ASSERT_EQ(f.state.Curves.count(), 4);
    f.model->Feature = PlotFeature::Axes;
    ASSERT_TRUE(applyBounds(*f.model, *f.graph, f.ui, {"-2", "2", "-2", "2", "-2", "2"},
                            [](const std::string& text) { return parseTrimmedNumber(text); }));
    // Shapes live on the window's copy while curves are drawn: a few more steps draw them.
    graphMore(*f.model, *f.graph, f.ui, "5");
    for (int vertex = 1; vertex < 4; ++vertex) {
        EXPECT_NE(f.edgeMiddle(0, vertex, false, true) & 0x0000FF, 0u) << vertex; // right eye
        EXPECT_NE(f.edgeMiddle(0, vertex, true, true) & 0xFF0000, 0u) << vertex;  // left eye
    }
    // The body's curves draw no trails on the lasting picture.
    const Pixel a = f.lastPixel(0, false), b = f.lastPixel(1, false);
    EXPECT_EQ(f.model->Image.pixel((a.x + b.x) / 2, (a.y + b.y) / 2), qRgb(0, 0, 0));
}

TEST(Shapes3D, TheTetrahedronAlsoClosesTheFarFaceInTheAxonometricPicture) {
    Body f;
    f.model->Feature = PlotFeature::Tetrahedron;
    f.model->Scene.Mode = ViewMode::RightEye;
    ASSERT_TRUE(applyBounds(*f.model, *f.graph, f.ui, {"-2", "2", "-2", "2", "-2", "2"},
                            [](const std::string& text) { return parseTrimmedNumber(text); }));
    graphMore(*f.model, *f.graph, f.ui, "5");
    auto middle = [&](int from, int to) { return f.edgeMiddle(from, to, false, false); };
    EXPECT_EQ(middle(0, 1), 0u); // black edges on white
    EXPECT_EQ(middle(1, 2), 0u);
    EXPECT_EQ(middle(2, 3), 0u);
    EXPECT_EQ(middle(3, 1), 0u);
}
