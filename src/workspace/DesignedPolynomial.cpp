#include "workspace/DesignedPolynomial.h"

void PolynomialTable::resize(int columns, int rows) {
    columns_ = columns;
    rows_ = rows;
    std::erase_if(cells_, [&](const auto& entry) {
        return entry.first.first >= columns || entry.first.second >= rows;
    });
}

const std::string& PolynomialTable::cell(int column, int row) const {
    static const std::string empty;
    auto found = cells_.find({column, row});
    return found == cells_.end() ? empty : found->second;
}

void PolynomialTable::setCell(int column, int row, const std::string& text) {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return;
    if (text.empty())
        cells_.erase({column, row});
    else
        cells_[{column, row}] = text;
}
