#include "workspace/SpecialPointFile.h"

#include "common/Ui.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"
#include "integrator/StepControl.h"
#include "workspace/ExtendedFile.h"

#include <algorithm>
#include <cmath>

bool loadSpecialPoint(TCompiledProblem& problem, ProgramState& state, const std::string& path,
                      int differentiate, Ui& ui) {
    removeSpecialPoint(problem);
    ExtendedFileReader in;
    if (!in.open(path))
        return false;
    const auto terms = static_cast<std::size_t>(state.TermCount);
    if (in.remaining() < 1 + terms) {
        ui.message("The order of expantion at special point not enough");
        return false;
    }
    Extended point = *in.next();
    std::vector<Extended> values(terms);
    if (!in.read(values.data(), terms)) {
        ui.message("The order of expantion at special point not enough");
        return false;
    }
    // The window comes from the series as loaded, before any differentiation.
    Extended rate = VarRate(state, values.data());
    problem.SpecialWindow = std::min(std::pow(0.5L, static_cast<Extended>(rate)), state.RadLimit);
    differentiateSeries(values, differentiate);
    problem.SpecialPoint = point;
    problem.SpecialValues = std::move(values);
    return true;
}

void differentiateSeries(std::vector<Extended>& coefficients, int times) {
    const std::size_t n = coefficients.size();
    if (times == 1) {
        for (std::size_t e = 0; e + 1 < n; ++e)
            coefficients[e] = static_cast<Extended>(e + 1) * coefficients[e + 1];
    } else if (times == 2) {
        for (std::size_t e = 0; e + 2 < n; ++e)
            coefficients[e] =
                static_cast<Extended>(e + 2) * static_cast<Extended>(e + 1) * coefficients[e + 2];
    }
}

void removeSpecialPoint(TCompiledProblem& problem) {
    problem.SpecialValues.clear();
}
