// The texts of the debugging view.
#include "workspace/forms/DebugView.h"

#include "common/NumberText.h"
#include "compiler/Language.h"

namespace {

std::string shortValue(Extended value) {
    return formatShort(value);
}

} // namespace

std::string debugVariableName(const std::string& formula) {
    std::size_t equals = formula.find('=');
    std::string name = trim(equals == std::string::npos ? formula : formula.substr(0, equals));
    for (std::size_t at = name.find("Deriv"); at != std::string::npos; at = name.find("Deriv", at))
        name.replace(at, 5, "'");
    return formatText("%10s", name.c_str());
}

std::vector<std::vector<std::string>>
debugTableTexts(const std::vector<std::span<const Extended>>& entries,
                const std::vector<std::string>& formulas, int formulaOffset, int termCount,
                bool derivatives) {
    std::size_t columns = static_cast<std::size_t>(termCount) + 2;
    std::vector<std::vector<std::string>> rows(std::max<std::size_t>(entries.size(), 1) + 1,
                                               std::vector<std::string>(columns));
    rows[0][0] = "Index";
    rows[0][1] = "Variable";
    rows[0][2] = "Order:    0";
    for (std::size_t order = 1; order + 2 < columns; ++order)
        rows[0][order + 2] = std::to_string(order);
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
        std::vector<std::string>& row = rows[entry + 1];
        row[0] = std::to_string(entry);
        std::size_t formula = entry + static_cast<std::size_t>(formulaOffset);
        if (formula < formulas.size())
            row[1] = debugVariableName(formulas[formula]);
        std::span<const Extended> coefficients = entries[entry];
        if (coefficients.empty())
            continue;
        row[2] = formatDisplay(coefficients[0]);
        Extended factorial = 1;
        for (std::size_t order = 1; order < coefficients.size() && order + 2 < columns; ++order) {
            factorial *= static_cast<Extended>(order);
            row[order + 2] =
                shortValue(derivatives ? coefficients[order] * factorial : coefficients[order]);
        }
    }
    return rows;
}

std::string instructionWithValues(const TInstruction& instruction, const CoefficientTable& values) {
    auto value = [&](std::int32_t var) -> std::string {
        if (var < 0 || var >= values.count() || values.length(var) < 1)
            return "?";
        return shortValue(values[var][0]);
    };
    std::string result = value(instruction.Res);
    std::string first = value(instruction.Op1);
    std::string second = value(instruction.Op2);
    std::uint16_t op = instruction.Op;
    if (op <= OpArctan)
        return formatText("%s = %s(%s){%s}", result.c_str(), std::string(FunctionNames[op]).c_str(),
                          first.c_str(), second.c_str());
    if (op == OpLog || op == OpMod || op == OpMCn)
        return formatText("%s = %s(%s,%s)", result.c_str(), std::string(FunctionNames[op]).c_str(),
                          first.c_str(), second.c_str());
    if (op <= OpAbs)
        return formatText("%s = %s(%s)", result.c_str(), std::string(FunctionNames[op]).c_str(),
                          first.c_str());
    switch (op) {
    case OpFactorial:
        return formatText("%s = %s!", result.c_str(), first.c_str());
    case OpOnePlusSquare:
        return formatText("%s = 1 + (%s)^2", result.c_str(), first.c_str());
    case OpSquare:
        return formatText("%s = (%s)^2", result.c_str(), first.c_str());
    case OpOneMinusSquare:
        return formatText("%s = 1 - (%s)^2", result.c_str(), first.c_str());
    case OpCopy:
        return formatText("%s = %s", result.c_str(), first.c_str());
    default:
        return formatText("%s = (%s) %c (%s)", result.c_str(), first.c_str(), static_cast<char>(op),
                          second.c_str());
    }
}
