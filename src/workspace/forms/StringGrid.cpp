// A string grid with the header as row 0.
#include "workspace/forms/StringGrid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

StringGrid::StringGrid(int columns, QWidget* parent) : QTableWidget(parent) {
    setColumns(columns);
    verticalHeader()->setVisible(false);
    // A long number would wrap at its decimal point and leave only "0." in view.
    setWordWrap(false);
    // Nor is any digit replaced by "...": a number too wide for its column scrolls sideways.
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    setRowCountWithHeader(2);
}

void StringGrid::setColumns(int columns) {
    setColumnCount(columns);
    readOnlyColumns_.resize(columns, false);
    for (int c = 0; c < columns; ++c)
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem());
}

void StringGrid::setRowCountWithHeader(int rows) {
    int old = rowCount();
    setRowCount(std::max(rows, 1) - 1);
    for (int r = old; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            setCell(c, r + 1, "");
}

std::string StringGrid::cell(int column, int row) const {
    if (column < 0 || column >= columnCount() || row < 0 || row > rowCount())
        return {};
    const QTableWidgetItem* item =
        row == 0 ? horizontalHeaderItem(column) : this->item(row - 1, column);
    return item ? item->text().toStdString() : std::string();
}

void StringGrid::setCell(int column, int row, const std::string& text) {
    if (column < 0 || column >= columnCount() || row < 0 || row > rowCount())
        return;
    QString value = QString::fromStdString(text);
    if (row == 0) {
        horizontalHeaderItem(column)->setText(value);
        return;
    }
    QTableWidgetItem* existing = item(row - 1, column);
    if (existing) {
        existing->setText(value);
        return;
    }
    auto* created = new QTableWidgetItem(value);
    if (column < static_cast<int>(readOnlyColumns_.size()) && readOnlyColumns_[column])
        created->setFlags(created->flags() & ~Qt::ItemIsEditable);
    setItem(row - 1, column, created);
}

void StringGrid::setColumnReadOnly(int column, bool readOnly) {
    readOnlyColumns_.at(column) = readOnly;
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem* existing = item(r, column))
            existing->setFlags(readOnly ? existing->flags() & ~Qt::ItemIsEditable
                                        : existing->flags() | Qt::ItemIsEditable);
}

void StringGrid::clearCells() {
    for (int r = 0; r <= rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            setCell(c, r, "");
}

void StringGrid::alignColumn(int column, Qt::Alignment alignment) {
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem* existing = item(r, column))
            existing->setTextAlignment(alignment);
}

std::vector<std::vector<std::string>> StringGrid::texts() const {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r <= rowCount(); ++r) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int c = 0; c < columnCount(); ++c)
            row.push_back(cell(c, r));
    }
    return rows;
}

void StringGrid::setDefaultColumnWidths(const std::vector<int>& widths) {
    defaultWidths_ = widths;
    for (int c = 0; c < columnCount() && c < static_cast<int>(widths.size()); ++c)
        setColumnWidth(c, widths[c]);
}

// The viewport also narrows when the vertical scroll bar comes, with the grid's size unchanged.
bool StringGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize)
        fitColumns();
    return QTableWidget::viewportEvent(event);
}

// An enlarged grid shares its extra width among the growing columns in proportion to their
// defaults.
void StringGrid::fitColumns() {
    int columns = std::min(columnCount(), static_cast<int>(defaultWidths_.size()));
    std::vector<int> widths(defaultWidths_.begin(), defaultWidths_.begin() + columns);
    std::vector<bool> growing(static_cast<std::size_t>(columns), growingColumns_.empty());
    for (int column : growingColumns_)
        if (column >= 0 && column < columns)
            growing[static_cast<std::size_t>(column)] = true;
    if (fittingColumn_ >= 0 && fittingColumn_ < columns) {
        const QFontMetrics metrics(font());
        int needed = 48;
        for (int r = 0; r < rowCount(); ++r)
            if (const QTableWidgetItem* entry = item(r, fittingColumn_))
                needed = std::max(needed, metrics.horizontalAdvance(entry->text()) + 12);
        widths[fittingColumn_] = std::min(widths[fittingColumn_], needed);
    }
    int total = 0, growingTotal = 0;
    for (int c = 0; c < columns; ++c) {
        total += widths[c];
        growingTotal += growing[c] ? widths[c] : 0;
    }
    if (growingTotal == 0)
        return;
    int extra = std::max(0, viewport()->width() - total);
    for (int c = 0; c < columns; ++c)
        setColumnWidth(c, widths[c] + (growing[c] ? extra * widths[c] / growingTotal : 0));
}
