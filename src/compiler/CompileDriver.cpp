#include "compiler/CompileDriver.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/CodeGenerator.h"
#include "compiler/FormulaParser.h"
#include "compiler/Language.h"

#include <algorithm>

namespace {

void removeBlankLines(std::vector<std::string>& pane) {
    std::erase_if(pane, [](const std::string& line) { return trim(line).empty(); });
}

} // namespace

// Brace comments go first, so that a comment anywhere in the line, even one holding "=" or "'",
// leaves the line's meaning alone, as it does for the parser.
SplitLine splitPaneLine(const std::string& line) {
    std::string text = removeBraceComments(removeBlanks(line));
    std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return {text, {}};
    return {text.substr(0, equals), text.substr(equals + 1), true};
}

OdeLineError::OdeLineError(std::size_t line, const std::string& detail)
    : OrvantaError(formatText("ODE line %zu: %s", line, detail.c_str())),
      Line(static_cast<std::int32_t>(line)) {}

void resetCompiledState(TCompiledProblem& problem) {
    TCompiledProblem fresh;
    fresh.SpecialValues = std::move(problem.SpecialValues);
    fresh.SpecialPoint = problem.SpecialPoint;
    fresh.SpecialWindow = problem.SpecialWindow;
    fresh.Polynomials = std::move(problem.Polynomials);
    problem = std::move(fresh);
}

FormulaAssembly assembleFormulaList(ProblemPanes& panes, TCompiledProblem& problem) {
    for (auto* pane : {&panes.Constants, &panes.Initial, &panes.Aux, &panes.ODEs})
        removeBlankLines(*pane);
    if (panes.ODEs.empty())
        throw OrvantaError("No ODEs");
    resetCompiledState(problem);
    problem.NumConst = static_cast<std::int32_t>(panes.Constants.size());
    problem.NumMain = static_cast<std::int32_t>(panes.Initial.size());
    problem.InitialValues.assign(panes.Initial.size(), 0.0L);

    FormulaAssembly assembly;
    auto& formulas = assembly.FormulaList;
    formulas.reserve(panes.Constants.size() + panes.Initial.size() + panes.Aux.size() +
                     panes.ODEs.size());
    for (const auto* pane : {&panes.Constants, &panes.Initial, &panes.Aux})
        formulas.insert(formulas.end(), pane->begin(), pane->end());
    problem.DerivStart = static_cast<std::int32_t>(formulas.size());

    for (std::size_t i = 0; i < panes.ODEs.size(); ++i) {
        const std::string& ode = panes.ODEs[i];
        SplitLine split = splitPaneLine(ode);
        if (problem.IndepLine < 0 && parseNumber(split.right) == 1.0L && !split.left.empty()) {
            problem.IndepLine = static_cast<std::int32_t>(i);
            problem.IndepVar = problem.NumConst + problem.IndepLine;
            problem.IndepName = split.left.substr(0, split.left.size() - 1);
        }
        if (split.left.empty())
            throw OdeLineError(i, ode + " : equation expected");
        if (split.left.back() != '\'')
            throw OdeLineError(i, ode + " : differentiation prime ' (code 39) expected");
        if (split.left.size() == 1)
            throw OdeLineError(i, ode + " : wrong left part");
        std::string name = split.left.substr(0, split.left.size() - 1);
        const std::string initial = i < panes.Initial.size() ? panes.Initial[i] : std::string();
        if (toLower(splitPaneLine(initial).left) != toLower(name))
            throw OdeLineError(i, initial + " and " + ode + " do not match");
        // A line without "=" stays without it, so that the parser reports it as no equation.
        formulas.push_back(name + (split.hasEquals ? "Deriv=" + split.right : "Deriv"));
        assembly.MainNames.push_back(std::move(name));
    }
    if (panes.ODEs.size() != panes.Initial.size())
        throw OrvantaError("ODE and Initial value lists do not match");
    return assembly;
}

FormulaAssembly compileToOrderZero(ProblemPanes& panes, TCompiledProblem& problem,
                                   FormulaParser& parser, std::int32_t termCount,
                                   Extended angleFactor) {
    FormulaAssembly assembly;
    compileToOrderZero(panes, problem, parser, termCount, angleFactor, assembly);
    return assembly;
}

void compileToOrderZero(ProblemPanes& panes, TCompiledProblem& problem, FormulaParser& parser,
                        std::int32_t termCount, Extended angleFactor, FormulaAssembly& assembly,
                        const FormulaPreparation& prepare) {
    assembly = assembleFormulaList(panes, problem);
    const bool callsPolynomial = std::any_of(
        assembly.FormulaList.begin(), assembly.FormulaList.end(), [](const std::string& line) {
            return toLower(line).find("polynomial") != std::string::npos;
        });
    if (prepare && callsPolynomial && !prepare(panes, assembly, problem))
        throw OrvantaError("Error(s) in polynomials");
    parser.ParseFormulas(assembly.FormulaList);
    problem.Compiled = true;
    if (!CompileFormulas(problem, parser, termCount, angleFactor))
        throw OrvantaError(WrongEstimateMessage);
    for (std::int32_t r = 0; r < problem.NumMain; ++r)
        problem.InitialValues[static_cast<std::size_t>(r)] =
            problem.Coefficients[problem.NumConst + r][0];
}

std::string independentLabel(const TCompiledProblem& problem) {
    return problem.IndepLine < 0 ? "Implicit " : problem.IndepName + "  ";
}

std::string evaluationFailedMessage(const TCompiledProblem& problem) {
    return formatText("Compilation succeeded, yet evaluation failed at point %s = %s",
                      independentLabel(problem).c_str(), formatShort(problem.CurrentIndep).c_str());
}

PaneLine paneOfLine(const TCompiledProblem& problem, std::int32_t formulaLine) {
    if (formulaLine < problem.NumConst)
        return {Pane::Constants, formulaLine};
    if (formulaLine < problem.NumConst + problem.NumMain)
        return {Pane::Initial, formulaLine - problem.NumConst};
    if (formulaLine < problem.DerivStart)
        return {Pane::Aux, formulaLine - problem.NumConst - problem.NumMain};
    return {Pane::ODEs, formulaLine - problem.DerivStart};
}

std::string paneCaption(Pane pane) {
    switch (pane) {
    case Pane::Constants:
        return "Constants (optional)";
    case Pane::Initial:
        return "Initial values";
    case Pane::Aux:
        return "Auxiliary variables (optional)";
    case Pane::ODEs:
        return "System of ODEs";
    }
    return {};
}

TextSelection errorSelection(const std::string& paneLine, const std::string& errorText) {
    std::size_t found = errorText.empty() ? std::string::npos : paneLine.find(errorText);
    if (found == std::string::npos)
        return {0, paneLine.size()};
    return {found, errorText.size()};
}
