// The graph window as a user drives it: opened from the curve page, More, Apply with a bad
// bound, the boundary texts after Adjust and zoom, Esc during More, and a new initial value
// placed with the mouse.
#include "GraphWindowSupport.h"

#include "integrator/ResultsArray.h"
#include "support/Paths.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <utility>

#include <cmath>

namespace {

// Pixels of one colour (0xRRGGBB) in a picture.
int countColour(const QImage& picture, QRgb colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += (picture.pixel(x, y) & 0xffffff) == colour;
    return count;
}

} // namespace

TEST_F(GraphWindowTest, GraphOpensFittedToTheCurvesAndMoreDrawsThem) {
    openFigureEight();
    EXPECT_TRUE(graph->isVisible());
    // Nothing was stored: opening made the array and integrated ten steps without drawing.
    EXPECT_EQ(form->edArrLen->text().toStdString(), "1000");
    EXPECT_TRUE(form->cbAuxVarsToo->isChecked());
    EXPECT_EQ(state.StepIndex, 10);
    EXPECT_EQ(graph->lbZoom->text().toStdString(), "91%");
    EXPECT_EQ(graph->windowTitle().toStdString(), "figure8,  independent variable t    increases");
    EXPECT_FALSE(graph->btApplyKeyBoard->isEnabled());
    EXPECT_TRUE(graph->btMore->isEnabled());
    EXPECT_TRUE(graph->btPlay->isEnabled());

    graph->edSteps->setText("200");
    graph->btMore->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(state.StepIndex, 210);
    EXPECT_EQ(graph->lbSteps->text().toStdString(), "steps");
    EXPECT_EQ(graph->lbTotal->text().toStdString(), "210 steps of 210");

    // The three bodies' trails are on the picture in their palette colours.
    const QImage picture = graph->picture();
    EXPECT_GT(countColour(picture, 0x000000), 50);
    EXPECT_GT(countColour(picture, 0xff0000), 50);
    EXPECT_GT(countColour(picture, 0x0000ff), 50);

    graph->edSteps->setText("ten");
    graph->btMore->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong number");
}

TEST_F(GraphWindowTest, ApplyRefusesABadBoundAndKeepsThePicture) {
    openFigureEight();
    typeBound(graph->edXmin, "abc");
    EXPECT_TRUE(graph->btApplyKeyBoard->isEnabled());
    EXPECT_FALSE(graph->btMore->isEnabled());
    graph->btApplyKeyBoard->click();
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"\" abc \" is not a valid value", "Wrong bounderies"}));

    ui.messages.clear();
    typeBound(graph->edXmin, "2");
    typeBound(graph->edXmax, "1");
    graph->btApplyKeyBoard->click();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"2 >= 1", "Wrong bounderies"}));

    ui.messages.clear();
    typeBound(graph->edXmin, "-2");
    typeBound(graph->edXmax, "2");
    typeBound(graph->edYmin, "-1/2");
    typeBound(graph->edYmax, "0.5");
    graph->btApplyKeyBoard->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(graph->lbZoom->text().toStdString(), "100%");
    // 4 wide and 1 high is flatter than a third: the height grows to 4/3 about its centre.
    EXPECT_EQ(graph->edYmin->text().toStdString(), "-0.6667");
    EXPECT_EQ(graph->edYmin->toolTip().toStdString(), "-0.666666666666666667");
    EXPECT_EQ(graph->edYmax->text().toStdString(), "0.6667");
    EXPECT_FALSE(graph->btApplyKeyBoard->isEnabled());
    EXPECT_TRUE(graph->btMore->isEnabled());
    // The window shows the redrawn trails, not just the bullets.
    graph->edSteps->setText("100");
    graph->btMore->click();
    graph->btApplyKeyBoard->setEnabled(true);
    graph->btApplyKeyBoard->click();
    EXPECT_GT(countColour(graph->PaintBox1->grab().toImage(), 0xff0000), 50);
}

TEST_F(GraphWindowTest, OutThenInComesBackToTheSameBounds) {
    openFigureEight();
    typeBound(graph->edXmin, "-1e-7");
    typeBound(graph->edXmax, "3e-7");
    typeBound(graph->edYmin, "-2e-7");
    typeBound(graph->edYmax, "1e-7");
    graph->btApplyKeyBoard->click();
    EXPECT_EQ(graph->edXmin->text().toStdString(), "-1e-7");
    EXPECT_EQ(graph->edXmax->text().toStdString(), "3e-7");
    graph->btWiden->click();
    EXPECT_EQ(graph->lbZoom->text().toStdString(), "80%");
    EXPECT_EQ(graph->edXmin->text().toStdString(), "-1.5e-7");
    graph->btNarrow->click();
    EXPECT_EQ(graph->lbZoom->text().toStdString(), "100%");
    EXPECT_EQ(graph->edXmin->text().toStdString(), "-1e-7");
    EXPECT_EQ(graph->edYmax->text().toStdString(), "1e-7");
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
}

TEST_F(GraphWindowTest, EscDuringMoreStopsTheRun) {
    openFigureEight();
    state.PollInterval = {};
    int polls = 0;
    ui.onProcessEvents = [&] {
        if (++polls == 5)
            pressKey(Qt::Key_Escape);
    };
    graph->edSteps->setText("900");
    graph->btMore->click();
    EXPECT_EQ(ui.lastMessage(), "Interrupted!");
    EXPECT_LT(state.StepIndex, 100);
}

TEST_F(GraphWindowTest, AMouseClickPlacesANewInitialValueOfTheOneCurve) {
    openFigureEight();
    graph->rgPlotCurve->button(1)->click();
    EXPECT_EQ(ui.lastMessage(), "Select one curve whose new initial values will be set by "
                                "mouse\r\n(or delete all curves leaving only one)");
    EXPECT_EQ(form->PageControl1->currentIndex(), TProblForm::GraphPage);

    ui.messages.clear();
    form->LBoxCurves->setCurrentRow(0);
    graph->rgPlotCurve->button(1)->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    graph->edSteps->setText("20");
    const QPoint middle(graph->PaintBox1->width() / 2, graph->PaintBox1->height() / 3);
    clickPicture(middle);
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();

    // The grid holds the clicked point as the initial x1, y1; the run starts there again.
    auto x1 = parseNumber(form->sgParameters->cell(1, 2));
    auto y1 = parseNumber(form->sgParameters->cell(1, 3));
    ASSERT_TRUE(x1 && y1);
    const QPointF world = worldAt(middle);
    // Written with 15 digits.
    EXPECT_NEAR(static_cast<double>(*x1), world.x(), 1e-14);
    EXPECT_NEAR(static_cast<double>(*y1), world.y(), 1e-14);
    const TCompiledProblem& problem = form->compiledProblem();
    EXPECT_EQ(problem.InitialValues[1], *x1);
    EXPECT_EQ(problem.InitialValues[2], *y1);
    // The last run went forward from the point: 20 steps stored after it.
    EXPECT_EQ(state.StepIndex, 20);
    EXPECT_GT(problem.CurrentIndep, 0);
}

TEST_F(GraphWindowTest, LeavingTheGraphFeedsSaveScriptAndPreviousBringsItBack) {
    openFigureEight();
    graph->edSteps->setText("50");
    graph->btMore->click();
    typeBound(graph->edXmin, "-1.5");
    typeBound(graph->edXmax, "1.5");
    typeBound(graph->edYmin, "-1");
    typeBound(graph->edYmax, "1");
    graph->btApplyKeyBoard->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    QEvent leave(QEvent::ActivationChange);
    QApplication::sendEvent(graph.get(), &leave);
    EXPECT_EQ(state.Graph.BoundTexts[0], "-1.5");
    EXPECT_EQ(state.Graph.BoundTexts[3], "1");
    EXPECT_EQ(state.Graph.TotalStepsText, "60"); // ten to fit the curves, fifty more
    EXPECT_EQ(state.Graph.ResultsLength, 1000);
    EXPECT_TRUE(state.Graph.AuxVarsToo);

    // Closed by the user, the graph keeps its curves for "Previous"; compiling again forgets
    // the curves, and "Previous" restores them with the graph as it was left.
    graph->close();
    form->Compile1->trigger();
    EXPECT_EQ(form->LBoxCurves->count(), 0);
    EXPECT_TRUE(state.Results.empty());
    form->btPrevious->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->LBoxCurves->count(), 3);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_EQ(graph->edXmin->text().toStdString(), "-1.5");
    EXPECT_EQ(graph->lbZoom->text().toStdString(), "100%");
    EXPECT_EQ(state.StepIndex, 60);
    EXPECT_EQ(form->edArrLen->text().toStdString(), "1000");

    // Renamed variables do not take the old curves.
    for (QPlainTextEdit* pane :
         {form->REditConst, form->REditInit, form->REditAux, form->REditODEs})
        pane->clear();
    type(form->REditInit, "t = 0\nu = 1");
    type(form->REditODEs, "t' = 1\nu' = -u");
    form->Compile1->trigger();
    form->btPrevious->click();
    EXPECT_EQ(ui.lastMessage(), "Previous curve selection doesn't apply");
    EXPECT_EQ(form->LBoxCurves->count(), 0);
}

TEST_F(GraphWindowTest, ARightClickOnTheLegendRecoloursItsCurve) {
    openFigureEight();
    ui.colourAnswers = {0x008000}; // green
    const int line = graph->PaintBox1->fontMetrics().height();
    clickPicture({20, line + line / 2}, Qt::RightButton); // the second line: {x2, y2}
    EXPECT_EQ(graph->curveColours(), (std::vector<std::int32_t>{0x000000, 0x008000, 0xFF0000}));
    EXPECT_GT(countColour(graph->picture(), 0x008000), 20);
    EXPECT_EQ(countColour(graph->picture(), 0xff0000), 0);

    // The glasses of the stereo view swap its eye colours (red and blue).
    form->rbRightEye->click();
    EXPECT_EQ(graph->eyeColours(), (std::array<WinColour, 2>{0xFF0000, 0x0000FF}));

    // Below the legend nothing is chosen, and no dialog comes.
    ui.colourAnswers = {0x0000FF};
    clickPicture({20, 5 * line}, Qt::RightButton);
    EXPECT_EQ(ui.colourAnswers.size(), 1u);
}

TEST_F(GraphWindowTest, UndoTakesBackTheLastMoreOnlyWhenThereIsOne) {
    openFigureEight();
    graph->edSteps->setText("30");
    graph->btMore->click();
    const Extended t = form->compiledProblem().CurrentIndep;
    graph->btMore->click();
    ASSERT_EQ(state.StepIndex, 70);
    graph->btUndo->click();
    EXPECT_EQ(state.StepIndex, 40);
    EXPECT_EQ(form->compiledProblem().CurrentIndep, t);
    graph->edSteps->setText("41");
    graph->btUndo->click();
    EXPECT_EQ(state.StepIndex, 40) << "fewer points stored than steps per More";
}

TEST_F(GraphWindowTest, TheResizedWindowLaysThePictureOutOnceTheResizingPauses) {
    openFigureEight();
    const int before = graph->PaintBox1->width();
    graph->resize(1100, 760);
    graph->resize(1200, 800);
    graph->resize(1300, 820);
    EXPECT_TRUE(graph->tmEndResize->isActive());
    EXPECT_EQ(graph->PaintBox1->width(), before) << "nothing moves while resizing goes on";
    QElapsedTimer clock;
    clock.start();
    while (graph->tmEndResize->isActive() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(graph->tmEndResize->isActive());
    EXPECT_GT(graph->PaintBox1->width(), before);
    EXPECT_GT(countColour(graph->picture(), 0xff0000), 20) << "the curves are drawn again";
}

TEST_F(GraphWindowTest, ADraggedPictureFollowsThePointerAtAnyZoom) {
    openFigureEight();
    graph->btNarrow->click(); // zoom 0.88 after Adjust's margin
    auto bound = [](const QLineEdit* edit) {
        return static_cast<double>(parseNumber(edit->toolTip().toStdString()).value_or(0));
    };
    const double xmin = bound(graph->edXmin), xmax = bound(graph->edXmax);
    const double ymin = bound(graph->edYmin), ymax = bound(graph->edYmax);
    const double width = graph->PaintBox1->width(), height = graph->PaintBox1->height();
    mouse(QEvent::MouseButtonPress, {100, 40}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {160, 70}, Qt::NoButton);
    mouse(QEvent::MouseButtonRelease, {200, 90}, Qt::LeftButton);
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    // 100 pixels right and 50 down: the world moves left and up by that share of the window.
    const double dx = 100 / width * (xmax - xmin), dy = 50 / height * (ymax - ymin);
    EXPECT_NEAR(bound(graph->edXmin), xmin - dx, 1e-12);
    EXPECT_NEAR(bound(graph->edXmax), xmax - dx, 1e-12);
    EXPECT_NEAR(bound(graph->edYmin), ymin + dy, 1e-12);
    EXPECT_NEAR(bound(graph->edYmax), ymax + dy, 1e-12);
    EXPECT_EQ(graph->lbZoom->text().toStdString(), "100%");
}

// While the graph's "More" runs, clicks on the picture and the buttons, and typing in the
// problem's panes, reach nothing the loop works on: the run ends where it was asked to.
TEST_F(GraphWindowTest, InputDuringTheGraphsRunChangesNothingUnderIt) {
    openFigureEight();
    graph->show();
    QApplication::processEvents();
    const std::int32_t before = state.StepIndex;
    const std::string odes = text(form->REditODEs);
    state.PollInterval = std::chrono::milliseconds(0);
    bool done = false;
    ui.onProcessEvents = [&] {
        if (std::exchange(done, true))
            return;
        clickPicture(QPoint(20, 20));
        for (QPushButton* button : {graph->btRestart, graph->btUndo, graph->btAdjust}) {
            const QPoint centre = button->rect().center();
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, QPointF(centre), button->mapToGlobal(QPointF(centre)),
                                  Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::NoModifier);
                QApplication::sendEvent(button, &event);
            }
        }
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(form->REditODEs, &space);
    };
    graph->edSteps->setText("300");
    graph->btMore->click();
    ui.onProcessEvents = nullptr;
    EXPECT_TRUE(done);
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(state.StepIndex, before + 300);
    EXPECT_EQ(text(form->REditODEs), odes);
}
