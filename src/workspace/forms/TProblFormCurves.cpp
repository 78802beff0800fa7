// The problem window's "Graph setting" page: the variables grid where curves are chosen axis by
// axis, the list of curves with its generator, Clear and Previous, 2D or 3D, and "Graph".
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "graphics/forms/TGraphForm.h"
#include "integrator/ResultsArray.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

// Hands the key presses of one control to a handler before the control sees them.
class KeyDownFilter : public QObject {
  public:
    KeyDownFilter(QWidget* control, std::function<bool(QKeyEvent*)> onKey)
        : QObject(control), onKey_(std::move(onKey)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && onKey_(static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool(QKeyEvent*)> onKey_;
};

} // namespace

void TProblForm::createGraphPage() {
    auto* page = new QWidget;
    sgFuncSel = new StringGrid(3, page);
    sgFuncSel->setToolTip("Select curve components");
    sgFuncSel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgFuncSel->setSelectionMode(QAbstractItemView::NoSelection);
    sgFuncSel->setDefaultColumnWidths({120, 90, 90, 90});
    connect(sgFuncSel, &QTableWidget::cellClicked, this,
            [this](int row, int column) { sgFuncSelClick(row + 1, column); });
    connect(sgFuncSel->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TProblForm::sgFuncSelTopLeftChanged);

    lbXYZ = new QLabel("Curves {x(t), y(t)}");
    LBoxCurves = new QListWidget(page);
    new KeyDownFilter(LBoxCurves, [this](QKeyEvent* key) {
        return LBoxCurvesKeyDown(key->key(), key->modifiers());
    });
    auto* deleteHint = new QLabel("To delete a curve - select it and Ctrl+Del");
    btXYZcurve = new QPushButton("{x1, y1}, ... >>", page);
    btGrClear = new QPushButton("Clear", page);
    btPrevious = new QPushButton("Previous", page);
    btPrevious->setToolTip("Resets previous set of curves");
    connect(btXYZcurve, &QPushButton::clicked, this, &TProblForm::btXYZcurveClick);
    connect(btGrClear, &QPushButton::clicked, this, &TProblForm::btGrClearClick);
    connect(btPrevious, &QPushButton::clicked, this, &TProblForm::btPreviousClick);

    // A captioned box of two radio buttons, the first one checked.
    auto radioPair = [this](QGroupBox* box, QRadioButton*& first, const char* firstCaption,
                            void (TProblForm::*firstClick)(), QRadioButton*& second,
                            const char* secondCaption, void (TProblForm::*secondClick)()) {
        first = new QRadioButton(firstCaption, box);
        second = new QRadioButton(secondCaption, box);
        first->setChecked(true);
        connect(first, &QRadioButton::clicked, this, firstClick);
        connect(second, &QRadioButton::clicked, this, secondClick);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(first);
        layout->addWidget(second);
    };
    auto* modeBox = new QGroupBox("Plot");
    radioPair(modeBox, rb2D, "2D", &TProblForm::rb2DClick, rb3D, "3D", &TProblForm::rb3DClick);
    gbGlasses = new QGroupBox("Type of glasses");
    radioPair(gbGlasses, rbLeftEye, "Left eye", &TProblForm::gbGlassesClick, rbRightEye,
              "Right eye", &TProblForm::gbGlassesClick);
    gbGlasses->setVisible(false);

    btGraph = new QPushButton("Graph", page);
    connect(btGraph, &QPushButton::clicked, this, &TProblForm::Graph1Click);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(btXYZcurve);
    listButtons->addWidget(btGrClear);
    listButtons->addWidget(btPrevious);
    auto* curves = new QVBoxLayout;
    curves->addWidget(lbXYZ);
    curves->addWidget(LBoxCurves, 1);
    curves->addWidget(deleteHint);
    curves->addLayout(listButtons);
    auto* side = new QVBoxLayout;
    side->addWidget(modeBox);
    side->addWidget(gbGlasses);
    side->addStretch();
    side->addWidget(btGraph);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(sgFuncSel, 3);
    layout->addLayout(curves, 2);
    layout->addLayout(side);
    PageControl1->addTab(page, "Graph setting");
    PageControl1->setTabVisible(GraphPage, false);
}

std::vector<std::string> TProblForm::curveNames() const {
    std::vector<std::string> names;
    for (int row = 1; row < sgFuncSel->rowCountWithHeader(); ++row)
        names.push_back(trim(sgFuncSel->cell(0, row)));
    return names;
}

CurveTable& TProblForm::curveTable() const {
    return state_.Curves;
}

// The axis columns of the variables grid: auxiliary rows on the tooltip colour, as a reminder
// that their curves need the auxiliary variables stored too.
void TProblForm::paintCurveGrid() {
    const QBrush auxiliary = QApplication::palette().toolTipBase();
    for (int row = 1; row < sgFuncSel->rowCountWithHeader(); ++row)
        for (int column = 1; column < sgFuncSel->columnCount(); ++column) {
            sgFuncSel->setCell(column, row, sgFuncSel->cell(column, row));
            if (QTableWidgetItem* cell = sgFuncSel->item(row - 1, column))
                cell->setBackground(row > problem_.NumMain ? auxiliary : QBrush());
        }
}

void TProblForm::showCurveList() {
    LBoxCurves->clear();
    for (const Curve& curve : curveTable().Curves)
        LBoxCurves->addItem(QString::fromStdString(curve.Caption));
}

void TProblForm::clearAxisColumns() {
    axisChoice_.clear();
    for (int row = 1; row < sgFuncSel->rowCountWithHeader(); ++row)
        for (int column = 1; column < sgFuncSel->columnCount(); ++column)
            sgFuncSel->setCell(column, row, "");
}

void TProblForm::clearCurveSelection() {
    curveTable().Curves.clear();
    clearAxisColumns();
    showCurveList();
}

void TProblForm::hideGraphWindow() {
    if (TGraphForm* graph = windows_.graph)
        graph->hide();
}

void TProblForm::sgFuncSelClick(int row, int column) {
    const int axes = rb3D->isChecked() ? 3 : 2;
    if (!sgFuncSel->isEnabled() || column < 1 || column > axes || row < 1 ||
        row >= sgFuncSel->rowCountWithHeader())
        return;
    for (int r = 1; r < sgFuncSel->rowCountWithHeader(); ++r)
        sgFuncSel->setCell(column, r, "");
    sgFuncSel->setCell(column, row, sgFuncSel->cell(0, row));
    AxisChoiceResult result = chooseAxis(axisChoice_, curveTable(), column - 1, row - 1, ui_);
    if (result != AxisChoiceResult::Complete) {
        paintCurveGrid();
        return;
    }
    // The last choice stays in view for half a second before it becomes a curve.
    sgFuncSel->setEnabled(false);
    QTimer::singleShot(500, this, [this] {
        sgFuncSel->setEnabled(true);
        if (!axisChoice_.complete(rb3D->isChecked()))
            return;
        takeAxisChoice(axisChoice_, curveTable(), curveNames());
        clearAxisColumns();
        showCurveList();
        hideGraphWindow();
        FormPaint();
    });
}

void TProblForm::sgFuncSelTopLeftChanged() {
    sgFuncSel->viewport()->update();
}

void TProblForm::btXYZcurveClick() {
    generateCurves(curveTable(), curveNames(), ui_);
    showCurveList();
    if (!curveTable().Curves.empty())
        hideGraphWindow();
    FormPaint();
}

bool TProblForm::LBoxCurvesKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Escape) {
        LBoxCurves->setCurrentRow(-1);
        LBoxCurves->clearSelection();
        return true;
    }
    if (key != Qt::Key_Delete || !(modifiers & Qt::ControlModifier))
        return false;
    const int row = LBoxCurves->currentRow();
    if (row >= 0 && LBoxCurves->item(row)->isSelected() && curveTable().remove(row)) {
        showCurveList();
        hideGraphWindow();
        FormPaint();
    }
    return true;
}

void TProblForm::btGrClearClick() {
    clearCurveSelection();
    hideGraphWindow();
    FormPaint();
}

void TProblForm::switchCurveMode(bool threeD) {
    if (TGraphForm* graph = windows_.graph) {
        graph->hide();
        graph->resetDrawing();
    }
    curveTable().setMode(threeD);
    clearAxisColumns();
    showCurveList();
    sgFuncSel->setColumns(threeD ? 4 : 3);
    if (threeD) {
        sgFuncSel->setColumnWidth(3, sgFuncSel->columnWidth(2));
        sgFuncSel->setCell(3, 0, "Z axis");
    }
    lbXYZ->setText(threeD ? "Curves {x(t), y(t), z(t)}" : "Curves {x(t), y(t)}");
    paintCurveGrid();
    FormPaint();
}

void TProblForm::rb2DClick() {
    switchCurveMode(false);
}

void TProblForm::rb3DClick() {
    switchCurveMode(true);
}

void TProblForm::gbGlassesClick() {
    if (TGraphForm* graph = windows_.graph)
        graph->swapEyeColours();
}

// The page's share of the refresh: the tab, the glasses, "Graph" while there are curves.
void TProblForm::refreshCurvePage() {
    PageControl1->setTabVisible(GraphPage, isMainWindow() && problem_.Compiled);
    paintCurveGrid();
    gbGlasses->setVisible(rb3D->isChecked());
    const bool curves = !curveTable().Curves.empty();
    Graph1->setEnabled(curves);
    btGraph->setEnabled(curves);
}

void TProblForm::Graph1Click() {
    TGraphForm* graph = windows_.graph;
    if (!graph || !problem_.Compiled || curveTable().Curves.empty())
        return;
    if (!state_.Results.empty() && !curveTable().fitsColumns(state_.Results.Vars)) {
        ui_.message("Specified curves need also Aux memory");
        return;
    }
    windows_.setIntegrated(this);
    graph->openFromMainWindow();
}

void TProblForm::btPreviousClick() {
    const bool restored = restorePrevious(curveTable(), curveNames(), ui_);
    showCurveList();
    TGraphForm* graph = windows_.graph;
    if (!restored || !graph || !problem_.Compiled)
        return;
    const GraphSnapshot& saved = state_.Graph;
    {
        QSignalBlocker lengthBlocker(edArrLen), resultsBlocker(cbResultArray),
            auxBlocker(cbAuxVarsToo), factorBlocker(edCurRadFactor);
        edArrLen->setText(QString::number(saved.ResultsLength));
        cbResultArray->setChecked(saved.ResultsLength > 0);
        cbAuxVarsToo->setChecked(saved.AuxVarsToo);
        edCurRadFactor->setText(QString::fromStdString(saved.RadFactorText));
    }
    edCurRadFactorChange();
    state_.Results.clear();
    if (saved.ResultsLength > 0 &&
        !createResults(state_, problem_, ui_, std::to_string(saved.ResultsLength), saved.AuxVarsToo,
                       false)
             .Created) {
        FormPaint();
        return;
    }
    windows_.setIntegrated(this);
    graph->restoreSnapshot();
    FormPaint();
}
