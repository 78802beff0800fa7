#include "common/TextFile.h"
#include "support/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runCli(const std::string& arguments) {
    const auto folder = std::filesystem::temp_directory_path();
    const std::string stem = "orvanta_compile_" + std::to_string(::getpid());
    const std::string outPath = (folder / (stem + ".out")).string();
    const std::string errPath = (folder / (stem + ".err")).string();
    int raw = std::system(
        (cliPath() + " compile " + arguments + " >" + outPath + " 2>" + errPath).c_str());
    CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readWholeFile(outPath).value_or(""),
               readWholeFile(errPath).value_or("")};
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

class TempProblem {
  public:
    explicit TempProblem(const std::string& text, const std::string& name = "problem.ode")
        : path_((std::filesystem::temp_directory_path() /
                 ("orvanta_cli_" + std::to_string(::getpid()) + "_" + name))
                    .string()) {
        writeFileAtomically(path_, text);
    }
    ~TempProblem() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace

TEST(CompileCommand, PrintsInstructionsThenVariables) {
    CliRun run = runCli(problemPath("lorenz.ode"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::string expectedStart = "  0: (cc)  beta = [12] / [11]\n"
                                      "  1: (vv)  [13] = y - x\n"
                                      "  2: (cv)  x' = sigma * [13]\n";
    EXPECT_EQ(run.out.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(run.out.find("  8: (vv)  z' = [16] - [17]\n\n0\tsigma\t10\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n2\tbeta\t2.66666666666666667\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n9\ty'\t26\n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\n17\t[17]\t2.66666666666666667\n"));
}

TEST(CompileCommand, ActiveInstructionsAndAngleUnit) {
    TempProblem problem("[Constants]\r\nc = sin(30)\r\n[Main variables]\r\nx = 1\r\n"
                        "[ODEs]\r\nx' = c*x\r\n");
    CliRun degrees = runCli(problem.path() + " --instructions active");
    EXPECT_EQ(degrees.status, 0);
    EXPECT_TRUE(degrees.out.starts_with("  0: (cv)  x' = c * x\n\n"));
    EXPECT_NE(degrees.out.find("\n0\tc\t0.5"), std::string::npos);
    CliRun radians = runCli(problem.path() + " --radians");
    EXPECT_TRUE(radians.out.starts_with("  0: (cc)  c = sin([4]){[3]}\n"));
    EXPECT_NE(radians.out.find("\n0\tc\t-0.988031624092861"), std::string::npos);
}

TEST(CompileCommand, ParseErrorNamesThePaneAndLine) {
    TempProblem problem("[Main variables]\nx = 1\ny = 2\n[ODEs]\nx' = y\ny' = sin+x\n");
    CliRun run = runCli(problem.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "sin+\n\r \"(\" expected but \"+\" found\nPane \"System of ODEs\", line 2\n");
}

TEST(CompileCommand, OtherErrors) {
    TempProblem mismatch("[Main variables]\nx = 1\n[ODEs]\ny' = 1\n");
    CliRun run = runCli(mismatch.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ODE line 0: x = 1 and y' = 1 do not match\n");

    TempProblem singular("[Main variables]\nt = 0\nx = 1/t\n[ODEs]\nt' = 1\nx' = 1\n");
    run = runCli(singular.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Compilation succeeded, yet evaluation failed at point t   = 0\n"
                       "Singularity! Instruction 0: operation /\n");

    // The values at the initial point exist, but the first expansion fails: no success either.
    TempProblem firstExpansion("[Main variables]\nt = 0\nx = 0\n[ODEs]\nt' = 1\nx' = t^0.5\n");
    run = runCli(firstExpansion.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Compilation succeeded, yet evaluation failed at point t   = 0\n"
                       "Singularity! Instruction 0: operation ^\n");

    TempProblem wrongOperation("[Main variables]\nx = 1\n[ODEs]\nx' = mod(x, 2)\n");
    EXPECT_EQ(runCli(wrongOperation.path()).err, "Wrong operation mod\n");

    EXPECT_EQ(runCli("/nonexistent/problem.ode").err, "Cannot open /nonexistent/problem.ode\n");
    TempProblem text("[ODEs]\nx' = 1\n", "problem.txt");
    EXPECT_EQ(runCli(text.path()).err, "Wrong file extension\n");
    run = runCli(problemPath("lorenz.ode") + " --instructions some");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("usage: orvanta-cli compile FILE.ode"));
}
