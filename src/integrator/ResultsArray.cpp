#include "integrator/ResultsArray.h"

#include "common/NumberText.h"
#include "integrator/ProgramState.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <new>
#include <sstream>

namespace {

const char* const NotEnoughMemory =
    "Not enough memory for farther expanding Results array.\n\rThe system may freeze. Save the "
    "problem, decrease the Results size or close the Orvanta";

std::int64_t pointBytes(const ResultsArray& results) {
    return saturatedProduct(results.Vars, results.Terms, BytesPerValue, 1);
}

} // namespace

void ResultsArray::clear() {
    Values.clear();
    Values.shrink_to_fit();
    ResultsIndep.clear();
    ResultsIndep.shrink_to_fit();
    Length = 0;
}

std::int64_t saturatedProduct(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
    const __int128 limit = std::numeric_limits<std::int64_t>::max();
    __int128 product = 1;
    for (std::int64_t factor : {a, b, c, d}) {
        product *= factor;
        if (product > limit)
            return std::numeric_limits<std::int64_t>::max();
        if (product < -limit)
            return -std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(product);
}

std::optional<MemoryStatus> readMemoryStatus() {
    std::ifstream file("/proc/meminfo");
    if (!file)
        return std::nullopt;
    MemoryStatus status;
    bool haveAvailable = false, haveTotal = false;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string key;
        long long kilobytes = 0;
        if (!(fields >> key >> kilobytes))
            continue;
        if (key == "MemAvailable:") {
            status.Available = kilobytes * 1024;
            haveAvailable = true;
        } else if (key == "MemTotal:") {
            status.Total = kilobytes * 1024;
            haveTotal = true;
        }
    }
    if (!haveAvailable || !haveTotal)
        return std::nullopt;
    return status;
}

bool CheckMemory(ProgramState& state, Ui& ui, std::int64_t bytes) {
    if (bytes >= MaxResultsBytes) {
        ui.message(formatText("The required memory %lld must not exceed %lld",
                              static_cast<long long>(bytes),
                              static_cast<long long>(MaxResultsBytes)));
        return false;
    }
    const std::int64_t available = state.AvailableMemory();
    if (bytes < available)
        return true;
    ui.message(formatText("Required memory %lld exceeds available %lld",
                          static_cast<long long>(bytes), static_cast<long long>(available)));
    return false;
}

void StoreResultPoint(ProgramState& state, const TCompiledProblem& problem) {
    ResultsArray& results = state.Results;
    if (results.empty())
        return;
    const std::int32_t slot = state.StepIndex % results.Length;
    results.ResultsIndep[static_cast<std::size_t>(slot)] = problem.IndepLine;
    // Another problem window may store into the same array: take what both have.
    const std::int32_t vars = std::min(results.Vars, problem.DerivStart - problem.NumConst);
    for (std::int32_t v = 0; v < results.Vars; ++v) {
        Extended* target = results.at(slot, v);
        if (v >= vars) {
            std::fill_n(target, results.Terms, 0.0L);
            continue;
        }
        const std::int32_t var = problem.NumConst + v;
        const std::int32_t terms = std::min(results.Terms, problem.Coefficients.length(var));
        std::copy_n(problem.Coefficients[var], terms, target);
        std::fill(target + terms, target + results.Terms, 0.0L);
    }
}

ResultsCreation createResults(ProgramState& state, const TCompiledProblem& problem, Ui& ui,
                              const std::string& lengthText, bool auxVarsToo, bool circular) {
    ResultsArray& results = state.Results;
    const auto length = parseInteger(trim(lengthText));
    if (!length)
        return {false, std::to_string(results.Length)};
    if (*length <= 0) {
        // Both boxes end unchecked, which leaves no array to store into.
        results.clear();
        return {};
    }
    const std::int32_t vars = auxVarsToo ? problem.DerivStart - problem.NumConst : problem.NumMain;
    const std::int64_t bytes = saturatedProduct(*length, vars, state.TermCount, BytesPerValue);
    results.clear();
    if (!CheckMemory(state, ui, bytes))
        return {};
    try {
        results.Values.assign(static_cast<std::size_t>(*length) * vars * state.TermCount, 0.0L);
        results.ResultsIndep.assign(static_cast<std::size_t>(*length), -1);
    } catch (const std::bad_alloc&) {
        results.clear();
        ui.message(NotEnoughMemory);
        return {};
    }
    if (results.Values.empty()) {
        results.clear();
        ui.message("Results array was not created because of insufficient memory");
        return {};
    }
    results.Length = static_cast<std::int32_t>(*length);
    results.Vars = vars;
    results.Terms = state.TermCount;
    results.Circular = circular;
    state.StepIndex = 0;
    StoreResultPoint(state, problem);
    return {true, std::nullopt};
}

bool AppendResults(ProgramState& state, Ui& ui) {
    ui.processEvents();
    ResultsArray& results = state.Results;
    if (results.Circular || results.empty())
        return true;
    const std::int64_t perPoint = pointBytes(results);
    const std::int64_t fitting = std::max<std::int64_t>(0, state.AvailableMemory()) / perPoint;
    const std::int64_t proposal = std::min<std::int64_t>(fitting, 1000);
    const auto answer = ui.inputBox("Appending Results",
                                    formatText("\r\nAdd n < %lld to the existing %d ",
                                               static_cast<long long>(fitting), results.Length),
                                    std::to_string(proposal));
    if (!answer)
        return false;
    auto count = parseInteger(trim(*answer));
    if (!count) {
        ui.message("Wrong numeric value");
        return true;
    }
    std::int64_t added = *count;
    if (added >= fitting) {
        ui.message("Too big number. Only the allowed number of elements will be added");
        added = std::max<std::int64_t>(1, fitting - 1);
    }
    // Nothing to add; a negative count must not cut points off the end.
    if (added <= 0)
        return true;
    const std::int64_t newLength = results.Length + added;
    if (!CheckMemory(state, ui, saturatedProduct(added, perPoint, 1, 1)) ||
        newLength > std::numeric_limits<std::int32_t>::max()) {
        ui.message(NotEnoughMemory);
        return true;
    }
    const std::size_t oldSize = results.Values.size();
    try {
        results.Values.resize(static_cast<std::size_t>(newLength) * results.Vars * results.Terms,
                              0.0L);
        results.ResultsIndep.resize(static_cast<std::size_t>(newLength), -1);
    } catch (const std::bad_alloc&) {
        // The old points are still there: keep them at the old length.
        results.Values.resize(oldSize);
        results.ResultsIndep.resize(static_cast<std::size_t>(results.Length));
        ui.message(NotEnoughMemory);
        return true;
    }
    results.Length = static_cast<std::int32_t>(newLength);
    return true;
}

bool setCircular(ProgramState& state, Ui& ui, bool circular) {
    ResultsArray& results = state.Results;
    if (!circular && !results.empty() && results.Length - 1 < state.StepIndex) {
        ui.message("Index of the current element exceeds the length of Results.\r\nIn order to rid "
                   "of circularity, first (save data and) Restart");
        results.Circular = true;
        return true;
    }
    results.Circular = circular;
    return circular;
}

std::string resultsMemoryText(const ProgramState& state) {
    const ResultsArray& results = state.Results;
    const std::int64_t size =
        saturatedProduct(results.Length, state.TermCount, results.Vars, 1) / 100;
    return formatText(" Total %d elements\n\r require %lld Kb\n\r Available %.0f Kb",
                      results.Length, static_cast<long long>(size),
                      static_cast<double>(state.AvailableMemory()) / 1000.0);
}
