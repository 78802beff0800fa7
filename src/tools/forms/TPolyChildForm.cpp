// The window of one designed polynomial.
#include "tools/forms/TPolyChildForm.h"

#include "common/NumberText.h"
#include "workspace/forms/RunInputGuard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* createGrid() {
    auto* grid = new QTableWidget;
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(72);
    return grid;
}

} // namespace

TPolyChildForm::TPolyChildForm(std::vector<DesignedPolynomial>& polynomials, QWidget* parent)
    : QWidget(parent, Qt::Window), polynomials_(polynomials) {
    setWindowTitle("Multivariate polynomial");
    // It stays open beside the problem window, whose runs its commands must not reach.
    RunInputGuard::guardDuringRuns(*this);
    edVariable = new QLineEdit;
    lbOver = new QLabel("over independent variable ");
    lbDegrees = new QLabel("Degrees of ");
    edDegree = new QLineEdit("0");
    edDegree->setMaximumWidth(60);
    btApply = new QPushButton("Apply");
    sgt = createGrid();
    sg1 = createGrid();
    sg2 = createGrid();

    auto* head = new QGridLayout;
    head->addWidget(new QLabel("Polynomial in the equation of"), 0, 0);
    head->addWidget(edVariable, 0, 1);
    head->addWidget(lbOver, 0, 2);
    head->addWidget(lbDegrees, 1, 0);
    head->addWidget(edDegree, 1, 1);
    head->addWidget(btApply, 1, 2, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    for (auto [title, grid] : {std::pair{"Part in the independent variable", sgt},
                               std::pair{"First degree", sg1}, std::pair{"Second degree", sg2}}) {
        auto* box = new QGroupBox(title);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->addWidget(grid);
        layout->addWidget(box, grid == sg2 ? 3 : 1);
    }
    resize(560, 520);

    connect(btApply, &QPushButton::clicked, this, &TPolyChildForm::btApplyClick);
    connect(edVariable, &QLineEdit::textEdited, this, &TPolyChildForm::edVariableChange);
    for (QTableWidget* grid : {sgt, sg1, sg2})
        connect(grid, &QTableWidget::cellChanged, this,
                [this, grid](int row, int column) { cellEdited(grid, row, column); });
}

PolynomialTable& TPolyChildForm::tableOf(QTableWidget* grid) {
    if (grid == sgt)
        return model().IndepPart;
    return grid == sg1 ? model().FirstDegree : model().SecondDegree;
}

// The header cells are the program's; in the second-degree table the cells above the diagonal
// hold nothing and take no selection.
void TPolyChildForm::fillGrid(QTableWidget* grid, const PolynomialTable& table, int fixedRows,
                              int fixedColumns) {
    grid->clear();
    grid->setColumnCount(table.columns());
    grid->setRowCount(table.rows());
    const QColor face = palette().color(QPalette::Button);
    for (int c = 0; c < table.columns(); ++c) {
        for (int r = 0; r < table.rows(); ++r) {
            auto* item = new QTableWidgetItem(QString::fromStdString(table.cell(c, r)));
            const bool header = r < fixedRows || c < fixedColumns;
            const bool aboveDiagonal = grid == sg2 && !header && r < c;
            if (header || aboveDiagonal)
                item->setFlags(aboveDiagonal ? Qt::NoItemFlags : Qt::ItemIsEnabled);
            if (header || aboveDiagonal)
                item->setBackground(face);
            grid->setItem(r, c, item);
        }
    }
}

void TPolyChildForm::showPolynomial(int index) {
    index_ = index;
    if (index_ < 0 || index_ >= static_cast<int>(polynomials_.size())) {
        index_ = -1;
        hide();
        return;
    }
    filling_ = true;
    const DesignedPolynomial& p = model();
    setWindowTitle(QString::fromStdString(p.Name));
    edVariable->setText(QString::fromStdString(p.Variable));
    lbOver->setText(QString::fromStdString("over independent variable " + p.IndepName));
    lbDegrees->setText(QString::fromStdString("Degrees of " + p.IndepName));
    edDegree->setText(QString::number(p.degree()));
    fillGrid(sgt, p.IndepPart, 1, 0);
    fillGrid(sg1, p.FirstDegree, 1, 0);
    fillGrid(sg2, p.SecondDegree, 1, 1);
    filling_ = false;
}

// The t table takes the degree typed: one column per power, labels renumbered.
void TPolyChildForm::btApplyClick() {
    if (index_ < 0)
        return;
    const auto degree = parseInteger(trim(edDegree->text().toStdString()));
    if (!degree || *degree < 0 || *degree > 100) {
        edDegree->setText(QString::number(model().degree()));
        return;
    }
    PolynomialTable& t = model().IndepPart;
    t.resize(static_cast<int>(*degree) + 1, 2);
    t.setCell(0, 0, "Constant");
    if (t.cell(0, 1).empty())
        t.setCell(0, 1, "0");
    for (int c = 1; c < t.columns(); ++c)
        t.setCell(c, 0, std::to_string(c));
    showPolynomial(index_);
    emit changed();
}

void TPolyChildForm::edVariableChange() {
    if (index_ < 0)
        return;
    model().Variable = trim(edVariable->text().toStdString());
    emit changed();
}

void TPolyChildForm::cellEdited(QTableWidget* grid, int row, int column) {
    if (filling_ || index_ < 0)
        return;
    const QTableWidgetItem* item = grid->item(row, column);
    tableOf(grid).setCell(column, row, item ? trim(item->text().toStdString()) : std::string());
    emit changed();
}
