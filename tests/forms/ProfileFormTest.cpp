// "Show Taylor profile" on the debugging page: the profile window of lorenz.ode's variables, its
// three ways to choose h, the slide bar, the bars and closing.
#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "support/Paths.h"
#include "tools/forms/TProfileForm.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

class ProfileFormTest : public ProblemWindowTest {
  protected:
    TProfileForm& openProfile() {
        typeProblem(problemPath("lorenz.ode"));
        form->Compile1->trigger();
        form->PageControl1->setCurrentIndex(TProblForm::DebuggingPage);
        form->cbShowProfile->click();
        return *form->profileForm();
    }
};

TEST_F(ProfileFormTest, ListsTheVariablesAfterTheConstantsSkippingTheIndependentOne) {
    TProfileForm& profile = openProfile();
    EXPECT_TRUE(profile.isVisible());
    ASSERT_GE(profile.cbVarNames->count(), 4);
    EXPECT_EQ(profile.cbVarNames->itemText(0).toStdString(), "t");
    EXPECT_EQ(profile.cbVarNames->itemText(1).toStdString(), "x");
    EXPECT_EQ(profile.cbVarNames->currentIndex(), 1); // t is the independent variable
    EXPECT_EQ(profile.lbOrder->text().toStdString(), "Order: 30");
    // h = 1 by default. z = 1 with z' = xy - 8z/3 = -5/3 at the start: red, then blue.
    EXPECT_EQ(profile.step(), 1);
    profile.cbVarNames->setCurrentIndex(3);
    ASSERT_EQ(profile.bars().Magnitudes.size(), 31u);
    EXPECT_FALSE(profile.bars().Negative[0]);
    EXPECT_TRUE(profile.bars().Negative[1]);
    EXPECT_NEAR(static_cast<double>(profile.bars().Magnitudes[1]), 5.0 / 3, 1e-15);
}

TEST_F(ProfileFormTest, SlideBarStartsAtHalfTheRadiusAndReachesTwiceIt) {
    TProfileForm& profile = openProfile();
    const Extended radius = profile.radius();
    ASSERT_GT(radius, 0);
    EXPECT_EQ(profile.lbR->text().toStdString(), "Conv. radius: " + formatDisplay(radius));
    profile.rbUseBar->click();
    EXPECT_EQ(profile.step(), radius / 2);
    EXPECT_EQ(profile.tbVert->value(), 375);
    EXPECT_EQ(profile.edh->text().toStdString(), formatDisplay(radius / 2));
    profile.tbVert->setValue(0);
    EXPECT_EQ(profile.step(), 2 * radius);
    // Beyond the radius the last terms are the largest.
    const auto& heights = profile.bars().Heights;
    EXPECT_GT(heights.back() + heights[heights.size() - 2], heights[1] + heights[2]);

    profile.rbThisValue->click();
    profile.edh->setText("0.001");
    emit profile.edh->returnPressed();
    EXPECT_EQ(profile.step(), 0.001L);
    profile.edh->setText("zz");
    emit profile.edh->returnPressed();
    EXPECT_EQ(ui.lastMessage(), "\"zz\" is not a valid value of h");
    EXPECT_EQ(profile.step(), 0.001L);
    profile.rbLg->click();
    EXPECT_GT(profile.bars().Greatest, 0);
    EXPECT_TRUE(profile.lbMax->text().startsWith("Max monomial: "));
}

TEST_F(ProfileFormTest, CaptionFollowsTheMouseAndClosingUnchecksTheBox) {
    TProfileForm& profile = openProfile();
    profile.resize(900, 400);
    QApplication::processEvents();
    const int width = profile.PaintBox1->width();
    profile.PaintBox1MouseMove(width / 2);
    EXPECT_EQ(profile.windowTitle().toStdString(),
              mouseCaption(monomialUnderMouse(width / 2, width, 31)));
    profile.copyToClipboard();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    profile.close();
    EXPECT_FALSE(form->cbShowProfile->isChecked());
}
