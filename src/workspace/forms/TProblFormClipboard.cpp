// The problem window's value transfers: the clipboard file between problem windows, and the
// pasted column of initial values.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "integrator/IntegrationRun.h"
#include "workspace/ClipboardFile.h"
#include "workspace/GridTransfer.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

std::string TProblForm::clipboardPath() const {
    return clipboardFilePath(windows_.programFolder);
}

void TProblForm::refreshClipboardIndicator() {
    std::optional<std::string> caption = clipboardFileCaption(clipboardPath());
    StaticTextClipBoard->setText(QString::fromStdString(clipboardIndicatorText(caption)));
    StaticTextClipBoard->setEnabled(caption.has_value());
    btClipToInit->setEnabled(caption.has_value());
}

void TProblForm::btCurToClipClick() {
    if (!problem_.Compiled)
        return;
    std::vector<Extended> values;
    for (int r = 0; r < problem_.NumMain; ++r)
        values.push_back(problem_.Coefficients[problem_.NumConst + r][0]);
    if (writeClipboardFile(clipboardPath(), windowTitle().toStdString(), values, ui_))
        refreshClipboardIndicator();
}

void TProblForm::btClipToInitClick() {
    refreshClipboardIndicator();
    // The values become current values of the compiled problem; without one they have no home.
    if (!problem_.Compiled) {
        ui_.message("Compile the problem before taking the clipboard values");
        return;
    }
    try {
        std::vector<Extended> values =
            readClipboardValues(clipboardPath(), windowTitle().toStdString(),
                                static_cast<std::size_t>(problem_.NumMain));
        for (int r = 0; r < problem_.NumMain; ++r)
            problem_.Coefficients[problem_.NumConst + r][0] = values[r];
        btCurToInitClick();
        restart(state_, problem_, ui_, 1);
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
        return;
    }
    {
        QSignalBlocker blocker(cbTermination);
        cbTermination->setChecked(false);
    }
    clearTermination(problem_);
    btApplyStrGrid->setEnabled(false);
    initialValuesEdited_ = false;
    lbHowMany->setText("Total: 0");
    FormPaint();
}

void TProblForm::StaticTextClipBoardMouseDown(Qt::KeyboardModifiers modifiers) {
    if (modifiers == Qt::NoModifier)
        return;
    deleteClipboardFile(clipboardPath());
    refreshClipboardIndicator();
}

void TProblForm::btPasteClick() {
    int rows = sgParameters->rowCountWithHeader() - 1;
    try {
        std::vector<std::string> values =
            pastedInitialValues(ui_.clipboardText(), static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            sgParameters->setCell(1, r + 1, values[r]);
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
    }
}
