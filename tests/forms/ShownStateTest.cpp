// The problem window shows what is true after each command: the names of a problem whose
// evaluation failed, counters and values that belong to the problem shown, the step label, and
// the aids around the grid and the file dialogs.
#include "FormTestSupport.h"

#include "support/Paths.h"
#include "support/TempFolder.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>

#include <filesystem>
#include <regex>

class ShownStateTest : public ProblemWindowTest {
  protected:
    void openFile(const std::string& path) {
        ui.fileAnswers = {path};
        form->Open1->trigger();
    }
    void run(int steps) {
        form->edNumSteps->setText(QString::number(steps));
        form->btMoreBlind->click();
    }
    std::string summary() const { return form->lbHowMany->text().toStdString(); }
};

TEST_F(ShownStateTest, AFailedEvaluationKeepsTheNamesForTheDebuggingPage) {
    openFile(sourcePath("Samples/Pendulum.ode"));
    std::string constants = text(form->REditConst);
    form->REditConst->setPlainText(
        QString::fromStdString(std::regex_replace(constants, std::regex("len = 2"), "len = 0")));
    form->Compile1->trigger();
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].substr(0, 44), "Compilation succeeded, yet evaluation failed");
    EXPECT_FALSE(form->compiledProblem().Compiled) << "nothing may integrate it";
    EXPECT_FALSE(form->btMoreBlind->isEnabled());

    ASSERT_EQ(form->PageControl1->currentIndex(), TProblForm::DebuggingPage);
    EXPECT_EQ(form->sgDebug->cell(1, 1), "         g");
    EXPECT_EQ(form->sgDebug->cell(1, 2), "       len");
    EXPECT_EQ(form->sgParameters->cell(0, 2), "phi");
    // The failing instruction reads with names and points at the line as it was typed.
    std::string instruction = form->lbDebugInstr->text().toStdString();
    EXPECT_NE(instruction.find("g / len"), std::string::npos) << instruction;
    EXPECT_EQ(form->stSourceLine->text().toStdString(), "omega' = -g/len*sin(phi)");
    EXPECT_EQ(form->lboxInstructions->findItems("omega' = ", Qt::MatchContains).size(), 1);
}

TEST_F(ShownStateTest, AMissingPrimeSelectsItsOdeLine) {
    type(form->REditInit, "x = 1\ny = 2");
    type(form->REditODEs, "x' = y\ny = -x");
    form->Compile1->trigger();
    EXPECT_EQ(ui.lastMessage(), "ODE line 1: y = -x : differentiation prime ' (code 39) expected");
    EXPECT_EQ(form->REditODEs->textCursor().selectedText().toStdString(), "y = -x");
}

TEST_F(ShownStateTest, CompileOpenAndClearStartANewCountOfSteps) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    form->rgErrorControl->button(0)->click();
    for (int row = 1; row <= 4; ++row)
        form->sgParameters->setCell(4, row, "1e-16");
    run(200);
    ASSERT_TRUE(std::regex_search(summary(), std::regex(R"(Total: 200\.)"))) << summary();
    ASSERT_GT(state.SplitCount, 0) << "the tolerance makes steps split";

    form->Compile1->trigger();
    run(10);
    EXPECT_TRUE(
        std::regex_search(summary(), std::regex(R"(^10 steps \(0 step splits\)\.  Total: 10\.)")))
        << summary();

    openFile(problemPath("figure8.ode"));
    EXPECT_EQ(state.TotalSteps, 0);
    form->Compile1->trigger();
    run(5);
    EXPECT_TRUE(std::regex_search(summary(), std::regex(R"(Total: 5\.)"))) << summary();

    form->Clear1->trigger();
    EXPECT_EQ(state.TotalSteps, 0);
    EXPECT_EQ(state.SplitCount, 0);
}

TEST_F(ShownStateTest, NoValueOfAnEarlierProblemShowsWithoutACompiledOne) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    run(20);
    ASSERT_NE(form->sgParameters->cell(2, 1), "");
    ASSERT_EQ(form->lbUntilReached->text().toStdString().substr(0, 6), "t   = ");

    // A new order leaves the problem to compile again.
    ui.inputAnswers = {"20"};
    form->Changeorder1->trigger();
    EXPECT_EQ(form->lbConvRad->text().toStdString().substr(0, 16), "Not compiled yet");
    for (int column : {1, 2, 3})
        EXPECT_EQ(form->sgParameters->cell(column, 1), "") << column;
    EXPECT_EQ(form->lbUntilReached->text().toStdString(), "value  =");
    EXPECT_FALSE(form->lbUntilReached->isEnabled());

    // A problem that fails to compile shows none of the values of the one before.
    form->Compile1->trigger();
    run(3);
    form->REditODEs->setPlainText("x' = y\ny' = -x\nz' = ");
    form->REditInit->setPlainText("x = 1\ny = 0\nz = 1/0");
    form->REditConst->clear();
    form->REditAux->clear();
    form->Compile1->trigger();
    ASSERT_FALSE(ui.messages.empty());
    for (int row = 1; row < form->sgParameters->rowCountWithHeader(); ++row)
        for (int column : {1, 2, 3})
            EXPECT_EQ(form->sgParameters->cell(column, row), "") << column << "," << row;
}

TEST_F(ShownStateTest, TheStepLabelFollowsTheNumberOfSteps) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    run(5);
    ASSERT_EQ(form->lbSteps->text().toStdString(), "steps");
    openFile(problemPath("kepler.ode"));
    EXPECT_EQ(form->edNumSteps->text().toStdString(), "1");
    EXPECT_EQ(form->lbSteps->text().toStdString(), "step");
}

TEST_F(ShownStateTest, ANewProblemStartsWithoutTheTolerancesOfTheOldOne) {
    openFile(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    form->sgParameters->setCell(4, 1, "1e-9");
    form->sgParameters->setCell(5, 2, "1e-7");
    openFile(problemPath("kepler.ode"));
    form->Compile1->trigger();
    for (int row = 1; row < form->sgParameters->rowCountWithHeader(); ++row)
        for (int column : {4, 5})
            EXPECT_EQ(form->sgParameters->cell(column, row), "") << column << "," << row;
}

TEST_F(ShownStateTest, PasteIvpTakesTheValueColumnThatCopyAllCopied) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    form->btCopyToExcel->click();
    std::vector<std::string> initial;
    for (int row = 1; row <= 4; ++row)
        initial.push_back(form->sgParameters->cell(1, row));
    for (int row = 1; row <= 4; ++row)
        form->sgParameters->setCell(1, row, "7");
    form->btPaste->click();
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(form->sgParameters->cell(1, row), initial[row - 1]) << row;
}

TEST_F(ShownStateTest, FileDialogsStartInSamplesThenInTheFolderUsedLast) {
    windows.programFolder = sourcePath("");
    form->Open1->trigger();
    ASSERT_EQ(ui.fileProposals.size(), 1u);
    EXPECT_EQ(ui.fileProposals[0], sourcePath("Samples"));
    openFile(problemPath("kepler.ode"));
    form->Loaddata1->trigger();
    EXPECT_EQ(std::filesystem::path(ui.fileProposals.back()),
              std::filesystem::path(problemPath("kepler.ode")).parent_path());
}

TEST_F(ShownStateTest, PrintWithoutAPrinterAsksWhereTheListingGoes) {
    TempFolder temp;
    openFile(problemPath("kepler.ode"));
    ui.fileProposals.clear();
    form->Print1->trigger();
    ASSERT_EQ(ui.fileProposals.size(), 1u) << "asked, and cancelled";
    EXPECT_EQ(std::filesystem::path(ui.fileProposals[0]).filename(), "kepler.pdf");
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();

    std::string pdf = (temp.folder() / "listing.pdf").string();
    ui.fileAnswers = {pdf};
    form->Print1->trigger();
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(ui.lastMessage(), "Printed to " + pdf);
}

TEST_F(ShownStateTest, GreySaveCommandsSayWhyAndTheResultGroupTellsWhatToDo) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    ASSERT_FALSE(form->Savedata1->isEnabled());
    EXPECT_NE(form->Savedata1->toolTip().indexOf("Main variables"), -1);
    EXPECT_NE(form->Savescript1->toolTip().indexOf("Main variables"), -1);
    EXPECT_FALSE(form->lbStoreHint->isHidden());

    form->cbResultArray->click();
    EXPECT_TRUE(form->Savedata1->isEnabled());
    EXPECT_TRUE(form->lbStoreHint->isHidden());
}

TEST_F(ShownStateTest, PanesShareTheHeightUntilTheUserDividesThem) {
    form->resize(form->minimumSize());
    form->show();
    openFile(sourcePath("Samples/Pendulum.ode"));
    QApplication::processEvents();
    const int lineHeight = form->REditAux->fontMetrics().lineSpacing();
    EXPECT_GT(form->REditAux->viewport()->height(), 7 * lineHeight);
    // Pendulum's panes hold a few lines each: the upper and the lower ones get about as much.
    const QList<int> shared = form->splitterRight->sizes();
    EXPECT_GT(shared[0], shared[1] * 4 / 5) << shared[0] << " above " << shared[1];

    QList<int> chosen{form->splitterLeft->sizes()[0] + form->splitterLeft->sizes()[1] - 150, 150};
    form->splitterLeft->setSizes(chosen);
    QMetaObject::invokeMethod(form.get(), "splitterLeftMoved");
    openFile(problemPath("lorenz.ode"));
    EXPECT_EQ(form->splitterRight->sizes(), form->splitterLeft->sizes());
    EXPECT_EQ(form->splitterLeft->sizes()[1], 150) << "the user's division stays";
}
