// Tables of the stored solution: a regular grid of the independent variable checked against the
// stored range, and every node's value from the Taylor polynomial of the nearer stored point.
#pragma once

#include "common/Extended.h"
#include "integrator/ProgramState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The stored points' slots, oldest first (a circular array that wrapped keeps its oldest point
// in the slot after the newest).
std::vector<std::int32_t> storedSlotsInOrder(const ProgramState& state);

// The column of the independent variable in the stored points, or nothing when none of them
// stored one (it is a main variable at every point or at none).
std::optional<std::int32_t> independentColumn(const ProgramState& state);

// The independent variable at the oldest and the newest stored point.
struct StoredRange {
    Extended Oldest = 0;
    Extended Newest = 0;
};
StoredRange storedRange(const ProgramState& state, std::int32_t indepColumn);

// The grid t_k = Start + k Step for k = 0 .. Steps.
struct TableGrid {
    Extended Start = 0;
    Extended Step = 0;
    std::int64_t Steps = 0;
};
// More nodes than this would not fit in memory as a table.
constexpr std::int64_t MaxTableSteps = 10000000;

struct GridReading {
    std::optional<TableGrid> Grid;
    std::string Error; // "Wrong boundaries", "Check the step sign", "Wrong step", ...
};
// The range from `fromText` to `toText` must lie within the stored range in the direction of
// the integration; `stepText` is the step size, or with `stepIsCount` the number of steps.
GridReading readTableGrid(const StoredRange& range, const std::string& fromText,
                          const std::string& toText, const std::string& stepText, bool stepIsCount);

// The nodes walked through consecutive stored points, each with the values of `columns` from
// the polynomial of the nearer point of its pair; nodes beyond the newest point are left out.
struct TableRows {
    std::vector<Extended> Nodes;
    std::vector<std::vector<Extended>> Values; // per column, one value per node
};
TableRows tabulate(const ProgramState& state, std::int32_t indepColumn, const TableGrid& grid,
                   const std::vector<std::int32_t>& columns);
