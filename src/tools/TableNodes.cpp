#include "tools/TableNodes.h"

#include "common/NumberText.h"
#include "engine/Series.h"

#include <algorithm>
#include <cmath>

std::vector<std::int32_t> storedSlotsInOrder(const ProgramState& state) {
    const ResultsArray& results = state.Results;
    std::vector<std::int32_t> slots;
    if (results.empty())
        return slots;
    const std::int32_t points = std::min(state.StepIndex + 1, results.Length);
    for (std::int32_t s = state.StepIndex + 1 - points; s <= state.StepIndex; ++s)
        slots.push_back(s % results.Length);
    return slots;
}

std::optional<std::int32_t> independentColumn(const ProgramState& state) {
    const auto slots = storedSlotsInOrder(state);
    if (slots.empty())
        return std::nullopt;
    const std::int32_t column = state.Results.ResultsIndep[static_cast<std::size_t>(slots[0])];
    for (const std::int32_t slot : slots)
        if (state.Results.ResultsIndep[static_cast<std::size_t>(slot)] != column)
            return std::nullopt;
    if (column < 0 || column >= state.Results.Vars)
        return std::nullopt;
    return column;
}

StoredRange storedRange(const ProgramState& state, std::int32_t indepColumn) {
    const auto slots = storedSlotsInOrder(state);
    return {state.Results.at(slots.front(), indepColumn)[0],
            state.Results.at(slots.back(), indepColumn)[0]};
}

GridReading readTableGrid(const StoredRange& range, const std::string& fromText,
                          const std::string& toText, const std::string& stepText,
                          bool stepIsCount) {
    GridReading reading;
    const auto from = parseTrimmedNumber(fromText);
    const auto to = parseTrimmedNumber(toText);
    const Extended direction = range.Newest < range.Oldest ? -1 : 1;
    if (!from || !to || (*from - range.Oldest) * direction < 0 || (*to - *from) * direction < 0 ||
        (range.Newest - *to) * direction < 0) {
        reading.Error = "Wrong boundaries";
        return reading;
    }
    TableGrid grid;
    grid.Start = *from;
    if (stepIsCount) {
        const auto count = parseInteger(trim(stepText));
        if (!count || *count < 1) {
            reading.Error = "Wrong step";
            return reading;
        }
        grid.Steps = *count;
        grid.Step = (*to - *from) / *count;
    } else {
        const auto step = parseTrimmedNumber(stepText);
        if (!step || *step == 0 || !std::isfinite(*step)) {
            reading.Error = "Wrong step";
            return reading;
        }
        const Extended steps = std::floor((*to - *from) / *step);
        if (!(steps >= 1)) {
            reading.Error = "Check the step sign";
            return reading;
        }
        grid.Step = *step;
        grid.Steps = steps > MaxTableSteps ? MaxTableSteps + 1 : static_cast<std::int64_t>(steps);
    }
    if (grid.Steps > MaxTableSteps) {
        reading.Error =
            formatText("Too many nodes: at most %lld steps", static_cast<long long>(MaxTableSteps));
        return reading;
    }
    reading.Grid = grid;
    return reading;
}

TableRows tabulate(const ProgramState& state, std::int32_t indepColumn, const TableGrid& grid,
                   const std::vector<std::int32_t>& columns) {
    const ResultsArray& results = state.Results;
    const auto slots = storedSlotsInOrder(state);
    TableRows rows;
    rows.Values.resize(columns.size());
    const auto indepAt = [&](std::size_t i) { return results.at(slots[i], indepColumn)[0]; };
    const Extended direction = indepAt(slots.size() - 1) < indepAt(0) ? -1 : 1;
    const auto emit = [&](Extended node, std::int32_t slot, Extended offset) {
        rows.Nodes.push_back(node);
        for (std::size_t c = 0; c < columns.size(); ++c)
            rows.Values[c].push_back(
                EvalSeries(results.at(slot, columns[c]), results.Terms, offset));
    };
    std::int64_t k = 0;
    // A single stored point is a pair with itself.
    for (std::size_t i = 0; i < slots.size() && k <= grid.Steps; ++i) {
        const std::size_t j = std::min(i + 1, slots.size() - 1);
        const Extended a = indepAt(i), b = indepAt(j);
        const Extended middle = (a + b) / 2;
        for (; k <= grid.Steps; ++k) {
            const Extended node = grid.Start + k * grid.Step;
            if ((b - node) * direction < 0)
                break;
            if ((middle - node) * direction >= 0)
                emit(node, slots[i], node - a);
            else
                emit(node, slots[j], node - b);
        }
        if (j == i)
            break;
    }
    return rows;
}
