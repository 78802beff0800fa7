// A batch shared among processes, played by threads that exchange results through memory the way
// MPI processes exchange messages.
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "support/TempFolder.h"
#include "tools/GrowthWorkers.h"
#include "tools/MassiveRun.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {

struct Exchange {
    std::mutex Mutex;
    std::condition_variable Changed;
    std::optional<MassiveAgreement> Agreement;
    std::map<long long, MassiveResult> Results;
};

class ThreadPartners : public MassivePartners {
  public:
    ThreadPartners(Exchange& exchange, int rank, int ranks)
        : exchange_(exchange), rank_(rank), ranks_(ranks) {}
    int rank() const override { return rank_; }
    int ranks() const override { return ranks_; }
    MassiveAgreement agree(const MassiveAgreement& agreement) override {
        std::unique_lock lock(exchange_.Mutex);
        if (rank_ == 0) {
            exchange_.Agreement = agreement;
            exchange_.Changed.notify_all();
        }
        exchange_.Changed.wait(lock, [&] { return exchange_.Agreement.has_value(); });
        return *exchange_.Agreement;
    }
    std::optional<MassiveResult> receive(long long index) override {
        std::unique_lock lock(exchange_.Mutex);
        exchange_.Changed.wait_for(lock, std::chrono::milliseconds(100),
                                   [&] { return exchange_.Results.contains(index); });
        const auto found = exchange_.Results.find(index);
        if (found == exchange_.Results.end())
            return std::nullopt;
        MassiveResult result = found->second;
        exchange_.Results.erase(found);
        return result;
    }
    void send(long long index, const MassiveResult& result) override {
        EXPECT_EQ(index % ranks_, rank_) << "a process sends only its own records";
        std::lock_guard lock(exchange_.Mutex);
        exchange_.Results.emplace(index, result);
        exchange_.Changed.notify_all();
    }

  private:
    Exchange& exchange_;
    int rank_, ranks_;
};

std::string records(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + " 0 " + std::to_string(i) + " " + std::to_string(i % 5) + "\n";
    return text;
}

struct SharedBatch : ::testing::Test {
    TempFolder folder;
    MassiveJob job;
    void SetUp() override {
        job.InputPath = folder.path("in.txt");
        job.OutputPath = folder.path("single.txt");
        job.Sample.Steps = 4;
    }
    static MassiveWorkerFactory workers() { return growthWorkers(); }
    // Every process's outcome, the first process's first.
    std::vector<MassiveOutcome> runShared(int ranks, const std::string& output) {
        job.OutputPath = output;
        Exchange exchange;
        std::vector<MassiveOutcome> outcomes(static_cast<std::size_t>(ranks));
        {
            std::vector<std::jthread> processes;
            for (int rank = 0; rank < ranks; ++rank)
                processes.emplace_back([&, rank] {
                    ThreadPartners partners(exchange, rank, ranks);
                    outcomes[static_cast<std::size_t>(rank)] =
                        runMassive(job, workers(), {}, &partners);
                });
        }
        return outcomes;
    }
};

TEST_F(SharedBatch, ProcessesWriteTheFileOfOneProcessAndResumeLikeIt) {
    writeBytes(job.InputPath, records(41));
    job.Threads = 2;
    runMassive(job, workers(), {});
    const std::string single = readBytes(job.OutputPath);
    ASSERT_EQ(splitLines(single).size(), 41u);

    const auto three = runShared(3, folder.path("three.txt"));
    EXPECT_EQ(readBytes(folder.path("three.txt")), single);
    EXPECT_EQ(three[0].Written, 41);
    EXPECT_EQ(three[1].Written, 14); // records 2, 5, ..., 41
    EXPECT_EQ(three[2].Written, 13);

    // A shared run goes on from the lines a stopped run left, whoever wrote them.
    const auto lines = splitLines(single);
    std::string head;
    for (int i = 0; i < 10; ++i)
        head += lines[static_cast<std::size_t>(i)] + "\r\n";
    writeBytes(folder.path("resumed.txt"), head);
    const auto resumed = runShared(2, folder.path("resumed.txt"));
    EXPECT_EQ(resumed[0].Skipped, 10);
    EXPECT_EQ(resumed[1].Skipped, 10);
    EXPECT_EQ(readBytes(folder.path("resumed.txt")), single);
}

TEST_F(SharedBatch, FewerRecordsThanProcessesAndRefusedFilesEndEveryProcess) {
    writeBytes(job.InputPath, records(1));
    const auto outcomes = runShared(3, folder.path("one.txt"));
    EXPECT_EQ(splitLines(readBytes(folder.path("one.txt"))).size(), 1u);
    EXPECT_EQ(outcomes[2].Written, 0);

    writeBytes(job.InputPath, "2 0 1 1\n");
    const auto refused = runShared(2, folder.path("refused.txt"));
    EXPECT_EQ(refused[0].Error, "First value in first line must be an integer number 1");
    EXPECT_EQ(refused[1].Error, "");
    EXPECT_EQ(refused[1].Written, 0);
}

TEST_F(SharedBatch, ABadRecordOfAnotherProcessStopsTheWriterThere) {
    writeBytes(job.InputPath, "1 0 1 1\n2 0 1 1\n3 0 1 1\n4 0 1 1\n5 0 x 1\n6 0 1 1\n");
    // Record 5 belongs to the second of three processes.
    const auto outcomes = runShared(3, folder.path("bad.txt"));
    EXPECT_EQ(outcomes[0].Error, "Wrong input in record 5");
    EXPECT_EQ(outcomes[1].Error, "Wrong input in record 5");
    EXPECT_EQ(splitLines(readBytes(folder.path("bad.txt"))).size(), 4u);
}

} // namespace
