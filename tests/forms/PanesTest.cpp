// The problem window's panes: entering aids, editing marks, the caption and the aligned columns.
#include "FormTestSupport.h"

#include "workspace/forms/PaneAids.h"

#include <QAction>
#include <QFocusEvent>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>

namespace {

void enter(QWidget* pane) {
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(pane, &focus);
}

} // namespace

TEST_F(ProblemWindowTest, EnteringAnEmptyInitialPaneOffersOneLinePerOde) {
    type(form->REditODEs, "x' = y\ny' = -x");
    enter(form->REditInit);
    EXPECT_EQ(text(form->REditInit), "x = \ny = ");
}

TEST_F(ProblemWindowTest, EnteringAnEmptyOdePaneOffersOneLinePerInitialValue) {
    type(form->REditInit, "x = 1");
    enter(form->REditODEs);
    EXPECT_EQ(text(form->REditODEs), "x' = ");
}

TEST_F(ProblemWindowTest, EnteringAFilledPaneLeavesItAlone) {
    type(form->REditODEs, "x' = y");
    type(form->REditInit, "q = 2");
    enter(form->REditInit);
    EXPECT_EQ(text(form->REditInit), "q = 2");
}

TEST(PaneAids, LinesWithoutEqualsSignAndOddSpacing) {
    EXPECT_EQ(initialLinesForOdes({"  vx'   = -x", "t'", "'"}),
              (std::vector<std::string>{"vx = ", "t = ", " = "}));
    EXPECT_EQ(odeLinesForInitialValues({" a = 1 ", "b"}),
              (std::vector<std::string>{"a' = ", "b' = "}));
    EXPECT_EQ(withoutBlankLines({"a = 1", "", " \t", "b = 2"}),
              (std::vector<std::string>{"a = 1", "b = 2"}));
}

TEST_F(ProblemWindowTest, AnEditMarksTheProblemModifiedAndNotCompiled) {
    EXPECT_EQ(form->windowTitle().toStdString(), "Unnamed ODEs");
    EXPECT_FALSE(form->Save1->isEnabled());
    type(form->REditConst, "a = 2");
    EXPECT_TRUE(form->Save1->isEnabled());
    EXPECT_EQ(form->lbConvRad->text().toStdString(), "Not compiled yet                ");
}

TEST_F(ProblemWindowTest, ClearAsksBeforeDiscardingAndKeepsTheProblemWhenRefused) {
    type(form->REditODEs, "x' = 1");
    ui.confirmAnswers = {false};
    form->Clear1Click();
    EXPECT_EQ(ui.lastMessage(), "Unnamed ODEs not saved. Go ahead anyway? ");
    EXPECT_EQ(text(form->REditODEs), "x' = 1");

    form->Clear1Click(); // the fake answers OK
    EXPECT_EQ(text(form->REditODEs), "");
    EXPECT_EQ(form->windowTitle().toStdString(), "Unnamed");
    EXPECT_FALSE(form->Save1->isEnabled());
}

TEST_F(ProblemWindowTest, ClearIsOfferedOnTheEquationsPageOnly) {
    form->FormPaint();
    EXPECT_TRUE(form->Clear1->isEnabled());
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    EXPECT_FALSE(form->Clear1->isEnabled());
}

TEST_F(ProblemWindowTest, MovingOneSplitterAlignsTheOtherColumn) {
    form->resize(1000, 800);
    form->show();
    form->splitterLeft->setSizes({300, 200});
    emit form->splitterLeft->splitterMoved(300, 1);
    EXPECT_EQ(form->splitterRight->sizes(), form->splitterLeft->sizes());
    form->splitterRight->setSizes({120, 380});
    emit form->splitterRight->splitterMoved(120, 1);
    EXPECT_EQ(form->splitterLeft->sizes(), form->splitterRight->sizes());
}

TEST_F(ProblemWindowTest, FontChangeIsRefusedOutsideThePanesAndTheDebuggingGrid) {
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    form->Font1Click();
    EXPECT_EQ(ui.lastMessage(), "No font change at this page");
}

TEST_F(ProblemWindowTest, PagesComeInOrderWithTheGraphPageHidden) {
    ASSERT_EQ(form->PageControl1->count(), 4);
    EXPECT_EQ(form->PageControl1->tabText(0).toStdString(), "Equations setting");
    EXPECT_EQ(form->PageControl1->tabText(1).toStdString(), "Debugging");
    EXPECT_EQ(form->PageControl1->tabText(2).toStdString(), "Integration setting");
    EXPECT_EQ(form->PageControl1->tabText(3).toStdString(), "Graph setting");
    EXPECT_FALSE(form->PageControl1->isTabVisible(3));
    EXPECT_EQ(form->minimumSize(), QSize(947, 714));
}
