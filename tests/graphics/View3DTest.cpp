// The 3D view's geometry and commands: rotation, both eyes' projection, framing, turning, the 3D
// form's cells and the projection failure.
#include "Scene3DFixture.h"

#include "graphics/GraphMenus.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr Extended Degree = std::numbers::pi_v<Extended> / 180;

// M applied to a vector (no centre).
std::array<Extended, 3> apply(const Matrix3& m, std::array<Extended, 3> v) {
    std::array<Extended, 3> r{};
    for (std::size_t i = 0; i < 3; ++i)
        r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return r;
}

void expectVector(std::array<Extended, 3> got, std::array<Extended, 3> want) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(static_cast<double>(got[i]), static_cast<double>(want[i]), 1e-15) << i;
}

// A view of the box [0, 10]^3 set up as Apply sets it.
View3D boxView(Extended alpha = 0, Extended beta = 0, Extended gamma = 0) {
    GraphWorld world;
    world.Current = {0, 10, 0, 10, 0, 10};
    world.commit(true);
    View3D view;
    view.Params.Alpha = alpha;
    view.Params.Beta = beta;
    view.Params.Gamma = gamma;
    view.rebuildMatrix();
    view.setup(world);
    return view;
}

const BoundTexts LorenzBox{"-25", "25", "-30", "30", "0", "50"};

struct Lorenz3D : Scene3DFixture {
    Lorenz3D() : Scene3DFixture(panesOfProblem("lorenz.ode"), "x", "y", "z") { integrate("300"); }
};

} // namespace

TEST(Rotation, QuarterTurnsAboutEachAxisAndTheirOrder) {
    expectVector(apply(rotationMatrix(90 * Degree, 0, 0), {0, 1, 0}), {0, 0, -1});
    expectVector(apply(rotationMatrix(90 * Degree, 0, 0), {0, 0, 1}), {0, 1, 0});
    expectVector(apply(rotationMatrix(0, 90 * Degree, 0), {1, 0, 0}), {0, 0, 1});
    expectVector(apply(rotationMatrix(0, 0, 90 * Degree), {1, 0, 0}), {0, -1, 0});
    // M = Rx Ry Rz: the Y turn acts before the X turn (the other order gives (0, 0, 1)).
    expectVector(apply(rotationMatrix(90 * Degree, 90 * Degree, 0), {1, 0, 0}), {0, 1, 0});
    // 30 degrees about X: cos and sin of 30 degrees.
    expectVector(apply(rotationMatrix(30 * Degree, 0, 0), {0, 1, 0}),
                 {0, std::sqrt(3.0L) / 2, -0.5L});
    // A turn keeps lengths: M is orthogonal for any angles.
    const Matrix3 m = rotationMatrix(0.3L, -1.1L, 2.5L);
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) {
            Extended dot = 0;
            for (std::size_t k = 0; k < 3; ++k)
                dot += m[i][k] * m[j][k];
            EXPECT_NEAR(static_cast<double>(dot), i == j ? 1.0 : 0.0, 1e-15);
        }
}

TEST(Rotation, TurnsAboutTheBoxCentre) {
    View3D view = boxView(0, 0, 90 * Degree);
    const ProjectedPoint centre = view.rotated(5, 5, 5);
    EXPECT_NEAR(static_cast<double>(centre.x), 5, 1e-15);
    const ProjectedPoint p =
        view.rotated(10, 5, 5); // (5, 0, 0) from the centre turns to (0, -5, 0)
    EXPECT_NEAR(static_cast<double>(p.x), 5, 1e-15);
    EXPECT_NEAR(static_cast<double>(p.y), 0, 1e-15);
    EXPECT_NEAR(static_cast<double>(p.z), 5, 1e-15);
}

TEST(Projection, DistancesInWorldUnitsAndTheScreenPlane) {
    View3D view = boxView();
    // 10 world units on 30 cm: k = 1/3; E = 3.5 k, S = 100 k, F = 70 k.
    EXPECT_NEAR(static_cast<double>(view.K), 1.0 / 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(view.E), 3.5 / 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(view.S), 100.0 / 3, 1e-14);
    EXPECT_NEAR(static_cast<double>(view.F), 70.0 / 3, 1e-14);
    EXPECT_EQ(view.Dmin, 0);
    EXPECT_EQ(view.Dmax, 10);
    EXPECT_NEAR(static_cast<double>(view.ZStep), 0.1, 1e-15);
    // The screen plane lies S - F = 10 units behind the front: at z = 0 the centre line shows
    // at (Xc, Yc) in both eyes.
    ProjectedPoint onScreen{5, 5, 0};
    ASSERT_TRUE(view.project(onScreen));
    EXPECT_NEAR(static_cast<double>(onScreen.RightX), 5, 1e-15);
    EXPECT_NEAR(static_cast<double>(onScreen.LeftX), 5, 1e-15);
    EXPECT_NEAR(static_cast<double>(onScreen.ScreenY), 5, 1e-15);
    // Behind the screen: uncrossed, the right eye sees the point to the right.
    ProjectedPoint behind{5, 5, -5};
    ASSERT_TRUE(view.project(behind));
    EXPECT_GT(behind.RightX, behind.LeftX);
}

TEST(Projection, APointInFrontOfTheScreenHasCrossedParallax) {
    View3D view = boxView();
    ProjectedPoint front{8, 2, 10}; // a = (10 - 10) + F - S < 0
    ASSERT_TRUE(view.project(front));
    EXPECT_LT(front.RightX, front.LeftX);
    // a = -10, a + S = 70/3: x scales by S / (a + S) = 10/7 about the centre, eyes by a E / (a +
    // S).
    const double spread = -10 * (3.5 / 3) / (70.0 / 3);
    EXPECT_NEAR(static_cast<double>(front.RightX), 3 * 10.0 / 7 + spread + 5, 1e-14);
    EXPECT_NEAR(static_cast<double>(front.LeftX), 3 * 10.0 / 7 - spread + 5, 1e-14);
    EXPECT_NEAR(static_cast<double>(front.ScreenY), -3 * 10.0 / 7 + 5, 1e-14);
}

TEST(Projection, TheFrameIsTheProjectedFrontFace) {
    GraphWorld world;
    world.Current = {0, 10, 0, 10, 0, 10};
    world.commit(true);
    View3D view;
    view.setup(world);
    // The front face at z = 10 scales by 10/7; the eyes spread it by 0.5 on each side.
    EXPECT_NEAR(static_cast<double>(world.Left), 5 - 50.0 / 7 - 0.5, 1e-14);
    EXPECT_NEAR(static_cast<double>(world.Right), 5 + 50.0 / 7 + 0.5, 1e-14);
    EXPECT_NEAR(static_cast<double>(world.Bottom), 5 - 50.0 / 7, 1e-14);
    EXPECT_NEAR(static_cast<double>(world.Top), 5 + 50.0 / 7, 1e-14);
    // Zoom scales the frame about the centre.
    world.zoomBy(2, true);
    view.setup(world);
    EXPECT_NEAR(static_cast<double>(world.Right), 5 + 2 * (50.0 / 7 + 0.5), 1e-13);
}

TEST(Projection, APointInFrontOfTheEyesFailsWithTheDenominatorMessage) {
    Scene3DFixture f(straightLine("0", "100"), "x", "y", "z");
    f.integrate("20");
    // The box is 10 deep and 70/3 from the eyes; z = 100 lies behind the eyes.
    f.apply({"0", "10", "-5", "5", "-5", "5"});
    EXPECT_TRUE(f.model->View.Failed);
    EXPECT_EQ(f.ui.lastMessage(), "3D: The denominator <= 0");
}

TEST(Turning, AnchoredKeepsTheFrameAndMovingRefitsIt) {
    Lorenz3D f;
    ASSERT_TRUE(f.apply(LorenzBox));
    const GraphWorld before = f.model->World;
    f.model->Scene.Anchored = true;
    turnByTrackBar(*f.model, *f.graph, f.ui, TurnAxis::Horizontal, 40);
    EXPECT_EQ(f.model->World.Left, before.Left);
    EXPECT_EQ(f.model->World.Top, before.Top);
    EXPECT_EQ(f.model->Image.size(), QSize(before.ImageWidth, before.ImageHeight));
    // The cage followed the turn.
    EXPECT_NEAR(static_cast<double>(f.model->View.Params.Beta), -40 * 3.14159265358979 / 180,
                1e-12);
    const Extended anchoredDmax = f.model->View.Dmax;
    EXPECT_GT(anchoredDmax, 50); // the turned box reaches nearer than Zmax

    f.model->Scene.Anchored = false;
    redoView(*f.model, *f.graph, f.ui);
    GraphWorld expected = before;
    View3D fresh = f.model->View;
    fresh.setup(expected);
    EXPECT_NE(f.model->World.Left, before.Left);
    EXPECT_EQ(f.model->World.Left, expected.Left);
    EXPECT_EQ(f.model->World.Top, expected.Top);
}

TEST(Turning, TheTrackBarAtThirtyStoresMinusThirtyDegreesAndTheFormShowsIt) {
    Lorenz3D f;
    ASSERT_TRUE(f.apply(LorenzBox));
    turnByTrackBar(*f.model, *f.graph, f.ui, TurnAxis::Vertical, 30);
    EXPECT_NEAR(static_cast<double>(f.model->View.Params.Alpha), -30 * 3.14159265358979 / 180,
                1e-12);
    const ViewCells cells = viewCells(f.model->View.Params);
    EXPECT_EQ(cells[4], "-30");
    EXPECT_EQ(cells[5], "0");
    EXPECT_EQ(cells[0], "7"); // the eyes' distance, twice the half distance
    EXPECT_EQ(trackBarPosition(f.model->View.Params.Alpha), 30);
    EXPECT_EQ(trackBarPosition(-120 * Degree), 90);
    EXPECT_EQ(trackBarPosition(200 * Degree), -90);
}

TEST(ViewForm, ChecksTheDistancesAndStoresTheCellsOnClose) {
    Lorenz3D f;
    ASSERT_TRUE(f.apply(LorenzBox));
    ViewCells cells = viewCells(f.model->View.Params);
    cells[3] = "40"; // CD below CS / 2
    EXPECT_EQ(applyViewCells(*f.model, *f.graph, f.ui, cells), ViewCellsEnd::StayOpen);
    EXPECT_EQ(f.ui.lastMessage(), "It must be that ½ CS < CD < CS");
    cells[3] = "101";
    EXPECT_EQ(applyViewCells(*f.model, *f.graph, f.ui, cells), ViewCellsEnd::StayOpen);
    EXPECT_EQ(f.model->View.Params.EyesToFront, 70);

    cells = {"6", "40", "120", "80", "10", "-20", "5"};
    EXPECT_EQ(applyViewCells(*f.model, *f.graph, f.ui, cells), ViewCellsEnd::Applied);
    const ViewParams& p = f.model->View.Params;
    EXPECT_EQ(p.HalfEyeDistance, 3);
    EXPECT_EQ(p.ScreenWidth, 40);
    EXPECT_EQ(p.EyesToFront, 80);
    EXPECT_NEAR(static_cast<double>(p.Beta), -20 * 3.14159265358979 / 180, 1e-12);
    EXPECT_EQ(trackBarPosition(p.Beta), 20);
    EXPECT_EQ(trackBarPosition(p.Alpha), -10);
    EXPECT_NEAR(static_cast<double>(f.model->View.K), 50.0 / 40, 1e-15);
}

TEST(ViewForm, AnUnreadableCellAsksAndKeepsTheCellsBeforeIt) {
    Lorenz3D f;
    ASSERT_TRUE(f.apply(LorenzBox));
    const ViewCells cells{"8", "20", "abc", "70", "0", "0", "0"};
    f.ui.confirmAnswers = {false};
    EXPECT_EQ(applyViewCells(*f.model, *f.graph, f.ui, cells), ViewCellsEnd::StayOpen);
    EXPECT_EQ(f.ui.lastMessage(), "Wrong data: close any way?");
    EXPECT_EQ(f.model->View.Params.ScreenWidth, 30);
    f.ui.confirmAnswers = {true};
    EXPECT_EQ(applyViewCells(*f.model, *f.graph, f.ui, cells), ViewCellsEnd::ClosedAnyway);
    EXPECT_EQ(f.model->View.Params.HalfEyeDistance, 4);
    EXPECT_EQ(f.model->View.Params.ScreenWidth, 20);
    EXPECT_EQ(f.model->View.Params.EyesToScreen, 100);

    GraphFixture plane(panesOfProblem("lorenz.ode"));
    EXPECT_EQ(applyViewCells(*plane.model, *plane.graph, plane.ui, cells), ViewCellsEnd::NotIn3D);
}

TEST(ViewForm, ZStopsComeFromTheInputBoxAndSetTheWheelStep) {
    View3D view = boxView();
    FakeUi ui;
    ui.inputAnswers = {"50", "x", "-3"};
    askZStops(view.Params, ui);
    EXPECT_EQ(ui.inputPrompts.back(),
              "Number of mouse Z-stops|Number of mouse stops within Zmin..Zmax|100");
    EXPECT_EQ(view.Params.ZStops, 50);
    askZStops(view.Params, ui);
    askZStops(view.Params, ui);
    EXPECT_EQ(view.Params.ZStops, 50);
    GraphWorld world;
    world.Current = {0, 10, 0, 10, 0, 10};
    world.commit(true);
    view.setup(world);
    EXPECT_NEAR(static_cast<double>(view.ZStep), 0.2, 1e-15);
    // The wheel stops one step beyond the box either way.
    view.Cursor.z = 9.9L;
    view.moveCursorDepth(true);
    view.moveCursorDepth(true);
    view.moveCursorDepth(true);
    EXPECT_NEAR(static_cast<double>(view.Cursor.z), 10.2, 1e-15);
    view.Cursor.z = 0;
    view.moveCursorDepth(false);
    view.moveCursorDepth(false);
    EXPECT_NEAR(static_cast<double>(view.Cursor.z), -0.2, 1e-15);
}

TEST(AxisSwaps, XAndZInThreeDSwapComponentsAndBounds) {
    Lorenz3D f;
    ASSERT_TRUE(f.apply(LorenzBox));
    swapGraphAxes(*f.model, f.graph->Names, 0, 2);
    EXPECT_EQ(f.state.Curves.Curves[0].Caption, "{z, y, x}");
    EXPECT_EQ(f.model->World.Saved.Xmin, 0);
    EXPECT_EQ(f.model->World.Saved.Zmax, 25);
}
