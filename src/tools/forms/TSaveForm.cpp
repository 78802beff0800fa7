#include "tools/forms/TSaveForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "tools/TableFiles.h"
#include "tools/forms/THelpForm.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TSaveForm::TSaveForm(const ProgramState& state, const std::vector<std::string>& names,
                     const std::string& indepName, Ui& ui, QWidget* parent)
    : QDialog(parent), state_(state), names_(names), ui_(ui),
      indepColumn_(independentColumn(state).value_or(0)) {
    setWindowTitle("Saving tables");
    auto* layout = new QVBoxLayout(this);
    StringGrid1 = new StringGrid(2);
    StringGrid1->setRowCountWithHeader(static_cast<int>(names.size()) + 1);
    StringGrid1->setCell(0, 0, "Variables");
    StringGrid1->setCell(1, 0, "File names");
    for (std::size_t r = 0; r < names.size(); ++r)
        StringGrid1->setCell(0, static_cast<int>(r) + 1, names[r]);
    StringGrid1->setColumnReadOnly(0, true);
    layout->addWidget(StringGrid1);

    const StoredRange range = storedRange(state, indepColumn_);
    auto* rangeRow = new QGridLayout;
    edFor = new QLineEdit(QString::fromStdString(formatShort(range.Oldest)));
    edTo = new QLineEdit(QString::fromStdString(formatShort(range.Newest)));
    lbMin = new QLabel(QString::fromStdString("Min=" + formatDisplay(range.Oldest)));
    lbMax = new QLabel(QString::fromStdString("Max=" + formatDisplay(range.Newest)));
    rangeRow->addWidget(new QLabel(QString::fromStdString("for " + indepName + " := ")), 0, 0);
    rangeRow->addWidget(edFor, 0, 1);
    rangeRow->addWidget(new QLabel("to"), 0, 2);
    rangeRow->addWidget(edTo, 0, 3);
    rangeRow->addWidget(lbMin, 1, 1);
    rangeRow->addWidget(lbMax, 1, 3);
    layout->addLayout(rangeRow);

    auto* choices = new QHBoxLayout;
    rgStep = new RadioGroup("With step defined via...", {"Step size", "Number of steps "});
    rgStep->setItemIndex(1);
    edStep = new QLineEdit("100");
    rgStep->itemLayout()->addWidget(edStep);
    rgSaveAs = new RadioGroup("Save as ...",
                              {"Binary extended (10 byte reals)", "Binary double (8 byte reals)",
                               "ASCII text", "ASCII text to Clipboard"});
    rgSaveAs->setItemIndex(3);
    choices->addWidget(rgStep);
    choices->addWidget(rgSaveAs);
    layout->addLayout(choices);

    auto* buttons = new QHBoxLayout;
    btSave = new QPushButton("&Save");
    btClose = new QPushButton("Close");
    buttons->addStretch();
    buttons->addWidget(btSave);
    buttons->addWidget(btClose);
    auto* Help1 = new QPushButton("Help");
    buttons->addWidget(Help1);
    auto Help1Click = [] { openHelp("SaveTable.rtf"); };
    connect(Help1, &QPushButton::clicked, this, Help1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, Help1Click);
    layout->addLayout(buttons);

    connect(btSave, &QPushButton::clicked, this, &TSaveForm::Save1Click);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence("Ctrl+C"), this), &QShortcut::activated, this,
            &TSaveForm::Save1Click);
    connect(StringGrid1, &QTableWidget::cellClicked, this, &TSaveForm::StringGrid1SelectCell);
}

void TSaveForm::StringGrid1SelectCell(int row, int column) {
    const int variable = row + 1; // the table's rows start below the header row
    if (column != 1 || variable < 1 || variable > static_cast<int>(names_.size()) ||
        !StringGrid1->cell(1, variable).empty())
        return;
    const auto kind = static_cast<TableKind>(rgSaveAs->itemIndex());
    StringGrid1->setCell(1, variable,
                         proposedTableName(names_[static_cast<std::size_t>(variable - 1)], kind));
}

void TSaveForm::Save1Click() {
    const GridReading grid = readTableGrid(storedRange(state_, indepColumn_),
                                           edFor->text().toStdString(), edTo->text().toStdString(),
                                           edStep->text().toStdString(), rgStep->itemIndex() == 1);
    if (!grid.Grid) {
        ui_.message(grid.Error);
        return;
    }
    std::vector<std::int32_t> columns;
    std::vector<std::string> cells;
    for (std::size_t v = 0; v < names_.size(); ++v) {
        columns.push_back(static_cast<std::int32_t>(v));
        cells.push_back(StringGrid1->cell(1, static_cast<int>(v) + 1));
    }
    const TableRows rows = tabulate(state_, indepColumn_, *grid.Grid, columns);
    saveTableColumns(ui_, static_cast<TableKind>(rgSaveAs->itemIndex()), names_, cells, rows);
}
