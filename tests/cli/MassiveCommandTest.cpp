#include "support/Paths.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Kepler orbits of eccentricity 0.1 to 0.9, one record per line.
std::string keplerRecords(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        const double e = 0.1 + 0.8 * i / count;
        char line[200];
        std::snprintf(line, sizeof line, "%d 0 %.17g 0 0 %.17g\n", i, 1 - e,
                      std::sqrt((1 + e) / (1 - e)));
        text += line;
    }
    return text;
}

struct MassiveCommand : ::testing::Test {
    TempFolder folder;
    std::string input = folder.path("in.txt");
    void SetUp() override { writeBytes(input, keplerRecords(60)); }
    std::string massive(const std::string& output, const std::string& options) {
        return cliPath() + " massive " + problemPath("kepler.ode") + " " + input + " " + output +
               " --steps 100 " + options + " 2>" + folder.path("err.txt");
    }
};

TEST_F(MassiveCommand, TwoThreadsWriteTheFileOfOneByteForByte) {
    ASSERT_EQ(shell(massive(folder.path("one.txt"), "--threads 1")), 0);
    ASSERT_EQ(shell(massive(folder.path("two.txt"), "--threads 2 --spell-out --aux")), 0);
    ASSERT_EQ(shell(massive(folder.path("two2.txt"), "--threads 2")), 0);
    ASSERT_EQ(shell(massive(folder.path("native.txt"), "--threads 2 --native")), 0);
    const std::string one = readBytes(folder.path("one.txt"));
    EXPECT_EQ(readBytes(folder.path("two2.txt")), one);
    EXPECT_EQ(readBytes(folder.path("native.txt")), one);
    EXPECT_NE(readBytes(folder.path("two.txt")).find("steps of 100,\t Specified number of steps"),
              std::string::npos);
    EXPECT_NE(readBytes(folder.path("err.txt")).find("60 records written"), std::string::npos);
}

TEST_F(MassiveCommand, AKilledOrInterruptedRunResumesWithExactlyOneLinePerRecord) {
    ASSERT_EQ(shell(massive(folder.path("whole.txt"), "--threads 1")), 0);
    const std::string whole = readBytes(folder.path("whole.txt"));
    for (const char* signal : {"KILL", "INT"}) {
        const std::string output = folder.path(std::string("cut") + signal + ".txt");
        // Wherever the signal lands, the finished file is the same.
        shell("timeout -s " + std::string(signal) + " 0.15 " + massive(output, "--threads 2"));
        const int status = shell(massive(output, "--threads 2"));
        EXPECT_EQ(readBytes(output), whole) << signal;
        EXPECT_EQ(status, 0) << signal;
    }
    EXPECT_EQ(shell(massive(folder.path("whole.txt"), "")), 0);
    EXPECT_NE(readBytes(folder.path("err.txt")).find("All input records are already processed"),
              std::string::npos);
}

TEST_F(MassiveCommand, OptionsThatMeanNothingForABatchAreRefused) {
    const std::string out = folder.path("out.txt");
    EXPECT_EQ(shell(massive(out, "--every")), 1);
    EXPECT_NE(readBytes(folder.path("err.txt")).find("--every is not for massive"),
              std::string::npos);
    EXPECT_EQ(shell(massive(out, "--threads 0")), 1);
    EXPECT_EQ(
        shell(cliPath() + " massive " + problemPath("kepler.ode") + " " + input + " 2>/dev/null"),
        1);
    writeBytes(input, "1 0 1\n");
    EXPECT_EQ(shell(massive(out, "")), 1);
    EXPECT_NE(readBytes(folder.path("err.txt")).find("Number of values in an input line must be 6"),
              std::string::npos);
}

// Two MPI processes on this machine share the records; the first writes them in input order.
TEST_F(MassiveCommand, TwoMpiProcessesWriteTheFileOfOneAndResumeAfterAnInterrupt) {
    if (shell("command -v mpirun >/dev/null") != 0)
        GTEST_SKIP() << "Open MPI is not installed";
    // Shared memory without the kernel's cross-memory copies, which containers often forbid.
    const std::string mpirun = "OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 "
                               "OMPI_MCA_rmaps_base_oversubscribe=1 "
                               "OMPI_MCA_btl_vader_single_copy_mechanism=none mpirun -n 2 ";
    if (shell(mpirun + "true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "mpirun cannot start two processes on this machine";
    ASSERT_EQ(shell(massive(folder.path("one.txt"), "--threads 1")), 0);
    const std::string one = readBytes(folder.path("one.txt"));
    ASSERT_EQ(shell(mpirun + massive(folder.path("mpi.txt"), "--threads 1 --mpi")), 0)
        << readBytes(folder.path("err.txt"));
    EXPECT_EQ(readBytes(folder.path("mpi.txt")), one);
    EXPECT_NE(readBytes(folder.path("err.txt")).find("60 records written"), std::string::npos);

    // Stopped anywhere, from its start-up to its end, the run goes on with nothing lost or doubled.
    const std::string cut = folder.path("cut.txt");
    shell("timeout -s INT 1.5 " + mpirun + massive(cut, "--threads 1 --mpi"));
    ASSERT_EQ(shell(mpirun + massive(cut, "--threads 1 --mpi")), 0);
    EXPECT_EQ(readBytes(cut), one);
}

} // namespace
