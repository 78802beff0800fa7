// The batch run: every record of an input file integrated on worker threads, each with its own
// program state and compiled problem, and the result lines appended to the output in input order,
// so that the file is the same whatever the number of workers and a stopped run resumes from its
// count of lines.
#pragma once

#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"
#include "tools/MassivePartners.h"
#include "tools/MassiveSample.h"

#include <functional>
#include <memory>
#include <string>

// A worker's own compiled problem with the state it runs in, set up with the run's options.
class MassiveWorker {
  public:
    virtual ~MassiveWorker() = default;
    virtual ProgramState& state() = 0;
    virtual TCompiledProblem& problem() = 0;
};
// A worker with a copy of a compiled problem as it stands and of the program's step settings,
// without its Results array: the window's problem run on another thread.
class CopiedWorker : public MassiveWorker {
  public:
    CopiedWorker(const ProgramState& state, const TCompiledProblem& problem);
    ProgramState& state() override { return state_; }
    TCompiledProblem& problem() override { return problem_; }

  private:
    ProgramState state_;
    TCompiledProblem problem_;
};

// Makes a worker; throws OrvantaError when the problem cannot be set up.
using MassiveWorkerFactory = std::function<std::unique_ptr<MassiveWorker>()>;

struct MassiveJob {
    std::string InputPath;
    std::string OutputPath;
    SampleSettings Sample; // the terminal value is taken from the first worker's problem
    int Threads = 1;
};

struct MassiveProgress {
    long long Done = 0; // records written (or, in a process other than the first, sent) by this run
    long long Total = 0; // records this process has to do
    double Seconds = 0;  // since the run started
};

struct MassiveOutcome {
    long long Skipped = 0; // records already in the output when the run started
    long long Written = 0; // lines this run appended
    bool Stopped = false;  // interrupted before the end of the input
    bool AllDone = false;  // the output already held every record: nothing to do
    std::string Error;     // why the run did not start or stopped early
};

struct MassiveHooks {
    // After every written line.
    std::function<void(const MassiveProgress&)> Progress;
    // Asked between lines and while waiting for the next one: true ends the run after the lines
    // already written (the window's Esc and "Abort?", the command line's interrupt signal).
    std::function<bool()> StopRequested;
};

// Checks the input and the output, skips the records the output already holds and runs the rest.
// With partners, this process runs its share of the records only: the first process checks the
// files and writes the output, the others send their results to it.
MassiveOutcome runMassive(const MassiveJob& job, const MassiveWorkerFactory& makeWorker,
                          const MassiveHooks& hooks, MassivePartners* partners = nullptr);
