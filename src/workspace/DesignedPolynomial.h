// The polynomials of the polynomial designer as the problem document keeps them: a name, the
// variable in whose equation the polynomial stands, and its three coefficient tables as texts.
#pragma once

#include <map>
#include <string>
#include <utility>

// A table of texts addressed by (column, row). Only non-empty cells are kept, so a table read
// from a file costs memory by what the file holds, not by the size it claims.
class PolynomialTable {
  public:
    PolynomialTable() = default;
    PolynomialTable(int columns, int rows) : columns_(columns), rows_(rows) {}

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // Changes the size; cells outside the new size are dropped.
    void resize(int columns, int rows);
    const std::string& cell(int column, int row) const;
    // An empty text removes the cell. Cells outside the table are ignored.
    void setCell(int column, int row, const std::string& text);
    // Non-empty cells in column-major order.
    const std::map<std::pair<int, int>, std::string>& filledCells() const { return cells_; }

    bool operator==(const PolynomialTable&) const = default;

  private:
    int columns_ = 0;
    int rows_ = 0;
    std::map<std::pair<int, int>, std::string> cells_;
};

struct DesignedPolynomial {
    std::string Name;
    std::string Variable;  // an auxiliary variable, or an ODE left side such as "x'"
    std::string IndepName; // the independent variable when the polynomial was designed
    // Part in the independent variable: degree + 1 columns; row 0 the labels ("Constant", "1",
    // "2", ...), row 1 the coefficients of 1, t, t^2, ...
    PolynomialTable IndepPart{1, 2};
    // First-degree part: one column per variable; row 0 its name, row 1 its coefficient.
    PolynomialTable FirstDegree{0, 2};
    // Second-degree part: m + 1 columns and rows, the variables listed in row 0 and column 0;
    // cell (i, j) with j >= i holds the coefficient of x_i * x_j.
    PolynomialTable SecondDegree{1, 1};

    int degree() const { return IndepPart.columns() - 1; }
    bool operator==(const DesignedPolynomial&) const = default;
};
