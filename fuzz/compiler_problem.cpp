// Fuzzes the whole compilation of a problem file: sections, pane checks, parser, code generator
// and the once-only evaluation. Every input must compile or end in one of the program's messages.
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "compiler/InstructionText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ProblemPanes panes = splitProblemSections(splitLines(text)).Panes;
    TCompiledProblem problem;
    FormulaParser parser;
    try {
        FormulaAssembly assembly = compileToOrderZero(panes, problem, parser, 3, 1.0L);
        auto labels = lineLabels(assembly.FormulaList, problem.DerivStart);
        for (const auto& instruction : problem.Instructions)
            InstructionText(instruction, labels);
    } catch (const OrvantaError&) {
        if (!parser.FormulasParsed && parser.CurrentLine >= 0)
            paneOfLine(problem, parser.CurrentLine);
    }
    return 0;
}
