// The problem window's file commands: Open, Save, Save As, Print, Load Data, Save Data, the
// special point and the start-up file.
#include "workspace/forms/TProblForm.h"

#include "common/Ui.h"
#include "integrator/IntegrationRun.h"
#include "workspace/DataFiles.h"
#include "workspace/ProblemFile.h"
#include "workspace/ScriptLocation.h"
#include "workspace/SpecialPointFile.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/PrinterChoice.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSignalBlocker>
#include <QTabWidget>

#include <filesystem>

namespace {

constexpr const char* OdeFilter = "ODEs|*.ode";

} // namespace

ProblemDocument TProblForm::documentFromPanes() const {
    ProblemDocument document = document_;
    document.Panes = {paneLines(REditConst), paneLines(REditInit), paneLines(REditAux),
                      paneLines(REditODEs)};
    return document;
}

void TProblForm::showDocument(const ProblemDocument& document) {
    document_ = document;
    filePath_ = document.Path;
    saveDialogFileName_ = document.Path;
    // Loading is not an edit: the compiled state and the stored results stay as they are.
    QSignalBlocker constBlocker(REditConst), initBlocker(REditInit), auxBlocker(REditAux),
        odeBlocker(REditODEs);
    setPaneLines(REditConst, document.Panes.Constants);
    setPaneLines(REditInit, document.Panes.Initial);
    setPaneLines(REditAux, document.Panes.Aux);
    setPaneLines(REditODEs, document.Panes.ODEs);
    setCaption(document.Caption);
    setModified(false);
    sharePaneHeights();
    PageControl1->setCurrentIndex(EquationsPage);
    refreshPolyDesigner();
}

// Everything that a newly opened problem starts without. The main window's problem replaces the
// whole run: the connected windows close and the stored results go.
void TProblForm::prepareForNewProblem() {
    if (isMainWindow()) {
        closeOtherWindows();
        windows_.setIntegrated(this);
        state_.Results.clear();
    }
    edArrLen->setText("0");
    edNumSteps->setText("1");
    clearParametersGrid();
    resetCompiledState();
}

bool TProblForm::openProblemFile(const std::string& path) {
    prepareForNewProblem();
    ProblemDocument document;
    if (!loadProblemFile(document, problem_, state_, path, ui_)) {
        FormPaint();
        return false;
    }
    showDocument(document);
    FormPaint();
    return true;
}

// The file dialogs start in "Samples" the first time, then in the folder used last.
std::optional<std::string> TProblForm::chooseFileToOpen(const std::string& title,
                                                        const std::string& filter) {
    if (windows_.lastFolder.empty())
        windows_.lastFolder = windows_.programFolder + "Samples";
    auto path = ui_.openFile(title, filter, windows_.lastFolder);
    if (path)
        windows_.lastFolder = std::filesystem::path(*path).parent_path().string();
    return path;
}

void TProblForm::Open1Click() {
    if (!isMainWindow()) {
        windows_.mainWindow()->Open1Click();
        return;
    }
    if (!confirmDiscard())
        return;
    if (auto path = chooseFileToOpen("Open ODEs or Run script", OdeFilter))
        openProblemFile(*path);
}

bool TProblForm::saveProblemAs(const std::string& fileName) {
    ProblemDocument document = documentFromPanes();
    bool written = writeProblemFile(document, fileName, FormulaList, ui_);
    document_.Path = document.Path;
    filePath_ = document.Path;
    saveDialogFileName_ = document.Path;
    if (!written)
        return false;
    setCaption(captionForPath(document.Path));
    setModified(false);
    return true;
}

void TProblForm::Save1Click() {
    if (filePath_.empty())
        SaveAs1Click();
    else
        saveProblemAs(filePath_);
}

void TProblForm::SaveAs1Click() {
    if (auto name = ui_.saveFile("Save ODE (and scripts)", OdeFilter, saveDialogFileName_))
        saveProblemAs(*name);
}

void TProblForm::Print1Click() {
    QPrinter printer;
    // Without a printer the listing goes to a PDF where the user says, named after the problem
    // to begin with.
    const std::string proposal =
        filePath_.empty() ? std::string("Unnamed.pdf")
                          : std::filesystem::path(filePath_).replace_extension(".pdf").string();
    if (!choosePrinter(printer, ui_, this, "Print to PDF", proposal))
        return;
    QFont font("Courier New", 12);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ui_.message("Cannot print");
        return;
    }
    painter.setFont(font);
    QString text = QString::fromStdString(problemFileText(documentFromPanes(), false));
    text.remove('\r');
    QRect page = painter.viewport();
    int lineHeight = painter.fontMetrics().lineSpacing();
    int y = lineHeight;
    for (const QString& line : text.split('\n')) {
        if (y > page.height()) {
            printer.newPage();
            y = lineHeight;
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    painter.end();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        ui_.information("Printed to " + printer.outputFileName().toStdString());
}

void TProblForm::Savedata1Click() {
    auto name = ui_.saveFile("Save ODE (and scripts)", OdeFilter, saveDialogFileName_);
    if (!name)
        return;
    ProblemDocument document = documentFromPanes();
    saveData(state_, problem_, document, *name, FormulaList, ui_);
    document_.Path = document.Path;
    filePath_ = document.Path;
    saveDialogFileName_ = document.Path;
    setCaption(captionForPath(document.Path));
    setModified(false);
}

void TProblForm::Loaddata1Click() {
    if (!isMainWindow()) {
        windows_.mainWindow()->Loaddata1Click();
        return;
    }
    if (!confirmDiscard())
        return;
    auto path = chooseFileToOpen("Open ODEs or Run script", OdeFilter);
    if (!path)
        return;
    prepareForNewProblem();
    ProblemDocument document;
    FormulaAssembly assembly;
    bool loaded = loadData(state_, problem_, document, assembly, *path, ui_);
    // The panes show the problem as far as it was read, even when its data was refused.
    if (!document.Path.empty())
        showDocument(document);
    if (problem_.Compiled) {
        FormulaList = assembly.FormulaList;
        showCompiledProblem(assembly.MainNames);
    }
    if (loaded) {
        QSignalBlocker lengthBlocker(edArrLen);
        edArrLen->setText(QString::number(state_.Results.Length));
        QSignalBlocker resultsBlocker(cbResultArray);
        cbResultArray->setChecked(!state_.Results.empty());
        QSignalBlocker auxBlocker(cbAuxVarsToo);
        cbAuxVarsToo->setChecked(state_.Results.Vars > problem_.NumMain);
        QSignalBlocker circularBlocker(cbCircular);
        cbCircular->setChecked(false);
    }
    FormPaint();
}

void TProblForm::openSpecialPoint(int differentiate) {
    if (auto path = chooseFileToOpen("Open special point", SpecialPointFilter))
        loadSpecialPoint(problem_, state_, *path, differentiate, ui_);
    FormPaint();
}

void TProblForm::openStartupFile(const std::string& argument) {
    StartupFile file = classifyStartupFile(argument, windows_.programFolder);
    if (file.kind == StartupFile::Script)
        runScript(file.path, true);
    else if (file.kind == StartupFile::Problem)
        openProblemFile(file.path);
}
