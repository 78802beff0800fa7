// What the problem window shows after its commands: enabled states that follow the compiled
// state, the cleared instruction choice, what Clear and the clipboard file leave behind.
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
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <optional>

namespace {

// Remembers the name every save dialog offered.
class ProposalUi : public FakeUi {
  public:
    std::vector<std::string> proposals;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override {
        proposals.push_back(proposal);
        return FakeUi::saveFile(title, filter, proposal);
    }
};

} // namespace

class RefreshTest : public ProblemWindowTest {
  protected:
    void compileLorenz() {
        typeProblem(problemPath("lorenz.ode"));
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
};

TEST_F(RefreshTest, AnEditAfterCompilingDisablesTheCommandsOfACompiledProblem) {
    compileLorenz();
    ASSERT_TRUE(form->Save1->isEnabled()) << "the typed problem counts as modified";
    ASSERT_TRUE(form->btMoreBlind->isEnabled());

    type(form->REditODEs, " ");
    EXPECT_FALSE(form->compiledProblem().Compiled);
    EXPECT_FALSE(form->btMoreBlind->isEnabled());
    EXPECT_FALSE(form->btRestart->isEnabled());
    EXPECT_FALSE(form->btCurToInit->isEnabled());
    EXPECT_FALSE(form->btCurToClip->isEnabled());
    EXPECT_FALSE(form->Opentoconnect1->isEnabled());
    EXPECT_EQ(form->lbConvRad->text().toStdString(), "Not compiled yet                ");
}

TEST_F(RefreshTest, ARefreshClearsTheChosenInstructionWithItsLabels) {
    compileLorenz();
    form->PageControl1->setCurrentIndex(TProblForm::DebuggingPage);
    // The names, padded to ten characters, stand at the right edge of their column.
    EXPECT_EQ(form->sgDebug->cell(1, 2), "       rho");
    EXPECT_TRUE(form->sgDebug->item(1, 1)->textAlignment() & Qt::AlignRight);
    form->lboxInstructions->setCurrentRow(0);
    form->lboxInstructions->itemClicked(form->lboxInstructions->item(0));
    ASSERT_FALSE(form->stDebugInstr->text().isEmpty());

    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    EXPECT_TRUE(form->stDebugInstr->text().isEmpty());
    EXPECT_TRUE(form->lbDebugInstr->text().isEmpty());
    EXPECT_TRUE(form->lboxInstructions->selectedItems().isEmpty());
}

TEST_F(RefreshTest, ClearWithdrawsTheRadiusLimitAtTheSpecialPoint) {
    form->AssumeconvradiusAsRadiuslimit1->trigger();
    ASSERT_TRUE(state.AssumeRadiusLimit);
    form->Clear1->trigger();
    EXPECT_FALSE(form->AssumeconvradiusAsRadiuslimit1->isChecked());
    EXPECT_FALSE(state.AssumeRadiusLimit);
    EXPECT_EQ(form->windowTitle().toStdString(), "Unnamed");
}

TEST(SaveDialogName, SaveAsOffersTheProblemsFileOrUnnamedAfterClear) {
    testApplication();
    TempFolder temp;
    const std::string path = (temp.folder() / "decay.ode").string();
    ProposalUi ui;
    WorkspaceState state;
    ProblemWindows windows;
    TProblForm form(windows, ui, state);

    form.REditInit->setPlainText("x = 1");
    form.REditODEs->setPlainText("x' = -x");
    ui.fileAnswers = {path};
    form.SaveAs1->trigger();
    ui.fileAnswers = {std::nullopt};
    form.SaveAs1->trigger();
    form.Clear1->trigger();
    ui.fileAnswers = {std::nullopt};
    form.SaveAs1->trigger();
    EXPECT_EQ(ui.proposals, (std::vector<std::string>{"", path, "Unnamed"}));
}

TEST_F(RefreshTest, TakingClipboardValuesIntoAProblemNotCompiledSaysSo) {
    TempFolder temp;
    windows.programFolder = temp.folder().string() + "/";
    compileLorenz();
    form->btCurToClip->click();
    ASSERT_TRUE(form->btClipToInit->isEnabled());
    type(form->REditODEs, " ");
    ui.messages.clear();
    form->btClipToInit->click();
    EXPECT_EQ(ui.lastMessage(), "Compile the problem before taking the clipboard values");
    EXPECT_EQ(form->StaticTextClipBoard->text().toStdString(), "Clipboard: Unnamed ODEs");
}

TEST_F(RefreshTest, CompilingEmptiesTheTerminalValueAndUnchecksTermination) {
    compileLorenz();
    form->edEndTime->setText("2");
    form->cbTermination->click();
    ASSERT_TRUE(form->cbTermination->isChecked());
    ASSERT_TRUE(form->lbUntilReached->isEnabled());

    form->Compile1->trigger();
    EXPECT_EQ(form->edEndTime->text().toStdString(), "");
    EXPECT_FALSE(form->cbTermination->isChecked());
    EXPECT_FALSE(form->lbUntilReached->isEnabled());
    EXPECT_FALSE(form->compiledProblem().TermArmed);
}

TEST_F(RefreshTest, ApplyIsOfferedOnlyForACompiledProblem) {
    form->sgParameters->setCell(4, 1, "1e-9");
    form->rgErrorControl->button(0)->click();
    EXPECT_FALSE(form->btApplyStrGrid->isEnabled()) << "there is nothing to apply it to";

    compileLorenz();
    form->rgErrorControl->button(0)->click();
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled());
}
