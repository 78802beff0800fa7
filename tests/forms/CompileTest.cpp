// Compiling from the problem window: the grids, labels and instruction list it fills, and where
// it points when something is wrong.
#include "FormTestSupport.h"

#include "support/Paths.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>

TEST_F(ProblemWindowTest, AParseErrorSelectsTheOffendingTextInItsPane) {
    type(form->REditConst, "a = 2");
    type(form->REditInit, "x = 1");
    type(form->REditODEs, "x' = a*qq + 1");
    form->Compile1->trigger();
    EXPECT_EQ(ui.lastMessage(), "qq not defined yet");
    EXPECT_EQ(form->REditODEs->textCursor().selectedText().toStdString(), "qq");
    EXPECT_EQ(form->lbConvRad->text().toStdString(), "Not compiled yet                ");
}

TEST_F(ProblemWindowTest, AnErrorWithoutItsTextInTheLineSelectsTheWholeLine) {
    type(form->REditInit, "x = 1\ny = (2");
    type(form->REditODEs, "x' = y\ny' = x");
    form->Compile1->trigger();
    ASSERT_FALSE(ui.messages.empty());
    QTextCursor cursor = form->REditInit->textCursor();
    EXPECT_EQ(cursor.block().blockNumber(), 1);
    EXPECT_FALSE(cursor.selectedText().isEmpty());
}

TEST_F(ProblemWindowTest, PaneChecksReportTheOdeLine) {
    type(form->REditInit, "x = 1");
    type(form->REditODEs, "x = y");
    form->Compile1->trigger();
    EXPECT_EQ(ui.lastMessage(), "ODE line 0: x = y : differentiation prime ' (code 39) expected");

    form->REditInit->setPlainText("X = 1\n\n  \ny = 2");
    form->REditODEs->setPlainText("x' = y\n\ny' = -x");
    form->Compile1->trigger();
    EXPECT_EQ(ui.messages.size(), 1u) << "a successful compile shows no message";
    EXPECT_EQ(text(form->REditODEs), "x' = y\ny' = -x") << "blank lines are removed";
    EXPECT_EQ(text(form->REditInit), "X = 1\ny = 2");
}

TEST_F(ProblemWindowTest, CompileFillsTheGridsLabelsAndInstructions) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();

    StringGrid* grid = form->sgParameters;
    ASSERT_EQ(grid->rowCountWithHeader(), 5);
    const char* names[] = {"t", "x", "y", "z"};
    const char* values[] = {"0", "1", "1", "1"};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(grid->cell(0, r + 1), names[r]);
        EXPECT_EQ(grid->cell(1, r + 1), values[r]);
        EXPECT_EQ(grid->cell(2, r + 1), values[r]) << "current values start at the initial ones";
    }
    ASSERT_EQ(form->sgFuncSel->rowCountWithHeader(), 5);
    EXPECT_EQ(form->sgFuncSel->cell(0, 4), "z");
    EXPECT_EQ(form->sgFuncSel->cell(1, 0), "X axis");

    ASSERT_GT(form->lboxInstructions->count(), 0);
    EXPECT_EQ(form->lboxInstructions->item(0)->text().left(5).toStdString(), "  0: ");
    EXPECT_EQ(form->lbDt->text().toStdString(), "t  ");
    EXPECT_EQ(form->lbConvRad->text().left(24).toStdString(), "Heuristic conv. radius: ");
    EXPECT_EQ(form->rgErrorControl->itemIndex(), 2);
    EXPECT_EQ(form->rgConvergence->itemIndex(), 1);
    EXPECT_EQ(form->lbDifOrder->text().toStdString(), "Order of differentiation:  30");
}

TEST_F(ProblemWindowTest, WithoutAnIndependentVariableTheLabelSaysImplicit) {
    type(form->REditInit, "x = 1");
    type(form->REditODEs, "x' = -x");
    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->lbDt->text().toStdString(), "Implicit ");
}

TEST_F(ProblemWindowTest, AFailedEvaluationOpensTheDebuggingPageOnTheInstruction) {
    type(form->REditInit, "t = 0\nx = 0");
    type(form->REditODEs, "t' = 1\nx' = ln(x)");
    form->Compile1->trigger();
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "Compilation succeeded, yet evaluation failed at point t   = 0");
    EXPECT_EQ(form->PageControl1->currentIndex(), TProblForm::DebuggingPage);
    EXPECT_GE(form->lboxInstructions->currentRow(), 0);
}

TEST_F(ProblemWindowTest, DebuggingPageShowsCoefficientsOrDerivatives) {
    type(form->REditInit, "t = 0\nx = 1");
    type(form->REditODEs, "t' = 1\nx' = x");
    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    form->PageControl1->setCurrentIndex(TProblForm::DebuggingPage);
    StringGrid* grid = form->sgDebug;
    EXPECT_EQ(grid->cell(0, 0), "Index");
    EXPECT_EQ(grid->cell(1, 0), "Variable");
    EXPECT_EQ(grid->cell(2, 0), "Order:    0");
    EXPECT_EQ(grid->columnCount(), 33);
    // x = e^t: coefficient 3 is 1/6, the third derivative 1.
    int xRow = 2;
    EXPECT_EQ(grid->cell(1, xRow), "         x");
    EXPECT_EQ(grid->cell(5, xRow), "0.166667");
    form->rbDerivatives->click();
    EXPECT_EQ(grid->cell(5, xRow), "1");
}

TEST_F(ProblemWindowTest, ChoosingAnInitialValueInstructionLeavesTheCurrentValueAlone) {
    type(form->REditInit, "t = 0\nx = 1");
    type(form->REditODEs, "t' = 1\nx' = x");
    form->Compile1->trigger();
    form->edNumSteps->setText("3");
    form->btMoreBlind->click();
    std::string current = form->sgParameters->cell(2, 2);
    ASSERT_NE(current, "1");
    form->PageControl1->setCurrentIndex(TProblForm::DebuggingPage);
    for (int row = 0; row < form->lboxInstructions->count(); ++row) {
        form->lboxInstructions->setCurrentRow(row);
        emit form->lboxInstructions->itemClicked(form->lboxInstructions->item(row));
    }
    EXPECT_FALSE(form->stDebugInstr->text().isEmpty());
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    EXPECT_EQ(form->sgParameters->cell(2, 2), current);
}
