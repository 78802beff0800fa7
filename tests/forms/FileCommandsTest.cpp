// The problem window's file commands driven through the dialogs: Save and Open round-trip,
// Save Data and Load Data continue a run, and a refused discard keeps the problem.
#include "FormTestSupport.h"

#include "support/Paths.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>

class FileCommandsTest : public ProblemWindowTest {
  protected:
    void SetUp() override {
        ProblemWindowTest::SetUp();
        folder = temp.folder();
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }

    TempFolder temp;
    std::filesystem::path folder;
};

TEST_F(FileCommandsTest, SaveThenOpenGivesBackTheLinesTrimmedWithoutBlankOnes) {
    type(form->REditConst, "  a = 2  \n\nb = a*3");
    type(form->REditInit, "x = a");
    type(form->REditODEs, "x' = -b*x");
    ui.fileAnswers = {file("decay.txt")};
    form->Save1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_TRUE(std::filesystem::exists(file("decay.ode"))) << "the extension becomes .ode";
    EXPECT_EQ(form->windowTitle().toStdString(), "decay");
    EXPECT_FALSE(form->Save1->isEnabled());

    form->Clear1->trigger();
    EXPECT_EQ(text(form->REditConst), "");
    ui.fileAnswers = {file("decay.ode")};
    form->Open1->trigger();
    EXPECT_EQ(text(form->REditConst), "a = 2\nb = a*3");
    EXPECT_EQ(text(form->REditODEs), "x' = -b*x");
    EXPECT_EQ(form->windowTitle().toStdString(), "decay");
    EXPECT_FALSE(form->Save1->isEnabled());
}

TEST_F(FileCommandsTest, OpeningAFileOfAnotherKindIsRefused) {
    std::ofstream(file("notes.txt")) << "[ODEs]\r\nx' = 1\r\n";
    ui.fileAnswers = {file("notes.txt")};
    form->Open1->trigger();
    EXPECT_EQ(ui.lastMessage(), "Wrong file extension");
}

TEST_F(FileCommandsTest, LoadDataContinuesTheRunWhereItStopped) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    form->edArrLen->setText("100");
    form->cbResultArray->click();
    form->edNumSteps->setText("30");
    form->btMoreBlind->click();
    std::string reached = form->sgParameters->cell(2, 2);
    ui.fileAnswers = {file("lorenz.ode")};
    form->Savedata1->trigger();
    EXPECT_EQ(ui.lastMessage(), "Elements saved for lorenz");

    form->Clear1->trigger();
    ui.fileAnswers = {file("lorenz.ode")};
    ui.messages.clear();
    form->Loaddata1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->sgParameters->cell(2, 2), reached);
    EXPECT_EQ(form->edArrLen->text().toStdString(), "41") << "the points plus 10";
    EXPECT_TRUE(form->cbResultArray->isChecked());
    EXPECT_EQ(state.StepIndex, 30);

    form->edNumSteps->setText("5");
    form->btMoreBlind->click();
    EXPECT_EQ(state.StepIndex, 35);
    EXPECT_NE(form->sgParameters->cell(2, 2), reached);
}

TEST_F(FileCommandsTest, TheShippedSamplesOpenCompileAndIntegrate) {
    for (const char* sample : {"Pendulum.ode", "DampedOscillator.ode"}) {
        ui.fileAnswers = {sourcePath(std::string("Samples/") + sample)};
        form->Open1->trigger();
        form->Compile1->trigger();
        form->edNumSteps->setText("50");
        form->btMoreBlind->click();
        EXPECT_TRUE(ui.messages.empty()) << sample << ": " << ui.lastMessage();
        EXPECT_EQ(form->lbDt->text().toStdString(), "t  ");
    }
}
