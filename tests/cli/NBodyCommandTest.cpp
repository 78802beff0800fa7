// orvanta-cli nbody: the generated problem as a problem file that compiles, and refused counts.
#include "common/TextFile.h"
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

TEST(NBodyCommand, WritesAProblemFileThatCompiles) {
    TempFolder folder;
    const std::string file = folder.path("ring.ode");
    CliResult written = runOrvantaCli(folder, "nbody 10 --spatial --elliptic --out " + file);
    EXPECT_EQ(written.status, 0) << written.err;
    std::vector<std::string> lines = splitLines(readBytes(file));
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(lines[0], "[Constants]");
    EXPECT_EQ(lines[1], "neg1p5 = -1.5");
    EXPECT_EQ(lines[2], "Vel = 1.9653116541584348003*0.5");
    EXPECT_EQ(lines[3], "Ang = 360/10");
    EXPECT_EQ(lines[4], "m01 = 1");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "vz10 = 0"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "[Polynomials]"), lines.end());
    CliResult compiled = runOrvantaCli(folder, "compile " + file);
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_NE(compiled.out.find("\tx01\t0.80901699437494742"), std::string::npos);
}

TEST(NBodyCommand, RefusesWrongCountsAndArguments) {
    TempFolder folder;
    const std::string file = folder.path("none.ode");
    for (const char* count : {"1", "100", "99999999999"}) {
        CliResult refused = runOrvantaCli(folder, std::string("nbody ") + count + " --out " + file);
        EXPECT_EQ(refused.status, 1) << count;
        EXPECT_EQ(refused.err, "n must be in [2..99]\n") << count;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(runOrvantaCli(folder, "nbody five --out " + file).err,
              "Wrong number of bodies \"five\"\n");
    EXPECT_EQ(runOrvantaCli(folder, "nbody 5").status, 1) << "no --out";
    EXPECT_EQ(runOrvantaCli(folder, "nbody 5 --elliptic --circular --out " + file).status, 1);
    EXPECT_EQ(runOrvantaCli(folder, "nbody 5 --designd --out " + file).status, 1);
    EXPECT_FALSE(std::filesystem::exists(file));
}

// The designed 7-body problem: its polynomial section is written, read back by the compile
// step, and the integration runs on the polynomials.
TEST(NBodyCommand, DesignedProblemsCompileAndIntegrateFromTheirFile) {
    TempFolder folder;
    const std::string file = folder.path("seven.ode");
    CliResult written = runOrvantaCli(folder, "nbody 7 --spatial --designed --out " + file);
    ASSERT_EQ(written.status, 0) << written.err;
    std::vector<std::string> lines = splitLines(readBytes(file));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "vz7' = polynomial(vz7poly)"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[Polynomials]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "21"), lines.end()) << "21 polynomials";
    CliResult integrated = runOrvantaCli(folder, "integrate " + file + " --steps 5");
    EXPECT_EQ(integrated.status, 0) << integrated.err;
    const std::string spelled = folder.path("spelled.ode");
    ASSERT_EQ(runOrvantaCli(folder, "nbody 7 --spatial --out " + spelled).status, 0);
    CliResult reference = runOrvantaCli(folder, "integrate " + spelled + " --steps 5");
    EXPECT_EQ(integrated.out, reference.out) << "the same orbit, to the printed digits";
}
