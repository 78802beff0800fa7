#include "compiler/ConstantExpression.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/CodeGenerator.h"
#include "compiler/CompiledProblem.h"
#include "compiler/FormulaParser.h"
#include "compiler/Language.h"

#include <algorithm>

Extended EvaluateConstantExpression(const std::vector<std::string>& constantsPane,
                                    const std::string& text, Extended angleFactor) {
    if (auto number = parseTrimmedNumber(text))
        return *number;
    std::vector<std::string> lines;
    std::string lastName;
    for (const auto& line : constantsPane) {
        if (trim(line).empty())
            continue;
        lines.push_back(line);
        std::string cleaned = CleanLine(line);
        lastName = std::max(lastName, cleaned.substr(0, cleaned.find('=')));
    }
    // A name after every constant's name in sorted order cannot clash with any of them.
    const std::string extraName = lines.empty() ? "ExtraName" : lastName + "0";
    const auto numConst = static_cast<std::int32_t>(lines.size());
    lines.push_back(extraName + "=" + text);

    TCompiledProblem problem;
    problem.NumConst = numConst;
    problem.NumMain = numConst;
    problem.DerivStart = numConst + 1;
    FormulaParser parser;
    parser.ParseFormulas(lines);
    if (!CompileFormulas(problem, parser, 3, angleFactor))
        throw OrvantaError(WrongEstimateMessage);
    return problem.Coefficients[numConst][0];
}
