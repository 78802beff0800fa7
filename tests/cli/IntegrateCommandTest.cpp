#include "support/Paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliResult {
    int status = -1;
    std::string out, err;
};

std::string readAll(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

CliResult integrate(const std::string& arguments) {
    // Test cases run in parallel processes: each gets its own output files.
    const auto dir = std::filesystem::temp_directory_path();
    const std::string stem = "orvanta_integrate_" + std::to_string(getpid());
    const std::string out = (dir / (stem + ".out")).string();
    const std::string err = (dir / (stem + ".err")).string();
    const std::string command = cliPath() + " integrate " + arguments + " >" + out + " 2>" + err;
    CliResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readAll(out);
    result.err = readAll(err);
    return result;
}

std::string writeProblem(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / (std::to_string(getpid()) + name);
    std::ofstream(path) << text;
    return path.string();
}

TEST(IntegrateCommand, LastPointOfTheExponentialAtTen) {
    const std::string file =
        writeProblem("orvanta_exp.ode", "[Main variables]\nt = 0\nx = 1\n[ODEs]\nt' = 1\nx' = x\n");
    const CliResult r = integrate(file + " --steps 100 --to 10");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "t\tx\n10\t22026.4657948067165\n");
    EXPECT_NE(r.err.find("The terminal point reached and unchecked\n"), std::string::npos);
    EXPECT_NE(r.err.find("5 steps (0 step splits).  Total: 5.  Took "), std::string::npos) << r.err;
}

TEST(IntegrateCommand, EveryPointWithTheInitialOneFirst) {
    const std::string file =
        writeProblem("orvanta_line.ode", "[Main variables]\nx = 0\n[ODEs]\nx' = 2\n");
    const CliResult r = integrate(file + " --steps 2 --every --factor 0.1 --radius-limit 1");
    EXPECT_EQ(r.status, 0);
    // No independent variable: the header says t and the points count from 0 by h = 0.1.
    EXPECT_EQ(r.out, "t\tx\n0\t0\n0.1\t0.2\n0.2\t0.4\n");
}

TEST(IntegrateCommand, BackwardWithControlAndConstantExpression) {
    const std::string file =
        writeProblem("orvanta_decay.ode", "[Constants]\na = 2\n[Main variables]\nt = 0\nx = 1\n"
                                          "[ODEs]\nt' = 1\nx' = -x\n");
    const CliResult r =
        integrate(file + " --steps 100 --backward --to -a*2 --control middle --rel 1e-18");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "t\tx\n-4\t54.5981500331442391\n");
}

TEST(IntegrateCommand, SingularityAndSplitLimitExitWithTwo) {
    const std::string file = writeProblem(
        "orvanta_pole.ode", "[Main variables]\nt = -1\nx = 1\n[ODEs]\nt' = 1\nx' = 1/t\n");
    CliResult r = integrate(file + " --steps 10 --factor 1 --radius-limit 0.5");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Singularity reached\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Singularity! Instruction 0: operation /"), std::string::npos);

    r = integrate(file + " --steps 3 --control back --abs -1");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Step splitting exceeded the limit.\n\r x failed the Absolute error test"),
              std::string::npos)
        << r.err;
}

TEST(IntegrateCommand, CompileErrorsAndBadOptionsExitWithOne) {
    const std::string file =
        writeProblem("orvanta_bad.ode", "[Main variables]\nx = 1\ny = 2\n[ODEs]\nx' = y\n");
    CliResult r = integrate(file + " --steps 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ODE and Initial value lists do not match\n");
    r = integrate(problemPath("lorenz.ode") + " --steps x");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Wrong number\n");
    r = integrate(problemPath("lorenz.ode"));
    EXPECT_EQ(r.status, 1);
    r = integrate(problemPath("lorenz.ode") + " --steps 1 --results 99999999999");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("must not exceed 2147483639"), std::string::npos) << r.err;
}

TEST(IntegrateCommand, CircularResultsRunLongerThanTheArray) {
    const CliResult r = integrate(problemPath("lorenz.ode") +
                                  " --steps 50 --results 8 --circular --aux --terms 20");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("t\tx\ty\tz\n")) << r.out;
}

} // namespace
