// The "Graph setting" page: its tab, choosing a curve axis by axis, the generator, deleting,
// Clear and Previous.
#include "FormTestSupport.h"

#include "support/Paths.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

std::vector<std::string> items(const QListWidget* list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list->count(); ++i)
        texts.push_back(list->item(i)->text().toStdString());
    return texts;
}

void pressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
}

// Lets the window's events run until `done` holds (or a generous while has passed).
template <typename Condition> bool waitFor(Condition done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

class CurvePageTest : public ProblemWindowTest {
  protected:
    void compileFigureEight() {
        typeProblem(problemPath("figure8.ode"));
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
    // Row of a variable in the grid (1-based, below the header).
    int row(const std::string& name) const {
        for (int r = 1; r < form->sgFuncSel->rowCountWithHeader(); ++r)
            if (form->sgFuncSel->cell(0, r) == name)
                return r;
        return -1;
    }
    void click(int gridRow, int column) { emit form->sgFuncSel->cellClicked(gridRow - 1, column); }
};

TEST_F(CurvePageTest, TheTabShowsOnceCompiledAndGraphWaitsForCurves) {
    EXPECT_FALSE(form->PageControl1->isTabVisible(TProblForm::GraphPage));
    compileFigureEight();
    EXPECT_TRUE(form->PageControl1->isTabVisible(TProblForm::GraphPage));
    EXPECT_FALSE(form->Graph1->isEnabled());
    EXPECT_FALSE(form->btGraph->isEnabled());
    EXPECT_TRUE(form->rb3D->isEnabled());
    EXPECT_EQ(form->lbXYZ->text().toStdString(), "Curves {x(t), y(t)}");
    EXPECT_EQ(form->sgFuncSel->columnCount(), 3);
    EXPECT_EQ(form->sgFuncSel->cell(1, 0), "X axis");
    EXPECT_EQ(form->sgFuncSel->cell(2, 0), "Y axis");
    // Main variables first, then the auxiliary ones, whose axis cells wear the tooltip colour.
    EXPECT_EQ(form->sgFuncSel->cell(0, 1), "t");
    EXPECT_EQ(form->sgFuncSel->cell(0, 14), "dx12");
    const QBrush tooltip = QApplication::palette().toolTipBase();
    EXPECT_EQ(form->sgFuncSel->item(13, 1)->background(), tooltip);
    EXPECT_NE(form->sgFuncSel->item(12, 1)->background(), tooltip);

    form->btXYZcurve->click();
    EXPECT_TRUE(form->Graph1->isEnabled());
    EXPECT_TRUE(form->btGraph->isEnabled());

    type(form->REditConst, " ");
    EXPECT_FALSE(form->PageControl1->isTabVisible(TProblForm::GraphPage));
}

TEST_F(CurvePageTest, TheGeneratorPairsNumberedNamesAndCompilingAgainForgetsThem) {
    compileFigureEight();
    form->btXYZcurve->click();
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(items(form->LBoxCurves),
              (std::vector<std::string>{"{x1, y1}", "{x2, y2}", "{x3, y3}"}));
    ASSERT_EQ(state.Curves.count(), 3);
    EXPECT_EQ(state.Curves.Curves[2].X, 5);
    EXPECT_EQ(state.Curves.Curves[2].Y, 6);

    form->Compile1->trigger();
    EXPECT_TRUE(items(form->LBoxCurves).empty());
    EXPECT_EQ(state.Curves.count(), 0);
}

TEST_F(CurvePageTest, ChoosingXThenYAddsOneCurveAfterAPause) {
    compileFigureEight();
    click(row("vx1"), 1);
    EXPECT_EQ(form->sgFuncSel->cell(1, row("vx1")), "vx1");
    click(row("x2"), 1); // a second choice for X replaces the first
    EXPECT_EQ(form->sgFuncSel->cell(1, row("vx1")), "");
    EXPECT_EQ(form->sgFuncSel->cell(1, row("x2")), "x2");
    click(row("r12"), 2);
    EXPECT_EQ(form->sgFuncSel->cell(2, row("r12")), "r12");
    EXPECT_TRUE(items(form->LBoxCurves).empty()) << "the last choice stays in view first";

    ASSERT_TRUE(waitFor([&] { return form->LBoxCurves->count() == 1; }));
    EXPECT_EQ(items(form->LBoxCurves), std::vector<std::string>{"{x2, r12}"});
    EXPECT_EQ(form->sgFuncSel->cell(1, row("x2")), "");
    EXPECT_EQ(form->sgFuncSel->cell(2, row("r12")), "");
    EXPECT_EQ(state.Curves.Curves[0].Y, row("r12") - 1);
    EXPECT_TRUE(form->sgFuncSel->isEnabled());

    // The name column takes no choice.
    click(row("x1"), 0);
    EXPECT_EQ(form->sgFuncSel->cell(1, row("x1")), "");
}

TEST_F(CurvePageTest, CtrlDelDeletesTheChosenCurveAndEscDropsTheChoice) {
    compileFigureEight();
    form->btXYZcurve->click();
    form->LBoxCurves->setCurrentRow(1);
    pressKey(form->LBoxCurves, Qt::Key_Delete); // without Ctrl nothing goes
    EXPECT_EQ(form->LBoxCurves->count(), 3);
    pressKey(form->LBoxCurves, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(items(form->LBoxCurves), (std::vector<std::string>{"{x1, y1}", "{x3, y3}"}));
    EXPECT_EQ(state.Curves.Curves[1].X, 5);

    form->LBoxCurves->setCurrentRow(0);
    pressKey(form->LBoxCurves, Qt::Key_Escape);
    EXPECT_TRUE(form->LBoxCurves->selectedItems().empty());
    pressKey(form->LBoxCurves, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(form->LBoxCurves->count(), 2) << "nothing chosen, nothing deleted";

    form->btGrClear->click();
    EXPECT_EQ(form->LBoxCurves->count(), 0);
    EXPECT_EQ(state.Curves.count(), 0);
    EXPECT_FALSE(form->btGraph->isEnabled());
}
