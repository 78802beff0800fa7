// The side tools from the problem window: an array of IVPs unfolded through its form, the batch
// run and its single records, and the table form.
#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "support/TempFolder.h"
#include "tools/forms/TCloneForm.h"
#include "tools/forms/TSaveForm.h"
#include "tools/forms/TTestingForm.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

class ToolFormsTest : public ProblemWindowTest {
  protected:
    void typePendulum(const std::string& initial) {
        type(form->REditConst, "g = 9.81");
        type(form->REditInit, initial);
        type(form->REditAux, "f = -g*sin(a)");
        type(form->REditODEs, "t' = 1\na' = w\nw' = f");
    }
    QAction* action(const QString& text) {
        for (QAction* candidate : form->findChildren<QAction*>())
            if (candidate->text() == text)
                return candidate;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
};

TEST_F(ToolFormsTest, AThreeByThreeGridUnfoldsIntoAProblemThatCompiles) {
    typePendulum("t = 0\na = 0; 0.2; 3 nodes\nw = -1; 1; 3 nodes");
    std::string total;
    QTimer::singleShot(0, [&] {
        auto* choice = qobject_cast<TCloneForm*>(QApplication::activeModalWidget());
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->lbTotal->text().toStdString(), "Total 3, cloned 2");
        choice->rgArrayType->button(1)->click();
        total = choice->lbTotal->text().toStdString();
        EXPECT_FALSE(choice->imDiagonal->isVisibleTo(choice));
        choice->btUnfold->click();
    });
    action("Clone (excluding independent variable)")->trigger();
    EXPECT_EQ(total, "Total 9, cloned 8");
    ASSERT_EQ(ui.messages.size(), 1u) << ui.lastMessage();
    EXPECT_EQ(ui.messages[0], "Unnamed ODEs not saved. Go ahead anyway? ");
    const auto initial = splitLines(text(form->REditInit));
    ASSERT_EQ(initial.size(), 19u);
    EXPECT_EQ(initial[1], "a = 0");
    EXPECT_EQ(initial[3], "a1 = 0    {Clone 1}");
    EXPECT_EQ(initial[18], "w8 = 1");
    form->Compile1->trigger();
    EXPECT_EQ(form->compiledProblem().NumMain, 19);
}

TEST_F(ToolFormsTest, ABatchFromTheWindowAndASingleRecordTried) {
    typePendulum("t = 0\na = 0\nw = 0");
    form->Compile1->trigger();
    TempFolder folder;
    writeBytes(folder.path("in.txt"), "1 0 0.1 0\n2 0 0.2 0.5\n3 0 -0.3 1\n");
    TTestingForm massive(*form, state, ui);
    massive.btRun->click();
    EXPECT_EQ(ui.lastMessage(), "Both input and output must be specified");
    ui.fileAnswers = {folder.path("in.txt"), folder.path("out.txt")};
    massive.Input1Click();
    massive.Output1Click();
    EXPECT_EQ(massive.lbOfHowMany->text().toStdString(), "3");
    form->edNumSteps->setText("20");
    massive.cbSpellOut->setChecked(true);
    massive.btRun->click();
    const auto lines = splitLines(readBytes(folder.path("out.txt")));
    ASSERT_EQ(lines.size(), 3u) << ui.lastMessage();
    EXPECT_TRUE(lines[2].starts_with("3\t ")) << lines[2];
    EXPECT_TRUE(lines[2].ends_with(" \t20 steps of 20,\t Specified number of steps")) << lines[2];
    EXPECT_TRUE(massive.lbTime->text().startsWith("One sample takes "));
    EXPECT_EQ(massive.lbInput->text().toStdString(), "No input") << "a finished run clears";

    ui.fileAnswers = {folder.path("in.txt")};
    massive.Input1Click();
    massive.leNumber->setText("2");
    massive.btTry->click();
    const TCompiledProblem& problem = form->compiledProblem();
    EXPECT_EQ(problem.Coefficients[problem.NumConst + 1][0], 0.2L);
    EXPECT_EQ(problem.Coefficients[problem.NumConst + 2][0], 0.5L);
    massive.btNext->click();
    EXPECT_EQ(problem.Coefficients[problem.NumConst + 1][0], -0.3L);
    massive.btNext->click();
    EXPECT_EQ(ui.lastMessage(), "End of file reached");
    massive.leNumber->setText("0");
    massive.btTry->click();
    EXPECT_EQ(ui.lastMessage(), "Sample number must be positive!");
}

TEST_F(ToolFormsTest, EscAnsweredNoGoesOnThenAbortStopsAndRunResumes) {
    typePendulum("t = 0\na = 0\nw = 0");
    form->Compile1->trigger();
    form->edNumSteps->setText("10");
    TempFolder folder;
    std::string records;
    for (int i = 1; i <= 8; ++i)
        records += std::to_string(i) + " 0 0." + std::to_string(i) + " 0\n";
    writeBytes(folder.path("in.txt"), records);
    TTestingForm massive(*form, state, ui);
    ui.fileAnswers = {folder.path("in.txt"), folder.path("whole.txt")};
    massive.Input1Click();
    massive.Output1Click();
    massive.btRun->click();
    const std::string whole = readBytes(folder.path("whole.txt"));
    ASSERT_EQ(splitLines(whole).size(), 8u);

    ui.fileAnswers = {folder.path("in.txt"), folder.path("cut.txt")};
    massive.Input1Click();
    massive.Output1Click();
    state.PollInterval = std::chrono::milliseconds(0);
    ui.onProcessEvents = [&] { state.Interrupt = true; };
    ui.confirmAnswers = {false, true}; // "Abort?": No, then Abort
    ui.messages.clear();
    massive.btRun->click();
    ui.onProcessEvents = nullptr;
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Interrupted!", "Abort?", "Interrupted!", "Abort?"}));
    EXPECT_LT(splitLines(readBytes(folder.path("cut.txt"))).size(), 8u);
    EXPECT_EQ(massive.lbOutput->text().toStdString(), "Output: " + folder.path("cut.txt"));
    massive.btRun->click();
    EXPECT_EQ(readBytes(folder.path("cut.txt")), whole);
}

// The batch reads the problem window's problem and settings: while it runs, a "More" started
// from that window (a timer, a click the polling lets through) runs nothing.
TEST_F(ToolFormsTest, NoRunStartsInTheProblemWindowWhileABatchRuns) {
    typePendulum("t = 0\na = 0\nw = 0");
    form->Compile1->trigger();
    form->edNumSteps->setText("10");
    TempFolder folder;
    writeBytes(folder.path("in.txt"), "1 0 0.1 0\n2 0 0.2 0\n3 0 0.3 0\n");
    TTestingForm massive(*form, state, ui);
    ui.fileAnswers = {folder.path("in.txt"), folder.path("out.txt")};
    massive.Input1Click();
    massive.Output1Click();
    const std::int32_t stored = state.StepIndex;
    state.PollInterval = std::chrono::milliseconds(0);
    bool busyMeanwhile = false;
    ui.onProcessEvents = [&] {
        busyMeanwhile = busyMeanwhile || state.Busy;
        form->btMoreBlind->click();
    };
    massive.btRun->click();
    ui.onProcessEvents = nullptr;
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(state.Busy);
    EXPECT_EQ(state.StepIndex, stored);
    EXPECT_EQ(splitLines(readBytes(folder.path("out.txt"))).size(), 3u);
}

TEST_F(ToolFormsTest, TheTableFormProposesNamesAndCopiesTheTable) {
    typePendulum("t = 0\na = 0.1\nw = 0");
    form->Compile1->trigger();
    form->edArrLen->setText("100");
    form->cbResultArray->click();
    form->edNumSteps->setText("30");
    form->btMoreBlind->click();
    ui.messages.clear();
    TSaveForm table(state, {"t", "a", "w"}, "t", ui);
    EXPECT_EQ(table.edFor->text().toStdString(), "0");
    table.rgSaveAs->setItemIndex(1);
    emit table.StringGrid1->cellClicked(1, 1);
    EXPECT_EQ(table.StringGrid1->cell(1, 2), "a.dbl");
    table.rgSaveAs->setItemIndex(3);
    table.StringGrid1->setCell(1, 2, "");
    emit table.StringGrid1->cellClicked(0, 1);
    emit table.StringGrid1->cellClicked(1, 1);
    table.edTo->setText("1");
    table.edStep->setText("4");
    table.btSave->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    const auto lines = splitLines(ui.clipboard);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "t\ta");
    EXPECT_TRUE(lines[5].starts_with("1.00000000000000000e0\t")) << lines[5];
    table.edFor->setText("-1");
    table.btSave->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong boundaries");
}

} // namespace
