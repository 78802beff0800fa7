// The curve table: which problem variables the graph window plots as X, Y (and Z) of each curve,
// with the captions, the generator from numbered names, the axis-choice grid and "Previous".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Ui;
struct FormulaAssembly;
struct ProblemPanes;

inline constexpr std::int32_t MaxCurves = 200;

struct Curve {
    std::int32_t X = 0, Y = 0, Z = 0; // variable indices, also the Results array's columns
    std::string Caption;              // "{x, y}" or "{x, y, z}", the legend text
};

struct CurveTable {
    std::vector<Curve> Curves;         // at most MaxCurves
    bool ThreeD = false;               // the "3D" mode: curves have a Z component
    std::vector<std::string> Previous; // the captions "Previous" restores

    std::int32_t count() const { return static_cast<std::int32_t>(Curves.size()); }
    bool full() const { return count() >= MaxCurves; }
    // Empties the table and forgets the previous selection (switching between 2D and 3D).
    void setMode(bool threeD);
    // Keeps the captions for "Previous".
    void savePrevious();
    // Removes curve `index` (0-based); later curves move up. False when there is no such curve.
    bool remove(std::int32_t index);
    // Appends the curve of the given variables with its caption; false when the table is full.
    bool append(const std::vector<std::string>& names, std::int32_t x, std::int32_t y,
                std::int32_t z = 0);
    // Exchanges two axes (0 X, 1 Y, 2 Z) of every curve and rebuilds the captions.
    void swapAxes(int first, int second, const std::vector<std::string>& names);
    // True when every curve's variables are below `columns` (e.g. the stored variables).
    bool fitsColumns(std::int32_t columns) const;
};

// The names the curve page lists, one per variable index: main variables, then auxiliary ones.
std::vector<std::string> curveVariableNames(const FormulaAssembly& assembly,
                                            const ProblemPanes& panes);

// "{x, y}" or "{x, y, z}".
std::string curveCaption(const std::vector<std::string>& names, std::int32_t x, std::int32_t y,
                         std::int32_t z, bool threeD);

// The "{x1, y1}, ... >>" generator: replaces the table by the curves of the names x<n>, y<n>
// (and z<n> in 3D) and reports the messages of the run through `ui`.
void generateCurves(CurveTable& table, const std::vector<std::string>& names, Ui& ui);

// "Previous": rebuilds the table from the saved captions; false (after "Previous curve selection
// doesn't apply", with the table emptied) when a name is not among `names`.
bool restorePrevious(CurveTable& table, const std::vector<std::string>& names, Ui& ui);

// The axis columns of the curve page while a curve is being chosen cell by cell.
struct AxisChoice {
    std::array<std::int32_t, 3> Rows{-1, -1, -1}; // chosen variable per axis, -1 for none

    // "0" or "1" per axis: which axis columns hold a choice ("000" at the start).
    std::string mark() const;
    bool complete(bool threeD) const;
    void clear() { Rows = {-1, -1, -1}; }
};

enum class AxisChoiceResult { Pending, TableFull, Complete };

// A click on an axis column: the variable `row` becomes that axis's choice. TableFull after
// "max number %d of curves achieved. Delete excessive curves"; Complete when every axis of the
// mode is chosen, after which the window pauses and calls takeAxisChoice.
AxisChoiceResult chooseAxis(AxisChoice& choice, const CurveTable& table, int axis, std::int32_t row,
                            Ui& ui);
// Appends the chosen curve and empties the axis columns.
void takeAxisChoice(AxisChoice& choice, CurveTable& table, const std::vector<std::string>& names);
