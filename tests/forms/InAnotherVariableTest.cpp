// "Create in another variable...": the variable chosen on either page, every refusal, and the
// new window beside the old one, compiled, with the error control and tolerances taken over.
#include "FormTestSupport.h"

#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>

class InAnotherVariableTest : public ProblemWindowTest {
  protected:
    void compile(const std::string& initial, const std::string& odes) {
        type(form->REditInit, initial);
        type(form->REditODEs, odes);
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
    // Selects the first character of a pane's line, the pane focused.
    static void selectLine(QPlainTextEdit* pane, int line) {
        pane->setFocus();
        QTextCursor cursor(pane->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
    }
    TProblForm* created() const {
        return windows.all().size() > 1 ? windows.all().back() : nullptr;
    }
};

TEST_F(InAnotherVariableTest, TheOscillatorInXOpensCompiledBesideWithTheSettings) {
    compile("t = 0\nx = 0.5\ny = 1", "t' = 1\nx' = y {velocity}\ny' = -x");
    form->rgErrorControl->button(0)->click();
    form->sgParameters->setCell(4, 3, "1e-14");
    form->sgParameters->setCell(5, 2, "1e-12");
    form->move(120, 90);
    selectLine(form->REditODEs, 1);
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Do you want to create ODEs in independent variable x"});
    TProblForm* window = created();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "Problem in x");
    EXPECT_EQ(window->pos(), QPoint(135, 105));
    EXPECT_TRUE(window->compiledProblem().Compiled);
    EXPECT_EQ(window->compiledProblem().IndepName, "x");
    EXPECT_EQ(text(window->REditODEs),
              "t' = xNewStateVarFactor\nx' = 1\ny' = (-x)*xNewStateVarFactor");
    EXPECT_EQ(text(window->REditAux), "xNewStateVarFactor = 1/y");
    EXPECT_EQ(window->rgErrorControl->itemIndex(), 0);
    EXPECT_EQ(window->sgParameters->cell(4, 3), "1e-14");
    EXPECT_EQ(window->sgParameters->cell(5, 2), "1e-12");
    EXPECT_EQ(window->PageControl1->currentIndex(), TProblForm::EquationsPage);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(text(form->REditODEs), "t' = 1\nx' = y {velocity}\ny' = -x") << "source untouched";

    // From the new window, on its integration page, by the grid's row; it is no main window.
    ui.messages.clear();
    window->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    window->sgParameters->setCurrentCell(2, 1); // the row of y
    window->InAnotherVariable1->trigger();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "ODEs \"Problem in x\" are not first opened.\n\rODEs to be created "
                              "may be not optimal");
    EXPECT_EQ(ui.messages[1], "Do you want to create ODEs in independent variable y");
    ASSERT_EQ(windows.all().size(), 3u);
    EXPECT_EQ(text(created()->REditAux),
              "xNewStateVarFactor = 1/y\nyNewStateVarFactor = 1/((-x)*xNewStateVarFactor)");
}

TEST_F(InAnotherVariableTest, EveryRefusalLeavesNoNewWindow) {
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.lastMessage(), "First compile the current problem");
    ui.messages.clear();
    compile("t = 0\nu = 0\nw = 1", "t' = 1\nu' = 2\nw' = u");

    ui.messages.clear();
    form->REditODEs->setFocus();
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.lastMessage(), "No variable selected in ODEs");

    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    form->sgParameters->setCurrentCell(-1, -1); // the header row
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.lastMessage(), "No variable selected");

    form->PageControl1->setCurrentIndex(TProblForm::DebuggingPage);
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.lastMessage(), "First choose variable in ODEs on \"Equations\" page ");

    form->PageControl1->setCurrentIndex(TProblForm::EquationsPage);
    selectLine(form->REditInit, 1); // the initial-values pane names the same variable
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.lastMessage(), "A change for a linear variable makes no sense");

    ui.confirmAnswers = {false};
    selectLine(form->REditODEs, 2);
    form->InAnotherVariable1->trigger();
    EXPECT_EQ(ui.lastMessage(), "Do you want to create ODEs in independent variable w");
    EXPECT_EQ(windows.all().size(), 1u);
}
