#include "common/NumberText.h"
#include "common/TextFile.h"
#include "support/Paths.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <sys/wait.h>

namespace {

struct TableCommand : ::testing::Test {
    TempFolder folder;
    std::string problem = folder.path("exp.ode");
    void SetUp() override {
        writeBytes(problem, "[Main variables]\nt = 0\nx = 1\n[Aux variables]\ny = 2*x\n"
                            "[ODEs]\nt' = 1\nx' = x\n");
    }
    int table(const std::string& options) {
        const std::string command = cliPath() + " table " + problem +
                                    " --steps 20 --radius-limit 1 " + options + " >" +
                                    folder.path("out") + " 2>" + folder.path("err");
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
};

TEST_F(TableCommand, CsvHasAHeaderAndTheSolutionOnTheGrid) {
    ASSERT_EQ(table("--from 0 --to 3 --count 12 --vars t,x,y"), 0) << readBytes(folder.path("err"));
    const auto lines = splitLines(readBytes(folder.path("out")));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "t,x,y");
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const auto comma = lines[k].find(',');
        const auto second = lines[k].find(',', comma + 1);
        const Extended t = *parseNumber(lines[k].substr(0, comma));
        const Extended x = *parseNumber(lines[k].substr(comma + 1, second - comma - 1));
        EXPECT_EQ(t, 0.25L * static_cast<Extended>(k - 1));
        EXPECT_NEAR(static_cast<double>(x / std::exp(t) - 1), 0, 1e-17) << lines[k];
    }
}

TEST_F(TableCommand, BinaryFilesGoToTheFolderUnderTheProposedNames) {
    ASSERT_EQ(table("--from 1 --to 2 --step 0.5 --vars x --format double --out " +
                    folder.folder().string()),
              0);
    const std::string bytes = readBytes(folder.path("x.dbl"));
    ASSERT_EQ(bytes.size(), 24u);
    double last;
    std::memcpy(&last, bytes.data() + 16, 8);
    EXPECT_NEAR(last, std::exp(2.0), 1e-15);
    ASSERT_EQ(table("--from 0 --to 1 --count 2 --vars y --format extended --out " +
                    folder.folder().string()),
              0);
    EXPECT_EQ(readBytes(folder.path("y.ext")).size(), 30u);
}

TEST_F(TableCommand, ARangeBeyondTheStoredPointsIsRefused) {
    EXPECT_EQ(table("--from 0 --to 50 --count 2 --vars x"), 1);
    EXPECT_EQ(readBytes(folder.path("err")), "Wrong boundaries\n");
    EXPECT_EQ(table("--from 0 --to 5 --step -1 --vars x"), 1);
    EXPECT_EQ(readBytes(folder.path("err")), "Check the step sign\n");
    EXPECT_EQ(table("--from 0 --to 5 --step 1 --vars z"), 1);
    EXPECT_EQ(readBytes(folder.path("err")), "No stored variable z\n");
    EXPECT_EQ(table("--from 0 --to 5 --step 1 --count 3 --vars x"), 1);
}

} // namespace
