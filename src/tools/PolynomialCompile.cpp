#include "tools/PolynomialCompile.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "compiler/ConstantExpression.h"
#include "tools/PolynomialScope.h"

#include <algorithm>
#include <map>

namespace {

bool mentions(const std::string& text, const std::string& lowerWord) {
    return toLower(text).find(lowerWord) != std::string::npos;
}

// The position of a name in a list, without regard to case; -1 when it is not there.
int positionOf(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (toLower(names[i]) == toLower(name))
            return static_cast<int>(i);
    return -1;
}

// Every "polynomial(name)" call: where its argument starts and ends (before the ")").
struct Call {
    std::size_t open, close;
};
std::vector<Call> callsIn(const std::string& formula) {
    std::vector<Call> calls;
    const std::string lower = toLower(formula);
    for (std::size_t at = lower.find("polynomial"); at != std::string::npos;
         at = lower.find("polynomial", at + 1)) {
        std::size_t open = lower.find_first_not_of(" \t", at + 10);
        if (open == std::string::npos || lower[open] != '(')
            continue;
        std::size_t close = lower.find(')', open);
        if (close != std::string::npos)
            calls.push_back({open, close});
    }
    return calls;
}

bool misplacedIn(const std::vector<std::string>& pane, Pane which, PolynomialStepResult& result) {
    for (std::size_t i = 0; i < pane.size(); ++i) {
        if (mentions(pane[i], "polynomial")) {
            result.Ok = false;
            result.Misplaced = PaneLine{which, static_cast<std::int32_t>(i)};
            return true;
        }
    }
    return false;
}

bool hasIndependentTerms(const DesignedPolynomial& polynomial) {
    for (int c = 1; c < polynomial.IndepPart.columns(); ++c)
        if (!trim(polynomial.IndepPart.cell(c, 1)).empty())
            return true;
    return false;
}

// The values of the coefficient texts; each text that is no number is compiled once.
class CoefficientValues {
  public:
    CoefficientValues(const std::vector<std::string>& constants, Extended angleFactor)
        : constants_(constants), angleFactor_(angleFactor) {}
    std::optional<Extended> operator()(const std::string& raw) {
        const std::string text = trim(raw);
        if (text.empty())
            return std::nullopt;
        auto found = values_.find(text);
        if (found == values_.end())
            found =
                values_.emplace(text, EvaluateConstantExpression(constants_, text, angleFactor_))
                    .first;
        return found->second;
    }

  private:
    const std::vector<std::string>& constants_;
    Extended angleFactor_;
    std::map<std::string, Extended> values_;
};

} // namespace

TCompiledPolynomial compilePolynomial(const DesignedPolynomial& polynomial,
                                      const std::vector<std::string>& scope,
                                      std::int32_t firstVariable,
                                      const std::vector<std::string>& constants,
                                      Extended angleFactor) {
    CoefficientValues value(constants, angleFactor);
    auto index = [&](const std::string& name) { return firstVariable + positionOf(scope, name); };
    TCompiledPolynomial compiled;
    for (int c = 0; c < polynomial.IndepPart.columns(); ++c)
        compiled.IndepCoefficients.push_back(value(polynomial.IndepPart.cell(c, 1)).value_or(0));
    const PolynomialTable& first = polynomial.FirstDegree;
    for (int c = 0; c < first.columns(); ++c)
        if (auto a = value(first.cell(c, 1)))
            compiled.LinearTerms.push_back({*a, index(first.cell(c, 0))});
    const PolynomialTable& second = polynomial.SecondDegree;
    const int m = second.columns() - 1;
    for (int i = 1; i <= m; ++i)
        if (auto b = value(second.cell(i, i)))
            compiled.SquareTerms.push_back({*b, index(second.cell(i, 0))});
    compiled.ProductTerms.reserve(static_cast<std::size_t>(m) * (m > 0 ? m - 1 : 0) / 2);
    for (int i = 1; i <= m; ++i)
        for (int j = i + 1; j < second.rows(); ++j)
            if (auto c = value(second.cell(i, j)))
                compiled.ProductTerms.push_back(
                    {*c, index(second.cell(i, 0)), index(second.cell(0, j))});
    return compiled;
}

PolynomialStepResult prepareDesignedPolynomials(std::vector<std::string>& formulaList,
                                                const ProblemPanes& panes,
                                                std::vector<DesignedPolynomial>& polynomials,
                                                TCompiledProblem& problem, Ui& ui,
                                                const PolynomialStepSettings& settings) {
    PolynomialStepResult result;
    auto fail = [&](const std::string& message) {
        ui.message(message);
        result.Ok = false;
        return result;
    };
    std::string allText;
    for (const std::string& formula : formulaList)
        allText += toLower(formula) + "\n";
    std::erase_if(polynomials, [&allText](const DesignedPolynomial& polynomial) {
        return allText.find(toLower(polynomial.Name)) == std::string::npos;
    });
    if (polynomials.empty())
        return fail("Polynomial coefficients were not filled in via the Designer");

    if (settings.SeveralProblems) {
        std::string names;
        for (const DesignedPolynomial& polynomial : polynomials)
            if (hasIndependentTerms(polynomial))
                names += (names.empty() ? "" : ", ") + polynomial.Name;
        if (!names.empty())
            ui.message("Designed polynomial(s) of " + names + " require that " + problem.IndepName +
                       " be independant variable.\n\rRe-write these polynomial(s) explicitly "
                       "when changing independant variable");
    }
    for (const DesignedPolynomial& polynomial : polynomials)
        for (const std::string& formula : formulaList)
            if (toLower(splitPaneLine(formula).left) == toLower(polynomial.Name))
                return fail("Polynomial name " + polynomial.Name + " among the variables");
    if (misplacedIn(panes.Constants, Pane::Constants, result))
        return fail("Polinomials must not be among constants");
    if (misplacedIn(panes.Initial, Pane::Initial, result))
        return fail("Polinomials must not be among initial values");
    if (!checkPolynomialScopes(polynomials, panes, ui)) {
        result.Ok = false;
        return result;
    }

    std::vector<std::string> names;
    for (const DesignedPolynomial& polynomial : polynomials)
        names.push_back(polynomial.Name);
    for (std::string& formula : formulaList) {
        const std::vector<Call> calls = callsIn(formula);
        // From the last call back, so that the earlier positions stay valid.
        for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
            const std::string name =
                trim(formula.substr(call->open + 1, call->close - call->open - 1));
            const int position = positionOf(names, name);
            if (position < 0)
                return fail(name + " is not in the list of designed polynomials");
            formula.replace(call->open + 1, call->close - call->open - 1, std::to_string(position));
        }
    }

    problem.Polynomials.clear();
    for (std::size_t p = 0; p < polynomials.size(); ++p) {
        const std::vector<std::string> scope = variablesInScope(panes, polynomials[p].Variable);
        try {
            problem.Polynomials.push_back(compilePolynomial(polynomials[p], scope, problem.NumConst,
                                                            panes.Constants, settings.AngleFactor));
        } catch (const OrvantaError& error) {
            try {
                EvaluateConstantExpression(panes.Constants, "(0)", settings.AngleFactor);
            } catch (const OrvantaError&) {
                return fail("Error in constants");
            }
            throw PolynomialCoefficientError(error.what(), static_cast<int>(p));
        }
    }
    return result;
}
