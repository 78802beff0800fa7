// Fuzzes the parser and code generator on a raw formula list: the first two bytes choose how
// many lines are constants and main variables, the rest are the lines. Also feeds the last line
// to the constant-expression reader over the constant lines.
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/CodeGenerator.h"
#include "compiler/ConstantExpression.h"
#include "compiler/FormulaParser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    std::vector<std::string> lines =
        splitLines(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    const auto lineCount = static_cast<std::int32_t>(lines.size());
    TCompiledProblem problem;
    problem.NumConst = data[0] % (lineCount + 1);
    problem.NumMain = data[1] % ((lineCount - problem.NumConst) / 2 + 1);
    problem.DerivStart = lineCount - problem.NumMain;
    FormulaParser parser;
    try {
        if (parser.ParseFormulas(lines))
            CompileFormulas(problem, parser, 3, 1.0L);
    } catch (const OrvantaError&) {
    }
    if (!lines.empty()) {
        std::vector<std::string> constants(lines.begin(), lines.begin() + problem.NumConst);
        try {
            EvaluateConstantExpression(constants, lines.back(), 1.0L);
        } catch (const OrvantaError&) {
        }
    }
    return 0;
}
