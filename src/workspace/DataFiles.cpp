#include "workspace/DataFiles.h"

#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "compiler/CompiledProblem.h"
#include "compiler/FormulaParser.h"
#include "engine/TaylorEngine.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ProgramState.h"
#include "integrator/StepFaults.h"
#include "workspace/ExtendedFile.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <filesystem>
#include <new>

namespace {

std::string besideProblem(const std::string& problemPath, const char* extension) {
    return std::filesystem::path(problemPath).replace_extension(extension).string();
}

bool saveNumbers(const ExtendedFileWriter& out, const std::string& path, Ui& ui) {
    if (out.save(path))
        return true;
    ui.message("Cannot save " + path);
    return false;
}

// Runs engine work that may meet a singularity; its message is shown.
template <typename Work> bool engineStep(Ui& ui, Work work) {
    try {
        work();
        return true;
    } catch (const OrvantaError& error) {
        ui.message(error.what());
        return false;
    }
}

// The restart file is looked for before the compile is judged, so a problem that did not
// compile and has no restart file hears about the missing file. Values are only put into a
// compiled problem: an uncompiled one has no variables to take them.
bool applyRestartValues(ProgramState& state, TCompiledProblem& problem,
                        const std::string& problemPath, const std::string& caption, Ui& ui) {
    const std::string missing = "No restart data file for " + caption;
    ExtendedFileReader in;
    if (!in.open(besideProblem(problemPath, ".ivp"))) {
        ui.message(missing);
        return false;
    }
    if (!problem.Compiled) {
        ui.message("Cannot compile ODEs. No data loaded");
        return false;
    }
    std::vector<Extended> values(static_cast<std::size_t>(problem.NumMain));
    if (!in.read(values.data(), values.size())) {
        ui.message(missing);
        return false;
    }
    problem.InitialValues = std::move(values);
    return engineStep(ui, [&] { applyInitialValues(state, problem); });
}

struct ElementsHeader {
    std::int32_t Points = 0;
    std::int32_t Vars = 0;
    std::int32_t Terms = 0;
};

// After the three counts were read: the file holds exactly 3 + P·W·K numbers, W is what this
// problem stores per point, and K is a number of terms the engine can take.
std::optional<ElementsHeader> checkElementsHeader(const Extended (&numbers)[3],
                                                  const ExtendedFileReader& in,
                                                  const TCompiledProblem& problem) {
    if (in.hasTrailingBytes())
        return std::nullopt;
    const std::uint64_t left = in.remaining();
    auto points = roundedCount(numbers[0], std::min<std::uint64_t>(left, INT32_MAX - 10));
    auto vars = roundedCount(numbers[1], left);
    auto terms = roundedCount(numbers[2], std::min<std::uint64_t>(left, MaxTermCount));
    if (!points || !vars || !terms)
        return std::nullopt;
    if (static_cast<unsigned __int128>(*points) * *vars * *terms != left)
        return std::nullopt;
    const auto auxToo = static_cast<std::uint64_t>(problem.DerivStart - problem.NumConst);
    if (*points == 0 || *terms < MinTermCount ||
        (*vars != static_cast<std::uint64_t>(problem.NumMain) && *vars != auxToo))
        return std::nullopt;
    return ElementsHeader{static_cast<std::int32_t>(*points), static_cast<std::int32_t>(*vars),
                          static_cast<std::int32_t>(*terms)};
}

// Lays the coefficient arrays out for another number of terms, keeping every value, and
// recomputes the expansion at the current point.
void resizeCoefficientStorage(ProgramState& state, TCompiledProblem& problem) {
    CoefficientTable& table = problem.Coefficients;
    std::vector<std::int32_t> lengths(static_cast<std::size_t>(table.count()));
    std::vector<Extended> values(lengths.size());
    for (std::int32_t v = 0; v < table.count(); ++v) {
        lengths[static_cast<std::size_t>(v)] = table.length(v) == 1 ? 1 : state.TermCount;
        values[static_cast<std::size_t>(v)] = table[v][0];
    }
    table.layout(lengths);
    for (std::int32_t v = 0; v < table.count(); ++v)
        table[v][0] = values[static_cast<std::size_t>(v)];
    for (auto& row : problem.StepTable)
        row.assign(static_cast<std::size_t>(state.TermCount), 0.0L);
    problem.Plan.reset();
    ComputeCoefficients(problem, state);
}

bool loadElements(ProgramState& state, TCompiledProblem& problem, const std::string& problemPath,
                  const std::string& caption, Ui& ui) {
    ExtendedFileReader in;
    if (!in.open(besideProblem(problemPath, ".elm"))) {
        ui.message("No file of elements for " + caption);
        return false;
    }
    const std::string readFailure = "Failed to open file of elements " + caption;
    Extended counts[3];
    if (!in.read(counts, 3)) {
        ui.message(readFailure);
        return false;
    }
    auto header = checkElementsHeader(counts, in, problem);
    if (!header) {
        ui.message("Inconsistent file of elements");
        return false;
    }
    const std::int32_t length = header->Points + 10;
    if (!CheckMemory(state, ui,
                     saturatedProduct(length, header->Vars, header->Terms, BytesPerValue)))
        return false;
    ResultsArray loaded;
    try {
        loaded.Values.assign(static_cast<std::size_t>(length) * header->Vars * header->Terms, 0.0L);
        loaded.ResultsIndep.assign(static_cast<std::size_t>(length), -1);
    } catch (const std::bad_alloc&) {
        ui.message("Results array was not created because of insufficient memory");
        return false;
    }
    loaded.Length = length;
    loaded.Vars = header->Vars;
    loaded.Terms = header->Terms;
    const std::size_t pointSize = static_cast<std::size_t>(header->Vars) * header->Terms;
    if (!in.read(loaded.Values.data(), pointSize * header->Points)) {
        ui.message(readFailure);
        return false;
    }
    for (std::int32_t q = 0; q < header->Points; ++q)
        loaded.ResultsIndep[static_cast<std::size_t>(q)] =
            independentVariableOfPoint(loaded.at(q, 0), header->Vars, header->Terms);

    if (header->Terms != state.TermCount) {
        state.TermCount = header->Terms;
        BuildRecurrenceTables(state);
        if (!engineStep(ui, [&] { resizeCoefficientStorage(state, problem); }))
            return false;
    }
    // The problem goes on from the last point.
    const std::int32_t last = header->Points - 1;
    for (std::int32_t v = 0; v < header->Vars; ++v) {
        const std::int32_t var = problem.NumConst + v;
        const std::int32_t count = std::min(problem.Coefficients.length(var), header->Terms);
        std::copy_n(loaded.at(last, v), count, problem.Coefficients[var]);
    }
    state.Results = std::move(loaded);
    state.StepIndex = last;
    return engineStep(ui, [&] { checkedAfterStep(state, problem); });
}

} // namespace

std::int32_t independentVariableOfPoint(const Extended* point, std::int32_t vars,
                                        std::int32_t terms) {
    std::int32_t found = -1;
    for (std::int32_t v = 0; v < vars; ++v) {
        const Extended* coefficients = point + static_cast<std::size_t>(v) * terms;
        int ones = 0;
        bool others = false;
        for (std::int32_t k = 1; k < terms; ++k) {
            if (coefficients[k] == 1)
                ++ones;
            else if (coefficients[k] != 0)
                others = true;
        }
        if (ones == 1 && !others)
            found = v;
    }
    return found;
}

bool saveData(const ProgramState& state, const TCompiledProblem& problem, ProblemDocument& document,
              const std::string& path, const std::vector<std::string>& formulaList, Ui& ui) {
    if (!writeProblemFile(document, path, formulaList, ui))
        return false;
    // An uncompiled problem has no current values to keep.
    if (!problem.Compiled || problem.Coefficients.count() < problem.NumConst + problem.NumMain)
        return true;
    ExtendedFileWriter restart;
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        restart.put(problem.Coefficients[problem.NumConst + i][0]);
    if (!saveNumbers(restart, besideProblem(document.Path, ".ivp"), ui))
        return false;

    const ResultsArray& results = state.Results;
    const std::int32_t points = results.empty() ? 0 : std::min(state.StepIndex + 1, results.Length);
    if (points <= 0)
        return true;
    const std::size_t pointSize = static_cast<std::size_t>(results.Vars) * results.Terms;
    ExtendedFileWriter elements;
    elements.reserve(3 + pointSize * points);
    elements.put(points);
    elements.put(results.Vars);
    elements.put(results.Terms);
    // A circular array that wrapped keeps its oldest point in the slot after the newest.
    for (std::int32_t s = state.StepIndex + 1 - points; s <= state.StepIndex; ++s)
        elements.put(results.at(s % results.Length, 0), pointSize);
    if (!saveNumbers(elements, besideProblem(document.Path, ".elm"), ui))
        return false;
    ui.information("Elements saved for " + document.Caption);
    return true;
}

bool loadDataFiles(ProgramState& state, TCompiledProblem& problem, const std::string& problemPath,
                   const std::string& caption, Ui& ui) {
    return applyRestartValues(state, problem, problemPath, caption, ui) &&
           loadElements(state, problem, problemPath, caption, ui);
}

bool loadData(ProgramState& state, TCompiledProblem& problem, ProblemDocument& document,
              FormulaAssembly& assembly, const std::string& path, Ui& ui) {
    if (!loadProblemFile(document, problem, state, path, ui))
        return false;
    state.Results.clear();
    state.StepIndex = 0;
    FormulaParser parser;
    try {
        assembly = compileForIntegration(state, document.Panes, problem, parser, false);
    } catch (const CompileEvaluationError& error) {
        ui.message(error.Report);
        ui.message(error.what());
    } catch (const OrvantaError& error) {
        ui.message(error.what());
    }
    return loadDataFiles(state, problem, document.Path, document.Caption, ui);
}
