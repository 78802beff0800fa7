#include "support/Paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

TEST(IntegrateCommand, NativeJetPrintsTheSamePoints) {
    const std::string kepler = problemPath("kepler.ode");
    for (const char* mode : {"", " --control tol", " --radius all"}) {
        SCOPED_TRACE(mode);
        const std::string run = kepler + " --steps 300 --every" + mode;
        const CliResult interpreted = integrate(run);
        const CliResult native = integrate(run + " --native");
        EXPECT_EQ(native.status, 0) << native.err;
        EXPECT_EQ(native.out, interpreted.out);
        EXPECT_EQ(native.err.find("interpreted"), std::string::npos) << native.err;
    }
    // A problem the compiled jet has no code for runs interpreted, and says why.
    const std::string file =
        writeProblem("orvanta_power_of_t.ode", "[Constants]\nb = 2.5\n[Main variables]\nt = 0.5\n"
                                               "x = 1\n[ODEs]\nt' = 1\nx' = t^b\n");
    const CliResult power = integrate(file + " --steps 3 --native");
    EXPECT_EQ(power.status, 0);
    EXPECT_NE(power.err.find("The jet stays interpreted: "), std::string::npos) << power.err;
    EXPECT_EQ(power.out, integrate(file + " --steps 3").out);
}

TEST(IntegrateCommand, EveryPointWithTheInitialOneFirst) {
    const std::string file =
        writeProblem("orvanta_line.ode", "[Main variables]\nx = 0\n[ODEs]\nx' = 2\n");
    const CliResult r = integrate(file + " --steps 2 --every --factor 0.1 --radius-limit 1");
    EXPECT_EQ(r.status, 0);
    // No independent variable: the header says t and the points count from 0 by h = 0.1.
    EXPECT_EQ(r.out, "t\tx\n0\t0\n0.1\t0.2\n0.2\t0.4\n");
}

std::vector<std::vector<long double>> columnsOf(const std::string& out) {
    std::vector<std::vector<long double>> rows;
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        rows.emplace_back();
        for (long double v; fields >> v;)
            rows.back().push_back(v);
    }
    return rows;
}

TEST(IntegrateCommand, ToleranceModeShowsTheStepOfEveryPoint) {
    const std::string file =
        writeProblem("orvanta_exp.ode", "[Main variables]\nt = 0\nx = 1\n[ODEs]\nt' = 1\nx' = x\n");
    const CliResult r = integrate(file + " --steps 4 --to 10 --control tol --every --show-step");
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(r.out.starts_with("t\tx\tstep\n0\t1\t0\n")) << r.out;
    const auto rows = columnsOf(r.out);
    ASSERT_EQ(rows.size(), 5u);
    // The first step is the rule's for the series 1/k! at 1e-19 (its last two terms).
    const long double rho = std::min(std::pow(1e-19L * std::exp(std::lgamma(30.0L)), 1.0L / 29),
                                     std::pow(1e-19L * std::exp(std::lgamma(31.0L)), 1.0L / 30));
    EXPECT_NEAR(static_cast<double>(rows[1][2] / (rho * std::exp(-1.0L / 30))), 1.0, 1e-15);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(rows[i][0] - rows[i - 1][0] - rows[i][2]), 0.0, 1e-16);
        EXPECT_NEAR(static_cast<double>(rows[i][1] / std::exp(rows[i][0])), 1.0, 1e-17) << i;
    }
    // A looser tolerance takes longer steps.
    const CliResult loose =
        integrate(file + " --steps 1 --control tol --tol 1e-12 --every --show-step");
    EXPECT_GT(columnsOf(loose.out)[1][2], 1.5L * rows[1][2]);
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

// With three terms x's own series sees nothing of s^3 at the start of a step, so the step is far
// too long and no halving of it passes a test.
std::string roughProblem() {
    return writeProblem("orvanta_rough.ode", "[Main variables]\nt = 0\nx = 1\n"
                                             "[Aux variables]\ns = sin(1000000*t)\n"
                                             "[ODEs]\nt' = 1\nx' = s*s*s\n");
}
constexpr const char* Rough = " --terms 3 --radians --control back --abs 0";

TEST(IntegrateCommand, SingularityAndSplitLimitExitWithTwo) {
    // The first step overshoots the terminal value and is moved onto the pole.
    const std::string file = writeProblem(
        "orvanta_pole.ode", "[Main variables]\nt = -1\nx = 1\n[ODEs]\nt' = 1\nx' = 1/t\n");
    CliResult r = integrate(file + " --steps 10 --to 0 --factor 0.9");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Singularity reached\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Singularity! Instruction 0: operation /"), std::string::npos);
    EXPECT_EQ(r.out, "t\tx\n-1\t1\n");

    r = integrate(roughProblem() + " --steps 3" + Rough);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Step splitting exceeded the limit.\n\r x failed the Absolute error test"),
              std::string::npos)
        << r.err;
}

TEST(IntegrateCommand, OverflowInAStepIsASingularityAtTheLastGoodPoint) {
    const std::string file = writeProblem(
        "orvanta_huge.ode", "[Main variables]\nt = 0\nx = 0\n[ODEs]\nt' = 1\nx' = 1e4931\n");
    const CliResult r = integrate(file + " --steps 6 --every");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "t\tx\n0\t0\n5\t5e4931\n10\t1e4932\n");
    EXPECT_TRUE(r.err.starts_with("Singularity reached\n"
                                  "Singularity! Arithmetic fault in the new point of the step from "
                                  "t = 10\n2 steps (0 step splits).  Total: 2."))
        << r.err;
    const CliResult last = integrate(file + " --steps 6");
    EXPECT_EQ(last.status, 2);
    EXPECT_EQ(last.out, "t\tx\n10\t1e4932\n");
}

TEST(IntegrateCommand, AfterTheSplitLimitTheLastAcceptedPointIsPrinted) {
    const CliResult r = integrate(roughProblem() + " --steps 3" + Rough);
    EXPECT_EQ(r.status, 2);
    // Not the refused trial at h/2^18.
    EXPECT_EQ(r.out, "t\tx\n0\t1\n");
}

TEST(IntegrateCommand, GoDespiteWritesEveryFailedTestToStandardError) {
    const CliResult r = integrate(roughProblem() + " --steps 4 --go-despite" + Rough);
    EXPECT_EQ(r.status, 0) << r.err;
    // The first step fails its nineteen trials and is taken at 5/2^19 untested; from there on
    // the series sees the oscillation and the steps pass.
    EXPECT_TRUE(r.err.starts_with("x \tat t = 9.53674e-6 Absolute\n4 steps (")) << r.err;
    EXPECT_TRUE(r.out.starts_with("t\tx\n9.53")) << r.out;
}

TEST(IntegrateCommand, AbsurdOptionsAreRefusedBeforeAnyOutput) {
    const std::string lorenz = problemPath("lorenz.ode");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--steps -5", "The number of steps must be from 1 to 2147483647"},
        {"--steps 0", "The number of steps must be from 1 to 2147483647"},
        {"--steps 2147483648", "The number of steps must be from 1 to 2147483647"},
        {"--steps 1 --factor 0", "--factor must be above 0 and below 1"},
        {"--steps 1 --factor -1", "--factor must be above 0 and below 1"},
        {"--steps 1 --factor 1", "--factor must be above 0 and below 1"},
        {"--steps 1 --factor 1e100", "--factor must be above 0 and below 1"},
        {"--steps 1 --radius-limit 0", "--radius-limit must be above 0"},
        {"--steps 1 --radius-limit -3", "--radius-limit must be above 0"},
        {"--steps 1 --results -1", "--results needs a whole number from 0 up"},
        {"--steps 1 --terms x", "Wrong order"},
        {"--steps 1 --control back --rel -1 --go-despite", "--rel must be 0 or above"},
        {"--steps 1 --control back --abs 1e5000", "1e5000 wrong"},
        {"--steps 1 --control middle --abs x", "x wrong"},
        {"--steps 1 --rel 1e-9", "--abs and --rel need --control middle or back"},
        {"--steps 1 --control back", "--control middle and back need --abs or --rel"},
        {"--steps 1 --go-despite", "--go-despite needs --control middle or back"},
        {"--steps 1 --differentiate 1", "--differentiate and --assume-radius-limit need --special"},
        {"--steps 1 --control tol --tol 0", "--tol must be above 0"},
        {"--steps 1 --control tol --tol -1e-19", "--tol must be above 0"},
        {"--steps 1 --control tol --tol x", "--tol needs a number"},
        {"--steps 1 --tol 1e-12", "--tol needs --control tol"},
        {"--steps 1 --control back --rel 1e-9 --tol 1e-12", "--tol needs --control tol"},
        {"--steps 1 --control tol --abs 1e-9", "--abs and --rel need --control middle or back"},
        {"--steps 1 --control tol --go-despite", "--go-despite needs --control middle or back"},
        {"--steps 1 --control tolerance", "--control is none, middle, back or tol"},
        {"--steps 1 --show-step", "--show-step needs --every"},
    };
    for (const auto& [options, message] : cases) {
        const CliResult r = integrate(lorenz + " " + options);
        EXPECT_EQ(r.status, 1) << options;
        EXPECT_EQ(r.out, "") << options;
        EXPECT_TRUE(r.err.starts_with(message + "\n")) << options << ": " << r.err;
    }
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
    EXPECT_EQ(r.out, "");
    // A growing array too short for the run is refused before the header too.
    r = integrate(problemPath("lorenz.ode") + " --steps 10 --results 5");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Either make Results circular, or add elements\n");
    EXPECT_EQ(r.out, "");
    r = integrate(problemPath("lorenz.ode"));
    EXPECT_EQ(r.status, 1);
    r = integrate(problemPath("lorenz.ode") + " --steps 1 --results 99999999999");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("must not exceed 2147483639"), std::string::npos) << r.err;
}

TEST(IntegrateCommand, WithoutResultsMemoryDoesNotGrowWithTheSteps) {
    // Two million points of Kepler's problem would take 3.1 GB; the run itself ends at t = 1.
    const CliResult r = integrate(problemPath("kepler.ode") + " --steps 2000000 --to 1");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("t\tx\ty\tvx\tvy\n1\t")) << r.out;
}

TEST(IntegrateCommand, CircularResultsRunLongerThanTheArray) {
    const CliResult r = integrate(problemPath("lorenz.ode") +
                                  " --steps 50 --results 8 --circular --aux --terms 20");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("t\tx\ty\tz\n")) << r.out;
}

} // namespace
