// The graph window's File menu on figure8.ode: clipboard pictures with their frame, files at
// screen resolution, the re-scaling form, movie frames, the printed PDF and Image Info.
#include "GraphWindowSupport.h"

#include "graphics/forms/ReportWindow.h"
#include "graphics/forms/THighResPrnForm.h"
#include "support/TempFolder.h"
#include "workspace/forms/RadioGroup.h"

#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include <filesystem>

namespace {

// Runs `inside` on the modal form once it is open.
void whileOpen(TGraphForm& graph, const std::function<void(THighResPrnForm&)>& inside) {
    QTimer::singleShot(0, [&graph, inside] {
        ASSERT_NE(graph.highResForm(), nullptr);
        inside(*graph.highResForm());
        if (graph.highResForm() && graph.highResForm()->isVisible())
            graph.highResForm()->reject();
    });
}

} // namespace

TEST_F(GraphWindowTest, ClipboardPicturesCarryAOnePixelBlackFrame) {
    openFigureEight();
    graph->btMore->click();
    graph->ScreenResolution1->trigger();
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    const QImage shown = graph->PaintBox1->grab().toImage();
    ASSERT_EQ(copied.size(), shown.size());
    const QRgb black = qRgb(0, 0, 0);
    for (int x = 0; x < copied.width(); ++x)
        ASSERT_TRUE(copied.pixel(x, 0) == black && copied.pixel(x, copied.height() - 1) == black);
    for (int y = 0; y < copied.height(); ++y)
        ASSERT_TRUE(copied.pixel(0, y) == black && copied.pixel(copied.width() - 1, y) == black);
    EXPECT_EQ(copied.copy(1, 1, copied.width() - 2, copied.height() - 2),
              shown.convertToFormat(QImage::Format_RGB32)
                  .copy(1, 1, copied.width() - 2, copied.height() - 2));

    graph->Curvesandboundaries1->trigger();
    const QImage bounded = QApplication::clipboard()->image();
    EXPECT_GT(bounded.width(), shown.width()); // the bound edits are in it
    EXPECT_GT(bounded.height(), shown.height());
    EXPECT_EQ(bounded.pixel(0, 0) | 0xFF000000, black);
}

TEST_F(GraphWindowTest, ScreenResolutionFileFollowsTheChosenFilter) {
    openFigureEight();
    TempFolder folder;
    ui.fileAnswers.push_back(folder.path("run.bmp"));
    ui.filterAnswers.push_back(2);
    graph->oFileatscreenresolution24bitcolor1->trigger();
    EXPECT_FALSE(std::filesystem::exists(folder.path("run.bmp")));
    const QImage saved(QString::fromStdString(folder.path("run.png")));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), graph->picture());

    ui.fileAnswers.push_back(folder.path("run.png"));
    ui.filterAnswers.push_back(1);
    graph->oFileatscreenresolution24bitcolor1->trigger();
    const QImage bitmap(QString::fromStdString(folder.path("run.bmp")));
    EXPECT_EQ(bitmap.convertToFormat(QImage::Format_RGB32), graph->picture());
}

TEST_F(GraphWindowTest, RescalingFormShowsTheEstimateAndSavesTheReplottedPicture) {
    openFigureEight();
    const QSize screen = graph->picture().size();
    TempFolder folder;
    ui.fileAnswers.push_back(folder.path("big.png"));
    std::string result, label;
    int format = -1;
    whileOpen(*graph, [&](THighResPrnForm& form) {
        format = form.rgPixelFormat->itemIndex();
        form.LabeledEdit1->setText("2");
        emit form.LabeledEdit1->textEdited("2");
        result = form.lbResult->text().toStdString();
        label = form.lbScale->text().toStdString();
        form.btSave->click();
    });
    graph->Highprintresolution1->trigger();
    EXPECT_EQ(format, 1); // three curves: 8 bits
    EXPECT_EQ(label, formatText("Screen image [%d×%d]×", screen.width(), screen.height()));
    EXPECT_EQ(result, formatText("= Print image [%d×%d]=%d pxls or %d Kb", 2 * screen.width(),
                                 2 * screen.height(), 4 * screen.width() * screen.height(),
                                 static_cast<int>(
                                     std::lround(4.0 * screen.width() * screen.height() / 1000))));
    const QImage saved(QString::fromStdString(folder.path("big.png")));
    ASSERT_FALSE(saved.isNull());
    EXPECT_NEAR(saved.width(), 2 * screen.width(), 2);
    EXPECT_NEAR(saved.height(), 2 * screen.height(), 2);
    EXPECT_EQ(saved.depth(), 8);
    EXPECT_EQ(graph->picture().size(), screen); // the window's picture is back
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
}

TEST_F(GraphWindowTest, MovieSequenceRecordsTheFramesAsked) {
    openFigureEight();
    graph->btMore->click();
    graph->edTime->setText("0");
    TempFolder folder;
    ui.fileAnswers.push_back(folder.path("run.png"));
    std::string caption;
    whileOpen(*graph, [&](THighResPrnForm& form) {
        caption = form.windowTitle().toStdString();
        form.leFrameNumber->setText("3");
        form.btRecord->click();
    });
    graph->Moviesequence1->trigger();
    EXPECT_EQ(caption, "Setting color depth, iimage size and movie parameters");
    for (const char* name : {"run000000.png", "run000001.png", "run000002.png"})
        EXPECT_TRUE(std::filesystem::exists(folder.path(name))) << name;
    EXPECT_FALSE(std::filesystem::exists(folder.path("run000003.png")));
    EXPECT_EQ(graph->movie().Counter, 3);
}

TEST_F(GraphWindowTest, MovieSequenceWithAnUnreadableTimeKeepsThePrevious) {
    openFigureEight();
    graph->edTime->setText("abc");
    bool opened = false;
    QTimer::singleShot(0, [&] {
        opened = graph->highResForm() != nullptr;
        if (opened)
            graph->highResForm()->reject();
    });
    graph->Moviesequence1->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(opened);
    EXPECT_EQ(graph->edTime->text().toStdString(), "5"); // the duration before
}

TEST_F(GraphWindowTest, PrintWritesAPdfWithoutAPrinter) {
    openFigureEight();
    TempFolder folder;
    ui.fileAnswers.push_back(folder.path("graph.pdf"));
    graph->Print1->trigger();
    const std::string pdf = readBytes(folder.path("graph.pdf"));
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
}

TEST_F(GraphWindowTest, ImageInfoReportsThePicture) {
    openFigureEight();
    graph->edTime->setText("7");
    graph->ImageInfo1->trigger();
    ASSERT_NE(graph->report(), nullptr);
    const std::string text = graph->report()->text();
    const QSize size = graph->picture().size();
    for (const std::string& line :
         {std::string("Problem: figure8\nMONO image\nList of curves:\n1) {x1, y1}\n2) {x2, y2}\n"
                      "3) {x3, y3}\n\nThe shortest playtime: "),
          formatText("Image size: %d × %d = %d pixels", size.width(), size.height(),
                     size.width() * size.height()),
          std::string("Number of analytical elements (or segments): 11\n"),
          std::string("frequency 100 plots/s during playtime 7 s.\nComment: ")})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n---\n" << text;
    EXPECT_EQ(graph->edTime->text().toStdString(), "7");
}

TEST_F(GraphWindowTest, ImageFontChangesTheLegend) {
    openFigureEight();
    const QImage before = graph->picture().copy();
    QFont big;
    big.setPointSize(24);
    graph->setImageFont(big);
    EXPECT_NE(graph->picture(), before);
    // The legend's first line is now taller than before.
    const int line = QFontMetrics(big).height();
    EXPECT_GT(line, QFontMetrics(QFont()).height());
}
