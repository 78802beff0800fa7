// orvanta-cli massive: integrates a problem once for every initial vector of an input file on
// worker threads and appends one result line per vector to an output file, resumably.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"
#ifdef ORVANTA_MPI
#include "cli/mpi/MpiPartners.h"
#endif
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "integrator/ProblemCompile.h"
#include "tools/MassiveRun.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <thread>

namespace {

const char* const Usage =
    "massive FILE.ode INPUT OUTPUT --steps N [--to VALUE] [--backward] "
    "[--control none|middle|back] [--abs TOL] [--rel TOL] [--terms N] [--factor K] "
    "[--radius-limit R] [--radius main|aux|all] [--radians] [--aux] [--spell-out] [--threads K] "
    "[--mpi] [--native]";

struct MassiveOptions {
    IntegrateOptions Integrate;
    std::string Input, Output;
    bool SpellOut = false;
    bool Mpi = false; // one process of several started by mpirun
    int Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
};

// Integration options that keep points or go on despite failures have no place in a batch,
// whose samples keep only their last point and stop at a failed error test.
bool foreignToBatch(const std::string& option) {
    return option == "--every" || option == "--results" || option == "--circular" ||
           option == "--save-data" || option == "--go-despite" || option == "--special" ||
           option == "--differentiate" || option == "--assume-radius-limit";
}

MassiveOptions readOptions(const CliArguments& arguments) {
    MassiveOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (foreignToBatch(argument))
            usageError(Usage, argument + " is not for massive");
        if (argument == "--spell-out") {
            options.SpellOut = true;
        } else if (argument == "--mpi") {
            options.Mpi = true;
        } else if (argument == "--threads") {
            const auto threads =
                i + 1 < arguments.size() ? parseInteger(arguments[++i]) : std::nullopt;
            if (!threads || *threads < 1 || *threads > 256)
                usageError(Usage, "--threads needs a whole number from 1 to 256");
            options.Threads = static_cast<int>(*threads);
        } else if (!readIntegrateOption(arguments, i, options.Integrate)) {
            if (argument.starts_with("--") || files.size() == 3)
                usageError(Usage, "unexpected " + argument);
            files.push_back(argument);
        }
    }
    if (files.size() != 3)
        usageError(Usage, "a problem file, an input file and an output file are needed");
    options.Integrate.Path = files[0];
    options.Input = files[1];
    options.Output = files[2];
    if (!options.Integrate.Steps)
        usageError(Usage, "--steps is required");
    if (auto problem = meaninglessCombination(options.Integrate))
        usageError(Usage, *problem);
    // A sample keeps only its last point: no Results array.
    options.Integrate.ResultsLength = 0;
    return options;
}

class CliWorker : public MassiveWorker {
  public:
    CliWorker(const ProblemPanes& panes, const IntegrateOptions& options, Ui& ui) {
        session_.Panes = panes;
        try {
            prepareIntegration(session_, options, ui);
        } catch (const CompileEvaluationError& error) {
            throw OrvantaError(error.Report + "\n" + error.what());
        }
    }
    ProgramState& state() override { return session_.State; }
    TCompiledProblem& problem() override { return session_.Problem; }

  private:
    IntegrateSession session_;
};

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) {
    interrupted = true;
}

// Records done, the rate and the time left on standard error, about once a second.
class ProgressReport {
  public:
    void operator()(const MassiveProgress& progress) {
        const auto now = std::chrono::steady_clock::now();
        if (progress.Done < progress.Total && now - last_ < std::chrono::seconds(1))
            return;
        last_ = now;
        const double rate = progress.Seconds > 0 ? progress.Done / progress.Seconds : 0;
        const double left = rate > 0 ? (progress.Total - progress.Done) / rate : 0;
        std::cerr << formatText("%lld of %lld records, %.1f records/s, %.0f s left\n",
                                progress.Done, progress.Total, rate, left);
    }

  private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The run's end on standard error, and the exit code.
int reportOutcome(const MassiveOutcome& outcome) {
    if (outcome.AllDone) {
        std::cerr << outcome.Error << "\n";
        return 0;
    }
    if (!outcome.Error.empty())
        std::cerr << outcome.Error << "\n";
    std::cerr << formatText("%lld records written, %lld were already in the output\n",
                            outcome.Written, outcome.Skipped);
    if (outcome.Stopped) {
        std::cerr << "Interrupted!\n";
        return 130;
    }
    return outcome.Error.empty() ? 0 : 1;
}

int runMassiveCommand(const CliArguments& arguments) {
    const MassiveOptions options = readOptions(arguments);
#ifndef ORVANTA_MPI
    if (options.Mpi) {
        std::cerr << "This orvanta-cli was built without MPI: install Open MPI (openmpi-bin, "
                     "libopenmpi-dev) and build again, or leave out --mpi\n";
        return 1;
    }
#endif
    const ProblemPanes panes = readProblemFile(options.Integrate.Path);
    StreamUi ui(std::cerr);
    MassiveJob job;
    job.InputPath = options.Input;
    job.OutputPath = options.Output;
    job.Threads = options.Threads;
    job.Sample.Steps = *options.Integrate.Steps;
    job.Sample.AuxToo = options.Integrate.AuxToo;
    job.Sample.SpellOut = options.SpellOut;

    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    MassiveHooks hooks;
    hooks.StopRequested = [] { return interrupted.load(); };
    const auto makeWorker = [&] {
        return std::make_unique<CliWorker>(panes, options.Integrate, ui);
    };
#ifdef ORVANTA_MPI
    if (options.Mpi) {
        MpiPartners partners;
        // The first process writes the output and speaks for the run.
        if (partners.rank() == 0)
            hooks.Progress = ProgressReport();
        const MassiveOutcome outcome = runMassive(job, makeWorker, hooks, &partners);
        if (partners.rank() != 0)
            return 0;
        const int exitCode = reportOutcome(outcome);
        // The other processes may still be running records nobody will write.
        if (!outcome.Stopped && !outcome.Error.empty() && !outcome.AllDone)
            partners.abort(exitCode);
        return exitCode;
    }
#endif
    hooks.Progress = ProgressReport();
    return reportOutcome(runMassive(job, makeWorker, hooks));
}

const CliRegistration registration("massive", Usage, runMassiveCommand);

} // namespace
