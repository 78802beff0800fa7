// "Set n-body problem": the count asked before anything is cleared, the options of the menu, and
// the generated problem compiled in degrees.
#include "FormTestSupport.h"

#include <QAction>
#include <QRadioButton>
#include <QTabWidget>

TEST_F(ProblemWindowTest, AWrongBodyCountKeepsTheUsersProblem) {
    type(form->REditInit, "t = 0\nx = 1");
    type(form->REditODEs, "t' = 1\nx' = -x");
    for (const char* count : {"1", "100", "2.5"}) {
        ui.messages.clear();
        ui.inputAnswers = {std::string(count)};
        form->Circularchoreography1->trigger();
        ASSERT_EQ(ui.messages.size(), 2u) << count;
        EXPECT_EQ(ui.messages[0], "Unnamed ODEs not saved. Go ahead anyway? ");
        EXPECT_EQ(ui.messages[1], "n must be in [2..99]");
    }
    ui.inputAnswers = {std::string("five")}; // not a number: silently nothing
    form->Elliptic1->trigger();
    form->Elliptic1->trigger(); // cancelled
    EXPECT_EQ(text(form->REditODEs), "t' = 1\nx' = -x");
    EXPECT_EQ(text(form->REditInit), "t = 0\nx = 1");
    EXPECT_TRUE(form->modified());
    EXPECT_TRUE(form->Choosefromalist1->isEnabled());
}

TEST_F(ProblemWindowTest, TheSpatialTriangleIsWrittenInDegreesAndCompiles) {
    form->rbRadians->click();
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    form->Spatial3D1->trigger();
    ui.inputAnswers = {std::string("3")};
    form->Circularchoreography1->trigger();
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_TRUE(form->rbDegrees->isChecked());
    EXPECT_EQ(form->PageControl1->currentIndex(), TProblForm::EquationsPage);
    EXPECT_TRUE(form->modified());
    EXPECT_EQ(text(form->REditConst).substr(0, 22), "neg1p5 = -1.5\nVel = 0.");
    EXPECT_NE(text(form->REditODEs).find("vz2' =   m1*dz12*r12 - m3*dz23*r23"), std::string::npos);
    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    const TCompiledProblem& problem = form->compiledProblem();
    // Body 3 at 3*120 degrees: x3 = 1, y3 = 0 up to the rounding of the angle.
    EXPECT_NEAR(static_cast<double>(problem.InitialValues[7]), 1.0, 1e-18);
    EXPECT_EQ(problem.Coefficients[1][0], std::sqrt(1 / std::sqrt(3.0L)));
}
