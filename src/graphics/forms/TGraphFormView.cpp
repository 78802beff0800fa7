// The graph window's opening (from the main window, a script or "Previous"), its refresh and
// snapshot, the appearance menus, the axis swaps, the direction and the mouse on the picture.
#include "graphics/forms/TGraphForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "graphics/GraphMenus.h"
#include "graphics/GraphRun.h"
#include "graphics/GraphTexts.h"
#include "graphics/forms/PaintBox.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/StringGrid.h"
#include "workspace/forms/TProblForm.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

void TGraphForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TGraphForm::FormShow() {
    resizing_ = false;
    rgPlotCurve->setItemIndex(0);
    memNoStorage->setVisible(false);
    Constraintsonformsize1->setChecked(true);
    lbHardTime->clear();
    model_.FirstCurve = 1;
    cbCurves->setChecked(true);
    cbBullet->setChecked(true);
    model_.ShowCurves = model_.ShowBullets = true;
    model_.Feature = PlotFeature::None;
    None1->setChecked(true);
    edTime->setText("5");
    model_.PlayDuration = 5;
    tmEndResize->stop();
    lbSec->setText("(s)");
    if (std::exchange(openedByScript_, false))
        return;
    state_.TotalSteps = 0;
    edSteps->setText("1");
    model_.World.Zoom = 1;
    takeArea();
    if (model_.layout())
        showPicture();
    btAdjustClick();
}

void TGraphForm::openFromMainWindow() {
    if (isVisible()) {
        btAdjustClick();
    } else {
        show();
    }
    raise();
    activateWindow();
    if (TProblForm* window = source(); window && window->compiledProblem().IndepLine < 0)
        btMoreClick();
    FormPaint();
}

// The settings of the snapshot into the controls and the model, before Apply.
void TGraphForm::takeSnapshotSettings() {
    const GraphSnapshot& saved = state_.Graph;
    edSteps->setText(QString::fromStdString(saved.TotalStepsText));
    edTime->setText(QString::fromStdString(saved.TimeText));
    readTime();
    for (std::size_t i = 0; i < saved.BoundTexts.size(); ++i)
        boundEdits()[i]->setText(QString::fromStdString(saved.BoundTexts[i]));
    model_.FirstCurve = saved.FirstCurve;
    takeTurns(saved.Turns);
}

// Apply as recorded (Adjust when the record has no bounds), then the run from the start.
void TGraphForm::applyAndIntegrate(bool restartFirst) {
    const BoundTexts texts = boundTexts();
    const bool noBounds = std::all_of(texts.begin(), texts.begin() + 4,
                                      [](const std::string& text) { return trim(text).empty(); });
    if (noBounds)
        btAdjustClick();
    else
        btApplyKeyBoardClick();
    if (restartFirst)
        btRestartClick();
    btMoreClick();
    // The recorded figure comes back as it was, as a script or the snapshot keeps it.
    const std::int32_t feature = state_.Graph.PlotFeature;
    model_.Feature =
        feature >= 0 && feature <= 4 ? static_cast<PlotFeature>(feature) : PlotFeature::None;
    showFeature(model_.Feature);
}

void TGraphForm::runScript(const std::vector<std::int32_t>& colours) {
    openedByScript_ = true;
    resetDrawing();
    for (std::size_t i = 0; i < colours.size() && i < MaxCurves; ++i)
        model_.Colours.setColour(static_cast<std::int32_t>(i), static_cast<WinColour>(colours[i]));
    model_.rebuildBullets();
    show();
    openedByScript_ = false;
    takeSnapshotSettings();
    applyAndIntegrate(false);
    FormPaint();
}

void TGraphForm::restoreSnapshot() {
    openedByScript_ = true;
    show();
    openedByScript_ = false;
    raise();
    takeSnapshotSettings();
    applyAndIntegrate(true);
    FormPaint();
}

void TGraphForm::resetDrawing() {
    model_.Colours.fillNormal();
    model_.rebuildBullets();
    if (model_.World.LayoutValid)
        model_.clear();
}

void TGraphForm::swapEyeColours() {
    std::swap(model_.Scene.LeftEye, model_.Scene.RightEye);
}

std::vector<std::int32_t> TGraphForm::curveColours() const {
    std::vector<std::int32_t> colours;
    for (std::int32_t i = 0; i < state_.Curves.count(); ++i)
        colours.push_back(static_cast<std::int32_t>(model_.Colours.colour(i)));
    return colours;
}

const QImage& TGraphForm::picture() const {
    return model_.Image;
}

void TGraphForm::FormPaint() {
    TProblForm* window = source();
    const bool stored = !state_.Results.empty();
    lbTotal->setText(QString::fromStdString(
        totalText(stored && state_.StepIndex > 0, state_.TotalSteps, state_.StepIndex)));
    memNoStorage->setVisible(!stored);
    lbZoom->setText(QString::fromStdString(model_.World.zoomText()));
    // After a switch the caption names the problem that now takes the integration on.
    if (TProblForm* integrated = windows_.integratedWindow())
        setWindowTitle(QString::fromStdString(graphCaption(
            integrated->windowTitle().toStdString(), integrated->lbDt->text().toStdString(),
            integrated->lbIncrease->text().toStdString())));
    const bool curves = window && !state_.Curves.Curves.empty();
    if (!btApplyKeyBoard->isEnabled()) {
        btMore->setEnabled(curves);
        btPlay->setEnabled(window && playable(model_, window->compiledProblem()));
    }
    btRestart->setEnabled(btMore->isEnabled());
    const bool threeD = state_.Curves.ThreeD;
    gbZedits->setVisible(threeD);
    XandZ1->setVisible(threeD);
    YandZ1->setVisible(threeD);
    refresh3D();
    refreshDirectionSign();
}

void TGraphForm::refreshDirectionSign() {
    TProblForm* main = windows_.mainWindow();
    TProblForm* integrated = windows_.integratedWindow();
    if (!main || !integrated)
        return;
    rgDirection->setItemIndex(integrated->rgDirection->itemIndex());
    stDirection->setText(
        QString::fromStdString(directionSign(state_.Curves, integrated->lbDt->text().toStdString(),
                                             main->curveNames(), rgDirection->itemIndex() == 1)));
}

void TGraphForm::FormDeactivate() {
    stopAuto();
    if (TProblForm* main = windows_.mainWindow())
        main->FormPaint();
    GraphSnapshot& saved = state_.Graph;
    saved.BoundTexts = boundTexts();
    saved.TotalStepsText = std::to_string(state_.TotalSteps);
    saved.TimeText = edTime->text().toStdString();
    saved.FirstCurve = model_.FirstCurve;
    saved.ResultsLength = state_.Results.Length;
    if (TProblForm* main = windows_.mainWindow()) {
        saved.RadFactorText = main->edCurRadFactor->text().toStdString();
        saved.AuxVarsToo = main->cbAuxVarsToo->isChecked();
    }
    saved.PlotFeature = static_cast<std::int32_t>(model_.Feature);
    saved.Turns = snapshotTurns(model_.View.Params);
}

// The graph window closed by the user keeps the curves for "Previous".
void TGraphForm::closeEvent(QCloseEvent* event) {
    stopAuto();
    state_.Curves.savePrevious();
    QMainWindow::closeEvent(event);
}

void TGraphForm::replot() {
    if (!model_.World.LayoutValid)
        return;
    model_.replotAll(false);
    PaintBox1->update();
}

void TGraphForm::rgThickClick() {
    stopAuto();
    model_.Thick = rgThick->itemIndex() == 1;
    model_.ShowGrid = cbGrid->isChecked();
    model_.ShowCurves = cbCurves->isChecked();
    model_.ShowBullets = cbBullet->isChecked();
    model_.rebuildBullets();
    replot();
}

void TGraphForm::Grid1Click() {
    stopAuto();
    if (!changeGrid(model_, ui_))
        return;
    cbGrid->setToolTip(QString::fromStdString(gridHint(model_)));
    replot();
}

void TGraphForm::Bulletcaliber1Click() {
    stopAuto();
    if (changeBulletDiameter(model_, ui_))
        replot();
}

void TGraphForm::Curvedensity1Click() {
    stopAuto();
    if (changeCurveDensity(model_, ui_))
        replot();
}

void TGraphForm::Firstcurvetoplot1Click() {
    stopAuto();
    if (changeFirstCurve(model_, ui_))
        replot();
}

// The moving shape through the first curves; refused with too few curves (back to None).
void TGraphForm::setFeature(PlotFeature feature) {
    showFeature(choosePlotFeature(model_, feature, ui_));
}

void TGraphForm::showFeature(PlotFeature feature) {
    QAction* item = feature == PlotFeature::Triangle         ? Triangle1
                    : feature == PlotFeature::DoublePendulum ? Doublependulum1
                    : feature == PlotFeature::Axes           ? Axes1
                    : feature == PlotFeature::Tetrahedron    ? Tetrahedron1
                                                             : None1;
    item->setChecked(true);
}

void TGraphForm::None1Click() {
    stopAuto();
    setFeature(PlotFeature::None);
    replot();
}

void TGraphForm::Triangle1Click() {
    stopAuto();
    setFeature(PlotFeature::Triangle);
    replot();
}

void TGraphForm::Doublependulum1Click() {
    stopAuto();
    setFeature(PlotFeature::DoublePendulum);
    replot();
}

void TGraphForm::Axes1Click() {
    stopAuto();
    setFeature(PlotFeature::Axes);
    replot();
}

void TGraphForm::Tetrahedron1Click() {
    stopAuto();
    setFeature(PlotFeature::Tetrahedron);
    replot();
}

void TGraphForm::Defaultcolors1Click() {
    stopAuto();
    resetDrawing();
    replot();
}

void TGraphForm::swapAxes(int first, int second) {
    stopAuto();
    TProblForm* main = windows_.mainWindow();
    if (!main || (second == 2 && !state_.Curves.ThreeD))
        return;
    swapGraphAxes(model_, main->curveNames(), first, second);
    main->showCurveList();
    const BoundTexts texts = model_.World.editTexts(), hints = model_.World.hintTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        boundEdits()[i]->setText(QString::fromStdString(texts[i]));
        boundEdits()[i]->setToolTip(QString::fromStdString(hints[i]));
    }
    btApplyKeyBoard->setEnabled(false);
    if (state_.Curves.ThreeD) {
        redo3D();
    } else {
        model_.World.updateWindow();
        replot();
    }
    refreshDirectionSign();
}

void TGraphForm::XandY1Click() {
    swapAxes(0, 1);
}

void TGraphForm::XandZ1Click() {
    swapAxes(0, 2);
}

void TGraphForm::YandZ1Click() {
    swapAxes(1, 2);
}

void TGraphForm::rgDirectionClick() {
    stopAuto();
    TProblForm* integrated = windows_.integratedWindow();
    if (!integrated)
        return;
    integrated->rgDirection->setItemIndex(rgDirection->itemIndex());
    emit integrated->rgDirection->clicked(rgDirection->itemIndex());
    FormPaint();
}

// The one curve whose initial values the mouse sets: the chosen one, or the only one.
std::optional<std::int32_t> TGraphForm::placedCurve() const {
    const QListWidget* list = windows_.mainWindow()->LBoxCurves;
    const auto chosen = list->selectedItems();
    if (chosen.size() == 1)
        return list->row(chosen.front());
    if (list->count() == 1)
        return 0;
    return std::nullopt;
}

void TGraphForm::rgPlotCurveClick() {
    stopAuto();
    if (rgPlotCurve->itemIndex() == 0) {
        releaseDesigner();
        return;
    }
    memNoStorage->setVisible(true);
    if (rgPlotCurve->itemIndex() == 2) {
        openDesigner();
        return;
    }
    if (placedCurve())
        return;
    showMainGraphPage();
    ui_.message("Select one curve whose new initial values will be set by mouse\r\n(or delete all "
                "curves leaving only one)");
}

void TGraphForm::PaintBox1MouseDown(QMouseEvent* event) {
    stopAuto();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        chooseLegendColour(at);
        return;
    }
    if (event->button() != Qt::LeftButton || !source())
        return;
    if (rgPlotCurve->itemIndex() == 0) {
        dragFrom_ = at;
        dragging_ = true;
        PaintBox1->setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (rgPlotCurve->itemIndex() == 1)
        placeInitialValues();
    else
        strokeAtPointer();
}

void TGraphForm::chooseLegendColour(QPoint at) {
    const auto curve = model_.legendCurveAt(at.x(), at.y());
    if (!curve)
        return;
    const auto colour = ui_.chooseColour(model_.Colours.colour(*curve));
    if (!colour)
        return;
    model_.Colours.setColour(*curve, *colour);
    model_.rebuildBullets();
    btApplyKeyBoardClick();
}

// The pointer's world point becomes the curve's initial values, and the curve is drawn through
// it backward and forward.
void TGraphForm::placeInitialValues() {
    TProblForm* window = source();
    const auto curve = placedCurve();
    GraphProblem graph = graphProblem();
    std::vector<PlacementCell> cells =
        placementCells(graph, state_.Curves, curve.value_or(0), pointer_, ui_);
    if (cells.empty())
        return;
    {
        // The grid shows the new initial values; they are the program's, not an edit to apply.
        QSignalBlocker blocker(window->sgParameters);
        for (const PlacementCell& cell : cells)
            window->sgParameters->setCell(1, cell.Row, cell.Text);
    }
    {
        BusyCursor busy;
        RunInputGuard guard;
        placeAndIntegrate(model_, graph, ui_, cells, edSteps->text().toStdString());
    }
    closeWindowsLeftDuringRun();
    window->FormPaint();
    FormPaint();
    PaintBox1->update();
}

void TGraphForm::PaintBox1MouseMove(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragging_) {
        PaintBox1->setShift(at - dragFrom_);
        return;
    }
    if (!model_.World.BoundsValid || !model_.World.LayoutValid || moveCursor(at))
        return;
    pointer_ = model_.World.toWorld(at.x(), at.y());
    if (TProblForm* main = windows_.mainWindow())
        setWindowTitle(QString::fromStdString(
            pointerCaption(main->windowTitle().toStdString(), main->lbDt->text().toStdString(),
                           main->lbIncrease->text().toStdString(), pointer_.x, pointer_.y)));
}

// The picture follows the pointer: the bounds move by the dragged share of the visible window.
void TGraphForm::PaintBox1MouseUp(QMouseEvent* event) {
    if (!dragging_)
        return;
    dragging_ = false;
    PaintBox1->unsetCursor();
    PaintBox1->setShift({});
    const QPoint moved = event->position().toPoint() - dragFrom_;
    if (moved.isNull() || PaintBox1->width() < 1 || PaintBox1->height() < 1)
        return;
    GraphWorld& world = model_.World;
    const Extended dx = Extended(moved.x()) / PaintBox1->width() * world.width();
    const Extended dy = Extended(moved.y()) / PaintBox1->height() * world.height();
    Bounds shifted = world.Current;
    shifted.Xmin -= dx;
    shifted.Xmax -= dx;
    shifted.Ymin += dy;
    shifted.Ymax += dy;
    const BoundTexts texts{boundHintText(shifted.Xmin),     boundHintText(shifted.Xmax),
                           boundHintText(shifted.Ymin),     boundHintText(shifted.Ymax),
                           edZmin->toolTip().toStdString(), edZmax->toolTip().toStdString()};
    setBoundTexts(texts);
    btApplyKeyBoardClick();
}
