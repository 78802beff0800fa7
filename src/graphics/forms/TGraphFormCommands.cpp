// The graph window's commands: Apply, Adjust, zoom, the Sizes and Times presets, More, Auto,
// Restart, Undo and Play, and what the window shows after each of them.
#include "graphics/forms/TGraphForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "graphics/GraphMenus.h"
#include "graphics/GraphRun.h"
#include "graphics/GraphTexts.h"
#include "graphics/RenderGraph.h"
#include "graphics/forms/PaintBox.h"
#include "graphics/forms/PlayBar.h"
#include "workspace/ScriptFile.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/TProblForm.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <chrono>

namespace {

// Keeps the picture moving while a run or a replay holds the event loop: the pauses of Play
// and the steps of More show the screen copy at most every 20 ms.
constexpr auto FrameInterval = std::chrono::milliseconds(20);

} // namespace

TProblForm* TGraphForm::source() const {
    TProblForm* window = windows_.integratedWindow();
    return window && window->compiledProblem().Compiled ? window : nullptr;
}

GraphProblem TGraphForm::graphProblem() const {
    return {source()->compiledProblem(), windows_.mainWindow()->curveNames()};
}

ValueReader TGraphForm::valueReader() const {
    std::vector<std::string> constants;
    for (const QString& line : windows_.mainWindow()->REditConst->toPlainText().split('\n'))
        constants.push_back(line.toStdString());
    return constantsValueReader(constants, state_.AngleFactor);
}

std::array<QLineEdit*, 6> TGraphForm::boundEdits() const {
    return {edXmin, edXmax, edYmin, edYmax, edZmin, edZmax};
}

BoundTexts TGraphForm::boundTexts() const {
    BoundTexts texts;
    const auto edits = boundEdits();
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = edits[i]->text().toStdString();
    return texts;
}

void TGraphForm::setBoundTexts(const BoundTexts& texts) {
    const auto edits = boundEdits();
    for (std::size_t i = 0; i < texts.size(); ++i)
        edits[i]->setText(QString::fromStdString(texts[i]));
}

// The area the picture may take: the client area less the Y edits, the panel and the X edits.
void TGraphForm::takeArea() {
    const QSize client = centralWidget()->size();
    model_.AreaWidth = client.width() - YEditsWidth - 3 - PanelWidth - 4;
    model_.AreaHeight = client.height() - XEditsHeight;
}

// The world's texts, the picture's size and the commands that follow a new world.
void TGraphForm::showWorld() {
    const BoundTexts texts = model_.World.editTexts(), hints = model_.World.hintTexts();
    const auto edits = boundEdits();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        edits[i]->setText(QString::fromStdString(texts[i]));
        edits[i]->setToolTip(QString::fromStdString(hints[i]));
    }
    lbZoom->setText(QString::fromStdString(model_.World.zoomText()));
    showPicture();
    btApplyKeyBoard->setEnabled(false);
    FormPaint();
}

void TGraphForm::showPicture() {
    if (model_.World.LayoutValid)
        PaintBox1->resize(model_.Screen.size());
    layoutControls();
    PaintBox1->update();
}

void TGraphForm::btApplyKeyBoardClick() {
    stopAuto();
    if (!source())
        return;
    GraphProblem graph = graphProblem();
    takeArea();
    if (applyBounds(model_, graph, ui_, boundTexts(), valueReader()))
        showWorld();
}

void TGraphForm::btAdjustClick() {
    stopAuto();
    if (!source())
        return;
    GraphProblem graph = graphProblem();
    takeArea();
    const bool hadResults = !state_.Results.empty();
    {
        BusyCursor busy;
        RunInputGuard guard;
        adjustBounds(model_, graph, ui_);
    }
    closeWindowsLeftDuringRun();
    TProblForm* main = windows_.mainWindow();
    if (!hadResults && !state_.Results.empty()) {
        // The array made for the curves shows in the main window as if made there.
        QSignalBlocker lengthBlocker(main->edArrLen), resultsBlocker(main->cbResultArray),
            auxBlocker(main->cbAuxVarsToo);
        main->edArrLen->setText(QString::number(state_.Results.Length));
        main->cbResultArray->setChecked(true);
        main->cbAuxVarsToo->setChecked(state_.Results.Vars > source()->compiledProblem().NumMain);
    }
    showWorld();
    main->FormPaint();
}

void TGraphForm::zoom(Extended factor) {
    stopAuto();
    if (!source() || !model_.World.BoundsValid)
        return;
    GraphProblem graph = graphProblem();
    takeArea();
    zoomGraph(model_, graph, ui_, factor);
    showWorld();
}

void TGraphForm::btWidenClick() {
    zoom(1.25L);
}

void TGraphForm::btNarrowClick() {
    zoom(0.8L);
}

void TGraphForm::sizesClick(int preset) {
    setBoundTexts(sizePreset(preset));
    btApplyKeyBoardClick();
}

void TGraphForm::N01011Click() {
    sizesClick(0);
}

void TGraphForm::N11111Click() {
    sizesClick(1);
}

void TGraphForm::N11011Click() {
    sizesClick(2);
}

void TGraphForm::N01111Click() {
    sizesClick(3);
}

void TGraphForm::timesClick(double factor) {
    setBoundTexts(timesPreset(boundTexts(), factor));
    btApplyKeyBoardClick();
}

void TGraphForm::edYmaxChange() {
    btMore->setEnabled(false);
    btPlay->setEnabled(false);
    btApplyKeyBoard->setEnabled(true);
}

void TGraphForm::btMoreClick() {
    TProblForm* window = source();
    if (!window || state_.Busy)
        return;
    if (window->btApplyStrGrid->isEnabled() && !window->btApplyStrGridClick())
        return;
    windows_.setIntegrated(window);
    GraphProblem graph = graphProblem();
    auto lastFrame = std::chrono::steady_clock::now();
    auto onStep = [&](const MoreStepTexts& texts) {
        lbTotal->setText(QString::fromStdString(texts.Total));
        window->lbHowMany->setText(QString::fromStdString(texts.HowMany));
        window->lbConvRad->setText(QString::fromStdString(texts.Radius));
        if (std::chrono::steady_clock::now() - lastFrame >= FrameInterval) {
            lastFrame = std::chrono::steady_clock::now();
            PaintBox1->repaint();
            lbTotal->repaint();
        }
    };
    const auto started = std::chrono::steady_clock::now();
    RunOutcome outcome;
    {
        BusyCursor busy;
        RunInputGuard guard;
        outcome = graphMore(model_, graph, ui_, edSteps->text().toStdString(), onStep);
    }
    closeWindowsLeftDuringRun();
    if (outcome.End == RunEnd::NotStarted) {
        if (!outcome.StepsLabel.empty())
            stopAuto(); // the array is full: Auto would ask again at every tick
        return;
    }
    lbSteps->setText(QString::fromStdString(outcome.StepsLabel));
    if (outcome.End == RunEnd::Singularity)
        stopAuto();
    if (outcome.End == RunEnd::Terminated) {
        QSignalBlocker blocker(window->cbTermination);
        window->cbTermination->setChecked(false);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    lbSec->setText(QString::fromStdString(secondsText(took.count())));
    window->FormPaint();
    FormPaint();
    PaintBox1->update();
}

// A problem window closed while the graph's run went on closes now that the run has ended.
void TGraphForm::closeWindowsLeftDuringRun() {
    if (TProblForm* main = windows_.mainWindow())
        main->closeWindowsLeftDuringRun();
}

void TGraphForm::btRestartClick() {
    stopAuto();
    if (TProblForm* window = source())
        window->btRestartClick();
    lbSec->setText("(s)");
    FormPaint();
    PaintBox1->update();
}

void TGraphForm::btUndoClick() {
    stopAuto();
    if (!source())
        return;
    const auto steps = parseInteger(trim(edSteps->text().toStdString()));
    GraphProblem graph = graphProblem();
    if (!steps || !undoSteps(model_, graph, static_cast<std::int32_t>(*steps)))
        return;
    source()->FormPaint();
    FormPaint();
    PaintBox1->update();
}

// The seconds of Play and Auto; an unreadable text gets the current value back.
void TGraphForm::readTime() {
    if (const auto seconds = readSeconds(edTime->text().toStdString()))
        model_.PlayDuration = *seconds;
    else
        edTime->setText(QString::fromStdString(formatShortestReal(model_.PlayDuration)));
}

void TGraphForm::btPlayClick() {
    state_.Interrupt = false;
    stopAuto();
    if (!source() || !model_.World.LayoutValid)
        return;
    model_.Timer =
        Hardwaremicrosecondcounter1->isChecked() ? PlayTimer::Microsecond : PlayTimer::Millisecond;
    tbPlay->setVisible(true);
    tbPlay->setMaximum(std::max(1, tbPlay->width()));
    model_.PlayMax = tbPlay->maximum();
    bool played;
    {
        BusyCursor busy;
        RunInputGuard guard;
        playing_ = true;
        played = playGraph(model_, ui_, edTime->text().toStdString());
        playing_ = false;
    }
    tbPlay->setVisible(false);
    if (!played) {
        readTime();
        return;
    }
    lbSec->setText(QString::fromStdString(secondsText(model_.LastReplotSeconds)));
    lbHardTime->setText(model_.HardTimerFailed ? "Hard timer failed" : "");
    PaintBox1->update();
}

// Called by the play clock between the paced points of Play and More.
void TGraphForm::showFrame() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastFrame_ < FrameInterval)
        return;
    lastFrame_ = now;
    if (playing_) {
        if (tbPlay->ticks() != model_.PlayTicks)
            tbPlay->setTicks(model_.PlayTicks);
        tbPlay->setValue(model_.PlayPosition);
        tbPlay->repaint();
        showTubeProgress();
    }
    PaintBox1->repaint();
}

void TGraphForm::Clear1Click() {
    stopAuto();
    model_.clear();
    PaintBox1->update();
}
