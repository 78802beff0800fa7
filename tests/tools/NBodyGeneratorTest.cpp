// The n-body generator: the exact pane lines, two-digit names, the circular speed, the refused
// counts, and a generated choreography integrated over one period.
#include "tools/NBodyGenerator.h"
#include "integrator/IntegrationRun.h"
#include "integrator/IntegratorFixture.h"
#include "support/FakeUi.h"
#include "tools/ExactConversion.h"
#include "workspace/ProblemDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

NBodyOptions options(int bodies, bool spatial, NBodyMotion motion) {
    NBodyOptions result;
    result.Bodies = bodies;
    result.Spatial = spatial;
    result.Motion = motion;
    return result;
}

} // namespace

TEST(NBodyGenerator, TwoBodiesPlanarEveryLine) {
    ProblemPanes panes = nBodyPanes(options(2, false, NBodyMotion::CircularChoreography));
    EXPECT_EQ(panes.Constants, (std::vector<std::string>{"neg1p5 = -1.5", "Vel = 0.5*1",
                                                         "Ang = 360/2", "m1 = 1", "m2 = 1"}));
    EXPECT_EQ(panes.Initial,
              (std::vector<std::string>{"t = 0", "x1 = cos(1*Ang)", "y1 = sin(1*Ang)",
                                        "x2 = cos(2*Ang)", "y2 = sin(2*Ang)",
                                        "vx1 = -sin(1*Ang)*Vel", "vy1 =  cos(1*Ang)*Vel",
                                        "vx2 = -sin(2*Ang)*Vel", "vy2 =  cos(2*Ang)*Vel"}));
    EXPECT_EQ(panes.Aux, (std::vector<std::string>{"dx12 = x1 - x2", "dy12 = y1 - y2",
                                                   "r12 = (dx12^2 + dy12^2)^neg1p5"}));
    EXPECT_EQ(panes.ODEs,
              (std::vector<std::string>{"t' = 1", "x1' = vx1", "y1' = vy1", "x2' = vx2",
                                        "y2' = vy2", "vx1' = - m2*dx12*r12", "vy1' = - m2*dy12*r12",
                                        "vx2' =   m1*dx12*r12", "vy2' =   m1*dy12*r12"}));
    EXPECT_EQ(nBodyPanes(options(2, false, NBodyMotion::Elliptic)).Constants[1], "Vel = 0.5*0.5");
}

TEST(NBodyGenerator, SpatialThreeBodiesAddZ) {
    ProblemPanes panes = nBodyPanes(options(3, true, NBodyMotion::Elliptic));
    EXPECT_TRUE(contains(panes.Initial, "z3 = 0"));
    EXPECT_TRUE(contains(panes.Initial, "vz1 = 0"));
    EXPECT_TRUE(contains(panes.Aux, "dz23 = z2 - z3"));
    EXPECT_TRUE(contains(panes.Aux, "r13 = (dx13^2 + dy13^2 + dz13^2)^neg1p5"));
    EXPECT_TRUE(contains(panes.ODEs, "z2' = vz2"));
    // Body 2 is pulled by 1 (below it) and 3 (above it).
    EXPECT_TRUE(contains(panes.ODEs, "vz2' =   m1*dz12*r12 - m3*dz23*r23"));
    EXPECT_EQ(panes.ODEs.size(), 1u + 9 + 9);
    EXPECT_EQ(panes.Aux.size(), 3u * 3 + 3);
}

TEST(NBodyGenerator, TenBodiesUseTwoDigitNames) {
    ProblemPanes panes = nBodyPanes(options(10, false, NBodyMotion::CircularChoreography));
    EXPECT_EQ(panes.Constants[2], "Ang = 360/10");
    EXPECT_EQ(panes.Constants[3], "m01 = 1");
    EXPECT_EQ(panes.Constants.back(), "m10 = 1");
    EXPECT_TRUE(contains(panes.Initial, "x01 = cos(1*Ang)"));
    EXPECT_TRUE(contains(panes.Initial, "vy10 =  cos(10*Ang)*Vel"));
    EXPECT_TRUE(contains(panes.Aux, "dx0102 = x01 - x02"));
    EXPECT_TRUE(contains(panes.Aux, "r0910 = (dx0910^2 + dy0910^2)^neg1p5"));
    EXPECT_EQ(panes.ODEs.back(),
              "vy10' =   m01*dy0110*r0110 + m02*dy0210*r0210 + m03*dy0310*r0310 + "
              "m04*dy0410*r0410 + m05*dy0510*r0510 + m06*dy0610*r0610 + m07*dy0710*r0710 + "
              "m08*dy0810*r0810 + m09*dy0910*r0910");
}

TEST(NBodyGenerator, CircularSpeedAgainstClosedForms) {
    EXPECT_EQ(circularSpeed(2), 0.5L);
    EXPECT_EQ(circularSpeed(3), std::sqrt(1 / std::sqrt(3.0L))) << "the equal-mass triangle";
    // A quarter of the sum of 1/sin(k pi/n), under the root.
    for (int n : {4, 5, 10, 57, 99}) {
        Extended sum = 0;
        for (int k = 1; k < n; ++k)
            sum += 1 / std::sin(k * std::numbers::pi_v<Extended> / n);
        EXPECT_NEAR(circularSpeed(n), std::sqrt(sum / 4), 1e-17L) << n;
    }
    // The text of the speed reads back to the same bits in the compiled problem.
    CompiledFixture f(nBodyPanes(options(3, false, NBodyMotion::CircularChoreography)));
    EXPECT_EQ(f.problem.Coefficients[1][0], std::sqrt(1 / std::sqrt(3.0L)));
}

TEST(NBodyGenerator, WrongCountsKeepTheProblem) {
    ProblemDocument document;
    document.Panes.Constants = {"a = 1"};
    document.Caption = "mine";
    document.Path = "/tmp/mine.ode";
    FakeUi ui;
    for (int bodies : {1, 100, 0, -5}) {
        EXPECT_FALSE(setNBodyProblem(document, options(bodies, false, NBodyMotion::Elliptic), ui));
        EXPECT_EQ(ui.lastMessage(), "n must be in [2..99]");
    }
    EXPECT_EQ(document.Panes.Constants, std::vector<std::string>{"a = 1"});
    EXPECT_EQ(document.Caption, "mine");
    EXPECT_EQ(document.Path, "/tmp/mine.ode");
    ui.messages.clear();
    ASSERT_TRUE(setNBodyProblem(document, options(99, true, NBodyMotion::Elliptic), ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(document.Path, "");
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(document.Panes.Constants.back(), "m99 = 1");
}

TEST(NBodyGenerator, SpatialFiveBodyChoreographyKeepsItsPolygon) {
    const int bodies = 5;
    CompiledFixture f(nBodyPanes(options(bodies, true, NBodyMotion::CircularChoreography)));
    // Radius 1 at speed v: one turn takes 2 pi / v.
    const Extended period = 2 * std::numbers::pi_v<Extended> / circularSpeed(bodies);
    FakeUi ui;
    ASSERT_TRUE(setTermination(f.state, f.problem, ui, true, exactDecimal(period).text, {}));
    RunOutcome outcome =
        runMore(f.state, f.problem, ui, "10000", RunSettings{f.assembly.MainNames, {}, {}, {}});
    ASSERT_EQ(outcome.End, RunEnd::Terminated) << outcome.Error;
    EXPECT_EQ(f.problem.CurrentIndep, period);
    // Main variables: t, then x, y, z per body, then the velocities.
    for (int i = 1; i <= bodies; ++i) {
        Extended x = f.value(3 * i - 2), y = f.value(3 * i - 1), z = f.value(3 * i);
        EXPECT_NEAR(std::hypot(x, y), 1, 1e-15L) << i;
        EXPECT_EQ(z, 0);
        const Extended angle = 2 * std::numbers::pi_v<Extended> * i / bodies;
        EXPECT_NEAR(x, std::cos(angle), 1e-13L) << i;
        EXPECT_NEAR(y, std::sin(angle), 1e-13L) << i;
    }
}
