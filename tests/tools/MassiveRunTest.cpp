#include "tools/MassiveRun.h"
#include "common/NumberText.h"
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "support/TempFolder.h"
#include "tools/GrowthWorkers.h"
#include "tools/MassiveFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

std::string records(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + " 0 " + std::to_string(i) + " " + std::to_string(i % 7) + "\n";
    return text;
}

struct MassiveFixture : ::testing::Test {
    TempFolder folder;
    MassiveJob job;
    void SetUp() override {
        job.InputPath = folder.path("in.txt");
        job.OutputPath = folder.path("out.txt");
        job.Sample.Steps = 5;
    }
    MassiveOutcome run(const MassiveHooks& hooks = {}) {
        return runMassive(job, growthWorkers(), hooks);
    }
};

TEST_F(MassiveFixture, ResultLinesCarryTheValuesStepsAndReason) {
    writeBytes(job.InputPath, "1 0 2 1\n2 0 1 0\n3 -1 3 2\n");
    const MassiveOutcome outcome = run();
    EXPECT_EQ(outcome.Error, "");
    EXPECT_EQ(outcome.Written, 3);
    const std::string out = readBytes(job.OutputPath);
    const auto lines = splitLines(out);
    ASSERT_EQ(lines.size(), 3u);
    // Sample 1 after five steps: the time reached, x = 2 exp(t) and y = 1.
    const auto fields = fieldsOf(lines[0]);
    ASSERT_EQ(fields.size(), 7u) << lines[0];
    EXPECT_EQ(fields[0], "1");
    const Extended t = *parseNumber(fields[1]);
    EXPECT_GT(t, 1);
    EXPECT_NEAR(static_cast<double>(*parseNumber(fields[2]) / (2 * std::exp(t))), 1, 1e-15);
    EXPECT_EQ(fields[3], "1");
    EXPECT_TRUE(lines[0].ends_with(" \t5 \t 5, \t0")) << lines[0];
    // The division by zero at the start is written with reason 2, and the run goes on.
    EXPECT_TRUE(lines[1].ends_with(" \t0 \t 5, \t2")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("3\t ")) << lines[2];
    EXPECT_TRUE(lines[2].ends_with(" \t5 \t 5, \t0")) << lines[2];
    EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
}

TEST_F(MassiveFixture, SpelledOutReasonsAndTheAuxiliaryVariables) {
    writeBytes(job.InputPath, "1 0 1 1\n");
    job.Sample.SpellOut = true;
    job.Sample.AuxToo = true;
    run();
    const std::string line = splitLines(readBytes(job.OutputPath)).at(0);
    // Four values: t, x, y and the auxiliary z = 2x.
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 6) << line;
    EXPECT_TRUE(line.ends_with(" \t5 steps of 5,\t Specified number of steps")) << line;
}

TEST_F(MassiveFixture, ManyWorkersWriteTheSameFileAsOne) {
    writeBytes(job.InputPath, records(150));
    job.Threads = 1;
    run();
    const std::string one = readBytes(job.OutputPath);
    job.OutputPath = folder.path("out3.txt");
    job.Threads = 3;
    run();
    EXPECT_EQ(readBytes(job.OutputPath), one);
    EXPECT_EQ(splitLines(one).size(), 150u);
}

TEST_F(MassiveFixture, AStoppedRunResumesFromTheOutputsLineCount) {
    writeBytes(job.InputPath, records(40));
    run();
    const std::string whole = readBytes(job.OutputPath);

    job.OutputPath = folder.path("resumed.txt");
    job.Threads = 2;
    MassiveHooks hooks;
    long long written = 0;
    hooks.Progress = [&](const MassiveProgress& progress) { written = progress.Done; };
    hooks.StopRequested = [&] { return written >= 7; };
    const MassiveOutcome stopped = run(hooks);
    EXPECT_TRUE(stopped.Stopped);
    EXPECT_EQ(stopped.Written, 7);
    EXPECT_EQ(splitLines(readBytes(job.OutputPath)).size(), 7u);

    const MassiveOutcome resumed = run();
    EXPECT_EQ(resumed.Skipped, 7);
    EXPECT_EQ(resumed.Written, 33);
    EXPECT_EQ(readBytes(job.OutputPath), whole);

    const MassiveOutcome again = run();
    EXPECT_TRUE(again.AllDone);
    EXPECT_EQ(again.Error, "All input records are already processed");
}

TEST_F(MassiveFixture, AnOutputWithKLinesStartsAtRecordKPlusOne) {
    writeBytes(job.InputPath, records(5));
    writeBytes(job.OutputPath, "a\r\nb\r\n");
    run();
    const auto lines = splitLines(readBytes(job.OutputPath));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[2].starts_with("3\t ")) << lines[2];
}

TEST_F(MassiveFixture, ALineCutShortByAKilledRunIsComputedAgain) {
    writeBytes(job.InputPath, records(3));
    run();
    const std::string whole = readBytes(job.OutputPath);
    writeBytes(job.OutputPath, whole.substr(0, whole.find("\r\n") + 2) + "2\t 0.5");
    EXPECT_EQ(prepareOutputFile(job.OutputPath), 1);
    run();
    EXPECT_EQ(readBytes(job.OutputPath), whole);
}

TEST_F(MassiveFixture, BadInputIsRefusedWithItsMessage) {
    writeBytes(job.InputPath, "1 0 1 1 5\n");
    EXPECT_EQ(run().Error, "Number of values in an input line must be 4");
    writeBytes(job.InputPath, "2 0 1 1\n");
    EXPECT_EQ(run().Error, "First value in first line must be an integer number 1");
    writeBytes(job.InputPath, "1.5 0 1 1\n");
    EXPECT_EQ(run().Error, "First value in first line must be an integer number 1");
    writeBytes(job.InputPath, "");
    EXPECT_EQ(run().Error, "First open a non-empty input file");
    job.InputPath = folder.path("missing.txt");
    EXPECT_EQ(run().Error, "Wrong input");
    job.InputPath = folder.path("in.txt");
    writeBytes(job.InputPath, "1 0 1 1\n");
    job.OutputPath = folder.path("");
    EXPECT_EQ(run().Error, "Wrong output");
}

TEST_F(MassiveFixture, ABadRecordStopsTheRunAfterTheRecordsBeforeIt) {
    writeBytes(job.InputPath, "1 0 1 1\n2 0 1 1\n3 0 1\n4 0 1 1\n");
    job.Threads = 2;
    const MassiveOutcome outcome = run();
    EXPECT_EQ(outcome.Error, "Not enough input");
    EXPECT_EQ(splitLines(readBytes(job.OutputPath)).size(), 2u);
    writeBytes(job.InputPath, "1 0 1 1\n2 0 x 1\n");
    writeBytes(job.OutputPath, "");
    EXPECT_EQ(run().Error, "Wrong input in record 2");
}

TEST(MassiveRecords, FieldsAreSeparatedByBlanksAndLineEndsOfEveryKindCount) {
    EXPECT_EQ(readRecord("  7\t1.5  -2e3 ", 2, 1).Record->Values,
              (std::vector<Extended>{1.5L, -2000}));
    EXPECT_EQ(readRecord("7 1 2 3", 2, 4).Error, "Wrong input in record 4");
    EXPECT_EQ(readRecord("7.5 1 2", 2, 4).Error, "Wrong input in record 4");
    EXPECT_EQ(readRecord("", 2, 4).Error, "Not enough input");
    TempFolder folder;
    writeBytes(folder.path("f"), "a\r\nb\nc\rd");
    EXPECT_EQ(countLines(folder.path("f")), 4);
}

TEST(MassiveSamples, TheTerminalValueEndsASampleWithReasonOne) {
    TestWorker worker(growthPanes());
    SampleSettings settings;
    settings.Steps = 100;
    settings.TermArmed = true;
    settings.TEnd = 1;
    const SampleOutcome outcome = runSample(worker.state(), worker.problem(), {0, 1, 1}, settings);
    EXPECT_EQ(outcome.End, SampleEnd::TerminalValue);
    const TCompiledProblem& problem = worker.problem();
    EXPECT_EQ(problem.CurrentIndep, 1);
    EXPECT_NEAR(static_cast<double>(problem.Coefficients[problem.NumConst + 1][0]),
                2.718281828459045, 1e-14);
    settings.SpellOut = true;
    EXPECT_TRUE(sampleLine(problem, 9, settings, outcome)
                    .ends_with(" \t" + std::to_string(outcome.StepsDone) +
                               " steps of 100,\t Specified terminal value"));
}

// The window's run copies its problem and step settings into every worker.
TEST_F(MassiveFixture, CopiedWorkersRunAsTheProblemTheyCopy) {
    writeBytes(job.InputPath, records(20));
    run();
    TestWorker source(growthPanes());
    source.state().RadFactor = 0.25L;
    job.OutputPath = folder.path("copied.txt");
    job.Threads = 2;
    runMassive(
        job, [&] { return std::make_unique<CopiedWorker>(source.state(), source.problem()); }, {});
    const std::string copied = readBytes(job.OutputPath);
    EXPECT_EQ(splitLines(copied).size(), 20u);
    EXPECT_NE(copied, readBytes(folder.path("out.txt"))) << "the smaller step factor is kept";
    source.state().RadFactor = 0.5L;
    job.OutputPath = folder.path("copied2.txt");
    runMassive(
        job, [&] { return std::make_unique<CopiedWorker>(source.state(), source.problem()); }, {});
    EXPECT_EQ(readBytes(job.OutputPath), readBytes(folder.path("out.txt")));
}

} // namespace
