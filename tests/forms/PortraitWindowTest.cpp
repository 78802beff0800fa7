// Phase portraits from the graph window: the curve rule with the stored run kept, the designer
// opened by "Stroke", a grid made from the designer, and a mouse stroke appended to the table.
#include "GraphWindowSupport.h"

#include "graphics/forms/PlayBar.h"
#include "graphics/forms/TFieldParamForm.h"
#include "workspace/forms/RadioGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace {

int darkPixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += (picture.pixel(x, y) & 0xffffff) == 0;
    return count;
}

} // namespace

TEST_F(GraphWindowTest, APortraitOfThreeCurvesIsRefusedAndTheRunKept) {
    openFigureEight();
    graph->Make1->trigger();
    EXPECT_EQ(ui.lastMessage(),
              "Phase portraits - for one curve only! Delete all curves except one.\r\nUse "
              "\"Mouse click to place IVP\" for multi-curve plots");
    EXPECT_EQ(form->PageControl1->currentIndex(), TProblForm::GraphPage);
    EXPECT_EQ(state.StepIndex, 10);
    EXPECT_EQ(state.Results.Length, 1000);
    EXPECT_TRUE(form->cbResultArray->isChecked());
}

TEST_F(GraphWindowTest, TheDesignerMakesAGridAndTheMouseAddsStrokesToItsTable) {
    openFigureEight();
    state.Curves.Curves.resize(1); // {x1, y1}
    graph->rgPlotCurve->button(2)->click();
    TFieldParamForm* designer = graph->fieldParams();
    ASSERT_NE(designer, nullptr);
    EXPECT_TRUE(designer->isVisible());
    EXPECT_EQ(designer->windowTitle().toStdString(), "Phase portrait designer");
    EXPECT_EQ(designer->leX->text().toStdString(), "20");
    EXPECT_EQ(designer->edStrokes->text().toStdString(), "1");

    designer->leX->setText("x");
    designer->btMake->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong field parameters values");
    EXPECT_EQ(state.StepIndex, 10); // nothing made

    ui.messages.clear();
    designer->leX->setText("4");
    designer->leY->setText("3");
    designer->btMake->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_TRUE(state.Results.empty());
    EXPECT_FALSE(form->cbResultArray->isChecked());
    EXPECT_TRUE(graph->memNoStorage->isVisible());
    EXPECT_FALSE(graph->tbPlay->isVisible());
    const int grid = darkPixels(graph->picture());
    EXPECT_GT(grid, 12);

    // A click with "Stroke" draws through the pointer's point and appends it to the table.
    const QPoint at(graph->PaintBox1->width() / 3, graph->PaintBox1->height() / 2);
    clickPicture(at);
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_GT(darkPixels(graph->picture()), grid);
    const QStringList lines = designer->memPoints->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 1);
    const auto point = parseTablePoint(lines.front().toStdString());
    ASSERT_TRUE(point);
    const QPointF world = worldAt(at);
    EXPECT_NEAR(static_cast<double>((*point)[0]), world.x(), 1e-4 * std::fabs(world.x()) + 1e-3);
    EXPECT_NEAR(static_cast<double>((*point)[1]), world.y(), 1e-4 * std::fabs(world.y()) + 1e-3);
    EXPECT_EQ((*point)[2], 0);

    // Ctrl+Z takes the stroke back.
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(darkPixels(graph->picture()), grid);

    // Closed, the designer is gone; "Stroke" asks for it again.
    designer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(graph->fieldParams(), nullptr);
    clickPicture(at);
    EXPECT_EQ(ui.lastMessage(), "Phase portrait form is needed and will be opened");
    ASSERT_NE(graph->fieldParams(), nullptr);
    EXPECT_EQ(graph->fieldParams()->leX->text().toStdString(), "4"); // the stored parameters
    graph->rgPlotCurve->button(0)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(graph->fieldParams(), nullptr);
}
