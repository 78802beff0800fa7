// The problem window's scripts: Load Script and the start-up script, Save Script, and the
// script's path or command line on the clipboard.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "graphics/forms/TGraphForm.h"
#include "workspace/ProblemFile.h"
#include "workspace/ScriptGraph.h"
#include "workspace/ScriptRun.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include <filesystem>

void TProblForm::Openscript1Click() {
    if (!isMainWindow()) {
        windows_.mainWindow()->Openscript1Click();
        return;
    }
    if (!confirmDiscard())
        return;
    if (auto path = chooseFileToOpen("Open ODEs or Run script", ScriptFilter))
        runScript(*path, true);
}

void TProblForm::runScript(const std::string& name, bool fullPath) {
    const ScriptLocation location = locateScript(name, fullPath, windows_.programFolder);
    std::optional<ScriptRecord> record = openScript(location, name, ui_);
    if (!record)
        return;
    prepareForNewProblem();
    ProblemDocument document;
    FormulaAssembly assembly;
    bool prepared = prepareScript(*record, location, state_, problem_, document, assembly, ui_);
    // A problem that was read stays in the panes, compiled or not.
    if (!document.Path.empty())
        showDocument(document);
    if (problem_.Compiled) {
        FormulaList = assembly.FormulaList;
        showCompiledProblem(assembly.MainNames);
    }
    {
        QSignalBlocker blocker(edCurRadFactor);
        edCurRadFactor->setText(QString::fromStdString(formatShortestReal(record->RadFactor)));
        QSignalBlocker degreesBlocker(rbDegrees), radiansBlocker(rbRadians);
        (record->AngleUnit == 1 ? rbDegrees : rbRadians)->setChecked(true);
    }
    if (!prepared) {
        FormPaint();
        return;
    }
    showScriptSettings(*record);
    if (!takeScriptCurves(*record))
        return;
    state_.Graph = snapshotFromScript(*record, problem_.NumMain);
    // The run's summary is on the integration page; its curves, if any, in the graph window.
    PageControl1->setCurrentIndex(IntegrationPage);
    if (curveTable().Curves.empty() || !windows_.graph) {
        btMoreBlindClick();
        return;
    }
    windows_.setIntegrated(this);
    windows_.graph->runScript(record->Colours);
    FormPaint();
}

// The script's curves become the curve selection; a curve over variables the problem does not
// have refuses the script's graph.
bool TProblForm::takeScriptCurves(const ScriptRecord& record) {
    const bool threeD = record.Dimension == 3;
    {
        QSignalBlocker blocker2D(rb2D), blocker3D(rb3D);
        (threeD ? rb3D : rb2D)->setChecked(true);
    }
    switchCurveMode(threeD);
    std::optional<CurveTable> curves =
        curvesFromScript(record, static_cast<std::int32_t>(curveNames().size()), ui_);
    if (!curves)
        return false;
    curveTable() = std::move(*curves);
    showCurveList();
    FormPaint();
    return true;
}

// The controls of the window that the script's settings have a home in.
void TProblForm::showScriptSettings(const ScriptRecord& record) {
    // Scripts hold one of the three original items; the tolerance mode is never stored.
    if (record.ErrorControl >= 0 && record.ErrorControl <= NoErrorControlItem)
        rgErrorControl->setItemIndex(record.ErrorControl);
    if (record.Convergence >= 0 && record.Convergence < rgConvergence->count())
        rgConvergence->setItemIndex(record.Convergence);
    QSignalBlocker lengthBlocker(edArrLen), resultsBlocker(cbResultArray), auxBlocker(cbAuxVarsToo),
        circularBlocker(cbCircular);
    edArrLen->setText(QString::number(record.ResultsLength));
    cbResultArray->setChecked(!state_.Results.empty());
    cbAuxVarsToo->setChecked(!state_.Results.empty() && record.ValuesPerPoint > problem_.NumMain);
    cbCircular->setChecked(false);
    edNumSteps->setText(QString::number(record.GraphSteps));
    FormPaint();
}

ScriptRecord TProblForm::scriptRecordFromWindow() const {
    ScriptRecord record;
    record.Dimension = rb3D->isChecked() ? 3 : 2;
    for (const Curve& curve : curveTable().Curves)
        record.Curves.push_back({curve.X, curve.Y, curve.Z, curve.Caption});
    // The graph's part is what the graph window held when it was last left. Without curves
    // the script integrates in this window, the steps of this window.
    writeSnapshotToScript(state_.Graph, record);
    if (record.Curves.empty())
        record.GraphSteps = parseInteger(trim(edNumSteps->text().toStdString())).value_or(1);
    if (windows_.graph) {
        record.Colours = windows_.graph->curveColours();
    } else {
        // Turns after no colours would be read as colours: without a graph the tail stays off.
        record.Turns.reset();
        record.Figure.reset();
    }
    record.ProblemName = std::filesystem::path(filePath_).filename().string();
    record.RadFactor =
        parseTrimmedNumber(edCurRadFactor->text().toStdString()).value_or(state_.RadFactor);
    record.TermCount = state_.TermCount;
    record.ErrorControl = rgErrorControl->itemIndex();
    record.Direction = rgDirection->itemIndex();
    record.AngleUnit = rbDegrees->isChecked() ? 1 : 0;
    record.Convergence = rgConvergence->itemIndex();
    record.ResultsLength = state_.Results.empty() ? 0 : state_.Results.Length;
    record.ValuesPerPoint = state_.Results.empty() ? 0 : state_.Results.Vars;
    return record;
}

std::string TProblForm::scriptPath() const {
    return std::filesystem::path(filePath_).replace_extension(".scr").string();
}

void TProblForm::Savescript1Click() {
    std::string proposal = filePath_.empty() ? std::string() : scriptPath();
    auto name = ui_.saveFile("Save ODE (and scripts)", ScriptFilter, proposal);
    if (!name || !saveProblemAs(*name))
        return;
    writeScriptFile(scriptRecordFromWindow(), filePath_, ui_);
}

void TProblForm::Scriptpath1Click() {
    if (!Savescript1->isEnabled()) {
        ui_.message("First save a script");
        return;
    }
    ui_.setClipboardText(scriptPath());
}

void TProblForm::Scriptcommandline1Click() {
    if (!Savescript1->isEnabled()) {
        ui_.message("First save a script");
        return;
    }
    std::string program = QFileInfo(QApplication::applicationFilePath()).fileName().toStdString();
    ui_.setClipboardText(windows_.programFolder + program + "  " + scriptPath());
}
