#include "tools/MassiveRun.h"

#include "common/OrvantaError.h"
#include "tools/MassiveFiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Appends whole lines with one write each, so that a killed run leaves no line half written in
// the program's buffers and a resumed run finds every finished record on disk.
class LineAppender {
  public:
    explicit LineAppender(const std::string& path)
        : fd_(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC)) {}
    ~LineAppender() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    LineAppender(const LineAppender&) = delete;
    LineAppender& operator=(const LineAppender&) = delete;
    bool isOpen() const { return fd_ >= 0; }
    bool append(std::string line) {
        line += "\r\n";
        std::size_t done = 0;
        while (done < line.size()) {
            const auto n = ::write(fd_, line.data() + done, line.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

  private:
    int fd_;
};

// What the workers and the writer share. Workers take this process's records in input order and
// may run ahead of the writer by at most `window` records, so that memory stays bounded.
class Batch {
  public:
    Batch(LineReader& input, long long total, long long window, int share, int shares)
        : input_(input), total_(total), window_(window), share_(share), shares_(shares) {}

    bool mine(long long index) const { return index % shares_ == share_; }

    // Runs records on one worker until the input is done or the run stops.
    void work(MassiveWorker& worker, const SampleSettings& settings) {
        const std::int32_t mainCount = worker.problem().NumMain;
        std::string text;
        for (;;) {
            long long index;
            bool atEnd;
            {
                std::unique_lock lock(mutex_);
                room_.wait(lock, [&] { return stop_ || next_ < written_ + window_; });
                // Other processes' records are read past.
                while (next_ < total_ && !mine(next_)) {
                    input_.next(text);
                    ++next_;
                }
                if (stop_ || next_ >= total_)
                    return;
                index = next_++;
                atEnd = !input_.next(text);
            }
            MassiveResult result = atEnd ? MassiveResult{{}, "Not enough input"}
                                         : runRecord(worker, settings, text, mainCount, index);
            std::lock_guard lock(mutex_);
            finished_.emplace(index, std::move(result));
            ready_.notify_all();
        }
    }

    // The result of this process's record `index`, the next one due; nothing when it is not
    // ready within a moment.
    std::optional<MassiveResult> take(long long index) {
        std::unique_lock lock(mutex_);
        ready_.wait_for(lock, std::chrono::milliseconds(100),
                        [&] { return finished_.contains(index); });
        const auto found = finished_.find(index);
        if (found == finished_.end())
            return std::nullopt;
        MassiveResult result = std::move(found->second);
        finished_.erase(found);
        passedLocked(index);
        return result;
    }

    // The writer is past record `index`, which another process ran.
    void passed(long long index) {
        std::lock_guard lock(mutex_);
        passedLocked(index);
    }

    void stop() {
        std::lock_guard lock(mutex_);
        stop_ = true;
        room_.notify_all();
    }

  private:
    void passedLocked(long long index) {
        written_ = index + 1;
        room_.notify_all();
    }

    static MassiveResult runRecord(MassiveWorker& worker, const SampleSettings& settings,
                                   const std::string& text, std::int32_t mainCount,
                                   long long index) {
        RecordReading reading = readRecord(text, mainCount, index + 1);
        if (!reading.Record)
            return {{}, reading.Error};
        try {
            const SampleOutcome outcome =
                runSample(worker.state(), worker.problem(), reading.Record->Values, settings);
            return {sampleLine(worker.problem(), reading.Record->Sample, settings, outcome), {}};
        } catch (const std::exception& error) {
            return {{}, error.what()};
        }
    }

    std::mutex mutex_;
    std::condition_variable room_, ready_;
    LineReader& input_;
    long long total_, window_;
    int share_, shares_;
    long long next_ = 0, written_ = 0;
    bool stop_ = false;
    std::map<long long, MassiveResult> finished_;
};

// The first process's checks of the input and the output: the records to run, or why not.
MassiveAgreement checkFiles(const MassiveJob& job, std::int32_t mainCount,
                            MassiveOutcome& outcome) {
    const InputCheck input = checkInputFile(job.InputPath, mainCount);
    if (!input.Error.empty()) {
        outcome.Error = input.Error;
        return {};
    }
    if (input.Records == 0) {
        outcome.Error = "First open a non-empty input file";
        return {};
    }
    const auto done = prepareOutputFile(job.OutputPath);
    if (!done) {
        outcome.Error = "Wrong output";
        return {};
    }
    outcome.Skipped = *done;
    if (*done >= input.Records) {
        outcome.AllDone = true;
        outcome.Error = "All input records are already processed";
        return {};
    }
    return {input.Records, *done};
}

} // namespace

CopiedWorker::CopiedWorker(const ProgramState& state, const TCompiledProblem& problem)
    : problem_(problem) {
    static_cast<EngineState&>(state_) = state;
    state_.RadFactor = state.RadFactor;
    state_.RadLimit = state.RadLimit;
    state_.AngleFactor = state.AngleFactor;
    state_.AssumeRadiusLimit = state.AssumeRadiusLimit;
    state_.RadiusChoice = state.RadiusChoice;
    state_.Control = state.Control;
    state_.StepTolerance = state.StepTolerance;
    // The engine's plan is built again for this copy's own coefficient table.
    problem_.Plan.reset();
}

MassiveOutcome runMassive(const MassiveJob& job, const MassiveWorkerFactory& makeWorker,
                          const MassiveHooks& hooks, MassivePartners* partners) {
    const int share = partners ? partners->rank() : 0;
    const int shares = partners ? partners->ranks() : 1;
    const bool writer = share == 0;
    MassiveOutcome outcome;
    std::vector<std::unique_ptr<MassiveWorker>> workers;
    workers.push_back(makeWorker());
    MassiveAgreement agreement;
    std::optional<LineAppender> output;
    if (writer) {
        agreement = checkFiles(job, workers[0]->problem().NumMain, outcome);
        if (agreement.Records >= 0) {
            output.emplace(job.OutputPath);
            if (!output->isOpen()) {
                outcome.Error = "Wrong output";
                agreement = {};
            }
        }
    }
    if (partners)
        agreement = partners->agree(agreement);
    if (agreement.Records < 0)
        return outcome;
    outcome.Skipped = agreement.Skipped;
    LineReader reader(job.InputPath);
    std::string skipped;
    for (long long i = 0; i < agreement.Skipped; ++i)
        reader.next(skipped);

    SampleSettings settings = job.Sample;
    settings.TermArmed = workers[0]->problem().TermArmed;
    settings.TEnd = workers[0]->problem().TEnd;
    const long long total = agreement.Records - agreement.Skipped;
    const long long ownTotal = (total - share + shares - 1) / shares;
    const int threads =
        static_cast<int>(std::clamp<long long>(job.Threads, 1, std::max(1LL, ownTotal)));
    while (static_cast<int>(workers.size()) < threads)
        workers.push_back(makeWorker());

    Batch batch(reader, total, 64LL * threads * shares, share, shares);
    std::vector<std::jthread> running;
    for (auto& worker : workers)
        running.emplace_back([&batch, &worker, &settings] { batch.work(*worker, settings); });

    const auto start = std::chrono::steady_clock::now();
    // The first process visits every record in order; the others their own.
    for (long long index = share; index < total;) {
        if (hooks.StopRequested && hooks.StopRequested()) {
            outcome.Stopped = true;
            break;
        }
        const bool mine = batch.mine(index);
        const auto result = mine ? batch.take(index) : partners->receive(index);
        if (!result)
            continue;
        if (!mine)
            batch.passed(index);
        if (!writer)
            partners->send(index, *result);
        if (!result->Error.empty()) {
            outcome.Error = result->Error;
            break;
        }
        if (writer && !output->append(result->Line)) {
            outcome.Error = "Wrong output";
            break;
        }
        ++outcome.Written;
        index += writer ? 1 : shares;
        if (hooks.Progress) {
            const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
            hooks.Progress({outcome.Written, writer ? total : ownTotal, seconds.count()});
        }
    }
    batch.stop();
    return outcome;
}
