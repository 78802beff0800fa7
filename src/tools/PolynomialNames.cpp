#include "tools/PolynomialNames.h"

#include "common/NumberText.h"
#include "compiler/CompileDriver.h"
#include "compiler/Language.h"

std::optional<std::string> polynomialNameRefusal(const std::string& name,
                                                 const std::vector<DesignedPolynomial>& polynomials,
                                                 int except) {
    if (!isValidIdentifier(name))
        return "Polynomial name is not a valid identifier";
    for (std::size_t i = 0; i < polynomials.size(); ++i)
        if (static_cast<int>(i) != except && toLower(polynomials[i].Name) == toLower(name))
            return "This polynomial name already exists";
    return std::nullopt;
}

std::string equationVariable(const std::string& line) {
    const SplitLine split = splitPaneLine(line);
    return split.hasEquals ? split.left : std::string();
}

std::string independentName(const ProblemPanes& panes) {
    for (const std::string& line : panes.ODEs) {
        const SplitLine split = splitPaneLine(line);
        if (split.left.size() > 1 && parseNumber(split.right) == 1.0L)
            return split.left.substr(0, split.left.size() - 1);
    }
    return {};
}
