// The graph window in 3D: the Lorenz attractor opened in stereo, turned with the track bars, seen
// in axonometric mode and as tubes, and the 3D form reading the turns back.
#include "GraphWindowSupport.h"

#include "graphics/forms/TForm3D.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>

#include <functional>
#include <set>

namespace {

class Graph3DWindowTest : public GraphWindowTest {
  protected:
    void openLorenz() {
        typeProblem(problemPath("lorenz.ode"));
        form->setWindowTitle("lorenz");
        form->Compile1->trigger();
        form->rb3D->click();
        form->btXYZcurve->click();
        ASSERT_EQ(state.Curves.count(), 1) << ui.lastMessage();
        form->btGraph->click();
        graph->edSteps->setText("400");
        graph->btMore->click();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
    // Opens the 3D form, lets `look` read it, then closes it with Esc.
    void withViewForm(const std::function<void(TForm3D&)>& look) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TForm3D*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            look(*dialog);
            dialog->done(0);
        });
        graph->N3Dparameters1->trigger();
    }
    QRgb corner() const { return graph->picture().pixel(0, graph->picture().height() - 1); }
};

} // namespace

TEST_F(Graph3DWindowTest, StereoOnBlackTurnedByTheTrackBarsAndReadBackByTheForm) {
    openLorenz();
    EXPECT_TRUE(graph->gb3D->isVisibleTo(graph.get()));
    EXPECT_TRUE(graph->gbZedits->isVisibleTo(graph.get()));
    EXPECT_FALSE(graph->gbLR->isVisibleTo(graph.get()));
    EXPECT_TRUE(graph->rbStereo->isChecked());
    EXPECT_EQ(corner(), qRgb(0, 0, 0));
    EXPECT_TRUE(graph->Axes1->isEnabled());

    graph->tbVert->setValue(30);
    graph->tbVertUp();
    graph->tbHoriz->setValue(-45);
    graph->tbHorizUp();
    withViewForm([](TForm3D& view) {
        EXPECT_EQ(view.windowTitle().toStdString(), "Parameters for 3D (in cm)");
        EXPECT_EQ(view.StringGrid1->item(0, 0)->text().toStdString(), "Distance between eyes");
        EXPECT_EQ(view.StringGrid1->item(0, 1)->text().toStdString(), "7");
        EXPECT_EQ(view.StringGrid1->item(4, 1)->text().toStdString(), "-30");
        EXPECT_EQ(view.StringGrid1->item(5, 1)->text().toStdString(), "45");
    });
    // The form closed with Esc applies its cells: the track bars stay where they were.
    EXPECT_EQ(graph->tbVert->value(), 30);
    EXPECT_EQ(graph->tbHoriz->value(), -45);
}

TEST_F(Graph3DWindowTest, TheFormRefusesAFrontBeyondTheScreenAndSetsTheTrackBars) {
    openLorenz();
    withViewForm([&](TForm3D& view) {
        view.StringGrid1->item(3, 1)->setText("120");
        view.StringGrid1->item(6, 1)->setText("10");
        view.done(0);
        EXPECT_EQ(ui.lastMessage(), "It must be that ½ CS < CD < CS");
        EXPECT_TRUE(view.isVisible());
        view.StringGrid1->item(3, 1)->setText("80");
        view.StringGrid1->item(4, 1)->setText("-20.4");
    });
    EXPECT_EQ(graph->tbVert->value(), 20);
    EXPECT_EQ(graph->tbHoriz->value(), 0);
}

TEST_F(Graph3DWindowTest, AxonometricOnWhiteAndTubesWithTheirBar) {
    openLorenz();
    graph->rbIsometry->click();
    EXPECT_TRUE(graph->gbLR->isVisibleTo(graph.get()));
    EXPECT_EQ(corner(), qRgb(255, 255, 255));
    graph->cbTube->click();
    EXPECT_TRUE(graph->pbTube->isVisibleTo(graph.get()));
    EXPECT_FALSE(graph->cbBullet->isChecked());
    // The tube palette starts with red: the shaded tube has red pixels of several brightnesses.
    const QImage picture = graph->picture();
    std::set<int> reds;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if (qGreen(p) == 0 && qBlue(p) == 0 && qRed(p) > 0)
                reds.insert(qRed(p));
        }
    EXPECT_GT(reds.size(), 20u);
    graph->cbTube->click();
    EXPECT_TRUE(graph->cbBullet->isChecked());
}
