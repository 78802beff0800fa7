#include "workspace/ChangeOfVariable.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/Language.h"

namespace {

// A line split at its first "=", its comment dropped and both sides trimmed.
struct LineSides {
    std::string Left;
    std::string Right;
};

LineSides sidesOf(const std::string& line) {
    const std::string text = trim(removeBraceComments(line));
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return {text, {}};
    return {trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

bool isNumber(const std::string& text) {
    return parseNumber(text).has_value();
}

} // namespace

ChosenVariable chosenVariable(const std::string& odeLine) {
    LineSides sides = sidesOf(odeLine);
    std::string name = sides.Left;
    if (!name.empty())
        name.pop_back(); // the prime
    return {trim(name), sides.Right};
}

std::string factorName(const std::string& variable) {
    return variable + "NewStateVarFactor";
}

ProblemPanes rewriteInVariable(const ProblemPanes& panes, std::size_t line) {
    if (line >= panes.ODEs.size())
        throw OrvantaError("No variable selected in ODEs");
    const ChosenVariable chosen = chosenVariable(panes.ODEs[line]);
    if (isNumber(chosen.RightSide))
        throw OrvantaError("A change for a linear variable makes no sense");
    const std::string factor = factorName(chosen.Name);
    ProblemPanes result = panes;
    result.Aux.push_back(factor + (isValidIdentifier(chosen.RightSide)
                                       ? " = 1/" + chosen.RightSide
                                       : " = 1/(" + chosen.RightSide + ")"));
    for (std::size_t i = 0; i < result.ODEs.size(); ++i) {
        std::string& ode = result.ODEs[i];
        if (i == line) {
            ode = chosen.Name + "' = 1";
            continue;
        }
        const LineSides sides = sidesOf(ode);
        if (parseNumber(sides.Right) == 1.0L)
            ode = sides.Left + " = " + factor;
        else if (isNumber(sides.Right) || isValidIdentifier(sides.Right))
            ode = trim(removeBraceComments(ode)) + "*" + factor;
        else
            ode = sides.Left + " = (" + sides.Right + ")*" + factor;
    }
    return result;
}

std::optional<std::size_t> odeLineOf(const ProblemPanes& panes, const std::string& variable) {
    for (std::size_t i = 0; i < panes.ODEs.size(); ++i)
        if (toLower(chosenVariable(panes.ODEs[i]).Name) == toLower(variable))
            return i;
    return std::nullopt;
}
