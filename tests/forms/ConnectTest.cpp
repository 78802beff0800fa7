// Several problem windows: Open To Connect with its test of connectibility, the headers and the
// list that several windows show, and the rules by which connected windows close.
#include "FormTestSupport.h"

#include "common/TextFile.h"
#include "support/Paths.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "support/TempFolder.h"

#include <filesystem>

class ConnectTest : public ProblemWindowTest {
  protected:
    void SetUp() override {
        ProblemWindowTest::SetUp();
        folder = temp.folder();
    }

    std::string writeProblem(const std::string& name, const std::string& text) {
        std::string path = (folder / name).string();
        EXPECT_TRUE(writeFileAtomically(path, text));
        return path;
    }
    // The oscillator in the main window, compiled.
    void compileMainOscillator() {
        type(form->REditInit, "t = 0\nx = 1\ny = 0");
        type(form->REditODEs, "t' = 1\nx' = y\ny' = -x");
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
    TProblForm* connect(const std::string& path) {
        ui.fileAnswers = {path};
        form->Opentoconnect1->trigger();
        return windows.all().size() > 1 ? windows.all().back() : nullptr;
    }
    static std::string header(TProblForm* window, int column) {
        return window->sgParameters->cell(column, 0);
    }

    TempFolder temp;
    std::filesystem::path folder;
};

TEST_F(ConnectTest, AConnectedProblemTakesTheSettingsAndBothShowTheSeveralWindowHeaders) {
    compileMainOscillator();
    EXPECT_EQ(header(form.get(), 3), "Their difference");
    form->rgErrorControl->button(1)->click();
    form->edCurRadFactor->setText("0.25");
    form->sgParameters->setCell(4, 2, "1e-12");
    form->sgParameters->setCell(5, 3, "1e-10");
    form->move(100, 80);

    TProblForm* second = connect(writeProblem(
        "damped.ode", "[Main variables]\r\nt = 0\r\nx = 2\r\ny = 0\r\n\r\n[ODEs]\r\nt' = "
                      "1\r\nx' = y\r\ny' = -x - y/10\r\n"));
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_TRUE(second->compiledProblem().Compiled);
    EXPECT_EQ(second->pos(), form->pos() + QPoint(15, 15));
    EXPECT_EQ(second->PageControl1->currentIndex(), TProblForm::IntegrationPage);
    EXPECT_EQ(second->rgErrorControl->itemIndex(), 1);
    EXPECT_EQ(second->edCurRadFactor->text().toStdString(), "0.25");
    EXPECT_EQ(second->sgParameters->cell(4, 2), "1e-12");
    EXPECT_EQ(second->sgParameters->cell(5, 3), "1e-10");
    EXPECT_EQ(second->sgParameters->cell(4, 1), "");
    EXPECT_TRUE(second->btApplyStrGrid->isEnabled()) << "the tolerances are read before a run";

    EXPECT_EQ(header(form.get(), 1), "First Initial values");
    EXPECT_EQ(header(second, 1), "Connected values");
    EXPECT_EQ(header(form.get(), 3), "Current - First");
    EXPECT_EQ(header(second, 3), "Current - First");
    EXPECT_EQ(form->Panel2->text().toStdString(), "Primary problem");
    EXPECT_EQ(second->Panel2->text().toStdString(), "Secondary problem");
    // The difference column reads against the main problem's initial values.
    EXPECT_EQ(second->sgParameters->cell(3, 2), "1");

    ASSERT_EQ(form->LBoxAllProbl->count(), 2);
    EXPECT_EQ(form->LBoxAllProbl->item(0)->text().toStdString(), "Unnamed ODEs (Primary) (Active)");
    EXPECT_EQ(form->LBoxAllProbl->item(1)->text().toStdString(), "damped");
    EXPECT_FALSE(form->gbAllProbl->isHidden());
    EXPECT_TRUE(form->lbNotCurrentProblem->isHidden());
    EXPECT_FALSE(second->lbNotCurrentProblem->isHidden());
    EXPECT_FALSE(second->btMoreBlind->isEnabled()) << "only the integrated window runs";

    // Closing the connected window brings back the headers of one window.
    second->close();
    EXPECT_EQ(windows.all().size(), 1u);
    EXPECT_EQ(header(form.get(), 3), "Their difference");
    EXPECT_EQ(header(form.get(), 1), "Initial values");
    EXPECT_TRUE(form->gbAllProbl->isHidden());
}

TEST_F(ConnectTest, ProblemsWithOtherVariablesAreNotConnectible) {
    compileMainOscillator();
    std::string renamed = writeProblem(
        "renamed.ode", "[Main variables]\r\nt = 0\r\nu = 1\r\nv = 0\r\n\r\n[ODEs]\r\nt' = "
                       "1\r\nu' = v\r\nv' = -u\r\n");
    EXPECT_EQ(connect(renamed), nullptr);
    EXPECT_EQ(ui.lastMessage(), "Not Connectible");
    EXPECT_EQ(header(form.get(), 3), "Their difference");

    ui.messages.clear();
    std::string fewer =
        writeProblem("fewer.ode", "[Main variables]\r\nt = 0\r\nx = 1\r\n\r\n[ODEs]\r\nt' = "
                                  "1\r\nx' = -x\r\n");
    EXPECT_EQ(connect(fewer), nullptr);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Not Connectible"});
}

TEST_F(ConnectTest, BothProblemsMustBeCompiled) {
    type(form->REditInit, "x = 1");
    type(form->REditODEs, "x' = -x");
    std::string path =
        writeProblem("decay.ode", "[Main variables]\r\nx = 1\r\n\r\n[ODEs]\r\nx' = -x\r\n");
    // The menu offers the command only for a compiled problem; the test stands behind that.
    ui.fileAnswers = {path};
    form->Opentoconnect1Click();
    EXPECT_EQ(ui.lastMessage(), "Unnamed ODEs and decay must be compiled both");
    EXPECT_FALSE(form->Opentoconnect1->isEnabled());
}

TEST_F(ConnectTest, AConnectedProblemThatFailsToCompileStaysOpenWithItsError) {
    compileMainOscillator();
    TProblForm* second = connect(writeProblem(
        "broken.ode", "[Main variables]\r\nt = 0\r\nx = 1\r\ny = 0\r\n\r\n[ODEs]\r\nt' = "
                      "1\r\nx' = y\r\ny' = -qq\r\n"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ui.lastMessage(), "qq not defined yet");
    EXPECT_FALSE(second->compiledProblem().Compiled);
    EXPECT_EQ(second->REditODEs->textCursor().selectedText().toStdString(), "qq");
}

TEST_F(ConnectTest, ConnectedWindowsCloseWhenTheMainWindowClearsOrOpens) {
    compileMainOscillator();
    std::string damped = writeProblem(
        "damped.ode", "[Main variables]\r\nt = 0\r\nx = 2\r\ny = 0\r\n\r\n[ODEs]\r\nt' = "
                      "1\r\nx' = y\r\ny' = -x - y/10\r\n");
    ASSERT_NE(connect(damped), nullptr);
    // Opening from the connected window is the main window's Open.
    TProblForm* second = windows.all().back();
    ui.fileAnswers = {damped};
    second->Open1->trigger();
    EXPECT_EQ(windows.all().size(), 1u);
    EXPECT_EQ(form->windowTitle().toStdString(), "damped");

    form->Compile1->trigger();
    ASSERT_NE(connect(damped), nullptr);
    form->Clear1->trigger();
    EXPECT_EQ(windows.all().size(), 1u);
    EXPECT_EQ(header(form.get(), 3), "Their difference");
}

TEST_F(ConnectTest, ClickingAnEntryOfTheListBringsItsWindowToTheFront) {
    compileMainOscillator();
    ASSERT_NE(connect(writeProblem("twin.ode", "[Main variables]\r\nt = 0\r\nx = 3\r\ny = "
                                               "0\r\n\r\n[ODEs]\r\nt' = 1\r\nx' = y\r\ny' = "
                                               "-x\r\n")),
              nullptr);
    TProblForm* second = windows.all().back();
    second->hide();
    form->LBoxAllProbl->setCurrentRow(1);
    emit form->LBoxAllProbl->itemClicked(form->LBoxAllProbl->item(1));
    EXPECT_TRUE(second->isVisible());
}
