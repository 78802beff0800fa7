// Problems whose solutions are known in closed form, run to their end in one step mode: the
// accuracy table of the step rules (bench_accuracy) and the tests that the tolerance is met.
#pragma once

#include "common/Extended.h"
#include "common/NumberText.h"
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "compiler/ProblemPanes.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/StepControl.h"
#include "integrator/StepRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

struct ClosedFormCase {
    std::string Name;
    std::string Text;            // the problem file
    Extended End;                // the terminal value of t
    std::vector<Extended> Exact; // the main variables other than t at End, in order
};

// The Kepler orbit of the shared kepler.ode (e = 0.5, a = 1, period 2 pi), back at its start
// after whole periods.
inline ClosedFormCase keplerCase(int periods) {
    const Extended vy = std::sqrt(3.0L);
    return {periods == 1 ? "Kepler, 1 period" : "Kepler, " + std::to_string(periods) + " periods",
            "[Constants]\ne = 0.5\n[Main variables]\nt = 0\nx = 1 - e\ny = 0\nvx = 0\n"
            "vy = sqrt((1 + e)/(1 - e))\n[Aux variables]\nr3 = (x^2 + y^2)^(-1.5)\n"
            "[ODEs]\nt' = 1\nx' = vx\ny' = vy\nvx' = -x*r3\nvy' = -y*r3\n",
            2 * std::numbers::pi_v<Extended> * periods,
            {0.5L, 0, 0, vy}};
}

// One variable x(t) = exact(t) from x' = f(t, x).
inline ClosedFormCase scalarCase(const std::string& name, const std::string& start,
                                 const std::string& equation, Extended end, Extended exact) {
    return {name,
            "[Constants]\n[Main variables]\nt = " + start + "\nx = " + name + "(" + start +
                ")\n[Aux variables]\n[ODEs]\nt' = 1\nx' = " + equation + "\n",
            end,
            {exact}};
}

inline std::vector<ClosedFormCase> closedFormCases() {
    std::vector<ClosedFormCase> cases = {
        scalarCase("arctan", "0", "1/(1 + t^2)", 3, std::atan(3.0L)),
        scalarCase("arcsin", "0", "1/sqrt(1 - t^2)", 0.9L, std::asin(0.9L)),
        scalarCase("ln", "1", "1/t", 3, std::log(3.0L)),
        scalarCase("sqrt", "1", "0.5/x", 3, std::sqrt(3.0L)),
        scalarCase("tan", "0", "1 + x^2", 1.5L, std::tan(1.5L)),
        keplerCase(1),
        {"harmonic",
         "[Constants]\n[Main variables]\nt = 0\nx = 1\ny = 0\n[Aux variables]\n"
         "[ODEs]\nt' = 1\nx' = y\ny' = -x\n",
         100,
         {std::cos(100.0L), -std::sin(100.0L)}},
        keplerCase(10)};
    return cases;
}

struct StepMode {
    std::string Name;
    ErrorControl Control;
    Extended Factor;    // k of h = kR
    Extended Tolerance; // both tolerances of back-step control, or E of the tolerance rule
};

inline std::vector<StepMode> accuracyModes() {
    return {{"h = 0.5 R", ErrorControl::None, 0.5L, 0},
            {"h = 0.2 R", ErrorControl::None, 0.2L, 0},
            {"back step 1e-19", ErrorControl::Back, 0.5L, 1e-19L},
            {"tolerance 1e-19", ErrorControl::Tolerance, 0.5L, 1e-19L},
            {"tolerance 1e-12", ErrorControl::Tolerance, 0.5L, 1e-12L}};
}

// A case compiled with a mode's settings, ready to run from its initial values.
struct ClosedFormRun {
    ProgramState State;
    TCompiledProblem Problem;
    ClosedFormCase Case;

    ClosedFormRun(const ClosedFormCase& c, const StepMode& mode) : Case(c) {
        ProblemPanes panes = splitProblemSections(splitLines(c.Text)).Panes;
        FormulaParser parser;
        compileForIntegration(State, panes, Problem, parser, false);
        State.Control = mode.Control;
        State.RadFactor = mode.Factor;
        if (mode.Control == ErrorControl::Tolerance)
            State.StepTolerance = mode.Tolerance;
        if (mode.Control == ErrorControl::Back) {
            const std::vector<std::string> cells(static_cast<std::size_t>(Problem.NumMain),
                                                 formatDisplay(mode.Tolerance));
            readTolerances(Problem, cells, cells);
        }
    }

    // Integrates from the initial values to End; returns the number of steps.
    std::int32_t run() {
        State.StepIndex = 0;
        Problem.Terminated = false;
        applyInitialValues(State, Problem);
        Problem.TEnd = Case.End;
        Problem.TermArmed = true;
        std::int32_t steps = 0;
        std::int32_t failing = 0;
        while (!Problem.Terminated) {
            if (++steps > 1000000)
                throw std::runtime_error(Case.Name + " does not reach its end");
            if (takesPlainSteps(State.Control))
                StepPlain(State, Problem);
            else if (!StepBackControl(State, Problem, failing, true))
                throw std::runtime_error(Case.Name + " failed its error test");
        }
        return steps;
    }

    Extended value(std::size_t other) const {
        const std::int32_t main =
            static_cast<std::int32_t>(other) +
            (Problem.IndepLine >= 0 && Problem.IndepLine <= static_cast<std::int32_t>(other) ? 1
                                                                                             : 0);
        return Problem.Coefficients[Problem.NumConst + main][0];
    }

    // The largest error against the closed form, relative where the value exceeds 1.
    Extended error() const {
        Extended worst = 0;
        for (std::size_t i = 0; i < Case.Exact.size(); ++i)
            worst = std::max(worst, std::fabs(value(i) - Case.Exact[i]) /
                                        std::max<Extended>(1, std::fabs(Case.Exact[i])));
        return worst;
    }
};
