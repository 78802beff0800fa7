// Integrating from the problem window: "More" with its summary, the Results array group,
// tolerances through "Apply", termination, restart and the stop request.
#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "support/Paths.h"
#include "workspace/forms/FailureLogForm.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <regex>

class RunTest : public ProblemWindowTest {
  protected:
    void compileLorenz() {
        typeProblem(problemPath("lorenz.ode"));
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
};

TEST_F(RunTest, MoreOnLorenzReportsItsSummaryAndStoresThePoints) {
    compileLorenz();
    form->edArrLen->setText("200");
    form->cbResultArray->click();
    ASSERT_TRUE(form->cbResultArray->isChecked());
    form->edNumSteps->setText("100");
    form->btMoreBlind->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    std::string summary = form->lbHowMany->text().toStdString();
    EXPECT_TRUE(std::regex_match(
        summary,
        std::regex(R"(100 steps \(0 step splits\)\.  Total: 100\.  Took \d+\.\d{6} sec\.)")))
        << summary;
    EXPECT_EQ(form->lbSteps->text().toStdString(), "steps");
    EXPECT_EQ(state.StepIndex, 100);
    EXPECT_TRUE(form->Savedata1->isEnabled());

    // The grid shows the current point, which the stored last point agrees with.
    Extended t = *parseNumber(form->sgParameters->cell(2, 1));
    EXPECT_GT(t, 0);
    EXPECT_EQ(formatDisplay(state.Results.at(100 % state.Results.Length, 0)[0]),
              form->sgParameters->cell(2, 1));
    EXPECT_EQ(form->sgParameters->cell(3, 1), form->sgParameters->cell(2, 1))
        << "the difference to t = 0 is t itself";

    form->edNumSteps->setText("1");
    form->btMoreBlind->click();
    EXPECT_TRUE(std::regex_search(form->lbHowMany->text().toStdString(),
                                  std::regex(R"(^1 steps \(0 step splits\)\.  Total: 101\.)")));
    EXPECT_EQ(form->lbSteps->text().toStdString(), "step");
}

TEST_F(RunTest, AGrowingArrayWithoutRoomAsksToAppend) {
    compileLorenz();
    form->edArrLen->setText("5");
    form->cbResultArray->click();
    form->edNumSteps->setText("10");
    ui.inputAnswers = {std::nullopt};
    form->btMoreBlind->click();
    ASSERT_EQ(ui.inputPrompts.size(), 1u);
    EXPECT_EQ(ui.inputPrompts[0].substr(0, 19), "Appending Results|\r");
    EXPECT_EQ(ui.lastMessage(), "Either make Results circular, or add elements");
    EXPECT_EQ(state.StepIndex, 0);
}

TEST_F(RunTest, WrongStepCountIsRefused) {
    compileLorenz();
    form->edNumSteps->setText("ten");
    form->btMoreBlind->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong number");
}

TEST_F(RunTest, TerminationStopsOnTheTerminalValueAndUnchecksItself) {
    compileLorenz();
    form->edEndTime->setText("0.05");
    form->cbTermination->click();
    ASSERT_TRUE(form->cbTermination->isChecked());
    form->edNumSteps->setText("1000");
    form->btMoreBlind->click();
    EXPECT_EQ(ui.lastMessage(), "The terminal point reached and unchecked");
    EXPECT_FALSE(form->cbTermination->isChecked());
    EXPECT_EQ(form->sgParameters->cell(2, 1), "0.05");
    EXPECT_EQ(form->lbUntilReached->text().toStdString(), "t   = 0.05");
}

TEST_F(RunTest, RestartAppliesTheGridAsEdited) {
    compileLorenz();
    form->edNumSteps->setText("5");
    form->btMoreBlind->click();
    form->sgParameters->setCell(1, 2, "2.5");
    form->btRestart->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->sgParameters->cell(2, 2), "2.5") << "the edited value is the new start";
    EXPECT_EQ(form->sgParameters->cell(2, 1), "0");
    EXPECT_FALSE(form->btApplyStrGrid->isEnabled());

    form->sgParameters->setCell(4, 2, "1e-x");
    form->btRestart->click();
    EXPECT_EQ(ui.lastMessage(), "1e-x wrong");
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled());
}

TEST_F(RunTest, ABadToleranceIsNamedAndApplyStaysOffered) {
    compileLorenz();
    form->sgParameters->setCell(4, 2, "1e-x");
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled());
    form->btApplyStrGrid->click();
    EXPECT_EQ(ui.lastMessage(), "1e-x wrong");
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled());
}

TEST_F(RunTest, EditedInitialValuesAreAppliedAndWrongOnesRefused) {
    compileLorenz();
    form->sgParameters->setCell(1, 2, "2.5");
    form->btApplyStrGrid->click();
    EXPECT_EQ(form->sgParameters->cell(2, 2), "2.5");
    EXPECT_FALSE(form->btApplyStrGrid->isEnabled());

    form->sgParameters->setCell(1, 3, "abc");
    form->btApplyStrGrid->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong parameters");
}

TEST_F(RunTest, RestartGoesBackToTheInitialValues) {
    compileLorenz();
    form->edNumSteps->setText("20");
    form->btMoreBlind->click();
    ASSERT_NE(form->sgParameters->cell(2, 1), "0");
    form->btRestart->click();
    EXPECT_EQ(form->sgParameters->cell(2, 1), "0");
    EXPECT_EQ(form->lbHowMany->text().toStdString(), "Total: 0");
}

TEST_F(RunTest, CurrentValuesBecomeInitialValues) {
    compileLorenz();
    form->edNumSteps->setText("5");
    form->btMoreBlind->click();
    std::string current = form->sgParameters->cell(2, 3);
    form->btCurToInit->click();
    EXPECT_EQ(form->sgParameters->cell(1, 3), current);
    EXPECT_EQ(form->sgParameters->cell(3, 3), "0");
}

TEST_F(RunTest, EscDuringARunStopsItAndAnyOtherKeyWithdrawsTheRequest) {
    compileLorenz();
    auto press = [&](int key) {
        form->edNumSteps->setFocus();
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form->edNumSteps, &event);
    };
    press(Qt::Key_Escape);
    EXPECT_TRUE(state.Interrupt);
    press(Qt::Key_A);
    EXPECT_FALSE(state.Interrupt);

    state.PollInterval = std::chrono::milliseconds(0);
    ui.onProcessEvents = [&] { press(Qt::Key_Escape); };
    form->edNumSteps->setText("100000");
    form->btMoreBlind->click();
    EXPECT_EQ(ui.lastMessage(), "Interrupted!");
    EXPECT_LT(state.TotalSteps, 100000);
}

TEST_F(RunTest, DirectionBackwardMakesTheIndependentVariableDecrease) {
    compileLorenz();
    form->rgDirection->button(1)->click();
    EXPECT_EQ(form->lbIncrease->text().toStdString(), " decreases");
    form->edNumSteps->setText("3");
    form->btMoreBlind->click();
    EXPECT_LT(*parseNumber(form->sgParameters->cell(2, 1)), 0);
}

TEST_F(RunTest, CopyAllAndPasteIvpGoThroughTheClipboard) {
    compileLorenz();
    form->btCopyToExcel->click();
    EXPECT_EQ(ui.clipboard.substr(0, ui.clipboard.find('\r')),
              "\tInitial values\tCurrent values\tTheir difference\tAbs. error\tRel. error");

    ui.clipboard = "0\r\n2\r\n3";
    form->btPaste->click();
    EXPECT_EQ(ui.lastMessage(), "Not enough elements in Clipboard column");
    ui.clipboard = "0\n2\n3\n4\n";
    form->btPaste->click();
    EXPECT_EQ(form->sgParameters->cell(1, 4), "4");
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled());
    form->btApplyStrGrid->click();
    EXPECT_EQ(form->sgParameters->cell(2, 2), "2");
}

TEST_F(RunTest, TheClipboardFileCarriesCurrentValuesAndRefusesAnotherShape) {
    windows.programFolder = ::testing::TempDir();
    compileLorenz();
    form->edNumSteps->setText("4");
    form->btMoreBlind->click();
    std::string reached = form->sgParameters->cell(2, 3);
    form->btCurToClip->click();
    EXPECT_EQ(form->StaticTextClipBoard->text().toStdString(), "Clipboard: Unnamed ODEs");
    form->btRestart->click();
    ASSERT_NE(form->sgParameters->cell(2, 3), reached);
    form->btClipToInit->click();
    EXPECT_EQ(form->sgParameters->cell(1, 3), reached);
    EXPECT_EQ(form->sgParameters->cell(2, 3), reached);

    form->REditInit->setPlainText("x = 1");
    form->REditODEs->setPlainText("x' = -x");
    form->REditConst->clear();
    form->REditAux->clear();
    form->Compile1->trigger();
    form->btClipToInit->click();
    EXPECT_EQ(ui.lastMessage(), "Unnamed ODEs and Unnamed ODEs incompatible");
}

// A tolerance no step can meet: every step splits to the limit.
TEST_F(RunTest, GoDespiteErrorLogsEveryStepTakenAtTheLimitAndEachClickClearsTheLog) {
    type(form->REditInit, "t = 0\nx = 1");
    type(form->REditODEs, "t' = 1\nx' = -x");
    form->Compile1->trigger();
    form->rgErrorControl->button(1)->click();
    form->sgParameters->setCell(4, 2, "-1");
    form->edNumSteps->setText("3");

    form->btMoreBlind->click();
    EXPECT_EQ(ui.lastMessage(), "Step splitting exceeded the limit.\n\r x failed the Absolute "
                                "error test");
    EXPECT_EQ(form->failureLog(), nullptr);

    form->cbDespite->click();
    ASSERT_NE(form->failureLog(), nullptr);
    EXPECT_TRUE(form->failureLog()->isVisible());
    ui.messages.clear();
    form->btRestart->click();
    form->btMoreBlind->click();
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    std::string log = form->failureLog()->text();
    EXPECT_TRUE(std::regex_match(log, std::regex("(x \tat t = [0-9.e-]+ Absolute\n){2}"
                                                 "x \tat t = [0-9.e-]+ Absolute")))
        << log;
    // Each logged step was taken at h/2^19 of the proposed step.
    EXPECT_LT(form->compiledProblem().CurrentIndep, 3 * 5.0L / (1 << 19));

    form->cbDespite->click();
    EXPECT_EQ(form->failureLog()->text(), "");
    EXPECT_FALSE(form->failureLog()->isVisible());
    EXPECT_TRUE(state.FailureLog.empty());
}
