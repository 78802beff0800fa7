// A string grid addressed as cell(column, row) with row 0 as the header row, the way the
// problem window's tables are described: rows 1.. hold one entry each.
#pragma once

#include <QTableWidget>

#include <string>
#include <vector>

class StringGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit StringGrid(int columns, QWidget* parent = nullptr);

    // Number of rows including the header row (at least 1).
    int rowCountWithHeader() const { return rowCount() + 1; }
    void setRowCountWithHeader(int rows);
    void setColumns(int columns);

    std::string cell(int column, int row) const;
    void setCell(int column, int row, const std::string& text);
    // Cells the user may not edit (the names column).
    void setColumnReadOnly(int column, bool readOnly);
    void clearCells(); // empties every cell, the header row included
    // Aligns the texts of a column's cells below the header.
    void alignColumn(int column, Qt::Alignment alignment);

    // The whole grid as rows of texts, header row first.
    std::vector<std::vector<std::string>> texts() const;

    void setDefaultColumnWidths(const std::vector<int>& widths);
    // Columns that share the extra width of an enlarged grid; all of them unless given.
    void setGrowingColumns(const std::vector<int>& columns) { growingColumns_ = columns; }
    // A column that gives the growing ones what its texts leave of its default width.
    void setFittingColumn(int column) { fittingColumn_ = column; }
    // Lays the columns out again for the grid's width and texts.
    void fitColumns();

  protected:
    bool viewportEvent(QEvent* event) override;

  private:
    std::vector<bool> readOnlyColumns_;
    std::vector<int> defaultWidths_;
    std::vector<int> growingColumns_;
    int fittingColumn_ = -1;
};
