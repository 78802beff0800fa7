// orvanta-cli rewrite: a problem file written in another independent variable, and its refusals.
#include "common/TextFile.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string writeOscillator(const TempFolder& folder) {
    const std::string file = folder.path("osc.ode");
    std::ofstream(file) << "[Constants]\n\n[Main variables]\nt = 0\nx = 0\n\ny = 1\n"
                           "[Aux variables]\n\n[ODEs]\nt' = 1\nx' = y {velocity}\ny' = -x\n";
    return file;
}

} // namespace

TEST(RewriteCommand, WritesTheProblemInTheChosenVariable) {
    TempFolder folder;
    const std::string in = writeOscillator(folder), out = folder.path("inx.ode");
    CliResult result = runOrvantaCli(folder, "rewrite " + in + " --in X --out " + out);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readBytes(out),
              "[Constants]\r\n\r\n[Main variables]\r\nt = 0\r\nx = 0\r\ny = 1\r\n\r\n"
              "[Aux variables]\r\nxNewStateVarFactor = 1/y\r\n\r\n[ODEs]\r\n"
              "t' = xNewStateVarFactor\r\nx' = 1\r\n"
              "y' = (-x)*xNewStateVarFactor\r\n\r\n");
    CliResult integrated =
        runOrvantaCli(folder, "integrate " + out + " --steps 100 --to 0.5 --factor 0.25");
    EXPECT_EQ(integrated.status, 0) << integrated.err;
    EXPECT_NE(integrated.out.find("0.5\t0.523598775598298873\t0.866025403784438647"),
              std::string::npos)
        << integrated.out;
}

TEST(RewriteCommand, RefusesLinearAndUnknownVariables) {
    TempFolder folder;
    const std::string in = writeOscillator(folder), out = folder.path("none.ode");
    CliResult linear = runOrvantaCli(folder, "rewrite " + in + " --in t --out " + out);
    EXPECT_EQ(linear.status, 1);
    EXPECT_EQ(linear.err, "A change for a linear variable makes no sense\n");
    CliResult unknown = runOrvantaCli(folder, "rewrite " + in + " --in z --out " + out);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "No main variable \"z\"\n");
    EXPECT_EQ(runOrvantaCli(folder, "rewrite " + in + " --out " + out).status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}
