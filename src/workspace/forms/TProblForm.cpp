// The problem window: construction of its pages, controls and menus, and start-up.
#include "workspace/forms/TProblForm.h"

#include "app/forms/AboutBox.h"
#include "tools/forms/ToolMenus.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/KeyPreview.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPlainTextEdit* createPane(QGroupBox* box) {
    auto* pane = new QPlainTextEdit(box);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pane);
    return pane;
}

QPushButton* createButton(const QString& caption, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}

// Room for any value the grids show: 18 digits with a sign and a four-digit exponent, and the
// cell's margins.
int widestValueWidth(const QFont& font) {
    return QFontMetrics(font).horizontalAdvance("-0.00000000000000000e-4951") + 12;
}

QLabel* createClickableLabel(const QString& text, const QString& hint, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setToolTip(hint);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet("color: #0000a0; text-decoration: underline;");
    return label;
}

} // namespace

TProblForm::TProblForm(ProblemWindows& windows, Ui& ui, WorkspaceState& state, QWidget* parent)
    : QMainWindow(parent), windows_(windows), ui_(ui), state_(state) {
    windows_.add(this);
    RunInputGuard::guardDuringRuns(*this);
    setAttribute(Qt::WA_DeleteOnClose, !isMainWindow());
    setWindowTitle("Unnamed ODEs");
    setMinimumSize(947, 714);

    PageControl1 = new QTabWidget(this);
    setCentralWidget(PageControl1);
    createPanesPage();
    createDebuggingPage();
    createIntegrationPage();
    createGraphPage();
    createMenus();
    FormCreate();
}

TProblForm::~TProblForm() {
    // The connected windows live no longer than the main one.
    if (isMainWindow()) {
        std::vector<TProblForm*> others = windows_.existing();
        std::erase(others, this);
        for (TProblForm* window : others)
            delete window;
    }
    windows_.released(this);
}

bool TProblForm::isMainWindow() const {
    return windows_.mainWindow() == this;
}

void TProblForm::createPanesPage() {
    auto* page = new QWidget;
    page->setToolTip("Ctrl + drag and drop to copy names");
    gbConstants = new QGroupBox("Constants (optional)");
    gbInitial = new QGroupBox("Initial values");
    gbAuxVars = new QGroupBox("Auxiliary variables (optional)");
    gbODEs = new QGroupBox("System of ODEs");
    REditConst = createPane(gbConstants);
    REditInit = createPane(gbInitial);
    REditAux = createPane(gbAuxVars);
    REditODEs = createPane(gbODEs);
    for (QPlainTextEdit* pane : {REditConst, REditInit, REditAux, REditODEs}) {
        connect(pane, &QPlainTextEdit::textChanged, this, &TProblForm::REditConstChange);
        pane->installEventFilter(this);
    }

    splitterLeft = new QSplitter(Qt::Vertical);
    splitterLeft->addWidget(gbConstants);
    splitterLeft->addWidget(gbInitial);
    splitterRight = new QSplitter(Qt::Vertical);
    splitterRight->addWidget(gbAuxVars);
    splitterRight->addWidget(gbODEs);
    for (QSplitter* splitter : {splitterLeft, splitterRight}) {
        splitter->setChildrenCollapsible(false);
        splitter->setStretchFactor(0, 1);
        splitter->setStretchFactor(1, 1);
    }
    connect(splitterLeft, &QSplitter::splitterMoved, this, &TProblForm::splitterLeftMoved);
    connect(splitterRight, &QSplitter::splitterMoved, this, &TProblForm::splitterRightMoved);
    auto* columns = new QHBoxLayout;
    columns->addWidget(splitterLeft, 1);
    columns->addWidget(splitterRight, 1);

    gbDifFunc = new QGroupBox("Functions and operations");
    auto* functions = new QGridLayout(gbDifFunc);
    functions->setContentsMargins(6, 4, 6, 4);
    functions->addWidget(new QLabel("Allowed everywhere"), 0, 0);
    functions->addWidget(
        new QLabel("cos  sin  tan  arccos  arcsin  arctan  exp  ln  log(a,b)  sqrt   + - * / ^"), 0,
        1);
    functions->addWidget(new QLabel("Allowed in the right panes only"), 1, 0);
    functions->addWidget(new QLabel("polynomial"), 1, 1);
    functions->addWidget(new QLabel("Operations allowed in the left panes only"), 2, 0);
    functions->addWidget(new QLabel("mod(m,n)  mCn(m,n)  Abs   !"), 2, 1);
    functions->setColumnStretch(1, 1);

    auto* angles = new QGroupBox("Angles");
    rbDegrees = new QRadioButton("Degrees", angles);
    rbRadians = new QRadioButton("Radians", angles);
    rbDegrees->setChecked(true);
    connect(rbDegrees, &QRadioButton::clicked, this, &TProblForm::rbDegreesClick);
    connect(rbRadians, &QRadioButton::clicked, this, &TProblForm::rbDegreesClick);
    auto* angleLayout = new QVBoxLayout(angles);
    angleLayout->setContentsMargins(6, 4, 6, 4);
    angleLayout->addWidget(rbDegrees);
    angleLayout->addWidget(rbRadians);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(gbDifFunc, 1);
    bottom->addWidget(angles);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    PageControl1->addTab(page, "Equations setting");
    setTabOrder(REditConst, REditInit);
    setTabOrder(REditInit, REditAux);
    setTabOrder(REditAux, REditODEs);
}

void TProblForm::createDebuggingPage() {
    auto* page = new QWidget;

    auto* valuesBox = new QGroupBox("Constants and variables as...");
    sgDebug = new StringGrid(3, valuesBox);
    sgDebug->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rgView = new RadioGroup("View...", {"Cur. values", "Anal. elem."});
    SpinEdit1 = new QSpinBox;
    SpinEdit1->setRange(0, 0);
    stOf = new QLabel("of 0");
    auto* pointRow = new QHBoxLayout;
    pointRow->addWidget(SpinEdit1);
    pointRow->addWidget(stOf);
    rgView->itemLayout()->addLayout(pointRow);
    rbCoeff = new QRadioButton("Taylor coefficients");
    rbDerivatives = new QRadioButton("Derivatives");
    rbCoeff->setChecked(true);
    btCopyDebug = createButton("Copy all", "Copies entire table into clipboard", page);
    auto* valueChoices = new QHBoxLayout;
    valueChoices->addWidget(rgView);
    auto* kind = new QVBoxLayout;
    kind->addWidget(rbCoeff);
    kind->addWidget(rbDerivatives);
    kind->addStretch();
    valueChoices->addLayout(kind);
    valueChoices->addStretch();
    valueChoices->addWidget(btCopyDebug, 0, Qt::AlignBottom);
    lbDebugStep = new QLabel;
    auto* valuesLayout = new QVBoxLayout(valuesBox);
    valuesLayout->addWidget(sgDebug, 1);
    valuesLayout->addWidget(lbDebugStep);
    valuesLayout->addLayout(valueChoices);

    auto* instructionsBox = new QGroupBox("Instructions");
    lboxInstructions = new QListWidget(instructionsBox);
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    lboxInstructions->setFont(fixed);
    rgWhichInstrSet =
        new RadioGroup("Instruction set", {"All instructions", "Differentiation instructions"});
    auto* instructionsLayout = new QVBoxLayout(instructionsBox);
    instructionsLayout->addWidget(lboxInstructions, 1);
    instructionsLayout->addWidget(rgWhichInstrSet);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(valuesBox);
    top->addWidget(instructionsBox);
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 2);
    top->setChildrenCollapsible(false);

    auto* chosen = new QGroupBox("Chosen instruction");
    lbDebugInstr = new QLabel;
    stDebugInstr = new QLabel;
    stSourceLine = new QLabel;
    for (QLabel* label : {lbDebugInstr, stDebugInstr, stSourceLine})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btToEquations = createButton("View", "View the error in the source", chosen);
    auto* chosenLayout = new QGridLayout(chosen);
    chosenLayout->addWidget(new QLabel("Instruction:"), 0, 0);
    chosenLayout->addWidget(lbDebugInstr, 0, 1);
    chosenLayout->addWidget(new QLabel("Operands:"), 1, 0);
    chosenLayout->addWidget(stDebugInstr, 1, 1);
    chosenLayout->addWidget(new QLabel("Source:"), 2, 0);
    chosenLayout->addWidget(stSourceLine, 2, 1);
    chosenLayout->addWidget(btToEquations, 0, 2, 3, 1, Qt::AlignVCenter);
    chosenLayout->setColumnStretch(1, 1);

    connect(rgView, &RadioGroup::clicked, this, &TProblForm::rgViewClick);
    connect(rbCoeff, &QRadioButton::clicked, this, &TProblForm::fillDebugGrid);
    connect(rbDerivatives, &QRadioButton::clicked, this, &TProblForm::fillDebugGrid);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TProblForm::SpinEdit1Change);
    connect(rgWhichInstrSet, &RadioGroup::clicked, this, &TProblForm::rgWhichInstrSetClick);
    connect(lboxInstructions, &QListWidget::itemClicked, this, &TProblForm::lboxInstructionsClick);
    connect(sgDebug, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int column) { sgDebugDblClick(row + 1, column); });
    connect(btToEquations, &QPushButton::clicked, this, &TProblForm::btToEquationsClick);
    connect(btCopyDebug, &QPushButton::clicked, this, &TProblForm::btCopyToExcelClick);
    SpinEdit1->setVisible(false);
    stOf->setVisible(false);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(top, 1);
    layout->addWidget(chosen);
    PageControl1->addTab(page, "Debugging");
}

void TProblForm::createIntegrationPage() {
    auto* page = new QWidget;
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(createStepControlGroup(), 3);
    bottom->addWidget(createRunGroup(), 3);
    bottom->addWidget(createResultArrayGroup(), 2);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(createParametersGroup(), 1);
    layout->addLayout(bottom);
    PageControl1->addTab(page, "Integration setting");
    // Tab reads the page as the eye does: the grid with its buttons, then the three groups
    // below from left to right; "More" stands before its number of steps, the list of windows
    // comes last.
    setTabOrderChain({sgParameters,
                      rbAllowEdit,
                      rbAllowMulti,
                      btApplyStrGrid,
                      btCurToInit,
                      btCopyToExcel,
                      btPaste,
                      btCurToClip,
                      btClipToInit,
                      rgErrorControl->button(0),
                      rgErrorControl->button(1),
                      rgErrorControl->button(2),
                      edCurRadFactor,
                      rgErrorControl->button(3),
                      edStepTolerance,
                      cbDespite,
                      rgConvergence->button(0),
                      rgConvergence->button(1),
                      rgConvergence->button(2),
                      btMoreBlind,
                      edNumSteps,
                      btRestart,
                      cbTermination,
                      edEndTime,
                      rgDirection->button(0),
                      rgDirection->button(1),
                      edArrLen,
                      cbResultArray,
                      cbAuxVarsToo,
                      cbCircular,
                      btAppend,
                      LBoxAllProbl});
}

void TProblForm::setTabOrderChain(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

QWidget* TProblForm::createParametersGroup() {
    auto* box = new QWidget;
    sgParameters = new StringGrid(6, box);
    const int valueWidth = widestValueWidth(sgParameters->font());
    sgParameters->setDefaultColumnWidths({120, std::max(144, valueWidth), std::max(140, valueWidth),
                                          std::max(131, valueWidth), 87, 83});
    // The values take 18 digits; names and tolerances are short.
    sgParameters->setGrowingColumns({1, 2, 3});
    sgParameters->setFittingColumn(0);
    sgParameters->horizontalHeader()->setStretchLastSection(true);
    sgParameters->setColumnReadOnly(0, true);
    sgParameters->setColumnReadOnly(2, true);
    sgParameters->setColumnReadOnly(3, true);
    sgParameters->viewport()->installEventFilter(this);
    connect(sgParameters, &QTableWidget::cellChanged, this,
            [this](int row, int column) { sgParametersSetEditText(row + 1, column); });
    connect(sgParameters, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int column) { sgParametersDblClick(row + 1, column); });

    rbAllowEdit = new QRadioButton("One cell edit ,   or...");
    rbAllowMulti = new QRadioButton("Multi cell selection");
    rbAllowEdit->setChecked(true);
    connect(rbAllowEdit, &QRadioButton::clicked, this, &TProblForm::rbAllowEditClick);
    connect(rbAllowMulti, &QRadioButton::clicked, this, &TProblForm::rbAllowEditClick);
    btApplyStrGrid = createButton("&Apply", "", box);
    btCurToInit =
        createButton("Current -> Initial", "Assign current values to initial values", box);
    btCopyToExcel = createButton("Copy all", "Copies entire table into clipboard", box);
    btPaste = createButton("Paste IVP",
                           "Pastes a column of values from a table as new Initial Values ", box);
    btCurToClip =
        createButton("Current -> Clipboard file", "Copy current values to Clipboard file", box);
    btClipToInit = createButton("Clipboard file -> Initial",
                                "Assign clipboard values to current and initial values", box);
    StaticTextClipBoard = new QLabel("No clipboard file");
    StaticTextClipBoard->setToolTip("Ctrl+Click to erase clipboard file");
    StaticTextClipBoard->setWordWrap(true);
    StaticTextClipBoard->setFrameShape(QFrame::StyledPanel);
    StaticTextClipBoard->installEventFilter(this);

    connect(btCopyToExcel, &QPushButton::clicked, this, &TProblForm::btCopyToExcelClick);
    connect(btApplyStrGrid, &QPushButton::clicked, this, &TProblForm::btApplyStrGridClick);
    connect(btCurToInit, &QPushButton::clicked, this, &TProblForm::btCurToInitClick);
    connect(btPaste, &QPushButton::clicked, this, &TProblForm::btPasteClick);
    connect(btCurToClip, &QPushButton::clicked, this, &TProblForm::btCurToClipClick);
    connect(btClipToInit, &QPushButton::clicked, this, &TProblForm::btClipToInitClick);
    btApplyStrGrid->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(rbAllowEdit);
    side->addWidget(rbAllowMulti);
    side->addWidget(btApplyStrGrid);
    side->addWidget(btCurToInit);
    side->addWidget(btCopyToExcel);
    side->addWidget(btPaste);
    side->addSpacing(6);
    side->addWidget(btCurToClip);
    side->addWidget(btClipToInit);
    side->addWidget(StaticTextClipBoard);
    side->addStretch();

    gbAllProbl = new QGroupBox("Bring problem to front...");
    LBoxAllProbl = new QListWidget(gbAllProbl);
    LBoxAllProbl->setToolTip("Click to bring to front");
    connect(LBoxAllProbl, &QListWidget::itemClicked, this, &TProblForm::LBoxAllProblClick);
    auto* listLayout = new QVBoxLayout(gbAllProbl);
    listLayout->setContentsMargins(4, 4, 4, 4);
    listLayout->addWidget(LBoxAllProbl);
    // Room for three windows; more scroll.
    LBoxAllProbl->setMaximumHeight(3 * LBoxAllProbl->fontMetrics().lineSpacing() +
                                   2 * LBoxAllProbl->frameWidth() + 4);
    Panel2 = new QLabel;
    Panel2->setAlignment(Qt::AlignCenter);
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(Panel2);
    gridColumn->addWidget(sgParameters, 1);
    gridColumn->addWidget(gbAllProbl);

    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(gridColumn, 1);
    layout->addLayout(side);
    return box;
}

QWidget* TProblForm::createStepControlGroup() {
    auto* box = new QWidget;
    rgErrorControl = new RadioGroup(
        "Error control", {"Middle step error control with step adjustment",
                          "Back step error control with step adjustment",
                          "No error control. Step  h = kR ,  k =", "Tolerance per step"});
    rgErrorControl->setItemIndex(2);
    edCurRadFactor = new QLineEdit("0.5");
    edCurRadFactor->setMaximumWidth(90);
    // The caption reads as one sentence with the factor's edit in it: "k = [0.5] < 1".
    QRadioButton* noControl = rgErrorControl->button(2);
    rgErrorControl->itemLayout()->removeWidget(noControl);
    auto* factorRow = new QHBoxLayout;
    factorRow->setSpacing(4);
    factorRow->addWidget(noControl);
    factorRow->addWidget(edCurRadFactor);
    factorRow->addWidget(new QLabel("< 1"));
    factorRow->addStretch();
    rgErrorControl->itemLayout()->insertLayout(2, factorRow);
    // "Tolerance per step  E = [1e-19]": its own row under the factor's.
    edStepTolerance = new QLineEdit("1e-19");
    edStepTolerance->setMaximumWidth(90);
    edStepTolerance->setToolTip("Largest error of every step: relative where |x| > 1, absolute "
                                "below");
    QRadioButton* toleranceItem = rgErrorControl->button(3);
    rgErrorControl->itemLayout()->removeWidget(toleranceItem);
    auto* toleranceRow = new QHBoxLayout;
    toleranceRow->setSpacing(4);
    toleranceRow->addWidget(toleranceItem);
    toleranceRow->addWidget(new QLabel("E ="));
    toleranceRow->addWidget(edStepTolerance);
    toleranceRow->addStretch();
    rgErrorControl->itemLayout()->insertLayout(3, toleranceRow);
    cbDespite = new QCheckBox("Go despite error");
    cbDespite->setToolTip("Take the smallest step anyway and log the failed test");
    connect(cbDespite, &QCheckBox::clicked, this, &TProblForm::cbDespiteClick);
    rgErrorControl->itemLayout()->addWidget(cbDespite);

    rgConvergence =
        new RadioGroup("Variables for computing radius...",
                       {"Main only", "Main and auxiliary", "Main, auxiliary, and internal "});
    rgConvergence->setItemIndex(1);
    lbConvRad = new QLabel("Not compiled yet                ");
    lbStep = new QLabel;
    lbRadLim = createClickableLabel("Radius limit: 10", "Click to change the radius limit", box);
    lbDifOrder = createClickableLabel("Order of differentiation:  30",
                                      "Click to change the order of differentiation", box);
    lbRadLim->installEventFilter(this);
    lbDifOrder->installEventFilter(this);

    connect(rgErrorControl, &RadioGroup::clicked, this, &TProblForm::rgErrorControlClick);
    connect(edCurRadFactor, &QLineEdit::textEdited, this, &TProblForm::edCurRadFactorChange);
    connect(edStepTolerance, &QLineEdit::editingFinished, this, &TProblForm::edStepToleranceChange);
    connect(rgConvergence, &RadioGroup::clicked, this, &TProblForm::rgConvergenceClick);

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rgErrorControl);
    layout->addWidget(rgConvergence);
    layout->addWidget(lbConvRad);
    layout->addWidget(lbStep);
    layout->addWidget(lbRadLim);
    layout->addWidget(lbDifOrder);
    return box;
}

QWidget* TProblForm::createRunGroup() {
    auto* box = new QGroupBox("Integration");
    edNumSteps = new QLineEdit("1");
    edNumSteps->setMaximumWidth(90);
    lbSteps = new QLabel("step");
    btMoreBlind = createButton("&More", "Integrate number of steps", box);
    btMoreBlind->setDefault(false);
    btRestart = createButton("&Restart", "", box);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(12);
    PrBarComp = new QProgressBar;
    PrBarComp->setVisible(false);
    lbHowMany = new QLabel;
    lbHowMany->setWordWrap(true);
    // Room for the longest summary on two lines, whether or not one is shown, so that nothing
    // below it moves.
    lbHowMany->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbHowMany->setFixedHeight(2 * lbHowMany->fontMetrics().lineSpacing() + 2);
    cbTermination = new QCheckBox("On");
    edEndTime = new QLineEdit;
    edEndTime->setToolTip("Set terminal value or nothing");
    lbUntilReached = new QLabel("value  =");
    lbUntilReached->setEnabled(false);
    rgDirection = new RadioGroup("Direction", {"Forward", "Backward"});
    lbDt = new QLabel("...  ");
    lbIncrease = new QLabel(" increases");
    stSpecPoint = new QLabel("Special\npoint\nloaded");
    stSpecPoint->setStyleSheet("color: red;");
    stSpecPoint->setToolTip("Right-click to clear");
    stSpecPoint->setVisible(false);
    stSpecPoint->installEventFilter(this);
    lbNotCurrentProblem = new QLabel("... inactive (is not currently integrated)");
    lbNotCurrentProblem->setVisible(false);

    connect(btMoreBlind, &QPushButton::clicked, this, &TProblForm::btMoreBlindClick);
    connect(edNumSteps, &QLineEdit::returnPressed, this, &TProblForm::btMoreBlindClick);
    connect(btRestart, &QPushButton::clicked, this, &TProblForm::btRestartClick);
    connect(cbTermination, &QCheckBox::clicked, this, &TProblForm::cbTerminationClick);
    connect(edEndTime, &QLineEdit::textChanged, this, &TProblForm::edEndTimeChange);
    connect(rgDirection, &RadioGroup::clicked, this, &TProblForm::rgDirectionClick);

    auto* runRow = new QHBoxLayout;
    runRow->addWidget(btMoreBlind);
    runRow->addWidget(edNumSteps);
    runRow->addWidget(lbSteps);
    runRow->addStretch();
    runRow->addWidget(btRestart);
    auto* termination = new QGroupBox("Termination");
    auto* terminationLayout = new QGridLayout(termination);
    terminationLayout->setContentsMargins(6, 4, 6, 4);
    terminationLayout->addWidget(cbTermination, 0, 0);
    terminationLayout->addWidget(edEndTime, 0, 1);
    terminationLayout->addWidget(lbUntilReached, 1, 0, 1, 2);
    auto* dtRow = new QHBoxLayout;
    dtRow->setSpacing(0);
    dtRow->addWidget(lbDt);
    dtRow->addWidget(lbIncrease);
    dtRow->addStretch();
    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(rgDirection);
    directionRow->addWidget(stSpecPoint);
    directionRow->addStretch();

    auto* layout = new QVBoxLayout(box);
    layout->addLayout(runRow);
    layout->addWidget(ProgressBar1);
    layout->addWidget(lbHowMany);
    layout->addWidget(termination);
    layout->addLayout(dtRow);
    layout->addLayout(directionRow);
    layout->addWidget(lbNotCurrentProblem);
    layout->addWidget(PrBarComp);
    layout->addStretch();
    return box;
}

QWidget* TProblForm::createResultArrayGroup() {
    gbResultArr = new QGroupBox("Result array");
    edArrLen = new QLineEdit;
    edArrLen->setToolTip("Number of elements to open a new Result array");
    cbResultArray = new QCheckBox("Main variables");
    cbResultArray->setToolTip("Check in to open new array");
    cbAuxVarsToo = new QCheckBox("Aux. variables also");
    cbAuxVarsToo->setToolTip("Required to Play Aux Variables");
    cbCircular = new QCheckBox("Circular,  or...");
    cbCircular->setToolTip("Not to be appended. Stores only specified number of elements");
    btAppend = createButton("Append", "Appends non-circular Result array", gbResultArr);
    lbResArray = new QLabel;
    lbStoreHint = new QLabel;
    lbStoreHint->setWordWrap(true);
    lbStoreHint->setStyleSheet("color: #0000a0;");
    pbMemory = new QProgressBar;
    pbMemory->setTextVisible(false);
    pbMemory->setMaximumHeight(12);

    connect(cbResultArray, &QCheckBox::clicked, this, &TProblForm::cbResultArrayClick);
    connect(cbAuxVarsToo, &QCheckBox::clicked, this, &TProblForm::cbAuxVarsTooClick);
    connect(cbCircular, &QCheckBox::clicked, this, &TProblForm::cbCircularClick);
    connect(edArrLen, &QLineEdit::textEdited, this, &TProblForm::edArrLenChange);
    connect(btAppend, &QPushButton::clicked, this, &TProblForm::btAppendClick);

    auto* layout = new QGridLayout(gbResultArr);
    layout->addWidget(new QLabel("Elements"), 0, 0);
    layout->addWidget(edArrLen, 0, 1);
    layout->addWidget(cbResultArray, 1, 0, 1, 2);
    layout->addWidget(cbAuxVarsToo, 2, 0, 1, 2);
    layout->addWidget(cbCircular, 3, 0);
    layout->addWidget(btAppend, 3, 1);
    layout->addWidget(lbResArray, 4, 0, 1, 2);
    layout->addWidget(pbMemory, 5, 0, 1, 2);
    layout->addWidget(lbStoreHint, 6, 0, 1, 2);
    layout->setRowStretch(7, 1);
    return gbResultArr;
}

void TProblForm::createMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    // The hints say why a command is grey.
    file->setToolTipsVisible(true);
    New1 = file->addAction("New", QKeySequence::New, this, &TProblForm::New1Click);
    Open1 = file->addAction("Open", QKeySequence::Open, this, &TProblForm::Open1Click);
    Openscript1 = file->addAction("Load Script", this, &TProblForm::Openscript1Click);
    Openscript1->setShortcut(Qt::CTRL | Qt::Key_L);
    Opentoconnect1 = file->addAction("Open To Connect", this, &TProblForm::Opentoconnect1Click);
    QMenu* special = file->addMenu("Open special point and...");
    special->addAction("Differentiate 0 times", this, [this] { openSpecialPoint(0); });
    special->addAction("Differentiate 1 time", this, [this] { openSpecialPoint(1); });
    special->addAction("Differentiate 2 times", this, [this] { openSpecialPoint(2); });
    AssumeconvradiusAsRadiuslimit1 = special->addAction("Assume conv. radius =  radius limit");
    AssumeconvradiusAsRadiuslimit1->setCheckable(true);
    connect(AssumeconvradiusAsRadiuslimit1, &QAction::toggled, this,
            [this](bool checked) { state_.AssumeRadiusLimit = checked; });
    file->addSeparator();
    Save1 = file->addAction("Save", QKeySequence::Save, this, &TProblForm::Save1Click);
    SaveAs1 = file->addAction("Save As", QKeySequence::SaveAs, this, &TProblForm::SaveAs1Click);
    Savescript1 = file->addAction("Save Script", this, &TProblForm::Savescript1Click);
    Savetoclipboard1 = file->addMenu("Save to clipboard...");
    Scriptpath1 = Savetoclipboard1->addAction("Script path", this, &TProblForm::Scriptpath1Click);
    Scriptcommandline1 = Savetoclipboard1->addAction("Script command line", this,
                                                     &TProblForm::Scriptcommandline1Click);
    file->addSeparator();
    Loaddata1 = file->addAction("Load Data", this, &TProblForm::Loaddata1Click);
    Savedata1 = file->addAction("Save Data", this, &TProblForm::Savedata1Click);
    file->addSeparator();
    Print1 = file->addAction("Print", QKeySequence::Print, this, &TProblForm::Print1Click);
    Exit1 = file->addAction("Exit", this, &QWidget::close);

    Compile1 = menuBar()->addAction("&Compile", this, &TProblForm::Compile1Click);
    Compile1->setShortcut(Qt::Key_F9);
    Clear1 = menuBar()->addAction("C&lear", this, &TProblForm::Clear1Click);
    QMenu* parameters = menuBar()->addMenu("&Parameters");
    Changeorder1 =
        parameters->addAction("Order Of Differentiation", this, &TProblForm::Changeorder1Click);
    ConvergenceRadiusLimit1 =
        parameters->addAction("Convergence Radius Limit", this, &TProblForm::lbRadLimClick);
    Font1 = menuBar()->addAction("F&ont", this, &TProblForm::Font1Click);
    Graph1 = menuBar()->addAction("&Graph", this, &TProblForm::Graph1Click);

    addToolMenus(*this, menuBar(), state_, ui_);
    QMenu* help = menuBar()->addMenu("&Help");
    About1 = help->addAction("About", this, [this] { showAboutBox(this); });
}

void TProblForm::FormCreate() {
    edArrLen->setText("1000");
    Save1->setEnabled(false);
    writeParametersHeader();
    sgFuncSel->setCell(1, 0, "X axis");
    sgFuncSel->setCell(2, 0, "Y axis");
    sgFuncSel->setCell(3, 0, "");
    PageControl1->setCurrentIndex(EquationsPage);
    sgDebug->setColumnWidth(0, 38);
    sgDebug->setColumnWidth(1, 92);
    sgDebug->setColumnWidth(2, std::max(180, widestValueWidth(sgDebug->font())));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TProblForm::PageControl1Change);
    new KeyPreview(this, [this](int key) { FormKeyDown(key); });
    FormPaint();
}

void TProblForm::writeParametersHeader() {
    const char* headers[] = {"",           "Initial values", "Current values", "Their difference",
                             "Abs. error", "Rel. error"};
    for (int c = 0; c < 6; ++c)
        sgParameters->setCell(c, 0, headers[c]);
}
