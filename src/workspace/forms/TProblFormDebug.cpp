// The problem window's debugging page: the table of values and coefficients, the instruction
// list, the chosen instruction with its operands and its way back to the source line.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "compiler/CompileDriver.h"
#include "compiler/InstructionText.h"
#include "compiler/OrderZero.h"
#include "tools/forms/TCalcForm.h"
#include "workspace/GridTransfer.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/DebugView.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBlock>

#include <span>

void TProblForm::fillDebugGrid() {
    if (PageControl1->currentIndex() != DebuggingPage)
        return;
    std::vector<std::span<const Extended>> entries;
    int formulaOffset = 0;
    if (rgView->itemIndex() == 0) {
        const CoefficientTable& table = problem_.Coefficients;
        for (std::int32_t var = 0; var < table.count(); ++var)
            entries.emplace_back(table[var], static_cast<std::size_t>(table.length(var)));
    } else {
        entries = storedPointEntries(SpinEdit1->value());
        formulaOffset = problem_.NumConst;
    }
    auto rows = debugTableTexts(entries, FormulaList, formulaOffset, termCount(),
                                rbDerivatives->isChecked());
    sgDebug->setColumns(static_cast<int>(rows.front().size()));
    sgDebug->setRowCountWithHeader(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row)
        for (int column = 0; column < static_cast<int>(rows[row].size()); ++column)
            sgDebug->setCell(column, row, rows[row][column]);
    // The names are padded to the right edge; in a proportional font only alignment keeps them
    // there.
    sgDebug->alignColumn(1, Qt::AlignRight | Qt::AlignVCenter);
}

std::vector<std::span<const Extended>> TProblForm::storedPointEntries(int point) const {
    std::vector<std::span<const Extended>> entries;
    const ResultsArray& results = state_.Results;
    if (results.empty() || point < 0 || point > state_.StepIndex)
        return entries;
    std::int32_t slot = point % results.Length;
    for (std::int32_t var = 0; var < results.Vars; ++var)
        entries.emplace_back(results.at(slot, var), static_cast<std::size_t>(results.Terms));
    return entries;
}

void TProblForm::rgViewClick() {
    bool storedPoint = rgView->itemIndex() == 1;
    SpinEdit1->setVisible(storedPoint);
    stOf->setVisible(storedPoint);
    fillDebugGrid();
}

void TProblForm::SpinEdit1Change() {
    if (rgView->itemIndex() == 1)
        fillDebugGrid();
}

const std::vector<TInstruction>& TProblForm::chosenInstructionSet() const {
    return rgWhichInstrSet->itemIndex() == 0 ? problem_.Instructions : problem_.ActiveInstructions;
}

void TProblForm::listInstructions() {
    lboxInstructions->clear();
    const std::vector<TInstruction>& instructions = chosenInstructionSet();
    std::vector<std::string> labels = lineLabels(FormulaList, problem_.DerivStart);
    for (std::size_t i = 0; i < instructions.size(); ++i)
        lboxInstructions->addItem(QString::fromStdString(formatText(
            "%3d: %s", static_cast<int>(i), InstructionText(instructions[i], labels).c_str())));
}

void TProblForm::rgWhichInstrSetClick() {
    listInstructions();
    lboxInstructions->setCurrentRow(-1);
}

void TProblForm::lboxInstructionsClick() {
    int index = lboxInstructions->currentRow();
    const std::vector<TInstruction>& instructions = chosenInstructionSet();
    if (rgView->itemIndex() != 0 || index < 0 || index >= static_cast<int>(instructions.size()))
        return;
    const TInstruction& instruction = instructions[index];
    sgDebug->setCurrentCell(instruction.Res, 2);
    lastSourceFormula_ = instruction.Line;
    lbDebugInstr->setText(lboxInstructions->item(index)->text());
    // Constant instructions keep their compile-time values; evaluating one that defines an
    // initial value would overwrite the current value of its variable.
    if (instruction.OperandClass != ClassCC) {
        try {
            EvaluateOrderZero(problem_, instructions, index, state_.AngleFactor);
        } catch (const std::exception&) {
            // The operands are shown as they are; the failing value is what the user looks for.
        }
    }
    stDebugInstr->setText(
        QString::fromStdString(instructionWithValues(instruction, problem_.Coefficients)));
    if (instruction.Line >= 0 && instruction.Line < static_cast<int>(FormulaList.size()))
        stSourceLine->setText(QString::fromStdString(paneLineText(instruction.Line)));
}

void TProblForm::btToEquationsClick() {
    if (lastSourceFormula_ < 0)
        return;
    PageControl1->setCurrentIndex(EquationsPage);
    selectFormulaInPanes(lastSourceFormula_, "");
}

// A formula's line as the user wrote it in its pane.
std::string TProblForm::paneLineText(int formula) const {
    PaneLine place = paneOfLine(problem_, formula);
    QTextBlock block =
        paneWidget(static_cast<int>(place.pane))->document()->findBlockByNumber(place.line);
    return block.isValid() ? block.text().toStdString()
                           : FormulaList[static_cast<std::size_t>(formula)];
}

QPlainTextEdit* TProblForm::paneWidget(int pane) const {
    switch (static_cast<Pane>(pane)) {
    case Pane::Constants:
        return REditConst;
    case Pane::Initial:
        return REditInit;
    case Pane::Aux:
        return REditAux;
    case Pane::ODEs:
        break;
    }
    return REditODEs;
}

void TProblForm::selectFormulaInPanes(int formula, const std::string& errorText) {
    selectPaneLine(paneOfLine(problem_, formula), errorText);
}

void TProblForm::selectPaneLine(const PaneLine& place, const std::string& errorText) {
    QPlainTextEdit* pane = paneWidget(static_cast<int>(place.pane));
    QTextBlock block = pane->document()->findBlockByNumber(place.line);
    if (!block.isValid())
        return;
    std::string line = block.text().toStdString();
    TextSelection selection = errorSelection(line, errorText);
    // Offsets in the pane count characters, the selection bytes.
    auto characters = [&](std::size_t bytes) {
        return static_cast<int>(QString::fromStdString(line.substr(0, bytes)).size());
    };
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + characters(selection.start));
    cursor.setPosition(block.position() + characters(selection.start + selection.length),
                       QTextCursor::KeepAnchor);
    pane->setFocus();
    pane->setTextCursor(cursor);
}

void TProblForm::sgDebugDblClick(int row, int column) {
    if (!problem_.Compiled || row < 1 || column < 2)
        return;
    std::int32_t var = row - 1;
    int order = column - 2;
    if (var >= problem_.Coefficients.count() || order >= problem_.Coefficients.length(var))
        return;
    Extended value = problem_.Coefficients[var][order];
    if (rbDerivatives->isChecked())
        for (int factor = 2; factor <= order; ++factor)
            value *= factor;
    showExactValue(sgDebug->cell(1, row), value);
}

// The fine tuning window is made once and brought to the front for every value.
TCalcForm* TProblForm::calcForm() {
    if (!exactValueForm_)
        exactValueForm_ = new TCalcForm(ui_, this);
    return exactValueForm_;
}

void TProblForm::showExactValue(const std::string& name, Extended value) {
    calcForm()->showValue(name, value);
}

void TProblForm::btCopyToExcelClick() {
    StringGrid* grid = PageControl1->currentIndex() == DebuggingPage ? sgDebug : sgParameters;
    ui_.setClipboardText(gridAsClipboardText(grid->texts()));
}
