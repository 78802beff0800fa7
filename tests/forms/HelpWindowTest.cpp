// The help window: help by name, the script launcher on the clipboard, Clear, Size and Save; and
// the numbered-sample runner driven from the Demo menu.
#include "FormTestSupport.h"
#include "support/TempFolder.h"
#include "tools/RichText.h"
#include "tools/forms/THelpForm.h"
#include "workspace/forms/TRunSamplesForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>

namespace {

class HelpWindowTest : public ProblemWindowTest {
  protected:
    void SetUp() override {
        ProblemWindowTest::SetUp();
        help = std::make_unique<THelpForm>(ui, ORVANTA_SOURCE_DIR "/");
        help->RunScript = [this](const std::string& path) { runs.push_back(path); };
    }
    void TearDown() override {
        help.reset();
        ProblemWindowTest::TearDown();
    }
    std::string shownText() const { return help->RichEdit1->toPlainText().toStdString(); }
    void writeList() {
        writeBytes(folder.path("Lorenz.scr"), "x");
        writeBytes(folder.path("list.rtf"),
                   writeRichText(plainRichText({"My scripts", "Lorenz.scr", "Gone.scr"})));
    }

    TempFolder folder;
    std::unique_ptr<THelpForm> help;
    std::vector<std::string> runs;
};

} // namespace

TEST_F(HelpWindowTest, HelpOpensByNameAndAMissingFileDoesNothing) {
    help->openHelp("NoSuchHelp.rtf");
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(ui.messages.empty());
    help->openHelp("GraphWin.rtf");
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ("Help window and script launcher", help->windowTitle().toStdString());
    EXPECT_TRUE(shownText().starts_with("The graph window\n"));
    EXPECT_TRUE(help->lbIntercept->isHidden());
    // The program-wide opener finds this window.
    EXPECT_EQ(help.get(), helpWindow());
    openHelp("SaveTable.rtf");
    EXPECT_TRUE(shownText().starts_with("Saving tables\n"));
}

TEST_F(HelpWindowTest, EveryHelpItemOfTheProblemWindowOpensItsFile) {
    int opened = 0;
    for (QAction* menu : form->menuBar()->actions()) {
        if (!menu->menu() || (menu->text() != "&Help" && menu->text() != "&Parameters"))
            continue;
        for (QAction* item : menu->menu()->actions()) {
            if (item->text() == "About" || item->text().startsWith("Order") ||
                item->text().startsWith("Convergence"))
                continue;
            help->RichEdit1->clear();
            item->trigger();
            EXPECT_FALSE(shownText().empty()) << item->text().toStdString();
            ++opened;
        }
    }
    EXPECT_EQ(11, opened);
}

TEST_F(HelpWindowTest, TheLauncherRunsACopiedNameOnceAndReportsAnUnknownOneOnce) {
    writeList();
    ui.clipboard = "something copied before";
    ASSERT_TRUE(help->loadScriptList(folder.path("list.rtf")));
    EXPECT_FALSE(help->lbIntercept->isHidden());
    EXPECT_FALSE(help->lbScrClick->isHidden());
    EXPECT_FALSE(help->cbAuto->isHidden());
    EXPECT_EQ(QTextEdit::NoWrap, help->RichEdit1->lineWrapMode());
    help->checkClipboard(); // what was there before the list is no request
    EXPECT_TRUE(ui.messages.empty());
    // While a run is under way the copied name waits, and runs once the run has ended.
    bool busy = true;
    help->Busy = [&busy] { return busy; };
    ui.clipboard = "lorenz.SCR ";
    help->checkClipboard();
    EXPECT_TRUE(runs.empty());
    busy = false;
    for (int tick = 0; tick < 3; ++tick)
        help->checkClipboard();
    EXPECT_EQ(std::vector<std::string>{folder.path("Lorenz.scr")}, runs);
    EXPECT_EQ("Lorenz.scr", help->RichEdit1->textCursor().selectedText().toStdString());
    ui.clipboard = "Mars.scr";
    for (int tick = 0; tick < 3; ++tick)
        help->checkClipboard();
    EXPECT_EQ(std::vector<std::string>{"Mars.scr not found in the list"}, ui.messages);
    ui.clipboard = "gone";
    help->checkClipboard();
    EXPECT_EQ(folder.path("Gone.scr") + " file does not exist", ui.lastMessage());
    EXPECT_EQ(1u, runs.size());
    // Auto runs the timer; Clear stops everything and hides the launcher.
    help->cbAuto->click();
    EXPECT_TRUE(help->Timer1->isActive());
    EXPECT_EQ(500, help->Timer1->interval());
    help->btClear->click();
    EXPECT_FALSE(help->Timer1->isActive());
    EXPECT_FALSE(help->cbAuto->isChecked());
    EXPECT_TRUE(help->lbIntercept->isHidden());
    EXPECT_TRUE(shownText().empty());
    EXPECT_EQ(QTextEdit::WidgetWidth, help->RichEdit1->lineWrapMode());
    ui.clipboard = "Lorenz.scr";
    help->checkClipboard();
    EXPECT_EQ(1u, runs.size());
}

TEST_F(HelpWindowTest, SizeSetsTheWholeTextAndSaveWritesRichTextThatReadsBack) {
    help->openHelp("QuickStart.rtf");
    ui.inputAnswers = {"25", "no size"};
    help->Size1Click();
    EXPECT_EQ("Changing the size|Enter size < 20|10", ui.inputPrompts.at(0));
    ui.fileAnswers = {folder.path("saved.txt")};
    help->Save1Click();
    auto saved = parseRichText(readBytes(folder.path("saved.rtf")));
    ASSERT_TRUE(saved);
    for (const RichParagraph& paragraph : *saved)
        for (const RichRun& run : paragraph.Runs)
            EXPECT_EQ(40, run.HalfPoints); // limited to 20 points
    EXPECT_EQ("Quick start", saved->front().plainText());
    EXPECT_TRUE(saved->front().Runs.front().Bold);
    help->Size1Click(); // an answer that is no number changes nothing
    ui.fileAnswers = {folder.path("again.rtf")};
    help->Save1Click();
    EXPECT_EQ(saved, parseRichText(readBytes(folder.path("again.rtf"))));
}

TEST_F(HelpWindowTest, TheRunnerRunsAFreeFallOrbitByNumberOverOnePeriod) {
    for (QAction* menu : form->menuBar()->actions())
        if (menu->text() == "&Demo")
            for (QAction* bodies : menu->menu()->actions())
                if (bodies->text() == "3 bodies")
                    for (QAction* sub : bodies->menu()->actions())
                        if (sub->text() == "Periodic (free fall)")
                            sub->menu()->actions().back()->trigger();
    auto* runner = form->findChild<TRunSamplesForm*>();
    ASSERT_TRUE(runner);
    EXPECT_EQ("Simulations by Li and Liao (2019), free fall, equal masses",
              runner->windowTitle().toStdString());
    EXPECT_EQ("Enter number of the sample to run between 1 and 30",
              runner->lbNumber->text().toStdString());
    runner->UpDown1->setValue(18);
    runner->btRunClick();
    EXPECT_EQ(std::vector<std::string>{"The terminal point reached and unchecked"}, ui.messages);
    EXPECT_EQ("Li and Liao (2019), free fall, equal masses #18 (F18(1,1,1))",
              form->windowTitle().toStdString());
    EXPECT_EQ("a = 0.2104156341 { period 5.3952449725, type F18(1,1,1)}",
              form->REditConst->toPlainText().split('\n').at(1).toStdString());
    EXPECT_TRUE(form->compiledProblem().Compiled);
    EXPECT_EQ(5.3952449725L, form->compiledProblem().CurrentIndep);
    EXPECT_EQ(3, form->LBoxCurves->count());
    EXPECT_EQ("5000", form->edArrLen->text().toStdString());
}
