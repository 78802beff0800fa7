// Fuzzes the command line's integration road: a problem file compiled for integration (through
// the first expansion and the first step), a small circular Results array, then a few steps of
// the routine the first byte chooses. Every input must run or end in one of the program's
// messages, and whatever the run leaves behind must be finite: the current point, its whole
// expansion, the step and every stored point.
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "files_silent_ui.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void requireFinite(Extended value) {
    if (!std::isfinite(value))
        std::abort();
}

void requireFiniteState(const ProgramState& state, const TCompiledProblem& problem) {
    requireFinite(problem.CurrentIndep);
    requireFinite(problem.Step);
    requireFinite(problem.Radius);
    for (std::int32_t v = 0; v < problem.Coefficients.count(); ++v)
        for (std::int32_t k = 0; k < problem.Coefficients.length(v); ++k)
            requireFinite(problem.Coefficients[v][k]);
    for (Extended value : state.Results.Values)
        requireFinite(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // Bits of the first byte: the error control (0..2), backward, go despite, radians, and
    // 3 or 8 Taylor terms.
    const std::uint8_t choice = data[0];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    ProblemPanes panes = splitProblemSections(splitLines(text)).Panes;

    ProgramState state;
    state.TermCount = choice & 0x80 ? 8 : 3;
    BuildRecurrenceTables(state);
    state.AngleFactor = choice & 0x40 ? 1.0L : 0.0174532925199432957692L;
    TCompiledProblem problem;
    FormulaParser parser;
    SilentUi ui;
    FormulaAssembly assembly;
    try {
        assembly = compileForIntegration(state, panes, problem, parser, false);
    } catch (const OrvantaError&) {
        return 0;
    }
    requireFiniteState(state, problem);

    setDirection(problem, (choice & 0x08) != 0);
    state.Control = static_cast<ErrorControl>((choice & 0x07) % 3);
    state.GoDespite = (choice & 0x10) != 0;
    if (state.Control != ErrorControl::None) {
        const std::vector<std::string> cells(static_cast<std::size_t>(problem.NumMain), "1e-12");
        readTolerances(problem, cells, cells);
    }
    if (!createResults(state, problem, ui, "4", (choice & 0x20) != 0, true).Created)
        return 0;
    RunSettings settings;
    settings.MainNames = assembly.MainNames;
    const RunOutcome outcome = runMore(state, problem, ui, "5", settings);
    if (outcome.End == RunEnd::Singularity && !outcome.Error.starts_with("Singularity!"))
        std::abort();
    requireFiniteState(state, problem);
    return 0;
}
