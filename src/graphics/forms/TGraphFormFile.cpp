// The graph window's File menu: the picture to the clipboard, to a file, re-scaled, as movie
// frames, printed, described by Image Info, and the font of the pictures.
#include "graphics/GraphMenus.h"
#include "graphics/GraphTexts.h"
#include "graphics/ImageFiles.h"
#include "graphics/ImageInfo.h"
#include "graphics/PageFit.h"
#include "graphics/RescaledImage.h"
#include "graphics/forms/PaintBox.h"
#include "graphics/forms/ReportWindow.h"
#include "graphics/forms/TGraphForm.h"
#include "graphics/forms/THighResPrnForm.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/PrinterChoice.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TProblForm.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>

void TGraphForm::createFileMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    QMenu* clipboard = file->addMenu("To Clipboard at screen resolution 24 bit color");
    ScreenResolution1 =
        clipboard->addAction("Curves only", this, &TGraphForm::ScreenResolution1Click);
    Curvesandboundaries1 =
        clipboard->addAction("Curves and boundaries", this, &TGraphForm::Curvesandboundaries1Click);
    oFileatscreenresolution24bitcolor1 =
        file->addAction("To File at screen resolution 24 bit color", this,
                        &TGraphForm::oFileatscreenresolution24bitcolor1Click);
    Highprintresolution1 =
        file->addAction("To file with re-scaling", this, &TGraphForm::Highprintresolution1Click);
    Moviesequence1 = file->addAction("Save movie sequence", this, &TGraphForm::Moviesequence1Click);
    Print1 = file->addAction("Print", this, &TGraphForm::Print1Click);
    ImageInfo1 = file->addAction("Image Info", this, &TGraphForm::ImageInfo1Click);
    Fontforbitmaps1 = file->addAction("Font for bit maps", this, &TGraphForm::Fontforbitmaps1Click);
}

// The picture the paint box shows, bullets and moving shapes on it.
void TGraphForm::ScreenResolution1Click() {
    stopAuto();
    const QImage& shown = model_.HasScreen ? model_.Screen : model_.Image;
    if (shown.isNull())
        return;
    QApplication::clipboard()->setImage(withBlackFrame(shown));
}

// The plot with its bound edits around it, as the window shows them.
void TGraphForm::Curvesandboundaries1Click() {
    stopAuto();
    QWidget* area = centralWidget();
    const QRect bounds = gbY->geometry().united(gbX->geometry()).united(PaintBox1->geometry());
    QApplication::clipboard()->setImage(withBlackFrame(area->grab(bounds).toImage()));
}

void TGraphForm::oFileatscreenresolution24bitcolor1Click() {
    stopAuto();
    if (model_.Image.isNull())
        return;
    const auto chosen = ui_.saveFileFiltered("To File at screen resolution 24 bit color",
                                             ImageSaveFilter, "", PngFilter);
    if (!chosen)
        return;
    try {
        saveImage(model_.Image, 24, chosen->Path, chosen->FilterIndex);
    } catch (const std::exception& error) {
        ui_.message(error.what());
    }
}

void TGraphForm::openHighResForm(double movieSeconds) {
    THighResPrnForm form(
        model_, [this] { return graphProblem(); }, movie_, ui_, movieSeconds, this);
    highResForm_ = &form;
    form.exec();
    highResForm_ = nullptr;
    showPicture();
    FormPaint();
}

void TGraphForm::Highprintresolution1Click() {
    stopAuto();
    if (!source() || !rescalingPossible(model_, ui_))
        return;
    openHighResForm(model_.PlayDuration);
}

void TGraphForm::Moviesequence1Click() {
    stopAuto();
    const auto seconds = readSeconds(edTime->text().toStdString());
    if (!seconds) {
        readTime(); // the previous duration goes back into the edit
        return;
    }
    if (!source())
        return;
    model_.PlayDuration = *seconds;
    openHighResForm(*seconds);
}

// Printed fitted to one page; without a printer the page goes to a PDF file.
void TGraphForm::Print1Click() {
    stopAuto();
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer, ui_, this, "Print to PDF (no printer is installed)", "graph.pdf"))
        return;
    const QImage picture = grab().toImage();
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui_.message("The printer could not be started");
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawImage(fitIntoPage(picture.size(), QRect(QPoint(0, 0), page.size())), picture);
    painter.end();
}

// The curves are replayed once without pacing to measure the shortest playtime first.
void TGraphForm::ImageInfo1Click() {
    stopAuto();
    TProblForm* main = windows_.mainWindow();
    if (!source() || !main || !model_.World.LayoutValid)
        return;
    const QString duration = edTime->text();
    const double seconds = model_.PlayDuration;
    edTime->setText("0");
    model_.PlayDuration = 0;
    {
        BusyCursor busy;
        model_.replotAll(true);
    }
    model_.PlayDuration = seconds;
    edTime->setText(duration);
    lbSec->setText(QString::fromStdString(secondsText(model_.LastReplotSeconds)));
    PaintBox1->update();

    ImageInfoFacts facts = modelFacts(model_);
    facts.ProblemCaption = main->windowTitle().toStdString();
    facts.PlaytimeText = lbSec->text().toStdString();
    facts.DurationText = duration.toStdString();
    if (!report_)
        report_ = new ReportWindow(ui_, this);
    report_->showLines(imageInfoLines(facts));
}

void TGraphForm::Fontforbitmaps1Click() {
    stopAuto();
    bool chosen = false;
    QFont font = QFontDialog::getFont(&chosen, model_.ImageFont, this, "Font for bit maps");
    if (!chosen)
        return;
    setImageFont(font);
}

void TGraphForm::setImageFont(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias); // legend pixels keep the curve's colour
    model_.ImageFont = font;
    replot();
}
