#include "engine/PolynomialTerms.h"

#include "compiler/ScalarRoutines.h"
#include "engine/SquareRule.h"

#include <cmath>

namespace {

const TCompiledPolynomial* selectPolynomial(const TCompiledProblem& problem, Extended selector) {
    const Extended n = std::nearbyint(selector);
    if (!(n >= 0) || n >= static_cast<Extended>(problem.Polynomials.size()))
        return nullptr;
    return &problem.Polynomials[static_cast<std::size_t>(n)];
}

bool termsExist(const TCompiledProblem& problem, const TCompiledPolynomial& polynomial) {
    const std::int32_t count = problem.Coefficients.count();
    auto exists = [count](std::int32_t var) { return var >= 0 && var < count; };
    for (const auto& term : polynomial.LinearTerms)
        if (!exists(term.Var))
            return false;
    for (const auto& term : polynomial.SquareTerms)
        if (!exists(term.Var))
            return false;
    for (const auto& term : polynomial.ProductTerms)
        if (!exists(term.VarA) || !exists(term.VarB))
            return false;
    return true;
}

Extended independentValue(const TCompiledProblem& problem) {
    return problem.IndepLine >= 0 ? problem.Coefficients[problem.IndepVar][0]
                                  : problem.CurrentIndep;
}

// Coefficient j of a variable; a constant has none beyond its value.
Extended coefficient(const TCompiledProblem& problem, std::int32_t var, std::int32_t j) {
    return j < problem.Coefficients.length(var) ? problem.Coefficients[var][j] : 0.0L;
}

} // namespace

std::optional<Extended> polynomialOrder0(const TCompiledProblem& problem, Extended selector) {
    const TCompiledPolynomial* polynomial = selectPolynomial(problem, selector);
    if (!polynomial || !termsExist(problem, *polynomial))
        return std::nullopt;
    const auto& p = polynomial->IndepCoefficients;
    const Extended tau = independentValue(problem);
    Extended sum = 0;
    if (!p.empty()) {
        sum = p.back();
        for (std::size_t i = p.size() - 1; i-- > 0;)
            sum = sum * tau + p[i];
    }
    for (const auto& term : polynomial->LinearTerms)
        sum += term.Coefficient * problem.Coefficients[term.Var][0];
    for (const auto& term : polynomial->SquareTerms) {
        const Extended x = problem.Coefficients[term.Var][0];
        sum += term.Coefficient * x * x;
    }
    for (const auto& term : polynomial->ProductTerms)
        sum += term.Coefficient * problem.Coefficients[term.VarA][0] *
               problem.Coefficients[term.VarB][0];
    return sum;
}

std::optional<Extended> polynomialOrderK(const TCompiledProblem& problem, Extended selector,
                                         std::int32_t k) {
    const TCompiledPolynomial* polynomial = selectPolynomial(problem, selector);
    if (!polynomial || !termsExist(problem, *polynomial))
        return std::nullopt;
    const auto& p = polynomial->IndepCoefficients;
    const std::int32_t degree = static_cast<std::int32_t>(p.size()) - 1;
    Extended sum = 0;
    // The part in the independent variable moves with it only when it is a main variable.
    if (problem.IndepLine >= 0 && degree >= k) {
        const Extended tau = independentValue(problem);
        Extended acc = 0;
        for (std::int32_t i = degree; i >= k; --i)
            acc = Binomial(static_cast<Extended>(i), static_cast<Extended>(k)) * p[i] + acc * tau;
        sum = acc;
    }
    for (const auto& term : polynomial->LinearTerms)
        sum += term.Coefficient * coefficient(problem, term.Var, k);
    for (const auto& term : polynomial->SquareTerms)
        if (problem.Coefficients.length(term.Var) > k)
            sum += term.Coefficient * squareRule(problem.Coefficients[term.Var], k);
    for (const auto& term : polynomial->ProductTerms) {
        Extended product = 0;
        for (std::int32_t j = 0; j <= k; ++j)
            product += coefficient(problem, term.VarA, j) * coefficient(problem, term.VarB, k - j);
        sum += term.Coefficient * product;
    }
    return sum;
}
