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

// A finished record: its line, or the message that stops the run there.
struct Finished {
    std::string Line;
    std::string Error;
};

// What the workers and the writer share. Workers take records in input order and may run ahead
// of the writer by at most `window` records, so that memory stays bounded.
class Batch {
  public:
    Batch(LineReader& input, long long total, long long window)
        : input_(input), total_(total), window_(window) {}

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
                if (stop_ || next_ >= total_)
                    return;
                index = next_++;
                atEnd = !input_.next(text);
            }
            Finished result = atEnd ? Finished{{}, "Not enough input"}
                                    : runRecord(worker, settings, text, mainCount, index);
            std::lock_guard lock(mutex_);
            finished_.emplace(index, std::move(result));
            ready_.notify_all();
        }
    }

    // The next record's result in input order; nothing when it is not ready within a moment.
    std::optional<Finished> take() {
        std::unique_lock lock(mutex_);
        ready_.wait_for(lock, std::chrono::milliseconds(100),
                        [&] { return finished_.contains(written_); });
        const auto found = finished_.find(written_);
        if (found == finished_.end())
            return std::nullopt;
        Finished result = std::move(found->second);
        finished_.erase(found);
        ++written_;
        room_.notify_all();
        return result;
    }

    void stop() {
        std::lock_guard lock(mutex_);
        stop_ = true;
        room_.notify_all();
    }

  private:
    static Finished runRecord(MassiveWorker& worker, const SampleSettings& settings,
                              const std::string& text, std::int32_t mainCount, long long index) {
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
    long long next_ = 0, written_ = 0;
    bool stop_ = false;
    std::map<long long, Finished> finished_;
};

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
                          const MassiveHooks& hooks) {
    MassiveOutcome outcome;
    std::vector<std::unique_ptr<MassiveWorker>> workers;
    workers.push_back(makeWorker());
    const InputCheck input = checkInputFile(job.InputPath, workers[0]->problem().NumMain);
    if (!input.Error.empty()) {
        outcome.Error = input.Error;
        return outcome;
    }
    if (input.Records == 0) {
        outcome.Error = "First open a non-empty input file";
        return outcome;
    }
    const auto done = prepareOutputFile(job.OutputPath);
    LineAppender output(job.OutputPath);
    if (!done || !output.isOpen()) {
        outcome.Error = "Wrong output";
        return outcome;
    }
    outcome.Skipped = *done;
    if (*done >= input.Records) {
        outcome.AllDone = true;
        outcome.Error = "All input records are already processed";
        return outcome;
    }
    LineReader reader(job.InputPath);
    std::string skipped;
    for (long long i = 0; i < *done; ++i)
        reader.next(skipped);

    SampleSettings settings = job.Sample;
    settings.TermArmed = workers[0]->problem().TermArmed;
    settings.TEnd = workers[0]->problem().TEnd;
    const long long total = input.Records - *done;
    const int threads = static_cast<int>(std::clamp<long long>(job.Threads, 1, total));
    while (static_cast<int>(workers.size()) < threads)
        workers.push_back(makeWorker());

    Batch batch(reader, total, 64LL * threads);
    std::vector<std::jthread> running;
    for (auto& worker : workers)
        running.emplace_back([&batch, &worker, &settings] { batch.work(*worker, settings); });

    const auto start = std::chrono::steady_clock::now();
    while (outcome.Written < total) {
        if (hooks.StopRequested && hooks.StopRequested()) {
            outcome.Stopped = true;
            break;
        }
        const auto result = batch.take();
        if (!result)
            continue;
        if (!result->Error.empty()) {
            outcome.Error = result->Error;
            break;
        }
        if (!output.append(result->Line)) {
            outcome.Error = "Wrong output";
            break;
        }
        ++outcome.Written;
        if (hooks.Progress) {
            const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
            hooks.Progress({outcome.Written, total, seconds.count()});
        }
    }
    batch.stop();
    return outcome;
}
