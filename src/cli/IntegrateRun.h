// The command line's integration: its options, the problem compiled with them, the run and the
// printed points. Shared by "integrate" and the commands that load a problem some other way.
#pragma once

#include "cli/CliCommand.h"
#include "common/Ui.h"
#include "compiler/CompileDriver.h"
#include "compiler/CompiledProblem.h"
#include "compiler/ProblemPanes.h"
#include "integrator/ProgramState.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>

struct IntegrateOptions {
    std::string Path;
    std::optional<std::int32_t> Steps; // --steps N (required by "integrate")
    std::optional<std::string> To;     // --to VALUE: a number or an expression over the constants
    bool Backward = false;
    ErrorControl Control = ErrorControl::None;
    std::optional<std::string> Abs, Rel;   // tolerance for every main variable
    std::optional<Extended> StepTolerance; // --tol E of --control tol
    bool GoDespite = false;
    std::optional<std::int32_t> Terms;
    std::optional<Extended> Factor, RadiusLimit;
    RadiusVariables Radius = RadiusVariables::MainAndAux;
    bool Radians = false;
    bool Every = false;
    bool ShowStep = false; // --show-step: the step that reached each point, as a last column
    std::optional<std::int64_t> ResultsLength; // --results L; by default a few points, circular
    bool Circular = false;
    bool AuxToo = false;
    std::optional<std::string>
        SaveData; // --save-data PATH.ode: problem, .ivp and .elm after the run
    std::optional<std::string> Special; // --special FILE.sing, loaded before compiling
    int Differentiate = 0;              // --differentiate 0|1|2 for the special point
    bool AssumeRadiusLimit = false;     // --assume-radius-limit at the special point
    bool Native = false; // --native: the jet compiled to machine code by the system's compiler
};

constexpr const char* IntegrateUsage =
    "integrate FILE.ode --steps N [--to VALUE] [--backward] [--control none|middle|back|tol] "
    "[--abs TOL] [--rel TOL] [--tol E] [--go-despite] [--terms N] [--factor K] [--radius-limit R] "
    "[--radius main|aux|all] [--radians] [--every [--show-step]] [--results L [--circular] "
    "[--aux]] "
    "[--save-data PATH.ode] [--special FILE.sing [--differentiate 0|1|2] [--assume-radius-limit]] "
    "[--native]";

// Without --results the run keeps only its last points, so that its memory does not grow with
// the number of steps; --save-data writes them as its elements.
constexpr std::int32_t DefaultResultsLength = 16;

// The number of steps of a run, 1 .. 2147483647: throws OrvantaError "Wrong number" for a text
// that is not a whole number and a clear message for one out of range.
std::int32_t stepsOf(const std::string& text);

// Reads the integration option at arguments[i] (and its value), advancing i past it; false when
// arguments[i] is not one of them. Throws OrvantaError for a missing or malformed value.
bool readIntegrateOption(const CliArguments& arguments, std::size_t& i, IntegrateOptions& options);
// Options that are sound one by one but mean nothing together (tolerances without error
// control, ...): the message, or nothing.
std::optional<std::string> meaninglessCombination(const IntegrateOptions& options);
// All the options of "integrate" (the file name included); throws OrvantaError with the usage.
IntegrateOptions readIntegrateOptions(const CliArguments& arguments);

// Messages of the program on a stream (standard error); questions are answered OK, input boxes
// are cancelled.
class StreamUi : public NullUi {
  public:
    explicit StreamUi(std::ostream& out) : out_(out) {}
    void message(const std::string& text) override;
    bool confirm(const std::string& text) override;
    bool ask(const std::string& text) override;

  private:
    std::ostream& out_;
};

// One problem being integrated from the command line.
struct IntegrateSession {
    ProgramState State;
    TCompiledProblem Problem;
    ProblemPanes Panes;
    FormulaAssembly Assembly;
    FormulaPreparation Prepare; // the designed polynomials' compile step
};

// The panes of a problem file ("*.ode", any case); throws OrvantaError when it cannot be read.
ProblemPanes readProblemFile(const std::string& path);

// Applies the program-wide options, compiles session.Panes for integration and applies the
// per-problem ones (direction, radius variables, error control and tolerances, termination,
// the Results array). Throws OrvantaError; messages of the program go to `ui`.
void prepareIntegration(IntegrateSession& session, const IntegrateOptions& options, Ui& ui);

// The options that apply to a compiled problem: direction, radius variables, step factor and
// limit, error control with its tolerances, the first step, termination. Throws OrvantaError.
void applyRunOptions(IntegrateSession& session, const IntegrateOptions& options, Ui& ui);

// The header line: the independent variable's name ("t" when there is none), then the other
// main variables' names, TAB-separated.
std::string pointHeader(const IntegrateSession& session);
// The current point in the same columns, in the 18-digit display form.
std::string pointLine(const IntegrateSession& session);

// Runs the steps and prints the header and the last point (every point with --every) on `out`,
// messages and the summary on `err`; then saves the data files when asked. Returns the exit
// status: 0 when the run ended normally or at the terminal value, 1 when it could not start or
// the data could not be saved, 2 after a singularity or the split limit.
int runAndPrint(IntegrateSession& session, const IntegrateOptions& options, Ui& ui,
                std::ostream& out, std::ostream& err);
