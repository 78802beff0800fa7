// The re-scaling and movie form: reads its controls, calls the picture output, writes back.
#include "graphics/forms/THighResPrnForm.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "graphics/GraphRun.h"
#include "graphics/HighResSettings.h"
#include "graphics/ImageFiles.h"
#include "graphics/IndexedColours.h"
#include "graphics/MovieRecorder.h"
#include "graphics/RescaledImage.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/RadioGroup.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* wrappedLabel(const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setWordWrap(true);
    return label;
}

} // namespace

THighResPrnForm::THighResPrnForm(GraphModel& model, std::function<GraphProblem()> graph,
                                 MovieRecorder& movie, Ui& ui, double movieSeconds, QWidget* parent)
    : QDialog(parent), model_(model), graph_(std::move(graph)), movie_(movie), ui_(ui),
      movieSeconds_(movieSeconds) {
    setWindowTitle(HighResCaption);
    QStringList captions;
    for (const PixelFormatChoice& choice : PixelFormats)
        captions << QString::fromUtf8(choice.Caption);
    rgPixelFormat = new RadioGroup("Number of used colors up to...", captions);
    lbScale = new QLabel;
    LabeledEdit1 = new QLineEdit("1");
    lbResult = new QLabel;
    btDone = new QPushButton("Copy");
    btDone->setToolTip("Copies bitmap image into the clipboard");
    btSave = new QPushButton("Save");
    btSave->setToolTip("Saves image to file");
    lbIntegrationSpan = wrappedLabel("");
    lbFrameNumber = new QLabel;
    leFrameNumber = new QLineEdit;
    btRecord = new QPushButton("Record");
    btRecord->setToolTip("Records the specified number of frames");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgPixelFormat);
    auto* scaleRow = new QGridLayout;
    scaleRow->addWidget(lbScale, 0, 0);
    scaleRow->addWidget(LabeledEdit1, 0, 1);
    scaleRow->addWidget(lbResult, 0, 2);
    scaleRow->addWidget(new QLabel("0.1 < Scale factor < 30"), 1, 1);
    layout->addLayout(scaleRow);
    layout->addWidget(wrappedLabel("By clicking \"Copy\" or \"Save\" you save a (high resolution) "
                                   "bitmap to Clipboard or to a file in bmp or png formats. "));
    layout->addWidget(wrappedLabel("From the Clipboard you may paste it into a graphic editor "
                                   "like Paint and use for (high resolution) printing. "));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btDone);
    buttons->addWidget(btSave);
    layout->addLayout(buttons);
    layout->addWidget(lbIntegrationSpan);
    auto* frames = new QHBoxLayout;
    frames->addWidget(lbFrameNumber);
    frames->addWidget(leFrameNumber);
    frames->addWidget(btRecord);
    layout->addLayout(frames);
    layout->addWidget(wrappedLabel("Actual duration of the movie = (Number of frames) × (Duration "
                                   "of 1 frame) = (Number of frames) / (Movie speed)"));
    layout->addWidget(wrappedLabel("as set in the Movie maker. "));
    layout->addWidget(
        wrappedLabel("For example, frame duration 0.033 sec corresponds to the movie speed 30 "
                     "frames/sec"));

    connect(rgPixelFormat, &RadioGroup::clicked, this, &THighResPrnForm::rgPixelFormatClick);
    connect(LabeledEdit1, &QLineEdit::textEdited, this, &THighResPrnForm::LabeledEdit1Change);
    connect(btDone, &QPushButton::clicked, this, &THighResPrnForm::btDoneClick);
    connect(btSave, &QPushButton::clicked, this, &THighResPrnForm::btSaveClick);
    connect(btRecord, &QPushButton::clicked, this, &THighResPrnForm::btRecordClick);

    // The first format follows the curves: few colours need few bits.
    const CurveTable& curves = model_.state().Curves;
    rgPixelFormat->setItemIndex(initialPixelFormat(curves.count(), curves.ThreeD));
    rgPixelFormatClick();
    leFrameNumber->setText(QString::number(std::llround(movieSeconds_ * 30)));
}

int THighResPrnForm::depth() const {
    return PixelFormats[static_cast<std::size_t>(format_)].Depth;
}

void THighResPrnForm::FormPaint() {
    const HighResTexts texts =
        highResTexts(model_.Image.width(), model_.Image.height(), scale_, format_,
                     !model_.state().Results.empty(), movieSeconds_);
    lbScale->setText(QString::fromStdString(texts.ScaleLabel));
    lbResult->setText(QString::fromStdString(texts.Result));
    setWindowTitle(QString::fromStdString(texts.Caption));
    btRecord->setEnabled(texts.RecordEnabled);
    lbIntegrationSpan->setText(QString::fromStdString(texts.IntegrationSpan));
    lbFrameNumber->setText(QString::fromStdString(texts.FrameLabel));
}

void THighResPrnForm::LabeledEdit1Change() {
    if (const auto factor = readScaleFactor(LabeledEdit1->text().toStdString(), ui_))
        scale_ = *factor;
    FormPaint();
}

void THighResPrnForm::rgPixelFormatClick() {
    format_ = std::max(0, rgPixelFormat->itemIndex());
    FormPaint();
}

// The picture replotted at the scale, or nothing after the tube refusal.
std::optional<QImage> THighResPrnForm::rescaled() {
    if (!tubeDepthAllowed(model_.Scene.Tube, depth(), ui_))
        return std::nullopt;
    GraphProblem graph = graph_();
    BusyCursor busy;
    return rescaledImage(model_, graph, ui_, scale_);
}

void THighResPrnForm::btDoneClick() {
    const auto image = rescaled();
    if (!image)
        return;
    QApplication::clipboard()->setImage(depth() == 24 ? *image
                                                      : toQImage(indexColours(*image, depth())));
    accept();
}

void THighResPrnForm::btSaveClick() {
    const auto chosen = ui_.saveFileFiltered("Save image", ImageSaveFilter, "", PngFilter);
    if (!chosen)
        return;
    const auto image = rescaled();
    if (!image)
        return;
    try {
        saveImage(*image, depth(), chosen->Path, chosen->FilterIndex);
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
        return;
    }
    accept();
}

void THighResPrnForm::btRecordClick() {
    model_.PlayDuration = movieSeconds_;
    if (movie_.record(model_, ui_, leFrameNumber->text().toStdString(), depth(),
                      [this] { hide(); }))
        accept();
}

void THighResPrnForm::done(int result) {
    scale_ = 1;
    QDialog::done(result);
}
