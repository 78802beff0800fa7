#include "tools/PolynomialScope.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "compiler/CompileDriver.h"

#include <algorithm>

namespace {

std::string nameOf(const std::string& line) {
    return splitPaneLine(line).left;
}

bool sameName(const std::string& a, const std::string& b) {
    return toLower(a) == toLower(b);
}

} // namespace

std::vector<std::string> variablesInScope(const ProblemPanes& panes, const std::string& variable) {
    const std::string wanted = trim(variable);
    if (wanted.empty())
        throw OrvantaError("Specify the variable in whose equation this polynomial appears");
    std::vector<std::string> scope;
    for (const std::string& line : panes.Initial)
        if (!trim(line).empty())
            scope.push_back(nameOf(line));
    const bool inOde = wanted.find('\'') != std::string::npos;
    bool found = inOde;
    for (const std::string& line : panes.Aux) {
        if (trim(line).empty())
            continue;
        if (!inOde && sameName(nameOf(line), wanted)) {
            found = true;
            break;
        }
        scope.push_back(nameOf(line));
    }
    if (!found)
        throw OrvantaError(wanted + " is not defined in Auxiliary equations");
    if (scope.empty())
        throw OrvantaError("No variables are available at this point");
    return scope;
}

std::vector<std::string> firstDegreeNames(const DesignedPolynomial& polynomial) {
    std::vector<std::string> names;
    for (int c = 0; c < polynomial.FirstDegree.columns(); ++c)
        names.push_back(polynomial.FirstDegree.cell(c, 0));
    return names;
}

std::vector<std::string> secondDegreeNames(const DesignedPolynomial& polynomial) {
    std::vector<std::string> names;
    for (int c = 1; c < polynomial.SecondDegree.columns(); ++c)
        names.push_back(polynomial.SecondDegree.cell(c, 0));
    return names;
}

bool checkPolynomialScopes(const std::vector<DesignedPolynomial>& polynomials,
                           const ProblemPanes& panes, Ui& ui) {
    for (const DesignedPolynomial& polynomial : polynomials) {
        if (trim(polynomial.Variable).empty()) {
            ui.message("No variable name defined by the equation containing polynomial " +
                       polynomial.Name + " ");
            return false;
        }
        std::vector<std::string> scope;
        try {
            scope = variablesInScope(panes, polynomial.Variable);
        } catch (const OrvantaError& error) {
            ui.message(error.what());
            return false;
        }
        auto inScope = [&scope](const std::string& name) {
            return std::any_of(scope.begin(), scope.end(),
                               [&name](const std::string& s) { return sameName(s, name); });
        };
        std::vector<std::string> names = firstDegreeNames(polynomial);
        const std::vector<std::string> second = secondDegreeNames(polynomial);
        names.insert(names.end(), second.begin(), second.end());
        for (const std::string& name : names) {
            if (!inScope(name)) {
                ui.message(name + " in polynomial " + polynomial.Name + " is out of scope");
                return false;
            }
        }
        // A variable is used when its column or its row holds a coefficient.
        std::string unused;
        const PolynomialTable& table = polynomial.SecondDegree;
        for (int i = 1; i < table.columns(); ++i) {
            bool used = false;
            for (int j = 1; j < table.rows() && !used; ++j)
                used = !trim(table.cell(i, j)).empty() || !trim(table.cell(j, i)).empty();
            if (!used)
                unused += (unused.empty() ? "" : ", ") + table.cell(i, 0);
        }
        if (!unused.empty())
            ui.message(unused + " are unused in polynomial " + polynomial.Name);
    }
    return true;
}
