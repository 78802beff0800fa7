// Scripts in the problem window: the command-line script, Load Script, Save Script and what it
// keeps of the graph, and the script's path or command line on the clipboard.
#include "GraphWindowSupport.h"

#include "common/TextFile.h"
#include "support/Paths.h"
#include "workspace/ScriptFile.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "support/TempFolder.h"

#include <filesystem>

namespace {

const char* const OscillatorProblem = "[Constants]\r\nw = 2\r\n\r\n[Main variables]\r\nt = "
                                      "0\r\nx = 1\r\ny = 0\r\n\r\n[Aux variables]\r\nv = "
                                      "-w*x\r\n\r\n[ODEs]\r\nt' = 1\r\nx' = y\r\ny' = w*v\r\n\r\n";

// A script as the graph window writes it: two curves, graph fields, colours, turns, figure.
std::string oscillatorScript(const std::string& problemName, int steps) {
    return std::string(ScriptMagic) + "\r\n" + problemName +
           "\r\n0.25 21\r\n2 0 0 2\r\n2\r\n2\r\n0 1 0\r\n1 2 0\r\n{t, x}\r\n{x, y}\r\n100 4\r\n" +
           std::to_string(steps) +
           "\r\n-1\r\n10\r\n-1.5\r\n1.5\r\n0\r\n0\r\n0.01\r\n255\r\n65280\r\n " +
           "1.00000000000000E-0001  2.00000000000000E-0001  0.00000000000000E+0000\r\n3 2\r\n";
}

} // namespace

// The program always has its graph window, which a script with curves opens.
class ScriptTest : public GraphWindowTest {
  protected:
    void SetUp() override {
        GraphWindowTest::SetUp();
        folder = temp.folder();
        std::filesystem::create_directories(folder / "again");
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }
    void write(const std::string& name, const std::string& text) {
        ASSERT_TRUE(writeFileAtomically(file(name), text));
    }

    TempFolder temp;
    std::filesystem::path folder;
};

TEST_F(ScriptTest, AScriptOnTheCommandLineLoadsCompilesAndIntegratesItsProblem) {
    write("osc.ode", OscillatorProblem);
    write("osc.scr", oscillatorScript("osc.ode", 40));
    windows.pendingStartupFile = file("osc.scr");
    form->openPendingStartupFile();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();

    EXPECT_EQ(form->windowTitle().toStdString(), "osc");
    EXPECT_EQ(text(form->REditODEs), "t' = 1\nx' = y\ny' = w*v");
    EXPECT_TRUE(form->compiledProblem().Compiled);
    EXPECT_EQ(state.TermCount, 21);
    EXPECT_EQ(form->lbDifOrder->text().toStdString(), "Order of differentiation:  20");
    EXPECT_EQ(form->edCurRadFactor->text().toStdString(), "0.25");
    EXPECT_EQ(state.RadFactor, 0.25L);
    EXPECT_TRUE(form->rbRadians->isChecked());
    EXPECT_EQ(form->rgConvergence->itemIndex(), 2);
    EXPECT_EQ(form->edArrLen->text().toStdString(), "100");
    EXPECT_TRUE(form->cbResultArray->isChecked());
    EXPECT_TRUE(form->cbAuxVarsToo->isChecked()) << "4 values per point: t, x, y and v";
    EXPECT_EQ(form->edNumSteps->text().toStdString(), "40");
    EXPECT_EQ(form->PageControl1->currentIndex(), TProblForm::IntegrationPage);

    EXPECT_EQ(state.StepIndex, 40);
    // The script's curves are drawn as the graph window integrates.
    EXPECT_TRUE(graph->isVisible());
    EXPECT_EQ(form->lbHowMany->text().toStdString(), "40 of 40  (0 step splits). Total: 40 ");
    // x'' = -4x from x = 1: the stored point agrees with cos 2t.
    const TCompiledProblem& problem = form->compiledProblem();
    Extended t = problem.CurrentIndep;
    Extended x = problem.Coefficients[problem.NumConst + 1][0];
    EXPECT_NEAR(static_cast<double>(x), std::cos(2 * static_cast<double>(t)), 1e-12);
    EXPECT_TRUE(windows.pendingStartupFile.empty()) << "the start-up file is opened once";
}

TEST_F(ScriptTest, ABackwardScriptShowsAndIntegratesBackward) {
    write("osc.ode", OscillatorProblem);
    std::string script = oscillatorScript("osc.ode", 5);
    script.replace(script.find("2 0 0 2"), 7, "2 1 0 2");
    write("back.scr", script);
    form->runScript(file("back.scr"), true);
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->rgDirection->itemIndex(), 1);
    EXPECT_EQ(form->lbIncrease->text().toStdString(), " decreases");
    EXPECT_LT(form->compiledProblem().CurrentIndep, 0);

    ui.fileAnswers = {file("again/back.scr")};
    form->Savescript1->trigger();
    ScriptRecord record = readScriptText(readWholeFile(file("again/back.scr")).value_or(""));
    EXPECT_EQ(record.Direction, 1);
}

TEST_F(ScriptTest, ABareScriptNameIsTakenFromTheSamplesFolder) {
    form->runScript("Pendulum.scr", false);
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->windowTitle().toStdString(), "Pendulum");
    EXPECT_TRUE(form->compiledProblem().Compiled);
    EXPECT_GT(state.StepIndex, 0);
}

TEST_F(ScriptTest, AScriptReadAndSavedAgainLosesNothing) {
    write("osc.ode", OscillatorProblem);
    std::string original = oscillatorScript("osc.ode", 12);
    write("osc.scr", original);
    ui.fileAnswers = {file("osc.scr")};
    form->Openscript1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    ASSERT_TRUE(form->Savescript1->isEnabled());

    ui.fileAnswers = {file("again/osc.scr")};
    form->Savescript1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(readWholeFile(file("again/osc.scr")).value_or(""), original);
    EXPECT_EQ(readWholeFile(file("again/osc.ode")).value_or(""), OscillatorProblem);
    EXPECT_EQ(form->windowTitle().toStdString(), "osc");
}

TEST_F(ScriptTest, SaveScriptRecordsTheWindowAndLoadScriptRunsItAgain) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    form->edArrLen->setText("50");
    form->cbResultArray->click();
    form->edNumSteps->setText("10");
    form->btMoreBlind->click();
    form->rgErrorControl->button(0)->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();

    ui.fileAnswers = {file("lorenz.txt")};
    form->Savescript1->trigger();
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Only \"No error control\" mode allowed in saved scripts"});
    auto script = readWholeFile(file("lorenz.scr"));
    ASSERT_TRUE(script.has_value());
    ScriptRecord record = readScriptText(*script);
    EXPECT_EQ(record.ProblemName, "lorenz.ode");
    EXPECT_EQ(record.ErrorControl, NoErrorControlItem);
    EXPECT_EQ(record.TermCount, 31);
    EXPECT_EQ(record.AngleUnit, 1);
    EXPECT_EQ(record.ResultsLength, 50);
    EXPECT_EQ(record.ValuesPerPoint, 4);
    EXPECT_EQ(record.GraphSteps, 10);
    EXPECT_TRUE(record.Curves.empty());

    ui.messages.clear();
    ui.fileAnswers = {file("lorenz.scr")};
    form->Openscript1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->rgErrorControl->itemIndex(), NoErrorControlItem);
    EXPECT_EQ(state.StepIndex, 10);
    EXPECT_EQ(text(form->REditODEs).substr(0, 4), "t' =");
}

TEST_F(ScriptTest, ABrokenScriptOrProblemIsReported) {
    write("old.scr", std::string(ScriptMagic) + " \r\nosc.ode\r\n");
    form->runScript(file("old.scr"), true);
    EXPECT_EQ(ui.lastMessage(), "Incompatible script version");

    write("short.scr", std::string(ScriptMagic) + "\r\nosc.ode\r\n0.5 31\r\n");
    form->runScript(file("short.scr"), true);
    EXPECT_EQ(ui.lastMessage(), "Not enough data in script file");

    form->runScript(file("none.scr"), true);
    EXPECT_EQ(ui.lastMessage(), "Cannot open script file " + file("none.scr"));

    write("lost.scr", oscillatorScript("lost.ode", 5));
    form->runScript(file("lost.scr"), true);
    EXPECT_EQ(ui.lastMessage(), "No file " + file("lost.ode"));

    // A problem that does not compile stays in the panes, not compiled.
    write("bad.ode", "[Main variables]\r\nx = 1\r\n\r\n[ODEs]\r\nx' = qq\r\n");
    write("bad.scr", oscillatorScript("bad.ode", 5));
    ui.messages.clear();
    form->runScript(file("bad.scr"), true);
    EXPECT_EQ(ui.lastMessage(), "Compilation failed");
    EXPECT_EQ(text(form->REditODEs), "x' = qq");
    EXPECT_FALSE(form->compiledProblem().Compiled);
    EXPECT_EQ(state.StepIndex, 0);
}

TEST_F(ScriptTest, TheClipboardGetsTheScriptPathOrCommandLineOnceThereIsOne) {
    form->Scriptpath1->trigger();
    EXPECT_EQ(ui.lastMessage(), "First save a script");
    form->Scriptcommandline1->trigger();
    EXPECT_EQ(ui.lastMessage(), "First save a script");
    EXPECT_FALSE(form->Savetoclipboard1->isEnabled());

    write("osc.ode", OscillatorProblem);
    write("osc.scr", oscillatorScript("osc.ode", 3));
    form->runScript(file("osc.scr"), true);
    ASSERT_TRUE(form->Savetoclipboard1->isEnabled());
    form->Scriptpath1->trigger();
    EXPECT_EQ(ui.clipboard, file("osc.scr"));
    form->Scriptcommandline1->trigger();
    EXPECT_EQ(ui.clipboard, windows.programFolder + "test_forms  " + file("osc.scr"));
}
