// The parameters grid: edit tracking, one-cell and multi-cell modes and the multi-cell entry.
#include "workspace/forms/TProblForm.h"

#include "common/Ui.h"
#include "tools/forms/TCalcForm.h"
#include "workspace/forms/StringGrid.h"

#include <QPushButton>
#include <QRadioButton>

// The grid's settings have a problem to go to only once it is compiled.
void TProblForm::offerApply() {
    btApplyStrGrid->setEnabled(problem_.Compiled);
}

void TProblForm::sgParametersSetEditText(int row, int column) {
    if (fillingGrids_)
        return;
    offerApply();
    if (column == 1 && row >= 0)
        initialValuesEdited_ = true;
}

void TProblForm::rbAllowEditClick() {
    if (rbAllowEdit->isChecked()) {
        sgParameters->setEditTriggers(QAbstractItemView::DoubleClicked |
                                      QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed);
        sgParameters->setSelectionMode(QAbstractItemView::SingleSelection);
    } else {
        sgParameters->setEditTriggers(QAbstractItemView::NoEditTriggers);
        sgParameters->setSelectionMode(QAbstractItemView::ContiguousSelection);
    }
}

// The selection's cells right of the "Their difference" column take one typed value.
void TProblForm::sgParametersMouseUp() {
    if (rbAllowMulti->isChecked()) {
        const QList<QTableWidgetSelectionRange> ranges = sgParameters->selectedRanges();
        if (!ranges.isEmpty()) {
            const QTableWidgetSelectionRange& range = ranges.front();
            bool severalCells = range.rowCount() * range.columnCount() > 1;
            if (range.leftColumn() > 3 && severalCells) {
                if (auto value =
                        ui_.inputBox("Multi-cell edit", "Enter value for selected cells", "")) {
                    for (int row = range.topRow(); row <= range.bottomRow(); ++row)
                        for (int column = range.leftColumn(); column <= range.rightColumn();
                             ++column)
                            sgParameters->setCell(column, row + 1, *value);
                }
            }
        }
    }
    int row = std::max(sgParameters->currentRow(), 0);
    sgParameters->setCurrentCell(row, 5, QItemSelectionModel::NoUpdate);
    sgParameters->setCurrentCell(row, 4, QItemSelectionModel::NoUpdate);
    offerApply();
}

// Columns 0 and 1 show the row's initial value, column 2 its current value.
void TProblForm::sgParametersDblClick(int row, int column) {
    if (!rbAllowEdit->isChecked() || !problem_.Compiled || column > 2 || row < 1 ||
        row > problem_.NumMain)
        return;
    int variable = row - 1;
    Extended value = column == 2 ? problem_.Coefficients[problem_.NumConst + variable][0]
                                 : problem_.InitialValues[static_cast<std::size_t>(variable)];
    calcForm()->showForVariable(sgParameters->cell(0, row), value,
                                [this, row](Extended tuned, const std::string& text) {
                                    assignExactValue(row, tuned, text);
                                });
}

// "Assign to...": the tuned value becomes the row's initial and current value. The grid shows it
// as an edit of both columns, so that the next run applies it to the whole expansion.
void TProblForm::assignExactValue(int row, Extended value, const std::string& text) {
    if (!problem_.Compiled || row < 1 || row > problem_.NumMain)
        return;
    const int variable = row - 1;
    problem_.InitialValues[static_cast<std::size_t>(variable)] = value;
    problem_.Coefficients[problem_.NumConst + variable][0] = value;
    sgParameters->setCell(1, row, text);
    sgParameters->setCell(2, row, text);
}
